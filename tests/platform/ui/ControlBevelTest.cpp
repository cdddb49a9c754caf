// The bevel a windowed control keeps in its non-client area, and the 3D
// look a child takes from its parent.
#include <gtest/gtest.h>

#include "platform/gfx/Gdi.h"
#include "platform/ui/Forms.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Headless.h"

namespace {

class TProbe : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    int Ctl3DChanges = 0;
    void WndProc(TMessage& M) override
    {
        if (M.Msg == CM_CTL3DCHANGED) ++Ctl3DChanges;
        TCustomControl::WndProc(M);
    }
};

class ControlBevelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Drv = std::make_unique<THeadlessDriver>();
        InitForms();
        Form = new TForm(Application);
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(0, 0, 300, 200);
        Ctl = new TProbe(Form);
        Ctl->SetParent(Form);
        Ctl->SetBounds(10, 10, 100, 80);
        Form->Init();
        Form->Show();
    }
    void TearDown() override
    {
        DoneForms();
        Drv.reset();
    }
    // The client area's place inside the window, as left, top, right, bottom insets.
    TRect Insets()
    {
        RECT wr{};
        GetWindowRect(Ctl->Handle(), &wr);
        TPoint o = Ctl->ClientOrigin();
        TRect c = Ctl->ClientRect();
        return {o.X - wr.Left, o.Y - wr.Top, wr.Right - (o.X + c.Width()), wr.Bottom - (o.Y + c.Height())};
    }
    std::unique_ptr<THeadlessDriver> Drv;
    TForm* Form = nullptr;
    TProbe* Ctl = nullptr;
};

}  // namespace

TEST_F(ControlBevelTest, TheBevelTakesItsWidthPerCutOnEachSelectedSide)
{
    EXPECT_TRUE(NewStyleControls);
    EXPECT_EQ(Insets(), (TRect{0, 0, 0, 0}));  // bkNone: no bevel, whatever the cuts
    struct Case {
        TBevelKind Kind;
        TBevelCut Inner, Outer;
        Integer Width;
        TBevelEdges Edges;
        TRect Expected;
    } const cases[] = {
        {bkTile, bvRaised, bvLowered, 1, {beLeft, beTop, beRight, beBottom}, {2, 2, 2, 2}},
        {bkSoft, bvNone, bvLowered, 3, {beLeft, beTop, beRight, beBottom}, {3, 3, 3, 3}},
        {bkFlat, bvSpace, bvRaised, 2, {beLeft, beBottom}, {4, 0, 0, 4}},
        {bkTile, bvRaised, bvNone, 1, {beTop, beRight}, {0, 1, 1, 0}},
        {bkFlat, bvNone, bvNone, 5, {beLeft, beTop, beRight, beBottom}, {0, 0, 0, 0}},
        {bkNone, bvRaised, bvLowered, 4, {beLeft, beTop}, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        Ctl->SetBevelInner(c.Inner);
        Ctl->SetBevelOuter(c.Outer);
        Ctl->SetBevelWidth(c.Width);
        Ctl->SetBevelEdges(c.Edges);
        Ctl->SetBevelKind(c.Kind);
        TRect in = Insets();
        EXPECT_EQ(in, c.Expected) << int(c.Kind) << " " << int(c.Inner) << " " << int(c.Outer) << " " << c.Width;
        EXPECT_EQ(Ctl->ClientRect(), (TRect{0, 0, 100 - in.Left - in.Right, 80 - in.Top - in.Bottom}));
    }
}

TEST_F(ControlBevelTest, ABevelSetBeforeTheWindowExistsFramesItAndAlignsChildren)
{
    auto* c = new TProbe(Form);
    c->SetBevelKind(bkSoft);
    c->SetBevelWidth(2);
    c->SetParent(Form);
    c->SetBounds(150, 10, 100, 80);
    auto* child = new TProbe(Form);
    child->SetParent(c);
    child->SetAlign(alClient);
    c->HandleNeeded();
    EXPECT_EQ(c->ClientRect(), (TRect{0, 0, 92, 72}));
    EXPECT_EQ(child->BoundsRect(), (TRect{0, 0, 92, 72}));
    // Taking the bevel away gives the room back to the children.
    c->SetBevelKind(bkNone);
    EXPECT_EQ(child->BoundsRect(), (TRect{0, 0, 100, 80}));
}

TEST_F(ControlBevelTest, TheBevelIsPaintedRingByRingInTheFrame)
{
    Ctl->SetBevelWidth(2);
    Ctl->SetBevelInner(bvRaised);
    Ctl->SetBevelOuter(bvLowered);
    Ctl->SetBevelEdges({beLeft, beTop, beRight, beBottom});
    Ctl->SetBevelKind(bkTile);
    UpdateWindow(Form->Handle());
    std::vector<uint32_t> px;
    int w = 0, h = 0;
    ASSERT_TRUE(Drv->CaptureWindow(Ctl->Handle(), px, w, h));
    ASSERT_EQ(w, 100);
    ASSERT_EQ(h, 80);
    auto at = [&](int x, int y) { return px[size_t(y * w + x)] & 0xFFFFFF; };
    auto rgb = [](int index) {
        COLORREF c = GetSysColor(index);
        return uint32_t((GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
    };
    // Lowered outer ring, two pixels: shadow above and left, highlight below and right.
    for (int i : {0, 1}) {
        EXPECT_EQ(at(i, 40), rgb(COLOR_BTNSHADOW)) << i;
        EXPECT_EQ(at(50, i), rgb(COLOR_BTNSHADOW)) << i;
        EXPECT_EQ(at(w - 1 - i, 40), rgb(COLOR_BTNHIGHLIGHT)) << i;
        EXPECT_EQ(at(50, h - 1 - i), rgb(COLOR_BTNHIGHLIGHT)) << i;
    }
    // Raised inner ring, the next two: the other way round.
    for (int i : {2, 3}) {
        EXPECT_EQ(at(i, 40), rgb(COLOR_BTNHIGHLIGHT)) << i;
        EXPECT_EQ(at(w - 1 - i, 40), rgb(COLOR_BTNSHADOW)) << i;
    }

    // PaintTo draws the same frame.
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(dc, 120, 100);
    HGDIOBJ old = SelectObject(dc, bmp);
    Ctl->PaintTo(dc, 5, 5);
    int diff = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (x < 4 || y < 4 || x >= w - 4 || y >= h - 4) {
                COLORREF c = GetPixel(dc, 5 + x, 5 + y) & 0xFFFFFF;
                diff += ((GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c)) != at(x, y);
            }
    EXPECT_EQ(diff, 0);
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
}

TEST_F(ControlBevelTest, AChildFollowsItsParentsLookUntilItHasItsOwn)
{
    auto* child = new TProbe(Form);
    child->SetParent(Ctl);
    EXPECT_TRUE(child->ParentCtl3D());
    Ctl->SetCtl3D(false);
    EXPECT_FALSE(child->Ctl3D());
    EXPECT_EQ(child->Ctl3DChanges, 1);
    child->SetCtl3D(false);  // its own now, same value: no change to tell
    EXPECT_EQ(child->Ctl3DChanges, 1);
    Ctl->SetCtl3D(true);
    EXPECT_FALSE(child->Ctl3D());
    EXPECT_EQ(child->Ctl3DChanges, 1);
    child->SetParentCtl3D(true);
    EXPECT_TRUE(child->Ctl3D());
    EXPECT_EQ(child->Ctl3DChanges, 2);
}
