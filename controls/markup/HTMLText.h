// THTMLStaticText: markup text in a window of its own. It takes the focus,
// moves a focus mark from hyperlink to hyperlink with the arrow keys and
// follows the marked one on Enter or Space; it blinks BLINK text, scrolls
// with two small arrows (the mini scroll), animates GIF pictures, and paints
// every time into an off-screen bitmap that it copies onto its window.
#pragma once

#include "controls/markup/HTMLabel.h"

using TOnNewSize = TNewSizeEvent;

class THTMLStaticText : public TCustomStaticText {
    VEL_CLASS(THTMLStaticText, TCustomStaticText)
public:
    explicit THTMLStaticText(TComponent* AOwner);
    ~THTMLStaticText() override;

    bool AutoScroll() const { return FAutoScroll; }
    void SetAutoScroll(bool v);
    TAutoSizeType AutoSizeType() const { return FAutoSizeType; }
    void SetAutoSizeType(TAutoSizeType v) { FAutoSizeType = v; }
    bool AnchorHint() const { return FAnchorHint; }
    void SetAnchorHint(bool v) { FAnchorHint = v; }
    bool AutoSizing() const { return FAutoSizing; }
    void SetAutoSizing(bool v);
    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut v);
    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut v);
    TBevelWidth BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(TBevelWidth v);
    TBorderWidth BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(TBorderWidth v);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle v);
    bool EnableBlink() const { return FEnableBlink; }
    void SetEnableBlink(bool v);
    bool Ellipsis() const { return FEllipsis; }
    void SetEllipsis(bool v);
    bool Hover() const { return FHover; }
    void SetHover(bool v);
    TColor HoverColor() const { return FHoverColor; }
    void SetHoverColor(TColor v) { FHoverColor = v; }
    TColor HoverFontColor() const { return FHoverFontColor; }
    void SetHoverFontColor(TColor v) { FHoverFontColor = v; }
    TStringList* HTMLText() const { return FHTMLText.get(); }
    // Copies the given lines into the control's list.
    void SetHTMLText(TStrings* Value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* v);
    Integer LineSpacing() const { return FLineSpacing; }
    void SetLineSpacing(Integer v);
    bool MiniScroll() const { return FMiniScroll; }
    void SetMiniScroll(bool v);
    TPictureContainer* PictureContainer() const { return FContainer; }
    void SetPictureContainer(TPictureContainer* v);
    TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor v);
    Integer ShadowOffset() const { return FShadowOffset; }
    void SetShadowOffset(Integer v);
    TColor URLColor() const { return FURLColor; }
    void SetURLColor(TColor v);
    HTMLabel::TVAlignment VAlignment() const { return FVAlignment; }
    void SetVAlignment(HTMLabel::TVAlignment v);
    String Version() const { return MarkupVersionText(GetVersionNr()); }
    void SetVersion(const String&) {}
    Integer GetVersionNr() const { return 0x01040100; }

    String Text();
    Integer VOffset() const { return FVOffset; }
    void SetVOffset(Integer v);
    Integer HTMLWidth() const { return FHTMLWidth; }
    Integer HTMLHeight() const { return FHTMLHeight; }
    THTMLPictureCache* ImageCache() const { return FImageCache.get(); }

    void BeginUpdate();
    void EndUpdate();
    void Doit() { PaintText(); }
    void HilightText(const String& HiText, bool DoCase);
    void MarkText(const String& HiText, bool DoCase);
    void UnHilightText();
    void UnMarkText();

    // The hyperlink under the point (its HREF); HoverRect its rectangle.
    void AnchorAt(Integer X, Integer Y, TRect& HoverRect, String& Anchor);

    // State the tests look at.
    Integer FocusHyperLink() const { return FFocusHyperLink; }
    bool Blinking() const { return FBlinking; }
    bool TimerRunning() const { return FTimerID != 0; }
    bool UpScrollShown() const { return FUpScroll; }
    bool DownScrollShown() const { return FDownScroll; }

    TAnchorClick OnAnchorClick, OnAnchorRightClick, OnAnchorEnter, OnAnchorExit, OnAnchorKeypress;
    TAnchorHintEvent OnAnchorHint;
    TOnNewSize OnNewSize;

    virtual String GetDisplayText();
    virtual void DoAnchorClick(const String& Anchor);
    virtual void DoAnchorRightClick(const String& Anchor);

protected:
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void CreateWnd() override;
    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;
    void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void KeyPress(wchar_t& Key) override;
    void CMMouseLeave(TMessage& M) override;
    void CMMouseEnter(TMessage& M) override;
    void CMHintShow(TMessage& M) override;

private:
    // Paints into an off-screen bitmap and copies it onto Target (the
    // window's own device context when none is given).
    void PaintText(HDC Target = nullptr);
    // The rectangle the text is drawn in, as painting computes it.
    TRect TextRect(TCanvas* C, bool Painting, Integer MX, Integer MY, TRect& R0);
    TMarkupParams TextParams(TCanvas* C, const String& Text, const TRect& R);
    Integer FocusIndex();
    void UpdateTimer();
    void StopTimer();
    void OnTimerTick();
    void ScrollZones(Integer X, Integer Y);
    void InvalidateHover(const TRect& R, bool Erase);
    void TextChanged(TObject* Sender);

    bool FBlinking = true;
    String FAnchor;
    TRect FCurrHoverRect{-1, -1, -1, -1};
    bool FAutoSizing = false;
    std::unique_ptr<TStringList> FHTMLText;
    bool FAnchorHint = false;
    TCustomImageList* FImages = nullptr;
    std::unique_ptr<THTMLPictureCache> FImageCache;
    bool FHover = false;
    TColor FHoverColor = clNone, FHoverFontColor = clNone;
    TColor FShadowColor = clGray;
    Integer FShadowOffset = 1;
    Integer Fupdatecount = 0;
    Integer FTimerID = 0;
    TColor FURLColor = clBlue;
    TBevelCut FBevelInner = bvNone, FBevelOuter = bvNone;
    TBevelWidth FBevelWidth = 1;
    TBorderWidth FBorderWidth = 0;
    TBorderStyle FBorderStyle = bsNone;
    Integer FFocusHyperLink = -1;
    Integer FHoverHyperLink = -1;
    Integer FOldHoverHyperlink = -1;
    String FFocusAnchor;
    Integer FNumHyperLinks = 0;
    bool FEnableBlink = false;
    HTMLabel::TVAlignment FVAlignment = HTMLabel::tvaTop;
    Integer FTimerCount = 0;
    TAutoSizeType FAutoSizeType = asVertical;
    bool FEllipsis = false;
    TPictureContainer* FContainer = nullptr;
    Integer FVOffset = 0;
    bool FMiniScroll = false;
    bool FUpScroll = false, FDownScroll = false;
    bool FMouseDown = false;
    bool FAutoScroll = false;
    Integer FHTMLWidth = 0, FHTMLHeight = 0;
    Integer FLineSpacing = 0;
};
