#include <gtest/gtest.h>

#include <cairo.h>
#include <unistd.h>

#include <cstdio>
#include <sstream>

#include "platform/gfx/Gdi.h"
#include "tests/platform/gfx/GdiTestUtil.h"

namespace {

class FixedText : public ::testing::Test {
protected:
    void SetUp() override { SetFixedMetricsFonts(true); }
    void TearDown() override { SetFixedMetricsFonts(false); }
};

// The lines DrawText laid out, as "text@x,y".
std::vector<std::string> Lines(HDC dc)
{
    std::vector<std::string> out;
    for (const auto& r : GdiRecords(dc))
        if (r.Kind == L"DrawTextLine") {
            std::ostringstream s;
            s << UTF8Encode(r.Text) << "@" << r.Rect.Left << "," << r.Rect.Top;
            out.push_back(s.str());
        }
    return out;
}

}  // namespace

TEST_F(FixedText, DrawTextLayoutTable)
{
    struct Case {
        const wchar_t* Text;
        int W, H;
        UINT Flags;
        std::vector<std::string> Lines;
        int Result;
    } cases[] = {
        {L"Hello world", 48, 100, DT_WORDBREAK, {"Hello@0,0", "world@0,16"}, 32},
        {L"Hello world", 200, 40, DT_CENTER | DT_SINGLELINE | DT_VCENTER, {"Hello world@56,12"}, 28},
        {L"abc", 100, 40, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE, {"abc@76,24"}, 40},
        {L"a\r\nb\nc", 100, 100, DT_LEFT, {"a@0,0", "b@0,16", "c@0,32"}, 48},
        {L"&File && &Save", 200, 20, DT_SINGLELINE, {"File & Save@0,0"}, 16},
        {L"&File", 200, 20, DT_SINGLELINE | DT_NOPREFIX, {"&File@0,0"}, 16},
        {L"abcdefghij", 56, 20, DT_SINGLELINE | DT_END_ELLIPSIS, {"abcd...@0,0"}, 16},
        {L"one two three", 80, 20, DT_SINGLELINE | DT_WORD_ELLIPSIS, {"one two...@0,0"}, 16},
        {L"C:\\dir\\sub\\file.txt", 104, 20, DT_SINGLELINE | DT_PATH_ELLIPSIS, {"C...\\file.txt@0,0"}, 16},
        {L"abcdefghij", 32, 100, DT_WORDBREAK, {"abcdefghij@0,0"}, 16},
        {L"abcdefghij", 32, 100, DT_WORDBREAK | DT_EDITCONTROL, {"abcd@0,0", "efgh@0,16", "ij@0,32"}, 48},
        {L"aa bb cc dd", 100, 20, DT_WORDBREAK | DT_EDITCONTROL, {"aa bb cc dd@0,0"}, 16},
        {L"aa bb cc dd ee ff", 48, 40, DT_WORDBREAK | DT_EDITCONTROL, {"aa bb@0,0", "cc dd@0,16"}, 32},
        {L"a\tb", 200, 20, DT_SINGLELINE | DT_EXPANDTABS, {"a\tb@0,0"}, 16},
    };
    for (const auto& k : cases) {
        TTestCanvas c(220, 120);
        GdiStartRecording(c.Dc);
        RECT r{0, 0, k.W, k.H};
        int res = DrawText(c.Dc, k.Text, -1, &r, k.Flags);
        EXPECT_EQ(Lines(c.Dc), k.Lines) << UTF8Encode(k.Text);
        EXPECT_EQ(res, k.Result) << UTF8Encode(k.Text);
    }
}

TEST_F(FixedText, CalcRectMeasuresWithoutDrawing)
{
    TTestCanvas c(100, 100);
    struct Case {
        const wchar_t* Text;
        int W;
        UINT Flags;
        TRect Expected;
    } cases[] = {
        {L"abc", 100, DT_SINGLELINE, {0, 0, 24, 16}},
        {L"aa bb cc", 40, DT_WORDBREAK, {0, 0, 40, 32}},
        {L"a\tb", 100, DT_SINGLELINE | DT_EXPANDTABS, {0, 0, 72, 16}},
        {L"", 100, DT_SINGLELINE, {0, 0, 0, 16}},
    };
    for (const auto& k : cases) {
        RECT r{0, 0, k.W, 10};
        DrawText(c.Dc, k.Text, -1, &r, k.Flags | DT_CALCRECT);
        EXPECT_EQ(r, k.Expected) << UTF8Encode(k.Text);
    }
    EXPECT_EQ(c.Count(RGB(255, 255, 255), 100, 100), 100 * 100);
}

TEST_F(FixedText, PrefixUnderlineAndGlyphBoxes)
{
    TTestCanvas c(40, 20);
    SetBkMode(c.Dc, TRANSPARENT);
    SetTextColor(c.Dc, 0);
    RECT r{0, 0, 40, 20};
    DrawText(c.Dc, L"&ab", -1, &r, DT_SINGLELINE);
    EXPECT_EQ(c.Row(14, 0, 16, 0), "########........");   // under "a" only
    EXPECT_EQ(c.Row(6, 0, 16, 0), ".######..######.");    // two inset glyph boxes
    TTestCanvas h(40, 20);
    DrawText(h.Dc, L"&ab", -1, &r, DT_SINGLELINE | DT_HIDEPREFIX);
    EXPECT_EQ(h.Row(14, 0, 16, 0), "................");
}

TEST_F(FixedText, TextOutAlignmentOpaqueBackgroundAndExtents)
{
    TTestCanvas c(40, 40);
    SetBkColor(c.Dc, RGB(255, 0, 0));
    SetTextAlign(c.Dc, TA_RIGHT | TA_BOTTOM);
    TextOut(c.Dc, 30, 30, L"ab", 2);
    // The cells span 14..29 and 14..29 down; glyph boxes leave red gaps.
    EXPECT_EQ(c.Row(14, 12, 32, RGB(255, 0, 0)), "..################..");
    EXPECT_EQ(c.Row(20, 12, 32, RGB(255, 0, 0)), "..#......##......#..");
    EXPECT_EQ(c.Px(14, 30), RGB(255, 255, 255));

    SIZE s;
    GetTextExtentPoint32(c.Dc, L"hello", 5, &s);
    EXPECT_EQ(s, (SIZE{40, 16}));
    int fit = 0, dx[6];
    GetTextExtentExPoint(c.Dc, L"abcdef", 6, 20, &fit, dx, nullptr);
    EXPECT_EQ(fit, 2);
    EXPECT_EQ(dx[5], 48);
    TEXTMETRICW tm;
    GetTextMetrics(c.Dc, &tm);
    EXPECT_EQ(tm.tmHeight, 16);
    EXPECT_EQ(tm.tmAscent, 13);
    EXPECT_EQ(tm.tmAveCharWidth, 8);
}

TEST_F(FixedText, RecordingListsCallsInDevicePixels)
{
    TTestCanvas c(50, 50);
    SetWindowOrgEx(c.Dc, -5, -5, nullptr);
    GdiStartRecording(c.Dc);
    Rectangle(c.Dc, 0, 0, 10, 10);
    TextOut(c.Dc, 1, 2, L"hi", 2);
    RECT r{0, 0, 20, 20};
    DrawEdge(c.Dc, &r, EDGE_SUNKEN, BF_RECT);
    GdiRecord(c.Dc, {L"Theme", {1, 2, 3, 4}, {}, 0, 0, L"button", 7});
    GdiStopRecording(c.Dc);
    FillRect(c.Dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    const auto& rec = GdiRecords(c.Dc);
    ASSERT_EQ(rec.size(), 4u);
    EXPECT_EQ(rec[0].Kind, L"Rectangle");
    EXPECT_EQ(rec[0].Rect, Rect(5, 5, 15, 15));
    EXPECT_EQ(rec[0].Color, 0u);
    EXPECT_EQ(rec[0].BkColor, RGB(255, 255, 255));
    EXPECT_EQ(rec[1].Kind, L"TextOut");
    EXPECT_EQ(rec[1].Text, L"hi");
    EXPECT_EQ(rec[1].Rect, Rect(6, 7, 22, 23));
    EXPECT_EQ(rec[2].Kind, L"DrawEdge");
    EXPECT_EQ(rec[2].Flags, (UINT(EDGE_SUNKEN) << 16) | BF_RECT);
    EXPECT_EQ(rec[3].Text, L"button");
}

TEST(PangoText, FontsMeasureSensiblyAndCacheRepeats)
{
    SetFixedMetricsFonts(false);
    TTestCanvas c(200, 60);
    EXPECT_EQ(MapFontFaceName(L"Courier New"), L"Liberation Mono");
    EXPECT_EQ(MapFontFaceName(L"segoe ui"), L"Liberation Sans");
    EXPECT_EQ(MapFontFaceName(L"Times New Roman"), L"Liberation Serif");
    EXPECT_EQ(MapFontFaceName(L"NoSuchFace"), L"Liberation Sans");

    HFONT f = CreateFont(-MulDiv(8, 96, 72), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    HFONT bold = CreateFont(-MulDiv(8, 96, 72), 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    HGDIOBJ old = SelectObject(c.Dc, f);
    TEXTMETRICW tm;
    GetTextMetrics(c.Dc, &tm);
    EXPECT_GE(tm.tmHeight, 11);
    EXPECT_LE(tm.tmHeight, 16);
    EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
    SIZE a, b, m;
    GetTextExtentPoint32(c.Dc, L"Hello world", 11, &a);
    GetTextExtentPoint32(c.Dc, L"Hello world", 11, &b);
    EXPECT_EQ(a, b);
    EXPECT_GT(a.cx, 40);
    EXPECT_LT(a.cx, 90);
    SelectObject(c.Dc, bold);
    GetTextExtentPoint32(c.Dc, L"Hello world", 11, &m);
    EXPECT_GT(m.cx, a.cx);
    // A positive height asks for the cell height.
    HFONT cell = CreateFont(20, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial");
    SelectObject(c.Dc, cell);
    GetTextMetrics(c.Dc, &tm);
    EXPECT_NEAR(tm.tmHeight, 20, 1);
    // Text draws pixels in the text colour's neighbourhood.
    SetTextColor(c.Dc, RGB(0, 0, 0));
    SetBkMode(c.Dc, TRANSPARENT);
    TextOut(c.Dc, 2, 2, L"Wg", 2);
    int dark = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) dark += GetRValue(c.Px(x, y)) < 100;
    EXPECT_GT(dark, 20);
    SelectObject(c.Dc, old);
    DeleteObject(f);
    DeleteObject(bold);
    DeleteObject(cell);
}

TEST(PangoText, ManyFontsInTurnKeepTheirOwnMeasures)
{
    // More sizes than the font cache keeps: it is emptied on the way, and a
    // font asked for again is made anew, measuring as it did.
    SetFixedMetricsFonts(false);
    TTestCanvas c(200, 60);
    auto width = [&](int height, int weight) {
        HFONT f = CreateFont(-height, 0, 0, 0, weight, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial");
        HGDIOBJ old = SelectObject(c.Dc, f);
        SIZE sz{};
        GetTextExtentPoint32(c.Dc, L"Hello world", 11, &sz);
        SelectObject(c.Dc, old);
        DeleteObject(f);
        return sz.cx;
    };
    const int small = width(10, FW_NORMAL), large = width(30, FW_NORMAL), bold = width(10, FW_BOLD);
    EXPECT_LT(small, large);
    EXPECT_LT(small, bold);
    for (int h = 6; h < 6 + 300; ++h) {
        width(h, FW_NORMAL);
        EXPECT_EQ(width(10, FW_NORMAL), small) << h;
        EXPECT_EQ(width(10, FW_BOLD), bold) << h;
    }
    EXPECT_EQ(width(30, FW_NORMAL), large);
}

TEST_F(FixedText, RotatedFontsRunUpwardsAndCaptureToPng)
{
    TTestCanvas c(40, 40);
    HFONT f = CreateFont(-16, 0, 900, 900, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial");
    HGDIOBJ old = SelectObject(c.Dc, f);
    SetBkMode(c.Dc, TRANSPARENT);
    TextOut(c.Dc, 10, 30, L"ab", 2);
    EXPECT_EQ(c.Px(16, 26), 0u);                    // inside the first glyph box, above the origin
    EXPECT_EQ(c.Px(16, 34), RGB(255, 255, 255));    // nothing below it
    EXPECT_EQ(c.Px(5, 26), RGB(255, 255, 255));     // nor to the left
    SelectObject(c.Dc, old);
    DeleteObject(f);

    char dir[] = "/tmp/vel_png_XXXXXX";
    ASSERT_TRUE(mkdtemp(dir));
    std::string path = std::string(dir) + "/dc.png";
    ASSERT_TRUE(SaveDCToPNG(c.Dc, UTF8ToString(path)));
    cairo_surface_t* png = cairo_image_surface_create_from_png(path.c_str());
    EXPECT_EQ(cairo_image_surface_get_width(png), 40);
    cairo_surface_flush(png);
    auto* row = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(png) + 26 * cairo_image_surface_get_stride(png));
    EXPECT_EQ(row[16] & 0xFFFFFF, 0u);
    EXPECT_EQ(row[5] & 0xFFFFFF, 0xFFFFFFu);
    cairo_surface_destroy(png);
    EXPECT_TRUE(SaveBitmapToPNG(c.Bmp, UTF8ToString(path)));
    std::remove(path.c_str());
    rmdir(dir);
}

TEST(PangoText, RightToLeftReadingPutsTrailingNeutralsFirst)
{
    // "lb." read right to left shows the full stop left of the letters:
    // the leftmost inked column then has ink only near the baseline.
    SetFixedMetricsFonts(false);
    HFONT f = CreateFont(-24, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial");
    auto leftmostInkRows = [&](UINT flags, int& top, int& bottom) {
        TTestCanvas c(120, 40);
        HGDIOBJ old = SelectObject(c.Dc, f);
        SetTextColor(c.Dc, RGB(0, 0, 0));
        SetBkMode(c.Dc, TRANSPARENT);
        RECT r{4, 4, 116, 36};
        DrawText(c.Dc, L"lb.", 3, &r, DT_SINGLELINE | DT_LEFT | flags);
        SelectObject(c.Dc, old);
        for (int x = 0; x < 120; ++x) {
            top = 99;
            bottom = -1;
            for (int y = 0; y < 40; ++y)
                if (GetRValue(c.Px(x, y)) < 128) {
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
            if (bottom >= 0) return x;
        }
        return -1;
    };
    int lt = 0, lb = 0, rt = 0, rb = 0;
    const int lx = leftmostInkRows(0, lt, lb);
    const int rx = leftmostInkRows(DT_RTLREADING, rt, rb);
    ASSERT_GE(lx, 0);
    ASSERT_GE(rx, 0);
    // Left to right the "l" starts the text: ink from the ascender down.
    EXPECT_LT(lt, lb - 6);
    // Right to left the full stop does: a dot of a few pixels.
    EXPECT_GE(rt, rb - 4);
    DeleteObject(f);
}
