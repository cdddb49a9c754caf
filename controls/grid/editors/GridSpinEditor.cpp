#include "controls/grid/editors/GridSpinEditor.h"

#include "controls/grid/VodGrid.h"
#include "controls/grid/editors/GridEditorProtocol.h"
#include "platform/base/SysUtils.h"

TGridSpin::TGridSpin(TComponent* AOwner) : TVurSpinEdit(AOwner), FGrid(CheckedCast<TVodStringGrid>(AOwner))
{
    SetMaxValue(100);
    SetMinValue(0);
    SetIncrement(1);
}

void TGridSpin::Clamp()
{
    if (SpinType() == sptNormal && MinValue() != MaxValue()) {
        const Integer v = Value();
        if (v < MinValue()) SetValue(MinValue());
        else if (v > MaxValue()) SetValue(MaxValue());
    } else if (SpinType() == sptFloat && MinFloatValue() != MaxFloatValue()) {
        const double v = FloatValue();
        if (v < MinFloatValue()) SetFloatValue(MinFloatValue());
        else if (v > MaxFloatValue()) SetFloatValue(MaxFloatValue());
    }
}

void TGridSpin::FireSpinClick(bool Up)
{
    if (!FGrid) return;
    TVodStringGrid* g = FGrid;
    switch (SpinType()) {
    case sptNormal:
        if (g->OnSpinClick) g->OnSpinClick(g, g->Col(), g->Row(), Value(), Up);
        break;
    case sptFloat:
        if (g->OnFloatSpinClick) g->OnFloatSpinClick(g, g->Col(), g->Row(), FloatValue(), Up);
        break;
    case sptDate:
        if (g->OnDateSpinClick) g->OnDateSpinClick(g, g->Col(), g->Row(), DateValue(), Up);
        break;
    case sptTime:
        if (g->OnTimeSpinClick) g->OnTimeSpinClick(g, g->Col(), g->Row(), TimeValue(), Up);
        break;
    }
}

void TGridSpin::UpClick(TObject* Sender)
{
    TVurSpinEdit::UpClick(Sender);
    FireSpinClick(true);
}

void TGridSpin::DownClick(TObject* Sender)
{
    TVurSpinEdit::DownClick(Sender);
    FireSpinClick(false);
}

void TGridSpin::DoExit()
{
    Clamp();
    if (FGrid) FGrid->HideInplaceEdit();
    TVurSpinEdit::DoExit();
}

void TGridSpin::Change()
{
    TVurSpinEdit::Change();
    if (FGrid) GridEditorProtocol::FireEditChange(FGrid, Text());
}

void TGridSpin::Dispatch(TMessage& Message)
{
    if (FGrid) {
        if (Message.Msg == CM_WANTSPECIALKEY) {
            TVurSpinEdit::Dispatch(Message);
            const Word k = Word(Message.WParam);
            if (k == VK_RETURN || k == VK_ESCAPE || (k == VK_TAB && FGrid->Options().Contains(goTabs)))
                Message.Result = 1;
            return;
        }
        if (Message.Msg == WM_CHAR && (Message.WParam == VK_TAB || Message.WParam == VK_RETURN)) {
            Message.Result = 0;
            return;
        }
    }
    TVurSpinEdit::Dispatch(Message);
}

void TGridSpin::KeyPress(wchar_t& Key)
{
    if (Key == VK_ESCAPE) Key = 0;
    if (Key == VK_RETURN) {
        Key = 0;
        return;
    }
    TVurSpinEdit::KeyPress(Key);
}

void TGridSpin::KeyDown(Word& Key, TShiftState Shift)
{
    if (!FGrid) {
        TVurSpinEdit::KeyDown(Key, Shift);
        return;
    }
    TVodStringGrid* g = FGrid;
    switch (Key) {
    case VK_END:
    case VK_HOME:
        // Home is the maximum, End the minimum (dates and times: nothing).
        if (SpinType() == sptNormal) SetValue(Key == VK_HOME ? MaxValue() : MinValue());
        else if (SpinType() == sptFloat) SetFloatValue(Key == VK_HOME ? MaxFloatValue() : MinFloatValue());
        if (g->OnSpinClick) g->OnSpinClick(g, g->Col(), g->Row(), Value(), false);
        return;
    case VK_ESCAPE: {
        // The text from before the edit, through the value writers so that
        // it is clamped and formatted.
        const String cache = GridEditorProtocol::CellCache(g);
        SetText(cache);
        if (SpinType() == sptNormal) SetValue(StrToIntDef(Trim(cache), 0));
        else if (SpinType() == sptFloat) SetFloatValue(StrToFloatDef(Trim(cache), 0));
        break;
    }
    case VK_TAB:
    case VK_RETURN: {
        Clamp();
        const String t = Text();
        g->SetCurrentCell(t);
        if (!g->ValidateCell(t)) {
            const String cell = g->CurrentCell();
            SetText(cell);
            SetSelStart(Integer(cell.size()));
            SetSelLength(0);
            Key = 0;
            Repaint();
            return;
        }
        SetText(g->CurrentCell());
        break;
    }
    default: TVurSpinEdit::KeyDown(Key, Shift); return;
    }
    // Leaving by Tab, Enter or Esc.
    if (Key == VK_TAB && g->Options().Contains(goTabs)) {
        g->HideInplaceEdit();
        GridEditorProtocol::GridTab(g);
        Key = 0;
        return;
    }
    GridEditorProtocol::LeaveByKey(g, Key, Shift);
    TVurSpinEdit::KeyDown(Key, Shift);
}
