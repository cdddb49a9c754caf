// The search footer's actions: finding as the user types, the edit's error
// colour, find next and previous with one wrap-around, hidden rows only for
// typing, a preset search column, AutoSearch off, closing, and the highlight
// of the matches in the cell text.
#include <gtest/gtest.h>

#include <vector>

#include "controls/grid/GridSearchPanel.h"
#include "controls/grid/VodGrid.h"
#include "tests/controls/grid/StringGridFixture.h"

namespace {

class VodGridSearchFooter : public TStringGridFixture<TVodStringGrid> {
protected:
    void SetUp() override
    {
        TStringGridFixture<TVodStringGrid>::SetUp();
        Grid->SetRowCount(6);
        for (Integer c = 1; c < 5; ++c)
            for (Integer r = 1; r < 6; ++r) Grid->SetCells(c, r, L"-");
        Grid->SearchFooter()->SetVisible(true);
        Drv->Pump();
        Grid->OnSearchFooterAction = [this](TObject*, const String& V, Integer C, Integer R, TSearchFooterAction A) {
            Actions.push_back({V, TPoint{C, R}, A});
        };
    }
    TRetEdit* Edit() { return Grid->SearchPanel()->EditControl(); }
    // Puts S into the search edit as typing would end (the multi-line edit
    // reports no change for text set from outside).
    void Type(const String& S)
    {
        Edit()->SetText(S);
        Grid->SearchPanel()->OnEditChange(Grid->SearchPanel());
        Drv->Pump();
    }
    TPoint Cell() const { return Grid->SearchCell(); }
    struct TAction {
        String Value;
        TPoint Cell;
        TSearchFooterAction Kind;
    };
    std::vector<TAction> Actions;
};

bool At(TPoint P, Integer C, Integer R) { return P.X == C && P.Y == R; }

}  // namespace

TEST_F(VodGridSearchFooter, TypingFindsAndColoursTheEditOnFailure)
{
    Grid->SetCells(3, 4, L"Needle");
    const Integer width = Edit()->Width();
    // Typed for real: each character searches.
    Edit()->SetFocus();
    Drv->TypeText(L"need");
    Drv->Pump();
    EXPECT_EQ(Actions.size(), 4u);
    EXPECT_TRUE(At(Cell(), 3, 4));
    EXPECT_EQ(Grid->Row(), 4);
    EXPECT_EQ(Grid->Col(), 3);
    EXPECT_EQ(Edit()->Color(), clWindow);
    ASSERT_FALSE(Actions.empty());
    EXPECT_EQ(Actions.back().Kind, saFindFirst);
    EXPECT_EQ(Actions.back().Value, L"need");
    EXPECT_TRUE(At(Actions.back().Cell, 3, 4));

    Type(L"needles");
    EXPECT_TRUE(At(Cell(), -1, -1));
    EXPECT_EQ(Edit()->Color(), Grid->SearchFooter()->SearchErrorColor());
    EXPECT_EQ(Edit()->Width(), width);
    Type(L"");
    EXPECT_EQ(Edit()->Color(), clWindow);

    // The handler may stop the search; AutoSearch off stops it too.
    Grid->FocusCell(1, 1, true);
    Grid->OnSearchEditChange = [](TObject*, const String&, bool& DoSearch) { DoSearch = false; };
    Type(L"need");
    EXPECT_EQ(Grid->Row(), 1);
    Grid->OnSearchEditChange = nullptr;
    Grid->SearchFooter()->SetAutoSearch(false);
    Type(L"needl");
    EXPECT_EQ(Grid->Row(), 1);
}

TEST_F(VodGridSearchFooter, FindNextWrapsOnceThroughSearchEnd)
{
    Grid->SetCells(2, 1, L"k");
    Grid->SetCells(3, 3, L"k");
    Integer asked = 0;
    Grid->OnSearchFooterSearchEnd = [&](TObject*, bool&) { ++asked; };
    Type(L"k");
    EXPECT_TRUE(At(Cell(), 2, 1));
    Grid->SearchFooterForward();
    EXPECT_TRUE(At(Cell(), 3, 3));
    EXPECT_EQ(Actions.back().Kind, saFindNext);
    // Past the last match: asked once, then on from the first cell.
    Grid->SearchFooterForward();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(At(Cell(), 2, 1));
    // Backward from the first match wraps to the last one.
    Grid->SearchFooterBackward();
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(At(Cell(), 3, 3));
    EXPECT_EQ(Actions.back().Kind, saFindPrevious);
    // Nothing anywhere: the retry fails too and nobody is asked again.
    Grid->SetCells(2, 1, L"-");
    Grid->SetCells(3, 3, L"-");
    Grid->SearchFooterForward();
    EXPECT_EQ(asked, 3);
    EXPECT_TRUE(At(Cell(), -1, -1));
    // A handler that answers no stops at the end.
    Grid->SetCells(2, 1, L"k");
    Grid->OnSearchFooterSearchEnd = [&](TObject*, bool& Restart) {
        ++asked;
        Restart = false;
    };
    Grid->SearchFooterForward();
    EXPECT_TRUE(At(Cell(), 2, 1));
    Grid->SearchFooterForward();
    EXPECT_EQ(asked, 4);
    EXPECT_TRUE(At(Cell(), -1, -1));
}

TEST_F(VodGridSearchFooter, HiddenRowsAreReachedByTypingOnly)
{
    Grid->SetCells(2, 3, L"secret");
    Grid->HideRow(3);
    Grid->SearchFooter()->SetSearchHiddenRows(true);
    Grid->OnSearchFooterSearchEnd = [](TObject*, bool& Restart) { Restart = false; };
    Type(L"secret");
    EXPECT_TRUE(At(Cell(), 2, 3));
    EXPECT_TRUE(Grid->FindParams().Contains(fnIncludeHiddenRows));
    Grid->SetSearchCell(TPoint{-1, -1});
    Grid->SearchFooterForward();
    EXPECT_FALSE(Grid->FindParams().Contains(fnIncludeHiddenRows));
    EXPECT_TRUE(At(Cell(), -1, -1));
}

TEST_F(VodGridSearchFooter, AutoSearchOffRestartsOnANewText)
{
    Grid->SearchFooter()->SetAutoSearch(false);
    Grid->SetCells(1, 2, L"ab");
    Grid->SetCells(4, 4, L"ab");
    Type(L"ab");
    EXPECT_TRUE(At(Cell(), -1, -1));
    Grid->SearchFooterForward();
    EXPECT_TRUE(At(Cell(), 1, 2));
    Grid->SearchFooterForward();
    EXPECT_TRUE(At(Cell(), 4, 4));
    EXPECT_EQ(Grid->SearchFooter()->LastSearch, L"ab");
    // Another text starts at the first cell again.
    Type(L"a");
    Grid->SearchFooterForward();
    EXPECT_TRUE(At(Cell(), 1, 2));
}

TEST_F(VodGridSearchFooter, OptionSetFromThePanelAndTheSettings)
{
    TSearchFooter* sf = Grid->SearchFooter();
    sf->SetSearchDirection(sdLeftRight);
    sf->SetSearchMatchStart(true);
    sf->SetSearchColumn(3);
    Grid->SearchPanel()->MatchCase()->SetChecked(true);
    Grid->SetCells(3, 2, L"Key");
    Grid->SetCells(3, 5, L"Key");
    Grid->SetCells(4, 1, L"Key");
    Type(L"Key");
    const TFindParams typed = Grid->FindParams();
    EXPECT_TRUE(typed.Contains(fnDirectionLeftRight));
    EXPECT_TRUE(typed.Contains(fnFindInPresetCol));
    EXPECT_TRUE(typed.Contains(fnMatchCase));
    EXPECT_TRUE(typed.Contains(fnMatchStart));
    EXPECT_TRUE(typed.Contains(fnAutoGoto));
    EXPECT_FALSE(typed.Contains(fnIgnoreHTMLTags));
    EXPECT_EQ(Grid->FindCol(), 3);
    EXPECT_TRUE(At(Cell(), 3, 2));
    // Find next walks down the preset column, without the left-right walk.
    Grid->SearchFooterForward();
    EXPECT_FALSE(Grid->FindParams().Contains(fnDirectionLeftRight));
    EXPECT_TRUE(At(Cell(), 3, 5));
    // Highlighting compares without markup.
    sf->SetAlwaysHighLight(true);
    Grid->SearchFooterBackward();
    EXPECT_TRUE(Grid->FindParams().Contains(fnIgnoreHTMLTags));
    EXPECT_TRUE(Grid->FindParams().Contains(fnBackward));
    EXPECT_TRUE(At(Cell(), 3, 2));
}

TEST_F(VodGridSearchFooter, CloseFiresAndHides)
{
    Integer closed = 0;
    Grid->OnSearchFooterClose = [&](TObject*) { ++closed; };
    Grid->SearchFooterClose();
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(Grid->SearchFooter()->Visible());
}

TEST_F(VodGridSearchFooter, HighlightWrapsTheMatchesInTheCellText)
{
    Grid->SetCells(2, 2, L"Banana");
    Grid->SetCells(2, 0, L"ban header");
    auto text = [&](Integer c, Integer r) {
        TVodStringGrid::TCellDrawFrame f;
        f.ACol = f.RCol = c;
        f.ARow = r;
        Grid->PrepareCellText(f);
        return f.Text;
    };
    Type(L"an");
    EXPECT_EQ(text(2, 2), L"Banana");   // the button is up
    Grid->SearchPanel()->HighLightButton()->SetDown(true);
    EXPECT_EQ(text(2, 2), L"B<HI>an</HI><HI>an</HI>a");
    EXPECT_EQ(text(2, 0), L"ban header");   // fixed rows never
    // Match case: "AN" is not in the text.
    Grid->SearchPanel()->MatchCase()->SetChecked(true);
    Type(L"AN");
    EXPECT_EQ(text(2, 2), L"Banana");
    Grid->SearchPanel()->MatchCase()->SetChecked(false);
    // Only the search column when one is set.
    Grid->SearchFooter()->SetSearchColumn(3);
    EXPECT_EQ(text(2, 2), L"Banana");
    Grid->SearchFooter()->SetSearchColumn(2);
    EXPECT_EQ(text(2, 2), L"B<HI>an</HI><HI>an</HI>a");
    // Without markup in cells the tag would show as text.
    Grid->SetEnableHTML(false);
    EXPECT_EQ(text(2, 2), L"Banana");
}
