// Process-wide state of the library: start-up parameters, the message loop, the version.
#ifndef LUMORA_PROCESS_H
#define LUMORA_PROCESS_H

#include "lumora/api.h"
#include "lumora/string.h"

#include <windows.h>

namespace lumora {

// Set by the program before Init.
extern LUMORA_API HINSTANCE hInstance;
extern LUMORA_API HINSTANCE hPrevInstance;
extern LUMORA_API String szCmdLine;
extern LUMORA_API int iCmdShow;

// Init decides the character width, registers the window classes and loads the common
// controls. Setting the environment variable LUMORA_ANSI to 1 forces the 8-bit path.
LUMORA_API int Init();
// Shows the windows registered so far and dispatches messages until the quit message
// arrives, a window received WM_QUIT, or the application's last window has closed.
LUMORA_API int Loop();
LUMORA_API int Free();

class LUMORA_API Setup {
public:
    // True: wide (...W) Windows calls and wide text; false: 8-bit (...A) calls and text.
    static bool enableUnicode;
};

namespace System {
class LUMORA_API System {
public:
    static String GetVersionString();
};
} // namespace System

} // namespace lumora

#endif
