// The engine's working state: one TMarkupRenderer per RenderMarkup call.
// Shared by the engine's sources (language, layout, images), not by callers.
#pragma once

#include <memory>

#include "controls/markup/MarkupEngine.h"

namespace markup_detail {

// A picture that an image source names: an image-list image, a shell icon or
// a picture object of the container or the cache.
struct TImageSource {
    enum TKind { skNone, skList, skSmallIcon, skLargeIcon, skPicture } Kind = skNone;
    Integer Index = 0;
    String Name;
    TGraphic* Picture = nullptr;
};

// Picture lookups of the container and the cache (MarkupEngine_Pictures.cpp).
TGraphic* ContainerPicture(TPictureContainer* Container, const String& Name);
TGraphic* CachePicture(THTMLPictureCache* Cache, const String& URL);
// Frame facts of an animated markup picture; false for any other graphic.
struct TFrameFacts {
    Integer Frames = 1;
    Integer OffsetX = 0, OffsetY = 0;
    Integer MaxWidth = 0, MaxHeight = 0;
};
bool PictureFrameFacts(TGraphic* Picture, TFrameFacts& Facts);
void SetPictureStretch(TGraphic* Picture, bool Stretch);

// Upper-casing for the case-insensitive searches of a policy.
String FoldUpper(const String& S, bool Ascii);
Integer PosNoCaseWith(const String& SubStr, const String& S, bool Ascii);
bool ReplaceFirstNoCaseWith(const String& SubStr, const String& NewStr, String& S, bool Ascii);
// The value between the first double quote after Pos (1-based) and the next.
String QuotedAfter(const String& S, Integer Pos);
// The colour of a markup value: "#RRGGBB" or a colour name (any case).
TColor MarkupColor(const String& Value);
// The grid table of entities: decodes every name of the table in S.
void DecodeEntityTable(String& S);
bool IsBlankOrControl(Char c);
// A decoded "&amp;" until the text is shown (private-use character).
constexpr Char kAmpMarker = 0xE000;
String DecodePreparedEntities(const String& S);
void ShowAmpersands(String& S, bool NoPrefix);
void GridCRToBRTags(const String& S, bool ConvertCR, String& Result);
TColor ColorTableLookup(const String& NameWithoutPrefix);
int EntityTableCount();
Char EntityTableChar(int i);
const wchar_t* EntityTableName(int i);

// The attributes of a CONTROL tag.
struct TControlTag {
    String TypeName, ID, Value, Width, Height, Prop, MaxLen;
};
// Reads a CONTROL tag's attributes: whole names (any case of ASCII letters)
// followed by "=", values only between double quotes.
void ParseControlTagText(const String& Tag, TControlTag& T);
// Entities one pass each way: "&lt;", "&gt;", "&amp;", "&quot;" and, with
// All, the accented-letter table.
String DecodeEntitiesText(const String& Text, bool All);
String EncodeEntitiesText(const String& Text, bool All);

// "<BR>" and "<HR>" (any case) to line breaks; tags removed; positions.
String LineBreakTagsToCRLF(const String& S);
String StripTagsOnly(const String& S);
Integer PlainToMarkupPosIn(const String& Text, Integer N);
// Every occurrence of Needle (given in upper case) removed, in any case.
void RemoveAllNoCase(String& S, const String& Needle, bool Ascii);

struct TLineState {
    TRect R;                 // line rectangle
    Integer Width = 0;       // used so far
    Integer Height = 0;
    Integer SupRoom = 0, SubRoom = 0;
    Integer BaselineGap = 0;
    Integer Offset = 0;      // carried x offset (OFS)
    Integer Align = 0;       // 0 left, 1 right, 2 centre
    Integer Indent = 0;
    TRect Float;             // Left/Right reserved, Bottom in canvas coordinates
    Integer PFloat = 0;      // float state of P
    TPoint PFloatPos;        // left and top remembered by a floating P
    bool OnAnchorText = false, OnAnchorImage = false;
};

class TMarkupRenderer {
public:
    TMarkupRenderer(TMarkupParams& P, const TMarkupPolicy& Policy);
    ~TMarkupRenderer();
    bool Run();

private:
    friend struct TTagContext;
    // One pass over one line from Src[Cur] (End exclusive); answers the
    // consumed text.
    String RenderLine(const String& Src, size_t& Cur, size_t End, TRect LineRect, Integer H1,
                      bool Measuring, bool Drawing);
    void HandleTag(const String& Src, size_t& Cur, size_t End, bool Measuring, bool Drawing);
    // Tag handlers; a deferral leaves the tag to start the next line.
    void TagAnchorOpen(const String& Attr, const String& AttrUp, bool Drawing);
    void TagAnchorClose(bool Drawing);
    void TagFontOpen(const String& AttrUp, bool Drawing);
    void TagFontClose(bool Measuring);
    void TagParagraph(const String& AttrUp, bool Drawing);
    void TagParagraphClose(bool Measuring, bool Drawing);
    bool TagListItem(const String& AttrUp, bool Drawing);
    void TagRule(const String& Attr, const String& AttrUp, bool Drawing);
    void TagBody(const String& Attr, const String& AttrUp, bool Drawing);
    bool TagImage(const String& Attr, const String& AttrUp, bool Drawing);
    bool TagControl(const String& Attr, bool Drawing);
    void TagHighlight(bool Drawing);
    void TagHighlightClose(bool Drawing);

    void ResolveSource(String Value, TImageSource& Out);
    void DrawBodyPicture(const TImageSource& Src, bool RightColumn);
    Integer ScaleX(Integer v);
    Integer ScaleY(Integer v);
    void EndFocusPart();

    Integer MeasureRun(const String& Display);
    void DrawRun(const String& Display, Integer RunWidth, Integer RunHeight);
    void DrawErrorMark(Integer Left, Integer Right);
    void SetBrushColor(TColor c);
    TColor BrushColorOrNone();
    void SelectRotatedFont(Integer Angle);
    void RestoreFont();

    TMarkupParams& P;
    TMarkupPolicy Pol;
    TCanvas* C;
    HDC Dc = nullptr;
    UINT Flags = 0;
    bool NoPrefix = false;
    Integer GhHeight = 0;

    // Fonts: the base font and, per pass, the carried canvas and base fonts.
    TFont Base;
    TFont PassCanvasFont[2], PassBaseFont[2];
    TColor StartBrush = clNone;
    TPenStyle StartPenStyle = psSolid;
    TColor StartPenColor = clBlack;
    Integer StartPenWidth = 1;

    // Drawing state.
    bool InLink = false, AnchorColor = false;
    String HRef, Title;
    TColor HoverSavedBrush = clNone, HoverSavedFont = clNone;
    bool AnchorDecorated = false;
    bool AnchorHit = false;          // test point found on this anchor's text
    TPoint AnchorStart;
    Integer AnchorStartLine = 0;
    Integer LineNo = 0;
    bool Hidden = false, Error = false, Shadow = false, Sub = false, Sup = false;
    bool PBackground = false;
    TColor FontSavedBrush = clNone, PSavedBrush = clNone;
    TColor HiSavedBrush = clNone, HiSavedFont = clNone;
    TFontStyles HiSavedStyle;
    bool HiUsed = false;
    Integer ListLevel = 0;
    bool Ordered = false;
    Integer ItemCounter = 0;
    Integer Images = 0;
    Integer HoveredImage = -1;
    HFONT SavedFontHandle = nullptr, RotatedFont = nullptr;
    // Focus rectangle of the focus anchor.
    bool FocusOpen = false;
    TRect FocusR;

    // Line state and the per-pass position.
    TLineState L;
    Integer CurLeft = 0, CurRight = 0;
    bool LineFull = false, Deferred = false, FirstLI = false, RunAccepted = false;
    String LineDisplay;             // display text the line holds (grid fit rule)
    Integer TrailingBlank = 0;
    bool DropRest = false;
    bool FirstPass = false;
    Integer MaxWidth = 0;
    Integer LineH1 = 0;
    bool Themed = false;
    String RequestedControlID;
    // The prepared text and its next "<" (kept to avoid rescanning).
    const String* MainText = nullptr;
    size_t MainLtPos = 0;
    bool MainLtValid = false;
};

}  // namespace markup_detail
