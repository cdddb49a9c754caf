// Focus, tab order and the keyboard: KeyDown/KeyUp/KeyPress with the form's
// key preview, and the dialog-key pipeline (CN_KEYDOWN -> CM_WANTSPECIALKEY
// and WM_GETDLGCODE -> CM_DIALOGKEY at the form; CN_CHAR -> CM_DIALOGCHAR).
#include <algorithm>

#include "platform/ui/Controls.h"
#include "platform/ui/Menus.h"
#include "platform/ui/ControlsInternal.h"
#include "platform/ui/WindowManager.h"

void TWinControl::SetTabStop(bool v)
{
    if (FTabStop == v) return;
    FTabStop = v;
    if (FHandle) {
        LONG st = GetWindowLong(FHandle, GWL_STYLE);
        SetWindowLong(FHandle, GWL_STYLE, v ? (st | LONG(WS_TABSTOP)) : (st & ~LONG(WS_TABSTOP)));
    }
    Perform(CM_TABSTOPCHANGED);
}

Integer TWinControl::TabOrder() const
{
    if (!FParent) return -1;
    auto& l = FParent->FTabList;
    auto it = std::find(l.begin(), l.end(), this);
    return it == l.end() ? -1 : Integer(it - l.begin());
}

void TWinControl::SetTabOrder(Integer v)
{
    if (!FParent) return;
    auto& l = FParent->FTabList;
    auto it = std::find(l.begin(), l.end(), this);
    if (it == l.end()) return;
    l.erase(it);
    v = std::clamp<Integer>(v, 0, Integer(l.size()));
    l.insert(l.begin() + v, this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List)
{
    for (TWinControl* c : FTabList) {
        List.push_back(c);
        c->GetTabOrderList(List);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                                          bool CheckParent)
{
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty()) return nullptr;
    auto it = std::find(list.begin(), list.end(), CurControl);
    long start = it == list.end() ? (GoForward ? long(list.size()) - 1 : 0) : long(it - list.begin());
    long n = long(list.size());
    long i = start;
    for (long step = 0; step < n; ++step) {
        i = GoForward ? (i + 1) % n : (i - 1 + n) % n;
        TWinControl* c = list[size_t(i)];
        if (c == CurControl) break;
        if ((!CheckTabStop || c->TabStop()) && (!CheckParent || c->Parent() == this) && c->CanFocus())
            return c;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop)
{
    TWinControl* c = FindNextControl(CurControl, GoForward, CheckTabStop, !CheckTabStop);
    if (c) c->SetFocus();
}

bool TWinControl::CanFocus()
{
    TWinControl* form = FormOf(this);
    if (!form) return FHandle != nullptr || FParentWindow != nullptr;
    TControl* c = this;
    while (c && c != form) {
        if (!c->Visible() || !c->Enabled()) return false;
        c = c->Parent();
    }
    return c == form;
}

bool TWinControl::Focused() { return FHandle && GetFocus() == FHandle; }

void TWinControl::FocusControl(TWinControl* Control)
{
    if (Control && Control->CanFocus()) ::SetFocus(Control->Handle());
}

void TWinControl::SetFocus()
{
    if (TWinControl* form = FormOf(this)) {
        form->FocusControl(this);
        return;
    }
    if (FParentWindow || FHandle) ::SetFocus(Handle());
}

void TWinControl::RemoveFocus(bool Removing)
{
    if (TWinControl* form = FormOf(this)) form->DefocusControl(this, Removing);
}

void TWinControl::WMSetFocus(TMessage& M)
{
    DefaultHandler(M);
    if (TWinControl* form = FormOf(this)) form->SetFocusedControl(this);
}

void TWinControl::WMKillFocus(TMessage& M) { DefaultHandler(M); }

void TWinControl::CMEnter(TMessage&) { DoEnter(); }
void TWinControl::CMExit(TMessage&) { DoExit(); }

void TWinControl::DoEnter()
{
    if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit()
{
    if (OnExit) OnExit(this);
}

void TWinControl::KeyDown(Word& Key, TShiftState Shift)
{
    if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(Word& Key, TShiftState Shift)
{
    if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(wchar_t& Key)
{
    if (OnKeyPress) OnKeyPress(this, Key);
}

bool TWinControl::DoKeyDown(TMessage& M)
{
    TWinControl* form = FormOf(this, false);
    if (form && form != this && form->KeyPreviewOn() && form->DoKeyDown(M)) return true;
    Word key = M.CharCode();
    if (!FControlStyle.Contains(csNoStdEvents)) {
        KeyDown(key, KeyDataToShiftState(M.KeyData()));
        M.SetCharCode(key);
        if (key == 0) return true;
    }
    return false;
}

bool TWinControl::DoKeyUp(TMessage& M)
{
    TWinControl* form = FormOf(this, false);
    if (form && form != this && form->KeyPreviewOn() && form->DoKeyUp(M)) return true;
    Word key = M.CharCode();
    if (!FControlStyle.Contains(csNoStdEvents)) {
        KeyUp(key, KeyDataToShiftState(M.KeyData()));
        M.SetCharCode(key);
        if (key == 0) return true;
    }
    return false;
}

bool TWinControl::DoKeyPress(TMessage& M)
{
    TWinControl* form = FormOf(this, false);
    if (form && form != this && form->KeyPreviewOn() && form->DoKeyPress(M)) return true;
    wchar_t ch = wchar_t(M.CharCode());
    if (!FControlStyle.Contains(csNoStdEvents)) {
        KeyPress(ch);
        M.SetCharCode(Word(ch));
        if (ch == 0) return true;
    }
    return false;
}

void TWinControl::WMKeyDown(TMessage& M)
{
    if (!DoKeyDown(M)) DefaultHandler(M);
}

void TWinControl::WMSysKeyDown(TMessage& M)
{
    if (!DoKeyDown(M)) DefaultHandler(M);
}

void TWinControl::WMKeyUp(TMessage& M)
{
    if (!DoKeyUp(M)) DefaultHandler(M);
}

void TWinControl::WMChar(TMessage& M)
{
    if (!DoKeyPress(M)) DefaultHandler(M);
}

void TWinControl::CNKeyDown(TMessage& M)
{
    M.Result = 1;
    // Shortcuts of the popup menus up the parent chain and of the form's
    // menus and action lists come before the control sees the key.
    if (IsMenuKey(this, M)) return;
    if (Perform(CM_CHILDKEY, M.WParam, LPARAM(reinterpret_cast<intptr_t>(this))) != 0) return;
    LRESULT mask = 0;
    switch (M.CharCode()) {
    case VK_TAB: mask = DLGC_WANTTAB; break;
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: mask = DLGC_WANTARROWS; break;
    case VK_RETURN: case VK_ESCAPE: case VK_CANCEL: mask = DLGC_WANTALLKEYS; break;
    default: break;
    }
    if (mask != 0 && Perform(CM_WANTSPECIALKEY, M.WParam, M.LParam) == 0 &&
        (Perform(WM_GETDLGCODE) & mask) == 0) {
        if (TWinControl* form = FormOf(this, false))
            if (form->Perform(CM_DIALOGKEY, M.WParam, M.LParam) != 0) return;
    }
    M.Result = 0;
}

void TWinControl::CNChar(TMessage& M)
{
    M.Result = 1;
    if ((Perform(WM_GETDLGCODE) & DLGC_WANTCHARS) == 0) {
        if (TWinControl* form = FormOf(this, false))
            if (form->Perform(CM_DIALOGCHAR, M.WParam, M.LParam) != 0) return;
    }
    M.Result = 0;
}

void TWinControl::CNSysChar(TMessage& M)
{
    M.Result = 1;
    if (M.CharCode() != VK_SPACE) {
        if (TWinControl* form = FormOf(this, false))
            if (form->Perform(CM_DIALOGCHAR, M.WParam, M.LParam) != 0) return;
    }
    M.Result = 0;
}

void TWinControl::CMDialogKey(TMessage& M) { Broadcast(M); }

void TWinControl::CMDialogChar(TMessage& M) { Broadcast(M); }

HWND GetNextDlgTabItem(HWND dlg, HWND ctl, BOOL previous)
{
    TWinControl* d = TWinControl::FindControl(dlg);
    if (!d) return nullptr;
    TWinControl* c = ctl ? TWinControl::FindControl(ctl) : nullptr;
    TWinControl* n = d->FindNextControl(c, !previous, true, false);
    return n ? n->Handle() : nullptr;
}
