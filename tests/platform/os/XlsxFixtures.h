// Workbooks for the .xlsx tests, made at test time: by openpyxl (when
// installed) and by hand with Python's zipfile from the given parts.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

namespace xlsxfixtures {

inline std::string Python()
{
    return access("/usr/bin/python3", X_OK) == 0 ? "/usr/bin/python3" : "python3";
}

inline bool HasOpenpyxl()
{
    static int has = -1;
    if (has < 0) has = std::system((Python() + " -c 'import openpyxl' 2>/dev/null").c_str()) == 0;
    return has == 1;
}

class TXlsxFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/xlsxreaderXXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        Dir = tmpl;
    }
    void TearDown() override { std::filesystem::remove_all(Dir); }

    void RunPython(const std::string& script)
    {
        std::string path = Dir + "/make.py";
        std::ofstream(path) << script;
        ASSERT_EQ(std::system((Python() + " " + path).c_str()), 0) << script;
    }

    // A package made with zipfile from the given parts (name -> content).
    std::string Package(const std::map<std::string, std::string>& parts, const std::string& name = "book.xlsx")
    {
        std::string file = Dir + "/" + name;
        std::string s = "import zipfile\nz = zipfile.ZipFile(r'" + file + "', 'w', zipfile.ZIP_DEFLATED)\n";
        for (const auto& [part, content] : parts) s += "z.writestr(r'''" + part + "''', r'''" + content + "''')\n";
        s += "z.close()\n";
        RunPython(s);
        return file;
    }

    std::string Dir;
};

const char* const Types =
    R"(<?xml version="1.0"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
    R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
    R"(<Default Extension="xml" ContentType="application/xml"/>)"
    R"(<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>)"
    R"(</Types>)";
const char* const RootRels =
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/>)"
    R"(</Relationships>)";
const char* const Workbook =
    R"(<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)"
    R"(<sheets><sheet name="Data" sheetId="1" r:id="rId1"/></sheets></workbook>)";

inline std::string WorkbookRels(const std::string& sheetTarget = "worksheets/sheet1.xml")
{
    return R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
           R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target=")" +
           sheetTarget +
           R"("/><Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="sharedStrings.xml"/>)"
           R"(</Relationships>)";
}

inline std::string Sheet(const std::string& cells)
{
    return R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>)" + cells +
           "</sheetData></worksheet>";
}

const char* const SharedStrings =
    R"(<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)"
    R"(<si><t>plain</t></si>)"
    R"(<si><r><rPr><b/></rPr><t>bold </t></r><r><t xml:space="preserve">and  plain</t></r></si>)"
    R"(<si><t>漢字</t><rPh sb="0" eb="2"><t>カンジ</t></rPh></si>)"
    R"(</sst>)";

inline std::map<std::string, std::string> Parts(const std::string& cells, const std::string& sheetTarget = "worksheets/sheet1.xml")
{
    return {{"[Content_Types].xml", Types},
            {"_rels/.rels", RootRels},
            {"xl/workbook.xml", Workbook},
            {"xl/_rels/workbook.xml.rels", WorkbookRels(sheetTarget)},
            {"xl/sharedStrings.xml", SharedStrings},
            {"xl/worksheets/sheet1.xml", Sheet(cells)}};
}

}  // namespace xlsxfixtures
