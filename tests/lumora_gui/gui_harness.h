// Shared helpers of the in-process GUI tests: a window on the screen, message pumping,
// and a watchdog so a loop that never ends fails the test instead of hanging it.
#pragma once

#include "lumora/lumora.h"

#include <windows.h>

#include <functional>

namespace guitest {

// Dispatches every pending message of this thread.
void Pump();

// Polls condition, pumping messages, for up to timeoutMs; true when it held in time.
bool PumpUntil(const std::function<bool()> &condition, DWORD timeoutMs = 5000);

// Polls condition without pumping, from a thread other than the one running the loop, for up to
// timeoutMs; true when it held in time.
bool WaitFor(const std::function<bool()> &condition, DWORD timeoutMs = 5000);

// Runs lumora::Loop; if it has not returned after timeoutMs, ends it with a thread quit message
// and returns false.
bool LoopEndsWithin(DWORD timeoutMs);

// The rectangle of a child window in its parent's client coordinates.
RECT ChildRect(HWND child);

// An application with one 480 x 355 window on the screen, optionally with a title bar and a
// full layer, as the wizard builds it.
class WindowFixture {
public:
    explicit WindowFixture(bool withTitlebar = true);
    ~WindowFixture();
    WindowFixture(const WindowFixture &) = delete;
    WindowFixture &operator=(const WindowFixture &) = delete;

    HWND Handle() const { return window->GetSystemWindow(); }

    lumora::Application application;
    lumora::GUI::Window *window;
    lumora::GUI::Titlebar *titlebar = nullptr;
    lumora::GUI::Layer *layer;
};

} // namespace guitest
