// A canvas on a white bitmap with fixed-metrics fonts (every character 8
// wide, 16 high) that records the drawing calls, and the markup parameters
// for it.
#pragma once

#include <vector>

#include "controls/markup/MarkupEngine.h"
#include "platform/gfx/Gdi.h"
#include "tests/platform/gfx/GdiTestUtil.h"

struct TMarkupCanvas {
    TTestCanvas Surface;
    TCanvas Canvas;
    explicit TMarkupCanvas(int w = 400, int h = 200) : Surface(w, h)
    {
        SetFixedMetricsFonts(true);
        Canvas.SetHandle(Surface.Dc);
        Canvas.Font()->SetName(L"Arial");
        Canvas.Font()->SetColor(clBlack);
        Canvas.Brush()->SetColor(clWhite);
        GdiStartRecording(Surface.Dc);
    }
    ~TMarkupCanvas()
    {
        Canvas.SetHandle(nullptr);
        SetFixedMetricsFonts(false);
    }
    TMarkupParams Params(const String& text, TRect r = TRect{0, 0, 200, 100})
    {
        TMarkupParams p;
        p.Canvas = &Canvas;
        p.Text = text;
        p.Rect = r;
        return p;
    }
    std::vector<TGdiRecord> Records(const wchar_t* kind) const
    {
        std::vector<TGdiRecord> out;
        for (const TGdiRecord& r : GdiRecords(Surface.Dc))
            if (r.Kind == kind) out.push_back(r);
        return out;
    }
    // The drawn runs, "text@x,bottom" each.
    std::vector<std::wstring> Runs() const
    {
        std::vector<std::wstring> out;
        for (const TGdiRecord& r : Records(L"DrawText"))
            out.push_back(r.Text + L"@" + std::to_wstring(r.Rect.Left) + L"," + std::to_wstring(r.Rect.Bottom));
        return out;
    }
    void Clear() { GdiClearRecords(Surface.Dc); }
};
