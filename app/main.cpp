// The program's entry: library start-up, the version check, the wizard's lifetime and the
// marker file that tells whoever started Setup that it has ended. A command line with switches
// is a deployment tool's run (app/deployment.h).
#include "app/command_line.h"
#include "app/deployment.h"
#include "app/startup_checks.h"
#include "wizard/setup.h"

#include "lumora/application.h"
#include "lumora/process.h"

#include <windows.h>

namespace {

int RunWizard()
{
    int result = 0;
    lumora::String refusal = PackageRefusal();
    if (refusal.Length() > 0) {
        ShowRefusal(refusal);
        result = 1;
    } else {
        tSetup *setup = new tSetup();
        lumora::Loop();
        delete setup;
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

    // Read wide: a destination may hold letters the system code page lacks.
    const SetupSwitches switches = ReadSetupSwitches(ArgumentsAfterProgramName(GetCommandLineW()));
    if (switches.given) {
        int result = RunWithSwitches(switches);
        lumora::Free();
        return result;
    }

    if (!LibraryVersionMatches() && !AskToContinueWithOtherLibrary()) {
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
