// The header, footer and button appearances, and the shared drawing and
// colour routines of the drop-down unit.
#include <gtest/gtest.h>

#include <memory>

#include "controls/dropdown/DropDownButton.h"
#include "controls/dropdown/DropDownHeaderFooter.h"
#include "tests/platform/gfx/GdiTestUtil.h"

namespace {

struct TPaintBox {
    TTestCanvas Surface;
    TCanvas Canvas;
    TPaintBox(int w, int h) : Surface(w, h) { Canvas.SetHandle(Surface.Dc); }
    ~TPaintBox() { Canvas.SetHandle(nullptr); }
    COLORREF Px(int x, int y) const { return Surface.Px(x, y); }
};

}  // namespace

TEST(DropDownAppearance, DefaultsOfTheThreeAppearances)
{
    TComponent owner(nullptr);
    THeaderAppearance h(&owner);
    TFooterAppearance f(&owner);
    TVodButtonAppearance b;
    EXPECT_TRUE(h.Visible());
    EXPECT_EQ(h.Height(), 22);
    EXPECT_EQ(h.BorderWidth(), 1);
    EXPECT_EQ(h.ImageIndex(), -1);
    EXPECT_EQ(h.Color(), TColor(0xC0C0C0));
    EXPECT_EQ(h.ColorTo(), TColor(0xFFFFFF));
    EXPECT_EQ(h.BorderColor(), clBlack);
    EXPECT_EQ(h.Font()->Name(), L"Tahoma");
    EXPECT_EQ(h.GradientDirection(), VodDropDown::gdVertical);
    EXPECT_EQ(h.ButtonAlignment(), baRight);
    EXPECT_EQ(h.GetOwner(), &owner);
    EXPECT_TRUE(f.SizeGrip());
    EXPECT_EQ(f.Height(), 22);
    EXPECT_EQ(f.ButtonAlignment(), baRight);
    EXPECT_EQ(b.BorderColor(), clNone);
    EXPECT_EQ(b.ColorHot(), TColor(0xF5F0E1));
    // The checked colours start as the hot ones shaded by -10, -10, 0.
    EXPECT_EQ(b.ColorChecked(), TColor(0xF5D8CA));
    EXPECT_EQ(b.ColorCheckedTo(), TColor(0xF9BDA0));
    EXPECT_EQ(b.BorderColorChecked(), TColor(0xFF0000));
}

TEST(DropDownAppearance, AssignCopiesEverythingAssignColorsOnlyTheLook)
{
    TComponent owner(nullptr);
    TFooterAppearance a(&owner), b(&owner), c(&owner);
    a.SetVisible(false);
    a.SetColor(TColor(0x123456));
    a.SetColorTo(clNone);
    a.SetCaption(L"<b>Pick</b>");
    a.SetHeight(30);
    a.SetBorderColor(TColor(0x0000FF));
    a.SetSizeGrip(false);
    a.SetButtonAlignment(baLeft);
    a.SetGradientDirection(VodDropDown::gdHorizontal);
    a.Font()->SetColor(TColor(0x00FF00));
    a.Buttons()->Add()->SetCaption(L"OK");
    a.Buttons()->Items(0)->SetModalResult(mrOk);

    int changes = 0;
    b.OnChange = [&](TObject*) { ++changes; };
    b.Assign(&a);
    EXPECT_EQ(changes, 1);  // Visible went through its writer
    EXPECT_FALSE(b.Visible());
    EXPECT_EQ(b.Caption(), L"<b>Pick</b>");
    EXPECT_EQ(b.Height(), 30);
    EXPECT_FALSE(b.SizeGrip());
    EXPECT_EQ(b.ButtonAlignment(), baLeft);
    ASSERT_EQ(b.Buttons()->Count(), 1);
    EXPECT_EQ(b.Buttons()->Items(0)->Caption(), L"OK");
    EXPECT_EQ(b.Buttons()->Items(0)->ModalResult(), mrOk);

    c.AssignColors(&a);
    EXPECT_EQ(c.Color(), TColor(0x123456));
    EXPECT_EQ(c.ColorTo(), clNone);
    EXPECT_EQ(c.BorderColor(), TColor(0x0000FF));
    EXPECT_EQ(c.GradientDirection(), VodDropDown::gdHorizontal);
    EXPECT_EQ(c.Font()->Color(), TColor(0x00FF00));
    EXPECT_TRUE(c.Visible());
    EXPECT_TRUE(c.Caption().empty());
    EXPECT_EQ(c.Height(), 22);
    EXPECT_EQ(c.Buttons()->Count(), 0);
}

TEST(DropDownAppearance, ButtonChangesReachOnButtonsChangedOnlyWhenAValueChanges)
{
    TComponent owner(nullptr);
    THeaderAppearance h(&owner);
    int changed = 0;
    h.OnButtonsChanged = [&](TObject*) { ++changed; };
    THeaderButton* btn = h.Buttons()->Add();
    int afterAdd = changed;
    btn->SetCaption(L"A");
    btn->SetCaption(L"A");
    btn->SetWidth(40);
    btn->SetHeight(10);  // only stores
    btn->SetEnabled(false);
    EXPECT_EQ(changed - afterAdd, 3);
    EXPECT_EQ(h.Buttons()->GetOwner(), &owner);
}

TEST(DropDownAppearance, ButtonAppearanceTellsChangesAndAssignsColours)
{
    TVodButtonAppearance a, b;
    int changes = 0;
    a.OnChange = [&](TObject*) { ++changes; };
    a.SetColor(TColor(0x10));
    a.SetColor(TColor(0x10));
    a.SetGradient(VodDropDown::gdHorizontal);
    EXPECT_EQ(changes, 2);
    a.Font()->SetName(L"Courier New");
    b.Assign(&a);
    EXPECT_EQ(b.Color(), TColor(0x10));
    EXPECT_EQ(b.Gradient(), VodDropDown::gdHorizontal);
    EXPECT_EQ(b.Font()->Name(), L"Tahoma");
}

// ---------------------------------------------------------------------------
// Routines

TEST(DropDownDrawing, SteppedGradientBandsReadBack)
{
    // 5 bands over 11 pixels: d = 2, each band 3 wide (one pixel of overlap).
    TPaintBox box(11, 4);
    DrawSteppedGradient(&box.Canvas, TColor(RGB(0, 0, 0)), TColor(RGB(250, 100, 50)), true, TRect{0, 0, 11, 4}, 5);
    const COLORREF want[] = {RGB(0, 0, 0), RGB(50, 20, 10), RGB(100, 40, 20), RGB(150, 60, 30), RGB(200, 80, 40)};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(box.Px(2 * i, 1), want[i]) << "band " << i;
        EXPECT_EQ(box.Px(2 * i + 1, 2), want[i]) << "band " << i;
    }
    EXPECT_EQ(box.Px(10, 3), want[4]);

    // Vertical, and Steps 0 is one band of FromColor over everything.
    TPaintBox v(6, 9);
    DrawSteppedGradient(&v.Canvas, TColor(RGB(10, 20, 30)), TColor(RGB(200, 200, 200)), false, TRect{0, 0, 6, 9}, 0);
    for (int y = 0; y < 9; ++y) EXPECT_EQ(v.Px(3, y), RGB(10, 20, 30)) << y;
}

TEST(DropDownDrawing, SteppedGradientColoursRoundHalvesToEven)
{
    // 4 bands over 9 pixels (d = 2): red 0 -> 10 (2.5 a band), green 10 -> 0
    // (falling), blue 0 -> 6 (1.5 a band); halves go to the even neighbour.
    TPaintBox box(9, 2);
    DrawSteppedGradient(&box.Canvas, TColor(RGB(0, 10, 0)), TColor(RGB(10, 0, 6)), true, TRect{0, 0, 9, 2}, 4);
    const COLORREF want[] = {RGB(0, 10, 0), RGB(2, 8, 2), RGB(5, 5, 3), RGB(8, 2, 4)};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(box.Px(2 * i + 1, 1), want[i]) << "band " << i;
}

TEST(DropDownDrawing, SteppedGradientRoundsOffsetsToEven)
{
    // Width 6, 4 steps: d = 1.25; offsets round(0, 1.25, 2.5, 3.75) = 0, 1, 2, 4
    // (2.5 to even), band width round(1.25) = 1, drawn 2 wide.
    TTestCanvas s(6, 2);
    GdiStartRecording(s.Dc);
    TCanvas c;
    c.SetHandle(s.Dc);
    DrawSteppedGradient(&c, clBlack, clWhite, true, TRect{0, 0, 6, 2}, 4);
    c.SetHandle(nullptr);
    std::vector<int> lefts, rights;
    for (const TGdiRecord& r : GdiRecords(s.Dc))
        if (r.Kind == L"Rectangle") {
            lefts.push_back(r.Rect.Left);
            rights.push_back(r.Rect.Right);
        }
    EXPECT_EQ(lefts, (std::vector<int>{0, 1, 2, 4}));
    EXPECT_EQ(rights, (std::vector<int>{2, 3, 4, 6}));
}

TEST(DropDownDrawing, BlendAndShadeColors)
{
    struct {
        TColor Got, Want;
    } const cases[] = {
        {BlendColors(TColor(0x204080), clWhite, 100), TColor(0x204080)},
        {BlendColors(TColor(0x204080), clWhite, 0), clWhite},
        // 0.2 * 0x80 + 0.8 * 255 = 229.6 -> 230; 0.2*0x40+204 = 216.8 -> 217; 0.2*0x20+204 = 210.4 -> 210
        {BlendColors(TColor(0x204080), clWhite, 20), TColor(RGB(230, 217, 210))},
        {ShadeColor(TColor(0xF5F0E1), -10, -10, 0), TColor(0xF5D8CA)},
        {ShadeColor(TColor(0x000000), 5, -5, 0), TColor(RGB(5, 0, 0))},
        {ShadeColor(TColor(RGB(100, 100, 100)), 20, 0, -50), TColor(RGB(100, 100, 50))},
    };
    for (const auto& c : cases) EXPECT_EQ(c.Got, c.Want);
}

TEST(DropDownDrawing, TheBlitPathLeavesTheSamePixelsAsTheBands)
{
    // A recording device takes the rectangles; a plain one the one-line blit.
    struct {
        bool Horizontal;
        int Steps;
        TRect R;
    } const cases[] = {
        {true, 80, TRect{3, 2, 403, 302}}, {false, 80, TRect{0, 5, 57, 290}}, {true, 7, TRect{10, 10, 23, 40}},
        {false, 0, TRect{1, 1, 30, 9}},    {true, 13, TRect{4, 4, 5, 20}},
    };
    for (const auto& c : cases) {
        TPaintBox plain(410, 310), recorded(410, 310);
        GdiStartRecording(recorded.Surface.Dc);
        DrawSteppedGradient(&plain.Canvas, TColor(0x102030), TColor(0xF0E0D0), c.Horizontal, c.R, c.Steps);
        DrawSteppedGradient(&recorded.Canvas, TColor(0x102030), TColor(0xF0E0D0), c.Horizontal, c.R, c.Steps);
        int differ = 0;
        for (int y = 0; y < 310; ++y)
            for (int x = 0; x < 410; ++x) differ += plain.Px(x, y) != recorded.Px(x, y);
        EXPECT_EQ(differ, 0) << c.Horizontal << " " << c.Steps;
    }
}
