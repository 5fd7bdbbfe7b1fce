#include "install/platform_fs.h"

#include "install/entry_name.h"
#include "install/phase_times.h"

#include "lumora/file_path.h"

#include <cstdlib>
#include <string>

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

} // namespace

void MakeDirectoryLevels(const lumora::String &path, int known)
{
    lumora::String level(static_cast<const wchar_t *>(path), known);
    for (int i = known; i < path.Length(); i++) {
        if (IsPathSeparator(path[i]) && level.Length() > 0) MakeDirectory(level);
        wchar_t character[] = {IsPathSeparator(path[i]) ? L'\\' : path[i], L'\0'};
        level.Append(lumora::String(character));
    }
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
