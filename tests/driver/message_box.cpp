// Reading and answering message boxes: dialogs of class #32770 with a message, buttons and
// possibly one of the system icons.
#include "tests/driver/ui_driver.h"

#include <cstdlib>

namespace uidriver {

namespace {

struct KnownIcon {
    MessageIcon icon;
    WORD resource;
};

// IDI_QUESTION, IDI_INFORMATION, IDI_WARNING and IDI_ERROR by number.
const KnownIcon kKnownIcons[] = {
    {MessageIcon::Question, 32514},
    {MessageIcon::Information, 32516},
    {MessageIcon::Warning, 32515},
    {MessageIcon::Error, 32513},
};

bool IsIconStatic(const Control &control)
{
    return _wcsicmp(control.className.c_str(), L"Static") == 0 && (control.style & SS_TYPEMASK) == SS_ICON;
}

int ChannelDistance(COLORREF a, COLORREF b)
{
    return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
           std::abs(GetBValue(a) - GetBValue(b));
}

// The share (0..1) of pixels where `shown` differs from `icon` drawn over the same background.
double Mismatch(const Image &shown, HICON icon)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = shown.width;
    info.bmiHeader.biHeight = -shown.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    HDC memory = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) {
        DeleteDC(memory);
        return 1.0;
    }
    HGDIOBJ old = SelectObject(memory, bitmap);
    // The corner of an icon is transparent in every system icon, so it shows the background.
    HBRUSH background = CreateSolidBrush(shown.At(0, 0));
    RECT all{0, 0, shown.width, shown.height};
    FillRect(memory, &all, background);
    DeleteObject(background);
    DrawIconEx(memory, 0, 0, icon, shown.width, shown.height, 0, nullptr, DI_NORMAL);
    GdiFlush();

    const auto *pixels = static_cast<const uint32_t *>(bits);
    size_t differing = 0;
    for (int y = 0; y < shown.height; ++y) {
        for (int x = 0; x < shown.width; ++x) {
            uint32_t bgra = pixels[static_cast<size_t>(y) * shown.width + x];
            COLORREF drawn = RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF);
            if (ChannelDistance(drawn, shown.At(x, y)) > 48) ++differing;
        }
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return static_cast<double>(differing) / (static_cast<double>(shown.width) * shown.height);
}

// Icon handles are not comparable between processes under Wine, so the icon is told by what the
// screen shows: the icon control's pixels against each system icon drawn here.
MessageIcon IdentifyIcon(const Control &iconControl)
{
    DWORD_PTR handle = 0;
    SendMessageTimeoutW(iconControl.hwnd, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                        Patient(kAnswerTimeoutMs), &handle);
    if (!handle) return MessageIcon::None;
    for (const KnownIcon &known : kKnownIcons) {
        if (reinterpret_cast<HICON>(handle) == LoadIconW(nullptr, MAKEINTRESOURCEW(known.resource)))
            return known.icon;
    }

    int size = GetSystemMetrics(SM_CXICON);
    RECT area = iconControl.screenRect;
    area.right = std::min<LONG>(area.right, area.left + size);
    area.bottom = std::min<LONG>(area.bottom, area.top + size);
    Image shown = CaptureRect(area);
    if (shown.Empty()) return MessageIcon::Other;

    MessageIcon best = MessageIcon::Other;
    double bestMismatch = 0.1;
    for (const KnownIcon &known : kKnownIcons) {
        double mismatch = Mismatch(shown, LoadIconW(nullptr, MAKEINTRESOURCEW(known.resource)));
        if (mismatch < bestMismatch) {
            bestMismatch = mismatch;
            best = known.icon;
        }
    }
    return best;
}

} // namespace

const char *IconName(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::None:
        return "none";
    case MessageIcon::Question:
        return "question";
    case MessageIcon::Information:
        return "information";
    case MessageIcon::Warning:
        return "warning";
    case MessageIcon::Error:
        return "error";
    case MessageIcon::Other:
        return "other";
    }
    return "?";
}

std::wstring StripMnemonic(const std::wstring &text)
{
    std::wstring plain;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size())
            ++i;
        else if (text[i] == L'&')
            continue;
        plain += text[i];
    }
    return plain;
}

HWND FindDialog(DWORD pid)
{
    for (HWND window : TopLevelWindows(pid)) {
        if (ClassName(window) == L"#32770") return window;
    }
    return nullptr;
}

MessageBoxInfo ReadMessageBox(HWND dialog)
{
    MessageBoxInfo box;
    box.hwnd = dialog;
    box.caption = WindowText(dialog);
    for (const Control &control : Controls(dialog)) {
        if (!control.visible) continue;
        if (IsIconStatic(control)) {
            box.icon = IdentifyIcon(control);
        } else if (_wcsicmp(control.className.c_str(), L"Static") == 0) {
            if (box.text.empty()) box.text = control.text;
        } else if (control.IsButton()) {
            box.buttons.push_back(StripMnemonic(control.text));
        }
    }
    return box;
}

std::optional<MessageBoxInfo> WaitForMessageBox(DWORD pid, DWORD timeoutMs)
{
    HWND dialog = nullptr;
    if (!WaitUntil([&] { return (dialog = FindDialog(pid)) != nullptr; }, timeoutMs)) return std::nullopt;
    // The box is drawn right after it appears; its icon is told from the screen, so let it paint.
    MessageBoxInfo box;
    WaitUntil(
        [&] {
            box = ReadMessageBox(dialog);
            return box.icon != MessageIcon::Other;
        },
        1000);
    return box;
}

bool PressButton(const MessageBoxInfo &box, const std::wstring &buttonText)
{
    for (const Control &control : Controls(box.hwnd)) {
        if (control.visible && control.IsButton() && StripMnemonic(control.text) == buttonText) {
            return Click(control.hwnd);
        }
    }
    return false;
}

} // namespace uidriver
