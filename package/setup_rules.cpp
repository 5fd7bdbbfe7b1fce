// The table of every value of setup.tsi. Package makers read its words in `tsa check`'s
// findings and in the documentation of the file, so a row says what the value does.
#include "package/setup_rules.h"

#include "lumora/utf8.h"

namespace {

using K = ValueKind;
using V = SetupValue;

const long long x = noLimit;

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
