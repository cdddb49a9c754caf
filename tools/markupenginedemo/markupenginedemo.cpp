// The markup engine on one window: fonts, colours, a hovered link with its
// focus rectangle, lists, a rule, sub- and superscript, shadow, the error
// mark, rotated text, paragraph backgrounds and alignment, a body gradient,
// image-list images and shell icons, and a box drawn by the grid's variant
// with edit, combo, check, radio and button controls. Once painted and shown
// it prints "READY left top width height" (the client area on the screen)
// and runs until closed or its time is up.
//
//   markupenginedemo [--seconds N]
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "controls/foundation/LibraryStartup.h"
#include "controls/foundation/VodUtil.h"
#include "controls/markup/MarkupEngine.h"
#include "controls/markup/VurHTMLE.h"
#include "platform/ui/Forms.h"
#include "platform/ui/WindowManager.h"
#include "tools/ControlsDemo.h"

namespace {

class TShowcase : public TCustomControl {
public:
    TShowcase(TComponent* owner, TWinControl* parent) : TCustomControl(owner)
    {
        SetParent(parent);
        SetBounds(0, 0, parent->ClientWidth(), parent->ClientHeight());
        FImages.SetWidth(16);
        FImages.SetHeight(16);
        const TColor colours[] = {TColor(0x3050D0), TColor(0x30A040)};
        for (TColor c : colours) {
            TBitmap b(16, 16);
            FillRectWithColor(b.Canvas(), Rect(0, 0, 16, 16), c);
            FillRectWithColor(b.Canvas(), Rect(4, 4, 12, 12), clWhite);
            FImages.Add(&b, nullptr);
        }
    }

protected:
    void Draw(TCanvas* c, const String& text, TRect r, bool grid = false, int focus = -1, int hover = -1)
    {
        c->Pen()->SetColor(TColor(0xC0C0C0));
        c->Brush()->SetStyle(bsClear);
        c->Rectangle(r.Left - 4, r.Top - 4, r.Right + 4, r.Bottom + 4);
        c->Brush()->SetColor(clWhite);
        c->Font()->SetName(L"Tahoma");
        c->Font()->SetSize(9);
        c->Font()->SetColor(clBlack);
        c->Font()->SetStyle(TFontStyles());
        TMarkupParams p;
        p.Canvas = c;
        p.Text = text;
        p.Rect = r;
        p.Images = &FImages;
        p.FocusLink = focus;
        p.Hover = hover > 0;
        p.HoverLink = hover;
        p.HoverColor = TColor(0xC0FFFF);
        p.HoverFontColor = clRed;
        p.ShadowOffset = 2;
        p.ShadowColor = TColor(0xB0B0B0);
        p.CtrlDown = grid;
        p.CtrlDownID = L"b2";
        if (grid) VurHTMLE::RenderMarkup(p);
        else RenderMarkup(p);
    }

    void Paint() override
    {
        TCanvas* c = Canvas();
        FillRectWithColor(c, ClientRect(), clWhite);
        Draw(c,
             L"<FONT face=\"Verdana\" size=\"4\" color=\"#0050A0\">Markup engine</FONT><BR>"
             L"<B>bold</B>, <I>italic</I>, <U>underline</U>, <S>strike</S>, "
             L"<FONT color=\"clred\">red</FONT>, <FONT bgcolor=\"#FFE080\">marked</FONT>, "
             L"<HI>highlighted</HI>, <SHAD>shadow</SHAD>, <E>misspelt</E>, H<SUB>2</SUB>O and x<SUP>2</SUP>.<BR>"
             L"Links: <A href=\"http://example.org\">focused link</A> and "
             L"<A href=\"http://example.org/2\" title=\"tip\">hovered link</A>.<HR color=\"#808080\">"
             L"&lt;tags&gt; as text &amp; entities: &euro; &copy; &sect;",
             Rect(16, 16, 456, 150), false, 0, 2);
        Draw(c,
             L"<UL><LI>first item<LI>second item<UL><LI>nested</UL></UL>"
             L"<OL><LI>one<LI>two<LI>three</OL>",
             Rect(16, 170, 236, 300));
        Draw(c,
             L"<P align=\"center\" bgcolor=\"#E0F0FF\">centred on a paragraph background</P>"
             L"<P align=\"right\">right aligned</P><P>Images: <IMG src=\"idx:0\"> <IMG src=\"idx:1\" align=\"middle\"> "
             L"icons <IMG src=\"ssys:.txt\"> <IMG src=\"ssys:.png\"></P>"
             L"<P align=\"left\"><BR>Turned: <ROT a=\"15\">rotated text</ROT></P>",
             Rect(256, 170, 456, 300));
        Draw(c,
             L"<BODY bgcolor=\"#2060C0\" bgcolorto=\"#A0E0FF\"><FONT color=\"clwhite\" size=\"3\"><B>Body gradient</B>"
             L"</FONT><BR><FONT color=\"clwhite\">from left to right, under the text</FONT>",
             Rect(476, 16, 716, 96));
        Draw(c,
             L"<BODY bgcolor=\"#FFF0D0\" bgcolorto=\"#FFB060\" dir=\"V\"><B>Vertical</B> gradient",
             Rect(736, 16, 944, 96));
        Draw(c,
             L"<B>Grid variant</B> &eacute;t&eacute; &laquo;cells&raquo;<BR>"
             L"Edit <CONTROL TYPE=\"EDIT\" ID=\"e1\" VALUE=\"text\" WIDTH=\"80\"> "
             L"Combo <CONTROL TYPE=\"COMBO\" ID=\"c1\" VALUE=\"choice\" WIDTH=\"90\"><BR>"
             L"Check <CONTROL TYPE=\"CHECK\" ID=\"k1\" VALUE=\"TRUE\" WIDTH=\"20\"> "
             L"<CONTROL TYPE=\"CHECK\" ID=\"k2\" VALUE=\"FALSE\" WIDTH=\"20\"> "
             L"Radio <CONTROL TYPE=\"RADIO\" ID=\"r1\" VALUE=\"TRUE\" WIDTH=\"20\"> "
             L"<CONTROL TYPE=\"RADIO\" ID=\"r2\" VALUE=\"FALSE\" WIDTH=\"20\"><BR>"
             L"<CONTROL TYPE=\"BUTTON\" ID=\"b1\" VALUE=\"Button\" WIDTH=\"80\"> "
             L"<CONTROL TYPE=\"BUTTON\" ID=\"b2\" VALUE=\"Pressed\" WIDTH=\"80\"> "
             L"<CONTROL TYPE=\"PASSWORD\" ID=\"p1\" VALUE=\"secret\" WIDTH=\"70\">",
             Rect(476, 116, 944, 300), true);
    }

private:
    TImageList FImages;
};

class TDemoForm : public TForm {
public:
    explicit TDemoForm(TComponent* owner) : TForm(owner)
    {
        SetCaption(L"Markup engine");
        SetBorderStyle(bsSingle);
        SetLeft(8);
        SetTop(8);
        SetClientWidth(960);
        SetClientHeight(320);
        SetColor(clWhite);
        new TShowcase(this, this);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    return RunControlsDemo<TDemoForm>("markupenginedemo", argc, argv);
}
