// The string grid's editor accessors: every special inplace editor beyond
// the five the constructor makes is created the first time it is asked
// for, with the grid as owner and parent, hidden and set up for the grid;
// later reads return the same editor. Beside them: showing, filling and
// reading back those editors for the editor choice and the write-back.
#include <cwctype>

#include "controls/grid/VodGrid.h"
#include "controls/grid/editors/EditLink.h"
#include "controls/grid/editors/GridDateEditors.h"
#include "controls/grid/editors/GridDropDownEditors.h"
#include "controls/grid/editors/GridSpinEditor.h"
#include "controls/grid/editors/GridEditors.h"
#include "controls/grid/editors/VodRichEdit.h"
#include "platform/base/SysUtils.h"

namespace {

// Component style, then colour tones of the grid.
template <class T>
void StyleAndTones(TVodStringGrid* G, T* D)
{
    D->SetComponentStyle(G->ComponentStyle());
    D->SetColorTones(G->ColorTones());
}

// Created hidden with the grid as owner and parent.
template <class T>
T* MakeDropDown(TVodStringGrid* G)
{
    T* d = CreateDropDown<T>(G);
    d->SetVisible(false);
    d->SetParent(G);
    return d;
}

}  // namespace

// ---------------------------------------------------------------------------
// Accessors

TVodRichEdit* TVodStringGrid::RichEdit()
{
    if (!FRichEdit) {
        FRichEdit = new TVodRichEdit(this);
        FRichEdit->SetVisible(false);
        FRichEdit->SetParent(this);
        FRichEdit->SetBounds(0, 0, 0, 0);
        FRichEdit->SetBorderStyle(bsNone);
        if (HandleAllocated()) SetTransparentExStyle(FRichEdit->Handle());
    }
    return FRichEdit;
}

TGridSpin* TVodStringGrid::SpinEdit()
{
    if (!FEditSpin) {
        FEditSpin = new TGridSpin(this);
        FEditSpin->SetVisible(false);
        FEditSpin->SetParent(this);
        FEditSpin->SetEnabled(false);
        FEditSpin->SetBorderStyle(bsNone);
        FEditSpin->SetIsWinXP(FIsWinXP);
    }
    return FEditSpin;
}

TGridDatePicker* TVodStringGrid::DateTimePicker()
{
    if (!FEditDate) {
        FEditDate = new TGridDatePicker(this);
        FEditDate->SetVisible(false);
        FEditDate->SetParent(this);
        FEditDate->SetEnabled(false);
        FEditDate->OnCloseUp = [this](TObject* s) { DatePickerCloseUp(s); };
        FEditDate->OnDropDown = [this](TObject*) {
            // The calendar gets the editor's week numbers and today marks,
            // and the size they need.
            if (HWND cal = FEditDate->MonthCalHandle()) {
                LONG st = LONG(GetWindowLong(cal, GWL_STYLE));
                st &= ~LONG(MCS_WEEKNUMBERS | MCS_NOTODAY | MCS_NOTODAYCIRCLE);
                if (FEditDate->Weeknumbers()) st |= MCS_WEEKNUMBERS;
                if (!FEditDate->ShowToday()) st |= MCS_NOTODAY;
                if (!FEditDate->ShowTodayCircle()) st |= MCS_NOTODAYCIRCLE;
                SetWindowLong(cal, GWL_STYLE, st);
                TRect r;
                if (SendMessage(cal, MCM_GETMINREQRECT, 0, LPARAM(&r)))
                    SetWindowPos(cal, nullptr, 0, 0, r.Right - r.Left, r.Bottom - r.Top, SWP_NOMOVE | SWP_NOZORDER);
            }
            if (OnDatePickerDropDown) OnDatePickerDropDown(this, Row(), Col());
        };
        FEditDate->OnChange = [this](TObject*) {
            if (OnEditChange) OnEditChange(this, Col(), Row(), GridDatePickerText(FEditDate));
        };
    }
    return FEditDate;
}

TGridDateTimePicker* TVodStringGrid::DateAndTimePicker()
{
    if (!FEditDateTime) {
        FEditDateTime = new TGridDateTimePicker(this);
        FEditDateTime->SetVisible(false);
        FEditDateTime->SetParent(this);
        FEditDateTime->SetEnabled(false);
        FEditDateTime->SetAutoTab(true);
        FEditDateTime->OnCloseUp = [this](TObject* s) { DatePickerCloseUp(s); };
        FEditDateTime->OnTimeChange = [this](TObject*) {
            if (OnDateTimeChange) OnDateTimeChange(this, Col(), Row(), FEditDateTime->DateTime());
        };
    }
    return FEditDateTime;
}

TGridTrackbarDropDown* TVodStringGrid::TrackbarDropDown()
{
    if (!FEditTrackBar) {
        FEditTrackBar = MakeDropDown<TGridTrackbarDropDown>(this);
        FEditTrackBar->SetEditorEnabled(true);
        StyleAndTones(this, FEditTrackBar);
    }
    return FEditTrackBar;
}

TGridMemoDropDown* TVodStringGrid::MemoDropDown()
{
    if (!FEditMemo) {
        FEditMemo = MakeDropDown<TGridMemoDropDown>(this);
        StyleAndTones(this, FEditMemo);
        // While the memo is open, its text follows into the current cell.
        FEditMemo->OnMemoChange = [this](TObject*) {
            if (FEditMemo->DroppedDown()) SetEditText(Col(), Row(), FEditMemo->MemoText()->Text());
        };
    }
    return FEditMemo;
}

TGridCalculatorDropDown* TVodStringGrid::CalculatorDropDown()
{
    if (!FEditCalculator) {
        FEditCalculator = MakeDropDown<TGridCalculatorDropDown>(this);
        FEditCalculator->SetEditorEnabled(true);
        StyleAndTones(this, FEditCalculator);
    }
    return FEditCalculator;
}

TGridTimepickerDropDown* TVodStringGrid::TimePickerDropDown()
{
    if (!FEditTimePicker) {
        FEditTimePicker = MakeDropDown<TGridTimepickerDropDown>(this);
        StyleAndTones(this, FEditTimePicker);
    }
    return FEditTimePicker;
}

TGridDetailPickerDropDown* TVodStringGrid::DetailPickerDropDown()
{
    if (!FEditDetailPicker) {
        FEditDetailPicker = MakeDropDown<TGridDetailPickerDropDown>(this);
        StyleAndTones(this, FEditDetailPicker);
    }
    return FEditDetailPicker;
}

TGridGridDropDown* TVodStringGrid::GridDropDown()
{
    if (!FEditGridPicker) {
        FEditGridPicker = MakeDropDown<TGridGridDropDown>(this);
        StyleAndTones(this, FEditGridPicker);
    }
    return FEditGridPicker;
}

TGridColorDropDown* TVodStringGrid::ColorPickerDropDown()
{
    if (!FEditColorPicker) {
        FEditColorPicker = MakeDropDown<TGridColorDropDown>(this);
        FEditColorPicker->AddDefaultColors();
        FEditColorPicker->OnSelect = [this](TObject*) { ColorSelect(); };
        StyleAndTones(this, FEditColorPicker);
    }
    return FEditColorPicker;
}

TGridImageDropDown* TVodStringGrid::ImagePickerDropDown()
{
    if (!FEditImagePicker) {
        FEditImagePicker = MakeDropDown<TGridImageDropDown>(this);
        FEditImagePicker->OnSelect = [this](TObject*) { ImageSelect(); };
        StyleAndTones(this, FEditImagePicker);
    }
    return FEditImagePicker;
}

TGridControlDropDown* TVodStringGrid::ControlDropDown()
{
    if (!FEditControlPicker) {
        FEditControlPicker = MakeDropDown<TGridControlDropDown>(this);
        StyleAndTones(this, FEditControlPicker);
    }
    return FEditControlPicker;
}

TWinControl* TVodStringGrid::CellEditor()
{
    if (!EditMode) return nullptr;
    if (EditCtrl) return EditCtrl;
    switch (EditControl) {
    case edCheckBox: return FCheckBoxEditor;
    case edDateTimeEdit:
        if (FEditDateTime) return FEditDateTime;
        break;
    case edTimeEdit:
    case edDateEdit:
    case edDateEditUpDown:
        if (FEditDate) return FEditDate;
        break;
    default: break;
    }
    return NormalEdit();
}

// The colour and image pickers' selections, as the grid reports them.
void TVodStringGrid::ColorSelect()
{
    if (OnColorSelect && FEditColorPicker)
        OnColorSelect(this, Col(), Row(), FEditColorPicker->SelectedColor(), FEditColorPicker->ColorText());
}

void TVodStringGrid::ImageSelect()
{
    if (OnImageSelect && FEditImagePicker) OnImageSelect(this, Col(), Row(), FEditImagePicker->ItemIndex());
}

// ---------------------------------------------------------------------------
// Showing the editors

bool TVodStringGrid::ShowClassEditor(Integer ACol, Integer ARow, const TRect& R, Integer W, Integer H, TColor C,
                                     const String& Text, wchar_t FirstKey)
{
    const Integer rc = RealColIndex(ACol);
    auto props = [&] { GetEditorProp(ACol, ARow, FEditLink); };
    auto focus = [](TWinControl* e) {
        if (e->CanFocus()) e->SetFocus();
    };
    auto postKey = [&](TWinControl* e) {
        if (FirstKey != 0 && e->HandleAllocated()) PostMessage(e->Handle(), WM_CHAR, WPARAM(FirstKey), 0);
    };

    TVodCustomDropDown* dd = nullptr;
    switch (EditControl) {
    case edTrackbarDropDown: dd = TrackbarDropDown(); break;
    case edMemoDropDown: dd = MemoDropDown(); break;
    case edCalculatorDropDown: dd = CalculatorDropDown(); break;
    case edTimePickerDropDown: dd = TimePickerDropDown(); break;
    case edDetailDropDown: dd = DetailPickerDropDown(); break;
    case edGridDropDown: dd = GridDropDown(); break;
    case edColorPickerDropDown: dd = ColorPickerDropDown(); break;
    case edImagePickerDropDown: dd = ImagePickerDropDown(); break;
    case edControlDropDown: dd = ControlDropDown(); break;
    case edVodGridDropDown:
        // The grid drop-down editor comes with the grid drop-down; until
        // then this type shows nothing.
        return true;
    case edSpinEdit:
    case edFloatSpinEdit:
    case edTimeSpinEdit:
    case edDateSpinEdit: {
        TGridSpin* e = SpinEdit();
        EditMode = true;
        e->ReCreate();
        e->SetTop(R.Top);
        e->SetLeft(R.Left);
        e->SetWidth(W);
        e->SetHeight(H);
        e->SetVisible(true);
        e->SetEnabled(true);
        e->SetColor(C);
        e->SetExcelStyleDecimalSeparator(ExcelStyleDecimalSeparator());
        props();
        switch (EditControl) {
        case edSpinEdit:
            e->SetSpinType(sptNormal);
            e->SetValue(StrToIntDef(Trim(Text), 0));
            break;
        case edFloatSpinEdit:
            e->SetSpinType(sptFloat);
            e->SetFloatValue(StrToFloatDef(ExtractNumberText(Text), 0));
            break;
        case edTimeSpinEdit:
            e->SetSpinType(sptTime);
            e->SetText(Text);
            break;
        default: {
            e->SetSpinType(sptDate);
            TDateTime d = 0;
            if (Trim(Text).empty() || !TryStrToDate(Text, d)) d = Now();
            e->SetDateValue(d);
            break;
        }
        }
        focus(e);
        postKey(e);
        if (FSpinUpClick) e->UpClick(e);
        if (FSpinDnClick) e->DownClick(e);
        FSpinUpClick = false;
        FSpinDnClick = false;
        EditCtrl = e;
        return true;
    }
    case edDateEdit:
    case edDateEditUpDown:
    case edTimeEdit: {
        if (!GridUnit().ComCtl470) return true;
        TGridDatePicker* e = DateTimePicker();
        EditMode = true;
        e->SetParent(this);
        e->ReCreate();
        const bool time = EditControl == edTimeEdit;
        if (time) {
            TDateTime v = 0;
            if (Trim(Text).empty() || !TryStrToTime(Text, v)) v = Now();
            e->SetTime(v);
            e->SetKind(dtkTime);
            e->SetTop(R.Top);
            e->SetLeft(R.Left);
            e->SetHeight(H);
            e->SetWidth(W);
            e->SetEnabled(true);
            e->SetVisible(true);
            e->SetColor(C);
            props();
            focus(e);
            EditCtrl = e;
            return true;
        }
        // The date: now (inside a set range) for an empty text; a value
        // past a set maximum or before a set minimum moves inside it.
        const TDateTime now = Now(), mx = e->MaxDate(), mn = e->MinDate();
        TDateTime v = now;
        if (Trim(Text).empty()) {
            if (mx != 0 && now > mx) v = mx;
            else if (mn != 0 && now < mn) v = mn;
        } else if (OnCustomStrToDate) {
            OnCustomStrToDate(this, Text, v);
        } else if (TryStrToDate(Text, v) || TryStrToDateTime(Text, v)) {
            if (mx != 0 && mx < v) v = mx - 1;
            if (mn != 0 && !(mn < v)) v = mn + 1;
        } else {
            v = now;
        }
        e->SetDateTime(v);
        e->SetKind(dtkDate);
        e->SetDateMode(EditControl == edDateEditUpDown ? dmUpDown : dmComboBox);
        props();
        e->SetTop(R.Top);
        e->SetLeft(R.Left);
        e->SetWidth(W);
        if (e->Height() != H) e->SetHeight(H);
        e->SetEnabled(true);
        e->SetVisible(true);
        e->SetColor(C);
        focus(e);
        if (FMouseActions->DirectDateDrop() && e->HandleAllocated()) SendMessage(e->Handle(), WM_KEYDOWN, VK_F4, 0);
        postKey(e);
        EditCtrl = e;
        return true;
    }
    case edDateTimeEdit: {
        if (!GridUnit().ComCtl470) return true;
        TGridDateTimePicker* e = DateAndTimePicker();
        EditMode = true;
        e->SetParent(this);
        TDateTime v = 0;
        if (Trim(Text).empty() || !TryStrToDateTime(Text, v)) v = Now();
        FOriginalDateTime = v;
        e->SetDateTime(v);
        e->SetKind(dkDateTime);
        e->SetBorderStyle(bsNone);
        e->SetTop(R.Top);
        e->SetLeft(R.Left);
        e->SetWidth(W);
        if (e->Height() < H) e->SetHeight(H);
        props();
        e->SetEnabled(true);
        e->SetVisible(true);
        e->SetColor(C);
        focus(e);
        return true;
    }
    default: return false;
    }

    // One pattern for every drop-down editor.
    EditMode = true;
    dd->SetDropDownFooter(FControlLook->DropDownFooter());
    dd->SetDropDownHeader(FControlLook->DropDownHeader());
    dd->SetComponentStyle(FComponentStyle);
    dd->OnDropDownHeaderButtonClick = [this](TObject*, Integer i) {
        if (OnDropDownHeaderButtonClick) OnDropDownHeaderButtonClick(this, i);
    };
    dd->OnDropDownFooterButtonClick = [this](TObject*, Integer i) {
        if (OnDropDownFooterButtonClick) OnDropDownFooterButtonClick(this, i);
    };
    const bool colourFirst = EditControl == edGridDropDown || EditControl == edControlDropDown;
    if (colourFirst) {
        dd->SetColor(C);
        dd->SetEditorEnabled(true);
    }
    props();
    dd->SetTop(R.Top);
    dd->SetLeft(R.Left);
    dd->SetWidth(0);
    dd->SetHeight(0);
    dd->SetEnabled(true);
    dd->SetBorderStyle(bsNone);
    dd->SetWidth(W);
    dd->SetHeight(H);

    // The value, per kind.
    switch (EditControl) {
    case edTrackbarDropDown: FEditTrackBar->SetPosition(StrToIntDef(Trim(Text), 0)); break;
    case edMemoDropDown: FEditMemo->SetText(Text); break;
    case edCalculatorDropDown: FEditCalculator->SetText(Text); break;
    case edTimePickerDropDown:
        FEditTimePicker->SetEditorEnabled(true);
        FEditTimePicker->SetText(Text);
        break;
    case edDetailDropDown: {
        TGridDetailPickerDropDown* d = FEditDetailPicker;
        d->SetEditorEnabled(true);
        d->SetText(Text);
        const String t = d->GetText();
        for (Integer i = 0; i < d->Items()->Count(); ++i)
            if (d->Items()->Items(i)->Caption() == t) {
                d->SetItemIndex(i);
                break;
            }
        break;
    }
    case edGridDropDown: {
        TGridGridDropDown* d = FEditGridPicker;
        BeginUpdate();
        d->SetItemIndex(Text.empty() ? 0 : d->GetItemIndex(Text));
        d->SetText(Text);
        EndUpdate();
        break;
    }
    case edControlDropDown: FEditControlPicker->SetText(Text); break;
    case edColorPickerDropDown: {
        TGridColorDropDown* d = FEditColorPicker;
        BeginUpdate();
        TColor cc = GetCellType(rc, ARow) == ctShape ? GetShapeColor(rc, ARow) : Colors(rc, ARow);
        if (cc == clNone) cc = Color();
        d->SetSelectedColor(cc);
        EndUpdate();
        break;
    }
    case edImagePickerDropDown: {
        TGridImageDropDown* d = FEditImagePicker;
        const TCellType t = GetCellType(rc, ARow);
        if (t == ctImageList || t == ctDataImage) {
            d->SetImages(GridImages());
            if (d->Items()->Count() == 0 && GridImages()) d->AddImagesFromImageList();
            Integer idx = -1;
            if (t == ctImageList) GetImageIdx(rc, ARow, idx);
            else idx = StrToIntDef(Trim(GetCellEx(rc, ARow)), -1);
            d->SetItemIndex(idx >= 0 && idx < d->Items()->Count() ? idx : -1);
            const Integer sel = d->ItemIndex();
            d->SetEditText(sel >= 0 ? d->Items()->Items(sel)->Caption() : String());
        }
        break;
    }
    default: break;
    }
    if (!colourFirst) dd->SetColor(C);
    dd->SetVisible(true);
    focus(dd);
    postKey(dd);
    if (FMouseActions->DirectComboDrop()) dd->ShowDropDown();
    if (EditControl == edMemoDropDown && dd->DroppedDown()) {
        dd->SetSelStart(0);
        dd->SetSelLength(0);
    }
    EditCtrl = dd;
    return true;
}

// ---------------------------------------------------------------------------
// Write-back

bool TVodStringGrid::HideClassEditor(Integer ACol, Integer ARow)
{
    auto T = [&](const String& s) { StoreEditorText(ACol, ARow, s); };
    auto hide = [](TWinControl* e) {
        e->SetEnabled(false);
        e->SetVisible(false);
    };
    // The drop-downs write back only while their edit is shown.
    auto shown = [&](TWinControl* e) {
        if (!e || !EditMode) return false;
        EditMode = false;
        return true;
    };
    switch (EditControl) {
    case edTrackbarDropDown:
        if (shown(FEditTrackBar)) {
            T(FEditTrackBar->GetText());
            hide(FEditTrackBar);
        }
        return true;
    case edCalculatorDropDown:
        if (shown(FEditCalculator)) {
            T(FEditCalculator->GetText());
            hide(FEditCalculator);
        }
        return true;
    case edTimePickerDropDown:
        if (shown(FEditTimePicker)) {
            T(FEditTimePicker->GetText());
            hide(FEditTimePicker);
        }
        return true;
    case edDetailDropDown:
        if (shown(FEditDetailPicker)) {
            T(FEditDetailPicker->GetText());
            hide(FEditDetailPicker);
        }
        return true;
    case edControlDropDown:
        if (shown(FEditControlPicker)) {
            T(FEditControlPicker->GetText());
            hide(FEditControlPicker);
        }
        return true;
    case edMemoDropDown:
        if (shown(FEditMemo)) {
            // All lines as one text, a line break between two lines.
            String all;
            TStrings* lines = FEditMemo->MemoText();
            for (Integer i = 0; i < lines->Count(); ++i) {
                if (i > 0) all += L"\r\n";
                all += lines->Strings(i);
            }
            T(all);
            hide(FEditMemo);
        }
        return true;
    case edGridDropDown:
        if (shown(FEditGridPicker)) {
            T(FEditGridPicker->GetText());
            hide(FEditGridPicker);
        }
        return true;
    case edColorPickerDropDown:
        if (shown(FEditColorPicker)) {
            TColor colour = FEditColorPicker->SelectedColor();
            String text = FEditColorPicker->ColorText();
            if (OnColorSelected) OnColorSelected(this, ACol, ARow, colour, text);
            T(text);
            if (GetCellType(ACol, ARow) == ctShape) SetShapeColor(ACol, ARow, colour);
            else SetColors(ACol, ARow, colour);
            hide(FEditColorPicker);
        }
        return true;
    case edImagePickerDropDown:
        if (shown(FEditImagePicker)) {
            Integer index = FEditImagePicker->ItemIndex();
            if (OnImageSelected) OnImageSelected(this, ACol, ARow, index);
            const TCellType t = GetCellType(ACol, ARow);
            if (t == ctImageList) SetImageIdx(ACol, ARow, index);
            else if (t == ctDataImage) T(IntToStr(index));
            hide(FEditImagePicker);
        }
        return true;
    case edVodGridDropDown: EditMode = false; return true;
    case edSpinEdit:
    case edFloatSpinEdit:
    case edTimeSpinEdit:
    case edDateSpinEdit:
        EditMode = false;
        if (FEditSpin) {
            TGridSpin* e = FEditSpin;
            if (e->AllowEmptyValue() && Trim(e->Text()).empty()) SetCellEx(ACol, ARow, String());
            else if (EditControl == edSpinEdit) SetInts(ACol, ARow, e->Value());
            else if (EditControl == edFloatSpinEdit) SetFloats(ACol, ARow, e->FloatValue());
            else if (EditControl == edTimeSpinEdit) T(e->Text());
            else SetDates(ACol, ARow, e->DateValue());
            hide(e);
        }
        return true;
    case edDateEdit:
    case edDateEditUpDown:
        if (!GridUnit().ComCtl470) return true;
        if (FEditDate) {
            if (FEditDate->Checked()) {
                SYSTEMTIME st{};
                if (FEditDate->HandleAllocated() &&
                    SendMessage(FEditDate->Handle(), DTM_GETSYSTEMTIME, 0, LPARAM(&st)) == GDT_VALID && st.wYear &&
                    st.wMonth && st.wDay)
                    T(FormatDateTime(FormatSettings.ShortDateFormat, EncodeDate(st.wYear, st.wMonth, st.wDay)));
                else if (!FEditDate->HandleAllocated())
                    T(FormatDateTime(FormatSettings.ShortDateFormat, FEditDate->DateTime()));
            } else {
                T(String());
            }
            EditMode = false;
            hide(FEditDate);
        }
        EditMode = false;
        return true;
    case edTimeEdit:
        if (!GridUnit().ComCtl470) return true;
        if (FEditDate) {
            // The picker's own format stands in for the long time format.
            const String saved = FormatSettings.LongTimeFormat;
            if (!FEditDate->Format().empty()) FormatSettings.LongTimeFormat = FEditDate->Format();
            T(GridDatePickerText(FEditDate));
            FormatSettings.LongTimeFormat = saved;
            EditMode = false;
            hide(FEditDate);
        }
        EditMode = false;
        return true;
    case edDateTimeEdit:
        if (!GridUnit().ComCtl470) return true;
        if (FEditDateTime) {
            if (!FEditDateTime->ShowCheckbox() || FEditDateTime->Checked()) {
                const TDateTime v = FEditDateTime->DateTime();
                T(FormatDateTime(FormatSettings.ShortDateFormat, v) + L" " +
                  FormatDateTime(FormatSettings.ShortTimeFormat, v));
            } else {
                T(String());
            }
            EditMode = false;
            hide(FEditDateTime);
        }
        EditMode = false;
        return true;
    default: return false;
    }
}
