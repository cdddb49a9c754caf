#include <gtest/gtest.h>

#include "platform/gfx/ImageList.h"

namespace {

// A strip of n 4x4 images: image k is filled with colour k, with a lime
// corner at the bottom-left as the mask colour.
void Strip(TBitmap& b, int n, const TColor* colours)
{
    b.SetSize(4 * n, 4);
    for (int k = 0; k < n; ++k) {
        b.Canvas()->Brush()->SetColor(colours[k]);
        b.Canvas()->FillRect(Rect(4 * k, 0, 4 * k + 4, 4));
        b.Canvas()->SetPixels(4 * k, 3, clLime);
    }
}

}  // namespace

TEST(ImageList, AddSplitsStripsAndChangeLinksHear)
{
    TImageList list;
    list.SetWidth(4);
    list.SetHeight(4);
    int changes = 0;
    TChangeLink link;
    link.OnChange = [&](TObject* s) { ++changes; EXPECT_EQ(s, &list); };
    list.RegisterChanges(&link);
    TBitmap strip;
    const TColor colours[3] = {clRed, clBlue, clYellow};
    Strip(strip, 3, colours);
    EXPECT_EQ(list.AddMasked(&strip, clLime), 0);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_GT(changes, 0);
    EXPECT_EQ(list.Image(1).Pixel(0, 3), 0u);   // the lime corner is transparent
    EXPECT_EQ(list.Image(1).Pixel(2, 2), 0xFF0000FFu);
    TBitmap out;
    ASSERT_TRUE(list.GetBitmap(2, &out));
    EXPECT_EQ(out.Width(), 4);
    EXPECT_EQ(out.Canvas()->Pixels(1, 1), clYellow);
    EXPECT_FALSE(list.GetBitmap(3, &out));
    list.UnRegisterChanges(&link);
    int before = changes;
    list.Delete(0);
    EXPECT_EQ(changes, before);
    EXPECT_EQ(ImageList_GetImageCount(list.Handle()), 2);
}

TEST(ImageList, DrawEnabledDisabledAndSaturated)
{
    TImageList list;
    list.SetWidth(4);
    list.SetHeight(4);
    TBitmap strip;
    const TColor red[1] = {clRed};
    Strip(strip, 1, red);
    list.AddMasked(&strip, clLime);

    TBitmap target;
    target.SetSize(12, 4);
    target.Canvas()->Brush()->SetColor(clWhite);
    target.Canvas()->FillRect(Rect(0, 0, 12, 4));
    list.Draw(target.Canvas(), 0, 0, 0, true);
    list.Draw(target.Canvas(), 4, 0, 0, false);
    EXPECT_EQ(target.Canvas()->Pixels(1, 1), clRed);
    EXPECT_EQ(target.Canvas()->Pixels(0, 3), clWhite);   // transparent corner
    // Disabled: grey (equal channels), lighter than the image over white.
    TColor d = target.Canvas()->Pixels(5, 1);
    EXPECT_EQ(d & 0xFF, (d >> 8) & 0xFF);
    EXPECT_EQ(d & 0xFF, (d >> 16) & 0xFF);
    EXPECT_GT(d & 0xFF, 0x4C);

    IMAGELISTDRAWPARAMS p;
    p.himl = list.Handle();
    p.i = 0;
    p.hdcDst = target.Canvas()->Handle();
    p.x = 8;
    p.fStyle = ILD_TRANSPARENT;
    p.fState = ILS_SATURATE;
    ASSERT_TRUE(ImageList_DrawIndirect(&p));
    EXPECT_EQ(target.Canvas()->Pixels(9, 1), TColor(0x4C4C4C));   // red's luma
    p.i = 5;
    EXPECT_FALSE(ImageList_DrawIndirect(&p));
    EXPECT_TRUE(ImageList_Draw(list.Handle(), 0, target.Canvas()->Handle(), 0, 0, ILD_NORMAL));
}
