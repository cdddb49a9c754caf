#include "controls/grid/editors/GridDateEditors.h"

#include <cwctype>

#include "controls/grid/VodGrid.h"
#include "controls/grid/editors/GridEditorProtocol.h"
#include "platform/base/SysUtils.h"

String GridDatePickerText(TDateTimePicker* Picker)
{
    if (Picker->HandleAllocated()) return Picker->Text();
    const String& f = Picker->Format();
    if (Picker->Kind() == dtkTime)
        return FormatDateTime(f.empty() ? FormatSettings.LongTimeFormat : f, Picker->DateTime());
    return FormatDateTime(f.empty() ? FormatSettings.ShortDateFormat : f, Picker->DateTime());
}

namespace {

// Reads a cell text into the picker by its kind; False when it is none.
bool ReadInto(TDateTimePicker* P, const String& S)
{
    TDateTime v = 0;
    if (P->Kind() == dtkTime) {
        if (!TryStrToTime(S, v)) return false;
        P->SetTime(v);
        return true;
    }
    if (!TryStrToDate(S, v)) return false;
    P->SetDate(v);
    return true;
}

}  // namespace

// ---------------------------------------------------------------------------
// TGridDatePicker

TGridDatePicker::TGridDatePicker(TComponent* AOwner)
    : TVurDateTimePicker(AOwner), FGrid(CheckedCast<TVodStringGrid>(AOwner))
{
}

void TGridDatePicker::PaintFrames()
{
    if (!HandleAllocated()) return;
    HDC dc = GetWindowDC(Handle());
    if (!dc) return;
    RECT r;
    GetWindowRect(Handle(), &r);
    r = Rect(0, 0, r.Right - r.Left, r.Bottom - r.Top);
    HBRUSH b = CreateSolidBrush(ColorToRGB(clWindow));
    FrameRect(dc, &r, b);
    InflateRect(r, -1, -1);
    FrameRect(dc, &r, b);
    DeleteObject(b);
    ReleaseDC(Handle(), dc);
}

void TGridDatePicker::WndProc(TMessage& Message)
{
    TVurDateTimePicker::WndProc(Message);
    if (Message.Msg == WM_NCPAINT) PaintFrames();
    else if (Message.Msg != 0 && Message.Msg == GridUnit().DTPShiftFocus) ShiftFocusCheck();
}

void TGridDatePicker::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case CN_NOTIFY: {
        Message.Result = 0;
        if (auto* h = reinterpret_cast<NMHDR*>(Message.LParam)) {
            if (h->code == DTN_DROPDOWN) FOldDropped = true;
            else if (h->code == DTN_CLOSEUP) FOldDropped = false;
        }
        break;
    }
    case WM_NCPAINT:
        TVurDateTimePicker::Dispatch(Message);
        PaintFrames();
        return;
    case CM_WANTSPECIALKEY:
        TVurDateTimePicker::Dispatch(Message);
        if (FGrid) {
            const Word k = Word(Message.WParam);
            if (k == VK_RETURN || k == VK_ESCAPE || (k == VK_TAB && FGrid->NeedsTabValidation())) Message.Result = 1;
        }
        return;
    default: break;
    }
    TVurDateTimePicker::Dispatch(Message);
}

void TGridDatePicker::DoExit()
{
    if (FGrid) FGrid->HideInplaceEdit();
    TVurDateTimePicker::DoExit();
}

void TGridDatePicker::KeyPress(wchar_t& Key)
{
    if (Key >= L'0' && Key <= L'9') {
        DecodeDate(DateTime(), Fy, Fm, Fd);
        DecodeTime(DateTime(), Fth, Ftm, Fts, Ftms);
        TVurDateTimePicker::KeyPress(Key);
        if (HandleAllocated()) PostMessage(Handle(), GridUnit().DTPShiftFocus, 0, 0);
    } else {
        TVurDateTimePicker::KeyPress(Key);
    }
    if (FGrid && FGrid->OnKeyPress) FGrid->OnKeyPress(FGrid, Key);
}

void TGridDatePicker::ShiftFocusCheck()
{
    bool move = false;
    if (Kind() == dtkTime) {
        Word h, m, s, ms;
        DecodeTime(DateTime(), h, m, s, ms);
        move = h != Fth || m != Ftm || s != Fts;
    } else {
        Word y, m, d;
        DecodeDate(DateTime(), y, m, d);
        const bool dc = d != Fd, mc = m != Fm, yc = y != Fy;
        const String& f = Format();
        if (!f.empty()) {
            const wchar_t c = f.back();
            // The changed field is the format's last one: nowhere to go.
            const bool last = (dc && (c == L'd' || c == L'D')) || (mc && (c == L'M' || c == L'm')) ||
                              (yc && (c == L'y' || c == L'Y'));
            move = !last && (dc || mc || yc);
        } else {
            move = dc || mc;
        }
    }
    if (move && HandleAllocated()) PostMessage(Handle(), WM_KEYDOWN, VK_RIGHT, 0);
}

void TGridDatePicker::KeyDown(Word& Key, TShiftState Shift)
{
    switch (Key) {
    case VK_TAB: case VK_RETURN: case VK_ESCAPE: case VK_PRIOR: case VK_NEXT: case VK_END: break;
    default: TVurDateTimePicker::KeyDown(Key, Shift); return;
    }
    if (!FGrid) {
        TVurDateTimePicker::KeyDown(Key, Shift);
        return;
    }
    using P = GridEditorProtocol;
    TVodStringGrid* g = FGrid;
    auto put = [this](const String& s) {
        if (!ReadInto(this, s)) SetDateTime(Now());
    };
    auto sel = [](Integer, Integer) {};
    if (Key == VK_ESCAPE) {
        put(g->CurrentCell());
    } else if (Key == VK_RETURN) {
        // The field being typed is closed first.
        if (HandleAllocated()) {
            SendMessage(Handle(), WM_KEYDOWN, VK_RIGHT, 0);
            SendMessage(Handle(), WM_KEYUP, VK_RIGHT, 0);
        }
        if (!P::Commit(g, GridDatePickerText(this), put, sel, this, Key)) return;
    } else if (Key == VK_TAB && g->NeedsTabValidation()) {
        if (P::TabWithValidation(g, GridDatePickerText(this), put, sel, this, Key) != P::tvContinue) return;
    }
    if (!FOldDropped) g->DoneInplaceEdit(Key, Shift);
    if (g->Navigation()->AdvanceOnEnter() && g->Navigation()->AdvanceAutoEdit()) g->ShowInplaceEdit();
    Key = 0;
}

// ---------------------------------------------------------------------------
// TGridDateTimePicker

TGridDateTimePicker::TGridDateTimePicker(TComponent* AOwner)
    : TVodDateTimePicker(AOwner), FGrid(dynamic_cast<TVodStringGrid*>(AOwner))
{
    FGridTabhandling = true;
}

void TGridDateTimePicker::DoExit()
{
    if (FGrid) FGrid->HideInplaceEdit();
    TVodDateTimePicker::DoExit();
}

void TGridDateTimePicker::KeyDown(Word& Key, TShiftState Shift)
{
    switch (Key) {
    case VK_TAB: case VK_RETURN: case VK_ESCAPE: case VK_PRIOR: case VK_NEXT: case VK_END: break;
    default: TVodDateTimePicker::KeyDown(Key, Shift); return;
    }
    if (!FGrid) {
        TVodDateTimePicker::KeyDown(Key, Shift);
        return;
    }
    TVodStringGrid* g = FGrid;
    auto end = [g] {
        g->HideInplaceEdit();
        if (g->CanFocus()) g->SetFocus();
    };
    if (Key == VK_ESCAPE) {
        // The date from before the edit; the time of day as last edited.
        SetDate(GridEditorProtocol::OriginalDateTime(g));
        end();
        Key = 0;
        return;
    }
    if (Key == VK_RETURN) {
        end();
        if (g->Navigation()->AdvanceOnEnter())
            g->AdvanceToNextCell(g->Col(), g->Row(), true, false, !GridEditorProtocol::ShiftDown(), true, false);
        Key = 0;
        return;
    }
    // Only Tab leaves through the cell: the other handled keys go to the
    // picker, Shift or not.
    const bool timePart = TimePicker() && TimePicker()->Focused();
    const bool onlyShift = Shift.Contains(ssShift) && !Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt);
    const bool tabOut = Key == VK_TAB && ((!Shift.Contains(ssShift) && timePart && g->NeedsTabValidation()) ||
                                          (onlyShift && !timePart));
    if (tabOut) {
        const TDateTime v = DateTime();
        end();
        g->SetCurrentCell(FormatDateTime(FormatSettings.ShortDateFormat, v) + L" " +
                          FormatDateTime(FormatSettings.LongTimeFormat, v));
        g->HandleTabKey(GridEditorProtocol::ShiftDown());
        Key = 0;
        return;
    }
    TVodDateTimePicker::KeyDown(Key, Shift);
}
