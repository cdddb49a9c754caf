#include "controls/dropdown/MultiColumnDropDown.h"

#include <algorithm>
#include <cmath>

#include "controls/dropdown/DropDownButton.h"
#include "platform/base/SysUtils.h"
#include "platform/gfx/Gdi.h"
#include "platform/gfx/ImageList.h"

using namespace MultiColDropDown;

// ---------------------------------------------------------------------------
// Columns and items

TDropDownColumn::TDropDownColumn(TCollection* Collection)
    : TCollectionItem(Collection), FFont(std::make_unique<TFont>())
{
}

TDropDownColumn::~TDropDownColumn() = default;

void TDropDownColumn::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TDropDownColumn*>(Source);
    if (!s) {
        TCollectionItem::Assign(Source);
        return;
    }
    FWordwrap = s->FWordwrap;
    FWidth = s->FWidth;
    FHeader = s->FHeader;
    FAlignment = s->FAlignment;
    FColor = s->FColor;
    FColumnType = s->FColumnType;
    FFont->Assign(s->FFont.get());
    FEllipsis = s->FEllipsis;
    FAutoSize = s->FAutoSize;
}

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
    FTag = s->FTag;
}

void TDropDownItem::SetText(TStrings* v) { FText->Assign(v); }

String TDropDownItem::ColumnText(Integer Column) const
{
    if (Column < 0 || Column >= FText->Count()) return String();
    return FText->Strings(Column);
}

Integer TDropDownItems::IndexInColumn(Integer Column, const String& Value) const
{
    for (Integer i = 0; i < Count(); ++i) {
        TDropDownItem* it = Items(i);
        if (Column < 0 || Column >= it->Text()->Count()) continue;
        if (it->Text()->Strings(Column) == Value) return i;
    }
    return -1;
}

// ---------------------------------------------------------------------------
// The lookup index

void TLookupIndex::Clear()
{
    FKeys.clear();
    FOrder.clear();
    FMin.clear();
    FBuilt = false;
}

void TLookupIndex::Build(const std::vector<String>& Texts, bool CaseSensitive)
{
    Clear();
    FCaseSensitive = CaseSensitive;
    FKeys.reserve(Texts.size());
    for (const String& t : Texts) FKeys.push_back(CaseSensitive ? t : AnsiUpperCase(t));
    const Integer n = Integer(FKeys.size());
    FOrder.resize(size_t(n));
    for (Integer i = 0; i < n; ++i) FOrder[size_t(i)] = i;
    std::stable_sort(FOrder.begin(), FOrder.end(),
                     [&](Integer a, Integer b) { return FKeys[size_t(a)] < FKeys[size_t(b)]; });
    // Range minima of the item indexes in key order (a sparse table).
    FMin.push_back(FOrder);
    for (Integer w = 1; 2 * w <= n; w *= 2) {
        const std::vector<Integer>& prev = FMin.back();
        std::vector<Integer> next(size_t(n - 2 * w + 1));
        for (Integer i = 0; i + 2 * w <= n; ++i) next[size_t(i)] = std::min(prev[size_t(i)], prev[size_t(i + w)]);
        FMin.push_back(std::move(next));
    }
    FBuilt = true;
}

Integer TLookupIndex::First(const String& Key) const
{
    if (FOrder.empty()) return -1;
    auto keyOf = [&](Integer item) -> const String& { return FKeys[size_t(item)]; };
    auto lo = std::lower_bound(FOrder.begin(), FOrder.end(), Key,
                               [&](Integer item, const String& k) { return keyOf(item) < k; });
    auto hi = std::partition_point(lo, FOrder.end(), [&](Integer item) { return keyOf(item).rfind(Key, 0) == 0; });
    if (lo == hi) return -1;
    const Integer a = Integer(lo - FOrder.begin()), b = Integer(hi - FOrder.begin());  // [a, b)
    Integer level = 0;
    while ((2 << level) <= b - a) ++level;
    return std::min(FMin[size_t(level)][size_t(a)], FMin[size_t(level)][size_t(b - (1 << level))]);
}

// ---------------------------------------------------------------------------
// The list grid

TVodColGrid::TVodColGrid(TComponent* AOwner)
    : TStringGrid(AOwner),
      FColumns(std::make_unique<TDropDownColumns>(this)),
      FHeaderFont(std::make_unique<TFont>())
{
    SetFixedRows(1);
    SetFixedCols(0);
    TGridOptions o = Options();
    o.Exclude(goRangeSelect).Exclude(goDrawFocusSelected);
    o.Include(goHorzLine).Include(goTabs).Include(goRowSelect);
    SetOptions(o);
    SetDefaultDrawing(false);
    SetCtl3D(false);
    SetBorderStyle(bsNone);
    SetGridLineWidth(0);
}

TVodColGrid::~TVodColGrid() = default;

void TVodColGrid::Dispatch(TMessage& M)
{
    if (M.Msg == WM_GETDLGCODE) {
        M.Result = 3;
        return;
    }
    TStringGrid::Dispatch(M);
}

void TVodColGrid::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    FConfirm = true;
    FMouseRow = Row();
    TStringGrid::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    // A click on the partly shown row below the list, the partly shown
    // column at its right or (scrolled sideways) the left-most column would
    // scroll on while the button is held: the selecting ends at once.
    Integer c = 0, r = 0;
    MouseToCell(X, Y, c, r);
    const bool belowRows = r == TopRow() + VisibleRowCount();
    const bool rightCols = c == LeftCol() + VisibleColCount();
    const bool leftCol = LeftCol() > FixedCols() && c == LeftCol();
    if (belowRows || rightCols || leftCol) FGridState = gsNormal;
}

void TVodColGrid::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    TStringGrid::MouseUp(Button, Shift, X, Y);
    Integer c = 0, r = 0;
    MouseToCell(X, Y, c, r);
    if (r >= FixedRows() && r < RowCount() && OnSelect) OnSelect(this);
}

void TVodColGrid::KeyDown(Word& Key, TShiftState Shift)
{
    FConfirm = true;
    if (Shift.Contains(ssAlt) && (Key == VK_UP || Key == VK_DOWN)) {
        if (DropDown && DropDown->HandleAllocated()) SendMessage(DropDown->Handle(), WM_KEYDOWN, Key, 0);
        return;
    }
    const Word key = Key;
    TStringGrid::KeyDown(Key, Shift);
    if (key == VK_RETURN && OnSelect) OnSelect(this);
}

bool TVodColGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    FConfirm = false;
    FWheelSel = true;
    bool r = TStringGrid::DoMouseWheelDown(Shift, MousePos);
    FWheelSel = false;
    return r;
}

bool TVodColGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    FConfirm = false;
    FWheelSel = true;
    bool r = TStringGrid::DoMouseWheelUp(Shift, MousePos);
    FWheelSel = false;
    return r;
}

void TVodColGrid::DrawCell(Integer ACol, Integer ARow, const TRect& ARect, TGridDrawState AState)
{
    TCanvas* C = Canvas();
    TVodMultiColumnDropDown* dd = DropDown;
    // 1. A handler draws the cell itself.
    if (dd && dd->OnDropDownDrawItem) {
        dd->OnDropDownDrawItem(dd, ACol, ARow, ARect, C);
        return;
    }
    // 2. The segment of the row's selection.
    const Integer cols = ColCount();
    const Integer segment = cols == 1 ? 0 : ACol == 0 ? 1 : ACol == cols - 1 ? 2 : 3;
    // 3. The text and its look.
    const bool header = ARow < FixedRows();
    TDropDownColumn* col = ACol < FColumns->Count() ? FColumns->Items(ACol) : nullptr;
    String text;
    Integer image = -1;
    TColor color = col ? col->Color() : Color();
    TAlignment align = col ? col->Alignment() : taLeftJustify;
    bool wrap = col && col->Wordwrap();
    bool ellipsis = col && col->Ellipsis();
    TFont* font = col ? col->Font() : FHeaderFont.get();
    if (!header && dd && ARow - 1 < dd->Items()->Count()) {
        TDropDownItem* it = dd->Items()->Items(ARow - 1);
        text = it->ColumnText(ACol);
        if (col && col->ColumnType() == ctImage) image = it->ImageIndex();
        if (dd->OnDropDownGetItemText) dd->OnDropDownGetItemText(dd, ACol, ARow, text);
    } else if (!header) {
        text = Cells(ACol, ARow);
        if (OnGetCellText) OnGetCellText(this, ACol, ARow, text);
    }
    // 4. The background.
    const bool selected = !header && AState.Contains(gdSelected);
    if (header) {
        text = col ? col->Header() : String();
        image = -1;
        if (HeaderColor == clNone || HeaderColorTo == clNone) {
            C->Brush()->SetStyle(bsSolid);
            C->Brush()->SetColor(HeaderColor == clNone ? Color() : HeaderColor);
            C->FillRect(ARect);
        } else if (dd) {
            dd->DrawBackgroundGradient(C, HeaderColor, HeaderColorTo, VodDropDown::gdVertical, ARect, 80);
        } else {
            DrawSteppedGradient(C, HeaderColor, HeaderColorTo, false, ARect, 80);
        }
    } else if (selected) {
        if (dd) {
            dd->DrawSelectionBackground(C, ARect, segment, color);
        } else {
            C->Brush()->SetStyle(bsSolid);
            C->Brush()->SetColor(clActiveCaption);
            C->FillRect(ARect);
        }
    } else {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(color);
        C->Pen()->SetColor(color);
        C->Rectangle(ARect);
    }
    // 5. The lines.
    const Integer lw = header ? 1 : OwnGridLineWidth;
    const Integer c = header ? 1 : (lw + 1) / 2;
    C->Pen()->SetColor(header ? FixedLineColor : LineColor);
    C->Pen()->SetWidth(lw);
    const TGridOptions o = Options();
    if (lw > 0 && o.Contains(header ? goFixedHorzLine : goHorzLine)) {
        C->MoveTo(ARect.Left - c + 1, ARect.Bottom - c);
        C->LineTo(ARect.Right - c + 1, ARect.Bottom - c);
    }
    if (lw > 0 && o.Contains(header ? goFixedVertLine : goVertLine)) {
        C->MoveTo(ARect.Right - c, ARect.Bottom - c);
        C->LineTo(ARect.Right - c, ARect.Top - c);
    }
    C->Pen()->SetWidth(1);
    // 6. The image and the text's place.
    TRect tr{ARect.Left + OwnGridLineWidth, ARect.Top + OwnGridLineWidth, ARect.Right - OwnGridLineWidth,
             ARect.Bottom - OwnGridLineWidth};
    if (Images && image >= 0) {
        Integer y = tr.Top;
        if (Images->Height() < tr.Height()) y = tr.Top + (tr.Height() - Images->Height()) / 2;
        Images->Draw(C, tr.Left + 2, y, image, true);
        tr.Left += 2 + Images->Width() + 4;
    } else {
        tr.Left += 2;
    }
    // 7. The text.
    C->Brush()->SetStyle(bsClear);
    C->Font()->Assign(header ? FHeaderFont.get() : font);
    if (selected && dd) C->Font()->SetColor(dd->SelectionTextColor());
    TTextFormat f{tfVerticalCenter, tfNoPrefix, tfExpandTabs};
    f.Include(align == taRightJustify ? tfRight : align == taCenter ? tfCenter : tfLeft);
    if (wrap) {
        f.Include(tfWordBreak).Include(tfEditControl);
    } else {
        f.Include(tfSingleLine);
    }
    if (ellipsis) f.Include(tfEndEllipsis);
    C->TextRect(tr, text, f);
    C->Brush()->SetStyle(bsSolid);
}

// ---------------------------------------------------------------------------
// Construction

TVodMultiColumnDropDown::TVodMultiColumnDropDown(TComponent* AOwner)
    : TVodCustomDropDown(AOwner),
      FHeaderFont(std::make_unique<TFont>()),
      FColumns(std::make_unique<TDropDownColumns>(this)),
      FItems(std::make_unique<TDropDownItems>(this))
{
    FDropDownColor = clWhite;
    FDropDownHeight = 200;
    SetAutoSelect(true);
}

TVodMultiColumnDropDown::~TVodMultiColumnDropDown() = default;

String TVodMultiColumnDropDown::LookupText(Integer Index) const
{
    if (Index < 0 || Index >= FItems->Count()) return String();
    return FItems->Items(Index)->ColumnText(FLookupColumn);
}

String TVodMultiColumnDropDown::CaseAdjust(const String& S) const { return FCaseSensitive ? S : AnsiUpperCase(S); }

void TVodMultiColumnDropDown::BuildLookupList()
{
    // Without a lookup column or items the previous entries stay.
    if (FLookupColumn < 0 || FItems->Count() == 0) return;
    FLookupList.clear();
    FLookupList.reserve(size_t(FItems->Count()));
    for (Integer i = 0; i < FItems->Count(); ++i) FLookupList.push_back(LookupText(i));
    FIndex.Clear();
}

const TLookupIndex& TVodMultiColumnDropDown::Index()
{
    if (!FIndex.Built() || FIndex.CaseSensitive() != FCaseSensitive) FIndex.Build(FLookupList, FCaseSensitive);
    return FIndex;
}

void TVodMultiColumnDropDown::Loaded()
{
    TVodCustomDropDown::Loaded();
    BuildLookupList();
}

void TVodMultiColumnDropDown::SetLookupColumn(Integer v)
{
    FLookupColumn = v;
    FLookupList.clear();
    FIndex.Clear();
    BuildLookupList();
}

Integer TVodMultiColumnDropDown::GetItemIndex(const String& Value)
{
    // An item without the lookup column reads as empty text.
    for (Integer i = 0; i < FItems->Count(); ++i)
        if (LookupText(i) == Value) return i;
    return -1;
}

void TVodMultiColumnDropDown::SetItemIndex(Integer v)
{
    if (v >= FItems->Count()) return;
    FItemIndex = v;
    String t;
    if (v >= 0 && FLookupColumn >= 0 && FLookupColumn < FItems->Items(v)->Text()->Count())
        t = FItems->Items(v)->Text()->Strings(FLookupColumn);
    SetText(t);
}

void TVodMultiColumnDropDown::Assign(TPersistent* Source)
{
    TVodCustomDropDown::Assign(Source);
    auto* s = dynamic_cast<TVodMultiColumnDropDown*>(Source);
    if (!s) return;
    FCaseSensitive = s->FCaseSensitive;
    FDropDownAutoWidth = s->FDropDownAutoWidth;
    FDropDownRowHeight = s->FDropDownRowHeight;
    FLineColor = s->FLineColor;
    FFixedLineColor = s->FFixedLineColor;
    FColumnSizing = s->FColumnSizing;
    FColumnSizeWithDropDown = s->FColumnSizeWithDropDown;
    FColumns->Assign(s->FColumns.get());
    FHeaderColor = s->FHeaderColor;
    FHeaderColorTo = s->FHeaderColorTo;
    FHeaderHeight = s->FHeaderHeight;
    FHeaderFont->Assign(s->FHeaderFont.get());
    SetLookupColumn(s->FLookupColumn);
    FSelectionTextColor = s->FSelectionTextColor;
    FItems->Assign(s->FItems.get());
    FItemIndex = s->FItemIndex;
}

void TVodMultiColumnDropDown::Change()
{
    FCompPending = false;
    ++FChangeSerial;
    TVodCustomDropDown::Change();
}

// ---------------------------------------------------------------------------
// Styles

void TVodMultiColumnDropDown::SetSelectionColorStyle(TSelectionColorStyle AStyle)
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

TListStyleRow MultiColDropDown::ListStyleRow(TQelStyle AStyle)
{
    constexpr TColor keep = ListStyleKeep;
    switch (AStyle) {
    case tsOffice2003Blue: return {0xD68759, 0x933803, 0xFFFFFF, scOffice2007, 0x962D00, 0x962D00, keep, 0};
    case tsOffice2003Silver: return {0xBDA4A5, 0x957475, keep, scOffice2007, 0x947C7C, 0x947C7C, keep, 0};
    case tsOffice2003Olive: return {0x82C0AF, 0x447A63, keep, scOffice2007, 0x588060, 0x588060, keep, 0};
    case tsOffice2003Classic: return {0x808080, 0x808080, keep, scOffice2007, 0x808080, 0x808080, keep, 0};
    case tsOffice2007Luna: return {0xFFEFE3, 0xFFD2AF, 0x723708, scOffice2007, 0xFFD2AF, 0xFFD2AF, keep, 0};
    case tsOffice2007Obsidian:
        return {0xF2F1F0, 0xC9C2BD, 0x433C37, scOffice2007, 0x5C534C, 0x5C534C, keep, 0};
    case tsWindowsXP:
        return {clBtnFace, clBtnFace, 0, scCustom, 0xC0C0C0, 0, clHighlight, clHighlightText};
    case tsWhidbey: return {0xEBEEEF, 0x7E9898, 0xFFFFFF, scOffice2007, 0x962D00, 0x962D00, keep, 0};
    case tsOffice2007Silver:
        return {0xF8F7F6, 0xE8E0DB, 0x8B4215, scOffice2007, 0x74706F, 0x74706F, keep, 0};
    case tsWindowsVista: return {0xFFFDF9, 0xFFFAF0, 0, scWindowsVista, 0xFCF2DA, 0xFCF2DA, keep, 0};
    case tsWindows7: return {0xFDFBFA, 0xFDF3EB, 0, scWindows7, 0xFBD6B8, 0xFBD6B8, keep, 0};
    case tsTerminal:
        return {clBtnFace, clBtnFace, 0, scCustom, 0x808080, 0x808080, clHighlight, clHighlightText};
    case tsOffice2010Blue: return {0xEDDBCD, clNone, 0x5B391E, scCustom, 0xEEDDCF, 0xEEDDCF, 0x6CD0FF, 0};
    case tsOffice2010Silver: return {0xEDE9E5, clNone, 0x5B391E, scCustom, 0xEEDDCF, 0xEEDDCF, 0x6CD0FF, 0};
    case tsOffice2010Black: return {0x828282, clNone, 0xD7D7D6, scCustom, 0xEEDDCF, 0xEEDDCF, 0x6CD0FF, 0};
    case tsWindows8:
    case tsWindows10: return {0xF7F6F5, clNone, 0, scCustom, 0xE4E3E2, 0xE4E3E2, 0xF7E0C9, 0};
    case tsOffice2013White: return {0xFFFFFF, clNone, 0, scCustom, 0xD4D4D4, 0xD4D4D4, 0xFCE2C8, 0};
    case tsOffice2013LightGray: return {0xF6F6F6, clNone, 0, scCustom, 0xC6C6C6, 0xC6C6C6, 0xFCE2C8, 0};
    case tsOffice2013Gray: return {0xE5E5E5, clNone, 0, scCustom, 0xABABAB, 0xABABAB, 0xFCE2C8, 0};
    case tsOffice2016White: return {0xFFFFFF, clNone, 0, scCustom, 0xD4D4D4, 0xD4D4D4, 0xE3BDA3, 0};
    case tsOffice2016Gray: return {0x444444, clNone, 0xF0F0F0, scCustom, 0x444444, 0x444444, 0xB2B2B2, 0};
    case tsOffice2016Black:
        return {0x444444, clNone, 0xFFFFFF, scCustom, 0x6A6A6A, 0x6A6A6A, 0x444444, 0xFFFFFF};
    default: return {keep, keep, keep, scOffice2007, keep, keep, keep, 0};
    }
}

void TVodMultiColumnDropDown::SetComponentStyle(TQelStyle AStyle)
{
    TVodCustomDropDown::SetComponentStyle(AStyle);
    if (AStyle == tsCustom) return;
    constexpr TColor keep = ListStyleKeep;
    const TListStyleRow row = ListStyleRow(AStyle);
    FHeaderColor = row.Header;
    FHeaderColorTo = row.HeaderTo;
    if (row.Font != keep) FHeaderFont->SetColor(row.Font);
    SetSelectionColorStyle(row.Sel);
    FLineColor = row.Line;
    FFixedLineColor = row.FixedLine;
    if (row.Selection != keep) {
        FSelectionColor = row.Selection;
        FSelectionColorTo = row.Selection;
    }
    FSelectionTextColor = row.SelText;
}

// ---------------------------------------------------------------------------
// The window

void TVodMultiColumnDropDown::CreateDropDownForm()
{
    TVodCustomDropDown::CreateDropDownForm();
    if (!FDropDownForm || FGrid) return;
    FGrid = new TVodColGrid(this);
    FGrid->SetParent(FDropDownForm);
    FGrid->DropDown = this;
    FGrid->SetBounds(0, 0, FGrid->Width(), 180);
    FGrid->SetColor(DropDownColor());
    FGrid->SetDoubleBuffered(true);
    if (FColumnSizeWithDropDown) FGrid->SetScrollBars(ssVertical);
}

void TVodMultiColumnDropDown::PlaceDropDownControl()
{
    // Made the hosted control, the list is placed by the writer itself.
    if (FGrid && FControl != FGrid) {
        SetControl(FGrid);
        return;
    }
    TVodCustomDropDown::PlaceDropDownControl();
}

void TVodMultiColumnDropDown::FillList()
{
    TVodColGrid* g = FGrid;
    g->FColumns->Assign(FColumns.get());
    g->SetColCount(std::max(1, FColumns->Count()));
    g->SetRowCount(std::max(2, FItems->Count() + 1));
    g->SetFixedRows(1);
    g->SetRow(1);
    for (Integer i = 0; i < FColumns->Count(); ++i) g->SetColWidths(i, FColumns->Items(i)->Width());
    g->LineColor = FLineColor;
    g->FixedLineColor = FFixedLineColor;
    g->HeaderColor = FHeaderColor;
    g->HeaderColorTo = FHeaderColorTo;
    g->HeaderHeight = FHeaderHeight;
    g->FHeaderFont->Assign(FHeaderFont.get());
    g->Images = Images();
    TGridOptions o = g->Options();
    if (FColumnSizing)
        o.Include(goColSizing);
    else
        o.Exclude(goColSizing);
    g->SetOptions(o);
    AutoSizeColumns();
    g->SetDefaultRowHeight(FDropDownRowHeight);
    WordWrapRowHeights();
    g->SetRowHeights(0, std::max(1, FHeaderHeight));
}

void TVodMultiColumnDropDown::AutoSizeColumns()
{
    if (!FGrid || FGrid->Parent() != FDropDownForm || !FDropDownForm) return;
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
            Integer iw = col->ColumnType() == ctImage && it->ImageIndex() >= 0 && Images() ? Images()->Width() + 4 : 0;
            w = std::max(w, iw + width(it->ColumnText(i)) + 6);
        }
        col->SetWidth(w);
        FGrid->FColumns->Items(i)->SetWidth(w);
        FGrid->SetColWidths(i, w);
    }
    c.SetHandle(nullptr);
    DeleteDC(dc);
}

void TVodMultiColumnDropDown::WordWrapRowHeights()
{
    if (!FGrid || FGrid->Parent() != FDropDownForm || !FDropDownForm) return;
    bool any = false;
    for (Integer i = 0; i < FColumns->Count(); ++i) any = any || FColumns->Items(i)->Wordwrap();
    if (!any) return;
    HDC dc = CreateScreenIC();
    TCanvas c;
    c.SetHandle(dc);
    for (Integer r = 0; r < FItems->Count(); ++r) {
        TDropDownItem* it = FItems->Items(r);
        Integer h = 24;
        for (Integer i = 0; i < FColumns->Count(); ++i) {
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

void TVodMultiColumnDropDown::DoBeforeDropDown()
{
    TVodCustomDropDown::DoBeforeDropDown();
    if (FDropDownForm) FDropDownForm->SetCancelOnDeActivate(false);
    if (!FGrid) return;
    FFilling = true;
    FillList();
    TGridOptions o = FGrid->Options();
    FGrid->SetOptions(o.Include(goThumbTracking));
    FGrid->SetColor(DropDownColor());
    FGrid->OnSelectCell = [this](TObject*, Integer c, Integer r, bool& can) { ListSelectCell(c, r, can); };
    FGrid->OnSelect = [this](TObject* s) { ListSelect(s); };
    Integer row = FItemIndex + 1;
    if (row < 1 || row >= FGrid->RowCount()) row = 1;
    FGrid->SetRow(row);
    FOldIndex = FItemIndex;
}

void TVodMultiColumnDropDown::AdjustDropDownSize(Integer& Height)
{
    // A row height of 0 would divide by zero: the height stays.
    if (FDropDownSizeable || FDropDownRowHeight <= 0) return;
    Integer bars = 0;
    if (FDropDownHeader->Visible()) bars += FDropDownHeader->Height();
    if (FDropDownFooter->Visible()) bars += FDropDownFooter->Height();
    const Integer h = Height - bars;
    const Integer n = std::max(0, (h - FHeaderHeight - 2) / FDropDownRowHeight);
    Height = bars + FHeaderHeight + n * FDropDownRowHeight + 2;
}

bool TVodMultiColumnDropDown::AllRowsVisible()
{
    if (!FGrid || !FDropDownForm) return true;
    Integer room = FDropDownForm->Height() - 2 * FDropDownBorderWidth;
    if (FDropDownHeader->Visible()) room -= FDropDownHeader->Height();
    if (FDropDownFooter->Visible()) room -= FDropDownFooter->Height();
    Int64 need = std::max(1, FHeaderHeight);
    const Integer rows = FGrid->RowCount() - 1;
    if (rows > 0 && need + Int64(rows) * FDropDownRowHeight > room) {
        // Uniform rows exceed the room already; only word-wrapped rows need
        // a closer look.
        bool wrapped = false;
        for (Integer i = 0; i < FColumns->Count(); ++i) wrapped = wrapped || FColumns->Items(i)->Wordwrap();
        if (!wrapped) return false;
    }
    for (Integer r = 1; r < FGrid->RowCount() && need <= room; ++r) need += FGrid->RowHeights(r);
    return need <= room;
}

void TVodMultiColumnDropDown::FitColumnWidths()
{
    if (!FColumnSizeWithDropDown || !FGrid || !FDropDownForm) return;
    // (A change of the bars makes the list's window anew: only when needed.)
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

void TVodMultiColumnDropDown::DoShowDropDown()
{
    if (!Enabled() || ReadOnly()) return;
    FOpenIndex = FItemIndex;
    TVodCustomDropDown::DoShowDropDown();
    FitColumnWidths();
    if (FGrid && FGrid->RowCount() > 1 && FItems->Count() > 0) {
        Integer row = FItemIndex + 1;
        if (FItemIndex < 0 || row >= FGrid->RowCount()) row = 1;
        FGrid->SetRow(row);
        TRect cr = FGrid->CellRect(0, row);
        if (cr.Width() <= 0 || cr.Height() <= 0) FGrid->SetTopRow(std::max(1, row - FGrid->VisibleRowCount() + 1));
    }
    FFilling = false;
}

void TVodMultiColumnDropDown::SizeDropDownForm()
{
    TVodCustomDropDown::SizeDropDownForm();
    if (!FDropDownForm || !FGrid) return;
    // The list takes the window's inner size, so placing it keeps the window.
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
    FGrid->SetAlign(alNone);
    FGrid->SetWidth(w);
    FDropDownForm->SetWidth(w + 2 * FDropDownBorderWidth);
    FGrid->SetAlign(alClient);
}

void TVodMultiColumnDropDown::DoHideDropDown(bool Cancelled)
{
    if (!FDropDownForm || !FDropDownForm->Visible()) {
        TVodCustomDropDown::DoHideDropDown(Cancelled);
        return;
    }
    TVodCustomDropDown::DoHideDropDown(Cancelled);
    if (Cancelled) {
        if (FItemIndex != FOldIndex) SetItemIndex(FOldIndex);
    } else if (FGrid && FGrid->ConfirmSelection()) {
        SetItemIndex(FGrid->Row() - 1);
    }
    FOldIndex = FItemIndex;
}

void TVodMultiColumnDropDown::FormSizing()
{
    TVodCustomDropDown::FormSizing();
    FitColumnWidths();
}

void TVodMultiColumnDropDown::HandleMouseWheelDown()
{
    TVodCustomDropDown::HandleMouseWheelDown();
    if (FItemIndex + 1 < FItems->Count()) SetItemIndex(FItemIndex + 1);
}

void TVodMultiColumnDropDown::HandleMouseWheelUp()
{
    TVodCustomDropDown::HandleMouseWheelUp();
    if (FItemIndex > 0) SetItemIndex(FItemIndex - 1);
}

void TVodMultiColumnDropDown::ListSelectCell(Integer, Integer ARow, bool&)
{
    if (!FGrid || FGrid->WheelSelection() || FFilling) return;
    if (ARow - 1 < FItems->Count()) SetItemIndex(ARow - 1);
}

void TVodMultiColumnDropDown::ListSelect(TObject*)
{
    if (!FGrid) return;
    if (FGrid->ConfirmSelection()) SetItemIndex(FGrid->Row() - 1);
    DoHideDropDown(false);
    if (OnSelect) OnSelect(this);
}

// ---------------------------------------------------------------------------
// Keys in the list

void TVodMultiColumnDropDown::ControlKeyDown(Word& Key, TShiftState Shift)
{
    const bool nav = Key == VK_PRIOR || Key == VK_NEXT || Key == VK_UP || Key == VK_DOWN;
    if (!nav || Shift.Contains(ssAlt)) TVodCustomDropDown::ControlKeyDown(Key, Shift);
    if (Key == VK_TAB) {
        Key = 0;
        HideDropDown(false);
        SelectAll();
    }
}

void TVodMultiColumnDropDown::ControlKeyUp(Word& Key, TShiftState Shift)
{
    const bool nav = Key == VK_PRIOR || Key == VK_NEXT || Key == VK_UP || Key == VK_DOWN;
    if (nav && !Shift.Contains(ssAlt)) return;
    TVodCustomDropDown::ControlKeyUp(Key, Shift);
}

void TVodMultiColumnDropDown::ShowRow(Integer Row)
{
    if (!FGrid || Row < 1 || Row >= FGrid->RowCount()) return;
    const Integer top = FGrid->TopRow(), vis = std::max(1, FGrid->VisibleRowCount());
    if (Row < top || Row >= top + vis) FGrid->SetTopRow(Row);
    FGrid->SetRow(Row);
    FGrid->SetCol(0);
}

void TVodMultiColumnDropDown::ControlKeyPress(wchar_t& Key)
{
    const wchar_t c = Key;
    const bool alt = GetKeyState(VK_MENU) < 0;
    if (!(alt || (c != L'\r' && c != 0x1B)) || (FGrid && FGrid->EditorMode())) {
        FLookupEntry.clear();
        return;
    }
    if (c == L'\b') {
        if (SelLengthRaw() == 0) {
            if (!FLookupEntry.empty()) FLookupEntry.pop_back();
            SetEditText(FLookupEntry);
        } else {
            String t = EditText();
            const Integer s = SelStartRaw(), l = SelLengthRaw();
            t.erase(size_t(std::clamp(s, 0, Integer(t.size()))), size_t(l));
            SetEditText(t);
        }
        const Integer end = Integer(EditText().size());
        SetSelRaw(end, end);
        return;
    }
    if (c != L'\t') FLookupEntry += c;
    Integer found = FLookupList.empty() ? -1 : Index().First(CaseAdjust(FLookupEntry));
    bool selectTail = true;
    if (found < 0 && !FLookupList.empty()) {
        found = Index().First(CaseAdjust(String(1, c)));
        if (found >= 0) {
            FLookupEntry = String(1, c);
            selectTail = false;
        }
    }
    if (found < 0 || found >= FItems->Count()) {
        FLookupEntry.clear();
        return;
    }
    SetItemIndex(found);
    if (selectTail) SetSelRaw(Integer(FLookupEntry.size()), Integer(EditText().size()));
    ShowRow(found + 1);
}

// ---------------------------------------------------------------------------
// Keys in the edit

void TVodMultiColumnDropDown::KeyDown(Word& Key, TShiftState Shift)
{
    if (FLookupColumn < 0 || FItems->Count() == 0) {
        TVodCustomDropDown::KeyDown(Key, Shift);
        return;
    }
    const Word key = Key;
    FWorkMode = !(key == VK_BACK || key == VK_ESCAPE || key == VK_DELETE);
    if (key == VK_RETURN) {
        if (!ReadOnly()) {
            const String t = AnsiUpperCase(EditText());
            for (size_t i = 0; i < FLookupList.size() && i < size_t(FItems->Count()); ++i)
                if (AnsiUpperCase(FLookupList[i]) == t) {
                    SetText(FLookupList[i]);
                    SetItemIndex(Integer(i));
                    Change();
                    break;
                }
        }
        if (FReturnIsTab) {
            if (HandleAllocated()) PostMessage(Handle(), WM_KEYDOWN, VK_TAB, 0);
            Key = 0;
            return;
        }
    }
    TVodCustomDropDown::KeyDown(Key, Shift);
    if (key == VK_ESCAPE) SetItemIndex(FOpenIndex);
}

void TVodMultiColumnDropDown::KeyPress(wchar_t& Key)
{
    if (Key == L'\r' && FReturnIsTab) {
        Key = 0;
        return;
    }
    TVodCustomDropDown::KeyPress(Key);
}

void TVodMultiColumnDropDown::KeyUp(Word& Key, TShiftState Shift)
{
    TVodCustomDropDown::KeyUp(Key, Shift);
    if (Key == VK_RETURN && FReturnIsTab) return;
    if (Key == VK_BACK || !FWorkMode) return;
    const bool carried = FCompPending;
    const Integer serial = FChangeSerial;
    const String text = EditText();
    SetEditModified(!text.empty());
    const Integer caret = std::clamp(SelStartRaw(), 0, Integer(text.size()));
    const String typed = text.substr(0, size_t(caret));
    const String key = CaseAdjust(typed);
    if (!FLookupList.empty()) {
        const Integer i = key.empty() ? -1 : Index().First(key);
        if (i >= 0 && i < FItems->Count()) {
            const String& entry = FLookupList[size_t(i)];
            const String tail = entry.substr(std::min(key.size(), entry.size()), 255);
            FItemIndex = i;
            SetEditText(typed + tail);
            FCompItem = i;
            FCompLen = Integer(typed.size());
            FCompPending = true;
            SetSelRaw(Integer(key.size()), Integer(EditText().size()));
        } else if (!typed.empty()) {
            SetEditText(typed);
            SetSelRaw(Integer(typed.size()), Integer(typed.size()));
        }
    }
    // A completion left from an earlier key, its text untouched since.
    if (carried && FCompPending && serial == FChangeSerial && FCompItem >= 0 && FCompItem < FItems->Count()) {
        const Integer len = FCompLen;
        SetItemIndex(FCompItem);
        FCompPending = false;
        SetSelRaw(len, Integer(EditText().size()));
    }
}

void TVodMultiColumnDropDown::WMKeyDown(TMessage& M)
{
    const Word key = M.CharCode();
    TVodCustomDropDown::WMKeyDown(M);
    if (!Enabled() || ReadOnly() || GetKeyState(VK_MENU) < 0) return;
    const Integer n = FItems->Count();
    if (n == 0) return;
    auto go = [&](Integer i) { SetItemIndex(std::clamp(i, 0, n - 1)); };
    switch (key) {
    case VK_PRIOR: go(FItemIndex < 0 ? 0 : FItemIndex - 10); break;
    case VK_NEXT: go(FItemIndex < 0 ? 0 : FItemIndex + 10); break;
    case VK_UP: go(FItemIndex < 0 ? 0 : FItemIndex - 1); break;
    case VK_DOWN: go(FItemIndex < 0 ? 0 : FItemIndex + 1); break;
    case VK_HOME:
        if (!FEditorEnabled) go(0);
        break;
    case VK_END:
        if (!FEditorEnabled) go(n - 1);
        break;
    default: break;
    }
}
