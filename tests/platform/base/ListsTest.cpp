#include <gtest/gtest.h>

#include <vector>

#include "platform/base/Lists.h"

namespace {

std::vector<String> Lines(const TStrings& s)
{
    std::vector<String> r;
    for (Integer i = 0; i < s.Count(); ++i) r.push_back(s[i]);
    return r;
}

}  // namespace

TEST(TList, IndexErrorsNameTheIndex)
{
    TList l;
    int a = 1, b = 2;
    l.Add(&a);
    l.Add(nullptr);
    l.Insert(0, &b);
    EXPECT_EQ(l.IndexOf(&a), 1);
    l.Pack();
    EXPECT_EQ(l.Count(), 2);
    try {
        l.Items(2);
        FAIL();
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), L"List index out of bounds (2)");
    }
    EXPECT_THROW(l.Delete(-1), EListError);
    EXPECT_THROW(l.Insert(3, &a), EListError);
    l.Move(0, 1);
    EXPECT_EQ(l.First(), &a);
    EXPECT_EQ(l.Remove(&b), 1);
    EXPECT_EQ(l.Remove(&b), -1);
}

TEST(TStringList, SortedListsWithDuplicates)
{
    struct Case {
        TDuplicates dup;
        bool caseSensitive;
        std::vector<String> expected;
        bool raises;
    } cases[] = {
        {dupIgnore, false, {L"a", L"B", L"c"}, false},
        {dupAccept, false, {L"a", L"b", L"B", L"C", L"c"}, false},   // a new duplicate goes first
        {dupError, false, {L"B", L"c"}, true},   // fails at the second "b"
        {dupIgnore, true, {L"a", L"b", L"B", L"c", L"C"}, false},
    };
    for (auto& k : cases) {
        TStringList l;
        l.SetSorted(true);
        l.SetDuplicates(k.dup);
        l.SetCaseSensitive(k.caseSensitive);
        bool raised = false;
        try {
            for (const wchar_t* s : {L"B", L"c", L"b", L"C", L"a"}) l.Add(s);
        } catch (const EStringListError& e) {
            raised = true;
            EXPECT_EQ(e.Message(), L"String list does not allow duplicates");
        }
        EXPECT_EQ(raised, k.raises);
        if (k.caseSensitive) {
            // Case-sensitive order comes from the comparison, only check set.
            EXPECT_EQ(l.Count(), 5);
            continue;
        }
        EXPECT_EQ(Lines(l), k.expected) << int(k.dup);
        Integer at = -1;
        EXPECT_TRUE(l.Find(L"C", at));
        EXPECT_EQ(l[at].size(), 1u);
        EXPECT_FALSE(l.Find(L"bb", at));
        EXPECT_EQ(at, k.dup == dupError ? 1 : (k.dup == dupAccept ? 3 : 2));
    }
}

TEST(TStringList, SortedListRefusesPositionalChangesAndResortsOnCaseChange)
{
    TStringList l;
    l.SetCommaText(L"b,A,a,c");
    l.SetSorted(true);
    EXPECT_EQ(l.IndexOf(L"C"), 3);
    EXPECT_THROW(l.Insert(0, L"x"), EStringListError);
    EXPECT_THROW(l.SetStrings(0, L"x"), EStringListError);
    l.SetCaseSensitive(true);
    EXPECT_EQ(l.IndexOf(L"C"), -1);
    Integer i;
    EXPECT_TRUE(l.Find(L"c", i));
    EXPECT_EQ(l[i], L"c");
}

TEST(TStrings, DelimitedAndCommaTextQuoting)
{
    struct Case {
        std::vector<String> items;
        const wchar_t* comma;
    } cases[] = {
        {{L"a", L"b c", L"d\"e", L""}, L"a,\"b c\",\"d\"\"e\","},
        {{L""}, L"\"\""},
        {{}, L""},
        {{L"x,y", L"\t"}, L"\"x,y\",\"\t\""},
    };
    for (auto& k : cases) {
        TStringList l;
        for (auto& s : k.items) l.Add(s);
        EXPECT_EQ(l.CommaText(), k.comma);
        TStringList back;
        back.SetCommaText(k.comma);
        EXPECT_EQ(Lines(back), k.items) << k.comma;
    }

    struct Parse {
        String text;
        Char delim;
        bool strict;
        std::vector<String> items;
    } parses[] = {
        {L"  a b ,c", L',', false, {L"a", L"b", L"c"}},
        {L"  a b ,c", L',', true, {L"  a b ", L"c"}},
        {L"a;;b;", L';', true, {L"a", L"", L"b", L""}},
        {L"\"un closed", L',', false, {L"un closed"}},
        {L"\"q\"x,y", L',', false, {L"q", L"x", L"y"}},
        {String(L"a\0b", 3), L',', false, {L"a", L"b"}},
    };
    for (auto& p : parses) {
        TStringList l;
        l.SetDelimiter(p.delim);
        l.SetStrictDelimiter(p.strict);
        l.SetDelimitedText(p.text);
        EXPECT_EQ(Lines(l), p.items) << p.text;
    }
    TStringList semi;
    semi.SetDelimiter(L';');
    semi.SetStrictDelimiter(true);
    semi.SetCommaText(L"a b");   // comma text ignores the list's own settings
    EXPECT_EQ(semi.Count(), 2);
    semi.SetCommaText(L"a;b c");
    EXPECT_EQ(semi.DelimitedText(), L"\"a;b\";c");
}

TEST(TStrings, TextLineBreaksAndNameValuePairs)
{
    TStringList l;
    l.SetText(L"one\r\ntwo\nthree\rfour\r\n\r\n");
    EXPECT_EQ(Lines(l), (std::vector<String>{L"one", L"two", L"three", L"four", L""}));
    EXPECT_EQ(l.Text(), L"one\r\ntwo\r\nthree\r\nfour\r\n\r\n");
    l.SetText(L"");
    EXPECT_EQ(l.Count(), 0);

    l.SetText(L"Width=10\nname=x=y\nplain");
    EXPECT_EQ(l.Values(L"NAME"), L"x=y");
    EXPECT_EQ(l.Names(1), L"name");
    EXPECT_EQ(l.Names(2), L"");
    EXPECT_EQ(l.ValueFromIndex(2), L"");
    EXPECT_EQ(l.IndexOfName(L"width"), 0);
    l.SetValues(L"Height", L"5");
    l.SetValues(L"Width", L"");
    EXPECT_EQ(Lines(l), (std::vector<String>{L"name=x=y", L"plain", L"Height=5"}));
    l.SetValueFromIndex(0, L"z");
    EXPECT_EQ(l[0], L"name=z");
}

TEST(TStringList, ChangeEventsAreBracketedByUpdates)
{
    TStringList l;
    int changing = 0, changed = 0;
    l.OnChanging = [&](TObject* s) { ++changing; EXPECT_EQ(s, &l); };
    l.OnChange = [&](TObject*) { ++changed; };
    l.Add(L"a");
    EXPECT_EQ(changing, 1);
    EXPECT_EQ(changed, 1);
    l.BeginUpdate();
    l.BeginUpdate();
    l.Add(L"b");
    l.Delete(0);
    l.EndUpdate();
    EXPECT_EQ(changed, 1);
    l.EndUpdate();
    EXPECT_EQ(changing, 2);
    EXPECT_EQ(changed, 2);
    l.EndUpdate();   // unbalanced: ignored
    l.Add(L"c");
    EXPECT_EQ(changed, 3);
}

TEST(TStringList, OwnedObjectsAreFreedWithTheirLines)
{
    static int alive = 0;
    struct TCounted : TObject {
        TCounted() { ++alive; }
        ~TCounted() override { --alive; }
    };
    {
        TStringList l(true);
        l.AddObject(L"a", new TCounted);
        l.AddObject(L"b", new TCounted);
        l.AddObject(L"c", new TCounted);
        l.Move(0, 2);
        EXPECT_EQ(alive, 3);
        l.Delete(0);
        EXPECT_EQ(alive, 2);
        TStringList copy;   // not owning: shares the references
        copy.Assign(&l);
        EXPECT_EQ(copy.Objects(1), l.Objects(1));
    }
    EXPECT_EQ(alive, 0);
}

TEST(TStringList, CustomSortSurvivesAnInconsistentComparison)
{
    TStringList l;
    l.SetCommaText(L"3,1,2,5,4,9,7");
    l.CustomSort([](TStringList* s, Integer a, Integer b) { return s->Strings(b).compare(s->Strings(a)); });
    EXPECT_EQ(l.CommaText(), L"9,7,5,4,3,2,1");
    l.CustomSort([](TStringList*, Integer, Integer) { return -1; });
    EXPECT_EQ(l.Count(), 7);
}

#include <stdlib.h>

#include <filesystem>

#include "platform/base/Streams.h"

TEST(TStrings, SaveAndLoadWithEncodings)
{
    char tmpl[] = "/tmp/vel_lists_XXXXXX";
    std::string dir = mkdtemp(tmpl);
    String file = UTF8ToString(dir + "/lines.txt");
    TStringList src;
    src.SetText(L"caf\u00E9\n\u20AC 5");

    struct Case {
        TEncoding* save;
        bool bom;
        TEncoding* load;
        std::vector<Byte> head;
    } cases[] = {
        {nullptr, true, nullptr, {'c', 'a', 'f', 0xE9}},                    // system code page
        {TEncoding::UTF8(), true, nullptr, {0xEF, 0xBB, 0xBF, 'c'}},        // the mark decides
        {TEncoding::Unicode(), true, nullptr, {0xFF, 0xFE, 'c', 0}},
        {TEncoding::BigEndianUnicode(), true, TEncoding::UTF8(), {0xFE, 0xFF, 0, 'c'}},
        {TEncoding::UTF8(), false, TEncoding::UTF8(), {'c', 'a', 'f', 0xC3}},   // no mark: as told
    };
    for (auto& k : cases) {
        src.SetWriteBOM(k.bom);
        src.SaveToFile(file, k.save);
        TMemoryStream raw;
        raw.LoadFromFile(file);
        ASSERT_GE(raw.Size(), 4);
        EXPECT_EQ(std::vector<Byte>(static_cast<Byte*>(raw.Memory()), static_cast<Byte*>(raw.Memory()) + 4),
                  k.head);
        TStringList back;
        back.LoadFromFile(file, k.load);
        EXPECT_EQ(back.Text(), k.save == nullptr ? L"caf\u00E9\r\n\u20AC 5\r\n" : src.Text());
    }
    // Loading from the middle of a stream takes the rest of it.
    TStringStream s(L"skip|a\nb");
    s.SetPosition(5);
    TStringList part;
    part.LoadFromStream(&s, TEncoding::UTF8());
    EXPECT_EQ(part.CommaText(), L"a,b");
    EXPECT_THROW(part.LoadFromFile(UTF8ToString(dir + "/none.txt")), EFOpenError);
    std::filesystem::remove_all(dir);
}
