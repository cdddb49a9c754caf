// The markup engine: a small HTML-like markup laid out line by line and drawn,
// measured or hit-tested in a rectangle by RenderMarkup, with the routines
// that read colours and entities, strip and edit markup, and draw the
// images, bullets, rules and backgrounds the tags ask for.
//
// There is one engine. The grid's variant (unit VurHTMLE) runs the same code
// with another TMarkupPolicy; its entry points live in VurHTMLE.h.
#pragma once

#include "platform/base/SysUtils.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Graphics.h"
#include "platform/gfx/ImageList.h"
#include "platform/ui/Controls.h"

class THTMLPictureCache;
class TPictureContainer;

// What distinguishes a run of the engine: the labels' engine or the grid's.
struct TMarkupPolicy {
    // Every text run decodes the accented-letter entity table.
    bool EntityTable = false;
    // The CONTROL tag draws and hit-tests inline edit boxes, combos, check
    // boxes, radio buttons and buttons.
    bool ControlTags = false;
    // OFS shifts following lines; LineSpacing adds to every line.
    bool OffsetTag = true;
    bool UseLineSpacing = true;
    // HI takes the process-wide colours of the grid and leaves the style.
    bool UnitHighlightColors = false;
    // Case-insensitive searches fold ASCII letters only.
    bool AsciiCaseFolding = false;
    // A text holding " & " is drawn without prefix processing.
    bool NoPrefixOnAmpersand = true;
    // Carriage returns become "<BR>" (else a blank, none between ">" and "<").
    bool ConvertCR = true;
    // The grid's line rules: the first line one pixel in, no trimming, line
    // height never reset to 0, a word split by tags never broken, XSize
    // without + 2, TITLE to AnchorTitle, the pen restored, ResFactor at
    // least 1, runs drawn with the flags as computed; and its tag table (A,
    // BODY, FONT, HI, HR, IMG, LI, OL, P, UL).
    bool GridRules = false;
    // The grid's unit state: its highlight colours and whether the system
    // draws themed controls at all.
    TColor HighlightColor = clHighlight;
    TColor HighlightTextColor = clHighlightText;
    bool WinXP = false;
};

// The labels' engine.
TMarkupPolicy ReferenceMarkupPolicy();

// The parameters of RenderMarkup, by the names of its parameter list; the
// out values are written back into the record.
struct TMarkupParams {
    TCanvas* Canvas = nullptr;
    String Text;
    TRect Rect;
    TCustomImageList* Images = nullptr;
    Integer XPos = -1;
    Integer YPos = -1;
    Integer FocusLink = -1;
    Integer HoverLink = -1;
    Integer ShadowOffset = 1;
    bool CheckOnly = false;
    bool CheckHeight = false;
    bool Printing = false;
    bool IgnoreColors = false;
    bool Blink = false;
    bool Hover = false;
    bool WordWrap = true;
    // Grid variant: a mouse button held down on the control CtrlDownID.
    bool CtrlDown = false;
    String CtrlDownID;
    double ResFactor = 1.0;
    TColor URLColor = clBlue;
    TColor HoverColor = clNone;
    TColor HoverFontColor = clNone;
    TColor ShadowColor = clGray;
    // Out.
    String AnchorVal;
    String StripVal;
    String FocusAnchor;
    String AnchorTitle;   // grid variant
    Integer XSize = 0;
    Integer YSize = 0;
    Integer HyperLinks = 0;
    Integer MouseLink = -1;
    TRect HoverRect;
    // Grid variant: the control found (ControlID is also in with CheckOnly).
    TRect ControlRect;
    String ControlID;
    String ControlValue;
    String ControlType;
    THTMLPictureCache* ImageCache = nullptr;
    TPictureContainer* Container = nullptr;
    Integer LineSpacing = 0;
    HWND ThemeWindow = nullptr;
    TBiDiMode BiDiMode = bdLeftToRight;
    TColor HighlightColor = clHighlight;
    TColor HighlightTextColor = clHighlightText;
    TFontStyles HighlightStyle;
};

// Draws, measures (CheckHeight) or hit-tests (CheckOnly) the markup; True
// when the test point lies on a hyperlink's text or image (grid: or on a
// control, or the control ControlID was found).
bool RenderMarkup(TMarkupParams& P);
bool RenderMarkup(TMarkupParams& P, const TMarkupPolicy& Policy);

// ---------------------------------------------------------------------------
// Language routines

// "clred" ... "clinfobk" (lower case, exact); 0 for any other text.
TColor TextToColor(const String& Name);
// Two hexadecimal digits (either case; any other character counts 0).
Integer HexPairToInt(const String& Text);
// "#RRGGBB" (missing pairs count 0).
TColor HexToColor(const String& Text);
// 1-based position of SubStr in S, both upper-cased; 0 when absent.
Integer PosNoCase(const String& SubStr, const String& S);
Integer FindPos(const String& SubStr, const String& S, Integer& P);
bool ReplaceFirstNoCase(const String& SubStr, const String& NewStr, String& S);
// The number at the start of S ("$", "x", "0x" hexadecimal; sign only when
// the whole text is a number); 0 without leading digits.
Integer IntFromText(const String& S);
void RemoveHashMarkers(const String& S, String& Result);
void CRToBRTags(const String& S, bool ConvertCR, String& Result);
// Flags for DrawText in the reading order (right-to-left systems only).
UINT BiDiDrawFlags(UINT Flags, TBiDiMode BiDiMode);

// ---------------------------------------------------------------------------
// Utilities

void StripMarkup(const String& Text, String& Result);
void RemoveTags(const String& Text, String& Result);
Integer PlainToMarkupPos(const String& Text, Integer N);
Integer FindTextFrom(const String& SubStr, const String& S, Integer Offset, Integer& P, bool CaseSensitive);
void HighlightMarkupText(const String& Text, const String& SubStr, const String& Tag, String& Result,
                         bool CaseSensitive);
void RemoveMarkupTag(const String& Text, const String& Tag, String& Result);
void GradientFill(TCanvas* Canvas, TColor FromColor, TColor ToColor, bool Horizontal, const TRect& R,
                  Integer Steps);

// Hands an anchor to the shell's "open" when it is a web or mail address
// ("http:", "https:", "ftp:", "mailto:", any case); True when it did.
// Every markup control and the panel follow links through this.
bool OpenMarkupLink(const String& Anchor);
// Whether OpenMarkupLink would hand the anchor to the shell.
bool IsFollowableLink(const String& Anchor);

// ---------------------------------------------------------------------------
// Images, lists, rules and backgrounds

void GradientRect(TCanvas* Canvas, TColor FromColor, TColor ToColor, bool Horizontal, const TRect& R,
                  Integer Steps, TColor FrameColor);
void DrawSystemIcon(TCanvas* Canvas, Integer X, Integer Y, TSize& Size, double Factor, bool Printing,
                    bool Draw, bool Large, const String& Name);
void StretchDIBDraw(TCanvas* Canvas, const TRect& R, TBitmap* Bitmap);
bool IsDirectoryPath(const String& Path);
