#include <gtest/gtest.h>

#include "platform/base/Exceptions.h"
#include "platform/base/Streams.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Colors.h"

TEST(Colors, SystemColoursResolveFromOneScheme)
{
    EXPECT_EQ(ColorToRGB(clRed), clRed);
    EXPECT_EQ(ColorToRGB(clNone), clNone);   // only system colours change
    EXPECT_EQ(ColorToRGB(clBtnFace), Integer(GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(ColorToRGB(clInfoBk), Integer(RGB(255, 255, 225)));
    EXPECT_EQ(clInfoBk, TColorOf(0xFF000018u));
    EXPECT_EQ(GetSysColor(99), 0u);
    int e = COLOR_BTNFACE;
    COLORREF v = RGB(1, 2, 3);
    uint32_t gen = SysColorGeneration();
    SetSysColors(1, &e, &v);
    EXPECT_EQ(ColorToRGB(clBtnFace), Integer(v));
    EXPECT_NE(SysColorGeneration(), gen);
    ResetSysColors();
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(240, 240, 240));
    EXPECT_EQ(GetRValue(RGB(10, 20, 30)), 10);
    EXPECT_EQ(GetBValue(RGB(10, 20, 30)), 30);
}

TEST(Colors, NamesAndTexts)
{
    EXPECT_EQ(StringToColor(L"clbtnface"), clBtnFace);
    EXPECT_EQ(StringToColor(L"$00FF8000"), TColor(0x00FF8000));
    EXPECT_EQ(StringToColor(L"255"), clRed);
    EXPECT_EQ(ColorToString(cl3DDkShadow), L"cl3DDkShadow");
    EXPECT_EQ(ColorToString(TColor(0x123456)), L"$00123456");
    EXPECT_THROW(StringToColor(L"clNoSuch"), EConvertError);
    EXPECT_THROW(StringToColor(L"$"), EConvertError);
}

namespace {
class TFontCarrier : public TComponent {
    VEL_CLASS(TFontCarrier, TComponent)
public:
    explicit TFontCarrier(TComponent* owner) : TComponent(owner) {}
    TFont Font;
    static void Publish(TPublisher<TFontCarrier>& p)
    {
        p.Object(L"Font", [](TFontCarrier* c) { return &c->Font; });
    }
};
}  // namespace

TEST(Colors, NamedColoursStreamByNameAndReadBack)
{
    TFontCarrier out(nullptr);
    out.Font.SetColor(clRed);
    TMemoryStream m;
    m.WriteComponent(&out);
    std::string bytes(static_cast<const char*>(m.Memory()), size_t(m.Size()));
    EXPECT_NE(bytes.find("clRed"), std::string::npos);

    TFontCarrier in(nullptr);
    m.SetPosition(0);
    m.ReadComponent(&in);
    EXPECT_EQ(in.Font.Color(), clRed);

    out.Font.SetColor(TColor(0x123456));  // no name: written as a number
    TMemoryStream n;
    n.WriteComponent(&out);
    n.SetPosition(0);
    n.ReadComponent(&in);
    EXPECT_EQ(in.Font.Color(), TColor(0x123456));
}
