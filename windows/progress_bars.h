// The engine's progress on the wizard's two bars. The file bar goes through the refresh
// limit; the total bar, which changes once per component and at most a hundred times during
// the library copy, takes every value.
//
// The worker never touches a window: it hands each value over, and the window's thread sets
// the bars from its waiting loop (Tick) in the order the values came. Every bar change from
// the worker would otherwise be a message across threads, a round trip to the window system
// that the worker waits for, thousands of times in an installation of many small files.
#ifndef SETUP_WINDOWS_PROGRESS_BARS_H
#define SETUP_WINDOWS_PROGRESS_BARS_H

#include "install/progress.h"
#include "lumora/lumora.h"
#include "windows/file_bar_refresh.h"

#include <atomic>
#include <mutex>
#include <utility>
#include <vector>

class ProgressBars : public InstallProgress {
public:
    ProgressBars(lumora::GUI::Progressbar *fileBar, lumora::GUI::Progressbar *totalBar);

    // From the worker.
    void SetFileProgress(int percent) override;
    void SetTotalProgress(int percent) override;
    void FileDone() override;
    void SetUnpackProgress(int percent) override; // on the file bar: the file is on its way

    // From the window's thread while the worker runs: sets the values handed over since the
    // last call, and a held file bar value that has come due.
    void Tick();
    // Once the worker has ended: both bars show where it stopped.
    void Flush();

private:
    void HandOver(lumora::GUI::Progressbar *bar, int percent);
    void ShowHandedOver();

    lumora::GUI::Progressbar *totalBar;
    FileBarRefresh fileRefresh;
    std::mutex handOverLock;
    std::vector<std::pair<lumora::GUI::Progressbar *, int>> handedOver; // oldest first
    std::atomic<bool> anyHandedOver{false}; // read without the lock, so an idle tick costs nothing
};

#endif
