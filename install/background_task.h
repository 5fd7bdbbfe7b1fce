// One task at a time on a thread of its own, so the caller can prepare the next one
// meanwhile: the extraction writes one group's files while it unpacks the next group.
#ifndef SETUP_INSTALL_BACKGROUND_TASK_H
#define SETUP_INSTALL_BACKGROUND_TASK_H

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

class BackgroundTask {
public:
    BackgroundTask() = default;
    ~BackgroundTask(); // finishes the task in hand, then ends the thread
    BackgroundTask(const BackgroundTask &) = delete;
    BackgroundTask &operator=(const BackgroundTask &) = delete;

    // attributes
    // True from Start until the task has returned; what the task did is visible to the
    // caller once this reads false.
    bool Busy() const { return busy.load(std::memory_order_acquire); }

    // operations
    // Waits for the task in hand, then starts `task`. Where no thread can be made, `task`
    // runs here instead, before Start returns.
    void Start(std::function<void()> task);
    // Waits until no task is in hand.
    void Wait();

private:
    void Loop();

    std::mutex lock;
    std::condition_variable changed;
    std::function<void()> next; // handed over, not yet taken by the thread
    bool ending = false;
    std::atomic<bool> busy{false};
    std::thread thread;
};

#endif
