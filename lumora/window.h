// A top-level window that draws its own border; its widgets are placed in window coordinates.
#ifndef LUMORA_WINDOW_H
#define LUMORA_WINDOW_H

#include "lumora/api.h"
#include "lumora/object.h"
#include "lumora/signal.h"
#include "lumora/surface.h"
#include "lumora/widget.h"

namespace lumora {
namespace GUI {

enum WindowFlags {
    // Windows that carry this flag stay stacked together: each is owned by the first
    // window of the application that carries it, so it always stands in front of that one.
    // When the last of the owned windows closes, the first one closes with it.
    WF_APPGROUP = 8,
};

// The border the window draws around its inside, and the height of a title bar in it.
const int WINDOW_BORDER = 3;
const int TITLEBAR_HEIGHT = 25;

class Button;

class LUMORA_API Window : public Widget, public Container {
public:
    // Position (0, 0) with size (0, 0) centres a window of the default size on the screen.
    explicit Window(const String &title, const Point &position = Point(), const Size &size = Size(),
                    void *createData = nullptr);
    ~Window();

    // events
    Signal<> onPaint;              // during WM_PAINT; GetUpdateRect and GetDrawSurface are valid
    Signal<int, int, int> onEvent; // every message: number, wParam, lParam
    // Asked by Close, by the system close command and when the session is to end (the
    // window does not close then: the session's end may still be refused).
    Callback<bool> doQuit;

    // attributes
    int SetText(const String &title) override; // the window's title
    int SetMetrics(const Point &newPosition, const Size &newSize) override;
    int SetFlags(int newFlags) override;
    Rect GetUpdateRect() const; // the area being repainted
    Surface *GetDrawSurface();  // the surface of the paint in progress
    // The part of the window inside its border and below its title bar, where layers lie.
    Rect GetContentArea() const;
    bool IsCaptionActive() const; // the window is the active one
    // The button Enter presses, framed as the default, where the focus stands on no other push
    // button; and the one Esc presses. Neither is pressed while it is hidden or inactive.
    // Null for none; both must stay alive while set.
    int SetDefaultButton(Button *button);
    int SetCancelButton(Button *button);

    // operations
    // Asks doQuit (true when nothing is connected) and destroys the window when allowed.
    // 0: closed; 1: doQuit refused; -1: the window has no native window.
    int Close();

    int RegisterObject(Object *object) override;
    int UnregisterObject(Object *object) override;
    void ObjectChanged(Object *object) override;

    void CreateNative(HWND parent, const Point &origin) override;
    void DestroyNative() override;
    void ForgetNative() override;
    void ApplyVisibility() override;
    LRESULT Process(UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    Size DefaultSize() const override;

private:
    bool AllowsQuit(); // doQuit's answer; a request while it is still asking is refused
    // The dialog keys' side of the window, as a dialog box keeps it: where the focus goes next,
    // which button Enter presses, and the focus taken back when the window is activated again.
    void MoveFocus(HWND control);
    void ShowDefaultFrame(HWND focused);
    bool Reaches(const Button *button) const;
    Point ChildOrigin(const Widget *child) const;
    void RelayoutChildren();
    void RepaintTitlebars(bool newTitle);
    void Paint();

    Rect updateRect;
    Surface *surface = nullptr;
    bool asking = false;     // doQuit is being asked
    bool destroying = false; // DestroyWindow is under way
    bool dying = false;      // the object is being deleted: its signals' targets may be gone
    Button *defaultButton = nullptr;
    Button *cancelButton = nullptr;
    HWND focus = nullptr; // the control that has, or gets back, the focus
};

} // namespace GUI
} // namespace lumora

#endif
