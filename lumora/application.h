// The program's application object: the container of its top-level windows.
#ifndef LUMORA_APPLICATION_H
#define LUMORA_APPLICATION_H

#include "lumora/api.h"
#include "lumora/object.h"
#include "lumora/string.h"

namespace lumora {

namespace GUI {
class Window;
}

class LUMORA_API Application : public Container {
public:
    explicit Application(const String &name = String());
    virtual ~Application();

    // Only windows can be registered here; registering creates the window (hidden until
    // Loop runs, or at once when Loop is already running).
    int RegisterObject(Object *object) override;
    int UnregisterObject(Object *object) override;

    // Both end with a path separator and are fixed at the first query.
    static String GetStartupDirectory();     // the working directory
    static String GetApplicationDirectory(); // the folder of the program file

    // attributes
    String GetName() const { return name; }
    // Registered windows whose native window still exists.
    int GetNOfLiveWindows() const;

    // Used by windows: their WF_APPGROUP flag changed, or their native window has gone.
    void ArrangeGroup();
    void WindowGone(GUI::Window *window);

private:
    String name;
};

} // namespace lumora

#endif
