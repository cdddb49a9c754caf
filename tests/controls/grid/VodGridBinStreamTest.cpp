// The binary cell stream: the writer's bytes against a hand encoding of the
// format's rules, round trips of texts, looks and graphics, placement of a
// block, and a reader that refuses every malformed stream before it changes
// the grid.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "controls/grid/VodObj.h"
#include "platform/base/SysUtils.h"
#include "tests/controls/grid/GridFileSupport.h"
#include "tests/controls/grid/StringGridFixture.h"

using namespace gridfiles;

namespace {

class VodGridBinStream : public TStringGridFixture<TVodStringGrid> {
protected:
    TBytes Save(TGridRect R, bool hidden = false)
    {
        TMemoryStream m;
        Grid->SaveRectToBinStream(R, &m, hidden);
        return StreamBytes(m);
    }
    void LoadBytes(TVodStringGrid* G, const std::vector<uint8_t>& b, TPoint at = {0, 0})
    {
        TBytesStream s(TBytes(b.begin(), b.end()));
        G->LoadAtPointFromBinStream(at, &s);
    }
    std::unique_ptr<TVodStringGrid> NewGrid(Integer cols = 5, Integer rows = 5)
    {
        auto g = std::unique_ptr<TVodStringGrid>(CreateGrid<TVodStringGrid>(nullptr));
        g->SetColCount(cols);
        g->SetRowCount(rows);
        return g;
    }
};

TEST_F(VodGridBinStream, WriterBytesFollowTheFormat)
{
    // Cell (1,1) "ab" without a block; cell (2,1) empty with a block: a red
    // brush (a named colour), a font colour without a name, 9 points at 96
    // dpi, bold, and a comment travelling as its graphic.
    Grid->SetGridCell(1, 1, L"ab");
    TCellProperties* p = Grid->GetCellProperties(2, 1);
    p->FBrushColor = clRed;
    p->FFontColor = TColor(0x123456);
    p->FFontHeight = -12;
    p->FFontName = L"Arial";
    p->FFontStyle = TFontStyles{fsBold};
    Grid->AddColorComment(2, 1, L"n\u00E9", clYellow);
    const TBytes got = Save(TGridRect{1, 1, 2, 1});

    TBytesBuilder e;
    e.Head("TGridPropIO").Int("ColCount", 2).Int("RowCount", 1);
    e.Text("ColWidths", std::to_string(Grid->ColWidths(1)) + "," + std::to_string(Grid->ColWidths(2)));
    e.Text("RowHeights", std::to_string(Grid->RowHeights(1)));
    e.Bool("FullGrid", false).Int("ID", Grid->StreamID()).End();
    e.Head("TGridCellIO").Int("Col", 1).Int("Row", 1).Text("Cell", "ab").Bool("HasProp", false).End();
    e.Head("TGridCellIO").Int("Col", 2).Int("Row", 1).Bool("HasProp", true).End();
    e.Head("TGridCellPropIO");
    e.Bool("CellProperties.IsBaseCell", p->FIsBaseCell);
    e.Int("CellProperties.CellSpanX", p->FCellSpanX).Int("CellProperties.CellSpanY", p->FCellSpanY);
    e.Ident("CellProperties.Alignment", "taLeftJustify");
    e.Ident("CellProperties.BorderColor", "clBlack").Int("CellProperties.BorderWidth", 0);
    e.Ident("CellProperties.BrushColor", "clRed");
    e.Ident("CellProperties.BrushColorTo", "clNone");
    e.Ident("CellProperties.BrushStyle", "bsSolid");
    e.Int("CellProperties.CellObject", 0);
    e.Int("CellProperties.FontColor", 0x123456);
    e.Text("CellProperties.FontName", "Arial");
    e.Int("CellProperties.FontSize", 9);
    e.Set("CellProperties.FontStyle", {"fsBold"});
    e.Ident("CellProperties.Editor", "edNormal");
    e.Ident("CellProperties.GradientDirection", "GradientVertical");
    e.Bool("CellProperties.ReadOnly", false).Bool("CellProperties.WordWrap", p->FWordWrap);
    e.Ident("CellProperties.VAlignment", "vtaTop").Int("CellProperties.NodeLevel", 0);
    e.Bool("HasGraphic", true).End();
    e.Head("TGridGraphicIO");
    e.Ident("CellGraphic.CellType", "ctComment").Ident("CellGraphic.CellVAlign", "vaTop");
    e.Ident("CellGraphic.CellHAlign", "haLeft").Int("CellGraphic.CellIndex", 0x00FFFF);
    e.Bool("CellGraphic.CellTransparent", false).Bool("CellGraphic.CellCreated", false);
    e.Bool("CellGraphic.CellBoolean", false).Ident("CellGraphic.CellCheckBoxState", "cbUnchecked");
    e.Int("CellGraphic.CellAngle", 0).Int("CellGraphic.CellErrFrom", 0).Int("CellGraphic.CellErrLen", 0);
    e.Utf8("CellGraphic.CellText", "n\xC3\xA9").End();
    EXPECT_EQ(got, TBytes(e.B.begin(), e.B.end()));
}

TEST_F(VodGridBinStream, RoundTripKeepsTextsLooksAndGraphics)
{
    Grid->SetGridCell(1, 1, L"multi\r\nline \u20AC");
    TCellProperties* p = Grid->GetCellProperties(1, 1);
    p->FBrushColor = TColor(0x00C0FF);
    p->FAlignment = taRightJustify;
    p->FFontHeight = -16;   // 12 points at 96 dpi
    Grid->MergeCells(2, 2, 2, 2);
    Grid->SetGridCell(2, 2, L"merged");
    TBitmap* bmp = Grid->CreateBitmap(1, 3, false, haLeft, vaTop);
    bmp->SetSize(3, 2);
    bmp->Canvas()->SetPixels(1, 1, clRed);
    Grid->CreateIcon(2, 3, haRight, vaCenter);
    Grid->CreatePicture(3, 3, true, Stretch, 2, haCenter, vaFull)->Assign(bmp);
    Grid->CreateFilePicture(4, 3, false, noStretch, 0, haLeft, vaTop)->SetFilename(L"/nowhere/pic.png");
    Grid->AddColorComment(3, 1, L"a note", clBlue);
    Grid->CreateBitmap(3, 1, false, haLeft, vaTop)->SetSize(2, 2);   // the comment wins (below)
    Grid->AddComment(3, 1, L"a note");

    TMemoryStream m;
    Grid->SaveRectToBinStream(TGridRect{0, 0, 4, 4}, &m, false);
    auto g = NewGrid();
    m.SetPosition(0);
    g->LoadFromBinStream(&m);

    EXPECT_EQ(g->GetGridCell(1, 1), L"multi\r\nline \u20AC");
    ASSERT_TRUE(g->CellPropertiesOf(1, 1));
    EXPECT_EQ(g->CellPropertiesOf(1, 1)->FBrushColor, TColor(0x00C0FF));
    EXPECT_EQ(g->CellPropertiesOf(1, 1)->FAlignment, taRightJustify);
    EXPECT_EQ(g->CellPropertiesOf(1, 1)->FFontHeight, -16);
    EXPECT_TRUE(g->IsMergedCell(3, 3));
    EXPECT_EQ(g->CellSpan(2, 2).X, 1);
    // Graphics the grid created travel too, with their images.
    ASSERT_EQ(g->GetCellType(1, 3), ctBitmap);
    ASSERT_TRUE(g->GetBitmap(1, 3));
    EXPECT_EQ(g->GetBitmap(1, 3)->Width(), 3);
    EXPECT_EQ(g->GetBitmap(1, 3)->Canvas()->Pixels(1, 1), clRed);
    EXPECT_TRUE(g->GetCellGraphic(1, 3)->CellCreated());
    EXPECT_EQ(g->GetCellType(2, 3), ctIcon);
    ASSERT_TRUE(g->GetPicture(3, 3));
    EXPECT_EQ(g->GetPicture(3, 3)->Width(), 3);
    EXPECT_EQ(g->GetCellGraphic(3, 3)->CellVAlign(), vaFull);
    ASSERT_TRUE(g->GetFilePicture(4, 3));
    EXPECT_EQ(g->GetFilePicture(4, 3)->Filename(), L"/nowhere/pic.png");
    // A comment travels alone: the cell comes back as a comment graphic.
    EXPECT_EQ(g->GetCellType(3, 1), ctNone);
    EXPECT_EQ(g->GetComment(3, 1), L"a note");
}

TEST_F(VodGridBinStream, RadioCaptionsAndImageIndexesTravelAsLists)
{
    TCellGraphic* r = Grid->CreateCellGraphic(1, 1);
    r->SetCellType(ctRadio);
    auto* captions = new TStringList;
    captions->Add(L"one");
    captions->Add(L"two");
    r->SetCellBitmap(captions);
    r->SetCellCreated(true);
    TCellGraphic* im = Grid->CreateCellGraphic(2, 1);
    im->SetCellType(ctImages);
    auto* idx = new TIntList(2, 1);
    idx->Add(3);
    idx->Add(-1);
    im->SetCellBitmap(idx);

    TMemoryStream m;
    Grid->SaveToBinStream(&m);
    auto g = NewGrid();
    m.SetPosition(0);
    g->LoadFromBinStream(&m);
    auto* sl = dynamic_cast<TStrings*>(g->GetCellGraphic(1, 1)->CellBitmap());
    ASSERT_TRUE(sl);
    EXPECT_EQ(sl->Text(), L"one\r\ntwo\r\n");
    TIntList* il = g->GetCellGraphic(2, 1)->ImageList();
    ASSERT_TRUE(il);
    ASSERT_EQ(il->Count(), 2);
    EXPECT_EQ(il->GetInteger(1), -1);
    EXPECT_EQ(il->Col(), 2);
}

TEST_F(VodGridBinStream, BlockLandsAtThePointAndFullGridAtItsOwnPlace)
{
    Grid->SetGridCell(2, 3, L"first");
    Grid->SetGridCell(4, 4, L"last");
    const TBytes block = Save(TGridRect{2, 3, 4, 4});
    auto g = NewGrid(20, 20);
    LoadBytes(g.get(), std::vector<uint8_t>(block.begin(), block.end()), TPoint{10, 10});
    EXPECT_EQ(g->GetGridCell(10, 10), L"first");
    EXPECT_EQ(g->GetGridCell(12, 11), L"last");

    // The whole grid: the target is cleared and sized, widths come along.
    Grid->SetColWidths(3, 77);
    TMemoryStream m;
    Grid->SaveRectToBinStream(TGridRect{0, 0, 4, 4}, &m, false);
    g->SetGridCell(15, 15, L"gone");
    m.SetPosition(0);
    g->LoadFromBinStream(&m);
    EXPECT_EQ(g->ColCount(), 5);
    EXPECT_EQ(g->RowCount(), 5);
    EXPECT_EQ(g->ColWidths(3), 77);
    EXPECT_EQ(g->GetGridCell(2, 3), L"first");
}

TEST_F(VodGridBinStream, NumbersTravelInTheInvariantForm)
{
    const TFormatSettings saved = FormatSettings;
    FormatSettings.DecimalSeparator = L',';
    FormatSettings.ThousandSeparator = L'.';
    Grid->SetGridCell(1, 1, L"1.234,5");
    Grid->SetGridCell(2, 1, L"v1.2,x");
    const TBytes b = Save(TGridRect{1, 1, 2, 1});
    const std::string s(b.begin(), b.end());
    EXPECT_NE(s.find("1234.5"), std::string::npos);
    auto g = NewGrid();
    LoadBytes(g.get(), std::vector<uint8_t>(b.begin(), b.end()), TPoint{1, 1});
    EXPECT_EQ(g->GetGridCell(1, 1), L"1234,5");
    EXPECT_EQ(g->GetGridCell(2, 1), L"v1.2,x");
    FormatSettings = saved;
}

TEST_F(VodGridBinStream, CoordinatesPast65535DoNotWrap)
{
    TBytesBuilder e;
    e.Head("TGridPropIO").Int("ColCount", 1).Int("RowCount", 2).Bool("FullGrid", false).End();
    e.Head("TGridCellIO").Int("Col", 0).Int("Row", 70000).Text("Cell", "a").Bool("HasProp", false).End();
    e.Head("TGridCellIO").Int("Col", 0).Int("Row", 70001).Text("Cell", "b").Bool("HasProp", false).End();
    auto g = NewGrid(2, 5);
    LoadBytes(g.get(), e.B, TPoint{1, 2});
    EXPECT_EQ(g->GetGridCell(1, 2), L"a");
    EXPECT_EQ(g->GetGridCell(1, 3), L"b");
    EXPECT_EQ(g->GetGridCell(1, 4), L"");
}

TEST_F(VodGridBinStream, CellObjectsRelinkOnlyThroughTokensOfThisProcess)
{
    TObject live;
    Grid->GetCellProperties(1, 1)->FObject = reinterpret_cast<uintptr_t>(&live);
    const TBytes b = Save(TGridRect{1, 1, 1, 1});
    const std::string s(b.begin(), b.end());
    auto g = NewGrid();
    LoadBytes(g.get(), std::vector<uint8_t>(b.begin(), b.end()), TPoint{1, 1});
    EXPECT_EQ(g->CellPropertiesOf(1, 1)->FObject, reinterpret_cast<uintptr_t>(&live));

    // A number this process never issued names nothing.
    TBytesBuilder e;
    e.Head("TGridPropIO").Int("ColCount", 1).Int("RowCount", 1).End();
    e.Head("TGridCellIO").Int("Col", 0).Int("Row", 0).Bool("HasProp", true).End();
    e.Head("TGridCellPropIO").Int("CellProperties.CellObject", 0x1234).Bool("HasGraphic", false).End();
    LoadBytes(g.get(), e.B, TPoint{2, 2});
    ASSERT_TRUE(g->CellPropertiesOf(2, 2));
    EXPECT_EQ(g->CellPropertiesOf(2, 2)->FObject, 0u);
}

TEST_F(VodGridBinStream, OnlyAGridRecordAndATrailingByte)
{
    TBytesBuilder e;
    e.Head("TGridPropIO").Int("ColCount", 2).Int("RowCount", 3).Text("ColWidths", "10,20");
    e.Text("RowHeights", "5,6,7").Bool("FullGrid", true).End();
    Grid->SetGridCell(1, 1, L"x");
    LoadBytes(Grid, e.B);
    EXPECT_EQ(Grid->ColCount(), 2);
    EXPECT_EQ(Grid->RowCount(), 3);
    EXPECT_EQ(Grid->ColWidths(1), 20);
    EXPECT_EQ(Grid->RowHeights(2), 7);
    EXPECT_EQ(Grid->GetGridCell(1, 1), L"");

    TBytes b = Save(TGridRect{0, 0, 1, 1});
    b.push_back(0x42);
    Grid->SetGridCell(0, 0, L"kept");
    const TBytes again = Save(TGridRect{0, 0, 1, 1});
    EXPECT_NO_THROW(LoadBytes(Grid, std::vector<uint8_t>(b.begin(), b.end())));
}

TEST_F(VodGridBinStream, SaveProgressCountsWithinTheBlock)
{
    std::vector<SmallInt> seen;
    Grid->SetRowCount(12);
    Grid->OnFileProgress = [&](TObject*, SmallInt p) { seen.push_back(p); };
    Save(TGridRect{0, 10, 1, 11});
    EXPECT_EQ(seen, (std::vector<SmallInt>{0, 100}));
}

// Every malformed stream is refused and the grid stays as it was.
TEST_F(VodGridBinStream, MalformedStreamsLeaveTheGridUnchanged)
{
    Grid->SetGridCell(1, 1, L"before");
    Grid->GetCellProperties(2, 1)->FBrushColor = clLime;
    Grid->CreateBitmap(2, 1, false, haLeft, vaTop)->SetSize(1, 1);
    const TBytes valid = Save(TGridRect{1, 1, 2, 1});
    const TBytes before = Snapshot(Grid);
    auto refused = [&](const std::vector<uint8_t>& b) {
        bool threw = false;
        try {
            LoadBytes(Grid, b, TPoint{1, 1});
        } catch (const Exception&) {
            threw = true;
        }
        return threw;
    };
    // Every truncation that cuts a record: only cuts at a record boundary
    // (or one byte past it) read as a shorter stream.
    std::vector<size_t> boundaries;
    for (size_t i = 0; i + 4 <= valid.size(); ++i)
        if (std::equal(valid.begin() + long(i), valid.begin() + long(i) + 4, "TPF0")) boundaries.push_back(i);
    boundaries.push_back(valid.size());
    for (size_t n = 0; n < valid.size(); ++n) {
        const bool atBoundary = std::any_of(boundaries.begin() + 1, boundaries.end(),
                                            [&](size_t b) { return n == b || n == b + 1; });
        if (atBoundary) continue;
        std::vector<uint8_t> cut(valid.begin(), valid.begin() + long(n));
        EXPECT_TRUE(refused(cut)) << "cut at " << n;
        ASSERT_EQ(Snapshot(Grid), before) << "cut at " << n;
    }

    std::vector<std::vector<uint8_t>> bad;
    {
        std::vector<uint8_t> b(valid.begin(), valid.end());
        b[0] = 'X';   // signature
        bad.push_back(b);
    }
    {
        TBytesBuilder e;
        e.Head("TGridPropIO").Int("ColCount", 1).Int("RowCount", 1).Int("Bogus", 1).End();
        bad.push_back(e.B);
    }
    {
        TBytesBuilder e;   // huge counts
        e.Head("TGridPropIO").Int("ColCount", 100000).Int("RowCount", 100000).Bool("FullGrid", true).End();
        bad.push_back(e.B);
    }
    {
        TBytesBuilder e;   // negative counts
        e.Head("TGridPropIO").Int("ColCount", -1).Int("RowCount", 3).End();
        bad.push_back(e.B);
    }
    {
        TBytesBuilder e;   // a width list shorter than the block
        e.Head("TGridPropIO").Int("ColCount", 3).Int("RowCount", 1).Text("ColWidths", "1,2");
        e.Text("RowHeights", "4").Bool("FullGrid", true).End();
        bad.push_back(e.B);
    }
    {
        TBytesBuilder e;   // a text that claims more bytes than the stream has
        e.Head("TGridPropIO").Int("ColCount", 1).Int("RowCount", 1).End();
        e.Head("TGridCellIO").Int("Col", 0).Int("Row", 0).Short("Cell").Raw({12}).Le32(0xFFFFFFF0u).Raw("ab");
        bad.push_back(e.B);
    }
    {
        TBytesBuilder e;   // a child component
        e.Head("TGridPropIO").Int("ColCount", 1).Int("RowCount", 1).Raw({0}).Short("TGridCellIO").Short("");
        e.End().Raw({0});
        bad.push_back(e.B);
    }
    {
        TBytesBuilder e;   // an image index that is not a number
        e.Head("TGridPropIO").Int("ColCount", 1).Int("RowCount", 1).End();
        e.Head("TGridCellIO").Int("Col", 0).Int("Row", 0).Bool("HasProp", true).End();
        e.Head("TGridCellPropIO").Bool("HasGraphic", true).End();
        e.Head("TGridGraphicIO").Ident("CellGraphic.CellType", "ctImages").End();
        e.Head("TGridSLIO").Short("Strings.Strings").Raw({1, 6}).Short("x").Raw({0}).End();
        bad.push_back(e.B);
    }
    {
        TBytesBuilder e;   // an enumeration name that does not exist
        e.Head("TGridPropIO").Int("ColCount", 1).Int("RowCount", 1).End();
        e.Head("TGridCellIO").Int("Col", 0).Int("Row", 0).Bool("HasProp", true).End();
        e.Head("TGridCellPropIO").Ident("CellProperties.Alignment", "taNowhere").End();
        bad.push_back(e.B);
    }
    {
        TBytesBuilder e;   // a bitmap whose data is damaged
        e.Head("TGridPropIO").Int("ColCount", 1).Int("RowCount", 1).End();
        e.Head("TGridCellIO").Int("Col", 0).Int("Row", 0).Bool("HasProp", true).End();
        e.Head("TGridCellPropIO").Bool("HasGraphic", true).End();
        e.Head("TGridGraphicIO").Ident("CellGraphic.CellType", "ctBitmap").End();
        e.Head("TGridBMPIO").Short("Bitmap.Data").Raw({10}).Le32(8).Le32(4).Raw("BMxx").End();
        bad.push_back(e.B);
    }
    for (size_t i = 0; i < bad.size(); ++i) {
        EXPECT_TRUE(refused(bad[i])) << "case " << i;
        ASSERT_EQ(Snapshot(Grid), before) << "case " << i;
    }
    // The messages a caller sees.
    try {
        LoadBytes(Grid, bad[0]);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"Invalid stream format");
    }
    try {
        LoadBytes(Grid, bad[1]);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"Property Bogus does not exist");
    }
}

TEST_F(VodGridBinStream, FilesAreReplacedSafely)
{
    TScratchDir dir;
    const String f = dir.File("cells.bin");
    Grid->SetGridCell(1, 1, L"one");
    Grid->SaveToBinFile(f);
    const std::string first = ReadFile(f);
    ASSERT_FALSE(first.empty());
    auto g = NewGrid();
    g->LoadFromBinFile(f);
    EXPECT_EQ(g->GetGridCell(1, 1), L"one");

    // A read-only folder and a target that is a folder both raise; the old
    // file stays as it was.
    Grid->SetGridCell(1, 1, L"two");
    chmod(dir.Path.c_str(), 0500);
    if (geteuid() != 0) {
        EXPECT_THROW(Grid->SaveToBinFile(f), Exception);
        EXPECT_EQ(ReadFile(f), first);
    }
    chmod(dir.Path.c_str(), 0700);
    std::filesystem::create_directory(dir.Path / "sub");
    EXPECT_THROW(Grid->SaveToBinFile(dir.File("sub")), Exception);
    EXPECT_THROW(g->LoadFromBinFile(dir.File("missing.bin")), Exception);
}

TEST_F(VodGridBinStream, AssignCopiesCellsThroughTheStream)
{
    Grid->SetGridCell(1, 1, L"copied");
    Grid->CreateBitmap(2, 2, false, haLeft, vaTop)->SetSize(4, 4);
    auto g = NewGrid(2, 2);
    g->Assign(Grid);
    EXPECT_EQ(g->GetGridCell(1, 1), L"copied");
    EXPECT_EQ(g->GetCellType(2, 2), ctBitmap);
}

}  // namespace
