// The value classifier runs on every cell a grid sorts, filters or formats.
// It is timed over a million mixed cell texts (integers, floats with
// separators, dates, times, words) beside one pass over the same texts that
// only counts their digits, in alternating rounds; the ratio of the medians
// is printed against its goal. A digit is what the classifier takes for one:
// a character of a Unicode number category (within ASCII 0..9), tested inline
// for ASCII as the classifier does. The ratio against a count of the ASCII
// digits alone, a loop the compiler vectorises, is printed beside it.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

#include "controls/foundation/VodUtil.h"
#include "platform/base/Unicode.h"
#include "BenchStats.h"

namespace {

using Clock = std::chrono::steady_clock;

std::vector<String> CellTexts()
{
    std::mt19937 rng(2111);
    auto num = [&](int lo, int hi) { return IntToStr(Integer(std::uniform_int_distribution<int>(lo, hi)(rng))); };
    const wchar_t* words[] = {L"Video", L"download", L"Episode 12", L"n/a", L"done", L"Caf\u00E9", L"e5", L"-"};
    std::vector<String> texts;
    texts.reserve(1000000);
    for (int i = 0; i < 1000000; ++i) {
        switch (rng() % 6) {
        case 0: texts.push_back(num(-100000, 1000000)); break;
        case 1: texts.push_back(num(1, 999) + L"," + num(100, 999) + L"." + num(0, 99)); break;
        case 2: texts.push_back(num(1, 12) + L"/" + num(1, 28) + L"/" + num(1990, 2030)); break;
        case 3: texts.push_back(num(0, 23) + L":" + num(10, 59) + L":" + num(10, 59)); break;
        case 4: texts.push_back(num(1, 9) + L"." + num(0, 999) + L"e" + num(-20, 20)); break;
        default: texts.push_back(words[rng() % std::size(words)]); break;
        }
    }
    return texts;
}

void BM_ClassifyAgainstDigitCount(benchmark::State& state)
{
    const std::vector<String> texts = CellTexts();
    TFormatSettingsScope saved;
    FormatSettings.ThousandSeparator = L',';
    FormatSettings.DecimalSeparator = L'.';
    FormatSettings.DateSeparator = L'/';
    FormatSettings.TimeSeparator = L':';

    auto classify = [&] {
        size_t sum = 0;
        for (const String& s : texts) sum += ClassifyValueText(s);
        benchmark::DoNotOptimize(sum);
    };
    auto countDigits = [&] {
        size_t sum = 0;
        for (const String& s : texts)
            for (Char c : s) sum += uint32_t(c) < 0x80 ? uint32_t(c) - L'0' < 10 : IsUnicodeNumber(c);
        benchmark::DoNotOptimize(sum);
    };
    auto countAsciiDigits = [&] {
        size_t sum = 0;
        for (const String& s : texts)
            for (Char c : s) sum += c >= L'0' && c <= L'9';
        benchmark::DoNotOptimize(sum);
    };
    auto time = [](const std::function<void()>& f) {
        auto t0 = Clock::now();
        f();
        return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
    };
    std::vector<double> ours, peer, ascii;
    for (auto _ : state) {
        // Rotate the order so that no routine always runs first.
        switch (ours.size() % 3) {
        case 0:
            ours.push_back(time(classify));
            peer.push_back(time(countDigits));
            ascii.push_back(time(countAsciiDigits));
            break;
        case 1:
            peer.push_back(time(countDigits));
            ascii.push_back(time(countAsciiDigits));
            ours.push_back(time(classify));
            break;
        default:
            ascii.push_back(time(countAsciiDigits));
            ours.push_back(time(classify));
            peer.push_back(time(countDigits));
            break;
        }
    }
    const double a = Median(ours), b = Median(peer), c = Median(ascii), ratio = a / b;
    state.counters["ratio"] = ratio;
    state.counters["ratio_ascii"] = a / c;
    std::printf("ClassifyValueText over 1,000,000 cell texts: %.2f ms, digit count %.2f ms, ratio %.2f "
                "(goal <= 2.0): %s; against the ASCII-only digit count %.2f ms: ratio %.2f\n",
                a, b, ratio, ratio <= 2.0 ? "met" : "missed", c, a / c);
}

}  // namespace

BENCHMARK(BM_ClassifyAgainstDigitCount)->Iterations(21)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
