// A run with /SILENT: the wizard window shows only the installation display, with the
// background when the package has it, installs as soon as the loop runs, and ends itself.
#include "wizard/setup.h"

#include <windows.h>

namespace {

// Posted at construction, so the installation starts once the loop has shown the windows.
const UINT startSilentInstallation = WM_APP + 2;

} // namespace

void tSetup::RunSilently()
{
    HideAllPageWidgets();
    for (lumora::GUI::Widget *widget : installationWidgets) widget->Hide();
    backButton->Hide();
    nextButton->Hide();
    cancelButton->Hide();
    mainWindow->SetText(ReadTitle(installationDisplay));
    ShowWidgetsOf(installationDisplay, installationWidgets);
    lumora::native::Post(mainWindow->GetSystemWindow(), startSilentInstallation, 0, 0);
}

bool tSetup::StartsSilentInstallation(int message)
{
    if (message != static_cast<int>(startSilentInstallation) || !run || !run->silent || installed)
        return false;
    RunInstallation();
    finished = true;
    // Nobody is asked: the run is over.
    leaving = true;
    if (IsWindow(mainWindow->GetSystemWindow())) mainWindow->Close();
    return true;
}

RunOutcome tSetup::Outcome() const
{
    RunOutcome outcome;
    outcome.installed = installed;
    outcome.faults = !installationReport.IsEmpty();
    outcome.finished = finished;
    outcome.restartWanted = enabledPages.IsEnabled(Page::reboot);
    outcome.restartStarted = restartStarted;
    return outcome;
}
