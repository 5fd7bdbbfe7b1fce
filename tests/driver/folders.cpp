// Throw-away folders and package folders for test runs.
#include "tests/driver/ui_driver.h"

#include <algorithm>

namespace uidriver {

namespace {

// Makes every missing folder of `path` (a folder), one level at a time.
bool MakeFolders(const std::wstring &path)
{
    if (path.empty()) return true;
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    size_t slash = path.find_last_of(L"\\/");
    if (slash != std::wstring::npos && slash > 2 && !MakeFolders(path.substr(0, slash))) return false;
    return CreateDirectoryW(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

std::wstring FolderOf(const std::wstring &path)
{
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

void CollectFiles(const std::wstring &root, const std::wstring &relative, std::vector<std::wstring> &files)
{
    WIN32_FIND_DATAW found;
    std::wstring folder = relative.empty() ? root : root + L"\\" + relative;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        std::wstring path = relative.empty() ? name : relative + L"\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            CollectFiles(root, path, files);
        else
            files.push_back(path);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

} // namespace

std::wstring ProgramFolder()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

TempFolder::TempFolder(const std::wstring &prefix) : folder(prefix), dir(folder.Path().wstring())
{
    if (!folder.Ready()) error = L"cannot make the folder " + dir;
}

std::wstring TempFolder::PathOf(const std::wstring &name) const
{
    return name.empty() ? dir : dir + L"\\" + name;
}

bool TempFolder::WriteFile(const std::wstring &name, const std::string &bytes) const
{
    std::wstring path = PathOf(name);
    if (!MakeFolders(FolderOf(path))) return false;
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = bytes.empty() ||
              (::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
               written == bytes.size());
    return CloseHandle(file) && ok;
}

bool TempFolder::CopyIn(const std::wstring &sourcePath, const std::wstring &name) const
{
    std::wstring path = PathOf(name);
    return MakeFolders(FolderOf(path)) && CopyFileW(sourcePath.c_str(), path.c_str(), FALSE);
}

bool TempFolder::MakeDir(const std::wstring &name) const
{
    return MakeFolders(PathOf(name));
}

bool TempFolder::Remove(const std::wstring &name) const
{
    return RemoveTree(PathOf(name));
}

bool TempFolder::FileExists(const std::wstring &name) const
{
    DWORD attributes = GetFileAttributesW(PathOf(name).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool TempFolder::DirExists(const std::wstring &name) const
{
    DWORD attributes = GetFileAttributesW(PathOf(name).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::string> TempFolder::ReadFile(const std::wstring &name) const
{
    HANDLE file = CreateFileW(PathOf(name).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ::ReadFile(file, buffer, sizeof buffer, &got, nullptr) != 0) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    if (!ok) return std::nullopt;
    return bytes;
}

std::optional<uint64_t> TempFolder::FileSize(const std::wstring &name) const
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(PathOf(name).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::vector<std::wstring> TempFolder::Files() const
{
    std::vector<std::wstring> files;
    CollectFiles(dir, L"", files);
    std::sort(files.begin(), files.end());
    return files;
}

Package::Package(const std::wstring &program, const std::wstring &library, const std::wstring &from)
    : TempFolder(L"setup-test"), program(program)
{
    if (!Ready()) return;
    for (const std::wstring &name : {program, library}) {
        if (!CopyIn(from + name, name)) {
            error = L"cannot copy " + from + name + L" into " + dir + L" (is it built?)";
            return;
        }
    }
}

StartOptions Package::ProgramOptions(const std::wstring &workingDirectory) const
{
    StartOptions options;
    options.program = ProgramPath();
    options.workingDirectory = workingDirectory.empty() ? dir : workingDirectory;
    return options;
}

Process Package::StartProgram(const std::wstring &workingDirectory) const
{
    return Process(ProgramOptions(workingDirectory));
}

} // namespace uidriver
