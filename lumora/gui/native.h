// Inside the library only: the Win32 calls that carry text or window procedures, each in the
// wide or the 8-bit form as Setup::enableUnicode says, and the shared GDI objects. The calls
// the program makes too are in lumora/native.h.
#ifndef LUMORA_GUI_NATIVE_H
#define LUMORA_GUI_NATIVE_H

#include "lumora/geometry.h"
#include "lumora/native.h"
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
LRESULT DefaultProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
bool RegisterClass(const char *className, WNDPROC procedure, HBRUSH background, HICON icon);
void UnregisterClass(const char *className);
// SetWindowLongPtr and GetWindowLongPtr.
void SetWindowData(HWND window, int index, LONG_PTR value);
LONG_PTR GetWindowData(HWND window, int index);

// GetMessage for every window of the thread: 0 on the quit message, -1 on an error.
BOOL GetNextMessage(MSG &message);
BOOL PostToThread(DWORD thread, UINT message, WPARAM wParam, LPARAM lParam);
// IsDialogMessage: true when the message was a dialog key for that window and has been handled.
BOOL HandleDialogKey(HWND dialog, MSG &message);

int ShowMessageBox(HWND owner, const String &text, const String &caption, UINT style);
// SHBrowseForFolder with a title and flags; the chosen item, to be freed with CoTaskMemFree, or null.
LPITEMIDLIST BrowseForFolder(HWND owner, const String &title, UINT flags);

String CurrentDirectory();
// The full path of a module's file, however long.
String ModuleFileName(HMODULE module);
// GetModuleHandle(nullptr): the program's own module.
HMODULE ProgramModule();
// The icon of a module's first icon group, or null.
HICON FirstIcon(HMODULE module);
// LoadIcon by resource number; a null module gives the system's icons.
HICON LoadIconById(HINSTANCE module, int id);

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
