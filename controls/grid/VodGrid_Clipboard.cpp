// The grid's clipboard copy and cut: the text form of a block of cells, the
// rich text and native records beside it, and the markup copy.
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "controls/foundation/VodUtil.h"
#include "controls/grid/VodGrid.h"
#include "controls/grid/VodGrid_ClipSupport.h"
#include "controls/grid/vurdd.h"
#include "platform/base/Files.h"
#include "platform/base/Streams.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/RichEdit.h"

namespace {

std::string NarrowBytes(const String& s)
{
    std::string r;
    r.reserve(s.size());
    for (Char c : s) r += char(c < 0x100 ? c : '?');
    return r;
}

// The plain text of a rich text source.
String RichPlainText(const String& S)
{
    TRichDocument d;
    ReadRtf(NarrowBytes(S), d);
    return d.Text();
}

HWND ClipOwner(TVodStringGrid* G) { return G->HandleAllocated() ? G->Handle() : nullptr; }

}  // namespace

String QuoteClipboardField(const String& S)
{
    String r;
    r.reserve(S.size() + 2);
    r += L'"';
    for (size_t i = 0; i < S.size(); ++i) {
        const Char c = S[i];
        if (c == L'\r') {
            r += L'\n';
            if (i + 1 < S.size() && S[i + 1] == L'\n') ++i;
        } else if (c == L'"')
            r += L"\"\"";
        else
            r += c;
    }
    r += L'"';
    return r;
}

String UnquoteClipboardField(const String& F)
{
    if (F.size() < 2 || F.front() != L'"' || F.back() != L'"') return F;
    if (F.find_first_of(L"\n\x0B") == String::npos) return F;
    String r;
    r.reserve(F.size());
    for (size_t i = 1; i + 1 < F.size(); ++i) {
        const Char c = F[i];
        if (c == L'"' && i + 2 < F.size() && F[i + 1] == L'"') {
            r += L'"';
            ++i;
        } else if (c == L'\n' || c == L'\x0B')
            r += L"\r\n";
        else if (c == L'\r' && i + 2 < F.size() && F[i + 1] == L'\n') {
            r += L"\r\n";
            ++i;
        } else
            r += c;
    }
    return r;
}

String TVodStringGrid::RectToClipboardText(TGridRect Rect, bool DisjunctOnly)
{
    FClipTopLeft = TPoint{Rect.Left, Rect.Top};
    ExportNotification(esExportStart, -1);
    const TGridExportState first = (Rect.Top > FixedRows() || Rect.Bottom < RowCount() - FixedFooters() - 1)
                                       ? esExportSelRow
                                       : esExportNewRow;
    for (Integer r = Rect.Top; r <= Rect.Bottom; ++r) ExportNotification(first, r);

    TMouseActions* ma = MouseActions();
    TNavigation* nav = Navigation();
    const bool skipRows = ma->DisjunctRowSelect() && DisjunctOnly && !ma->DisjunctColSelect();
    const bool skipCols = ma->DisjunctColSelect() && DisjunctOnly;
    const bool persistent = ma->RowSelectPersistent();
    const bool keepTags = nav->CopyHTMLTagsToClipboard();
    const bool excel = ExcelClipboardFormat();
    const bool multi = Multilinecells();
    const bool severalRows = Rect.Top < Rect.Bottom;

    String out;
    String s;
    for (Integer r = Rect.Top; r <= Rect.Bottom; ++r) {
        ExportNotification(esExportNewRow, r);
        if (skipRows && !RowSelect(persistent ? DisplToRealRow(r) : r)) continue;
        for (Integer c = Rect.Left; c <= Rect.Right; ++c) {
            if (skipCols && !ColSelect(c)) continue;
            const Integer rc = DisplToRealColumn(c);
            SaveCell(rc, r, s);
            if (s.size() >= 2 && s[0] == L'|' && s[1] == L'\\') s = UnpackWideText(s);
            if (keepTags || s.find(L"</") == String::npos) {
                if (s.find(L"{\\") != String::npos) s = RichPlainText(GetCellEx(rc, r));
            } else
                s = GetStrippedCell(rc, r);
            if (excel && LineCount(s, multi) > 1)
                QuoteMultiLine(s);
            else if (s.find(L'\r') != String::npos)
                // A multi-line cell as spreadsheets write it: it reads back
                // as it was.
                s = QuoteClipboardField(s);
            out += s;
            if (c < Rect.Right) out += L'\t';
        }
        if (severalRows) out += L"\r\n";
    }
    ExportNotification(esExportDone, -1);
    return out;
}

void TVodStringGrid::CopyRectToClipboard(TGridRect Rect, bool DisjunctOnly)
{
    Clipboard()->SetAsText(RectToClipboardText(Rect, DisjunctOnly));
    if (Navigation()->AllowRTFClipboard()) CopyCellAsRichText(Rect.Left, Rect.Top);
    if (Navigation()->AllowFmtClipboard()) CopyRectAsGridCells(Rect);
}

void TVodStringGrid::CopyCellAsRichText(Integer ACol, Integer ARow)
{
    const String s = GetCellEx(ACol, ARow);
    if (s.find(L"{\\") == String::npos) return;
    HGLOBAL h = MakeGlobalText(s, CF_TEXT);
    if (!h) return;
    if (!OpenClipboard(ClipOwner(this))) {
        GlobalFree(h);
        return;
    }
    if (!SetClipboardData(RegisterClipboardFormat(L"Rich Text Format"), h)) GlobalFree(h);
    CloseClipboard();
}

void TVodStringGrid::CopyRectAsGridCells(TGridRect Rect)
{
    TMemoryStream m;
    SaveRectToBinStream(Rect, &m, false);
    // Registered again each time: the name always gives its identifier.
    const UINT fmt = RegisterClipboardFormat(L"TVodStringGrid Cells");
    GridUnit().CellsClipboardFormat = fmt;
    if (!OpenClipboard(ClipOwner(this))) throw EClipboardException(L"Cannot open clipboard");
    HGLOBAL h = nullptr;
    try {
        h = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, size_t(m.Size()));
        if (!h) throw EOutOfResources(L"Out of memory");
        void* p = GlobalLock(h);
        if (!p) throw EOutOfResources(L"Cannot lock memory");
        if (m.Size()) std::memcpy(p, m.Memory(), size_t(m.Size()));
        GlobalUnlock(h);
        if (!SetClipboardData(fmt, h))
            throw EClipboardException(L"Cannot set clipboard data");
    } catch (...) {
        if (h) GlobalFree(h);
        CloseClipboard();
        throw;
    }
    CloseClipboard();
}

void TVodStringGrid::ExpandSelectionToMerged()
{
    TGridRect S = Selection();
    bool merged = false;
    if (IsMergedCell(S.Left, S.Top)) {
        const TPoint b = BaseCell(S.Left, S.Top);
        S.Left = std::min(S.Left, b.X);
        S.Top = std::min(S.Top, b.Y);
        merged = true;
    }
    if (IsMergedCell(S.Right, S.Bottom)) {
        const TPoint b = BaseCell(S.Right, S.Bottom);
        const TPoint span = CellSpan(b.X, b.Y);
        S.Right = std::max(S.Right, b.X + span.X);
        S.Bottom = std::max(S.Bottom, b.Y + span.Y);
        merged = true;
    }
    if (merged) SetSelection(S);
}

void TVodStringGrid::CopySelectionToClipboard()
{
    ExpandSelectionToMerged();
    TMouseActions* ma = MouseActions();
    const bool fmt = Navigation()->AllowFmtClipboard();
    if (ma->DisjunctRowSelect() && !fmt)
        CopyRectToClipboard(TGridRect{FixedCols(), SaveStartRow(), ColCount() - FixedRightCols() - 1, SaveEndRow()},
                            true);
    else if (ma->DisjunctColSelect() && !fmt)
        CopyRectToClipboard(TGridRect{SaveStartCol(), SaveStartRow(), SaveEndCol(), SaveEndRow()}, true);
    else
        CopyRectToClipboard(Selection(), false);
    FClipLastOp = coCopy;
}

void TVodStringGrid::CopyToClipBoard()
{
    CopyRectToClipboard(TGridRect{SaveStartCol(), SaveStartRow(), SaveEndCol(), SaveEndRow()}, false);
    FClipLastOp = coCopy;
}

void TVodStringGrid::CutSelectionToClipboard()
{
    const TGridRect S = Selection();
    CopySelectionToClipboard();
    TMouseActions* ma = MouseActions();
    TNavigation* nav = Navigation();
    const bool modified = ShowModified()->Enabled();
    const bool always = nav->AllowClipboardAlways();
    if (ma->DisjunctRowSelect()) {
        const bool persistent = ma->RowSelectPersistent();
        for (Integer r = FixedRows(); r < RowCount(); ++r)
            if (RowSelect(persistent ? DisplToRealRow(r) : r)) {
                ClearRows(r, 1);
                if (modified) SetRowModified(r, true);
            }
    } else if (ma->DisjunctColSelect()) {
        for (Integer c = FixedCols(); c < ColCount(); ++c)
            if (ColSelect(c)) ClearCols(c, 1);
    } else {
        const TGridRect R = Selection();
        TVodGridUndoRedo* undo = UndoRedo();
        if (undo) undo->StartSequence();
        for (Integer c = R.Left; c <= R.Right; ++c) {
            const Integer rc = RealColIndex(c);
            for (Integer r = R.Top; r <= R.Bottom; ++r)
                if (always || IsEditable(rc, r)) {
                    if (undo) undo->RegisterChange(rc, r, GetCellEx(rc, r), String());
                    SetCellEx(rc, r, String());
                }
        }
        if (modified)
            for (Integer r = R.Top; r <= R.Bottom; ++r) SetRowModified(r, true);
        if (undo) undo->StopSequence();
        if (nav->AllowFmtClipboard()) FreeCellPropertiesRect(R.Left, R.Top, R.Right, R.Bottom);
    }
    FClipLastOp = coCut;
    if (OnCellsChanged) OnCellsChanged(this, TRect{S.Left, S.Top, S.Right, S.Bottom});

    if (nav->ClipboardCutAction() == caRemove && Options().Contains(goRowSelect)) {
        if (ma->DisjunctRowSelect()) {
            TIntList rows(-1, -1);
            for (Integer r = FixedRows(); r < RowCount(); ++r)
                if (RowSelect(r)) rows.Add(r);
            ResetRowSelection();
            RemoveRowList(&rows);
        } else {
            const TGridRect R = Selection();
            RemoveRows(R.Top, R.Bottom - R.Top + 1);
        }
    }
    if (NumHiddenColumns() > 0) Invalidate();
}

void TVodStringGrid::CutToClipboard()
{
    const TGridRect R{SaveStartCol(), SaveStartRow(), SaveEndCol(), SaveEndRow()};
    CopyRectToClipboard(R, false);
    const bool always = Navigation()->AllowClipboardAlways();
    for (Integer c = R.Left; c <= R.Right; ++c) {
        const Integer rc = DisplToRealColumn(c);
        for (Integer r = R.Top; r <= R.Bottom; ++r)
            if (always || IsEditable(rc, r)) SetCellEx(rc, r, String());
    }
    if (ShowModified()->Enabled())
        for (Integer r = R.Top; r <= R.Bottom; ++r) SetRowModified(r, true);
    if (Navigation()->ClipboardCutAction() == caRemove && Options().Contains(goRowSelect))
        RemoveRows(R.Top, R.Bottom - R.Top + 1);
    FClipLastOp = coCut;
}

void TVodStringGrid::CopyToClipBoardAsHTML()
{
    // Cell pictures go into a folder of their own under the temporary
    // folder, addressed absolutely; when that cannot be written the copy
    // goes on without pictures.
    String s;
    const String dir = GetTempPath() + L"vodgrid-clip-" + IntToStr(Integer(getpid())) + L"/";
    bool done = false;
    if (ForceDirectories(dir)) try {
            s = SaveToHTMLString(dir);
            done = true;
        } catch (const Exception&) {
        }
    if (!done) {
        THTMLSettings* hs = HTMLSettings();
        const bool images = hs->ExportImages();
        hs->SetExportImages(false);
        try {
            s = SaveToHTMLString(dir);
        } catch (...) {
            hs->SetExportImages(images);
            throw;
        }
        hs->SetExportImages(images);
    }
    BuildCFHTML(s);
    // One byte per character: the header's offsets count bytes, and the
    // wrapper already wrote every character above U+00FF as a reference.
    std::string bytes;
    bytes.reserve(s.size());
    for (Char c : s) bytes += char(c < 0x100 ? c : '?');
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!h) throw EOutOfResources(L"Out of memory");
    if (void* p = GlobalLock(h)) {
        if (!bytes.empty()) std::memcpy(p, bytes.data(), bytes.size());
        GlobalUnlock(h);
    } else {
        GlobalFree(h);
        throw EOutOfResources(L"Cannot lock memory");
    }
    TClipboard* cb = Clipboard();
    try {
        cb->Open();
    } catch (...) {
        GlobalFree(h);
        throw;
    }
    try {
        cb->SetAsHandle(RegisterClipboardFormat(L"HTML Format"), h);
    } catch (...) {
        GlobalFree(h);
        cb->Close();
        throw;
    }
    try {
        cb->SetAsText(s);
    } catch (...) {
        cb->Close();
        throw;
    }
    cb->Close();
}

String TVodStringGrid::GetSelectionAsText() { return RectToClipboardText(Selection(), false); }
