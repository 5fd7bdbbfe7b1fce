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
    if (CreateControl(parent, origin, "BUTTON", BS_RADIOBUTTON | WS_TABSTOP)) ShowSelection();
}

void OptionBox::Notify(int code)
{
    if (code != BN_CLICKED || !variable) return;
    *variable = value;
    for (OptionBox *box : AllOptionBoxes())
        if (box->variable == variable) box->ShowSelection();
}

Size OptionBox::DefaultSize() const
{
    return Size(native::MeasureText(text).cx + circleWithGap, choiceHeight);
}

void OptionBox::ShowSelection()
{
    if (hwnd) native::Send(hwnd, BM_SETCHECK, IsSelected() ? BST_CHECKED : BST_UNCHECKED, 0);
}

} // namespace GUI
} // namespace lumora
