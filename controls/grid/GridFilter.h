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
    // Condition from a typed value by FilterType (a value with a blank is
    // first quoted); ftClear and ftNone leave it unchanged.
    void BuildCondition(const String& S);
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
    // Appends (the index is not used) and leaves the operation at foSHORT.
    TFilterData* Insert(Integer Index);
    TFilterData* Items(Integer Index) const { return static_cast<TFilterData*>(TCollection::Items(Index)); }
    void SetItems(Integer Index, TFilterData* Value) { Items(Index)->Assign(Value); }
    // The first condition of the column, made (by Add) when there is none.
    TFilterData* GetColFilter(Integer Col);
    bool HasFilter(Integer Col) const;
    bool HasOtherFilter(Integer Col) const;
    // The kind of the column's first condition, ftContains without one.
    TFilterType HasFilterType(Integer Col) const;
    // Deletes every condition of the column and repaints its header cell.
    void RemoveColumnFilter(Integer Col);
    TVodStringGrid* Grid() const { return FGrid; }

protected:
    // After a change of a condition the grid repaints row 0.
    void Update(TCollectionItem* Item) override;

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
    void SetFont(TFont* v) { FFont->Assign(v); }
    TBitmap* Glyph() const { return FGlyph.get(); }
    TBitmap* GlyphActive() const { return FGlyphActive.get(); }
    // Copies the bitmap and fires OnChange.
    void SetGlyph(TBitmap* v);
    void SetGlyphActive(TBitmap* v);
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
    void SetTypeNames(TStrings* v) { FTypeNames->Assign(v); }
    // A new value repaints the grid; Enabled also switches the filter off,
    // clears every condition and empties the filter edit row.
    void SetEnabled(bool v);
    void SetRow(Integer v);
    void SetColor(TColor v);
    void SetColumns(TFilterDropDownColumns v);

private:
    void Repaint();
    TVodStringGrid* FGrid;
    std::unique_ptr<TStringList> FTypeNames;
};

using TDropListSelectEvent = std::function<void(TObject* Sender, Integer ItemIndex)>;

// The plain list of a filter button: Enter and a released mouse button
// pick the current item (OnSelect), Escape closes (OnClose). When the
// platform cancels a mouse mode with the pointer outside the list (the
// header cell just above counts as inside), the grid closes the column.
class TDropList : public TListBox {
    VEL_CLASS(TDropList, TListBox)
public:
    explicit TDropList(TComponent* AOwner) : TListBox(AOwner) {}
    TDropListSelectEvent OnSelect;
    TNotifyEvent OnClose;
    void KeyDown(Word& Key, TShiftState Shift) override;

protected:
    void Dispatch(TMessage& Message) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
};

// The check list of a filter button: toggling an item's check box picks it
// (OnSelect), Escape closes; the cancel-mode rule counts only the list.
class TDropCheckList : public TCheckListBox {
    VEL_CLASS(TDropCheckList, TCheckListBox)
public:
    explicit TDropCheckList(TComponent* AOwner) : TCheckListBox(AOwner) {}
    TDropListSelectEvent OnSelect;
    TNotifyEvent OnClose;
    void KeyDown(Word& Key, TShiftState Shift) override;

protected:
    void Dispatch(TMessage& Message) override;
    void ClickCheck() override;
};
