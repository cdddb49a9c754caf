#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "platform/base/Filer.h"
#include "platform/base/Lists.h"

namespace {

using Bytes = std::vector<Byte>;

Bytes Contents(TMemoryStream& m)
{
    auto* p = static_cast<const Byte*>(m.Memory());
    return Bytes(p, p + m.Size());
}

template <class F>
Bytes Written(F f)
{
    TMemoryStream m;
    {
        TWriter w(&m);
        f(w);
    }
    return Contents(m);
}

Bytes Cat(std::initializer_list<Bytes> parts)
{
    Bytes r;
    for (auto& p : parts) r.insert(r.end(), p.begin(), p.end());
    return r;
}

Bytes Str(const std::string& s)
{
    Bytes r{Byte(s.size())};
    r.insert(r.end(), s.begin(), s.end());
    return r;
}

}  // namespace

TEST(Filer, WriterPicksTheSmallestTag)
{
    struct IntCase {
        Int64 v;
        Bytes bytes;
    } ints[] = {
        {0, {vaInt8, 0x00}},
        {-128, {vaInt8, 0x80}},
        {127, {vaInt8, 0x7F}},
        {128, {vaInt16, 0x80, 0x00}},
        {-32768, {vaInt16, 0x00, 0x80}},
        {-32769, {vaInt32, 0xFF, 0x7F, 0xFF, 0xFF}},
        {INT32_MAX, {vaInt32, 0xFF, 0xFF, 0xFF, 0x7F}},
        {Int64(INT32_MAX) + 1, {vaInt64, 0x00, 0x00, 0x00, 0x80, 0, 0, 0, 0}},
    };
    for (auto& k : ints) EXPECT_EQ(Written([&](TWriter& w) { w.WriteInteger(k.v); }), k.bytes) << k.v;

    struct StrCase {
        String s;
        Bytes bytes;
    } strs[] = {
        {L"abc", {vaString, 3, 'a', 'b', 'c'}},
        {L"a\u00E9", {vaUTF8String, 3, 0, 0, 0, 'a', 0xC3, 0xA9}},   // UTF-8 shorter than UTF-16
        {L"\u00E9", {vaWString, 1, 0, 0, 0, 0xE9, 0x00}},              // not shorter: UTF-16
        {L"\u20AC", {vaWString, 1, 0, 0, 0, 0xAC, 0x20}},
        {L"\U0001F600", {vaWString, 2, 0, 0, 0, 0x3D, 0xD8, 0x00, 0xDE}},
        {L"", {vaWString, 0, 0, 0, 0}},
    };
    for (auto& k : strs) EXPECT_EQ(Written([&](TWriter& w) { w.WriteString(k.s); }), k.bytes);
    Bytes longStr = Written([](TWriter& w) { w.WriteString(String(300, L'x')); });
    EXPECT_EQ(Bytes(longStr.begin(), longStr.begin() + 5), (Bytes{vaLString, 0x2C, 0x01, 0, 0}));
    EXPECT_EQ(longStr.size(), 305u);

    EXPECT_EQ(Written([](TWriter& w) {
                  w.WriteIdent(L"true");
                  w.WriteIdent(L"False");
                  w.WriteIdent(L"nil");
                  w.WriteIdent(L"clRed");
              }),
              Cat({{vaTrue, vaFalse, vaNil, vaIdent}, Str("clRed")}));
    EXPECT_EQ(Written([](TWriter& w) { w.WriteFloat(1.0); }),
              (Bytes{vaExtended, 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}));
    EXPECT_EQ(Written([](TWriter& w) { w.WriteFloat(-0.1); }),
              (Bytes{vaExtended, 0x00, 0xD0, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xFB, 0xBF}));
    EXPECT_EQ(Written([](TWriter& w) { w.WriteSet(0b101, {L"fsBold", L"fsItalic", L"fsUnderline"}); }),
              Cat({{vaSet}, Str("fsBold"), Str("fsUnderline"), {0}}));
}

TEST(Filer, EveryTagRoundTrips)
{
    const double doubles[] = {0.1, -1e300, 5e-324, 2.2250738585072014e-308, 1e308,
                              std::numeric_limits<double>::infinity(), -0.0};
    TMemoryStream m;
    {
        TWriter w(&m);
        for (Int64 v : {Int64(-1), Int64(300), Int64(-70000), Int64(1) << 40}) w.WriteInteger(v);
        for (const wchar_t* s : {L"plain", L"\u00FCber", L"\u4E2D\u6587", L"\U0001F600!", L""}) w.WriteString(s);
        w.WriteString(String(70000, L'z'));
        w.WriteIdent(L"taCenter");
        w.WriteBoolean(true);
        w.WriteBoolean(false);
        for (double d : doubles) w.WriteFloat(d);
        w.WriteFloat(std::numeric_limits<double>::quiet_NaN());
        w.WriteSingle(1.5f);
        w.WriteDouble(0.3);
        w.WriteCurrency(12345678);
        w.WriteDate(45000.75);
        w.WriteSet(0b110, {L"a", L"b", L"c"});
        w.WriteBinary([](TStream* s) { s->WriteBuffer("\0\1\2", 3); });
        w.WriteListBegin();
        w.WriteInteger(7);
        w.WriteListBegin();
        w.WriteListEnd();
        w.WriteListEnd();
        w.WriteIdent(L"nil");
        w.WriteChar(L'Q');
    }
    m.SetPosition(0);
    TReader r(&m);
    EXPECT_EQ(r.ReadInteger(), -1);
    EXPECT_EQ(r.ReadInteger(), 300);
    EXPECT_EQ(r.ReadInteger(), -70000);
    EXPECT_THROW(r.ReadInteger(), EReadError);   // 64-bit value where 32 bits are wanted
    EXPECT_EQ(r.ReadInt64(), Int64(1) << 40);
    for (const wchar_t* s : {L"plain", L"\u00FCber", L"\u4E2D\u6587", L"\U0001F600!", L""}) EXPECT_EQ(r.ReadString(), s);
    EXPECT_EQ(r.ReadString(), String(70000, L'z'));
    EXPECT_EQ(r.ReadIdent(), L"taCenter");
    EXPECT_TRUE(r.ReadBoolean());
    EXPECT_FALSE(r.ReadBoolean());
    for (double d : doubles) {
        double back = r.ReadFloat();
        EXPECT_EQ(back, d);
        EXPECT_EQ(std::signbit(back), std::signbit(d));
    }
    EXPECT_TRUE(std::isnan(r.ReadFloat()));
    EXPECT_EQ(r.ReadSingle(), 1.5f);
    EXPECT_EQ(r.ReadDouble(), 0.3);
    EXPECT_EQ(r.ReadCurrency(), 12345678);
    EXPECT_EQ(r.ReadDate(), 45000.75);
    EXPECT_EQ(r.ReadSet({L"A", L"B", L"C"}), 0b110u);   // names compare without case
    ASSERT_EQ(r.NextValue(), vaBinary);
    r.SkipValue();
    r.ReadListBegin();
    EXPECT_EQ(r.ReadInteger(), 7);
    r.SkipValue();
    r.ReadListEnd();
    EXPECT_EQ(r.ReadIdent(), L"nil");
    EXPECT_EQ(r.ReadChar(), L'Q');
    EXPECT_EQ(r.Remaining(), 0);
}

// ---------------------------------------------------------------------------
// A carrier like the grid's: published integers, Booleans, enumerations,
// sets, texts, colours, a sub-object with dotted paths and a string list.

namespace {

enum TAlign { taLeftJustify, taRightJustify, taCenter };
enum TStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TStyles = TSet<TStyle>;

const std::vector<TIdentMapEntry> kColors = {{0x0000FF, L"clRed"}, {0xFFFFFF, L"clWhite"},
                                             {Int64(0xFF00000F), L"clBtnFace"}};

void RegisterColors()
{
    RegisterIntegerConsts(
        L"TTestColor", [](const String& s, Int64& v) { return IdentToInt(s, v, kColors); },
        [](Int64 v, String& s) { return IntToIdent(v, s, kColors); });
}

class TProps : public TPersistent {
    VEL_CLASS(TProps, TPersistent)
public:
    String FontName;
    Integer FontSize = 0;
    Cardinal BrushColor = 0;
    TStyles FontStyle;
    String GetFontName() const { return FontName; }
    void SetFontName(const String& v) { FontName = v; }
    Integer GetFontSize() const { return FontSize; }
    void SetFontSize(Integer v) { FontSize = v; }
    Cardinal GetBrushColor() const { return BrushColor; }
    void SetBrushColor(Cardinal v) { BrushColor = v; }
    TStyles GetFontStyle() const { return FontStyle; }
    void SetFontStyle(TStyles v) { FontStyle = v; }
    static void Publish(TPublisher<TProps>& p)
    {
        p.IntegerIdent(L"BrushColor", L"TTestColor", &TProps::GetBrushColor, &TProps::SetBrushColor);
        p.Str(L"FontName", &TProps::GetFontName, &TProps::SetFontName);
        p.Integer(L"FontSize", &TProps::GetFontSize, &TProps::SetFontSize);
        p.Set(L"FontStyle", &TProps::GetFontStyle, &TProps::SetFontStyle,
              {L"fsBold", L"fsItalic", L"fsUnderline", L"fsStrikeOut"});
    }
};

class TCellIO : public TComponent {
    VEL_CLASS(TCellIO, TComponent)
public:
    explicit TCellIO(TComponent* owner) : TComponent(owner) {}
    Word Col = 0, Row = 0;
    String Cell;
    bool HasProp = false;
    TAlign Alignment = taLeftJustify;
    double Value = 0;
    Cardinal CellObject = 0;
    TProps CellProperties;
    TStringList Strings;
    TCellIO* Buddy = nullptr;

    static void Publish(TPublisher<TCellIO>& p)
    {
        p.Integer(L"Col", [](TCellIO* c) { return c->Col; }, [](TCellIO* c, Word v) { c->Col = v; });
        p.Integer(L"Row", [](TCellIO* c) { return c->Row; }, [](TCellIO* c, Word v) { c->Row = v; });
        p.Str(L"Cell", [](TCellIO* c) { return c->Cell; }, [](TCellIO* c, const String& v) { c->Cell = v; });
        p.Boolean(L"HasProp", [](TCellIO* c) { return c->HasProp; }, [](TCellIO* c, bool v) { c->HasProp = v; });
        p.Enum(L"Alignment", [](TCellIO* c) { return c->Alignment; },
               [](TCellIO* c, TAlign v) { c->Alignment = v; }, {L"taLeftJustify", L"taRightJustify", L"taCenter"});
        p.Float(L"Value", [](TCellIO* c) { return c->Value; }, [](TCellIO* c, double v) { c->Value = v; });
        p.Integer(L"CellObject", [](TCellIO* c) { return c->CellObject; },
                  [](TCellIO* c, Cardinal v) { c->CellObject = v; });
        p.Object(L"CellProperties", [](TCellIO* c) { return &c->CellProperties; });
        p.Object(L"Strings", [](TCellIO* c) { return &c->Strings; });
        p.Component(L"Buddy", [](TCellIO* c) { return c->Buddy; }, [](TCellIO* c, TCellIO* v) { c->Buddy = v; });
    }
};

Bytes WriteCell(TCellIO& c)
{
    TMemoryStream m;
    m.WriteComponent(&c);
    return Contents(m);
}

}  // namespace

TEST(Filer, ComponentRecordLayout)
{
    RegisterColors();
    TCellIO c(nullptr);
    c.Col = 2;
    c.Row = 40000;
    c.HasProp = true;
    c.CellProperties.BrushColor = 0xFF;
    c.CellProperties.FontSize = 9;
    Bytes expected = Cat({
        {'T', 'P', 'F', '0'}, Str("TCellIO"), {0},
        Str("Col"), {vaInt8, 2},
        Str("Row"), {vaInt32, 0x40, 0x9C, 0, 0},   // 16-bit unsigned beyond the signed range
        Str("HasProp"), {vaTrue},
        Str("Alignment"), {vaIdent}, Str("taLeftJustify"),
        Str("CellObject"), {vaInt8, 0},
        Str("CellProperties.BrushColor"), {vaIdent}, Str("clRed"),
        Str("CellProperties.FontSize"), {vaInt8, 9},
        Str("CellProperties.FontStyle"), {vaSet, 0},
        {0, 0},
    });
    EXPECT_EQ(WriteCell(c), expected);   // no Name, no zero Tag, no empty text, no zero float
}

TEST(Filer, ComponentWithPublishedPropertiesRoundTrips)
{
    RegisterColors();
    TCellIO owner(nullptr);
    owner.SetName(L"Grid");
    auto* buddy = new TCellIO(&owner);
    buddy->SetName(L"Other");
    auto* src = new TCellIO(&owner);
    src->Col = 65535;
    src->Row = 3;
    src->Cell = L"1234.5 \u00E9t\u00E9";
    src->Alignment = taCenter;
    src->Value = -2.5e-7;
    src->CellObject = 0xFFFFFFF0u;
    src->CellProperties.FontName = L"Tahoma";
    src->CellProperties.BrushColor = 0x123456;   // no name: an integer
    src->CellProperties.FontStyle = {fsBold, fsStrikeOut};
    src->Strings.SetText(L"one\n\ntwo");
    src->Buddy = buddy;

    TMemoryStream m;
    m.WriteComponent(src);
    m.WriteComponent(src);
    m.SetPosition(0);
    auto* dst = new TCellIO(&owner);
    dst->Cell = L"stale";   // properties the record carries replace it
    TComponent* got = m.ReadComponent(dst);
    EXPECT_EQ(got, dst);
    EXPECT_EQ(dst->Col, 65535);
    EXPECT_EQ(dst->Row, 3);
    EXPECT_EQ(dst->Cell, src->Cell);
    EXPECT_EQ(dst->Alignment, taCenter);
    EXPECT_EQ(dst->Value, -2.5e-7);
    EXPECT_EQ(dst->CellObject, 0xFFFFFFF0u);
    EXPECT_EQ(dst->CellProperties.FontName, L"Tahoma");
    EXPECT_EQ(dst->CellProperties.BrushColor, 0x123456u);
    EXPECT_EQ(dst->CellProperties.FontStyle, (TStyles{fsBold, fsStrikeOut}));
    EXPECT_EQ(dst->Strings.Text(), L"one\r\n\r\ntwo\r\n");
    EXPECT_EQ(dst->Buddy, buddy);   // found by name among the owner's components
    EXPECT_FALSE(dst->ComponentState().Contains(csLoading));
    EXPECT_FALSE(dst->ComponentState().Contains(csReading));

    // The second record: created by class name once the class is registered.
    EXPECT_THROW(m.ReadComponent(nullptr), EClassNotFound);
    m.SetPosition(m.Size() / 2);
    RegisterClass(TCellIO::StaticClass());
    RegisterClass(TCellIO::StaticClass());   // again: ignored
    TComponent* made = m.ReadComponent(nullptr);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(static_cast<TCellIO*>(made)->Cell, src->Cell);
    EXPECT_EQ(m.Position(), m.Size());
    delete made;
    UnRegisterClass(TCellIO::StaticClass());
    try {
        FindClass(L"TCellIO");
        FAIL();
    } catch (const EClassNotFound& e) {
        EXPECT_EQ(e.Message(), L"Class TCellIO not found");
    }
}

namespace {

// Replaces, in a valid record, the bytes of `what` by `with`.
Bytes Patched(Bytes b, const Bytes& what, const Bytes& with)
{
    auto it = std::search(b.begin(), b.end(), what.begin(), what.end());
    EXPECT_NE(it, b.end());
    size_t at = size_t(it - b.begin());
    b.erase(b.begin() + at, b.begin() + at + what.size());
    b.insert(b.begin() + at, with.begin(), with.end());
    return b;
}

String ReadError(const Bytes& b)
{
    TMemoryStream m;
    if (!b.empty()) m.WriteBuffer(b.data(), Integer(b.size()));
    m.SetPosition(0);
    TCellIO c(nullptr);
    try {
        m.ReadComponent(&c);
    } catch (const EReadError& e) {
        return e.Message();
    }
    return L"no error";
}

}  // namespace

TEST(Filer, MalformedStreamsRaiseReadErrors)
{
    RegisterColors();
    TCellIO c(nullptr);
    c.Cell = L"text";
    c.Strings.Add(L"line");
    Bytes good = WriteCell(c);
    ASSERT_EQ(ReadError(good), L"no error");

    struct Case {
        Bytes data;
        const wchar_t* message;
    } cases[] = {
        {Patched(good, {'T', 'P', 'F', '0'}, {'T', 'P', 'F', '1'}), L"Invalid stream format"},
        {Patched(good, Str("Cell"), Str("Bogus")), L"Property Bogus does not exist"},
        {Patched(good, Str("CellProperties.FontSize"), Str("CellProperties.Nope")), L"Property Nope does not exist"},
        {Patched(good, Str("CellProperties.FontSize"), Str("Missing.FontSize")), L"Property Missing does not exist"},
        {Patched(good, Str("Col"), Str("Strings.Nope")), L"Property Nope does not exist"},
        {Patched(good, Cat({Str("Col"), {vaInt8}}), Cat({Str("Col"), {0xFE}})), L"Invalid stream format"},
        {Patched(good, Cat({Str("Col"), {vaInt8, 0}}), Cat({Str("Col"), {vaString, 0}})), L"Invalid property value"},
        {Patched(good, Str("taLeftJustify"), Str("taMiddle")), L"Invalid property value"},
        {Patched(good, {vaString, 4, 't', 'e', 'x', 't'}, {vaLString, 0xFF, 0xFF, 0xFF, 0x7F}), L"Stream read error"},
        {Patched(good, {vaString, 4, 't', 'e', 'x', 't'}, {vaWString, 0xFF, 0xFF, 0xFF, 0xFF}), L"Stream read error"},
        {{}, L"Invalid stream format"},
    };
    for (auto& k : cases) EXPECT_EQ(ReadError(k.data), k.message);

    // Every truncation fails cleanly.
    for (size_t n = 0; n < good.size(); ++n)
        EXPECT_NE(ReadError(Bytes(good.begin(), good.begin() + n)), L"no error") << n;

    // Deeply nested lists are refused instead of exhausting the stack.
    TMemoryStream deep;
    Bytes lists(100000, vaList);
    deep.WriteBuffer(lists.data(), Integer(lists.size()));
    deep.SetPosition(0);
    TReader r(&deep);
    EXPECT_THROW(r.SkipValue(), EReadError);
}

TEST(Filer, DefinedAndBinaryPropertiesAndCollections)
{
    struct TItemX : TCollectionItem {
        VEL_CLASS(TItemX, TCollectionItem)
    public:
        explicit TItemX(TCollection* c) : TCollectionItem(c) {}
        Integer Width = 0;
        static void Publish(TPublisher<TItemX>& p)
        {
            p.Integer(L"Width", [](TItemX* i) { return i->Width; }, [](TItemX* i, Integer v) { i->Width = v; });
        }
    };
    struct THolder : TComponent {
        VEL_CLASS(THolder, TComponent)
    public:
        explicit THolder(TComponent* o) : TComponent(o), Columns(this, CollectionItemClass<TItemX>()) {}
        TOwnedCollection Columns;
        Bytes Data;
        static void Publish(TPublisher<THolder>& p)
        {
            p.Object(L"Columns", [](THolder* h) { return &h->Columns; });
        }
        void DefineProperties(TFiler* f) override
        {
            f->DefineBinaryProperty(
                L"Data",
                [this](TStream* s) {
                    Data.resize(size_t(s->Size()));
                    s->ReadBuffer(Data.data(), Integer(Data.size()));
                },
                [this](TStream* s) { s->WriteBuffer(Data.data(), Integer(Data.size())); }, !Data.empty());
        }
    };
    THolder a(nullptr);
    for (int w : {10, 400}) static_cast<TItemX*>(a.Columns.Add())->Width = w;
    a.Data = {1, 2, 3, 0};
    TMemoryStream m;
    m.WriteComponent(&a);
    Bytes b = Contents(m);
    Bytes coll = Cat({Str("Columns"), {vaCollection, vaList}, Str("Width"), {vaInt8, 10, vaNull, vaList},
                      Str("Width"), {vaInt16, 0x90, 0x01, vaNull, vaNull}});
    EXPECT_NE(std::search(b.begin(), b.end(), coll.begin(), coll.end()), b.end());
    Bytes data = Cat({Str("Data"), {vaBinary, 4, 0, 0, 0, 1, 2, 3, 0}});
    EXPECT_NE(std::search(b.begin(), b.end(), data.begin(), data.end()), b.end());

    THolder c(nullptr);
    c.Columns.Add();
    c.Columns.Add();
    c.Columns.Add();
    m.SetPosition(0);
    m.ReadComponent(&c);
    ASSERT_EQ(c.Columns.Count(), 2);
    EXPECT_EQ(static_cast<TItemX*>(c.Columns.Items(1))->Width, 400);
    EXPECT_EQ(c.Data, a.Data);
}

TEST(Filer, ExtendedConversionEdgeCases)
{
    // Denormals of the 80-bit form and unnormal encodings never crash.
    Byte denormal[10] = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(Extended80ToDouble(denormal), 0.0);
    Byte huge[10] = {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFE, 0x7F};
    EXPECT_TRUE(std::isinf(Extended80ToDouble(huge)));
    Byte unnormal[10] = {0, 0, 0, 0, 0, 0, 0, 0x40, 0xFF, 0x3F};
    EXPECT_EQ(Extended80ToDouble(unnormal), 0.5);
}

namespace {

// A root that streams the components it owns as its children.
class TPanelX : public TComponent {
    VEL_CLASS(TPanelX, TComponent)
public:
    explicit TPanelX(TComponent* o) : TComponent(o) {}
    Integer Width = 0;
    int LoadedCalls = 0;
    static void Publish(TPublisher<TPanelX>& p)
    {
        p.Integer(L"Width", [](TPanelX* x) { return x->Width; }, [](TPanelX* x, Integer v) { x->Width = v; });
    }
    void GetChildren(const TGetChildProc& proc, TComponent* root) override
    {
        for (Integer i = 0; i < ComponentCount(); ++i) proc(Components(i));
    }
    void Loaded() override
    {
        TComponent::Loaded();
        ++LoadedCalls;
    }
};

}  // namespace

TEST(Filer, ChildComponentsAreCreatedByClassAndOwnedByTheRoot)
{
    RegisterClass(TPanelX::StaticClass());
    TPanelX root(nullptr);
    root.SetName(L"Form1");
    auto* a = new TPanelX(&root);
    a->SetName(L"Left");
    a->Width = 120;
    auto* b = new TPanelX(&root);
    b->SetName(L"Right");
    b->SetTag(-5);
    TMemoryStream m;
    m.WriteComponent(&root);

    m.SetPosition(0);
    TComponent* back = m.ReadComponent(nullptr);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->Name(), L"Form1");
    ASSERT_EQ(back->ComponentCount(), 2);
    auto* left = dynamic_cast<TPanelX*>(back->FindComponent(L"Left"));
    ASSERT_NE(left, nullptr);
    EXPECT_EQ(left->Width, 120);
    EXPECT_EQ(left->LoadedCalls, 1);
    EXPECT_EQ(back->FindComponent(L"Right")->Tag(), -5);
    EXPECT_EQ(static_cast<TPanelX*>(back)->LoadedCalls, 1);
    delete back;

    // Reading the same children into a root that has them already clashes
    // on the names: a read error, and nothing half-made is left behind.
    m.SetPosition(0);
    EXPECT_THROW(m.ReadComponent(&root), EReadError);
    EXPECT_EQ(root.ComponentCount(), 2);
    EXPECT_FALSE(root.ComponentState().Contains(csReading));
    UnRegisterClass(TPanelX::StaticClass());
}
