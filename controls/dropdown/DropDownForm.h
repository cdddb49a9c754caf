// DropDownForm: the pop-up window of a drop-down edit. A borderless,
// top-most form owned by the edit's form; it hosts the edit's control
// between an optional header and footer, paints a banded background and a
// frame, lets the user size it from its bottom-right corner, and closes
// when another window of the application (not one of its own pop-ups)
// becomes active.
#pragma once

#include "controls/dropdown/DropDownHeaderFooter.h"
#include "platform/ui/Forms.h"

class TVodCustomDropDown;

class TDropDownForm : public TForm {
    VEL_CLASS(TDropDownForm, TForm)
public:
    // The window of Edit (may be null for a window of its own).
    TDropDownForm(TComponent* AOwner, TVodCustomDropDown* Edit);
    ~TDropDownForm() override;

    // Tick count of the last deactivation.
    DWORD DeActivateTime() const { return FDeActivate; }
    bool Shadow() const { return FShadow; }
    void SetShadow(bool v) { FShadow = v; }
    TVodFooter* Footer() const { return FFooter; }
    TVodHeader* Header() const { return FHeader; }
    TVodCustomDropDown* VodDropDown() const { return FVodDropDown; }
    void SetVodDropDown(TVodCustomDropDown* v) { FVodDropDown = v; }
    TScrollBox* ScrollBox() const { return FScrollBox; }
    // The bottom-right 10 x 10 pixels size the window.
    bool Sizeable() const { return FSizeable; }
    void SetSizeable(bool v) { FSizeable = v; }
    bool CancelOnDeActivate() const { return FCancelOnDeActivate; }
    void SetCancelOnDeActivate(bool v) { FCancelOnDeActivate = v; }
    // Descendants set it around pop-ups of their own.
    bool BlockActivate() const { return FBlockActivate; }
    void SetBlockActivate(bool v) { FBlockActivate = v; }
    bool IsDeactivating() const { return FIsDeactivating; }
    void SetIsDeactivating(bool v) { FIsDeactivating = v; }

    // Creates or refreshes header and footer from the edit's appearances.
    void InitializeAndUpdate();
    virtual void UpdateSize() {}

    TNotifyEvent OnSizing;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;
    void AdjustClientRect(TRect& Rect) override;
    void PaintWindow(HDC DC) override;
    void DoHide() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void PaintBackground(TCanvas* Canvas);
    void WMActivateDropDown(TMessage& M);

    DWORD FDeActivate = 0;
    bool FShadow = true;
    TVodFooter* FFooter = nullptr;
    TVodHeader* FHeader = nullptr;
    TVodCustomDropDown* FVodDropDown = nullptr;
    TScrollBox* FScrollBox = nullptr;
    bool FSizeable = false;
    bool FCancelOnDeActivate = true;
    bool FBlockActivate = false;
    bool FIsDeactivating = false;
};
