// Wide or 8-bit forms of the Win32 calls, chosen by Setup::enableUnicode at each call: those
// the program makes too (lumora/native.h) and the library's own (lumora/gui/native.h).
#include "lumora/gui/native.h"

#include "lumora/process.h"
#include "lumora/widget.h"

#include <shlobj.h>

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

template <class WindowClass, class Char>
bool RegisterClassVia(ATOM(WINAPI *registerClass)(const WindowClass *), const Char *className,
                      WNDPROC procedure, HBRUSH background, HICON icon, HCURSOR cursor)
{
    WindowClass windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = LibraryInstance();
    windowClass.hIcon = icon;
    windowClass.hCursor = cursor;
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = className;
    return registerClass(&windowClass) != 0;
}

template <class Browse, class Char>
LPITEMIDLIST BrowseVia(LPITEMIDLIST(WINAPI *browseForFolder)(Browse *), HWND owner, const Char *title,
                       UINT flags)
{
    Browse browse = {};
    browse.hwndOwner = owner;
    browse.lpszTitle = title;
    browse.ulFlags = flags;
    return browseForFolder(&browse);
}

template <class Char>
bool PathVia(BOOL(WINAPI *pathFromIDList)(LPCITEMIDLIST, Char *), LPCITEMIDLIST item, String &path)
{
    Char buffer[MAX_PATH] = {};
    if (!pathFromIDList(item, buffer)) return false;
    path = buffer;
    return true;
}

template <class Char> String CurrentDirectoryVia(DWORD(WINAPI *currentDirectory)(DWORD, Char *))
{
    std::vector<Char> buffer(currentDirectory(0, nullptr) + 1);
    currentDirectory(static_cast<DWORD>(buffer.size()), buffer.data());
    return String(buffer.data());
}

// GetModuleFileName does not say how long the name is, only that it did not fit: grow until it does.
template <class Char>
std::basic_string<Char> ModuleFileNameVia(DWORD(WINAPI *moduleFileName)(HMODULE, Char *, DWORD),
                                          HMODULE module)
{
    for (DWORD capacity = MAX_PATH;; capacity *= 2) {
        std::vector<Char> buffer(capacity);
        DWORD length = moduleFileName(module, buffer.data(), capacity);
        if (length < capacity || capacity >= 32768) return std::basic_string<Char>(buffer.data(), length);
    }
}

// A resource name given to the callback lives only during it, so the icon is loaded there.
BOOL CALLBACK LoadFirstWideIcon(HMODULE module, LPCWSTR, LPWSTR name, LONG_PTR icon)
{
    *reinterpret_cast<HICON *>(icon) = LoadIconW(module, name);
    return FALSE;
}

BOOL CALLBACK LoadFirstIcon(HMODULE module, LPCSTR, LPSTR name, LONG_PTR icon)
{
    *reinterpret_cast<HICON *>(icon) = LoadIconA(module, name);
    return FALSE;
}

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
    const int arrowCursor = 32512; // IDC_ARROW
    if (Setup::enableUnicode)
        return RegisterClassVia(RegisterClassExW, Widen(className).c_str(), procedure, background, icon,
                                LoadCursorW(nullptr, MAKEINTRESOURCEW(arrowCursor)));
    return RegisterClassVia(RegisterClassExA, className, procedure, background, icon,
                            LoadCursorA(nullptr, MAKEINTRESOURCEA(arrowCursor)));
}

void UnregisterClass(const char *className)
{
    if (Setup::enableUnicode)
        UnregisterClassW(Widen(className).c_str(), LibraryInstance());
    else
        UnregisterClassA(className, LibraryInstance());
}

void SetWindowData(HWND window, int index, LONG_PTR value)
{
    if (Setup::enableUnicode)
        SetWindowLongPtrW(window, index, value);
    else
        SetWindowLongPtrA(window, index, value);
}

LONG_PTR GetWindowData(HWND window, int index)
{
    return Setup::enableUnicode ? GetWindowLongPtrW(window, index) : GetWindowLongPtrA(window, index);
}

BOOL Peek(MSG &message, UINT first, UINT last)
{
    return Setup::enableUnicode ? PeekMessageW(&message, nullptr, first, last, PM_REMOVE)
                                : PeekMessageA(&message, nullptr, first, last, PM_REMOVE);
}

BOOL GetNextMessage(MSG &message)
{
    return Setup::enableUnicode ? GetMessageW(&message, nullptr, 0, 0) : GetMessageA(&message, nullptr, 0, 0);
}

LRESULT Dispatch(const MSG &message)
{
    return Setup::enableUnicode ? DispatchMessageW(&message) : DispatchMessageA(&message);
}

bool PumpOneMessage(MSG &message)
{
    if (!Peek(message, 0, 0)) return false;
    TranslateMessage(&message);
    Dispatch(message);
    return true;
}

BOOL PostToThread(DWORD thread, UINT message, WPARAM wParam, LPARAM lParam)
{
    return Setup::enableUnicode ? PostThreadMessageW(thread, message, wParam, lParam)
                                : PostThreadMessageA(thread, message, wParam, lParam);
}

BOOL HandleDialogKey(HWND dialog, MSG &message)
{
    return Setup::enableUnicode ? IsDialogMessageW(dialog, &message) : IsDialogMessageA(dialog, &message);
}

int ShowMessageBox(HWND owner, const String &text, const String &caption, UINT style)
{
    if (Setup::enableUnicode)
        return MessageBoxW(owner, static_cast<const wchar_t *>(text), static_cast<const wchar_t *>(caption),
                           style);
    return MessageBoxA(owner, static_cast<const char *>(text), static_cast<const char *>(caption), style);
}

LPITEMIDLIST BrowseForFolder(HWND owner, const String &title, UINT flags)
{
    if (Setup::enableUnicode)
        return BrowseVia(SHBrowseForFolderW, owner, static_cast<const wchar_t *>(title), flags);
    return BrowseVia(SHBrowseForFolderA, owner, static_cast<const char *>(title), flags);
}

bool PathFromIDList(LPCITEMIDLIST item, String &path)
{
    return Setup::enableUnicode ? PathVia(SHGetPathFromIDListW, item, path)
                                : PathVia(SHGetPathFromIDListA, item, path);
}

String CurrentDirectory()
{
    return Setup::enableUnicode ? CurrentDirectoryVia(GetCurrentDirectoryW)
                                : CurrentDirectoryVia(GetCurrentDirectoryA);
}

String ModuleFileName(HMODULE module)
{
    if (Setup::enableUnicode) return String(ModuleFileNameVia(GetModuleFileNameW, module).c_str());
    return String(ModuleFileNameVia(GetModuleFileNameA, module).c_str());
}

HMODULE ProgramModule()
{
    return Setup::enableUnicode ? GetModuleHandleW(nullptr) : GetModuleHandleA(nullptr);
}

HICON FirstIcon(HMODULE module)
{
    const int iconGroup = 14; // RT_GROUP_ICON
    HICON icon = nullptr;
    if (Setup::enableUnicode)
        EnumResourceNamesW(module, MAKEINTRESOURCEW(iconGroup), LoadFirstWideIcon,
                           reinterpret_cast<LONG_PTR>(&icon));
    else
        EnumResourceNamesA(module, MAKEINTRESOURCEA(iconGroup), LoadFirstIcon,
                           reinterpret_cast<LONG_PTR>(&icon));
    return icon;
}

HICON LoadIconById(HINSTANCE module, int id)
{
    return Setup::enableUnicode ? LoadIconW(module, MAKEINTRESOURCEW(id))
                                : LoadIconA(module, MAKEINTRESOURCEA(id));
}

void SetOwner(HWND window, void *owner)
{
    SetWindowData(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
}

void *GetOwner(HWND window)
{
    return reinterpret_cast<void *>(GetWindowData(window, GWLP_USERDATA));
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
