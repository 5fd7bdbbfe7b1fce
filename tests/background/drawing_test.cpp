// The drawing primitives, read back pixel by pixel from a memory device context.
#include "background/drawing.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const COLORREF untouched = RGB(1, 2, 3);

// A memory device context over a 32-bit bitmap, first filled with a colour no gradient
// below produces, so every pixel the gradient does not write is recognisable.
class Canvas {
public:
    Canvas(int width, int height)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void *bits = nullptr;
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        previous = SelectObject(dc, bitmap);
        HBRUSH brush = CreateSolidBrush(untouched);
        RECT all{0, 0, width, height};
        FillRect(dc, &all, brush);
        DeleteObject(brush);
    }
    ~Canvas()
    {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    Canvas(const Canvas &) = delete;
    Canvas &operator=(const Canvas &) = delete;

    HDC Dc() const { return dc; }
    COLORREF Pixel(int x, int y) const { return GetPixel(dc, x, y); }

private:
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
};

TEST(FillVerticalGradient, HeightOneShowsOnlyTheBottomColour)
{
    Canvas canvas(10, 8);
    FillVerticalGradient(canvas.Dc(), 2, 3, 7, 4, RGB(255, 0, 0), RGB(0, 0, 255));
    for (int x = 2; x < 7; ++x) EXPECT_EQ(canvas.Pixel(x, 3), RGB(0, 0, 255)) << "x " << x;
    EXPECT_EQ(canvas.Pixel(2, 2), untouched);
    EXPECT_EQ(canvas.Pixel(2, 4), untouched);
}

TEST(FillVerticalGradient, EqualColoursGiveAPlainFillOfExactlyTheRectangle)
{
    Canvas canvas(12, 12);
    const COLORREF colour = RGB(12, 34, 56);
    FillVerticalGradient(canvas.Dc(), 3, 2, 9, 10, colour, colour);
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 12; ++x) {
            const bool inside = x >= 3 && x < 9 && y >= 2 && y < 10;
            EXPECT_EQ(canvas.Pixel(x, y), inside ? colour : untouched) << "x " << x << " y " << y;
        }
    }
}

struct EmptyRectangle {
    int left, top, right, bottom;
};

TEST(FillVerticalGradient, RectangleWithoutAreaDrawsNothing)
{
    const EmptyRectangle cases[] = {
        {4, 2, 4, 9},                        // zero width
        {2, 4, 9, 4},                        // zero height
        {0, 0, 0, 0},                        // neither
        {9, 2, 3, 8},                        // right before left
        {2, 9, 8, 3},                        // bottom above top
        {-2147483647 - 1, 0, 2147483647, 5}, // wider than any bitmap can be
    };
    for (const EmptyRectangle &r : cases) {
        Canvas canvas(12, 12);
        FillVerticalGradient(canvas.Dc(), r.left, r.top, r.right, r.bottom, RGB(0, 0, 255), RGB(0, 0, 0));
        for (int y = 0; y < 12; ++y) {
            for (int x = 0; x < 12; ++x) {
                ASSERT_EQ(canvas.Pixel(x, y), untouched)
                    << r.left << "," << r.top << "," << r.right << "," << r.bottom << " at " << x << "," << y;
            }
        }
    }
}

struct GradientRow {
    COLORREF top;
    COLORREF bottom;
    int height;
    int row;
    COLORREF expected;
};

TEST(FillVerticalGradient, EachRowCarriesItsShareOfTheStepsTruncated)
{
    const GradientRow cases[] = {
        // The first row already carries one step.
        {RGB(0, 0, 255), RGB(0, 0, 0), 768, 0, RGB(0, 0, 254)},
        {RGB(0, 0, 0), RGB(100, 0, 0), 10, 0, RGB(10, 0, 0)},
        // The whole screen's gradient at the rows the background shows.
        {RGB(0, 0, 255), RGB(0, 0, 0), 768, 30, RGB(0, 0, 244)},
        {RGB(0, 0, 255), RGB(0, 0, 0), 768, 78, RGB(0, 0, 228)},
        {RGB(0, 0, 255), RGB(0, 0, 0), 768, 738, RGB(0, 0, 9)},
        {RGB(0, 0, 255), RGB(0, 0, 0), 768, 767, RGB(0, 0, 0)},
        // Steps of a third land exactly on whole values, also after many rows.
        {RGB(0, 0, 245), RGB(0, 0, 229), 48, 2, RGB(0, 0, 244)},
        {RGB(0, 0, 245), RGB(0, 0, 229), 48, 3, RGB(0, 0, 243)},
        {RGB(0, 0, 245), RGB(0, 0, 229), 48, 47, RGB(0, 0, 229)},
        {RGB(0, 0, 9), RGB(0, 0, 1), 24, 0, RGB(0, 0, 8)},
        {RGB(0, 0, 9), RGB(0, 0, 1), 24, 23, RGB(0, 0, 1)},
        // Each channel on its own, rising and falling.
        {RGB(10, 200, 30), RGB(250, 0, 90), 3, 0, RGB(90, 133, 50)},
        {RGB(10, 200, 30), RGB(250, 0, 90), 3, 1, RGB(170, 66, 70)},
        {RGB(10, 200, 30), RGB(250, 0, 90), 3, 2, RGB(250, 0, 90)},
    };
    for (const GradientRow &c : cases) {
        Canvas canvas(4, c.height + 2);
        FillVerticalGradient(canvas.Dc(), 1, 1, 3, 1 + c.height, c.top, c.bottom);
        EXPECT_EQ(canvas.Pixel(1, 1 + c.row), c.expected)
            << std::hex << "top " << c.top << " bottom " << c.bottom << std::dec << " height " << c.height
            << " row " << c.row;
    }
}

TEST(FillVerticalGradient, LastRowLandsOnTheBottomColourForEveryPairOfValues)
{
    const int heights[] = {3, 7, 24, 48, 100, 738};
    for (int height : heights) {
        Canvas canvas(1, height);
        for (int top = 0; top < 256; top += 5) {
            for (int bottom = 0; bottom < 256; bottom += 3) {
                FillVerticalGradient(canvas.Dc(), 0, 0, 1, height, RGB(top, 0, 0), RGB(bottom, 0, 0));
                ASSERT_EQ(canvas.Pixel(0, height - 1), RGB(bottom, 0, 0))
                    << "from " << top << " to " << bottom << " over " << height;
            }
        }
    }
}

TEST(FillVerticalGradient, EveryPixelOfRowsOfAnyPaddingIsWritten)
{
    // 24-bit rows are padded to four bytes; widths 1 to 5 cover every amount of padding.
    for (int width = 1; width <= 5; ++width) {
        Canvas canvas(width + 2, 6);
        FillVerticalGradient(canvas.Dc(), 1, 1, 1 + width, 5, RGB(0, 40, 0), RGB(0, 0, 0));
        for (int y = 1; y < 5; ++y) {
            const COLORREF expected = RGB(0, 40 - 10 * y, 0);
            for (int x = 1; x <= width; ++x) {
                EXPECT_EQ(canvas.Pixel(x, y), expected) << "width " << width << " at " << x << "," << y;
            }
            EXPECT_EQ(canvas.Pixel(0, y), untouched);
            EXPECT_EQ(canvas.Pixel(width + 1, y), untouched);
        }
    }
}

TEST(FillVerticalGradient, RectanglePartlyOutsideTheSurfaceKeepsItsRowColours)
{
    Canvas canvas(4, 4);
    // Rows -2..5 of a gradient from 80 to 0 red: row k (from the top) holds 80 - 10 * (k + 1).
    FillVerticalGradient(canvas.Dc(), -3, -2, 2, 6, RGB(80, 0, 0), RGB(0, 0, 0));
    for (int y = 0; y < 4; ++y) {
        EXPECT_EQ(canvas.Pixel(0, y), RGB(80 - 10 * (y + 3), 0, 0)) << "row " << y;
        EXPECT_EQ(canvas.Pixel(2, y), untouched);
    }
}

TEST(PixelBuffer, ReportsTheSizeItWasMadeWith)
{
    PixelBuffer buffer(5, 3);
    ASSERT_TRUE(buffer.IsValid());
    EXPECT_EQ(buffer.GetWidth(), 5);
    EXPECT_EQ(buffer.GetHeight(), 3);
    EXPECT_NE(buffer.GetSystemBitmap(), nullptr);
}

TEST(PixelBuffer, WithoutAreaIsNotMade)
{
    const int sizes[][2] = {{0, 3}, {3, 0}, {-1, 3}, {3, -1}};
    for (const auto &size : sizes) {
        PixelBuffer buffer(size[0], size[1]);
        EXPECT_FALSE(buffer.IsValid()) << size[0] << " x " << size[1];
        EXPECT_EQ(buffer.GetSystemBitmap(), nullptr);
        buffer.FillRow(0, RGB(1, 1, 1)); // nothing to write into: no effect, no fault
    }
}

TEST(PixelBuffer, FillsOnlyTheRowAskedForCountedFromTheTop)
{
    PixelBuffer buffer(3, 4);
    ASSERT_TRUE(buffer.IsValid());
    buffer.FillRow(1, RGB(200, 100, 50));
    buffer.FillRow(-1, RGB(9, 9, 9));
    buffer.FillRow(4, RGB(9, 9, 9));

    Canvas canvas(3, 4);
    HDC source = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(source, buffer.GetSystemBitmap());
    BitBlt(canvas.Dc(), 0, 0, 3, 4, source, 0, 0, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);

    for (int y = 0; y < 4; ++y) {
        const COLORREF expected = y == 1 ? RGB(200, 100, 50) : RGB(0, 0, 0);
        for (int x = 0; x < 3; ++x) EXPECT_EQ(canvas.Pixel(x, y), expected) << x << "," << y;
    }
}

TEST(WindowSize, IsTheOuterRectangleIncludingTheFrame)
{
    struct Case {
        DWORD style;
    };
    const Case cases[] = {{WS_POPUP}, {WS_OVERLAPPEDWINDOW}};
    for (const Case &c : cases) {
        HWND window = CreateWindowExA(0, "STATIC", "", c.style, 10, 20, 300, 200, nullptr, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(GetWindowWidth(window), 300);
        EXPECT_EQ(GetWindowHeight(window), 200);
        DestroyWindow(window);
    }
}

TEST(WindowSize, OfAWindowThatDoesNotExistIsZero)
{
    EXPECT_EQ(GetWindowWidth(nullptr), 0);
    EXPECT_EQ(GetWindowHeight(nullptr), 0);
}

} // namespace
