// The style vocabulary: fixed ordinals and GUIDs, the interfaces reached
// through the component query, and the small shared routines.
#include <gtest/gtest.h>

#include "controls/foundation/VodStyleIF.h"
#include "platform/os/Modules.h"

namespace {

// A styler as the library's controls implement it: both SetComponentStyle
// entries reach one method.
class TTestStyler : public TComponent,
                    public IQelStyleEx,
                    public IQelTones,
                    public virtual TComponentInterfaces {
public:
    using TComponent::TComponent;
    void SetComponentStyle(TQelStyle AStyle) override { SetComponentStyleAndAppColor(AStyle, clNone); }
    void SetComponentStyleAndAppColor(TQelStyle AStyle, TColor AppColor) override
    {
        Style = AStyle;
        App = AppColor;
        ++Calls;
    }
    void SetColorTones(TColorTones ATones) override { Tones = ATones; }

    TQelStyle Style = tsOffice2003Blue;
    TColor App = 0;
    int Calls = 0;
    TColorTones Tones;
};

}  // namespace

TEST(VodStyleIF, OrdinalsAndGuidsAreFixed)
{
    static_assert(sizeof(TQelStyle) == 1 && sizeof(TOfficeTheme) == 1);
    EXPECT_EQ(int(tsOffice2003Blue), 0);
    EXPECT_EQ(int(tsWhidbey), 7);
    EXPECT_EQ(int(tsCustom), 8);
    EXPECT_EQ(int(tsOffice2007Silver), 9);
    EXPECT_EQ(int(tsTerminal), 12);
    EXPECT_EQ(int(tsWindows8), 16);
    EXPECT_EQ(int(tsWindows10), 20);
    EXPECT_EQ(int(tsOffice2016Black), 23);
    EXPECT_EQ(int(ot2007Blue), 4);
    EXPECT_EQ(int(ot2013White), 10);
    EXPECT_EQ(int(ot2016Black), 15);
    EXPECT_EQ(int(otUnknown), 16);
    EXPECT_EQ(GUIDToString(IID_IQelStyle), L"{11AC2DDC-C087-4298-AB6E-EA1B5017511B}");
    EXPECT_EQ(GUIDToString(IID_IQelStyleEx), L"{037BA87F-7CBD-4FDD-854E-2B3F0BCC06AE}");
    EXPECT_EQ(GUIDToString(IID_IQelTones), L"{1F492643-6699-4F25-8B34-3233FA735036}");
}

TEST(VodStyleIF, InterfacesAreFoundOnComponentsAndBothStyleEntriesAgree)
{
    TComponent owner(nullptr);
    auto* styler = new TTestStyler(&owner);
    TComponent* asComponent = styler;

    IQelStyle* style = nullptr;
    IQelStyleEx* styleEx = nullptr;
    IQelTones* tones = nullptr;
    ASSERT_TRUE(Supports(asComponent, IID_IQelStyle, style));
    ASSERT_TRUE(Supports(asComponent, IID_IQelStyleEx, styleEx));
    ASSERT_TRUE(Supports(asComponent, IID_IQelTones, tones));
    EXPECT_FALSE(Supports(&owner, IID_IQelStyle));

    styler->App = 0x123456;
    style->SetComponentStyle(tsOffice2010Black);   // the inherited entry
    EXPECT_EQ(styler->Style, tsOffice2010Black);
    EXPECT_EQ(styler->App, clNone);
    styler->App = 0x123456;
    styleEx->SetComponentStyle(tsWindows7);        // the interface's own entry
    EXPECT_EQ(styler->Style, tsWindows7);
    EXPECT_EQ(styler->App, clNone);
    styleEx->SetComponentStyleAndAppColor(tsCustom, clRed);
    EXPECT_EQ(styler->Style, tsCustom);
    EXPECT_EQ(styler->App, clRed);
    EXPECT_EQ(styler->Calls, 3);

    TColorTones t = EmptyColorTones();
    t.Hover.BrushColor = clYellow;
    tones->SetColorTones(t);
    EXPECT_EQ(styler->Tones, t);

    // Dropping every interface reference leaves the component to its owner.
    style->Release();
    tones->Release();
    styleEx->Release();
    EXPECT_EQ(owner.ComponentCount(), 1);
}

TEST(VodStyleIF, DarkenColor)
{
    struct Case {
        TColor Color;
        Integer Percent;
        TColor Expected;
    } cases[] = {
        {RGB(255, 255, 255), 20, RGB(204, 204, 204)},
        {RGB(200, 100, 0), -60, RGB(255, 160, 0)},
        {RGB(12, 34, 56), 0, RGB(12, 34, 56)},
        {RGB(1, 3, 5), 50, RGB(0, 2, 2)},        // 0.5, 1.5, 2.5: halves to even
        {RGB(7, 9, 11), 50, RGB(4, 4, 6)},       // 3.5, 4.5, 5.5
        {RGB(10, 20, 30), 100, RGB(0, 0, 0)},
        {RGB(250, 0, 128), -100, RGB(255, 0, 255)},
        {TColor(0x12345678) & 0x00FFFFFF, 0, 0x00345678},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DarkenColor(c.Color, c.Percent), c.Expected) << std::hex << c.Color << " " << std::dec << c.Percent;

    // A system colour is resolved at the moment of the call.
    const int element = COLOR_BTNFACE;
    COLORREF value = RGB(100, 150, 200);
    SetSysColors(1, &element, &value);
    EXPECT_EQ(DarkenColor(clBtnFace, 0), RGB(100, 150, 200));
    EXPECT_EQ(DarkenColor(clBtnFace, 10), RGB(90, 135, 180));
    value = RGB(40, 40, 40);
    SetSysColors(1, &element, &value);
    EXPECT_EQ(DarkenColor(clBtnFace, 50), RGB(20, 20, 20));
    ResetSysColors();
}

TEST(VodStyleIF, EmptyTonesAndVersionProbe)
{
    TColorTones t = EmptyColorTones();
    for (const TColorTone& tone : {t.Background, t.Foreground, t.Selected, t.Hover, t.Disabled}) {
        EXPECT_EQ(tone.BrushColor, clNone);
        EXPECT_EQ(tone.BorderColor, clNone);
        EXPECT_EQ(tone.TextColor, clNone);
    }

    EXPECT_TRUE(IsVistaOrLater());
    EXPECT_EQ(DefaultFontName(), L"Segoe UI");
    // An older system: kernel32 without the Vista export.
    RegisterModuleExport(L"kernel32", "GetLocaleInfoEx", nullptr);
    EXPECT_FALSE(IsVistaOrLater());
    EXPECT_EQ(DefaultFontName(), L"Tahoma");
    RegisterModuleExport(L"kernel32", "GetLocaleInfoEx", reinterpret_cast<void*>(&GetLocaleInfoEx));
    SetModuleHidden(L"KERNEL32.DLL", true);
    EXPECT_FALSE(IsVistaOrLater());
    SetModuleHidden(L"kernel32", false);
    EXPECT_TRUE(IsVistaOrLater());
}
