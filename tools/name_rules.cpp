#include "tools/name_rules.h"

#include "install/entry_name.h"

const char *InstallerNameFault(const std::string &name)
{
    std::wstring characters;
    for (char c : name) characters += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return EntryNameFault(lumora::String(characters.data(), static_cast<int>(characters.size())));
}

const char *PackNameFault(const std::string &name)
{
    if (name.find('\\') != std::string::npos)
        return "the name holds a \"\\\", which the installer takes for a folder separator";
    const char *fault = InstallerNameFault(name);
    if (fault != nullptr) return fault;
    for (size_t end = name.find('/');; end = name.find('/', end + 1)) {
        size_t last = (end == std::string::npos ? name.size() : end) - 1;
        if (name[last] == '.' || name[last] == ' ')
            return "a level of the name ends with a dot or a space, which Windows drops";
        if (end == std::string::npos) return nullptr;
    }
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
