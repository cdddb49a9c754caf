// Cell graphics on the screen: placement of the graphic box by alignment,
// the room the layout and the measuring give each kind, the check glyph in
// the bitmap styles, ratings with half stars, progress with an empty range
// and comment marks, on a recording bitmap canvas.
#include <gtest/gtest.h>

#include <algorithm>

#include "controls/grid/VodGrid.h"
#include "platform/base/SysUtils.h"
#include "platform/gfx/ImageList.h"
#include "tests/controls/grid/StringGridFixture.h"

namespace {

// Lets a test set the display scaling factor.
class TScaledGrid : public TVodStringGrid {
public:
    using TVodStringGrid::TVodStringGrid;
    void SetScale(double v) { FDPIScale = v; }
};

using VodGridDrawGraphics = TStringGridFixture<TScaledGrid>;

// A bitmap canvas whose drawing calls are recorded.
struct TRecordingBitmap {
    TBitmap Bmp;
    TRecordingBitmap(Integer W = 200, Integer H = 60)
    {
        Bmp.SetSize(W, H);
        Bmp.Canvas()->Brush()->SetColor(clWhite);
        Bmp.Canvas()->FillRect(TRect{0, 0, W, H});
        GdiStartRecording(Bmp.Canvas()->Handle());
    }
    std::vector<TGdiRecord> Records(const String& Kind)
    {
        std::vector<TGdiRecord> out;
        for (const TGdiRecord& r : GdiRecords(Bmp.Canvas()->Handle()))
            if (r.Kind == Kind) out.push_back(r);
        return out;
    }
};

// A check box graphic made directly, without the check box family's Add.
void AddCheck(TVodStringGrid* G, Integer c, Integer r, bool Checked)
{
    TCellGraphic* g = G->CreateCellGraphic(c, r);
    g->SetCellType(ctCheckBox);
    g->SetCellBoolean(Checked);
}

// Lays out and draws the graphic of (c, r) into R as the cell painter does.
void Paint(TVodStringGrid* G, TCanvas* C, Integer c, Integer r, TRect R, Integer TextWidth = 0,
           TAlignment HA = taLeftJustify, TVAlignment VA = vtaTop)
{
    TVodStringGrid::TCellDrawFrame F;
    F.Canvas = C;
    F.ACol = c;
    F.RCol = c;
    F.ARow = r;
    F.HA = HA;
    F.VA = VA;
    F.Graphic = G->GetCellGraphicLayout(c, r, F.GW, F.GH, F.ShowText, F.GraphicHAlign, F.GraphicVAlign);
    F.TextWidth = TextWidth;
    G->DrawCellGraphic(F, R, F.Graphic, VA);
}

}  // namespace

TEST_F(VodGridDrawGraphics, CheckBoxBoxIsPlacedByItsAlignments)
{
    // Classic check boxes are frame controls: their recorded rectangle is
    // the graphic box. The working rectangle (0, 0, 100, 40) shrinks by
    // XYOffset - 1 = 1 on each side, and grows by 2 again with a text.
    Grid->ControlLook()->SetControlStyle(TControlLook::csClassic);
    struct Case {
        TCellHAlign H;
        TCellVAlign V;
        Integer TextWidth;
        TAlignment HA;
        TPoint TopLeft;
    } cases[] = {
        {haLeft, vaTop, 0, taLeftJustify, {2, 2}},
        {haRight, vaTop, 0, taLeftJustify, {99 - 15 - 1, 2}},
        {haCenter, vaCenter, 0, taLeftJustify, {1 + (98 - 15) / 2, 1 + (38 - 15) / 2}},
        {haLeft, vaBottom, 0, taLeftJustify, {2, 39 - 15 - 1}},
        {haLeft, vaUnderText, 0, taLeftJustify, {2, 39 - 15}},
        {haBeforeText, vaTop, 20, taLeftJustify, {0, 0}},
        {haBeforeText, vaTop, 20, taRightJustify, {101 - 20 - 15, 0}},
        {haBeforeText, vaTop, 20, taCenter, {-1 + (102 - 20 - 15) / 2, 0}},
        {haAfterText, vaTop, 20, taLeftJustify, {-1 + 20, 0}},
        {haAfterText, vaTop, 20, taRightJustify, {101 - 15 - 1, 0}},
    };
    for (const Case& k : cases) {
        AddCheck(Grid, 1, 1, true);
        Grid->GetCellGraphic(1, 1)->SetCellHAlign(k.H);
        Grid->GetCellGraphic(1, 1)->SetCellVAlign(k.V);
        TRecordingBitmap rb;
        Paint(Grid, rb.Bmp.Canvas(), 1, 1, TRect{0, 0, 100, 40}, k.TextWidth, k.HA);
        const auto f = rb.Records(L"DrawFrameControl");
        ASSERT_EQ(f.size(), 1u) << int(k.H) << "/" << int(k.V);
        EXPECT_EQ(f[0].Rect.Left, k.TopLeft.X) << int(k.H) << "/" << int(k.HA);
        EXPECT_EQ(f[0].Rect.Top, k.TopLeft.Y) << int(k.H) << "/" << int(k.V);
        EXPECT_EQ(f[0].Rect.Width(), 15);
        EXPECT_NE(f[0].Flags & DFCS_CHECKED, 0u);
    }
}

TEST_F(VodGridDrawGraphics, LayoutAndMeasuringGiveEachKindItsRoom)
{
    auto* il = new TImageList(Form);
    il->SetWidth(12);
    il->SetHeight(10);
    Grid->SetGridImages(il);
    Grid->SetDefaultRowHeight(24);
    struct Case {
        const char* Name;
        std::function<void()> Add;
        TPoint Layout;      // GetCellGraphicLayout
        bool ShowText;
        TPoint Measured;    // MeasureCellGraphic at scale 1
    };
    const Case cases[] = {
        {"check", [&] { AddCheck(Grid, 1, 1, false); }, {15, 15}, true, {15, 15}},
        {"rating", [&] { Grid->AddRating(1, 1, 5, clYellow, clGray); }, {90, 16}, false, {90, 16}},
        {"pie", [&] { Grid->AddProgressPie(1, 1, clRed, 30); }, {20, 20}, true, {20, 20}},
        {"shape", [&] { Grid->AddShape(1, 1, csCircle, clRed, clBlack, haLeft, vaTop); }, {20, 20}, true, {20, 20}},
        {"button", [&] { Grid->AddButton(1, 1, 40, 18, L"Go", haLeft, vaTop); }, {40, 18}, true, {40, 18}},
        {"progress", [&] { Grid->AddProgress(1, 1, clBlue, clWhite); }, {0, 0}, false, {0, 0}},
        {"xpprogress", [&] { Grid->AddVodProgress(1, 1, 0, 100); }, {0, 0}, false, {0, 0}},
        {"rotated", [&] { Grid->AddRotated(1, 1, 90, L"r"); }, {0, 0}, false, {0, 0}},
        {"imagelist", [&] { Grid->AddImageIdx(1, 1, 0, haLeft, vaTop); }, {12, 10}, true, {12, 10}},
        {"images", [&] {
             Grid->AddMultiImage(1, 1, 0, haLeft, vaTop);
             Grid->GetCellGraphic(1, 1)->ImageList()->Add(0);
             Grid->GetCellGraphic(1, 1)->ImageList()->Add(1);
         }, {24, 10}, true, {24, 10}},
    };
    for (const Case& k : cases) {
        Grid->RemoveCellGraphic(1, 1);
        Grid->SetCellEx(1, 1, L"");
        k.Add();
        Integer gw = -1, gh = -1;
        bool show = false;
        TCellHAlign h;
        TCellVAlign v;
        ASSERT_NE(Grid->GetCellGraphicLayout(1, 1, gw, gh, show, h, v), nullptr) << k.Name;
        EXPECT_EQ((TPoint{gw, gh}), k.Layout) << k.Name;
        EXPECT_EQ(show, k.ShowText) << k.Name;
        EXPECT_EQ(Grid->GetCellGraphicSize(1, 1), k.Measured) << k.Name;
    }
    // No graphic: nothing.
    Integer gw = -1, gh = -1;
    bool show = false;
    TCellHAlign h;
    TCellVAlign v;
    EXPECT_EQ(Grid->GetCellGraphicLayout(2, 2, gw, gh, show, h, v), nullptr);
    EXPECT_EQ((TPoint{gw, gh}), (TPoint{0, 0}));
    EXPECT_TRUE(show);
    EXPECT_EQ(Grid->GetCellGraphicSize(2, 2), (TPoint{0, 0}));
}

TEST_F(VodGridDrawGraphics, FullCellRuleScalingAndTextDependentSizes)
{
    const TRect cr = Grid->CellRect(1, 1);
    // A rating keeps its size in a full cell; a shape takes the cell.
    Grid->AddRating(1, 1, 5, clYellow, clGray);
    Grid->GetCellGraphic(1, 1)->SetCellVAlign(vaFull);
    EXPECT_EQ(Grid->GetCellGraphicSize(1, 1), (TPoint{90, 16}));
    Grid->AddShape(1, 1, csCircle, clRed, clBlack, haFull, vaFull);
    EXPECT_EQ(Grid->GetCellGraphicSize(1, 1), (TPoint{cr.Width(), cr.Height()}));
    // 15 x 1.5 = 22.5 rounds to the even 22; 13 x 1.5 = 19.5 to 20.
    Grid->SetScale(1.5);
    AddCheck(Grid, 1, 1, false);
    EXPECT_EQ(Grid->GetCellGraphicSize(1, 1), (TPoint{22, 22}));
    Grid->ControlLook()->SetCheckSize(13);
    EXPECT_EQ(Grid->GetCellGraphicSize(1, 1), (TPoint{20, 20}));
    Grid->SetScale(1.0);
    // A centred button beside a text takes no width; under the text no
    // width either, but its height.
    Grid->SetCellEx(2, 1, L"text");
    Grid->AddButton(2, 1, 40, 18, L"Go", haCenter, vaTop);
    EXPECT_EQ(Grid->GetCellGraphicSize(2, 1), (TPoint{0, 0}));
    Grid->GetCellGraphic(2, 1)->SetCellVAlign(vaUnderText);
    EXPECT_EQ(Grid->GetCellGraphicSize(2, 1), (TPoint{0, 18}));
    // Without a text a full-width button measures its caption: (2 + 8).
    Grid->SetCellEx(3, 1, L"");
    Grid->AddButton(3, 1, 40, 18, L"Go", haFull, vaTop);
    EXPECT_EQ(Grid->GetCellGraphicSize(3, 1).X, 2 * 8 + 8);
    // Printing: progress bars take the cell, shapes the row less margins.
    Grid->AddVodProgress(4, 2, 0, 10);
    EXPECT_EQ(Grid->MeasurePrintCellGraphic(Grid->Canvas(), 4, 2, 100, 100),
              (TPoint{Grid->ColWidths(4), Grid->RowHeights(2)}));
}

TEST_F(VodGridDrawGraphics, RatingsDrawHalfStarsAndEmptyProgressRangesDoNotDivide)
{
    Grid->SetCellEx(1, 1, L"3.7");
    Grid->AddRating(1, 1, 5, clYellow, clGray);
    TRecordingBitmap rb(120, 30);
    Paint(Grid, rb.Bmp.Canvas(), 1, 1, TRect{0, 0, 120, 24});
    const auto polys = rb.Records(L"Polygon");
    // Five stars and one half star over the fourth.
    ASSERT_EQ(polys.size(), 6u);
    const COLORREF on = COLORREF(ColorToRGB(clYellow)), off = COLORREF(ColorToRGB(clGray));
    EXPECT_EQ(polys[0].BkColor, on);
    EXPECT_EQ(polys[2].BkColor, on);
    EXPECT_EQ(polys[3].BkColor, off);
    EXPECT_EQ(polys[4].BkColor, on);   // the half star
    EXPECT_EQ(polys[4].Points.size(), 6u);
    EXPECT_EQ(polys[5].BkColor, off);
    // 18 pixels a star.
    auto minX = [](const TGdiRecord& r) {
        Integer m = 1 << 30;
        for (const TPoint& p : r.Points) m = std::min(m, p.X);
        return m;
    };
    EXPECT_EQ(minX(polys[3]) - minX(polys[0]), 3 * 18);

    // A bar with an equal minimum and maximum: 0 % below, 100 % at it.
    Grid->AddVodProgress(2, 1, 50, 50);
    for (const wchar_t* v : {L"10", L"50", L"80", L""}) {
        Grid->SetCellEx(2, 1, v);
        TRecordingBitmap pb(120, 30);
        Paint(Grid, pb.Bmp.Canvas(), 2, 1, TRect{0, 0, 100, 24});
        String shown;
        for (const TGdiRecord& r : GdiRecords(pb.Bmp.Canvas()->Handle()))
            if (r.Kind == L"DrawText" || r.Kind == L"TextOut") shown += r.Text;
        EXPECT_NE(shown.find(String(v) == L"10" || String(v).empty() ? L"0%" : L"100%"), String::npos) << v << " " << shown;
    }
    EXPECT_EQ(TVodStringGrid::ClampPercent(-5), 0);
    EXPECT_EQ(TVodStringGrid::ClampPercent(150), 100);
    EXPECT_EQ(TVodStringGrid::ClampPercent(42.9), 42);
}

TEST_F(VodGridDrawGraphics, BitmapStylesDrawTheGridsOwnGlyphsAndCommentsMarkTheCorner)
{
    // csWinXP: "VURCHK05" (checked, enabled) has its green tick; csQel
    // "VURCHK01" a navy box. Pixels are read from the painted bitmap.
    TBitmap b;
    b.SetSize(40, 40);
    TCanvas* C = b.Canvas();
    auto paintCheck = [&](TControlLook::TControlStyle s, bool checked) {
        C->Brush()->SetColor(clWhite);
        C->FillRect(TRect{0, 0, 40, 40});
        Grid->DrawCheckGlyph(C, TRect{0, 0, 20, 20}, checked, cbUnchecked, false, s, false, true);
    };
    auto count = [&](TColor c) {
        Integer n = 0;
        for (Integer y = 0; y < 20; ++y)
            for (Integer x = 0; x < 20; ++x)
                if (C->Pixels(x, y) == c) ++n;
        return n;
    };
    paintCheck(TControlLook::csWinXP, true);
    EXPECT_GT(count(TColor(0x3C8C1C)), 5);   // the tick, RGB(28, 140, 60)
    EXPECT_EQ(C->Pixels(0, 15), clWhite);    // the key colour is transparent
    paintCheck(TControlLook::csWinXP, false);
    EXPECT_EQ(count(TColor(0x3C8C1C)), 0);
    paintCheck(TControlLook::csQel, true);
    EXPECT_GT(count(TColor(0x800000)), 20);   // navy border and tick
    // Radio groups in the bitmap styles: the selected item's dot.
    C->Brush()->SetColor(clWhite);
    C->FillRect(TRect{0, 0, 40, 40});
    TStringList items;
    items.Add(L"");
    items.Add(L"");
    Grid->DrawRadioGroup(C, TRect{0, 0, 40, 40}, false, 1.0, TControlLook::csWinXP, 1, 1, false, &items, false,
                         false, 1, 2);
    // Vertical: item 2 (selected) 16 pixels below item 1.
    EXPECT_NE(C->Pixels(2 + 7, 2 + 16 + 7), clWhite);
    EXPECT_EQ(C->Pixels(2 + 7, 2 + 16 + 7), TColor(0x3C8C1C));
    EXPECT_NE(C->Pixels(2 + 7, 2 + 7), TColor(0x3C8C1C));

    // A comment: the red triangle in the top-right corner of the cell.
    Grid->AddComment(1, 1, L"note");
    TRecordingBitmap rb(120, 30);
    Paint(Grid, rb.Bmp.Canvas(), 1, 1, TRect{0, 0, 100, 24});
    const auto polys = rb.Records(L"Polygon");
    ASSERT_EQ(polys.size(), 1u);
    // Working rectangle (1, 1, 99, 23): corners at Right + 2 - 8 ...
    EXPECT_EQ(polys[0].Points, (std::vector<TPoint>{{93, 0}, {98, 0}, {98, 5}}));
    EXPECT_EQ(polys[0].BkColor, COLORREF(ColorToRGB(clRed)));
}
