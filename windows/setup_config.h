// The one reader of the package's configuration file, setup.tsi beside the program. Every
// value is named by its rule (package/setup_rules.h), which gives its section, key and default.
#ifndef SETUP_WINDOWS_SETUP_CONFIG_H
#define SETUP_WINDOWS_SETUP_CONFIG_H

#include "lumora/string.h"
#include "package/setup_file.h"
#include "package/setup_rules.h"

#include <vector>

// setup.tsi through the platform's profile functions. Values longer than 255 characters arrive
// cut to 255. Nothing is cached: every call reads the file again, so a package edited while the
// wizard runs is followed.
class ProgramSetupFile : public SetupFile {
public:
    lumora::String Value(const lumora::String &section, const lumora::String &key,
                         const lumora::String &defaultValue) override;
    std::vector<lumora::String> Keys(const lumora::String &section) override;
};

// The program's setup.tsi, for the model (package/).
SetupFile &ProgramSetup();

// The value of key in section, or defaultValue when the file, section or key is missing.
lumora::String ReadSetupValue(const lumora::String &section, const lumora::String &key,
                              const lumora::String &defaultValue);

// The value of a rule's key (number: the key's number for a numbered rule), or its default; a
// message as it is shown, its "\n" made line breaks.
lumora::String ReadSetupValue(SetupValue value, int number = 0);
int ReadSetupInt(SetupValue value, int number = 0);
bool ReadSetupFlag(SetupValue value, int number = 0);

// A value, or the one an empty value stands for (HasFallback).
lumora::String ReadSetupValueOrFallback(SetupValue value);

// A page text from its lines rule and its numbered line rule.
lumora::String ReadSetupLines(SetupValue lines, SetupValue line);

// The names of every key in section, in file order; none when the file or section is missing.
std::vector<lumora::String> ReadSetupKeys(const lumora::String &section);

#endif
