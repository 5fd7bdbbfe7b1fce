#include "tools/terminal_text.h"

#include "lumora/utf8.h"

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
    char32_t code = 0;
    size_t length = lumora::Utf8SequenceAt(bytes, at, code);
    if (length < 2 || code < 0xa0) return 0;
    // Marks that turn the direction of the text could make a name read as another.
    bool turnsDirection = (code >= 0x200e && code <= 0x200f) || (code >= 0x202a && code <= 0x202e) ||
                          (code >= 0x2066 && code <= 0x2069);
    return turnsDirection ? 0 : length;
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
    for (size_t at = 0, used = 0; at < text.size(); at += used) {
        char32_t code = lumora::CharacterAt(text, at, used);
        if (terminalUtf8 && code >= 0xa0) {
            shown += TerminalText(lumora::Utf8FromCharacter(code));
        } else if (code <= 0xff) {
            AppendByte(shown, static_cast<unsigned char>(code));
        } else {
            for (char byte : lumora::Utf8FromCharacter(code))
                AppendByte(shown, static_cast<unsigned char>(byte));
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
