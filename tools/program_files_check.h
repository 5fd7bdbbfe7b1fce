// The two program files of a package: setup.exe, which the user starts, and lumora.dll, which
// it cannot start without. Windows loads the library only when both are built for one
// processor, and setup.exe asks the user before it goes on with a library of another version
// than the one it was built with.
#ifndef SETUP_TOOLS_PROGRAM_FILES_CHECK_H
#define SETUP_TOOLS_PROGRAM_FILES_CHECK_H

#include "tools/finding.h"

#include <cstdint>
#include <filesystem>
#include <vector>

// The key of setup.exe's version resource that names the library version it expects, and the
// key of lumora.dll's that names its own, the text its version function reports.
extern const wchar_t expectedLibraryVersionKey[];
extern const wchar_t libraryVersionKey[];

struct ProgramFilesFindings {
    std::vector<Finding> findings;
    uint16_t setupMachine = 0; // 0 when setup.exe is missing or no program
};

ProgramFilesFindings CheckProgramFiles(const std::filesystem::path &folder);

#endif
