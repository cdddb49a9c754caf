// The grid's filter conditions and the settings of the filter drop-down and
// the filter edit row.
#include "controls/grid/GridFilter.h"

#include "controls/grid/VodGrid.h"

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

TFilter::TFilter(TVodStringGrid* AGrid) : TCollection(CollectionItemClass<TFilterData>()), FGrid(AGrid) {}

TFilterData* TFilter::Add()
{
    auto* d = static_cast<TFilterData*>(TCollection::Add());
    d->Operation = Count() == 1 ? foNONE : foAND;
    return d;
}

bool TFilter::HasFilter(Integer Col) const
{
    for (Integer i = 0; i < Count(); ++i)
        if (Items(i)->Column == Col) return true;
    return false;
}

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
