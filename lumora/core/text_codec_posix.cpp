// The 8-bit text of the other platforms: UTF-8.
#include "lumora/core/text_codec.h"

#include "lumora/utf8.h"

namespace lumora {
namespace core {

static_assert(sizeof(wchar_t) == 4, "wide characters hold whole Unicode scalars here");

std::wstring WidenText(const char *text, size_t length)
{
    return WideFromUtf8(std::string(text, length));
}

std::string NarrowText(const std::wstring &text)
{
    return Utf8FromWide(text);
}

} // namespace core
} // namespace lumora
