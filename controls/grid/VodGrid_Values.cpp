// The grid's typed views on its cell texts (integers, floats, dates, times,
// values of controls in markup), the fills of whole ranges, highlighting and
// marking of a text in cells, the cell checker's pass, the header texts, the
// looks of a rectangle and the repaint of cell areas.
#include <algorithm>
#include <limits>

#include "controls/foundation/VodUtil.h"
#include "controls/grid/VodGrid.h"
#include "controls/grid/vurcheck.h"
#include "controls/markup/VurHTMLE.h"
#include "platform/base/SysUtils.h"

namespace {

const wchar_t* const kNoInteger = L"Cell does not contain integer value";
const wchar_t* const kNoFloat = L"Cell does not contain a float value";

// An empty text or a lone minus reads as 0.
String ZeroIfBlank(const String& T) { return T.empty() || T == L"-" ? String(L"0") : T; }

Integer ReadInteger(const String& T)
{
    Integer v = 0;
    if (!TryStrToInt(T, v)) throw EVodGridError(kNoInteger);
    return v;
}

// A float in the invariant notation ("." decimal, no thousand separators).
double ReadInvariantFloat(const String& T, const wchar_t* Message)
{
    Extended v = 0;
    Integer code = 0;
    Val(T, v, code);
    if (code != 0) throw EVodGridError(Message);
    return double(v);
}

}  // namespace

// ---------------------------------------------------------------------------
// Typed access

void TVodStringGrid::SetInts(Integer ACol, Integer ARow, Integer Value)
{
    SetCellEx(ACol, ARow, IntToStr(Value));
    if (NumHiddenColumns() > 0) RepaintCell(DisplColIndex(ACol), ARow);
}

Integer TVodStringGrid::GetInts(Integer ACol, Integer ARow)
{
    const String t = ZeroIfBlank(Trim(GetStrippedCell(ACol, ARow)));
    const Char dec = FormatSettings.DecimalSeparator, thou = FormatSettings.ThousandSeparator;
    if (t.find(dec) == String::npos && t.find(thou) == String::npos) return ReadInteger(t);
    // A text with the locale's separators is a float, taken to the nearest
    // integer (halves to the even one).
    String inv;
    for (Char c : t) {
        if (c == thou) continue;
        inv += c == dec ? L'.' : c;
    }
    const double f = ReadInvariantFloat(inv, kNoInteger);
    if (!(f >= double(std::numeric_limits<Integer>::min()) - 0.5 && f <= double(std::numeric_limits<Integer>::max()) + 0.5))
        throw EVodGridError(kNoInteger);
    const Int64 r = Round(f);
    if (r < std::numeric_limits<Integer>::min() || r > std::numeric_limits<Integer>::max()) throw EVodGridError(kNoInteger);
    return Integer(r);
}

void TVodStringGrid::SetAllInts(Integer ACol, Integer ARow, Integer Value) { SetAllCells(ACol, ARow, IntToStr(Value)); }

Integer TVodStringGrid::GetAllInts(Integer ACol, Integer ARow)
{
    return ReadInteger(ZeroIfBlank(Trim(AllCells(ACol, ARow))));
}

void TVodStringGrid::SetFloats(Integer ACol, Integer ARow, double Value)
{
    SetCellEx(ACol, ARow, Format(FFloatFormat, {Extended(Value)}));
}

double TVodStringGrid::GetFloats(Integer ACol, Integer ARow)
{
    String plain;
    VurHTMLE::StripMarkup(GetCellEx(ACol, ARow), plain);
    return ReadInvariantFloat(ZeroIfBlank(ExtractNumberText(plain)), kNoFloat);
}

void TVodStringGrid::SetAllFloats(Integer ACol, Integer ARow, double Value)
{
    SetAllCells(ACol, ARow, Format(FFloatFormat, {Extended(Value)}));
}

double TVodStringGrid::GetAllFloats(Integer ACol, Integer ARow)
{
    return ReadInvariantFloat(ZeroIfBlank(ExtractNumberText(AllCells(ACol, ARow))), kNoFloat);
}

void TVodStringGrid::SetDates(Integer ACol, Integer ARow, TDateTime Value)
{
    SetCellEx(ACol, ARow, Value <= 0 && !FShowNullDates ? String() : DateToStr(Value));
}

TDateTime TVodStringGrid::GetDates(Integer ACol, Integer ARow) { return StrToDate(GetCellEx(ACol, ARow)); }

void TVodStringGrid::SetTimes(Integer ACol, Integer ARow, TDateTime Value) { SetCellEx(ACol, ARow, TimeToStr(Value)); }

TDateTime TVodStringGrid::GetTimes(Integer ACol, Integer ARow) { return StrToTime(GetCellEx(ACol, ARow)); }

String TVodStringGrid::GetCtrlVal(Integer ACol, Integer ARow, const String& ID)
{
    String v;
    if (!VurHTMLE::GetControlValue(GetCellEx(ACol, ARow), ID, v)) return String();
    return v;
}

void TVodStringGrid::SetCtrlVal(Integer ACol, Integer ARow, const String& ID, const String& Value)
{
    String s = GetCellEx(ACol, ARow);
    if (VurHTMLE::SetControlValue(s, ID, Value)) SetCellEx(ACol, ARow, s);
}

// ---------------------------------------------------------------------------
// Fills

namespace {

struct TCellRange {
    Integer C0, C1, R0, R1;
};

TCellRange RangeOf(const TVodStringGrid& G, bool DoFixed)
{
    if (DoFixed) return {0, G.ColCount() - 1, 0, G.RowCount() - 1};
    return {G.FixedCols(), G.ColCount() - G.FixedRightCols() - 1, G.FixedRows(), G.RowCount() - G.FixedFooters() - 1};
}

}  // namespace

void TVodStringGrid::TextFill(bool DoFixed, const String& Txt)
{
    const TCellRange g = RangeOf(*this, DoFixed);
    for (Integer c = g.C0; c <= g.C1; ++c)
        for (Integer r = g.R0; r <= g.R1; ++r) SetCellEx(c, r, Txt);
    RecalcAllFooters();
}

void TVodStringGrid::FormatFill(bool DoFixed, const String& Fmt)
{
    const TCellRange g = RangeOf(*this, DoFixed);
    for (Integer c = g.C0; c <= g.C1; ++c)
        for (Integer r = g.R0; r <= g.R1; ++r) SetCellEx(c, r, Format(Fmt, {c, r}));
    RecalcAllFooters();
}

void TVodStringGrid::RandomFill(bool DoFixed, Integer Rnd)
{
    const TCellRange g = RangeOf(*this, DoFixed);
    for (Integer c = g.C0; c <= g.C1; ++c)
        for (Integer r = g.R0; r <= g.R1; ++r) SetInts(c, r, Random(Rnd));
    RecalcAllFooters();
}

void TVodStringGrid::LinearFill(bool DoFixed)
{
    const TCellRange g = RangeOf(*this, DoFixed);
    for (Integer c = g.C0; c <= g.C1; ++c)
        for (Integer r = g.R0; r <= g.R1; ++r) SetCellEx(c, r, IntToStr(c) + L":" + IntToStr(r));
    RecalcAllFooters();
}

// ---------------------------------------------------------------------------
// Highlighting and marking

namespace {

const wchar_t* const kHiTag = L"hi";
const wchar_t* const kMarkTag = L"e";

}  // namespace

String TVodStringGrid::HilightText(bool DoCase, const String& S, const String& Text)
{
    String r;
    VurHTMLE::HighlightMarkupText(S, Text, kHiTag, DoCase, false, r);
    return r;
}

String TVodStringGrid::MarkText(bool DoCase, const String& S, const String& Text)
{
    String r;
    VurHTMLE::HighlightMarkupText(S, Text, kMarkTag, DoCase, false, r);
    return r;
}

String TVodStringGrid::UnHilightText(const String& S)
{
    String r;
    VurHTMLE::RemoveMarkupTag(S, kHiTag, r);
    return r;
}

String TVodStringGrid::UnMarkText(const String& S)
{
    String r;
    VurHTMLE::RemoveMarkupTag(S, kMarkTag, r);
    return r;
}

namespace {

// The text highlighting works on: the displayed text when the application
// supplies one, else the stored text.
String HighlightSource(TVodStringGrid& G, Integer c, Integer r)
{
    return G.OnGetDisplText ? G.GetCellEx(c, r) : G.GetGridCell(c, r);
}

void HighlightRange(TVodStringGrid& G, const wchar_t* Tag, Integer C0, Integer C1, Integer R0, Integer R1,
                    const String& HiText, bool FullText, bool DoCase)
{
    String enc;
    VurHTMLE::EncodeEntities(HiText, false, enc);
    for (Integer c = C0; c <= C1; ++c)
        for (Integer r = R0; r <= R1; ++r) {
            if (!G.IsBaseCell(c, r)) continue;
            const String s = HighlightSource(G, c, r);
            String out;
            VurHTMLE::HighlightMarkupText(s, enc, Tag, DoCase, FullText, out);
            // Only a changed cell is written (and announced).
            if (out != s) G.SetCellEx(c, r, out);
        }
}

void UnHighlightRange(TVodStringGrid& G, const wchar_t* Tag, Integer C0, Integer C1, Integer R0, Integer R1)
{
    for (Integer c = C0; c <= C1; ++c)
        for (Integer r = R0; r <= R1; ++r) {
            if (!G.IsBaseCell(c, r)) continue;
            String dec, out;
            VurHTMLE::DecodeEntities(HighlightSource(G, c, r), false, dec);
            VurHTMLE::RemoveMarkupTag(dec, Tag, out);
            G.SetCellEx(c, r, out);
        }
}

}  // namespace

void TVodStringGrid::HilightInCell(bool DoCase, Integer Col, Integer Row, const String& HiText, bool FullText)
{
    HighlightRange(*this, kHiTag, Col, Col, Row, Row, HiText, FullText, DoCase);
}

void TVodStringGrid::HilightInCol(bool DoFixed, bool DoCase, Integer Col, const String& HiText, bool FullText)
{
    const TCellRange g = RangeOf(*this, DoFixed);
    HighlightRange(*this, kHiTag, Col, Col, g.R0, g.R1, HiText, FullText, DoCase);
}

void TVodStringGrid::HilightInRow(bool DoFixed, bool DoCase, Integer Row, const String& HiText, bool FullText)
{
    const TCellRange g = RangeOf(*this, DoFixed);
    HighlightRange(*this, kHiTag, g.C0, g.C1, Row, Row, HiText, FullText, DoCase);
}

void TVodStringGrid::HilightInGrid(bool DoFixed, bool DoCase, const String& HiText, bool FullText)
{
    const TCellRange g = RangeOf(*this, DoFixed);
    HighlightRange(*this, kHiTag, g.C0, g.C1 + NumHiddenColumns(), g.R0, g.R1, HiText, FullText, DoCase);
}

void TVodStringGrid::MarkInCell(bool DoCase, Integer Col, Integer Row, const String& HiText)
{
    HighlightRange(*this, kMarkTag, Col, Col, Row, Row, HiText, false, DoCase);
}

void TVodStringGrid::MarkInCol(bool DoFixed, bool DoCase, Integer Col, const String& HiText)
{
    const TCellRange g = RangeOf(*this, DoFixed);
    HighlightRange(*this, kMarkTag, Col, Col, g.R0, g.R1, HiText, false, DoCase);
}

void TVodStringGrid::MarkInRow(bool DoFixed, bool DoCase, Integer Row, const String& HiText)
{
    const TCellRange g = RangeOf(*this, DoFixed);
    HighlightRange(*this, kMarkTag, g.C0, g.C1, Row, Row, HiText, false, DoCase);
}

void TVodStringGrid::MarkInGrid(bool DoFixed, bool DoCase, const String& HiText)
{
    const TCellRange g = RangeOf(*this, DoFixed);
    HighlightRange(*this, kMarkTag, g.C0, g.C1 + NumHiddenColumns(), g.R0, g.R1, HiText, false, DoCase);
}

void TVodStringGrid::UnHilightInCell(Integer Col, Integer Row) { UnHighlightRange(*this, kHiTag, Col, Col, Row, Row); }

void TVodStringGrid::UnHilightInCol(bool DoFixed, Integer Col)
{
    const TCellRange g = RangeOf(*this, DoFixed);
    UnHighlightRange(*this, kHiTag, Col, Col, g.R0, g.R1);
}

void TVodStringGrid::UnHilightInRow(bool DoFixed, Integer Row)
{
    const TCellRange g = RangeOf(*this, DoFixed);
    UnHighlightRange(*this, kHiTag, g.C0, g.C1 + NumHiddenColumns(), Row, Row);
}

void TVodStringGrid::UnHilightInGrid(bool DoFixed)
{
    const TCellRange g = RangeOf(*this, DoFixed);
    UnHighlightRange(*this, kHiTag, g.C0, g.C1 + NumHiddenColumns(), g.R0, g.R1);
}

void TVodStringGrid::UnMarkInCell(Integer Col, Integer Row) { UnHighlightRange(*this, kMarkTag, Col, Col, Row, Row); }

void TVodStringGrid::UnMarkInCol(bool DoFixed, Integer Col)
{
    const TCellRange g = RangeOf(*this, DoFixed);
    UnHighlightRange(*this, kMarkTag, Col, Col, g.R0, g.R1);
}

void TVodStringGrid::UnMarkInRow(bool DoFixed, Integer Row)
{
    const TCellRange g = RangeOf(*this, DoFixed);
    UnHighlightRange(*this, kMarkTag, g.C0, g.C1 + NumHiddenColumns(), Row, Row);
}

void TVodStringGrid::UnMarkInGrid(bool DoFixed)
{
    const TCellRange g = RangeOf(*this, DoFixed);
    UnHighlightRange(*this, kMarkTag, g.C0, g.C1 + NumHiddenColumns(), g.R0, g.R1);
}

// ---------------------------------------------------------------------------
// The cell checker

bool TVodStringGrid::CheckCell(Integer Col, Integer Row)
{
    if (!FCellChecker) return true;
    const String t = UnMarkText(GetCellEx(Col, Row));
    if (FCellChecker->GotoCell()) GotoCell(Col, Row);
    String r = t;
    if (FCellChecker->UseCorrect()) r = FCellChecker->Correct(Col, Row, t);
    if (FCellChecker->UseMarkError()) r = FCellChecker->MarkError(Col, Row, t);
    SetCellEx(Col, Row, r);
    return r == t;
}

bool TVodStringGrid::CheckCells(Integer FromCol, Integer FromRow, Integer ToCol, Integer ToRow)
{
    if (!FCellChecker) return true;
    FCellChecker->StartCheck();
    const Integer curCol = Col(), curRow = Row();
    bool unchanged = true;
    bool stop = false;
    for (Integer r = FromRow; r <= ToRow && !stop; ++r)
        for (Integer c = FromCol; c <= ToCol && !stop; ++c) {
            if (!CheckCell(c, r)) unchanged = false;
            // The checker's dialog may end the run.
            stop = !FCellChecker || FCellChecker->LastResult() != mrOk;
        }
    if (FCellChecker) {
        FCellChecker->StopCheck();
        if (FCellChecker->GotoCell()) GotoCell(curCol, curRow);
    }
    return unchanged;
}

bool TVodStringGrid::CheckCol(bool DoFixed, Integer Col)
{
    const TCellRange g = RangeOf(*this, DoFixed);
    return CheckCells(Col, g.R0, Col, g.R1);
}

bool TVodStringGrid::CheckRow(bool DoFixed, Integer Row)
{
    const TCellRange g = RangeOf(*this, DoFixed);
    return CheckCells(g.C0, Row, g.C1, Row);
}

bool TVodStringGrid::CheckGrid(bool DoFixed)
{
    const TCellRange g = RangeOf(*this, DoFixed);
    return CheckCells(g.C0, g.R0, g.C1, g.R1);
}

// ---------------------------------------------------------------------------
// Header texts

void TVodStringGrid::SetColumnHeaders(TStrings* v)
{
    if (FixedRows() > 0) ClearColumnHeaders();
    FColumnHeaders->Assign(v);
    ShowColumnHeaders();
}

void TVodStringGrid::SetRowHeaders(TStrings* v)
{
    if (ComponentState().Contains(csDesigning)) ClearRowHeaders();
    FRowHeaders->Assign(v);
    ShowRowHeaders();
}

void TVodStringGrid::ClearColumnHeaders()
{
    if (RowCount() < 1) return;
    for (Integer c = 0; c < TotalColCount(); ++c) SetGridCell(c, 0, String());
    Invalidate();
}

void TVodStringGrid::ShowColumnHeaders()
{
    if (FixedRows() <= 0 || RowCount() < 1) return;
    const Integer n = std::min(FColumnHeaders->Count(), TotalColCount());
    for (Integer i = 0; i < n; ++i) SetGridCell(i, 0, UnescapeLineBreaks(FColumnHeaders->Strings(i)));
    Invalidate();
}

void TVodStringGrid::ClearRowHeaders()
{
    if (TotalColCount() < 1) return;
    for (Integer r = 0; r < RowCount(); ++r) SetGridCell(0, r, String());
    Invalidate();
}

void TVodStringGrid::ShowRowHeaders()
{
    if (FixedCols() <= 0 || TotalColCount() < 1) return;
    const Integer n = std::min(FRowHeaders->Count(), RowCount());
    for (Integer i = 0; i < n; ++i) SetGridCell(0, i, UnescapeLineBreaks(FRowHeaders->Strings(i)));
    Invalidate();
}

// ---------------------------------------------------------------------------
// Looks of a rectangle

namespace {

template <class F>
void ForEachCell(const TGridRect& R, F&& Fn)
{
    for (Integer c = R.Left; c <= R.Right; ++c)
        for (Integer r = R.Top; r <= R.Bottom; ++r) Fn(c, r);
}

template <class F>
bool EveryCell(const TGridRect& R, F&& Fn)
{
    for (Integer c = R.Left; c <= R.Right; ++c)
        for (Integer r = R.Top; r <= R.Bottom; ++r)
            if (!Fn(c, r)) return false;
    return true;
}

}  // namespace

void TVodStringGrid::SetFontStyle(const TGridRect& GridRect, TFontStyle AStyle, bool DoSet)
{
    ForEachCell(GridRect, [&](Integer c, Integer r) {
        TFontStyles s = FontStyles(c, r);
        if (DoSet)
            s.Include(AStyle);
        else
            s.Exclude(AStyle);
        SetFontStyles(c, r, s);
    });
}

bool TVodStringGrid::IsFontStyle(const TGridRect& GridRect, TFontStyle AStyle)
{
    return EveryCell(GridRect, [&](Integer c, Integer r) { return FontStyles(c, r).Contains(AStyle); });
}

void TVodStringGrid::SetCellColor(const TGridRect& GridRect, TColor AColor)
{
    ForEachCell(GridRect, [&](Integer c, Integer r) { SetColors(c, r, AColor); });
}

void TVodStringGrid::SetCellTextColor(const TGridRect& GridRect, TColor AColor)
{
    ForEachCell(GridRect, [&](Integer c, Integer r) { SetFontColors(c, r, AColor); });
}

void TVodStringGrid::SetCellFontName(const TGridRect& GridRect, const String& AName)
{
    ForEachCell(GridRect, [&](Integer c, Integer r) { SetFontNames(c, r, AName); });
}

void TVodStringGrid::SetCellFontSize(const TGridRect& GridRect, Integer ASize)
{
    ForEachCell(GridRect, [&](Integer c, Integer r) { SetFontSizes(c, r, ASize); });
}

void TVodStringGrid::SetAlignment(const TGridRect& GridRect, TAlignment AAlignment)
{
    ForEachCell(GridRect, [&](Integer c, Integer r) { SetAlignments(c, r, AAlignment); });
}

bool TVodStringGrid::IsAlignment(const TGridRect& GridRect, TAlignment AAlignment)
{
    return EveryCell(GridRect, [&](Integer c, Integer r) { return Alignments(c, r) == AAlignment; });
}

// ---------------------------------------------------------------------------
// Repainting cell areas

void TVodStringGrid::RepaintRect(const TRect& r)
{
    if (r.Left < 0 || r.Top < 0 || r.Right < 0 || r.Bottom < 0) return;
    if (!HandleAllocated()) return;
    const TRect a = CellRect(r.Left, r.Top);
    const TRect b = CellRect(std::min(r.Right, VisibleColCount() + FixedCols()), r.Bottom);
    const TRect client = ClientRect();
    auto onScreen = [&](const TRect& x) {
        return x.Right > x.Left && x.Bottom > x.Top && x.Left < client.Right && x.Top < client.Bottom && x.Right > 0 &&
               x.Bottom > 0;
    };
    if (!onScreen(a) || !onScreen(b)) {
        Invalidate();
        return;
    }
    TRect u{std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom)};
    InvalidateRect(Handle(), &u, true);
}

void TVodStringGrid::RepaintRow(Integer ARow)
{
    if (ARow >= 0 && ARow < RowCount()) InvalidateRow(ARow);
}

void TVodStringGrid::RepaintCol(Integer ACol)
{
    if (ACol >= 0 && ACol < ColCount()) InvalidateCol(ACol);
}
