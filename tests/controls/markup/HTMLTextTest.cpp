#include "controls/markup/HTMLText.h"

#include "tests/controls/markup/MarkupControlsTestSupport.h"
#include "tests/controls/foundation/PictureTestSupport.h"

namespace {

class HTMLStaticTextTest : public MarkupControlsTest {
protected:
    THTMLStaticText* NewText(const String& text, TRect r = TRect{10, 10, 310, 70})
    {
        auto* t = new THTMLStaticText(Form);
        t->SetParent(Form);
        t->SetBoundsRect(r);
        t->SetColor(clWhite);
        t->Font()->SetName(L"Arial");
        t->Font()->SetColor(clBlack);
        t->HTMLText()->SetText(text);
        Drv->Pump();
        return t;
    }
    // Pixels of a client rectangle of the form that have the colour.
    int Count(const TRect& r, uint32_t rgb) { return r.Width() * r.Height() - CountOther(r, rgb); }
};

}  // namespace

TEST_F(HTMLStaticTextTest, DrawsItsTextInItsOwnWindowWithDefaults)
{
    THTMLStaticText* t = NewText(L"<FONT color=\"clred\">AB</FONT>cd");
    EXPECT_EQ(t->Version(), L"1.4.1.0");
    EXPECT_EQ(t->ShadowOffset(), 1);
    EXPECT_EQ(t->GetDisplayText(), L"<FONT color=\"clred\">AB</FONT>cd");
    t->HTMLText()->Add(L"ef");
    EXPECT_EQ(t->GetDisplayText(), L"<FONT color=\"clred\">AB</FONT>cdef");  // lines join without separator
    EXPECT_EQ(t->Text(), L"ABcdef");
    Drv->Pump();
    EXPECT_GT(Count(TRect{10, 10, 26, 26}, 0xFF0000), 0);
    EXPECT_GT(CountOther(TRect{26, 10, 58, 26}, 0xFFFFFF), 0);
    EXPECT_EQ(CountOther(TRect{60, 10, 310, 70}, 0xFFFFFF), 0);
    EXPECT_EQ(t->HTMLWidth(), 6 * 8 + 2);
    EXPECT_EQ(t->HTMLHeight(), 16 + 2);
}

TEST_F(HTMLStaticTextTest, ArrowsCycleTheFocusOverLinksAndEnterFollowsTheMarkedOne)
{
    TShellRecorder shell;
    THTMLStaticText* t = NewText(L"<A href=\"a\">aa</A> <A href=\"http://b/\">bb</A> <A href=\"c\">cc</A>");
    t->SetTabStop(true);
    std::vector<std::wstring> keyed;
    t->OnAnchorKeypress = [&](TObject*, const String& a) { keyed.push_back(a); };
    t->SetFocus();
    Drv->Pump();
    EXPECT_EQ(t->FocusHyperLink(), 0);
    std::vector<Integer> seen;
    for (int i = 0; i < 3; ++i) {
        Drv->PressKey(VK_RIGHT);
        Drv->Pump();
        seen.push_back(t->FocusHyperLink());
    }
    EXPECT_EQ(seen, (std::vector<Integer>{1, 2, 0}));
    Drv->PressKey(VK_LEFT);
    Drv->Pump();
    EXPECT_EQ(t->FocusHyperLink(), 2);
    Drv->PressKey(VK_RETURN);
    Drv->Pump();
    Drv->PressKey(VK_UP);
    Drv->Pump();
    EXPECT_EQ(t->FocusHyperLink(), 1);
    Drv->PressKey(VK_SPACE);
    Drv->Pump();
    EXPECT_EQ(keyed, (std::vector<std::wstring>{L"c", L"http://b/"}));
    EXPECT_EQ(shell.First(), "http://b/");
    // The focus mark is drawn around the marked link (a dotted rectangle).
    EXPECT_GT(CountOther(TRect{10 + 24, 10, 10 + 40, 27}, 0xFFFFFF), 0);
}

TEST_F(HTMLStaticTextTest, WithoutLinksEnterFiresAnEmptyAnchorAndOpensNothing)
{
    THTMLStaticText* t = NewText(L"plain");
    std::vector<std::wstring> keyed;
    t->OnAnchorKeypress = [&](TObject*, const String& a) { keyed.push_back(a); };
    t->SetFocus();
    Drv->PressKey(VK_RIGHT);
    Drv->PressKey(VK_LEFT);
    Drv->Pump();
    EXPECT_LE(t->FocusHyperLink(), 0);
    EXPECT_GE(t->FocusHyperLink(), -1);
    Drv->PressKey(VK_RETURN);
    Drv->Pump();
    EXPECT_EQ(keyed, (std::vector<std::wstring>{L""}));
}

TEST_F(HTMLStaticTextTest, MouseHoverClickAndRightClickOnAnchors)
{
    TShellRecorder shell;
    THTMLStaticText* t = NewText(L"go <A href=\"http://x/\">link</A> on");
    std::vector<std::wstring> log;
    t->OnAnchorEnter = [&](TObject*, const String& a) { log.push_back(L"enter " + a); };
    t->OnAnchorExit = [&](TObject*, const String& a) { log.push_back(L"exit " + a); };
    t->OnAnchorClick = [&](TObject*, const String& a) { log.push_back(L"click " + a); };
    t->OnAnchorRightClick = [&](TObject*, const String& a) { log.push_back(L"right " + a); };
    MoveTo(12, 15);
    MoveTo(10 + 30, 15);
    EXPECT_EQ(t->Cursor(), crHandPoint);
    MoveTo(10 + 34, 16);
    Drv->ClickWindow(Form->Handle(), TPoint{10 + 34, 16}, TMouseButton2::Right);
    Drv->Pump();
    MoveTo(10 + 70, 15);
    EXPECT_EQ(t->Cursor(), crDefault);
    EXPECT_EQ(log, (std::vector<std::wstring>{L"enter http://x/", L"right http://x/", L"exit "}));
    EXPECT_EQ(shell.First(300), "");  // the right button opens nothing
    Drv->ClickWindow(Form->Handle(), TPoint{10 + 34, 16});
    Drv->Pump();
    EXPECT_EQ(log.back(), L"click http://x/");
    EXPECT_EQ(shell.First(), "http://x/");
}

TEST_F(HTMLStaticTextTest, BlinkingFlipsEveryHalfSecondOnlyWithABlinkTag)
{
    THTMLStaticText* t = NewText(L"a <bLiNk>blinking</BLINK> word");
    EXPECT_FALSE(t->TimerRunning());
    t->SetEnableBlink(true);
    EXPECT_TRUE(t->TimerRunning());
    EXPECT_FALSE(t->Blinking());
    Drv->Advance(400);
    EXPECT_FALSE(t->Blinking());
    Drv->Advance(100);
    EXPECT_TRUE(t->Blinking());
    Drv->Advance(500);
    EXPECT_FALSE(t->Blinking());
    // Without a BLINK tag the timer repaints nothing for it.
    t->HTMLText()->SetText(L"no tag");
    Drv->Advance(1000);
    EXPECT_FALSE(t->Blinking());
    t->SetEnableBlink(false);
    EXPECT_FALSE(t->TimerRunning());
}

TEST_F(HTMLStaticTextTest, TheTimerFollowsTheWindowAndTheSettings)
{
    THTMLStaticText* t = NewText(L"<blink>x</blink>");
    t->SetMiniScroll(true);
    EXPECT_TRUE(t->TimerRunning());
    t->SetMiniScroll(false);
    EXPECT_FALSE(t->TimerRunning());
    t->SetAutoScroll(true);
    EXPECT_TRUE(t->TimerRunning());
    // A destroyed window stops it; the recreated one starts it again.
    t->RecreateWnd();
    Drv->Pump();
    EXPECT_TRUE(t->HandleAllocated());
    EXPECT_TRUE(t->TimerRunning());
    t->SetEnableBlink(true);
    const bool before = t->Blinking();
    Drv->Advance(500);
    EXPECT_NE(t->Blinking(), before);
    t->DestroyHandle();
    EXPECT_FALSE(t->TimerRunning());
}

TEST_F(HTMLStaticTextTest, MiniScrollShowsArrowsAndScrollsFourPixelsPerTick)
{
    THTMLStaticText* t = NewText(L"1<BR>2<BR>3<BR>4<BR>5<BR>6", TRect{10, 10, 110, 50});
    t->SetMiniScroll(true);
    Drv->Pump();
    EXPECT_TRUE(t->DownScrollShown());
    EXPECT_FALSE(t->UpScrollShown());
    EXPECT_EQ(t->VOffset(), 0);
    // Holding the mouse on the down arrow (bottom right) scrolls.
    Drv->MouseDown(Drv->ScreenPoint(Form->Handle(), TPoint{10 + 95, 10 + 35}));
    Drv->Pump();
    EXPECT_EQ(t->VOffset(), 4);
    Drv->Advance(100);
    EXPECT_EQ(t->VOffset(), 8);
    Drv->Advance(200);
    EXPECT_EQ(t->VOffset(), 16);
    Drv->MouseUp(Drv->ScreenPoint(Form->Handle(), TPoint{10 + 95, 10 + 35}));
    Drv->Advance(300);
    EXPECT_EQ(t->VOffset(), 16);
    Drv->Pump();
    EXPECT_TRUE(t->UpScrollShown());
    // Up: 4 per tick, never below 0.
    Drv->MouseDown(Drv->ScreenPoint(Form->Handle(), TPoint{10 + 95, 10 + 3}));
    Drv->Advance(1000);
    Drv->MouseUp(Drv->ScreenPoint(Form->Handle(), TPoint{10 + 95, 10 + 3}));
    EXPECT_EQ(t->VOffset(), 0);
    t->SetVOffset(-5);
    EXPECT_EQ(t->VOffset(), 0);
    t->SetVOffset(12);
    EXPECT_EQ(t->VOffset(), 12);
    t->SetMiniScroll(false);
    EXPECT_EQ(t->VOffset(), 0);
    t->SetVOffset(12);
    EXPECT_EQ(t->VOffset(), 0);  // only with the mini scroll on
    t->SetMiniScroll(true);
    t->SetVAlignment(HTMLabel::tvaCenter);
    EXPECT_FALSE(t->MiniScroll());
}

TEST_F(HTMLStaticTextTest, DisabledTextIsGreyOverAWhiteCopyWithoutImages)
{
    THTMLStaticText* t = NewText(L"WW");
    t->SetColor(TColor(0x808000));
    t->SetEnabled(false);
    Drv->Pump();
    // Grey text, and a white copy of it one pixel down and right.
    EXPECT_EQ(Pixel(10 + 2, 10 + 8), 0x808080u);
    EXPECT_GT(Count(TRect{10, 10, 10 + 18, 10 + 18}, 0xFFFFFF), 0);
}

TEST_F(HTMLStaticTextTest, AutoSizingFitsTheTextAndTellsOnce)
{
    THTMLStaticText* t = NewText(L"abcd<BR>ef");
    int calls = 0;
    t->OnNewSize = [&](TObject*, Integer, Integer) { ++calls; };
    t->SetAutoSizeType(asBoth);
    t->SetAutoSizing(true);
    Drv->Pump();
    EXPECT_EQ(t->Width(), 4 * 8 + 2 + 6);
    EXPECT_EQ(t->Height(), 32 + 6);
    Drv->Pump();
    t->Invalidate();
    Drv->Pump();
    EXPECT_EQ(calls, 1);
}

TEST_F(HTMLStaticTextTest, VerticalAlignmentAndHints)
{
    THTMLStaticText* t = NewText(L"<A href=\"h\">x</A>", TRect{10, 10, 110, 50});
    t->SetVAlignment(HTMLabel::tvaBottom);
    Drv->Pump();
    EXPECT_EQ(CountOther(TRect{10, 10, 110, 10 + 24}, 0xFFFFFF), 0);
    EXPECT_GT(CountOther(TRect{10, 10 + 24, 20, 50}, 0xFFFFFF), 0);
    t->SetAnchorHint(true);
    THintInfo info;
    info.CursorPos = TPoint{3, 32};
    t->Perform(CM_HINTSHOW, 0, LPARAM(&info));
    EXPECT_EQ(info.HintStr, L"h");
}

TEST_F(HTMLStaticTextTest, AnimatedGifsStepOnTheTimerThroughContainerAndCache)
{
    auto* container = new TPictureContainer(Form);
    TPictureItem* item = container->Items()->Add();
    item->SetName(L"anim");
    item->Picture()->LoadFromFile(UTF8ToString(picture_test::PicturePath("anim3.gif")));
    THTMLStaticText* t = NewText(L"<IMG src=\"anim\"> <IMG src=\"FILE://" +
                                 UTF8ToString(picture_test::PicturePath("anim3.gif")) + L"\">");
    t->SetPictureContainer(container);
    t->SetEnableBlink(true);
    Drv->Pump();
    // Both copies (8 x 8, on the line's base) show frame 1 (red), then each tenth of a second is due the next one.
    EXPECT_EQ(Pixel(14, 22), 0xFF0000u);
    EXPECT_EQ(Pixel(32, 22), 0xFF0000u);
    Drv->Advance(300);
    EXPECT_EQ(Pixel(14, 22), 0x00FF00u);
    EXPECT_EQ(Pixel(32, 22), 0x00FF00u);
    Drv->Advance(100);
    EXPECT_EQ(Pixel(14, 22), 0x0000FFu);
}

TEST_F(HTMLStaticTextTest, TheDisabledWhiteCopyLeavesImagesOut)
{
    TImageList il;
    il.SetWidth(16);
    il.SetHeight(16);
    TBitmap red(16, 16);
    red.Canvas()->Brush()->SetColor(TColor(0x0000FF));
    red.Canvas()->FillRect(TRect{0, 0, 16, 16});
    il.Add(&red, nullptr);
    THTMLStaticText* t = NewText(L"<IMG src=\"idx:0\">");
    t->SetImages(&il);
    t->SetEnabled(false);
    Drv->Pump();
    // The image once, at its place (x 0..15); a copy one pixel down and right
    // would reach column 16 and row 16.
    EXPECT_EQ(Pixel(10 + 8, 10 + 8), 0xFF0000u);
    for (int y = 10; y < 10 + 18; ++y) EXPECT_NE(Pixel(10 + 16, y), 0xFF0000u) << y;
    for (int x = 10; x < 10 + 18; ++x) EXPECT_NE(Pixel(x, 10 + 16), 0xFF0000u) << x;
    t->SetImages(nullptr);
}
