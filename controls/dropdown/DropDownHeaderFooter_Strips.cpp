// The header and footer strips of the drop-down window and their buttons.
#include <algorithm>
#include <typeinfo>

#include "controls/dropdown/DropDownButton.h"
#include "controls/dropdown/DropDownHeaderFooter.h"
#include "controls/dropdown/VodDropDown.h"
#include "platform/base/Exceptions.h"
#include "platform/gfx/Gdi.h"
#include "platform/gfx/ImageList.h"
#include "platform/ui/Timers.h"

// ---------------------------------------------------------------------------
// TDbgList

void TDbgList::AssignList(TList* List)
{
    Clear();
    if (!List) return;
    for (Integer i = 0; i < List->Count(); ++i) Add(List->Items(i));
}

void* TDbgList::GetItemsEx(Integer Index) const
{
    if (Index < 0 || Index >= Count()) throw Exception(L"Index out of bounds in list read access");
    return Items(Index);
}

void TDbgList::SetItemsEx(Integer Index, void* Value)
{
    if (Index < 0 || Index >= Count()) throw Exception(L"Index out of bounds in list write access");
    SetItems(Index, Value);
}

// ---------------------------------------------------------------------------
// TVodButton

TVodButton::TVodButton(TComponent* AOwner) : TCustomControl(AOwner)
{
    FWidth = 23;
    FHeight = 22;
    FControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csDoubleClicks};
    SetParentFont(true);
    Font()->SetName(L"Tahoma");
    SetShowHint(false);
    SetDoubleBuffered(true);
    FUnHotTimer = new TTimer(this);
    FUnHotTimer->SetEnabled(false);
    FUnHotTimer->SetInterval(1);
    FUnHotTimer->SetOnTimer([this](TObject* s) { UnHotTimerTick(s); });
}

TVodButton::~TVodButton() = default;

void TVodButton::ResetState()
{
    FUnHotTimer->SetEnabled(false);
    FGroupIndex = 0;
    FDown = false;
    FAllowAllUp = false;
    FHot = false;
    FStyle = tasButton;
    FState = absUp;
    FMouseDownInControl = false;
    FGrouped = true;
    FDragging = false;
    FPropHot = false;
    FInitialDown = false;
    FInternalClick = false;
    FMouseInControl = false;
    SetVisible(true);
    Invalidate();
}

void TVodButton::SetAppearance(TVodButtonAppearance* v)
{
    FAppearance = v;
    Invalidate();
}

void TVodButton::SetImages(TCustomImageList* v)
{
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = v;
    if (FImages) FImages->FreeNotification(this);
    Invalidate();
}

void TVodButton::SetImageIndex(Integer v)
{
    FImageIndex = v;
    Invalidate();
}

void TVodButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages) {
        FImages = nullptr;
        Invalidate();
    }
}

void TVodButton::Loaded()
{
    TCustomControl::Loaded();
    if (FInitialDown) SetDown(true);
}

void TVodButton::SetDown(bool v)
{
    if (ComponentState().Contains(csLoading)) {
        FInitialDown = v;
        return;
    }
    if (FGroupIndex == 0 && FStyle == tasButton) return;
    if (FStyle == tasCheck) {
        FDown = v;
        FState = v ? absDown : absUp;
        Invalidate();
        return;
    }
    if (v == FDown) return;
    if (FDown && !v && !FAllowAllUp) return;
    FDown = v;
    if (v) {
        FState = absExclusive;
        if (Parent()) {
            TMessage m{CM_BUTTONPRESSED, WPARAM(FGroupIndex), LPARAM(reinterpret_cast<intptr_t>(this)), 0};
            Parent()->Broadcast(m);
        }
    } else {
        FState = absUp;
    }
    Invalidate();
}

void TVodButton::ButtonPressed(Integer Group, TVodButton* Sender)
{
    if (Group != FGroupIndex || !Sender || Sender == this) return;
    if (Sender->Down() && FDown) {
        FDown = false;
        FState = absUp;
        Invalidate();
    }
    FAllowAllUp = Sender->AllowAllUp();
}

void TVodButton::UnHotTimerTick(TObject*)
{
    TPoint p = ScreenToClient(Mouse ? Mouse->CursorPos() : TPoint());
    if (!PtInRect(ClientRect(), p)) {
        FUnHotTimer->SetEnabled(false);
        FMouseInControl = false;
        FHot = false;
        if (Enabled()) Invalidate();
    }
}

void TVodButton::SyncHover()
{
    if (!HandleAllocated()) return;
    TPoint p = ScreenToClient(Mouse ? Mouse->CursorPos() : TPoint());
    bool inside = PtInRect(ClientRect(), p);
    if (inside != FMouseInControl) {
        FMouseInControl = inside;
        FHot = inside;
        if (inside) FUnHotTimer->SetEnabled(true);
        if (Enabled()) Invalidate();
    }
}

void TVodButton::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !Enabled() || ComponentState().Contains(csDesigning)) return;
    FMouseDownInControl = true;
    if (!FDown || FStyle == tasCheck) FState = absDown;
    FDragging = true;
    Invalidate();
}

void TVodButton::MouseMove(TShiftState Shift, Integer X, Integer Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    if (FDragging) {
        bool inside = X >= 0 && X < Width() && Y >= 0 && Y < Height();
        TVodButtonState s = inside ? (FDown ? absExclusive : absDown) : (FDown ? absExclusive : absUp);
        if (FStyle == tasCheck && FDown) s = absDown;
        if (s != FState) {
            FState = s;
            Invalidate();
        }
    } else {
        SyncHover();
    }
}

void TVodButton::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (!FDragging) return;
    FDragging = false;
    FMouseDownInControl = false;
    bool inside = X >= 0 && X < Width() && Y >= 0 && Y < Height();
    if (FGroupIndex != 0) {
        if (inside) SetDown(!FDown);
        if (FDown) FState = absExclusive;
        else if (FState != absUp) FState = absUp;
    } else {
        FState = absUp;
        FMouseInControl = false;
        FHot = false;
        if (FStyle == tasCheck && inside) {
            FDown = !FDown;
            FState = FDown ? absDown : absUp;
        }
    }
    Invalidate();
    SyncHover();
}

void TVodButton::KeyDown(Word& Key, TShiftState Shift)
{
    if (Key == VK_RETURN || Key == VK_SPACE) {
        FState = absDown;
        Repaint();
        FInternalClick = true;
        Click();
        FInternalClick = false;
        FState = FDown ? absExclusive : absUp;
        Invalidate();
    }
    TCustomControl::KeyDown(Key, Shift);
}

void TVodButton::Click()
{
    if (TCustomForm* f = GetParentForm(this)) f->SetModalResult(FModalResult);
    if (FVodDropDown) {
        switch (FModalResult) {
        case mrCancel: case mrAbort: case mrIgnore: case mrNo: case mrNoToAll:
            FVodDropDown->DoHideDropDown(true);
            break;
        case mrOk: case mrYes: case mrAll: case mrYesToAll:
            FVodDropDown->DoHideDropDown(false);
            break;
        default: break;  // mrNone, mrRetry, mrClose, mrHelp, mrTryAgain, mrContinue stay open
        }
    }
    if (!FInternalClick) TCustomControl::Click();
}

void TVodButton::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case CM_MOUSEENTER:
        TCustomControl::Dispatch(M);
        if (!ComponentState().Contains(csDesigning)) {
            FMouseInControl = true;
            FHot = true;
            if (Enabled()) Invalidate();
            FUnHotTimer->SetEnabled(true);
            if (OnMouseEnter) OnMouseEnter(this);
        }
        return;
    case CM_MOUSELEAVE:
        TCustomControl::Dispatch(M);
        FUnHotTimer->SetEnabled(false);
        FMouseInControl = false;
        FHot = false;
        if (Enabled()) Invalidate();
        if (OnMouseLeave) OnMouseLeave(this);
        return;
    case CM_BUTTONPRESSED:
        ButtonPressed(Integer(M.WParam), dynamic_cast<TVodButton*>(reinterpret_cast<TObject*>(M.LParam)));
        return;
    case CM_DIALOGCHAR:
        if (IsAccel(M.CharCode(), Caption()) && Enabled() && IsVisibleDeep()) {
            Click();
            M.Result = 1;
            return;
        }
        break;
    case WM_ERASEBKGND: M.Result = 1; return;
    case CM_ENABLEDCHANGED: case CM_FOCUSCHANGED: case WM_SETFOCUS: case WM_KILLFOCUS:
        TCustomControl::Dispatch(M);
        Invalidate();
        return;
    default: break;
    }
    TCustomControl::Dispatch(M);
}

void TVodButton::Paint()
{
    if (!Enabled()) {
        FState = absDisabled;
        FDragging = false;
    } else if (FState == absDisabled) {
        FState = FDown && FGroupIndex != 0 ? absExclusive : absUp;
    }
    if (FStyle == tasCheck && FDown) FState = absDown;
    // The parent's background shows around the rounded or framed face, and
    // through a face without colours. A filled face covers all of it: the
    // strip behind is not painted then, unless a handler of the strip's
    // would hear of it.
    TColor c = clNone, cto = clNone, border = clNone;
    FaceColors(c, cto, border);
    const auto* strip = dynamic_cast<const TVodStrip*>(Parent());
    const bool covered = FAppearance && (c != clNone || cto != clNone) && typeid(*this) == typeid(TVodButton) &&
                         strip && !strip->OnDrawBackGround && !strip->OnGetText;
    HDC dc = Canvas()->Handle();
    if (Parent() && !covered) {
        int saved = SaveDC(dc);
        IntersectClipRect(dc, 0, 0, Width(), Height());
        POINT old{};
        GetViewportOrgEx(dc, &old);
        SetViewportOrgEx(dc, old.X - Left(), old.Y - Top(), nullptr);
        Parent()->Perform(WM_ERASEBKGND, WPARAM(reinterpret_cast<uintptr_t>(dc)), 0);
        Parent()->Perform(WM_PAINT, WPARAM(reinterpret_cast<uintptr_t>(dc)), 0);
        RestoreDC(dc, saved);
        Canvas()->Refresh();
    }
    DrawButton(Canvas());
}

void TVodButton::DrawButton(TCanvas* ACanvas)
{
    if (!FAppearance) return;
    TRect r = ClientRect();
    TColor c, cto, border;
    FaceColors(c, cto, border);
    DrawFilledFrame(ACanvas, r, c, FAppearance->Gradient() == VodDropDown::gdHorizontal, 1, border, cto);
    ACanvas->Brush()->SetStyle(bsClear);
    ACanvas->Font()->Assign(FAppearance->Font());
    DrawImageText(ACanvas, r, Caption(), FImageIndex, FImages);
}

void TVodButton::FaceColors(TColor& c, TColor& cto, TColor& border)
{
    if (!FAppearance) return;
    bool inside = FMouseInControl;
    if (!Enabled()) {
        c = FAppearance->ColorDisabled();
        cto = FAppearance->ColorDisabledTo();
        border = FAppearance->BorderColorDisabled();
    } else if (FState == absDown && inside && FStyle != tasCheck) {
        c = FAppearance->ColorDown();
        cto = clNone;
        border = FAppearance->BorderColorDown();
    } else if (FDown) {
        c = FAppearance->ColorChecked();
        cto = clNone;
        border = FAppearance->BorderColorChecked();
    } else if (FHot || inside || Focused()) {
        c = FAppearance->ColorHot();
        cto = clNone;
        border = FAppearance->BorderColorHot();
    } else {
        c = FAppearance->Color();
        cto = FAppearance->ColorTo();
        border = FAppearance->BorderColor();
    }
}

// ---------------------------------------------------------------------------
// TVodStrip

TVodStrip::TVodStrip(TComponent* AOwner) : TCustomControl(AOwner), FButtonList(std::make_unique<TDbgList>())
{
    FControlStyle = TControlStyle{csAcceptsControls, csClickEvents, csDoubleClicks};
    SetDoubleBuffered(true);
}

TVodStrip::~TVodStrip() { FButtonList->Clear(); }

bool TVodStrip::GripShown() const
{
    auto* f = dynamic_cast<const TVodFooter*>(this);
    return f && f->Appearance()->SizeGrip() && FVodDropDown && FVodDropDown->DropDownSizeable();
}

TRect TVodStrip::ButtonArea()
{
    TRect r = ClientRect();
    r.Left += 2;
    r.Top += 2;
    r.Right -= 2;
    r.Bottom -= IsFooter() ? 2 : 3;
    return r;
}

void TVodStrip::ClearButtons()
{
    for (Integer i = FButtonList->Count() - 1; i >= 0; --i) delete static_cast<TVodButton*>(FButtonList->Items(i));
    FButtonList->Clear();
}

void TVodStrip::BuildButtons()
{
    TCollection* items = ButtonItems();
    if (!items || !FVodDropDown) return;
    // The buttons of the last opening serve again while there are as many:
    // their windows cost more to make than to paint.
    if (FButtonList->Count() != items->Count()) ClearButtons();
    TRect area = ButtonArea();
    for (Integer i = 0; i < items->Count(); ++i) {
        auto* item = static_cast<THeaderButton*>(items->Items(i));
        const bool fresh = i >= FButtonList->Count();
        auto* b = fresh ? new TVodButton(this) : static_cast<TVodButton*>(FButtonList->Items(i));
        if (!fresh) b->ResetState();
        b->SetAppearance(FVodDropDown->ButtonAppearance());
        b->SetCaption(item->Caption());
        b->SetImages(FImages);
        b->SetImageIndex(item->ImageIndex());
        b->SetEnabled(item->Enabled());
        if (auto* fb = dynamic_cast<TFooterButton*>(item)) {
            b->SetVodDropDown(FVodDropDown);
            b->SetModalResult(fb->ModalResult());
        } else {
            b->SetVodDropDown(nullptr);
            b->SetModalResult(mrNone);
        }
        // The automatic size: caption (and image) extent plus a margin.
        TSize ext{0, 0};
        {
            TCanvas c;
            HDC dc = CreateScreenIC();
            c.SetHandle(dc);
            c.Font()->Assign(FVodDropDown->ButtonAppearance()->Font());
            ext = MeasureText(&c, item->Caption());
            c.SetHandle(nullptr);
            DeleteDC(dc);
        }
        if (FImages && item->ImageIndex() >= 0) {
            ext.cx = std::max(ext.cx, FImages->Width());
            ext.cy = std::max(ext.cy, FImages->Height());
        }
        Integer w = ext.cx + 8, h = ext.cy + 4;
        if (item->Width() > 0) w = item->Width();
        if (item->Height() > 0) h = item->Height();
        h = std::min(h, area.Height());
        b->SetBounds(0, 0, w, h);
        b->SetTag(i);
        b->OnClick = [this](TObject* s) { ButtonClicked(Integer(static_cast<TVodButton*>(s)->Tag())); };
        if (fresh) {
            b->SetParent(this);
            FButtonList->Add(b);
        }
    }
    ArrangeButtons();
}

void TVodStrip::RefreshButtons()
{
    TCollection* items = ButtonItems();
    for (Integer i = 0; i < FButtonList->Count(); ++i) {
        auto* b = static_cast<TVodButton*>(FButtonList->Items(i));
        if (FVodDropDown) b->SetAppearance(FVodDropDown->ButtonAppearance());
        b->SetImages(FImages);
        if (items && i < items->Count()) {
            auto* item = static_cast<THeaderButton*>(items->Items(i));
            b->SetCaption(item->Caption());
            b->SetImageIndex(item->ImageIndex());
            b->SetEnabled(item->Enabled());
        }
    }
    ArrangeButtons();
}

void TVodStrip::ArrangeButtons()
{
    TRect area = ButtonArea();
    Integer x = AAlignment() == baRight ? area.Right : area.Left;
    for (Integer i = 0; i < FButtonList->Count(); ++i) {
        auto* b = static_cast<TVodButton*>(FButtonList->Items(i));
        Integer top = std::max(area.Top, (area.Bottom - b->Height()) / 2);
        if (AAlignment() == baRight) {
            x -= b->Width();
            b->SetBounds(x, top, b->Width(), b->Height());
        } else {
            b->SetBounds(x, top, b->Width(), b->Height());
            x += b->Width();
        }
    }
}

void TVodStrip::AppearanceChanged(bool Visible, Integer Height)
{
    SetVisible(Visible);
    SetHeight(Height);
}

void TVodStrip::Dispatch(TMessage& M)
{
    TCustomControl::Dispatch(M);
    if (M.Msg == WM_SIZE) ArrangeButtons();
}

void TVodStrip::Paint()
{
    TCanvas* c = Canvas();
    TRect R = ClientRect();
    if (OnDrawBackGround) {
        OnDrawBackGround(this, c, R);
        return;
    }
    const TColor color = AColor(), colorTo = AColorTo(), border = ABorderColor();
    const Integer bw = ABorderWidth();
    // 1. Background.
    if (colorTo == clNone) {
        if (color != clNone) {
            c->Brush()->SetStyle(bsSolid);
            c->Brush()->SetColor(color);
            c->FillRect(R);
        }
    } else {
        DrawSteppedGradient(c, color, colorTo, AGradient() == VodDropDown::gdHorizontal, R, 80);
    }
    // 2. The border towards the hosted control; all round when the window
    // has no frame of its own.
    if (border != clNone && bw > 0) {
        bool noFrame = !FVodDropDown || FVodDropDown->DropDownBorderWidth() <= 0 ||
                       FVodDropDown->DropDownBorderColor() == clNone;
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(border);
        if (IsFooter())
            c->FillRect(TRect{R.Left, R.Top, R.Right, R.Top + bw});
        else
            c->FillRect(TRect{R.Left, R.Bottom - bw, R.Right, R.Bottom});
        if (noFrame) {
            if (IsFooter())
                c->FillRect(TRect{R.Left, R.Bottom - bw, R.Right, R.Bottom});
            else
                c->FillRect(TRect{R.Left, R.Top, R.Right, R.Top + bw});
            c->FillRect(TRect{R.Left, R.Top, R.Left + bw, R.Bottom});
            c->FillRect(TRect{R.Right - bw, R.Top, R.Right, R.Bottom});
        }
        c->Pen()->SetWidth(1);
        c->Pen()->SetColor(BlendColors(border, clWhite, 20));
        TRect inner = R;
        if (IsFooter())
            inner.Top += bw;
        else
            inner.Bottom -= bw;
        // The hollow one-pixel frame, in four fills (the pixels an outlined
        // rectangle gives, at a fraction of the cost of stroking it).
        if (inner.Width() > 0 && inner.Height() > 0) {
            c->Brush()->SetColor(c->Pen()->Color());
            c->FillRect(TRect{inner.Left, inner.Top, inner.Right, inner.Top + 1});
            c->FillRect(TRect{inner.Left, inner.Bottom - 1, inner.Right, inner.Bottom});
            c->FillRect(TRect{inner.Left, inner.Top, inner.Left + 1, inner.Bottom});
            c->FillRect(TRect{inner.Right - 1, inner.Top, inner.Right, inner.Bottom});
            c->Brush()->SetColor(border);
        }
    }
    // 3. Image.
    TRect content{R.Left + std::max(bw, 0), R.Top + std::max(bw, 0), R.Right - std::max(bw, 0),
                  R.Bottom - std::max(bw, 0)};
    if (AImageIndex() >= 0 && FImages) {
        FImages->Draw(c, content.Left + 4, content.Top + (content.Height() - FImages->Height()) / 2, AImageIndex());
        content.Left += FImages->Width() + 8;
    }
    // 4. Caption.
    String caption = ACaption();
    if (OnGetText) OnGetText(this, caption);
    if (!caption.empty()) {
        if (FButtonList->Count() > 0) {
            auto* last = static_cast<TVodButton*>(FButtonList->Items(FButtonList->Count() - 1));
            content.Right = std::min(content.Right, last->Left() - 2);
        }
    }
    // Laying out the markup costs more than the rest together: skipped when
    // none of it can show (a button painting the strip behind itself). The
    // markup keeps to its rectangle but for a few pixels of italic overhang
    // and shadow.
    TRect clip{}, reach = content, shown{};
    InflateRect(reach, 4, 4);
    if (!caption.empty() && (GetClipBox(c->Handle(), &clip) == ERROR || IntersectRect(shown, clip, reach))) {
        c->Font()->Assign(AFont());
        c->Brush()->SetStyle(bsClear);
        TSize sz = DrawMarkupText(c, caption, content, FImages, true);
        TRect tr = content;
        if (sz.cy < content.Height()) tr.Top = content.Top + (content.Height() - sz.cy) / 2;
        DrawMarkupText(c, caption, tr, FImages);
        c->Brush()->SetStyle(bsSolid);
    }
    // 5. The footer's size grip: six dots.
    if (GripShown()) {
        Integer L = R.Right - (bw + 1) - 16, B = R.Bottom;
        const TPoint dots[] = {{L + 5, B - 4}, {L + 9, B - 4}, {L + 13, B - 4},
                               {L + 13, B - 8}, {L + 13, B - 12}, {L + 9, B - 8}};
        c->Brush()->SetStyle(bsSolid);
        for (const TPoint& d : dots) {
            c->Brush()->SetColor(border != clNone ? border : clGray);
            c->FillRect(TRect{d.X - 1, d.Y - 1, d.X + 1, d.Y + 1});
            c->Brush()->SetColor(clWhite);
            c->FillRect(TRect{d.X, d.Y, d.X + 2, d.Y + 2});
        }
    }
}

// ---------------------------------------------------------------------------
// TVodHeader and TVodFooter

TVodHeader::TVodHeader(TComponent* AOwner) : TVodStrip(AOwner), FAppearance(std::make_unique<THeaderAppearance>(nullptr))
{
    FAppearance->OnChange = [this](TObject*) { AppearanceChanged(FAppearance->Visible(), FAppearance->Height()); };
}

TVodHeader::~TVodHeader() { ClearButtons(); }

THeaderButtons* TVodHeader::Buttons() const { return FVodDropDown ? FVodDropDown->DropDownHeader()->Buttons() : nullptr; }

TCollection* TVodHeader::ButtonItems() const { return Buttons(); }

void TVodHeader::SetVodDropDown(TVodCustomDropDown* v)
{
    FVodDropDown = v;
    FImages = v ? v->Images() : nullptr;
    if (v) {
        FAppearance->Assign(v->DropDownHeader());
        BuildButtons();
    }
    Invalidate();
}

void TVodHeader::ButtonClicked(Integer Index)
{
    if (FVodDropDown && FVodDropDown->OnDropDownHeaderButtonClick)
        FVodDropDown->OnDropDownHeaderButtonClick(FVodDropDown, Index);
}

TVodFooter::TVodFooter(TComponent* AOwner) : TVodStrip(AOwner), FAppearance(std::make_unique<TFooterAppearance>(nullptr))
{
    FControlStyle.Include(csCaptureMouse);
    FAppearance->OnChange = [this](TObject*) { AppearanceChanged(FAppearance->Visible(), FAppearance->Height()); };
}

TVodFooter::~TVodFooter() { ClearButtons(); }

TFooterButtons* TVodFooter::Buttons() const { return FVodDropDown ? FVodDropDown->DropDownFooter()->Buttons() : nullptr; }

TCollection* TVodFooter::ButtonItems() const { return Buttons(); }

void TVodFooter::SetVodDropDown(TVodCustomDropDown* v)
{
    FVodDropDown = v;
    FImages = v ? v->Images() : nullptr;
    if (v) {
        FAppearance->Assign(v->DropDownFooter());
        BuildButtons();
    }
    Invalidate();
}

TRect TVodFooter::ButtonArea()
{
    TRect r = TVodStrip::ButtonArea();
    if (GripShown()) r.Right -= 12;
    return r;
}

void TVodFooter::ButtonClicked(Integer Index)
{
    if (FVodDropDown && FVodDropDown->OnDropDownFooterButtonClick)
        FVodDropDown->OnDropDownFooterButtonClick(FVodDropDown, Index);
}

bool TVodFooter::InGrip(Integer X, Integer Y)
{
    return GripShown() && X >= Width() - 12 && Y >= Height() - 15 && X < Width() && Y < Height();
}

void TVodFooter::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    TVodStrip::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !InGrip(X, Y)) return;
    // Hand the drag to the system's sizing of the drop-down window.
    ReleaseCapture();
    if (TCustomForm* f = GetParentForm(this); f && f->HandleAllocated()) {
        TPoint p = ClientToScreen(TPoint{X, Y});
        SendMessage(f->Handle(), WM_NCLBUTTONDOWN, HTBOTTOMRIGHT, MAKELPARAM(p.X, p.Y));
    }
}

void TVodFooter::MouseMove(TShiftState Shift, Integer X, Integer Y)
{
    TVodStrip::MouseMove(Shift, X, Y);
    if (!GripShown()) return;
    SetCursor(InGrip(X, Y) ? crSizeNWSE : FOldCursor);
}

void TVodFooter::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    TVodStrip::MouseUp(Button, Shift, X, Y);
    if (GripShown()) SetCursor(FOldCursor);
}

void TVodFooter::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case CM_MOUSEENTER:
        if (Screen && Screen->Cursor() != crSizeNWSE && Cursor() != crSizeNWSE) FOldCursor = Cursor();
        break;
    case CM_MOUSELEAVE:
        if (GripShown()) SetCursor(FOldCursor);
        break;
    default: break;
    }
    TVodStrip::Dispatch(M);
}
