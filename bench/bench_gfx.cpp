// Drawing speed of the device-context layer: filling small rectangles,
// short texts (with the font and layout caches warm), and full-HD blits.
// Before the registered benchmarks, a full-HD plain BitBlt is timed beside a
// memcpy of the same bytes, rounds interleaved, and the ratio printed.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/gfx/Gdi.h"
#include "BenchStats.h"

namespace {

struct TMemDC {
    HDC Dc;
    HBITMAP Bmp;
    HGDIOBJ Old;
    TMemDC(int w, int h)
    {
        Dc = CreateCompatibleDC(nullptr);
        Bmp = CreateCompatibleBitmap(nullptr, w, h);
        Old = SelectObject(Dc, Bmp);
    }
    ~TMemDC()
    {
        SelectObject(Dc, Old);
        DeleteObject(Bmp);
        DeleteDC(Dc);
    }
};

void BM_Fill1000SmallRects(benchmark::State& state)
{
    TMemDC m(800, 600);
    HBRUSH b = CreateSolidBrush(RGB(10, 120, 200));
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i) {
            RECT r{(i * 37) % 780, (i * 53) % 580, (i * 37) % 780 + 16, (i * 53) % 580 + 16};
            FillRect(m.Dc, &r, b);
        }
    }
    DeleteObject(b);
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_Fill1000SmallRects)->Unit(benchmark::kMicrosecond);

void BM_Draw1000ShortTexts(benchmark::State& state)
{
    TMemDC m(800, 600);
    HFONT f = CreateFont(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    SelectObject(m.Dc, f);
    SetBkMode(m.Dc, TRANSPARENT);
    wchar_t text[32];
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i) {
            int n = swprintf(text, 32, L"Item %d", i % 50);
            TextOut(m.Dc, (i * 37) % 700, (i * 53) % 580, text, n);
        }
    }
    SelectObject(m.Dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(f);
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_Draw1000ShortTexts)->Unit(benchmark::kMicrosecond);

void BM_RepeatSameText(benchmark::State& state)
{
    TMemDC m(400, 100);
    HFONT f = CreateFont(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    SelectObject(m.Dc, f);
    SetBkMode(m.Dc, TRANSPARENT);
    for (auto _ : state) TextOut(m.Dc, 10, 10, L"Download complete", 17);
    SelectObject(m.Dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(f);
}
BENCHMARK(BM_RepeatSameText)->Unit(benchmark::kMicrosecond);

void BM_RepeatDrawTextCentred(benchmark::State& state)
{
    TMemDC m(400, 100);
    HFONT f = CreateFont(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    SelectObject(m.Dc, f);
    SetBkMode(m.Dc, TRANSPARENT);
    for (auto _ : state) {
        RECT r{0, 0, 400, 30};
        DrawText(m.Dc, L"&Cancel", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    SelectObject(m.Dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(f);
}
BENCHMARK(BM_RepeatDrawTextCentred)->Unit(benchmark::kMicrosecond);

void BM_MeasureSameText(benchmark::State& state)
{
    TMemDC m(10, 10);
    HFONT f = CreateFont(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    SelectObject(m.Dc, f);
    SIZE s;
    for (auto _ : state) {
        GetTextExtentPoint32(m.Dc, L"Download complete", 17, &s);
        benchmark::DoNotOptimize(s);
    }
    SelectObject(m.Dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(f);
}
BENCHMARK(BM_MeasureSameText)->Unit(benchmark::kMicrosecond);

void BM_Blit1920x1080(benchmark::State& state)
{
    TMemDC a(1920, 1080), b(1920, 1080);
    for (auto _ : state) BitBlt(b.Dc, 0, 0, 1920, 1080, a.Dc, 0, 0, SRCCOPY);
}
BENCHMARK(BM_Blit1920x1080)->Unit(benchmark::kMicrosecond);

void BM_MemcpyOf1920x1080(benchmark::State& state)
{
    std::vector<uint32_t> a(1920 * 1080, 0x123456), b(1920 * 1080);
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), a.size() * 4);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MemcpyOf1920x1080)->Unit(benchmark::kMicrosecond);

// BitBlt of a full-HD bitmap beside memcpy of its bytes between two buffers
// as large, each round timing both.
void CompareBlitWithMemcpy()
{
    constexpr int W = 1920, H = 1080, kRounds = 31, kReps = 20;
    TMemDC a(W, H), b(W, H);
    HBRUSH br = CreateSolidBrush(RGB(10, 120, 200));
    RECT all{0, 0, W, H};
    FillRect(a.Dc, &all, br);
    DeleteObject(br);
    std::vector<uint32_t> ma(size_t(W) * H, 0xFF0A78C8u), mb(size_t(W) * H);
    using Clock = std::chrono::steady_clock;
    std::vector<double> blit, copy;
    for (int r = 0; r < kRounds; ++r) {
        auto t0 = Clock::now();
        for (int i = 0; i < kReps; ++i) BitBlt(b.Dc, 0, 0, W, H, a.Dc, 0, 0, SRCCOPY);
        auto t1 = Clock::now();
        for (int i = 0; i < kReps; ++i) {
            std::memcpy(mb.data(), ma.data(), ma.size() * 4);
            benchmark::ClobberMemory();
        }
        auto t2 = Clock::now();
        blit.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count() / kReps);
        copy.push_back(std::chrono::duration<double, std::micro>(t2 - t1).count() / kReps);
    }
    double mb_ = Median(blit), mc = Median(copy);
    std::printf("BitBlt 1920x1080 SRCCOPY: %.1f us, memcpy of the same bytes: %.1f us, ratio %.2fx (goal <= 1.50x)\n",
                mb_, mc, mb_ / mc);
}

}  // namespace

int main(int argc, char** argv)
{
    CompareBlitWithMemcpy();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
