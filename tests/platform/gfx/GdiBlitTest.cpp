#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "platform/gfx/Gdi.h"
#include "tests/platform/gfx/GdiTestUtil.h"

namespace {
constexpr COLORREF kD = RGB(0xF0, 0x0F, 0x55), kS = RGB(0x3C, 0xAA, 0x0F), kP = RGB(0x81, 0x42, 0xFF);
}

TEST(GdiBlit, TernaryRasterOpsAreBitwise)
{
    struct Case {
        DWORD Rop;
        COLORREF Want;
    } cases[] = {
        {SRCCOPY, kS},
        {SRCAND, kS & kD},
        {SRCPAINT, kS | kD},
        {SRCINVERT, kS ^ kD},
        {MERGECOPY, kS & kP},
        {PATCOPY, kP},
        {PATINVERT, kP ^ kD},
        {DSTINVERT, ~kD & 0xFFFFFF},
        {NOTSRCCOPY, ~kS & 0xFFFFFF},
        {BLACKNESS, 0},
        {WHITENESS, 0xFFFFFF},
    };
    TTestCanvas src(4, 4, kS);
    for (const auto& k : cases) {
        TTestCanvas dst(4, 4, kD);
        TSelect brush(dst.Dc, CreateSolidBrush(kP));
        EXPECT_TRUE(BitBlt(dst.Dc, 1, 1, 2, 2, src.Dc, 0, 0, k.Rop));
        EXPECT_EQ(dst.Px(1, 1), k.Want) << std::hex << k.Rop;
        EXPECT_EQ(dst.Px(0, 0), kD) << std::hex << k.Rop;
        EXPECT_EQ(dst.Px(3, 3), kD) << std::hex << k.Rop;
    }
    TTestCanvas dst(4, 4, kD);
    EXPECT_FALSE(BitBlt(dst.Dc, 0, 0, 2, 2, nullptr, 0, 0, SRCCOPY));
    EXPECT_TRUE(PatBlt(dst.Dc, 0, 0, 1, 1, BLACKNESS));
    EXPECT_EQ(dst.Px(0, 0), 0u);
    EXPECT_FALSE(PatBlt(dst.Dc, 0, 0, 1, 1, SRCCOPY));
}

TEST(GdiBlit, OverlappingCopyOnOneSurfaceReadsTheOldPixels)
{
    TTestCanvas c(8, 1);
    for (int x = 0; x < 8; ++x) SetPixel(c.Dc, x, 0, RGB(x * 10, 0, 0));
    BitBlt(c.Dc, 2, 0, 6, 1, c.Dc, 0, 0, SRCCOPY);
    for (int x = 2; x < 8; ++x) EXPECT_EQ(GetRValue(c.Px(x, 0)), (x - 2) * 10) << x;
}

TEST(GdiBlit, DisjointCopiesOnOneSurfaceReadInPlace)
{
    // Copying a row down by doubling (the gradient routine's fill) and a
    // raster operation between disjoint areas of one surface.
    TTestCanvas c(3, 8, kD);
    for (int x = 0; x < 3; ++x) SetPixel(c.Dc, x, 0, RGB(x * 40, 7, 9));
    for (int done = 1; done < 8; done *= 2) BitBlt(c.Dc, 0, done, 3, std::min(done, 8 - done), c.Dc, 0, 0, SRCCOPY);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(c.Px(x, y), RGB(x * 40, 7, 9)) << x << "," << y;
    TTestCanvas d(4, 2, kD);
    SetPixel(d.Dc, 0, 0, kS);
    SetPixel(d.Dc, 1, 0, kS);
    BitBlt(d.Dc, 2, 0, 2, 1, d.Dc, 0, 0, SRCINVERT);
    EXPECT_EQ(d.Px(2, 0), kS ^ kD);
    EXPECT_EQ(d.Px(3, 0), kS ^ kD);
    EXPECT_EQ(d.Px(2, 1), kD);
}

TEST(GdiBlit, StretchMirrorsAndScales)
{
    TTestCanvas src(2, 1);
    SetPixel(src.Dc, 0, 0, RGB(255, 0, 0));
    SetPixel(src.Dc, 1, 0, RGB(0, 0, 255));
    TTestCanvas dst(4, 2);
    StretchBlt(dst.Dc, 0, 0, 4, 2, src.Dc, 0, 0, 2, 1, SRCCOPY);
    EXPECT_EQ(dst.Row(1, 0, 4, RGB(255, 0, 0)), "##..");
    StretchBlt(dst.Dc, 3, 0, -4, 2, src.Dc, 0, 0, 2, 1, SRCCOPY);   // mirrored
    EXPECT_EQ(dst.Row(0, 0, 4, RGB(255, 0, 0)), "..##");
}

TEST(GdiBlit, StretchedCopiesTakeTheNearestPixelUnderTheClip)
{
    // Each destination pixel inside the clip shows the source pixel at
    // (x * sw / dw, y * sh / dh), mirrored where the extent is negative;
    // pixels outside the clip or reading past the source keep their colour.
    // Rows stretched from one pixel, rows of the source's own width and
    // rows scaled both ways, each mirrored and not.
    struct Case {
        int Sw, Sh, Dw, Dh;
        bool MirrorX, MirrorY;
    } cases[] = {
        {1, 5, 9, 7, false, false}, {1, 5, 9, 7, true, true},  {6, 1, 6, 7, false, false},
        {6, 1, 6, 7, false, true},  {6, 1, 6, 7, true, false}, {4, 3, 9, 7, false, false},
        {4, 3, 9, 7, true, true},   {9, 7, 4, 3, false, false}, {5, 1, 5, 7, false, false},
        {5, 2, 5, 7, false, true},
    };
    TTestCanvas src(6, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) SetPixel(src.Dc, x, y, RGB(x * 40, y * 50, 9));
    for (const Case& k : cases) {
        // The source starts one pixel in; a wide one reads past the
        // surface's right edge.
        const int sx0 = 1, sy0 = 0;
        TTestCanvas dst(12, 10, kD);
        IntersectClipRect(dst.Dc, 2, 1, 10, 9);
        const int x = k.MirrorX ? 1 + k.Dw - 1 : 1, y = k.MirrorY ? 1 + k.Dh - 1 : 1;
        StretchBlt(dst.Dc, x, y, k.MirrorX ? -k.Dw : k.Dw, k.MirrorY ? -k.Dh : k.Dh, src.Dc, sx0, sy0, k.Sw, k.Sh,
                   SRCCOPY);
        SelectClipRgn(dst.Dc, nullptr);   // pixels outside a clip read as invalid
        for (int py = 0; py < 10; ++py)
            for (int px = 0; px < 12; ++px) {
                COLORREF want = kD;
                const int rx = px - 1, ry = py - 1;
                if (px >= 2 && px < 10 && py >= 1 && py < 9 && rx >= 0 && rx < k.Dw && ry >= 0 && ry < k.Dh) {
                    const int mx = k.MirrorX ? k.Dw - 1 - rx : rx, my = k.MirrorY ? k.Dh - 1 - ry : ry;
                    const int sx = sx0 + mx * k.Sw / k.Dw, sy = sy0 + my * k.Sh / k.Dh;
                    if (sx < 6 && sy < 5) want = RGB(sx * 40, sy * 50, 9);
                }
                ASSERT_EQ(dst.Px(px, py), want) << k.Sw << "x" << k.Sh << " to " << k.Dw << "x" << k.Dh << " mirror "
                                                << k.MirrorX << k.MirrorY << " at " << px << "," << py;
            }
    }
}

TEST(GdiBlit, AlphaBlendConstantAndPerPixel)
{
    TTestCanvas dst(4, 1, RGB(0, 0, 0));
    TTestCanvas src(4, 1, RGB(200, 100, 0));
    BLENDFUNCTION bf{AC_SRC_OVER, 0, 128, 0};
    EXPECT_TRUE(AlphaBlend(dst.Dc, 0, 0, 2, 1, src.Dc, 0, 0, 2, 1, bf));
    EXPECT_NEAR(GetRValue(dst.Px(0, 0)), 100, 1);
    EXPECT_NEAR(GetGValue(dst.Px(1, 0)), 50, 1);
    EXPECT_EQ(dst.Px(2, 0), 0u);
    // The source rectangle must lie inside the source.
    EXPECT_FALSE(AlphaBlend(dst.Dc, 0, 0, 2, 1, src.Dc, 3, 0, 2, 1, bf));

    // Per-pixel alpha: a half-transparent white pixel and a transparent one.
    uint32_t px[2] = {0x80FFFFFFu, 0x00FF0000u};
    HBITMAP bmp = CreateBitmapFromBGRA(2, 1, px, true);
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, bmp);
    TTestCanvas d2(2, 1, RGB(0, 0, 0));
    BLENDFUNCTION pp{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    EXPECT_TRUE(AlphaBlend(d2.Dc, 0, 0, 2, 1, mem, 0, 0, 2, 1, pp));
    EXPECT_NEAR(GetRValue(d2.Px(0, 0)), 128, 1);
    EXPECT_EQ(d2.Px(1, 0), 0u);
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(bmp);
}

TEST(GdiBlit, TransparentBltAndMonochromeConversion)
{
    TTestCanvas src(3, 1, RGB(255, 0, 255));
    SetPixel(src.Dc, 1, 0, RGB(0, 128, 0));
    TTestCanvas dst(3, 1, RGB(1, 2, 3));
    EXPECT_TRUE(TransparentBlt(dst.Dc, 0, 0, 3, 1, src.Dc, 0, 0, 3, 1, RGB(255, 0, 255)));
    EXPECT_EQ(dst.Row(0, 0, 3, RGB(1, 2, 3)), "#.#");

    // To a 1-bit bitmap: the source's background colour becomes white.
    HDC mono = CreateCompatibleDC(nullptr);
    HBITMAP mb = CreateBitmap(3, 1, 1, 1, nullptr);
    HGDIOBJ old = SelectObject(mono, mb);
    SetBkColor(src.Dc, RGB(255, 0, 255));
    BitBlt(mono, 0, 0, 3, 1, src.Dc, 0, 0, SRCCOPY);
    EXPECT_EQ(GetPixel(mono, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(mono, 1, 0), 0u);
    // From it: black becomes the text colour, white the background colour.
    SetTextColor(dst.Dc, RGB(9, 9, 9));
    SetBkColor(dst.Dc, RGB(7, 7, 7));
    BitBlt(dst.Dc, 0, 0, 3, 1, mono, 0, 0, SRCCOPY);
    EXPECT_EQ(dst.Px(0, 0), RGB(7, 7, 7));
    EXPECT_EQ(dst.Px(1, 0), RGB(9, 9, 9));
    SelectObject(mono, old);
    DeleteObject(mb);
    DeleteDC(mono);
}

TEST(GdiBlit, DibSectionsStayInStepWithDrawing)
{
    // 24-bit bottom-up: the bits pointer's first row is the bottom line.
    BITMAPINFO bi{};
    bi.bmiHeader.biWidth = 3;
    bi.bmiHeader.biHeight = 2;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_TRUE(dib && bits);
    auto* b = static_cast<Byte*>(bits);
    b[0] = 0xFF;   // bottom-left pixel blue (B, G, R order)
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, dib);
    EXPECT_EQ(GetPixel(mem, 0, 1), RGB(0, 0, 255));
    RECT top{0, 0, 3, 1};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(mem, &top, red);
    DeleteObject(red);
    const int stride = 12;   // 9 bytes padded to 12
    EXPECT_EQ(b[stride + 2], 0xFF);   // the top line is the second row in memory
    EXPECT_EQ(b[stride + 0], 0x00);
    DIBSECTION ds;
    ASSERT_EQ(GetObject(dib, sizeof ds, &ds), int(sizeof ds));
    EXPECT_EQ(ds.dsBm.bmBits, bits);
    EXPECT_EQ(ds.dsBm.bmWidthBytes, stride);
    EXPECT_EQ(ds.dsBmih.biBitCount, 24);

    // GetDIBits to 32-bit top-down and StretchDIBits back from 8-bit bottom-up.
    struct {
        BITMAPINFOHEADER h;
        RGBQUAD pal[256];
    } info{};
    info.h.biWidth = 3;
    info.h.biHeight = -2;
    info.h.biBitCount = 32;
    uint32_t out[6] = {};
    EXPECT_EQ(GetDIBits(mem, dib, 0, 2, out, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS), 2);
    EXPECT_EQ(out[0] & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(out[3] & 0xFFFFFF, 0x0000FFu);
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(dib);

    info = {};
    info.h.biWidth = 2;
    info.h.biHeight = 2;
    info.h.biBitCount = 8;
    info.h.biClrUsed = 2;
    info.pal[1].rgbGreen = 200;
    Byte idx[8] = {1, 0, 0, 0, 0, 1, 0, 0};   // bottom row: green, black; top: black, green
    TTestCanvas c(2, 2);
    EXPECT_EQ(StretchDIBits(c.Dc, 0, 0, 2, 2, 0, 0, 2, 2, idx, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, SRCCOPY), 2);
    EXPECT_EQ(c.Px(0, 1), RGB(0, 200, 0));
    EXPECT_EQ(c.Px(1, 0), RGB(0, 200, 0));
    EXPECT_EQ(c.Px(0, 0), 0u);
    info.h.biBitCount = 7;
    EXPECT_EQ(StretchDIBits(c.Dc, 0, 0, 2, 2, 0, 0, 2, 2, idx, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, SRCCOPY), 0);
}

TEST(GdiBlit, HalftoneAveragesWhenShrinking)
{
    TTestCanvas src(4, 1, RGB(0, 0, 0));
    SetPixel(src.Dc, 1, 0, RGB(200, 200, 200));
    SetPixel(src.Dc, 3, 0, RGB(200, 200, 200));
    TTestCanvas dst(2, 1);
    StretchBlt(dst.Dc, 0, 0, 2, 1, src.Dc, 0, 0, 4, 1, SRCCOPY);
    EXPECT_EQ(dst.Px(0, 0), 0u);   // nearest pixel by default
    SetStretchBltMode(dst.Dc, HALFTONE);
    StretchBlt(dst.Dc, 0, 0, 2, 1, src.Dc, 0, 0, 4, 1, SRCCOPY);
    EXPECT_EQ(dst.Px(0, 0), RGB(100, 100, 100));
    EXPECT_EQ(dst.Px(1, 0), RGB(100, 100, 100));
}
