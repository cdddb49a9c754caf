// Buttons and statics: the window classes "BUTTON" (push buttons, check
// boxes, radio buttons, group boxes) and "STATIC" with their messages, and
// the class-library controls that wrap them: TButton, TCheckBox,
// TRadioButton, TGroupBox, TCustomLabel/TLabel and TStaticText.
#pragma once

#include "platform/ui/Forms.h"

// Registers "BUTTON" and "STATIC" unless they are there. InitForms does,
// and so does creating a control (a reset of the window system removes them).
void RegisterButtonClasses();

// The window procedures (for subclassing code that calls them directly).
LRESULT ButtonWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
LRESULT StaticWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);

// Button styles and states beyond the basic types.
enum : DWORD {
    BS_TYPEMASK = 0xFu, BS_LEFTTEXT = 0x20u, BS_TEXT = 0x0u, BS_LEFT = 0x100u, BS_RIGHT = 0x200u,
    BS_CENTER = 0x300u, BS_TOP = 0x400u, BS_BOTTOM = 0x800u, BS_VCENTER = 0xC00u,
    BS_PUSHLIKE = 0x1000u, BS_NOTIFY = 0x4000u, BS_FLAT = 0x8000u, BS_RIGHTBUTTON = BS_LEFTTEXT,
    SS_TYPEMASK = 0x1Fu, SS_SIMPLE = 0xBu, SS_LEFTNOWORDWRAP = 0xCu, SS_ETCHEDHORZ = 0x10u,
    SS_ETCHEDVERT = 0x11u, SS_ETCHEDFRAME = 0x12u, SS_CENTERIMAGE = 0x200u,
    SS_ENDELLIPSIS = 0x4000u, SS_SUNKEN = 0x1000u,
};
enum : UINT { BST_PUSHED = 0x4, BST_FOCUS = 0x8, BM_SETDONTCLICK = 0x00F8, STN_CLICKED = 0 };

// ---------------------------------------------------------------------------
// Class-library controls

// What the push buttons, check boxes and radio buttons share: the "BUTTON"
// window class, its notifications coming back as CN_COMMAND, and the colours
// it asks its parent for.
class TButtonControl : public TWinControl {
    VEL_CLASS(TButtonControl, TWinControl)
public:
    explicit TButtonControl(TComponent* AOwner);
    ~TButtonControl() override;
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v);

protected:
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;
    virtual void CNCommand(TMessage& M) { (void)M; }
    // The brush (and text colours) the window draws its background with.
    void CNCtlColor(TMessage& M);
    // Set while the control changes its own check state, so that change
    // does not count as the user's click.
    bool FClicksDisabled = false;
    bool FWordWrap = false;

private:
    HBRUSH FBrush = nullptr;
    TColor FBrushColor = clNone;
};

class TButton : public TButtonControl {
    VEL_CLASS(TButton, TButtonControl)
public:
    explicit TButton(TComponent* AOwner);
    // Enter clicks the default button unless another button has the focus.
    bool Default() const { return FDefault; }
    void SetDefault(bool v);
    // Escape clicks the cancel button.
    bool Cancel() const { return FCancel; }
    void SetCancel(bool v) { FCancel = v; }
    // Clicking sets the form's ModalResult to this (mrNone: nothing).
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult v) { FModalResult = v; }
    void Click() override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;
    void CNCommand(TMessage& M) override;
    // Enter goes to this button now: it has the focus, or it is the default
    // and no other button has it.
    bool IsActive();
    bool FDefault = false;
    bool FCancel = false;
    TModalResult FModalResult = 0;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCustomCheckBox : public TButtonControl {
    VEL_CLASS(TCustomCheckBox, TButtonControl)
public:
    explicit TCustomCheckBox(TComponent* AOwner);
    // The box left of the text (taRightJustify, the default) or right of it.
    TLeftRight Alignment() const { return FAlignment; }
    void SetAlignment(TLeftRight v);
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool v) { FAllowGrayed = v; }
    TCheckBoxState State() const { return FState; }
    // A change fires OnClick, as the user's click does.
    void SetState(TCheckBoxState v);
    bool Checked() const { return FState == cbChecked; }
    void SetChecked(bool v) { SetState(v ? cbChecked : cbUnchecked); }

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;
    void CNCommand(TMessage& M) override;
    // The user's click: unchecked -> (grayed when allowed) -> checked -> unchecked.
    virtual void Toggle();
    TLeftRight FAlignment = taRightJustify;
    bool FAllowGrayed = false;
    TCheckBoxState FState = cbUnchecked;
};

class TCheckBox : public TCustomCheckBox {
    VEL_CLASS(TCheckBox, TCustomCheckBox)
public:
    explicit TCheckBox(TComponent* AOwner) : TCustomCheckBox(AOwner) {}
};

class TRadioButton : public TButtonControl {
    VEL_CLASS(TRadioButton, TButtonControl)
public:
    explicit TRadioButton(TComponent* AOwner);
    TLeftRight Alignment() const { return FAlignment; }
    void SetAlignment(TLeftRight v);
    bool Checked() const { return FChecked; }
    // Checking unchecks the other radio buttons of the same parent and fires
    // OnClick.
    void SetChecked(bool v);

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;
    void CNCommand(TMessage& M) override;
    TLeftRight FAlignment = taRightJustify;
    bool FChecked = false;
};

// A frame with a caption around other controls; paints itself.
class TCustomGroupBox : public TCustomControl {
    VEL_CLASS(TCustomGroupBox, TCustomControl)
public:
    explicit TCustomGroupBox(TComponent* AOwner);
    void AdjustClientRect(TRect& Rect) override;

protected:
    void Paint() override;
    void Dispatch(TMessage& Message) override;
};

class TGroupBox : public TCustomGroupBox {
    VEL_CLASS(TGroupBox, TCustomGroupBox)
public:
    explicit TGroupBox(TComponent* AOwner) : TCustomGroupBox(AOwner) {}
};

// A text drawn on its parent (no window of its own).
class TCustomLabel : public TGraphicControl {
    VEL_CLASS(TCustomLabel, TGraphicControl)
public:
    explicit TCustomLabel(TComponent* AOwner);
    ~TCustomLabel() override;

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);
    // The bounds follow the text: width and height on one line, the height
    // only when WordWrap is on.
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool v);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout v);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v);
    // An "&" marks the next character as the accelerator (drawn underlined).
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool v);
    // Transparent: the parent shows through; else the label fills with Color.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);
    // The accelerator sets the focus to this control.
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* v);

protected:
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Loaded() override;
    virtual void AdjustBounds();
    // The text drawn: the caption (a label with no text shows nothing).
    virtual String GetLabelText() { return FText; }
    // Draws (or with DT_CALCRECT measures) the text in rect.
    virtual void DoDrawText(TRect& Rect, UINT Flags);
    TAlignment FAlignment = taLeftJustify;
    bool FAutoSize = true;
    TTextLayout FLayout = tlTop;
    bool FWordWrap = false;
    bool FShowAccelChar = true;
    bool FTransparent = false;
    TWinControl* FFocusControl = nullptr;
    bool FAdjusting = false;
};

class TLabel : public TCustomLabel {
    VEL_CLASS(TLabel, TCustomLabel)
public:
    explicit TLabel(TComponent* AOwner) : TCustomLabel(AOwner) {}
};

enum TStaticBorderStyle { sbsNone, sbsSingle, sbsSunken };

// A text in a window of its own (the "STATIC" class).
class TCustomStaticText : public TWinControl {
    VEL_CLASS(TCustomStaticText, TWinControl)
public:
    explicit TCustomStaticText(TComponent* AOwner);
    ~TCustomStaticText() override;
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool v);
    TStaticBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TStaticBorderStyle v);
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool v);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* v);

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void AdjustBounds();
    TAlignment FAlignment = taLeftJustify;
    bool FAutoSize = true;
    TStaticBorderStyle FBorderStyle = sbsNone;
    bool FShowAccelChar = true;
    bool FTransparent = false;
    TWinControl* FFocusControl = nullptr;

private:
    HBRUSH FBrush = nullptr;
    TColor FBrushColor = clNone;
};

class TStaticText : public TCustomStaticText {
    VEL_CLASS(TStaticText, TCustomStaticText)
public:
    explicit TStaticText(TComponent* AOwner) : TCustomStaticText(AOwner) {}
};
