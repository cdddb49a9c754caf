#include "controls/dropdown/ImagePickerDropDown.h"

#include <algorithm>

#include "platform/base/Files.h"
#include "platform/base/SysUtils.h"
#include "platform/gfx/Gdi.h"
#include "platform/gfx/ImageList.h"
#include "platform/ui/Timers.h"

// ---------------------------------------------------------------------------
// Items

TImageItem::TImageItem(TCollection* Collection) : TCollectionItem(Collection), FImage(std::make_unique<TPicture>()) {}

TImageItem::~TImageItem() = default;

void TImageItem::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TImageItem*>(Source);
    if (!s) {
        TCollectionItem::Assign(Source);
        return;
    }
    SetCaption(s->FCaption);
    SetImageIndex(s->FImageIndex);
    FImage->Assign(s->FImage.get());
    FEnabled = s->FEnabled;
    FHint = s->FHint;
}

void TImageItem::SetCaption(const String& v)
{
    if (FCaption == v) return;
    FCaption = v;
    Changed(false);
}

void TImageItem::SetImageIndex(Integer v)
{
    if (FImageIndex == v) return;
    FImageIndex = v;
    Changed(false);
}

// ---------------------------------------------------------------------------
// Construction

TVodImagePickerDropDown::TVodImagePickerDropDown(TComponent* AOwner)
    : TVodCustomDropDown(AOwner),
      FItems(std::make_unique<TImageItems>(this)),
      FItemAppearance(std::make_unique<TItemAppearance>())
{
    FItems->OnChange = [](TObject*) {};
    SetEditorEnabled(false);
    FDropDownEnabled = true;
    SetCursor(crArrow);
    FKeyTimer = new TTimer(this);
    FKeyTimer->SetEnabled(false);
    FKeyTimer->SetInterval(500);
    FKeyTimer->SetOnTimer([this](TObject*) { KeyTimerExpired(); });
}

TVodImagePickerDropDown::~TVodImagePickerDropDown()
{
    if (FKeyTimer) FKeyTimer->SetEnabled(false);
}

void TVodImagePickerDropDown::Notification(TComponent* AComponent, TOperation Operation)
{
    TVodCustomDropDown::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FItemSelector) FItemSelector = nullptr;
    if (AComponent == FKeyTimer) FKeyTimer = nullptr;
}

void TVodImagePickerDropDown::KeyTimerExpired()
{
    FKeyTimer->SetEnabled(false);
    FCurSearch.clear();
}

// ---------------------------------------------------------------------------
// Properties

void TVodImagePickerDropDown::SetItemIndex(Integer v)
{
    if (v == FItemIndex || v >= FItems->Count()) return;
    FItemIndex = v;
    Invalidate();
    if (OnChange) OnChange(this);
    if (OnSelect) OnSelect(this);
}

Integer TVodImagePickerDropDown::ImageIndex() const
{
    if (FItemIndex < 0 || FItemIndex >= FItems->Count()) return -1;
    return FItems->Items(FItemIndex)->ImageIndex();
}

void TVodImagePickerDropDown::SetImageIndex(Integer v)
{
    for (Integer i = 0; i < FItems->Count(); ++i)
        if (FItems->Items(i)->ImageIndex() == v) {
            SetItemIndex(i);
            return;
        }
    SetItemIndex(-1);
}

void TVodImagePickerDropDown::SelectFirst()
{
    if (FItems->Count() > 0) SetItemIndex(0);
}

void TVodImagePickerDropDown::SelectLast()
{
    if (FItems->Count() > 0) SetItemIndex(FItems->Count() - 1);
}

void TVodImagePickerDropDown::SelectNext()
{
    if (FItems->Count() == 0) return;
    if (FItemIndex < 0)
        SetItemIndex(0);
    else if (FItemIndex + 1 < FItems->Count())
        SetItemIndex(FItemIndex + 1);
}

void TVodImagePickerDropDown::SelectPrevious()
{
    if (FItems->Count() == 0) return;
    if (FItemIndex < 0)
        SetItemIndex(0);
    else if (FItemIndex > 0)
        SetItemIndex(FItemIndex - 1);
}

void TVodImagePickerDropDown::AddImageFile(TImageItem* Item, const String& FileName, bool SetImageCaption)
{
    try {
        Item->Image()->LoadFromFile(FileName);
        if (SetImageCaption) Item->SetCaptionQuietly(ExtractFileName(FileName));
    } catch (const std::exception&) {
        // An entry that is no readable picture keeps an empty one.
    }
}

void TVodImagePickerDropDown::AddImagesFromFolder(const String& AFolder, bool SetImageCaption)
{
    const String folder = ExtractFilePath(AFolder);
    TSearchRec sr;
    if (FindFirst(AFolder, faAnyFile, sr) != 0) return;
    do {
        TImageItem* it = FItems->Add();
        AddImageFile(it, folder + sr.Name, SetImageCaption);
    } while (FindNext(sr) == 0);
    FindClose(sr);
}

void TVodImagePickerDropDown::AddImagesFromImageList()
{
    TCustomImageList* il = Images();
    if (!il) return;
    for (Integer i = 0; i < il->Count(); ++i) FItems->Add()->SetImageIndex(i);
}

void TVodImagePickerDropDown::SetSelectionColorStyle(TSelectionColorStyle AStyle)
{
    TVodCustomDropDown::SetSelectionColorStyle(AStyle);
    FItemAppearance->SetColorStyle(AStyle);
    if (FItemSelector) FItemSelector->ItemAppearance()->SetColorStyle(AStyle);
}

void TVodImagePickerDropDown::SetComponentStyle(TQelStyle AStyle)
{
    TVodCustomDropDown::SetComponentStyle(AStyle);
    ApplyItemAppearanceStyle(*FItemAppearance, AStyle);
}

// ---------------------------------------------------------------------------
// The window

void TVodImagePickerDropDown::CreateDropDownForm()
{
    TVodCustomDropDown::CreateDropDownForm();
    if (!FDropDownForm) return;
    if (!FItemSelector) {
        FItemSelector = new TVodCustomItemSelector(this);
        FItemSelector->SetParent(FDropDownForm);
        FItemSelector->SetSelectorType(stImage);
        FItemSelector->SetBounds(0, 0, FItemSelector->Width(), 150);
    }
    FItemSelector->SetColor(DropDownColor());
    FItemSelector->UpdateSelectorPanel();
    SetControl(FItemSelector);
}

void TVodImagePickerDropDown::CopyItemsToSelector()
{
    TSelectorItems* dst = FItemSelector->Items();
    dst->BeginUpdate();
    dst->Clear();
    for (Integer i = 0; i < FItems->Count(); ++i) {
        TImageItem* src = FItems->Items(i);
        TSelectorItem* it = dst->Add();
        it->SetCaption(src->Caption());
        it->SetImage(src->Image());
        it->SetImageIndex(src->ImageIndex());
        it->SetHint(src->Hint());
        it->SetEnabled(src->Enabled());
    }
    dst->EndUpdate();
}

void TVodImagePickerDropDown::UpdateItemSelector()
{
    TVodCustomItemSelector* s = FItemSelector;
    if (!s) return;
    s->OnItemSelect = nullptr;
    s->SetColumns(FColumns);
    s->SetImages(Images());
    s->SetItemLayout(FLayout);
    s->SetColor(DropDownColor());
    s->SetItemAppearance(FItemAppearance.get());
    CopyItemsToSelector();
    s->UpdateSelectorPanel();
    s->SetItemIndex(FItemIndex);
    s->OnItemSelect = [this](TObject* x) { SelectorItemSelect(x); };
    s->SetShowHint(ShowHint());
    s->OnDrawItem = OnDrawItem;
}

void TVodImagePickerDropDown::DoShowDropDown()
{
    TVodCustomDropDown::DoShowDropDown();
    if (FDroppedDown && FItemSelector) WidenDropDownForSelector(FItemSelector, this);
}

void TVodImagePickerDropDown::DoBeforeDropDown()
{
    TVodCustomDropDown::DoBeforeDropDown();
    UpdateItemSelector();
    FOldItemIndex = FItemIndex;
}

void TVodImagePickerDropDown::SizeDropDownForm()
{
    if (!FItemSelector) {
        TVodCustomDropDown::SizeDropDownForm();
        return;
    }
    FItemSelector->SetAlign(alNone);
    TSize ps = FItemSelector->GetPanelSize();
    if (FDropDownWidth < 1) FItemSelector->SetWidth(ps.cx);
    if (FDropDownHeight < 1) FItemSelector->SetHeight(ps.cy);
    TVodCustomDropDown::SizeDropDownForm();
    FitSelectorToDropDown(FItemSelector, this);
    // Whether the selector will show its vertical bar is known from the
    // sizes, before its window has laid anything out.
    if (FDropDownForm && FItemSelector && FItemSelector->GetPanelSize().cy > FItemSelector->Height())
        FDropDownForm->SetWidth(FDropDownForm->Width() + GetSystemMetrics(SM_CXVSCROLL));
}

void TVodImagePickerDropDown::SelectorItemSelect(TObject*)
{
    if (!FItemSelector) return;
    SetItemIndex(FItemSelector->ItemIndex());
    if (!FInternalCall) DoHideDropDown(false);
}

void TVodImagePickerDropDown::DoHideDropDown(bool Cancelled)
{
    const bool wasOpen = FDropDownForm && FDropDownForm->Visible();
    TVodCustomDropDown::DoHideDropDown(Cancelled);
    if (!Cancelled || !wasOpen) return;
    SetItemIndex(FOldItemIndex);
    // The selector goes back too: the wheel on the closed edit moves on from it.
    if (FItemSelector) {
        FInternalCall = true;
        FItemSelector->SetItemIndex(FOldItemIndex);
        FInternalCall = false;
    }
}

// ---------------------------------------------------------------------------
// Keys and wheel

void TVodImagePickerDropDown::MoveSelector(Integer Index)
{
    if (!FItemSelector || Index < 0 || Index >= FItemSelector->Items()->Count()) return;
    FInternalCall = true;
    FItemSelector->SetItemIndex(Index);
    FItemSelector->ScrollItemInView(Index);
    FInternalCall = false;
}

void TVodImagePickerDropDown::WMKeyDown(TMessage& M)
{
    const Word key = M.CharCode();
    bool handled = false;
    if (Enabled() && FDroppedDown && key == VK_RETURN && FItemSelector && FItemSelector->ItemHot() >= 0) {
        FItemSelector->SetItemIndex(FItemSelector->ItemHot());
        handled = true;
    }
    TVodCustomDropDown::WMKeyDown(M);
    if (GetKeyState(VK_MENU) < 0 || !Enabled()) return;
    TVodCustomItemSelector* s = FItemSelector;
    auto internal = [&](auto f) {
        FInternalCall = true;
        f();
        s->ScrollItemInView(s->ItemIndex());
        FInternalCall = false;
    };
    auto resync = [&] {
        if (s->Items()->Count() != FItems->Count()) UpdateItemSelector();
    };
    switch (key) {
    case VK_RETURN:
        if (!handled && OnSelect) OnSelect(this);
        break;
    case VK_PRIOR:
        if (s) {
            resync();
            Integer n = s->GetVisibleItemCount();
            if (n > 0) MoveSelector(std::max(s->ItemIndex() - n, 0));
        }
        break;
    case VK_NEXT:
        if (s) {
            resync();
            Integer n = s->GetVisibleItemCount();
            if (n > 0) MoveSelector(std::min(s->ItemIndex() + n, FItems->Count() - 1));
        }
        break;
    case VK_END:
        if (FDroppedDown && s)
            internal([&] { s->SelectLast(); });
        else
            SelectLast();
        break;
    case VK_HOME:
        if (FDroppedDown && s)
            internal([&] { s->SelectFirst(); });
        else
            SelectFirst();
        break;
    case VK_LEFT:
        if (FDroppedDown && s && !FEditorEnabled) internal([&] { s->SelectPrevious(); });
        break;
    case VK_RIGHT:
        if (FDroppedDown && s && !FEditorEnabled) internal([&] { s->SelectNext(); });
        break;
    case VK_UP:
    case VK_DOWN:
        if (FDroppedDown && s) {
            Integer i = s->ItemIndex();
            MoveSelector(i < 0 ? 0 : i + (key == VK_UP ? -FColumns : FColumns));
        } else if (key == VK_UP) {
            SelectPrevious();
        } else {
            SelectNext();
        }
        break;
    default:
        // Esc, Tab and the modifiers search nothing: a search after Esc
        // would undo the cancel it just made.
        if (s && GetKeyState(VK_CONTROL) >= 0 && (key == VK_SPACE || key >= '0')) {
            FCurSearch += Char(key);
            internal([&] { s->LookupItem(FCurSearch); });
            FKeyTimer->SetEnabled(false);
            FKeyTimer->SetEnabled(true);
        }
        break;
    }
}

void TVodImagePickerDropDown::HandleMouseWheelDown()
{
    if (!Enabled() || ReadOnly() || !FItemSelector) return;
    if (FDroppedDown) {
        FItemSelector->HotNext();
    } else {
        FInternalCall = true;
        FItemSelector->SelectNext();
        FInternalCall = false;
    }
}

void TVodImagePickerDropDown::HandleMouseWheelUp()
{
    if (!Enabled() || ReadOnly() || !FItemSelector) return;
    if (FDroppedDown) {
        FItemSelector->HotPrevious();
    } else {
        FInternalCall = true;
        FItemSelector->SelectPrevious();
        FInternalCall = false;
    }
}

// ---------------------------------------------------------------------------
// Painting the edit

void TVodImagePickerDropDown::Dispatch(TMessage& M)
{
    TVodCustomDropDown::Dispatch(M);
    if (M.Msg == WM_PAINT) DrawSelectedImage();
}

void TVodImagePickerDropDown::DrawSelectedImage()
{
    if (!HandleAllocated()) return;
    HDC dc = GetDC(Handle());
    TCanvas c;
    c.SetHandle(dc);
    TRect R = EditRect();
    if (R.Width() <= 0) R = TRect{1, 1, Width() - DropDownButtonWidth() - 2, Height() - 2};
    if (OnDrawSelectedImage) {
        OnDrawSelectedImage(this, &c, R);
    } else if (FItemIndex >= 0 && FItemIndex < FItems->Count()) {
        TImageItem* it = FItems->Items(FItemIndex);
        if (!it->Image()->Empty()) {
            TGraphic* g = it->Image()->Graphic();
            c.Draw(R.Left + (R.Width() - g->Width()) / 2, R.Top + (R.Height() - g->Height()) / 2, g);
        } else if (Images() && it->ImageIndex() >= 0) {
            Images()->Draw(&c, R.Left + (R.Width() - Images()->Width()) / 2,
                           R.Top + (R.Height() - Images()->Height()) / 2, it->ImageIndex(), true);
        }
    }
    c.SetHandle(nullptr);
    ReleaseDC(Handle(), dc);
}
