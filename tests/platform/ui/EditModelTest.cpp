#include <gtest/gtest.h>

#include "platform/ui/EditModel.h"

namespace {

enum : Word { kLeft = 0x25, kUp = 0x26, kRight = 0x27, kDown = 0x28, kHome = 0x24, kEnd = 0x23,
              kPrior = 0x21, kNext = 0x22, kDelete = 0x2E, kInsert = 0x2D };

std::string U8(const String& s) { return UTF8Encode(s); }

TEditResult TypeAll(TEditModel& m, const String& s)
{
    TEditResult last = TEditResult::None;
    for (Char c : s) {
        TEditResult r = m.TypeChar(c);
        if (r != TEditResult::Changed) last = r;
    }
    return last;
}

TEST(EditModel, TypingThroughTheStyleFilters)
{
    struct Case {
        const char* Name;
        std::function<void(TEditModel&)> Setup;
        String Typed;
        String Text;
        TEditResult Refusal;   // the last refusal, None when all went in
    } cases[] = {
        {"plain", {}, L"ab c", L"ab c", TEditResult::None},
        {"upper", [](TEditModel& m) { m.SetCharCase(TEditCharCase::Upper); }, L"aBcé", L"ABCÉ",
         TEditResult::None},
        {"lower", [](TEditModel& m) { m.SetCharCase(TEditCharCase::Lower); }, L"ÄBc", L"äbc",
         TEditResult::None},
        {"numbers", [](TEditModel& m) { m.SetNumbersOnly(true); }, L"1a2-3", L"123",
         TEditResult::NotANumber},
        {"limit", [](TEditModel& m) { m.SetMaxLength(3); }, L"abcd", L"abc", TEditResult::TooLong},
        {"read-only", [](TEditModel& m) { m.SetReadOnly(true); }, L"a", L"", TEditResult::ReadOnly},
        {"single-line ignores Enter and Tab", {}, L"a\rb\tc\x01", L"abc", TEditResult::None},
        {"multi-line Enter and Tab", [](TEditModel& m) { m.SetMultiLine(true); }, L"a\rb\tc",
         L"a\r\nb\tc", TEditResult::None},
        {"backspace", {}, L"ab\bc\b\b\bx", L"x", TEditResult::None},
        {"backspace removes a whole CRLF", [](TEditModel& m) { m.SetMultiLine(true); },
         L"a\r\b", L"a", TEditResult::None},
        {"read-only backspace", [](TEditModel& m) { m.SetText(L"ab"); m.SetSel(2, 2);
                                                    m.SetReadOnly(true); },
         L"\b", L"ab", TEditResult::ReadOnly},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.Name);
        TEditModel m;
        if (k.Setup) k.Setup(m);
        EXPECT_EQ(k.Refusal, TypeAll(m, k.Typed));
        EXPECT_EQ(U8(k.Text), U8(m.Text()));
        EXPECT_EQ(m.Length(), m.Caret());
        EXPECT_EQ(m.Caret(), m.Anchor());
    }
}

TEST(EditModel, TypingReplacesTheSelectionAndOverwriteKeepsLineBreaks)
{
    TEditModel m;
    m.SetMultiLine(true);
    m.SetText(L"abc\r\nde");
    m.SetSel(1, 3);
    EXPECT_EQ(TEditResult::Changed, m.TypeChar(L'X'));
    EXPECT_EQ(U8(L"aX\r\nde"), U8(m.Text()));
    EXPECT_EQ(2, m.Caret());

    m.KeyDown(kInsert, false, false);
    ASSERT_TRUE(m.Overwrite());
    m.SetSel(1, 1);
    TypeAll(m, L"123");   // overwrites "X", then stops at the break
    EXPECT_EQ(U8(L"a123\r\nde"), U8(m.Text()));

    // Overwriting keeps the length, so a full edit still takes it; an
    // insert (here before the break) does not fit.
    m.SetMaxLength(m.Length());
    m.SetSel(0, 0);
    EXPECT_EQ(TEditResult::Changed, m.TypeChar(L'z'));
    EXPECT_EQ(U8(L"z123\r\nde"), U8(m.Text()));
    m.SetSel(4, 4);
    EXPECT_EQ(TEditResult::TooLong, m.TypeChar(L'q'));
}

TEST(EditModel, KeyboardMoves)
{
    // Lines: "one two" 0..7, "three" 9..14, "" 16, "four" 18..22.
    const String text = L"one two\r\nthree\r\n\r\nfour";
    struct Case {
        Integer Anchor, Caret;
        Word Key;
        bool Shift, Ctrl;
        Integer WantAnchor, WantCaret;
    } cases[] = {
        {7, 7, kRight, false, false, 9, 9},       // over the CRLF in one step
        {9, 9, kLeft, false, false, 7, 7},
        {0, 0, kLeft, false, false, 0, 0},
        {22, 22, kRight, false, false, 22, 22},
        {2, 5, kLeft, false, false, 2, 2},        // a selection collapses to its start
        {5, 2, kRight, false, false, 5, 5},       // ... or its end
        {2, 5, kRight, true, false, 2, 6},        // Shift extends from the anchor
        {0, 0, kRight, false, true, 4, 4},        // Ctrl: word by word
        {4, 4, kRight, false, true, 9, 9},
        {14, 14, kRight, false, true, 18, 18},
        {18, 18, kLeft, false, true, 9, 9},
        {6, 6, kLeft, false, true, 4, 4},
        {4, 4, kLeft, false, true, 0, 0},
        {11, 11, kHome, false, false, 9, 9},
        {11, 11, kEnd, true, false, 11, 14},
        {11, 11, kHome, false, true, 0, 0},
        {11, 11, kEnd, false, true, 22, 22},
        {6, 6, kDown, false, false, 14, 14},      // column 6 clamps to "three"
        {2, 2, kUp, false, false, 2, 2},          // already on the first line
        {20, 20, kDown, false, false, 20, 20},
        {2, 2, kNext, true, false, 2, 20},        // a page (10 lines) ends on the last line
        {20, 20, kPrior, false, false, 2, 2},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(testing::Message() << k.Anchor << "," << k.Caret << " key " << k.Key
                                        << (k.Shift ? " shift" : "") << (k.Ctrl ? " ctrl" : ""));
        TEditModel m;
        m.SetMultiLine(true);
        m.SetText(text);
        m.SetSel(k.Anchor, k.Caret);
        m.KeyDown(k.Key, k.Shift, k.Ctrl);
        EXPECT_EQ(k.WantAnchor, m.Anchor());
        EXPECT_EQ(k.WantCaret, m.Caret());
    }
}

TEST(EditModel, UpDownKeepTheColumnTheyStartedFrom)
{
    TEditModel m;
    m.SetMultiLine(true);
    m.SetText(L"one two\r\nthree\r\n\r\nfour");
    m.SetSel(6, 6);
    Integer want[] = {14, 16, 22};   // col 5 of "three", the empty line, end of "four"
    for (Integer w : want) {
        m.KeyDown(kDown, false, false);
        EXPECT_EQ(w, m.Caret());
    }
    m.KeyDown(kUp, false, false);
    m.KeyDown(kUp, false, false);
    m.KeyDown(kUp, false, false);
    EXPECT_EQ(6, m.Caret());
    // A sideways move forgets the column.
    m.KeyDown(kLeft, false, false);
    m.KeyDown(kDown, false, false);
    EXPECT_EQ(14, m.Caret());
    m.KeyDown(kUp, false, false);
    EXPECT_EQ(5, m.Caret());

    // Single-line edits leave vertical keys alone.
    TEditModel s;
    s.SetText(L"abc");
    s.SetSel(1, 1);
    EXPECT_EQ(TEditResult::None, s.KeyDown(kDown, false, false));
    EXPECT_EQ(TEditResult::None, s.KeyDown(kNext, false, false));
    EXPECT_EQ(1, s.Caret());
}

TEST(EditModel, DeleteKey)
{
    TEditModel m;
    m.SetMultiLine(true);
    m.SetText(L"ab\r\ncd");
    m.SetSel(2, 2);
    EXPECT_EQ(TEditResult::Changed, m.KeyDown(kDelete, false, false));
    EXPECT_EQ(U8(L"abcd"), U8(m.Text()));
    m.SetSel(4, 4);
    EXPECT_EQ(TEditResult::None, m.KeyDown(kDelete, false, false));
    m.SetSel(1, 3);
    EXPECT_EQ(TEditResult::Changed, m.KeyDown(kDelete, false, false));
    EXPECT_EQ(U8(L"ad"), U8(m.Text()));
    EXPECT_EQ(TEditResult::None, m.KeyDown(kDelete, true, false));   // Shift+Del: the window's cut
    m.SetReadOnly(true);
    EXPECT_EQ(TEditResult::ReadOnly, m.KeyDown(kDelete, false, false));
    EXPECT_EQ(U8(L"ad"), U8(m.Text()));
}

TEST(EditModel, SetSelLikeTheEditMessage)
{
    struct Case {
        Integer Start, End, WantAnchor, WantCaret;
    } cases[] = {
        {0, -1, 0, 5}, {1, 3, 1, 3}, {4, 2, 4, 2}, {2, 99, 2, 5}, {99, 99, 5, 5}, {-5, 2, 0, 2},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(testing::Message() << k.Start << "," << k.End);
        TEditModel m;
        m.SetText(L"hello");
        m.SetSel(k.Start, k.End);
        EXPECT_EQ(k.WantAnchor, m.Anchor());
        EXPECT_EQ(k.WantCaret, m.Caret());
        EXPECT_EQ(std::min(k.WantAnchor, k.WantCaret), m.SelStart());
        EXPECT_EQ(std::max(k.WantAnchor, k.WantCaret), m.SelEnd());
    }
    TEditModel m;
    m.SetText(L"hello");
    m.SetSel(1, 4);
    m.SetSel(-1, 0);   // deselects, the caret stays
    EXPECT_EQ(4, m.Caret());
    EXPECT_EQ(0, m.SelLength());
    m.SetSel(1, 4);
    EXPECT_EQ("ell", U8(m.SelText()));
}

TEST(EditModel, DoubleClickSelectsTheWordOrTheBlanks)
{
    const String text = L"hello  world\r\nx";
    struct Case {
        Integer Pos, Start, End;
    } cases[] = {
        {0, 0, 5}, {3, 0, 5}, {5, 0, 5},   // at a word's end the word before
        {6, 5, 7},                          // inside the blanks
        {7, 7, 12}, {12, 7, 12},
        {15, 14, 15},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.Pos);
        TEditModel m;
        m.SetMultiLine(true);
        m.SetText(text);
        m.SelectWordAt(k.Pos);
        EXPECT_EQ(k.Start, m.SelStart());
        EXPECT_EQ(k.End, m.SelEnd());
    }
    TEditModel e;
    e.SelectWordAt(3);
    EXPECT_EQ(0, e.SelLength());
}

TEST(EditModel, UndoTogglesTheLastChange)
{
    TEditModel m;
    m.SetText(L"start");
    EXPECT_FALSE(m.CanUndo());
    m.SetSel(5, 5);
    TypeAll(m, L" abc");   // one typing run is one change
    EXPECT_TRUE(m.Modified());
    EXPECT_EQ(TEditResult::Changed, m.Undo());
    EXPECT_EQ("start", U8(m.Text()));
    EXPECT_EQ(5, m.Caret());
    m.Undo();   // undoing the undo restores the typing
    EXPECT_EQ("start abc", U8(m.Text()));

    // A move ends the run: only the second run is undone.
    m.KeyDown(kHome, false, false);
    TypeAll(m, L">>");
    EXPECT_EQ(">>start abc", U8(m.Text()));
    m.Undo();
    EXPECT_EQ("start abc", U8(m.Text()));

    struct Case {
        const char* Name;
        std::function<void(TEditModel&)> Change;
        String After;
    } cases[] = {
        {"paste", [](TEditModel& x) { x.SetSel(0, 2); x.Paste(L"XYZ"); }, L"XYZcdef"},
        {"cut", [](TEditModel& x) { x.SetSel(1, 3); x.Cut(); }, L"adef"},
        {"backspace", [](TEditModel& x) { x.SetSel(3, 3); x.TypeChar(8); }, L"abdef"},
        {"delete", [](TEditModel& x) { x.SetSel(0, 0); x.KeyDown(kDelete, false, false); },
         L"bcdef"},
        {"replace", [](TEditModel& x) { x.SetSel(6, 6); x.ReplaceSel(L"!"); }, L"abcdef!"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.Name);
        TEditModel x;
        x.SetText(L"abcdef");
        k.Change(x);
        EXPECT_EQ(U8(k.After), U8(x.Text()));
        ASSERT_TRUE(x.CanUndo());
        x.Undo();
        EXPECT_EQ("abcdef", U8(x.Text()));
    }

    // What empties the buffer.
    TEditModel y;
    y.TypeChar(L'a');
    y.SetText(L"new");
    EXPECT_FALSE(y.CanUndo());
    EXPECT_FALSE(y.Modified());
    y.TypeChar(L'a');
    y.ReplaceSel(L"b", false);
    EXPECT_FALSE(y.CanUndo());
    EXPECT_EQ(TEditResult::None, y.Undo());
    EXPECT_EQ("abnew", U8(y.Text()));
}

TEST(EditModel, ReplaceSelPasteAndCutFollowTheStyles)
{
    TEditModel m;
    m.SetCharCase(TEditCharCase::Upper);
    EXPECT_EQ(TEditResult::Changed, m.ReplaceSel(L"one\r\ntwo"));   // single-line: first line only
    EXPECT_EQ("ONE", U8(m.Text()));

    m.SetMaxLength(5);
    EXPECT_EQ(TEditResult::TooLong, m.Paste(L"abcdef"));   // cut to what fits
    EXPECT_EQ("ONEAB", U8(m.Text()));
    EXPECT_EQ(TEditResult::TooLong, m.Paste(L"x"));
    EXPECT_EQ("ONEAB", U8(m.Text()));

    TEditModel ml;
    ml.SetMultiLine(true);
    ml.SetMaxLength(2);
    ml.Paste(L"a\r\nb");   // a CRLF is never split by the limit
    EXPECT_EQ("a", U8(ml.Text()));

    TEditModel n;
    n.SetNumbersOnly(true);
    EXPECT_EQ(TEditResult::NotANumber, n.Paste(L"12a"));
    EXPECT_EQ(TEditResult::Changed, n.Paste(L"123"));
    EXPECT_EQ(TEditResult::Changed, n.ReplaceSel(L"x"));   // the message itself is not filtered
    EXPECT_EQ("123x", U8(n.Text()));

    TEditModel r;
    r.SetText(L"keep");
    r.SelectAll();
    r.SetReadOnly(true);
    TEditResult res;
    EXPECT_EQ("", U8(r.Cut(&res)));
    EXPECT_EQ(TEditResult::ReadOnly, res);
    EXPECT_EQ(TEditResult::ReadOnly, r.Paste(L"x"));
    EXPECT_EQ("keep", U8(r.SelText()));
    r.SetReadOnly(false);
    EXPECT_EQ("keep", U8(r.Cut(&res)));
    EXPECT_EQ(TEditResult::Changed, res);
    EXPECT_EQ("", U8(r.Text()));
}

TEST(EditModel, PasswordMaskingAndChangeCount)
{
    TEditModel m;
    m.SetText(L"secret");
    EXPECT_EQ("secret", U8(m.DisplayText()));
    m.SetPasswordChar(L'*');
    EXPECT_EQ("******", U8(m.DisplayText()));
    EXPECT_EQ("secret", U8(m.Text()));

    uint32_t n = m.ChangeCount();
    m.KeyDown(kLeft, false, false);
    m.SetSel(0, 2);
    EXPECT_EQ(n, m.ChangeCount());
    m.TypeChar(L'x');
    EXPECT_EQ(n + 1, m.ChangeCount());
    m.SetCharCase(TEditCharCase::Upper);   // converts what is there
    EXPECT_EQ("XCRET", U8(m.Text()));
    EXPECT_EQ(n + 2, m.ChangeCount());
}

TEST(EditModel, LinesAndPositions)
{
    TEditModel m;
    m.SetMultiLine(true);
    m.SetText(L"ab\ncd\r\n\ref");   // LF, CRLF and CR breaks
    ASSERT_EQ(4, m.LineCount());
    EXPECT_EQ((TEditLine{0, 2, 1}), m.Lines()[0]);
    EXPECT_EQ((TEditLine{3, 2, 2}), m.Lines()[1]);
    EXPECT_EQ((TEditLine{7, 0, 1}), m.Lines()[2]);
    EXPECT_EQ((TEditLine{8, 2, 0}), m.Lines()[3]);
    struct Case {
        Integer Pos, Line, Col;
    } cases[] = {{0, 0, 0}, {2, 0, 2}, {3, 1, 0}, {5, 1, 2}, {6, 1, 2}, {7, 2, 0}, {10, 3, 2},
                 {99, 3, 2}, {-4, 0, 0}};
    for (const auto& k : cases) {
        SCOPED_TRACE(k.Pos);
        EXPECT_EQ(k.Line, m.LineFromChar(k.Pos));
        EXPECT_EQ((TLineCol{k.Line, k.Col}), m.PosToLineCol(k.Pos));
    }
    EXPECT_EQ(3, m.LineIndex(1));
    EXPECT_EQ(-1, m.LineIndex(4));
    EXPECT_EQ(2, m.LineLength(3));
    EXPECT_EQ("cd", U8(m.LineText(1)));
    EXPECT_EQ(4, m.LineColToPos(1, 1));
    EXPECT_EQ(5, m.LineColToPos(1, 9));
    EXPECT_EQ(10, m.LineColToPos(9, 9));

    TEditModel empty;
    EXPECT_EQ(1, empty.LineCount());
    EXPECT_EQ(0, empty.LineFromChar(0));
}

TEST(EditModel, WordWrap)
{
    auto chars = [](const Char*, Integer n) { return n; };   // one unit per character
    auto texts = [](const String& s, const std::vector<TEditLine>& lines) {
        std::vector<std::string> out;
        for (const auto& l : lines) out.push_back(UTF8Encode(s.substr(l.Start, l.Length)));
        return out;
    };
    struct Case {
        String Text;
        Integer Width;
        std::vector<std::string> Lines;
    } cases[] = {
        {L"the quick brown fox", 10, {"the quick ", "brown fox"}},
        {L"the quick brown fox", 100, {"the quick brown fox"}},
        {L"abcdefghij xy", 4, {"abcd", "efgh", "ij ", "xy"}},
        {L"a\r\n\r\nbb cc", 3, {"a", "", "bb ", "cc"}},
        {L"", 5, {""}},
        {L"abc", 0, {"a", "b", "c"}},   // at least one character a line
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(U8(k.Text));
        EXPECT_EQ(k.Lines, texts(k.Text, WrapEditText(k.Text, k.Width, chars)));
    }
    // A line that fits whole is measured once.
    int measured = 0;
    auto counted = [&](const Char*, Integer n) { ++measured; return n; };
    EXPECT_EQ((std::vector<std::string>{"one two", "three four five", ""}),
              texts(L"one two\r\nthree four five\r\n", WrapEditText(L"one two\r\nthree four five\r\n", 20, counted)));
    EXPECT_EQ(measured, 2);
    // Only the last piece of a hard line carries its break.
    auto lines = WrapEditText(L"aa bb\r\ncc", 3, chars);
    ASSERT_EQ(3u, lines.size());
    EXPECT_EQ(0, lines[0].Break);
    EXPECT_EQ(2, lines[1].Break);
    EXPECT_EQ(0, lines[2].Break);
}

}  // namespace
