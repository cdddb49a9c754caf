// The panel's saved position in a real INI file and the registry store, the
// panel group's arrangement and scrolling, the settings object and the
// styler's presets, tones, styles and Office theme.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "controls/chrome/VodPanel.h"
#include "platform/base/Exceptions.h"
#include "platform/base/Registry.h"
#include "platform/ui/Themes.h"
#include "tests/controls/chrome/PanelTestSupport.h"

namespace {

// A fresh configuration folder (and with it a fresh registry store) per test.
class PanelStoreTest : public PanelTest {
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/vel_panels_XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        Dir = tmpl;
        const char* old = std::getenv("XDG_CONFIG_HOME");
        HadOld = old != nullptr;
        if (old) Old = old;
        ::setenv("XDG_CONFIG_HOME", Dir.c_str(), 1);
        RegistryStoreReset();
        PanelTest::SetUp();
    }
    void TearDown() override
    {
        PanelTest::TearDown();
        RegistryStoreReset();
        if (HadOld) ::setenv("XDG_CONFIG_HOME", Old.c_str(), 1);
        else ::unsetenv("XDG_CONFIG_HOME");
        std::error_code ec;
        std::filesystem::remove_all(Dir, ec);
    }
    std::string Dir, Old;
    bool HadOld = false;
};

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// ---------------------------------------------------------------------------
// Saved position

TEST_F(PanelStoreTest, PositionRoundTripsThroughAnIniFileAndTheRegistry)
{
    const String ini = UTF8ToString(Dir + "/panels.ini");
    for (TPanelPositionLocation loc : {clInifile, clRegistry}) {
        SCOPED_TRACE(int(loc));
        TVodPanel* p = NewPanel(nullptr, 30, 40, 200, 200);
        p->Caption()->SetVisible(true);
        p->SetCollapsDelay(0);
        p->Position()->SetLocation(loc);
        p->Position()->SetKey(loc == clInifile ? ini : String(L"Software\\Velmora\\Panels"));
        p->Position()->SetSection(L"Side");
        p->SetCollaps(true);
        p->SavePosition();
        delete p;

        TVodPanel* q = NewPanel(nullptr, 0, 0, 100, 100);
        q->Caption()->SetVisible(true);
        q->SetCollapsDelay(0);
        q->Position()->SetLocation(loc);
        q->Position()->SetKey(loc == clInifile ? ini : String(L"Software\\Velmora\\Panels"));
        q->Position()->SetSection(L"Side");
        q->LoadPosition();
        EXPECT_EQ(q->Left(), 30);
        EXPECT_EQ(q->Top(), 40);
        EXPECT_TRUE(q->Collaps());
        EXPECT_EQ(q->Height(), 18);
        EXPECT_EQ(q->FullHeight(), 200);
        q->SetCollaps(false);
        EXPECT_EQ(q->Height(), 200);
        delete q;
    }
    const std::string text = ReadFile(Dir + "/panels.ini");
    EXPECT_NE(text.find("[Side]"), std::string::npos) << text;
    EXPECT_NE(text.find("Height=18"), std::string::npos) << text;
    EXPECT_NE(text.find("FullHeight=200"), std::string::npos) << text;
    EXPECT_NE(text.find("Collaps=1"), std::string::npos) << text;
    TRegistry r;
    ASSERT_TRUE(r.OpenKeyReadOnly(L"\\Software\\Velmora\\Panels\\Side"));
    EXPECT_EQ(r.ReadInteger(L"Width"), 200);
    EXPECT_EQ(r.ReadInteger(L"FullHeight"), 200);
}

TEST_F(PanelStoreTest, EmptyKeyOrSectionNeitherReadsNorWritesAndMissingValuesKeepTheGeometry)
{
    const String ini = UTF8ToString(Dir + "/empty.ini");
    TVodPanel* p = NewPanel(nullptr, 30, 40, 200, 200);
    p->Position()->SetLocation(clInifile);
    p->Position()->SetKey(ini);
    p->SavePosition();
    EXPECT_FALSE(std::filesystem::exists(Dir + "/empty.ini"));
    p->Position()->SetSection(L"Nothing");
    p->LoadPosition();
    EXPECT_EQ(p->BoundsRect(), Rect(30, 40, 230, 240));
    EXPECT_FALSE(p->Collaps());
    // Saved when the window goes, with Save set.
    p->Position()->SetSave(true);
    delete p;
    EXPECT_NE(ReadFile(Dir + "/empty.ini").find("[Nothing]"), std::string::npos);
}

TEST_F(PanelStoreTest, GroupSavesEachPanelInItsOwnSectionAndKeepsTheirPositions)
{
    const String ini = UTF8ToString(Dir + "/group.ini");
    auto* g = NewPanel<TVodPanelGroup>(nullptr, 0, 0, 300, 400);
    g->Position()->SetLocation(clInifile);
    g->Position()->SetKey(ini);
    TCustomVodPanel* a = g->AddPanel();
    a->SetName(L"First");
    a->Position()->SetKey(L"own");
    TCustomVodPanel* b = g->AddPanel();
    b->SetName(L"Second");
    g->SavePanelPositions();
    const std::string text = ReadFile(Dir + "/group.ini");
    EXPECT_NE(text.find("[First]"), std::string::npos) << text;
    EXPECT_NE(text.find("[Second]"), std::string::npos) << text;
    EXPECT_EQ(a->Position()->Key(), L"own");
    EXPECT_EQ(a->Position()->Section(), L"");
    const Integer top = b->Top();
    b->SetTop(300);
    g->LoadPanelPositions();
    EXPECT_EQ(b->Top(), top);
}

// ---------------------------------------------------------------------------
// The group

TVodPanelGroup* Group(PanelTest&, TVodPanelGroup* g, std::initializer_list<Integer> heights)
{
    for (Integer h : heights) {
        TCustomVodPanel* p = g->AddPanel();
        p->SetHeight(h);
    }
    g->ArrangePanels();
    return g;
}

TEST_F(PanelTest, GroupStacksPanelsInColumnsWithPaddings)
{
    auto* g = NewPanel<TVodPanelGroup>(nullptr, 0, 0, 300, 400);
    Group(*this, g, {100, 50, 80});
    EXPECT_EQ(g->Panels(0)->BoundsRect(), Rect(8, 8, 292, 108));
    EXPECT_EQ(g->Panels(1)->BoundsRect(), Rect(8, 116, 292, 166));
    EXPECT_EQ(g->Panels(2)->BoundsRect(), Rect(8, 174, 292, 254));
    EXPECT_FALSE(g->ScrollBar()->Visible());
    // Two columns: rows advance by the second panel of each row.
    g->SetColumns(2);
    TCustomVodPanel* d = g->AddPanel();
    d->SetHeight(30);
    g->ArrangePanels();
    const Integer colW = (300 - 3 * 8) / 2;
    EXPECT_EQ(g->Panels(0)->BoundsRect(), Rect(8, 8, 8 + colW, 108));
    EXPECT_EQ(g->Panels(1)->BoundsRect(), Rect(8 + (300 - 8) / 2, 8, 8 + (300 - 8) / 2 + colW, 58));
    EXPECT_EQ(g->Panels(2)->Top(), 66);
    EXPECT_EQ(g->Panels(3)->Top(), 66);
    // Columns of 0 or below are ignored.
    g->SetColumns(0);
    EXPECT_EQ(g->Columns(), 2);
    // A hidden panel keeps its slot but adds no row height.
    g->SetColumns(1);
    g->Panels(1)->SetVisible(false);
    g->ArrangePanels();
    EXPECT_EQ(g->Panels(1)->Top(), 116);
    EXPECT_EQ(g->Panels(2)->Top(), 116);
}

TEST_F(PanelTest, GroupRearrangesOnCollapseAndClose)
{
    auto* g = NewPanel<TVodPanelGroup>(nullptr, 0, 0, 300, 400);
    g->DefaultPanel()->Caption()->SetVisible(true);
    g->DefaultPanel()->Caption()->SetCloseButton(true);
    g->DefaultPanel()->SetHeight(100);
    g->DefaultPanel()->SetWidth(100);
    Group(*this, g, {100, 100});
    TCustomVodPanel* first = g->Panels(0);
    TCustomVodPanel* second = g->Panels(1);
    EXPECT_TRUE(first->Caption()->CloseButton());
    EXPECT_EQ(second->Top(), 116);
    first->SetCollaps(true);
    EXPECT_EQ(second->Top(), 8 + 18 + 8) << "moved up at once";
    first->SetCollaps(false);
    EXPECT_EQ(second->Top(), 116);
    Drv->ClickWindow(first->Handle(), {first->Width() - 2 - 6, 8});
    EXPECT_FALSE(first->Visible());
    EXPECT_EQ(second->Top(), 8) << "the closed panel's room is given up";
}

TEST_F(PanelTest, GroupScrollsWhenItsPanelsOutgrowIt)
{
    auto* g = NewPanel<TVodPanelGroup>(nullptr, 0, 0, 300, 200);
    Group(*this, g, {100, 100, 100});
    TScrollBar* sb = g->ScrollBar();
    ASSERT_TRUE(sb->Visible());
    EXPECT_EQ(sb->PageSize(), 200);
    EXPECT_EQ(sb->LargeChange(), 200 / 3);
    EXPECT_EQ(sb->Max(), 8 + 3 * 108);
    EXPECT_EQ(g->Panels(0)->Width(), 300 - 16 - 16) << "room for the bar";
    SetFocus(g->Handle());   // the wheel goes to the focused window and its parents
    Drv->Wheel(g->ClientToScreen({4, 50}), -120);
    Drv->Pump();
    EXPECT_EQ(g->ScrollPosition(), 4) << "twice the small change";
    EXPECT_EQ(g->Panels(0)->Top(), 4);
    g->SetScrollPosition(1000);
    EXPECT_EQ(g->ScrollPosition(), sb->Max() - sb->PageSize());
    EXPECT_EQ(g->Panels(2)->Top() + g->Panels(2)->Height() + 8, 200) << "the last panel scrolled into view";
}

TEST_F(PanelTest, GroupListOrderRemovalAndForeignFrees)
{
    auto* g = NewPanel<TVodPanelGroup>(nullptr, 0, 0, 300, 800);
    Group(*this, g, {50, 50, 50});
    TCustomVodPanel* appended = g->AppendPanel();
    EXPECT_EQ(g->PanelCount(), 4);
    // The appended panel gets the highest Index and comes last.
    Integer maxIndex = 0;
    for (Integer i = 0; i < g->PanelCount(); ++i) maxIndex = std::max(maxIndex, g->Panels(i)->Index());
    EXPECT_EQ(appended->Index(), maxIndex);
    for (Integer i = 0; i < g->PanelCount(); ++i)
        if (g->Panels(i) != appended) EXPECT_LT(g->Panels(i)->Top(), appended->Top());
    g->RemovePanel(-1);
    g->RemovePanel(4);
    EXPECT_EQ(g->PanelCount(), 4);
    EXPECT_THROW(g->Panels(4), EListError);
    g->RemovePanel(0);
    EXPECT_EQ(g->PanelCount(), 3);
    for (Integer i = 0; i < 3; ++i) EXPECT_EQ(g->Panels(i)->Index(), i);
    // A panel freed by the application leaves the list first.
    delete g->Panels(1);
    EXPECT_EQ(g->PanelCount(), 2);
    Integer arranged = 0;
    g->OnArrangedControls = [&](TObject*) { ++arranged; };
    g->ArrangePanels();
    EXPECT_EQ(arranged, 1);
    delete g;   // frees the two left, once each
}

// ---------------------------------------------------------------------------
// Settings and styler

TEST_F(PanelTest, SettingsNotifyOncePerUpdateAndApplyKeepsTheCaptionButtons)
{
    TVodPanelSettings s;
    int changes = 0;
    s.OnChange = [&](TObject*) { ++changes; };
    s.SetColor(clRed);
    s.SetColor(clRed);
    s.SetHeight(50);   // no notifying setter
    s.Caption()->SetColor(clBlue);
    EXPECT_EQ(changes, 2);
    s.BeginUpdate();
    s.SetColorTo(clGreen);
    s.SetIndent(3);
    EXPECT_EQ(changes, 2);
    s.EndUpdate();
    EXPECT_EQ(changes, 3);
    TVodPanelSettings copy;
    copy.Assign(&s);
    EXPECT_EQ(copy.Color(), clRed);
    EXPECT_EQ(copy.Caption()->Color(), clBlue);
    TFont f;
    copy.Assign(&f);   // ignored
    EXPECT_EQ(copy.Color(), clRed);

    TVodPanel* p = NewPanel();
    p->Caption()->SetCloseButton(true);
    p->SetParentFont(true);
    const String panelFont = p->Font()->Name();
    s.Font()->SetName(L"Courier New");
    p->ApplySettings(&s);
    EXPECT_TRUE(p->Caption()->CloseButton());
    EXPECT_EQ(p->Color(), clRed);
    EXPECT_EQ(p->Caption()->Color(), clBlue);
    EXPECT_EQ(p->Font()->Name(), panelFont) << "ParentFont: the panel font stays";
    EXPECT_EQ(p->Caption()->Font()->Name(), panelFont);
}

TEST_F(PanelTest, StylerPresetsAndCustom)
{
    auto* st = new TVodPanelStyler(Form);
    EXPECT_EQ(st->Style(), psXP);
    TVodPanelSettings* s = st->Settings();
    EXPECT_EQ(s->Color(), TColor(0xFFFFFF));
    EXPECT_EQ(s->ColorTo(), TColor(0xE3F0F2));
    EXPECT_EQ(s->Caption()->ColorTo(), TColor(0xFF0000));
    EXPECT_EQ(s->Caption()->Indent(), 2);
    EXPECT_EQ(s->BorderColor(), TColor(0x808080));
    EXPECT_TRUE(s->BorderShadow());
    EXPECT_EQ(s->CollapsColor(), clBtnFace);
    EXPECT_EQ(s->StatusBar()->BorderColor(), TColor(0xC0C0C0));
    EXPECT_EQ(s->StatusBar()->Color(), TColor(0xE3F0F2));

    st->SetStyle(psOffice2007Luna);
    EXPECT_EQ(s->Color(), TColor(0xFAF1E9));
    EXPECT_EQ(s->ColorMirror(), TColor(0xEDD8C7));
    EXPECT_EQ(s->ColorMirrorTo(), TColor(0xFFF2E7));
    EXPECT_EQ(s->Font()->Color(), TColor(0x723708));
    EXPECT_EQ(s->Caption()->Font()->Color(), TColor(0x000000));
    EXPECT_EQ(s->Caption()->ShadeLight(), 255);
    EXPECT_EQ(s->Caption()->GradientDirection(), gdVertical);
    EXPECT_EQ(s->StatusBar()->ColorTo(), TColor(0xF5D0B3));
    EXPECT_EQ(s->CollapsColor(), clNone);

    st->SetComponentStyleAndAppColor(tsOffice2016White, TColor(0x00AA00));
    EXPECT_EQ(st->Style(), psOffice2016White);
    EXPECT_EQ(s->StatusBar()->Color(), TColor(0x00AA00));
    EXPECT_EQ(s->Caption()->Color(), TColor(0xD4D4D4));
    EXPECT_EQ(s->BorderColor(), clNone);
    st->SetComponentStyle(tsOffice2016White);
    EXPECT_EQ(s->StatusBar()->Color(), TColor(0xFFFFFF));

    // psCustom keeps what the last preset wrote; tsCustom selects 2003 blue.
    st->SetStyle(psCustom);
    EXPECT_EQ(s->Caption()->Color(), TColor(0xD4D4D4));
    st->SetComponentStyle(tsCustom);
    EXPECT_EQ(st->Style(), psOffice2003Blue);
    EXPECT_TRUE(Supports(st, IID_IQelStyleEx));
    EXPECT_TRUE(Supports(st, IID_IQelTones));
    EXPECT_TRUE(Supports(static_cast<TObject*>(NewPanel()), IID_IQelOfficeHint));
}

TEST_F(PanelTest, StylerPushesToThePanelsOfItsOwnerThatNameIt)
{
    auto* st = new TVodPanelStyler(Form);
    TVodPanel* named = NewPanel();
    TVodPanel* other = NewPanel();
    named->Caption()->SetCloseButton(true);
    int applied = 0;
    named->SetStyler(st);
    EXPECT_EQ(named->Color(), TColor(0xFFFFFF));
    EXPECT_TRUE(named->Caption()->CloseButton());
    other->SetColor(clRed);
    st->SetStyle(psOffice2007Luna);
    EXPECT_EQ(named->Color(), TColor(0xFAF1E9));
    EXPECT_EQ(other->Color(), clRed);
    // Tones: pushed at every notifying change.
    struct TCounter : TVodPanel {
        using TVodPanel::TVodPanel;
        int* Count = nullptr;
        void ApplySettings(TVodPanelSettings* s) override
        {
            ++*Count;
            TVodPanel::ApplySettings(s);
        }
    };
    auto* counted = new TCounter(Form);
    counted->Count = &applied;
    counted->SetStyler(st);
    applied = 0;
    TColorTones t = EmptyColorTones();
    t.Background.BrushColor = TColor(0x112233);
    t.Selected.BrushColor = TColor(0x445566);
    t.Foreground.BrushColor = TColor(0x778899);
    st->SetColorTones(t);
    EXPECT_EQ(st->Style(), psCustom);
    EXPECT_GT(applied, 3);
    EXPECT_EQ(counted->Color(), TColor(0x112233));
    EXPECT_EQ(counted->Caption()->Color(), TColor(0x445566));
    // The settings' status bar does not notify: its tones wait for the
    // next notifying change.
    EXPECT_EQ(st->Settings()->StatusBar()->Color(), TColor(0x778899));
    EXPECT_NE(counted->StatusBar()->Color(), TColor(0x778899));
    // A removed styler is forgotten.
    delete st;
    EXPECT_EQ(named->Styler(), nullptr);
}

TEST_F(PanelStoreTest, StylerFollowsTheOfficeTheme)
{
    {
        TRegistry r;
        ASSERT_TRUE(r.CreateKey(L"\\Software\\Microsoft\\Office\\15.0\\Common\\General"));
        ASSERT_TRUE(r.OpenKey(L"\\Software\\Microsoft\\Office\\15.0\\Common", true));
        r.WriteInteger(L"UI Theme", 2);
    }
    auto* st = new TVodPanelStyler(Form);
    st->SetAutoThemeAdapt(true);
    EXPECT_EQ(st->Style(), psOffice2013Gray);
    EXPECT_EQ(PanelStyleOfTheme(otUnknown), psCustom);
    EXPECT_EQ(PanelStyleOfTheme(ot2007Black), psOffice2007Obsidian);
    // The notifier window re-checks on WM_THEMECHANGED.
    {
        TRegistry r;
        ASSERT_TRUE(r.OpenKey(L"\\Software\\Microsoft\\Office\\15.0\\Common", true));
        r.WriteInteger(L"UI Theme", 0);
    }
    ASSERT_NE(st->NotifierWindow(), nullptr);
    SendMessage(st->NotifierWindow()->Handle(), WM_THEMECHANGED, 0, 0);
    EXPECT_EQ(st->Style(), psOffice2013White);
}

}  // namespace

namespace {

TEST_F(PanelTest, StylerAndGroupStreamWithAForm)
{
    TVodPanelStyler written(nullptr);
    written.SetComments(L"look");
    written.SetStyle(psOffice2007Luna);
    written.Settings()->SetHint(L"tip");
    TMemoryStream form;
    form.WriteComponent(&written);
    TVodPanelStyler read(nullptr);
    form.SetPosition(0);
    form.ReadComponent(&read);
    EXPECT_EQ(read.Comments(), L"look");
    EXPECT_EQ(read.Style(), psOffice2007Luna);
    EXPECT_EQ(read.Settings()->Color(), TColor(0xFAF1E9));
    EXPECT_EQ(read.Settings()->Hint(), L"tip");

    TClass g = TVodPanelGroup::StaticClass();
    for (const wchar_t* name : {L"Columns", L"DefaultPanel", L"GroupStyle", L"HorzPadding", L"Caption", L"Styler"})
        EXPECT_NE(g->FindProp(name), nullptr) << UTF8Encode(name);
}

}  // namespace
