// TVodCustomCombo / TVodComboBox: a combo box that paints its own border
// and drop-down button over the platform's (flat with an underline, coloured
// borders, themed, classic or own-coloured button), with an attached caption
// label, a grey prompt in the empty edit part, focus colours, Enter as Tab,
// a Tab that commits the dropped list, a drop-down width and SelectItem.
#pragma once

#include <memory>

#include "platform/gfx/Canvas.h"
#include "platform/ui/StdCtrls.h"

namespace VodCombo {
// Where the attached label sits around the combo box.
enum TLabelPosition {
    lpLeftTop, lpLeftCenter, lpLeftBottom, lpTopLeft, lpBottomLeft, lpLeftTopLeft, lpLeftCenterLeft,
    lpLeftBottomLeft, lpTopCenter, lpBottomCenter, lpRightTop, lpRightCenter, lpRighBottom
};
}  // namespace VodCombo

class TVodCustomCombo : public TCustomComboBox {
    VEL_CLASS(TVodCustomCombo, TCustomComboBox)
public:
    using TLabelPosition = VodCombo::TLabelPosition;

    explicit TVodCustomCombo(TComponent* AOwner);
    ~TVodCustomCombo() override;

    bool AutoFocus() const { return FAutoFocus; }
    void SetAutoFocus(bool v) { FAutoFocus = v; }
    bool Flat() const { return FFlat; }
    void SetFlat(bool v);
    bool Etched() const { return FEtched; }
    void SetEtched(bool v);
    // Accepted only in 14..32.
    Integer ButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(Integer v);
    bool FocusBorder() const { return FFocusBorder; }
    void SetFocusBorder(bool v) { FFocusBorder = v; }
    Integer DropWidth() const { return FDropWidth; }
    void SetDropWidth(Integer v);
    TColor FlatLineColor() const { return FFlatLineColor; }
    void SetFlatLineColor(TColor v);
    bool FlatParentColor() const { return FFlatParentColor; }
    void SetFlatParentColor(bool v);
    TColor FocusColor() const { return FFocusColor; }
    void SetFocusColor(TColor v) { FFocusColor = v; }
    TColor FocusBorderColor() const { return FFocusBorderColor; }
    void SetFocusBorderColor(TColor v) { FFocusBorderColor = v; }
    TColor FocusFontColor() const { return FFocusFontColor; }
    void SetFocusFontColor(TColor v) { FFocusFontColor = v; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v);
    bool DisabledBorder() const { return FDisabledBorder; }
    void SetDisabledBorder(bool v) { FDisabledBorder = v; }
    const String& EmptyText() const { return FEmptyText; }
    void SetEmptyText(const String& v);
    bool EmptyTextFocused() const { return FEmptyTextFocused; }
    void SetEmptyTextFocused(bool v) { FEmptyTextFocused = v; }
    TFontStyles EmptyTextStyle() const { return FEmptyTextStyle; }
    void SetEmptyTextStyle(TFontStyles v);
    bool ReturnIsTab() const { return FReturnIsTab; }
    void SetReturnIsTab(bool v) { FReturnIsTab = v; }
    // The button in the caller's colours (all clNone: not used).
    TColor ButtonColor() const { return FButtonColor; }
    void SetButtonColor(TColor v) { FButtonColor = v; Invalidate(); }
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

    // The colour writer: while loading it also becomes the colour the
    // control returns to when Flat is switched off.
    void SetColor(TColor v);
    void SetEnabled(bool v) override;
    void SetVisible(bool v) override;

    // Label.
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
    bool FocusLabel() const { return FFocusLabel; }
    void SetFocusLabel(bool v) { FFocusLabel = v; }
    TLabel* ComboLabel() const { return FLabel; }

    // The packed version and its dotted form; writing it does nothing.
    virtual Integer GetVersionNr();
    String Version();
    void SetVersion(const String&) {}

    // Selects the item with this text (firing OnChange); nothing when absent.
    virtual void SelectItem(const String& AString);
    // The colour outside the focus becomes the current colour.
    void Init();

    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
    void Loaded() override;
    void DoExit() override;

    TNotifyEvent OnDropUp;

protected:
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& Message) override;
    void ChangeScale(Integer M, Integer D) override;
    void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
    void CNCommand(TMessage& M) override;
    void CMEnter(TMessage& M) override;
    void CMExit(TMessage& M) override;
    void WMSetFocus(TMessage& M) override;
    void CMEnabledChanged(TMessage& M) override;
    void CMMouseEnter(TMessage& M) override;
    void CMMouseLeave(TMessage& M) override;
    void WMPaint(TMessage& M) override;

    bool DoVisualStyles() const;
    bool IsActive();
    bool ShowFocusBorder();
    void DrawButtonFace(HDC DC);
    void DrawBorders();
    void DrawBorder(HDC DC);
    void DrawButtonEdge(HDC DC);
    void UpdateLabel();
    void PlaceLabel();
    void LabelFontChanged(TObject* Sender);
    void SetLabelBold(bool Bold);
    // The subclassed edit part.
    static LRESULT EditProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT EditMessage(HWND h, UINT msg, WPARAM wp, LPARAM lp);
    void UnhookEdit();

    bool FAutoFocus = false;
    bool FFlat = false;
    bool FEtched = false;
    TColor FOldColor = clWindow;
    TColor FLoadedColor = clWindow;
    bool FOldParentColor = false;
    Integer FButtonWidth;
    bool FFocusBorder = false;
    Integer FDropWidth = 0;
    bool FIsWinXP;
    bool FIsThemed;
    bool FButtonHover = false;
    bool FLabelAlwaysEnabled = false;
    bool FLabelTransparent = false;
    Integer FLabelMargin = 4;
    std::unique_ptr<TFont> FLabelFont;
    TLabelPosition FLabelPosition = VodCombo::lpLeftTop;
    TLabel* FLabel = nullptr;
    bool FFocusLabel = false;
    TColor FFlatLineColor = clBlack;
    bool FFlatParentColor = true;
    TColor FFocusColor = clNone, FFocusBorderColor = clNone, FBorderColor = clNone;
    bool FDisabledBorder = true;
    TColor FNormalColor = clWindow;
    bool FHasFocus = false;
    TColor FButtonColorDown = clNone, FButtonBorderColor = clNone, FButtonTextColor = clNone,
           FButtonTextColorHot = clNone, FButtonColor = clNone, FButtonColorHot = clNone,
           FButtonTextColorDown = clNone, FFocusFontColor = clNone;
    bool FParentFnt = true;
    TColor FFontColor = clWindowText;
    WNDPROC FWinProc = nullptr;
    HWND FHookedEdit = nullptr;
    TFontStyles FEmptyTextStyle;
    String FEmptyText;
    bool FEmptyTextFocused = false;
    bool FReturnIsTab = false;
    bool FGotReturn = false;
    bool FLblUpdate = false;
    Integer FLblFntHeight = 0;
};

class TVodComboBox : public TVodCustomCombo {
    VEL_CLASS(TVodComboBox, TVodCustomCombo)
public:
    explicit TVodComboBox(TComponent* AOwner) : TVodCustomCombo(AOwner) {}
};
