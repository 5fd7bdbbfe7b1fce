// State every widget keeps with or without its native window, and the standard-control plumbing.
#include "lumora/widget.h"

#include "lumora/gui/native.h"
#include "lumora/widgets.h"

namespace lumora {
namespace GUI {

namespace {

// Control identifiers stay clear of IDOK and IDCANCEL, which keyboard navigation sends itself.
UINT_PTR NextControlId()
{
    static UINT_PTR next = 1000;
    return next++;
}

bool IsGroupBox(HWND window)
{
    return dynamic_cast<GroupBox *>(native::WidgetOf(window)) != nullptr;
}

// Group boxes lie below every other control, so that clipping against siblings never hides
// the controls they frame; the others keep the order in which they were made.
void Stack(HWND control, bool groupBox)
{
    if (groupBox) {
        SetWindowPos(control, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return;
    }
    for (HWND sibling = GetWindow(GetParent(control), GW_CHILD); sibling;
         sibling = GetWindow(sibling, GW_HWNDNEXT)) {
        if (sibling == control || !IsGroupBox(sibling)) continue;
        HWND above = GetWindow(sibling, GW_HWNDPREV);
        if (above == control) return;
        SetWindowPos(control, above ? above : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return;
    }
}

} // namespace

Widget::Widget(const Point &position, const Size &size) : position(position), size(size) {}

Widget::~Widget()
{
    if (container) container->UnregisterObject(this);
    DestroyNative();
}

Size Widget::GetSize() const
{
    Size resolved = size;
    if (resolved.cx && resolved.cy && !KeepsWholeText()) return resolved;
    Size natural = DefaultSize();
    if (!resolved.cx || (KeepsWholeText() && resolved.cx < natural.cx)) resolved.cx = natural.cx;
    if (!resolved.cy) resolved.cy = natural.cy;
    return resolved;
}

int Widget::SetMetrics(const Point &newPosition, const Size &newSize)
{
    position = newPosition;
    size = newSize;
    if (container) container->ObjectChanged(this);
    return 0;
}

int Widget::SetOrientation(int newOrientation)
{
    if (newOrientation < OR_UPPERLEFT || newOrientation > OR_LOWERRIGHT) return 1;
    orientation = newOrientation;
    if (container) container->ObjectChanged(this);
    return 0;
}

String Widget::GetText() const
{
    return text;
}

int Widget::SetText(const String &newText)
{
    text = newText;
    if (hwnd) native::SetWindowText(hwnd, text);
    return 0;
}

int Widget::ChangeVisibility(bool shown)
{
    visible = shown;
    ApplyVisibility();
    return 0;
}

int Widget::ChangeActivity(bool enabled)
{
    active = enabled;
    ApplyActivity();
    return 0;
}

int Widget::Focus()
{
    if (!hwnd) return 1;
    // As a dialog is told: its window keeps the control for the next time it is activated.
    native::Send(GetAncestor(hwnd, GA_ROOT), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hwnd), TRUE);
    return 0;
}

int Widget::SetTabPosition(const Widget *previous)
{
    if (!hwnd || (previous && GetParent(previous->hwnd) != GetParent(hwnd))) return 1;
    SetWindowPos(hwnd, previous ? previous->hwnd : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return 0;
}

const Widget *Widget::PreviousInContainer() const
{
    if (!container) return nullptr;
    const Widget *previous = nullptr;
    for (int k = 0; k < container->GetNOfObjects(); ++k) {
        const Object *object = container->GetNthObject(k);
        if (object == this) return previous;
        previous = dynamic_cast<const Widget *>(object);
    }
    return nullptr;
}

void Widget::DestroyNative()
{
    if (!hwnd) return;
    HWND window = hwnd;
    hwnd = nullptr;
    native::SetOwner(window, nullptr);
    DestroyWindow(window);
    ForgetNative();
}

void Widget::ForgetNative()
{
    hwnd = nullptr;
}

void Widget::Relayout(const Point &origin)
{
    if (!hwnd) return;
    Size extent = GetSize();
    SetWindowPos(hwnd, nullptr, origin.x, origin.y, extent.cx, extent.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

Point Widget::PlaceIn(const Size &containerSize) const
{
    bool fromRight = orientation == OR_UPPERRIGHT || orientation == OR_LOWERRIGHT;
    bool fromBottom = orientation == OR_LOWERLEFT || orientation == OR_LOWERRIGHT;
    return Point(fromRight ? containerSize.cx - position.x : position.x,
                 fromBottom ? containerSize.cy - position.y : position.y);
}

void Widget::ApplyVisibility()
{
    if (hwnd) ShowWindow(hwnd, visible && ShownByContainer() ? SW_SHOWNA : SW_HIDE);
}

void Widget::Notify(int) {}

HBRUSH Widget::ControlColour(HDC)
{
    return nullptr;
}

HWND Widget::CreateControl(HWND parent, const Point &origin, const char *className, DWORD style,
                           DWORD exStyle)
{
    if (hwnd || !parent) return hwnd;
    style |= WS_CHILD | WS_CLIPSIBLINGS;
    if (visible && ShownByContainer()) style |= WS_VISIBLE;
    if (StartsGroup()) style |= WS_GROUP;
    Size extent = GetSize();
    hwnd = native::CreateWindowText(exStyle, className, text, style, Rect(origin, extent), parent,
                                    NextControlId(), nullptr);
    if (!hwnd) return nullptr;
    native::SetOwner(hwnd, this);
    native::Send(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(native::DialogFont()), FALSE);
    Stack(hwnd, dynamic_cast<GroupBox *>(this) != nullptr);
    if (!active) ApplyActivity();
    return hwnd;
}

void Widget::ApplyActivity()
{
    if (hwnd) EnableWindow(hwnd, active);
}

bool Widget::ShownByContainer() const
{
    return !container || container->ShowsChildren();
}

} // namespace GUI
} // namespace lumora
