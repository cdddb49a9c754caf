// The common controls: the report list view ("SysListView32") with its
// header ("SysHeader32"), the date-time picker ("SysDateTimePick32") with
// its month calendar ("SysMonthCal32"), their messages and records, and the
// class-library wrappers TListView and TDateTimePicker.
#pragma once

#include <memory>
#include <vector>

#include "platform/base/Exceptions.h"
#include "platform/base/Lists.h"
#include "platform/base/Objects.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Windows.h"

// ---------------------------------------------------------------------------
// Window class names
// ---------------------------------------------------------------------------

inline constexpr const wchar_t* WC_HEADER = L"SysHeader32";
inline constexpr const wchar_t* WC_LISTVIEW = L"SysListView32";
inline constexpr const wchar_t* DATETIMEPICK_CLASS = L"SysDateTimePick32";
inline constexpr const wchar_t* MONTHCAL_CLASS = L"SysMonthCal32";

// Registers the classes (again after a reset of the window system); cheap
// when they already are.
void RegisterListViewClasses();
void RegisterDateTimeClasses();

// ---------------------------------------------------------------------------
// Header
// ---------------------------------------------------------------------------

enum : UINT {
    HDM_FIRST = 0x1200,
    HDM_GETITEMCOUNT = HDM_FIRST + 0, HDM_DELETEITEM = HDM_FIRST + 2, HDM_LAYOUT = HDM_FIRST + 5,
    HDM_HITTEST = HDM_FIRST + 6, HDM_GETITEMRECT = HDM_FIRST + 7, HDM_INSERTITEMW = HDM_FIRST + 10,
    HDM_GETITEMW = HDM_FIRST + 11, HDM_SETITEMW = HDM_FIRST + 12,
    HDM_INSERTITEM = HDM_INSERTITEMW, HDM_GETITEM = HDM_GETITEMW, HDM_SETITEM = HDM_SETITEMW,
};

enum : int {
    HDN_FIRST = -300,
    HDN_ITEMCHANGINGW = -320, HDN_ITEMCHANGEDW = -321, HDN_ITEMCLICKW = -322,
    HDN_ITEMDBLCLICKW = -323, HDN_DIVIDERDBLCLICKW = -325, HDN_BEGINTRACKW = -326,
    HDN_ENDTRACKW = -327, HDN_TRACKW = -328,
    HDN_ITEMCHANGING = HDN_ITEMCHANGINGW, HDN_ITEMCHANGED = HDN_ITEMCHANGEDW,
    HDN_ITEMCLICK = HDN_ITEMCLICKW, HDN_ITEMDBLCLICK = HDN_ITEMDBLCLICKW,
    HDN_DIVIDERDBLCLICK = HDN_DIVIDERDBLCLICKW, HDN_BEGINTRACK = HDN_BEGINTRACKW,
    HDN_ENDTRACK = HDN_ENDTRACKW, HDN_TRACK = HDN_TRACKW,
};

enum : UINT {
    HDS_HORZ = 0x0, HDS_BUTTONS = 0x2, HDS_HOTTRACK = 0x4, HDS_HIDDEN = 0x8, HDS_FULLDRAG = 0x80,
    HDI_WIDTH = 0x1, HDI_TEXT = 0x2, HDI_FORMAT = 0x4, HDI_LPARAM = 0x8, HDI_IMAGE = 0x20,
    HDI_ORDER = 0x80,
    HDF_LEFT = 0x0, HDF_RIGHT = 0x1, HDF_CENTER = 0x2, HDF_JUSTIFYMASK = 0x3,
    HDF_SORTDOWN = 0x200, HDF_SORTUP = 0x400, HDF_STRING = 0x4000,
    HHT_NOWHERE = 0x1, HHT_ONHEADER = 0x2, HHT_ONDIVIDER = 0x4, HHT_ONDIVOPEN = 0x8,
};

struct HDITEM {
    UINT mask = 0;
    int cxy = 0;
    wchar_t* pszText = nullptr;
    void* hbm = nullptr;
    int cchTextMax = 0;
    int fmt = 0;
    LPARAM lParam = 0;
    int iImage = 0;
    int iOrder = 0;
};
using HDITEMW = HDITEM;

struct NMHEADER {
    NMHDR hdr;
    int iItem = -1;
    int iButton = 0;
    HDITEM* pitem = nullptr;
};

struct HDLAYOUT {
    TRect* prc = nullptr;
    WINDOWPOS* pwpos = nullptr;
};

struct HDHITTESTINFO {
    TPoint pt;
    UINT flags = 0;
    int iItem = -1;
};

// ---------------------------------------------------------------------------
// List view
// ---------------------------------------------------------------------------

enum : UINT {
    LVM_FIRST = 0x1000,
    LVM_GETBKCOLOR = LVM_FIRST + 0, LVM_SETBKCOLOR = LVM_FIRST + 1,
    LVM_GETITEMCOUNT = LVM_FIRST + 4, LVM_DELETEITEM = LVM_FIRST + 8,
    LVM_DELETEALLITEMS = LVM_FIRST + 9, LVM_GETNEXTITEM = LVM_FIRST + 12,
    LVM_GETITEMRECT = LVM_FIRST + 14, LVM_HITTEST = LVM_FIRST + 18,
    LVM_ENSUREVISIBLE = LVM_FIRST + 19, LVM_SCROLL = LVM_FIRST + 20,
    LVM_REDRAWITEMS = LVM_FIRST + 21, LVM_DELETECOLUMN = LVM_FIRST + 28,
    LVM_GETCOLUMNWIDTH = LVM_FIRST + 29, LVM_SETCOLUMNWIDTH = LVM_FIRST + 30,
    LVM_GETHEADER = LVM_FIRST + 31, LVM_GETTEXTCOLOR = LVM_FIRST + 35,
    LVM_SETTEXTCOLOR = LVM_FIRST + 36, LVM_GETTEXTBKCOLOR = LVM_FIRST + 37,
    LVM_SETTEXTBKCOLOR = LVM_FIRST + 38, LVM_GETTOPINDEX = LVM_FIRST + 39,
    LVM_GETCOUNTPERPAGE = LVM_FIRST + 40, LVM_UPDATE = LVM_FIRST + 42,
    LVM_SETITEMSTATE = LVM_FIRST + 43, LVM_GETITEMSTATE = LVM_FIRST + 44,
    LVM_GETSELECTEDCOUNT = LVM_FIRST + 50, LVM_SETEXTENDEDLISTVIEWSTYLE = LVM_FIRST + 54,
    LVM_GETEXTENDEDLISTVIEWSTYLE = LVM_FIRST + 55, LVM_GETSUBITEMRECT = LVM_FIRST + 56,
    LVM_SUBITEMHITTEST = LVM_FIRST + 57, LVM_GETSELECTIONMARK = LVM_FIRST + 66,
    LVM_SETSELECTIONMARK = LVM_FIRST + 67,
    LVM_GETITEMW = LVM_FIRST + 75, LVM_SETITEMW = LVM_FIRST + 76,
    LVM_INSERTITEMW = LVM_FIRST + 77, LVM_GETCOLUMNW = LVM_FIRST + 95,
    LVM_SETCOLUMNW = LVM_FIRST + 96, LVM_INSERTCOLUMNW = LVM_FIRST + 97,
    LVM_GETITEMTEXTW = LVM_FIRST + 115, LVM_SETITEMTEXTW = LVM_FIRST + 116,
    LVM_GETITEM = LVM_GETITEMW, LVM_SETITEM = LVM_SETITEMW, LVM_INSERTITEM = LVM_INSERTITEMW,
    LVM_GETCOLUMN = LVM_GETCOLUMNW, LVM_SETCOLUMN = LVM_SETCOLUMNW,
    LVM_INSERTCOLUMN = LVM_INSERTCOLUMNW, LVM_GETITEMTEXT = LVM_GETITEMTEXTW,
    LVM_SETITEMTEXT = LVM_SETITEMTEXTW,
};

enum : int {
    LVN_FIRST = -100,
    LVN_ITEMCHANGING = -100, LVN_ITEMCHANGED = -101, LVN_INSERTITEM = -102,
    LVN_DELETEITEM = -103, LVN_DELETEALLITEMS = -104, LVN_COLUMNCLICK = -108,
    LVN_ITEMACTIVATE = -114, LVN_KEYDOWN = -155,
};

enum : UINT {
    LVS_ICON = 0x0, LVS_REPORT = 0x1, LVS_SMALLICON = 0x2, LVS_LIST = 0x3, LVS_TYPEMASK = 0x3,
    LVS_SINGLESEL = 0x4, LVS_SHOWSELALWAYS = 0x8, LVS_SORTASCENDING = 0x10,
    LVS_SORTDESCENDING = 0x20, LVS_SHAREIMAGELISTS = 0x40, LVS_NOLABELWRAP = 0x80,
    LVS_AUTOARRANGE = 0x100, LVS_EDITLABELS = 0x200, LVS_OWNERDATA = 0x1000,
    LVS_NOSCROLL = 0x2000, LVS_NOCOLUMNHEADER = 0x4000, LVS_NOSORTHEADER = 0x8000,

    LVS_EX_GRIDLINES = 0x1, LVS_EX_SUBITEMIMAGES = 0x2, LVS_EX_CHECKBOXES = 0x4,
    LVS_EX_TRACKSELECT = 0x8, LVS_EX_HEADERDRAGDROP = 0x10, LVS_EX_FULLROWSELECT = 0x20,
    LVS_EX_ONECLICKACTIVATE = 0x40, LVS_EX_DOUBLEBUFFER = 0x10000,

    LVIF_TEXT = 0x1, LVIF_IMAGE = 0x2, LVIF_PARAM = 0x4, LVIF_STATE = 0x8, LVIF_INDENT = 0x10,
    LVIS_FOCUSED = 0x1, LVIS_SELECTED = 0x2, LVIS_CUT = 0x4, LVIS_DROPHILITED = 0x8,
    LVNI_ALL = 0x0, LVNI_FOCUSED = 0x1, LVNI_SELECTED = 0x2, LVNI_ABOVE = 0x100,
    LVNI_BELOW = 0x200, LVNI_TOLEFT = 0x400, LVNI_TORIGHT = 0x800,
    LVIR_BOUNDS = 0, LVIR_ICON = 1, LVIR_LABEL = 2, LVIR_SELECTBOUNDS = 3,
    LVHT_NOWHERE = 0x1, LVHT_ONITEMICON = 0x2, LVHT_ONITEMLABEL = 0x4,
    LVHT_ONITEMSTATEICON = 0x8, LVHT_ONITEM = 0xE, LVHT_ABOVE = 0x8, LVHT_BELOW = 0x10,
    LVHT_TORIGHT = 0x20, LVHT_TOLEFT = 0x40,
    LVCF_FMT = 0x1, LVCF_WIDTH = 0x2, LVCF_TEXT = 0x4, LVCF_SUBITEM = 0x8,
    LVCFMT_LEFT = 0x0, LVCFMT_RIGHT = 0x1, LVCFMT_CENTER = 0x2, LVCFMT_JUSTIFYMASK = 0x3,
};
constexpr int LVSCW_AUTOSIZE = -1;
constexpr int LVSCW_AUTOSIZE_USEHEADER = -2;

struct LVITEM {
    UINT mask = 0;
    int iItem = 0;
    int iSubItem = 0;
    UINT state = 0;
    UINT stateMask = 0;
    wchar_t* pszText = nullptr;
    int cchTextMax = 0;
    int iImage = 0;
    LPARAM lParam = 0;
    int iIndent = 0;
};
using LVITEMW = LVITEM;

struct LVCOLUMN {
    UINT mask = 0;
    int fmt = 0;
    int cx = 0;
    wchar_t* pszText = nullptr;
    int cchTextMax = 0;
    int iSubItem = 0;
    int iImage = 0;
    int iOrder = 0;
};
using LVCOLUMNW = LVCOLUMN;

struct NMLISTVIEW {
    NMHDR hdr;
    int iItem = -1;
    int iSubItem = 0;
    UINT uNewState = 0;
    UINT uOldState = 0;
    UINT uChanged = 0;
    TPoint ptAction;
    LPARAM lParam = 0;
};

struct NMITEMACTIVATE {
    NMHDR hdr;
    int iItem = -1;
    int iSubItem = 0;
    UINT uNewState = 0;
    UINT uOldState = 0;
    UINT uChanged = 0;
    TPoint ptAction;
    LPARAM lParam = 0;
    UINT uKeyFlags = 0;
};

struct NMLVKEYDOWN {
    NMHDR hdr;
    Word wVKey = 0;
    UINT flags = 0;
};

struct LVHITTESTINFO {
    TPoint pt;
    UINT flags = 0;
    int iItem = -1;
    int iSubItem = 0;
};

// ---------------------------------------------------------------------------
// TListView
// ---------------------------------------------------------------------------

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
enum TItemChange { ctText, ctImage, ctState };
enum TItemState { isNone, isCut, isDropHilited, isFocused, isSelected, isActivating };
using TItemStates = TSet<TItemState>;

class TCustomListView;
class TListItems;
class TListColumns;

class TListColumn : public TCollectionItem {
    VEL_CLASS(TListColumn, TCollectionItem)
public:
    explicit TListColumn(TCollection* Collection);
    const String& Caption() const { return FCaption; }
    void SetCaption(const String& v);
    // The width in pixels; while the window exists, the one it has (the
    // user may have dragged the divider).
    Integer Width() const;
    void SetWidth(Integer v);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);
    void Assign(TPersistent* Source) override;
    String DisplayName() const override { return FCaption.empty() ? TCollectionItem::DisplayName() : FCaption; }

private:
    friend class TListColumns;
    friend class TCustomListView;
    TCustomListView* ListView() const;
    String FCaption;
    Integer FWidth = 50;
    TAlignment FAlignment = taLeftJustify;
};

class TListColumns : public TOwnedCollection {
    VEL_CLASS(TListColumns, TOwnedCollection)
public:
    explicit TListColumns(TCustomListView* AOwner);
    TListColumn* Add();
    TListColumn* Insert(Integer Index);
    TListColumn* Items(Integer Index) const { return static_cast<TListColumn*>(TCollection::Items(Index)); }
    TListColumn* operator[](Integer Index) const { return Items(Index); }
    TCustomListView* Owner() const { return FListView; }

protected:
    void Update(TCollectionItem* Item) override;
    void Notify(TCollectionItem* Item, TCollectionNotification Action) override;

private:
    TCustomListView* FListView;
    Integer FAdding = 0;
};

class TListItem : public TPersistent {
    VEL_CLASS(TListItem, TPersistent)
public:
    explicit TListItem(TListItems* AOwner);
    ~TListItem() override;

    TListItems* Owner() const { return FOwner; }
    TCustomListView* ListView() const;
    Integer Index() const;
    const String& Caption() const { return FCaption; }
    void SetCaption(const String& v);
    // The texts of the columns after the first; changes show at once.
    TStrings* SubItems() const;
    void SetSubItems(TStrings* v);
    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer v);
    void* Data() const { return FData; }
    void SetData(void* v) { FData = v; }
    bool Selected() const;
    void SetSelected(bool v);
    bool Focused() const;
    void SetFocused(bool v);
    void Delete();
    void MakeVisible(bool PartialOK = false);
    TRect DisplayRect(Integer Code = LVIR_BOUNDS) const;
    void Assign(TPersistent* Source) override;

private:
    friend class TListItems;
    friend class TCustomListView;
    void SubItemsChanged();
    UINT State() const;
    void SetState(UINT mask, bool on);

    TListItems* FOwner;
    String FCaption;
    std::unique_ptr<TStringList> FSubItems;
    Integer FImageIndex = -1;
    void* FData = nullptr;
    UINT FState = 0;           // LVIS_ bits while there is no window
    Integer FWindowSubCount = 0;   // sub-item texts the window was given
    bool FDeleting = false;
};

class TListItems : public TPersistent {
    VEL_CLASS(TListItems, TPersistent)
public:
    explicit TListItems(TCustomListView* AOwner) : FOwner(AOwner) {}
    ~TListItems() override;
    TCustomListView* Owner() const { return FOwner; }
    TListItem* Add();
    TListItem* Insert(Integer Index);
    TListItem* AddItem(TListItem* Item, Integer Index = -1);   // a copy of Item
    void Delete(Integer Index);
    void Clear();
    Integer Count() const { return Integer(FItems.size()); }
    TListItem* Item(Integer Index) const;
    TListItem* operator[](Integer Index) const { return Item(Index); }
    Integer IndexOf(const TListItem* Item) const;
    void BeginUpdate();
    void EndUpdate();
    void Assign(TPersistent* Source) override;

private:
    friend class TListItem;
    friend class TCustomListView;
    TCustomListView* FOwner;
    std::vector<std::unique_ptr<TListItem>> FItems;
    Integer FUpdateCount = 0;
};

using TLVChangeEvent = std::function<void(TObject* Sender, TListItem* Item, TItemChange Change)>;
using TLVChangingEvent = std::function<void(TObject* Sender, TListItem* Item, TItemChange Change, bool& AllowChange)>;
using TLVSelectItemEvent = std::function<void(TObject* Sender, TListItem* Item, bool Selected)>;
using TLVColumnClickEvent = std::function<void(TObject* Sender, TListColumn* Column)>;
using TLVDeletedEvent = std::function<void(TObject* Sender, TListItem* Item)>;

class TCustomListView : public TWinControl {
    VEL_CLASS(TCustomListView, TWinControl)
public:
    explicit TCustomListView(TComponent* AOwner);
    ~TCustomListView() override;

    TListColumns* Columns() const { return FColumns.get(); }
    TListColumn* Column(Integer Index) const { return FColumns->Items(Index); }
    TListItems* Items() const { return FItems.get(); }
    TViewStyle ViewStyle() const { return FViewStyle; }
    void SetViewStyle(TViewStyle v);

    // The first selected item's index, -1 for none. Setting selects the
    // item alone and focuses it; -1 clears the selection.
    Integer ItemIndex() const;
    void SetItemIndex(Integer v);
    TListItem* Selected() const;
    void SetSelected(TListItem* v);
    TListItem* ItemFocused() const;
    void SetItemFocused(TListItem* v);
    Integer SelCount() const;
    void ClearSelection();
    // The list view's own search direction (other units name theirs alike).
    enum TSearchDirection { sdLeft, sdRight, sdAbove, sdBelow, sdAll };
    TListItem* GetNextItem(TListItem* StartItem, TSearchDirection Direction, TItemStates States) const;
    TListItem* GetItemAt(Integer X, Integer Y) const;
    TListItem* TopItem() const;
    Integer VisibleRowCount() const;
    void Scroll(Integer DX, Integer DY);

    bool GridLines() const { return FGridLines; }
    void SetGridLines(bool v);
    bool RowSelect() const { return FRowSelect; }
    void SetRowSelect(bool v);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v);
    bool ColumnClick() const { return FColumnClick; }
    void SetColumnClick(bool v);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool v);
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool v);
    bool ShowColumnHeaders() const { return FShowColumnHeaders; }
    void SetShowColumnHeaders(bool v);

    TLVChangeEvent OnChange;
    TLVChangingEvent OnChanging;
    TLVSelectItemEvent OnSelectItem;
    TLVColumnClickEvent OnColumnClick;
    TLVDeletedEvent OnDeletion, OnInsert;

protected:
    friend class TListItem;
    friend class TListItems;
    friend class TListColumn;
    friend class TListColumns;
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& Message) override;
    virtual void Change(TListItem* Item, TItemChange Change);
    virtual bool CanChange(TListItem* Item, TItemChange Change);
    virtual void DoSelectItem(TListItem* Item, bool Selected);
    virtual void ColClick(TListColumn* Column);
    virtual void Delete(TListItem* Item);
    virtual void InsertItem(TListItem* Item);
    void CNNotify(TMessage& M);

    // Mirroring into the window.
    void UpdateColumn(Integer Index);
    void UpdateColumns();
    void WindowInsertItem(TListItem* Item, Integer Index);
    void WindowSetText(TListItem* Item, Integer SubItem, const String& Text);
    void WindowSetSubItems(TListItem* Item);
    TListItem* ItemOfParam(LPARAM l) const { return reinterpret_cast<TListItem*>(l); }
    bool Mirrors() const { return FHandle != nullptr && !FDestroyingWnd; }
    void SetExStyle(UINT mask, bool on);
    void SetStyleBit(DWORD bit, bool on);
    Integer WindowColumnCount() const;

private:
    std::unique_ptr<TListColumns> FColumns;
    std::unique_ptr<TListItems> FItems;
    TViewStyle FViewStyle = vsIcon;
    bool FGridLines = false, FRowSelect = false, FReadOnly = false, FColumnClick = true;
    bool FHideSelection = true, FMultiSelect = false, FShowColumnHeaders = true;
    bool FDestroyingWnd = false;
    bool FPopulating = false;   // the window being filled from the objects
};

class TListView : public TCustomListView {
    VEL_CLASS(TListView, TCustomListView)
public:
    explicit TListView(TComponent* AOwner) : TCustomListView(AOwner) {}
};

// ---------------------------------------------------------------------------
// Date-time picker and month calendar
// ---------------------------------------------------------------------------

enum : UINT {
    DTM_SETFORMATA = DTM_FIRST + 5, DTM_CLOSEMONTHCAL = DTM_FIRST + 13,
    DTM_SETFORMAT = DTM_SETFORMATW,

    DTS_SHORTDATEFORMAT = 0x0, DTS_UPDOWN = 0x1, DTS_SHOWNONE = 0x2, DTS_LONGDATEFORMAT = 0x4,
    DTS_TIMEFORMAT = 0x9, DTS_SHORTDATECENTURYFORMAT = 0xC, DTS_APPCANPARSE = 0x10,
    DTS_RIGHTALIGN = 0x20,

    MCM_FIRST = 0x1000,
    MCM_GETCURSEL = MCM_FIRST + 1, MCM_SETCURSEL = MCM_FIRST + 2,
    MCM_GETMINREQRECT = MCM_FIRST + 9, MCM_SETCOLOR = MCM_FIRST + 10,
    MCM_GETCOLOR = MCM_FIRST + 11, MCM_SETTODAY = MCM_FIRST + 12, MCM_GETTODAY = MCM_FIRST + 13,
    MCM_HITTEST = MCM_FIRST + 14, MCM_SETFIRSTDAYOFWEEK = MCM_FIRST + 15,
    MCM_GETFIRSTDAYOFWEEK = MCM_FIRST + 16, MCM_GETRANGE = MCM_FIRST + 17,
    MCM_SETRANGE = MCM_FIRST + 18,

    MCS_DAYSTATE = 0x1, MCS_MULTISELECT = 0x2, MCS_WEEKNUMBERS = 0x4, MCS_NOTODAYCIRCLE = 0x8,
    MCS_NOTODAY = 0x10,
    MCSC_BACKGROUND = 0, MCSC_TEXT = 1, MCSC_TITLEBK = 2, MCSC_TITLETEXT = 3, MCSC_MONTHBK = 4,
    MCSC_TRAILINGTEXT = 5,
    GDTR_MIN = 0x1, GDTR_MAX = 0x2,
    MCHT_TITLE = 0x10000, MCHT_CALENDAR = 0x20000, MCHT_TODAYLINK = 0x30000,
    MCHT_NEXT = 0x1000000, MCHT_PREV = 0x2000000, MCHT_NOWHERE = 0x0,
    MCHT_TITLEBTNNEXT = MCHT_TITLE | MCHT_NEXT | 0x3, MCHT_TITLEBTNPREV = MCHT_TITLE | MCHT_PREV | 0x3,
    MCHT_CALENDARDATE = MCHT_CALENDAR | 0x1, MCHT_CALENDARDATENEXT = MCHT_CALENDARDATE | MCHT_NEXT,
    MCHT_CALENDARDATEPREV = MCHT_CALENDARDATE | MCHT_PREV, MCHT_CALENDARDAY = MCHT_CALENDAR | 0x2,
    MCHT_CALENDARWEEKNUM = MCHT_CALENDAR | 0x3,
};

// Answers of DTM_GETSYSTEMTIME and flags of DTM_SETSYSTEMTIME / the notices.
enum : LRESULT { GDT_ERROR = -1, GDT_VALID = 0, GDT_NONE = 1 };

enum : int {
    DTN_USERSTRINGW = -745, DTN_WMKEYDOWNW = -744, DTN_FORMATW = -743, DTN_FORMATQUERYW = -742,
    DTN_USERSTRINGA = -758, DTN_USERSTRING = DTN_USERSTRINGW,
};

struct NMDATETIMECHANGE {
    NMHDR nmhdr;
    DWORD dwFlags = GDT_VALID;
    SYSTEMTIME st;
};

struct NMDATETIMESTRING {
    NMHDR nmhdr;
    const wchar_t* pszUserString = nullptr;
    SYSTEMTIME st;
    DWORD dwFlags = DWORD(GDT_ERROR);
};
using NMDATETIMESTRINGW = NMDATETIMESTRING;

struct NMSELCHANGE {
    NMHDR nmhdr;
    SYSTEMTIME stSelStart;
    SYSTEMTIME stSelEnd;
};
using NMSELECT = NMSELCHANGE;

struct MCHITTESTINFO {
    UINT cbSize = sizeof(MCHITTESTINFO);
    TPoint pt;
    UINT uHit = 0;
    SYSTEMTIME st;
};

// The date-time format of a picker style in the picker's own format
// syntax, from the locale's formats (FormatSettings).
String DateTimePickerFormatOf(DWORD style);
// A format of FormatDateTime's syntax ("dd/mm/yyyy hh:nn") in the picker's
// syntax ("dd/MM/yyyy HH:mm"), the separators given by the locale.
String PickerFormatFromLocale(const String& fmt);

// Typing into a picker window field by field: with on, a field's digits
// reach the value only once the field is complete and the caret stays in
// it, so a control that moves on by itself (auto-tab) sees one change per
// completed field. Off (the default) every digit reaches the value and a
// complete field hands the caret to the next.
void DateTimePickerSetWholeFields(HWND picker, bool on);

// ---------------------------------------------------------------------------
// TDateTimePicker
// ---------------------------------------------------------------------------

// A date limit set against the other limit.
VEL_DECLARE_EXCEPTION(EDateTimeError, Exception)

enum TDateTimeKind { dtkDate, dtkTime };
enum TDTDateMode { dmComboBox, dmUpDown };
enum TDTDateFormat { dfShort, dfLong };
enum TDTCalAlignment { dtaLeft, dtaRight };

using TDTParseInputEvent = std::function<void(TObject* Sender, const String& UserString,
                                              TDateTime& DateAndTime, bool& AllowChange)>;


// The colours of the drop-down calendar; clNone leaves the window's own.
class TMonthCalColors : public TPersistent {
    VEL_CLASS(TMonthCalColors, TPersistent)
public:
    TColor BackColor = clWindow;
    TColor TextColor = clWindowText;
    TColor TitleBackColor = clActiveCaption;
    TColor TitleTextColor = clWhite;
    TColor MonthBackColor = clWindow;
    TColor TrailingTextColor = clInactiveCaptionText;
    void Assign(TPersistent* Source) override;
    // The colours to the calendar window.
    void ApplyTo(HWND calendar) const;
};

class TDateTimePicker : public TWinControl {
    VEL_CLASS(TDateTimePicker, TWinControl)
public:
    explicit TDateTimePicker(TComponent* AOwner);
    ~TDateTimePicker() override;

    TDateTimeKind Kind() const { return FKind; }
    void SetKind(TDateTimeKind v);
    TDTDateMode DateMode() const { return FDateMode; }
    void SetDateMode(TDTDateMode v);
    TDTDateFormat DateFormat() const { return FDateFormat; }
    void SetDateFormat(TDTDateFormat v);
    TDTCalAlignment CalAlignment() const { return FCalAlignment; }
    void SetCalAlignment(TDTCalAlignment v);
    // A custom format ("dd/MM/yyyy", "HH:mm:ss"); empty: the locale's.
    const String& Format() const { return FFormat; }
    void SetFormat(const String& v);

    TDateTime DateTime() const { return FDateTime; }
    void SetDateTime(TDateTime v);
    TDateTime Date() const;
    void SetDate(TDateTime v);
    TDateTime Time() const;
    void SetTime(TDateTime v);
    bool Checked() const { return FChecked; }
    void SetChecked(bool v);
    bool ShowCheckbox() const { return FShowCheckbox; }
    void SetShowCheckbox(bool v);
    // 0: no limit. Limits compare days.
    TDateTime MinDate() const { return FMinDate; }
    void SetMinDate(TDateTime v);
    TDateTime MaxDate() const { return FMaxDate; }
    void SetMaxDate(TDateTime v);
    bool ParseInput() const { return FParseInput; }
    void SetParseInput(bool v);
    TMonthCalColors* CalColors() const { return FCalColors.get(); }
    bool DroppedDown() const;
    // The drop-down calendar while it is open, else null.
    HWND MonthCalHandle() const;

    TNotifyEvent OnChange, OnDropDown, OnCloseUp;
    TDTParseInputEvent OnUserInput;

    // The value to the window (DTM_SETSYSTEMTIME); answers whether it took it.
    virtual bool MsgSetDateTime(const SYSTEMTIME& Value);

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;
    virtual void Change();
    virtual void DoDropDown();
    virtual void DoCloseUp();
    void CNNotify(TMessage& M);
    void SetRange();

private:
    TDateTime Clamped(TDateTime v) const;
    TDateTimeKind FKind = dtkDate;
    TDTDateMode FDateMode = dmComboBox;
    TDTDateFormat FDateFormat = dfShort;
    TDTCalAlignment FCalAlignment = dtaLeft;
    String FFormat;
    TDateTime FDateTime = 0;
    TDateTime FMinDate = 0, FMaxDate = 0;
    bool FChecked = true;
    bool FShowCheckbox = false;
    bool FParseInput = false;
    std::unique_ptr<TMonthCalColors> FCalColors;
};
