#include <gtest/gtest.h>

#include <cairo.h>

#include "platform/gfx/Gdi.h"
#include "tests/platform/gfx/GdiTestUtil.h"

namespace {
constexpr COLORREF kWhite = RGB(255, 255, 255), kBlack = 0, kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255);
}

TEST(GdiDraw, RectangleFillRectAndLineToFollowTheExclusiveEdgeRules)
{
    TTestCanvas c(16, 16);
    TSelect pen(c.Dc, CreatePen(PS_SOLID, 1, kBlack));
    TSelect brush(c.Dc, CreateSolidBrush(kRed));
    Rectangle(c.Dc, 2, 2, 12, 12);
    EXPECT_EQ(c.Row(2, 0, 14, kBlack), "..##########..");   // pen covers 2..11
    EXPECT_EQ(c.Row(5, 0, 14, kRed), "...########...");     // brush inside
    EXPECT_EQ(c.Px(11, 11), kBlack);
    EXPECT_EQ(c.Px(12, 12), kWhite);

    RECT r{0, 14, 5, 16};
    HBRUSH blue = CreateSolidBrush(kBlue);
    FillRect(c.Dc, &r, blue);
    DeleteObject(blue);
    EXPECT_EQ(c.Row(14, 0, 7, kBlue), "#####..");

    MoveToEx(c.Dc, 0, 0, nullptr);
    LineTo(c.Dc, 5, 0);
    EXPECT_EQ(c.Row(0, 0, 7, kBlack), "#####..");   // the end point stays untouched
}

TEST(GdiDraw, RectangleInOneColourCoversWhatFrameAndInsideCover)
{
    // Pen and brush of one colour take a single fill; it must cover the
    // pixels a frame in one colour and an inside in another cover.
    const COLORREF kGreen = RGB(0, 255, 0);
    for (int w = 1; w <= 5; ++w)
        for (int h = 1; h <= 5; ++h) {
            TTestCanvas one(12, 12), two(12, 12);
            {
                TSelect pen(one.Dc, CreatePen(PS_SOLID, 1, kRed));
                TSelect brush(one.Dc, CreateSolidBrush(kRed));
                Rectangle(one.Dc, 3, 4, 3 + w, 4 + h);
            }
            {
                TSelect pen(two.Dc, CreatePen(PS_SOLID, 1, kBlue));
                TSelect brush(two.Dc, CreateSolidBrush(kGreen));
                Rectangle(two.Dc, 3, 4, 3 + w, 4 + h);
            }
            for (int y = 0; y < 12; ++y)
                for (int x = 0; x < 12; ++x)
                    EXPECT_EQ(one.Px(x, y) == kRed, two.Px(x, y) != kWhite) << w << "x" << h << " at " << x << "," << y;
            EXPECT_EQ(one.Count(kRed, 12, 12), w == 1 && h == 1 ? 0 : w * h) << "a single pixel's frame draws nothing";
        }
}

TEST(GdiDraw, NullPenRectangleIsOnePixelSmaller)
{
    TTestCanvas c(12, 12);
    SelectObject(c.Dc, GetStockObject(NULL_PEN));
    TSelect brush(c.Dc, CreateSolidBrush(kRed));
    Rectangle(c.Dc, 0, 0, 10, 10);
    EXPECT_EQ(c.Count(kRed, 12, 12), 81);
}

TEST(GdiDraw, XorDrawingTwiceLeavesNoTrace)
{
    TTestCanvas c(40, 40, RGB(10, 200, 30));
    // Some variety beneath.
    TSelect brush(c.Dc, CreateHatchBrush(HS_DIAGCROSS, kBlue));
    Rectangle(c.Dc, 5, 5, 30, 30);
    std::vector<COLORREF> before;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) before.push_back(c.Px(x, y));

    for (int style : {PS_DOT, PS_SOLID, PS_DASHDOT}) {
        for (int width : {1, 3}) {
            TSelect pen(c.Dc, CreatePen(style, width, RGB(200, 100, 50)));
            SetROP2(c.Dc, R2_XORPEN);
            SelectObject(c.Dc, GetStockObject(NULL_BRUSH));
            for (int pass = 0; pass < 2; ++pass) {
                MoveToEx(c.Dc, 1, 3, nullptr);
                LineTo(c.Dc, 37, 29);
                Rectangle(c.Dc, 3, 3, 20, 25);
                Ellipse(c.Dc, 10, 10, 35, 33);
                RECT fr{4, 4, 33, 36};
                DrawFocusRect(c.Dc, &fr);
            }
            SetROP2(c.Dc, R2_COPYPEN);
            std::vector<COLORREF> after;
            for (int y = 0; y < 40; ++y)
                for (int x = 0; x < 40; ++x) after.push_back(c.Px(x, y));
            EXPECT_EQ(after, before) << "style " << style << " width " << width;
        }
    }
}

TEST(GdiDraw, ClippingWithRegionsAndClipRectangles)
{
    TTestCanvas c(20, 10);
    HRGN a = CreateRectRgn(0, 0, 6, 10), b = CreateRectRgn(10, 0, 16, 10);
    CombineRgn(a, a, b, RGN_OR);
    EXPECT_EQ(SelectClipRgn(c.Dc, a), COMPLEXREGION);
    DeleteObject(a);   // the DC keeps its own copy
    DeleteObject(b);
    EXPECT_EQ(ExcludeClipRect(c.Dc, 2, 0, 4, 10), COMPLEXREGION);
    RECT all{0, 0, 20, 10};
    HBRUSH red = CreateSolidBrush(kRed);
    FillRect(c.Dc, &all, red);
    EXPECT_EQ(c.Row(5, 0, 20, kRed), "##..##....######....");
    RECT box;
    EXPECT_EQ(GetClipBox(c.Dc, &box), COMPLEXREGION);
    EXPECT_EQ(box, Rect(0, 0, 16, 10));

    // SaveDC/RestoreDC bring the earlier clip back; IntersectClipRect narrows it.
    SelectClipRgn(c.Dc, nullptr);
    int saved = SaveDC(c.Dc);
    IntersectClipRect(c.Dc, 18, 0, 19, 10);
    HBRUSH blue = CreateSolidBrush(kBlue);
    FillRect(c.Dc, &all, blue);
    RestoreDC(c.Dc, saved);
    EXPECT_EQ(c.Row(5, 16, 20, kBlue), "..#.");
    EXPECT_EQ(GetClipBox(c.Dc, &box), SIMPLEREGION);
    EXPECT_EQ(box, Rect(0, 0, 20, 10));
    DeleteObject(red);
    DeleteObject(blue);
}

TEST(GdiDraw, DottedPenPatternAndOpaqueGaps)
{
    TTestCanvas c(16, 3);
    TSelect pen(c.Dc, CreatePen(PS_DOT, 1, kBlack));
    SetBkMode(c.Dc, TRANSPARENT);
    MoveToEx(c.Dc, 0, 0, nullptr);
    LineTo(c.Dc, 16, 0);
    EXPECT_EQ(c.Row(0, 0, 16, kBlack), "###...###...###.");
    SetBkMode(c.Dc, OPAQUE);
    SetBkColor(c.Dc, kRed);
    MoveToEx(c.Dc, 0, 2, nullptr);
    LineTo(c.Dc, 12, 2);
    EXPECT_EQ(c.Row(2, 0, 12, kRed), "...###...###");
}

TEST(GdiDraw, PolygonFillModes)
{
    // A pentagram: the centre is inside with WINDING, outside with ALTERNATE.
    POINT star[] = {{20, 2}, {32, 38}, {2, 14}, {38, 14}, {8, 38}};
    for (int mode : {ALTERNATE, WINDING}) {
        TTestCanvas c(40, 40);
        SelectObject(c.Dc, GetStockObject(NULL_PEN));
        TSelect brush(c.Dc, CreateSolidBrush(kRed));
        SetPolyFillMode(c.Dc, mode);
        Polygon(c.Dc, star, 5);
        EXPECT_EQ(c.Px(20, 22) == kRed, mode == WINDING);
        EXPECT_EQ(c.Px(20, 8), kRed);   // a point of the star
        EXPECT_EQ(c.Px(2, 30), kWhite);
    }
}

TEST(GdiDraw, HorizontalAndVerticalGradients)
{
    TTestCanvas c(11, 11);
    TRIVERTEX v[2];
    v[0].x = 0; v[0].y = 0; v[0].Red = 0; v[0].Green = 0; v[0].Blue = 0xFF00;
    v[1].x = 11; v[1].y = 11; v[1].Red = 0xFF00; v[1].Green = 0; v[1].Blue = 0;
    GRADIENT_RECT gr{0, 1};
    ASSERT_TRUE(GradientFill(c.Dc, v, 2, &gr, 1, GRADIENT_FILL_RECT_H));
    EXPECT_EQ(c.Px(0, 5), RGB(0, 0, 255));
    EXPECT_EQ(c.Px(10, 5), RGB(255, 0, 0));
    EXPECT_EQ(c.Px(5, 0), c.Px(5, 10));   // constant down a column
    EXPECT_NEAR(GetRValue(c.Px(5, 3)), 128, 2);
    ASSERT_TRUE(GradientFill(c.Dc, v, 2, &gr, 1, GRADIENT_FILL_RECT_V));
    EXPECT_EQ(c.Px(3, 0), RGB(0, 0, 255));
    EXPECT_EQ(c.Px(3, 10), RGB(255, 0, 0));
    EXPECT_EQ(c.Px(0, 4), c.Px(10, 4));
    GRADIENT_RECT bad{0, 7};
    EXPECT_FALSE(GradientFill(c.Dc, v, 2, &bad, 1, GRADIENT_FILL_RECT_H));
}

TEST(GdiDraw, MapModesAndOrigins)
{
    TTestCanvas c(100, 100);
    // Window origin shifts drawing; DPtoLP/LPtoDP agree with it.
    SetWindowOrgEx(c.Dc, 10, 20, nullptr);
    RECT r{10, 20, 12, 22};
    HBRUSH red = CreateSolidBrush(kRed);
    FillRect(c.Dc, &r, red);
    EXPECT_EQ(c.Px(10, 20), kRed);   // GetPixel is logical too
    EXPECT_EQ(c.Px(0, 0), CLR_INVALID);
    SetWindowOrgEx(c.Dc, 0, 0, nullptr);
    EXPECT_EQ(c.Px(0, 0), kRed);
    EXPECT_EQ(c.Px(2, 2), kWhite);

    // MM_LOMETRIC: 0.1 mm units, y up. At 96 dpi 254 units are 96 pixels.
    EXPECT_EQ(SetMapMode(c.Dc, MM_LOMETRIC), MM_TEXT);
    POINT p{254, -127};
    LPtoDP(c.Dc, &p, 1);
    EXPECT_EQ(p, Point(96, 48));
    DPtoLP(c.Dc, &p, 1);
    EXPECT_EQ(p, Point(254, -127));
    RECT lr{100, -100, 200, -200};   // 10 mm right and down, 10 mm tall and wide
    HBRUSH blue = CreateSolidBrush(kBlue);
    FillRect(c.Dc, &lr, blue);
    EXPECT_EQ(c.Px(150, -150), kBlue);
    SetMapMode(c.Dc, MM_TEXT);
    EXPECT_EQ(c.Px(37, 37), kWhite);   // 100 units = 37.8 px: the rectangle covers 38..75
    EXPECT_EQ(c.Px(38, 38), kBlue);
    EXPECT_EQ(c.Px(75, 75), kBlue);
    EXPECT_EQ(c.Px(76, 76), kWhite);
    DeleteObject(red);
    DeleteObject(blue);
}

TEST(GdiDraw, FloodFillBorderAndSurface)
{
    TTestCanvas c(20, 20);
    TSelect pen(c.Dc, CreatePen(PS_SOLID, 1, kBlack));
    SelectObject(c.Dc, GetStockObject(NULL_BRUSH));
    Rectangle(c.Dc, 2, 2, 12, 12);
    TSelect brush(c.Dc, CreateSolidBrush(kRed));
    EXPECT_TRUE(FloodFill(c.Dc, 5, 5, kBlack));
    EXPECT_EQ(c.Count(kRed, 20, 20), 64);
    // Surface mode replaces the connected area of one colour; the brush
    // colour matching the area's colour must not loop.
    EXPECT_TRUE(ExtFloodFill(c.Dc, 5, 5, kRed, FLOODFILLSURFACE));
    EXPECT_FALSE(ExtFloodFill(c.Dc, 5, 5, kBlue, FLOODFILLSURFACE));
    EXPECT_FALSE(FloodFill(c.Dc, 2, 2, kBlack));   // seed on the border
}

TEST(GdiDraw, ObjectsDeletedWhileSelectedLiveUntilDeselected)
{
    TTestCanvas c(4, 4);
    HBRUSH b = CreateSolidBrush(kRed);
    HGDIOBJ old = SelectObject(c.Dc, b);
    EXPECT_TRUE(DeleteObject(b));
    Rectangle(c.Dc, 0, 0, 4, 4);   // still usable
    EXPECT_EQ(c.Px(1, 1), kRed);
    SelectObject(c.Dc, old);        // now freed (the sanitizer checks)
    EXPECT_EQ(GetObjectType(b), 0u);
    EXPECT_FALSE(DeleteObject(b));
    EXPECT_TRUE(DeleteObject(GetStockObject(WHITE_BRUSH)));   // stock objects stay
    EXPECT_EQ(GetObjectType(GetStockObject(WHITE_BRUSH)), DWORD(OBJ_BRUSH));
}

TEST(GdiDraw, DrawEdgeColoursAndAdjust)
{
    TTestCanvas c(10, 10);
    RECT r{0, 0, 10, 10};
    EXPECT_TRUE(DrawEdge(c.Dc, &r, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST));
    EXPECT_EQ(r, Rect(2, 2, 8, 8));
    EXPECT_EQ(c.Px(0, 0), GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(c.Px(9, 0), GetSysColor(COLOR_3DDKSHADOW));   // the right edge covers the corner
    EXPECT_EQ(c.Px(1, 1), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(c.Px(8, 8), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(c.Px(5, 5), GetSysColor(COLOR_BTNFACE));

    TTestCanvas d(10, 10);
    RECT s{0, 0, 10, 10};
    DrawEdge(d.Dc, &s, EDGE_SUNKEN, BF_LEFT | BF_FLAT | BF_ADJUST);
    EXPECT_EQ(s, Rect(2, 0, 10, 10));
    EXPECT_EQ(d.Px(0, 5), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(d.Px(1, 5), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(d.Px(2, 5), kWhite);
}

TEST(GdiDraw, DrawFrameControlPushAndCheck)
{
    TTestCanvas c(20, 20);
    RECT r{0, 0, 20, 20};
    EXPECT_TRUE(DrawFrameControl(c.Dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT));
    EXPECT_EQ(r, Rect(2, 2, 18, 18));
    EXPECT_EQ(c.Px(10, 10), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(c.Px(19, 19), GetSysColor(COLOR_3DDKSHADOW));

    TTestCanvas k(13, 13);
    RECT b{0, 0, 13, 13};
    DrawFrameControl(k.Dc, &b, DFC_BUTTON, DFCS_BUTTONCHECK);
    EXPECT_EQ(k.Count(GetSysColor(COLOR_WINDOWTEXT), 13, 13), 0);
    DrawFrameControl(k.Dc, &b, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
    EXPECT_GT(k.Count(GetSysColor(COLOR_WINDOWTEXT), 13, 13), 8);
    EXPECT_EQ(k.Px(0, 0), GetSysColor(COLOR_BTNSHADOW));
}

TEST(GdiDraw, SurfaceDCsDrawAtTheirOriginInsideTheirClip)
{
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 30, 30);
    HDC dc = CreateSurfaceDC(s, {10, 10}, Rect(10, 10, 20, 20));
    RECT all{-100, -100, 100, 100};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    RECT box;
    GetClipBox(dc, &box);
    EXPECT_EQ(box, Rect(0, 0, 10, 10));
    EXPECT_EQ(GetPixel(dc, 0, 0), 0u);
    EXPECT_EQ(GetPixel(dc, 10, 0), CLR_INVALID);
    // A cairo context for other engines: logical units, clip applied.
    cairo_t* cr = GdiCairo(dc);
    cairo_set_source_rgb(cr, 1, 0, 0);
    cairo_rectangle(cr, 5, 5, 100, 100);
    cairo_fill(cr);
    GdiReleaseCairo(dc, cr);
    cairo_surface_flush(s);
    auto px = [&](int x, int y) {
        return reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s))[x];
    };
    EXPECT_EQ(px(16, 16), 0xFFFF0000u);
    EXPECT_EQ(px(12, 12), 0xFF000000u);
    EXPECT_EQ(px(21, 21), 0u);
    EXPECT_EQ(px(5, 5), 0u);
    HWND fake = reinterpret_cast<HWND>(intptr_t(0x1234));
    GdiSetDCWindow(dc, fake);
    EXPECT_EQ(WindowFromDC(dc), fake);
    DeleteDC(dc);
    cairo_surface_destroy(s);
}
