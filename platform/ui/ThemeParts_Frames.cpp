// Parts of the frame classes: window caption and caption buttons, scroll
// bar parts, tool bar buttons and separators, menu bar and popup menu parts.
#include <algorithm>

#include "platform/ui/ThemeParts_Internal.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kAccent = RGB(0, 120, 215);
constexpr COLORREF kGlyph = RGB(96, 96, 96);
constexpr COLORREF kGlyphDisabled = RGB(191, 191, 191);
constexpr COLORREF kMenuDisabled = RGB(109, 109, 109);
constexpr COLORREF kHotFill = RGB(229, 243, 255);
constexpr COLORREF kHotBorder = RGB(204, 232, 255);
constexpr COLORREF kDownFill = RGB(204, 232, 255);
constexpr COLORREF kDownBorder = RGB(153, 209, 255);

int StateIn(int state, int last) { return state >= 1 && state <= last ? state : 1; }

bool IsCaptionButton(int part)
{
    return part == WP_MINBUTTON || part == WP_MAXBUTTON || part == WP_CLOSEBUTTON ||
           part == WP_RESTOREBUTTON;
}

bool LookWindow(int part, int state, TPartLook& l)
{
    l = {};
    if (part == WP_CAPTION || part == WP_SMALLCAPTION) {
        l.Fill = kWhite;
        if (StateIn(state, 3) != CS_ACTIVE) l.Text = RGB(153, 153, 153);
        return true;
    }
    if (!IsCaptionButton(part)) return false;
    bool close = part == WP_CLOSEBUTTON;
    l.Glyph = kBlack;
    switch (StateIn(state, 4)) {
    case CBS_HOT:
        l.Fill = close ? RGB(232, 17, 35) : RGB(229, 229, 229);
        if (close) l.Glyph = kWhite;
        break;
    case CBS_PUSHED:
        l.Fill = close ? RGB(241, 112, 122) : RGB(204, 204, 204);
        if (close) l.Glyph = kWhite;
        break;
    case CBS_DISABLED: l.Glyph = RGB(204, 204, 204); break;
    default: break;
    }
    return true;
}

bool LookScrollBar(int part, int state, TPartLook& l)
{
    l = {};
    switch (part) {
    case SBP_ARROWBTN: {
        // Sixteen states (four directions of four); the later hover states
        // draw as normal.
        int sub = (state >= 1 && state <= 16) ? (state - 1) % 4 : 0;
        static const TPartLook looks[] = {
            {RGB(240, 240, 240), CLR_NONE, kGlyph},
            {RGB(218, 218, 218), CLR_NONE, kBlack},
            {RGB(96, 96, 96), CLR_NONE, kWhite},
            {RGB(240, 240, 240), CLR_NONE, kGlyphDisabled},
        };
        l = looks[sub];
        return true;
    }
    case SBP_THUMBBTNHORZ: case SBP_THUMBBTNVERT: {
        static const COLORREF thumbs[] = {RGB(205, 205, 205), RGB(166, 166, 166),
                                          RGB(96, 96, 96), RGB(240, 240, 240)};
        l.Fill = RGB(240, 240, 240);
        l.Glyph = thumbs[StateIn(state, 4) - 1];
        return true;
    }
    case SBP_LOWERTRACKHORZ: case SBP_UPPERTRACKHORZ:
    case SBP_LOWERTRACKVERT: case SBP_UPPERTRACKVERT:
        l.Fill = StateIn(state, 4) == SCRBS_PRESSED ? RGB(218, 218, 218) : RGB(240, 240, 240);
        return true;
    case SBP_GRIPPERHORZ: case SBP_GRIPPERVERT: return true;   // flat thumbs carry no grip
    case SBP_SIZEBOX:
        l.Fill = RGB(240, 240, 240);
        l.Glyph = RGB(166, 166, 166);
        return true;
    }
    return false;
}

bool LookToolBar(int part, int state, TPartLook& l)
{
    l = {};
    switch (part) {
    case TP_BUTTON: case TP_DROPDOWNBUTTON: case TP_SPLITBUTTON: case TP_SPLITBUTTONDROPDOWN:
        l.Glyph = kGlyph;
        switch (StateIn(state, 8)) {
        case TS_HOT: case 7: case 8: l.Fill = kHotFill; l.Border = kHotBorder; break;
        case TS_PRESSED: case TS_CHECKED: l.Fill = kDownFill; l.Border = kDownBorder; break;
        case TS_HOTCHECKED: l.Fill = kDownFill; l.Border = kAccent; break;
        case TS_DISABLED: l.Glyph = kGlyphDisabled; l.Text = kMenuDisabled; break;
        default: break;
        }
        return true;
    case TP_SEPARATOR: case TP_SEPARATORVERT: l.Glyph = RGB(200, 200, 200); return true;
    }
    return false;
}

bool LookMenu(int part, int state, TPartLook& l)
{
    l = {};
    switch (part) {
    case MENU_BARBACKGROUND: l.Fill = kWhite; return true;
    case MENU_BARITEM:
        switch (StateIn(state, 6)) {
        case MBI_HOT: l.Fill = kHotFill; l.Border = kHotBorder; break;
        case MBI_PUSHED: l.Fill = kDownFill; l.Border = kDownBorder; break;
        case MBI_DISABLED: l.Text = kMenuDisabled; break;
        case 5: case 6: l.Fill = RGB(230, 230, 230); l.Text = kMenuDisabled; break;
        default: break;
        }
        return true;
    case MENU_POPUPBACKGROUND: l.Fill = RGB(242, 242, 242); return true;
    case MENU_POPUPBORDERS: l.Border = RGB(204, 204, 204); return true;
    case MENU_POPUPCHECK:
        l.Glyph = (StateIn(state, 4) % 2 == 0) ? kMenuDisabled : kBlack;
        return true;
    case MENU_POPUPCHECKBACKGROUND:
        if (StateIn(state, 3) != MCB_DISABLED) {
            l.Fill = RGB(144, 200, 246);
            l.Border = RGB(98, 162, 228);
        }
        return true;
    case MENU_POPUPGUTTER: return true;
    case MENU_POPUPITEM:
        switch (StateIn(state, 4)) {
        case MPI_HOT: l.Fill = RGB(145, 201, 247); break;
        case MPI_DISABLED: l.Text = kMenuDisabled; break;
        case MPI_DISABLEDHOT: l.Fill = RGB(230, 230, 230); l.Text = kMenuDisabled; break;
        default: break;
        }
        return true;
    case MENU_POPUPSEPARATOR: l.Glyph = RGB(215, 215, 215); return true;
    case MENU_POPUPSUBMENU:
        l.Glyph = StateIn(state, 2) == MSM_DISABLED ? kMenuDisabled : kBlack;
        return true;
    }
    return false;
}

// The caption buttons' glyphs: 10 x 10 pixels centred.
void PaintCaptionGlyph(TThemePainter& p, int part, const TRect& r, COLORREF c)
{
    TRect g = CentredRect(r, 10, 10);
    if (IsRectEmpty(g)) return;
    switch (part) {
    case WP_MINBUTTON: p.HLine(g.Left, g.Right, g.Top + g.Height() / 2, c); break;
    case WP_MAXBUTTON: p.Frame(g, c); break;
    case WP_RESTOREBUTTON: {
        int s = std::max(2, g.Width() - 2);
        p.HLine(g.Right - s, g.Right, g.Top, c);                 // the window behind
        p.VLine(g.Right - 1, g.Top, g.Top + s, c);
        p.Frame(TRect{g.Left, g.Bottom - s, g.Left + s, g.Bottom}, c);
        break;
    }
    case WP_CLOSEBUTTON: {
        const double a[] = {g.Left + 0.5, g.Top + 0.5, g.Right - 0.5, g.Bottom - 0.5};
        const double b[] = {g.Right - 0.5, g.Top + 0.5, g.Left + 0.5, g.Bottom - 0.5};
        p.Stroke(a, 2, 1.0, c);
        p.Stroke(b, 2, 1.0, c);
        break;
    }
    }
}

void PaintScrollBar(TThemePainter& p, int part, int state, const TRect& r,
                    const TPartLook& look)
{
    switch (part) {
    case SBP_ARROWBTN: {
        static const int dirs[] = {0, 1, 2, 3};   // up, down, left, right
        int dir = (state >= 1 && state <= 16) ? (state - 1) / 4
                  : (state >= 17 && state <= 20) ? state - 17 : 0;
        p.Fill(r, look.Fill);
        bool vertical = dir < 2;
        int across = vertical ? r.Width() : r.Height();
        p.Arrow(r, dirs[dir], std::clamp(across / 2 - 1, 1, 7), look.Glyph);
        break;
    }
    case SBP_THUMBBTNHORZ:
        p.Fill(r, look.Fill);
        p.Fill(TRect{r.Left, r.Top + 2, r.Right, r.Bottom - 2}, look.Glyph);
        break;
    case SBP_THUMBBTNVERT:
        p.Fill(r, look.Fill);
        p.Fill(TRect{r.Left + 2, r.Top, r.Right - 2, r.Bottom}, look.Glyph);
        break;
    case SBP_SIZEBOX:
        p.Fill(r, look.Fill);
        // A triangle of 2 x 2 dots in the bottom right corner.
        for (int a = 0; a < 3; ++a)
            for (int b = 0; a + b < 3; ++b) {
                int x = r.Right - 4 - 4 * a, y = r.Bottom - 4 - 4 * b;
                if (x >= r.Left && y >= r.Top) p.Fill(TRect{x, y, x + 2, y + 2}, look.Glyph);
            }
        break;
    default: p.Fill(r, look.Fill); break;
    }
}

void PaintToolBar(TThemePainter& p, int part, const TRect& r, const TPartLook& look)
{
    switch (part) {
    case TP_SEPARATOR: {
        int x = r.Left + r.Width() / 2;
        p.VLine(x, r.Top + 2, r.Bottom - 2, look.Glyph);
        break;
    }
    case TP_SEPARATORVERT: {
        int y = r.Top + r.Height() / 2;
        p.HLine(r.Left + 2, r.Right - 2, y, look.Glyph);
        break;
    }
    default:
        p.Box(r, look);
        if (part == TP_DROPDOWNBUTTON) {
            TRect a{std::max(r.Left, r.Right - 12), r.Top, r.Right, r.Bottom};
            p.Arrow(a, 1, 5, look.Glyph);
        } else if (part == TP_SPLITBUTTONDROPDOWN) {
            p.Arrow(r, 1, 5, look.Glyph);
        }
        break;
    }
}

void PaintMenu(TThemePainter& p, int part, int state, const TRect& r, const TPartLook& look)
{
    switch (part) {
    case MENU_POPUPBORDERS: p.Frame(r, look.Border); break;
    case MENU_POPUPCHECK: {
        TRect b = CentredRect(r, 16, 16);
        if (StateIn(state, 4) >= MC_BULLETNORMAL) {
            p.Disc(b.Left + b.Width() / 2.0, b.Top + b.Height() / 2.0,
                   std::min(b.Width(), b.Height()) * 3.0 / 16.0, look.Glyph);
        } else {
            double k = std::min(b.Width(), b.Height()) / 16.0;
            const double mark[] = {b.Left + 4 * k, b.Top + 8 * k, b.Left + 7 * k,
                                   b.Top + 11 * k, b.Left + 12 * k, b.Top + 5 * k};
            p.Stroke(mark, 3, 1.5 * k, look.Glyph);
        }
        break;
    }
    case MENU_POPUPSEPARATOR:
        p.HLine(r.Left, r.Right, r.Top + r.Height() / 2, look.Glyph);
        break;
    case MENU_POPUPSUBMENU: p.Arrow(r, 3, 7, look.Glyph); break;
    default: p.Box(r, look); break;
    }
}

}  // namespace

bool LookFramePart(TThemeClass cls, int part, int state, TPartLook& look)
{
    switch (cls) {
    case TThemeClass::Window: return LookWindow(part, state, look);
    case TThemeClass::ScrollBar: return LookScrollBar(part, state, look);
    case TThemeClass::ToolBar: return LookToolBar(part, state, look);
    case TThemeClass::Menu: return LookMenu(part, state, look);
    default: return false;
    }
}

bool PaintFramePart(TThemePainter& p, TThemeClass cls, int part, int state, const TRect& r)
{
    TPartLook look;
    if (!LookFramePart(cls, part, state, look)) return false;
    switch (cls) {
    case TThemeClass::Window:
        p.Fill(r, look.Fill);
        if (IsCaptionButton(part)) PaintCaptionGlyph(p, part, r, look.Glyph);
        return true;
    case TThemeClass::ScrollBar: PaintScrollBar(p, part, state, r, look); return true;
    case TThemeClass::ToolBar: PaintToolBar(p, part, r, look); return true;
    case TThemeClass::Menu: PaintMenu(p, part, state, r, look); return true;
    default: return false;
    }
}
