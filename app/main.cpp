// The program's entry: library start-up, the version check, the wizard's lifetime and the
// marker file that tells whoever started Setup that it has ended.
#include "app/setup_config.h"
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
    // setup.tsi lies beside the program, so the package's own words reach even this question.
    int answer =
        lumora::GUI::Dialogs::QuickMessage(ReadSetupValue(SetupValue::textVersionQuestion),
                                           ReadSetupValue(SetupValue::textVersionCaption), MB_YESNO, 32514);
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

// Building a row for each of millions of components would stall the wizard before it opens;
// such a count is damage, and the package's maker learns which number is wrong.
void ReportDamagedComponentCount(int highestDescribed)
{
    lumora::String text = "This setup package is damaged: [Component Setup] NumberOfComponents is ";
    // As written: a count beyond 32 bits reads as the largest int.
    text.Append(ReadSetupValue(SetupValue::offeredComponentCount));
    if (highestDescribed == 0)
        text.Append(", but no key of setup.tsi describes any component.");
    else
        text.Append(", but the keys of setup.tsi describe only components 1 to ")
            .Append(lumora::String::FromInt(highestDescribed))
            .Append(".");
    text.Append("\n\nSetup cannot continue.");
    lumora::GUI::Dialogs::QuickMessage(text, "Setup", MB_OK, 32513);
}

int RunWizard()
{
    int result = 0;
    int count = 0;
    int highestDescribed = 0;
    if (!tSetup::EnablesAnyPage()) {
        ReportNoPageEnabled();
        result = 1;
    } else if (tSetup::HasDamagedComponentCount(count, highestDescribed)) {
        ReportDamagedComponentCount(highestDescribed);
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
