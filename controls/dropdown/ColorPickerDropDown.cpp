#include "controls/dropdown/ColorPickerDropDown.h"

#include <algorithm>

#include "controls/dropdown/DropDownButton.h"
#include "platform/base/SysUtils.h"
#include "platform/gfx/Gdi.h"
#include "platform/ui/Timers.h"

// ---------------------------------------------------------------------------
// Colour items

void TColorItem::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TColorItem*>(Source);
    if (!s) {
        TCollectionItem::Assign(Source);
        return;
    }
    SetCaption(s->FCaption);
    SetColor(s->FColor);
    FEnabled = s->FEnabled;
    FHint = s->FHint;
}

void TColorItem::SetCaption(const String& v)
{
    if (FCaption == v) return;
    FCaption = v;
    Changed(false);
}

void TColorItem::SetColor(TColor v)
{
    if (FColor == v) return;
    FColor = v;
    Changed(false);
}

// ---------------------------------------------------------------------------
// Construction

TVodColorPickerDropDown::TVodColorPickerDropDown(TComponent* AOwner)
    : TVodCustomDropDown(AOwner),
      FColors(std::make_unique<TColorItems>(this)),
      FItemAppearance(std::make_unique<TItemAppearance>())
{
    FColors->OnChange = [](TObject*) {};
    SetEditorEnabled(false);
    FDropDownEnabled = true;
    FDropDownHeight = 200;
    FDropDownHeader->SetVisible(false);
    FDropDownFooter->SetVisible(false);
    SetCursor(crArrow);
    FKeyTimer = new TTimer(this);
    FKeyTimer->SetEnabled(false);
    FKeyTimer->SetInterval(500);
    FKeyTimer->SetOnTimer([this](TObject*) { KeyTimerExpired(); });
    FDesignTime = ComponentState().Contains(csDesigning) && Owner() &&
                  !Owner()->ComponentState().Contains(csReading) &&
                  !Owner()->ComponentState().Contains(csLoading);
}

TVodColorPickerDropDown::~TVodColorPickerDropDown()
{
    FDestroyingPicker = true;
    if (FKeyTimer) FKeyTimer->SetEnabled(false);
}

void TVodColorPickerDropDown::KeyTimerExpired()
{
    FKeyTimer->SetEnabled(false);
    FCurSearch.clear();
}

void TVodColorPickerDropDown::Notification(TComponent* AComponent, TOperation Operation)
{
    TVodCustomDropDown::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FItemSelector) FItemSelector = nullptr;
    if (AComponent == FColorSelector) FColorSelector = nullptr;
    if (AComponent == FCubePanel) FCubePanel = nullptr;
    if (AComponent == FSpectrumPanel) FSpectrumPanel = nullptr;
    if (AComponent == FKeyTimer) FKeyTimer = nullptr;
}

void TVodColorPickerDropDown::AddDefaultColors()
{
    static const struct {
        const wchar_t* Name;
        TColor Color;
    } defaults[] = {
        {L"Black", 0x000000},  {L"Maroon", 0x000080}, {L"Green", 0x008000},   {L"Olive", 0x008080},
        {L"Navy", 0x800000},   {L"Purple", 0x800080}, {L"Teal", 0x808000},    {L"Gray", 0x808080},
        {L"Silver", 0xC0C0C0}, {L"Red", 0x0000FF},    {L"Lime", 0x00FF00},    {L"Yellow", 0x00FFFF},
        {L"Blue", 0xFF0000},   {L"Fuchsia", 0xFF00FF}, {L"Aqua", 0xFFFF00},   {L"White", 0xFFFFFF},
    };
    FColors->BeginUpdate();
    FColors->Clear();
    for (auto& d : defaults) {
        TColorItem* it = FColors->Add();
        it->SetCaption(d.Name);
        it->SetColor(d.Color);
    }
    FColors->EndUpdate();
}

void TVodColorPickerDropDown::EndUpdate()
{
    if (FUpdateCount <= 0) return;
    if (--FUpdateCount == 0) CopyColorsToSelector();
}

// ---------------------------------------------------------------------------
// Properties

void TVodColorPickerDropDown::SetItemIndex(Integer v)
{
    if (v >= FColors->Count()) return;
    FItemIndex = v;
    if (v >= 0) FSelectedColor = FColors->Items(v)->Color();
    Invalidate();
    if (OnSelect) OnSelect(this);
}

void TVodColorPickerDropDown::SetSelectedColor(TColor v)
{
    if (v == FSelectedColor) return;
    FSelectedColor = ColorToRGB(v);
    for (Integer i = 0; i < FColors->Count(); ++i)
        if (ColorToRGB(FColors->Items(i)->Color()) == FSelectedColor) {
            SetItemIndex(i);
            break;
        }
    Invalidate();
}

void TVodColorPickerDropDown::SetColorBoxWidth(Integer v)
{
    if (v == FColorBoxWidth) return;
    FColorBoxWidth = v;
    Invalidate();
}

void TVodColorPickerDropDown::SetColorBoxHeight(Integer v)
{
    if (v == FColorBoxHeight) return;
    FColorBoxHeight = v;
    Invalidate();
}

void TVodColorPickerDropDown::SetColorBoxBorderColor(TColor v)
{
    if (v == FColorBoxBorderColor) return;
    FColorBoxBorderColor = v;
    Invalidate();
}

void TVodColorPickerDropDown::SetShowText(bool v)
{
    if (v == FShowText) return;
    FShowText = v;
    Invalidate();
}

String TVodColorPickerDropDown::SelectedColorText()
{
    if (FColorSelectionStyle == csList && FItemIndex >= 0 && FItemIndex < FColors->Count())
        return FColors->Items(FItemIndex)->Caption();
    const Integer rgb = ColorToRGB(FSelectedColor);
    const Integer r = rgb & 0xFF, g = (rgb >> 8) & 0xFF, b = (rgb >> 16) & 0xFF;
    switch (FColorValueText) {
    case cvtNone: return String();
    case cvtHex: return IntToHex(Integer(FSelectedColor), 6);
    case cvtWebName: return WebColorName(FSelectedColor);
    case cvtRGB: return L"Red:" + IntToStr(r) + L",Green:" + IntToStr(g) + L",Blue:" + IntToStr(b);
    case cvtHTML: return L"#" + IntToHex(r, 2) + IntToHex(g, 2) + IntToHex(b, 2);
    }
    return String();
}

void TVodColorPickerDropDown::SetSelectionColorStyle(TSelectionColorStyle AStyle)
{
    TVodCustomDropDown::SetSelectionColorStyle(AStyle);
    FItemAppearance->SetColorStyle(AStyle);
    if (FItemSelector) FItemSelector->ItemAppearance()->SetColorStyle(AStyle);
}

void TVodColorPickerDropDown::SetComponentStyle(TQelStyle AStyle)
{
    TVodCustomDropDown::SetComponentStyle(AStyle);
    ApplyItemAppearanceStyle(*FItemAppearance, AStyle);
}

void TVodColorPickerDropDown::Loaded()
{
    TVodCustomDropDown::Loaded();
    if (FDesignTime) AddDefaultColors();
    CopyColorsToSelector();
    UpdateItemSelector();
}

void TVodColorPickerDropDown::CreateWnd()
{
    TVodCustomDropDown::CreateWnd();
    if (FDesignTime && FColors->Count() == 0) {
        AddDefaultColors();
        FDesignTime = false;
    }
    CopyColorsToSelector();
}

// ---------------------------------------------------------------------------
// The choosers

namespace {

template <class T>
T* MakeChooser(TVodColorPickerDropDown* Picker, TDropDownForm* Form)
{
    T* c = new T(Picker);
    c->SetParent(Form);
    c->SetLeft(0);
    c->SetTop(0);
    c->SetColor(Picker->DropDownColor());
    return c;
}

}  // namespace

TVodCustomItemSelector* TVodColorPickerDropDown::CreateItemSelector()
{
    if (!FItemSelector && FDropDownForm) {
        FItemSelector = MakeChooser<TVodCustomItemSelector>(this, FDropDownForm);
        FItemSelector->SetSelectorType(stColor);
        FItemSelector->SetHeight(150);
        FItemSelector->UpdateSelectorPanel();
    }
    if (FItemSelector) SetControl(FItemSelector);
    return FItemSelector;
}

TCustomColorSelector* TVodColorPickerDropDown::CreateColorSelector()
{
    if (!FColorSelector && FDropDownForm) {
        FColorSelector = MakeChooser<TCustomColorSelector>(this, FDropDownForm);
        FColorSelector->AddDefaultBoxes();
    }
    if (FColorSelector) {
        FColorSelector->ArrangeItems();
        SetControl(FColorSelector);
    }
    return FColorSelector;
}

TVodColorCubePanel* TVodColorPickerDropDown::CreateColorCubePanel()
{
    if (!FCubePanel && FDropDownForm) FCubePanel = MakeChooser<TVodColorCubePanel>(this, FDropDownForm);
    if (FCubePanel) SetControl(FCubePanel);
    return FCubePanel;
}

TVodColorSpectrumPanel* TVodColorPickerDropDown::CreateSpectrumPanel()
{
    if (!FSpectrumPanel && FDropDownForm) FSpectrumPanel = MakeChooser<TVodColorSpectrumPanel>(this, FDropDownForm);
    if (FSpectrumPanel) SetControl(FSpectrumPanel);
    return FSpectrumPanel;
}

void TVodColorPickerDropDown::CreateDropDownForm()
{
    TVodCustomDropDown::CreateDropDownForm();
    switch (FColorSelectionStyle) {
    case csList: CreateItemSelector(); break;
    case csDiscrete: CreateColorSelector(); break;
    case csColorCube: CreateColorCubePanel(); break;
    case csSpectrum: CreateSpectrumPanel(); break;
    }
}

void TVodColorPickerDropDown::DropDownFormDestroyed()
{
    if (FDestroyingPicker) return;
    FItemSelector = nullptr;
    FColorSelector = nullptr;
    FCubePanel = nullptr;
    FSpectrumPanel = nullptr;
}

void TVodColorPickerDropDown::CopyColorsToSelector()
{
    if (!FItemSelector) return;
    TSelectorItems* dst = FItemSelector->Items();
    dst->BeginUpdate();
    dst->Clear();
    for (Integer i = 0; i < FColors->Count(); ++i) {
        TColorItem* src = FColors->Items(i);
        TSelectorItem* it = dst->Add();
        it->SetCaption(src->Caption());
        it->SetColor(src->Color());
        it->SetHint(src->Hint());
        it->SetEnabled(src->Enabled());
    }
    dst->EndUpdate();
}

void TVodColorPickerDropDown::UpdateItemSelector()
{
    TVodCustomItemSelector* s = FItemSelector;
    if (!s) return;
    s->OnItemSelect = nullptr;
    s->SetColumns(FColumns);
    s->SetImages(Images());
    s->SetItemLayout(FLayout);
    s->SetColor(DropDownColor());
    CopyColorsToSelector();
    s->SetColorBoxHeight(FColorBoxHeight);
    s->SetColorBoxWidth(FColorBoxWidth);
    s->SetItemAppearance(FItemAppearance.get());
    s->UpdateSelectorPanel();
    s->SetItemIndex(FItemIndex);
    s->OnItemSelect = [this](TObject* x) { SelectorItemSelect(x); };
    s->SetShowHint(ShowHint());
    s->OnDrawItem = OnDrawColor;
}

// The preparation of the current style's chooser, before each opening and
// at a change of style.
void TVodColorPickerDropDown::PrepareChooser()
{
    auto hide = [](TControl* c) {
        if (c) c->SetVisible(false);
    };
    switch (FColorSelectionStyle) {
    case csList:
        CreateItemSelector();
        hide(FCubePanel);
        hide(FSpectrumPanel);
        hide(FColorSelector);
        UpdateItemSelector();
        FOldItemIndex = FItemIndex;
        break;
    case csDiscrete:
        if (!CreateColorSelector()) break;
        hide(FItemSelector);
        hide(FCubePanel);
        hide(FSpectrumPanel);
        FColorSelector->SetSelectedColor(FSelectedColor);
        FColorSelector->ArrangeItems();
        FColorSelector->OnItemSelect = [this](TObject* x) { ColorSelectorSelect(x); };
        FColorSelector->SetItemColorStyle(SelectionColorStyle());
        FColorSelector->SetVisible(true);
        break;
    case csColorCube:
        if (!CreateColorCubePanel()) break;
        hide(FItemSelector);
        hide(FSpectrumPanel);
        hide(FColorSelector);
        FCubePanel->SetSelectedColor(FSelectedColor);
        FCubePanel->InitCells();
        FCubePanel->ResetHot();
        FCubePanel->OnSelect = [this](TObject* x) { CubeSelect(x); };
        FCubePanel->SetVisible(true);
        break;
    case csSpectrum:
        if (!CreateSpectrumPanel()) break;
        hide(FItemSelector);
        hide(FCubePanel);
        hide(FColorSelector);
        FSpectrumPanel->SetSelectedColor(FSelectedColor);
        FSpectrumPanel->ArrangePanel();
        FSpectrumPanel->OnSelect = [this](TObject* x) { SpectrumSelect(x); };
        FSpectrumPanel->SetVisible(true);
        break;
    }
}

void TVodColorPickerDropDown::DoShowDropDown()
{
    TVodCustomDropDown::DoShowDropDown();
    if (FDroppedDown && FColorSelectionStyle == csList) WidenDropDownForSelector(FItemSelector, this);
}

void TVodColorPickerDropDown::DoBeforeDropDown()
{
    TVodCustomDropDown::DoBeforeDropDown();
    PrepareChooser();
    FOldSelectedColor = FSelectedColor;
}

void TVodColorPickerDropDown::PlaceDropDownControl()
{
    TVodCustomDropDown::PlaceDropDownControl();
    // The palette, honeycomb and spectrum have fixed sizes.
    if (FDropDownForm && FixedStyle()) FDropDownForm->SetSizeable(false);
}

void TVodColorPickerDropDown::SizeFixedWindow()
{
    if (!FDropDownForm) return;
    const Integer bw = FDropDownBorderWidth;
    const bool shown = FControl && FControl->Visible();
    Integer w = (shown ? FControl->Width() : Width()) + 2 * bw;
    Integer h = 2 * bw + (shown ? FControl->Height() : 0);
    if (FDropDownHeader->Visible()) h += FDropDownHeader->Height();
    if (FDropDownFooter->Visible()) h += FDropDownFooter->Height();
    if (!shown) w = Width();
    FDropDownForm->SetBounds(FDropDownForm->Left(), FDropDownForm->Top(), w, h);
}

void TVodColorPickerDropDown::SizeListWindow()
{
    if (FItemSelector) {
        FItemSelector->SetAlign(alNone);
        TSize ps = FItemSelector->GetPanelSize();
        if (FDropDownWidth < 1) FItemSelector->SetWidth(ps.cx);
        if (FDropDownHeight < 1) FItemSelector->SetHeight(ps.cy);
    }
    TVodCustomDropDown::SizeDropDownForm();
    FitSelectorToDropDown(FItemSelector, this);
    // Whether the selector will show its vertical bar is known from the
    // sizes, before its window has laid anything out.
    if (FDropDownForm && FItemSelector && FItemSelector->GetPanelSize().cy > FItemSelector->Height())
        FDropDownForm->SetWidth(FDropDownForm->Width() + GetSystemMetrics(SM_CXVSCROLL));
}

void TVodColorPickerDropDown::SizeDropDownForm()
{
    if (FixedStyle()) {
        // Sized by the control's own size: unaligned while measured.
        if (FControl) FControl->SetAlign(alNone);
        if (FCubePanel && FColorSelectionStyle == csColorCube) FCubePanel->ResetHot();
        if (FSpectrumPanel && FColorSelectionStyle == csSpectrum) FSpectrumPanel->ArrangePanel();
        if (FColorSelector && FColorSelectionStyle == csDiscrete) FColorSelector->ArrangeItems();
        SizeFixedWindow();
    } else {
        SizeListWindow();
    }
}

void TVodColorPickerDropDown::SetColorSelectionStyle(TColorSelectionStyle v)
{
    if (v == FColorSelectionStyle) return;
    FColorSelectionStyle = v;
    FUserDropDownWidth = -1;
    FUserDropDownHeight = -1;
    if (ComponentState().Contains(csDesigning)) return;
    PrepareChooser();
    if (!FControl) return;
    if (v == csList) {
        SizeListWindow();
        FControl->SetAlign(alClient);
    } else {
        FControl->SetAlign(alNone);
        SizeDropDownForm();
        FControl->SetAlign(alClient);
    }
    if (FDropDownForm) FDropDownForm->Invalidate();
}

// ---------------------------------------------------------------------------
// Choosing and closing

void TVodColorPickerDropDown::SelectorItemSelect(TObject*)
{
    if (!FItemSelector) return;
    SetItemIndex(FItemSelector->ItemIndex());
    if (!FInternalCall) DoHideDropDown(false);
}

void TVodColorPickerDropDown::ColorSelectorSelect(TObject*)
{
    if (!FColorSelector) return;
    SetSelectedColor(FColorSelector->SelectedColor());
    SetItemIndex(-1);
    if (!FInternalCall) DoHideDropDown(false);
}

void TVodColorPickerDropDown::CubeSelect(TObject*)
{
    if (!FCubePanel) return;
    SetSelectedColor(FCubePanel->SelectedColor());
    SetItemIndex(-1);
    DoHideDropDown(false);
}

void TVodColorPickerDropDown::SpectrumSelect(TObject*)
{
    if (!FSpectrumPanel) return;
    SetSelectedColor(FSpectrumPanel->SelectedColor());
    SetItemIndex(-1);
    DoHideDropDown(false);
}

void TVodColorPickerDropDown::DoHideDropDown(bool Cancelled)
{
    const bool wasOpen = FDropDownForm && FDropDownForm->Visible();
    TVodCustomDropDown::DoHideDropDown(Cancelled);
    if (!Cancelled || !wasOpen) return;
    if (FColorSelectionStyle == csList) {
        SetItemIndex(FOldItemIndex);
        // The selector goes back too: the wheel on the closed edit moves on from it.
        if (FItemSelector && FOldItemIndex < FItemSelector->Items()->Count()) {
            FInternalCall = true;
            FItemSelector->SetItemIndex(FOldItemIndex);
            FInternalCall = false;
        }
    } else {
        // Keys move the palette's choice while the window is open: a cancel
        // takes the colour back as well as the palette's box.
        if (FColorSelectionStyle == csDiscrete && FColorSelector)
            FColorSelector->SetSelectedColor(FOldSelectedColor);
        FSelectedColor = FOldSelectedColor;
        Invalidate();
    }
}

// ---------------------------------------------------------------------------
// Keys and wheel

void TVodColorPickerDropDown::MoveSelector(Integer Index)
{
    if (!FItemSelector || Index < 0 || Index >= FItemSelector->Items()->Count()) return;
    FInternalCall = true;
    FItemSelector->SetItemIndex(Index);
    FItemSelector->ScrollItemInView(Index);
    FInternalCall = false;
}

void TVodColorPickerDropDown::WMKeyDown(TMessage& M)
{
    const Word key = M.CharCode();
    bool handled = false;
    if (Enabled() && FDroppedDown && key == VK_RETURN) {
        if (FColorSelectionStyle == csList && FItemSelector && FItemSelector->ItemHot() >= 0) {
            FItemSelector->SetItemIndex(FItemSelector->ItemHot());
            handled = true;
        } else if (FColorSelectionStyle == csDiscrete && FColorSelector && FColorSelector->ItemHot() >= 0) {
            FColorSelector->SetItemIndex(FColorSelector->ItemHot());
            handled = true;
        }
    }
    TVodCustomDropDown::WMKeyDown(M);
    if (GetKeyState(VK_MENU) < 0 || !Enabled()) return;

    if (FColorSelectionStyle == csList && FItemSelector) {
        TVodCustomItemSelector* s = FItemSelector;
        auto resync = [&] {
            if (s->Items()->Count() != FColors->Count()) UpdateItemSelector();
        };
        auto internal = [&](auto f) {
            FInternalCall = true;
            f();
            s->ScrollItemInView(s->ItemIndex());
            FInternalCall = false;
        };
        switch (key) {
        case VK_RETURN:
            if (!handled && OnSelect) OnSelect(this);
            break;
        case VK_PRIOR: {
            resync();
            Integer n = s->GetVisibleItemCount();
            if (n > 0) MoveSelector(std::max(s->ItemIndex() - n, 0));
            break;
        }
        case VK_NEXT: {
            resync();
            Integer n = s->GetVisibleItemCount();
            if (n > 0) MoveSelector(std::min(s->ItemIndex() + n, FColors->Count() - 1));
            break;
        }
        case VK_END:
            if (FDroppedDown)
                internal([&] { s->SelectLast(); });
            else if (FColors->Count() > 0)
                SetItemIndex(FColors->Count() - 1);
            break;
        case VK_HOME:
            if (FDroppedDown)
                internal([&] { s->SelectFirst(); });
            else if (FColors->Count() > 0)
                SetItemIndex(0);
            break;
        case VK_LEFT:
            if (FDroppedDown && !FEditorEnabled) internal([&] { s->SelectPrevious(); });
            break;
        case VK_RIGHT:
            if (FDroppedDown && !FEditorEnabled) internal([&] { s->SelectNext(); });
            break;
        case VK_UP:
        case VK_DOWN: {
            const bool up = key == VK_UP;
            if (FDroppedDown) {
                Integer i = s->ItemIndex();
                MoveSelector(i < 0 ? 0 : i + (up ? -FColumns : FColumns));
            } else if (FColors->Count() > 0) {
                if (FItemIndex < 0)
                    SetItemIndex(0);
                else if (up && FItemIndex > 0)
                    SetItemIndex(FItemIndex - 1);
                else if (!up && FItemIndex + 1 < FColors->Count())
                    SetItemIndex(FItemIndex + 1);
            }
            break;
        }
        default:
            // Letters, digits and the like search the captions; Esc, Tab
            // and the modifiers do not (a search after Esc would undo the
            // cancel it just made).
            if (GetKeyState(VK_CONTROL) >= 0 && (key == VK_SPACE || key >= '0')) {
                FCurSearch += Char(key);
                FInternalCall = true;
                if (s->LookupItem(FCurSearch)) s->ScrollItemInView(s->ItemIndex());
                FInternalCall = false;
                if (s->ItemIndex() != FItemIndex && s->ItemIndex() < FColors->Count()) SetItemIndex(s->ItemIndex());
                FKeyTimer->SetEnabled(false);
                FKeyTimer->SetEnabled(true);
            }
            break;
        }
    } else if (FColorSelectionStyle == csDiscrete && FColorSelector) {
        FInternalCall = true;
        FColorSelector->HandleKey(key, FEditorEnabled, FDroppedDown);
        FInternalCall = false;
        if (key == VK_RETURN && !handled && OnSelect) OnSelect(this);
    }
}

void TVodColorPickerDropDown::HandleMouseWheelDown()
{
    if (!Enabled() || ReadOnly()) return;
    if (FColorSelectionStyle == csList && FItemSelector) {
        if (FDroppedDown) {
            FItemSelector->HotNext();
        } else {
            FInternalCall = true;
            FItemSelector->SelectNext();
            FInternalCall = false;
        }
    } else if (FColorSelectionStyle == csDiscrete && FColorSelector) {
        if (FDroppedDown) {
            FColorSelector->HotNext();
        } else {
            FInternalCall = true;
            FColorSelector->SelectNext();
            FInternalCall = false;
        }
    }
}

void TVodColorPickerDropDown::HandleMouseWheelUp()
{
    if (!Enabled() || ReadOnly()) return;
    if (FColorSelectionStyle == csList && FItemSelector) {
        if (FDroppedDown) {
            FItemSelector->HotPrevious();
        } else {
            FInternalCall = true;
            FItemSelector->SelectPrevious();
            FInternalCall = false;
        }
    } else if (FColorSelectionStyle == csDiscrete && FColorSelector) {
        if (FDroppedDown) {
            FColorSelector->HotPrevious();
        } else {
            FInternalCall = true;
            FColorSelector->SelectPrevious();
            FInternalCall = false;
        }
    }
}

// ---------------------------------------------------------------------------
// Painting the edit

void TVodColorPickerDropDown::Dispatch(TMessage& M)
{
    TVodCustomDropDown::Dispatch(M);
    if (M.Msg == WM_PAINT) DrawSelectedColor();
}

void TVodColorPickerDropDown::DrawSelectedColor()
{
    if (!HandleAllocated()) return;
    HDC dc = GetDC(Handle());
    TCanvas c;
    c.SetHandle(dc);
    TRect R{1, 1, Width() - DropDownButtonWidth() - 2, Height() - 2};
    if (OnDrawSelectedColor) {
        OnDrawSelectedColor(this, &c, R);
    } else if (FSelectedColor != clNone) {
        const bool focused = Focused();
        if (!FEditorEnabled && focused) {
            c.Brush()->SetStyle(bsSolid);
            c.Brush()->SetColor(clHighlight);
            c.Pen()->SetColor(clHighlight);
            c.Rectangle(R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2);
        }
        const Integer top = R.Top + (Height() - FColorBoxHeight) / 2;
        TRect box{R.Left + 4, top, R.Left + 4 + FColorBoxWidth, top + FColorBoxHeight};
        c.Pen()->SetColor(FColorBoxBorderColor);
        c.Brush()->SetStyle(bsSolid);
        c.Brush()->SetColor(FSelectedColor);
        c.Rectangle(box);
        if (FShowText) {
            c.Font()->Assign(Font());
            if (!FEditorEnabled && focused) c.Font()->SetColor(clHighlightText);
            TRect tr{box.Right + 4, R.Top, R.Right, R.Bottom};
            c.Brush()->SetColor(focused ? clHighlight : Color());
            c.Brush()->SetStyle(bsSolid);
            String text = SelectedColorText();
            if (text.find(L"</") != String::npos) {
                c.FillRect(tr);
                c.Brush()->SetStyle(bsClear);
                DrawMarkupText(&c, text, tr, Images());
            } else {
                c.TextRect(tr, text, TTextFormat{tfSingleLine, tfVerticalCenter, tfEndEllipsis, tfLeft, tfNoPrefix});
            }
        }
    }
    c.SetHandle(nullptr);
    ReleaseDC(Handle(), dc);
}
