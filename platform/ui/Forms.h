// Forms and the application: TScrollingWinControl/TScrollBox, TCustomForm/
// TForm, THintWindow, TApplication, TScreen and Mouse.
#pragma once

#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/ui/Controls.h"

enum TScrollBarKind { sbHorizontal, sbVertical };

class TScrollingWinControl;
class TMainMenu;

// One of the two scroll bars a scrolling control keeps: a position in a
// range larger than the visible part.
class TControlScrollBar : public TPersistent {
public:
    TControlScrollBar(TScrollingWinControl* Control, TScrollBarKind Kind) : FControl(Control), FKind(Kind) {}
    TScrollBarKind Kind() const { return FKind; }
    Integer Position() const { return FPosition; }
    void SetPosition(Integer v);
    Integer Range() const { return FRange; }
    void SetRange(Integer v);
    bool Visible() const { return FVisible; }
    void SetVisible(bool v);
    Integer Margin() const { return FMargin; }
    void SetMargin(Integer v) { FMargin = v; }
    Integer Increment() const { return FIncrement; }
    void SetIncrement(Integer v) { FIncrement = v; }
    bool IsScrollBarVisible();
    Integer ScrollPos() { return IsScrollBarVisible() ? FPosition : 0; }

private:
    friend class TScrollingWinControl;
    Integer ControlSize();
    TScrollingWinControl* FControl;
    TScrollBarKind FKind;
    Integer FPosition = 0;
    Integer FRange = 0;
    Integer FMargin = 0;
    Integer FIncrement = 8;
    bool FVisible = true;
};

class TScrollingWinControl : public TWinControl {
    VEL_CLASS(TScrollingWinControl, TWinControl)
public:
    explicit TScrollingWinControl(TComponent* AOwner);
    bool AutoScroll() const { return FAutoScroll; }
    void SetAutoScroll(bool v);
    TControlScrollBar* HorzScrollBar() { return &FHorz; }
    TControlScrollBar* VertScrollBar() { return &FVert; }
    void ScrollInView(TControl* AControl);
    // Moves the children by the change of the scroll positions.
    void ScrollBy(Integer DeltaX, Integer DeltaY);
    void UpdateScrollBars();

protected:
    friend class TControlScrollBar;
    void CreateParams(TCreateParams& Params) override;
    void AlignControls(TControl* AControl, TRect& Rect) override;
    void Dispatch(TMessage& Message) override;
    void ScrollMessage(TMessage& M, TControlScrollBar& Bar);
    void CalcAutoRange();
    bool FAutoScroll = true;
    bool FUpdatingScrollBars = false;
    TControlScrollBar FHorz, FVert;
};

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderStyle = TFormBorderStyle;
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
enum TPosition {
    poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
    poMainFormCenter, poOwnerFormCenter
};
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
using TModalResult = Integer;
enum : TModalResult {
    mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6,
    mrNo = 7, mrClose = 8, mrHelp = 9, mrTryAgain = 10, mrContinue = 11, mrAll = 12, mrNoToAll = 13,
    mrYesToAll = 14
};

class TScrollBox : public TScrollingWinControl {
    VEL_CLASS(TScrollBox, TScrollingWinControl)
public:
    explicit TScrollBox(TComponent* AOwner);
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle v);

protected:
    void CreateParams(TCreateParams& Params) override;
    TFormBorderStyle FBorderStyle = bsSingle;
};

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

class TCustomForm : public TScrollingWinControl {
    VEL_CLASS(TCustomForm, TScrollingWinControl)
public:
    // Builds the form in code: the descendant's constructor creates and
    // configures the children inside a loading bracket; Init ends it (runs
    // Loaded and OnCreate). Application->CreateForm calls Init.
    explicit TCustomForm(TComponent* AOwner);
    // A form with no content of its own (nothing to stream): ready at once.
    static TCustomForm* CreateNew(TComponent* AOwner);
    ~TCustomForm() override;
    virtual void Init();

    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle v);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons v);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition v) { FPosition = v; }
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle v);
    TWindowState WindowState() const { return FWindowState; }
    void SetWindowState(TWindowState v);
    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool v) { FKeyPreview = v; }
    TWinControl* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl* Control);
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult v) { FModalResult = v; }
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool v);
    Byte AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(Byte v);
    bool Active() const { return FActive; }
    // The menu bar the form shows in its frame (the client area gets
    // smaller by it); its commands and shortcuts run through the form.
    TMainMenu* Menu() const { return FMenu; }
    void SetMenu(TMainMenu* v);
    // Before the window exists, less the frame and a menu bar of one row.
    TRect ClientRect() override;
    // The window the form's window is owned by; null: the main form's.
    HWND PopupParent() const { return FPopupParent; }
    void SetPopupParent(HWND h) { FPopupParent = h; }

    void Show();
    void Hide() { SetVisible(false); }
    virtual TModalResult ShowModal();
    void Close();
    virtual bool CloseQuery();
    void Release();
    void SetVisible(bool v) override;
    void SetFocus() override;
    void FocusControl(TWinControl* Control) override;
    bool SetFocusedControl(TWinControl* Control) override;
    void DefocusControl(TWinControl* Control, bool Removing) override;
    bool KeyPreviewOn() const override { return FKeyPreview; }
    bool IsFormRoot() const override { return true; }
    bool CanFocus() override { return FVisible && FEnabled; }
    bool Modal() const { return FModal; }

    TNotifyEvent OnCreate, OnDestroy, OnShow, OnHide, OnActivate, OnDeactivate, OnPaint;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWindowHandle() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Dispatch(TMessage& Message) override;
    bool MenuMessage(TMessage& M);
    void CMShowingChanged(TMessage& M) override;
    void CMDialogKey(TMessage& M) override;
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& Action);
    virtual void Activate();
    virtual void Deactivate();
    void WMActivate(TMessage& M);
    void WMClose(TMessage& M);
    void WMGetMinMaxInfo(TMessage& M);
    void SetWindowFocus();
    void PlaceOnShow();

    TFormBorderStyle FBorderStyle = bsSizeable;
    TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
    TPosition FPosition = poDesigned;
    TFormStyle FFormStyle = fsNormal;
    TWindowState FWindowState = wsNormal;
    bool FKeyPreview = false;
    TWinControl* FActiveControl = nullptr;
    TWinControl* FFocusedControl = nullptr;
    TModalResult FModalResult = mrNone;
    bool FAlphaBlend = false;
    Byte FAlphaBlendValue = 255;
    bool FActive = false;
    bool FModal = false;
    bool FPlaced = false;
    bool FInitDone = false;
    HWND FPopupParent = nullptr;
    TMainMenu* FMenu = nullptr;
};

class TForm : public TCustomForm {
    VEL_CLASS(TForm, TCustomForm)
public:
    explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
};

// A small top-level window that shows a hint text.
class THintWindow : public TCustomControl {
    VEL_CLASS(THintWindow, TCustomControl)
public:
    explicit THintWindow(TComponent* AOwner);
    virtual void ActivateHint(TRect Rect, const String& AHint);
    virtual void ActivateHintData(TRect Rect, const String& AHint, void* AData);
    virtual TRect CalcHintRect(Integer MaxWidth, const String& AHint, void* AData);
    void ReleaseHandle() { DestroyHandle(); }

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
    void PaintWindow(HDC DC) override;
    bool IsFormRoot() const override { return false; }
};

class TMonitor {
public:
    HMONITOR Handle = nullptr;
    Integer MonitorNum = 0;
    TRect BoundsRect;
    TRect WorkareaRect;
    bool Primary = false;
    Integer Left() const { return BoundsRect.Left; }
    Integer Top() const { return BoundsRect.Top; }
    Integer Width() const { return BoundsRect.Width(); }
    Integer Height() const { return BoundsRect.Height(); }
};

class TScreen : public TComponent {
    VEL_CLASS(TScreen, TComponent)
public:
    explicit TScreen(TComponent* AOwner);
    ~TScreen() override;
    Integer Width();
    Integer Height();
    TRect WorkAreaRect();
    Integer WorkAreaWidth() { return WorkAreaRect().Width(); }
    Integer WorkAreaHeight() { return WorkAreaRect().Height(); }
    Integer DesktopWidth() { return GetSystemMetrics(SM_CXVIRTUALSCREEN); }
    Integer DesktopHeight() { return GetSystemMetrics(SM_CYVIRTUALSCREEN); }
    Integer PixelsPerInch() const { return GdiScreenPixelsPerInch(); }
    Integer MonitorCount();
    TMonitor Monitors(Integer Index);
    TMonitor MonitorFromPoint(TPoint p);
    TMonitor MonitorFromWindow(HWND h);
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor v);
    HCURSOR Cursors(TCursor Index);
    void SetCursors(TCursor Index, HCURSOR Handle);
    TWinControl* ActiveControl() const { return FActiveControl; }
    TCustomForm* ActiveForm() const { return FActiveForm; }
    TCustomForm* ActiveCustomForm() const { return FActiveForm; }
    Integer FormCount() const { return Integer(FForms.size()); }
    TCustomForm* Forms(Integer i) const { return FForms.at(size_t(i)); }
    Integer CustomFormCount() const { return FormCount(); }
    TCustomForm* CustomForms(Integer i) const { return Forms(i); }
    // Fonts the system uses for menus, hints and icons.
    LOGFONTW MenuFontInfo() const;
    // The menu font as a font object, built from MenuFontInfo (the screen's
    // own: copy it, do not change it).
    TFont* MenuFont();
    TNotifyEvent OnActiveControlChange, OnActiveFormChange;

private:
    friend class TCustomForm;
    friend class TApplication;
    TCursor FCursor = crDefault;
    std::map<TCursor, HCURSOR> FCursors;
    TWinControl* FActiveControl = nullptr;
    TCustomForm* FActiveForm = nullptr;
    TCustomForm* FFocusedForm = nullptr;
    std::vector<TCustomForm*> FForms;
    std::unique_ptr<TFont> FMenuFont;
};

class TMouse {
public:
    TPoint CursorPos() const;
    void SetCursorPos(TPoint p) const { ::SetCursorPos(p.X, p.Y); }
    HWND Capture() const { return GetCapture(); }
    Integer WheelScrollLines() const;
    Integer DragThreshold() const { return 5; }
    bool MousePresent() const { return true; }
};

using THintWindowClass = std::function<THintWindow*(TComponent* Owner)>;
using TExceptionEvent = std::function<void(TObject* Sender, const std::exception& E)>;
using TShowHintEvent = std::function<void(String& HintStr, bool& CanShow, THintInfo& HintInfo)>;

class TApplication : public TComponent {
    VEL_CLASS(TApplication, TComponent)
public:
    explicit TApplication(TComponent* AOwner);
    ~TApplication() override;

    void Initialize();
    const String& Title() const { return FTitle; }
    void SetTitle(const String& v) { FTitle = v; }
    String ExeName() const;
    HWND Handle() const { return nullptr; }
    TCustomForm* MainForm() const { return FMainForm; }
    void SetMainForm(TCustomForm* f) { FMainForm = f; }
    bool ShowMainForm() const { return FShowMainForm; }
    void SetShowMainForm(bool v) { FShowMainForm = v; }
    // Creates a form of class T owned by the application and finishes its
    // construction; the first form created becomes the main form.
    template <class T>
    void CreateForm(T*& Reference)
    {
        T* f = new T(this);
        Reference = f;
        f->Init();
        if (!FMainForm) FMainForm = f;
    }
    void Run();
    // Runs the messages waiting now. From a worker thread it does nothing.
    void ProcessMessages();
    // Runs one message, or waits for one when none is waiting.
    void HandleMessage();
    bool ProcessMessage(MSG& Msg);
    void Terminate();
    bool Terminated() const { return FTerminated; }
    bool Active() const { return FActive; }
    void HandleException(TObject* Sender);
    // A message box over the active form (Dialogs.cpp); answers IDOK...
    int MessageBox(const String& Text, const String& Caption, UINT Flags = MB_OK);

    // Hints.
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool v);
    Integer HintPause() const { return FHintPause; }
    void SetHintPause(Integer v) { FHintPause = v; }
    Integer HintHidePause() const { return FHintHidePause; }
    void SetHintHidePause(Integer v) { FHintHidePause = v; }
    Integer HintShortPause() const { return FHintShortPause; }
    TColor HintColor() const { return FHintColor; }
    THintWindowClass HintWindowClass;
    void CancelHint();
    void ActivateHint(TPoint CursorPos);
    void HideHint();
    THintWindow* HintWindow() const { return FHintWindow; }
    TControl* HintControl() const { return FHintControl; }
    void HintMouseMessage(TControl* Control, TMessage& Message);

    TNotifyEvent OnActivate, OnDeactivate, OnIdle, OnHint;
    TExceptionEvent OnException;
    TShowHintEvent OnShowHint;

private:
    friend class TCustomForm;
    void DoActivate(bool Active);
    bool IsKeyMsg(MSG& Msg);
    bool IsHintMsg(MSG& Msg);
    void StartHintTimer(UINT ms, int kind);
    void StopHintTimer();
    static void CALLBACK_HintTimer(HWND, UINT, UINT_PTR, DWORD);
    void HintTimerExpired();
    void ControlDestroyed(TControl* c);
    void Idle();

    String FTitle;
    TCustomForm* FMainForm = nullptr;
    bool FShowMainForm = true;
    bool FTerminated = false;
    bool FActive = false;
    bool FRunning = false;
    bool FShowHint = true;
    Integer FHintPause = 500;
    Integer FHintShortPause = 50;
    Integer FHintHidePause = 2500;
    TColor FHintColor = clInfoBk;
    THintWindow* FHintWindow = nullptr;
    TControl* FHintControl = nullptr;
    TControl* FMouseControl = nullptr;
    TRect FHintCursorRect;
    bool FHintActive = false;
    UINT_PTR FHintTimer = 0;
    int FHintTimerKind = 0;  // 1: show, 2: hide
};

extern TApplication* Application;
extern TScreen* Screen;
extern TMouse* Mouse;

// Creates Application, Screen and Mouse (once) and wires them into the
// window system; later calls do nothing.
void InitForms();
// Frees them again (tests).
void DoneForms();

