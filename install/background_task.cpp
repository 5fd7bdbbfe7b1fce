#include "install/background_task.h"

#include <system_error>
#include <utility>

BackgroundTask::~BackgroundTask()
{
    if (!thread.joinable()) return;
    {
        std::lock_guard<std::mutex> guard(lock);
        ending = true;
    }
    changed.notify_all();
    thread.join();
}

void BackgroundTask::Start(std::function<void()> task)
{
    Wait();
    if (!thread.joinable()) {
        try {
            thread = std::thread(&BackgroundTask::Loop, this);
        } catch (const std::system_error &) {
            task();
            return;
        }
    }
    {
        std::lock_guard<std::mutex> guard(lock);
        next = std::move(task);
        busy.store(true, std::memory_order_release);
    }
    changed.notify_all();
}

void BackgroundTask::Wait()
{
    std::unique_lock<std::mutex> guard(lock);
    changed.wait(guard, [this] { return !busy.load(std::memory_order_acquire); });
}

void BackgroundTask::Loop()
{
    std::unique_lock<std::mutex> guard(lock);
    for (;;) {
        changed.wait(guard, [this] { return ending || next; });
        if (!next) return;
        std::function<void()> task = std::move(next);
        next = nullptr;
        guard.unlock();
        task();
        guard.lock();
        busy.store(false, std::memory_order_release);
        changed.notify_all();
    }
}
