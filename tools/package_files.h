// How a name in setup.tsi reaches a file on Windows, worked out on any system: either
// separator between levels, letter case aside.
#ifndef SETUP_TOOLS_PACKAGE_FILES_H
#define SETUP_TOOLS_PACKAGE_FILES_H

#include <filesystem>
#include <optional>
#include <string>

// One character per byte, as archive names are stored.
std::wstring Widened(const std::string &bytes);

// The file that a name relative to the working directory opens on Windows, the package
// folder being the working directory; none when there is no such file.
std::optional<std::filesystem::path> FindInPackage(const std::filesystem::path &folder,
                                                   const std::wstring &name);

// The path below the destination of name written into subdirectory: "\" between levels,
// no empty or "." levels.
std::wstring JoinedPath(const std::wstring &subdirectory, const std::wstring &name);

#endif
