// Inside the library only: the state that ties the applications' windows to the message loop.
#ifndef LUMORA_GUI_SESSION_H
#define LUMORA_GUI_SESSION_H

namespace lumora {
class Application;

namespace session {

void AddApplication(Application *application);
void RemoveApplication(Application *application);

// True while Loop dispatches messages: windows registered then are shown at once.
bool LoopRunning();
// A window received WM_QUIT: Loop ends before it waits for the next message.
void RequestLoopEnd();
// Makes a waiting Loop look again at its end conditions (a window has gone).
void WakeLoop();

} // namespace session
} // namespace lumora

#endif
