#include "windows/progress_bars.h"

#include "install/phase_times.h"

#include <windows.h>

namespace {

const uint32_t refreshMilliseconds = 15;

} // namespace

ProgressBars::ProgressBars(lumora::GUI::Progressbar *fileBar, lumora::GUI::Progressbar *totalBar)
    : totalBar(totalBar),
      fileRefresh(refreshMilliseconds, [this, fileBar](int percent) { HandOver(fileBar, percent); })
{
}

void ProgressBars::SetFileProgress(int percent)
{
    PhaseTimes::Count(Tally::fileBarValues);
    PhaseClock clock(Phase::bars);
    fileRefresh.Set(percent, GetTickCount());
}

void ProgressBars::SetTotalProgress(int percent)
{
    PhaseClock clock(Phase::bars);
    HandOver(totalBar, percent);
}

void ProgressBars::FileDone()
{
    PhaseClock clock(Phase::bars);
    fileRefresh.FileDone(GetTickCount());
}

void ProgressBars::SetUnpackProgress(int percent)
{
    PhaseClock clock(Phase::bars);
    fileRefresh.Set(percent, GetTickCount());
}

void ProgressBars::Tick()
{
    fileRefresh.Tick(GetTickCount());
    if (anyHandedOver.load(std::memory_order_acquire)) ShowHandedOver();
}

void ProgressBars::Flush()
{
    fileRefresh.Flush();
    ShowHandedOver();
}

void ProgressBars::HandOver(lumora::GUI::Progressbar *bar, int percent)
{
    std::lock_guard<std::mutex> guard(handOverLock);
    handedOver.emplace_back(bar, percent);
    anyHandedOver.store(true, std::memory_order_release);
}

void ProgressBars::ShowHandedOver()
{
    std::vector<std::pair<lumora::GUI::Progressbar *, int>> values;
    {
        std::lock_guard<std::mutex> guard(handOverLock);
        values.swap(handedOver);
        anyHandedOver.store(false, std::memory_order_release);
    }
    // Outside the lock: setting a bar is a window message, and the worker must never wait for one.
    for (const std::pair<lumora::GUI::Progressbar *, int> &value : values)
        value.first->SetValue(value.second);
}
