// Removes a test's folder with everything in it, read-only files too, also below paths longer
// than the runtime library's directory functions reach on Windows (260 characters).
#ifndef SETUP_TESTS_COMMON_REMOVE_TREE_H
#define SETUP_TESTS_COMMON_REMOVE_TREE_H

#include <filesystem>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace testsupport {

#ifdef _WIN32

// path is in the "\\?\" form, so every call takes it whatever its length. True when it is gone.
inline bool RemoveLongTree(const std::wstring &path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return true;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return DeleteFileW(path.c_str()) != 0;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name != L"." && name != L"..") RemoveLongTree(path + L"\\" + name);
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    return RemoveDirectoryW(path.c_str()) != 0;
}

// True when nothing is left at path.
inline bool RemoveTree(const std::filesystem::path &path)
{
    std::error_code ignored;
    std::wstring full = std::filesystem::absolute(path, ignored).make_preferred().wstring();
    return !full.empty() && RemoveLongTree(L"\\\\?\\" + full);
}

#else

// True when nothing is left at path.
inline bool RemoveTree(const std::filesystem::path &path)
{
    std::error_code failed;
    std::filesystem::remove_all(path, failed);
    return !failed && !std::filesystem::exists(std::filesystem::symlink_status(path, failed));
}

#endif

} // namespace testsupport

#endif
