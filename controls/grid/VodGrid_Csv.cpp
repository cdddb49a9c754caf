// Delimited text: one line per row, one field per column, with the grid's
// own quoting and line-break marks, and a reader that joins physical lines
// of one record and guesses the delimiter of a file it does not know.
#include <filesystem>

#include "controls/grid/VodGrid.h"
#include "platform/base/Streams.h"
#include "platform/base/SysUtils.h"

namespace {

const Char kCandidates[] = {L',', L';', L'#', L'\t', L'|', L'@', L'*', L'-', L'+', L'&'};

// Every line break (CR LF, a lone CR or a lone LF) as CR LF.
String NormaliseBreaks(const String& S)
{
    if (S.find_first_of(L"\r\n") == String::npos) return S;
    String r;
    r.reserve(S.size() + 8);
    for (size_t i = 0; i < S.size(); ++i) {
        const Char c = S[i];
        if (c == L'\r') {
            r += L"\r\n";
            if (i + 1 < S.size() && S[i + 1] == L'\n') ++i;
        } else if (c == L'\n') {
            r += L"\r\n";
        } else {
            r += c;
        }
    }
    return r;
}

String ReplaceAll(const String& S, const String& From, const String& To)
{
    if (S.find(From) == String::npos) return S;
    String r;
    r.reserve(S.size());
    size_t i = 0;
    for (;;) {
        const size_t k = S.find(From, i);
        if (k == String::npos) break;
        r.append(S, i, k - i);
        r += To;
        i = k + From.size();
    }
    r.append(S, i, String::npos);
    return r;
}

// Occurrences of D outside single- or double-quoted parts; a part still open
// at the end of the line counts too.
Integer CountOutsideQuotes(const String& L, Char D)
{
    Integer n = 0, inside = 0;
    Char q = 0;
    for (Char c : L) {
        if (q) {
            if (c == q) {
                q = 0;
                inside = 0;
            } else if (c == D) {
                ++inside;
            }
        } else if (c == L'"' || c == L'\'') {
            q = c;
        } else if (c == D) {
            ++n;
        }
    }
    return q ? n + inside : n;
}

Integer CountPlain(const String& L, Char D)
{
    Integer n = 0;
    for (Char c : L) n += c == D;
    return n;
}

Char GuessDelimiter(const String& L1, const String& L2)
{
    Char d = 0;
    Integer n = 0;
    for (Char c : kCandidates) {
        const Integer a = CountOutsideQuotes(L1, c);
        if (a == CountOutsideQuotes(L2, c) && a > n) {
            n = a;
            d = c;
        }
    }
    if (n == 0)
        for (Char c : kCandidates) {
            const Integer a = CountPlain(L1, c);
            if (a == CountPlain(L2, c) && a > n) {
                n = a;
                d = c;
            }
        }
    if (n == 0)
        for (Char c : kCandidates) {
            const Integer m = std::max(CountPlain(L1, c), CountPlain(L2, c));
            if (m > n) {
                n = m;
                d = c;
            }
        }
    return d;
}

// The read side of the line-break marks.
String ReadMarks(String F, bool Java)
{
    if (Java) {
        if (F == L"^") return String();
        if (F.find(L'~') != String::npos) F = ReplaceAll(F, L"~", L"\r\n");
    }
    if (F.find(L'\v') != String::npos) F = ReplaceAll(F, L"\v", L"\r\n");
    return F;
}

String UndoubleQuotes(const Char* p, size_t n)
{
    String r;
    r.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        r += p[i];
        if (p[i] == L'"' && i + 1 < n && p[i + 1] == L'"') ++i;
    }
    return r;
}

// Splits the file's text into lines at CR LF, CR or LF.
void SplitLines(const String& Text, std::vector<String>& Lines)
{
    size_t i = 0;
    const size_t n = Text.size();
    while (i < n) {
        size_t k = i;
        while (k < n && Text[k] != L'\r' && Text[k] != L'\n') ++k;
        Lines.emplace_back(Text, i, k - i);
        if (k < n && Text[k] == L'\r' && k + 1 < n && Text[k + 1] == L'\n') ++k;
        i = k + 1;
    }
}

String DecodeText(const TBytes& Bytes, TEncoding* Given)
{
    TEncoding* enc = Given;
    Integer skip;
    if (enc)
        skip = TEncoding::GetBufferEncoding(Bytes, enc);
    else
        skip = TEncoding::GetBufferEncoding(Bytes, enc, TEncoding::Default());
    return enc->GetString(Bytes.data() + skip, Bytes.size() - size_t(skip));
}

TBytes ReadAllFile(const String& FileName)
{
    TMemoryStream m;
    m.LoadFromFile(FileName);
    const auto* p = static_cast<const Byte*>(m.Memory());
    return TBytes(p, p + m.Size());
}

}  // namespace

// ---------------------------------------------------------------------------
// Writing

void TVodStringGrid::SaveCSVLines(std::vector<String>& Lines)
{
    const Char d = Delimiter() ? Delimiter() : L',';
    const String dq = L"\"";
    const Integer h = SaveHiddenCells() ? NumHiddenColumns() : 0;
    ExportNotification(esExportStart, SaveStartRow());
    TProgressGate progress;
    for (Integer r = SaveStartRow(); r <= SaveEndRow(); ++r) {
        ExportNotification(esExportNextRow, r);
        String line;
        for (Integer c = SaveStartCol(); c <= SaveEndCol() + h; ++c) {
            if (c > SaveStartCol()) line += d;
            const Integer src = SaveHiddenCells() ? c : RealColIndex(c);
            // A lone CR or LF is a line break as well: written as one, it
            // reads back as CR LF instead of splitting the record.
            String t = NormaliseBreaks(SaveCell(src, r));
            if (QuoteQuoteCells()) t = ReplaceAll(t, dq, L"\"\"");
            bool enclosed = false;
            const bool hasDelim = t.find(d) != String::npos;
            // A text with leading blanks is enclosed too: the reader drops
            // the blanks of a bare field.
            const bool leadingBlank = !t.empty() && (t[0] == L' ' || t[0] == L'\t');
            if (QuoteQuoteCells() &&
                (AlwaysQuotes() || (!hasDelim && t.find(L'"') != String::npos) || leadingBlank)) {
                t = dq + t + dq;
                enclosed = true;
            }
            if (t.empty()) {
                if (JavaCSV())
                    t = L"^";
                else if (QuoteEmptyCells())
                    t = L"\"\"";
            }
            const bool multi = t.find(L'\r') != String::npos;
            if (t.find(d) != String::npos || multi) {
                if (JavaCSV()) {
                    String j;
                    for (Char ch : t)
                        if (ch == L'\r') j += L'~';
                        else if (ch != L'\n') j += ch;
                    t = j;
                    // With the delimiter inside, the field is enclosed:
                    // bare, it would split.
                    if (!enclosed && t.find(d) != String::npos) {
                        t = dq + t + dq;
                        enclosed = true;
                    }
                } else if (Multilinecells()) {
                    if (!enclosed) t = dq + t + dq;
                } else if (enclosed) {
                    t = ReplaceAll(t, L"\r\n", L"\n");
                } else {
                    t = dq + ReplaceAll(t, L"\r\n", L"\v") + dq;
                }
            }
            line += t;
        }
        Lines.push_back(std::move(line));
        progress.Fire(OnFileProgress, this, double(r) / std::max<Integer>(1, RowCount() - 1));
    }
    ExportNotification(esExportDone, -1);
}

void TVodStringGrid::WriteCSVFile(const String& FileName, bool Unicode, bool Append)
{
    std::vector<String> lines;
    if (Append && std::filesystem::exists(std::string(FileName.begin(), FileName.end()))) {
        // The lines the file holds come first (a mark gives their encoding,
        // else the code page); a file that cannot be read raises before
        // anything is written.
        SplitLines(DecodeText(ReadAllFile(FileName), nullptr), lines);
    }
    SaveCSVLines(lines);
    String all;
    for (const String& l : lines) {
        all += l;
        all += L"\r\n";
    }
    TBytes out;
    if (Unicode) {
        TEncoding* enc = Encoding() ? Encoding() : TEncoding::UTF8();
        out = enc->GetPreamble();
        TBytes body = enc->GetBytes(all);
        out.insert(out.end(), body.begin(), body.end());
    } else {
        out = TEncoding::Default()->GetBytes(all);
    }
    WriteFileAtomically(FileName, out.data(), out.size());
}

void TVodStringGrid::SaveToCSV(const String& FileName, bool Unicode) { WriteCSVFile(FileName, Unicode, false); }

void TVodStringGrid::AppendToCSV(const String& FileName, bool Unicode) { WriteCSVFile(FileName, Unicode, true); }

// ---------------------------------------------------------------------------
// Reading

void TVodStringGrid::LoadFromCSV(const String& FileName, Integer MaxRows)
{
    const TBytes b = ReadAllFile(FileName);
    if (b.empty()) return;
    LoadCSVText(DecodeText(b, nullptr), MaxRows, false);
}

void TVodStringGrid::LoadFromCSV(const String& FileName, TEncoding* AEncoding, Integer MaxRows)
{
    const TBytes b = ReadAllFile(FileName);
    if (b.empty()) return;
    LoadCSVText(DecodeText(b, AEncoding), MaxRows, false);
}

void TVodStringGrid::LoadFromCSVStream(TStream* AStream, Integer MaxRows)
{
    if (!AStream) return;
    const Int64 n = std::max<Int64>(0, AStream->Size() - AStream->Position());
    if (n > INT32_MAX) throw EVodGridError(L"The stream is too large for the grid");
    TBytes b(static_cast<size_t>(n));
    if (n) AStream->ReadBuffer(b.data(), Integer(n));
    LoadCSVText(DecodeText(b, nullptr), MaxRows, false);
}

void TVodStringGrid::InsertFromCSV(const String& FileName, Integer MaxRows)
{
    const TBytes b = ReadAllFile(FileName);
    if (b.empty()) return;
    LoadCSVText(DecodeText(b, nullptr), MaxRows, true);
}

void TVodStringGrid::LoadCSVText(const String& Text, Integer MaxRows, bool Insert)
{
    std::vector<String> lines;
    SplitLines(Text, lines);
    if (lines.empty()) throw Exception(L"File is empty");

    // Physical lines of one record are joined while its quote count is odd.
    if (CSVMultilineCellImport()) {
        std::vector<String> joined;
        joined.reserve(lines.size());
        for (size_t i = 0; i < lines.size(); ++i) {
            String cur = std::move(lines[i]);
            Integer q = CountPlain(cur, L'"');
            while ((q & 1) && i + 1 < lines.size()) {
                ++i;
                cur += L"\r\n";
                cur += lines[i];
                q += CountPlain(lines[i], L'"');
            }
            joined.push_back(std::move(cur));
        }
        lines.swap(joined);
    }

    const Char savedDelimiter = Delimiter();
    BeginUpdate();
    try {
        Integer r = SaveStartRow();
        std::vector<String> keptFooter;
        const bool floating = FloatingFooter() && FloatingFooter()->Visible();
        if (Insert) {
            r = RowCount();
            if (floating && RowCount() > 0) {
                for (Integer c = 0; c < ColCount(); ++c) keptFooter.push_back(GetGridCell(c, RowCount() - 1));
                ClearRows(RowCount() - 1, 1);
                --r;
            }
        }
        if (!Delimiter()) SetDelimiter(GuessDelimiter(lines[0], lines.size() > 1 ? lines[1] : String()));
        const Char d = Delimiter();

        const size_t firstLine = LoadFirstRow() ? 0 : 1;
        const size_t toLoad = lines.size() > firstLine ? lines.size() - firstLine : 0;
        if (OnFileProgress) {
            const Int64 want = Insert ? Int64(toLoad) + RowCount() : Int64(toLoad) + r + FixedFooters();
            if (want <= INT32_MAX && want > RowCount()) SetRowCount(Integer(want));
        }
        const Integer hc = SaveHiddenCells() ? NumHiddenColumns() : 0;
        const bool java = JavaCSV();
        TProgressGate progress;
        Integer done = 0;
        // A line's fields are collected first, so that a wide line grows
        // the column count once, not once per field.
        std::vector<String> fields;
        auto store = [&](Integer, Integer, String&& f) { fields.push_back(std::move(f)); };
        for (size_t li = firstLine; li < lines.size(); ++li) {
            if (MaxRows > 0 && done >= MaxRows) break;
            if (r >= RowCount() - FixedFooters()) SetRowCount(r + 1000);
            const String& L = lines[li];
            const Char* p = L.data();
            const size_t n = L.size();
            size_t i = 0;
            Integer c = SaveStartCol();
            auto dropBlanks = [&] {
                while (i + 1 < n && p[i] == L' ') ++i;
            };
            // Fields while the rest holds the delimiter.
            while (d && i < n && std::find(p + i, p + n, d) != p + n) {
                dropBlanks();
                String f;
                if (p[i] == L'"') {
                    const size_t open = ++i;
                    size_t close = String::npos;
                    for (size_t k = open; k < n;) {
                        if (p[k] != L'"') {
                            ++k;
                            continue;
                        }
                        size_t e = k;
                        while (e < n && p[e] == L'"') ++e;
                        if (((e - k) & 1) || e == n) {
                            close = e - 1;
                            break;
                        }
                        k = e;
                    }
                    if (close == String::npos) {
                        // An unterminated quote takes the rest of the record.
                        f = UndoubleQuotes(p + open, n - open);
                        i = n;
                    } else {
                        f = UndoubleQuotes(p + open, close - open);
                        i = close + 1;
                        const Char* nd = std::find(p + i, p + n, d);
                        i = nd == p + n ? n : size_t(nd - p) + 1;
                    }
                } else {
                    const Char* nd = std::find(p + i, p + n, d);
                    f.assign(p + i, nd);
                    i = size_t(nd - p) + 1;
                }
                store(c++, r, std::move(f));
            }
            if (i < n) {
                dropBlanks();
                String f;
                if (p[i] == L'"') {
                    size_t e = n;
                    if (e > i + 1 && p[e - 1] == L'"') --e;
                    f = UndoubleQuotes(p + i + 1, e - (i + 1));
                } else {
                    f.assign(p + i, p + n);
                }
                store(c, r, std::move(f));
            }
            const Integer first = SaveStartCol();
            if (!fields.empty() && first + Integer(fields.size()) > ColCount() + hc)
                SetColCount(first + Integer(fields.size()) - hc);
            for (size_t k = 0; k < fields.size(); ++k)
                LoadCell(first + Integer(k), r, ReadMarks(std::move(fields[k]), java));
            fields.clear();
            ++r;
            ++done;
            if (toLoad) progress.Fire(OnFileProgress, this, double(done) / double(toLoad));
        }
        SetRowCount(r + FixedFooters());
        if (FMaxRowCount < RowCount()) FMaxRowCount = RowCount();
        if (Insert && floating && !keptFooter.empty())
            for (Integer c = 0; c < Integer(keptFooter.size()) && c < ColCount(); ++c)
                SetGridCell(c, RowCount() - 1, keptFooter[size_t(c)]);
    } catch (...) {
        SetDelimiter(savedDelimiter);
        EndUpdate();
        throw;
    }
    SetDelimiter(savedDelimiter);
    EndUpdate();
    CellsChanged(TRect{0, 0, ColCount(), RowCount()});
}
