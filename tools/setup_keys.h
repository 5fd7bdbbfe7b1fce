// The sections and keys of the rule book (package/setup_rules.h) grouped by section, and the names
// that read like a slip of the pen for one of them.
#ifndef SETUP_TOOLS_SETUP_KEYS_H
#define SETUP_TOOLS_SETUP_KEYS_H

#include <string>
#include <vector>

struct SectionKeys {
    std::wstring section;
    std::vector<std::wstring> keys;     // read under these names
    std::vector<std::wstring> numbered; // read as these prefixes followed by 1, 2, ...
};

// Every section of the rule book, in the order of its rows.
const std::vector<SectionKeys> &KnownSections();

// True when name reads like a slip of the pen for candidate: a few letters added, left out,
// changed or swapped, letter case aside; short names must match exactly.
bool SpelledLike(const std::wstring &name, const std::wstring &candidate);

// The number a numbered key ends in, split off its prefix; -1 when it ends in none or in one
// too long to be a key's.
long long SplitNumber(const std::wstring &key, std::wstring &prefix);

#endif
