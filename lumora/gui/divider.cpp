// An etched line across the window, placed from the window's size rather than from a corner.
#include "lumora/gui/native.h"
#include "lumora/widgets.h"
#include "lumora/window.h"

namespace lumora {
namespace GUI {

namespace {
const int lineWidth = 2; // an etched line: one dark and one light pixel
}

Divider::Divider(int position, int flags) : dividerPosition(position), dividerFlags(flags) {}

Rect Divider::Placement(HWND parent) const
{
    RECT client;
    GetClientRect(parent, &client);
    bool fromStart = (dividerFlags & DIV_FROM_START) != 0;
    if (dividerFlags & DIV_VERTICAL) {
        int x = fromStart ? dividerPosition : client.right - dividerPosition;
        return Rect(x, WINDOW_BORDER, x + lineWidth, client.bottom - WINDOW_BORDER);
    }
    int y = fromStart ? dividerPosition : client.bottom - dividerPosition;
    return Rect(WINDOW_BORDER, y, client.right - WINDOW_BORDER, y + lineWidth);
}

void Divider::CreateNative(HWND parent, const Point &)
{
    if (hwnd || !parent) return;
    Rect place = Placement(parent);
    position = Point(place.left, place.top);
    size = Size(place.right - place.left, place.bottom - place.top);
    // Some static controls stretch an etched line as they are made; the line's extent is ours.
    if (CreateControl(parent, position, "STATIC",
                      (dividerFlags & DIV_VERTICAL) ? SS_ETCHEDVERT : SS_ETCHEDHORZ))
        Widget::Relayout(position);
}

void Divider::Relayout(const Point &)
{
    if (!hwnd) return;
    Rect place = Placement(GetParent(hwnd));
    position = Point(place.left, place.top);
    size = Size(place.right - place.left, place.bottom - place.top);
    Widget::Relayout(position);
}

} // namespace GUI
} // namespace lumora
