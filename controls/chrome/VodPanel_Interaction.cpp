// The panel's answers to the mouse and the window manager: the caption's
// close and collapse buttons and clicks, the collapse animation, hover of
// buttons and anchors, following anchors, the anchor hint, and moving and
// sizing by the caption and edges within the fixed-edge constraints.
#include <algorithm>

#include "controls/chrome/VodPanel.h"
#include "controls/markup/MarkupEngine.h"
#include "platform/base/Threads.h"
#include "platform/gfx/Gdi.h"
#include "platform/ui/Forms.h"

namespace {

bool Inside(const TRect& R, Integer X, Integer Y) { return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom; }

}  // namespace

Integer TCustomVodPanel::ButtonSize() const
{
    Integer s = 12;
    if (!FCaption->CloseMinGlyph()->Empty() && !FCaption->CloseMaxGlyph()->Empty()) s = FCaption->CloseMinGlyph()->Width();
    if (!FCaption->MaxGlyph()->Empty() && !FCaption->MinGlyph()->Empty()) s = FCaption->MaxGlyph()->Width();
    if (FCaption->ShadeType() == stXPCaption && IsThemedXP()) s = 16;
    return s;
}

TRect TCustomVodPanel::CloseButtonRect(TRect R) const
{
    const Integer s = ButtonSize();
    const Integer L = R.Left, T = R.Top, Rt = R.Right, B = R.Bottom;
    const bool right = FCaption->ButtonPosition() == cbpRight;
    switch (FCaption->Position()) {
    case cpTop: return right ? TRect{Rt - 2 - s, T + 2, Rt - 2, T + 2 + s} : TRect{L + 2, T + 2, L + 2 + s, T + 2 + s};
    case cpLeft: return right ? TRect{L + 2, T + 2, L + 2 + s, T + 2 + s} : TRect{L + 2, B - 2 - s, L + 2 + s, B - 2};
    case cpRight: return right ? TRect{Rt - 2 - s, B - 2 - s, Rt - 2, B - 2} : TRect{Rt - 2 - s, T + 2, Rt - 2, T + 2 + s};
    }
    return TRect{};
}

TRect TCustomVodPanel::AfterCloseButton(TRect R) const
{
    if (!FCaption->CloseButton()) return R;
    const Integer s = ButtonSize();
    const bool left = FCaption->ButtonPosition() == cbpLeft;
    switch (FCaption->Position()) {
    case cpTop: (left ? R.Left += s : R.Right -= s); break;
    case cpLeft: (left ? R.Bottom -= s : R.Top += s); break;
    case cpRight: (left ? R.Top += s : R.Bottom -= s); break;
    }
    return R;
}

// ---------------------------------------------------------------------------
// Anchors

String TCustomVodPanel::AnchorAt(Integer X, Integer Y, TRect& HoverRect)
{
    TRect r = ClientRect();
    if (BevelInner() != bvNone || BevelOuter() != bvNone) InflateRect(r, -BevelWidth(), -BevelWidth());
    if (FBorderShadow) {
        r.Right -= 2;
        r.Bottom -= 2;
    }
    InflateRect(r, -BorderWidth(), -BorderWidth());
    InflateRect(r, -1, -1);
    r.Left += FIndent;
    r.Top += FTopIndent;
    TBitmap scratch(1, 1);
    TCanvas* c = scratch.Canvas();
    Integer ysize = 0;
    auto measure = [&](TRect mr) {
        c->Font()->Assign(Font());
        TMarkupParams m;
        m.Canvas = c;
        m.Text = FText;
        m.Rect = mr;
        m.CheckHeight = true;
        m.ImageCache = FImageCache.get();
        m.Container = FPictureContainer;
        m.Images = FImages;
        RenderMarkup(m);
        ysize = m.YSize;
    };
    if (FTextVAlign != tvaTop) measure(r);
    const bool capVisible = FCaption->Visible();
    bool inCaption = false;
    if (capVisible) {
        switch (FCaption->Position()) {
        case cpTop: inCaption = Y < FCaptionSize; break;
        case cpLeft: inCaption = X < FCaptionSize; break;
        case cpRight: inCaption = X > Width() - FCaptionSize; break;
        }
    }
    auto valign = [&](TRect& tr) {
        if (FTextVAlign != tvaTop && ysize < tr.Height()) {
            if (FTextVAlign == tvaCenter) tr.Top += (tr.Height() - ysize) / 2;
            else tr.Top = tr.Bottom - ysize;
        }
    };
    TMarkupParams p;
    p.Canvas = c;
    p.XPos = X;
    p.YPos = Y;
    p.CheckOnly = true;
    p.ResFactor = 1.0;
    p.ShadowOffset = 2;
    p.HoverLink = -1;
    p.FocusLink = -1;
    p.ImageCache = FImageCache.get();
    p.Container = FPictureContainer;
    p.Images = FImages;
    if (!inCaption) {
        TRect br = r;
        if (capVisible) {
            switch (FCaption->Position()) {
            case cpTop: br.Top += FCaptionSize; break;
            case cpLeft: br.Left += FCaptionSize; break;
            case cpRight: br.Right -= FCaptionSize; break;
            }
        }
        valign(br);
        br.Bottom += 20;
        c->Font()->Assign(Font());
        p.Text = FText;
        p.Rect = br;
        const bool hit = !FText.empty() && RenderMarkup(p);
        FBodyAnchor = hit ? p.MouseLink : -1;
        HoverRect = p.HoverRect;
        return hit ? p.AnchorVal : String();
    }
    if (FCaption->Position() != cpTop) return String();
    TRect cr = r;
    cr.Bottom = cr.Top + FCaptionSize;
    valign(cr);
    cr.Left += FCaption->Indent();
    cr.Top += FCaption->TopIndent();
    c->Font()->Assign(FCaption->Font());
    p.Text = FCaption->Text();
    p.Rect = cr;
    p.WordWrap = false;
    const bool hit = !FCaption->Text().empty() && RenderMarkup(p);
    FCaptionAnchor = hit ? p.MouseLink : -1;
    HoverRect = p.HoverRect;
    return hit ? p.AnchorVal : String();
}

void TCustomVodPanel::RepaintHoverRect(const TRect& R, bool)
{
    if (DoubleBuffered()) Invalidate();
    else if (FHover && HandleAllocated()) InvalidateRect(Handle(), &R, TRUE);
}

// ---------------------------------------------------------------------------
// Mouse

void TCustomVodPanel::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    TCustomPanel::MouseDown(Button, Shift, X, Y);
    TRect hr;
    const String anchor = AnchorAt(X, Y, hr);
    if (anchor.empty()) return;
    // Only web and mail addresses go to the shell; anything else is the
    // application's, through OnAnchorClick.
    if (!OpenMarkupLink(anchor) && OnAnchorClick) OnAnchorClick(this, anchor);
}

void TCustomVodPanel::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    TCustomPanel::MouseUp(Button, Shift, X, Y);
    if (FDesigning || !FCaption->Visible()) return;
    bool toggle = FCaption->MinMaxCaption();
    TRect R = ClientRect();
    const Integer s = ButtonSize();
    if (FCaption->CloseButton() && Inside(CloseButtonRect(R), X, Y)) {
        SetVisible(false);
        if (OnClose) OnClose(this);
        Synchronize();
        if (FFreeOnClose && HandleAllocated() && !FFreePending) {
            FFreePending = true;
            PostMessage(Handle(), CM_RELEASE, 0, 0);
        }
        return;
    }
    R = AfterCloseButton(R);
    if (FCaption->MinMaxButton()) {
        TRect mr = CloseButtonRect(R);
        if (FCaption->Position() == cpRight) {
            const bool right = FCaption->ButtonPosition() == cbpRight;
            mr = right ? TRect{R.Right - 4 - s, R.Bottom - 4 - s, R.Right - 4, R.Bottom - 4}
                       : TRect{R.Right - 4 - s, R.Top + 2, R.Right - 4, R.Top + 2 + s};
        }
        if (Inside(mr, X, Y)) {
            toggle = false;
            SetCollaps(!FCollaps);
            return;
        }
    }
    TRect strip;
    const Integer ch = FCaption->Height();
    switch (FCaption->Position()) {
    case cpTop: strip = TRect{R.Left, R.Top, R.Right - 2, R.Top + ch}; break;
    case cpLeft: strip = TRect{R.Left, R.Top, R.Left + ch, R.Bottom}; break;
    case cpRight: strip = TRect{R.Right - ch, R.Top, R.Right, R.Bottom}; break;
    }
    if (Inside(strip, X, Y)) {
        std::weak_ptr<bool> alive = FAlive;
        if (toggle) SetCollaps(!FCollaps);
        if (alive.expired() || !*alive.lock()) return;
        if (OnCaptionClick) OnCaptionClick(this);
    }
}

void TCustomVodPanel::HandleDblClick(TMessage& M)
{
    if (!FCaption->Visible()) return;
    const Integer X = GET_X_LPARAM(M.LParam), Y = GET_Y_LPARAM(M.LParam);
    const TRect R = ClientRect();
    TRect strip;
    switch (FCaption->Position()) {
    case cpTop: strip = TRect{R.Left, R.Top, R.Right - 2, R.Top + FCaptionSize}; break;
    case cpLeft: strip = TRect{R.Left, R.Top, R.Left + FCaptionSize, R.Bottom}; break;
    case cpRight: strip = TRect{R.Right - FCaptionSize, R.Top, R.Right, R.Bottom}; break;
    }
    if (Inside(strip, X, Y) && OnCaptionDBlClick) OnCaptionDBlClick(this);
}

void TCustomVodPanel::MouseMove(TShiftState Shift, Integer X, Integer Y)
{
    TCustomPanel::MouseMove(Shift, X, Y);
    TRect hr;
    const String anchor = AnchorAt(X, Y, hr);
    FMoving = false;
    const bool capVisible = FCaption->Visible();
    if (capVisible && !FDesigning) {
        if (ShowHint() && !FCaption->OfficeHint()->IsEmpty() &&
            ((FPrevY > FCaptionSize && Y < FCaptionSize) || (FPrevY < FCaptionSize && Y > FCaptionSize)) && Application)
            Application->CancelHint();
        const TRect R = ClientRect();
        if (FCaption->CloseButtonHoverColor() != clNone && FCaption->CloseButton()) {
            const bool h = Inside(CloseButtonRect(R), X, Y);
            if (h != FCloseHover) {
                FCloseHover = h;
                Invalidate();
            }
        }
        if (FCaption->MinMaxButtonHoverColor() != clNone && FCaption->MinMaxButton()) {
            const bool h = Inside(CloseButtonRect(AfterCloseButton(R)), X, Y);
            if (h != FMinMaxHover) {
                FMinMaxHover = h;
                Invalidate();
            }
        }
    }
    bool inCaption = false;
    if (capVisible) {
        switch (FCaption->Position()) {
        case cpTop: inCaption = Y < FCaptionSize; break;
        case cpLeft: inCaption = X < FCaptionSize; break;
        case cpRight: inCaption = X > Width() - FCaptionSize; break;
        }
    }
    auto enterOrExit = [&](Integer& number, TRect& hoverRect, TRect& otherRect, Integer& otherNumber) {
        // The other part's anchor loses its mark first: at most one is marked.
        if (otherNumber != -1) {
            otherNumber = -1;
            InflateRect(otherRect, 1, 1);
            RepaintHoverRect(otherRect, true);
        }
        if (!anchor.empty()) {
            if (anchor != FCurrentAnchor || hoverRect != hr || FPrevBodyAnchor == -1 || number != FPrevBodyAnchor) {
                InflateRect(hoverRect, 1, 1);
                if (FHover) {
                    RepaintHoverRect(hoverRect, true);
                    RepaintHoverRect(hr, true);
                }
            }
            if (Cursor() == FSavedCursor || anchor != FCurrentAnchor) {
                if (FAnchorHint && Application) Application->CancelHint();
                TControl::SetCursor(crHandPoint);
                if (OnAnchorEnter) OnAnchorEnter(this, anchor);
                if (FHover) RepaintHoverRect(hr, true);
            }
            FCurrentAnchor = anchor;
            hoverRect = hr;
            FPrevBodyAnchor = number;
        } else if (Cursor() == crHandPoint) {
            TControl::SetCursor(FSavedCursor);
            if (OnAnchorExit) OnAnchorExit(this, String());
            InflateRect(hoverRect, 1, 1);
            number = -1;
            FPrevBodyAnchor = -1;
            FCurrentAnchor.clear();
            RepaintHoverRect(hoverRect, true);
        }
    };
    if (!inCaption) enterOrExit(FBodyAnchor, FBodyHoverRect, FCaptionHoverRect, FCaptionAnchor);
    else enterOrExit(FCaptionAnchor, FCaptionHoverRect, FBodyHoverRect, FBodyAnchor);
    FPrevY = Y;
}

void TCustomVodPanel::HandleMouseLeave()
{
    if (FBodyAnchor != -1) {
        FBodyAnchor = -1;
        InflateRect(FBodyHoverRect, 1, 1);
        if (FHover) RepaintHoverRect(FBodyHoverRect, true);
    }
    if (FCaptionAnchor != -1) {
        FCaptionAnchor = -1;
        InflateRect(FCaptionHoverRect, 1, 1);
        if (FHover) RepaintHoverRect(FCaptionHoverRect, true);
    }
    if (FCloseHover || FMinMaxHover) {
        FCloseHover = FMinMaxHover = false;
        Invalidate();
    }
}

void TCustomVodPanel::HandleHintShow(TMessage& M)
{
    auto* info = reinterpret_cast<THintInfo*>(M.LParam);
    if (FAnchorHint && info) {
        TRect hr;
        String anchor = AnchorAt(info->CursorPos.X, info->CursorPos.Y, hr);
        if (!anchor.empty()) {
            if (OnAnchorHint) OnAnchorHint(this, anchor);
            const TPoint sp = ClientToScreen(info->CursorPos);
            info->HintPos = TPoint{sp.X + 10, sp.Y - 10};
            info->HintStr = anchor;
        }
    }
    M.Result = 0;
}

// ---------------------------------------------------------------------------
// Collapse and expand

void TCustomVodPanel::ShowChildren(bool AVisible)
{
    if (!AVisible) {
        for (Integer i = 0; i < ControlCount(); ++i) {
            TControl* c = Controls(i);
            if (!c->Visible()) {
                FHiddenChildren.push_back(c);
                continue;
            }
            bool inStrip = false;
            if (FCaption->Visible()) {
                switch (FCaption->Position()) {
                case cpTop: inStrip = c->Top() < FCaptionSize; break;
                case cpLeft: inStrip = c->Left() < FCaptionSize; break;
                case cpRight: inStrip = c->Left() > Width() - FCaptionSize; break;
                }
            }
            if (!inStrip) c->SetVisible(false);
        }
        return;
    }
    for (Integer i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (std::find(FHiddenChildren.begin(), FHiddenChildren.end(), c) == FHiddenChildren.end()) c->SetVisible(true);
    }
    FHiddenChildren.clear();
}

void TCustomVodPanel::SetCollaps(bool Value)
{
    std::weak_ptr<bool> alive = FAlive;
    auto gone = [&] { return alive.expired() || !*alive.lock(); };
    if (Value != FCollaps) {
        if (FCollaps) {
            if (OnMaximize) OnMaximize(this);
        } else if (OnMinimize) {
            OnMinimize(this);
        }
        if (gone()) return;
    }
    if (FCollapsing) return;
    const Integer extra = (BorderWidth() != 0 && FBorderShadow) ? BorderWidth() + 2 : 0;
    const Integer sb = FStatusBar->Visible() ? FStatusBar->Height() : 0;
    const Integer n = FCollapsSteps;
    const Integer cs = FCaptionSize;
    const TCaptionPosition pos = FCaption->Position();
    // One animation step: the application runs its messages, which may free
    // the panel; then the panel must not be touched again.
    auto pause = [&]() -> bool {
        if (Application) Application->ProcessMessages();
        if (gone()) return false;
        Synchronize();
        if (FCollapsDelay > 0) Sleep(DWORD(FCollapsDelay));
        return !gone();
    };
    if (Value != FCollaps) {
        FCollapsing = true;
        FCollaps = Value;
        if (!ComponentState().Contains(csLoading)) {
            if (Value) {
                FPrevLeft = Left();
                FFullHeight = pos == cpTop ? Height() : Width();
                if (FAutoHideChildren) ShowChildren(false);
                FSavedColor = Color();
                if (n > 0) {
                    if (FCollapsColor != clNone) SetColor(FCollapsColor);
                    if (pos == cpTop) {
                        const Integer step = (Height() - cs - sb - 2 * BorderWidth()) / n;
                        for (Integer i = 0; i < n; ++i) {
                            TControl::SetHeight(Height() - step);
                            if (!pause()) return;
                        }
                    } else {
                        const Integer step = (Width() - cs - sb) / n;
                        for (Integer i = 0; i < n; ++i) {
                            if (pos == cpRight) TControl::SetBounds(Left() + step, Top(), Width() - step, Height());
                            else TControl::SetWidth(Width() - step);
                            if (!pause()) return;
                        }
                    }
                }
                if (pos == cpTop) {
                    TControl::SetHeight(cs + sb + 2 * extra - 2);
                } else {
                    const Integer w = extra + cs + sb;
                    if (pos == cpRight) TControl::SetBounds(FFullHeight + FPrevLeft - w, Top(), w, Height());
                    else TControl::SetWidth(w);
                }
            } else {
                if (pos == cpRight) FPrevLeft = Left() + Width() - FFullHeight;
                if (n > 0) {
                    if (FCollapsColor != clNone) SetColor(FSavedColor);
                    const Integer step = (FFullHeight - cs - sb) / n;
                    for (Integer i = 0; i < n; ++i) {
                        if (pos == cpTop) TControl::SetHeight(Height() + step);
                        else if (pos == cpRight) TControl::SetBounds(Left() - step, Top(), Width() + step, Height());
                        else TControl::SetWidth(Width() + step);
                        if (!pause()) return;
                    }
                }
                if (pos == cpTop) TControl::SetHeight(FFullHeight);
                else if (pos == cpRight) TControl::SetBounds(FPrevLeft, Top(), FFullHeight, Height());
                else TControl::SetWidth(FFullHeight);
                if (FAutoHideChildren) ShowChildren(true);
            }
            Synchronize();
            if (gone()) return;
        }
        FCollapsing = false;
    }
    CollapsChanged();
    if (gone()) return;
    if (OnEndCollapsExpand) OnEndCollapsExpand(this);
}

// ---------------------------------------------------------------------------
// Moving and sizing

void TCustomVodPanel::HandleNCHitTest(TMessage& M)
{
    if (FDesigning) return;
    TPoint p = ScreenToClient(TPoint{GET_X_LPARAM(M.LParam), GET_Y_LPARAM(M.LParam)});
    const Integer X = p.X, Y = p.Y;
    TRect R = ClientRect();
    const Integer s = ButtonSize();
    const Integer buttons = (FCaption->CloseButton() ? 1 : 0) + (FCaption->MinMaxButton() ? 1 : 0);
    const bool left = FCaption->ButtonPosition() == cbpLeft;
    switch (FCaption->Position()) {
    case cpTop: (left ? R.Left += s * buttons : R.Right -= s * buttons); break;
    case cpLeft: (left ? R.Bottom -= s * buttons : R.Top += s * buttons); break;
    case cpRight: (left ? R.Top += s * buttons : R.Bottom -= s * buttons); break;
    }
    bool inStrip = false;
    if (FCaption->Visible()) {
        switch (FCaption->Position()) {
        case cpTop: inStrip = Y < FCaptionSize && X > R.Left && X < R.Right; break;
        case cpLeft: inStrip = X < FCaptionSize && Y > R.Top && Y < R.Bottom; break;
        case cpRight: inStrip = X > Width() - FCaptionSize && Y > R.Top && Y < R.Bottom; break;
        }
    }
    TRect hr;
    if (inStrip && M.Result == HTCLIENT && FCanMove && AnchorAt(X, Y, hr).empty()) {
        MouseMove(TShiftState(), X, Y);
        M.Result = HTCAPTION;
        FMoving = true;
    } else {
        FMoving = false;
    }
    if (M.Result == HTCLIENT && FCanSize && !FCollaps) {
        const Integer fx = GetSystemMetrics(SM_CXSIZEFRAME), fy = GetSystemMetrics(SM_CYSIZEFRAME);
        LRESULT answer = HTCLIENT;
        if (FCaption->Position() == cpRight) {
            if (!FFixedHeight && !FFixedWidth && Y > Height() - fy - 2 && X < fx + 2) answer = HTBOTTOMLEFT;
            else if (!FFixedHeight && Y > Height() - fy) answer = HTBOTTOM;
            else if (!FFixedWidth && X < fx + 2) answer = HTLEFT;
        } else {
            if (!FFixedHeight && !FFixedWidth && Y > Height() - fy - 2 && X > Width() - fx - 2) answer = HTBOTTOMRIGHT;
            else if (!FFixedHeight && Y > Height() - fy) answer = HTBOTTOM;
            else if (!FFixedWidth && X > Width() - fx) answer = HTRIGHT;
        }
        if (answer != HTCLIENT) {
            SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            M.Result = answer;
        }
    }
}

void TCustomVodPanel::HandleMoving(TMessage& M)
{
    auto* r = reinterpret_cast<TRect*>(M.LParam);
    FOrigin = ClientOrigin();
    if (FMoving) SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (r) {
        const Integer w = r->Width(), h = r->Height();
        if (FFixedLeft) {
            r->Left = FOrigin.X;
            r->Right = r->Left + w;
        }
        if (FFixedTop) {
            r->Top = FOrigin.Y;
            r->Bottom = r->Top + h;
        }
    }
    M.Result = 0;
}

void TCustomVodPanel::HandleSizing(TMessage& M)
{
    auto* r = reinterpret_cast<TRect*>(M.LParam);
    if (!r) return;
    if (FFixedWidth) r->Right = r->Left + FOrigSize.cx;
    if (FFixedHeight) r->Bottom = r->Top + FOrigSize.cy;
    FFullHeight = FCaption->Position() == cpTop ? r->Height() : r->Width();
    M.Result = 0;
    if (r->Width() != Width()) BuildShadedHeader();
}

void TCustomVodPanel::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case WM_SIZE:
        TCustomPanel::Dispatch(M);
        if (FShadedHeader->Width() != Width()) BuildShadedHeader();
        Invalidate();
        return;
    case WM_ERASEBKGND:
        if (FOptimizePaint) {
            M.Result = 1;
            return;
        }
        break;
    case WM_LBUTTONDBLCLK:
        TCustomPanel::Dispatch(M);
        HandleDblClick(M);
        return;
    case WM_NCHITTEST:
        TCustomPanel::Dispatch(M);
        HandleNCHitTest(M);
        return;
    case WM_MOVING:
        if (FDesigning) break;
        HandleMoving(M);
        return;
    case WM_SIZING:
        if (FDesigning) break;
        HandleSizing(M);
        return;
    case WM_ENTERSIZEMOVE:
        TCustomPanel::Dispatch(M);
        FOrigin = ClientOrigin();
        FOrigSize = TSize{Width(), Height()};
        return;
    case WM_EXITSIZEMOVE: {
        TCustomPanel::Dispatch(M);
        std::weak_ptr<bool> alive = FAlive;
        if (OnEndMoveSize) OnEndMoveSize(this);
        if (alive.expired() || !*alive.lock()) return;
        Synchronize();
        return;
    }
    case CM_MOUSELEAVE:
        HandleMouseLeave();
        break;
    case CM_HINTSHOW:
        TCustomPanel::Dispatch(M);
        HandleHintShow(M);
        return;
    case CM_RELEASE:
        if (FFreePending) {
            delete this;
            return;
        }
        break;
    default: break;
    }
    TCustomPanel::Dispatch(M);
}

void TCustomVodPanel::SetCursor(TCursor v)
{
    TControl::SetCursor(v);
    FSavedCursor = v;
}
