#include <gtest/gtest.h>

#include "platform/ui/ExtCtrls.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Headless.h"

namespace {

class ExtCtrlsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Drv = std::make_unique<THeadlessDriver>();
        InitForms();
    }
    void TearDown() override
    {
        DoneForms();
        Drv.reset();
    }
    TForm* NewForm()
    {
        auto* f = new TForm(Application);
        f->Init();
        f->SetBorderStyle(bsNone);
        f->SetBounds(100, 100, 400, 300);
        return f;
    }
    template <class T>
    T* Put(TWinControl* parent, int x, int y, int w, int h)
    {
        auto* c = new T(parent);
        c->SetParent(parent);
        c->SetBounds(x, y, w, h);
        return c;
    }
    std::unique_ptr<THeadlessDriver> Drv;
};

uint32_t PixelAt(HWND h, int x, int y)
{
    std::vector<uint32_t> px;
    int w = 0, hh = 0;
    WmCaptureWindow(h, px, w, hh);
    return (x >= 0 && y >= 0 && x < w && y < hh) ? px[size_t(y) * size_t(w) + size_t(x)] & 0xFFFFFF : 0xDEADBEEF;
}

uint32_t Rgb(TColor c)
{
    COLORREF v = COLORREF(ColorToRGB(c));
    return (uint32_t(GetRValue(v)) << 16) | (uint32_t(GetGValue(v)) << 8) | GetBValue(v);
}

void Fill(TBitmap& b, int w, int h, TColor c)
{
    b.SetSize(w, h);
    b.Canvas()->Brush()->SetColor(c);
    b.Canvas()->FillRect(Bounds(0, 0, w, h));
}

}  // namespace

TEST_F(ExtCtrlsTest, PanelBevelsAndBorderPaintInTheirColours)
{
    TForm* f = NewForm();
    auto* p = Put<TPanel>(f, 10, 10, 100, 60);
    p->SetParentBackground(false);
    p->SetColor(RGB(0, 128, 0));
    p->SetBevelWidth(2);
    p->SetBorderWidth(3);
    p->SetBevelInner(bvLowered);
    f->Show();
    HWND h = p->Handle();
    UpdateWindow(f->Handle());
    struct Probe {
        int x, y;
        TColor c;
        const char* what;
    };
    const Probe probes[] = {
        {0, 0, clBtnHighlight, "outer raised: light top left"},
        {1, 30, clBtnHighlight, "outer bevel is two wide"},
        {99, 59, clBtnShadow, "outer raised: dark bottom right"},
        {2, 30, RGB(0, 128, 0), "the border band"},
        {4, 30, RGB(0, 128, 0), "the border band is three wide"},
        {6, 30, clBtnShadow, "inner lowered: dark left"},
        {93, 30, clBtnHighlight, "inner lowered: light right"},
        {50, 30, RGB(0, 128, 0), "the face"},
    };
    for (const Probe& pr : probes) EXPECT_EQ(PixelAt(h, pr.x, pr.y), Rgb(pr.c)) << pr.what;

    TRect client;
    p->AdjustClientRect(client);
    EXPECT_EQ(client, Rect(7, 7, 93, 53)) << "children align inside the frame";
    auto* inner = new TPanel(f);
    inner->SetParent(p);
    inner->SetAlign(alClient);
    EXPECT_EQ(inner->BoundsRect(), Rect(7, 7, 93, 53));
}

TEST_F(ExtCtrlsTest, ImagePlacesThePictureByStretchCenterAndProportional)
{
    TForm* f = NewForm();
    auto* img = Put<TImage>(f, 0, 0, 200, 200);
    struct Case {
        int pw, ph;
        bool stretch, proportional, center;
        TRect dest;
    };
    const Case cases[] = {
        {100, 50, false, false, false, Rect(0, 0, 100, 50)},
        {100, 50, false, false, true, Rect(50, 75, 150, 125)},
        {100, 50, true, false, false, Rect(0, 0, 200, 200)},
        {100, 50, true, true, false, Rect(0, 0, 200, 100)},
        {100, 50, true, true, true, Rect(0, 50, 200, 150)},
        {50, 100, true, true, true, Rect(50, 0, 150, 200)},
        {100, 50, false, true, false, Rect(0, 0, 100, 50)},    // small pictures stay
        {400, 100, false, true, false, Rect(0, 0, 200, 50)},   // large ones shrink
    };
    for (const Case& c : cases) {
        TBitmap b;
        Fill(b, c.pw, c.ph, clRed);
        img->Picture()->SetGraphic(&b);
        img->SetStretch(c.stretch);
        img->SetProportional(c.proportional);
        img->SetCenter(c.center);
        EXPECT_EQ(img->DestRect(), c.dest) << c.pw << "x" << c.ph << " " << c.stretch << c.proportional << c.center;
    }
}

TEST_F(ExtCtrlsTest, ImageAutoSizeAndPainting)
{
    TForm* f = NewForm();
    f->SetColor(RGB(0, 0, 255));
    auto* img = Put<TImage>(f, 10, 10, 100, 100);
    img->SetAutoSize(true);
    TBitmap b;
    Fill(b, 30, 20, TColor(RGB(255, 0, 0)));
    img->Picture()->SetGraphic(&b);
    EXPECT_EQ(img->BoundsRect(), Bounds(10, 10, 30, 20)) << "follows the picture";
    img->SetAutoSize(false);
    img->SetBounds(10, 10, 60, 40);
    img->SetStretch(true);
    f->Show();
    UpdateWindow(f->Handle());
    EXPECT_EQ(PixelAt(f->Handle(), 68, 48), 0xFF0000u) << "stretched to the far corner";
    EXPECT_EQ(PixelAt(f->Handle(), 71, 51), 0x0000FFu) << "the form around it";
}
