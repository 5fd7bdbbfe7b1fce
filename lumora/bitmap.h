// A Windows bitmap handle with pixel access. The Bitmap does not own the handle.
#ifndef LUMORA_BITMAP_H
#define LUMORA_BITMAP_H

#include "lumora/api.h"
#include "lumora/geometry.h"

#include <windows.h>

namespace lumora {
namespace GUI {

class LUMORA_API Bitmap {
public:
    Bitmap();
    explicit Bitmap(HBITMAP handle);

    // attributes
    HBITMAP GetSystemBitmap() const { return handle; }
    Size GetSize() const;
    // Colours are 0x00BBGGRR; a pixel outside the bitmap reads as CLR_INVALID.
    COLORREF GetPixel(int x, int y) const;
    int SetPixel(int x, int y, COLORREF colour);

private:
    HBITMAP handle;
};

} // namespace GUI
} // namespace lumora

#endif
