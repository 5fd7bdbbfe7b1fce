// An edit control whose text can be read from any thread: a copy follows every change.
#include "lumora/gui/native.h"
#include "lumora/widgets.h"

#include <string>
#include <vector>

namespace lumora {
namespace GUI {

namespace {

const int singleLineHeight = 21;

// A multi-line edit control breaks lines only at CR LF; texts with bare line feeds get the CR.
String WithCarriageReturns(const String &text)
{
    std::wstring converted;
    for (int i = 0; i < text.Length(); i++) {
        if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r')) converted += L'\r';
        converted += text[i];
    }
    return String(converted.c_str());
}

} // namespace

EditBox::EditBox(const String &text, const Point &position, const Size &size, int maxLength)
    : Widget(position, size), maxLength(maxLength > 0 ? maxLength : 0)
{
    this->text = text;
}

String EditBox::GetText() const
{
    std::lock_guard<std::mutex> hold(textLock);
    return text;
}

int EditBox::SetText(const String &newText)
{
    {
        std::lock_guard<std::mutex> hold(textLock);
        text = newText;
    }
    if (hwnd) native::SetWindowText(hwnd, IsMultiLine() ? WithCarriageReturns(newText) : newText);
    return 0;
}

int EditBox::Activate()
{
    return Widget::Activate();
}

int EditBox::Deactivate()
{
    return Widget::Deactivate();
}

void EditBox::CreateNative(HWND parent, const Point &origin)
{
    DWORD style = WS_TABSTOP | (IsMultiLine() ? ES_MULTILINE | WS_VSCROLL | ES_AUTOVSCROLL : ES_AUTOHSCROLL);
    String initial = GetText();
    if (!CreateControl(parent, origin, "EDIT", style, WS_EX_CLIENTEDGE)) return;
    // 0 lifts the control's default limit of about 32 000 characters.
    native::Send(hwnd, EM_SETLIMITTEXT, static_cast<WPARAM>(maxLength), 0);
    if (IsMultiLine()) native::SetWindowText(hwnd, WithCarriageReturns(initial));
    ApplyActivity();
}

void EditBox::Notify(int code)
{
    if (code != EN_CHANGE || !hwnd) return;
    // Read wide on both character paths: the text may name a folder, and the 8-bit form would
    // put look-alikes in place of what the system code page lacks.
    std::vector<wchar_t> buffer(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1);
    GetWindowTextW(hwnd, buffer.data(), static_cast<int>(buffer.size()));
    String typed(buffer.data());
    std::lock_guard<std::mutex> hold(textLock);
    text = typed;
}

HBRUSH EditBox::ControlColour(HDC dc)
{
    // A read-only document (a licence) stays on the reading background instead of turning grey.
    if (active || !IsMultiLine()) return nullptr;
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return GetSysColorBrush(COLOR_WINDOW);
}

Size EditBox::DefaultSize() const
{
    return Size(120, singleLineHeight);
}

void EditBox::ApplyActivity()
{
    // Inactive means read-only, not disabled, so a long text can still be scrolled and copied.
    if (hwnd) native::Send(hwnd, EM_SETREADONLY, active ? FALSE : TRUE, 0);
}

bool EditBox::IsMultiLine() const
{
    return GetSize().cy > singleLineHeight;
}

} // namespace GUI
} // namespace lumora
