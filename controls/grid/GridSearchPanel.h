// The grid's search footer panel: a panel at the grid's bottom edge with a
// search edit, find-next and find-previous buttons, a close button, a
// toggle that highlights every match and a match-case box. The grid makes
// it, copies the search footer settings into it and answers its six events.
#pragma once

#include "controls/grid/VodObj.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/StdCtrls.h"

class TVodStringGrid;

// A single-line search edit that hands Return to its owner: Return fires
// OnReturn, Ctrl+Return OnCtrlReturn, and neither ever enters a line break.
class TRetEdit : public TEdit {
    VEL_CLASS(TRetEdit, TEdit)
public:
    explicit TRetEdit(TComponent* AOwner) : TEdit(AOwner) {}
    TNotifyEvent OnReturn, OnCtrlReturn;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;
};

class TSearchPanel : public TCustomPanel {
    VEL_CLASS(TSearchPanel, TCustomPanel)
public:
    // The owner must be a string grid for the panel to follow its grid
    // lines; the children belong to the panel.
    explicit TSearchPanel(TComponent* AOwner);
    TVodStringGrid* Grid() const { return FGrid; }
    TColor ColorTo() const { return FColorTo; }
    // Stores and repaints.
    void SetColorTo(TColor v);

    TRetEdit* EditControl() const { return FEdit; }
    TVodGridButton* ExitButton() const { return FExit; }
    TVodGridButton* ForwardButton() const { return FForward; }
    TVodGridButton* BackwardButton() const { return FBackward; }
    TVodGridButton* HighLightButton() const { return FHighLight; }
    TVodCheckBox* MatchCase() const { return FMatchCase; }

    TNotifyEvent OnForwardClick, OnBackwardClick, OnEditChange, OnExitClick, OnHighLightClick, OnMatchCaseClick;
    // Set by the grid from its search footer settings.
    String FindNextCaption, FindPrevCaption, MatchCaseCaption, HighLightCaption;
    String HintFindNext, HintFindPrev, HintClose, HintHighlight;

protected:
    void CreateWnd() override;
    void Paint() override;

private:
    void EditChanged(TObject* Sender);
    TVodStringGrid* FGrid = nullptr;
    TRetEdit* FEdit = nullptr;
    TVodGridButton *FExit = nullptr, *FForward = nullptr, *FBackward = nullptr, *FHighLight = nullptr;
    TVodCheckBox* FMatchCase = nullptr;
    TColor FColorTo = clNone;
};
