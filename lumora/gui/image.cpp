// A bitmap shown by a static control. The bitmap stays its owner's; the control only shows it.
#include "lumora/gui/native.h"
#include "lumora/widgets.h"

namespace lumora {
namespace GUI {

Image::Image(const Bitmap &bitmap, const Point &position, const Size &size)
    : Widget(position, size), bitmap(bitmap.GetSystemBitmap())
{
}

void Image::CreateNative(HWND parent, const Point &origin)
{
    // With a size of its own the picture is scaled to it; otherwise the control takes the bitmap's size.
    DWORD scaling = (size.cx || size.cy) ? SS_REALSIZECONTROL : 0;
    if (!CreateControl(parent, origin, "STATIC", SS_BITMAP | scaling)) return;
    native::Send(hwnd, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    if (scaling) Widget::Relayout(origin);
}

Size Image::DefaultSize() const
{
    return Bitmap(bitmap).GetSize();
}

} // namespace GUI
} // namespace lumora
