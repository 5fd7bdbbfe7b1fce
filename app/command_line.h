// The switches a deployment tool gives Setup (and the programs that share its switches), read
// from wide text into plain values. Only the standard library is used, so the reader builds and
// is fuzzed on any system; nothing here touches a file or a window.
//
// A switch starts with "/" or "-", its name is compared without regard to letter case, and a
// value follows "=". Arguments are separated by spaces or tabs; double quotes group what lies
// between them and are dropped, so /DIR="C:\Program Files\App" and "/DIR=C:\Program Files\App"
// are the same. A backslash is an ordinary character (paths are full of them), and no file name
// may hold a double quote, so none is ever needed inside a value.
#ifndef SETUP_APP_COMMAND_LINE_H
#define SETUP_APP_COMMAND_LINE_H

#include <string>
#include <vector>

// ---------------------------------------------------------------------------------------------
// Switches in general

enum class SwitchValue { none, required, optional };

struct SwitchRule {
    const wchar_t *name; // upper case, without "/": L"DIR", L"?"
    SwitchValue value;
};

struct Switch {
    std::wstring name; // the rule's name
    bool hasValue = false;
    std::wstring value;
};

struct SwitchList {
    std::vector<Switch> switches; // in command-line order, repeats included
    std::wstring error;           // not empty: the first argument that is no known switch, and why
};

// The part of a whole command line (GetCommandLineW) behind the program's name, which Windows
// ends at the first space or tab unless it is quoted.
std::wstring ArgumentsAfterProgramName(const std::wstring &commandLine);

// Arguments as described above.
std::vector<std::wstring> SplitArguments(const std::wstring &arguments);

// Every switch of the arguments by the rules; reading stops at the first argument that breaks
// them, and the switches before it are kept.
SwitchList ReadSwitches(const std::wstring &arguments, const std::vector<SwitchRule> &rules);

// An argument quoted in an error message, cut to a readable length.
std::wstring Quoted(const std::wstring &text);

// ---------------------------------------------------------------------------------------------
// Setup's switches

struct SetupSwitches {
    bool given = false; // any argument at all: the deployment exit codes apply
    bool silent = false;
    bool verySilent = false;
    bool suppressMessageBoxes = false;
    bool noIcons = false;
    bool noRestart = false;
    bool help = false;
    bool log = false;     // also when another switch is wrong, so the log can say which
    std::wstring logFile; // empty with log: a new file in the temporary folder
    bool hasDestination = false;
    std::wstring destination; // absolute, "\" between levels, no separator at its end but a root's
    bool hasComponents = false;
    std::vector<std::wstring> components; // as written, without the spaces around each and empty items
    std::wstring error;                   // not empty: Setup cannot start, and this says why

    bool Unattended() const { return silent || verySilent; }
    // Message boxes that only inform (why Setup cannot start) are left out; the log and the exit
    // code say it instead.
    bool QuietNotices() const { return verySilent || suppressMessageBoxes; }
};

// The arguments behind the program's name. Later repeats of a switch replace earlier ones.
SetupSwitches ReadSetupSwitches(const std::wstring &arguments);

// What is wrong with a destination given on the command line, or nothing; when nothing,
// `normalised` receives it with "\" between levels and no separator at its end but a root's.
// It must be absolute (a drive, or a \\server\share path) and every level a name Windows allows.
std::wstring DestinationFault(const std::wstring &path, std::wstring &normalised);

// The components of a /COMPONENTS list: items are component numbers (1 to names.size()) or
// names as the package gives them (names[0] is component 1's), compared regardless of letter
// case. A number is taken as a number even where some component is named by digits.
struct ComponentList {
    std::vector<bool> chosen; // chosen[i] for component i; chosen[0] is unused
    std::wstring error;       // not empty: an item names no component
};
ComponentList ResolveComponents(const std::vector<std::wstring> &items,
                                const std::vector<std::wstring> &names);

// The text the /? box shows: every switch and every exit code.
std::wstring SetupHelpText();

#endif
