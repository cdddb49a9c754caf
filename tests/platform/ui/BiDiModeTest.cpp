// The stored bidirectional mode of controls and the text flags it gives on a
// Middle-East locale; the screen's pixels per inch follows the DC setting.
#include <gtest/gtest.h>

#include "platform/base/SysUtils.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"

namespace {

struct TMiddleEast {
    explicit TMiddleEast(bool on) { SysLocale.MiddleEast = on; }
    ~TMiddleEast() { SysLocale.MiddleEast = false; }
};

}  // namespace

TEST(BiDiMode, StoredInheritedAndHonouredOnlyOnAMiddleEastLocale)
{
    TWinControl parent(nullptr);
    TGraphicControl child(nullptr);
    child.SetParent(&parent);
    EXPECT_TRUE(child.ParentBiDiMode());
    EXPECT_EQ(child.BiDiMode(), bdLeftToRight);
    parent.SetBiDiMode(bdRightToLeft);
    EXPECT_FALSE(parent.ParentBiDiMode());
    EXPECT_EQ(child.BiDiMode(), bdRightToLeft);  // follows its parent

    {
        TMiddleEast off(false);
        EXPECT_FALSE(child.UseRightToLeftAlignment());
        EXPECT_EQ(child.DrawTextBiDiModeFlags(DT_LEFT | DT_WORDBREAK), LONG(DT_LEFT | DT_WORDBREAK));
    }
    TMiddleEast on(true);
    struct {
        TBiDiMode Mode;
        LONG In, Out;
    } cases[] = {
        {bdRightToLeft, DT_LEFT, DT_RIGHT | DT_RTLREADING},
        {bdRightToLeft, DT_RIGHT | DT_SINGLELINE, DT_LEFT | DT_SINGLELINE | DT_RTLREADING},
        {bdRightToLeft, DT_CENTER, DT_CENTER | DT_RTLREADING},
        {bdRightToLeftReadingOnly, DT_LEFT, DT_LEFT | DT_RTLREADING},
        {bdRightToLeftNoAlign, DT_RIGHT, DT_RIGHT | DT_RTLREADING},
        {bdLeftToRight, DT_RIGHT, DT_RIGHT},
    };
    for (const auto& c : cases) {
        child.SetBiDiMode(c.Mode);
        EXPECT_FALSE(child.ParentBiDiMode());
        EXPECT_EQ(child.DrawTextBiDiModeFlags(c.In), c.Out) << int(c.Mode);
    }
    child.SetParentBiDiMode(true);
    EXPECT_EQ(child.BiDiMode(), bdRightToLeft);
    child.SetParent(nullptr);
}

TEST(BiDiMode, ScreenPixelsPerInchFollowsTheSetting)
{
    TScreen screen(nullptr);
    EXPECT_EQ(screen.PixelsPerInch(), 96);
    GdiSetScreenPixelsPerInch(120);
    EXPECT_EQ(screen.PixelsPerInch(), 120);
    GdiSetScreenPixelsPerInch(96);
}
