// The grid's filter conditions (TFilterData in a TFilter), the look and
// options of the filter drop-down (TFilterDropDown), the filter edit row
// settings (TFilterEdit) and the two drop-down lists of the header
// (TDropList, TDropCheckList). Filtering itself and the lists' keys and
// mouse come with the grid's filter family (VodGrid_Filter.cpp).
#pragma once

#include <functional>
#include <memory>

#include "platform/gfx/Graphics.h"
#include "platform/ui/CheckLst.h"
#include "platform/ui/StdCtrls.h"

class TVodStringGrid;

enum TFilterOperation { foSHORT, foNONE, foAND, foXOR, foOR };
enum TFilterCells { fcVirtual, fcNormal, fcStripHTML, fcCalculated, fcRow };
enum TFilterMethod { fmExpression, fmLiteral };
enum TFilterType {
    ftStartsWith, ftEndsWith, ftContains, ftNotContains, ftEqual, ftNotEqual, ftLargerThan, ftSmallerThan, ftClear,
    ftNone
};
enum TFilterDropDownColumns { fdNormal, fdAll };

class TFilterData : public TCollectionItem {
    VEL_CLASS(TFilterData, TCollectionItem)
public:
    explicit TFilterData(TCollection* Collection) : TCollectionItem(Collection) {}
    // Copies Column, Condition, CaseSensitive, Data, Prefix, Suffix,
    // Operation and RemoveAccented from another condition.
    void Assign(TPersistent* Source) override;
    SmallInt Column = 0;
    String Condition;
    bool CaseSensitive = true;
    String Suffix, Prefix, FriendlyName;
    TFilterOperation Operation = foSHORT;
    TFilterCells Data = fcVirtual;
    TFilterMethod Method = fmExpression;
    TFilterType FilterType = ftStartsWith;
    bool Enabled = true;
    bool RemoveAccented = false;
};

class TFilter : public TCollection {
    VEL_CLASS(TFilter, TCollection)
public:
    explicit TFilter(TVodStringGrid* AGrid);
    // Appends a condition: foNONE when it is the only one, else foAND.
    TFilterData* Add();
    TFilterData* Items(Integer Index) const { return static_cast<TFilterData*>(TCollection::Items(Index)); }
    bool HasFilter(Integer Col) const;
    TVodStringGrid* Grid() const { return FGrid; }

private:
    TVodStringGrid* FGrid;
};

class TFilterDropDown : public TPersistent {
    VEL_CLASS(TFilterDropDown, TPersistent)
public:
    TFilterDropDown();
    ~TFilterDropDown() override;
    // Copies CaseSensitive, Color, ColumnWidth, Font, Height, Width, both
    // glyphs, TextChecked and TextUnChecked from another filter drop-down.
    void Assign(TPersistent* Source) override;
    bool AutoSize = false;
    bool CaseSensitive = false;
    TColor Color = clWindow;
    bool ColumnWidth = false;
    Integer Height = 150;
    Integer Width = 150;
    bool Sorted = true;
    String TextChecked, TextUnChecked;
    TFont* Font() const { return FFont.get(); }
    TBitmap* Glyph() const { return FGlyph.get(); }
    TBitmap* GlyphActive() const { return FGlyphActive.get(); }
    TNotifyEvent OnChange;

private:
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TBitmap> FGlyph, FGlyphActive;
};

class TFilterEdit : public TPersistent {
    VEL_CLASS(TFilterEdit, TPersistent)
public:
    explicit TFilterEdit(TVodStringGrid* AGrid);
    ~TFilterEdit() override;
    // Copies every setting from another filter edit.
    void Assign(TPersistent* Source) override;
    bool Enabled = false;
    Integer Row = 0;
    TColor Color = TColor(0xFFFFFF);
    TFilterDropDownColumns Columns = fdNormal;
    bool CaseSensitive = true;
    TStringList* TypeNames() const { return FTypeNames.get(); }

private:
    TVodStringGrid* FGrid;
    std::unique_ptr<TStringList> FTypeNames;
};

using TDropListSelectEvent = std::function<void(TObject* Sender, Integer ItemIndex)>;

class TDropList : public TListBox {
    VEL_CLASS(TDropList, TListBox)
public:
    explicit TDropList(TComponent* AOwner) : TListBox(AOwner) {}
    TDropListSelectEvent OnSelect;
    TNotifyEvent OnClose;
};

class TDropCheckList : public TCheckListBox {
    VEL_CLASS(TDropCheckList, TCheckListBox)
public:
    explicit TDropCheckList(TComponent* AOwner) : TCheckListBox(AOwner) {}
    TDropListSelectEvent OnSelect;
    TNotifyEvent OnClose;
};
