// TSpeedButton.
#include "platform/ui/Buttons.h"

#include <algorithm>

#include "platform/ui/Themes.h"

TSpeedButton::TSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner), FGlyph(std::make_unique<TBitmap>())
{
    FControlStyle = TControlStyle{csCaptureMouse, csDoubleClicks};
    FWidth = 23;
    FHeight = 22;
    FGlyph->OnChange = [this](TObject*) { Invalidate(); };
}

TSpeedButton::~TSpeedButton() { FGlyph->OnChange = nullptr; }

void TSpeedButton::SetGlyph(TBitmap* v)
{
    if (v) FGlyph->Assign(v);
    else FGlyph->SetSize(0, 0);
    // A strip of square images tells how many it holds.
    int w = FGlyph->Width(), h = FGlyph->Height();
    if (h > 0 && w % h == 0 && w / h >= 1 && w / h <= 4) FNumGlyphs = w / h;
    Invalidate();
}

void TSpeedButton::SetNumGlyphs(TNumGlyphs v)
{
    v = std::clamp<TNumGlyphs>(v, 1, 4);
    if (FNumGlyphs == v) return;
    FNumGlyphs = v;
    Invalidate();
}

void TSpeedButton::SetFlat(bool v)
{
    if (FFlat == v) return;
    FFlat = v;
    Invalidate();
}

void TSpeedButton::SetGroupIndex(Integer v)
{
    if (FGroupIndex == v) return;
    FGroupIndex = v;
    UpdateExclusive();
}

void TSpeedButton::SetDown(bool v)
{
    if (FGroupIndex == 0) v = false;
    if (v == FDown) return;
    // The down button of a group stays down unless all may be up.
    if (FDown && !FAllowAllUp) return;
    FDown = v;
    FState = v ? bsExclusive : bsUp;
    Invalidate();
    if (v) UpdateExclusive();
}

void TSpeedButton::SetAllowAllUp(bool v)
{
    if (FAllowAllUp == v) return;
    FAllowAllUp = v;
    UpdateExclusive();
}

void TSpeedButton::SetTransparent(bool v)
{
    if (FTransparent == v) return;
    FTransparent = v;
    if (v) FControlStyle.Exclude(csOpaque);
    else FControlStyle.Include(csOpaque);
    Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout v)
{
    if (FLayout == v) return;
    FLayout = v;
    Invalidate();
}

void TSpeedButton::SetMargin(Integer v)
{
    v = std::max<Integer>(v, -1);
    if (FMargin == v) return;
    FMargin = v;
    Invalidate();
}

void TSpeedButton::SetSpacing(Integer v)
{
    if (FSpacing == v) return;
    FSpacing = v;
    Invalidate();
}

void TSpeedButton::UpdateExclusive()
{
    if (FGroupIndex == 0 || !FParent) return;
    TMessage m{CM_BUTTONPRESSED, WPARAM(FGroupIndex), LPARAM(reinterpret_cast<intptr_t>(static_cast<TControl*>(this))), 0};
    FParent->Broadcast(m);
}

void TSpeedButton::Click() { TGraphicControl::Click(); }

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !FEnabled) return;
    if (!FDown) {
        FState = bsDown;
        Invalidate();
    }
    FDragging = true;
}

void TSpeedButton::MouseMove(TShiftState Shift, Integer X, Integer Y)
{
    TGraphicControl::MouseMove(Shift, X, Y);
    if (!FDragging) return;
    bool inside = X >= 0 && X < FWidth && Y >= 0 && Y < FHeight;
    TButtonState now = inside ? (FDown ? bsExclusive : bsDown) : (FDown ? bsExclusive : bsUp);
    if (now != FState) {
        FState = now;
        Invalidate();
    }
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (!FDragging || Button != mbLeft) return;
    FDragging = false;
    bool click = X >= 0 && X < FWidth && Y >= 0 && Y < FHeight;
    if (FGroupIndex == 0) {
        FState = bsUp;
    } else if (click) {
        SetDown(!FDown);
    }
    if (FDown) FState = bsExclusive;
    else if (FState != bsUp) FState = bsUp;
    Invalidate();
    if (click) Click();
}

void TSpeedButton::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case CM_BUTTONPRESSED:
        if (Integer(M.WParam) == FGroupIndex && FGroupIndex != 0) {
            // Only a speed button of the group answers for its Down state.
            auto* sender = dynamic_cast<TSpeedButton*>(reinterpret_cast<TControl*>(M.LParam));
            if (sender && sender != this) {
                if (sender->Down() && FDown) {
                    FDown = false;
                    FState = bsUp;
                    Invalidate();
                }
                FAllowAllUp = sender->AllowAllUp();
            }
        }
        return;  // Result stays 0: every button of the group hears it
    case CM_DIALOGCHAR:
        if (IsAccel(M.CharCode(), Caption()) && FEnabled && IsVisibleDeep()) {
            Click();
            M.Result = 1;
            return;
        }
        break;
    case CM_MOUSEENTER: case CM_MOUSELEAVE:
        TGraphicControl::Dispatch(M);
        if (FFlat && FEnabled) Invalidate();
        return;
    case CM_ENABLEDCHANGED:
        if (!FEnabled) {
            FDragging = false;
            if (!FDown) FState = bsUp;
        }
        break;
    default: break;
    }
    TGraphicControl::Dispatch(M);
}

void TSpeedButton::Paint()
{
    HDC dc = Canvas()->Handle();
    TRect r = ClientRect();
    bool pressed = FState == bsDown || FState == bsExclusive;
    bool hot = FMouseInControl && FEnabled;
    if (!(FFlat && FTransparent)) {
        HBRUSH b = CreateSolidBrush(COLORREF(ColorToRGB(FColor)));
        FillRect(dc, &r, b);
        DeleteObject(b);
    }
    if (HTHEME theme = OpenThemeData(nullptr, FFlat ? L"toolbar" : L"button")) {
        if (FFlat) {
            int st = !FEnabled ? TS_DISABLED : FState == bsDown ? TS_PRESSED : FState == bsExclusive ? (hot ? TS_HOTCHECKED : TS_CHECKED)
                     : hot ? TS_HOT : TS_NORMAL;
            if (st != TS_NORMAL && st != TS_DISABLED) DrawThemeBackground(theme, dc, TP_BUTTON, st, &r, nullptr);
        } else {
            int st = !FEnabled ? PBS_DISABLED : pressed ? PBS_PRESSED : hot ? PBS_HOT : PBS_NORMAL;
            DrawThemeBackground(theme, dc, BP_PUSHBUTTON, st, &r, nullptr);
        }
        CloseThemeData(theme);
    } else if (FFlat) {
        TRect e = r;
        if (pressed) DrawEdge(dc, &e, BDR_SUNKENOUTER, BF_RECT);
        else if (hot) DrawEdge(dc, &e, BDR_RAISEDINNER, BF_RECT);
    } else {
        TRect e = r;
        DrawFrameControl(dc, &e, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? UINT(DFCS_PUSHED) : 0u));
    }
    // A button staying down shows a lighter face (classic look).
    if (FState == bsExclusive && !IsThemeActive() && (!FFlat || !FTransparent)) {
        TRect face = r;
        InflateRect(face, -2, -2);
        HBRUSH b = CreateSolidBrush(COLORREF(ColorToRGB(clBtnHighlight)));
        FillRect(dc, &face, b);
        DeleteObject(b);
    }
    DrawGlyphAndText(dc, r, pressed);
}

void TSpeedButton::DrawGlyphAndText(HDC dc, const TRect& client, bool pressed)
{
    int saved = SaveDC(dc);
    SelectObject(dc, FFont->Handle());
    int gw = 0, gh = 0;
    if (!FGlyph->Empty()) {
        gw = FGlyph->Width() / FNumGlyphs;
        gh = FGlyph->Height();
    }
    String text = Caption();
    TRect tr{0, 0, client.Width(), 0};
    if (!text.empty()) DrawTextStr(dc, text, &tr, DT_SINGLELINE | DT_CALCRECT);
    int tw = text.empty() ? 0 : tr.Width(), th = text.empty() ? 0 : tr.Height();
    bool horz = FLayout == blGlyphLeft || FLayout == blGlyphRight;
    int gap = (gw > 0 && tw > 0) ? FSpacing : 0;
    int total = horz ? gw + gap + tw : gh + gap + th;
    int room = horz ? client.Width() : client.Height();
    int start = FMargin < 0 ? (room - total) / 2 : FMargin;
    if (FLayout == blGlyphRight || FLayout == blGlyphBottom) start = FMargin < 0 ? (room - total) / 2 : room - FMargin - total;
    TPoint g, t;
    if (horz) {
        bool glyphFirst = FLayout == blGlyphLeft;
        g = {glyphFirst ? start : start + tw + gap, (client.Height() - gh) / 2};
        t = {glyphFirst ? start + gw + gap : start, (client.Height() - th) / 2};
    } else {
        bool glyphFirst = FLayout == blGlyphTop;
        g = {(client.Width() - gw) / 2, glyphFirst ? start : start + th + gap};
        t = {(client.Width() - tw) / 2, glyphFirst ? start + gh + gap : start};
    }
    if (pressed) {
        g = {g.X + 1, g.Y + 1};
        t = {t.X + 1, t.Y + 1};
    }
    if (gw > 0) {
        int index = 0;
        if (!FEnabled) index = 1;
        else if (FState == bsDown) index = 2;
        else if (FState == bsExclusive) index = 3;
        if (index >= FNumGlyphs) index = (FState == bsExclusive && FNumGlyphs > 2) ? 2 : 0;
        HDC src = FGlyph->Canvas()->Handle();
        TransparentBlt(dc, g.X, g.Y, gw, gh, src, index * gw, 0, gw, gh,
                       UINT(ColorToRGB(FGlyph->TransparentColor()) & 0xFFFFFF));
    }
    if (tw > 0) {
        SetBkMode(dc, TRANSPARENT);
        TRect box{t.X, t.Y, t.X + tw, t.Y + th};
        if (!FEnabled) {
            TRect lit = box;
            OffsetRect(lit, 1, 1);
            SetTextColor(dc, COLORREF(ColorToRGB(clBtnHighlight)));
            DrawTextStr(dc, text, &lit, DT_SINGLELINE);
            SetTextColor(dc, COLORREF(ColorToRGB(clBtnShadow)));
        } else {
            SetTextColor(dc, COLORREF(ColorToRGB(FFont->Color())));
        }
        DrawTextStr(dc, text, &box, DT_SINGLELINE);
    }
    RestoreDC(dc, saved);
}
