#include "controls/dropdown/GridDropDown.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/base/SysUtils.h"
#include "platform/gfx/Gdi.h"
#include "platform/gfx/ImageList.h"

using namespace GridDropDownList;

namespace {

// The object of column 0 holds an item index.
TObject* ItemTag(Integer Item) { return reinterpret_cast<TObject*>(static_cast<intptr_t>(Item)); }
Integer TagItem(TObject* O) { return Integer(reinterpret_cast<intptr_t>(O)); }

bool IsNavKey(Word Key)
{
    return Key == VK_PRIOR || Key == VK_NEXT || Key == VK_END || Key == VK_HOME || Key == VK_UP || Key == VK_DOWN;
}

}  // namespace

// ---------------------------------------------------------------------------
// Items

TDropDownItem::TDropDownItem(TCollection* Collection)
    : TCollectionItem(Collection), FText(std::make_unique<TStringList>())
{
}

TDropDownItem::~TDropDownItem() = default;

void TDropDownItem::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TDropDownItem*>(Source);
    if (!s) {
        TCollectionItem::Assign(Source);
        return;
    }
    FImageIndex = s->FImageIndex;
    FText->Assign(s->FText.get());
}

void TDropDownItem::SetText(TStrings* v) { FText->Assign(v); }

String TDropDownItem::ColumnText(Integer Column) const
{
    if (Column < 0 || Column >= FText->Count()) return String();
    return FText->Strings(Column);
}

// ---------------------------------------------------------------------------
// The list grid

TVodColGrid::TVodColGrid(TComponent* AOwner)
    : TVodStringGrid(AOwner),
      FColumns(std::make_unique<TDropDownColumns>(this)),
      FHeaderFont(std::make_unique<TFont>())
{
    SetFixedRowAlways(true);
    SetFixedRows(1);
    SetFixedCols(0);
    TGridOptions o = Options();
    o.Exclude(goRangeSelect);
    o.Include(goHorzLine).Include(goRowSelect);
    SetOptions(o);
    SetCtl3D(false);
    SetBorderStyle(bsNone);
}

TVodColGrid::~TVodColGrid() = default;

void TVodColGrid::SetOwnGridLineWidth(Integer v)
{
    FOwnGridLineWidth = v;
    SetGridLineWidth(0);
}

void TVodColGrid::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case WM_GETDLGCODE: M.Result = 3; return;
    case WM_CHAR:
        // Enter was handled as a key.
        if (M.WParam == VK_RETURN) {
            M.Result = 1;
            return;
        }
        break;
    case WM_KEYDOWN:
        if (M.WParam == VK_TAB) return;
        break;
    default: break;
    }
    TVodStringGrid::Dispatch(M);
}

void TVodColGrid::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    FConfirm = true;
    FMouseRow = Row();
    TVodStringGrid::MouseDown(Button, Shift, X, Y);
}

void TVodColGrid::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    TVodStringGrid::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    Integer c = -1, r = -1;
    MouseToCell(X, Y, c, r);
    if (c < 0 || r < FixedRows() || r >= RowCount() - FixedFooters()) return;
    if (HasCheckBox(c, r)) return;
    if (OnSelect) OnSelect(this);
}

void TVodColGrid::KeyDown(Word& Key, TShiftState Shift)
{
    if (Shift.Contains(ssAlt) && (Key == VK_UP || Key == VK_DOWN)) {
        if (DropDown && DropDown->HandleAllocated()) SendMessage(DropDown->Handle(), WM_KEYDOWN, Key, 0);
        Key = 0;
        return;
    }
    if (Key == VK_RETURN) {
        // The grid's own handling gets no key; the row is taken.
        Word none = 0;
        TVodStringGrid::KeyDown(none, Shift);
        if (OnSelect) OnSelect(this);
        Key = 0;
        return;
    }
    TVodStringGrid::KeyDown(Key, Shift);
}

bool TVodColGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    FConfirm = false;
    FWheelSel = true;
    const bool r = TVodStringGrid::DoMouseWheelDown(Shift, MousePos);
    FWheelSel = false;
    return r;
}

bool TVodColGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    FConfirm = false;
    FWheelSel = true;
    const bool r = TVodStringGrid::DoMouseWheelUp(Shift, MousePos);
    FWheelSel = false;
    return r;
}

// ---------------------------------------------------------------------------
// Construction

TCustomVodGridDropDown::TCustomVodGridDropDown(TComponent* AOwner)
    : TVodCustomDropDown(AOwner),
      FHeaderFont(std::make_unique<TFont>()),
      FColumns(std::make_unique<TDropDownColumns>(this)),
      FSearchFooter(std::make_unique<TSearchFooter>(this, false)),
      FMouseActions(std::make_unique<TMouseActions>(this)),
      FNavigation(std::make_unique<TNavigation>()),
      FBands(std::make_unique<TBands>())
{
    FItems = CreateItems();
    FDropDownColor = clWhite;
    FDropDownHeight = 200;
    FNavigation->SetHomeEndKey(heFirstLastRow);
    SetAutoSelect(true);
}

TCustomVodGridDropDown::~TCustomVodGridDropDown() { delete FItems; }

TCustomVodGridDropDown::TDropDownItems* TCustomVodGridDropDown::CreateItems() { return new TDropDownItems(this); }

Integer TCustomVodGridDropDown::GetVersionNr() { return 0x06000202; }

void TCustomVodGridDropDown::SetStyle(TDropDownStyle v)
{
    FStyle = v;
    SetEditorEnabled(v == dsDropDown);
}

void TCustomVodGridDropDown::SetGridImages(TCustomImageList* v)
{
    if (FGridImages == v) return;
    if (FGridImages) FGridImages->RemoveFreeNotification(this);
    FGridImages = v;
    if (FGridImages) FGridImages->FreeNotification(this);
    if (FGrid) FGrid->SetGridImages(v);
}

void TCustomVodGridDropDown::Notification(TComponent* AComponent, TOperation Operation)
{
    TVodCustomDropDown::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FGridImages) {
        FGridImages = nullptr;
        if (FGrid) FGrid->SetGridImages(nullptr);
    }
    if (AComponent == FGrid) FGrid = nullptr;
}

String TCustomVodGridDropDown::LookupText(Integer Item) const
{
    if (Item < 0 || Item >= FItems->Count()) return String();
    return FItems->Items(Item)->ColumnText(FLookupColumn);
}

String TCustomVodGridDropDown::RowLookupText(Integer Row) const
{
    if (!FGrid || Row < 0 || Row >= FGrid->RowCount() || FLookupColumn < 0 || FLookupColumn >= FGrid->ColCount())
        return String();
    return FGrid->Cells(FLookupColumn, Row);
}

String TCustomVodGridDropDown::CaseAdjust(const String& S) const { return FCaseSensitive ? S : AnsiUpperCase(S); }

void TCustomVodGridDropDown::BuildLookupList()
{
    // Without a lookup column or items the previous entries stay.
    if (FLookupColumn < 0 || FItems->Count() == 0) return;
    FLookupList.clear();
    FLookupList.reserve(size_t(FItems->Count()));
    for (Integer i = 0; i < FItems->Count(); ++i) FLookupList.push_back(LookupText(i));
    FIndex.Clear();
}

const MultiColDropDown::TLookupIndex& TCustomVodGridDropDown::Index()
{
    if (!FIndex.Built() || FIndex.CaseSensitive() != FCaseSensitive) FIndex.Build(FLookupList, FCaseSensitive);
    return FIndex;
}

void TCustomVodGridDropDown::Loaded()
{
    TVodCustomDropDown::Loaded();
    BuildLookupList();
    if (FGrid && FUseItems) FillCells();
}

// ---------------------------------------------------------------------------
// Items and rows

Integer TCustomVodGridDropDown::ItemOfRow(Integer Row) const
{
    if (!FGrid || Row < 0 || Row >= FGrid->RowCount() || !FUseItems) return Row;
    return TagItem(FGrid->GetObjectEx(0, Row));
}

Integer TCustomVodGridDropDown::RowOfItem(Integer Item) const
{
    if (!FGrid || Item < 0) return -1;
    if (!FUseItems) {
        const Integer r = Item + FGrid->FixedRows();
        return r < FGrid->RowCount() ? r : -1;
    }
    const Integer last = FGrid->RowCount() - FGrid->FixedFooters();
    for (Integer r = FGrid->FixedRows(); r < last; ++r)
        if (TagItem(FGrid->GetObjectEx(0, r)) == Item) return r;
    return -1;
}

void TCustomVodGridDropDown::SetItemIndex(Integer v)
{
    if (FUseItems) {
        if (v >= FItems->Count()) return;
        FItemIndex = v;
        String t;
        if (v >= 0 && FLookupColumn >= 0 && FLookupColumn < FItems->Items(v)->Text()->Count())
            t = FItems->Items(v)->Text()->Strings(FLookupColumn);
        SetText(t);
        return;
    }
    if (!FGrid) {
        FItemIndex = v;
        return;
    }
    if (v == FItemIndex || v >= FGrid->RowCount()) return;
    FItemIndex = v;
    SetText(v < 0 ? String() : RowLookupText(v + FGrid->FixedRows()));
}

// ---------------------------------------------------------------------------
// Styles

void TCustomVodGridDropDown::SetSelectionColorStyle(TSelectionColorStyle AStyle)
{
    switch (AStyle) {
    case scOffice2007:
        FLineColor = TColor(0xF1EDEB);
        FFixedLineColor = TColor(0xD1BBA4);
        FSelectionColor = TColor(0x5EC1F1);
        break;
    case scWindowsVista:
    case scWindows7:
        FSelectionColor = TColor(0xEACAB6);
        FLineColor = TColor(0xECECF0);
        FFixedLineColor = TColor(0xD4D2D1);
        break;
    case scCustom: break;
    }
    TVodCustomDropDown::SetSelectionColorStyle(AStyle);
}

void TCustomVodGridDropDown::SetComponentStyle(TQelStyle AStyle)
{
    TVodCustomDropDown::SetComponentStyle(AStyle);
    if (AStyle == tsCustom) return;
    using namespace MultiColDropDown;
    const TListStyleRow row = ListStyleRow(AStyle);
    FHeaderColor = row.Header;
    FHeaderColorTo = row.HeaderTo;
    if (row.Font != ListStyleKeep) FHeaderFont->SetColor(row.Font);
    SetSelectionColorStyle(row.Sel);
    FLineColor = row.Line;
    FFixedLineColor = row.FixedLine;
    if (row.Selection != ListStyleKeep) {
        FSelectionColor = row.Selection;
        FSelectionColorTo = row.Selection;
    }
    FSelectionTextColor = row.SelText;
}

// ---------------------------------------------------------------------------
// The window

void TCustomVodGridDropDown::CreateDropDownForm()
{
    TVodCustomDropDown::CreateDropDownForm();
    if (!FDropDownForm || FGrid) return;
    FGrid = CreateGrid<TVodColGrid>(this);
    FGrid->SetParent(FDropDownForm);
    FGrid->DropDown = this;
    FGrid->SetBounds(0, 0, FGrid->Width(), 180);
    FGrid->SetColor(DropDownColor());
    FGrid->SetDoubleBuffered(true);
    FGrid->Navigation()->SetHomeEndKey(heFirstLastRow);
    FGrid->MouseActions()->SetNoAutoRangeScroll(true);
}

void TCustomVodGridDropDown::PlaceDropDownControl()
{
    if (FGrid && FControl != FGrid) {
        SetControl(FGrid);
        return;
    }
    TVodCustomDropDown::PlaceDropDownControl();
}

void TCustomVodGridDropDown::AutoSizeItemColumns()
{
    if (!FGrid || !FDropDownForm || FGrid->Parent() != FDropDownForm) return;
    HDC dc = CreateScreenIC();
    TCanvas c;
    c.SetHandle(dc);
    auto width = [&](const String& s) {
        RECT r{0, 0, 1000, 500};
        DrawTextStr(c.Handle(), s, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        return Integer(r.Right - r.Left);
    };
    for (Integer i = 0; i < FColumns->Count(); ++i) {
        TDropDownColumn* col = FColumns->Items(i);
        if (!col->AutoSize()) continue;
        c.Font()->Assign(col->Font());
        Integer w = width(col->Header()) + 6;
        for (Integer r = 0; r < FItems->Count(); ++r) {
            TDropDownItem* it = FItems->Items(r);
            const Integer iw =
                col->ColumnType() == ctImage && it->ImageIndex() >= 0 && Images() ? Images()->Width() + 4 : 0;
            w = std::max(w, iw + width(it->ColumnText(i)) + 6);
        }
        col->SetWidth(w);
        if (i < FGrid->FColumns->Count()) FGrid->FColumns->Items(i)->SetWidth(w);
        if (i < FGrid->ColCount()) FGrid->SetColWidths(i, w);
    }
    c.SetHandle(nullptr);
    DeleteDC(dc);
}

void TCustomVodGridDropDown::WordWrapRowHeights()
{
    if (!FGrid || !FDropDownForm || FGrid->Parent() != FDropDownForm || !FUseItems) return;
    bool any = false;
    for (Integer i = 0; i < FColumns->Count(); ++i) any = any || FColumns->Items(i)->Wordwrap();
    if (!any) return;
    HDC dc = CreateScreenIC();
    TCanvas c;
    c.SetHandle(dc);
    for (Integer r = 0; r < FItems->Count() && r + 1 < FGrid->RowCount(); ++r) {
        TDropDownItem* it = FItems->Items(r);
        Integer h = 24;
        for (Integer i = 0; i < FColumns->Count() && i < FGrid->ColCount(); ++i) {
            TDropDownColumn* col = FColumns->Items(i);
            if (!col->Wordwrap()) continue;
            c.Font()->Assign(col->Font());
            RECT rc{0, 0, FGrid->ColWidths(i), 0};
            DrawTextStr(c.Handle(), it->ColumnText(i), &rc, DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
            Integer th = Integer(rc.Bottom - rc.Top) + 6;
            if (col->ColumnType() == ctImage && it->ImageIndex() >= 0 && Images())
                th = std::max(th, Images()->Height() + 6);
            h = std::max(h, th);
        }
        FGrid->SetRowHeights(r + 1, h);
    }
    c.SetHandle(nullptr);
    DeleteDC(dc);
}

void TCustomVodGridDropDown::FillCells()
{
    TVodColGrid* g = FGrid;
    g->BeginUpdate();
    g->SetRowCount(FItems->Count() + 1);
    g->SetFixedRows(1);
    if (g->ColCount() != FColumns->Count() && FColumns->Count() > 0) g->SetColCount(FColumns->Count());
    for (Integer c = 0; c < g->ColCount(); ++c)
        g->SetCells(c, 0, c < FColumns->Count() ? FColumns->Items(c)->Header() : String());
    g->SetObjectEx(0, 0, ItemTag(-1));
    for (Integer i = 0; i < FItems->Count(); ++i) {
        TDropDownItem* it = FItems->Items(i);
        for (Integer c = 0; c < g->ColCount(); ++c) g->SetCells(c, i + 1, it->ColumnText(c));
        g->SetObjectEx(0, i + 1, ItemTag(i));
    }
    g->EndUpdate();
    if (FItemIndex >= 0 && FItemIndex + 1 < g->RowCount()) g->SetRow(FItemIndex + 1);
}

void TCustomVodGridDropDown::WireGridEvents()
{
    TVodColGrid* g = FGrid;
    g->OnAnchorClick = [this](TObject* s, Integer r, Integer c, const String& a, bool& h) {
        DoGridAnchorClick(s, r, c, a, h);
    };
    g->OnAnchorEnter = [this](TObject* s, Integer r, Integer c, const String& a) { DoGridAnchorEnter(s, r, c, a); };
    g->OnAnchorExit = [this](TObject* s, Integer r, Integer c, const String& a) { DoGridAnchorExit(s, r, c, a); };
    g->OnAnchorHint = [this](TObject* s, Integer r, Integer c, String& a) { DoGridAnchorHint(s, r, c, a); };
    g->OnButtonClick = [this](TObject* s, Integer c, Integer r) { DoGridButtonClick(s, c, r); };
    // Sorting by a header click keeps the choice: the item is remembered
    // before and its row made current after.
    g->OnCanSort = [this](TObject*, Integer, bool&) { FSortItem = FItemIndex; };
    g->OnClickSort = [this](TObject*, Integer c) {
        const Integer r = RowOfItem(FSortItem);
        if (FGrid && r >= 0) {
            FGrid->SetRow(r);
            FSelectedRow = r;
        }
        if (OnGridClickSort) OnGridClickSort(this, c);
    };
    // (The custom and raw comparisons are not wired: they would replace the
    // grid's own sorting.)
    g->OnColumnSize = [this](TObject* s, Integer c, bool& a) { DoGridColumnSize(s, c, a); };
    g->OnColumnSizing = [this](TObject* s, Integer c, Integer w) { DoGridColumnSizing(s, c, w); };
    g->OnEndColumnSize = [this](TObject* s, Integer c) { DoGridEndColumnSize(s, c); };
    g->OnRowSize = [this](TObject* s, Integer r, bool& a) { DoGridRowSize(s, r, a); };
    g->OnRowSizing = [this](TObject* s, Integer r, Integer h) { DoGridRowSizing(s, r, h); };
    g->OnEndRowSize = [this](TObject* s, Integer r) { DoGridEndRowSize(s, r); };
    g->OnRowMove = [this](TObject* s, Integer r, bool& a) { DoGridRowMove(s, r, a); };
    g->OnRowMoving = [this](TObject* s, Integer r, bool& a) { DoGridRowMoving(s, r, a); };
    g->OnRowMoved = [this](TObject* s, Integer f, Integer t) { DoGridRowMoved(s, f, t); };
    g->OnColumnMove = [this](TObject* s, Integer c, bool& a) { DoGridColumnMove(s, c, a); };
    g->OnColumnMoving = [this](TObject* s, Integer c, bool& a) { DoGridColumnMoving(s, c, a); };
    g->OnColumnMoved = [this](TObject* s, Integer f, Integer t) { DoGridColumnMoved(s, f, t); };
    // Custom drawing costs the grid its default path: only when asked for.
    g->OnCustomCellDraw = nullptr;
    g->OnCustomCellBkgDraw = nullptr;
    if (OnGridCustomCellDraw)
        g->OnCustomCellDraw = [this](TObject* s, TCanvas* cv, Integer c, Integer r, TGridDrawState st, TRect rc,
                                     bool p) { DoGridCustomCellDraw(s, cv, c, r, st, rc, p); };
    if (OnGridCustomCellBkgDraw)
        g->OnCustomCellBkgDraw = [this](TObject* s, TCanvas* cv, Integer c, Integer r, TGridDrawState st, TRect rc,
                                        bool p) { DoGridCustomCellBkgDraw(s, cv, c, r, st, rc, p); };
    g->OnCellBalloon = [this](TObject* s, Integer c, Integer r, String& t, String& x, Integer& i) {
        DoGridCellBalloon(s, c, r, t, x, i);
    };
    g->OnGetAlignment = [this](TObject* s, Integer r, Integer c, TAlignment& h, TVAlignment& v) {
        DoGridGetAlignment(s, r, c, h, v);
    };
    g->OnGetCellColor = [this](TObject* s, Integer r, Integer c, TGridDrawState st, TBrush* b, TFont* f) {
        DoGridGetCellColor(s, r, c, st, b, f);
    };
    g->OnGetCellGradient = [this](TObject* s, Integer r, Integer c, TColor& a, TColor& b, TColor& m, TColor& mt,
                                  TCellGradientDirection& d) { DoGridGetCellGradient(s, r, c, a, b, m, mt, d); };
    g->OnGetFloatFormat = [this](TObject* s, Integer c, Integer r, bool& f, String& fmt) {
        DoGridGetFloatFormat(s, c, r, f, fmt);
    };
    g->OnGetEditorType = [this](TObject* s, Integer c, Integer r, TEditorType& e) { DoGridGetEditorType(s, c, r, e); };
    g->OnGetEditorProp = [this](TObject* s, Integer c, Integer r, TObject* l) { DoGridGetEditorProp(s, c, r, l); };
    g->OnCanEditCell = [this](TObject* s, Integer r, Integer c, bool& e) { DoGridCanEditCell(s, r, c, e); };
    g->OnEllipsClick = [this](TObject* s, Integer c, Integer r, String& t) { DoGridEllipsClick(s, c, r, t); };
    g->OnGetDisplText = [this](TObject* s, Integer c, Integer r, String& v) { DoGridGetDisplText(s, c, r, v); };
    g->OnGetFormat = [this](TObject* s, Integer c, TSortStyle& st, String& p, String& x) {
        DoGridGetFormat(s, c, st, p, x);
    };
    g->OnGridHint = [this](TObject* s, Integer r, Integer c, String& h) { DoGridHint(s, r, c, h); };
    g->OnOfficeHint = [this](TObject* s, Integer c, Integer r, TVodHintInfo* h) { DoGridOfficeHint(s, c, r, h); };
    g->OnMouseMove = [this](TObject* s, TShiftState sh, Integer x, Integer y) { DoGridMouseMove(s, sh, x, y); };
    g->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, Integer x, Integer y) {
        DoGridMouseDown(s, b, sh, x, y);
    };
    g->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, Integer x, Integer y) {
        DoGridMouseUp(s, b, sh, x, y);
    };
    // (The key events are the base's list keys, which fire OnGridKeyDown,
    // OnGridKeyUp and OnGridKeyPress with the drop-down as Sender.)
    g->OnRightClickCell = [this](TObject* s, Integer r, Integer c) { DoGridRightClickCell(s, r, c); };
    g->OnScrollHint = [this](TObject* s, Integer r, String& h) { DoGridScrollHint(s, r, h); };
    g->OnTopLeftChanged = [this](TObject* s) { DoGridTopLeftChanged(s); };
    // Dormant: DoGridSearchEditChange is wired once the grid raises a change
    // of its search footer's edit (the search footer family); the spin
    // click is not wired.
    g->OnAutoAddRow = [this](TObject* s, Integer r) { DoGridAutoAddRow(s, r); };
    g->OnAutoInsertRow = [this](TObject* s, Integer r) { DoGridAutoInsertRow(s, r); };
    g->OnAutoInsertCol = [this](TObject* s, Integer c) { DoGridAutoInsertCol(s, c); };
    g->OnAutoDeleteRow = [this](TObject* s, Integer r) { DoGridAutoDeleteRow(s, r); };
    g->OnCanAddRow = [this](TObject* s, bool& a) { DoGridCanAddRow(s, a); };
    g->OnCanInsertRow = [this](TObject* s, Integer r, bool& a) { DoGridCanInsertRow(s, r, a); };
    g->OnCanDeleteRow = [this](TObject* s, Integer r, bool& a) { DoGridCanDeleteRow(s, r, a); };
    g->OnCheckBoxClick = [this](TObject* s, Integer c, Integer r, bool st) {
        if (OnGridCheckBoxClick) OnGridCheckBoxClick(s, c, r, st);
    };
    // A dialog of the list (its start of blocking focus) keeps the window;
    // its end lets deactivation close it again.
    g->OnStartBlockFocus = [](TObject*) {};
    g->OnEndBlockFocus = [this](TObject*) {
        if (FDropDownForm) FDropDownForm->SetBlockActivate(false);
    };
    g->OnSelect = [this](TObject* s) { ListSelect(s); };
    g->OnSelectCell = [this](TObject*, Integer c, Integer r, bool& can) { ListSelectCell(c, r, can); };
}

void TCustomVodGridDropDown::PrepareList()
{
    TVodColGrid* g = FGrid;
    g->DropDown = this;
    // 2. The configuration.
    g->FColumns->Assign(FColumns.get());
    if (g->ColCount() < FColumns->Count()) g->SetColCount(FColumns->Count());
    if (FUseItems) g->SetRowCount(FItems->Count() + 1);
    for (Integer i = 0; i < FColumns->Count() && i < g->ColCount(); ++i) g->SetColWidths(i, FColumns->Items(i)->Width());
    g->LineColor = FLineColor;
    g->FixedLineColor = FFixedLineColor;
    g->SetGridLineColor(FLineColor);
    g->SetGridFixedLineColor(FFixedLineColor);
    g->HeaderColor = FHeaderColor;
    g->HeaderColorTo = FHeaderColorTo;
    g->HeaderHeight = FHeaderHeight;
    g->FHeaderFont->Assign(FHeaderFont.get());
    g->FixedFont()->Assign(FHeaderFont.get());
    g->SetHoverRow(FHoverRow);
    g->SetHoverRowColor(FHoverRowColor);
    g->SetHoverRowColorTo(FHoverRowColorTo);
    g->Images = Images();
    if (FDropDownRowHeight > 0) g->SetDefaultRowHeight(FDropDownRowHeight);
    g->SetRowHeights(0, std::max(1, FHeaderHeight));
    TGridOptions o = g->Options();
    auto opt = [&](TGridOption x, bool on) {
        if (on)
            o.Include(x);
        else
            o.Exclude(x);
    };
    opt(goColSizing, FColumnSizing);
    opt(goColMoving, FColumnMoving);
    opt(goRowSizing, FRowSizing);
    opt(goRowMoving, FRowMoving);
    g->SetOptions(o);
    if (FAutoSizeColumns) {
        if (FUseItems)
            AutoSizeItemColumns();
        else
            g->AutoSizeColumns(false, 4);
    }
    WordWrapRowHeights();
    // 3. Colour, sort glyphs, balloons, images.
    g->SetColor(DropDownColor());
    g->SortSettings()->SetShow(FSorting != gsNone);
    g->SortSettings()->IndexShow = FSorting == gsMultiColumn;
    FBalloonReinit = true;
    g->SetGridImages(FGridImages);
    // 4. The events.
    WireGridEvents();
    // 5. The settings objects.
    g->SearchFooter()->Assign(FSearchFooter.get());
    g->MouseActions()->Assign(FMouseActions.get());
    g->Navigation()->Assign(FNavigation.get());
    g->Bands()->Assign(FBands.get());
    // 6. Options and looks.
    o = g->Options();
    o.Include(goThumbTracking);
    opt(goRowSelect, FRowSelect);
    opt(goEditing, FGridEditable);
    g->SetOptions(o);
    g->SetComponentStyle(GetComponentStyle());
    g->SetSelectionColor(FSelectionColor);
    g->SetSelectionColorTo(FSelectionColorTo);
    g->SetSelectionTextColor(FSelectionTextColor);
}

void TCustomVodGridDropDown::DoBeforeDropDown()
{
    // 1. Losing the activation keeps the choice.
    if (FDropDownForm) FDropDownForm->SetCancelOnDeActivate(false);
    FFilling = true;
    if (FGrid) PrepareList();
    // 7. The rows.
    if (FUseItems) {
        TVodCustomDropDown::DoBeforeDropDown();
        if (FGrid) FillCells();
    } else if (FGrid) {
        const String key = CaseAdjust(GetText());
        Integer row = FGrid->FixedRows();
        for (Integer r = FGrid->FixedRows(); r < FGrid->RowCount(); ++r)
            if (CaseAdjust(RowLookupText(r)).rfind(key, 0) == 0) {
                row = r;
                break;
            }
        if (row < FGrid->RowCount()) FGrid->SetRow(row);
    }
    // 8. The sort the list shows; the choice stays current.
    if (FGrid && FGrid->SortSettings()->Column >= 0 && FGrid->SortSettings()->Show()) {
        FGrid->QSort();
        if (FUseItems) {
            const Integer r = RowOfItem(FItemIndex);
            if (r >= 0) FGrid->SetRow(r);
        }
    }
    if (FGrid) FSelectedRow = FGrid->Row();
    // 9.
    FOldIndex = FItemIndex;
    FFilling = false;
    if (!FUseItems) TVodCustomDropDown::DoBeforeDropDown();
}

void TCustomVodGridDropDown::AdjustDropDownSize(Integer& Height)
{
    // A row height of 0 would divide by zero: the height stays.
    if (FDropDownRowHeight <= 0) return;
    Integer bars = 0;
    if (FDropDownHeader->Visible()) bars += FDropDownHeader->Height();
    if (FDropDownFooter->Visible()) bars += FDropDownFooter->Height();
    const Integer h = Height - bars;
    const Integer n = std::max(0, (h - FHeaderHeight - 2) / FDropDownRowHeight);
    Height = bars + FHeaderHeight + n * FDropDownRowHeight + 6;
}

bool TCustomVodGridDropDown::AllRowsVisible()
{
    if (!FGrid || !FDropDownForm) return true;
    Integer room = FDropDownForm->Height() - 2 * FDropDownBorderWidth;
    if (FDropDownHeader->Visible()) room -= FDropDownHeader->Height();
    if (FDropDownFooter->Visible()) room -= FDropDownFooter->Height();
    Int64 need = 0;
    for (Integer r = 0; r < FGrid->RowCount() && need <= room; ++r) need += FGrid->RowHeights(r);
    return need <= room;
}

void TCustomVodGridDropDown::FitColumnWidths()
{
    if (!FColumnSizeWithDropDown || !FGrid || !FDropDownForm) return;
    if (FGrid->ScrollBars() != ssVertical) FGrid->SetScrollBars(ssVertical);
    Integer total = 1;
    for (Integer i = 0; i < FColumns->Count(); ++i) total += FColumns->Items(i)->Width();
    Integer avail = FDropDownForm->Width();
    if (!AllRowsVisible()) avail -= GetSystemMetrics(SM_CXVSCROLL);
    const double r = double(avail) / double(total);
    double carry = 0;
    for (Integer i = 0; i < FColumns->Count() && i < FGrid->ColCount(); ++i) {
        const double exact = FColumns->Items(i)->Width() * r;
        const Integer w = Integer(std::nearbyint(exact));  // ties to even
        carry += exact - w;
        if (carry > 1) {
            FGrid->SetColWidths(i, w + 1);
            carry -= 1;
        } else {
            FGrid->SetColWidths(i, w);
        }
    }
}

void TCustomVodGridDropDown::SizeDropDownForm()
{
    TVodCustomDropDown::SizeDropDownForm();
    if (!FDropDownForm || !FGrid) return;
    Integer bars = 0;
    if (FDropDownHeader->Visible()) bars += FDropDownHeader->Height();
    if (FDropDownFooter->Visible()) bars += FDropDownFooter->Height();
    const Integer bw = std::max(FDropDownBorderWidth, 0);
    FGrid->SetAlign(alNone);
    FGrid->SetBounds(FGrid->Left(), FGrid->Top(), std::max(0, FDropDownForm->Width() - 2 * bw),
                     std::max(0, FDropDownForm->Height() - 2 * bw - bars));
    if (!FDropDownAutoWidth) return;
    Integer w = 0;
    for (Integer i = 0; i < FGrid->ColCount(); ++i) w += FGrid->ColWidths(i);
    if (!AllRowsVisible()) w += GetSystemMetrics(SM_CXVSCROLL);
    FGrid->SetWidth(w);
    FDropDownForm->SetWidth(w + 2 * FDropDownBorderWidth);
    FGrid->SetAlign(alClient);
}

void TCustomVodGridDropDown::DoShowDropDown()
{
    TVodCustomDropDown::DoShowDropDown();
    if (!FGrid) return;
    if (!FUseItems)
        while (FColumns->Count() < FGrid->ColCount()) FColumns->Add();
    if (FDropDownForm && FDropDownForm->Visible()) FitColumnWidths();
    const Integer vis = FGrid->VisibleRowCount();
    if (vis + FGrid->FixedRows() < FGrid->RowCount()) {
        const Integer cur = FGrid->Row();
        if (cur > FGrid->TopRow() + vis || cur < FGrid->TopRow()) FGrid->SetTopRow(cur);
        if (FGrid->SearchFooter()->Visible() && cur > FGrid->TopRow() + vis - 2) FGrid->SetTopRow(FGrid->TopRow() + 2);
    }
    if (FSelectedRow < FGrid->FixedRows()) FSelectedRow = FGrid->FixedRows();
    FGrid->SetTabStop(true);
    if (FDropDownForm && FDropDownForm->Visible() && FGrid->CanFocus()) FGrid->SetFocus();
}

void TCustomVodGridDropDown::DoHideDropDown(bool Cancelled)
{
    if (FDropDownForm && FDropDownForm->Visible()) {
        if (Cancelled) {
            SetItemIndex(FOldIndex);
        } else if (FGrid && FGrid->ConfirmSelection()) {
            const Integer r = FGrid->Row();
            SetItemIndex(FUseItems ? ItemOfRow(r) : r - FGrid->FixedRows());
        }
        FOldIndex = FItemIndex;
        if (FGrid) FGrid->SetConfirmSelection(false);
    }
    TVodCustomDropDown::DoHideDropDown(Cancelled);
}

void TCustomVodGridDropDown::FormSizing()
{
    TVodCustomDropDown::FormSizing();
    FitColumnWidths();
}

void TCustomVodGridDropDown::HandleMouseWheelDown()
{
    TVodCustomDropDown::HandleMouseWheelDown();
    MoveBy(1);
}

void TCustomVodGridDropDown::HandleMouseWheelUp()
{
    TVodCustomDropDown::HandleMouseWheelUp();
    MoveBy(-1);
}

// ---------------------------------------------------------------------------
// Moving the choice with the list closed

void TCustomVodGridDropDown::MoveTo(Integer Item, Integer Row)
{
    SetItemIndex(Item);
    // The row that shows the item: found through the row objects, so a
    // sorted list shows the item moved to.
    if (FGrid) {
        const Integer r = FUseItems ? RowOfItem(Item) : Row;
        if (r >= FGrid->FixedRows() && r < FGrid->RowCount()) FGrid->SetRow(r);
        FSelectedRow = FGrid->Row();
    }
}

void TCustomVodGridDropDown::MoveBy(Integer Delta)
{
    const Integer fixed = FGrid ? FGrid->FixedRows() : 0;
    const Integer n = FUseItems ? FItems->Count() : FGrid ? FGrid->RowCount() - fixed : 0;
    if (n <= 0) return;
    if (FItemIndex < 0) {
        MoveTo(0, fixed);
        return;
    }
    Integer to = FItemIndex + Delta;
    if (Delta == 1 || Delta == -1) {
        if (to < 0 || to >= n) return;
    }
    to = std::clamp(to, 0, n - 1);
    if (to != FItemIndex) MoveTo(to, to + fixed);
}

void TCustomVodGridDropDown::WMKeyDown(TMessage& M)
{
    const Word key = M.CharCode();
    if (key == VK_RETURN && FGrid) FGrid->SetConfirmSelection(true);
    TVodCustomDropDown::WMKeyDown(M);
    if (!Enabled() || GetKeyState(VK_MENU) < 0) return;
    if (IsNavKey(key)) FLookupEntry.clear();
    const Integer fixed = FGrid ? FGrid->FixedRows() : 0;
    const Integer n = FUseItems ? FItems->Count() : FGrid ? FGrid->RowCount() - fixed : 0;
    if (n <= 0) return;
    switch (key) {
    case VK_DOWN: MoveBy(1); break;
    case VK_UP: MoveBy(-1); break;
    case VK_NEXT: MoveBy(10); break;
    case VK_PRIOR: MoveBy(-10); break;
    case VK_HOME:
    case VK_END:
        if (FStyle == dsDropDownList && GetKeyState(VK_SHIFT) >= 0) {
            if (key == VK_HOME)
                MoveTo(0, fixed);
            else
                MoveTo(n - 1, fixed + n - 1);
        }
        break;
    default: break;
    }
}

// ---------------------------------------------------------------------------
// Typing

Integer TCustomVodGridDropDown::FindItem(const String& Key)
{
    if (FLookupList.empty()) return -1;
    const Integer i = Index().First(CaseAdjust(Key));
    return i < FItems->Count() ? i : -1;
}

Integer TCustomVodGridDropDown::FindRow(const String& Key) const
{
    if (!FGrid) return -1;
    const String k = CaseAdjust(Key);
    const Integer last = FGrid->RowCount() - FGrid->FixedFooters();
    for (Integer r = FGrid->FixedRows(); r < last; ++r)
        if (CaseAdjust(RowLookupText(r)).rfind(k, 0) == 0) return r;
    return -1;
}

Integer TCustomVodGridDropDown::TypeLookup(wchar_t C)
{
    if (FLookupMethod == lmNone) return -1;
    if (C == L'\b') {
        if (SelLengthRaw() == 0) {
            if (!FLookupEntry.empty()) FLookupEntry.pop_back();
            SetEditText(FLookupEntry);
        } else {
            String t = EditText();
            const Integer s = SelStartRaw(), l = SelLengthRaw();
            t.erase(size_t(std::clamp(s, 0, Integer(t.size()))), size_t(std::max(0, l)));
            SetEditText(t);
        }
        const Integer end = Integer(EditText().size());
        SetSelRaw(end, end);
        return -1;
    }
    if (C != L'\t') FLookupEntry += C;
    const String entry = Trim(FLookupEntry);

    if (FLookupMethod == lmNarrowDown) {
        if (!FGrid) return -1;
        if (entry.empty()) {
            FGrid->RemoveAllFilters();
            return -1;
        }
        FGrid->NarrowDown(entry, FLookupColumn);
        // The first row left shows the match.
        const Integer row = FGrid->FixedRows();
        if (row >= FGrid->RowCount() - FGrid->FixedFooters()) return -1;
        if (FUseItems) {
            const Integer item = ItemOfRow(row);
            if (item >= 0 && item < FItems->Count()) FItemIndex = item;
        } else {
            FItemIndex = row - FGrid->FixedRows();
        }
        if (FStyle == dsDropDown) {
            const String t = RowLookupText(row);
            SetEditText(t);
            SetSelRaw(std::min(Integer(entry.size()), Integer(t.size())), Integer(t.size()));
        }
        FSelectedRow = row;
        return row;
    }

    // lmLookup.
    auto apply = [&](const String& Key, bool SelectTail) -> Integer {
        Integer item = -1, row = -1;
        String text;
        if (FUseItems) {
            item = FindItem(Key);
            if (item < 0) return -1;
            text = item < Integer(FLookupList.size()) ? FLookupList[size_t(item)] : LookupText(item);
            row = RowOfItem(item);
        } else {
            row = FindRow(Key);
            if (row < 0) return -1;
            item = row - FGrid->FixedRows();
            text = RowLookupText(row);
        }
        FItemIndex = item;
        SetEditText(text);
        if (SelectTail) SetSelRaw(std::min(Integer(Key.size()), Integer(text.size())), Integer(text.size()));
        if (row >= 0) FSelectedRow = row;
        return row < 0 ? -2 : row;  // -2: matched, but no grid row shows it
    };
    Integer r = apply(entry, FStyle == dsDropDown);
    if (r != -1) return r;
    if (FStyle == dsDropDown) return -1;
    r = apply(String(1, C), false);
    if (r != -1) {
        FLookupEntry = String(1, C);
        return r;
    }
    FLookupEntry.clear();
    return -1;
}

void TCustomVodGridDropDown::WMChar(TMessage& M)
{
    const wchar_t c = wchar_t(M.WParam);
    TVodCustomDropDown::WMChar(M);
    if (c == L'\r' || c == 0x1B || c == 0) return;
    TypeLookup(c);
    if (FAutoShowDropDown && c != 0 && !DroppedDown()) ShowDropDown();
}

void TCustomVodGridDropDown::ShowGridRow(Integer Row)
{
    if (!FGrid) return;
    if (FGrid->VisibleRowCount() + FGrid->FixedRows() < FGrid->RowCount()) FGrid->SetTopRow(Row);
    FGrid->SetRow(Row);
    FGrid->SetCol(0);
    FGrid->InvalidateRow(Row);
}

void TCustomVodGridDropDown::ControlKeyPress(wchar_t& Key)
{
    const wchar_t c = Key;
    const bool alt = GetKeyState(VK_MENU) < 0;
    if (((c == L'\r' || c == 0x1B) && !alt) || (FGrid && FGrid->EditorMode())) {
        FLookupEntry.clear();
    } else {
        const Integer row = TypeLookup(c);
        if (FGrid && row >= FGrid->FixedRows() && row < FGrid->RowCount() - FGrid->FixedFooters())
            ShowGridRow(row);
        else if (row == -1)
            FLookupEntry.clear();
    }
    if (OnGridKeyPress) OnGridKeyPress(this, Key);
}

void TCustomVodGridDropDown::ControlKeyDown(Word& Key, TShiftState Shift)
{
    if (!IsNavKey(Key) || Shift.Contains(ssAlt)) TVodCustomDropDown::ControlKeyDown(Key, Shift);
    if (OnGridKeyDown) OnGridKeyDown(this, Key, Shift);
}

void TCustomVodGridDropDown::ControlKeyUp(Word& Key, TShiftState Shift)
{
    if (IsNavKey(Key) && !Shift.Contains(ssAlt))
        FLookupEntry.clear();
    else
        TVodCustomDropDown::ControlKeyUp(Key, Shift);
    if (OnGridKeyUp) OnGridKeyUp(this, Key, Shift);
}

// ---------------------------------------------------------------------------
// Edit completion and the edit's keys

void TCustomVodGridDropDown::Change()
{
    FCompPending = false;
    TVodCustomDropDown::Change();
    // The completed text written below raises this again: it only clears
    // the pending completion then.
    if (FInChange || ComponentState().Contains(csDesigning) || !FWorkMode) return;
    FInChange = true;
    struct TGuard {
        bool& F;
        ~TGuard() { F = false; }
    } guard{FInChange};
    const String text = EditText();
    SetEditModified(!text.empty());
    if (FLookupList.empty()) return;
    const Integer caret = std::clamp(SelStartRaw(), 0, Integer(text.size()));
    const String typed = text.substr(0, size_t(caret));
    const String key = FMatchCase ? typed : AnsiUpperCase(typed);
    Integer found = -1;
    if (!key.empty()) {
        for (size_t i = 0; i < FLookupList.size(); ++i) {
            const String e = FMatchCase ? FLookupList[i] : AnsiUpperCase(FLookupList[i]);
            if (e.rfind(key, 0) == 0) {
                found = Integer(i);
                break;
            }
        }
    }
    if (found >= 0) {
        const String& entry = FLookupList[size_t(found)];
        const String tail = entry.substr(std::min(key.size(), entry.size()), 255);
        const Integer old = FItemIndex;
        SetEditText(typed + tail);
        FItemIndex = found;
        FCompItem = found;
        FCompLen = Integer(typed.size());
        FCompPending = true;
        SetSelRaw(Integer(key.size()), Integer(EditText().size()));
        if (FItemIndex != old && OnChange) OnChange(this);
    } else if (!typed.empty() && typed != text) {
        SetEditText(typed);
        SetSelRaw(Integer(typed.size()), Integer(typed.size()));
    }
}

void TCustomVodGridDropDown::DoEnter()
{
    TVodCustomDropDown::DoEnter();
    if (FLookupMethod == lmNarrowDown && FGrid && !FGrid->FilterActive()) FGrid->RemoveAllFilters();
    FLookupEntry.clear();
}

void TCustomVodGridDropDown::KeyDown(Word& Key, TShiftState Shift)
{
    const Word key = Key;
    if (FGridEditable && FGrid && FGrid->EditorMode() && key == VK_RETURN && !Shift.Contains(ssShift)) {
        FGrid->HideInplaceEdit();
        const Integer r = FGrid->Row();
        SetText(RowLookupText(r));
        FItemIndex = FUseItems ? ItemOfRow(r) : r - FGrid->FixedRows();
        Key = 0;
        return;
    }
    if (key == VK_ESCAPE || (key >= VK_PRIOR && key <= VK_DOWN)) FLookupEntry.clear();
    if (FLookupColumn < 0 || FItems->Count() == 0 || !FUseItems) {
        TVodCustomDropDown::KeyDown(Key, Shift);
        return;
    }
    FWorkMode = !(key == VK_BACK || key == VK_ESCAPE || key == VK_DELETE);
    if (key == VK_RETURN) {
        const String t = AnsiUpperCase(EditText());
        for (size_t i = 0; i < FLookupList.size() && i < size_t(FItems->Count()); ++i)
            if (AnsiUpperCase(FLookupList[i]) == t) {
                SetText(FLookupList[i]);
                SetItemIndex(Integer(i));
                Change();
                break;
            }
        if (FReturnIsTab) {
            if (HandleAllocated()) PostMessage(Handle(), WM_KEYDOWN, VK_TAB, 0);
            Key = 0;
            return;
        }
    }
    TVodCustomDropDown::KeyDown(Key, Shift);
    if (key == VK_ESCAPE) {
        // The entry of the text as it now stands; a free text keeps its
        // characters and only loses its item.
        const String t = EditText();
        Integer found = -1;
        for (size_t i = 0; i < FLookupList.size() && found < 0; ++i)
            if (FLookupList[i] == t) found = Integer(i);
        if (found >= 0)
            SetItemIndex(found);
        else
            FItemIndex = -1;
    }
}

void TCustomVodGridDropDown::KeyPress(wchar_t& Key)
{
    if (Key == L'\r' && FReturnIsTab) {
        Key = 0;
        return;
    }
    TVodCustomDropDown::KeyPress(Key);
}

void TCustomVodGridDropDown::KeyUp(Word& Key, TShiftState Shift)
{
    if (Key == VK_RETURN && FReturnIsTab) return;
    TVodCustomDropDown::KeyUp(Key, Shift);
    if (FGridEditable && FGrid && FGrid->EditorMode() && Key == VK_RETURN && !Shift.Contains(ssShift)) {
        if (FGrid->Col() == FLookupColumn)
            HideDropDown(false);
        else
            FGrid->HideInplaceEdit();
    }
    if (FCompPending && FCompItem >= 0 && FCompItem < FItems->Count()) {
        const Integer len = FCompLen;
        SetItemIndex(FCompItem);
        FCompPending = false;
        SetSelRaw(len, Integer(EditText().size()));
    }
}

// ---------------------------------------------------------------------------
// The list's selection

void TCustomVodGridDropDown::ListSelectCell(Integer ACol, Integer ARow, bool&)
{
    if (!FGrid || FGrid->WheelSelection() || FFilling) return;
    // A node clicked in the first column opens or closes; it chooses nothing.
    FNodeClick = ACol == 0 && GetKeyState(VK_LBUTTON) < 0 && FGrid->IsNode(ARow);
    if (FNodeClick) return;
    if (ARow < FGrid->FixedRows()) return;
    FSelectedRow = ARow;
    if (FUseItems) {
        const Integer item = ItemOfRow(ARow);
        if (item >= 0 && item < FItems->Count()) SetItemIndex(item);
    } else {
        SetText(RowLookupText(ARow));
        FItemIndex = ARow - FGrid->FixedRows();
    }
}

void TCustomVodGridDropDown::ListSelect(TObject*)
{
    if (!FGrid) return;
    if (FNodeClick) {
        FNodeClick = false;
        return;
    }
    if (FGrid->ConfirmSelection()) {
        const Integer r = FGrid->Row();
        if (FUseItems) {
            const Integer item = ItemOfRow(r);
            if (item >= 0 && item < FItems->Count()) SetItemIndex(item);
        } else {
            SetItemIndex(r - FGrid->FixedRows());
        }
    }
    if (!FGridEditable) DoHideDropDown(false);
    if (OnSelect) OnSelect(this);
}

// ---------------------------------------------------------------------------
// The dispatchers

template <class F>
void TCustomVodGridDropDown::Blocked(F&& f)
{
    TDropDownForm* form = FDropDownForm;
    if (form) form->SetBlockActivate(true);
    struct TRelease {
        TDropDownForm* Form;
        ~TRelease()
        {
            if (Form) Form->SetBlockActivate(false);
        }
    } release{form};
    f();
}

void TCustomVodGridDropDown::DoGridAnchorClick(TObject* Sender, Integer ARow, Integer ACol, const String& Anchor,
                                               bool& AutoHandle)
{
    if (OnGridAnchorClick) Blocked([&] { OnGridAnchorClick(Sender, ARow, ACol, Anchor, AutoHandle); });
}

void TCustomVodGridDropDown::DoGridAnchorEnter(TObject* Sender, Integer ARow, Integer ACol, const String& Anchor)
{
    if (OnGridAnchorEnter) OnGridAnchorEnter(Sender, ARow, ACol, Anchor);
}

void TCustomVodGridDropDown::DoGridAnchorExit(TObject* Sender, Integer ARow, Integer ACol, const String& Anchor)
{
    if (OnGridAnchorExit) OnGridAnchorExit(Sender, ARow, ACol, Anchor);
}

void TCustomVodGridDropDown::DoGridAnchorHint(TObject* Sender, Integer ARow, Integer ACol, String& Anchor)
{
    if (OnGridAnchorHint) OnGridAnchorHint(Sender, ARow, ACol, Anchor);
}

void TCustomVodGridDropDown::DoGridButtonClick(TObject* Sender, Integer ACol, Integer ARow)
{
    if (OnGridButtonClick) Blocked([&] { OnGridButtonClick(Sender, ACol, ARow); });
}

void TCustomVodGridDropDown::DoGridCanSort(TObject* Sender, Integer ACol, bool& DoSort)
{
    if (OnGridCanSort) OnGridCanSort(Sender, ACol, DoSort);
}

void TCustomVodGridDropDown::DoGridClickSort(TObject* Sender, Integer ACol)
{
    if (OnGridClickSort) OnGridClickSort(Sender, ACol);
}

void TCustomVodGridDropDown::DoGridCustomCompare(TObject* Sender, const String& Str1, const String& Str2,
                                                 Integer& Res)
{
    if (OnGridCustomCompare) OnGridCustomCompare(Sender, Str1, Str2, Res);
}

void TCustomVodGridDropDown::DoGridRawCompare(TObject* Sender, Integer ACol, Integer Row1, Integer Row2, Integer& Res)
{
    if (OnGridRawCompare) OnGridRawCompare(Sender, ACol, Row1, Row2, Res);
}

void TCustomVodGridDropDown::DoGridColumnSize(TObject* Sender, Integer ACol, bool& Allow)
{
    if (OnGridColumnSize) OnGridColumnSize(Sender, ACol, Allow);
}

void TCustomVodGridDropDown::DoGridColumnSizing(TObject* Sender, Integer ACol, Integer ColumnSize)
{
    if (OnGridColumnSizing) OnGridColumnSizing(Sender, ACol, ColumnSize);
}

void TCustomVodGridDropDown::DoGridEndColumnSize(TObject* Sender, Integer ACol)
{
    if (OnGridEndColumnSize) OnGridEndColumnSize(Sender, ACol);
}

void TCustomVodGridDropDown::DoGridRowSize(TObject* Sender, Integer ARow, bool& Allow)
{
    if (OnGridRowSize) OnGridRowSize(Sender, ARow, Allow);
}

void TCustomVodGridDropDown::DoGridRowSizing(TObject* Sender, Integer ARow, Integer RowSize)
{
    if (OnGridRowSizing) OnGridRowSizing(Sender, ARow, RowSize);
}

void TCustomVodGridDropDown::DoGridEndRowSize(TObject* Sender, Integer ARow)
{
    if (OnGridEndRowSize) OnGridEndRowSize(Sender, ARow);
}

void TCustomVodGridDropDown::DoGridRowMove(TObject* Sender, Integer ARow, bool& Allow)
{
    if (OnGridRowMove) OnGridRowMove(Sender, ARow, Allow);
}

void TCustomVodGridDropDown::DoGridRowMoving(TObject* Sender, Integer ARow, bool& Allow)
{
    if (OnGridRowMoving) OnGridRowMoving(Sender, ARow, Allow);
}

void TCustomVodGridDropDown::DoGridRowMoved(TObject* Sender, Integer FromIndex, Integer ToIndex)
{
    if (OnGridRowMoved) OnGridRowMoved(Sender, FromIndex, ToIndex);
}

void TCustomVodGridDropDown::DoGridColumnMove(TObject* Sender, Integer ACol, bool& Allow)
{
    if (OnGridColumnMove) OnGridColumnMove(Sender, ACol, Allow);
}

void TCustomVodGridDropDown::DoGridColumnMoving(TObject* Sender, Integer ACol, bool& Allow)
{
    if (OnGridColumnMoving) OnGridColumnMoving(Sender, ACol, Allow);
}

void TCustomVodGridDropDown::DoGridColumnMoved(TObject* Sender, Integer FromIndex, Integer ToIndex)
{
    if (OnGridColumnMoved) OnGridColumnMoved(Sender, FromIndex, ToIndex);
}

void TCustomVodGridDropDown::DoGridCustomCellDraw(TObject* Sender, TCanvas* Canvas, Integer ACol, Integer ARow,
                                                  TGridDrawState AState, TRect ARect, bool Printing)
{
    if (OnGridCustomCellDraw) OnGridCustomCellDraw(Sender, Canvas, ACol, ARow, AState, ARect, Printing);
}

void TCustomVodGridDropDown::DoGridCustomCellBkgDraw(TObject* Sender, TCanvas* Canvas, Integer ACol, Integer ARow,
                                                     TGridDrawState AState, TRect ARect, bool Printing)
{
    if (OnGridCustomCellBkgDraw) OnGridCustomCellBkgDraw(Sender, Canvas, ACol, ARow, AState, ARect, Printing);
}

void TCustomVodGridDropDown::DoGridCellBalloon(TObject* Sender, Integer ACol, Integer ARow, String& ATitle,
                                               String& AText, Integer& AIcon)
{
    if (OnGridCellBalloon) OnGridCellBalloon(Sender, ACol, ARow, ATitle, AText, AIcon);
}

void TCustomVodGridDropDown::DoGridGetAlignment(TObject* Sender, Integer ARow, Integer ACol, TAlignment& HAlign,
                                                TVAlignment& VAlign)
{
    if (ACol >= 0 && ACol < FColumns->Count()) HAlign = FColumns->Items(ACol)->Alignment();
    if (OnGridGetAlignment) OnGridGetAlignment(Sender, ARow, ACol, HAlign, VAlign);
}

void TCustomVodGridDropDown::DoGridGetCellColor(TObject* Sender, Integer ARow, Integer ACol, TGridDrawState AState,
                                                TBrush* ABrush, TFont* AFont)
{
    if (ACol >= 0 && ACol < FColumns->Count()) {
        TDropDownColumn* col = FColumns->Items(ACol);
        if (ABrush) ABrush->SetColor(col->Color());
        if (AFont) AFont->Assign(col->Font());
    }
    if (OnGridGetCellColor) OnGridGetCellColor(Sender, ARow, ACol, AState, ABrush, AFont);
}

void TCustomVodGridDropDown::DoGridGetCellGradient(TObject* Sender, Integer ARow, Integer ACol, TColor& Color,
                                                   TColor& ColorTo, TColor& ColorMirror, TColor& ColorMirrorTo,
                                                   TCellGradientDirection& GD)
{
    if (OnGridGetCellGradient) OnGridGetCellGradient(Sender, ARow, ACol, Color, ColorTo, ColorMirror, ColorMirrorTo, GD);
}

void TCustomVodGridDropDown::DoGridGetFloatFormat(TObject* Sender, Integer ACol, Integer ARow, bool& IsFloat,
                                                  String& FloatFormat)
{
    FloatFormat.clear();
    if (OnGridGetFloatFormat) OnGridGetFloatFormat(Sender, ACol, ARow, IsFloat, FloatFormat);
}

void TCustomVodGridDropDown::DoGridGetEditorType(TObject* Sender, Integer ACol, Integer ARow, TEditorType& AEditor)
{
    if (OnGridGetEditorType) OnGridGetEditorType(Sender, ACol, ARow, AEditor);
}

void TCustomVodGridDropDown::DoGridGetEditorProp(TObject* Sender, Integer ACol, Integer ARow, TObject* AEditLink)
{
    if (OnGridGetEditorProp) OnGridGetEditorProp(Sender, ACol, ARow, AEditLink);
}

void TCustomVodGridDropDown::DoGridCanEditCell(TObject* Sender, Integer ARow, Integer ACol, bool& CanEdit)
{
    if (OnGridCanEditCell) OnGridCanEditCell(Sender, ARow, ACol, CanEdit);
}

void TCustomVodGridDropDown::DoGridEllipsClick(TObject* Sender, Integer ACol, Integer ARow, String& S)
{
    if (OnGridEllipsClick) Blocked([&] { OnGridEllipsClick(Sender, ACol, ARow, S); });
}

void TCustomVodGridDropDown::DoGridGetDisplText(TObject* Sender, Integer ACol, Integer ARow, String& Value)
{
    if (OnGridGetDiplText) OnGridGetDiplText(Sender, ACol, ARow, Value);
}

void TCustomVodGridDropDown::DoGridGetFormat(TObject* Sender, Integer ACol, TSortStyle& AStyle, String& APrefix,
                                             String& ASuffix)
{
    if (OnGridGetFormat) OnGridGetFormat(Sender, ACol, AStyle, APrefix, ASuffix);
}

void TCustomVodGridDropDown::DoGridHint(TObject* Sender, Integer ARow, Integer ACol, String& HintStr)
{
    if (OnGridHint) OnGridHint(Sender, ARow, ACol, HintStr);
}

void TCustomVodGridDropDown::DoGridOfficeHint(TObject* Sender, Integer ACol, Integer ARow, TVodHintInfo* OfficeHint)
{
    if (OnGridOfficeHint) OnGridOfficeHint(Sender, ACol, ARow, OfficeHint);
}

void TCustomVodGridDropDown::DoGridMouseMove(TObject* Sender, TShiftState Shift, Integer X, Integer Y)
{
    // The first move after an opening starts the balloons afresh.
    if (FBalloonReinit && FGrid) {
        FBalloonReinit = false;
        if (FGrid->Balloon()->Enable()) {
            FGrid->Balloon()->SetEnable(false);
            FGrid->Balloon()->SetEnable(true);
        }
    }
    if (OnGridMouseMove) OnGridMouseMove(Sender, Shift, X, Y);
}

void TCustomVodGridDropDown::DoGridMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X,
                                             Integer Y)
{
    if (OnGridMouseDown) OnGridMouseDown(Sender, Button, Shift, X, Y);
}

void TCustomVodGridDropDown::DoGridMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X,
                                           Integer Y)
{
    if (OnGridMouseUp) OnGridMouseUp(Sender, Button, Shift, X, Y);
}

void TCustomVodGridDropDown::DoGridKeyDown(TObject* Sender, Word& Key, TShiftState Shift)
{
    if (OnGridKeyDown) OnGridKeyDown(Sender, Key, Shift);
}

void TCustomVodGridDropDown::DoGridKeyUp(TObject* Sender, Word& Key, TShiftState Shift)
{
    if (OnGridKeyUp) OnGridKeyUp(Sender, Key, Shift);
}

void TCustomVodGridDropDown::DoGridKeyPress(TObject* Sender, wchar_t& Key)
{
    if (OnGridKeyPress) OnGridKeyPress(Sender, Key);
}

void TCustomVodGridDropDown::DoGridRightClickCell(TObject* Sender, Integer ARow, Integer ACol)
{
    if (OnGridRightClickCell) OnGridRightClickCell(Sender, ARow, ACol);
}

void TCustomVodGridDropDown::DoGridScrollHint(TObject* Sender, Integer ARow, String& HintStr)
{
    if (OnGridScrollHint) OnGridScrollHint(Sender, ARow, HintStr);
}

void TCustomVodGridDropDown::DoGridTopLeftChanged(TObject* Sender)
{
    if (OnGridTopLeftChanged) OnGridTopLeftChanged(Sender);
}

void TCustomVodGridDropDown::DoGridSearchEditChange(TObject* Sender, const String& Value, bool& DefaultSearch)
{
    if (OnGridSearchEditChange) OnGridSearchEditChange(Sender, Value, DefaultSearch);
}

void TCustomVodGridDropDown::DoGridSpinClick(TObject* Sender, Integer ACol, Integer ARow, Integer AValue, bool UpDown)
{
    if (OnGridSpinClick) OnGridSpinClick(Sender, ACol, ARow, AValue, UpDown);
}

void TCustomVodGridDropDown::DoGridAutoAddRow(TObject* Sender, Integer ARow)
{
    if (OnGridAutoAddRow) OnGridAutoAddRow(Sender, ARow);
}

void TCustomVodGridDropDown::DoGridAutoInsertRow(TObject* Sender, Integer ARow)
{
    if (OnGridInsertRow) OnGridInsertRow(Sender, ARow);
}

void TCustomVodGridDropDown::DoGridAutoInsertCol(TObject* Sender, Integer ACol)
{
    if (OnGridInsertCol) OnGridInsertCol(Sender, ACol);
}

void TCustomVodGridDropDown::DoGridAutoDeleteRow(TObject* Sender, Integer ARow)
{
    if (OnGridDeleteRow) OnGridDeleteRow(Sender, ARow);
}

void TCustomVodGridDropDown::DoGridCanAddRow(TObject* Sender, bool& CanAdd)
{
    if (OnGridCanAddRow) OnGridCanAddRow(Sender, CanAdd);
}

void TCustomVodGridDropDown::DoGridCanInsertRow(TObject* Sender, Integer ARow, bool& CanInsert)
{
    if (OnGridCanInsertRow) OnGridCanInsertRow(Sender, ARow, CanInsert);
}

void TCustomVodGridDropDown::DoGridCanDeleteRow(TObject* Sender, Integer ARow, bool& CanDelete)
{
    if (OnGridCanDeleteRow) OnGridCanDeleteRow(Sender, ARow, CanDelete);
}
