#include "controls/edits/VodEdBtn.h"

#include <algorithm>

#include "controls/edits/VodSystemProbes.h"
#include "controls/foundation/VodStyleIF.h"
#include "platform/base/Filer.h"
#include "platform/ui/Forms.h"

using namespace VodEdBtn;
using namespace VodEdits;

namespace {

bool LoadingNow(const TComponent* c) { return c->ComponentState().Contains(csLoading); }
bool DesigningNow(const TComponent* c) { return c->ComponentState().Contains(csDesigning); }

}  // namespace

// ===========================================================================
// TVodSpeedButton

TVodSpeedButton::TVodSpeedButton(TComponent* AOwner) : TSpeedButton(AOwner)
{
    FIsWinXP = ComCtl32MajorVersion() > 5;
    FUp = false;
}

void TVodSpeedButton::SetEtched(bool v)
{
    if (FEtched == v) return;
    FEtched = v;
    Invalidate();
}

void TVodSpeedButton::SetFocused(bool v)
{
    if (FFocused == v) return;
    FFocused = v;
    Invalidate();
}

void TVodSpeedButton::CMMouseEnter(TMessage& M)
{
    TSpeedButton::CMMouseEnter(M);
    FHot = true;
    Invalidate();
}

void TVodSpeedButton::CMMouseLeave(TMessage& M)
{
    TSpeedButton::CMMouseLeave(M);
    FHot = false;
    Invalidate();
}

TVodEditBtn* TVodSpeedButton::OwningEdit() const
{
    TComponent* container = Owner();
    return container ? dynamic_cast<TVodEditBtn*>(container->Owner()) : nullptr;
}

void TVodSpeedButton::Paint()
{
    TVodEditBtn* edit = OwningEdit();
    if (edit && edit->ButtonStyle() == bsDropDown) PaintDropDown();
    else PaintPush();
}

namespace {

struct TButtonColours {
    bool Custom = false;
    TColor Fill = clNone, Text = clNone;
};

// The face and text colour of a button in the caller's colours: the later
// rules win (hot over normal, pressed over hot); a colour left clNone keeps
// the one before it.
TButtonColours ColoursOf(const TEditButton* c, bool hot, bool pressed)
{
    TButtonColours k;
    if (!c || c->ButtonColor == clNone) return k;
    k.Custom = true;
    k.Fill = c->ButtonColor;
    if (hot && c->ButtonColorHot != clNone) k.Fill = c->ButtonColorHot;
    if (pressed && c->ButtonColorDown != clNone) k.Fill = c->ButtonColorDown;
    k.Text = c->ButtonTextColor;
    if (hot && c->ButtonTextColorHot != clNone) k.Text = c->ButtonTextColorHot;
    if (pressed && c->ButtonTextColorDown != clNone) k.Text = c->ButtonTextColorDown;
    if (k.Text == clNone) k.Text = clBlack;
    return k;
}

// A face in the caller's colours: filled, with the edit's border colour (if
// any) as a line on its left edge; brush and pen are left in the text colour
// for the caption or glyph drawn on it.
void PaintCustomFace(TCanvas* cv, const TRect& r, const TButtonColours& k, const TVodEditBtn* edit)
{
    cv->Brush()->SetColor(k.Fill);
    cv->Pen()->SetColor(k.Fill);
    cv->FillRect(r);
    TColor line = edit ? edit->BorderColor() : clNone;
    if (line != clNone) {
        cv->Pen()->SetColor(line);
        cv->MoveTo(r.Left, r.Top);
        cv->LineTo(r.Left, r.Bottom);
    }
    cv->Brush()->SetColor(k.Text);
    cv->Pen()->SetColor(k.Text);
}

}  // namespace

void TVodSpeedButton::PaintPush()
{
    TVodEditBtn* edit = OwningEdit();
    auto* container = dynamic_cast<TEditButton*>(Owner());
    const bool inactive = edit && (!edit->Enabled() || edit->ReadOnly());
    const TButtonColours k = ColoursOf(container, FHot, Pressed());
    TCanvas* cv = Canvas();
    TRect r = ClientRect();
    if (k.Custom) {
        PaintCustomFace(cv, r, k, edit);
    } else if (FIsWinXP && ThemeActive()) {
        TRect f = r;
        InflateRect(f, 1, 1);
        cv->FillRect(f);
        int state = inactive ? 4 : Pressed() ? 3 : FHot ? 2 : 1;
        DrawThemedPart(container && container->HandleAllocated() ? container->Handle() : nullptr, cv->Handle(),
                       L"button", 1, state, r);
    } else {
        SetEnabled(!inactive);
        if (!FFlat) {
            TSpeedButton::Paint();
        } else {
            cv->FillRect(r);
            HBRUSH face = CreateSolidBrush(COLORREF(ColorToRGB(clBtnFace)));
            FillRect(cv->Handle(), &r, face);
            DeleteObject(face);
            TRect e{r.Left, r.Top, r.Right + 1, r.Bottom + 1};
            UINT edge = FEtched ? UINT(BDR_SUNKENOUTER | BDR_RAISEDINNER) : UINT(BDR_RAISEDOUTER | BDR_RAISEDINNER);
            DrawEdge(cv->Handle(), &e, edge, BF_RECT | (FState == bsDown ? UINT(BF_FLAT) : 0u));
        }
    }
    PaintGlyphAndCaption(k.Custom, inactive);
}

void TVodSpeedButton::PaintGlyphAndCaption(bool Custom, bool Inactive)
{
    TVodEditBtn* edit = OwningEdit();
    auto* container = dynamic_cast<TEditButton*>(Owner());
    TCanvas* cv = Canvas();
    TBitmap* glyph = Glyph();
    const bool hasGlyph = glyph && !glyph->Empty() && glyph->Width() > 0 && glyph->Height() > 0;
    const bool down = FState == bsDown;
    if (hasGlyph) {
        TRect r = ClientRect();
        OffsetRect(r, 1, 1);
        const Integer gw = glyph->Width() / std::max<Integer>(FNumGlyphs, 1);
        if (!Caption().empty()) r.Left += 2;
        else if (gw < r.Width()) r.Left += (r.Width() - gw) / 2;
        if (glyph->Height() < r.Height()) r.Top += (r.Height() - glyph->Height()) / 2;
        if (down) OffsetRect(r, 1, 1);
        glyph->SetTransparentMode(tmAuto);
        glyph->SetTransparent(true);
        TransparentBlt(cv->Handle(), r.Left, r.Top, gw, glyph->Height(), glyph->Canvas()->Handle(), 0, 0, gw,
                       glyph->Height(), UINT(ColorToRGB(glyph->TransparentColor()) & 0xFFFFFF));
    }
    String caption = Caption();
    if (caption.empty()) return;
    if (edit) cv->Font()->Assign(edit->Font());
    TColor colour = cv->Font()->Color();
    if (container) {
        if (container->ButtonTextColor != clNone) colour = container->ButtonTextColor;
        if (Inactive) colour = TColor(0x808080);
        if (FHot && container->ButtonTextColorHot != clNone) colour = container->ButtonTextColorHot;
        if (Pressed() && container->ButtonTextColorDown != clNone) colour = container->ButtonTextColorDown;
    } else if (Inactive) {
        colour = TColor(0x808080);
    }
    cv->Font()->SetColor(colour);
    TRect r = ClientRect();
    if (Custom) r.Left += 2;
    SetBkMode(cv->Handle(), TRANSPARENT);
    if (hasGlyph) {
        r.Left += glyph->Width() / std::max<Integer>(FNumGlyphs, 1) + 2;
        r.Top -= 1;
    } else {
        if (!Custom) InflateRect(r, -3, -1);
        if (down) OffsetRect(r, 1, 1);
    }
    DrawTextStr(cv->Handle(), caption, &r, DT_CENTER);
}

void TVodSpeedButton::PaintDropDown()
{
    TVodEditBtn* edit = OwningEdit();
    auto* container = dynamic_cast<TEditButton*>(Owner());
    const bool inactive = edit && (!edit->Enabled() || edit->ReadOnly());
    const TButtonColours k = ColoursOf(container, FHot, Pressed());
    TCanvas* cv = Canvas();
    TRect r = ClientRect();
    const std::vector<TPoint> arrow{TPoint{5, 7}, TPoint{11, 7}, TPoint{8, 10}};
    if (k.Custom) {
        PaintCustomFace(cv, r, k, edit);
        cv->Polygon(arrow);
        return;
    }
    if (FIsWinXP && ThemeActive()) {
        if (IsVistaOrLater()) {
            r.Left += 1;
        } else {
            InflateRect(r, 1, 1);
            r.Left += 2;
        }
        int state = inactive ? 4 : Pressed() ? 3 : FHot ? 2 : 1;
        DrawThemedPart(container && container->HandleAllocated() ? container->Handle() : nullptr, cv->Handle(),
                       L"combobox", 1, state, r);
        return;
    }
    SetEnabled(!inactive);
    TSpeedButton::Paint();
    const Integer W = Width(), H = Height();
    cv->Pen()->SetWidth(1);
    cv->Pen()->SetColor(clBtnFace);
    cv->MoveTo(W - 2, 0);
    cv->LineTo(0, 0);
    cv->LineTo(0, H - 1);
    cv->Pen()->SetColor(clWhite);
    cv->MoveTo(W - 3, 1);
    cv->LineTo(1, 1);
    cv->LineTo(1, H - 2);
    if (!Glyph() || Glyph()->Empty()) {
        cv->Brush()->SetColor(clBlack);
        cv->Pen()->SetColor(clBlack);
        cv->Polygon(arrow);
    }
}

// ===========================================================================
// TEditButton

TEditButton::TEditButton(TComponent* AOwner) : TWinControl(AOwner)
{
    // Streamed by class name: registered once; a failed registration is ignored.
    static const bool registered = [] {
        try {
            RegisterClass(TEditButton::StaticClass());
        } catch (...) {
        }
        return true;
    }();
    (void)registered;
    FControlStyle.Exclude(csAcceptsControls);
    FControlStyle.Exclude(csSetCaption);
    FControlStyle.Include(csOpaque);
    CreateButton();
    FButton->Glyph()->Assign(nullptr);
    // Sized while the width is still 0: the next size pass applies 16.
    SetWidth(16);
    SetHeight(25);
    FBWidth = 16;
}

TEditButton::~TEditButton() { FButton = nullptr; }

void TEditButton::CreateButton()
{
    FButton = new TVodSpeedButton(this);
    FButton->OnClick = [this](TObject* s) { SpeedButtonClick(s); };
    FButton->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, Integer x, Integer y) { BtnMouseUp(s, b, sh, x, y); };
    FButton->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, Integer x, Integer y) { BtnMouseDown(s, b, sh, x, y); };
    FButton->SetVisible(true);
    FButton->SetEnabled(Enabled());
    FButton->SetParent(this);
    FButton->SetCaption(String());
}

void TEditButton::SetFocusControl(TWinControl* v)
{
    FFocusControl = v;
    if (v) v->FreeNotification(this);
}

void TEditButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove) {
        if (AComponent == FFocusControl) FFocusControl = nullptr;
        if (AComponent == FButton) FButton = nullptr;
    }
}

void TEditButton::AdjustWinSize(Integer& W, Integer& H)
{
    if (!FButton || LoadingNow(this)) return;
    W = FBWidth;
    FButton->SetBounds(0, 0, FBWidth, H);
}

void TEditButton::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight)
{
    Integer w = AWidth, h = AHeight;
    AdjustWinSize(w, h);
    TWinControl::SetBounds(ALeft, ATop, w, h);
}

void TEditButton::WMSize(TMessage& M)
{
    TWinControl::WMSize(M);
    Integer w = Width(), h = Height();
    AdjustWinSize(w, h);
    if (w != Width() || h != Height()) TWinControl::SetBounds(Left(), Top(), w, h);
    M.Result = 0;
}

void TEditButton::Loaded()
{
    TWinControl::Loaded();
    Integer w = Width(), h = Height();
    AdjustWinSize(w, h);
    if (w != Width() || h != Height()) TWinControl::SetBounds(Left(), Top(), w, h);
}

void TEditButton::BtnMouseDown(TObject*, TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TEditButton::BtnMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    if (Button != mbLeft) return;
    if (Sender == FButton && OnClick) OnClick(this);
    if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
    if (FFocusControl && FFocusControl->TabStop() && FFocusControl->CanFocus() && !FFocusControl->Focused()) {
        FFocusControl->SetFocus();
        return;
    }
    if (TabStop() && !Focused() && CanFocus()) SetFocus();
}

// ===========================================================================
// TVodEditBtn

TVodEditBtn::TVodEditBtn(TComponent* AOwner) : TVodEdit(AOwner)
{
    FButton = new TEditButton(this);
    FButton->OnMouseDown = [this](TObject* s, TMouseButton, TShiftState, Integer, Integer) { BtnMouseDown(s); };
    FButton->OnMouseUp = [this](TObject* s, TMouseButton, TShiftState, Integer, Integer) { BtnMouseUp(s); };
    FButton->SetWidth(17);
    FButton->SetHeight(17);
    FButton->SetVisible(true);
    FButton->SetParent(this);
    FButton->SetFocusControl(this);
    FButton->OnClick = [this](TObject*) { ClickButton(); };
    SetText(String());
    FControlStyle.Exclude(csSetCaption);
    FEditorEnabled = true;
    FUnitSize = 0;
    FIndentR = 18;
    FIndentL = 0;
}

TVodEditBtn::~TVodEditBtn()
{
    // The owned container goes with the components; nothing reaches it now.
    FButton = nullptr;
}

Integer TVodEditBtn::GetVersionNr() { return 0x01030600; }

void TVodEditBtn::CreateWnd()
{
    TVodEdit::CreateWnd();
    SetWidth(Width() - 1);
    SetWidth(Width() + 1);
    SetEditRect();
    UpdateButtonBounds();
}

void TVodEditBtn::Loaded()
{
    TVodEdit::Loaded();
    SetEditRect();
    UpdateButtonBounds();
    if (FButton) {
        FButton->SetEnabled(Enabled() && !ReadOnly());
        if (FButton->Glyph() && !FButton->Glyph()->Empty()) FButton->Glyph()->SetTransparentMode(tmAuto);
    }
}

void TVodEditBtn::SetEditRect()
{
    if (ComponentState().Contains(csDestroying) || !HandleAllocated()) return;
    TRect r;
    SendMessage(FHandle, EM_GETRECT, 0, LPARAM(&r));
    TRect c = ClientRect();
    r.Left = Ctl3D() ? 0 : 2;
    r.Top = 0;
    r.Right = c.Width() - ((FButton && FButton->Visible()) ? FButton->Width() + 2 : 0) - FUnitSize - 1;
    r.Bottom = c.Height() + 1;
    SendMessage(FHandle, EM_SETRECTNP, 0, LPARAM(&r));
}

Integer TVodEditBtn::GetMinHeight()
{
    HDC dc = GetDC(nullptr);
    TEXTMETRICW sys{}, mine{};
    GetTextMetrics(dc, &sys);
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    GetTextMetrics(dc, &mine);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return mine.tmHeight + std::min(sys.tmHeight, mine.tmHeight) / 4;
}

void TVodEditBtn::UpdateButtonBounds()
{
    Integer d = BorderStyle() == bsNone ? 1 : 4;
    if (FFlat) d = 3;
    const Integer top = FFlat ? 2 : 0;
    const Integer e = Ctl3D() ? 0 : 2;
    const Integer minHeight = GetMinHeight();
    if (minHeight > Height()) {
        SetHeight(minHeight);
        return;
    }
    if (FButton) {
        const Integer bw = FButton->FBWidth;
        // New-style controls are always on here.
        if (Ctl3D()) FButton->SetBounds(Width() - bw - d, top, bw, Height() - d);
        else FButton->SetBounds(Width() - bw - e, 1, bw, Height() - 2);
        SetEditRect();
    }
    Invalidate();
}

void TVodEditBtn::ClickButton()
{
    if (OnClickBtn) OnClickBtn(this);
}

void TVodEditBtn::BtnMouseDown(TObject*)
{
    if (FShowPassOnClick && EditType() == etPassword) {
        SetEditType(etString);
        FIsPass = true;
    }
    if (OnBtnMouseDown) OnBtnMouseDown(this);
}

void TVodEditBtn::BtnMouseUp(TObject*)
{
    if (FShowPassOnClick && FIsPass) {
        SetEditType(etPassword);
        FIsPass = false;
    }
    if (OnBtnMouseUp) OnBtnMouseUp(this);
}

void TVodEditBtn::SetReadOnly(bool v)
{
    TVodEdit::SetReadOnly(v);
    if (FButton) FButton->SetEnabled(Enabled() && !v);
}

void TVodEditBtn::SetButtonWidth(Integer v)
{
    if (!FButton) return;
    FButton->FBWidth = v;
    FIndentR = v + 3;
    if (FButton->HandleAllocated()) UpdateButtonBounds();
}

void TVodEditBtn::SetButtonHint(const String& v)
{
    if (FButtonHint == v) return;
    FButtonHint = v;
    if (FButton) {
        FButton->SetHint(v);
        FButton->SetShowHint(!v.empty());
    }
}

void TVodEditBtn::SetButtonStyle(TButtonStyle v)
{
    FButtonStyle = v;
    Invalidate();
    if (FButton && FButton->FButton) FButton->FButton->Invalidate();
}

void TVodEditBtn::SetFlat(bool v)
{
    if (FFlat == v) return;
    FFlat = v;
    if (FButton && FButton->FButton) FButton->FButton->SetFlat(v);
    TVodEdit::SetFlat(v);
    SetWidth(Width() + 1);
    SetWidth(Width() - 1);
}

void TVodEditBtn::SetEtched(bool v)
{
    if (FEtched == v) return;
    FEtched = v;
    if (FButton && FButton->FButton) FButton->FButton->SetEtched(v);
    Invalidate();
}

void TVodEditBtn::PaintTo(HDC DC, Integer X, Integer Y)
{
    TWinControl::PaintTo(DC, X, Y);
    if (FButton) FButton->PaintTo(DC, X + Width() - FButton->Width() - 2, Y + 2);
}

void TVodEditBtn::PaintTo(TCanvas* Canvas, Integer X, Integer Y) { PaintTo(Canvas->Handle(), X, Y); }

// ---------------------------------------------------------------------------
// Keys and clipboard

void TVodEditBtn::WMKeyDown(TMessage& M)
{
    const Word key = M.CharCode();
    if (!FEditorEnabled && key == VK_DELETE) {
        M.WParam = 0;
        M.Result = 1;
        return;
    }
    TVodEdit::WMKeyDown(M);
    if (key == VK_RETURN && GetKeyState(VK_CONTROL) < 0 && HandleAllocated()) PostMessage(FHandle, WM_KEYDOWN, VK_UP, 0);
}

void TVodEditBtn::WMChar(TMessage& M)
{
    if (FEditorEnabled) {
        TVodEdit::WMChar(M);
        return;
    }
    const WPARAM ch = M.WParam;
    if ((ch == 3 && EditType() != etPassword) || ch == 13 || ch == 27) {
        TVodEdit::WMChar(M);
        return;
    }
    M.Result = 0;
}

void TVodEditBtn::WMCut(TMessage& M)
{
    if (FEditorEnabled && !ReadOnly()) TVodEdit::WMCut(M);
}

void TVodEditBtn::WMPaste(TMessage& M)
{
    if (FEditorEnabled && !ReadOnly()) TVodEdit::WMPaste(M);
}

void TVodEditBtn::KeyDown(Word& Key, TShiftState Shift)
{
    TVodEdit::KeyDown(Key, Shift);
    const bool alt = Shift.Contains(ssAlt) || GetKeyState(VK_LMENU) < 0 || GetKeyState(VK_RMENU) < 0;
    if (Key == VK_F4 && !Shift.Contains(ssCtrl) && !alt) ClickButton();
}

// ---------------------------------------------------------------------------
// Focus, hover, size, font and change

bool TVodEditBtn::IsButtonFocused()
{
    if (DesigningNow(this)) return Enabled();
    return FMouseInControl || (Screen && Screen->ActiveControl() == this);
}

void TVodEditBtn::UpdateButtonFocus()
{
    if (FFlat && FButton && FButton->FButton) FButton->FButton->SetFocused(IsButtonFocused());
}

void TVodEditBtn::DoEnter()
{
    TVodEdit::DoEnter();
    SetEditRect();
}

void TVodEditBtn::CMMouseEnter(TMessage& M)
{
    TVodEdit::CMMouseEnter(M);
    if (Enabled() && !FMouseInControl) {
        FMouseInControl = true;
        UpdateButtonFocus();
    }
}

void TVodEditBtn::CMMouseLeave(TMessage& M)
{
    TVodEdit::CMMouseLeave(M);
    if (Enabled() && FMouseInControl) {
        FMouseInControl = false;
        UpdateButtonFocus();
    }
}

void TVodEditBtn::WMSize(TMessage& M)
{
    TVodEdit::WMSize(M);
    UpdateButtonBounds();
}

void TVodEditBtn::CMFontChanged(TMessage& M)
{
    TVodEdit::CMFontChanged(M);
    SetEditRect();
}

void TVodEditBtn::CNCommand(TMessage& M)
{
    const bool change = HIWORD(M.WParam) == EN_CHANGE;
    TVodEdit::CNCommand(M);
    if (change && EditType() == etPassword) {
        SetEditRect();
        UpdateButtonBounds();
    }
}

void TVodEditBtn::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case CM_ENTER:
        if (AutoSelect() && !(GetKeyState(VK_LBUTTON) < 0 && FMouseInControl)) SelectAll();
        TVodEdit::Dispatch(M);
        UpdateButtonFocus();
        return;
    case CM_EXIT:
        TVodEdit::Dispatch(M);
        UpdateButtonFocus();
        return;
    case CM_ENABLEDCHANGED:
        TVodEdit::Dispatch(M);
        if (FButton) FButton->SetEnabled(Enabled() && !ReadOnly());
        return;
    default: break;
    }
    TVodEdit::Dispatch(M);
}
