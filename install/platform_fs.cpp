#include "install/platform_fs.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>

#ifdef _WIN32
#include <direct.h>
#include <windows.h>
#endif

namespace {

std::string NativePath(const lumora::String &path)
{
    std::string text = static_cast<const char *>(path);
#ifndef _WIN32
    for (char &c : text) {
        if (c == '\\') c = '/';
    }
#endif
    return text;
}

} // namespace

bool MakeDirectory(const lumora::String &path)
{
#ifdef _WIN32
    return _mkdir(NativePath(path).c_str()) == 0;
#else
    return mkdir(NativePath(path).c_str(), 0777) == 0;
#endif
}

bool RemoveFile(const lumora::String &path)
{
    return std::remove(NativePath(path).c_str()) == 0;
}

bool IsDirectory(const lumora::String &path)
{
    struct stat info;
    return stat(NativePath(path).c_str(), &info) == 0 && (info.st_mode & S_IFMT) == S_IFDIR;
}

lumora::String TemporaryFolder()
{
#ifdef _WIN32
    char folder[MAX_PATH + 1];
    DWORD length = GetTempPathA(sizeof folder, folder);
    if (length == 0 || length > MAX_PATH) return lumora::String(".\\");
    std::string text(folder, length);
    if (text.back() != '\\' && text.back() != '/') text += '\\';
#else
    const char *variable = std::getenv("TMPDIR");
    std::string text = variable != nullptr && variable[0] != '\0' ? variable : "/tmp";
    if (text.back() != '/') text += '/';
#endif
    return lumora::String(text.c_str());
}
