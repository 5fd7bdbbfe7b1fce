// Reading what the screen shows: single pixels, rectangles, windows and whole screenshots.
#include "tests/driver/ui_driver.h"

#include <cstdio>

namespace uidriver {

COLORREF ScreenPixel(int x, int y)
{
    HDC screen = GetDC(nullptr);
    COLORREF colour = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return colour;
}

Image CaptureRect(const RECT &rect)
{
    Image image;
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return image;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void *bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        if (BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY | CAPTUREBLT)) {
            GdiFlush();
            image.width = width;
            image.height = height;
            image.pixels.resize(static_cast<size_t>(width) * height);
            const auto *bgra = static_cast<const uint32_t *>(bits);
            for (size_t i = 0; i < image.pixels.size(); ++i) {
                uint32_t pixel = bgra[i];
                image.pixels[i] = RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
            }
        }
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return image;
}

RECT ScreenRect()
{
    return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

Image CaptureScreen()
{
    return CaptureRect(ScreenRect());
}

bool WaitForStillScreen(const RECT &rect, DWORD timeoutMs)
{
    // Paints come in bursts; two captures this far apart that agree show that one has ended.
    const DWORD apartMs = 150;
    std::optional<Image> last;
    return WaitUntil(
        [&] {
            Image now = CaptureRect(rect);
            const bool same = last && now.pixels == last->pixels;
            last = std::move(now);
            return same;
        },
        timeoutMs, apartMs);
}

Image CaptureWindow(HWND window)
{
    return CaptureRect(WindowRect(window));
}

bool Image::SaveBmp(const std::wstring &path) const
{
    if (Empty()) return false;
    const int rowSize = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = -height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(rowSize) * height;
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + header.biSizeImage;

    FILE *out = _wfopen(path.c_str(), L"wb");
    if (!out) return false;
    bool written = fwrite(&file, sizeof file, 1, out) == 1 && fwrite(&header, sizeof header, 1, out) == 1;
    std::vector<unsigned char> row(rowSize, 0);
    for (int y = 0; written && y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            COLORREF colour = At(x, y);
            row[x * 3] = GetBValue(colour);
            row[x * 3 + 1] = GetGValue(colour);
            row[x * 3 + 2] = GetRValue(colour);
        }
        written = fwrite(row.data(), row.size(), 1, out) == 1;
    }
    return fclose(out) == 0 && written;
}

bool SaveScreenshot(const std::wstring &path)
{
    return CaptureScreen().SaveBmp(path);
}

} // namespace uidriver
