// Text, line and cell-text routines.
#include <gtest/gtest.h>

#include <random>

#include "controls/foundation/VodUtil.h"
#include "platform/base/Lists.h"
#include "platform/gfx/Gdi.h"

namespace {

const String CR = L"\r", LF = L"\n", CRLF = L"\r\n";

}  // namespace

TEST(VodUtilText, SearchSplitAndJoin)
{
    Integer p = -1;
    EXPECT_EQ(VarPos(L"b", L"abc", p), 2);
    EXPECT_EQ(p, 2);
    EXPECT_EQ(VarPos(L"x", L"abc", p), 0);
    EXPECT_EQ(p, 0);
    EXPECT_EQ(UpperPos(L"BC", L"abc"), 2);
    EXPECT_EQ(UpperPos(L"bc", L"abc"), 0);   // the substring is given upper-cased
    EXPECT_EQ(CharPos(L'c', L"abcc"), 3);
    EXPECT_EQ(CharPos(L'x', L"abc"), 0);
    p = 9;
    EXPECT_EQ(FindCharPos(L'x', L"abc", p), 0);
    EXPECT_EQ(p, 9);   // untouched when absent
    EXPECT_EQ(FindCharPos(L'b', L"abc", p), 2);
    EXPECT_EQ(p, 2);
    EXPECT_EQ(WidePos(L"\u00E9", L"caf\u00E9"), 4);

    String s = L"a;b;c";
    EXPECT_EQ(CutToken(s, L';'), L"a");
    EXPECT_EQ(s, L"b;c");
    s = L"abc";
    EXPECT_EQ(CutToken(s, L';'), L"");
    EXPECT_EQ(s, L"abc");

    TStringList list;
    SplitToStrings(L';', L"a;;b;", &list);
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list[0], L"a");
    EXPECT_EQ(list[1], L"");
    EXPECT_EQ(list[2], L"b");
    EXPECT_EQ(list[3], L"");
    EXPECT_EQ(ConcatLines(&list), L"ab");

    EXPECT_EQ(OccurrencesOfChar(L'a', L"banana"), 3);
    EXPECT_EQ(OccurrencesOfCharIn(L'a', L'n', L"banana"), 3);

    struct Count { const wchar_t* Text; Integer N; };
    const Count counts[] = {
        {L"a,b,c", 2}, {L"a,\"b,c\",d", 2}, {L"a,'b,c',d", 2}, {L"a,\"b',c\",d", 2},
        {L"a,\"b,c", 2},          // open at the end: the inside counts too
        {L"\"x,y\",a,'b,c", 3},   // only the part still open adds
        {L"", 0},
    };
    for (const Count& c : counts) EXPECT_EQ(CountUnquotedChar(L',', c.Text), c.N) << UTF8Encode(c.Text);

    struct Close { const wchar_t* Text; Integer P; };
    const Close closes[] = {{L"abc\",x", 4}, {L"a\"\"b\",x", 5}, {L"abc\"", 4}, {L"a\"\"", 3},
                            {L"abc", 0}, {L"", 0}, {L"\"\"\"x", 3}, {L"\"", 1}};
    for (const Close& c : closes) {
        Integer pos = -1;
        EXPECT_EQ(FindClosingQuote(L'"', c.Text, pos), c.P) << UTF8Encode(c.Text);
        EXPECT_EQ(pos, c.P);
    }

    s = L"abc";
    FillWithChar(s, L'*');
    EXPECT_EQ(s, L"***");
    EXPECT_EQ(DoubleQuoteChars(L"a\"b\""), L"a\"\"b\"\"");
    EXPECT_EQ(UndoubleChar(L'\'', L"a''b'''c"), L"a'b''c");
    EXPECT_EQ(UndoubleChar(L'\'', L"abc"), L"abc");
}

TEST(VodUtilText, LineBreakCodings)
{
    EXPECT_EQ(RemoveCR(L"a" + CRLF + L"b" + CR), L"a" + LF + L"b");
    EXPECT_EQ(CRToLF(L"a" + CRLF + L"b"), L"a\n\nb");
    String s = L"a" + CRLF + L"b" + CR + L"c" + LF;
    CRLFToLF(s);
    EXPECT_EQ(s, L"a\nb\rc\n");
    EXPECT_EQ(LineBreaksToHTML(L"a" + CRLF + L"b"), L"a<br>\nb");
    EXPECT_EQ(LineBreaksToHTML(L"a\nb"), L"a\nb");
    EXPECT_EQ(EscapeLineBreaks(L"a" + CRLF + L"b\n"), L"a\\nb");
    EXPECT_EQ(UnescapeLineBreaks(L"a\\nb\\\\n"), L"a\rb\\\r");
    s = L"a" + CRLF + L"b";
    CRToTilde(s);
    EXPECT_EQ(s, L"a~b");
    s = L"a~b";
    TildeToCRLF(s);
    EXPECT_EQ(s, L"a" + CRLF + L"b");
    s = L"^";
    TildeToCRLF(s);
    EXPECT_EQ(s, L"");
    s = L"a" + CRLF + L"b" + CR + L"c";
    QuoteMultiLine(s);
    EXPECT_EQ(s, L"\"a\x0B" L"b\rc\"");
    s = L"a\x0B" L"b";
    VTToCRLF(s);
    EXPECT_EQ(s, L"a" + CRLF + L"b");

    const String raw = String(L"a\r\nb") + Char(0) + L"c";
    const String encoded = EncodeLineControls(raw);
    EXPECT_EQ(encoded, String(L"a\t\bb\x01" L"c"));
    EXPECT_EQ(EncodeLineControls(L"a\nb"), L"a\nb");   // no CR: unchanged
    EXPECT_EQ(DecodeLineControls(encoded, true), raw);
    EXPECT_EQ(DecodeLineControls(encoded, false), L"a");
    EXPECT_EQ(DecodeLineControls(L"a\tb", true), L"a\tb");   // no character 8: unchanged

    s = L"one" + CRLF + L"two" + CR + L"three";
    EXPECT_EQ(CutFirstLine(s, true), L"one");
    EXPECT_EQ(s, L"two\rthree");
    EXPECT_EQ(CutFirstLine(s, false), L"two");
    EXPECT_EQ(s, L"");
    s = L"single";
    EXPECT_EQ(CutFirstLine(s, true), L"single");
    EXPECT_EQ(s, L"");

    struct Lines { String Text; bool Multi; Integer N; };
    const Lines lines[] = {
        {L"a" + CRLF + L"b" + CRLF, true, 2}, {L"a" + CR + L"b" + CR + L"c", true, 2},
        {L"a" + CRLF + L"b" + CRLF + L"c", true, 3}, {L"a" + CRLF + L"b", false, 1}, {L"", true, 1},
        {CR + CR + CR + L"x", true, 2},   // the second CR is taken as the first one's LF
    };
    for (const Lines& l : lines) EXPECT_EQ(LineCount(l.Text, l.Multi), l.N);

    s = L"same";
    OemConvertOut(s);
    OemConvertIn(s);
    EXPECT_EQ(s, L"same");
}

TEST(VodUtilText, LongestLineOnAFixedMetricsCanvas)
{
    SetFixedMetricsFonts(true);
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(nullptr, 10, 10);
    HGDIOBJ old = SelectObject(dc, bmp);
    {
        TCanvas canvas;
        canvas.SetHandle(dc);
        EXPECT_EQ(LongestLine(&canvas, L"ab" + CRLF + L"abcd" + CRLF + L"wxyz" + CRLF + L"a"), L"abcd");
        EXPECT_EQ(LongestLine(&canvas, L"ab" + CRLF + CRLF + L"abcdef"), L"ab");   // ends at an empty line
        EXPECT_EQ(LongestLine(&canvas, L""), L"");
        canvas.SetHandle(nullptr);
    }
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    SetFixedMetricsFonts(false);
}

TEST(VodUtilText, DetectTextMarkupAndLinks)
{
    struct Case { String Text; bool Check; Byte Kind; };
    const Case cases[] = {
        {L"=A1", false, 3}, {L"{\\rtf1", false, 2}, {L"a<br>b", true, 1}, {L"a<br>b", false, 0},
        {L"mailto:x", false, 4}, {L"http://x", true, 4}, {L"=", false, 3}, {L"a", true, 0},
        {L"|", false, 0}, {L"", true, 0}, {L"|\\ab", false, 5},
        {String(L"|\\") + Char(0) + L"=" + Char(0) + L"1", false, 3},   // a packed formula
        {String(L"|\\") + Char(0) + L"=", false, 5},                    // the appended blank is no 0
        {L"x</", true, 1}, {L"x<Im", true, 1}, {L"x<iN", true, 1}, {L"a<CO", true, 1},
        {L"a<b>", true, 0}, {L"a<", true, 0}, {L"=a<br>", true, 3},
        {L"MAILTO:x", false, 0},   // the test is case-sensitive
    };
    for (const Case& c : cases)
        EXPECT_EQ(DetectTextMarkup(c.Text, c.Check), c.Kind) << UTF8Encode(c.Text) << " " << c.Check;

    EXPECT_TRUE(IsURLText(L"see http://x"));
    EXPECT_FALSE(IsURLText(L"http:/x"));
    String s = L"go http://a.b/c://d";
    StripURLProtocol(s);
    EXPECT_EQ(s, L"a.b/c://d");
    s = L"to mailto:me@x";
    StripURLProtocol(s);
    EXPECT_EQ(s, L"me@x");
    s = L"plain";
    StripURLProtocol(s);
    EXPECT_EQ(s, L"plain");

    String dest = L"unchanged";
    EXPECT_FALSE(LinkifyText(L"no link", L"HTTP://", dest));
    EXPECT_EQ(dest, L"unchanged");
    EXPECT_TRUE(LinkifyText(L"see Http://a.b/c?d=1&e_f, <b>", L"HTTP://", dest));
    EXPECT_EQ(dest, L"see <a href=\"Http://a.b/c?d=1&e_f\">Http://a.b/c?d=1&e_f</a>, &lt;b&gt;");
    EXPECT_TRUE(LinkifyText(L"www.x.org/\u00E9t\u00E9", L"WWW.", dest));
    EXPECT_EQ(dest, L"<a href=\"www.x.org/\">www.x.org/</a>\u00E9t\u00E9");
    EXPECT_TRUE(LinkifyText(L"a www.x{1}\\y!%()-:=@ z", L"WWW.", dest));
    EXPECT_EQ(dest, L"a <a href=\"www.x{1}\\y!%()-:=@\">www.x{1}\\y!%()-:=@</a> z");
}

TEST(VodUtilText, PackedWideText)
{
    EXPECT_EQ(PackWideText(L""), L"|\\");
    EXPECT_EQ(PackWideText(L"A\u20AC"), String(L"|\\") + Char(0) + L"A" + Char(0x20) + Char(0xAC));
    EXPECT_EQ(PackWideText(L"\U0001F600"), String(L"|\\") + Char(0xD8) + Char(0x3D) + Char(0xDE) + Char(0x00));
    EXPECT_EQ(UnpackWideText(L"plain"), L"plain");
    EXPECT_EQ(UnpackWideText(String(L"|\\") + Char(0) + L"A" + Char(1)), L"A");   // odd character dropped
    EXPECT_EQ(UnpackWideText(String(L"|\\") + Char(0x1FF) + Char(0x141)), L"A");  // in 16 bits

    std::mt19937 rng(2116);
    std::uniform_int_distribution<int> len(0, 50), kind(0, 2);
    std::uniform_int_distribution<uint32_t> low(0, 0xFF), bmp(0, 0xFFFF), astral(0x10000, 0x10FFFF);
    for (int round = 0; round < 3000; ++round) {
        String w;
        for (int i = len(rng); i > 0; --i) {
            uint32_t c = kind(rng) == 0 ? low(rng) : kind(rng) == 1 ? bmp(rng) : astral(rng);
            if (c >= 0xD800 && c <= 0xDFFF) c = 0xE000 + (c & 0xFF);   // code points, not halves of pairs
            w += Char(c);
        }
        String packed = PackWideText(w);
        for (Char c : packed) ASSERT_LE(uint32_t(c), 0xFFu);
        ASSERT_EQ(UnpackWideText(packed), w);
    }
}

TEST(VodUtilText, ColoursCapitalisationAndDiacritics)
{
    EXPECT_EQ(ColorToHTMLHex(TColor(0x00336699)), L"996633");
    EXPECT_EQ(ColorToHTMLHex(TColor(0xFF0000FF)), L"FF0000");   // only the low three bytes
    EXPECT_EQ(ColorToHTMLHex(clBtnFace), ColorToHTMLHex(TColor(uint32_t(clBtnFace) & 0xFFFFFF)));

    struct Case { const wchar_t* In; const wchar_t* Out; };
    const Case caps[] = {
        {L"o'neil", L"O'Neil"}, {L"mcdonald", L"McDonald"}, {L"henry viii", L"Henry Viii"},
        {L"john smith ii", L"John Smith II"}, {L"john smith iii", L"John Smith III"},
        {L"JOHN mcdonald", L"John McDonald"}, {L"ann-marie st.clair", L"Ann-Marie St.Clair"},
        {L"a mcb mcc", L"A McB Mcc"},       // only the first " Mc"
        {L"\u00E9mile z\u00D6e", L"\u00C9mile Z\u00F6e"}, {L"", L""}, {L"i", L"I"},
    };
    for (const Case& c : caps) EXPECT_EQ(CapitalizeWords(c.In), c.Out) << UTF8Encode(c.In);

    EXPECT_EQ(StripDiacritics(L"Cr\u00E8me br\u00FBl\u00E9e \u0160\u0103\u1EC7"), L"Creme brulee Sae");
    EXPECT_EQ(StripDiacritics(L"\u00DF\u00C6 \u4E2D"), L"\u00DF\u00C6 ");
    // The whole text, however long.
    String longText;
    for (int i = 0; i < 1000; ++i) longText += L"\u00E9\u00E0";
    EXPECT_EQ(StripDiacritics(longText), [] {
        String s;
        for (int i = 0; i < 1000; ++i) s += L"ea";
        return s;
    }());
}

TEST(VodUtilText, RandomTextsNeitherCrashNorHang)
{
    std::mt19937 rng(2117);
    const String alphabet = String(L"ab|\\{=<>/\"'~^\\n,;.-: MmcIi") + Char(0) + Char(1) + Char(8) + Char(9) +
                            Char(10) + Char(11) + Char(13) + L"\u00E9\u0301\u4E2D" + Char(0x1F600) + Char(0xD800);
    std::uniform_int_distribution<int> len(0, 40), pick(0, int(alphabet.size()) - 1);
    for (int round = 0; round < 20000; ++round) {
        String s;
        for (int i = len(rng); i > 0; --i) s += alphabet[size_t(pick(rng))];
        if (round % 3 == 0) s = L"|\\" + s;
        (void)DetectTextMarkup(s, round % 2 == 0);
        (void)UnpackWideText(s);
        ASSERT_EQ(UnpackWideText(PackWideText(StripDiacritics(s))), StripDiacritics(s));
        Integer p;
        (void)FindClosingQuote(L'"', s, p);
        (void)CountUnquotedChar(L',', s);
        String dest;
        (void)LinkifyText(s, L"HTTP://", dest);
        (void)CapitalizeWords(s);
        (void)DecodeLineControls(EncodeLineControls(s), round % 2 == 0);
        (void)LineCount(s, true);
        String t = s;
        while (!t.empty()) (void)CutFirstLine(t, true);
        t = s;
        TildeToCRLF(t);
        CRToTilde(t);
        (void)UnescapeLineBreaks(EscapeLineBreaks(s));
        t = s;
        StripURLProtocol(t);
    }
}
