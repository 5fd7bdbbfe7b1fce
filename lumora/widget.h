// The common part of every visible element: a real Win32 window once its container has one.
#ifndef LUMORA_WIDGET_H
#define LUMORA_WIDGET_H

#include "lumora/api.h"
#include "lumora/geometry.h"
#include "lumora/object.h"
#include "lumora/string.h"

#include <windows.h>

namespace lumora {
namespace GUI {

// How a container turns a widget's stored position into its top-left corner.
enum Orientation {
    OR_UPPERLEFT = 0,  // x from the left edge, y down from the top (the default)
    OR_UPPERRIGHT = 1, // left = container width - x, y down from the top
    OR_LOWERLEFT = 2,  // x from the left edge, top = container height - y
    OR_LOWERRIGHT = 3, // left = container width - x, top = container height - y
};

// A widget keeps its state (text, position, size, visibility, activity) while it has no
// native window and applies it when its container creates one. Results are 0 on success.
class LUMORA_API Widget : public Object {
public:
    Widget(const Point &position = Point(), const Size &size = Size());
    virtual ~Widget();

    // attributes
    Point GetPosition() const { return position; }
    Size GetSize() const; // the real size once defaults are resolved
    virtual int SetMetrics(const Point &newPosition, const Size &newSize);
    int GetOrientation() const { return orientation; }
    int SetOrientation(int newOrientation);
    virtual String GetText() const;
    virtual int SetText(const String &newText);
    bool IsVisible() const { return visible; }
    bool IsActive() const { return active; }
    HWND GetSystemWindow() const { return hwnd; }

    // operations
    virtual int Show() { return ChangeVisibility(true); }
    virtual int Hide() { return ChangeVisibility(false); }
    virtual int Activate() { return ChangeActivity(true); }
    virtual int Deactivate() { return ChangeActivity(false); }
    // Gives the widget the keyboard focus, at once in the active window, else when its window
    // is activated next. 1 while the widget has no native window.
    int Focus();
    // Tab reaches this widget right after `previous`, a widget of the same native parent (null:
    // first). The system keeps one order for Tab and for drawing, so this moves both.
    int SetTabPosition(const Widget *previous);

    // Used by containers: make or destroy the native window inside parent, with the
    // widget's top-left corner at origin (parent's client coordinates).
    virtual void CreateNative(HWND parent, const Point &origin) = 0;
    virtual void DestroyNative();
    // The native window was destroyed with its parent: only the handle is dropped.
    virtual void ForgetNative();
    // Moves an existing native window after the container changed place or size.
    virtual void Relayout(const Point &origin);
    // Where the container puts this widget, given the container's size.
    Point PlaceIn(const Size &containerSize) const;
    // Shows or hides the native window as the widget's and its containers' state say.
    virtual void ApplyVisibility();
    // A notification (WM_COMMAND code) from the native control.
    virtual void Notify(int code);
    // The brush for WM_CTLCOLOR*, or null for the system's choice.
    virtual HBRUSH ControlColour(HDC dc);

protected:
    // The natural extent that a zero width or height stands for.
    virtual Size DefaultSize() const { return size; }
    // A choice whose label would be cut grows to its label's width: the fonts of the system
    // the program runs on decide that width, not the program.
    virtual bool KeepsWholeText() const { return false; }
    // Whether the arrow keys stop at this widget: a choice that follows another of its kind in
    // its container continues that one's group, any other widget starts one of its own.
    virtual bool StartsGroup() const { return true; }
    // The widget registered just before this one in its container, or null.
    const Widget *PreviousInContainer() const;
    // Creates a standard control of this widget, with the widget's text, place, font and state.
    HWND CreateControl(HWND parent, const Point &origin, const char *className, DWORD style,
                       DWORD exStyle = 0);
    // Applies the activity state to the native window.
    virtual void ApplyActivity();
    bool ShownByContainer() const;
    int ChangeVisibility(bool shown);
    int ChangeActivity(bool enabled);

    Point position;
    Size size;
    int orientation = OR_UPPERLEFT;
    String text;
    bool visible = true;
    bool active = true;
    HWND hwnd = nullptr;
};

} // namespace GUI
} // namespace lumora

#endif
