// DrawEdge and DrawFrameControl: the classic three-dimensional borders and
// the glyphs of buttons, scroll arrows, caption buttons and menu marks.
#include <algorithm>
#include <cmath>
#include <functional>

#include "platform/gfx/GdiInternal.h"

namespace {

void Fill(HDC dc, const TRect& r, COLORREF c)
{
    if (IsRectEmpty(r)) return;
    HBRUSH b = CreateSolidBrush(c);
    FillRect(dc, &r, b);
    DeleteObject(b);
}

// A filled polygon without outline.
void FillPoly(HDC dc, const std::vector<POINT>& pts, COLORREF c)
{
    int save = SaveDC(dc);
    HBRUSH b = CreateSolidBrush(c);
    HPEN p = CreatePen(PS_SOLID, 1, c);
    SelectObject(dc, b);
    SelectObject(dc, p);
    SetROP2(dc, R2_COPYPEN);
    Polygon(dc, pts.data(), int(pts.size()));
    RestoreDC(dc, save);
    DeleteObject(b);
    DeleteObject(p);
}

void Line(HDC dc, int x0, int y0, int x1, int y1, COLORREF c, int width = 1)
{
    int save = SaveDC(dc);
    HPEN p = CreatePen(PS_SOLID, width, c);
    SelectObject(dc, p);
    SetROP2(dc, R2_COPYPEN);
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
    RestoreDC(dc, save);
    DeleteObject(p);
}

struct TEdgeColors {
    COLORREF OuterTL, OuterBR, InnerTL, InnerBR;
};

TEdgeColors EdgeColors(UINT edge, UINT flags)
{
    bool soft = flags & BF_SOFT;
    TEdgeColors c{CLR_NONE, CLR_NONE, CLR_NONE, CLR_NONE};
    if (flags & BF_MONO) {
        if (edge & BDR_OUTER) c.OuterTL = c.OuterBR = GetSysColor(COLOR_WINDOWFRAME);
        if (edge & BDR_INNER) c.InnerTL = c.InnerBR = GetSysColor(COLOR_WINDOW);
        return c;
    }
    if (flags & BF_FLAT) {
        if (edge & BDR_OUTER) c.OuterTL = c.OuterBR = GetSysColor(COLOR_BTNSHADOW);
        if (edge & BDR_INNER) c.InnerTL = c.InnerBR = GetSysColor(COLOR_BTNFACE);
        return c;
    }
    if (edge & BDR_RAISEDOUTER) {
        c.OuterTL = GetSysColor(soft ? COLOR_BTNHIGHLIGHT : COLOR_3DLIGHT);
        c.OuterBR = GetSysColor(COLOR_3DDKSHADOW);
    } else if (edge & BDR_SUNKENOUTER) {
        c.OuterTL = GetSysColor(soft ? COLOR_3DDKSHADOW : COLOR_BTNSHADOW);
        c.OuterBR = GetSysColor(COLOR_BTNHIGHLIGHT);
    }
    if (edge & BDR_RAISEDINNER) {
        c.InnerTL = GetSysColor(soft ? COLOR_3DLIGHT : COLOR_BTNHIGHLIGHT);
        c.InnerBR = GetSysColor(COLOR_BTNSHADOW);
    } else if (edge & BDR_SUNKENINNER) {
        c.InnerTL = GetSysColor(soft ? COLOR_BTNSHADOW : COLOR_3DDKSHADOW);
        c.InnerBR = GetSysColor(COLOR_3DLIGHT);
    }
    return c;
}

// One ring of an edge: top and left in tl, bottom and right in br, which
// cover the corners they share.
void Ring(HDC dc, const TRect& r, UINT flags, COLORREF tl, COLORREF br)
{
    if (tl != CLR_NONE) {
        if (flags & BF_TOP) Fill(dc, {r.Left, r.Top, r.Right - ((flags & BF_RIGHT) ? 1 : 0), r.Top + 1}, tl);
        if (flags & BF_LEFT) Fill(dc, {r.Left, r.Top, r.Left + 1, r.Bottom - ((flags & BF_BOTTOM) ? 1 : 0)}, tl);
    }
    if (br != CLR_NONE) {
        if (flags & BF_BOTTOM) Fill(dc, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, br);
        if (flags & BF_RIGHT) Fill(dc, {r.Right - 1, r.Top, r.Right, r.Bottom}, br);
    }
}

void Shrink(TRect& r, UINT flags)
{
    if (flags & BF_LEFT) ++r.Left;
    if (flags & BF_TOP) ++r.Top;
    if (flags & BF_RIGHT) --r.Right;
    if (flags & BF_BOTTOM) --r.Bottom;
}

}  // namespace

BOOL DrawEdge(HDC dc, RECT* rect, UINT edge, UINT flags)
{
    if (!dc || !rect) return 0;
    {
        TRect dev = dc->LtoSRect(*rect);
        OffsetRect(dev, -dc->Origin.X, -dc->Origin.Y);
        dc->Record({L"DrawEdge", dev, {}, 0, 0, {}, (edge << 16) | (flags & 0xFFFF)});
    }
    bool rec = dc->Recording;
    dc->Recording = false;   // one record for the whole call
    TRect r = *rect;
    TEdgeColors c = EdgeColors(edge, flags);
    if (flags & BF_DIAGONAL) {
        COLORREF col = c.OuterBR != CLR_NONE ? c.OuterBR : c.InnerBR;
        if (col != CLR_NONE) {
            UINT d = flags & 0x1F;
            if (d == BF_DIAGONAL_ENDTOPRIGHT || d == BF_DIAGONAL_ENDBOTTOMLEFT) Line(dc, r.Left, r.Bottom - 1, r.Right - 1, r.Top, col);
            else Line(dc, r.Left, r.Top, r.Right - 1, r.Bottom - 1, col);
        }
        dc->Recording = rec;
        return 1;
    }
    bool outer = (edge & BDR_OUTER) != 0, inner = (edge & BDR_INNER) != 0;
    if (outer) {
        Ring(dc, r, flags, c.OuterTL, c.OuterBR);
        Shrink(r, flags);
    }
    if (inner) {
        Ring(dc, r, flags, c.InnerTL, c.InnerBR);
        Shrink(r, flags);
    }
    if (flags & BF_MIDDLE) Fill(dc, r, GetSysColor((flags & BF_MONO) ? COLOR_WINDOW : COLOR_BTNFACE));
    if (flags & BF_ADJUST) *rect = r;
    dc->Recording = rec;
    return 1;
}

// ---------------------------------------------------------------------------
// Frame controls
// ---------------------------------------------------------------------------

namespace {

TRect Square(const TRect& r)
{
    int s = std::min(r.Width(), r.Height());
    int x = r.Left + (r.Width() - s) / 2, y = r.Top + (r.Height() - s) / 2;
    return {x, y, x + s, y + s};
}

void PushFrame(HDC dc, TRect& r, UINT state)
{
    UINT edge = (state & (DFCS_PUSHED | DFCS_CHECKED)) ? EDGE_SUNKEN : EDGE_RAISED;
    UINT flags = BF_RECT | BF_SOFT | BF_ADJUST;
    if (!(state & DFCS_TRANSPARENT)) flags |= BF_MIDDLE;
    if (state & DFCS_FLAT) flags |= BF_FLAT;
    if (state & DFCS_MONO) flags |= BF_MONO;
    if ((state & DFCS_FLAT) && (state & (DFCS_PUSHED | DFCS_CHECKED))) edge = BDR_SUNKENOUTER;
    DrawEdge(dc, &r, edge, flags);
}

void CheckMark(HDC dc, const TRect& r, COLORREF c)
{
    // A tick scaled to the box: down-stroke then up-stroke, three pixels thick.
    int w = r.Width(), h = r.Height();
    int x0 = r.Left + w * 2 / 9, y0 = r.Top + h * 4 / 9;
    int xm = r.Left + w * 4 / 9, ym = r.Top + h * 6 / 9;
    int x1 = r.Left + w * 7 / 9, y1 = r.Top + h * 2 / 9;
    for (int k = 0; k < std::max(2, h / 3); ++k) {
        Line(dc, x0, y0 + k, xm, ym + k, c);
        Line(dc, xm, ym + k, x1 + 1, y1 + k - 1, c);
    }
}

void Arrow(HDC dc, const TRect& r, int dir, COLORREF c)
{
    // dir: 0 up, 1 down, 2 left, 3 right
    int s = std::max(2, std::min(r.Width(), r.Height()) / 3);
    int cx = r.Left + r.Width() / 2, cy = r.Top + r.Height() / 2;
    int h = (s + 1) / 2;
    std::vector<POINT> p;
    switch (dir) {
    case 0: p = {{cx - s, cy + h / 2}, {cx + s, cy + h / 2}, {cx, cy + h / 2 - s}}; break;
    case 1: p = {{cx - s, cy - h / 2}, {cx + s, cy - h / 2}, {cx, cy - h / 2 + s}}; break;
    case 2: p = {{cx + h / 2, cy - s}, {cx + h / 2, cy + s}, {cx + h / 2 - s, cy}}; break;
    default: p = {{cx - h / 2, cy - s}, {cx - h / 2, cy + s}, {cx - h / 2 + s, cy}}; break;
    }
    FillPoly(dc, p, c);
}

void Glyph(HDC dc, const TRect& r, UINT state, const std::function<void(const TRect&, COLORREF)>& draw)
{
    TRect g = r;
    if (state & DFCS_PUSHED) OffsetRect(g, 1, 1);
    if (state & DFCS_INACTIVE) {
        TRect sh = g;
        OffsetRect(sh, 1, 1);
        draw(sh, GetSysColor(COLOR_BTNHIGHLIGHT));
        draw(g, GetSysColor(COLOR_BTNSHADOW));
    } else {
        draw(g, GetSysColor(COLOR_BTNTEXT));
    }
}

void Button(HDC dc, TRect r, UINT state)
{
    UINT kind = state & 0x1F;
    if (kind == DFCS_BUTTONPUSH) {
        PushFrame(dc, r, state);
        return;
    }
    TRect box = Square(r);
    bool inactive = state & DFCS_INACTIVE;
    if (kind & (DFCS_BUTTONRADIO | DFCS_BUTTONRADIOIMAGE | DFCS_BUTTONRADIOMASK)) {
        int save = SaveDC(dc);
        auto ellipse = [&](const TRect& e, COLORREF pen, COLORREF fill) {
            HPEN p = CreatePen(PS_SOLID, 1, pen);
            HBRUSH b = fill == CLR_NONE ? static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)) : CreateSolidBrush(fill);
            SelectObject(dc, p);
            SelectObject(dc, b);
            Ellipse(dc, e.Left, e.Top, e.Right, e.Bottom);
            SelectObject(dc, GetStockObject(BLACK_PEN));
            SelectObject(dc, GetStockObject(NULL_BRUSH));
            DeleteObject(p);
            DeleteObject(b);
        };
        if (kind & DFCS_BUTTONRADIOMASK) {
            ellipse(box, 0, 0);
        } else {
            COLORREF face = GetSysColor((inactive || (state & DFCS_PUSHED)) ? COLOR_BTNFACE : COLOR_WINDOW);
            if (state & (DFCS_FLAT | DFCS_MONO)) {
                ellipse(box, GetSysColor((state & DFCS_MONO) ? COLOR_WINDOWFRAME : COLOR_BTNSHADOW), face);
            } else {
                ellipse(box, GetSysColor(COLOR_BTNHIGHLIGHT), CLR_NONE);
                TRect in = box;
                in.Right -= 1;
                in.Bottom -= 1;
                ellipse(in, GetSysColor(COLOR_BTNSHADOW), CLR_NONE);
                InflateRect(in, -1, -1);
                ellipse(in, GetSysColor(COLOR_3DDKSHADOW), face);
            }
            if (state & DFCS_CHECKED) {
                TRect dot = box;
                int d = std::max(1, box.Width() / 3);
                InflateRect(dot, -d, -d);
                COLORREF c = GetSysColor(inactive ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT);
                ellipse(dot, c, c);
            }
        }
        RestoreDC(dc, save);
        return;
    }
    // Check box and three-state box.
    TRect in = box;
    UINT flags = BF_RECT | BF_ADJUST;
    if (state & DFCS_FLAT) flags |= BF_FLAT;
    if (state & DFCS_MONO) flags |= BF_MONO;
    DrawEdge(dc, &in, EDGE_SUNKEN, flags);
    bool gray = inactive || (state & DFCS_PUSHED) || ((kind & DFCS_BUTTON3STATE) && (state & DFCS_CHECKED));
    Fill(dc, in, GetSysColor(gray ? COLOR_BTNFACE : COLOR_WINDOW));
    if (state & DFCS_CHECKED) {
        COLORREF c = GetSysColor((inactive || (kind & DFCS_BUTTON3STATE)) ? COLOR_BTNSHADOW : COLOR_WINDOWTEXT);
        CheckMark(dc, in, c);
    }
}

void Caption(HDC dc, TRect r, UINT state)
{
    PushFrame(dc, r, state);
    UINT kind = state & 0xF;
    Glyph(dc, r, state, [&](const TRect& g0, COLORREF c) {
        TRect g = Square(g0);
        int m = std::max(2, g.Width() / 4);
        InflateRect(g, -m, -m);
        switch (kind) {
        case DFCS_CAPTIONCLOSE:
            Line(dc, g.Left, g.Top, g.Right, g.Bottom, c, 2);
            Line(dc, g.Left, g.Bottom - 1, g.Right, g.Top - 1, c, 2);
            break;
        case DFCS_CAPTIONMIN: Fill(dc, {g.Left, g.Bottom - 2, g.Right, g.Bottom}, c); break;
        case DFCS_CAPTIONMAX: {
            HBRUSH b = CreateSolidBrush(c);
            FrameRect(dc, &g, b);
            DeleteObject(b);
            Fill(dc, {g.Left, g.Top, g.Right, g.Top + 2}, c);
            break;
        }
        case DFCS_CAPTIONRESTORE: {
            int d = g.Width() / 3;
            TRect back{g.Left + d, g.Top, g.Right, g.Bottom - d}, front{g.Left, g.Top + d, g.Right - d, g.Bottom};
            HBRUSH b = CreateSolidBrush(c);
            FrameRect(dc, &back, b);
            Fill(dc, {front.Left, front.Top, front.Right, front.Bottom}, GetSysColor(COLOR_BTNFACE));
            FrameRect(dc, &front, b);
            DeleteObject(b);
            break;
        }
        default: {   // help: a question mark
            int cx = g.Left + g.Width() / 2;
            Line(dc, g.Left + 1, g.Top + 1, cx, g.Top, c);
            Line(dc, cx, g.Top, g.Right - 1, g.Top + 2, c);
            Line(dc, g.Right - 1, g.Top + 2, cx, g.Top + g.Height() / 2, c);
            Line(dc, cx, g.Top + g.Height() / 2, cx, g.Bottom - 2, c);
            Fill(dc, {cx, g.Bottom - 1, cx + 1, g.Bottom}, c);
            break;
        }
        }
    });
}

void Scroll(HDC dc, TRect r, UINT state)
{
    UINT kind = state & 0x1F;
    if (kind == DFCS_SCROLLSIZEGRIP || kind == DFCS_SCROLLSIZEGRIPRIGHT) {
        if (!(state & DFCS_TRANSPARENT)) Fill(dc, r, GetSysColor(COLOR_BTNFACE));
        TRect s = Square(r);
        for (int k = 0; k + 2 < s.Width(); k += 4) {
            Line(dc, s.Right - 1 - k, s.Bottom - 1, s.Right - 1, s.Bottom - 1 - k, GetSysColor(COLOR_BTNHIGHLIGHT));
            Line(dc, s.Right - 2 - k, s.Bottom - 1, s.Right - 1, s.Bottom - 2 - k, GetSysColor(COLOR_BTNSHADOW));
            Line(dc, s.Right - 3 - k, s.Bottom - 1, s.Right - 1, s.Bottom - 3 - k, GetSysColor(COLOR_BTNSHADOW));
        }
        return;
    }
    PushFrame(dc, r, state);
    int dir = kind == DFCS_SCROLLUP ? 0 : kind == DFCS_SCROLLLEFT ? 2 : kind == DFCS_SCROLLRIGHT ? 3 : 1;
    Glyph(dc, r, state, [&](const TRect& g, COLORREF c) { Arrow(dc, g, dir, c); });
}

void Menu(HDC dc, TRect r, UINT state)
{
    UINT kind = state & 0xF;
    COLORREF c = GetSysColor((state & DFCS_INACTIVE) ? COLOR_GRAYTEXT : COLOR_MENUTEXT);
    TRect g = Square(r);
    switch (kind) {
    case DFCS_MENUCHECK: CheckMark(dc, g, c); break;
    case DFCS_MENUBULLET: {
        TRect d = g;
        int m = std::max(1, g.Width() * 3 / 8);
        InflateRect(d, -m, -m);
        int save = SaveDC(dc);
        HBRUSH b = CreateSolidBrush(c);
        HPEN p = CreatePen(PS_SOLID, 1, c);
        SelectObject(dc, b);
        SelectObject(dc, p);
        Ellipse(dc, d.Left, d.Top, d.Right, d.Bottom);
        RestoreDC(dc, save);
        DeleteObject(b);
        DeleteObject(p);
        break;
    }
    case DFCS_MENUARROWRIGHT: Arrow(dc, g, 2, c); break;
    default: Arrow(dc, g, 3, c); break;
    }
}

}  // namespace

BOOL DrawFrameControl(HDC dc, RECT* rect, UINT type, UINT state)
{
    if (!dc || !rect) return 0;
    TTargetGuard g(dc);
    {
        TRect dev = dc->LtoSRect(*rect);
        OffsetRect(dev, -dc->Origin.X, -dc->Origin.Y);
        dc->Record({L"DrawFrameControl", dev, {}, 0, 0, {}, (type << 16) | (state & 0xFFFF)});
    }
    bool rec = dc->Recording;
    dc->Recording = false;
    TRect r = *rect;
    BOOL ok = 1;
    switch (type) {
    case DFC_BUTTON: Button(dc, r, state); break;
    case DFC_CAPTION: Caption(dc, r, state); break;
    case DFC_SCROLL: Scroll(dc, r, state); break;
    case DFC_MENU:
    case DFC_POPUPMENU: Menu(dc, r, state); break;
    default: ok = 0; break;
    }
    dc->Recording = rec;
    if (ok && (state & DFCS_ADJUSTRECT) && type != DFC_MENU && type != DFC_POPUPMENU) InflateRect(*rect, -2, -2);
    return ok;
}
