// Cells on paper: every graphic kind printed into a real PDF file, found
// again on the rendered page by its colour inside its own cell; rich text
// through the grid's rich edit; the custom cell painter's rectangle.
#include <cmath>
#include <functional>
#include <map>
#include <vector>

#include "controls/grid/CellGraphics.h"
#include "controls/grid/VodObj.h"
#include "platform/gfx/Codecs.h"
#include "platform/gfx/ImageList.h"
#include "tests/controls/grid/GridPrintSupport.h"

using namespace gridprint;

namespace {

// An interfaced cell object that paints a swatch of its colour.
class TSwatch : public TInterfacedPersistent, public IGridCellDraw {
public:
    explicit TSwatch(TColor C) : Colour(C) {}
    Integer CellDrawWidth() override { return 30; }
    Integer CellDrawHeight() override { return 16; }
    bool CellDrawBefore() override { return false; }
    void CellDraw(TCanvas* Canvas, TRect R, TObject*, Integer, Integer, bool) override
    {
        Canvas->Brush()->SetColor(Colour);
        Canvas->FillRect(R);
    }
    TColor Colour;
};

// A solid image of w x h in 0xAARRGGBB.
TImageData Solid(int W, int H, uint32_t Argb)
{
    TImageData d(W, H, Argb);
    d.HasAlpha = true;
    return d;
}

bool Near(COLORREF P, COLORREF C, int Tol = 40)
{
    return std::abs(int(GetRValue(P)) - int(GetRValue(C))) <= Tol &&
           std::abs(int(GetGValue(P)) - int(GetGValue(C))) <= Tol &&
           std::abs(int(GetBValue(P)) - int(GetBValue(C))) <= Tol;
}

// Pixels of a rendered page inside a box, by a test.
int Count(cairo_surface_t* S, const TRect& Box, const std::function<bool(COLORREF)>& Test)
{
    int n = 0;
    const int w = cairo_image_surface_get_width(S), h = cairo_image_surface_get_height(S);
    for (int y = std::max(0, Box.Top); y < std::min(h, Box.Bottom); ++y)
        for (int x = std::max(0, Box.Left); x < std::min(w, Box.Right); ++x)
            if (Test(SurfacePixel(S, x, y))) ++n;
    return n;
}

constexpr int kDpi = 150;   // pages rendered for the checks
constexpr double kDevice = 600.0;   // the printer's pixels per inch

}  // namespace

using GridPrintCells = TGridPrintTest;

TEST_F(GridPrintCells, EveryGraphicKindPrintsInItsCell)
{
    SetFixedMetricsFonts(false);   // the page's texts are read back
    auto* il = new TImageList(Form);
    il->SetWidth(16);
    il->SetHeight(12);
    il->AddImage(Solid(16, 12, 0xFF0000FF));   // 0 blue
    il->AddImage(Solid(16, 12, 0xFF00C800));   // 1 green
    il->AddImage(Solid(16, 12, 0xFFFFFF00));   // 2 yellow
    il->AddImage(Solid(16, 12, 0xFF00FFFF));   // 3 cyan
    Grid->SetGridImages(il);
    TPrintSettings* ps = Grid->PrintSettings();
    ps->SetPrintGraphics(true);
    ps->SetBorders(pbNoborder);
    Grid->SetColCount(4);
    Grid->SetRowCount(14);
    Grid->SetDefaultRowHeight(28);
    for (int r = 0; r < 14; ++r) Grid->SetCells(2, r, L"row" + IntToStr(r));

    // 1 to 3: images of the grid's list.
    Grid->AddImageIdx(1, 1, 0, haLeft, vaTop);
    Grid->SetCells(1, 2, L"1");
    Grid->AddDataImage(1, 2, 0, haLeft, vaTop);
    Grid->AddMultiImage(1, 3, 1, haLeft, vaTop);
    Grid->GetCellGraphic(1, 3)->ImageList()->Add(2);
    Grid->GetCellGraphic(1, 3)->ImageList()->Add(3);
    // 4: an icon, opaque magenta on the left, transparent on the right.
    {
        TImageData d(16, 16, 0x00000000);
        d.HasAlpha = true;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 8; ++x) d.Pixel(x, y) = 0xFFFF00FF;
        TMemoryStream ms;
        const TBytes ico = EncodeIco({d});
        ms.WriteBuffer(ico.data(), Integer(ico.size()));
        ms.SetPosition(0);
        Grid->CreateIcon(1, 4, haLeft, vaTop)->LoadFromStream(&ms);
    }
    // 5: a picture; 6: a picture file; 7: an interfaced object.
    {
        TBitmap b;
        b.FromImage(Solid(30, 20, 0xFFFF8000));
        Grid->CreatePicture(1, 5, false, noStretch, 0, haLeft, vaTop)->SetGraphic(&b);
        TBitmap f;
        f.FromImage(Solid(24, 18, 0xFF800080));
        const String file = UTF8ToString(Dir.File("purple.bmp"));
        f.SaveToFile(file);
        Grid->CreateFilePicture(1, 6, false, noStretch, 0, haLeft, vaTop)->SetFilename(file);
        Grid->CreateFilePicture(1, 13, false, noStretch, 0, haLeft, vaTop)
            ->SetFilename(UTF8ToString(Dir.File("missing.bmp")));
    }
    TSwatch swatch(TColor(0x006400));
    Grid->AddInterfacedCell(1, 7, &swatch);
    // 8: a shape; 9: a button; 10 stays empty above 11: a radio group.
    Grid->AddShape(1, 8, csCircle, clRed, clRed, haLeft, vaTop);
    Grid->AddButton(1, 9, 60, 20, L"Push", haLeft, vaTop);
    TStrings* radios = Grid->CreateRadio(1, 11, 0, 1);
    radios->Add(L"Alpha");
    radios->Add(L"Beta");
    // 12: rich text in brown.
    Grid->SetCells(1, 12, L"{\\rtf1\\ansi{\\colortbl;\\red150\\green75\\blue0;}\\cf1 Richly brown words}");

    // A cell background from its colour at the top to ColorTo at the bottom.
    Grid->SetColors(3, 6, TColor(0x00FFFF));
    Grid->SetColorsTo(3, 6, TColor(0xFF0000));

    // The custom painter fills the text rectangle of column 3 in navy and
    // tells where each row of column 2 lies on the page.
    std::map<int, TRect> rows;
    Grid->OnCustomCellDraw = [&](TObject*, TCanvas* C, Integer ACol, Integer ARow, TGridDrawState, TRect R,
                                 bool Printing) {
        EXPECT_TRUE(Printing);
        EXPECT_EQ(GetMapMode(C->Handle()), MM_TEXT);
        if (ACol == 2) rows[ARow] = R;
        if (ACol == 3 && ARow == 1) {
            C->Brush()->SetColor(TColor(0x800000));
            C->FillRect(R);
        }
    };
    Grid->Print();
    Grid->OnCustomCellDraw = nullptr;
    ASSERT_EQ(PdfPages(Pdf), 1);
    ASSERT_EQ(rows.size(), 14u);

    cairo_surface_t* page = RenderPdfPage(Pdf, 1, kDpi, Dir.File("cells"));
    ASSERT_TRUE(page);
    const auto& ind = Grid->PrintColIndents();
    const double k = kDpi / kDevice;
    auto px = [&](double tenths) { return int(std::lround(tenths / 254.0 * kDpi)); };
    // Column c of row r on the rendered page.
    auto box = [&](int c, int r) {
        const TRect& d = rows[r];
        return TRect{px(ind[c]), int(std::lround(d.Top * k)), px(ind[c + 1]), int(std::lround(d.Bottom * k))};
    };
    struct Case {
        const char* Name;
        int Row;
        COLORREF Colour;
    } cases[] = {
        {"image list", 1, RGB(0, 0, 255)},       {"data image", 2, RGB(0, 200, 0)},
        {"images, first", 3, RGB(255, 255, 0)}, {"images, second", 3, RGB(0, 255, 255)},
        {"icon", 4, RGB(255, 0, 255)},          {"picture", 5, RGB(255, 128, 0)},
        {"file picture", 6, RGB(128, 0, 128)},  {"interface", 7, RGB(0, 100, 0)},
        {"shape", 8, RGB(255, 0, 0)},           {"rich text", 12, RGB(150, 75, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        // Found in its own cell, in no other row.
        EXPECT_GT(Count(page, box(1, c.Row), [&](COLORREF p) { return Near(p, c.Colour, 30); }), 10);
        const int other = c.Row == 1 ? 2 : 1;
        EXPECT_EQ(Count(page, box(1, other), [&](COLORREF p) { return Near(p, c.Colour, 30); }), 0);
    }
    // The icon's transparent half stays paper white: it prints through its
    // alpha, not as a mask and a colour plane that is black where the icon
    // is transparent.
    EXPECT_EQ(Count(page, box(1, 4), [](COLORREF p) { return Near(p, RGB(0, 0, 0), 100); }), 0);
    // The button is a face with its caption; the radio group draws inside
    // its own row, not above it into the empty one.
    EXPECT_GT(Count(page, box(1, 9), [](COLORREF p) { return p != RGB(255, 255, 255); }), 50);
    EXPECT_GT(Count(page, box(1, 11), [](COLORREF p) { return GetRValue(p) < 128; }), 20);
    EXPECT_EQ(Count(page, box(1, 10), [](COLORREF p) { return p != RGB(255, 255, 255); }), 0);
    // The custom painter's rectangle is the text rectangle of its cell in
    // printer pixels, and what it paints lands there.
    const TRect& d1 = rows[1];
    EXPECT_NEAR(d1.Width(), (ind[3] - ind[2]) / 254.0 * kDevice, 2);
    EXPECT_GT(d1.Height(), 0);
    const TRect navy = box(3, 1);
    EXPECT_TRUE(Near(SurfacePixel(page, (navy.Left + navy.Right) / 2, (navy.Top + navy.Bottom) / 2), RGB(0, 0, 128)));
    const TRect grad = box(3, 6);
    const int gx = (grad.Left + grad.Right) / 2;
    EXPECT_TRUE(Near(SurfacePixel(page, gx, grad.Top + 1), RGB(255, 255, 0), 60));
    EXPECT_TRUE(Near(SurfacePixel(page, gx, grad.Bottom - 2), RGB(0, 0, 255), 60));
    cairo_surface_destroy(page);

    const std::string text = PdfText(Pdf, 1);
    for (const char* w : {"Push", "Alpha", "Beta", "Richly brown"})
        EXPECT_NE(text.find(w), std::string::npos) << w << "\n" << text;
    EXPECT_EQ(text.find("rtf1"), std::string::npos);
}
