// The integer lists, the sort column list with its text form, the cell
// control list and the line file list.
#include <cstdint>

#include "controls/grid/VodObj.h"
#include "platform/base/SysUtils.h"

namespace {
// The serial number of the next integer list.
Integer GIntListTag = 0;

void* ToItem(Integer v) { return reinterpret_cast<void*>(static_cast<intptr_t>(v)); }
Integer FromItem(void* p) { return static_cast<Integer>(reinterpret_cast<intptr_t>(p)); }

constexpr uint32_t kDescending = 0x80000000u;
}  // namespace

// ---------------------------------------------------------------------------
// TIntList

TIntList::TIntList(Integer Col, Integer Row) : FCol(Col), FRow(Row), FTag(GIntListTag++) {}

void TIntList::Changed()
{
    if (OnChange) OnChange(this, FCol, FRow);
}

Integer TIntList::GetInteger(Integer Index) const { return FromItem(Items(Index)); }

void TIntList::SetInteger(Integer Index, Integer Value)
{
    SetItems(Index, ToItem(Value));
    Changed();
}

Integer TIntList::Add(Integer Value)
{
    const Integer i = TList::Add(ToItem(Value));
    Changed();
    return i;
}

void TIntList::Delete(Integer Index)
{
    TList::Delete(Index);
    Changed();
}

void TIntList::Insert(Integer Index, Integer Value) { TList::Insert(Index, ToItem(Value)); }

void TIntList::Insert(Integer Value)
{
    if (Count() == 0) {
        Add(Value);
        return;
    }
    Insert(SortedPosOf(Value), Value);
}

void TIntList::DeleteValue(Integer Value)
{
    for (Integer i = 0; i < Count(); ++i)
        if (GetInteger(i) == Value) {
            Delete(i);
            return;
        }
}

bool TIntList::HasValue(Integer Value) const
{
    for (Integer i = 0; i < Count(); ++i)
        if (GetInteger(i) == Value) return true;
    return false;
}

Integer TIntList::SortedIndexOf(Integer Value) const
{
    Integer lo = 0, hi = Count() - 1;
    while (hi >= lo) {
        const Integer mid = lo + (hi - lo) / 2;
        const Integer e = GetInteger(mid);
        if (Value < e)
            hi = mid - 1;
        else if (e < Value)
            lo = mid + 1;
        else
            return mid;
    }
    return -1;
}

Integer TIntList::SortedPosOf(Integer Value) const
{
    if (Count() == 0) return 0;
    Integer lo = 0, hi = Count() - 1, mid = 0;
    while (hi >= lo) {
        mid = lo + (hi - lo) / 2;
        const Integer e = GetInteger(mid);
        if (Value < e)
            hi = mid - 1;
        else if (e < Value)
            lo = mid + 1;
        else
            break;
    }
    return GetInteger(mid) < Value ? mid + 1 : mid;
}

String TIntList::StrValue() const
{
    String s;
    for (Integer i = 0; i < Count(); ++i) {
        if (i > 0) s += L',';
        s += IntToStr(GetInteger(i));
    }
    return s;
}

void TIntList::SetStrValue(const String& Value)
{
    TStringList parts;
    parts.SetCommaText(Value);
    Clear();
    for (Integer i = 0; i < parts.Count(); ++i) Add(StrToInt(parts[i]));
}

// ---------------------------------------------------------------------------
// TSortIndexList

void TSortIndexList::AddIndex(Integer ColumnIndex, bool Ascending)
{
    uint32_t v = uint32_t(ColumnIndex);
    if (!Ascending) v |= kDescending;
    Add(Integer(v));
}

Integer TSortIndexList::FindIndex(Integer ColumnIndex) const
{
    for (Integer i = 0; i < Count(); ++i)
        if ((uint32_t(GetInteger(i)) & ~kDescending) == (uint32_t(ColumnIndex) & ~kDescending)) return i;
    return -1;
}

Integer TSortIndexList::GetSortColumns(Integer i) const { return Integer(uint32_t(GetInteger(i)) & ~kDescending); }

void TSortIndexList::SetSortColumns(Integer i, Integer Value)
{
    const uint32_t e = uint32_t(GetInteger(i));
    SetInteger(i, Integer((e & kDescending) | (uint32_t(Value) & ~kDescending)));
}

bool TSortIndexList::GetSortDirections(Integer i) const { return (uint32_t(GetInteger(i)) & kDescending) == 0; }

void TSortIndexList::SetSortDirections(Integer i, bool Value)
{
    const uint32_t e = uint32_t(GetInteger(i));
    SetInteger(i, Integer(Value ? (e & ~kDescending) : (e | kDescending)));
}

void TSortIndexList::ToggleIndex(Integer ColumnIndex)
{
    const Integer i = FindIndex(ColumnIndex);
    if (i < 0) return;
    SetInteger(i, Integer(uint32_t(GetInteger(i)) ^ kDescending));
}

String TSortIndexList::SaveToString() const
{
    String s;
    for (Integer i = 0; i < Count(); ++i) {
        if (i > 0) s += L';';
        const uint32_t e = uint32_t(GetInteger(i));
        s += (e & kDescending) ? L'd' : L'u';
        s += IntToStr(Integer(e & 0xFFFFu));
    }
    return s;
}

void TSortIndexList::LoadFromString(const String& Text)
{
    Clear();
    String s = Text;
    while (!s.empty()) {
        String part;
        const size_t p = s.find(L';');
        if (p == String::npos) {
            part = s;
            s.clear();
        } else {
            part = s.substr(0, p);
            s.erase(0, p + 1);
        }
        if (part.size() < 2) continue;
        Integer v = 0, code = 0;
        Val(part.substr(1), v, code);
        // A rest that does not read as a number gives column 0.
        if (code != 0) v = 0;
        AddIndex(v, part[0] == L'u');
    }
}

// ---------------------------------------------------------------------------
// TControlList

TControlList::~TControlList()
{
    while (Count() > 0) RemoveControl(0);
}

void TControlList::AddControl(Integer X, Integer Y, TControl* AObject) { Add(new TControlItem(X, Y, AObject)); }

Integer TControlList::ControlIndex(Integer X, Integer Y) const
{
    for (Integer i = 0; i < Count(); ++i) {
        const TControlItem* it = GetControl(i);
        if (it->X() == X && it->Y() == Y) return i;
    }
    return -1;
}

bool TControlList::HasHandle(HWND Handle) const
{
    for (Integer i = 0; i < Count(); ++i) {
        auto* w = dynamic_cast<TWinControl*>(GetControl(i)->Control());
        if (w && w->HandleAllocated() && w->Handle() == Handle) return true;
    }
    return false;
}

void TControlList::RemoveControl(Integer i)
{
    delete GetControl(i);
    TList::Delete(i);
}

// ---------------------------------------------------------------------------
// TFileStringList

void TFileStringList::Reset()
{
    fp = 0;
    cache.clear();
}

void TFileStringList::ReadLn(String& s)
{
    s = Strings(fp);
    ++fp;
}

void TFileStringList::WriteLn(const String& s)
{
    Add(cache + s);
    cache.clear();
}
