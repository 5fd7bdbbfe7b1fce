// How the message loop starts and ends, and how windows close.
#include "tests/lumora_gui/gui_harness.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using namespace lumora;
using namespace lumora::GUI;
using guitest::LoopEndsWithin;
using guitest::Pump;
using guitest::WaitFor;

namespace {

// Waits (without pumping: another thread runs the loop) until the window is on the screen.
bool WaitVisible(HWND window)
{
    return WaitFor([&] { return IsWindowVisible(window) != FALSE; });
}

// Waits until the window is the one in front, so what the user does next reaches it.
bool WaitInFront(HWND window)
{
    return WaitFor([&] { return GetForegroundWindow() == window; });
}

// Clicks the button from another thread once it shows, as the user would, while this thread
// runs the loop; whether the loop then ends in time.
bool LoopEndsAfterClicking(HWND button)
{
    std::thread user([button] {
        WaitVisible(button);
        PostMessageW(button, BM_CLICK, 0, 0);
    });
    bool ended = LoopEndsWithin(10000);
    user.join();
    return ended;
}

// Whether the thread of the window holds the mouse capture, as it does while a drag goes on.
bool Captured(HWND window)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) && info.hwndCapture != nullptr;
}

class LoopTest : public testing::Test {
protected:
    void SetUp() override
    {
        window = new Window("Loop test", Point(100, 100), Size(300, 200));
        application.RegisterObject(window);
    }
    void TearDown() override
    {
        delete window;
        Pump();
    }

    Application application;
    Window *window = nullptr;
};

TEST_F(LoopTest, RegisteredWindowIsShownByTheLoopNotBefore)
{
    HWND handle = window->GetSystemWindow();
    ASSERT_NE(handle, nullptr);
    EXPECT_FALSE(IsWindowVisible(handle));
    std::atomic<bool> seen{false};
    std::thread user([&] {
        seen = WaitVisible(handle);
        SendMessageW(handle, WM_QUIT, 0, 0);
    });
    EXPECT_TRUE(LoopEndsWithin(10000));
    user.join();
    EXPECT_TRUE(seen);
}

TEST_F(LoopTest, WindowRegisteredWhileTheLoopRunsIsShownAtOnce)
{
    Window second("Second", Point(150, 150), Size(200, 100));
    Button add("Add", nullptr, Point(10, 10), Size());
    Layer layer("");
    window->RegisterObject(&layer);
    layer.RegisterObject(&add);
    struct Handler {
        Application *application;
        Window *second;
        bool shown = false;
        void OnClick()
        {
            application->RegisterObject(second);
            shown = IsWindowVisible(second->GetSystemWindow()) != FALSE;
            SendMessageW(second->GetSystemWindow(), WM_QUIT, 0, 0);
        }
    } handler{&application, &second};
    add.onClick.Connect(new Instance<Handler>(&handler), new Method<Handler, void>(&Handler::OnClick));
    EXPECT_TRUE(LoopEndsAfterClicking(add.GetSystemWindow()));
    EXPECT_TRUE(handler.shown);
}

TEST_F(LoopTest, QuitSentToAWindowEndsTheLoopEvenWhenANestedPumpEatsTheQuitMessage)
{
    Layer layer("");
    Button no("No", nullptr, Point(10, 10), Size());
    window->RegisterObject(&layer);
    layer.RegisterObject(&no);
    struct Handler {
        HWND window;
        bool quitSeenByNestedPump = false;
        void OnClick()
        {
            SendMessageW(window, WM_QUIT, 0, 0);
            // A handler's own pump, like the wizard's during the installation, takes the quit message.
            MSG message;
            DWORD start = GetTickCount();
            while (GetTickCount() - start < 300) {
                if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                    if (message.message == WM_QUIT) quitSeenByNestedPump = true;
                    DispatchMessageW(&message);
                }
            }
        }
    } handler{window->GetSystemWindow()};
    no.onClick.Connect(new Instance<Handler>(&handler), new Method<Handler, void>(&Handler::OnClick));
    EXPECT_TRUE(LoopEndsAfterClicking(no.GetSystemWindow()));
    EXPECT_TRUE(handler.quitSeenByNestedPump);
    EXPECT_TRUE(IsWindow(window->GetSystemWindow())); // the loop ended; the window is the program's to delete
}

TEST_F(LoopTest, LoopEndsWhenTheLastWindowClosesEvenIfTheQuitMessageWasLost)
{
    Layer layer("");
    Button finish("Finish", nullptr, Point(10, 10), Size());
    window->RegisterObject(&layer);
    layer.RegisterObject(&finish);
    struct Handler {
        Window *window;
        void OnClick()
        {
            PostQuitMessage(0);
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
            window->Close();
        }
    } handler{window};
    finish.onClick.Connect(new Instance<Handler>(&handler), new Method<Handler, void>(&Handler::OnClick));
    EXPECT_TRUE(LoopEndsAfterClicking(finish.GetSystemWindow()));
    EXPECT_EQ(window->GetSystemWindow(), nullptr);
}

TEST_F(LoopTest, SystemCloseCommandFromAnotherThreadEndsTheLoop)
{
    HWND handle = window->GetSystemWindow();
    std::thread user([&] {
        WaitVisible(handle);
        // Sent messages run inside the loop's wait: the loop must still notice the window has gone.
        SendMessageW(handle, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    EXPECT_TRUE(LoopEndsWithin(10000));
    user.join();
    EXPECT_FALSE(IsWindow(handle));
}

TEST_F(LoopTest, LoopWithoutWindowsReturnsAtOnce)
{
    application.UnregisterObject(window);
    EXPECT_TRUE(LoopEndsWithin(3000));
}

struct QuitPermission {
    bool answer;
    int asked = 0;
    bool Ask()
    {
        asked++;
        return answer;
    }
};

TEST_F(LoopTest, CloseAsksTheQuitPermissionAndKeepsTheWindowOnFalse)
{
    struct Case {
        bool answer;
        int expectedResult;
        bool stillOpen;
    };
    const Case cases[] = {{false, 1, true}, {true, 0, false}};
    for (const Case &c : cases) {
        Window subject("Subject", Point(100, 100), Size(200, 100));
        application.RegisterObject(&subject);
        QuitPermission permission{c.answer};
        subject.doQuit.Connect(new Instance<QuitPermission>(&permission),
                               new Method<QuitPermission, bool>(&QuitPermission::Ask));
        EXPECT_EQ(subject.Close(), c.expectedResult);
        EXPECT_EQ(permission.asked, 1);
        EXPECT_EQ(subject.GetSystemWindow() != nullptr, c.stillOpen);
    }
}

TEST_F(LoopTest, SystemCloseCommandAsksTheQuitPermissionToo)
{
    QuitPermission permission{false};
    window->doQuit.Connect(new Instance<QuitPermission>(&permission),
                           new Method<QuitPermission, bool>(&QuitPermission::Ask));
    SendMessageW(window->GetSystemWindow(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(permission.asked, 1);
    EXPECT_TRUE(IsWindow(window->GetSystemWindow()));
    permission.answer = true;
    SendMessageW(window->GetSystemWindow(), WM_CLOSE, 0, 0);
    EXPECT_EQ(permission.asked, 2);
    EXPECT_EQ(window->GetSystemWindow(), nullptr);
}

TEST_F(LoopTest, CloseWithoutPermissionHandlerCloses)
{
    EXPECT_EQ(window->Close(), 0);
    EXPECT_EQ(window->GetSystemWindow(), nullptr);
    EXPECT_EQ(window->Close(), -1);
}

TEST_F(LoopTest, GroupedWindowsAreOwnedByTheFirstAndItClosesWithTheLast)
{
    Window front("Front", Point(120, 120), Size(200, 100));
    application.RegisterObject(&front);
    // Flags set after creation, first on the backdrop, as the wizard does.
    window->SetFlags(WF_APPGROUP);
    front.SetFlags(WF_APPGROUP);
    EXPECT_EQ(GetWindow(front.GetSystemWindow(), GW_OWNER), window->GetSystemWindow());
    EXPECT_EQ(GetWindow(window->GetSystemWindow(), GW_OWNER), nullptr);

    front.Close();
    EXPECT_EQ(window->GetSystemWindow(), nullptr);
    EXPECT_TRUE(LoopEndsWithin(3000));
}

TEST_F(LoopTest, ClosingTheBackdropTakesTheWindowsInFrontWithIt)
{
    Window front("Front", Point(120, 120), Size(200, 100));
    application.RegisterObject(&front);
    window->SetFlags(WF_APPGROUP);
    front.SetFlags(WF_APPGROUP);
    EXPECT_EQ(window->Close(), 0);
    EXPECT_EQ(front.GetSystemWindow(), nullptr);
    EXPECT_EQ(application.GetNOfLiveWindows(), 0);
}

TEST_F(LoopTest, PaintSignalSeesTheUpdateRectangleAndASurface)
{
    struct Painter {
        Window *window = nullptr;
        int paints = 0;
        bool hadSurface = false;
        Rect area;
        void OnPaint()
        {
            paints++;
            hadSurface = window->GetDrawSurface() != nullptr;
            area = window->GetUpdateRect();
        }
    } painter;
    painter.window = window;
    window->onPaint.Connect(new Instance<Painter>(&painter), new Method<Painter, void>(&Painter::OnPaint));
    window->Show();
    Pump();
    RECT part = {10, 20, 50, 60};
    InvalidateRect(window->GetSystemWindow(), &part, FALSE);
    int before = painter.paints;
    UpdateWindow(window->GetSystemWindow());
    EXPECT_EQ(painter.paints, before + 1);
    EXPECT_TRUE(painter.hadSurface);
    EXPECT_EQ(painter.area.left, 10);
    EXPECT_EQ(painter.area.top, 20);
    EXPECT_EQ(painter.area.right, 50);
    EXPECT_EQ(painter.area.bottom, 60);
    EXPECT_EQ(window->GetDrawSurface(), nullptr); // only during the paint
}

TEST_F(LoopTest, EventSignalSeesEveryMessageWithItsParameters)
{
    struct Listener {
        int message = 0, wParam = 0, lParam = 0;
        void OnEvent(int m, int w, int l)
        {
            if (m != WM_USER + 7) return;
            message = m;
            wParam = w;
            lParam = l;
        }
    } listener;
    window->onEvent.Connect(new Instance<Listener>(&listener),
                            new Method<Listener, void, int, int, int>(&Listener::OnEvent));
    SendMessageW(window->GetSystemWindow(), WM_USER + 7, 11, 22);
    EXPECT_EQ(listener.message, WM_USER + 7);
    EXPECT_EQ(listener.wParam, 11);
    EXPECT_EQ(listener.lParam, 22);
}

} // namespace

namespace {

TEST_F(LoopTest, FrontWindowOfAGroupIsActiveWithAnActiveCaptionWhenTheLoopStarts)
{
    window->SetMetrics(Point(0, 0), Size(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
    Window front("Front", Point(272, 206), Size(480, 355));
    Titlebar titlebar(TB_CLOSE);
    front.RegisterObject(&titlebar);
    application.RegisterObject(&front);
    window->SetFlags(WF_APPGROUP);
    front.SetFlags(WF_APPGROUP);
    struct Probe {
        Window *front;
        HWND active = nullptr;
        bool captionActive = false;
    } probe{&front};
    HWND frontHandle = front.GetSystemWindow();
    std::atomic<bool> shown{false};
    std::thread user([&] {
        shown = WaitVisible(frontHandle);
        WaitInFront(frontHandle);
        PostMessageW(frontHandle, WM_USER + 1, 0, 0);
    });
    struct Stopper {
        Probe *probe;
        void OnEvent(int message, int, int)
        {
            if (message != WM_USER + 1) return;
            probe->active = GetActiveWindow();
            probe->captionActive = probe->front->IsCaptionActive();
            SendMessageW(probe->front->GetSystemWindow(), WM_QUIT, 0, 0);
        }
    } stopper{&probe};
    front.onEvent.Connect(new Instance<Stopper>(&stopper),
                          new Method<Stopper, void, int, int, int>(&Stopper::OnEvent));
    // The wizard's backdrop hands the activation on to the window in front of it.
    struct Backdrop {
        Window *front;
        void OnEvent(int message, int, int)
        {
            if (message == WM_ACTIVATE) SetActiveWindow(front->GetSystemWindow());
        }
    } backdrop{&front};
    window->onEvent.Connect(new Instance<Backdrop>(&backdrop),
                            new Method<Backdrop, void, int, int, int>(&Backdrop::OnEvent));
    EXPECT_TRUE(LoopEndsWithin(10000));
    user.join();
    EXPECT_TRUE(shown);
    EXPECT_EQ(probe.active, frontHandle);
    EXPECT_TRUE(probe.captionActive);
}

} // namespace

namespace {

TEST_F(LoopTest, TabMovesTheFocusToTheNextControlAsInADialog)
{
    Layer layer("");
    Button first("First", nullptr, Point(10, 10), Size());
    Button second("Second", nullptr, Point(100, 10), Size());
    window->RegisterObject(&layer);
    layer.RegisterObject(&first);
    layer.RegisterObject(&second);
    struct Probe {
        HWND focused = nullptr;
        Window *window = nullptr;
        void OnEvent(int message, int, int)
        {
            if (message != WM_USER + 2) return;
            focused = GetFocus();
            SendMessageW(window->GetSystemWindow(), WM_QUIT, 0, 0);
        }
    } probe;
    probe.window = window;
    window->onEvent.Connect(new Instance<Probe>(&probe),
                            new Method<Probe, void, int, int, int>(&Probe::OnEvent));
    HWND firstHandle = first.GetSystemWindow();
    HWND windowHandle = window->GetSystemWindow();
    std::thread user([&] {
        WaitVisible(windowHandle);
        WaitInFront(windowHandle);
        PostMessageW(windowHandle, WM_USER + 1, 0, 0);
    });
    struct Starter {
        HWND first;
        void OnEvent(int message, int, int)
        {
            if (message != WM_USER + 1) return;
            SetFocus(first);
            PostMessageW(first, WM_KEYDOWN, VK_TAB, 0);
            PostMessageW(GetParent(first), WM_USER + 2, 0, 0);
        }
    } starter{firstHandle};
    window->onEvent.Connect(new Instance<Starter>(&starter),
                            new Method<Starter, void, int, int, int>(&Starter::OnEvent));
    EXPECT_TRUE(LoopEndsWithin(10000));
    user.join();
    EXPECT_EQ(probe.focused, second.GetSystemWindow());
}

} // namespace

namespace {

void MouseInput(DWORD flags)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

TEST_F(LoopTest, DraggingTheTitlebarMovesTheWindow)
{
    Titlebar titlebar(TB_CLOSE);
    window->RegisterObject(&titlebar);
    HWND handle = window->GetSystemWindow();
    RECT before = {};
    std::thread user([&] {
        WaitVisible(handle);
        WaitInFront(handle);
        GetWindowRect(handle, &before);
        const auto cursorAt = [](int x, int y) {
            POINT cursor = {};
            return GetCursorPos(&cursor) && cursor.x == x && cursor.y == y;
        };
        SetCursorPos(before.left + 60, before.top + 15);
        WaitFor([&] { return cursorAt(before.left + 60, before.top + 15); });
        MouseInput(MOUSEEVENTF_LEFTDOWN);
        WaitFor([&] { return Captured(handle); }, 2000);
        // Each step waits for the window to follow, so no move is merged with the next.
        for (int step = 1; step <= 10; step++) {
            SetCursorPos(before.left + 60 + step * 5, before.top + 15 + step * 3);
            WaitFor(
                [&] {
                    RECT now = {};
                    return GetWindowRect(handle, &now) && now.left == before.left + step * 5 &&
                           now.top == before.top + step * 3;
                },
                1000);
        }
        MouseInput(MOUSEEVENTF_LEFTUP);
        WaitFor([&] { return !Captured(handle); }, 2000);
        SendMessageW(handle, WM_QUIT, 0, 0);
    });
    EXPECT_TRUE(LoopEndsWithin(15000));
    user.join();
    RECT after;
    GetWindowRect(handle, &after);
    EXPECT_EQ(after.left - before.left, 50);
    EXPECT_EQ(after.top - before.top, 30);
    EXPECT_EQ(window->GetPosition().x, after.left);
}

// The program pumps its own messages while its worker runs, one at a time.
TEST_F(LoopTest, PumpOneMessageDispatchesTheNextPostedMessageAndSaysWhenNoneWaits)
{
    struct Listener {
        std::vector<int> seen;
        void OnEvent(int m, int w, int)
        {
            if (m == WM_USER + 8) seen.push_back(w);
        }
    } listener;
    window->onEvent.Connect(new Instance<Listener>(&listener),
                            new Method<Listener, void, int, int, int>(&Listener::OnEvent));
    MSG message;
    while (native::PumpOneMessage(message)) continue;

    HWND handle = window->GetSystemWindow();
    ASSERT_TRUE(native::Post(handle, WM_USER + 8, 1, 0));
    ASSERT_TRUE(native::Post(handle, WM_USER + 8, 2, 0));
    ASSERT_TRUE(native::PumpOneMessage(message));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_USER + 8));
    EXPECT_EQ(listener.seen, std::vector<int>{1});
    ASSERT_TRUE(native::PumpOneMessage(message));
    EXPECT_EQ(listener.seen, (std::vector<int>{1, 2}));
    EXPECT_FALSE(native::PumpOneMessage(message));
}

} // namespace
