// The file bar's refresh limit. Every bar change is a message to the window's thread and a
// repaint; thousands of small files would flick the bar from 0 to 100 faster than anyone can
// see, at the cost of the installation itself. So the bar takes at most one new value per
// interval, and values that come sooner are merged: the latest is held and shown on the next
// tick. A file's end is never merged away: the bar reaches 100 for it before it shows the
// next file's progress.
#ifndef SETUP_WINDOWS_FILE_BAR_REFRESH_H
#define SETUP_WINDOWS_FILE_BAR_REFRESH_H

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>

class FileBarRefresh {
public:
    // show sets the bar; it is called under a lock, so it must not wait for the window.
    FileBarRefresh(uint32_t intervalMilliseconds, std::function<void(int)> show);

    // From the engine's thread; now is a millisecond tick count that may wrap around.
    void Set(int percent, uint32_t now);
    void FileDone(uint32_t now);
    // From any thread, as often as it likes: shows a held value once the interval has passed.
    void Tick(uint32_t now);
    // Shows whatever is held at once; the engine has ended.
    void Flush();

private:
    void ShowDue(uint32_t now, bool always);
    void Display(int percent, uint32_t now);

    const uint32_t interval;
    const std::function<void(int)> show;
    std::mutex lock;
    std::atomic<bool> holding{false}; // read without the lock, so an idle tick costs nothing
    bool anyShown = false;
    int shown = 0;
    uint32_t shownAt = 0;
    int latest = 0;
    bool endHeld = false;         // a finished file's 100 is still to be shown
    bool movedSinceShown = false; // a value came after the one the bar shows
};

#endif
