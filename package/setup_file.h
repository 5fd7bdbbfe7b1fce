// setup.tsi as the program reads it, whoever does the reading: the platform's profile functions in
// setup.exe (windows/setup_config.h), the portable profile reader in `tsa` (tools/profile_file.h).
// The model reads every value through this and the rule book, so both read one package alike.
#ifndef SETUP_PACKAGE_SETUP_FILE_H
#define SETUP_PACKAGE_SETUP_FILE_H

#include "lumora/string.h"
#include "package/setup_rules.h"

#include <vector>

class SetupFile {
public:
    virtual ~SetupFile() = default;

    // The value of key in section, cut to setupValueLength characters, or defaultValue when the
    // file, section or key is missing. Names are found regardless of letter case.
    virtual lumora::String Value(const lumora::String &section, const lumora::String &key,
                                 const lumora::String &defaultValue) = 0;
    // The names of every key in section, in file order; none when the file or section is missing.
    virtual std::vector<lumora::String> Keys(const lumora::String &section) = 0;

    // The value of a rule's key (number: the key's number for a numbered rule), or its default.
    lumora::String Read(SetupValue value, int number = 0);
    int ReadInt(SetupValue value, int number = 0);
    bool ReadFlag(SetupValue value, int number = 0);
    // A page text from its lines rule and its numbered line rule.
    lumora::String ReadLines(SetupValue lines, SetupValue line);
};

#endif
