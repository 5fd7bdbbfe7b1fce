// Back and Next: moving between the enabled pages, and the installation run that Next
// starts on the way into the page after it.
#include "install/installation_log.h"
#include "install/phase_times.h"
#include "windows/installation_clock.h"
#include "windows/progress_bars.h"
#include "windows/setup_config.h"
#include "wizard/setup.h"

#include <windows.h>

using lumora::String;

namespace {

const int warningIcon = 32515; // IDI_EXCLAMATION

} // namespace

void tSetup::OnBack()
{
    currentPage = enabledPages.Before(currentPage);

    HideAllPageWidgets();
    if (currentPage == firstPage) backButton->Hide();
    // The completion page never offers a way back into the installation.
    if (currentPage == afterInstallPage) backButton->Hide();
    ShowPageWidgets(currentPage);

    SetButtonTexts();
    SetPageTitle(currentPage);
    nextButton->Focus();
}

void tSetup::OnNext()
{
    if (currentPage == lastPage) {
        // Finish. A refused restart leaves the wizard on this page, so Finish can be pressed again.
        finished = true;
        if (rebootChoice == 2 || (run && run->noRestart))
            mainWindow->Close();
        else
            restartStarted = ExitWindowsEx(EWX_REBOOT, 0) != 0;
        return;
    }

    currentPage = enabledPages.After(currentPage);

    backButton->Show();
    HideAllPageWidgets();
    if (currentPage == afterInstallPage) {
        RunInstallation();
        // The window was closed while the worker ran: the user has left, and the message
        // loop ends as soon as this handler returns.
        if (!IsWindow(mainWindow->GetSystemWindow())) return;
    }
    ShowPageWidgets(currentPage);

    SetButtonTexts();
    SetPageTitle(currentPage);
    // Every page is walked on with Enter: the button that moves forward holds the focus.
    nextButton->Focus();
}

void tSetup::RunInstallation()
{
    mainWindow->SetText(ReadTitle(installationDisplay));
    // The buttons stay hidden while the worker runs: nothing may navigate, cancel or start
    // a second worker meanwhile.
    backButton->Hide();
    nextButton->Hide();
    cancelButton->Hide();
    ShowWidgetsOf(installationDisplay, installationWidgets);

    InstallationClock clock;
    ProgressBars bars(fileProgress, totalProgress);
    installationBars = &bars;
    installationReport.Observe(run ? run->log : nullptr);
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
        PhaseClock pass(Phase::waitPeek);
        MSG message;
        if (lumora::native::Peek(message, 0, 0)) {
            pass.Switch(Phase::waitDispatch);
            TranslateMessage(&message);
            lumora::native::Dispatch(message);
            PhaseTimes::Count(Tally::messages);
            // A quit request taken from the queue here would be lost to the library's own
            // loop, which then could never end; it is posted again once the worker is done.
            if (message.message == WM_QUIT) {
                quitRequested = true;
                quitCode = message.wParam;
            }
        }
        pass.Switch(Phase::waitOther);
        PhaseTimes::Count(Tally::waitPasses);
        bars.Tick();
        if (installThread->GetStatus() == lumora::Threads::THREAD_STOPPED) break;
    }
    clock.Stop();

    // Deleting the thread waits for the body to unwind after its own Stop.
    delete installThread;
    installThread = nullptr;
    installing = false;
    installed = true;
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
    // A silent run closes the window next, with the display as it ended.
    if (!IsWindow(mainWindow->GetSystemWindow()) || (run && run->silent)) return;

    nextButton->Show();
    for (lumora::GUI::Widget *widget : installationWidgets) widget->Hide();
}

void tSetup::ReportInstallationFaults()
{
    // A run that could not write everything must not end on a page that reads as success. A
    // silent run has nobody to read it: its log and exit code say it.
    if (installationReport.IsEmpty() || (run && run->silent)) return;
    lumora::GUI::Dialogs::QuickMessage(IncompleteNotice(installationReport),
                                       ReadSetupValue(SetupValue::textIncompleteCaption), MB_OK, warningIcon);
    ShowCompletedInPart();
}

String tSetup::IncompleteNotice(const InstallReport &report)
{
    String text = ReadSetupValue(SetupValue::textIncompleteText);
    text.Append("\n\n").Append(report.Summary());
    return text.Append("\n\n").Append(ReadSetupValue(SetupValue::textIncompleteAdvice));
}

void tSetup::HideAllPageWidgets()
{
    iconImage->Hide();
    for (const std::vector<lumora::GUI::Widget *> &widgets : pageWidgets)
        for (lumora::GUI::Widget *widget : widgets) widget->Hide();
    SetComponentBoxesShown(false);
}

void tSetup::ShowPageWidgets(Page page)
{
    if (page == Page::none) return;
    ShowWidgetsOf(DescriptionOf(page), pageWidgets[IndexOf(page)]);
    if (page == Page::components) SetComponentBoxesShown(true);
}

void tSetup::ShowWidgetsOf(const PageDescription &page, const std::vector<lumora::GUI::Widget *> &widgets)
{
    if (page.showsIcon) iconImage->Show();
    for (lumora::GUI::Widget *widget : widgets) widget->Show();
}

void tSetup::SetComponentBoxesShown(bool shown)
{
    // A count raised in the file since construction names boxes that do not exist.
    for (int i = 1; i <= ReadComponentCount() && i <= BuiltComponentCount(); i++) {
        lumora::GUI::CheckBox *box = componentCheckBoxes.GetEntry(i);
        if (shown)
            box->Show();
        else
            box->Hide();
    }
}

String tSetup::ReadTitle(const PageDescription &page)
{
    return ReadSetupValue(page.title);
}

// The title is read again at every page change, so a package edited meanwhile is followed.
String tSetup::ReadPageTitle(Page page)
{
    if (page == Page::none) return String();
    return ReadTitle(DescriptionOf(page));
}

void tSetup::SetPageTitle(Page page)
{
    mainWindow->SetText(ReadPageTitle(page));
}

// On the License page the buttons answer its question; on the last page Next finishes.
void tSetup::SetButtonTexts()
{
    const PageDescription *page = currentPage == Page::none ? nullptr : &DescriptionOf(currentPage);
    nextButton->SetText(ReadSetupValue(page ? page->nextText : SetupValue::textNext));
    cancelButton->SetText(ReadSetupValue(page ? page->cancelText : SetupValue::textCancel));
    if (currentPage == lastPage) nextButton->SetText(ReadSetupValue(SetupValue::textFinish));
}
