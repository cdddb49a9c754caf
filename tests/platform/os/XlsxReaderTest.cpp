// The .xlsx reader over workbooks written at test time: by openpyxl (when
// installed) and by hand with Python's zipfile, including hostile packages.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>

#include "platform/base/SysUtils.h"
#include "platform/os/XlsxReader.h"
#include "tests/platform/os/XlsxFixtures.h"

namespace {

using namespace xlsxfixtures;

class XlsxReaderTest : public TXlsxFixture {};

void ExpectRaises(const std::string& file, const std::wstring& cause, const TXlsxLimits& limits = TXlsxLimits())
{
    try {
        ReadXlsxWorkbook(UTF8ToString(file), limits);
        ADD_FAILURE() << file << " read without error, expected " << UTF8Encode(cause);
    } catch (const EXlsxError& e) {
        EXPECT_NE(e.Message().find(UTF8ToString(file)), String::npos) << e.what();
        EXPECT_NE(e.Message().find(cause), String::npos) << e.what();
    }
}

}  // namespace

TEST(XlsxCellRef, Table)
{
    struct Case {
        const wchar_t* Ref;
        int Row, Col;  // 0: refused
    } cases[] = {{L"A1", 1, 1},          {L"$B$12", 12, 2},      {L"b3", 3, 2},
                 {L"XFD1048576", 1048576, 16384}, {L"XFE1", 0, 0}, {L"A1048577", 0, 0},
                 {L"A0", 0, 0},          {L"AAAA1", 0, 0},       {L"1A", 0, 0},
                 {L"A", 0, 0},           {L"A1B", 0, 0},         {L"", 0, 0},
                 {L"A99999999999", 0, 0}};
    for (const auto& c : cases) {
        int r = -1, col = -1;
        bool ok = XlsxParseCellRef(c.Ref, r, col);
        EXPECT_EQ(ok, c.Row != 0) << UTF8Encode(c.Ref);
        if (ok) {
            EXPECT_EQ(r, c.Row) << UTF8Encode(c.Ref);
            EXPECT_EQ(col, c.Col) << UTF8Encode(c.Ref);
        }
    }
}

TEST_F(XlsxReaderTest, ReadsWhatOpenpyxlWrites)
{
    if (!HasOpenpyxl()) GTEST_SKIP() << "python3-openpyxl is not installed";
    std::string file = Dir + "/py.xlsx";
    RunPython("import openpyxl, datetime\n"
              "wb = openpyxl.Workbook()\n"
              "ws = wb.active\nws.title = 'First'\n"
              "ws['A1'] = 'text'\nws['B1'] = 'text'\nws['C1'] = '12'\n"
              "ws['A2'] = 3.25\nws['B2'] = -7\nws['C2'] = True\nws['D2'] = False\n"
              "ws['A3'] = datetime.date(2024, 2, 29)\nws['A3'].number_format = 'yyyy-mm-dd'\n"
              "ws['B3'] = 0.5\nws['B3'].number_format = '0.00%'\n"
              "ws['E7'] = 'far'\n"
              "ws2 = wb.create_sheet('Second sheet')\nws2['C5'] = 'x'\n"
              "ws2.sheet_view.selection[0].activeCell = 'C5'\nws2.sheet_view.selection[0].sqref = 'C5'\n"
              "wb.create_sheet('Third')\n"
              "wb.active = 1\n"
              "wb.save(r'" + file + "')\n");
    TXlsxWorkbook book = ReadXlsxWorkbook(UTF8ToString(file));
    ASSERT_EQ(book.Sheets.size(), 3u);
    EXPECT_EQ(book.Sheets[0].Name, L"First");
    EXPECT_EQ(book.Sheets[1].Name, L"Second sheet");
    EXPECT_EQ(book.Sheets[2].Name, L"Third");
    EXPECT_EQ(book.ActiveSheet, 1);
    const auto& c = book.Sheets[0].Cells;
    auto at = [&](int r, int col) -> const TXlsxCell& { return c.at({r, col}); };
    EXPECT_EQ(at(1, 1).Kind, TXlsxCellKind::String);
    EXPECT_EQ(at(1, 1).Text, L"text");
    EXPECT_EQ(at(1, 2).Text, L"text");
    EXPECT_EQ(at(1, 3).Kind, TXlsxCellKind::String);
    EXPECT_EQ(at(1, 3).Text, L"12");
    EXPECT_EQ(at(2, 1).Kind, TXlsxCellKind::Number);
    EXPECT_EQ(at(2, 1).Number, 3.25);
    EXPECT_EQ(at(2, 2).Number, -7);
    EXPECT_EQ(at(2, 3).Kind, TXlsxCellKind::Boolean);
    EXPECT_TRUE(at(2, 3).Boolean);
    EXPECT_FALSE(at(2, 4).Boolean);
    EXPECT_EQ(at(3, 1).Kind, TXlsxCellKind::Number);
    EXPECT_EQ(at(3, 1).Number, 45351);  // 2024-02-29 as a serial number
    EXPECT_EQ(at(3, 1).NumFmtCode, L"yyyy-mm-dd");
    EXPECT_EQ(at(3, 2).NumFmtId, 10);  // built-in "0.00%"
    EXPECT_EQ(at(3, 2).NumFmtCode, L"");
    EXPECT_EQ(at(7, 5).Text, L"far");
    EXPECT_EQ(c.count({1, 4}), 0u);
    EXPECT_EQ(book.Sheets[0].ActiveRow, 1);
    EXPECT_EQ(book.Sheets[1].ActiveRow, 5);
    EXPECT_EQ(book.Sheets[1].ActiveColumn, 3);
    EXPECT_TRUE(book.Sheets[2].Cells.empty());
}

TEST_F(XlsxReaderTest, HandMadeCells)
{
    std::string file = Package(Parts(
        R"(<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="s"><v>1</v></c><c r="C1" t="s"><v>2</v></c></row>)"
        R"(<row r="2"><c r="A2" t="inlineStr"><is><t>inline</t></is></c>)"
        R"(<c r="B2" t="inlineStr"><is><r><t>ri</t></r><r><t>ch</t></r></is></c>)"
        R"(<c r="C2"><f>1+1</f><v>2</v></c><c r="D2" t="str"><f>"a"&amp;"b"</f><v>ab</v></c>)"
        R"(<c r="E2" t="e"><f>1/0</f><v>#DIV/0!</v></c><c r="F2" t="b"><v>1</v></c></row>)"
        R"(<row><c><v>1e3</v></c><c><v>-0.5</v></c></row>)"
        R"(<row r="4"><c r="A4" t="d"><v>2024-02-29</v></c><c r="B4" t="d"><v>1900-01-01T12:00:00</v></c></row>)"));
    TXlsxWorkbook book = ReadXlsxWorkbook(UTF8ToString(file));
    ASSERT_EQ(book.Sheets.size(), 1u);
    EXPECT_EQ(book.Sheets[0].Name, L"Data");
    const auto& c = book.Sheets[0].Cells;
    struct Want {
        int Row, Col;
        TXlsxCellKind Kind;
        const wchar_t* Text;
        double Number;
        bool Formula;
    } wants[] = {{1, 1, TXlsxCellKind::String, L"plain", 0, false},
                 {1, 2, TXlsxCellKind::String, L"bold and  plain", 0, false},
                 {1, 3, TXlsxCellKind::String, L"漢字", 0, false},
                 {2, 1, TXlsxCellKind::String, L"inline", 0, false},
                 {2, 2, TXlsxCellKind::String, L"rich", 0, false},
                 {2, 3, TXlsxCellKind::Number, L"", 2, true},
                 {2, 4, TXlsxCellKind::String, L"ab", 0, true},
                 {2, 5, TXlsxCellKind::Error, L"#DIV/0!", 0, true},
                 {2, 6, TXlsxCellKind::Boolean, L"", 0, false},
                 {3, 1, TXlsxCellKind::Number, L"", 1000, false},
                 {3, 2, TXlsxCellKind::Number, L"", -0.5, false},
                 {4, 1, TXlsxCellKind::Number, L"", 45351, false},
                 {4, 2, TXlsxCellKind::Number, L"", 1.5, false}};
    EXPECT_EQ(c.size(), std::size(wants));
    for (const auto& w : wants) {
        auto it = c.find({w.Row, w.Col});
        ASSERT_NE(it, c.end()) << w.Row << "," << w.Col;
        EXPECT_EQ(it->second.Kind, w.Kind) << w.Row << "," << w.Col;
        EXPECT_EQ(it->second.Text, w.Text) << w.Row << "," << w.Col;
        EXPECT_EQ(it->second.Number, w.Number) << w.Row << "," << w.Col;
        EXPECT_EQ(it->second.Formula, w.Formula) << w.Row << "," << w.Col;
    }
    EXPECT_TRUE(c.at({2, 6}).Boolean);
}

TEST_F(XlsxReaderTest, RefusesBadPackages)
{
    struct Case {
        const char* Name;
        std::map<std::string, std::string> Parts;
        const wchar_t* Cause;
    } cases[] = {
        {"outside.xlsx", Parts("", "../../../etc/passwd"), L"outside the package"},
        {"absolute.xlsx", Parts("", "/../x.xml"), L"outside the package"},
        {"pastcol.xlsx", Parts(R"(<row r="1"><c r="XFE1"><v>1</v></c></row>)"), L"bad cell"},
        {"pastrow.xlsx", Parts(R"(<row r="1048577"><c><v>1</v></c></row>)"), L"bad cell"},
        {"badnum.xlsx", Parts(R"(<row r="1"><c r="A1"><v>1x</v></c></row>)"), L"bad cell"},
        {"badshared.xlsx", Parts(R"(<row r="1"><c r="A1" t="s"><v>3</v></c></row>)"), L"bad cell"},
        {"broken.xlsx", Parts(R"(<row r="1"><c r="A1"><v>1</v></c>)"), L"malformed part"},
        {"entity.xlsx",
         Parts(R"(</sheetData></worksheet>)"),  // replaced below
         L"DTD"},
        {"nocontent.xlsx", {{"a.txt", "hello"}}, L"not an .xlsx workbook"},
        {"expansion.xlsx", Parts(""), L"DTD"},
        {"baddate.xlsx", Parts(R"(<row r="1"><c r="A1" t="d"><v>2024-13-01</v></c></row>)"), L"bad cell"},
        {"deep.xlsx", Parts(""), L"malformed part"},
        {"truncated.xlsx", Parts(R"(<row r="1"><c r="A1"><v>1</v></c></row>)"), L"malformed part"},
    };
    // Nesting far past any sheet's, and a part cut off in the middle.
    {
        std::string open, close;
        for (int i = 0; i < 5000; ++i) open += "<x>", close += "</x>";
        cases[11].Parts["xl/worksheets/sheet1.xml"] = Sheet(R"(<row r="1"><c r="A1"><v>)" + open + close + "</v></c></row>");
    }
    cases[12].Parts["xl/worksheets/sheet1.xml"] = Sheet(R"(<row r="1"><c r="A1"><v>1</v></c></row>)").substr(0, 150);
    cases[9].Parts["xl/sharedStrings.xml"] =
        R"(<?xml version="1.0"?><!DOCTYPE sst [<!ENTITY a "aaaaaaaaaa"><!ENTITY b "&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;">)"
        R"(<!ENTITY c "&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;"><!ENTITY d "&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;">]>)"
        R"(<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><si><t>&d;&d;&d;&d;</t></si></sst>)";
    cases[7].Parts["xl/worksheets/sheet1.xml"] =
        R"(<?xml version="1.0"?><!DOCTYPE worksheet [<!ENTITY x SYSTEM "file:///etc/passwd">]>)"
        R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData><row r="1"><c r="A1" t="inlineStr"><is><t>&x;</t></is></c></row></sheetData></worksheet>)";
    for (auto& c : cases) {
        SCOPED_TRACE(c.Name);
        ExpectRaises(Package(c.Parts, c.Name), c.Cause);
    }
}

TEST_F(XlsxReaderTest, TellsWhatAWriterWouldDrop)
{
    struct Case {
        const char* Name;
        std::map<std::string, std::string> Parts;
        std::vector<String> Unkept;
    } cases[] = {
        {"plain.xlsx", Parts(R"(<row r="1"><c r="A1"><v>1</v></c></row>)"), {}},
        {"formula.xlsx", Parts(R"(<row r="1"><c r="A1"><f>1+1</f><v>2</v></c><c r="B1" t="e"><v>#N/A</v></c></row>)"),
         {L"formulas", L"error values"}},
        {"comments.xlsx", Parts(""), {L"comments", L"pictures"}},
        {"date1904.xlsx", Parts(""), {L"the 1904 date system"}},
    };
    cases[2].Parts["xl/comments1.xml"] = "<comments/>";
    cases[2].Parts["xl/media/image1.png"] = "png";
    cases[3].Parts["xl/workbook.xml"] =
        R"(<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)"
        R"(<workbookPr date1904="1"/><sheets><sheet name="Data" sheetId="1" r:id="rId1"/></sheets></workbook>)";
    for (auto& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(ReadXlsxWorkbook(UTF8ToString(Package(c.Parts, c.Name))).Unkept, c.Unkept);
    }
}

TEST_F(XlsxReaderTest, DeclaredDimensionIsIgnored)
{
    auto parts = Parts("");
    parts["xl/worksheets/sheet1.xml"] =
        R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><dimension ref="A1:XFD1048576"/>)"
        R"(<sheetData><row r="1"><c r="A1"><v>1</v></c></row><row r="1048576"><c r="XFD1048576"><v>2</v></c></row></sheetData></worksheet>)";
    TXlsxWorkbook book = ReadXlsxWorkbook(UTF8ToString(Package(parts)));
    ASSERT_EQ(book.Sheets.size(), 1u);
    EXPECT_EQ(book.Sheets[0].Cells.size(), 2u);
    EXPECT_EQ(book.Sheets[0].Cells.at({1048576, 16384}).Number, 2);
}

TEST_F(XlsxReaderTest, RefusesFilesThatAreNotPackages)
{
    std::string legacy = Dir + "/legacy.xls";
    std::ofstream(legacy, std::ios::binary) << std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) << std::string(2048, '\0');
    ExpectRaises(legacy, L"not an .xlsx workbook");
    std::string random = Dir + "/random.xlsx";
    std::mt19937 rng(7);
    std::string bytes;
    for (int i = 0; i < 4096; ++i) bytes += static_cast<char>(rng());
    std::ofstream(random, std::ios::binary) << bytes;
    ExpectRaises(random, L"not an .xlsx workbook");
    ExpectRaises(Dir + "/missing.xlsx", L"cannot open");
}

TEST_F(XlsxReaderTest, InflationAndEntriesAreBounded)
{
    // A sheet of 8 MiB that deflates to a few KiB, and a package of many parts.
    std::string bomb = Dir + "/bomb.xlsx";
    std::string s = "import zipfile\nz = zipfile.ZipFile(r'" + bomb + "', 'w', zipfile.ZIP_DEFLATED)\n";
    for (const auto& [part, content] : Parts(""))
        if (part != "xl/worksheets/sheet1.xml") s += "z.writestr(r'''" + part + "''', r'''" + content + "''')\n";
    s += "z.writestr('xl/worksheets/sheet1.xml', '<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">' + ' ' * (8 << 20) + '</worksheet>')\n"
         "for i in range(50): z.writestr('pad/%d.bin' % i, 'x')\n"
         "z.close()\n";
    RunPython(s);
    ASSERT_LT(std::filesystem::file_size(bomb), 200000u);

    TXlsxLimits part;
    part.MaxPartBytes = 1 << 20;
    ExpectRaises(bomb, L"inflates past the limit", part);
    TXlsxLimits package;
    package.MaxPackageBytes = 4 << 20;
    ExpectRaises(bomb, L"package inflates past the limit", package);
    TXlsxLimits entries;
    entries.MaxEntries = 20;
    ExpectRaises(bomb, L"too many entries", entries);
    EXPECT_NO_THROW(ReadXlsxWorkbook(UTF8ToString(bomb)));

    // The directory lies about the inflated size: the count while inflating
    // still holds (or the archive is refused as inconsistent).
    std::string liar = Dir + "/liar.xlsx";
    RunPython("import struct\n"
              "d = bytearray(open(r'" + bomb + "', 'rb').read())\n"
              "name = b'xl/worksheets/sheet1.xml'\n"
              "for sig, off in ((b'PK\\x03\\x04', 22), (b'PK\\x01\\x02', 24)):\n"
              "    i = 0\n"
              "    while True:\n"
              "        i = d.find(sig, i)\n"
              "        if i < 0: break\n"
              "        n = 30 if sig == b'PK\\x03\\x04' else 46\n"
              "        if name in d[i:i + n + len(name)]: d[i + off:i + off + 4] = struct.pack('<I', 100)\n"
              "        i += 4\n"
              "open(r'" + liar + "', 'wb').write(bytes(d))\n");
    try {
        ReadXlsxWorkbook(UTF8ToString(liar), part);
        ADD_FAILURE() << "a lying directory was believed";
    } catch (const EXlsxError&) {
    }
}

TEST_F(XlsxReaderTest, MutatedPackagesRaiseOrRead)
{
    std::string file = Package(Parts(R"(<row r="1"><c r="A1" t="s"><v>1</v></c><c r="B1"><v>2</v></c></row>)"), "good.xlsx");
    std::string good;
    {
        std::ifstream in(file, std::ios::binary);
        good.assign(std::istreambuf_iterator<char>(in), {});
    }
    std::mt19937 rng(1234);
    std::string mutant = Dir + "/mutant.xlsx";
    for (int round = 0; round < 300; ++round) {
        std::string bytes = good;
        int flips = 1 + static_cast<int>(rng() % 8);
        for (int i = 0; i < flips; ++i) bytes[rng() % bytes.size()] = static_cast<char>(rng());
        if (round % 10 == 0) bytes.resize(rng() % bytes.size());
        std::ofstream(mutant, std::ios::binary | std::ios::trunc) << bytes;
        try {
            ReadXlsxWorkbook(UTF8ToString(mutant));
        } catch (const EXlsxError&) {
        }
    }
}
