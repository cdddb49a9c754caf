#include <gtest/gtest.h>

#include <random>

#include "platform/gfx/Gdi.h"

TEST(GdiRegion, CombineModesAnswerTheResultKind)
{
    struct Case {
        int Mode, Kind;
        TRect Box;
        bool In5, In15, In25;   // points (x, 5) for x = 5, 15, 25
    } cases[] = {
        {RGN_AND, SIMPLEREGION, {10, 0, 20, 10}, false, true, false},
        {RGN_OR, SIMPLEREGION, {0, 0, 30, 10}, true, true, true},
        {RGN_XOR, COMPLEXREGION, {0, 0, 30, 10}, true, false, true},
        {RGN_DIFF, SIMPLEREGION, {0, 0, 10, 10}, true, false, false},
        {RGN_COPY, SIMPLEREGION, {0, 0, 20, 10}, true, true, false},
    };
    for (const auto& k : cases) {
        HRGN a = CreateRectRgn(0, 0, 20, 10), b = CreateRectRgn(10, 0, 30, 10), d = CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(CombineRgn(d, a, b, k.Mode), k.Kind) << k.Mode;
        RECT box;
        GetRgnBox(d, &box);
        EXPECT_EQ(box, k.Box) << k.Mode;
        EXPECT_EQ(bool(PtInRegion(d, 5, 5)), k.In5) << k.Mode;
        EXPECT_EQ(bool(PtInRegion(d, 15, 5)), k.In15) << k.Mode;
        EXPECT_EQ(bool(PtInRegion(d, 25, 5)), k.In25) << k.Mode;
        DeleteObject(a);
        DeleteObject(b);
        DeleteObject(d);
    }
    HRGN a = CreateRectRgn(0, 0, 5, 5), b = CreateRectRgn(10, 10, 20, 20), d = CreateRectRgn(0, 0, 1, 1);
    EXPECT_EQ(CombineRgn(d, a, b, RGN_AND), NULLREGION);
    EXPECT_EQ(CombineRgn(d, a, b, 99), ERROR);
    // The destination may be one of the sources.
    EXPECT_EQ(CombineRgn(a, a, b, RGN_OR), COMPLEXREGION);
    EXPECT_TRUE(PtInRegion(a, 15, 15));
    DeleteObject(a);
    DeleteObject(b);
    DeleteObject(d);
}

TEST(GdiRegion, ShapesOffsetsAndEquality)
{
    HRGN e = CreateEllipticRgn(0, 0, 20, 10);
    RECT box;
    GetRgnBox(e, &box);
    EXPECT_EQ(box, Rect(0, 0, 20, 10));
    EXPECT_TRUE(PtInRegion(e, 10, 5));
    EXPECT_FALSE(PtInRegion(e, 0, 0));
    EXPECT_FALSE(PtInRegion(e, 19, 9));
    RECT corner{0, 0, 2, 2}, mid{8, 3, 12, 6};
    EXPECT_FALSE(RectInRegion(e, &corner));
    EXPECT_TRUE(RectInRegion(e, &mid));
    HRGN copy = CreateEllipticRgn(5, 5, 25, 15);
    EXPECT_FALSE(EqualRgn(e, copy));
    OffsetRgn(copy, -5, -5);
    EXPECT_TRUE(EqualRgn(e, copy));

    POINT tri[] = {{0, 0}, {10, 0}, {0, 10}};
    HRGN t = CreatePolygonRgn(tri, 3, ALTERNATE);
    EXPECT_TRUE(PtInRegion(t, 2, 2));
    EXPECT_FALSE(PtInRegion(t, 8, 8));
    EXPECT_FALSE(PtInRegion(t, 10, 0));   // right edge excluded
    HRGN rr = CreateRoundRectRgn(0, 0, 20, 20, 10, 10);
    EXPECT_FALSE(PtInRegion(rr, 0, 0));
    EXPECT_TRUE(PtInRegion(rr, 10, 0));
    EXPECT_TRUE(PtInRegion(rr, 5, 5));
    for (HRGN r : {e, copy, t, rr}) DeleteObject(r);
}

TEST(GdiRegion, ManyRectanglesStayBandedAndExact)
{
    // A checkerboard built by XOR keeps exactly the squares it should.
    HRGN acc = CreateRectRgn(0, 0, 0, 0);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            if ((x + y) % 2 == 0) {
                HRGN sq = CreateRectRgn(x * 4, y * 4, x * 4 + 4, y * 4 + 4);
                CombineRgn(acc, acc, sq, RGN_XOR);
                DeleteObject(sq);
            }
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            EXPECT_EQ(bool(PtInRegion(acc, x, y)), ((x / 4 + y / 4) % 2) == 0) << x << "," << y;
    HRGN whole = CreateRectRgn(0, 0, 32, 32), rest = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(rest, whole, acc, RGN_DIFF);
    CombineRgn(rest, rest, acc, RGN_OR);
    EXPECT_TRUE(EqualRgn(rest, whole));   // merged back into one rectangle
    RECT box;
    EXPECT_EQ(GetRgnBox(rest, &box), SIMPLEREGION);
    for (HRGN r : {acc, whole, rest}) DeleteObject(r);
}

namespace {
// Random rectangles on a small grid, so that they touch, overlap, nest and
// share edges; some empty or inverted.
std::vector<TRect> RandomRects(std::mt19937& rng, int n)
{
    std::uniform_int_distribution<int> pos(-5, 40), len(-2, 14);
    std::vector<TRect> v;
    for (int i = 0; i < n; ++i) {
        int l = pos(rng), t = pos(rng);
        v.push_back({l, t, l + len(rng), t + len(rng)});
    }
    return v;
}
}  // namespace

// The union of many rectangles at once is the region that adding them one
// by one gives, rectangle for rectangle.
TEST(GdiRegion, UnionOfManyRectanglesMatchesAddingThemOneByOne)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 300; ++round) {
        std::vector<TRect> rects = RandomRects(rng, 1 + round % 40);
        TRegionData one;
        for (const TRect& r : rects) {
            TRegionData t;
            t.Combine(one, TRegionData(r), RGN_OR);
            one = t;
        }
        TRegionData all = TRegionData::FromRects(rects);
        ASSERT_EQ(all.Rects(), one.Rects()) << "round " << round;
        ASSERT_EQ(all.Extents(), one.Extents()) << "round " << round;
    }
}

// Excluding a list of rectangles from a DC's clip in one pass leaves the
// clip that excluding them one at a time leaves, also with a clip already
// set and with an empty list (which still sets the clip).
TEST(GdiRegion, ExcludingManyRectanglesAtOnceMatchesOneAtATime)
{
    std::mt19937 rng(11);
    HBITMAP bmpA = CreateCompatibleBitmap(nullptr, 40, 30), bmpB = CreateCompatibleBitmap(nullptr, 40, 30);
    for (int round = 0; round < 200; ++round) {
        std::vector<TRect> rects = RandomRects(rng, round % 25);
        HDC a = CreateCompatibleDC(nullptr), b = CreateCompatibleDC(nullptr);
        HGDIOBJ oa = SelectObject(a, bmpA), ob = SelectObject(b, bmpB);
        if (round % 3 == 0)
            for (HDC dc : {a, b}) IntersectClipRect(dc, 3, 2, 33, 25);
        for (const TRect& r : rects) ExcludeClipRect(a, r.Left, r.Top, r.Right, r.Bottom);
        if (rects.empty()) ExcludeClipRect(a, 0, 0, 0, 0);  // sets the clip, cutting nothing
        int kind = GdiExcludeClipRects(b, rects);
        HRGN ra = CreateRectRgn(0, 0, 0, 0), rb = CreateRectRgn(0, 0, 0, 0);
        ASSERT_EQ(GetClipRgn(a, ra), 1);
        ASSERT_EQ(GetClipRgn(b, rb), 1);
        ASSERT_EQ(ra->Data.Rects(), rb->Data.Rects()) << "round " << round;
        RECT box;
        ASSERT_EQ(GetClipBox(a, &box), kind);
        DeleteObject(ra);
        DeleteObject(rb);
        SelectObject(a, oa);
        SelectObject(b, ob);
        DeleteDC(a);
        DeleteDC(b);
    }
    DeleteObject(bmpA);
    DeleteObject(bmpB);
}
