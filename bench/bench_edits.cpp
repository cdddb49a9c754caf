// The edit family's costs.
//  - Lookup refresh: refreshing the lookup list of an edit over 100,000
//    display entries of which 1,000 match should cost within 2 times a bare
//    loop that upper-cases and searches the same entries.
//  - History store: saving a lookup edit's history of 1,000 entries to an
//    INI file should cost within 3 times writing the same values through one
//    TMemIniFile and one UpdateFile (one safe file write per save).
// Rounds alternate between the two sides; medians and ratios are printed.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "BenchStats.h"
#include "controls/edits/VodEdit.h"
#include "controls/edits/vodlued.h"
#include "platform/base/IniFiles.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/backend/Headless.h"

namespace {

void BM_LookupRefresh(benchmark::State& state)
{
    THeadlessDriver drv;
    InitForms();
    TForm* form = new TForm(Application);
    form->Init();
    form->SetBounds(0, 0, 400, 200);
    form->Show();
    auto* e = new TVodEdit(form);
    e->SetParent(form);
    e->SetBounds(10, 10, 200, 22);
    e->Lookup()->SetEnabled(true);
    TStringList* list = e->Lookup()->DisplayList();
    list->SetDuplicates(dupAccept);
    std::vector<String> entries;
    for (int i = 0; i < 100000; ++i) {
        // Every hundredth entry starts with the text typed.
        String s = (i % 100 == 0 ? L"match " : L"other ") + IntToStr(i) + L" entry of the lookup list";
        entries.push_back(s);
    }
    list->BeginUpdate();
    for (const String& s : entries) list->Add(s);
    list->EndUpdate();
    e->HandleNeeded();
    SetWindowText(e->Handle(), L"match");
    size_t found = 0;
    for (auto _ : state) {
        const auto [ours, peer] = TimeSideBySide(
            1, [&] { e->RefreshLookup(); },
            [&] {
                const String needle = AnsiUpperCase(L"match");
                size_t n = 0;
                for (Integer i = 0; i < list->Count(); ++i)
                    if (Pos(needle, AnsiUpperCase(list->Strings(i))) == 1) ++n;
                found = n;
            },
            9);
        state.counters["ours_ms"] = ours / 1e6;
        state.counters["peer_ms"] = peer / 1e6;
        state.counters["ratio"] = ours / peer;
        std::printf("lookup refresh: %.2f ms, bare loop %.2f ms, ratio %.2f (limit 2), rows %d (of %zu)\n",
                    ours / 1e6, peer / 1e6, ours / peer, e->LookupListBox()->Items()->Count(), found);
    }
    DoneForms();
}
BENCHMARK(BM_LookupRefresh)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_HistorySave(benchmark::State& state)
{
    THeadlessDriver drv;
    InitForms();
    char tmpl[] = "/tmp/velmora-bench-edits-XXXXXX";
    if (!mkdtemp(tmpl)) return;
    const String dir = UTF8ToString(tmpl);
    const String ours = dir + L"/history.ini", peer = dir + L"/peer.ini";
    TForm* form = new TForm(Application);
    form->Init();
    auto* e = new TVodLUEdit(form);
    e->LookupPersist()->SetEnable(true);
    e->LookupPersist()->SetKey(ours);
    std::vector<String> items;
    for (int i = 0; i < 1000; ++i) items.push_back(L"http://example.org/video/" + IntToStr(i) + L"?list=history");
    for (const String& s : items) e->LookupItems()->Add(s);
    for (auto _ : state) {
        const auto [o, p] = TimeSideBySide(
            1, [&] { e->SavePersist(); },
            [&] {
                TMemIniFile ini(peer);
                for (size_t i = 0; i < items.size(); ++i) ini.WriteString(L"Values", L"Item" + IntToStr(Integer(i + 1)), items[i]);
                ini.UpdateFile();
            },
            9);
        state.counters["ratio"] = o / p;
        std::printf("history save: %.2f ms, one TMemIniFile %.2f ms, ratio %.2f (limit 3)\n", o / 1e6, p / 1e6, o / p);
    }
    e->LookupPersist()->SetEnable(false);
    DoneForms();
    std::error_code ec;
    std::filesystem::remove_all(UTF8Encode(dir), ec);
}
BENCHMARK(BM_HistorySave)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
