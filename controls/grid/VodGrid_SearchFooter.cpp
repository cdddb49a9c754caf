// What the search footer panel does: the search as the user types, find next
// and previous with one wrap-around, the highlight of every match in the
// cells, match case and closing the panel.
#include <algorithm>

#include "controls/grid/GridSearchPanel.h"
#include "controls/grid/VodGrid.h"
#include "controls/markup/VurHTMLE.h"

namespace {

constexpr TPoint kNoCell{-1, -1};

}  // namespace

bool TVodStringGrid::SearchFooterHighlighting()
{
    return FSearchFooter->AlwaysHighLight() || (FSearchPanel && FSearchPanel->HighLightButton()->Down());
}

TFindParams TVodStringGrid::SearchFooterParams(bool Auto, bool Backward)
{
    const TSearchFooter* sf = FSearchFooter.get();
    TFindParams p{fnAutoGoto};
    if (SearchFooterHighlighting()) p.Include(fnIgnoreHTMLTags);
    if (FSearchPanel && FSearchPanel->MatchCase()->Checked()) p.Include(fnMatchCase);
    if (sf->SearchActiveColumnOnly()) p.Include(fnFindInCurrentCol);
    if (sf->SearchMatchStart()) p.Include(fnMatchStart);
    if (sf->SearchFixedCells()) p.Include(fnIncludeFixed);
    if (sf->SearchDirection() == sdLeftRight) p.Include(fnDirectionLeftRight);
    // Typing may reach hidden rows; find next and previous never do.
    if (Auto && sf->SearchHiddenRows()) p.Include(fnIncludeHiddenRows);
    if (Backward) p.Include(fnBackward);
    const Integer sc = sf->SearchColumn();
    if (sc >= 0 && sc < ColCount()) {
        FFindCol = DisplColIndex(sc);
        p.Include(fnFindInPresetCol);
        if (!Auto) p.Exclude(fnDirectionLeftRight);
    }
    FFindParams = p;
    return p;
}

void TVodStringGrid::SearchFooterRepaintColumn()
{
    const Integer sc = FSearchFooter->SearchColumn();
    if (sc == -1) Invalidate();
    else RepaintCol(DisplColIndex(sc));
}

void TVodStringGrid::SearchFooterColorEdit(TColor Color)
{
    if (!FSearchPanel) return;
    TRetEdit* e = FSearchPanel->EditControl();
    e->SetColor(Color);
    // A width nudge makes the edit repaint its face at once.
    e->SetWidth(e->Width() + 1);
    e->SetWidth(e->Width() - 1);
}

void TVodStringGrid::SearchFooterEditChange()
{
    if (!FSearchPanel) return;
    TRetEdit* edit = FSearchPanel->EditControl();
    const String text = edit->Text();
    bool doSearch = true;
    if (OnSearchEditChange) OnSearchEditChange(this, text, doSearch);
    if (!doSearch || !FSearchFooter->AutoSearch()) return;
    const TFindParams p = SearchFooterParams(true, false);
    const bool highlight = SearchFooterHighlighting();
    if (highlight) SearchFooterRepaintColumn();
    if (text.empty()) {
        SearchFooterColorEdit(clWindow);
        if (FSearchPanel->HighLightButton()->Down()) SearchFooterRepaintColumn();
        return;
    }
    const TPoint cell = Find(kNoCell, text, p);
    FSearchCell = cell;
    if (!edit->Focused() && edit->Enabled() && edit->CanFocus()) edit->SetFocus();
    SearchFooterAction(text, cell.X, cell.Y, saFindFirst);
    if (cell.X == -1) {
        SearchFooterColorEdit(FSearchFooter->SearchErrorColor());
        return;
    }
    SearchFooterColorEdit(clWindow);
    const Integer showRow = p.Contains(fnIncludeHiddenRows) ? DisplRowIndex(cell.Y) : cell.Y;
    ScrollInView(cell.X, showRow, spMiddle);
    if (highlight) SearchFooterRepaintColumn();
}

void TVodStringGrid::SearchFooterFind(bool Backward, bool Retry)
{
    if (!FSearchPanel) return;
    HideInplaceEdit();
    const String text = FSearchPanel->EditControl()->Text();
    if (!FSearchFooter->AutoSearch()) {
        if (text != FSearchFooter->LastSearch) FSearchCell = kNoCell;
        FSearchFooter->LastSearch = text;
    }
    const TFindParams p = SearchFooterParams(false, Backward);
    const TPoint cell = Find(Retry ? kNoCell : FSearchCell, text, p);
    FSearchCell = cell;
    const bool found = cell.X != -1;

    // Keeps the current row off the last visible line.
    const Integer m = FFloatingFooter->Visible() ? 1 : 0;
    auto bump = [&] {
        const Integer visible = VisibleRowCount();
        if (TopRow() + visible - 2 - m < Row() && visible + FixedRows() + m < RowCount())
            SetTopRow(std::min(TopRow() + 2, RowCount() - 1));
    };
    if (Backward) {
        bump();
        if (found) ScrollInView(cell.X, cell.Y, spMiddle);
    } else {
        if (found) ScrollInView(cell.X, cell.Y, spMiddle);
        bump();
    }
    SearchFooterAction(text, cell.X, cell.Y, Backward ? saFindPrevious : saFindNext);
    if (!found && !Retry) {
        bool restart = true;
        SearchFooterSearchEnd(restart);
        if (restart) {
            SearchFooterFind(Backward, true);
            return;
        }
    }
    FSearchPanel->Invalidate();
}

void TVodStringGrid::SearchFooterForward() { SearchFooterFind(false, false); }

void TVodStringGrid::SearchFooterBackward() { SearchFooterFind(true, false); }

void TVodStringGrid::SearchFooterClose()
{
    if (OnSearchFooterClose) OnSearchFooterClose(this);
    FSearchFooter->SetVisible(false);
}

void TVodStringGrid::SearchFooterHighlight() { Invalidate(); }

void TVodStringGrid::SearchFooterMatchCase()
{
    if (FSearchPanel && FSearchPanel->HighLightButton()->Down()) SearchFooterEditChange();
}

// ---------------------------------------------------------------------------
// The highlight in the cell text

bool TVodStringGrid::SearchHighlightCell(Integer RCol, Integer ARow)
{
    // The highlight is markup: without markup in cells it would show as
    // text.
    if (!FEnableHTML || !FSearchPanel || !SearchFooterHighlighting()) return false;
    if (FSearchPanel->EditControl()->Text().empty()) return false;
    if (ARow < FixedRows() || ARow >= RowCount() - FFixedFooters) return false;
    const Integer sc = FSearchFooter->SearchColumn();
    if (sc == RCol) return true;
    return sc == -1 && RCol >= FixedCols() && RCol < ColCount() + NumHiddenColumns() - FFixedRightCols;
}

String TVodStringGrid::SearchHighlightText(const String& Text)
{
    String result;
    VurHTMLE::HighlightMarkupText(Text, FSearchPanel->EditControl()->Text(), L"hi",
                                  FSearchPanel->MatchCase()->Checked(), FSearchFooter->HighLight() == hFullCell,
                                  result);
    return result;
}
