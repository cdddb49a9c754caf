// Bevels on the edit family and the date-time picker: the bevel takes its
// room inside the border, is painted under the edit's coloured frame, gives
// the text and the edit button less room, and moves the companion time
// picker left and makes it lower.
#include <gtest/gtest.h>

#include "controls/edits/VodDateTimePicker.h"
#include "controls/edits/VodEdBtn.h"
#include "controls/edits/VodEdit.h"
#include "platform/base/SysUtils.h"
#include "tests/controls/edits/EditsTestSupport.h"

namespace {

class EditBevelTest : public EditsFormTest {
protected:
    // The client area's place inside the window: left, top, right, bottom insets.
    static TRect Insets(TWinControl* c)
    {
        RECT wr{};
        GetWindowRect(c->Handle(), &wr);
        const TPoint o = c->ClientOrigin();
        const TRect r = c->ClientRect();
        return {o.X - wr.Left, o.Y - wr.Top, wr.Right - (o.X + r.Width()), wr.Bottom - (o.Y + r.Height())};
    }
    static void SetBevel(TWinControl* c, TBevelKind kind, TBevelCut inner, TBevelCut outer, Integer width = 1)
    {
        c->SetBevelInner(inner);
        c->SetBevelOuter(outer);
        c->SetBevelWidth(width);
        c->SetBevelKind(kind);
    }
    uint32_t SysRgb(int index)
    {
        const COLORREF c = GetSysColor(index);
        return uint32_t((GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
    }
};

}  // namespace

TEST_F(EditBevelTest, TheEditsBevelLiesInsideItsBorderUnderTheColouredFrame)
{
    auto* e = new TVodEdit(Form);
    e->SetParent(Form);
    e->SetBounds(20, 20, 160, 30);
    e->SetBorderColor(clRed);
    e->SetText(L"abc");
    ShowForm();
    const TRect plain = Insets(e);
    const TRect plainClient = e->ClientRect();

    SetBevel(e, bkTile, bvRaised, bvLowered, 2);
    Drv->Pump();
    const TRect in = Insets(e);
    EXPECT_EQ(in, (TRect{plain.Left + 4, plain.Top + 4, plain.Right + 4, plain.Bottom + 4}));
    EXPECT_EQ(e->ClientRect(), (TRect{0, 0, plainClient.Width() - 8, plainClient.Height() - 8}));
    // The text keeps to the smaller client area.
    TRect r;
    SendMessage(e->Handle(), EM_GETRECT, 0, LPARAM(&r));
    EXPECT_LE(r.Right, e->ClientWidth());
    EXPECT_LE(r.Bottom, e->ClientHeight());

    // The lowered outer ring just inside the border, the raised inner ring
    // inside it, and the red frame still round the whole window.
    UpdateWindow(Form->Handle());
    const int midY = e->Height() / 2;
    EXPECT_EQ(PixelAt(e->Handle(), 0, midY), 0xFF0000u);
    EXPECT_EQ(PixelAt(e->Handle(), plain.Left, midY), SysRgb(COLOR_BTNSHADOW));
    EXPECT_EQ(PixelAt(e->Handle(), plain.Left + 1, midY), SysRgb(COLOR_BTNSHADOW));
    EXPECT_EQ(PixelAt(e->Handle(), plain.Left + 2, midY), SysRgb(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(PixelAt(e->Handle(), e->Width() - 1 - plain.Right, midY), SysRgb(COLOR_BTNHIGHLIGHT));

    // One side only, then none: the room comes back.
    e->SetBevelEdges({beBottom});
    Drv->Pump();
    EXPECT_EQ(Insets(e), (TRect{plain.Left, plain.Top, plain.Right, plain.Bottom + 4}));
    e->SetBevelKind(bkNone);
    Drv->Pump();
    EXPECT_EQ(Insets(e), plain);
    EXPECT_EQ(e->ClientRect(), plainClient);
}

TEST_F(EditBevelTest, TheEditButtonsTextRectangleFollowsTheBevelledClientArea)
{
    auto* e = new TVodEditBtn(Form);
    e->SetParent(Form);
    e->SetBounds(20, 60, 160, 30);
    ShowForm();
    auto textRight = [&] {
        TRect r;
        SendMessage(e->Handle(), EM_GETRECT, 0, LPARAM(&r));
        return r.Right;
    };
    const Integer before = e->ClientWidth();
    EXPECT_EQ(textRight(), before - (e->ButtonWidth() + 2) - 1);
    SetBevel(e, bkFlat, bvNone, bvRaised, 3);
    Drv->Pump();
    EXPECT_EQ(e->ClientWidth(), before - 6);
    EXPECT_EQ(textRight(), before - 6 - (e->ButtonWidth() + 2) - 1);
}

TEST_F(EditBevelTest, ABevelMovesTheCompanionTimePickerLeftAndMakesItLower)
{
    FormatSettings.LongTimeFormat = L"hh:nn:ss";
    auto* p = new TVodDateTimePicker(Form);
    p->SetParent(Form);
    p->SetBounds(20, 120, 240, 30);
    p->SetKind(dkDateTime);
    p->SetTimeFormat(L"HH:mm:ss");
    ShowForm();
    p->SetDateTime(EncodeDateTime(2024, 3, 14, 8, 0, 0, 0));
    Drv->Pump();
    TCustomDateTimePicker* tp = p->TimePicker();
    ASSERT_NE(tp, nullptr);
    const Integer w = 8 * 8 + 31, W = p->Width(), H = p->Height();
    // The picker's bevel counts 4 when it has a kind and at least one cut,
    // whatever its width and edges.
    struct Case {
        TBevelKind Kind;
        TBevelCut Inner, Outer;
        Integer Width;
        Integer P;
    } const cases[] = {
        {bkNone, bvRaised, bvLowered, 1, 0},
        {bkTile, bvRaised, bvLowered, 1, 4},
        {bkSoft, bvNone, bvLowered, 2, 4},
        {bkFlat, bvRaised, bvNone, 1, 4},
        {bkTile, bvNone, bvNone, 1, 0},
    };
    for (const Case& c : cases) {
        SetBevel(p, c.Kind, c.Inner, c.Outer, c.Width);
        p->SetColor(clWhite);   // a colour change lays the companion out again
        p->SetColor(clWindow);
        EXPECT_EQ(tp->BoundsRect(), Bounds(W - w - 34 - c.P, 1, w, H - 2 - c.P))
            << "themed " << int(c.Kind) << " " << int(c.Inner) << " " << int(c.Outer);
    }
    SetBevel(p, bkTile, bvRaised, bvLowered, 1);
    SetVisualStylesEnabled(false);
    p->SetColor(clWhite);
    EXPECT_EQ(tp->BoundsRect(), Bounds(W - w - 21 - 4, 2, w, H - 4 - 4)) << "no theme";
    // The bevel's own change re-frames the picker and lays the companion out.
    SetBevel(p, bkNone, bvRaised, bvLowered, 1);
    Drv->Pump();
    EXPECT_EQ(tp->BoundsRect(), Bounds(W - w - 21, 2, w, H - 4)) << "after bevel removed";
}
