// THTMLabel: a label whose text is markup, drawn by the markup engine on its
// parent's surface, with a gradient or plain background, bevels and a
// border, vertical alignment, automatic sizing, hyperlinks with hover
// colours, the hand cursor, anchor hints and events, printing onto any
// canvas and highlighting of a search text.
#pragma once

#include <memory>

#include "controls/markup/MarkupEngine.h"
#include "controls/markup/PictureContainer.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

enum TAutoSizeType { asVertical, asHorizontal, asBoth };
// The markup controls' own gradient kinds and vertical alignment live in
// the unit's namespace: the menus have a gradient type, the panel an
// alignment with the same enumerators and the grid a TVAlignment of their own.
namespace HTMLabel {
enum TGradientType { gtFullHorizontal, gtFullVertical, gtBottomLine, gtCenterLine, gtTopLine };
enum TVAlignment { tvaTop, tvaCenter, tvaBottom };
}

using TAnchorClick = std::function<void(TObject* Sender, const String& Anchor)>;
using TAnchorHintEvent = std::function<void(TObject* Sender, String& Anchor)>;
using TNewSizeEvent = std::function<void(TObject* Sender, Integer NewWidth, Integer NewHeight)>;

// The four bytes of a packed version number, highest first, joined by ".".
String MarkupVersionText(Integer VersionNr);

class THTMLabel : public TCustomLabel {
    VEL_CLASS(THTMLabel, TCustomLabel)
public:
    explicit THTMLabel(TComponent* AOwner);
    ~THTMLabel() override;

    // Properties.
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor v);
    bool AnchorHint() const { return FAnchorHint; }
    void SetAnchorHint(bool v) { FAnchorHint = v; }
    bool AutoSizing() const { return FAutoSizing; }
    void SetAutoSizing(bool v);
    TAutoSizeType AutoSizeType() const { return FAutoSizeType; }
    void SetAutoSizeType(TAutoSizeType v);
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
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v);
    bool Ellipsis() const { return FEllipsis; }
    void SetEllipsis(bool v);
    HTMLabel::TGradientType GradientType() const { return FGradientType; }
    void SetGradientType(HTMLabel::TGradientType v);
    bool HintShowFull() const { return FHintShowFull; }
    void SetHintShowFull(bool v) { FHintShowFull = v; }
    bool Hover() const { return FHover; }
    void SetHover(bool v) { FHover = v; }
    TColor HoverColor() const { return FHoverColor; }
    void SetHoverColor(TColor v) { FHoverColor = v; }
    TColor HoverFontColor() const { return FHoverFontColor; }
    void SetHoverFontColor(TColor v) { FHoverFontColor = v; }
    bool HTMLHint() const { return FHTMLHint; }
    void SetHTMLHint(bool v) { FHTMLHint = v; }
    // The markup, one string per line. Writing copies the given lines as one
    // line with every line break removed.
    TStringList* HTMLText() const { return FHTMLText.get(); }
    void SetHTMLText(TStrings* Value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* v);
    Integer LineWidth() const { return FLineWidth; }
    void SetLineWidth(Integer v);
    Integer LineSpacing() const { return FLineSpacing; }
    void SetLineSpacing(Integer v);
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
    String Version() { return MarkupVersionText(GetVersionNr()); }
    void SetVersion(const String&) {}

    // The plain text of the display text.
    String Text();
    // The display text's size in a 4096 x 4096 rectangle.
    TSize HTMLSize();
    THTMLPictureCache* ImageCache() const { return FImageCache.get(); }

    void BeginUpdate();
    void EndUpdate();
    void Doit() { Paint(); }
    // Draws the display text into r with the canvas's current font.
    void HTMLPrint(TCanvas* Canvas, const TRect& r);
    TSize GetSizeWithMaxWidth(Integer AMaxWidth);
    void HilightText(const String& HiText, bool DoCase);
    void MarkText(const String& HiText, bool DoCase);
    void UnHilightText();
    void UnMarkText();

    TAnchorClick OnAnchorClick, OnAnchorEnter, OnAnchorExit;
    TAnchorHintEvent OnAnchorHint;
    TNewSizeEvent OnNewSize;

    // The anchor's number under the mouse (1-based; -1 none), for tests.
    Integer HoverHyperLink() const { return FHoverHyperLink; }

    // The anchor under the point: its TITLE when it has one, else its HREF
    // (given in Href as well).
    void AnchorAt(Integer X, Integer Y, TRect& HoverRect, String& Anchor, String* Href = nullptr);

    virtual Integer GetVersionNr() { return 0x01090206; }
    virtual String GetDisplayText();
    virtual void DoAnchorClick(const String& Anchor);
    virtual void UpdateDisplay() { Invalidate(); }
    // The one place the label calls the engine: the label's own settings go
    // into P (WordWrap, picture cache, container, line spacing, reading
    // order, highlight colours); FocusLink is always -1.
    virtual bool DrawMarkup(TMarkupParams& P);

protected:
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void CMMouseLeave(TMessage& M) override;
    void CMMouseEnter(TMessage& M) override;
    void CMHintShow(TMessage& M) override;

private:
    // The rectangle the drawing pass lays out in (steps 6 to 15 of painting):
    // with Draw the bevels and border are painted on the canvas and the auto
    // size is applied (Changed tells whether the size changed).
    TRect LayoutRect(TCanvas* C, Integer MX, Integer MY, bool Draw, bool& Changed);
    void InvalidateHover(const TRect& R);
    void TextChanged(TObject* Sender);
    void ImagesChanged(TObject* Sender);
    TMarkupParams LabelParams(TCanvas* C, const String& Text, const TRect& R);

    String FAnchor;
    bool FAutoSizing = false;
    TAutoSizeType FAutoSizeType = asVertical;
    std::unique_ptr<TStringList> FHTMLText;
    bool FAnchorHint = false;
    TCustomImageList* FImages = nullptr;
    std::unique_ptr<THTMLPictureCache> FImageCache;
    Integer FUpdateCount = 0;
    TColor FURLColor = clBlue;
    TBevelCut FBevelInner = bvNone, FBevelOuter = bvNone;
    TBevelWidth FBevelWidth = 1;
    TBorderWidth FBorderWidth = 0;
    TBorderStyle FBorderStyle = bsNone;
    Integer FShadowOffset = 2;
    TColor FShadowColor = clGray;
    bool FHover = false;
    Integer FHoverHyperLink = -1;
    Integer FOldHoverHyperLink = -1;
    TColor FHoverColor = clNone, FHoverFontColor = clNone;
    HTMLabel::TVAlignment FVAlignment = HTMLabel::tvaTop;
    bool FEllipsis = false;
    TRect FCurrHoverRect{-1, -1, -1, -1};
    TPictureContainer* FContainer = nullptr;
    HTMLabel::TGradientType FGradientType = HTMLabel::gtFullHorizontal;
    TColor FBorderColor = clBlack;
    Integer FLineWidth = 2;
    Integer FLineSpacing = 0;
    bool FHTMLHint = false;
    bool FHintShowFull = false;
    std::unique_ptr<TChangeLink> FILChangeLink;
    Integer FXSize = 0, FYSize = 0;
    TColor FColorTo = clNone;
};
