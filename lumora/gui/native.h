// Inside the library only: the Win32 calls that carry text or window procedures, each in the
// wide or the 8-bit form as Setup::enableUnicode says, and the shared GDI objects.
#ifndef LUMORA_GUI_NATIVE_H
#define LUMORA_GUI_NATIVE_H

#include "lumora/geometry.h"
#include "lumora/string.h"

#include <windows.h>

namespace lumora {
namespace GUI {
class Widget;
}

namespace native {

// Class names are plain ASCII, so one spelling serves both forms.
extern const char *const windowClassName;   // top-level library windows
extern const char *const titlebarClassName; // the drawn title bar

HINSTANCE LibraryInstance();

HWND CreateWindowText(DWORD exStyle, const char *className, const String &text, DWORD style, const Rect &rect,
                      HWND parent, UINT_PTR id, void *createParam);
void SetWindowText(HWND window, const String &text);
String GetWindowText(HWND window);
LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT DefaultProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
int DrawText(HDC dc, const String &text, RECT *rect, UINT format);
bool RegisterClass(const char *className, WNDPROC procedure, HBRUSH background, HICON icon);
void UnregisterClass(const char *className);

// The widget that owns a window made by the library, or null.
void SetOwner(HWND window, void *owner);
void *GetOwner(HWND window);

// The library widget behind a window of one of our own classes: taken from the creation
// parameters on WM_NCCREATE (and remembered there), from the window afterwards. Null for the
// few messages that arrive before WM_NCCREATE.
template <class T> T *OwnerOf(HWND window, UINT message, LPARAM lParam)
{
    if (message != WM_NCCREATE) return static_cast<T *>(static_cast<GUI::Widget *>(GetOwner(window)));
    T *owner = static_cast<T *>(reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams);
    SetOwner(window, static_cast<GUI::Widget *>(owner));
    return owner;
}
GUI::Widget *WidgetOf(HWND window);

// The dialog font of every control and the bold font of title bars; both live until Free.
HFONT DialogFont();
HFONT CaptionFont();
void ReleaseFonts();

// The size DrawText gives the text in the dialog font; "\n" starts a line.
// The extent of text in the dialog font; with wrapWidth, lines break at words to fit it.
Size MeasureText(const String &text, int wrapWidth = 0);

} // namespace native
} // namespace lumora

#endif
