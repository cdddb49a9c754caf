// The grid's editors with an ellipsis button: TGridEditBtn (edEditBtn,
// edNumericEditBtn, edFloatEditBtn, edMaskEditBtn) with its character
// filters, clipboard paste through the grid's paste events, lookup
// completion and cursor walking; TGridUnitEditBtn (the unit edit types),
// which writes and reads its cell as a number followed by its unit.
#include <algorithm>

#include "controls/foundation/VodUtil.h"
#include "controls/grid/VodGrid.h"
#include "controls/grid/editors/GridEditorProtocol.h"
#include "controls/grid/editors/GridEditors.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/Clipbrd.h"
#include "platform/base/ComObj.h"

namespace {

bool CtrlDown() { return GetKeyState(VK_CONTROL) < 0; }

bool ModifiersFree(TShiftState Shift)
{
    return !Shift.Contains(ssShift) && !Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt);
}

}  // namespace

// ---------------------------------------------------------------------------
// Character filters

bool GridEditorCharPasses(TEditorType Type, wchar_t Ch, const String& Text, Integer SelStart, Integer SelLength,
                          bool Ctrl, bool& Beep)
{
    Beep = false;
    const String sel = Text.substr(size_t(std::clamp(SelStart, 0, Integer(Text.size()))),
                                   size_t(std::max(0, SelLength)));
    switch (Type) {
    case edEditBtn:
    case edMaskEditBtn:
    case edUnitEditBtn: return true;
    case edNumericEditBtn:
    case edNumericUnitEditBtn: {
        if (Ch == VK_BACK || Ch == VK_TAB || Ch == VK_RETURN || Ch == VK_ESCAPE || (Ch >= L'0' && Ch <= L'9'))
            return true;
        if (Ch == L'-' && Text.find(L'-') == String::npos && SelStart == 0) return true;
        Beep = true;
        return false;
    }
    case edFloatEditBtn:
    case edFloatUnitEditBtn: {
        if (!IsNumericKey(Ch)) return Ctrl;
        const wchar_t dec = FormatSettings.DecimalSeparator, th = FormatSettings.ThousandSeparator;
        if (Ch == dec && Text.find(dec) != String::npos && sel.find(dec) == String::npos) return false;
        if (Ch == th && th != dec) return false;
        if (Ch == L'-' && (SelStart != 0 || Text.find(L'-') != String::npos) && sel.find(L'-') == String::npos) {
            Beep = true;
            return false;
        }
        return true;
    }
    default: return false;
    }
}

// ---------------------------------------------------------------------------
// TGridEditBtn

TGridEditBtn::TGridEditBtn(TComponent* AOwner) : TVurEditBtn(AOwner), FGrid(CheckedCast<TVodStringGrid>(AOwner))
{
    OnClickBtn = [this](TObject*) { ButtonClicked(); };
}

void TGridEditBtn::ButtonClicked()
{
    if (!FGrid) return;
    String s;
    FGrid->EllipsClick(Text(), s);
    SetText(s);
    SelectAll();
    Repaint();
    if (FStopEditAfterClick) {
        FGrid->HideInplaceEdit();
        if (FGrid->CanFocus()) FGrid->SetFocus();
    }
}

void TGridEditBtn::DoExit()
{
    if (FGrid) FGrid->HideInplaceEdit();
    TVurEditBtn::DoExit();
}

void TGridEditBtn::Change()
{
    TVurEditBtn::Change();
    if (FGrid) GridEditorProtocol::FireEditChange(FGrid, Text());
}

void TGridEditBtn::KeyPress(wchar_t& Key)
{
    if (FGrid && FGrid->OnKeyPress) FGrid->OnKeyPress(FGrid, Key);
    if (Key == VK_TAB) return;
    TVurEditBtn::KeyPress(Key);
}

void TGridEditBtn::Paste()
{
    if (!FGrid) return;
    bool allow = Clipboard()->HasFormat(CF_TEXT);
    String text = allow ? Clipboard()->AsText() : String();
    if (FGrid->OnClipboardPaste) FGrid->OnClipboardPaste(this, allow);
    if (allow && FGrid->OnClipboardBeforePasteCell)
        FGrid->OnClipboardBeforePasteCell(this, FGrid->Col(), FGrid->Row(), text, allow);
    if (!allow) return;
    // A line copied with its line break pastes without it.
    const size_t crlf = text.find(L"\r\n");
    if (crlf != String::npos && crlf + 2 == text.size()) text.erase(crlf);
    const String old = Text();
    const Integer start = std::clamp(SelStart(), 0, Integer(old.size()));
    const Integer len = std::clamp(SelLength(), 0, Integer(old.size()) - start);
    const String now = old.substr(0, size_t(start)) + text + old.substr(size_t(start + len));
    SetText(now);
    FGrid->SetEditorCellText(now);
    if (len > 0) {
        SetSelStart(start);
        SetSelLength(Integer(text.size()));
    } else {
        SetSelStart(start + Integer(text.size()));
        SetSelLength(0);
    }
}

void TGridEditBtn::Dispatch(TMessage& Message)
{
    if (!FGrid) {
        TVurEditBtn::Dispatch(Message);
        return;
    }
    switch (Message.Msg) {
    case WM_CHAR: {
        const wchar_t ch = wchar_t(Message.WParam);
        if (ch == VK_RETURN || ch == VK_TAB) {
            Message.Result = 1;
            return;
        }
        bool beep = false;
        if (!GridEditorCharPasses(GridEditorProtocol::EditControl(FGrid), ch, Text(), SelStart(), SelLength(),
                                  CtrlDown(), beep)) {
            if (beep) MessageBeep(0);
            return;
        }
        break;
    }
    case WM_PASTE: Paste(); return;
    case WM_SETFOCUS:
        TVurEditBtn::Dispatch(Message);
        if (!FGrid->Navigation()->EditSelectAll()) {
            SetSelStart(Integer(Text().size()));
            SetSelLength(0);
        }
        return;
    case WM_LBUTTONDBLCLK:
        TVurEditBtn::Dispatch(Message);
        if (FGrid->OnDblClickCell) FGrid->OnDblClickCell(FGrid, FGrid->Row(), FGrid->Col());
        return;
    case CM_WANTSPECIALKEY: {
        TVurEditBtn::Dispatch(Message);
        const Word k = Word(Message.WParam);
        if (k == VK_RETURN || k == VK_ESCAPE || (k == VK_TAB && FGrid->NeedsTabValidation())) Message.Result = 1;
        return;
    }
    default: break;
    }
    TVurEditBtn::Dispatch(Message);
}

void TGridEditBtn::KeyDown(Word& Key, TShiftState Shift)
{
    if (!FGrid) {
        TVurEditBtn::KeyDown(Key, Shift);
        return;
    }
    TVodStringGrid* g = FGrid;
    using P = GridEditorProtocol;
    const bool navKey = Key == VK_TAB || Key == VK_RETURN || Key == VK_ESCAPE || Key == VK_PRIOR || Key == VK_NEXT ||
                        Key == VK_UP || Key == VK_DOWN;
    if (!navKey && g->OnKeyDown) g->OnKeyDown(g, Key, Shift);
    WorkMode = !(Key == VK_BACK || Key == VK_DELETE);
    FSelKeyDown = SelStart();
    if (Shift.Contains(ssCtrl) || !navKey) {
        TVurEditBtn::KeyDown(Key, Shift);
        return;
    }
    if (OnKeyDown) OnKeyDown(this, Key, Shift);
    if (Key == VK_TAB || Key == VK_RETURN || Key == VK_UP || Key == VK_DOWN) {
        const TEditorType before = P::EditControl(g);
        const String t = Text();
        g->SetCurrentCell(t);
        const bool ok = g->ValidateCell(t);
        SetText(P::NewCellText(g));
        if (!ok) {
            SelectAll();
            Repaint();
            Key = 0;
            P::EditControl(g) = before;
            return;
        }
    }
    if (Key == VK_TAB && g->NeedsTabValidation()) {
        auto put = [this](const String& s) { SetText(s); };
        auto sel = [this](Integer a, Integer n) {
            SetSelStart(a);
            SetSelLength(n);
        };
        if (P::TabWithValidation(g, Text(), put, sel, this, Key) != P::tvContinue) return;
    }
    if (Key == VK_ESCAPE) SetText(P::CellCache(g));
    g->DoneInplaceEdit(Key, Shift);
    if (g->Navigation()->AdvanceOnEnter() && g->Navigation()->AdvanceAutoEdit()) g->ShowInplaceEdit();
}

void TGridEditBtn::DoLookup()
{
    TVodStringGrid* g = FGrid;
    if (!g || !WorkMode || SelLength() > 0 || !g->Lookup() || !g->LookupItems() || g->LookupItems()->Count() == 0)
        return;
    const String text = Text();
    const Integer caret = std::clamp(SelStart(), 0, Integer(text.size()));
    if (caret == 0) return;
    const bool cs = g->LookupCaseSensitive();
    const String typed = text.substr(0, size_t(caret));
    const String prefix = cs ? typed : AnsiUpperCase(typed);
    TStrings* items = g->LookupItems();
    for (Integer i = 0; i < items->Count(); ++i) {
        const String item = items->Strings(i);
        if ((cs ? item : AnsiUpperCase(item)).rfind(prefix, 0) != 0) continue;
        const String s = typed + item.substr(size_t(caret), 255);
        SetText(s);
        SetSelStart(caret);
        SetSelLength(Integer(s.size()) - caret);
        return;
    }
}

void TGridEditBtn::KeyUp(Word& Key, TShiftState Shift)
{
    TVodStringGrid* g = FGrid;
    if (g && g->OnKeyUp) g->OnKeyUp(g, Key, Shift);
    if (g && g->Navigation()->CursorWalkEditor() && SelLength() == 0 && ModifiersFree(Shift)) {
        TNavigation* nav = g->Navigation();
        const String t = Text();
        auto walk = [&](bool forward) {
            if (g->CanFocus()) g->SetFocus();
            const TAdvanceDirection dir = nav->AdvanceDirection();
            if (dir == adTopBottom || dir == adTopBottomInCol) nav->SetAdvanceDirection(adLeftRight);
            g->AdvanceToNextCell(g->Col(), g->Row(), true, false, forward, true, true);
            nav->SetAdvanceDirection(dir);
            if (nav->CursorWalkAlwaysEdit()) g->SetEditorMode(true);
        };
        if (Key == VK_RIGHT && SelStart() >= Integer(t.size())) {
            Key = 0;
            const Integer span = std::max(0, g->CellSpan(g->RealColIndex(g->Col()), g->Row()).X);
            const Integer next = g->Col() + span + 1;
            if (g->Col() < g->ColCount() - g->FixedRightCols() - 1 &&
                g->IsClickControlCell(g->RealColIndex(next), g->Row())) {
                if (g->ValidateCell(t)) {
                    g->HideInplaceEdit();
                    g->SetCol(next);
                }
            } else if (g->ValidateCell(t)) {
                walk(true);
            }
        } else if (Key == VK_LEFT && FSelKeyDown == 0) {
            Key = 0;
            if (g->Col() > g->FixedCols() && g->IsClickControlCell(g->RealColIndex(g->Col() - 1), g->Row())) {
                if (g->ValidateCell(t)) {
                    g->HideInplaceEdit();
                    g->SetCol(g->Col() - 1);
                }
            } else {
                walk(false);
            }
        }
    }
    if (Key != VK_RETURN) TVurEditBtn::KeyUp(Key, Shift);
    DoLookup();
}

// ---------------------------------------------------------------------------
// TGridUnitEditBtn

TGridUnitEditBtn::TGridUnitEditBtn(TComponent* AOwner)
    : TVurUnitEditBtn(AOwner), FGrid(CheckedCast<TVodStringGrid>(AOwner))
{
}

void TGridUnitEditBtn::ClickButton()
{
    // The ellipsis handler first, then the units menu.
    if (FGrid) {
        String s;
        FGrid->EllipsClick(Text(), s);
        SetText(s);
        SelectAll();
        Repaint();
    }
    TVurUnitEditBtn::ClickButton();
}

void TGridUnitEditBtn::DoExit()
{
    if (FGrid) FGrid->HideInplaceEdit();
    TVurUnitEditBtn::DoExit();
}

void TGridUnitEditBtn::Dispatch(TMessage& Message)
{
    if (FGrid) {
        if (Message.Msg == WM_CHAR) {
            const wchar_t ch = wchar_t(Message.WParam);
            if (ch == VK_RETURN) {
                Message.Result = 0;
                return;
            }
            bool beep = false;
            if (!GridEditorCharPasses(GridEditorProtocol::EditControl(FGrid), ch, Text(), SelStart(), SelLength(),
                                      CtrlDown(), beep)) {
                if (beep) MessageBeep(0);
                return;
            }
        } else if (Message.Msg == CM_WANTSPECIALKEY) {
            TVurUnitEditBtn::Dispatch(Message);
            const Word k = Word(Message.WParam);
            if (k == VK_RETURN || k == VK_ESCAPE || (k == VK_TAB && FGrid->Options().Contains(goTabs)))
                Message.Result = 1;
            return;
        }
    }
    TVurUnitEditBtn::Dispatch(Message);
}

void TGridUnitEditBtn::KeyDown(Word& Key, TShiftState Shift)
{
    TVodStringGrid* g = FGrid;
    const bool navKey = Key == VK_TAB || Key == VK_RETURN || Key == VK_ESCAPE || Key == VK_PRIOR || Key == VK_NEXT ||
                        Key == VK_UP || Key == VK_DOWN;
    if (!g || !navKey) {
        TVurUnitEditBtn::KeyDown(Key, Shift);
        return;
    }
    if (Key == VK_TAB || Key == VK_RETURN || Key == VK_UP || Key == VK_DOWN) {
        const String v = TextAndUnit();
        g->SetCurrentCell(v);
        if (!g->ValidateCell(v)) {
            // The cell's value shown again as number and unit.
            SetTextAndUnit(g->CurrentCell());
            return;
        }
        SetTextAndUnit(g->CurrentCell());
    }
    if (Key == VK_RETURN && g->Navigation()->AdvanceOnEnter()) {
        g->HideInplaceEdit();
        if (g->CanFocus()) g->SetFocus();
        Key = 0;
        g->AdvanceToNextCell(g->Col(), g->Row(), true, false, !GridEditorProtocol::ShiftDown(), true, false);
        return;
    }
    if (Key == VK_TAB && g->Options().Contains(goTabs)) {
        g->HideInplaceEdit();
        GridEditorProtocol::GridTab(g);
        return;
    }
    if (Key == VK_ESCAPE) {
        SetUnitID(String());
        SetText(g->CurrentCell());
    }
    g->DoneInplaceEdit(Key, Shift);
}
