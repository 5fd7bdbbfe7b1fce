#include "lumora/file_path.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <cwchar>
#include <string>

namespace lumora {

#ifdef _WIN32

namespace {

const int plainPathLimit = MAX_PATH - 12;
const wchar_t longPrefix[] = L"\\\\?\\";
const wchar_t longNetworkPrefix[] = L"\\\\?\\UNC\\";

bool StartsWith(const std::wstring &text, const wchar_t *start)
{
    return text.compare(0, std::wcslen(start), start) == 0;
}

} // namespace

String FileSystemPath(const String &path)
{
    std::wstring text = static_cast<const wchar_t *>(path);
    if (static_cast<int>(text.size()) < plainPathLimit || StartsWith(text, longPrefix)) return path;
    DWORD size = GetFullPathNameW(text.c_str(), 0, nullptr, nullptr);
    if (size == 0) return path;
    std::wstring full(size, L'\0');
    DWORD length = GetFullPathNameW(text.c_str(), size, &full[0], nullptr);
    if (length == 0 || length >= size) return path;
    full.resize(length);
    // "\\.\" names a device, which no long form reaches.
    if (StartsWith(full, L"\\\\.\\")) return path;
    std::wstring result = StartsWith(full, L"\\\\") ? longNetworkPrefix + full.substr(2) : longPrefix + full;
    return String(result.c_str());
}

#else

String FileSystemPath(const String &path)
{
    std::wstring text = static_cast<const wchar_t *>(path);
    for (wchar_t &c : text)
        if (c == L'\\') c = L'/';
    return String(text.c_str());
}

#endif

} // namespace lumora
