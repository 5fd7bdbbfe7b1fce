#include "install/progress_bars.h"

#include "install/phase_times.h"

#include <windows.h>

namespace {

const uint32_t refreshMilliseconds = 15;

} // namespace

ProgressBars::ProgressBars(lumora::GUI::Progressbar *fileBar, lumora::GUI::Progressbar *totalBar)
    : totalBar(totalBar),
      fileRefresh(refreshMilliseconds, [fileBar](int percent) { fileBar->SetValue(percent); })
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
    totalBar->SetValue(percent);
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
}

void ProgressBars::Flush()
{
    fileRefresh.Flush();
}
