// The settings behind the grid's SortSettings: the sort column and
// direction, the options of the comparison, of the row swap and of sorting
// by a click on the header, the header's sort glyphs and colours, and the
// sort specifier text ("u3", "d3", "i;u2;d0"). Sorting itself lives in the
// grid's sort family (VodGrid_Sort.cpp).
#pragma once

#include <memory>

#include "controls/grid/VodObj.h"
#include "platform/base/Objects.h"
#include "platform/gfx/Colors.h"
#include "platform/gfx/Graphics.h"

class TVodStringGrid;

enum TSortDirection { sdAscending, sdDescending };
enum TSortBlankPosition { blFirst, blLast };
enum TIndexSortKey { ikShift, ikCtrl };
// The kind of a column as ColumnType guesses it from its first two rows.
enum TColumnType { ctNumeric, ctFloat, ctAlpha, ctDate, ctTime, ctBoolean };

class TSortSettings : public TPersistent {
    VEL_CLASS(TSortSettings, TPersistent)
public:
    explicit TSortSettings(TVodStringGrid* AGrid);
    ~TSortSettings() override;
    // Copies the settings from other sort settings without repainting;
    // IgnoreCase and SortOnVirtualCells stay. Other sources are ignored.
    void Assign(TPersistent* Source) override;
    TVodStringGrid* Grid() const { return FGrid; }

    // The specifier of the current sort: "i;" and the index list with
    // IndexShow, else "u" or "d" and the column (also -1).
    String SaveToString() const;
    // Sets Show, then sorts the grid as the specifier says. The reading is
    // lenient: "i;" anywhere makes an index specifier, and the direction is
    // ascending whenever a "u" occurs. Raises Exception "Invalid sort
    // settings specifier" for a one-character text.
    void LoadFromString(const String& Value);
    // No sort column and no index columns; the rows keep their order.
    void Remove();
    // Reverses Direction; nothing is sorted or repainted.
    void ToggleDirection();

    Integer Column = -1;
    TSortDirection Direction = sdAscending;
    TSortDirection InitSortDirection = sdAscending;
    bool IndexShow = false;
    TIndexSortKey IndexSortKey = ikShift;
    TColor IndexColor = TColor(0x00FFFF);
    bool Full = true;
    bool SingleColumn = false;
    bool IgnoreBlanks = false;
    TSortBlankPosition BlankPos = blFirst;
    bool AutoFormat = true;
    bool IgnoreCase = false;
    TSortStyle DefaultFormat = ssAutomatic;
    bool NormalCellsOnly = false;
    bool FixedCols = false;
    bool UndoSort = false;
    bool AutoSortForGrouping = true;
    bool AutoColumnMerge = false;
    bool SortOnVirtualCells = true;

    bool Show() const { return FShow; }
    // A new value repaints the grid.
    void SetShow(bool v);
    Integer Row() const { return FRow; }
    // Raises Exception "Sort row should be smaller than number of fixed
    // rows" for a value of the grid's FixedRows or more.
    void SetRow(Integer v);
    TBitmap* UpGlyph() const { return FUpGlyph.get(); }
    void SetUpGlyph(TBitmap* v) { FUpGlyph->Assign(v); }
    TBitmap* DownGlyph() const { return FDownGlyph.get(); }
    void SetDownGlyph(TBitmap* v) { FDownGlyph->Assign(v); }
    TBitmap* IndexUpGlyph() const { return FIndexUpGlyph.get(); }
    void SetIndexUpGlyph(TBitmap* v) { FIndexUpGlyph->Assign(v); }
    TBitmap* IndexDownGlyph() const { return FIndexDownGlyph.get(); }
    void SetIndexDownGlyph(TBitmap* v) { FIndexDownGlyph->Assign(v); }
    // A new colour repaints the header row (FixedRows - 1).
    TColor HeaderColor() const { return FHeaderColor; }
    void SetHeaderColor(TColor v) { SetHeader(FHeaderColor, v); }
    TColor HeaderColorTo() const { return FHeaderColorTo; }
    void SetHeaderColorTo(TColor v) { SetHeader(FHeaderColorTo, v); }
    TColor HeaderMirrorColor() const { return FHeaderMirrorColor; }
    void SetHeaderMirrorColor(TColor v) { SetHeader(FHeaderMirrorColor, v); }
    TColor HeaderMirrorColorTo() const { return FHeaderMirrorColorTo; }
    void SetHeaderMirrorColorTo(TColor v) { SetHeader(FHeaderMirrorColorTo, v); }

private:
    void SetHeader(TColor& Field, TColor v);
    void RepaintHeaderRow();
    TVodStringGrid* FGrid;
    bool FShow = false;
    Integer FRow = 0;
    std::unique_ptr<TBitmap> FUpGlyph, FDownGlyph, FIndexUpGlyph, FIndexDownGlyph;
    TColor FHeaderColor = clNone, FHeaderColorTo = clNone, FHeaderMirrorColor = clNone, FHeaderMirrorColorTo = clNone;
};
