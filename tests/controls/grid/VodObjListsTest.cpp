// The integer lists, the sort column list's bits and text form, the cell
// control list and the line file list; the editor kinds' ordinals; the
// event types' parameter order (compile-time).
#include <gtest/gtest.h>

#include <type_traits>

#include "controls/grid/BaseGrid.h"
#include "platform/base/SysUtils.h"

// The cell events that pass the row first and those that pass the column
// first.
static_assert(std::is_same_v<TClickCellEvent, std::function<void(TObject*, Integer ARow, Integer ACol)>>);
static_assert(std::is_same_v<TCanEditCellEvent, std::function<void(TObject*, Integer, Integer, bool&)>>);
static_assert(std::is_same_v<TGridGradientEvent,
                             std::function<void(TObject*, Integer, Integer, TColor&, TColor&, TColor&, TColor&,
                                                TCellGradientDirection&)>>);
static_assert(std::is_same_v<TGetEditorTypeEvent, std::function<void(TObject*, Integer, Integer, TEditorType&)>>);
static_assert(std::is_same_v<TGetDisplTextEvent, std::function<void(TObject*, Integer, Integer, String&)>>);
static_assert(std::is_same_v<TCheckBoxCanToggleEvent, std::function<void(TObject*, Integer, Integer, bool, bool&)>>);
static_assert(std::is_same_v<TCanAddRowEvent, std::function<void(TObject*, bool&)>>);
static_assert(sizeof(TEditorType) == 1 && edNone == 27 && edVodGridDropDown == 38);
static_assert(ssNatural == 20 && acSTDDEV == 9 && hcGroupSummary == 4 && waMouseOver == 1);

TEST(IntListTest, WhichOperationsAnnounce)
{
    TIntList l(3, 4);
    int n = 0;
    l.OnChange = [&](TObject* s, Integer c, Integer r) {
        EXPECT_EQ(s, &l);
        EXPECT_EQ(c, 3);
        EXPECT_EQ(r, 4);
        ++n;
    };
    l.Add(5);
    l.Insert(0, 1);  // at an index: silent
    EXPECT_EQ(n, 1);
    l.Delete(0);
    l.SetInteger(0, 6);
    EXPECT_EQ(n, 3);
    l.Clear();
    EXPECT_EQ(n, 3);
    l.Insert(7);  // sorted into an empty list: through Add
    EXPECT_EQ(n, 4);
    l.Insert(3);  // sorted into a list: silent
    EXPECT_EQ(n, 4);
    EXPECT_EQ(l.StrValue(), L"3,7");
    l.SetStrValue(L"1,2,3");
    EXPECT_EQ(n, 7);
    EXPECT_THROW(l.SetStrValue(L"4,x,5"), EConvertError);
    EXPECT_EQ(l.StrValue(), L"4");
    TIntList a(0, 0), b(0, 0);
    EXPECT_EQ(b.Tag(), a.Tag() + 1);
}

TEST(IntListTest, BinarySearchAndInsertionPosition)
{
    TIntList l(-1, -1);
    EXPECT_EQ(l.SortedPosOf(4), 0);
    EXPECT_EQ(l.SortedIndexOf(4), -1);
    for (int v : {1, 3, 5}) l.Add(v);
    EXPECT_EQ(l.SortedPosOf(4), 2);
    EXPECT_EQ(l.SortedPosOf(6), 3);
    EXPECT_EQ(l.SortedPosOf(3), 1);
    EXPECT_EQ(l.SortedPosOf(0), 0);
    EXPECT_EQ(l.SortedIndexOf(5), 2);
    EXPECT_EQ(l.SortedIndexOf(2), -1);
    l.Insert(4);
    EXPECT_EQ(l.StrValue(), L"1,3,4,5");
    l.DeleteValue(3);
    EXPECT_FALSE(l.HasValue(3));
    EXPECT_TRUE(l.HasValue(4));
}

TEST(SortIndexListTest, BitsAndTextForm)
{
    TSortIndexList s;
    s.AddIndex(2, true);
    s.AddIndex(5, false);
    EXPECT_EQ(s.SaveToString(), L"u2;d5");
    EXPECT_EQ(s.FindIndex(5), 1);
    EXPECT_FALSE(s.GetSortDirections(1));
    EXPECT_EQ(s.GetSortColumns(1), 5);
    EXPECT_LT(s.GetInteger(1), 0);  // the top bit
    s.ToggleIndex(5);
    EXPECT_TRUE(s.GetSortDirections(1));
    s.SetSortDirections(0, false);
    s.SetSortColumns(0, 9);
    EXPECT_EQ(s.SaveToString(), L"d9;u5");
    s.Clear();
    s.AddIndex(70000, false);
    EXPECT_EQ(s.SaveToString(), L"d4464");
    s.LoadFromString(L"u3;x7;;d");
    EXPECT_EQ(s.SaveToString(), L"u3;d7");
    s.LoadFromString(L"U4;uz");
    EXPECT_EQ(s.SaveToString(), L"d4;u0");
    s.LoadFromString(L"");
    EXPECT_EQ(s.Count(), 0);
}

TEST(SortIndexListTest, RandomTextsNeverFail)
{
    TSortIndexList s;
    uint32_t seed = 7;
    for (int i = 0; i < 500; ++i) {
        String t;
        const int len = int(seed % 12);
        for (int k = 0; k < len; ++k) {
            seed = seed * 1103515245u + 12345u;
            const wchar_t pool[] = L"ud;0123456789-xU\x80\xffff";
            t += pool[(seed >> 16) % (sizeof(pool) / sizeof(wchar_t) - 1)];
        }
        seed = seed * 1103515245u + 12345u;
        EXPECT_NO_THROW(s.LoadFromString(t));
        EXPECT_NO_THROW(s.SaveToString());
    }
}

TEST(ControlListTest, OwnsItsItemsNotTheirControls)
{
    TControl ctl(nullptr);
    {
        TControlList l;
        l.AddControl(1, 2, &ctl);
        l.AddControl(3, 4, &ctl);
        l.AddControl(1, 2, nullptr);
        EXPECT_EQ(l.ControlIndex(1, 2), 0);
        EXPECT_EQ(l.ControlIndex(3, 4), 1);
        EXPECT_EQ(l.ControlIndex(9, 9), -1);
        EXPECT_EQ(l.GetControl(1)->Control(), &ctl);
        l.RemoveControl(0);
        EXPECT_EQ(l.ControlIndex(1, 2), 1);
        EXPECT_FALSE(l.HasHandle(nullptr));
    }
    EXPECT_EQ(ctl.Width(), ctl.Width());  // still alive (ASan would catch a free)
}

TEST(FileStringListTest, LinesAndThePendingLine)
{
    TFileStringList f;
    f.Write(L"a");
    f.Write(L"b");
    f.WriteLn(L"c");
    f.WriteLn(L"d");
    EXPECT_EQ(f.Count(), 2);
    f.Reset();
    String s;
    f.ReadLn(s);
    EXPECT_EQ(s, L"abc");
    f.ReadLn(s);
    EXPECT_EQ(s, L"d");
    EXPECT_TRUE(f.Eof());
    EXPECT_ANY_THROW(f.ReadLn(s));
}
