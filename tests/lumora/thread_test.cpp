#include "lumora/thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

using lumora::Instance;
using lumora::Method;
using lumora::Threads::Thread;

namespace {

// Polls, as the wizard does, until the condition holds or a generous time has passed.
bool WaitFor(const std::function<bool()> &condition)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::yield();
    }
    return true;
}

class Worker {
public:
    // Waits until released, so the test sees the thread while its body runs.
    long Body(Thread *thread)
    {
        seenThread = thread;
        statusInside = thread->GetStatus();
        entered = true;
        WaitFor([this] { return released.load(); });
        if (stopItself) {
            thread->Stop();
            stopped = true;
            WaitFor([this] { return releasedAfterStop.load(); });
        }
        if (deleteItself) delete thread;
        finished = true;
        return 0;
    }

    void Connect(Thread &thread)
    {
        thread.threadMain.Connect(new Instance<Worker>(this),
                                  new Method<Worker, long, Thread *>(&Worker::Body));
    }

    std::atomic<bool> entered{false};
    std::atomic<bool> released{false};
    std::atomic<bool> stopped{false};
    std::atomic<bool> releasedAfterStop{false};
    std::atomic<bool> finished{false};
    std::atomic<int> statusInside{-1};
    Thread *seenThread = nullptr;
    bool stopItself = false;
    bool deleteItself = false;
};

} // namespace

TEST(Thread, StatusGoesFromCreatedToRunningToStopped)
{
    Worker worker;
    int argument = 0;
    Thread thread(&argument);
    worker.Connect(thread);
    EXPECT_EQ(thread.GetStatus(), 0);
    EXPECT_EQ(thread.GetArgument(), &argument);
    ASSERT_EQ(thread.Start(), 0);
    ASSERT_TRUE(WaitFor([&] { return worker.entered.load(); }));
    EXPECT_EQ(thread.GetStatus(), 1);
    EXPECT_EQ(worker.statusInside, 1);
    EXPECT_EQ(worker.seenThread, &thread);
    worker.released = true;
    EXPECT_TRUE(WaitFor([&] { return thread.GetStatus() == 2; }));
}

TEST(Thread, AStopFromTheBodyShowsAtOnceAndTheDestructorWaitsForTheBody)
{
    Worker worker;
    worker.stopItself = true;
    {
        Thread thread;
        worker.Connect(thread);
        ASSERT_EQ(thread.Start(), 0);
        worker.released = true;
        ASSERT_TRUE(WaitFor([&] { return thread.GetStatus() == 2; }));
        EXPECT_TRUE(worker.stopped);
        EXPECT_FALSE(worker.finished); // the body is still running after its Stop
        worker.releasedAfterStop = true;
    }
    EXPECT_TRUE(worker.finished);
}

TEST(Thread, StartingWithoutABodyStopsAtOnce)
{
    Thread thread;
    EXPECT_NE(thread.Start(), 0);
    EXPECT_EQ(thread.GetStatus(), 2);
}

TEST(Thread, AThreadStartsOnlyOnce)
{
    Worker worker;
    Thread thread;
    worker.Connect(thread);
    ASSERT_EQ(thread.Start(), 0);
    EXPECT_NE(thread.Start(), 0);
    worker.released = true;
    ASSERT_TRUE(WaitFor([&] { return thread.GetStatus() == 2; }));
    EXPECT_NE(thread.Start(), 0);
    EXPECT_EQ(thread.GetStatus(), 2);
}

TEST(Thread, DestroyingAThreadThatNeverStartedDoesNotWait)
{
    Worker worker;
    {
        Thread thread;
        worker.Connect(thread);
    }
    EXPECT_FALSE(worker.entered);
}

TEST(Thread, ABodyMayDeleteItsOwnThread)
{
    Worker worker;
    worker.deleteItself = true;
    worker.released = true;
    Thread *thread = new Thread;
    worker.Connect(*thread);
    ASSERT_EQ(thread->Start(), 0);
    EXPECT_TRUE(WaitFor([&] { return worker.finished.load(); }));
}
