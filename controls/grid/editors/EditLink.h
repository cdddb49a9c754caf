// Edit links: any control an application supplies as the editor of the
// grid's edCustom cells, wrapped in a component derived from TEditLink that
// makes the control, moves values between it and the grid and reports its
// keys. The control lives over the cell (esInplace; its window procedure
// is the grid's while it has the focus) or on a borderless stay-on-top
// popup form the link owns (esPopup).
#pragma once

#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"

class TVodStringGrid;

enum TEditStyle { esInplace, esPopup };

class TEditLink : public TComponent {
    VEL_CLASS(TEditLink, TComponent)
public:
    explicit TEditLink(TComponent* AOwner);
    ~TEditLink() override;

    // The key handling of every link: a descendant routes its control's
    // key-down events here.
    virtual void EditKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
    virtual TWinControl* GetEditControl() { return nullptr; }
    virtual void CreateEditor(TWinControl* AParent) {}
    virtual void DestroyEditor() {}
    virtual void SetFocus(bool Value);
    virtual void SetRect(TRect R);
    virtual void SetVisible(bool Value);
    virtual void SetProperties() {}
    virtual void SetCellProps(TColor AColor, TFont* AFont) {}
    virtual String GetEditorValue() { return String(); }
    virtual void SetEditorValue(const String& Value) {}

    void EditExit(TObject* Sender);
    // The popup form's deactivation.
    void FormExit(TObject* Sender);
    String GetCellValue();
    void SetCellValue(const String& S);
    TWinControl* GetParent();
    void HideEditor();
    void RestoreWinProc();

    // The grid the link serves now (set by the grid when editing starts).
    TVodStringGrid* Grid() const { return FOwner; }
    void SetGrid(TVodStringGrid* Value) { FOwner = Value; }
    // The link's own popup form (made on first popup use, freed with the link).
    TForm* PopupForm() const { return FPopupForm; }
    // Makes the popup form when there is none yet.
    TForm* NeedPopupForm();
    TPoint EditCell() const { return FEditCell; }
    void SetEditCell(TPoint Value) { FEditCell = Value; }
    bool SubClassed() const { return FSubClassed; }
    bool ForcedExit() const { return FForcedExit; }

    bool WantKeyLeftRight = false;
    bool WantKeyUpDown = false;
    bool WantKeyHomeEnd = false;
    bool WantKeyPriorNext = false;
    bool WantKeyReturn = false;
    bool WantKeyEscape = false;
    TEditStyle EditStyle = esInplace;
    Integer PopupWidth = 0, PopupHeight = 0;
    Integer Tag = 0;
    bool AutoPopupWidth = false;
    // Screen pixels; -1 puts the popup at the cell.
    Integer PopupLeft = -1, PopupTop = -1;
    bool WantReturns = false, WantTabs = false;
    // The control edits markup: the grid hands it the text with its tags.
    bool WantHTML = false;
    // Stored only; a descendant link may act on it.
    bool KeepFocus = false;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TVodStringGrid;
    // Leaves the control: the grid gets the focus, the value goes back.
    void ForceExit();

    TVodStringGrid* FOwner = nullptr;
    TForm* FPopupForm = nullptr;
    bool FForcedExit = false;
    TPoint FEditCell{-1, -1};
    bool FSubClassed = false;
    TWinControl* FSubClassedControl = nullptr;
};
