// Small helpers for pixel tests on memory bitmaps.
#pragma once

#include <string>

#include "platform/gfx/Gdi.h"

// A memory DC with a w x h bitmap filled white; frees both on destruction.
struct TTestCanvas {
    HDC Dc = nullptr;
    HBITMAP Bmp = nullptr;
    HGDIOBJ Old = nullptr;
    TTestCanvas(int w, int h, COLORREF fill = RGB(255, 255, 255))
    {
        Dc = CreateCompatibleDC(nullptr);
        Bmp = CreateCompatibleBitmap(nullptr, w, h);
        Old = SelectObject(Dc, Bmp);
        RECT r{0, 0, w, h};
        HBRUSH b = CreateSolidBrush(fill);
        FillRect(Dc, &r, b);
        DeleteObject(b);
    }
    ~TTestCanvas()
    {
        SelectObject(Dc, Old);
        DeleteObject(Bmp);
        DeleteDC(Dc);
    }
    COLORREF Px(int x, int y) const { return GetPixel(Dc, x, y); }
    // One character per pixel of row y, from x0 to x1 (exclusive): '#' where
    // the pixel has colour c, '.' elsewhere.
    std::string Row(int y, int x0, int x1, COLORREF c) const
    {
        std::string s;
        for (int x = x0; x < x1; ++x) s += GetPixel(Dc, x, y) == c ? '#' : '.';
        return s;
    }
    int Count(COLORREF c, int w, int h) const
    {
        int n = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) n += GetPixel(Dc, x, y) == c;
        return n;
    }
};

// A pen or brush selected for the life of the guard.
struct TSelect {
    HDC Dc;
    HGDIOBJ Obj, Old;
    TSelect(HDC dc, HGDIOBJ obj) : Dc(dc), Obj(obj), Old(SelectObject(dc, obj)) {}
    ~TSelect()
    {
        SelectObject(Dc, Old);
        DeleteObject(Obj);
    }
};
