// VodUtil: the free routines the control library shares: gradients, colour
// arithmetic, cell shapes, themed button parts, progress painters, value
// classification, number and date readers, the clipboard HTML writer, filter
// matching and text helpers. One header; the sources are split by family
// (VodUtil_Drawing.cpp, VodUtil_Values.cpp, ...).
#pragma once

#include "controls/foundation/VodStyleIF.h"
#include "platform/base/SysUtils.h"
#include "platform/base/Types.h"
#include "platform/gfx/Graphics.h"
#include "platform/ui/Grids.h"

// ---------------------------------------------------------------------------
// Drawing: gradients, colours, shapes, glyphs, layered-window calls
// ---------------------------------------------------------------------------

class TWinControl;

// Fills R with Steps + 1 bands from FromColor to ToColor; Direction true
// runs the colour from left to right, false from top to bottom.
void DrawGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, Integer Steps, TRect R,
                  bool Direction);
// A panel or footer background: solid, one gradient, or two gradient halves
// (the second the mirror pair), then a frame or two side lines.
void DrawGradientBackground(TCanvas* Canvas, TRect R, TColor Color, TColor ColorTo,
                            TColor ColorMirror, TColor ColorMirrorTo, bool Vertical,
                            TColor BorderColor, bool SideBordersOnly, bool Fill);
// One segment of a rounded two-colour button face: Kind 0 both ends
// rounded, 1 the left end, 2 the right end, 3 a middle piece.
void DrawButtonSegment(TCanvas* Canvas, TColor Color, TColor ColorTo, TColor ColorMirror,
                       TColor ColorMirrorTo, TColor InnerTopColor, TColor InnerBottomColor,
                       TColor BorderColor, TColor CornerColor, TColor OuterCornerColor, TRect R,
                       Byte Kind);
// The colour at Pos of the range Min..Max; Pos counts from 0, not from Min.
TColor InterpolateColor(TColor FromColor, TColor ToColor, Integer Min, Integer Max, Integer Pos);
TColor HalfColor(TColor Color);
TColor AdjustColorBrightness(TColor Color, Integer Percent);

// The shapes a grid cell can show.
enum TCellShape : Byte {
    csRectangle, csCircle, csTriangleLeft, csTriangleRight, csTriangleUp, csTriangleDown,
    csDiamond, csLineVert, csLineHorz, csRoundRect, csEllips, csSquare, csRoundSquare, csStar,
    csArrowUp, csArrowDown, csArrowLeft, csArrowRight, csHalfStar,
};
void DrawCellShape(TCanvas* Canvas, Integer X, Integer Y, Integer Width, Integer Height,
                   TCellShape Shape, TColor BrushColor, TColor PenColor);
void DrawDropTriangle(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
void FillRectWithColor(TCanvas* Canvas, const TRect& R, TColor Color);
// The module's bitmap resource ResName, drawn with DrawBitmapTransparent.
void DrawResourceBitmap(TCanvas* Canvas, TColor BkColor, const TRect& R, const String& ResName);
// Bitmap at R's top-left, the colour of its pixel (0, 0) drawn in BkColor.
void DrawBitmapTransparent(TCanvas* Canvas, TBitmap* Bitmap, TColor BkColor, const TRect& R);
// A red zig-zag under Length characters of Text from Start (0-based), at
// the places a single-line edit at R would show them.
void DrawWavyUnderline(TWinControl* Owner, TCanvas* Canvas, const String& Text, const TRect& R,
                       Integer YOffset, Integer Start, Integer Length);
// The layered-window calls of "USER32.DLL", looked up at each call; true
// without doing anything when the function is not there.
bool DynUpdateLayeredWindow(HWND hwnd, HDC dst, const TPoint* dstPos, const TSize* size, HDC src,
                            const TPoint* srcPos, COLORREF key, const BLENDFUNCTION* blend,
                            DWORD flags);
bool DynSetLayeredWindowAttributes(HWND hwnd, COLORREF key, Byte alpha, DWORD flags);



// ---------------------------------------------------------------------------
// Combo, push and spin button parts
// ---------------------------------------------------------------------------

// How a part is drawn: through the theme functions, as the platform's
// classic or flat frame control, or in the caller's own colours.
enum TPartKind : Byte { pkThemed, pkClassic, pkFlat, pkOwnColors };
enum TPartState : Byte { pstNormal, pstHot, pstDown, pstDisabled };

// The drop-down button at the right end of an editor rectangle R; Scale is
// the display scaling factor. Handle is the window the theme data is
// opened for.
void DrawComboButton(TCanvas* Canvas, HWND Handle, TRect R, TPartKind Kind, TPartState State,
                     const TColorTones& Colors, float Scale);
// A push button over R with its caption centred (Prefix: "&" marks the
// accelerator).
void DrawPushButton(TCanvas* Canvas, HWND Handle, TRect R, TPartKind Kind, TPartState State,
                    const TColorTones& Colors, bool Prefix, const String& Caption);
// The up and down buttons at the right end of an editor rectangle R.
void DrawSpinButtons(TCanvas* Canvas, HWND Handle, TRect R, TPartKind Kind, TPartState State,
                     const TColorTones& Colors);



// ---------------------------------------------------------------------------
// Progress indicators
// ---------------------------------------------------------------------------

// The look of DrawStyledProgress. Font is the caller's, not owned.
struct TProgressLook {
    TColor Level0Color = clNone, Level0ColorTo = clNone;
    TColor Level1Color = clNone, Level1ColorTo = clNone;
    TColor Level2Color = clNone, Level2ColorTo = clNone;
    TColor Level3Color = clNone, Level3ColorTo = clNone;
    Integer Level1Perc = 0, Level2Perc = 0;
    TColor BorderColor = clNone;
    bool ShowBorder = false, Stacked = false, ShowPercentage = false;
    TFont* Font = nullptr;   // null: the canvas's font as it is
    TColor FontColor = clNone;
    bool CompletionSmooth = false, ShowGradient = false;
    Integer Steps = 0;
    TColor BackgroundColor = clNone;
    bool Vertical = false;
};

// A levelled bar of Position percent, in blocks or smooth, stacked or in
// one level's colours, with the percentage (rotated on a vertical bar).
void DrawStyledProgress(TCanvas* Canvas, TRect R, Integer Position, const TProgressLook& Look);
// A two-colour bar with its value as text in both colours. Fmt (the
// platform's Format) takes Position as an integer when its first "d" (or
// else "u") conversion asks for one, else as a floating-point value.
void DrawSimpleProgress(TCanvas* Canvas, TRect R, TColor Color, TColor TextColor, TColor ColorTo,
                        TColor TextColorTo, double Position, Integer XMargin, Integer YMargin,
                        Integer Min, Integer Max, const String& Fmt, TColor BorderColor,
                        bool Print);
// A pie of Percent, filled clockwise from the top; the circle itself is
// filled with the canvas's brush as the caller left it.
void DrawProgressPie(TCanvas* Canvas, const TRect& R, TColor Color, Integer Percent, bool Print);
// A bar growing left (negative) or right from the middle of R.
void DrawBalanceBar(TCanvas* Canvas, TRect R, Integer Value, Integer Max, bool ShowValue,
                    TColor NegativeColor, TColor PositiveColor);



// ---------------------------------------------------------------------------
// Values: classes of cell texts, numbers, dates
// ---------------------------------------------------------------------------

// The separators and the short date format are read from the platform's
// FormatSettings at every call, never cached.

// A block of grid cells by column (Left, Right) and row (Top, Bottom): the
// platform grid's own TGridRect, so that grid code sees one type.

// The shell's logical comparison (digit runs by value, case ignored) when
// the library start-up found it; otherwise ordinal (StrComp).
Integer NaturalCompareStr(const Char* S1, const Char* S2);
Integer IntMax(Integer A, Integer B);
Integer IntMin(Integer A, Integer B);
// Max when Value > Max, else Min when Value < Min, else Value.
Integer ClipToRange(Integer Value, Integer Min, Integer Max);
// Value limited to Min..Max where a limit of 0 or less means none; Min = Max
// leaves Value as it is.
Integer LimitToMinMax(Integer Value, Integer Min, Integer Max);
bool PointInGridRect(const TGridRect& Rect, Integer Col, Integer Row);

// A character of a Unicode number category (decimal digit, letter number,
// other number); within ASCII exactly 0..9.
bool IsDigitChar(Char Ch);
bool IsDigitCode(Integer Code);
bool IsIntegerChar(Char Ch);
bool IsFloatChar(Char Ch);
bool IsSignedFloatChar(Char Ch);
bool IsScientificChar(Char Ch);
bool IsNumericKey(Char Ch);

// Value classes of ClassifyValueText.
constexpr Byte vcInteger = 0;
constexpr Byte vcFloat = 1;
constexpr Byte vcText = 2;
constexpr Byte vcDate = 3;
constexpr Byte vcTime = 4;
constexpr Byte vcScientific = 5;

// 0 integer, 1 float, 2 text (also the empty text), 3 date, 4 time,
// 5 scientific, by the locale's separators.
Byte ClassifyValueText(const String& S);
// The number in S as invariant text: blanks trimmed, leading characters that
// cannot start a number dropped (a "-" among them or enclosing parentheses
// make it negative), thousand separators dropped, the decimal separator
// written as ".", ending at the first other character.
String ExtractNumberText(const String& S);
// For an integer or float text: thousand separators removed and the decimal
// separator written as "."; other texts unchanged.
String LocalToInvariantNumber(const String& S);
// For an integer or float text: every "." becomes the decimal separator.
String InvariantToLocalNumber(const String& S);
// "R<row>C<col>" (any case): X the column, Y the row. P is set on success only.
bool ParseRCReference(const String& S, TPoint& P);
// Month, day and year (day, month and year) separated by the first of "/",
// "." and "-" found in S. A one- or two-digit year gets its century (below
// 26: 2000s, else 1900s); a longer one is taken as written. 0 when S is not a
// date; an impossible month or day raises EConvertError.
TDateTime ParseDateMDY(const String& S);
TDateTime ParseDateDMY(const String& S);
// A date in the order of the short date format, optionally followed by a
// blank and a time (h:m or h:m:s); the year is taken as written.
bool TryParseLocaleDateTime(const String& S, TDateTime& Value);
// The date separator after the first character, and once more after that
// but not as the very next character.
bool LooksLikeDate(const String& S);
// Date advanced by Days alone, Years alone or Months alone (months in 16
// bits: 65535 is one month back); any other combination gives Date + Amount.
// A day the new month does not have raises EConvertError.
TDateTime AddDateParts(Word Years, Word Months, Word Days, TDateTime Date, TDateTime Amount);



// ---------------------------------------------------------------------------
// Clipboard HTML writer and filter matching
// ---------------------------------------------------------------------------

// Wraps the HTML fragment S into the clipboard's "HTML Format" text: the
// header of offsets, the document and the fragment between its markers.
// Characters above U+00FF are written as numeric character references first,
// so the text is one byte per character and the offsets are byte offsets.
void BuildCFHTML(String& S);

// Whether Value meets the filter expression: terms joined by "&" (and) and
// ";", "^", "|" (or) outside quotes, without precedence, grouped by
// parentheses; blanks outside quotes dropped, a leading "=" dropped.
bool MatchFilterExpr(const String& Expr, const String& Value, bool CaseSensitive);
// One term: two double quotes match only an empty Value; otherwise
// MatchCondition, on both texts upper-cased unless CaseSensitive.
bool MatchFilterTerm(const String& Term, const String& Value, bool CaseSensitive);
// A comparison (">", ">=", "<", "<=", "!", joined by "&" or "^") of Value
// with numbers, dates or texts, else a pattern with "*", "?" and "!".
bool MatchCondition(const Char* Cond, const Char* Value);
// The first character of S that is in Chars and stands outside double
// quotes, with its position in P; character 0 and P = -1 when none.
Char FindFirstUnquotedOf(const String& Chars, const String& S, Integer& P);
String RemoveUnquotedBlanks(const String& S);
// The position of the ")" where the count of ")" first equals the count of
// "("; 0 when there is none.
Integer MatchingParenPos(const String& S);
// The first Ch with an even number of double quotes before it; null when none.
const Char* FindUnquotedChar(const Char* P, Char Ch);
// P with the decimal separator as "." and the thousand separators removed.
String NumberTextForCompare(const Char* P);



// ---------------------------------------------------------------------------
// Text, line and cell-text routines
// ---------------------------------------------------------------------------


class TStrings;

// Positions are 1-based, 0 meaning not found. CR is character 13, LF 10.

// Search, split and join.
Integer VarPos(const String& SubStr, const String& S, Integer& P);
// Pos(SubStr, UpperCase(S)); SubStr is given upper-cased.
Integer UpperPos(const String& SubStr, const String& S);
Integer CharPos(Char Ch, const String& S);
// CharPos, also stored in P; P untouched when Ch is absent.
Integer FindCharPos(Char Ch, const String& S, Integer& P);
Integer WidePos(const String& SubStr, const String& S);
// The text before the first Sep, removed from S with the Sep; empty, S
// unchanged, when there is no Sep.
String CutToken(String& S, Char Sep);
// Adds each piece before a Sep, then the rest (also when empty).
void SplitToStrings(Char Sep, const String& S, TStrings* List);
String ConcatLines(TStrings* List);
Integer OccurrencesOfChar(Char Ch, const String& S);
// As OccurrencesOfChar; the second character is not used.
Integer OccurrencesOfCharIn(Char Ch, Char Unused, const String& S);
// Ch outside double quotes and apostrophes (each closed only by its own
// kind); when a quote is still open at the end, the Ch inside it count too.
Integer CountUnquotedChar(Char Ch, const String& S);
// Where a quoted field of the comma-separated format ends: the last Quote of
// the first odd-length run of Quote followed by another character, or a
// Quote that ends S; 0 when none. P gets the same.
Integer FindClosingQuote(Char Quote, const String& S, Integer& P);
void FillWithChar(String& S, Char Ch);
String DoubleQuoteChars(const String& S);
// Every pair Ch Ch becomes one Ch.
String UndoubleChar(Char Ch, const String& S);

// Line breaks and their codings.
String RemoveCR(const String& S);
String CRToLF(const String& S);
void CRLFToLF(String& S);
// When S holds a CR, every CR becomes "<br>" (LF kept).
String LineBreaksToHTML(const String& S);
// CR becomes backslash n; LF removed.
String EscapeLineBreaks(const String& S);
String UnescapeLineBreaks(const String& S);
// CR becomes "~"; LF removed.
void CRToTilde(String& S);
// "~" becomes CR LF; a text that is then exactly "^" becomes empty.
void TildeToCRLF(String& S);
// CR LF becomes character 11, then S is enclosed in double quotes.
void QuoteMultiLine(String& S);
void VTToCRLF(String& S);
// When S holds a CR: CR becomes character 9, LF 8, character 0 becomes 1.
String EncodeLineControls(const String& S);
// When S holds character 8: 9 becomes CR, 8 LF, 1 character 0; the whole
// text when Whole, else its first line.
String DecodeLineControls(const String& S, bool Whole);
// The text before the first CR (an LF right after it skipped); S keeps the
// rest with KeepRest, else it is cleared. Without a CR: all of S, S cleared.
String CutFirstLine(String& S, bool KeepRest);
// 1 when not MultiLine; else 1 plus one for each CR after which text remains
// (the CR and the character after it are consumed together).
Integer LineCount(const String& S, bool MultiLine);
// The first of the widest lines on Canvas, up to the first empty line.
String LongestLine(TCanvas* Canvas, const String& S);
// The grid calls these when its OEM conversion option is set; they do nothing.
void OemConvertOut(String& S);
void OemConvertIn(String& S);

// Cell-text kinds of DetectTextMarkup.
constexpr Byte tkPlain = 0;
constexpr Byte tkMarkup = 1;
constexpr Byte tkRichText = 2;
constexpr Byte tkFormula = 3;
constexpr Byte tkLink = 4;
constexpr Byte tkPackedWide = 5;

// 0 plain, 1 markup (only with CheckMarkup), 2 rich text, 3 formula, 4 link,
// 5 packed wide text.
Byte DetectTextMarkup(const String& S, bool CheckMarkup);
// S holds "://" or "mailto:".
bool IsURLText(const String& S);
// Removes everything up to and including the first "://", or else "mailto:".
void StripURLProtocol(String& S);
// When Text holds Prefix (upper case) in any case: Dest is Text with "<" and
// ">" escaped and the address that starts at Prefix wrapped in an anchor.
bool LinkifyText(const String& Text, const String& Prefix, String& Dest);
// "|\" then, per UTF-16 code unit of W, its high and its low byte as
// characters 0..255 (a character beyond U+FFFF takes its surrogate pair).
String PackWideText(const String& W);
// The inverse of PackWideText; a text without the "|\" marker unchanged.
String UnpackWideText(const String& S);
// Six upper-case hexadecimal digits: red, green, blue of Color's low bytes.
String ColorToHTMLHex(TColor Color);
// First letter of each word upper case, the rest lower case, with the "Mc"
// and Roman-numeral rules.
String CapitalizeWords(const String& S);
// S decomposed canonically, every character above U+00FF then dropped.
String StripDiacritics(const String& S);
