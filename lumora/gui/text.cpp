// Static text that sizes itself to its lines unless a size was given.
#include "lumora/gui/native.h"
#include "lumora/widgets.h"

namespace lumora {
namespace GUI {

Text::Text(const String &text, const Point &position) : Widget(position, Size())
{
    this->text = text;
    naturalSize = native::MeasureText(text);
}

int Text::SetText(const String &newText)
{
    text = newText;
    naturalSize = native::MeasureText(text);
    if (!hwnd) return 0;
    native::SetWindowText(hwnd, text);
    if (container) container->ObjectChanged(this); // the natural size follows the text
    return 0;
}

void Text::CreateNative(HWND parent, const Point &origin)
{
    CreateControl(parent, origin, "STATIC", SS_LEFT | SS_NOPREFIX);
}

Size Text::DefaultSize() const
{
    return naturalSize;
}

} // namespace GUI
} // namespace lumora
