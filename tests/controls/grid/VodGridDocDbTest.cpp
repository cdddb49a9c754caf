// Document export against a fake word processor (the calls in order) and
// without one; database import from SQLite files made with Python's sqlite3
// module, and from a fake record set that cannot count its records.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "platform/os/Database.h"
#include "tests/controls/grid/GridFileSupport.h"
#include "tests/controls/grid/OfficeFakes.h"
#include "tests/controls/grid/StringGridFixture.h"

using namespace gridfiles;
using namespace officefakes;

namespace {

std::string Python() { return access("/usr/bin/python3", X_OK) == 0 ? "/usr/bin/python3" : "python3"; }

class VodGridDocDbTest : public TStringGridFixture<TVodStringGrid> {
protected:
    template <class F>
    static std::string Raised(F&& f)
    {
        try {
            f();
        } catch (const Exception& e) {
            return UTF8Encode(e.ClassName() + L": " + e.Message());
        }
        return "(no exception)";
    }

    // A word processor whose documents hold the given bookmarks.
    void FakeWord(int openDocuments, const std::string& bookmark = "")
    {
        World.Answer = [this, openDocuments, bookmark](const std::string& kind, const std::string& m,
                                                       const TAutoArgs& a) -> Variant {
            if (m == "Documents" || m == "Selection" || m == "Bookmarks" || m == "Tables" || m == "Paragraphs" ||
                m == "ParagraphFormat")
                return TFake::Make(m, &World);
            if (m == "ActiveDocument" || m == "Open" || (kind == "Documents" && m == "Add")) return TFake::Make("Doc", &World);
            if (m == "Count") return Variant(Integer(openDocuments));
            if (m == "Exists") return Variant(UTF8Encode(VarToStr(a[0])) == bookmark);
            if (m == "Range" || m == "Goto") return kind == "Selection" ? Variant() : TFake::Make("Range", &World);
            if (kind == "Tables" && m == "Add") return TFake::Make("Table", &World);
            if (m == "Cell") return TFake::Make("Cell", &World);
            if (m == "End") return Variant(Integer(42));
            return Variant();
        };
        Word.reset();   // the scopes restore in reverse order
        Word = std::make_unique<TOleServerScope>(L"word.application", [this] {
            return TComPtr<IDispatch>(TFake::Make("App", &World).AsDispatch());
        });
    }

    // A SQLite file made by Python from the statements.
    String Database(const std::string& statements)
    {
        String file = Tmp.File("db.sqlite");
        std::string py = Tmp.Path.string() + "/make.py";
        std::ofstream(py) << "import sqlite3\nc = sqlite3.connect(r'" << Tmp.Path.string() << "/db.sqlite')\n"
                          << "c.executescript(r'''" << statements << "''')\nc.commit()\nc.close()\n";
        EXPECT_EQ(std::system((Python() + " " + py).c_str()), 0);
        return file;
    }

    TScratchDir Tmp;
    TFakeWorld World;
    std::unique_ptr<TOleServerScope> Word;
};

}  // namespace

TEST_F(VodGridDocDbTest, SaveToDOCAddsTheGridAsATable)
{
    FakeWord(0);
    Grid->SetColCount(3);
    Grid->SetRowCount(2);
    Grid->SetText(L"Caption");
    Grid->SetCells(0, 0, L"a");
    Grid->SetCells(1, 0, L"b");
    Grid->SetCells(2, 1, L"12");
    Grid->OnGetAlignment = [](TObject*, Integer, Integer ACol, TAlignment& HAlign, TVAlignment&) {
        if (ACol == 2) HAlign = taRightJustify;
        if (ACol == 1) HAlign = taCenter;
    };
    Grid->SaveToDOC(L"/tmp/out.doc", false);
    std::vector<std::string> want = {
        "App.Documents()", "Documents.Count()", "Documents.Add()", "Doc.ShowSpellingErrors=false",
        "App.Selection()", "Selection.TypeText(Text=Caption)", "App.Selection()", "Selection.TypeParaGraph()",
        "Doc.Range(Start=0,End=0)", "Doc.Tables()", "Tables.Add(Range=obj,NumRows=2,NumColumns=3)"};
    for (int r = 1; r <= 2; ++r)
        for (int c = 1; c <= 3; ++c) {
            std::string text = r == 1 && c == 1 ? "a" : r == 1 && c == 2 ? "b" : r == 2 && c == 3 ? "12" : "";
            want.push_back("Table.Cell(Row=" + std::to_string(r) + ",Column=" + std::to_string(c) + ")");
            want.push_back("Cell.Range()");
            want.push_back("Range.InsertAfter(Text=" + text + ")");
            if (c == 3) want.insert(want.end(), {"Range.ParagraphFormat()", "ParagraphFormat.Alignment=2"});
            if (c == 2) want.insert(want.end(), {"Range.ParagraphFormat()", "ParagraphFormat.Alignment=1"});
        }
    want.insert(want.end(), {"Doc.SaveAs(FileName=/tmp/out.doc)", "App.Quit()"});
    EXPECT_EQ(World.Log, want);

    // With documents open and CreateNewDocument off: the active document.
    World.Log.clear();
    FakeWord(2);
    Grid->SaveToDOC(L"/tmp/out.doc", false);
    EXPECT_TRUE(InOrder(World.Log, {"Documents.Count()", "App.ActiveDocument()"}));
    World.Log.clear();
    Grid->SaveToDOC(L"/tmp/out.doc", true);
    EXPECT_TRUE(InOrder(World.Log, {"App.Documents()", "Documents.Add()"}));
}

TEST_F(VodGridDocDbTest, AppendToDocAtABookmarkOrAtTheEnd)
{
    FakeWord(0, "mark");
    Grid->SetColCount(1);
    Grid->SetRowCount(1);
    Grid->AppendToDoc(L"/tmp/in.doc", L"mark");
    EXPECT_TRUE(InOrder(World.Log, {"Documents.Open(Source=/tmp/in.doc)", "Bookmarks.Exists(Name=mark)",
                                    "Doc.Goto(What=-1,Name=mark)", "Tables.Add(Range=obj,NumRows=1,NumColumns=1)",
                                    "Doc.SaveAs(FileName=/tmp/in.doc)", "App.Quit()"}));
    // A bookmark the document lacks appends after the last line, like none.
    for (const wchar_t* bookmark : {L"other", L""}) {
        World.Log.clear();
        Grid->AppendToDoc(L"/tmp/in.doc", bookmark);
        EXPECT_TRUE(InOrder(World.Log, {"Paragraphs.Add()", "App.Selection()", "Selection.Goto(What=3,Which=-1)",
                                        "Selection.End()", "Doc.Range(Start=42,End=42)", "Tables.Add(Range=obj,NumRows=1,NumColumns=1)"}))
            << UTF8Encode(bookmark);
    }
}

TEST_F(VodGridDocDbTest, WithoutAWordProcessorNothingHappens)
{
    const TBytes before = Snapshot(Grid);
    EXPECT_EQ(Raised([&] { Grid->SaveToDOC(Tmp.File("a.doc"), true); }), "EVodGridError: Word OLE server not found");
    EXPECT_EQ(Raised([&] { Grid->AppendToDoc(Tmp.File("a.doc"), L""); }), "EVodGridError: Word OLE server not found");
    EXPECT_EQ(Snapshot(Grid), before);
    EXPECT_FALSE(std::filesystem::exists(Tmp.Path / "a.doc"));
}

TEST_F(VodGridDocDbTest, LoadFromMDBTable)
{
    String db = Database("CREATE TABLE t (id INTEGER, name TEXT, note TEXT);"
                         "INSERT INTO t VALUES (1, 'one', NULL), (2, 'it''s', 'x'), (3, 'äöü', ''),"
                         " (4, 'four', 'y'), (5, 'five', 'z');"
                         "CREATE TABLE \"odd \"\"name\"\"\" (v TEXT); INSERT INTO \"odd \"\"name\"\"\" VALUES ('odd');"
                         "CREATE TABLE empty (a, b);");
    Grid->SetFixedCols(1);
    Grid->SetFixedRows(1);
    Grid->SetCells(3, 1, L"replaced");
    Grid->LoadFromMDBTable(db, L"t");
    EXPECT_EQ(Grid->ColCount(), 4);
    EXPECT_EQ(Grid->FixedCols(), 1);
    EXPECT_EQ(Grid->RowCount(), 6);
    const wchar_t* want[6][3] = {{L"id", L"name", L"note"}, {L"1", L"one", L""}, {L"2", L"it's", L"x"},
                                 {L"3", L"äöü", L""},       {L"4", L"four", L"y"}, {L"5", L"five", L"z"}};
    for (Integer r = 0; r < 6; ++r)
        for (Integer c = 0; c < 3; ++c) EXPECT_EQ(Grid->Cells(c + 1, r), want[r][c]) << c << "," << r;

    Grid->LoadFromMDBTable(db, L"odd \"name\"");
    EXPECT_EQ(Grid->Cells(1, 1), L"odd");
    Grid->LoadFromMDBSQL(db, L"SELECT name FROM t WHERE id > 3");
    EXPECT_EQ(Grid->Cells(1, 2), L"five");
    Grid->LoadFromMDBTable(db, L"empty");
    EXPECT_EQ(Grid->ColCount(), 3);

    // An injection attempt fails as a missing table, and the table survives.
    Grid->SetRowCount(2);
    const TBytes before = Snapshot(Grid);
    EXPECT_NE(Raised([&] { Grid->LoadFromMDBTable(db, L"t; DROP TABLE t"); }).find("no such table"), std::string::npos);
    EXPECT_NE(Raised([&] { Grid->LoadFromMDBSQL(db, L"SELECT nothing FROM t"); }), "(no exception)");
    EXPECT_NE(Raised([&] { Grid->LoadFromMDBTable(Tmp.File("missing.db"), L"t"); }), "(no exception)");
    EXPECT_EQ(Raised([&] { Grid->LoadFromMDBTable(Tmp.File("a}b.db"), L"t"); }).rfind("EVodGridError", 0), 0u);
    EXPECT_EQ(Snapshot(Grid), before);
    Grid->LoadFromMDBTable(db, L"t");
    EXPECT_EQ(Grid->RowCount(), 6);
}

TEST_F(VodGridDocDbTest, RecordSetsThatCannotCountAndFailingOnes)
{
    // A record set answering RecordCount -1 with three records of one field.
    int record = 0;
    bool failAt2 = false;
    World.Answer = [&](const std::string& kind, const std::string& m, const TAutoArgs&) -> Variant {
        if (m == "Fields") return TFake::Make("Fields", &World);
        if (m == "Item") return TFake::Make("Field", &World);
        if (m == "Count") return Variant(Integer(1));
        if (m == "Name") return Variant(String(L"f"));
        if (m == "RecordCount") return Variant(Integer(-1));
        if (m == "Eof") return Variant(record >= 3);
        if (m == "ActualSize") return Variant(Integer(record == 1 ? 0 : 4));
        if (m == "Value") {
            if (failAt2 && record == 2) throw Exception(L"provider failed");
            return Variant(L"v" + IntToStr(record));
        }
        if (m == "MoveNext") ++record;
        (void)kind;
        return Variant();
    };
    TOleServerScope conn(L"ADODB.Connection", [&] { return TFake::Make("Conn", &World).AsDispatch(); });
    TOleServerScope rs(L"ADODB.RecordSet", [&] { return TFake::Make("RS", &World).AsDispatch(); });
    Grid->SetFixedRows(1);
    Grid->SetFixedCols(0);
    Grid->SetRowCount(2);
    Grid->LoadFromMDBSQL(L"/x/a.mdb", L"SELECT f FROM t");
    EXPECT_TRUE(InOrder(World.Log, {"Conn.Open(Source=Driver={Microsoft Access Driver (*.mdb)};DBQ={/x/a.mdb})",
                                    "RS.ActiveConnection=obj", "RS.Open(Source=SELECT f FROM t)", "RS.Close()", "Conn.Close()"}));
    EXPECT_EQ(Grid->RowCount(), 4);   // grown only for records that came
    EXPECT_EQ(Grid->Cells(0, 0), L"f");
    EXPECT_EQ(Grid->Cells(0, 1), L"v0");
    EXPECT_EQ(Grid->Cells(0, 2), L"");
    EXPECT_EQ(Grid->Cells(0, 3), L"v2");

    // A provider failing mid-way: both objects closed, the grid unchanged.
    record = 0;
    failAt2 = true;
    World.Log.clear();
    const TBytes before = Snapshot(Grid);
    EXPECT_NE(Raised([&] { Grid->LoadFromMDBSQL(L"/x/a.mdb", L"SELECT f FROM t"); }).find("provider failed"),
              std::string::npos);
    EXPECT_TRUE(InOrder(World.Log, {"RS.Close()", "Conn.Close()"}));
    EXPECT_EQ(Snapshot(Grid), before);
}
