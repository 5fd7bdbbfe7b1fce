// The file a run's log goes into: /LOG=FILE replaces FILE; /LOG alone takes the first free name
// "PROGRAM Log YYYY-MM-DD #NNN.txt" in the user's temporary folder, made only if it does not
// exist yet, so two runs at once never share a log and no earlier log is overwritten.
#ifndef SETUP_APP_LOG_FILE_H
#define SETUP_APP_LOG_FILE_H

#include "app/setup_log.h"

#include <string>
#include <windows.h>

class LogFile : public LogSink {
public:
    LogFile() = default;
    ~LogFile() override;
    LogFile(const LogFile &) = delete;
    LogFile &operator=(const LogFile &) = delete;

    // requested: the FILE of /LOG=FILE, or empty for a new file in the temporary folder named
    // after program ("Setup"). False when no file can be made; error then says which and why.
    bool Create(const std::wstring &program, const std::wstring &requested, std::wstring &error);
    const std::wstring &Path() const { return path; }

    bool Write(const char *bytes, size_t count) override;

private:
    HANDLE file = INVALID_HANDLE_VALUE;
    std::wstring path;
};

#endif
