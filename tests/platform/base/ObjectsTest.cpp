#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/base/Interfaces.h"
#include "platform/base/Objects.h"

namespace {

std::vector<String>* gLog = nullptr;

// Records its destruction and the notifications it receives.
class TProbe : public TComponent {
    VEL_CLASS(TProbe, TComponent)
public:
    explicit TProbe(TComponent* owner, const String& name = L"") : TComponent(owner)
    {
        SetName(name);
    }
    ~TProbe() override
    {
        if (gLog) gLog->push_back(L"free " + Name());
    }
    std::vector<String> Heard;

protected:
    void Notification(TComponent* c, TOperation op) override
    {
        TComponent::Notification(c, op);
        Heard.push_back((op == opInsert ? L"+" : L"-") + c->Name());
    }
};

class TPlain : public TProbe {   // no class information of its own
public:
    using TProbe::TProbe;
};

class TPoint3 : public TPersistent {
    VEL_CLASS(TPoint3, TPersistent)
public:
    int X = 0;
    void Assign(TPersistent* src) override
    {
        if (auto* p = dynamic_cast<TPoint3*>(src)) X = p->X;
        else TPersistent::Assign(src);
    }
};

}  // namespace

TEST(Objects, ClassInformationAndCheckedCast)
{
    TProbe p(nullptr);
    TPlain q(nullptr);
    EXPECT_EQ(p.ClassName(), L"TProbe");
    EXPECT_EQ(q.ClassName(), L"(anonymous namespace)::TPlain");   // its own name, not the base's
    EXPECT_TRUE(p.InheritsFrom(TComponent::StaticClass()));
    EXPECT_TRUE(p.InheritsFrom(TPersistent::StaticClass()));
    EXPECT_FALSE(p.InheritsFrom(TCollection::StaticClass()));
    EXPECT_EQ(TProbe::StaticClass()->Parent, TComponent::StaticClass());

    TObject* o = &p;
    EXPECT_EQ(CheckedCast<TComponent>(o), &p);
    EXPECT_EQ(CheckedCast<TComponent>(static_cast<TObject*>(nullptr)), nullptr);
    try {
        CheckedCast<TCollection>(o);
        FAIL();
    } catch (const EInvalidCast& e) {
        EXPECT_EQ(e.Message(), L"Invalid class typecast");
    }
}

TEST(Objects, AssignFallsBackToAssignToThenFails)
{
    TPoint3 a, b;
    b.X = 7;
    a.Assign(&b);
    EXPECT_EQ(a.X, 7);
    TPersistent plain;
    struct { TPersistent* src; const wchar_t* msg; } cases[] = {
        {&plain, L"Cannot assign a TPersistent to a TPoint3"},
        {nullptr, L"Cannot assign a nil to a TPoint3"},
    };
    for (auto& c : cases) {
        try {
            a.Assign(c.src);
            FAIL() << "no error";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), c.msg);
        }
    }
}

TEST(Objects, OwnerFreesOwnedInReverseOrderAndChildrenLeaveTheirOwner)
{
    std::vector<String> log;
    gLog = &log;
    {
        TProbe owner(nullptr, L"Owner");
        auto* a = new TProbe(&owner, L"A");
        new TProbe(&owner, L"B");
        auto* c = new TProbe(&owner, L"C");
        new TProbe(a, L"A1");
        EXPECT_EQ(owner.ComponentCount(), 3);
        EXPECT_EQ(owner.FindComponent(L"b"), owner.Components(1));
        EXPECT_EQ(owner.FindComponent(L"A1"), nullptr);   // owned by A, not by owner
        EXPECT_EQ(c->ComponentIndex(), 2);
        EXPECT_THROW(owner.Components(3), EListError);

        delete c;   // leaves the owner, which hears of it
        EXPECT_EQ(owner.ComponentCount(), 2);
        EXPECT_EQ(owner.Heard.back(), L"-C");
        log.clear();
    }
    gLog = nullptr;
    // A destructor body runs before the owned components go, so the owner
    // can still use them there; then the last created goes first.
    EXPECT_EQ(log, (std::vector<String>{L"free Owner", L"free B", L"free A", L"free A1"}));
}

TEST(Objects, NamesAreValidatedAndUniqueWithinOwner)
{
    TProbe owner(nullptr);
    auto* a = new TProbe(&owner, L"Edit1");
    auto* b = new TProbe(&owner);
    EXPECT_THROW(b->SetName(L"EDIT1"), EComponentError);
    EXPECT_THROW(b->SetName(L"1st"), EComponentError);
    EXPECT_THROW(b->SetName(L"a b"), EComponentError);
    b->SetName(L"_x2");
    a->SetName(L"edit1");   // changing only the case of one's own name is fine
    EXPECT_EQ(a->Name(), L"edit1");
    TProbe other(nullptr, L"_X2");
    EXPECT_THROW(owner.InsertComponent(&other), EComponentError);
    EXPECT_EQ(other.Owner(), nullptr);
}

TEST(Objects, FreeNotificationAcrossOwnersAndOwnerBroadcast)
{
    auto* ownerX = new TProbe(nullptr, L"X");
    auto* ownerY = new TProbe(nullptr, L"Y");
    auto* watcher = new TProbe(ownerX, L"Watcher");
    auto* sibling = new TProbe(ownerX, L"Sibling");
    auto* target = new TProbe(ownerY, L"Target");
    EXPECT_EQ(ownerX->Heard.size(), 2u);   // two inserts (named after insertion)

    watcher->FreeNotification(target);
    delete target;
    EXPECT_EQ(watcher->Heard.back(), L"-Target");
    // The owner passes what it hears on to everything it owns.
    delete sibling;
    EXPECT_EQ(watcher->Heard.back(), L"-Sibling");

    // A subscriber freed first unsubscribes itself: the target must not
    // reach it later (ASan would see the use after free).
    auto* target2 = new TProbe(ownerY, L"Target2");
    watcher->FreeNotification(target2);
    target2->FreeNotification(watcher);
    watcher->RemoveFreeNotification(target2);
    delete watcher;
    delete target2;
    delete ownerY;
    delete ownerX;
}

TEST(Objects, ComponentStateDesigningAndLoading)
{
    TProbe owner(nullptr);
    owner.SetDesigning(true);
    auto* child = new TProbe(&owner);
    EXPECT_TRUE(child->ComponentState().Contains(csDesigning));
    EXPECT_FALSE(owner.ComponentState().Contains(csDestroying));
    owner.Destroying();
    EXPECT_TRUE(child->ComponentState().Contains(csDestroying));
    child->SetSubComponent(true);
    EXPECT_TRUE(child->ComponentStyle().Contains(csSubComponent));
}

// ---------------------------------------------------------------------------

namespace {

std::vector<std::string> gEvents;

class TItem : public TCollectionItem {
    VEL_CLASS(TItem, TCollectionItem)
public:
    explicit TItem(TCollection* c) : TCollectionItem(c) {}
    int Value = 0;
    void SetValue(int v)
    {
        Value = v;
        Changed(false);
    }
    void Assign(TPersistent* src) override
    {
        if (auto* i = dynamic_cast<TItem*>(src)) Value = i->Value;
        else TCollectionItem::Assign(src);
    }
};

class TLogged : public TOwnedCollection {
public:
    explicit TLogged(TPersistent* owner) : TOwnedCollection(owner, CollectionItemClass<TItem>()) {}

protected:
    void Update(TCollectionItem* item) override
    {
        gEvents.push_back(item ? "update " + std::to_string(item->Index()) : "update all");
    }
    void Notify(TCollectionItem* item, TCollectionNotification a) override
    {
        static const char* names[] = {"added", "extracting", "deleting"};
        gEvents.push_back(names[a]);
    }
};

}  // namespace

TEST(Collections, NotifyAndUpdateOrder)
{
    TProbe owner(nullptr, L"Form1");
    TLogged c(&owner);
    gEvents.clear();
    c.Add();
    EXPECT_EQ(gEvents, (std::vector<std::string>{"added", "update all"}));

    gEvents.clear();
    c.BeginUpdate();
    c.Add();
    static_cast<TItem*>(c.Add())->SetValue(5);
    c.Delete(0);
    EXPECT_TRUE(std::find(gEvents.begin(), gEvents.end(), "update all") == gEvents.end());
    c.EndUpdate();
    EXPECT_EQ(gEvents, (std::vector<std::string>{"added", "added", "deleting", "extracting", "update all"}));

    gEvents.clear();
    static_cast<TItem*>(c.Items(1))->SetValue(9);
    c.Items(1)->SetIndex(0);
    EXPECT_EQ(gEvents, (std::vector<std::string>{"update 1", "update all"}));
    EXPECT_EQ(static_cast<TItem*>(c.Items(0))->Value, 9);

    c.EndUpdate();   // unbalanced: must not disable later updates
    gEvents.clear();
    c.Add();
    EXPECT_EQ(gEvents.back(), "update all");
}

TEST(Collections, InsertIdsAssignAndNamePath)
{
    TProbe owner(nullptr, L"Grid1");
    TLogged a(&owner), b(nullptr);
    a.SetPropName(L"Columns");
    for (int v : {1, 2, 3}) static_cast<TItem*>(a.Add())->Value = v;
    TItem* ins = static_cast<TItem*>(a.Insert(1));
    ins->Value = 10;
    EXPECT_EQ(ins->Index(), 1);
    EXPECT_EQ(ins->ID(), 3);   // ids follow creation, not position
    EXPECT_EQ(a.FindItemID(3), ins);
    EXPECT_THROW(a.Insert(9), EListError);
    EXPECT_EQ(a.Count(), 4);
    EXPECT_THROW(a.Items(4), EListError);
    EXPECT_EQ(ins->GetNamePath(), L"Grid1.Columns[1]");

    b.Assign(&a);
    ASSERT_EQ(b.Count(), 4);
    std::vector<int> values;
    for (int i = 0; i < b.Count(); ++i) values.push_back(static_cast<TItem*>(b.Items(i))->Value);
    EXPECT_EQ(values, (std::vector<int>{1, 10, 2, 3}));
    delete b.Items(0);   // an item freed on its own leaves its collection
    EXPECT_EQ(b.Count(), 3);
}

// ---------------------------------------------------------------------------

namespace {

struct IGreeter : virtual IUnknown {
    static constexpr TGUID IID = MakeGUID("{6B29FC40-CA47-1067-B31D-00DD010662DA}");
    virtual String Greet() = 0;
};

struct IOther : virtual IUnknown {
    static constexpr TGUID IID = MakeGUID("{00000000-0000-0000-0000-000000000001}");
};

int gAlive = 0;

class TGreeter : public TInterfacedObject, public IGreeter {
public:
    TGreeter() { ++gAlive; }
    ~TGreeter() override { --gAlive; }
    String Greet() override { return L"hi"; }
    HRESULT QueryInterface(const TGUID& iid, void** obj) override
    {
        if (obj && Answer<IGreeter>(iid, obj, this)) return S_OK;
        return TInterfacedObject::QueryInterface(iid, obj);
    }
};

}  // namespace

TEST(Interfaces, ReferenceCountingAndQueryInterface)
{
    EXPECT_EQ(GUIDToString(IGreeter::IID), L"{6B29FC40-CA47-1067-B31D-00DD010662DA}");
    EXPECT_EQ(GUIDToString(IID_IUnknown), L"{00000000-0000-0000-C000-000000000046}");
    {
        TComPtr<IUnknown> unk(static_cast<TInterfacedObject*>(new TGreeter));
        EXPECT_EQ(gAlive, 1);
        TComPtr<IGreeter> g;
        ASSERT_EQ(unk.As(g), S_OK);
        EXPECT_EQ(g->Greet(), L"hi");
        TComPtr<IGreeter> copy = g;
        g.Reset();
        unk = nullptr;
        EXPECT_EQ(gAlive, 1);   // the copy still holds it

        TComPtr<IOther> none;
        EXPECT_EQ(copy.As(none), E_NOINTERFACE);
        EXPECT_FALSE(none);
        EXPECT_EQ(copy->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
    }
    EXPECT_EQ(gAlive, 0);
    EXPECT_TRUE(SUCCEEDED(S_FALSE));
    EXPECT_TRUE(FAILED(E_FAIL));
}
