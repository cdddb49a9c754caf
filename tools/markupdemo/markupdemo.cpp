// The markup controls on one window: labels (fonts, colours, a hovered link,
// lists, a rule, sub- and superscript, shadow, the error mark, rotated text,
// a gradient background, images, auto size and wrapping), static texts (one
// blinking with a focused link, one mini-scrolling), check boxes and radio
// buttons in the six looks checked, unchecked and disabled, and a box drawn
// by the grid's variant with edit, combo, check, radio and button controls.
// Once painted and shown it prints "READY left top width height" and runs
// until closed or its time is up.
//
//   markupdemo [--seconds N]
#include "controls/foundation/LibraryStartup.h"
#include "controls/foundation/VodUtil.h"
#include "controls/markup/HTMLText.h"
#include "controls/markup/HTMLabel.h"
#include "controls/markup/VurHTMLE.h"
#include "controls/markup/htmlbtns.h"
#include "platform/ui/Forms.h"
#include "platform/ui/WindowManager.h"
#include "tools/DemoLoop.h"

namespace {

// A box drawn by the grid's variant of the engine, with inline controls.
class TGridVariantBox : public TCustomControl {
public:
    TGridVariantBox(TComponent* owner, TWinControl* parent, const TRect& r) : TCustomControl(owner)
    {
        SetParent(parent);
        SetBoundsRect(r);
    }

protected:
    void Paint() override
    {
        TCanvas* c = Canvas();
        FillRectWithColor(c, ClientRect(), clWhite);
        c->Pen()->SetColor(TColor(0xC0C0C0));
        c->Brush()->SetStyle(bsClear);
        c->Rectangle(ClientRect());
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(clWhite);
        c->Font()->SetName(L"Tahoma");
        c->Font()->SetSize(9);
        c->Font()->SetColor(clBlack);
        TMarkupParams p;
        p.Canvas = c;
        p.Rect = Rect(6, 6, Width() - 6, Height() - 6);
        p.CtrlDown = true;
        p.CtrlDownID = L"b2";
        p.Text =
            L"<B>Grid variant</B> &eacute;t&eacute; &laquo;cells&raquo;<BR>"
            L"Edit <CONTROL TYPE=\"EDIT\" ID=\"e1\" VALUE=\"text\" WIDTH=\"70\"> "
            L"Combo <CONTROL TYPE=\"COMBO\" ID=\"c1\" VALUE=\"choice\" WIDTH=\"80\"><BR>"
            L"Check <CONTROL TYPE=\"CHECK\" ID=\"k1\" VALUE=\"TRUE\" WIDTH=\"20\"> "
            L"<CONTROL TYPE=\"CHECK\" ID=\"k2\" VALUE=\"FALSE\" WIDTH=\"20\"> "
            L"Radio <CONTROL TYPE=\"RADIO\" ID=\"r1\" VALUE=\"TRUE\" WIDTH=\"20\"> "
            L"<CONTROL TYPE=\"RADIO\" ID=\"r2\" VALUE=\"FALSE\" WIDTH=\"20\"><BR>"
            L"<CONTROL TYPE=\"BUTTON\" ID=\"b1\" VALUE=\"Button\" WIDTH=\"70\"> "
            L"<CONTROL TYPE=\"BUTTON\" ID=\"b2\" VALUE=\"Pressed\" WIDTH=\"70\">";
        VurHTMLE::RenderMarkup(p);
    }
};

class TDemoForm : public TForm {
public:
    explicit TDemoForm(TComponent* owner) : TForm(owner)
    {
        SetCaption(L"Markup controls");
        SetBorderStyle(bsSingle);
        SetLeft(8);
        SetTop(8);
        SetClientWidth(1000);
        SetClientHeight(640);
        SetColor(clWhite);
        Font()->SetName(L"Tahoma");
        Font()->SetSize(9);

        FImages = new TImageList(this);
        FImages->SetWidth(16);
        FImages->SetHeight(16);
        const TColor colours[] = {TColor(0x3050D0), TColor(0x30A040)};
        for (TColor c : colours) {
            TBitmap b(16, 16);
            FillRectWithColor(b.Canvas(), Rect(0, 0, 16, 16), c);
            FillRectWithColor(b.Canvas(), Rect(4, 4, 12, 12), clWhite);
            FImages->Add(&b, nullptr);
        }

        // Labels.
        Rich = Label(Rect(16, 16, 476, 136),
                     L"<FONT face=\"Verdana\" size=\"4\" color=\"#0050A0\">Markup label</FONT><BR>"
                     L"<B>bold</B>, <I>italic</I>, <U>underline</U>, <S>strike</S>, "
                     L"<FONT color=\"clred\">red</FONT>, <FONT bgcolor=\"#FFE080\">marked</FONT>, "
                     L"<SHAD>shadow</SHAD>, <E>misspelt</E>, H<SUB>2</SUB>O and x<SUP>2</SUP>.<BR>"
                     L"Links: <A href=\"http://example.org\">hovered link</A> and "
                     L"<A href=\"http://example.org/2\" title=\"tip\">another link</A>."
                     L"<HR color=\"#808080\">Images <IMG src=\"idx:0\"> <IMG src=\"idx:1\" align=\"middle\">");
        Rich->SetHover(true);
        Rich->SetHoverColor(TColor(0xC0FFFF));
        Rich->SetHoverFontColor(clRed);
        Rich->SetImages(FImages);

        THTMLabel* lists = Label(Rect(16, 146, 236, 266),
                                 L"<UL><LI>first item<LI>second item<UL><LI>nested</UL></UL>"
                                 L"<OL><LI>one<LI>two</OL>");
        (void)lists;
        THTMLabel* turned = Label(Rect(246, 146, 476, 266),
                                  L"<P align=\"center\">centred</P><P align=\"right\">right aligned</P>"
                                  L"<BR>Turned: <ROT a=\"15\">rotated text</ROT>");
        turned->SetBevelOuter(bvLowered);

        THTMLabel* gradient = Label(Rect(16, 276, 236, 316),
                                    L"<B>Gradient</B> background, <FONT color=\"clwhite\">raised bevel</FONT>");
        gradient->SetTransparent(false);
        gradient->SetColor(TColor(0xFFE0C0));
        gradient->SetColorTo(TColor(0xA05020));
        gradient->SetBevelOuter(bvRaised);
        gradient->SetVAlignment(HTMLabel::tvaCenter);

        THTMLabel* body = Label(Rect(246, 276, 476, 316),
                                L"<BODY bgcolor=\"#2060C0\" bgcolorto=\"#A0E0FF\"><FONT color=\"clwhite\">"
                                L"<B>BODY gradient</B> under the text</FONT>");
        (void)body;

        THTMLabel* autosized = Label(Rect(16, 326, 60, 346), L"Auto size: <B>fits its text</B>");
        autosized->SetAutoSizeType(asBoth);
        autosized->SetAutoSizing(true);
        autosized->SetBorderStyle(bsSingle);
        autosized->SetBorderWidth(1);
        autosized->SetBorderColor(TColor(0x0080FF));

        THTMLabel* wrapped = Label(Rect(246, 326, 476, 376),
                                   L"A <I>wrapping</I> label: this sentence is too long for one line, so the "
                                   L"engine breaks it between words.");
        wrapped->SetGradientType(HTMLabel::gtBottomLine);
        wrapped->SetColor(TColor(0x808080));
        wrapped->SetColorTo(clWhite);

        // Static texts.
        Blinking = new THTMLStaticText(this);
        Blinking->SetParent(this);
        Blinking->SetBounds(496, 16, 240, 60);
        Blinking->SetColor(TColor(0xF0F8FF));
        Blinking->SetTabStop(true);
        Blinking->HTMLText()->SetText(
            L"Static text: <FONT color=\"clred\"><BLINK>blinking</BLINK></FONT>, "
            L"<A href=\"http://example.org/a\">focused link</A> and <A href=\"http://example.org/b\">next</A>");
        Blinking->SetEnableBlink(true);
        Blinking->SetBorderStyle(bsSingle);
        Blinking->SetBorderWidth(1);

        Scrolling = new THTMLStaticText(this);
        Scrolling->SetParent(this);
        Scrolling->SetBounds(746, 16, 238, 60);
        Scrolling->SetColor(TColor(0xF0FFF0));
        Scrolling->HTMLText()->SetText(
            L"<B>Mini scroll</B><BR>line two<BR>line three<BR>line four<BR>line five<BR>line six");
        Scrolling->SetMiniScroll(true);
        Scrolling->SetVOffset(8);

        THTMLStaticText* disabled = new THTMLStaticText(this);
        disabled->SetParent(this);
        disabled->SetBounds(496, 86, 240, 22);
        disabled->HTMLText()->SetText(L"Disabled <B>static text</B> <A href=\"x\">link</A>");
        disabled->SetEnabled(false);

        new TGridVariantBox(this, this, Rect(746, 86, 984, 186));

        // Check boxes and radio buttons: one row per look.
        const wchar_t* looks[] = {L"Classic", L"Borland", L"Flat", L"Qel", L"WinXP", L"Theme"};
        int group = 1;
        for (int row = 0; row < 6; ++row) {
            const int y = 396 + row * 38;
            const TButtonType look = TButtonType(row);
            for (int col = 0; col < 6; ++col) {
                const int x = 16 + col * 162;
                const bool checked = col == 1 || col == 2 || col == 4 || col == 5;
                const bool enabled = col != 2 && col != 5;
                String caption = String(looks[row]) + (col < 3 ? L" box" : L" radio");
                if (!enabled) caption += L" <I>off</I>";
                else if (col == 1) caption = L"<B>" + caption + L"</B> <A href=\"http://x\">link</A>";
                THTMLButtonBase* b;
                if (col < 3) {
                    auto* c = new THTMLCheckBox(this);
                    c->SetParent(this);
                    c->SetChecked(checked);
                    b = c;
                } else {
                    auto* r = new THTMLRadioButton(this);
                    r->SetParent(this);
                    r->SetGroupIndex(Byte(group++));
                    r->SetChecked(checked);
                    b = r;
                }
                b->SetBounds(x, y, 156, 30);
                b->SetButtonType(look);
                b->SetCaption(caption);
                b->SetEnabled(enabled);
                b->Loaded();
            }
        }
    }

    THTMLabel* Rich = nullptr;
    THTMLStaticText* Blinking = nullptr;
    THTMLStaticText* Scrolling = nullptr;

private:
    THTMLabel* Label(const TRect& r, const String& text)
    {
        auto* l = new THTMLabel(this);
        l->SetParent(this);
        l->SetBoundsRect(r);
        l->HTMLText()->SetText(text);
        return l;
    }
    TImageList* FImages = nullptr;
};

}  // namespace

int main(int argc, char** argv)
{
    if (!StartDemoBackend("markupdemo")) return 2;
    VodLibraryStartup();
    InitForms();
    TDemoForm* form = nullptr;
    Application->CreateForm(form);
    form->Show();
    // The first link of the rich label shows hovered; the static text's
    // first link carries the focus mark.
    bool hovered = false;
    for (int y = 0; y < form->Rich->Height() && !hovered; y += 2)
        for (int x = 0; x < form->Rich->Width() && !hovered; x += 2) {
            TRect r;
            String anchor;
            form->Rich->AnchorAt(x, y, r, anchor);
            if (anchor == L"http://example.org") {
                static_cast<TControl*>(form->Rich)->MouseMove(TShiftState(), x, y);
                hovered = true;
            }
        }
    form->Blinking->SetFocus();
    RunDemoLoop(form, DemoSeconds(argc, argv));
    DoneForms();
    VodLibraryShutdown();
    return 0;
}
