// The base of the string grid's toolbar popup: a component that knows
// whether it is showing. A descendant shows and hides an actual window and
// answers which one it is.
#pragma once

#include "platform/ui/Controls.h"

class TVodGridPopup : public TComponent {
    VEL_CLASS(TVodGridPopup, TComponent)
public:
    explicit TVodGridPopup(TComponent* AOwner) : TComponent(AOwner) {}
    virtual void Show(TPoint PT);
    virtual void Hide();
    // The window the popup shows (nil while it has none).
    virtual TWinControl* PopupWindow() = 0;
    bool Visible() const { return FVisible; }
    // Whether the mouse pointer is over the popup's window while it shows.
    bool MouseInPopup();

private:
    bool FVisible = false;
};
