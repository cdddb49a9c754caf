// TCustomEdit, TCustomMemo and the memo's lines: the class library's view
// of the "EDIT" window class.
#include <algorithm>

#include "platform/gfx/Gdi.h"
#include "platform/ui/StdCtrls_Edit.h"

// ---------------------------------------------------------------------------
// TCustomEdit

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner)
{
    RegisterEditClass();
    FControlStyle = TControlStyle{csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight};
    FColor = clWindow;
    FParentColor = false;
    FTabStop = true;
    SetBounds(0, 0, 121, 21);
}

TCustomEdit::~TCustomEdit()
{
    if (FBrush) DeleteObject(FBrush);
}

DWORD TCustomEdit::EditStyle() const
{
    DWORD st = ES_AUTOHSCROLL | ES_AUTOVSCROLL;
    if (FReadOnly) st |= ES_READONLY;
    if (FPasswordChar) st |= ES_PASSWORD;
    if (FNumbersOnly) st |= ES_NUMBER;
    if (!FHideSelection) st |= ES_NOHIDESEL;
    if (FCharCase == ecUpperCase) st |= ES_UPPERCASE;
    if (FCharCase == ecLowerCase) st |= ES_LOWERCASE;
    if (FAlignment == taRightJustify) st |= ES_RIGHT;
    if (FAlignment == taCenter) st |= ES_CENTER;
    return st;
}

void TCustomEdit::CreateParams(TCreateParams& P)
{
    RegisterEditClass();
    TWinControl::CreateParams(P);
    CreateSubClass(P, L"EDIT");
    P.Style |= EditStyle();
    if (FBorderStyle == bsSingle) P.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::CreateWnd()
{
    TWinControl::CreateWnd();
    HWND h = FHandle;
    if (FMaxLength) SendMessage(h, EM_LIMITTEXT, WPARAM(FMaxLength), 0);
    if (FPasswordChar) SendMessage(h, EM_SETPASSWORDCHAR, WPARAM(FPasswordChar), 0);
    if (!FTextHint.empty()) SendMessage(h, EM_SETCUEBANNER, 0, LPARAM(FTextHint.c_str()));
    if (FHaveSaved) {
        SendMessage(h, EM_SETSEL, WPARAM(FSavedSelStart), LPARAM(FSavedSelEnd));
        SendMessage(h, EM_SETMODIFY, FSavedModified, 0);
        FHaveSaved = false;
    }
    AdjustHeight();
}

void TCustomEdit::DestroyWnd()
{
    if (FHandle) {
        DWORD a = 0, b = 0;
        SendMessage(FHandle, EM_GETSEL, WPARAM(&a), LPARAM(&b));
        FSavedSelStart = Integer(a);
        FSavedSelEnd = Integer(b);
        FSavedModified = SendMessage(FHandle, EM_GETMODIFY, 0, 0) != 0;
        FHaveSaved = true;
    }
    TWinControl::DestroyWnd();
}

void TCustomEdit::AdjustHeight()
{
    if (!FAutoSize || (EditStyle() & ES_MULTILINE)) return;
    HDC dc = CreateScreenIC();
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    TEXTMETRICW tm{};
    GetTextMetrics(dc, &tm);
    SelectObject(dc, old);
    DeleteDC(dc);
    // Room for the text, the border and a little air above and below it.
    SetHeight(tm.tmHeight + 8);
}

void TCustomEdit::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case CN_COMMAND:
        if (HIWORD(M.WParam) == EN_CHANGE) Change();
        return;
    case CN_CTLCOLOREDIT: case CN_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(M.WParam);
        SetTextColor(dc, COLORREF(ColorToRGB(Font()->Color())));
        SetBkColor(dc, COLORREF(ColorToRGB(FColor)));
        if (!FBrush || FBrushColor != FColor) {
            if (FBrush) DeleteObject(FBrush);
            FBrush = CreateSolidBrush(COLORREF(ColorToRGB(FColor)));
            FBrushColor = FColor;
        }
        M.Result = LRESULT(FBrush);
        return;
    }
    case CM_TEXTCHANGED:
        TWinControl::Dispatch(M);
        // A window that reports changes itself already called Change.
        if (!FHandle || (EditStyle() & ES_MULTILINE)) Change();
        return;
    case CM_FONTCHANGED:
        TWinControl::Dispatch(M);
        AdjustHeight();
        return;
    default: break;
    }
    TWinControl::Dispatch(M);
}

void TCustomEdit::Change()
{
    if (OnChange) OnChange(this);
}

void TCustomEdit::DoEnter()
{
    // Tabbing in selects the text; a click places the caret instead.
    if (FAutoSelect && GetKeyState(VK_LBUTTON) >= 0 && !(EditStyle() & ES_MULTILINE)) SelectAll();
    TWinControl::DoEnter();
}

void TCustomEdit::SetMaxLength(Integer v)
{
    FMaxLength = std::max(v, 0);
    if (FHandle) SendMessage(FHandle, EM_LIMITTEXT, WPARAM(FMaxLength), 0);
}

void TCustomEdit::SetReadOnly(bool v)
{
    FReadOnly = v;
    if (FHandle) SendMessage(FHandle, EM_SETREADONLY, v, 0);
}

void TCustomEdit::SetPasswordChar(wchar_t v)
{
    if (FPasswordChar == v) return;
    FPasswordChar = v;
    if (FHandle) {
        SendMessage(FHandle, EM_SETPASSWORDCHAR, WPARAM(v), 0);
        Invalidate();
    }
}

void TCustomEdit::SetCharCase(TEditCharCase v)
{
    if (FCharCase == v) return;
    FCharCase = v;
    RecreateWnd();
}

void TCustomEdit::SetNumbersOnly(bool v)
{
    if (FNumbersOnly == v) return;
    FNumbersOnly = v;
    RecreateWnd();
}

void TCustomEdit::SetAlignment(TAlignment v)
{
    if (FAlignment == v) return;
    FAlignment = v;
    RecreateWnd();
}

void TCustomEdit::SetAutoSize(bool v)
{
    if (FAutoSize == v) return;
    FAutoSize = v;
    AdjustHeight();
}

void TCustomEdit::SetBorderStyle(TBorderStyle v)
{
    if (FBorderStyle == v) return;
    FBorderStyle = v;
    RecreateWnd();
}

void TCustomEdit::SetHideSelection(bool v)
{
    if (FHideSelection == v) return;
    FHideSelection = v;
    RecreateWnd();
}

void TCustomEdit::SetTextHint(const String& v)
{
    FTextHint = v;
    if (FHandle) SendMessage(FHandle, EM_SETCUEBANNER, 0, LPARAM(FTextHint.c_str()));
}

Integer TCustomEdit::SelStart()
{
    DWORD a = 0, b = 0;
    SendMessage(Handle(), EM_GETSEL, WPARAM(&a), LPARAM(&b));
    return Integer(a);
}

void TCustomEdit::SetSelStart(Integer v) { SendMessage(Handle(), EM_SETSEL, WPARAM(v), LPARAM(v)); }

Integer TCustomEdit::SelLength()
{
    DWORD a = 0, b = 0;
    SendMessage(Handle(), EM_GETSEL, WPARAM(&a), LPARAM(&b));
    return Integer(b) - Integer(a);
}

void TCustomEdit::SetSelLength(Integer v)
{
    Integer start = SelStart();
    SendMessage(Handle(), EM_SETSEL, WPARAM(start), LPARAM(start + v));
    SendMessage(Handle(), EM_SCROLLCARET, 0, 0);
}

String TCustomEdit::SelText()
{
    DWORD a = 0, b = 0;
    SendMessage(Handle(), EM_GETSEL, WPARAM(&a), LPARAM(&b));
    String t = TWinControl::GetText();   // the window's own text, whatever descendants make of Text
    a = std::min<DWORD>(a, DWORD(t.size()));
    b = std::clamp<DWORD>(b, a, DWORD(t.size()));
    return t.substr(a, b - a);
}

void TCustomEdit::SetSelText(const String& v) { SendMessage(Handle(), EM_REPLACESEL, 0, LPARAM(v.c_str())); }

void TCustomEdit::SelectAll()
{
    if (FHandle) SendMessage(FHandle, EM_SETSEL, 0, -1);
}

bool TCustomEdit::Modified()
{
    if (!FHandle) return FHaveSaved && FSavedModified;
    return SendMessage(FHandle, EM_GETMODIFY, 0, 0) != 0;
}

void TCustomEdit::SetModified(bool v)
{
    if (FHandle) {
        SendMessage(FHandle, EM_SETMODIFY, v, 0);
    } else {
        FSavedModified = v;
        FHaveSaved = true;
    }
}

void TCustomEdit::Clear() { SetText(L""); }
void TCustomEdit::ClearSelection() { SendMessage(Handle(), WM_CLEAR, 0, 0); }
void TCustomEdit::CopyToClipboard() { SendMessage(Handle(), WM_COPY, 0, 0); }
void TCustomEdit::CutToClipboard() { SendMessage(Handle(), WM_CUT, 0, 0); }
void TCustomEdit::PasteFromClipboard() { SendMessage(Handle(), WM_PASTE, 0, 0); }
void TCustomEdit::Undo() { SendMessage(Handle(), WM_UNDO, 0, 0); }
bool TCustomEdit::CanUndo() { return FHandle && SendMessage(FHandle, EM_CANUNDO, 0, 0) != 0; }
void TCustomEdit::ClearUndo() { SendMessage(Handle(), EM_EMPTYUNDOBUFFER, 0, 0); }

// ---------------------------------------------------------------------------
// TCustomMemo

TCustomMemo::TCustomMemo(TComponent* AOwner) : TCustomEdit(AOwner)
{
    FLines = std::make_unique<TMemoStrings>(this);
    FAutoSize = false;
    FControlStyle.Exclude(csFixedHeight);
    SetBounds(0, 0, 185, 89);
}

TCustomMemo::~TCustomMemo() = default;

DWORD TCustomMemo::EditStyle() const
{
    DWORD st = TCustomEdit::EditStyle() | ES_MULTILINE;
    st &= ~DWORD(ES_PASSWORD);
    if (FWordWrap && FScrollBars != ssHorizontal && FScrollBars != ssBoth) st &= ~DWORD(ES_AUTOHSCROLL);
    return st;
}

void TCustomMemo::CreateParams(TCreateParams& P)
{
    TCustomEdit::CreateParams(P);
    if (FScrollBars == ssVertical || FScrollBars == ssBoth) P.Style |= WS_VSCROLL;
    if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) P.Style |= WS_HSCROLL;
}

void TCustomMemo::Dispatch(TMessage& M)
{
    if (M.Msg == WM_GETDLGCODE) {
        TCustomEdit::Dispatch(M);
        if (FWantTabs) M.Result |= DLGC_WANTTAB;
        else M.Result &= ~LRESULT(DLGC_WANTTAB);
        if (!FWantReturns) M.Result &= ~LRESULT(DLGC_WANTALLKEYS);
        return;
    }
    TCustomEdit::Dispatch(M);
}

void TCustomMemo::KeyPress(wchar_t& Key)
{
    TCustomEdit::KeyPress(Key);
    if (Key == L'\r' && !FWantReturns) Key = 0;
    if (Key == L'\t' && !FWantTabs) Key = 0;
}

void TCustomMemo::SetWordWrap(bool v)
{
    if (FWordWrap == v) return;
    FWordWrap = v;
    RecreateWnd();
}

void TCustomMemo::SetScrollBars(TScrollStyle v)
{
    if (FScrollBars == v) return;
    FScrollBars = v;
    RecreateWnd();
}

TPoint TCustomMemo::CaretPos()
{
    HWND h = Handle();
    DWORD a = 0, b = 0;
    SendMessage(h, EM_GETSEL, WPARAM(&a), LPARAM(&b));
    // The caret is at the selection's end the user moved; the edit keeps the
    // anchor, so compare with the end reported.
    Integer caret = Integer(b);
    Integer line = Integer(SendMessage(h, EM_LINEFROMCHAR, WPARAM(caret), 0));
    Integer start = Integer(SendMessage(h, EM_LINEINDEX, WPARAM(line), 0));
    return {caret - start, line};
}

// ---------------------------------------------------------------------------
// TMemoStrings

namespace {

// Replaces characters [a, b) of the memo's text: through the window when it
// exists (the caret follows the new text and the change is reported once),
// else on the kept text.
void ReplaceRange(TCustomMemo* memo, Integer a, Integer b, const String& s)
{
    if (memo->HandleAllocated()) {
        SendMessage(memo->Handle(), EM_SETSEL, WPARAM(a), LPARAM(b));
        SendMessage(memo->Handle(), EM_REPLACESEL, 0, LPARAM(s.c_str()));
        return;
    }
    String t = memo->Text();
    memo->SetText(t.substr(0, size_t(a)) + s + t.substr(size_t(b)));
}

}  // namespace

Integer TMemoStrings::GetCount() const
{
    String t = FMemo->Text();
    if (t.empty()) return 0;
    std::vector<TEditLine> lines = SplitEditLines(t);
    Integer n = Integer(lines.size());
    if (lines.back().Length == 0) --n;   // the empty line after the last break
    return n;
}

String TMemoStrings::Get(Integer Index) const
{
    String t = FMemo->Text();
    std::vector<TEditLine> lines = SplitEditLines(t);
    if (Index < 0 || Index >= GetCount()) Error(Index);
    return t.substr(size_t(lines[Index].Start), size_t(lines[Index].Length));
}

void TMemoStrings::Put(Integer Index, const String& S)
{
    String t = FMemo->Text();
    std::vector<TEditLine> lines = SplitEditLines(t);
    if (Index < 0 || Index >= GetCount()) Error(Index);
    ReplaceRange(FMemo, lines[Index].Start, lines[Index].Start + lines[Index].Length, S);
}

void TMemoStrings::Insert(Integer Index, const String& S)
{
    String t = FMemo->Text();
    std::vector<TEditLine> lines = SplitEditLines(t);
    if (Index < 0 || Index > GetCount()) Error(Index);
    if (Index < Integer(lines.size())) {
        ReplaceRange(FMemo, lines[Index].Start, lines[Index].Start, S + L"\r\n");
    } else {
        // After a last line that has no break.
        Integer end = Integer(t.size());
        ReplaceRange(FMemo, end, end, L"\r\n" + S);
    }
}

void TMemoStrings::Delete(Integer Index)
{
    String t = FMemo->Text();
    std::vector<TEditLine> lines = SplitEditLines(t);
    if (Index < 0 || Index >= GetCount()) Error(Index);
    const TEditLine& l = lines[Index];
    ReplaceRange(FMemo, l.Start, l.Start + l.Length + l.Break, L"");
}

void TMemoStrings::Clear() { FMemo->Clear(); }

void TMemoStrings::SetText(const String& Value)
{
    // Every kind of line break becomes CRLF, the edit's own.
    String t;
    t.reserve(Value.size());
    for (size_t i = 0; i < Value.size(); ++i) {
        wchar_t c = Value[i];
        if (c == L'\r' || c == L'\n') {
            t += L"\r\n";
            if (c == L'\r' && i + 1 < Value.size() && Value[i + 1] == L'\n') ++i;
        } else {
            t += c;
        }
    }
    FMemo->SetText(t);
}
