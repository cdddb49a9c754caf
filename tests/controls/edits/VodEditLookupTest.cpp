// The lookup popup, its keys and hiding, and the persistence of the text and
// the lookup lists in real INI files and the registry store.
#include <cstdlib>
#include <filesystem>

#include "VodEditTestSupport.h"
#include "platform/base/Files.h"
#include "platform/base/IniFiles.h"
#include "platform/base/Registry.h"

namespace {

class VodEditLookupTest : public VodEditTestBase {
protected:
    TVodEdit* LookupEdit()
    {
        TVodEdit* e = NewEdit();
        e->Lookup()->SetEnabled(true);
        for (const wchar_t* s : {L"delta", L"alpha", L"alpine", L"beta"}) e->Lookup()->DisplayList()->Add(s);
        for (const wchar_t* s : {L"D", L"A", L"P", L"B"}) e->Lookup()->ValueList()->Add(s);
        e->SetFocus();
        Drv->Pump();
        return e;
    }
    std::vector<String> Rows(TVodEdit* e)
    {
        std::vector<String> r;
        for (Integer i = 0; i < e->LookupListBox()->Items()->Count(); ++i) r.push_back(e->LookupListBox()->Items()->Strings(i));
        return r;
    }
};

class TempDir {
public:
    TempDir()
    {
        char tmpl[] = "/tmp/velmora-edits-XXXXXX";
        if (mkdtemp(tmpl)) Path = tmpl;
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(Path, ec);
    }
    String File(const char* name) const { return UTF8ToString(Path + "/" + name); }
    std::string Path;
};

// A fresh registry store in a temporary configuration folder.
class ConfigHome {
public:
    ConfigHome()
    {
        const char* old = std::getenv("XDG_CONFIG_HOME");
        FHad = old != nullptr;
        if (old) FOld = old;
        ::setenv("XDG_CONFIG_HOME", Dir.Path.c_str(), 1);
        RegistryStoreReset();
    }
    ~ConfigHome()
    {
        if (FHad) ::setenv("XDG_CONFIG_HOME", FOld.c_str(), 1);
        else ::unsetenv("XDG_CONFIG_HOME");
        RegistryStoreReset();
    }
    TempDir Dir;

private:
    bool FHad = false;
    std::string FOld;
};

}  // namespace

TEST_F(VodEditLookupTest, RefreshShowsSortedMatchesThatKeepTheirEntryIndex)
{
    TVodEdit* e = LookupEdit();
    Type(e, L"a");
    EXPECT_FALSE(e->LookupVisible()) << "one character is below NumChars";
    Type(e, L"l");
    ASSERT_TRUE(e->LookupVisible());
    EXPECT_EQ(Rows(e), (std::vector<String>{L"alpha", L"alpine"}));
    // The popup sits under the edit, non-activating: the edit keeps the focus.
    EXPECT_EQ(GetFocus(), e->Handle());
    EXPECT_TRUE(GetWindowLong(e->LookupPopup()->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    // Down then Enter takes "alpine", whose value is "P".
    String selected;
    Integer index = -1;
    e->OnLookupIndexSelect = [&](TObject*, Integer i, String& v) {
        index = i;
        selected = v;
    };
    Drv->PressKey(VK_DOWN);
    Drv->PressKey(VK_RETURN);
    Drv->Pump();
    EXPECT_FALSE(e->LookupVisible());
    EXPECT_EQ(index, 2);
    EXPECT_EQ(selected, L"P");
    EXPECT_EQ(e->Text(), L"P");
}

TEST_F(VodEditLookupTest, BackspaceRefreshesAndHidingTriggers)
{
    TVodEdit* e = LookupEdit();
    Type(e, L"alp");
    ASSERT_TRUE(e->LookupVisible());
    Type(e, L"x");
    EXPECT_FALSE(e->LookupVisible()) << "no match hides it";
    Type(e, L"\b");
    EXPECT_TRUE(e->LookupVisible()) << "Backspace refreshes";
    Drv->PressKey(VK_MENU);
    Drv->Pump();
    EXPECT_FALSE(e->LookupVisible()) << "Alt hides it";
    Type(e, L"i");
    ASSERT_TRUE(e->LookupVisible());
    // Escape closes the popup, keeps the text and blocks the next special-key query.
    Drv->PressKey(VK_ESCAPE);
    Drv->Pump();
    EXPECT_FALSE(e->LookupVisible());
    EXPECT_EQ(e->Text(), L"alpi");
    Drv->PressKey(VK_ESCAPE);   // ignored once
    Drv->Pump();
    EXPECT_EQ(e->Text(), L"alpi");
    Drv->PressKey(VK_ESCAPE);   // now the undo
    Drv->Pump();
    EXPECT_EQ(e->Text(), L"");
    // Losing the focus hides it.
    Type(e, L"be");
    ASSERT_TRUE(e->LookupVisible());
    NewEdit(etString, 100, 80)->SetFocus();
    Drv->Pump();
    EXPECT_FALSE(e->LookupVisible());
}

TEST_F(VodEditLookupTest, MultiNeedDataAndHistory)
{
    TVodEdit* e = LookupEdit();
    e->Lookup()->ValueList()->Clear();
    e->Lookup()->SetMulti(true);
    e->Lookup()->SetNumChars(1);
    Type(e, L"a;b");
    ASSERT_TRUE(e->LookupVisible());
    EXPECT_EQ(Rows(e), (std::vector<String>{L"beta"}));
    Drv->PressKey(VK_RETURN);
    Drv->Pump();
    EXPECT_EQ(e->Text(), L"a;beta;");
    EXPECT_EQ(e->SelStart(), 7);

    // A handler may add rows where nothing matched.
    e->Lookup()->SetMulti(false);
    e->OnLookupNeedData = [](TObject*, const String& v, TStrings* list, Integer& idx) {
        if (v == L"zz") list->Add(L"zz-from-handler");
        idx = 0;
    };
    e->SetText(L"");
    Type(e, L"zz");
    ASSERT_TRUE(e->LookupVisible());
    EXPECT_EQ(Rows(e), (std::vector<String>{L"zz-from-handler"}));

    // History: the trimmed text joins the display list on focus loss.
    e->Lookup()->SetHistory(true);
    e->SetText(L"  gamma ");
    NewEdit(etString, 100, 80)->SetFocus();
    Drv->Pump();
    EXPECT_GE(e->Lookup()->DisplayList()->IndexOf(L"gamma"), 0);
}

TEST_F(VodEditLookupTest, PersistenceInAnIniFileReadBackByASecondEdit)
{
    TempDir dir;
    const String file = dir.File("edits.ini");
    {
        TVodEdit* e = NewEdit();
        e->SetName(L"Field");
        e->SetPrefix(L"#");
        e->Persistence()->SetEnable(true);
        e->Persistence()->SetKey(file);
        e->Lookup()->SetEnabled(true);
        e->Lookup()->SetHistory(true);
        e->Lookup()->AddPair(L"one", L"1");
        e->Lookup()->AddPair(L"two", L"");
        e->Lookup()->AddPair(L"three", L"3");
        e->SetText(L"value");
        delete e;   // the window goes: saved
    }
    TMemIniFile ini(file);
    EXPECT_EQ(ini.ReadString(L"Field", L"Field", L""), L"#value");
    EXPECT_EQ(ini.ReadInteger(L"Field", L"LOOKUPCOUNT", 0), 3);
    EXPECT_EQ(ini.ReadString(L"Field", L"LOOKUPDISPL3", L""), L"three");
    EXPECT_EQ(ini.ReadString(L"Field", L"LOOKUPVAL3", L""), L"3");

    auto* f = new TVodEdit(Form);
    f->SetName(L"Field");
    f->Persistence()->SetEnable(true);
    f->Persistence()->SetKey(file);
    f->Lookup()->SetEnabled(true);
    f->Lookup()->SetHistory(true);
    f->LoadPersist();
    f->SetParent(Form);
    EXPECT_EQ(f->Text(), L"#value");
    EXPECT_EQ(f->Lookup()->DisplayList()->Count(), 3);
    // The empty value keeps its place, so the third value stays with "three".
    ASSERT_EQ(f->Lookup()->ValueList()->Count(), 3);
    EXPECT_EQ(f->Lookup()->ValueList()->Strings(2), L"3");
    f->Persistence()->SetEnable(false);

    // A file without the control's value leaves the text alone.
    auto* g = NewEdit();
    g->SetName(L"Other");
    g->SetText(L"kept");
    g->Persistence()->SetEnable(true);
    g->Persistence()->SetKey(file);
    g->Persistence()->SetSection(L"Nowhere");
    g->LoadPersist();
    EXPECT_EQ(g->Text(), L"kept");
    g->Persistence()->SetEnable(false);
}

TEST_F(VodEditLookupTest, PersistenceInTheRegistry)
{
    ConfigHome home;
    {
        TVodEdit* e = NewEdit();
        e->SetName(L"RegField");
        e->Persistence()->SetEnable(true);
        e->Persistence()->SetLocation(plRegistry);
        e->Persistence()->SetKey(L"Software\\EditTest");
        e->Persistence()->SetSection(L"Edits");
        e->SetText(L"stored");
        delete e;
    }
    RegistryStoreReset();   // read back from the file on disk
    TRegIniFile reg(L"Software\\EditTest");
    EXPECT_EQ(reg.ReadString(L"Edits", L"RegField", L""), L"stored");
}
