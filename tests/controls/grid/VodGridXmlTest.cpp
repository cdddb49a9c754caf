// XML and JSON: writer bytes and escaping under each declared encoding, the
// real tools (xmllint, ElementTree, json) reading what we write, the reader's
// mapping of attributes, leaf elements and levels, and refused documents
// that leave the grid as it was.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "platform/base/Lists.h"
#include "platform/base/SysUtils.h"
#include "tests/controls/grid/GridFileSupport.h"
#include "tests/controls/grid/StringGridFixture.h"

using namespace gridfiles;

namespace {

std::string Narrow(const String& s) { return UTF8Encode(s); }

bool HaveTool(const char* name) { return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0; }

// Runs a Python script; its standard output is returned, "" on failure.
std::string Py(const std::string& script)
{
    const std::string file = "/tmp/vodgridxml_py_" + std::to_string(getpid()) + ".py";
    std::ofstream(file) << script;
    std::string out;
    if (FILE* p = popen(("python3 " + file + " 2>&1").c_str(), "r")) {
        char buf[4096];
        size_t k;
        while ((k = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, k);
        if (pclose(p) != 0) out = "FAILED: " + out;
    }
    std::remove(file.c_str());
    return out;
}

class VodGridXml : public TStringGridFixture<TVodStringGrid> {
protected:
    void Fill(std::initializer_list<std::initializer_list<const wchar_t*>> rows)
    {
        Grid->SetFixedRows(0);
        Grid->SetFixedCols(0);
        Grid->SetRowCount(Integer(rows.size()));
        Grid->SetColCount(Integer(rows.begin()->size()));
        Integer r = 0;
        for (auto& row : rows) {
            Integer c = 0;
            for (const wchar_t* t : row) Grid->SetGridCell(c++, r, t);
            ++r;
        }
    }
    String Cells()
    {
        String s;
        for (Integer r = 0; r < Grid->RowCount(); ++r) {
            for (Integer c = 0; c < Grid->ColCount(); ++c) s += (c ? L"|" : L"") + Grid->GetGridCell(c, r);
            s += L"\n";
        }
        return s;
    }
    TScratchDir Dir;
};

TEST_F(VodGridXml, WriterBytes)
{
    Fill({{L"a", L"b"}});
    const String f = Dir.File("g.xml");
    Grid->SaveToXML(f, L"list", L"rec", nullptr);
    EXPECT_EQ(ReadFile(f),
              "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\r\n<list>\r\n<rec>\r\n<FIELD0>a</FIELD0>\r\n"
              "<FIELD1>b</FIELD1>\r\n</rec>\r\n</list>\r\n");

    // FieldDescr names the columns it has entries for; escaping in order;
    // empty cells as the switches say; a carriage return as a reference.
    Fill({{L"a&b", L"", L"<\"x\">\r\nz"}});
    TStringList names;
    names.Add(L"first");
    Grid->SaveToXML(f, L"l", L"r", &names, false);
    EXPECT_EQ(ReadFile(f), "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\r\n<l>\r\n<r>\r\n<first>a&amp;b</first>\r\n"
                           "<FIELD2>&lt;&quot;x&quot;&gt;&#13;\nz</FIELD2>\r\n</r>\r\n</l>\r\n");
    Grid->SaveToXML(f, L"l", L"r", &names, true);
    // The empty-cell mark is a text like any other: escaped, and read back
    // as an empty cell.
    EXPECT_NE(ReadFile(f).find("<FIELD1>&quot;&quot;</FIELD1>"), std::string::npos) << ReadFile(f);
    Grid->SetGridCell(1, 0, L"x");
    Grid->LoadFromXML(f);
    EXPECT_EQ(Grid->GetGridCell(1, 0), L"");
    Grid->SetQuoteEmptyCells(false);
    Grid->SaveToXML(f, L"l", L"r", &names, true);
    EXPECT_NE(ReadFile(f).find("<FIELD1></FIELD1>"), std::string::npos);
}

TEST_F(VodGridXml, EveryEncodingRoundTripsAndPassesTheTools)
{
    const wchar_t* texts[] = {L"a&b", L"caf\u00e9 \u20ac", L"line\r\nnext", L"$amp; &amp; <t>", L"\U0001F600 \u4e2d"};
    Fill({{texts[0], texts[1], texts[2], texts[3], texts[4]}});
    const bool tools = HaveTool("xmllint") && HaveTool("python3");
    for (const wchar_t* enc : {L"ISO-8859-1", L"UTF-8", L"UTF-16", L"US-ASCII", L"windows-1252"}) {
        SCOPED_TRACE(Narrow(enc));
        Grid->SetXMLEncoding(enc);
        const String f = Dir.File("enc.xml");
        Grid->SaveToXML(f, L"list", L"rec", nullptr);
        if (tools) {
            EXPECT_EQ(std::system(("xmllint --noout '" + Narrow(f) + "'").c_str()), 0);
            // ElementTree gives back every text (the carriage return kept).
            const std::string out = Py("import xml.etree.ElementTree as E\n"
                                       "r = E.parse('" + Narrow(f) + "').getroot()\n"
                                       "print(repr([c.text for c in r[0]]).encode('ascii','backslashreplace').decode())\n");
            EXPECT_EQ(out, "['a&b', 'caf\\xe9 \\u20ac', 'line\\r\\nnext', '$amp; &amp; <t>', "
                           "'\\U0001f600 \\u4e2d']\n");
        }
        Fill({{L"", L"", L"", L"", L""}});
        Grid->LoadFromXML(f);
        for (Integer c = 0; c < 5; ++c) EXPECT_EQ(Grid->GetGridCell(c, 0), texts[c]) << c;
    }
}

TEST_F(VodGridXml, WriterRefusesBeforeTouchingTheFile)
{
    Fill({{L"a", L"b"}});
    const String f = Dir.File("keep.xml");
    WriteFile(f, "old");
    TStringList bad;
    bad.Add(L"ok");
    bad.Add(L"1st");
    struct {
        const char* What;
        std::function<void()> Call;
    } cases[] = {
        {"unknown encoding", [&] { Grid->SetXMLEncoding(L"KOI8-R"); Grid->SaveToXML(f, L"l", L"r", nullptr); }},
        {"list name", [&] { Grid->SaveToXML(f, L"my list", L"r", nullptr); }},
        {"record name", [&] { Grid->SaveToXML(f, L"l", L"", nullptr); }},
        {"field name", [&] { Grid->SaveToXML(f, L"l", L"r", &bad); }},
        {"name outside the encoding", [&] { Grid->SaveToXML(f, L"\u20acl", L"r", nullptr); }},
        {"control character", [&] { Grid->SetGridCell(1, 0, String(1, Char(1))); Grid->SaveToXML(f, L"l", L"r", nullptr); }},
    };
    for (auto& k : cases) {
        SCOPED_TRACE(k.What);
        EXPECT_THROW(k.Call(), EVodGridError);
        EXPECT_EQ(ReadFile(f), "old");
        Grid->SetXMLEncoding(L"ISO-8859-1");
    }
    // A target that is a folder raises; the folder stays.
    Grid->SetGridCell(1, 0, L"b");
    EXPECT_THROW(Grid->SaveToXML(Dir.File(""), L"l", L"r", nullptr), EVodGridError);
}

TEST_F(VodGridXml, ReaderPlacesRecordsAndHeaders)
{
    // Written with the defaults (fixed cells saved), read back with the
    // defaults: the first record lands in row 0.
    Fill({{L"h1", L"h2"}, {L"a", L"b"}});
    Grid->SetFixedRows(1);
    const String f = Dir.File("g.xml");
    Grid->SaveToXML(f, L"list", L"rec", nullptr);
    Fill({{L"", L""}});
    Grid->SetFixedRows(0);
    Grid->LoadFromXML(f);
    EXPECT_EQ(Cells(), L"h1|h2\na|b\n");

    // With LoadFieldDescr and fixed rows the element names head row 0 and
    // the data start at FixedRows.
    WriteFile(f, "<list><rec><name>x</name><qty>1</qty></rec><rec><name>y</name><qty>2</qty></rec></list>");
    Fill({{L"", L""}, {L"", L""}});
    Grid->SetFixedRows(1);
    Grid->LoadFromXML(f, false, true);
    EXPECT_EQ(Cells(), L"name|qty\nx|1\ny|2\n");

    // Attributes first (their names head empty header cells), entities,
    // CDATA and comments as Python writes them, the empty-cell rule, and
    // "$amp;" left as it stands.
    WriteFile(f, "<?xml version='1.0' encoding='utf-8'?>\n<!-- made by hand -->\n<list>\n"
                 "  <rec id=\"7\" kind=\"k&amp;q\">\n    <v>&lt;a&gt; $amp; &#233;</v>\n    <w><![CDATA[<raw>]]></w>\n"
                 "    <e>\"\"</e>\n  </rec>\n</list>\n");
    Fill({{L"", L"", L"", L"", L""}, {L"", L"", L"", L"", L""}});
    Grid->LoadFromXML(f);
    EXPECT_EQ(Cells(), L"7|k&q|<a> $amp; \u00e9|<raw>|\n");
}

TEST_F(VodGridXml, LevelToRow)
{
    // The second sibling with attributes starts one column further right
    // than the first, because the level is not lowered after a container.
    const String f = Dir.File("lv.xml");
    WriteFile(f, "<root><group><a x=\"1\"><p>p1</p><q>q1</q></a><b y=\"2\"><p>p2</p><q>q2</q></b></group></root>");
    Fill({{L""}});
    Grid->SetFixedRows(0);
    Grid->LoadFromXML(f, true, false);
    // The group opens row 0 (r from -1); a's attribute in row 0, its values
    // in row 1 from column 2; b's attribute continues row 1, its values in
    // row 2 from column 3.
    // b's attribute name heads the empty header cell of its column.
    EXPECT_EQ(Cells(), L"1||||y\n||p1|q1|2\n|||p2|q2\n");
    // A value before any row is opened is never stored above the start row.
    WriteFile(f, "<root><v>early</v><rec a=\"1\"/></root>");
    Fill({{L"keep"}});
    Grid->LoadFromXML(f, true, false);
    // The attribute's name heads only an empty header cell; its value
    // would land above the start row.
    EXPECT_EQ(Grid->GetGridCell(0, 0), L"keep");
    for (Integer r = 0; r < Grid->RowCount(); ++r)
        for (Integer c = 0; c < Grid->ColCount(); ++c) EXPECT_NE(Grid->GetGridCell(c, r), L"early");
}

TEST_F(VodGridXml, RefusedDocumentsLeaveTheGrid)
{
    Fill({{L"a", L"b"}, {L"c", L"d"}});
    const TBytes before = Snapshot(Grid);
    struct {
        const char* Name;
        const char* Bytes;
    } cases[] = {
        {"unclosed", "<list><rec><a>1</a></rec>"},
        {"two roots", "<a/><b/>"},
        {"bad entity", "<list><rec><a>&nope;</a></rec></list>"},
        {"external entity", "<?xml version=\"1.0\"?><!DOCTYPE l [<!ENTITY x SYSTEM \"file:///etc/passwd\">]><l><r><a>&x;</a></r></l>"},
        {"expansion bomb",
         "<?xml version=\"1.0\"?><!DOCTYPE l [<!ENTITY a \"aaaaaaaaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
         "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\"><!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">"
         "<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\"><!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;\">"
         "<!ENTITY g \"&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;\"><!ENTITY h \"&g;&g;&g;&g;&g;&g;&g;&g;&g;&g;\">]><l><r><a>&h;</a></r></l>"},
        {"empty", ""},
        {"binary", "\x01\x02\xff\xfe<"},
    };
    const String f = Dir.File("bad.xml");
    for (auto& k : cases) {
        SCOPED_TRACE(k.Name);
        WriteFile(f, k.Bytes);
        try {
            Grid->LoadFromXML(f);
            ADD_FAILURE() << "loaded";
        } catch (const Exception& e) {
            EXPECT_EQ(Narrow(e.Message()).rfind("XMLDOM Parsing error ", 0), 0u) << Narrow(e.Message());
        }
        EXPECT_EQ(Snapshot(Grid), before);
    }
    try {
        Grid->LoadFromXML(Dir.File("missing.xml"));
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"XML file not found");
    }
    EXPECT_EQ(Snapshot(Grid), before);
}

TEST_F(VodGridXml, JsonWriter)
{
    Fill({{L"a", L"b\"q"}, {L"c\\d", L"\u00e9\t\x01\U0001F600"}});
    const String f = Dir.File("g.json");
    Grid->SaveToJSON(f);
    EXPECT_EQ(ReadFile(f), "{\"grid\":[[\"a\",\"b\\\"q\"]\r\n,[\"c\\\\d\",\"\\u00e9\\t\\u0001\\ud83d\\ude00\"]\r\n]}\r\n");

    // Named items only when FieldDescr covers every column.
    TStringList names;
    names.Add(L"x");
    Grid->SaveToJSON(f, L"row", &names);
    EXPECT_EQ(ReadFile(f).rfind("{\"grid\":[{\"row\":[\"a\",\"b\\\"q\"]}\r\n", 0), 0u) << ReadFile(f);
    names.Add(L"y\u00e9");
    Grid->SaveToJSON(f, L"row", &names);
    EXPECT_EQ(ReadFile(f).rfind("{\"grid\":[{\"row\":[{\"x\":\"a\"},{\"y\\u00e9\":\"b\\\"q\"}]}\r\n", 0), 0u) << ReadFile(f);
    if (HaveTool("python3")) {
        const std::string out = Py("import json\nd = json.load(open('" + Narrow(f) + "'))\n"
                                   "print(ascii(d))\n");
        EXPECT_EQ(out, "{'grid': [{'row': [{'x': 'a'}, {'y\\xe9': 'b\"q'}]}, {'row': [{'x': 'c\\\\d'}, "
                       "{'y\\xe9': '\\xe9\\t\\x01\\U0001f600'}]}]}\n");
    }
    // An empty range is a complete document.
    Grid->SetSaveFixedCells(false);
    Grid->SetRowCount(2);
    Grid->SetFixedRows(1);
    Grid->SetFixedFooters(1);
    Grid->SaveToJSON(f);
    EXPECT_EQ(ReadFile(f), "{\"grid\":[\r\n]}\r\n");
    if (HaveTool("python3")) EXPECT_EQ(Py("import json\nprint(json.load(open('" + Narrow(f) + "')))\n"), "{'grid': []}\n");
}

}  // namespace
