// The grid's XML reader fed any bytes as a file: a load succeeds or raises;
// a refused document leaves the grid as it was, and a loaded one stays
// within the size its input can describe.
#include "platform/os/AutomationServers.h"
#include "tests/fuzz/FuzzFile.h"
#include "tests/fuzz/FuzzGrid.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || size > 32768) return 0;
    static bool registered = (RegisterAutomationServers(), true);
    (void)registered;
    TVodStringGrid* g = FuzzGrid();
    FuzzResetGrid(g);
    const uint8_t flags = data[0];
    g->SetFixedRows(flags & 4 ? 1 : 0);
    g->SetSaveFixedCells(flags & 8);
    const TBytes before = FuzzSnapshot(g);
    const String file = FuzzWriteFile(".xml", data + 1, size - 1);
    try {
        g->LoadFromXML(file, flags & 1, flags & 2);
    } catch (const Exception&) {
        if (FuzzSnapshot(g) != before) std::abort();
        return 0;
    }
    // Every cell comes from an attribute or a node of the input.
    if (Int64(g->ColCount()) > Int64(size) + 8 || Int64(g->RowCount()) > Int64(size) + 8) std::abort();
    return 0;
}
