#include "install/entry_name.h"

#include <string>

namespace {

// Windows opens the device, not a file, for these names with any extension.
bool IsDeviceName(const lumora::String &name, int start, int end)
{
    std::wstring stem;
    for (int k = start; k < end && name[k] != L'.' && name[k] != L' '; ++k) {
        wchar_t c = name[k];
        stem += c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
    }
    if (stem == L"CON" || stem == L"PRN" || stem == L"AUX" || stem == L"NUL") return true;
    bool numbered = stem.size() == 4 && stem[3] >= L'1' && stem[3] <= L'9';
    return numbered && (stem.compare(0, 3, L"COM") == 0 || stem.compare(0, 3, L"LPT") == 0);
}

} // namespace

const char *EntryNameFault(const lumora::String &name)
{
    int length = name.Length();
    if (length == 0) return "the entry has an empty name";
    if (IsPathSeparator(name[0]))
        return "the name starts with a separator and would leave the target directory";
    if (IsPathSeparator(name[length - 1])) return "the name ends with a separator and names no file";
    for (int k = 0; k < length; ++k) {
        if (name[k] == L':') return "the name holds a drive letter or a colon";
        if (name[k] < 32) return "the name holds a control character";
    }
    int start = 0;
    while (start < length) {
        int end = start;
        while (end < length && !IsPathSeparator(name[end])) ++end;
        bool onlyDotsAndSpaces = true;
        for (int k = start; k < end; ++k) {
            if (name[k] != L'.' && name[k] != L' ') onlyDotsAndSpaces = false;
        }
        bool current = end - start == 1 && name[start] == L'.';
        if (onlyDotsAndSpaces && !current && end > start)
            return "the name has a \"..\" level and would leave the target directory";
        if (IsDeviceName(name, start, end)) return "the name is a device name";
        start = end + 1;
    }
    return nullptr;
}
