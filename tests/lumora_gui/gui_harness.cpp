#include "tests/lumora_gui/gui_harness.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace guitest {

void Pump()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool PumpUntil(const std::function<bool()> &condition, DWORD timeoutMs)
{
    return WaitFor(
        [&] {
            if (condition()) return true;
            Pump();
            return false;
        },
        timeoutMs);
}

bool WaitFor(const std::function<bool()> &condition, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(5);
    }
    return true;
}

bool LoopEndsWithin(DWORD timeoutMs)
{
    HANDLE finished = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    DWORD loopThread = GetCurrentThreadId();
    std::atomic<bool> fired{false};
    std::thread watchdog([&] {
        if (WaitForSingleObject(finished, timeoutMs) == WAIT_TIMEOUT) {
            fired = true;
            PostThreadMessageW(loopThread, WM_QUIT, 0, 0);
        }
    });
    lumora::Loop();
    SetEvent(finished);
    watchdog.join();
    CloseHandle(finished);
    return !fired;
}

RECT ChildRect(HWND child)
{
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT *>(&rect), 2);
    return rect;
}

WindowFixture::WindowFixture(bool withTitlebar)
    : window(new lumora::GUI::Window("Lumora test")), layer(new lumora::GUI::Layer(""))
{
    application.RegisterObject(window);
    if (withTitlebar) {
        titlebar = new lumora::GUI::Titlebar(lumora::GUI::TB_CLOSE);
        window->RegisterObject(titlebar);
    }
    window->RegisterObject(layer);
    window->SetMetrics(lumora::Point(100, 100), lumora::Size(480, 355));
    window->Show();
    Pump();
}

WindowFixture::~WindowFixture()
{
    delete layer;
    delete titlebar;
    delete window;
    Pump();
}

} // namespace guitest
