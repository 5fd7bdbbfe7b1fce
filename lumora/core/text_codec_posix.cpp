// The 8-bit text of the other platforms: UTF-8.
#include "lumora/core/text_codec.h"

#include <cstdint>

namespace lumora {
namespace core {

static_assert(sizeof(wchar_t) == 4, "wide characters hold whole Unicode scalars here");

namespace {

const char32_t replacement = 0xFFFD;

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// Decodes the sequence at text[0..available) into *value; returns the bytes it used, or 0
// when the sequence is malformed, overlong, a surrogate, beyond U+10FFFF or cut short.
size_t DecodeSequence(const unsigned char *text, size_t available, char32_t *value)
{
    unsigned char lead = text[0];
    size_t length;
    char32_t code;
    char32_t minimum;
    if (lead < 0x80) {
        *value = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, code = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, code = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, code = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (available < length) return 0;
    for (size_t i = 1; i < length; i++) {
        if (!IsContinuation(text[i])) return 0;
        code = (code << 6) | (text[i] & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    *value = code;
    return length;
}

void EncodeScalar(char32_t code, std::string &out)
{
    if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) code = replacement;
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

} // namespace

std::wstring WidenText(const char *text, size_t length)
{
    const unsigned char *bytes = reinterpret_cast<const unsigned char *>(text);
    std::wstring result;
    result.reserve(length);
    size_t i = 0;
    while (i < length) {
        char32_t code;
        size_t used = DecodeSequence(bytes + i, length - i, &code);
        if (used == 0) {
            result += static_cast<wchar_t>(replacement);
            i++;
        } else {
            result += static_cast<wchar_t>(code);
            i += used;
        }
    }
    return result;
}

std::string NarrowText(const std::wstring &text)
{
    std::string result;
    result.reserve(text.size());
    // wchar_t is signed here; a negative value is no scalar and becomes U+FFFD.
    for (wchar_t c : text) EncodeScalar(static_cast<char32_t>(static_cast<uint32_t>(c)), result);
    return result;
}

} // namespace core
} // namespace lumora
