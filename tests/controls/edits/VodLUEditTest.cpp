// The lookup edit: completion, Enter's stored form, exit with history and
// synchronisation, the history store, file-name completion.
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "VodEditTestSupport.h"
#include "controls/edits/vodlued.h"
#include "platform/base/Files.h"
#include "platform/base/IniFiles.h"
#include "platform/base/Registry.h"

namespace {

class VodLUEditTest : public VodEditTestBase {
protected:
    TVodLUEdit* NewLU(int y = 20)
    {
        auto* e = new TVodLUEdit(Form);
        e->SetParent(Form);
        e->SetBounds(100, y, 200, 24);
        e->HandleNeeded();
        return e;
    }
    // A key as the user presses it: down, the character, up.
    void Press(wchar_t c)
    {
        Drv->TypeText(String(1, c));
        Drv->Pump();
    }
    std::vector<String> Items(TStrings* s)
    {
        std::vector<String> v;
        for (Integer i = 0; i < s->Count(); ++i) v.push_back(s->Strings(i));
        return v;
    }
};

class TempDir {
public:
    TempDir()
    {
        char tmpl[] = "/tmp/velmora-luedit-XXXXXX";
        if (mkdtemp(tmpl)) Path = tmpl;
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(Path, ec);
    }
    String W() const { return UTF8ToString(Path); }
    std::string Path;
};

}  // namespace

TEST_F(VodLUEditTest, CompletionFromTheFirstMatchingItem)
{
    TVodLUEdit* e = NewLU();
    e->LookupItems()->Add(L"Alpha");
    e->LookupItems()->Add(L"alpine");
    e->SetFocus();
    Drv->Pump();
    Press(L'a');
    EXPECT_EQ(e->Text(), L"alpha");   // the typed letter keeps its case
    EXPECT_EQ(Sel(e), std::make_pair(1, 4));
    EXPECT_TRUE(e->Modified());

    // With letter case: "a" finds alpine, "A" finds Alpha.
    e->SetMatchCase(true);
    e->SetText(L"");
    Press(L'a');
    EXPECT_EQ(e->Text(), L"alpine");
    e->SetText(L"");
    Press(L'A');
    EXPECT_EQ(e->Text(), L"Alpha");

    // Backspace and Delete never complete; the next key does again.
    e->SetMatchCase(false);
    e->SetText(L"");
    Press(L'a');
    Drv->PressKey(VK_DELETE);
    Drv->Pump();
    EXPECT_EQ(e->Text(), L"a");
    Drv->PressKey(VK_BACK);
    Drv->Pump();
    EXPECT_EQ(e->Text(), L"");
    Press(L'A');
    EXPECT_EQ(e->Text(), L"Alpha");

    // The completion event may change what is added.
    e->AutoComplete = [](TObject*, const String& typed, String& add, Integer idx) {
        EXPECT_EQ(typed, L"a");
        EXPECT_EQ(idx, 0);
        add = L"-custom";
    };
    e->SetText(L"");
    Press(L'a');
    EXPECT_EQ(e->Text(), L"a-custom");
}

TEST_F(VodLUEditTest, EnterPutsTheStoredFormBeforeOnKeyDown)
{
    TVodLUEdit* e = NewLU();
    e->LookupItems()->Add(L"Velmora");
    e->SetFocus();
    Drv->Pump();
    e->SetText(L"VELMORA");
    String seen;
    e->OnKeyDown = [&](TObject*, Word& k, TShiftState) {
        if (k == VK_RETURN) seen = e->Text();
    };
    Drv->PressKey(VK_RETURN);
    Drv->Pump();
    EXPECT_EQ(seen, L"Velmora");
}

TEST_F(VodLUEditTest, ExitAddsHistorySynchronisesAndMayBeRefused)
{
    TVodLUEdit* a = NewLU(20);
    TVodLUEdit* b = NewLU(60);
    TVodLUEdit* c = NewLU(100);
    for (TVodLUEdit* x : {a, b, c}) {
        x->SetAutoHistory(true);
        x->SetAutoSynchronize(true);
    }
    c->LookupPersist()->SetSection(L"Elsewhere");
    std::vector<String> added;
    a->OnAddToHistory = [&](TObject*, const String& s) { added.push_back(s); };
    a->SetFocus();
    Drv->Pump();
    a->SetText(L"first");
    b->SetFocus();
    Drv->Pump();
    EXPECT_EQ(Items(a->LookupItems()), (std::vector<String>{L"first"}));
    EXPECT_EQ(Items(b->LookupItems()), (std::vector<String>{L"first"}));
    EXPECT_EQ(c->LookupItems()->Count(), 0) << "another storage place";
    EXPECT_EQ(added, (std::vector<String>{L"first"}));

    // Accept refusing: the focus comes back and nothing is added.
    b->Accept = [](TObject*, const String& s, Integer idx, bool& ok) {
        EXPECT_EQ(idx, -1);
        ok = s != L"bad";
    };
    b->SetText(L"bad");
    c->SetFocus();
    Drv->Pump();
    EXPECT_EQ(GetFocus(), b->Handle());
    EXPECT_EQ(b->LookupItems()->IndexOf(L"bad"), -1);
}

TEST_F(VodLUEditTest, HistoryStoreInAnIniFile)
{
    TempDir dir;
    const String file = dir.W() + L"/history.ini";
    auto save = [&](std::vector<const wchar_t*> items, bool maxCount, Integer count) {
        TVodLUEdit* e = NewLU();
        e->LookupPersist()->SetEnable(true);
        e->LookupPersist()->SetKey(file);
        e->LookupPersist()->SetMaxCount(maxCount);
        e->LookupPersist()->SetCount(count);
        for (const wchar_t* s : items) e->LookupItems()->Add(s);
        delete e;
    };
    auto load = [&]() {
        TVodLUEdit* e = NewLU();
        e->LookupPersist()->SetEnable(true);
        e->LookupPersist()->SetKey(file);
        e->LoadPersist();
        std::vector<String> v = Items(e->LookupItems());
        e->LookupPersist()->SetEnable(false);
        delete e;
        return v;
    };
    save({L"a", L"b", L"c", L"d", L"e"}, true, 3);
    EXPECT_EQ(load(), (std::vector<String>{L"c", L"d", L"e"}));
    save({L"x", L"y"}, true, 3);
    TMemIniFile ini(file);
    EXPECT_TRUE(ini.ValueExists(L"Values", L"Item3"));
    EXPECT_EQ(ini.ReadString(L"Values", L"Item3", L"?"), L"");
    EXPECT_EQ(load(), (std::vector<String>{L"x", L"y"}));
    // A shorter history without MaxCount: deleted entries stay deleted.
    save({L"1", L"2", L"3", L"4"}, false, 0);
    save({L"only"}, false, 0);
    EXPECT_EQ(load(), (std::vector<String>{L"only"}));
    EXPECT_FALSE(TMemIniFile(file).ValueExists(L"Values", L"Item2"));
}

TEST_F(VodLUEditTest, HistoryStoreDefaultsAndRegistry)
{
    TempDir home;
    const char* old = std::getenv("XDG_CONFIG_HOME");
    const std::string keep = old ? old : "";
    ::setenv("XDG_CONFIG_HOME", home.Path.c_str(), 1);
    RegistryStoreReset();
    {
        TVodLUEdit* e = NewLU();
        EXPECT_EQ(e->LookupPersist()->Key(), L"LUEdit");
        EXPECT_EQ(e->LookupPersist()->Section(), L"Values");
        EXPECT_EQ(e->Version(), L"1.4.1.0");
        e->LookupPersist()->SetEnable(true);
        e->LookupItems()->Add(L"kept");
        delete e;
        // The bare name lands in the configuration folder, not the current one.
        EXPECT_TRUE(FileExists(home.W() + L"/velmora/LUEdit"));

        TVodLUEdit* r = NewLU();
        r->LookupPersist()->SetEnable(true);
        r->LookupPersist()->SetLocation(plRegistry);
        r->LookupPersist()->SetKey(L"Software\\LUTest");
        r->LookupItems()->Add(L"one");
        r->LookupItems()->Add(L"two");
        delete r;
        RegistryStoreReset();
        TVodLUEdit* back = NewLU();
        TLUPersist p;
        p.SetEnable(true);
        p.SetLocation(plRegistry);
        p.SetKey(L"Software\\LUTest");
        back->SetLookupPersist(&p);
        back->LoadPersist();
        EXPECT_EQ(Items(back->LookupItems()), (std::vector<String>{L"one", L"two"}));
        back->LookupPersist()->SetEnable(false);
    }
    if (old) ::setenv("XDG_CONFIG_HOME", keep.c_str(), 1);
    else ::unsetenv("XDG_CONFIG_HOME");
    RegistryStoreReset();
}

TEST_F(VodLUEditTest, FileLookupCompletesNamesButNeverHiddenOnes)
{
    TempDir dir;
    std::ofstream(dir.Path + "/.winhidden");
    std::ofstream(dir.Path + "/windows.txt");
    std::filesystem::create_directory(dir.Path + "/work");
    TVodLUEdit* e = NewLU();
    e->SetFileLookup(true);
    e->SetFocus();
    Drv->Pump();
    e->SetText(dir.W() + L"/wi");
    SendMessage(e->Handle(), EM_SETSEL, WPARAM(e->Text().size()), LPARAM(e->Text().size()));
    Press(L'n');
    EXPECT_EQ(e->Text(), dir.W() + L"/windows.txt");
    const int typedLen = int((dir.W() + L"/win").size());
    EXPECT_EQ(Sel(e), std::make_pair(typedLen, int(e->Text().size()) - typedLen));
    // Only a hidden name matches: nothing is offered.
    e->SetText(dir.W() + L"/");
    SendMessage(e->Handle(), EM_SETSEL, WPARAM(e->Text().size()), LPARAM(e->Text().size()));
    Press(L'.');
    EXPECT_EQ(e->Text(), dir.W() + L"/.");
}
