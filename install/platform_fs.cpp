#include "install/platform_fs.h"

#include "install/entry_name.h"
#include "install/phase_times.h"

#include "lumora/file_path.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdio>
#include <sys/stat.h>
#endif

namespace {

#ifdef _WIN32
std::wstring SystemPath(const lumora::String &path)
{
    return static_cast<const wchar_t *>(lumora::FileSystemPath(path));
}
#else
std::string SystemPath(const lumora::String &path)
{
    return static_cast<const char *>(lumora::FileSystemPath(path));
}
#endif

// The path up to and including its last separator, each separator written "\\".
std::wstring FolderOf(const lumora::String &path)
{
    std::wstring folder = static_cast<const wchar_t *>(path);
    size_t end = folder.find_last_of(L"\\/");
    folder.resize(end == std::wstring::npos ? 0 : end + 1);
    for (wchar_t &character : folder)
        if (IsPathSeparator(character)) character = L'\\';
    return folder;
}

// Makes the level ending before each separator of `folder` from `first` on; the characters
// before `known` name a folder that exists.
void MakeLevels(const std::wstring &folder, size_t first,
                const std::function<bool(const lumora::String &)> &make)
{
    for (size_t i = first; i < folder.size(); i++)
        if (folder[i] == L'\\' && i > 0) make(lumora::String(folder.c_str(), static_cast<int>(i)));
}

} // namespace

void MakeDirectoryLevels(const lumora::String &path, int known)
{
    MakeLevels(FolderOf(path), static_cast<size_t>(known), MakeDirectory);
}

FolderLevels::FolderLevels(std::function<bool(const lumora::String &)> makeLevel)
    : makeLevel(std::move(makeLevel))
{
}

void FolderLevels::MakeFor(const lumora::String &path, int known)
{
    std::wstring folder = FolderOf(path);
    // A level that ends before a separator inside the part both folders share exists already.
    size_t same = 0;
    while (same < folder.size() && same < lastFolder.size() && folder[same] == lastFolder[same]) same++;
    MakeLevels(folder, std::max(same, static_cast<size_t>(known)), makeLevel);
    lastFolder = folder;
}

void FolderLevels::Forget()
{
    lastFolder.clear();
}

#ifdef _WIN32

bool MakeDirectory(const lumora::String &path)
{
    PhaseTimes::Count(Tally::folderCalls);
    return CreateDirectoryW(SystemPath(path).c_str(), nullptr) != 0;
}

bool RemoveFile(const lumora::String &path)
{
    return DeleteFileW(SystemPath(path).c_str()) != 0;
}

bool IsDirectory(const lumora::String &path)
{
    DWORD attributes = GetFileAttributesW(SystemPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

lumora::String TemporaryFolder()
{
    wchar_t folder[MAX_PATH + 1];
    DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH) return lumora::String(".\\");
    std::wstring text(folder, length);
    if (text.back() != L'\\' && text.back() != L'/') text += L'\\';
    return lumora::String(text.c_str());
}

#else

bool MakeDirectory(const lumora::String &path)
{
    PhaseTimes::Count(Tally::folderCalls);
    return mkdir(SystemPath(path).c_str(), 0777) == 0;
}

bool RemoveFile(const lumora::String &path)
{
    return std::remove(SystemPath(path).c_str()) == 0;
}

bool IsDirectory(const lumora::String &path)
{
    struct stat info;
    return stat(SystemPath(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

lumora::String TemporaryFolder()
{
    const char *variable = std::getenv("TMPDIR");
    std::string text = variable != nullptr && variable[0] != '\0' ? variable : "/tmp";
    if (text.back() != '/') text += '/';
    return lumora::String(text.c_str());
}

#endif
