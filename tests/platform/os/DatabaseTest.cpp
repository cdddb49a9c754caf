// The database connection and record set over SQLite files that the tests
// make with the sqlite3 library, reached through the automation registry.
#include <gtest/gtest.h>

#include <sqlite3.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/base/ComObj.h"
#include "platform/base/SysUtils.h"
#include "platform/os/AutomationServers.h"
#include "platform/os/Database.h"

namespace {

class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterAutomationServers();
        char tmpl[] = "/tmp/vel_db_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        FDir = tmpl;
    }
    void TearDown() override { std::filesystem::remove_all(FDir); }

    std::string Path(const char* name) const { return FDir + "/" + name; }

    // Runs the statements on a new database file.
    std::string MakeDatabase(const char* name, const std::string& sql)
    {
        std::string path = Path(name);
        sqlite3* db = nullptr;
        EXPECT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
        char* err = nullptr;
        EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err), SQLITE_OK) << (err ? err : "");
        sqlite3_free(err);
        sqlite3_close(db);
        return path;
    }

    static Variant Connect(const std::string& path)
    {
        Variant conn(CreateOleObject(L"ADODB.Connection"));
        conn.Call(L"Open", {L"Driver={Microsoft Access Driver (*.mdb)};DBQ=" + UTF8ToString(path)});
        return conn;
    }

    static Variant Query(const Variant& conn, const String& sql)
    {
        Variant rs(CreateOleObject(L"ADODB.RecordSet"));
        rs.Set(L"ActiveConnection", conn);
        rs.Call(L"Open", {sql});
        return rs;
    }

    std::string FDir;
};

TEST_F(DatabaseTest, TypesNullsAndSizes)
{
    std::string path = MakeDatabase("types.db",
                                    "CREATE TABLE t(i INTEGER, big INTEGER, r REAL, s TEXT, b BLOB);"
                                    "INSERT INTO t VALUES(42, 5000000000, 2.5, 'Stra\xc3\x9f" "e', x'00FF10');"
                                    "INSERT INTO t VALUES(NULL, NULL, NULL, '', x'');");
    Variant conn = Connect(path);
    Variant rs = Query(conn, L"SELECT * FROM t");
    Variant fields = rs.Get(L"Fields");
    ASSERT_EQ(fields.Get(L"Count").AsInteger(), 5);
    EXPECT_EQ(rs.Get(L"RecordCount").AsInteger(), 2);

    struct Expect {
        const Char* Name;
        TVarType Type;
        const Char* Text;
        Integer Size;
    };
    const Expect first[] = {{L"i", varInteger, L"42", 8},
                            {L"big", varInt64, L"5000000000", 8},
                            {L"r", varDouble, L"2.5", 8},
                            {L"s", varOleStr, L"Stra\u00dfe", 7},   // stored bytes (UTF-8)
                            {L"b", varArray | varByte, nullptr, 3}};
    ASSERT_FALSE(rs.Get(L"Eof").AsBoolean());
    for (Integer i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        Variant f = fields.Call(L"Item", {i});
        EXPECT_EQ(VarToStr(f.Get(L"Name")), first[i].Name);
        Variant v = f.Get(L"Value");
        EXPECT_EQ(v.VarType(), first[i].Type);
        if (first[i].Text) {
            TFormatSettingsScope us(DefaultFormatSettings());
            EXPECT_EQ(VarToStr(v), first[i].Text);
        }
        EXPECT_EQ(f.Get(L"ActualSize").AsInteger(), first[i].Size);
    }
    // Items by name, without regard to case; the default member is Item and
    // a field's default member is Value.
    EXPECT_EQ(fields.Call(L"Item", {L"S"}).Get(L"Value").AsString(), L"Stra\u00dfe");
    Variant blob = fields.Call(L"Item", {4}).Get(L"Value");
    const std::vector<Byte>* bytes = blob.ArrayBytes();
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(*bytes, (std::vector<Byte>{0x00, 0xFF, 0x10}));

    rs.Call(L"MoveNext");
    ASSERT_FALSE(rs.Get(L"Eof").AsBoolean());
    for (Integer i = 0; i < 5; ++i) {
        Variant f = fields.Call(L"Item", {i});
        EXPECT_EQ(f.Get(L"ActualSize").AsInteger(), 0) << i;
        if (i < 3) {
            EXPECT_TRUE(VarIsNull(f.Get(L"Value"))) << i;
        }
    }
    EXPECT_EQ(fields.Call(L"Item", {3}).Get(L"Value").AsString(), L"");

    rs.Call(L"MoveNext");
    EXPECT_TRUE(rs.Get(L"Eof").AsBoolean());
    EXPECT_THROW(fields.Call(L"Item", {0}).Get(L"Value"), EOleException);   // no current record
    EXPECT_THROW(rs.Call(L"MoveNext"), EOleException);
    EXPECT_THROW(fields.Call(L"Item", {5}), EOleException);
    EXPECT_THROW(fields.Call(L"Item", {L"nope"}), EOleException);
    rs.Call(L"Close");
    conn.Call(L"Close");
    EXPECT_THROW(rs.Get(L"Eof"), EOleException);
}

TEST_F(DatabaseTest, NoRowsAndManyRows)
{
    std::string path = MakeDatabase("rows.db",
                                    "CREATE TABLE t(n INTEGER, s TEXT);"
                                    "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 5000)"
                                    " INSERT INTO t SELECT x, 'row ' || x FROM c;");
    Variant conn = Connect(path);
    Variant none = Query(conn, L"SELECT * FROM t WHERE n < 0");
    EXPECT_TRUE(none.Get(L"Eof").AsBoolean());
    EXPECT_EQ(none.Get(L"RecordCount").AsInteger(), 0);
    EXPECT_EQ(none.Get(L"Fields").Get(L"Count").AsInteger(), 2);

    Variant rs = Query(conn, L"SELECT n, s FROM t ORDER BY n");
    // Counting does not move the cursor, before, during or after reading.
    EXPECT_EQ(rs.Get(L"RecordCount").AsInteger(), 5000);
    Variant n = rs.Get(L"Fields").Call(L"Item", {0});
    Variant s = rs.Get(L"Fields").Call(L"Item", {L"s"});
    Integer expected = 1;
    while (!rs.Get(L"Eof").AsBoolean()) {
        ASSERT_EQ(n.Get(L"Value").AsInteger(), expected);
        ASSERT_EQ(s.Get(L"Value").AsString(), L"row " + IntToStr(expected));
        if (expected == 2500) {
            EXPECT_EQ(rs.Get(L"RecordCount").AsInteger(), 5000);
        }
        rs.Call(L"MoveNext");
        ++expected;
    }
    EXPECT_EQ(expected, 5001);
    EXPECT_EQ(rs.Get(L"RecordCount").AsInteger(), 5000);
}

TEST_F(DatabaseTest, FailuresRaiseTheLibrarysMessage)
{
    // A missing file is an error, and is not created.
    Variant conn(CreateOleObject(L"ADODB.Connection"));
    try {
        conn.Call(L"Open", {L"DBQ=" + UTF8ToString(Path("missing.mdb"))});
        FAIL();
    } catch (const EOleException& e) {
        EXPECT_NE(e.Message().find(L"unable to open database file"), String::npos) << UTF8Encode(e.Message());
    }
    EXPECT_FALSE(std::filesystem::exists(Path("missing.mdb")));

    // A file that is not a database.
    {
        FILE* f = fopen(Path("text.mdb").c_str(), "wb");
        fputs("Standard Jet DB\nthis is not an SQLite file, only some text to fill the header...........\n", f);
        fclose(f);
    }
    try {
        conn.Call(L"Open", {L"Data Source=\"" + UTF8ToString(Path("text.mdb")) + L"\""});
        FAIL();
    } catch (const EOleException& e) {
        EXPECT_NE(e.Message().find(L"file is not a database"), String::npos) << UTF8Encode(e.Message());
    }

    // Bad SQL, a missing table, a second statement, a write on the read-only
    // connection: all raise, and the first one is never run.
    std::string path = MakeDatabase("one.db", "CREATE TABLE t(a); INSERT INTO t VALUES(1);");
    Variant good = Connect(path);
    for (const Char* sql : {L"SELEC * FROM t", L"SELECT * FROM nope", L"SELECT * FROM t; DELETE FROM t",
                            L"DELETE FROM t", L"   "}) {
        SCOPED_TRACE(UTF8Encode(sql));
        Variant rs(CreateOleObject(L"ADODB.RecordSet"));
        rs.Set(L"ActiveConnection", good);
        EXPECT_THROW(rs.Call(L"Open", {String(sql)}), EOleException);
    }
    Variant rs = Query(good, L"SELECT count(*) FROM t");
    EXPECT_EQ(rs.Get(L"Fields").Call(L"Item", {0}).Get(L"Value").AsInteger(), 1);

    // A record set without a connection, and one given a text.
    Variant lone(CreateOleObject(L"ADODB.RecordSet"));
    EXPECT_THROW(lone.Call(L"Open", {L"SELECT 1"}), EOleException);
    EXPECT_THROW(lone.Set(L"ActiveConnection", L"DBQ=x"), EOleException);
}

TEST_F(DatabaseTest, ConnectionStrings)
{
    struct Case {
        const Char* Text;
        const Char* File;
    };
    const Case cases[] = {
        {L"Driver={Microsoft Access Driver (*.mdb)};DBQ=/data/a.mdb", L"/data/a.mdb"},
        {L"DBQ={/data/with;semi.mdb};Other=1", L"/data/with;semi.mdb"},
        {L"Provider=x; Data Source = \"/data/q \"\"x\"\".db\" ;", L"/data/q \"x\".db"},
        {L"data source='/d/b.db'", L"/d/b.db"},
        {L"Driver={x=y;z}", L""},
        {L"", L""},
        {L"DBQ=", L""},
    };
    for (const Case& c : cases) EXPECT_EQ(DatabaseFileFromConnectionString(c.Text), c.File) << UTF8Encode(c.Text);
}

}  // namespace
