// A small program on the window system for the desktop smoke test: a form
// with a few painted child controls. Once its window is painted and shown
// it prints "READY left top width height" (the client area on the screen)
// and keeps running until it is closed or its time is up.
//
//   uidemo [--seconds N]
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/ui/Forms.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/BackendChoice.h"
#include "platform/ui/backend/Sdl.h"

namespace {

// A control that fills itself with one colour.
class TSwatch : public TCustomControl {
public:
    TSwatch(TComponent* owner, TWinControl* parent, TRect bounds, TColor fill) : TCustomControl(owner), FFill(fill)
    {
        SetParent(parent);
        SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    }

protected:
    void PaintWindow(HDC DC) override
    {
        TRect r = ClientRect();
        HBRUSH b = CreateSolidBrush(COLORREF(FFill));
        FillRect(DC, &r, b);
        DeleteObject(b);
    }

private:
    TColor FFill;
};

// Client area 320x200 in four colours:
//   the form itself red (0xFF0000 on screen), a green swatch at (10,10)
//   80x60, a blue one at (110,10) 80x60 holding a yellow one at (20,20)
//   40x20 of its own.
class TDemoForm : public TForm {
public:
    explicit TDemoForm(TComponent* owner) : TForm(owner)
    {
        SetCaption(L"uidemo");
        SetBorderStyle(bsSingle);
        SetLeft(120);
        SetTop(90);
        SetClientWidth(320);
        SetClientHeight(200);
        SetColor(TColor(RGB(255, 0, 0)));
        new TSwatch(this, this, Bounds(10, 10, 80, 60), TColor(RGB(0, 255, 0)));
        auto* blue = new TSwatch(this, this, Bounds(110, 10, 80, 60), TColor(RGB(0, 0, 255)));
        new TSwatch(this, blue, Bounds(20, 20, 40, 20), TColor(RGB(255, 255, 0)));
    }
};

}  // namespace

int main(int argc, char** argv)
{
    int seconds = 60;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) seconds = std::atoi(argv[++i]);

    if (!InstallDefaultBackend()) {
        std::fprintf(stderr, "uidemo: no display to show windows on\n");
        return 2;
    }
    auto* sdl = static_cast<TSdlBackend*>(&Backend());
    InitForms();
    TDemoForm* form = nullptr;
    Application->CreateForm(form);
    form->Show();

    DWORD start = GetTickCount();
    bool announced = false;
    while (!Application->Terminated() && IsWindow(form->Handle())) {
        Application->ProcessMessages();
        if (!announced && sdl->SdlWindowOf(form->Handle())) {
            WmUpdateAllWindows();
            sdl->Flush();
            TPoint o = form->ClientOrigin();
            std::printf("READY %d %d %d %d\n", o.X, o.Y, form->ClientWidth(), form->ClientHeight());
            std::fflush(stdout);
            announced = true;
        }
        sdl->PumpEvents(20);
        if (int32_t(GetTickCount() - start) > seconds * 1000) break;
    }
    DoneForms();
    return 0;
}
