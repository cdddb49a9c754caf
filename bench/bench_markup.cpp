// The markup engine's costs.
//  - Cost follows text length: measuring (CheckHeight) 4,000 paragraphs
//    should cost within 120 times measuring 40 of them.
//  - Engine overhead: laying out and drawing a 40-word markup text (bold, a
//    colour, a link, an image) into 300 pixels should cost within 4 times
//    drawing the same 40 words with one DrawText call each at the positions
//    the engine gave them.
// Rounds alternate between the two sides; medians and ratios are printed.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "controls/markup/MarkupEngine.h"
#include "platform/gfx/Gdi.h"
#include "BenchStats.h"

namespace {

using Clock = std::chrono::steady_clock;

template <class F>
double Microseconds(F&& f)
{
    const auto start = Clock::now();
    f();
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

struct TScreenCanvas {
    HDC Dc = CreateCompatibleDC(nullptr);
    HBITMAP Bmp;
    HGDIOBJ Old;
    TCanvas Canvas;
    TScreenCanvas(int w, int h) : Bmp(CreateCompatibleBitmap(nullptr, w, h)), Old(SelectObject(Dc, Bmp))
    {
        Canvas.SetHandle(Dc);
        Canvas.Font()->SetName(L"Tahoma");
        Canvas.Font()->SetSize(9);
    }
    ~TScreenCanvas()
    {
        Canvas.SetHandle(nullptr);
        SelectObject(Dc, Old);
        DeleteObject(Bmp);
        DeleteDC(Dc);
    }
};

String Paragraphs(int n)
{
    String s;
    for (int i = 0; i < n; ++i)
        s += L"<P>Paragraph " + IntToStr(i) +
             L" with <B>bold</B> words, a <FONT color=\"clred\">coloured</FONT> part and a "
             L"<A href=\"http://x\">link</A> to follow.</P>";
    return s;
}

void BM_MeasureScalesWithLength(benchmark::State& state)
{
    TScreenCanvas screen(400, 300);
    const String small = Paragraphs(40), large = Paragraphs(4000);
    std::vector<double> smalls, larges;
    auto measure = [&](const String& text) {
        TMarkupParams p;
        p.Canvas = &screen.Canvas;
        p.Text = text;
        p.Rect = TRect{0, 0, 300, 300};
        p.CheckHeight = true;
        RenderMarkup(p);
        benchmark::DoNotOptimize(p.YSize);
    };
    for (auto _ : state) {
        smalls.push_back(Microseconds([&] { measure(small); }));
        larges.push_back(Microseconds([&] { measure(large); }));
    }
    const double s = Median(smalls), l = Median(larges);
    state.counters["ratio"] = s > 0 ? l / s : 0;
    std::printf("CheckHeight of 4,000 paragraphs %.0f us, of 40 paragraphs %.0f us: ratio %.1f (goal <= 120)\n", l,
                s, s > 0 ? l / s : 0);
}
BENCHMARK(BM_MeasureScalesWithLength)->Iterations(7)->Unit(benchmark::kMillisecond);

void BM_EngineAgainstPlainDrawText(benchmark::State& state)
{
    TScreenCanvas screen(400, 300);
    TImageList images;
    TBitmap glyph(16, 16);
    images.Add(&glyph, nullptr);
    const String text =
        L"The <B>markup engine</B> lays out this short text of forty words with a "
        L"<FONT color=\"#C00000\">coloured phrase</FONT>, a <A href=\"http://example\">link to follow</A> "
        L"and a small <IMG src=\"idx:0\"> image, wrapping it into lines that fit three hundred pixels "
        L"so that the reader sees one tidy paragraph in the end.";
    auto render = [&] {
        TMarkupParams p;
        p.Canvas = &screen.Canvas;
        p.Text = text;
        p.Rect = TRect{0, 0, 300, 300};
        p.Images = &images;
        RenderMarkup(p);
    };
    // The runs and where the engine put them.
    GdiStartRecording(screen.Dc);
    render();
    struct TRun {
        String Text;
        TRect R;
        UINT Flags;
    };
    std::vector<TRun> runs;
    for (const TGdiRecord& r : GdiRecords(screen.Dc))
        if (r.Kind == L"DrawText") runs.push_back({r.Text, r.Rect, r.Flags});
    GdiStopRecording(screen.Dc);
    GdiClearRecords(screen.Dc);
    std::vector<double> engine, plain;
    for (auto _ : state) {
        engine.push_back(Microseconds(render));
        plain.push_back(Microseconds([&] {
            for (TRun& r : runs) {
                TRect rect = r.R;
                screen.Canvas.RequireState();
                DrawTextStr(screen.Dc, r.Text, &rect, r.Flags);
            }
        }));
    }
    const double e = Median(engine), d = Median(plain);
    state.counters["ratio"] = d > 0 ? e / d : 0;
    std::printf("40 words of markup into 300 px: %.1f us; the same %zu runs by DrawText: %.1f us; ratio %.2f "
                "(goal <= 4)\n",
                e, runs.size(), d, d > 0 ? e / d : 0);
}
BENCHMARK(BM_EngineAgainstPlainDrawText)->Iterations(300)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
