#include "uninstall/uninstall_log_file.h"

namespace {

// Names beyond this many a day are taken to be a fault, not a full folder.
const int mostLogsADay = 1000;

HANDLE CreateLog(const std::wstring &path, DWORD disposition)
{
    return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

UninstallLogFile::~UninstallLogFile()
{
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

bool UninstallLogFile::Create(const std::wstring &requested, std::wstring &error)
{
    if (!requested.empty()) {
        file = CreateLog(requested, CREATE_ALWAYS);
        if (file == INVALID_HANDLE_VALUE) error = L"The log file " + requested + L" cannot be made.";
        return file != INVALID_HANDLE_VALUE;
    }
    wchar_t temporary[MAX_PATH + 1];
    if (GetTempPathW(MAX_PATH + 1, temporary) == 0) {
        error = L"The temporary folder for the log cannot be found.";
        return false;
    }
    const int64_t now = LocalMilliseconds();
    for (int number = 1; number <= mostLogsADay; ++number) {
        file = CreateLog(temporary + LogFileName(L"Uninstall", now, number), CREATE_NEW);
        if (file != INVALID_HANDLE_VALUE) return true;
        if (GetLastError() != ERROR_FILE_EXISTS) break;
    }
    error = std::wstring(L"No log file can be made in ") + temporary + L".";
    return false;
}

bool UninstallLogFile::Write(const char *bytes, size_t count)
{
    DWORD written = 0;
    return WriteFile(file, bytes, static_cast<DWORD>(count), &written, nullptr) && written == count;
}
