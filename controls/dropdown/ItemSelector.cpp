#include "controls/dropdown/ItemSelector.h"

#include <algorithm>

#include "controls/foundation/VodUtil.h"
#include "controls/markup/VurHTMLE.h"
#include "platform/base/SysUtils.h"
#include "platform/gfx/Gdi.h"
#include "platform/gfx/ImageList.h"

// ---------------------------------------------------------------------------
// TItemAppearance

TItemAppearance::TItemAppearance() : FFont(std::make_unique<TFont>())
{
    FFont->SetName(L"Tahoma");
    FFont->OnChange = [this](TObject*) { Changed(); };
}

TItemAppearance::~TItemAppearance() { FFont->OnChange = nullptr; }

void TItemAppearance::Changed()
{
    if (OnChange) OnChange(this);
}

void TItemAppearance::SetColorStyle(TSelectionColorStyle v)
{
    if (FColorStyle == v) return;
    FColorStyle = v;
    struct TPreset {
        TColor Hot, HotTo, MirrorHot, MirrorHotTo, BorderTop, BorderBottom, Border, Edge, Sel, SelTo, MirrorSel,
            MirrorSelTo;
    };
    static const TPreset presets[] = {
        {0xD7FFFD, 0x58D4FC, 0x58D4FC, 0xB3F1FC, 0xF4FEFF, 0xCAF8FF, 0x8DD7D3, 0xC3D9DF, 0xA6FFFB, 0x04B9F4,
         0x15C1FB, 0x68E3F9},
        {0xFDF8F1, 0xFCEFD5, clNone, clNone, 0xFDFBF6, 0xFDF5E7, 0xFDDE99, 0xFCEDCB, 0xFAEEDE, 0xFAE3B4, clNone,
         clNone},
        {0xFCEBDC, 0xFCDBC1, clNone, clNone, 0xFDF4EB, 0xFDEADB, 0xCEA27D, 0xE0C5AE, 0xF9D8B9, 0xFBCAA2, clNone,
         clNone},
    };
    if (v == scCustom) return;
    const TPreset& p = presets[v == scOffice2007 ? 0 : v == scWindowsVista ? 1 : 2];
    FColorHot = p.Hot;
    FColorHotTo = p.HotTo;
    FColorMirrorHot = p.MirrorHot;
    FColorMirrorHotTo = p.MirrorHotTo;
    FBorderColorTop = p.BorderTop;
    FBorderColorBottom = p.BorderBottom;
    FBorderColor = p.Border;
    FEdgeColor = p.Edge;
    FColorSelected = p.Sel;
    FColorSelectedTo = p.SelTo;
    FColorMirrorSelected = p.MirrorSel;
    FColorMirrorSelectedTo = p.MirrorSelTo;
    Changed();
}

void TItemAppearance::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TItemAppearance*>(Source);
    if (!s) {
        TPersistent::Assign(Source);
        return;
    }
    FColorHot = s->FColorHot;
    FColorHotTo = s->FColorHotTo;
    FColorMirrorHot = s->FColorMirrorHot;
    FColorMirrorHotTo = s->FColorMirrorHotTo;
    FBorderColorTop = s->FBorderColorTop;
    FBorderColorBottom = s->FBorderColorBottom;
    FBorderColor = s->FBorderColor;
    FEdgeColor = s->FEdgeColor;
    FColorSelected = s->FColorSelected;
    FColorSelectedTo = s->FColorSelectedTo;
    FColorMirrorSelected = s->FColorMirrorSelected;
    FColorMirrorSelectedTo = s->FColorMirrorSelectedTo;
    FFont->Assign(s->FFont.get());
    // The style after the colours: a differing named style overwrites them.
    SetColorStyle(s->FColorStyle);
    FColorSelectedText = s->FColorSelectedText;
    FColorHotText = s->FColorHotText;
    FBorderColorHot = s->FBorderColorHot;
    FBorderColorSelected = s->FBorderColorSelected;
    Changed();
}

// ---------------------------------------------------------------------------
// Items

TSelectorItem::TSelectorItem(TCollection* Collection)
    : TCollectionItem(Collection), FImage(std::make_unique<TPicture>())
{
}

TSelectorItem::~TSelectorItem() = default;

void TSelectorItem::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TSelectorItem*>(Source);
    if (!s) {
        TCollectionItem::Assign(Source);
        return;
    }
    SetCaption(s->FCaption);
    SetColor(s->FColor);
    SetImageIndex(s->FImageIndex);
    FImage->Assign(s->FImage.get());
    FEnabled = s->FEnabled;
    FHint = s->FHint;
}

void TSelectorItem::SetCaption(const String& v)
{
    if (FCaption == v) return;
    FCaption = v;
    Changed(false);
}

void TSelectorItem::SetColor(TColor v)
{
    if (FColor == v) return;
    FColor = v;
    Changed(false);
}

void TSelectorItem::SetImageIndex(Integer v)
{
    if (FImageIndex == v) return;
    FImageIndex = v;
    Changed(false);
}

TSelectorItems::TSelectorItems(TPersistent* AOwner) : TOwnedCollection(AOwner, CollectionItemClass<TSelectorItem>())
{
}

void TSelectorItems::Update(TCollectionItem*)
{
    if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------------------
// The panel

TCustomItemSelector::TCustomItemSelector(TComponent* AOwner)
    : TCustomControl(AOwner), FOwner(dynamic_cast<TVodCustomItemSelector*>(AOwner))
{
    if (!FOwner) throw Exception(L"Invalid parent");
    SetParentColor(true);
}

Integer TCustomItemSelector::Columns() const { return FOwner->Columns(); }
TSelectorItems* TCustomItemSelector::Items() const { return FOwner->Items(); }
TSelectorType TCustomItemSelector::SelectorType() const { return FOwner->SelectorType(); }
TItemLayout TCustomItemSelector::ItemLayout() const { return FOwner->ItemLayout(); }
TCustomImageList* TCustomItemSelector::Images() const { return FOwner->Images(); }
Integer TCustomItemSelector::ColorBoxWidth() const { return FOwner->ColorBoxWidth(); }
Integer TCustomItemSelector::ColorBoxHeight() const { return FOwner->ColorBoxHeight(); }
TSelectionColorStyle TCustomItemSelector::ItemColorStyle() const { return FOwner->ItemAppearance()->ColorStyle(); }
TColor TCustomItemSelector::ItemColorHot() const { return FOwner->ItemAppearance()->ColorHot(); }
TColor TCustomItemSelector::ItemColorHotTo() const { return FOwner->ItemAppearance()->ColorHotTo(); }
TColor TCustomItemSelector::ItemColorSelected() const { return FOwner->ItemAppearance()->ColorSelected(); }
TColor TCustomItemSelector::ItemColorSelectedTo() const { return FOwner->ItemAppearance()->ColorSelectedTo(); }

TSize TCustomItemSelector::MeasureCaption(TCanvas* Canvas, const String& Caption)
{
    return DrawMarkupText(Canvas, Caption, TRect{0, 0, 1000, 500}, Images(), true);
}

void TCustomItemSelector::GetItemArea(TRect& Rect)
{
    Rect = ClientRect();
    Rect.Left += OffSetX;
    Rect.Top += OffSetY;
    Rect.Right -= OffSetX;
    Rect.Bottom -= OffSetY;
}

void TCustomItemSelector::GetItemSize(TSize& Size)
{
    if (FOwner->OnItemSize) {
        FOwner->OnItemSize(FOwner, Size);
        return;
    }
    TSelectorItems* items = Items();
    Integer a = 0, b = 0;
    if (SelectorType() == stColor) {
        a = ColorBoxWidth();
        b = ColorBoxHeight();
    } else {
        for (Integer i = 0; i < items->Count(); ++i) {
            TSelectorItem* it = items->Items(i);
            if (!it->Image()->Empty()) {
                a = std::max(a, it->Image()->Width());
                b = std::max(b, it->Image()->Height());
            } else if (Images() && it->ImageIndex() >= 0) {
                a = std::max(a, Images()->Width());
                b = std::max(b, Images()->Height());
            }
        }
    }
    // Captions measured off screen: the layout runs before any window.
    Integer c = 0, d = 0;
    HDC dc = CreateScreenIC();
    {
        TCanvas cv;
        cv.SetHandle(dc);
        cv.Font()->Assign(FOwner->ItemAppearance()->Font());
        for (Integer i = 0; i < items->Count(); ++i) {
            const String& cap = items->Items(i)->Caption();
            if (cap.empty()) continue;
            TSize s = MeasureCaption(&cv, cap);
            d = std::max(d, Integer(s.cx));
            c = std::max(c, Integer(s.cy));
        }
        cv.SetHandle(nullptr);
    }
    DeleteDC(dc);
    if (d > 0) d += 4;
    switch (ItemLayout()) {
    case ilCaptionLeft:
    case ilCaptionRight:
        Size.cx = 2 * ItemOffSetX + (a > 0 ? a : 0) + (a > 0 && d > 0 ? CaptionGap : 0) + d;
        Size.cy = std::max(b, c) + 2 * ItemOffSetY;
        break;
    case ilCaptionTop:
    case ilCaptionBottom:
        Size.cx = std::max(a, d) + 2 * ItemOffSetX;
        Size.cy = 2 * ItemOffSetY + (b > 0 ? b : 0) + (b > 0 && c > 0 ? CaptionGap : 0) + c;
        break;
    }
}

void TCustomItemSelector::ArrangeItems()
{
    TSelectorItems* items = Items();
    if (items->Count() == 0) {
        SetWidth(100);
        SetHeight(50);
        return;
    }
    FItemHot = -1;
    TSize sz{0, 0};
    GetItemSize(sz);
    const Integer w = sz.cx, h = sz.cy;
    TRect area;
    GetItemArea(area);
    const Integer cols = std::max(1, Columns());
    Integer x = area.Left, y = area.Top, widest = area.Left;
    for (Integer i = 0; i < items->Count(); ++i) {
        items->Items(i)->SetRect(TRect{x, y, x + w, y + h});
        widest = std::max(widest, x);
        if ((i + 1) % cols == 0 && i + 1 < items->Count()) {
            x = area.Left;
            y += h;
        } else {
            x += w;
        }
    }
    SetHeight(y + h + area.Top);
    SetWidth(widest + w + area.Left);
}

TRect TCustomItemSelector::GetItemRect(Integer Index) const
{
    if (Index < 0 || Index >= Items()->Count()) return TRect{};
    return Items()->Items(Index)->Rect();
}

Integer TCustomItemSelector::ItemAtPos(Integer X, Integer Y) const
{
    TSelectorItems* items = Items();
    for (Integer i = 0; i < items->Count(); ++i)
        if (PtInRect(items->Items(i)->Rect(), TPoint{X, Y})) return i;
    return -1;
}

void TCustomItemSelector::InvalidateItem(Integer Index)
{
    if (Index < 0 || Index >= Items()->Count() || !HandleAllocated()) return;
    RECT r = Items()->Items(Index)->Rect();
    InvalidateRect(Handle(), &r, TRUE);
}

void TCustomItemSelector::SetItemIndex(Integer V)
{
    TSelectorItems* items = Items();
    if (V >= 0 && V < items->Count() && !items->Items(V)->Enabled()) return;
    if (FItemIndex >= 0 && FItemIndex != V) {
        Integer old = FItemIndex;
        FItemIndex = -1;
        InvalidateItem(old);
    }
    FItemIndex = V;
    if (V >= 0) {
        if (HandleAllocated()) DrawItem(V, Canvas());
        if (OnItemSelect) OnItemSelect(this);
    }
}

void TCustomItemSelector::SetItemHot(Integer V)
{
    TSelectorItems* items = Items();
    if (V == FItemHot) return;
    if (V >= 0 && V < items->Count() && !items->Items(V)->Enabled()) return;
    if (FItemHot >= 0) {
        Integer old = FItemHot;
        FItemHot = -1;
        InvalidateItem(old);
    }
    FItemHot = V;
    if (V >= 0 && HandleAllocated()) DrawItem(V, Canvas());
}

void TCustomItemSelector::SelectFirst()
{
    if (Items()->Count() > 0) SetItemIndex(0);
}

void TCustomItemSelector::SelectLast()
{
    if (Items()->Count() > 0) SetItemIndex(Items()->Count() - 1);
}

void TCustomItemSelector::SelectNext()
{
    if (Items()->Count() == 0) return;
    if (FItemIndex < 0)
        SetItemIndex(0);
    else if (FItemIndex + 1 < Items()->Count())
        SetItemIndex(FItemIndex + 1);
}

void TCustomItemSelector::SelectPrevious()
{
    if (Items()->Count() == 0) return;
    if (FItemIndex < 0)
        SetItemIndex(0);
    else if (FItemIndex > 0)
        SetItemIndex(FItemIndex - 1);
}

void TCustomItemSelector::HotNext()
{
    if (Items()->Count() == 0) return;
    if (FItemHot < 0)
        SetItemHot(0);
    else if (FItemHot + 1 < Items()->Count())
        SetItemHot(FItemHot + 1);
}

void TCustomItemSelector::HotPrevious()
{
    if (Items()->Count() == 0) return;
    if (FItemHot < 0)
        SetItemHot(0);
    else if (FItemHot > 0)
        SetItemHot(FItemHot - 1);
}

bool TCustomItemSelector::LookupItem(const String& S)
{
    TSelectorItems* items = Items();
    if (items->Count() == 0) return false;
    const Integer start = std::clamp(FItemIndex, 0, items->Count());
    auto textOf = [&](Integer i) {
        String plain;
        VurHTMLE::StripMarkup(items->Items(i)->Caption(), plain);
        return AnsiUpperCase(Trim(plain));
    };
    for (Integer i = start; i < items->Count(); ++i) {
        if (i == FItemIndex) continue;
        if (textOf(i).rfind(S, 0) == 0) {
            SetItemIndex(i);
            return true;
        }
    }
    if (start == 0) return false;
    for (Integer i = 0; i < items->Count(); ++i) {
        if (textOf(i).rfind(S, 0) == 0) {
            SetItemIndex(i);
            return true;
        }
    }
    return false;
}

void TCustomItemSelector::Paint() { DrawAllItems(Canvas()); }

void TCustomItemSelector::DrawAllItems(TCanvas* Canvas)
{
    for (Integer i = 0; i < Items()->Count(); ++i) DrawItem(i, Canvas);
}

void TCustomItemSelector::DrawItem(Integer Index, TCanvas* Canvas)
{
    TSelectorItems* items = Items();
    if (!Canvas || !FOwner || Index < 0 || Index >= items->Count()) return;
    TSelectorItem* item = items->Items(Index);
    TRect R = item->Rect();
    if (R.Left < 0 && R.Right < 0) return;
    TItemAppearance* ap = FOwner->ItemAppearance();

    // 1. The background by state.
    const bool selected = Index == FItemIndex, hot = Index == FItemHot;
    if (!selected && !hot) {
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(Color());
        Canvas->FillRect(R);
    } else {
        TColor c1, c2, m1, m2, border = ap->BorderColor(), top = ap->BorderColorTop(),
                                   bottom = ap->BorderColorBottom(), edge = ap->EdgeColor();
        TColor own = selected ? ap->BorderColorSelected() : ap->BorderColorHot();
        if (selected) {
            c1 = ap->ColorSelected();
            c2 = ap->ColorSelectedTo();
            m1 = ap->ColorMirrorSelected();
            m2 = ap->ColorMirrorSelectedTo();
        } else {
            c1 = ap->ColorHot();
            c2 = ap->ColorHotTo();
            m1 = ap->ColorMirrorHot();
            m2 = ap->ColorMirrorHotTo();
        }
        if (own != clNone) {
            border = own;
            top = clNone;
            bottom = clNone;
            edge = clNone;
        }
        if (top == clNone)
            DrawFilledFrame(Canvas, R, c1, false, 1, border, c2);
        else
            DrawButtonSegment(Canvas, c1, c2, m1, m2, top, bottom, border, edge, Color(), R, 0);
    }

    // 2. A handler draws the content itself.
    if (FOwner->OnDrawItem) {
        TRect r = R;
        FOwner->OnDrawItem(this, Canvas, r, Index);
        return;
    }

    // 3. The graphic's size.
    TCustomImageList* images = Images();
    const bool color = SelectorType() == stColor;
    const bool hasPicture = !color && !item->Image()->Empty();
    const bool hasImage = !color && !hasPicture && images && item->ImageIndex() >= 0;
    Integer gw = 0, gh = 0;
    if (color) {
        gw = ColorBoxWidth();
        gh = ColorBoxHeight();
    } else if (hasPicture) {
        gw = item->Image()->Width();
        gh = item->Image()->Height();
    } else if (hasImage) {
        gw = images->Width();
        gh = images->Height();
    }

    // 4. The inner rectangle and the caption's font.
    TRect inner{R.Left + ItemOffSetX, R.Top + ItemOffSetY, R.Right - ItemOffSetX, R.Bottom - ItemOffSetY};
    Canvas->Font()->Assign(ap->Font());
    if (hot) Canvas->Font()->SetColor(ap->ColorHotText());
    if (selected) Canvas->Font()->SetColor(ap->ColorSelectedText());
    Canvas->Brush()->SetStyle(bsClear);
    const String& caption = item->Caption();

    // 5. The graphic at a point.
    auto drawGraphic = [&](Integer x, Integer y) {
        if (color) {
            Canvas->Brush()->SetStyle(bsSolid);
            Canvas->Pen()->SetColor(clBlack);
            Canvas->Brush()->SetColor(item->Color());
            Canvas->Rectangle(x, y, x + gw, y + gh);
            Canvas->Brush()->SetStyle(bsClear);
        } else if (hasPicture) {
            Canvas->Draw(x, y, item->Image()->Graphic());
        } else if (hasImage) {
            images->Draw(Canvas, x, y, item->ImageIndex(), item->Enabled());
        }
    };
    auto drawCaption = [&](TRect cr) { DrawMarkupText(Canvas, caption, cr, images); };
    auto measure = [&](TRect cr) { return DrawMarkupText(Canvas, caption, cr, images, true); };

    // 6. By layout.
    switch (ItemLayout()) {
    case ilCaptionLeft: {
        Integer capW = 0;
        if (!caption.empty()) {
            TRect cr = inner;
            cr.Right -= gw;
            TSize s = measure(cr);
            capW = s.cx;
            if (s.cy < cr.Height()) cr.Top += (cr.Height() - s.cy) / 2;
            drawCaption(cr);
        }
        Integer gx = inner.Left + capW + (caption.empty() ? 0 : CaptionGap);
        Integer gy = color ? inner.Top : inner.Top + (inner.Height() - gh) / 2;
        drawGraphic(gx, gy);
        break;
    }
    case ilCaptionRight: {
        Integer gy = color ? inner.Top : inner.Top + (inner.Height() - gh) / 2;
        drawGraphic(inner.Left, gy);
        if (!caption.empty()) {
            TRect cr = inner;
            cr.Left += gw + (gw > 0 ? CaptionGap : 0);
            TSize s = measure(cr);
            if (s.cy < cr.Height()) cr.Top += (cr.Height() - s.cy) / 2;
            drawCaption(cr);
        }
        break;
    }
    case ilCaptionTop: {
        Integer gy;
        if (!caption.empty()) {
            TRect cr = inner;
            cr.Bottom -= gh;
            TSize s = measure(cr);
            drawCaption(cr);
            gy = inner.Top + s.cy + CaptionGap;
        } else {
            gy = inner.Top + (inner.Height() - gh) / 2;
        }
        drawGraphic(inner.Left + (inner.Width() - gw) / 2, gy);
        break;
    }
    case ilCaptionBottom: {
        Integer gy = caption.empty() ? inner.Top + (inner.Height() - gh) / 2 : inner.Top;
        drawGraphic(inner.Left + (inner.Width() - gw) / 2, gy);
        if (!caption.empty()) {
            TRect cr = inner;
            cr.Top += gh + CaptionGap;
            drawCaption(cr);
        }
        break;
    }
    }
    Canvas->Brush()->SetStyle(bsSolid);
}

void TCustomItemSelector::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    Integer i = ItemAtPos(X, Y);
    if (i >= 0 && Items()->Items(i)->Enabled()) SetItemIndex(i);
}

void TCustomItemSelector::MouseMove(TShiftState Shift, Integer X, Integer Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    Integer i = ItemAtPos(X, Y);
    if (i < 0) {
        SetItemHot(-1);
        return;
    }
    if (i == FItemHot) return;
    TSelectorItem* item = Items()->Items(i);
    if (item->Enabled())
        SetItemHot(i);
    else
        SetItemHot(-1);
    SetHint(item->Hint());
    if (Application) Application->CancelHint();
}

void TCustomItemSelector::CMMouseLeave(TMessage& M)
{
    TCustomControl::CMMouseLeave(M);
    SetItemHot(-1);
}

// ---------------------------------------------------------------------------
// The container

TVodCustomItemSelector::TVodCustomItemSelector(TComponent* AOwner)
    : TScrollingWinControl(AOwner),
      FItems(std::make_unique<TSelectorItems>(this)),
      FItemAppearance(std::make_unique<TItemAppearance>())
{
    SetAutoScroll(true);
    FItemAppearance->OnChange = [](TObject*) {};
    FItems->OnChange = [this](TObject*) { UpdateSelectorPanel(); };
    CreateSelectorPanel();
}

TVodCustomItemSelector::~TVodCustomItemSelector()
{
    FItems->OnChange = nullptr;
    // The panel reads the items while it goes.
    delete FSelectorPanel;
    FSelectorPanel = nullptr;
}

void TVodCustomItemSelector::CreateSelectorPanel()
{
    if (FSelectorPanel) return;
    FSelectorPanel = new TCustomItemSelector(this);
    FSelectorPanel->SetParent(this);
    FSelectorPanel->SetLeft(0);
    FSelectorPanel->SetTop(0);
    FSelectorPanel->OnItemSelect = [this](TObject* s) { DoItemSelect(s); };
    FSelectorPanel->ArrangeItems();
}

void TVodCustomItemSelector::Notification(TComponent* AComponent, TOperation Operation)
{
    TScrollingWinControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FImages) FImages = nullptr;
    if (AComponent == FSelectorPanel) FSelectorPanel = nullptr;
}

void TVodCustomItemSelector::DoItemSelect(TObject*)
{
    if (OnItemSelect) OnItemSelect(this);
}

void TVodCustomItemSelector::UpdateSelectorPanel()
{
    if (FSelectorPanel) FSelectorPanel->ArrangeItems();
}

void TVodCustomItemSelector::SetSelectorType(TSelectorType v)
{
    if (FSelectorType == v) return;
    FSelectorType = v;
    UpdateSelectorPanel();
}

void TVodCustomItemSelector::SetColumns(Integer v)
{
    if (v <= 0 || v == FColumns) return;
    FColumns = v;
    UpdateSelectorPanel();
}

void TVodCustomItemSelector::SetColorBoxWidth(Integer v)
{
    if (v == FColorBoxWidth) return;
    FColorBoxWidth = v;
    UpdateSelectorPanel();
}

void TVodCustomItemSelector::SetColorBoxHeight(Integer v)
{
    if (v == FColorBoxHeight) return;
    FColorBoxHeight = v;
    UpdateSelectorPanel();
}

void TVodCustomItemSelector::SetImages(TCustomImageList* v)
{
    if (v == FImages) return;
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = v;
    if (v) v->FreeNotification(this);
    UpdateSelectorPanel();
}

void TVodCustomItemSelector::SelectFirst()
{
    if (!FSelectorPanel) return;
    FSelectorPanel->SelectFirst();
    ScrollItemInView(FSelectorPanel->ItemIndex());
}

void TVodCustomItemSelector::SelectLast()
{
    if (!FSelectorPanel) return;
    FSelectorPanel->SelectLast();
    ScrollItemInView(FSelectorPanel->ItemIndex());
}

void TVodCustomItemSelector::SelectNext()
{
    if (!FSelectorPanel) return;
    FSelectorPanel->SelectNext();
    ScrollItemInView(FSelectorPanel->ItemIndex());
}

void TVodCustomItemSelector::SelectPrevious()
{
    if (!FSelectorPanel) return;
    FSelectorPanel->SelectPrevious();
    ScrollItemInView(FSelectorPanel->ItemIndex());
}

void TVodCustomItemSelector::HotNext()
{
    if (!FSelectorPanel) return;
    FSelectorPanel->HotNext();
    ScrollItemInView(FSelectorPanel->ItemHot());
}

void TVodCustomItemSelector::HotPrevious()
{
    if (!FSelectorPanel) return;
    FSelectorPanel->HotPrevious();
    ScrollItemInView(FSelectorPanel->ItemHot());
}

bool TVodCustomItemSelector::LookupItem(const String& S)
{
    if (!FSelectorPanel) return false;
    return FSelectorPanel->LookupItem(S);
}

void TVodCustomItemSelector::ScrollItemInView(Integer Index)
{
    if (!FSelectorPanel || Index < 0 || Index >= FItems->Count()) return;
    TControlScrollBar* vb = VertScrollBar();
    if (!vb->IsScrollBarVisible()) return;
    TRect r = FSelectorPanel->GetItemRect(Index);
    r.Top -= vb->Margin();
    r.Bottom += vb->Margin();
    // Into the container's client coordinates.
    r.Top += FSelectorPanel->Top();
    r.Bottom += FSelectorPanel->Top();
    const Integer ch = ClientHeight();
    if (r.Top < 0)
        vb->SetPosition(vb->Position() + r.Top);
    else if (r.Bottom > ch)
        vb->SetPosition(vb->Position() + std::min(r.Bottom - ch, r.Top));
}

Integer TVodCustomItemSelector::GetVisibleItemCount()
{
    if (!FSelectorPanel || FItems->Count() == 0) return 0;
    const Integer ih = FItems->Items(0)->Rect().Height();
    // An item of no height shows none (and must not divide).
    if (ih <= 0) return 0;
    Integer h = Height();
    if (HorzScrollBar()->IsScrollBarVisible()) h -= 20;
    return (h / ih) * FColumns;
}

TSize TVodCustomItemSelector::GetPanelSize()
{
    if (!FSelectorPanel) return TSize{100, 50};
    return TSize{FSelectorPanel->Width(), FSelectorPanel->Height()};
}

void TVodCustomItemSelector::Dispatch(TMessage& M)
{
    if (M.Msg == WM_GETDLGCODE) {
        M.Result = 5;
        return;
    }
    TScrollingWinControl::Dispatch(M);
}

void FitSelectorToDropDown(TVodCustomItemSelector* Selector, TVodCustomDropDown* DropDown)
{
    TDropDownForm* f = DropDown ? DropDown->DropDownForm() : nullptr;
    if (!Selector || !f) return;
    const Integer bw = std::max(DropDown->DropDownBorderWidth(), 0);
    Integer bars = 0;
    if (DropDown->DropDownHeader()->Visible()) bars += DropDown->DropDownHeader()->Height();
    if (DropDown->DropDownFooter()->Visible()) bars += DropDown->DropDownFooter()->Height();
    if (DropDown->DropDownWidth() > 0) Selector->SetWidth(std::max(f->Width() - 2 * bw, 0));
    if (DropDown->DropDownHeight() > 0) Selector->SetHeight(std::max(f->Height() - 2 * bw - bars, 0));
}

void WidenDropDownForSelector(TVodCustomItemSelector* Selector, TVodCustomDropDown* DropDown)
{
    TDropDownForm* f = DropDown ? DropDown->DropDownForm() : nullptr;
    if (!Selector || !f || !Selector->Visible() || !Selector->HandleAllocated()) return;
    const Integer need = Selector->GetPanelSize().cx - Selector->ClientWidth();
    if (need > 0 && DropDown->DropDownWidth() < 1) f->SetWidth(f->Width() + need);
}
