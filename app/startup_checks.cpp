#include "app/startup_checks.h"

#include "windows/setup_config.h"
#include "wizard/setup.h"

#include "lumora/dialogs.h"
#include "lumora/process.h"

#include <windows.h>

namespace {

const wchar_t expectedLibraryVersion[] = LUMORA_VERSION_TEXT;
const int errorIcon = 32513; // IDI_HAND

// A package that switches every page off would open an empty wizard with nothing to press;
// its maker learns what is wrong instead.
lumora::String NoPageText()
{
    return "This setup package shows no page: every page is switched off in the [Dialogs] section "
           "of setup.tsi.\n\nSetup cannot continue.";
}

// Building a row for each of millions of components would stall the wizard before it opens;
// such a count is damage, and the package's maker learns which number is wrong.
lumora::String DamagedComponentCountText(int highestDescribed)
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
    return text.Append("\n\nSetup cannot continue.");
}

} // namespace

bool LibraryVersionMatches()
{
    return lumora::System::System::GetVersionString().Compare(expectedLibraryVersion) == 0;
}

bool AskToContinueWithOtherLibrary()
{
    // setup.tsi lies beside the program, so the package's own words reach even this question.
    int answer =
        lumora::GUI::Dialogs::QuickMessage(ReadSetupValue(SetupValue::textVersionQuestion),
                                           ReadSetupValue(SetupValue::textVersionCaption), MB_YESNO, 32514);
    return answer != IDNO;
}

lumora::String PackageRefusal()
{
    int count = 0;
    int highestDescribed = 0;
    if (!tSetup::EnablesAnyPage()) return NoPageText();
    if (tSetup::HasDamagedComponentCount(count, highestDescribed))
        return DamagedComponentCountText(highestDescribed);
    return lumora::String();
}

void ShowRefusal(const lumora::String &text)
{
    lumora::GUI::Dialogs::QuickMessage(text, "Setup", MB_OK, errorIcon);
}
