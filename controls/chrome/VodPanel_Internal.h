// Drawing helpers the panel's sources share.
#pragma once

#include "platform/gfx/Canvas.h"

namespace vodpanel {

// Per channel (system colours resolved): Percent/100 of A plus the rest of
// B, rounded; 100 gives A.
TColor BlendColors(TColor A, TColor B, Integer Percent);
void Line(TCanvas* C, Integer X1, Integer Y1, Integer X2, Integer Y2);

}  // namespace vodpanel
