// The removal itself. The record has been read and its roots checked; every path below is a
// root and a relative path the reader accepted, so nothing here can lead out of the roots but
// a folder the user replaced by a link to elsewhere, which is refused as it is met.
#include "uninstall/removal.h"

#include "removal/file_digest.h"

#include <windows.h>

#include <algorithm>

namespace {

bool IsBelowOrSame(const std::wstring &path, const std::wstring &folder)
{
    if (folder.empty()) return false;
    if (SamePathIgnoringCase(path, folder)) return true;
    std::wstring prefix = folder.back() == L'\\' ? folder : folder + L"\\";
    return path.size() > prefix.size() && SamePathIgnoringCase(path.substr(0, prefix.size()), prefix);
}

// A level between the root and the item that is a link or junction would take the removal
// elsewhere.
bool PassesThroughLink(const RemovalRecord &record, RecordRoot root, const std::wstring &relative)
{
    size_t end = 0;
    while ((end = relative.find(L'\\', end)) != std::wstring::npos) {
        DWORD attributes = GetFileAttributesW(RecordedPath(record, root, relative.substr(0, end)).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return true;
        ++end;
    }
    return false;
}

size_t Depth(const std::wstring &path)
{
    return static_cast<size_t>(std::count(path.begin(), path.end(), L'\\'));
}

} // namespace

std::wstring RecordedPath(const RemovalRecord &record, RecordRoot root, const std::wstring &relative)
{
    const std::wstring &folder = root == RecordRoot::destination ? record.destination : record.menuFolder;
    if (relative == L".") return folder;
    return folder + (folder.back() == L'\\' ? L"" : L"\\") + relative;
}

std::wstring RecordRootsFault(const RemovalRecord &record, const std::wstring &uninstallerFolder,
                              const std::vector<std::wstring> &programsFolders)
{
    if (!SamePathIgnoringCase(record.destination, uninstallerFolder))
        return L"the record names the folder " + record.destination + L", but the uninstaller lies in " +
               uninstallerFolder;
    bool menuUsed = !record.menuFolder.empty();
    if (!menuUsed) {
        for (const RecordedFile &file : record.files) menuUsed = menuUsed || file.root == RecordRoot::menu;
        for (const RecordedFolder &folder : record.folders)
            menuUsed = menuUsed || folder.root == RecordRoot::menu;
        return menuUsed ? L"the record names Start menu items but no Start menu folder" : std::wstring();
    }
    for (const std::wstring &programs : programsFolders)
        if (IsBelowOrSame(record.menuFolder, programs)) return std::wstring();
    return L"the record's Start menu folder " + record.menuFolder + L" lies outside the Start menu";
}

RemovalOutcome RemoveRecordedItems(const RemovalRecord &record,
                                   const std::function<void(const std::wstring &)> &log)
{
    RemovalOutcome outcome;
    for (const RecordedFile &file : record.files) {
        const std::wstring path = RecordedPath(record, file.root, file.path);
        if (PassesThroughLink(record, file.root, file.path)) {
            log(L"Kept (it lies behind a link to another folder): " + path);
            outcome.notRemoved.push_back(path);
            continue;
        }
        DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) continue; // removed already, by a run cut short
        uint64_t size = 0;
        std::string digest;
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) || !FileDigest(path, size, digest)) {
            log(L"Not removed (it cannot be read, so it is not known to be the file installed): " + path);
            outcome.notRemoved.push_back(path);
            continue;
        }
        if (size != file.size || digest != file.digest) {
            log(L"Kept (changed since it was installed): " + path);
            outcome.changed.push_back(path);
            continue;
        }
        if (attributes & FILE_ATTRIBUTE_READONLY)
            SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
        if (DeleteFileW(path.c_str())) {
            log(L"Removed: " + path);
        } else if (MoveFileExW(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
            log(L"In use, removed when Windows restarts: " + path);
            outcome.atRestart.push_back(path);
        } else {
            log(L"Not removed (it is in use and cannot be left for the restart): " + path);
            outcome.notRemoved.push_back(path);
        }
    }
    std::vector<RecordedFolder> folders = record.folders;
    // The deepest first, so each folder is empty of the folders below it when its turn comes.
    std::stable_sort(folders.begin(), folders.end(), [](const RecordedFolder &a, const RecordedFolder &b) {
        return (a.path == L"." ? 0 : Depth(a.path) + 1) > (b.path == L"." ? 0 : Depth(b.path) + 1);
    });
    for (const RecordedFolder &folder : folders) {
        if (folder.root == RecordRoot::destination && folder.path == L".") continue;
        const std::wstring path = RecordedPath(record, folder.root, folder.path);
        if (PassesThroughLink(record, folder.root, folder.path)) continue;
        DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) continue;
        // A folder that is a link itself is removed as the link; what it points at stays.
        bool holdsFileInUse = false;
        for (const std::wstring &file : outcome.atRestart)
            holdsFileInUse = holdsFileInUse || IsBelowOrSame(file, path);
        if (RemoveDirectoryW(path.c_str())) {
            log(L"Removed: " + path);
        } else if (holdsFileInUse && MoveFileExW(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
            // Windows empties it first: the files in use were listed before it.
            log(L"Removed when Windows restarts, after the files in use in it: " + path);
        } else {
            log(L"Kept (it holds files that were not installed): " + path);
            outcome.foldersKept.push_back(path);
        }
    }
    return outcome;
}
