// The values of setup.tsi judged one by one against the rule book: numbers that are no
// numbers or lie outside their range, component states the program does not know, and
// destination folder names Windows refuses.
#ifndef SETUP_TOOLS_VALUE_CHECK_H
#define SETUP_TOOLS_VALUE_CHECK_H

#include "tools/finding.h"
#include "tools/profile_file.h"

#include <vector>

// A finding for every value of the file's first sections that the program would take other
// than its writer meant.
std::vector<Finding> CheckValues(const ProfileFile &profile);

#endif
