// A push button; its click is the onClick signal.
#include "lumora/gui/native.h"
#include "lumora/widgets.h"

namespace lumora {
namespace GUI {

Button::Button(const String &text, const Bitmap *bitmap, const Point &position, const Size &size)
    : Widget(position, size), bitmap(bitmap ? bitmap->GetSystemBitmap() : nullptr)
{
    this->text = text;
}

void Button::CreateNative(HWND parent, const Point &origin)
{
    if (!CreateControl(parent, origin, "BUTTON", BS_PUSHBUTTON | WS_TABSTOP | (bitmap ? BS_BITMAP : 0)))
        return;
    if (bitmap) native::Send(hwnd, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
}

void Button::Notify(int code)
{
    if (code == BN_CLICKED) onClick.Emit();
}

Size Button::DefaultSize() const
{
    return Size(75, 23);
}

} // namespace GUI
} // namespace lumora
