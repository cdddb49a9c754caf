// The menu's appearance classes: the background, icon bar, highlighted item,
// menu-bar items, separators, side bar with its caption, the three glyphs
// and the button colours, each a persistent sub-object of the styler.
#include "controls/chrome/VodMenus.h"

#include "platform/ui/Forms.h"

namespace {

// The three glyph bitmaps: 1-bit device-independent bitmaps, palette entry
// 0 black and 1 white (white is the transparent colour).
const Byte kCheckItem[] = {
    0x28, 0x00, 0x00, 0x00, 0x10, 0x00, 0x00, 0x00, 0x10, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x40, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x02, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x00,
    0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00,
    0xFD, 0xFF, 0x00, 0x00, 0xF8, 0xFF, 0x00, 0x00, 0xF0, 0x7F, 0x00, 0x00, 0xF2, 0x3F, 0x00, 0x00,
    0xF7, 0x1F, 0x00, 0x00, 0xFF, 0x8F, 0x00, 0x00, 0xFF, 0xCF, 0x00, 0x00, 0xFF, 0xEF, 0x00, 0x00,
    0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00
};
const Byte kRadioItem[] = {
    0x28, 0x00, 0x00, 0x00, 0x10, 0x00, 0x00, 0x00, 0x10, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x40, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x02, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x00,
    0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00,
    0xFF, 0xFF, 0x00, 0x00, 0xFC, 0x3F, 0x00, 0x00, 0xF8, 0x1F, 0x00, 0x00, 0xF8, 0x1F, 0x00, 0x00,
    0xF8, 0x1F, 0x00, 0x00, 0xF8, 0x1F, 0x00, 0x00, 0xFC, 0x3F, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00,
    0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00
};
const Byte kSubMenuItem[] = {
    0x28, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x07, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x1C, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x02, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x00,
    0x70, 0x00, 0x00, 0x00, 0x30, 0x00, 0x00, 0x00, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x10, 0x00, 0x00, 0x00, 0x30, 0x00, 0x00, 0x00, 0x70, 0x00, 0x00, 0x00
};

// A copy of the screen's menu font (the platform's menu font before the
// screen exists).
void CopyScreenMenuFont(TFont* Font)
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

void NotifyMenu(TMenu* Menu, bool Rebuild)
{
    RefreshMenu(GetVodMenu(Menu), Rebuild, false);
}

void MakeTransparent(TBitmap* B)
{
    B->SetTransparentMode(tmAuto);
    B->SetTransparent(true);
}

template <class P>
void PublishColour(P& p, const wchar_t* name, auto get, auto set, TColor def)
{
    p.IntegerIdent(name, L"TColor", get, set).Default = Int64(def);
}

}  // namespace

void RegisterMenuGlyphResources()
{
    RegisterResource(RT_BITMAP, TResId(L"VODCHECKITEM"), kCheckItem, sizeof(kCheckItem));
    RegisterResource(RT_BITMAP, TResId(L"VODRADIOITEM"), kRadioItem, sizeof(kRadioItem));
    RegisterResource(RT_BITMAP, TResId(L"VODSUBMENUITEM"), kSubMenuItem, sizeof(kSubMenuItem));
}

// ---------------------------------------------------------------------------
// TGradientBar

TGradientBar::TGradientBar() = default;

TColor TGradientBar::GetColor(Integer Index) const
{
    switch (Index) {
    case 0: return FColor;
    case 1: return FColorTo;
    default: RaiseInvalidPropertyIndex(Index);
    }
}

void TGradientBar::SetColor(Integer Index, TColor Value)
{
    switch (Index) {
    case 0: FColor = Value; break;
    case 1: FColorTo = Value; break;
    default: RaiseInvalidPropertyIndex(Index);
    }
}

void TGradientBar::Notify() { NotifyMenu(FMenu, false); }
void TGradientBar::Rebuild() { NotifyMenu(FMenu, true); }

void TGradientBar::Assign(TPersistent* Source)
{
    if (auto* s = dynamic_cast<TGradientBar*>(Source)) {
        FColor = s->FColor;
        FColorTo = s->FColorTo;
        FGradientDirection = s->FGradientDirection;
        return;
    }
    TPersistent::Assign(Source);
}

void TGradientBar::Publish(TPublisher<TGradientBar>& p)
{
    using B = TGradientBar;
    p.IntegerIdent(L"Color", L"TColor", &B::Color, static_cast<void (B::*)(TColor)>(&B::SetColor));
    p.IntegerIdent(L"ColorTo", L"TColor", &B::ColorTo, &B::SetColorTo);
    p.Enum(L"GradientDirection", &B::GradientDirection, &B::SetGradientDirection, {L"gdVertical", L"gdHorizontal"});
}

// ---------------------------------------------------------------------------
// TIconBar

TIconBar::TIconBar()
{
    FColor = TColor(0xFFF9F9);
    FColorTo = TColor(0xBBA0A1);
    FGradientDirection = gdHorizontal;
}

TColor TIconBar::GetRadioColor(Integer Index) const
{
    if (Index == 0) return FRadioColor;
    if (Index == 1) return FRadioColorTo;
    RaiseInvalidPropertyIndex(Index);
}

void TIconBar::SetRadioColor(Integer Index, TColor v)
{
    if (Index == 0) FRadioColor = v;
    else if (Index == 1) FRadioColorTo = v;
    else RaiseInvalidPropertyIndex(Index);
    Notify();
}

TColor TIconBar::GetCheckColor(Integer Index) const
{
    if (Index == 0) return FCheckColor;
    if (Index == 1) return FCheckColorTo;
    RaiseInvalidPropertyIndex(Index);
}

void TIconBar::SetCheckColor(Integer Index, TColor v)
{
    if (Index == 0) FCheckColor = v;
    else if (Index == 1) FCheckColorTo = v;
    else RaiseInvalidPropertyIndex(Index);
    Notify();
}

void TIconBar::SetSize(Integer v)
{
    FSize = std::max(v, 16);
    Rebuild();
}

void TIconBar::Assign(TPersistent* Source)
{
    if (auto* s = dynamic_cast<TIconBar*>(Source)) {
        FCheckColor = s->FCheckColor;
        FCheckColorTo = s->FCheckColorTo;
        FCheckBorder = s->FCheckBorder;
        FCheckGradientDirection = s->FCheckGradientDirection;
        FRadioColor = s->FRadioColor;
        FRadioColorTo = s->FRadioColorTo;
        FRadioBorder = s->FRadioBorder;
        FRadioGradientDirection = s->FRadioGradientDirection;
        SetSize(s->FSize);
        FSeparatorColor = s->FSeparatorColor;
        return;
    }
    TGradientBar::Assign(Source);
}

void TIconBar::Publish(TPublisher<TIconBar>& p)
{
    using B = TIconBar;
    PublishColour(p, L"RadioBorder", &B::RadioBorder, &B::SetRadioBorder, TColor(0x6F4B4B));
    PublishColour(p, L"CheckBorder", &B::CheckBorder, &B::SetCheckBorder, TColor(0x6F4B4B));
    PublishColour(p, L"RadioColor", &B::RadioColor, static_cast<void (B::*)(TColor)>(&B::SetRadioColor), TColor(0x6FC0FF));
    PublishColour(p, L"RadioColorTo", &B::RadioColorTo, &B::SetRadioColorTo, clNone);
    PublishColour(p, L"CheckColor", &B::CheckColor, static_cast<void (B::*)(TColor)>(&B::SetCheckColor), TColor(0x6FC0FF));
    PublishColour(p, L"CheckColorTo", &B::CheckColorTo, &B::SetCheckColorTo, clNone);
    p.Integer(L"Size", &B::Size, &B::SetSize).Default = 24;
    PublishColour(p, L"SeparatorColor", &B::SeparatorColor, &B::SetSeparatorColor, clNone);
}

// ---------------------------------------------------------------------------
// TSelectedItem

TSelectedItem::TSelectedItem()
{
    FColor = TColor(0xC2EEFF);
    FColorTo = clNone;
    FGradientDirection = gdVertical;
    FFont = std::make_unique<TFont>();
    CopyScreenMenuFont(FFont.get());
    FFont->SetColor(clWindowText);
    FNotesFont = std::make_unique<TFont>();
    CopyScreenMenuFont(FNotesFont.get());
    FNotesFont->SetSize(FNotesFont->Size() - 2);
    FNotesFont->SetColor(clWindowText);
}

TSelectedItem::~TSelectedItem() = default;

TColor TSelectedItem::GetRadioColor(Integer Index) const
{
    if (Index == 0) return FRadioColor;
    if (Index == 1) return FRadioColorTo;
    RaiseInvalidPropertyIndex(Index);
}

void TSelectedItem::SetRadioColor(Integer Index, TColor v)
{
    if (Index == 0) FRadioColor = v;
    else if (Index == 1) FRadioColorTo = v;
    else RaiseInvalidPropertyIndex(Index);
    Notify();
}

TColor TSelectedItem::GetCheckColor(Integer Index) const
{
    if (Index == 0) return FCheckColor;
    if (Index == 1) return FCheckColorTo;
    RaiseInvalidPropertyIndex(Index);
}

void TSelectedItem::SetCheckColor(Integer Index, TColor v)
{
    if (Index == 0) FCheckColor = v;
    else if (Index == 1) FCheckColorTo = v;
    else RaiseInvalidPropertyIndex(Index);
    Notify();
}

void TSelectedItem::SetFont(TFont* v)
{
    FFont->Assign(v);
    Rebuild();
}

void TSelectedItem::SetUseSystemFont(bool v)
{
    FUseSystemFont = v;
    Rebuild();
}

void TSelectedItem::SetNotesFont(TFont* v)
{
    FNotesFont->Assign(v);
    Rebuild();
}

void TSelectedItem::Assign(TPersistent* Source)
{
    if (auto* s = dynamic_cast<TSelectedItem*>(Source)) {
        FColor = s->FColor;
        FColorTo = s->FColorTo;
        FGradientDirection = s->FGradientDirection;
        FColorMirror = s->FColorMirror;
        FColorMirrorTo = s->FColorMirrorTo;
        FBorderColor = s->FBorderColor;
        FFont->Assign(s->FFont.get());
        SetUseSystemFont(s->FUseSystemFont);
        FCheckColor = s->FCheckColor;
        FCheckColorTo = s->FCheckColorTo;
        FCheckGradientDirection = s->FCheckGradientDirection;
        FRadioColor = s->FRadioColor;
        FRadioColorTo = s->FRadioColorTo;
        FRadioBorder = s->FRadioBorder;
        FRadioGradientDirection = s->FRadioGradientDirection;
        return;
    }
    TGradientBar::Assign(Source);
}

void TSelectedItem::Publish(TPublisher<TSelectedItem>& p)
{
    using B = TSelectedItem;
    PublishColour(p, L"RadioBorder", &B::RadioBorder, &B::SetRadioBorder, TColor(0x6F4B4B));
    PublishColour(p, L"CheckBorder", &B::CheckBorder, &B::SetCheckBorder, TColor(0x6F4B4B));
    PublishColour(p, L"RadioColor", &B::RadioColor, static_cast<void (B::*)(TColor)>(&B::SetRadioColor), TColor(0x3E80FE));
    PublishColour(p, L"RadioColorTo", &B::RadioColorTo, &B::SetRadioColorTo, clNone);
    PublishColour(p, L"CheckColor", &B::CheckColor, static_cast<void (B::*)(TColor)>(&B::SetCheckColor), TColor(0x3E80FE));
    PublishColour(p, L"CheckColorTo", &B::CheckColorTo, &B::SetCheckColorTo, clNone);
    PublishColour(p, L"BorderColor", &B::BorderColor, &B::SetBorderColor, TColor(0x6F4B4B));
    p.Object(L"Font", &B::Font);
    p.Boolean(L"UseSystemFont", &B::UseSystemFont, &B::SetUseSystemFont).Default = 1;
    PublishColour(p, L"ColorMirror", &B::ColorMirror, &B::SetColorMirror, clNone);
    PublishColour(p, L"ColorMirrorTo", &B::ColorMirrorTo, &B::SetColorMirrorTo, clNone);
    p.Object(L"NotesFont", &B::NotesFont);
}

// ---------------------------------------------------------------------------
// TRootItem

TRootItem::TRootItem()
{
    FColor = TColor(0xE5D7D7);
    FColorTo = TColor(0xF7F2F2);
    FGradientDirection = gdHorizontal;
    FFont = std::make_unique<TFont>();
    CopyScreenMenuFont(FFont.get());
}

TRootItem::~TRootItem() = default;

void TRootItem::SetFont(TFont* v)
{
    FFont->Assign(v);
    Rebuild();
}

void TRootItem::SetUseSystemFont(bool v)
{
    FUseSystemFont = v;
    Rebuild();
}

TColor TRootItem::GetSelectedColor(Integer Index) const
{
    if (Index < 0 || Index > 3) RaiseInvalidPropertyIndex(Index);
    return FSelected[Index];
}

void TRootItem::SetSelectedColor(Integer Index, TColor v)
{
    if (Index < 0 || Index > 3) RaiseInvalidPropertyIndex(Index);
    FSelected[Index] = v;
    Rebuild();
}

TColor TRootItem::GetHoverColor(Integer Index) const
{
    if (Index < 0 || Index > 3) RaiseInvalidPropertyIndex(Index);
    return FHover[Index];
}

void TRootItem::SetHoverColor(Integer Index, TColor v)
{
    if (Index < 0 || Index > 3) RaiseInvalidPropertyIndex(Index);
    FHover[Index] = v;
    Rebuild();
}

void TRootItem::UpdateFont()
{
    if (FUseSystemFont) CopyScreenMenuFont(FFont.get());
}

void TRootItem::Assign(TPersistent* Source)
{
    if (auto* s = dynamic_cast<TRootItem*>(Source)) {
        SetFont(s->FFont.get());
        SetUseSystemFont(s->FUseSystemFont);
        FSelected[0] = s->FSelected[0];
        FSelected[1] = s->FSelected[1];
        FSelectedGradientDirection = s->FSelectedGradientDirection;
        FSelectedBorderColor = s->FSelectedBorderColor;
        FSelectedTextColor = s->FSelectedTextColor;
        FHover[0] = s->FHover[0];
        FHover[1] = s->FHover[1];
        FHoverGradientDirection = s->FHoverGradientDirection;
        FHoverBorderColor = s->FHoverBorderColor;
        FHoverTextColor = s->FHoverTextColor;
        FSelected[2] = s->FSelected[2];
        FSelected[3] = s->FSelected[3];
        return;
    }
    TGradientBar::Assign(Source);
}

void TRootItem::Publish(TPublisher<TRootItem>& p)
{
    using B = TRootItem;
    p.Object(L"Font", &B::Font);
    PublishColour(p, L"SelectedBorderColor", &B::SelectedBorderColor, &B::SetSelectedBorderColor, TColor(0x947C7C));
    PublishColour(p, L"SelectedTextColor", &B::SelectedTextColor, &B::SetSelectedTextColor, clWindowText);
    p.Boolean(L"UseSystemFont", &B::UseSystemFont, &B::SetUseSystemFont).Default = 1;
    PublishColour(p, L"HoverTextColor", &B::HoverTextColor, &B::SetHoverTextColor, clWindowText);
    PublishColour(p, L"HoverBorderColor", &B::HoverBorderColor, &B::SetHoverBorderColor, TColor(0x6F4B4B));
}

// ---------------------------------------------------------------------------
// TSeparator

TSeparator::TSeparator()
{
    FColor = TColor(0x8F6D6E);
    FColorTo = clNone;
    FGradientDirection = gdHorizontal;
}

void TSeparator::Assign(TPersistent* Source)
{
    if (auto* s = dynamic_cast<TSeparator*>(Source)) {
        FWidth = s->FWidth;
        FGradientType = s->FGradientType;
        FGradientWidth = s->FGradientWidth;
        FMargin = s->FMargin;
    }
    TGradientBar::Assign(Source);
}

void TSeparator::Publish(TPublisher<TSeparator>& p)
{
    using B = TSeparator;
    p.Enum(L"GradientType", &B::GradientType, &B::SetGradientType, {L"gtLeft", L"gtRight", L"gtBoth"});
    p.Integer(L"GradientWidth", &B::GradientWidth, &B::SetGradientWidth).Default = 0;
    p.Integer(L"Margin", &B::Margin, &B::SetMargin).Default = 2;
    p.Integer(L"Width", &B::Width, &B::SetWidth).Default = 1;
}

// ---------------------------------------------------------------------------
// TBackground

TBackground::TBackground()
{
    FColor = TColor(0xFFFAFD);
    FColorTo = clNone;
    FGradientDirection = gdVertical;
}

TBackground::~TBackground() = default;

TPicture* TBackground::Image()
{
    if (!FImage) FImage = std::make_unique<TPicture>();
    if (auto* b = dynamic_cast<TBitmap*>(FImage->Graphic())) MakeTransparent(b);
    return FImage.get();
}

void TBackground::SetImage(TPicture* v)
{
    if (v) {
        if (!FImage) FImage = std::make_unique<TPicture>();
        FImage->Assign(v);
    } else if (FImage) {
        FImage->SetGraphic(nullptr);
        FImage.reset();
    }
    Notify();
}

TBitmap* TBackground::Bitmap()
{
    if (!FBitmap) FBitmap = std::make_unique<TBitmap>();
    return FBitmap.get();
}

void TBackground::CalcPicturePosition(const TRect& R, Integer& X, Integer& Y)
{
    X = R.Left;
    Y = R.Top;
    if (!FImage || !FImage->Graphic() || FImage->Graphic()->Empty()) return;
    const Integer W = R.Right - R.Left, H = R.Bottom - R.Top;
    const Integer PW = FImage->Width(), PH = FImage->Height();
    switch (FPosition) {
    case bpTopLeft: X += FOffsetX; Y += FOffsetY; break;
    case bpTopRight: X += W + FOffsetX - PW; Y += FOffsetY; break;
    case bpBottomLeft: X += FOffsetX; Y += H + FOffsetY - PH; break;
    case bpBottomRight: X += W + FOffsetX - PW; Y += H + FOffsetY - PH; break;
    case bpTopCenter: X += (W - PW) / 2 + FOffsetX; Y += FOffsetY; break;
    case bpBottomCenter: X += (W - PW) / 2 + FOffsetX; Y += H + FOffsetY - PH; break;
    case bpCenter: X += (W - PW) / 2 + FOffsetX; Y += (H - PH) / 2 + FOffsetY; break;
    case bpTiled: case bpStretched: case bpXY: break;
    }
}

void TBackground::Assign(TPersistent* Source)
{
    if (auto* s = dynamic_cast<TBackground*>(Source)) {
        SetImage(s->Image());
        FOffsetX = s->FOffsetX;
        FOffsetY = s->FOffsetY;
        FPosition = s->FPosition;
        FColor = s->FColor;
        FColorTo = s->FColorTo;
        return;
    }
    TGradientBar::Assign(Source);
}

void TBackground::Publish(TPublisher<TBackground>& p)
{
    using B = TBackground;
    p.Integer(L"OffsetX", &B::OffsetX, &B::SetOffsetX).Default = 0;
    p.Integer(L"OffsetY", &B::OffsetY, &B::SetOffsetY).Default = 0;
    p.Enum(L"Position", &B::Position, &B::SetPosition,
           {L"bpTopLeft", L"bpTopRight", L"bpBottomLeft", L"bpBottomRight", L"bpTiled", L"bpStretched", L"bpCenter",
            L"bpXY", L"bpTopCenter", L"bpBottomCenter"});
    p.Integer(L"MarginX", &B::MarginX, &B::SetMarginX).Default = 0;
    p.Integer(L"MarginY", &B::MarginY, &B::SetMarginY).Default = 0;
}

void PaintBackground(TCanvas* Canvas, TRect R, TBackground* B, bool PaintGradient)
{
    R.Left += B->MarginX();
    R.Right -= B->MarginX();
    R.Top += B->MarginY();
    R.Bottom -= B->MarginY();
    const Integer w = std::max(R.Right - R.Left, 0), h = std::max(R.Bottom - R.Top, 0);
    TBitmap* cache = B->Bitmap();
    if (cache->PixelFormat() != pf24bit) cache->SetPixelFormat(pf24bit);
    cache->SetSize(w, h);
    if (w == 0 || h == 0) return;
    TPicture* pic = B->PictureIfAny();
    const bool hasPicture = pic && pic->Graphic() && !pic->Graphic()->Empty();
    if (PaintGradient) {
        const bool opaque = hasPicture && (B->Position() == bpTiled || B->Position() == bpStretched) &&
                            !(dynamic_cast<TBitmap*>(pic->Graphic()) && pic->Graphic()->Transparent());
        if (!opaque) MenuGradientFill(cache->Canvas(), TRect{0, 0, w, h}, B->Color(), B->ColorTo(), B->GradientDirection());
    }
    if (hasPicture) {
        TGraphic* g = pic->Graphic();
        TCanvas* c = cache->Canvas();
        const Integer pw = g->Width(), ph = g->Height();
        switch (B->Position()) {
        case bpTiled:
            if (pw >= 1 && ph >= 1)
                for (Integer y = 0; y < h; y += ph)
                    for (Integer x = 0; x < w; x += pw) c->Draw(x, y, g);
            break;
        case bpStretched: c->StretchDraw(TRect{0, 0, w, h}, g); break;
        case bpXY: c->Draw(B->OffsetX(), B->OffsetY(), g); break;
        default: {
            Integer x, y;
            B->CalcPicturePosition(TRect{0, 0, w, h}, x, y);
            c->Draw(x, y, g);
            break;
        }
        }
    }
    Canvas->Draw(R.Left, R.Top, cache);
}

// ---------------------------------------------------------------------------
// TBarCaption and TSideBar

TBarCaption::TBarCaption()
{
    FFont = std::make_unique<TFont>();
    FFont->SetName(L"Tahoma");
    FFont->SetSize(14);
    FFont->SetColor(TColor(0xFFFFFF));
    FFont->SetStyle(TFontStyles{fsBold, fsItalic});
}

TBarCaption::~TBarCaption() = default;

void TBarCaption::SetFont(TFont* v)
{
    FFont->Assign(v);
    NotifyMenu(FMenu, true);
}

void TBarCaption::Assign(TPersistent* Source)
{
    if (auto* s = dynamic_cast<TBarCaption*>(Source)) {
        FOffsetY = s->FOffsetY;
        FAlignment = s->FAlignment;
        FCaption = s->FCaption;
        FFont->Assign(s->FFont.get());
        FShadowColor = s->FShadowColor;
        FHighlightColor = s->FHighlightColor;
        FDepth = s->FDepth;
        FDirection = s->FDirection;
        return;
    }
    TPersistent::Assign(Source);
}

void TBarCaption::Publish(TPublisher<TBarCaption>& p)
{
    using B = TBarCaption;
    p.Str(L"Caption", &B::Caption, &B::SetCaption);
    p.Object(L"Font", &B::Font);
    p.Enum(L"Direction", &B::Direction, &B::SetDirection, {L"dDownToUp", L"dUpToDown"});
    PublishColour(p, L"ShadowColor", &B::ShadowColor, &B::SetShadowColor, clNone);
    p.Integer(L"Depth", &B::Depth, &B::SetDepth).Default = 1;
    p.Enum(L"Alignment", &B::Alignment, &B::SetAlignment, {L"taLeftJustify", L"taRightJustify", L"taCenter"});
}

TSideBar::TSideBar()
{
    FBackground = std::make_unique<TBackground>();
    FImage = std::make_unique<TBackground>();
}

TSideBar::~TSideBar() = default;

void TSideBar::RebuildMenu() { NotifyMenu(FMenu, true); }

void TSideBar::SetBackground(TBackground* v)
{
    FBackground->Assign(v);
    if (TPicture* pic = FBackground->PictureIfAny(); pic && dynamic_cast<TBitmap*>(pic->Graphic()))
        MakeTransparent(FBackground->Bitmap());
    RebuildMenu();
}

void TSideBar::SetImage(TBackground* v)
{
    FImage->Assign(v);
    RebuildMenu();
}

void TSideBar::Assign(TPersistent* Source)
{
    if (auto* s = dynamic_cast<TSideBar*>(Source)) {
        FVisible = s->FVisible;
        SetImage(s->FImage.get());
        SetBackground(s->FBackground.get());
        FPosition = s->FPosition;
        FSize = s->FSize;
        FSplitterWidth = s->FSplitterWidth;
        FSplitterMargin = s->FSplitterMargin;
        FSplitterGradientWidth = s->FSplitterGradientWidth;
        FSplitterGradientType = s->FSplitterGradientType;
        FBorderColor = s->FBorderColor;
    }
    TBarCaption::Assign(Source);
}

void TSideBar::Publish(TPublisher<TSideBar>& p)
{
    using B = TSideBar;
    p.Boolean(L"Visible", &B::Visible, &B::SetVisible).Default = 0;
    p.Object(L"Background", &B::Background);
    p.Object(L"Image", &B::Image);
    p.Integer(L"SplitterWidth", &B::SplitterWidth, &B::SetSplitterWidth).Default = 1;
    p.Integer(L"Size", &B::Size, &B::SetSize).Default = 24;
    p.Integer(L"SplitterMargin", &B::SplitterMargin, &B::SetSplitterMargin).Default = 0;
    p.Integer(L"SplitterGradientWidth", &B::SplitterGradientWidth, &B::SetSplitterGradientWidth).Default = 0;
    p.Enum(L"SplitterGradientType", &B::SplitterGradientType, &B::SetSplitterGradientType,
           {L"gtLeft", L"gtRight", L"gtBoth"});
    PublishColour(p, L"BorderColor", &B::BorderColor, &B::SetBorderColor, TColor(0xA19D9D));
    PublishColour(p, L"SplitterColor", &B::SplitterColor, &B::SetSplitterColor, TColor(0x808080));
    PublishColour(p, L"SplitterColorTo", &B::SplitterColorTo, &B::SetSplitterColorTo, clNone);
    p.Enum(L"VisibleIn", &B::VisibleIn, &B::SetVisibleIn, {L"viFirstVisible", L"viFirstLevel", L"viAnyLevel"});
}

// ---------------------------------------------------------------------------
// TMenuGlyphs

TMenuGlyphs::TMenuGlyphs()
{
    auto load = [](const wchar_t* name) {
        auto b = std::make_unique<TBitmap>();
        try {
            b->LoadFromResourceName(HInstance, name);
        } catch (const Exception&) {
            // A missing resource leaves the glyph empty: nothing is drawn.
        }
        // White is the glyphs' transparent colour (the submenu arrow's
        // bottom-left pixel is black, so the automatic colour would not do).
        b->SetTransparentMode(tmFixed);
        b->SetTransparentColor(clWhite);
        b->SetTransparent(true);
        return b;
    };
    FSubMenu = load(L"VODSUBMENUITEM");
    FCheck = load(L"VODCHECKITEM");
    FRadio = load(L"VODRADIOITEM");
}

TMenuGlyphs::~TMenuGlyphs() = default;

void TMenuGlyphs::SetSubMenu(TBitmap* v)
{
    FSubMenu->Assign(v);
    MakeTransparent(FSubMenu.get());
    NotifyMenu(FMenu, false);
}

void TMenuGlyphs::SetCheck(TBitmap* v)
{
    FCheck->Assign(v);
    MakeTransparent(FCheck.get());
    NotifyMenu(FMenu, false);
}

void TMenuGlyphs::SetRadio(TBitmap* v)
{
    FRadio->Assign(v);
    MakeTransparent(FRadio.get());
    NotifyMenu(FMenu, false);
}

void TMenuGlyphs::Assign(TPersistent* Source)
{
    if (auto* s = dynamic_cast<TMenuGlyphs*>(Source)) {
        SetSubMenu(s->FSubMenu.get());
        SetCheck(s->FCheck.get());
        SetRadio(s->FRadio.get());
    }
}

// ---------------------------------------------------------------------------
// TButtonAppearance

TButtonAppearance::TButtonAppearance()
{
    FCaptionFont = std::make_unique<TFont>();
    FCaptionFont->SetName(DefaultFontName());
}

TButtonAppearance::~TButtonAppearance() = default;

void TButtonAppearance::Change(TColor& Field, TColor v)
{
    if (Field == v) return;
    Field = v;
    if (OnChange) OnChange(this);
}

void TButtonAppearance::SetGradientDirection(TGradientDirection v)
{
    if (FGradientDirection == v) return;
    FGradientDirection = v;
    if (OnChange) OnChange(this);
}

void TButtonAppearance::SetCaptionFont(TFont* v)
{
    FCaptionFont->Assign(v);
    if (OnChange) OnChange(this);
}

void TButtonAppearance::SetUseSystemFont(bool v)
{
    if (FUseSystemFont == v) return;
    FUseSystemFont = v;
    if (v) FCaptionFont->SetName(DefaultFontName());
}

void TButtonAppearance::Assign(TPersistent* Source)
{
    if (auto* s = dynamic_cast<TButtonAppearance*>(Source)) {
        FColor = s->FColor;
        FColorTo = s->FColorTo;
        FHoverColor = s->FHoverColor;
        FHoverColorTo = s->FHoverColorTo;
        FDownColor = s->FDownColor;
        FDownColorTo = s->FDownColorTo;
        FGradientDirection = s->FGradientDirection;
        FBorderColor = s->FBorderColor;
        FHoverBorderColor = s->FHoverBorderColor;
        FDownBorderColor = s->FDownBorderColor;
        return;
    }
    TPersistent::Assign(Source);
}

void TButtonAppearance::Publish(TPublisher<TButtonAppearance>& p)
{
    using B = TButtonAppearance;
    PublishColour(p, L"HoverColor", &B::HoverColor, &B::SetHoverColor, TColor(0xD2BDB6));
    PublishColour(p, L"HoverColorTo", &B::HoverColorTo, &B::SetHoverColorTo, clNone);
    PublishColour(p, L"ColorTo", &B::ColorTo, &B::SetColorTo, clNone);
    PublishColour(p, L"Color", &B::Color, &B::SetColor, clNone);
    PublishColour(p, L"DownColorTo", &B::DownColorTo, &B::SetDownColorTo, clNone);
    PublishColour(p, L"DownColor", &B::DownColor, &B::SetDownColor, TColor(0xB59285));
    PublishColour(p, L"DownBorderColor", &B::DownBorderColor, &B::SetDownBorderColor, TColor(0x6A240A));
    PublishColour(p, L"BorderColor", &B::BorderColor, &B::SetBorderColor, clNone);
    PublishColour(p, L"HoverBorderColor", &B::HoverBorderColor, &B::SetHoverBorderColor, TColor(0x6A240A));
    p.Enum(L"GradientDirection", &B::GradientDirection, &B::SetGradientDirection, {L"gdVertical", L"gdHorizontal"});
    p.Object(L"CaptionFont", &B::CaptionFont);
    p.Boolean(L"UseSystemFont", &B::UseSystemFont, &B::SetUseSystemFont).Default = 1;
}
