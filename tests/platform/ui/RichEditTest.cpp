#include <gtest/gtest.h>

#include <random>

#include "platform/ui/RichEdit.h"

namespace {

std::string U8(const String& s) { return UTF8Encode(s); }

TRichDocument Read(const std::string& rtf)
{
    TRichDocument d;
    ReadRtf(rtf, d);
    return d;
}

TEST(RichDocument, ReplaceSplitsParagraphsAndKeepsFormats)
{
    TRichDocument d;
    d.SetText(L"hello\r\nworld");
    ASSERT_EQ(d.Paragraphs().size(), 2u);
    EXPECT_EQ(d.Length(), 11);
    TRichCharFormat bold = d.DefaultFormat;
    bold.Style.Include(fsBold);
    d.SetFormat(3, 5, bold, TRichFormatParts{rfStyle});  // "lo" + end + "wo"
    TRichFormatParts same;
    d.GetFormat(0, 11, &same);
    EXPECT_FALSE(same.Contains(rfStyle));
    EXPECT_TRUE(same.Contains(rfName));
    EXPECT_TRUE(d.GetFormat(3, 5, &same).Style.Contains(fsBold));
    EXPECT_TRUE(same.Contains(rfStyle));
    EXPECT_FALSE(d.GetFormat(8, 3).Style.Contains(fsBold));
    // The typing format is the character before the caret.
    EXPECT_TRUE(d.GetFormat(5, 0).Style.Contains(fsBold));

    d.Replace(4, 4, L"X\nY", d.DefaultFormat);  // "hell" X | Y "rld"
    EXPECT_EQ(U8(d.Text()), "hellX\r\nYrld");
    d.Replace(0, 100, L"", d.DefaultFormat);
    EXPECT_EQ(d.Length(), 0);
    EXPECT_EQ(d.Paragraphs().size(), 1u);
}

TEST(RichRtf, RoundTripKeepsEveryAttribute)
{
    TRichDocument d;
    TRichCharFormat a = d.DefaultFormat;
    a.Name = L"Courier New";
    a.Height = 280;
    a.Style = {fsBold, fsItalic, fsUnderline, fsStrikeOut};
    a.Color = 0x3366CC;
    TRichCharFormat sup = d.DefaultFormat;
    sup.Script = TRichScript::Superscript;
    TRichCharFormat up = d.DefaultFormat;
    up.Offset = 60;
    TRichCharFormat dn = d.DefaultFormat;
    dn.Offset = -40;
    dn.Script = TRichScript::Subscript;
    d.Replace(0, 0, L"plain {\\} \u00E9\u20AC\u4E2D\U0001F600\tx\vy", d.DefaultFormat);
    d.Replace(d.Length(), 0, L"\r\nfancy", a);
    d.Replace(d.Length(), 0, L"sup", sup);
    d.Replace(d.Length(), 0, L"up", up);
    d.Replace(d.Length(), 0, L"dn\r\n\r\nend", dn);
    d.SetAlignment(d.Length() - 1, 0, paCenter);
    d.SetAlignment(13, 0, paJustify);

    const std::string rtf = WriteRtf(d);
    EXPECT_TRUE(IsRtf(rtf));
    TRichDocument back = Read(rtf);
    ASSERT_EQ(back.Paragraphs().size(), d.Paragraphs().size()) << rtf;
    for (size_t i = 0; i < d.Paragraphs().size(); ++i) {
        const TRichParagraph& p = d.Paragraphs()[i];
        const TRichParagraph& q = back.Paragraphs()[i];
        EXPECT_EQ(q.Alignment, p.Alignment) << i;
        ASSERT_EQ(q.Runs.size(), p.Runs.size()) << i << rtf;
        for (size_t r = 0; r < p.Runs.size(); ++r) {
            EXPECT_EQ(U8(q.Runs[r].Text), U8(p.Runs[r].Text));
            EXPECT_TRUE(q.Runs[r].Format == p.Runs[r].Format) << i << "/" << r;
        }
    }
    EXPECT_EQ(back.Paragraphs().back().Alignment, paCenter);
    // Writing again gives the same bytes.
    EXPECT_EQ(WriteRtf(back), rtf);
}

TEST(RichRtf, ReadsForeignDocuments)
{
    const TRichDocument d = Read(
        "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\fcharset161 "
        "Greek Font;}}{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
        "{\\*\\generator Something 1.0;}{\\info{\\title ignored}}\\viewkind4\\uc1\\pard\\qr "
        "\\'cf\\'f0 {\\f1\\'e1}\\u8364\\'80 \\uc2\\u20013\\'d6\\'d0 \\unknownword12 x"
        "\\par\\pard\\cf1\\b bold\\b0\\cf2\\i it\\i0\\cf0\\up4 r\\dn2 l\\up0\\super s\\nosupersub\\fs30 "
        "big\\line\\tab{\\*\\unknowndest hidden {nested}}end\\par}");
    ASSERT_EQ(d.Paragraphs().size(), 3u);
    const TRichParagraph& p0 = d.Paragraphs()[0];
    EXPECT_EQ(p0.Alignment, paRightJustify);
    // A space after \'hh is text; the \u fallbacks (one, then two bytes) are skipped.
    EXPECT_EQ(U8(p0.Text()), U8(L"\u041f\u0440 \u03b1\u20ac \u4e2d x"));
    EXPECT_EQ(U8(p0.Runs[1].Format.Name), "Greek Font");
    const TRichParagraph& p1 = d.Paragraphs()[1];
    EXPECT_EQ(p1.Alignment, paLeftJustify);
    EXPECT_EQ(U8(p1.Text()), "bolditrlsbig\v\tend");
    EXPECT_EQ(p1.Runs[0].Format.Color, 0x0000FF);
    EXPECT_TRUE(p1.Runs[0].Format.Style.Contains(fsBold));
    EXPECT_EQ(p1.Runs[1].Format.Color, 0xFF0000);
    EXPECT_TRUE(p1.Runs[1].Format.Style.Contains(fsItalic));
    EXPECT_EQ(p1.Runs[2].Format.Offset, 40);
    EXPECT_EQ(p1.Runs[3].Format.Offset, -20);
    EXPECT_EQ(p1.Runs[4].Format.Script, TRichScript::Superscript);
    EXPECT_EQ(p1.Runs[5].Format.Height, 300);
    EXPECT_EQ(U8(d.Paragraphs()[2].Text()), "");

    // Double-byte pages: a character split over two escapes, a cut one.
    EXPECT_EQ(U8(Read("{\\rtf1\\ansicpg932 \\'82\\'a0\\'82}").Text()), U8(L"\u3042?"));
}

TEST(RichRtf, MalformedInputGivesWhatCouldBeRead)
{
    // Truncated, unbalanced, absurd numbers, cut escapes and deep nesting.
    const std::string cases[] = {
        "", "{", "}", "{\\rtf1", "{\\rtf1 abc", "{\\rtf1 abc\\", "{\\rtf1 a\\'", "{\\rtf1 a\\'4",
        "{\\rtf1 }}}} b", "{\\rtf1 \\u-99999999999999999999 \\fs99999999999999 x}",
        "{\\rtf1{\\fonttbl{\\f0 Arial", "{\\rtf1{\\colortbl\\red999;", "{\\rtf1\\uc99999\\u65 abc}",
        "{\\rtf1\\ansicpg99999 \\'e9}", "{\\rtf1\\ansicpg932 \\'82}", "{\\rtf1\\*",
        std::string(100000, '{') + "deep" + std::string(100000, '}') + "after",
    };
    for (const std::string& c : cases) {
        TRichDocument d = Read(c);
        EXPECT_GE(d.Paragraphs().size(), 1u);
        (void)WriteRtf(d);
    }
    EXPECT_EQ(U8(Read("{\\rtf1 abc").Text()), "abc");
    EXPECT_EQ(U8(Read("{\\rtf1 a\\'4").Text()), "a\x04");
    EXPECT_EQ(U8(Read("{\\rtf1 \\uc99999\\u65 abc}").Text()), "A");
    EXPECT_EQ(U8(Read(std::string(300, '{') + "\\rtf1 x" + std::string(300, '}') + "y").Text()), "y");

    std::mt19937 rng(7);
    const char alphabet[] = "{}\\'; abu0123456789-*\r\nfsparcfuprtfqc";
    for (int i = 0; i < 300; ++i) {
        std::string s = "{\\rtf1 ";
        const int n = static_cast<int>(rng() % 200);
        for (int k = 0; k < n; ++k) s += alphabet[rng() % (sizeof(alphabet) - 1)];
        TRichDocument d = Read(s);
        TRichDocument again = Read(WriteRtf(d));
        EXPECT_EQ(U8(again.Text()), U8(d.Text())) << s;
    }
}

}  // namespace

namespace {

TEST(RichText, PlainTextLoadsAndSavesAsText)
{
    TRichDocument d;
    const std::string rtf = "{\\rtf1 a\\b b\\par c}";
    LoadRichText(rtf, d, true);  // plain text: the RTF stays literal
    EXPECT_EQ(U8(d.Text()), rtf);
    LoadRichText(rtf, d, false);
    EXPECT_EQ(U8(d.Text()), "ab\r\nc");
    EXPECT_EQ(SaveRichText(d, true), "ab\r\nc");
    LoadRichText("\xEF\xBB\xBF\xC3\xA9\nx", d, false);  // UTF-8 with its mark
    EXPECT_EQ(U8(d.Text()), U8(L"\u00e9\r\nx"));
    LoadRichText("\xE9", d, false);  // ANSI without a mark
    EXPECT_EQ(U8(d.Text()), U8(L"\u00e9"));
    EXPECT_EQ(SaveRichText(d, true), "\xE9");
}

}  // namespace
