#include "launcher/failure_report.h"

#include "launcher/command_line.h"

namespace {

const DWORD failureExitCode = 1;
const int mostLogNumbers = 999;

// "2026-12-10" of the time, or with its clock as setup.exe's log has it, "2026-12-10 14:05:09.250".
template <size_t Capacity> void AppendTime(FixedText<Capacity> &text, const SYSTEMTIME &time, bool clock)
{
    text.AppendNumber(time.wYear, 4), text.Append(L"-"), text.AppendNumber(time.wMonth, 2);
    text.Append(L"-"), text.AppendNumber(time.wDay, 2);
    if (!clock) return;
    text.Append(L" "), text.AppendNumber(time.wHour, 2), text.Append(L":"),
        text.AppendNumber(time.wMinute, 2);
    text.Append(L":"), text.AppendNumber(time.wSecond, 2), text.Append(L"."),
        text.AppendNumber(time.wMilliseconds, 3);
}

// Loaded only to show a failure: under Wine a program that imports the window library takes
// longer to start and end, and the launcher needs it for nothing else.
void ShowMessage(const wchar_t *message)
{
    using MessageBoxFunction = int(WINAPI *)(HWND, const wchar_t *, const wchar_t *, UINT);
    HMODULE library = LoadLibraryW(L"user32.dll");
    auto show = library == nullptr ? nullptr
                                   : reinterpret_cast<MessageBoxFunction>(reinterpret_cast<void (*)()>(
                                         GetProcAddress(library, "MessageBoxW")));
    if (show != nullptr) show(nullptr, message, L"Setup", MB_OK | MB_ICONERROR);
}

class LogLines {
public:
    explicit LogLines(HANDLE file) : file(file) {}
    // One line, its time first, in UTF-8 with CR LF; line breaks of the text become blanks.
    void Write(const wchar_t *first, const wchar_t *second = L"")
    {
        SYSTEMTIME now;
        GetLocalTime(&now);
        FixedText<4096> line;
        AppendTime(line, now, true);
        line.Append(L" ");
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
HANDLE NewTemporaryLog(LogPath &path)
{
    wchar_t folder[MAX_PATH + 1];
    DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH) return INVALID_HANDLE_VALUE;
    SYSTEMTIME now;
    GetLocalTime(&now);
    for (int number = 1; number <= mostLogNumbers; ++number) {
        path.Cut(0);
        path.Append(folder, length);
        path.Append(L"Setup Log ");
        AppendTime(path, now, false);
        path.Append(L" #");
        path.AppendNumber(static_cast<unsigned long>(number), 3);
        path.Append(L".txt");
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
        message.Append(L"\n\n(system error ");
        message.AppendNumber(error);
        message.Append(L")");
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
    if (!quiet) ShowMessage(message);
    return failureExitCode;
}

void FailureReport::WriteLog(const wchar_t *message) const
{
    LogPath path = logFile;
    HANDLE file = logFile.length == 0 ? NewTemporaryLog(path)
                                      : CreateFileW(logFile.text, GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    LogLines lines(file);
    // The lines setup.exe's own log begins and ends with, for the reader who knows those.
    lines.Write(sizeof(void *) == 8 ? L"Setup launcher " SETUP_VERSION_TEXT L" (win64), log "
                                    : L"Setup launcher " SETUP_VERSION_TEXT L" (win32), log ",
                path.text);
    lines.Write(L"Command line: ", GetCommandLineW());
    lines.Write(L"Setup cannot start: ", message);
    FixedText<32> exitCode;
    exitCode.Append(L"Exit code: ");
    exitCode.AppendNumber(failureExitCode);
    lines.Write(exitCode.text);
    CloseHandle(file);
}
