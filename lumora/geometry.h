// Plain geometry values used to place widgets.
#ifndef LUMORA_GEOMETRY_H
#define LUMORA_GEOMETRY_H

#ifdef _WIN32
#include <windows.h>
#endif

namespace lumora {

struct Point {
    int x = 0;
    int y = 0;
    Point() = default;
    Point(int x, int y) : x(x), y(y) {}
};

// A zero in a dimension asks the widget for its default extent in that dimension.
struct Size {
    int cx = 0;
    int cy = 0;
    Size() = default;
    Size(int cx, int cy) : cx(cx), cy(cy) {}
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    Rect() = default;
    Rect(int left, int top, int right, int bottom) : left(left), top(top), right(right), bottom(bottom) {}
    Rect(const Point &pos, const Size &size)
        : left(pos.x), top(pos.y), right(pos.x + size.cx), bottom(pos.y + size.cy)
    {
    }
#ifdef _WIN32
    Rect(const RECT &r) : left(r.left), top(r.top), right(r.right), bottom(r.bottom) {}
    operator RECT() const
    {
        return RECT{left, top, right, bottom};
    }
#endif
};

} // namespace lumora

#endif
