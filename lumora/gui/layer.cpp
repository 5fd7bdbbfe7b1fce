// A layer lends its widgets a place, an extent for their orientation and a shared visibility.
#include "lumora/layer.h"

#include "lumora/window.h"

#include <algorithm>

namespace lumora {
namespace GUI {

Layer::Layer(const String &name)
{
    text = name;
}

Layer::~Layer()
{
    if (Widget::container) Widget::container->UnregisterObject(this);
    DestroyNative();
}

int Layer::RegisterObject(Object *object)
{
    Widget *widget = dynamic_cast<Widget *>(object);
    if (!widget || dynamic_cast<Window *>(object)) return 1;
    int result = Container::RegisterObject(object);
    if (result == 0 && parentWindow) widget->CreateNative(parentWindow, ChildOrigin(widget));
    return result;
}

int Layer::UnregisterObject(Object *object)
{
    if (std::find(objects.begin(), objects.end(), object) == objects.end()) return 1;
    if (Widget *widget = dynamic_cast<Widget *>(object)) widget->DestroyNative();
    return Container::UnregisterObject(object);
}

int Layer::Show()
{
    return Widget::Show();
}

int Layer::Hide()
{
    return Widget::Hide();
}

bool Layer::ShowsChildren() const
{
    return visible && ShownByContainer();
}

void Layer::ObjectChanged(Object *object)
{
    Widget *widget = dynamic_cast<Widget *>(object);
    if (parentWindow && widget) widget->Relayout(ChildOrigin(widget));
}

void Layer::CreateNative(HWND parent, const Point &newOrigin)
{
    if (parentWindow || !parent) return;
    parentWindow = parent;
    origin = newOrigin;
    for (Object *object : objects)
        if (Widget *widget = dynamic_cast<Widget *>(object))
            widget->CreateNative(parentWindow, ChildOrigin(widget));
}

void Layer::DestroyNative()
{
    for (Object *object : objects)
        if (Widget *widget = dynamic_cast<Widget *>(object)) widget->DestroyNative();
    parentWindow = nullptr;
}

void Layer::ForgetNative()
{
    for (Object *object : objects)
        if (Widget *widget = dynamic_cast<Widget *>(object)) widget->ForgetNative();
    parentWindow = nullptr;
}

void Layer::Relayout(const Point &newOrigin)
{
    origin = newOrigin;
    if (!parentWindow) return;
    for (Object *object : objects)
        if (Widget *widget = dynamic_cast<Widget *>(object)) widget->Relayout(ChildOrigin(widget));
}

void Layer::ApplyVisibility()
{
    for (Object *object : objects)
        if (Widget *widget = dynamic_cast<Widget *>(object)) widget->ApplyVisibility();
}

Size Layer::DefaultSize() const
{
    Size area = size;
    if (const Window *window = dynamic_cast<const Window *>(Widget::container)) {
        Rect content = window->GetContentArea();
        area = Size(content.right - content.left, content.bottom - content.top);
    } else if (const Layer *layer = dynamic_cast<const Layer *>(Widget::container)) {
        area = layer->GetSize();
    }
    return Size(area.cx - position.x, area.cy - position.y);
}

Point Layer::ChildOrigin(const Widget *child) const
{
    Point place = child->PlaceIn(GetSize());
    return Point(origin.x + place.x, origin.y + place.y);
}

} // namespace GUI
} // namespace lumora
