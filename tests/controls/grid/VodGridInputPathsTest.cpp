// The paths by which the grid's editing, keys, mouse and clipboard reach one
// another: the advance after an edit, Escape at the grid, the changing
// events of moves, the typed character that opens a special editor, the
// clipboard keys, the paste after a grown selection, OLE drags between
// grids, the reopened editor after a link's Tab, the focus frame, and the
// measures that auto sizing and the group count take from the cells.
#include <string>
#include <vector>

#include "controls/grid/GridDragDropSettings.h"
#include "controls/grid/editors/EditLink.h"
#include "controls/grid/editors/GridEditors.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/WindowManager.h"
#include "tests/controls/grid/StringGridFixture.h"

namespace {

// A link around a plain edit box.
class TTextLink : public TEditLink {
public:
    explicit TTextLink(TComponent* o) : TEditLink(o) {}
    TEdit* Edit = nullptr;
    TWinControl* GetEditControl() override { return Edit; }
    void CreateEditor(TWinControl* AParent) override
    {
        Edit = new TEdit(this);
        Edit->SetParent(AParent);
    }
    String GetEditorValue() override { return Edit ? Edit->Text() : String(); }
    void SetEditorValue(const String& Value) override
    {
        if (Edit) Edit->SetText(Value);
    }
};

class VodGridInputPaths : public TStringGridFixture<TVodStringGrid> {
protected:
    void SetUp() override
    {
        TStringGridFixture<TVodStringGrid>::SetUp();
        Grid->SetDefaultColWidth(50);
        Grid->SetDefaultRowHeight(20);
        Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
        Grid->SetFocus();
        Drv->Pump();
    }
    void At(Integer c, Integer r)
    {
        Grid->FocusCell(c, r, true);
        Drv->Pump();
    }
    TPoint Cur() const { return TPoint{Grid->Col(), Grid->Row()}; }
    void Key(Word vk, std::initializer_list<Word> mods = {})
    {
        Drv->PressKey(vk, mods);
        Drv->Pump();
    }
    // Opens the editor on a cell whose editor type is E (every cell asks).
    void Open(Integer c, Integer r, TEditorType e)
    {
        FType = e;
        Grid->OnGetEditorType = [this](TObject*, Integer, Integer, TEditorType& t) { t = FType; };
        At(c, r);
        Grid->ShowInplaceEdit();
        Drv->Pump();
    }
    TPoint Screen(TVodStringGrid* g, Integer c, Integer r, Integer dx = 10, Integer dy = 8)
    {
        const TRect cr = g->CellRect(c, r);
        return g->ClientToScreen(TPoint{cr.Left + dx, cr.Top + dy});
    }
    TEditorType FType = edNormal;
};

TEST_F(VodGridInputPaths, EnterEndingASpecialEditorAdvancesByTheNavigationSettings)
{
    Grid->Navigation()->SetAdvanceOnEnter(true);
    Grid->Navigation()->SetAdvanceAutoEdit(false);
    Open(1, 1, edEditBtn);
    Grid->BtnEdit()->SetText(L"new");
    Grid->DoneInplaceEdit(VK_RETURN, TShiftState());
    EXPECT_EQ(Grid->Cells(1, 1), L"new");
    EXPECT_EQ(Cur(), (TPoint{2, 1}));
    // Shift+Enter goes back; without AdvanceOnEnter the cell stays.
    Open(2, 1, edEditBtn);
    Grid->DoneInplaceEdit(VK_RETURN, TShiftState{ssShift});
    EXPECT_EQ(Cur(), (TPoint{1, 1}));
    Grid->Navigation()->SetAdvanceOnEnter(false);
    Open(3, 2, edEditBtn);
    Grid->DoneInplaceEdit(VK_RETURN, TShiftState());
    EXPECT_EQ(Cur(), (TPoint{3, 2}));
    EXPECT_FALSE(Grid->InEditMode());
}

TEST_F(VodGridInputPaths, EnterInTheTextEditorStoresAndAdvances)
{
    Grid->Navigation()->SetAdvanceOnEnter(true);
    Grid->Navigation()->SetAdvanceAutoEdit(false);
    At(1, 1);
    Drv->TypeText(L"xy");
    Drv->Pump();
    ASSERT_TRUE(Grid->EditorMode());
    Key(VK_RETURN);
    EXPECT_EQ(Grid->Cells(1, 1), L"xy");
    EXPECT_EQ(Cur(), (TPoint{2, 1}));
}

TEST_F(VodGridInputPaths, EscapeAtTheGridRestoresTheValueFromBeforeTheEdit)
{
    Grid->SetCells(2, 2, L"start");
    Open(2, 2, edComboEdit);
    ASSERT_TRUE(Grid->InEditMode());
    // Text copied into the cell while the edit ran.
    Grid->SetCells(2, 2, L"typed");
    wchar_t esc = 27;
    Grid->KeyPress(esc);
    EXPECT_EQ(Grid->Cells(2, 2), L"start");
    Grid->HideInplaceEdit();
    // Without an edit Escape leaves the cell alone.
    Grid->SetCells(2, 2, L"kept");
    esc = 27;
    Grid->KeyPress(esc);
    EXPECT_EQ(Grid->Cells(2, 2), L"kept");
}

TEST_F(VodGridInputPaths, TheAdvanceAsksOnCellChangingAndARefusalKeepsTheCell)
{
    Grid->Navigation()->SetAdvanceOnEnter(true);
    Grid->Navigation()->SetAdvanceAutoEdit(false);
    std::vector<std::string> asked;
    bool allow = false;
    Grid->OnCellChanging = [&](TObject*, Integer oldRow, Integer oldCol, Integer newRow, Integer newCol, bool& Allow) {
        asked.push_back(std::to_string(oldCol) + "," + std::to_string(oldRow) + ">" + std::to_string(newCol) + "," +
                        std::to_string(newRow));
        Allow = allow;
    };
    At(1, 1);
    asked.clear();
    Grid->AdvanceToNextCell(1, 1, false, false, true, false, false);
    EXPECT_EQ(Cur(), (TPoint{1, 1}));
    EXPECT_EQ(asked, std::vector<std::string>{"1,1>2,1"});
    allow = true;
    asked.clear();
    Grid->AdvanceToNextCell(1, 1, false, false, true, false, false);
    EXPECT_EQ(Cur(), (TPoint{2, 1}));
    EXPECT_EQ(asked, std::vector<std::string>{"1,1>2,1"});
}

TEST_F(VodGridInputPaths, ATabIntoTheNextRowAsksEachChangingEventOnce)
{
    Grid->SetOptions(Grid->Options() + TGridOptions{goTabs});
    Grid->Navigation()->SetAdvanceAutoEdit(false);
    Integer rows = 0, cells = 0, cols = 0;
    bool allow = true;
    Grid->OnRowChanging = [&](TObject*, Integer, Integer, bool&) { ++rows; };
    Grid->OnColChanging = [&](TObject*, Integer, Integer, bool&) { ++cols; };
    Grid->OnCellChanging = [&](TObject*, Integer, Integer, Integer, Integer, bool& Allow) {
        ++cells;
        Allow = allow;
    };
    At(4, 1);
    rows = cells = cols = 0;
    Key(VK_TAB);
    EXPECT_EQ(Cur(), (TPoint{1, 2}));
    EXPECT_EQ(rows, 1);
    EXPECT_EQ(cells, 1);
    EXPECT_EQ(cols, 1);
    // One refusal, by any of the three, keeps the cell.
    At(4, 2);
    allow = false;
    Key(VK_TAB);
    EXPECT_EQ(Cur(), (TPoint{4, 2}));
}

TEST_F(VodGridInputPaths, TheCharacterThatOpensASpecialEditorReachesIt)
{
    Grid->SetCells(2, 2, L"old");
    FType = edEditBtn;
    Grid->OnGetEditorType = [this](TObject*, Integer, Integer, TEditorType& t) { t = FType; };
    At(2, 2);
    SendMessage(Grid->Handle(), WM_CHAR, WPARAM(L'q'), 0);
    Drv->Pump();
    ASSERT_TRUE(Grid->InEditMode());
    EXPECT_NE(Grid->BtnEdit()->Text().find(L'q'), String::npos);
    Grid->HideInplaceEdit();
}

TEST_F(VodGridInputPaths, ClipboardKeysCopyCutAndPasteTheSelection)
{
    Clipboard()->Clear();
    Grid->Navigation()->SetAllowClipboardShortCuts(true);
    Grid->SetCells(1, 1, L"a");
    Grid->SetCells(2, 1, L"b");
    Grid->SetSelection(TGridRect{1, 1, 2, 1});
    Key('C', {VK_CONTROL});
    String text;
    ASSERT_TRUE(GetClipboardText(text));
    EXPECT_EQ(text.substr(0, 3), L"a\tb");
    At(1, 3);
    Key('V', {VK_CONTROL});
    EXPECT_EQ(Grid->Cells(1, 3), L"a");
    EXPECT_EQ(Grid->Cells(2, 3), L"b");
    // A paste leaves the cells the application declares fixed alone.
    Grid->OnIsFixedCell = [](TObject*, Integer ARow, Integer ACol, bool& IsFixed) {
        IsFixed = ACol == 2 && ARow == 4;
    };
    At(1, 4);
    Key(VK_INSERT, {VK_SHIFT});
    EXPECT_EQ(Grid->Cells(1, 4), L"a");
    EXPECT_EQ(Grid->Cells(2, 4), L"");
    Grid->OnIsFixedCell = nullptr;
    // Shift+Delete cuts; a refusing handler keeps the cells.
    Grid->SetSelection(TGridRect{2, 3, 2, 3});
    bool allow = false;
    Grid->OnClipboardCut = [&](TObject*, bool& Allow) { Allow = allow; };
    Key(VK_DELETE, {VK_SHIFT});
    EXPECT_EQ(Grid->Cells(2, 3), L"b");
    allow = true;
    Key(VK_DELETE, {VK_SHIFT});
    EXPECT_EQ(Grid->Cells(2, 3), L"");
    ASSERT_TRUE(GetClipboardText(text));
    EXPECT_EQ(text.substr(0, 1), L"b");
    // Switched off, the keys reach nothing.
    Grid->Navigation()->SetAllowClipboardShortCuts(false);
    Grid->SetSelection(TGridRect{1, 1, 1, 1});
    Key('C', {VK_CONTROL});
    ASSERT_TRUE(GetClipboardText(text));
    EXPECT_EQ(text.substr(0, 1), L"b");
}

TEST_F(VodGridInputPaths, AGrownSelectionGetsTheCellsItStartedWithAlsoWithoutEditing)
{
    Grid->SetOptions(Grid->Options() - TGridOptions{goEditing});
    Grid->SetSelectionRectangle(true);
    Grid->SetSelectionResizer(true);
    Grid->Navigation()->SetAllowSmartClipboard(true);
    Grid->SetCells(1, 1, L"7");
    At(1, 1);
    const TRect cr = Grid->CellRect(1, 1);
    const TPoint grip = Grid->ClientToScreen(TPoint{cr.Right - 2, cr.Bottom - 2});
    Drv->Advance(1000);
    Drv->MouseMove(grip);
    Drv->MouseDown(grip);
    Drv->MouseMove(Screen(Grid, 1, 2));
    Drv->MouseMove(Screen(Grid, 1, 3));
    Drv->MouseUp(Screen(Grid, 1, 3));
    Drv->Pump();
    EXPECT_EQ(Grid->Cells(1, 2), L"7");
    EXPECT_EQ(Grid->Cells(1, 3), L"7");
    EXPECT_FALSE(Grid->Options().Contains(goEditing));
}

TEST_F(VodGridInputPaths, AnOleDragMovesTheSelectedCellsIntoAnotherGrid)
{
    auto* target = new TVodStringGrid(Form);
    target->SetParent(Form);
    target->SetBorderStyle(bsNone);
    target->SetScrollBars(ssNone);
    target->SetBounds(0, 150, 320, 120);
    target->SetDefaultColWidth(50);
    target->SetDefaultRowHeight(20);
    target->SetColCount(5);
    target->SetRowCount(5);
    target->SetOptions(target->Options() + TGridOptions{goEditing});
    target->HandleNeeded();
    target->DragDropSettings()->SetOleDropTarget(true);
    ASSERT_TRUE(target->OleDropTargetAssigned());
    Drv->Pump();
    // Without editing a press on the current cell opens no editor.
    Grid->SetOptions(Grid->Options() - TGridOptions{goEditing});
    Grid->DragDropSettings()->OleDropSource = true;
    Grid->SetCells(2, 2, L"moved");
    At(2, 2);
    Drv->Advance(1000);
    Drv->ClickWindow(Grid->Handle(), TPoint{Grid->CellRect(2, 2).Left + 10, Grid->CellRect(2, 2).Top + 8});
    Drv->Pump();
    const TPoint drop = Screen(target, 3, 3);
    Integer stops = 0, effect = -1;
    // Input the drag loop takes: a move over the target, and the release
    // once the target has seen the drag.
    Grid->OnOleDragStart = [&](TObject*, Integer, Integer) { WmMouseInput(WM_MOUSEMOVE, drop); };
    target->OnOleDragOver = [&](TObject*, Integer, Integer, bool&) { WmMouseInput(WM_LBUTTONUP, drop); };
    Grid->OnOleDragStop = [&](TObject*, Integer e) {
        ++stops;
        effect = e;
    };
    Drv->Advance(1000);
    const TPoint p = Screen(Grid, 2, 2);
    Drv->MouseDown(p);
    Drv->MouseMove(TPoint{p.X + 6, p.Y});
    Drv->Pump();
    EXPECT_EQ(target->Cells(3, 3), L"moved");
    EXPECT_EQ(stops, 1);
    EXPECT_EQ(effect, Integer(DROPEFFECT_MOVE));
    EXPECT_EQ(Grid->Cells(2, 2), L"");
    EXPECT_EQ(Grid->MoveForm(), nullptr);
    EXPECT_EQ(GetCapture(), nullptr);
    // With copies forced the source keeps its cell.
    Grid->DragDropSettings()->OleCopyAlways = true;
    Grid->SetCells(2, 2, L"again");
    Drv->Advance(1000);
    Drv->MouseDown(p);
    Drv->MouseMove(TPoint{p.X + 6, p.Y});
    Drv->Pump();
    EXPECT_EQ(target->Cells(3, 3), L"again");
    EXPECT_EQ(Grid->Cells(2, 2), L"again");
}

TEST_F(VodGridInputPaths, ALinksTabMovesOnAndReopensTheEditorThere)
{
    auto* link = new TTextLink(Form);
    Grid->SetEditLink(link);
    Grid->SetOptions(Grid->Options() + TGridOptions{goTabs});
    Grid->Navigation()->SetTabToNextAtEnd(true);
    Grid->Navigation()->SetAdvanceAutoEdit(false);
    Open(1, 1, edCustom);
    ASSERT_TRUE(Grid->InEditMode());
    Word k = VK_TAB;
    link->EditKeyDown(link->Edit, k, TShiftState());
    EXPECT_EQ(k, 0);
    EXPECT_EQ(Cur(), (TPoint{2, 1}));
    Drv->Pump();
    EXPECT_TRUE(Grid->InEditMode());
    Grid->HideInplaceEdit();
}

TEST_F(VodGridInputPaths, TheFocusFrameRingsTheEditedCellUntilTheEditEnds)
{
    Grid->FocusHelper()->SetEnabled(true);
    auto frameShown = [&] {
        return Grid->FocusWindow() && Grid->FocusWindow()->HandleAllocated() &&
               IsWindowVisible(Grid->FocusWindow()->Handle());
    };
    Open(1, 1, edEditBtn);
    EXPECT_TRUE(frameShown());
    Grid->HideInplaceEdit();
    Drv->Pump();
    EXPECT_FALSE(frameShown());
}

TEST_F(VodGridInputPaths, TheFixedCellEditorOpensOnlyOnAFixedCell)
{
    Grid->SetCells(2, 0, L"Head");
    EXPECT_THROW(Grid->ShowFixedInplaceEdit(2, 2), Exception);
    ASSERT_TRUE(Grid->FixedEdit());
    EXPECT_FALSE(Grid->FixedEdit()->Visible());
    Grid->ShowFixedInplaceEdit(2, 0);
    EXPECT_TRUE(Grid->FixedEdit()->Visible());
    EXPECT_EQ(Grid->FixedEdit()->Text(), L"Head");
}

TEST_F(VodGridInputPaths, AutoSizingMeasuresTheCellsTextAndGraphic)
{
    const String text = L"abcdefghijklmnopqrstuvwx";
    Grid->SetCells(1, 1, text);
    Grid->AutoSizeCol(1);
    const Integer tw = Grid->Canvas()->TextWidth(text);
    EXPECT_GE(Grid->ColWidths(1), tw);
    EXPECT_LE(Grid->ColWidths(1), tw + 16);
    // A check box alone still needs its room.
    Grid->AddCheckBox(2, 1, false);
    Grid->AutoSizeCol(2);
    EXPECT_GE(Grid->ColWidths(2), 13);
    // Three lines make a row three lines high.
    Grid->SetMultilinecells(true);
    Grid->SetCells(3, 2, L"one\r\ntwo\r\nthree");
    Grid->AutoSizeRow(2);
    EXPECT_GE(Grid->RowHeights(2), 3 * Grid->Canvas()->TextHeight(L"gh"));
    // Switching AutoSize on sizes every column.
    Grid->SetCells(4, 3, text);
    Grid->SetAutoSize(true);
    EXPECT_GE(Grid->ColWidths(4), tw + 10);
}

TEST_F(VodGridInputPaths, ANodeRowShowsTheCountOfItsGroupsRows)
{
    Grid->SetRowCount(8);
    Grid->SetCells(1, 1, L"Fruit");
    Grid->SetCells(1, 5, L"Nuts");
    Grid->AddNode(1, 4);
    Grid->AddNode(5, 2);
    EXPECT_EQ(Grid->Cells(1, 1), L"Fruit");
    Grid->Grouping()->SetShowGroupCount(true);
    EXPECT_EQ(Grid->GetCellEx(1, 1), L"Fruit (3)");
    EXPECT_EQ(Grid->GetCellEx(1, 5), L"Nuts (1)");
    EXPECT_EQ(Grid->GetCellEx(2, 1), L"");
    Grid->Grouping()->SetGroupCountFormat(L" [%d]");
    EXPECT_EQ(Grid->GetCellEx(1, 1), L"Fruit [3]");
    // A pattern that does not take one integer keeps the plain form.
    Grid->Grouping()->SetGroupCountFormat(L" %s");
    EXPECT_EQ(Grid->GetCellEx(1, 1), L"Fruit (3)");
}

}  // namespace
