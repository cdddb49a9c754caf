// Shared types of the grid's file and exchange formats: the states passed to
// the export and import hooks, and the progress and cell events of savers
// and loaders.
#pragma once

#include <cmath>
#include <functional>

#include "platform/base/Objects.h"

enum TGridExportState {
    esExportStart, esExportNewRow, esExportDone, esExportSelRow, esExportFail, esExportNextRow, esExportFindRow
};
enum TGridImportState { isImportStart, isImportNewRow, isImportDone, isImportSelRow };

// Progress of a save or load in percent; fired only when the value changes.
using TGridProgressEvent = std::function<void(TObject* Sender, SmallInt Progress)>;
// The text of a cell on its way to or from a file; the handler may change it.
using TCellSaveLoadEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, String& Value)>;

// Fires OnFileProgress-style events only when the percentage changes.
class TProgressGate {
public:
    template <class F>
    void Fire(const F& Event, TObject* Sender, double Fraction)
    {
        if (!Event) return;
        double p = Fraction * 100.0;
        if (p < -32768) p = -32768;
        if (p > 32767) p = 32767;
        const SmallInt v = SmallInt(std::nearbyint(p));   // ties to even
        if (FHasLast && v == FLast) return;
        FHasLast = true;
        FLast = v;
        Event(Sender, v);
    }

private:
    bool FHasLast = false;
    SmallInt FLast = 0;
};
