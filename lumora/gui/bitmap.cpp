// Pixel access to a bitmap through a memory device context.
#include "lumora/bitmap.h"

#include <cstdlib>

namespace lumora {
namespace GUI {

namespace {

// Selects the bitmap into a fresh memory DC for one access; a bitmap selected elsewhere fails.
class SelectedBitmap {
public:
    explicit SelectedBitmap(HBITMAP bitmap) : dc(CreateCompatibleDC(nullptr))
    {
        previous = dc ? SelectObject(dc, bitmap) : nullptr;
    }
    ~SelectedBitmap()
    {
        if (previous) SelectObject(dc, previous);
        if (dc) DeleteDC(dc);
    }
    SelectedBitmap(const SelectedBitmap &) = delete;
    SelectedBitmap &operator=(const SelectedBitmap &) = delete;
    bool Ready() const { return previous != nullptr; }
    HDC dc;

private:
    HGDIOBJ previous;
};

} // namespace

Bitmap::Bitmap() : handle(nullptr) {}

Bitmap::Bitmap(HBITMAP handle) : handle(handle) {}

Size Bitmap::GetSize() const
{
    BITMAP info;
    if (!handle || GetObjectW(handle, sizeof info, &info) != sizeof info) return Size();
    return Size(info.bmWidth, std::abs(info.bmHeight));
}

COLORREF Bitmap::GetPixel(int x, int y) const
{
    Size extent = GetSize();
    if (x < 0 || y < 0 || x >= extent.cx || y >= extent.cy) return CLR_INVALID;
    SelectedBitmap selected(handle);
    return selected.Ready() ? ::GetPixel(selected.dc, x, y) : CLR_INVALID;
}

int Bitmap::SetPixel(int x, int y, COLORREF colour)
{
    Size extent = GetSize();
    if (x < 0 || y < 0 || x >= extent.cx || y >= extent.cy) return 1;
    SelectedBitmap selected(handle);
    return selected.Ready() && SetPixelV(selected.dc, x, y, colour) ? 0 : 1;
}

} // namespace GUI
} // namespace lumora
