// The native text format: a size line, one "cw" line per column width and
// one line per non-empty cell ("col,row,text"). The file variant is 8-bit or
// UTF-16 text with CR LF lines; the stream variant is UTF-16LE without a mark
// and can sit inside a larger stream.
#include <chrono>

#include "controls/grid/VodGrid.h"
#include "platform/base/Streams.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/Forms.h"

namespace {

// Line breaks inside a cell text travel as tab (CR), backspace (LF) and 1
// (NUL) once the text holds a line break (the trigger set: CR, or CR and LF
// in the file variant, whose reader ends lines at either).
String EscapeNative(const String& S, bool LineFeedTriggers)
{
    bool trigger = S.find(L'\r') != String::npos || (LineFeedTriggers && S.find(L'\n') != String::npos);
    if (!trigger) return S;
    String r = S;
    for (Char& c : r) {
        if (c == L'\r') c = L'\t';
        else if (c == L'\n') c = L'\b';
        else if (c == 0) c = 1;
    }
    return r;
}

String UnescapeNative(const String& S, bool Multiline)
{
    String r = S;
    if (r.find(L'\b') != String::npos)
        for (Char& c : r) {
            if (c == L'\t') c = L'\r';
            else if (c == L'\b') c = L'\n';
            else if (c == 1) c = 0;
        }
    if (!Multiline) {
        const size_t cr = r.find(L'\r');
        if (cr != String::npos) r.resize(cr);
    }
    return r;
}

// The number at the start of a text (blanks first allowed), or 0.
Int64 LeadingNumber(const String& S)
{
    size_t i = 0;
    while (i < S.size() && S[i] == L' ') ++i;
    bool neg = false;
    if (i < S.size() && (S[i] == L'-' || S[i] == L'+')) neg = S[i++] == L'-';
    Int64 v = 0;
    while (i < S.size() && S[i] >= L'0' && S[i] <= L'9') {
        v = v * 10 + (S[i++] - L'0');
        if (v > (Int64(1) << 40)) break;
    }
    return neg ? -v : v;
}

// Splits off the text before the first comma of S from Pos on; false when
// there is no comma.
bool SplitField(const String& S, size_t& Pos, String& Field)
{
    const size_t comma = S.find(L',', Pos);
    if (comma == String::npos) {
        Field = S.substr(Pos);
        Pos = S.size();
        return false;
    }
    Field = S.substr(Pos, comma - Pos);
    Pos = comma + 1;
    return true;
}

// Pending window messages are processed now and then during a long load,
// not for every line.
class TMessagePump {
public:
    void Tick()
    {
        if ((++FCount & 255) != 0) return;
        const auto now = std::chrono::steady_clock::now();
        if (now - FLast < std::chrono::milliseconds(20)) return;
        FLast = now;
        if (Application) Application->ProcessMessages();
    }

private:
    unsigned FCount = 0;
    std::chrono::steady_clock::time_point FLast = std::chrono::steady_clock::now();
};

void AppendUtf16(TBytes& Out, const String& S)
{
    for (Char c : S) {
        uint32_t u = uint32_t(c);
        if (u >= 0x10000 && u <= 0x10FFFF) {
            u -= 0x10000;
            const uint16_t hi = uint16_t(0xD800 + (u >> 10)), lo = uint16_t(0xDC00 + (u & 0x3FF));
            Out.push_back(Byte(hi));
            Out.push_back(Byte(hi >> 8));
            Out.push_back(Byte(lo));
            Out.push_back(Byte(lo >> 8));
        } else {
            Out.push_back(Byte(u));
            Out.push_back(Byte(u >> 8));
        }
    }
}

// Decodes UTF-16LE units (surrogate pairs joined, lone halves kept).
String DecodeUtf16(const Byte* p, size_t units)
{
    String r;
    r.reserve(units);
    for (size_t i = 0; i < units; ++i) {
        uint32_t u = uint32_t(p[2 * i]) | uint32_t(p[2 * i + 1]) << 8;
        if (u >= 0xD800 && u < 0xDC00 && i + 1 < units) {
            const uint32_t lo = uint32_t(p[2 * i + 2]) | uint32_t(p[2 * i + 3]) << 8;
            if (lo >= 0xDC00 && lo < 0xE000) {
                u = 0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00);
                ++i;
            }
        }
        r += Char(u);
    }
    return r;
}

}  // namespace

void TVodStringGrid::SaveToFile(const String& FileName, bool Unicode)
{
    const Integer h = SaveHiddenCells() ? NumHiddenColumns() : 0;
    std::vector<String> lines;
    lines.push_back(IntToStr(SaveColCount() + h) + L"," + IntToStr(SaveRowCount()));
    for (Integer c = SaveStartCol(); c <= SaveEndCol() + h; ++c)
        lines.push_back(L"cw " + IntToStr(c) + L"," +
                        IntToStr(SaveHiddenCells() ? AllColWidths(c) : ColWidths(c)));
    ExportNotification(esExportStart, SaveStartRow());
    TProgressGate progress;
    for (Integer r = SaveStartRow(); r <= SaveEndRow(); ++r) {
        ExportNotification(esExportNextRow, r);
        for (Integer c = SaveStartCol(); c <= SaveEndCol() + h; ++c) {
            const Integer src = SaveHiddenCells() ? c : RealColIndex(c);
            const String t = SaveCell(src, r);
            if (!t.empty()) lines.push_back(IntToStr(c) + L"," + IntToStr(r) + L"," + EscapeNative(t, true));
        }
        progress.Fire(OnFileProgress, this, double(r - SaveStartRow()) / std::max<Integer>(1, SaveRowCount() - 1));
    }
    ExportNotification(esExportDone, -1);

    TBytes out;
    if (Unicode) {
        out = {0xFF, 0xFE};
        for (const String& l : lines) {
            AppendUtf16(out, l);
            AppendUtf16(out, L"\r\n");
        }
    } else {
        String all;
        for (const String& l : lines) {
            all += l;
            all += L"\r\n";
        }
        out = TEncoding::Default()->GetBytes(all);
    }
    WriteFileAtomically(FileName, out.data(), out.size());
}

void TVodStringGrid::LoadFromFile(const String& FileName)
{
    TStringList lines;
    lines.LoadFromFile(FileName);   // a missing file raises before anything changes

    Integer fc = FixedCols(), fr = FixedRows();
    if (SaveFixedCells() || SaveFixedCols()) fc = 0;
    if (SaveFixedCells() || SaveFixedRows()) fr = 0;
    Int64 cols = ColCount(), rows = RowCount();
    const String first = lines.Count() > 0 ? lines.Strings(0) : String();
    if (!first.empty()) {
        size_t pos = 0;
        String a, b;
        SplitField(first, pos, a);
        b = first.substr(pos);
        cols = fc + LeadingNumber(a);
        rows = fr + (first.find(L',') == String::npos ? 0 : LeadingNumber(b));
    }
    // Decided before the counts change; counts a file cannot mean are
    // refused the same way.
    if (cols <= 0 || rows <= 0 || cols > INT32_MAX || rows > INT32_MAX || cols * rows > StreamCellLimit())
        throw EVodGridError(L"File contains no data or corrupt file " + FileName);

    BeginUpdate();
    try {
        SetColCount(Integer(cols));
        SetRowCount(Integer(rows));
        TProgressGate progress;
        TMessagePump pump;
        const bool multi = Multilinecells();
        for (Integer i = 1; i < lines.Count(); ++i) {
            const String& l = lines.Strings(i);
            if (l.size() >= 2 && l[0] == L'c' && l[1] == L'w') {
                const size_t comma = l.find(L',');
                const Int64 idx = LeadingNumber(l.substr(std::min<size_t>(3, l.size()),
                                                         comma == String::npos ? String::npos : comma - 3));
                const Int64 w = comma == String::npos ? 0 : LeadingNumber(l.substr(comma + 1, 255));
                if (idx >= 0 && idx < ColCount() && w >= 0 && w <= INT32_MAX) SetColWidths(Integer(idx), Integer(w));
                continue;
            }
            size_t pos = 0;
            String cs, rs;
            SplitField(l, pos, cs);
            SplitField(l, pos, rs);
            const Int64 c = LeadingNumber(cs), r = LeadingNumber(rs);
            // Lines outside the grid (negative ones too) are skipped.
            if (c >= 0 && r >= 0 && c < ColCount() && r < RowCount())
                LoadCell(Integer(c), Integer(r), UnescapeNative(l.substr(pos), multi));
            progress.Fire(OnFileProgress, this, double(r) / std::max<Integer>(1, RowCount() - 1));
            pump.Tick();
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    CellsChanged(TRect{0, 0, ColCount(), RowCount()});
}

void TVodStringGrid::SaveToStream(TStream* Stream)
{
    if (!Stream) return;
    TBytes out;
    auto line = [&](const String& s) {
        AppendUtf16(out, s);
        AppendUtf16(out, L"\r\n");
    };
    line(IntToStr(SaveColCount()) + L"," + IntToStr(SaveRowCount()));
    for (Integer c = 0; c < ColCount(); ++c) line(L"cw " + IntToStr(c) + L"," + IntToStr(ColWidths(c)));
    ExportNotification(esExportStart, SaveStartRow());
    for (Integer r = SaveStartRow(); r <= SaveEndRow(); ++r) {
        ExportNotification(esExportNextRow, r);
        for (Integer c = SaveStartCol(); c <= SaveEndCol(); ++c) {
            const String t = SaveCell(RealColIndex(c), r);
            if (!t.empty())
                line(IntToStr(c - SaveStartCol()) + L"," + IntToStr(r - SaveStartRow()) + L"," + EscapeNative(t, false));
        }
    }
    ExportNotification(esExportDone, -1);
    if (!out.empty()) Stream->WriteBuffer(out.data(), Integer(out.size()));
}

void TVodStringGrid::LoadFromStream(TStream* Stream)
{
    if (!Stream) return;
    const Int64 start = Stream->Position();
    const Int64 avail = std::max<Int64>(0, Stream->Size() - start);
    if (avail > INT32_MAX) throw EVodGridError(L"The stream is too large for the grid");
    TBytes buf(static_cast<size_t>(avail));
    if (avail) Stream->ReadBuffer(buf.data(), Integer(avail));
    const size_t units = buf.size() / 2;

    // Lines end at a carriage return (not kept); the unit after it (the line
    // feed) is skipped. Each line remembers where it started.
    struct TLine {
        size_t Start;
        String Text;
    };
    size_t at = 0;
    auto readLine = [&](TLine& L) {
        L.Start = at;
        size_t i = at;
        while (i < units && !(buf[2 * i] == 13 && buf[2 * i + 1] == 0)) ++i;
        L.Text = DecodeUtf16(buf.data() + 2 * at, i - at);
        at = i < units ? std::min(units, i + 2) : units;
    };

    // 1. Parse the whole block; nothing changes before it is sound.
    Int64 cols = ColCount(), rows = RowCount();
    struct TItem {
        bool Width;
        Integer A, B;
        String Text;
    };
    std::vector<TItem> items;
    size_t endAt = units;
    if (at < units) {
        TLine first;
        readLine(first);
        if (!first.Text.empty()) {
            size_t pos = 0;
            String a;
            SplitField(first.Text, pos, a);
            cols = Int64(StrToInt(a)) + SaveStartCol();
            rows = Int64(StrToInt(first.Text.substr(pos))) + SaveStartRow();
            if (cols < 0 || rows < 0 || cols > INT32_MAX || rows > INT32_MAX || cols * rows > StreamCellLimit())
                throw EVodGridError(L"The native block announces " + IntToStr(cols) + L" x " + IntToStr(rows) +
                                    L" cells, which the grid does not take");
        }
        while (at < units) {
            TLine L;
            readLine(L);
            const String& s = L.Text;
            if (s.size() >= 2 && s[0] == L'c' && s[1] == L'w') {
                size_t pos = std::min<size_t>(3, s.size());
                String a;
                SplitField(s, pos, a);
                const Integer idx = StrToInt(a), w = StrToInt(s.substr(pos));
                if (idx < 0 || idx >= cols) throw EVodGridError(L"Grid index out of range");
                items.push_back({true, idx, w, String()});
                continue;
            }
            size_t pos = 0;
            String cs, rs;
            Integer c, r;
            // A line that is not a cell line ends the native block: the
            // stream is set back to its start.
            if (!SplitField(s, pos, cs) || !SplitField(s, pos, rs) || !TryStrToInt(cs, c) || !TryStrToInt(rs, r)) {
                endAt = L.Start;
                break;
            }
            items.push_back({false, c, r, s.substr(pos)});
        }
    }
    Stream->SetPosition(start + Int64(std::min(endAt, units)) * 2 + (endAt >= units ? Int64(buf.size() % 2) : 0));

    // 2. Store.
    BeginUpdate();
    try {
        SetColCount(Integer(cols));
        SetRowCount(Integer(rows));
        const bool multi = Multilinecells();
        for (const TItem& it : items) {
            if (it.Width) {
                if (it.A < ColCount()) SetColWidths(it.A, it.B);
                continue;
            }
            const Int64 c = Int64(it.A) + SaveStartCol(), r = Int64(it.B) + SaveStartRow();
            if (c >= 0 && r >= 0 && c < ColCount() && r < RowCount())
                LoadCell(Integer(c), Integer(r), UnescapeNative(it.Text, multi));
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    CellsChanged(TRect{0, 0, ColCount(), RowCount()});
}
