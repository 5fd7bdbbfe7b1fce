#include "lumora/utf8.h"

#include <cstdint>

namespace lumora {

namespace {

const char32_t replacement = 0xFFFD;
const bool wideIsUtf16 = sizeof(wchar_t) == 2;

bool IsSurrogate(char32_t code)
{
    return code >= 0xD800 && code <= 0xDFFF;
}

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

void AppendCharacter(char32_t code, std::wstring &text)
{
    if (code > 0x10FFFF || IsSurrogate(code)) code = replacement;
    if (wideIsUtf16 && code > 0xFFFF) {
        code -= 0x10000;
        text += static_cast<wchar_t>(0xD800 + (code >> 10));
        text += static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
    } else {
        text += static_cast<wchar_t>(code);
    }
}

void AppendUtf8(char32_t code, std::string &bytes)
{
    if (code > 0x10FFFF || IsSurrogate(code)) code = replacement;
    if (code < 0x80) {
        bytes += static_cast<char>(code);
    } else if (code < 0x800) {
        bytes += static_cast<char>(0xC0 | (code >> 6));
        bytes += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        bytes += static_cast<char>(0xE0 | (code >> 12));
        bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        bytes += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        bytes += static_cast<char>(0xF0 | (code >> 18));
        bytes += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        bytes += static_cast<char>(0x80 | (code & 0x3F));
    }
}

} // namespace

size_t Utf8SequenceAt(const std::string &bytes, size_t at, char32_t &code)
{
    if (at >= bytes.size()) return 0;
    unsigned char lead = static_cast<unsigned char>(bytes[at]);
    size_t length;
    char32_t value, shortest;
    if (lead < 0x80) {
        code = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, value = lead & 0x1F, shortest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, value = lead & 0x0F, shortest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, value = lead & 0x07, shortest = 0x10000;
    } else {
        return 0;
    }
    if (bytes.size() - at < length) return 0;
    for (size_t k = 1; k < length; k++) {
        unsigned char next = static_cast<unsigned char>(bytes[at + k]);
        if (!IsContinuation(next)) return 0;
        value = (value << 6) | (next & 0x3F);
    }
    if (value < shortest || value > 0x10FFFF || IsSurrogate(value)) return 0;
    code = value;
    return length;
}

bool IsUtf8(const std::string &bytes)
{
    char32_t code;
    for (size_t at = 0; at < bytes.size();) {
        size_t used = Utf8SequenceAt(bytes, at, code);
        if (used == 0) return false;
        at += used;
    }
    return true;
}

std::wstring WideFromUtf8(const std::string &bytes)
{
    std::wstring text;
    text.reserve(bytes.size());
    for (size_t at = 0; at < bytes.size();) {
        char32_t code = replacement;
        size_t used = Utf8SequenceAt(bytes, at, code);
        AppendCharacter(used == 0 ? replacement : code, text);
        at += used == 0 ? 1 : used;
    }
    return text;
}

char32_t CharacterAt(const std::wstring &text, size_t at, size_t &used)
{
    used = 1;
    // wchar_t is signed on some platforms; a negative unit is no character.
    char32_t unit = static_cast<char32_t>(static_cast<uint32_t>(text[at]));
    if (!wideIsUtf16 || !IsSurrogate(unit)) return unit;
    char32_t next = at + 1 < text.size() ? static_cast<char32_t>(text[at + 1]) : 0;
    if (unit >= 0xDC00 || next < 0xDC00 || next > 0xDFFF) return replacement;
    used = 2;
    return 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00);
}

std::string Utf8FromWide(const std::wstring &text)
{
    std::string bytes;
    bytes.reserve(text.size());
    for (size_t at = 0, used = 0; at < text.size(); at += used)
        AppendUtf8(CharacterAt(text, at, used), bytes);
    return bytes;
}

std::string Utf8FromCharacter(char32_t code)
{
    std::string bytes;
    AppendUtf8(code, bytes);
    return bytes;
}

std::wstring WideFromUtf16(const std::u16string &units)
{
    std::wstring text;
    text.reserve(units.size());
    for (size_t at = 0; at < units.size(); ++at) {
        char32_t unit = units[at];
        char32_t next = at + 1 < units.size() ? units[at + 1] : 0;
        if (unit >= 0xD800 && unit < 0xDC00 && next >= 0xDC00 && next <= 0xDFFF) {
            AppendCharacter(0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00), text);
            ++at;
        } else {
            AppendCharacter(unit, text);
        }
    }
    return text;
}

std::wstring AsciiUppercase(const std::wstring &text)
{
    std::wstring folded = text;
    for (wchar_t &c : folded) c = AsciiUpper(c);
    return folded;
}

std::string AsciiUppercase(const std::string &text)
{
    std::string folded = text;
    for (char &c : folded) c = AsciiUpper(c);
    return folded;
}

bool SameIgnoringAsciiCase(const std::wstring &left, const std::wstring &right)
{
    if (left.size() != right.size()) return false;
    for (size_t k = 0; k < left.size(); ++k)
        if (AsciiUpper(left[k]) != AsciiUpper(right[k])) return false;
    return true;
}

} // namespace lumora
