// Archive entry names: stored as bytes, decoded once through one code page into a wide name,
// and judged by the name rules only after decoding, so that what is checked is exactly what
// names the file. The installer, the extraction engine and the archive tool all come here.
// Each rule answers with the kind of fault it finds, ArchiveFaultKind::none when it finds none.
#ifndef SETUP_INSTALL_ENTRY_NAME_H
#define SETUP_INSTALL_ENTRY_NAME_H

#include "install/archive_fault.h"
#include "install/code_page.h"
#include "lumora/string.h"

#include <string>

inline bool IsPathSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

// Whether the stored bytes decode in codePage (a Windows code page, systemCodePage or
// asciiOnly) to a name that may be written below the target directory.
// name receives the decoded name, or, when the bytes do not decode, the bytes with each one
// beyond ASCII shown as \xNN, for reports.
ArchiveFaultKind DecodeEntryName(const std::string &stored, int codePage, lumora::String &name);

// Whether name can be stored in codePage as bytes that decode back to exactly name and the
// name may be written below a target directory. stored receives the bytes.
ArchiveFaultKind EncodeEntryName(const lumora::String &name, int codePage, std::string &stored);

// The rules on a decoded name: whether it stays inside the directory it is extracted to on
// both Windows and Linux. Refused, the ways out first: a leading separator (also a UNC prefix),
// a drive, a ".." level (also with trailing spaces, which Windows drops); then empty names and
// names ending in a separator, a ":" anywhere, control characters, the characters Windows
// allows in no file name (< > " | ? *), any other level of dots and spaces only, and device
// names such as CON or LPT1.
ArchiveFaultKind EntryNameFault(const lumora::String &name);

// Whether `tsa pack` may store the name ("/" between levels, as the system gives it): the
// installer writes it below its target, and it arrives under the same name, so no level ends
// in a dot or space (Windows drops them) and no "\" stands inside a file name of a system
// where it is no separator.
ArchiveFaultKind PackNameFault(const lumora::String &name);

// The name as Windows compares it: letter case aside, either separator.
std::string FoldedName(const std::string &name);

#endif
