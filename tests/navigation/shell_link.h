// A shell link read back through the shell itself, as a user's Start menu would read it.
#pragma once

#include <optional>
#include <string>

namespace navtest {

struct LinkContents {
    std::string target;
    std::string workingDirectory;
    std::string description;
};

// Nothing when the file is not a shell link the shell can load.
std::optional<LinkContents> ReadLink(const std::wstring &path);

} // namespace navtest
