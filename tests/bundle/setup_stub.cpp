// Stands in for setup.exe inside the launcher's test bundles: tells the test what the launcher
// gave it, then ends with whatever exit code the test asks for.
//
//   SETUP_STUB_REPORT  a folder to write into: command-line.txt (its whole command line) and
//                      working-folder.txt (UTF-16), and files\, a copy of its working folder
//   SETUP_STUB_EXIT    its exit code, a decimal number of up to 32 bits (default 0)
//   SETUP_STUB_WAIT    milliseconds to wait before ending, so that two runs overlap
#include <windows.h>

#include <cwchar>
#include <string>

namespace {

std::wstring Variable(const wchar_t *name)
{
    wchar_t value[1024] = {};
    DWORD length = GetEnvironmentVariableW(name, value, 1024);
    return length > 0 && length < 1024 ? value : L"";
}

void WriteText(const std::wstring &path, const std::wstring &text)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(file);
}

void CopyTree(const std::wstring &from, const std::wstring &to)
{
    CreateDirectoryW(to.c_str(), nullptr);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((from + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            CopyTree(from + L"\\" + name, to + L"\\" + name);
        else
            CopyFileW((from + L"\\" + name).c_str(), (to + L"\\" + name).c_str(), TRUE);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    std::wstring report = Variable(L"SETUP_STUB_REPORT");
    if (!report.empty()) {
        wchar_t folder[MAX_PATH * 2] = {};
        GetCurrentDirectoryW(MAX_PATH * 2, folder);
        CreateDirectoryW(report.c_str(), nullptr);
        WriteText(report + L"\\command-line.txt", GetCommandLineW());
        WriteText(report + L"\\working-folder.txt", folder);
        CopyTree(folder, report + L"\\files");
    }
    std::wstring wait = Variable(L"SETUP_STUB_WAIT");
    if (!wait.empty()) Sleep(wcstoul(wait.c_str(), nullptr, 10));
    return static_cast<int>(wcstoul(Variable(L"SETUP_STUB_EXIT").c_str(), nullptr, 10));
}
