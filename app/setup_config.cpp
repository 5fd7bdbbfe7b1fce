// Reads setup.tsi beside the program file through the platform's profile functions, which
// already give the defaults for a missing file, section or key and ignore letter case.
#include "app/setup_config.h"

#include "app/setup_rules.h"
#include "lumora/application.h"
#include "lumora/process.h"

#include <windows.h>

namespace {

// The zero that ends the value takes one place of the buffer.
const int valueBufferLength = setupValueLength + 1;

// The key list comes back as names each ended by a zero, the last by two; a list cut short
// by the buffer ends two characters before its end.
template <class Char> std::vector<lumora::String> SplitKeyList(const std::vector<Char> &list, DWORD length)
{
    std::vector<lumora::String> keys;
    for (DWORD start = 0; start < length;) {
        DWORD end = start;
        while (end < length && list[end] != 0) ++end;
        if (end > start) keys.push_back(lumora::String(&list[start]));
        start = end + 1;
    }
    return keys;
}

lumora::String ConfigurationPath()
{
    return lumora::Application::GetApplicationDirectory() + lumora::String("setup.tsi");
}

} // namespace

lumora::String ReadSetupValue(const lumora::String &section, const lumora::String &key,
                              const lumora::String &defaultValue)
{
    lumora::String path = ConfigurationPath();
    if (lumora::Setup::enableUnicode) {
        wchar_t value[valueBufferLength] = {0};
        GetPrivateProfileStringW(static_cast<const wchar_t *>(section), static_cast<const wchar_t *>(key),
                                 static_cast<const wchar_t *>(defaultValue), value, valueBufferLength,
                                 static_cast<const wchar_t *>(path));
        return lumora::String(value);
    }
    char value[valueBufferLength] = {0};
    GetPrivateProfileStringA(static_cast<const char *>(section), static_cast<const char *>(key),
                             static_cast<const char *>(defaultValue), value, valueBufferLength,
                             static_cast<const char *>(path));
    return lumora::String(value);
}

lumora::String ReadSetupLines(const lumora::String &section, const lumora::String &defaultLine)
{
    return ComposeSetupLines(ReadSetupValue, section, defaultLine);
}

std::vector<lumora::String> ReadSetupKeys(const lumora::String &section)
{
    lumora::String path = ConfigurationPath();
    for (DWORD capacity = 4096;; capacity *= 2) {
        if (lumora::Setup::enableUnicode) {
            std::vector<wchar_t> list(capacity, 0);
            DWORD length =
                GetPrivateProfileStringW(static_cast<const wchar_t *>(section), nullptr, L"", list.data(),
                                         capacity, static_cast<const wchar_t *>(path));
            if (length + 2 < capacity || capacity >= (1u << 24)) return SplitKeyList(list, length);
        } else {
            std::vector<char> list(capacity, 0);
            DWORD length = GetPrivateProfileStringA(static_cast<const char *>(section), nullptr, "",
                                                    list.data(), capacity, static_cast<const char *>(path));
            if (length + 2 < capacity || capacity >= (1u << 24)) return SplitKeyList(list, length);
        }
    }
}
