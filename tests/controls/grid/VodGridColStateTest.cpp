// Column state: the state string round trip and its checks, the INI file
// and registry entries, and the rules that keep foreign or partial state
// from changing the grid.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "platform/base/Files.h"
#include "platform/base/IniFiles.h"
#include "platform/base/Registry.h"
#include "platform/base/SysUtils.h"
#include "tests/controls/grid/GridFileSupport.h"
#include "tests/controls/grid/StringGridFixture.h"

using namespace gridfiles;

namespace {

class VodGridColState : public TStringGridFixture<TVodStringGrid> {
protected:
    void SetUp() override
    {
        TStringGridFixture::SetUp();
        Grid->SetColCount(4);
        Grid->SetFixedCols(0);
        for (Integer c = 0; c < 4; ++c) {
            Grid->SetColWidths(c, 40 + 10 * c);
            Grid->SetGridCell(c, 0, String(1, Char(L'A' + c)));
        }
        // A fresh layout: never reordered.
        Grid->ColumnOrder()->Clear();
    }
    String Heads()
    {
        String s;
        for (Integer c = 0; c < Grid->ColCount(); ++c) s += Grid->GetGridCell(Grid->RealColIndex(c), 0);
        return s;
    }
    String Widths()
    {
        String s;
        for (Integer c = 0; c < Grid->ColCount(); ++c) s += (c ? L"," : L"") + IntToStr(Grid->ColWidths(c));
        return s;
    }
    TScratchDir Dir;
};

TEST_F(VodGridColState, StringRoundTrip)
{
    EXPECT_EQ(Grid->ColumnStatesToString(), L"4#40,50,60,70#0,1,2,3#1,1,1,1");
    // Reorder (D moves to the front), hide B, then restore from the string
    // on a fresh layout.
    Grid->MoveColumn(3, 0);
    Grid->HideColumn(2);   // real column 2 holds B after the move
    const String state = Grid->ColumnStatesToString();
    EXPECT_EQ(Heads(), L"DAC");
    // The hidden column reports the default width.
    EXPECT_EQ(state, L"4#70,40,60," + IntToStr(Grid->DefaultColWidth()) + L"#3,0,1,2#1,1,0,1");
    const String widths = Widths();
    Grid->UnHideColumnsAll();
    Grid->ResetColumnOrder();
    for (Integer c = 0; c < 4; ++c) Grid->SetColWidths(c, 33);
    EXPECT_EQ(Heads(), L"ABCD");
    Grid->StringToColumnStates(state);
    EXPECT_EQ(Heads(), L"DAC");
    EXPECT_EQ(Widths(), widths);
    EXPECT_EQ(Grid->NumHiddenColumns(), 1);
    EXPECT_EQ(Grid->ColumnStatesToString(), state);
    // A width of 0 suppresses the column (its width comes back when shown).
    Grid->StringToColumnStates(L"4#40,0,60,70#0,1,2,3#1,1,1,1");
    EXPECT_TRUE(Grid->IsSuppressedColumn(1));
    Grid->UnSuppressColumn(1);
    EXPECT_GT(Grid->ColWidths(1), 0);
    // Without "#" nothing happens.
    Grid->StringToColumnStates(L"garbage");
    EXPECT_EQ(Grid->ColCount(), 4);
}

TEST_F(VodGridColState, BadStringsChangeNothing)
{
    Grid->MoveColumn(3, 0);
    const String before = Grid->ColumnStatesToString();
    const TBytes cells = Snapshot(Grid);
    for (const wchar_t* bad : {L"x#1,2#0,1#1,1", L"4#40,50#0,1,2,3#1,1,1,1", L"4#40,50,60,70#0,1,2,2#1,1,1,1",
                               L"4#40,50,60,70#0,1,2,9#1,1,1,1", L"4#40,50,60,70#0,1,2,3#1,1", L"4#40,a,60,70#0,1,2,3#1,1,1,1",
                               L"4#40,50,60,70", L"0###", L"99999999#1#0#1", L"4#40,-5,60,70#0,1,2,3#1,1,1,1"}) {
        SCOPED_TRACE(UTF8Encode(bad));
        EXPECT_THROW(Grid->StringToColumnStates(bad), Exception);
        EXPECT_EQ(Grid->ColumnStatesToString(), before);
        EXPECT_EQ(Snapshot(Grid), cells);
    }
}

TEST_F(VodGridColState, IniEntries)
{
    const String ini = Dir.File("cols.ini");
    Grid->ColumnSize()->SetLocation(TColumnSizeLocation::clIniFile);
    // Nothing is touched while Key or Section is empty.
    Grid->ColumnSize()->SetSection(L"grid");
    Grid->SaveColSizes();
    Grid->SaveColPositions();
    Grid->LoadColSizes();
    Grid->LoadColPositions();
    Grid->ColumnSize()->SetKey(ini);
    Grid->ColumnSize()->SetSection(L"");
    Grid->SaveColSizes();
    EXPECT_FALSE(FileExists(ini));
    Grid->ColumnSize()->SetSection(L"grid");

    // Without a Pos0 entry the order stays.
    Grid->LoadColPositions();
    EXPECT_EQ(Heads(), L"ABCD");
    Grid->MoveColumn(0, 2);   // B C A D
    Grid->SaveColSizes();
    Grid->SaveColPositions();
    if (std::system("command -v python3 >/dev/null 2>&1") == 0) {
        const std::string script = "/tmp/vodgridcols_" + std::to_string(getpid()) + ".py";
        std::ofstream(script) << "import configparser\nc = configparser.ConfigParser()\nc.optionxform = str\n"
                                 "c.read('" + UTF8Encode(ini) + "')\ns = c['grid']\n"
                                 "assert [s['Col%d' % i] for i in range(4)] == ['50','60','40','70'], dict(s)\n"
                                 "assert [s['Pos%d' % i] for i in range(4)] == ['1','2','0','3'], dict(s)\n";
        EXPECT_EQ(std::system(("python3 " + script).c_str()), 0);
        std::remove(script.c_str());
    }
    Grid->ResetColumnOrder();
    for (Integer c = 0; c < 4; ++c) Grid->SetColWidths(c, 20);
    EXPECT_EQ(Heads(), L"ABCD");
    Grid->LoadColPositions();
    Grid->LoadColSizes();
    EXPECT_EQ(Heads(), L"BCAD");
    EXPECT_EQ(Widths(), L"50,60,40,70");

    // An order that is not a permutation of the columns is ignored.
    {
        TMemIniFile f(ini);
        f.WriteInteger(L"grid", L"Pos1", 0);
        f.UpdateFile();
    }
    Grid->ResetColumnOrder();
    Grid->LoadColPositions();
    EXPECT_EQ(Heads(), L"ABCD");
}

TEST_F(VodGridColState, RegistryEntries)
{
    const char* old = std::getenv("XDG_CONFIG_HOME");
    const std::string keep = old ? old : "";
    setenv("XDG_CONFIG_HOME", UTF8Encode(Dir.File("")).c_str(), 1);
    RegistryStoreReset();
    Grid->ColumnSize()->SetKey(L"Software\\VodGridTest");
    Grid->ColumnSize()->SetSection(L"Layout");
    Grid->SaveColSizes();
    {
        TRegIniFile reg(L"Software\\VodGridTest");
        EXPECT_EQ(reg.ReadInteger(L"Layout", L"Col3", -1), 70);
    }
    for (Integer c = 0; c < 4; ++c) Grid->SetColWidths(c, 20);
    Grid->LoadColSizes();
    EXPECT_EQ(Widths(), L"40,50,60,70");
    RegistryStoreReset();
    if (old)
        setenv("XDG_CONFIG_HOME", keep.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
