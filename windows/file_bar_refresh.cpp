#include "windows/file_bar_refresh.h"

#include <utility>

namespace {

const int complete = 100;

} // namespace

FileBarRefresh::FileBarRefresh(uint32_t intervalMilliseconds, std::function<void(int)> show)
    : interval(intervalMilliseconds), show(std::move(show))
{
}

void FileBarRefresh::Set(int percent, uint32_t now)
{
    std::lock_guard<std::mutex> guard(lock);
    latest = percent;
    movedSinceShown = true;
    ShowDue(now, false);
}

void FileBarRefresh::FileDone(uint32_t now)
{
    std::lock_guard<std::mutex> guard(lock);
    // Also an empty file, whose only value was its 0, ends full. An end the bar already shows
    // needs no refresh of its own.
    if (anyShown && shown == complete && !movedSinceShown) return;
    latest = complete;
    endHeld = true;
    ShowDue(now, false);
}

void FileBarRefresh::Tick(uint32_t now)
{
    if (!holding.load(std::memory_order_acquire)) return;
    std::lock_guard<std::mutex> guard(lock);
    ShowDue(now, false);
}

void FileBarRefresh::Flush()
{
    std::lock_guard<std::mutex> guard(lock);
    ShowDue(0, true);
    ShowDue(0, true);
}

void FileBarRefresh::ShowDue(uint32_t now, bool always)
{
    if (!always && anyShown && now - shownAt < interval) {
        holding.store(endHeld || latest != shown, std::memory_order_release);
        return;
    }
    if (endHeld) {
        // This refresh belongs to the finished file. While files end faster than the bar
        // refreshes, the bar stays full rather than flicking back to each new file's 0.
        endHeld = false;
        if (!anyShown || shown != complete) {
            Display(complete, now);
        } else {
            shownAt = now;
            movedSinceShown = false;
        }
        holding.store(latest != shown, std::memory_order_release);
        return;
    }
    if (!anyShown || latest != shown) Display(latest, now);
    holding.store(false, std::memory_order_release);
}

void FileBarRefresh::Display(int percent, uint32_t now)
{
    show(percent);
    movedSinceShown = false;
    shown = percent;
    shownAt = now;
    anyShown = true;
}
