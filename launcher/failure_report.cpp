#include "launcher/failure_report.h"

#include "launcher/command_line.h"

namespace {

const DWORD failureExitCode = 1;
const int mostLogNumbers = 999;

class LogLines {
public:
    explicit LogLines(HANDLE file) : file(file) {}
    // One line, its time first, in UTF-8 with CR LF; line breaks of the text become blanks.
    void Write(const wchar_t *first, const wchar_t *second = L"")
    {
        SYSTEMTIME now;
        GetLocalTime(&now);
        FixedText<4096> line;
        wchar_t time[32];
        wsprintfW(time, L"%04u-%02u-%02u %02u:%02u:%02u  ", now.wYear, now.wMonth, now.wDay, now.wHour,
                  now.wMinute, now.wSecond);
        line.Append(time);
        line.Append(first);
        line.Append(second);
        for (size_t k = 0; k < line.length; ++k)
            if (line.text[k] == L'\r' || line.text[k] == L'\n') line.text[k] = L' ';
        line.Append(L"\r\n");
        char bytes[3 * 4096];
        int count = WideCharToMultiByte(CP_UTF8, 0, line.text, static_cast<int>(line.length), bytes,
                                        sizeof bytes, nullptr, nullptr);
        DWORD written = 0;
        if (count > 0) WriteFile(file, bytes, static_cast<DWORD>(count), &written, nullptr);
    }

private:
    HANDLE file;
};

// A new log in the temporary folder, named as setup.exe names its own, never over another.
HANDLE NewTemporaryLog()
{
    wchar_t folder[MAX_PATH + 1];
    DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH) return INVALID_HANDLE_VALUE;
    SYSTEMTIME now;
    GetLocalTime(&now);
    for (int number = 1; number <= mostLogNumbers; ++number) {
        wchar_t name[64];
        wsprintfW(name, L"Setup Log %04u-%02u-%02u #%03d.txt", now.wYear, now.wMonth, now.wDay, number);
        FixedText<MAX_PATH + 64> path;
        path.Append(folder, length);
        path.Append(name);
        HANDLE file = CreateFileW(path.text, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    return INVALID_HANDLE_VALUE;
}

} // namespace

void AppendSystemMessage(MessageText &message, DWORD error)
{
    wchar_t words[512];
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                                  0, words, sizeof words / sizeof words[0], nullptr);
    while (length > 0 &&
           (words[length - 1] == L'\r' || words[length - 1] == L'\n' || words[length - 1] == L' '))
        --length;
    if (length > 0) {
        message.Append(L"\n\n");
        message.Append(words, length);
    } else {
        wchar_t code[32];
        wsprintfW(code, L"\n\n(system error %lu)", error);
        message.Append(code);
    }
}

void FailureReport::ReadSwitches(const wchar_t *arguments, wchar_t *scratch, size_t scratchUnits)
{
    ArgumentSpan argument;
    for (const wchar_t *cursor = arguments; NextArgument(cursor, argument);) {
        const wchar_t *value = nullptr;
        if (ArgumentText(argument, scratch, scratchUnits) >= scratchUnits) continue;
        switch (ReadSwitch(scratch, value)) {
        case LauncherSwitch::verySilent:
        case LauncherSwitch::suppressMessageBoxes:
            quiet = true;
            break;
        case LauncherSwitch::log:
            log = true;
            logFile.Cut(0);
            break;
        case LauncherSwitch::logFile:
            logFile.Cut(0);
            // A name too long to keep is no log rather than another file's.
            log = logFile.Append(value) && logFile.length > 0;
            break;
        case LauncherSwitch::other:
            break;
        }
    }
}

DWORD FailureReport::Fail(const wchar_t *message) const
{
    if (log) WriteLog(message);
    if (!quiet) MessageBoxW(nullptr, message, L"Setup", MB_OK | MB_ICONERROR);
    return failureExitCode;
}

void FailureReport::WriteLog(const wchar_t *message) const
{
    HANDLE file = logFile.length == 0 ? NewTemporaryLog()
                                      : CreateFileW(logFile.text, GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    LogLines lines(file);
    lines.Write(L"Setup launcher " SETUP_VERSION_TEXT, sizeof(void *) == 8 ? L" (win64)" : L" (win32)");
    lines.Write(L"Command line: ", GetCommandLineW());
    lines.Write(message);
    wchar_t exitCode[32];
    wsprintfW(exitCode, L"Exit code: %lu", failureExitCode);
    lines.Write(exitCode);
    CloseHandle(file);
}
