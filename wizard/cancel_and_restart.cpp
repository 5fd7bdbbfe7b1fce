// Every way the wizard ends: Cancel, the close question, and the privilege a restart needs.
#include "wizard/setup.h"

#include "windows/native_calls.h"
#include "windows/setup_config.h"

#include <windows.h>

using lumora::GUI::Dialogs::QuickMessage;

namespace {

const int questionIcon = 32514;    // IDI_QUESTION
const int informationIcon = 32516; // IDI_INFORMATION

} // namespace

void tSetup::OnCancel()
{
    if (currentPage != Page::license) {
        // Whether the window really closes is AllowQuit's decision.
        mainWindow->Close();
        return;
    }

    // On the License page this button reads "No": declining the agreement ends the
    // wizard without the exit question.
    if (QuickMessage(ReadSetupValue(SetupValue::textCancelledText),
                     ReadSetupValue(SetupValue::textCancelledCaption), MB_OKCANCEL, informationIcon) != IDOK)
        return;
    lumora::native::Send(mainWindow->GetSystemWindow(), WM_QUIT, 0, 0);
}

bool tSetup::AllowQuit()
{
    // The worker cannot be stopped halfway, so leaving now would only hide it: a close asked
    // for meanwhile waits for its end, with the progress in view.
    if (installing) {
        // A silent run ends by itself once the worker is done.
        if (run && run->silent) return false;
        if (!closeAfterInstallation)
            closeAfterInstallation =
                currentPage == lastPage ||
                QuickMessage(ReadSetupValue(SetupValue::textInstallingQuestion),
                             ReadSetupValue(SetupValue::textExitCaption), MB_YESNO, questionIcon) == IDYES;
        return false;
    }

    // The last page is where the wizard is meant to end: no question there.
    if (currentPage == lastPage) return true;

    if (!leaving) {
        int answer = QuickMessage(ReadSetupValue(SetupValue::textExitQuestion),
                                  ReadSetupValue(SetupValue::textExitCaption), MB_YESNO, questionIcon);
        if (answer != IDYES) return false;
        leaving = true;
    }
    if (displayBackgroundWindow) backgroundWindow->Close();
    return true;
}

// The background stands behind the wizard and owns it, so closing it would take the wizard
// along: it goes only when the wizard may.
bool tSetup::AllowBackgroundQuit()
{
    if (leaving || !mainWindow->GetSystemWindow()) return true;
    return AllowQuit();
}

// The session ends after the user agreed to leave: the wizard goes as it would on Yes to Cancel.
// Where no question was asked (the last page), it stays for the system to end, since under
// Wine a later program can still refuse the end that this one was told of.
void tSetup::OnWindowEvent(int message, int wParam, int)
{
    if (StartsSilentInstallation(message)) return;
    if (message == WM_ENDSESSION && wParam && leaving && mainWindow->GetSystemWindow()) mainWindow->Close();
}

void tSetup::RequestShutdownPrivilege()
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    // Only the NT family guards a restart with a privilege.
    if (version.dwPlatformId != VER_PLATFORM_WIN32_NT) return;

    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token)) return;

    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    // Without the privilege a later restart simply fails and the wizard stays on its last
    // page, so nothing is reported here.
    if (LookupPrivilege("SeShutdownPrivilege", &privileges.Privileges[0].Luid))
        AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    // The privilege belongs to the process token, not to this handle.
    CloseHandle(token);
}
