#include "tools/terminal_text.h"

namespace {

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

std::string TerminalText(const std::string &bytes)
{
    std::string text;
    for (char c : bytes) AppendByte(text, static_cast<unsigned char>(c));
    return text;
}

std::string TerminalText(const std::wstring &text)
{
    std::string shown;
    for (wchar_t c : text) {
        unsigned long code = static_cast<unsigned long>(c);
        if (code <= 0xff) {
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
