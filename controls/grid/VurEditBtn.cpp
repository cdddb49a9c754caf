#include "controls/grid/VurEditBtn.h"

#include <algorithm>

#include "controls/foundation/ThemeApiBinding.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"

using VurEditBtn::TVodSpeedButton;

namespace {

bool LoadingNow(const TComponent* c) { return c->ComponentState().Contains(csLoading); }

bool VisualStylesActive()
{
    const TThemeApiTable& api = ThemeAPI();
    return api.OpenThemeData && api.IsThemeActive && api.IsThemeActive();
}

// The minimum height of a one-line edit in its font.
Integer FontMinHeight(TFont* font)
{
    HDC dc = GetDC(nullptr);
    TEXTMETRICW sys{}, mine{};
    GetTextMetrics(dc, &sys);
    HGDIOBJ old = SelectObject(dc, font->Handle());
    GetTextMetrics(dc, &mine);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return mine.tmHeight + std::min(sys.tmHeight, mine.tmHeight) / 4;
}

}  // namespace

// ===========================================================================
// VurEditBtn::TVodSpeedButton

TVodSpeedButton::TVodSpeedButton(TComponent* AOwner) : TSpeedButton(AOwner) {}

void TVodSpeedButton::SetIsWinXP(bool v)
{
    if (FIsWinXP == v) return;
    FIsWinXP = v;
    Invalidate();
}

void TVodSpeedButton::SetFlat(bool v)
{
    if (FFlat == v) return;
    FFlat = v;
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

void TVodSpeedButton::Paint()
{
    TCanvas* cv = Canvas();
    HDC dc = cv->Handle();
    auto* holder = dynamic_cast<TVurEditButton*>(Owner());
    const bool pressed = FState == bsDown || FState == bsExclusive;
    TRect R{0, 0, Width(), Height()};

    if (holder && holder->ButtonColor() != clNone) {
        FFlat = true;
        TColor face = holder->ButtonColor();
        if (pressed) face = holder->ButtonColorDown();
        else if (FHot) face = holder->ButtonColorHot();
        cv->Brush()->SetColor(face);
        cv->FillRect(ClientRect());
    } else if (FIsWinXP && VisualStylesActive()) {
        const TThemeApiTable& api = ThemeAPI();
        HWND owner = FParent && FParent->HandleAllocated() ? FParent->Handle() : nullptr;
        if (HTHEME theme = api.OpenThemeData(owner, L"button")) {
            const int state = pressed ? PBS_PRESSED : FHot ? PBS_HOT : PBS_NORMAL;
            TRect r = R;
            api.DrawThemeBackground(theme, dc, BP_PUSHBUTTON, state, &r, nullptr);
            if (api.CloseThemeData) api.CloseThemeData(theme);
        }
    } else if (FFlat) {
        TRect r = R;
        DrawEdge(dc, &r, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT | BF_MIDDLE);
        InflateRect(R, -1, -1);
    } else {
        DrawFrameControl(dc, &R, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (pressed ? UINT(DFCS_PUSHED) : 0u));
    }

    TBitmap* glyph = Glyph();
    if (glyph && !glyph->Empty() && glyph->Width() > 0 && glyph->Height() > 0) {
        const Integer gw = glyph->Width() / std::max<Integer>(FNumGlyphs, 1), gh = glyph->Height();
        Integer x = R.Left, y = R.Top;
        if (gw < R.Width()) x += (R.Width() - gw) / 2;
        if (gh < R.Height()) y += (R.Height() - gh) / 2;
        if (pressed) {
            ++x;
            ++y;
        }
        TransparentBlt(dc, x, y, gw, gh, glyph->Canvas()->Handle(), 0, 0, gw, gh,
                       UINT(ColorToRGB(glyph->TransparentColor()) & 0xFFFFFF));
    }
    const String caption = Caption();
    if (!caption.empty()) {
        cv->Font()->Assign(Font());
        cv->Font()->SetColor(clBlack);
        SetBkMode(dc, TRANSPARENT);
        TRect r = R;
        if (pressed) OffsetRect(r, 1, 1);
        DrawTextStr(dc, caption, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

// ===========================================================================
// TVurEditButton

TVurEditButton::TVurEditButton(TComponent* AOwner) : TWinControl(AOwner)
{
    FControlStyle.Exclude(csAcceptsControls);
    FControlStyle.Exclude(csSetCaption);
    FControlStyle.Include(csOpaque);
    FButton = new TVodSpeedButton(this);
    FButton->SetParent(this);
    FButton->SetVisible(true);
    FButton->SetEnabled(true);
    FButton->SetCaption(String());
    FButton->OnClick = [](TObject*) {};
    FButton->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, Integer x, Integer y) {
        BtnMouseUp(s, b, sh, x, y);
    };
    SetWidth(20);
    SetHeight(25);
}

TVurEditButton::~TVurEditButton() { FButton = nullptr; }

void TVurEditButton::SetFocusControl(TWinControl* v)
{
    if (FFocusControl == v) return;
    FFocusControl = v;
    if (v) v->FreeNotification(this);
}

void TVurEditButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FFocusControl) FFocusControl = nullptr;
    if (AComponent == FButton) FButton = nullptr;
}

void TVurEditButton::SetFlat(bool v)
{
    FFlat = v;
    if (FButton) FButton->SetFlat(v);
}

void TVurEditButton::InvalidateButton()
{
    if (FButton) FButton->Invalidate();
}

void TVurEditButton::FitButton()
{
    if (FButton && !LoadingNow(this)) FButton->SetBounds(0, 0, Width(), Height());
}

void TVurEditButton::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight)
{
    TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    FitButton();
}

void TVurEditButton::WMSize(TMessage& M)
{
    TWinControl::WMSize(M);
    FitButton();
    M.Result = 0;
}

void TVurEditButton::Loaded()
{
    TWinControl::Loaded();
    FitButton();
}

void TVurEditButton::BtnMouseUp(TObject* Sender, TMouseButton Button, TShiftState, Integer, Integer)
{
    if (Button != mbLeft) return;
    if (Sender == FButton && OnClick) OnClick(this);
    if (FFocusControl && FFocusControl->TabStop() && FFocusControl->CanFocus() && !FFocusControl->Focused())
        FFocusControl->SetFocus();
    else if (TabStop() && !Focused() && CanFocus())
        SetFocus();
}

// ===========================================================================
// TVurEditBtn

TVurEditBtn::TVurEditBtn(TComponent* AOwner) : TCustomMaskEdit(AOwner)
{
    SetText(L"0");
    FControlStyle.Exclude(csSetCaption);
    FButton = new TVurEditButton(this);
    FButton->SetWidth(18);
    FButton->SetHeight(18);
    FButton->SetVisible(true);
    FButton->SetParent(this);
    FButton->SetFocusControl(this);
    FButton->OnClick = [this](TObject*) { ClickButton(); };
}

TVurEditBtn::~TVurEditBtn()
{
    // The holder is an owned component: the owner frees it.
    FButton = nullptr;
}

void TVurEditBtn::ClickButton()
{
    if (OnClickBtn) OnClickBtn(this);
}

void TVurEditBtn::KeyDown(Word& Key, TShiftState Shift)
{
    TCustomMaskEdit::KeyDown(Key, Shift);
    if (Key == VK_F4 && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_LMENU) >= 0 && GetKeyState(VK_RMENU) >= 0)
        ClickButton();
}

void TVurEditBtn::WMChar(TMessage& M)
{
    if (!FEditorEnabled) {
        M.Result = 0;
        return;
    }
    // A one-line edit takes no line break: the key events still see Enter.
    if (M.WParam == 13 || M.WParam == 10) {
        DoKeyPress(M);
        M.Result = 0;
        return;
    }
    TCustomMaskEdit::WMChar(M);
}

void TVurEditBtn::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case WM_PASTE:
    case WM_CUT:
        if (!FEditorEnabled || ReadOnly()) return;
        break;
    case CM_ENTER:
        if (AutoSelect() && GetKeyState(VK_LBUTTON) >= 0) SelectAll();
        break;
    default: break;
    }
    TCustomMaskEdit::Dispatch(M);
}

DWORD TVurEditBtn::EditStyle() const
{
    DWORD st = TCustomMaskEdit::EditStyle() | ES_MULTILINE;
    if (FRightAlign) st = (st & ~DWORD(ES_CENTER)) | ES_RIGHT;
    return st;
}

void TVurEditBtn::CreateParams(TCreateParams& Params)
{
    TCustomMaskEdit::CreateParams(Params);
    Params.Style |= WS_CLIPCHILDREN;
}

void TVurEditBtn::CreateWnd()
{
    TCustomMaskEdit::CreateWnd();
    SetEditRect();
}

void TVurEditBtn::SetRightAlign(bool v)
{
    if (FRightAlign == v) return;
    FRightAlign = v;
    RecreateWnd();
}

void TVurEditBtn::SetEditRect()
{
    if (!HandleAllocated() || !FButton) return;
    const TRect c = ClientRect();
    TRect r;
    r.Left = r.Top = BorderStyle() == bsNone ? 3 : 1;
    r.Right = c.Width() - FButton->Width() - 5 - FUnitSize;
    if (FUnitSize > 0) r.Right -= 3;
    r.Bottom = c.Height() + 1;
    SendMessage(FHandle, EM_SETRECTNP, 0, LPARAM(&r));
}

Integer TVurEditBtn::GetMinHeight() { return FontMinHeight(Font()); }

void TVurEditBtn::WMSize(TMessage& M)
{
    TCustomMaskEdit::WMSize(M);
    const Integer minHeight = GetMinHeight();
    if (Height() < minHeight) {
        SetHeight(minHeight);
        return;
    }
    PlaceButton();
}

void TVurEditBtn::PlaceButton()
{
    if (!FButton) return;
    const Integer bw = FButton->Width();
    if (NewStyleControls && Ctl3D()) {
        const Integer k = BorderStyle() == bsNone ? 1 : 5;
        FButton->SetBounds(Width() - bw - k, 0, bw, Height() - k);
    } else {
        FButton->SetBounds(Width() - bw, 1, bw, Height() - 3);
    }
    SetEditRect();
}

void TVurEditBtn::Loaded()
{
    TCustomMaskEdit::Loaded();
    if (HandleAllocated()) PlaceButton();
}

void TVurEditBtn::SetButtonWidth(Integer v)
{
    FButtonWidth = v;
    if (!FButton) return;
    FButton->SetWidth(v);
    if (HandleAllocated()) PlaceButton();
}

void TVurEditBtn::SetIsWinXP(bool v)
{
    FIsWinXP = v;
    if (FButton && FButton->Button()) FButton->Button()->SetIsWinXP(v);
}

// ===========================================================================
// TVurUnitEditBtn

TVurUnitEditBtn::TVurUnitEditBtn(TComponent* AOwner) : TVurEditBtn(AOwner), FUnits(std::make_unique<TStringList>())
{
    FUnitSize = 20;
    FRightAlign = true;
}

TVurUnitEditBtn::~TVurUnitEditBtn() = default;

void TVurUnitEditBtn::SetUnitID(const String& v)
{
    FUnitID = v;
    Invalidate();
}

void TVurUnitEditBtn::SetUnitSpace(Integer v)
{
    FUnitSize = v;
    SetEditRect();
    Invalidate();
}

String TVurUnitEditBtn::TextAndUnit() { return Text() + FUnitID; }

void TVurUnitEditBtn::SetTextAndUnit(const String& v)
{
    const Integer len = Integer(v.size());
    for (Integer i = 0; i < FUnits->Count(); ++i) {
        const String unit = FUnits->Strings(i);
        const Integer p = Pos(unit, v);
        if (p > 0 && p == len - Integer(unit.size()) + 1) {
            SetText(Copy(v, 1, p - 1));
            SetUnitID(Copy(v, p, len));
            return;
        }
    }
}

void TVurUnitEditBtn::ClickButton()
{
    TVurEditBtn::ClickButton();
    if (!HandleAllocated()) return;
    HMENU menu = CreatePopupMenu();
    for (Integer i = 0; i < FUnits->Count(); ++i)
        AppendMenu(menu, MF_STRING, UINT_PTR(i + 1), FUnits->Strings(i).c_str());
    const TPoint origin = ClientOrigin();
    const TRect c = ClientRect();
    try {
        TrackPopupMenu(menu, TPM_LEFTBUTTON, origin.X + c.Width() - 15, origin.Y + c.Height(), 0, FHandle, nullptr);
    } catch (...) {
        DestroyMenu(menu);
        throw;
    }
    DestroyMenu(menu);
}

void TVurUnitEditBtn::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case WM_COMMAND: {
        const Word code = HIWORD(M.WParam), id = LOWORD(M.WParam);
        if (code != EN_CHANGE && M.LParam == 0 && id >= 1 && Integer(id) <= FUnits->Count()) {
            const String unit = FUnits->Strings(Integer(id) - 1);
            const bool changed = unit != FUnitID;
            SetUnitID(unit);
            if (changed && OnUnitChanged) OnUnitChanged(this, FUnitID);
            return;
        }
        break;
    }
    case WM_PAINT:
        TVurEditBtn::Dispatch(M);
        PaintUnit();
        return;
    default: break;
    }
    TVurEditBtn::Dispatch(M);
}

void TVurUnitEditBtn::PaintUnit()
{
    if (!HandleAllocated() || !FButton || FUnitID.empty()) return;
    const TRect c = ClientRect();
    const Integer bw = FButton->Width();
    TRect r{c.Width() - (bw + 3) - FUnitSize, 2, c.Width() - (bw + 3), c.Height()};
    HDC dc = GetDC(FHandle);
    const int saved = SaveDC(dc);
    SelectObject(dc, Font()->Handle());
    SetTextColor(dc, COLORREF(ColorToRGB(Font()->Color())));
    SetBkMode(dc, TRANSPARENT);
    DrawTextStr(dc, FUnitID, &r, DT_EDITCONTROL);
    RestoreDC(dc, saved);
    ReleaseDC(FHandle, dc);
}

// ===========================================================================
// TVurSpeedButton

TVurSpeedButton::TVurSpeedButton(TComponent* AOwner) : TSpeedButton(AOwner), FPicture(std::make_unique<TPicture>())
{
    FPicture->OnChange = [this](TObject*) { Invalidate(); };
}

TVurSpeedButton::~TVurSpeedButton() { FPicture->OnChange = nullptr; }

void TVurSpeedButton::SetImages(TCustomImageList* v)
{
    if (FImages == v) return;
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = v;
    if (v) v->FreeNotification(this);
    Invalidate();
}

void TVurSpeedButton::SetImageIndex(Integer v)
{
    if (FImageIndex == v) return;
    FImageIndex = v;
    Invalidate();
}

void TVurSpeedButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TSpeedButton::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

void TVurSpeedButton::Paint()
{
    TSpeedButton::Paint();
    TCanvas* cv = Canvas();
    if (FImages && FImageIndex >= 0 && FImageIndex < FImages->Count())
        FImages->Draw(cv, (Width() - FImages->Width()) / 2, (Height() - FImages->Height()) / 2, FImageIndex);
    if (!FPicture->Empty())
        cv->Draw((Width() - FPicture->Width()) / 2, (Height() - FPicture->Height()) / 2, FPicture->Graphic());
}
