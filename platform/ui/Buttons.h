// TSpeedButton: a windowless tool button with a glyph and a caption that
// can stay down, alone or as one of a group.
#pragma once

#include <memory>

#include "platform/gfx/Graphics.h"
#include "platform/ui/Controls.h"

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
// What the button shows: up, disabled, pressed by the mouse, or staying down.
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };
using TNumGlyphs = Integer;

class TSpeedButton : public TGraphicControl {
    VEL_CLASS(TSpeedButton, TGraphicControl)
public:
    explicit TSpeedButton(TComponent* AOwner);
    ~TSpeedButton() override;

    // Up to four images side by side: up, disabled, pressed, down.
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* v);
    TNumGlyphs NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(TNumGlyphs v);
    // A flat button shows its frame only under the mouse or when down.
    bool Flat() const { return FFlat; }
    void SetFlat(bool v);
    // Buttons of one parent with the same non-zero GroupIndex keep at most
    // one down; GroupIndex 0 buttons never stay down.
    Integer GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(Integer v);
    bool Down() const { return FDown; }
    void SetDown(bool v);
    // The down button of a group goes up again when clicked.
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool v);
    // A flat transparent button lets its parent show through.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout v);
    // Distance of the glyph from the edge; -1 centres glyph and text.
    Integer Margin() const { return FMargin; }
    void SetMargin(Integer v);
    // Between glyph and text.
    Integer Spacing() const { return FSpacing; }
    void SetSpacing(Integer v);
    TButtonState State() const { return FState; }

    void Click() override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void Dispatch(TMessage& Message) override;
    // Tells the group that this one is down now (CM_BUTTONPRESSED).
    void UpdateExclusive();
    void DrawGlyphAndText(HDC dc, const TRect& client, bool pressed);

    std::unique_ptr<TBitmap> FGlyph;
    TNumGlyphs FNumGlyphs = 1;
    bool FFlat = false;
    Integer FGroupIndex = 0;
    bool FDown = false;
    bool FAllowAllUp = false;
    bool FTransparent = true;
    TButtonLayout FLayout = blGlyphLeft;
    Integer FMargin = -1;
    Integer FSpacing = 4;
    TButtonState FState = bsUp;
    bool FDragging = false;
};
