#include "controls/markup/HTMLabel.h"

#include <algorithm>

#include "tests/controls/markup/MarkupControlsTestSupport.h"

namespace {

class HTMLabelTest : public MarkupControlsTest {
protected:
    THTMLabel* NewLabel(const String& text, TRect r = TRect{10, 10, 210, 60})
    {
        auto* l = new THTMLabel(Form);
        l->SetParent(Form);
        l->SetBoundsRect(r);
        l->Font()->SetName(L"Arial");
        l->Font()->SetColor(clBlack);
        l->HTMLText()->SetText(text);
        return l;
    }
};

}  // namespace

TEST_F(HTMLabelTest, DisplayTextJoinsLinesAndTheSetterJoinsWithoutSeparator)
{
    THTMLabel* l = NewLabel(L"");
    struct {
        std::vector<String> Lines;
        String Display;
    } const cases[] = {
        {{L"<b>a</b>", L"<i>b</i>"}, L"<b>a</b><i>b</i>"},
        {{L"one", L"two"}, L"one two"},
        {{L"<b>a</b>", L"b"}, L"<b>a</b> b"},
        {{L"a", L"<i>b</i>"}, L"a <i>b</i>"},
        {{}, L""},
    };
    for (const auto& c : cases) {
        l->HTMLText()->Clear();
        for (const String& s : c.Lines) l->HTMLText()->Add(s);
        EXPECT_EQ(l->GetDisplayText(), c.Display);
    }
    TStringList two;
    two.Add(L"first");
    two.Add(L"second");
    l->SetHTMLText(&two);
    EXPECT_EQ(l->HTMLText()->Count(), 1);
    EXPECT_EQ(l->GetDisplayText(), L"firstsecond");
    l->HTMLText()->SetText(L"<b>bold</b> and <i>plain</i>");
    EXPECT_EQ(l->Text(), L"bold and plain");
    EXPECT_EQ(l->Version(), L"1.9.2.6");
    l->SetVersion(L"9.9.9.9");
    EXPECT_EQ(l->Version(), L"1.9.2.6");
}

TEST_F(HTMLabelTest, TransparentLabelDrawsItsTextOnTheParent)
{
    NewLabel(L"<FONT color=\"clred\">AB</FONT>");
    Drv->Pump();
    // "AB" in red at the label's top-left: 16 x 16 pixels of text.
    EXPECT_GT(CountOther(TRect{10, 10, 26, 26}, 0xFFFFFF), 20);
    EXPECT_EQ(CountOther(TRect{28, 10, 210, 60}, 0xFFFFFF), 0);
    int red = 0;
    for (int y = 10; y < 26; ++y)
        for (int x = 10; x < 26; ++x) red += Pixel(x, y) == 0xFF0000;
    EXPECT_GT(red, 0);
}

TEST_F(HTMLabelTest, OpaqueLabelPaintsGradientsBevelsAndAlignment)
{
    THTMLabel* l = NewLabel(L"x");
    l->SetTransparent(false);
    l->SetColor(TColor(0x0000FF));     // red
    l->SetColorTo(TColor(0xFF0000));   // blue
    Drv->Pump();
    EXPECT_EQ(Pixel(12, 40), 0xFF0000u);  // first band: Color
    const uint32_t last = Pixel(208, 40);  // last band: one step short of ColorTo
    EXPECT_GT(last & 0xFF, 0xE0u);
    EXPECT_LT(last >> 16, 0x20u);
    l->SetGradientType(HTMLabel::gtFullVertical);
    Drv->Pump();
    EXPECT_EQ(Pixel(100, 10), 0xFF0000u);
    EXPECT_GT(Pixel(100, 58) & 0xFF, 0xE0u);

    // A plain background with a lowered bevel; the text centred vertically.
    l->SetColorTo(clNone);
    l->SetColor(clWhite);
    l->SetBevelOuter(bvLowered);
    l->SetVAlignment(HTMLabel::tvaCenter);
    Drv->Pump();
    EXPECT_EQ(Pixel(10, 30), Rgb(clBtnShadow));    // left edge: top-left colour
    EXPECT_EQ(Pixel(209, 30), Rgb(clBtnHighlight)); // right edge: bottom-right colour
    // 50 high, bevel 1 (shrunk twice): text rectangle from 2 to 48; 16 high text centred at 17.
    EXPECT_EQ(CountOther(TRect{12, 12, 200, 26}, 0xFFFFFF), 0);
    EXPECT_GT(CountOther(TRect{12, 27, 22, 43}, 0xFFFFFF), 0);
}

TEST_F(HTMLabelTest, AutoSizingFitsTheTextPlusSixAndTellsOncePerChange)
{
    THTMLabel* l = NewLabel(L"abcdef<BR>gh");
    int calls = 0;
    Integer nw = 0, nh = 0;
    l->OnNewSize = [&](TObject*, Integer w, Integer h) { ++calls; nw = w; nh = h; };
    l->SetAutoSizeType(asBoth);
    l->SetAutoSizing(true);
    Drv->Pump();
    // Six characters wide (48 + 2 from the engine), two lines high.
    EXPECT_EQ(l->Width(), 48 + 2 + 6);
    EXPECT_EQ(l->Height(), 32 + 6);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(nw, l->Width());
    EXPECT_EQ(nh, l->Height());
    l->Invalidate();
    Drv->Pump();
    EXPECT_EQ(calls, 1);
    l->HTMLText()->SetText(L"abc");
    Drv->Pump();
    EXPECT_EQ(l->Width(), 24 + 2 + 6);
    EXPECT_EQ(l->Height(), 16 + 6);
    EXPECT_EQ(calls, 2);

    // Vertical auto size ignores VAlignment for the text position.
    THTMLabel* v = NewLabel(L"v", TRect{10, 100, 110, 200});
    v->SetVAlignment(HTMLabel::tvaBottom);
    v->SetAutoSizing(true);
    Drv->Pump();
    EXPECT_EQ(v->Height(), 16 + 6);
    // tvaBottom moves the text down 6 pixels inside the fitted label.
    EXPECT_GT(CountOther(TRect{10, 106, 20, 122}, 0xFFFFFF), 0);
    EXPECT_EQ(CountOther(TRect{10, 100, 20, 106}, 0xFFFFFF), 0);
}

TEST_F(HTMLabelTest, HoveringALinkSetsTheHandAndFiresEnterAndExitOnce)
{
    THTMLabel* l = NewLabel(L"go <A href=\"http://x\">link</A> on");
    l->SetHover(true);
    l->SetHoverColor(TColor(0x00FFFF));
    std::vector<std::wstring> log;
    l->OnAnchorEnter = [&](TObject*, const String& a) { log.push_back(L"enter " + a); };
    l->OnAnchorExit = [&](TObject*, const String& a) { log.push_back(L"exit " + a); };
    Drv->Pump();
    MoveTo(12, 15);  // over "go"
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(l->Cursor(), crDefault);
    MoveTo(10 + 24 + 4, 15);  // over "link" (x 24..56)
    EXPECT_EQ(log, (std::vector<std::wstring>{L"enter http://x"}));
    EXPECT_EQ(l->Cursor(), crHandPoint);
    EXPECT_EQ(l->HoverHyperLink(), 1);
    const TRect link{10 + 24, 10, 10 + 56, 26};
    EXPECT_GT(32 * 16 - CountOther(link, 0xFFFF00), 20);  // hover background under the link
    MoveTo(10 + 40, 16);
    EXPECT_EQ(log.size(), 1u);
    MoveTo(10 + 70, 15);  // over "on"
    EXPECT_EQ(log, (std::vector<std::wstring>{L"enter http://x", L"exit "}));
    EXPECT_EQ(l->Cursor(), crDefault);
    EXPECT_EQ(CountOther(link, 0xFFFF00), 32 * 16);
}

TEST_F(HTMLabelTest, HoverRepaintsOnlyTheAnchorsRectangle)
{
    THTMLabel* l = NewLabel(L"go <A href=\"http://x\">link</A> on");
    l->SetHover(true);
    Drv->Pump();
    TControl* c = l;
    c->MouseMove(TShiftState(), 2, 5);
    Drv->Pump();
    c->MouseMove(TShiftState(), 28, 5);
    TRect upd;
    ASSERT_TRUE(GetUpdateRect(Form->Handle(), &upd, FALSE));
    // The link spans 24..56 of the label at (10, 10), one line high.
    EXPECT_EQ(upd.Left, 10 + 24);
    EXPECT_LE(upd.Right, 10 + 57);
    EXPECT_EQ(upd.Top, 10);
    EXPECT_LE(upd.Bottom, 10 + 17);
    Drv->Pump();
    c->MouseMove(TShiftState(), 100, 5);
    ASSERT_TRUE(GetUpdateRect(Form->Handle(), &upd, FALSE));
    EXPECT_EQ(upd.Left, 10 + 24);
    EXPECT_LE(upd.Right, 10 + 57);
    Drv->Pump();
}

TEST_F(HTMLabelTest, ClicksFollowTheHrefAndTitlesAreWhatHoverAndHintsReport)
{
    TShellRecorder shell;
    THTMLabel* l = NewLabel(L"<A href=\"local\">aa</A> <A href=\"http://t/\" title=\"Tip\">bb</A> "
                            L"<A href=\"MAILTO:x@y\">cc</A>");
    std::vector<std::wstring> clicks, enters;
    l->OnAnchorClick = [&](TObject*, const String& a) { clicks.push_back(a); };
    l->OnAnchorEnter = [&](TObject*, const String& a) { enters.push_back(a); };
    Drv->Pump();
    // Right button: nothing.
    Drv->ClickWindow(Form->Handle(), TPoint{14, 15}, TMouseButton2::Right);
    Drv->Pump();
    EXPECT_TRUE(clicks.empty());
    Drv->ClickWindow(Form->Handle(), TPoint{14, 15});
    Drv->Pump();
    MoveTo(10 + 28, 15);
    Drv->ClickWindow(Form->Handle(), TPoint{10 + 28, 15});
    Drv->Pump();
    Drv->ClickWindow(Form->Handle(), TPoint{10 + 52, 15});
    Drv->Pump();
    EXPECT_EQ(clicks, (std::vector<std::wstring>{L"local", L"http://t/", L"MAILTO:x@y"}));
    EXPECT_NE(std::find(enters.begin(), enters.end(), L"Tip"), enters.end());
    // Only the web address reaches the shell ("local" is no address; mail
    // addresses go in any case).
    EXPECT_EQ(shell.First(), "http://t/");

    // Hints: the TITLE (or HREF) at the cursor, 10 right and 10 up on the screen.
    l->SetAnchorHint(true);
    std::vector<std::wstring> hinted;
    l->OnAnchorHint = [&](TObject*, String& a) { hinted.push_back(a); a += L"!"; };
    THintInfo info;
    info.CursorPos = TPoint{28, 5};
    info.HintStr = L"plain";
    l->Perform(CM_HINTSHOW, 0, LPARAM(&info));
    EXPECT_EQ(hinted, (std::vector<std::wstring>{L"Tip"}));
    EXPECT_EQ(info.HintStr, L"Tip!");
    const TPoint s = l->ClientToScreen(TPoint{28, 5});
    EXPECT_EQ(info.HintPos.X, s.X + 10);
    EXPECT_EQ(info.HintPos.Y, s.Y - 10);
    // Off the links with HintShowFull: the plain text, or the markup with HTMLHint.
    l->SetHintShowFull(true);
    info.CursorPos = TPoint{190, 40};
    l->Perform(CM_HINTSHOW, 0, LPARAM(&info));
    EXPECT_EQ(info.HintStr, L"aa bb cc");
    l->SetHTMLHint(true);
    l->Perform(CM_HINTSHOW, 0, LPARAM(&info));
    EXPECT_EQ(info.HintStr, l->GetDisplayText());
}

TEST_F(HTMLabelTest, UpdatesNestAndTheLastEndUpdateRepaints)
{
    THTMLabel* l = NewLabel(L"WW");
    Drv->Pump();
    const TRect text{10, 10, 26, 26};
    ASSERT_GT(CountOther(text, 0xFFFFFF), 0);
    l->BeginUpdate();
    l->BeginUpdate();
    Form->Invalidate();
    Drv->Pump();
    EXPECT_EQ(CountOther(text, 0xFFFFFF), 0);
    l->EndUpdate();
    Drv->Pump();
    EXPECT_EQ(CountOther(text, 0xFFFFFF), 0);
    l->EndUpdate();
    Drv->Pump();
    EXPECT_GT(CountOther(text, 0xFFFFFF), 0);
    l->EndUpdate();  // one too many: nothing happens
    Drv->Pump();
    EXPECT_GT(CountOther(text, 0xFFFFFF), 0);
}

TEST_F(HTMLabelTest, SizesWithAndWithoutWrapping)
{
    THTMLabel* l = NewLabel(L"one two three four");
    const TSize full = l->HTMLSize();
    EXPECT_EQ(full.cy, 16);
    EXPECT_EQ(full.cx, 18 * 8 + 2);
    const TSize narrow = l->GetSizeWithMaxWidth(60);
    EXPECT_GT(narrow.cy, 16);
    l->SetEllipsis(true);
    EXPECT_EQ(l->GetSizeWithMaxWidth(60).cy, 16);
    l->HTMLText()->Clear();
    EXPECT_EQ(l->HTMLSize().cy, 16);  // an empty text is one line high
}

TEST_F(HTMLabelTest, HighlightAndMarkEditTheText)
{
    THTMLabel* l = NewLabel(L"find the word here");
    l->HilightText(L"word", false);
    EXPECT_EQ(l->GetDisplayText(), L"find the <hi>word</hi> here");
    l->UnHilightText();
    EXPECT_EQ(l->GetDisplayText(), L"find the word here");
    l->MarkText(L"WORD", true);
    EXPECT_EQ(l->GetDisplayText(), L"find the word here");
    l->MarkText(L"WORD", false);
    EXPECT_EQ(l->GetDisplayText(), L"find the <e>word</e> here");
    l->UnMarkText();
    EXPECT_EQ(l->GetDisplayText(), L"find the word here");
}

TEST_F(HTMLabelTest, PrintDrawsWithTheCanvasFontAndNoHover)
{
    THTMLabel* l = NewLabel(L"<A href=\"http://x\">ab</A>");
    TBitmap b(100, 40);
    b.Canvas()->Brush()->SetColor(clWhite);
    b.Canvas()->FillRect(TRect{0, 0, 100, 40});
    b.Canvas()->Font()->SetName(L"Arial");
    l->HTMLPrint(b.Canvas(), TRect{0, 0, 100, 40});
    int blue = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) blue += ColorToRGB(b.Canvas()->Pixels(x, y)) == TColor(0xFF0000);
    EXPECT_GT(blue, 0);  // the link in URLColor
}

TEST_F(HTMLabelTest, AcceleratorFocusesTheFocusControl)
{
    THTMLabel* l = NewLabel(L"&Name");
    auto* e = new TEdit(Form);
    e->SetParent(Form);
    e->SetBounds(10, 200, 100, 20);
    l->SetFocusControl(e);
    Drv->Pump();
    EXPECT_EQ(l->Perform(CM_DIALOGCHAR, WPARAM(L'x')), 0);
    EXPECT_FALSE(e->Focused());
    EXPECT_EQ(l->Perform(CM_DIALOGCHAR, WPARAM(L'n')), 1);
    EXPECT_TRUE(e->Focused());
}

namespace {
class TAutoSizeForm : public TForm {
public:
    THTMLabel* Label;
    explicit TAutoSizeForm(TComponent* owner) : TForm(owner)
    {
        SetBorderStyle(bsNone);
        SetBounds(100, 100, 400, 300);
        SetColor(clWhite);
        Label = new THTMLabel(this);
        Label->SetParent(this);
        Label->SetBounds(16, 26, 44, 20);
        Label->HTMLText()->SetText(L"Auto size: <B>fits</B>");
        Label->SetAutoSizeType(asBoth);
        Label->SetAutoSizing(true);
        Label->SetBorderStyle(bsSingle);
        Label->SetBorderWidth(1);
    }
};
}  // namespace

TEST(HTMLabelFirstPaint, AResizeInTheFormsFirstPaintIsShownAtTheNewSize)
{
    auto drv = std::make_unique<THeadlessDriver>();
    InitForms();
    SetFixedMetricsFonts(true);
    TAutoSizeForm* f = nullptr;
    Application->CreateForm(f);
    f->Show();
    drv->Pump();
    EXPECT_EQ(f->Label->Width(), 15 * 8 + 2 + 2 + 6);  // text + 2, border 2 x 1, + 6
    std::vector<uint32_t> px;
    int w = 0, h = 0;
    drv->CaptureWindow(f->Handle(), px, w, h);
    // The single border's right edge at the new width, the text whole.
    const int right = 16 + f->Label->Width() - 1;
    int edge = 0;
    for (int y = 30; y < 40; ++y) edge += (px[size_t(y * w + right)] & 0xFFFFFF) != 0xFFFFFF;
    EXPECT_EQ(edge, 10);
    int text = 0;
    for (int y = 30; y < 40; ++y)
        for (int x = 16 + 44; x < right - 4; ++x) text += (px[size_t(y * w + x)] & 0xFFFFFF) != 0xFFFFFF;
    EXPECT_GT(text, 0);
    DoneForms();
    SetFixedMetricsFonts(false);
}
