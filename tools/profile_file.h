// setup.tsi read on any system as the platform's profile functions read it: a section is the
// text between "[" and the last "]" of its line; a key line is a name, "=" and a value, both
// trimmed of white space; a value in matching quotes loses them; names are found regardless
// of letter case, and only the first section and the first key of a name count.
#ifndef SETUP_TOOLS_PROFILE_FILE_H
#define SETUP_TOOLS_PROFILE_FILE_H

#include "install/code_page.h"
#include "lumora/string.h"
#include "lumora/utf8.h"
#include "package/setup_file.h"

#include <string>
#include <vector>

struct ProfileKey {
    std::wstring name;
    std::wstring value;    // quotes removed, not cut
    bool hasValue = false; // a line without "=" is a key that reads as missing
    int line = 0;
};

struct ProfileSection {
    std::wstring name; // "" for the lines before the first section
    int line = 0;
    std::vector<ProfileKey> keys;
};

class ProfileFile : public SetupFile {
public:
    // The bytes of the file: UTF-8 or UTF-16 after a byte order mark, otherwise text of the
    // code page the program reads it in (install/code_page.h); a line the code page does not
    // decode, or any line without one, is taken one character per byte. Any bytes are accepted.
    explicit ProfileFile(const std::string &bytes, int codePage = asciiOnly);

    // attributes
    const std::vector<ProfileSection> &Sections() const { return sections; }

    // The key the platform hands out for section and key, or null when it gives the default.
    const ProfileKey *Find(const std::wstring &section, const std::wstring &key) const;

    // The first section of that name, or null.
    const ProfileSection *FindSection(const std::wstring &section) const;

    // As the program reads it: the value cut to what the platform hands out, or the default.
    lumora::String Value(const lumora::String &section, const lumora::String &key,
                         const lumora::String &defaultValue) override;
    std::vector<lumora::String> Keys(const lumora::String &section) override;

private:
    std::vector<ProfileSection> sections;
};

#endif
