#include "app/log_file.h"

#include "install/platform_fs.h"
#include "lumora/file_path.h"

namespace {

// As many logs of one day as anyone keeps; beyond them the folder is taken to be unusable.
const int mostLogsADay = 999;

HANDLE CreateLog(const std::wstring &path, DWORD disposition)
{
    // Others may read the log while the run writes it.
    return CreateFileW(static_cast<const wchar_t *>(lumora::FileSystemPath(path.c_str())), GENERIC_WRITE,
                       FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::wstring SystemMessage(DWORD code)
{
    wchar_t *text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, code, 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    std::wstring message = text ? text : L"";
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L'.'))
        message.pop_back();
    return message.empty() ? L"error " + std::to_wstring(code) : message;
}

} // namespace

LogFile::~LogFile()
{
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

bool LogFile::Create(const std::wstring &program, const std::wstring &requested, std::wstring &error)
{
    if (!requested.empty()) {
        path = requested;
        file = CreateLog(path, CREATE_ALWAYS);
        if (file == INVALID_HANDLE_VALUE)
            error = L"The log " + path + L" cannot be created: " + SystemMessage(GetLastError()) + L".";
        return file != INVALID_HANDLE_VALUE;
    }
    const lumora::String temporary = TemporaryFolder();
    const std::wstring folder(static_cast<const wchar_t *>(temporary),
                              static_cast<size_t>(temporary.Length()));
    const int64_t today = LocalMilliseconds();
    for (int number = 1; number <= mostLogsADay; ++number) {
        path = folder + LogFileName(program, today, number);
        file = CreateLog(path, CREATE_NEW);
        if (file != INVALID_HANDLE_VALUE) return true;
        DWORD why = GetLastError();
        if (why != ERROR_FILE_EXISTS && why != ERROR_ALREADY_EXISTS) {
            error = L"The log " + path + L" cannot be created: " + SystemMessage(why) + L".";
            return false;
        }
    }
    error = L"The log cannot be created: " + folder + L" holds " + std::to_wstring(mostLogsADay) +
            L" logs of today already.";
    return false;
}

bool LogFile::Write(const char *bytes, size_t count)
{
    while (count > 0) {
        DWORD done = 0;
        DWORD piece = count > (1u << 30) ? (1u << 30) : static_cast<DWORD>(count);
        if (!WriteFile(file, bytes, piece, &done, nullptr) || done == 0) return false;
        bytes += done;
        count -= done;
    }
    return true;
}
