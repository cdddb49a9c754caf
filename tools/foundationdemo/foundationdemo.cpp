// The control library's drawing foundation on one window: stepped
// gradients, button segments, the cell shapes, the combo, push and spin
// parts in every kind and state (visual styles on and off), the progress
// painters, GDI+ text, a rotated picture, an OLE-picture image and the
// wavy underline. Once painted and shown it prints "READY left top width
// height" (the client area on the screen) and runs until closed or its
// time is up.
//
//   foundationdemo [--seconds N]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "controls/foundation/GDIPicture.h"
#include "controls/foundation/LibraryStartup.h"
#include "controls/foundation/VodGDIP.h"
#include "controls/foundation/VodImage.h"
#include "controls/foundation/VodUtil.h"
#include "platform/base/Streams.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Themes.h"
#include "platform/ui/WindowManager.h"
#include "tools/ControlsDemo.h"

namespace {

// A small picture made in code: four coloured quarters, a white disc and
// a dark bar, so rotation and scaling are easy to see.
std::unique_ptr<TBitmap> SamplePicture()
{
    auto b = std::make_unique<TBitmap>(96, 64);
    TCanvas* c = b->Canvas();
    FillRectWithColor(c, Rect(0, 0, 48, 32), TColor(RGB(220, 40, 40)));
    FillRectWithColor(c, Rect(48, 0, 96, 32), TColor(RGB(40, 160, 60)));
    FillRectWithColor(c, Rect(0, 32, 48, 64), TColor(RGB(40, 80, 210)));
    FillRectWithColor(c, Rect(48, 32, 96, 64), TColor(RGB(240, 200, 30)));
    c->Pen()->SetColor(clWhite);
    c->Brush()->SetColor(clWhite);
    c->Ellipse(34, 18, 62, 46);
    FillRectWithColor(c, Rect(8, 6, 40, 12), TColor(RGB(30, 30, 30)));
    return b;
}

template <class TImageClass>
void Encode(TBitmap* source, TMemoryStream& out)
{
    TImageClass image;
    image.Assign(source);
    image.SaveToStream(&out);
    out.SetPosition(0);
}

class TShowcase : public TCustomControl {
public:
    TShowcase(TComponent* owner, TWinControl* parent) : TCustomControl(owner)
    {
        SetParent(parent);
        SetBounds(0, 0, parent->ClientWidth(), parent->ClientHeight());
        auto sample = SamplePicture();
        TMemoryStream png, jpeg;
        Encode<TPngImage>(sample.get(), png);
        FPicture = std::make_unique<TGDIPPicture>();
        FPicture->LoadFromStream(&png);
        FRotated = std::make_unique<TGDIPPicture>();
        png.SetPosition(0);
        FRotated->LoadFromStream(&png);
        FRotated->SetAngle(30);
        Encode<TJPEGImage>(sample.get(), jpeg);
        FImage = std::make_unique<TVodImage>();
        FImage->LoadFromStream(&jpeg);
    }

protected:
    void Paint() override
    {
        TCanvas* c = Canvas();
        FillRectWithColor(c, ClientRect(), clWhite);
        PaintGradients(c);
        PaintShapes(c);
        PaintParts(c);
        PaintProgress(c);
        PaintPicturesAndText(c);
    }

private:
    void Caption(TCanvas* c, int x, int y, const String& text)
    {
        // The painters leave the canvas as they last set it (a bold or
        // rotated font included): captions set what they need.
        c->Font()->SetName(L"Tahoma");
        c->Font()->SetSize(8);
        c->Font()->SetStyle({});
        c->Font()->SetOrientation(0);
        c->Brush()->SetStyle(bsClear);
        c->Font()->SetColor(TColor(RGB(60, 60, 60)));
        c->TextOut(x, y, text);
    }

    void PaintGradients(TCanvas* c)
    {
        Caption(c, 10, 4, L"Gradients: left to right, top to bottom, mirrored backgrounds");
        DrawGradient(c, TColor(RGB(255, 255, 255)), TColor(RGB(0, 90, 200)), 128, Rect(10, 22, 160, 62), true);
        DrawGradient(c, TColor(RGB(255, 240, 200)), TColor(RGB(200, 60, 0)), 128, Rect(170, 22, 320, 62), false);
        DrawGradientBackground(c, Rect(330, 22, 480, 62), TColor(RGB(250, 250, 255)), TColor(RGB(200, 215, 240)),
                               TColor(RGB(170, 190, 230)), TColor(RGB(230, 240, 255)), true, TColor(RGB(80, 100, 160)),
                               false, true);
        DrawGradientBackground(c, Rect(490, 22, 640, 62), TColor(RGB(240, 255, 240)), TColor(RGB(150, 210, 150)),
                               TColor(RGB(120, 190, 120)), TColor(RGB(220, 250, 220)), false, TColor(RGB(40, 110, 40)),
                               true, true);

        Caption(c, 660, 4, L"Button segments: kinds 0, 1, 3, 2");
        const TColor border = TColor(RGB(90, 110, 150)), white = clWhite;
        auto segment = [&](const TRect& r, Byte kind) {
            DrawButtonSegment(c, TColor(RGB(250, 252, 255)), TColor(RGB(215, 228, 245)), TColor(RGB(195, 212, 238)),
                              TColor(RGB(225, 236, 250)), white, TColor(RGB(235, 242, 252)), border,
                              TColor(RGB(170, 185, 215)), TColor(RGB(255, 255, 255)), r, kind);
        };
        segment(Rect(660, 24, 730, 50), 0);
        segment(Rect(750, 24, 800, 50), 1);
        segment(Rect(800, 24, 850, 50), 3);
        segment(Rect(850, 24, 902, 50), 2);
    }

    void PaintShapes(TCanvas* c)
    {
        Caption(c, 10, 70, L"The 19 cell shapes (circle and squares in 30 x 22 boxes are squared)");
        for (int i = 0; i <= 18; ++i) {
            const int x = 10 + i * 40;
            DrawCellShape(c, x, 88, 30, 22, TCellShape(i), TColor(RGB(255, 190, 60)), TColor(RGB(120, 60, 0)));
        }
        c->Brush()->SetColor(clWhite);
        DrawDropTriangle(c, 780, 96, TColor(RGB(60, 60, 60)));
    }

    void PaintParts(TCanvas* c)
    {
        Caption(c, 10, 120, L"Combo, push and spin parts: normal, hot, down, disabled");
        const wchar_t* rows[] = {L"themed, styles on", L"themed, styles off", L"classic", L"flat", L"own colours"};
        const wchar_t* states[] = {L"normal", L"hot", L"down", L"disabled"};
        TColorTones tones;
        tones.Background = {TColor(RGB(230, 238, 250)), TColor(RGB(90, 110, 160)), TColor(RGB(30, 50, 100))};
        tones.Foreground = {clWhite, clBlack, clBlack};
        tones.Selected = {TColor(RGB(255, 200, 90)), TColor(RGB(200, 130, 0)), clBlack};
        tones.Hover = {TColor(RGB(255, 235, 160)), TColor(RGB(220, 170, 40)), clBlack};
        tones.Disabled = {TColor(RGB(225, 225, 225)), TColor(RGB(170, 170, 170)), TColor(RGB(150, 150, 150))};
        for (int s = 0; s < 4; ++s) Caption(c, 150 + s * 200, 138, states[s]);
        for (int row = 0; row < 5; ++row) {
            const int y = 156 + row * 30;
            Caption(c, 10, y + 4, rows[row]);
            const TPartKind kind = row <= 1 ? pkThemed : TPartKind(row - 1);
            if (row == 1) SetVisualStylesEnabled(false);
            for (int s = 0; s < 4; ++s) {
                const int x = 150 + s * 200;
                const TPartState state = TPartState(s);
                // The editors the combo and spin buttons sit in.
                c->Pen()->SetColor(TColor(RGB(160, 160, 160)));
                c->Brush()->SetColor(clWhite);
                c->Rectangle(x, y, x + 70, y + 22);
                DrawComboButton(c, Handle(), Rect(x + 1, y + 1, x + 71, y + 23), kind, state, tones, 1.0f);
                c->Font()->SetColor(clBlack);
                DrawPushButton(c, Handle(), Rect(x + 76, y, x + 136, y + 24), kind, state, tones, true, L"&Push");
                c->Brush()->SetStyle(bsSolid);
                c->Pen()->SetColor(TColor(RGB(160, 160, 160)));
                c->Brush()->SetColor(clWhite);
                c->Rectangle(x + 142, y, x + 186, y + 22);
                DrawSpinButtons(c, Handle(), Rect(x + 142, y + 1, x + 186, y + 23), kind, state, tones);
            }
            if (row == 1) SetVisualStylesEnabled(true);
        }
    }

    void PaintProgress(TCanvas* c)
    {
        Caption(c, 10, 312, L"Progress: stacked, blocks, smooth with gradient, two-colour bar, balance both ways");
        TFont font;
        font.SetName(L"Tahoma");
        font.SetSize(8);
        font.SetStyle({fsBold});
        font.SetColor(TColor(RGB(0, 60, 0)));
        TProgressLook look;
        look.Level0Color = TColor(RGB(60, 190, 60));
        look.Level0ColorTo = TColor(RGB(20, 120, 20));
        look.Level1Color = TColor(RGB(240, 200, 40));
        look.Level1ColorTo = TColor(RGB(190, 140, 0));
        look.Level2Color = TColor(RGB(230, 70, 50));
        look.Level2ColorTo = TColor(RGB(160, 20, 10));
        look.Level3Color = TColor(RGB(60, 120, 230));
        look.Level3ColorTo = TColor(RGB(20, 60, 170));
        look.Level1Perc = 70;
        look.Level2Perc = 90;
        look.BorderColor = TColor(RGB(100, 100, 100));
        look.ShowBorder = true;
        look.ShowPercentage = true;
        look.Font = &font;
        look.FontColor = clBlack;
        look.Steps = 8;
        look.BackgroundColor = clWhite;

        TProgressLook stacked = look;
        stacked.Stacked = true;
        DrawStyledProgress(c, Rect(10, 330, 230, 350), 100, stacked);
        TProgressLook blocks = look;
        DrawStyledProgress(c, Rect(10, 356, 230, 376), 63, blocks);
        TProgressLook smooth = look;
        smooth.CompletionSmooth = true;
        smooth.ShowGradient = true;
        DrawStyledProgress(c, Rect(10, 382, 230, 402), 80, smooth);

        c->Brush()->SetColor(TColor(RGB(100, 100, 100)));   // the outer frame's colour
        c->Font()->SetName(L"Tahoma");
        c->Font()->SetSize(8);
        c->Font()->SetStyle({});
        DrawSimpleProgress(c, Rect(12, 410, 228, 428), TColor(RGB(40, 90, 200)), clWhite, TColor(RGB(225, 230, 240)),
                           TColor(RGB(40, 90, 200)), 42.5, 0, 0, 0, 100, L"%.1f%%", clNone, false);
        c->Brush()->SetColor(clWhite);
        c->Font()->SetColor(clBlack);
        DrawBalanceBar(c, Rect(10, 434, 230, 454), -60, 100, true, TColor(RGB(230, 90, 80)), TColor(RGB(80, 180, 90)));
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(clWhite);
        DrawBalanceBar(c, Rect(10, 458, 230, 478), 35, 100, true, TColor(RGB(230, 90, 80)), TColor(RGB(80, 180, 90)));

        Caption(c, 250, 330, L"vertical");
        TProgressLook vertical = look;
        vertical.Vertical = true;
        vertical.CompletionSmooth = true;
        DrawStyledProgress(c, Rect(256, 348, 286, 478), 60, vertical);
        c->Font()->SetOrientation(0);

        Caption(c, 310, 330, L"pies");
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(clWhite);
        DrawProgressPie(c, Rect(310, 350, 361, 401), TColor(RGB(60, 130, 220)), 65, false);
        c->Brush()->SetColor(clWhite);
        DrawProgressPie(c, Rect(372, 350, 423, 401), TColor(RGB(230, 120, 40)), 30, false);
    }

    void PaintPicturesAndText(TCanvas* c)
    {
        Caption(c, 460, 312, L"GDI+ text, a picture upright and rotated by 30 degrees, an OLE-picture image");
        {
            TGPGraphics g(c->Handle());
            g.SetSmoothingMode(SmoothingModeAntiAlias);
            g.SetTextRenderingHint(TextRenderingHintAntiAlias);
            TGPFont font(L"Arial", 16, FontStyleBold);
            TGPLinearGradientBrush brush(TGPRectF{460, 332, 300, 30}, ComposeOpaqueARGB(0, 70, 160),
                                         ComposeOpaqueARGB(170, 0, 90), LinearGradientModeHorizontal);
            g.DrawString(L"GDI+ text, anti-aliased", -1, &font, TGPPointF{460, 332}, &brush);
            TGPSolidBrush half(ComposeARGB(110, 0, 0, 0));
            TGPFont small(L"Arial", 10, FontStyleItalic);
            g.DrawString(L"half-transparent italic", -1, &small, TGPPointF{462, 362}, &half);
        }
        c->Draw(460, 390, FPicture.get());
        c->StretchDraw(Bounds(580, 384, 96, 64), FRotated.get());
        c->StretchDraw(Bounds(720, 390, 144, 96), FImage.get());
        Caption(c, 460, 460, L"TGDIPPicture");
        Caption(c, 590, 460, L"Angle 30");
        Caption(c, 720, 490, L"TVodImage (JPEG, scaled)");

        Caption(c, 460, 520, L"Wavy underline under the marked word:");
        const String text = L"A mispeled word in a cell";
        const TRect r = Rect(460, 540, 760, 562);
        Caption(c, r.Left + 3, r.Top + 3, L"");
        c->Font()->SetColor(clBlack);
        // The text where a single-line edit at r shows it (frame and margin);
        // the zig-zag goes a text height below the characters' tops.
        c->TextOut(r.Left + 3, r.Top + 3, text);
        DrawWavyUnderline(Parent(), c, text, r, c->TextHeight(text) - 2, 2, 8);
    }

    std::unique_ptr<TGDIPPicture> FPicture, FRotated;
    std::unique_ptr<TVodImage> FImage;
};

class TDemoForm : public TForm {
public:
    explicit TDemoForm(TComponent* owner) : TForm(owner)
    {
        SetCaption(L"Drawing foundation");
        SetBorderStyle(bsSingle);
        SetLeft(8);
        SetTop(8);
        SetClientWidth(960);
        SetClientHeight(600);
        SetColor(clWhite);
        new TShowcase(this, this);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    return RunControlsDemo<TDemoForm>("foundationdemo", argc, argv);
}
