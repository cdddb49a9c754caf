// The scroll box: its bars follow the children's extent, the bars' presses
// move the children, and a focused control is scrolled into view.
#include <gtest/gtest.h>

#include "platform/ui/Forms.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Headless.h"

namespace {

class TItem : public TCustomControl {
public:
    TItem(TComponent* owner, TWinControl* parent, int x, int y, int w = 50, int h = 20) : TCustomControl(owner)
    {
        SetParent(parent);
        SetBounds(x, y, w, h);  // no tab stop: showing the form focuses nothing
    }
};

class ScrollBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Drv = std::make_unique<THeadlessDriver>();
        InitForms();
        Form = TCustomForm::CreateNew(Application);
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(100, 100, 400, 300);
        Box = new TScrollBox(Form);
        Box->SetParent(Form);
        Box->SetBorderStyle(bsNone);
        Box->SetBounds(0, 0, 200, 100);
        Low = new TItem(Form, Box, 10, 250);   // below the view
        Wide = new TItem(Form, Box, 300, 10);  // right of it
        Form->Show();
    }
    void TearDown() override
    {
        DoneForms();
        Drv.reset();
    }
    // A screen point of the box's window (frame included).
    TPoint At(int x, int y)
    {
        TRect r;
        GetWindowRect(Box->Handle(), &r);
        return {r.Left + x, r.Top + y};
    }
    std::unique_ptr<THeadlessDriver> Drv;
    TCustomForm* Form = nullptr;
    TScrollBox* Box = nullptr;
    TItem *Low = nullptr, *Wide = nullptr;
};

}  // namespace

TEST_F(ScrollBoxTest, BarsShowForChildrenBeyondTheView)
{
    EXPECT_EQ(Box->VertScrollBar()->Range(), 270);
    EXPECT_EQ(Box->HorzScrollBar()->Range(), 350);
    LONG style = GetWindowLong(Box->Handle(), GWL_STYLE);
    EXPECT_TRUE((style & WS_VSCROLL) && (style & WS_HSCROLL));
    EXPECT_EQ(Box->ClientRect(), Rect(0, 0, 200 - GetSystemMetrics(SM_CXVSCROLL), 100 - GetSystemMetrics(SM_CYHSCROLL)));
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    GetScrollInfo(Box->Handle(), SB_VERT, &si);
    EXPECT_EQ(si.nMax - int(si.nPage) + 1, 270 - Box->ClientHeight()) << "the last position shows the end";

    // Moving the far children in makes the bars go.
    Low->SetTop(10);
    Wide->SetLeft(100);
    style = GetWindowLong(Box->Handle(), GWL_STYLE);
    EXPECT_FALSE(style & (WS_VSCROLL | WS_HSCROLL));
    EXPECT_EQ(Box->ClientRect(), Rect(0, 0, 200, 100));
}

TEST_F(ScrollBoxTest, BarPressesMoveTheChildren)
{
    Drv->Click(At(190, 70));  // the down arrow: one increment
    EXPECT_EQ(Box->VertScrollBar()->Position(), 8);
    EXPECT_EQ(Low->Top(), 242);
    EXPECT_EQ(GetScrollPos(Box->Handle(), SB_VERT), 8);
    Drv->Click(At(190, 50));  // the page area below the thumb
    EXPECT_EQ(Box->VertScrollBar()->Position(), 8 + Box->ClientHeight());

    // Dragging the thumb to the end shows the end of the range.
    // (The thumb is 15 pixels long, at 34 on a track from 17 to 66.)
    Drv->Drag(At(190, 40), At(190, 300));
    EXPECT_EQ(Box->VertScrollBar()->Position(), 270 - Box->ClientHeight());
    EXPECT_EQ(Low->Top() + Low->Height(), Box->ClientHeight());
}

TEST_F(ScrollBoxTest, FocusScrollsTheControlIntoView)
{
    Low->SetFocus();
    EXPECT_EQ(Low->Top() + Low->Height(), Box->ClientHeight()) << "its bottom edge at the view's";
    Wide->SetFocus();
    EXPECT_EQ(Wide->Left() + Wide->Width(), Box->ClientWidth());
    EXPECT_GE(Wide->Top(), 0);

    // A control inside a panel inside the box comes into view too.
    auto* panel = new TItem(Form, Box, 0, 400, 150, 100);
    auto* inner = new TItem(Form, panel, 10, 60);
    inner->SetFocus();
    TPoint p = Box->ScreenToClient(inner->ClientToScreen({0, 0}));
    EXPECT_GE(p.Y, 0);
    EXPECT_LE(p.Y + inner->Height(), Box->ClientHeight());
}
