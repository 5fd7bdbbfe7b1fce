#include "install/entry_name.h"

#include "lumora/utf8.h"

#include <cwchar>
#include <string>

namespace {

// Windows opens the device, not a file, for these names with any extension.
bool IsDeviceName(const lumora::String &name, int start, int end)
{
    std::wstring stem;
    for (int k = start; k < end && name[k] != L'.' && name[k] != L' '; ++k) {
        stem += lumora::AsciiUpper(name[k]);
    }
    if (stem == L"CON" || stem == L"PRN" || stem == L"AUX" || stem == L"NUL") return true;
    bool numbered = stem.size() == 4 && stem[3] >= L'1' && stem[3] <= L'9';
    return numbered && (stem.compare(0, 3, L"COM") == 0 || stem.compare(0, 3, L"LPT") == 0);
}

int LevelEnd(const lumora::String &name, int start)
{
    int end = start;
    while (end < name.Length() && !IsPathSeparator(name[end])) ++end;
    return end;
}

// "..", and ".." followed by spaces, which Windows drops.
bool IsParentLevel(const lumora::String &name, int start, int end)
{
    while (end > start && name[end - 1] == L' ') --end;
    return end - start == 2 && name[start] == L'.' && name[start + 1] == L'.';
}

// Both the C0 and the C1 range, and DEL: a code page's undefined bytes often decode to C1.
bool IsControlCharacter(wchar_t c)
{
    return c < 32 || (c >= 0x7F && c <= 0x9F);
}

bool IsForbiddenOnWindows(wchar_t c)
{
    return c != L'\0' && std::wcschr(L"<>\"|?*", c) != nullptr;
}

lumora::String ShownBytes(const std::string &stored)
{
    static const char digits[] = "0123456789abcdef";
    std::wstring shown;
    for (char byte : stored) {
        unsigned char code = static_cast<unsigned char>(byte);
        if (code >= 32 && code < 127) {
            shown += static_cast<wchar_t>(code);
        } else {
            shown += L"\\x";
            shown += static_cast<wchar_t>(digits[code >> 4]);
            shown += static_cast<wchar_t>(digits[code & 15]);
        }
    }
    return lumora::String(shown.c_str());
}

lumora::String FromWide(const std::wstring &text)
{
    return lumora::String(text.data(), static_cast<int>(text.size()));
}

} // namespace

ArchiveFaultKind DecodeEntryName(const std::string &stored, int codePage, lumora::String &name)
{
    std::wstring text;
    if (!DecodeCodePage(codePage, stored, text)) {
        name = ShownBytes(stored);
        return !HasCodePageTables(codePage) ? ArchiveFaultKind::nameBytesWithoutCodePage
                                            : ArchiveFaultKind::nameInvalidInCodePage;
    }
    name = FromWide(text);
    return EntryNameFault(name);
}

ArchiveFaultKind EncodeEntryName(const lumora::String &name, int codePage, std::string &stored)
{
    ArchiveFaultKind fault = EntryNameFault(name);
    if (fault != ArchiveFaultKind::none) return fault;
    std::wstring text(static_cast<const wchar_t *>(name), static_cast<size_t>(name.Length()));
    if (!EncodeCodePage(codePage, text, stored)) {
        return !HasCodePageTables(codePage) ? ArchiveFaultKind::nameCharactersWithoutCodePage
                                            : ArchiveFaultKind::nameNotStorableInCodePage;
    }
    std::wstring back;
    if (!DecodeCodePage(codePage, stored, back) || back != text) return ArchiveFaultKind::nameNotReadBack;
    return ArchiveFaultKind::none;
}

ArchiveFaultKind EntryNameFault(const lumora::String &name)
{
    int length = name.Length();
    if (length == 0) return ArchiveFaultKind::emptyName;
    // The ways out first, so a name that leaves its folder is always said to.
    if (IsPathSeparator(name[0])) return ArchiveFaultKind::leadingSeparator;
    if (length >= 2 && name[1] == L':' && lumora::AsciiUpper(name[0]) >= L'A' &&
        lumora::AsciiUpper(name[0]) <= L'Z')
        return ArchiveFaultKind::driveLetter;
    for (int start = 0, end = 0; start <= length; start = end + 1) {
        end = LevelEnd(name, start);
        if (IsParentLevel(name, start, end)) return ArchiveFaultKind::parentLevel;
    }
    if (IsPathSeparator(name[length - 1])) return ArchiveFaultKind::trailingSeparator;
    for (int k = 0; k < length; ++k) {
        if (name[k] == L':') return ArchiveFaultKind::colonInName;
        if (IsControlCharacter(name[k])) return ArchiveFaultKind::controlCharacter;
        if (IsForbiddenOnWindows(name[k])) return ArchiveFaultKind::forbiddenCharacter;
    }
    for (int start = 0, end = 0; start < length; start = end + 1) {
        end = LevelEnd(name, start);
        bool onlyDotsAndSpaces = true;
        for (int k = start; k < end; ++k) {
            if (name[k] != L'.' && name[k] != L' ') onlyDotsAndSpaces = false;
        }
        bool current = end - start == 1 && name[start] == L'.';
        if (onlyDotsAndSpaces && !current && end > start) return ArchiveFaultKind::dotsOnlyLevel;
        if (IsDeviceName(name, start, end)) return ArchiveFaultKind::deviceName;
    }
    return ArchiveFaultKind::none;
}

ArchiveFaultKind PackNameFault(const lumora::String &name)
{
    int length = name.Length();
    for (int k = 0; k < length; ++k) {
        if (name[k] == L'\\') return ArchiveFaultKind::backslashInName;
    }
    ArchiveFaultKind fault = EntryNameFault(name);
    if (fault != ArchiveFaultKind::none) return fault;
    for (int end = 0; end <= length; ++end) {
        if (end < length && name[end] != L'/') continue;
        wchar_t last = name[end - 1];
        if (last == L'.' || last == L' ') return ArchiveFaultKind::levelEndsInDotOrSpace;
    }
    return ArchiveFaultKind::none;
}

std::string FoldedName(const std::string &name)
{
    std::string folded = lumora::AsciiUppercase(name);
    for (char &c : folded)
        if (c == '\\') c = '/';
    return folded;
}
