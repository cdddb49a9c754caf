// The clock's looks: defaults, reset and assign, the component-style colour
// table and the preset looks.
#include "controls/dropdown/WatchAppearance.h"

#include <gtest/gtest.h>

namespace {
constexpr TColor kBtnShadow = TColorOf(0xFF000010u);
constexpr TColor kBtnFace = TColorOf(0xFF00000Fu);
}  // namespace

TEST(WatchAppearance, DefaultsResetAndAssign)
{
    TWatchAppearance a;
    EXPECT_EQ(a.Size(), 0);
    EXPECT_EQ(a.BackgroundColor(), TColor(0xFFFFFF));
    EXPECT_EQ(a.BackgroundColorTo(), clNone);
    EXPECT_EQ(a.MinutePointerShadow(), kBtnShadow);
    EXPECT_EQ(a.SecondPointer(), TColor(0x0000FF));
    EXPECT_EQ(a.HourFont()->Name(), L"Tahoma");
    EXPECT_EQ(a.HourFont()->Size(), 8);
    EXPECT_EQ(a.AMPMFont()->Size(), 10);
    EXPECT_EQ(a.HourPointerSize(), 4);
    EXPECT_EQ(a.SecondPointerSize(), 1);
    EXPECT_EQ(a.MinutePointerSize(), 3);
    EXPECT_EQ(a.MinuteColor(), TColor(0x808080));
    EXPECT_EQ(a.CenterPointSize(), 4);
    EXPECT_EQ(a.CenterPointBorderColor(), clNone);
    EXPECT_EQ(a.BackgroundGradient(), wgVertical);
    EXPECT_EQ(a.Rounding(), 5);
    EXPECT_EQ(a.BorderWidth(), 4);
    EXPECT_EQ(a.TickMarks(), tmAll);
    EXPECT_EQ(a.HourMarkStyle(), hmsLine);

    int changes = 0;
    a.OnChange = [&](TObject*) { ++changes; };
    a.SetBorderWidth(4);  // unchanged: silent
    EXPECT_EQ(changes, 0);
    a.SetBorderWidth(7);
    a.HourFont()->SetSize(20);
    EXPECT_EQ(changes, 2);
    a.ResetAppearance();
    EXPECT_EQ(a.BorderWidth(), 4);
    EXPECT_EQ(a.HourFont()->Size(), 8);

    TWatchAppearance b;
    b.SetShape(wsRoundRect);
    b.SetCenterPointColor(0x123456);
    b.AMPMFont()->SetName(L"Verdana");
    changes = 0;
    a.Assign(&b);
    EXPECT_EQ(a.Shape(), wsRoundRect);
    EXPECT_EQ(a.CenterPointColor(), TColor(0x123456));
    EXPECT_EQ(a.AMPMFont()->Name(), L"Verdana");
    EXPECT_GT(changes, 0);  // the fonts and picture go through their setters
}

TEST(WatchAppearance, ComponentStyleTable)
{
    struct Row {
        TQelStyle Style;
        TColor AMPMBorder, AMPM, Bg, BgTo, Border, CenterBorder, Center, Hands, Shadows, Second;
    };
    const Row rows[] = {
        {tsOffice2003Blue, 0x962D00, 0xD68759, 0xFFD2AF, 0xFFD2AF, 0xD68759, 0xD68759, 0xD68759, 0xD68759, 0xFFFFFF,
         0xFFFFFF},
        {tsOffice2007Luna, 0xF0DED0, 0xF0DED0, 0xFFEFE3, 0xFFEFE3, 0xF0DED0, 0xFFEFE3, 0xFFEFE3, 0x723708, 0xFFFFFF,
         0x723708},
        {tsWindowsXP, 0x000000, kBtnFace, kBtnFace, kBtnFace, 0x000000, 0x000000, 0x000000, 0x000000, 0xFFFFFF,
         0x000000},
        {tsOffice2007Silver, 0xE8E0DB, 0xF8F4F1, 0xF8F4F1, 0xF8F4F1, 0xE8E0DB, 0xE8E0DB, 0x74706F, 0x74706F,
         0xFFFFFF, 0x74706F},
        {tsWindows7, 0xFBD6B8, 0xFDFBFA, 0xFDFBFA, 0xFDF3EB, 0xFBD6B8, 0xFBD6B8, 0xFBD6B8, 0xFBD6B8, 0xFFFFFF,
         0xFBD6B8},
        {tsOffice2010Silver, 0xD2CDC8, 0xEDE5E0, 0xFFFFFF, 0xFFFFFF, 0xD2CDC8, 0xD2CDC8, 0xD2CDC8, 0xD2CDC8,
         0xC0C0C0, 0xD2CDC8},
    };
    for (const Row& r : rows) {
        TWatchAppearance a;
        ApplyWatchComponentStyle(a, r.Style);
        EXPECT_EQ(a.AMPMBorderColor(), r.AMPMBorder) << int(r.Style);
        EXPECT_EQ(a.AMPMColor(), r.AMPM) << int(r.Style);
        EXPECT_EQ(a.BackgroundColor(), r.Bg) << int(r.Style);
        EXPECT_EQ(a.BackgroundColorTo(), r.BgTo) << int(r.Style);
        EXPECT_EQ(a.BorderColor(), r.Border) << int(r.Style);
        EXPECT_EQ(a.CenterPointBorderColor(), r.CenterBorder) << int(r.Style);
        EXPECT_EQ(a.CenterPointColor(), r.Center) << int(r.Style);
        EXPECT_EQ(a.HourColor(), r.Hands);
        EXPECT_EQ(a.MinuteColor(), r.Hands);
        EXPECT_EQ(a.HourPointer(), r.Hands);
        EXPECT_EQ(a.MinutePointer(), r.Hands);
        EXPECT_EQ(a.HourPointerShadow(), r.Shadows);
        EXPECT_EQ(a.MinutePointerShadow(), r.Shadows);
        EXPECT_EQ(a.SecondPointer(), r.Second);
        EXPECT_EQ(a.CenterPointOuterBorderColor(), clBlack);
        EXPECT_EQ(a.HourFont()->Color(), clBlack);
    }
    TWatchAppearance o;
    ApplyWatchComponentStyle(o, tsOffice2007Obsidian);
    EXPECT_EQ(o.HourFont()->Color(), TColor(0xF2F1F0));
    EXPECT_EQ(o.AMPMFont()->Color(), TColor(0xF2F1F0));

    // Looks after the last row, and tsCustom: only the first step.
    for (TQelStyle s : {tsCustom, tsOffice2016Black}) {
        TWatchAppearance a, fresh;
        ApplyWatchComponentStyle(a, s);
        EXPECT_EQ(a.CenterPointOuterBorderColor(), clBlack);
        EXPECT_EQ(a.AMPMFont()->Color(), clBlack);
        EXPECT_EQ(a.BackgroundColor(), fresh.BackgroundColor());
        EXPECT_EQ(a.HourPointer(), fresh.HourPointer());
        EXPECT_EQ(a.SecondPointer(), fresh.SecondPointer());
    }
}

TEST(WatchAppearance, PresetLooks)
{
    TWatchStyleExtras x;
    TWatchAppearance a;
    // Every preset starts from the defaults.
    a.SetSize(50);
    ApplyWatchStyle(a, wsTower, 180, 180, x);
    EXPECT_EQ(a.Size(), 0);
    EXPECT_EQ(a.BackgroundColor(), TColor(0xB1F0FE));
    EXPECT_EQ(a.BackgroundColorTo(), TColor(0x5BCCE8));
    EXPECT_EQ(a.BackgroundGradient(), wgDiagonalForward);
    EXPECT_EQ(a.Shape(), wsRect);
    EXPECT_EQ(a.PointerStyle(), psPointer);
    EXPECT_EQ(a.AMPMColor(), a.BackgroundColor());
    EXPECT_EQ(a.TickMarks(), tmHours);
    EXPECT_EQ(a.HourPointerSize(), 5);
    EXPECT_EQ(a.HourFont()->Name(), L"Century");
    EXPECT_FALSE(x.ShowNumbers);
    EXPECT_TRUE(x.ShowAMPM);  // unchanged by the tower

    // The accent set.
    x = TWatchStyleExtras{};
    ApplyWatchStyle(a, wsFluorescent, 180, 180, x);
    EXPECT_EQ(a.CenterPointSize(), 20);
    EXPECT_EQ(a.HourColor(), TColor(0xFF3E3E));
    EXPECT_EQ(a.HourMarkLength(), 10);
    EXPECT_EQ(a.HourMarkWidth(), 2);
    EXPECT_EQ(a.HourMarkStyle(), hmsQuartDblLine);
    EXPECT_EQ(a.Shape(), wsRoundRect);
    EXPECT_EQ(a.MinutePointerSize(), 2);
    EXPECT_FALSE(x.ShowAMPM);
    EXPECT_FALSE(x.ShowNumbers);

    // Sizes taken from the control at that moment.
    ApplyWatchStyle(a, wsSuperNova, 200, 180, x);
    EXPECT_EQ(a.HourMarkLength(), 40);   // Round(180 / 4.5)
    EXPECT_EQ(a.MinuteMarkLength(), 60); // 180 div 3
    EXPECT_EQ(a.BorderColor(), clNone);
    ApplyWatchStyle(a, wsSports, 180, 90, x);
    EXPECT_EQ(a.CenterPointSize(), 25);  // Round(90 / 3.6)
    EXPECT_EQ(a.HourPointer(), TColor(0x0000FF));
    EXPECT_EQ(a.HourPointerShadow(), clNone);
    EXPECT_EQ(a.TickMarks(), tmQuartHours);
    EXPECT_EQ(a.HourFont()->Name(), L"Times New Roman");
    ApplyWatchStyle(a, wsSmooth, 180, 180, x);
    EXPECT_EQ(a.HourPointerShadow(), TColor(0xB2B2B2));
    EXPECT_EQ(a.MinuteMarkLength(), 1);

    ApplyWatchStyle(a, wsGray, 180, 180, x);
    EXPECT_EQ(a.HourPointerSize(), 1);
    EXPECT_EQ(a.BackgroundGradient(), wgRadial);
    EXPECT_TRUE(x.ShowAMPM);

    // wsCustom changes nothing.
    TWatchAppearance before;
    before.Assign(&a);
    TWatchStyleExtras y;
    y.ShowNumbers = false;
    ApplyWatchStyle(a, wsCustom, 180, 180, y);
    EXPECT_EQ(a.BackgroundColor(), before.BackgroundColor());
    EXPECT_EQ(a.HourPointerSize(), before.HourPointerSize());
    EXPECT_FALSE(y.ShowNumbers);
}
