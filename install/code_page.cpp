#include "install/code_page.h"

#ifdef _WIN32
#include <windows.h>

#include <climits>
#else
#include <iconv.h>
#include <vector>
#endif

namespace {

bool IsAscii(const std::string &bytes)
{
    for (char c : bytes)
        if (static_cast<unsigned char>(c) > 127) return false;
    return true;
}

bool IsAscii(const std::wstring &text)
{
    for (wchar_t c : text)
        if (static_cast<unsigned long>(c) > 127) return false;
    return true;
}

#ifdef _WIN32

UINT SystemCodePageOf(int codePage)
{
    return codePage == systemCodePage ? CP_ACP : static_cast<UINT>(codePage);
}

bool Decode(int codePage, const std::string &bytes, std::wstring &text)
{
    if (bytes.size() > INT_MAX) return false;
    UINT page = SystemCodePageOf(codePage);
    int length = static_cast<int>(bytes.size());
    int count = MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, bytes.data(), length, nullptr, 0);
    if (count <= 0) return false;
    text.assign(static_cast<size_t>(count), L'\0');
    return MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, bytes.data(), length, &text[0], count) == count;
}

bool Encode(int codePage, const std::wstring &text, std::string &bytes)
{
    if (text.size() > INT_MAX) return false;
    UINT page = SystemCodePageOf(codePage);
    int length = static_cast<int>(text.size());
    BOOL defaultUsed = FALSE;
    int count = WideCharToMultiByte(page, WC_NO_BEST_FIT_CHARS, text.data(), length, nullptr, 0, nullptr,
                                    &defaultUsed);
    if (count <= 0 || defaultUsed) return false;
    bytes.assign(static_cast<size_t>(count), '\0');
    return WideCharToMultiByte(page, WC_NO_BEST_FIT_CHARS, text.data(), length, &bytes[0], count, nullptr,
                               &defaultUsed) == count &&
           !defaultUsed;
}

#else

static_assert(sizeof(wchar_t) == 4, "iconv's WCHAR_T holds whole Unicode scalars here");

// Runs the whole input through one conversion, the final shift state included (some code
// pages hold back a character that a combining mark may still follow).
bool Convert(const char *to, const char *from, const char *input, size_t inputSize, char *output,
             size_t outputSize, size_t &produced)
{
    iconv_t converter = iconv_open(to, from);
    if (converter == reinterpret_cast<iconv_t>(-1)) return false;
    char *in = const_cast<char *>(input);
    char *out = output;
    size_t inLeft = inputSize;
    size_t outLeft = outputSize;
    bool ok = iconv(converter, &in, &inLeft, &out, &outLeft) != static_cast<size_t>(-1) && inLeft == 0 &&
              iconv(converter, nullptr, nullptr, &out, &outLeft) != static_cast<size_t>(-1);
    iconv_close(converter);
    produced = outputSize - outLeft;
    return ok;
}

std::string IconvName(int codePage)
{
    return "CP" + std::to_string(codePage);
}

bool Decode(int codePage, const std::string &bytes, std::wstring &text)
{
    // One character per byte at most, and one held back.
    std::vector<wchar_t> buffer(bytes.size() + 2);
    size_t produced = 0;
    if (!Convert("WCHAR_T", IconvName(codePage).c_str(), bytes.data(), bytes.size(),
                 reinterpret_cast<char *>(buffer.data()), buffer.size() * sizeof(wchar_t), produced))
        return false;
    text.assign(buffer.data(), produced / sizeof(wchar_t));
    return true;
}

bool Encode(int codePage, const std::wstring &text, std::string &bytes)
{
    // A character takes at most two bytes, a precomposed one split into letter and mark too.
    std::vector<char> buffer(text.size() * 4 + 8);
    size_t produced = 0;
    if (!Convert(IconvName(codePage).c_str(), "WCHAR_T", reinterpret_cast<const char *>(text.data()),
                 text.size() * sizeof(wchar_t), buffer.data(), buffer.size(), produced))
        return false;
    bytes.assign(buffer.data(), produced);
    return true;
}

#endif

} // namespace

bool HasCodePageTables(int codePage)
{
#ifdef _WIN32
    return codePage == systemCodePage || IsWindowsCodePage(codePage);
#else
    return IsWindowsCodePage(codePage);
#endif
}

bool IsWindowsCodePage(int codePage)
{
    return codePage == 874 || codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950 ||
           (codePage >= 1250 && codePage <= 1258);
}

bool DecodeCodePage(int codePage, const std::string &bytes, std::wstring &text)
{
    if (IsAscii(bytes)) {
        text.assign(bytes.begin(), bytes.end());
        return true;
    }
    return HasCodePageTables(codePage) && Decode(codePage, bytes, text);
}

bool EncodeCodePage(int codePage, const std::wstring &text, std::string &bytes)
{
    if (IsAscii(text)) {
        bytes.assign(text.begin(), text.end());
        return true;
    }
    return HasCodePageTables(codePage) && Encode(codePage, text, bytes);
}
