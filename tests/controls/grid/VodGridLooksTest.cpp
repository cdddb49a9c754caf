// The grid's node, sizing, markup-export and print settings objects: values
// at creation, writers and what each Assign copies; the look presets, the
// look names and the link display writers.
#include <gtest/gtest.h>

#include "controls/grid/VodGrid.h"
#include "platform/base/SysUtils.h"

namespace {

// A grid whose node state and column stretching a test controls and records.
class TProbeGrid : public TVodStringGrid {
public:
    explicit TProbeGrid(TComponent* o) : TVodStringGrid(o) {}
    bool Nodes = false;
    int Invalidations = 0;
    std::vector<std::pair<Integer, Integer>> Stretches;
    bool HasNodes() override { return Nodes; }
    void Invalidate() override
    {
        ++Invalidations;
        TVodStringGrid::Invalidate();
    }
    void ApplyColumnStretch(Integer Index, Integer Width) override { Stretches.push_back({Index, Width}); }
};

}  // namespace

TEST(CellNodeTest, DefaultsRepaintingWritersAndTheNodeColumnGuard)
{
    TProbeGrid g(nullptr);
    TCellNode n(&g);
    EXPECT_EQ(n.Color(), TColor(0xC0C0C0));
    EXPECT_FALSE(n.ExpandOne());
    EXPECT_EQ(n.NodeType(), cnXP);
    EXPECT_EQ(n.NodeColor(), TColor(0));
    EXPECT_EQ(n.NodeColumn(), 0);
    EXPECT_EQ(n.NodeIndent(), 12);
    EXPECT_TRUE(n.ExpandGlyph()->Empty());
    EXPECT_TRUE(n.ContractGlyph()->Empty());
    EXPECT_TRUE(n.ShowTree());
    EXPECT_TRUE(n.ShowTreeFull());
    EXPECT_EQ(n.TreeColor(), TColor(0x808080));
    EXPECT_EQ(n.GetOwner(), &g);

    // Each drawn value repaints on a change only.
    int before = g.Invalidations;
    n.SetNodeType(cnFlat);
    n.SetShowTree(false);
    n.SetShowTreeFull(false);
    n.SetTreeColor(clRed);
    n.SetNodeIndent(20);
    EXPECT_EQ(g.Invalidations, before + 5);
    n.SetNodeType(cnFlat);
    n.SetNodeIndent(20);
    n.SetColor(clBlue);
    EXPECT_EQ(g.Invalidations, before + 5);

    g.Nodes = true;
    EXPECT_NO_THROW(n.SetNodeColumn(0));  // the same column is no change
    try {
        n.SetNodeColumn(2);
        FAIL() << "no exception";
    } catch (const EVodGridError& e) {
        EXPECT_EQ(e.Message(), L"Cannot change node column when grid has nodes");
    }
    EXPECT_EQ(n.NodeColumn(), 0);
    g.Nodes = false;
    n.SetNodeColumn(2);
    EXPECT_EQ(n.NodeColumn(), 2);
}

TEST(CellNodeTest, AssignCopiesEveryPropertyAndTheGlyphsByValue)
{
    TProbeGrid g(nullptr);
    TCellNode a(&g), b(&g);
    a.SetColor(clRed);
    a.SetExpandOne(true);
    a.SetNodeType(cnLeaf);
    a.SetNodeColor(clBlue);
    a.SetNodeColumn(3);
    a.SetNodeIndent(7);
    a.ExpandGlyph()->SetSize(9, 9);
    a.ContractGlyph()->SetSize(5, 4);
    a.SetShowTree(false);
    a.SetShowTreeFull(false);
    a.SetTreeColor(clGreen);
    b.Assign(&a);
    EXPECT_EQ(b.Color(), clRed);
    EXPECT_TRUE(b.ExpandOne());
    EXPECT_EQ(b.NodeType(), cnLeaf);
    EXPECT_EQ(b.NodeColor(), clBlue);
    EXPECT_EQ(b.NodeColumn(), 3);
    EXPECT_EQ(b.NodeIndent(), 7);
    EXPECT_EQ(b.ExpandGlyph()->Width(), 9);
    EXPECT_EQ(b.ContractGlyph()->Height(), 4);
    EXPECT_NE(b.ExpandGlyph(), a.ExpandGlyph());
    EXPECT_FALSE(b.ShowTree());
    EXPECT_FALSE(b.ShowTreeFull());
    EXPECT_EQ(b.TreeColor(), clGreen);

    // A glyph written is copied, not adopted.
    TBitmap bmp;
    bmp.SetSize(3, 2);
    b.SetContractGlyph(&bmp);
    bmp.SetSize(1, 1);
    EXPECT_EQ(b.ContractGlyph()->Width(), 3);

    TSizeWhileTyping other;
    b.Assign(&other);  // another class: ignored
    EXPECT_EQ(b.NodeColumn(), 3);
}

TEST(ColumnSizeTest, DefaultsStretchWritersAndAssignLeavingStretchAll)
{
    TProbeGrid g(nullptr);
    TColumnSize c(&g);
    EXPECT_FALSE(c.Save());
    EXPECT_EQ(c.Key(), L"");
    EXPECT_EQ(c.Section(), L"");
    EXPECT_EQ(c.Location(), TColumnSizeLocation::clRegistry);
    EXPECT_FALSE(c.Stretch());
    EXPECT_EQ(c.StretchColumn(), -1);
    EXPECT_FALSE(c.StretchAll());
    EXPECT_FALSE(c.SynchWithGrid());
    EXPECT_FALSE(c.SynchNormalCellsOnly());
    EXPECT_EQ(c.Rows(), arAll);

    // Without a parent Stretch only stores.
    c.SetStretchColumn(2);
    c.SetStretch(true);
    EXPECT_TRUE(c.Stretch());
    EXPECT_TRUE(g.Stretches.empty());
    TForm form(nullptr);
    g.SetParent(&form);
    c.SetStretch(true);
    ASSERT_EQ(g.Stretches.size(), 1u);
    EXPECT_EQ(g.Stretches[0], std::make_pair(2, -1));

    // StretchAll on makes the stretch column the last one and stretches.
    c.SetStretchAll(true);
    EXPECT_EQ(c.StretchColumn(), -1);
    ASSERT_EQ(g.Stretches.size(), 2u);
    EXPECT_EQ(g.Stretches[1], std::make_pair(-1, -1));
    c.SetStretchAll(true);  // no change: nothing
    EXPECT_EQ(g.Stretches.size(), 2u);
    g.SetParent(nullptr);

    TColumnSize d(&g);
    c.SetSave(true);
    c.SetKey(L"k");
    c.SetSection(L"s");
    c.SetLocation(TColumnSizeLocation::clIniFile);
    c.SetStretchColumn(4);
    c.SetSynchWithGrid(true);
    c.SetSynchNormalCellsOnly(true);
    c.SetRows(arFixed);
    d.Assign(&c);
    EXPECT_TRUE(d.Save());
    EXPECT_EQ(d.Key(), L"k");
    EXPECT_EQ(d.Section(), L"s");
    EXPECT_EQ(d.Location(), TColumnSizeLocation::clIniFile);
    EXPECT_TRUE(d.Stretch());
    EXPECT_EQ(d.StretchColumn(), 4);
    EXPECT_TRUE(d.SynchWithGrid());
    EXPECT_TRUE(d.SynchNormalCellsOnly());
    EXPECT_EQ(d.Rows(), arFixed);
    EXPECT_FALSE(d.StretchAll());
    EXPECT_EQ(g.Stretches.size(), 2u);  // Assign stretches nothing
}

TEST(HTMLSettingsTest, DefaultsAndAssignLeavingExportImagesAndWidths)
{
    THTMLSettings h;
    EXPECT_FALSE(h.AutoPreview());
    EXPECT_EQ(h.BorderSize(), 1);
    EXPECT_EQ(h.CellSpacing(), 0);
    EXPECT_EQ(h.CellPadding(), 0);
    EXPECT_FALSE(h.ConvertSpecialChars());
    EXPECT_TRUE(h.ExportImages());
    EXPECT_EQ(h.ImageFolder(), L"images");
    EXPECT_EQ(h.ImageBaseName(), L"img");
    EXPECT_FALSE(h.NonBreakingText());
    EXPECT_TRUE(h.SaveColor());
    EXPECT_TRUE(h.SaveFonts());
    EXPECT_EQ(h.Width(), 100);
    EXPECT_FALSE(h.XHTML());
    EXPECT_EQ(h.ColWidths()->Count(), 0);

    THTMLSettings s;
    s.SetAutoPreview(true);
    s.SetBorderSize(3);
    s.SetCellSpacing(4);
    s.SetCellPadding(5);
    s.SetConvertSpecialChars(true);
    s.SetExportImages(false);
    s.SetFooterFile(L"ff");
    s.SetFooterText(L"ft");
    s.SetHeaderFile(L"hf");
    s.SetHeaderText(L"ht");
    s.SetImageFolder(L"pics");
    s.SetImageBaseName(L"p");
    s.SetNonBreakingText(true);
    s.SetPrefixTag(L"<b>");
    s.SetSaveColor(false);
    s.SetSaveFonts(false);
    s.SetSuffixTag(L"</b>");
    s.SetSummary(L"sum");
    s.SetTableStyle(L"ts");
    s.SetWidth(50);
    s.SetXHTML(true);
    s.ColWidths()->Add(40);
    h.Assign(&s);
    EXPECT_TRUE(h.AutoPreview());
    EXPECT_EQ(h.BorderSize(), 3);
    EXPECT_EQ(h.CellSpacing(), 4);
    EXPECT_EQ(h.CellPadding(), 5);
    EXPECT_TRUE(h.ConvertSpecialChars());
    EXPECT_EQ(h.FooterFile(), L"ff");
    EXPECT_EQ(h.FooterText(), L"ft");
    EXPECT_EQ(h.HeaderFile(), L"hf");
    EXPECT_EQ(h.HeaderText(), L"ht");
    EXPECT_EQ(h.ImageFolder(), L"pics");
    EXPECT_EQ(h.ImageBaseName(), L"p");
    EXPECT_TRUE(h.NonBreakingText());
    EXPECT_EQ(h.PrefixTag(), L"<b>");
    EXPECT_FALSE(h.SaveColor());
    EXPECT_FALSE(h.SaveFonts());
    EXPECT_EQ(h.SuffixTag(), L"</b>");
    EXPECT_EQ(h.Summary(), L"sum");
    EXPECT_EQ(h.TableStyle(), L"ts");
    EXPECT_EQ(h.Width(), 50);
    EXPECT_TRUE(h.XHTML());
    EXPECT_TRUE(h.ExportImages());
    EXPECT_EQ(h.ColWidths()->Count(), 0);
}

TEST(PrintSettingsTest, DefaultsAndAssignCopiesObjectsByValue)
{
    TProbeGrid g(nullptr);
    TPrintSettings p(&g);
    EXPECT_EQ(p.DateFormat(), L"dd/mm/yyyy");
    EXPECT_EQ(p.PageNumSep(), L"/");
    EXPECT_EQ(p.Borders(), pbSingle);
    EXPECT_EQ(p.BorderStyle(), psSolid);
    EXPECT_EQ(p.BorderColor(), TColor(0));
    EXPECT_TRUE(p.Centered());
    EXPECT_TRUE(p.UseDisplayFont());
    EXPECT_TRUE(p.PrintComments());
    EXPECT_FALSE(p.FixedCellsAlways());
    EXPECT_EQ(p.Time(), ppNone);
    EXPECT_EQ(p.Date(), ppNone);
    EXPECT_EQ(p.PageNr(), ppNone);
    EXPECT_EQ(p.Title(), ppNone);
    EXPECT_EQ(p.Orientation(), poPortrait);
    EXPECT_EQ(p.FitToPage(), fpNever);
    EXPECT_EQ(p.HeaderSize() + p.FooterSize() + p.LeftSize() + p.RightSize() + p.ColumnSpacing() +
                  p.RowSpacing() + p.TitleSpacing() + p.FixedWidth() + p.FixedHeight() +
                  p.PageNumberOffset() + p.MaxPagesOffset(),
              0);
    TFont plain;
    EXPECT_EQ(p.Font()->Name(), plain.Name());
    EXPECT_EQ(p.TitleLines()->Count(), 0);

    TPrintSettings s(&g);
    s.SetDate(ppTopRight);
    s.SetTime(ppBottomCenter);
    s.SetPageNr(ppBottomLeft);
    s.SetTitle(ppTopCenter);
    s.SetDateFormat(L"yyyy");
    s.SetTitleText(L"T");
    s.TitleLines()->Add(L"line");
    s.Font()->SetName(L"Courier New");
    s.FixedFont()->SetSize(14);
    s.HeaderFont()->SetColor(clRed);
    s.FooterFont()->SetColor(clBlue);
    s.SetBorders(pbAroundVertical);
    s.SetBorderStyle(psDot);
    s.SetBorderColor(clGreen);
    s.SetCentered(false);
    s.SetRepeatFixedRows(true);
    s.SetRepeatFixedCols(true);
    s.SetLeftSize(1);
    s.SetRightSize(2);
    s.SetColumnSpacing(3);
    s.SetRowSpacing(4);
    s.SetTitleSpacing(5);
    s.SetHeaderSize(6);
    s.SetFooterSize(7);
    s.SetOrientation(poLandscape);
    s.SetPagePrefix(L"p");
    s.SetPageSuffix(L"s");
    s.SetPageNumSep(L" of ");
    s.SetPageNumberOffset(8);
    s.SetMaxPagesOffset(9);
    s.SetFixedWidth(10);
    s.SetFixedHeight(11);
    s.SetUseFixedHeight(true);
    s.SetUseFixedWidth(true);
    s.SetFitToPage(fpShrink);
    s.SetJobName(L"job");
    s.SetNoAutoSize(true);
    s.SetNoAutoSizeRow(true);
    s.SetPrintGraphics(true);
    s.SetUseDisplayFont(false);
    s.SetUseDefaultOrientation(true);
    s.SetPrintComments(false);
    s.SetFixedCellsAlways(true);
    p.Assign(&s);
    EXPECT_EQ(p.Date(), ppTopRight);
    EXPECT_EQ(p.Time(), ppBottomCenter);
    EXPECT_EQ(p.PageNr(), ppBottomLeft);
    EXPECT_EQ(p.Title(), ppTopCenter);
    EXPECT_EQ(p.DateFormat(), L"yyyy");
    EXPECT_EQ(p.TitleText(), L"T");
    ASSERT_EQ(p.TitleLines()->Count(), 1);
    EXPECT_NE(p.TitleLines(), s.TitleLines());
    EXPECT_EQ(p.Font()->Name(), L"Courier New");
    EXPECT_EQ(p.FixedFont()->Size(), 14);
    EXPECT_EQ(p.HeaderFont()->Color(), clRed);
    EXPECT_EQ(p.FooterFont()->Color(), clBlue);
    EXPECT_EQ(p.Borders(), pbAroundVertical);
    EXPECT_EQ(p.BorderStyle(), psDot);
    EXPECT_EQ(p.BorderColor(), clGreen);
    EXPECT_FALSE(p.Centered());
    EXPECT_TRUE(p.RepeatFixedRows());
    EXPECT_TRUE(p.RepeatFixedCols());
    EXPECT_EQ(p.LeftSize(), 1);
    EXPECT_EQ(p.RightSize(), 2);
    EXPECT_EQ(p.ColumnSpacing(), 3);
    EXPECT_EQ(p.RowSpacing(), 4);
    EXPECT_EQ(p.TitleSpacing(), 5);
    EXPECT_EQ(p.HeaderSize(), 6);
    EXPECT_EQ(p.FooterSize(), 7);
    EXPECT_EQ(p.Orientation(), poLandscape);
    EXPECT_EQ(p.PagePrefix(), L"p");
    EXPECT_EQ(p.PageSuffix(), L"s");
    EXPECT_EQ(p.PageNumSep(), L" of ");
    EXPECT_EQ(p.PageNumberOffset(), 8);
    EXPECT_EQ(p.MaxPagesOffset(), 9);
    EXPECT_EQ(p.FixedWidth(), 10);
    EXPECT_EQ(p.FixedHeight(), 11);
    EXPECT_TRUE(p.UseFixedHeight());
    EXPECT_TRUE(p.UseFixedWidth());
    EXPECT_EQ(p.FitToPage(), fpShrink);
    EXPECT_EQ(p.JobName(), L"job");
    EXPECT_TRUE(p.NoAutoSize());
    EXPECT_TRUE(p.NoAutoSizeRow());
    EXPECT_TRUE(p.PrintGraphics());
    EXPECT_FALSE(p.UseDisplayFont());
    EXPECT_TRUE(p.UseDefaultOrientation());
    EXPECT_FALSE(p.PrintComments());
    EXPECT_FALSE(p.FixedCellsAlways());  // not part of the copy

    // Writing a font or the title lines copies them.
    TFont f;
    f.SetSize(20);
    p.SetHeaderFont(&f);
    f.SetSize(5);
    EXPECT_EQ(p.HeaderFont()->Size(), 20);
}

TEST(PrintSettingsTest, AssignFromAnotherClassRaisesTheInvalidCastError)
{
    TPrintSettings p(nullptr);
    THTMLSettings h;
    p.SetJobName(L"kept");
    EXPECT_THROW(p.Assign(&h), EInvalidCast);
    EXPECT_EQ(p.JobName(), L"kept");
    EXPECT_NO_THROW(p.Assign(nullptr));
}

TEST(SizeWhileTypingTest, Defaults)
{
    TSizeWhileTyping s;
    EXPECT_FALSE(s.Height());
    EXPECT_FALSE(s.Width());
}

TEST(GridLookTest, DisplayAndStoredLookNames)
{
    const struct {
        TGridLook Look;
        const wchar_t* Shown;
        const wchar_t* Stored;
    } cases[] = {
        {glStandard, L"Standard", L"glStandard"},       {glSoft, L"Soft", L"glSoft"},
        {glClassic, L"Classic", L"glClassic"},          {glQel, L"Qel", L"glQel"},
        {glXP, L"Windows XP", L"glXP"},                 {glListView, L"ListView", L"glListView"},
        {glVista, L"Windows Vista", L"glVista"},        {glWin7, L"Windows 7", L"glWin7"},
        {glOffice2007, L"Office2007", L"glOffice2007"}, {glCustom, L"unchanged", L"unchanged"},
    };
    for (const auto& c : cases) {
        String shown = L"unchanged", stored = L"unchanged";
        GetLookName(c.Look, shown);
        GetLookEnumName(c.Look, stored);
        EXPECT_EQ(shown, c.Shown);
        EXPECT_EQ(stored, c.Stored);
    }
}

TEST(GridLookTest, LinkWritersRepaintOnlyWhereTheyShow)
{
    TProbeGrid g(nullptr);
    EXPECT_EQ(g.URLColor(), TColor(0xFF0000));
    int n = g.Invalidations;
    g.SetURLColor(clRed);   // links not shown: no repaint
    g.SetURLFull(true);
    EXPECT_EQ(g.Invalidations, n);
    g.SetURLShow(true);
    g.SetURLShowInText(true);
    EXPECT_EQ(g.Invalidations, n + 2);
    g.SetURLColor(clGreen);
    g.SetURLFull(false);
    EXPECT_EQ(g.Invalidations, n + 4);
    g.SetURLColor(clGreen);  // same value
    EXPECT_EQ(g.Invalidations, n + 4);
    EXPECT_EQ(g.URLColor(), clGreen);
}
