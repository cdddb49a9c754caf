// TCustomMaskEdit: the edit window shows the mask model's edit text; the
// keys, characters and clipboard messages that would change it go through
// the model instead of the window.
#include "platform/ui/Mask.h"

#include "platform/ui/Clipbrd.h"

TCustomMaskEdit::TCustomMaskEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

void TCustomMaskEdit::SetEditMask(const String& v)
{
    String value = GetText();
    FMask.SetEditMask(v);
    if (IsMasked()) {
        SetMaxLength(FMask.MaskLength());
        FMask.SetText(value);
        PushText();
    } else {
        SetMaxLength(0);
        TCustomEdit::SetText(value);
    }
}

String TCustomMaskEdit::EditText() { return IsMasked() ? FMask.EditText() : TCustomEdit::GetText(); }

void TCustomMaskEdit::SetEditText(const String& v)
{
    if (!IsMasked()) {
        TCustomEdit::SetText(v);
        return;
    }
    FMask.SetEditText(v);
    PushText();
}

String TCustomMaskEdit::GetText() { return IsMasked() ? FMask.Text() : TCustomEdit::GetText(); }

void TCustomMaskEdit::SetText(const String& v)
{
    if (!IsMasked()) {
        TCustomEdit::SetText(v);
        return;
    }
    FMask.SetText(v);
    PushText();
}

// Shows the model's edit text as the window text (a change when it differs).
void TCustomMaskEdit::PushText()
{
    String shown = FMask.EditText();
    if (TCustomEdit::GetText() == shown) return;
    FUpdating = true;
    try {
        Perform(WM_SETTEXT, 0, LPARAM(shown.c_str()));
        Perform(CM_TEXTCHANGED);
    } catch (...) {
        FUpdating = false;
        throw;
    }
    FUpdating = false;
}

void TCustomMaskEdit::ValidateEdit()
{
    Integer missing = -1;
    if (!IsMasked() || FMask.IsComplete(&missing)) return;
    if (HandleAllocated() && missing >= 0) SendMessage(FHandle, EM_SETSEL, WPARAM(missing), LPARAM(missing));
    throw EDBEditError(L"Invalid input value: every required position of the mask must be filled");
}

void TCustomMaskEdit::CreateWnd()
{
    TCustomEdit::CreateWnd();
    if (IsMasked()) {
        // The kept window text may be the value; the window shows the edit text.
        bool modified = Modified();
        PushText();
        SetModified(modified);
    }
}

void TCustomMaskEdit::DoEnter()
{
    FOldEditText = EditText();
    TCustomEdit::DoEnter();
}

void TCustomMaskEdit::DoExit()
{
    if (IsMasked() && Modified()) ValidateEdit();
    TCustomEdit::DoExit();
}

void TCustomMaskEdit::PullSelection()
{
    if (!HandleAllocated()) return;
    DWORD a = 0, b = 0;
    SendMessage(FHandle, EM_GETSEL, WPARAM(&a), LPARAM(&b));
    if (FMask.SelStart() != Integer(a) || FMask.SelEnd() != Integer(b)) FMask.SetSel(Integer(a), Integer(b));
}

void TCustomMaskEdit::Show(TMaskResult r)
{
    if (r == TMaskResult::Rejected) MessageBeep(0);
    if (!HandleAllocated()) return;
    if (r == TMaskResult::Changed) {
        String shown = FMask.EditText();
        FUpdating = true;
        try {
            Perform(WM_SETTEXT, 0, LPARAM(shown.c_str()));
        } catch (...) {
            FUpdating = false;
            throw;
        }
        FUpdating = false;
        SendMessage(FHandle, EM_SETMODIFY, TRUE, 0);
    }
    Integer caret = FMask.Caret();
    Integer anchor = caret == FMask.SelStart() ? FMask.SelEnd() : FMask.SelStart();
    SendMessage(FHandle, EM_SETSEL, WPARAM(anchor), LPARAM(caret));
}

void TCustomMaskEdit::CutMasked()
{
    if (ReadOnly()) {
        MessageBeep(0);
        return;
    }
    PullSelection();
    if (FMask.SelStart() == FMask.SelEnd()) return;
    if (!FPasswordChar) {
        String shown = FMask.EditText();
        if (!SetClipboardText(shown.substr(size_t(FMask.SelStart()), size_t(FMask.SelEnd() - FMask.SelStart()))))
            return;
    }
    Show(FMask.Delete());
}

void TCustomMaskEdit::PasteMasked()
{
    if (ReadOnly()) {
        MessageBeep(0);
        return;
    }
    String text;
    if (!GetClipboardText(text)) return;
    PullSelection();
    Show(FMask.Paste(text));
}

void TCustomMaskEdit::KeyDown(Word& Key, TShiftState Shift)
{
    TCustomEdit::KeyDown(Key, Shift);
    if (!IsMasked() || Key == 0) return;
    bool shift = Shift.Contains(ssShift), ctrl = Shift.Contains(ssCtrl);
    switch (Key) {
    case VK_ESCAPE:
        // Back to the text the edit had when it was entered.
        if (Modified()) {
            FMask.SetEditText(FOldEditText);
            PushText();
            SetModified(false);
            SelectAll();
            Key = 0;
        }
        return;
    case VK_LEFT: case VK_RIGHT: case VK_HOME: case VK_END:
        PullSelection();
        Show(FMask.KeyDown(Key, shift));
        Key = 0;
        return;
    case VK_DELETE:
        if (shift && !ctrl) CutMasked();
        else if (ReadOnly()) MessageBeep(0);
        else {
            PullSelection();
            Show(FMask.Delete());
        }
        Key = 0;
        return;
    case VK_INSERT:
        if (shift && !ctrl) {
            PasteMasked();
            Key = 0;
        }
        return;   // Ctrl+Insert copies as in any edit
    default: return;
    }
}

void TCustomMaskEdit::KeyPress(wchar_t& Key)
{
    TCustomEdit::KeyPress(Key);
    if (!IsMasked() || Key == 0) return;
    switch (Key) {
    case 0x01: case 0x03: return;                      // select all, copy: as in any edit
    case 0x16: PasteMasked(); Key = 0; return;         // Ctrl+V
    case 0x18: CutMasked(); Key = 0; return;           // Ctrl+X
    case L'\r': case L'\t': case 0x1B: return;         // not characters of the text
    default: break;
    }
    if (ReadOnly()) return;   // the edit refuses and complains
    if (Key == L'\b') {
        PullSelection();
        Show(FMask.Backspace());
    } else if (Key >= 0x20) {
        PullSelection();
        Show(FMask.TypeChar(Key));
    }
    Key = 0;   // other control characters (undo among them) would break the mask
}

void TCustomMaskEdit::Dispatch(TMessage& M)
{
    if (IsMasked()) {
        switch (M.Msg) {
        case WM_CUT: CutMasked(); return;
        case WM_PASTE: PasteMasked(); return;
        case WM_CLEAR:
            if (ReadOnly()) MessageBeep(0);
            else {
                PullSelection();
                Show(FMask.Delete());
            }
            return;
        case WM_UNDO: case EM_UNDO: M.Result = 0; return;
        case EM_CANUNDO: M.Result = 0; return;
        case CN_COMMAND:
            // A change made to the window from outside (SelText, a message):
            // the model takes the text position by position.
            if (HIWORD(M.WParam) == EN_CHANGE && !FUpdating) {
                FMask.SetEditText(TCustomEdit::GetText());
                PullSelection();
                if (TCustomEdit::GetText() != FMask.EditText()) PushText();
            }
            break;
        default: break;
        }
    }
    TCustomEdit::Dispatch(M);
}
