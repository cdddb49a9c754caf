// Row filtering: the conditions (TFilterData in a TFilter), the row test,
// the filter levels of hidden rows, the incremental narrow-down search and
// the filter file. The settings of the filter drop-down and of the filter
// edit row are here too; their lists and editors live in
// VodGrid_FilterDropDown.cpp.
#include <cmath>

#include "controls/foundation/VodUtil.h"
#include "controls/grid/GridFilter.h"
#include "controls/grid/VodGrid.h"
#include "controls/markup/VurHTMLE.h"
#include "platform/base/IniFiles.h"
#include "platform/base/SysUtils.h"

namespace {

String UpperAZ(String S)
{
    for (auto& c : S)
        if (c >= L'a' && c <= L'z') c = Char(c - (L'a' - L'A'));
    return S;
}

bool StartsWith(const String& S, const String& P) { return S.size() >= P.size() && S.compare(0, P.size(), P) == 0; }

// A file's COUNT beyond this reads as this: every condition is a collection
// item, and a damaged count must not make the load run without end.
constexpr Integer kMaxFilterCount = 65536;

}  // namespace

// ---------------------------------------------------------------------------
// TFilterData and TFilter

void TFilterData::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TFilterData*>(Source);
    if (!s) return;
    Column = s->Column;
    Condition = s->Condition;
    CaseSensitive = s->CaseSensitive;
    Data = s->Data;
    Prefix = s->Prefix;
    Suffix = s->Suffix;
    Operation = s->Operation;
    RemoveAccented = s->RemoveAccented;
}

void TFilterData::BuildCondition(const String& S)
{
    String s = S;
    if (s.find(L' ') != String::npos) s = L"\"" + s + L"\"";
    switch (FilterType) {
    case ftStartsWith: Condition = s + L"*"; break;
    case ftEndsWith: Condition = L"*" + s; break;
    case ftContains: Condition = L"*" + s + L"*"; break;
    case ftNotContains: Condition = L"!*" + s + L"*"; break;
    case ftEqual: Condition = s; break;
    case ftNotEqual: Condition = L"!" + s; break;
    case ftLargerThan: Condition = L">" + s; break;
    case ftSmallerThan: Condition = L"<" + s; break;
    case ftClear:
    case ftNone: break;
    }
}

TFilter::TFilter(TVodStringGrid* AGrid) : TCollection(CollectionItemClass<TFilterData>()), FGrid(AGrid) {}

TFilterData* TFilter::Add()
{
    auto* d = static_cast<TFilterData*>(TCollection::Add());
    d->Operation = Count() == 1 ? foNONE : foAND;
    return d;
}

TFilterData* TFilter::Insert(Integer) { return static_cast<TFilterData*>(TCollection::Add()); }

TFilterData* TFilter::GetColFilter(Integer Col)
{
    for (Integer i = 0; i < Count(); ++i)
        if (Items(i)->Column == Col) return Items(i);
    TFilterData* d = Add();
    d->Column = SmallInt(Col);
    return d;
}

bool TFilter::HasFilter(Integer Col) const
{
    for (Integer i = 0; i < Count(); ++i)
        if (Items(i)->Column == Col) return true;
    return false;
}

bool TFilter::HasOtherFilter(Integer Col) const
{
    for (Integer i = 0; i < Count(); ++i)
        if (Items(i)->Column != Col) return true;
    return false;
}

TFilterType TFilter::HasFilterType(Integer Col) const
{
    for (Integer i = 0; i < Count(); ++i)
        if (Items(i)->Column == Col) return Items(i)->FilterType;
    return ftContains;
}

void TFilter::RemoveColumnFilter(Integer Col)
{
    for (Integer i = Count() - 1; i >= 0; --i)
        if (Items(i)->Column == Col) Delete(i);
    if (FGrid) FGrid->RepaintCell(Col, 0);
}

void TFilter::Update(TCollectionItem* Item)
{
    TCollection::Update(Item);
    if (FGrid && FGrid->RowCount() > 0)
        for (Integer c = 0; c < FGrid->ColCount(); ++c) FGrid->RepaintCell(c, 0);
}

// ---------------------------------------------------------------------------
// The row test

String TVodStringGrid::FilterRowText(Integer ARow, String& Separator)
{
    String t;
    const Integer cols = TotalColCount();
    if (IgnoreColumns()->Count() == 0) {
        Separator = L"\n";
        for (Integer c = 0; c < cols; ++c) t += GetGridCell(c, ARow) + L"\r\n";
    } else {
        Separator = L",";
        for (Integer c = 0; c < cols; ++c)
            if (!IsIgnoredColumn(c)) t += L"," + GetGridCell(c, ARow);
    }
    return t;
}

bool TVodStringGrid::MatchFilter(Integer ARow)
{
    bool r = true;
    for (Integer i = 0; i < FFilter->Count(); ++i) {
        const TFilterData* f = FFilter->Items(i);
        if (!f->Enabled) continue;
        String t, sep;
        switch (f->Data) {
        case fcVirtual:
            t = GetCellEx(f->Column, ARow);
            if (t.find(L"</") != String::npos) {
                String plain;
                StripMarkup(t, plain);
                t = plain;
            }
            if (t.empty()) {
                TSortStyle st = ssAutomatic;
                String p, s;
                GetCellFormat(f->Column, st, p, s);
                if (st == ssImages) {
                    Integer idx = -1;
                    t = GetImageIdx(f->Column, ARow, idx) ? IntToStr(idx) : String(L"-1");
                }
            }
            break;
        case fcNormal: t = GetGridCell(f->Column, ARow); break;
        case fcStripHTML: t = GetStrippedCell(f->Column, ARow); break;
        case fcCalculated: t = GetCellContent(f->Column, ARow); break;
        case fcRow: t = FilterRowText(ARow, sep); break;
        }
        t = Trim(t);
        String c = f->Condition;
        if (f->RemoveAccented) {
            t = StripDiacritics(t);
            c = StripDiacritics(c);
        }
        if (t.find(L"|\\") != String::npos) t = UnpackWideText(t);

        bool m = false;
        if (f->Data == fcRow) {
            const String ut = UpperAZ(t), uc = UpperAZ(c);
            if (FNarrowDownFromStart)
                m = StartsWith(ut, uc) || ut.find(sep + uc) != String::npos;
            else
                m = ut.find(uc) != String::npos;
        } else {
            if (!f->Prefix.empty() && StartsWith(t, f->Prefix)) t.erase(0, f->Prefix.size());
            if (!f->Suffix.empty()) {
                const size_t p = t.find(f->Suffix);
                if (p != String::npos && p + f->Suffix.size() == t.size()) t.erase(p);
            }
            if (c.empty())
                m = true;
            else {
                try {
                    if (f->Method == fmExpression)
                        m = MatchFilterExpr(c, t, f->CaseSensitive);
                    else
                        m = c == L"\"\"" ? t.empty() : t == c;
                } catch (...) {
                    m = false;
                }
            }
        }
        bool stop = false;
        switch (f->Operation) {
        case foSHORT:
            r = m;
            stop = !m;
            break;
        case foNONE: r = m; break;
        case foAND: r = r && m; break;
        case foXOR: r = r != m; break;
        case foOR: r = r || m; break;
        }
        if (stop) break;
    }
    if (OnCustomFilter) OnCustomFilter(this, ARow, r);
    return r;
}

// ---------------------------------------------------------------------------
// Applying and removing filter levels

void TVodStringGrid::FilterRow(Integer ARow)
{
    if (!MatchFilter(ARow)) HideRow(RealRowIndex(ARow));
}

void TVodStringGrid::ApplyFilter()
{
    FFilterFixedRows = FFixedRowsMin;
    const Integer last = RowCount() - FFixedFooters - 1;
    const Integer total = RowCount() - FFixedFooters - FFilterFixedRows;
    if (total <= 0) return;
    TIntList rows(0, 0);
    Integer n = 0;
    Integer lastProgress = -1;
    // The default rounding mode takes halves to the even neighbour.
    auto percent = [&]() { return Integer(std::nearbyint(double(n) / double(total) * 100.0)); };
    for (Integer r = FixedRows(); r <= last; ++r) {
        if (FFilterNormalCellsOnly && (IsNode(r) || IsSummary(r))) continue;
        if (!MatchFilter(r)) rows.Add(r);
        ++n;
        if (OnFilterProgress) {
            const Integer p = percent();
            if (p != lastProgress) {
                lastProgress = p;
                OnFilterProgress(this, SmallInt(p));
            }
        }
    }
    HideRowList(&rows);
    if (OnFilterProgress) OnFilterProgress(this, SmallInt(percent()));
}

void TVodStringGrid::SetFilterActive(bool Value)
{
    if (Loading()) return;
    if (Value != FFilterActive) {
        FFilterActive = Value;
        if (Value) {
            if (Row() >= RowCount() || Col() >= ColCount()) FocusCell(FixedCols(), FixedRows(), true);
            BeginUpdate();
            try {
                ApplyFilter();
            } catch (...) {
                EndUpdate();
                throw;
            }
            EndUpdate();
            FSelHidden = false;
        } else if (FFilterLevel > 0) {
            UnHideRowList();
            --FFilterLevel;
            SetFixedRows(FFilterFixedRows);
            if (IsSelectionHidden()) UnHideSelection();
        }
        if (RowCount() > FixedRows()) SetTopRow(FixedRows());
    }
    CalcFooter(-1);
}

bool TVodStringGrid::RemoveLastFilter()
{
    FIsNarrowDown = false;
    if (FFilterLevel <= 0) return false;
    UnHideRowList();
    SetFixedRows(FFilterFixedRows);
    if (IsSelectionHidden()) UnHideSelection();
    CalcFooter(-1);
    --FFilterLevel;
    if (FFilter->Count() > 0) FFilter->Delete(FFilter->Count() - 1);
    return FFilterLevel > 1;
}

void TVodStringGrid::RemoveAllFilters()
{
    if (FFilterLevel == 0)
        FFilter->Clear();
    else
        while (FFilterLevel > 0) RemoveLastFilter();
    FIsNarrowDown = false;
}

void TVodStringGrid::NarrowDown(const String& ACondition, bool DoRemoveAccented, Integer AColumn)
{
    const String last = FLastFilter;
    FIsNarrowDown = !ACondition.empty();
    FFixedRowAlways = true;
    auto addCondition = [&](bool Incremental) {
        FFilter->Clear();
        TFilterData* f = FFilter->Add();
        if (AColumn == -1) {
            f->Data = fcRow;
            f->Condition = ACondition;
        } else {
            f->Data = fcNormal;
            String c = FNarrowDownFromStart ? L"=" + ACondition + L"*" : L"*" + ACondition + L"*";
            if (Incremental && c.find(L' ') != String::npos) c = L"\"" + c + L"\"";
            f->Condition = c;
        }
        f->RemoveAccented = DoRemoveAccented;
        f->CaseSensitive = false;
        f->Column = SmallInt(AColumn);
    };
    if (ACondition.size() == last.size() + 1 && StartsWith(ACondition, last)) {
        addCondition(true);
        ApplyFilter();
    } else if (last.size() == ACondition.size() + 1 && StartsWith(last, ACondition) && !ACondition.empty()) {
        RemoveLastFilter();
        FIsNarrowDown = true;
    } else {
        RemoveAllFilters();
        FIsNarrowDown = !ACondition.empty();
        if (!ACondition.empty()) {
            addCondition(false);
            ApplyFilter();
        }
    }
    FLastFilter = ACondition;
    // An empty search leaves no filter level behind; rows hidden by other
    // means stay in the hidden-row store (emptying the store would lose them).
}

// ---------------------------------------------------------------------------
// The rows the filter took out

Integer TVodStringGrid::FilteredOutRowCount() const { return NumHiddenRows(); }

String TVodStringGrid::FilteredOutCell(Integer Index, Integer ACol, Integer& OriginalRow) const
{
    OriginalRow = -1;
    if (Index < 0 || Index >= NumHiddenRows()) return String();
    TGridItem* it = GridItem(Index);
    OriginalRow = it->Idx();
    TStrings* row = it->Items();
    return ACol >= 0 && ACol < row->Count() ? row->Strings(ACol) : String();
}

// ---------------------------------------------------------------------------
// The filter file

void TVodStringGrid::SaveFilter(const String& FileName)
{
    TMemIniFile ini(FileName);
    ini.WriteInteger(L"FILTER", L"COUNT", FFilter->Count());
    for (Integer i = 0; i < FFilter->Count(); ++i) {
        const TFilterData* f = FFilter->Items(i);
        const String sec = L"ITEM" + IntToStr(i);
        ini.WriteString(sec, L"CONDITION", f->Condition);
        ini.WriteInteger(sec, L"COLUMN", f->Column);
        ini.WriteInteger(sec, L"OPERATION", Integer(f->Operation));
        ini.WriteInteger(sec, L"METHOD", Integer(f->Method));
        ini.WriteBool(sec, L"CASE", f->CaseSensitive);
        ini.WriteBool(sec, L"ENABLED", f->Enabled);
        ini.WriteBool(sec, L"REMOVEACCENTED", f->RemoveAccented);
        ini.WriteString(sec, L"PREFIX", f->Prefix);
        ini.WriteString(sec, L"SUFFIX", f->Suffix);
        ini.WriteString(sec, L"FRIENDLYNAME", f->FriendlyName);
    }
    // One write of the whole file: on failure it raises and the old file
    // stays as it was.
    ini.UpdateFile();
}

void TVodStringGrid::LoadFilter(const String& FileName)
{
    try {
        TMemIniFile ini(FileName);
        Integer count = ini.ReadInteger(L"FILTER", L"COUNT", -1);
        if (count <= 0) return;
        count = std::min(count, kMaxFilterCount);
        FFilter->BeginUpdate();
        FFilter->Clear();
        for (Integer i = 0; i < count; ++i) {
            TFilterData* f = FFilter->Add();
            const String sec = L"ITEM" + IntToStr(i);
            f->Condition = ini.ReadString(sec, L"CONDITION", String());
            f->Column = SmallInt(ini.ReadInteger(sec, L"COLUMN", 0));
            const Integer op = ini.ReadInteger(sec, L"OPERATION", 0);
            f->Operation = op >= foSHORT && op <= foOR ? TFilterOperation(op) : foSHORT;
            f->Method = ini.ReadInteger(sec, L"METHOD", 0) == 1 ? fmLiteral : fmExpression;
            f->CaseSensitive = ini.ReadBool(sec, L"CASE", false);
            f->Enabled = ini.ReadBool(sec, L"ENABLED", true);
            f->RemoveAccented = ini.ReadBool(sec, L"REMOVEACCENTED", false);
            f->Prefix = ini.ReadString(sec, L"PREFIX", String());
            f->Suffix = ini.ReadString(sec, L"SUFFIX", String());
            f->FriendlyName = ini.ReadString(sec, L"FRIENDLYNAME", String());
        }
        FFilter->EndUpdate();
    } catch (...) {
        // A file that cannot be read leaves the conditions as they are.
        if (FFilter->UpdateCount() > 0) FFilter->EndUpdate();
    }
}

// ---------------------------------------------------------------------------
// Filter drop-down and filter edit row settings

TFilterDropDown::TFilterDropDown()
    : FFont(std::make_unique<TFont>()), FGlyph(std::make_unique<TBitmap>()), FGlyphActive(std::make_unique<TBitmap>())
{
}

TFilterDropDown::~TFilterDropDown() = default;

void TFilterDropDown::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TFilterDropDown*>(Source);
    if (!s) return;
    CaseSensitive = s->CaseSensitive;
    Color = s->Color;
    ColumnWidth = s->ColumnWidth;
    FFont->Assign(s->FFont.get());
    Height = s->Height;
    Width = s->Width;
    FGlyph->Assign(s->FGlyph.get());
    FGlyphActive->Assign(s->FGlyphActive.get());
    TextChecked = s->TextChecked;
    TextUnChecked = s->TextUnChecked;
    if (OnChange) OnChange(this);
}

void TFilterDropDown::SetGlyph(TBitmap* v)
{
    FGlyph->Assign(v);
    if (OnChange) OnChange(this);
}

void TFilterDropDown::SetGlyphActive(TBitmap* v)
{
    FGlyphActive->Assign(v);
    if (OnChange) OnChange(this);
}

TFilterEdit::TFilterEdit(TVodStringGrid* AGrid) : FGrid(AGrid), FTypeNames(std::make_unique<TStringList>())
{
    for (const wchar_t* n : {L"Starts with", L"Ends with", L"Contains", L"Not contains", L"Equal", L"Not equal",
                             L"Larger than", L"Smaller than", L"Clear"})
        FTypeNames->Add(n);
}

TFilterEdit::~TFilterEdit() = default;

void TFilterEdit::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TFilterEdit*>(Source);
    if (!s) return;
    Enabled = s->Enabled;
    Row = s->Row;
    Color = s->Color;
    Columns = s->Columns;
    CaseSensitive = s->CaseSensitive;
    FTypeNames->Assign(s->FTypeNames.get());
}

void TFilterEdit::Repaint()
{
    if (FGrid) FGrid->Invalidate();
}

void TFilterEdit::SetEnabled(bool v)
{
    if (Enabled == v) return;
    Enabled = v;
    Repaint();
    if (!FGrid) return;
    FGrid->SetFilterActive(false);
    FGrid->Filter()->Clear();
    for (Integer c = 0; c < FGrid->TotalColCount(); ++c) FGrid->SetCells(c, Row, String());
}

void TFilterEdit::SetRow(Integer v)
{
    if (Row == v) return;
    Row = v;
    Repaint();
}

void TFilterEdit::SetColor(TColor v)
{
    if (Color == v) return;
    Color = v;
    Repaint();
}

void TFilterEdit::SetColumns(TFilterDropDownColumns v)
{
    if (Columns == v) return;
    Columns = v;
    Repaint();
}
