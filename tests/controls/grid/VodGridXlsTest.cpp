// The grid's spreadsheet exchange end to end against the in-process
// spreadsheet server on real .xlsx files, with every call logged through a
// proxy: workbooks listed, loaded and written, the calls in order, and the
// workbook closed unsaved and the server quit on every error path.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

#include "controls/grid/GridDragDropSettings.h"
#include "controls/grid/GridXlsAddress.h"
#include "platform/os/SpreadsheetServer.h"
#include "platform/ui/Ole2.h"
#include "tests/controls/grid/GridFileSupport.h"
#include "tests/controls/grid/OfficeFakes.h"
#include "tests/controls/grid/StringGridFixture.h"

using namespace gridfiles;
using namespace officefakes;

namespace {

std::string Python() { return access("/usr/bin/python3", X_OK) == 0 ? "/usr/bin/python3" : "python3"; }

bool HasOpenpyxl()
{
    static int has = -1;
    if (has < 0) has = std::system((Python() + " -c 'import openpyxl' 2>/dev/null").c_str()) == 0;
    return has == 1;
}

std::string U(const String& s) { return UTF8Encode(s); }

class VodGridXlsTest : public TStringGridFixture<TVodStringGrid> {
protected:
    void SetUp() override
    {
        TStringGridFixture<TVodStringGrid>::SetUp();
        Log = std::make_shared<TLog>();
        Scope = std::make_unique<TOleServerScope>(SpreadsheetProgId, [log = Log] {
            return TComPtr<IDispatch>(static_cast<IDispatch*>(new TLogProxy(CreateSpreadsheetApplication(), log)));
        });
        SavedLimits = SpreadsheetServerLimits();
    }
    void TearDown() override
    {
        SpreadsheetServerLimits() = SavedLimits;
        Scope.reset();
        TStringGridFixture<TVodStringGrid>::TearDown();
    }

    // Runs a Python script; answers what it prints.
    std::string Py(const std::string& script)
    {
        std::string path = Tmp.Path.string() + "/script.py", out = Tmp.Path.string() + "/script.out";
        std::ofstream(path) << script;
        EXPECT_EQ(std::system((Python() + " " + path + " > " + out).c_str()), 0) << script;
        std::ifstream in(out);
        std::stringstream s;
        s << in.rdbuf();
        std::filesystem::remove(path);
        std::filesystem::remove(out);
        return s.str();
    }

    // An openpyxl workbook: sheet "One" (B2:D4 with a gap, a number, a
    // Boolean, a date), sheet "Two" (active, active cell C7), sheet "Three".
    std::string OpenpyxlBook(const std::string& name = "py.xlsx")
    {
        std::string file = Tmp.Path.string() + "/" + name;
        Py("import openpyxl, datetime\n"
           "wb = openpyxl.Workbook()\nws = wb.active\nws.title = 'One'\n"
           "ws['B2'] = 'name'\nws['C2'] = 'value'\nws['D2'] = 'flag'\n"
           "ws['B3'] = 'pi'\nws['C3'] = 3.25\nws['D3'] = True\n"
           "ws['B4'] = 'day'\nws['C4'] = datetime.date(2020, 1, 2)\n"
           "ws2 = wb.create_sheet('Two')\nws2['A1'] = 'second'\nws2['C7'] = 'here'\n"
           "ws2.sheet_view.selection[0].activeCell = 'C7'\nws2.sheet_view.selection[0].sqref = 'C7'\n"
           "wb.create_sheet('Three')\nwb.active = 1\n"
           "wb.save(r'" + file + "')\n");
        return file;
    }

    void ExpectClosedAndQuit(const std::string& what)
    {
        EXPECT_TRUE(InOrder(*Log, {"Close(SaveChanges=false)", "Quit"})) << what;
        EXPECT_THROW(GetActiveOleObject(SpreadsheetProgId), EOleSysError) << what;
    }

    template <class F>
    static std::string Raised(F&& f)
    {
        try {
            f();
        } catch (const Exception& e) {
            return U(e.ClassName() + L": " + e.Message());
        }
        return "(no exception)";
    }

    void Fill(Integer cols, Integer rows)
    {
        Grid->SetColCount(cols);
        Grid->SetRowCount(rows);
        for (Integer r = 0; r < rows; ++r)
            for (Integer c = 0; c < cols; ++c) Grid->SetCells(c, r, L"r" + IntToStr(r) + L"c" + IntToStr(c));
    }

    TScratchDir Tmp;
    std::shared_ptr<TLog> Log;
    std::unique_ptr<TOleServerScope> Scope;
    TSpreadsheetLimits SavedLimits;
};

}  // namespace

TEST(GridXlsAddress, LettersAndUsedRanges)
{
    struct {
        Integer N;
        const wchar_t* Letters;
    } letters[] = {{1, L"A"},    {26, L"Z"},    {27, L"AA"},   {30, L"AD"},    {52, L"AZ"},
                   {53, L"BA"},  {702, L"ZZ"},  {703, L"AAA"}, {16384, L"XFD"}, {0, L""}};
    for (const auto& l : letters) {
        EXPECT_EQ(XlsColumnName(l.N), l.Letters) << l.N;
        if (l.N > 0) {
            TXlsUsedArea a = ParseXlsUsedAddress(L"$" + String(l.Letters) + L"$3");
            EXPECT_EQ(a.Col1, l.N) << U(l.Letters);
        }
    }
    struct {
        const wchar_t* Address;
        Integer C1, R1, C2, R2;
    } cases[] = {
        {L"$B$2:$E$40", 2, 2, 5, 40},          {L"$A$1", 1, 1, 1, 1},
        {L"A1", 1, 1, 1, 1},                   {L"2:40", 1, 2, 256, 40},  // rows only: 256 columns
        {L"$AAA$3:$XFD$9", 703, 3, 16384, 9},  {L"$AD$1:$AZ$2", 30, 1, 52, 2},
        {L"$B$x:$E$40", 2, -1, 5, 40},         {L"$XFE$1", -1, 1, -1, 1},
        {L"$2:$40", -1, 2, -1, 40},            {L"$A$1048577", 1, -1, 1, -1},
        {L"$B$2:E40", 2, 2, -1, -1},           {L"$AAAA$1", -1, 1, -1, 1},
    };
    for (const auto& c : cases) {
        TXlsUsedArea a = ParseXlsUsedAddress(c.Address);
        EXPECT_EQ(std::vector<Integer>({a.Col1, a.Row1, a.Col2, a.Row2}), std::vector<Integer>({c.C1, c.R1, c.C2, c.R2}))
            << U(c.Address);
    }
}

TEST_F(VodGridXlsTest, SaveToXLSWritesANewWorkbookOpenpyxlReads)
{
    Fill(4, 3);
    Grid->SetCells(1, 1, L"007");
    Grid->SetCells(2, 1, L"1.5");
    Grid->SetCells(3, 1, L"two\r\nlines");
    Grid->SetCells(1, 2, L"");
    Grid->SaveToXLS(Tmp.File("new.xlsx"), true);
    EXPECT_TRUE(InOrder(*Log, {"WorkBooks", "Add", "WorkSheets", "Item(1)", "Range(A1:D3)", "Value=array",
                               "SaveAs(" + U(Tmp.File("new.xlsx")) + ")", "Close(SaveChanges=false)", "Quit"}));
    EXPECT_THROW(GetActiveOleObject(SpreadsheetProgId), EOleSysError);
    if (!HasOpenpyxl()) GTEST_SKIP() << "python3-openpyxl is not installed";
    // Numbers come from the grid as text and stay text.
    EXPECT_EQ(Py("import openpyxl\nwb = openpyxl.load_workbook(r'" + Tmp.Path.string() + "/new.xlsx')\n"
                 "ws = wb.active\nprint(wb.sheetnames, ws.max_row, ws.max_column)\n"
                 "for r in ws.iter_rows(min_row=1, max_row=3):\n"
                 "    print([(c.value, c.data_type) for c in r])\n"),
              "['Sheet1'] 3 4\n"
              "[('r0c0', 's'), ('r0c1', 's'), ('r0c2', 's'), ('r0c3', 's')]\n"
              "[('r1c0', 's'), ('007', 's'), ('1.5', 's'), ('two\\nlines', 's')]\n"
              "[('r2c0', 's'), (None, 'n'), ('r2c2', 's'), ('r2c3', 's')]\n");
}

TEST_F(VodGridXlsTest, WideGridsAddressColumnsInFullBase26)
{
    struct {
        Integer Cols;
        const char* Range;
    } cases[] = {{30, "Range(A1:AD2)"}, {52, "Range(A1:AZ2)"}, {703, "Range(A1:AAA2)"}};
    for (const auto& c : cases) {
        Log->clear();
        Grid->SetColCount(c.Cols);
        Grid->SetRowCount(2);
        Grid->SetCells(c.Cols - 1, 1, L"last");
        Grid->SaveToXLS(Tmp.File("wide.xlsx"), true);
        EXPECT_TRUE(InOrder(*Log, {c.Range})) << c.Cols;
        // The last column's cell lands in that column.
        TComPtr<IDispatch> app = CreateSpreadsheetApplication();
        Variant book = Variant(app).Get(L"WorkBooks").Call(L"Open", {Variant(Tmp.File("wide.xlsx"))});
        EXPECT_EQ(VarToStr(book.Get(L"ActiveSheet").Call(L"Cells", {Variant(Integer(2)), Variant(c.Cols)}).Get(L"Value")),
                  L"last");
        Variant(app).Call(L"Quit");
    }
}

TEST_F(VodGridXlsTest, SheetsListedAndLoadedFromAnOpenpyxlWorkbook)
{
    if (!HasOpenpyxl()) GTEST_SKIP() << "python3-openpyxl is not installed";
    String file = UTF8ToString(OpenpyxlBook());
    std::unique_ptr<TStringList> sheets(Grid->GetXLSSheets(file));
    ASSERT_EQ(sheets->Count(), 3);
    EXPECT_EQ(sheets->Strings(0), L"One");
    EXPECT_EQ(sheets->Strings(1), L"Two");
    EXPECT_EQ(sheets->Strings(2), L"Three");
    EXPECT_TRUE(InOrder(*Log, {"Open(" + U(file) + ")", "Saved=true", "Close(SaveChanges=false)", "Quit"}));

    // $B$2:$D$4 loads into a 3 x 3 data area at (0, 0); a gap keeps the old text.
    Grid->SetCells(2, 2, L"kept");
    Log->clear();
    Grid->LoadFromXLSSheet(file, L"One");
    EXPECT_TRUE(InOrder(*Log, {"Open(" + U(file) + ")", "UsedRange", "Address", "Range(B2:D4)", "Value",
                               "Close(SaveChanges=false)", "Quit"}));
    EXPECT_EQ(Grid->ColCount(), 3);
    EXPECT_EQ(Grid->RowCount(), 3);
    const wchar_t* want[3][3] = {{L"name", L"value", L"flag"}, {L"pi", L"3.25", L"True"}, {L"day", L"43832", L"kept"}};
    for (Integer r = 0; r < 3; ++r)
        for (Integer c = 0; c < 3; ++c) EXPECT_EQ(Grid->Cells(c, r), want[r][c]) << c << "," << r;

    // Without SaveFixedCells the data start after the fixed cells.
    Grid->SetSaveFixedCells(false);
    Grid->SetFixedCols(1);
    Grid->SetFixedRows(1);
    Grid->SetCells(3, 3, L"kept");
    Grid->LoadFromXLSSheet(file, L"One");
    EXPECT_EQ(Grid->ColCount(), 4);
    EXPECT_EQ(Grid->RowCount(), 4);
    EXPECT_EQ(Grid->FixedCols(), 1);
    EXPECT_EQ(Grid->Cells(1, 1), L"name");
    EXPECT_EQ(Grid->Cells(3, 3), L"kept");

    // The active sheet: "Two", A1:C7.
    Grid->SetSaveFixedCells(true);
    Grid->LoadFromXLS(file);
    EXPECT_EQ(Grid->ColCount(), 3);
    EXPECT_EQ(Grid->RowCount(), 7);
    EXPECT_EQ(Grid->Cells(0, 0), L"second");
    EXPECT_EQ(Grid->Cells(2, 6), L"here");

    // One cell, and an empty sheet: its first cell.
    Log->clear();
    Grid->LoadFromXLSSheet(file, L"Three");
    EXPECT_TRUE(InOrder(*Log, {"Rows", "Cells(1,1)", "Value"}));
    EXPECT_EQ(Grid->ColCount(), 1);
    EXPECT_EQ(Grid->RowCount(), 1);
}

TEST_F(VodGridXlsTest, SaveToXLSSheetKeepsTheOtherSheets)
{
    if (!HasOpenpyxl()) GTEST_SKIP() << "python3-openpyxl is not installed";
    String file = UTF8ToString(OpenpyxlBook());
    Fill(2, 2);
    Grid->SaveToXLSSheet(file, L"Two");   // over A1:B2 of "Two"; C7 stays
    Grid->SaveToXLSSheet(file, L"Fresh");   // added before the active sheet
    EXPECT_TRUE(InOrder(*Log, {"Open(" + U(file) + ")", "WorkSheets", "Add", "Name=Fresh", "Save",
                               "Close(SaveChanges=false)", "Quit"}));
    String other = Tmp.File("other.xlsx");   // a new file: a new workbook saved under the name
    Grid->SaveToXLSSheet(other, L"Only");
    EXPECT_EQ(Py("import openpyxl, shutil\n"
                 "wb = openpyxl.load_workbook(r'" + U(file) + "')\n"
                 "print(wb.sheetnames)\n"
                 "print(wb['One']['C3'].value, wb['One']['D3'].value, wb['One']['C4'].value)\n"
                 "print(wb['Two']['A1'].value, wb['Two']['B2'].value, wb['Two']['C7'].value)\n"
                 "print(wb['Fresh']['A1'].value, wb['Fresh']['B2'].value)\n"
                 "print(openpyxl.load_workbook(r'" + U(other) + "').sheetnames)\n"),
              "['One', 'Fresh', 'Two', 'Three']\n"
              "3.25 True 2020-01-02 00:00:00\n"
              "r0c0 r1c1 here\n"
              "r0c0 r1c1\n"
              "['Only', 'Sheet1']\n");
}

TEST_F(VodGridXlsTest, CreateNewSheetOffWritesAtTheRunningServersActiveCell)
{
    if (!HasOpenpyxl()) GTEST_SKIP() << "python3-openpyxl is not installed";
    String file = UTF8ToString(OpenpyxlBook());
    Variant app(CreateSpreadsheetApplication());   // the user's running application
    app.Get(L"WorkBooks").Call(L"Open", {Variant(file)});
    Fill(2, 2);
    String out = Tmp.File("out.xlsx");
    Grid->SaveToXLS(out, false);
    // The application keeps running with the workbook open.
    EXPECT_EQ(app.Get(L"WorkBooks").Get(L"Count").AsInteger(), 1);
    EXPECT_NO_THROW(GetActiveOleObject(SpreadsheetProgId));
    app.Call(L"Quit");
    EXPECT_EQ(Py("import openpyxl\nws = openpyxl.load_workbook(r'" + U(out) + "')['Two']\n"
                 "print(ws['A1'].value, ws['A7'].value, ws['B8'].value, ws['C7'].value)\n"),
              "second r0c0 r1c1 here\n");
    // With no workbook open a new one is added.
    Variant idle(CreateSpreadsheetApplication());
    Grid->SaveToXLS(Tmp.File("idle.xlsx"), false);
    EXPECT_EQ(idle.Get(L"WorkBooks").Get(L"Count").AsInteger(), 1);
    idle.Call(L"Quit");
    EXPECT_EQ(Py("import openpyxl\nws = openpyxl.load_workbook(r'" + Tmp.Path.string() + "/idle.xlsx').active\n"
                 "print(ws['A1'].value, ws['B2'].value)\n"),
              "r0c0 r1c1\n");
}

TEST_F(VodGridXlsTest, FailuresRaiseCloseUnsavedAndQuit)
{
    Fill(3, 3);
    const TBytes before = Snapshot(Grid);
    String legacy = Tmp.File("legacy.xls");
    WriteFile(legacy, std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(600, '\0'));
    std::filesystem::create_directory(Tmp.Path / "adir.xlsx");
    String formula = Tmp.File("formula.xlsx");
    {
        // A workbook whose file holds something the server cannot keep.
        Variant app(CreateSpreadsheetApplication());
        Variant book = app.Get(L"WorkBooks").Call(L"Add");
        book.Call(L"SaveAs", {Variant(formula)});
        app.Call(L"Quit");
        Py("import zipfile\nsrc = zipfile.ZipFile(r'" + U(formula) + "')\n"
           "parts = {n: src.read(n) for n in src.namelist()}\nsrc.close()\n"
           "parts['xl/worksheets/sheet1.xml'] = parts['xl/worksheets/sheet1.xml'].replace(b'<sheetData/>', "
           "b'<sheetData><row r=\"1\"><c r=\"A1\"><f>1+1</f><v>2</v></c></row></sheetData>')\n"
           "dst = zipfile.ZipFile(r'" + U(formula) + "', 'w')\n"
           "[dst.writestr(n, b) for n, b in parts.items()]\ndst.close()\n");
    }
    const std::string legacyBytes = ReadFile(legacy), formulaBytes = ReadFile(formula);
    ASSERT_NE(formulaBytes.find("PK"), std::string::npos);

    struct {
        const char* What;
        std::function<void()> Call;
        const char* Message;
    } cases[] = {
        {"load a legacy workbook", [&] { Grid->LoadFromXLS(legacy); }, "not an .xlsx workbook"},
        {"load a missing file", [&] { Grid->LoadFromXLS(Tmp.File("missing.xlsx")); }, "cannot open"},
        {"list a legacy workbook", [&] { delete Grid->GetXLSSheets(legacy); }, "not an .xlsx workbook"},
        {"load a missing sheet", [&] { Grid->LoadFromXLSSheet(formula, L"Nope"); }, "Excel worksheet Nope not found"},
        {"save into a legacy workbook", [&] { Grid->SaveToXLSSheet(legacy, L"Sheet1"); }, "not an .xlsx workbook"},
        {"save over a folder", [&] { Grid->SaveToXLS(Tmp.File("adir.xlsx"), true); }, "adir.xlsx"},
        {"save dropping a formula", [&] { Grid->SaveToXLSSheet(formula, L"Sheet1"); }, "formulas"},
        {"an unreadable sheet name", [&] { Grid->SaveToXLSSheet(Tmp.File("n.xlsx"), L"a/b"); }, "a/b"},
    };
    // The cursor in use before a call comes back before its error.
    Screen->SetCursor(crIBeam);
    for (const auto& c : cases) {
        Log->clear();
        std::string msg = Raised(c.Call);
        EXPECT_EQ(Screen->Cursor(), crIBeam) << c.What;
        EXPECT_NE(msg.find(c.Message), std::string::npos) << c.What << ": " << msg;
        EXPECT_EQ(msg.rfind("EVodGridError", 0) == 0 || msg.rfind("EOleException", 0) == 0, true) << msg;
        EXPECT_TRUE(InOrder(*Log, {"Quit"})) << c.What;
        EXPECT_THROW(GetActiveOleObject(SpreadsheetProgId), EOleSysError) << c.What;
        EXPECT_EQ(Snapshot(Grid), before) << c.What;
    }
    // No workbook was added in place of the unreadable one, and nothing was written.
    EXPECT_EQ(ReadFile(legacy), legacyBytes);
    EXPECT_EQ(ReadFile(formula), formulaBytes);
    EXPECT_FALSE(std::filesystem::exists(Tmp.Path / "n.xlsx"));
    Screen->SetCursor(crDefault);

    // A workbook opened or added by the call is closed unsaved before the quit.
    Log->clear();
    Raised([&] { Grid->SaveToXLSSheet(formula, L"Sheet1"); });
    ExpectClosedAndQuit("save dropping a formula");
    Log->clear();
    Raised([&] { Grid->LoadFromXLSSheet(formula, L"Nope"); });
    ExpectClosedAndQuit("missing sheet");

    // A value read the server refuses: "Incorrect Excel file", the grid unchanged.
    Grid->SaveToXLS(Tmp.File("two.xlsx"), true);
    SpreadsheetServerLimits().MaxValueCells = 1;
    Log->clear();
    EXPECT_EQ(Raised([&] { Grid->LoadFromXLS(Tmp.File("two.xlsx")); }), "Exception: Incorrect Excel file");
    ExpectClosedAndQuit("value read refused");
    EXPECT_EQ(Snapshot(Grid), before);
}

TEST_F(VodGridXlsTest, WithoutAServerNothingChanges)
{
    TOleServerScope none(SpreadsheetProgId, []() -> TComPtr<IDispatch> {
        throw EOleSysError(L"Invalid class string", CO_E_CLASSSTRING);
    });
    Fill(2, 2);
    const TBytes before = Snapshot(Grid);
    String file = Tmp.File("none.xlsx");
    const std::function<void()> calls[] = {
        [&] { Grid->SaveToXLS(file, true); }, [&] { Grid->SaveToXLSSheet(file, L"S"); },
        [&] { Grid->LoadFromXLS(file); },     [&] { Grid->LoadFromXLSSheet(file, L"S"); },
        [&] { delete Grid->GetXLSSheets(file); },
    };
    for (const auto& call : calls) EXPECT_EQ(Raised(call), "EVodGridError: Excel OLE server not found");
    EXPECT_EQ(Snapshot(Grid), before);
    EXPECT_FALSE(std::filesystem::exists(Tmp.Path / "none.xlsx"));
}

TEST_F(VodGridXlsTest, MutatedWorkbooksLoadOrChangeNothing)
{
    // A good workbook written by the server, then damaged at random: each
    // load either reads or raises with the grid as it was and no server left.
    String good = Tmp.File("good.xlsx");
    {
        Variant app(CreateSpreadsheetApplication());
        Variant book = app.Get(L"WorkBooks").Call(L"Add");
        Variant values = VarArrayCreate({1, 2, 1, 3}, varVariant);
        values.PutElement({1, 1}, Variant(String(L"text")));
        values.PutElement({1, 2}, Variant(2.5));
        values.PutElement({2, 3}, Variant(true));
        book.Get(L"ActiveSheet").Call(L"Range", {Variant(String(L"B2:D3"))}).Set(L"Value", values);
        book.Call(L"SaveAs", {Variant(good)});
        app.Call(L"Quit");
    }
    const std::string bytes = ReadFile(good);
    ASSERT_GT(bytes.size(), 1000u);
    String mutant = Tmp.File("mutant.xlsx");
    std::mt19937 rng(29);
    int loaded = 0;
    for (int round = 0; round < 120; ++round) {
        std::string b = bytes;
        const int flips = 1 + int(rng() % 6);
        for (int i = 0; i < flips; ++i) b[rng() % b.size()] = char(rng());
        if (round % 8 == 0) b.resize(rng() % b.size());
        WriteFile(mutant, b);
        Fill(2, 2);
        const TBytes before = Snapshot(Grid);
        try {
            Grid->LoadFromXLS(mutant);
            ++loaded;
        } catch (const Exception& e) {
            EXPECT_FALSE(e.Message().empty());
            EXPECT_EQ(Snapshot(Grid), before) << round;
        }
        EXPECT_THROW(GetActiveOleObject(SpreadsheetProgId), EOleSysError) << round;
    }
    EXPECT_LT(loaded, 120);
}

TEST_F(VodGridXlsTest, ADroppedWorkbookLoadsThroughTheServerAndAFailureComesAfterTheDrop)
{
    // A workbook the grid writes itself, dropped as a file on the grid.
    Fill(3, 2);
    String file = Tmp.File("drop.xlsx");
    Grid->SaveToXLS(file, true);
    Grid->SetColCount(1);
    Grid->SetRowCount(1);
    Grid->SetCells(0, 0, L"");
    Grid->DragDropSettings()->SetOleDropTarget(true);
    TGridDropTarget* t = Grid->GridDropTarget();
    ASSERT_NE(t, nullptr);
    auto drop = [&](const String& name) {
        TComPtr<TDataObject> files(new TDataObject);
        files->SetFiles({name});
        const TPoint p = Grid->ClientToScreen(TPoint{10, 10});
        DWORD eff = DROPEFFECT_COPY;
        t->DragEnter(files.Get(), MK_LBUTTON, POINTL{p.X, p.Y}, &eff);
        eff = DROPEFFECT_COPY;
        t->Drop(files.Get(), 0, POINTL{p.X, p.Y}, &eff);
        return eff;
    };
    drop(file);
    EXPECT_EQ(t->TakeDropError(), nullptr);
    EXPECT_EQ(Grid->ColCount(), 3);
    EXPECT_EQ(Grid->RowCount(), 2);
    EXPECT_EQ(Grid->Cells(2, 1), L"r1c2");
    EXPECT_TRUE(InOrder(*Log, {"Open(" + U(file) + ")", "Close(SaveChanges=false)", "Quit"}));

    // Without a server the drop has no effect and its error reaches the
    // application's exception handling after the drop; the grid keeps its
    // cells.
    TOleServerScope none(SpreadsheetProgId, []() -> TComPtr<IDispatch> {
        throw EOleSysError(L"Invalid class string", CO_E_CLASSSTRING);
    });
    std::vector<String> handled;
    Application->OnException = [&](TObject*, const std::exception& E) {
        const auto* e = dynamic_cast<const Exception*>(&E);
        handled.push_back(e ? e->Message() : String(L"?"));
    };
    EXPECT_EQ(drop(file), DWORD(DROPEFFECT_NONE));
    EXPECT_TRUE(handled.empty());
    Drv->Advance(20);
    EXPECT_EQ(handled, std::vector<String>{L"Excel OLE server not found"});
    Application->OnException = nullptr;
    EXPECT_EQ(Grid->Cells(2, 1), L"r1c2");
}
