#include "controls/grid/editors/GridEditorProtocol.h"

bool GridEditorProtocol::ShiftDown() { return GetKeyState(VK_SHIFT) < 0; }

bool GridEditorProtocol::Commit(TVodStringGrid* G, const String& Value, const TPut& Put, const TSelect& Select,
                                TControl* Editor, Word& Key)
{
    G->SetCurrentCell(Value);
    if (!G->ValidateCell(Value)) {
        const String shown = G->FNewCellText;
        Put(shown);
        Select(0, Integer(shown.size()));
        if (Editor) Editor->Repaint();
        Key = 0;
        return false;
    }
    Put(G->CurrentCell());
    return true;
}

GridEditorProtocol::TTabResult GridEditorProtocol::TabWithValidation(TVodStringGrid* G, const String& Value,
                                                                     const TPut& Put, const TSelect& Select,
                                                                     TControl* Editor, Word& Key)
{
    G->SetCurrentCell(Value);
    if (!G->ValidateCell(Value)) {
        const String shown = G->FNewCellText;
        Put(shown);
        Select(Integer(shown.size()), 0);
        if (Editor) Editor->Repaint();
        Key = 0;
        return tvRefused;
    }
    if (G->Options().Contains(goTabs)) {
        G->HideInplaceEdit();
        GridTab(G);
        Key = 0;
        return tvMovedByGrid;
    }
    if (G->HandleAllocated()) PostMessage(G->Handle(), WM_KEYDOWN, VK_TAB, 0);
    return tvContinue;
}

void GridEditorProtocol::GridTab(TVodStringGrid* G)
{
    if (G->CanFocus()) G->SetFocus();
    G->HandleTabKey(ShiftDown());
}

void GridEditorProtocol::LeaveByKey(TVodStringGrid* G, Word& Key, TShiftState Shift)
{
    G->DoneInplaceEdit(Key, Shift);
    if (G->Navigation()->AdvanceOnEnter() && G->Navigation()->AdvanceAutoEdit()) G->ShowInplaceEdit();
    Key = 0;
}

void GridEditorProtocol::Escape(TVodStringGrid* G, const TPut& Put)
{
    Put(G->CurrentCell());
    G->HideInplaceEdit();
    if (G->CanFocus()) G->SetFocus();
}

void GridEditorProtocol::CaretUnderMouse(TVodStringGrid* G, TWinControl* Editor, HWND EditWnd)
{
    if (!G->LButFlg || !Editor->HandleAllocated()) return;
    TPoint p;
    GetCursorPos(&p);
    p = Editor->ScreenToClient(p);
    if (p.X < 0 || p.X > Editor->Width() || p.Y < 0 || p.Y > Editor->Height()) return;
    HWND w = EditWnd ? EditWnd : Editor->Handle();
    const LRESULT r = SendMessage(w, EM_CHARFROMPOS, 0, MAKELPARAM(p.X, p.Y));
    if (r == -1) return;
    const Integer at = LOWORD(r);
    SendMessage(w, EM_SETSEL, WPARAM(at), LPARAM(at));
    G->LButFlg = false;
}

void GridEditorProtocol::FireEditChange(TVodStringGrid* G, const String& Text)
{
    if (G->OnEditChange) G->OnEditChange(G, G->Col(), G->Row(), Text);
}
