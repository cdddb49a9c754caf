// Parts of the control classes: button (push, radio, check, group box),
// combobox drop-down button, spin buttons, header items, progress bars and
// the edit frame.
#include <algorithm>

#include "platform/ui/ThemeParts_Internal.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kAccent = RGB(0, 120, 215);
constexpr COLORREF kAccentDark = RGB(0, 84, 153);
constexpr COLORREF kGlyph = RGB(96, 96, 96);
constexpr COLORREF kGlyphDisabled = RGB(191, 191, 191);
constexpr COLORREF kTextDisabled = RGB(131, 131, 131);

int StateIn(int state, int last) { return state >= 1 && state <= last ? state : 1; }

// Check boxes and radio buttons: four looks (normal, hot, pressed,
// disabled) per checked state.
TPartLook MarkLook(int sub, bool marked)
{
    TPartLook l;
    switch (sub) {
    case 1: l = {kWhite, kAccent, kAccent}; break;
    case 2: l = {RGB(204, 228, 247), kAccentDark, kAccentDark}; break;
    case 3: l = {kWhite, RGB(204, 204, 204), RGB(204, 204, 204), kTextDisabled}; break;
    default: l = {kWhite, RGB(51, 51, 51), RGB(51, 51, 51)}; break;
    }
    if (!marked) l.Glyph = CLR_NONE;
    return l;
}

TPartLook SpinLook(int state)
{
    TPartLook l = PushLook(state);
    switch (state) {
    case 2: l.Glyph = kAccent; break;
    case 3: l.Glyph = kAccentDark; break;
    case 4: l.Glyph = kGlyphDisabled; break;
    default: l.Glyph = kGlyph; break;
    }
    return l;
}

int SquareSide(const TRect& r) { return std::min({13, r.Width(), r.Height()}); }

void PaintCheckBox(TThemePainter& p, int state, const TRect& r)
{
    state = StateIn(state, 12);
    int group = (state - 1) / 4;   // unchecked, checked, mixed
    TPartLook look = MarkLook((state - 1) % 4, group != 0);
    int s = SquareSide(r);
    TRect box = CentredRect(r, s, s);
    p.Box(box, look);
    if (group == 1) {
        double k = s / 13.0;
        double x = box.Left, y = box.Top;
        const double mark[] = {x + 3 * k, y + 6.5 * k, x + 5.5 * k, y + 9 * k,
                               x + 10 * k, y + 3.5 * k};
        p.Stroke(mark, 3, 1.6 * k, look.Glyph);
    } else if (group == 2) {
        int inset = std::max(1, s * 3 / 13);
        p.Fill(TRect{box.Left + inset, box.Top + inset, box.Right - inset, box.Bottom - inset},
               look.Glyph);
    }
}

void PaintRadio(TThemePainter& p, int state, const TRect& r)
{
    state = StateIn(state, 8);
    TPartLook look = MarkLook((state - 1) % 4, state > 4);
    int s = SquareSide(r);
    TRect box = CentredRect(r, s, s);
    double cx = box.Left + s / 2.0, cy = box.Top + s / 2.0;
    p.Disc(cx, cy, s / 2.0, look.Fill);
    p.Ring(cx, cy, s / 2.0, look.Border);
    p.Disc(cx, cy, s / 2.0 - 3.5, look.Glyph);
}

void PaintPush(TThemePainter& p, int state, const TRect& r)
{
    TPartLook look = PushLook(StateIn(state, 5));
    p.Box(r, look);
    if (state == PBS_DEFAULTED)
        p.Frame(TRect{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1}, look.Border);
}

// The arrow of a square-ish button: up to 7 pixels across.
int ArrowSize(const TRect& r, bool vertical)
{
    int across = vertical ? r.Width() : r.Height();
    return std::clamp(across / 2, 1, 7);
}

bool LookButton(int part, int state, TPartLook& l)
{
    switch (part) {
    case BP_PUSHBUTTON: l = PushLook(StateIn(state, 5)); return true;
    case BP_RADIOBUTTON:
        state = StateIn(state, 8);
        l = MarkLook((state - 1) % 4, state > 4);
        return true;
    case BP_CHECKBOX:
        state = StateIn(state, 12);
        l = MarkLook((state - 1) % 4, state > 4);
        return true;
    case BP_GROUPBOX:
        l = {};
        l.Border = StateIn(state, 2) == GBS_DISABLED ? RGB(230, 230, 230) : RGB(220, 220, 220);
        if (state == GBS_DISABLED) l.Text = kTextDisabled;
        return true;
    }
    return false;
}

bool LookComboBox(int part, int state, TPartLook& l)
{
    if (part != CP_DROPDOWNBUTTON) return false;
    l = {};
    l.Glyph = kGlyph;
    switch (StateIn(state, 4)) {
    case CBXS_HOT: l.Fill = RGB(229, 241, 251); break;
    case CBXS_PRESSED: l.Fill = RGB(204, 228, 247); break;
    case CBXS_DISABLED: l.Glyph = kGlyphDisabled; l.Text = kTextDisabled; break;
    default: break;
    }
    return true;
}

bool LookHeader(int part, int state, TPartLook& l)
{
    l = {};
    switch (part) {
    case HP_HEADERITEM: case HP_HEADERITEMLEFT: case HP_HEADERITEMRIGHT:
        switch (StateIn(state, 3)) {
        case HIS_HOT: l.Fill = RGB(217, 235, 249); break;
        case HIS_PRESSED: l.Fill = RGB(188, 220, 244); break;
        default: l.Fill = kWhite; break;
        }
        l.Border = RGB(229, 229, 229);
        return true;
    case HP_HEADERSORTARROW: l.Glyph = kGlyph; return true;
    }
    return false;
}

bool LookProgress(int part, int state, TPartLook& l)
{
    l = {};
    switch (part) {
    case PP_BAR: case PP_BARVERT:
        l.Fill = RGB(230, 230, 230);
        l.Border = RGB(188, 188, 188);
        return true;
    case PP_CHUNK: case PP_CHUNKVERT: l.Fill = RGB(6, 176, 37); return true;
    case PP_FILL: case PP_FILLVERT:
        switch (StateIn(state, 4)) {
        case PBFS_ERROR: l.Fill = RGB(218, 38, 38); break;
        case PBFS_PAUSED: l.Fill = RGB(218, 203, 38); break;
        default: l.Fill = RGB(6, 176, 37); break;
        }
        return true;
    }
    return false;
}

bool LookEdit(int part, int state, TPartLook& l)
{
    if (part != EP_EDITTEXT) return false;
    l = {kWhite, RGB(122, 122, 122)};
    switch (StateIn(state, 6)) {
    case ETS_HOT: l.Border = RGB(23, 23, 23); break;
    case ETS_SELECTED: case ETS_FOCUSED: l.Border = kAccent; break;
    case ETS_DISABLED:
        l = {RGB(240, 240, 240), RGB(204, 204, 204), CLR_NONE, RGB(109, 109, 109)};
        break;
    case ETS_READONLY: l.Fill = RGB(240, 240, 240); break;
    default: break;
    }
    return true;
}

}  // namespace

TPartLook PushLook(int state)
{
    switch (state) {
    case 2: return {RGB(229, 241, 251), kAccent};
    case 3: return {RGB(200, 220, 238), kAccentDark};
    case 4: return {RGB(204, 204, 204), RGB(191, 191, 191), CLR_NONE, kTextDisabled};
    case 5: return {RGB(225, 225, 225), kAccent};
    default: return {RGB(225, 225, 225), RGB(173, 173, 173)};
    }
}

bool LookControlPart(TThemeClass cls, int part, int state, TPartLook& look)
{
    switch (cls) {
    case TThemeClass::Button: return LookButton(part, state, look);
    case TThemeClass::ComboBox: return LookComboBox(part, state, look);
    case TThemeClass::Spin:
        if (part < SPNP_UP || part > SPNP_DOWNHORZ) return false;
        look = SpinLook(StateIn(state, 4));
        return true;
    case TThemeClass::Header: return LookHeader(part, state, look);
    case TThemeClass::Progress: return LookProgress(part, state, look);
    case TThemeClass::Edit: return LookEdit(part, state, look);
    default: return false;
    }
}

bool PaintControlPart(TThemePainter& p, TThemeClass cls, int part, int state, const TRect& r)
{
    TPartLook look;
    if (!LookControlPart(cls, part, state, look)) return false;
    switch (cls) {
    case TThemeClass::Button:
        if (part == BP_PUSHBUTTON) PaintPush(p, state, r);
        else if (part == BP_RADIOBUTTON) PaintRadio(p, state, r);
        else if (part == BP_CHECKBOX) PaintCheckBox(p, state, r);
        else p.Frame(r, look.Border);
        return true;
    case TThemeClass::ComboBox:
        p.Fill(r, look.Fill);
        p.Arrow(r, 1, ArrowSize(r, true), look.Glyph);
        return true;
    case TThemeClass::Spin: {
        static const int dirs[] = {0, 1, 3, 2};   // up, down, right, left
        bool vertical = part == SPNP_UP || part == SPNP_DOWN;
        p.Box(r, look);
        TRect inner{r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2};
        p.Arrow(inner, dirs[part - 1], ArrowSize(r, vertical), look.Glyph);
        return true;
    }
    case TThemeClass::Header:
        if (part == HP_HEADERSORTARROW) {
            p.Arrow(r, state == HSAS_SORTEDDOWN ? 1 : 0, 9, look.Glyph);
        } else {
            p.Fill(r, look.Fill);
            p.VLine(r.Right - 1, r.Top, r.Bottom, look.Border);
        }
        return true;
    case TThemeClass::Progress:
    case TThemeClass::Edit:
        p.Box(r, look);
        return true;
    default: return false;
    }
}
