// The scrolled layer: a child window of its own whose widgets are children of it, moved
// together when the view moves.
#include "lumora/scroll_layer.h"

#include "lumora/gui/native.h"

#include <algorithm>

namespace lumora {
namespace GUI {

namespace {

const char scrollClassName[] = "LumoraScrollLayer";
const int wheelLines = 3; // steps a notch of the wheel moves, as the system's default

// Registered with the first layer made; the class lives as long as the library.
bool RegisterScrollClass()
{
    static bool registered =
        native::RegisterClass(scrollClassName, ScrollLayer::WindowProcedure,
                              reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)), nullptr);
    return registered;
}

} // namespace

ScrollLayer::ScrollLayer(const Point &position, const Size &size, int lineHeight)
    : Widget(position, size), lineHeight(lineHeight > 0 ? lineHeight : 1)
{
}

ScrollLayer::~ScrollLayer()
{
    if (Widget::container) Widget::container->UnregisterObject(this);
    DestroyNative();
}

int ScrollLayer::GetAreaHeight() const
{
    int height = 0;
    for (Object *object : objects)
        if (const Widget *widget = dynamic_cast<const Widget *>(object))
            height = std::max(height, widget->GetPosition().y + widget->GetSize().cy);
    return height;
}

int ScrollLayer::ViewHeight() const
{
    if (!hwnd) return GetSize().cy;
    RECT client;
    GetClientRect(hwnd, &client);
    return client.bottom - client.top;
}

int ScrollLayer::ScrollTo(int newTop)
{
    newTop = std::max(0, std::min(newTop, GetAreaHeight() - ViewHeight()));
    if (newTop == top) return 0;
    top = newTop;
    PlaceChildren();
    UpdateScrollBar();
    return 0;
}

int ScrollLayer::ScrollIntoView(const Widget *widget)
{
    if (!widget || widget->GetContainer() != this) return 1;
    int widgetTop = widget->GetPosition().y;
    int widgetBottom = widgetTop + widget->GetSize().cy;
    if (widgetTop < top) return ScrollTo(widgetTop);
    if (widgetBottom > top + ViewHeight()) return ScrollTo(widgetBottom - ViewHeight());
    return 0;
}

bool ScrollLayer::HandleArrowKey(const MSG &message)
{
    if (message.message != WM_KEYDOWN || (message.wParam != VK_UP && message.wParam != VK_DOWN)) return false;
    auto focused = std::find_if(objects.begin(), objects.end(), [&](Object *object) {
        Widget *widget = dynamic_cast<Widget *>(object);
        return widget && widget->GetSystemWindow() == message.hwnd;
    });
    if (focused == objects.end()) return false;
    const int step = message.wParam == VK_DOWN ? 1 : -1;
    // At either end the focus stays where it is.
    for (auto k = focused - objects.begin() + step; k >= 0 && k < static_cast<long>(objects.size());
         k += step) {
        Widget *widget = dynamic_cast<Widget *>(objects[static_cast<size_t>(k)]);
        if (widget && widget->GetSystemWindow() && widget->IsVisible() && widget->IsActive()) {
            SetFocus(widget->GetSystemWindow());
            break;
        }
    }
    return true;
}

int ScrollLayer::RegisterObject(Object *object)
{
    Widget *widget = dynamic_cast<Widget *>(object);
    if (!widget) return 1;
    int result = Container::RegisterObject(object);
    if (result == 0 && hwnd) {
        widget->CreateNative(hwnd, ChildOrigin(widget));
        UpdateScrollBar();
    }
    return result;
}

int ScrollLayer::UnregisterObject(Object *object)
{
    if (std::find(objects.begin(), objects.end(), object) == objects.end()) return 1;
    if (Widget *widget = dynamic_cast<Widget *>(object)) widget->DestroyNative();
    int result = Container::UnregisterObject(object);
    if (hwnd) ScrollTo(top);
    return result;
}

bool ScrollLayer::ShowsChildren() const
{
    return visible && ShownByContainer();
}

void ScrollLayer::ObjectChanged(Object *object)
{
    Widget *widget = dynamic_cast<Widget *>(object);
    if (hwnd && widget) widget->Relayout(ChildOrigin(widget));
    if (hwnd) UpdateScrollBar();
}

void ScrollLayer::CreateNative(HWND parent, const Point &origin)
{
    if (hwnd || !parent || !RegisterScrollClass()) return;
    DWORD style = WS_CHILD | WS_VSCROLL | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (visible && ShownByContainer()) style |= WS_VISIBLE;
    // The layer's widgets take part in the dialog keys (Tab, arrows) of the window that holds it.
    native::CreateWindowText(WS_EX_CONTROLPARENT, scrollClassName, text, style, Rect(origin, GetSize()),
                             parent, 0, this);
    if (!hwnd) return;
    for (Object *object : objects)
        if (Widget *widget = dynamic_cast<Widget *>(object)) widget->CreateNative(hwnd, ChildOrigin(widget));
    UpdateScrollBar();
}

void ScrollLayer::DestroyNative()
{
    for (Object *object : objects)
        if (Widget *widget = dynamic_cast<Widget *>(object)) widget->DestroyNative();
    Widget::DestroyNative();
}

void ScrollLayer::ForgetNative()
{
    for (Object *object : objects)
        if (Widget *widget = dynamic_cast<Widget *>(object)) widget->ForgetNative();
    Widget::ForgetNative();
}

void ScrollLayer::Relayout(const Point &origin)
{
    Widget::Relayout(origin);
    ScrollTo(top);
}

void ScrollLayer::ApplyVisibility()
{
    Widget::ApplyVisibility();
    for (Object *object : objects)
        if (Widget *widget = dynamic_cast<Widget *>(object)) widget->ApplyVisibility();
}

Point ScrollLayer::ChildOrigin(const Widget *child) const
{
    Point place = child->PlaceIn(Size(GetSize().cx, GetAreaHeight()));
    return Point(place.x, place.y - top);
}

void ScrollLayer::PlaceChildren()
{
    if (!hwnd) return;
    for (Object *object : objects)
        if (Widget *widget = dynamic_cast<Widget *>(object)) widget->Relayout(ChildOrigin(widget));
    InvalidateRect(hwnd, nullptr, TRUE);
}

void ScrollLayer::UpdateScrollBar()
{
    if (!hwnd) return;
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = std::max(0, GetAreaHeight() - 1);
    info.nPage = static_cast<UINT>(std::max(0, ViewHeight()));
    info.nPos = top;
    SetScrollInfo(hwnd, SB_VERT, &info, TRUE);
}

void ScrollLayer::Scroll(int request)
{
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_TRACKPOS;
    GetScrollInfo(hwnd, SB_VERT, &info);
    int page = std::max(lineHeight, ViewHeight() / lineHeight * lineHeight);
    switch (request) {
    case SB_LINEUP:
        ScrollTo(top - lineHeight);
        break;
    case SB_LINEDOWN:
        ScrollTo(top + lineHeight);
        break;
    case SB_PAGEUP:
        ScrollTo(top - page);
        break;
    case SB_PAGEDOWN:
        ScrollTo(top + page);
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        ScrollTo(info.nTrackPos);
        break;
    case SB_TOP:
        ScrollTo(0);
        break;
    case SB_BOTTOM:
        ScrollTo(GetAreaHeight());
        break;
    default:
        break;
    }
}

LRESULT ScrollLayer::Process(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_VSCROLL:
        Scroll(LOWORD(wParam));
        return 0;
    case WM_MOUSEWHEEL: {
        wheelRemainder += GET_WHEEL_DELTA_WPARAM(wParam);
        int notches = wheelRemainder / WHEEL_DELTA;
        wheelRemainder -= notches * WHEEL_DELTA;
        ScrollTo(top - notches * wheelLines * lineHeight);
        return 0;
    }
    case WM_COMMAND:
        if (Widget *widget = native::WidgetOf(reinterpret_cast<HWND>(lParam))) {
            if (HIWORD(wParam) == BN_SETFOCUS) ScrollIntoView(widget);
            widget->Notify(HIWORD(wParam));
        }
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
        if (Widget *widget = native::WidgetOf(reinterpret_cast<HWND>(lParam)))
            if (HBRUSH brush = widget->ControlColour(reinterpret_cast<HDC>(wParam)))
                return reinterpret_cast<LRESULT>(brush);
        break;
    default:
        break;
    }
    return native::DefaultProcedure(window, message, wParam, lParam);
}

LRESULT CALLBACK ScrollLayer::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    ScrollLayer *owner = native::OwnerOf<ScrollLayer>(window, message, lParam);
    if (owner && message == WM_NCCREATE) owner->hwnd = window;
    return owner ? owner->Process(window, message, wParam, lParam)
                 : native::DefaultProcedure(window, message, wParam, lParam);
}

} // namespace GUI
} // namespace lumora
