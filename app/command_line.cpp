#include "app/command_line.h"

#include <cwchar>

namespace {

// An argument quoted in a message box stays readable; a 30,000-character one would not.
const size_t mostQuotedCharacters = 80;
// Windows takes no longer path, even in the "\\?\" form it is given in.
const size_t mostPathCharacters = 32000;
const size_t mostLevelCharacters = 255;

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

wchar_t UpperAscii(wchar_t c)
{
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

// Letters of the scripts a code page of Windows can hold, folded to one case; what has no
// simple pair stays as it is.
wchar_t FoldCase(wchar_t c)
{
    if (c >= L'A' && c <= L'Z') return static_cast<wchar_t>(c + 32);
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3AB && c != 0x3A2) ||
        (c >= 0x410 && c <= 0x42F))
        return static_cast<wchar_t>(c + 32);
    if (c >= 0x400 && c <= 0x40F) return static_cast<wchar_t>(c + 80);
    if (c == 0x178) return 0xFF; // Y with diaeresis, whose small letter lies in Latin-1
    // Latin Extended-A pairs upper and lower case at even and odd code points, but for the
    // stretch from 0x139 to 0x148 and from 0x179 to 0x17E, where the pairs start at odd ones.
    if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149 && c != 0x178 &&
        c != 0x17F) {
        bool oddFirst = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if ((c % 2 == 1) == oddFirst) return static_cast<wchar_t>(c + 1);
    }
    return c;
}

std::wstring Folded(const std::wstring &text)
{
    std::wstring folded = text;
    for (wchar_t &c : folded) c = FoldCase(c);
    return folded;
}

std::wstring Trimmed(const std::wstring &text)
{
    size_t first = 0, end = text.size();
    while (first < end && IsBlank(text[first])) ++first;
    while (end > first && IsBlank(text[end - 1])) --end;
    return text.substr(first, end - first);
}

bool IsAllDigits(const std::wstring &text)
{
    if (text.empty()) return false;
    for (wchar_t c : text)
        if (c < L'0' || c > L'9') return false;
    return true;
}

bool IsDeviceName(const std::wstring &level)
{
    std::wstring stem;
    for (wchar_t c : level) {
        if (c == L'.' || c == L' ') break;
        stem += UpperAscii(c);
    }
    if (stem == L"CON" || stem == L"PRN" || stem == L"AUX" || stem == L"NUL") return true;
    bool numbered = stem.size() == 4 && stem[3] >= L'1' && stem[3] <= L'9';
    return numbered && (stem.compare(0, 3, L"COM") == 0 || stem.compare(0, 3, L"LPT") == 0);
}

// Why one level of a path is not a name Windows allows, or nothing.
std::wstring LevelFault(const std::wstring &level)
{
    if (level.find_first_not_of(L'.') == std::wstring::npos) return L"a \".\" or \"..\" level";
    if (level.size() > mostLevelCharacters) return L"a name longer than 255 characters";
    for (wchar_t c : level)
        if (c < 32 || std::wcschr(L"<>:\"|?*", c) != nullptr) return L"a character no file name may hold";
    if (level.back() == L'.' || level.back() == L' ') return L"a name that ends in a dot or a space";
    if (IsDeviceName(level)) return L"a device name";
    return std::wstring();
}

std::wstring DestinationError(const std::wstring &path, const std::wstring &why)
{
    return L"/DIR=" + Quoted(path) + L" " + why + L".";
}

const std::vector<SwitchRule> &SetupRules()
{
    static const std::vector<SwitchRule> rules = {{L"SILENT", SwitchValue::none},
                                                  {L"VERYSILENT", SwitchValue::none},
                                                  {L"SUPPRESSMSGBOXES", SwitchValue::none},
                                                  {L"DIR", SwitchValue::required},
                                                  {L"COMPONENTS", SwitchValue::required},
                                                  {L"NOICONS", SwitchValue::none},
                                                  {L"NORESTART", SwitchValue::none},
                                                  {L"LOG", SwitchValue::optional},
                                                  {L"?", SwitchValue::none},
                                                  {L"HELP", SwitchValue::none}};
    return rules;
}

std::vector<std::wstring> SplitList(const std::wstring &list)
{
    std::vector<std::wstring> items;
    size_t start = 0;
    for (;;) {
        size_t end = list.find(L',', start);
        std::wstring item =
            Trimmed(list.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
        if (!item.empty()) items.push_back(item);
        if (end == std::wstring::npos) return items;
        start = end + 1;
    }
}

} // namespace

std::wstring ArgumentsAfterProgramName(const std::wstring &commandLine)
{
    size_t k = 0;
    if (!commandLine.empty() && commandLine[0] == L'"') {
        k = commandLine.find(L'"', 1);
        k = k == std::wstring::npos ? commandLine.size() : k + 1;
    }
    while (k < commandLine.size() && !IsBlank(commandLine[k])) ++k;
    while (k < commandLine.size() && IsBlank(commandLine[k])) ++k;
    return commandLine.substr(k);
}

std::vector<std::wstring> SplitArguments(const std::wstring &arguments)
{
    std::vector<std::wstring> result;
    std::wstring current;
    bool started = false, quoted = false;
    for (wchar_t c : arguments) {
        if (c == L'"') {
            quoted = !quoted;
            started = true;
        } else if (IsBlank(c) && !quoted) {
            if (started) result.push_back(current);
            current.clear();
            started = false;
        } else {
            current += c;
            started = true;
        }
    }
    if (started) result.push_back(current);
    return result;
}

std::wstring Quoted(const std::wstring &text)
{
    if (text.size() <= mostQuotedCharacters) return L"\"" + text + L"\"";
    return L"\"" + text.substr(0, mostQuotedCharacters) + L"...\" (" + std::to_wstring(text.size()) +
           L" characters)";
}

SwitchList ReadSwitches(const std::wstring &arguments, const std::vector<SwitchRule> &rules)
{
    SwitchList list;
    for (const std::wstring &argument : SplitArguments(arguments)) {
        if (argument.empty() || (argument[0] != L'/' && argument[0] != L'-')) {
            list.error = Quoted(argument) + L" is not a switch: switches start with / or -.";
            return list;
        }
        size_t equals = argument.find(L'=');
        Switch item;
        for (size_t k = 1; k < argument.size() && k < equals; ++k) item.name += UpperAscii(argument[k]);
        const SwitchRule *rule = nullptr;
        for (const SwitchRule &candidate : rules)
            if (item.name == candidate.name) rule = &candidate;
        if (rule == nullptr) {
            list.error = L"Unknown switch " + Quoted(argument) + L".";
            return list;
        }
        item.hasValue = equals != std::wstring::npos;
        if (item.hasValue) item.value = argument.substr(equals + 1);
        if (item.hasValue && rule->value == SwitchValue::none) {
            list.error =
                L"The switch /" + item.name + L" takes no value, but was given " + Quoted(argument) + L".";
            return list;
        }
        if (!item.hasValue && rule->value == SwitchValue::required) {
            list.error = L"The switch /" + item.name + L" needs a value: /" + item.name + L"=...";
            return list;
        }
        list.switches.push_back(item);
    }
    return list;
}

std::wstring DestinationFault(const std::wstring &path, std::wstring &normalised)
{
    std::wstring text = path;
    for (wchar_t &c : text)
        if (c == L'/') c = L'\\';
    std::wstring root;
    size_t rest = 0;
    if (text.size() >= 3 && UpperAscii(text[0]) >= L'A' && UpperAscii(text[0]) <= L'Z' && text[1] == L':' &&
        text[2] == L'\\') {
        root = std::wstring(1, UpperAscii(text[0])) + L":\\";
        rest = 3;
    } else if (text.compare(0, 2, L"\\\\") == 0) {
        size_t serverEnd = text.find(L'\\', 2);
        size_t shareEnd = serverEnd == std::wstring::npos ? serverEnd : text.find(L'\\', serverEnd + 1);
        std::wstring server =
            text.substr(2, serverEnd == std::wstring::npos ? std::wstring::npos : serverEnd - 2);
        std::wstring share =
            serverEnd == std::wstring::npos
                ? std::wstring()
                : text.substr(serverEnd + 1,
                              shareEnd == std::wstring::npos ? std::wstring::npos : shareEnd - serverEnd - 1);
        if (server == L"?" || server == L".")
            return DestinationError(path,
                                    L"uses a device path; give the folder as C:\\... or \\\\server\\share");
        if (server.empty() || share.empty())
            return DestinationError(path, L"names no share: a network folder is \\\\server\\share");
        for (const std::wstring &level : {server, share}) {
            std::wstring why = LevelFault(level);
            if (!why.empty()) return DestinationError(path, L"holds " + why);
        }
        root = L"\\\\" + server + L"\\" + share;
        rest = shareEnd == std::wstring::npos ? text.size() : shareEnd;
    } else {
        return DestinationError(path,
                                L"is not an absolute path: give a drive (C:\\...) or a \\\\server\\share "
                                L"path");
    }
    std::wstring result = root;
    for (size_t start = rest; start < text.size();) {
        size_t end = text.find(L'\\', start);
        if (end == std::wstring::npos) end = text.size();
        std::wstring level = text.substr(start, end - start);
        start = end + 1;
        if (level.empty()) continue; // doubled or closing separators
        std::wstring why = LevelFault(level);
        if (!why.empty()) return DestinationError(path, L"holds " + why);
        if (result.back() != L'\\') result += L'\\';
        result += level;
    }
    if (result.size() > mostPathCharacters) return DestinationError(path, L"is longer than Windows allows");
    normalised = result;
    return std::wstring();
}

SetupSwitches ReadSetupSwitches(const std::wstring &arguments)
{
    SetupSwitches result;
    SwitchList list = ReadSwitches(arguments, SetupRules());
    result.given = !SplitArguments(arguments).empty();
    for (const Switch &item : list.switches) {
        const std::wstring &name = item.name;
        if (name == L"SILENT") {
            result.silent = true;
        } else if (name == L"VERYSILENT") {
            result.verySilent = true;
        } else if (name == L"SUPPRESSMSGBOXES") {
            result.suppressMessageBoxes = true;
        } else if (name == L"NOICONS") {
            result.noIcons = true;
        } else if (name == L"NORESTART") {
            result.noRestart = true;
        } else if (name == L"?" || name == L"HELP") {
            result.help = true;
        } else if (name == L"LOG") {
            // A log named by nothing is no log, so the fault is not written into some other file.
            result.log = !item.hasValue || !item.value.empty();
            result.logFile = item.value;
            if (!result.log && result.error.empty())
                result.error = L"The switch /LOG= names no file: give /LOG alone or /LOG=FILE.";
        } else if (name == L"COMPONENTS") {
            result.hasComponents = true;
            result.components = SplitList(item.value);
        } else if (name == L"DIR") {
            result.hasDestination = true;
            result.destination.clear();
            std::wstring why = item.value.empty() ? L"The switch /DIR= names no folder."
                                                  : DestinationFault(item.value, result.destination);
            if (!why.empty() && result.error.empty()) result.error = why;
        }
    }
    // The switches kept lie before the argument that stopped the reading, so their faults come first.
    if (result.error.empty()) result.error = list.error;
    return result;
}

ComponentList ResolveComponents(const std::vector<std::wstring> &items,
                                const std::vector<std::wstring> &names)
{
    ComponentList list;
    list.chosen.assign(names.size() + 1, false);
    std::vector<std::wstring> foldedNames;
    for (const std::wstring &name : names) foldedNames.push_back(Folded(Trimmed(name)));
    for (const std::wstring &item : items) {
        if (IsAllDigits(item)) {
            size_t number = 0;
            for (wchar_t digit : item) {
                number = number * 10 + static_cast<size_t>(digit - L'0');
                if (number > names.size()) break;
            }
            if (number == 0 || number > names.size()) {
                list.error = L"/COMPONENTS: there is no component " + Quoted(item) + L"; the package has " +
                             std::to_wstring(names.size()) +
                             (names.size() == 1 ? L" component." : L" components.");
                return list;
            }
            list.chosen[number] = true;
            continue;
        }
        bool found = false;
        const std::wstring folded = Folded(item);
        for (size_t k = 0; k < foldedNames.size(); ++k) {
            if (foldedNames[k] != folded) continue;
            list.chosen[k + 1] = true;
            found = true;
        }
        if (!found) {
            list.error = L"/COMPONENTS: no component of this package is named " + Quoted(item) + L".";
            return list;
        }
    }
    return list;
}

std::wstring SetupHelpText()
{
    return L"Setup [/SILENT | /VERYSILENT] [/SUPPRESSMSGBOXES] [/DIR=FOLDER] [/COMPONENTS=LIST]\n"
           L"      [/NOICONS] [/NORESTART] [/LOG[=FILE]]\n\n"
           L"/SILENT\tInstalls without a question, showing only the progress.\n"
           L"/VERYSILENT\tInstalls without showing any window.\n"
           L"/SUPPRESSMSGBOXES\tAnswers every remaining question safely (No to a library of another "
           L"version).\n"
           L"/DIR=FOLDER\tInstalls into FOLDER, a full path such as \"C:\\Program Files\\App\".\n"
           L"/COMPONENTS=LIST\tInstalls the components listed by number or name, separated by commas, "
           L"besides the required ones.\n"
           L"/NOICONS\tMakes no Start menu shortcuts.\n"
           L"/NORESTART\tNever restarts Windows.\n"
           L"/LOG\tWrites a log into the temporary folder; /LOG=FILE writes it into FILE.\n"
           L"/? or /HELP\tShows this list.\n\n"
           L"A silent installation accepts the licence agreement.\n\n"
           L"Exit codes once a switch is given:\n"
           L"0\tinstalled completely\n"
           L"1\tSetup could not start\n"
           L"2\tcancelled before anything was installed\n"
           L"4\tinstalled incompletely\n"
           L"3010\tinstalled; Windows must be restarted to complete it";
}
