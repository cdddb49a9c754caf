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
void ApplyReadMarks(String& F, bool Java)
{
    if (Java) {
        if (F == L"^") {
            F.clear();
            return;
        }
        if (F.find(L'~') != String::npos) F = ReplaceAll(F, L"~", L"\r\n");
    }
    if (F.find(L'\v') != String::npos) F = ReplaceAll(F, L"\v", L"\r\n");
}

void UndoubleQuotesInto(String& r, const Char* p, size_t n)
{
    r.clear();
    for (size_t i = 0; i < n; ++i) {
        r += p[i];
        if (p[i] == L'"' && i + 1 < n && p[i + 1] == L'"') ++i;
    }
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

String DecodeBuffer(const Byte* Data, size_t Size, TEncoding* Given)
{
    // The mark is looked for in the first bytes only.
    const TBytes head(Data, Data + std::min<size_t>(Size, 4));
    TEncoding* enc = Given;
    Integer skip;
    if (enc)
        skip = TEncoding::GetBufferEncoding(head, enc);
    else
        skip = TEncoding::GetBufferEncoding(head, enc, TEncoding::Default());
    return enc->GetString(Data + skip, Size - size_t(skip));
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
    LoadFromCSV(FileName, nullptr, MaxRows);
}

void TVodStringGrid::LoadFromCSV(const String& FileName, TEncoding* AEncoding, Integer MaxRows)
{
    TMemoryStream m;
    m.LoadFromFile(FileName);
    if (m.Size() == 0) return;
    LoadCSVText(DecodeBuffer(static_cast<const Byte*>(m.Memory()), size_t(m.Size()), AEncoding), MaxRows, false);
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
    TMemoryStream m;
    m.LoadFromFile(FileName);
    if (m.Size() == 0) return;
    LoadCSVText(DecodeBuffer(static_cast<const Byte*>(m.Memory()), size_t(m.Size()), nullptr), MaxRows, true);
}

void TVodStringGrid::LoadCSVText(const String& Text, Integer MaxRows, bool Insert)
{
    // Records as spans of the text (no copy per line); a record joined from
    // lines whose break is not CR LF gets a text of its own.
    struct TRecord {
        size_t Start = 0, Len = 0;
        String Own;
        bool HasOwn = false;
    };
    std::vector<TRecord> lines;
    {
        const size_t n = Text.size();
        const Char* t = Text.data();
        size_t i = 0;
        const bool join = CSVMultilineCellImport();
        while (i < n) {
            size_t k = i;
            Integer q = 0;
            while (k < n && t[k] != L'\r' && t[k] != L'\n') q += t[k++] == L'"';
            TRecord rec;
            rec.Start = i;
            size_t end = k;
            size_t next = k < n && t[k] == L'\r' && k + 1 < n && t[k + 1] == L'\n' ? k + 2 : k + 1;
            // Physical lines of one record are joined while its quote count
            // is odd.
            while (join && (q & 1) && next < n) {
                const bool crlf = next - end == 2;
                size_t e = next;
                while (e < n && t[e] != L'\r' && t[e] != L'\n') q += t[e++] == L'"';
                if (!crlf && !rec.HasOwn) {
                    rec.Own.assign(t + rec.Start, end - rec.Start);
                    rec.HasOwn = true;
                }
                if (rec.HasOwn) {
                    rec.Own += L"\r\n";
                    rec.Own.append(t + next, e - next);
                }
                end = e;
                next = e < n && t[e] == L'\r' && e + 1 < n && t[e + 1] == L'\n' ? e + 2 : e + 1;
            }
            rec.Len = end - rec.Start;
            lines.push_back(std::move(rec));
            i = next;
        }
    }
    if (lines.empty()) throw Exception(L"File is empty");
    auto lineText = [&](size_t li) -> std::pair<const Char*, size_t> {
        const TRecord& r = lines[li];
        if (r.HasOwn) return {r.Own.data(), r.Own.size()};
        return {Text.data() + r.Start, r.Len};
    };
    auto lineString = [&](size_t li) {
        auto [p, n] = lineText(li);
        return String(p, n);
    };

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
        if (!Delimiter()) SetDelimiter(GuessDelimiter(lineString(0), lines.size() > 1 ? lineString(1) : String()));
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
        size_t used = 0;
        // Each field is parsed into a reused buffer of the line.
        auto slot = [&]() -> String& {
            if (used == fields.size()) fields.emplace_back();
            return fields[used];
        };
        for (size_t li = firstLine; li < lines.size(); ++li) {
            if (MaxRows > 0 && done >= MaxRows) break;
            if (r >= RowCount() - FixedFooters()) SetRowCount(r + 1000);
            const auto [p, n] = lineText(li);
            size_t i = 0;
            auto dropBlanks = [&] {
                while (i + 1 < n && p[i] == L' ') ++i;
            };
            // Fields while the rest holds the delimiter.
            const Char* const pend = p + n;
            const Char* nextDelim = d ? std::find(p, pend, d) : pend;
            while (d && i < n && nextDelim != pend) {
                dropBlanks();
                if (p + i > nextDelim) nextDelim = std::find(p + i, pend, d);   // a blank delimiter
                String& f = slot();
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
                        UndoubleQuotesInto(f, p + open, n - open);
                        i = n;
                    } else {
                        UndoubleQuotesInto(f, p + open, close - open);
                        i = close + 1;
                        const Char* nd = std::find(p + i, pend, d);
                        i = nd == pend ? n : size_t(nd - p) + 1;
                    }
                    nextDelim = i < n ? std::find(p + i, pend, d) : pend;
                } else {
                    f.assign(p + i, nextDelim);
                    i = size_t(nextDelim - p) + 1;
                    nextDelim = i < n ? std::find(p + i, pend, d) : pend;
                }
                ++used;
            }
            if (i < n) {
                dropBlanks();
                String& f = slot();
                if (p[i] == L'"') {
                    size_t e = n;
                    if (e > i + 1 && p[e - 1] == L'"') --e;
                    UndoubleQuotesInto(f, p + i + 1, e - (i + 1));
                } else {
                    f.assign(p + i, p + n);
                }
                ++used;
            }
            const Integer first = SaveStartCol();
            if (used && first + Integer(used) > ColCount() + hc) SetColCount(first + Integer(used) - hc);
            for (size_t k = 0; k < used; ++k) {
                ApplyReadMarks(fields[k], java);
                LoadCell(first + Integer(k), r, fields[k]);
            }
            used = 0;
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
