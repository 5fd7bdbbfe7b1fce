// The top-level window: its own 3-pixel raised border, paint and close handling, child layout.
#include "lumora/window.h"

#include "lumora/application.h"
#include "lumora/gui/native.h"
#include "lumora/gui/session.h"
#include "lumora/layer.h"
#include "lumora/widgets.h"

#include <algorithm>

namespace lumora {
namespace GUI {

namespace {

// The size of a window registered without one: the library's standard dialog size.
const Size defaultWindowSize(480, 355);

} // namespace

Window::Window(const String &title, const Point &position, const Size &size, void *) : Widget(position, size)
{
    text = title;
}

Window::~Window()
{
    dying = true;
    if (Widget::container) Widget::container->UnregisterObject(this);
    DestroyNative();
}

int Window::SetText(const String &title)
{
    text = title;
    if (hwnd) native::SetWindowText(hwnd, title); // WM_SETTEXT passes it on to the title bars
    return 0;
}

int Window::SetMetrics(const Point &newPosition, const Size &newSize)
{
    position = newPosition;
    size = newSize;
    if (hwnd) {
        Size extent = GetSize();
        SetWindowPos(hwnd, nullptr, position.x, position.y, extent.cx, extent.cy,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return 0;
}

int Window::SetFlags(int newFlags)
{
    flags = newFlags;
    if (Application *application = dynamic_cast<Application *>(Widget::container))
        application->ArrangeGroup();
    return 0;
}

Rect Window::GetUpdateRect() const
{
    if (surface || !hwnd) return updateRect;
    RECT pending = {0, 0, 0, 0};
    ::GetUpdateRect(hwnd, &pending, FALSE);
    return Rect(pending);
}

Surface *Window::GetDrawSurface()
{
    return surface;
}

Rect Window::GetContentArea() const
{
    bool titled = std::any_of(objects.begin(), objects.end(),
                              [](Object *object) { return dynamic_cast<Titlebar *>(object) != nullptr; });
    Size extent = GetSize();
    return Rect(WINDOW_BORDER, WINDOW_BORDER + (titled ? TITLEBAR_HEIGHT : 0), extent.cx - WINDOW_BORDER,
                extent.cy - WINDOW_BORDER);
}

int Window::Close()
{
    if (!hwnd) return -1;
    if (!AllowsQuit()) return 1;
    DestroyNative();
    return 0;
}

bool Window::AllowsQuit()
{
    // A second request while the first one is still asking (its message box is open) is the same request.
    if (asking) return false;
    asking = true;
    bool allowed = doQuit.Call(true);
    asking = false;
    return allowed;
}

int Window::RegisterObject(Object *object)
{
    Widget *widget = dynamic_cast<Widget *>(object);
    if (!widget || dynamic_cast<Window *>(object)) return 1;
    int result = Container::RegisterObject(object);
    if (result || !hwnd) return result;
    widget->CreateNative(hwnd, ChildOrigin(widget));
    if (dynamic_cast<Titlebar *>(widget)) RelayoutChildren();
    return 0;
}

int Window::UnregisterObject(Object *object)
{
    if (std::find(objects.begin(), objects.end(), object) == objects.end()) return 1;
    if (Widget *widget = dynamic_cast<Widget *>(object)) widget->DestroyNative();
    int result = Container::UnregisterObject(object);
    if (hwnd && !dying) RelayoutChildren(); // a title bar that left frees its band
    return result;
}

void Window::ObjectChanged(Object *object)
{
    Widget *widget = dynamic_cast<Widget *>(object);
    if (hwnd && widget) widget->Relayout(ChildOrigin(widget));
}

void Window::CreateNative(HWND parent, const Point &)
{
    if (hwnd) return;
    if (!position.x && !position.y && !size.cx && !size.cy) {
        size = defaultWindowSize;
        position = Point((GetSystemMetrics(SM_CXSCREEN) - size.cx) / 2,
                         (GetSystemMetrics(SM_CYSCREEN) - size.cy) / 2);
    }
    // Without a system caption the window draws its own frame; WS_SYSMENU keeps the system's
    // close command (Alt+F4, the taskbar) working.
    DWORD style = WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU;
    native::CreateWindowText(WS_EX_APPWINDOW, native::windowClassName, text, style, Rect(position, GetSize()),
                             parent, 0, this);
    if (!hwnd) return;
    for (Object *object : objects)
        if (Widget *widget = dynamic_cast<Widget *>(object)) widget->CreateNative(hwnd, ChildOrigin(widget));
}

void Window::DestroyNative()
{
    if (!hwnd || destroying) return;
    destroying = true;
    DestroyWindow(hwnd); // WM_NCDESTROY drops every handle below this window
    destroying = false;
}

void Window::ForgetNative()
{
    hwnd = nullptr;
    for (Object *object : objects)
        if (Widget *widget = dynamic_cast<Widget *>(object)) widget->ForgetNative();
}

void Window::ApplyVisibility()
{
    if (hwnd) ShowWindow(hwnd, visible ? SW_SHOW : SW_HIDE);
}

Size Window::DefaultSize() const
{
    return defaultWindowSize;
}

Point Window::ChildOrigin(const Widget *child) const
{
    if (!dynamic_cast<const Layer *>(child)) return child->PlaceIn(GetSize());
    Rect area = GetContentArea();
    Point place = child->PlaceIn(Size(area.right - area.left, area.bottom - area.top));
    return Point(area.left + place.x, area.top + place.y);
}

void Window::RelayoutChildren()
{
    for (Object *object : objects)
        if (Widget *widget = dynamic_cast<Widget *>(object)) widget->Relayout(ChildOrigin(widget));
}

void Window::RepaintTitlebars(bool newTitle)
{
    for (Object *object : objects) {
        Titlebar *titlebar = dynamic_cast<Titlebar *>(object);
        if (!titlebar) continue;
        if (newTitle)
            titlebar->SetText(text);
        else if (titlebar->GetSystemWindow())
            InvalidateRect(titlebar->GetSystemWindow(), nullptr, FALSE);
    }
}

int Window::SetDefaultButton(Button *button)
{
    defaultButton = button;
    if (hwnd) ShowDefaultFrame(GetFocus());
    return 0;
}

int Window::SetCancelButton(Button *button)
{
    cancelButton = button;
    return 0;
}

bool Window::Reaches(const Button *button) const
{
    HWND control = button ? button->GetSystemWindow() : nullptr;
    return control && IsChild(hwnd, control) && IsWindowVisible(control) && IsWindowEnabled(control);
}

void Window::MoveFocus(HWND control)
{
    if (!control || !IsChild(hwnd, control)) return;
    focus = control;
    if (GetActiveWindow() == hwnd) SetFocus(control);
    ShowDefaultFrame(control);
}

// A push button with the focus is the one Enter presses, and is framed so; elsewhere the default
// button is.
void Window::ShowDefaultFrame(HWND focused)
{
    auto isPushButton = [](HWND control) {
        return control &&
               (native::Send(control, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON));
    };
    HWND framed = isPushButton(focused) ? focused
                  : defaultButton       ? defaultButton->GetSystemWindow()
                                        : nullptr;
    for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!isPushButton(child)) continue;
        bool framedNow = (native::Send(child, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) != 0;
        if (framedNow != (child == framed))
            native::Send(child, BM_SETSTYLE, child == framed ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    }
}

bool Window::IsCaptionActive() const
{
    // Asked when the title bar paints, after any activation nested in another has settled.
    return hwnd && GetActiveWindow() == hwnd;
}

void Window::Paint()
{
    HWND window = hwnd;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    updateRect = Rect(paint.rcPaint);
    RECT frame;
    GetClientRect(window, &frame);
    DrawEdge(dc, &frame, EDGE_RAISED, BF_RECT);
    Surface drawing(dc);
    surface = &drawing;
    if (!dying) onPaint.Emit();
    surface = nullptr;
    EndPaint(window, &paint);
}

LRESULT Window::Process(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND window = hwnd;
    if (!dying) onEvent.Emit(static_cast<int>(message), static_cast<int>(wParam), static_cast<int>(lParam));
    if (!hwnd) return native::DefaultProcedure(window, message, wParam, lParam);
    switch (message) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_COMMAND:
        // Esc, told as a dialog is told; no control of ours has the identifier IDCANCEL.
        if (LOWORD(wParam) == IDCANCEL && !lParam) {
            if (Reaches(cancelButton)) cancelButton->Notify(BN_CLICKED);
            return 0;
        }
        if (Widget *widget = native::WidgetOf(reinterpret_cast<HWND>(lParam))) widget->Notify(HIWORD(wParam));
        return 0;
    case DM_GETDEFID:
        if (!Reaches(defaultButton)) return 0;
        return MAKELRESULT(GetDlgCtrlID(defaultButton->GetSystemWindow()), DC_HASDEFID);
    case WM_NEXTDLGCTL:
        // lParam: wParam is the control; else wParam asks for the previous Tab stop, not the next.
        MoveFocus(LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                                 : GetNextDlgTabItem(window, GetFocus(), wParam != 0));
        return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        if (Widget *widget = native::WidgetOf(reinterpret_cast<HWND>(lParam)))
            if (HBRUSH brush = widget->ControlColour(reinterpret_cast<HDC>(wParam)))
                return reinterpret_cast<LRESULT>(brush);
        break;
    case WM_NCACTIVATE:
        RepaintTitlebars(false);
        break;
    case WM_ACTIVATE: {
        RepaintTitlebars(false);
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focused = GetFocus();
            if (focused && IsChild(window, focused)) focus = focused;
            break;
        }
        // The system gives the focus to the window itself; the control that had it takes it back.
        LRESULT result = native::DefaultProcedure(window, message, wParam, lParam);
        if (focus && IsChild(window, focus) && IsWindowVisible(focus) && IsWindowEnabled(focus))
            SetFocus(focus);
        return result;
    }
    case WM_SETTEXT: {
        LRESULT result = native::DefaultProcedure(window, message, wParam, lParam);
        text = native::GetWindowText(window);
        RepaintTitlebars(true);
        return result;
    }
    case WM_WINDOWPOSCHANGED: {
        RECT rect;
        GetWindowRect(window, &rect);
        position = Point(rect.left, rect.top);
        size = Size(rect.right - rect.left, rect.bottom - rect.top);
        if (!(reinterpret_cast<const WINDOWPOS *>(lParam)->flags & SWP_NOSIZE)) RelayoutChildren();
        break;
    }
    case WM_CLOSE:
        Close();
        return 0;
    case WM_QUERYENDSESSION:
        // The session may end only where the window may close; another program can still
        // refuse, so nothing closes here.
        return AllowsQuit() ? TRUE : FALSE;
    case WM_QUIT:
        // Sent, not posted: the loop must end even if a nested message pump eats the quit message.
        session::RequestLoopEnd();
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY: {
        ForgetNative();
        native::SetOwner(window, nullptr);
        if (Application *application = dynamic_cast<Application *>(Widget::container))
            application->WindowGone(this);
        session::WakeLoop();
        break;
    }
    }
    return native::DefaultProcedure(window, message, wParam, lParam);
}

LRESULT CALLBACK Window::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window *owner = native::OwnerOf<Window>(window, message, lParam);
    if (owner && message == WM_NCCREATE) owner->hwnd = window;
    return owner ? owner->Process(message, wParam, lParam)
                 : native::DefaultProcedure(window, message, wParam, lParam);
}

} // namespace GUI
} // namespace lumora
