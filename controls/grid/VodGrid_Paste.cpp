// The grid's clipboard paste: the choice of format, the native block, the
// text parser shared with text drops, the smart fill of a larger selection,
// and the writer of SelectionAsText.
#include <algorithm>
#include <cstring>

#include "controls/foundation/VodUtil.h"
#include "controls/grid/GridStreamHeader.h"
#include "controls/grid/VodGrid.h"
#include "controls/grid/VodGrid_ClipSupport.h"
#include "platform/base/Filer.h"
#include "platform/base/Streams.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/Clipbrd.h"

namespace {

struct TClipHeader {
    Integer ColCount = 0, RowCount = 0, ID = 0;
};

TClipHeader ReadClipHeader(TStream* S)
{
    vodgrid_stream::TGridPropIO io(nullptr);
    TReader R(S);
    R.ReadSignature();
    R.ReadStr();
    R.ReadStr();
    while (!R.EndOfList()) R.ReadProperty(&io);
    R.ReadListEnd();
    return TClipHeader{io.ColCount, io.RowCount, io.ID};
}

bool StartsPacked(const String& S) { return S.size() >= 2 && S[0] == L'|' && S[1] == L'\\'; }

}  // namespace

// ---------------------------------------------------------------------------
// Hooks

void TVodStringGrid::PasteCell(Integer ACol, Integer ARow, const String& Value)
{
    const Integer tc = SaveHiddenCells() ? ACol : DisplToRealColumn(ACol);
    if (TVodGridUndoRedo* undo = UndoRedo()) undo->RegisterChange(tc, ARow, GetCellEx(tc, ARow), Value);
    if (!HasCheckBox(tc, ARow) || HasDataCheckBox(tc, ARow))
        SetCellEx(tc, ARow, Value);
    else
        SetCheckBoxState(tc, ARow, Value == CheckTrue());
    if (tc != ACol) RepaintCell(ACol, ARow);
}

void TVodStringGrid::PasteRowModified(TPoint& SourceTopLeft, TGridRect& Target, TClipOperation LastOp)
{
    (void)SourceTopLeft;
    (void)LastOp;
    if (!ShowModified()->Enabled()) return;
    for (Integer r = Target.Top; r <= Target.Bottom; ++r) SetRowModified(r, true);
}

// ---------------------------------------------------------------------------
// Choosing the format

Integer TVodStringGrid::PasteClipboardAt(Integer ACol, Integer ARow, Integer& Cols, Integer& Rows)
{
    TClipboard* cb = Clipboard();
    if (ClipboardAllowed()) {
        const UINT fmt = RegisterClipboardFormat(L"TVodStringGrid Cells");
        GridUnit().CellsClipboardFormat = fmt;
        if (IsClipboardFormatAvailable(fmt)) {
            TMemoryStream m;
            cb->Open();
            try {
                BeforePasteCells();
                HGLOBAL h = GetClipboardData(fmt);
                const void* p = h ? GlobalLock(h) : nullptr;
                if (!p) {
                    cb->Close();
                    return 0;
                }
                if (GlobalSize(h)) m.WriteBuffer(p, GlobalSize(h));
                GlobalUnlock(h);
            } catch (...) {
                cb->Close();
                throw;
            }
            cb->Close();

            // The counts come from outside: a block the grid cannot take is
            // refused before anything changes.
            m.SetPosition(0);
            const TClipHeader hd = ReadClipHeader(&m);
            const Int64 limit = StreamCellLimit();
            if (hd.ColCount < 0 || hd.RowCount < 0 || Int64(hd.ColCount) * hd.RowCount > limit ||
                Int64(ACol) + hd.ColCount > limit || Int64(ARow) + hd.RowCount > limit)
                throw EVodGridError(L"The clipboard block of " + IntToStr(hd.ColCount) + L" x " +
                                    IntToStr(hd.RowCount) + L" cells does not fit the grid");
            TNavigation* nav = Navigation();
            const bool rowGrow = nav->AllowClipboardRowGrow(), colGrow = nav->AllowClipboardColGrow();
            const bool insert = nav->ClipboardPasteAction() == paInsert;
            if (rowGrow || colGrow || insert) {
                if (ACol + hd.ColCount >= ColCount() && colGrow) SetColCount(ACol + hd.ColCount);
                if (ARow + hd.RowCount >= RowCount() && rowGrow) SetRowCount(ARow + hd.RowCount);
                Cols = ColCount();
                Rows = RowCount();
                if (insert && hd.RowCount > 0) InsertRows(ARow, hd.RowCount, true);
            }
            m.SetPosition(0);
            LoadAtPointFromBinStream(TPoint{ACol, ARow}, &m);
            TGridRect target{ACol, ARow, ACol + hd.ColCount - 1, ARow + hd.RowCount - 1};
            if (hd.ID == StreamID())
                PasteRowModified(FClipTopLeft, target, FClipLastOp);
            else {
                TPoint none{-1, -1};
                PasteRowModified(none, target, FClipLastOp);
            }
            AfterPasteCells();
            return hd.ColCount * hd.RowCount;
        }
    }
    const UINT rtf = RegisterClipboardFormat(L"Rich Text Format");
    if (Navigation()->AllowRTFClipboard() && IsClipboardFormatAvailable(rtf)) {
        String s;
        cb->Open();
        if (HGLOBAL h = GetClipboardData(rtf)) s = GlobalText(h, CF_TEXT);
        cb->Close();
        if (!s.empty()) {
            if (IsEditable(DisplToRealColumn(ACol), ARow)) PasteCell(ACol, ARow, s);
            Cols = 1;
            Rows = 1;
        }
        return 0;
    }
    if (IsClipboardFormatAvailable(CF_TEXT)) {
        const String s = cb->AsText();
        if (!s.empty()) return PasteTextAt(ACol, ARow, s, Cols, Rows);
    }
    return 0;
}

// ---------------------------------------------------------------------------
// The text parser

void TVodStringGrid::PasteTextField(Integer c, Integer r, String F, bool& Written, Integer& MaxCol, Integer& MaxRow)
{
    bool allow = true;
    if (StartsPacked(F)) {
        String w = UnpackWideText(F);
        if (OnClipboardBeforePasteWideCell) OnClipboardBeforePasteWideCell(this, c, r, w, allow);
        if (!allow) return;
        Written = true;
        PasteCell(c, r, PackWideText(w));
        MaxCol = std::max(MaxCol, c);
        MaxRow = std::max(MaxRow, r);
        if (OnClipboardAfterPasteWideCell) OnClipboardAfterPasteWideCell(this, c, r, w);
        return;
    }
    if (OnClipboardBeforePasteCell) OnClipboardBeforePasteCell(this, c, r, F, allow);
    if (!allow) return;
    Written = true;
    PasteCell(c, r, F);
    MaxCol = std::max(MaxCol, c);
    MaxRow = std::max(MaxRow, r);
    if (OnClipboardAfterPasteCell) OnClipboardAfterPasteCell(this, c, r, F);
}

Integer TVodStringGrid::PasteTextAt(Integer ACol, Integer ARow, const String& Text, Integer& Cols, Integer& Rows)
{
    TNavigation* nav = Navigation();
    const bool always = nav->AllowClipboardAlways();
    if (ACol < 0 || ARow < 0) return 0;
    // Editing as IsEditable sees it: also while the grid itself allows it
    // for the time of a paste (FEditDisable).
    if (!Options().Contains(goEditing) && !always && !MouseActions()->RangeSelectAndEdit() && !FEditDisable) return 0;

    const Integer H = SaveHiddenCells() ? NumHiddenColumns() : 0;
    const bool colGrow = nav->AllowClipboardColGrow(), rowGrow = nav->AllowClipboardRowGrow();
    const bool insert = nav->ClipboardPasteAction() == paInsert;
    const bool footerRow = FloatingFooter() && FloatingFooter()->Visible() &&
                           FloatingFooter()->FooterStyle() == fsFixedLastRow;
    Cols = 0;
    Rows = 0;
    Integer N = 0, maxCol = ACol, maxRow = ARow;
    bool written = false;
    TVodGridUndoRedo* undo = UndoRedo();
    if (undo) undo->StartSequence();
    Integer c = ACol, r = ARow;

    const size_t len = Text.size();
    const Char* t = Text.data();
    size_t pos = 0;
    String field;
    for (;;) {
        size_t eol = pos;
        while (eol < len && t[eol] != L'\r') ++eol;
        const bool hasBreak = eol < len;
        const size_t next = hasBreak ? (eol + 1 < len && t[eol + 1] == L'\n' ? eol + 2 : eol + 1) : len;
        const bool lastLine = !hasBreak;

        ++Rows;
        ImportNotification(FPasteAll ? isImportNewRow : isImportSelRow, r);
        if (eol > pos && insert) InsertRows(r, 1, true);
        const Char* tab = std::find(t + pos, t + eol, L'\t');
        if (tab != t + eol) Cols = 1;

        size_t fs = pos;
        for (;;) {
            size_t fe = fs;
            while (fe < eol && t[fe] != L'\t') ++fe;
            field.assign(t + fs, fe - fs);
            if (fe < eol) {
                // A field that ends at a tab. The grid grows before the
                // field is stored, and nothing is stored outside it.
                ++Cols;
                if (colGrow && ColCount() + H < c + 1) SetColCount(c + 1 - H);
                if (c < ColCount() + H && r < RowCount() &&
                    (always || IsEditable(DisplToRealColumn(c), r)))
                    PasteTextField(c, r, UnquoteClipboardField(field), written, maxCol, maxRow);
                ++N;
                ++c;
                fs = fe + 1;
                continue;
            }
            // The rest of the line is its last field; the empty last line
            // writes nothing.
            if (!field.empty() || !lastLine) {
                if (colGrow && ColCount() + H < c + 1) SetColCount(c + 1 - H);
                if (c < ColCount() + H && r < RowCount() &&
                    (always || IsEditable(DisplToRealColumn(c), r))) {
                    if (c < ColCount()) PasteTextField(c, r, UnquoteClipboardField(field), written, maxCol, maxRow);
                    ++c;
                }
            }
            ++N;
            break;
        }

        if (!hasBreak) break;
        pos = next;
        c = ACol;
        if (pos < len) {
            ++r;
            const Integer L = footerRow ? RowCount() - 1 : RowCount();
            if (r == L && rowGrow) {
                // Every line still to come would add one row here: they are
                // added at once (a growth row by row costs the grid a
                // resize per line).
                Integer lines = 0;
                for (size_t p = pos; p < len;) {
                    ++lines;
                    const Char* cr = std::find(t + p, t + len, L'\r');
                    if (cr == t + len) break;
                    p = size_t(cr - t) + 1;
                    if (p < len && t[p] == L'\n') ++p;
                }
                SetRowCount(RowCount() + lines);
            }
        }
        if (pos >= len) {
            // The empty last line after the final break.
            ++Rows;
            ImportNotification(FPasteAll ? isImportNewRow : isImportSelRow, r);
            ++N;
            break;
        }
    }
    --Rows;
    if (undo) undo->StopSequence();
    TPoint src = FClipTopLeft;
    TGridRect target{ACol, ARow, maxCol, maxRow};
    PasteRowModified(src, target, FClipLastOp);
    FClipTopLeft = src;
    if (written) CellsChanged(TRect{DisplToRealColumn(ACol), ARow, DisplToRealColumn(maxCol), maxRow});
    return N;
}

void TVodStringGrid::TextBlockSize(const String& Text, Integer& Cols, Integer& Rows)
{
    Cols = 0;
    Rows = 0;
    const size_t len = Text.size();
    size_t pos = 0;
    for (;;) {
        size_t eol = pos;
        Integer tabs = 0;
        while (eol < len && Text[eol] != L'\r') {
            if (Text[eol] == L'\t') ++tabs;
            ++eol;
        }
        Cols = std::max(Cols, tabs + 1);
        if (eol == pos) --Rows;
        if (eol >= len) break;
        ++Rows;
        pos = eol + 1;
        if (pos < len && Text[pos] == L'\n') ++pos;
    }
}

void TVodStringGrid::SetSelectionAsText(const String& Value)
{
    const TGridRect S = Selection();
    const Integer ACol = S.Left, ARow = S.Top;
    const bool footerRow = FloatingFooter() && FloatingFooter()->Visible() &&
                           FloatingFooter()->FooterStyle() == fsFixedLastRow;
    Integer c = ACol, r = ARow, maxCol = ACol, maxRow = ARow;
    const size_t len = Value.size();
    const Char* t = Value.data();
    size_t pos = 0;
    String field;
    for (;;) {
        size_t eol = pos;
        while (eol < len && t[eol] != L'\r') ++eol;
        const bool hasBreak = eol < len;
        size_t fs = pos;
        for (;;) {
            size_t fe = fs;
            while (fe < eol && t[fe] != L'\t') ++fe;
            const bool last = fe >= eol;
            field.assign(t + fs, fe - fs);
            if (!last || !field.empty() || hasBreak) {
                if (ColCount() < c + 1) SetColCount(c + 1);
                if (c < ColCount() && r < RowCount()) {
                    SetGridCell(c, r, UnquoteClipboardField(field));
                    maxCol = std::max(maxCol, c);
                    maxRow = std::max(maxRow, r);
                }
                ++c;
            }
            if (last) break;
            fs = fe + 1;
        }
        if (!hasBreak) break;
        pos = eol + 1;
        if (pos < len && t[pos] == L'\n') ++pos;
        c = ACol;
        if (pos >= len) break;
        ++r;
        const Integer L = footerRow ? RowCount() - 1 : RowCount();
        if (r == L) SetRowCount(RowCount() + 1);
    }
    CellsChanged(TRect{ACol, ARow, maxCol, maxRow});
}

// ---------------------------------------------------------------------------
// Paste operations

void TVodStringGrid::PasteFromClipboard()
{
    ImportNotification(isImportStart, -1);
    FPasteAll = true;
    Integer cols = 0, rows = 0;
    const Integer sc = SaveStartCol(), sr = SaveStartRow();
    PasteClipboardAt(sc, sr, cols, rows);
    ImportNotification(isImportDone, -1);
    ClipboardPasteDone(TGridRect{sc, sr, sc + cols, sr + rows});
    RecalcAllFooters();
}

void TVodStringGrid::PasteSelectionFromClipboard()
{
    ImportNotification(isImportStart, -1);
    FPasteAll = false;
    ExpandSelectionToMerged();
    const TGridRect S = Selection();
    Integer cols = 0, rows = 0;
    const Integer startCol = Options().Contains(goRowSelect) ? FixedCols() : S.Left;
    const Integer P = PasteClipboardAt(startCol, S.Top, cols, rows);
    TNavigation* nav = Navigation();
    if (!nav->AllowSmartClipboard()) {
        ClipboardPasteDone(TGridRect{S.Left, S.Top, S.Left + cols, S.Top + rows});
        RecalcAllFooters();
        return;
    }
    const Integer M = (S.Right - S.Left + 1) * (S.Bottom - S.Top + 1);
    if (P >= M) return;
    BeforePasteCells();
    const bool always = nav->AllowClipboardAlways();
    const bool manyCells = M > 1;
    auto before = [&](Integer c, Integer r, String& V, bool& Allow) {
        if (OnClipboardBeforePasteCell) OnClipboardBeforePasteCell(this, c, r, V, Allow);
    };
    auto after = [&](Integer c, Integer r, const String& V) {
        if (OnClipboardAfterPasteCell) OnClipboardAfterPasteCell(this, c, r, V);
    };
    auto modified = [&](Integer c, Integer r) {
        TGridRect cell{c, r, c, r};
        PasteRowModified(FClipTopLeft, cell, coCopy);
    };

    // One value into every editable cell.
    if (P == 1 && manyCells) {
        const Integer rc0 = DisplToRealColumn(S.Left);
        String v0 = GetCellEx(rc0, S.Top);
        if (HasCheckBox(rc0, S.Top)) {
            bool st = false;
            GetCheckBoxState(rc0, S.Top, st);
            v0 = st ? CheckTrue() : CheckFalse();
        }
        for (Integer c = S.Left; c <= S.Right; ++c)
            for (Integer r = S.Top; r <= S.Bottom; ++r) {
                if (!always && !IsEditable(DisplToRealColumn(c), r)) continue;
                String v = v0;
                bool allow = true;
                const bool origin = c == S.Left && r == S.Top;
                if (!origin) before(c, r, v, allow);
                if (allow) PasteCell(c, r, v);
                modified(c, r);
                if (!origin) after(c, r, v);
            }
    }
    AfterPasteCells();

    const bool oneCol = S.Left == S.Right, oneRow = S.Top == S.Bottom;
    if (P > 1 && (oneCol || oneRow)) {
        const String A = GetCellEx(DisplToRealColumn(S.Left), S.Top);
        const String B = oneCol ? GetCellEx(DisplToRealColumn(S.Left), S.Top + 1)
                                : GetCellEx(DisplToRealColumn(S.Left + 1), S.Top);
        const Char ts = GridTimeSeparator(), ds = GridDateSeparator(), dec = GridDecimalSeparator();
        auto dateLike = [&](const String& x) { return LooksLikeDate(x) || x.find(ts) != String::npos; };
        Integer ia = 0, ib = 0;
        enum { skDate, skFloat, skInt, skText } kind = skText;
        if (dateLike(A) && dateLike(B))
            kind = skDate;
        else if (A.find(dec) != String::npos || B.find(dec) != String::npos)
            kind = skFloat;
        else if (TryStrToInt(A, ia) && TryStrToInt(B, ib))
            kind = skInt;

        // Visits S columns outer, rows inner; Step advances the value after
        // every cell, editable or not.
        auto series = [&](auto Value, auto Step, bool ModifiedAlways) {
            for (Integer c = S.Left; c <= S.Right; ++c)
                for (Integer r = S.Top; r <= S.Bottom; ++r) {
                    if (IsEditable(DisplToRealColumn(c), r)) {
                        String v = Value();
                        bool allow = true;
                        const bool origin = c == S.Left && r == S.Top;
                        if (!origin) before(c, r, v, allow);
                        if (allow) PasteCell(c, r, v);
                        if (allow || ModifiedAlways) modified(c, r);
                        if ((allow || ModifiedAlways) && !origin) after(c, r, v);
                    }
                    Step();
                }
        };
        if (kind != skText) {
            try {
                if (kind == skDate) {
                    TDateTime d = StrToDateTime(A);
                    const TDateTime d2 = StrToDateTime(B);
                    Word y1, m1, d1, y2, m2, dd2;
                    DecodeDate(d, y1, m1, d1);
                    DecodeDate(d2, y2, m2, dd2);
                    const Word dy = Word(y2 - y1), dm = Word(m2 - m1), dday = Word(dd2 - d1);
                    const TDateTime step = d2 - d;
                    const bool asDate = A.find(ds) != String::npos;
                    series([&] { return asDate ? DateToStr(d) : TimeToStr(d); },
                           [&] { d = AddDateParts(dy, dm, dday, d, step); }, true);
                } else if (kind == skFloat) {
                    Extended x = StrToFloat(A);
                    const Extended step = StrToFloat(B) - x;
                    const String ff = FloatFormat();
                    series([&] { return Format(ff, {x}); }, [&] { x += step; }, false);
                } else {
                    Integer i = ia;
                    const Integer step = ib - ia;
                    series([&] { return IntToStr(i); }, [&] { i += step; }, false);
                }
            } catch (const EConvertError&) {
                // A series that cannot go on ends where it is.
            }
            CellsChanged(TRect{S.Left, S.Top, S.Right, S.Bottom});
            return;
        }
        if (oneCol) {
            for (Integer n = S.Top + P - 1; n <= S.Bottom; ++n) {
                if (!IsEditable(DisplToRealColumn(S.Left), n)) continue;
                String v = GetCellEx(S.Left, n - P + 1);
                bool allow = true;
                if (n != S.Top) before(S.Left, n, v, allow);
                if (allow) {
                    PasteCell(S.Left, n, v);
                    if (n != S.Top) after(S.Left, n, v);
                }
            }
            TPoint src{S.Left, S.Top};
            TGridRect tr{S.Left, S.Top + P - 1, S.Left, S.Bottom};
            PasteRowModified(src, tr, coCopy);
        } else {
            for (Integer n = S.Left + P - 1; n <= S.Right; ++n) {
                if (!IsEditable(DisplToRealColumn(n), S.Top)) continue;
                String v = GetCellEx(n - P + 1, S.Top);
                bool allow = true;
                if (n != S.Left) before(n, S.Top, v, allow);
                if (allow) {
                    PasteCell(n, S.Top, v);
                    if (n != S.Left) after(n, S.Top, v);
                }
            }
            TPoint src{S.Left, S.Top};
            TGridRect tr{S.Left + P - 1, S.Top, S.Right, S.Bottom};
            PasteRowModified(src, tr, coCopy);
        }
    }

    // Block repetition over a selection of several rows and columns.
    if (!oneCol && !oneRow) {
        if (rows == 1) {
            for (Integer n = S.Top + 1; n <= S.Bottom; ++n) {
                SetRowEx(n);
                PasteClipboardAt(S.Left, n, cols, rows);
            }
            SetSelection(S);
        }
        if (cols == 1) {
            for (Integer n = S.Left + 1; n <= S.Right; ++n) {
                SetCol(n);
                PasteClipboardAt(n, S.Top, cols, rows);
            }
            SetSelection(S);
        }
    }
    ImportNotification(isImportDone, -1);
    const TGridRect sel = Selection();
    CellsChanged(TRect{sel.Left, sel.Top, sel.Right, sel.Bottom});
    ClipboardPasteDone(sel);
    RecalcAllFooters();
}
