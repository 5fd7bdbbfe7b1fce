// Which archive entry names may be written below a target directory.
#ifndef SETUP_INSTALL_ENTRY_NAME_H
#define SETUP_INSTALL_ENTRY_NAME_H

#include "lumora/string.h"

inline bool IsPathSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

// Null when the name stays inside the directory it is extracted to on both Windows and
// Linux; otherwise why it is refused. Refused: empty names and names ending in a separator,
// a leading separator (also a UNC prefix), a ":" anywhere (also a drive letter), control
// characters, a ".." level or any level of dots and spaces only (Windows drops trailing dots
// and spaces, so ".. " is ".."), and device names such as CON or LPT1.
const char *EntryNameFault(const lumora::String &name);

#endif
