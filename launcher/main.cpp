// The launcher at the head of a bundle: checks the payload its file carries, unpacks it into a
// folder of its own, runs setup.exe there with the launcher's own command line, waits, removes
// the folder and ends with setup.exe's exit code. It shows nothing unless it fails itself.
//
// It links no runtime library, only Windows' own DLLs, so it stays small and starts at once:
// the entry is LauncherMain, not a C runtime's, and nothing here needs constructing before it.
#include "launcher/command_line.h"
#include "launcher/failure_report.h"
#include "launcher/own_payload.h"
#include "launcher/unpack.h"

#include <windows.h>

namespace {

const DWORD readBufferSize = 1 << 20;
const DWORD mostCommandLineUnits = 32768; // CreateProcess takes no more

const wchar_t damagedDownload[] = L"The download is damaged; please download it again.";

using CommandLine = FixedText<mostCommandLineUnits>;

// setup.exe's command line: its own path, then the launcher's arguments as they stand, but for
// a log named relative to the working folder, which setup.exe, working in the launcher's
// folder, would write there to be removed with it; it gets the full path the user meant.
bool SetupCommandLine(const FolderPath &folder, const wchar_t *arguments, wchar_t *scratch, CommandLine &line)
{
    bool fits = line.Append(L"\"") && line.Append(folder.text) && line.Append(L"\\setup.exe\"");
    if (*arguments != L'\0' && *arguments != L' ' && *arguments != L'\t') fits = fits && line.Append(L" ");
    const wchar_t *copied = arguments;
    ArgumentSpan argument;
    for (const wchar_t *cursor = arguments; fits && NextArgument(cursor, argument);) {
        const wchar_t *value = nullptr;
        if (ArgumentText(argument, scratch, mostCommandLineUnits) >= mostCommandLineUnits ||
            ReadSwitch(scratch, value) != LauncherSwitch::logFile || *value == L'\0' || IsFullPath(value))
            continue;
        wchar_t *full = scratch + mostCommandLineUnits;
        DWORD length = GetFullPathNameW(value, mostCommandLineUnits, full, nullptr);
        if (length == 0 || length >= mostCommandLineUnits) continue;
        fits = line.Append(copied, static_cast<size_t>(argument.begin - copied)) &&
               line.Append(scratch, static_cast<size_t>(value - scratch)) && line.Append(L"\"") &&
               line.Append(full) && line.Append(L"\"");
        copied = argument.end;
    }
    return fits && line.Append(copied);
}

// Runs setup.exe in the folder and waits for it; its exit code, or the failure's.
DWORD RunSetup(const FolderPath &folder, const wchar_t *arguments, wchar_t *scratch,
               const FailureReport &report)
{
    CommandLine *line =
        static_cast<CommandLine *>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(CommandLine)));
    FolderPath program = folder;
    STARTUPINFOW own, startup = {};
    GetStartupInfoW(&own);
    startup.cb = sizeof startup;
    // setup.exe's window opens as the launcher's would have.
    startup.dwFlags = own.dwFlags & STARTF_USESHOWWINDOW;
    startup.wShowWindow = own.wShowWindow;
    PROCESS_INFORMATION started = {};
    bool fits = line != nullptr && program.Append(L"\\setup.exe") &&
                SetupCommandLine(folder, arguments, scratch, *line);
    BOOL run = fits && CreateProcessW(program.text, line->text, nullptr, nullptr, FALSE, 0, nullptr,
                                      folder.text, &startup, &started);
    DWORD error = fits ? GetLastError() : ERROR_FILENAME_EXCED_RANGE;
    if (line != nullptr) HeapFree(GetProcessHeap(), 0, line);
    if (!run) {
        MessageText message;
        message.Append(L"Setup cannot start ");
        message.Append(program.text);
        message.Append(L".");
        AppendSystemMessage(message, error);
        return report.Fail(message.text);
    }
    CloseHandle(started.hThread);
    DWORD exitCode = 1;
    WaitForSingleObject(started.hProcess, INFINITE);
    GetExitCodeProcess(started.hProcess, &exitCode);
    CloseHandle(started.hProcess);
    return exitCode;
}

DWORD Launch()
{
    const wchar_t *arguments = AfterProgramName(GetCommandLineW());
    // One argument's text, and a full path beside it.
    wchar_t *scratch =
        static_cast<wchar_t *>(HeapAlloc(GetProcessHeap(), 0, 2 * mostCommandLineUnits * sizeof(wchar_t)));
    uint8_t *buffer = static_cast<uint8_t *>(HeapAlloc(GetProcessHeap(), 0, readBufferSize));
    FailureReport report;
    if (scratch == nullptr || buffer == nullptr) return report.Fail(L"Setup has not enough memory to start.");
    report.ReadSwitches(arguments, scratch, mostCommandLineUnits);

    OwnPayload payload;
    if (payload.Open(buffer, readBufferSize) != BundleFault::none) return report.Fail(damagedDownload);
    FolderPath folder, failed;
    DWORD error = 0;
    if (!MakePrivateFolder(folder, error)) {
        MessageText message;
        message.Append(L"Setup cannot make a folder for its files in the temporary folder.");
        AppendSystemMessage(message, error);
        return report.Fail(message.text);
    }
    DWORD exitCode = 0;
    if (UnpackPayload(payload, folder, failed, error)) {
        exitCode = RunSetup(folder, arguments, scratch, report);
    } else {
        MessageText message;
        message.Append(L"Setup cannot unpack its files into ");
        message.Append(failed.text);
        message.Append(L".");
        AppendSystemMessage(message, error);
        exitCode = report.Fail(message.text);
    }
    RemoveFolder(folder);
    return exitCode;
}

} // namespace

extern "C" void LauncherMain()
{
    ExitProcess(Launch());
}
