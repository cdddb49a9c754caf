// The object model: TObject with class information, TPersistent (Assign),
// TComponent (ownership, names, notifications, loading state) and the
// collections.
//
// A class that wants its own class information (ClassType, InheritsFrom,
// creation by name for the class registry, published properties for the
// component streaming) starts its body with VEL_CLASS(TFoo, TBase).
// Published properties are listed by an optional static member
//     static void Publish(TPublisher<TFoo>& p) { p.Integer(L"Col", &TFoo::Col, &TFoo::SetCol); }
// in stream order; the properties of the base classes come first.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <type_traits>
#include <typeinfo>
#include <vector>

#include "platform/base/Exceptions.h"
#include "platform/base/Interfaces.h"
#include "platform/base/Types.h"

class TObject;
class TPersistent;
class TComponent;
class TFiler;
class TCollection;
class TCollectionItem;

using TNotifyEvent = std::function<void(TObject* Sender)>;

// A small set of enumeration values (ordinal 0..63), as the class library
// uses for styles and states.
template <class E>
class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> items)
    {
        for (E e : items) FBits |= Bit(e);
    }
    static constexpr TSet FromBits(uint64_t bits)
    {
        TSet s;
        s.FBits = bits;
        return s;
    }
    constexpr uint64_t Bits() const { return FBits; }
    constexpr bool Contains(E e) const { return (FBits & Bit(e)) != 0; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr TSet& Include(E e)
    {
        FBits |= Bit(e);
        return *this;
    }
    constexpr TSet& Exclude(E e)
    {
        FBits &= ~Bit(e);
        return *this;
    }
    friend constexpr TSet operator+(TSet a, TSet b) { return FromBits(a.FBits | b.FBits); }
    friend constexpr TSet operator-(TSet a, TSet b) { return FromBits(a.FBits & ~b.FBits); }
    friend constexpr TSet operator*(TSet a, TSet b) { return FromBits(a.FBits & b.FBits); }
    friend constexpr bool operator==(TSet a, TSet b) = default;

private:
    static constexpr uint64_t Bit(E e) { return uint64_t(1) << static_cast<unsigned>(e); }
    uint64_t FBits = 0;
};

// ---------------------------------------------------------------------------
// Published properties

enum class TPropKind {
    Integer,      // ordinal up to 32 bits (signedness and width in OrdSize/OrdSigned)
    Int64,
    Boolean,
    Enumeration,  // written as the value's name
    Set,          // written as the names of the members
    Float,        // written as an 80-bit extended
    DateTime,     // written as a date (8-byte double)
    String,       // omitted when empty
    Class,        // a sub-object (TPersistent): its properties under "Name."
    Component,    // a reference to another component, written as its name
};

struct TPropInfo {
    String Name;
    TPropKind Kind = TPropKind::Integer;
    int OrdSize = 4;           // bytes, for Integer
    bool OrdSigned = true;
    String TypeName;           // e.g. L"TColor": integers with registered identifiers
    std::vector<String> EnumNames;   // Enumeration, Set
    bool Stored = true;
    std::optional<Int64> Default;    // ordinal default: not written when equal

    std::function<Int64(TObject*)> GetOrd;
    std::function<void(TObject*, Int64)> SetOrd;
    std::function<double(TObject*)> GetFloat;
    std::function<void(TObject*, double)> SetFloat;
    std::function<String(TObject*)> GetStr;
    std::function<void(TObject*, const String&)> SetStr;
    std::function<TObject*(TObject*)> GetObj;
    std::function<void(TObject*, TObject*)> SetObj;    // may be empty for sub-objects
};
using TPropList = std::vector<TPropInfo>;

struct TClassInfo;
using TClass = const TClassInfo*;

struct TClassInfo {
    const wchar_t* Name = L"";
    TClass Parent = nullptr;
    const std::type_info* Type = nullptr;
    // Creates an instance (components with their owner); null for classes
    // that cannot be created by name.
    TObject* (*Create)(TComponent* Owner) = nullptr;
    TPropList Props;   // inherited first

    bool InheritsFrom(TClass c) const
    {
        for (TClass k = this; k; k = k->Parent)
            if (k == c) return true;
        return false;
    }
    // Case-insensitive look-up; null when the class publishes no such name.
    const TPropInfo* FindProp(const String& name) const;
};

// Collects the published properties of Cls (see the comment at the top).
template <class Cls>
class TPublisher {
public:
    explicit TPublisher(TPropList& list) : FList(list) {}

    // Any integral property (int8 .. uint32, Int64 as well).
    template <class G, class S>
    TPropInfo& Integer(const wchar_t* name, G get, S set)
    {
        using V = std::decay_t<std::invoke_result_t<G, Cls*>>;
        static_assert(std::is_integral_v<V> || std::is_enum_v<V>);
        TPropInfo& p = Add(name, sizeof(V) > 4 ? TPropKind::Int64 : TPropKind::Integer);
        p.OrdSize = int(sizeof(V));
        p.OrdSigned = std::is_signed_v<V>;
        p.GetOrd = [get](TObject* o) { return static_cast<Int64>(std::invoke(get, Self(o))); };
        p.SetOrd = [set](TObject* o, Int64 v) { std::invoke(set, Self(o), static_cast<V>(v)); };
        return p;
    }
    // An integer whose values may be written as identifiers registered under
    // typeName with RegisterIntegerConsts (colours: L"TColor").
    template <class G, class S>
    TPropInfo& IntegerIdent(const wchar_t* name, const wchar_t* typeName, G get, S set)
    {
        TPropInfo& p = Integer(name, get, set);
        p.TypeName = typeName;
        return p;
    }
    template <class G, class S>
    TPropInfo& Boolean(const wchar_t* name, G get, S set)
    {
        TPropInfo& p = Add(name, TPropKind::Boolean);
        p.GetOrd = [get](TObject* o) { return static_cast<Int64>(bool(std::invoke(get, Self(o)))); };
        p.SetOrd = [set](TObject* o, Int64 v) { std::invoke(set, Self(o), v != 0); };
        return p;
    }
    // names[i] is the name of the enumeration value with ordinal i.
    template <class G, class S>
    TPropInfo& Enum(const wchar_t* name, G get, S set, std::initializer_list<const wchar_t*> names)
    {
        using V = std::decay_t<std::invoke_result_t<G, Cls*>>;
        TPropInfo& p = Add(name, TPropKind::Enumeration);
        for (auto n : names) p.EnumNames.emplace_back(n);
        p.GetOrd = [get](TObject* o) { return static_cast<Int64>(std::invoke(get, Self(o))); };
        p.SetOrd = [set](TObject* o, Int64 v) { std::invoke(set, Self(o), static_cast<V>(v)); };
        return p;
    }
    // A TSet<E> (or an integer of member bits); names as for Enum.
    template <class G, class S>
    TPropInfo& Set(const wchar_t* name, G get, S set, std::initializer_list<const wchar_t*> names)
    {
        using V = std::decay_t<std::invoke_result_t<G, Cls*>>;
        TPropInfo& p = Add(name, TPropKind::Set);
        for (auto n : names) p.EnumNames.emplace_back(n);
        p.GetOrd = [get](TObject* o) {
            V v = std::invoke(get, Self(o));
            if constexpr (requires { v.Bits(); }) return static_cast<Int64>(v.Bits());
            else return static_cast<Int64>(v);
        };
        p.SetOrd = [set](TObject* o, Int64 bits) {
            if constexpr (requires { V::FromBits(0); })
                std::invoke(set, Self(o), V::FromBits(static_cast<uint64_t>(bits)));
            else
                std::invoke(set, Self(o), static_cast<V>(bits));
        };
        return p;
    }
    template <class G, class S>
    TPropInfo& Float(const wchar_t* name, G get, S set)
    {
        TPropInfo& p = Add(name, TPropKind::Float);
        p.GetFloat = [get](TObject* o) { return static_cast<double>(std::invoke(get, Self(o))); };
        p.SetFloat = [set](TObject* o, double v) { std::invoke(set, Self(o), v); };
        return p;
    }
    template <class G, class S>
    TPropInfo& DateTime(const wchar_t* name, G get, S set)
    {
        TPropInfo& p = Float(name, get, set);
        p.Kind = TPropKind::DateTime;
        return p;
    }
    template <class G, class S>
    TPropInfo& Str(const wchar_t* name, G get, S set)
    {
        TPropInfo& p = Add(name, TPropKind::String);
        p.GetStr = [get](TObject* o) { return String(std::invoke(get, Self(o))); };
        p.SetStr = [set](TObject* o, const String& v) { std::invoke(set, Self(o), v); };
        return p;
    }
    // A sub-object owned by the instance (a TPersistent, a TCollection, a
    // TStrings...). Reading fills the existing object; no setter needed.
    template <class G>
    TPropInfo& Object(const wchar_t* name, G get)
    {
        TPropInfo& p = Add(name, TPropKind::Class);
        p.GetObj = [get](TObject* o) -> TObject* { return std::invoke(get, Self(o)); };
        return p;
    }
    // A reference to a component found by name when reading.
    template <class G, class S>
    TPropInfo& Component(const wchar_t* name, G get, S set)
    {
        using V = std::decay_t<std::invoke_result_t<G, Cls*>>;
        TPropInfo& p = Add(name, TPropKind::Component);
        p.GetObj = [get](TObject* o) -> TObject* { return std::invoke(get, Self(o)); };
        p.SetObj = [set](TObject* o, TObject* v) { std::invoke(set, Self(o), dynamic_cast<V>(v)); };
        return p;
    }

private:
    static Cls* Self(TObject* o);
    TPropInfo& Add(const wchar_t* name, TPropKind kind)
    {
        TPropInfo p;
        p.Name = name;
        p.Kind = kind;
        FList.push_back(std::move(p));
        return FList.back();
    }
    TPropList& FList;
};

namespace objects_detail {
template <class Cls, class Base>
TClassInfo MakeClassInfo(const wchar_t* name)
{
    TClassInfo info;
    info.Name = name;
    info.Parent = Base::StaticClass();
    info.Type = &typeid(Cls);
    info.Props = info.Parent->Props;
    return info;
}
}  // namespace objects_detail

// (The generic lambda makes the checks below depend on a template parameter,
// so a class without its own Publish simply publishes nothing new.)
#define VEL_CLASS(Cls, Base)                                                              \
public:                                                                                   \
    static TClass StaticClass()                                                           \
    {                                                                                     \
        static const TClassInfo info = []<class C = Cls>() {                              \
            TClassInfo i = objects_detail::MakeClassInfo<C, Base>(L## #Cls);              \
            if constexpr (!std::is_abstract_v<C> && std::is_constructible_v<C, TComponent*>) \
                i.Create = [](TComponent* o) -> TObject* { return new C(o); };            \
            else if constexpr (!std::is_abstract_v<C> && std::is_default_constructible_v<C>) \
                i.Create = [](TComponent*) -> TObject* { return new C(); };               \
            if constexpr (requires(TPublisher<C>& p) { C::Publish(p); }) {                \
                TPublisher<C> p(i.Props);                                                 \
                C::Publish(p);                                                            \
            }                                                                             \
            return i;                                                                     \
        }();                                                                              \
        return &info;                                                                     \
    }                                                                                     \
    TClass ClassType() const override { return Cls::StaticClass(); }                      \
                                                                                          \
private:

// ---------------------------------------------------------------------------

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = default;
    TObject& operator=(const TObject&) = default;
    virtual ~TObject() = default;

    static TClass StaticClass();
    // The nearest class with class information (VEL_CLASS).
    virtual TClass ClassType() const { return StaticClass(); }
    // The name of the object's own class, also for classes without VEL_CLASS.
    String ClassName() const;
    bool InheritsFrom(TClass c) const { return ClassType()->InheritsFrom(c); }
};

// Casts an object to T, raising EInvalidCast "Invalid class typecast" when it
// is of another class. Null stays null.
template <class T>
T* CheckedCast(TObject* o)
{
    if (!o) return nullptr;
    if (T* t = dynamic_cast<T*>(o)) return t;
    throw EInvalidCast(L"Invalid class typecast");
}
template <class T>
const T* CheckedCast(const TObject* o)
{
    return CheckedCast<T>(const_cast<TObject*>(o));
}

template <class Cls>
Cls* TPublisher<Cls>::Self(TObject* o)
{
    return CheckedCast<Cls>(o);
}

class TPersistent : public TObject {
    VEL_CLASS(TPersistent, TObject)
public:
    TPersistent() = default;
    // Copies the content of Source; when this class does not know Source,
    // Source's AssignTo is asked; failing both, EConvertError
    // "Cannot assign a <source class> to a <this class>".
    virtual void Assign(TPersistent* Source);
    // Properties that are not published but travel in component streams.
    virtual void DefineProperties(TFiler* Filer) {}
    // "Owner.Name" style path used in messages and streams.
    virtual String GetNamePath() const;
    virtual TPersistent* GetOwner() const { return nullptr; }

protected:
    virtual void AssignTo(TPersistent* Dest);
    [[noreturn]] void AssignError(TPersistent* Source);
};

enum TOperation { opInsert, opRemove };

enum TComponentStateFlag {
    csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor, csUpdating,
    csFixups, csFreeNotification, csInline, csDesignInstance
};
using TComponentState = TSet<TComponentStateFlag>;

enum TComponentStyleFlag { csInheritable, csCheckPropAvail, csSubComponent, csTransient };
using TComponentStyle = TSet<TComponentStyleFlag>;

using TGetChildProc = std::function<void(TComponent* Child)>;

class TComponent : public TPersistent {
    VEL_CLASS(TComponent, TPersistent)
public:
    // The owner (may be null) frees this component when it is destroyed.
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return FOwner; }
    Integer ComponentCount() const { return Integer(FComponents.size()); }
    TComponent* Components(Integer Index) const;
    Integer ComponentIndex() const;
    // Case-insensitive; null when no owned component has that name.
    TComponent* FindComponent(const String& AName) const;

    const String& Name() const { return FName; }
    // A valid identifier (or empty), unique among the owner's components;
    // EComponentError otherwise.
    virtual void SetName(const String& NewName);
    NativeInt Tag() const { return FTag; }
    void SetTag(NativeInt v) { FTag = v; }

    TComponentState ComponentState() const { return FComponentState; }
    TComponentStyle ComponentStyle() const { return FComponentStyle; }
    void SetDesigning(bool Value, bool SetChildren = true);
    // A sub-component is streamed as part of its owner's property, not as
    // a reference.
    void SetSubComponent(bool Value);

    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);
    // Frees every owned component, the last created first.
    void DestroyComponents();
    // Marks the component as being destroyed (csDestroying) and tells the
    // owned components too.
    void Destroying();

    // AComponent tells this component before it is freed (opRemove to
    // Notification), whoever owns either.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    String GetNamePath() const override;
    TPersistent* GetOwner() const override { return FOwner; }

    // Called once streaming (or construction in code) of the component is
    // complete; clears csLoading.
    virtual void Loaded();
    // The components written after this one in a stream (none by default).
    virtual void GetChildren(const TGetChildProc& Proc, TComponent* Root) {}

    static void Publish(TPublisher<TComponent>& p);

protected:
    // Sent to the owner, to everything it owns and to free-notification
    // subscribers when a component is inserted or removed.
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    virtual void ValidateRename(TComponent* AComponent, const String& CurName, const String& NewName);

    TComponentState FComponentState;
    TComponentStyle FComponentStyle;

private:
    friend class TReader;
    friend class TWriter;
    void Insert(TComponent* AComponent);
    void Remove(TComponent* AComponent);
    void AddFreeNotify(TComponent* AComponent);
    void RemoveFreeNotify(TComponent* AComponent);

    TComponent* FOwner = nullptr;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    String FName;
    NativeInt FTag = 0;
};

// ---------------------------------------------------------------------------
// Interfaces on components
//
// A component implements an interface by deriving from it and from
// TComponentInterfaces, which supplies IUnknown without reference counting:
// AddRef and Release never free the component (its owner does), so a caller
// holds the interface only while the component lives.
//
//     struct IFoo : virtual IUnknown {
//         static constexpr TGUID IID = MakeGUID("{...}");
//         virtual void Foo() = 0;
//     };
//     VEL_INTERFACE(IFoo)
//     class TBar : public TComponent, public IFoo, public virtual TComponentInterfaces { ... };
//
// QueryInterface (through any interface of the component) and Supports answer
// every interface entered with VEL_INTERFACE that the object's class derives
// from, its ancestors' interfaces and the parents of an interface included,
// and IUnknown for every object that has one. A descendant may derive from
// further interfaces (and TComponentInterfaces again, virtually): there is
// still one IUnknown. A form cannot take this base: its Release (free after
// the pending messages) is another routine of the same name.

using TInterfaceCast = void* (*)(TObject* Instance);
// Enters the interface IID: Cast answers the interface of an object, or null
// when the object's class does not derive from it. Answers true, so that
// VEL_INTERFACE can run it as the initialiser of a variable.
bool RegisterInterfaceCast(const TGUID& IID, TInterfaceCast Cast);

#define VEL_INTERFACE(I)                                                                  \
    inline const bool vel_interface_entered_##I = RegisterInterfaceCast(                  \
        I::IID, [](TObject* o) -> void* { return o ? dynamic_cast<I*>(o) : nullptr; });

// Is Instance of a class that implements the interface IID? Intf (may be
// null) receives the interface pointer, or null. No reference is taken.
bool Supports(TObject* Instance, const TGUID& IID, void** Intf = nullptr);
// The same for an interface reference: its QueryInterface decides, and the
// reference it adds (when Intf is given) is the caller's.
bool Supports(IUnknown* Instance, const TGUID& IID, void** Intf = nullptr);
// An object that is both (a component with interfaces) goes as the object.
template <class T>
    requires std::is_base_of_v<TObject, T>
bool Supports(T* Instance, const TGUID& IID, void** Intf = nullptr)
{
    return Supports(static_cast<TObject*>(Instance), IID, Intf);
}
// Typed forms: Intf is an I*, and IID must be I's own (another IID answers
// false and null: its pointer would not be an I*).
template <class I>
bool Supports(TObject* Instance, const TGUID& IID, I*& Intf)
{
    Intf = nullptr;
    if (!Instance || !(IID == I::IID)) return false;
    Intf = dynamic_cast<I*>(Instance);
    return Intf != nullptr;
}
template <class I>
bool Supports(TObject* Instance, I*& Intf)
{
    return Supports(Instance, I::IID, Intf);
}

class TComponentInterfaces : public virtual IUnknown {
public:
    HRESULT QueryInterface(const TGUID& IID, void** Obj) override;
    // A component's lifetime is its owner's business: nothing is counted.
    ULONG AddRef() override { return ULONG(-1); }
    ULONG Release() override { return ULONG(-1); }

protected:
    ~TComponentInterfaces() override = default;
};

// A persistent object that answers interfaces (the interfaces it derives
// from, entered with VEL_INTERFACE, as components do). It is not counted
// itself: AddRef and Release go to the owner's IUnknown when the owner
// (GetOwner) has one, and otherwise do nothing; whoever created the object
// frees it.
class TInterfacedPersistent : public TPersistent, public virtual IUnknown {
    VEL_CLASS(TInterfacedPersistent, TPersistent)
public:
    HRESULT QueryInterface(const TGUID& IID, void** Obj) override;
    ULONG AddRef() override;
    ULONG Release() override;

private:
    IUnknown* OwnerInterface() const;
};

// The program is an executable, never a shared library.
inline constexpr Boolean IsLibrary = false;

// ---------------------------------------------------------------------------
// Collections

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollectionItem : public TPersistent {
    VEL_CLASS(TCollectionItem, TPersistent)
public:
    explicit TCollectionItem(TCollection* Collection);
    ~TCollectionItem() override;

    TCollection* Collection() const { return FCollection; }
    void SetCollection(TCollection* Value);
    Integer Index() const;
    // Moves the item within its collection.
    void SetIndex(Integer Value);
    Integer ID() const { return FID; }
    virtual String DisplayName() const { return ClassName(); }
    String GetNamePath() const override;
    TPersistent* GetOwner() const override;

protected:
    // Tells the collection: AllItems for changes that affect all items.
    void Changed(bool AllItems);

private:
    friend class TCollection;
    TCollection* FCollection = nullptr;
    Integer FID = 0;
};

using TCollectionItemClass = TCollectionItem* (*)(TCollection*);

// The factory of collection items of class T, for TCollection's constructor.
template <class T>
TCollectionItemClass CollectionItemClass()
{
    return [](TCollection* c) -> TCollectionItem* { return new T(c); };
}

class TCollection : public TPersistent {
    VEL_CLASS(TCollection, TPersistent)
public:
    explicit TCollection(TCollectionItemClass ItemClass);
    ~TCollection() override;
    TCollection(const TCollection&) = delete;
    TCollection& operator=(const TCollection&) = delete;

    TCollectionItem* Add();
    TCollectionItem* Insert(Integer Index);
    void Delete(Integer Index);
    void Clear();
    TCollectionItem* Items(Integer Index) const;
    void SetItems(Integer Index, TCollectionItem* Value) { Items(Index)->Assign(Value); }
    Integer Count() const { return Integer(FItems.size()); }
    TCollectionItem* FindItemID(Integer ID) const;

    // Changes between BeginUpdate and the matching EndUpdate give one
    // Update(nullptr) at the end.
    virtual void BeginUpdate() { ++FUpdateCount; }
    virtual void EndUpdate();
    Integer UpdateCount() const { return FUpdateCount; }

    void Assign(TPersistent* Source) override;
    String GetNamePath() const override;
    // The name of the owner's property holding the collection, for
    // GetNamePath.
    void SetPropName(const String& v) { FPropName = v; }

    // The item factory, for readers that must create items.
    TCollectionItemClass ItemClass() const { return FItemClass; }

protected:
    // Called after a change: Item is the changed item, or null when the
    // collection as a whole changed.
    virtual void Update(TCollectionItem* Item) {}
    virtual void Notify(TCollectionItem* Item, TCollectionNotification Action) {}
    void Changed();

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* Item);
    void RemoveItem(TCollectionItem* Item);

    TCollectionItemClass FItemClass;
    std::vector<TCollectionItem*> FItems;
    Integer FUpdateCount = 0;
    Integer FNextID = 0;
    String FPropName;
};

class TOwnedCollection : public TCollection {
    VEL_CLASS(TOwnedCollection, TCollection)
public:
    TOwnedCollection(TPersistent* AOwner, TCollectionItemClass ItemClass)
        : TCollection(ItemClass), FOwner(AOwner) {}
    TPersistent* GetOwner() const override { return FOwner; }

private:
    TPersistent* FOwner;
};
