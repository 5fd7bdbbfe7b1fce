#include "install/installation_clock.h"

#include <cstdint>
#include <windows.h>

namespace {

double Seconds(const FILETIME &kernel, const FILETIME &user)
{
    auto ticks = [](const FILETIME &time) {
        return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 1e7;
}

double ProcessSeconds()
{
    FILETIME created, ended, kernel, user;
    return GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user) ? Seconds(kernel, user) : 0;
}

double ThreadSeconds()
{
    FILETIME created, ended, kernel, user;
    return GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel, &user) ? Seconds(kernel, user) : 0;
}

} // namespace

InstallationClock::InstallationClock()
{
    if (!PhaseTimes::Enabled()) return;
    PhaseTimes::Reset();
    start = std::chrono::steady_clock::now();
    processStart = ProcessSeconds();
    threadStart = ThreadSeconds();
}

void InstallationClock::Stop()
{
    if (!PhaseTimes::Enabled()) return;
    PhaseTimes::Write(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
                      ProcessSeconds() - processStart, ThreadSeconds() - threadStart);
}
