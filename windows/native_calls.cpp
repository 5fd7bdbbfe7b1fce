// One test of the character width per Windows call that only setup.exe makes.
#include "windows/native_calls.h"

#include "lumora/process.h"

using lumora::Setup;
using lumora::String;

namespace {

// A key list comes back as names each ended by a zero, the last by two.
template <class Char> std::vector<String> SplitTexts(const std::vector<Char> &list, DWORD length)
{
    std::vector<String> texts;
    for (DWORD start = 0; start < length;) {
        DWORD end = start;
        while (end < length && list[end] != 0) ++end;
        if (end > start) texts.push_back(String(&list[start]));
        start = end + 1;
    }
    return texts;
}

template <class Char>
ProfileText ReadProfileVia(DWORD(WINAPI *read)(const Char *, const Char *, const Char *, Char *, DWORD,
                                               const Char *),
                           const Char *section, const Char *key, const Char *defaultValue, DWORD capacity,
                           const Char *path)
{
    std::vector<Char> buffer(capacity, 0);
    ProfileText text;
    text.length = read(section, key, defaultValue, buffer.data(), capacity, path);
    text.texts = SplitTexts(buffer, text.length);
    return text;
}

LONG OpenRegistryKey(HKEY root, const String &subKey, HKEY *key)
{
    return Setup::enableUnicode ? RegOpenKeyW(root, static_cast<const wchar_t *>(subKey), key)
                                : RegOpenKeyA(root, static_cast<const char *>(subKey), key);
}

// The buffer is zeroed one character beyond the reported size, so a value stored without its
// terminating zero still ends.
template <class Char>
String QueryStringVia(LONG(WINAPI *query)(HKEY, const Char *, DWORD *, DWORD *, BYTE *, DWORD *), HKEY key,
                      const Char *valueName)
{
    DWORD type = 0;
    DWORD size = 0;
    if (query(key, valueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ)
        return String();
    std::vector<Char> buffer(size / sizeof(Char) + 1, 0);
    if (query(key, valueName, nullptr, &type, reinterpret_cast<BYTE *>(buffer.data()), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return String();
    return String(buffer.data());
}

String QueryValueString(HKEY key, const String &valueName)
{
    return Setup::enableUnicode
               ? QueryStringVia(RegQueryValueExW, key, static_cast<const wchar_t *>(valueName))
               : QueryStringVia(RegQueryValueExA, key, static_cast<const char *>(valueName));
}

} // namespace

ProfileText ReadProfileString(const String &section, const String *key, const String &defaultValue,
                              DWORD capacity, const String &path)
{
    if (Setup::enableUnicode)
        return ReadProfileVia(GetPrivateProfileStringW, static_cast<const wchar_t *>(section),
                              key ? static_cast<const wchar_t *>(*key) : nullptr,
                              static_cast<const wchar_t *>(defaultValue), capacity,
                              static_cast<const wchar_t *>(path));
    return ReadProfileVia(GetPrivateProfileStringA, static_cast<const char *>(section),
                          key ? static_cast<const char *>(*key) : nullptr,
                          static_cast<const char *>(defaultValue), capacity, static_cast<const char *>(path));
}

HBITMAP LoadBitmapResource(int id)
{
    if (Setup::enableUnicode)
        return static_cast<HBITMAP>(
            LoadImageW(lumora::hInstance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0));
    return static_cast<HBITMAP>(LoadImageA(lumora::hInstance, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, 0));
}

String QueryRegistryString(HKEY root, const String &subKey, const String &valueName)
{
    HKEY key = nullptr;
    if (OpenRegistryKey(root, subKey, &key) != ERROR_SUCCESS) return String();
    String value = QueryValueString(key, valueName);
    RegCloseKey(key);
    return value;
}

bool LookupPrivilege(const String &name, LUID *luid)
{
    return Setup::enableUnicode
               ? LookupPrivilegeValueW(nullptr, static_cast<const wchar_t *>(name), luid) != 0
               : LookupPrivilegeValueA(nullptr, static_cast<const char *>(name), luid) != 0;
}

HFONT CreateNamedFont(int height, int weight, DWORD italic, DWORD underline, const String &face)
{
    if (Setup::enableUnicode)
        return CreateFontW(height, 0, 0, 0, weight, italic, underline, 0, ANSI_CHARSET, 0, 0, 0, FF_ROMAN,
                           static_cast<const wchar_t *>(face));
    return CreateFontA(height, 0, 0, 0, weight, italic, underline, 0, ANSI_CHARSET, 0, 0, 0, FF_ROMAN,
                       static_cast<const char *>(face));
}
