// The class library's menus: items, popup and main menus, the popup list
// window, shortcuts and the controls' menu keys and context menus.
#include "platform/ui/Menus.h"

#include <algorithm>
#include <cwchar>
#include <mutex>
#include <set>

#include "platform/base/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/MenuModel.h"

namespace {

// Command ids: unique among the live items of the process, 1..0xFFFF.
std::mutex gCommandLock;
std::set<Word> gCommands;
Word gNextCommand = 1;

Word AllocCommand()
{
    std::lock_guard<std::mutex> g(gCommandLock);
    for (int n = 0; n < 0xFFFF; ++n) {
        Word c = gNextCommand;
        gNextCommand = Word(gNextCommand == 0xFFFF ? 1 : gNextCommand + 1);
        if (gCommands.insert(c).second) return c;
    }
    return 0;  // every id in use: the item gets no command
}

void FreeCommand(Word c)
{
    if (!c) return;
    std::lock_guard<std::mutex> g(gCommandLock);
    gCommands.erase(c);
}

struct TKeyName {
    Word Key;
    const wchar_t* Name;
};

// English key names of the shortcut texts.
const TKeyName kKeyNames[] = {
    {VK_BACK, L"BkSp"}, {VK_TAB, L"Tab"}, {VK_RETURN, L"Enter"}, {VK_ESCAPE, L"Esc"},
    {VK_SPACE, L"Space"}, {VK_PRIOR, L"PgUp"}, {VK_NEXT, L"PgDn"}, {VK_END, L"End"},
    {VK_HOME, L"Home"}, {VK_LEFT, L"Left"}, {VK_UP, L"Up"}, {VK_RIGHT, L"Right"},
    {VK_DOWN, L"Down"}, {VK_INSERT, L"Ins"}, {VK_DELETE, L"Del"}, {VK_PAUSE, L"Pause"},
    {VK_MULTIPLY, L"Num *"}, {VK_ADD, L"Num +"}, {VK_SUBTRACT, L"Num -"}, {VK_DECIMAL, L"Num ."},
    {VK_DIVIDE, L"Num /"}, {VK_OEM_1, L";"}, {VK_OEM_PLUS, L"="}, {VK_OEM_COMMA, L","},
    {VK_OEM_MINUS, L"-"}, {VK_OEM_PERIOD, L"."}, {VK_OEM_2, L"/"}, {VK_OEM_3, L"`"},
    {VK_OEM_4, L"["}, {VK_OEM_5, L"\\"}, {VK_OEM_6, L"]"}, {VK_OEM_7, L"'"},
};

String KeyText(Word key)
{
    if ((key >= L'0' && key <= L'9') || (key >= L'A' && key <= L'Z')) return String(1, wchar_t(key));
    if (key >= VK_F1 && key <= VK_F1 + 23) return L"F" + IntToStr(key - VK_F1 + 1);
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) return L"Num " + IntToStr(key - VK_NUMPAD0);
    for (const auto& k : kKeyNames)
        if (k.Key == key) return k.Name;
    return String();
}

TOwnerDrawState StateFromItemState(UINT s)
{
    TOwnerDrawState st;
    if (s & ODS_SELECTED) st.Include(odSelected);
    if (s & ODS_GRAYED) st.Include(odGrayed);
    if (s & ODS_DISABLED) st.Include(odDisabled);
    if (s & ODS_CHECKED) st.Include(odChecked);
    if (s & ODS_FOCUS) st.Include(odFocused);
    if (s & ODS_DEFAULT) st.Include(odDefault);
    if (s & ODS_HOTLIGHT) st.Include(odHotLight);
    if (s & ODS_INACTIVE) st.Include(odInactive);
    if (s & ODS_NOACCEL) st.Include(odNoAccel);
    if (s & ODS_NOFOCUSRECT) st.Include(odNoFocusRect);
    return st;
}

void SetMenuFont(TCanvas* c)
{
    LOGFONTW lf = MenuLogFont();
    HFONT f = CreateFontIndirect(&lf);
    c->Font()->SetHandle(f);
    DeleteObject(f);
}

constexpr int kGutter = 28;
constexpr int kArrowCol = 24;

}  // namespace

// ---------------------------------------------------------------------------
// Shortcuts

TShortCut ShortCut(Word Key, TShiftState Shift)
{
    if (Key & 0xFF00) return 0;
    TShortCut s = Key;
    if (Shift.Contains(ssShift)) s |= scShift;
    if (Shift.Contains(ssCtrl)) s |= scCtrl;
    if (Shift.Contains(ssAlt)) s |= scAlt;
    return s;
}

void ShortCutToKey(TShortCut ShortCut, Word& Key, TShiftState& Shift)
{
    Key = ShortCut & 0xFF;
    Shift = {};
    if (ShortCut & scShift) Shift.Include(ssShift);
    if (ShortCut & scCtrl) Shift.Include(ssCtrl);
    if (ShortCut & scAlt) Shift.Include(ssAlt);
}

String ShortCutToText(TShortCut ShortCut)
{
    String name = KeyText(Word(ShortCut & 0xFF));
    if (name.empty()) return String();
    String s;
    if (ShortCut & scShift) s += L"Shift+";
    if (ShortCut & scCtrl) s += L"Ctrl+";
    if (ShortCut & scAlt) s += L"Alt+";
    return s + name;
}

TShortCut TextToShortCut(const String& Text)
{
    String rest = Text;
    TShortCut mods = 0;
    for (;;) {
        struct TMod {
            const wchar_t* Name;
            TShortCut Flag;
        } mods_[] = {{L"Shift+", scShift}, {L"Ctrl+", scCtrl}, {L"Alt+", scAlt}};
        bool found = false;
        for (const auto& m : mods_) {
            size_t n = std::wcslen(m.Name);
            if (rest.size() > n && SameText(rest.substr(0, n), m.Name)) {
                mods |= m.Flag;
                rest = rest.substr(n);
                found = true;
            }
        }
        if (!found) break;
    }
    if (rest.empty()) return 0;
    for (int k = 1; k < 256; ++k) {
        String name = KeyText(Word(k));
        if (!name.empty() && SameText(name, rest)) return TShortCut(k | mods);
    }
    return 0;
}

// ---------------------------------------------------------------------------
// TMenuItem

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), FCommand(AllocCommand()) {}

TMenuItem::~TMenuItem()
{
    FActionLink.reset();
    if (FParent) FParent->Remove(this);
    while (!FItems.empty()) {
        TMenuItem* c = FItems.back();
        FItems.pop_back();
        c->FParent = nullptr;
        delete c;
    }
    if (FSubMenuImages) FSubMenuImages->RemoveFreeNotification(this);
    FreeCommand(FCommand);
}

void TMenuItem::MenuChanged(bool Rebuild)
{
    TMenuItem* root = this;
    while (root->FParent) root = root->FParent;
    if (root->FMenu) root->FMenu->MenuChanged(this, root == this ? nullptr : this, Rebuild);
}

void TMenuItem::SetCaption(const String& v)
{
    if (v == FCaption) return;
    FCaption = v;
    MenuChanged(true);
}

void TMenuItem::TurnSiblingsOff()
{
    if (!FParent || FGroupIndex == 0) return;
    for (TMenuItem* s : FParent->FItems)
        if (s != this && s->FRadioItem && s->FGroupIndex == FGroupIndex) s->SetChecked(false);
}

void TMenuItem::SetChecked(bool v)
{
    if (v == FChecked) return;
    FChecked = v;
    if (v && FRadioItem) TurnSiblingsOff();
    MenuChanged(false);
}

void TMenuItem::SetEnabled(bool v)
{
    if (v == FEnabled) return;
    FEnabled = v;
    MenuChanged(false);
}

void TMenuItem::SetVisible(bool v)
{
    if (v == FVisible) return;
    FVisible = v;
    MenuChanged(true);
}

void TMenuItem::SetRadioItem(bool v)
{
    if (v == FRadioItem) return;
    FRadioItem = v;
    if (v && FChecked) TurnSiblingsOff();
    MenuChanged(true);
}

void TMenuItem::SetGroupIndex(Byte v)
{
    if (v == FGroupIndex) return;
    FGroupIndex = v;
    if (FRadioItem && FChecked) TurnSiblingsOff();
    MenuChanged(true);
}

void TMenuItem::SetImageIndex(Integer v)
{
    if (v == FImageIndex) return;
    FImageIndex = v;
    MenuChanged(true);
}

void TMenuItem::SetDefault(bool v)
{
    if (v == FDefault) return;
    if (v && FParent)
        for (TMenuItem* s : FParent->FItems)
            if (s != this && s->FDefault) {
                s->FDefault = false;
            }
    FDefault = v;
    MenuChanged(true);
}

void TMenuItem::SetBreak(TMenuBreak v)
{
    if (v == FBreak) return;
    FBreak = v;
    MenuChanged(true);
}

void TMenuItem::SetShortCut(TShortCut v)
{
    if (v == FShortCut) return;
    FShortCut = v;
    MenuChanged(true);
}

TBitmap* TMenuItem::Bitmap()
{
    if (!FBitmap) {
        FBitmap = std::make_unique<TBitmap>();
        FBitmap->OnChange = [this](TObject*) { MenuChanged(true); };
    }
    return FBitmap.get();
}

TMenuItem* TMenuItem::Items(Integer Index) const
{
    if (Index < 0 || Index >= Count()) throw EMenuError(L"Menu index out of range");
    return FItems[size_t(Index)];
}

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::Insert(Integer Index, TMenuItem* Item)
{
    if (!Item) return;
    if (Item->FParent) throw EMenuError(L"Menu inserted twice");
    for (TMenuItem* p = this; p; p = p->FParent)
        if (p == Item) throw EMenuError(L"Menu inserted into itself");
    if (Index < 0 || Index > Count()) throw EMenuError(L"Menu index out of range");
    FItems.insert(FItems.begin() + Index, Item);
    Item->FParent = this;
    if (Item->FRadioItem && Item->FChecked) Item->TurnSiblingsOff();
    MenuChanged(Count() == 1);
}

void TMenuItem::Delete(Integer Index)
{
    TMenuItem* it = Items(Index);
    delete it;  // takes itself out of this item
}

void TMenuItem::Remove(TMenuItem* Item)
{
    auto pos = std::find(FItems.begin(), FItems.end(), Item);
    if (pos == FItems.end()) throw EMenuError(L"Sub-menu is not in menu");
    FItems.erase(pos);
    Item->FParent = nullptr;
    MenuChanged(Count() == 0);
}

void TMenuItem::Clear()
{
    while (!FItems.empty()) delete FItems.back();
}

Integer TMenuItem::IndexOf(const TMenuItem* Item) const
{
    auto pos = std::find(FItems.begin(), FItems.end(), Item);
    return pos == FItems.end() ? -1 : Integer(pos - FItems.begin());
}

TMenuItem* TMenuItem::Find(const String& ACaption) const
{
    String want = StripAccelerator(ACaption);
    for (TMenuItem* it : FItems)
        if (AnsiSameText(StripAccelerator(it->FCaption), want)) return it;
    return nullptr;
}

Integer TMenuItem::MenuIndex() const { return FParent ? FParent->IndexOf(this) : -1; }

void TMenuItem::SetMenuIndex(Integer v)
{
    if (!FParent) return;
    TMenuItem* p = FParent;
    Integer cur = p->IndexOf(this);
    v = std::clamp<Integer>(v, 0, p->Count() - 1);
    if (v == cur) return;
    p->FItems.erase(p->FItems.begin() + cur);
    p->FItems.insert(p->FItems.begin() + v, this);
    p->MenuChanged(true);
}

TMenu* TMenuItem::GetParentMenu() const
{
    const TMenuItem* root = this;
    while (root->FParent) root = root->FParent;
    return root->FMenu;
}

TComponent* TMenuItem::GetParentComponent() const
{
    if (FParent && FParent->FMenu) return FParent->FMenu;
    return FParent;
}

TCustomImageList* TMenuItem::GetImageList() const
{
    for (const TMenuItem* p = FParent; p; p = p->FParent)
        if (p->FSubMenuImages) return p->FSubMenuImages;
    TMenu* m = GetParentMenu();
    return m ? m->Images() : nullptr;
}

void TMenuItem::SetSubMenuImages(TCustomImageList* v)
{
    if (FSubMenuImages) FSubMenuImages->RemoveFreeNotification(this);
    FSubMenuImages = v;
    if (v) v->FreeNotification(this);
    MenuChanged(true);
}

void TMenuItem::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FSubMenuImages) FSubMenuImages = nullptr;
}

HMENU TMenuItem::Handle()
{
    if (TMenu* m = GetParentMenu()) m->Handle();
    return FHandle;
}

void TMenuItem::ReleaseHandle()
{
    FHandle = nullptr;
    for (TMenuItem* c : FItems) c->ReleaseHandle();
}

void TMenuItem::AppendTo(HMENU Menu, bool OwnerDraw, bool InMainMenuBar)
{
    if (!FVisible) return;
    MENUITEMINFO mii;
    mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA | MIIM_STRING;
    UINT type = 0, state = 0;
    if (IsLine()) type |= MFT_SEPARATOR;
    if (FRadioItem) type |= MFT_RADIOCHECK;
    if (FBreak == mbBreak) type |= MFT_MENUBREAK;
    if (FBreak == mbBarBreak) type |= MFT_MENUBARBREAK;
    if (OwnerDraw) type |= MFT_OWNERDRAW;
    if (FChecked) state |= MFS_CHECKED;
    if (!FEnabled) state |= MFS_GRAYED;
    if (FDefault) state |= MFS_DEFAULT;
    mii.fType = type;
    mii.fState = state;
    mii.wID = FCommand;
    mii.dwItemData = ULONG_PTR(reinterpret_cast<uintptr_t>(this));
    String text = FCaption;
    // The bar's own items show no shortcut.
    bool barItem = InMainMenuBar && FParent && !FParent->FParent;
    if (FShortCut && !barItem) text += L"\t" + ShortCutToText(FShortCut);
    mii.dwTypeData = text.data();
    if (!FItems.empty()) {
        FHandle = CreatePopupMenu();
        for (TMenuItem* c : FItems) c->AppendTo(FHandle, OwnerDraw, InMainMenuBar);
        mii.fMask |= MIIM_SUBMENU;
        mii.hSubMenu = FHandle;
    }
    InsertMenuItem(Menu, UINT(GetMenuItemCount(Menu)), TRUE, &mii);
}

TBasicAction* TMenuItem::Action() const { return FActionLink ? FActionLink->Action() : nullptr; }

void TMenuItem::SetAction(TBasicAction* v)
{
    if (!v) {
        FActionLink.reset();
        return;
    }
    if (!FActionLink) FActionLink = std::make_unique<TMenuActionLink>(this);
    FActionLink->SetAction(v);
    FActionLink->OnChange = [this](TObject* s) { ActionChange(s, false); };
    ActionChange(v, false);
}

void TMenuItem::ActionChange(TObject* Sender, bool CheckDefaults)
{
    auto* a = dynamic_cast<TCustomAction*>(Sender);
    if (!a) return;
    if (!CheckDefaults || FCaption.empty()) SetCaption(a->Caption());
    if (!CheckDefaults || !FChecked) SetChecked(a->Checked());
    if (!CheckDefaults || FEnabled) SetEnabled(a->Enabled());
    if (!CheckDefaults || FVisible) SetVisible(a->Visible());
    if (!CheckDefaults || FHint.empty()) SetHint(a->Hint());
    if (!CheckDefaults || FImageIndex == -1) SetImageIndex(a->ImageIndex());
    if (!CheckDefaults || FShortCut == 0) SetShortCut(a->ShortCut());
    if (!CheckDefaults || FGroupIndex == 0) SetGroupIndex(Byte(a->GroupIndex()));
    if (!CheckDefaults || !FAutoCheck) SetAutoCheck(a->AutoCheck());
}

void TMenuItem::InitiateAction()
{
    if (FActionLink) FActionLink->Update();
}

void TMenuItem::Click()
{
    if (!FEnabled) return;
    // An auto-checked action toggles itself (and so this item).
    auto* ca = dynamic_cast<TCustomAction*>(Action());
    if (FAutoCheck && !(ca && ca->AutoCheck())) SetChecked(!FChecked);
    if (OnClick) OnClick(this);
    else if (FActionLink) FActionLink->Execute(this);
}

void TMenuItem::MeasureItem(TCanvas* ACanvas, Integer& Width, Integer& Height)
{
    if (OnMeasureItem) {
        OnMeasureItem(this, ACanvas, Width, Height);
        return;
    }
    if (IsLine()) {
        Width = 0;
        Height = 9;
        return;
    }
    TSize t = ACanvas->TextExtent(StripAccelerator(FCaption));
    Integer w = kGutter + t.cx + kArrowCol;
    if (FShortCut) w += 24 + ACanvas->TextWidth(ShortCutToText(FShortCut));
    Integer h = t.cy + 8;
    if (TCustomImageList* il = GetImageList(); il && FImageIndex >= 0) h = std::max<Integer>(h, il->Height() + 4);
    else if (HasBitmap()) h = std::max<Integer>(h, FBitmap->Height() + 4);
    Width = std::max(Width, w);
    Height = std::max<Integer>(h, 20);
}

void TMenuItem::DrawItem(TCanvas* ACanvas, const TRect& ARect, bool Selected)
{
    if (OnDrawItem) OnDrawItem(this, ACanvas, ARect, Selected);
}

void TMenuItem::AdvancedDrawItem(TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State, bool TopLevel)
{
    if (OnAdvancedDrawItem) OnAdvancedDrawItem(this, ACanvas, ARect, State);
    else if (OnDrawItem) DrawItem(ACanvas, ARect, State.Contains(odSelected));
    else DrawDefault(ACanvas, ARect, State, TopLevel);
}

void TMenuItem::DrawDefault(TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State, bool TopLevel)
{
    TMenuItemLook look;
    look.Text = FCaption;
    if (FShortCut && !TopLevel) look.ShortCut = ShortCutToText(FShortCut);
    look.Separator = IsLine();
    look.Hot = State.Contains(odSelected);
    look.Disabled = !FEnabled;
    look.Checked = FChecked;
    look.Radio = FRadioItem;
    look.Default = FDefault;
    look.SubMenu = !FItems.empty() && !TopLevel;
    look.MenuBar = TopLevel;
    TCustomImageList* il = GetImageList();
    bool image = il && FImageIndex >= 0 && FImageIndex < il->Count() && !TopLevel;
    bool bitmap = !image && HasBitmap() && !TopLevel;
    if (image || bitmap) look.Checked = false;
    DrawMenuItemLook(ACanvas->Handle(), ARect, look, ACanvas->Font()->Handle());
    if (image) {
        int x = ARect.Left + (kGutter - il->Width()) / 2;
        int y = ARect.Top + (ARect.Height() - il->Height()) / 2;
        if (FChecked) {
            TRect fr = Rect(x - 2, y - 2, x + il->Width() + 2, y + il->Height() + 2);
            ACanvas->Brush()->SetColor(clHighlight);
            ACanvas->FrameRect(fr);
        }
        il->Draw(ACanvas, x, y, FImageIndex, FEnabled);
    } else if (bitmap) {
        int x = ARect.Left + (kGutter - FBitmap->Width()) / 2;
        int y = ARect.Top + (ARect.Height() - FBitmap->Height()) / 2;
        ACanvas->Draw(x, y, FBitmap.get());
    }
}

// ---------------------------------------------------------------------------
// The action link of an item

#define MENU_LINKED(Name, Expr) \
    bool TMenuActionLink::Is##Name##Linked() const { return TActionLink::Is##Name##Linked() && (Expr); }
MENU_LINKED(Caption, FClient->Caption() == CustomAction()->Caption())
MENU_LINKED(Checked, FClient->Checked() == CustomAction()->Checked())
MENU_LINKED(Enabled, FClient->Enabled() == CustomAction()->Enabled())
MENU_LINKED(Visible, FClient->Visible() == CustomAction()->Visible())
MENU_LINKED(Hint, FClient->Hint() == CustomAction()->Hint())
MENU_LINKED(ImageIndex, FClient->ImageIndex() == CustomAction()->ImageIndex())
MENU_LINKED(ShortCut, FClient->ShortCut() == CustomAction()->ShortCut())
MENU_LINKED(GroupIndex, Integer(FClient->GroupIndex()) == CustomAction()->GroupIndex())
MENU_LINKED(AutoCheck, FClient->AutoCheck() == CustomAction()->AutoCheck())
#undef MENU_LINKED

void TMenuActionLink::SetCaption(const String& Value) { if (IsCaptionLinked()) FClient->SetCaption(Value); }
void TMenuActionLink::SetChecked(bool Value) { if (IsCheckedLinked()) FClient->SetChecked(Value); }
void TMenuActionLink::SetEnabled(bool Value) { if (IsEnabledLinked()) FClient->SetEnabled(Value); }
void TMenuActionLink::SetVisible(bool Value) { if (IsVisibleLinked()) FClient->SetVisible(Value); }
void TMenuActionLink::SetHint(const String& Value) { if (IsHintLinked()) FClient->SetHint(Value); }
void TMenuActionLink::SetImageIndex(Integer Value) { if (IsImageIndexLinked()) FClient->SetImageIndex(Value); }
void TMenuActionLink::SetShortCut(Word Value) { if (IsShortCutLinked()) FClient->SetShortCut(Value); }
void TMenuActionLink::SetGroupIndex(Integer Value) { if (IsGroupIndexLinked()) FClient->SetGroupIndex(Byte(Value)); }
void TMenuActionLink::SetAutoCheck(bool Value) { if (IsAutoCheckLinked()) FClient->SetAutoCheck(Value); }

// ---------------------------------------------------------------------------
// TMenu

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), FItems(new TMenuItem(nullptr))
{
    FItems->FMenu = this;
}

TMenu::~TMenu()
{
    PopupList()->Remove(this);
    HMENU h = FItems->FHandle;
    FItems->FMenu = nullptr;
    FItems->ReleaseHandle();
    if (h) DestroyMenu(h);
    delete FItems;
    // FImages is not touched: an image list of the same owner may be gone
    // already (an owner frees its components without telling the siblings);
    // the component's own destruction unlinks any free notification.
}

void TMenu::SetImages(TCustomImageList* v)
{
    if (v == FImages) return;
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = v;
    if (v) v->FreeNotification(this);
    MenuChanged(this, nullptr, true);
}

void TMenu::SetOwnerDraw(bool v)
{
    if (v == FOwnerDraw) return;
    FOwnerDraw = v;
    MenuChanged(this, nullptr, true);
}

void TMenu::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages) {
        FImages = nullptr;
        FHandleDirty = true;
    }
}

HMENU TMenu::Handle()
{
    // A handle destroyed behind our back (with the window whose bar showed
    // it) is built again.
    if (FItems->FHandle && !IsMenu(FItems->FHandle)) {
        FItems->ReleaseHandle();
        FHandleDirty = true;
    }
    // A shown menu keeps its handles until the menu loop ends.
    if (FHandleDirty && !(FItems->FHandle && InMenuLoop())) RebuildHandle();
    return FItems->FHandle;
}

void TMenu::RebuildHandle()
{
    HMENU old = FItems->FHandle;
    FItems->ReleaseHandle();
    if (old) DestroyMenu(old);
    HMENU h = InMainMenuBar() ? CreateMenu() : CreatePopupMenu();
    FItems->FHandle = h;
    bool ownerDraw = FOwnerDraw || FImages != nullptr;
    for (TMenuItem* c : FItems->FItems) c->AppendTo(h, ownerDraw, InMainMenuBar());
    FHandleDirty = false;
}

void TMenu::UpdateItems()
{
    FHandleDirty = true;
    Handle();
}

void TMenu::MenuChanged(TObject*, TMenuItem* Source, bool Rebuild)
{
    FHandleDirty = true;
    if (ComponentState().Contains(csDestroying)) return;
    if (OnChange) OnChange(this, Source, Rebuild);
}

TMenuItem* TMenu::FindItem(UINT_PTR Value, TFindItemKind Kind)
{
    if (Kind == fkHandle) Handle();
    std::function<TMenuItem*(TMenuItem*)> walk = [&](TMenuItem* p) -> TMenuItem* {
        for (TMenuItem* c : p->FItems) {
            bool hit = false;
            switch (Kind) {
            case fkCommand: hit = c->FCommand == Value; break;
            case fkHandle: hit = c->FHandle && c->FHandle == reinterpret_cast<HMENU>(Value); break;
            case fkShortCut: hit = c->FShortCut != 0 && c->FShortCut == Value; break;
            }
            if (hit) return c;
            if (TMenuItem* r = walk(c)) return r;
        }
        return nullptr;
    };
    return walk(FItems);
}

bool TMenu::DispatchCommand(Word ACommand)
{
    TMenuItem* it = FindItem(ACommand, fkCommand);
    if (!it) return false;
    it->Click();
    return true;
}

bool TMenu::DispatchPopup(HMENU AMenu)
{
    if (!AMenu) return false;
    if (AMenu == FItems->FHandle) return true;
    TMenuItem* it = FindItem(UINT_PTR(AMenu), fkHandle);
    if (!it) return false;
    // A sub-menu about to open: its items take their actions' state in
    // (the menu was built already, so only the handles' flags change).
    for (TMenuItem* c : it->FItems) {
        c->InitiateAction();
        if (c->FVisible) {
            UINT state = (c->FChecked ? MF_CHECKED : MF_UNCHECKED) | (c->FEnabled ? MF_ENABLED : MF_GRAYED);
            CheckMenuItem(AMenu, c->FCommand, MF_BYCOMMAND | (state & MF_CHECKED));
            EnableMenuItem(AMenu, c->FCommand, MF_BYCOMMAND | (state & MF_GRAYED));
        }
    }
    if (it->OnClick) it->OnClick(it);
    // Sub-items the handler added or changed show in this drop-down at once
    // (the rest of the menu is rebuilt after the menu loop).
    if (FHandleDirty && IsMenu(AMenu) && FindItem(UINT_PTR(AMenu), fkHandle) == it) {
        while (GetMenuItemCount(AMenu) > 0) DeleteMenu(AMenu, 0, MF_BYPOSITION);
        for (TMenuItem* c : it->FItems) c->ReleaseHandle();
        bool ownerDraw = FOwnerDraw || FImages != nullptr;
        for (TMenuItem* c : it->FItems) c->AppendTo(AMenu, ownerDraw, InMainMenuBar());
    }
    return true;
}

bool TMenu::IsShortCut(TMessage& Message)
{
    TShortCut sc = ShortCut(Message.CharCode(), KeyDataToShiftState(Message.KeyData()));
    if (sc == 0) return false;
    TMenuItem* it = FindItem(sc, fkShortCut);
    if (!it) return false;
    for (TMenuItem* p = it; p; p = p->FParent) p->InitiateAction();
    for (TMenuItem* p = it; p && p->FParent; p = p->FParent)
        if (!p->Enabled()) return false;
    it->Click();
    return true;
}

// ---------------------------------------------------------------------------
// TPopupMenu, TMainMenu

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) { PopupList()->Add(this); }

TPopupMenu::~TPopupMenu() = default;

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation)
{
    TMenu::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPopupComponent) FPopupComponent = nullptr;
}

void TPopupMenu::DoPopup(TObject* Sender)
{
    if (OnPopup) OnPopup(Sender);
}

void TPopupMenu::Popup(Integer X, Integer Y)
{
    FPopupPoint = {X, Y};
    DoPopup(this);
    std::function<void(TMenuItem*)> initiate = [&](TMenuItem* p) {
        for (TMenuItem* c : p->FItems) {
            c->InitiateAction();
            initiate(c);
        }
    };
    initiate(FItems);
    FHandleDirty = true;
    HMENU h = Handle();
    UINT flags = (FAlignment == paRight ? TPM_RIGHTALIGN : FAlignment == paCenter ? TPM_CENTERALIGN : TPM_LEFTALIGN) |
                 (FTrackButton == tbRightButton ? TPM_RIGHTBUTTON : TPM_LEFTBUTTON);
    TrackPopupMenu(h, flags, X, Y, 0, PopupList()->Window(), nullptr);
}

TMainMenu::TMainMenu(TComponent* AOwner) : TMenu(AOwner) { PopupList()->Add(this); }

TMainMenu::~TMainMenu() = default;

void TMainMenu::Notification(TComponent* AComponent, TOperation Operation)
{
    TMenu::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FForm) FForm = nullptr;
}

HWND TMainMenu::BarWindow() const
{
    auto* f = dynamic_cast<TCustomForm*>(Form());
    if (!f || f->Menu() != this || !f->HandleAllocated()) return nullptr;
    return f->Handle();
}

void TMainMenu::RebuildHandle()
{
    HWND bar = BarWindow();
    TMenu::RebuildHandle();
    if (bar) ::SetMenu(bar, FItems->FHandle);
}

void TMainMenu::MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild)
{
    TMenu::MenuChanged(Sender, Source, Rebuild);
    if (ComponentState().Contains(csDestroying) || ComponentState().Contains(csLoading)) return;
    // The bar shows the change now; while a menu is open, after its loop.
    if (BarWindow() && !InMenuLoop()) Handle();
}

TWinControl* TMainMenu::Form() const
{
    if (FForm) return FForm;
    return dynamic_cast<TCustomForm*>(Owner());
}

HWND TMainMenu::WindowHandle() const
{
    TWinControl* f = Form();
    return f && f->HandleAllocated() ? const_cast<TWinControl*>(f)->Handle() : nullptr;
}

void TMainMenu::PopupItem(TMenuItem* Item, TPoint Screen)
{
    if (!Item || Item->Parent() != FItems || !Item->Enabled()) return;
    std::function<void(TMenuItem*)> initiate = [&](TMenuItem* p) {
        for (TMenuItem* c : p->FItems) {
            c->InitiateAction();
            initiate(c);
        }
    };
    initiate(Item);
    if (Item->Count() == 0) {
        Item->Click();
        return;
    }
    FHandleDirty = true;
    Handle();
    if (!Item->FHandle) return;
    TrackPopupMenu(Item->FHandle, TPM_LEFTALIGN | TPM_LEFTBUTTON, Screen.X, Screen.Y, 0, PopupList()->Window(), nullptr);
}

// ---------------------------------------------------------------------------
// The popup list

namespace {
const wchar_t kPopupListClass[] = L"VelPopupList";
}

TPopupList::~TPopupList() = default;

TPopupList* PopupList()
{
    static TPopupList list;
    return &list;
}

HWND TPopupList::Window()
{
    if (FWindow && IsWindow(FWindow)) return FWindow;
    WNDCLASS probe;
    if (!GetClassInfo(nullptr, kPopupListClass, &probe)) {
        WNDCLASS wc;
        wc.lpfnWndProc = &TPopupList::CALLBACK_WndProc;
        wc.lpszClassName = kPopupListClass;
        RegisterClass(wc);
    }
    FWindow = CreateWindowEx(WS_EX_TOOLWINDOW, kPopupListClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr);
    return FWindow;
}

void TPopupList::Add(TMenu* Menu)
{
    if (std::find(FMenus.begin(), FMenus.end(), Menu) == FMenus.end()) FMenus.push_back(Menu);
}

void TPopupList::Remove(TMenu* Menu) { FMenus.erase(std::remove(FMenus.begin(), FMenus.end(), Menu), FMenus.end()); }

LRESULT TPopupList::CALLBACK_WndProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l)
{
    TPopupList* self = PopupList();
    if (hwnd != self->FWindow) return DefWindowProc(hwnd, msg, w, l);
    TMessage m;
    m.Msg = msg;
    m.WParam = w;
    m.LParam = l;
    self->WndProc(m);
    return m.Result;
}

bool TPopupList::HandleMenuMessage(TMessage& M, const std::vector<TMenu*>& Menus)
{
    auto find = [&](UINT id) -> TMenuItem* {
        for (TMenu* menu : Menus)
            if (TMenuItem* it = menu->FindItem(id, fkCommand)) return it;
        return nullptr;
    };
    if (M.Msg == WM_MEASUREITEM) {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(M.LParam);
        if (!mis || mis->CtlType != ODT_MENU) return false;
        TMenuItem* it = find(mis->itemID);
        if (!it) return false;
        HDC dc = CreateCompatibleDC(nullptr);
        TCanvas canvas;
        canvas.SetHandle(dc);
        SetMenuFont(&canvas);
        Integer w = Integer(mis->itemWidth), h = Integer(mis->itemHeight);
        it->MeasureItem(&canvas, w, h);
        canvas.SetHandle(nullptr);
        DeleteDC(dc);
        mis->itemWidth = UINT(std::max(0, w));
        mis->itemHeight = UINT(std::max(0, h));
        M.Result = 1;
        return true;
    }
    if (M.Msg == WM_DRAWITEM) {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(M.LParam);
        if (!dis || dis->CtlType != ODT_MENU) return false;
        TMenuItem* it = find(dis->itemID);
        if (!it) return false;
        int saved = SaveDC(dis->hDC);
        TCanvas canvas;
        canvas.SetHandle(dis->hDC);
        SetMenuFont(&canvas);
        bool topLevel = dynamic_cast<TMainMenu*>(it->GetParentComponent()) != nullptr;
        it->AdvancedDrawItem(&canvas, dis->rcItem, StateFromItemState(dis->itemState), topLevel);
        canvas.SetHandle(nullptr);
        RestoreDC(dis->hDC, saved);
        M.Result = 1;
        return true;
    }
    return false;
}

void TPopupList::WndProc(TMessage& M)
{
    std::vector<TMenu*> menus = FMenus;
    switch (M.Msg) {
    case WM_COMMAND:
        for (TMenu* m : menus)
            if (std::find(FMenus.begin(), FMenus.end(), m) != FMenus.end() && m->DispatchCommand(LOWORD(M.WParam)))
                return;
        break;
    case WM_INITMENUPOPUP:
        for (TMenu* m : menus)
            if (m->DispatchPopup(reinterpret_cast<HMENU>(M.WParam))) return;
        break;
    case WM_MEASUREITEM: case WM_DRAWITEM:
        if (HandleMenuMessage(M, menus)) return;
        break;
    case WM_EXITMENULOOP:
        // Main menus changed while a menu was open show the change now.
        for (TMenu* m : menus)
            if (auto* mm = dynamic_cast<TMainMenu*>(m); mm && mm->BarWindow()) mm->Handle();
        break;
    default: break;
    }
    M.Result = DefWindowProc(FWindow, M.Msg, M.WParam, M.LParam);
}

// ---------------------------------------------------------------------------
// Menu keys and context menus of controls

bool IsMenuKey(TControl* Control, TMessage& Message)
{
    if (!Control || InMenuLoop()) return false;
    for (TControl* c = Control; c; c = c->Parent())
        if (auto* pm = dynamic_cast<TPopupMenu*>(c->PopupMenu()))
            if (pm->IsShortCut(Message)) return true;
    TCustomForm* form = GetParentForm(Control);
    if (!form) return false;
    if (TMainMenu* bar = form->Menu(); bar && bar->IsShortCut(Message)) return true;
    for (Integer i = 0; i < form->ComponentCount(); ++i) {
        TComponent* comp = form->Components(i);
        if (auto* mm = dynamic_cast<TMainMenu*>(comp))
            if (mm != form->Menu() && mm->Form() == form && mm->IsShortCut(Message)) return true;
    }
    TShortCut sc = ShortCut(Message.CharCode(), KeyDataToShiftState(Message.KeyData()));
    for (Integer i = 0; i < form->ComponentCount(); ++i)
        if (auto* al = dynamic_cast<TCustomActionList*>(form->Components(i)))
            if (al->IsShortCut(sc)) return true;
    return false;
}

bool DoControlContextMenu(TControl* Control, TPoint Pt)
{
    if (!Control) return false;
    TControl* target = Control;
    bool keyboard = Pt.X == -1 && Pt.Y == -1;
    if (!keyboard)
        if (auto* wc = dynamic_cast<TWinControl*>(Control)) {
            TControl* child = wc->ControlAtPos(wc->ScreenToClient(Pt), false);
            if (child && !dynamic_cast<TWinControl*>(child) && child->PopupMenu()) target = child;
        }
    auto* pm = dynamic_cast<TPopupMenu*>(target->PopupMenu());
    if (!pm || !pm->AutoPopup()) return false;
    if (keyboard) Pt = target->ClientToScreen({0, 0});
    pm->SetPopupComponent(target);
    pm->Popup(Pt.X, Pt.Y);
    return true;
}
