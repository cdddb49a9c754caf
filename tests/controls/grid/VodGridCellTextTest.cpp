// Cell text: the display text with float formats, and measuring cell texts
// with the fixed-metrics font (8 x 16 pixels a character): lines, wrapping,
// button room, rotation, hidden columns, markup, rich text and malformed or
// huge texts.
#include <gtest/gtest.h>

#include "controls/grid/VodGrid.h"
#include "platform/base/SysUtils.h"
#include "tests/controls/grid/StringGridFixture.h"

namespace {

using VodGridCellText = TStringGridFixture<TVodStringGrid>;

TPoint TextSize(TVodStringGrid* G, Integer c, Integer r, bool Wrapped = false, bool ButtonRoom = false)
{
    TPoint p{-1, -1};
    G->GetCellTextSize(c, r, p, ButtonRoom, Wrapped);
    return p;
}

}  // namespace

TEST_F(VodGridCellText, FloatFormatsApplyToNumbersOnlyAndFailingFormatsLeaveTheText)
{
    Grid->SetCellEx(1, 1, L"3.14159");
    Grid->SetCellEx(2, 1, L"7.9");
    Grid->SetCellEx(3, 1, L"abc");
    Grid->SetCellEx(4, 1, L"12");
    // Without the event the text is as stored.
    EXPECT_EQ(Grid->GetFormattedCell(1, 1), L"3.14159");

    String fmt = L"%.2f";
    bool answer = true;
    Integer asked = 0;
    Grid->OnGetFloatFormat = [&](TObject*, Integer, Integer, bool& IsFloat, String& F) {
        ++asked;
        EXPECT_TRUE(IsFloat);
        EXPECT_EQ(F, L"%.2f");   // the grid's FloatFormat is offered
        IsFloat = answer;
        F = fmt;
    };
    EXPECT_EQ(Grid->GetFormattedCell(1, 1), L"3.14");
    EXPECT_EQ(Grid->GetFormattedCell(3, 1), L"abc");
    EXPECT_EQ(asked, 1);   // not asked for a text
    fmt = L"%d";           // "d" formats the integer value
    EXPECT_EQ(Grid->GetFormattedCell(2, 1), L"7");
    EXPECT_EQ(Grid->GetFormattedCell(4, 1), L"12");
    fmt = L"%s";           // a format that does not fit the value
    EXPECT_EQ(Grid->GetFormattedCell(1, 1), L"3.14159");
    fmt = L"";
    EXPECT_EQ(Grid->GetFormattedCell(1, 1), L"3.14159");
    fmt = L"%.1f";
    answer = false;
    EXPECT_EQ(Grid->GetFormattedCell(1, 1), L"3.14159");
    answer = true;
    Grid->SetFormatType(ftExcel);
    fmt = L"0.0";
    EXPECT_EQ(Grid->GetFormattedCell(1, 1), L"3.1");
}

TEST_F(VodGridCellText, MeasuringLinesWrapButtonsAndRotation)
{
    Grid->SetDefaultColWidth(64);
    Grid->SetDefaultRowHeight(40);
    Grid->SetCellEx(1, 1, L"Hello");
    Grid->SetCellEx(2, 1, L"ab\r\ncdef\r\ng");
    Grid->SetCellEx(3, 1, L"one two three four");
    Grid->SetCellEx(4, 1, L"");

    EXPECT_EQ(TextSize(Grid, 1, 1), (TPoint{40, 16}));
    // One line unless the grid shows multi-line cells.
    EXPECT_EQ(TextSize(Grid, 2, 1).Y, 16);
    Grid->SetMultilinecells(true);
    EXPECT_EQ(TextSize(Grid, 2, 1), (TPoint{32, 48}));
    EXPECT_EQ(TextSize(Grid, 4, 1), (TPoint{0, 0}));

    // Wrapped: the room is the cell less the margins (64 - 2 x 3 = 58
    // pixels, 7 characters a line: "one two", "three", "four"), the height
    // that of the wrapped lines.
    const TPoint w = TextSize(Grid, 3, 1, true);
    EXPECT_EQ(w.X, 58);
    EXPECT_EQ(w.Y, 3 * 16);
    // 17 pixels of button room: 41 pixels, 5 characters a line, 4 lines.
    const TPoint wb = TextSize(Grid, 3, 1, true, true);
    EXPECT_EQ(wb.X, 41);
    EXPECT_EQ(wb.Y, 4 * 16);
    EXPECT_EQ(TextSize(Grid, 4, 1, true), (TPoint{0, 0}));
    // A combo cell with its button always shown loses 17 more.
    Grid->OnGetEditorType = [](TObject*, Integer ACol, Integer, TEditorType& E) {
        if (ACol == 3) E = edComboList;
    };
    Grid->ControlLook()->SetDropDownAlwaysVisible(true);
    EXPECT_EQ(TextSize(Grid, 3, 1, true).X, 41);
    Grid->ControlLook()->SetDropDownAlwaysVisible(false);
    Grid->ControlLook()->SetSpinButtonsAlwaysVisible(true);
    EXPECT_EQ(TextSize(Grid, 3, 1, true).X, 58);

    // Rotated by 90 degrees: (height + 12, width + 12); by 0: size + 12.
    Grid->AddRotated(1, 2, 90, L"Hello");
    EXPECT_EQ(TextSize(Grid, 1, 2), (TPoint{16 + 12, 40 + 12}));
    Grid->AddRotated(2, 2, 0, L"Hi");
    EXPECT_EQ(TextSize(Grid, 2, 2), (TPoint{16 + 12, 16 + 12}));
}

TEST_F(VodGridCellText, MeasuringADisplayColumnReadsItsRealColumnOnce)
{
    Grid->SetCellEx(1, 1, L"a");
    Grid->SetCellEx(2, 1, L"abcdef");
    Grid->SetCellEx(3, 1, L"abcdefghij");
    Grid->HideColumn(1);
    // Display column 1 is real column 2 now.
    EXPECT_EQ(Grid->RealColIndex(1), 2);
    EXPECT_EQ(TextSize(Grid, 1, 1).X, 48);
    EXPECT_EQ(TextSize(Grid, 2, 1).X, 80);
    // Links measure without their protocol unless URLFull.
    Grid->UnHideColumn(1);
    Grid->SetCellEx(1, 2, L"http://ab.cd");
    EXPECT_EQ(TextSize(Grid, 1, 2).X, 5 * 8);
    Grid->SetURLFull(true);
    EXPECT_EQ(TextSize(Grid, 1, 2).X, 12 * 8);
}

TEST_F(VodGridCellText, MarkupMeasuresOnlyWithEnableHTML)
{
    Grid->SetCellEx(1, 1, L"<b>ab</b>cd");
    const TPoint m = TextSize(Grid, 1, 1);
    EXPECT_EQ(m.Y, 16 + 2);
    EXPECT_GE(m.X, 4 * 8 + 2);
    EXPECT_LT(m.X, 11 * 8);
    Grid->SetEnableHTML(false);
    EXPECT_EQ(TextSize(Grid, 1, 1), (TPoint{11 * 8, 16}));
}

TEST_F(VodGridCellText, MalformedAndHugeTextsMeasureWithoutFault)
{
    const String huge(100000, L'x');
    const String cases[] = {
        L"<b>unclosed <i>markup",
        L"<font color=\"#12",
        L"</",
        L"{\\rtf1\\ansi {\\b broken",
        L"{\\",
        L"{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Hello \\b World\\b0\\par}",
        L"{\\rtf1 }}}}}\\'zz\\u-99999?",
        L"|\\ab",
        L"=SUM(",
        huge,
        L"<b>" + huge,
    };
    Grid->SetMultilinecells(true);
    for (const String& s : cases) {
        Grid->SetCellEx(1, 1, s);
        for (bool wrapped : {false, true}) {
            const TPoint p = TextSize(Grid, 1, 1, wrapped);
            EXPECT_GE(p.X, 0) << s.substr(0, 30);
            EXPECT_GE(p.Y, 0) << s.substr(0, 30);
        }
    }
    // A well-formed rich text has a size.
    Grid->SetCellEx(1, 1, cases[5]);
    const TPoint r = TextSize(Grid, 1, 1);
    EXPECT_GT(r.X, 0);
    EXPECT_GT(r.Y, 4);
}
