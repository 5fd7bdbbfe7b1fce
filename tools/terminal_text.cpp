#include "tools/terminal_text.h"

#include "tools/package_files.h"

#include <clocale>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#else
#include <langinfo.h>
#endif

namespace {

bool terminalUtf8 = false;

// The length of the UTF-8 sequence of a printable character beyond ASCII at bytes[at], or 0.
size_t PrintableUtf8At(const std::string &bytes, size_t at)
{
    unsigned char lead = static_cast<unsigned char>(bytes[at]);
    size_t extra = (lead >> 5) == 6 ? 1 : (lead >> 4) == 14 ? 2 : (lead >> 3) == 30 ? 3 : 0;
    if (extra == 0 || at + extra >= bytes.size()) return 0;
    unsigned long code = lead & (extra == 1 ? 0x1f : extra == 2 ? 0x0f : 0x07);
    for (size_t n = 1; n <= extra; ++n) {
        unsigned char next = static_cast<unsigned char>(bytes[at + n]);
        if ((next & 0xc0) != 0x80) return 0;
        code = code << 6 | (next & 0x3f);
    }
    static const unsigned long shortest[] = {0, 0x80, 0x800, 0x10000};
    if (code < shortest[extra] || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff) || code < 0xa0)
        return 0;
    // Marks that turn the direction of the text could make a name read as another.
    bool turnsDirection = (code >= 0x200e && code <= 0x200f) || (code >= 0x202a && code <= 0x202e) ||
                          (code >= 0x2066 && code <= 0x2069);
    if (turnsDirection) return 0;
    return extra + 1;
}

void AppendByte(std::string &text, unsigned char byte)
{
    static const char digits[] = "0123456789abcdef";
    if (byte >= 0x20 && byte < 0x7f) {
        text += static_cast<char>(byte);
    } else {
        text += "\\x";
        text += digits[byte >> 4];
        text += digits[byte & 0x0f];
    }
}

} // namespace

void SetTerminalUtf8(bool utf8)
{
    terminalUtf8 = utf8;
}

bool TerminalShowsUtf8()
{
    return terminalUtf8;
}

bool DetectTerminalUtf8()
{
#ifdef _WIN32
    return GetConsoleOutputCP() == CP_UTF8;
#else
    if (std::setlocale(LC_CTYPE, "") == nullptr) return false;
    const char *codeset = nl_langinfo(CODESET);
    return codeset != nullptr && (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0);
#endif
}

std::string TerminalText(const std::string &bytes)
{
    std::string text;
    for (size_t k = 0; k < bytes.size();) {
        size_t sequence = terminalUtf8 ? PrintableUtf8At(bytes, k) : 0;
        if (sequence > 0) {
            text.append(bytes, k, sequence);
            k += sequence;
        } else {
            AppendByte(text, static_cast<unsigned char>(bytes[k++]));
        }
    }
    return text;
}

std::string TerminalText(const std::wstring &text)
{
    std::string shown;
    for (wchar_t c : text) {
        unsigned long code = static_cast<unsigned long>(c);
        if (terminalUtf8 && code >= 0xa0) {
            std::wstring one(1, c);
            shown += TerminalText(Utf8(one));
        } else if (code <= 0xff) {
            AppendByte(shown, static_cast<unsigned char>(code));
        } else if (code <= 0x7ff) {
            AppendByte(shown, static_cast<unsigned char>(0xc0 | (code >> 6)));
            AppendByte(shown, static_cast<unsigned char>(0x80 | (code & 0x3f)));
        } else if (code <= 0xffff) {
            AppendByte(shown, static_cast<unsigned char>(0xe0 | (code >> 12)));
            AppendByte(shown, static_cast<unsigned char>(0x80 | ((code >> 6) & 0x3f)));
            AppendByte(shown, static_cast<unsigned char>(0x80 | (code & 0x3f)));
        } else {
            AppendByte(shown, static_cast<unsigned char>(0xf0 | ((code >> 18) & 0x07)));
            AppendByte(shown, static_cast<unsigned char>(0x80 | ((code >> 12) & 0x3f)));
            AppendByte(shown, static_cast<unsigned char>(0x80 | ((code >> 6) & 0x3f)));
            AppendByte(shown, static_cast<unsigned char>(0x80 | (code & 0x3f)));
        }
    }
    return shown;
}

std::string DecodedNameText(const lumora::String &name)
{
    static const wchar_t digits[] = L"0123456789abcdef";
    std::wstring safe;
    for (int k = 0; k < name.Length(); ++k) {
        wchar_t c = name[k];
        if (c < 0x20 || (c >= 0x7f && c <= 0x9f)) {
            safe += L"\\x";
            safe += digits[(c >> 4) & 0x0f];
            safe += digits[c & 0x0f];
        } else {
            safe += c;
        }
    }
    return static_cast<const char *>(lumora::String(safe.c_str()));
}
