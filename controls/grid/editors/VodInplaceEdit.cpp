#include "controls/grid/editors/VodInplaceEdit.h"

#include <cwctype>

#include "controls/foundation/VodUtil.h"
#include "controls/grid/VodGrid.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/Clipbrd.h"

TVodInplaceEdit::TVodInplaceEdit(TComponent* AOwner) : TInplaceEdit(AOwner) {}

TVodStringGrid* TVodInplaceEdit::VodGrid() const { return dynamic_cast<TVodStringGrid*>(FGrid); }

void TVodInplaceEdit::SetVAlign(bool Value)
{
    if (FValign == Value) return;
    FValign = Value;
    if (HandleAllocated()) RecreateWnd();
}

void TVodInplaceEdit::SetWordWrap(bool Value)
{
    if (FWordWrap == Value) return;
    FWordWrap = Value;
    if (HandleAllocated()) RecreateWnd();
}

void TVodInplaceEdit::TakeCellLook()
{
    TVodStringGrid* g = VodGrid();
    if (!g) return;
    FColE = g->Col();
    FRowE = g->Row();
    // The cell's colour and font; the grid's own font colour stays as it is.
    TFont* f = g->GetCellFont(g->RealCol(), g->Row());
    if (f) Font()->Assign(f);
}

void TVodInplaceEdit::UpdateContents()
{
    TVodStringGrid* g = VodGrid();
    TInplaceEdit::UpdateContents();
    if (!g) return;
    g->FNoEditChange = false;
    TakeCellLook();
    FLengthLimit = g->MaxEditLength();
    if (FLengthLimit > 0) SetMaxLength(FLengthLimit);
    if (HandleAllocated() && GridUnit().GridEditProp) PostMessage(Handle(), GridUnit().GridEditProp, 0, 0);
}

void TVodInplaceEdit::WndProc(TMessage& M)
{
    TVodStringGrid* g = VodGrid();
    if (g && M.Msg != 0 && M.Msg == GridUnit().GridEditProp) {
        TakeCellLook();
        g->GetEditorProp(g->RealCol(), g->Row(), nullptr);
        return;
    }
    if (M.Msg == WM_SYSKEYDOWN && M.WParam == VK_BACK) FAltBack = true;
    if (M.Msg == WM_SYSKEYUP && M.WParam == VK_BACK) FAltBack = false;
    if (M.Msg == WM_PASTE && g) {
        WMPaste(M);
        return;
    }
    TInplaceEdit::WndProc(M);
}

void TVodInplaceEdit::DoChange()
{
    TVodStringGrid* g = VodGrid();
    if (!g || !Workmode || SelLength() != 0) return;
    if (!g->Lookup() || g->LookupItems()->Count() == 0) return;
    const String text = Text();
    const Integer caret = SelStart();
    String p = text.substr(0, size_t(std::max<Integer>(0, caret)));
    if (p.empty()) return;
    const bool cs = g->LookupCaseSensitive();
    if (!cs) p = UpperCase(p);
    TStrings* items = g->LookupItems();
    for (Integer i = 0; i < items->Count(); ++i) {
        String item = items->Strings(i);
        String cmp = cs ? item : UpperCase(item);
        if (cmp.size() < p.size() || cmp.compare(0, p.size(), p) != 0) continue;
        const String rest = item.substr(p.size(), 255);
        if (rest.empty()) return;
        SetText(text.substr(0, p.size()) + rest);
        SetSelStart(Integer(p.size()));
        SetSelLength(Integer(rest.size()));
        GotKey = false;
        return;
    }
}

void TVodInplaceEdit::CreateParams(TCreateParams& Params)
{
    TInplaceEdit::CreateParams(Params);
    TVodStringGrid* g = VodGrid();
    GotKey = false;
    Workmode = true;
    if (!g) return;
    if (g->InEditMode() && g->EditorControl() == edPassword) Params.Style = (Params.Style | ES_PASSWORD) & ~DWORD(ES_MULTILINE);
}

void TVodInplaceEdit::CreateWnd()
{
    TInplaceEdit::CreateWnd();
    TVodStringGrid* g = VodGrid();
    if (g && g->InEditMode() && g->EditorControl() == edPassword) SetPasswordChar(g->PasswordChar());
}

void TVodInplaceEdit::BoundsChanged() { TInplaceEdit::BoundsChanged(); }

void TVodInplaceEdit::Change()
{
    TInplaceEdit::Change();
    TVodStringGrid* g = VodGrid();
    if (g && !g->FNoEditChange && g->OnEditChange) g->OnEditChange(g, g->Col(), g->Row(), Text());
}

void TVodInplaceEdit::KeyDown(Word& Key, TShiftState Shift)
{
    FSelKeyDown = SelStart();
    if (Key == VK_BACK || Key == VK_DELETE) Workmode = false;
    else Workmode = true;
    if (TVodStringGrid* g = VodGrid()) g->EditorKeyDown(Key, Shift);
    if (Key != 0) TInplaceEdit::KeyDown(Key, Shift);
}

void TVodInplaceEdit::KeyUp(Word& Key, TShiftState Shift)
{
    if (Key == VK_LEFT || Key == VK_RIGHT) return;
    TInplaceEdit::KeyUp(Key, Shift);
    DoChange();
}

void TVodInplaceEdit::KeyPress(wchar_t& Key)
{
    TVodStringGrid* g = VodGrid();
    if (g && Key == L'\r' && !g->Navigation()->LineFeedOnEnter() && !g->ValidateCell(Text())) {
        SetText(g->Cells(g->Col(), g->Row()));
        Key = 0;
        return;
    }
    TInplaceEdit::KeyPress(Key);
}

void TVodInplaceEdit::RestoreAfterRefusal(const String& OldCellText)
{
    TVodStringGrid* g = VodGrid();
    SetText(g->FNewCellText);
    if (g->Navigation()->EditSelectAll()) SelectAll();
    else SetSelStart(GetWindowTextLength(Handle()));
    Invalidate();
    g->FOldCellText = OldCellText;
}

void TVodInplaceEdit::WMKeyDown(TMessage& M)
{
    TVodStringGrid* g = VodGrid();
    if (!g) {
        TInplaceEdit::WMKeyDown(M);
        return;
    }
    g->EditorWMKeyDown(M);
    FOldSelStart = SelStart();
    const Word key = Word(M.WParam);
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    if (key == VK_ESCAPE) {
        // Back to the value the cell had when the edit began, also after
        // typed text was copied into the cell.
        SetText(g->FCellCache);
        g->RestoreCellValue();
        TInplaceEdit::WMKeyDown(M);
        g->HideInplaceEdit();
        return;
    }
    if (key == 'A' && ctrl && GetKeyState(VK_RMENU) >= 0) {
        SelectAll();
        return;
    }
    const String old = g->FOldCellText;
    if (key == VK_RETURN && !ctrl && !g->Navigation()->LineFeedOnEnter()) {
        if (!g->ValidateCell(Text())) {
            RestoreAfterRefusal(old);
            return;
        }
        SetText(g->FNewCellText);
    }
    if (key == VK_TAB && g->NeedsTabValidation()) {
        if (!g->ValidateCell(Text())) {
            RestoreAfterRefusal(old);
            return;
        }
        SetText(g->FNewCellText);
    }
    TInplaceEdit::WMKeyDown(M);
}

void TVodInplaceEdit::WMKeyUp(TMessage& M)
{
    TInplaceEdit::WMKeyUp(M);
    TVodStringGrid* g = VodGrid();
    if (!g || !HandleAllocated()) return;
    const Integer caret = SelStart();
    if (caret > 0) g->EditorNotify(Text(), TPoint{-1, -1}, caret);
    g->EditorFormulaMode(!Text().empty() && Text()[0] == L'=');
}

void TVodInplaceEdit::WMChar(TMessage& M)
{
    TVodStringGrid* g = VodGrid();
    if (!g) {
        TInplaceEdit::WMChar(M);
        return;
    }
    wchar_t ch = wchar_t(M.WParam);
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    if (g->ExcelStyleDecimalSeparator() && ch == L'.' && (M.LParam & 0x400000)) ch = GridDecimalSeparator();
    if (ch == 1) return;
    if (ch == 10 && !(g->Navigation()->AllowCtrlEnter() && (g->WordWrap() || g->Multilinecells()))) return;
    const bool control = ch == 8 || ch == 27 || ch == 13;
    if (FLengthLimit > 0 && Integer(Text().size()) >= FLengthLimit && SelLength() == 0 && !control) return;
    const String text = Text();
    const Integer caret = SelStart();
    const String sel = SelText();
    auto beep = [] { MessageBeep(0); };
    switch (g->EditorControl()) {
    case edNumeric:
    case edPositiveNumeric:
        if (!ctrl) {
            const bool ok = ch == 8 || ch == 9 || ch == 13 || ch == 27 || (ch >= L'0' && ch <= L'9') ||
                            (g->EditorControl() == edNumeric && ch == L'-' && caret == 0 &&
                             text.find(L'-') == String::npos);
            if (!ok) {
                beep();
                return;
            }
        }
        break;
    case edFloat:
    case edPositiveFloat: {
        const wchar_t dec = GridDecimalSeparator();
        if (ch == L'-') {
            if (g->EditorControl() == edPositiveFloat) return;
            const bool holds = sel.find(L'-') != String::npos;
            if ((caret > 0 || text.find(L'-') != String::npos) && !holds) {
                beep();
                return;
            }
        } else if (ch == dec) {
            if (text.find(dec) != String::npos && sel.find(dec) == String::npos) return;
        } else if (ch == GridThousandSeparator()) {
            return;
        } else if (!IsNumericKey(ch)) {
            return;
        }
        break;
    }
    case edCapital:
    case edUpperCase: ch = wchar_t(std::towupper(ch)); break;
    case edLowerCase: ch = wchar_t(std::towlower(ch)); break;
    default: break;
    }
    M.WParam = WPARAM(ch);
    TInplaceEdit::WMChar(M);
    if (g->EditorControl() == edMixedCase && ch >= 32) {
        const Integer pos = SelStart();
        SetText(CapitalizeWords(Text()));
        SetSelStart(pos);
    }
}

void TVodInplaceEdit::WMPaste(TMessage& M)
{
    TVodStringGrid* g = VodGrid();
    String clip = Clipboard()->AsText();
    if (clip.empty()) return;
    if (FLengthLimit >= 1 && Integer(clip.size()) > FLengthLimit) return;
    if (clip.size() >= 2 && clip.compare(clip.size() - 2, 2, L"\r\n") == 0) clip.resize(clip.size() - 2);
    else if (!clip.empty() && (clip.back() == L'\n' || clip.back() == L'\r')) clip.pop_back();
    const String text = Text();
    const Integer s = SelStart(), l = SelLength();
    const String result = text.substr(0, size_t(s)) + clip + text.substr(size_t(s + l));
    if (FLengthLimit >= 1 && Integer(result.size()) > FLengthLimit) return;
    const Byte cls = ClassifyValueText(clip);
    const bool minus = clip.find(L'-') != String::npos;
    switch (g->EditorControl()) {
    case edNumeric: if (cls != 0) return; break;
    case edPositiveNumeric: if (cls != 0 || minus) return; break;
    case edFloat: if (cls != 0 && cls != 1) return; break;
    case edPositiveFloat: if ((cls != 0 && cls != 1) || minus) return; break;
    case edMixedCase: clip = CapitalizeWords(clip); break;
    case edLowerCase: clip = LowerCase(clip); break;
    case edUpperCase: clip = UpperCase(clip); break;
    default: break;
    }
    SetText(text.substr(0, size_t(s)) + clip + text.substr(size_t(s + l)));
    g->SetEditText(g->Col(), g->Row(), Text());
    if (l > 0) {
        SetSelStart(s);
        SetSelLength(Integer(clip.size()));
    } else {
        SetSelStart(s + Integer(clip.size()));
    }
    (void)M;
}

void TVodInplaceEdit::WMKillFocus(TMessage& M)
{
    TVodStringGrid* g = VodGrid();
    if (g) {
        g->FStartEditChar = 0;
        if (g->LookupHistory() && g->LookupItems()->IndexOf(Text()) < 0) g->LookupItems()->Add(Text());
        g->EditorFormulaMode(false);
    }
    TInplaceEdit::WMKillFocus(M);
    if (!g || FAltBack) return;
    if (HWND(M.WParam) != g->Handle() && g->InEditMode()) {
        if (!g->ValidateCell(Text())) SetText(g->Cells(g->Col(), g->Row()));
        g->HideInplaceEdit();
        g->FEditing = false;
    }
    if (FGotFocus) {
        FGotFocus = false;
        g->EditorNotify(Text(), TPoint{-1, -1}, -1);
    }
}

void TVodInplaceEdit::WMSetFocus(TMessage& M)
{
    TInplaceEdit::WMSetFocus(M);
    FGotFocus = true;
    if (TVodStringGrid* g = VodGrid()) {
        g->FNoEditChange = false;
        FLengthLimit = g->MaxEditLength();
        if (FLengthLimit > 0) SetMaxLength(FLengthLimit);
        if (!g->Navigation()->EditSelectAll()) SetSelStart(GetWindowTextLength(Handle()));
    }
}
