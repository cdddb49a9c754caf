// The XML document object, reached as programs reach it: through the
// automation registry and late-bound calls.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <string>

#include "platform/base/ComObj.h"
#include "platform/base/SysUtils.h"
#include "platform/os/AutomationServers.h"
#include "platform/os/XmlDocument.h"

namespace {

String DataFile(const char* name) { return UTF8ToString(std::string(VEL_TEST_DATA_DIR) + "/xml/" + name); }

Variant NewDocument()
{
    RegisterAutomationServers();
    return Variant(CreateOleObject(L"Microsoft.XMLDOM"));
}

// The tree as text: name, then [attributes], then {children} or =text for
// leaves, the way an importer walks it.
String Dump(const Variant& node)
{
    String s = VarToStr(node.Get(L"nodeName"));
    Variant attrs = node.Get(L"attributes");
    if (!VarIsClear(attrs) && attrs.Get(L"length").AsInteger() > 0) {
        s += L"[";
        for (Integer i = 0; i < attrs.Get(L"length").AsInteger(); ++i) {
            Variant a = attrs.Call(L"item", {i});
            s += (i ? L" " : L"") + VarToStr(a.Get(L"nodeName")) + L"=" + VarToStr(a.Get(L"text"));
        }
        s += L"]";
    }
    Variant kids = node.Get(L"childNodes");
    Integer n = kids.Get(L"length").AsInteger();
    if (n == 1 && VarToStr(kids.Call(L"item", {0}).Get(L"nodeName")) == L"#text") return s + L"=" + VarToStr(node.Get(L"text"));
    if (n == 0) return s;
    s += L"{";
    for (Integer i = 0; i < n; ++i) s += (i ? L"," : L"") + Dump(kids.Call(L"item", {i}));
    return s + L"}";
}

TEST(XmlDocument, SameTreeInEveryEncoding)
{
    const String expected =
        L"list{rec[id=1 kind=k\u00e9]{name=Caf\u00e9 & cr\u00e8me,price=3.50},"
        L"rec[id=2]{name=Stra\u00dfe,empty,mixed{#text,b=b,#text}}}";
    for (const char* file : {"utf8.xml", "utf16.xml", "latin1.xml"}) {
        SCOPED_TRACE(file);
        Variant doc = NewDocument();
        ASSERT_TRUE(doc.Call(L"load", {DataFile(file)}).AsBoolean());
        EXPECT_EQ(doc.Get(L"parseError").Get(L"errorCode").AsInteger(), 0);
        Variant root = doc.Get(L"documentElement");
        EXPECT_EQ(Dump(root), expected);
        // text: every descendant's text, the blank-only text nodes dropped.
        EXPECT_EQ(VarToStr(root.Get(L"childNodes").Call(L"item", {1}).Get(L"text")), L"Stra\u00dfeab c");
        EXPECT_EQ(VarToStr(root.Get(L"childNodes").Call(L"item", {0}).Get(L"text")), L"Caf\u00e9 & cr\u00e8me3.50");
    }
}

TEST(XmlDocument, AgreesWithXmllint)
{
    // The reference tool writes the document's text content for the root's
    // text (blank nodes included, which the object drops): compare the
    // text with blanks removed.
    if (system("command -v xmllint >/dev/null 2>&1") != 0) GTEST_SKIP() << "xmllint not installed";
    for (const char* file : {"utf8.xml", "utf16.xml", "latin1.xml", "internal_entity.xml"}) {
        SCOPED_TRACE(file);
        std::string cmd = "xmllint --nonet --noent --xpath 'string(/*)' '" + UTF8Encode(DataFile(file)) + "'";
        FILE* p = popen(cmd.c_str(), "r");
        ASSERT_NE(p, nullptr);
        std::string out;
        char buf[4096];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
        ASSERT_EQ(pclose(p), 0);
        auto squeeze = [](String s) {
            std::erase_if(s, [](Char c) { return c == L' ' || c == L'\n' || c == L'\t' || c == L'\r'; });
            return s;
        };
        Variant doc = NewDocument();
        ASSERT_TRUE(doc.Call(L"load", {DataFile(file)}).AsBoolean());
        EXPECT_EQ(squeeze(VarToStr(doc.Get(L"documentElement").Get(L"text"))), squeeze(UTF8ToString(out)));
    }
}

TEST(XmlDocument, MalformedAndHostileFilesFailWithAReason)
{
    struct Case {
        const char* File;
        Integer Line;   // 0: any
    };
    for (Case c : {Case{"malformed_mismatch.xml", 4}, Case{"malformed_truncated.xml", 0},
                   Case{"malformed_bad_encoding.xml", 2}, Case{"empty.xml", 0}, Case{"billion_laughs.xml", 0},
                   Case{"external_entity.xml", 0}, Case{"parameter_entity.xml", 0}, Case{"deep_nesting.xml", 0},
                   Case{"no_such_file.xml", 0}}) {
        SCOPED_TRACE(c.File);
        Variant doc = NewDocument();
        EXPECT_FALSE(doc.Call(L"load", {DataFile(c.File)}).AsBoolean());
        Variant err = doc.Get(L"parseError");
        EXPECT_NE(err.Get(L"errorCode").AsInteger(), 0);
        EXPECT_FALSE(VarToStr(err.Get(L"reason")).empty());
        if (c.Line) {
            EXPECT_EQ(err.Get(L"line").AsInteger(), c.Line);
        }
        EXPECT_TRUE(VarIsClear(doc.Get(L"documentElement")));
    }
}

TEST(XmlDocument, ExternalThingsAreNeverFetched)
{
    // The external entity names a local file: its content must not show up.
    Variant doc = NewDocument();
    EXPECT_FALSE(doc.Call(L"load", {DataFile("external_entity.xml")}).AsBoolean());
    EXPECT_NE(VarToStr(doc.Get(L"parseError").Get(L"reason")).find(L"External"), String::npos);
    // An external DTD is not loaded (and nothing needs it): the document reads.
    ASSERT_TRUE(doc.Call(L"load", {DataFile("external_dtd.xml")}).AsBoolean());
    EXPECT_EQ(VarToStr(doc.Get(L"documentElement").Get(L"text")), L"x");
    // Internal entities are expanded.
    ASSERT_TRUE(doc.Call(L"load", {DataFile("internal_entity.xml")}).AsBoolean());
    EXPECT_EQ(VarToStr(doc.Get(L"documentElement").Get(L"text")), L"hello world");
}

TEST(XmlDocument, NodesOutliveReloadsAndTheDocument)
{
    Variant doc = NewDocument();
    ASSERT_TRUE(doc.Call(L"load", {DataFile("utf8.xml")}).AsBoolean());
    Variant rec = doc.Get(L"documentElement").Get(L"childNodes").Call(L"item", {1});
    ASSERT_TRUE(doc.Call(L"load", {DataFile("internal_entity.xml")}).AsBoolean());
    doc = Variant();
    EXPECT_EQ(VarToStr(rec.Get(L"nodeName")), L"rec");
    EXPECT_EQ(VarToStr(rec.Get(L"attributes").Call(L"item", {0}).Get(L"text")), L"2");
    // The default member of a list is item; past the end answers nothing.
    EXPECT_TRUE(VarIsClear(rec.Get(L"childNodes").Call(L"item", {99})));
    // Text nodes have no attribute collection.
    Variant text = rec.Get(L"childNodes").Call(L"item", {0}).Get(L"childNodes").Call(L"item", {0});
    EXPECT_EQ(VarToStr(text.Get(L"nodeName")), L"#text");
    EXPECT_TRUE(VarIsClear(text.Get(L"attributes")));
    // An unknown member raises.
    EXPECT_THROW(rec.Get(L"nodeValue2"), EOleSysError);
}

TEST(XmlDocument, RandomBytesNeverCrash)
{
    TXmlDocument* raw = new TXmlDocument;
    TComPtr<IDispatch> keep(raw);
    std::mt19937 rng(22);
    std::string seed = "<?xml version=\"1.0\"?><!DOCTYPE a [<!ENTITY e \"x\">]><a b='1'><c>&e;</c><![CDATA[z]]></a>";
    for (int round = 0; round < 3000; ++round) {
        std::string s = seed;
        int edits = 1 + int(rng() % 8);
        for (int e = 0; e < edits; ++e) {
            size_t at = rng() % (s.size() + 1);
            switch (rng() % 3) {
            case 0: s.insert(at, 1, char(rng())); break;
            case 1:
                if (at < s.size()) s.erase(at, 1);
                break;
            default:
                if (at < s.size()) s[at] = "<>&;'\"![]/=?"[rng() % 12];
                break;
            }
        }
        if (raw->LoadBytes(s.data(), s.size()))
            (void)Dump(raw->DocumentElement());
        else
            EXPECT_NE(raw->ErrorCode(), 0);
    }
}

TEST(XmlDocument, RegisteredUnderItsProgramIdentifier)
{
    RegisterAutomationServers();
    RegisterAutomationServers();   // a second call changes nothing
    EXPECT_NO_THROW(CreateOleObject(L"microsoft.xmldom"));
    EXPECT_THROW(GetActiveOleObject(L"Microsoft.XMLDOM"), EOleSysError);
    // The word processor stays unregistered: "no server".
    try {
        CreateOleObject(L"word.application");
        FAIL();
    } catch (const EOleSysError& e) {
        EXPECT_EQ(e.ErrorCode(), CO_E_CLASSSTRING);
    }
}

}  // namespace
