#include "platform/base/Objects.h"

#include <cxxabi.h>

#include <algorithm>
#include <iterator>
#include <cstdlib>
#include <memory>
#include <mutex>

namespace {

wchar_t FoldAscii(wchar_t c) { return (c >= L'A' && c <= L'Z') ? wchar_t(c + 32) : c; }

bool SameIdent(const String& a, const String& b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    return true;
}

bool IsIdentStart(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_' || c > 127;
}

bool IsValidIdent(const String& s)
{
    if (s.empty() || !IsIdentStart(s[0])) return false;
    for (wchar_t c : s)
        if (!IsIdentStart(c) && !(c >= L'0' && c <= L'9')) return false;
    return true;
}

[[noreturn]] void ListIndexError(Integer index)
{
    throw EListError(L"List index out of bounds (" + std::to_wstring(index) + L")");
}

}  // namespace

// ---------------------------------------------------------------------------

const TPropInfo* TClassInfo::FindProp(const String& name) const
{
    for (auto it = Props.rbegin(); it != Props.rend(); ++it)
        if (SameIdent(it->Name, name)) return &*it;
    return nullptr;
}

TClass TObject::StaticClass()
{
    static const TClassInfo info = [] {
        TClassInfo i;
        i.Name = L"TObject";
        i.Type = &typeid(TObject);
        i.Create = [](TComponent*) -> TObject* { return new TObject(); };
        return i;
    }();
    return &info;
}

String TObject::ClassName() const
{
    TClass c = ClassType();
    const std::type_info& t = typeid(*this);
    if (c->Type && *c->Type == t) return c->Name;
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> name(abi::__cxa_demangle(t.name(), nullptr, nullptr, &status),
                                                std::free);
    std::string s = (status == 0 && name) ? name.get() : t.name();
    return String(s.begin(), s.end());
}

// ---------------------------------------------------------------------------

void TPersistent::Assign(TPersistent* Source)
{
    if (Source)
        Source->AssignTo(this);
    else
        AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* Dest) { Dest->AssignError(this); }

void TPersistent::AssignError(TPersistent* Source)
{
    String src = Source ? Source->ClassName() : String(L"nil");
    throw EConvertError(L"Cannot assign a " + src + L" to a " + ClassName());
}

String TPersistent::GetNamePath() const
{
    String result = ClassName();
    if (TPersistent* owner = GetOwner()) {
        String s = owner->GetNamePath();
        if (!s.empty()) result = s + L"." + result;
    }
    return result;
}

// ---------------------------------------------------------------------------

void TComponent::Publish(TPublisher<TComponent>& p)
{
    // The name travels in the record header, not as a property.
    p.Str(L"Name", &TComponent::Name, &TComponent::SetName).Stored = false;
    p.Integer(L"Tag", &TComponent::Tag, &TComponent::SetTag).Default = 0;
}

TComponent::TComponent(TComponent* AOwner)
{
    if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent()
{
    Destroying();
    // Tell every subscriber; unlink first so a subscriber that does not pass
    // the notification on cannot make this loop forever.
    while (!FFreeNotifies.empty()) {
        TComponent* c = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        c->RemoveFreeNotify(this);
        c->Notification(this, opRemove);
    }
    DestroyComponents();
    if (FOwner) FOwner->RemoveComponent(this);
}

TComponent* TComponent::Components(Integer Index) const
{
    if (Index < 0 || Index >= ComponentCount()) ListIndexError(Index);
    return FComponents[size_t(Index)];
}

Integer TComponent::ComponentIndex() const
{
    if (!FOwner) return -1;
    auto& v = FOwner->FComponents;
    auto it = std::find(v.begin(), v.end(), this);
    return it == v.end() ? -1 : Integer(it - v.begin());
}

TComponent* TComponent::FindComponent(const String& AName) const
{
    if (AName.empty()) return nullptr;
    for (TComponent* c : FComponents)
        if (SameIdent(c->FName, AName)) return c;
    return nullptr;
}

void TComponent::SetName(const String& NewName)
{
    if (FName == NewName) return;
    if (!NewName.empty() && !IsValidIdent(NewName))
        throw EComponentError(L"'" + NewName + L"' is not a valid component name");
    if (FOwner)
        FOwner->ValidateRename(this, FName, NewName);
    else
        ValidateRename(nullptr, FName, NewName);
    FName = NewName;
}

void TComponent::ValidateRename(TComponent* AComponent, const String& CurName, const String& NewName)
{
    if (AComponent && !NewName.empty() && !SameIdent(CurName, NewName)) {
        TComponent* other = FindComponent(NewName);
        if (other && other != AComponent)
            throw EComponentError(L"A component named " + NewName + L" already exists");
    }
}

void TComponent::SetDesigning(bool Value, bool SetChildren)
{
    if (Value)
        FComponentState.Include(csDesigning);
    else
        FComponentState.Exclude(csDesigning);
    if (SetChildren)
        for (TComponent* c : FComponents) c->SetDesigning(Value, true);
}

void TComponent::SetSubComponent(bool Value)
{
    if (Value)
        FComponentStyle.Include(csSubComponent);
    else
        FComponentStyle.Exclude(csSubComponent);
}

void TComponent::InsertComponent(TComponent* AComponent)
{
    if (!AComponent || AComponent == this) return;
    if (AComponent->FOwner) AComponent->FOwner->RemoveComponent(AComponent);
    ValidateRename(AComponent, L"", AComponent->FName);
    Insert(AComponent);
    if (FComponentState.Contains(csDesigning)) AComponent->SetDesigning(true);
    Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent)
{
    if (!AComponent || AComponent->FOwner != this) return;
    Notification(AComponent, opRemove);
    Remove(AComponent);
}

void TComponent::Insert(TComponent* AComponent)
{
    FComponents.push_back(AComponent);
    AComponent->FOwner = this;
}

void TComponent::Remove(TComponent* AComponent)
{
    auto it = std::find(FComponents.begin(), FComponents.end(), AComponent);
    if (it != FComponents.end()) FComponents.erase(it);
    AComponent->FOwner = nullptr;
}

void TComponent::DestroyComponents()
{
    FComponentState.Include(csDestroying);
    while (!FComponents.empty()) {
        TComponent* c = FComponents.back();
        Remove(c);
        delete c;
    }
}

void TComponent::Destroying()
{
    if (FComponentState.Contains(csDestroying)) return;
    FComponentState.Include(csDestroying);
    for (TComponent* c : FComponents) c->Destroying();
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == opRemove && AComponent) RemoveFreeNotification(AComponent);
    // Pass it on to everything owned; a receiver may free components.
    Integer i = ComponentCount() - 1;
    while (i >= 0) {
        FComponents[size_t(i)]->Notification(AComponent, Operation);
        --i;
        if (i >= ComponentCount()) i = ComponentCount() - 1;
    }
}

void TComponent::FreeNotification(TComponent* AComponent)
{
    if (!AComponent || AComponent == this) return;
    // Components of one owner hear of each other through the owner.
    if (!FOwner || AComponent->FOwner != FOwner) {
        AddFreeNotify(AComponent);
        AComponent->AddFreeNotify(this);
    }
    FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent)
{
    if (!AComponent) return;
    RemoveFreeNotify(AComponent);
    AComponent->RemoveFreeNotify(this);
}

void TComponent::AddFreeNotify(TComponent* AComponent)
{
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end())
        FFreeNotifies.push_back(AComponent);
}

void TComponent::RemoveFreeNotify(TComponent* AComponent)
{
    auto it = std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent);
    if (it != FFreeNotifies.end()) FFreeNotifies.erase(it);
}

String TComponent::GetNamePath() const { return FName; }

void TComponent::Loaded() { FComponentState.Exclude(csLoading); }

// ---------------------------------------------------------------------------

TCollectionItem::TCollectionItem(TCollection* Collection) { SetCollection(Collection); }

TCollectionItem::~TCollectionItem() { SetCollection(nullptr); }

void TCollectionItem::SetCollection(TCollection* Value)
{
    if (FCollection == Value) return;
    if (FCollection) FCollection->RemoveItem(this);
    if (Value) Value->InsertItem(this);
}

Integer TCollectionItem::Index() const
{
    if (!FCollection) return -1;
    auto& v = FCollection->FItems;
    auto it = std::find(v.begin(), v.end(), this);
    return it == v.end() ? -1 : Integer(it - v.begin());
}

void TCollectionItem::SetIndex(Integer Value)
{
    Integer cur = Index();
    if (cur < 0 || cur == Value) return;
    auto& v = FCollection->FItems;
    if (Value < 0 || Value >= Integer(v.size())) ListIndexError(Value);
    v.erase(v.begin() + cur);
    v.insert(v.begin() + Value, this);
    Changed(true);
}

void TCollectionItem::Changed(bool AllItems)
{
    if (FCollection && FCollection->FUpdateCount == 0) FCollection->Update(AllItems ? nullptr : this);
}

String TCollectionItem::GetNamePath() const
{
    if (!FCollection) return ClassName();
    return FCollection->GetNamePath() + L"[" + std::to_wstring(Index()) + L"]";
}

TPersistent* TCollectionItem::GetOwner() const { return FCollection; }

TCollection::TCollection(TCollectionItemClass ItemClass) : FItemClass(ItemClass) {}

TCollection::~TCollection()
{
    FUpdateCount = 1;
    Clear();
}

TCollectionItem* TCollection::Add()
{
    // The item enters the collection from its base's constructor: the
    // change is told once the whole item stands, so a handler that reads
    // the items never meets a half-built one.
    BeginUpdate();
    TCollectionItem* item = nullptr;
    try {
        item = FItemClass(this);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    return item;
}

TCollectionItem* TCollection::Insert(Integer Index)
{
    if (Index < 0 || Index > Count()) ListIndexError(Index);
    TCollectionItem* item = Add();
    item->SetIndex(Index);
    return item;
}

void TCollection::Delete(Integer Index)
{
    TCollectionItem* item = Items(Index);
    Notify(item, cnDeleting);
    delete item;
}

void TCollection::Clear()
{
    if (FItems.empty()) return;
    BeginUpdate();
    while (!FItems.empty()) delete FItems.back();
    EndUpdate();
}

TCollectionItem* TCollection::Items(Integer Index) const
{
    if (Index < 0 || Index >= Count()) ListIndexError(Index);
    return FItems[size_t(Index)];
}

TCollectionItem* TCollection::FindItemID(Integer ID) const
{
    for (TCollectionItem* i : FItems)
        if (i->FID == ID) return i;
    return nullptr;
}

void TCollection::EndUpdate()
{
    if (FUpdateCount > 0) --FUpdateCount;
    Changed();
}

void TCollection::Changed()
{
    if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::Assign(TPersistent* Source)
{
    if (auto* src = dynamic_cast<TCollection*>(Source)) {
        if (src == this) return;
        BeginUpdate();
        try {
            Clear();
            for (TCollectionItem* i : src->FItems) Add()->Assign(i);
        } catch (...) {
            EndUpdate();
            throw;
        }
        EndUpdate();
        return;
    }
    TPersistent::Assign(Source);
}

String TCollection::GetNamePath() const
{
    TPersistent* owner = GetOwner();
    if (!owner) return ClassName();
    String s = owner->GetNamePath();
    if (s.empty() || FPropName.empty()) return ClassName();
    return s + L"." + FPropName;
}

void TCollection::InsertItem(TCollectionItem* Item)
{
    FItems.push_back(Item);
    Item->FCollection = this;
    Item->FID = FNextID++;
    Notify(Item, cnAdded);
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* Item)
{
    Notify(Item, cnExtracting);
    // From the end: clearing frees the items last to first, so each is found
    // at once and clearing stays linear.
    auto it = std::find(FItems.rbegin(), FItems.rend(), Item);
    if (it != FItems.rend()) FItems.erase(std::next(it).base());
    Item->FCollection = nullptr;
    Changed();
}

// ---------------------------------------------------------------------------
// Interfaces on components

namespace {

struct TInterfaceEntry {
    TGUID IID;
    TInterfaceCast Cast;
};

struct TInterfaceTable {
    std::mutex Lock;
    std::vector<TInterfaceEntry> Entries;
};

TInterfaceTable& InterfaceTable()
{
    static TInterfaceTable* table = new TInterfaceTable;   // lives for the whole process
    return *table;
}

TInterfaceCast FindInterfaceCast(const TGUID& IID)
{
    TInterfaceTable& t = InterfaceTable();
    std::lock_guard<std::mutex> g(t.Lock);
    for (const TInterfaceEntry& e : t.Entries)
        if (e.IID == IID) return e.Cast;
    return nullptr;
}

}  // namespace

bool RegisterInterfaceCast(const TGUID& IID, TInterfaceCast Cast)
{
    TInterfaceTable& t = InterfaceTable();
    std::lock_guard<std::mutex> g(t.Lock);
    for (TInterfaceEntry& e : t.Entries)
        if (e.IID == IID) {
            e.Cast = Cast;
            return true;
        }
    t.Entries.push_back({IID, Cast});
    return true;
}

bool Supports(TObject* Instance, const TGUID& IID, void** Intf)
{
    if (Intf) *Intf = nullptr;
    if (!Instance) return false;
    void* p = nullptr;
    if (IID == IID_IUnknown)
        p = dynamic_cast<IUnknown*>(Instance);
    else if (TInterfaceCast cast = FindInterfaceCast(IID))
        p = cast(Instance);
    if (Intf) *Intf = p;
    return p != nullptr;
}

bool Supports(IUnknown* Instance, const TGUID& IID, void** Intf)
{
    if (Intf) *Intf = nullptr;
    if (!Instance) return false;
    void* p = nullptr;
    HRESULT hr = Instance->QueryInterface(IID, &p);
    if (FAILED(hr) || !p) return false;
    if (Intf)
        *Intf = p;
    else
        Instance->Release();   // only asked whether: the added reference is not kept
    return true;
}

HRESULT TComponentInterfaces::QueryInterface(const TGUID& IID, void** Obj)
{
    if (!Obj) return E_POINTER;
    *Obj = nullptr;
    if (IID == IID_IUnknown) {
        *Obj = static_cast<IUnknown*>(this);
        return S_OK;
    }
    auto* self = dynamic_cast<TObject*>(this);
    return Supports(self, IID, Obj) ? S_OK : E_NOINTERFACE;
}

// ---------------------------------------------------------------------------
// TInterfacedPersistent

HRESULT TInterfacedPersistent::QueryInterface(const TGUID& IID, void** Obj)
{
    if (!Obj) return E_POINTER;
    *Obj = nullptr;
    if (IID == IID_IUnknown) {
        *Obj = static_cast<IUnknown*>(this);
        return S_OK;
    }
    return Supports(static_cast<TObject*>(this), IID, Obj) ? S_OK : E_NOINTERFACE;
}

IUnknown* TInterfacedPersistent::OwnerInterface() const
{
    TPersistent* owner = GetOwner();
    return owner ? dynamic_cast<IUnknown*>(owner) : nullptr;
}

ULONG TInterfacedPersistent::AddRef()
{
    IUnknown* owner = OwnerInterface();
    return owner ? owner->AddRef() : ULONG(-1);
}

ULONG TInterfacedPersistent::Release()
{
    IUnknown* owner = OwnerInterface();
    return owner ? owner->Release() : ULONG(-1);
}
