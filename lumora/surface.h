// Drawing on a window during its paint.
#ifndef LUMORA_SURFACE_H
#define LUMORA_SURFACE_H

#include "lumora/api.h"
#include "lumora/geometry.h"

#include <windows.h>

namespace lumora {
namespace GUI {

enum FrameStyle {
    FRAME_UP = 0,   // raised: light top-left, dark bottom-right
    FRAME_DOWN = 1, // sunken: dark top-left, light bottom-right
};

class LUMORA_API Surface {
public:
    explicit Surface(HDC dc) : dc(dc) {}

    // A one-pixel frame whose outer edge runs along left, top, right and bottom (all inclusive).
    int Frame(const Rect &rect, int style);
    HDC GetContext() const { return dc; }

private:
    HDC dc;
};

} // namespace GUI
} // namespace lumora

#endif
