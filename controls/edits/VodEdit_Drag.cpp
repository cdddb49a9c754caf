// TVodEdit: the mouse (drag out of the selection, the link click, the caret
// rules after a click), the drop target with its drop marker, window
// destruction and the message routing of the edit.
#include <algorithm>

#include "controls/edits/VodEdit.h"
#include "platform/base/Exceptions.h"
#include "platform/base/SysUtils.h"
#include "platform/gfx/Gdi.h"
#include "platform/os/Shell.h"

namespace {

bool Held(int vk) { return GetKeyState(vk) < 0; }

// The link forms that may be opened: a known scheme, or the scheme-less
// forms the link look accepts, completed.
bool OpenableLink(const String& text, String& target)
{
    const String up = AnsiUpperCase(text);
    for (const wchar_t* scheme : {L"HTTP://", L"HTTPS://", L"FTP://", L"MAILTO:"})
        if (up.rfind(scheme, 0) == 0) {
            target = text;
            return true;
        }
    if (up.rfind(L"WWW.", 0) == 0) {
        target = L"http://" + text;
        return true;
    }
    if (Pos(L"@", text) > 1 && Pos(L"://", text) == 0) {
        target = L"mailto:" + text;
        return true;
    }
    return false;
}

}  // namespace

// ---------------------------------------------------------------------------
// Positions

Integer TVodEdit::CharFromPos(TPoint pt)
{
    if (!HandleAllocated()) return 0;
    const LRESULT r = SendMessage(FHandle, EM_CHARFROMPOS, 0, LPARAM((LPARAM(pt.Y) << 16) | (pt.X & 0xFFFF)));
    return Integer(LOWORD(r));
}

TPoint TVodEdit::PosFromChar(Integer Index)
{
    if (!HandleAllocated()) return TPoint{0, 0};
    const String t = WindowText();
    const Integer L = Integer(t.size());
    const Integer c = std::min(Index, L);
    if (L == 0) return TPoint{0, 0};
    const LRESULT r = SendMessage(FHandle, EM_POSFROMCHAR, WPARAM(c == L ? c - 1 : c), 0);
    TPoint p{GET_X_LPARAM(r), GET_Y_LPARAM(r)};
    if (c == L) {
        HDC dc = GetDC(FHandle);
        HGDIOBJ old = SelectObject(dc, Font()->Handle());
        const String wc = String(L"w") + t[size_t(L - 1)];
        SIZE a{}, b{};
        GetTextExtentPoint32(dc, wc.c_str(), 2, &a);
        GetTextExtentPoint32(dc, L"w", 1, &b);
        SelectObject(dc, old);
        ReleaseDC(FHandle, dc);
        p.X += a.cx - b.cx;
    }
    return p;
}

// ---------------------------------------------------------------------------
// Drop marker

void TVodEdit::InvalidateDropSpot(TPoint p)
{
    if (!HandleAllocated() || p.X < 0) return;
    const Integer fh = Font()->Height();
    TRect r{p.X, std::min(p.Y, p.Y - fh), p.X + 1, std::max(p.Y, p.Y - fh)};
    InvalidateRect(FHandle, &r, TRUE);
}

void TVodEdit::UpdateDropMarker()
{
    TPoint cur;
    GetCursorPos(&cur);
    const TPoint client = ScreenToClient(cur);
    const TPoint spot = PosFromChar(CharFromPos(client));
    if (spot.X != FCaretPos.X || spot.Y != FCaretPos.Y) {
        InvalidateDropSpot(FCaretPos);
        InvalidateDropSpot(spot);
        FCaretPos = spot;
    }
}

void TVodEdit::ClearDropMarker()
{
    const TPoint old = FCaretPos;
    FCaretPos = TPoint{-1, -1};
    InvalidateDropSpot(old);
}

void TVodEdit::DrawDropMarker(HDC DC)
{
    if (FCaretPos.X < 0) return;
    const Integer fh = Font()->Height();
    TRect r{FCaretPos.X, std::min(FCaretPos.Y, FCaretPos.Y - fh), FCaretPos.X + 1,
            std::max(FCaretPos.Y, FCaretPos.Y - fh)};
    HBRUSH br = CreateSolidBrush(COLORREF(ColorToRGB(Font()->Color())));
    FillRect(DC, &r, br);
    DeleteObject(br);
}

void TVodEdit::CaretToMouse()
{
    TPoint cur;
    GetCursorPos(&cur);
    SetSelStart(CharFromPos(ScreenToClient(cur)));
    SetSelLength(0);
}

// ---------------------------------------------------------------------------
// The drop target

void TEditDropTarget::DragMouseMove(TPoint pt, bool& Allow)
{
    TAEDropTarget::DragMouseMove(pt, Allow);
    FVodEdit->UpdateDropMarker();
}

void TEditDropTarget::DropText(TPoint pt, const String& s)
{
    String t = s;
    if (size_t cr = t.find(L'\r'); cr != String::npos) t.erase(cr);
    if (size_t lf = t.find(L'\n'); lf != String::npos) t.erase(lf);
    TVodEdit* e = FVodEdit;
    if (e->FIsDragSource) {
        const TPoint client = e->ScreenToClient(pt);
        const Integer c = e->CharFromPos(client);
        const Integer a = e->SelStart(), b = a + e->SelLength();
        if (c >= a && c <= b) {
            // Onto its own selection: nothing changes, on either side.
            e->ClearDropMarker();
            e->FMovedOut = true;
            return;
        }
        if (!Held(VK_CONTROL)) {
            // A move: the source text goes first, then the caret finds its
            // place in what is left.
            e->ClearSelection();
            e->FMovedOut = true;
        }
    }
    e->ClearDropMarker();
    e->CaretToMouse();
    e->SetSelText(t);
    e->Invalidate();
}

void TVodEdit::SetOleDropTarget(bool v)
{
    FOleDropTarget = v;
    if (Designing()) return;
    if (v) {
        if (!FOleDropTargetAssigned && HandleAllocated()) {
            auto* t = new TEditDropTarget(this);
            t->AddRef();
            FOleDropTargetAssigned = RegisterDragDrop(FHandle, t) == S_OK;
            t->Release();
        }
    } else if (FOleDropTargetAssigned) {
        if (HandleAllocated()) RevokeDragDrop(FHandle);
        FOleDropTargetAssigned = false;
    }
}

// ---------------------------------------------------------------------------
// Mouse

void TVodEdit::WMLButtonDown(TMessage& M)
{
    const Integer c = CharFromPos(LParamToPoint(M.LParam));
    const Integer a = SelStart(), len = SelLength();
    if (len > 0 && c >= a && c <= a + len && ::GetFocus() == FHandle) {
        FButtonDown = true;
        return;
    }
    TCustomEdit::WMLButtonDown(M);
}

void TVodEdit::WMMouseMove(TMessage& M)
{
    TCustomEdit::WMMouseMove(M);
    if (SelLength() > 0 && FButtonDown && FOleDropSource && HandleAllocated()) {
        const String S = SelText();
        FIsDragSource = true;
        FMovedOut = false;
        DWORD effect = DROPEFFECT_NONE;
        const HRESULT r = StartDoDragDrop(S, L"", DROPEFFECT_COPY | DROPEFFECT_MOVE, effect);
        FIsDragSource = false;
        // A move deletes the source selection once: not again when the drop
        // into this same edit already took it away.
        if (r == DRAGDROP_S_DROP && !Held(VK_CONTROL) && HandleAllocated() && !FMovedOut &&
            effect != DROPEFFECT_NONE) {
            ClearSelection();
            ClearDropMarker();
            Invalidate();
        }
        FMovedOut = false;
        FButtonDown = false;
    }
}

void TVodEdit::WMLButtonUp(TMessage& M)
{
    if (FButtonDown) {
        SetSelStart(CharFromPos(LParamToPoint(M.LParam)));
        SetSelLength(0);
        Click();
    }
    FButtonDown = false;
    TCustomEdit::WMLButtonUp(M);
    if (!HandleAllocated()) return;
    if (FIsUrl && ::GetFocus() == FHandle && FShowURL) {
        bool show = true;
        const String t = GetText();
        if (OnURLClick) OnURLClick(this, t, show);
        String target;
        if (show && OpenableLink(t, target))
            ShellExecute(FHandle, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        return;
    }
    const Integer P = PrefixLen(), len = Integer(GetText().size());
    if (!FPrefix.empty() && SelStart() < P) {
        SetSelStart(P);
        SetSelLength(len);
    }
    if (!FSuffix.empty()) {
        if (SelStart() > len) {
            SetSelStart(!FPrefix.empty() ? P + len : len);
            SetSelLength(0);
        }
        if (SelStart() + SelLength() > len) SetSelLength(!FPrefix.empty() ? len : len - SelStart());
    }
}

// ---------------------------------------------------------------------------
// Window destruction and routing

void TVodEdit::WMDestroy(TMessage& M)
{
    if (!Loading()) {
        // A store that cannot be written must not take the program down
        // with the window (destruction runs inside destructors).
        if (!Designing()) {
            try {
                SavePersist();
            } catch (const Exception&) {
            }
        }
        if (FOleDropTargetAssigned && HandleAllocated()) RevokeDragDrop(FHandle);
        FOleDropTargetAssigned = false;
    }
    DefaultHandler(M);
}

void TVodEdit::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case WM_COPY: WMCopy(M); return;
    case WM_CUT: WMCut(M); return;
    case WM_PASTE: WMPaste(M); return;
    case WM_NCPAINT: WMNCPaint(M); return;
    case WM_DESTROY: WMDestroy(M); return;
    case CN_COMMAND: CNCommand(M); return;
    case CN_CTLCOLOREDIT: case CN_CTLCOLORSTATIC: CNCtlColor(M); return;
    case CM_WANTSPECIALKEY: CMWantSpecialKey(M); return;
    case CM_CANCELMODE: CMCancelMode(M); return;
    case CM_TEXTCHANGED:
        if (FBlockChange) {
            // Set by this edit around its own rewrites of the window text.
            FBlockChange = false;
            ++FSwallowedChanges;
            TWinControl::Dispatch(M);
            return;
        }
        break;
    case CM_VISIBLECHANGED: case CM_SHOWINGCHANGED:
        TCustomEdit::Dispatch(M);
        if (FLabel) FLabel->SetVisible(Visible());
        return;
    case CM_PARENTFONTCHANGED:
        TCustomEdit::Dispatch(M);
        if (FLabel && ParentFont() && !FShowError) {
            FLabel->Font()->Assign(Font());
            UpdateLabel();
        }
        return;
    case CM_FONTCHANGED: CMFontChanged(M); return;
    default: break;
    }
    TCustomEdit::Dispatch(M);
}
