// `tsa check`: a package folder read the way the installer will read it, so that its maker
// learns of every fault before shipping it rather than from the "Installation incomplete" box.
#ifndef SETUP_TOOLS_PACKAGE_CHECK_H
#define SETUP_TOOLS_PACKAGE_CHECK_H

#include "install/code_page.h"
#include "tools/finding.h"

#include <cstdint>
#include <filesystem>
#include <vector>

struct CheckOptions {
    int codePage = asciiOnly;  // the system code page of the machines that will install the package
    uint16_t setupMachine = 0; // the processor of the package's setup.exe (tools/program_file.h), 0 unknown
};

// Every fault of the package in folder, in the order the program meets them. Errors stop the
// installation or leave it incomplete; warnings are what the user would likely not want.
std::vector<Finding> CheckPackage(const std::filesystem::path &folder,
                                  const CheckOptions &options = CheckOptions());

#endif
