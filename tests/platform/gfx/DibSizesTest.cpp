// Device-independent copies of bitmaps and the settable logical pixels per
// inch of the screen and memory DCs.
#include <gtest/gtest.h>

#include <vector>

#include "platform/gfx/Graphics.h"

TEST(GetDIB, CopiesTheBitmapAtItsOwnDepthBottomUp)
{
    TBitmap b(3, 2);
    b.SetPixelFormat(pf24bit);
    b.Canvas()->SetPixels(0, 0, TColor(0x0000FF));   // red, top left
    b.Canvas()->SetPixels(2, 1, TColor(0xFF0000));   // blue, bottom right
    Cardinal infoSize = 0, imageSize = 0;
    GetDIBSizes(b.Handle(), infoSize, imageSize);
    EXPECT_EQ(infoSize, sizeof(BITMAPINFOHEADER));
    EXPECT_EQ(imageSize, 2u * 12u);  // 9 bytes a row, padded to 12
    std::vector<Byte> info(infoSize), bits(imageSize);
    ASSERT_TRUE(GetDIB(b.Handle(), nullptr, info.data(), bits.data()));
    const auto* h = reinterpret_cast<const BITMAPINFOHEADER*>(info.data());
    EXPECT_EQ(h->biWidth, 3);
    EXPECT_EQ(h->biHeight, 2);
    EXPECT_EQ(h->biBitCount, 24);
    // Bottom row first, blue-green-red bytes.
    EXPECT_EQ(bits[6], 0xFF);
    EXPECT_EQ(bits[7], 0x00);
    EXPECT_EQ(bits[12 + 2], 0xFF);
    EXPECT_EQ(bits[12 + 0], 0x00);

    // An 8-bit bitmap carries its colour table.
    TBitmap p(4, 4);
    p.SetPixelFormat(pf8bit);
    GetDIBSizes(p.Handle(), infoSize, imageSize);
    EXPECT_EQ(infoSize, sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
    EXPECT_EQ(imageSize, 16u);
    std::vector<Byte> info8(infoSize), bits8(imageSize);
    EXPECT_TRUE(GetDIB(p.Handle(), nullptr, info8.data(), bits8.data()));

    GetDIBSizes(nullptr, infoSize, imageSize);
    EXPECT_EQ(infoSize, 0u);
    EXPECT_EQ(imageSize, 0u);
    EXPECT_FALSE(GetDIB(nullptr, nullptr, info.data(), bits.data()));
}

TEST(LogicalPixelsPerInch, ScreenAndMemoryDCsFollowTheSetting)
{
    HDC screen = CreateScreenIC();
    HDC memory = CreateCompatibleDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSX), 96);
    GdiSetScreenPixelsPerInch(144);
    for (HDC dc : {screen, memory}) {
        EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 144);
        EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 144);
    }
    EXPECT_EQ(GdiScreenPixelsPerInch(), 144);
    GdiSetScreenPixelsPerInch(0);  // back to the default
    EXPECT_EQ(GetDeviceCaps(memory, LOGPIXELSY), 96);
    DeleteDC(memory);
    DeleteDC(screen);
}
