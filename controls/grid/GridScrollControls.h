// The grid's thin scroll controls (the ssMetro scroll type) and the button
// that follows the mouse while a column or row header is dragged. The grid
// creates, parents and frees them.
#pragma once

#include "platform/ui/Controls.h"

class TVodStringGrid;

enum TScrollDirection { sdVertical, sdHorizontal };

// A flat bar of one thumb, laid over the grid's right (vertical) or bottom
// (horizontal) edge; it pages the view on clicks beside the thumb and
// scrolls it while the thumb is dragged. It works only as the child of a
// string grid; anywhere else it does nothing.
class TScrollControl : public TCustomControl {
    VEL_CLASS(TScrollControl, TCustomControl)
public:
    // ADirection 0 is vertical, 1 horizontal.
    explicit TScrollControl(TComponent* AOwner, Integer ADirection = 0);
    TScrollDirection Direction() const { return FDirection; }
    void SetDirection(TScrollDirection v) { FDirection = v; }
    TColor Color() const { return FThumbColor; }
    // Stores and repaints when changed.
    void SetColor(TColor v);
    // Thickness of the thumb.
    Integer ScrollWidth() const { return FScrollWidth; }
    void SetScrollWidth(Integer v) { FScrollWidth = v; }
    bool Dragging() const { return FDragging; }

    // The track: its length along the bar (the fixed and footer lines left
    // out) and where it starts.
    Integer TrackLength();
    Integer TrackStart();
    // The thumb's start and size along the bar (at least 20 long, never
    // past the bar's end).
    void ThumbRect(Integer& Start, Integer& Size);
    // Whether the thumb shows: not every scrollable line is visible.
    bool ThumbVisible();

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void Dispatch(TMessage& Message) override;

private:
    TVodStringGrid* Grid() const;
    // The control's extent along the bar.
    Integer Extent() const;
    void PaintParentInto(HDC DC);
    void SetFirst(Integer v);
    TColor FThumbColor = TColor(0xC0C0C0);
    Integer FScrollWidth = 4;
    bool FDragging = false;
    Integer FDragPos = 0;
    Integer FDragFirst = 0;
    TScrollDirection FDirection = sdVertical;
};

// The small popup that shows the moved header while a column or row is
// dragged: the header look of cell (0, 0), with the caption centred, or
// drawn as markup when it holds a closing tag.
class THeaderDragButton : public TCustomControl {
    VEL_CLASS(THeaderDragButton, TCustomControl)
public:
    explicit THeaderDragButton(TComponent* AOwner);
    TVodStringGrid* Grid() const { return FGrid; }
    void SetGrid(TVodStringGrid* v) { FGrid = v; }
    const String& Caption() const { return FCaption; }
    void SetCaption(const String& v);
    bool Flat() const { return FFlat; }
    void SetFlat(bool v) { FFlat = v; }

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;

private:
    TVodStringGrid* FGrid = nullptr;
    String FCaption;
    bool FFlat = false;
};
