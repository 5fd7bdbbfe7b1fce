// The tool's view of stored names: which ones the installer would refuse, and when two of
// them end up as one file on Windows.
#ifndef SETUP_TOOLS_NAME_RULES_H
#define SETUP_TOOLS_NAME_RULES_H

#include "lumora/string.h"

#include <string>

// Null when `tsa pack` may store the name ("/" between levels, as the system gives it): the
// installer writes it below its target, and it arrives under the same name, so no level ends
// in a dot or space (Windows drops them) and no "\" stands inside a file name of a system
// where it is no separator.
const char *PackNameFault(const lumora::String &name);

// The name as Windows compares it: letter case aside, either separator.
std::string FoldedName(const std::string &name);

#endif
