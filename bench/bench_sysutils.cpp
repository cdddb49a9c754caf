// Text formatting and comparison costs: these run for every visible grid
// cell and every comparison of a sort. Each routine is timed beside its peer
// from the C or C++ library doing the same job on the same inputs, in
// alternating rounds; the table shows the medians and their ratio.
#include <benchmark/benchmark.h>
#include <string.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "platform/base/SysUtils.h"
#include "BenchStats.h"

namespace {

using Clock = std::chrono::steady_clock;

// Times ours and the peer in alternating rounds; each call of a function does
// `ops` operations. Prints ns per operation and the ratio against the goal.
void Pair(const char* name, const char* peerName, size_t ops, double goal, const std::function<void()>& ours,
          const std::function<void()>& peer)
{
    const auto [ma, mb] = TimeSideBySide(ops, ours, peer);
    const double ratio = ma / mb;
    std::printf("%-28s %8.1f ns   %-28s %8.1f ns   ratio %5.2f  (goal %.1fx: %s)\n", name, ma, peerName, mb, ratio,
                goal, ratio <= goal ? "met" : "missed");
}

std::vector<double> Values()
{
    // Ordinary magnitudes with all the digits a computed value has.
    std::mt19937_64 rng(7);
    std::vector<double> v(4096);
    for (auto& x : v) x = std::uniform_real_distribution<double>(0, 1e6)(rng);
    return v;
}

// Names as a download list holds them: shared stems, numbers, an accent or a
// capital here and there.
std::vector<String> Names()
{
    std::mt19937 rng(11);
    const wchar_t* stems[] = {L"Video ", L"video ", L"Clip ", L"Episode ", L"\u00C9pisode ", L"Tutorial part ",
                              L"Holiday 2024 ", L"Caf\u00E9 concert ", L"lecture ", L"Lecture "};
    const wchar_t* tails[] = {L" - part one.mp4", L" - part two.mp4", L".mp4", L" (final).webm", L" HD.mkv",
                              L"_draft.mp4"};
    std::vector<String> names;
    for (int i = 0; i < 2048; ++i) {
        String s = stems[rng() % std::size(stems)];
        s += IntToStr(Integer(rng() % 200));
        s += tails[rng() % std::size(tails)];
        names.push_back(s);
    }
    return names;
}

void NumberTexts()
{
    const std::vector<double> values = Values();
    char buf[64];
    const size_t n = values.size();
    auto toChars = [&](std::chars_format f, int precision) {
        return [&values, &buf, f, precision] {
            for (double v : values)
                benchmark::DoNotOptimize(std::to_chars(buf, buf + sizeof buf, v, f, precision).ptr);
        };
    };
    Pair("FloatToStr", "to_chars(general, 15)", n, 2.0,
         [&] {
             for (double v : values) benchmark::DoNotOptimize(FloatToStr(v));
         },
         toChars(std::chars_format::general, 15));
    Pair("FloatToStr", "to_chars(shortest)", n, 2.0,
         [&] {
             for (double v : values) benchmark::DoNotOptimize(FloatToStr(v));
         },
         [&] {
             for (double v : values) benchmark::DoNotOptimize(std::to_chars(buf, buf + sizeof buf, v).ptr);
         });
    Pair("Format(\"%.2f\")", "to_chars(fixed, 2)", n, 2.0,
         [&] {
             for (double v : values) benchmark::DoNotOptimize(Format(L"%.2f", {v}));
         },
         toChars(std::chars_format::fixed, 2));
    Pair("FormatFloat(\"#,##0.00\")", "to_chars(fixed, 2)", n, 2.0,
         [&] {
             for (double v : values) benchmark::DoNotOptimize(FormatFloat(L"#,##0.00", v));
         },
         toChars(std::chars_format::fixed, 2));
}

void Comparisons()
{
    const std::vector<String> names = Names();
    std::vector<std::string> narrow;
    for (auto& s : names) narrow.push_back(UTF8Encode(s));
    std::mt19937 rng(5);
    std::vector<std::pair<size_t, size_t>> pairs(4096);
    for (auto& p : pairs) p = {rng() % names.size(), rng() % names.size()};
    Pair("AnsiCompareText", "wcscmp", pairs.size(), 2.0,
         [&] {
             for (auto& p : pairs) benchmark::DoNotOptimize(AnsiCompareText(names[p.first], names[p.second]));
         },
         [&] {
             for (auto& p : pairs)
                 benchmark::DoNotOptimize(wcscmp(names[p.first].c_str(), names[p.second].c_str()));
         });
    // Neighbours in sorted order: long shared stems, as the last steps of a sort.
    std::vector<size_t> order(names.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(), [&](size_t x, size_t y) { return names[x] < names[y]; });
    std::vector<std::pair<size_t, size_t>> near;
    for (size_t i = 0; i + 1 < order.size(); ++i) near.push_back({order[i], order[i + 1]});
    Pair("AnsiCompareText (sorted)", "wcscmp", near.size(), 2.0,
         [&] {
             for (auto& p : near) benchmark::DoNotOptimize(AnsiCompareText(names[p.first], names[p.second]));
         },
         [&] {
             for (auto& p : near)
                 benchmark::DoNotOptimize(wcscmp(names[p.first].c_str(), names[p.second].c_str()));
         });
    Pair("StrCmpLogicalW (sorted)", "strverscmp", near.size(), 3.0,
         [&] {
             for (auto& p : near)
                 benchmark::DoNotOptimize(StrCmpLogicalW(names[p.first].c_str(), names[p.second].c_str()));
         },
         [&] {
             for (auto& p : near)
                 benchmark::DoNotOptimize(strverscmp(narrow[p.first].c_str(), narrow[p.second].c_str()));
         });
    Pair("StrCmpLogicalW", "strverscmp", pairs.size(), 3.0,
         [&] {
             for (auto& p : pairs)
                 benchmark::DoNotOptimize(StrCmpLogicalW(names[p.first].c_str(), names[p.second].c_str()));
         },
         [&] {
             for (auto& p : pairs)
                 benchmark::DoNotOptimize(strverscmp(narrow[p.first].c_str(), narrow[p.second].c_str()));
         });
}

void BM_FormatDateTime(benchmark::State& state)
{
    TDateTime v = EncodeDateTime(2026, 3, 7, 14, 5, 9, 45);
    for (auto _ : state) {
        benchmark::DoNotOptimize(FormatDateTime(L"yyyy-mm-dd hh:nn:ss", v));
        v += 0.0001;
    }
}
BENCHMARK(BM_FormatDateTime);

}  // namespace

int main(int argc, char** argv)
{
    std::printf("Medians of 21 alternating rounds, per operation:\n");
    NumberTexts();
    Comparisons();
    std::fflush(stdout);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
