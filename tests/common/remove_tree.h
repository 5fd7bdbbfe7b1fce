// Removes a test's scratch folder with everything in it, also below paths longer than the
// runtime library's directory functions reach on Windows (260 characters).
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

// path is in the "\\?\" form, so every call takes it whatever its length.
inline void RemoveLongTree(const std::wstring &path)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring child = path + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveLongTree(child);
            else
                DeleteFileW(child.c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(path.c_str());
}

inline void RemoveTree(const std::filesystem::path &folder)
{
    std::error_code ignored;
    std::wstring full = std::filesystem::absolute(folder, ignored).wstring();
    if (!full.empty()) RemoveLongTree(L"\\\\?\\" + full);
}

#else

inline void RemoveTree(const std::filesystem::path &folder)
{
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

#endif

} // namespace testsupport

#endif
