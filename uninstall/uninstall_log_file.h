// The uninstaller's log file. setup.exe's log file goes through the GUI library, which the
// uninstaller must do without, so this one is written with the system's calls alone.
#ifndef SETUP_UNINSTALL_UNINSTALL_LOG_FILE_H
#define SETUP_UNINSTALL_UNINSTALL_LOG_FILE_H

#include "install/setup_log.h"

#include <string>
#include <windows.h>

class UninstallLogFile : public LogSink {
public:
    UninstallLogFile() = default;
    ~UninstallLogFile() override;
    UninstallLogFile(const UninstallLogFile &) = delete;
    UninstallLogFile &operator=(const UninstallLogFile &) = delete;

    // requested: the FILE of /LOG=FILE, replaced; empty: the first free "Uninstall Log
    // YYYY-MM-DD #NNN.txt" in the temporary folder. False with error when none can be made.
    bool Create(const std::wstring &requested, std::wstring &error);

    bool Write(const char *bytes, size_t count) override;

private:
    HANDLE file = INVALID_HANDLE_VALUE;
};

#endif
