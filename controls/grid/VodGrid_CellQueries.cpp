// Cell queries the drawing, printing and interaction code ask about cells:
// the kind and object of a cell's graphic, and the graphic lifecycle that
// every Add and Remove of a cell graphic goes through.
#include <algorithm>
#include <cmath>

#include "controls/grid/VodGrid.h"
#include "controls/markup/PictureContainer.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"

namespace {
// The shared check box objects are lent to cells, never owned by them.
bool IsSharedGraphic(const TCellGraphic* g)
{
    return g->CellType() == ctVirtCheckBox || g->CellType() == ctRowCheckBox;
}

// Only the grid's own graphic class is freed with a cell; other graphic
// objects belong to whoever set them.
bool IsOwnedGraphic(const TObject* o) { return o && o->ClassName() == L"TCellGraphic"; }
}  // namespace

TCellGraphic* TVodStringGrid::CreateCellGraphic(Integer ACol, Integer ARow)
{
    if (ACol < 0 || ARow < 0) return nullptr;
    // A grid being destroyed takes no new graphics.
    if (ComponentState().Contains(csDestroying)) return nullptr;
    TObject* old = GetGraphicObjectEx(ACol, ARow);
    auto* g = new TCellGraphic;
    // The store keeps the new graphic (a blank text holds an empty cell's
    // block meanwhile) before the old one goes.
    SetGraphicObjectEx(ACol, ARow, g);
    if (auto* og = dynamic_cast<TCellGraphic*>(old); og && IsOwnedGraphic(og) && !IsSharedGraphic(og)) delete og;
    const Integer d = DisplColIndex(ACol);
    if (d != ACol) RepaintCell(d, ARow);
    return g;
}

void TVodStringGrid::RemoveCellGraphic(Integer ACol, Integer ARow)
{
    if (ACol < 0 || ARow < 0) return;
    TObject* o = GetGraphicObjectEx(ACol, ARow);
    if (!o) return;
    SetGraphicObjectEx(ACol, ARow, nullptr);
    if (auto* g = dynamic_cast<TCellGraphic*>(o); g && IsOwnedGraphic(g) && !IsSharedGraphic(g)) delete g;
    if (!ComponentState().Contains(csDestroying)) RepaintCell(DisplColIndex(ACol), ARow);
}

void TVodStringGrid::RemoveCellGraphicOfType(Integer ACol, Integer ARow, TCellType CellType)
{
    if (ACol < 0 || ARow < 0) return;
    const auto* g = dynamic_cast<TCellGraphic*>(GetGraphicObjectEx(ACol, ARow));
    if (g && g->CellType() == CellType) RemoveCellGraphic(ACol, ARow);
}

TCellType TVodStringGrid::GetCellType(Integer ACol, Integer ARow)
{
    if (ACol < 0 || ARow < 0) return ctEmpty;
    if (ACol == 0 && MouseActions()->HotmailRowSelect()) return ctRowCheckBox;
    const auto* g = dynamic_cast<TCellGraphic*>(GetGraphicObjectEx(ACol, ARow));
    return g ? g->CellType() : ctEmpty;
}

TCellGraphic* TVodStringGrid::GetCellGraphic(Integer ACol, Integer ARow)
{
    if (ACol < 0 || ARow < 0) return nullptr;
    if (ACol == 0 && MouseActions()->HotmailRowSelect()) {
        if (!FRowCheckGraphic) FRowCheckGraphic = std::make_unique<TCellGraphic>();
        TCellGraphic* g = FRowCheckGraphic.get();
        g->SetCellType(ctRowCheckBox);
        g->SetCellTransparent(ControlLook()->ControlStyle() == TControlLook::csFlat);
        // The selection marks of the rows come with the row selection; until
        // then no row reads as selected.
        g->SetCellBoolean(false);
        g->SetCellAngle(0);
        return g;
    }
    return dynamic_cast<TCellGraphic*>(GetGraphicObjectEx(ACol, ARow));
}

// ---------------------------------------------------------------------------
// Graphic queries

bool TVodStringGrid::GetCellEmpty(Integer ACol, Integer ARow)
{
    const auto* g = dynamic_cast<TCellGraphic*>(GetGraphicObjectEx(ACol, ARow));
    return !(g && (g->CellType() != ctNone || !g->CellComment().empty()));
}

TIntList* TVodStringGrid::GetCellImages(Integer ACol, Integer ARow)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    return g && g->CellType() == ctImages ? g->ImageList() : nullptr;
}

Integer TVodStringGrid::GetCellImageIdx(Integer ACol, Integer ARow)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) return -1;
    // A bitmap or icon is told apart by the object it shows.
    auto identity = [](const void* p) { return Integer(reinterpret_cast<uintptr_t>(p) & 0x7FFFFFFF); };
    switch (g->CellType()) {
    case ctImageList: return g->CellIndex();
    case ctBitmap: return identity(g->CellBitmap());
    case ctIcon: return identity(g->CellIcon());
    default: return -1;
    }
}

TCustomImageList* TVodStringGrid::GetCellImageList(Integer, Integer) { return FGridImages; }

TPoint TVodStringGrid::GetCellGraphicSize(Integer ACol, Integer ARow) { return CalcCellGraphicSize(ACol, ARow, 0); }

TPoint TVodStringGrid::CalcCellGraphicSize(Integer ACol, Integer ARow, Integer Margin)
{
    return MeasureCellGraphic(Canvas(), ACol, ARow, 1.0, Margin);
}

namespace {

bool BeforeOrAfter(TCellHAlign h) { return h == haBeforeText || h == haAfterText; }
bool UnderOrAbove(TCellVAlign v) { return v == vaUnderText || v == vaAboveText; }

bool IsCheckKind(TCellType t)
{
    return t == ctCheckBox || t == ctDataCheckBox || t == ctVirtCheckBox || t == ctRowCheckBox ||
           t == ctTriStateCheckBox;
}

Integer TextHeightGh(TCanvas* C) { return C ? C->TextHeight(L"gh") : 0; }

TStrings* RadioItems(TCellGraphic* g) { return dynamic_cast<TStrings*>(g->CellBitmap()); }

// The width of a radio group cell: the items side by side (horizontal) or
// the widest item (vertical), each with 12 pixels for its button. Count
// takes the number of items.
Integer RadioGroupWidth(TCanvas* C, TCellGraphic* g, Integer& Count)
{
    TStrings* items = RadioItems(g);
    Count = items ? items->Count() : 0;
    Integer W = g->CellBoolean() ? 0 : 12;
    for (Integer i = 0; i < Count; ++i) {
        const Integer w = (C ? C->TextWidth(items->Strings(i)) : 0) + 12;
        W = g->CellBoolean() ? W + w : std::max(W, w);
    }
    return W;
}

}  // namespace

TPoint TVodStringGrid::MeasureCellGraphic(TCanvas* ACanvas, Integer ACol, Integer ARow, double Scale, Integer Margin)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) return TPoint{0, 0};
    if (Scale <= 0) Scale = 1.0;
    const bool hasText = !GetCellEx(ACol, ARow).empty();
    const TCellHAlign ha = g->CellHAlign();
    const TCellVAlign va = g->CellVAlign();
    const TRect cr = CellRect(DisplColIndex(ACol), ARow);
    Integer W = 0, H = 0;
    bool exempt = false;
    auto listSize = [&](Integer& w, Integer& h) {
        w = FGridImages ? FGridImages->Width() : 0;
        h = FGridImages ? FGridImages->Height() : 0;
    };
    auto fitPicture = [&](TGraphic* pic, bool withText) {
        const Integer cw = cr.Width() - 2 * FXYOffset.X - 1;
        const Integer rh = cr.Height() - 2 * FXYOffset.Y - Margin - 1;
        const TPoint p = g->GetPictureSize(std::max(0, cw), std::max(0, rh), pic, withText);
        W = p.X;
        H = p.Y;
    };
    switch (g->CellType()) {
    case ctIcon:
        if (g->CellIcon()) {
            if (BeforeOrAfter(ha) || !hasText) W = g->CellIcon()->Width();
            H = g->CellIcon()->Height();
        }
        break;
    case ctBitmap:
        if (TBitmap* b = g->Bitmap()) {
            if (BeforeOrAfter(ha) || !hasText) W = b->Width();
            if (!(hasText && !UnderOrAbove(va))) H = b->Height();
        }
        break;
    case ctImageList:
    case ctDataImage: {
        Integer w = 0, h = 0;
        listSize(w, h);
        if (BeforeOrAfter(ha) || !hasText) W = w;
        if (UnderOrAbove(va) || !hasText) H = h;
        break;
    }
    case ctPicture:
    case ctFilePicture: fitPicture(nullptr, hasText); break;
    case ctDataPicture:
        if (FPictureContainer) {
            if (TGraphic* pic = FPictureContainer->FindPicture(GetCellEx(ACol, ARow))) fitPicture(pic, false);
        }
        break;
    case ctButton:
    case ctBitButton: {
        W = g->CellIndex() & 0xFFFF;
        H = (g->CellIndex() >> 16) & 0xFFFF;
        if (hasText) {
            if (ha == haCenter) W = 0;
            if (ha == haFull && ACanvas) W = Integer(std::lround((ACanvas->TextWidth(g->CellText()) + 4) / Scale));
            if (!(UnderOrAbove(va) || BeforeOrAfter(ha))) H = 0;
            if (UnderOrAbove(va)) W = 0;
        } else if (ha == haFull && ACanvas) {
            TFont saved;
            saved.Assign(ACanvas->Font());
            ACanvas->Font()->Assign(ARow < FixedRows() || ACol < FixedCols() ? FixedFont() : Font());
            W = Integer(std::lround((ACanvas->TextWidth(g->CellText()) + 8) / Scale));
            ACanvas->Font()->Assign(&saved);
            exempt = !g->CellText().empty();
        }
        break;
    }
    case ctInterface: {
        IGridCellDraw* d = nullptr;
        if (Supports(g->CellBitmap(), d)) {
            W = d->CellDrawWidth();
            H = d->CellDrawHeight();
        }
        if (W == 0 || H == 0) {
            W = cr.Width();
            H = cr.Height();
        }
        break;
    }
    case ctProgressPie: W = H = 20; break;
    case ctRadioButton: W = H = ControlLook()->RadioSize(); break;
    case ctRadio: {
        Integer n = 0;
        W = RadioGroupWidth(ACanvas, g, n);
        const Integer th = TextHeightGh(ACanvas);
        H = g->CellBoolean() ? th : std::max(16, Integer(std::lround((th + 3) * n / Scale)));
        break;
    }
    case ctRating:
        W = g->CellAngle() * 18;
        H = 16;
        exempt = true;
        break;
    case ctShape: W = H = DefaultRowHeight() - 4; break;
    case ctImages: {
        Integer w = 0, h = 0;
        listSize(w, h);
        const Integer n = g->ImageList() ? g->ImageList()->Count() : 0;
        if (g->CellBoolean()) {
            W = n * w;
            H = h;
        } else {
            W = w;
            H = n * h;
        }
        break;
    }
    default:
        if (IsCheckKind(g->CellType())) {
            // The platform's rounding: halves go to the even side.
            W = H = Integer(std::nearbyint(ControlLook()->CheckSize() * FDPIScale));
        }
        break;
    }
    if (!exempt) {
        if (va == vaFull) H = cr.Height();
        if (ha == haFull) W = cr.Width();
    }
    return TPoint{W, H};
}

TPoint TVodStringGrid::MeasurePrintCellGraphic(TCanvas* ACanvas, Integer ACol, Integer ARow, Integer AW, Integer AH)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) return TPoint{0, 0};
    const bool hasText = !GetCellEx(ACol, ARow).empty();
    const TRect cr = CellRect(DisplColIndex(ACol), ARow);
    Integer W = 0, H = 0;
    const Integer lw = FGridImages ? FGridImages->Width() : 0, lh = FGridImages ? FGridImages->Height() : 0;
    switch (g->CellType()) {
    case ctBitmap:
        if (TBitmap* b = g->Bitmap()) {
            W = b->Width();
            H = b->Height();
        }
        break;
    case ctIcon:
        if (g->CellIcon()) {
            W = g->CellIcon()->Width();
            H = g->CellIcon()->Height();
        }
        break;
    case ctImageList:
        if (BeforeOrAfter(g->CellHAlign()) || !hasText) W = lw;
        H = lh;
        break;
    case ctDataImage:
        W = lw;
        H = lh;
        break;
    case ctNode:
    case ctProgressPie: W = H = 20; break;
    case ctRadio: {
        Integer n = 0;
        W = RadioGroupWidth(ACanvas, g, n);
        const Integer th = TextHeightGh(ACanvas);
        H = g->CellBoolean() ? th : th * n;
        break;
    }
    case ctImages: {
        const Integer n = g->ImageList() ? g->ImageList()->Count() : 0;
        W = g->CellBoolean() ? n * lw : lw;
        H = g->CellBoolean() ? lh : n * lh;
        break;
    }
    case ctPicture:
    case ctFilePicture: {
        const TPoint p = g->GetPictureSize(std::max(0, AW), std::max(0, AH), hasText);
        W = p.X;
        H = p.Y;
        break;
    }
    case ctDataPicture:
        if (FPictureContainer) {
            if (TGraphic* pic = FPictureContainer->FindPicture(GetCellEx(ACol, ARow))) {
                const TPoint p = g->GetPictureSize(std::max(0, AW), std::max(0, AH), pic, false);
                W = p.X;
                H = p.Y;
            }
        }
        break;
    case ctProgress:
    case ctXPProgress:
        W = ColWidths(DisplColIndex(ACol));
        H = RowHeights(ARow);
        break;
    case ctButton:
    case ctBitButton:
        W = g->CellIndex() & 0xFFFF;
        H = (g->CellIndex() >> 16) & 0xFFFF;
        break;
    case ctInterface: {
        IGridCellDraw* d = nullptr;
        if (Supports(g->CellBitmap(), d)) {
            W = d->CellDrawWidth();
            H = d->CellDrawHeight();
        }
        if (W == 0) W = cr.Width();
        if (H == 0) H = cr.Height();
        break;
    }
    case ctRadioButton: W = H = ControlLook()->RadioSize(); break;
    case ctShape: W = H = RowHeights(ARow) - 2 * FXYOffset.Y; break;
    default:
        if (IsCheckKind(g->CellType())) W = H = Integer(std::nearbyint(ControlLook()->CheckSize() * FDPIScale));
        break;
    }
    return TPoint{W, H};
}

bool TVodStringGrid::IsMaskedTextCell(Integer ACol, Integer ARow)
{
    bool b = false;
    IsPasswordCell(ACol, ARow, b);
    return b;
}

// ---------------------------------------------------------------------------
// Sort indicator and display text

bool TVodStringGrid::IsSortIndicatorCell(Integer ACol, Integer ARow)
{
    if (ACol < 0 || ARow < 0) return false;
    const Integer r = ARow + std::max(0, CellSpan(ACol, ARow).Y);
    return r == SortSettings()->Row() && SortSettings()->Show() && RowCount() > FixedRows() + 1;
}

void TVodStringGrid::GetDisplText(Integer ACol, Integer ARow, String& Value)
{
    TBaseGrid::GetDisplText(ACol, ARow, Value);
    if (FURLShowInText) {
        static const wchar_t* const kPrefixes[] = {L"HTTP://", L"WWW.",    L"MAILTO:", L"HTTPS://",
                                                   L"NNTP://", L"FILE://", L"FTP://"};
        for (const wchar_t* pre : kPrefixes) {
            String linked;
            if (LinkifyText(Value, pre, linked)) {
                Value = linked;
                break;
            }
        }
    }
    // A group's node row shows the number of its rows after its text.
    if (FGrouping->ShowGroupCount() && ACol == 1 && IsNode(ARow)) {
        const Integer n = GetNodeSpan(ARow) - GetSubNodeCount(ARow) - 1;
        const String fmt = FGrouping->GroupCountFormat();
        String count = L" (" + IntToStr(n) + L")";
        if (!fmt.empty()) {
            // A pattern that does not take one integer keeps the plain form.
            try {
                count = Format(fmt, {n});
            } catch (const Exception&) {
            }
        }
        Value += count;
    }
}

// ---------------------------------------------------------------------------
// Notification hooks

void TVodStringGrid::DragDropStart()
{
    if (OnStartBlockFocus) OnStartBlockFocus(this);
}

void TVodStringGrid::DragDropEnd()
{
    if (OnEndBlockFocus) OnEndBlockFocus(this);
}

void TVodStringGrid::EllipsClick(const String& Value, String& S)
{
    S = Value;
    if (OnEllipsClick) OnEllipsClick(this, RealColIndex(Col()), Row(), S);
}

// ---------------------------------------------------------------------------
// Small operations

void TVodStringGrid::RepaintActiveHeaders(Integer C1, Integer R1, Integer R2, Integer C2)
{
    const Integer fr = FixedRows(), fc = FixedCols();
    for (auto [c, r] : {std::pair{C1, R1}, std::pair{C2, R2}}) {
        if (fr > 0) RepaintCell(c, fr - 1);
        if (fc > 0) RepaintCell(fc - 1, r);
    }
}

void TVodStringGrid::InitOrigColSizes()
{
    FOrigColSizes.clear();
    for (Integer c = 0; c < ColCount(); ++c) FOrigColSizes.push_back(ColWidths(c));
    FOrigGridWidth = Width();
}

void TVodStringGrid::OleColumnDragStart(Integer ACol, Integer AIndex, TObject* AList)
{
    SetOleDragColumn(ACol, AIndex, dynamic_cast<TCustomListBox*>(AList));
}

TForm* TVodStringGrid::SelectionToForm(TGridRect ARect)
{
    if (ARect.Left > ARect.Right) std::swap(ARect.Left, ARect.Right);
    if (ARect.Top > ARect.Bottom) std::swap(ARect.Top, ARect.Bottom);
    const TRect r1 = CellRect(ARect.Left, ARect.Top), r2 = CellRect(ARect.Right, ARect.Bottom);
    TBitmap whole;
    whole.SetSize(std::max(1, Width()), std::max(1, Height()));
    PaintTo(whole.Canvas(), 0, 0);
    const TRect src{r1.Left + 1, r1.Top + 1, r2.Right + 2, r2.Bottom + 2};
    const Integer w = std::max(1, src.Width()), h = std::max(1, src.Height());
    auto* form = new TForm(Application);
    form->SetBorderStyle(bsNone);
    form->SetFormStyle(fsStayOnTop);
    form->SetAlphaBlend(true);
    form->SetAlphaBlendValue(192);
    form->SetClientWidth(w);
    form->SetClientHeight(h);
    auto* img = new TImage(form);
    img->SetParent(form);
    img->SetAlign(alClient);
    TBitmap* pic = img->Picture()->Bitmap();
    pic->SetSize(w, h);
    pic->Canvas()->CopyRect(TRect{0, 0, w, h}, whole.Canvas(), src);
    TCanvas* c = pic->Canvas();
    c->Pen()->SetColor(GridFixedLineColor());
    c->Pen()->SetWidth(1);
    if (ARect.Left == 0 && FixedCols() > 0 && Options().Contains(goFixedHorzLine)) {
        c->MoveTo(0, 0);
        c->LineTo(0, h);
    }
    if (ARect.Top == 0 && FixedRows() > 0 && Options().Contains(goFixedVertLine)) {
        c->MoveTo(0, 0);
        c->LineTo(w, 0);
    }
    return form;
}

// Our own release numbering: 2.4.0.1 of March 2026.
Integer TVodStringGrid::GetVersionNr() { return Integer((2u << 24) | (4u << 16) | (0u << 8) | 1u); }

String TVodStringGrid::GetVersionString()
{
    const Cardinal v = Cardinal(GetVersionNr());
    return IntToStr(Integer(v >> 24)) + L"." + IntToStr(Integer((v >> 16) & 0xFF)) + L"." +
           IntToStr(Integer((v >> 8) & 0xFF)) + L"." + IntToStr(Integer(v & 0xFF)) + L" March 2026";
}
