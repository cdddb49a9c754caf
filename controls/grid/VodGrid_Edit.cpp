// The string grid's editor choice: whether the platform's text editor may
// show for the current cell, and the showing, placing and filling of the
// grid's special editor controls for every other editor type.
#include <algorithm>
#include <cwctype>

#include "controls/grid/VodGrid.h"
#include "controls/grid/editors/EditLink.h"
#include "controls/grid/editors/GridEditors.h"
#include "controls/grid/editors/VodRichEdit.h"
#include "platform/base/SysUtils.h"

namespace {

// The types the grid's own text editor serves.
bool IsDefaultEditorType(TEditorType e)
{
    switch (e) {
    case edNormal: case edNumeric: case edPositiveNumeric: case edFloat: case edCapital: case edMixedCase:
    case edPassword: case edLowerCase: case edUpperCase: case edValidChars: case edPositiveFloat: return true;
    default: return false;
    }
}

// Posts the character that started the edit to the editor's window, so
// that it arrives once the editor has the focus.
void PostFirstKey(TWinControl* Editor, wchar_t Ch)
{
    if (Ch != 0 && Editor && Editor->HandleAllocated()) PostMessage(Editor->Handle(), WM_CHAR, WPARAM(Ch), 0);
}

// A unit editor's text: the number in front, the unit after it.
void SplitValueAndUnit(const String& Text, String& Value, String& Unit)
{
    size_t i = 0;
    while (i < Text.size() && (std::iswdigit(Text[i]) || Text[i] == L'-' || Text[i] == L'+' || Text[i] == L'.' ||
                               Text[i] == L',' || Text[i] == L' '))
        ++i;
    Value = Trim(Text.substr(0, i));
    Unit = Text.substr(i);
}

}  // namespace

TVodInplaceEdit* TVodStringGrid::NormalEdit() const { return dynamic_cast<TVodInplaceEdit*>(InplaceEditor()); }

TVodRichEdit* TVodStringGrid::InplaceRichEdit()
{
    if (!FInplaceRichEdit) {
        FInplaceRichEdit = new TVodRichEdit(this);
        FInplaceRichEdit->SetVisible(false);
        FInplaceRichEdit->SetParent(this);
        FInplaceRichEdit->OnSelectionChange = [this](TObject*) {
            if (OnRichEditSelectionChange) OnRichEditSelectionChange(this);
        };
    }
    return FInplaceRichEdit;
}

void TVodStringGrid::SetEditLink(TEditLink* Value)
{
    if (FEditLink == Value) return;
    if (FEditLink) FEditLink->RemoveFreeNotification(this);
    FEditLink = Value;
    if (FEditLink) FEditLink->FreeNotification(this);
}

Integer TVodStringGrid::GetEditLimit() { return FMaxEditLength; }

void TVodStringGrid::GetEditorProp(Integer ACol, Integer ARow, TObject* AEditLink)
{
    if (OnGetEditorProp) OnGetEditorProp(this, ACol, ARow, AEditLink);
    if (OnGetEditorPropInt) OnGetEditorPropInt(this, ACol, ARow);
}

// ---------------------------------------------------------------------------
// CanEditShow

bool TVodStringGrid::CanEditShow()
{
    if (FValidating) return false;
    bool a = TBaseGrid::CanEditShow();
    if (ComponentState().Contains(csDesigning)) return a;
    const TPoint b = BaseCell(RealCol(), Row());
    if (a && !EditMode && IsClickControlCell(b.X, b.Y)) return false;
    if (a && !EditMode) {
        FNoEditChange = true;
        FCellCache = GetEditText(Col(), Row());
        StoreCellValue(Col(), Row());
        EditControl = FDefaultEditor;
        GetCellEditorType(b.X, b.Y, EditControl);
        if (EditControl == edNone) return false;
        EditMode = true;
        if (IsDefaultEditorType(EditControl)) {
            FShowEditProcess = true;
        } else {
            ShowEditorControl(DisplColIndex(b.X), b.Y);
            FEntered = true;
            if (FFocusHelper->Enabled()) ShowFocusWindow(CellRect(Col(), Row()));
            return false;
        }
    }
    if (a) {
        FEntered = true;
        FEditing = true;
        if (FFocusHelper->Enabled()) ShowFocusWindow(CellRect(Col(), Row()));
    }
    return a;
}

// ---------------------------------------------------------------------------
// ShowEditorControl

void TVodStringGrid::ShowEditorControl(Integer ACol, Integer ARow)
{
    FEditing = true;
    FSpecialEditor = true;
    FEditActive = true;
    TRect R = CellRect(ACol, ARow);
    if (UseRightToLeftAlignment()) R.Left += 1;
    const Integer W = R.Right - R.Left - 1, H = R.Bottom - R.Top - 1;
    const Integer rc = RealColIndex(ACol);

    // The cell's look: the brush colour and font its painting uses.
    auto brush = std::make_unique<TBrush>();
    auto font = std::make_unique<TFont>();
    brush->SetColor(Color());
    font->Assign(Font());
    {
        TGridDrawState st;
        TColor ct = clNone, mc = clNone, mct = clNone;
        TAlignment ha = taLeftJustify;
        TVAlignment va = vtaTop;
        bool ww = false;
        TCellGradientDirection gd = GradientVertical;
        GetVisualProperties(rc, Row(), st, false, false, true, brush.get(), ct, mc, mct, font.get(), ha, va, ww, gd);
    }
    const TColor C = brush->Color();
    TFont* F = font.get();

    FGridState = gsNormal;
    EditCtrl = nullptr;
    if (EditControl != edCustom) FLastValidation = true;
    const String text = GetEditText(ACol, ARow);
    const wchar_t firstKey = FStartEditChar;
    auto place = [&](TWinControl* e) {
        e->SetTop(R.Top);
        e->SetLeft(R.Left);
        e->SetWidth(W);
        e->SetHeight(H);
    };
    auto props = [&] { GetEditorProp(ACol, ARow, FEditLink); };
    auto focus = [](TWinControl* e) {
        if (e->CanFocus()) e->SetFocus();
    };

    switch (EditControl) {
    case edComboEdit:
    case edComboList: {
        TGridCombo* e = FComboBox;
        if (!e) break;
        EditMode = true;
        const bool list = EditControl == edComboList;
        e->SetDropDownCount(FControlLook->DropDownCount());
        props();
        if (list) {
            FForceComboSel = false;
            e->SetTop(R.Top);
            e->SetLeft(R.Left);
        }
        e->SetWidth(0);
        e->SetHeight(0);
        if (!list) {
            e->SetTop(R.Top);
            e->SetLeft(R.Left);
        }
        e->SetEnabled(true);
        e->SetDroppedDown(false);
        e->SetStyle(list ? csDropDownList : csDropDown);
        e->SetItemHeight(std::max(1, H - 6));
        e->SetWidth(W);
        e->SetHeight(e->ItemHeight() * (e->DropDownCount() + 1) + H);
        bool autoSelected = false;
        if (!list) {
            e->SetText(text);
            if (FComboIdx != -1 && e->ItemIndex() < 0) e->SetItemIndex(FComboIdx);
            e->SetMaxLength(FMaxComboLength);
        } else {
            // The item equal to the stored text, case-sensitive, first.
            const String stored = GetCellEx(rc, ARow);
            TStrings* items = e->Items();
            for (Integer i = 0; i < items->Count(); ++i)
                if (items->Strings(i) == stored) {
                    e->SetItemIndex(i);
                    break;
                }
            if (FComboIdx == -1 && e->ItemIndex() < 0) {
                for (Integer i = 0; i < items->Count(); ++i)
                    if (CompareText(items->Strings(i), text) == 0) {
                        e->SetItemIndex(i);
                        break;
                    }
                if (e->ItemIndex() < 0 && FNavigation->AutoComboSelect() && items->Count() > 0) {
                    e->SetItemIndex(0);
                    autoSelected = true;
                    if (e->OnChange) e->OnChange(e);
                }
            } else if (e->ItemIndex() < 0 && FComboIdx >= 0) {
                e->SetItemIndex(FComboIdx);
            }
        }
        e->SetVisible(true);
        {
            const TGridLook lk = Look();
            const bool flat = lk == glSoft || lk == glQel || lk == glXP || lk == glListView || lk == glVista ||
                              lk == glWin7 || lk == glOffice2007;
            e->SetFlat(flat);
            e->SetEtched(flat);
        }
        e->SetColor(C);
        if (FNavigation->AutoComboDropSize()) e->SizeDropDownWidth();
        else if (e->DropWidth() > 0 && e->HandleAllocated())
            SendMessage(e->Handle(), CB_SETDROPPEDWIDTH, WPARAM(e->DropWidth()), 0);
        focus(e);
        const bool dropped = FMouseActions->DirectComboDrop() || FControlLook->DropDownAlwaysVisible();
        if (dropped) e->SetDroppedDown(true);
        PostFirstKey(e, firstKey);
        EditCtrl = e;
        if (!dropped) e->SetItemHeight(std::max(1, H - 6));
        if (autoSelected && e->Items()->Count() > 0) {
            const String item0 = e->Items()->Strings(0);
            if (OnComboChange) OnComboChange(this, ACol, 0, item0, ARow);
            if (OnComboObjectChange) OnComboObjectChange(this, ACol, 0, item0, e->Items()->Objects(0), ARow);
        }
        break;
    }
    case edEditBtn:
    case edNumericEditBtn:
    case edFloatEditBtn:
    case edMaskEditBtn: {
        TGridEditBtn* e = FBtnEdit;
        if (!e) break;
        EditMode = true;
        e->RecreateWnd();
        e->SetTop(R.Top);
        e->SetLeft(R.Left);
        e->SetWidth(W);
        e->SetText(text);
        e->SetMaxLength(GetEditLimit());
        e->SetVisible(true);
        e->SetEnabled(true);
        e->SetColor(C);
        props();
        focus(e);
        e->SetHeight(H);
        PostFirstKey(e, firstKey);
        EditCtrl = e;
        break;
    }
    case edUnitEditBtn:
    case edNumericUnitEditBtn:
    case edFloatUnitEditBtn: {
        TGridUnitEditBtn* e = FBtnUnitEdit;
        if (!e) break;
        EditMode = true;
        e->RecreateWnd();
        e->SetTop(R.Top);
        e->SetLeft(R.Left);
        e->SetWidth(W);
        e->SetMaxLength(GetEditLimit());
        e->SetUnitID(String());
        e->SetText(String());
        // The editor splits the text by its units; a text that ends in none
        // of them is shown whole, so that the edit never loses it.
        e->SetTextAndUnit(text);
        if (e->TextAndUnit() != text) {
            String value, unit;
            SplitValueAndUnit(text, value, unit);
            e->SetText(e->Units()->IndexOf(unit) >= 0 ? value : text);
            e->SetUnitID(e->Units()->IndexOf(unit) >= 0 ? unit : String());
        }
        props();
        e->SetVisible(true);
        e->SetEnabled(true);
        e->SetColor(C);
        focus(e);
        e->SetHeight(H);
        PostFirstKey(e, firstKey);
        EditCtrl = e;
        break;
    }
    case edCheckBox: {
        TGridCheckBox* e = FCheckBoxEditor;
        if (!e) break;
        EditMode = true;
        e->RecreateWnd();
        place(e);
        e->SetCaption(text);
        e->SetEnabled(true);
        e->SetState(cbUnchecked);
        e->SetVisible(true);
        focus(e);
        break;
    }
    case edButton: {
        TGridButton* e = FBtn;
        if (!e) break;
        EditMode = true;
        e->RecreateWnd();
        e->SetTop(R.Top - 1);
        e->SetLeft(R.Left - 1);
        e->SetWidth(W + 2);
        e->SetHeight(H + 2);
        e->SetCaption(text);
        props();
        e->SetVisible(true);
        e->SetEnabled(true);
        focus(e);
        EditCtrl = e;
        break;
    }
    case edRichEdit: {
        TVodRichEdit* e = InplaceRichEdit();
        EditMode = true;
        e->ReCreate();
        e->SetParent(this);
        e->SetBorderStyle(bsNone);
        e->SetHideSelection(false);
        place(e);
        props();
        e->Lock();
        CellToRich(rc, ARow, e);
        if (FNavigation->EditSelectAll()) e->SelectAll();
        e->SetVisible(true);
        e->SetEnabled(true);
        if (e->HandleAllocated()) {
            TRect fr = Rect(2, 2, R.Right - R.Left - 2, R.Bottom - R.Top - 2);
            SendMessage(e->Handle(), EM_SETRECT, 0, LPARAM(&fr));
        }
        e->SetColor(C);
        focus(e);
        PostFirstKey(e, firstKey);
        e->Unlock();
        EditCtrl = e;
        break;
    }
    case edCustom: {
        if (!FEditLink) break;
        TEditLink* link = FEditLink;
        EditMode = true;
        link->SetGrid(this);
        link->SetEditCell(TPoint{rc, ARow});
        if (link->EditStyle == esPopup) {
            if (link->AutoPopupWidth) link->PopupWidth = R.Right - R.Left;
            const bool made = !link->PopupForm();
            TForm* form = link->NeedPopupForm();
            TPoint at = (link->PopupLeft != -1 && link->PopupTop != -1) ? TPoint{link->PopupLeft, link->PopupTop}
                                                                        : ClientToScreen(TPoint{R.Left, R.Top});
            form->SetLeft(at.X);
            form->SetTop(at.Y);
            form->OnDeactivate = [link](TObject* Sender) { link->FormExit(Sender); };
            form->SetWidth(0);
            form->SetHeight(0);
            form->SetFormStyle(fsStayOnTop);
            form->SetBorderStyle(bsNone);
            form->Show();
            form->SetLeft(at.X);
            form->SetTop(at.Y);
            form->SetWidth(link->PopupWidth);
            form->SetHeight(link->PopupHeight);
            if (made || !link->GetEditControl()) link->CreateEditor(form);
            link->SetRect(Rect(0, 0, link->PopupWidth, link->PopupHeight));
        } else {
            if (!link->GetEditControl()) link->CreateEditor(this);
            link->SetRect(R);
        }
        link->SetVisible(true);
        link->SetCellProps(C, F);
        link->SetProperties();
        props();
        const bool tags = FEditWithTags;
        if (link->WantHTML) FEditWithTags = true;
        const String v = GetEditText(ACol, ARow);
        FEditWithTags = tags;
        link->SetEditorValue(v);
        link->SetFocus(true);
        FEditActive = true;
        if (TWinControl* c = link->GetEditControl()) PostFirstKey(c, firstKey);
        EditCtrl = link->GetEditControl();
        break;
    }
    default:
        // The spin, date and drop-down editors.
        ShowClassEditor(ACol, ARow, R, W, H, C, text, firstKey);
        break;
    }
    FStartEditChar = 0;
}
