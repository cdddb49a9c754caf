// The rich text document behind the rich edit: paragraphs with an
// alignment, each a list of runs of text sharing one character format (font
// name, height, style, colour, vertical offset), and its RTF reader and
// writer.
//
// Positions are 0-based character indices over the whole document, each
// paragraph end counting as one character, as the rich edit messages count
// them. Inside a paragraph a tab is L'\t' and a line break (\line) L'\v'.
#pragma once

#include <string>
#include <vector>

#include "platform/base/Types.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Colors.h"

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
