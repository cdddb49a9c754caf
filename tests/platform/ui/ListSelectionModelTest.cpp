#include <gtest/gtest.h>

#include <string>

#include "platform/ui/ListSelectionModel.h"

namespace {

enum : Word { kSpace = 0x20, kPrior = 0x21, kNext = 0x22, kEnd = 0x23, kHome = 0x24, kUp = 0x26,
              kDown = 0x28 };

// The selection as a string: '#' selected, '.' not.
std::string Sel(const TListSelectionModel& m)
{
    std::string s;
    for (Integer i = 0; i < m.Count(); ++i) s += m.Selected(i) ? '#' : '.';
    return s;
}

TListSelectionModel Model(TListSelectMode mode, Integer count = 8)
{
    TListSelectionModel m;
    m.SetCount(count);
    m.SetMode(mode);
    return m;
}

TEST(ListSelectionModel, ClicksInEachMode)
{
    struct Click {
        Integer Item;
        bool Shift, Ctrl;
    };
    struct Case {
        const char* Name;
        TListSelectMode Mode;
        std::vector<Click> Clicks;
        std::string Selection;
        Integer Focus;
    } cases[] = {
        {"single", TListSelectMode::Single, {{2, false, false}, {5, true, true}}, ".....#..", 5},
        {"multiple toggles", TListSelectMode::Multiple,
         {{1, false, false}, {3, false, false}, {1, true, false}}, "...#....", 1},
        {"extended plain", TListSelectMode::Extended, {{1, false, false}, {4, false, false}},
         "....#...", 4},
        {"extended shift range", TListSelectMode::Extended, {{2, false, false}, {5, true, false}},
         "..####..", 5},
        {"shift range backwards, anchor kept", TListSelectMode::Extended,
         {{4, false, false}, {6, true, false}, {1, true, false}}, ".####...", 1},
        {"ctrl toggles", TListSelectMode::Extended,
         {{1, false, false}, {3, false, true}, {1, false, true}}, "...#....", 1},
        {"ctrl+shift adds a range", TListSelectMode::Extended,
         {{0, false, false}, {4, false, true}, {6, true, true}}, "#...###.", 6},
        {"out of range ignored", TListSelectMode::Extended, {{2, false, false}, {9, false, false}},
         "..#.....", 2},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.Name);
        auto m = Model(k.Mode);
        for (const auto& c : k.Clicks) m.Click(c.Item, c.Shift, c.Ctrl);
        EXPECT_EQ(k.Selection, Sel(m));
        EXPECT_EQ(k.Focus, m.ItemIndex());
    }
}

TEST(ListSelectionModel, KeyboardInEachMode)
{
    struct Key {
        Word Vk;
        bool Shift, Ctrl;
    };
    struct Case {
        const char* Name;
        TListSelectMode Mode;
        Integer Start;
        std::vector<Key> Keys;
        std::string Selection;
        Integer Focus;
    } cases[] = {
        {"single down", TListSelectMode::Single, 2, {{kDown, false, false}}, "...#....", 3},
        {"single clamps at the ends", TListSelectMode::Single, 7, {{kDown, false, false}},
         ".......#", 7},
        {"home and end", TListSelectMode::Single, 3, {{kEnd, false, false}, {kHome, false, false}},
         "#.......", 0},
        {"no focus yet: first item", TListSelectMode::Single, -1, {{kDown, false, false}},
         "#.......", 0},
        {"extended shift extends", TListSelectMode::Extended, 2,
         {{kDown, true, false}, {kDown, true, false}}, "..###...", 4},
        {"extended ctrl moves focus only", TListSelectMode::Extended, 2,
         {{kDown, false, true}, {kDown, false, true}}, "..#.....", 4},
        {"ctrl+space toggles", TListSelectMode::Extended, 2,
         {{kDown, false, true}, {kSpace, false, true}}, "..##....", 3},
        {"multiple: arrows move, space toggles", TListSelectMode::Multiple, -1,
         {{kDown, false, false}, {kDown, false, false}, {kSpace, false, false}}, ".#......", 1},
        {"page down to the page's bottom, then a page", TListSelectMode::Single, 0,
         {{kNext, false, false}, {kNext, false, false}}, "......#.", 6},
        {"page up to the page's top", TListSelectMode::Single, 7, {{kPrior, false, false}},
         "....#...", 4},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.Name);
        auto m = Model(k.Mode);
        m.SetPageSize(4);
        if (k.Start >= 0) m.Click(k.Start, false, false);
        if (k.Mode == TListSelectMode::Multiple) m.ClearSelection();
        for (const auto& key : k.Keys) EXPECT_TRUE(m.KeyDown(key.Vk, key.Shift, key.Ctrl));
        EXPECT_EQ(k.Selection, Sel(m));
        EXPECT_EQ(k.Focus, m.ItemIndex());
        EXPECT_LE(m.TopIndex(), m.ItemIndex());
        EXPECT_GT(m.TopIndex() + m.PageSize(), m.ItemIndex());
    }
    auto m = Model(TListSelectMode::Single);
    EXPECT_FALSE(m.KeyDown(0x41, false, false));
    auto empty = Model(TListSelectMode::Single, 0);
    EXPECT_TRUE(empty.KeyDown(kDown, false, false));
    EXPECT_EQ(-1, empty.ItemIndex());
}

TEST(ListSelectionModel, TypeAheadSearch)
{
    const std::vector<String> items = {L"apple", L"Banana", L"blueberry", L"cherry",
                                       L"bean", L"Cranberry"};
    auto text = [&](Integer i) { return items[i]; };
    struct Typed {
        Char Ch;
        uint32_t Ms;
        Integer Found;
    };
    struct Case {
        const char* Name;
        std::vector<Typed> Keys;
    } cases[] = {
        {"prefix grows", {{L'b', 0, 1}, {L'l', 100, 2}}},
        {"same letter cycles", {{L'b', 0, 1}, {L'b', 100, 2}, {L'b', 200, 4}, {L'b', 300, 1}}},
        {"case insensitive", {{L'C', 0, 3}, {L'R', 50, 5}}},
        {"timeout starts over", {{L'b', 0, 1}, {L'e', 2000, -1}, {L'c', 4000, 3}}},
        {"prefix may stay on the focused item", {{L'b', 0, 1}, {L'a', 10, 1}, {L'n', 20, 1}}},
        {"no match keeps the focus", {{L'z', 0, -1}}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.Name);
        auto m = Model(TListSelectMode::Single, Integer(items.size()));
        Integer focus = -1;
        for (const auto& t : k.Keys) {
            Integer got = m.TypeAhead(t.Ch, t.Ms, text);
            EXPECT_EQ(t.Found, got) << char(t.Ch) << " at " << t.Ms;
            if (got >= 0) focus = got;
            EXPECT_EQ(focus, m.ItemIndex());
        }
    }
    // In multiple mode the search moves the focus only.
    auto mm = Model(TListSelectMode::Multiple, Integer(items.size()));
    EXPECT_EQ(3, mm.TypeAhead(L'c', 0, text));
    EXPECT_EQ(0, mm.SelCount());
}

TEST(ListSelectionModel, InsertDeleteAndProgrammaticSelection)
{
    auto m = Model(TListSelectMode::Extended, 5);
    m.Click(1, false, false);
    m.Click(3, false, true);   // "·#·#·", focus 3, anchor 3
    m.Insert(2);
    EXPECT_EQ(".#..#.", Sel(m));
    EXPECT_EQ(4, m.ItemIndex());
    EXPECT_EQ(4, m.Anchor());
    m.Delete(4);
    EXPECT_EQ(".#...", Sel(m));
    EXPECT_EQ(-1, m.ItemIndex());
    m.Delete(0);
    EXPECT_EQ("#...", Sel(m));
    m.Delete(9);   // ignored
    EXPECT_EQ(4, m.Count());
    m.SelectAll();
    EXPECT_EQ(4, m.SelCount());
    m.SetSelected(2, false);
    EXPECT_EQ("##.#", Sel(m));

    auto s = Model(TListSelectMode::Single, 4);
    s.SetItemIndex(2);
    EXPECT_EQ("..#.", Sel(s));
    s.SetSelected(0, true);   // single mode: the one selection moves
    EXPECT_EQ("#...", Sel(s));
    EXPECT_EQ(0, s.ItemIndex());
    s.SelectAll();            // means nothing in single mode
    EXPECT_EQ(1, s.SelCount());
    s.SetItemIndex(-1);
    EXPECT_EQ(0, s.SelCount());
    s.SetItemIndex(7);
    EXPECT_EQ(-1, s.ItemIndex());
    s.SetMode(TListSelectMode::Multiple);
    EXPECT_EQ(0, s.SelCount());
}

TEST(ListSelectionModel, TopIndexFollowsTheFocus)
{
    auto m = Model(TListSelectMode::Single, 20);
    m.SetPageSize(5);
    m.SetItemIndex(12);
    EXPECT_EQ(8, m.TopIndex());
    m.SetItemIndex(3);
    EXPECT_EQ(3, m.TopIndex());
    m.SetTopIndex(100);   // no further than a full last page
    EXPECT_EQ(15, m.TopIndex());
    m.SetTopIndex(-3);
    EXPECT_EQ(0, m.TopIndex());
}

}  // namespace
