// Conversion between the library's wide text and the platform's 8-bit text.
#ifndef LUMORA_CORE_TEXT_CODEC_H
#define LUMORA_CORE_TEXT_CODEC_H

#include <string>

namespace lumora {
namespace core {

// Windows: the system code page. Elsewhere: UTF-8, where a byte that does not begin a
// valid sequence becomes U+FFFD, so that no input is ever rejected.
std::wstring WidenText(const char *text, size_t length);

// Windows: the system code page, with the system's default character for what it lacks.
// Elsewhere: UTF-8; a value that is no Unicode scalar (a surrogate, or above U+10FFFF)
// becomes U+FFFD.
std::string NarrowText(const std::wstring &text);

} // namespace core
} // namespace lumora

#endif
