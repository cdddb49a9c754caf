// vurcheck: the base of the components that check and correct cell texts.
// The grid runs its checker over a cell, a row, a column or a range; this
// base checks nothing and tells the grid through its flags which of its
// operations to call.
#pragma once

#include "platform/base/Objects.h"
#include "platform/ui/Forms.h"

class TVodStringGridCheck : public TComponent {
    VEL_CLASS(TVodStringGridCheck, TComponent)
public:
    explicit TVodStringGridCheck(TComponent* AOwner) : TComponent(AOwner) {}

    // The text with its errors marked; here the text unchanged.
    virtual String MarkError(Integer ACol, Integer ARow, const String& s);
    // The corrected text; here the text unchanged.
    virtual String Correct(Integer ACol, Integer ARow, const String& s);
    virtual void StartCheck() {}
    virtual void StopCheck() {}

    bool GotoCell() const { return FGotoCell; }
    void SetGotoCell(bool v) { FGotoCell = v; }
    bool AutoCorrect() const { return FAutoCorrect; }
    void SetAutoCorrect(bool v) { FAutoCorrect = v; }
    bool AutoMarkError() const { return FAutoMarkError; }
    void SetAutoMarkError(bool v) { FAutoMarkError = v; }
    bool UseCorrect() const { return FUseCorrect; }
    void SetUseCorrect(bool v) { FUseCorrect = v; }
    bool UseMarkError() const { return FUseMarkError; }
    void SetUseMarkError(bool v) { FUseMarkError = v; }
    TComponent* Grid() const { return FGrid; }
    // Set by the grid's CellChecker property.
    void SetGrid(TComponent* v);
    TModalResult LastResult() const { return FLastResult; }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

    bool FGotoCell = false;
    bool FAutoCorrect = false;
    bool FAutoMarkError = false;
    bool FUseCorrect = false;
    bool FUseMarkError = false;
    TComponent* FGrid = nullptr;
    TModalResult FLastResult = mrOk;
};
