// Invalidation and painting: update rectangles, WM_PAINT/WM_ERASEBKGND/
// WM_NCPAINT, and the top-level surfaces child windows paint into.
#include <algorithm>
#include <cmath>

#include <cairo.h>

#include "platform/ui/Themes.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Backend.h"

void WmInvalidate(HWND h, const TRect* rect, bool erase, bool allChildren)
{
    TWnd* w = WndOf(h);
    if (!w || !IsVisibleDeep(h)) return;
    WmPaintDue();
    TRect client = Rect(0, 0, w->client.Width(), w->client.Height());
    TRect r = client;
    if (rect && !IntersectRect(r, *rect, client)) r = TRect{};
    if (!rect) {
        w->ncPaint = true;
    } else {
        // The part of the given rectangle outside the client area is frame.
        TRect whole = Rect(-w->client.Left, -w->client.Top, w->rect.Width() - w->client.Left,
                           w->rect.Height() - w->client.Top);
        TRect x;
        if (IntersectRect(x, *rect, whole) && !(x.Left >= 0 && x.Top >= 0 && x.Right <= client.Right &&
                                                x.Bottom <= client.Bottom))
            w->ncPaint = true;
    }
    if (IsRectEmpty(r) && !w->ncPaint) return;
    if (!IsRectEmpty(r)) {
        UnionRect(w->update, w->update, r);
        if (erase) w->erase = true;
    }
    if (!allChildren && (w->style & WS_CLIPCHILDREN)) return;
    std::vector<HWND> kids = w->children;
    for (HWND c : kids) {
        TWnd* cw = WndOf(c);
        if (!cw || !(cw->style & WS_VISIBLE)) continue;
        TRect cr;
        TRect src = rect ? *rect : client;
        if (!IntersectRect(cr, src, cw->rect)) continue;
        OffsetRect(cr, -(cw->rect.Left + cw->client.Left), -(cw->rect.Top + cw->client.Top));
        WmInvalidate(c, &cr, erase, allChildren);
    }
}

void WmInvalidateAll(HWND h)
{
    TWnd* w = WndOf(h);
    if (!w) return;
    WmPaintDue();
    w->update = Rect(0, 0, w->client.Width(), w->client.Height());
    if (IsRectEmpty(w->update)) w->update = TRect{};
    w->erase = true;
    w->ncPaint = true;
    for (HWND c : w->children) WmInvalidateAll(c);
}

void WmInvalidateFrame(HWND h)
{
    if (TWnd* w = WndOf(h); w && IsVisibleDeep(h)) {
        w->ncPaint = true;
        WmPaintDue();
    }
}

BOOL InvalidateRect(HWND hwnd, const TRect* rect, BOOL erase)
{
    if (!hwnd) {
        std::vector<HWND> tops;
        {
            std::lock_guard<std::recursive_mutex> g(WM().lock);
            tops = WM().topLevels;
        }
        for (HWND t : tops) WmInvalidateAll(t);
        return TRUE;
    }
    if (!WndOf(hwnd)) return FALSE;
    WmInvalidate(hwnd, rect, erase != 0, false);
    return TRUE;
}

BOOL ValidateRect(HWND hwnd, const TRect* rect)
{
    TWnd* w = WndOf(hwnd);
    if (!w) return FALSE;
    if (!rect) {
        w->update = TRect{};
        w->erase = false;
        w->internalPaint = false;
        return TRUE;
    }
    TRect& u = w->update;
    if (rect->Left <= u.Left && rect->Top <= u.Top && rect->Right >= u.Right && rect->Bottom >= u.Bottom) {
        u = TRect{};
        w->erase = false;
    } else if (rect->Left <= u.Left && rect->Right >= u.Right) {
        // A band across the whole width trims the top or the bottom.
        if (rect->Top <= u.Top && rect->Bottom > u.Top) u.Top = rect->Bottom;
        else if (rect->Bottom >= u.Bottom && rect->Top < u.Bottom) u.Bottom = rect->Top;
        if (IsRectEmpty(u)) u = TRect{};
    } else if (rect->Top <= u.Top && rect->Bottom >= u.Bottom) {
        if (rect->Left <= u.Left && rect->Right > u.Left) u.Left = rect->Right;
        else if (rect->Right >= u.Right && rect->Left < u.Right) u.Right = rect->Left;
        if (IsRectEmpty(u)) u = TRect{};
    }
    return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, TRect* rect, BOOL erase)
{
    TWnd* w = WndOf(hwnd);
    if (!w) return FALSE;
    if (rect) *rect = w->update;
    return IsRectEmpty(w->update) ? FALSE : TRUE;
}

namespace {
bool NeedsPaint(TWnd* w)
{
    return w->redraw && (w->style & WS_VISIBLE) && (!IsRectEmpty(w->update) || w->internalPaint || w->ncPaint);
}

void PaintNow(HWND h, bool children)
{
    TWnd* w = WndOf(h);
    if (!w || !IsVisibleDeep(h)) return;
    if (NeedsPaint(w)) {
        SendMessage(h, WM_PAINT, 0, 0);
        if ((w = WndOf(h))) {
            w->update = TRect{};
            w->internalPaint = w->erase = w->ncPaint = false;
        }
    }
    if (!children || !(w = WndOf(h))) return;
    std::vector<HWND> kids = w->children;
    for (auto it = kids.rbegin(); it != kids.rend(); ++it) PaintNow(*it, true);
}
}  // namespace

BOOL UpdateWindow(HWND hwnd)
{
    if (!WndOf(hwnd)) return FALSE;
    PaintNow(hwnd, false);
    return TRUE;
}

BOOL RedrawWindowRect(HWND hwnd, const TRect* rect, UINT flags)
{
    TWnd* w = WndOf(hwnd);
    if (!w) return FALSE;
    bool all = (flags & RDW_ALLCHILDREN) != 0;
    if (flags & RDW_INVALIDATE) {
        if (flags & RDW_NOCHILDREN) {
            DWORD style = w->style;
            w->style |= WS_CLIPCHILDREN;
            WmInvalidate(hwnd, rect, (flags & RDW_ERASE) != 0, false);
            if ((w = WndOf(hwnd))) w->style = style;
        } else {
            WmInvalidate(hwnd, rect, (flags & RDW_ERASE) != 0, all);
        }
        if ((flags & RDW_FRAME) && (w = WndOf(hwnd))) w->ncPaint = true;
    }
    if ((flags & RDW_INTERNALPAINT) && (w = WndOf(hwnd))) w->internalPaint = true;
    WmPaintDue();
    if (flags & RDW_VALIDATE) ValidateRect(hwnd, rect);
    if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) PaintNow(hwnd, !(flags & RDW_NOCHILDREN));
    return TRUE;
}

void WmUpdateAllWindows()
{
    std::vector<HWND> tops;
    {
        std::lock_guard<std::recursive_mutex> g(WM().lock);
        tops = WM().topLevels;
    }
    DWORD me = GetCurrentThreadId();
    for (HWND t : tops)
        if (TWnd* w = WndOf(t); w && w->threadId == me) PaintNow(t, true);
}

// ---------------------------------------------------------------------------
// Surfaces and device contexts

namespace {

// The top-level's pixels, sized to its window rectangle.
cairo_surface_t* SurfaceOf(HWND root)
{
    TWnd* w = WndOf(root);
    if (!w) return nullptr;
    int cw = std::max(1, w->rect.Width()), ch = std::max(1, w->rect.Height());
    auto* s = static_cast<cairo_surface_t*>(w->surface);
    if (s && (cairo_image_surface_get_width(s) != cw || cairo_image_surface_get_height(s) != ch)) {
        cairo_surface_destroy(s);
        s = nullptr;
    }
    if (!s) {
        s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, cw, ch);
        w->surface = s;
        // A new surface shows nothing yet: everything needs painting.
        WmInvalidateAll(root);
    }
    return s;
}

// Where a window's client area (or whole window) lies in its top-level's
// surface, and the part of it that is not hidden by its parents.
void Placement(HWND h, bool whole, TPoint& origin, TRect& clip)
{
    HWND root = RootOf(h);
    TRect rootRect = WindowRectScreen(root);
    TWnd* w = WndOf(h);
    TRect r = WindowRectScreen(h);
    if (whole) {
        origin = {r.Left - rootRect.Left, r.Top - rootRect.Top};
        clip = Bounds(origin.X, origin.Y, r.Width(), r.Height());
    } else {
        origin = {r.Left + w->client.Left - rootRect.Left, r.Top + w->client.Top - rootRect.Top};
        clip = Bounds(origin.X, origin.Y, w->client.Width(), w->client.Height());
    }
    for (HWND p = w->parent; p; p = WndOf(p) ? WndOf(p)->parent : nullptr) {
        TWnd* pw = WndOf(p);
        if (!pw) break;
        TRect pr = WindowRectScreen(p);
        TRect pc = Bounds(pr.Left + pw->client.Left - rootRect.Left, pr.Top + pw->client.Top - rootRect.Top,
                          pw->client.Width(), pw->client.Height());
        if (!IntersectRect(clip, clip, pc)) clip = TRect{};
    }
}

// Where a window's children lie (its client coordinates, z-order kept),
// with a grid of buckets over them, so a paint finds the few children that
// overlap a rectangle without looking at all of them. Built on first use
// and again after any window's geometry changed.
struct TChildIndex {
    uint64_t Gen = 0;
    std::vector<TRect> Rects;              // by z-order position
    std::vector<uint8_t> Visible;
    std::vector<uint32_t> VisibleBefore;   // visible children above each position (size + 1)
    std::vector<std::pair<HWND, uint32_t>> Pos;  // sorted by handle
    TRect Box{};                            // around the visible children
    int CellW = 1, CellH = 1, Cols = 0, Rows = 0;
    std::vector<uint32_t> CellStart, CellItems;  // positions in each cell, ascending
    std::vector<uint32_t> Big;              // children too large for the cells
    std::vector<uint32_t> Seen;
    uint32_t Query = 0;

    void Build(TWnd* w, uint64_t gen)
    {
        Gen = gen;
        size_t n = w->children.size();
        Rects.assign(n, TRect{});
        Visible.assign(n, 0);
        VisibleBefore.assign(n + 1, 0);
        Pos.clear();
        Pos.reserve(n);
        Big.clear();
        Seen.assign(n, 0);
        Query = 0;
        Box = TRect{};
        size_t shown = 0;
        for (size_t i = 0; i < n; ++i) {
            HWND c = w->children[i];
            Pos.push_back({c, uint32_t(i)});
            TWnd* cw = WndOf(c);
            VisibleBefore[i + 1] = VisibleBefore[i];
            if (!cw || !(cw->style & WS_VISIBLE)) continue;
            Visible[i] = 1;
            ++VisibleBefore[i + 1];
            Rects[i] = cw->rect;
            if (IsRectEmpty(cw->rect)) continue;
            Box = shown++ ? TRect{std::min(Box.Left, cw->rect.Left), std::min(Box.Top, cw->rect.Top),
                                  std::max(Box.Right, cw->rect.Right), std::max(Box.Bottom, cw->rect.Bottom)}
                          : cw->rect;
        }
        std::sort(Pos.begin(), Pos.end(), [](auto& a, auto& b) { return a.first < b.first; });
        // About one cell per child, shaped like the area they cover.
        Cols = Rows = 0;
        CellStart.clear();
        CellItems.clear();
        if (!shown) return;
        double bw = std::max(1, Box.Width()), bh = std::max(1, Box.Height());
        Cols = std::clamp(int(std::lround(std::sqrt(double(shown) * bw / bh))), 1, 512);
        Rows = std::clamp(int(std::lround(double(shown) / Cols)), 1, 512);
        CellW = std::max(1, int(std::ceil(bw / Cols)));
        CellH = std::max(1, int(std::ceil(bh / Rows)));
        Cols = std::max(1, int(std::ceil(bw / CellW)));
        Rows = std::max(1, int(std::ceil(bh / CellH)));
        std::vector<uint32_t> count(size_t(Cols) * Rows + 1, 0);
        auto cells = [&](const TRect& r, int& c0, int& r0, int& c1, int& r1) {
            c0 = (r.Left - Box.Left) / CellW;
            r0 = (r.Top - Box.Top) / CellH;
            c1 = (r.Right - 1 - Box.Left) / CellW;
            r1 = (r.Bottom - 1 - Box.Top) / CellH;
        };
        auto big = [&](int c0, int r0, int c1, int r1) { return int64_t(c1 - c0 + 1) * (r1 - r0 + 1) > 16; };
        for (int pass = 0; pass < 2; ++pass) {
            for (size_t i = 0; i < n; ++i) {
                if (!Visible[i] || IsRectEmpty(Rects[i])) continue;
                int c0, r0, c1, r1;
                cells(Rects[i], c0, r0, c1, r1);
                if (big(c0, r0, c1, r1)) {
                    if (pass == 0) Big.push_back(uint32_t(i));
                    continue;
                }
                for (int y = r0; y <= r1; ++y)
                    for (int x = c0; x <= c1; ++x) {
                        size_t cell = size_t(y) * Cols + x;
                        if (pass == 0) ++count[cell + 1];
                        else CellItems[CellStart[cell] + count[cell]++] = uint32_t(i);
                    }
            }
            if (pass == 0) {
                for (size_t k = 1; k < count.size(); ++k) count[k] += count[k - 1];
                CellStart = count;
                CellItems.assign(count.back(), 0);
                std::fill(count.begin(), count.end(), 0);
            }
        }
    }

    // The z-order position of a child; the number of children when it is
    // not one of them.
    uint32_t PositionOf(HWND c) const
    {
        auto it = std::lower_bound(Pos.begin(), Pos.end(), c, [](auto& a, HWND b) { return a.first < b; });
        return it != Pos.end() && it->first == c ? it->second : uint32_t(Rects.size());
    }

    // The visible children above position `limit` that overlap q, added to
    // `out` moved by `offset`.
    void Overlapping(const TRect& q, uint32_t limit, TPoint offset, std::vector<TRect>& out)
    {
        if (!Cols || IsRectEmpty(q)) return;
        if (++Query == 0) {
            std::fill(Seen.begin(), Seen.end(), 0);
            Query = 1;
        }
        auto take = [&](uint32_t i) {
            if (Seen[i] == Query) return;
            Seen[i] = Query;
            TRect t;
            if (!IntersectRect(t, Rects[i], q)) return;
            TRect r = Rects[i];
            OffsetRect(r, offset.X, offset.Y);
            out.push_back(r);
        };
        for (uint32_t i : Big)
            if (i < limit) take(i);
        TRect a;
        if (!IntersectRect(a, q, Box)) return;
        int c0 = (a.Left - Box.Left) / CellW, r0 = (a.Top - Box.Top) / CellH;
        int c1 = (a.Right - 1 - Box.Left) / CellW, r1 = (a.Bottom - 1 - Box.Top) / CellH;
        for (int y = r0; y <= r1; ++y)
            for (int x = c0; x <= c1; ++x) {
                size_t cell = size_t(y) * Cols + x;
                for (uint32_t k = CellStart[cell]; k < CellStart[cell + 1]; ++k) {
                    uint32_t i = CellItems[k];
                    if (i >= limit) break;
                    take(i);
                }
            }
    }
};

TChildIndex& ChildIndexOf(TWnd* w)
{
    uint64_t gen = WM().geometryGen.load(std::memory_order_relaxed);
    auto* ix = static_cast<TChildIndex*>(w->childIndex.get());
    if (!ix) {
        auto made = std::make_shared<TChildIndex>();
        ix = made.get();
        w->childIndex = std::move(made);
        ix->Build(w, gen);
    } else if (ix->Gen != gen) {
        ix->Build(w, gen);
    }
    return *ix;
}

// Keeps a window's drawing off its visible children (WS_CLIPCHILDREN) and
// off the siblings above it (WS_CLIPSIBLINGS). dc's logical origin is the
// client (or window) origin of h at `origin`; `clip` is where the DC may
// draw, in its top-level's pixels. Only the children and siblings that
// overlap `clip` are cut out, all in one pass; the clip is set as soon as
// there is any visible one, as cutting them one by one would.
// The rectangles (in h's client or window coordinates, as `origin` says)
// of the children and siblings that cover parts of `clip`; true when any
// visible one was considered.
bool OthersOverlapping(HWND h, TPoint origin, const TRect& clip, std::vector<TRect>& cut)
{
    std::lock_guard<std::recursive_mutex> g(WM().lock);
    TWnd* w = WndOf(h);
    HWND root = RootOf(h);
    TRect rootRect = WindowRectScreen(root);
    TRect area = clip;
    TRect surface = Rect(0, 0, std::max(1, rootRect.Width()), std::max(1, rootRect.Height()));
    if (!IntersectRect(area, area, surface)) area = TRect{};
    bool any = false;
    // The children of p above position `limit` (all when it is past them).
    auto from = [&](HWND p, TWnd* pw, HWND below) {
        TChildIndex& ix = ChildIndexOf(pw);
        uint32_t limit = below ? ix.PositionOf(below) : uint32_t(ix.Rects.size());
        if (!ix.VisibleBefore[limit]) return;
        any = true;
        // p's client area in the top-level's pixels.
        TPoint o = ClientOriginScreen(p);
        o.X -= rootRect.Left;
        o.Y -= rootRect.Top;
        TRect q = area;
        OffsetRect(q, -o.X, -o.Y);
        ix.Overlapping(q, limit, TPoint{o.X - origin.X, o.Y - origin.Y}, cut);
    };
    if (w->style & WS_CLIPCHILDREN) from(h, w, nullptr);
    for (HWND x = h; x;) {
        TWnd* xw = WndOf(x);
        if (!xw) break;
        if (xw->parent && (xw->style & WS_CLIPSIBLINGS))
            if (TWnd* pw = WndOf(xw->parent)) from(xw->parent, pw, x);
        x = xw->parent;
    }
    return any;
}

void ExcludeOthers(HDC dc, HWND h, TPoint origin, const TRect& clip)
{
    std::vector<TRect> cut;
    if (OthersOverlapping(h, origin, clip, cut)) GdiExcludeClipRects(dc, cut);
}

HDC MakeDC(HWND h, bool whole, bool clipOthers)
{
    TWnd* w = WndOf(h);
    if (!w) return nullptr;
    cairo_surface_t* s = SurfaceOf(RootOf(h));
    if (!s) return nullptr;
    TPoint origin;
    TRect clip;
    Placement(h, whole, origin, clip);
    HDC dc = CreateSurfaceDC(s, origin, clip);
    if (!dc) return nullptr;
    GdiSetDCWindow(dc, h);
    if (clipOthers) ExcludeOthers(dc, h, origin, clip);
    return dc;
}

void Present(HWND h)
{
    if (HasBackend()) Backend().Present(RootOf(h));
}

HBRUSH ClassBrush(TWnd* w)
{
    return w->cls->wc.hbrBackground;
}

}  // namespace

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps)
{
    TWnd* w = WndOf(hwnd);
    if (!w || !ps) return nullptr;
    *ps = PAINTSTRUCT{};
    SurfaceOf(RootOf(hwnd));
    if ((w = WndOf(hwnd)) && w->ncPaint) {
        w->ncPaint = false;
        SendMessage(hwnd, WM_NCPAINT, 1, 0);
        if (!(w = WndOf(hwnd))) return nullptr;
    }
    TRect upd = w->update;
    bool erase = w->erase;
    w->update = TRect{};
    w->erase = false;
    w->internalPaint = false;
    HDC dc = MakeDC(hwnd, false, true);
    if (!dc) return nullptr;
    IntersectClipRect(dc, upd.Left, upd.Top, upd.Right, upd.Bottom);
    ps->hdc = dc;
    ps->rcPaint = upd;
    if (erase) ps->fErase = SendMessage(hwnd, WM_ERASEBKGND, WPARAM(reinterpret_cast<uintptr_t>(dc)), 0) ? FALSE : TRUE;
    return dc;
}

int ScrollWindowEx(HWND hwnd, int dx, int dy, const TRect* scroll, const TRect* clipRect, HRGN updateRgn,
                   TRect* updateRect, UINT flags)
{
    TWnd* w = WndOf(hwnd);
    if (!w) return ERROR;
    const TRect client = Rect(0, 0, w->client.Width(), w->client.Height());
    TRect area = scroll ? *scroll : client;
    if (!IntersectRect(area, area, client)) area = TRect{};
    if (clipRect && !IntersectRect(area, area, *clipRect)) area = TRect{};
    if (updateRect) *updateRect = TRect{};
    if (updateRgn) SetRectRgn(updateRgn, 0, 0, 0, 0);
    if (IsRectEmpty(area)) return NULLREGION;

    // Only pixels the window shows move, and only when nothing else (a
    // child, a sibling above) lies on the source or the destination: those
    // pixels are not the window's own.
    TRect moved{};
    if ((dx || dy) && w->redraw && IsVisibleDeep(hwnd) && std::abs(dx) < area.Width() &&
        std::abs(dy) < area.Height()) {
        HWND root = RootOf(hwnd);
        SurfaceOf(root);
        if ((w = WndOf(hwnd))) {
            TPoint origin;
            TRect vis;
            Placement(hwnd, false, origin, vis);
            OffsetRect(vis, -origin.X, -origin.Y);
            TRect src, dst;
            if (IntersectRect(src, area, vis)) {
                dst = src;
                OffsetRect(dst, dx, dy);
                if (!IntersectRect(dst, dst, area) || !IntersectRect(dst, dst, vis)) dst = TRect{};
            }
            if (!IsRectEmpty(dst)) {
                TRect reach;
                UnionRect(reach, src, dst);
                std::vector<TRect> cut;
                TRect visScreen = vis;
                OffsetRect(visScreen, origin.X, origin.Y);
                OthersOverlapping(hwnd, origin, visScreen, cut);
                for (HWND c : w->children)
                    if (TWnd* cw = WndOf(c); cw && (cw->style & WS_VISIBLE)) cut.push_back(cw->rect);
                bool covered = false;
                for (const TRect& c : cut) {
                    TRect x;
                    if (IntersectRect(x, c, reach)) covered = true;
                }
                if (!covered) {
                    if (HDC dc = MakeDC(hwnd, false, false)) {
                        BitBlt(dc, dst.Left, dst.Top, dst.Width(), dst.Height(), dc, dst.Left - dx, dst.Top - dy,
                               SRCCOPY);
                        DeleteDC(dc);
                        moved = dst;
                        Present(hwnd);
                    }
                }
            }
        }
        if (!(w = WndOf(hwnd))) return ERROR;
    }

    // What the move uncovered (or the whole area when nothing moved), as one
    // rectangle: the bands of the area beside the moved pixels.
    TRect inval{};
    if (IsRectEmpty(moved)) {
        inval = area;
    } else {
        const TRect bands[4] = {Rect(area.Left, area.Top, area.Right, moved.Top),
                                Rect(area.Left, moved.Bottom, area.Right, area.Bottom),
                                Rect(area.Left, area.Top, moved.Left, area.Bottom),
                                Rect(moved.Right, area.Top, area.Right, area.Bottom)};
        for (const TRect& b : bands)
            if (!IsRectEmpty(b)) {
                if (IsRectEmpty(inval)) inval = b;
                else UnionRect(inval, inval, b);
            }
    }
    // A part waiting to be painted moves with the pixels: it shows stale
    // pixels at its new place too.
    TRect pending;
    if (!IsRectEmpty(moved) && IntersectRect(pending, w->update, area)) {
        OffsetRect(pending, dx, dy);
        if (IntersectRect(pending, pending, area)) {
            if (IsRectEmpty(inval)) inval = pending;
            else UnionRect(inval, inval, pending);
        }
    }
    if (!IsRectEmpty(inval) && (flags & SW_INVALIDATE)) WmInvalidate(hwnd, &inval, (flags & SW_ERASE) != 0, false);
    if (updateRect) *updateRect = inval;
    if (updateRgn) SetRectRgn(updateRgn, inval.Left, inval.Top, inval.Right, inval.Bottom);
    return IsRectEmpty(inval) ? NULLREGION : SIMPLEREGION;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps)
{
    if (ps && ps->hdc) DeleteDC(ps->hdc);
    if (WndOf(hwnd)) Present(hwnd);
    return TRUE;
}

HDC GetDC(HWND hwnd)
{
    if (!hwnd) return CreateCompatibleDC(nullptr);
    return MakeDC(hwnd, false, true);
}

HDC GetWindowDC(HWND hwnd)
{
    if (!hwnd) return CreateCompatibleDC(nullptr);
    return MakeDC(hwnd, true, false);
}

HDC GetDCEx(HWND hwnd, HRGN clip, DWORD flags)
{
    HDC dc = (flags & DCX_WINDOW) ? GetWindowDC(hwnd) : GetDC(hwnd);
    if (dc && clip && (flags & (DCX_INTERSECTRGN | DCX_EXCLUDERGN))) {
        TRect box;
        GetRgnBox(clip, &box);
        if (flags & DCX_INTERSECTRGN)
            IntersectClipRect(dc, box.Left, box.Top, box.Right, box.Bottom);
        else
            ExcludeClipRect(dc, box.Left, box.Top, box.Right, box.Bottom);
    }
    return dc;
}

int ReleaseDC(HWND hwnd, HDC dc)
{
    if (!dc) return 0;
    DeleteDC(dc);
    if (hwnd && WndOf(hwnd)) Present(hwnd);
    return 1;
}

BOOL InvalidateRgn(HWND hwnd, HRGN rgn, BOOL erase)
{
    if (!rgn) return InvalidateRect(hwnd, nullptr, erase);
    TRect box;
    GetRgnBox(rgn, &box);
    return InvalidateRect(hwnd, &box, erase);
}

BOOL ValidateRgn(HWND hwnd, HRGN rgn)
{
    if (!rgn) return ValidateRect(hwnd, nullptr);
    TRect box;
    GetRgnBox(rgn, &box);
    return ValidateRect(hwnd, &box);
}

BOOL RedrawWindow(HWND hwnd, const TRect* rect, HRGN rgn, UINT flags)
{
    if (!hwnd) return FALSE;
    if (rgn && !rect) {
        TRect box;
        GetRgnBox(rgn, &box);
        return RedrawWindowRect(hwnd, &box, flags);
    }
    return RedrawWindowRect(hwnd, rect, flags);
}

int SetWindowRgn(HWND hwnd, HRGN rgn, BOOL redraw)
{
    if (!WndOf(hwnd)) return 0;
    std::vector<TRect> rects;
    if (rgn) rects = rgn->Data.Rects();
    if (rgn && rects.empty()) rects.push_back(TRect{});  // an empty region hides all
    SetWindowRectRgn(hwnd, rects.data(), int(rects.size()), redraw);
    if (rgn) DeleteObject(rgn);
    return 1;
}

int GetWindowRgn(HWND hwnd, HRGN rgn)
{
    TWnd* w = WndOf(hwnd);
    if (!w || !rgn || w->region.empty()) return 0;  // ERROR
    rgn->Data = TRegionData::FromRects(w->region);
    return rgn->Data.Complexity();
}

BOOL UpdateLayeredWindow(HWND hwnd, HDC, const TPoint* dstPos, const TSize* size, HDC src,
                         const TPoint* srcPos, COLORREF, const BLENDFUNCTION* blend, DWORD flags)
{
    Byte alpha = blend ? blend->SourceConstantAlpha : 255;
    if (!src || !size) return UpdateLayeredWindowPixels(hwnd, dstPos, nullptr, 0, 0, alpha, flags);
    cairo_surface_t* s = GdiTargetSurface(src);
    if (!s || cairo_surface_get_type(s) != CAIRO_SURFACE_TYPE_IMAGE) return FALSE;
    cairo_surface_flush(s);
    TPoint o = GdiDeviceOrigin(src);
    int sx = o.X + (srcPos ? srcPos->X : 0), sy = o.Y + (srcPos ? srcPos->Y : 0);
    int sw = cairo_image_surface_get_width(s), sh = cairo_image_surface_get_height(s);
    int stride = cairo_image_surface_get_stride(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    bool hasAlpha = cairo_image_surface_get_format(s) == CAIRO_FORMAT_ARGB32 &&
                    blend && (blend->AlphaFormat & AC_SRC_ALPHA);
    std::vector<uint32_t> px(size_t(std::max(0, size->cx)) * size_t(std::max(0, size->cy)), 0);
    for (int y = 0; y < size->cy; ++y)
        for (int x = 0; x < size->cx; ++x) {
            int X = sx + x, Y = sy + y;
            if (X < 0 || Y < 0 || X >= sw || Y >= sh) continue;
            uint32_t v = reinterpret_cast<const uint32_t*>(data + size_t(Y) * size_t(stride))[X];
            px[size_t(y) * size_t(size->cx) + size_t(x)] = hasAlpha ? v : (v | 0xFF000000u);
        }
    return UpdateLayeredWindowPixels(hwnd, dstPos, px.data(), size->cx, size->cy, alpha, flags);
}

// ---------------------------------------------------------------------------
// Default handling

void WmDefaultPaint(HWND hwnd)
{
    PAINTSTRUCT ps;
    BeginPaint(hwnd, &ps);
    EndPaint(hwnd, &ps);
}

LRESULT WmDefaultErase(HWND hwnd, WPARAM hdc)
{
    TWnd* w = WndOf(hwnd);
    HDC dc = reinterpret_cast<HDC>(hdc);
    if (!w || !dc) return 0;
    HBRUSH br = ClassBrush(w);
    if (!br) return 0;
    TRect r = Rect(0, 0, w->client.Width(), w->client.Height());
    FillRect(dc, &r, br);
    return 1;
}

void WmDefaultNcPaint(HWND hwnd)
{
    TWnd* w = WndOf(hwnd);
    if (!w) return;
    if (TRect all = WmFrameInsets(hwnd); all.Left == 0 && all.Top == 0 && all.Right == 0 && all.Bottom == 0) return;
    TRect f = FrameInsets(w->style, w->exStyle);  // the caption ends where the menu bar starts
    HDC dc = GetWindowDC(hwnd);
    if (!dc) return;
    int W = w->rect.Width(), H = w->rect.Height();
    // Everything but the client area.
    ExcludeClipRect(dc, w->client.Left, w->client.Top, w->client.Right, w->client.Bottom);
    TRect all = Rect(0, 0, W, H);
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    HBRUSH frame = GetSysColorBrush(COLOR_BTNSHADOW);
    if (w->style & (WS_BORDER | WS_THICKFRAME | WS_DLGFRAME)) {
        TRect r = all;
        for (TRect e : {Rect(0, 0, W, 1), Rect(0, H - 1, W, H), Rect(0, 0, 1, H), Rect(W - 1, 0, W, H)})
            FillRect(dc, &e, frame);
        (void)r;
    }
    if ((w->style & WS_CAPTION) == WS_CAPTION) {
        int b = f.Left - ((w->exStyle & WS_EX_CLIENTEDGE) ? GetSystemMetrics(SM_CXEDGE) : 0);
        TRect cap = Rect(b, b, W - b, f.Top - ((w->exStyle & WS_EX_CLIENTEDGE) ? GetSystemMetrics(SM_CYEDGE) : 0));
        bool active = WM().active == hwnd;
        FillRect(dc, &cap, GetSysColorBrush(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
        TRect tr = cap;
        tr.Left += 4;
        // The caption buttons, where the hit test answers HTCLOSE,
        // HTMAXBUTTON and HTMINBUTTON; a pressed one shows pushed while the
        // cursor is over it.
        TCaptionButtons cb = WmCaptionButtons(hwnd);
        const TCaptionPress& press = WM().captionPress;
        struct {
            TRect Cell;
            int Hit, Part;
            UINT Glyph;
        } const buttons[] = {
            {cb.Close, HTCLOSE, WP_CLOSEBUTTON, DFCS_CAPTIONCLOSE},
            {cb.Max, HTMAXBUTTON, w->maximized ? WP_RESTOREBUTTON : WP_MAXBUTTON,
             w->maximized ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX},
            {cb.Min, HTMINBUTTON, WP_MINBUTTON, DFCS_CAPTIONMIN},
        };
        HTHEME th = OpenThemeData(hwnd, L"window");
        for (auto& b : buttons) {
            if (IsRectEmpty(b.Cell)) continue;
            tr.Right = std::min<int>(tr.Right, b.Cell.Left);
            TRect btn = b.Cell;
            InflateRect(btn, -2, -2);
            bool pushed = press.hwnd == hwnd && press.hit == b.Hit && press.pushed;
            if (th)
                DrawThemeBackground(th, dc, b.Part, pushed ? CBS_PUSHED : CBS_NORMAL, &btn, nullptr);
            else
                DrawFrameControl(dc, &btn, DFC_CAPTION, b.Glyph | (pushed ? UINT(DFCS_PUSHED) : 0u));
        }
        if (th) CloseThemeData(th);
        DrawText(dc, w->text.c_str(), int(w->text.size()), &tr, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    if (w->style & (WS_VSCROLL | WS_HSCROLL)) WmPaintWindowScrollBars(hwnd, dc);
    if (w->exStyle & WS_EX_CLIENTEDGE) {
        // Around the client area and the bars beside it.
        TRect in = FrameInsets(w->style & ~(WS_VSCROLL | WS_HSCROLL), w->exStyle);
        if (w->menu) in.Top += w->menuBarHeight;
        TRect e = Rect(in.Left, in.Top, W - in.Right, H - in.Bottom);
        InflateRect(e, GetSystemMetrics(SM_CXEDGE), GetSystemMetrics(SM_CYEDGE));
        SelectClipRgn(dc, nullptr);
        ExcludeClipRect(dc, e.Left + 1, e.Top + 1, e.Right - 1, e.Bottom - 1);
        // A sunken edge: shadow on the top and left, light on the bottom and right.
        HBRUSH dark = GetSysColorBrush(COLOR_BTNSHADOW), light = GetSysColorBrush(COLOR_BTNHIGHLIGHT);
        TRect t = Rect(e.Left, e.Top, e.Right, e.Top + 1), l = Rect(e.Left, e.Top, e.Left + 1, e.Bottom);
        TRect b = Rect(e.Left, e.Bottom - 1, e.Right, e.Bottom), r = Rect(e.Right - 1, e.Top, e.Right, e.Bottom);
        FillRect(dc, &t, dark);
        FillRect(dc, &l, dark);
        FillRect(dc, &b, light);
        FillRect(dc, &r, light);
    }
    ReleaseDC(hwnd, dc);
    if (LRESULT r; (w = WndOf(hwnd)) && w->menu) WmMenuBarMessage(hwnd, WM_NCPAINT, 0, 0, r);
}

void WmReleaseSurface(TWnd* w)
{
    if (w->surface) cairo_surface_destroy(static_cast<cairo_surface_t*>(w->surface));
    w->surface = nullptr;
}

// The pixels of a window (client and frame) as they are on its top-level's
// surface, ARGB premultiplied; painting that is due runs first.
bool WmCaptureWindow(HWND hwnd, std::vector<uint32_t>& px, int& width, int& height)
{
    WmUpdateAllWindows();
    TWnd* w = WndOf(hwnd);
    if (!w) return false;
    HWND root = RootOf(hwnd);
    cairo_surface_t* s = SurfaceOf(root);
    WmUpdateAllWindows();
    if (!s) return false;
    cairo_surface_flush(s);
    TRect rr = WindowRectScreen(root), r = WindowRectScreen(hwnd);
    width = r.Width();
    height = r.Height();
    px.assign(size_t(std::max(0, width)) * size_t(std::max(0, height)), 0);
    int sw = cairo_image_surface_get_width(s), sh = cairo_image_surface_get_height(s);
    int stride = cairo_image_surface_get_stride(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            int X = r.Left - rr.Left + x, Y = r.Top - rr.Top + y;
            if (X < 0 || Y < 0 || X >= sw || Y >= sh) continue;
            px[size_t(y) * size_t(width) + size_t(x)] =
                reinterpret_cast<const uint32_t*>(data + size_t(Y) * size_t(stride))[X];
        }
    return true;
}

namespace {
inline uint32_t Over(uint32_t src, uint32_t dst)
{
    uint32_t a = src >> 24;
    auto ch = [&](int shift) {
        uint32_t s = (src >> shift) & 0xFF, d = (dst >> shift) & 0xFF;
        return std::min<uint32_t>(255, s + (d * (255 - a) + 127) / 255);
    };
    return (ch(24) << 24) | (ch(16) << 16) | (ch(8) << 8) | ch(0);
}
inline uint32_t Scale(uint32_t p, uint32_t alpha)
{
    auto ch = [&](int shift) { return ((((p >> shift) & 0xFF) * alpha + 127) / 255) << shift; };
    return ch(24) | ch(16) | ch(8) | ch(0);
}
}  // namespace

// The whole screen as the compositor shows it: top-level windows from the
// bottom up, layered ones blended by their alpha, colour key or pixels.
void WmComposeScreen(std::vector<uint32_t>& px, int width, int height, uint32_t desktop)
{
    WmUpdateAllWindows();
    px.assign(size_t(width) * size_t(height), desktop);
    std::vector<HWND> tops;
    {
        std::lock_guard<std::recursive_mutex> g(WM().lock);
        tops = WM().topLevels;
    }
    for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
        TWnd* w = WndOf(*it);
        if (!w || !(w->style & WS_VISIBLE) || w->minimized) continue;
        TRect r = w->rect;
        bool perPixel = (w->exStyle & WS_EX_LAYERED) && !w->layeredPixels.empty() && !w->layeredAttr;
        std::vector<uint32_t> own;
        int ow = 0, oh = 0;
        if (perPixel) {
            own = w->layeredPixels;
            ow = w->layeredW;
            oh = w->layeredH;
        } else if (!WmCaptureWindow(*it, own, ow, oh)) {
            continue;
        }
        uint32_t alpha = 255;
        bool key = false;
        COLORREF keyColor = 0;
        if (w->exStyle & WS_EX_LAYERED) {
            if (perPixel || (w->layeredAttr && (w->layeredFlags & LWA_ALPHA))) alpha = w->layeredAlpha;
            if (w->layeredAttr && (w->layeredFlags & LWA_COLORKEY)) {
                key = true;
                keyColor = w->layeredKey;
            }
        }
        for (int y = 0; y < oh; ++y)
            for (int x = 0; x < ow; ++x) {
                int X = r.Left + x, Y = r.Top + y;
                if (X < 0 || Y < 0 || X >= width || Y >= height) continue;
                if (!w->region.empty()) {
                    bool in = false;
                    for (auto& rg : w->region) in |= PtInRect(rg, {x, y});
                    if (!in) continue;
                }
                uint32_t p = own[size_t(y) * size_t(ow) + size_t(x)];
                if (!perPixel) p |= 0xFF000000u;  // painted windows are opaque
                if (key) {
                    COLORREF c = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
                    if (c == keyColor) continue;
                }
                uint32_t& d = px[size_t(Y) * size_t(width) + size_t(X)];
                d = Over(alpha == 255 ? p : Scale(p, alpha), d);
            }
    }
}
