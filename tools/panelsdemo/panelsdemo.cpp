// The panels on one window: captions at the top, left and right in several
// shades, drawn and themed buttons, a markup caption with a link, a markup
// body with a link and an image, a status bar with its grip, a collapsed
// panel, and a two-column panel group styled by a preset. Once painted and
// shown it prints the points the smoke test checks and "READY left top width
// height", and runs until closed or its time is up.
//
//   panelsdemo [--seconds N]
#include <cstdio>

#include "controls/chrome/VodPanel.h"
#include "controls/foundation/LibraryStartup.h"
#include "controls/foundation/VodUtil.h"
#include "platform/gfx/ImageList.h"
#include "platform/ui/Forms.h"
#include "tools/DemoLoop.h"

namespace {

class TDemoForm : public TForm {
public:
    explicit TDemoForm(TComponent* owner) : TForm(owner)
    {
        SetCaption(L"Panels");
        SetBorderStyle(bsSingle);
        SetLeft(8);
        SetTop(8);
        SetClientWidth(980);
        SetClientHeight(600);
        SetColor(clWhite);
        FImages = new TImageList(this);
        FImages->SetWidth(16);
        FImages->SetHeight(16);
        TBitmap b(16, 16);
        FillRectWithColor(b.Canvas(), Rect(0, 0, 16, 16), TColor(0x3050D0));
        FillRectWithColor(b.Canvas(), Rect(4, 4, 12, 12), clWhite);
        FImages->Add(&b, nullptr);

        // 1. Top caption, gradient, markup caption with a link, both drawn
        // buttons, a markup body with a link and an image, a status bar and
        // the size grip.
        TVodPanel* p = Panel(10, 10, 310, 220);
        p->SetColor(TColor(0xFFF8F0));
        p->SetColorTo(TColor(0xF0D8C0));
        p->SetBorderColor(TColor(0x808080));
        p->SetBorderWidth(1);
        p->SetBorderShadow(true);
        p->Caption()->SetVisible(true);
        p->Caption()->SetColor(TColor(0x703000));
        p->Caption()->SetColorTo(TColor(0xE0A060));
        p->Caption()->SetText(L"<b>Markup</b> caption with <a href=\"http://example.org\">a link</a>");
        p->Caption()->SetCloseButton(true);
        p->Caption()->SetMinMaxButton(true);
        p->SetImages(FImages);
        p->SetText(L"<font size=\"3\"><b>Body</b> in markup</font><br>"
                   L"An image <img src=\"idx:0\"> in the line, and "
                   L"<a href=\"http://example.org/docs\">a link</a> to follow.<br><br>"
                   L"<i>Shadow</i> and <font color=\"clred\">colours</font>.");
        p->StatusBar()->SetVisible(true);
        p->StatusBar()->SetText(L"Status: <b>ready</b>");
        p->StatusBar()->SetColor(TColor(0xE0E0E0));
        p->StatusBar()->SetBorderStyle(bsSingle);
        p->StatusBar()->SetBorderColor(TColor(0xA0A0A0));
        p->SetCanSize(true);

        // 2. Left caption with a bump shade and rotated text.
        p = Panel(340, 10, 200, 220);
        p->SetColor(TColor(0xF0FFF0));
        p->SetBevelOuter(bvNone);
        p->SetBorderColor(TColor(0x40A040));
        p->SetBorderWidth(1);
        p->Caption()->SetPosition(cpLeft);
        p->Caption()->SetHeight(24);
        p->Caption()->SetColor(TColor(0x30A030));
        p->Caption()->SetShadeType(stVBump);
        p->Caption()->SetShadeLight(255);
        p->Caption()->SetText(L"Left caption");
        p->Caption()->SetFont(Font());
        p->Caption()->Font()->SetColor(clWhite);
        p->Caption()->SetVisible(true);
        p->Caption()->SetMinMaxButton(true);
        p->SetText(L"Caption at the <b>left</b>, shaded <i>vertical bump</i>, its text reading upwards.");

        // 3. Right caption with themed buttons.
        p = Panel(560, 10, 200, 220);
        p->SetColor(TColor(0xE8E8E8));
        p->Caption()->SetPosition(cpRight);
        p->Caption()->SetHeight(24);
        p->Caption()->SetShadeType(stXPCaption);
        p->Caption()->SetText(L"Right caption");
        p->Caption()->SetCloseButton(true);
        p->Caption()->SetMinMaxButton(true);
        p->Caption()->SetVisible(true);
        p->SetTextVAlign(tvaCenter);
        p->SetText(L"<p align=\"center\">Themed caption and buttons,<br>text centred.</p>");

        // 4. Shades side by side, one collapsed.
        const TShadeType shades[] = {stNoise, stDiagShade, stHShade, stSoftBump, stLMetal, stIRadial};
        const wchar_t* names[] = {L"Noise", L"Diagonal", L"Horizontal", L"Soft bump", L"Metal", L"Radial"};
        for (int i = 0; i < 6; ++i) {
            p = Panel(10 + (i % 3) * 255, 250 + (i / 3) * 90, 245, 80);
            p->SetColor(TColor(0xF8F8F8));
            p->Caption()->SetColor(TColor(0xC07030));
            p->Caption()->SetShadeType(shades[i]);
            p->Caption()->SetShadeLight(255);
            p->Caption()->SetText(names[i]);
            p->Caption()->SetVisible(true);
            p->Caption()->SetMinMaxButton(true);
            p->Caption()->SetShape(i == 4 ? TCaptionShape::csRounded : TCaptionShape::csRectangle);
            p->SetText(i == 5 ? L"Collapsed to its caption." : L"A panel with a shaded caption.");
            p->SetCollapsDelay(0);
            if (i == 5) p->SetCollaps(true);
        }

        // 5. A two-column group, styled by a preset.
        FStyler = new TVodPanelStyler(this);
        FStyler->SetStyle(psOffice2007Luna);
        auto* g = new TVodPanelGroup(this);
        g->SetParent(this);
        g->SetBounds(780, 10, 190, 580);
        g->SetColor(TColor(0xF4F4F4));
        g->SetColumns(2);
        g->DefaultPanel()->Assign(FStyler->Settings());
        g->DefaultPanel()->Caption()->SetVisible(true);
        g->DefaultPanel()->SetHeight(90);
        for (int i = 0; i < 6; ++i) {
            TCustomVodPanel* gp = g->AddPanel();
            gp->SetHeight(60 + 20 * (i % 3));
            gp->Caption()->SetText(L"Item " + IntToStr(i + 1));
            gp->SetText(L"Group panel");
            gp->SetStyler(FStyler);
        }
        g->ArrangePanels();

        // 6. A plain panel with a solid caption for exact colours.
        p = Panel(10, 440, 500, 150);
        p->SetColor(TColor(0xD0F0FF));
        p->SetBevelOuter(bvNone);
        p->SetBorderColor(clNone);
        p->Caption()->SetColor(TColor(0x800000));
        p->Caption()->Font()->SetColor(clWhite);
        p->Caption()->SetText(L"Solid caption");
        p->Caption()->SetVisible(true);
        p->Caption()->SetCloseButton(true);
        p->SetBackgroundPosition(TBackGroundPosition::bpBottomRight);
        p->SetText(L"Solid body <b>D0F0FF</b>, solid caption <b>800000</b>.");
    }

private:
    TVodPanel* Panel(Integer x, Integer y, Integer w, Integer h)
    {
        auto* p = new TVodPanel(this);
        p->SetParent(this);
        p->SetBounds(x, y, w, h);
        return p;
    }
    TImageList* FImages = nullptr;
    TVodPanelStyler* FStyler = nullptr;
};

}  // namespace

int main(int argc, char** argv)
{
    if (!StartDemoBackend("panelsdemo")) return 2;
    VodLibraryStartup();
    InitForms();
    TDemoForm* form = nullptr;
    Application->CreateForm(form);
    form->Show();
    RunDemoLoop(form, DemoSeconds(argc, argv));
    DoneForms();
    VodLibraryShutdown();
    return 0;
}
