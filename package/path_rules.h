// The rules on the values of setup.tsi that name a place Setup writes: a component's folder below
// the destination, and the Start menu folder and a link's name below the Programs folder. Such a
// value is refused when it would climb out of its folder, or when it holds a level Windows does
// not allow; every level it names is made. A link's target is only where the link points: it is
// never written, so it may lead anywhere.
#ifndef SETUP_PACKAGE_PATH_RULES_H
#define SETUP_PACKAGE_PATH_RULES_H

#include "install/archive_fault.h"
#include "lumora/string.h"

// The fault of a folder named in the file, the ways out first: a leading separator, a drive, a
// ".." level; then every other fault an archive entry's name may have. Trailing separators are
// allowed, and an empty value or "." is the folder itself.
ArchiveFaultKind FolderBelowFault(const lumora::String &folder);

// Whether a fault takes a path out of the folder it is joined to; the others only make a name
// Windows does not allow.
bool LeavesFolder(ArchiveFaultKind fault);

// Why Setup refuses a value naming a place below `folder` ("the destination"), in the words the
// notice and `tsa check` share: "would lie outside the destination (...)" or "is not a name
// Windows allows (...)"; empty when the value is taken.
lumora::String Refusal(const lumora::String &value, const char *folder);

#endif
