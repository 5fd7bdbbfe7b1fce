// `tsa check`: a package folder read the way the installer will read it, so that its maker
// learns of every fault before shipping it rather than from the "Installation incomplete" box.
#ifndef SETUP_TOOLS_PACKAGE_CHECK_H
#define SETUP_TOOLS_PACKAGE_CHECK_H

#include "install/code_page.h"
#include "tools/finding.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct CheckOptions {
    int codePage = asciiOnly;  // the system code page of the machines that will install the package
    uint16_t setupMachine = 0; // the processor of the package's setup.exe (tools/program_file.h), 0 unknown
};

// Every fault of the package in folder, in the order the program meets them. Errors stop the
// installation or leave it incomplete; warnings are what the user would likely not want.
// writes, when given, receives what the installation writes with every offered component
// ticked, in its order: "file: PATH" below the destination, "link: PATH -> TARGET" below the
// Start menu's Programs folder with the target as setup.tsi gives it.
std::vector<Finding> CheckPackage(const std::filesystem::path &folder,
                                  const CheckOptions &options = CheckOptions(),
                                  std::vector<std::wstring> *writes = nullptr);

#endif
