// The spreadsheet application server over real .xlsx files: the object model
// reached by name, kinds kept both ways, saving in place, the active-object
// rule, and openpyxl reading what the server writes.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/base/SysUtils.h"
#include "platform/base/Variants.h"
#include "platform/os/AutomationServers.h"
#include "platform/os/SpreadsheetServer.h"
#include "tests/platform/os/XlsxFixtures.h"

using namespace xlsxfixtures;

namespace {

std::string Slurp(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class SpreadsheetServerTest : public TXlsxFixture {
protected:
    void SetUp() override
    {
        TXlsxFixture::SetUp();
        RegisterAutomationServers();
        SavedLimits = SpreadsheetServerLimits();
    }
    void TearDown() override
    {
        SpreadsheetServerLimits() = SavedLimits;
        TXlsxFixture::TearDown();
    }

    static Variant App() { return Variant(CreateOleObject(L"excel.application")); }

    // Runs the Python text and answers what it prints.
    std::string PythonOutput(const std::string& script)
    {
        std::string path = Dir + "/read.py", out = Dir + "/read.out";
        std::ofstream(path) << script;
        EXPECT_EQ(std::system((Python() + " " + path + " > " + out).c_str()), 0) << script;
        return Slurp(out);
    }

    template <class F>
    static std::string RaisedMessage(F&& f)
    {
        try {
            f();
        } catch (const EOleException& e) {
            return UTF8Encode(e.Message());
        }
        return "(no exception)";
    }

    TSpreadsheetLimits SavedLimits;
};

Variant Array2(int rows, int cols, int low = 1)
{
    return VarArrayCreate({low, low + rows - 1, low, low + cols - 1}, varVariant);
}

}  // namespace

TEST(SpreadsheetAddress, ColumnsAndRanges)
{
    struct {
        int Column;
        const wchar_t* Letters;
    } columns[] = {{1, L"A"}, {26, L"Z"}, {27, L"AA"}, {30, L"AD"}, {52, L"AZ"}, {53, L"BA"},
                   {702, L"ZZ"}, {703, L"AAA"}, {16384, L"XFD"}};
    for (const auto& c : columns) {
        EXPECT_EQ(XlsxColumnLetters(c.Column), c.Letters);
        int r = 0, col = 0;
        ASSERT_TRUE(XlsxParseCellRef(String(c.Letters) + L"7", r, col));
        EXPECT_EQ(col, c.Column);
    }
    struct {
        const wchar_t* Address;
        int R1, C1, R2, C2;   // R1 0: refused
    } ranges[] = {{L"$B$2:$E$40", 2, 2, 40, 5}, {L"B2:E40", 2, 2, 40, 5}, {L"$A$1", 1, 1, 1, 1},
                  {L"E40:B2", 2, 2, 40, 5},     {L"A1:XFD1048576", 1, 1, 1048576, 16384},
                  {L"A1:", 0, 0, 0, 0},         {L":B2", 0, 0, 0, 0},     {L"A1:B2:C3", 0, 0, 0, 0},
                  {L"XFE1", 0, 0, 0, 0},        {L"", 0, 0, 0, 0}};
    for (const auto& c : ranges) {
        int r1 = 0, c1 = 0, r2 = 0, c2 = 0;
        bool ok = XlsxParseRange(c.Address, r1, c1, r2, c2);
        EXPECT_EQ(ok, c.R1 != 0) << UTF8Encode(c.Address);
        if (ok) {
            EXPECT_EQ(std::vector<int>({r1, c1, r2, c2}), std::vector<int>({c.R1, c.C1, c.R2, c.C2}));
        }
    }
}

TEST_F(SpreadsheetServerTest, NewWorkbookWrittenAndReadBackByOpenpyxl)
{
    Variant app = App();
    Variant books = app.Get(L"WorkBooks");
    EXPECT_TRUE(VarIsClear(app.Get(L"ActiveWorkBook")));
    Variant book = books.Call(L"Add");
    EXPECT_EQ(books.Get(L"Count").AsInteger(), 1);
    EXPECT_TRUE(book.Get(L"Saved").AsBoolean());
    Variant sheet = book.Get(L"Sheets").Get(L"Item", {1});
    EXPECT_EQ(sheet.Get(L"Name").AsString(), L"Sheet1");
    EXPECT_EQ(app.Get(L"ActiveCell").Get(L"Row").AsInteger(), 1);
    EXPECT_EQ(app.Get(L"ActiveWorkBook").Get(L"ActiveSheet").Get(L"Name").AsString(), L"Sheet1");

    // An empty sheet's used range is its first cell.
    EXPECT_EQ(sheet.Get(L"UsedRange").Get(L"Address").AsString(), L"$A$1");

    Variant values = Array2(2, 3, 0);   // any lower bounds
    values.PutElement({0, 0}, Variant(String(L"007")));   // stays text
    values.PutElement({0, 1}, Variant(2.5));
    values.PutElement({0, 2}, Variant(true));
    values.PutElement({1, 0}, Variant::FromDate(45351.0));   // 2024-02-29
    values.PutElement({1, 1}, Variant(Integer(-7)));
    Variant range = sheet.Call(L"Range", {Variant(String(L"$B$2:$D$3"))});
    range.Set(L"Value", values);
    EXPECT_FALSE(book.Get(L"Saved").AsBoolean());

    Variant used = sheet.Get(L"UsedRange");
    EXPECT_EQ(used.Get(L"Address").AsString(), L"$B$2:$D$3");
    EXPECT_EQ(used.Get(L"Rows").Get(L"Count").AsInteger(), 2);
    EXPECT_EQ(used.Get(L"Columns").Get(L"Count").AsInteger(), 3);
    EXPECT_EQ(used.Get(L"Count").AsInteger(), 6);
    Variant read = used.Get(L"Value");
    ASSERT_TRUE(read.IsArray());
    EXPECT_EQ(VarArrayLowBound(read, 1), 1);
    EXPECT_EQ(VarArrayHighBound(read, 1), 2);
    EXPECT_EQ(VarArrayHighBound(read, 2), 3);
    EXPECT_EQ(read.GetElement({1, 1}).VarType(), varOleStr);
    EXPECT_EQ(read.GetElement({1, 1}).AsString(), L"007");
    EXPECT_EQ(read.GetElement({1, 2}).VarType(), varDouble);
    EXPECT_EQ(read.GetElement({1, 3}).VarType(), varBoolean);
    EXPECT_EQ(read.GetElement({2, 1}).VarType(), varDouble);   // a date reads as its serial number
    EXPECT_EQ(read.GetElement({2, 1}).AsDouble(), 45351.0);
    EXPECT_TRUE(read.GetElement({2, 3}).IsEmpty());
    EXPECT_EQ(sheet.Get(L"Rows").Call(L"Cells", {Variant(Integer(3)), Variant(Integer(3))}).Get(L"Value").AsInteger(), -7);

    sheet.Set(L"Name", Variant(String(L"Data")));
    Variant added = book.Get(L"WorkSheets").Call(L"Add");   // before the active sheet, and active
    EXPECT_EQ(added.Get(L"Name").AsString(), L"Sheet1");
    EXPECT_EQ(book.Get(L"ActiveSheet").Get(L"Name").AsString(), L"Sheet1");
    EXPECT_EQ(book.Get(L"Sheets").Get(L"Item", {1}).Get(L"Name").AsString(), L"Sheet1");
    EXPECT_EQ(book.Get(L"Sheets").Get(L"Item", {2}).Get(L"Name").AsString(), L"Data");
    EXPECT_EQ(book.Get(L"WorkSheets").Call(L"Add").Get(L"Name").AsString(), L"Sheet2");

    std::string file = Dir + "/out.xls";   // written as .xlsx whatever the extension
    book.Call(L"SaveAs", {Variant(UTF8ToString(file))});
    EXPECT_TRUE(book.Get(L"Saved").AsBoolean());
    book.Call(L"Close");
    EXPECT_EQ(books.Get(L"Count").AsInteger(), 0);
    app.Call(L"Quit");

    struct stat st {};
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0077, 0044 & ~0022 & st.st_mode) << "a saved file keeps the usual mode";
    if (!HasOpenpyxl()) GTEST_SKIP() << "python3-openpyxl is not installed";
    std::string out = PythonOutput(
        "import openpyxl, shutil\n"
        "shutil.copy(r'" + file + "', r'" + file + "x')\n"   // openpyxl goes by the extension
        "wb = openpyxl.load_workbook(r'" + file + "x')\n"
        "print(wb.sheetnames, wb.active.title)\n"
        "ws = wb['Data']\n"
        "for ref in ['B2', 'C2', 'D2', 'B3', 'C3', 'D3']:\n"
        "    c = ws[ref]\n"
        "    print(ref, repr(c.value), c.data_type, c.number_format)\n");
    EXPECT_EQ(out,
              "['Sheet2', 'Sheet1', 'Data'] Sheet2\n"
              "B2 '007' s General\n"
              "C2 2.5 n General\n"
              "D2 True b General\n"
              "B3 datetime.datetime(2024, 2, 29, 0, 0) d mm-dd-yy\n"
              "C3 -7 n General\n"
              "D3 None n General\n");
}

TEST_F(SpreadsheetServerTest, ReadsWhatOpenpyxlWritesAndSavesInPlace)
{
    if (!HasOpenpyxl()) GTEST_SKIP() << "python3-openpyxl is not installed";
    std::string file = Dir + "/in.xlsx";
    RunPython("import openpyxl, datetime\n"
              "wb = openpyxl.Workbook()\n"
              "ws = wb.active\nws.title = 'One'\n"
              "ws['B2'] = 'text'\nws['C2'] = 1.5\nws['D2'] = False\n"
              "ws['B3'] = datetime.date(2020, 1, 2)\nws['B3'].number_format = 'dd.mm.yyyy'\n"
              "ws['C3'] = 'bold plain'\n"
              "ws2 = wb.create_sheet('Two')\nws2['A1'] = 'second'\n"
              "ws2.sheet_view.selection[0].activeCell = 'C7'\nws2.sheet_view.selection[0].sqref = 'C7'\n"
              "wb.active = 1\n"
              "wb.save(r'" + file + "')\n");
    Variant app = App();
    Variant book = app.Get(L"WorkBooks").Call(L"Open", {Variant(UTF8ToString(file))});
    Variant sheets = book.Get(L"WorkSheets");
    ASSERT_EQ(sheets.Get(L"Count").AsInteger(), 2);
    EXPECT_EQ(book.Get(L"ActiveSheet").Get(L"Name").AsString(), L"Two");
    EXPECT_EQ(app.Get(L"ActiveCell").Get(L"Row").AsInteger(), 7);
    Variant one = sheets.Get(L"Item", {1});
    EXPECT_EQ(one.Get(L"UsedRange").Get(L"Address").AsString(), L"$B$2:$D$3");
    Variant v = one.Call(L"Range", {Variant(String(L"B2")), Variant(String(L"D3"))}).Get(L"Value");
    EXPECT_EQ(v.GetElement({1, 1}).AsString(), L"text");
    EXPECT_EQ(v.GetElement({1, 2}).AsDouble(), 1.5);
    EXPECT_EQ(v.GetElement({1, 3}).VarType(), varBoolean);
    EXPECT_EQ(v.GetElement({2, 1}).AsDouble(), 43832.0);
    EXPECT_EQ(v.GetElement({2, 2}).AsString(), L"bold plain");

    // A change and a save in place keep the other sheet and the date format.
    one.Call(L"Cells", {Variant(Integer(4)), Variant(Integer(2))}).Set(L"Value", Variant(String(L"added")));
    book.Call(L"Save");
    EXPECT_TRUE(book.Get(L"Saved").AsBoolean());
    book.Call(L"Close", {}, {{L"SaveChanges", Variant(false)}});
    app.Call(L"Quit");
    std::string out = PythonOutput("import openpyxl\n"
                                   "wb = openpyxl.load_workbook(r'" + file + "')\n"
                                   "print(wb.sheetnames, wb['Two']['A1'].value, wb['One']['B4'].value)\n"
                                   "print(wb['One']['B3'].number_format, wb['One']['B3'].value)\n");
    EXPECT_EQ(out, "['One', 'Two'] second added\ndd.mm.yyyy 2020-01-02 00:00:00\n");
}

TEST_F(SpreadsheetServerTest, ValueSizesAndKinds)
{
    Variant app = App();
    Variant book = app.Get(L"WorkBooks").Call(L"Add");
    Variant sheet = book.Get(L"ActiveSheet");
    Variant range = sheet.Call(L"Range", {Variant(String(L"A1:B2"))});
    Variant cell = sheet.Call(L"Range", {Variant(String(L"C3"))});

    // Wrong sizes and values no cell can hold raise and change nothing.
    Variant small = Array2(1, 2);
    small.PutElement({1, 1}, Variant(String(L"x")));
    EXPECT_NE(RaisedMessage([&] { range.Set(L"Value", small); }).find("2 x 2"), std::string::npos);
    EXPECT_NE(RaisedMessage([&] { range.Set(L"Value", Variant(1.0)); }).find("2 x 2"), std::string::npos);
    Variant withObject = Array2(2, 2);
    withObject.PutElement({1, 1}, Variant(String(L"kept out")));
    withObject.PutElement({2, 2}, Variant(static_cast<IDispatch*>(app.AsDispatch().Get())));
    EXPECT_NE(RaisedMessage([&] { range.Set(L"Value", withObject); }), "(no exception)");
    EXPECT_TRUE(book.Get(L"Saved").AsBoolean());
    EXPECT_TRUE(sheet.Call(L"Cells", {Variant(Integer(1)), Variant(Integer(1))}).Get(L"Value").IsEmpty());

    // One cell takes a value or a 1 x 1 array.
    cell.Set(L"Value", Variant(String(L"one")));
    EXPECT_EQ(cell.Get(L"Value").AsString(), L"one");
    Variant single = Array2(1, 1, 5);
    single.PutElement({5, 5}, Variant(3.0));
    cell.Set(L"Value", single);
    EXPECT_EQ(cell.Get(L"Value").AsDouble(), 3.0);
    cell.Set(L"Value", Variant());
    EXPECT_TRUE(cell.Get(L"Value").IsEmpty());

    // A read above the limit raises instead of allocating.
    SpreadsheetServerLimits().MaxValueCells = 100;
    EXPECT_NE(RaisedMessage([&] { sheet.Call(L"Range", {Variant(String(L"A1:K10"))}).Get(L"Value"); })
                  .find("110 cells"),
              std::string::npos);
    EXPECT_NE(RaisedMessage([&] { sheet.Get(L"Rows").Get(L"Value"); }), "(no exception)");
    EXPECT_EQ(sheet.Get(L"Rows").Get(L"Count").AsInteger(), 1048576);
    EXPECT_EQ(sheet.Get(L"Columns").Get(L"Count").AsInteger(), 16384);
    app.Call(L"Quit");
}

TEST_F(SpreadsheetServerTest, SheetNameRules)
{
    Variant app = App();
    Variant book = app.Get(L"WorkBooks").Call(L"Add");
    book.Get(L"WorkSheets").Call(L"Add");   // "Sheet2"
    Variant sheet = book.Get(L"Sheets").Get(L"Item", {2});   // "Sheet1"
    struct {
        const wchar_t* Name;
        bool Ok;
    } cases[] = {{L"Data 2024", true}, {L"", false}, {L"0123456789012345678901234567890", true},
                 {L"01234567890123456789012345678901", false}, {L"a[b", false}, {L"a]b", false},
                 {L"a:b", false}, {L"a*b", false}, {L"a?b", false}, {L"a/b", false}, {L"a\\b", false},
                 {L"SHEET2", false}, {L"sheet1", true}, {L"Ünïcödé", true}};
    for (const auto& c : cases) {
        std::string msg = RaisedMessage([&] { sheet.Set(L"Name", Variant(String(c.Name))); });
        EXPECT_EQ(msg == "(no exception)", c.Ok) << UTF8Encode(c.Name) << ": " << msg;
        if (c.Ok) {
            EXPECT_EQ(sheet.Get(L"Name").AsString(), c.Name);
        }
    }
    app.Call(L"Quit");
}

TEST_F(SpreadsheetServerTest, SavedFlagAfterEachCall)
{
    std::string file = Dir + "/saved.xlsx";
    Variant app = App();
    Variant book = app.Get(L"WorkBooks").Call(L"Add");
    Variant sheet = book.Get(L"ActiveSheet");
    struct {
        const char* What;
        std::function<void()> Call;
        bool Saved;
    } steps[] = {
        {"reading", [&] { sheet.Get(L"UsedRange").Get(L"Value"); }, true},
        {"a value", [&] { sheet.Call(L"Range", {Variant(String(L"A1"))}).Set(L"Value", Variant(1.0)); }, false},
        {"SaveAs", [&] { book.Call(L"SaveAs", {Variant(UTF8ToString(file))}); }, true},
        {"the same name", [&] { sheet.Set(L"Name", Variant(String(L"Sheet1"))); }, true},
        {"a new name", [&] { sheet.Set(L"Name", Variant(String(L"Renamed"))); }, false},
        {"Saved := true", [&] { book.Set(L"Saved", Variant(true)); }, true},
        {"a sheet added", [&] { book.Get(L"WorkSheets").Call(L"Add"); }, false},
        {"Save", [&] { book.Call(L"Save"); }, true},
    };
    for (const auto& s : steps) {
        s.Call();
        EXPECT_EQ(book.Get(L"Saved").AsBoolean(), s.Saved) << s.What;
    }
    app.Call(L"Quit");
}

TEST_F(SpreadsheetServerTest, ActiveObjectAndQuit)
{
    EXPECT_THROW(GetActiveOleObject(L"excel.application"), EOleSysError);
    {
        Variant app = App();
        Variant found(GetActiveOleObject(L"excel.application"));
        EXPECT_EQ(found.AsDispatch().Get(), app.AsDispatch().Get());
        Variant book = app.Get(L"WorkBooks").Call(L"Add");
        app.Call(L"Quit");
        EXPECT_THROW(GetActiveOleObject(L"excel.application"), EOleSysError);
        // Objects of a quit application raise.
        EXPECT_NE(RaisedMessage([&] { book.Get(L"Saved"); }).find("quit"), std::string::npos);
        EXPECT_NE(RaisedMessage([&] { app.Get(L"WorkBooks"); }).find("quit"), std::string::npos);
    }
    {
        // Released without Quit: gone from the table with its last reference.
        Variant app = App();
        app.Get(L"WorkBooks").Call(L"Add");
        EXPECT_NO_THROW(GetActiveOleObject(L"excel.application"));
    }
    EXPECT_THROW(GetActiveOleObject(L"excel.application"), EOleSysError);
}

TEST_F(SpreadsheetServerTest, ClosedWorkbooksAndActiveWorkbook)
{
    Variant app = App();
    Variant books = app.Get(L"WorkBooks");
    Variant first = books.Call(L"Add");
    Variant second = books.Call(L"Add");
    EXPECT_EQ(app.Get(L"ActiveWorkBook").Get(L"Name").AsString(), second.Get(L"Name").AsString());
    second.Call(L"Close", {}, {{L"SaveChanges", Variant(false)}});
    EXPECT_EQ(app.Get(L"ActiveWorkBook").Get(L"Name").AsString(), first.Get(L"Name").AsString());
    EXPECT_NE(RaisedMessage([&] { second.Get(L"Sheets"); }).find("closed"), std::string::npos);
    // Saving a workbook that has no file yet asks for a name.
    EXPECT_NE(RaisedMessage([&] { first.Call(L"Close", {}, {{L"SaveChanges", Variant(true)}}); }), "(no exception)");
    app.Call(L"Quit");
    EXPECT_EQ(RaisedMessage([&] { app.Call(L"Quit"); }), "(no exception)");   // a second Quit does nothing
}

TEST_F(SpreadsheetServerTest, SavingNeverDropsOrDamages)
{
    // A workbook holding a formula and an error value cannot be saved: the
    // file stays byte for byte.
    std::string file = Package(Parts(R"(<row r="1"><c r="A1"><f>1+1</f><v>2</v></c>)"
                                     R"(<c r="B1" t="e"><v>#DIV/0!</v></c><c r="C1"><v>5</v></c></row>)"));
    std::string before = Slurp(file);
    Variant app = App();
    Variant book = app.Get(L"WorkBooks").Call(L"Open", {Variant(UTF8ToString(file))});
    Variant sheet = book.Get(L"ActiveSheet");
    Variant v = sheet.Call(L"Range", {Variant(String(L"A1:C1"))}).Get(L"Value");
    EXPECT_EQ(v.GetElement({1, 1}).AsDouble(), 2.0);   // the formula's cached value
    EXPECT_EQ(v.GetElement({1, 2}).VarType(), varError);
    EXPECT_EQ(static_cast<uint32_t>(v.GetElement({1, 2}).AsError()), 0x800A07D7u);   // #DIV/0! is 2007
    std::string msg = RaisedMessage([&] { book.Call(L"Save"); });
    EXPECT_NE(msg.find("formulas, error values"), std::string::npos) << msg;
    EXPECT_NE(msg.find(file), std::string::npos) << msg;
    EXPECT_NE(RaisedMessage([&] { book.Call(L"SaveAs", {Variant(UTF8ToString(Dir + "/copy.xlsx"))}); }),
              "(no exception)");
    EXPECT_FALSE(std::filesystem::exists(Dir + "/copy.xlsx"));
    EXPECT_EQ(Slurp(file), before);

    // A failed write leaves the old file and no scratch file behind.
    Variant fresh = app.Get(L"WorkBooks").Call(L"Add");
    std::string target = Dir + "/kept.xlsx";
    std::ofstream(target) << "old content";
    Variant big = Array2(1, 1);
    big.PutElement({1, 1}, Variant(String(40000, L'x')));   // longer than a cell may hold
    fresh.Get(L"ActiveSheet").Call(L"Range", {Variant(String(L"A1"))}).Set(L"Value", big);
    EXPECT_NE(RaisedMessage([&] { fresh.Call(L"SaveAs", {Variant(UTF8ToString(target))}); }), "(no exception)");
    EXPECT_EQ(Slurp(target), "old content");
    EXPECT_FALSE(fresh.Get(L"Saved").AsBoolean());
    std::vector<std::string> files;
    for (auto& e : std::filesystem::directory_iterator(Dir)) files.push_back(e.path().filename().string());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, std::vector<std::string>({"book.xlsx", "kept.xlsx", "make.py"}));   // no scratch file left
    app.Call(L"Quit");
}

TEST_F(SpreadsheetServerTest, HostileWorkbooksChangeNothing)
{
    std::string notZip = Dir + "/legacy.xls";
    std::ofstream(notZip) << std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) << std::string(600, '\0');
    std::string outside = Package(Parts(R"(<row r="1"><c r="A1"><v>1</v></c></row>)", "../../etc/passwd"), "out.xlsx");
    std::string farCell = Package(Parts(R"(<row r="1"><c r="XFE1"><v>1</v></c></row>)"), "far.xlsx");
    std::string broken = Package(Parts(R"(<row r="1"><c r="A1"><v>1</v>)"), "broken.xlsx");
    Variant app = App();
    Variant books = app.Get(L"WorkBooks");
    struct {
        std::string File;
        const char* Cause;
    } cases[] = {{notZip, "not an .xlsx workbook"}, {outside, "outside the package"}, {farCell, "bad cell"},
                 {broken, ""}, {Dir + "/missing.xlsx", "cannot open"}};
    for (const auto& c : cases) {
        std::string msg = RaisedMessage([&] { books.Call(L"Open", {Variant(UTF8ToString(c.File))}); });
        EXPECT_NE(msg, "(no exception)") << c.File;
        EXPECT_NE(msg.find(c.File), std::string::npos) << msg;
        EXPECT_NE(msg.find(c.Cause), std::string::npos) << msg;
        EXPECT_EQ(books.Get(L"Count").AsInteger(), 0) << c.File;
    }
    // A whole-sheet dimension over two cells allocates nothing.
    std::string wide = Package(Parts(R"(<row r="1"><c r="A1"><v>1</v></c></row><row r="1048576"><c r="XFD1048576"><v>2</v></c></row>)"),
                               "wide.xlsx");
    Variant sheet = books.Call(L"Open", {Variant(UTF8ToString(wide))}).Get(L"ActiveSheet");
    Variant used = sheet.Get(L"UsedRange");
    EXPECT_EQ(used.Get(L"Address").AsString(), L"$A$1:$XFD$1048576");
    EXPECT_NE(RaisedMessage([&] { used.Get(L"Value"); }).find("more than a value may hold"), std::string::npos);
    app.Call(L"Quit");
}
