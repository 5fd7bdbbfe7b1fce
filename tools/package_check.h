// `tsa check`: a package folder read the way the installer will read it, so that its maker
// learns of every fault before shipping it rather than from the "Installation incomplete" box.
#ifndef SETUP_TOOLS_PACKAGE_CHECK_H
#define SETUP_TOOLS_PACKAGE_CHECK_H

#include <filesystem>
#include <string>
#include <vector>

enum class Severity { error, warning };

struct Finding {
    Severity severity;
    // Where: a place in setup.tsi (the section, and the key when there is one, with its line
    // when the key is in the file), or a place in the package (a file such as an archive, and
    // the entry of the archive when there is one).
    std::wstring section;
    std::wstring key;
    int line = 0;
    std::wstring file;
    std::wstring entry;
    std::wstring message;
};

// Every fault of the package in folder, in the order the program meets them. Errors stop the
// installation or leave it incomplete; warnings are what the user would likely not want.
std::vector<Finding> CheckPackage(const std::filesystem::path &folder);

// "error: [Section] Key: message" or "warning: file: entry: message", on one line whatever
// the names hold.
std::string FindingLine(const Finding &finding);

// The same as one JSON object.
std::string FindingJson(const Finding &finding);

// "2 errors, 1 warning", or as a JSON object.
std::string CountLine(const std::vector<Finding> &findings, bool json);

#endif
