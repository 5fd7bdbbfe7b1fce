// The drawn title bar: caption colours, the window's title, caption buttons, dragging.
#include "lumora/gui/native.h"
#include "lumora/widgets.h"
#include "lumora/window.h"

namespace lumora {
namespace GUI {

namespace {

struct CaptionButton {
    int flag;
    const wchar_t *name; // what a screen reader or a test finds
    UINT command;        // the system command the button sends to the window
};

const CaptionButton captionButtons[3] = {
    {TB_MINIMIZE, L"Minimize", SC_MINIMIZE},
    {TB_MAXIMIZE, L"Maximize", SC_MAXIMIZE},
    {TB_CLOSE, L"Close", SC_CLOSE},
};

const int buttonHeight = TITLEBAR_HEIGHT - 6;
const int buttonWidth = buttonHeight + 2;
const int buttonMargin = 3;
const int textIndent = 6;

COLORREF Mix(COLORREF from, COLORREF to, int step, int steps)
{
    auto channel = [&](int shift) {
        int a = (from >> shift) & 0xFF;
        int b = (to >> shift) & 0xFF;
        return static_cast<COLORREF>(a + (b - a) * step / steps) << shift;
    };
    return channel(0) | channel(8) | channel(16);
}

void FillCaption(HDC dc, const RECT &rect, bool active)
{
    COLORREF left = GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    BOOL gradient = FALSE;
    SystemParametersInfoW(SPI_GETGRADIENTCAPTIONS, 0, &gradient, 0);
    if (!gradient) {
        HBRUSH brush = CreateSolidBrush(left);
        FillRect(dc, &rect, brush);
        DeleteObject(brush);
        return;
    }
    COLORREF right = GetSysColor(active ? COLOR_GRADIENTACTIVECAPTION : COLOR_GRADIENTINACTIVECAPTION);
    int width = rect.right - rect.left;
    for (int x = 0; x < width; x++) {
        HBRUSH brush = CreateSolidBrush(Mix(left, right, x, width > 1 ? width - 1 : 1));
        RECT column = {rect.left + x, rect.top, rect.left + x + 1, rect.bottom};
        FillRect(dc, &column, brush);
        DeleteObject(brush);
    }
}

// The button face and its symbol, drawn with lines: the system's symbol font is not everywhere.
void DrawButton(const DRAWITEMSTRUCT &item, bool zoomed)
{
    bool pushed = (item.itemState & ODS_SELECTED) != 0;
    RECT face = item.rcItem;
    DrawFrameControl(item.hDC, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
    int size = (item.rcItem.bottom - item.rcItem.top) / 2 - 1;
    int left = (item.rcItem.left + item.rcItem.right - size) / 2 + (pushed ? 1 : 0);
    int top = (item.rcItem.top + item.rcItem.bottom - size) / 2 + (pushed ? 1 : 0);
    HPEN pen = CreatePen(PS_SOLID, 2, GetSysColor(COLOR_BTNTEXT));
    HGDIOBJ previous = SelectObject(item.hDC, pen);
    switch (item.CtlID) {
    case SC_MINIMIZE:
        MoveToEx(item.hDC, left, top + size - 1, nullptr);
        LineTo(item.hDC, left + size, top + size - 1);
        break;
    case SC_MAXIMIZE:
        SelectObject(item.hDC, GetStockObject(NULL_BRUSH));
        if (zoomed) {
            Rectangle(item.hDC, left + 3, top, left + size + 1, top + size - 2);
            Rectangle(item.hDC, left, top + 3, left + size - 2, top + size + 1);
        } else {
            Rectangle(item.hDC, left, top, left + size + 1, top + size + 1);
        }
        break;
    default:
        MoveToEx(item.hDC, left, top, nullptr);
        LineTo(item.hDC, left + size, top + size);
        MoveToEx(item.hDC, left + size - 1, top, nullptr);
        LineTo(item.hDC, left - 1, top + size);
        break;
    }
    SelectObject(item.hDC, previous);
    DeleteObject(pen);
}

} // namespace

Titlebar::Titlebar(int buttons) : buttons(buttons) {}

Rect Titlebar::Placement(HWND parent) const
{
    RECT client;
    GetClientRect(parent, &client);
    return Rect(WINDOW_BORDER, WINDOW_BORDER, client.right - WINDOW_BORDER, WINDOW_BORDER + TITLEBAR_HEIGHT);
}

void Titlebar::CreateNative(HWND parent, const Point &)
{
    if (hwnd || !parent) return;
    if (Window *window = dynamic_cast<Window *>(container)) text = window->GetText();
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (visible) style |= WS_VISIBLE;
    native::CreateWindowText(0, native::titlebarClassName, text, style, Placement(parent), parent, 0, this);
    if (!hwnd) return;
    for (int i = 0; i < 3; i++) {
        if (!(buttons & captionButtons[i].flag)) continue;
        buttonWindows[i] = native::CreateWindowText(0, "BUTTON", String(captionButtons[i].name),
                                                    WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, Rect(), hwnd,
                                                    captionButtons[i].command, nullptr);
    }
    PlaceButtons();
}

void Titlebar::Relayout(const Point &)
{
    if (!hwnd) return;
    Rect place = Placement(GetParent(hwnd));
    SetWindowPos(hwnd, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    PlaceButtons();
}

void Titlebar::ForgetNative()
{
    hwnd = nullptr;
    for (HWND &button : buttonWindows) button = nullptr;
}

void Titlebar::PlaceButtons()
{
    RECT client;
    GetClientRect(hwnd, &client);
    int right = client.right - buttonMargin;
    for (int i = 2; i >= 0; i--) {
        if (!buttonWindows[i]) continue;
        SetWindowPos(buttonWindows[i], nullptr, right - buttonWidth, buttonMargin, buttonWidth, buttonHeight,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        // The close button stands apart from the others, as on a system caption.
        right -= buttonWidth + (i == 2 ? 2 : 0);
    }
}

void Titlebar::Paint(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    // Drawn off screen and copied at once, so the title does not flicker while the window moves.
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP canvas = CreateCompatibleBitmap(dc, client.right, client.bottom);
    HGDIOBJ previousBitmap = SelectObject(memory, canvas);

    Window *owner = dynamic_cast<Window *>(container);
    bool active = owner && owner->IsCaptionActive();
    FillCaption(memory, client, active);
    RECT textRect = client;
    textRect.left += textIndent;
    for (HWND button : buttonWindows)
        if (button) textRect.right -= buttonWidth;
    textRect.right -= buttonMargin + textIndent;
    SetBkMode(memory, TRANSPARENT);
    SetTextColor(memory, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    HGDIOBJ previousFont = SelectObject(memory, native::CaptionFont());
    native::DrawText(memory, text, &textRect, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    SelectObject(memory, previousFont);

    BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previousBitmap);
    DeleteObject(canvas);
    DeleteDC(memory);
    EndPaint(window, &paint);
}

LRESULT Titlebar::Process(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND top = GetAncestor(window, GA_ROOT);
    switch (message) {
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SETTEXT: {
        LRESULT result = native::DefaultProcedure(window, message, wParam, lParam);
        InvalidateRect(window, nullptr, FALSE);
        return result;
    }
    case WM_LBUTTONDOWN: {
        // Hand the drag to the system's move loop, as if the window's own caption was pressed.
        ReleaseCapture();
        DWORD cursor = GetMessagePos();
        native::Send(top, WM_NCLBUTTONDOWN, HTCAPTION, static_cast<LPARAM>(cursor));
        return 0;
    }
    case WM_DRAWITEM:
        DrawButton(*reinterpret_cast<const DRAWITEMSTRUCT *>(lParam), IsZoomed(top) != FALSE);
        return TRUE;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) {
            UINT command = LOWORD(wParam);
            if (command == SC_MAXIMIZE && IsZoomed(top)) command = SC_RESTORE;
            native::Send(top, WM_SYSCOMMAND, command, 0);
        }
        return 0;
    }
    return native::DefaultProcedure(window, message, wParam, lParam);
}

LRESULT CALLBACK Titlebar::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Titlebar *owner = native::OwnerOf<Titlebar>(window, message, lParam);
    if (owner && message == WM_NCCREATE) owner->hwnd = window;
    return owner ? owner->Process(window, message, wParam, lParam)
                 : native::DefaultProcedure(window, message, wParam, lParam);
}

} // namespace GUI
} // namespace lumora
