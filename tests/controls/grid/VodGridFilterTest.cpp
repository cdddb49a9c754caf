// Row filtering: the row test over its kinds of text and joins, filter
// levels (one per application, none without normal rows), the narrow-down
// stack, progress, the condition builder, and the filter file against
// Python's configparser both ways, with malformed and random files.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>

#include "GridRowsSupport.h"
#include "platform/base/IniFiles.h"

namespace {

class VodGridFilter : public GridRowsFixture {
protected:
    void SetUp() override
    {
        GridRowsFixture::SetUp();
        Dir = "/tmp/vodgridfilter_" + std::to_string(getpid());
        std::system(("mkdir -p " + Dir).c_str());
    }
    void TearDown() override
    {
        std::system(("rm -rf " + Dir).c_str());
        GridRowsFixture::TearDown();
    }
    // Column 1 of rows 1..n holds the texts; column 0 names the row.
    void SetRows(const std::vector<String>& texts)
    {
        Grid->SetRowCount(Integer(texts.size()) + 1);
        Grid->SetFixedRows(1);
        for (size_t i = 0; i < texts.size(); ++i) {
            Grid->SetCells(0, Integer(i) + 1, L"r" + IntToStr(Integer(i)));
            Grid->SetCells(1, Integer(i) + 1, texts[i]);
        }
    }
    std::vector<String> Col(Integer c)
    {
        std::vector<String> v;
        for (Integer r = Grid->FixedRows(); r < Grid->RowCount(); ++r) v.push_back(Grid->Cells(c, r));
        return v;
    }
    String Path(const char* name) { return UTF8ToString(Dir + "/" + name); }
    static int Py(const std::string& script)
    {
        const std::string file = "/tmp/vodgridfilter_py_" + std::to_string(getpid()) + ".py";
        std::ofstream(file) << script;
        const int rc = std::system(((access("/usr/bin/python3", X_OK) == 0 ? "/usr/bin/python3 " : "python3 ") + file).c_str());
        std::remove(file.c_str());
        return rc;
    }
    std::string Dir;
};

struct MatchCase {
    const wchar_t* cell;
    const wchar_t* condition;
    TFilterMethod method;
    bool caseSensitive;
    const wchar_t* prefix;
    const wchar_t* suffix;
    bool match;
};

}  // namespace

TEST_F(VodGridFilter, MatchTable)
{
    const MatchCase cases[] = {
        {L"xxABCyy", L"*abc*", fmExpression, false, L"", L"", true},
        {L"xxABCyy", L"*abc*", fmExpression, true, L"", L"", false},
        {L"  padded  ", L"padded", fmExpression, true, L"", L"", true},  // trimmed
        {L"anything", L"", fmExpression, true, L"", L"", true},          // empty condition
        {L"", L"\"\"", fmLiteral, true, L"", L"", true},
        {L"x", L"\"\"", fmLiteral, true, L"", L"", false},
        {L"a*b", L"a*b", fmLiteral, true, L"", L"", true},
        {L"axxb", L"a*b", fmLiteral, true, L"", L"", false},
        {L"$12", L"12", fmExpression, true, L"$", L"", true},
        {L"12kgkg", L"12kg", fmExpression, true, L"", L"kg", false},  // first "kg" does not end the text
        {L"12 kg", L"12", fmExpression, true, L"", L" kg", true},
        {L"15", L">9", fmExpression, true, L"", L"", true},
        {L"<b>bold</b>", L"bold", fmExpression, true, L"", L"", true},  // markup stripped
        {L"b", L"a|b", fmExpression, true, L"", L"", true},
    };
    SetRows({L""});
    TFilterData* f = Grid->Filter()->Add();
    f->Column = 1;
    for (const auto& c : cases) {
        Grid->SetCells(1, 1, c.cell);
        f->Condition = c.condition;
        f->Method = c.method;
        f->CaseSensitive = c.caseSensitive;
        f->Prefix = c.prefix;
        f->Suffix = c.suffix;
        EXPECT_EQ(Grid->MatchFilter(1), c.match) << String(c.cell) << L" / " << String(c.condition);
    }
    // Accents removed on request; packed wide text decoded.
    Grid->SetCells(1, 1, L"caf\u00e9");
    f->Condition = L"cafe";
    f->Prefix = f->Suffix = L"";
    EXPECT_FALSE(Grid->MatchFilter(1));
    f->RemoveAccented = true;
    EXPECT_TRUE(Grid->MatchFilter(1));
    f->RemoveAccented = false;
    Grid->SetCells(1, 1, PackWideText(L"\u0416uk"));
    f->Condition = L"\u0416uk";
    EXPECT_TRUE(Grid->MatchFilter(1));
}

TEST_F(VodGridFilter, JoinsShortStopAndCustomFilter)
{
    SetRows({L"a"});
    auto* f1 = Grid->Filter()->Add();
    f1->Column = 1;
    f1->Condition = L"x";
    auto* f2 = Grid->Filter()->Add();
    f2->Column = 1;
    f2->Condition = L"a";
    EXPECT_EQ(f1->Operation, foNONE);
    EXPECT_EQ(f2->Operation, foAND);
    EXPECT_FALSE(Grid->MatchFilter(1));
    f2->Operation = foOR;
    EXPECT_TRUE(Grid->MatchFilter(1));
    f2->Operation = foXOR;
    EXPECT_TRUE(Grid->MatchFilter(1));
    f1->Operation = foOR;  // a first OR always passes
    f1->Condition = L"y";
    f2->Operation = foAND;
    EXPECT_TRUE(Grid->MatchFilter(1));
    f1->Operation = foSHORT;  // stops at the failing first condition
    f2->Operation = foOR;
    EXPECT_FALSE(Grid->MatchFilter(1));
    f1->Enabled = false;
    EXPECT_TRUE(Grid->MatchFilter(1));
    Grid->OnCustomFilter = [](TObject*, Integer, bool& accept) { accept = !accept; };
    EXPECT_FALSE(Grid->MatchFilter(1));
}

TEST_F(VodGridFilter, WholeRowTextAtAStartOrAnywhere)
{
    SetRows({L"alpha", L"xalphax"});
    Grid->SetCells(2, 1, L"zzz");
    Grid->NarrowDown(L"ALPHA", -1);
    EXPECT_EQ(Grid->RowCount(), 3);
    Grid->RemoveAllFilters();
    Grid->SetNarrowDownFromStart(true);
    Grid->NarrowDown(L"", -1);
    Grid->NarrowDown(L"alp", -1);
    EXPECT_EQ(Col(1), (std::vector<String>{L"alpha"}));
    Grid->NarrowDown(L"", -1);
    EXPECT_EQ(Grid->RowCount(), 3);
    Grid->IgnoreColumns()->Add(0);
    Grid->NarrowDown(L"zz", -1);  // at the start of the second cell
    EXPECT_EQ(Col(1), (std::vector<String>{L"alpha"}));
}

TEST_F(VodGridFilter, NarrowDownIsAStackOfLevels)
{
    SetRows({L"abc", L"abd", L"axx", L"bbb", L"abcd"});
    Grid->NarrowDown(L"a", 1);
    EXPECT_EQ(Grid->RowCount(), 5);
    Grid->NarrowDown(L"ab", 1);
    EXPECT_EQ(Grid->RowCount(), 4);
    Grid->NarrowDown(L"abc", 1);
    EXPECT_EQ(Col(1), (std::vector<String>{L"abc", L"abcd"}));
    EXPECT_EQ(Grid->FilterLevel(), 3);
    Grid->NarrowDown(L"ab", 1);  // one fewer: the last level only
    EXPECT_EQ(Grid->RowCount(), 4);
    EXPECT_EQ(Grid->FilterLevel(), 2);
    Grid->NarrowDown(L"bb", 1);  // anything else: afresh
    EXPECT_EQ(Grid->FilterLevel(), 1);
    EXPECT_EQ(Col(1), (std::vector<String>{L"bbb"}));
    EXPECT_FALSE(Grid->RemoveLastFilter());
    EXPECT_EQ(Grid->RowCount(), 6);
    EXPECT_FALSE(Grid->RemoveLastFilter());
}

TEST_F(VodGridFilter, FilterActiveLevelsProgressAndNoNormalRows)
{
    SetRows({L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8"});
    auto* f = Grid->Filter()->Add();
    f->Column = 1;
    f->Condition = L">4";
    std::vector<SmallInt> progress;
    Grid->OnFilterProgress = [&](TObject*, SmallInt p) { progress.push_back(p); };
    Grid->SetFilterActive(true);
    EXPECT_EQ(Col(1), (std::vector<String>{L"5", L"6", L"7", L"8"}));
    EXPECT_EQ(Grid->FilterLevel(), 1);
    // 1/8 = 12.5 -> 12, 3/8 = 37.5 -> 38, 5/8 = 62.5 -> 62, 7/8 = 87.5 -> 88.
    EXPECT_EQ(progress, (std::vector<SmallInt>{12, 25, 38, 50, 62, 75, 88, 100, 100}));
    Grid->SetFilterActive(true);  // no change: no new level
    EXPECT_EQ(Grid->FilterLevel(), 1);
    Grid->SetFilterActive(false);
    EXPECT_EQ(Grid->RowCount(), 9);
    EXPECT_EQ(Grid->FilterLevel(), 0);
    // A level also when nothing is hidden.
    f->Condition = L">0";
    Grid->ApplyFilter();
    EXPECT_EQ(Grid->FilterLevel(), 1);
    EXPECT_TRUE(Grid->RemoveLastFilter() == false);

    // Without normal rows: no level; off restores nothing.
    auto* empty = NewGrid(3, 2);
    empty->SetFixedRows(1);
    empty->SetFixedFooters(1);
    empty->Filter()->Add()->Condition = L"x";
    empty->SetFilterActive(true);
    EXPECT_EQ(empty->FilterLevel(), 0);
    empty->SetFilterActive(false);
    EXPECT_EQ(empty->RowCount(), 2);
}

TEST_F(VodGridFilter, ConditionListAndBuilder)
{
    TFilter* fl = Grid->Filter();
    TFilterData* a = fl->GetColFilter(3);
    EXPECT_EQ(a->Column, 3);
    EXPECT_EQ(fl->GetColFilter(3), a);
    TFilterData* b = fl->Insert(0);
    EXPECT_EQ(fl->Items(1), b);
    EXPECT_EQ(b->Operation, foSHORT);
    b->Column = 2;
    b->FilterType = ftNotEqual;
    EXPECT_TRUE(fl->HasOtherFilter(3));
    EXPECT_EQ(fl->HasFilterType(2), ftNotEqual);
    EXPECT_EQ(fl->HasFilterType(9), ftContains);
    fl->RemoveColumnFilter(3);
    EXPECT_EQ(fl->Count(), 1);

    const std::pair<TFilterType, const wchar_t*> built[] = {
        {ftStartsWith, L"\"a b\"*"}, {ftEndsWith, L"*\"a b\""},   {ftContains, L"*\"a b\"*"},
        {ftNotContains, L"!*\"a b\"*"}, {ftEqual, L"\"a b\""},    {ftNotEqual, L"!\"a b\""},
        {ftLargerThan, L">\"a b\""},  {ftSmallerThan, L"<\"a b\""}, {ftClear, L"keep"}, {ftNone, L"keep"}};
    for (const auto& [t, want] : built) {
        b->Condition = L"keep";
        b->FilterType = t;
        b->BuildCondition(L"a b");
        EXPECT_EQ(b->Condition, want) << t;
    }
}

TEST_F(VodGridFilter, FilterFileRoundTripsWithConfigparser)
{
    TFilter* fl = Grid->Filter();
    auto* a = fl->Add();
    a->Column = 2;
    a->Condition = L"*abc* & !x";
    a->Method = fmLiteral;
    a->Prefix = L"$";
    a->FriendlyName = L"Name";
    a->Data = fcRow;
    a->FilterType = ftEqual;
    auto* b = fl->Add();
    b->Operation = foXOR;
    b->CaseSensitive = false;
    b->Enabled = false;
    b->RemoveAccented = true;
    b->Suffix = L"kg";
    const String file = Path("out.ini");
    Grid->SaveFilter(file);
    // Python reads the sections, keys and values as written.
    const std::string check = R"(
import configparser, sys
c = configparser.RawConfigParser()
c.optionxform = str
c.read(')" + Dir + R"(/out.ini')
assert c.sections() == ['FILTER', 'ITEM0', 'ITEM1'], c.sections()
assert c['FILTER']['COUNT'] == '2'
keys = ['CONDITION','COLUMN','OPERATION','METHOD','CASE','ENABLED','REMOVEACCENTED','PREFIX','SUFFIX','FRIENDLYNAME']
assert list(c['ITEM0'].keys()) == keys, list(c['ITEM0'].keys())
i0, i1 = c['ITEM0'], c['ITEM1']
assert (i0['CONDITION'], i0['COLUMN'], i0['OPERATION'], i0['METHOD'], i0['CASE'], i0['PREFIX'], i0['FRIENDLYNAME']) == ('*abc* & !x', '2', '1', '1', '1', '$', 'Name')
assert (i1['OPERATION'], i1['CASE'], i1['ENABLED'], i1['REMOVEACCENTED'], i1['SUFFIX']) == ('3', '0', '0', '1', 'kg')
)";
    ASSERT_EQ(Py(check), 0);

    auto* other = NewGrid(5, 5);
    other->LoadFilter(file);
    ASSERT_EQ(other->Filter()->Count(), 2);
    const TFilterData* la = other->Filter()->Items(0);
    EXPECT_EQ(la->Condition, a->Condition);
    EXPECT_EQ(la->Column, 2);
    EXPECT_EQ(la->Method, fmLiteral);
    EXPECT_EQ(la->Prefix, L"$");
    EXPECT_EQ(la->FriendlyName, L"Name");
    EXPECT_EQ(la->Data, fcVirtual);  // not stored
    EXPECT_EQ(la->FilterType, ftStartsWith);
    const TFilterData* lb = other->Filter()->Items(1);
    EXPECT_EQ(lb->Operation, foXOR);
    EXPECT_FALSE(lb->CaseSensitive);
    EXPECT_FALSE(lb->Enabled);
    EXPECT_TRUE(lb->RemoveAccented);
    EXPECT_EQ(lb->Suffix, L"kg");

    // A file Python writes: other order, comments, extra keys, lower case.
    const std::string write = R"(
import configparser
c = configparser.RawConfigParser()
c['item0'] = {'friendlyname': 'py', 'enabled': '0', 'condition': '>5', 'extra': 'x', 'column': '4', 'case': '7'}
c['filter'] = {'count': '1'}
with open(')" + Dir + R"(/py.ini', 'w') as f:
    f.write('# written by python\n; another comment\n')
    c.write(f)
)";
    ASSERT_EQ(Py(write), 0);
    other->LoadFilter(Path("py.ini"));
    ASSERT_EQ(other->Filter()->Count(), 1);
    const TFilterData* p = other->Filter()->Items(0);
    EXPECT_EQ(p->Condition, L">5");
    EXPECT_EQ(p->Column, 4);
    EXPECT_EQ(p->FriendlyName, L"py");
    EXPECT_FALSE(p->Enabled);
    EXPECT_TRUE(p->CaseSensitive);  // any non-zero number
    EXPECT_EQ(p->Operation, foSHORT);
}

TEST_F(VodGridFilter, MalformedAndUnwritableFilterFiles)
{
    auto* keep = Grid->Filter()->Add();
    keep->Condition = L"kept";
    const struct {
        const char* text;
        Integer count;
    } files[] = {
        {"[OTHER]\nCOUNT=3\n", 1},                     // missing section: unchanged
        {"[FILTER]\nCOUNT=-4\n", 1},                   // negative: unchanged
        {"[FILTER]\nCOUNT=abc\n", 1},                  // not a number: unchanged
        {"[FILTER]\nCOUNT=2\n[ITEM0]\nCOLUMN=zz\n", 2},  // missing keys: defaults
        {"\xff\xfe[\x00garbage", 1},
    };
    for (const auto& f : files) {
        Grid->Filter()->Clear();
        Grid->Filter()->Add()->Condition = L"kept";
        std::ofstream(Dir + "/bad.ini", std::ios::binary) << f.text;
        Grid->LoadFilter(Path("bad.ini"));
        ASSERT_EQ(Grid->Filter()->Count(), f.count) << f.text;
        if (f.count == 2) {
            EXPECT_EQ(Grid->Filter()->Items(0)->Column, 0);
            EXPECT_TRUE(Grid->Filter()->Items(1)->Enabled);
            EXPECT_EQ(Grid->Filter()->Items(1)->Condition, L"");
        }
    }
    Grid->LoadFilter(Path("missing.ini"));  // silent
    EXPECT_EQ(Grid->Filter()->Count(), 1);

    // Random bytes: no crash, no hang.
    std::mt19937 rng(11);
    for (int i = 0; i < 100; ++i) {
        std::string s;
        const int n = int(rng() % 200);
        for (int k = 0; k < n; ++k) s += "[]=\nFILTERCOUNTITEM0123-\r x"[rng() % 26];
        std::ofstream(Dir + "/rnd.ini", std::ios::binary) << s;
        Grid->LoadFilter(Path("rnd.ini"));
    }

    // A write that fails raises and leaves the old file alone.
    Grid->SaveFilter(Path("keep.ini"));
    std::system(("chmod 555 " + Dir).c_str());
    Grid->Filter()->Add()->Condition = L"new";
    if (geteuid() != 0) EXPECT_THROW(Grid->SaveFilter(Path("keep.ini")), Exception);
    std::system(("chmod 755 " + Dir).c_str());
    EXPECT_THROW(Grid->SaveFilter(Path("no/such/dir/f.ini")), Exception);
    auto* other = NewGrid(3, 3);
    other->LoadFilter(Path("keep.ini"));
    EXPECT_EQ(other->Filter()->Count(), 1);
}
