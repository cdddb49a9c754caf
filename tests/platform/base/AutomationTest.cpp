// Late-bound calls, servers written on member tables, and the registry of
// program identifiers with its table of running objects.
#include <gtest/gtest.h>

#include "platform/base/ComObj.h"
#include "platform/base/Objects.h"
#include "platform/base/SysUtils.h"

namespace {

// A small in-memory application object: records every call it receives.
class TFakeApp : public TAutoObject {
public:
    explicit TFakeApp(std::vector<String>* log) : TAutoObject(L"Fake.Application"), FLog(log) {}
    ~TFakeApp() override
    {
        if (FLog) FLog->push_back(L"destroyed");
    }
    String Caption = L"Fake";

protected:
    const TAutoMembers& Members() const override
    {
        static const TAutoMembers table =
            TAutoMembers::For<TFakeApp>()
                .Property(
                    L"Caption", [](TFakeApp& a, const TAutoArgs&) { return Variant(a.Caption); },
                    [](TFakeApp& a, const TAutoArgs& args) {
                        a.FLog->push_back(L"Caption:=" + VarToStr(args.Value()));
                        a.Caption = VarToStr(args.Value());
                    })
                .Method(L"Open",
                        [](TFakeApp& a, const TAutoArgs& args) {
                            a.FLog->push_back(L"Open(" + args.Text(0) + L")");
                            if (args.Text(0).empty()) throw Exception(L"A file name is needed.");
                            return Variant(TComPtr<IDispatch>(new TFakeApp(a.FLog)));
                        },
                        {L"FileName"})
                .Method(L"Close",
                        [](TFakeApp& a, const TAutoArgs& args) {
                            String s = L"Close(";
                            for (Integer i = 0; i < args.Count(); ++i)
                                s += (i ? L"," : L"") + (args.Has(i) ? VarToStr(args[i]) : String(L"-"));
                            a.FLog->push_back(s + L")");
                            return Variant();
                        },
                        {L"SaveChanges", L"FileName", L"Route"})
                .Property(L"Cells",
                          [](TFakeApp&, const TAutoArgs& args) {
                              return Variant(args.Required(0).AsInteger() * 100 + args.Required(1).AsInteger());
                          })
                .Default()
                .Property(L"Fail", [](TFakeApp&, const TAutoArgs&) -> Variant {
                    throw EOleSysError(L"Deliberate.", static_cast<HRESULT>(0x800A03ECu));
                });
        return table;
    }

private:
    std::vector<String>* FLog;
};

TEST(Automation, CallsReadLikeTheirChains)
{
    std::vector<String> log;
    Variant app(TComPtr<IDispatch>(new TFakeApp(&log)));
    Variant book = app.Call(L"open", {L"a.xlsx"});   // names without regard to case
    book.Set(L"Caption", L"Book");
    EXPECT_EQ(VarToStr(book.Get(L"CAPTION")), L"Book");
    book.Call(L"Close", {}, {{L"SaveChanges", false}});
    book.Call(L"Close", {true}, {{L"Route", Integer(3)}});
    EXPECT_EQ(app.Get(L"Cells", {Integer(2), Integer(3)}).AsInteger(), 203);
    book = Variant();
    EXPECT_EQ(log, (std::vector<String>{L"Open(a.xlsx)", L"Caption:=Book", L"Close(False)", L"Close(True,-,3)",
                                        L"destroyed"}));

    // The default member answers DISPID_VALUE.
    TComPtr<IDispatch> d = app.AsDispatch();
    DISPPARAMS params;
    const Variant indices[] = {Variant(Integer(1)), Variant(Integer(1))};
    params.Args = indices;
    Variant result;
    EXPECT_EQ(d->Invoke(DISPID_VALUE, DISPATCH_PROPERTYGET, params, &result, nullptr), S_OK);
    EXPECT_EQ(result.AsInteger(), 101);
}

TEST(Automation, FailuresRaise)
{
    std::vector<String> log;
    Variant app(TComPtr<IDispatch>(new TFakeApp(&log)));
    // The server's description travels with its code and source.
    try {
        app.Call(L"Open", {L""});
        FAIL();
    } catch (const EOleException& e) {
        EXPECT_EQ(e.Message(), L"A file name is needed.");
        EXPECT_EQ(e.Source(), L"Fake.Application");
        EXPECT_EQ(e.ErrorCode(), E_FAIL);
    }
    try {
        app.Get(L"Fail");
        FAIL();
    } catch (const EOleException& e) {
        EXPECT_EQ(e.Message(), L"Deliberate.");
        EXPECT_EQ(e.ErrorCode(), static_cast<HRESULT>(0x800A03ECu));
    }
    struct Case {
        std::function<void()> Call;
        HRESULT Code;
    };
    const Case cases[] = {
        {[&] { app.Get(L"NoSuchMember"); }, DISP_E_UNKNOWNNAME},
        {[&] { app.Call(L"Close", {}, {{L"NoSuchParam", true}}); }, DISP_E_PARAMNOTFOUND},
        {[&] { app.Set(L"Cells", Integer(1)); }, DISP_E_MEMBERNOTFOUND},            // read-only
        {[&] { app.Call(L"Open"); }, DISP_E_BADPARAMCOUNT},                         // required argument missing
        {[&] { app.Call(L"Close", {true}, {{L"SaveChanges", true}}); }, DISP_E_PARAMNOTFOUND},   // given twice
        {[&] { Variant(Integer(1)).Get(L"x"); }, 0},                                 // not an object
        {[&] { Variant(static_cast<IDispatch*>(nullptr)).Get(L"x"); }, 0},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        try {
            cases[i].Call();
            ADD_FAILURE() << "no exception";
        } catch (const EOleSysError& e) {
            EXPECT_EQ(e.ErrorCode(), cases[i].Code);
        } catch (const EOleError&) {
            EXPECT_EQ(cases[i].Code, 0);
        }
    }
    EXPECT_TRUE(VarIsClear(Variant(static_cast<IDispatch*>(nullptr))));
    EXPECT_FALSE(VarIsClear(app));
}

TEST(Automation, RegistryAndActiveObjects)
{
    const String id = L"Fake.Application";
    // No server: the "no server" answer of both functions.
    for (auto fn : {&CreateOleObject, &GetActiveOleObject}) {
        try {
            fn(id);
            FAIL();
        } catch (const EOleSysError& e) {
            EXPECT_EQ(e.Message(), L"Invalid class string");
            EXPECT_EQ(e.ErrorCode(), CO_E_CLASSSTRING);
        }
    }
    std::vector<String> log;
    {
        TOleServerScope scope(id, [&] { return TComPtr<IDispatch>(new TFakeApp(&log)); });
        Variant a(CreateOleObject(L"fake.APPLICATION"));
        Variant b(CreateOleObject(id));
        EXPECT_NE(a.AsDispatch(), b.AsDispatch());   // a new object each time
        // Registered but not running.
        try {
            GetActiveOleObject(id);
            FAIL();
        } catch (const EOleSysError& e) {
            EXPECT_EQ(e.ErrorCode(), MK_E_UNAVAILABLE);
        }
        DWORD cookie = RegisterActiveObject(a.AsDispatch().Get(), id);
        EXPECT_EQ(GetActiveOleObject(id), a.AsDispatch());
        a = Variant();
        EXPECT_EQ(log, std::vector<String>{});   // the table holds it while it runs
        RevokeActiveObject(cookie);
        EXPECT_EQ(log, std::vector<String>{L"destroyed"});
        RevokeActiveObject(cookie);   // twice: ignored
        EXPECT_THROW(GetActiveOleObject(id), EOleSysError);

        // A scope inside a scope puts back the outer factory.
        {
            TOleServerScope inner(id, [] { return TComPtr<IDispatch>(); });
            EXPECT_THROW(CreateOleObject(id), EOleSysError);   // a factory that makes nothing
        }
        EXPECT_NO_THROW(CreateOleObject(id));
    }
    EXPECT_THROW(CreateOleObject(id), EOleSysError);
}

}  // namespace

namespace {

struct IWidget : virtual IUnknown {
    static constexpr TGUID IID = MakeGUID("{8E0F3A52-6C1D-4B7E-9A22-3D5E6F708192}");
    virtual int Size() = 0;
};
VEL_INTERFACE(IWidget)

// An owner that counts the references given to its parts.
class TCountingOwner : public TPersistent, public virtual IUnknown {
public:
    HRESULT QueryInterface(const TGUID&, void**) override { return E_NOINTERFACE; }
    ULONG AddRef() override { return ULONG(++Count); }
    ULONG Release() override { return ULONG(--Count); }
    int Count = 0;
};

class TWidget : public TInterfacedPersistent, public IWidget {
public:
    TPersistent* Owner = nullptr;
    int Size() override { return 3; }
    TPersistent* GetOwner() const override { return Owner; }
};

TEST(InterfacedPersistent, AnswersItsInterfacesAndCountsThroughItsOwner)
{
    EXPECT_FALSE(IsLibrary);
    TWidget w;
    void* p = nullptr;
    ASSERT_EQ(static_cast<IUnknown&>(w).QueryInterface(IWidget::IID, &p), S_OK);
    EXPECT_EQ(static_cast<IWidget*>(p)->Size(), 3);
    EXPECT_EQ(static_cast<IUnknown&>(w).QueryInterface(IID_IDispatch, &p), E_NOINTERFACE);
    {
        // Without an owner nothing is counted and nothing freed: the object
        // is on the stack here.
        TComPtr<IWidget> ref(&w);
    }
    TCountingOwner owner;
    w.Owner = &owner;
    {
        TComPtr<IWidget> ref(&w);
        EXPECT_EQ(owner.Count, 1);
    }
    EXPECT_EQ(owner.Count, 0);
}

}  // namespace
