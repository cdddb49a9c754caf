// The list window classes "LISTBOX", "COMBOBOX" and "ComboLBox" (the
// combo box's drop-down list) with their messages, and the class-library
// controls that wrap them: TCustomListBox/TListBox and
// TCustomComboBox/TComboBox.
#pragma once

#include <functional>
#include <memory>

#include "platform/base/Lists.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"

// Answers of the list and combo messages.
enum : LRESULT { LB_OKAY = 0, LB_ERR = -1, LB_ERRSPACE = -2, CB_OKAY = 0, CB_ERR = -1, CB_ERRSPACE = -2 };

// Registers the list window classes unless they are there (a reset of the
// window system removes them; creating a control registers them again).
void RegisterListClasses();

// The window procedures (for subclassing code that calls them directly).
LRESULT ListBoxWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);

// The item-text comparison sorted lists use (case-insensitive).
Integer ListCompareText(const String& a, const String& b);

// ---------------------------------------------------------------------------
// The class library's list box

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };

using TDrawItemEvent = std::function<void(TWinControl* Control, Integer Index, TRect Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = std::function<void(TWinControl* Control, Integer Index, Integer& Height)>;

class TCustomListBox;

// The items of a list box: the window's items while it has a handle, a
// list of their own before (and between handles).
class TListBoxStrings : public TStrings {
    VEL_CLASS(TListBoxStrings, TStrings)
public:
    explicit TListBoxStrings(TCustomListBox* ListBox) : FListBox(ListBox) {}
    Integer Add(const String& S) override;
    Integer AddObject(const String& S, TObject* AObject) override;
    void Insert(Integer Index, const String& S) override;
    void Delete(Integer Index) override;
    void Clear() override;
    Integer IndexOf(const String& S) const override;

protected:
    String Get(Integer Index) const override;
    Integer GetCount() const override;
    TObject* GetObject(Integer Index) const override;
    void Put(Integer Index, const String& S) override;
    void PutObject(Integer Index, TObject* AObject) override;
    void SetUpdateState(bool Updating) override;

private:
    TCustomListBox* FListBox;
};

class TCustomListBox : public TWinControl {
    VEL_CLASS(TCustomListBox, TWinControl)
public:
    explicit TCustomListBox(TComponent* AOwner);
    ~TCustomListBox() override;

    TStrings* Items() const { return FItems.get(); }
    void SetItems(TStrings* Value) { FItems->Assign(Value); }
    Integer Count() const { return FItems->Count(); }
    // The selected item (single selection) or the focused one (multiple).
    Integer ItemIndex();
    void SetItemIndex(Integer Value);
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool Value);
    bool ExtendedSelect() const { return FExtendedSelect; }
    void SetExtendedSelect(bool Value);
    bool Selected(Integer Index);
    void SetSelected(Integer Index, bool Value);
    // Selected items; -1 without multiple selection.
    Integer SelCount();
    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value);
    TListBoxStyle Style() const { return FStyle; }
    void SetStyle(TListBoxStyle Value);
    Integer ItemHeight();
    void SetItemHeight(Integer Value);
    Integer TopIndex();
    void SetTopIndex(Integer Value);
    bool IntegralHeight() const { return FIntegralHeight; }
    void SetIntegralHeight(bool Value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    // The item at a client point; with Existing false a point below the last
    // item answers Count, else -1.
    Integer ItemAtPos(TPoint Pos, bool Existing);
    TRect ItemRect(Integer Index);
    void Clear();
    void ClearSelection();
    void SelectAll();
    void DeleteSelected();
    TCanvas* Canvas();

    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

protected:
    friend class TListBoxStrings;
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& Message) override;
    virtual void DrawItem(Integer Index, TRect Rect, TOwnerDrawState State);
    virtual void MeasureItem(Integer Index, Integer& Height);
    virtual void CNCommand(TMessage& M);
    virtual void CNDrawItem(TMessage& M);
    virtual void CNMeasureItem(TMessage& M);
    virtual void CNCtlColorListBox(TMessage& M);
    // Whether the items live in the window now (not in the saved list).
    bool ItemsInWindow() const { return HandleAllocated() && !FMovingItems; }
    // The data an item carries (the window's item data, or the saved
    // object). Descendants that keep a record of their own per item wrap
    // the program's object in it: WrapObject makes or updates the record
    // (raw is the item's current data, null for a new item), UnwrapObject
    // gives the program's object back, ItemRemoved is told of data whose
    // item went away.
    TObject* RawObject(Integer Index) const;
    void SetRawObject(Integer Index, TObject* Raw);
    virtual TObject* WrapObject(TObject* Raw, TObject* AObject) { (void)Raw; return AObject; }
    virtual TObject* UnwrapObject(TObject* Raw) const { return Raw; }
    virtual void ItemRemoved(TObject* Raw) { (void)Raw; }

    std::unique_ptr<TListBoxStrings> FItems;
    // The items while there is no window.
    TStringList FSaveItems;
    std::vector<bool> FSaveSelected;
    Integer FSaveIndex = -1;
    Integer FSaveTop = 0;
    bool FMovingItems = false;
    bool FMultiSelect = false;
    bool FExtendedSelect = true;
    bool FSorted = false;
    bool FIntegralHeight = false;
    TListBoxStyle FStyle = lbStandard;
    Integer FItemHeight = 16;
    TBorderStyle FBorderStyle = bsSingle;
    TCanvas* FCanvas = nullptr;
    HBRUSH FBrush = nullptr;
    TColor FBrushColor = clNone;
};

class TListBox : public TCustomListBox {
    VEL_CLASS(TListBox, TCustomListBox)
public:
    explicit TListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}
};

// ---------------------------------------------------------------------------
// The combo box window

LRESULT ComboBoxWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);

// CB_GETCOMBOBOXINFO / GetComboBoxInfo.
enum : DWORD { STATE_SYSTEM_PRESSED = 0x8, STATE_SYSTEM_INVISIBLE = 0x8000 };
struct COMBOBOXINFO {
    DWORD cbSize = sizeof(COMBOBOXINFO);
    TRect rcItem;      // the selection field, client coordinates
    TRect rcButton;    // the drop-down button, client coordinates
    DWORD stateButton = 0;
    HWND hwndCombo = nullptr;
    HWND hwndItem = nullptr;  // the edit (drop-down and simple combo boxes), else the combo box
    HWND hwndList = nullptr;  // the list ("ComboLBox")
};
BOOL GetComboBoxInfo(HWND combo, COMBOBOXINFO* info);

// ---------------------------------------------------------------------------
// The class library's combo box

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

class TCustomComboBox;

// The items of a combo box: the window's while it has a handle.
class TComboBoxStrings : public TStrings {
    VEL_CLASS(TComboBoxStrings, TStrings)
public:
    explicit TComboBoxStrings(TCustomComboBox* ComboBox) : FComboBox(ComboBox) {}
    Integer Add(const String& S) override;
    Integer AddObject(const String& S, TObject* AObject) override;
    void Insert(Integer Index, const String& S) override;
    void Delete(Integer Index) override;
    void Clear() override;
    Integer IndexOf(const String& S) const override;

protected:
    String Get(Integer Index) const override;
    Integer GetCount() const override;
    TObject* GetObject(Integer Index) const override;
    void PutObject(Integer Index, TObject* AObject) override;
    void SetUpdateState(bool Updating) override;

private:
    TCustomComboBox* FComboBox;
};

class TCustomComboBox : public TWinControl {
    VEL_CLASS(TCustomComboBox, TWinControl)
public:
    explicit TCustomComboBox(TComponent* AOwner);
    ~TCustomComboBox() override;

    TStrings* Items() const { return FItems.get(); }
    void SetItems(TStrings* Value) { FItems->Assign(Value); }
    void AddItem(const String& Item, TObject* AObject) { FItems->AddObject(Item, AObject); }
    Integer Count() const;
    Integer ItemIndex();
    void SetItemIndex(Integer Value);
    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle Value);
    bool DroppedDown();
    void SetDroppedDown(bool Value);
    Integer DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(Integer Value);
    // The list items' height; ItemHeight of the selection field is
    // SendMessage(Handle, CB_GETITEMHEIGHT, -1).
    Integer ItemHeight();
    void SetItemHeight(Integer Value);
    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value);
    Integer MaxLength() const { return FMaxLength; }
    void SetMaxLength(Integer Value);
    bool AutoComplete() const { return FAutoComplete; }
    void SetAutoComplete(bool Value) { FAutoComplete = Value; }
    Integer SelStart();
    void SetSelStart(Integer Value);
    Integer SelLength();
    void SetSelLength(Integer Value);
    String SelText();
    void SetSelText(const String& Value);
    void SelectAll();
    void Clear();
    TCanvas* Canvas();
    // The child windows: the edit (none for drop-down lists) and the list.
    HWND EditHandle();
    HWND ListHandle();

    TNotifyEvent OnChange, OnSelect, OnDropDown, OnCloseUp;
    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

protected:
    friend class TComboBoxStrings;
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& Message) override;
    virtual void Change();
    virtual void Select();
    virtual void DropDown();
    virtual void CloseUp();
    virtual void DrawItem(Integer Index, TRect Rect, TOwnerDrawState State);
    virtual void MeasureItem(Integer Index, Integer& Height);
    virtual void CNCommand(TMessage& M);
    virtual void CNDrawItem(TMessage& M);
    virtual void CNMeasureItem(TMessage& M);
    virtual void CtlColor(TMessage& M);
    // The edit's window procedure as the control sees it: keys and focus
    // reach the control, typed prefixes complete from the items.
    virtual void EditWndProc(TMessage& M);
    bool ItemsInWindow() const { return HandleAllocated() && !FMovingItems; }
    bool AutoCompleteChar(Char ch);
    static LRESULT EditSubclassProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);

    std::unique_ptr<TComboBoxStrings> FItems;
    TStringList FSaveItems;
    Integer FSaveIndex = -1;
    bool FMovingItems = false;
    TComboBoxStyle FStyle = csDropDown;
    Integer FDropDownCount = 8;
    Integer FItemHeight = 16;
    bool FSorted = false;
    Integer FMaxLength = 0;
    bool FAutoComplete = true;
    HWND FEditHandle = nullptr;
    WNDPROC FEditDefProc = nullptr;
    TCanvas* FCanvas = nullptr;
    HBRUSH FBrush = nullptr;
    TColor FBrushColor = clNone;
};

class TComboBox : public TCustomComboBox {
    VEL_CLASS(TComboBox, TCustomComboBox)
public:
    explicit TComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {}
};
