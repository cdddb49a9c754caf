// The grid's one-call colour schemes: the component styles shared with the
// library's other styled controls, the flat colour tones, the older XP
// header schemes and the adaptation to the installed Office theme.
#include <algorithm>

#include "controls/grid/GridScrollControls.h"
#include "controls/grid/VodGrid.h"
#include "platform/base/Resources.h"

namespace {

// One row of the style table. Header colours: the grid's normal header
// From / To / MirrorFrom / MirrorTo; kKeep leaves a value as it is.
constexpr TColor kKeep = TColor(0x7FFFFFFF);

struct TStyleRow {
    TQelStyle Style;
    Integer Look;  // a TGridLook, or -1 to keep the look
    TColor From, To, MirrorFrom, MirrorTo;
    TColor Active, ActiveTo;
    TColor Sel, SelTo, SelText;
    TColor Line, FixedLine;
    TGridSelectionStyle SelStyle;
    TColor Border;                       // kKeep: no border colour of its own
    TColor SortFrom, SortTo, SortMirrorFrom, SortMirrorTo;  // kKeep: none
};

constexpr TColor N = clNone;
constexpr TColor K = kKeep;

// Every style but tsCustom and tsTerminal, which keep everything but the
// common start (and tsTerminal's look).
const TStyleRow kStyles[] = {
    {tsOffice2003Blue, glXP, TColor(0xFCE1CB), TColor(0xE0A57D), N, N, TColor(0x94E6FB), TColor(0x1595EE),
     TColor(0x94E6FB), TColor(0x1595EE), TColor(0), TColor(0xC0C0C0), TColor(0x808080), ssDefault, K, K, K, K, K},
    {tsOffice2003Silver, glXP, TColor(0xECE2E1), TColor(0xB39698), N, N, TColor(0x94E6FB), TColor(0x1595EE),
     TColor(0x94E6FB), TColor(0x1595EE), TColor(0), TColor(0xC0C0C0), TColor(0x808080), ssDefault, K, K, K, K, K},
    {tsOffice2003Olive, glXP, TColor(0xCFF0EA), TColor(0x8CC0B1), N, N, TColor(0x94E6FB), TColor(0x1595EE),
     TColor(0x94E6FB), TColor(0x1595EE), TColor(0), TColor(0xC0C0C0), TColor(0x808080), ssDefault, K, K, K, K, K},
    {tsOffice2003Classic, glXP, TColor(0xFFFFFF), TColor(0xCCD4D8), N, N, TColor(0xD8D5D4), TColor(0xD8D5D4),
     clHighlight, N, clHighlightText, TColor(0xC0C0C0), TColor(0x808080), ssDefault, K, K, K, K, K},
    {tsOffice2007Luna, glOffice2007, TColor(0xFBF9F6), TColor(0xE8DBD2), N, N, TColor(0x9DD8F9), TColor(0x5EC1F1),
     TColor(0x5EC1F1), N, TColor(0), TColor(0xF1EDEB), TColor(0xD1BBA4), ssOffice2007, K, K, K, K, K},
    {tsOffice2007Obsidian, glOffice2007, TColor(0xF7F7F7), TColor(0xDEDEDE), N, N, TColor(0x9DD8F9),
     TColor(0x5EC1F1), TColor(0x5EC1F1), N, TColor(0), TColor(0xE5D7D0), TColor(0x808080), ssDefault, K, K, K, K, K},
    {tsWindowsXP, glXP, clBtnFace, clBtnFace, N, N, clBtnFace, clBtnFace, clHighlight, N, clHighlightText,
     TColor(0xC0C0C0), TColor(0x808080), ssDefault, K, K, K, K, K},
    {tsWhidbey, -1, TColor(0xFFFFFF), clBtnFace, N, N, TColor(0x94E6FB), TColor(0x1595EE), clHighlight, N,
     clHighlightText, TColor(0xC0C0C0), TColor(0x808080), ssDefault, K, K, K, K, K},
    {tsOffice2007Silver, glOffice2007, TColor(0xF3F3F1), TColor(0xCAC9C8), K, K, TColor(0x99CCFF), TColor(0x699CFF),
     TColor(0x95C7F5), N, TColor(0), TColor(0xE5D7D0), TColor(0x808080), ssDefault, K, K, K, K, K},
    {tsWindowsVista, glVista, TColor(0xFFFFFF), TColor(0xFFFFFF), TColor(0xFAF8F7), TColor(0xF4F2F1),
     TColor(0xFDF8F1), TColor(0xFCEFD5), TColor(0xEACAB6), N, TColor(0), TColor(0xECECF0), TColor(0xD4D2D1), ssVista,
     K, TColor(0xFCF9F2), TColor(0xFCF9F2), TColor(0xF9F1E1), TColor(0xF6ECD8)},
    {tsWindows7, glWin7, TColor(0xFDFCFA), TColor(0xFAF0E6), TColor(0xF4E6DC), TColor(0xF7E9DD), TColor(0xFCEBDC),
     TColor(0xFCDBC1), TColor(0xEACAB6), N, TColor(0), TColor(0xECECF0), TColor(0xD4D2D1), ssWin7, K,
     TColor(0xFCF9F2), TColor(0xFCF9F2), TColor(0xF9F1E1), TColor(0xF6ECD8)},
    {tsOffice2010Blue, glOffice2007, TColor(0xF5E7DA), TColor(0xF5E7DA), TColor(0xF5E7DA), TColor(0xF5E7DA),
     TColor(0x5BD5FF), TColor(0x71EFFF), TColor(0xFFDBB7), N, TColor(0), TColor(0xC0C0C0), TColor(0xC7B0A0),
     ssDefault, K, TColor(0xD6CEC7), TColor(0xD6CEC7), TColor(0xD6CEC7), TColor(0xD6CEC7)},
    {tsOffice2010Silver, glOffice2007, TColor(0xE8E3DF), TColor(0xE8E3DF), TColor(0xE8E3DF), TColor(0xE8E3DF),
     TColor(0x5BD5FF), TColor(0x71EFFF), TColor(0xFFDBB7), N, TColor(0), TColor(0xC0C0C0), TColor(0xBAB5B1),
     ssDefault, K, TColor(0xAAAAAA), TColor(0xAAAAAA), TColor(0xAAAAAA), TColor(0xAAAAAA)},
    {tsOffice2010Black, glOffice2007, TColor(0x6A6A6A), TColor(0x6A6A6A), TColor(0x6A6A6A), TColor(0x6A6A6A),
     TColor(0x5BD5FF), TColor(0x71EFFF), TColor(0xFFDBB7), N, TColor(0), TColor(0xC0C0C0), TColor(0x444444),
     ssDefault, K, TColor(0xBABABA), TColor(0xBABABA), TColor(0xBABABA), TColor(0xBABABA)},
    {tsWindows8, glOffice2007, TColor(0xF7F6F5), TColor(0xF7F6F5), TColor(0xF7F6F5), TColor(0xF7F6F5),
     TColor(0xF7F6F5), TColor(0xF7F6F5), TColor(0xDAA026), N, TColor(0xFFFFFF), TColor(0xDCDBDA), TColor(0xDCDBDA),
     ssDefault, TColor(0xE4E3E2), TColor(0xF7F6F5), TColor(0xF7F6F5), TColor(0xF7F6F5), TColor(0xF7F6F5)},
    {tsWindows10, glOffice2007, TColor(0xF7F6F5), TColor(0xF7F6F5), TColor(0xF7F6F5), TColor(0xF7F6F5),
     TColor(0xF7F6F5), TColor(0xF7F6F5), TColor(0xDAA026), N, TColor(0xFFFFFF), TColor(0xDCDBDA), TColor(0xDCDBDA),
     ssDefault, TColor(0xE4E3E2), TColor(0xF7F6F5), TColor(0xF7F6F5), TColor(0xF7F6F5), TColor(0xF7F6F5)},
    {tsOffice2013White, glOffice2007, TColor(0xEEEEEE), TColor(0xEEEEEE), TColor(0xEEEEEE), TColor(0xEEEEEE),
     TColor(0xEEEEEE), TColor(0xEEEEEE), TColor(0xDAA026), N, TColor(0xFFFFFF), TColor(0xD4D4D4), TColor(0xD4D4D4),
     ssDefault, TColor(0xD4D4D4), TColor(0xEEEEEE), TColor(0xEEEEEE), TColor(0xEEEEEE), TColor(0xEEEEEE)},
    {tsOffice2013LightGray, glOffice2007, TColor(0xFAFAFA), TColor(0xFAFAFA), TColor(0xFAFAFA), TColor(0xFAFAFA),
     TColor(0xFAFAFA), TColor(0xFAFAFA), TColor(0xDAA026), N, TColor(0xFFFFFF), TColor(0xC6C6C6), TColor(0xC6C6C6),
     ssDefault, TColor(0xC6C6C6), TColor(0xFAFAFA), TColor(0xFAFAFA), TColor(0xFAFAFA), TColor(0xFAFAFA)},
    {tsOffice2013Gray, glOffice2007, TColor(0xF3F3F3), TColor(0xF3F3F3), TColor(0xF3F3F3), TColor(0xF3F3F3),
     TColor(0xF3F3F3), TColor(0xF3F3F3), TColor(0xDAA026), N, TColor(0xFFFFFF), TColor(0xABABAB), TColor(0xABABAB),
     ssDefault, TColor(0xABABAB), TColor(0xF3F3F3), TColor(0xF3F3F3), TColor(0xF3F3F3), TColor(0xF3F3F3)},
    {tsOffice2016White, glOffice2007, TColor(0xFFFFFF), TColor(0xFFFFFF), TColor(0xFFFFFF), TColor(0xFFFFFF),
     TColor(0xE1E1E1), TColor(0xE1E1E1), TColor(0xC6C6C6), N, TColor(0), TColor(0xD4D4D4), TColor(0xD5D5D5),
     ssDefault, TColor(0xABABAB), TColor(0xFFFFFF), TColor(0xFFFFFF), TColor(0xFFFFFF), TColor(0xFFFFFF)},
    {tsOffice2016Gray, glOffice2007, TColor(0x6A6A6A), TColor(0x6A6A6A), TColor(0x6A6A6A), TColor(0x6A6A6A),
     TColor(0x262626), TColor(0x262626), TColor(0xC6C6C6), N, TColor(0), TColor(0xD4D4D4), TColor(0xD3D3D3),
     ssDefault, TColor(0x999999), TColor(0x6A6A6A), TColor(0x6A6A6A), TColor(0x6A6A6A), TColor(0x6A6A6A)},
    {tsOffice2016Black, glOffice2007, TColor(0x252525), TColor(0x252525), TColor(0x252525), TColor(0x252525),
     TColor(0x646464), TColor(0x646464), TColor(0xC6C6C6), N, TColor(0), TColor(0xD4D4D4), TColor(0xB0B0B0),
     ssDefault, TColor(0x999999), TColor(0x252525), TColor(0x252525), TColor(0x252525), TColor(0x252525)},
};

const TStyleRow* FindStyle(TQelStyle s)
{
    for (const TStyleRow& r : kStyles)
        if (r.Style == s) return &r;
    return nullptr;
}

bool InRange(TQelStyle s, TQelStyle a, TQelStyle b) { return s >= a && s <= b; }

// Lightening by P percent: each channel times (100 + P) / 100, rounded and
// capped at 255; no application colour gives white.
TColor Lighten(TColor AppColor, Integer Percent)
{
    if (AppColor == clNone) return TColor(0xFFFFFF);
    return DarkenColor(AppColor, -Percent);
}

void LoadGlyph(TBitmap* Target, const wchar_t* Name)
{
    TBitmap b;
    b.LoadFromResourceName(HInstance, Name);
    Target->Assign(&b);
}

}  // namespace

// ---------------------------------------------------------------------------
// The style interfaces

void TVodStringGrid::SetComponentStyle(TQelStyle AStyle) { SetComponentStyleAndAppColor(AStyle, clNone); }

void TVodStringGrid::SetComponentStyleAndAppColor(TQelStyle AStyle, TColor AppColor)
{
    FComponentStyle = AStyle;
    SetStyleAndAppColor(AStyle, AppColor);
    if (!ComponentState().Contains(csDesigning)) SetDropDownEditorsStyle(AStyle);
    if (AStyle != tsCustom && FScrollType == ssMetro) SwitchScrollType(ssNormal);
}

void TVodStringGrid::SetStyle(TQelStyle AStyle) { SetStyleAndAppColor(AStyle, clNone); }

void TVodStringGrid::SetDropDownEditorsStyle(TQelStyle AStyle)
{
    // The drop-down inplace editors are components of the grid, made on
    // first use; each that exists takes the style through its interface.
    for (Integer i = 0; i < ComponentCount(); ++i) {
        TComponent* c = Components(i);
        IQelStyle* s = nullptr;
        if (c && Supports(c, s) && s) s->SetComponentStyle(AStyle);
    }
}

// ---------------------------------------------------------------------------
// Header colour groups

void TVodStringGrid::SetHeaderColors(TColor From, TColor To, TColor MirrorFrom, TColor MirrorTo)
{
    if (From != kKeep) SetQelGradientFrom(From);
    if (To != kKeep) SetQelGradientTo(To);
    if (MirrorFrom != kKeep) SetQelGradientMirrorFrom(MirrorFrom);
    if (MirrorTo != kKeep) SetQelGradientMirrorTo(MirrorTo);
}

void TVodStringGrid::SetHotHeaderColors(TColor From, TColor To, TColor MirrorFrom, TColor MirrorTo, TColor Border)
{
    TControlLook* cl = ControlLook();
    cl->SetFixedGradientHoverFrom(From);
    cl->SetFixedGradientHoverTo(To);
    cl->SetFixedGradientHoverMirrorFrom(MirrorFrom);
    cl->SetFixedGradientHoverMirrorTo(MirrorTo);
    cl->SetFixedGradientHoverBorder(Border);
}

void TVodStringGrid::SetDownHeaderColors(TColor From, TColor To, TColor MirrorFrom, TColor MirrorTo, TColor Border)
{
    TControlLook* cl = ControlLook();
    cl->SetFixedGradientDownFrom(From);
    cl->SetFixedGradientDownTo(To);
    cl->SetFixedGradientDownMirrorFrom(MirrorFrom);
    cl->SetFixedGradientDownMirrorTo(MirrorTo);
    cl->SetFixedGradientDownBorder(Border);
}

void TVodStringGrid::SetSortHeaderColors(TColor, TColor, TColor, TColor)
{
    // The sort header colours live in the sort settings, which the sort
    // family completes; until they exist there is nothing to set.
}

void TVodStringGrid::SwitchScrollType(TScrollType Value)
{
    if (FScrollType == Value) return;
    FScrollType = Value;
    if (!HandleAllocated()) return;
    if (Value == ssMetro) {
        CreateMetroScrollControls();
        SetScrollBars(ssNone);
    } else if (FMetroScroll[0] || FMetroScroll[1]) {
        FreeMetroScrollControls();
        SetScrollBars(ssBoth);
    }
}

// ---------------------------------------------------------------------------
// Styles

void TVodStringGrid::SetStyleAndAppColor(TQelStyle AStyle, TColor AppColor)
{
    // 1. The common start.
    FSelectionColor = clHighlight;
    FSelectionColorTo = clNone;
    FSelectionMirrorColor = clNone;
    FSelectionMirrorColorTo = clNone;
    FSelectionTextColor = clHighlightText;
    SetSelectionStyle(ssDefault);
    SetSortHeaderColors(clNone, clNone, clNone, clNone);
    ActiveCellFont()->SetColor(clWindowText);
    FixedFont()->SetColor(clBlack);
    ControlLook()->Init();

    // 2. The style's table row.
    const TStyleRow* r = FindStyle(AStyle);
    if (r) {
        if (r->Look >= 0) FLook = TGridLook(r->Look);
        SetHeaderColors(r->From, r->To, r->MirrorFrom, r->MirrorTo);
        FActiveCellColor = r->Active;
        FActiveCellColorTo = r->ActiveTo;
        FSelectionColor = r->Sel;
        FSelectionColorTo = r->SelTo;
        FSelectionTextColor = r->SelText;
        SetGridLineColor(r->Line);
        SetGridFixedLineColor(r->FixedLine);
        SetSelectionStyle(r->SelStyle);
        if (r->Border != kKeep) SetBorderColor(r->Border);
        if (r->SortFrom != kKeep) SetSortHeaderColors(r->SortFrom, r->SortTo, r->SortMirrorFrom, r->SortMirrorTo);

        // Hot and pressed header colours.
        switch (AStyle) {
        case tsOffice2007Luna:
            SetHotHeaderColors(TColor(0xE4E2DF), TColor(0xDBD3CD), TColor(0xDBD3CD), TColor(0xD2C5BC), TColor(0xB79F87));
            SetDownHeaderColors(TColor(0xE4C19D), TColor(0xE4C19D), TColor(0xE4C19D), TColor(0xE4C19D), TColor(0xE4C19D));
            break;
        case tsWindowsVista:
            SetHotHeaderColors(TColor(0xFFF7E3), TColor(0xFFF7E3), TColor(0xFFEDBD), TColor(0xFBE7B7), TColor(0xE3C993));
            SetDownHeaderColors(TColor(0xF9E4BC), TColor(0xF9E4BC), TColor(0xF7D68D), TColor(0xF5D18A), TColor(0xAE904F));
            break;
        case tsWindows7:
            SetHotHeaderColors(TColor(0xFEFBF8), TColor(0xFAF2ED), TColor(0xF4E4D7), TColor(0xE8D2C1), TColor(0xEEE8E3));
            SetDownHeaderColors(TColor(0xF1E8DD), TColor(0xF1E4D8), TColor(0xECDBCF), TColor(0xEDDCCF), TColor(0xD5BCAA));
            break;
        default: break;
        }
        if (InRange(AStyle, tsOffice2010Blue, tsOffice2016Black)) {
            // The newer styles start their hot colours from nothing.
            SetQelGradientHoverFrom(clNone);
            SetQelGradientHoverTo(clNone);
            SetQelGradientHoverMirrorFrom(clNone);
            SetQelGradientHoverMirrorTo(clNone);
            SetQelGradientHoverBorder(clNone);
            if (InRange(AStyle, tsOffice2010Blue, tsOffice2010Black)) {
                SetHotHeaderColors(TColor(0x6BDFFF), TColor(0xAFEFFF), TColor(0xAFEFFF), TColor(0xE6FCFF), TColor(0x3ABFE8));
                SetDownHeaderColors(TColor(0x5BD5FF), TColor(0x64E0FF), TColor(0x64E0FF), TColor(0x71EFFF),
                                    TColor(0x308AC2));
            } else if (AStyle == tsWindows8 || AStyle == tsWindows10) {
                const TColor h = TColor(0xF7EFE8), d = TColor(0xF7E0C9);
                SetHotHeaderColors(h, h, h, h, TColor(0xF9CEA4));
                SetDownHeaderColors(d, d, d, d, TColor(0xE4A262));
            } else if (InRange(AStyle, tsOffice2013White, tsOffice2013Gray)) {
                const TColor h = TColor(0xFCF0E4), d = TColor(0xFCE2C8);
                SetHotHeaderColors(h, h, h, h, TColor(0xEAB47E));
                SetDownHeaderColors(d, d, d, d, TColor(0xE59D56));
            } else if (InRange(AStyle, tsOffice2016White, tsOffice2016Black)) {
                const TColor h = Lighten(AppColor, 60), d = Lighten(AppColor, 20);
                SetHotHeaderColors(h, h, h, h, TColor(0xB1B1B1));
                SetDownHeaderColors(d, d, d, d, TColor(0xABABAB));
            }
        }
        if (AStyle == tsOffice2016White) ActiveCellFont()->SetColor(AppColor);
        if (AStyle == tsOffice2016Gray || AStyle == tsOffice2016Black) {
            FixedFont()->SetColor(clWhite);
            ActiveCellFont()->SetColor(clWhite);
        }

        // The search footer follows the header.
        SearchFooter()->SetColor(QelGradientFrom());
        SearchFooter()->SetColorTo(QelGradientMirrorTo());

        // The control look's own copy of the header gradient.
        const bool office = AStyle == tsOffice2003Blue || AStyle == tsOffice2003Silver ||
                            AStyle == tsOffice2003Olive || AStyle == tsOffice2007Luna ||
                            AStyle == tsOffice2007Obsidian || AStyle == tsOffice2007Silver;
        ControlLook()->SetFixedGradientFrom(office ? QelGradientFrom() : clNone);
        ControlLook()->SetFixedGradientTo(office ? QelGradientTo() : clNone);
    } else if (AStyle == tsTerminal) {
        FLook = glStandard;
    }
    // 3.
    Invalidate();
}

// ---------------------------------------------------------------------------
// Colour tones

void TVodStringGrid::SetColorTones(TColorTones ATones)
{
    // 1.
    FTones = ATones;
    FLook = glClassic;
    // Flat := true comes with the cell painting family's Flat setter.
    SwitchScrollType(ssMetro);
    // 2.
    SetFixedColor(ATones.Foreground.BrushColor);
    FixedFont()->SetColor(ATones.Foreground.TextColor);
    FixedFont()->SetName(DefaultFontName());
    Font()->SetName(DefaultFontName());
    SetColor(ATones.Background.BrushColor);
    Font()->SetColor(ATones.Background.TextColor);
    // 3.
    FSelectionColor = ATones.Selected.BrushColor;
    FSelectionTextColor = ATones.Selected.TextColor;
    FSelectionColorTo = clNone;
    SetGridLineColor(TColor(0xE6E6E6));
    SetGridFixedLineColor(DarkenColor(ATones.Foreground.BrushColor, 20));
    SetBorderStyle(bsNone);
    // 4.
    TControlLook* cl = ControlLook();
    cl->SetControlStyle(TControlLook::csGlyph);
    LoadGlyph(cl->CheckedGlyph(), L"metrocheckon");
    LoadGlyph(cl->UnCheckedGlyph(), L"metrocheckoff");
    LoadGlyph(cl->RadioOffGlyph(), L"metroradiooff");
    LoadGlyph(cl->RadioOnGlyph(), L"metroradioon");
    // 5. The button colours of the edit-button, combo, spin and date
    // editors come with the grid's editor family.
    // 6. The drop-down inplace editors that exist take the tones.
    if (!ComponentState().Contains(csDesigning)) {
        for (Integer i = 0; i < ComponentCount(); ++i) {
            TComponent* c = Components(i);
            IQelTones* t = nullptr;
            if (c && Supports(c, t) && t) t->SetColorTones(ATones);
        }
    }
    // 7.
    cl->SetFlatButton(true);
    FloatingFooter()->SetColor(ATones.Foreground.BrushColor);
    SearchFooter()->SetColor(ATones.Foreground.BrushColor);
    SearchFooter()->SetColorTo(ATones.Foreground.BrushColor);
    CellNode()->SetNodeType(cnFlat);
    Invalidate();
}

// ---------------------------------------------------------------------------
// XP header schemes

void TVodStringGrid::SetTheme(TXPColorScheme Scheme)
{
    TControlLook* cl = ControlLook();
    if (Scheme == xpNone) {
        FActiveCellColor = TColor(0xFFFFFF);
        FActiveCellColorTo = TColor(0xFFD9B3);
        SetHeaderColors(TColor(0xFFFFFF), clBtnFace, clNone, clNone);
        cl->SetFixedGradientFrom(clNone);
        cl->SetFixedGradientTo(clNone);
        SearchFooter()->SetColor(TColor(0xFFFFFF));
        SearchFooter()->SetColorTo(TColor(0xFFD9B3));
        Invalidate();
        return;
    }
    switch (Scheme) {
    case xpBlue: SetHeaderColors(TColor(0xFCE1CB), TColor(0xE0A57D), clNone, clNone); break;
    case xpGreen: SetHeaderColors(TColor(0xCFF0EA), TColor(0x8CC0B1), clNone, clNone); break;
    case xpGray: SetHeaderColors(TColor(0xECE2E1), TColor(0xB39698), clNone, clNone); break;
    default: SetHeaderColors(TColor(0xFFFFFF), TColor(0xFFFFFF), TColor(0xFAF8F7), TColor(0xF4F2F1)); break;
    }
    FActiveCellColor = TColor(0x94E6FB);
    FActiveCellColorTo = TColor(0x1595EE);
    cl->SetFixedGradientFrom(QelGradientFrom());
    cl->SetFixedGradientTo(QelGradientTo());
    if (Scheme == vistaAero) {
        SearchFooter()->SetColor(TColor(0xECE2E1));
        SearchFooter()->SetColorTo(TColor(0xB39698));
    } else {
        SearchFooter()->SetColor(QelGradientFrom());
        SearchFooter()->SetColorTo(QelGradientTo());
    }
    Invalidate();
}

// ---------------------------------------------------------------------------
// The Office theme

void TVodStringGrid::AdaptToOfficeTheme()
{
    if (ComponentState().Contains(csDesigning)) return;
    const TOfficeTheme theme = GetOfficeTheme();
    if (theme != FLastOfficeTheme) {
        static const TQelStyle kMap[] = {
            tsOffice2003Blue,  tsOffice2003Silver, tsOffice2003Olive,     tsOffice2003Classic, tsOffice2007Luna,
            tsOffice2007Silver, tsOffice2007Obsidian, tsOffice2010Blue,   tsOffice2010Silver,  tsOffice2010Black,
            tsOffice2013White, tsOffice2013LightGray, tsOffice2013Gray,   tsOffice2016White,   tsOffice2016Gray,
            tsOffice2016Black};
        if (theme < otUnknown) SetComponentStyle(kMap[theme]);
    }
    FLastOfficeTheme = theme;
}
