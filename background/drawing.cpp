#include "background/drawing.h"

#include <climits>
#include <cstring>

int GetWindowWidth(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return r.right - r.left;
}

int GetWindowHeight(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return r.bottom - r.top;
}

PixelBuffer::PixelBuffer(int width, int height)
{
    if (width <= 0 || height <= 0) return;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height; // positive: rows stored bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void *pixels = nullptr;
    HBITMAP made = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (made == nullptr) return;

    // Only what GDI reports back is trusted for addressing the bits.
    BITMAP described{};
    if (GetObjectA(made, sizeof(described), &described) != sizeof(described) || described.bmBits == nullptr ||
        described.bmBitsPixel != 24 || described.bmWidth <= 0 || described.bmHeight <= 0 ||
        described.bmWidthBytes < described.bmWidth * 3) {
        DeleteObject(made);
        return;
    }
    bitmap = made;
    this->width = described.bmWidth;
    this->height = described.bmHeight;
    bits = static_cast<unsigned char *>(described.bmBits);
    bytesPerRow = described.bmWidthBytes;
}

PixelBuffer::~PixelBuffer()
{
    if (bitmap != nullptr) DeleteObject(bitmap);
}

void PixelBuffer::FillRow(int y, COLORREF colour)
{
    if (bits == nullptr || y < 0 || y >= height) return;
    const unsigned char pixel[3] = {GetBValue(colour), GetGValue(colour), GetRValue(colour)};
    unsigned char *row = bits + static_cast<size_t>(height - 1 - y) * static_cast<size_t>(bytesPerRow);
    for (int x = 0; x < width; ++x) std::memcpy(row + static_cast<size_t>(x) * 3, pixel, 3);
}

namespace {

// The channel byte of a row: computed from the row's own index rather than by adding the step
// up row after row, so rounding cannot pile up and the last row lands exactly on the bottom value.
BYTE ChannelOfRow(double topValue, double bottomValue, int row, int rows)
{
    return static_cast<BYTE>(topValue + (bottomValue - topValue) * (row + 1) / rows);
}

} // namespace

void FillVerticalGradient(HDC dc, int left, int top, int right, int bottom, COLORREF topColour,
                          COLORREF bottomColour)
{
    // Differences of far-apart int corners do not fit an int; no bitmap that large can exist.
    const long long wideW = static_cast<long long>(right) - left;
    const long long wideH = static_cast<long long>(bottom) - top;
    if (wideW <= 0 || wideH <= 0 || wideW > INT_MAX || wideH > INT_MAX) return;
    const int w = static_cast<int>(wideW);
    const int h = static_cast<int>(wideH);

    PixelBuffer buffer(w, h);
    if (!buffer.IsValid()) return;

    for (int y = 0; y < h; ++y) {
        const BYTE red = ChannelOfRow(GetRValue(topColour), GetRValue(bottomColour), y, h);
        const BYTE green = ChannelOfRow(GetGValue(topColour), GetGValue(bottomColour), y, h);
        const BYTE blue = ChannelOfRow(GetBValue(topColour), GetBValue(bottomColour), y, h);
        buffer.FillRow(y, RGB(red, green, blue));
    }

    HDC memoryDc = CreateCompatibleDC(dc);
    if (memoryDc == nullptr) return;
    HGDIOBJ previous = SelectObject(memoryDc, buffer.GetSystemBitmap());
    BitBlt(dc, left, top, buffer.GetWidth(), buffer.GetHeight(), memoryDc, 0, 0, SRCCOPY);
    SelectObject(memoryDc, previous);
    DeleteDC(memoryDc);
}
