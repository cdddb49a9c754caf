// Helpers the common-control window classes share.
#pragma once

#include <algorithm>
#include <cstring>

#include "platform/ui/Windows.h"

LRESULT HeaderWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
LRESULT ListViewWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
LRESULT DateTimePickWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
LRESULT MonthCalWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);

// The window a dropped-down month calendar reports to (its picker).
inline constexpr const wchar_t* kMonthCalOwnerProp = L"VelMonthCalOwner";

// Copies text into a caller's buffer of size characters, cut to fit and
// zero-ended; answers the characters copied.
inline int CopyToBuffer(const String& text, wchar_t* buf, int size)
{
    if (!buf || size <= 0) return 0;
    int n = std::min(int(text.size()), size - 1);
    if (n > 0) std::memcpy(buf, text.data(), size_t(n) * sizeof(wchar_t));
    buf[n] = 0;
    return n;
}

// The height of a line of text in the font (the stock GUI font when none).
inline int LineHeightOf(HWND h, HFONT font)
{
    HDC dc = GetDC(h);
    HGDIOBJ old = SelectObject(dc, font ? HGDIOBJ(font) : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW tm{};
    GetTextMetrics(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(h, dc);
    return std::max<int>(tm.tmHeight, 1);
}

inline int TextWidthOf(HWND h, HFONT font, const String& text)
{
    HDC dc = GetDC(h);
    HGDIOBJ old = SelectObject(dc, font ? HGDIOBJ(font) : GetStockObject(DEFAULT_GUI_FONT));
    SIZE sz{};
    GetTextExtentPoint32(dc, text.c_str(), int(text.size()), &sz);
    SelectObject(dc, old);
    ReleaseDC(h, dc);
    return sz.cx;
}

// Sends a WM_NOTIFY whose record starts with hdr to the window's parent.
inline LRESULT SendNotify(HWND h, NMHDR& hdr, int code)
{
    hdr.hwndFrom = h;
    hdr.idFrom = UINT_PTR(GetWindowLong(h, GWL_ID));
    hdr.code = code;
    HWND parent = GetParent(h);
    return parent ? SendMessage(parent, WM_NOTIFY, WPARAM(hdr.idFrom), LPARAM(&hdr)) : 0;
}

// Registers a class unless a class of that name with that procedure is.
inline void RegisterControlClass(const wchar_t* name, WNDPROC proc, UINT style, int cursor = int(IDC_ARROW))
{
    WNDCLASS existing;
    if (GetClassInfo(nullptr, name, &existing) && existing.lpfnWndProc == proc) return;
    WNDCLASS wc;
    wc.style = style;
    wc.lpfnWndProc = proc;
    wc.hCursor = LoadCursor(nullptr, uintptr_t(cursor));
    wc.lpszClassName = name;
    RegisterClass(wc);
}
