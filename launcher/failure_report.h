// How the launcher tells of a failure of its own, before setup.exe has run: a message box, or,
// when the command line asks for none (/VERYSILENT, /SUPPRESSMSGBOXES), only the exit code;
// and with /LOG or /LOG=FILE a log, where setup.exe would have written its own.
#ifndef SETUP_LAUNCHER_FAILURE_REPORT_H
#define SETUP_LAUNCHER_FAILURE_REPORT_H

#include "launcher/fixed_text.h"

#include <windows.h>

using MessageText = FixedText<2048>;
using LogPath = FixedText<MAX_PATH * 4>;

// The failure's words followed by the system's own for error.
void AppendSystemMessage(MessageText &message, DWORD error);

class FailureReport {
public:
    // arguments: the command line after the program name; scratch holds one argument's text.
    void ReadSwitches(const wchar_t *arguments, wchar_t *scratch, size_t scratchUnits);
    // Tells of the failure; the launcher's exit code for it, 1.
    DWORD Fail(const wchar_t *message) const;

private:
    void WriteLog(const wchar_t *message) const;

    bool quiet = false;
    bool log = false;
    LogPath logFile; // empty: a new log in the temporary folder
};

#endif
