// Radio buttons grouped by the variable they share, wherever they lie.
#include "lumora/gui/native.h"
#include "lumora/widgets.h"

#include <algorithm>
#include <vector>

namespace lumora {
namespace GUI {

namespace {

const int circleWithGap = 20;
const int choiceHeight = 17;

// Every option box alive, so a click can update the others of its variable (window thread only).
std::vector<OptionBox *> &AllOptionBoxes()
{
    static std::vector<OptionBox *> boxes;
    return boxes;
}

} // namespace

OptionBox::OptionBox(const String &text, const Point &position, const Size &size, int *variable, int value)
    : Widget(position, size), variable(variable), value(value)
{
    this->text = text;
    AllOptionBoxes().push_back(this);
}

OptionBox::~OptionBox()
{
    std::vector<OptionBox *> &boxes = AllOptionBoxes();
    boxes.erase(std::remove(boxes.begin(), boxes.end(), this), boxes.end());
}

bool OptionBox::IsSelected() const
{
    return variable && *variable == value;
}

void OptionBox::CreateNative(HWND parent, const Point &origin)
{
    // A plain radio button: the variable, not the control's sibling order, decides the selection.
    // BS_NOTIFY tells when the arrow keys move the focus onto it.
    if (CreateControl(parent, origin, "BUTTON", BS_RADIOBUTTON | BS_NOTIFY)) ShowSelection();
}

void OptionBox::Notify(int code)
{
    if ((code != BN_CLICKED && code != BN_SETFOCUS) || !variable) return;
    *variable = value;
    for (OptionBox *box : AllOptionBoxes())
        if (box->variable == variable) box->ShowSelection();
}

Size OptionBox::DefaultSize() const
{
    return Size(native::MeasureText(text).cx + circleWithGap, choiceHeight);
}

bool OptionBox::StartsGroup() const
{
    const OptionBox *previous = dynamic_cast<const OptionBox *>(PreviousInContainer());
    return !previous || previous->variable != variable;
}

void OptionBox::ShowSelection()
{
    if (!hwnd) return;
    native::Send(hwnd, BM_SETCHECK, IsSelected() ? BST_CHECKED : BST_UNCHECKED, 0);
    LONG_PTR style = native::GetWindowData(hwnd, GWL_STYLE);
    LONG_PTR tabStop = IsSelected() ? WS_TABSTOP : 0;
    if ((style & WS_TABSTOP) != tabStop)
        native::SetWindowData(hwnd, GWL_STYLE, (style & ~WS_TABSTOP) | tabStop);
}

} // namespace GUI
} // namespace lumora
