#include <gtest/gtest.h>

#include "platform/base/SysUtils.h"
#include "platform/ui/MaskEditModel.h"

namespace {

enum : Word { kEnd = 0x23, kHome = 0x24, kLeft = 0x25, kRight = 0x27 };

std::string U8(const String& s) { return UTF8Encode(s); }

class MaskEditModelTest : public ::testing::Test {
protected:
    TFormatSettingsScope FSettings;   // masks read the separators; tests set their own
    void SetUp() override
    {
        FormatSettings.TimeSeparator = L':';
        FormatSettings.DateSeparator = L'/';
    }
};

TEST_F(MaskEditModelTest, ParsesTheTimeMasks)
{
    struct Case {
        String Mask;
        Integer Length;
        String EditText;
        bool Saves;
        Char Blank;
    } cases[] = {
        {L"!90:00:00;1; ", 8, L"  :  :  ", true, L' '},
        {L"!90:00;1; ", 5, L"  :  ", true, L' '},
        {L"00/00;0;_", 5, L"__/__", false, L'_'},
        {L"00\\:0", 4, L"__:_", true, L'_'},   // escaped literal, default fields
        {L"", 0, L"", true, L'_'},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(U8(k.Mask));
        TMaskEditModel m;
        m.SetEditMask(k.Mask);
        EXPECT_EQ(k.Length, m.MaskLength());
        EXPECT_EQ(U8(k.EditText), U8(m.EditText()));
        EXPECT_EQ(k.Saves, m.SavesLiterals());
        EXPECT_EQ(k.Blank, m.BlankChar());
        EXPECT_EQ(k.Length > 0, m.IsMasked());
    }
    // The separator is the locale's.
    FormatSettings.TimeSeparator = L'.';
    TMaskEditModel dot;
    dot.SetEditMask(L"!90:00;1; ");
    EXPECT_EQ("  .  ", U8(dot.EditText()));
    EXPECT_TRUE(dot.IsLiteral(2));
}

TEST_F(MaskEditModelTest, TypingSkipsLiteralsAndRefusesWhatDoesNotFit)
{
    struct Case {
        String Mask;
        Integer Caret;
        String Typed;
        String EditText;
        Integer WantCaret;
        TMaskResult Last;
    } cases[] = {
        {L"!90:00:00;1; ", 0, L"123456", L"12:34:56", 8, TMaskResult::Changed},
        {L"!90:00:00;1; ", 0, L"1234567", L"12:34:56", 8, TMaskResult::Rejected},   // full
        {L"!90:00:00;1; ", 0, L"1a", L"1 :  :  ", 1, TMaskResult::Rejected},
        {L"!90:00:00;1; ", 0, L"7:30", L"7 :30:  ", 6, TMaskResult::Changed},     // ':' jumps
        {L"!90:00:00;1; ", 2, L"45", L"  :45:  ", 6, TMaskResult::Changed},       // from a literal
        {L"!90:00;1; ", 3, L"5", L"  :5 ", 4, TMaskResult::Changed},
        {L"!90:00;1; ", 5, L"1", L"  :  ", 5, TMaskResult::Rejected},
        {L"##0;1;_", 0, L"-+1", L"-+1", 3, TMaskResult::Changed},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(testing::Message() << U8(k.Mask) << " at " << k.Caret << " typed " << U8(k.Typed));
        TMaskEditModel m;
        m.SetEditMask(k.Mask);
        m.SetSel(k.Caret, k.Caret);
        TMaskResult last = TMaskResult::None;
        for (Char c : k.Typed) last = m.TypeChar(c);
        EXPECT_EQ(k.Last, last);
        EXPECT_EQ(U8(k.EditText), U8(m.EditText()));
        EXPECT_EQ(k.WantCaret, m.Caret());
    }
}

TEST_F(MaskEditModelTest, DeletingBlanksPositionsAndKeepsLiterals)
{
    TMaskEditModel m;
    m.SetEditMask(L"!90:00:00;1; ");
    m.SetEditText(L"12:34:56");
    m.SetSel(3, 3);
    EXPECT_EQ(TMaskResult::Changed, m.Backspace());   // over the literal to the '2'
    EXPECT_EQ("1 :34:56", U8(m.EditText()));
    EXPECT_EQ(1, m.Caret());
    EXPECT_EQ(TMaskResult::None, m.Delete());         // already blank; the caret stays
    EXPECT_EQ("1 :34:56", U8(m.EditText()));
    m.SetSel(0, 0);
    EXPECT_EQ(TMaskResult::Changed, m.Delete());
    EXPECT_EQ("  :34:56", U8(m.EditText()));
    EXPECT_EQ(0, m.Caret());
    EXPECT_EQ(TMaskResult::None, m.Backspace());

    m.SetSel(1, 7);   // a selection blanks its positions only
    EXPECT_EQ(TMaskResult::Changed, m.Backspace());
    EXPECT_EQ("  :  : 6", U8(m.EditText()));
    m.SetSel(6, 8);
    EXPECT_EQ(TMaskResult::Changed, m.TypeChar(L'9'));   // typing over a selection
    EXPECT_EQ("  :  :9 ", U8(m.EditText()));
}

TEST_F(MaskEditModelTest, TextKeepsLiteralsAndPadsMissingDigits)
{
    struct Case {
        String Mask, Set, EditText, Text;
        bool Complete;
    } cases[] = {
        {L"!90:00:00;1; ", L"12:34:56", L"12:34:56", L"12:34:56", true},
        {L"!90:00:00;1; ", L"7:05:09", L" 7:05:09", L" 7:05:09", true},   // '!' pads at the left
        {L"90:00:00;1; ", L"7:05:09", L"7 :05:09", L"7 :05:09", false},    // no "!": at the right
        {L"!90:00;1; ", L"9:3", L" 9: 3", L" 9: 3", false},
        {L"!90:00;1; ", L"", L"  :  ", L"  :  ", false},
        {L"!90:00;1; ", L"1234", L"12:34", L"12:34", true},              // no literals: in order
        {L"!90:00;1; ", L"ab:cd", L"  :  ", L"  :  ", false},            // misfits stay blank
        {L"00/00;0;_", L"12/34", L"12/34", L"1234", true},               // literals dropped
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(testing::Message() << U8(k.Mask) << " <- " << U8(k.Set));
        TMaskEditModel m;
        m.SetEditMask(k.Mask);
        m.SetText(k.Set);
        EXPECT_EQ(U8(k.EditText), U8(m.EditText()));
        EXPECT_EQ(U8(k.Text), U8(m.Text()));
        EXPECT_EQ(k.Complete, m.IsComplete());
    }
    TMaskEditModel m;
    m.SetEditMask(L"!90:00;1; ");
    m.SetEditText(L" 5:3 ");
    Integer missing = 0;
    EXPECT_FALSE(m.IsComplete(&missing));
    EXPECT_EQ(4, missing);
    EXPECT_FALSE(m.IsFull());
    m.SetEditText(L" 5:30");
    EXPECT_TRUE(m.IsComplete(&missing));   // the optional hour digit may stay blank
    EXPECT_EQ(-1, missing);
    EXPECT_FALSE(m.IsFull());
}

TEST_F(MaskEditModelTest, MovesAndPaste)
{
    TMaskEditModel m;
    m.SetEditMask(L"!90:00:00;1; ");
    m.SetSel(1, 1);
    m.KeyDown(kRight, false);
    EXPECT_EQ(3, m.Caret());   // past the literal
    m.KeyDown(kLeft, false);
    EXPECT_EQ(1, m.Caret());
    m.KeyDown(kEnd, true);
    EXPECT_EQ(1, m.SelStart());
    EXPECT_EQ(8, m.SelEnd());
    m.KeyDown(kHome, false);
    EXPECT_EQ(0, m.Caret());
    EXPECT_EQ(TMaskResult::None, m.KeyDown(0x41, false));

    EXPECT_EQ(TMaskResult::Changed, m.Paste(L"10:20:30"));
    EXPECT_EQ("10:20:30", U8(m.EditText()));
    m.SetSel(0, 0);
    EXPECT_EQ(TMaskResult::Rejected, m.Paste(L"9x"));
    EXPECT_EQ("90:20:30", U8(m.EditText()));

    TMaskEditModel plain;   // no mask: the plain edit does the work
    EXPECT_EQ(TMaskResult::None, plain.TypeChar(L'a'));
    EXPECT_EQ(TMaskResult::None, plain.Backspace());
}

}  // namespace
