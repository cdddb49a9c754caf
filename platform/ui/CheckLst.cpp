// TCheckListBox: each item's check state lives in a record the item
// carries as its data, so it follows the item through inserts, deletes,
// sorting and new windows; the check boxes are drawn with the theme parts
// when visual styles are on, classic frame controls otherwise.
#include "platform/ui/CheckLst.h"

#include <algorithm>

#include "platform/base/Exceptions.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/ControlsInternal.h"
#include "platform/ui/Themes.h"

namespace {
constexpr Integer kCheckSize = 13;
}

TCheckListBox::TCheckListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}

TCheckListBox::~TCheckListBox()
{
    // The records go with the control; the window (destroyed later) must
    // not point at them any more.
    for (Integer i = 0; i < Count(); ++i) SetRawObject(i, nullptr);
    FRecords.clear();
}

void TCheckListBox::CreateParams(TCreateParams& P)
{
    TCustomListBox::CreateParams(P);
    // The check boxes are owner drawn; standard items draw as text after them.
    if (FStyle == lbStandard) P.Style |= LBS_OWNERDRAWFIXED;
}

void TCheckListBox::CreateWnd()
{
    TCustomListBox::CreateWnd();
    if (FStyle != lbStandard) return;
    HDC dc = CreateScreenIC();
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    TEXTMETRICW tm;
    GetTextMetrics(dc, &tm);
    SelectObject(dc, old);
    DeleteDC(dc);
    SendMessage(FHandle, LB_SETITEMHEIGHT, 0, std::max<Integer>(tm.tmHeight, kCheckSize + 2));
}

Integer TCheckListBox::CheckWidth() const { return kCheckSize + 2; }

TCheckListBox::TItemRecord* TCheckListBox::Record(Integer Index) const
{
    if (Index < 0 || Index >= Count()) throw EListError(L"List index out of bounds (" + IntToStr(Index) + L")");
    return static_cast<TItemRecord*>(RawObject(Index));
}

TCheckListBox::TItemRecord* TCheckListBox::RecordNeeded(Integer Index)
{
    TItemRecord* r = Record(Index);
    if (!r) {
        r = static_cast<TItemRecord*>(WrapObject(nullptr, nullptr));
        SetRawObject(Index, r);
    }
    return r;
}

TObject* TCheckListBox::WrapObject(TObject* Raw, TObject* AObject)
{
    if (auto* r = static_cast<TItemRecord*>(Raw)) {
        r->Object = AObject;
        return r;
    }
    FRecords.push_back(std::make_unique<TItemRecord>());
    FRecords.back()->Object = AObject;
    return FRecords.back().get();
}

TObject* TCheckListBox::UnwrapObject(TObject* Raw) const
{
    auto* r = static_cast<TItemRecord*>(Raw);
    return r ? r->Object : nullptr;
}

void TCheckListBox::ItemRemoved(TObject* Raw)
{
    FRecords.erase(std::remove_if(FRecords.begin(), FRecords.end(),
                                  [&](const std::unique_ptr<TItemRecord>& r) { return r.get() == Raw; }),
                   FRecords.end());
}

TCheckBoxState TCheckListBox::State(Integer Index) const
{
    TItemRecord* r = Record(Index);
    return r ? r->State : cbUnchecked;
}

void TCheckListBox::SetState(Integer Index, TCheckBoxState Value)
{
    TItemRecord* r = RecordNeeded(Index);
    if (r->State == Value) return;
    r->State = Value;
    if (HandleAllocated()) {
        TRect ir = ItemRect(Index);
        InvalidateRect(FHandle, &ir, FALSE);
    }
}

bool TCheckListBox::ItemEnabled(Integer Index) const
{
    TItemRecord* r = Record(Index);
    return r ? r->Enabled : true;
}

void TCheckListBox::SetItemEnabled(Integer Index, bool Value)
{
    TItemRecord* r = RecordNeeded(Index);
    if (r->Enabled == Value) return;
    r->Enabled = Value;
    if (HandleAllocated()) {
        TRect ir = ItemRect(Index);
        InvalidateRect(FHandle, &ir, FALSE);
    }
}

void TCheckListBox::ClickCheck()
{
    if (OnClickCheck) OnClickCheck(this);
}

void TCheckListBox::ToggleClickCheck(Integer Index)
{
    if (Index < 0 || Index >= Count() || !ItemEnabled(Index)) return;
    TCheckBoxState next = cbUnchecked;
    switch (State(Index)) {
    case cbUnchecked: next = cbChecked; break;
    case cbChecked: next = FAllowGrayed ? cbGrayed : cbUnchecked; break;
    case cbGrayed: next = cbUnchecked; break;
    }
    SetState(Index, next);
    ClickCheck();
}

void TCheckListBox::WMLButtonDown(TMessage& M)
{
    TCustomListBox::WMLButtonDown(M);
    Integer index = ItemAtPos(M.Pos(), true);
    if (index < 0) return;
    TRect r = ItemRect(index);
    if (M.XPos() - r.Left < CheckWidth()) ToggleClickCheck(index);
}

void TCheckListBox::KeyPress(wchar_t& Key)
{
    TCustomListBox::KeyPress(Key);
    if (Key == L' ') ToggleClickCheck(ItemIndex());
}

void TCheckListBox::DrawCheck(HDC DC, const TRect& R, TCheckBoxState AState, bool AEnabled)
{
    TRect box = Bounds(R.Left + (R.Width() - kCheckSize) / 2, R.Top + (R.Height() - kCheckSize) / 2, kCheckSize,
                       kCheckSize);
    if (HTHEME theme = OpenThemeData(FHandle, L"button")) {
        int state;
        switch (AState) {
        case cbChecked: state = AEnabled ? CBS_CHECKEDNORMAL : CBS_CHECKEDDISABLED; break;
        case cbGrayed: state = AEnabled ? CBS_MIXEDNORMAL : CBS_MIXEDDISABLED; break;
        default: state = AEnabled ? CBS_UNCHECKEDNORMAL : CBS_UNCHECKEDDISABLED; break;
        }
        DrawThemeBackground(theme, DC, BP_CHECKBOX, state, &box, nullptr);
        CloseThemeData(theme);
        return;
    }
    UINT flags = DFCS_BUTTONCHECK | DFCS_FLAT;
    if (AState == cbChecked) flags |= DFCS_CHECKED;
    if (AState == cbGrayed) flags |= DFCS_CHECKED | DFCS_INACTIVE;
    if (!AEnabled) flags |= DFCS_INACTIVE;
    DrawFrameControl(DC, &box, DFC_BUTTON, flags);
}

void TCheckListBox::CNDrawItem(TMessage& M)
{
    auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(M.LParam);
    if (!d) return;
    Integer index = Integer(d->itemID);
    if (index >= 0 && index < Count()) {
        // The check box left of the item; the item draws in the rest.
        TRect check = d->rcItem;
        check.Right = check.Left + CheckWidth();
        HBRUSH back = CreateSolidBrush(COLORREF(ColorToRGB(Color())));
        FillRect(d->hDC, &check, back);
        DeleteObject(back);
        DrawCheck(d->hDC, check, State(index), ItemEnabled(index) && Enabled());
        d->rcItem.Left = check.Right;
    }
    TCustomListBox::CNDrawItem(M);
}
