#include "controls/dropdown/DropDownHeaderFooter.h"

#include "controls/dropdown/DropDownButton.h"

namespace {
const std::initializer_list<const wchar_t*> kGradientNames = {L"gdHorizontal", L"gdVertical"};
const std::initializer_list<const wchar_t*> kAlignmentNames = {L"baLeft", L"baRight"};
}  // namespace

// ---------------------------------------------------------------------------
// Button items and collections

THeaderButton::THeaderButton(TCollection* Collection) : TCollectionItem(Collection) {}

void THeaderButton::Assign(TPersistent* Source)
{
    if (auto* s = dynamic_cast<THeaderButton*>(Source)) {
        FCaption = s->FCaption;
        FImageIndex = s->FImageIndex;
        FEnabled = s->FEnabled;
        FHeight = s->FHeight;
        FWidth = s->FWidth;
        return;
    }
    TCollectionItem::Assign(Source);
}

void THeaderButton::SetCaption(const String& v)
{
    if (FCaption == v) return;
    FCaption = v;
    Changed(false);
}

void THeaderButton::SetEnabled(bool v)
{
    if (FEnabled == v) return;
    FEnabled = v;
    Changed(false);
}

void THeaderButton::SetWidth(Integer v)
{
    if (FWidth == v) return;
    FWidth = v;
    Changed(false);
}

void THeaderButton::Publish(TPublisher<THeaderButton>& p)
{
    p.Str(L"Caption", &THeaderButton::Caption, &THeaderButton::SetCaption);
    p.Integer(L"ImageIndex", &THeaderButton::ImageIndex, &THeaderButton::SetImageIndex).Default = -1;
    p.Boolean(L"Enabled", &THeaderButton::Enabled, &THeaderButton::SetEnabled).Default = 1;
    p.Integer(L"Height", &THeaderButton::Height, &THeaderButton::SetHeight).Default = 0;
    p.Integer(L"Width", &THeaderButton::Width, &THeaderButton::SetWidth).Default = 0;
}

TFooterButton::TFooterButton(TCollection* Collection) : THeaderButton(Collection) {}

void TFooterButton::Assign(TPersistent* Source)
{
    THeaderButton::Assign(Source);
    if (auto* s = dynamic_cast<TFooterButton*>(Source)) FModalResult = s->FModalResult;
}

void TFooterButton::Publish(TPublisher<TFooterButton>& p)
{
    p.Integer(L"ModalResult", &TFooterButton::ModalResult, &TFooterButton::SetModalResult).Default = 0;
}

THeaderButtons::THeaderButtons(TPersistent* AOwner)
    : TOwnedCollection(AOwner, CollectionItemClass<THeaderButton>())
{
}

void THeaderButtons::Update(TCollectionItem*)
{
    if (OnChange) OnChange(this);
}

TFooterButtons::TFooterButtons(TPersistent* AOwner)
    : TCollection(CollectionItemClass<TFooterButton>()), FOwner(AOwner)
{
}

void TFooterButtons::Update(TCollectionItem*)
{
    if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------------------
// Header appearance

THeaderAppearance::THeaderAppearance(TComponent* AOwner)
    : FOwner(AOwner), FFont(std::make_unique<TFont>()), FButtons(std::make_unique<THeaderButtons>(AOwner))
{
    FFont->SetName(L"Tahoma");
    FButtons->OnChange = [this](TObject*) {
        if (OnButtonsChanged) OnButtonsChanged(this);
    };
}

THeaderAppearance::~THeaderAppearance() = default;

void THeaderAppearance::SetVisible(bool v)
{
    if (FVisible == v) return;
    FVisible = v;
    if (OnChange) OnChange(this);
}

void THeaderAppearance::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<THeaderAppearance*>(Source);
    if (!s) return;
    SetVisible(s->FVisible);
    FColor = s->FColor;
    FColorTo = s->FColorTo;
    FCaption = s->FCaption;
    FFont->Assign(s->FFont.get());
    FGradientDirection = s->FGradientDirection;
    FHeight = s->FHeight;
    FBorderColor = s->FBorderColor;
    FBorderWidth = s->FBorderWidth;
    FImageIndex = s->FImageIndex;
    FButtons->Assign(s->FButtons.get());
    FButtonAlignment = s->FButtonAlignment;
}

void THeaderAppearance::AssignColors(THeaderAppearance* Source)
{
    if (!Source) return;
    FColorTo = Source->FColorTo;
    FColor = Source->FColor;
    FBorderColor = Source->FBorderColor;
    FFont->Assign(Source->FFont.get());
    FGradientDirection = Source->FGradientDirection;
}

void THeaderAppearance::Publish(TPublisher<THeaderAppearance>& p)
{
    using A = THeaderAppearance;
    p.Boolean(L"Visible", &A::Visible, &A::SetVisible).Default = 1;
    p.IntegerIdent(L"Color", L"TColor", &A::Color, &A::SetColor).Default = 0xC0C0C0;
    p.IntegerIdent(L"ColorTo", L"TColor", &A::ColorTo, &A::SetColorTo).Default = 0xFFFFFF;
    p.Str(L"Caption", &A::Caption, &A::SetCaption);
    p.Object(L"Font", &A::Font);
    p.Enum(L"GradientDirection", &A::GradientDirection, &A::SetGradientDirection, kGradientNames).Default =
        VodDropDown::gdVertical;
    p.Integer(L"Height", &A::Height, &A::SetHeight).Default = 22;
    p.IntegerIdent(L"BorderColor", L"TColor", &A::BorderColor, &A::SetBorderColor).Default = 0;
    p.Integer(L"BorderWidth", &A::BorderWidth, &A::SetBorderWidth).Default = 1;
    p.Integer(L"ImageIndex", &A::ImageIndex, &A::SetImageIndex).Default = -1;
    p.Object(L"Buttons", &A::Buttons);
    p.Enum(L"ButtonAlignment", &A::ButtonAlignment, &A::SetButtonAlignment, kAlignmentNames).Default = baRight;
}

// ---------------------------------------------------------------------------
// Footer appearance

TFooterAppearance::TFooterAppearance(TComponent* AOwner)
    : FOwner(AOwner), FFont(std::make_unique<TFont>()), FButtons(std::make_unique<TFooterButtons>(AOwner))
{
    FButtons->OnChange = [this](TObject*) {
        if (OnButtonsChanged) OnButtonsChanged(this);
    };
}

TFooterAppearance::~TFooterAppearance() = default;

void TFooterAppearance::SetVisible(bool v)
{
    if (FVisible == v) return;
    FVisible = v;
    if (OnChange) OnChange(this);
}

void TFooterAppearance::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TFooterAppearance*>(Source);
    if (!s) return;
    SetVisible(s->FVisible);
    FColor = s->FColor;
    FColorTo = s->FColorTo;
    FCaption = s->FCaption;
    FFont->Assign(s->FFont.get());
    FGradientDirection = s->FGradientDirection;
    FHeight = s->FHeight;
    FBorderColor = s->FBorderColor;
    FBorderWidth = s->FBorderWidth;
    FImageIndex = s->FImageIndex;
    FButtons->Assign(s->FButtons.get());
    FButtonAlignment = s->FButtonAlignment;
    FSizeGrip = s->FSizeGrip;
}

void TFooterAppearance::AssignColors(TFooterAppearance* Source)
{
    if (!Source) return;
    FColorTo = Source->FColorTo;
    FColor = Source->FColor;
    FBorderColor = Source->FBorderColor;
    FFont->Assign(Source->FFont.get());
    FGradientDirection = Source->FGradientDirection;
}

void TFooterAppearance::Publish(TPublisher<TFooterAppearance>& p)
{
    using A = TFooterAppearance;
    p.Boolean(L"Visible", &A::Visible, &A::SetVisible).Default = 1;
    p.IntegerIdent(L"Color", L"TColor", &A::Color, &A::SetColor).Default = 0xC0C0C0;
    p.IntegerIdent(L"ColorTo", L"TColor", &A::ColorTo, &A::SetColorTo).Default = 0xFFFFFF;
    p.Str(L"Caption", &A::Caption, &A::SetCaption);
    p.Object(L"Font", &A::Font);
    p.Enum(L"GradientDirection", &A::GradientDirection, &A::SetGradientDirection, kGradientNames).Default =
        VodDropDown::gdVertical;
    p.Integer(L"Height", &A::Height, &A::SetHeight).Default = 22;
    p.IntegerIdent(L"BorderColor", L"TColor", &A::BorderColor, &A::SetBorderColor).Default = 0;
    p.Integer(L"BorderWidth", &A::BorderWidth, &A::SetBorderWidth).Default = 1;
    p.Integer(L"ImageIndex", &A::ImageIndex, &A::SetImageIndex).Default = -1;
    p.Object(L"Buttons", &A::Buttons);
    p.Enum(L"ButtonAlignment", &A::ButtonAlignment, &A::SetButtonAlignment, kAlignmentNames).Default = baRight;
    p.Boolean(L"SizeGrip", &A::SizeGrip, &A::SetSizeGrip).Default = 1;
}

// ---------------------------------------------------------------------------
// Button appearance

TVodButtonAppearance::TVodButtonAppearance() : FFont(std::make_unique<TFont>())
{
    FFont->SetName(L"Tahoma");
    // The checked look starts as a slightly darker hot look.
    FColorChecked = ShadeColor(FColorHot, -10, -10, 0);
    FColorCheckedTo = ShadeColor(FColorHotTo, -10, -10, 0);
}

TVodButtonAppearance::~TVodButtonAppearance() = default;

void TVodButtonAppearance::Changed()
{
    if (OnChange) OnChange(this);
}

void TVodButtonAppearance::Set(TColor& field, TColor v)
{
    if (field == v) return;
    field = v;
    Changed();
}

void TVodButtonAppearance::SetGradient(VodDropDown::TGradientDirection v)
{
    if (FGradient == v) return;
    FGradient = v;
    Changed();
}

void TVodButtonAppearance::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TVodButtonAppearance*>(Source);
    if (!s) {
        TPersistent::Assign(Source);
        return;
    }
    FBorderColor = s->FBorderColor;
    FBorderColorHot = s->FBorderColorHot;
    FBorderColorDown = s->FBorderColorDown;
    FBorderColorDisabled = s->FBorderColorDisabled;
    FBorderColorChecked = s->FBorderColorChecked;
    FColor = s->FColor;
    FColorTo = s->FColorTo;
    FColorDown = s->FColorDown;
    FColorDownTo = s->FColorDownTo;
    FColorHot = s->FColorHot;
    FColorHotTo = s->FColorHotTo;
    FColorChecked = s->FColorChecked;
    FColorCheckedTo = s->FColorCheckedTo;
    FColorDisabled = s->FColorDisabled;
    FColorDisabledTo = s->FColorDisabledTo;
    FGradient = s->FGradient;
    Changed();
}

void TVodButtonAppearance::Publish(TPublisher<TVodButtonAppearance>& p)
{
    using A = TVodButtonAppearance;
    p.IntegerIdent(L"BorderColor", L"TColor", &A::BorderColor, &A::SetBorderColor).Default = Int64(clNone);
    p.IntegerIdent(L"BorderColorHot", L"TColor", &A::BorderColorHot, &A::SetBorderColorHot).Default = 0x808080;
    p.IntegerIdent(L"BorderColorDown", L"TColor", &A::BorderColorDown, &A::SetBorderColorDown).Default = 0x800000;
    p.IntegerIdent(L"BorderColorDisabled", L"TColor", &A::BorderColorDisabled, &A::SetBorderColorDisabled).Default =
        0x808080;
    p.IntegerIdent(L"Color", L"TColor", &A::Color, &A::SetColor).Default = Int64(clNone);
    p.IntegerIdent(L"ColorTo", L"TColor", &A::ColorTo, &A::SetColorTo).Default = Int64(clNone);
    p.IntegerIdent(L"ColorDisabled", L"TColor", &A::ColorDisabled, &A::SetColorDisabled).Default = 0xF2F2F2;
    p.IntegerIdent(L"ColorDisabledTo", L"TColor", &A::ColorDisabledTo, &A::SetColorDisabledTo).Default =
        Int64(clNone);
    p.IntegerIdent(L"ColorDown", L"TColor", &A::ColorDown, &A::SetColorDown).Default = 0xF5D8CA;
    p.IntegerIdent(L"ColorDownTo", L"TColor", &A::ColorDownTo, &A::SetColorDownTo).Default = 0xF9BDA0;
    p.IntegerIdent(L"ColorHot", L"TColor", &A::ColorHot, &A::SetColorHot).Default = 0xF5F0E1;
    p.IntegerIdent(L"ColorHotTo", L"TColor", &A::ColorHotTo, &A::SetColorHotTo).Default = 0xF9D2B2;
    p.Object(L"Font", &A::Font);
    p.Enum(L"Gradient", &A::Gradient, &A::SetGradient, kGradientNames).Default = VodDropDown::gdVertical;
}
