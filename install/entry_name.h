// Archive entry names: stored as bytes, decoded once through one code page into a wide name,
// and judged by the name rules only after decoding, so that what is checked is exactly what
// names the file. The installer, the extraction engine and the archive tool all come here.
#ifndef SETUP_INSTALL_ENTRY_NAME_H
#define SETUP_INSTALL_ENTRY_NAME_H

#include "install/code_page.h"
#include "lumora/string.h"

#include <string>

inline bool IsPathSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

// Null when the stored bytes decode in codePage (a Windows code page, systemCodePage or
// asciiOnly) to a name that may be written below the target directory; otherwise why not.
// name receives the decoded name, or, when the bytes do not decode, the bytes with each one
// beyond ASCII shown as \xNN, for reports.
const char *DecodeEntryName(const std::string &stored, int codePage, lumora::String &name);

// Null when name can be stored in codePage as bytes that decode back to exactly name and the
// name may be written below a target directory; otherwise why not. stored receives the bytes.
const char *EncodeEntryName(const lumora::String &name, int codePage, std::string &stored);

// The rules on a decoded name: null when it stays inside the directory it is extracted to on
// both Windows and Linux; otherwise why it is refused. Refused: empty names and names ending in
// a separator, a leading separator (also a UNC prefix), a ":" anywhere (also a drive letter),
// control characters, the characters Windows allows in no file name (< > " | ? *), a ".." level
// or any level of dots and spaces only (Windows drops trailing dots and spaces, so ".. " is
// ".."), and device names such as CON or LPT1.
const char *EntryNameFault(const lumora::String &name);

#endif
