// The one reader of the package's configuration file, setup.tsi beside the program.
#ifndef SETUP_APP_SETUP_CONFIG_H
#define SETUP_APP_SETUP_CONFIG_H

#include "lumora/string.h"

#include <vector>

// The value of key in section, or defaultValue when the file, section or key is missing.
// Values longer than 255 characters arrive cut to 255. Nothing is cached: every call reads
// the file again, so a package edited while the wizard runs is followed.
lumora::String ReadSetupValue(const lumora::String &section, const lumora::String &key,
                              const lumora::String &defaultValue);

// A page text: key "Lines" (default "1") gives the count n, keys "1".."n" one line each,
// joined with "\n"; a missing line key reads as defaultLine. n of 0 or less gives "".
lumora::String ReadSetupLines(const lumora::String &section, const lumora::String &defaultLine);

// The names of every key in section, in file order; none when the file or section is missing.
std::vector<lumora::String> ReadSetupKeys(const lumora::String &section);

#endif
