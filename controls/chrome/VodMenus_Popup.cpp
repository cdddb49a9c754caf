// The popup menu and the engine's measuring, window shaping, position
// correction and shortcut texts.
#include "controls/chrome/VodMenus.h"

#include <algorithm>
#include <functional>

#include "platform/base/SysUtils.h"
#include "platform/ui/Forms.h"

namespace {

const String kNotesBreak = L"\\n";   // backslash and n inside a caption

// The engine's handlers as named function objects, so that an item can be
// asked whether its handler is the engine's.
struct TMeasureHook {
    TVodPopupMenu* Menu;
    void operator()(TObject* Sender, TCanvas* C, Integer& W, Integer& H) const { Menu->ExpandItemWidth(Sender, C, W, H); }
};
struct TDrawHook {
    TVodPopupMenu* Menu;
    void operator()(TObject* Sender, TCanvas* C, TRect R, TOwnerDrawState S) const
    {
        Menu->AdvancedDrawItem(Sender, C, R, S);
    }
};

TCustomVodMenuStyler* StylerOf(TMenuItem* Item)
{
    IVodMenu* m = GetVodMenu(Item);
    return m ? m->GetCurrentMenuStyler() : nullptr;
}

// The text after "\n" pieces: everything up to the first one.
String FirstLine(const String& S)
{
    const size_t at = S.find(kNotesBreak);
    return at == String::npos ? S : S.substr(0, at);
}

Integer VisibleIndex(TMenuItem* Item)
{
    TMenuItem* p = Item->Parent();
    if (!p) return 0;
    Integer n = 0;
    for (Integer i = 0; i < p->Count(); ++i) {
        if (p->Items(i) == Item) return n;
        if (p->Items(i)->Visible()) ++n;
    }
    return n;
}

bool EmptyRect(const TRect& r) { return r.Right - r.Left == 0 && r.Bottom - r.Top == 0; }

}  // namespace

// ---------------------------------------------------------------------------
// Engine routines

IVodMenu* GetVodMenu(TMenu* Menu) { return dynamic_cast<TVodPopupMenu*>(Menu); }

IVodMenu* GetVodMenu(TMenuItem* Item)
{
    if (!Item) return nullptr;
    if (Item->Parent()) return GetVodMenu(Item->GetParentMenu());
    return GetVodMenu(dynamic_cast<TMenu*>(Item->Owner()));
}

void RefreshMenu(IVodMenu* Menu, bool RebuildA, bool RebuildB)
{
    if (!Menu || !Menu->GetMenu()) return;
    if (RebuildA || RebuildB) Menu->UpdateItems();
}

Integer MenuItemDepth(TMenuItem* Item)
{
    Integer depth = -1;
    for (TMenuItem* p = Item ? Item->Parent() : nullptr; p; p = p->Parent()) ++depth;
    return std::max(depth, 0);
}

TMenuItem* FirstVisibleItem(TMenuItem* Parent)
{
    if (!Parent) return nullptr;
    for (Integer i = 0; i < Parent->Count(); ++i)
        if (Parent->Items(i)->Visible()) return Parent->Items(i);
    return nullptr;
}

bool IsFirstVisibleItem(TMenuItem* Item) { return Item && FirstVisibleItem(Item->Parent()) == Item; }

bool InLaterColumn(TMenuItem* Item)
{
    if (!Item) return false;
    if (Item->Break() != mbNone) return true;
    TMenuItem* p = Item->Parent();
    if (!p) return false;
    for (Integer i = 0; i < p->Count() && p->Items(i) != Item; ++i)
        if (p->Items(i)->Visible() && p->Items(i)->Break() != mbNone) return true;
    return false;
}

bool IsMenuBarItem(TMenuItem* Item)
{
    return Item && dynamic_cast<TMainMenu*>(Item->GetParentComponent()) != nullptr;
}

bool SideBarShown(TMenuItem* Item)
{
    TCustomVodMenuStyler* s = StylerOf(Item);
    if (!s || !s->SideBar()->Visible()) return false;
    TMenu* menu = Item->GetParentMenu();
    const bool mainMenu = dynamic_cast<TMainMenu*>(menu) != nullptr;
    const Integer depth = MenuItemDepth(Item);
    switch (s->SideBar()->VisibleIn()) {
    case viFirstVisible:
        return mainMenu && depth == 1 && IsFirstVisibleItem(Item->Parent());
    case viFirstLevel:
        return mainMenu ? depth == 1 : depth == 0;
    case viAnyLevel:
        return !IsMenuBarItem(Item);
    }
    return false;
}

void MeasureMenuItem(TMenuItem* Item, TCanvas* ACanvas, Integer& Width, Integer& Height, bool SideBarShown)
{
    IVodMenu* menu = GetVodMenu(Item);
    TCustomVodMenuStyler* s = menu ? menu->GetCurrentMenuStyler() : nullptr;
    if (!s) return;
    // 1., 2.
    if (!Item->Visible()) {
        Width = 0;
        Height = 0;
        return;
    }
    if (Item->IsLine()) {
        Height = s->Separator()->Width() + 2;
        Width = -2;
        return;
    }
    // 3. - 5.
    Width = s->IconBar()->Size();
    if (TCustomImageList* list = Item->GetImageList()) Height = std::max(Height, list->Height());
    else if (Item->HasBitmap()) Height = std::max(Height, Item->Bitmap()->Height());
    else Height -= 3;
    Width += 15;
    Height += 2;
    // 6. Caption (up to the notes) and shortcut, without a gap.
    const String caption = Item->Caption();
    const bool notes = menu->GetShowNotes() && caption.find(kNotesBreak) != String::npos;
    String text = notes ? FirstLine(caption) : caption;
    if (Item->ShortCut() != 0) text += ShortCutText(Item->ShortCut(), menu->GetIntlKeybShortCuts());
    // 7.
    if (!s->UseSystemFont()) ACanvas->SetFont(s->Font());
    else if (!s->SelectedItem()->UseSystemFont()) ACanvas->SetFont(s->SelectedItem()->Font());
    // 8.
    RECT r{0, 0, 0, 0};
    ACanvas->RequireState();
    DrawText(ACanvas->Handle(), text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
    Width += r.Right - r.Left + 7;
    Integer T = r.Bottom - r.Top + 6;
    // 9. - 12.
    if (Item->ShortCut() & 0x0200) Width += ACanvas->TextWidth(L"Win+");
    if (SideBarShown && !InLaterColumn(Item)) Width += s->SideBar()->Size() + s->SideBar()->SplitterWidth();
    Height = (Height + 1) / 2 * 2;
    Width += MenuStripWidth;
    // 13. Notes lines.
    if (notes) {
        ACanvas->SetFont(s->NotesFont());
        const Integer L = ACanvas->TextHeight(L"gh");
        Integer N = 0;
        String rest = caption;
        size_t at;
        while ((at = rest.find(kNotesBreak)) != String::npos) {
            N = std::max(N, ACanvas->TextWidth(rest.substr(0, at)));
            T += L;
            rest.erase(0, at + kNotesBreak.size());
        }
        if (!rest.empty()) N = std::max(N, ACanvas->TextWidth(rest));
        if (N > 0) Width = std::max(Width, N + MenuStripWidth + s->IconBar()->Size() + 8);
    }
    // 14.
    Height = std::max(Height, T);
}

bool SubMenuOpensRight(TMenuItem* Item, HWND W)
{
    (void)W;   // the NT family finds the menu window itself
    TMenuItem* parent = Item ? Item->Parent() : nullptr;
    if (!parent) return true;
    TRect r;
    const Integer tries = Item->MenuIndex() + 1;
    GetMenuItemRect(nullptr, parent->Handle(), 0, &r);
    for (Integer i = 0; i < tries && EmptyRect(r) && Item->Visible(); ++i) GetMenuItemRect(nullptr, parent->Handle(), 0, &r);
    if (EmptyRect(r)) return true;
    if (!parent->Visible()) return false;
    TRect P;
    TMenuItem* grand = parent->Parent();
    if (!grand || !GetMenuItemRect(nullptr, grand->Handle(), UINT(VisibleIndex(parent)), &P)) return true;
    return r.Left > P.Left || (r.Left == P.Left && r.Right > P.Right);
}

LRESULT MenuWindowProc(HWND W, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    if (Msg == WM_ERASEBKGND) return 1;
    if ((Msg == WM_SHOWWINDOW && WParam == 0) || Msg == WM_CLOSE || Msg == WM_DESTROY) SetWindowRgn(W, nullptr, TRUE);
    auto old = reinterpret_cast<WNDPROC>(GetWindowLongPtr(W, GWLP_USERDATA));
    return old ? CallWindowProc(old, W, Msg, WParam, LParam) : DefWindowProc(W, Msg, WParam, LParam);
}

void StyleMenuWindow(TMenuItem* Item, TCanvas* ACanvas)
{
    TCustomVodMenuStyler* s = StylerOf(Item);
    HWND W = WindowFromDC(ACanvas->Handle());
    if (!s || !W || !IsWindow(W) || IsMenuBarItem(Item)) return;
    if (TMenu* m = Item->GetParentMenu(); m && m->WindowHandle() == W) return;
    TRect R;
    GetWindowRect(W, &R);
    const Integer w = R.Right - R.Left, h = R.Bottom - R.Top;
    const Integer level = MenuItemDepth(Item) + 1;
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtr(W, GWLP_WNDPROC)) != &MenuWindowProc) {
        SetWindowLongPtr(W, GWLP_USERDATA, GetWindowLongPtr(W, GWLP_WNDPROC));
        SetWindowLongPtr(W, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MenuWindowProc));
        SetWindowRgn(W, CreateRectRgn(1, 1, w - 1 - MenuStripWidth, h - 1), TRUE);
        if (level == 1) {
            MoveWindow(W, R.Left - 1, R.Top - 2, w, h, TRUE);
        } else {
            if (SubMenuOpensRight(Item, W)) R.Left -= MenuStripWidth;
            else R.Left += MenuStripWidth;
            MoveWindow(W, R.Left + 3, R.Top, w, h, TRUE);
        }
    }
    TRect F{1, 1, w - 1, h - 1};
    if (level == 1) F.Right -= MenuStripWidth;
    else if (SubMenuOpensRight(Item, W)) F.Right -= 2 * MenuStripWidth;
    HDC dc = GetWindowDC(W);
    HBRUSH border = CreateSolidBrush(COLORREF(ColorToRGB(s->MenuBorderColor())));
    FrameRect(dc, &F, border);
    DeleteObject(border);
    InflateRect(F, -1, -1);
    HBRUSH inner = CreateSolidBrush(COLORREF(ColorToRGB(s->Background()->Color())));
    FrameRect(dc, &F, inner);
    DeleteObject(inner);
    ReleaseDC(W, dc);
}

String MenuKeyName(Word Key)
{
    LONG code = LONG(MapVirtualKey(Key, 0)) << 16;
    if (Key != 8 && Key != 13 && Key != 16 && Key != 17 && Key != 18) code |= 1 << 24;
    wchar_t buf[256] = {0};
    GetKeyNameText(code, buf, 255);
    return buf;
}

namespace {
String Capitalised(String S)
{
    for (size_t i = 1; i < S.size(); ++i) S[i] = wchar_t(std::towlower(S[i]));
    const size_t p = S.find(L'(');
    if (p != String::npos && p + 1 < S.size()) S[p + 1] = wchar_t(std::towupper(S[p + 1]));
    return S;
}
}  // namespace

String ShortCutText(TShortCut ShortCut, bool International)
{
    if (!International) {
        String t = ShortCutToText(TShortCut(ShortCut & ~0x0200));
        if (ShortCut & 0x0200) t = L"Win+" + t;
        return t;
    }
    const Word k = ShortCut & 0xFF;
    String text = k >= 112 && k <= 135 ? L"F" + IntToStr(k - 111) : Capitalised(MenuKeyName(k));
    if (ShortCut & scShift) text = Capitalised(MenuKeyName(16)) + L"+" + text;
    if (ShortCut & scCtrl) text = Capitalised(MenuKeyName(17)) + L"+" + text;
    if (ShortCut & scAlt) text = Capitalised(MenuKeyName(18)) + L"+" + text;
    return text;
}

// ---------------------------------------------------------------------------
// TVodPopupMenu

TVodPopupMenu::TVodPopupMenu(TComponent* AOwner) : TPopupMenu(AOwner)
{
    SetOwnerDraw(true);
    CreateInternalStyler();
}

TVodPopupMenu::~TVodPopupMenu()
{
    // A styler of the same owner may already be gone (an owner frees its
    // components without telling their siblings): forget it, touch nothing.
    FMenuStyler = nullptr;
    FCurrentMenuStyler = nullptr;
    delete FInternalMenuStyler;
    FInternalMenuStyler = nullptr;
}

String TVodPopupMenu::Version() const
{
    const Cardinal v = GetVersionNr();
    return IntToStr(Integer(v >> 24)) + L"." + IntToStr(Integer((v >> 16) & 0xFF)) + L"." +
           IntToStr(Integer((v >> 8) & 0xFF)) + L"." + IntToStr(Integer(v & 0xFF));
}

void TVodPopupMenu::CreateInternalStyler()
{
    FMenuStyler = nullptr;
    if (!FInternalMenuStyler) {
        FInternalMenuStyler = new TCustomVodMenuStyler(this);
        FInternalMenuStyler->SetName(L"InternalMenuStyler");
        FInternalMenuStyler->SetSubComponent(true);
    }
    FCurrentMenuStyler = FInternalMenuStyler;
    FCurrentMenuStyler->SetMenu(this);
}

void TVodPopupMenu::SetMenuStyler(TCustomVodMenuStyler* S)
{
    if (S == FMenuStyler) return;
    if (FMenuStyler && FMenuStyler != FInternalMenuStyler) FMenuStyler->RemoveFreeNotification(this);
    if (!S) {
        CreateInternalStyler();
    } else {
        if (FInternalMenuStyler && !FInternalMenuStyler->ComponentState().Contains(csLoading)) {
            TCustomVodMenuStyler* old = FInternalMenuStyler;
            FInternalMenuStyler = nullptr;
            delete old;
        }
        FMenuStyler = S;
        FCurrentMenuStyler = S;
        S->FreeNotification(this);
    }
    FCurrentMenuStyler->SetMenu(this);
}

void TVodPopupMenu::SetDisabledImages(TCustomImageList* v)
{
    if (FDisabledImages == v) return;
    if (FDisabledImages) FDisabledImages->RemoveFreeNotification(this);
    FDisabledImages = v;
    if (v) v->FreeNotification(this);
}

void TVodPopupMenu::Loaded()
{
    TPopupMenu::Loaded();
    SetOwnerDraw(true);
    HookMenuItems(nullptr);
    if (FInternalMenuStyler && FInternalMenuStyler != FCurrentMenuStyler) {
        TCustomVodMenuStyler* old = FInternalMenuStyler;
        FInternalMenuStyler = nullptr;
        delete old;
    }
}

void TVodPopupMenu::Notification(TComponent* AComponent, TOperation Operation)
{
    TPopupMenu::Notification(AComponent, Operation);
    if (Operation != opRemove || !AComponent) return;
    if (AComponent == FInternalMenuStyler) {
        FInternalMenuStyler = nullptr;
        if (FCurrentMenuStyler == AComponent) FCurrentMenuStyler = nullptr;
    }
    if (AComponent == FMenuStyler) {
        FMenuStyler = nullptr;
        FCurrentMenuStyler = nullptr;
        if (!ComponentState().Contains(csDestroying) && AComponent->Owner() != this) CreateInternalStyler();
    }
    if (AComponent == Images()) SetImages(nullptr);
    if (AComponent == FDisabledImages) FDisabledImages = nullptr;
}

void TVodPopupMenu::MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild)
{
    if (FDirectUpdate || FUpdateRef == 0) HookMenuItems(Source);
    TPopupMenu::MenuChanged(Sender, Source, Rebuild);
}

void TVodPopupMenu::BeginUpdate()
{
    FMenuUpdating = true;
    ++FUpdateRef;
}

void TVodPopupMenu::EndUpdate()
{
    if (FUpdateRef > 0) --FUpdateRef;
    if (FUpdateRef == 0) {
        HookMenuItems(nullptr);
        FMenuUpdating = false;
    }
}

void TVodPopupMenu::HookItem(TMenuItem* Item)
{
    if (!Item->OnAdvancedDrawItem.target<TDrawHook>()) {
        if (!Item->OnMeasureItem) Item->OnMeasureItem = TMeasureHook{this};
        if (!Item->OnAdvancedDrawItem && !Item->OnDrawItem) Item->OnAdvancedDrawItem = TDrawHook{this};
    }
    for (Integer i = 0; i < Item->Count(); ++i) HookItem(Item->Items(i));
}

void TVodPopupMenu::HookMenuItems(TMenuItem* Item)
{
    if (ComponentState().Contains(csLoading)) return;
    if (Item && Item != Items()) {
        HookItem(Item);
        return;
    }
    for (Integer i = 0; i < Items()->Count(); ++i) HookItem(Items()->Items(i));
}

void TVodPopupMenu::ExpandItemWidth(TObject* Sender, TCanvas* ACanvas, Integer& Width, Integer& Height)
{
    auto* item = dynamic_cast<TMenuItem*>(Sender);
    if (item) MeasureMenuItem(item, ACanvas, Width, Height, SideBarShown(item));
}

void TVodPopupMenu::AdvancedDrawItem(TObject* Sender, TCanvas* ACanvas, TRect ARect, TOwnerDrawState State)
{
    auto* item = dynamic_cast<TMenuItem*>(Sender);
    if (!item) return;
    ARect.Right -= MenuStripWidth;
    DrawMenuItem(item, ACanvas, ARect, State, SideBarShown(item));
}

void TVodPopupMenu::Popup(Integer X, Integer Y)
{
    if (Items()->Count() == 0) {
        TPopupMenu::Popup(X, Y);
        return;
    }
    MEASUREITEMSTRUCT mis;
    mis.CtlType = ODT_MENU;
    mis.itemID = Items()->Items(0)->Command();
    mis.itemWidth = 10;
    mis.itemHeight = 10;
    SendMessage(PopupList()->Window(), WM_MEASUREITEM, 0, LPARAM(&mis));
    const Integer w = Integer(mis.itemWidth);
    const Integer D = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    switch (Alignment()) {
    case paRight:
        if (X - w - 2 * MenuStripWidth >= 0) X += MenuStripWidth;
        break;
    case paLeft:
        if (D <= X + w + 3 * MenuStripWidth) X += MenuStripWidth;
        break;
    case paCenter: X += 8; break;
    }
    if (X >= D) X = D - 1;
    SwitchMenuAnimationOff();
    TPopupMenu::Popup(X, Y);
    if (OnClose) OnClose(this);
}

void TVodPopupMenu::PopupAtCursor()
{
    POINT p{};
    GetCursorPos(&p);
    Popup(p.X, p.Y);
}
