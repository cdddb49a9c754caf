// VodUtil: the free routines the control library shares: gradients, colour
// arithmetic, cell shapes, themed button parts, progress painters, value
// classification, number and date readers, the clipboard HTML writer, filter
// matching and text helpers. One header; the sources are split by family
// (VodUtil_Drawing.cpp, VodUtil_Values.cpp, ...).
#pragma once

#include "platform/base/SysUtils.h"
#include "platform/base/Types.h"
#include "platform/gfx/Graphics.h"

// ---------------------------------------------------------------------------
// Drawing: gradients, colours, shapes, glyphs, layered-window calls
// ---------------------------------------------------------------------------



// ---------------------------------------------------------------------------
// Combo, push and spin button parts
// ---------------------------------------------------------------------------



// ---------------------------------------------------------------------------
// Progress indicators
// ---------------------------------------------------------------------------



// ---------------------------------------------------------------------------
// Values: classes of cell texts, numbers, dates
// ---------------------------------------------------------------------------



// ---------------------------------------------------------------------------
// Clipboard HTML writer and filter matching
// ---------------------------------------------------------------------------



// ---------------------------------------------------------------------------
// Text, line and cell-text routines
// ---------------------------------------------------------------------------


