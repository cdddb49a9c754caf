// The control class chain: TControl, TGraphicControl, TWinControl and
// TCustomControl, wired to the window manager the way the class library
// wires them: window procedure -> MainWndProc -> WindowProc (WndProc) ->
// Dispatch -> DefaultHandler -> the window class's original procedure.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/base/Objects.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Colors.h"
#include "platform/ui/Windows.h"


class TWinControl;
class TCustomForm;
class TBasicAction;
class TControlActionLink;
class TFont;
class TCanvas;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;

// The bevel a windowed control draws in its non-client area: its kind, the
// cut of each of its two rings, and the sides it runs along.
enum TBevelKind { bkNone, bkTile, bkSoft, bkFlat };
enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum TBevelEdge { beLeft, beTop, beRight, beBottom };
using TBevelEdges = TSet<TBevelEdge>;

// Controls draw with the look of the current desktop (always so here).
extern bool NewStyleControls;

enum TControlStyleFlag {
    csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents, csFramed,
    csSetCaption, csOpaque, csDoubleClicks, csFixedWidth, csFixedHeight, csNoDesignVisible,
    csReplicatable, csNoStdEvents, csDisplayDragImage, csReflector, csActionClient,
    csMenuEvents, csNeedsBorderPaint, csParentBackground, csPannable, csAlignWithMargins,
    csGestures, csPaintBlackOpaqueOnGlass, csOverrideStylePaint
};
using TControlStyle = TSet<TControlStyleFlag>;

enum TControlStateFlag {
    csLButtonDown, csClicked, csPalette, csReadingState, csAlignmentNeeded, csFocusing,
    csCreating, csPaintCopy, csCustomPaint, csDestroyingHandle, csDocking, csDesignerHide,
    csPanning, csRecreating, csAligning, csGlassPaint, csPrintClient
};
using TControlState = TSet<TControlStateFlag>;

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateFlag { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateFlag>;
// The state of an owner-drawn item: bit for bit the ODS_ flags.
enum TOwnerDrawStateFlag {
    odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault, odHotLight, odInactive,
    odNoAccel, odNoFocusRect, odReserved1, odReserved2, odComboBoxEdit
};
using TOwnerDrawState = TSet<TOwnerDrawStateFlag>;
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
// Horizontal text alignment of edits, labels, panels and columns.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
// Which scroll bars a memo or list shows.
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
using TLeftRight = TAlignment;  // taLeftJustify or taRightJustify only
enum TVerticalAlignment { taAlignTop, taAlignBottom, taVerticalCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };

// Cursor numbers of the class library; negative numbers are the built-in
// cursors, positive ones are registered in Screen->Cursors.
using TCursor = SmallInt;
enum : TCursor {
    crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6,
    crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11,
    crDrag = -12, crNoDrop = -13, crHSplit = -14, crVSplit = -15, crMultiDrag = -16,
    crSQLWait = -17, crNo = -18, crAppStart = -19, crHelp = -20, crHandPoint = -21,
    crSizeAll = -22, crSize = -22,
};


// The control drag (in process): how it starts, what a target is told.
enum TDragMode { dmManual, dmAutomatic };
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
// What a drag carries when the source gives one (OnStartDrag); without one
// the source control itself is the Source that targets see.
class TDragObject : public TObject {
    VEL_CLASS(TDragObject, TObject)
public:
    TDragObject() = default;
};
using TDragOverEvent = std::function<void(TObject* Sender, TObject* Source, Integer X, Integer Y, TDragState State, bool& Accept)>;
using TDragDropEvent = std::function<void(TObject* Sender, TObject* Source, Integer X, Integer Y)>;
using TEndDragEvent = std::function<void(TObject* Sender, TObject* Target, Integer X, Integer Y)>;
using TStartDragEvent = std::function<void(TObject* Sender, TDragObject*& DragObject)>;

using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, Integer X, Integer Y)>;
using TKeyEvent = std::function<void(TObject* Sender, Word& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, wchar_t& Key)>;
using TMouseWheelEvent = std::function<void(TObject* Sender, TShiftState Shift, Integer WheelDelta, TPoint MousePos, bool& Handled)>;
using TMouseWheelUpDownEvent = std::function<void(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)>;
using TCanResizeEvent = std::function<void(TObject* Sender, Integer& NewWidth, Integer& NewHeight, bool& Resize)>;

TShiftState KeysToShiftState(Word keys);
TShiftState KeyDataToShiftState(LONG keyData);
// The shift state the keyboard is in now.
TShiftState GetShiftState();
// Whether the caption has VK as its accelerator ("&File" and 'F').
bool IsAccel(Word VK, const String& Str);
// The text of a hint before '|' (short) or after it (long).
String GetShortHint(const String& Hint);
String GetLongHint(const String& Hint);

class TSizeConstraints : public TPersistent {
public:
    Integer MinWidth = 0, MinHeight = 0, MaxWidth = 0, MaxHeight = 0;  // 0: no limit
    std::function<void()> OnChange;
    void SetMinWidth(Integer v) { MinWidth = v; Changed(); }
    void SetMinHeight(Integer v) { MinHeight = v; Changed(); }
    void SetMaxWidth(Integer v) { MaxWidth = v; Changed(); }
    void SetMaxHeight(Integer v) { MaxHeight = v; Changed(); }
    void Assign(TPersistent* Source) override;

private:
    void Changed() { if (OnChange) OnChange(); }
};

// The inner margins of a windowed control that aligned children keep free.
class TPadding : public TPersistent {
    VEL_CLASS(TPadding, TPersistent)
public:
    TPadding() = default;
    Integer Left() const { return FLeft; }
    Integer Top() const { return FTop; }
    Integer Right() const { return FRight; }
    Integer Bottom() const { return FBottom; }
    void SetLeft(Integer v) { Set(FLeft, v); }
    void SetTop(Integer v) { Set(FTop, v); }
    void SetRight(Integer v) { Set(FRight, v); }
    void SetBottom(Integer v) { Set(FBottom, v); }
    void Assign(TPersistent* Source) override;
    std::function<void()> OnChange;

private:
    void Set(Integer& field, Integer v)
    {
        if (field == v) return;
        field = v;
        if (OnChange) OnChange();
    }
    Integer FLeft = 0, FTop = 0, FRight = 0, FBottom = 0;
};

// The record CM_HINTSHOW carries (lParam points to it).
struct THintInfo {
    class TControl* HintControl = nullptr;
    Integer HintWindowClass = 0;
    TPoint HintPos;         // screen
    Integer HintMaxWidth = 0;
    TColor HintColor = clInfoBk;
    TRect CursorRect;       // client coordinates of HintControl
    TPoint CursorPos;       // client coordinates of HintControl
    Integer ReshowTimeout = 0;
    Integer HideTimeout = 0;
    String HintStr;
    void* HintData = nullptr;
};

class TControl : public TComponent {
    VEL_CLASS(TControl, TComponent)
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;

    // Messages.
    std::function<void(TMessage&)> WindowProc;  // WndProc unless replaced
    LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
    virtual void WndProc(TMessage& Message);
    virtual void Dispatch(TMessage& Message);
    virtual void DefaultHandler(TMessage& Message);

    // Place.
    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* AParent);
    Integer Left() const { return FLeft; }
    Integer Top() const { return FTop; }
    Integer Width() const { return FWidth; }
    Integer Height() const { return FHeight; }
    void SetLeft(Integer v) { SetBounds(v, FTop, FWidth, FHeight); }
    void SetTop(Integer v) { SetBounds(FLeft, v, FWidth, FHeight); }
    void SetWidth(Integer v) { SetBounds(FLeft, FTop, v, FHeight); }
    void SetHeight(Integer v) { SetBounds(FLeft, FTop, FWidth, v); }
    virtual void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight);
    TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
    void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
    virtual TRect ClientRect();
    Integer ClientWidth() { return ClientRect().Width(); }
    Integer ClientHeight() { return ClientRect().Height(); }
    void SetClientWidth(Integer v);
    void SetClientHeight(Integer v);
    void SetClientSize(Integer w, Integer h);
    virtual TPoint ClientOrigin();  // screen position of the client area's origin
    TPoint ClientToScreen(const TPoint& p);
    TPoint ScreenToClient(const TPoint& p);
    TPoint ClientToParent(const TPoint& p, TWinControl* AParent = nullptr);
    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign v);
    TAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TAnchors v);
    TSizeConstraints* Constraints() { return &FConstraints; }
    void BringToFront();
    void SendToBack();

    // Looks.
    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool v);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool v);
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool v);
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool v);
    // The control's own font object (never null); SetFont copies the
    // description. Changing it clears ParentFont, as choosing a font does.
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* v);
    String Caption() { return GetText(); }
    void SetCaption(const String& v) { SetText(v); }
    String Text() { return GetText(); }
    virtual void SetText(const String& v);
    virtual String GetText();
    const String& Hint() const { return FHint; }
    void SetHint(const String& v) { FHint = v; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool v);
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool v);
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor v);
    TComponent* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TComponent* v);
    // The action whose Caption, Enabled, Visible and Hint the control shows
    // and which a click runs when the control has no OnClick of its own.
    TBasicAction* Action() const;
    void SetAction(TBasicAction* v);
    TControlActionLink* ActionLink() const { return FActionLink.get(); }
    TControlStyle& ControlStyle() { return FControlStyle; }
    TControlState& ControlState() { return FControlState; }
    // The control's own mode, or its parent's while ParentBiDiMode is set.
    TBiDiMode BiDiMode() const;
    // Choosing a mode clears ParentBiDiMode.
    void SetBiDiMode(TBiDiMode v);
    bool ParentBiDiMode() const { return FParentBiDiMode; }
    void SetParentBiDiMode(bool v) { FParentBiDiMode = v; }
    // Right-to-left only on a Middle-East locale (SysLocale.MiddleEast).
    bool UseRightToLeftAlignment() const;
    bool UseRightToLeftReading() const;
    // DT_LEFT and DT_RIGHT swapped under right-to-left alignment, plus the
    // reading-order flag.
    LONG DrawTextBiDiModeFlags(LONG Flags) const;
    LONG DrawTextBiDiModeFlagsReadingOnly() const;

    virtual void Invalidate();
    virtual void Update();
    virtual void Repaint();
    void Refresh() { Repaint(); }

    bool MouseCapture();
    void SetMouseCapture(bool v);
    bool HasParent() const { return FParent != nullptr; }
    // Visible and every parent visible.
    virtual bool IsVisibleDeep();

    // Events.
    TNotifyEvent OnClick, OnDblClick, OnResize, OnMouseEnter, OnMouseLeave;
    TMouseEvent OnMouseDown, OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TMouseWheelEvent OnMouseWheel;
    TMouseWheelUpDownEvent OnMouseWheelDown, OnMouseWheelUp;
    TCanResizeEvent OnCanResize;

    // Virtual behaviour the descendants refine.
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
    virtual void MouseMove(TShiftState Shift, Integer X, Integer Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
    virtual bool DoMouseWheel(TShiftState Shift, Integer WheelDelta, TPoint MousePos);
    virtual bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos);
    virtual bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos);
    virtual void Resize();
    virtual void Loaded() override;
    virtual bool CanResize(Integer& NewWidth, Integer& NewHeight);

    // Drag and drop between controls of this process. BeginDrag starts at
    // once (Immediate) or after the mouse moved Threshold pixels (-1: the
    // system's 5) with the left button down; the mouse then goes to the
    // drag until the button comes up (drop where accepted) or Escape.
    TDragMode DragMode() const { return FDragMode; }
    void SetDragMode(TDragMode v) { FDragMode = v; }
    TCursor DragCursor() const { return FDragCursor; }
    void SetDragCursor(TCursor v) { FDragCursor = v; }
    void BeginDrag(bool Immediate, Integer Threshold = -1);
    void EndDrag(bool Drop);
    bool Dragging() const;
    // A target's answer while something is dragged over it: Accept starts
    // true when OnDragOver is set, false otherwise.
    virtual void DragOver(TObject* Source, Integer X, Integer Y, TDragState State, bool& Accept);
    virtual void DragDrop(TObject* Source, Integer X, Integer Y);
    virtual void DoStartDrag(TDragObject*& DragObject);
    virtual void DoEndDrag(TObject* Target, Integer X, Integer Y);
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;
    TEndDragEvent OnEndDrag;
    TStartDragEvent OnStartDrag;
    // 3D look (sunken edges) of the control, taken from the parent while
    // ParentCtl3D is set.
    bool Ctl3D() const;
    void SetCtl3D(bool v);
    bool ParentCtl3D() const { return FParentCtl3D; }
    void SetParentCtl3D(bool v);

    // Anchoring: the distances kept when the parent resizes.
    void UpdateAnchorRules();
    TPoint AnchorRules() const { return FAnchorRules; }
    TPoint OriginalParentSize() const { return FOriginalParentSize; }

protected:
    friend class TWinControl;
    friend class TControlActionLink;
    virtual void ActionChange(TObject* Sender, bool CheckDefaults);
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual void RequestAlign();
    virtual void ChangeScale(Integer M, Integer D) {}
    virtual void ParentColorChanged();
    virtual void ParentFontChanged();
    virtual void FontChanged();
    virtual void VisibleChanging() {}
    void ConstrainedResize(Integer& w, Integer& h);
    void SendCancelMode(TControl* Sender);
    virtual void InvalidateControl(bool IsVisible, bool IsOpaque);
    virtual TColor InitialColor() const { return clBtnFace; }
    virtual void Ctl3DChanged();

    // Message handlers.
    virtual void WMLButtonDown(TMessage& M);
    virtual void WMLButtonUp(TMessage& M);
    virtual void WMLButtonDblClk(TMessage& M);
    virtual void WMRButtonDown(TMessage& M);
    virtual void WMRButtonUp(TMessage& M);
    virtual void WMMButtonDown(TMessage& M);
    virtual void WMMButtonUp(TMessage& M);
    virtual void WMMouseMove(TMessage& M);
    virtual void CMMouseWheel(TMessage& M);
    virtual void CMEnabledChanged(TMessage& M);
    virtual void CMVisibleChanged(TMessage& M);
    virtual void CMColorChanged(TMessage& M);
    virtual void CMParentColorChanged(TMessage& M);
    virtual void CMFontChanged(TMessage& M);
    virtual void CMParentFontChanged(TMessage& M);
    virtual void CMTextChanged(TMessage& M);
    virtual void CMHintShow(TMessage& M);
    virtual void CMMouseEnter(TMessage& M);
    virtual void CMMouseLeave(TMessage& M);
    virtual void CMParentShowHintChanged(TMessage& M);

    TWinControl* FParent = nullptr;
    Integer FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    TAlign FAlign = alNone;
    TAnchors FAnchors{akLeft, akTop};
    TPoint FAnchorRules;
    TPoint FOriginalParentSize;
    bool FVisible = true;
    bool FEnabled = true;
    TColor FColor;
    bool FParentColor = true;
    bool FParentFont = true;
    TBiDiMode FBiDiMode = bdLeftToRight;
    bool FParentBiDiMode = true;
    std::unique_ptr<TFont> FFont;
    bool FTakingParentFont = false;  // a parent's font being copied in
    String FText;
    String FHint;
    bool FShowHint = false;
    bool FParentShowHint = true;
    TCursor FCursor = crDefault;
    TComponent* FPopupMenu = nullptr;
    std::unique_ptr<TControlActionLink> FActionLink;
    TControlStyle FControlStyle;
    TControlState FControlState;
    TSizeConstraints FConstraints;
    bool FMouseInControl = false;
    TDragMode FDragMode = dmManual;
    TCursor FDragCursor = crDrag;
    bool FCtl3D = true;
    bool FParentCtl3D = true;

private:
    void DoMouseDown(TMessage& M, TMouseButton Button, TShiftState Shift);
    void DoMouseUp(TMessage& M, TMouseButton Button);
};

// A control without a window of its own: it paints on its parent's
// window and gets its mouse input through the parent.
class TGraphicControl : public TControl {
    VEL_CLASS(TGraphicControl, TControl)
public:
    explicit TGraphicControl(TComponent* AOwner);
    ~TGraphicControl() override;
    // The parent's device context while painting (WM_PAINT wParam).
    HDC PaintDC() const { return FPaintDC; }
    TCanvas* Canvas();

protected:
    virtual void Paint() {}
    void Dispatch(TMessage& Message) override;
    HDC FPaintDC = nullptr;
    TCanvas* FCanvas = nullptr;
};

// What CreateParams fills for CreateWnd.
struct TCreateParams {
    String Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    Integer X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    void* Param = nullptr;
    WNDCLASS WindowClass;
    String WinClassName;
};

class TWinControl : public TControl {
    VEL_CLASS(TWinControl, TControl)
public:
    explicit TWinControl(TComponent* AOwner);
    // A control inside a window that is not a control (a host window).
    static TWinControl* CreateParented(HWND ParentWindow);
    ~TWinControl() override;

    HWND Handle();
    bool HandleAllocated() const { return FHandle != nullptr; }
    void HandleNeeded();
    virtual void RecreateWnd();
    void DestroyHandle();
    HWND ParentWindow() const { return FParentWindow; }
    void SetParentWindow(HWND h);
    void SetParent(TWinControl* AParent) override;

    // Children: non-windowed controls first, then windowed ones.
    Integer ControlCount() const { return Integer(FControls.size() + FWinControls.size()); }
    TControl* Controls(Integer Index) const;
    void InsertControl(TControl* AControl);
    void RemoveControl(TControl* AControl);
    bool ContainsControl(TControl* Control);
    TControl* ControlAtPos(const TPoint& Pos, bool AllowDisabled, bool AllowWinControls = false);
    void Broadcast(TMessage& Message);
    void NotifyControls(UINT Msg);
    // The windowed control that holds the keyboard now (deepest), if ours.
    static TWinControl* FindControl(HWND Handle);

    // Layout.
    virtual void AlignControls(TControl* AControl, TRect& Rect);
    virtual void AdjustClientRect(TRect& Rect) { Rect = ClientRect(); }
    void Realign();
    void DisableAlign() { ++FAlignLevel; }
    void EnableAlign();
    bool AlignDisabled() const { return FAlignLevel > 0; }
    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
    TRect ClientRect() override;
    TPoint ClientOrigin() override;
    void ScaleBy(Integer M, Integer D) { ChangeScale(M, D); }
    // Margins inside the client area that AlignControls keeps free; a
    // change realigns the children. SetPadding copies the margins.
    TPadding* Padding() { return &FPadding; }
    void SetPadding(TPadding* v) { FPadding.Assign(v); }

    // Focus and keyboard.
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool v);
    Integer TabOrder() const;
    void SetTabOrder(Integer v);
    void GetTabOrderList(std::vector<TWinControl*>& List);
    TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop, bool CheckParent);
    void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);
    virtual void SetFocus();
    virtual bool CanFocus();
    bool Focused();
    bool Showing() const { return FShowing; }
    bool DoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool v) { FDoubleBuffered = v; }
    void Invalidate() override;
    void Update() override;
    void Repaint() override;
    bool IsVisibleDeep() override;
    // Paints the control and its children into DC with the control's
    // top-left corner at X, Y (its frame with a sunken edge when it has one).
    void PaintTo(HDC DC, Integer X, Integer Y);
    void PaintTo(TCanvas* Canvas, Integer X, Integer Y);

    // The bevel around the client area (none while BevelKind is bkNone):
    // each selected side takes BevelWidth pixels for the inner ring and as
    // many for the outer one, unless that ring's cut is bvNone. A change
    // re-frames the window.
    TBevelKind BevelKind() const { return FBevelKind; }
    void SetBevelKind(TBevelKind v);
    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut v);
    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut v);
    TBevelEdges BevelEdges() const { return FBevelEdges; }
    void SetBevelEdges(TBevelEdges v);
    Integer BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(Integer v);

    TKeyEvent OnKeyDown, OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter, OnExit;

    virtual void KeyDown(Word& Key, TShiftState Shift);
    virtual void KeyUp(Word& Key, TShiftState Shift);
    virtual void KeyPress(wchar_t& Key);
    virtual void DoEnter();
    virtual void DoExit();
    // Runs the key through the form's key preview and KeyDown; answers
    // whether the key was eaten.
    bool DoKeyDown(TMessage& Message);
    bool DoKeyUp(TMessage& Message);
    bool DoKeyPress(TMessage& Message);

    void DefaultHandler(TMessage& Message) override;
    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;
    // The window procedure every control's window class gets.
    static LRESULT StdWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

protected:
    void Loaded() override;
    friend class TControl;
    friend class TCustomForm;
    virtual void CreateParams(TCreateParams& Params);
    // Takes the class of an existing window class (a standard control) as
    // the base of this control's class: its procedure becomes the default.
    void CreateSubClass(TCreateParams& Params, const wchar_t* ControlClassName);
    virtual void CreateWnd();
    virtual void CreateWindowHandle(const TCreateParams& Params);
    virtual void DestroyWnd();
    virtual void DestroyWindowHandle();
    virtual void CreateHandle();
    void UpdateShowing();
    virtual void ShowControl(bool Show);  // shows or hides the handle
    void UpdateBounds();
    void UpdateControlState();
    virtual void PaintHandler(TMessage& Message);
    virtual void PaintWindow(HDC DC);
    void PaintControls(HDC DC, TControl* First);
    virtual void PaintBackground(HDC DC, const TRect& r);
    void RemoveFocus(bool Removing);
    virtual void SetZOrder(bool TopMost);
    bool IsControlMouseMsg(TMessage& Message);
    void InvalidateControl(bool IsVisible, bool IsOpaque) override;
    void RequestAlign() override;
    void DoAlign(TAlign AAlign, TControl* AControl, TRect& Rect);
    void AlignControl(TControl* AControl);
    void RemoveFromLists(TControl* AControl);
    void AddToLists(TControl* AControl, bool AtEnd);
    HWND PrecedingWindow(TWinControl* Control);
    // A top-level host whose showing follows its own visibility (forms).
    virtual bool IsFormRoot() const { return false; }
    // Form services the controls call on the form that holds them.
    virtual bool SetFocusedControl(TWinControl* Control) { return false; }
    virtual void FocusControl(TWinControl* Control);
    virtual void DefocusControl(TWinControl* Control, bool Removing) {}
    virtual bool KeyPreviewOn() const { return false; }
    friend TWinControl* FormOf(TControl* c, bool topForm);

    // Message handlers.
    virtual void WMPaint(TMessage& M);
    virtual void WMEraseBkgnd(TMessage& M);
    virtual void WMSize(TMessage& M);
    virtual void WMMove(TMessage& M);
    virtual void WMWindowPosChanged(TMessage& M);
    virtual void WMSetFocus(TMessage& M);
    virtual void WMKillFocus(TMessage& M);
    virtual void WMKeyDown(TMessage& M);
    virtual void WMKeyUp(TMessage& M);
    virtual void WMChar(TMessage& M);
    virtual void WMSysKeyDown(TMessage& M);
    virtual void WMSetCursor(TMessage& M);
    virtual void WMNCDestroy(TMessage& M);
    virtual void WMMouseWheel(TMessage& M);
    virtual void WMMouseLeave(TMessage& M);
    virtual void WMCommand(TMessage& M);
    virtual void WMNotify(TMessage& M);
    // Sends an owner-draw or colour request on to its control as CN_...;
    // false when no control of ours sent it.
    bool ReflectToControl(TMessage& M);
    virtual void CNKeyDown(TMessage& M);
    virtual void CNChar(TMessage& M);
    virtual void CNSysChar(TMessage& M);
    virtual void CMEnter(TMessage& M);
    virtual void CMExit(TMessage& M);
    virtual void CMDialogKey(TMessage& M);
    virtual void CMDialogChar(TMessage& M);
    virtual void CMShowingChanged(TMessage& M);
    void CMEnabledChanged(TMessage& M) override;
    void CMVisibleChanged(TMessage& M) override;
    void CMTextChanged(TMessage& M) override;
    void CMColorChanged(TMessage& M) override;
    virtual void CMFocusChanged(TMessage& M) {}
    virtual void WMNCCalcSize(TMessage& M);
    virtual void WMNCPaint(TMessage& M);
    // The space the bevel takes on each side (all zero without one).
    TRect BevelInsets() const;
    // Draws the bevel into DC, whose origin is the window's top-left corner.
    void PaintBevel(HDC DC);
    void BevelChanged();

    HWND FHandle = nullptr;
    WNDPROC FDefWndProc = nullptr;
    HWND FParentWindow = nullptr;
    std::vector<TControl*> FControls;       // graphic children
    std::vector<TWinControl*> FWinControls; // windowed children, z-order of creation
    std::vector<TWinControl*> FTabList;
    bool FTabStop = false;
    bool FShowing = false;
    bool FDoubleBuffered = false;
    Integer FAlignLevel = 0;
    bool FRealigning = false;
    TPadding FPadding;
    TBevelKind FBevelKind = bkNone;
    TBevelCut FBevelInner = bvRaised;
    TBevelCut FBevelOuter = bvLowered;
    TBevelEdges FBevelEdges{beLeft, beTop, beRight, beBottom};
    Integer FBevelWidth = 1;
};

// A windowed control that paints itself on a canvas.
class TCustomControl : public TWinControl {
    VEL_CLASS(TCustomControl, TWinControl)
public:
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;
    TCanvas* Canvas();

protected:
    virtual void Paint() {}
    void PaintWindow(HDC DC) override;
    TCanvas* FCanvas = nullptr;
};

// The canvas of a control: the paint DC while the control paints, else a DC
// of its window (a graphic control's parent window, moved and clipped).
class TControlCanvas : public TCanvas {
public:
    TControlCanvas() = default;
    ~TControlCanvas() override;
    TControl* Control() const { return FControl; }
    void SetControl(TControl* c);
    void FreeHandle();
    void Bind(HDC dc);

protected:
    void CreateHandle() override;

private:
    TControl* FControl = nullptr;
    HWND FWindow = nullptr;
    HDC FOwnDC = nullptr;
};

// The application style of the class library's custom styles: none is
// ever active here, so code asking takes its "no style" branch.
bool IsCustomStyleActive();
String ActiveStyleName();  // "Windows"

// The next (or previous) tab stop after ctl among the windowed controls
// inside dlg, wrapping around; null when dlg is none of ours or has none.
HWND GetNextDlgTabItem(HWND dlg, HWND ctl, BOOL previous);

// The form (or other top-level control) that holds a control.
TCustomForm* GetParentForm(TControl* Control, bool TopForm = true);
// The control under a screen point (windowed or graphic), if ours.
TControl* FindDragTarget(const TPoint& Pos, bool AllowDisabled);
TWinControl* FindControl(HWND Handle);
// The control that has the mouse captured (graphic controls included).
TControl* GetCaptureControl();
void SetCaptureControl(TControl* Control);
