// The automation servers against the libraries under them, in alternating
// rounds, with medians and their ratio:
//  - loading a 50 MB XML file through the XML document object's load
//    beside libxml2 parsing the same file into a tree on its own
//    (goal: at most 2x the time);
//  - reading 1,000,000 records through the record set (RecordCount, then
//    every field's Value, Eof and MoveNext, late-bound as an importer does)
//    beside a bare sqlite3 step loop reading the same columns
//    (goal: at most 3x the time).
//
//   bench_automation [xml|records]   (both when not named)
#include <libxml/parser.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "platform/base/ComObj.h"
#include "platform/os/AutomationServers.h"
#include "BenchStats.h"

namespace {

double Seconds(const std::function<void()>& fn)
{
    auto t0 = std::chrono::steady_clock::now();
    fn();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

void Compare(const char* what, const char* peer, int rounds, const std::function<void()>& ours,
             const std::function<void()>& theirs, double goal)
{
    std::vector<double> a, b;
    for (int r = 0; r < rounds; ++r) {
        a.push_back(Seconds(ours));
        b.push_back(Seconds(theirs));
    }
    double ma = Median(a), mb = Median(b);
    std::printf("%-44s %9.3f s   %-28s %9.3f s   ratio %.2f (goal <= %.1f) %s\n", what, ma, peer, mb, ma / mb, goal,
                ma / mb <= goal ? "ok" : "MISSED");
}

std::string MakeXml(const std::string& dir)
{
    std::string path = dir + "/big.xml";
    FILE* f = fopen(path.c_str(), "wb");
    fputs("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<list>\n", f);
    size_t written = 0;
    for (long i = 0; written < 50u * 1024 * 1024; ++i) {
        char line[512];
        int n = snprintf(line, sizeof line,
                         "  <rec id=\"%ld\" kind=\"k%ld\">\n    <name>Name number %ld &amp; caf\xc3\xa9</name>\n"
                         "    <price>%ld.50</price>\n    <note>Some longer text of a note, record %ld</note>\n"
                         "  </rec>\n",
                         i, i % 7, i, i % 1000, i);
        fwrite(line, 1, size_t(n), f);
        written += size_t(n);
    }
    fputs("</list>\n", f);
    fclose(f);
    return path;
}

std::string MakeDatabase(const std::string& dir, int rows)
{
    std::string path = dir + "/big.db";
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_exec(db,
                 "CREATE TABLE t(id INTEGER, name TEXT, price REAL, qty INTEGER);"
                 "BEGIN;",
                 nullptr, nullptr, nullptr);
    sqlite3_stmt* ins = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO t VALUES(?, ?, ?, ?)", -1, &ins, nullptr);
    for (int i = 0; i < rows; ++i) {
        std::string name = "Item " + std::to_string(i);
        sqlite3_bind_int(ins, 1, i);
        sqlite3_bind_text(ins, 2, name.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(ins, 3, i * 0.25);
        if (i % 10)
            sqlite3_bind_int(ins, 4, i % 100);
        else
            sqlite3_bind_null(ins, 4);
        sqlite3_step(ins);
        sqlite3_reset(ins);
    }
    sqlite3_finalize(ins);
    sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return path;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string only = argc > 1 ? argv[1] : "";
    RegisterAutomationServers();
    char tmpl[] = "/tmp/vel_bench_auto_XXXXXX";
    std::string dir = mkdtemp(tmpl) ? tmpl : "/tmp";
    const int rounds = 5;

    if (only != "records") {
    std::string xml = MakeXml(dir);
    String xmlName = UTF8ToString(xml);
    Compare(
        "XML document load (50 MB)", "libxml2 xmlReadFile", rounds,
        [&] {
            Variant doc(CreateOleObject(L"Microsoft.XMLDOM"));
            if (!doc.Call(L"load", {xmlName}).AsBoolean()) std::abort();
        },
        [&] {
            xmlDocPtr d = xmlReadFile(xml.c_str(), nullptr, XML_PARSE_NONET);
            if (!d) std::abort();
            xmlFreeDoc(d);
        },
        2.0);
    }

    if (only != "xml") {
    const int rows = 1000000;
    std::string dbPath = MakeDatabase(dir, rows);
    String dbName = UTF8ToString(dbPath);
    Compare(
        "record set, 1,000,000 records, every Value", "sqlite3 step loop", rounds,
        [&] {
            Variant conn(CreateOleObject(L"ADODB.Connection"));
            conn.Call(L"Open", {L"Driver={Microsoft Access Driver (*.mdb)};DBQ=" + dbName});
            Variant rs(CreateOleObject(L"ADODB.RecordSet"));
            rs.Set(L"ActiveConnection", conn);
            rs.Call(L"Open", {L"SELECT * FROM t"});
            Variant fields = rs.Get(L"Fields");
            Integer n = fields.Get(L"Count").AsInteger();
            if (rs.Get(L"RecordCount").AsInteger() != rows) std::abort();
            long seen = 0;
            size_t chars = 0;
            while (!rs.Get(L"Eof").AsBoolean()) {
                for (Integer i = 0; i < n; ++i) {
                    Variant v = fields.Call(L"Item", {i}).Get(L"Value");
                    if (v.VarType() == varOleStr) chars += v.AsString().size();
                }
                rs.Call(L"MoveNext");
                ++seen;
            }
            rs.Call(L"Close");
            conn.Call(L"Close");
            if (seen != rows || chars == 0) std::abort();
        },
        [&] {
            sqlite3* db = nullptr;
            sqlite3_open_v2(dbPath.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
            sqlite3_stmt* st = nullptr;
            sqlite3_prepare_v2(db, "SELECT * FROM t", -1, &st, nullptr);
            long seen = 0;
            size_t chars = 0;
            double sum = 0;
            while (sqlite3_step(st) == SQLITE_ROW) {
                sum += double(sqlite3_column_int64(st, 0));
                const unsigned char* s = sqlite3_column_text(st, 1);
                chars += size_t(sqlite3_column_bytes(st, 1)) + (s ? 0 : 1);
                sum += sqlite3_column_double(st, 2);
                if (sqlite3_column_type(st, 3) != SQLITE_NULL) sum += double(sqlite3_column_int64(st, 3));
                ++seen;
            }
            sqlite3_finalize(st);
            sqlite3_close(db);
            if (seen != rows || chars == 0 || sum < 0) std::abort();
        },
        3.0);
    }

    std::string cleanup = "rm -rf '" + dir + "'";
    if (system(cleanup.c_str()) != 0) std::perror("cleanup");
    return 0;
}
