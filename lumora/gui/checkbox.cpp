// A check box whose state is the caller's bool.
#include "lumora/gui/native.h"
#include "lumora/widgets.h"

namespace lumora {
namespace GUI {

namespace {
const int boxWithGap = 20; // the square and the space before the label
const int choiceHeight = 17;
} // namespace

CheckBox::CheckBox(const String &text, const Point &position, const Size &size, bool *variable)
    : Widget(position, size), variable(variable)
{
    this->text = text;
}

bool CheckBox::IsChecked() const
{
    return variable && *variable;
}

void CheckBox::CreateNative(HWND parent, const Point &origin)
{
    // BS_NOTIFY tells the container when the box takes the focus, so a scrolled one can show it.
    if (!CreateControl(parent, origin, "BUTTON", BS_AUTOCHECKBOX | BS_NOTIFY | WS_TABSTOP)) return;
    native::Send(hwnd, BM_SETCHECK, IsChecked() ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CheckBox::Notify(int code)
{
    // A double click toggles the box twice and is told as one notification of its own.
    if ((code == BN_CLICKED || code == BN_DOUBLECLICKED) && variable && hwnd)
        *variable = native::Send(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool CheckBox::StartsGroup() const
{
    return !dynamic_cast<const CheckBox *>(PreviousInContainer());
}

Size CheckBox::DefaultSize() const
{
    return Size(native::MeasureText(text).cx + boxWithGap, choiceHeight);
}

} // namespace GUI
} // namespace lumora
