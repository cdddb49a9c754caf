// Actions: a command with its caption, state, image and shortcut kept in
// one place, and links that keep the controls and menu items that use it
// in step (TBasicAction/TContainedAction/TCustomAction/TAction, TActionList,
// TActionLink and the control's link).
#pragma once

#include <functional>
#include <vector>

#include "platform/gfx/ImageList.h"
#include "platform/ui/Controls.h"

class TBasicAction;
class TCustomActionList;

// What ties a client (a control, a menu item) to its action. The action
// tells every link of its changes; the link passes on what the client
// still shows from the action.
class TBasicActionLink {
public:
    explicit TBasicActionLink(TObject* AClient) : FClientObject(AClient) {}
    virtual ~TBasicActionLink();
    TBasicActionLink(const TBasicActionLink&) = delete;
    TBasicActionLink& operator=(const TBasicActionLink&) = delete;

    TBasicAction* Action() const { return FAction; }
    void SetAction(TBasicAction* Value);
    virtual bool Execute(TComponent* AComponent = nullptr);
    virtual bool Update();
    TNotifyEvent OnChange;

protected:
    friend class TBasicAction;
    virtual void Change();
    TObject* FClientObject;
    TBasicAction* FAction = nullptr;
};

class TBasicAction : public TComponent {
    VEL_CLASS(TBasicAction, TComponent)
public:
    explicit TBasicAction(TComponent* AOwner);
    ~TBasicAction() override;

    // Runs OnExecute; false when nothing ran.
    virtual bool Execute();
    // Runs OnUpdate; false when there is none.
    virtual bool Update();
    // The client that executes the action now (a control or menu item).
    TComponent* ActionComponent() const { return FActionComponent; }
    void SetActionComponent(TComponent* v) { FActionComponent = v; }
    Integer ClientCount() const { return Integer(FClients.size()); }

    TNotifyEvent OnExecute, OnUpdate, OnChange;

protected:
    friend class TBasicActionLink;
    virtual void Change();
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void RegisterChanges(TBasicActionLink* Value);
    void UnRegisterChanges(TBasicActionLink* Value);

    std::vector<TBasicActionLink*> FClients;
    TComponent* FActionComponent = nullptr;
};

// An action that lives in an action list.
class TContainedAction : public TBasicAction {
    VEL_CLASS(TContainedAction, TBasicAction)
public:
    explicit TContainedAction(TComponent* AOwner) : TBasicAction(AOwner) {}
    ~TContainedAction() override;
    TCustomActionList* ActionList() const { return FActionList; }
    void SetActionList(TCustomActionList* v);
    Integer Index() const;
    const String& Category() const { return FCategory; }
    void SetCategory(const String& v) { FCategory = v; }
    // The list's OnExecute first (it may handle it), then OnExecute.
    bool Execute() override;
    bool Update() override;

protected:
    friend class TCustomActionList;
    TCustomActionList* FActionList = nullptr;
    String FCategory;
};

class TCustomAction : public TContainedAction {
    VEL_CLASS(TCustomAction, TContainedAction)
public:
    explicit TCustomAction(TComponent* AOwner) : TContainedAction(AOwner) {}

    const String& Caption() const { return FCaption; }
    void SetCaption(const String& v);
    bool Checked() const { return FChecked; }
    // With a GroupIndex above 0, checking unchecks the other actions of
    // the list with the same GroupIndex.
    void SetChecked(bool v);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    bool Visible() const { return FVisible; }
    void SetVisible(bool v);
    const String& Hint() const { return FHint; }
    void SetHint(const String& v);
    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer v);
    Word ShortCut() const { return FShortCut; }
    void SetShortCut(Word v);
    Integer GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(Integer v);
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool v);
    Integer HelpContext() const { return FHelpContext; }
    void SetHelpContext(Integer v) { FHelpContext = v; }
    // The list's images.
    TCustomImageList* Images() const;

    // Updates, and when enabled runs the action (AutoCheck toggles first).
    bool Execute() override;

protected:
    String FCaption;
    bool FChecked = false;
    bool FEnabled = true;
    bool FVisible = true;
    String FHint;
    Integer FImageIndex = -1;
    Word FShortCut = 0;
    Integer FGroupIndex = 0;
    bool FAutoCheck = false;
    Integer FHelpContext = 0;
    bool FCheckingSiblings = false;
};

class TAction : public TCustomAction {
    VEL_CLASS(TAction, TCustomAction)
public:
    explicit TAction(TComponent* AOwner) : TCustomAction(AOwner) {}
};

// The link of a client that shows a TCustomAction's properties: each Set
// passes the new value on while the client still shows the action's value.
class TActionLink : public TBasicActionLink {
public:
    using TBasicActionLink::TBasicActionLink;
    virtual bool IsCaptionLinked() const;
    virtual bool IsCheckedLinked() const;
    virtual bool IsEnabledLinked() const;
    virtual bool IsVisibleLinked() const;
    virtual bool IsHintLinked() const;
    virtual bool IsImageIndexLinked() const;
    virtual bool IsShortCutLinked() const;
    virtual bool IsGroupIndexLinked() const;
    virtual bool IsAutoCheckLinked() const;
    virtual void SetCaption(const String&) {}
    virtual void SetChecked(bool) {}
    virtual void SetEnabled(bool) {}
    virtual void SetVisible(bool) {}
    virtual void SetHint(const String&) {}
    virtual void SetImageIndex(Integer) {}
    virtual void SetShortCut(Word) {}
    virtual void SetGroupIndex(Integer) {}
    virtual void SetAutoCheck(bool) {}

protected:
    TCustomAction* CustomAction() const;
};

// A control's link: Caption, Enabled, Visible and Hint follow the action;
// a click with no OnClick of the control's own runs the action.
class TControlActionLink : public TActionLink {
public:
    explicit TControlActionLink(TControl* AClient) : TActionLink(AClient), FClient(AClient) {}
    bool IsCaptionLinked() const override;
    bool IsEnabledLinked() const override;
    bool IsVisibleLinked() const override;
    bool IsHintLinked() const override;
    void SetCaption(const String& Value) override;
    void SetEnabled(bool Value) override;
    void SetVisible(bool Value) override;
    void SetHint(const String& Value) override;

protected:
    TControl* FClient;
};

using TActionEvent = std::function<void(TBasicAction* Action, bool& Handled)>;

class TCustomActionList : public TComponent {
    VEL_CLASS(TCustomActionList, TComponent)
public:
    explicit TCustomActionList(TComponent* AOwner) : TComponent(AOwner) {}
    ~TCustomActionList() override;

    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* v);
    Integer ActionCount() const { return Integer(FActions.size()); }
    TContainedAction* Actions(Integer Index) const;
    // OnExecute (it may handle the action); true when handled.
    virtual bool ExecuteAction(TBasicAction* Action);
    virtual bool UpdateAction(TBasicAction* Action);
    // Runs every action's update (the application does it when idle).
    void UpdateActions();
    // The action whose shortcut this is, run; true when one ran.
    bool IsShortCut(Word ShortCut);

    TActionEvent OnExecute, OnUpdate;
    TNotifyEvent OnChange;

protected:
    friend class TContainedAction;
    void AddAction(TContainedAction* Action);
    void RemoveAction(TContainedAction* Action);
    void Notification(TComponent* AComponent, TOperation Operation) override;

    std::vector<TContainedAction*> FActions;
    TCustomImageList* FImages = nullptr;
};

class TActionList : public TCustomActionList {
    VEL_CLASS(TActionList, TCustomActionList)
public:
    explicit TActionList(TComponent* AOwner) : TCustomActionList(AOwner) {}
};

// An action list that also offers images for disabled actions and large
// images (normal and disabled) to the controls that show its actions. Each
// list is watched: a freed one is forgotten.
class TActionManager : public TCustomActionList {
    VEL_CLASS(TActionManager, TCustomActionList)
public:
    explicit TActionManager(TComponent* AOwner) : TCustomActionList(AOwner) {}
    ~TActionManager() override;
    TCustomImageList* DisabledImages() const { return FDisabledImages; }
    void SetDisabledImages(TCustomImageList* v) { SetList(FDisabledImages, v); }
    TCustomImageList* LargeImages() const { return FLargeImages; }
    void SetLargeImages(TCustomImageList* v) { SetList(FLargeImages, v); }
    TCustomImageList* LargeDisabledImages() const { return FLargeDisabledImages; }
    void SetLargeDisabledImages(TCustomImageList* v) { SetList(FLargeDisabledImages, v); }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void SetList(TCustomImageList*& Field, TCustomImageList* v);
    TCustomImageList* FDisabledImages = nullptr;
    TCustomImageList* FLargeImages = nullptr;
    TCustomImageList* FLargeDisabledImages = nullptr;
};
