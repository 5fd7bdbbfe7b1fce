#include "install/phase_times.h"

#include "lumora/stream.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

const char *const phaseNames[] = {"store packed", "inflate",     "inflate read",  "inflate write",
                                  "folders",      "file create", "file copy",     "file close",
                                  "bars",         "wait peek",   "wait dispatch", "wait other"};
static_assert(sizeof(phaseNames) / sizeof(phaseNames[0]) == static_cast<size_t>(Phase::count),
              "every phase has a name");
const char *const tallyNames[] = {"files", "folder calls", "file bar values", "wait passes", "messages"};
static_assert(sizeof(tallyNames) / sizeof(tallyNames[0]) == static_cast<size_t>(Tally::count),
              "every tally has a name");

// The worker and the window thread both add, so every cell is atomic.
std::atomic<int64_t> spent[static_cast<int>(Phase::count)];
std::atomic<int64_t> tallies[static_cast<int>(Tally::count)];

lumora::String TargetFile()
{
#ifdef _WIN32
    wchar_t name[MAX_PATH + 1];
    DWORD length = GetEnvironmentVariableW(L"SETUP_PHASE_TIMES", name, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH) return lumora::String();
    return lumora::String(name);
#else
    const char *name = std::getenv("SETUP_PHASE_TIMES");
    return lumora::String(name != nullptr ? name : "");
#endif
}

const lumora::String &Target()
{
    static const lumora::String target = TargetFile();
    return target;
}

} // namespace

namespace PhaseTimes {

bool Enabled()
{
    static const bool enabled = Target().Length() > 0;
    return enabled;
}

void Add(Phase phase, std::chrono::steady_clock::duration duration)
{
    spent[static_cast<int>(phase)] += std::chrono::duration_cast<std::chrono::microseconds>(duration).count();
}

void Count(Tally tally, int64_t amount)
{
    if (Enabled()) tallies[static_cast<int>(tally)] += amount;
}

void Reset()
{
    for (std::atomic<int64_t> &cell : spent) cell = 0;
    for (std::atomic<int64_t> &cell : tallies) cell = 0;
}

void Write(double wallSeconds, double processSeconds, double waitThreadSeconds)
{
    if (!Enabled()) return;
    OutStream file(lumora::STREAM_FILE, Target(), lumora::STREAM_CREATE);
    char line[128];
    auto put = [&file, &line](int length) {
        if (length > 0) file.OutputData(line, std::min(length, static_cast<int>(sizeof(line)) - 1));
    };
    put(std::snprintf(line, sizeof(line), "%-16s %9.3f s\n", "installation", wallSeconds));
    put(std::snprintf(line, sizeof(line), "%-16s %9.3f s\n", "process CPU", processSeconds));
    put(std::snprintf(line, sizeof(line), "%-16s %9.3f s\n", "wait thread CPU", waitThreadSeconds));
    for (int k = 0; k < static_cast<int>(Phase::count); ++k)
        put(std::snprintf(line, sizeof(line), "%-16s %9.3f s\n", phaseNames[k], spent[k].load() / 1e6));
    for (int k = 0; k < static_cast<int>(Tally::count); ++k)
        put(std::snprintf(line, sizeof(line), "%-16s %9lld\n", tallyNames[k],
                          static_cast<long long>(tallies[k].load())));
    file.Close();
}

} // namespace PhaseTimes
