// The rule book of setup.tsi: every section and key the program reads, with its default and
// how its value is taken. The program reads through it (windows/setup_config.h) and `tsa check`
// checks a package against it, so the two can never disagree about a key.
#ifndef SETUP_PACKAGE_SETUP_RULES_H
#define SETUP_PACKAGE_SETUP_RULES_H

#include "lumora/string.h"

#include <climits>
#include <cstring>
#include <initializer_list>

// The profile functions hand out at most this many characters of a value; the rest is lost.
const int setupValueLength = 255;

// A page shows about twenty lines; a count far beyond that is a damaged file, and following
// it (one file read per line) would stall the wizard before it opens.
const int mostPageLines = 100;

// The licence file's value that names no licence.
const char noLicense[] = "nolicense";

// A package may leave a few components wholly to the defaults, but a count far beyond the
// highest component any key describes is a damaged file: every such component would install
// "data.tsa" again, and building their rows would stall the wizard before it opens.
const int mostUndescribedComponents = 32;

// How a value is taken.
enum class ValueKind {
    flag,                    // a decimal number; any value but 0 is on
    integer,                 // a decimal number, within the rule's range where it has one
    codePageText,            // shown as written, in the system code page (titles, page lines, names)
    messageText,             // shown as codePageText, but the two characters "\n" start a new line
    componentState,          // begins with "required" (chosen, fixed) or "default" (chosen); else not chosen
    packageFile,             // a file of the package folder, opened by this name from the working directory
    folderBelowProgramFiles, // joined to the Program Files folder to propose the destination
    pathBelowDestination,    // a relative path that must stay below the destination
    pathBelowStartMenu,      // a relative path that must stay below the Start menu's Programs folder
    pathFromDestination,     // a relative path joined to the destination; nothing is written there
    webAddress,              // an http:// or https:// address, shown in the list of installed programs
};

// Every value, in the order of the table.
enum class SetupValue {
    displayBackgroundWindow,
    displayAppName,
    displayAppVersion,
    displayCompanyName,
    introductionPage,
    licensePage,
    directoryPage,
    componentsPage,
    summaryPage,
    byePage,
    rebootPage,
    applicationName,
    applicationVersion,
    applicationCompany,
    nameFontX,
    nameFontY,
    nameFontSize,
    nameFontColor,
    nameFontFace,
    nameFontUnderline,
    nameFontItalic,
    nameFontWeight,
    companyFontX,
    companyFontY,
    companyFontSize,
    companyFontColor,
    companyFontFace,
    companyFontUnderline,
    companyFontItalic,
    companyFontWeight,
    introductionTitle,
    introductionLines,
    introductionLine,
    licenseTitle,
    licenseLines,
    licenseLine,
    directoryTitle,
    directoryLines,
    directoryLine,
    componentsTitle,
    componentsLines,
    componentsLine,
    summaryTitle,
    summaryLines,
    summaryLine,
    byeTitle,
    byeLines,
    byeLine,
    rebootTitle,
    rebootLines,
    rebootLine,
    installationTitle,
    installationLines,
    installationLine,
    licenseFile,
    destinationFolder,
    offeredComponentCount,
    installedComponentCount,
    componentName,
    copyLibrary,
    componentState,
    componentArchive,
    componentFolder,
    linkCount,
    linkFolder,
    linkComponent,
    linkName,
    linkTarget,
    textBack,
    textNext,
    textCancel,
    textFinish,
    textYes,
    textNo,
    textBrowse,
    textDestinationDirectory,
    textAvailableComponents,
    textFileProgress,
    textTotalProgress,
    textRebootNow,
    textRebootLater,
    textExitCaption,
    textExitQuestion,
    textCancelledText,
    textCancelledCaption,
    textVersionQuestion,
    textVersionCaption,
    textIncompleteCaption,
    textIncompleteText,
    textIncompleteAdvice,
    textInstallingQuestion,
    textBrowseText,
    textBackgroundTitle,
    textCompletedInPart,
    uninstallEnabled,
    uninstallDisplayName,
    uninstallDisplayVersion,
    uninstallPublisher,
    uninstallHelpLink,
    uninstallInfoAddress,
};

const long long noLimit = LLONG_MAX;

struct SetupRule {
    SetupValue value;
    const char *section;
    // A numbered key is this text followed by a decimal number from 1 ("" for the keys "1".."N").
    const char *key;
    bool numbered;
    const char *defaultValue;
    ValueKind kind;
    // The range an integer is taken in; noLimit where there is none. For a text, highest is the
    // most characters its control shows in full (textRoomCharacter pixels each).
    long long lowest;
    long long highest;
    const char *meaning;
};

const int setupValueCount = static_cast<int>(SetupValue::uninstallInfoAddress) + 1;

// The rows, one per SetupValue, in its order.
extern const SetupRule setupRules[setupValueCount];

inline const SetupRule &RuleOf(SetupValue value)
{
    return setupRules[static_cast<int>(value)];
}

// The section of the wizard's own words: its buttons, frames, labels, questions and notices.
const char wizardTextsSection[] = "Texts";

inline bool IsWizardText(const SetupRule &rule)
{
    return std::strcmp(rule.section, wizardTextsSection) == 0;
}

// A character of the dialog font takes about this many pixels, one of Chinese, Japanese or
// Korean twice as many; a control's width over it is the most characters it shows in full.
const int textRoomCharacter = 6;

// The characters a text takes in its control, in characters of textRoomCharacter pixels.
int TextWidthInCharacters(const lumora::String &text);

// A message as shown: the two characters "\n" of its value start a new line.
lumora::String WithLineBreaks(const lumora::String &value);

// The value an empty one of these [Uninstall] values stands for: the product is named in the
// list of installed programs as on the background unless the package says otherwise.
inline bool HasFallback(SetupValue value, SetupValue &fallback)
{
    switch (value) {
    case SetupValue::uninstallDisplayName:
        fallback = SetupValue::applicationName;
        return true;
    case SetupValue::uninstallDisplayVersion:
        fallback = SetupValue::applicationVersion;
        return true;
    case SetupValue::uninstallPublisher:
        fallback = SetupValue::applicationCompany;
        return true;
    default:
        return false;
    }
}

// The key's name in the file: the rule's key, followed for a numbered one by the number.
lumora::String KeyName(const SetupRule &rule, int number = 0);

// The number of a key of a numbered rule, letter case aside ("file12" is 12 of "File"), or 0
// when key is none of its keys.
int KeyNumber(const SetupRule &rule, const lumora::String &key);

// The highest number that a key of the given numbered rules names, 0 for none;
// keysOf(section) lists the names of a section's keys.
template <class KeysReader>
int HighestDescribed(KeysReader keysOf, std::initializer_list<SetupValue> numberedValues)
{
    int highest = 0;
    for (SetupValue value : numberedValues) {
        for (const lumora::String &key : keysOf(lumora::String(RuleOf(value).section))) {
            int number = KeyNumber(RuleOf(value), key);
            if (number > highest) highest = number;
        }
    }
    return highest;
}

template <class KeysReader> int HighestDescribedComponent(KeysReader keysOf)
{
    return HighestDescribed(keysOf, {SetupValue::componentName, SetupValue::componentState,
                                     SetupValue::componentArchive, SetupValue::componentFolder});
}

// Links beyond the highest one described belong to no component and are never made.
template <class KeysReader> int HighestDescribedLink(KeysReader keysOf)
{
    return HighestDescribed(keysOf,
                            {SetupValue::linkComponent, SetupValue::linkName, SetupValue::linkTarget});
}

// A count that no package means: beyond 32 bits, or far beyond what its keys describe.
inline bool IsDamagedComponentCount(int count, int highestDescribed)
{
    return count == INT_MAX || count == INT_MIN ||
           static_cast<long long>(count) >
               static_cast<long long>(highestDescribed) + mostUndescribedComponents;
}

// A page text: the lines rule (key "Lines") gives the count n, the numbered line rule keys
// "1".."n" one line each, joined with "\n"; a missing line key reads as the line rule's default.
// n of 0 or less gives "". read(rule, number) is the reader of the file.
template <class Reader> lumora::String ComposeSetupLines(Reader read, SetupValue lines, SetupValue line)
{
    int lineCount = read(lines, 0).ToInt();
    if (lineCount > mostPageLines) lineCount = mostPageLines;
    lumora::String text;
    for (int number = 1; number <= lineCount; number++) {
        if (number > 1) text.Append("\n");
        text.Append(read(line, number));
    }
    return text;
}

#endif
