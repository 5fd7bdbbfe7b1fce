// The tool's view of stored names: which ones the installer would refuse, and when two of
// them end up as one file on Windows.
#ifndef SETUP_TOOLS_NAME_RULES_H
#define SETUP_TOOLS_NAME_RULES_H

#include <string>

// Null when the installer writes the stored name (one byte per character, "/" or "\"
// between levels) below its target; otherwise why not.
const char *InstallerNameFault(const std::string &name);

// Null when `tsa pack` may store the name: the installer writes it, and it arrives under
// the same name, so no level ends in a dot or space (Windows drops them) and no "\" stands
// inside a file name of a system where it is no separator.
const char *PackNameFault(const std::string &name);

// The name as Windows compares it: letter case aside, either separator.
std::string FoldedName(const std::string &name);

#endif
