#include "tools/profile_file.h"

#include "install/code_page.h"
#include "package/setup_rules.h"

namespace {

// Besides white space, the profile functions skip the old end-of-file mark.
bool IsProfileSpace(wchar_t c)
{
    return c == L' ' || (c >= L'\t' && c <= L'\r') || c == 0x1a;
}

// UTF-16 after its byte order mark; a character above U+FFFF keeps its pair where wide text is
// UTF-16 and becomes one character elsewhere.
std::wstring DecodeUtf16(const std::string &bytes, bool bigEndian)
{
    std::u16string units;
    for (size_t k = 2; k + 1 < bytes.size(); k += 2) {
        unsigned first = static_cast<unsigned char>(bytes[k]),
                 second = static_cast<unsigned char>(bytes[k + 1]);
        units += static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    return lumora::WideFromUtf16(units);
}

std::wstring ByteForByte(const std::string &bytes)
{
    std::wstring text;
    for (char c : bytes) text += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return text;
}

std::wstring Decode(const std::string &bytes, int codePage)
{
    if (bytes.compare(0, 3, "\xef\xbb\xbf") == 0) return lumora::WideFromUtf8(bytes.substr(3));
    if (bytes.compare(0, 2, "\xff\xfe") == 0) return DecodeUtf16(bytes, false);
    if (bytes.compare(0, 2, "\xfe\xff") == 0) return DecodeUtf16(bytes, true);
    if (!HasCodePageTables(codePage)) return ByteForByte(bytes);
    std::wstring text;
    for (size_t start = 0; start < bytes.size();) {
        size_t end = bytes.find('\n', start);
        end = end == std::string::npos ? bytes.size() : end + 1;
        std::string line = bytes.substr(start, end - start);
        std::wstring decoded;
        text += DecodeCodePage(codePage, line, decoded) ? decoded : ByteForByte(line);
        start = end;
    }
    return text;
}

std::wstring Trimmed(const std::wstring &text)
{
    size_t start = 0, end = text.size();
    while (start < end && IsProfileSpace(text[start])) ++start;
    while (end > start && IsProfileSpace(text[end - 1])) --end;
    return text.substr(start, end - start);
}

std::wstring WithoutQuotes(const std::wstring &value)
{
    if (value.size() >= 2 && (value[0] == L'"' || value[0] == L'\'') && value.back() == value[0])
        return value.substr(1, value.size() - 2);
    return value;
}

} // namespace

ProfileFile::ProfileFile(const std::string &bytes, int codePage)
{
    std::wstring text = Decode(bytes, codePage);
    sections.push_back(ProfileSection{L"", 1, {}});
    int lineNumber = 0;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find_first_of(L"\r\n", start);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = Trimmed(text.substr(start, end - start));
        start = end + (text.compare(end, 2, L"\r\n") == 0 ? 2 : 1);
        ++lineNumber;
        if (line.empty()) continue;
        size_t close = line.rfind(L']');
        if (line[0] == L'[' && close != std::wstring::npos && close > 0) {
            sections.push_back(ProfileSection{Trimmed(line.substr(1, close - 1)), lineNumber, {}});
            continue;
        }
        ProfileKey key;
        key.line = lineNumber;
        size_t equals = line.find(L'=');
        key.name = Trimmed(line.substr(0, equals));
        if (equals != std::wstring::npos) {
            key.hasValue = true;
            key.value = WithoutQuotes(Trimmed(line.substr(equals + 1)));
        }
        sections.back().keys.push_back(key);
    }
}

const ProfileSection *ProfileFile::FindSection(const std::wstring &section) const
{
    for (const ProfileSection &candidate : sections) {
        if (lumora::SameIgnoringAsciiCase(candidate.name, section)) return &candidate;
    }
    return nullptr;
}

const ProfileKey *ProfileFile::Find(const std::wstring &section, const std::wstring &key) const
{
    const ProfileSection *found = FindSection(section);
    if (found == nullptr) return nullptr;
    for (const ProfileKey &candidate : found->keys) {
        if (lumora::SameIgnoringAsciiCase(candidate.name, key))
            return candidate.hasValue ? &candidate : nullptr;
    }
    return nullptr;
}

lumora::String ProfileFile::Value(const lumora::String &section, const lumora::String &key,
                                  const lumora::String &defaultValue)
{
    const ProfileKey *found = Find(static_cast<const wchar_t *>(section), static_cast<const wchar_t *>(key));
    if (found == nullptr) return defaultValue;
    return lumora::String(found->value.substr(0, setupValueLength).c_str());
}

std::vector<lumora::String> ProfileFile::Keys(const lumora::String &section)
{
    std::vector<lumora::String> names;
    if (const ProfileSection *found = FindSection(static_cast<const wchar_t *>(section))) {
        for (const ProfileKey &key : found->keys) names.push_back(lumora::String(key.name.c_str()));
    }
    return names;
}
