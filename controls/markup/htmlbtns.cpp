#include "controls/markup/htmlbtns.h"

#include <cmath>

#include "controls/foundation/ThemeApiBinding.h"
#include "platform/os/Version.h"
#include "platform/ui/WindowManager.h"

namespace {

// Rounding to the nearest integer, halves to the even one.
Integer RoundEven(double v) { return Integer(std::nearbyint(v)); }

bool SystemIsWinXP()
{
    OSVERSIONINFO vi;
    if (!GetVersionEx(&vi)) return false;
    return vi.dwMajorVersion > 5 || (vi.dwMajorVersion == 5 && vi.dwMinorVersion > 0);
}

bool ThemeIsActive()
{
    const TThemeApiTable& api = ThemeAPI();
    return api.IsThemeActive && api.IsThemeActive() != 0;
}

// A look bitmap of the program's resources, its bottom-left colour keyed out.
std::unique_ptr<TBitmap> LookBitmap(const wchar_t* Name)
{
    auto b = std::make_unique<TBitmap>();
    try {
        b->LoadFromResourceName(HInstance, Name);
    } catch (const Exception&) {
        return nullptr;
    }
    b->SetTransparentMode(tmAuto);
    b->SetTransparent(true);
    return b;
}

// The theme state of a part: disabled, pressed, hot or normal, in the row of
// the check state (0 unchecked, 1 checked, 2 grayed).
int ThemeState(int row, bool enabled, bool down, bool hot)
{
    const int base = row * 4;
    if (!enabled) return base + 4;
    if (down) return base + 3;
    if (hot) return base + 2;
    return base + 1;
}

}  // namespace

// ---------------------------------------------------------------------------
// Screen scale, themes, the parent's image

Integer TextHeightAtDPI(Integer PixelsPerInch, Integer Size)
{
    HDC dc = GetDC(nullptr);
    Integer h = 0;
    {
        TCanvas c;
        c.SetHandle(dc);
        c.Font()->SetPixelsPerInch(PixelsPerInch);
        c.Font()->SetSize(Size);
        h = c.TextHeight(L"0");
        c.SetHandle(nullptr);
    }
    ReleaseDC(nullptr, dc);
    return h;
}

float GetDPIScale()
{
    HDC dc = GetDC(nullptr);
    const int ppi = GetDeviceCaps(dc, LOGPIXELSX);
    ReleaseDC(nullptr, dc);
    if (ppi == 96) return 1.0f;
    const Integer base = TextHeightAtDPI(96, 9);
    if (base <= 0) return 1.0f;
    return float(TextHeightAtDPI(ppi, 9)) / float(base);
}

Integer GetFileVersion(const String& FileName)
{
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSize(FileName.c_str(), &handle);
    if (size == 0) return -1;
    std::vector<Byte> block(size);
    if (!GetFileVersionInfo(FileName.c_str(), handle, size, block.data())) return -1;
    void* buffer = nullptr;
    UINT len = 0;
    if (!VerQueryValue(block.data(), L"\\", &buffer, &len) || !buffer || len < sizeof(VS_FIXEDFILEINFO)) return -1;
    const auto* info = static_cast<const VS_FIXEDFILEINFO*>(buffer);
    if (info->dwSignature != VS_FFI_SIGNATURE) return -1;
    return Integer(info->dwFileVersionMS);
}

bool IsThemedComCtl()
{
    OSVERSIONINFO vi;
    if (!GetVersionEx(&vi)) return false;
    if (vi.dwMajorVersion < 5 || (vi.dwMajorVersion == 5 && vi.dwMinorVersion < 1)) return false;
    if (!ThemeIsActive()) return false;
    const Integer v = GetFileVersion(L"COMCTL32.DLL");
    return v != -1 && ((v >> 16) & 0xFF) > 5;
}

void DrawParentImage(TControl* Control, TCanvas* Canvas)
{
    TWinControl* parent = Control ? Control->Parent() : nullptr;
    if (!parent || !Canvas) return;
    HDC dc = Canvas->Handle();
    const int saved = SaveDC(dc);
    TPoint old;
    OffsetViewportOrgEx(dc, -Control->Left(), -Control->Top(), &old);
    IntersectClipRect(dc, 0, 0, parent->ClientWidth(), parent->ClientHeight());
    parent->Perform(WM_ERASEBKGND, WPARAM(reinterpret_cast<uintptr_t>(dc)), 0);
    parent->Perform(WM_PAINT, WPARAM(reinterpret_cast<uintptr_t>(dc)), 0);
    RestoreDC(dc, saved);
}

// ---------------------------------------------------------------------------
// THTMLButtonBase

THTMLButtonBase::THTMLButtonBase(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetBounds(FLeft, FTop, 98, 20);
    FImageCache = std::make_unique<THTMLPictureCache>();
    FIsWinXP = SystemIsWinXP();
    FBkgBmp = std::make_unique<TBitmap>();
}

THTMLButtonBase::~THTMLButtonBase() { FImageCache->ClearPictures(); }

void THTMLButtonBase::SetAlignment(TLeftRight v)
{
    if (FAlignment == v) return;
    FAlignment = v;
    Invalidate();
}

void THTMLButtonBase::SetButtonType(TButtonType v)
{
    FButtonType = v;
    Invalidate();
}

void THTMLButtonBase::SetButtonVertAlign(TTextLayout v)
{
    if (FBtnVAlign == v) return;
    FBtnVAlign = v;
    Invalidate();
}

void THTMLButtonBase::SetCaption(const String& v)
{
    TCustomControl::SetText(v);
    FCaption = v;
    Invalidate();
}

void THTMLButtonBase::SetDisabledColor(TColor v)
{
    if (FDisabledColor == v) return;
    FDisabledColor = v;
    Invalidate();
}

void THTMLButtonBase::SetDisabledShadow(bool v)
{
    if (FDisabledShadow == v) return;
    FDisabledShadow = v;
    Invalidate();
}

void THTMLButtonBase::SetDown(bool v)
{
    if (FDown == v) return;
    FDown = v;
}

void THTMLButtonBase::SetEllipsis(bool v)
{
    if (FEllipsis == v) return;
    FEllipsis = v;
    Invalidate();
}

void THTMLButtonBase::SetImages(TCustomImageList* v)
{
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = v;
    if (FImages) FImages->FreeNotification(this);
    Invalidate();
}

void THTMLButtonBase::SetPictureContainer(TPictureContainer* v)
{
    if (FContainer) FContainer->RemoveFreeNotification(this);
    FContainer = v;
    if (FContainer) FContainer->FreeNotification(this);
    Invalidate();
}

void THTMLButtonBase::SetShadowColor(TColor v)
{
    if (FShadowColor == v) return;
    FShadowColor = v;
    Invalidate();
}

void THTMLButtonBase::SetShadowOffset(Integer v)
{
    if (FShadowOffset == v) return;
    FShadowOffset = v;
    Invalidate();
}

void THTMLButtonBase::SetTransparent(bool v)
{
    if (FTransparent != v) {
        FTransparent = v;
        FBkgCache = false;
    }
    Repaint();
}

void THTMLButtonBase::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight)
{
    TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FTransparent) {
        FBkgCache = false;
        Repaint();
    }
}

void THTMLButtonBase::Loaded()
{
    TCustomControl::Loaded();
    FOldCursor = Cursor();
    FScaleFactor = GetDPIScale();
}

void THTMLButtonBase::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove) {
        if (AComponent == FImages) FImages = nullptr;
        if (AComponent == FContainer) FContainer = nullptr;
    }
}

// ---------------------------------------------------------------------------
// Looks

Integer THTMLButtonBase::DrawBox(TCanvas* C, bool Draw)
{
    const TRect Cr = ClientRect();
    const double scale = FScaleFactor;
    const bool right = FAlignment == taRightJustify;
    const bool themed = FIsWinXP && ThemeIsActive();
    TButtonType look = FButtonType;
    if (look == btTheme) look = IsThemedComCtl() ? btWinXP : btClassic;
    const bool enabled = Enabled();
    const bool checked = LookChecked();
    const bool grayed = LookGrayed();
    HDC dc = Draw ? C->Handle() : nullptr;

    auto bitmapLook = [&](bool system, Integer G, Integer topY, Integer bottomGap) {
        int index;
        if (IsRadio()) index = checked ? (enabled ? 1 : 3) : (enabled ? 2 : 4);
        else index = checked ? (enabled ? 1 : 3) : (enabled ? 2 : 4);
        if (system) index += 4;
        wchar_t name[16];
        swprintf(name, 16, IsRadio() ? L"HTMBRAD%02d" : L"HTMBCHK%02d", index);
        if (!Draw) return G;
        std::unique_ptr<TBitmap> b = LookBitmap(name);
        if (!b) return G;
        Integer y = topY;
        if (FBtnVAlign == tlCenter) y = (Cr.Bottom - Cr.Top) / 2 - b->Height() / 2;
        else if (FBtnVAlign == tlBottom) y = Cr.Bottom - b->Height() - bottomGap;
        const Integer x = right ? Cr.Right - b->Width() - 1 : 0;
        C->Draw(x, y, b.get());
        return G;
    };

    auto themePart = [&](int part, int row, const TRect& box) {
        const TThemeApiTable& api = ThemeAPI();
        if (!api.OpenThemeData || !api.DrawThemeBackground || !api.CloseThemeData) return;
        HTHEME theme = api.OpenThemeData(HandleAllocated() ? Handle() : nullptr, L"button");
        if (!theme) return;
        const int state = ThemeState(row, enabled, FDown, FHot);
        api.DrawThemeBackground(theme, dc, part, state, &box, nullptr);
        api.CloseThemeData(theme);
    };

    if (!IsRadio()) {
        switch (look) {
        case btClassic:
        case btFlat: {
            const Integer size = RoundEven(13 * scale);
            const Integer left = right ? Cr.Right - size : 0;
            const Integer top = FBtnVAlign == tlTop ? 4 : FBtnVAlign == tlCenter ? (Cr.Bottom - Cr.Top) / 2 - 6
                                                                                  : Cr.Bottom - 4 - size;
            if (Draw) {
                TRect box{left, top, left + size, top + size};
                UINT state = DFCS_BUTTONCHECK;
                if (!enabled || grayed) state |= DFCS_INACTIVE;
                if (checked) state |= DFCS_CHECKED;
                if (look == btFlat) state |= DFCS_FLAT;
                DrawFrameControl(dc, &box, DFC_BUTTON, state);
            }
            return 5 + RoundEven(13 * scale - 13);
        }
        case btBorland: {
            const Integer size = RoundEven(12 * scale);
            const Integer G = 5 + size - 12;
            if (!Draw) return G;
            const Integer y = FBtnVAlign == tlTop ? 4 : FBtnVAlign == tlCenter ? (Cr.Bottom - Cr.Top) / 2 - size / 2
                                                                                : Cr.Bottom - size - 4;
            const Integer x = right ? Cr.Right - size - 1 : 1;
            const Integer x2 = x + size, y2 = y + size;
            C->Brush()->SetColor(clBtnFace);
            if (!FDown) {
                C->Pen()->SetColor(clBtnFace);
                C->Rectangle(x, y, x2, y2);
                C->Pen()->SetColor(clBtnHighlight);
                C->MoveTo(x, y2);
                C->LineTo(x, y);
                C->LineTo(x2, y);
                C->Pen()->SetColor(clBtnShadow);
                C->LineTo(x2, y2);
                C->LineTo(x, y2);
            } else {
                C->Pen()->SetColor(clBlack);
                C->Pen()->SetWidth(2);
                C->Rectangle(x + 1, y + 1, x2 + 1, y2 + 1);
                C->Pen()->SetWidth(1);
            }
            if (checked) {
                C->Pen()->SetColor(enabled ? FCheckColor : clGray);
                C->Pen()->SetWidth(1);
                C->MoveTo(x + 2, y + 6);
                C->LineTo(x + 2, y2 - 2);
                C->MoveTo(x + 3, y + 5);
                C->LineTo(x + 3, y2 - 3);
                C->MoveTo(x + 2, y2 - 2);
                C->LineTo(x2 - 2, y + 2);
                C->MoveTo(x + 3, y2 - 2);
                C->LineTo(x2 - 1, y + 2);
            }
            if (grayed) {
                if (FDown) {
                    C->Pen()->SetColor(clBtnFace);
                    C->Brush()->SetColor(clBtnFace);
                    C->Rectangle(x + 2, y + 2, x2 - 1, y2 - 1);
                }
                C->Brush()->SetColor(clBtnShadow);
                C->Rectangle(x + 2, y + 2, x2 - 1, y2 - 1);
            }
            return G;
        }
        case btQel: return bitmapLook(false, 10, 0, 0);
        case btWinXP:
        case btTheme:
            if (!themed) return bitmapLook(true, 10, 2, 0);
            {
                const Integer y = FBtnVAlign == tlTop ? 4 : FBtnVAlign == tlCenter ? (Cr.Bottom - Cr.Top) / 2 - 6
                                                                                    : Cr.Bottom - 14;
                const Integer x = right ? Cr.Right - 15 : 0;
                const TRect box{x, y, x + RoundEven(14 * scale), y + RoundEven(14 * scale)};
                if (Draw) themePart(3, grayed ? 2 : checked ? 1 : 0, box);
                return 5 + RoundEven(14 * scale - 14);
            }
        }
        return 5;
    }

    switch (look) {
    case btClassic:
    case btFlat: {
        const Integer size = RoundEven(13 * scale);
        if (Draw) {
            const Integer left = right ? Cr.Right - size : 0;
            const Integer top = FBtnVAlign == tlTop ? 4 : FBtnVAlign == tlCenter ? (Cr.Bottom - Cr.Top) / 2 - 6
                                                                                  : Cr.Bottom - size - 4;
            TRect box{left, top, left + size, top + size};
            UINT state = DFCS_BUTTONRADIO;
            if (checked) state |= DFCS_CHECKED;
            if (look == btFlat) state |= DFCS_FLAT;
            if (!enabled) state |= DFCS_INACTIVE;
            DrawFrameControl(dc, &box, DFC_BUTTON, state);
        }
        return size;
    }
    case btBorland: {
        Integer size = RoundEven(12 * scale);
        if (size % 2) ++size;
        if (!Draw) return size;
        const Integer H = size / 2;
        const Integer y = FBtnVAlign == tlTop ? 4 : FBtnVAlign == tlCenter ? (Cr.Bottom - Cr.Top) / 2 - H
                                                                            : Cr.Bottom - size - 4;
        const Integer x = right ? Cr.Right - size - 1 : 1;
        const Integer x2 = x + size, y2 = y + size;
        C->Brush()->SetColor(clBtnFace);
        if (FDown) {
            C->Pen()->SetColor(clBlack);
            C->Polyline({TPoint{x + H, y}, TPoint{x, y + H}, TPoint{x + H, y2}, TPoint{x2, y + H}, TPoint{x + H, y}});
            C->Polyline({TPoint{x + H, y + 1}, TPoint{x + 1, y + H}, TPoint{x + H, y2 - 1}, TPoint{x2 - 1, y + H},
                         TPoint{x + H, y + 1}});
        } else {
            C->Pen()->SetColor(checked ? clGray : clSilver);
            C->MoveTo(x + H, y);
            C->LineTo(x, y + H);
            C->LineTo(x + H, y2);
            C->Pen()->SetColor(checked ? clSilver : clGray);
            C->LineTo(x2, y + H);
            C->LineTo(x + H, y);
        }
        if (checked) {
            C->Pen()->SetColor(enabled ? FCheckColor : clGray);
            const Integer cx = x + H, cy = y + H;
            C->MoveTo(cx - 1, cy - 1);
            C->LineTo(cx + 2, cy - 1);
            C->MoveTo(cx - 2, cy);
            C->LineTo(cx + 3, cy);
            C->MoveTo(cx - 1, cy + 1);
            C->LineTo(cx + 2, cy + 1);
            C->MoveTo(cx, cy - 2);
            C->LineTo(cx, cy + 3);
        }
        return size;
    }
    case btQel: return bitmapLook(false, 13, 2, 2);
    case btWinXP:
    case btTheme:
        if (!themed) return bitmapLook(true, 13, 2, 2);
        if (Draw) {
            const Integer y = FBtnVAlign == tlTop ? 4 : FBtnVAlign == tlCenter ? (Cr.Bottom - Cr.Top) / 2 - 6
                                                                                : Cr.Bottom - 14;
            const Integer x = right ? Cr.Right - 14 : 0;
            const TRect box{x, y, x + RoundEven(13 * scale), y + RoundEven(13 * scale)};
            themePart(2, checked ? 1 : 0, box);
        }
        return 13;
    }
    return 0;
}

TRect THTMLButtonBase::CaptionRect()
{
    const Integer G = DrawBox(nullptr, false);
    const TRect Cr = ClientRect();
    TRect R = Cr;
    const bool right = FAlignment == taRightJustify;
    if (!IsRadio()) {
        if (right) {
            R.Left = 0;
            R.Right = Cr.Right - 12 - G;
        } else R.Left = Cr.Left + 12 + G;
    } else {
        const Integer five = RoundEven(5 * FScaleFactor);
        if (right) {
            R.Left = 0;
            R.Right = Cr.Right - G - five;
        } else R.Left = Cr.Left + G + five;
    }
    R.Top += 4;
    return R;
}

TMarkupParams THTMLButtonBase::CaptionParams(TCanvas* C, const TRect& R)
{
    TMarkupParams p;
    p.Canvas = C;
    p.Text = FCaption;
    p.Rect = R;
    p.Images = FImages;
    p.XPos = 0;
    p.YPos = 0;
    p.FocusLink = -1;
    p.HoverLink = -1;
    p.ShadowOffset = FShadowOffset;
    p.WordWrap = !FEllipsis;
    p.ResFactor = 1.0;
    p.URLColor = FURLColor;
    p.HoverColor = clNone;
    p.HoverFontColor = clNone;
    p.ShadowColor = FShadowColor;
    p.ImageCache = FImageCache.get();
    p.Container = FContainer;
    p.LineSpacing = 0;
    p.BiDiMode = bdLeftToRight;
    p.HighlightColor = clHighlight;
    p.HighlightTextColor = clHighlightText;
    return p;
}

void THTMLButtonBase::Paint()
{
    TCanvas* C = Canvas();
    C->SetFont(Font());
    if (FTransparent) {
        if (FTransparentCaching && FBkgCache) {
            C->Draw(0, 0, FBkgBmp.get());
        } else if (FTransparentCaching) {
            FBkgBmp->SetSize(Width(), Height());
            DrawParentImage(this, FBkgBmp->Canvas());
            C->Draw(0, 0, FBkgBmp.get());
            FBkgCache = true;
        } else {
            DrawParentImage(this, C);
        }
        C->SetFont(Font());
    }
    DrawBox(C, true);
    TRect R = CaptionRect();
    TMarkupParams p = CaptionParams(C, R);
    if (Enabled()) {
        RenderMarkup(p);
    } else {
        if (FDisabledShadow) {
            TMarkupParams w = CaptionParams(C, R);
            OffsetRect(w.Rect, 1, 1);
            C->Font()->SetColor(clWhite);
            w.URLColor = clWhite;
            RenderMarkup(w);
        }
        C->Font()->SetColor(FDisabledColor);
        p.URLColor = clGray;
        RenderMarkup(p);
    }
    if (FFocused) C->DrawFocusRect(TRect{R.Left, R.Top, R.Left + p.XSize + 3, R.Top + p.YSize + 1});
}

void THTMLButtonBase::AnchorAt(Integer X, Integer Y, String& Anchor)
{
    Anchor.clear();
    TCanvas* C = Canvas();
    C->SetFont(Font());
    TMarkupParams p = CaptionParams(C, CaptionRect());
    p.XPos = X;
    p.YPos = Y;
    p.CheckOnly = true;
    if (RenderMarkup(p)) Anchor = p.AnchorVal;
}

// ---------------------------------------------------------------------------
// Mouse, keys, focus

void THTMLButtonBase::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    FMouseDown = true;
    String anchor;
    if (FFocused) {
        AnchorAt(X, Y, anchor);
        if (!anchor.empty()) {
            // Only web and mail addresses reach the shell; others go to the event.
            if (!OpenMarkupLink(anchor) && OnAnchorClick) OnAnchorClick(this, anchor);
        }
    } else {
        if (CanFocus()) SetFocus();
        FFocused = true;
    }
    if (anchor.empty()) {
        TCustomControl::MouseDown(Button, Shift, X, Y);
        SetMouseCapture(true);
        SetDown(true);
    }
    if (FIsWinXP && (FButtonType == btWinXP || FButtonType == btTheme)) InvalidateBox(false);
}

void THTMLButtonBase::MouseMove(TShiftState Shift, Integer X, Integer Y)
{
    if (MouseCapture()) SetDown(Inside(X, Y));
    String anchor;
    AnchorAt(X, Y, anchor);
    if (!anchor.empty()) {
        if (Cursor() == crDefault || anchor != FAnchor) {
            FAnchor = anchor;
            SetCursor(crHandPoint);
            if (OnAnchorEnter) OnAnchorEnter(this, anchor);
        }
    } else if (Cursor() == crHandPoint) {
        SetCursor(FOldCursor);
        if (OnAnchorExit) OnAnchorExit(this, anchor);
    }
    TCustomControl::MouseMove(Shift, X, Y);
}

void THTMLButtonBase::KeyDown(Word& Key, TShiftState Shift)
{
    if (Key == VK_RETURN && FReturnIsTab) {
        Key = VK_TAB;
        PostMessage(Handle(), WM_KEYDOWN, VK_TAB, 0);
    }
    if (Key == VK_SPACE) SetDown(true);
    TCustomControl::KeyDown(Key, Shift);
}

void THTMLButtonBase::DoEnter()
{
    TCustomControl::DoEnter();
    FFocused = true;
    Invalidate();
    EnteredByFocus();
}

void THTMLButtonBase::DoExit()
{
    TCustomControl::DoExit();
    FFocused = false;
    Invalidate();
}

void THTMLButtonBase::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case CM_ENABLEDCHANGED:
        TCustomControl::Dispatch(M);
        Invalidate();
        return;
    case WM_ERASEBKGND:
        if (FTransparent) {
            M.Result = 1;
            return;
        }
        break;
    case CM_DIALOGCHAR:
        if (IsAccel(M.CharCode(), FCaption) && CanFocus()) {
            AccelPressed();
            if (TabStop()) SetFocus();
            M.Result = 1;
            return;
        }
        break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        FHot = M.Msg == CM_MOUSEENTER;
        InvalidateBox(true);
        // The platform's own tracking of the mouse still runs.
        TCustomControl::Dispatch(M);
        return;
    default: break;
    }
    TCustomControl::Dispatch(M);
}

// ---------------------------------------------------------------------------
// TCustomHTMLCheckBox

TCustomHTMLCheckBox::TCustomHTMLCheckBox(TComponent* AOwner) : THTMLButtonBase(AOwner)
{
    FControlStyle.Exclude(csClickEvents);  // it calls Click itself
    FCaption = L"THTMLCheckBox";
    TCustomControl::SetText(FCaption);
}

void TCustomHTMLCheckBox::SetState(TCheckBoxState v)
{
    if (FState == v) return;
    FState = v;
    if (!HandleAllocated()) return;
    TRect r = ClientRect();
    if (FAlignment == taLeftJustify) r.Right = 20;
    else r.Left = r.Right - 20;
    InvalidateRect(Handle(), &r, TRUE);
}

void TCustomHTMLCheckBox::SetCheckedValue(bool v)
{
    SetState(v ? cbChecked : cbUnchecked);
    Invalidate();
}

void TCustomHTMLCheckBox::SetCheckColor(TColor v)
{
    SetCheckColorField(v);
    Repaint();
}

void TCustomHTMLCheckBox::SetURLColor(TColor v)
{
    if (FURLColor == v) return;
    SetURLColorField(v);
    Invalidate();
}

void TCustomHTMLCheckBox::Toggle()
{
    if (FReadOnly) return;
    SetCheckedValue(!CheckedValue());
}

void TCustomHTMLCheckBox::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    SetMouseCapture(false);
    SetDown(false);
    if (Inside(X, Y) && FFocused && FMouseDown) {
        Toggle();
        Click();
    }
    FMouseDown = false;
    THTMLButtonBase::MouseUp(Button, Shift, X, Y);
    if (FIsWinXP && (FButtonType == btWinXP || FButtonType == btTheme)) InvalidateBox(true);
}

void TCustomHTMLCheckBox::KeyUp(Word& Key, TShiftState Shift)
{
    if (Key == VK_SPACE) {
        SetDown(false);
        Toggle();
        Click();
    }
    THTMLButtonBase::KeyUp(Key, Shift);
}

void TCustomHTMLCheckBox::AccelPressed()
{
    Toggle();
    if (OnClick) OnClick(this);
}

void TCustomHTMLCheckBox::InvalidateBox(bool Erase)
{
    if (!(FButtonType == btWinXP || FButtonType == btTheme) || !HandleAllocated()) return;
    TRect r{0, 0, 16, 16};
    InvalidateRect(Handle(), &r, Erase ? TRUE : FALSE);
}

// ---------------------------------------------------------------------------
// THTMLRadioButton

THTMLRadioButton::THTMLRadioButton(TComponent* AOwner) : THTMLButtonBase(AOwner)
{
    FCaption = L"THTMLRadioButton";
    TCustomControl::SetText(FCaption);
}

void THTMLRadioButton::SetCheckColor(TColor v)
{
    SetCheckColorField(v);
    Invalidate();
}

void THTMLRadioButton::SetURLColor(TColor v)
{
    SetURLColorField(v);
    Invalidate();
}

void THTMLRadioButton::DoClick()
{
    if (OnClick) OnClick(this);
}

void THTMLRadioButton::SetChecked(bool v)
{
    if (FChecked == v) return;
    SetTabStop(v);
    FChecked = v;
    if (v) {
        if (TWinControl* parent = Parent()) {
            for (Integer i = 0; i < parent->ControlCount(); ++i) {
                auto* other = dynamic_cast<THTMLRadioButton*>(parent->Controls(i));
                if (other && other != this && other->FGroupIndex == FGroupIndex) other->SetChecked(false);
            }
        }
        DoClick();
    }
    Invalidate();
}

void THTMLRadioButton::EnteredByFocus() { SetChecked(true); }

void THTMLRadioButton::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    SetMouseCapture(false);
    SetDown(false);
    if (Inside(X, Y) && !FChecked && FMouseDown) SetChecked(true);
    FMouseDown = false;
    THTMLButtonBase::MouseUp(Button, Shift, X, Y);
    if (FIsWinXP && (FButtonType == btWinXP || FButtonType == btTheme)) Invalidate();
}

void THTMLRadioButton::KeyUp(Word& Key, TShiftState Shift)
{
    if (Key == VK_SPACE) {
        SetDown(false);
        if (!FChecked) SetChecked(true);
    }
    THTMLButtonBase::KeyUp(Key, Shift);
}

void THTMLRadioButton::AccelPressed() { SetChecked(true); }

void THTMLRadioButton::InvalidateBox(bool)
{
    if (FIsWinXP && (FButtonType == btWinXP || FButtonType == btTheme)) Invalidate();
}

void THTMLRadioButton::Dispatch(TMessage& M)
{
    // The press gives the focus first, which checks the button.
    if (M.Msg == WM_LBUTTONDOWN && CanFocus() && !Focused()) SetFocus();
    THTMLButtonBase::Dispatch(M);
}
