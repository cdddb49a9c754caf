// The settings behind the grid's SortSettings: the sort column and
// direction and the options of the comparison and of header-click sorting.
// Sorting itself and the sort specifier text come with the grid's sort
// family (VodGrid_Sort.cpp).
#pragma once

#include "platform/base/Objects.h"
#include "platform/gfx/Colors.h"

class TVodStringGrid;

enum TSortDirection { sdAscending, sdDescending };

class TSortSettings : public TPersistent {
    VEL_CLASS(TSortSettings, TPersistent)
public:
    explicit TSortSettings(TVodStringGrid* AGrid) : FGrid(AGrid) {}
    // Copies the settings from other sort settings; other sources are
    // ignored.
    void Assign(TPersistent* Source) override;
    TVodStringGrid* Grid() const { return FGrid; }
    Integer Column = -1;
    TSortDirection Direction = sdAscending;
    TSortDirection InitSortDirection = sdAscending;
    bool Show = false;
    bool IndexShow = false;
    TColor IndexColor = TColor(0x00FFFF);
    bool Full = true;
    bool SingleColumn = false;
    bool IgnoreBlanks = false;
    bool AutoFormat = true;
    bool IgnoreCase = false;
    bool NormalCellsOnly = false;

private:
    TVodStringGrid* FGrid;
};
