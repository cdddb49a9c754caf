// TVodEditBtn: the library's edit box with a button inside its right edge.
// The button is a small windowed container (TEditButton) holding one
// TVodSpeedButton, which paints itself as a push button or a drop-down
// arrow: themed, flat, classic or in the caller's colours. A click on it,
// or F4 in the edit, runs the virtual ClickButton (OnClickBtn here; the
// folder edit opens the folder browser). The text never runs under the
// button, the height keeps a minimum from the font, and EditorEnabled off
// leaves the text to the button.
#pragma once

#include "controls/edits/VodEdit.h"
#include "platform/ui/Buttons.h"

namespace VodEdBtn {
enum TButtonStyle { bsButton, bsDropDown };
}  // namespace VodEdBtn

class TVodEditBtn;

class TVodSpeedButton : public TSpeedButton {
    VEL_CLASS(TVodSpeedButton, TSpeedButton)
public:
    explicit TVodSpeedButton(TComponent* AOwner);

    bool Etched() const { return FEtched; }
    void SetEtched(bool v);
    bool Focused() const { return FFocused; }
    void SetFocused(bool v);
    bool Hot() const { return FHot; }
    // From now on the pressed look is never drawn.
    void SetUp() { FUp = true; }

protected:
    void Paint() override;
    void CMMouseEnter(TMessage& M) override;
    void CMMouseLeave(TMessage& M) override;

    // The edit that owns the container that owns this button, if any.
    TVodEditBtn* OwningEdit() const;
    bool Pressed() const { return (FState == bsDown || FState == bsExclusive) && !FUp; }
    void PaintPush();
    void PaintDropDown();
    void PaintGlyphAndCaption(bool Custom, bool Inactive);

    bool FEtched = false;
    bool FFocused = false;
    bool FHot = false;
    bool FUp = false;
    bool FIsWinXP;
};

// The windowed container of the edit's button.
class TEditButton : public TWinControl {
    VEL_CLASS(TEditButton, TWinControl)
public:
    explicit TEditButton(TComponent* AOwner);
    ~TEditButton() override;

    TVodSpeedButton* Button() const { return FButton; }
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* v);
    TBitmap* Glyph() const { return FButton ? FButton->Glyph() : nullptr; }
    void SetGlyph(TBitmap* v) { if (FButton) FButton->SetGlyph(v); }
    TNumGlyphs NumGlyphs() const { return FButton ? FButton->NumGlyphs() : 1; }
    void SetNumGlyphs(TNumGlyphs v) { if (FButton) FButton->SetNumGlyphs(v); }
    String ButtonCaption() const { return FButton ? FButton->Caption() : String(); }
    void SetButtonCaption(const String& v) { if (FButton) FButton->SetCaption(v); }
    // The width the container always takes.
    Integer BWidth() const { return FBWidth; }
    void SetBWidth(Integer v) { FBWidth = v; }

    TColor ButtonColorDown = clNone, ButtonBorderColor = clNone, ButtonColor = clNone, ButtonColorHot = clNone,
           ButtonTextColor = clNone, ButtonTextColorHot = clNone, ButtonTextColorDown = clNone;

    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
    void Loaded() override;
    // The hook the inner button's own OnClick is bound to (the working
    // click path is the mouse-up path).
    virtual void SpeedButtonClick(TObject* Sender) { (void)Sender; }

protected:
    friend class TVodEditBtn;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WMSize(TMessage& M) override;
    void CreateButton();
    void AdjustWinSize(Integer& W, Integer& H);
    void BtnMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
    void BtnMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);

    TVodSpeedButton* FButton = nullptr;
    TWinControl* FFocusControl = nullptr;
    Integer FBWidth = 0;
};

class TVodEditBtn : public TVodEdit {
    VEL_CLASS(TVodEditBtn, TVodEdit)
public:
    using TButtonStyle = VodEdBtn::TButtonStyle;

    explicit TVodEditBtn(TComponent* AOwner);
    ~TVodEditBtn() override;

    TEditButton* Button() const { return FButton; }
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool v) { FEditorEnabled = v; }
    bool Flat() const { return FFlat; }
    void SetFlat(bool v);
    bool Etched() const { return FEtched; }
    void SetEtched(bool v);
    const String& ButtonHint() const { return FButtonHint; }
    void SetButtonHint(const String& v);
    TButtonStyle ButtonStyle() const { return FButtonStyle; }
    void SetButtonStyle(TButtonStyle v);
    // 16 after construction (the container's), 17 without a container.
    Integer ButtonWidth() const { return FButton ? FButton->FBWidth : 17; }
    void SetButtonWidth(Integer v);
    bool ShowPassOnClick() const { return FShowPassOnClick; }
    void SetShowPassOnClick(bool v) { FShowPassOnClick = v; }
    TBitmap* Glyph() const { return FButton ? FButton->Glyph() : nullptr; }
    void SetGlyph(TBitmap* v) { if (FButton) FButton->SetGlyph(v); }
    String ButtonCaption() const { return FButton ? FButton->ButtonCaption() : String(); }
    void SetButtonCaption(const String& v) { if (FButton) FButton->SetButtonCaption(v); }
    void SetReadOnly(bool v);
    Integer UnitSize() const { return FUnitSize; }

    Integer GetVersionNr() override;
    virtual void ClickButton();
    void SetEditRect();
    void UpdateButtonBounds();
    Integer GetMinHeight();
    void PaintTo(HDC DC, Integer X, Integer Y);
    void PaintTo(TCanvas* Canvas, Integer X, Integer Y);

    void KeyDown(Word& Key, TShiftState Shift) override;
    void DoEnter() override;
    void Loaded() override;

    TNotifyEvent OnClickBtn, OnBtnMouseDown, OnBtnMouseUp;

protected:
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;
    void WMChar(TMessage& M) override;
    void WMKeyDown(TMessage& M) override;
    void WMCut(TMessage& M) override;
    void WMPaste(TMessage& M) override;
    void CNCommand(TMessage& M) override;
    void CMFontChanged(TMessage& M) override;
    void CMMouseEnter(TMessage& M) override;
    void CMMouseLeave(TMessage& M) override;
    void WMSize(TMessage& M) override;
    void BtnMouseDown(TObject* Sender);
    void BtnMouseUp(TObject* Sender);
    void UpdateButtonFocus();
    bool IsButtonFocused();

    Integer FUnitSize = 0;
    TEditButton* FButton = nullptr;
    bool FEditorEnabled = true;
    bool FFlat = false;
    bool FEtched = false;
    bool FMouseInControl = false;
    String FButtonHint;
    TButtonStyle FButtonStyle = VodEdBtn::bsButton;
    bool FShowPassOnClick = false;
    bool FIsPass = false;
};
