// A scrolled layer of check boxes: every box can be brought into view and ticked with the bar,
// the wheel and the keyboard alone, and the boxes' variables follow.
#include "tests/lumora_gui/gui_harness.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace lumora;
using namespace lumora::GUI;
using guitest::ChildRect;
using guitest::Pump;
using guitest::WindowFixture;

namespace {

const int rowHeight = 25;
const int boxCount = 12;
const int viewRows = 4;

class ScrollLayerTest : public testing::Test {
protected:
    void SetUp() override
    {
        list = std::make_unique<ScrollLayer>(Point(20, 20), Size(200, rowHeight * viewRows), rowHeight);
        fixture.layer->RegisterObject(list.get());
        for (int i = 0; i < boxCount; i++) {
            boxes.push_back(std::make_unique<CheckBox>(String::FromInt(i + 1), Point(8, 2 + rowHeight * i),
                                                       Size(150, 0), &ticked[i]));
            list->RegisterObject(boxes.back().get());
        }
        Pump();
    }
    void TearDown() override
    {
        for (auto &box : boxes) list->UnregisterObject(box.get());
        fixture.layer->UnregisterObject(list.get());
    }
    HWND Box(int index) const { return boxes[static_cast<size_t>(index)]->GetSystemWindow(); }
    bool InView(int index) const
    {
        RECT rect = ChildRect(Box(index));
        return rect.top >= 0 && rect.bottom <= rowHeight * viewRows;
    }
    // A key as the library's loop hands it on: to the layer's arrow keys, then to the dialog
    // keys of the window.
    void Key(WPARAM key)
    {
        HWND focus = GetFocus();
        for (UINT message : {WM_KEYDOWN, WM_KEYUP}) {
            MSG msg = {focus, message, key, 0, 0, {0, 0}};
            if (!list->HandleArrowKey(msg) && !IsDialogMessageW(fixture.Handle(), &msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        Pump();
    }

    WindowFixture fixture;
    std::unique_ptr<ScrollLayer> list;
    std::vector<std::unique_ptr<CheckBox>> boxes;
    bool ticked[boxCount] = {};
};

TEST_F(ScrollLayerTest, BarAndWheelMoveTheViewWithinTheArea)
{
    HWND view = list->GetSystemWindow();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(InView(0));
    EXPECT_FALSE(InView(viewRows));
    SendMessageW(view, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(list->GetScrollPosition(), rowHeight);
    EXPECT_EQ(ChildRect(Box(1)).top, 2);
    SendMessageW(view, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(list->GetScrollPosition(), 4 * rowHeight);
    SendMessageW(view, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(list->GetScrollPosition(), list->GetAreaHeight() - rowHeight * viewRows);
    EXPECT_TRUE(InView(boxCount - 1));
    SendMessageW(view, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(list->GetScrollPosition(), list->GetAreaHeight() - rowHeight * viewRows)
        << "beyond the last row";
    SendMessageW(view, WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(list->GetScrollPosition(), 0);
    SCROLLINFO info = {sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(view, SB_VERT, &info);
    EXPECT_EQ(info.nMax + 1, list->GetAreaHeight());
    EXPECT_EQ(static_cast<int>(info.nPage), rowHeight * viewRows);
}

TEST_F(ScrollLayerTest, TabAndArrowsReachEveryBoxAndBringItIntoView)
{
    SetFocus(Box(0));
    for (int i = 1; i < boxCount; i++) {
        Key(VK_TAB);
        ASSERT_EQ(GetFocus(), Box(i)) << "Tab to box " << i + 1;
        EXPECT_TRUE(InView(i)) << "box " << i + 1;
    }
    for (int i = boxCount - 2; i >= 0; i--) {
        Key(VK_UP);
        ASSERT_EQ(GetFocus(), Box(i)) << "up to box " << i + 1;
        EXPECT_TRUE(InView(i)) << "box " << i + 1;
    }
    Key(VK_DOWN);
    EXPECT_EQ(GetFocus(), Box(1));
}

TEST_F(ScrollLayerTest, SpaceTicksTheFocusedBoxOutOfTheFirstView)
{
    SetFocus(Box(boxCount - 1));
    Pump();
    EXPECT_TRUE(InView(boxCount - 1));
    Key(VK_SPACE);
    EXPECT_TRUE(ticked[boxCount - 1]);
    EXPECT_TRUE(boxes[boxCount - 1]->IsChecked());
    Key(VK_SPACE);
    EXPECT_FALSE(ticked[boxCount - 1]);
    for (int i = 0; i < boxCount - 1; i++) EXPECT_FALSE(ticked[i]);
}

} // namespace
