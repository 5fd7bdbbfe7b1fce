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
    WF_APPGROUP = 8,
};

class LUMORA_API Window : public Widget, public Container {
public:
    explicit Window(const String &title, const Point &position = Point(), const Size &size = Size(),
                    void *createData = nullptr);
    ~Window();

    // events
    Signal<> onPaint;              // during WM_PAINT; GetUpdateRect and GetDrawSurface are valid
    Signal<int, int, int> onEvent; // every message: number, wParam, lParam
    Callback<bool> doQuit;         // asked by Close and by the system close command

    // attributes
    int SetText(const String &title) override; // the window's title
    int SetMetrics(const Point &newPosition, const Size &newSize) override;
    int SetFlags(int newFlags) override;
    Rect GetUpdateRect() const; // the area being repainted
    Surface *GetDrawSurface();  // the surface of the paint in progress

    // operations
    // Asks doQuit (true when nothing is connected) and destroys the window when allowed.
    int Close();

    int RegisterObject(Object *object) override;
    int UnregisterObject(Object *object) override;

    void CreateNative(HWND parent, const Point &origin) override;
    void DestroyNative() override;
    LRESULT Process(UINT message, WPARAM wParam, LPARAM lParam);

private:
    Rect updateRect;
    Surface *surface = nullptr;
};

} // namespace GUI
} // namespace lumora

#endif
