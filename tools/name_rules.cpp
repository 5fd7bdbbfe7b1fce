#include "tools/name_rules.h"

#include "install/entry_name.h"

const char *PackNameFault(const lumora::String &name)
{
    int length = name.Length();
    for (int k = 0; k < length; ++k) {
        if (name[k] == L'\\')
            return "the name holds a \"\\\", which the installer takes for a folder separator";
    }
    const char *fault = EntryNameFault(name);
    if (fault != nullptr) return fault;
    for (int end = 0; end <= length; ++end) {
        if (end < length && name[end] != L'/') continue;
        wchar_t last = name[end - 1];
        if (last == L'.' || last == L' ')
            return "a level of the name ends with a dot or a space, which Windows drops";
    }
    return nullptr;
}

std::string FoldedName(const std::string &name)
{
    std::string folded = name;
    for (char &c : folded) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c == '\\') c = '/';
    }
    return folded;
}
