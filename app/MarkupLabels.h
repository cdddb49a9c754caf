// The windows' markup labels and markup static text, made in a unit of their
// own: the markup controls' header and the panel's and popup menu's headers
// name enumeration values alike, so no one unit includes them together.
#pragma once

#include "platform/base/Types.h"
#include "platform/gfx/Graphics.h"

class TComponent;
class TControl;
class TWinControl;
class THTMLabel;
class THTMLStaticText;

// A transparent markup label without the hover line, showing markup.
THTMLabel* MakeMarkupLabel(TComponent* owner, TWinControl* parent, const String& markup, TRect bounds);
// Markup text in a window of its own, in the given font colour.
THTMLStaticText* MakeMarkupStaticText(TComponent* owner, TWinControl* parent, const String& markup,
                                      TRect bounds, TColor fontColor);

TControl* MarkupControl(THTMLabel* label);
TControl* MarkupControl(THTMLStaticText* text);
