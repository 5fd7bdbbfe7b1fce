// The file bar's refresh limit: values are merged, never lost, and every finished file
// reaches 100 before the bar moves on.
#include "windows/file_bar_refresh.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

const uint32_t interval = 15;

struct Event {
    enum Kind { Set, Done, Tick, Flush } kind;
    int percent;
    uint32_t at;
};

Event SetAt(int percent, uint32_t at)
{
    return {Event::Set, percent, at};
}
Event DoneAt(uint32_t at)
{
    return {Event::Done, 0, at};
}
Event TickAt(uint32_t at)
{
    return {Event::Tick, 0, at};
}
Event Flush()
{
    return {Event::Flush, 0, 0};
}

std::vector<int> Shown(const std::vector<Event> &events)
{
    std::vector<int> shown;
    FileBarRefresh refresh(interval, [&shown](int percent) { shown.push_back(percent); });
    for (const Event &event : events) {
        switch (event.kind) {
        case Event::Set:
            refresh.Set(event.percent, event.at);
            break;
        case Event::Done:
            refresh.FileDone(event.at);
            break;
        case Event::Tick:
            refresh.Tick(event.at);
            break;
        case Event::Flush:
            refresh.Flush();
            break;
        }
    }
    return shown;
}

struct RefreshCase {
    const char *name;
    std::vector<Event> events;
    std::vector<int> shown;
};

class Refresh : public ::testing::TestWithParam<RefreshCase> {};

TEST_P(Refresh, ShowsWhatTheBarShouldShow)
{
    EXPECT_EQ(Shown(GetParam().events), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    FileBar, Refresh,
    ::testing::Values(
        RefreshCase{"FirstValueAtOnce", {SetAt(0, 1000)}, {0}},
        RefreshCase{"BurstIsMergedIntoItsLastValueOnTheNextTick",
                    {SetAt(0, 0), SetAt(40, 5), SetAt(70, 9), TickAt(14), TickAt(15), TickAt(40)},
                    {0, 70}},
        RefreshCase{"FinishedFileReachesHundredBeforeTheNextFileShows",
                    {SetAt(0, 0), SetAt(100, 3), DoneAt(3), SetAt(0, 4), TickAt(15), TickAt(20), TickAt(30)},
                    {0, 100, 0}},
        RefreshCase{"FileThatEndsAfterTheIntervalShowsHundredAtOnce",
                    {SetAt(0, 0), SetAt(50, 20), SetAt(100, 40), DoneAt(40)},
                    {0, 50, 100}},
        RefreshCase{"EmptyFileEndsFull", {SetAt(0, 0), DoneAt(1), Flush()}, {0, 100}},
        RefreshCase{"FlushShowsTheHeldEndAndThenTheNextFile",
                    {SetAt(0, 0), SetAt(100, 1), DoneAt(1), SetAt(0, 2), SetAt(30, 3), Flush()},
                    {0, 100, 30}},
        RefreshCase{"FileThatFailedIsNeverShownFull", {SetAt(0, 0), SetAt(40, 2), Flush()}, {0, 40}},
        RefreshCase{"TickWithNothingHeldShowsNothing", {SetAt(0, 0), TickAt(100), TickAt(200), Flush()}, {0}},
        RefreshCase{"TickCountThatWrapsAroundStillCountsTheInterval",
                    {SetAt(0, 0xfffffff8u), SetAt(60, 0xfffffffcu), TickAt(3), TickAt(7)},
                    {0, 60}}),
    [](const ::testing::TestParamInfo<RefreshCase> &info) { return std::string(info.param.name); });

TEST(FileBar, ThousandsOfSmallFilesKeepTheBarFullInsteadOfFlicking)
{
    std::vector<Event> events;
    for (uint32_t k = 0; k < 3000; ++k) {
        uint32_t at = k / 20; // twenty files per millisecond
        events.push_back(SetAt(0, at));
        events.push_back(SetAt(100, at));
        events.push_back(DoneAt(at));
        events.push_back(TickAt(at));
    }
    events.push_back(Flush());
    EXPECT_EQ(Shown(events), (std::vector<int>{0, 100}));
}

TEST(FileBar, FilesSlowerThanTwoRefreshesShowTheirProgressInBetween)
{
    // Each file takes 40 ms: a refresh goes to each file's end, the others to its progress.
    std::vector<Event> events;
    for (uint32_t file = 0; file < 3; ++file) {
        for (int percent = 0; percent <= 100; percent += 5)
            events.push_back(SetAt(percent, 40 * file + static_cast<uint32_t>(percent) * 2 / 5));
        events.push_back(DoneAt(40 * file + 40));
    }
    events.push_back(Flush());
    EXPECT_EQ(Shown(events), (std::vector<int>{0, 40, 80, 100, 60, 100, 40, 80, 100}));
}

TEST(FileBar, LargeFileMovesOncePerIntervalAndEndsFull)
{
    std::vector<Event> events{SetAt(0, 0)};
    for (int percent = 1; percent <= 100; ++percent) events.push_back(SetAt(percent, 2u * percent));
    events.push_back(DoneAt(200));
    events.push_back(Flush());
    std::vector<int> expected{0};
    for (int percent = 8; percent <= 96; percent += 8) expected.push_back(percent);
    expected.push_back(100);
    EXPECT_EQ(Shown(events), expected);
}

} // namespace
