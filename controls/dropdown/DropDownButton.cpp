// The drop-down button: the container inside the edit and its speed button.
#include "controls/dropdown/DropDownButton.h"

#include "controls/dropdown/VodDropDown.h"
#include "controls/foundation/ThemeApiBinding.h"
#include "controls/foundation/VodStyleIF.h"
#include "platform/gfx/Gdi.h"

// ---------------------------------------------------------------------------
// TVodDropDownSpeedButton

TVodDropDownSpeedButton::TVodDropDownSpeedButton(TComponent* AOwner) : TSpeedButton(AOwner)
{
    FIsWinXP = true;  // common controls 6
}

void TVodDropDownSpeedButton::SetButtonStyle(TButtonStyle v)
{
    FButtonStyle = v;
    Invalidate();
}

void TVodDropDownSpeedButton::SetEtched(bool v)
{
    if (FEtched == v) return;
    FEtched = v;
    Invalidate();
}

void TVodDropDownSpeedButton::SetFocused(bool v)
{
    if (FFocused == v) return;
    FFocused = v;
    Invalidate();
}

bool TVodDropDownSpeedButton::Pressed() const { return (FState == bsDown || FState == bsExclusive) && !FUp; }

void TVodDropDownSpeedButton::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case CM_MOUSEENTER:
        TSpeedButton::Dispatch(M);
        FHot = true;
        Invalidate();
        return;
    case CM_MOUSELEAVE:
        TSpeedButton::Dispatch(M);
        FHot = false;
        Invalidate();
        return;
    default: break;
    }
    TSpeedButton::Dispatch(M);
}

void TVodDropDownSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    TSpeedButton::MouseUp(Button, Shift, X, Y);
    // The arrow holds the capture: a left release anywhere opens.
    if (Button != mbLeft) return;
    if (auto* c = dynamic_cast<TDropDownEditButton*>(Parent()); c && c->OnClick) c->OnClick(c);
}

void TVodDropDownSpeedButton::Paint()
{
    if (FButtonStyle == bsDropDown)
        PaintDropDown();
    else
        PaintButton();
}

void TVodDropDownSpeedButton::PaintDropDown()
{
    auto* box = dynamic_cast<TDropDownEditButton*>(Parent());
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    TColor buttonColor = box ? box->ButtonColor() : clNone;
    TVodCustomDropDown* edit = box ? box->DropDown() : nullptr;
    bool pressed = Pressed();
    if (buttonColor == clNone && !FGlyph->Empty()) {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(clBtnFace);
        c->Pen()->SetColor(TColor(0x808080));
        c->Rectangle(r);
        Integer x = FGlyph->Width() > r.Width() ? 0 : (r.Width() - FGlyph->Width()) / 2;
        Integer y = FGlyph->Height() > r.Height() ? 0 : (r.Height() - FGlyph->Height()) / 2;
        DrawTransparentGlyph(c, FGlyph.get(), clBtnFace, Bounds(x, y, FGlyph->Width(), FGlyph->Height()));
        return;
    }
    const TThemeApiTable& api = ThemeAPI();
    bool themed = FIsWinXP && api.IsThemeActive && api.IsThemeActive() && api.OpenThemeData;
    if (buttonColor == clNone && themed && box && box->HandleAllocated()) {
        HTHEME th = api.OpenThemeData(box->Handle(), L"combobox");
        if (th) {
            // The flat theme draws the normal button without a face: the
            // edit's colour shows behind it (the container is opaque).
            c->Brush()->SetStyle(bsSolid);
            c->Brush()->SetColor(edit ? edit->Color() : clWindow);
            c->FillRect(r);
            TRect tr = r;
            if (IsVistaOrLater())
                tr.Left += 1;
            else {
                tr = TRect{r.Left - 1 + 2, r.Top - 1, r.Right + 1, r.Bottom + 1};
            }
            bool enabled = Enabled() && box->Enabled() && (!edit || (edit->Enabled() && !edit->ReadOnly()));
            int state = !enabled ? 4 : pressed ? 3 : FHot ? 2 : 1;
            RECT rc = tr;
            api.DrawThemeBackground(th, c->Handle(), 1, state, &rc, nullptr);
            if (api.CloseThemeData) api.CloseThemeData(th);
            return;
        }
    }
    if (buttonColor == clNone) {
        TSpeedButton::Paint();
        c->Pen()->SetColor(clBtnFace);
        c->MoveTo(r.Width() - 2, 0);
        c->LineTo(0, 0);
        c->LineTo(0, r.Height() - 1);
        c->Pen()->SetColor(clWhite);
        c->MoveTo(r.Width() - 3, 1);
        c->LineTo(1, 1);
        c->LineTo(1, r.Height() - 2);
        c->Pen()->SetColor(clBlack);
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(clBlack);
        c->Polygon({TPoint{5, 7}, TPoint{11, 7}, TPoint{8, 10}});
        return;
    }
    TColor face = pressed ? box->ButtonColorDown() : FHot ? box->ButtonColorHot() : buttonColor;
    TColor arrow = pressed ? box->ButtonTextColorDown() : FHot ? box->ButtonTextColorHot() : box->ButtonTextColor();
    if (face == clNone) face = buttonColor;
    if (arrow == clNone) arrow = box->ButtonTextColor() != clNone ? box->ButtonTextColor() : clBlack;
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(face);
    c->FillRect(r);
    TColor line = edit ? edit->BorderColor() : clNone;
    if (line != clNone) {
        c->Pen()->SetColor(line);
        c->MoveTo(0, 0);
        c->LineTo(0, r.Height());
    }
    c->Pen()->SetColor(arrow);
    c->Brush()->SetColor(arrow);
    c->Polygon({TPoint{5, 7}, TPoint{11, 7}, TPoint{8, 10}});
}

void TVodDropDownSpeedButton::PaintButton()
{
    auto* box = dynamic_cast<TDropDownEditButton*>(Parent());
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    if (box && box->DropDown()) c->Font()->Assign(box->DropDown()->Font());
    bool pressed = Pressed();
    const TThemeApiTable& api = ThemeAPI();
    bool themed = FIsWinXP && api.IsThemeActive && api.IsThemeActive() && api.OpenThemeData && box &&
                  box->HandleAllocated();
    String caption = Caption();
    if (themed) {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(box->Color());
        c->FillRect(r);
        if (HTHEME th = api.OpenThemeData(box->Handle(), L"button")) {
            int state = !Enabled() ? 4 : pressed ? 3 : FHot ? 2 : 1;
            RECT rc{0, 0, r.Width() + 1, r.Height() + 1};
            api.DrawThemeBackground(th, c->Handle(), 1, state, &rc, nullptr);
            if (api.CloseThemeData) api.CloseThemeData(th);
        }
        Integer off = pressed ? 1 : 0;
        Integer gx = 2;
        if (!FGlyph->Empty()) {
            TRect in{2, 2, r.Width() - 2, r.Height() - 2};
            gx = caption.empty() ? in.Left + (in.Width() - FGlyph->Width()) / 2 : in.Left + 2;
            Integer gy = in.Top + (in.Height() - FGlyph->Height()) / 2;
            DrawTransparentGlyph(c, FGlyph.get(), clBtnFace,
                                 Bounds(gx + off, gy + off, FGlyph->Width(), FGlyph->Height()));
        }
        c->Brush()->SetStyle(bsClear);
        if (!caption.empty()) {
            RECT rc;
            UINT flags = DT_SINGLELINE | DT_VCENTER;
            if (FGlyph->Empty()) {
                rc = TRect{3 + off, 1 + off, r.Width() - 3 + off, r.Height() - 1 + off};
                flags |= DT_CENTER;
            } else {
                rc = TRect{gx + FGlyph->Width() + 2 + off, off - 1, r.Width(), r.Height() - 1 + off};
            }
            DrawTextStr(c->Handle(), caption, &rc, flags);
        }
        return;
    }
    if (Flat()) {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(clBtnFace);
        c->FillRect(r);
        RECT er{r.Left, r.Top, r.Right + 1, r.Bottom + 1};
        DrawEdge(c->Handle(), &er, FEtched ? EDGE_ETCHED : pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
        Integer off = pressed ? 1 : 0;
        if (!FGlyph->Empty())
            DrawTransparentGlyph(c, FGlyph.get(), clBtnFace, TRect{3 + off, 3 + off, r.Width() - 3 + off,
                                                                    r.Height() - 3 + off});
        if (!caption.empty()) {
            c->Brush()->SetStyle(bsClear);
            RECT rc = TRect{3 + off, 1 + off, r.Width() - 3 + off, r.Height() - 1 + off};
            DrawTextStr(c->Handle(), caption, &rc, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
        }
        return;
    }
    TSpeedButton::Paint();
}

// ---------------------------------------------------------------------------
// TDropDownEditButton

TDropDownEditButton::TDropDownEditButton(TComponent* AOwner) : TWinControl(AOwner)
{
    FControlStyle.Exclude(csAcceptsControls);
    FControlStyle.Exclude(csSetCaption);
    FControlStyle.Include(csOpaque);
    FWidth = 16;
    FHeight = 25;
    FButton = new TVodDropDownSpeedButton(this);
    FButton->SetParent(this);
    FButton->SetVisible(true);
    FButton->SetEnabled(Enabled());
    FButton->SetCaption(L"");
    FButton->SetButtonStyle(bsDropDown);
    FButton->SetBounds(0, 0, FBWidth, FHeight);
}

TDropDownEditButton::~TDropDownEditButton() = default;

TVodCustomDropDown* TDropDownEditButton::DropDown() const
{
    if (auto* d = dynamic_cast<TVodCustomDropDown*>(FFocusControl)) return d;
    return dynamic_cast<TVodCustomDropDown*>(Parent());
}

TBitmap* TDropDownEditButton::Glyph() const { return FButton ? FButton->Glyph() : nullptr; }

void TDropDownEditButton::SetGlyph(TBitmap* v)
{
    if (FButton) FButton->SetGlyph(v);
}

String TDropDownEditButton::ButtonCaption() const { return FButton ? FButton->Caption() : String(); }

void TDropDownEditButton::SetButtonCaption(const String& v)
{
    if (FButton) FButton->SetCaption(v);
}

Integer TDropDownEditButton::NumGlyphs() const { return FButton ? FButton->NumGlyphs() : 1; }

void TDropDownEditButton::SetNumGlyphs(Integer v)
{
    if (FButton) FButton->SetNumGlyphs(v);
}

void TDropDownEditButton::SetFocusControl(TWinControl* v)
{
    if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
    FFocusControl = v;
    if (FFocusControl) FFocusControl->FreeNotification(this);
}

void TDropDownEditButton::SetButtonWidth(Integer v)
{
    FBWidth = v;
    SetBounds(FLeft, FTop, FBWidth, FHeight);
}

void TDropDownEditButton::SetBounds(Integer ALeft, Integer ATop, Integer, Integer AHeight)
{
    TWinControl::SetBounds(ALeft, ATop, FBWidth, AHeight);
    if (FButton) FButton->SetBounds(0, 0, FBWidth, FHeight);
}

void TDropDownEditButton::SetEnabled(bool v)
{
    TWinControl::SetEnabled(v);
    if (FButton && !ComponentState().Contains(csDesigning)) FButton->SetEnabled(v);
}

void TDropDownEditButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
    if (Operation == opRemove && AComponent == FButton) FButton = nullptr;
}

void TDropDownEditButton::Dispatch(TMessage& M)
{
    TWinControl::Dispatch(M);
    if (M.Msg == WM_SIZE && FButton) FButton->SetBounds(0, 0, FBWidth, FHeight);
}

void TDropDownEditButton::Loaded()
{
    TWinControl::Loaded();
    if (FButton) FButton->SetBounds(0, 0, FBWidth, FHeight);
}

// ---------------------------------------------------------------------------
// The edit's button operations

void TVodCustomDropDown::CreateDropDownButton()
{
    if (FButton) return;
    FButton = new TDropDownEditButton(this);
    FButton->SetParent(this);
    FButton->OnClick = [this](TObject*) { OpenFromButton(); };
    if (ComponentState().Contains(csDesigning)) FButton->SetColor(clBtnFace);
    UpdateDropDownButton();
}

void TVodCustomDropDown::UpdateDropDownButton()
{
    if (!FButton) return;
    FButton->SetButtonWidth(FButtonWidth);
    FButton->SetHeight(17);
    FButton->SetVisible(true);
    FButton->SetFocusControl(this);
}
