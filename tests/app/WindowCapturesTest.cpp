// The proxy and information windows, which the application never shows,
// captured on the headless backend (with the fonts the build installs) and
// compared with their reference pictures, with exact checks at known places.
#include <gtest/gtest.h>

#include "platform/gfx/Gdi.h"
#include "tests/app/MainFormFixture.h"
#include "tests/app/ScreenCompare.h"

namespace {

using appshots::Rgb;

class WindowCapturesTest : public MainFormTest {
protected:
    // The client area of a window shown and activated.
    appshots::TPixels Shoot(TForm* f)
    {
        f->Show();
        Drv->Activate(f->Handle());
        Drv->Pump();
        appshots::TPixels p;
        EXPECT_TRUE(Drv->CaptureWindow(f->Handle(), p.Px, p.Width, p.Height));
        for (uint32_t& v : p.Px) v &= 0xFFFFFF;
        // The frame around the client area is the platform's; keep the client.
        const TPoint origin = f->ClientToScreen(TPoint{0, 0});
        TRect frame;
        GetWindowRect(f->Handle(), &frame);
        return p.Crop(origin.X - frame.Left, origin.Y - frame.Top, f->ClientWidth(), f->ClientHeight());
    }
};

TEST_F(WindowCapturesTest, ProxyAndInformationWindowsMatchTheirReferences)
{
    ShowAndActivate();
    const appshots::TPixels proxy = Shoot(_proxyForm);
    ASSERT_EQ(proxy.Width, 248);
    ASSERT_EQ(proxy.Height, 136);
    const auto pc = appshots::CompareWithReference("proxy_window", proxy, 16);
    ASSERT_TRUE(pc.Found) << pc.Reference;
    EXPECT_LE(pc.Share, 0.01) << pc.Fresh;
    // The panel's face, and a disabled edit's background beside the label.
    auto rgb = [](TColor c) {
        const COLORREF v = COLORREF(ColorToRGB(c));
        return Rgb(GetRValue(v), GetGValue(v), GetBValue(v));
    };
    EXPECT_EQ(proxy.At(4, 130), rgb(clBtnFace));
    EXPECT_EQ(proxy.At(230, 18), rgb(_proxyForm->ServerVodLUEdit->DisabledColor()));
    _proxyForm->Hide();

    const appshots::TPixels info = Shoot(_InfoForm);
    ASSERT_EQ(info.Width, 521);
    ASSERT_EQ(info.Height, 152);
    const auto ic = appshots::CompareWithReference("info_window", info, 16);
    ASSERT_TRUE(ic.Found) << ic.Reference;
    EXPECT_LE(ic.Share, 0.01) << ic.Fresh;
    // Both panels in the main panel's colour once the window is activated.
    EXPECT_EQ(info.At(300, 140), Rgb(231, 151, 151));
    EXPECT_GT(info.CountIf(appshots::BlueCore, 0, 0, 90, 152), 50) << "the names in blue";
    _InfoForm->Hide();
}

}  // namespace
