// Panels and images: TCustomPanel/TPanel (a container with bevels and a
// caption) and TImage (a picture drawn on its parent).
#pragma once

#include <memory>

#include "platform/gfx/Graphics.h"
#include "platform/ui/Forms.h"

using TBevelWidth = Integer;
using TBorderWidth = Integer;

class TCustomPanel : public TCustomControl {
    VEL_CLASS(TCustomPanel, TCustomControl)
public:
    explicit TCustomPanel(TComponent* AOwner);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);
    TVerticalAlignment VerticalAlignment() const { return FVerticalAlignment; }
    void SetVerticalAlignment(TVerticalAlignment v);
    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut v);
    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut v);
    TBevelWidth BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(TBevelWidth v);
    // The band of the panel's colour between the outer and inner bevels.
    TBorderWidth BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(TBorderWidth v);
    // bsSingle: a sunken frame around the window; bsNone: none.
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle v);
    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool v);
    // With visual styles, the parent's background shows instead of Color.
    bool ParentBackground() const { return FControlStyle.Contains(csParentBackground); }
    void SetParentBackground(bool v);
    // Only kept: no embedded object replaces a locked panel.
    bool Locked() const { return FLocked; }
    void SetLocked(bool v) { FLocked = v; }
    // Resizing repaints the whole panel (else only what was uncovered).
    bool FullRepaint() const { return FFullRepaint; }
    void SetFullRepaint(bool v) { FFullRepaint = v; }

    void AdjustClientRect(TRect& Rect) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    // The width of the bevels and border together, on every side.
    Integer FrameWidth() const;
    void FrameChanged();

    TAlignment FAlignment = taCenter;
    TVerticalAlignment FVerticalAlignment = taVerticalCenter;
    TBevelCut FBevelInner = bvNone;
    TBevelCut FBevelOuter = bvRaised;
    TBevelWidth FBevelWidth = 1;
    TBorderWidth FBorderWidth = 0;
    TBorderStyle FBorderStyle = bsNone;
    bool FShowCaption = true;
    bool FLocked = false;
    bool FFullRepaint = true;
};

class TPanel : public TCustomPanel {
    VEL_CLASS(TPanel, TCustomPanel)
public:
    explicit TPanel(TComponent* AOwner) : TCustomPanel(AOwner) {}
};

class TImage : public TGraphicControl {
    VEL_CLASS(TImage, TGraphicControl)
public:
    explicit TImage(TComponent* AOwner);
    ~TImage() override;

    TPicture* Picture() const { return FPicture.get(); }
    // Copies the picture.
    void SetPicture(TPicture* v) { FPicture->Assign(v); }
    // The bounds follow the picture's size.
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool v);
    bool Center() const { return FCenter; }
    void SetCenter(bool v);
    bool Stretch() const { return FStretch; }
    void SetStretch(bool v);
    // Scales down (or with Stretch, up) keeping the aspect ratio.
    bool Proportional() const { return FProportional; }
    void SetProportional(bool v);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);
    // Where the picture is drawn, in client coordinates.
    TRect DestRect();


protected:
    void Paint() override;
    void PictureChanged(TObject* Sender);
    std::unique_ptr<TPicture> FPicture;
    bool FAutoSize = false;
    bool FCenter = false;
    bool FStretch = false;
    bool FProportional = false;
    bool FTransparent = false;
};
