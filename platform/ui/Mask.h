// The masked edit: an edit whose text follows an edit mask (see
// MaskEditModel.h) — typing fills character positions and skips literals,
// deleting blanks positions, the clipboard works position by position, and
// Text reads the value without the blanks. With an empty mask it is a
// plain edit.
#pragma once

#include "platform/base/Exceptions.h"
#include "platform/ui/MaskEditModel.h"
#include "platform/ui/StdCtrls_Edit.h"

// Raised when a masked edit is left (or validated) with a required
// position still empty.
VEL_DECLARE_EXCEPTION(EDBEditError, Exception)

class TCustomMaskEdit : public TCustomEdit {
    VEL_CLASS(TCustomMaskEdit, TCustomEdit)
public:
    explicit TCustomMaskEdit(TComponent* AOwner);

    // "mask;save-literals;blank". Setting it keeps the value (Text) as far
    // as it fits the new mask.
    const String& EditMask() const { return FMask.EditMask(); }
    void SetEditMask(const String& v);
    bool IsMasked() const { return FMask.IsMasked(); }
    // What the edit shows: literals, entered characters and blank characters.
    String EditText();
    void SetEditText(const String& v);
    // The value: empty positions as spaces, literals when the mask saves them.
    String GetText() override;
    void SetText(const String& v) override;
    // Raises EDBEditError, with the caret put on the first empty required
    // position, unless every required position is filled.
    virtual void ValidateEdit();

protected:
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(wchar_t& Key) override;
    void Dispatch(TMessage& Message) override;
    void CreateWnd() override;
    void DoEnter() override;
    void DoExit() override;

    TMaskEditModel FMask;

private:
    // The window's selection into the model (the mouse may have moved it).
    void PullSelection();
    // The model's text and selection into the window.
    void Show(TMaskResult r);
    void PushText();
    void CutMasked();
    void PasteMasked();

    bool FUpdating = false;
    String FOldEditText;   // what Escape returns to
};

class TMaskEdit : public TCustomMaskEdit {
    VEL_CLASS(TMaskEdit, TCustomMaskEdit)
public:
    explicit TMaskEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {}
};
