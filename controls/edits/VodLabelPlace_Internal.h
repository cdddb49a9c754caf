// Where the label attached to an edit, combo box or date-time picker goes
// around its control. The three controls' label-position enums list the same
// places in the same order (the combo box's stops at lpRighBottom); each
// checks that with static_asserts and passes its position here by number.
#pragma once

#include "platform/base/Types.h"

namespace VodEdits {

enum class TLabelPlace {
    LeftTop, LeftCenter, LeftBottom, TopLeft, BottomLeft, LeftTopLeft, LeftCenterLeft, LeftBottomLeft,
    TopCenter, BottomCenter, RightTop, RightCenter, RightBottom, TopRight, BottomRight
};

// The control's bounds, the gap to the label, the caption's measured width,
// the label's own size, and the top a centred label takes (the controls
// centre by their own rules).
struct TLabelGeometry {
    Integer Left = 0, Top = 0, Width = 0, Height = 0;
    Integer Margin = 0;
    Integer CaptionWidth = 0, LabelWidth = 0, LabelHeight = 0;
    Integer CentreTop = 0;
};

// The label's top-left corner; a place outside the list keeps the control's
// top-left.
inline TPoint LabelOrigin(TLabelPlace P, const TLabelGeometry& G)
{
    const Integer L = G.Left, T = G.Top, M = G.Margin;
    const Integer top = T, centre = G.CentreTop, bottom = T + G.Height - G.LabelHeight;
    const Integer above = T - G.LabelHeight - M, below = T + G.Height + M;
    const Integer beforeCaption = L - G.CaptionWidth - M, afterControl = L + G.Width + M;
    switch (P) {
    case TLabelPlace::LeftTop: return TPoint{beforeCaption, top};
    case TLabelPlace::LeftCenter: return TPoint{beforeCaption, centre};
    case TLabelPlace::LeftBottom: return TPoint{beforeCaption, bottom};
    case TLabelPlace::TopLeft: return TPoint{L, above};
    case TLabelPlace::BottomLeft: return TPoint{L, below};
    case TLabelPlace::LeftTopLeft: return TPoint{L - M, top};
    case TLabelPlace::LeftCenterLeft: return TPoint{L - M, centre};
    case TLabelPlace::LeftBottomLeft: return TPoint{L - M, bottom};
    case TLabelPlace::TopCenter: return TPoint{L + (G.Width - G.LabelWidth) / 2, above};
    case TLabelPlace::BottomCenter: return TPoint{L + (G.Width - G.LabelWidth) / 2, below};
    case TLabelPlace::RightTop: return TPoint{afterControl, top};
    case TLabelPlace::RightCenter: return TPoint{afterControl, centre};
    case TLabelPlace::RightBottom: return TPoint{afterControl, bottom};
    case TLabelPlace::TopRight: return TPoint{L + G.Width - G.LabelWidth, above};
    case TLabelPlace::BottomRight: return TPoint{L + G.Width - G.LabelWidth, below};
    }
    return TPoint{L, top};
}

}  // namespace VodEdits
