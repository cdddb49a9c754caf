#include "platform/ui/ActnList.h"

#include <algorithm>

// ---------------------------------------------------------------------------
// Links

TBasicActionLink::~TBasicActionLink()
{
    if (FAction) FAction->UnRegisterChanges(this);
}

void TBasicActionLink::SetAction(TBasicAction* Value)
{
    if (Value == FAction) return;
    if (FAction) FAction->UnRegisterChanges(this);
    FAction = Value;
    if (FAction) FAction->RegisterChanges(this);
}

bool TBasicActionLink::Execute(TComponent* AComponent)
{
    if (!FAction) return false;
    TComponent* old = FAction->ActionComponent();
    FAction->SetActionComponent(AComponent);
    bool r = false;
    try {
        r = FAction->Execute();
    } catch (...) {
        if (FAction) FAction->SetActionComponent(old);
        throw;
    }
    // The action may have freed itself (and cleared this link) while it ran.
    if (FAction) FAction->SetActionComponent(old);
    return r;
}

bool TBasicActionLink::Update() { return FAction && FAction->Update(); }

void TBasicActionLink::Change()
{
    if (OnChange) OnChange(FClientObject);
}

TCustomAction* TActionLink::CustomAction() const { return dynamic_cast<TCustomAction*>(FAction); }
bool TActionLink::IsCaptionLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsCheckedLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsEnabledLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsVisibleLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsHintLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsImageIndexLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsShortCutLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsGroupIndexLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsAutoCheckLinked() const { return CustomAction() != nullptr; }

bool TControlActionLink::IsCaptionLinked() const
{
    return TActionLink::IsCaptionLinked() && FClient->Caption() == CustomAction()->Caption();
}

bool TControlActionLink::IsEnabledLinked() const
{
    return TActionLink::IsEnabledLinked() && FClient->Enabled() == CustomAction()->Enabled();
}

bool TControlActionLink::IsVisibleLinked() const
{
    return TActionLink::IsVisibleLinked() && FClient->Visible() == CustomAction()->Visible();
}

bool TControlActionLink::IsHintLinked() const
{
    return TActionLink::IsHintLinked() && FClient->Hint() == CustomAction()->Hint();
}

void TControlActionLink::SetCaption(const String& Value)
{
    if (IsCaptionLinked()) FClient->SetCaption(Value);
}

void TControlActionLink::SetEnabled(bool Value)
{
    if (IsEnabledLinked()) FClient->SetEnabled(Value);
}

void TControlActionLink::SetVisible(bool Value)
{
    if (IsVisibleLinked()) FClient->SetVisible(Value);
}

void TControlActionLink::SetHint(const String& Value)
{
    if (IsHintLinked()) FClient->SetHint(Value);
}

// ---------------------------------------------------------------------------
// Actions

TBasicAction::TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}

TBasicAction::~TBasicAction()
{
    // The clients keep their links, now without an action.
    for (TBasicActionLink* l : FClients) l->FAction = nullptr;
    FClients.clear();
}

bool TBasicAction::Execute()
{
    if (!OnExecute) return false;
    OnExecute(this);
    return true;
}

bool TBasicAction::Update()
{
    if (!OnUpdate) return false;
    OnUpdate(this);
    return true;
}

void TBasicAction::Change()
{
    // Each property setter has told the links already, each link passing
    // the value on only where its client still shows the action's.
    if (OnChange) OnChange(this);
}

void TBasicAction::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FActionComponent) FActionComponent = nullptr;
}

void TBasicAction::RegisterChanges(TBasicActionLink* Value)
{
    if (std::find(FClients.begin(), FClients.end(), Value) == FClients.end()) FClients.push_back(Value);
}

void TBasicAction::UnRegisterChanges(TBasicActionLink* Value)
{
    FClients.erase(std::remove(FClients.begin(), FClients.end(), Value), FClients.end());
}

TContainedAction::~TContainedAction() { SetActionList(nullptr); }

void TContainedAction::SetActionList(TCustomActionList* v)
{
    if (v == FActionList) return;
    if (FActionList) FActionList->RemoveAction(this);
    if (v) v->AddAction(this);
}

Integer TContainedAction::Index() const
{
    if (!FActionList) return -1;
    auto& a = FActionList->FActions;
    auto it = std::find(a.begin(), a.end(), this);
    return it == a.end() ? -1 : Integer(it - a.begin());
}

bool TContainedAction::Execute()
{
    if (FActionList && FActionList->ExecuteAction(this)) return true;
    return TBasicAction::Execute();
}

bool TContainedAction::Update()
{
    if (FActionList && FActionList->UpdateAction(this)) return true;
    return TBasicAction::Update();
}

#define FOR_LINKS(call)                                                        \
    for (TBasicActionLink* l : std::vector<TBasicActionLink*>(FClients))       \
        if (auto* al = dynamic_cast<TActionLink*>(l)) al->call

void TCustomAction::SetCaption(const String& v)
{
    if (v == FCaption) return;
    FOR_LINKS(SetCaption(v));
    FCaption = v;
    Change();
}

void TCustomAction::SetChecked(bool v)
{
    if (v == FChecked || FCheckingSiblings) return;
    FCheckingSiblings = true;
    try {
        FOR_LINKS(SetChecked(v));
        FChecked = v;
        if (v && FGroupIndex > 0 && FActionList)
            for (Integer i = 0; i < FActionList->ActionCount(); ++i) {
                auto* a = dynamic_cast<TCustomAction*>(FActionList->Actions(i));
                if (a && a != this && a->FGroupIndex == FGroupIndex) a->SetChecked(false);
            }
    } catch (...) {
        FCheckingSiblings = false;
        throw;
    }
    FCheckingSiblings = false;
    Change();
}

void TCustomAction::SetEnabled(bool v)
{
    if (v == FEnabled) return;
    FOR_LINKS(SetEnabled(v));
    FEnabled = v;
    Change();
}

void TCustomAction::SetVisible(bool v)
{
    if (v == FVisible) return;
    FOR_LINKS(SetVisible(v));
    FVisible = v;
    Change();
}

void TCustomAction::SetHint(const String& v)
{
    if (v == FHint) return;
    FOR_LINKS(SetHint(v));
    FHint = v;
    Change();
}

void TCustomAction::SetImageIndex(Integer v)
{
    if (v == FImageIndex) return;
    FOR_LINKS(SetImageIndex(v));
    FImageIndex = v;
    Change();
}

void TCustomAction::SetShortCut(Word v)
{
    if (v == FShortCut) return;
    FOR_LINKS(SetShortCut(v));
    FShortCut = v;
    Change();
}

void TCustomAction::SetGroupIndex(Integer v)
{
    if (v == FGroupIndex) return;
    FOR_LINKS(SetGroupIndex(v));
    FGroupIndex = v;
    Change();
}

void TCustomAction::SetAutoCheck(bool v)
{
    if (v == FAutoCheck) return;
    FOR_LINKS(SetAutoCheck(v));
    FAutoCheck = v;
    Change();
}

#undef FOR_LINKS

TCustomImageList* TCustomAction::Images() const { return FActionList ? FActionList->Images() : nullptr; }

bool TCustomAction::Execute()
{
    Update();
    if (!FEnabled) return false;
    // A checked radio action stays checked when run again.
    if (FAutoCheck && !(FChecked && FGroupIndex > 0)) SetChecked(!FChecked);
    return TContainedAction::Execute();
}

// ---------------------------------------------------------------------------
// Action lists

TCustomActionList::~TCustomActionList()
{
    while (!FActions.empty()) FActions.back()->SetActionList(nullptr);
}

void TCustomActionList::SetImages(TCustomImageList* v)
{
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = v;
    if (FImages) FImages->FreeNotification(this);
    if (OnChange) OnChange(this);
}

TContainedAction* TCustomActionList::Actions(Integer Index) const { return FActions.at(size_t(Index)); }

bool TCustomActionList::ExecuteAction(TBasicAction* Action)
{
    bool handled = false;
    if (OnExecute) OnExecute(Action, handled);
    return handled;
}

bool TCustomActionList::UpdateAction(TBasicAction* Action)
{
    bool handled = false;
    if (OnUpdate) OnUpdate(Action, handled);
    return handled;
}

void TCustomActionList::UpdateActions()
{
    for (TContainedAction* a : std::vector<TContainedAction*>(FActions)) a->Update();
}

bool TCustomActionList::IsShortCut(Word ShortCut)
{
    if (ShortCut == 0) return false;
    for (TContainedAction* a : std::vector<TContainedAction*>(FActions)) {
        auto* ca = dynamic_cast<TCustomAction*>(a);
        if (!ca || ca->ShortCut() != ShortCut) continue;
        ca->Update();
        if (!ca->Enabled()) return false;
        ca->Execute();
        return true;
    }
    return false;
}

void TCustomActionList::AddAction(TContainedAction* Action)
{
    FActions.push_back(Action);
    Action->FActionList = this;
    Action->FreeNotification(this);
}

void TCustomActionList::RemoveAction(TContainedAction* Action)
{
    auto it = std::find(FActions.begin(), FActions.end(), Action);
    if (it == FActions.end()) return;
    FActions.erase(it);
    Action->FActionList = nullptr;
    Action->RemoveFreeNotification(this);
}

void TCustomActionList::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FImages) FImages = nullptr;
    if (auto* a = dynamic_cast<TContainedAction*>(AComponent)) RemoveAction(a);
}

// ---------------------------------------------------------------------------
// TActionManager

TActionManager::~TActionManager() = default;

void TActionManager::SetList(TCustomImageList*& Field, TCustomImageList* v)
{
    if (Field == v) return;
    // The same list may serve twice: keep watching it while it does.
    TCustomImageList* old = Field;
    Field = v;
    if (old && old != FDisabledImages && old != FLargeImages && old != FLargeDisabledImages && old != FImages)
        old->RemoveFreeNotification(this);
    if (v) v->FreeNotification(this);
    if (OnChange) OnChange(this);
}

void TActionManager::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomActionList::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FDisabledImages) FDisabledImages = nullptr;
    if (AComponent == FLargeImages) FLargeImages = nullptr;
    if (AComponent == FLargeDisabledImages) FLargeDisabledImages = nullptr;
}
