// The string grid's selection side: disjunct cells (kept as column and row,
// also past 65,536), the counts over merged cells, parking the selection,
// the listener, the change notifiers and the references the grid drops
// when components go.
#include <gtest/gtest.h>

#include "controls/grid/VodGrid.h"
#include "platform/gfx/ImageList.h"
#include "platform/base/SysUtils.h"

namespace {

class TRecordingNotifier : public TGridChangeNotifier {
public:
    TRecordingNotifier(std::vector<String>& log, const String& name) : TGridChangeNotifier(nullptr), FLog(log), FName(name) {}
    void CellsChanged(TRect R) override
    {
        FLog.push_back(FName + L" " + IntToStr(R.Left) + L"," + IntToStr(R.Top) + L"," + IntToStr(R.Right) + L"," +
                       IntToStr(R.Bottom));
    }

private:
    std::vector<String>& FLog;
    String FName;
};

// A counted listener: the grid's reference keeps it alive.
class TCountedListener : public ITVodStringGridSelect {
public:
    explicit TCountedListener(int& alive) : FAlive(alive) { ++FAlive; }
    ~TCountedListener() { --FAlive; }
    HRESULT QueryInterface(const TGUID&, void**) override { return E_NOINTERFACE; }
    ULONG AddRef() override { return ++FRefs; }
    ULONG Release() override
    {
        const ULONG r = --FRefs;
        if (r == 0) delete this;
        return r;
    }
    void CellSelected(Integer, Integer) override {}

private:
    int& FAlive;
    ULONG FRefs = 0;
};

std::vector<TGridCoord> ListOf(TVodStringGrid& g)
{
    std::vector<TGridCoord> v;
    for (Integer i = 0; i < Integer(g.SelectedCellsCount()); ++i) v.push_back(g.GetSelectedCell(i));
    return v;
}

}  // namespace

TEST(GridSelectionTest, DisjunctCellsKeepColumnAndRowPastSixteenBits)
{
    TVodStringGrid g(nullptr);
    g.MouseActions()->SetDisjunctCellSelect(true);
    g.SetSelectedCells(2, 3, true);
    g.SetSelectedCells(5, 1, true);
    g.SetSelectedCells(5, 1, true);  // already there
    EXPECT_EQ(g.SelectedCellsCount(), 2);
    EXPECT_EQ(g.GetSelectedCell(1), (TGridCoord{5, 1}));
    EXPECT_TRUE(g.SelectedCells(2, 3));
    EXPECT_FALSE(g.SelectedCells(3, 2));
    g.SetSelectedCells(2, 3, false);
    EXPECT_EQ(g.SelectedCellsCount(), 1);
    EXPECT_EQ(g.GetSelectedCell(0), (TGridCoord{5, 1}));
    EXPECT_EQ(g.GetSelectedCell(1), (TGridCoord{-1, -1}));

    // Row 40,000 and column 70,000 would overflow or mix when packed into
    // one 32-bit number; as pairs they stay apart and exact.
    g.SetSelectedCells(3, 40000, true);
    g.SetSelectedCells(70000, 1, true);
    g.SetSelectedCells(4464, 2, true);  // what 70000 + 65536 x 1 would alias to when packed
    EXPECT_TRUE(g.SelectedCells(3, 40000));
    EXPECT_TRUE(g.SelectedCells(70000, 1));
    EXPECT_FALSE(g.SelectedCells(4464, 3));
    EXPECT_EQ(g.GetSelectedCell(1), (TGridCoord{3, 40000}));
    EXPECT_EQ(g.GetSelectedCell(2), (TGridCoord{70000, 1}));
    EXPECT_EQ(g.SelectedCellsCount(), 4);

    g.ClearSelectedCells();
    EXPECT_EQ(g.SelectedCellsCount(), 0);
    EXPECT_EQ(g.Selection(), (TGridRect{1, 1, 1, 1}));
}

TEST(GridSelectionTest, WithoutDisjunctModeTheListFollowsTheRectangleColumnByColumn)
{
    TVodStringGrid g(nullptr);
    g.TCustomGrid::SetRowCount(6);
    g.SetSelection({1, 1, 2, 3});
    EXPECT_EQ(ListOf(g), (std::vector<TGridCoord>{{1, 1}, {1, 2}, {1, 3}, {2, 1}, {2, 2}, {2, 3}}));
    EXPECT_TRUE(g.SelectedCells(2, 2));
    EXPECT_FALSE(g.SelectedCells(3, 2));
    g.SetSelection({2, 4, 2, 4});
    EXPECT_EQ(ListOf(g), (std::vector<TGridCoord>{{2, 4}}));
}

TEST(GridSelectionTest, ColumnAndRowCountsOverMergedCells)
{
    struct TCase {
        const char* Name;
        TGridRect Merge;  // Left, Top, span x, span y (0 for none)
        TGridRect Sel;
        Integer Cols, Rows;
    } cases[] = {
        {"plain", {0, 0, 0, 0}, {1, 1, 3, 2}, 3, 2},
        {"left top merged beyond the selection", {1, 1, 3, 3}, {1, 1, 1, 1}, 3, 3},
        {"left top merged inside the selection", {1, 1, 2, 2}, {1, 1, 4, 4}, 4, 4},
        {"right top merged", {3, 1, 2, 1}, {1, 1, 3, 1}, 4, 1},
        {"left bottom merged", {1, 3, 1, 2}, {1, 1, 1, 3}, 1, 4},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TVodStringGrid g(nullptr);
        g.TCustomGrid::SetColCount(8);
        g.TCustomGrid::SetRowCount(8);
        if (c.Merge.Right) g.MergeCells(c.Merge.Left, c.Merge.Top, c.Merge.Right, c.Merge.Bottom);
        g.SetSelection(c.Sel);
        EXPECT_EQ(g.SelectedColCount(), c.Cols);
        EXPECT_EQ(g.SelectedRowCount(), c.Rows);
    }
}

TEST(GridSelectionTest, SelectedRowsOfTheRectangle)
{
    TVodStringGrid g(nullptr);
    g.TCustomGrid::SetRowCount(8);
    g.SetSelection({1, 2, 1, 4});
    EXPECT_EQ(g.GetSelectedRow(0), 2);
    EXPECT_EQ(g.GetSelectedRow(2), 4);
    EXPECT_EQ(g.GetSelectedRow(3), -1);
    EXPECT_EQ(g.GetSelectedRow(-1), -1);
}

TEST(GridSelectionTest, ParkingAndUnparkingTheSelection)
{
    TVodStringGrid g(nullptr);
    g.TCustomGrid::SetRowCount(6);
    g.SetSelection({1, 2, 3, 4});
    g.HideSelection();
    EXPECT_TRUE(g.IsSelectionHidden());
    EXPECT_FALSE(g.SelectedCells(3, 4));
    g.UnHideSelection();
    EXPECT_FALSE(g.IsSelectionHidden());
    EXPECT_EQ(g.Selection(), (TGridRect{1, 2, 3, 4}));

    // A saved selection that no longer lies inside becomes the first normal
    // cell.
    g.SetSelection({1, 4, 2, 5});
    g.HideSelection();
    g.TCustomGrid::SetRowCount(4);
    g.UnHideSelection();
    EXPECT_EQ(g.Selection(), (TGridRect{1, 1, 1, 1}));
}

TEST(GridSelectionTest, NotifiersInRegistrationOrderThenTheEvent)
{
    TVodStringGrid g(nullptr);
    std::vector<String> log;
    TRecordingNotifier a(log, L"a"), b(log, L"b");
    g.RegisterNotifier(&b);
    g.RegisterNotifier(&a);
    g.RegisterNotifier(&b);  // once only
    g.OnCellsChanged = [&](TObject* s, const TRect& R) {
        EXPECT_EQ(s, &g);
        log.push_back(L"event " + IntToStr(R.Bottom));
    };
    g.CellsChanged(TRect{0, 1, 4, 3});
    EXPECT_EQ(log, (std::vector<String>{L"b 0,1,4,3", L"a 0,1,4,3", L"event 3"}));

    log.clear();
    g.UnRegisterNotifier(&b);
    g.UnRegisterNotifier(&b);
    g.CellsChanged(TRect{0, 0, 0, 0});
    EXPECT_EQ(log, (std::vector<String>{L"a 0,0,0,0", L"event 0"}));

    // A notifier freed while registered is not called afterwards.
    log.clear();
    {
        TRecordingNotifier c(log, L"c");
        g.RegisterNotifier(&c);
    }
    g.CellsChanged(TRect{1, 1, 1, 1});
    EXPECT_EQ(log, (std::vector<String>{L"a 1,1,1,1", L"event 1"}));
}

TEST(GridSelectionTest, OneCountedSelectionListener)
{
    int alive = 0;
    {
        TVodStringGrid g(nullptr);
        auto* first = new TCountedListener(alive);
        auto* second = new TCountedListener(alive);
        first->AddRef();
        g.RegisterSelListener(first);
        g.RegisterSelListener(second);  // replaces the first
        EXPECT_EQ(g.SelListener(), second);
        EXPECT_EQ(first->Release(), 0u);  // the grid let go of it
        EXPECT_EQ(alive, 1);
        g.UnRegisterSelListener(nullptr);  // whatever is passed
        EXPECT_EQ(g.SelListener(), nullptr);
        EXPECT_EQ(alive, 0);
        g.RegisterSelListener(new TCountedListener(alive));
        EXPECT_EQ(alive, 1);
    }
    EXPECT_EQ(alive, 0);  // released with the grid
}

TEST(GridSelectionTest, RemovedImageListLeavesGridImagesNil)
{
    TVodStringGrid g(nullptr);
    auto* images = new TImageList(nullptr);
    g.SetGridImages(images);
    EXPECT_EQ(g.GridImages(), images);
    delete images;
    EXPECT_EQ(g.GridImages(), nullptr);
}
