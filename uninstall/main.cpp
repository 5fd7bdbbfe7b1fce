// The uninstaller: a program of its own, beside the installed files, that removes what the
// removal record names. It uses Windows' own DLLs only, so it works after the package folder
// is gone and whether or not lumora.dll was installed.
#include "app/command_line.h"
#include "install/setup_log.h"
#include "package/exit_codes.h"
#include "removal/record_file.h"
#include "removal/removal_record.h"
#include "removal/uninstall_entry.h"
#include "uninstall/removal.h"
#include "uninstall/uninstall_log_file.h"
#include "uninstall/uninstall_switches.h"

#include <windows.h>

#include <shlobj.h>

#include <memory>

namespace {

const wchar_t title[] = L"Uninstall";
// How long the copy that removes the uninstaller waits for it to end, and then for its file
// to be free.
const DWORD cleanupWait = 60000;
const int deleteTries = 50;
const DWORD deleteRetryPause = 100;

std::wstring ModulePath()
{
    std::wstring path(32768, L'\0');
    DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    path.resize(length);
    return path;
}

std::wstring FolderOf(const std::wstring &path)
{
    size_t slash = path.rfind(L'\\');
    std::wstring folder = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
    return folder.size() == 2 && folder[1] == L':' ? folder + L"\\" : folder;
}

std::wstring ShellFolder(int which)
{
    wchar_t path[MAX_PATH];
    return SUCCEEDED(SHGetFolderPathW(nullptr, which, nullptr, 0, path)) ? std::wstring(path)
                                                                         : std::wstring();
}

std::wstring Listed(const std::wstring &heading, const std::vector<std::wstring> &paths)
{
    if (paths.empty()) return std::wstring();
    std::wstring text = L"\n\n" + heading;
    const size_t shown = 10;
    for (size_t k = 0; k < paths.size() && k < shown; ++k) text += L"\n" + paths[k];
    if (paths.size() > shown) text += L"\n(and " + std::to_wstring(paths.size() - shown) + L" more)";
    return text;
}

// Whether the folder holds anything but the uninstaller.
bool HoldsOtherFiles(const std::wstring &folder)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + (folder.back() == L'\\' ? L"*" : L"\\*")).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    bool other = false;
    do {
        std::wstring name = found.cFileName;
        if (name != L"." && name != L".." && !SamePathIgnoringCase(name, uninstallerName)) other = true;
    } while (!other && FindNextFileW(search, &found));
    FindClose(search);
    return other;
}

// A running program cannot remove its own file, so a copy of it in the temporary folder waits
// for this process to end and then removes the uninstaller and, if the installation made it
// and it is empty, the destination.
void StartCleanup(const std::wstring &program, const std::wstring &folder, bool folderMade)
{
    wchar_t temporary[MAX_PATH + 1];
    if (GetTempPathW(MAX_PATH + 1, temporary) == 0) return;
    const std::wstring copy =
        std::wstring(temporary) + L"uninstall-" + std::to_wstring(GetCurrentProcessId()) + L".exe";
    if (!CopyFileW(program.c_str(), copy.c_str(), FALSE)) return;
    std::wstring commandLine = L"\"" + copy + L"\" \"/CLEANUP=" + folder + L"\" /WAITFOR=" +
                               std::to_wstring(GetCurrentProcessId()) + (folderMade ? L" /FOLDERMADE" : L"");
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (CreateProcessW(copy.c_str(), &commandLine[0], nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr,
                       temporary, &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    } else {
        DeleteFileW(copy.c_str());
    }
}

int RunCleanup(const UninstallSwitches &switches)
{
    HANDLE parent = OpenProcess(SYNCHRONIZE, FALSE, switches.waitForProcess);
    if (parent != nullptr) {
        WaitForSingleObject(parent, cleanupWait);
        CloseHandle(parent);
    }
    const std::wstring &folder = switches.cleanupFolder;
    const std::wstring separator = !folder.empty() && folder.back() == L'\\' ? L"" : L"\\";
    // Only a finished removal has deleted its record; anything else is no uninstaller's folder.
    if (GetFileAttributesW((folder + separator + removalRecordName).c_str()) == INVALID_FILE_ATTRIBUTES) {
        const std::wstring uninstaller = folder + separator + uninstallerName;
        for (int k = 0; k < deleteTries && !DeleteFileW(uninstaller.c_str()) &&
                        GetFileAttributesW(uninstaller.c_str()) != INVALID_FILE_ATTRIBUTES;
             ++k)
            Sleep(deleteRetryPause);
        if (switches.folderMade) RemoveDirectoryW(folder.c_str());
    }
    MoveFileExW(ModulePath().c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    return exitCode::complete;
}

class Uninstaller {
public:
    explicit Uninstaller(const UninstallSwitches &switches) : switches(switches) {}

    int Run();

private:
    void Log(const std::wstring &line)
    {
        if (log) log->Line(line);
    }
    void Tell(const std::wstring &text, UINT icon)
    {
        if (!switches.QuietNotices()) MessageBoxW(nullptr, text.c_str(), title, MB_OK | icon);
    }
    int Refuse(const std::wstring &why, int code)
    {
        Log(why);
        Tell(why, MB_ICONERROR);
        return code;
    }
    int Remove(const RemovalRecord &record, const std::wstring &program, const std::wstring &recordPath);

    const UninstallSwitches &switches;
    UninstallLogFile logFile;
    std::unique_ptr<SetupLog> log;
};

int Uninstaller::Run()
{
    if (switches.log) {
        std::wstring error;
        if (!logFile.Create(switches.logFile, error)) return Refuse(error, exitCode::couldNotStart);
        log.reset(new SetupLog(logFile));
    }
    Log(L"Uninstall started: " + std::wstring(GetCommandLineW()));
    if (!switches.error.empty())
        return Refuse(L"The uninstaller cannot start: " + switches.error, exitCode::couldNotStart);

    const std::wstring program = ModulePath();
    const std::wstring folder = FolderOf(program);
    const std::wstring recordPath = folder + (folder.back() == L'\\' ? L"" : L"\\") + removalRecordName;
    std::string bytes;
    switch (ReadRecordFile(recordPath, bytes)) {
    case RecordFileState::missing:
        Log(L"No removal record in " + folder + L": nothing to remove.");
        Tell(L"There is nothing to remove: " + folder + L" holds no record of an installation.",
             MB_ICONINFORMATION);
        return exitCode::complete;
    case RecordFileState::unreadable:
        return Refuse(L"The removal record " + recordPath + L" cannot be read.\n\nNothing was removed.",
                      exitCode::couldNotStart);
    case RecordFileState::read:
        break;
    }
    RemovalRecord record;
    std::wstring fault = ReadRemovalRecord(bytes, record);
    if (fault.empty())
        fault = RecordRootsFault(record, folder,
                                 {ShellFolder(CSIDL_PROGRAMS), ShellFolder(CSIDL_COMMON_PROGRAMS)});
    if (!fault.empty())
        return Refuse(L"The removal record " + recordPath + L" cannot be used (" + fault +
                          L").\n\nNothing was removed.",
                      exitCode::couldNotStart);

    if (!switches.Unattended() &&
        MessageBoxW(nullptr, (L"Remove " + record.displayName + L" and all of its components?").c_str(),
                    title, MB_YESNO | MB_ICONQUESTION) != IDYES) {
        Log(L"The user chose not to remove " + record.displayName + L".");
        return exitCode::cancelled;
    }
    return Remove(record, program, recordPath);
}

int Uninstaller::Remove(const RemovalRecord &record, const std::wstring &program,
                        const std::wstring &recordPath)
{
    Log(L"Removing " + record.displayName + L" from " + record.destination);
    RemovalOutcome outcome = RemoveRecordedItems(record, [this](const std::wstring &line) { Log(line); });
    // The record goes before the entry: a removal cut short between them leaves an entry whose
    // uninstaller says there is nothing left, never files no entry leads to.
    if (!DeleteFileW(recordPath.c_str())) {
        Log(L"Not removed: " + recordPath);
        outcome.notRemoved.push_back(recordPath);
    } else if (!DeleteUninstallEntry(record.key)) {
        Log(L"The entry in the list of installed programs cannot be removed: " + record.key);
        outcome.notRemoved.push_back(record.key);
    }
    bool folderMade = false;
    for (const RecordedFolder &made : record.folders)
        folderMade = folderMade || (made.root == RecordRoot::destination && made.path == L".");
    if (HoldsOtherFiles(record.destination)) {
        Log(L"Kept (it holds files that were not installed): " + record.destination);
        if (folderMade) outcome.foldersKept.push_back(record.destination);
    }
    if (outcome.notRemoved.empty() || !SamePathIgnoringCase(outcome.notRemoved.back(), recordPath))
        StartCleanup(program, record.destination, folderMade);

    int code = !outcome.notRemoved.empty()  ? exitCode::incomplete
               : !outcome.atRestart.empty() ? exitCode::restartNeeded
                                            : exitCode::complete;
    Log(L"Uninstall ended with exit code " + std::to_wstring(code) + L".");
    std::wstring text = code == exitCode::incomplete
                            ? record.displayName + L" could not be removed completely."
                            : record.displayName + L" was removed from your computer.";
    text += Listed(L"Kept, as they changed since they were installed:", outcome.changed);
    text += Listed(L"Kept, as they hold files that were not installed:", outcome.foldersKept);
    text += Listed(L"In use; removed when Windows restarts:", outcome.atRestart);
    text += Listed(L"Could not be removed:", outcome.notRemoved);
    Tell(text, code == exitCode::incomplete ? MB_ICONWARNING : MB_ICONINFORMATION);
    return code;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    UninstallSwitches switches = ReadUninstallSwitches(ArgumentsAfterProgramName(GetCommandLineW()));
    if (switches.cleanup) return RunCleanup(switches);
    return Uninstaller(switches).Run();
}
