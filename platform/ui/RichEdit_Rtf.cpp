// RTF reading and writing for the rich text document.
#include <iconv.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <map>

#include "platform/base/Encoding.h"
#include "platform/ui/RichEdit.h"

String DecodeCodePage(const std::string& bytes, Integer codePage)
{
    if (bytes.empty()) return {};
    if (codePage != 1252 && codePage > 0 && codePage < 100000) {
        const std::string name = "CP" + std::to_string(codePage);
        iconv_t cd = iconv_open("WCHAR_T", name.c_str());
        if (cd != reinterpret_cast<iconv_t>(-1)) {
            String out;
            std::string in = bytes;
            char* src = in.data();
            size_t left = in.size();
            std::vector<wchar_t> buf(in.size() + 4);
            while (left > 0) {
                char* dst = reinterpret_cast<char*>(buf.data());
                size_t room = buf.size() * sizeof(wchar_t);
                const size_t r = iconv(cd, &src, &left, &dst, &room);
                out.append(buf.data(), (reinterpret_cast<wchar_t*>(dst) - buf.data()));
                if (r == static_cast<size_t>(-1) && left > 0 && errno != E2BIG) {
                    // A byte the page cannot take (or a cut sequence) becomes '?'.
                    out += L'?';
                    ++src;
                    --left;
                }
            }
            iconv_close(cd);
            return out;
        }
    }
    return TEncoding::ANSI()->GetString(reinterpret_cast<const Byte*>(bytes.data()), bytes.size());
}

bool IsRtf(const std::string& bytes) { return bytes.compare(0, 5, "{\\rtf") == 0; }

namespace {

// The Windows code page a font character set stands for (0: the document's).
Integer CharsetCodePage(Integer charset)
{
    switch (charset) {
    case 128: return 932;
    case 129: return 949;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    default: return 0;
    }
}

enum class TDest { Text, Skip, FontTable, ColorTable };

struct TState {
    TDest Dest = TDest::Text;
    TRichCharFormat Format;
    Integer Font = -1;
    TParaAlignment Alignment = paLeftJustify;
    Integer UcSkip = 1;
};

constexpr int kMaxDepth = 200;

class TRtfReader {
public:
    TRtfReader(const std::string& in, TRichDocument& doc) : FIn(in), FDoc(doc) {}

    void Run()
    {
        FState.Format = FDoc.DefaultFormat;
        FState.Format.Name = L"";
        while (FPos < FIn.size()) {
            const char c = FIn[FPos++];
            if (FSkipDepth > 0) {
                // Inside a skipped or too deep group: only braces and escapes count.
                if (c == '\\') ++FPos;
                else if (c == '{') ++FSkipDepth;
                else if (c == '}') {
                    if (--FSkipDepth == 0) Pop();
                }
                continue;
            }
            if (c == '{') Push();
            else if (c == '}') Pop();
            else if (c == '\\') ControlWord();
            else if (c == '\r' || c == '\n') continue;
            else AddByte(static_cast<unsigned char>(c));
        }
        FlushBytes();
        EndParagraph(true);
        FDoc.SetParagraphs(std::move(FParas));
    }

private:
    const std::string& FIn;
    TRichDocument& FDoc;
    size_t FPos = 0;
    TState FState;
    std::vector<TState> FStack;
    int FSkipDepth = 0;
    Integer FDocCodePage = 1252;
    Integer FDefaultFont = 0;
    std::map<Integer, std::pair<String, Integer>> FFonts;  // number: name, code page
    std::vector<TColor> FColors;
    Integer FNewFont = 0, FNewCharset = 0;
    std::string FFontName;
    Integer FRed = 0, FGreen = 0, FBlue = 0;
    bool FColorSet = false;
    std::string FBytes;
    Integer FSkipFallback = 0;
    Char FHighSurrogate = 0;
    std::vector<TRichParagraph> FParas;
    TRichParagraph FPara;
    TRichCharFormat FFinalFormat;
    bool FHaveFinal = false;

    void Push()
    {
        FlushBytes();
        FSkipFallback = 0;
        if (FStack.size() >= kMaxDepth) {
            FStack.push_back(FState);
            FSkipDepth = 1;
            return;
        }
        FStack.push_back(FState);
    }

    void Pop()
    {
        FlushBytes();
        FSkipFallback = 0;
        if (FState.Dest == TDest::FontTable && !FFontName.empty()) EndFontEntry();
        if (FStack.empty()) return;  // unbalanced closing brace
        const TDest inner = FState.Dest;
        if (FStack.size() == 1) {
            // The document's group closes: what was in force there ends the
            // last paragraph.
            FFinalFormat = FState.Format;
            FHaveFinal = true;
        }
        FState = FStack.back();
        FStack.pop_back();
        if (inner == TDest::FontTable && FState.Dest == TDest::FontTable && !FFontName.empty()) EndFontEntry();
    }

    Integer CodePage() const
    {
        auto it = FFonts.find(FState.Font);
        if (it != FFonts.end() && it->second.second) return it->second.second;
        return FDocCodePage;
    }

    void FlushBytes()
    {
        if (FBytes.empty()) return;
        const String s = DecodeCodePage(FBytes, FState.Dest == TDest::FontTable ? FNewCharsetPage() : CodePage());
        FBytes.clear();
        for (Char ch : s) Put(ch);
    }

    Integer FNewCharsetPage() const
    {
        const Integer p = CharsetCodePage(FNewCharset);
        return p ? p : FDocCodePage;
    }

    void Put(Char ch)
    {
        switch (FState.Dest) {
        case TDest::Text: {
            FPara.Alignment = FState.Alignment;
            TRichCharFormat f = FState.Format;
            if (f.Name.empty()) f.Name = FontName(FDefaultFont);
            if (!FPara.Runs.empty() && FPara.Runs.back().Format == f) FPara.Runs.back().Text += ch;
            else FPara.Runs.push_back({String(1, ch), f});
            break;
        }
        case TDest::FontTable:
            if (ch == L';') EndFontEntry();
            else if (FFontName.size() < 256) FFontName += UTF8Encode(String(1, ch));
            break;
        case TDest::ColorTable:
            if (ch == L';') {
                FColors.push_back(FColorSet ? TColor(FRed | (FGreen << 8) | (FBlue << 16)) : clWindowText);
                FRed = FGreen = FBlue = 0;
                FColorSet = false;
            }
            break;
        case TDest::Skip: break;
        }
    }

    String FontName(Integer n) const
    {
        auto it = FFonts.find(n);
        return it != FFonts.end() ? it->second.first : FDoc.DefaultFormat.Name;
    }

    void EndFontEntry()
    {
        String name;
        for (Char ch : UTF8ToString(FFontName))
            if (ch >= 0x20) name += ch;  // control characters have no place in a name
        while (!name.empty() && name.back() == L' ') name.pop_back();
        if (!name.empty()) FFonts[FNewFont] = {name, CharsetCodePage(FNewCharset)};
        FFontName.clear();
        FNewCharset = 0;
    }

    void AddByte(unsigned char b)
    {
        if (FSkipFallback > 0) {
            --FSkipFallback;
            return;
        }
        FBytes += static_cast<char>(b);
    }

    void Text(Char ch)
    {
        FlushBytes();
        Put(ch);
    }

    void EndParagraph(bool last)
    {
        FlushBytes();
        // The last paragraph keeps the alignment in force at its text: the
        // closing brace has already dropped the state that set it.
        if (!last) FPara.Alignment = FState.Alignment;
        TRichCharFormat f = last && FHaveFinal ? FFinalFormat : FState.Format;
        if (f.Name.empty()) f.Name = FontName(FDefaultFont);
        FPara.EndFormat = f;
        FParas.push_back(std::move(FPara));
        FPara = TRichParagraph{};
    }

    void Unicode(Integer n)
    {
        FlushBytes();
        Char ch = static_cast<Char>(n < 0 ? n + 65536 : n);
        if (ch >= 0xD800 && ch < 0xDC00) {
            FHighSurrogate = ch;
        } else if (ch >= 0xDC00 && ch < 0xE000) {
            if (FHighSurrogate) Put(0x10000 + ((FHighSurrogate - 0xD800) << 10) + (ch - 0xDC00));
            FHighSurrogate = 0;
        } else {
            FHighSurrogate = 0;
            Put(ch);
        }
        FSkipFallback = FState.UcSkip;
    }

    void ControlWord()
    {
        if (FPos >= FIn.size()) return;
        const char c = FIn[FPos];
        if (!std::isalpha(static_cast<unsigned char>(c))) {
            ++FPos;
            switch (c) {
            case '\'': {
                int v = 0, got = 0;
                while (got < 2 && FPos < FIn.size() && std::isxdigit(static_cast<unsigned char>(FIn[FPos]))) {
                    const char h = FIn[FPos++];
                    v = v * 16 + (std::isdigit(static_cast<unsigned char>(h)) ? h - '0' : (h | 0x20) - 'a' + 10);
                    ++got;
                }
                if (got) AddByte(static_cast<unsigned char>(v));
                break;
            }
            case '\\': case '{': case '}': AddByte(static_cast<unsigned char>(c)); break;
            case '~': Text(0xA0); break;
            case '_': Text(0x2011); break;
            case '-': break;
            case '*': FlushBytes(); FSkipDepth = 1; break;  // an optional destination we do not know
            case '\r': case '\n': Paragraph(); break;
            case '\t': Text(L'\t'); break;
            default: break;
            }
            return;
        }
        std::string word;
        while (FPos < FIn.size() && std::isalpha(static_cast<unsigned char>(FIn[FPos]))) {
            if (word.size() < 32) word += FIn[FPos];
            ++FPos;
        }
        bool hasParam = false, neg = false;
        long long param = 0;
        if (FPos < FIn.size() && FIn[FPos] == '-') {
            neg = true;
            ++FPos;
        }
        int digits = 0;
        while (FPos < FIn.size() && std::isdigit(static_cast<unsigned char>(FIn[FPos]))) {
            if (digits < 10) param = param * 10 + (FIn[FPos] - '0');
            ++digits;
            ++FPos;
            hasParam = true;
        }
        param = std::clamp<long long>(neg ? -param : param, -1000000000LL, 1000000000LL);
        if (FPos < FIn.size() && FIn[FPos] == ' ') ++FPos;
        FlushBytes();
        Apply(word, hasParam, static_cast<Integer>(param));
    }

    void Paragraph()
    {
        if (FState.Dest == TDest::Text) EndParagraph(false);
    }

    void SkipGroup()
    {
        // The rest of the current group: the brace that closes it pops.
        FlushBytes();
        FSkipDepth = 1;
    }

    void Align(TParaAlignment a)
    {
        FState.Alignment = a;
        FPara.Alignment = a;
    }

    void Apply(const std::string& w, bool has, Integer n)
    {
        TRichCharFormat& f = FState.Format;
        const bool on = !has || n != 0;
        auto style = [&](TFontStyle s) {
            FlushBytes();
            if (on) f.Style.Include(s);
            else f.Style.Exclude(s);
        };
        // Words that change the character format end the pending bytes first.
        if (w == "rtf" || w == "ansi" || w == "pc" || w == "pca" || w == "mac") return;
        if (w == "ansicpg") { FlushBytes(); if (has && n > 0) FDocCodePage = n; return; }
        if (w == "deff") { FDefaultFont = n; return; }
        if (w == "uc") { FState.UcSkip = std::clamp<Integer>(n, 0, 16); return; }
        if (w == "u") { Unicode(std::clamp<Integer>(n, -32768, 65535)); return; }
        if (w == "fonttbl") { FlushBytes(); FState.Dest = TDest::FontTable; return; }
        if (w == "colortbl") { FlushBytes(); FState.Dest = TDest::ColorTable; return; }
        if (FState.Dest == TDest::FontTable) {
            if (w == "f") { FFontName.clear(); FNewFont = n; FNewCharset = 0; }
            else if (w == "fcharset") FNewCharset = n;
            else if (w == "panose" || w == "falt") SkipGroup();
            return;
        }
        if (FState.Dest == TDest::ColorTable) {
            const Integer v = std::clamp<Integer>(n, 0, 255);
            if (w == "red") { FRed = v; FColorSet = true; }
            else if (w == "green") { FGreen = v; FColorSet = true; }
            else if (w == "blue") { FBlue = v; FColorSet = true; }
            return;
        }
        static const char* const skipped[] = {"stylesheet", "info", "pict", "object", "header", "headerl",
            "headerr", "headerf", "footer", "footerl", "footerr", "footerf", "footnote", "listtable",
            "listoverridetable", "revtbl", "rsidtbl", "xmlnstbl", "themedata", "colorschememapping",
            "latentstyles", "datastore", "fldinst", "filetbl", "bkmkstart", "bkmkend", "nonshppict"};
        for (const char* s : skipped)
            if (w == s) { SkipGroup(); return; }
        if (FState.Dest != TDest::Text) return;
        if (w == "par") { Paragraph(); return; }
        if (w == "line") { Text(L'\v'); return; }
        if (w == "tab") { Text(L'\t'); return; }
        if (w == "emdash") { Text(0x2014); return; }
        if (w == "endash") { Text(0x2013); return; }
        if (w == "bullet") { Text(0x2022); return; }
        if (w == "lquote") { Text(0x2018); return; }
        if (w == "rquote") { Text(0x2019); return; }
        if (w == "ldblquote") { Text(0x201C); return; }
        if (w == "rdblquote") { Text(0x201D); return; }
        if (w == "pard" || w == "ql") return Align(paLeftJustify);
        if (w == "qr") return Align(paRightJustify);
        if (w == "qc") return Align(paCenter);
        if (w == "qj") return Align(paJustify);
        if (w == "plain") {
            FlushBytes();
            f = FDoc.DefaultFormat;
            f.Name = L"";
            FState.Font = -1;
            return;
        }
        if (w == "b") return style(fsBold);
        if (w == "i") return style(fsItalic);
        if (w == "ul") return style(fsUnderline);
        if (w == "ulnone") { FlushBytes(); f.Style.Exclude(fsUnderline); return; }
        if (w == "strike") return style(fsStrikeOut);
        if (w == "fs") { FlushBytes(); f.Height = has && n > 0 ? std::min<Integer>(n, 32767) * 10 : 240; return; }
        if (w == "f") {
            FlushBytes();
            FState.Font = n;
            f.Name = FontName(n);
            return;
        }
        if (w == "cf") {
            FlushBytes();
            f.Color = n > 0 && static_cast<size_t>(n) < FColors.size() ? FColors[n] : clWindowText;
            return;
        }
        if (w == "super") { FlushBytes(); f.Script = TRichScript::Superscript; return; }
        if (w == "sub") { FlushBytes(); f.Script = TRichScript::Subscript; return; }
        if (w == "nosupersub") { FlushBytes(); f.Script = TRichScript::Normal; return; }
        if (w == "up") { FlushBytes(); f.Offset = (has ? std::clamp<Integer>(n, 0, 32767) : 6) * 10; return; }
        if (w == "dn") { FlushBytes(); f.Offset = -(has ? std::clamp<Integer>(n, 0, 32767) : 6) * 10; return; }
        // Anything else is a word we do not know: skipped.
    }
};

void Hex(std::string& out, unsigned v)
{
    static const char digits[] = "0123456789abcdef";
    out += "\\'";
    out += digits[(v >> 4) & 15];
    out += digits[v & 15];
}

// Text escaped for RTF: ASCII as it stands, what the ANSI page holds as
// \'hh, everything else as \u with '?' for readers that cannot.
void Escape(std::string& out, const String& s)
{
    for (Char c : s) {
        if (c == L'\\' || c == L'{' || c == L'}') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == L'\t') {
            out += "\\tab ";
        } else if (c == L'\v') {
            out += "\\line ";
        } else if (c >= 0x20 && c < 0x80) {
            out += static_cast<char>(c);
        } else {
            const AnsiString a = StringToAnsi(String(1, c));
            if (c < 0x20 || (a.size() == 1 && a[0] != '?')) {
                if (c < 0x20) Hex(out, static_cast<unsigned>(c));
                else Hex(out, static_cast<unsigned char>(a[0]));
                continue;
            }
            auto u = [&](unsigned v) {
                out += "\\u" + std::to_string(v > 32767 ? static_cast<int>(v) - 65536 : static_cast<int>(v)) + "?";
            };
            const unsigned v = static_cast<unsigned>(c);
            if (v > 0xFFFF && v <= 0x10FFFF) {
                u(0xD800 + ((v - 0x10000) >> 10));
                u(0xDC00 + ((v - 0x10000) & 0x3FF));
            } else {
                u(v & 0xFFFF);
            }
        }
    }
}

}  // namespace

void ReadRtf(const std::string& rtf, TRichDocument& doc)
{
    TRtfReader r(rtf, doc);
    r.Run();
}

std::string WriteRtf(const TRichDocument& doc)
{
    std::vector<String> fonts;
    std::vector<TColor> colors;
    auto fontIndex = [&](const String& n) {
        auto it = std::find(fonts.begin(), fonts.end(), n);
        if (it != fonts.end()) return static_cast<int>(it - fonts.begin());
        fonts.push_back(n);
        return static_cast<int>(fonts.size()) - 1;
    };
    auto colorIndex = [&](TColor c) {
        if (c == clWindowText) return 0;
        auto it = std::find(colors.begin(), colors.end(), c);
        if (it != colors.end()) return static_cast<int>(it - colors.begin()) + 1;
        colors.push_back(c);
        return static_cast<int>(colors.size());
    };
    fontIndex(doc.DefaultFormat.Name);
    for (const TRichParagraph& p : doc.Paragraphs())
        for (const TRichRun& r : p.Runs) {
            fontIndex(r.Format.Name);
            colorIndex(r.Format.Color);
        }

    std::string body;
    bool first = true;
    TRichCharFormat cur;
    auto format = [&](const TRichCharFormat& f) {
        if (!first && f == cur) return;
        first = false;
        cur = f;
        body += "\\f" + std::to_string(fontIndex(f.Name)) + "\\fs" + std::to_string(f.Height / 10) + "\\cf" +
                std::to_string(colorIndex(f.Color));
        body += f.Style.Contains(fsBold) ? "\\b" : "\\b0";
        body += f.Style.Contains(fsItalic) ? "\\i" : "\\i0";
        body += f.Style.Contains(fsUnderline) ? "\\ul" : "\\ulnone";
        body += f.Style.Contains(fsStrikeOut) ? "\\strike" : "\\strike0";
        body += f.Script == TRichScript::Superscript ? "\\super"
              : f.Script == TRichScript::Subscript  ? "\\sub"
                                                    : "\\nosupersub";
        if (f.Offset >= 0) body += "\\up" + std::to_string(f.Offset / 10);
        else body += "\\dn" + std::to_string(-f.Offset / 10);
        body += ' ';
    };
    const auto& paras = doc.Paragraphs();
    for (size_t i = 0; i < paras.size(); ++i) {
        const TRichParagraph& p = paras[i];
        static const char* const align[] = {"\\ql", "\\qr", "\\qc", "\\qj"};
        body += "\\pard";
        body += align[p.Alignment];
        body += ' ';
        for (const TRichRun& r : p.Runs) {
            format(r.Format);
            Escape(body, r.Text);
        }
        if (p.Runs.empty()) format(p.EndFormat);
        if (i + 1 < paras.size()) body += "\\par\r\n";
    }

    std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl";
    for (size_t i = 0; i < fonts.size(); ++i) {
        out += "{\\f" + std::to_string(i) + "\\fnil\\fcharset0 ";
        Escape(out, fonts[i]);
        out += ";}";
    }
    out += "}\r\n{\\colortbl ;";
    for (TColor c : colors) {
        const TColor rgb = ColorToRGB(c);
        out += "\\red" + std::to_string(rgb & 0xFF) + "\\green" + std::to_string((rgb >> 8) & 0xFF) + "\\blue" +
               std::to_string((rgb >> 16) & 0xFF) + ";";
    }
    out += "}\r\n";
    out += body;
    out += "}\r\n";
    return out;
}

void LoadRichText(const std::string& bytes, TRichDocument& doc, bool plainText)
{
    if (!plainText && IsRtf(bytes)) {
        ReadRtf(bytes, doc);
        return;
    }
    const TBytes raw(bytes.begin(), bytes.end());
    TEncoding* enc = nullptr;
    const Integer skip = TEncoding::GetBufferEncoding(raw, enc);
    doc.SetText(enc->GetString(raw.data() + skip, raw.size() - static_cast<size_t>(skip)));
}

std::string SaveRichText(const TRichDocument& doc, bool plainText)
{
    if (!plainText) return WriteRtf(doc);
    return StringToAnsi(doc.Text());
}
