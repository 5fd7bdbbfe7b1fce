// Polling and text conversion shared by the driver's parts.
#include "tests/driver/ui_driver.h"

#include <cwchar>

namespace uidriver {

DWORD Patient(DWORD timeoutMs)
{
    static const DWORD factor = [] {
        wchar_t text[16] = {};
        if (!GetEnvironmentVariableW(L"UIDRIVER_PATIENCE", text, 16)) return 1ul;
        unsigned long value = wcstoul(text, nullptr, 10);
        return value >= 1 && value <= 100 ? value : 1ul;
    }();
    if (timeoutMs == INFINITE || timeoutMs > INFINITE / factor) return timeoutMs;
    return timeoutMs * factor;
}

bool WaitUntil(const std::function<bool()> &condition, DWORD timeoutMs, DWORD pollMs)
{
    timeoutMs = Patient(timeoutMs);
    // Unsigned differences stay right across the 49-day wrap of the tick count.
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(pollMs);
    }
}

std::string Narrow(const std::wstring &text)
{
    if (text.empty()) return {};
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                   nullptr, nullptr);
    std::string utf8(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &utf8[0], size, nullptr,
                        nullptr);
    return utf8;
}

std::wstring Widen(const std::string &utf8)
{
    if (utf8.empty()) return {};
    int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring text(size, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &text[0], size);
    return text;
}

} // namespace uidriver
