// The menu stylers: the plain styler with its defaults and the Office
// styler with its named presets, the library style and the desktop theme.
#include "controls/chrome/VodMenus.h"

#include <optional>

#include "platform/ui/Forms.h"

namespace {

void CopyMenuFont(TFont* Font)
{
    if (Screen) {
        Font->Assign(Screen->MenuFont());
        return;
    }
    LOGFONTW lf = MenuLogFont();
    HFONT f = CreateFontIndirect(&lf);
    Font->SetHandle(f);
    DeleteObject(f);
}

// One Office preset, in the order the styler assigns it.
struct TMenuPreset {
    TColor BackgroundColor, BackgroundColorTo;
    TColor MenuBorderColor;
    TColor RootColor, RootColorTo;
    TColor RootSelected[4];
    TColor RootSelectedBorder;
    TColor RootHover[4];
    TColor RootHoverBorder, RootHoverText;
    TGradientDirection RootDirection;
    TColor RootFontColor;
    TColor SelColor, SelColorTo, SelMirror, SelMirrorTo, SelBorder;
    TColor SelCheck, SelCheckTo, SelRadio, SelRadioTo, SelCheckBorder, SelRadioBorder;
    TColor IconColor, IconColorTo, IconCheck, IconCheckTo, IconCheckBorder, IconRadio, IconRadioTo, IconRadioBorder;
    TColor SepColor, SepColorTo;
    TColor BtnDown, BtnDownTo, BtnHover, BtnHoverTo, BtnDownBorder, BtnHoverBorder;
    std::optional<TColor> IconSeparator;   // the 2007 and later presets
};

constexpr TColor N = clNone;

const TMenuPreset kOffice2003Blue = {
    TColor(0xF6F6F6), TColor(0xF6F6F6), TColor(0x962D00),
    TColor(0xF5BE9E), TColor(0xF7CDB2), {TColor(0xFFEFE3), TColor(0xE7B593), N, N}, TColor(0x962D00),
    {TColor(0xCCF4FF), TColor(0x9AD6FF), N, N}, TColor(0x6F4B4B), clWindowText, gdHorizontal, TColor(0x000000),
    TColor(0xC2EEFF), N, N, N, TColor(0x800000),
    TColor(0x3E80FE), N, TColor(0x3E80FE), N, TColor(0x800000), TColor(0x800000),
    TColor(0xFFEFE3), TColor(0xE4AD87), TColor(0x6FC0FF), N, TColor(0x800000), TColor(0x6FC0FF), N, TColor(0x800000),
    TColor(0xCB8C6A), N,
    TColor(0x4E91FE), TColor(0x91D3FF), TColor(0xCCF4FF), TColor(0x91D0FF), TColor(0x800000), TColor(0x800000),
    std::nullopt,
};

const TMenuPreset kOffice2016Black = {
    TColor(0x363636), TColor(0x363636), TColor(0x444444),
    TColor(0x363636), TColor(0x363636), {TColor(0x444444), TColor(0x444444), N, N}, TColor(0x444444),
    {TColor(0x6A6A6A), N, TColor(0x6A6A6A), N}, TColor(0x6A6A6A), TColor(0xA6A6A6), gdVertical, TColor(0xA6A6A6),
    TColor(0xFFFFFF), TColor(0xFFFFFF), N, N, TColor(0x444444),
    TColor(0x6A6A6A), N, TColor(0x6A6A6A), N, TColor(0x6A6A6A), TColor(0x6A6A6A),
    TColor(0x363636), TColor(0x363636), TColor(0x6A6A6A), N, TColor(0x6A6A6A), TColor(0x6A6A6A), N, TColor(0x6A6A6A),
    TColor(0x444444), TColor(0x444444),
    TColor(0x444444), TColor(0x444444), TColor(0x6A6A6A), TColor(0x6A6A6A), TColor(0x444444), TColor(0x6A6A6A),
    TColor(0x444444),
};

// The other presets: the values that shape a popup menu, the rest in the
// spirit of the family (highlight colours for the menu-bar items and the
// buttons, the highlight border for checks and radios).
struct TShape {
    TColor Bg, BgTo, Frame, Icon, IconTo, Sel, SelTo, Mirror, MirrorTo, SelBorder, Sep, SepTo;
    TColor RootColor, RootColorTo;
    bool Modern;   // sets IconBar.SeparatorColor
};

TMenuPreset FromShape(const TShape& s)
{
    TMenuPreset p = kOffice2003Blue;
    p.BackgroundColor = s.Bg, p.BackgroundColorTo = s.BgTo;
    p.MenuBorderColor = s.Frame;
    p.RootColor = s.RootColor, p.RootColorTo = s.RootColorTo;
    p.RootSelected[0] = s.Icon, p.RootSelected[1] = s.IconTo == N ? s.Icon : s.IconTo;
    p.RootSelectedBorder = s.Frame;
    p.RootHover[0] = s.Sel, p.RootHover[1] = s.SelTo;
    p.RootHoverBorder = s.SelBorder;
    p.SelColor = s.Sel, p.SelColorTo = s.SelTo, p.SelMirror = s.Mirror, p.SelMirrorTo = s.MirrorTo;
    p.SelBorder = s.SelBorder;
    p.SelCheck = p.SelRadio = s.Mirror != N ? s.Mirror : s.SelBorder;
    p.SelCheckBorder = p.SelRadioBorder = s.SelBorder;
    p.IconColor = s.Icon, p.IconColorTo = s.IconTo;
    p.IconCheck = p.IconRadio = s.SelTo != N ? s.SelTo : s.Sel;
    p.IconCheckBorder = p.IconRadioBorder = s.SelBorder;
    p.SepColor = s.Sep, p.SepColorTo = s.SepTo;
    p.BtnDown = s.SelTo != N ? s.SelTo : s.Sel, p.BtnDownTo = p.BtnDown;
    p.BtnHover = s.Sel, p.BtnHoverTo = s.Sel;
    p.BtnDownBorder = p.BtnHoverBorder = s.SelBorder;
    if (s.Modern) p.IconSeparator = s.Sep;
    return p;
}

TMenuPreset PresetOf(TOfficeStyle S)
{
    auto shape = [](TShape s) { return FromShape(s); };
    switch (S) {
    case osOffice2003Blue: return kOffice2003Blue;
    case osOffice2016Black: return kOffice2016Black;
    case osOffice2003Silver:
        return shape({TColor(0xF6F6F6), TColor(0xF6F6F6), TColor(0x5E8D75), TColor(0xFFF9F9), TColor(0xB99D9F),
                      TColor(0xC2EEFF), N, N, N, TColor(0x080000), TColor(0x8F6D6E), N, TColor(0xECE0E1),
                      TColor(0xD7C3C4), false});
    case osOffice2003Olive:
        return shape({TColor(0xF6F6F6), TColor(0xF6F6F6), TColor(0x5E8D75), TColor(0xEDFFFF), TColor(0x92C7B8),
                      TColor(0xC2EEFF), N, N, N, TColor(0x385D3F), TColor(0x588060), N, TColor(0xBBE6D9),
                      TColor(0x8CC2B0), false});
    case osOfficeXP:
        return shape({clWindow, clWindow, TColor(0x808080), clBtnFace, N, TColor(0xEFD3C6), N, N, N,
                      TColor(0xC66931), TColor(0x7A868A), N, clBtnFace, clBtnFace, false});
    case osOffice2007Luna:
        return shape({TColor(0xF6F6F6), TColor(0xF6F6F6), TColor(0xC0C0C0), TColor(0xEEEEE9), TColor(0xEEEEE9),
                      TColor(0xEBFDFF), TColor(0xABEBFF), TColor(0x69D6FF), TColor(0x96E4FF), TColor(0x99CEDB),
                      TColor(0xC5C5C5), N, TColor(0xFFEFE3), TColor(0xFFD2AF), true});
    case osOffice2007Obsidian:
        return shape({TColor(0xF6F6F6), TColor(0xF6F6F6), TColor(0xC0C0C0), TColor(0xEEEEE9), TColor(0xEEEEE9),
                      TColor(0xEBFDFF), TColor(0xABEBFF), TColor(0x69D6FF), TColor(0x96E4FF), TColor(0x99CEDB),
                      TColor(0xC5C5C5), N, TColor(0x5C534C), TColor(0x3B3B3B), true});
    case osOffice2007Silver:
        return shape({TColor(0xFAFAFA), TColor(0xFAFAFA), TColor(0x868686), TColor(0xEFEFEF), TColor(0xEFEFEF),
                      TColor(0xEBFDFF), TColor(0xABEBFF), TColor(0x69D6FF), TColor(0x96E4FF), TColor(0x99CEDB),
                      TColor(0xC5C5C5), N, TColor(0xF8F7F6), TColor(0xE8E0DB), true});
    case osVista:
        return shape({TColor(0xEEEEEE), N, TColor(0x979797), TColor(0xEEEEEE), N, TColor(0xF4F1EB), TColor(0xF3EBDA),
                      N, N, TColor(0xEBD8A8), TColor(0xE0E0E0), TColor(0xFFFFFF), TColor(0xFDF9F5), TColor(0xF4E9DC),
                      true});
    case osWhidbey:
        return shape({TColor(0xF9FCFC), TColor(0xF9FCFC), TColor(0x7A868A), TColor(0xFBFEFE), TColor(0xACC3C4),
                      TColor(0xEED2C1), N, N, N, TColor(0xC56A31), TColor(0xB8C2C5), N, TColor(0xFAFDFD),
                      TColor(0xD5E2E5), false});
    case osWindows7:
        return shape({TColor(0xEEEEEE), N, TColor(0x979797), TColor(0xEEEEEE), N, TColor(0xFCEBDC), TColor(0xFCDBC1),
                      N, N, TColor(0xCEA27D), TColor(0xE0E0E0), TColor(0xFFFFFF), TColor(0xFCF8F4), TColor(0xF2E6D9),
                      true});
    case osTerminal:
        return shape({clBtnFace, clBtnFace, TColor(0x808080), clBtnFace, clBtnFace, TColor(0xC0C0C0),
                      TColor(0xC0C0C0), TColor(0xC0C0C0), TColor(0xC0C0C0), TColor(0x808080), TColor(0x808080),
                      TColor(0x808080), clBtnFace, clBtnFace, true});
    case osOffice2010Blue:
    case osOffice2010Silver:
    case osOffice2010Black: {
        const TColor root[3][2] = {{TColor(0xFDF6EF), TColor(0xF0DFCF)},
                                   {TColor(0xFFFFFF), TColor(0xEDE5E0)},
                                   {TColor(0xBFBFBF), TColor(0x919191)}};
        const int i = S - osOffice2010Blue;
        return shape({TColor(0xFFFFFF), TColor(0xFFFFFF), TColor(0xB0ABA7), TColor(0xFFFFFF), TColor(0xFFFFFF),
                      TColor(0xD9F9FD), TColor(0x8AE3FD), TColor(0x8AE3FD), TColor(0xD9F9FD), TColor(0x58CAF1),
                      TColor(0xC9C8C7), TColor(0xC9C8C7), root[i][0], root[i][1], true});
    }
    case osWindows8:
    case osWindows10:
        return shape({TColor(0xF7F6F5), N, TColor(0x979797), TColor(0xEEEEEE), N, TColor(0xF7EFE8), TColor(0xF7EFE8),
                      N, N, TColor(0xF9CEA4), TColor(0xE0E0E0), TColor(0xFFFFFF), TColor(0xF7F6F5), TColor(0xF7F6F5),
                      true});
    case osOffice2013White:
        return shape({TColor(0xFFFFFF), TColor(0xFFFFFF), TColor(0xB0ABA7), TColor(0xFFFFFF), TColor(0xFFFFFF),
                      TColor(0xFCF0E4), TColor(0xFCF0E4), N, N, TColor(0xEAB47E), TColor(0xC9C8C7), TColor(0xC9C8C7),
                      TColor(0xFFFFFF), TColor(0xFFFFFF), true});
    case osOffice2013LightGray:
        return shape({TColor(0xF6F6F6), TColor(0xF6F6F6), TColor(0xB0ABA7), TColor(0xFFFFFF), TColor(0xFFFFFF),
                      TColor(0xFCF0E4), TColor(0xFCF0E4), N, N, TColor(0xEAB47E), TColor(0xC9C8C7), TColor(0xC9C8C7),
                      TColor(0xF6F6F6), TColor(0xF6F6F6), true});
    case osOffice2013Gray:
        return shape({TColor(0xE5E5E5), TColor(0xE5E5E5), TColor(0xB0ABA7), TColor(0xF6F6F6), TColor(0xF6F6F6),
                      TColor(0xFCF0E4), TColor(0xFCF0E4), N, N, TColor(0xEAB47E), TColor(0xC9C8C7), TColor(0xC9C8C7),
                      TColor(0xE5E5E5), TColor(0xE5E5E5), true});
    case osOffice2016White:
        return shape({TColor(0xFFFFFF), TColor(0xFFFFFF), TColor(0xD4D4D4), TColor(0xFFFFFF), TColor(0xFFFFFF),
                      TColor(0xE3BDA3), TColor(0xE3BDA3), N, N, TColor(0xE3BDA3), TColor(0xD4D4D4), TColor(0xD4D4D4),
                      TColor(0xFFFFFF), TColor(0xFFFFFF), true});
    case osOffice2016Gray:
        return shape({TColor(0xB2B2B2), TColor(0xB2B2B2), TColor(0x444444), TColor(0xB2B2B2), TColor(0xB2B2B2),
                      TColor(0xE3BDA3), TColor(0xE3BDA3), N, N, TColor(0xE3BDA3), TColor(0x444444), TColor(0x444444),
                      TColor(0xB2B2B2), TColor(0xB2B2B2), true});
    case osCustom: break;
    }
    return kOffice2003Blue;
}

}  // namespace

// ---------------------------------------------------------------------------
// TCustomVodMenuStyler

TCustomVodMenuStyler::TCustomVodMenuStyler(TComponent* AOwner) : TComponent(AOwner)
{
    FSideBar = std::make_unique<TSideBar>();
    FBackground = std::make_unique<TBackground>();
    FIconBar = std::make_unique<TIconBar>();
    FSelectedItem = std::make_unique<TSelectedItem>();
    FRootItem = std::make_unique<TRootItem>();
    FGlyphs = std::make_unique<TMenuGlyphs>();
    FSeparator = std::make_unique<TSeparator>();
    FFont = std::make_unique<TFont>();
    CopyMenuFont(FFont.get());
    FBackgroundBitmap = std::make_unique<TBitmap>();
    FNotesFont = std::make_unique<TFont>();
    CopyMenuFont(FNotesFont.get());
    FNotesFont->SetSize(FNotesFont->Size() - 2);
    FNotesFont->SetColor(TColor(0x808080));
    FButtonAppearance = std::make_unique<TButtonAppearance>();
}

TCustomVodMenuStyler::~TCustomVodMenuStyler() = default;

void TCustomVodMenuStyler::NotifyMenu() { RefreshMenu(GetVodMenu(FMenu), false, false); }
void TCustomVodMenuStyler::RebuildMenu() { RefreshMenu(GetVodMenu(FMenu), true, false); }

void TCustomVodMenuStyler::SetUseSystemFont(bool v)
{
    FUseSystemFont = v;
    RebuildMenu();
}

void TCustomVodMenuStyler::SetSeparator(TSeparator* v)
{
    FSeparator->Assign(v);
    NotifyMenu();
}

void TCustomVodMenuStyler::SetBackground(TBackground* v)
{
    FBackground->Assign(v);
    NotifyMenu();
}

void TCustomVodMenuStyler::SetFont(TFont* v)
{
    FFont->Assign(v);
    RebuildMenu();
}

void TCustomVodMenuStyler::SetIconBar(TIconBar* v)
{
    FIconBar->Assign(v);
    NotifyMenu();
}

void TCustomVodMenuStyler::SetGlyphs(TMenuGlyphs* v)
{
    FGlyphs->Assign(v);
    NotifyMenu();
}

void TCustomVodMenuStyler::SetRootItem(TRootItem* v)
{
    FRootItem->Assign(v);
    NotifyMenu();
}

void TCustomVodMenuStyler::SetSelectedItem(TSelectedItem* v)
{
    FSelectedItem->Assign(v);
    NotifyMenu();
}

void TCustomVodMenuStyler::SetSideBar(TSideBar* v)
{
    FSideBar->Assign(v);
    RebuildMenu();
}

void TCustomVodMenuStyler::SetNotesFont(TFont* v)
{
    FNotesFont->Assign(v);
    RebuildMenu();
}

void TCustomVodMenuStyler::SetAntiAlias(TAntiAlias v)
{
    FAntiAlias = v;
    RebuildMenu();
}

void TCustomVodMenuStyler::SetMenu(TMenu* v)
{
    if (FMenu && FMenu != v) FMenu->RemoveFreeNotification(this);
    FMenu = v;
    if (v) v->FreeNotification(this);
    FBackground->SetMenu(v);
    FIconBar->SetMenu(v);
    FSelectedItem->SetMenu(v);
    FRootItem->SetMenu(v);
    FGlyphs->SetMenu(v);
    FSideBar->SetMenu(v);
    FSeparator->SetMenu(v);
    NotifyMenu();
}

void TCustomVodMenuStyler::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent && AComponent == FMenu) {
        FMenu = nullptr;
        for (TGradientBar* b : {static_cast<TGradientBar*>(FBackground.get()), static_cast<TGradientBar*>(FIconBar.get()),
                                static_cast<TGradientBar*>(FSelectedItem.get()), static_cast<TGradientBar*>(FRootItem.get()),
                                static_cast<TGradientBar*>(FSeparator.get())})
            b->SetMenu(nullptr);
        FGlyphs->SetMenu(nullptr);
        FSideBar->SetMenu(nullptr);
    }
}

void TCustomVodMenuStyler::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TCustomVodMenuStyler*>(Source);
    if (!s) return;
    FBackground->Assign(s->FBackground.get());
    FIconBar->Assign(s->FIconBar.get());
    FSelectedItem->Assign(s->FSelectedItem.get());
    FRootItem->Assign(s->FRootItem.get());
    FGlyphs->Assign(s->FGlyphs.get());
    FSideBar->Assign(s->FSideBar.get());
    FSeparator->Assign(s->FSeparator.get());
    FFont->Assign(s->FFont.get());
    FNotesFont->Assign(s->FNotesFont.get());
    FUseSystemFont = s->FUseSystemFont;
}

void TCustomVodMenuStyler::Publish(TPublisher<TCustomVodMenuStyler>&) {}

// ---------------------------------------------------------------------------
// TNotifierWindow and TVodMenuOfficeStyler

void TNotifierWindow::WndProc(TMessage& Message)
{
    if (Message.Msg == WM_THEMECHANGED && OnThemeChange) OnThemeChange(this);
    TWinControl::WndProc(Message);
}

TVodMenuOfficeStyler::TVodMenuOfficeStyler(TComponent* AOwner) : TCustomVodMenuStyler(AOwner)
{
    SetStyle(osOffice2003Blue);
    FNotifierWnd = new TNotifierWindow(this);
    FNotifierWnd->FreeNotification(this);
    for (TComponent* o = AOwner; o; o = o->Owner())
        if (auto* w = dynamic_cast<TWinControl*>(o)) {
            FNotifierWnd->SetVisible(false);
            FNotifierWnd->SetParent(w);
            break;
        }
    FNotifierWnd->OnThemeChange = [this](TObject* s) { ThemeChanged(s); };
}

TVodMenuOfficeStyler::~TVodMenuOfficeStyler()
{
    if (FNotifierWnd) FNotifierWnd->OnThemeChange = nullptr;
}

void TVodMenuOfficeStyler::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomVodMenuStyler::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FNotifierWnd) FNotifierWnd = nullptr;
}

void TVodMenuOfficeStyler::Loaded()
{
    TCustomVodMenuStyler::Loaded();
    ThemeChanged(this);
}

void TVodMenuOfficeStyler::SetAutoThemeAdapt(bool v)
{
    if (v == FAutoThemeAdapt) return;
    FAutoThemeAdapt = v;
    ThemeChanged(this);
}

void TVodMenuOfficeStyler::ThemeChanged(TObject*)
{
    if (!FAutoThemeAdapt) return;
    switch (CurrentXPTheme()) {
    case 1: SetStyle(osOffice2003Blue); break;
    case 2: SetStyle(osOffice2003Olive); break;
    case 3: SetStyle(osOffice2003Silver); break;
    default: SetStyle(osOfficeXP); break;
    }
}

void TVodMenuOfficeStyler::SetComponentStyle(TQelStyle AStyle)
{
    switch (AStyle) {
    case tsOffice2003Blue: SetStyle(osOffice2003Blue); break;
    case tsOffice2003Silver: SetStyle(osOffice2003Silver); break;
    case tsOffice2003Olive: SetStyle(osOffice2003Olive); break;
    case tsOffice2003Classic: case tsWindowsXP: SetStyle(osOfficeXP); break;
    case tsOffice2007Luna: SetStyle(osOffice2007Luna); break;
    case tsOffice2007Obsidian: SetStyle(osOffice2007Obsidian); break;
    case tsOffice2007Silver: SetStyle(osOffice2007Silver); break;
    case tsWhidbey: SetStyle(osWhidbey); break;
    case tsCustom: break;
    case tsWindowsVista: SetStyle(osVista); break;
    case tsWindows7: SetStyle(osWindows7); break;
    case tsWindows8: SetStyle(osWindows8); break;
    case tsWindows10: SetStyle(osWindows10); break;
    case tsTerminal: SetStyle(osTerminal); break;
    case tsOffice2010Blue: SetStyle(osOffice2010Blue); break;
    case tsOffice2010Silver: SetStyle(osOffice2010Silver); break;
    case tsOffice2010Black: SetStyle(osOffice2010Black); break;
    case tsOffice2013White: SetStyle(osOffice2013White); break;
    case tsOffice2013LightGray: SetStyle(osOffice2013LightGray); break;
    case tsOffice2013Gray: SetStyle(osOffice2013Gray); break;
    case tsOffice2016White: SetStyle(osOffice2016White); break;
    case tsOffice2016Gray: SetStyle(osOffice2016Gray); break;
    case tsOffice2016Black: SetStyle(osOffice2016Black); break;
    default: break;   // outside the style: nothing
    }
}

void TVodMenuOfficeStyler::SetStyle(TOfficeStyle S)
{
    FStyle = S;
    FFont->SetColor(clWindowText);
    SetUseSystemFont(true);
    if (S == osCustom || S > osOffice2016Black) return;
    const TMenuPreset p = PresetOf(S);
    FBackground->SetColor(p.BackgroundColor);
    FBackground->SetColorTo(p.BackgroundColorTo);
    FMenuBorderColor = p.MenuBorderColor;
    TRootItem* r = FRootItem.get();
    r->SetColor(p.RootColor);
    r->SetColorTo(p.RootColorTo);
    const bool whidbey = S == osWhidbey;
    for (int i = 0; i < 4; ++i)
        if (!(whidbey && i >= 2)) r->SetSelectedColor(i, p.RootSelected[i]);
    r->SetSelectedBorderColor(p.RootSelectedBorder);
    for (int i = 0; i < 4; ++i) r->SetHoverColor(i, p.RootHover[i]);
    r->SetHoverBorderColor(p.RootHoverBorder);
    r->SetHoverTextColor(p.RootHoverText);
    if (S != osOfficeXP && !whidbey) r->SetGradientDirection(p.RootDirection);
    r->Font()->SetColor(p.RootFontColor);
    if (whidbey) r->SetSelectedTextColor(clWindowText);
    TSelectedItem* si = FSelectedItem.get();
    si->SetColor(p.SelColor);
    si->SetColorTo(p.SelColorTo);
    si->SetColorMirror(p.SelMirror);
    si->SetColorMirrorTo(p.SelMirrorTo);
    si->SetBorderColor(p.SelBorder);
    si->SetCheckColor(p.SelCheck);
    si->SetCheckColorTo(p.SelCheckTo);
    si->SetRadioColor(p.SelRadio);
    si->SetRadioColorTo(p.SelRadioTo);
    si->SetCheckBorder(p.SelCheckBorder);
    si->SetRadioBorder(p.SelRadioBorder);
    TIconBar* ib = FIconBar.get();
    ib->SetColor(p.IconColor);
    ib->SetColorTo(p.IconColorTo);
    ib->SetCheckColor(p.IconCheck);
    ib->SetCheckColorTo(p.IconCheckTo);
    ib->SetCheckBorder(p.IconCheckBorder);
    ib->SetRadioColor(p.IconRadio);
    ib->SetRadioColorTo(p.IconRadioTo);
    ib->SetRadioBorder(p.IconRadioBorder);
    FSeparator->SetColor(p.SepColor);
    FSeparator->SetColorTo(p.SepColorTo);
    if (!whidbey) {
        TButtonAppearance* b = FButtonAppearance.get();
        b->SetDownColor(p.BtnDown);
        b->SetDownColorTo(p.BtnDownTo);
        b->SetHoverColor(p.BtnHover);
        b->SetHoverColorTo(p.BtnHoverTo);
        b->SetDownBorderColor(p.BtnDownBorder);
        b->SetHoverBorderColor(p.BtnHoverBorder);
    }
    if (p.IconSeparator) ib->SetSeparatorColor(*p.IconSeparator);
    if (S == osOffice2016Gray) r->SetUseSystemFont(false);
    if (S == osOffice2016Black) {
        FFont->SetColor(TColor(0xC6C6C6));
        r->SetSelectedTextColor(TColor(0xFFFFFF));
        r->SetUseSystemFont(false);
        si->Font()->SetColor(TColor(0x000000));
        si->SetUseSystemFont(false);
        SetUseSystemFont(false);
    }
}

void TVodMenuOfficeStyler::Publish(TPublisher<TVodMenuOfficeStyler>& p)
{
    using S = TVodMenuOfficeStyler;
    p.Enum(L"AntiAlias", &S::AntiAlias, &S::SetAntiAlias, {L"aaNone", L"aaClearType", L"aaAntiAlias"}).Default = 0;
    p.Boolean(L"AutoThemeAdapt", &S::AutoThemeAdapt, &S::SetAutoThemeAdapt).Default = 0;
    p.Enum(L"Style", &S::Style, &S::SetStyle,
           {L"osOffice2003Blue", L"osOffice2003Silver", L"osOffice2003Olive", L"osOfficeXP", L"osOffice2007Luna",
            L"osOffice2007Obsidian", L"osCustom", L"osOffice2007Silver", L"osVista", L"osWhidbey", L"osWindows7",
            L"osTerminal", L"osOffice2010Blue", L"osOffice2010Silver", L"osOffice2010Black", L"osWindows8",
            L"osOffice2013White", L"osOffice2013LightGray", L"osOffice2013Gray", L"osWindows10",
            L"osOffice2016White", L"osOffice2016Gray", L"osOffice2016Black"});
    p.Object(L"Background", &S::Background);
    p.Object(L"ButtonAppearance", &S::ButtonAppearance);
    p.Object(L"IconBar", &S::IconBar);
    p.Object(L"SelectedItem", &S::SelectedItem);
    p.Object(L"RootItem", &S::RootItem);
    p.Object(L"SideBar", &S::SideBar);
    p.Object(L"Separator", &S::Separator);
    p.Object(L"Font", &S::Font);
    p.Object(L"NotesFont", &S::NotesFont);
    p.Boolean(L"UseSystemFont", &S::UseSystemFont, &S::SetUseSystemFont).Default = 1;
    p.IntegerIdent(L"MenuBorderColor", L"TColor", &S::MenuBorderColor, &S::SetMenuBorderColor).Default =
        Int64(TColor(0x7C7C94));
}
