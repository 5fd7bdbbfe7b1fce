#include "install/progress_bars.h"

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
    fileRefresh.Set(percent, GetTickCount());
}

void ProgressBars::SetTotalProgress(int percent)
{
    totalBar->SetValue(percent);
}

void ProgressBars::FileDone()
{
    fileRefresh.FileDone(GetTickCount());
}

void ProgressBars::SetUnpackProgress(int percent)
{
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
