// The table of every value of setup.tsi. Package makers read its words in `tsa check`'s
// findings and in the documentation of the file, so a row says what the value does.
#include "package/setup_rules.h"

#include "lumora/utf8.h"

namespace {

using K = ValueKind;
using V = SetupValue;

const long long x = noLimit;

// The room of each control that shows a fixed text, in characters of textRoomCharacter pixels:
// a button (75 pixels, less its border), a restart option right of its circle up to the page's
// right margin, a frame's title inside its 328 pixels, a progress label on its one line.
constexpr long long Room(int pixels)
{
    return pixels / textRoomCharacter;
}
const long long buttonRoom = Room(75 - 8);
const long long optionRoom = Room(474 - 169 - 20 - 9);
const long long frameRoom = Room(328 - 16);
const long long labelRoom = Room(474 - 141 - 9);

// A text placed beyond the smallest screen in common use, 1024 x 768, is not seen there.
const long long smallestScreenWidth = 1024;
const long long smallestScreenHeight = 768;

} // namespace

// clang-format off
constexpr SetupRule setupRules[setupValueCount] = {
    {V::displayBackgroundWindow, "Setup", "DisplayBackgroundWindow", false, "1", K::flag, x, x,
     "show the full-screen background window behind the wizard"},
    {V::displayAppName, "Setup", "DisplayAppName", false, "1", K::flag, x, x,
     "draw the application's name on the background"},
    {V::displayAppVersion, "Setup", "DisplayAppVersion", false, "1", K::flag, x, x,
     "draw a space and the version after the name (only where the name is drawn)"},
    {V::displayCompanyName, "Setup", "DisplayCompanyName", false, "1", K::flag, x, x,
     "draw the company on the background"},
    {V::introductionPage, "Dialogs", "Introduction", false, "1", K::flag, x, x, "show the Introduction page (page 1)"},
    {V::licensePage, "Dialogs", "License", false, "1", K::flag, x, x, "show the License page (page 2)"},
    {V::directoryPage, "Dialogs", "Directory", false, "1", K::flag, x, x, "show the Directory page (page 3)"},
    {V::componentsPage, "Dialogs", "Components", false, "1", K::flag, x, x, "show the Components page (page 4)"},
    {V::summaryPage, "Dialogs", "Summary", false, "1", K::flag, x, x, "show the Summary page (page 5)"},
    {V::byePage, "Dialogs", "Bye", false, "1", K::flag, x, x, "show the completion page (page 6)"},
    {V::rebootPage, "Dialogs", "Reboot", false, "1", K::flag, x, x, "show the Reboot page (page 7)"},
    {V::applicationName, "Application", "Name", false, "Setup", K::codePageText, x, x,
     "the application's name on the background"},
    {V::applicationVersion, "Application", "Version", false, "v1.0", K::codePageText, x, x,
     "the application's version on the background"},
    {V::applicationCompany, "Application", "Company", false, "Quorvell SD", K::codePageText, x, x,
     "the company on the background"},
    {V::nameFontX, "Name Font", "XPos", false, "50", K::integer, 0, smallestScreenWidth - 1,
     "left edge of the name, pixels from the screen's left edge"},
    {V::nameFontY, "Name Font", "YPos", false, "30", K::integer, 0, smallestScreenHeight - 1,
     "top of the name, pixels from the screen's top edge"},
    {V::nameFontSize, "Name Font", "Size", false, "48", K::integer, x, x,
     "height of the name's font and of its band, pixels"},
    {V::nameFontColor, "Name Font", "Color", false, "16777215", K::integer, 0, 16777215,
     "colour of the name as 0x00BBGGRR in decimal (16777215 is white)"},
    {V::nameFontFace, "Name Font", "Font", false, "Courier New", K::codePageText, x, x, "font face of the name"},
    {V::nameFontUnderline, "Name Font", "Underline", false, "0", K::flag, x, x, "underline the name"},
    {V::nameFontItalic, "Name Font", "Italic", false, "1", K::flag, x, x, "draw the name in italics"},
    {V::nameFontWeight, "Name Font", "Weight", false, "500", K::integer, 0, 1000,
     "weight of the name's font (400 normal, 700 bold)"},
    {V::companyFontX, "Company Font", "XPos", false, "50", K::integer, 0, smallestScreenWidth - 1,
     "left edge of the company, pixels from the screen's left edge"},
    {V::companyFontY, "Company Font", "YPos", false, "30", K::integer, 0, smallestScreenHeight - 1,
     "top of the company, pixels above the screen's bottom edge"},
    {V::companyFontSize, "Company Font", "Size", false, "24", K::integer, x, x,
     "height of the company's font and of its band, pixels"},
    {V::companyFontColor, "Company Font", "Color", false, "16777215", K::integer, 0, 16777215,
     "colour of the company as 0x00BBGGRR in decimal"},
    {V::companyFontFace, "Company Font", "Font", false, "Times New Roman", K::codePageText, x, x,
     "font face of the company"},
    {V::companyFontUnderline, "Company Font", "Underline", false, "0", K::flag, x, x, "underline the company"},
    {V::companyFontItalic, "Company Font", "Italic", false, "0", K::flag, x, x, "draw the company in italics"},
    {V::companyFontWeight, "Company Font", "Weight", false, "500", K::integer, 0, 1000,
     "weight of the company's font (400 normal, 700 bold)"},
    {V::introductionTitle, "Introduction", "Title", false, "Setup", K::codePageText, x, x,
     "window title on the Introduction page"},
    {V::introductionLines, "Introduction", "Lines", false, "1", K::integer, 0, mostPageLines,
     "number of lines of the Introduction page's text"},
    {V::introductionLine, "Introduction", "", true, "Welcome to the setup.", K::codePageText, x, x,
     "one line of the Introduction page's text, 1 to Lines"},
    {V::licenseTitle, "License", "Title", false, "License", K::codePageText, x, x, "window title on the License page"},
    {V::licenseLines, "License", "Lines", false, "1", K::integer, 0, mostPageLines,
     "number of lines of the License page's text"},
    {V::licenseLine, "License", "", true, "Do you accept the following agreement?", K::codePageText, x, x,
     "one line of the License page's text, 1 to Lines"},
    {V::directoryTitle, "Directory", "Title", false, "Select destination directory", K::codePageText, x, x,
     "window title on the Directory page"},
    {V::directoryLines, "Directory", "Lines", false, "1", K::integer, 0, mostPageLines,
     "number of lines of the Directory page's text"},
    {V::directoryLine, "Directory", "", true, "Choose the destination directory.", K::codePageText, x, x,
     "one line of the Directory page's text, 1 to Lines"},
    {V::componentsTitle, "Components", "Title", false, "Select components to install", K::codePageText, x, x,
     "window title on the Components page"},
    {V::componentsLines, "Components", "Lines", false, "1", K::integer, 0, mostPageLines,
     "number of lines of the Components page's text"},
    {V::componentsLine, "Components", "", true, "Select components to install.", K::codePageText, x, x,
     "one line of the Components page's text, 1 to Lines"},
    {V::summaryTitle, "Summary", "Title", false, "Ready to install", K::codePageText, x, x,
     "window title on the Summary page"},
    {V::summaryLines, "Summary", "Lines", false, "1", K::integer, 0, mostPageLines,
     "number of lines of the Summary page's text"},
    {V::summaryLine, "Summary", "", true, "Setup is now ready to install.", K::codePageText, x, x,
     "one line of the Summary page's text, 1 to Lines"},
    {V::byeTitle, "Bye", "Title", false, "Setup complete", K::codePageText, x, x,
     "window title on the completion page"},
    {V::byeLines, "Bye", "Lines", false, "1", K::integer, 0, mostPageLines,
     "number of lines of the completion page's text"},
    {V::byeLine, "Bye", "", true, "The setup has been completed!", K::codePageText, x, x,
     "one line of the completion page's text, 1 to Lines"},
    {V::rebootTitle, "Reboot", "Title", false, "Reboot", K::codePageText, x, x, "window title on the Reboot page"},
    {V::rebootLines, "Reboot", "Lines", false, "1", K::integer, 0, mostPageLines,
     "number of lines of the Reboot page's text"},
    {V::rebootLine, "Reboot", "", true, "The computer must be rebooted now!", K::codePageText, x, x,
     "one line of the Reboot page's text, 1 to Lines"},
    {V::installationTitle, "Installation", "Title", false, "Installation", K::codePageText, x, x,
     "window title while the files are installed"},
    {V::installationLines, "Installation", "Lines", false, "1", K::integer, 0, mostPageLines,
     "number of lines of the text shown while the files are installed"},
    {V::installationLine, "Installation", "", true, "Copying the files to your computer.", K::codePageText, x, x,
     "one line of the text shown while the files are installed, 1 to Lines"},
    {V::licenseFile, "License", "LicenseFile", false, noLicense, K::packageFile, x, x,
     "the licence text shown on the License page; \"nolicense\" shows none"},
    {V::destinationFolder, "Directory", "DirName", false, "", K::folderBelowProgramFiles, x, x,
     "the proposed destination is the Program Files folder, \"\\\" and this name"},
    {V::offeredComponentCount, "Component Setup", "NumberOfComponents", false, "1", K::integer, 0, x,
     "N, the number of components the Components page offers; at most 32 more than the highest "
     "component number any component key names"},
    {V::installedComponentCount, "Component Setup", "NumberOfComponents", false, "0", K::integer, 0, x,
     "N as the installation reads it: without the key nothing is installed"},
    {V::componentName, "Component Setup", "", true, "Main program", K::codePageText, x, x,
     "name of component i, 1 to N, on its check box and in the installation's notices"},
    {V::copyLibrary, "Component Setup", "CopyLUMORA", false, "0", K::flag, x, x,
     "copy lumora.dll from the package folder into the destination after the components"},
    {V::componentState, "Component Config", "", true, "default", K::componentState, x, x,
     "starting state of component i: \"required\" (chosen, cannot be unticked), \"default\" (chosen) or "
     "anything else (not chosen)"},
    {V::componentArchive, "Component Files", "", true, "data.tsa", K::packageFile, x, x,
     "archive (.tsa) of component i"},
    {V::componentFolder, "Component Subdirs", "", true, ".", K::pathBelowDestination, x, x,
     "folder below the destination that receives component i; \".\" is the destination itself"},
    {V::linkCount, "Startmenu Links", "NumberOfLinks", false, "0", K::integer, 0, x,
     "L, the number of Start menu links"},
    {V::linkFolder, "Startmenu Links", "StartmenuDirectory", false, "", K::pathBelowStartMenu, x, x,
     "folder below the Start menu's Programs folder that receives the links; empty for that folder itself"},
    {V::linkComponent, "Startmenu Links", "Component", true, "", K::integer, 1, x,
     "component (1 to N) whose choice decides link i, 1 to L; a link of no component is not made"},
    {V::linkName, "Startmenu Links", "Name", true, "", K::pathBelowStartMenu, x, x,
     "file name of link i without \".lnk\""},
    {V::linkTarget, "Startmenu Links", "File", true, "", K::pathFromDestination, x, x,
     "file link i starts, relative to the destination"},
    {V::textBack, "Texts", "Back", false, "<- Back", K::codePageText, x, buttonRoom, "the Back button"},
    {V::textNext, "Texts", "Next", false, "Next ->", K::codePageText, x, buttonRoom, "the Next button"},
    {V::textCancel, "Texts", "Cancel", false, "Cancel", K::codePageText, x, buttonRoom, "the Cancel button"},
    {V::textFinish, "Texts", "Finish", false, "Finish", K::codePageText, x, buttonRoom,
     "the Next button on the last page"},
    {V::textYes, "Texts", "Yes", false, "Yes", K::codePageText, x, buttonRoom,
     "the Next button on the License page, which accepts the licence"},
    {V::textNo, "Texts", "No", false, "No", K::codePageText, x, buttonRoom,
     "the Cancel button on the License page, which declines the licence and ends Setup"},
    {V::textBrowse, "Texts", "Browse", false, "Browse", K::codePageText, x, buttonRoom,
     "the button on the Directory page that opens the folder dialog"},
    {V::textDestinationDirectory, "Texts", "DestinationDirectory", false, "Destination Directory",
     K::codePageText, x, frameRoom, "the title of the frame around the destination on the Directory page"},
    {V::textAvailableComponents, "Texts", "AvailableComponents", false, "Available components", K::codePageText,
     x, frameRoom, "the title of the frame around the components on the Components page"},
    {V::textFileProgress, "Texts", "FileProgress", false, "Current file progress:", K::codePageText, x,
     labelRoom, "the label above the bar of the file being installed"},
    {V::textTotalProgress, "Texts", "TotalProgress", false, "Total installation progress:", K::codePageText, x,
     labelRoom, "the label above the bar of the whole installation"},
    {V::textRebootNow, "Texts", "RebootNow", false, "Yes, restart the computer now!", K::codePageText, x,
     optionRoom, "the Reboot page's choice to restart at Finish"},
    {V::textRebootLater, "Texts", "RebootLater", false, "No, I will restart my computer later!",
     K::codePageText, x, optionRoom, "the Reboot page's choice to end without a restart"},
    {V::textExitCaption, "Texts", "ExitCaption", false, "Exit Setup", K::codePageText, x, x,
     "the title of the question Cancel asks, and of the one asked when the window is closed while "
     "the files are installed"},
    {V::textExitQuestion, "Texts", "ExitQuestion", false,
     "Do you really want to exit Setup now?\\n\\nIf you quit now, the program will not be installed on your "
     "computer.\\nYou may run Setup again later to complete the installation.",
     K::messageText, x, x, "the question Cancel asks before Setup ends"},
    {V::textCancelledText, "Texts", "CancelledText", false, "The Setup will be cancelled now!", K::messageText,
     x, x, "the notice \"No\" on the License page shows before Setup ends"},
    {V::textCancelledCaption, "Texts", "CancelledCaption", false, "Info", K::codePageText, x, x,
     "the title of that notice"},
    {V::textVersionQuestion, "Texts", "VersionQuestion", false,
     "This program might not be compatible with the LUMORA library\\ninstalled on your system. Continue "
     "execution?",
     K::messageText, x, x, "the question asked at the start when lumora.dll is of another version"},
    {V::textVersionCaption, "Texts", "VersionCaption", false, "Warning", K::codePageText, x, x,
     "the title of that question"},
    {V::textIncompleteCaption, "Texts", "IncompleteCaption", false, "Installation incomplete", K::codePageText,
     x, x, "the title of the notice after an installation that could not install everything"},
    {V::textIncompleteText, "Texts", "IncompleteText", false,
     "Setup could not install everything. These components or files are missing or incomplete:",
     K::messageText, x, x, "the sentence above that notice's list of what is missing"},
    {V::textIncompleteAdvice, "Texts", "IncompleteAdvice", false,
     "Run Setup again once the problem has been solved.", K::messageText, x, x,
     "the sentence below that notice's list"},
    {V::textInstallingQuestion, "Texts", "InstallingQuestion", false,
     "Setup is installing the files now and cannot stop before it is done.\\n\\nDo you want to exit Setup as "
     "soon as the installation has finished?",
     K::messageText, x, x, "the question asked when the window is closed while the files are installed"},
    {V::textBrowseText, "Texts", "BrowseText", false,
     "\\nSelect the folder in which the program will be installed:", K::messageText, x, x,
     "the text above the folders in the dialog Browse opens"},
    {V::textBackgroundTitle, "Texts", "BackgroundTitle", false, "Torvane Setup v0.1", K::codePageText, x, x,
     "the title of the background window, which the taskbar shows"},
    {V::textCompletedInPart, "Texts", "CompletedInPart", false,
     "Some parts could not be installed; see the list shown before.", K::messageText, x, x,
     "shown above the completion page's text after an installation that could not install everything"},
    {V::uninstallEnabled, "Uninstall", "Enabled", false, "0", K::flag, x, x,
     "leave an uninstaller, a record of what was installed and an entry in Windows' list of "
     "installed programs"},
    {V::uninstallDisplayName, "Uninstall", "DisplayName", false, "", K::codePageText, x, x,
     "the product's name in the list of installed programs; empty: [Application] Name"},
    {V::uninstallDisplayVersion, "Uninstall", "DisplayVersion", false, "", K::codePageText, x, x,
     "the version in the list of installed programs; empty: [Application] Version"},
    {V::uninstallPublisher, "Uninstall", "Publisher", false, "", K::codePageText, x, x,
     "the publisher in the list of installed programs; empty: [Application] Company"},
    {V::uninstallHelpLink, "Uninstall", "HelpLink", false, "", K::webAddress, x, x,
     "address of the product's help in the list of installed programs; empty: none"},
    {V::uninstallInfoAddress, "Uninstall", "URLInfoAbout", false, "", K::webAddress, x, x,
     "address of the product's web page in the list of installed programs; empty: none"},
};
// clang-format on

namespace {

constexpr bool RowsInOrder()
{
    for (int k = 0; k < setupValueCount; ++k)
        if (static_cast<int>(setupRules[k].value) != k) return false;
    return true;
}

} // namespace

static_assert(RowsInOrder(), "every SetupValue has its row, in the order of the enumeration");

namespace {

// The scripts whose characters take two cells: Hangul Jamo, the CJK radicals, kana and
// ideographs, Hangul syllables, compatibility ideographs and the full-width forms.
bool IsWide(wchar_t c)
{
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6);
}

} // namespace

int TextWidthInCharacters(const lumora::String &text)
{
    int width = 0;
    for (int k = 0; k < text.Length(); ++k) width += IsWide(text[k]) ? 2 : 1;
    return width;
}

lumora::String WithLineBreaks(const lumora::String &value)
{
    std::wstring shown;
    for (int k = 0; k < value.Length(); ++k) {
        if (value[k] == L'\\' && value[k + 1] == L'n') {
            shown += L'\n';
            ++k;
        } else {
            shown += value[k];
        }
    }
    return lumora::String(shown.c_str(), static_cast<int>(shown.size()));
}

lumora::String KeyName(const SetupRule &rule, int number)
{
    lumora::String name(rule.key);
    if (rule.numbered) name.Append(lumora::String::FromInt(number));
    return name;
}

int KeyNumber(const SetupRule &rule, const lumora::String &key)
{
    if (!rule.numbered) return 0;
    lumora::String prefix(rule.key);
    int length = prefix.Length();
    if (key.Length() <= length) return 0;
    std::wstring start(static_cast<const wchar_t *>(key), static_cast<size_t>(length));
    if (!lumora::SameIgnoringAsciiCase(start, static_cast<const wchar_t *>(prefix))) return 0;
    lumora::String digits(static_cast<const wchar_t *>(key) + length);
    int number = digits.ToInt();
    // The platform finds a key only by its exact name, so "01" or "+1" is no key of it.
    return number > 0 && lumora::String::FromInt(number) == digits ? number : 0;
}
