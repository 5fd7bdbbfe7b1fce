// The program's entry: library start-up, the version check, the wizard's lifetime and the
// marker file that tells whoever started Setup that it has ended.
#include "wizard/setup.h"

#include "lumora/application.h"
#include "lumora/dialogs.h"
#include "lumora/process.h"

#include <windows.h>

namespace {

const wchar_t expectedLibraryVersion[] = LUMORA_VERSION_TEXT;

// The user's answer when the library's version differs; true means go on.
bool AcceptLibraryVersion()
{
    if (lumora::System::System::GetVersionString().Compare(expectedLibraryVersion) == 0) return true;
    int answer = lumora::GUI::Dialogs::QuickMessage(
        "This program might not be compatible with the LUMORA library\ninstalled on your system. "
        "Continue execution?",
        "Warning", MB_YESNO, 32514);
    return answer != IDNO;
}

// A package that switches every page off would open an empty wizard with nothing to press;
// its maker learns what is wrong instead.
void ReportNoPageEnabled()
{
    lumora::GUI::Dialogs::QuickMessage(
        "This setup package shows no page: every page is switched off in the [Dialogs] section "
        "of setup.tsi.\n\nSetup cannot continue.",
        "Setup", MB_OK, 32513);
}

int RunWizard()
{
    int result = 0;
    if (tSetup::EnablesAnyPage()) {
        tSetup *setup = new tSetup();
        lumora::Loop();
        delete setup;
    } else {
        ReportNoPageEnabled();
        result = 1;
    }
    // Whoever waits for Setup watches for this file; it carries no content.
    _lcreat("setup.temp", 0);
    return result;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int showCommand)
{
    lumora::hInstance = instance;
    lumora::hPrevInstance = previousInstance;
    lumora::szCmdLine = lumora::String(commandLine);
    lumora::iCmdShow = showCommand;
    lumora::Init();

    if (!AcceptLibraryVersion()) {
        lumora::Free();
        return -1;
    }

    // Fixes the start-up directory as the working directory at program start.
    lumora::Application::GetStartupDirectory();
    lumora::Application::GetApplicationDirectory();

    int result = RunWizard();
    lumora::Free();
    return result;
}
