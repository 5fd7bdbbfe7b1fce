// The system's question before a session ends, put to one window of a program under test.
#include "tests/driver/ui_driver.h"

namespace uidriver {

namespace {

// A user may take long over a box the program shows in answer.
const UINT questionTimeoutMs = 10 * 60 * 1000;

} // namespace

SessionEndRequest::SessionEndRequest(HWND window) : window(window)
{
    thread = CreateThread(nullptr, 0, Ask, this, 0, nullptr);
}

SessionEndRequest::~SessionEndRequest()
{
    if (!thread) return;
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
}

std::optional<bool> SessionEndRequest::Agreed(DWORD timeoutMs)
{
    if (!thread || WaitForSingleObject(thread, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
    return agreed != 0;
}

DWORD WINAPI SessionEndRequest::Ask(void *self)
{
    SessionEndRequest *request = static_cast<SessionEndRequest *>(self);
    DWORD_PTR answer = FALSE;
    if (!SendMessageTimeoutW(request->window, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                             questionTimeoutMs, &answer))
        answer = FALSE;
    if (answer)
        SendMessageTimeoutW(request->window, WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, Patient(kAnswerTimeoutMs),
                            nullptr);
    InterlockedExchange(&request->agreed, answer ? 1 : 0);
    return 0;
}

} // namespace uidriver
