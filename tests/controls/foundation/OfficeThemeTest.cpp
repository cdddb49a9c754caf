// Office theme detection against a seeded registry store, and the theme
// notifier against the real store: a second process changes a watched
// value and the windows hear of it on the user-interface thread.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

#include "controls/foundation/VodStyleIF.h"
#include "platform/base/Registry.h"
#include "platform/base/SysUtils.h"
#include "platform/os/Modules.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Themes.h"
#include "platform/ui/backend/Headless.h"

namespace {

const String KOffice = L"\\Software\\Microsoft\\Office\\";

// A fresh registry store per test, and the theme settings as the profile has them.
class OfficeRegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/vel_office_XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        FDir = tmpl;
        const char* old = std::getenv("XDG_CONFIG_HOME");
        FHadOld = old != nullptr;
        if (old) FOld = old;
        ::setenv("XDG_CONFIG_HOME", FDir.c_str(), 1);
        RegistryStoreReset();
    }
    void TearDown() override
    {
        SetThemeColorSchemeName(L"NormalColor");
        SetVisualStylesEnabled(true);
        SetModuleHidden(L"uxtheme.dll", false);
        RegistryStoreReset();
        if (FHadOld)
            ::setenv("XDG_CONFIG_HOME", FOld.c_str(), 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
        ::system(("rm -rf '" + FDir + "'").c_str());
    }

    static void MakeKey(const String& path) { ASSERT_TRUE(TRegistry().CreateKey(path)); }
    static void WriteDword(const String& key, const String& name, Integer v)
    {
        TRegistry r;
        ASSERT_TRUE(r.OpenKey(key, true));
        r.WriteInteger(name, v);
    }
    static void WriteText(const String& key, const String& name, const String& v)
    {
        TRegistry r;
        ASSERT_TRUE(r.OpenKey(key, true));
        r.WriteString(name, v);
    }
    static void WriteBytes(const String& key, const String& name)
    {
        TRegistry r;
        ASSERT_TRUE(r.OpenKey(key, true));
        const Byte b[2] = {3, 0};
        r.WriteBinaryData(name, b, 2);
    }

    std::string FDir, FOld;
    bool FHadOld = false;
};

enum TSeedKind { skDword, skText, skBytes, skKeyOnly };
struct TSeed {
    const wchar_t* Version;   // "16.0"
    const wchar_t* Name;      // "UI Theme" / "Theme"
    TSeedKind Kind;
    Integer Value;
};

}  // namespace

TEST_F(OfficeRegistryTest, OfficeVersionIsTheLastKeyFound)
{
    struct Case {
        std::vector<const wchar_t*> Versions;
        Integer Expected;
    } cases[] = {
        {{}, 0},
        {{L"11.0"}, 0},
        {{L"12.0"}, 1},
        {{L"14.0", L"12.0"}, 2},
        {{L"15.0"}, 3},
        {{L"11.0", L"16.0", L"14.0"}, 4},
        {{L"13.0"}, 0},   // no such Office
    };
    for (const Case& c : cases) {
        RegistryStoreReset();
        TRegistry().DeleteKey(L"\\Software\\Microsoft");
        for (const wchar_t* v : c.Versions) MakeKey(KOffice + v + L"\\Common\\General");
        EXPECT_EQ(GetOfficeVersion(), c.Expected) << c.Versions.size();
    }
    // A version's Common key without General is no installation.
    TRegistry().DeleteKey(L"\\Software\\Microsoft");
    MakeKey(KOffice + L"16.0\\Common");
    EXPECT_EQ(GetOfficeVersion(), 0);
}

TEST_F(OfficeRegistryTest, OfficeThemeFromTheSeededRegistry)
{
    struct Case {
        std::vector<TSeed> Seeds;
        const wchar_t* Scheme;   // the colour scheme the theme library reports
        TOfficeTheme Expected;
    } cases[] = {
        {{{L"16.0", L"UI Theme", skDword, 0}}, L"NormalColor", ot2016White},
        {{{L"16.0", L"UI Theme", skDword, 3}}, L"NormalColor", ot2016White},
        {{{L"16.0", L"UI Theme", skDword, 5}}, L"NormalColor", ot2016Gray},
        {{{L"16.0", L"UI Theme", skDword, 2}}, L"NormalColor", ot2016Black},
        // An unlisted value ends the search: the older keys are not consulted.
        {{{L"16.0", L"UI Theme", skDword, 4}, {L"15.0", L"UI Theme", skDword, 1}}, L"Metallic", ot2003Blue},
        {{{L"16.0", L"", skKeyOnly, 0}, {L"15.0", L"UI Theme", skDword, 1}}, L"NormalColor", ot2013Silver},
        {{{L"15.0", L"UI Theme", skDword, 0}}, L"NormalColor", ot2013White},
        {{{L"15.0", L"UI Theme", skDword, 2}}, L"NormalColor", ot2013Gray},
        {{{L"15.0", L"UI Theme", skDword, 7}}, L"Metallic", ot2003Blue},
        // A value of the wrong type counts as missing.
        {{{L"16.0", L"UI Theme", skText, 3}, {L"15.0", L"UI Theme", skDword, 2}}, L"NormalColor", ot2013Gray},
        {{{L"16.0", L"UI Theme", skBytes, 0}, {L"14.0", L"Theme", skDword, 3}}, L"NormalColor", ot2010Black},
        {{{L"12.0", L"Theme", skText, 2}}, L"Metallic", ot2003Silver},
        // 2013 and 2016 keep "UI Theme", 2007 and 2010 "Theme".
        {{{L"16.0", L"Theme", skDword, 2}, {L"14.0", L"Theme", skDword, 1}}, L"NormalColor", ot2010Blue},
        {{{L"14.0", L"Theme", skDword, 2}}, L"NormalColor", ot2010Silver},
        {{{L"14.0", L"Theme", skDword, 0}, {L"12.0", L"Theme", skDword, 1}}, L"NormalColor", ot2003Blue},
        {{{L"12.0", L"Theme", skDword, 1}}, L"Metallic", ot2007Blue},
        {{{L"12.0", L"Theme", skDword, 2}}, L"NormalColor", ot2007Silver},
        {{{L"12.0", L"Theme", skDword, 3}}, L"NormalColor", ot2007Black},
        {{{L"12.0", L"Theme", skDword, -1}}, L"Metallic", ot2003Silver},   // -1 reads as missing
        // No Office value: the XP colour scheme; a literal matches when the
        // scheme name occurs in it.
        {{}, L"NormalColor", ot2003Blue},
        {{}, L"HomeStead", ot2003Olive},
        {{}, L"Metallic", ot2003Silver},
        {{}, L"Metal", ot2003Silver},
        {{}, L"Color", ot2003Blue},
        {{}, L"Royale", ot2003Classic},
        {{}, L"metallic", ot2003Classic},
        {{}, L"", ot2003Classic},
    };
    int row = 0;
    for (const Case& c : cases) {
        ++row;
        TRegistry().DeleteKey(L"\\Software\\Microsoft");
        for (const TSeed& s : c.Seeds) {
            const String key = KOffice + s.Version + L"\\Common";
            switch (s.Kind) {
            case skDword: WriteDword(key, s.Name, s.Value); break;
            case skText: WriteText(key, s.Name, IntToStr(s.Value)); break;
            case skBytes: WriteBytes(key, s.Name); break;
            case skKeyOnly: MakeKey(key); break;
            }
        }
        SetThemeColorSchemeName(c.Scheme);
        EXPECT_EQ(int(GetOfficeTheme()), int(c.Expected)) << "row " << row;
    }

    // The classic look (no active theme), and no theme library at all.
    TRegistry().DeleteKey(L"\\Software\\Microsoft");
    SetThemeColorSchemeName(L"Metallic");
    SetVisualStylesEnabled(false);
    EXPECT_EQ(GetOfficeTheme(), ot2003Classic);
    SetVisualStylesEnabled(true);
    EXPECT_EQ(GetOfficeTheme(), ot2003Silver);
    SetModuleHidden(L"uxtheme.dll", true);
    EXPECT_EQ(GetXPColorScheme(), 0);
    EXPECT_EQ(GetOfficeTheme(), ot2003Classic);
}

TEST(HandleList, ListOperations)
{
    THandleList l;
    l.Add(10);
    l.Add(20);
    l.Insert(1, 15);
    EXPECT_EQ(l.Count(), 3);
    EXPECT_EQ(l.Items(1), 15);
    l.SetItems(1, 16);
    EXPECT_EQ(l.GetInteger(1), 16);
    EXPECT_TRUE(l.HasValue(20));
    l.Add(10);
    l.DeleteValue(10);   // the first only
    EXPECT_EQ(l.Count(), 3);
    EXPECT_EQ(l.Items(0), 16);
    EXPECT_EQ(l.Items(2), 10);
    l.DeleteValue(99);   // not there: nothing
    EXPECT_EQ(l.Count(), 3);
    l.Delete(0);
    EXPECT_FALSE(l.HasValue(16));
    EXPECT_THROW(l.Items(5), EListError);
    EXPECT_THROW(l.Delete(-1), EListError);
}

TEST(RegMonitorThread, PropertiesAndAStopBeforeAnyChange)
{
    TRegMonitorThread t;
    EXPECT_EQ(t.Filter(), 15);   // 0 reads as every kind
    t.SetFilter(4);
    EXPECT_EQ(t.Filter(), 4);
    t.SetFilter(0);
    EXPECT_EQ(t.Filter(), 15);
    t.AddWindow(7);
    t.AddWindow(7);
    t.AddWindow(8);
    EXPECT_EQ(t.WinListCopy(), (std::vector<NativeInt>{7, 8}));
    t.RemoveWindow(9);
    t.RemoveWindow(7);
    EXPECT_EQ(t.WinListCopy(), (std::vector<NativeInt>{8}));
    EXPECT_TRUE(t.HasWindow(8));
}

// ---------------------------------------------------------------------------
// The notifier

namespace {

struct TLogEntry {
    String Who;
    WPARAM Root = 0;
    String Path;
    TThreadID Thread = 0;
    TOfficeTheme Theme = otUnknown;
};

// A window that logs the theme-change message.
class TLogWindow : public TWinControl {
public:
    TLogWindow(TWinControl* parent, std::vector<TLogEntry>& log, const String& who)
        : TWinControl(parent), FLog(log), FWho(who)
    {
        SetParent(parent);
    }
    void WndProc(TMessage& m) override
    {
        if (m.Msg == WM_OFFICETHEMECHANGED)
            FLog.push_back({FWho, m.WParam, reinterpret_cast<const wchar_t*>(m.LParam), GetCurrentThreadId(),
                            GetOfficeTheme()});
        TWinControl::WndProc(m);
    }

private:
    std::vector<TLogEntry>& FLog;
    String FWho;
};

// Runs fn in a second process; answers its exit code.
int InOtherProcess(const std::function<bool()>& fn)
{
    pid_t pid = ::fork();
    if (pid == 0) {
        int rc = 1;
        try {
            rc = fn() ? 0 : 1;
        } catch (...) {
            rc = 2;
        }
        ::_exit(rc);
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool SetUIThemeElsewhere(Integer value)
{
    return InOtherProcess([value] {
               TRegistry r;
               if (!r.OpenKey(L"\\Software\\Microsoft\\Office\\16.0\\Common", false)) return false;
               r.WriteInteger(L"UI Theme", value);
               return true;
           }) == 0;
}

class ThemeNotifierTest : public OfficeRegistryTest {
protected:
    void SetUp() override
    {
        OfficeRegistryTest::SetUp();
        Drv = std::make_unique<THeadlessDriver>();
        InitForms();
        Form = new TForm(Application);
        Form->Init();
        Form->SetBounds(10, 10, 300, 200);
    }
    void TearDown() override
    {
        delete Form;   // takes any notifier it owns with it
        DoneForms();
        Drv.reset();
        OfficeRegistryTest::TearDown();
    }
    // Pumps the user-interface thread until pred holds (at most 10 s).
    bool PumpUntil(const std::function<bool()>& pred)
    {
        for (int i = 0; i < 2000 && !pred(); ++i) {
            Drv->Pump();
            CheckSynchronize(5);
        }
        return pred();
    }
    static void InstallOffice2016(Integer theme)
    {
        MakeKey(KOffice + L"16.0\\Common\\General");
        WriteDword(KOffice + L"16.0\\Common", L"UI Theme", theme);
    }

    std::unique_ptr<THeadlessDriver> Drv;
    TForm* Form = nullptr;
};

}  // namespace

TEST_F(ThemeNotifierTest, WithoutOffice2007OrLaterThereIsNoWindowAndNoThread)
{
    MakeKey(KOffice + L"11.0\\Common\\General");
    TThemeNotifier* n = GetThemeNotifier(Form);
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(GetThemeNotifier(nullptr), n);   // shared
    EXPECT_EQ(n->Owner(), Form);
    EXPECT_EQ(n->RegMonitorThread(), nullptr);
    EXPECT_EQ(n->NotifierWindow(), nullptr);
    n->RegisterWindow(Form->Handle());   // nothing to register with
    n->UnRegisterWindow(Form->Handle());
    delete n;
    // The next call makes a new one.
    TThemeNotifier* again = GetThemeNotifier(Form);
    EXPECT_NE(again, nullptr);
    delete again;
}

TEST_F(ThemeNotifierTest, OwnerMustBeAWindowedControl)
{
    InstallOffice2016(0);
    TComponent plain(nullptr);
    EXPECT_THROW(TThemeNotifier bad(&plain), EInvalidCast);
    EXPECT_THROW(TThemeNotifier none(nullptr), EInvalidOperation);
}

TEST_F(ThemeNotifierTest, AWatchThatCannotOpenItsKeyEndsWithoutSending)
{
    TRegMonitorThread t;
    t.SetKey(L"Software\\Microsoft\\Office\\99.0\\Common");
    t.SetWnd(Form->Handle());
    t.Start();
    ASSERT_TRUE(PumpUntil([&] { return t.Finished(); }));
    t.WaitFor();
    ASSERT_TRUE(t.FatalException());
    try {
        std::rethrow_exception(t.FatalException());
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"Unable to open registry key Software\\Microsoft\\Office\\99.0\\Common");
    }
    EXPECT_EQ(t.Passes(), 0);
}

TEST_F(ThemeNotifierTest, AChangeInAnotherProcessArrivesOnTheUserInterfaceThread)
{
    InstallOffice2016(0);
    std::vector<TLogEntry> log;
    auto* a = new TLogWindow(Form, log, L"A");
    auto* b = new TLogWindow(Form, log, L"B");

    auto* n = new TThemeNotifier(Form);
    n->OnOfficeThemeChange = [&](TObject* sender) {
        EXPECT_EQ(sender, n);
        log.push_back({L"notifier", 0, L"", GetCurrentThreadId(), GetOfficeTheme()});
    };
    TRegMonitorThread* t = n->RegMonitorThread();
    ASSERT_NE(t, nullptr);
    ASSERT_NE(n->NotifierWindow(), nullptr);
    EXPECT_FALSE(n->NotifierWindow()->Visible());
    EXPECT_EQ(n->NotifierWindow()->Parent(), Form);
    EXPECT_EQ(t->Wnd(), n->NotifierWindow()->Handle());
    EXPECT_EQ(t->Key(), L"Software\\Microsoft\\Office\\16.0\\Common");
    EXPECT_EQ(t->RootKey(), HKEY_CURRENT_USER);
    EXPECT_EQ(t->Filter(), 4);
    EXPECT_TRUE(t->WatchSub());

    n->RegisterWindow(a->Handle());
    n->RegisterWindow(b->Handle());
    n->RegisterWindow(a->Handle());   // once is enough
    n->UnRegisterWindow(Form->Handle());   // never registered: nothing
    EXPECT_EQ(t->WinListCopy().size(), 2u);

    // The thread places its watch in its own time; a change before that is
    // not reported (on a loaded machine it can come late).
    ASSERT_TRUE(PumpUntil([&] { return t->Watches() == 1; }));
    ASSERT_TRUE(SetUIThemeElsewhere(5));
    ASSERT_TRUE(PumpUntil([&] { return log.size() >= 3; }));
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].Who, L"notifier");
    EXPECT_EQ(log[1].Who, L"A");
    EXPECT_EQ(log[2].Who, L"B");
    for (const TLogEntry& e : log) {
        EXPECT_EQ(e.Thread, MainThreadID);
        EXPECT_EQ(e.Theme, ot2016Gray);
    }
    EXPECT_EQ(log[1].Root, WPARAM(HKEY_CURRENT_USER));
    EXPECT_EQ(log[1].Path, L"Software\\Microsoft\\Office\\16.0\\Common");
    EXPECT_TRUE(PumpUntil([&] { return t->Passes() == 1; }));

    // Armed again: the next change makes one more pass, now without B.
    n->UnRegisterWindow(b->Handle());
    log.clear();
    ASSERT_TRUE(PumpUntil([&] { return t->Watches() == 2; }));
    ASSERT_TRUE(SetUIThemeElsewhere(2));
    ASSERT_TRUE(PumpUntil([&] { return log.size() >= 2; }));
    PumpUntil([&] { return t->Passes() == 2; });
    EXPECT_EQ(t->Passes(), 2);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1].Who, L"A");
    EXPECT_EQ(log[1].Theme, ot2016Black);

    // A value below the watched key counts too: one pass.
    log.clear();
    ASSERT_TRUE(PumpUntil([&] { return t->Watches() == 3; }));
    ASSERT_EQ(InOtherProcess([] {
                  TRegistry r;
                  if (!r.OpenKey(L"\\Software\\Microsoft\\Office\\16.0\\Common\\General", false)) return false;
                  r.WriteString(L"Below", L"x");
                  return true;
              }),
              0);
    ASSERT_TRUE(PumpUntil([&] { return log.size() >= 2 && t->Passes() == 3; }));
    EXPECT_EQ(log.size(), 2u);

    // Stopped while it waits: it leaves without sending anything.
    log.clear();
    delete n;
    Drv->Pump();
    EXPECT_TRUE(log.empty());
}

TEST_F(ThemeNotifierTest, DestroyingTheNotifierAnswersTheMessagesItsThreadStillSends)
{
    InstallOffice2016(0);
    std::vector<TLogEntry> log;
    auto* a = new TLogWindow(Form, log, L"A");
    auto* b = new TLogWindow(Form, log, L"B");
    auto* n = new TThemeNotifier(Form);
    bool heard = false;
    n->OnOfficeThemeChange = [&](TObject*) { heard = true; };
    n->RegisterWindow(a->Handle());
    n->RegisterWindow(b->Handle());

    ASSERT_TRUE(PumpUntil([&] { return n->RegMonitorThread()->Watches() == 1; }));
    ASSERT_TRUE(SetUIThemeElsewhere(3));
    // Answer only the first message of the pass; the thread then waits on
    // its send to A while this thread destroys the notifier.
    ASSERT_TRUE(PumpUntil([&] { return heard; }));
    delete n;
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].Who, L"A");
    EXPECT_EQ(log[1].Who, L"B");
    Drv->Pump();
    EXPECT_EQ(log.size(), 2u);
}

TEST_F(ThemeNotifierTest, TheOwnerTakesTheNotifierAndItsThreadWithIt)
{
    InstallOffice2016(0);
    auto* owner = new TForm(Application);
    owner->Init();
    TThemeNotifier* n = GetThemeNotifier(owner);
    ASSERT_NE(n->RegMonitorThread(), nullptr);
    delete owner;   // the notifier goes with it, the shared reference too
    // With a main form that has its window, the main form owns the shared one.
    auto* other = new TForm(Application);
    other->Init();
    Application->SetMainForm(Form);
    Form->HandleNeeded();
    TThemeNotifier* fresh = GetThemeNotifier(other);
    EXPECT_EQ(fresh->Owner(), Form);
    EXPECT_EQ(fresh->NotifierWindow()->Parent(), Form);
    Application->SetMainForm(nullptr);
    delete other;
    EXPECT_EQ(GetThemeNotifier(nullptr), fresh);   // still the shared one
}
