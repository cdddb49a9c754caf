// TVurCustomCombo / TVurComboBox: the combo box the grid edits with, on the
// platform's combo box. It paints its own look over the platform's when
// asked to: a flat mode with an underline, coloured borders for the normal,
// focused and disabled states, a drop-down button in the caller's colours
// (else themed or classic), a background colour while focused, and a
// caption label placed around it. The grid's combo editor and the cell
// control combo derive from it.
#pragma once

#include <memory>

#include "platform/gfx/Canvas.h"
#include "platform/ui/StdCtrls.h"

namespace VurComboBox {
// Where the attached label sits around the combo box (13 places; the last
// one is spelt so). The drop-downs have a longer enumeration of the same
// name: the namespaces keep them apart.
enum TLabelPosition {
    lpLeftTop, lpLeftCenter, lpLeftBottom, lpTopLeft, lpBottomLeft, lpLeftTopLeft, lpLeftCenterLeft,
    lpLeftBottomLeft, lpTopCenter, lpBottomCenter, lpRightTop, lpRightCenter, lpRighBottom
};

// The label's top-left corner for a combo at (Left, Top) of Width x Height,
// the margin, the caption's measured width and the label's own size.
TPoint LabelOrigin(TLabelPosition Position, Integer Left, Integer Top, Integer Width, Integer Height, Integer Margin,
                   Integer CaptionWidth, Integer LabelWidth, Integer LabelHeight);
}  // namespace VurComboBox

class TVurCustomCombo : public TCustomComboBox {
    VEL_CLASS(TVurCustomCombo, TCustomComboBox)
public:
    using TLabelPosition = VurComboBox::TLabelPosition;

    explicit TVurCustomCombo(TComponent* AOwner);
    ~TVurCustomCombo() override;

    // Takes the focus when the mouse enters (the parent form active).
    bool AutoFocus() const { return FAutoFocus; }
    void SetAutoFocus(bool v) { FAutoFocus = v; }
    // Flat: no 3D frame; the colour follows the parent (FlatParentColor).
    bool Flat() const { return FFlat; }
    void SetFlat(bool v);
    // Stored; repaints.
    bool Etched() const { return FEtched; }
    void SetEtched(bool v);
    // Accepted only in 14..32.
    Integer ButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(Integer v);
    // A sunken edge while hot or focused (flat border).
    bool FocusBorder() const { return FFocusBorder; }
    void SetFocusBorder(bool v) { FFocusBorder = v; }
    // The width of the dropped list when > 0.
    Integer DropWidth() const { return FDropWidth; }
    void SetDropWidth(Integer v);
    // Themed look wanted, and the platform's own painting: set by the owner.
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool v) { FIsWinXP = v; }
    bool IsVista() const { return FIsVista; }
    void SetIsVista(bool v) { FIsVista = v; }
    // The common-controls library is version 6 or later.
    bool IsThemed() const { return FIsThemed; }
    TColor FlatLineColor() const { return FFlatLineColor; }
    void SetFlatLineColor(TColor v);
    bool FlatParentColor() const { return FFlatParentColor; }
    void SetFlatParentColor(bool v);
    // The background while focused (clNone: unchanged).
    TColor FocusColor() const { return FFocusColor; }
    void SetFocusColor(TColor v) { FFocusColor = v; }
    TColor FocusBorderColor() const { return FFocusBorderColor; }
    void SetFocusBorderColor(TColor v) { FFocusBorderColor = v; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v);
    // Off: a disabled themed combo gets its own one-pixel frame.
    bool DisabledBorder() const { return FDisabledBorder; }
    void SetDisabledBorder(bool v) { FDisabledBorder = v; }
    // The button in the caller's colours (ButtonColor clNone: not used).
    TColor ButtonColor() const { return FButtonColor; }
    void SetButtonColor(TColor v) { FButtonColor = v; }
    TColor ButtonColorHot() const { return FButtonColorHot; }
    void SetButtonColorHot(TColor v) { FButtonColorHot = v; }
    TColor ButtonColorDown() const { return FButtonColorDown; }
    void SetButtonColorDown(TColor v) { FButtonColorDown = v; }
    TColor ButtonBorderColor() const { return FButtonBorderColor; }
    void SetButtonBorderColor(TColor v) { FButtonBorderColor = v; }
    TColor ButtonTextColor() const { return FButtonTextColor; }
    void SetButtonTextColor(TColor v) { FButtonTextColor = v; }
    TColor ButtonTextColorHot() const { return FButtonTextColorHot; }
    void SetButtonTextColorHot(TColor v) { FButtonTextColorHot = v; }
    TColor ButtonTextColorDown() const { return FButtonTextColorDown; }
    void SetButtonTextColorDown(TColor v) { FButtonTextColorDown = v; }

    // The colour writer: while loading it also remembers the colour as the
    // one Flat returns to.
    void SetColor(TColor v);
    // Also for the label.
    void SetEnabled(bool v) override;
    void SetVisible(bool v) override;

    // Label (created by the first LabelCaption write).
    String LabelCaption() const;
    void SetLabelCaption(const String& v);
    TLabelPosition LabelPosition() const { return FLabelPosition; }
    void SetLabelPosition(TLabelPosition v);
    Integer LabelMargin() const { return FLabelMargin; }
    void SetLabelMargin(Integer v);
    bool LabelTransparent() const { return FLabelTransparent; }
    void SetLabelTransparent(bool v);
    bool LabelAlwaysEnabled() const { return FLabelAlwaysEnabled; }
    void SetLabelAlwaysEnabled(bool v);
    TFont* LabelFont() const { return FLabelFont.get(); }
    void SetLabelFont(TFont* v);
    // Bold label while focused.
    bool FocusLabel() const { return FFocusLabel; }
    void SetFocusLabel(bool v) { FFocusLabel = v; }
    // The label, or null before the first caption.
    TLabel* ComboLabel() const { return FLabel; }

    // The current colour becomes the one the control returns to after focus.
    void Init();
    // ItemIndex := the text's index among the items when it is there.
    void SelectItem(const String& AString);

    // The label goes where the combo goes.
    void SetParent(TWinControl* AParent) override;
    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
    void Loaded() override;

    // The list closed.
    TNotifyEvent OnDropUp;

protected:
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;
    void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
    void CNCommand(TMessage& M) override;
    void CMEnter(TMessage& M) override;
    void CMExit(TMessage& M) override;
    void CMEnabledChanged(TMessage& M) override;
    void CMMouseEnter(TMessage& M) override;
    void CMMouseLeave(TMessage& M) override;
    void WMSetFocus(TMessage& M) override;
    void WMKillFocus(TMessage& M) override;
    void WMPaint(TMessage& M) override;
    void WMNCPaint(TMessage& M) override;

    // Visual styles wanted and active.
    bool DoVisualStyles() const;
    // Enabled at design time; else the mouse over it or the active control.
    bool IsHot();
    // FocusBorder on, not designing, hot.
    bool ShowFocusEdge();
    // The focus is on the combo or its edit part.
    bool HoldsFocus();
    // Disabled, themed, and DisabledBorder off: the one-pixel frame.
    bool DisabledThemedFrame();
    // Paints the border and the button area on the window device context.
    void DrawBorders();
    void DrawBorder(HDC DC);
    void DrawButtonArea(HDC DC);
    void DrawButton(HDC DC);
    void UpdateLabel();
    void PlaceLabel();
    void LabelFontChanged(TObject* Sender);
    void SetLabelBold(bool Bold);

    bool FAutoFocus = false;
    bool FFlat = false;
    bool FEtched = false;
    TColor FOldColor = clWindow;
    TColor FLoadedColor = clWindow;
    bool FOldParentColor = false;
    Integer FButtonWidth;
    bool FFocusBorder = false;
    bool FMouseInControl = false;
    Integer FDropWidth = 0;
    bool FIsWinXP = false;
    bool FIsThemed = false;
    bool FButtonHover = false;
    bool FLabelAlwaysEnabled = false;
    bool FLabelTransparent = false;
    Integer FLabelMargin = 4;
    std::unique_ptr<TFont> FLabelFont;
    TLabelPosition FLabelPosition = VurComboBox::lpLeftTop;
    TLabel* FLabel = nullptr;
    TColor FFlatLineColor = clNone;
    bool FFlatParentColor = true;
    TColor FFocusColor = clNone;
    TColor FFocusBorderColor = clNone;
    TColor FBorderColor = clNone;
    bool FDisabledBorder = true;
    TColor FNormalColor = clWindow;
    bool FHasFocus = false;
    bool FFocusLabel = false;
    TColor FButtonColorDown = clNone, FButtonBorderColor = clNone, FButtonTextColor = clNone,
           FButtonTextColorHot = clNone, FButtonColor = clNone, FButtonColorHot = clNone,
           FButtonTextColorDown = clNone;
    bool FIsVista = false;
};

class TVurComboBox : public TVurCustomCombo {
    VEL_CLASS(TVurComboBox, TVurCustomCombo)
public:
    explicit TVurComboBox(TComponent* AOwner) : TVurCustomCombo(AOwner) {}
};
