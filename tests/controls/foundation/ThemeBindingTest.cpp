// The shared theme-API table and the tool bar's own binding, with the theme
// library present and hidden. The test main has started the library, so the
// tables are bound on entry; each test leaves them so.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "controls/foundation/LibraryStartup.h"
#include "controls/foundation/ThemeApiBinding.h"
#include "controls/foundation/VodTBXPVS.h"

namespace {

// Counts the filled entries of a table of function pointers.
template <class Table>
int FilledEntries(const Table& t)
{
    static_assert(sizeof(Table) % sizeof(void*) == 0);
    const auto* p = reinterpret_cast<const void* const*>(&t);
    int n = 0;
    for (size_t i = 0; i < sizeof(Table) / sizeof(void*); ++i) n += p[i] != nullptr;
    return n;
}

// Hides the theme library for the life of the object.
struct THiddenThemeLibrary {
    THiddenThemeLibrary() { SetModuleHidden(L"uxtheme.dll", true); }
    ~THiddenThemeLibrary() { SetModuleHidden(L"uxtheme.dll", false); }
};

}  // namespace

TEST(ThemeBinding, TheStartUpFillsEveryEntryWithThePlatformsFunction)
{
    ASSERT_TRUE(VodLibraryStarted());
    ASSERT_TRUE(ThemeAPILoaded());
    EXPECT_EQ(ThemeAPIModule(), GetModuleHandle(L"uxtheme"));
    static_assert(sizeof(TThemeApiTable) == 46 * sizeof(void*));
    EXPECT_EQ(FilledEntries(ThemeAPI()), 46);
    EXPECT_EQ(ThemeAPI().OpenThemeData, &::OpenThemeData);
    EXPECT_EQ(ThemeAPI().GetThemePartSize, &::GetThemePartSize);
    EXPECT_EQ(ThemeAPI().GetCurrentThemeName, &::GetCurrentThemeName);
    EXPECT_EQ(ThemeAPI().EnableTheming, &::EnableTheming);

    // Callers draw through the table.
    ASSERT_TRUE(ThemeAPI().IsThemeActive());
    HTHEME t = ThemeAPI().OpenThemeData(nullptr, L"button");
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(ThemeAPI().CloseThemeData(t), S_OK);
}

TEST(ThemeBinding, BindingTwiceDoesNothingAndUnbindingClearsOnce)
{
    BindThemeAPI();   // already bound
    EXPECT_TRUE(ThemeAPILoaded());
    EXPECT_EQ(FilledEntries(ThemeAPI()), 46);

    UnbindThemeAPI();
    EXPECT_FALSE(ThemeAPILoaded());
    EXPECT_EQ(ThemeAPIModule(), nullptr);
    EXPECT_EQ(FilledEntries(ThemeAPI()), 0);
    UnbindThemeAPI();   // nothing left to free
    EXPECT_FALSE(ThemeAPILoaded());

    BindThemeAPI();
    EXPECT_TRUE(ThemeAPILoaded());
    EXPECT_EQ(FilledEntries(ThemeAPI()), 46);
}

TEST(ThemeBinding, WithoutTheThemeLibraryEveryEntryStaysEmpty)
{
    UnbindThemeAPI();
    {
        THiddenThemeLibrary hidden;
        BindThemeAPI();
        EXPECT_FALSE(ThemeAPILoaded());
        EXPECT_EQ(ThemeAPIModule(), nullptr);
        EXPECT_EQ(FilledEntries(ThemeAPI()), 0);
        // A caller's own test keeps it from calling.
        EXPECT_EQ(ThemeAPI().IsThemeActive, nullptr);
        UnbindThemeAPI();
        EXPECT_FALSE(ThemeAPILoaded());
    }
    BindThemeAPI();
    EXPECT_TRUE(ThemeAPILoaded());
}

TEST(ThemeBinding, ToolBarBindingCountsItsBindingsUnderItsLock)
{
    ASSERT_EQ(VodTBXPVS::BindCount(), 1);   // the start-up's
    ASSERT_TRUE(VodTBXPVS::Loaded());
    static_assert(sizeof(VodTBXPVS::TTable) == 45 * sizeof(void*));
    EXPECT_EQ(FilledEntries(VodTBXPVS::ThemeAPI()), 45);
    EXPECT_EQ(VodTBXPVS::ThemeAPI().DrawThemeBackground, &::DrawThemeBackground);

    VodTBXPVS::BindThemeAPI();
    EXPECT_EQ(VodTBXPVS::BindCount(), 2);
    // The first release frees the library; the count still shows one binding.
    VodTBXPVS::ReleaseThemeAPI();
    EXPECT_EQ(VodTBXPVS::BindCount(), 1);
    EXPECT_FALSE(VodTBXPVS::Loaded());
    EXPECT_EQ(FilledEntries(VodTBXPVS::ThemeAPI()), 0);
    VodTBXPVS::ReleaseThemeAPI();
    EXPECT_EQ(VodTBXPVS::BindCount(), 0);
    VodTBXPVS::ReleaseThemeAPI();   // never below 0
    EXPECT_EQ(VodTBXPVS::BindCount(), 0);

    {
        THiddenThemeLibrary hidden;
        VodTBXPVS::BindThemeAPI();   // a failed load changes nothing
        EXPECT_EQ(VodTBXPVS::BindCount(), 0);
        EXPECT_FALSE(VodTBXPVS::Loaded());
    }

    // Threads binding and releasing at once leave a consistent count.
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; ++i)
        threads.emplace_back([] {
            for (int k = 0; k < 200; ++k) VodTBXPVS::BindThemeAPI();
        });
    for (auto& t : threads) t.join();
    EXPECT_EQ(VodTBXPVS::BindCount(), 800);
    VodTBXPVS::Shutdown();   // releases until nothing is left
    EXPECT_EQ(VodTBXPVS::BindCount(), 0);
    EXPECT_FALSE(VodTBXPVS::Loaded());

    VodTBXPVS::Startup();
    EXPECT_EQ(VodTBXPVS::BindCount(), 1);
    EXPECT_EQ(FilledEntries(VodTBXPVS::ThemeAPI()), 45);
}
