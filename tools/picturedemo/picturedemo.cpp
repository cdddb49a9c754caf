// The control library's pictures and GDI+ text in one window, for looking at
// them on a real desktop (or a virtual X server). Prints "READY left top
// width height" (the client area on the screen) once shown; runs until
// closed or its time is up.
//
//   picturedemo [--seconds N]
//
// Client area 560 x 300 on light grey, four panels of 130 x 130 at y 10
// (x 10, 150, 290, 430):
//   1. a TGDIPPicture of a PNG (red, green, blue, white quadrants) unturned;
//   2. the same picture with Angle 30;
//   3. the same with Angle 90 (red now top right);
//   4. a BMP of magenta with a blue square drawn with TransparentBitmap over
//      a yellow panel (the magenta keyed out);
// below them (y 160): a TVodImage of a JPEG of the quadrants at (10, 160)
// 130 x 130, then GDI+ text by TGPGraphics::DrawText at x 150: three lines
// in Arial 10, 14 and 20 points, each on the white background its
// measurement gives.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "controls/foundation/GDIPicture.h"
#include "controls/foundation/LibraryStartup.h"
#include "controls/foundation/VodGDIP.h"
#include "controls/foundation/VodImage.h"
#include "platform/base/Streams.h"
#include "platform/base/SysUtils.h"
#include "platform/gfx/Codecs.h"
#include "platform/ui/Forms.h"
#include "platform/ui/WindowManager.h"
#include "tools/DemoLoop.h"

namespace {

uint32_t Quadrant(int x, int y, int n)
{
    const bool left = x < n / 2, top = y < n / 2;
    if (top) return left ? 0xFFFF0000u : 0xFF00FF00u;
    return left ? 0xFF0000FFu : 0xFFFFFFFFu;
}

TImageData Quadrants(int n)
{
    TImageData img(n, n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) img.Pixel(x, y) = Quadrant(x, y, n);
    return img;
}

template <class G>
void LoadBytes(G& graphic, const TBytes& bytes)
{
    TBytesStream s(bytes);
    graphic.LoadFromStream(&s);
}

class TPictureView : public TCustomControl {
public:
    explicit TPictureView(TWinControl* parent) : TCustomControl(parent)
    {
        SetParent(parent);
        SetBounds(0, 0, 560, 300);
        LoadBytes(FPng, EncodePng(Quadrants(64)));
        LoadBytes(FTurned30, EncodePng(Quadrants(64)));
        FTurned30.SetAngle(30);
        LoadBytes(FTurned90, EncodePng(Quadrants(64)));
        FTurned90.SetAngle(90);
        TImageData keyed(16, 16);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                keyed.Pixel(x, y) = (x >= 4 && x < 12 && y >= 4 && y < 12) ? 0xFF0000FFu : 0xFFFF00FFu;
        LoadBytes(FKeyed, EncodeBmp(keyed));
        LoadBytes(FImage, EncodeJpeg(Quadrants(64), 95));
    }

protected:
    void Paint() override
    {
        TCanvas* c = Canvas();
        c->Brush()->SetColor(TColor(RGB(220, 220, 220)));
        c->FillRect(ClientRect());
        c->Brush()->SetColor(clYellow);
        c->FillRect(TRect{430, 10, 560, 140});
        FPng.Draw(c, TRect{10, 10, 74, 74});
        FPng.Draw(c, TRect{10, 76, 140, 140});
        FTurned30.Draw(c, TRect{183, 43, 247, 107});
        FTurned90.Draw(c, TRect{323, 43, 387, 107});
        FKeyed.Draw(c, TRect{440, 20, 550, 130});
        FImage.Draw(c, TRect{10, 160, 140, 290});

        std::unique_ptr<TGPGraphics> g(new TGPGraphics(c->Handle()));
        g->SetTextRenderingHint(TextRenderingHintAntiAlias);
        TFont font;
        font.SetName(L"Arial");
        font.SetColor(TColor(RGB(0, 0, 128)));
        int y = 165;
        for (int size : {10, 14, 20}) {
            font.SetSize(size);
            const String text = L"GDI+ text, " + IntToStr(size) + L" points ";
            TRect r{150, y, 150, y};
            g->DrawText(text, int(text.size()), r, &font, DT_CALCRECT, clWhite);
            TRect at{150, y, 550, y + 40};
            g->DrawText(text, int(text.size()), at, &font, 0, clNone);
            y = r.Bottom + 10;
        }
    }

private:
    TGDIPPicture FPng, FTurned30, FTurned90, FKeyed;
    TVodImage FImage;
};

class TDemoForm : public TForm {
public:
    explicit TDemoForm(TComponent* owner) : TForm(owner)
    {
        SetCaption(L"Pictures and GDI+ text");
        SetBorderStyle(bsSingle);
        SetLeft(40);
        SetTop(40);
        SetClientWidth(560);
        SetClientHeight(300);
        new TPictureView(this);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    if (!StartDemoBackend("picturedemo")) return 2;
    InitForms();
    VodLibraryStartup();
    TDemoForm* form = nullptr;
    Application->CreateForm(form);
    form->Show();
    RunDemoLoop(form, DemoSeconds(argc, argv));
    DoneForms();
    VodLibraryShutdown();
    return 0;
}
