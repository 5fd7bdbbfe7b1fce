// One-pixel frames in the system's 3-D colours.
#include "lumora/surface.h"

namespace lumora {
namespace GUI {

namespace {

void FillPixels(HDC dc, int left, int top, int right, int bottom, int colourIndex)
{
    RECT rect = {left, top, right, bottom};
    FillRect(dc, &rect, GetSysColorBrush(colourIndex));
}

} // namespace

int Surface::Frame(const Rect &rect, int style)
{
    if (!dc || rect.right < rect.left || rect.bottom < rect.top) return 1;
    int topLeft = style == FRAME_DOWN ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT;
    int bottomRight = style == FRAME_DOWN ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW;
    // The light and dark edges meet at the bottom-left and top-right corners, as on a 3-D control.
    FillPixels(dc, rect.left, rect.top, rect.right, rect.top + 1, topLeft);
    FillPixels(dc, rect.left, rect.top, rect.left + 1, rect.bottom, topLeft);
    FillPixels(dc, rect.left, rect.bottom, rect.right + 1, rect.bottom + 1, bottomRight);
    FillPixels(dc, rect.right, rect.top, rect.right + 1, rect.bottom + 1, bottomRight);
    return 0;
}

} // namespace GUI
} // namespace lumora
