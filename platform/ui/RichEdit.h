// The rich text document behind the rich edit: paragraphs with an
// alignment, each a list of runs of text sharing one character format (font
// name, height, style, colour, vertical offset), and its RTF reader and
// writer.
//
// Positions are 0-based character indices over the whole document, each
// paragraph end counting as one character, as the rich edit messages count
// them. Inside a paragraph a tab is L'\t' and a line break (\line) L'\v'.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/base/Types.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Colors.h"
#include "platform/gfx/Gdi.h"
#include "platform/ui/StdCtrls_Edit.h"
#include "platform/ui/Windows.h"

enum TParaAlignment { paLeftJustify, paRightJustify, paCenter, paJustify };

enum class TRichScript { Normal, Superscript, Subscript };

struct TRichCharFormat {
    String Name = L"Arial";
    Integer Height = 200;         // twips (10 points)
    TFontStyles Style;
    TColor Color = clWindowText;  // clWindowText: the automatic colour
    Integer Offset = 0;           // twips; positive raises the text
    TRichScript Script = TRichScript::Normal;

    friend bool operator==(const TRichCharFormat&, const TRichCharFormat&) = default;
};

// Which members of a format a query found uniform over a range, or a
// change applies.
enum TRichFormatPart { rfName, rfHeight, rfStyle, rfColor, rfOffset, rfScript };
using TRichFormatParts = TSet<TRichFormatPart>;
inline constexpr TRichFormatParts rfAll{rfName, rfHeight, rfStyle, rfColor, rfOffset, rfScript};

struct TRichRun {
    String Text;
    TRichCharFormat Format;
};

struct TRichParagraph {
    TParaAlignment Alignment = paLeftJustify;
    std::vector<TRichRun> Runs;
    TRichCharFormat EndFormat;  // the format typing at an empty paragraph takes

    Integer Length() const;
    String Text() const;
};

class TRichDocument {
public:
    TRichDocument();

    const std::vector<TRichParagraph>& Paragraphs() const { return FParagraphs; }
    // Never empty: an empty document holds one empty paragraph.
    void SetParagraphs(std::vector<TRichParagraph> p);

    void Clear();
    // Characters, each paragraph end counting one.
    Integer Length() const;
    // The text with paragraphs ended by CRLF (not after the last).
    String Text() const;
    // Replaces everything with plain text in the default format; CRLF, LF and
    // CR end paragraphs.
    void SetText(const String& s);

    // Replaces the range [start, start+len) with text in format fmt; CRLF,
    // LF and CR in text end paragraphs. The range is clipped.
    void Replace(Integer start, Integer len, const String& text, const TRichCharFormat& fmt);
    // Applies the parts of fmt named in parts to the range.
    void SetFormat(Integer start, Integer len, const TRichCharFormat& fmt, TRichFormatParts parts);
    // Runs change on every format of the range (split at its ends).
    void ChangeFormat(Integer start, Integer len, const std::function<void(TRichCharFormat&)>& change);
    // The format of the range's first character; parts answers which members
    // are the same over the whole range. An empty range answers the format
    // of the character before it (the typing format).
    TRichCharFormat GetFormat(Integer start, Integer len, TRichFormatParts* parts = nullptr) const;
    void SetAlignment(Integer start, Integer len, TParaAlignment a);
    TParaAlignment Alignment(Integer pos) const;

    TRichCharFormat DefaultFormat;

private:
    std::vector<TRichParagraph> FParagraphs;
    // The paragraph holding pos and the offset inside it (clipped).
    void Locate(Integer pos, size_t& para, Integer& offset) const;
    // Splits runs so that a run boundary falls at offset in paragraph p;
    // answers the index of the run starting there.
    static size_t SplitAt(TRichParagraph& p, Integer offset);
    static void Merge(TRichParagraph& p);
};

// RTF. The reader takes any bytes without failing: malformed, truncated or
// deeply nested input gives what could be read. Unknown control words and
// \* groups are skipped; \'hh bytes decode in the document's code page (or
// the font's character set); \u characters skip their fallback.
void ReadRtf(const std::string& rtf, TRichDocument& doc);
// Whether bytes start as an RTF document ("{\rtf").
bool IsRtf(const std::string& bytes);
std::string WriteRtf(const TRichDocument& doc);
// Decodes bytes in a Windows code page; unknown pages decode as 1252.
String DecodeCodePage(const std::string& bytes, Integer codePage);

// What Lines.LoadFromStream/SaveToStream exchange. Loading: RTF when the
// bytes start as RTF and plainText is false, else text (a byte order mark
// names its encoding, ANSI without one). Saving: RTF, or with plainText the
// text in ANSI with paragraphs ended by CRLF.
void LoadRichText(const std::string& bytes, TRichDocument& doc, bool plainText);
std::string SaveRichText(const TRichDocument& doc, bool plainText);

// ---------------------------------------------------------------------------
// Layout: a document broken into lines for a device context. Characters
// are measured run by run with the context's text functions (so the same
// fonts, fallbacks and shaping as every other text), lines wrap at spaces
// (or between characters when a word is wider than the line), tabs stop
// every half inch, superscript and subscript shrink to two thirds of the
// size, and a vertical offset raises or lowers a run.

struct TRichPiece {
    Integer From = 0, To = 0;   // characters of the line (line-relative)
    Integer Font = 0;           // index into the layout's fonts
    Integer Rise = 0;           // pixels the baseline is raised
    TColor Color = clWindowText;
    bool Blank = false;         // a tab or line break: nothing to draw
};

struct TRichLine {
    Integer Start = 0;          // document position of the first character
    Integer Length = 0;         // characters shown on the line (no paragraph end)
    Integer Top = 0, Height = 0, Ascent = 0;
    Integer Left = 0;           // the alignment's offset
    Integer Width = 0;          // without trailing spaces
    bool EndsParagraph = false;
    String Text;                // the characters shown
    std::vector<Integer> Xs;    // Length + 1 edges, relative to Left
    std::vector<TRichPiece> Pieces;
};

class TRichLayout {
public:
    TRichLayout() = default;
    ~TRichLayout();
    TRichLayout(const TRichLayout&) = delete;
    TRichLayout& operator=(const TRichLayout&) = delete;

    // Lays out the paragraphs from the one holding fromPos on, at the
    // context's resolution (pixels per inch, as GetDeviceCaps answers; 96
    // when it answers 0). wrapWidth <= 0 keeps each paragraph on its lines
    // of hard breaks; alignWidth is what right and centred lines align in.
    // Stops once a line starts at or below stopY (0: lays out everything).
    void Build(HDC dc, const TRichDocument& doc, Integer wrapWidth, Integer alignWidth, Integer fromPos = 0,
               Integer stopY = 0);
    void Clear();

    const std::vector<TRichLine>& Lines() const { return FLines; }
    Integer Height() const;
    Integer Width() const;   // the widest line
    Integer DpiX() const { return FDpiX; }
    Integer DpiY() const { return FDpiY; }

    // The line holding pos (for a wrapped line's end, the next line).
    Integer LineOf(Integer pos) const;
    // The caret's place for pos: left edge, top and height of its line.
    TPoint PosOf(Integer pos, Integer* height = nullptr) const;
    // The nearest position to a point (layout coordinates).
    Integer CharAt(TPoint p) const;

    // Draws lines [first, last) at origin (the layout's (0, 0) there), with
    // the characters [selA, selB) highlighted and only those of [from, to).
    // autoColor is what clWindowText (the automatic colour) draws as.
    void Draw(HDC dc, TPoint origin, Integer first, Integer last, Integer selA, Integer selB, COLORREF autoColor,
              COLORREF selBack, COLORREF selText, Integer from = 0, Integer to = INT32_MAX) const;

private:
    struct TFontSlot {
        TRichCharFormat Format;
        HFONT Font = nullptr;
        Integer Ascent = 0, Descent = 0;
    };
    Integer FontFor(HDC dc, const TRichCharFormat& f);
    void LayParagraph(HDC dc, const TRichParagraph& p, Integer start, Integer wrapWidth, Integer alignWidth,
                      Integer& y);

    std::vector<TFontSlot> FFonts;
    std::vector<TRichLine> FLines;
    Integer FDpiX = 96, FDpiY = 96;
};

// ---------------------------------------------------------------------------
// The rich edit window class ("RichEdit20W"): a TRichDocument with a
// selection, painting, keyboard and mouse editing, scrolling and the rich
// edit messages below; paragraph ends count one character in every
// position it answers.

inline constexpr const wchar_t* RICHEDIT_CLASS = L"RichEdit20W";

enum : UINT {
    EM_EXLIMITTEXT = WM_USER + 53, EM_EXLINEFROMCHAR = WM_USER + 54, EM_GETPARAFORMAT = WM_USER + 61,
    EM_GETSELTEXT = WM_USER + 62, EM_HIDESELECTION = WM_USER + 63, EM_SETPARAFORMAT = WM_USER + 71,
    EM_SETTARGETDEVICE = WM_USER + 72, EM_STREAMIN = WM_USER + 73, EM_STREAMOUT = WM_USER + 74,
    EM_GETTEXTRANGE = WM_USER + 75,
};

// Event mask bits (EM_SETEVENTMASK).
enum : DWORD {
    ENM_NONE = 0, ENM_CHANGE = 0x1, ENM_UPDATE = 0x2, ENM_REQUESTRESIZE = 0x40000, ENM_SELCHANGE = 0x80000,
    ENM_PROTECTED = 0x200000,
};

struct CHARRANGE {
    LONG cpMin = 0;
    LONG cpMax = 0;
};

// Character formats: dwMask says which members count.
enum : DWORD {
    CFM_BOLD = 0x1, CFM_ITALIC = 0x2, CFM_UNDERLINE = 0x4, CFM_STRIKEOUT = 0x8, CFM_PROTECTED = 0x10,
    CFM_SUBSCRIPT = 0x30000, CFM_SUPERSCRIPT = 0x30000, CFM_CHARSET = 0x08000000, CFM_OFFSET = 0x10000000,
    CFM_FACE = 0x20000000, CFM_COLOR = 0x40000000, CFM_SIZE = 0x80000000,
    CFE_BOLD = 0x1, CFE_ITALIC = 0x2, CFE_UNDERLINE = 0x4, CFE_STRIKEOUT = 0x8, CFE_PROTECTED = 0x10,
    CFE_SUBSCRIPT = 0x10000, CFE_SUPERSCRIPT = 0x20000, CFE_AUTOCOLOR = 0x40000000,
};
// EM_SETCHARFORMAT's and EM_GETCHARFORMAT's wParam.
enum : WPARAM { SCF_DEFAULT = 0, SCF_SELECTION = 1, SCF_WORD = 2, SCF_ALL = 4 };

struct CHARFORMATW {
    UINT cbSize = sizeof(CHARFORMATW);
    DWORD dwMask = 0;
    DWORD dwEffects = 0;
    LONG yHeight = 0;     // twips
    LONG yOffset = 0;     // twips; positive raises
    COLORREF crTextColor = 0;
    Byte bCharSet = 0;
    Byte bPitchAndFamily = 0;
    WCHAR szFaceName[32] = {};
};
using CHARFORMAT = CHARFORMATW;

enum : DWORD { PFM_ALIGNMENT = 0x8 };
enum : Word { PFA_LEFT = 1, PFA_RIGHT = 2, PFA_CENTER = 3, PFA_JUSTIFY = 4 };

struct PARAFORMAT {
    UINT cbSize = sizeof(PARAFORMAT);
    DWORD dwMask = 0;
    Word wNumbering = 0;
    Word wEffects = 0;
    LONG dxStartIndent = 0;
    LONG dxRightIndent = 0;
    LONG dxOffset = 0;
    Word wAlignment = 0;
    short cTabCount = 0;
    LONG rgxTabs[32] = {};
};

// EM_STREAMIN/EM_STREAMOUT: the callback moves up to cb bytes through buf
// and answers 0 to go on (with *pcb 0 at the end of input).
using EDITSTREAMCALLBACK = DWORD (*)(UINT_PTR dwCookie, Byte* pbBuff, LONG cb, LONG* pcb);
struct EDITSTREAM {
    UINT_PTR dwCookie = 0;
    DWORD dwError = 0;
    EDITSTREAMCALLBACK pfnCallback = nullptr;
};
enum : WPARAM { SF_TEXT = 0x1, SF_RTF = 0x2, SF_UNICODE = 0x10, SFF_SELECTION = 0x8000 };

struct TEXTRANGEW {
    CHARRANGE chrg;
    wchar_t* lpstrText = nullptr;   // room for the range and a terminating zero
};

// EM_FORMATRANGE: draws chrg into rc on hdc (both rectangles in twips);
// answers the first character not drawn.
struct FORMATRANGE {
    HDC hdc = nullptr;
    HDC hdcTarget = nullptr;
    TRect rc;
    TRect rcPage;
    CHARRANGE chrg;
};

// Notifications (WM_NOTIFY) when the event mask asks for them.
struct SELCHANGE {
    NMHDR nmhdr;
    CHARRANGE chrg;
    Word seltyp = 0;
};
enum : Word { SEL_EMPTY = 0, SEL_TEXT = 1, SEL_MULTICHAR = 4 };
struct REQRESIZE {
    NMHDR nmhdr;
    TRect rc;
};

void RegisterRichEditClass();
LRESULT RichEditWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);

// ---------------------------------------------------------------------------
// The class library's rich edit: a memo whose window is the rich edit
// class. The content survives the window being re-created (word wrap,
// scroll bars), kept as RTF meanwhile.

class TCustomRichEdit;

enum TAttributeType { atSelected, atDefaultText };
enum TConsistentAttribute { caBold, caColor, caFace, caItalic, caSize, caStrikeOut, caUnderline, caProtected };
using TConsistentAttributes = TSet<TConsistentAttribute>;

// The character format of the selection (atSelected; with no selection the
// format typing will take) or the default format (atDefaultText).
class TTextAttributes : public TPersistent {
    VEL_CLASS(TTextAttributes, TPersistent)
public:
    TTextAttributes(TCustomRichEdit* editor, TAttributeType type) : FEditor(editor), FType(type) {}
    void Assign(TPersistent* Source) override;   // a TFont or TTextAttributes

    String Name();
    void SetName(const String& v);
    Integer Size();            // points
    void SetSize(Integer v);
    Integer Height();          // pixels on the screen
    void SetHeight(Integer v);
    TFontStyles Style();
    void SetStyle(TFontStyles v);
    TColor Color();            // clWindowText: the automatic colour
    void SetColor(TColor v);
    // Which of the members are the same over the whole selection.
    TConsistentAttributes ConsistentAttributes();

protected:
    void AssignTo(TPersistent* Dest) override;   // to a TFont

private:
    CHARFORMATW Get();
    void Set(CHARFORMATW& cf);
    TCustomRichEdit* FEditor;
    TAttributeType FType;
};

// The paragraph format of the paragraphs the selection touches.
class TParaAttributes : public TPersistent {
    VEL_CLASS(TParaAttributes, TPersistent)
public:
    explicit TParaAttributes(TCustomRichEdit* editor) : FEditor(editor) {}
    TAlignment Alignment();
    void SetAlignment(TAlignment v);

private:
    TCustomRichEdit* FEditor;
};

// The lines of a rich edit: its paragraphs. Loading and saving go through
// the control's RTF (or, with PlainText, its text).
class TRichEditStrings : public TStrings {
public:
    explicit TRichEditStrings(TCustomRichEdit* editor) : FEditor(editor) {}
    void Insert(Integer Index, const String& S) override;
    void Delete(Integer Index) override;
    void Clear() override;
    void SetText(const String& Value) override;
    void LoadFromStream(TStream* Stream, TEncoding* Encoding = nullptr) override;
    void SaveToStream(TStream* Stream, TEncoding* Encoding = nullptr) const override;

protected:
    String Get(Integer Index) const override;
    Integer GetCount() const override;
    void Put(Integer Index, const String& S) override;

private:
    // Start and length of each paragraph (document positions).
    std::vector<std::pair<Integer, Integer>> Paragraphs() const;
    void ReplaceRange(Integer a, Integer b, const String& s) const;
    TCustomRichEdit* FEditor;
};

using TRichEditResizeEvent = std::function<void(TObject* Sender, TRect Rect)>;

class TCustomRichEdit : public TCustomMemo {
    VEL_CLASS(TCustomRichEdit, TCustomMemo)
public:
    explicit TCustomRichEdit(TComponent* AOwner);
    ~TCustomRichEdit() override;

    TStrings* Lines() { return FRichLines.get(); }
    void SetLines(TStrings* v) { FRichLines->Assign(v); }
    TTextAttributes* SelAttributes() { return FSelAttributes.get(); }
    void SetSelAttributes(TTextAttributes* v) { FSelAttributes->Assign(v); }
    TTextAttributes* DefAttributes() { return FDefAttributes.get(); }
    void SetDefAttributes(TTextAttributes* v) { FDefAttributes->Assign(v); }
    TParaAttributes* Paragraph() { return FParagraph.get(); }
    // Lines load and save plain text rather than RTF.
    bool PlainText() const { return FPlainText; }
    void SetPlainText(bool v) { FPlainText = v; }
    // The selected text, paragraph ends as CRLF.
    String SelText();
    void SetSelText(const String& v) { TCustomEdit::SetSelText(v); }

    TNotifyEvent OnSelectionChange;
    TRichEditResizeEvent OnResizeRequest;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& Message) override;
    virtual void SelectionChange();
    virtual void RequestSize(const TRect& Rect);

private:
    std::unique_ptr<TRichEditStrings> FRichLines;
    std::unique_ptr<TTextAttributes> FSelAttributes, FDefAttributes;
    std::unique_ptr<TParaAttributes> FParagraph;
    bool FPlainText = false;
    std::string FSavedContent;   // RTF kept while the window is re-created
    bool FHaveContent = false;
};

class TRichEdit : public TCustomRichEdit {
    VEL_CLASS(TRichEdit, TCustomRichEdit)
public:
    explicit TRichEdit(TComponent* AOwner) : TCustomRichEdit(AOwner) {}
};
