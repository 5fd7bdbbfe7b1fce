// A fault `tsa check` finds, and how it is printed: one line of printable text whatever the
// names in it hold, or one JSON object.
#ifndef SETUP_TOOLS_FINDING_H
#define SETUP_TOOLS_FINDING_H

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

// "error: [Section] Key (line 3): message" or "warning: file: entry: message".
std::string FindingLine(const Finding &finding);

// The same as one JSON object.
std::string FindingJson(const Finding &finding);

// A line of what the installation writes (tools/package_check.h) as one JSON object.
std::string WriteJson(const std::wstring &write);

// "2 errors, 1 warning", or as a JSON object.
std::string CountLine(const std::vector<Finding> &findings, bool json);

#endif
