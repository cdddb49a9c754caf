#include "controls/dropdown/DetailDropDown.h"

#include <algorithm>

#include "controls/dropdown/DropDownButton.h"
#include "platform/base/SysUtils.h"
#include "platform/gfx/Gdi.h"
#include "platform/gfx/ImageList.h"
#include "platform/ui/Timers.h"

// ---------------------------------------------------------------------------
// Items

TDetailItem::TDetailItem(TCollection* Collection)
    : TCollectionItem(Collection), FImage(std::make_unique<TPicture>())
{
}

TDetailItem::~TDetailItem() = default;

void TDetailItem::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TDetailItem*>(Source);
    if (!s) {
        TCollectionItem::Assign(Source);
        return;
    }
    SetCaption(s->FCaption);
    SetImageIndex(s->FImageIndex);
    FImage->Assign(s->FImage.get());
    FEnabled = s->FEnabled;
    FTag = s->FTag;
    FItemObject = s->FItemObject;
}

void TDetailItem::SetCaption(const String& v)
{
    if (FCaption == v) return;
    FCaption = v;
    Changed(false);
}

void TDetailItem::SetImageIndex(Integer v)
{
    if (FImageIndex == v) return;
    FImageIndex = v;
    Changed(false);
}

TDetailItems::TDetailItems(TPersistent* AOwner) : TOwnedCollection(AOwner, CollectionItemClass<TDetailItem>()) {}

Integer TDetailItems::IndexOf(const String& AValue) const
{
    for (Integer i = 0; i < Count(); ++i)
        if (Items(i)->Caption() == AValue) return i;
    return -1;
}

void TDetailItems::Update(TCollectionItem*)
{
    if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------------------
// Construction

TVodDetailDropDown::TVodDetailDropDown(TComponent* AOwner)
    : TVodCustomDropDown(AOwner),
      FItems(std::make_unique<TDetailItems>(this)),
      FItemAppearance(std::make_unique<TItemAppearance>()),
      FCaptionFont(std::make_unique<TFont>()),
      FNotesFont(std::make_unique<TFont>())
{
    FItems->OnChange = [](TObject*) {};
    SetEditorEnabled(true);
    FDropDownEnabled = true;
    FKeyTimer = new TTimer(this);
    FKeyTimer->SetEnabled(false);
    FKeyTimer->SetInterval(500);
    FKeyTimer->SetOnTimer([this](TObject*) { KeyTimerExpired(); });
    FCaptionFont->Assign(Font());
    FNotesFont->Assign(Font());
}

TVodDetailDropDown::~TVodDetailDropDown()
{
    if (FKeyTimer) FKeyTimer->SetEnabled(false);
}

void TVodDetailDropDown::KeyTimerExpired()
{
    FKeyTimer->SetEnabled(false);
    FCurSearch.clear();
}

// ---------------------------------------------------------------------------
// Properties

void TVodDetailDropDown::SetItemIndex(Integer v)
{
    if (v == FItemIndex) return;
    if (v >= 0 && v < FItems->Count()) {
        FItemIndex = v;
        SetText(FItems->Items(v)->Caption());
        SelectAll();
        Invalidate();
        if (FItemSelector) FItemSelector->Invalidate();
        if (OnSelect) OnSelect(this);
    } else if (v == -1) {
        SetText(String());
        FItemIndex = -1;
    }
}

void TVodDetailDropDown::SelectFirst()
{
    if (FItems->Count() > 0) SetItemIndex(0);
}

void TVodDetailDropDown::SelectLast()
{
    if (FItems->Count() > 0) SetItemIndex(FItems->Count() - 1);
}

void TVodDetailDropDown::SelectNext()
{
    if (FItems->Count() == 0) return;
    if (FItemIndex < 0)
        SetItemIndex(0);
    else if (FItemIndex + 1 < FItems->Count())
        SetItemIndex(FItemIndex + 1);
}

void TVodDetailDropDown::SelectPrevious()
{
    if (FItems->Count() == 0) return;
    if (FItemIndex < 0)
        SetItemIndex(0);
    else if (FItemIndex > 0)
        SetItemIndex(FItemIndex - 1);
}

void TVodDetailDropDown::SetComponentStyle(TQelStyle AStyle)
{
    TVodCustomDropDown::SetComponentStyle(AStyle);
    ApplyItemAppearanceStyle(*FItemAppearance, AStyle);
}

void TVodDetailDropDown::SetSelectionColorStyle(TSelectionColorStyle AStyle)
{
    TVodCustomDropDown::SetSelectionColorStyle(AStyle);
    FItemAppearance->SetColorStyle(AStyle);
    if (FItemSelector) FItemSelector->ItemAppearance()->SetColorStyle(AStyle);
}

// ---------------------------------------------------------------------------
// The window

void TVodDetailDropDown::CreateDropDownForm()
{
    TVodCustomDropDown::CreateDropDownForm();
    if (!FDropDownForm) return;
    if (!FItemSelector) {
        FItemSelector = new TVodCustomItemSelector(this);
        FItemSelector->SetParent(FDropDownForm);
        FItemSelector->SetSelectorType(stImage);
        FItemSelector->SetBounds(0, 0, FItemSelector->Width(), 150);
        FItemSelector->SetDoubleBuffered(true);
        FItemSelector->OnDrawItem = [this](TObject* s, TCanvas* c, TRect& r, Integer i) { SelectorDrawItem(s, c, r, i); };
        FItemSelector->OnItemSize = [this](TObject* s, TSize& z) { SelectorItemSize(s, z); };
        FItemSelector->UpdateSelectorPanel();
        FItemSelector->OnResize = [this](TObject*) { SelectorResized(); };
    }
    FItemSelector->SetColor(DropDownColor());
    FItemSelector->UpdateSelectorPanel();
    SetControl(FItemSelector);
}

void TVodDetailDropDown::SelectorResized()
{
    if (FItemSelector) FItemSelector->UpdateSelectorPanel();
}

void TVodDetailDropDown::FormSizing()
{
    TVodCustomDropDown::FormSizing();
    SelectorResized();
}

void TVodDetailDropDown::CopyItemsToSelector()
{
    TSelectorItems* dst = FItemSelector->Items();
    dst->BeginUpdate();
    dst->Clear();
    for (Integer i = 0; i < FItems->Count(); ++i) {
        TDetailItem* src = FItems->Items(i);
        TSelectorItem* it = dst->Add();
        it->SetCaption(src->Caption());
        it->SetImage(src->Image());
        it->SetImageIndex(src->ImageIndex());
    }
    dst->EndUpdate();
}

void TVodDetailDropDown::UpdateItemSelector()
{
    if (!FItemSelector) return;
    FItemSelector->OnItemSelect = nullptr;
    FItemSelector->SetColumns(1);
    FItemSelector->SetImages(Images());
    FItemSelector->SetItemLayout(FLayout);
    FItemSelector->SetColor(DropDownColor());
    FItemSelector->SetItemAppearance(FItemAppearance.get());
    CopyItemsToSelector();
    FItemSelector->UpdateSelectorPanel();
    FItemSelector->SetItemIndex(FItemIndex);
    FItemSelector->OnItemSelect = [this](TObject* s) { SelectorItemSelect(s); };
}

void TVodDetailDropDown::DoBeforeDropDown()
{
    TVodCustomDropDown::DoBeforeDropDown();
    UpdateItemSelector();
    FOldItemIndex = FItemIndex;
}

void TVodDetailDropDown::SizeDropDownForm()
{
    if (FItemSelector) {
        FItemSelector->SetAlign(alNone);
        if (FDropDownWidth <= 0) FItemSelector->SetWidth(Width());
        if (FDropDownHeight <= 0) FItemSelector->SetHeight(100);
    }
    TVodCustomDropDown::SizeDropDownForm();
    FitSelectorToDropDown(FItemSelector, this);
}

void TVodDetailDropDown::DoShowDropDown()
{
    TVodCustomDropDown::DoShowDropDown();
    if (FDroppedDown && FItemSelector && FItemSelector->CanFocus()) FItemSelector->SetFocus();
}

void TVodDetailDropDown::SelectorItemSize(TObject*, TSize& ASize)
{
    Integer w = FDropDownWidth > 0 ? FDropDownWidth : (FDropDownForm ? FDropDownForm->Width() : Width());
    if (FItemSelector && FItemSelector->VertScrollBar()->IsScrollBarVisible()) w -= GetSystemMetrics(SM_CXVSCROLL);
    w -= 2 * FDropDownBorderWidth + 4;
    ASize = TSize{w, FItemHeight};
}

void TVodDetailDropDown::SelectorDrawItem(TObject*, TCanvas* Canvas, TRect& RR, Integer Index)
{
    TRect R = RR;
    if (OnDrawSelectedImage) {
        OnDrawSelectedImage(this, Canvas, R);
        return;
    }
    if (Index < 0 || Index >= FItems->Count()) return;
    TDetailItem* item = FItems->Items(Index);
    const bool hasCaption = !item->Caption().empty();

    // The image: the own picture, else the list's.
    Integer iw = 0, ih = 0;
    const bool picture = !item->Image()->Empty();
    const bool listImage = !picture && Images() && item->ImageIndex() >= 0;
    if (picture) {
        iw = item->Image()->Width();
        ih = item->Image()->Height();
    } else if (listImage) {
        iw = Images()->Width();
        ih = Images()->Height();
    }
    if (picture || listImage) {
        Integer x = hasCaption ? R.Left + 2 : R.Left + (R.Width() - iw) / 2;
        Integer y = FImageVAlign == taAlignTop      ? R.Top
                    : FImageVAlign == taAlignBottom ? R.Bottom - ih
                                                    : R.Top + (R.Height() - ih) / 2;
        if (picture) {
            TGraphic* g = item->Image()->Graphic();
            if (auto* bmp = dynamic_cast<TBitmap*>(g)) bmp->SetTransparent(true);
            Canvas->Draw(x, y, g);
        } else {
            Images()->Draw(Canvas, x, y, item->ImageIndex(), true);
        }
        R.Left += iw + 4;
    }

    // The caption in the hot or selected text colour (selected wins).
    TColor textColor = clNone;
    if (FItemSelector && Index == FItemSelector->ItemHot()) textColor = FItemAppearance->ColorHotText();
    if (Index == FItemIndex) textColor = FItemAppearance->ColorSelectedText();
    Canvas->Font()->Assign(FCaptionFont.get());
    if (textColor != clNone) Canvas->Font()->SetColor(textColor);
    Canvas->Brush()->SetStyle(bsClear);
    R.Left += 4;
    R.Top += 2;
    R.Right -= 4;
    {
        TRect rc = R;
        String caption = item->Caption();
        Canvas->TextRect(rc, caption, TTextFormat{tfLeft, tfTop, tfSingleLine, tfEndEllipsis, tfNoPrefix});
    }
    // The notes below, as markup.
    if (!item->Notes().empty()) {
        R.Top += Canvas->TextHeight(L"gh");
        Canvas->Font()->Assign(FNotesFont.get());
        if (textColor != clNone) Canvas->Font()->SetColor(textColor);
        DrawMarkupText(Canvas, item->Notes(), R, Images());
    }
    Canvas->Brush()->SetStyle(bsSolid);
}

void TVodDetailDropDown::SelectorItemSelect(TObject*)
{
    if (!FItemSelector) return;
    Integer i = FItemSelector->ItemIndex();
    SetItemIndex(i);
    if (i >= 0 && i < FItems->Count()) {
        SetText(FItems->Items(i)->Caption());
        SelectAll();
    }
    if (!FInternalCall) DoHideDropDown(false);
}

void TVodDetailDropDown::DoHideDropDown(bool Cancelled)
{
    TVodCustomDropDown::DoHideDropDown(Cancelled);
    if (Cancelled && FOldItemIndex != -1) SetItemIndex(FOldItemIndex);
}

// ---------------------------------------------------------------------------
// Typing

void TVodDetailDropDown::Change()
{
    TVodCustomDropDown::Change();
    // The completion writes the text itself: that change is not typing.
    if (FInChange || ComponentState().Contains(csDesigning) || !FWorkMode) return;
    FInChange = true;
    struct TGuard {
        bool& F;
        ~TGuard() { F = false; }
    } guard{FInChange};
    const String text = EditText();
    SetEditModified(!text.empty());
    const Integer caret = std::clamp(SelStartRaw(), 0, Integer(text.size()));
    const String typed = text.substr(0, size_t(caret));
    const String key = CaseForLookup(typed, FMatchCase);
    // An empty typed part completes nothing (every caption starts with it).
    for (Integer i = 0; !key.empty() && i < FItems->Count(); ++i) {
        const String& cap = FItems->Items(i)->Caption();
        if (CaseForLookup(cap, FMatchCase).rfind(key, 0) != 0) continue;
        String tail = cap.substr(std::min(key.size(), cap.size()), 255);
        SetEditText(typed + tail);
        FItemIndex = i;
        FItemIdx = i;
        FItemSel = Integer(key.size());
        FItemChange = true;
        SetSelRaw(Integer(typed.size()), Integer(typed.size() + tail.size()));
        return;
    }
    if (!typed.empty()) {
        SetEditText(typed);
        SetSelRaw(Integer(typed.size()), Integer(typed.size()));
    }
}

void TVodDetailDropDown::KeyDown(Word& Key, TShiftState Shift)
{
    if (FItems->Count() == 0) {
        TVodCustomDropDown::KeyDown(Key, Shift);
        return;
    }
    FWorkMode = !(Key == VK_BACK || Key == VK_ESCAPE || Key == VK_DELETE);
    const Word key = Key;
    if (key == VK_RETURN) {
        Integer i = FItems->IndexOf(EditText());
        if (i >= 0) {
            SetText(FItems->Items(i)->Caption());
            SetItemIndex(i);
            Change();
        }
    }
    TVodCustomDropDown::KeyDown(Key, Shift);
    if (key == VK_ESCAPE) {
        Integer i = FItems->IndexOf(EditText());
        if (i >= 0) SetItemIndex(i);
    }
}

void TVodDetailDropDown::KeyUp(Word& Key, TShiftState Shift)
{
    TVodCustomDropDown::KeyUp(Key, Shift);
    if (FItemChange) {
        SetItemIndex(FItemIdx);
        FItemChange = false;
    }
}

void TVodDetailDropDown::MoveSelector(Integer Index)
{
    if (!FItemSelector) return;
    FInternalCall = true;
    FItemSelector->SetItemIndex(Index);
    FItemSelector->ScrollItemInView(FItemSelector->ItemIndex());
    FInternalCall = false;
}

void TVodDetailDropDown::WMKeyDown(TMessage& M)
{
    const Word key = M.CharCode();
    if (Enabled() && GetKeyState(VK_MENU) >= 0 && FItemSelector) {
        TVodCustomItemSelector* s = FItemSelector;
        const bool open = FDroppedDown;
        auto resync = [&] {
            if (s->Items()->Count() != FItems->Count()) UpdateItemSelector();
        };
        auto internal = [&](auto f) {
            FInternalCall = true;
            f();
            s->ScrollItemInView(s->ItemIndex());
            FInternalCall = false;
        };
        bool consumed = false;
        switch (key) {
        case VK_PRIOR:
            resync();
            MoveSelector(std::max(s->ItemIndex() - s->GetVisibleItemCount(), 0));
            consumed = open;
            break;
        case VK_NEXT:
            resync();
            if (s->Items()->Count() > 0)
                MoveSelector(std::min(s->ItemIndex() + s->GetVisibleItemCount(), s->Items()->Count() - 1));
            consumed = open;
            break;
        case VK_END:
            if (open)
                internal([&] { s->SelectLast(); });
            else if (!FEditorEnabled)
                SelectLast();
            break;
        case VK_HOME:
            if (open)
                internal([&] { s->SelectFirst(); });
            else if (!FEditorEnabled)
                SelectFirst();
            break;
        case VK_LEFT:
            if (open && !FEditorEnabled) internal([&] { s->SelectPrevious(); });
            consumed = open;
            break;
        case VK_RIGHT:
            if (open && !FEditorEnabled) internal([&] { s->SelectNext(); });
            consumed = open;
            break;
        case VK_UP:
            if (open) {
                MoveSelector(std::max(s->ItemIndex() - 1, 0));
                s->Invalidate();
            } else {
                SelectPrevious();
            }
            consumed = open;
            break;
        case VK_DOWN:
            if (open) {
                if (s->ItemIndex() + 1 < s->Items()->Count() || s->ItemIndex() < 0)
                    MoveSelector(s->ItemIndex() < 0 ? 0 : s->ItemIndex() + 1);
                s->Invalidate();
            } else {
                SelectNext();
            }
            consumed = open;
            break;
        default:
            // With the editor on, the edit's own completion follows typing:
            // a search that also moved the selection would have each key
            // replace the completed text.
            if (GetKeyState(VK_CONTROL) >= 0 && !FEditorEnabled) {
                FCurSearch += Char(key);
                internal([&] { s->LookupItem(FCurSearch); });
                FKeyTimer->SetEnabled(false);
                FKeyTimer->SetEnabled(true);
            }
            break;
        }
        if (consumed) return;
    }
    TVodCustomDropDown::WMKeyDown(M);
}

void TVodDetailDropDown::HandleMouseWheelDown()
{
    if (FDroppedDown && FItemSelector) {
        TVodCustomItemSelector* s = FItemSelector;
        if (s->ItemIndex() < 0)
            MoveSelector(0);
        else if (s->ItemIndex() + 1 < s->Items()->Count())
            MoveSelector(s->ItemIndex() + 1);
        s->Invalidate();
    } else if (!FDroppedDown) {
        SelectNext();
    }
}

void TVodDetailDropDown::HandleMouseWheelUp()
{
    if (FDroppedDown && FItemSelector) {
        TVodCustomItemSelector* s = FItemSelector;
        MoveSelector(s->ItemIndex() < 0 ? 0 : std::max(s->ItemIndex() - 1, 0));
        s->Invalidate();
    } else if (!FDroppedDown) {
        SelectPrevious();
    }
}
