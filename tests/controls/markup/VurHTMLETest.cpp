#include <gtest/gtest.h>

#include "controls/markup/VurHTMLE.h"
#include "tests/controls/markup/MarkupTestSupport.h"

// Inside the unit's namespace its routines are found before the engine's.
namespace VurHTMLE {
using Runs = std::vector<std::wstring>;

TEST(GridMarkupServices, ColoursAndHexBytes)
{
    struct {
        TColor Got, Want;
        const char* What;
    } const cases[] = {
        {TextToColor(L"#ff8000"), TColor(0x80FF), "hex, either case"},
        {TextToColor(L"#FF8000"), TColor(0x80FF), "upper case"},
        {TextToColor(L"#12"), TColor(0x12), "two digits"},
        {TextToColor(L"clred"), TColor(0xFF), "table"},
        {TextToColor(L"cl3ddkshadow"), TColor(0xFF000015), "system 21"},
        {TextToColor(L"clRed"), TColor(0), "case kept"},
        {TextToColor(L"clyellowgreen"), TColor(0), "sorts after the last entry"},
        {TextToColor(L"claaa"), TColor(0), "sorts before the first"},
        {TextToColor(L""), TColor(0), "empty"},
        {TColor(HexByteAt(L"#1g", 2)), TColor(0), "not a hex digit"},
        {TColor(HexByteAt(L"#1", 2)), TColor(0), "past the end"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.Got, c.Want) << c.What;
}

TEST(GridMarkupServices, EntitiesOnePassEachWay)
{
    struct {
        const wchar_t* Plain;
        bool All;
        const wchar_t* Encoded;
    } const cases[] = {
        {L"a & b", false, L"a &amp; b"},
        {L"*amp; stays", false, L"*amp; stays"},
        {L"<\"x\">", false, L"&lt;&quot;x&quot;&gt;"},
        {L"\u00E9t\u00E9 \u00C9", true, L"&eacute;t&eacute; &Eacute;"},
        {L"\u00E9", false, L"\u00E9"},
        {L"&amp;", true, L"&amp;amp;"},
        {L"\u20AC\u00AB\u00BB\u00A9", true, L"&euro;&laquo;&raquo;&copy;"},
    };
    for (const auto& c : cases) {
        String enc, dec;
        EncodeEntities(c.Plain, c.All, enc);
        EXPECT_EQ(enc, c.Encoded) << c.Plain;
        DecodeEntities(enc, c.All, dec);
        EXPECT_EQ(dec, c.Plain) << c.Plain;   // survives encode then decode
    }
    String d;
    DecodeEntities(L"&amp;lt;", false, d);
    EXPECT_EQ(d, L"&lt;");   // each entity decoded once
    DecodeEntities(L"&Eacute;&eacute;", true, d);
    EXPECT_EQ(d, L"\u00C9\u00E9");
    SpacesToNbsp(L"a b", d);
    EXPECT_EQ(d, L"a&nbsp;b");
}

TEST(GridMarkupServices, ControlTagRoutines)
{
    const String text = L"x<CONTROL TYPE=\"check\" ID=\"c1\" VALUE=\"TRUE\" WIDTH=\"20\" HEIGHT=\"30\">"
                        L"<control type=\"EDIT\" id=\"x\" value=\"a&amp;b\" width=\"50\" maxlen=\"12ab\" prop=\"p\">"
                        L"<CONTROL TYPE=\"RADIO\" ID=\"r1\" VALUE=\"TRUE\" WIDTH=\"16\">"
                        L"<CONTROL TYPE=\"EDIT\" ID=\"x\" VALUE=\"second\" WIDTH=\"50\">"
                        L"<CONTROL TYPE=\"RADIO\" ID=\"r2\" VALUE=\"FALSE\" WIDTH=\"16\">y";
    String v;
    EXPECT_TRUE(GetControlValue(text, L"x", v));
    EXPECT_EQ(v, L"a&b");
    v = L"keep";
    EXPECT_FALSE(GetControlValue(text, L"X", v));
    EXPECT_EQ(v, L"keep");
    EXPECT_EQ(GetControlMaxLen(text, L"x"), 12);
    EXPECT_EQ(GetControlMaxLen(text, L"c1"), 0);
    GetControlProp(text, L"x", v);
    EXPECT_EQ(v, L"p");
    NextEditControlID(text, L"", v);
    EXPECT_EQ(v, L"x");
    NextEditControlID(text, L"x", v);
    EXPECT_EQ(v, L"x");   // the second control with that ID
    NextEditControlID(L"<CONTROL TYPE=\"EDIT\" ID=\"last\" WIDTH=\"5\">", L"last", v);
    EXPECT_EQ(v, L"");
    EXPECT_TRUE(HasControlTags(L"a<control type=\"EDIT\">"));
    EXPECT_FALSE(HasControlTags(L"a<contro"));

    String t = text;
    EXPECT_TRUE(SetControlValue(t, L"c1", L"<new>"));
    EXPECT_EQ(t.find(L"x<CONTROL ID=\"c1\" VALUE=\"&lt;new&gt;\" WIDTH=\"20\" TYPE=\"CHECK\"><control type"), 0u);
    t = text;
    EXPECT_FALSE(SetControlValue(t, L"none", L"v"));
    EXPECT_EQ(t, text);

    String cleared;
    ClearRadioControls(text, cleared);
    GetControlValue(cleared, L"r1", v);
    EXPECT_EQ(v, L"FALSE");
    GetControlValue(cleared, L"c1", v);
    EXPECT_EQ(v, L"TRUE");

    String typ, id, val, w, h, prop, maxlen;
    // Whole names: "ID" is not found inside "WIDTH"; an unquoted value reads
    // empty instead of the next attribute's.
    ParseControlTag(L"CONTROL WIDTH=\"20\" TYPE=edit VALUE=\"v\">", typ, id, val, w, h, prop, maxlen);
    EXPECT_EQ(id, L"");
    EXPECT_EQ(typ, L"");
    EXPECT_EQ(val, L"v");
    EXPECT_EQ(w, L"20");
    PasswordMask(L"abc", v);
    EXPECT_EQ(v, L"***");
}

TEST(GridMarkupServices, LineBreakFlagAndCaseFolding)
{
    String r;
    CRToBRTags(L"a\r\nb<B>\r\n<I>c", false, r);
    EXPECT_EQ(r, L"a b<B><I>c");
    CRToBRTags(L"a\r\nb", true, r);
    EXPECT_EQ(r, L"a<BR>b");
    EXPECT_EQ(PosNoCase(L"\u00E9", L"x\u00C9"), 0);   // ASCII letters only
    EXPECT_EQ(PosNoCase(L"b", L"aB"), 2);
    Integer p = 0;
    EXPECT_EQ(FindPosUpper(L"CONTROL", L"<control", p), 2);
}

TEST(GridMarkupLayout, DifferencesFromTheLabelsEngine)
{
    TMarkupCanvas mc;
    TMarkupParams p = mc.Params(L"x&amp;y &eacute; & <B>z</B>");
    VurHTMLE::RenderMarkup(p);
    const auto t = mc.Records(L"DrawText");
    ASSERT_EQ(t.size(), 4u);
    EXPECT_EQ(t[0].Rect.Left, 1);   // one pixel in
    EXPECT_EQ(t[0].Text, L"x&&y ");   // prefix processing whatever the text holds
    EXPECT_FALSE(t[0].Flags & DT_NOPREFIX);
    EXPECT_TRUE(t[0].Flags & DT_EXTERNALLEADING);
    EXPECT_EQ(t[1].Text, L"\u00E9 ");
    EXPECT_EQ(p.XSize, 64);   // the widest line, nothing added
}

TEST(GridMarkupLayout, AWordSplitByTagsIsNeverBroken)
{
    TMarkupCanvas mc;
    TMarkupParams p = mc.Params(L"aaaa <B>bb</B>cc dd", TRect{0, 0, 60, 100});
    VurHTMLE::RenderMarkup(p);
    EXPECT_EQ(mc.Runs(), (Runs{L"aaaa @1,16", L"bb@41,16", L"cc @57,16", L"dd@0,32"}));
    mc.Clear();
    p = mc.Params(L"aaaa <B>bb</B>cc dd", TRect{0, 0, 60, 100});
    ::RenderMarkup(p);   // the labels' engine breaks it
    EXPECT_EQ(mc.Runs(), (Runs{L"aaaa @0,16", L"bb@40,16", L"cc @0,32", L"dd@24,32"}));
}

TEST(GridMarkupLayout, LineBreakFlagIsUnitWide)
{
    TMarkupCanvas mc;
    SetHTMLKeepLineBreak(false);
    TMarkupParams p = mc.Params(L"ab\r\ncd");
    VurHTMLE::RenderMarkup(p);
    SetHTMLKeepLineBreak(true);
    EXPECT_EQ(mc.Runs(), (Runs{L"ab @1,16", L"cd@25,16"}));
    mc.Clear();
    p = mc.Params(L"ab\r\ncd");
    VurHTMLE::RenderMarkup(p);
    // Only the first line starts one pixel in.
    EXPECT_EQ(mc.Runs(), (Runs{L"ab@1,16", L"cd@0,32"}));
}

TEST(GridMarkupLayout, HighlightTakesTheUnitColours)
{
    TMarkupCanvas mc;
    SetMarkupHighlightColors(clRed, clWhite);
    TMarkupParams p = mc.Params(L"<HI>x</HI>y");
    VurHTMLE::RenderMarkup(p);
    SetMarkupHighlightColors(clHighlight, clHighlightText);
    const auto t = mc.Records(L"DrawText");
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].Color, COLORREF(0xFFFFFF));
    EXPECT_EQ(t[0].BkColor, COLORREF(0x0000FF));
    EXPECT_EQ(t[1].Color, COLORREF(0));
    EXPECT_EQ(t[1].BkColor, CLR_NONE);
}

TEST(GridMarkupLayout, ControlTagsAreDrawnAndHitTested)
{
    TMarkupCanvas mc;
    const String text = L"a<CONTROL TYPE=\"BUTTON\" ID=\"b1\" VALUE=\"Go\" WIDTH=\"60\">"
                        L"<CONTROL TYPE=\"EDIT\" ID=\"e2\" VALUE=\"v\" WIDTH=\"40\">";
    TMarkupParams p = mc.Params(text);
    p.CheckOnly = true;
    p.XPos = 30;
    p.YPos = 10;
    EXPECT_TRUE(VurHTMLE::RenderMarkup(p));
    EXPECT_EQ(p.AnchorVal, L"ctrl");
    EXPECT_EQ(p.ControlID, L"b1");
    EXPECT_EQ(p.ControlType, L"BUTTON");
    EXPECT_EQ(p.ControlValue, L"Go");
    EXPECT_EQ(p.ControlRect, (TRect{9, 0, 69, 25}));

    // Asked for by ID, reported wherever the point is.
    p = mc.Params(text);
    p.CheckOnly = true;
    p.ControlID = L"e2";
    EXPECT_TRUE(VurHTMLE::RenderMarkup(p));
    EXPECT_EQ(p.ControlRect, (TRect{69, 0, 109, 26}));
    p = mc.Params(text);
    p.CheckOnly = true;
    p.ControlID = L"zz";
    EXPECT_FALSE(VurHTMLE::RenderMarkup(p));
    EXPECT_EQ(p.ControlRect, TRect());

    // Without WIDTH the tag leaves the text as if it were absent.
    mc.Clear();
    p = mc.Params(L"a<CONTROL TYPE=\"EDIT\" ID=\"n\">b");
    VurHTMLE::RenderMarkup(p);
    EXPECT_EQ(mc.Runs(), (Runs{L"a@1,16", L"b@9,16"}));
}

TEST(GridMarkupLayout, CheckBoxScalesWithTheResolutionFactor)
{
    for (auto [factor, width] : {std::pair{1.0, 16}, std::pair{2.0, 32}, std::pair{0.0, 16}}) {
        TMarkupCanvas mc;
        TMarkupParams p = mc.Params(L"<CONTROL TYPE=\"CHECK\" ID=\"c\" VALUE=\"true\" WIDTH=\"20\">");
        p.CheckOnly = true;
        p.ControlID = L"c";
        p.ResFactor = factor;
        VurHTMLE::RenderMarkup(p);
        EXPECT_EQ(p.ControlRect.Width(), width) << factor;
    }
    TMarkupCanvas mc;
    TMarkupParams p = mc.Params(L"<CONTROL TYPE=\"PASSWORD\" ID=\"p\" VALUE=\"abc\" WIDTH=\"60\">");
    VurHTMLE::RenderMarkup(p);
    bool masked = false;
    for (const auto& r : mc.Records(L"DrawText")) masked |= r.Text == L"***";
    EXPECT_TRUE(masked);
}

}  // namespace VurHTMLE
