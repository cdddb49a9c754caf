#include "controls/dropdown/WatchAppearance.h"

#include <algorithm>

#include "platform/base/SysUtils.h"

namespace {
constexpr TColor kBtnShadow = TColorOf(0xFF000010u);
constexpr TColor kBtnFace = TColorOf(0xFF00000Fu);
constexpr TColor kWindowText = TColorOf(0xFF000008u);
}  // namespace

TWatchAppearance::TWatchAppearance()
    : FHourFont(std::make_unique<TFont>()), FAMPMFont(std::make_unique<TFont>()),
      FPicture(std::make_unique<TPicture>())
{
    ResetAppearance();
    FHourFont->OnChange = [this](TObject*) { Changed(); };
    FAMPMFont->OnChange = [this](TObject*) { Changed(); };
    FPicture->OnChange = [this](TObject*) { Changed(); };
}

TWatchAppearance::~TWatchAppearance()
{
    FHourFont->OnChange = nullptr;
    FAMPMFont->OnChange = nullptr;
    FPicture->OnChange = nullptr;
}

void TWatchAppearance::ResetAppearance()
{
    FSize = 0;
    FHourPointer = 0x000000;
    FBackgroundColor = 0xFFFFFF;
    FMinutePointerShadow = kBtnShadow;
    FBackgroundColorTo = clNone;
    FHourPointerShadow = kBtnShadow;
    FSecondPointerShadow = kBtnShadow;
    FSecondPointer = 0x0000FF;
    FBorderColor = 0x000000;
    FMinutePointer = 0x000000;
    TFont hf;
    hf.SetName(L"Tahoma");
    hf.SetSize(8);
    hf.SetColor(clWindowText);
    FHourFont->Assign(&hf);
    TFont af;
    af.SetName(L"Tahoma");
    af.SetSize(10);
    af.SetColor(clWindowText);
    FAMPMFont->Assign(&af);
    FPicture->SetGraphic(nullptr);
    FAMPMFrame = apRect;
    FShape = wsCircle;
    FPointerStyle = psLine;
    FBorderStyle = wbLine;
    FHourPointerSize = 4;
    FSecondPointerSize = 1;
    FMinutePointerSize = 3;
    FHourColor = 0x000000;
    FMinuteColor = 0x808080;
    FCenterPointSize = 4;
    FCenterPointColor = 0x000000;
    FCenterPointBorderColor = clNone;
    FBackgroundGradient = wgVertical;
    FRounding = 5;
    FHourMarkLength = 0;
    FHourMarkWidth = 1;
    FMinuteMarkLength = 0;
    FMinuteMarkWidth = 1;
    FBorderWidth = 4;
    FAMPMColor = 0xFFFFFF;
    FAMPMBorderColor = 0x000000;
    FCenterPointOuterBorderColor = clNone;
    FTickMarks = tmAll;
    FHourMarkStyle = hmsLine;
    Changed();
}

void TWatchAppearance::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TWatchAppearance*>(Source);
    if (!s) {
        TPersistent::Assign(Source);
        return;
    }
    FSize = s->FSize;
    FHourPointer = s->FHourPointer;
    FBackgroundColor = s->FBackgroundColor;
    FMinutePointerShadow = s->FMinutePointerShadow;
    FBackgroundColorTo = s->FBackgroundColorTo;
    FHourPointerShadow = s->FHourPointerShadow;
    FSecondPointerShadow = s->FSecondPointerShadow;
    FSecondPointer = s->FSecondPointer;
    FBorderColor = s->FBorderColor;
    FMinutePointer = s->FMinutePointer;
    FAMPMFrame = s->FAMPMFrame;
    FShape = s->FShape;
    FPointerStyle = s->FPointerStyle;
    FBorderStyle = s->FBorderStyle;
    FHourPointerSize = s->FHourPointerSize;
    FSecondPointerSize = s->FSecondPointerSize;
    FMinutePointerSize = s->FMinutePointerSize;
    FHourColor = s->FHourColor;
    FMinuteColor = s->FMinuteColor;
    FCenterPointSize = s->FCenterPointSize;
    FCenterPointColor = s->FCenterPointColor;
    FCenterPointBorderColor = s->FCenterPointBorderColor;
    FBackgroundGradient = s->FBackgroundGradient;
    FRounding = s->FRounding;
    FHourMarkLength = s->FHourMarkLength;
    FHourMarkWidth = s->FHourMarkWidth;
    FMinuteMarkLength = s->FMinuteMarkLength;
    FMinuteMarkWidth = s->FMinuteMarkWidth;
    FBorderWidth = s->FBorderWidth;
    FAMPMColor = s->FAMPMColor;
    FAMPMBorderColor = s->FAMPMBorderColor;
    FCenterPointOuterBorderColor = s->FCenterPointOuterBorderColor;
    FTickMarks = s->FTickMarks;
    FHourMarkStyle = s->FHourMarkStyle;
    // Through their setters, so OnChange tells the change.
    SetHourFont(s->FHourFont.get());
    SetAMPMFont(s->FAMPMFont.get());
    SetPicture(s->FPicture.get());
}

// ---------------------------------------------------------------------------
// The component-style colour table

namespace {
struct TWatchStyleRow {
    TQelStyle Style;
    TColor AMPMBorder, AMPM, Background, BackgroundTo, Border, CenterBorder, Center, Hands, Shadows, Second;
};
constexpr TWatchStyleRow kWatchRows[] = {
    {tsOffice2003Blue, 0x962D00, 0xD68759, 0xFFD2AF, 0xFFD2AF, 0xD68759, 0xD68759, 0xD68759, 0xD68759, 0xFFFFFF,
     0xFFFFFF},
    {tsOffice2003Silver, 0x962D00, 0xBDA4A5, 0xE6D8D8, 0xE6D8D8, 0xBDA4A5, 0xBDA4A5, 0xBDA4A5, 0xBDA4A5, 0xFFFFFF,
     0xFFFFFF},
    {tsOffice2003Olive, 0x962D00, 0x82C0AF, 0xB9EAE1, 0xB9EAE1, 0x82C0AF, 0x82C0AF, 0x82C0AF, 0x82C0AF, 0xFFFFFF,
     0xFFFFFF},
    {tsOffice2003Classic, 0x962D00, 0x808080, 0xF2F2F2, 0xF2F2F2, 0x808080, 0x808080, 0x808080, 0x808080, 0xFFFFFF,
     0x808080},
    {tsOffice2007Luna, 0xF0DED0, 0xF0DED0, 0xFFEFE3, 0xFFEFE3, 0xF0DED0, 0xFFEFE3, 0xFFEFE3, 0x723708, 0xFFFFFF,
     0x723708},
    {tsOffice2007Obsidian, 0xF2F1F0, 0x5C534C, 0x5C534C, 0x5C534C, 0xF2F1F0, 0xFFEFE3, 0xFFEFE3, 0xF2F1F0,
     0xFFFFFF, 0xF2F1F0},
    {tsWindowsXP, 0x000000, kBtnFace, kBtnFace, kBtnFace, 0x000000, 0x000000, 0x000000, 0x000000, 0xFFFFFF,
     0x000000},
    {tsWhidbey, 0x7E9898, 0xF5F9FA, 0xF5F9FA, 0xF5F9FA, 0x7E9898, 0x7E9898, 0x7E9898, 0x7E9898, 0xFFFFFF, 0x7E9898},
    {tsOffice2007Silver, 0xE8E0DB, 0xF8F4F1, 0xF8F4F1, 0xF8F4F1, 0xE8E0DB, 0xE8E0DB, 0x74706F, 0x74706F, 0xFFFFFF,
     0x74706F},
    {tsWindowsVista, 0xFEDF9A, 0xFFFDF9, 0xFFFDF9, 0xFFFAF0, 0xFEDF9A, 0xFEDF9A, 0xFEDF9A, 0xFEDF9A, 0xFFFFFF,
     0xFEDF9A},
    {tsWindows7, 0xFBD6B8, 0xFDFBFA, 0xFDFBFA, 0xFDF3EB, 0xFBD6B8, 0xFBD6B8, 0xFBD6B8, 0xFBD6B8, 0xFFFFFF, 0xFBD6B8},
    {tsTerminal, 0x808080, kBtnFace, kBtnFace, kBtnFace, 0x808080, 0x808080, 0x808080, 0x808080, 0xFFFFFF,
     0x808080},
    {tsOffice2010Blue, 0xC7B29F, 0xF0DAC7, 0xFDF6EF, 0xFDF6EF, 0xC7B29F, 0xC7B29F, 0xC7B29F, 0xC7B29F, 0xFFFFFF,
     0xC7B29F},
    {tsOffice2010Silver, 0xD2CDC8, 0xEDE5E0, 0xFFFFFF, 0xFFFFFF, 0xD2CDC8, 0xD2CDC8, 0xD2CDC8, 0xD2CDC8, 0xC0C0C0,
     0xD2CDC8},
    {tsOffice2010Black, 0x6D6D6D, 0x919191, 0xBFBFBF, 0xBFBFBF, 0x6D6D6D, 0x6D6D6D, 0x6D6D6D, 0x6D6D6D, 0xFFFFFF,
     0x6D6D6D},
};
}  // namespace

void ApplyWatchComponentStyle(TWatchAppearance& A, TQelStyle AStyle)
{
    A.SetCenterPointOuterBorderColor(clBlack);
    A.HourFont()->SetColor(clBlack);
    A.AMPMFont()->SetColor(clBlack);
    for (const TWatchStyleRow& r : kWatchRows) {
        if (r.Style != AStyle) continue;
        A.SetAMPMBorderColor(r.AMPMBorder);
        A.SetAMPMColor(r.AMPM);
        A.SetBackgroundColor(r.Background);
        A.SetBackgroundColorTo(r.BackgroundTo);
        A.SetBorderColor(r.Border);
        A.SetCenterPointBorderColor(r.CenterBorder);
        A.SetCenterPointColor(r.Center);
        A.SetHourColor(r.Hands);
        A.SetMinuteColor(r.Hands);
        A.SetHourPointer(r.Hands);
        A.SetMinutePointer(r.Hands);
        A.SetHourPointerShadow(r.Shadows);
        A.SetMinutePointerShadow(r.Shadows);
        A.SetSecondPointer(r.Second);
        if (AStyle == tsOffice2007Obsidian) {
            A.AMPMFont()->SetColor(0xF2F1F0);
            A.HourFont()->SetColor(0xF2F1F0);
        }
        return;
    }
}

// ---------------------------------------------------------------------------
// Preset looks

namespace {

void SetFont(TFont* f, const String& name, Integer size, bool bold, TColor color)
{
    f->SetName(name);
    if (size > 0) f->SetSize(size);
    f->SetStyle(bold ? TFontStyles{fsBold} : TFontStyles{});
    if (color != clNone) f->SetColor(color);
}

// "MS Sans Serif", plain.
void PlainAMPM(TWatchAppearance& A)
{
    A.AMPMFont()->SetName(L"MS Sans Serif");
    A.AMPMFont()->SetStyle(TFontStyles{});
}

void HourHand(TWatchAppearance& A, TColor c)
{
    A.SetHourPointer(c);
    A.SetHourPointerShadow(kBtnShadow);
    A.SetHourPointerSize(5);
}

void AccentSet(TWatchAppearance& A, TColor c, TWatchShape s)
{
    A.SetCenterPointSize(20);
    SetFont(A.HourFont(), L"MS Sans Serif", 8, false, kWindowText);
    A.SetHourColor(c);
    A.SetHourMarkLength(10);
    A.SetHourPointer(c);
    A.SetHourPointerShadow(kBtnShadow);
    A.SetHourPointerSize(2);
    A.SetMinuteColor(c);
    A.SetMinutePointer(c);
    A.SetMinutePointerShadow(kBtnShadow);
    A.SetMinutePointerSize(2);
    A.SetShape(s);
    A.SetCenterPointOuterBorderColor(clBlack);
    A.SetHourMarkWidth(2);
    A.SetHourMarkStyle(hmsQuartDblLine);
}

void SmoothSet(TWatchAppearance& A, TColor hour, TColor shadows, TColor minute, TColor second)
{
    A.SetHourColor(0xABB0B1);
    SetFont(A.HourFont(), L"Times New Roman", 9, false, 0x797979);
    A.SetHourPointerSize(2);
    A.SetMinuteColor(0x808080);
    A.SetMinutePointerSize(2);
    A.SetHourPointer(hour);
    A.SetHourPointerShadow(shadows);
    A.SetMinutePointerShadow(shadows);
    A.SetMinutePointer(minute);
    A.SetSecondPointer(second);
    A.SetMinuteMarkLength(1);
    A.SetTickMarks(tmQuartHours);
}

}  // namespace

void ApplyWatchStyle(TWatchAppearance& A, TWatchStyle Style, Integer Width, Integer Height,
                     TWatchStyleExtras& X)
{
    if (Style == wsCustom) return;
    A.ResetAppearance();
    const Integer side = std::min(Width, Height);
    switch (Style) {
    case wsClassic:
        PlainAMPM(A);
        SetFont(A.HourFont(), L"Comic Sans MS", 10, true, clNone);
        A.SetHourMarkLength(8);
        HourHand(A, 0x000000);
        A.SetMinutePointerShadow(kBtnShadow);
        A.SetMinuteMarkLength(4);
        X.Animation = true;
        X.AnimationFactor = 10;
        X.ShowAMPM = true;
        X.ShowNumbers = true;
        break;
    case wsTower:
        PlainAMPM(A);
        A.SetAMPMFrame(apRect);
        A.SetBorderWidth(1);
        A.SetBackgroundColor(0xB1F0FE);
        A.SetBackgroundColorTo(0x5BCCE8);
        A.SetBackgroundGradient(wgDiagonalForward);
        A.SetCenterPointColor(0x002BD5);
        A.SetCenterPointSize(6);
        SetFont(A.HourFont(), L"Century", 0, true, kWindowText);
        HourHand(A, 0x000000);
        A.SetMinutePointerShadow(kBtnShadow);
        A.SetSecondPointer(0x002BD5);
        A.SetShape(wsRect);
        A.SetPointerStyle(psPointer);
        A.SetAMPMColor(A.BackgroundColor());
        A.SetTickMarks(tmHours);
        X.ShowNumbers = false;
        break;
    case wsFluorescent:
        SetFont(A.AMPMFont(), L"MS Sans Serif", 10, false, kWindowText);
        A.SetAMPMFrame(apRoundRect);
        A.SetBorderColor(0xFF3E3E);
        A.SetBackgroundColor(clBlack);
        A.SetBackgroundColorTo(clBlack);
        A.SetCenterPointColor(0xFF3E3E);
        A.SetCenterPointBorderColor(clBlack);
        A.SetCenterPointOuterBorderColor(clBlack);
        AccentSet(A, 0xFF3E3E, wsRoundRect);
        A.SetTickMarks(tmHours);
        X.ShowAMPM = false;
        X.ShowNumbers = false;
        break;
    case wsEmerald:
        SetFont(A.AMPMFont(), L"MS Sans Serif", 0, false, 0xA00000);
        A.SetAMPMFrame(apRoundRect);
        A.SetBorderColor(0x3AE800);
        A.SetBackgroundColor(0x3AE800);
        A.SetBackgroundColorTo(clBlack);
        A.SetBackgroundGradient(wgDiagonalForward);
        A.SetCenterPointBorderColor(0x40FF00);
        A.SetCenterPointColor(0x38E100);
        A.SetCenterPointSize(16);
        SetFont(A.HourFont(), L"MS Sans Serif", 0, false, 0x3AE800);
        HourHand(A, 0x40FF00);
        A.SetMinutePointer(0x40FF00);
        A.SetMinutePointerShadow(kBtnShadow);
        A.SetShape(wsRect);
        A.SetPointerStyle(psPointer);
        A.SetAMPMColor(clNone);
        A.SetCenterPointOuterBorderColor(clBlack);
        A.SetHourMarkStyle(hmsQuartDblLine);
        A.SetHourColor(0x3AE800);
        A.SetSecondPointer(0x00FFFF);
        A.SetTickMarks(tmHours);
        X.ShowAMPM = false;
        X.ShowNumbers = false;
        break;
    case wsBlueStar:
        SetFont(A.AMPMFont(), L"MS Sans Serif", 10, false, 0xA00000);
        A.SetAMPMBorderColor(clNone);
        A.SetAMPMFrame(apRoundRect);
        A.SetBorderColor(0xFFD5D5);
        A.SetBackgroundColor(0xFFD5D5);
        A.SetBackgroundColorTo(0xA00000);
        A.SetBackgroundGradient(wgRadial);
        SetFont(A.HourFont(), L"MS Sans Serif", 8, false, 0xFFD5D5);
        HourHand(A, 0xA00000);
        A.SetMinutePointer(0xA00000);
        A.SetMinutePointerShadow(kBtnShadow);
        A.SetShape(wsRoundRect);
        A.SetPointerStyle(psPointer);
        A.SetAMPMColor(clNone);
        X.ShowAMPM = true;
        X.ShowNumbers = true;
        break;
    case wsFuchsia:
        SetFont(A.AMPMFont(), L"MS Sans Serif", 10, false, kWindowText);
        A.SetAMPMFrame(apRoundRect);
        A.SetBorderColor(0xFFD0FF);
        A.SetBackgroundColor(clBlack);
        A.SetBackgroundColorTo(clBlack);
        A.SetCenterPointBorderColor(0xDD68DD);
        AccentSet(A, 0xFFD0FF, wsRect);
        A.SetSecondPointer(0xDD68DD);
        A.SetTickMarks(tmQuartHours);
        X.ShowAMPM = false;
        X.ShowNumbers = false;
        break;
    case wsBlack:
        PlainAMPM(A);
        A.SetBackgroundColor(0x202020);
        A.SetBackgroundColorTo(clNone);
        A.SetBorderColor(clBlack);
        A.SetCenterPointBorderColor(clWhite);
        A.SetCenterPointOuterBorderColor(clWhite);
        A.SetCenterPointColor(clWhite);
        A.SetHourColor(0x585858);
        SetFont(A.HourFont(), L"Century Gothic", 11, false, clWhite);
        HourHand(A, 0xFFFFFF);
        A.SetMinuteColor(0x585858);
        A.SetMinutePointer(clWhite);
        A.SetMinutePointerShadow(kBtnShadow);
        A.SetMinuteMarkLength(4);
        X.ShowAMPM = false;
        X.ShowNumbers = true;
        break;
    case wsBlackWhite:
        A.SetBackgroundColor(clWhite);
        A.SetBackgroundColorTo(clNone);
        A.SetBorderColor(clBlack);
        A.SetBorderWidth(8);
        A.SetCenterPointBorderColor(clBlack);
        A.SetCenterPointOuterBorderColor(clBlack);
        A.SetCenterPointColor(clBlack);
        A.SetCenterPointSize(8);
        A.SetHourColor(0x585858);
        SetFont(A.HourFont(), L"Century Gothic", 14, true, clBlack);
        HourHand(A, 0x000000);
        A.SetMinutePointer(clBlack);
        A.SetMinutePointerShadow(kBtnShadow);
        A.SetMinuteMarkLength(4);
        A.SetSecondPointer(0x000080);
        A.SetPointerStyle(psPointer);
        A.SetTickMarks(tmQuartHours);
        X.ShowAMPM = false;
        X.ShowNumbers = true;
        break;
    case wsGray:
        A.AMPMFont()->SetName(L"MS Sans Serif");
        A.AMPMFont()->SetSize(10);
        A.SetBackgroundColor(0xD1D1D1);
        A.SetBackgroundColorTo(0x6C6C6C);
        A.SetBackgroundGradient(wgRadial);
        A.SetBorderColor(0x454545);
        A.SetCenterPointBorderColor(0x454545);
        A.SetCenterPointColor(clBlack);
        A.SetCenterPointOuterBorderColor(clNone);
        A.SetHourColor(clBlack);
        SetFont(A.HourFont(), L"Comic Sans MS", 8, false, clNone);
        A.SetHourPointer(0x4E4E4E);
        A.SetHourPointerShadow(clNone);
        A.SetHourPointerSize(1);
        A.SetMinuteColor(0x808080);
        A.SetMinutePointer(0x4E4E4E);
        A.SetMinutePointerShadow(clNone);
        A.SetMinutePointerSize(1);
        A.SetSecondPointer(0x0000FF);
        X.ShowAMPM = true;
        X.ShowNumbers = true;
        break;
    case wsSuperNova:
        A.SetBackgroundColorTo(0xD1D3D3);
        A.SetBorderColor(clNone);
        A.SetCenterPointOuterBorderColor(clBlack);
        A.SetCenterPointSize(10);
        A.SetHourMarkLength(Byte(std::clamp<Integer>(Integer(Round(side / 4.5)), 0, 255)));
        A.SetMinuteMarkLength(Byte(std::clamp<Integer>(side / 3, 0, 255)));
        A.SetHourPointer(clBlack);
        A.SetHourPointerShadow(kBtnShadow);
        A.SetMinuteColor(0x808080);
        A.SetMinutePointer(clBlack);
        X.ShowAMPM = false;
        X.ShowNumbers = false;
        break;
    case wsSports:
        A.SetBackgroundColor(clBlack);
        A.SetBackgroundColorTo(clNone);
        A.SetBorderColor(clBlack);
        A.SetBorderWidth(1);
        A.SetCenterPointBorderColor(0xFF0000);
        A.SetCenterPointOuterBorderColor(clBlack);
        A.SetCenterPointColor(0x191919);
        A.SetCenterPointSize(Byte(std::clamp<Integer>(Integer(Round(side / 3.6)), 0, 255)));
        SmoothSet(A, 0x0000FF, clNone, 0x00FFFF, 0x188BFE);
        X.ShowAMPM = false;
        X.ShowNumbers = true;
        break;
    case wsSmooth:
        A.SetBackgroundColor(clWhite);
        A.SetBackgroundColorTo(0xABB0B1);
        A.SetBorderColor(0x585858);
        A.SetBorderWidth(1);
        A.SetCenterPointBorderColor(clBlack);
        A.SetCenterPointOuterBorderColor(0x4A4A4A);
        A.SetCenterPointColor(clWhite);
        A.SetCenterPointSize(6);
        SmoothSet(A, 0x4A4A4A, 0xB2B2B2, 0x4A4A4A, 0x4A4A4A);
        X.ShowAMPM = false;
        X.ShowNumbers = true;
        break;
    case wsCustom: break;
    }
}
