// How a drop-down edit looks: the style presets and colour tones, the
// selection colours, the edit's extra painting (focused value, placeholder
// text), the attached label and the border; and the message routing of the
// edit.
#include <algorithm>
#include <cmath>

#include "controls/dropdown/VodDropDown.h"
#include "controls/foundation/VodUtil.h"
#include "platform/gfx/Gdi.h"
#include "platform/ui/Themes.h"

namespace {

constexpr TColor kKeep = TColor(0x2FFFFFFF);  // the slot is left as it is

struct TStyleRow {
    TColor DDColor, DDColorTo, DDBorder;
    TColor HColor, HColorTo, HBorder, HFont;
    TColor FColor, FColorTo, FBorder, FFont;
    TColor BColor, BColorTo, BBorder;
    TColor HotColor, HotColorTo, HotBorder;
    TColor DownColor, DownColorTo, DownBorder;
    TColor ChkColor, ChkColorTo, ChkBorder;
    TColor DisColor, DisColorTo, DisBorder;
};

// The light two-tone Office 2003/2007 button states.
#define OFFICE_STATES 0xEBFDFF, 0xACECFF, 0x99CEDB, 0xAAD9FF, 0x6EBBFF, 0x42AEFE, 0x76AFF1, 0x4190F3, 0x45667B

const TStyleRow& StyleRow(TQelStyle s)
{
    static const TStyleRow rows[] = {
        // tsOffice2003Blue
        {0xFFFFFF, clNone, kKeep, 0xFCE1CB, 0xE0A57D, 0x000000, 0x000000, 0xFCE1CB, 0xE0A57D, 0x962D00, 0x000000,
         0xFCE1CB, 0xE0A57D, clNone, OFFICE_STATES, 0xF2F2F2, 0xB6B6B6, kKeep},
        // tsOffice2003Silver
        {0xFFFFFF, clNone, kKeep, 0xECE2E1, 0xB39698, 0x947C7C, 0x000000, 0xECE2E1, 0xB39698, 0x947C7C, 0x000000,
         0xECE2E1, 0xB39698, clNone, OFFICE_STATES, 0xF2F2F2, 0xB6B6B6, kKeep},
        // tsOffice2003Olive
        {0xFFFFFF, clNone, kKeep, 0xCFF0EA, 0x8CC0B1, 0x588060, 0x000000, 0xCFF0EA, 0x8CC0B1, 0x588060, 0x000000,
         0xCFF0EA, 0x8CC0B1, clNone, OFFICE_STATES, 0xF2F2F2, 0xB6B6B6, kKeep},
        // tsOffice2003Classic
        {0xFFFFFF, clNone, kKeep, 0xF0F0F0, 0xD4D0C8, 0x808080, 0x000000, 0xF0F0F0, 0xD4D0C8, 0x808080, 0x000000,
         0xF0F0F0, 0xD4D0C8, clNone, 0xD2BDB6, 0xD2BDB6, 0x808080, 0xB59285, 0xB59285, 0x6F4B4B, 0xD8D5D4,
         0xD8D5D4, 0x808080, 0xF2F2F2, 0xB6B6B6, kKeep},
        // tsOffice2007Luna
        {0xF3E5DA, 0xF0DED0, clNone, 0xFFEFE3, 0xFFD2AF, 0xFFD2AF, 0x723708, 0xFFEFE3, 0xFFD2AF, 0xFFD2AF, 0x723708,
         0xFFEFE3, 0xFFDDC4, clNone, OFFICE_STATES, 0xF2F2F2, 0xB6B6B6, kKeep},
        // tsOffice2007Obsidian
        {0xF2F1F0, 0xC9C2BD, clNone, 0xF2F1F0, 0xC9C2BD, 0x5C534C, 0x433C37, 0xF2F1F0, 0xC9C2BD, 0x5C534C, 0x433C37,
         0xF9F8F8, 0xE4E2DF, clNone, OFFICE_STATES, 0xF2F2F2, 0xB6B6B6, kKeep},
        // tsWindowsXP
        {0xFFFFFF, clNone, kKeep, 0xEFF3F7, 0xD6DFE6, 0x99A8AC, 0x000000, 0xEFF3F7, 0xD6DFE6, 0x99A8AC, 0x000000,
         0xEFF3F7, 0xD6DFE6, clNone, 0xEFD3C6, 0xEFD3C6, 0xC66931, 0xB59284, 0xB59284, 0x6B2408, 0xC6B5AD,
         0xC6B5AD, 0x6B2408, 0xF2F2F2, 0xB6B6B6, kKeep},
        // tsWhidbey
        {0xFFFFFF, clNone, kKeep, 0xF5F9FA, 0xA8C0C0, 0x962D00, 0x000000, 0xF5F9FA, 0xA8C0C0, 0x962D00, 0x000000,
         0xF5F9FA, 0xA8C0C0, clNone, OFFICE_STATES, 0xF2F2F2, 0xB6B6B6, kKeep},
        // tsCustom (never applied)
        {},
        // tsOffice2007Silver
        {0xFAEEEB, 0xE5DBD7, clNone, 0xF8F7F6, 0xE8E0DB, 0xBFBFBF, 0x5C534C, 0xF8F7F6, 0xE8E0DB, 0xBFBFBF, 0x5C534C,
         0xF9F8F8, 0xE8E0DB, clNone, OFFICE_STATES, 0xF2F2F2, 0xB6B6B6, kKeep},
        // tsWindowsVista
        {0xFFFFFF, 0xFFFFFF, 0xC5C5C5, 0xFDF8F1, 0xFCEFD5, 0xFDDE99, 0x000000, 0xFDF8F1, 0xFCEFD5, 0xFDDE99,
         0x000000, 0xFDFBFA, 0xF4EEE8, 0xC5C5C5, 0xFFFDF9, 0xFFFAF0, 0xFCCB99, 0xFEF4E4, 0xFEE5BF, 0xCEA27D,
         0xFDEADB, 0xFDDBC1, 0xCEA27D, 0xF7F7F7, clNone, 0xD8D8D8},
        // tsWindows7
        {0xFFFFFF, 0xFFFFFF, 0xC5C5C5, 0xFDFBFA, 0xFDF3EB, 0xFBD6B8, 0x000000, 0xFDFBFA, 0xFDF3EB, 0xFBD6B8,
         0x000000, 0xFDFBFA, 0xF4EEE8, 0xC5C5C5, 0xFDFBFA, 0xFDF3EB, 0xFBD6B8, 0xFCEBDC, 0xFCDBC1, 0xCEA27D,
         0xFCEBDC, 0xFCDBC1, 0xCEA27D, 0xF7F7F7, clNone, 0xD8D8D8},
        // tsTerminal
        {0xFFFFFF, clNone, 0x808080, 0xC0C0C0, clNone, 0x808080, 0x000000, 0xC0C0C0, clNone, 0x808080, 0x000000,
         0xC0C0C0, clNone, 0x808080, 0xFFFFFF, clNone, 0x000000, 0x808080, clNone, 0x000000, 0xA0A0A0, clNone,
         0x000000, 0xD8D8D8, clNone, 0xA0A0A0},
        // tsOffice2010Blue
        {0xFFFFFF, 0xFDF6EF, clNone, 0xFDF6EF, 0xF0DAC7, 0xC7B29F, 0x5B391E, 0xFDF6EF, 0xF0DAC7, 0xC7B29F, 0x5B391E,
         0xFDF6EF, 0xF0DAC7, clNone, 0x8AE3FD, 0xD9F9FD, 0x58CAF1, 0x6CD0FF, 0x7BEEFF, 0x308AC2, 0x6CD0FF,
         0x7BEEFF, 0x308AC2, 0xF2F2F2, 0xB6B6B6, kKeep},
        // tsOffice2010Silver
        {0xFFFFFF, 0xEDE5E0, clNone, 0xFFFFFF, 0xEDE5E0, 0xD2CDC8, 0x5B391E, 0xFFFFFF, 0xEDE5E0, 0xD2CDC8, 0x5B391E,
         0xFFFFFF, 0xEDE5E0, clNone, 0x8AE3FD, 0xD9F9FD, 0x58CAF1, 0x6CD0FF, 0x7BEEFF, 0x308AC2, 0x6CD0FF,
         0x7BEEFF, 0x308AC2, 0xF2F2F2, 0xB6B6B6, kKeep},
        // tsOffice2010Black
        {0xBFBFBF, 0x919191, clNone, 0xBFBFBF, 0x919191, 0x6D6D6D, 0xD7D7D6, 0xBFBFBF, 0x919191, 0x6D6D6D, 0xD7D7D6,
         0xBFBFBF, 0x919191, clNone, 0x8AE3FD, 0xD9F9FD, 0x58CAF1, 0x6CD0FF, 0x7BEEFF, 0x308AC2, 0x6CD0FF,
         0x7BEEFF, 0x308AC2, 0xF2F2F2, 0xB6B6B6, kKeep},
        // tsWindows8
        {0xFFFFFF, 0xFFFFFF, 0xE4E3E2, 0xF7F6F5, 0xF7F6F5, 0xE4E3E2, 0x000000, 0xF7F6F5, 0xF7F6F5, 0xE4E3E2,
         0x000000, 0xF7F6F5, clNone, 0xE4E3E2, 0xF7EFE8, clNone, 0xF9CEA4, 0xF7E0C9, clNone, 0xE4A262, 0xDAA026,
         clNone, 0xDAA026, 0xF7F7F7, clNone, 0xF7F6F5},
        // tsOffice2013White
        {0xFFFFFF, clNone, 0xD4D4D4, 0xFFFFFF, clNone, 0xD4D4D4, 0x000000, 0xFFFFFF, clNone, 0xD4D4D4, 0x000000,
         0xFFFFFF, clNone, 0xD4D4D4, 0xFCF0E4, clNone, 0xEAC3A1, 0xFCE1CB, clNone, 0xE59D56, 0xFCE1CB, clNone,
         0xE59D56, 0xFFFFFF, clNone, 0xD4D4D4},
        // tsOffice2013LightGray
        {0xFAFAFA, clNone, 0xC6C6C6, 0xFAFAFA, clNone, 0xC6C6C6, 0x000000, 0xFAFAFA, clNone, 0xC6C6C6, 0x000000,
         0xFAFAFA, clNone, 0xC6C6C6, 0xFCF0E4, clNone, 0xEAC3A1, 0xFCE1CB, clNone, 0xE59D56, 0xFCE1CB, clNone,
         0xE59D56, 0xFAFAFA, clNone, 0xC6C6C6},
        // tsOffice2013Gray
        {0xF3F3F3, clNone, 0xABABAB, 0xF3F3F3, clNone, 0xABABAB, 0x000000, 0xF3F3F3, clNone, 0xABABAB, 0x000000,
         0xF3F3F3, clNone, 0xABABAB, 0xFCF0E4, clNone, 0xEAC3A1, 0xFCE1CB, clNone, 0xE59D56, 0xFCE1CB, clNone,
         0xE59D56, 0xF3F3F3, clNone, 0xABABAB},
        // tsWindows10
        {0xFFFFFF, 0xFFFFFF, 0xE4E3E2, 0xF7F6F5, 0xF7F6F5, 0xE4E3E2, 0x000000, 0xF7F6F5, 0xF7F6F5, 0xE4E3E2,
         0x000000, 0xF7F6F5, clNone, 0xE4E3E2, 0xF7EFE8, clNone, 0xF9CEA4, 0xF7E0C9, clNone, 0xE4A262, 0xDAA026,
         clNone, 0xDAA026, 0xF7F7F7, clNone, 0xF7F6F5},
        // tsOffice2016White
        {0xFFFFFF, clNone, 0xD4D4D4, 0xFFFFFF, clNone, 0xD4D4D4, 0x000000, 0xFFFFFF, clNone, 0xD4D4D4, 0x000000,
         0xFFFFFF, clNone, 0xD4D4D4, 0xF2E1D5, clNone, 0xF2E1D5, 0xE3BDA3, clNone, 0xE3BDA3, 0xF2D5C2, clNone,
         0xF2D5C2, 0xFFFFFF, clNone, 0xD4D4D4},
        // tsOffice2016Gray
        {0xB2B2B2, clNone, 0x444444, 0x444444, clNone, 0x444444, 0xF0F0F0, 0x444444, clNone, 0x444444, 0xF0F0F0,
         0xB2B2B2, 0xB2B2B2, 0x444444, 0xF2E1D5, 0xF2E1D5, 0xF2E1D5, 0xE3BDA3, 0xE3BDA3, 0xE3BDA3, 0xF2D5C2,
         0xF2D5C2, 0xF2D5C2, 0xB2B2B2, clNone, 0x444444},
        // tsOffice2016Black
        {0x363636, clNone, 0x444444, 0x444444, clNone, 0x444444, 0xF0F0F0, 0x444444, clNone, 0x444444, 0xF0F0F0,
         0x363636, 0x363636, 0x444444, 0x6A6A6A, 0x6A6A6A, 0x6A6A6A, 0x444444, 0x444444, 0x444444, 0x575757,
         0x575757, 0x575757, 0x363636, clNone, 0x444444},
    };
    return rows[std::min<size_t>(size_t(s), std::size(rows) - 1)];
}
#undef OFFICE_STATES

}  // namespace

// ---------------------------------------------------------------------------
// Styles

void TVodCustomDropDown::SetComponentStyle(TQelStyle AStyle)
{
    FQelStyle = AStyle;
    if (AStyle == tsCustom) return;
    const TStyleRow& r = StyleRow(AStyle);
    FDropDownColor = r.DDColor;
    FDropDownColorTo = r.DDColorTo;
    if (r.DDBorder != kKeep) FDropDownBorderColor = r.DDBorder;
    THeaderAppearance* h = FDropDownHeader.get();
    h->SetColor(r.HColor);
    h->SetColorTo(r.HColorTo);
    h->SetBorderColor(r.HBorder);
    h->Font()->SetColor(r.HFont);
    TFooterAppearance* f = FDropDownFooter.get();
    f->SetColor(r.FColor);
    f->SetColorTo(r.FColorTo);
    f->SetBorderColor(r.FBorder);
    f->Font()->SetColor(r.FFont);
    TVodButtonAppearance* b = FButtonAppearance.get();
    b->SetColor(r.BColor);
    b->SetColorTo(r.BColorTo);
    b->SetBorderColor(r.BBorder);
    b->SetColorHot(r.HotColor);
    b->SetColorHotTo(r.HotColorTo);
    b->SetBorderColorHot(r.HotBorder);
    b->SetColorDown(r.DownColor);
    b->SetColorDownTo(r.DownColorTo);
    b->SetBorderColorDown(r.DownBorder);
    b->SetColorDisabled(r.DisColor);
    b->SetColorDisabledTo(r.DisColorTo);
    if (r.DisBorder != kKeep) b->SetBorderColorDisabled(r.DisBorder);
    b->SetColorChecked(r.ChkColor);
    b->SetColorCheckedTo(r.ChkColorTo);
    b->SetBorderColorChecked(r.ChkBorder);
    if (AStyle == tsOffice2016Black) Font()->SetColor(TColor(0xA6A6A6));
}

void TVodCustomDropDown::SetColorTones(TColorTones ATones)
{
    if (Button()) {
        FButton->SetButtonColor(ATones.Background.BrushColor);
        FButton->SetButtonColorHot(ATones.Hover.BrushColor);
        FButton->SetButtonColorDown(ATones.Selected.BrushColor);
        FButton->SetButtonBorderColor(ATones.Background.BorderColor);
    }
    SetBorderColor(ATones.Background.BorderColor);
}

void TVodCustomDropDown::SetSelectionColorStyle(TSelectionColorStyle AStyle)
{
    FSelectionColorStyle = AStyle;
    switch (AStyle) {
    case scOffice2007:
        FSelectionColor = TColor(0xD7FFFD);
        FSelectionColorTo = TColor(0x58D4FC);
        break;
    case scWindowsVista:
        FSelectionColor = TColor(0xFDF8F1);
        FSelectionColorTo = TColor(0xFCEFD5);
        break;
    case scWindows7:
        FSelectionColor = TColor(0xFCEBDC);
        FSelectionColorTo = TColor(0xFCDBC1);
        break;
    case scCustom: break;
    }
}

void TVodCustomDropDown::DrawSelectionBackground(TCanvas* Canvas, TRect R, Integer SegmentKind, TColor Background)
{
    if (!Canvas) return;
    switch (FSelectionColorStyle) {
    case scCustom:
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(FSelectionColor);
        Canvas->Pen()->SetColor(FSelectionColor);
        Canvas->Rectangle(R);
        break;
    case scOffice2007:
        DrawButtonSegment(Canvas, FSelectionColor, FSelectionColorTo, TColor(0x58D4FC), TColor(0xB3F1FC),
                          TColor(0xF4FEFF), TColor(0xCAF8FF), TColor(0x8DD7D3), TColor(0xC3D9DF), Background, R,
                          Byte(SegmentKind));
        break;
    case scWindowsVista:
        DrawButtonSegment(Canvas, FSelectionColor, FSelectionColorTo, clNone, clNone, TColor(0xFDFBF6),
                          TColor(0xFDF5E7), TColor(0xFDDE99), TColor(0xFCEDCB), Background, R, Byte(SegmentKind));
        break;
    case scWindows7:
        DrawButtonSegment(Canvas, FSelectionColor, FSelectionColorTo, clNone, clNone, TColor(0xFDF4EB),
                          TColor(0xFDEADB), TColor(0xCEA27D), TColor(0xE0C5AE), Background, R, Byte(SegmentKind));
        break;
    }
}

void TVodCustomDropDown::DrawBackgroundGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor,
                                                VodDropDown::TGradientDirection Direction, TRect R, Integer Steps)
{
    DrawSteppedGradient(Canvas, FromColor, ToColor, Direction == VodDropDown::gdHorizontal, R, Steps);
}

TItemAppearanceRow ItemAppearanceRow(TQelStyle AStyle)
{
    // The Office 2003/2007 group.
    const TItemAppearanceRow office = {0xEBFDFF, 0xACECFF, 0x59DAFF, 0xA4E9FF, 0xAAD9FF, 0x6EBBFF, 0x42AEFE,
                                       0x7AE1FE, 0x42AEFE, clNone, clNone, clNone, clNone, clNone};
    switch (AStyle) {
    case tsOffice2003Blue: case tsOffice2003Silver: case tsOffice2003Olive: case tsWhidbey: return office;
    case tsOffice2007Luna: case tsOffice2007Obsidian: case tsOffice2007Silver: {
        TItemAppearanceRow r = office;
        r.BorderColorTop = TColor(0xF4FEFF);
        r.BorderColorBottom = TColor(0xCAF8FF);
        r.EdgeColor = TColor(0xC3D9DF);
        return r;
    }
    case tsWindowsVista:
        return {0xFFFDF9, 0xFFFAF0, clNone, clNone, 0xFEF4E4, 0xFEE5BF, clNone, clNone, 0xFCDBB5, clNone, clNone,
                clNone, 0xFDE6C8, 0xFCCB99};
    case tsWindows7:
        return {0xFDFBFA, 0xFDF3EB, clNone, clNone, 0xFCEBDC, 0xFCDBC1, clNone, clNone, 0xCEA27D, clNone, clNone,
                clNone, 0xFBD6B8, 0xCEA27D};
    case tsOffice2010Blue: case tsOffice2010Silver: case tsOffice2010Black:
        return {0x8AE3FD, 0xD9F9FD, clNone, clNone, 0x6CD0FF, 0x7BEEFF, clNone, clNone, 0x308AC2, clNone, clNone,
                clNone, 0x58CAF1, 0x308AC2};
    case tsOffice2003Classic: case tsWindowsXP: case tsTerminal:
        return {0xD2BDB6, clNone, clNone, clNone, 0xB59285, clNone, clNone, clNone, 0x6F4B4B, clNone, clNone,
                clNone, 0x808080, 0x6F4B4B};
    default:
        // The flat looks of Windows 8/10 and Office 2013/2016.
        return {0xF7EFE8, clNone, clNone, clNone, 0xF7E0C9, clNone, clNone, clNone, 0xE4A262, clNone, clNone,
                clNone, 0xF9CEA4, 0xE4A262};
    }
}

// ---------------------------------------------------------------------------
// The edit's painting

void TVodCustomDropDown::DrawFocusedText()
{
    if (FEditorEnabled || !Focused() || ComponentState().Contains(csDesigning) || !FFocusDraw ||
        !HandleAllocated())
        return;
    HDC dc = GetWindowDC(Handle());
    TCanvas c;
    c.SetHandle(dc);
    TRect r{2, 2, Width() - FButtonWidth - 1, Height() - 2};
    c.Brush()->SetStyle(bsSolid);
    c.Brush()->SetColor(clHighlight);
    c.Pen()->SetColor(clBlack);
    c.Rectangle(r);
    c.Font()->Assign(Font());
    c.Font()->SetColor(clHighlightText);
    c.Brush()->SetStyle(bsClear);
    TRect tr{r.Left + 2, r.Top, r.Right - 3, r.Bottom};
    RECT rc = tr;
    DrawTextStr(c.Handle(), GetText(), &rc, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    c.SetHandle(nullptr);
    ReleaseDC(Handle(), dc);
}

void TVodCustomDropDown::DrawEmptyText()
{
    if (!GetText().empty() || FEmptyText.empty() || (Focused() && !FEmptyTextFocused) || !HandleAllocated()) return;
    HDC dc = GetDC(Handle());
    TCanvas c;
    c.SetHandle(dc);
    if (IsVistaOrLater()) {
        c.Brush()->SetStyle(bsSolid);
        c.Brush()->SetColor(Color());
    } else {
        SetBkMode(dc, TRANSPARENT);
    }
    if (IsCustomStyleActive() && ActiveStyleName() != L"Windows") c.Brush()->SetStyle(bsClear);
    c.Font()->Assign(Font());
    c.Font()->SetStyle(FEmptyTextStyle);
    c.Font()->SetColor(clGray);
    c.TextOut(Ctl3D() ? 3 : 6, 2, FEmptyText);
    c.SetHandle(nullptr);
    ReleaseDC(Handle(), dc);
}

void TVodCustomDropDown::WMPaintDropDown(TMessage& M)
{
    TCustomMaskEdit::Dispatch(M);
    DrawFocusedText();
    DrawEmptyText();
    if (FBorderColor != clNone || FFocusBorderColor != clNone || (!Enabled() && FDisabledBorder) || FFlat)
        RepaintBorder();
}

// ---------------------------------------------------------------------------
// Border

void TVodCustomDropDown::DrawBorder()
{
    if (ComponentState().Contains(csDesigning) || !HandleAllocated()) return;
    HDC dc = GetWindowDC(Handle());
    TRect r{0, 0, Width(), Height()};
    auto frame = [&](TColor c, TRect rr) {
        HBRUSH b = CreateSolidBrush(COLORREF(ColorToRGB(c)));
        RECT x = rr;
        FrameRect(dc, &x, b);
        DeleteObject(b);
    };
    bool focused = Focused();
    if (!Enabled() && FIsThemed && FDisabledBorder) {
        frame(clSilver, r);
    } else if (FBorderColor != clNone) {
        frame(focused && FFocusBorderColor != clNone ? FFocusBorderColor : FBorderColor, r);
    } else if (FFocusBorderColor != clNone) {
        if (focused) frame(FFocusBorderColor, r);
    } else {
        bool hot = FMouseInControl || focused;
        if (hot) {
            RECT x = r;
            DrawEdge(dc, &x, BDR_SUNKENOUTER, BF_RECT);
            TRect inner{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
            frame(clBtnFace, inner);
        } else {
            TColor pc = Parent() ? Parent()->Color() : clBtnFace;
            frame(pc, r);
            frame(pc, TRect{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1});
        }
    }
    ReleaseDC(Handle(), dc);
}

void TVodCustomDropDown::RepaintBorder()
{
    if (Enabled() && !FFlat && FBorderColor == clNone && FFocusBorderColor == clNone) return;
    DrawBorder();
    if (FButton && FButton->SpeedButton()) {
        bool look = ComponentState().Contains(csDesigning) ? Enabled() : (FMouseInControl || Focused());
        FButton->SpeedButton()->SetFocused(look);
    }
}

// ---------------------------------------------------------------------------
// Label

void TVodCustomDropDown::CreateLabel()
{
    FLabel = new TLabel(this);
    if (Parent()) FLabel->SetParent(Parent());
    FLabel->SetFocusControl(this);
    FLabel->Font()->Assign(FLabelFont.get());
    FLabel->SetParentFont(ParentFont());
    FLabel->OnClick = [this](TObject*) { DoLabelClick(); };
    FLabel->OnDblClick = [this](TObject*) { DoLabelDblClick(); };
}

String TVodCustomDropDown::LabelCaption() const { return FLabel ? FLabel->Caption() : String(); }

void TVodCustomDropDown::SetLabelCaption(const String& v)
{
    if (!FLabel) CreateLabel();
    FLabel->SetCaption(v);
    UpdateLabelPosition();
}

void TVodCustomDropDown::SetLabelPosition(TLabelPosition v)
{
    FLabelPosition = v;
    UpdateLabelPosition();
}

void TVodCustomDropDown::SetLabelMargin(Integer v)
{
    FLabelMargin = v;
    UpdateLabelPosition();
}

void TVodCustomDropDown::SetLabelTransparent(bool v)
{
    FLabelTransparent = v;
    UpdateLabelPosition();
}

void TVodCustomDropDown::SetLabelFont(TFont* v)
{
    if (!ParentFont()) FLabelFont->Assign(v);
}

double TVodCustomDropDown::DpiScaleFactor() { return Screen ? Screen->PixelsPerInch() / 96.0 : 1.0; }

void TVodCustomDropDown::ApplyLabelFont()
{
    if (!FLabel) return;
    if (FParentFnt)
        FLabel->Font()->Assign(Font());
    else
        FLabel->Font()->Assign(FLabelFont.get());
}

void TVodCustomDropDown::UpdateLabelPosition()
{
    if (!FLabel) return;
    FLabel->SetTransparent(FLabelTransparent);
    ApplyLabelFont();
    Integer w = 0, lh = FLabel->Height();
    if (FLabel->Parent() && FLabel->Parent()->HandleAllocated()) {
        HDC dc = CreateScreenIC();
        HGDIOBJ old = SelectObject(dc, FLabel->Font()->Handle());
        RECT rc{0, 0, 1000, 255};
        DrawTextStr(dc, FLabel->Caption(), &rc, DT_CALCRECT | DT_HIDEPREFIX);
        SelectObject(dc, old);
        DeleteDC(dc);
        w = rc.Width();
        if (FLabel->AutoSize()) lh = rc.Height();
    }
    const Integer t = Top(), h = Height(), l = Left(), ew = Width(), m = FLabelMargin;
    Integer lw = FLabel->AutoSize() && w > 0 ? w : FLabel->Width();
    auto centreV = [&] { return lh > h ? t - (lh - h) / 2 : t + (h - lh) / 2; };
    auto centreH = [&] { return lw > ew ? l - (lw - ew) / 2 : l + (ew - lw) / 2; };
    Integer top = t, left = l;
    switch (FLabelPosition) {
    case lpLeftTop: top = t; left = l - w - m; break;
    case lpLeftCenter: top = centreV(); left = l - w - m; break;
    case lpLeftBottom: top = t + h - lh; left = l - w - m; break;
    case lpTopLeft: top = t - lh - m; left = l; break;
    case lpBottomLeft: top = t + h + m; left = l; break;
    case lpLeftTopLeft: top = t; left = l - m; break;
    case lpLeftCenterLeft: top = centreV(); left = l - m; break;
    case lpLeftBottomLeft: top = t + h - lh; left = l - m; break;
    case lpTopCenter: top = t - lh - m; left = centreH(); break;
    case lpBottomCenter: top = t + h + m; left = centreH(); break;
    case lpRightTop: top = t; left = l + ew + m; break;
    case lpRightCenter: top = centreV(); left = l + ew + m; break;
    case lpRighBottom: top = t + h - lh; left = l + ew + m; break;
    case lpTopRight: top = t - lh - m; left = l + ew - lw; break;
    case lpBottomRight: top = t + h + m; left = l + ew - lw; break;
    }
    FLabel->SetBounds(left, top, lw, lh);
    FLabel->SetVisible(Visible());
}

void TVodCustomDropDown::SetParent(TWinControl* AParent)
{
    TCustomMaskEdit::SetParent(AParent);
    if (FLabel && !FDestroying) {
        FLabel->SetParent(AParent);
        if (AParent) UpdateLabelPosition();
    }
}

// ---------------------------------------------------------------------------
// Messages

void TVodCustomDropDown::WndProc(TMessage& M)
{
    TCustomMaskEdit::WndProc(M);
    if (M.Msg == EM_SETREADONLY && FButton) FButton->Invalidate();
}

void TVodCustomDropDown::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case WM_SETFOCUS: WMSetFocusDropDown(M); return;
    case WM_KILLFOCUS: WMKillFocusDropDown(M); return;
    case WM_PAINT: WMPaintDropDown(M); return;
    case WM_NCPAINT:
        TCustomMaskEdit::Dispatch(M);
        if (FBorderColor != clNone) RepaintBorder();
        return;
    case WM_LBUTTONDOWN: WMLButtonDownDropDown(M); return;
    case WM_LBUTTONUP: WMLButtonUpDropDown(M); return;
    case WM_CUT: WMCut(M); return;
    case WM_COPY: WMCopy(M); return;
    case WM_PASTE: WMPaste(M); return;
    case CM_WANTSPECIALKEY: CMWantSpecialKey(M); return;
    case CN_COMMAND:
        if (HIWORD(M.WParam) == EN_CHANGE && FBlockChange) {
            FBlockChange = false;
            return;
        }
        break;
    case WM_SIZE:
        TCustomMaskEdit::Dispatch(M);
        UpdateButtonBounds();
        return;
    case CM_FONTCHANGED:
        TCustomMaskEdit::Dispatch(M);
        if (HandleAllocated()) UpdateEditRect();
        return;
    case CM_MOUSEENTER:
        TCustomMaskEdit::Dispatch(M);
        if (Enabled()) {
            FMouseInControl = true;
            RepaintBorder();
        }
        return;
    case CM_MOUSELEAVE:
        TCustomMaskEdit::Dispatch(M);
        if (Enabled()) {
            FMouseInControl = false;
            RepaintBorder();
        }
        return;
    case CM_ENABLEDCHANGED:
        TCustomMaskEdit::Dispatch(M);
        if (FButton) FButton->SetEnabled(Enabled());
        if (FLabel && !FLabelAlwaysEnabled) FLabel->SetEnabled(Enabled());
        return;
    case CM_VISIBLECHANGED:
        TCustomMaskEdit::Dispatch(M);
        if (FLabel && !FLabel->Caption().empty()) FLabel->SetVisible(Visible());
        return;
    case CM_PARENTFONTCHANGED:
        TCustomMaskEdit::Dispatch(M);
        if (FLabel && ParentFont()) FLabel->Font()->Assign(Font());
        return;
    default: break;
    }
    TCustomMaskEdit::Dispatch(M);
}
