// Text formatting and comparison costs: these run for every visible grid
// cell and every comparison of a sort.
#include <benchmark/benchmark.h>

#include "platform/base/SysUtils.h"

static void BM_FloatToStr(benchmark::State& state)
{
    double v = 1234.5678;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FloatToStr(v));
        v += 0.001;
    }
}
BENCHMARK(BM_FloatToStr);

static void BM_FormatFixed(benchmark::State& state)
{
    double v = 1234.5678;
    for (auto _ : state) {
        benchmark::DoNotOptimize(Format(L"%.2f MB", {v}));
        v += 0.001;
    }
}
BENCHMARK(BM_FormatFixed);

static void BM_FormatFloatMask(benchmark::State& state)
{
    double v = 1234567.891;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FormatFloat(L"#,##0.00", v));
        v += 0.01;
    }
}
BENCHMARK(BM_FormatFloatMask);

static void BM_FormatDateTime(benchmark::State& state)
{
    TDateTime v = EncodeDateTime(2026, 3, 7, 14, 5, 9, 45);
    for (auto _ : state) {
        benchmark::DoNotOptimize(FormatDateTime(L"yyyy-mm-dd hh:nn:ss", v));
        v += 0.0001;
    }
}
BENCHMARK(BM_FormatDateTime);

static void BM_AnsiCompareText(benchmark::State& state)
{
    const String a = L"Video \u00E9pisode 12 - part one.mp4", b = L"Video Episode 12 - part two.mp4";
    for (auto _ : state) benchmark::DoNotOptimize(AnsiCompareText(a, b));
}
BENCHMARK(BM_AnsiCompareText);

static void BM_StrCmpLogicalW(benchmark::State& state)
{
    const String a = L"clip 0009 of 120.mp4", b = L"clip 10 of 120.mp4";
    for (auto _ : state) benchmark::DoNotOptimize(StrCmpLogicalW(a.c_str(), b.c_str()));
}
BENCHMARK(BM_StrCmpLogicalW);

BENCHMARK_MAIN();
