// A labelled frame around other widgets; it stays below them (see Widget::CreateControl).
#include "lumora/gui/native.h"
#include "lumora/widgets.h"

namespace lumora {
namespace GUI {

GroupBox::GroupBox(const String &text, const Point &position, const Size &size) : Widget(position, size)
{
    this->text = text;
}

void GroupBox::CreateNative(HWND parent, const Point &origin)
{
    // Transparent to clipping: the window paints the page under the frame, which a group box
    // leaves undrawn, and the controls inside are never cut out by it.
    CreateControl(parent, origin, "BUTTON", BS_GROUPBOX, WS_EX_TRANSPARENT);
}

Size GroupBox::DefaultSize() const
{
    Size label = native::MeasureText(text);
    return Size(label.cx + 20, label.cy + 30);
}

} // namespace GUI
} // namespace lumora
