// A layer taller than the room it is given: its widgets lie in a child window with a vertical
// scroll bar, and the user brings them into view with the bar, the mouse wheel, or the keyboard
// (a widget that takes the focus out of view scrolls in).
#ifndef LUMORA_SCROLL_LAYER_H
#define LUMORA_SCROLL_LAYER_H

#include "lumora/api.h"
#include "lumora/object.h"
#include "lumora/widget.h"

namespace lumora {
namespace GUI {

class LUMORA_API ScrollLayer : public Widget, public Container {
public:
    // Widgets are placed from the top-left corner of the whole scrolled area; the bar and the
    // wheel move it by lineHeight pixels a step.
    ScrollLayer(const Point &position, const Size &size, int lineHeight);
    ~ScrollLayer();

    // attributes
    int GetScrollPosition() const { return top; } // pixels of the area above the view
    int GetAreaHeight() const;                    // down to the lowest widget's bottom edge

    // operations
    int ScrollTo(int newTop); // kept between 0 and the area's height less the view's
    int ScrollIntoView(const Widget *widget);
    // The up and down arrow keys move the focus between the layer's enabled widgets, in the
    // order they were registered; true when message was one of them for a widget of the layer.
    // The library's loop asks this before the window's dialog keys.
    bool HandleArrowKey(const MSG &message);

    int RegisterObject(Object *object) override;
    int UnregisterObject(Object *object) override;
    bool ShowsChildren() const override;
    void ObjectChanged(Object *object) override;

    void CreateNative(HWND parent, const Point &origin) override;
    void DestroyNative() override;
    void ForgetNative() override;
    void Relayout(const Point &origin) override;
    void ApplyVisibility() override;
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    LRESULT Process(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    int ViewHeight() const;
    Point ChildOrigin(const Widget *child) const;
    void PlaceChildren();
    void UpdateScrollBar();
    void Scroll(int request);

    int lineHeight;
    int top = 0;
    int wheelRemainder = 0; // a fine wheel's part of a step
};

} // namespace GUI
} // namespace lumora

#endif
