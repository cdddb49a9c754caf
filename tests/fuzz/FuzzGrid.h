// Shared by the grid file-format targets: one string grid on the headless
// backend, started once, and a snapshot of its whole content so that a
// target can check that a refused input changed nothing.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>

#include "controls/foundation/LibraryStartup.h"
#include "controls/grid/VodGrid.h"
#include "platform/base/Streams.h"
#include "platform/ui/Forms.h"
#include "platform/ui/backend/Headless.h"

inline TVodStringGrid* FuzzGrid()
{
    static THeadlessDriver* drv = nullptr;
    static TVodStringGrid* grid = nullptr;
    if (!grid) {
        drv = new THeadlessDriver;
        InitForms();
        VodLibraryStartup();
        grid = CreateGrid<TVodStringGrid>(nullptr);
        // Blocks a fuzzer can announce stay small.
        grid->SetStreamCellLimit(4096);
    }
    (void)drv;
    return grid;
}

// Resets the grid to a small known content.
inline void FuzzResetGrid(TVodStringGrid* g)
{
    g->SetColCount(4);
    g->SetRowCount(4);
    for (Integer r = 0; r < 4; ++r)
        for (Integer c = 0; c < 4; ++c) {
            g->SetGridCell(c, r, String(1, Char(L'a' + c + r)));
            g->FreeCellProperties(c, r);
        }
    g->GetCellProperties(1, 1)->FBrushColor = clRed;
}

inline TBytes FuzzSnapshot(TVodStringGrid* g)
{
    TMemoryStream m;
    g->SaveRectToBinStream(TGridRect{0, 0, g->ColCount() - 1, g->RowCount() - 1}, &m, true);
    const auto* p = static_cast<const uint8_t*>(m.Memory());
    TBytes b(p, p + m.Size());
    b.push_back(uint8_t(g->ColCount()));
    b.push_back(uint8_t(g->RowCount()));
    return b;
}
