// Back and Next: moving between the enabled pages, and the installation run that Next
// starts on the way into the page after it.
#include "app/setup_config.h"
#include "install/progress_bars.h"
#include "wizard/setup.h"

#include <windows.h>

using lumora::String;

namespace {

const int warningIcon = 32515; // IDI_EXCLAMATION

struct PageTitle {
    const char *section;
    const char *defaultTitle;
};

// Indexed by page number.
const PageTitle pageTitles[] = {
    {nullptr, nullptr},
    {"Introduction", "Setup"},
    {"License", "License"},
    {"Directory", "Select destination directory"},
    {"Components", "Select components to install"},
    {"Summary", "Ready to install"},
    {"Bye", "Setup complete"},
    {"Reboot", "Reboot"},
};

} // namespace

void tSetup::OnBack()
{
    const bool enabled[] = {false,          showIntroduction, showLicense, showDirectory,
                            showComponents, showSummary,      showBye,     showReboot};
    if (currentPage >= 2 && currentPage <= 5) {
        for (int page = currentPage - 1; page >= 1; page--) {
            if (enabled[page]) {
                currentPage = page;
                break;
            }
        }
    } else if (currentPage == 7 && showBye) {
        // From the Reboot page only the completion page lies behind; the installation
        // itself cannot be walked back into.
        currentPage = 6;
    }

    HideAllPageWidgets();
    if (currentPage == firstPage) backButton->Hide();
    // The completion page never offers a way back into the installation.
    if (currentPage == afterInstallPage) backButton->Hide();
    if (currentPage >= 1 && currentPage <= 6) ShowPageWidgets(currentPage);

    SetButtonTexts();
    SetPageTitle(currentPage);
}

void tSetup::OnNext()
{
    if (currentPage == lastPage) {
        // Finish. A refused restart leaves the wizard on this page, so Finish can be pressed again.
        if (rebootChoice == 2)
            mainWindow->Close();
        else
            ExitWindowsEx(EWX_REBOOT, 0);
        return;
    }

    const bool enabled[] = {false,          showIntroduction, showLicense, showDirectory,
                            showComponents, showSummary,      showBye,     showReboot};
    if (currentPage >= 1 && currentPage <= 6) {
        for (int page = currentPage + 1; page <= 7; page++) {
            if (enabled[page]) {
                currentPage = page;
                break;
            }
        }
    }

    backButton->Show();
    HideAllPageWidgets();
    if (currentPage == afterInstallPage) {
        RunInstallation();
        // The window was closed while the worker ran: the user has left, and the message
        // loop ends as soon as this handler returns.
        if (!IsWindow(mainWindow->GetSystemWindow())) return;
    }
    if (currentPage >= 2 && currentPage <= 7) ShowPageWidgets(currentPage);

    SetButtonTexts();
    SetPageTitle(currentPage);
}

void tSetup::RunInstallation()
{
    mainWindow->SetText(ReadSetupValue("Installation", "Title", "Installation"));
    // The buttons stay hidden while the worker runs: nothing may navigate, cancel or start
    // a second worker meanwhile.
    backButton->Hide();
    nextButton->Hide();
    cancelButton->Hide();
    iconImage->Show();
    installationText->Show();
    fileProgressLabel->Show();
    fileProgress->Show();
    totalProgressLabel->Show();
    totalProgress->Show();

    ProgressBars bars(fileProgress, totalProgress);
    installationBars = &bars;
    installing = true;
    installThread = new lumora::Threads::Thread(nullptr);
    installThread->threadMain.Connect(
        new lumora::Instance<tSetup>(this),
        new lumora::Method<tSetup, long, lumora::Threads::Thread *>(&tSetup::InstallComponents));
    // A thread that cannot start reports itself stopped, so the wait below still ends.
    installThread->Start();

    // Pump every window's messages ourselves so the window repaints and the bars are seen
    // moving. The loop polls without sleeping, as the worker finishes at any moment.
    bool quitRequested = false;
    WPARAM quitCode = 0;
    for (;;) {
        MSG message;
        // A quit request taken from the queue here would be lost to the library's own loop,
        // which then could never end; it is posted again once the worker is done.
        if (lumora::native::PumpOneMessage(message) && message.message == WM_QUIT) {
            quitRequested = true;
            quitCode = message.wParam;
        }
        bars.Tick();
        if (installThread->GetStatus() == lumora::Threads::THREAD_STOPPED) break;
    }

    // Deleting the thread waits for the body to unwind after its own Stop.
    delete installThread;
    installThread = nullptr;
    installing = false;
    // The bars end where the worker ended, the last file's 100 included.
    bars.Flush();
    installationBars = nullptr;
    if (quitRequested) PostQuitMessage(static_cast<int>(quitCode));

    if (IsWindow(mainWindow->GetSystemWindow())) {
        ReportInstallationFaults();
        if (closeAfterInstallation) {
            // The close the user asked for during the installation, now that it is done.
            leaving = true;
            mainWindow->Close();
        }
    }
    if (!IsWindow(mainWindow->GetSystemWindow())) return;

    nextButton->Show();
    installationText->Hide();
    fileProgressLabel->Hide();
    fileProgress->Hide();
    totalProgressLabel->Hide();
    totalProgress->Hide();
}

void tSetup::ReportInstallationFaults()
{
    // A run that could not write everything must not end on a page that reads as success.
    if (installationReport.IsEmpty()) return;
    String text = "Setup could not install everything. These components or files are missing "
                  "or incomplete:\n\n";
    text.Append(installationReport.Summary());
    text.Append("\n\nRun Setup again once the problem has been solved.");
    lumora::GUI::Dialogs::QuickMessage(text, "Installation incomplete", MB_OK, warningIcon);
}

void tSetup::HideAllPageWidgets()
{
    iconImage->Hide();
    introductionText->Hide();
    byeText->Hide();
    rebootText->Hide();
    rebootYesOption->Hide();
    rebootNoOption->Hide();
    licenseText->Hide();
    licenseEdit->Hide();
    directoryText->Hide();
    directoryGroup->Hide();
    directoryEdit->Hide();
    browseButton->Hide();
    summaryText->Hide();
    componentsText->Hide();
    componentsGroup->Hide();
    for (int i = 1; i <= ReadComponentCount(); i++) {
        // A count raised in the file since construction names boxes that do not exist.
        if (lumora::GUI::CheckBox *box = componentCheckBoxes.GetEntry(i)) box->Hide();
    }
}

void tSetup::ShowPageWidgets(int page)
{
    switch (page) {
    case 1:
        iconImage->Show();
        introductionText->Show();
        break;
    case 2:
        licenseText->Show();
        licenseEdit->Show();
        iconImage->Show();
        break;
    case 3:
        iconImage->Show();
        directoryText->Show();
        directoryGroup->Show();
        browseButton->Show();
        directoryEdit->Show();
        break;
    case 4:
        iconImage->Show();
        componentsText->Show();
        componentsGroup->Show();
        for (int i = 1; i <= ReadComponentCount(); i++) {
            if (lumora::GUI::CheckBox *box = componentCheckBoxes.GetEntry(i)) box->Show();
        }
        break;
    case 5:
        iconImage->Show();
        summaryText->Show();
        break;
    case 6:
        iconImage->Show();
        byeText->Show();
        break;
    case 7:
        // The Reboot text starts where the icon would be.
        rebootText->Show();
        rebootYesOption->Show();
        rebootNoOption->Show();
        break;
    default:
        break;
    }
}

// The title is read again at every page change, so a package edited meanwhile is followed.
String tSetup::ReadPageTitle(int page)
{
    if (page < 1 || page > 7) return String();
    return ReadSetupValue(pageTitles[page].section, "Title", pageTitles[page].defaultTitle);
}

void tSetup::SetPageTitle(int page)
{
    mainWindow->SetText(ReadPageTitle(page));
}

// On the License page the buttons answer its question; on the last page Next finishes.
void tSetup::SetButtonTexts()
{
    nextButton->SetText("Next ->");
    cancelButton->SetText("Cancel");
    if (currentPage == 2) {
        nextButton->SetText("Yes");
        cancelButton->SetText("No");
    }
    if (currentPage == lastPage) nextButton->SetText("Finish");
}
