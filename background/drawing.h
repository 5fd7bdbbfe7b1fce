// Plain Windows drawing routines for the background window: window sizes and a vertical
// colour gradient drawn through an off-screen bitmap, so a repaint reaches the screen in one copy.
#ifndef SETUP_BACKGROUND_DRAWING_H
#define SETUP_BACKGROUND_DRAWING_H

#include <windows.h>

// Width and height of the window's outer rectangle.
int GetWindowWidth(HWND window);
int GetWindowHeight(HWND window);

// Fills left..right-1 by top..bottom-1. Row y of the h rows carries
// topColour + (bottomColour - topColour) * (y + 1) / h per channel, truncated: the first row
// already holds one step and the last row the bottom colour. Colours are 0x00BBGGRR.
// An empty rectangle, or one whose off-screen bitmap cannot be made, draws nothing.
void FillVerticalGradient(HDC dc, int left, int top, int right, int bottom, COLORREF topColour,
                          COLORREF bottomColour);

// An off-screen bitmap of 24 bits per pixel, stored bottom-up, as the device-independent
// section GDI made for it. Its size is the one GDI reports back, not the one asked for.
class PixelBuffer {
public:
    PixelBuffer(int width, int height);
    ~PixelBuffer();
    PixelBuffer(const PixelBuffer &) = delete;
    PixelBuffer &operator=(const PixelBuffer &) = delete;

    // attributes
    bool IsValid() const { return bitmap != nullptr; }
    HBITMAP GetSystemBitmap() const { return bitmap; }
    int GetWidth() const { return width; }
    int GetHeight() const { return height; }

    // operations
    // Writes colour into every pixel of picture row y (0 at the top); a row outside is skipped.
    void FillRow(int y, COLORREF colour);

private:
    HBITMAP bitmap = nullptr;
    int width = 0;
    int height = 0;
    unsigned char *bits = nullptr;
    int bytesPerRow = 0;
};

#endif
