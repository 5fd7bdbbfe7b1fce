// The dialog keys of a library window: Enter presses the default button wherever the focus stands
// on no other push button, Esc the cancel button while it can be pressed, the arrow keys move
// within a run of check boxes and choose among option boxes, and Tab reaches only the chosen one.
#include "tests/lumora_gui/gui_harness.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace lumora;
using namespace lumora::GUI;
using guitest::Pump;
using guitest::WindowFixture;

namespace {

struct Counter {
    int clicks = 0;
    void Click() { ++clicks; }
};

class DialogKeys : public testing::Test {
protected:
    void SetUp() override
    {
        for (int i = 0; i < 3; i++) {
            boxes.push_back(std::make_unique<CheckBox>(String::FromInt(i + 1), Point(20, 20 + 25 * i),
                                                       Size(100, 0), &ticked[i]));
            fixture.layer->RegisterObject(boxes.back().get());
        }
        fixture.layer->RegisterObject(&now);
        fixture.layer->RegisterObject(&later);
        fixture.layer->RegisterObject(&cancel);
        fixture.layer->RegisterObject(&ok);
        cancel.onClick.Connect(new Instance<Counter>(&cancelled), new Method<Counter, void>(&Counter::Click));
        ok.onClick.Connect(new Instance<Counter>(&confirmed), new Method<Counter, void>(&Counter::Click));
        fixture.window->SetDefaultButton(&ok);
        fixture.window->SetCancelButton(&cancel);
        Pump();
    }
    void TearDown() override
    {
        fixture.window->SetDefaultButton(nullptr);
        fixture.window->SetCancelButton(nullptr);
        for (Widget *widget : std::vector<Widget *>{&now, &later, &cancel, &ok})
            fixture.layer->UnregisterObject(widget);
        for (auto &box : boxes) fixture.layer->UnregisterObject(box.get());
    }
    // A key as the library's loop hands it on to the dialog keys of the window.
    void Key(HWND focus, WPARAM key)
    {
        SetFocus(focus);
        Pump();
        for (UINT message : {WM_KEYDOWN, WM_KEYUP}) {
            MSG msg = {GetFocus(), message, key, 0, 0, {0, 0}};
            if (!IsDialogMessageW(fixture.Handle(), &msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        Pump();
    }
    HWND Box(int index) const { return boxes[static_cast<size_t>(index)]->GetSystemWindow(); }
    static bool TabStop(const Widget &widget)
    {
        return (GetWindowLongW(widget.GetSystemWindow(), GWL_STYLE) & WS_TABSTOP) != 0;
    }

    WindowFixture fixture;
    bool ticked[3] = {};
    std::vector<std::unique_ptr<CheckBox>> boxes;
    int choice = 1;
    OptionBox now{"Now", Point(20, 100), Size(100, 0), &choice, 1};
    OptionBox later{"Later", Point(20, 125), Size(100, 0), &choice, 2};
    Button cancel{"Cancel", nullptr, Point(200, 200), Size()};
    Button ok{"OK", nullptr, Point(300, 200), Size()};
    Counter cancelled;
    Counter confirmed;
};

TEST_F(DialogKeys, EnterPressesTheDefaultButtonAndEscTheCancelButtonWhileShown)
{
    EXPECT_EQ(GetWindowLongW(ok.GetSystemWindow(), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    Key(Box(1), VK_RETURN);
    EXPECT_EQ(confirmed.clicks, 1);
    Key(Box(1), VK_ESCAPE);
    EXPECT_EQ(cancelled.clicks, 1);
    // A push button the focus is moved to, as Tab moves it, is the one Enter presses.
    cancel.Focus();
    EXPECT_EQ(GetWindowLongW(ok.GetSystemWindow(), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
    Key(cancel.GetSystemWindow(), VK_RETURN);
    EXPECT_EQ(cancelled.clicks, 2);
    EXPECT_EQ(confirmed.clicks, 1);
    cancel.Hide();
    ok.Deactivate();
    Key(Box(1), VK_ESCAPE);
    Key(Box(1), VK_RETURN);
    EXPECT_EQ(cancelled.clicks, 2) << "a hidden button is not pressed";
    EXPECT_EQ(confirmed.clicks, 1) << "an inactive button is not pressed";
}

TEST_F(DialogKeys, ArrowsMoveWithinTheCheckBoxesAndChooseAnOption)
{
    Key(Box(0), VK_DOWN);
    EXPECT_EQ(GetFocus(), Box(1));
    Key(Box(1), VK_UP);
    EXPECT_EQ(GetFocus(), Box(0));
    Key(Box(2), VK_DOWN);
    EXPECT_EQ(GetFocus(), Box(0)) << "the run of boxes is a group of its own";
    Key(Box(0), VK_SPACE);
    EXPECT_TRUE(ticked[0]);

    EXPECT_TRUE(TabStop(now));
    EXPECT_FALSE(TabStop(later)) << "Tab reaches the chosen option only";
    Key(now.GetSystemWindow(), VK_DOWN);
    EXPECT_EQ(GetFocus(), later.GetSystemWindow());
    EXPECT_EQ(choice, 2);
    EXPECT_TRUE(TabStop(later));
    EXPECT_FALSE(TabStop(now));
}

} // namespace
