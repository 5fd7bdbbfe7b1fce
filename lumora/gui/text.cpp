// Static text that sizes itself to its lines unless a size was given.
#include "lumora/gui/native.h"
#include "lumora/widgets.h"

namespace lumora {
namespace GUI {

namespace {

const int rightMargin = 9; // as far from the right edge as the button row is from the left

} // namespace

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
    // A line longer than the room left in its container wraps at words instead of running
    // out of the window: the text's author cannot know the fonts of the system it runs on.
    const Widget *holder = dynamic_cast<const Widget *>(container);
    if (!holder || orientation != OR_UPPERLEFT) return naturalSize;
    int room = holder->GetSize().cx - position.x - rightMargin;
    if (room <= 0 || naturalSize.cx <= room) return naturalSize;
    Size wrapped = native::MeasureText(text, room);
    return Size(room, wrapped.cy);
}

} // namespace GUI
} // namespace lumora
