// UTF-8 and the ASCII letter case, the one codec of the library and of every program built on it.
// Wide text is UTF-16 where wchar_t has 16 bits (Windows: a character above U+FFFF takes a
// surrogate pair) and one unit per character where it has 32.
#ifndef LUMORA_UTF8_H
#define LUMORA_UTF8_H

#include "lumora/api.h"

#include <cstddef>
#include <string>

namespace lumora {

// The length of the well-formed UTF-8 sequence at bytes[at], with its character in code; 0 when
// the byte there begins none (a stray or missing continuation byte, an overlong form, a surrogate,
// a value beyond U+10FFFF, or a sequence cut short by the end).
LUMORA_API size_t Utf8SequenceAt(const std::string &bytes, size_t at, char32_t &code);

// Whether every byte belongs to a well-formed sequence.
LUMORA_API bool IsUtf8(const std::string &bytes);

// Each byte that begins no well-formed sequence becomes U+FFFD, so no input is rejected.
LUMORA_API std::wstring WideFromUtf8(const std::string &bytes);

// A unit that is no character (a lone surrogate, a value beyond U+10FFFF) becomes U+FFFD.
LUMORA_API std::string Utf8FromWide(const std::wstring &text);
LUMORA_API std::string Utf8FromCharacter(char32_t code);

// UTF-16 units as wide text; a lone surrogate becomes U+FFFD.
LUMORA_API std::wstring WideFromUtf16(const std::u16string &units);

// The character at text[at], a surrogate pair taken whole, and the units it takes in used; a
// lone surrogate is U+FFFD.
LUMORA_API char32_t CharacterAt(const std::wstring &text, size_t at, size_t &used);

// a to z as A to Z, nothing else: how Windows compares the names of sections, keys and devices.
inline wchar_t AsciiUpper(wchar_t c)
{
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}
inline char AsciiUpper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
LUMORA_API std::wstring AsciiUppercase(const std::wstring &text);
LUMORA_API std::string AsciiUppercase(const std::string &text);
LUMORA_API bool SameIgnoringAsciiCase(const std::wstring &left, const std::wstring &right);

} // namespace lumora

#endif
