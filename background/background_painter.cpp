#include "background/background_painter.h"

#include "background/drawing.h"
#include "lumora/native.h"
#include "windows/native_calls.h"
#include "windows/setup_config.h"

#include <algorithm>
#include <climits>

using lumora::String;

namespace {

// Row y of a window height rows high: full blue at the top edge, black at the bottom edge.
// Rows past either edge take the edge's colour rather than a value that would wrap around.
COLORREF BackgroundColour(int y, int height)
{
    const double blue = std::clamp((255.0 / height) * (height - y), 0.0, 255.0);
    return RGB(0, 0, static_cast<int>(blue));
}

// The band's gradient runs between the colours of its own top and bottom rows. A band may
// reach past the window's top or bottom edge (a company band taller than its distance from the
// bottom); only its rows inside the window are filled, and their colours are those of the edge
// rows there, so they match the background around them and never wrap around. Rows outside
// would be clipped anyway, and an absurd band size costs no off-screen bitmap.
void FillBandBackground(HDC dc, const RECT &b, int windowHeight)
{
    const int top = std::clamp<int>(b.top, 0, windowHeight);
    const int bottom = std::clamp<int>(b.bottom, 0, windowHeight);
    FillVerticalGradient(dc, b.left, top, b.right, bottom, BackgroundColour(top, windowHeight),
                         BackgroundColour(bottom, windowHeight));
}

// A band's values in its font section.
struct BandFont {
    SetupValue x;
    SetupValue y;
    SetupValue size;
    SetupValue color;
    SetupValue face;
    SetupValue underline;
    SetupValue italic;
    SetupValue weight;
};

using V = SetupValue;
const BandFont nameFont{V::nameFontX,    V::nameFontY,         V::nameFontSize,   V::nameFontColor,
                        V::nameFontFace, V::nameFontUnderline, V::nameFontItalic, V::nameFontWeight};
const BandFont companyFont{V::companyFontX,      V::companyFontY,     V::companyFontSize,
                           V::companyFontColor,  V::companyFontFace,  V::companyFontUnderline,
                           V::companyFontItalic, V::companyFontWeight};

void DrawBand(HDC dc, const RECT &band, const BandFont &style, const String &text, int windowHeight)
{
    FillBandBackground(dc, band, windowHeight);

    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, static_cast<COLORREF>(ReadSetupInt(style.color)));

    const int height = ReadSetupInt(style.size);
    const int weight = ReadSetupInt(style.weight);
    const DWORD italic = static_cast<DWORD>(ReadSetupInt(style.italic));
    const DWORD underline = static_cast<DWORD>(ReadSetupInt(style.underline));
    const String face = ReadSetupValue(style.face);

    RECT textArea = band;
    HFONT font = CreateNamedFont(height, weight, italic, underline, face);
    // Without a font the text still appears, in whatever font the device context holds.
    HGDIOBJ previousFont = font != nullptr ? SelectObject(dc, font) : nullptr;
    // Names are shown as written: "Smith & Jones" keeps its ampersand rather than underlining
    // the character after it.
    lumora::native::DrawText(dc, text, &textArea, DT_NOPREFIX);
    if (font != nullptr) {
        SelectObject(dc, previousFont);
        DeleteObject(font);
    }
}

// Positions come from a file anyone can edit; sums beyond the range of int stop at its ends.
int ClampedSum(long long a, long long b)
{
    return static_cast<int>(std::clamp<long long>(a + b, INT_MIN, INT_MAX));
}

bool Meets(const RECT &band, const RECT &update)
{
    RECT common;
    return IntersectRect(&common, &band, &update) != 0;
}

} // namespace

void PaintBackground(HWND window, RECT update)
{
    // A null handle would give the device context of the whole screen.
    if (window == nullptr) return;

    HDC dc = GetWindowDC(window);
    if (dc == nullptr) return;
    const int w = GetWindowWidth(window);
    const int h = GetWindowHeight(window);
    if (w <= 0 || h <= 0) {
        ReleaseDC(window, dc);
        return;
    }

    // A little more than the update area is redrawn on the right and at the bottom, never past
    // the window's edge.
    update.right = std::min<LONG>(update.right + 10, w);
    update.bottom = std::min<LONG>(update.bottom + 10, h);
    FillVerticalGradient(dc, update.left, update.top, update.right, update.bottom,
                         BackgroundColour(update.top, h), BackgroundColour(update.bottom, h));

    // A band that meets the update area is redrawn whole, so its text is never cut in two.
    if (ReadSetupFlag(V::displayAppName)) {
        String name = ReadSetupValue(V::applicationName);
        if (ReadSetupFlag(V::displayAppVersion))
            name.Append(" ").Append(ReadSetupValue(V::applicationVersion));
        const int left = ReadSetupInt(nameFont.x);
        const int top = ReadSetupInt(nameFont.y);
        const int bottom = ClampedSum(top, ReadSetupInt(nameFont.size));
        const RECT band{left, top, w, bottom};
        if (Meets(band, update)) DrawBand(dc, band, nameFont, name, h);
    }

    if (ReadSetupFlag(V::displayCompanyName)) {
        const int left = ReadSetupInt(companyFont.x);
        const int top = ClampedSum(h, -static_cast<long long>(ReadSetupInt(companyFont.y)));
        const int bottom = ClampedSum(top, ReadSetupInt(companyFont.size));
        const RECT band{left, top, w, bottom};
        if (Meets(band, update)) DrawBand(dc, band, companyFont, ReadSetupValue(V::applicationCompany), h);
    }

    ReleaseDC(window, dc);
}
