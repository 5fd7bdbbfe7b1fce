// The engine's progress on the wizard's two bars. The file bar goes through the refresh
// limit; the total bar, which changes once per component and at most a hundred times during
// the library copy, takes every value.
#ifndef SETUP_INSTALL_PROGRESS_BARS_H
#define SETUP_INSTALL_PROGRESS_BARS_H

#include "install/file_bar_refresh.h"
#include "install/progress.h"
#include "lumora/lumora.h"

class ProgressBars : public InstallProgress {
public:
    ProgressBars(lumora::GUI::Progressbar *fileBar, lumora::GUI::Progressbar *totalBar);

    void SetFileProgress(int percent) override;
    void SetTotalProgress(int percent) override;
    void FileDone() override;
    void SetUnpackProgress(int percent) override; // on the file bar: the file is on its way

    // From the window's thread while the worker runs: a held file bar value comes due.
    void Tick();
    // Once the worker has ended: both bars show where it stopped.
    void Flush();

private:
    lumora::GUI::Progressbar *totalBar;
    FileBarRefresh fileRefresh;
};

#endif
