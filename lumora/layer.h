// A container without a window of its own: its widgets become children of the window
// that holds the layer, placed relative to the layer's rectangle.
#ifndef LUMORA_LAYER_H
#define LUMORA_LAYER_H

#include "lumora/api.h"
#include "lumora/object.h"
#include "lumora/widget.h"

namespace lumora {
namespace GUI {

class LUMORA_API Layer : public Widget, public Container {
public:
    // Size (0, 0) fills the window's area inside its border and title bar.
    explicit Layer(const String &name);
    ~Layer();

    int RegisterObject(Object *object) override;
    int UnregisterObject(Object *object) override;
    int Show() override; // shows the widgets that are not hidden themselves
    int Hide() override; // hides every widget of the layer, keeping their own state
    bool ShowsChildren() const override;
    void ObjectChanged(Object *object) override;

    void CreateNative(HWND parent, const Point &origin) override;
    void DestroyNative() override;
    void ForgetNative() override;
    void Relayout(const Point &origin) override;
    void ApplyVisibility() override;

protected:
    Size DefaultSize() const override;

private:
    Point ChildOrigin(const Widget *child) const;

    HWND parentWindow = nullptr;
    Point origin;
};

} // namespace GUI
} // namespace lumora

#endif
