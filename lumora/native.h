// The Windows calls with a wide and an 8-bit form that the program makes as well as the
// library. Each tests Setup::enableUnicode at the moment of the call and makes the W form with
// wide text when it is set, the A form with 8-bit text otherwise.
#ifndef LUMORA_NATIVE_H
#define LUMORA_NATIVE_H

#include "lumora/api.h"
#include "lumora/string.h"

#include <windows.h>

#include <shtypes.h>

namespace lumora {
namespace native {

LUMORA_API LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LUMORA_API BOOL Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// PeekMessage for every window of the thread, taking the message found off the queue.
LUMORA_API BOOL Peek(MSG &message, UINT first, UINT last);
LUMORA_API LRESULT Dispatch(const MSG &message);
// Takes the next waiting message, if there is one, and translates and dispatches it; false
// when none was waiting.
LUMORA_API bool PumpOneMessage(MSG &message);

// The whole text, up to its terminating zero.
LUMORA_API int DrawText(HDC dc, const String &text, RECT *rect, UINT format);

// SHGetPathFromIDList into a buffer of MAX_PATH characters; false when the item is no folder
// of the file system.
LUMORA_API bool PathFromIDList(LPCITEMIDLIST item, String &path);

} // namespace native
} // namespace lumora

#endif
