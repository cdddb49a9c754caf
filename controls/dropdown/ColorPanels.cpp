#include "controls/dropdown/ColorPanels.h"

#include <algorithm>

#include "platform/base/SysUtils.h"
#include "platform/gfx/Gdi.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"

// ---------------------------------------------------------------------------
// The palette

void TColorBoxItem::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TColorBoxItem*>(Source);
    if (!s) {
        TCollectionItem::Assign(Source);
        return;
    }
    SetColor(s->FColor);
    FColorBoxPos = s->FColorBoxPos;
    FEnabled = s->FEnabled;
}

void TColorBoxItem::SetColor(TColor v)
{
    if (FColor == v) return;
    FColor = v;
    Changed(false);
}

void TColorBoxAppearance::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TColorBoxAppearance*>(Source);
    if (!s) {
        TPersistent::Assign(Source);
        return;
    }
    BorderColor = s->BorderColor;
    OuterBorderColorHot = s->OuterBorderColorHot;
    InnerBorderColorHot = s->InnerBorderColorHot;
    OuterBorderColorSelected = s->OuterBorderColorSelected;
    InnerBorderColorSelected = s->InnerBorderColorSelected;
}

TCustomColorSelector::TCustomColorSelector(TComponent* AOwner)
    : TVodCustomColorSelectorPanel(AOwner),
      FItems(std::make_unique<TColorBoxItems>(this)),
      FAppearance(std::make_unique<TColorBoxAppearance>())
{
    SetParentColor(true);
    SetItemColorStyle(scOffice2007);
}

TCustomColorSelector::~TCustomColorSelector() = default;

void TCustomColorSelector::SetItemColorStyle(TSelectionColorStyle v)
{
    FItemColorStyle = v;
    if (v == scCustom) return;
    TColorBoxAppearance d;
    FAppearance->Assign(&d);
}

void TCustomColorSelector::SetColumns(Integer v)
{
    if (v == FColumns || v <= 0) return;
    FColumns = v;
    ArrangeItems();
}

void TCustomColorSelector::SetColumnGap(Integer v)
{
    if (v == FColumnGap) return;
    FColumnGap = v;
    ArrangeItems();
}

void TCustomColorSelector::SetColorBoxWidth(Integer v)
{
    if (v == FColorBoxWidth) return;
    FColorBoxWidth = v;
    ArrangeItems();
}

void TCustomColorSelector::SetColorBoxHeight(Integer v)
{
    if (v == FColorBoxHeight) return;
    FColorBoxHeight = v;
    ArrangeItems();
}

void TCustomColorSelector::AddDefaultBoxes()
{
    static const uint32_t rows[6][10] = {
        {0xFFFFFF, 0x000000, 0xE1ECEE, 0x7D491F, 0xBD814F, 0x4D50C0, 0x59BB9B, 0xA26480, 0xC6AC4B, 0x4696F7},
        {0xF2F2F2, 0x7F7F7F, 0xC3D9DD, 0xDACEC2, 0xF1E5DB, 0xDBDCF2, 0xDDF1EB, 0xECE0E5, 0xF3EEDB, 0xDAEAFD},
        {0xD8D8D8, 0x595959, 0x97BDC4, 0xE2B38D, 0xE4CCB8, 0xB7B9E5, 0xBCE3D7, 0xD9C1CC, 0xE8DDB7, 0xB5D5FB},
        {0xBFBFBF, 0x3F3F3F, 0x538993, 0xD48D54, 0xD7B395, 0x9496D9, 0x9BD6C3, 0xC7A2B2, 0xDCCD92, 0x8FC0FA},
        {0xA5A5A5, 0x262626, 0x294449, 0x5D3617, 0x926036, 0x343795, 0x3C9276, 0x7A495F, 0x9B8531, 0x096CE3},
        {0x7F7F7F, 0x0C0C0C, 0x101B1D, 0x3E240F, 0x614024, 0x232463, 0x28614F, 0x51313F, 0x675820, 0x064897},
    };
    static const TItemPos pos[6] = {ipStandAlone, ipTop, ipMiddle, ipMiddle, ipMiddle, ipBottom};
    FItems->BeginUpdate();
    for (Integer r = 0; r < 6; ++r)
        for (Integer c = 0; c < 10; ++c) {
            TColorBoxItem* it = FItems->Add();
            it->SetColor(TColor(rows[r][c]));
            it->SetColorBoxPos(pos[r]);
        }
    FItems->EndUpdate();
}

void TCustomColorSelector::GetItemArea(TRect& Rect)
{
    Rect = ClientRect();
    Rect.Left += OffSetX;
    Rect.Top += OffSetY;
    Rect.Right -= OffSetX;
    Rect.Bottom -= OffSetY;
}

void TCustomColorSelector::GetItemSize(TSize& Size) { Size = TSize{FColorBoxWidth, FColorBoxHeight}; }

void TCustomColorSelector::ArrangeItems()
{
    if (FItems->Count() == 0) {
        SetWidth(100);
        SetHeight(50);
        return;
    }
    FItemHot = -1;
    TSize sz{0, 0};
    GetItemSize(sz);
    TRect area;
    GetItemArea(area);
    const Integer cols = std::max(1, FColumns);
    Integer x = area.Left, y = area.Top, widest = area.Left;
    bool standAloneRow = false;
    for (Integer i = 0; i < FItems->Count(); ++i) {
        TColorBoxItem* it = FItems->Items(i);
        it->SetRect(TRect{x, y, x + sz.cx, y + sz.cy});
        widest = std::max(widest, x);
        if (it->ColorBoxPos() == ipStandAlone) standAloneRow = true;
        const bool last = i + 1 == FItems->Count();
        if ((i + 1) % cols == 0 && !last) {
            x = area.Left;
            y += sz.cy;
            // A row of stand-alone boxes keeps a gap below; grouped rows touch.
            if (standAloneRow) y += FColumnGap;
            standAloneRow = false;
        } else {
            x += sz.cx + FColumnGap;
        }
    }
    SetWidth(widest + sz.cx + OffSetX + 1);
    SetHeight(y + sz.cy + OffSetY);
}

Integer TCustomColorSelector::ItemAtPos(Integer X, Integer Y) const
{
    for (Integer i = 0; i < FItems->Count(); ++i)
        if (PtInRect(FItems->Items(i)->Rect(), TPoint{X, Y})) return i;
    return -1;
}

void TCustomColorSelector::InvalidateItem(Integer Index)
{
    if (Index < 0 || Index >= FItems->Count() || !HandleAllocated()) return;
    TRect r = FItems->Items(Index)->Rect();
    RECT rc = r;
    InvalidateRect(Handle(), &rc, TRUE);
}

void TCustomColorSelector::SetItemIndex(Integer V)
{
    if (V >= 0 && V < FItems->Count() && !FItems->Items(V)->Enabled()) return;
    if (FItemIndex >= 0 && FItemIndex != V) {
        Integer old = FItemIndex;
        FItemIndex = -1;
        InvalidateItem(old);
    }
    FItemIndex = V;
    if (V >= 0 && V < FItems->Count()) {
        FSelectedColor = FItems->Items(V)->Color();
        if (HandleAllocated()) DrawItem(V, Canvas());
        if (OnItemSelect) OnItemSelect(this);
    }
}

void TCustomColorSelector::SetItemHot(Integer V)
{
    if (V == FItemHot) return;
    if (V >= 0 && V < FItems->Count() && !FItems->Items(V)->Enabled()) return;
    if (FItemHot >= 0) {
        Integer old = FItemHot;
        FItemHot = -1;
        InvalidateItem(old);
    }
    FItemHot = V;
    if (V >= 0 && HandleAllocated()) DrawItem(V, Canvas());
}

void TCustomColorSelector::SetSelectedColor(TColor v)
{
    if (v == FSelectedColor) return;
    FSelectedColor = v;
    for (Integer i = 0; i < FItems->Count(); ++i)
        if (FItems->Items(i)->Color() == v) {
            if (FItemIndex != i) {
                Integer old = FItemIndex;
                FItemIndex = i;
                InvalidateItem(old);
                InvalidateItem(i);
            }
            return;
        }
    Integer old = FItemIndex;
    FItemIndex = -1;
    InvalidateItem(old);
}

void TCustomColorSelector::SelectNext()
{
    if (FItems->Count() == 0) return;
    if (FItemIndex < 0)
        SetItemIndex(0);
    else if (FItemIndex + 1 < FItems->Count())
        SetItemIndex(FItemIndex + 1);
}

void TCustomColorSelector::SelectPrevious()
{
    if (FItems->Count() == 0) return;
    if (FItemIndex < 0)
        SetItemIndex(0);
    else if (FItemIndex > 0)
        SetItemIndex(FItemIndex - 1);
}

void TCustomColorSelector::HotNext()
{
    if (FItemHot + 1 < FItems->Count()) SetItemHot(FItemHot + 1);
}

void TCustomColorSelector::HotPrevious()
{
    if (FItemHot > 0) SetItemHot(FItemHot - 1);
}

void TCustomColorSelector::HandleKey(Word Key, bool EditorEnabled, bool DroppedDown)
{
    if (!Enabled() || FItems->Count() == 0) return;
    switch (Key) {
    case VK_PRIOR:
    case VK_HOME: SetItemIndex(0); break;
    case VK_NEXT:
    case VK_END: SetItemIndex(FItems->Count() - 1); break;
    case VK_LEFT:
        if (DroppedDown || !EditorEnabled) SelectPrevious();
        break;
    case VK_RIGHT:
        if (DroppedDown || !EditorEnabled) SelectNext();
        break;
    case VK_UP:
    case VK_DOWN: {
        if (!DroppedDown) {
            if (Key == VK_UP)
                SelectPrevious();
            else
                SelectNext();
            break;
        }
        Integer target = FItemIndex < 0 ? 0 : FItemIndex + (Key == VK_UP ? -FColumns : FColumns);
        if (target >= 0 && target < FItems->Count()) SetItemIndex(target);
        break;
    }
    default: break;
    }
}

void TCustomColorSelector::Paint()
{
    for (Integer i = 0; i < FItems->Count(); ++i) DrawItem(i, Canvas());
}

void TCustomColorSelector::DrawItem(Integer Index, TCanvas* C)
{
    if (!C || Index < 0 || Index >= FItems->Count()) return;
    TColorBoxItem* it = FItems->Items(Index);
    TRect r = it->Rect();
    if (r.Left < 0 && r.Right < 0) return;
    // The fill covers a frame drawn before (frames lie inside the box).
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(it->Color() != clNone ? it->Color() : Color());
    C->FillRect(r);
    const bool selected = Index == FItemIndex, hot = Index == FItemHot;
    if (selected || hot) {
        TColor outer = selected ? FAppearance->OuterBorderColorSelected : FAppearance->OuterBorderColorHot;
        TColor inner = selected ? FAppearance->InnerBorderColorSelected : FAppearance->InnerBorderColorHot;
        C->Brush()->SetStyle(bsClear);
        if (outer != clNone) {
            C->Pen()->SetColor(outer);
            C->Rectangle(r);
        }
        if (inner != clNone) {
            C->Pen()->SetColor(inner);
            C->Rectangle(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
        }
        C->Brush()->SetStyle(bsSolid);
        return;
    }
    C->Pen()->SetColor(FAppearance->BorderColor);
    const Integer l = r.Left, t = r.Top, rr = r.Right - 1, b = r.Bottom - 1;
    auto line = [&](Integer x1, Integer y1, Integer x2, Integer y2) {
        C->MoveTo(x1, y1);
        C->LineTo(x2, y2);
    };
    switch (it->ColorBoxPos()) {
    case ipStandAlone:
        C->Brush()->SetStyle(bsClear);
        C->Rectangle(r);
        C->Brush()->SetStyle(bsSolid);
        break;
    case ipTop:
        line(l, b + 1, l, t);
        line(l, t, rr, t);
        line(rr, t, rr, b + 1);
        break;
    case ipMiddle:
        line(l, t, l, b + 1);
        line(rr, t, rr, b + 1);
        break;
    case ipBottom:
        line(l, t, l, b);
        line(l, b, rr, b);
        line(rr, t, rr, b + 1);
        break;
    }
}

void TCustomColorSelector::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    TVodCustomColorSelectorPanel::MouseDown(Button, Shift, X, Y);
    Integer i = ItemAtPos(X, Y);
    if (i >= 0 && FItems->Items(i)->Enabled()) SetItemIndex(i);
}

void TCustomColorSelector::MouseMove(TShiftState Shift, Integer X, Integer Y)
{
    TVodCustomColorSelectorPanel::MouseMove(Shift, X, Y);
    Integer i = ItemAtPos(X, Y);
    if (i >= 0 && FItems->Items(i)->Enabled())
        SetItemHot(i);
    else
        SetItemHot(-1);
}

void TCustomColorSelector::CMMouseLeave(TMessage& M)
{
    TVodCustomColorSelectorPanel::CMMouseLeave(M);
    SetItemHot(-1);
}

// ---------------------------------------------------------------------------
// The honeycomb

namespace {

const uint32_t kCubeColors[127] = {
    // row 1
    0x663300, 0x996633, 0xCC6633, 0x993300, 0x990000, 0xCC0000, 0x660000,
    // row 2
    0x666600, 0x996600, 0xCC9900, 0xCC6600, 0xCC3300, 0xFF0000, 0xFF3333, 0x993333,
    // row 3
    0x808000, 0x999900, 0xCCCC33, 0xFFCC00, 0xFF9900, 0xFF6600, 0xFF6633, 0xCC3333, 0x996666,
    // row 4
    0x669933, 0x99CC00, 0xCCFF00, 0xFFFF00, 0xFFCC33, 0xFF9933, 0xFF9966, 0xFF6666, 0xFF0066, 0xCC0066,
    // row 5
    0x339933, 0x66CC00, 0x99FF00, 0xCCFF66, 0xFFFF66, 0xFFCC66, 0xFFCC99, 0xFF9999, 0xFF6699, 0xFF3399, 0xFF0099,
    // row 6
    0x006600, 0x00CC00, 0x00FF00, 0x99FF66, 0xCCFF99, 0xFFFFCC, 0xFFECCC, 0xFFCCCC, 0xFF99CC, 0xFF66CC, 0xFF00CC,
    0xCC0099,
    // row 7
    0x003300, 0x008000, 0x33CC33, 0x66FF66, 0x99FF99, 0xCCFFCC, 0xFFFFFF, 0xFFCCFF, 0xFF99FF, 0xFF66FF, 0xFF00FF,
    0xCC00CC, 0x660066,
    // row 8
    0x006633, 0x009900, 0x33FF66, 0x66FF99, 0x99FFCC, 0xCCFFFF, 0xCCCCFF, 0xCC99FF, 0xCC66FF, 0xCC33FF, 0x9900CC,
    0x800080,
    // row 9
    0x003333, 0x009966, 0x33FF99, 0x66FFCC, 0x99FFFF, 0x99CCFF, 0x9999FF, 0x9966FF, 0x9933FF, 0x9933CC, 0x990099,
    // row 10
    0x336666, 0x00CC99, 0x33FFCC, 0x66FFFF, 0x66CCFF, 0x6699FF, 0x807CFF, 0x6600FF, 0x9300D6, 0x663399,
    // row 11
    0x008080, 0x00CCCC, 0x00FFFF, 0x00CCFF, 0x3399FF, 0x0066FF, 0x5050FF, 0x6600CC, 0x330066,
    // row 12
    0x336699, 0x0099CC, 0x0099FF, 0x0066CC, 0x0033FF, 0x0000FF, 0x0000CC, 0x330099,
    // row 13
    0x003366, 0x006699, 0x0033CC, 0x003399, 0x000099, 0x000080, 0x2100A5,
};

}  // namespace

TVodColorCubePanel::TVodColorCubePanel(TComponent* AOwner) : TVodCustomColorSelectorPanel(AOwner)
{
    SetShowRGBHint(true);
    InitCells();
    ResetHot();
}

void TVodColorCubePanel::SetShowRGBHint(bool v)
{
    FShowRGBHint = v;
    SetShowHint(v);
}

void TVodColorCubePanel::InitCells()
{
    FCubeSize = TPoint{6, 3};
    Integer n = 1;
    for (Integer j = 1; j <= 13; ++j) {
        const Integer y = 20 + 10 * (j - 1);
        const Integer count = j <= 7 ? j + 6 : 20 - j;
        const Integer x0 = j == 1 ? 55 : j <= 7 ? 55 - 6 * (j - 1) : 19 + 6 * (j - 7);
        for (Integer k = 0; k < count; ++k, ++n) {
            FCells[size_t(n)].Center = TPoint{x0 + 2 * FCubeSize.X * k, y};
            FCells[size_t(n)].Color = TColor(kCubeColors[n - 1]);
        }
    }
}

void TVodColorCubePanel::ResetHot()
{
    FHotIndex = -1;
    SetBounds(Left(), Top(), 182, 160);
}

void TVodColorCubePanel::SetCubeCellColor(Integer i, TColor Color)
{
    if (i < 1 || i > 127) return;
    FCells[size_t(i)].Color = Color;
}

TColor TVodColorCubePanel::GetCubeCellColor(Integer i) const
{
    if (i < 1 || i > 127) return clNone;
    return FCells[size_t(i)].Color;
}

TPoint TVodColorCubePanel::CellCenter(Integer i) const
{
    if (i < 1 || i > 127) return TPoint{-1, -1};
    return FCells[size_t(i)].Center;
}

Integer TVodColorCubePanel::CellAtPos(Integer X, Integer Y) const
{
    const Integer r2 = FCubeSize.X * FCubeSize.X;
    for (Integer i = 1; i <= 127; ++i) {
        const Integer dx = X - FCells[size_t(i)].Center.X, dy = Y - FCells[size_t(i)].Center.Y;
        if (dx * dx + dy * dy <= r2) return i;
    }
    return -1;
}

void TVodColorCubePanel::SelectCell(TColor Color, Integer Index)
{
    FSelectedColor = Color;
    if (Index >= 1) {
        FSelectedIndex = Index;
        return;
    }
    FSelectedIndex = -1;
    for (Integer i = 1; i <= 127; ++i)
        if (FCells[size_t(i)].Color == Color) {
            FSelectedIndex = i;
            return;
        }
}

void TVodColorCubePanel::DrawHexagon(TCanvas* C, TPoint c, Integer w, Integer q, TColor Pen, TColor Brush)
{
    C->Pen()->SetColor(Pen);
    if (Brush == clNone) {
        C->Brush()->SetStyle(bsClear);
    } else {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(Brush);
    }
    C->Polygon({{c.X - w, c.Y - q}, {c.X, c.Y - 2 * q}, {c.X + w, c.Y - q}, {c.X + w, c.Y + q}, {c.X, c.Y + 2 * q},
                {c.X - w, c.Y + q}});
    C->Brush()->SetStyle(bsSolid);
}

void TVodColorCubePanel::DrawHotFrame(TCanvas* C, Integer i)
{
    DrawHexagon(C, FCells[size_t(i)].Center, 5, 3, TColor(0x0000FF), clNone);
    DrawHexagon(C, FCells[size_t(i)].Center, 4, 2, clWhite, clNone);
}

void TVodColorCubePanel::DrawSelectedFrame(TCanvas* C, Integer i)
{
    DrawHexagon(C, FCells[size_t(i)].Center, 5, 3, clBlack, clNone);
    DrawHexagon(C, FCells[size_t(i)].Center, 4, 2, clWhite, clNone);
}

void TVodColorCubePanel::DrawCell(TCanvas* C, Integer i)
{
    if (!C || i < 1 || i > 127) return;
    DrawHexagon(C, FCells[size_t(i)].Center, FCubeSize.X, FCubeSize.Y, FCells[size_t(i)].Color,
                FCells[size_t(i)].Color);
    if (i == FHotIndex) DrawHotFrame(C, i);
    if (i == FSelectedIndex) DrawSelectedFrame(C, i);
}

void TVodColorCubePanel::Paint()
{
    TCanvas* C = Canvas();
    C->Brush()->SetColor(Color());
    C->FillRect(ClientRect());
    for (Integer i = 1; i <= 127; ++i) DrawCell(C, i);
}

void TVodColorCubePanel::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    TVodCustomColorSelectorPanel::MouseDown(Button, Shift, X, Y);
    Integer c = CellAtPos(X, Y);
    if (c < 0) return;
    Integer old = FSelectedIndex;
    FSelectedIndex = -1;
    if (old >= 1 && HandleAllocated()) DrawCell(Canvas(), old);
    SelectCell(FCells[size_t(c)].Color, c);
    if (HandleAllocated()) DrawCell(Canvas(), c);
    if (OnSelect) OnSelect(this);
}

void TVodColorCubePanel::MouseMove(TShiftState Shift, Integer X, Integer Y)
{
    TVodCustomColorSelectorPanel::MouseMove(Shift, X, Y);
    Integer c = CellAtPos(X, Y);
    if (c < 0) {
        if (FShowRGBHint) {
            SetHint(String());
            if (Application) Application->CancelHint();
        }
        return;
    }
    if (c == FHotIndex) return;
    Integer old = FHotIndex;
    FHotIndex = c;
    if (HandleAllocated()) {
        if (old >= 1) DrawCell(Canvas(), old);
        DrawCell(Canvas(), c);
    }
    if (FShowRGBHint) {
        Integer rgb = ColorToRGB(FCells[size_t(c)].Color);
        SetHint(Format(L"Red: %d,  Green: %d,  Blue: %d", {rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF}));
        if (Application) Application->CancelHint();
    }
}

void TVodColorCubePanel::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    TVodCustomColorSelectorPanel::MouseUp(Button, Shift, X, Y);
    if (OnShouldHide) OnShouldHide(this);
}

// ---------------------------------------------------------------------------
// The spectrum

TVodColorSpectrumPanel::TVodColorSpectrumPanel(TComponent* AOwner) : TVodCustomColorSelectorPanel(AOwner)
{
    FSpectrumImage = new TImage(this);
    FSpectrumImage->SetParent(this);
    FSpectrumImage->SetBounds(11, 10, 128, 128);
    FSpectrumImage->Picture()->Bitmap()->LoadFromResourceName(HInstance, L"Qel_SPECTRUM");
    if (Screen) Screen->SetCursors(crQelPointer, LoadCursor(HInstance, L"Qel_POINTER"));
    FSpectrumImage->SetCursor(TCursor(crQelPointer));
    FSpectrumImage->OnMouseMove = [this](TObject*, TShiftState, Integer X, Integer Y) { ImageMouseMove(X, Y); };
    FSpectrumImage->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, Integer, Integer) { ImageMouseDown(); };
    FSpectrumImage->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, Integer, Integer) {
        if (OnShouldHide) OnShouldHide(this);
    };
    ArrangePanel();
}

void TVodColorSpectrumPanel::ArrangePanel()
{
    SetBounds(Left(), Top(), 150, 174);
    FSpectrumImage->SetBounds((150 - 128) / 2, 10, 128, 128);
    const Integer L = FSpectrumImage->Left(), W = FSpectrumImage->Width(),
                  B = FSpectrumImage->Top() + FSpectrumImage->Height();
    FSelectedRect = TRect{L - 1, B + 8, L + W / 2 - 2, B + 28};
    FHotRect = TRect{FSelectedRect.Right + 4, B + 8, L + W + 1, B + 28};
    FHotColor = clNone;
    Invalidate();
}

void TVodColorSpectrumPanel::DrawSwatch(TCanvas* C, TRect R, TColor Color)
{
    C->Brush()->SetStyle(bsClear);
    C->Pen()->SetColor(TColor(0x808080));
    C->Rectangle(R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1);
    C->Pen()->SetColor(clWhite);
    if (Color == clNone) {
        C->Rectangle(R);
    } else {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(Color);
        C->Rectangle(R);
    }
    C->Brush()->SetStyle(bsSolid);
}

void TVodColorSpectrumPanel::Paint()
{
    TCanvas* C = Canvas();
    C->Brush()->SetColor(Color());
    C->FillRect(ClientRect());
    TRect ir = FSpectrumImage->BoundsRect();
    C->Brush()->SetStyle(bsClear);
    C->Pen()->SetColor(clWhite);
    C->Rectangle(ir.Left - 1, ir.Top - 1, ir.Right + 1, ir.Bottom + 1);
    C->Pen()->SetColor(TColor(0x808080));
    C->Rectangle(ir.Left - 2, ir.Top - 2, ir.Right + 2, ir.Bottom + 2);
    C->Brush()->SetStyle(bsSolid);
    DrawSwatch(C, FSelectedRect, FSelectedColor);
    DrawSwatch(C, FHotRect, FHotColor);
}

void TVodColorSpectrumPanel::ImageMouseMove(Integer X, Integer Y)
{
    // The colour as shown: read back from the panel's pixels.
    if (!HandleAllocated()) return;
    FHotColor = Canvas()->Pixels(FSpectrumImage->Left() + X, FSpectrumImage->Top() + Y);
    DrawSwatch(Canvas(), FHotRect, FHotColor);
}

void TVodColorSpectrumPanel::ImageMouseDown()
{
    FSelectedColor = FHotColor;
    if (HandleAllocated()) DrawSwatch(Canvas(), FSelectedRect, FSelectedColor);
    if (OnSelect) OnSelect(this);
}

void TVodColorSpectrumPanel::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    TVodCustomColorSelectorPanel::MouseUp(Button, Shift, X, Y);
    if (OnShouldHide) OnShouldHide(this);
}
