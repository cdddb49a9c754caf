// The stepped gradient against one plain fill: DrawGradient with 128 steps
// over a full-HD rectangle should cost within 1.5 times one FillRect of the
// same rectangle on the same canvas. Rounds alternate between the two; the
// medians and their ratio are reported (counter "ratio", and printed).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "controls/foundation/VodUtil.h"
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

// A canvas on a screen-compatible memory bitmap, as an off-screen paint
// buffer or a window's paint DC gives (a DIB section would add a copy of
// its bits to every call, the same for both sides).
struct TScreenCanvas {
    HDC Dc = CreateCompatibleDC(nullptr);
    HBITMAP Bmp;
    HGDIOBJ Old;
    TCanvas Canvas;
    TScreenCanvas(int w, int h) : Bmp(CreateCompatibleBitmap(nullptr, w, h)), Old(SelectObject(Dc, Bmp))
    {
        Canvas.SetHandle(Dc);
    }
    ~TScreenCanvas()
    {
        Canvas.SetHandle(nullptr);
        SelectObject(Dc, Old);
        DeleteObject(Bmp);
        DeleteDC(Dc);
    }
};

void BM_GradientAgainstFillRect(benchmark::State& state)
{
    TScreenCanvas screen(1920, 1080);
    TCanvas* canvas = &screen.Canvas;
    const TRect r = Rect(0, 0, 1920, 1080);
    const bool direction = state.range(0) != 0;
    // For reference: the gradient's 129 bands as plain FillRect calls in one
    // colour, what any one-fill-per-band drawing costs at least.
    const int extent = (direction ? r.Right : r.Bottom) - 1;
    const double band = extent / 128.0;
    std::vector<double> fills, gradients, strips;
    for (auto _ : state) {
        fills.push_back(Microseconds([&] {
            canvas->Brush()->SetColor(clSilver);
            canvas->FillRect(r);
        }));
        gradients.push_back(Microseconds([&] { DrawGradient(canvas, TColor(0xF0E0D0), TColor(0x603010), 128, r, direction); }));
        strips.push_back(Microseconds([&] {
            canvas->Brush()->SetColor(clGray);
            for (int i = 0; i <= 128; ++i) {
                const int offset = int(i * band), size = int(band + 1);
                canvas->FillRect(direction ? Rect(offset, 0, std::min(r.Right, offset + size), r.Bottom)
                                           : Rect(0, offset, r.Right, std::min(r.Bottom, offset + size)));
            }
        }));
    }
    const double fill = Median(fills), gradient = Median(gradients), strip = Median(strips);
    state.counters["fillrect_us"] = fill;
    state.counters["gradient_us"] = gradient;
    state.counters["bands_us"] = strip;
    state.counters["ratio"] = fill > 0 ? gradient / fill : 0;
    std::printf("DrawGradient 128 steps %s over 1920x1080: %.1f us, FillRect %.1f us, ratio %.2f (goal <= 1.5); "
                "its 129 bands as plain FillRects %.1f us (%.2f of one FillRect)\n",
                direction ? "left to right" : "top to bottom", gradient, fill, fill > 0 ? gradient / fill : 0, strip,
                fill > 0 ? strip / fill : 0);
}
BENCHMARK(BM_GradientAgainstFillRect)->Arg(1)->Arg(0)->Iterations(200)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
