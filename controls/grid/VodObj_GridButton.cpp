// The grid button: flat looks with hover, down and checked colours in
// 16-band gradients, glyphs derived from the main glyph (disabled grey and
// drop shade), glyph and caption layout, the drop-down part, groups through
// the button-pressed broadcast, colour presets and theme adaption.
#include <algorithm>
#include <cmath>

#include "controls/edits/VodSystemProbes.h"
#include "controls/foundation/ThemeApiBinding.h"
#include "controls/grid/VodObj.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/Menus.h"
#include "platform/ui/WindowManager.h"

namespace {

constexpr UINT kThemeChangedNotice = 45109;  // the library's own theme-change message

Integer RoundEven(double v) { return Integer(std::nearbyint(v)); }

void ColorParts(TColor c, Integer& r, Integer& g, Integer& b)
{
    const COLORREF v = COLORREF(ColorToRGB(c));
    r = GetRValue(v);
    g = GetGValue(v);
    b = GetBValue(v);
}

struct TLookPreset {
    TColor Color, ColorTo, ColorHot, ColorHotTo, ColorDown, ColorDownTo, ColorChecked, ColorCheckedTo, BorderDown,
        BorderHot;
    bool Rounded;
};

const TLookPreset kLooks[7] = {
    {TColor(0xEDF1F1), TColor(0xDFEBEB), TColor(0xFAFCFC), TColor(0xE5ECED), TColor(0xE0E6E7), TColor(0xD8E0E1),
     TColor(0xFFFFFF), clNone, TColor(0xAF987A), TColor(0xC3CECE), true},
    {clBtnFace, clNone, TColor(0xEED2C1), clNone, TColor(0xE2B598), clNone, TColor(0xE8E6E1), clNone,
     TColor(0xC56A31), TColor(0xC56A31), false},
    {TColor(0xFDEADA), TColor(0xE4AE88), TColor(0xCCF4FF), TColor(0x91D0FF), TColor(0x4E91FE), TColor(0x8ED3FF),
     TColor(0x8ED3FF), TColor(0x55ADFF), 0, 0, false},
    {TColor(0xCFF0EA), TColor(0x8CC0B1), TColor(0xCCF4FF), TColor(0x91D0FF), TColor(0x4E91FE), TColor(0x8ED3FF),
     TColor(0x8ED3FF), TColor(0x55ADFF), 0, 0, false},
    {TColor(0xECE2E1), TColor(0xB39698), TColor(0xCCF4FF), TColor(0x91D0FF), TColor(0x4E91FE), TColor(0x8ED3FF),
     TColor(0x8ED3FF), TColor(0x55ADFF), 0, 0, false},
    {clBtnFace, clNone, clBtnFace, clNone, TColor(0xD8D3D2), clNone, TColor(0xCAC7C7), clNone, clNone, clNone, false},
    {TColor(0xCAFFFF), TColor(0xA6FFFF), TColor(0xA8F0FD), TColor(0x7CE9FC), TColor(0x4DE0FB), TColor(0x7AE9FC),
     TColor(0xB5E6F2), TColor(0x9CDDED), TColor(0x808080), TColor(0x808080), false},
};

}  // namespace

// ---------------------------------------------------------------------------
// Action link

TVodGridButtonActionLink::TVodGridButtonActionLink(TVodGridButton* AClient)
    : TControlActionLink(AClient), FButton(AClient)
{
}

bool TVodGridButtonActionLink::IsCaptionLinked() const
{
    auto* a = dynamic_cast<TCustomAction*>(Action());
    return a && FButton->Caption() == a->Caption();
}

bool TVodGridButtonActionLink::IsCheckedLinked() const
{
    auto* a = dynamic_cast<TCustomAction*>(Action());
    return a && FButton->GroupIndex() != 0 && FButton->AllowAllUp() && FButton->Down() == a->Checked();
}

bool TVodGridButtonActionLink::IsGroupIndexLinked() const
{
    auto* a = dynamic_cast<TCustomAction*>(Action());
    return a && FButton->GroupIndex() == a->GroupIndex();
}

void TVodGridButtonActionLink::SetChecked(bool Value)
{
    if (IsCheckedLinked()) FButton->SetDown(Value);
}

void TVodGridButtonActionLink::SetGroupIndex(Integer Value)
{
    if (IsGroupIndexLinked()) FButton->SetGroupIndex(Value);
}

// ---------------------------------------------------------------------------
// Construction and properties

TVodGridButton::TVodGridButton(TComponent* AOwner)
    : TGraphicControl(AOwner),
      FGlyph(std::make_unique<TBitmap>()),
      FGlyphDisabled(std::make_unique<TBitmap>()),
      FGlyphHot(std::make_unique<TBitmap>()),
      FGlyphDown(std::make_unique<TBitmap>()),
      FGlyphShade(std::make_unique<TBitmap>())
{
    FIsComCtl6 = VodEdits::ComCtl32MajorVersion() > 5;
    SetBounds(0, 0, 22, 23);
    FControlStyle.Include(csCaptureMouse);
    FControlStyle.Include(csDoubleClicks);
    // The button clicks by itself on a release inside.
    FControlStyle.Exclude(csClickEvents);
    SetParentFont(true);
    SetColor(clBtnFace);
    FGlyph->OnChange = [this](TObject*) { Invalidate(); };
}

TVodGridButton::~TVodGridButton() = default;

void TVodGridButton::SetAction(TBasicAction* v)
{
    if (v && !FActionLink) FActionLink = std::make_unique<TVodGridButtonActionLink>(this);
    TGraphicControl::SetAction(v);
}

void TVodGridButton::ActionChange(TObject* Sender, bool CheckDefaults)
{
    TGraphicControl::ActionChange(Sender, CheckDefaults);
    if (auto* a = dynamic_cast<TCustomAction*>(Sender)) {
        if (!CheckDefaults || !FDown) SetDown(a->Checked());
        if (!CheckDefaults || FGroupIndex == 0) SetGroupIndex(a->GroupIndex());
    }
}

void TVodGridButton::Loaded()
{
    TGraphicControl::Loaded();
    if (FShaded) BuildShadeGlyph();
    if (FAutoThemeAdapt) ThemeAdapt();
}

void TVodGridButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FDropDownMenu) FDropDownMenu = nullptr;
}

void TVodGridButton::SetDropDownMenu(TComponent* v)
{
    FDropDownMenu = v;
    if (v) v->FreeNotification(this);
}

#define VEL_GB_REPAINT_ON_CHANGE(Name, Type) \
    void TVodGridButton::Set##Name(Type v)   \
    {                                        \
        if (F##Name == v) return;            \
        F##Name = v;                         \
        Invalidate();                        \
    }
VEL_GB_REPAINT_ON_CHANGE(Flat, bool)
VEL_GB_REPAINT_ON_CHANGE(Layout, TButtonLayout)
VEL_GB_REPAINT_ON_CHANGE(Spacing, Integer)
VEL_GB_REPAINT_ON_CHANGE(ShowCaption, bool)
#undef VEL_GB_REPAINT_ON_CHANGE

#define VEL_GB_REPAINT(Name, Type)         \
    void TVodGridButton::Set##Name(Type v) \
    {                                      \
        F##Name = v;                       \
        Invalidate();                      \
    }
VEL_GB_REPAINT(ColorTo, TColor)
VEL_GB_REPAINT(ColorChecked, TColor)
VEL_GB_REPAINT(ColorCheckedTo, TColor)
VEL_GB_REPAINT(Style, TVodGridButtonStyle)
VEL_GB_REPAINT(Rounded, bool)
VEL_GB_REPAINT(DropDownButton, bool)
VEL_GB_REPAINT(BorderColor, TColor)
#undef VEL_GB_REPAINT

void TVodGridButton::SetMargin(Integer v)
{
    if (v < -1 || v == FMargin) return;
    FMargin = v;
    Invalidate();
}

void TVodGridButton::SetGroupIndex(Integer v)
{
    if (FGroupIndex == v) return;
    FGroupIndex = v;
    UpdateExclusive();
}

void TVodGridButton::SetAllowAllUp(bool v)
{
    if (FAllowAllUp == v) return;
    FAllowAllUp = v;
    UpdateExclusive();
}

void TVodGridButton::SetShaded(bool v)
{
    FShaded = v;
    if (v && !ComponentState().Contains(csLoading)) BuildShadeGlyph();
}

void TVodGridButton::SetGlyphHot(TBitmap* v) { FGlyphHot->Assign(v); }
void TVodGridButton::SetGlyphDown(TBitmap* v) { FGlyphDown->Assign(v); }
void TVodGridButton::SetGlyphDisabled(TBitmap* v) { FGlyphDisabled->Assign(v); }

void TVodGridButton::SetGlyph(TBitmap* v)
{
    FGlyph->Assign(v);
    if (FGlyphDisabled->Empty()) BuildDisabledGlyph();
    if (FShaded) BuildShadeGlyph();
    Invalidate();
}

void TVodGridButton::BuildDisabledGlyph()
{
    if (FGlyph->Empty()) return;
    FGlyphDisabled->Assign(FGlyph.get());
    const int w = FGlyphDisabled->Width(), h = FGlyphDisabled->Height();
    TCanvas* c = FGlyphDisabled->Canvas();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            Integer r, g, b;
            ColorParts(c->Pixels(x, y), r, g, b);
            const Integer v = RoundEven((r + g + b) / 3.0);
            const Integer grey = v / 2 + 96;
            c->SetPixels(x, y, TColor(RGB(grey, grey, grey)));
        }
}

void TVodGridButton::BuildShadeGlyph()
{
    if (FGlyph->Empty()) return;
    const int w = FGlyph->Width(), h = FGlyph->Height();
    FGlyphShade->SetPixelFormat(pf24bit);
    FGlyphShade->SetSize(w, h);
    TCanvas* src = FGlyph->Canvas();
    TCanvas* dst = FGlyphShade->Canvas();
    const TColor transparent = src->Pixels(0, h - 1);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            dst->SetPixels(x, y, src->Pixels(x, y) == transparent ? transparent : TColor(0x808080));
    FGlyphShade->SetTransparentColor(transparent);
}

void TVodGridButton::SetLook(Integer v)
{
    FLook = v;
    if (v < 0 || v > 6) return;
    const TLookPreset& p = kLooks[v];
    SetColor(p.Color);
    FColorTo = p.ColorTo;
    FColorHot = p.ColorHot;
    FColorHotTo = p.ColorHotTo;
    FColorDown = p.ColorDown;
    FColorDownTo = p.ColorDownTo;
    FColorChecked = p.ColorChecked;
    FColorCheckedTo = p.ColorCheckedTo;
    FBorderDownColor = p.BorderDown;
    FBorderHotColor = p.BorderHot;
    FRounded = p.Rounded;
    FBorderColor = clNone;
    FFlat = true;
    Invalidate();
}

void TVodGridButton::ThemeAdapt()
{
    Integer look = 1;
    if (FIsComCtl6 && VodEdits::IsWinXPOrLater() && VodEdits::ThemeActive() && ThemeAPI().GetCurrentThemeName) {
        wchar_t file[260] = {0}, scheme[260] = {0}, size[260] = {0};
        ThemeAPI().GetCurrentThemeName(file, 260, scheme, 260, size, 260);
        const String s = scheme;
        if (s == L"NormalColor")
            look = 2;
        else if (s == L"HomeStead")
            look = 3;
        else if (s == L"Metallic")
            look = 4;
    }
    SetLook(look);
}

void TVodGridButton::SetAutoThemeAdapt(bool v)
{
    FAutoThemeAdapt = v;
    if (v) ThemeAdapt();
}

// ---------------------------------------------------------------------------
// Down state and groups

void TVodGridButton::SetDown(bool v)
{
    if (FGroupIndex == 0 && FStyle == tasButton) v = false;
    if (FStyle == tasCheck) {
        FDown = v;
        Invalidate();
        return;
    }
    if (v == FDown) return;
    if (FDown && !FAllowAllUp) return;
    FDown = v;
    if (v) {
        if (FState == bsUp) Invalidate();
        FState = bsExclusive;
    } else {
        FState = bsUp;
        Invalidate();
    }
    if (v) UpdateExclusive();
}

void TVodGridButton::UpdateExclusive()
{
    if (FGroupIndex == 0 || !FParent) return;
    TMessage m{CM_BUTTONPRESSED, WPARAM(FGroupIndex), LPARAM(reinterpret_cast<intptr_t>(static_cast<TControl*>(this))), 0};
    FParent->Broadcast(m);
}

void TVodGridButton::UpdateTracking()
{
    if (!FFlat || !FEnabled) return;
    POINT p{};
    GetCursorPos(&p);
    TControl* under = FindDragTarget(TPoint{p.X, p.Y}, true);
    Perform(under == this ? CM_MOUSEENTER : CM_MOUSELEAVE);
}

void TVodGridButton::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case CM_BUTTONPRESSED:
        if (Integer(M.WParam) == FGroupIndex && FGroupIndex != 0) {
            auto* sender = dynamic_cast<TVodGridButton*>(reinterpret_cast<TControl*>(M.LParam));
            if (sender && sender != this) {
                if (sender->Down() && FDown) {
                    FDown = false;
                    FState = bsUp;
                    if (auto* a = dynamic_cast<TCustomAction*>(Action())) a->SetChecked(false);
                    Invalidate();
                }
                FAllowAllUp = sender->AllowAllUp();
            }
        }
        return;
    case CM_MOUSEENTER:
        if (FEnabled && FDragMode != dmAutomatic && !GetCapture() && !FMouseInControl) {
            FMouseInControl = true;
            Invalidate();
        }
        if (OnMouseEnter) OnMouseEnter(this);
        return;
    case CM_MOUSELEAVE:
        if (FEnabled && !FDragging && FMouseInControl) {
            FMouseInControl = false;
            Invalidate();
        }
        if (OnMouseLeave) OnMouseLeave(this);
        return;
    case CM_DIALOGCHAR:
        if (IsAccel(Word(M.WParam), Caption()) && FEnabled && Visible() && FParent && FParent->Showing()) {
            Click();
            M.Result = 1;
            return;
        }
        break;
    case CM_ENABLEDCHANGED:
        TGraphicControl::Dispatch(M);
        if (!FEnabled) FMouseInControl = false;
        UpdateTracking();
        Invalidate();
        return;
    case CM_FONTCHANGED:
    case CM_TEXTCHANGED:
    case CM_SYSCOLORCHANGE:
        TGraphicControl::Dispatch(M);
        Invalidate();
        return;
    case WM_THEMECHANGED:
    case kThemeChangedNotice:
        if (FAutoThemeAdapt) ThemeAdapt();
        break;
    default:
        break;
    }
    TGraphicControl::Dispatch(M);
}

// ---------------------------------------------------------------------------
// Mouse

void TVodGridButton::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !FEnabled) return;
    if (FDropDownButton && X > Width() - 12) {
        FState = bsUp;
        if (OnDropDown) OnDropDown(this);
        if (auto* m = dynamic_cast<TPopupMenu*>(FDropDownMenu)) {
            const TPoint p = ClientToScreen(TPoint{0, Height()});
            m->Popup(p.X, p.Y);
        }
        return;
    }
    if (!FDown) {
        FState = bsDown;
        Invalidate();
    }
    if (FStyle == tasCheck) {
        FState = bsDown;
        Repaint();
    }
    FDragging = true;
}

void TVodGridButton::MouseMove(TShiftState Shift, Integer X, Integer Y)
{
    TGraphicControl::MouseMove(Shift, X, Y);
    if (!FDragging) return;
    TButtonState s;
    if (X >= 0 && X < Width() && Y >= 0 && Y <= Height())
        s = FDown ? bsExclusive : bsDown;
    else
        s = FDown ? bsExclusive : bsUp;
    if (FStyle == tasCheck && FDown) s = bsDown;
    if (s != FState) {
        FState = s;
        Invalidate();
    }
}

void TVodGridButton::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (!FDragging) return;
    FDragging = false;
    const bool inside = X >= 0 && X < Width() && Y >= 0 && Y <= Height();
    if (FGroupIndex == 0) {
        FState = bsUp;
        FMouseInControl = false;
        if (FStyle == tasCheck) {
            SetDown(!FDown);
            FState = bsUp;
        }
        if (inside) Invalidate();
    } else if (inside) {
        SetDown(!FDown);
        if (FDown) Repaint();
    } else {
        if (FDown) FState = bsExclusive;
        Repaint();
    }
    if (inside) Click();
    UpdateTracking();
}

void TVodGridButton::Click() { TGraphicControl::Click(); }

void TVodGridButton::DblClick()
{
    if (FDown) TGraphicControl::DblClick();
}

// ---------------------------------------------------------------------------
// Painting

void TVodGridButton::DrawGradient(TCanvas* C, TColor From, TColor To, TRect R, TColor Frame)
{
    Integer fr, fg, fb, tr, tg, tb;
    ColorParts(From, fr, fg, fb);
    ColorParts(To, tr, tg, tb);
    const double d = (R.Bottom - R.Top) / 16.0;
    for (int n = 0; n < 16; ++n) {
        const TColor c = TColor(RGB(fr + RoundEven(n * (tr - fr) / 16.0), fg + RoundEven(n * (tg - fg) / 16.0),
                                    fb + RoundEven(n * (tb - fb) / 16.0)));
        C->Pen()->SetColor(c);
        C->Brush()->SetColor(c);
        C->Brush()->SetStyle(bsSolid);
        const Integer top = R.Top + RoundEven(n * d);
        C->FillRect(TRect{R.Left, top, R.Right, std::min(R.Bottom, top + RoundEven(d) + 1)});
    }
    if (Frame != clNone) {
        C->Brush()->SetStyle(bsClear);
        C->Pen()->SetColor(Frame);
        C->Rectangle(R);
        C->Brush()->SetStyle(bsSolid);
    }
}

void TVodGridButton::Paint()
{
    TCanvas* C = Canvas();
    const bool designing = ComponentState().Contains(csDesigning);
    if (!FEnabled) {
        FState = bsDisabled;
        FDragging = false;
    } else if (FState == bsDisabled) {
        FState = FDown && FGroupIndex != 0 ? bsExclusive : bsUp;
    }
    if (FStyle == tasCheck && FDown) FState = bsDown;
    C->Font()->Assign(Font());
    TRect R = ClientRect();
    const bool hover = FMouseInControl && FEnabled && !designing;
    C->Pen()->SetWidth(1);

    if (FFlat) {
        if (FBorderDownColor == clNone || FRounded) R = TRect{R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1};
        auto fill = [&](TColor from, TColor to, TColor border) {
            if (to == clNone) {
                C->Brush()->SetStyle(bsSolid);
                C->Brush()->SetColor(from);
                C->Pen()->SetColor(border == clNone ? from : border);
                if (FRounded)
                    C->FillRect(R);
                else
                    C->Rectangle(R);
            } else {
                DrawGradient(C, from, to, R, FRounded ? clNone : border);
            }
        };
        if (!hover) {
            if (FStyle == tasCheck && FDown) {
                fill(FColorChecked, FColorCheckedTo, FBorderDownColor == clNone ? FColorChecked : FBorderDownColor);
            } else {
                if (FColorTo == clNone) {
                    C->Brush()->SetStyle(bsSolid);
                    C->Brush()->SetColor(Color());
                    C->FillRect(R);
                } else {
                    DrawGradient(C, Color(), FColorTo, R, FRounded ? clNone : (FDown ? FBorderDownColor : FBorderColor));
                }
                if (FBorderColor != clNone) {
                    C->Brush()->SetStyle(bsClear);
                    C->Pen()->SetColor(FBorderColor);
                    if (FRounded)
                        C->RoundRect(R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1, 8, 8);
                    else
                        C->Rectangle(R);
                    C->Brush()->SetStyle(bsSolid);
                }
            }
        } else {
            TColor from, to, border;
            if (FState == bsDown) {
                from = FColorDown;
                to = FColorDownTo;
                border = FBorderDownColor;
            } else if (FStyle == tasCheck && FDown) {
                from = FColorChecked;
                to = FColorCheckedTo;
                border = FBorderDownColor;
            } else {
                from = FColorHot;
                to = FColorHotTo;
                border = FBorderHotColor;
            }
            fill(from, to, border);
            const TColor line = FState == bsDown ? FBorderDownColor : FBorderHotColor;
            if (FRounded && line != clNone) {
                C->Brush()->SetStyle(bsClear);
                C->Pen()->SetColor(line);
                C->RoundRect(R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1, 8, 8);
                C->Brush()->SetStyle(bsSolid);
            }
            if (FDropDownButton && line != clNone) {
                C->Pen()->SetColor(line);
                C->MoveTo(R.Right - 12, R.Top);
                C->LineTo(R.Right - 12, R.Bottom);
            }
        }
        R = TRect{R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1};
    } else {
        const bool pressed = FState == bsDown || FState == bsExclusive;
        bool themed = false;
        if (FAutoXPStyle && FIsComCtl6 && VodEdits::IsWinXPOrLater() && VodEdits::ThemeActive() && FParent &&
            FParent->HandleAllocated()) {
            themed = VodEdits::DrawThemedPart(FParent->Handle(), C->Handle(), L"button", 1,
                                              pressed ? 3 : FMouseInControl ? 2 : 1, ClientRect());
        }
        if (!themed) {
            RECT rc{R.Left, R.Top, R.Right, R.Bottom};
            DrawFrameControl(C->Handle(), &rc, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? UINT(DFCS_PUSHED) : 0u));
        }
    }

    // Offset of glyph and caption.
    TPoint offset{0, 0};
    if (!FFlat && (FState == bsDown || FState == bsExclusive) && !designing) offset = TPoint{1, 1};
    if (FFlat && FState == bsExclusive && !hover) {
        TRect g{R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1};
        const TRect saved = R;
        R = g;
        if (FColorCheckedTo == clNone) {
            C->Brush()->SetColor(FColorChecked);
            C->Pen()->SetColor(FDown ? FBorderDownColor : FBorderColor);
            if (C->Pen()->Color() == clNone) C->Pen()->SetColor(FColorChecked);
            C->Rectangle(R);
        } else {
            DrawGradient(C, FColorChecked, FColorCheckedTo, R, FDown ? FBorderDownColor : FBorderColor);
        }
        R = saved;
    }
    if (FFlat && hover && FShaded && FState != bsDown && !designing) offset = TPoint{-1, -1};

    TRect content = ClientRect();
    if (FDropDownButton) {
        const Integer m = content.Height() / 2 - 1;
        const Integer right = content.Right;
        C->Brush()->SetColor(Font()->Color());
        C->Pen()->SetColor(Font()->Color());
        C->Polygon({TPoint{right - 8, m}, TPoint{right - 4, m}, TPoint{right - 6, m + 2}});
        content.Right -= 12;
    }
    DrawGlyphAndCaption(C, content, offset, hover);
}

void TVodGridButton::DrawGlyphAndCaption(TCanvas* C, TRect R, TPoint Offset, bool Hover)
{
    const bool designing = ComponentState().Contains(csDesigning);
    TBitmap* glyph = FGlyph.get();
    const bool pressed = FState == bsDown || FState == bsExclusive;
    if (pressed && !FGlyphDown->Empty())
        glyph = FGlyphDown.get();
    else if (Hover && !designing && !FGlyphHot->Empty())
        glyph = FGlyphHot.get();
    else if (!FEnabled && !FGlyphDisabled->Empty())
        glyph = FGlyphDisabled.get();
    const String caption = Caption();
    const bool hasCaption = FShowCaption && !caption.empty();
    const Integer gw = glyph->Empty() ? 0 : glyph->Width(), gh = glyph->Empty() ? 0 : glyph->Height();
    TSize ts{0, 0};
    if (hasCaption) {
        TRect tr{0, 0, R.Width(), 0};
        DrawText(C->Handle(), caption.c_str(), Integer(caption.size()), &tr,
                 DrawTextBiDiModeFlags(DT_CALCRECT | DT_SINGLELINE));
        ts = TSize{tr.Width(), tr.Height()};
    }
    TButtonLayout layout = FLayout;
    if (UseRightToLeftAlignment()) {
        if (layout == blGlyphLeft)
            layout = blGlyphRight;
        else if (layout == blGlyphRight)
            layout = blGlyphLeft;
    }
    const Integer W = R.Width(), H = R.Height();
    TPoint gp, tp;
    if (!hasCaption) {
        gp = TPoint{(W - gw) / 2, (H - gh) / 2};
    } else {
        const bool horz = layout == blGlyphLeft || layout == blGlyphRight;
        if (horz) {
            gp.Y = (H - gh + 1) / 2;
            tp.Y = (H - ts.cy + 1) / 2;
        } else {
            gp.X = (W - gw + 1) / 2;
            tp.X = (W - ts.cx + 1) / 2;
        }
        Integer spacing = (gw == 0) ? 0 : FSpacing;
        Integer margin = FMargin;
        const Integer extent = horz ? W : H;
        const Integer gsz = horz ? gw : gh, tsz = horz ? ts.cx : ts.cy;
        if (margin == -1) {
            if (spacing == -1) {
                margin = spacing = (extent - gsz - tsz) / 3;
            } else {
                margin = (extent - (gsz + spacing + tsz) + 1) / 2;
            }
        } else if (spacing == -1) {
            spacing = (extent - margin - gsz - tsz) / 2;
        }
        switch (layout) {
        case blGlyphLeft:
            gp.X = margin;
            tp.X = margin + gw + spacing;
            break;
        case blGlyphRight:
            gp.X = W - margin - gw;
            tp.X = gp.X - spacing - ts.cx;
            break;
        case blGlyphTop:
            gp.Y = margin;
            tp.Y = margin + gh + spacing;
            break;
        case blGlyphBottom:
            gp.Y = H - margin - gh;
            tp.Y = gp.Y - spacing - ts.cy;
            break;
        }
    }
    gp = TPoint{gp.X + R.Left + Offset.X, gp.Y + R.Top + Offset.Y};
    tp = TPoint{tp.X + R.Left + Offset.X, tp.Y + R.Top + Offset.Y};
    if (gw > 0) {
        if (Hover && FShaded && FEnabled && FState != bsDown && !FGlyphShade->Empty()) {
            const Integer d = hasCaption ? 2 : 0;
            FGlyphShade->SetTransparentColor(FGlyphShade->Canvas()->Pixels(0, FGlyphShade->Height() - 1));
            FGlyphShade->SetTransparent(true);
            C->Draw(gp.X + d, gp.Y + d, FGlyphShade.get());
        }
        glyph->SetTransparent(true);
        C->Draw(gp.X, gp.Y, glyph);
    }
    if (hasCaption) {
        if (Hover && FShaded && FEnabled && FFlat && !(FState == bsDown || FState == bsExclusive) && !designing)
            tp = TPoint{tp.X + 1, tp.Y + 1};
        C->Brush()->SetStyle(bsClear);
        HDC dc = C->Handle();
        const int mode = SetBkMode(dc, TRANSPARENT);
        TRect tr{tp.X, tp.Y, tp.X + ts.cx, tp.Y + ts.cy};
        const UINT flags = DrawTextBiDiModeFlags(DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        if (!FEnabled) {
            TRect sh{tr.Left + 1, tr.Top + 1, tr.Right + 1, tr.Bottom + 1};
            SetTextColor(dc, COLORREF(ColorToRGB(clBtnHighlight)));
            DrawText(dc, caption.c_str(), Integer(caption.size()), &sh, flags);
            C->Font()->SetColor(clBtnShadow);
        }
        SetTextColor(dc, COLORREF(ColorToRGB(C->Font()->Color())));
        DrawText(dc, caption.c_str(), Integer(caption.size()), &tr, flags);
        SetBkMode(dc, mode);
        C->Brush()->SetStyle(bsSolid);
    }
}
