// The drag-and-drop readers fed foreign data objects of any bytes: the
// format reader, the drop target's dispatch and the grid's drop handlers
// read within each block, never fail into the drag loop, and a dropped
// cell block grows the grid only within the stream's limit.
//
// The input is a list of records: a format byte (its low three bits pick
// the grid cells, column, file list, rich text, URL, URI, wide text or
// 8-bit text format), a 16-bit little-endian length and that many bytes.
#include "tests/fuzz/FuzzGrid.h"

#include "controls/grid/GridDragDropSettings.h"
#include "controls/grid/vurdd.h"
#include "platform/base/ComObj.h"
#include "platform/ui/Ole2.h"

using namespace vurdd;

namespace {

// Reads every format the object offers without handling any drop.
class TReadingTarget : public TVURDropTarget {
public:
    size_t Seen = 0;
    void DropText(TPoint, const String& S) override { Seen += S.size(); }
    void DropStream(TPoint, TMemoryStream* M) override { Seen += size_t(M->Size()); }
    void DropCol(TPoint, Integer) override { ++Seen; }
    void DropRTF(TPoint, const String& S) override { Seen += S.size(); }
    void DropFiles(TPoint, TStrings* F) override { Seen += size_t(F->Count()); }
    void DropURL(TPoint, const String& S) override { Seen += S.size(); }
    void DragMouseEnter() override {}
    void DragMouseLeave() override {}
};

struct TDropGrid {
    TForm* Form = nullptr;
    TVodStringGrid* Grid = nullptr;
};

TDropGrid& DropGrid()
{
    static TDropGrid d;
    if (!d.Grid) {
        FuzzGrid();  // starts the backend and the library
        RegisterVurFormats();
        d.Form = new TForm(nullptr);
        d.Form->SetBounds(10, 10, 300, 200);
        d.Grid = CreateGrid<TVodStringGrid>(d.Form);
        d.Grid->SetParent(d.Form);
        d.Grid->SetBounds(0, 0, 280, 180);
        d.Grid->SetStreamCellLimit(4096);
        d.Form->Show();
        d.Grid->DragDropSettings()->SetOleDropTarget(true);
        // Names from the input are never opened.
        d.Grid->OnOleDropFile = [](TObject*, Integer, Integer, const String&, bool& Allow) { Allow = false; };
    }
    return d;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 16384) return 0;
    TDropGrid& dg = DropGrid();
    const CLIPFORMAT formats[] = {VurFormats().Cells, VurFormats().Col, CF_HDROP,       VurFormats().RTF,
                                  VurFormats().URL,   VurFormats().URI, CF_UNICODETEXT, CF_TEXT};
    TComPtr<TDataObject> obj(new TDataObject);
    size_t i = 0;
    for (int n = 0; n < 4 && i + 3 <= size; ++n) {
        const CLIPFORMAT f = formats[data[i] & 7];
        size_t len = size_t(data[i + 1]) | size_t(data[i + 2]) << 8;
        i += 3;
        len = std::min(len, size - i);
        obj->SetBytes(f, data + i, len);
        i += len;
    }

    // The reader on its own.
    try {
        TEnumFormats ef(obj.Get());
        if (ef.HasGridCells()) delete ef.Stream();
        if (ef.HasCol()) (void)ef.Col();
        if (ef.HasFile()) (void)ef.ReadFiles();
        if (ef.HasRTF()) (void)ef.RTF();
        if (ef.HasURI()) (void)ef.URI();
        if (ef.HasText()) (void)ef.Text();
    } catch (const Exception&) {
    }

    // The target's dispatch.
    TComPtr<TReadingTarget> t(new TReadingTarget);
    DWORD eff = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    t->DragEnter(obj.Get(), MK_LBUTTON, POINTL{}, &eff);
    t->DragOver(MK_LBUTTON, POINTL{}, &eff);
    eff = DROPEFFECT_COPY;
    t->Drop(obj.Get(), 0, POINTL{}, &eff);
    (void)t->TakeDropError();

    // The grid's own handlers, at a cell and outside the cells.
    TVodStringGrid* g = dg.Grid;
    TGridDropTarget* gt = g->GridDropTarget();
    if (!gt) std::abort();
    FuzzResetGrid(g);
    const TRect r = g->CellRect(1, 1);
    for (TPoint p : {g->ClientToScreen(TPoint{r.Left + 2, r.Top + 2}), TPoint{-50, -50}}) {
        eff = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        const POINTL pt{p.X, p.Y};
        if (gt->DragEnter(obj.Get(), MK_LBUTTON, pt, &eff) == S_OK) {
            gt->DragOver(MK_LBUTTON, pt, &eff);
            gt->Drop(obj.Get(), 0, pt, &eff);
        }
        (void)gt->TakeDropError();
        if (Int64(g->ColCount()) * g->RowCount() > 4096 + 64) std::abort();
    }
    return 0;
}
