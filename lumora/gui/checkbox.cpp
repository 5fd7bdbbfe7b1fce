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
    if (!CreateControl(parent, origin, "BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP)) return;
    native::Send(hwnd, BM_SETCHECK, IsChecked() ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CheckBox::Notify(int code)
{
    if (code == BN_CLICKED && variable && hwnd)
        *variable = native::Send(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

Size CheckBox::DefaultSize() const
{
    return Size(native::MeasureText(text).cx + boxWithGap, choiceHeight);
}

} // namespace GUI
} // namespace lumora
