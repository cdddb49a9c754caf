// Menus: the menu handles and calls of the window system (HMENU, AppendMenu,
// TrackPopupMenu ...) with the popup menu window class "#32768" and its modal
// menu loop, and the class library's menus on top of them: TMenuItem, TMenu,
// TPopupMenu, TMainMenu, the popup list window that receives the menus'
// WM_COMMAND/WM_MEASUREITEM/WM_DRAWITEM, and the shortcut routines.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/base/Exceptions.h"
#include "platform/gfx/Graphics.h"
#include "platform/gfx/ImageList.h"
#include "platform/ui/Controls.h"

// ---------------------------------------------------------------------------
// The menu calls

enum : UINT {
    MF_INSERT = 0x0000, MF_CHANGE = 0x0080, MF_APPEND = 0x0100, MF_DELETE = 0x0200,
    MF_REMOVE = 0x1000, MF_BYCOMMAND = 0x0000, MF_BYPOSITION = 0x0400, MF_SEPARATOR = 0x0800,
    MF_ENABLED = 0x0000, MF_GRAYED = 0x0001, MF_DISABLED = 0x0002, MF_UNCHECKED = 0x0000,
    MF_CHECKED = 0x0008, MF_USECHECKBITMAPS = 0x0200, MF_STRING = 0x0000, MF_BITMAP = 0x0004,
    MF_OWNERDRAW = 0x0100, MF_POPUP = 0x0010, MF_MENUBARBREAK = 0x0020, MF_MENUBREAK = 0x0040,
    MF_UNHILITE = 0x0000, MF_HILITE = 0x0080, MF_DEFAULT = 0x1000, MF_RIGHTJUSTIFY = 0x4000,
    MF_MOUSESELECT = 0x8000,

    MFT_STRING = 0x0000, MFT_BITMAP = 0x0004, MFT_MENUBARBREAK = 0x0020, MFT_MENUBREAK = 0x0040,
    MFT_OWNERDRAW = 0x0100, MFT_RADIOCHECK = 0x0200, MFT_SEPARATOR = 0x0800,
    MFT_RIGHTORDER = 0x2000, MFT_RIGHTJUSTIFY = 0x4000,
    MFS_GRAYED = 0x0003, MFS_DISABLED = 0x0003, MFS_CHECKED = 0x0008, MFS_HILITE = 0x0080,
    MFS_ENABLED = 0x0000, MFS_UNCHECKED = 0x0000, MFS_UNHILITE = 0x0000, MFS_DEFAULT = 0x1000,

    MIIM_STATE = 0x0001, MIIM_ID = 0x0002, MIIM_SUBMENU = 0x0004, MIIM_CHECKMARKS = 0x0008,
    MIIM_TYPE = 0x0010, MIIM_DATA = 0x0020, MIIM_STRING = 0x0040, MIIM_BITMAP = 0x0080,
    MIIM_FTYPE = 0x0100,

    TPM_LEFTBUTTON = 0x0000, TPM_RIGHTBUTTON = 0x0002, TPM_LEFTALIGN = 0x0000,
    TPM_CENTERALIGN = 0x0004, TPM_RIGHTALIGN = 0x0008, TPM_TOPALIGN = 0x0000,
    TPM_VCENTERALIGN = 0x0010, TPM_BOTTOMALIGN = 0x0020, TPM_HORIZONTAL = 0x0000,
    TPM_VERTICAL = 0x0040, TPM_NONOTIFY = 0x0080, TPM_RETURNCMD = 0x0100, TPM_RECURSE = 0x0001,
    TPM_NOANIMATION = 0x4000,

    MSGF_MENU = 2,
    // The high word of the answer to WM_MENUCHAR.
    MNC_IGNORE = 0, MNC_CLOSE = 1, MNC_EXECUTE = 2, MNC_SELECT = 3,
    WM_MENURBUTTONUP = 0x0122, WM_UNINITMENUPOPUP = 0x0125, WM_MENUCOMMAND = 0x0126,
    MN_GETHMENU = 0x01E1,
};

// The one item of a menu that GetMenuItemInfo/SetMenuItemInfo/InsertMenuItem
// describe; fMask says which fields count.
struct MENUITEMINFO {
    UINT cbSize = sizeof(MENUITEMINFO);
    UINT fMask = 0;
    UINT fType = 0;
    UINT fState = 0;
    UINT wID = 0;
    HMENU hSubMenu = nullptr;
    HBITMAP hbmpChecked = nullptr;
    HBITMAP hbmpUnchecked = nullptr;
    ULONG_PTR dwItemData = 0;
    wchar_t* dwTypeData = nullptr;  // text in (and out, up to cch characters)
    UINT cch = 0;
    HBITMAP hbmpItem = nullptr;
};
using MENUITEMINFOW = MENUITEMINFO;

struct TPMPARAMS {
    UINT cbSize = sizeof(TPMPARAMS);
    TRect rcExclude;  // screen area the menu must not cover
};

HMENU CreateMenu();
HMENU CreatePopupMenu();
// Destroys the menu and the submenus it holds.
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);
// With MF_POPUP, idNewItem is the submenu's handle; the menu then owns it.
BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR idNewItem, const wchar_t* text);
BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idNewItem, const wchar_t* text);
BOOL ModifyMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idNewItem, const wchar_t* text);
BOOL InsertMenuItem(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFO* info);
BOOL SetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFO* info);
BOOL GetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFO* info);
// RemoveMenu keeps a submenu alive (the caller owns it again); DeleteMenu
// destroys it.
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
int GetMenuItemCount(HMENU menu);
UINT GetMenuItemID(HMENU menu, int position);  // 0xFFFFFFFF for a submenu or a bad position
HMENU GetSubMenu(HMENU menu, int position);
// MF_ state and type flags; for a submenu item the high byte holds its item
// count. 0xFFFFFFFF when there is no such item.
UINT GetMenuState(HMENU menu, UINT id, UINT flags);
int GetMenuString(HMENU menu, UINT item, wchar_t* buf, int size, UINT flags);
String GetMenuString(HMENU menu, UINT item, UINT flags);
// Answer the previous state (MF_CHECKED/MF_UNCHECKED, MF_ENABLED/GRAYED/
// DISABLED) or 0xFFFFFFFF when there is no such item.
DWORD CheckMenuItem(HMENU menu, UINT id, UINT check);
BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags);
BOOL EnableMenuItem(HMENU menu, UINT id, UINT enable);
BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition);
UINT GetMenuDefaultItem(HMENU menu, UINT byPosition, UINT flags);
BOOL HiliteMenuItem(HWND hwnd, HMENU menu, UINT item, UINT hilite);

// Shows the menu and runs the menu loop until the user chooses an item or
// cancels. The chosen command goes to the owner as a posted WM_COMMAND; with
// TPM_RETURNCMD it is answered instead (0 for none). With TPM_NONOTIFY the
// owner gets no messages at all. A second menu while one is open needs
// TPM_RECURSE.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner,
                    const TRect* reservedRect = nullptr);
BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS* params);
// Closes the menus the menu loop of this thread shows, without a choice.
BOOL EndMenu();
// A top-level window's menu bar: the bar lies in the frame below the
// caption; its items open their submenus as drop-downs (WM_INITMENUPOPUP and
// WM_COMMAND go to the window). SetMenu does not destroy the menu it
// replaces; destroying the window destroys the menu it shows. After the
// menu's items change, DrawMenuBar lays the bar out and draws it again.
BOOL SetMenu(HWND hwnd, HMENU menu);
HMENU GetMenu(HWND hwnd);
BOOL DrawMenuBar(HWND hwnd);
// The screen rectangle of a menu item while its menu is shown, or of an
// item of the window's menu bar. The window may be null for a shown popup
// (it is found by its handle).
BOOL GetMenuItemRect(HWND hwnd, HMENU menu, UINT item, TRect* rect);
// The item under a screen point of a shown menu, -1 for none.
int MenuItemFromPoint(HWND hwnd, HMENU menu, TPoint screen);
// Registers the popup menu window class "#32768" (once).
void RegisterMenuClasses();
// Whether this thread runs a menu loop now.
bool InMenuLoop();

// ---------------------------------------------------------------------------
// Shortcuts

using TShortCut = Word;
enum : TShortCut { scNone = 0, scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000 };
TShortCut ShortCut(Word Key, TShiftState Shift);
void ShortCutToKey(TShortCut ShortCut, Word& Key, TShiftState& Shift);
// English key names: "Ctrl+O", "Shift+Del", "Alt+F4", "Ctrl+Shift+PgDn".
String ShortCutToText(TShortCut ShortCut);
// The reverse, case-insensitive; 0 when the text names no shortcut.
TShortCut TextToShortCut(const String& Text);

// ---------------------------------------------------------------------------
// The class library's menus

class TMenu;
class TMenuItem;
class TBasicAction;

VEL_DECLARE_EXCEPTION(EMenuError, Exception)
class TMenuActionLink;

enum TMenuBreak { mbNone, mbBreak, mbBarBreak };
enum TPopupAlignment { paLeft, paRight, paCenter };
enum TTrackButton { tbRightButton, tbLeftButton };
enum TMenuAutoFlag { maAutomatic, maManual, maParent };
enum TFindItemKind { fkCommand, fkHandle, fkShortCut };

using TMenuMeasureItemEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, Integer& Width, Integer& Height)>;
using TMenuDrawItemEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, TRect ARect, bool Selected)>;
using TAdvancedMenuDrawItemEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, TRect ARect, TOwnerDrawState State)>;
using TMenuChangeEvent = std::function<void(TObject* Sender, TMenuItem* Source, bool Rebuild)>;

class TMenuItem : public TComponent {
    VEL_CLASS(TMenuItem, TComponent)
public:
    explicit TMenuItem(TComponent* AOwner);
    ~TMenuItem() override;

    // Looks and state. A caption of "-" makes the item a separator line.
    const String& Caption() const { return FCaption; }
    void SetCaption(const String& v);
    bool Checked() const { return FChecked; }
    // Checking a radio item unchecks the radio items of its group
    // (same GroupIndex) among its siblings.
    void SetChecked(bool v);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    bool Visible() const { return FVisible; }
    void SetVisible(bool v);
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool v);
    Byte GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(Byte v);
    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer v);
    bool Default() const { return FDefault; }
    void SetDefault(bool v);
    const String& Hint() const { return FHint; }
    void SetHint(const String& v) { FHint = v; }
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool v) { FAutoCheck = v; }
    TMenuBreak Break() const { return FBreak; }
    void SetBreak(TMenuBreak v);
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut v);
    // The item's own picture (created on first use).
    TBitmap* Bitmap();
    bool HasBitmap() const { return FBitmap && !FBitmap->Empty(); }
    bool IsLine() const { return FCaption == L"-"; }

    // Sub-items. An item owns its sub-items: freeing it frees them.
    Integer Count() const { return Integer(FItems.size()); }
    TMenuItem* Items(Integer Index) const;
    void Add(TMenuItem* Item);
    void Insert(Integer Index, TMenuItem* Item);
    // Frees the sub-item.
    void Delete(Integer Index);
    // Takes the item out without freeing it.
    void Remove(TMenuItem* Item);
    void Clear();
    Integer IndexOf(const TMenuItem* Item) const;
    // The sub-item with this caption ('&' not counted), or null.
    TMenuItem* Find(const String& ACaption) const;
    TMenuItem* Parent() const { return FParent; }
    Integer MenuIndex() const;
    void SetMenuIndex(Integer v);
    // The menu the item belongs to (through its parents), or null.
    TMenu* GetParentMenu() const;
    // The menu for a top-level item, else the parent item.
    TComponent* GetParentComponent() const;
    bool HasParent() const { return true; }
    // The image list that gives the item's image: the nearest parent's
    // SubMenuImages, else the menu's Images.
    TCustomImageList* GetImageList() const;
    TCustomImageList* SubMenuImages() const { return FSubMenuImages; }
    void SetSubMenuImages(TCustomImageList* v);

    // The window-system side: the command id (unique per process) and, for
    // an item with sub-items (or the top item of a menu), its menu handle.
    Word Command() const { return FCommand; }
    HMENU Handle();

    // Runs the item: AutoCheck toggles, then OnClick or the action.
    virtual void Click();
    // Brings the action's state in (before a popup shows the item).
    void InitiateAction();
    TBasicAction* Action() const;
    void SetAction(TBasicAction* v);
    TMenuActionLink* ActionLink() const { return FActionLink.get(); }

    TNotifyEvent OnClick;
    TMenuMeasureItemEvent OnMeasureItem;
    TMenuDrawItemEvent OnDrawItem;
    TAdvancedMenuDrawItemEvent OnAdvancedDrawItem;

    // Owner-draw entry points the popup list calls: the events when set,
    // else the platform's own measure and drawing.
    virtual void MeasureItem(TCanvas* ACanvas, Integer& Width, Integer& Height);
    virtual void DrawItem(TCanvas* ACanvas, const TRect& ARect, bool Selected);
    virtual void AdvancedDrawItem(TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State, bool TopLevel);

protected:
    friend class TMenu;
    friend class TPopupMenu;
    friend class TMainMenu;
    friend class TMenuActionLink;
    virtual void MenuChanged(bool Rebuild);
    virtual void ActionChange(TObject* Sender, bool CheckDefaults);
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void TurnSiblingsOff();
    void DrawDefault(TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State, bool TopLevel);
    // Builds the item into a menu handle (fresh handles for sub-items).
    void AppendTo(HMENU Menu, bool OwnerDraw, bool InMainMenuBar);
    void ReleaseHandle();

    String FCaption;
    bool FChecked = false;
    bool FEnabled = true;
    bool FVisible = true;
    bool FRadioItem = false;
    Byte FGroupIndex = 0;
    Integer FImageIndex = -1;
    bool FDefault = false;
    String FHint;
    bool FAutoCheck = false;
    TMenuBreak FBreak = mbNone;
    TShortCut FShortCut = 0;
    std::unique_ptr<TBitmap> FBitmap;
    std::vector<TMenuItem*> FItems;
    TMenuItem* FParent = nullptr;
    TMenu* FMenu = nullptr;  // set on a menu's top item
    TCustomImageList* FSubMenuImages = nullptr;
    Word FCommand = 0;
    HMENU FHandle = nullptr;
    std::unique_ptr<TMenuActionLink> FActionLink;
};

class TMenu : public TComponent {
    VEL_CLASS(TMenu, TComponent)
public:
    explicit TMenu(TComponent* AOwner);
    ~TMenu() override;

    // The top item; its sub-items are the menu's items.
    TMenuItem* Items() const { return FItems; }
    // The menu handle, built from the items (again after a change).
    HMENU Handle();
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* v);
    // Every item drawn through WM_MEASUREITEM/WM_DRAWITEM and the items'
    // events.
    bool OwnerDraw() const { return FOwnerDraw; }
    void SetOwnerDraw(bool v);
    TBiDiMode BiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode v) { FBiDiMode = v; }
    bool IsRightToLeft() const { return FBiDiMode != bdLeftToRight; }
    // The window that receives the menu's messages (a form for a main menu).
    virtual HWND WindowHandle() const { return nullptr; }

    // Runs the item whose shortcut the key message (WM_KEYDOWN) is.
    bool IsShortCut(TMessage& Message);
    TMenuItem* FindItem(UINT_PTR Value, TFindItemKind Kind);
    bool DispatchCommand(Word ACommand);
    bool DispatchPopup(HMENU AMenu);
    // Rebuilds the menu handle from the items.
    void UpdateItems();
    virtual void MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild);
    TMenuChangeEvent OnChange;

protected:
    friend class TMenuItem;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual void RebuildHandle();
    virtual bool InMainMenuBar() const { return false; }

    TMenuItem* FItems;
    TCustomImageList* FImages = nullptr;
    bool FOwnerDraw = false;
    TBiDiMode FBiDiMode = bdLeftToRight;
    bool FHandleDirty = true;
    bool FUpdating = false;
};

class TPopupMenu : public TMenu {
    VEL_CLASS(TPopupMenu, TMenu)
public:
    explicit TPopupMenu(TComponent* AOwner);
    ~TPopupMenu() override;

    TPopupAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TPopupAlignment v) { FAlignment = v; }
    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool v) { FAutoPopup = v; }
    TTrackButton TrackButton() const { return FTrackButton; }
    void SetTrackButton(TTrackButton v) { FTrackButton = v; }
    // The control the menu was last shown for (right click).
    TComponent* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* v) { FPopupComponent = v; }
    TPoint PopupPoint() const { return FPopupPoint; }

    // Shows the menu at a screen point and returns when it has closed; the
    // chosen item's OnClick follows from the message queue (WM_COMMAND).
    virtual void Popup(Integer X, Integer Y);
    TNotifyEvent OnPopup;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual void DoPopup(TObject* Sender);

    TPopupAlignment FAlignment = paLeft;
    bool FAutoPopup = true;
    TTrackButton FTrackButton = tbRightButton;
    TComponent* FPopupComponent = nullptr;
    TPoint FPopupPoint{-1, -1};
};

// A form's menu bar: the form whose Menu it is shows it in its frame below
// the caption; its items open their sub-items as drop-downs, and the form
// runs its shortcuts. A change of the items shows on the bar at once.
class TMainMenu : public TMenu {
    VEL_CLASS(TMainMenu, TMenu)
public:
    explicit TMainMenu(TComponent* AOwner);
    ~TMainMenu() override;
    HWND WindowHandle() const override;
    // The form whose key path runs the shortcuts (default: the owner when
    // it is a form).
    TWinControl* Form() const;
    void SetForm(TWinControl* v) { FForm = v; }
    bool AutoMerge() const { return FAutoMerge; }
    void SetAutoMerge(bool v) { FAutoMerge = v; }
    // Opens the drop-down of a top-level item below the given screen point
    // (the bar item's bottom-left corner).
    void PopupItem(TMenuItem* Item, TPoint Screen);
    void MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild) override;
    // The window whose bar shows the menu, or null.
    HWND BarWindow() const;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    bool InMainMenuBar() const override { return true; }
    void RebuildHandle() override;
    TWinControl* FForm = nullptr;
    bool FAutoMerge = false;
};

// The hidden window all popup menus of the process send their messages to:
// it gives WM_COMMAND to the item's OnClick, WM_INITMENUPOPUP to the
// sub-menu's item, and WM_MEASUREITEM/WM_DRAWITEM to the owner-drawn item.
class TPopupList {
public:
    TPopupList() = default;
    ~TPopupList();
    HWND Window();
    void Add(TMenu* Menu);
    void Remove(TMenu* Menu);
    Integer Count() const { return Integer(FMenus.size()); }
    TMenu* Menus(Integer i) const { return FMenus.at(size_t(i)); }
    // The owner-drawn menu messages for the menus of the list; the forms use
    // it for their main menus too. True when the message was a menu's.
    bool HandleMenuMessage(TMessage& Message, const std::vector<TMenu*>& Menus);

private:
    static LRESULT CALLBACK_WndProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l);
    void WndProc(TMessage& Message);
    HWND FWindow = nullptr;
    std::vector<TMenu*> FMenus;
};
TPopupList* PopupList();

// Runs the shortcut of a key (WM_KEYDOWN/WM_SYSKEYDOWN) through the popup
// menus of the control and its parents, then the form's main menus. The
// controls' key path calls it first.
bool IsMenuKey(TControl* Control, TMessage& Message);
// Shows the control's popup menu (or a graphic child's under the point) for
// WM_CONTEXTMENU; pt is a screen point or (-1, -1) for the keyboard.
bool DoControlContextMenu(TControl* Control, TPoint Pt);

// The look of one menu item, as the menu window draws it (and the class
// library's default owner drawing).
struct TMenuItemLook {
    String Text;        // with '&' accelerators
    String ShortCut;    // right-aligned text after a tab
    bool Separator = false;
    bool Hot = false;
    bool Disabled = false;
    bool Checked = false;
    bool Radio = false;
    bool Default = false;
    bool SubMenu = false;
    bool MenuBar = false;   // a menu bar item: text only
    bool Pushed = false;    // a menu bar item whose drop-down is open
};
void DrawMenuItemLook(HDC dc, const TRect& r, const TMenuItemLook& look, HFONT font);
// The menu font (the screen's menu font).
LOGFONTW MenuLogFont();

// ---------------------------------------------------------------------------
// A menu item's link to its action: caption, checked state, enabled and
// visible state, hint, image, shortcut, group and auto-check follow it.
#include "platform/ui/ActnList.h"

class TMenuActionLink : public TActionLink {
public:
    explicit TMenuActionLink(TMenuItem* AClient) : TActionLink(AClient), FClient(AClient) {}
    bool IsCaptionLinked() const override;
    bool IsCheckedLinked() const override;
    bool IsEnabledLinked() const override;
    bool IsVisibleLinked() const override;
    bool IsHintLinked() const override;
    bool IsImageIndexLinked() const override;
    bool IsShortCutLinked() const override;
    bool IsGroupIndexLinked() const override;
    bool IsAutoCheckLinked() const override;
    void SetCaption(const String& Value) override;
    void SetChecked(bool Value) override;
    void SetEnabled(bool Value) override;
    void SetVisible(bool Value) override;
    void SetHint(const String& Value) override;
    void SetImageIndex(Integer Value) override;
    void SetShortCut(Word Value) override;
    void SetGroupIndex(Integer Value) override;
    void SetAutoCheck(bool Value) override;

protected:
    TMenuItem* FClient;
};
