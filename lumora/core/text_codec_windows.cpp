// The 8-bit text of Windows: the system code page.
#include "lumora/core/text_codec.h"

#include <windows.h>

#include <climits>

namespace lumora {
namespace core {

std::wstring WidenText(const char *text, size_t length)
{
    if (length == 0 || length > INT_MAX) return std::wstring();
    int count = MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0);
    if (count <= 0) return std::wstring();
    std::wstring result(static_cast<size_t>(count), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), &result[0], count);
    return result;
}

std::string NarrowText(const std::wstring &text)
{
    if (text.empty() || text.size() > INT_MAX) return std::string();
    int length = static_cast<int>(text.size());
    int count = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (count <= 0) return std::string();
    std::string result(static_cast<size_t>(count), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), length, &result[0], count, nullptr, nullptr);
    return result;
}

} // namespace core
} // namespace lumora
