// Edits: the "EDIT" window class (single- and multi-line edits over
// TEditModel, with the edit messages and notifications), and the
// class-library controls TCustomEdit, TEdit, TCustomMemo and TMemo.
#pragma once

#include <memory>

#include "platform/base/Lists.h"
#include "platform/ui/Controls.h"
#include "platform/ui/EditModel.h"
#include "platform/ui/Forms.h"

// Registers the "EDIT" window class unless it is there (a reset of the
// window system may remove it; creating an edit control registers it again).
void RegisterEditClass();
// The class's window procedure, for code that calls it directly.
LRESULT EditWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);

// EM_SHOWBALLOONTIP.
struct EDITBALLOONTIP {
    DWORD cbStruct = sizeof(EDITBALLOONTIP);
    const wchar_t* pszTitle = nullptr;
    const wchar_t* pszText = nullptr;
    int ttiIcon = TTI_NONE;
};
// The balloon an edit shows now (EM_SHOWBALLOONTIP, or the complaint about
// a character a numbers-only edit refused); false when none. The balloon
// goes with the focus or EM_HIDEBALLOONTIP.
bool EditBalloon(HWND edit, String* title, String* text, int* icon = nullptr);

// How long the caret stays on and off (milliseconds).
constexpr UINT kEditCaretBlinkMs = 530;

// The class library's names for the edit model's letter cases.
constexpr TEditCharCase ecNormal = TEditCharCase::Normal;
constexpr TEditCharCase ecUpperCase = TEditCharCase::Upper;
constexpr TEditCharCase ecLowerCase = TEditCharCase::Lower;

class TCustomEdit : public TWinControl {
    VEL_CLASS(TCustomEdit, TWinControl)
public:
    explicit TCustomEdit(TComponent* AOwner);
    ~TCustomEdit() override;

    // 0: no limit.
    Integer MaxLength() const { return FMaxLength; }
    void SetMaxLength(Integer v);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v);
    // 0: the text shows.
    wchar_t PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(wchar_t v);
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase v);
    bool NumbersOnly() const { return FNumbersOnly; }
    void SetNumbersOnly(bool v);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);
    // Entering the edit with the keyboard selects all of its text.
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool v) { FAutoSelect = v; }
    // The height follows the font (single-line edits).
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool v);
    // bsNone or bsSingle (a sunken client edge).
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle v);
    // False: the selection stays visible while the edit has no focus.
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool v);
    // Grey text shown while the edit is empty.
    const String& TextHint() const { return FTextHint; }
    void SetTextHint(const String& v);

    Integer SelStart();
    void SetSelStart(Integer v);
    Integer SelLength();
    void SetSelLength(Integer v);
    String SelText();
    void SetSelText(const String& v);
    void SelectAll();
    bool Modified();
    void SetModified(bool v);
    void Clear();
    void ClearSelection();
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    void Undo();
    bool CanUndo();
    void ClearUndo();

    TNotifyEvent OnChange;

protected:
    virtual void Change();
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& Message) override;
    TColor InitialColor() const override { return clWindow; }
    void DoEnter() override;
    void AdjustHeight();
    // The edit's window style for the properties (ES_...).
    virtual DWORD EditStyle() const;

    Integer FMaxLength = 0;
    bool FReadOnly = false;
    wchar_t FPasswordChar = 0;
    TEditCharCase FCharCase = ecNormal;
    bool FNumbersOnly = false;
    TAlignment FAlignment = taLeftJustify;
    bool FAutoSelect = true;
    bool FAutoSize = true;
    TBorderStyle FBorderStyle = bsSingle;
    bool FHideSelection = true;
    String FTextHint;
    HBRUSH FBrush = nullptr;
    TColor FBrushColor = clNone;
    // Kept while the window is re-created.
    bool FSavedModified = false;
    Integer FSavedSelStart = 0, FSavedSelEnd = 0;
    bool FHaveSaved = false;
};

class TEdit : public TCustomEdit {
    VEL_CLASS(TEdit, TCustomEdit)
public:
    explicit TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
};

class TCustomMemo;

// The lines of a memo: hard lines of the window's text (a final empty line
// after the last break is not counted).
class TMemoStrings : public TStrings {
public:
    explicit TMemoStrings(TCustomMemo* memo) : FMemo(memo) {}
    void Insert(Integer Index, const String& S) override;
    void Delete(Integer Index) override;
    void Clear() override;
    void SetText(const String& Value) override;

protected:
    String Get(Integer Index) const override;
    Integer GetCount() const override;
    void Put(Integer Index, const String& S) override;

private:
    TCustomMemo* FMemo;
};

class TCustomMemo : public TCustomEdit {
    VEL_CLASS(TCustomMemo, TCustomEdit)
public:
    explicit TCustomMemo(TComponent* AOwner);
    ~TCustomMemo() override;

    TStrings* Lines() { return FLines.get(); }
    void SetLines(TStrings* v) { FLines->Assign(v); }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle v);
    // False: Enter goes to the form (default button) instead of breaking the line.
    bool WantReturns() const { return FWantReturns; }
    void SetWantReturns(bool v) { FWantReturns = v; }
    // True: Tab types a tab instead of moving the focus.
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool v) { FWantTabs = v; }
    // The caret's line and column (0-based).
    TPoint CaretPos();

protected:
    DWORD EditStyle() const override;
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;
    void KeyPress(wchar_t& Key) override;

    std::unique_ptr<TMemoStrings> FLines;
    bool FWordWrap = true;
    TScrollStyle FScrollBars = ssNone;
    bool FWantReturns = true;
    bool FWantTabs = false;
};

class TMemo : public TCustomMemo {
    VEL_CLASS(TMemo, TCustomMemo)
public:
    explicit TMemo(TComponent* AOwner) : TCustomMemo(AOwner) {}
};
