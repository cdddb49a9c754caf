// The panel settings object, the panel's ApplySettings, and the styler with
// its 28 presets, the style and tone interfaces and the Office theme.
#include "controls/chrome/VodPanel.h"

// ---------------------------------------------------------------------------
// TVodPanelSettings

TVodPanelSettings::TVodPanelSettings()
    : FCaption(std::make_unique<TPanelCaption>()), FFont(std::make_unique<TFont>()),
      FStatusBar(std::make_unique<TPanelStatusBar>())
{
    FCaption->OnChange = [this](TObject*) { Changed(); };
}

TVodPanelSettings::~TVodPanelSettings() { FCaption->OnChange = nullptr; }

void TVodPanelSettings::Changed()
{
    if (FUpdateCount == 0 && OnChange) OnChange(this);
}

void TVodPanelSettings::EndUpdate()
{
    if (FUpdateCount > 0) --FUpdateCount;
    if (FUpdateCount == 0 && OnChange) OnChange(this);
}

void TVodPanelSettings::SetCaption(TPanelCaption* v)
{
    FCaption->Assign(v);
    Changed();
}

void TVodPanelSettings::SetFont(TFont* v)
{
    FFont->Assign(v);
    Changed();
}

void TVodPanelSettings::SetStatusBar(TPanelStatusBar* v)
{
    FStatusBar->Assign(v);
    Changed();
}

void TVodPanelSettings::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TVodPanelSettings*>(Source);
    if (!s || s == this) return;
    const Integer saved = FUpdateCount;
    FUpdateCount = 1;   // copying does not notify
    FAnchorHint = s->FAnchorHint;
    FAutoHideChildren = s->FAutoHideChildren;
    FBevelInner = s->FBevelInner;
    FBevelOuter = s->FBevelOuter;
    FBevelWidth = s->FBevelWidth;
    FBorderColor = s->FBorderColor;
    FBorderShadow = s->FBorderShadow;
    FBorderStyle = s->FBorderStyle;
    FBorderWidth = s->FBorderWidth;
    FBottomIndent = s->FBottomIndent;
    FCanMove = s->FCanMove;
    FCanSize = s->FCanSize;
    FCaption->Assign(s->Caption());
    FCaption->SetText(s->Caption()->Text());
    FCaption->SetVisible(s->Caption()->Visible());
    FCaption->SetPosition(s->Caption()->Position());
    FCaption->SetTopIndent(s->Caption()->TopIndent());
    FCaption->SetMinMaxCaption(s->Caption()->MinMaxCaption());
    FCollaps = s->FCollaps;
    FCollapsColor = s->FCollapsColor;
    FCollapsDelay = s->FCollapsDelay;
    FCollapsSteps = s->FCollapsSteps;
    FColor = s->FColor;
    FColorTo = s->FColorTo;
    FColorMirror = s->FColorMirror;
    FColorMirrorTo = s->FColorMirrorTo;
    FCursor = s->FCursor;
    FFont->Assign(s->Font());
    FFixedTop = s->FFixedTop;
    FFixedLeft = s->FFixedLeft;
    FFixedHeight = s->FFixedHeight;
    FFixedWidth = s->FFixedWidth;
    FHeight = s->FHeight;
    FHint = s->FHint;
    FHover = s->FHover;
    FHoverColor = s->FHoverColor;
    FHoverFontColor = s->FHoverFontColor;
    FIndent = s->FIndent;
    FPosition = s->FPosition;
    FShadowColor = s->FShadowColor;
    FShadowOffset = s->FShadowOffset;
    FShowHint = s->FShowHint;
    FShowMoveCursor = s->FShowMoveCursor;
    FStatusBar->Assign(s->StatusBar());
    FStatusBar->SetVisible(s->StatusBar()->Visible());
    FStatusBar->SetHeight(s->StatusBar()->Height());
    FStatusBar->SetText(s->StatusBar()->Text());
    FStatusBar->SetBevelInner(s->StatusBar()->BevelInner());
    FText = s->FText;
    FTextVAlign = s->FTextVAlign;
    FTopIndent = s->FTopIndent;
    FURLColor = s->FURLColor;
    FWidth = s->FWidth;
    FUpdateCount = saved;
}

// ---------------------------------------------------------------------------
// The panel's ApplySettings

void TCustomVodPanel::ApplySettings(TVodPanelSettings* Settings)
{
    if (!Settings) return;
    FAnchorHint = Settings->AnchorHint();
    FAutoHideChildren = Settings->AutoHideChildren();
    SetBevelInner(Settings->BevelInner());
    SetBevelOuter(Settings->BevelOuter());
    SetBevelWidth(Settings->BevelWidth());
    SetBorderColor(Settings->BorderColor());
    SetBorderShadow(Settings->BorderShadow());
    SetBorderStyle(Settings->BorderStyle());
    SetBorderWidth(Settings->BorderWidth());
    FCanMove = Settings->CanMove();
    SetCanSize(Settings->CanSize());
    // The panel keeps its own close and collapse buttons.
    const bool close = FCaption->CloseButton(), minMax = FCaption->MinMaxButton();
    FCaption->Assign(Settings->Caption());
    FCaption->SetCloseButton(close);
    FCaption->SetMinMaxButton(minMax);
    FCollapsColor = Settings->CollapsColor();
    FCollapsDelay = Settings->CollapsDelay();
    FCollapsSteps = Settings->CollapsSteps();
    SetColor(Settings->Color());
    SetColorTo(Settings->ColorTo());
    SetColorMirror(Settings->ColorMirror());
    SetColorMirrorTo(Settings->ColorMirrorTo());
    SetCursor(Settings->Cursor());
    if (ParentFont()) FCaption->Font()->Assign(Font());
    else Font()->Assign(Settings->Font());
    FFixedTop = Settings->FixedTop();
    FFixedLeft = Settings->FixedLeft();
    FFixedHeight = Settings->FixedHeight();
    FFixedWidth = Settings->FixedWidth();
    FHover = Settings->Hover();
    FHoverColor = Settings->HoverColor();
    FHoverFontColor = Settings->HoverFontColor();
    SetIndent(Settings->Indent());
    SetShadowColor(Settings->ShadowColor());
    SetShadowOffset(Settings->ShadowOffset());
    FShowMoveCursor = Settings->ShowMoveCursor();
    FStatusBar->Assign(Settings->StatusBar());
    SetTextVAlign(Settings->TextVAlign());
    SetTopIndent(Settings->TopIndent());
    SetBottomIndent(Settings->BottomIndent());
    SetURLColor(Settings->URLColor());
}

// ---------------------------------------------------------------------------
// The notifier window

void vodpanel::TThemeNotifierWindow::WndProc(TMessage& Message)
{
    if (Message.Msg == WM_THEMECHANGED && OnThemeChange) OnThemeChange(this);
    TWinControl::WndProc(Message);
}

// ---------------------------------------------------------------------------
// TVodPanelStyler

TVodPanelStyler::TVodPanelStyler(TComponent* AOwner) : TComponent(AOwner)
{
    FNotifier = new vodpanel::TThemeNotifierWindow(this);
    for (TComponent* o = AOwner; o; o = o->Owner())
        if (auto* w = dynamic_cast<TWinControl*>(o)) {
            FNotifier->SetParent(w);
            break;
        }
    FNotifier->SetVisible(false);
    FNotifier->OnThemeChange = [this](TObject* s) { ThemeChanged(s); };
    FSettings = std::make_unique<TVodPanelSettings>();
    FSettings->OnChange = [this](TObject* s) { SettingsChanged(s); };
    SetStyle(psXP);
    FAutoThemeAdapt = false;
}

TVodPanelStyler::~TVodPanelStyler()
{
    if (FNotifier) FNotifier->OnThemeChange = nullptr;
    FSettings->OnChange = nullptr;
    FSettings.reset();
}

void TVodPanelStyler::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FNotifier) FNotifier = nullptr;
}

void TVodPanelStyler::Loaded()
{
    TComponent::Loaded();
    if (!ComponentState().Contains(csDesigning)) ThemeChanged(this);
    SettingsChanged(this);
}

void TVodPanelStyler::SettingsChanged(TObject*)
{
    if (ComponentState().Contains(csLoading) || !Owner()) return;
    TComponent* owner = Owner();
    for (Integer i = 0; i < owner->ComponentCount(); ++i)
        if (auto* p = dynamic_cast<TCustomVodPanel*>(owner->Components(i)))
            if (p->Styler() == this) p->ApplySettings(FSettings.get());
}

void TVodPanelStyler::SetStyle(TVodPanelStyle v) { ApplyStyle(v, clNone); }

void TVodPanelStyler::SetAutoThemeAdapt(bool v)
{
    FAutoThemeAdapt = v;
    ThemeChanged(this);
}

TVodPanelStyle PanelStyleOfTheme(TOfficeTheme ATheme)
{
    switch (ATheme) {
    case ot2003Blue: return psOffice2003Blue;
    case ot2003Silver: return psOffice2003Silver;
    case ot2003Olive: return psOffice2003Olive;
    case ot2003Classic: return psOffice2003Classic;
    case ot2007Blue: return psOffice2007Luna;
    case ot2007Silver: return psOffice2007Silver;
    case ot2007Black: return psOffice2007Obsidian;
    case ot2010Blue: return psOffice2010Blue;
    case ot2010Silver: return psOffice2010Silver;
    case ot2010Black: return psOffice2010Black;
    case ot2013White: return psOffice2013White;
    case ot2013Silver: return psOffice2013LightGray;
    case ot2013Gray: return psOffice2013Gray;
    case ot2016White: return psOffice2016White;
    case ot2016Gray: return psOffice2016Gray;
    case ot2016Black: return psOffice2016Black;
    default: return psCustom;
    }
}

TVodPanelStyle PanelStyleOf(TQelStyle AStyle)
{
    switch (AStyle) {
    case tsOffice2003Blue: return psOffice2003Blue;
    case tsOffice2003Silver: return psOffice2003Silver;
    case tsOffice2003Olive: return psOffice2003Olive;
    case tsOffice2003Classic: return psOffice2003Classic;
    case tsOffice2007Luna: return psOffice2007Luna;
    case tsOffice2007Obsidian: return psOffice2007Obsidian;
    case tsWindowsXP: return psWindowsXP;
    case tsWhidbey: return psWhidbey;
    case tsCustom: return psOffice2003Blue;
    case tsOffice2007Silver: return psOffice2007Silver;
    case tsWindowsVista: return psWindowsVista;
    case tsWindows7: return psWindows7;
    case tsTerminal: return psTerminal;
    case tsOffice2010Blue: return psOffice2010Blue;
    case tsOffice2010Silver: return psOffice2010Silver;
    case tsOffice2010Black: return psOffice2010Black;
    case tsWindows8: return psWindows8;
    case tsOffice2013White: return psOffice2013White;
    case tsOffice2013LightGray: return psOffice2013LightGray;
    case tsOffice2013Gray: return psOffice2013Gray;
    case tsWindows10: return psWindows10;
    case tsOffice2016White: return psOffice2016White;
    case tsOffice2016Gray: return psOffice2016Gray;
    case tsOffice2016Black: return psOffice2016Black;
    }
    return psOffice2003Blue;
}

void TVodPanelStyler::ThemeChanged(TObject*)
{
    if (!FAutoThemeAdapt) return;
    SetStyle(psCustom);
    const TVodPanelStyle s = PanelStyleOfTheme(GetOfficeTheme());
    if (s != psCustom) SetStyle(s);
}

void TVodPanelStyler::SetComponentStyle(TQelStyle AStyle) { SetComponentStyleAndAppColor(AStyle, clNone); }

void TVodPanelStyler::SetComponentStyleAndAppColor(TQelStyle AStyle, TColor AppColor)
{
    ApplyStyle(PanelStyleOf(AStyle), AppColor);
}

void TVodPanelStyler::SetColorTones(TColorTones ATones)
{
    FStyle = psCustom;
    TVodPanelSettings* s = FSettings.get();
    TPanelCaption* c = s->Caption();
    c->SetColor(ATones.Selected.BrushColor);
    c->SetColorTo(clNone);
    c->Font()->SetName(DefaultFontName());
    c->Font()->SetColor(ATones.Selected.TextColor);
    c->SetFlat(true);
    c->SetShadeType(stNormal);
    c->SetCloseColor(ATones.Selected.BrushColor);
    s->SetColor(ATones.Background.BrushColor);
    s->SetColorTo(clNone);
    s->Font()->SetName(DefaultFontName());
    s->Font()->SetColor(ATones.Background.TextColor);
    s->SetBevelInner(bvNone);
    s->SetBevelOuter(bvNone);
    s->SetBorderStyle(bsNone);
    s->StatusBar()->Font()->SetName(DefaultFontName());
    s->StatusBar()->Font()->SetColor(ATones.Foreground.TextColor);
    s->StatusBar()->SetColor(ATones.Foreground.BrushColor);
    s->StatusBar()->SetColorTo(clNone);
}

void TVodPanelStyler::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TVodPanelStyler*>(Source);
    if (!s || s == this) return;
    SetAutoThemeAdapt(s->FAutoThemeAdapt);
    FSettings->Assign(s->Settings());
    FComments = s->FComments;
    SetStyle(s->FStyle);
}

// ---------------------------------------------------------------------------
// Presets

namespace {

// One preset's values, colours as BBGGRR.
struct TPreset {
    TColor Color, ColorTo, ColorMirror, ColorMirrorTo;
    TColor FontColor;   // clNone: unchanged
    Integer ShadeGrain, ShadeLight;   // -1: unchanged
    TShadeType ShadeType;
    TColor CaptionFontColor, CaptionColor, CaptionColorTo;
    TGradientDirection CaptionDirection;
    Integer CaptionIndent, CaptionHeight;   // -1: unchanged
    Integer CaptionVisible;                 // -1: unchanged, else 0 or 1
    TBevelCut BevelInner, BevelOuter;
    TColor BorderColor;
    bool BorderShadow;
    TColor CollapsColor;
    TColor SBBorderColor;
    TBorderStyle SBBorderStyle;
    bool SBBevelInner;
    TColor SBColor, SBColorTo;
    Integer SBDirection;   // -1: unchanged
    TColor SBFontColor;
};

constexpr TColor C(uint32_t bbggrr) { return TColor(bbggrr); }
constexpr TColor AppColorMark = TColor(0x7FFFFFFE);   // status bar takes the application colour

TPreset PresetOf(TVodPanelStyle S)
{
    const TPreset xp{C(0xFFFFFF), C(0xE3F0F2), clNone, clNone, clNone, -1, -1, stNormal,
                     clHighlightText, clHighlight, C(0xFF0000), gdHorizontal, 2, 20, -1,
                     bvNone, bvNone, C(0x808080), true, clBtnFace,
                     C(0xC0C0C0), bsSingle, false, C(0xE3F0F2), C(0xFFFFFF), -1, C(0x000000)};
    auto office2013 = [](TColor body, TColor caption, TColor text, TColor sb) {
        return TPreset{body, clNone, clNone, clNone, text, 32, 255, stNormal, text, caption, clNone, gdVertical,
                       -1, -1, -1, bvNone, bvNone, clNone, false, clNone,
                       clNone, bsSingle, false, sb, clNone, gdVertical, text};
    };
    auto twoTone = [](TColor body, TColor bodyTo, TColor border, TColor cap, TColor capTo, TColor capText,
                      TColor sb, TColor sbTo, TColor text) {
        return TPreset{body, bodyTo, clNone, clNone, text, 32, 255, stNormal, capText, cap, capTo, gdVertical,
                       -1, -1, -1, bvNone, bvNone, border, false, clNone,
                       border, bsSingle, false, sb, sbTo, gdVertical, text};
    };
    auto mirror = [](TColor body, TColor bodyTo, TColor mir, TColor mirTo, TColor border, TColor cap, TColor capTo,
                     TColor capText, TColor sb, TColor sbTo, TColor text) {
        return TPreset{body, bodyTo, mir, mirTo, text, 32, 255, stNormal, capText, cap, capTo, gdVertical,
                       -1, -1, -1, bvNone, bvNone, border, false, clNone,
                       border, bsSingle, false, sb, sbTo, gdVertical, text};
    };
    switch (S) {
    case psXP: return xp;
    case psOffice2003Classic: {
        TPreset p = xp;
        p.ColorTo = C(0xDDE4E6);
        p.SBColor = C(0xDDE4E6);
        return p;
    }
    case psWhidbey: {
        TPreset p = xp;
        p.ColorTo = C(0xDEEBEB);
        p.CaptionColor = C(0xF2F5F5);
        p.CaptionColorTo = C(0xC9D5D7);
        p.CaptionDirection = gdVertical;
        p.CaptionFontColor = C(0x000000);
        p.SBColor = C(0xDEEBEB);
        return p;
    }
    case psOffice2003Blue:
    case psOffice2003Olive:
    case psOffice2003Silver: {
        TColor body, bodyTo, cap, capTo, text;
        if (S == psOffice2003Blue) {
            body = C(0xFCE1CB); bodyTo = C(0xE0A57D); cap = C(0xD68759); capTo = C(0x933803); text = C(0xFFFFFF);
        } else if (S == psOffice2003Olive) {
            body = C(0xCFF0EA); bodyTo = C(0x8CC0B1); cap = C(0x82C0AF); capTo = C(0x447A63); text = C(0x000000);
        } else {
            body = C(0xECE2E1); bodyTo = C(0xB39698); cap = C(0xBDA4A5); capTo = C(0x957475); text = C(0x000000);
        }
        TPreset p{body, bodyTo, clNone, clNone, clNone, 32, 255, stNormal, text, cap, capTo, gdVertical,
                  -1, -1, -1, bvNone, bvNone, C(0x808080), false, clNone,
                  clNone, bsSingle, false, body, bodyTo, gdVertical, C(0x000000)};
        return p;
    }
    case psOffice2007Luna:
        return TPreset{C(0xFAF1E9), C(0xEDD8C7), C(0xEDD8C7), C(0xFFF2E7), C(0x723708), 32, 255, stNormal,
                       C(0x000000), C(0xFFEFE3), C(0xFFD2AF), gdVertical, -1, -1, -1, bvNone, bvNone,
                       C(0xFFD2AF), false, clNone, C(0xFFD2AF), bsSingle, false, C(0xF7E3D3), C(0xF5D0B3),
                       gdVertical, C(0x723708)};
    case psOffice2007Obsidian:
        return mirror(C(0xF2F1F0), C(0xC9C2BD), C(0xC9C2BD), C(0xE4E2DF), C(0x5C534C), C(0xF2F1F0), C(0xC9C2BD),
                      C(0x000000), C(0xE4E2DF), C(0xC9C2BD), C(0x000000));
    case psOffice2007Silver:
        return mirror(C(0xF8F7F6), C(0xE8E0DB), C(0xE8E0DB), C(0xF4F1EF), C(0xD2C6BE), C(0xF8F7F6), C(0xE8E0DB),
                      C(0x000000), C(0xF4F1EF), C(0xE8E0DB), C(0x5C534C));
    case psWindowsVista:
        return twoTone(C(0xFFFFFF), C(0xFFFDF9), C(0xFCF2DA), C(0xFFFDF9), C(0xFFFAF0), C(0x000000),
                       C(0xFFFDF9), C(0xFFFAF0), C(0x000000));
    case psWindows7:
        return twoTone(C(0xFFFFFF), C(0xFCEBDC), C(0xCEA27D), C(0xFCEBDC), C(0xFCDBC1), C(0x000000),
                       C(0xFCEBDC), C(0xFCDBC1), C(0x000000));
    case psOffice2010Blue:
        return twoTone(C(0xFDF6EF), C(0xF0DAC7), C(0xC7B29B), C(0xEDDBCD), C(0xE4C9B3), C(0x5B391E),
                       C(0xF0DAC7), C(0xE4C9B3), C(0x5B391E));
    case psOffice2010Silver:
        return twoTone(C(0xFFFFFF), C(0xEDE5E0), C(0xD2CDC8), C(0xF4F0EE), C(0xE6DDD8), C(0x5C534C),
                       C(0xEDE5E0), C(0xE6DDD8), C(0x5C534C));
    case psOffice2010Black:
        return twoTone(C(0xBFBFBF), C(0x919191), C(0x6D6D6D), C(0x8C8C8C), C(0x5E5E5E), C(0xFFFFFF),
                       C(0x919191), C(0x5E5E5E), C(0x000000));
    case psQel:
        return TPreset{C(0xFFFFFF), C(0xE6E6E6), clNone, clNone, clNone, 32, 255, stRMetal, C(0x000000),
                       C(0xFFFFFF), clNone, gdHorizontal, 4, 20, 1, bvNone, bvNone, C(0x808080), true,
                       clBtnFace, C(0xFFFFFF), bsSingle, false, C(0xF0F0F0), C(0xC8C8C8), gdVertical,
                       C(0x000000)};
    case psFlat:
    case psTerminal: {
        const bool flat = S == psFlat;
        return TPreset{clBtnFace, clNone, clNone, clNone, clNone, -1, -1, stNormal,
                       flat ? clHighlightText : C(0x000000), flat ? clHighlight : C(0xC0C0C0), clNone,
                       gdHorizontal, -1, -1, -1, bvNone, bvNone, C(0x808080), false, clBtnFace,
                       flat ? C(0xC0C0C0) : C(0x000000), bsSingle, false, clBtnFace, clNone, -1, C(0x000000)};
    }
    case psClassic:
    case psWindowsXP:
        return TPreset{clBtnFace, clNone, clNone, clNone, clNone, -1, -1, stNormal, clHighlightText,
                       clHighlight, clNone, gdHorizontal, -1, -1, 0, bvNone, bvRaised, C(0x808080), false,
                       clBtnFace, clNone, bsNone, true, clBtnFace, clNone, -1, C(0x000000)};
    case psWindows8: return office2013(C(0xF7F6F5), C(0xF7F6F5), C(0x000000), C(0xF7F6F5));
    case psWindows10: return office2013(C(0xF0F0F0), C(0xF0F0F0), C(0x000000), C(0xF0F0F0));
    case psOffice2013White: return office2013(C(0xFFFFFF), C(0xF1F1F1), C(0x444444), C(0xFFFFFF));
    case psOffice2013LightGray: return office2013(C(0xFAFAFA), C(0xF3F3F3), C(0x444444), C(0xF3F3F3));
    case psOffice2013Gray: return office2013(C(0xF3F3F3), C(0xE5E5E5), C(0x262626), C(0xE5E5E5));
    case psOffice2016White: {
        TPreset p = office2013(C(0xFFFFFF), C(0xD4D4D4), C(0x444444), AppColorMark);
        return p;
    }
    case psOffice2016Gray: return office2013(C(0xD4D4D4), C(0xB2B2B2), C(0x262626), C(0xD4D4D4));
    case psOffice2016Black: return office2013(C(0x363636), C(0x444444), C(0xFFFFFF), C(0x444444));
    case psCustom: break;
    }
    return xp;
}

}  // namespace

void TVodPanelStyler::ApplyStyle(TVodPanelStyle AStyle, TColor AppColor)
{
    FStyle = AStyle;
    TVodPanelSettings* s = FSettings.get();
    s->BeginUpdate();
    if (AStyle != psCustom) {
        const TPreset p = PresetOf(AStyle);
        TPanelCaption* c = s->Caption();
        s->SetColor(p.Color);
        s->SetColorTo(p.ColorTo);
        s->SetColorMirror(p.ColorMirror);
        s->SetColorMirrorTo(p.ColorMirrorTo);
        if (p.FontColor != clNone) s->Font()->SetColor(p.FontColor);
        if (p.ShadeGrain >= 0) c->SetShadeGrain(Byte(p.ShadeGrain));
        if (p.ShadeLight >= 0) c->SetShadeLight(p.ShadeLight);
        c->SetShadeType(p.ShadeType);
        if (AStyle == psOffice2007Luna) c->Font()->SetColor(C(0x723708));
        c->Font()->SetColor(p.CaptionFontColor);
        c->SetColor(p.CaptionColor);
        c->SetColorTo(p.CaptionColorTo);
        c->SetGradientDirection(p.CaptionDirection);
        if (p.CaptionIndent >= 0) c->SetIndent(p.CaptionIndent);
        if (p.CaptionHeight >= 0) {
            if (AStyle == psXP || AStyle == psQel || AStyle == psOffice2003Classic || AStyle == psWhidbey)
                c->SetHeightDirect(p.CaptionHeight);
            else c->SetHeight(p.CaptionHeight);
        }
        if (p.CaptionVisible >= 0) c->SetVisible(p.CaptionVisible != 0);
        s->SetBevelInner(p.BevelInner);
        s->SetBevelOuter(p.BevelOuter);
        s->SetBorderColor(p.BorderColor);
        s->SetBorderShadow(p.BorderShadow);
        s->SetBorderStyle(bsNone);
        s->SetCollapsColor(p.CollapsColor);
        TPanelStatusBar* sb = s->StatusBar();
        sb->SetBorderColor(p.SBBorderColor);
        sb->SetBorderStyle(p.SBBorderStyle);
        sb->SetBevelInner(p.SBBevelInner);
        TColor sbColor = p.SBColor;
        if (sbColor == AppColorMark) sbColor = AppColor == clNone ? C(0xFFFFFF) : AppColor;
        sb->SetColor(sbColor);
        sb->SetColorTo(p.SBColorTo);
        if (p.SBDirection >= 0) sb->SetGradientDirection(TGradientDirection(p.SBDirection));
        sb->Font()->SetColor(p.SBFontColor);
    }
    s->EndUpdate();
}

// ---------------------------------------------------------------------------
// Published properties

void TVodPanelSettings::Publish(TPublisher<TVodPanelSettings>& p)
{
    using S = TVodPanelSettings;
    const std::initializer_list<const wchar_t*> bevels = {L"bvNone", L"bvLowered", L"bvRaised", L"bvSpace"};
    p.Boolean(L"AnchorHint", &S::AnchorHint, &S::SetAnchorHint).Default = 0;
    p.Boolean(L"AutoHideChildren", &S::AutoHideChildren, &S::SetAutoHideChildren).Default = 1;
    p.Enum(L"BevelInner", &S::BevelInner, &S::SetBevelInner, bevels).Default = bvNone;
    p.Enum(L"BevelOuter", &S::BevelOuter, &S::SetBevelOuter, bevels).Default = bvNone;
    p.Integer(L"BevelWidth", &S::BevelWidth, &S::SetBevelWidth).Default = 1;
    p.IntegerIdent(L"BorderColor", L"TColor", &S::BorderColor, &S::SetBorderColor).Default = 0;
    p.Boolean(L"BorderShadow", &S::BorderShadow, &S::SetBorderShadow).Default = 0;
    p.Enum(L"BorderStyle", &S::BorderStyle, &S::SetBorderStyle, {L"bsNone", L"bsSingle"}).Default = bsSingle;
    p.Integer(L"BorderWidth", &S::BorderWidth, &S::SetBorderWidth).Default = 0;
    p.Integer(L"BottomIndent", &S::BottomIndent, &S::SetBottomIndent).Default = 0;
    p.Boolean(L"CanMove", &S::CanMove, &S::SetCanMove).Default = 0;
    p.Boolean(L"CanSize", &S::CanSize, &S::SetCanSize).Default = 0;
    p.Object(L"Caption", &S::Caption);
    p.Boolean(L"Collaps", &S::Collaps, &S::SetCollaps).Default = 0;
    p.IntegerIdent(L"CollapsColor", L"TColor", &S::CollapsColor, &S::SetCollapsColor).Default = clBtnFace;
    p.Integer(L"CollapsDelay", &S::CollapsDelay, &S::SetCollapsDelay).Default = 0;
    p.Integer(L"CollapsSteps", &S::CollapsSteps, &S::SetCollapsSteps).Default = 0;
    p.IntegerIdent(L"Color", L"TColor", &S::Color, &S::SetColor).Default = clBtnFace;
    p.IntegerIdent(L"ColorTo", L"TColor", &S::ColorTo, &S::SetColorTo).Default = clNone;
    p.IntegerIdent(L"ColorMirror", L"TColor", &S::ColorMirror, &S::SetColorMirror).Default = clNone;
    p.IntegerIdent(L"ColorMirrorTo", L"TColor", &S::ColorMirrorTo, &S::SetColorMirrorTo).Default = clNone;
    p.Integer(L"Cursor", &S::Cursor, &S::SetCursor).Default = 0;
    p.Object(L"Font", &S::Font);
    p.Boolean(L"FixedTop", &S::FixedTop, &S::SetFixedTop).Default = 0;
    p.Boolean(L"FixedLeft", &S::FixedLeft, &S::SetFixedLeft).Default = 0;
    p.Boolean(L"FixedHeight", &S::FixedHeight, &S::SetFixedHeight).Default = 0;
    p.Boolean(L"FixedWidth", &S::FixedWidth, &S::SetFixedWidth).Default = 0;
    p.Integer(L"Height", &S::Height, &S::SetHeight).Default = 120;
    p.Str(L"Hint", &S::Hint, &S::SetHint);
    p.Boolean(L"Hover", &S::Hover, &S::SetHover).Default = 0;
    p.IntegerIdent(L"HoverColor", L"TColor", &S::HoverColor, &S::SetHoverColor).Default = clNone;
    p.IntegerIdent(L"HoverFontColor", L"TColor", &S::HoverFontColor, &S::SetHoverFontColor).Default = clNone;
    p.Integer(L"Indent", &S::Indent, &S::SetIndent).Default = 0;
    p.IntegerIdent(L"ShadowColor", L"TColor", &S::ShadowColor, &S::SetShadowColor).Default = 0;
    p.Integer(L"ShadowOffset", &S::ShadowOffset, &S::SetShadowOffset).Default = 0;
    p.Boolean(L"ShowHint", &S::ShowHint, &S::SetShowHint).Default = 0;
    p.Boolean(L"ShowMoveCursor", &S::ShowMoveCursor, &S::SetShowMoveCursor).Default = 0;
    p.Object(L"StatusBar", &S::StatusBar);
    p.Str(L"Text", &S::Text, &S::SetText);
    p.Enum(L"TextVAlign", &S::TextVAlign, &S::SetTextVAlign, {L"tvaTop", L"tvaCenter", L"tvaBottom"}).Default = 0;
    p.Integer(L"TopIndent", &S::TopIndent, &S::SetTopIndent).Default = 0;
    p.IntegerIdent(L"URLColor", L"TColor", &S::URLColor, &S::SetURLColor).Default = clBlue;
    p.Integer(L"Width", &S::Width, &S::SetWidth).Default = 0;
}

void TVodPanelStyler::Publish(TPublisher<TVodPanelStyler>& p)
{
    using S = TVodPanelStyler;
    p.Integer(L"Tag", &S::Tag, &S::SetTag).Default = 0;
    p.Boolean(L"AutoThemeAdapt", &S::AutoThemeAdapt, &S::SetAutoThemeAdapt).Default = 0;
    p.Object(L"Settings", &S::Settings);
    p.Str(L"Comments", &S::Comments, &S::SetComments);
    p.Enum(L"Style", &S::Style, &S::SetStyle,
           {L"psXP", L"psFlat", L"psQel", L"psClassic", L"psOffice2003Blue", L"psOffice2003Olive",
            L"psOffice2003Silver", L"psOffice2003Classic", L"psOffice2007Luna", L"psOffice2007Obsidian",
            L"psWhidbey", L"psWindowsXP", L"psCustom", L"psOffice2007Silver", L"psWindowsVista", L"psWindows7",
            L"psTerminal", L"psOffice2010Blue", L"psOffice2010Silver", L"psOffice2010Black", L"psWindows8",
            L"psOffice2013White", L"psOffice2013LightGray", L"psOffice2013Gray", L"psWindows10",
            L"psOffice2016White", L"psOffice2016Gray", L"psOffice2016Black"})
        .Default = psXP;
}
