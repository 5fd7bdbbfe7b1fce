// What the launcher reads of its own command line, which it otherwise hands to setup.exe as it
// stands: where its program name ends, and the switches that decide how it reports its own
// failures. Arguments are split by setup.exe's own rules (app/command_line.h: blanks between
// them, double quotes group and are dropped, a backslash is an ordinary character), so a switch
// is found exactly where setup.exe will find it. Portable and allocation-free, as the launcher
// needs; setup.exe's reader wants the standard library, which the launcher does without.
#ifndef SETUP_LAUNCHER_COMMAND_LINE_H
#define SETUP_LAUNCHER_COMMAND_LINE_H

#include <cstddef>

// Everything after the program name, which ends at the first blank (after the closing quote when
// it starts with one), its leading blanks included.
const wchar_t *AfterProgramName(const wchar_t *commandLine);

// One argument as written on the command line, quotes included.
struct ArgumentSpan {
    const wchar_t *begin;
    const wchar_t *end;
};

// The next argument at or after cursor, which moves past it; false when only blanks are left.
bool NextArgument(const wchar_t *&cursor, ArgumentSpan &argument);

// The argument as setup.exe reads it, without its quotes, cut to capacity - 1 units and ended
// with a zero; its whole length.
size_t ArgumentText(const ArgumentSpan &argument, wchar_t *text, size_t capacity);

enum class LauncherSwitch {
    other,
    verySilent,           // /VERYSILENT
    suppressMessageBoxes, // /SUPPRESSMSGBOXES
    log,                  // /LOG: a log of its own in the temporary folder
    logFile,              // /LOG=FILE
};

// Which switch an argument's text is: "/" or "-", any letter case. For /LOG=FILE, value points
// at FILE within text.
LauncherSwitch ReadSwitch(const wchar_t *text, const wchar_t *&value);

// Whether a path names its drive or server and its folder from the root, so that it means the
// same file from any working folder.
bool IsFullPath(const wchar_t *path);

#endif
