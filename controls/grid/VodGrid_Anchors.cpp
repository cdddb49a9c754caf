// Anchors and markup controls in the string grid's cells: clicks, hovering
// and the live editors of EDIT, PASSWORD, MASK and COMBO controls.
#include <algorithm>
#include <cmath>

#include "controls/foundation/VodUtil.h"
#include "controls/grid/VodGrid.h"
#include "controls/grid/editors/GridEditors.h"
#include "controls/markup/VurHTMLE.h"
#include "platform/os/Shell.h"
#include "platform/ui/Forms.h"
#include "platform/ui/WindowManager.h"

namespace {

// Only these schemes go to the shell; files, paths and programs named by a
// cell never start anything by themselves.
bool ShellScheme(const String& Anchor)
{
    const String a = LowerCase(Trim(Anchor));
    for (const wchar_t* s : {L"http://", L"https://", L"ftp://", L"mailto:"})
        if (a.rfind(s, 0) == 0) return true;
    return false;
}

bool IsMarkupText(const String& S) { return DetectTextMarkup(S, true) != 0 && S.find(L'<') != String::npos; }

}  // namespace

// The markup hit test of a cell at a client point: the rectangle the
// painter lays the text out in.
static bool HitTestCell(TVodStringGrid* G, TCanvas* C, Integer ACol, Integer ARow, Integer X, Integer Y,
                        TMarkupParams& P)
{
    TRect r = G->CellRect(ACol, ARow);
    const Integer rc = G->RealColIndex(ACol);
    P.Canvas = C;
    P.Text = G->GetCellEx(rc, ARow);
    const TPoint xy = G->XYOffset();
    r.Left += xy.X + 1;
    r.Top += xy.Y + 1;
    r.Right -= xy.X;
    if (G->CellHasCheckBox(rc, ARow))
        r.Left += Integer(std::lround(G->ControlLook()->CheckSize() * G->DPIScale()));
    P.Rect = r;
    P.XPos = X;
    P.YPos = Y;
    P.CheckOnly = true;
    P.ImageCache = G->ImageCache();
    P.ShadowColor = TColor(0x808080);
    P.URLColor = G->URLColor();
    return VurHTMLE::RenderMarkup(P);
}

bool TVodStringGrid::AnchorClickAt(Integer ACol, Integer ARow, Integer X, Integer Y)
{
    const Integer rc = RealColIndex(ACol);
    String text = GetCellEx(rc, ARow);
    const bool markup = FEnableHTML && IsMarkupText(text);
    if (!FURLShow && !markup) return false;
    String anchor, ctrlID, ctrlType, ctrlValue;
    TRect ctrlRect{0, 0, 0, 0};
    if (!markup) {
        if (!IsURLText(text)) return false;
        anchor = text;
    } else {
        Canvas()->Font()->Assign(GetCellFont(rc, ARow));
        TMarkupParams p;
        if (!HitTestCell(this, Canvas(), ACol, ARow, X, Y, p)) return false;
        anchor = p.AnchorVal;
        ctrlID = p.ControlID;
        ctrlType = UpperCase(p.ControlType);
        ctrlValue = p.ControlValue;
        ctrlRect = p.ControlRect;
        if (anchor.empty() && ctrlID.empty()) return false;
    }
    bool autoHandle = true;
    bool canEdit = Options().Contains(goEditing) ? !ReadOnly(rc, ARow) : false;
    FCtrlDownId = ctrlID;
    FAnchorClick = true;
    if (!ctrlID.empty()) CanEditCell(ACol, ARow, canEdit);
    if (!ctrlID.empty() && canEdit) {
        if (FCtrlEditing) {
            ControlEditDone();
            text = GetCellEx(rc, ARow);
        }
        if (ctrlType == L"BUTTON") {
            FCtrlXY = TPoint{rc, ARow};
            FCtrlDown = true;
            RepaintCell(ACol, ARow);
        } else if (ctrlType == L"CHECK") {
            // Exact comparison: "true" in lower case becomes "TRUE".
            VurHTMLE::SetControlValue(text, ctrlID, ctrlValue == L"TRUE" ? L"FALSE" : L"TRUE");
            SetCellEx(rc, ARow, text);
        } else if (ctrlType == L"RADIO") {
            String cleared;
            VurHTMLE::ClearRadioControls(text, cleared);
            VurHTMLE::SetControlValue(cleared, ctrlID, L"TRUE");
            SetCellEx(rc, ARow, cleared);
        }
        if (OnControlClick) OnControlClick(this, ARow, ACol, ctrlID, ctrlType, ctrlValue);
        StartControlEdit(GetCellEx(rc, ARow), ctrlType, ARow, rc, ACol, ctrlRect, ctrlValue, ctrlID);
        autoHandle = false;
    } else {
        if (OnAnchorClick) OnAnchorClick(this, ARow, ACol, anchor, autoHandle);
    }
    if (autoHandle && !anchor.empty()) {
        const String up = UpperCase(anchor);
        const size_t at = up.find(L"CELL://");
        if (at != String::npos) {
            // The reference follows the marker; outside the grid it does
            // nothing.
            TPoint ref{-1, -1};
            if (ParseRCReference(anchor.substr(at + 7), ref) && ref.X >= 0 && ref.Y >= 0 && ref.X < ColCount() &&
                ref.Y < RowCount()) {
                SetRow(ref.Y);
                SetCol(ref.X);
                ScrollInView(ref.X, ref.Y, spMiddle);
            }
        } else if (ShellScheme(anchor)) {
            ShellExecute(Application->Handle(), L"open", anchor.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        }
    }
    return true;
}

void TVodStringGrid::StartControlEdit(const String& Text, const String& CtrlType, Integer ARow, Integer ACol,
                                      Integer DisplCol, TRect R, const String& CtrlValue, const String& CtrlID)
{
    if (CtrlType == L"EDIT" || CtrlType == L"PASSWORD" || CtrlType == L"MASK") {
        if (!FCellEditControl) return;
        FCtrlXY = TPoint{ACol, ARow};
        FCtrlID = CtrlID;
        FCtrlType = CtrlType;
        FCtrlEditing = true;
        TControlEdit* e = FCellEditControl;
        e->SetWidth(0);
        e->SetPasswordChar(CtrlType == L"PASSWORD" ? L'*' : L'\0');
        e->OnExit = [this](TObject*) { ControlEditDone(); };
        e->SetText(CtrlValue);
        e->SetBorderStyle(bsNone);
        e->SetBounds(R.Left + 1, R.Top + 8, R.Right - R.Left - 4, 14);
        e->SetMaxLength(VurHTMLE::GetControlMaxLen(Text, CtrlID));
        e->SetParent(this);
        e->SetVisible(true);
        e->BringToFront();
        if (e->CanFocus()) e->SetFocus();
    } else if (CtrlType == L"COMBO") {
        if (!FCellComboControl) return;
        FCtrlXY = TPoint{ACol, ARow};
        FCtrlID = CtrlID;
        FCtrlType = CtrlType;
        FCtrlEditing = true;
        TControlCombo* c = FCellComboControl;
        c->SetWidth(0);
        c->SetBounds(R.Left - 1, R.Top + 4, R.Right - R.Left, c->Height());
        c->OnSelect = [this](TObject* s) { ControlComboSelect(s); };
        c->SetParent(this);
        bool edit = true;
        Integer dropCount = 8;
        c->Items()->Clear();
        TStringList values;
        if (OnControlComboList) OnControlComboList(this, ARow, DisplCol, CtrlID, CtrlType, CtrlValue, &values, edit, dropCount);
        c->Items()->Assign(&values);
        c->SetStyle(edit ? csDropDown : csDropDownList);
        const Integer idx = c->Items()->IndexOf(CtrlValue);
        if (idx >= 0) c->SetItemIndex(idx);
        c->SetText(CtrlValue);
        c->SetDropDownCount(dropCount);
        c->OnExit = [this](TObject*) { ControlEditDone(); };
        c->SetBounds(c->Left(), c->Top(), c->Width(), c->ItemHeight() * (dropCount + 2));
        c->SetMaxLength(VurHTMLE::GetControlMaxLen(Text, CtrlID));
        c->SetVisible(true);
        if (c->CanFocus()) c->SetFocus();
    }
}

void TVodStringGrid::ControlEditDone()
{
    if (!FCtrlEditing) return;
    FCtrlEditing = false;
    const Integer c = FCtrlXY.X, r = FCtrlXY.Y;
    String value;
    if (FCtrlType == L"COMBO") {
        if (!FCellComboControl) return;
        value = FCellComboControl->Text();
        FCellComboControl->SetVisible(false);
    } else {
        if (!FCellEditControl) return;
        value = FCellEditControl->Text();
        FCellEditControl->SetVisible(false);
    }
    // Written also when unchanged.
    if (c >= 0 && r >= 0 && r < RowCount()) {
        String text = GetCellEx(c, r);
        VurHTMLE::SetControlValue(text, FCtrlID, value);
        SetCellEx(c, r, text);
    }
    if (OnControlEditDone) OnControlEditDone(this, r, c, FCtrlID, FCtrlType, value);
    FCtrlType.clear();
}

void TVodStringGrid::ControlComboSelect(TObject*)
{
    if (!OnControlComboSelect || !FCellComboControl) return;
    const Integer i = FCellComboControl->ItemIndex();
    const String v = i >= 0 && i < FCellComboControl->Items()->Count() ? FCellComboControl->Items()->Strings(i) : String();
    OnControlComboSelect(this, FCtrlXY.Y, FCtrlXY.X, i, FCtrlID, v);
}

void TVodStringGrid::AnchorHoverAt(Integer ACol, Integer ARow, Integer X, Integer Y)
{
    const Integer rc = RealColIndex(ACol);
    const String text = GetCellEx(rc, ARow);
    const bool markup = FEnableHTML && IsMarkupText(text);
    if (FURLShow && !markup && IsURLText(text)) {
        SetCursor(crHandPoint);
        Invokedchange = true;
        return;
    }
    if (markup) {
        TCanvas* c = Canvas();
        c->Font()->Assign(ACol < FixedCols() || ARow < FixedRows() ? FFixedFont.get() : GetCellFont(rc, ARow));
        TMarkupParams p;
        const bool hit = HitTestCell(this, c, ACol, ARow, X, Y, p);
        if (FURLUnderlineOnHover && (!(FHoverCell == TPoint{ACol, ARow}) || FHoverLink != p.MouseLink)) {
            if (FHoverCell.X >= 0) RepaintCell(FHoverCell.X, FHoverCell.Y);
            FHoverCell = TPoint{ACol, ARow};
            FHoverLink = p.MouseLink;
            RepaintCell(ACol, ARow);
        }
        if (hit && (!p.AnchorVal.empty() || !p.AnchorTitle.empty())) {
            String hint = p.AnchorTitle.empty() ? p.AnchorVal : p.AnchorTitle;
            if (OnAnchorHint) OnAnchorHint(this, ARow, ACol, hint);
            if (hint != FLastAnchorHint && !FLastAnchorHint.empty() && p.AnchorVal != FAnchorHover) {
                FLastAnchorHint = hint;
                Application->CancelHint();
            }
            SetCursor(crHandPoint);
            Invokedchange = true;
            if (p.AnchorVal != FAnchorHover) {
                if (OnAnchorEnter) OnAnchorEnter(this, ARow, ACol, p.AnchorVal);
                FAnchorHover = p.AnchorVal;
            }
        } else if (!FAnchorHover.empty()) {
            if (OnAnchorExit) OnAnchorExit(this, ARow, ACol, String());
            FAnchorHover.clear();
        }
        return;
    }
    if (FURLUnderlineOnHover && FHoverCell.X >= 0 && !(FHoverCell == TPoint{ACol, ARow})) {
        FHoverLink = -1;
        RepaintCell(FHoverCell.X, FHoverCell.Y);
        FHoverCell = TPoint{-1, -1};
    }
    if (!FAnchorHover.empty()) {
        if (OnAnchorExit) OnAnchorExit(this, ARow, ACol, String());
        FAnchorHover.clear();
    }
}
