// The product's entry in Windows' list of installed programs, under
// HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall in the program's own registry view
// (the 32-bit view for the 32-bit build).
#ifndef SETUP_REMOVAL_UNINSTALL_ENTRY_H
#define SETUP_REMOVAL_UNINSTALL_ENTRY_H

#include <cstdint>
#include <string>

struct UninstallEntry {
    std::wstring key;
    std::wstring displayName;
    std::wstring displayVersion;
    std::wstring publisher;
    std::wstring installLocation;
    std::wstring installDate; // YYYYMMDD
    std::wstring uninstaller; // the program's full path, unquoted
    std::wstring helpLink;    // empty: not written
    std::wstring urlInfoAbout;
    uint32_t estimatedSizeKB = 0;
};

// False when the key cannot be made or a value cannot be written.
bool WriteUninstallEntry(const UninstallEntry &entry);

// True when the entry is gone afterwards, also when there was none.
bool DeleteUninstallEntry(const std::wstring &key);

// The InstallDate value of a day: "YYYYMMDD".
std::wstring InstallDateOf(int year, int month, int day);

#endif
