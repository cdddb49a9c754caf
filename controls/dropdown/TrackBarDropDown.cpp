#include "controls/dropdown/TrackBarDropDown.h"

#include "platform/base/SysUtils.h"
#include "platform/ui/ComCtrls_Bars.h"

TVodTrackBarDropDown::TVodTrackBarDropDown(TComponent* AOwner) : TVodCustomDropDown(AOwner)
{
    SetEditorEnabled(false);
    FDropDownEnabled = true;
    FEditType = etNumeric;
    SetEditText(L"0");
    FDropDownHeader->SetVisible(false);
    FDropDownFooter->SetVisible(false);
    FForceShadow = true;
}

void TVodTrackBarDropDown::CreateDropDownForm()
{
    TVodCustomDropDown::CreateDropDownForm();
    if (!FTrackBar && FDropDownForm) {
        FTrackBar = new TTrackBar(this);
        FTrackBar->SetParent(FDropDownForm);
        FTrackBar->SetBounds(0, 0, FTrackBar->Width(), 40);
    }
    if (FTrackBar) FTrackBar->OnChange = [this](TObject* s) { TrackChange(s); };
}

void TVodTrackBarDropDown::DoBeforeDropDown()
{
    TVodCustomDropDown::DoBeforeDropDown();
    if (FDropDownForm) FDropDownForm->SetCancelOnDeActivate(false);
    if (!FTrackBar) return;
    FTrackBar->SetMin(FMin);
    FTrackBar->SetMax(FMax);
    FTrackBar->SetPosition(FPosition);
    FTrackBar->SetPageSize(FPageSize);
    FTrackBar->SetFrequency(FFrequency);
    FTrackBar->SetWidth(Width());
    SetControl(FTrackBar);
}

void TVodTrackBarDropDown::SetMin(Integer v)
{
    FMin = v;
    if (FTrackBar) {
        FTrackBar->SetMin(v);
        FMin = FTrackBar->Min();
    }
}

void TVodTrackBarDropDown::SetMax(Integer v)
{
    FMax = v;
    if (FTrackBar) {
        FTrackBar->SetMax(v);
        FMax = FTrackBar->Max();
    }
}

void TVodTrackBarDropDown::SetPosition(Integer v)
{
    FPosition = v;
    if (FTrackBar) {
        FTrackBar->SetPosition(v);
        FPosition = FTrackBar->Position();
    }
}

void TVodTrackBarDropDown::SetFrequency(Integer v)
{
    FFrequency = v;
    if (FTrackBar) FTrackBar->SetFrequency(v);
}

void TVodTrackBarDropDown::SetPageSize(Integer v)
{
    FPageSize = v;
    if (FTrackBar) FTrackBar->SetPageSize(v);
}

void TVodTrackBarDropDown::TrackChange(TObject*)
{
    FPosition = FTrackBar->Position();
    SetEditText(IntToStr(FPosition));
    if (OnTrackChange) OnTrackChange(this);
}

void TVodTrackBarDropDown::MoveTo(Integer v)
{
    SetPosition(v);
    FShowing = true;
    SetEditText(IntToStr(FPosition));
    FShowing = false;
}

void TVodTrackBarDropDown::Change()
{
    TVodCustomDropDown::Change();
    if (FShowing) return;
    // A text that is no integer (or overflows) leaves Position as it was.
    String t = GetText();
    if (t.empty()) {
        SetPosition(0);
        return;
    }
    Integer v = 0;
    if (TryStrToInt(t, v)) SetPosition(v);
}

void TVodTrackBarDropDown::WMKeyDown(TMessage& M)
{
    Word key = M.CharCode();
    TVodCustomDropDown::WMKeyDown(M);
    if (FEditorEnabled || GetKeyState(VK_MENU) < 0) return;
    if (key == VK_UP && FPosition - FFrequency >= FMin) MoveTo(FPosition - FFrequency);
    else if (key == VK_DOWN && FPosition + FFrequency <= FMax) MoveTo(FPosition + FFrequency);
}

void TVodTrackBarDropDown::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    TVodCustomDropDown::MouseDown(Button, Shift, X, Y);
    if (FEditorEnabled || !FDropDownEnabled) return;
    FMouseX = X;
    FMouseDraging = true;
}

void TVodTrackBarDropDown::MouseMove(TShiftState Shift, Integer X, Integer Y)
{
    TVodCustomDropDown::MouseMove(Shift, X, Y);
    if (!FMouseDraging) return;
    Integer page = FPageSize > 0 ? FPageSize : 1;
    Integer delta = (X - FMouseX) / page;  // truncated toward zero
    FMouseX = X;
    if (delta != 0) MoveTo(FPosition + delta);
}

void TVodTrackBarDropDown::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    TVodCustomDropDown::MouseUp(Button, Shift, X, Y);
    FMouseDraging = false;
}
