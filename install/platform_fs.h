// The few file-system calls the engine needs, the same on Windows and Linux. Paths use "\"
// as the separator, as the installer joins them; on Linux "\" means "/". On Windows every path
// goes to the wide calls, a long one in the "\\?\" form (lumora::FileSystemPath).
#ifndef SETUP_INSTALL_PLATFORM_FS_H
#define SETUP_INSTALL_PLATFORM_FS_H

#include "lumora/string.h"

#include <functional>
#include <string>

// Makes one directory level, like _mkdir: the parent must exist. False when the directory
// was not made, which includes the normal case that it exists already; callers that only
// need the directory to be there ignore the result.
bool MakeDirectory(const lumora::String &path);

// Makes each folder that leads to `path`: every level that ends at a separator after its
// first `known` characters, which name a folder that exists already. "/" is written "\".
// An existing level is the normal case, so nothing is reported; callers check what they need.
void MakeDirectoryLevels(const lumora::String &path, int known = 0);

// Makes the folders that lead to the files of one extraction. Files come in table order, so the
// files of one folder mostly follow one another: the levels of the folder made for the previous
// file exist already and are not handed to the system again, which would cost a failing call
// for every level of every file.
class FolderLevels {
public:
    // makeLevel makes one level, like MakeDirectory (the default).
    explicit FolderLevels(std::function<bool(const lumora::String &)> makeLevel = MakeDirectory);

    // Makes each folder that leads to `path`, as MakeDirectoryLevels does, less the levels the
    // previous call made.
    void MakeFor(const lumora::String &path, int known);
    // The previous folder may be missing after all (a file in it could not be made), so the next
    // call makes every level again.
    void Forget();

private:
    std::function<bool(const lumora::String &)> makeLevel;
    std::wstring lastFolder; // "\" between levels, up to and including the last one
};

// Removes a file; false when there was none or it could not be removed.
bool RemoveFile(const lumora::String &path);

bool IsDirectory(const lumora::String &path);

// The user's temporary folder (GetTempPath on Windows; $TMPDIR or /tmp on Linux),
// ending with a separator.
lumora::String TemporaryFolder();

#endif
