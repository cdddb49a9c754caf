// The platform's visual style: the application style that colours controls
// in place of the system look. The system look is the style "Windows"; a
// program (or a test) may install another, with the colours it gives grid
// cells.
#pragma once

#include "platform/base/Objects.h"
#include "platform/gfx/Colors.h"

// The parts of a control a style may colour.
enum TStyleElement { seFont, seClient, seBorder };
using TStyleElements = TSet<TStyleElement>;

// The colours of one kind of grid cell; clNone where the style gives none.
struct TStyleCellColors {
    TColor Fill = clNone;
    TColor Border = clNone;
    TColor Text = clNone;
};

struct TPlatformStyle {
    String Name = L"Windows";
    bool Enabled = true;
    TStyleCellColors NormalCell, FixedCell, SelectedCell;
};

// The style in force (the system's "Windows" until another is installed).
const TPlatformStyle& ActivePlatformStyle();
// Puts Style in force; a default TPlatformStyle returns to "Windows".
void InstallPlatformStyle(const TPlatformStyle& Style);
