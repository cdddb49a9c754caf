// The user's column layout kept across runs: as one string the application
// stores where it likes, and as "Col<i>"/"Pos<k>" entries of an INI file or
// a registry key named by the grid's ColumnSize settings.
#include <algorithm>
#include <memory>
#include <vector>

#include "controls/grid/VodGrid.h"
#include "platform/base/IniFiles.h"
#include "platform/base/Registry.h"
#include "platform/base/SysUtils.h"

namespace {

std::vector<String> Split(const String& S, Char Delim)
{
    std::vector<String> r;
    size_t i = 0;
    for (;;) {
        const size_t k = S.find(Delim, i);
        if (k == String::npos) {
            r.push_back(S.substr(i));
            return r;
        }
        r.push_back(S.substr(i, k - i));
        i = k + 1;
    }
}

// A comma list of integers; an empty part has no entries.
std::vector<Integer> IntList(const String& S)
{
    std::vector<Integer> r;
    if (S.empty()) return r;
    for (const String& e : Split(S, L',')) r.push_back(StrToInt(e));
    return r;
}

// Whether the entries are 0 .. n - 1, each once.
bool IsPermutation(const std::vector<Integer>& Order, Integer n)
{
    if (Integer(Order.size()) != n) return false;
    std::vector<bool> seen(size_t(n), false);
    for (Integer e : Order) {
        if (e < 0 || e >= n || seen[size_t(e)]) return false;
        seen[size_t(e)] = true;
    }
    return true;
}

// The storage ColumnSize names: an INI file written once at the end, or a
// registry key under the current user with the section as subkey.
class TColumnStore {
public:
    TColumnStore(TColumnSize* S)
        : FSection(S->Section())
    {
        if (S->Location() == TColumnSizeLocation::clIniFile)
            FIni = std::make_unique<TMemIniFile>(S->Key());
        else
            FReg = std::make_unique<TRegIniFile>(S->Key());
    }
    Integer Read(const String& Ident, Integer Default)
    {
        return FIni ? FIni->ReadInteger(FSection, Ident, Default) : FReg->ReadInteger(FSection, Ident, Default);
    }
    void Write(const String& Ident, Integer Value)
    {
        if (FIni)
            FIni->WriteInteger(FSection, Ident, Value);
        else
            FReg->WriteInteger(FSection, Ident, Value);
    }
    void Flush()
    {
        if (FIni) FIni->UpdateFile();
    }

private:
    String FSection;
    std::unique_ptr<TMemIniFile> FIni;
    std::unique_ptr<TRegIniFile> FReg;
};

}  // namespace

// ---------------------------------------------------------------------------
// The column state string

String TVodStringGrid::ColumnStatesToString()
{
    const Integer n = TotalColCount();
    String widths, order, visible;
    for (Integer i = 0; i < n; ++i) {
        if (i) widths += L",";
        widths += IntToStr(i < ColCount() ? ColWidths(i) : DefaultColWidth());
    }
    if (FColumnOrder->Count() > 0) {
        for (Integer i = 0; i < FColumnOrder->Count(); ++i) {
            if (i) order += L",";
            order += IntToStr(FColumnOrder->GetInteger(i));
        }
    } else {
        for (Integer i = 0; i < n; ++i) {
            if (i) order += L",";
            order += IntToStr(i);
        }
    }
    for (Integer i = 0; i < n; ++i) {
        if (i) visible += L",";
        visible += IsHiddenColumn(i) ? L"0" : L"1";
    }
    return IntToStr(n) + L"#" + widths + L"#" + order + L"#" + visible;
}

void TVodStringGrid::StringToColumnStates(const String& Value)
{
    if (Value.find(L'#') == String::npos) return;
    // The whole string is read and checked first: a bad number, a short
    // part or an order that is not a permutation changes nothing.
    const std::vector<String> parts = Split(Value, L'#');
    if (parts.size() < 4) throw EVodGridError(L"Column state \"" + Value + L"\" has fewer than four parts");
    const Integer count = StrToInt(parts[0]);
    if (count < 1 || count <= FixedCols())
        throw EVodGridError(L"Column state count " + parts[0] + L" is out of range");
    const std::vector<String> vis = parts[3].empty() ? std::vector<String>() : Split(parts[3], L',');
    if (Integer(vis.size()) < count) throw EVodGridError(L"Column state has fewer visibility entries than columns");
    Integer shown = 0;
    for (Integer c = 0; c < count; ++c)
        if (vis[size_t(c)] != L"0") ++shown;
    // The grid keeps at least one column showing.
    shown = std::max<Integer>(shown, 1);
    const std::vector<Integer> widths = IntList(parts[1]);
    if (Integer(widths.size()) < shown) throw EVodGridError(L"Column state has fewer widths than columns");
    for (Integer i = 0; i < shown; ++i)
        if (widths[size_t(i)] < 0) throw EVodGridError(L"Column state holds a negative width");
    std::vector<Integer> order;
    for (Integer e : IntList(parts[2]))
        if (e != -1 && Integer(order.size()) < count) order.push_back(e);
    if (!parts[2].empty() && !IsPermutation(order, count))
        throw EVodGridError(L"Column state order is not an order of its columns");

    FColumnOrder->Clear();
    UnHideColumnsAll();
    SetColCount(count);
    if (!order.empty()) {
        // The inverse order, applied, makes the recorded order.
        for (Integer p = 0; p < count; ++p)
            FColumnOrder->Add(Integer(std::find(order.begin(), order.end(), p) - order.begin()));
        ResetColumnOrder();
        FColumnOrder->Clear();
        for (Integer e : order) FColumnOrder->Add(e);
    }
    for (Integer c = ColCount() - 1; c >= 0; --c)
        if (vis[size_t(c)] == L"0") HideColumn(c);
    const bool stretch = FColumnSize->Stretch();
    FColumnSize->SetStretch(false);
    if (stretch) {
        const Integer sc = FColumnSize->StretchColumn() >= 0 && FColumnSize->StretchColumn() < ColCount()
                               ? FColumnSize->StretchColumn()
                               : ColCount() - 1;
        SetDefaultColWidth(ColWidths(sc));
    }
    for (Integer i = 0; i < ColCount() && i < Integer(widths.size()); ++i) {
        if (widths[size_t(i)] != 0)
            SetColWidths(i, widths[size_t(i)]);
        else
            SuppressColumn(i);
    }
    FColumnSize->SetStretch(stretch);
}

// ---------------------------------------------------------------------------
// INI file or registry

namespace {

bool StoreNamed(TVodStringGrid* G)
{
    return !G->ColumnSize()->Key().empty() && !G->ColumnSize()->Section().empty() &&
           !G->ComponentState().Contains(csDesigning);
}

}  // namespace

void TVodStringGrid::SaveColSizes()
{
    if (!StoreNamed(this)) return;
    TColumnStore store(FColumnSize.get());
    for (Integer i = 0; i < ColCount(); ++i) store.Write(L"Col" + IntToStr(i), ColWidths(i));
    store.Flush();
}

void TVodStringGrid::LoadColSizes()
{
    if (!StoreNamed(this)) return;
    TColumnStore store(FColumnSize.get());
    for (Integer i = 0; i < ColCount(); ++i) {
        const Integer w = store.Read(L"Col" + IntToStr(i), ColWidths(i));
        if (w >= 0 && w != ColWidths(i)) SetColWidths(i, w);
    }
}

void TVodStringGrid::SaveColPositions()
{
    if (!StoreNamed(this)) return;
    TColumnStore store(FColumnSize.get());
    for (Integer k = 0; k < FColumnOrder->Count(); ++k) store.Write(L"Pos" + IntToStr(k), FColumnOrder->GetInteger(k));
    store.Flush();
}

void TVodStringGrid::LoadColPositions()
{
    if (!StoreNamed(this)) return;
    TColumnStore store(FColumnSize.get());
    if (store.Read(L"Pos0", -1) == -1) return;
    const Integer n = TotalColCount();
    std::vector<Integer> order;
    for (Integer i = 0; i < n; ++i) {
        const Integer e = store.Read(L"Pos" + IntToStr(i), -1);
        if (e != -1) order.push_back(e);
    }
    // An order that does not name every column once (another grid's, an
    // edited file) is ignored.
    if (!IsPermutation(order, n)) return;
    std::vector<Integer> hidden;
    FColumnOrder->Clear();
    for (Integer i = 0; i < n; ++i) {
        if (IsHiddenColumn(i)) hidden.push_back(i);
        FColumnOrder->Add(Integer(std::find(order.begin(), order.end(), i) - order.begin()));
    }
    UnHideColumnsAll();
    if (FColumnOrder->Count() > 0) ResetColumnOrder();
    for (Integer i : hidden) HideColumn(i);
    FColumnOrder->Clear();
    for (Integer e : order) FColumnOrder->Add(e);
}
