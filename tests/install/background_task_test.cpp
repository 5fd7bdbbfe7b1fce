// The file writer's thread: tasks run one at a time, in the order given, and each has
// finished, with its effects visible, once the caller waits or the task object ends.
#include "install/background_task.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

namespace {

void Pause()
{
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

TEST(BackgroundTask, RunsTasksOneAtATimeInTheOrderGiven)
{
    std::vector<int> done;
    int running = 0, mostAtOnce = 0;
    BackgroundTask task;
    for (int k = 0; k < 5; ++k) {
        task.Start([&, k] {
            mostAtOnce = std::max(mostAtOnce, ++running);
            Pause();
            done.push_back(k);
            --running;
        });
    }
    task.Wait();
    EXPECT_FALSE(task.Busy());
    EXPECT_EQ(done, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(mostAtOnce, 1);
}

TEST(BackgroundTask, IsBusyUntilTheTaskHasReturned)
{
    BackgroundTask task;
    bool finished = false;
    task.Start([&] {
        Pause();
        finished = true;
    });
    EXPECT_TRUE(task.Busy() || finished);
    task.Wait();
    EXPECT_TRUE(finished);
    EXPECT_FALSE(task.Busy());
}

TEST(BackgroundTask, EndingFinishesTheTaskInHand)
{
    bool finished = false;
    {
        BackgroundTask task;
        task.Start([&] {
            Pause();
            finished = true;
        });
    }
    EXPECT_TRUE(finished);
}

} // namespace
