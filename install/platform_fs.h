// The few file-system calls the engine needs, the same on Windows and Linux. Paths use "\"
// as the separator, as the installer joins them; on Linux "\" means "/". On Windows every path
// goes to the wide calls, a long one in the "\\?\" form (lumora::FileSystemPath).
#ifndef SETUP_INSTALL_PLATFORM_FS_H
#define SETUP_INSTALL_PLATFORM_FS_H

#include "lumora/string.h"

// Makes one directory level, like _mkdir: the parent must exist. False when the directory
// was not made, which includes the normal case that it exists already; callers that only
// need the directory to be there ignore the result.
bool MakeDirectory(const lumora::String &path);

// Makes each folder that leads to `path`: every level that ends at a separator after its
// first `known` characters, which name a folder that exists already. "/" is written "\".
// An existing level is the normal case, so nothing is reported; callers check what they need.
void MakeDirectoryLevels(const lumora::String &path, int known = 0);

// Removes a file; false when there was none or it could not be removed.
bool RemoveFile(const lumora::String &path);

bool IsDirectory(const lumora::String &path);

// The user's temporary folder (GetTempPath on Windows; $TMPDIR or /tmp on Linux),
// ending with a separator.
lumora::String TemporaryFolder();

#endif
