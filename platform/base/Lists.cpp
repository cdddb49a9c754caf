#include "platform/base/Lists.h"

#include <algorithm>
#include <utility>

#include "platform/base/Encoding.h"
#include "platform/base/Filer.h"
#include "platform/base/Streams.h"
#include "platform/base/SysUtils.h"

namespace {

String QuotedStr(const String& s, Char quote)
{
    String r(1, quote);
    for (Char c : s) {
        r += c;
        if (c == quote) r += c;
    }
    r += quote;
    return r;
}

// Reads a quoted item starting at s[i] (the opening quote): doubled quotes
// stand for one; an unclosed quote takes the rest. Leaves i after the
// closing quote.
String ExtractQuoted(const String& s, size_t& i, Char quote)
{
    String r;
    ++i;
    while (i < s.size()) {
        if (s[i] == quote) {
            if (i + 1 < s.size() && s[i + 1] == quote) {
                r += quote;
                i += 2;
                continue;
            }
            ++i;
            return r;
        }
        r += s[i++];
    }
    return r;
}

bool IsBlank(Char c) { return c <= L' '; }

}  // namespace

// ---------------------------------------------------------------------------
// TList

TList::~TList() { Clear(); }

void TList::Error(Integer Index)
{
    throw EListError(L"List index out of bounds (" + std::to_wstring(Index) + L")");
}

Integer TList::Add(void* Item)
{
    FList.push_back(Item);
    if (Item) Notify(Item, lnAdded);
    return Count() - 1;
}

void TList::Insert(Integer Index, void* Item)
{
    if (Index < 0 || Index > Count()) Error(Index);
    FList.insert(FList.begin() + Index, Item);
    if (Item) Notify(Item, lnAdded);
}

void TList::Delete(Integer Index)
{
    void* p = Items(Index);
    FList.erase(FList.begin() + Index);
    if (p) Notify(p, lnDeleted);
}

Integer TList::Remove(void* Item)
{
    Integer i = IndexOf(Item);
    if (i >= 0) Delete(i);
    return i;
}

void* TList::Extract(void* Item)
{
    Integer i = IndexOf(Item);
    if (i < 0) return nullptr;
    FList.erase(FList.begin() + i);
    if (Item) Notify(Item, lnExtracted);
    return Item;
}

Integer TList::IndexOf(void* Item) const
{
    auto it = std::find(FList.begin(), FList.end(), Item);
    return it == FList.end() ? -1 : Integer(it - FList.begin());
}

void TList::Clear()
{
    while (!FList.empty()) Delete(Count() - 1);
    FList.shrink_to_fit();
}

void TList::Exchange(Integer Index1, Integer Index2)
{
    if (Index1 < 0 || Index1 >= Count()) Error(Index1);
    if (Index2 < 0 || Index2 >= Count()) Error(Index2);
    std::swap(FList[size_t(Index1)], FList[size_t(Index2)]);
}

void TList::Move(Integer CurIndex, Integer NewIndex)
{
    if (CurIndex == NewIndex) return;
    if (NewIndex < 0 || NewIndex >= Count()) Error(NewIndex);
    void* p = Items(CurIndex);
    FList.erase(FList.begin() + CurIndex);
    FList.insert(FList.begin() + NewIndex, p);
}

void TList::Pack() { std::erase(FList, nullptr); }

void TList::Sort(const TListSortCompare& Compare)
{
    std::stable_sort(FList.begin(), FList.end(), [&](void* a, void* b) { return Compare(a, b) < 0; });
}

void TList::SetCount(Integer NewCount)
{
    if (NewCount < 0) Error(NewCount);
    while (Count() > NewCount) Delete(Count() - 1);
    FList.resize(size_t(NewCount), nullptr);
}

void TList::SetCapacity(Integer NewCapacity)
{
    if (NewCapacity < Count()) Error(NewCapacity);
    FList.reserve(size_t(NewCapacity));
}

void* TList::Items(Integer Index) const
{
    if (Index < 0 || Index >= Count()) Error(Index);
    return FList[size_t(Index)];
}

void TList::SetItems(Integer Index, void* Item)
{
    void* old = Items(Index);
    if (old == Item) return;
    FList[size_t(Index)] = Item;
    if (old) Notify(old, lnDeleted);
    if (Item) Notify(Item, lnAdded);
}

// ---------------------------------------------------------------------------
// TStrings

void TStrings::Error(Integer Index)
{
    throw EStringListError(L"List index out of bounds (" + std::to_wstring(Index) + L")");
}

Integer TStrings::Add(const String& S)
{
    Integer i = GetCount();
    Insert(i, S);
    return i;
}

Integer TStrings::AddObject(const String& S, TObject* AObject)
{
    Integer i = Add(S);
    PutObject(i, AObject);
    return i;
}

void TStrings::AddStrings(TStrings* Strings)
{
    BeginUpdate();
    try {
        for (Integer i = 0; i < Strings->Count(); ++i) AddObject(Strings->Get(i), Strings->GetObject(i));
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStrings::InsertObject(Integer Index, const String& S, TObject* AObject)
{
    Insert(Index, S);
    PutObject(Index, AObject);
}

void TStrings::Put(Integer Index, const String& S)
{
    TObject* o = GetObject(Index);
    BeginUpdate();
    Delete(Index);
    InsertObject(Index, S, o);
    EndUpdate();
}

void TStrings::Exchange(Integer Index1, Integer Index2)
{
    BeginUpdate();
    String s = Get(Index1);
    TObject* o = GetObject(Index1);
    Put(Index1, Get(Index2));
    PutObject(Index1, GetObject(Index2));
    Put(Index2, s);
    PutObject(Index2, o);
    EndUpdate();
}

void TStrings::Move(Integer CurIndex, Integer NewIndex)
{
    if (CurIndex == NewIndex) return;
    BeginUpdate();
    String s = Get(CurIndex);
    TObject* o = GetObject(CurIndex);
    PutObject(CurIndex, nullptr);
    Delete(CurIndex);
    InsertObject(NewIndex, s, o);
    EndUpdate();
}

Integer TStrings::IndexOf(const String& S) const
{
    for (Integer i = 0; i < GetCount(); ++i)
        if (CompareStrings(Get(i), S) == 0) return i;
    return -1;
}

Integer TStrings::IndexOfName(const String& Name) const
{
    for (Integer i = 0; i < GetCount(); ++i) {
        String s = Get(i);
        size_t p = s.find(FNameValueSeparator);
        if (p != String::npos && CompareStrings(s.substr(0, p), Name) == 0) return i;
    }
    return -1;
}

Integer TStrings::IndexOfObject(TObject* AObject) const
{
    for (Integer i = 0; i < GetCount(); ++i)
        if (GetObject(i) == AObject) return i;
    return -1;
}

bool TStrings::Equals(TStrings* Strings) const
{
    if (Strings->Count() != GetCount()) return false;
    for (Integer i = 0; i < GetCount(); ++i)
        if (Get(i) != Strings->Get(i)) return false;
    return true;
}

Integer TStrings::CompareStrings(const String& S1, const String& S2) const { return AnsiCompareText(S1, S2); }

void TStrings::Assign(TPersistent* Source)
{
    if (auto* src = dynamic_cast<TStrings*>(Source)) {
        if (src == this) return;
        BeginUpdate();
        try {
            Clear();
            FDelimiter = src->FDelimiter;
            FQuoteChar = src->FQuoteChar;
            FNameValueSeparator = src->FNameValueSeparator;
            FStrictDelimiter = src->FStrictDelimiter;
            FLineBreak = src->FLineBreak;
            AddStrings(src);
        } catch (...) {
            EndUpdate();
            throw;
        }
        EndUpdate();
        return;
    }
    TPersistent::Assign(Source);
}

void TStrings::BeginUpdate()
{
    if (FUpdateCount == 0) SetUpdateState(true);
    ++FUpdateCount;
}

void TStrings::EndUpdate()
{
    if (FUpdateCount <= 0) return;
    if (--FUpdateCount == 0) SetUpdateState(false);
}

String TStrings::Text() const
{
    String r;
    for (Integer i = 0; i < GetCount(); ++i) {
        r += Get(i);
        r += FLineBreak;
    }
    return r;
}

void TStrings::SetText(const String& Value)
{
    BeginUpdate();
    try {
        Clear();
        size_t i = 0, n = Value.size();
        while (i < n) {
            size_t start = i;
            while (i < n && Value[i] != L'\r' && Value[i] != L'\n') ++i;
            Add(Value.substr(start, i - start));
            if (i < n && Value[i] == L'\r') ++i;
            if (i < n && Value[i] == L'\n') ++i;
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

String TStrings::DelimitedText() const
{
    Integer n = GetCount();
    if (n == 1 && Get(0).empty()) return String(2, FQuoteChar);
    String r;
    for (Integer i = 0; i < n; ++i) {
        String s = Get(i);
        bool quote = false;
        for (Char c : s) {
            if (c == FQuoteChar || c == FDelimiter || (!FStrictDelimiter && c <= L' ')) {
                quote = true;
                break;
            }
        }
        if (i > 0) r += FDelimiter;
        r += quote ? QuotedStr(s, FQuoteChar) : s;
    }
    return r;
}

void TStrings::SetDelimitedText(const String& Value)
{
    BeginUpdate();
    try {
        Clear();
        size_t i = 0, n = Value.size();
        if (!FStrictDelimiter)
            while (i < n && IsBlank(Value[i])) ++i;
        while (i < n) {
            String s;
            if (Value[i] == FQuoteChar) {
                s = ExtractQuoted(Value, i, FQuoteChar);
            } else {
                size_t start = i;
                while (i < n && Value[i] != FDelimiter && (FStrictDelimiter || Value[i] > L' ')) ++i;
                s = Value.substr(start, i - start);
            }
            Add(s);
            if (!FStrictDelimiter)
                while (i < n && IsBlank(Value[i])) ++i;
            if (i < n && Value[i] == FDelimiter) {
                if (i + 1 == n) Add(String());
                ++i;
                if (!FStrictDelimiter)
                    while (i < n && IsBlank(Value[i])) ++i;
            }
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

String TStrings::CommaText() const
{
    TStrings* self = const_cast<TStrings*>(this);
    Char d = FDelimiter, q = FQuoteChar;
    bool strict = FStrictDelimiter;
    self->FDelimiter = L',';
    self->FQuoteChar = L'"';
    self->FStrictDelimiter = false;
    String r = DelimitedText();
    self->FDelimiter = d;
    self->FQuoteChar = q;
    self->FStrictDelimiter = strict;
    return r;
}

void TStrings::SetCommaText(const String& Value)
{
    Char d = FDelimiter, q = FQuoteChar;
    bool strict = FStrictDelimiter;
    FDelimiter = L',';
    FQuoteChar = L'"';
    FStrictDelimiter = false;
    try {
        SetDelimitedText(Value);
    } catch (...) {
        FDelimiter = d;
        FQuoteChar = q;
        FStrictDelimiter = strict;
        throw;
    }
    FDelimiter = d;
    FQuoteChar = q;
    FStrictDelimiter = strict;
}

String TStrings::Names(Integer Index) const
{
    String s = Get(Index);
    size_t p = s.find(FNameValueSeparator);
    return p == String::npos ? String() : s.substr(0, p);
}

String TStrings::Values(const String& Name) const
{
    Integer i = IndexOfName(Name);
    return i < 0 ? String() : ValueFromIndex(i);
}

void TStrings::SetValues(const String& Name, const String& Value)
{
    Integer i = IndexOfName(Name);
    if (!Value.empty()) {
        String line = Name + FNameValueSeparator + Value;
        if (i < 0)
            Add(line);
        else
            Put(i, line);
    } else if (i >= 0) {
        Delete(i);
    }
}

String TStrings::ValueFromIndex(Integer Index) const
{
    String s = Get(Index);
    size_t p = s.find(FNameValueSeparator);
    return p == String::npos ? String() : s.substr(p + 1);
}

void TStrings::SetValueFromIndex(Integer Index, const String& Value)
{
    if (!Value.empty()) {
        if (Index < 0) Index = Add(String());
        Put(Index, Names(Index) + FNameValueSeparator + Value);
    } else if (Index >= 0) {
        Delete(Index);
    }
}

void TStrings::LoadFromStream(TStream* Stream, TEncoding* Encoding)
{
    Int64 size = Stream->Size() - Stream->Position();
    TBytes buf(size_t(std::max<Int64>(size, 0)));
    if (!buf.empty()) Stream->ReadBuffer(buf.data(), Integer(buf.size()));
    // A byte order mark outranks the caller's guess.
    TEncoding* enc = nullptr;
    Integer bom = TEncoding::GetBufferEncoding(buf, enc, TEncoding::Default());
    if (bom == 0) enc = Encoding ? Encoding : TEncoding::Default();
    SetText(enc->GetString(buf.data() + bom, buf.size() - size_t(bom)));
}

void TStrings::LoadFromFile(const String& FileName, TEncoding* Encoding)
{
    TFileStream f(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&f, Encoding);
}

void TStrings::SaveToStream(TStream* Stream, TEncoding* Encoding) const
{
    TEncoding* enc = Encoding ? Encoding : TEncoding::Default();
    if (FWriteBOM) {
        TBytes bom = enc->GetPreamble();
        if (!bom.empty()) Stream->WriteBuffer(bom.data(), Integer(bom.size()));
    }
    TBytes text = enc->GetBytes(Text());
    if (!text.empty()) Stream->WriteBuffer(text.data(), Integer(text.size()));
}

void TStrings::SaveToFile(const String& FileName, TEncoding* Encoding) const
{
    TMemoryStream m;
    SaveToStream(&m, Encoding);
    m.SaveToFile(FileName);
}

void TStrings::DefineProperties(TFiler* Filer)
{
    Filer->DefineProperty(
        L"Strings",
        [this](TReader* r) {
            r->ReadListBegin();
            BeginUpdate();
            try {
                Clear();
                while (!r->EndOfList()) Add(r->ReadString());
                r->ReadListEnd();
            } catch (...) {
                EndUpdate();
                throw;
            }
            EndUpdate();
        },
        [this](TWriter* w) {
            w->WriteListBegin();
            for (Integer i = 0; i < GetCount(); ++i) w->WriteString(Get(i));
            w->WriteListEnd();
        },
        GetCount() > 0);
}

// ---------------------------------------------------------------------------
// TStringList

TStringList::~TStringList()
{
    OnChange = nullptr;
    OnChanging = nullptr;
    if (FOwnsObjects)
        for (TItem& i : FList) delete std::exchange(i.O, nullptr);
}

void TStringList::CheckIndex(Integer Index) const
{
    if (Index < 0 || Index >= GetCount()) Error(Index);
}

Integer TStringList::Add(const String& S) { return AddObject(S, nullptr); }

Integer TStringList::AddObject(const String& S, TObject* AObject)
{
    Integer index;
    if (!FSorted) {
        index = GetCount();
    } else if (Find(S, index)) {
        switch (FDuplicates) {
        case dupIgnore: return index;
        case dupError: throw EStringListError(L"String list does not allow duplicates");
        case dupAccept: break;
        }
    }
    InsertItem(index, S, AObject);
    return index;
}

void TStringList::AppendMoved(String&& S, TObject* AObject)
{
    if (FSorted) throw EStringListError(L"Operation not allowed on sorted list");
    FList.push_back(TItem{std::move(S), AObject});
}

String TStringList::TakeString(Integer Index)
{
    CheckIndex(Index);
    return std::exchange(FList[size_t(Index)].S, String());
}

void TStringList::Insert(Integer Index, const String& S)
{
    if (FSorted) throw EStringListError(L"Operation not allowed on sorted list");
    if (Index < 0 || Index > GetCount()) Error(Index);
    InsertItem(Index, S, nullptr);
}

void TStringList::InsertItem(Integer Index, const String& S, TObject* AObject)
{
    Changing();
    FList.insert(FList.begin() + Index, TItem{S, AObject});
    Changed();
}

void TStringList::Delete(Integer Index)
{
    CheckIndex(Index);
    Changing();
    TObject* o = FList[size_t(Index)].O;
    FList.erase(FList.begin() + Index);
    if (FOwnsObjects) delete o;
    Changed();
}

void TStringList::Clear()
{
    if (FList.empty()) return;
    Changing();
    std::vector<TItem> old;
    old.swap(FList);
    if (FOwnsObjects)
        for (TItem& i : old) delete i.O;
    Changed();
}

void TStringList::Exchange(Integer Index1, Integer Index2)
{
    CheckIndex(Index1);
    CheckIndex(Index2);
    Changing();
    std::swap(FList[size_t(Index1)], FList[size_t(Index2)]);
    Changed();
}

void TStringList::Move(Integer CurIndex, Integer NewIndex)
{
    if (CurIndex == NewIndex) return;
    CheckIndex(CurIndex);
    CheckIndex(NewIndex);
    if (FSorted) throw EStringListError(L"Operation not allowed on sorted list");
    Changing();
    TItem item = std::move(FList[size_t(CurIndex)]);
    FList.erase(FList.begin() + CurIndex);
    FList.insert(FList.begin() + NewIndex, std::move(item));
    Changed();
}

Integer TStringList::IndexOf(const String& S) const
{
    if (!FSorted) return TStrings::IndexOf(S);
    Integer i;
    return Find(S, i) ? i : -1;
}

bool TStringList::Find(const String& S, Integer& Index) const
{
    // Lower bound: with duplicates the first equal line.
    Integer l = 0, h = GetCount() - 1;
    bool found = false;
    while (l <= h) {
        Integer m = l + (h - l) / 2;
        Integer c = CompareStrings(FList[size_t(m)].S, S);
        if (c < 0) {
            l = m + 1;
        } else {
            h = m - 1;
            if (c == 0) found = true;
        }
    }
    Index = l;
    return found;
}

void TStringList::Sort()
{
    if (FSorted || GetCount() < 2) return;
    Changing();
    std::stable_sort(FList.begin(), FList.end(),
                     [this](const TItem& a, const TItem& b) { return CompareStrings(a.S, b.S) < 0; });
    Changed();
}

void TStringList::CustomSort(const TStringListSortCompare& Compare)
{
    if (FSorted || GetCount() < 2) return;
    Changing();
    QuickSort(0, GetCount() - 1, Compare);
    Changed();
}

// In place, because the comparison names items by their current index. The
// scans are bounded so that an inconsistent comparison cannot run outside
// the list.
void TStringList::QuickSort(Integer L, Integer R, const TStringListSortCompare& Compare)
{
    while (L < R) {
        Integer i = L, j = R, p = L + (R - L) / 2;
        do {
            while (i < R && Compare(this, i, p) < 0) ++i;
            while (j > L && Compare(this, j, p) > 0) --j;
            if (i <= j) {
                if (i != j) std::swap(FList[size_t(i)], FList[size_t(j)]);
                if (p == i)
                    p = j;
                else if (p == j)
                    p = i;
                ++i;
                --j;
            }
        } while (i <= j);
        if (L < j) QuickSort(L, j, Compare);
        L = i;
    }
}

void TStringList::SetSorted(bool Value)
{
    if (FSorted == Value) return;
    if (Value) Sort();
    FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value)
{
    if (FCaseSensitive == Value) return;
    FCaseSensitive = Value;
    if (FSorted) {
        FSorted = false;
        SetSorted(true);
    }
}

void TStringList::Assign(TPersistent* Source)
{
    TStrings::Assign(Source);
    if (auto* src = dynamic_cast<TStringList*>(Source)) {
        FCaseSensitive = src->FCaseSensitive;
        FDuplicates = src->FDuplicates;
        FSorted = src->FSorted;
    }
}

String TStringList::Get(Integer Index) const
{
    CheckIndex(Index);
    return FList[size_t(Index)].S;
}

TObject* TStringList::GetObject(Integer Index) const
{
    CheckIndex(Index);
    return FList[size_t(Index)].O;
}

void TStringList::Put(Integer Index, const String& S)
{
    if (FSorted) throw EStringListError(L"Operation not allowed on sorted list");
    CheckIndex(Index);
    Changing();
    FList[size_t(Index)].S = S;
    Changed();
}

void TStringList::PutObject(Integer Index, TObject* AObject)
{
    CheckIndex(Index);
    Changing();
    FList[size_t(Index)].O = AObject;
    Changed();
}

void TStringList::SetUpdateState(bool Updating)
{
    if (Updating)
        Changing();
    else
        Changed();
}

void TStringList::Changed()
{
    if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::Changing()
{
    if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

Integer TStringList::CompareStrings(const String& S1, const String& S2) const
{
    return FCaseSensitive ? AnsiCompareStr(S1, S2) : AnsiCompareText(S1, S2);
}
