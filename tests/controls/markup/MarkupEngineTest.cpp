#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "controls/markup/MarkupEngine.h"
#include "controls/markup/PictureContainer.h"
#include "platform/base/Types.h"
#include "platform/os/Shell.h"
#include "tests/controls/foundation/PictureTestSupport.h"
#include "tests/controls/markup/MarkupTestSupport.h"

using Runs = std::vector<std::wstring>;

// ---------------------------------------------------------------------------
// Language routines

TEST(MarkupLanguage, ColourNamesAndHexValues)
{
    struct {
        TColor Got, Want;
        const char* What;
    } const cases[] = {
        {TextToColor(L"clred"), TColor(0x0000FF), "red"},
        {TextToColor(L"clnavy"), TColor(0x800000), "navy"},
        {TextToColor(L"cl3ddkshadow"), TColor(0xFF000015), "system 21"},
        {TextToColor(L"clgraytext"), TColor(0xFF000011), "system 17"},
        {TextToColor(L"clinfobk"), TColor(0xFF000018), "system 24"},
        {TextToColor(L"clRed"), TColor(0), "names are compared exactly"},
        {TextToColor(L"red"), TColor(0), "no prefix"},
        {TextToColor(L"clyellowgreen"), TColor(0), "not in the table"},
        {HexToColor(L"#FF8000"), TColor(0x0080FF), "upper-case hex"},
        {HexToColor(L"#ff8000"), TColor(0x0080FF), "lower-case hex counts as hex"},
        {HexToColor(L"#1g2h3i"), TColor(0x302010), "a non-hex character counts 0, no spill"},
        {HexToColor(L"#12"), TColor(0x12), "missing pairs"},
        {TColor(HexPairToInt(L"z")), TColor(0), "short text"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.Got, c.Want) << c.What;
}

TEST(MarkupLanguage, NumbersMarkersAndLineBreaks)
{
    EXPECT_EQ(IntFromText(L"12px"), 12);
    EXPECT_EQ(IntFromText(L"-5"), -5);
    EXPECT_EQ(IntFromText(L"-5px"), 5);   // a sign counts only for a whole number
    EXPECT_EQ(IntFromText(L"$1F"), 31);
    EXPECT_EQ(IntFromText(L"0x10z"), 16);
    EXPECT_EQ(IntFromText(L"abc"), 0);
    EXPECT_EQ(IntFromText(L""), 0);
    String r;
    RemoveHashMarkers(L"a<#FF0000>b<#x>", r);
    EXPECT_EQ(r, L"a#FF0000b#x");
    CRToBRTags(L"a\r\nb\nc", true, r);
    EXPECT_EQ(r, L"a<BR>bc");
    CRToBRTags(L"a\r\nb", false, r);
    EXPECT_EQ(r, L"ab");
    EXPECT_EQ(PosNoCase(L"href", L"<A HREF="), 4);
    String s = L"x&NBSP;y&nbsp;";
    EXPECT_TRUE(ReplaceFirstNoCase(L"&nbsp;", L" ", s));
    EXPECT_EQ(s, L"x y&nbsp;");
}

// ---------------------------------------------------------------------------
// Layout

TEST(MarkupLayout, EmptyTextMeasuresOneLineOfGh)
{
    TMarkupCanvas mc;
    TMarkupParams p = mc.Params(L"");
    EXPECT_FALSE(RenderMarkup(p));
    EXPECT_EQ(p.XSize, 0);
    EXPECT_EQ(p.YSize, 16);
    EXPECT_EQ(p.MouseLink, -1);
    EXPECT_TRUE(mc.Runs().empty());
}

TEST(MarkupLayout, RunsWrapAtBlanksAndSizesAreReported)
{
    TMarkupCanvas mc;
    TMarkupParams p = mc.Params(L"aaaa bbbb cccc dddd", TRect{0, 0, 100, 100});
    RenderMarkup(p);
    EXPECT_EQ(mc.Runs(), (Runs{L"aaaa @0,16", L"bbbb @40,16", L"cccc @0,32", L"dddd@40,32"}));
    EXPECT_EQ(p.YSize, 32);
    EXPECT_EQ(p.XSize, 74);   // "aaaa bbbb" without its trailing blank, + 2
    EXPECT_EQ(p.StripVal, L"aaaa bbbb cccc dddd");
}

TEST(MarkupLayout, AWordWiderThanTheRectangleStandsAloneOnItsLine)
{
    TMarkupCanvas mc;
    TMarkupParams p = mc.Params(L"ab abcdefghij xy", TRect{0, 0, 40, 200});
    RenderMarkup(p);
    EXPECT_EQ(mc.Runs(), (Runs{L"ab @0,16", L"abcdefghij @0,32", L"xy@0,48"}));
    EXPECT_EQ(p.YSize, 48);
}

TEST(MarkupLayout, LineBreaksSpacingAndLinesThatDoNotFit)
{
    TMarkupCanvas mc;
    TMarkupParams p = mc.Params(L"a<BR><br>b");
    p.LineSpacing = 2;
    RenderMarkup(p);
    EXPECT_EQ(p.YSize, 54);   // three lines of 16 + 2
    EXPECT_EQ(mc.Runs(), (Runs{L"a@0,18", L"b@0,54"}));
    EXPECT_EQ(p.StripVal, L"a\r\r" L"b");

    // Only whole lines are laid out, unless only sizes are asked for.
    mc.Clear();
    p = mc.Params(L"a<BR>b<BR>c", TRect{0, 0, 100, 40});
    RenderMarkup(p);
    EXPECT_EQ(mc.Runs(), (Runs{L"a@0,16", L"b@0,32"}));
    p = mc.Params(L"a<BR>b<BR>c", TRect{0, 0, 100, 40});
    p.CheckHeight = true;
    EXPECT_FALSE(RenderMarkup(p));
    EXPECT_EQ(p.YSize, 48);
}

TEST(MarkupLayout, ParagraphAlignmentCarriesAcrossLines)
{
    TMarkupCanvas mc;
    TMarkupParams p = mc.Params(L"<P align=\"center\">ab</P>cd<BR><P ALIGN=\"right\">ef", TRect{0, 0, 100, 100});
    RenderMarkup(p);
    EXPECT_EQ(mc.Runs(), (Runs{L"ab@42,16", L"cd@42,32", L"ef@84,48"}));
    mc.Clear();
    // The last match wins: LEFT after RIGHT in one value.
    p = mc.Params(L"<P align=\"rightleft\">ab", TRect{0, 0, 100, 100});
    RenderMarkup(p);
    EXPECT_EQ(mc.Runs(), (Runs{L"ab@0,16"}));
}

TEST(MarkupLayout, AnchorsAreNumberedAndHitTested)
{
    TMarkupCanvas mc;
    const String text = L"go <A href=\"x1\">one</A> and <A href=\"x2\" title=\"Tip\">two</A>";
    TMarkupParams p = mc.Params(text);
    p.CheckOnly = true;
    p.XPos = 100;
    p.YPos = 8;
    EXPECT_TRUE(RenderMarkup(p));
    EXPECT_EQ(p.HyperLinks, 2);
    EXPECT_EQ(p.MouseLink, 2);
    EXPECT_EQ(p.AnchorVal, L"x2");
    EXPECT_EQ(p.FocusAnchor, L"Tip");
    EXPECT_EQ(p.HoverRect, (TRect{88, 0, 112, 16}));
    EXPECT_TRUE(mc.Runs().empty());   // a hit-test draws nothing

    p = mc.Params(text);
    p.CheckOnly = true;
    p.XPos = 30;
    p.YPos = 8;
    EXPECT_TRUE(RenderMarkup(p));
    EXPECT_EQ(p.MouseLink, 1);
    EXPECT_EQ(p.FocusAnchor, L"");

    for (TPoint miss : {TPoint{150, 8}, TPoint{100, 30}, TPoint{10, 8}}) {
        p = mc.Params(text);
        p.CheckOnly = true;
        p.XPos = miss.X;
        p.YPos = miss.Y;
        EXPECT_FALSE(RenderMarkup(p)) << miss.X << "," << miss.Y;
    }
}

TEST(MarkupLayout, AnchorColoursAndHoverDecoration)
{
    TMarkupCanvas mc;
    TMarkupParams p = mc.Params(L"<A href=\"a\">x</A><A href=\"b\">y</A>z");
    p.URLColor = clBlue;
    p.Hover = true;
    p.HoverLink = 2;
    p.HoverColor = clYellow;
    p.HoverFontColor = clRed;
    RenderMarkup(p);
    const auto t = mc.Records(L"DrawText");
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[0].Color, COLORREF(clBlue));
    EXPECT_EQ(t[0].BkColor, CLR_NONE);
    EXPECT_EQ(t[1].Color, COLORREF(clRed));
    EXPECT_EQ(t[1].BkColor, COLORREF(clYellow));
    EXPECT_EQ(t[2].Color, COLORREF(clBlack));   // back to the colour before the anchor
    EXPECT_EQ(t[2].BkColor, CLR_NONE);
}

TEST(MarkupLayout, FocusRectanglePerLinePartOfTheFocusAnchor)
{
    TMarkupCanvas mc;
    TMarkupParams p = mc.Params(L"aa <A href=\"x\">bbbb cccc</A>", TRect{0, 0, 80, 100});
    p.FocusLink = 0;
    RenderMarkup(p);
    const auto f = mc.Records(L"DrawFocusRect");
    ASSERT_EQ(f.size(), 2u);
    EXPECT_EQ(f[0].Rect, (TRect{23, 0, 65, 16}));
    EXPECT_EQ(f[1].Rect, (TRect{-1, 16, 33, 32}));
    EXPECT_EQ(p.FocusAnchor, L"x");
}

TEST(MarkupLayout, EntitiesAndPrefixProcessing)
{
    struct {
        const wchar_t* Text;
        const wchar_t* Shown;
        bool NoPrefix;
    } const cases[] = {
        {L"x&amp;y", L"x&&y", false},            // prefix processing shows one "&"
        {L"x&AMP;y", L"x&&y", false},            // any case
        {L"x&amp;y & z", L"x&y ", true},         // without prefix processing, one "&"
        {L"&amp;lt;", L"&&lt;", false},          // decoded once
        {L"&lt;B&gt;", L"<B>", false},           // starts no tag
        {L"a&nbsp;b", L"a b", false},
        {L"&LT;&lt;", L"<<", false},             // an upper-case form goes before a lower-case one
        {L"&lt;&LT;", L"<&LT;", false},          // but not after the last one
        {L"&euro;&copy;&quot;", L"\u20AC\u00A9\"", false},
    };
    for (const auto& c : cases) {
        TMarkupCanvas mc;
        TMarkupParams p = mc.Params(c.Text);
        RenderMarkup(p);
        const auto t = mc.Records(L"DrawText");
        ASSERT_FALSE(t.empty()) << c.Text;
        EXPECT_EQ(t[0].Text, c.Shown) << c.Text;
        EXPECT_EQ((t[0].Flags & DT_NOPREFIX) != 0, c.NoPrefix) << c.Text;
    }
}

TEST(MarkupLayout, MalformedTagsDropTheRightAmount)
{
    struct {
        const wchar_t* Text;
        Runs Want;
    } const cases[] = {
        {L"ab<", {L"ab@0,16"}},
        {L"ab<c", {L"ab@0,16"}},
        {L"ab<B cd", {L"ab@0,16"}},            // no ">": the rest goes
        {L"a<Q>b", {L"a@0,16", L"b@8,16"}},    // unknown tags vanish
        {L"a</B></I></A>b", {L"a@0,16", L"b@8,16"}},
    };
    for (const auto& c : cases) {
        TMarkupCanvas mc;
        TMarkupParams p = mc.Params(c.Text);
        RenderMarkup(p);
        EXPECT_EQ(mc.Runs(), c.Want) << c.Text;
    }
}

TEST(MarkupLayout, SubAndSuperscriptMakeRoomAndEndWithTheLine)
{
    TMarkupCanvas mc;
    TMarkupParams p = mc.Params(L"a<SUP>b</SUP><BR>c<sub>d");
    RenderMarkup(p);
    EXPECT_EQ(p.YSize, 40);   // 16 + 4, then 16 + 4
    EXPECT_EQ(mc.Runs(), (Runs{L"a@0,20", L"b@8,16", L"c@0,36", L"d@8,40"}));
}

TEST(MarkupLayout, ErrorMarkZigzagPhaseDependsOnXOnly)
{
    TMarkupCanvas mc;
    TMarkupParams p = mc.Params(L"a<E>bc</E>");
    RenderMarkup(p);
    const auto lines = mc.Records(L"LineTo");
    ASSERT_EQ(lines.size(), 8u);
    // x from 8 (a multiple of 4: phase 2) to 24 in steps of 2.
    EXPECT_EQ(lines[0].Points[0], (TPoint{8, 17}));
    EXPECT_EQ(lines[0].Points[1], (TPoint{10, 15}));
    EXPECT_EQ(lines[1].Points[1], (TPoint{12, 17}));
    EXPECT_EQ(lines[7].Points[1], (TPoint{24, 17}));
    EXPECT_EQ(lines[0].Color, COLORREF(clRed));
}

TEST(MarkupLayout, ListsIndentBulletsAndNumbers)
{
    TMarkupCanvas mc;
    TMarkupParams p = mc.Params(L"<UL><LI>one<LI>two<UL><LI>in</UL></UL><OL><LI>x<LI>y</OL>");
    RenderMarkup(p);
    EXPECT_EQ(mc.Runs(), (Runs{L"\u00B7@0,16", L"one@12,16", L"\u00B7@0,32", L"two@12,32", L"o@12,48",
                               L"in@24,48", L"1. @0,64", L"x@24,64", L"2. @0,80", L"y@24,80"}));
}

TEST(MarkupLayout, RuleBodyAndParagraphBackgrounds)
{
    TMarkupCanvas mc;
    TMarkupParams p = mc.Params(L"<BODY bgcolor=\"#00FF00\">ab<HR color=\"clred\">cd<P bgcolor=\"clblue\">ef</P>");
    RenderMarkup(p);
    const auto rects = mc.Records(L"Rectangle");
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(rects[0].Rect, (TRect{-2, 0, 200, 100}));
    EXPECT_EQ(rects[0].BkColor, COLORREF(0x00FF00));
    EXPECT_EQ(rects[1].Rect, (TRect{0, 16, 200, 32}));
    EXPECT_EQ(rects[1].BkColor, COLORREF(0xFF0000));
    const auto lines = mc.Records(L"LineTo");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].Points[0], (TPoint{0, 17}));
    EXPECT_EQ(lines[0].Color, COLORREF(0x0000FF));
}

TEST(MarkupLayout, BodyGradientByDirection)
{
    for (bool vertical : {false, true}) {
        TMarkupCanvas mc;
        TMarkupParams p = mc.Params(vertical ? L"<BODY bgcolor=\"#000000\" bgcolorto=\"#FFFFFF\" dir=\"V\">x"
                                             : L"<BODY bgcolor=\"#000000\" bgcolorto=\"#FFFFFF\">x",
                                    TRect{0, 0, 64, 64});
        RenderMarkup(p);
        const auto rects = mc.Records(L"Rectangle");
        ASSERT_EQ(rects.size(), 64u);
        EXPECT_EQ(rects[1].Rect, vertical ? (TRect{0, 1, 64, 3}) : (TRect{1, 0, 3, 64}));
        EXPECT_EQ(rects[63].BkColor, COLORREF(0xFBFBFB));   // one step short of the end
    }
}

TEST(MarkupLayout, TheCanvasKeepsItsStartingFont)
{
    TMarkupCanvas mc;
    TMarkupParams p = mc.Params(L"<B>aaaa bbbb", TRect{0, 0, 48, 100});
    TFont* f = mc.Canvas.Font();
    RenderMarkup(p);
    // The canvas keeps its starting font; the drawn lines were bold.
    EXPECT_FALSE(f->Style().Contains(fsBold));
    EXPECT_EQ(mc.Runs(), (Runs{L"aaaa @0,16", L"bbbb@0,32"}));
}

TEST(MarkupLayout, NoWrapCutsWithAnEllipsis)
{
    TMarkupCanvas mc;
    TMarkupParams p = mc.Params(L"aaaa bbbb cccc", TRect{0, 0, 60, 100});
    p.WordWrap = false;
    RenderMarkup(p);
    const auto t = mc.Records(L"DrawText");
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].Text, L"aaaa bbbb cccc");
    EXPECT_TRUE(t[0].Flags & DT_END_ELLIPSIS);
    EXPECT_EQ(p.YSize, 16);
}

TEST(MarkupLayout, ImagesFromAnImageListAtAnotherPixelDensity)
{
    TMarkupCanvas mc;
    TImageList il;
    il.SetWidth(16);
    il.SetHeight(16);
    TBitmap b(16, 16);
    b.Canvas()->Brush()->SetColor(clRed);
    b.Canvas()->FillRect(TRect{0, 0, 16, 16});
    il.Add(&b, nullptr);
    TMarkupParams p = mc.Params(L"a<IMG src=\"idx:0\">b<IMG src=\"idx:5\">c");
    p.Images = &il;
    RenderMarkup(p);
    EXPECT_EQ(mc.Runs(), (Runs{L"a@0,16", L"b@26,16", L"c@36,16"}));   // 16 + 2; a missing image 0 + 2
    EXPECT_EQ(mc.Surface.Px(10, 5), COLORREF(0x0000FF));
}

TEST(MarkupLayout, PicturesOfTheCacheAndTheContainer)
{
    const String file = UTF8ToString(std::string(VEL_TEST_DATA_DIR) + "/pictures/quad16.png");
    {
        // An address is loaded once into the cache and found there again.
        TMarkupCanvas mc;
        THTMLPictureCache cache;
        for (int pass = 0; pass < 2; ++pass) {
            mc.Clear();
            TMarkupParams p = mc.Params(L"a<IMG src=\"FILE://" + file + L"\">b<IMG src=\"http://127.0.0.1/none.png\">c");
            p.ImageCache = &cache;
            RenderMarkup(p);
            EXPECT_EQ(cache.Count(), 2) << "pass " << pass;
            // The kept address draws nothing and takes no room but the 2 of a missing picture.
            EXPECT_EQ(mc.Runs(), (Runs{L"a@0,16", L"b@26,16", L"c@36,16"})) << "pass " << pass;
        }
        EXPECT_EQ(mc.Surface.Px(10, 3), COLORREF(0x0000FF));   // the picture's red top-left quarter
    }
    {
        // A name without ":" is a picture of the container.
        TMarkupCanvas mc;
        TPictureContainer container(nullptr);
        TPictureItem* item = container.Items()->Add();
        item->SetName(L"Quad");
        item->Picture()->LoadFromFile(file);
        TMarkupParams p = mc.Params(L"a<IMG src=\"quad\">b<IMG src=\"other\">c");
        p.Container = &container;
        RenderMarkup(p);
        EXPECT_EQ(mc.Runs(), (Runs{L"a@0,16", L"b@26,16", L"c@36,16"}));
        EXPECT_EQ(mc.Surface.Px(10, 3), COLORREF(0x0000FF));
    }
}

TEST(MarkupLayout, AnImageThatDoesNotFitStartsTheNextLine)
{
    TMarkupCanvas mc;
    TImageList il;
    il.SetWidth(32);
    il.SetHeight(16);
    TBitmap b(32, 16);
    il.Add(&b, nullptr);
    TMarkupParams p = mc.Params(L"aaaa<IMG src=\"idx:0\">b", TRect{0, 0, 60, 100});
    p.Images = &il;
    RenderMarkup(p);
    EXPECT_EQ(mc.Runs(), (Runs{L"aaaa@0,16", L"b@34,32"}));
}

TEST(MarkupLayout, AnImageInsideALinkIsHitTested)
{
    TMarkupCanvas mc;
    TImageList il;
    TBitmap b(16, 16);
    il.Add(&b, nullptr);
    TMarkupParams p = mc.Params(L"<A href=\"pic\" title=\"T\"><IMG src=\"idx:0\"></A>");
    p.Images = &il;
    p.CheckOnly = true;
    p.XPos = 8;
    p.YPos = 8;
    EXPECT_TRUE(RenderMarkup(p));
    EXPECT_EQ(p.AnchorVal, L"pic");
    EXPECT_EQ(p.FocusAnchor, L"T");
}

TEST(MarkupLinks, OnlyWebAndMailAddressesAreFollowed)
{
    struct {
        const wchar_t* Anchor;
        bool Follow;
    } const cases[] = {
        {L"http://x", true},      {L"HTTPS://x", true},   {L"ftp:x", true},         {L"MailTo:a@b", true},
        {L"file:///etc", false},  {L"javascript:x", false}, {L"notepad.exe", false}, {L" http://x", false},
        {L"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsFollowableLink(c.Anchor), c.Follow) << c.Anchor;
}

TEST(MarkupLinks, TheShellOpensWebAddressesOnly)
{
    char tmpl[] = "/tmp/velmora-markup-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    const std::string dir = tmpl, log = dir + "/open.log";
    std::ofstream(dir + "/opener.sh") << "printf '%s\\n' \"$1\" >> '" << log << "'\n";
    SetShellOpenCommand({L"/bin/sh", UTF8ToString(dir + "/opener.sh")});
    EXPECT_FALSE(OpenMarkupLink(L"notepad.exe"));
    EXPECT_TRUE(OpenMarkupLink(L"https://example.org/a?b=1&c=2"));
    std::string got;
    for (int i = 0; i < 2000 && got.empty(); ++i) {
        std::ifstream in(log);
        std::getline(in, got);
        if (got.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    SetShellOpenCommand({});
    std::filesystem::remove_all(dir);
    EXPECT_EQ(got, "https://example.org/a?b=1&c=2");
}

TEST(MarkupLinks, AnEncodedAmpersandInAnAddressIsOneAmpersand)
{
    TMarkupCanvas mc;
    TMarkupParams p = mc.Params(L"<A href=\"http://x/?a=1&amp;b=2\">go</A>");
    p.CheckOnly = true;
    p.XPos = 4;
    p.YPos = 8;
    EXPECT_TRUE(RenderMarkup(p));
    EXPECT_EQ(p.AnchorVal, L"http://x/?a=1&b=2");
}

TEST(MarkupLayout, RotatedTextUsesOneSavedFont)
{
    TMarkupCanvas mc;
    TMarkupParams p = mc.Params(L"a<ROT a=\"90\">b&amp;c</ROT>d");
    RenderMarkup(p);
    EXPECT_EQ(mc.Runs(), (Runs{L"a@0,16", L"d@32,16"}));
    bool rotated = false;
    for (const TGdiRecord& r : GdiRecords(mc.Surface.Dc)) rotated |= r.Text == L"b&c" && r.Kind != L"DrawText";
    EXPECT_TRUE(rotated);
    // The canvas's own font is selected again afterwards.
    LOGFONTW lf{};
    GetObject(GetCurrentObject(mc.Surface.Dc, OBJ_FONT), sizeof(lf), &lf);
    EXPECT_EQ(lf.lfEscapement, 0);
}

TEST(MarkupLayout, ShellIconsTakeTheSystemListsSizes)
{
    TMarkupCanvas mc;
    TMarkupParams p = mc.Params(L"<IMG src=\"SSYS:.txt\">a<IMG src=\"lsys:folder\">b");
    RenderMarkup(p);
    EXPECT_EQ(mc.Runs(), (Runs{L"a@18,32", L"b@60,32"}));   // 16 + 2, then 32 + 2; the line as tall as the large icon
    EXPECT_EQ(p.YSize, 32);
}

TEST(MarkupImages, LayoutScalesWithTheDevicesPixelsPerInchWhileThePictureKeepsItsSize)
{
    TPictureContainer container(nullptr);
    TPictureItem* item = container.Items()->Add();
    item->SetName(L"q");
    item->Picture()->LoadFromFile(UTF8ToString(picture_test::PicturePath("quad16.png")));
    ASSERT_EQ(item->Picture()->Width(), 16);
    TImageList il;
    il.SetWidth(16);
    il.SetHeight(16);
    TBitmap b(16, 16);
    il.Add(&b, nullptr);
    struct {
        int Ppi;
        const wchar_t* Text;
        Runs Expected;
        int LineHeight;
    } const cases[] = {
        // WIDTH only keeps the aspect: 32 x 32 shown, laid out 32 x 32 at 96...
        {96, L"<IMG src=\"q\" width=\"32\">x", {L"x@34,32"}, 32},
        // ...and 40 x 40 at 120 pixels per inch (32 x 120 / 96).
        {120, L"<IMG src=\"q\" width=\"32\">x", {L"x@42,40"}, 40},
        // HEIGHT only: 16 wide, 20 at 120; both given: exactly those, scaled.
        {120, L"<IMG src=\"q\" height=\"16\">x", {L"x@22,20"}, 20},
        {120, L"<IMG src=\"q\" width=\"48\" height=\"8\">x", {L"x@62,16"}, 16},
        // No size: the picture's own, and an image-list image: both scaled.
        {144, L"<IMG src=\"q\">x", {L"x@26,24"}, 24},
        {144, L"<IMG src=\"idx:0\">x", {L"x@26,24"}, 24},
    };
    for (const auto& c : cases) {
        GdiSetScreenPixelsPerInch(c.Ppi);
        {
            TMarkupCanvas mc;
            TMarkupParams p = mc.Params(c.Text);
            p.Container = &container;
            p.Images = &il;
            RenderMarkup(p);
            EXPECT_EQ(mc.Runs(), c.Expected) << c.Ppi << " " << std::wstring(c.Text);
            EXPECT_EQ(p.YSize, c.LineHeight) << c.Ppi << " " << std::wstring(c.Text);
        }
        GdiSetScreenPixelsPerInch(96);
    }
    // The picture is drawn at its display size, not at the layout size.
    GdiSetScreenPixelsPerInch(120);
    {
        TMarkupCanvas mc;
        TMarkupParams p = mc.Params(L"<IMG src=\"q\" width=\"32\">");
        p.Container = &container;
        RenderMarkup(p);
        auto at = [&](int x, int y) { return GetPixel(mc.Surface.Dc, x, y) & 0xFFFFFF; };
        // Quadrants red, green, blue and white: green ends at x 31, blue at y 31.
        EXPECT_EQ(at(31, 2), 0x00FF00u);
        EXPECT_EQ(at(2, 31), 0xFF0000u);  // a COLORREF: blue in the high byte
        EXPECT_EQ(at(33, 10), 0xFFFFFFu);
        EXPECT_EQ(at(10, 33), 0xFFFFFFu);
    }
    GdiSetScreenPixelsPerInch(96);
}
