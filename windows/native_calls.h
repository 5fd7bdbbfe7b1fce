// The Windows calls with a wide and an 8-bit form that only setup.exe makes. Each tests
// lumora::Setup::enableUnicode at the moment of the call and makes the W form with wide text
// when it is set, the A form with 8-bit text otherwise.
#ifndef SETUP_WINDOWS_NATIVE_CALLS_H
#define SETUP_WINDOWS_NATIVE_CALLS_H

#include "lumora/string.h"

#include <vector>
#include <windows.h>

// What GetPrivateProfileString wrote into a buffer of capacity characters: the count it
// returned, and the texts among those characters, each ended by a zero.
struct ProfileText {
    DWORD length = 0;
    std::vector<lumora::String> texts;
};

// A null key asks for the names of the section's keys.
ProfileText ReadProfileString(const lumora::String &section, const lumora::String *key,
                              const lumora::String &defaultValue, DWORD capacity, const lumora::String &path);

// LoadImage of one of the program's bitmap resources, device-dependent, at its natural size.
HBITMAP LoadBitmapResource(int id);

// RegOpenKey and RegQueryValueEx: the text of a REG_SZ value, or the empty text when the key
// or the value cannot be read or the value is no string.
lumora::String QueryRegistryString(HKEY root, const lumora::String &subKey, const lumora::String &valueName);

// LookupPrivilegeValue on the local system.
bool LookupPrivilege(const lumora::String &name, LUID *luid);

// CreateFont with ANSI_CHARSET and FF_ROMAN, the default width, angles, precisions and
// quality, and no strike-out.
HFONT CreateNamedFont(int height, int weight, DWORD italic, DWORD underline, const lumora::String &face);

#endif
