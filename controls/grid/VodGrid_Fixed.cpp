// Column-aligned text: the fixed-width form with the caller's field widths
// or positions, and the plain text table whose columns are as wide as their
// longest text line.
#include <algorithm>
#include <filesystem>

#include "controls/grid/VodGrid.h"
#include "controls/grid/VodObj.h"
#include "platform/base/Streams.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/Forms.h"

namespace {

std::vector<String> SplitCRLF(const String& S)
{
    std::vector<String> r;
    size_t i = 0;
    for (;;) {
        const size_t k = S.find(L"\r\n", i);
        if (k == String::npos) {
            r.push_back(S.substr(i));
            return r;
        }
        r.push_back(S.substr(i, k - i));
        i = k + 2;
    }
}

// A text on one line of a fixed-width file: line breaks become blanks (they
// would split the record).
String OneLine(String S)
{
    for (Char& c : S)
        if (c == L'\r' || c == L'\n') c = L' ';
    return S;
}

String TrimControls(const String& S)
{
    size_t a = 0, b = S.size();
    while (a < b && S[a] <= L' ') ++a;
    while (b > a && S[b - 1] <= L' ') --b;
    return S.substr(a, b - a);
}

void SaveLinesAtomically(const String& FileName, const std::vector<String>& Lines, TEncoding* Enc)
{
    String all;
    for (const String& l : Lines) {
        all += l;
        all += L"\r\n";
    }
    TBytes out = Enc->GetPreamble();
    TBytes body = Enc->GetBytes(all);
    out.insert(out.end(), body.begin(), body.end());
    WriteFileAtomically(FileName, out.data(), out.size());
}

}  // namespace

// The length of the longest text line of a store column over every row.
Integer TVodStringGrid::LongestSavedLine(Integer SourceCol)
{
    size_t best = 0;
    for (Integer r = 0; r < RowCount(); ++r)
        for (const String& l : SplitCRLF(SaveCell(SourceCol, r))) best = std::max(best, l.size());
    return Integer(std::min<size_t>(best, INT32_MAX / 2));
}

// The horizontal alignment a cell is written with: its block's alignment,
// then the grid's alignment hook. (The painting family's effective cell
// alignment takes this place once it lands.)
TAlignment TVodStringGrid::ExportAlignment(Integer ACol, Integer ARow)
{
    TAlignment ha = Alignments(ACol, ARow);
    TVAlignment va = vtaTop;
    GetCellAlignment(ACol, ARow, ha, va);
    return ha;
}

void TVodStringGrid::SaveToFixed(const String& FileName, TIntList* Positions)
{
    const Integer h = SaveHiddenCells() ? NumHiddenColumns() : 0;
    auto source = [&](Integer c) { return SaveHiddenCells() ? c : RealColIndex(c); };
    const Integer first = SaveStartCol(), last = SaveEndCol() + h;
    TIntList local(0, 0);
    TIntList* widths = Positions ? Positions : &local;
    // Missing widths are filled in and stay in the caller's list.
    for (Integer c = first; c <= last; ++c)
        if (c - first >= widths->Count()) widths->Add(1 + LongestSavedLine(source(c)));

    std::vector<String> lines;
    ExportNotification(esExportStart, SaveStartRow());
    for (Integer r = SaveStartRow(); r <= SaveEndRow(); ++r) {
        ExportNotification(esExportNextRow, r);
        String line;
        for (Integer c = first; c <= last; ++c) {
            const Integer w = std::max<Integer>(0, widths->GetInteger(c - first));
            String t = OneLine(SaveCell(source(c), r));
            if (Integer(t.size()) > w)
                t.resize(size_t(w));
            else
                t.append(size_t(w) - t.size(), L' ');
            line += t;
        }
        lines.push_back(std::move(line));
    }
    ExportNotification(esExportDone, -1);
    try {
        SaveLinesAtomically(FileName, lines, TEncoding::Default());
    } catch (const Exception&) {
        throw EVodGridError(L"Cannot Create file " + FileName);
    }
}

void TVodStringGrid::LoadFromFixed(const String& FileName, TIntList* Positions, bool DoTrim, Integer MaxRows)
{
    // Fewer than two positions describe no field: refused before anything
    // changes (the column count would drop below the fixed columns).
    if (!Positions || Positions->Count() < 2)
        throw EVodGridError(L"Fixed-width loading needs at least two field positions");
    TStringList lines;
    try {
        lines.LoadFromFile(FileName, TEncoding::Default());
    } catch (const Exception&) {
        throw EVodGridError(L"File " + FileName + L" not found");
    }
    // Sorted in place, as the caller's list.
    std::vector<Integer> p;
    for (Integer i = 0; i < Positions->Count(); ++i) p.push_back(Positions->GetInteger(i));
    std::sort(p.begin(), p.end());
    for (Integer i = 0; i < Integer(p.size()); ++i) Positions->SetInteger(i, p[size_t(i)]);

    BeginUpdate();
    try {
        SetColCount(FixedCols() + Integer(p.size()) - 1);
        Integer r = SaveStartRow(), i = 1;
        for (Integer li = 0; li < lines.Count(); ++li) {
            const String& l = lines.Strings(li);
            for (size_t k = 0; k + 1 < p.size(); ++k) {
                const Int64 from = std::max<Int64>(1, p[k]), to = p[k + 1];
                String f;
                if (to > from && from <= Int64(l.size()))
                    f = l.substr(size_t(from - 1), size_t(std::min<Int64>(to - from, Int64(l.size()) - (from - 1))));
                if (DoTrim) f = TrimControls(f);
                LoadCell(SaveStartCol() + Integer(k), r, f);
            }
            ++i;
            if (MaxRows != -1 && MaxRows < i) break;
            if (r + 1 >= RowCount() && li + 1 < lines.Count()) SetRowCount(r + 2);
            ++r;
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    CellsChanged(TRect{0, 0, ColCount(), RowCount()});
}

void TVodStringGrid::WriteASCII(const String& FileName, bool Unicode, bool Append)
{
    const TCursor saved = Screen ? Screen->Cursor() : TCursor(crDefault);
    if (Screen) Screen->SetCursor(crHourGlass);
    try {
        std::vector<String> lines;
        if (Append && std::filesystem::exists(std::string(FileName.begin(), FileName.end()))) {
            TStringList old;
            old.LoadFromFile(FileName);
            for (Integer i = 0; i < old.Count(); ++i) lines.push_back(old.Strings(i));
        }
        const Integer h = SaveHiddenCells() ? NumHiddenColumns() : 0;
        const Integer c0 = (SaveFixedCells() || SaveFixedCols()) ? 0 : FixedCols();
        const Integer r0 = (SaveFixedCells() || SaveFixedRows()) ? 0 : FixedRows();
        const Integer c1 = ColCount() - 1 + h, r1 = RowCount() - 1;
        auto source = [&](Integer c) { return SaveHiddenCells() ? c : RealColIndex(c); };
        std::vector<Integer> w, start;
        Integer pos = 0;
        for (Integer c = c0; c <= c1; ++c) {
            w.push_back(LongestSavedLine(source(c)));
            start.push_back(pos);
            pos += w.back() + 1;
        }
        auto align = [](const String& s, Integer width, TAlignment a) {
            String t = s;
            if (a == taRightJustify) {
                if (Integer(t.size()) < width) t.insert(0, size_t(width) - t.size(), L' ');
            } else if (a == taCenter) {
                while (Integer(t.size()) < width) t = L" " + t + L" ";
            }
            return t;
        };
        ExportNotification(esExportStart, r0);
        for (Integer r = r0; r <= r1; ++r) {
            ExportNotification(esExportNextRow, r);
            String main;
            std::vector<String> cont;
            for (Integer c = c0; c <= c1; ++c) {
                const size_t k = size_t(c - c0);
                const Integer src = source(c);
                const String t = SaveCell(src, r);
                const TAlignment a = ExportAlignment(src, r);
                std::vector<String> parts = SplitCRLF(t);
                if (parts.size() > 1 && Multilinecells()) {
                    for (size_t j = 1; j < parts.size(); ++j) {
                        if (cont.size() < j) cont.resize(j);
                        String& cl = cont[j - 1];
                        if (Integer(cl.size()) < start[k]) cl.append(size_t(start[k]) - cl.size(), L' ');
                        cl += align(parts[j], w[k], a);
                    }
                }
                String piece = align(parts[0], w[k], a);
                if (Integer(piece.size()) <= w[k]) piece.append(size_t(w[k] + 1) - piece.size(), L' ');
                main += piece;
            }
            lines.push_back(std::move(main));
            for (String& cl : cont) lines.push_back(std::move(cl));
        }
        ExportNotification(esExportDone, -1);
        TEncoding* enc = Unicode ? (Encoding() ? Encoding() : TEncoding::UTF8()) : TEncoding::Default();
        SaveLinesAtomically(FileName, lines, enc);
    } catch (...) {
        if (Screen) Screen->SetCursor(saved);
        throw;
    }
    if (Screen) Screen->SetCursor(saved);
}

void TVodStringGrid::SaveToASCII(const String& FileName, bool Unicode) { WriteASCII(FileName, Unicode, false); }

void TVodStringGrid::AppendToASCII(const String& FileName, bool Unicode) { WriteASCII(FileName, Unicode, true); }
