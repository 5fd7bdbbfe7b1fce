// Wide or 8-bit forms of the Win32 calls that carry text, chosen by Setup::enableUnicode.
#include "lumora/gui/native.h"

#include "lumora/process.h"
#include "lumora/widget.h"

#include <string>
#include <vector>

namespace lumora {
namespace native {

const char *const windowClassName = "LumoraWindow";
const char *const titlebarClassName = "LumoraTitlebar";

namespace {

std::wstring Widen(const char *ascii)
{
    return std::wstring(ascii, ascii + strlen(ascii));
}

HFONT captionFont = nullptr;

} // namespace

HINSTANCE LibraryInstance()
{
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&LibraryInstance), &module);
    return module;
}

HWND CreateWindowText(DWORD exStyle, const char *className, const String &text, DWORD style, const Rect &rect,
                      HWND parent, UINT_PTR id, void *createParam)
{
    HMENU menu = reinterpret_cast<HMENU>(id);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    if (Setup::enableUnicode)
        return CreateWindowExW(exStyle, Widen(className).c_str(), static_cast<const wchar_t *>(text), style,
                               rect.left, rect.top, width, height, parent, menu, LibraryInstance(),
                               createParam);
    return CreateWindowExA(exStyle, className, static_cast<const char *>(text), style, rect.left, rect.top,
                           width, height, parent, menu, LibraryInstance(), createParam);
}

void SetWindowText(HWND window, const String &text)
{
    if (Setup::enableUnicode)
        SetWindowTextW(window, static_cast<const wchar_t *>(text));
    else
        SetWindowTextA(window, static_cast<const char *>(text));
}

String GetWindowText(HWND window)
{
    if (Setup::enableUnicode) {
        int length = GetWindowTextLengthW(window);
        std::vector<wchar_t> buffer(length + 1);
        GetWindowTextW(window, buffer.data(), length + 1);
        return String(buffer.data());
    }
    int length = GetWindowTextLengthA(window);
    std::vector<char> buffer(length + 1);
    GetWindowTextA(window, buffer.data(), length + 1);
    return String(buffer.data());
}

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return Setup::enableUnicode ? SendMessageW(window, message, wParam, lParam)
                                : SendMessageA(window, message, wParam, lParam);
}

BOOL Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return Setup::enableUnicode ? PostMessageW(window, message, wParam, lParam)
                                : PostMessageA(window, message, wParam, lParam);
}

LRESULT DefaultProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return Setup::enableUnicode ? DefWindowProcW(window, message, wParam, lParam)
                                : DefWindowProcA(window, message, wParam, lParam);
}

int DrawText(HDC dc, const String &text, RECT *rect, UINT format)
{
    return Setup::enableUnicode ? DrawTextW(dc, static_cast<const wchar_t *>(text), -1, rect, format)
                                : DrawTextA(dc, static_cast<const char *>(text), -1, rect, format);
}

bool RegisterClass(const char *className, WNDPROC procedure, HBRUSH background, HICON icon)
{
    if (Setup::enableUnicode) {
        std::wstring name = Widen(className);
        WNDCLASSEXW windowClass = {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.style = CS_DBLCLKS;
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = LibraryInstance();
        windowClass.hIcon = icon;
        windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
        windowClass.hbrBackground = background;
        windowClass.lpszClassName = name.c_str();
        return RegisterClassExW(&windowClass) != 0;
    }
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = LibraryInstance();
    windowClass.hIcon = icon;
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = className;
    return RegisterClassExA(&windowClass) != 0;
}

void UnregisterClass(const char *className)
{
    if (Setup::enableUnicode)
        UnregisterClassW(Widen(className).c_str(), LibraryInstance());
    else
        UnregisterClassA(className, LibraryInstance());
}

void SetOwner(HWND window, void *owner)
{
    if (Setup::enableUnicode)
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    else
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
}

void *GetOwner(HWND window)
{
    LONG_PTR owner = Setup::enableUnicode ? GetWindowLongPtrW(window, GWLP_USERDATA)
                                          : GetWindowLongPtrA(window, GWLP_USERDATA);
    return reinterpret_cast<void *>(owner);
}

GUI::Widget *WidgetOf(HWND window)
{
    // Only windows of this thread's library carry a widget; others' user data means nothing here.
    DWORD process = 0;
    if (!window || !GetWindowThreadProcessId(window, &process) || process != GetCurrentProcessId())
        return nullptr;
    if (GetWindowLongPtrW(window, GWLP_HINSTANCE) != reinterpret_cast<LONG_PTR>(LibraryInstance()))
        return nullptr;
    return static_cast<GUI::Widget *>(GetOwner(window));
}

HFONT DialogFont()
{
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

HFONT CaptionFont()
{
    if (captionFont) return captionFont;
    if (Setup::enableUnicode) {
        NONCLIENTMETRICSW metrics = {};
        metrics.cbSize = sizeof metrics;
        if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
            captionFont = CreateFontIndirectW(&metrics.lfCaptionFont);
    } else {
        NONCLIENTMETRICSA metrics = {};
        metrics.cbSize = sizeof metrics;
        if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
            captionFont = CreateFontIndirectA(&metrics.lfCaptionFont);
    }
    return captionFont ? captionFont : DialogFont();
}

void ReleaseFonts()
{
    if (captionFont) DeleteObject(captionFont);
    captionFont = nullptr;
}

Size MeasureText(const String &text, int wrapWidth)
{
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, DialogFont());
    RECT rect = {0, 0, wrapWidth, 0};
    UINT format = DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | (wrapWidth > 0 ? DT_WORDBREAK : 0);
    // An empty text still has the height of one line, so a label keeps its place.
    DrawText(dc, text.Length() ? text : String(L" "), &rect, format);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    return Size(text.Length() ? rect.right - rect.left : 0, rect.bottom - rect.top);
}

} // namespace native
} // namespace lumora
