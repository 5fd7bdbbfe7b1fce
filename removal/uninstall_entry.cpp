#include "removal/uninstall_entry.h"

#include <windows.h>

namespace {

const wchar_t uninstallRoot[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

bool SetText(HKEY key, const wchar_t *name, const std::wstring &value)
{
    DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(value.c_str()), bytes) ==
           ERROR_SUCCESS;
}

bool SetNumber(HKEY key, const wchar_t *name, DWORD value)
{
    return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&value), sizeof value) ==
           ERROR_SUCCESS;
}

} // namespace

bool WriteUninstallEntry(const UninstallEntry &entry)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, (uninstallRoot + entry.key).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    const std::wstring quoted = L"\"" + entry.uninstaller + L"\"";
    bool ok = SetText(key, L"DisplayName", entry.displayName) &&
              SetText(key, L"DisplayVersion", entry.displayVersion) &&
              SetText(key, L"Publisher", entry.publisher) &&
              SetText(key, L"InstallLocation", entry.installLocation) &&
              SetText(key, L"InstallDate", entry.installDate) && SetText(key, L"UninstallString", quoted) &&
              SetText(key, L"QuietUninstallString", quoted + L" /VERYSILENT") &&
              SetText(key, L"DisplayIcon", entry.uninstaller) &&
              SetNumber(key, L"EstimatedSize", entry.estimatedSizeKB) && SetNumber(key, L"NoModify", 1) &&
              SetNumber(key, L"NoRepair", 1);
    // A value the package no longer gives must not linger from an earlier installation.
    for (const auto &[name, value] : {std::make_pair(L"HelpLink", &entry.helpLink),
                                      std::make_pair(L"URLInfoAbout", &entry.urlInfoAbout)}) {
        if (!value->empty())
            ok = ok && SetText(key, name, *value);
        else
            RegDeleteValueW(key, name);
    }
    RegCloseKey(key);
    return ok;
}

bool DeleteUninstallEntry(const std::wstring &key)
{
    LONG result = RegDeleteKeyW(HKEY_LOCAL_MACHINE, (uninstallRoot + key).c_str());
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

std::wstring InstallDateOf(int year, int month, int day)
{
    wchar_t text[16];
    wsprintfW(text, L"%04d%02d%02d", year, month, day);
    return text;
}
