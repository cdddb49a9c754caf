// The bar controls driven as a user drives them: scroll bar, track bar and
// up-down by mouse and keyboard, with the events of their classes.
#include <gtest/gtest.h>

#include "platform/base/Exceptions.h"
#include "platform/ui/ComCtrls_Bars.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Headless.h"

namespace {

// A control with a window text of its own that wants the arrow keys,
// standing in for an edit.
class TTextBox : public TWinControl {
public:
    explicit TTextBox(TComponent* owner, TWinControl* parent) : TWinControl(owner)
    {
        SetParent(parent);
        SetBounds(10, 150, 80, 21);
        SetTabStop(true);
    }

protected:
    void Dispatch(TMessage& M) override
    {
        if (M.Msg == WM_GETDLGCODE) {
            M.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
            return;
        }
        TWinControl::Dispatch(M);
    }
};

class BarsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Drv = std::make_unique<THeadlessDriver>();
        InitForms();
        Form = TCustomForm::CreateNew(Application);
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(100, 100, 400, 300);
    }
    void TearDown() override
    {
        DoneForms();
        Drv.reset();
    }
    void Click(TWinControl* c, int x, int y) { Drv->ClickWindow(c->Handle(), {x, y}); }
    std::unique_ptr<THeadlessDriver> Drv;
    TCustomForm* Form = nullptr;
};

}  // namespace

// ---------------------------------------------------------------------------
// Scroll bar

TEST_F(BarsTest, ScrollBarMovesBySmallAndLargeChangesAndReportsEachScroll)
{
    auto* sb = new TScrollBar(Form);
    sb->SetParent(Form);
    sb->SetKind(sbVertical);  // 17 x 121: arrows 0..17 and 104..121
    sb->SetBounds(10, 10, 17, 121);
    sb->SetParams(50, 0, 100);
    sb->SetSmallChange(2);
    sb->SetLargeChange(10);
    std::vector<TScrollCode> codes;
    int changes = 0;
    sb->OnScroll = [&](TObject*, TScrollCode c, Integer&) { codes.push_back(c); };
    sb->OnChange = [&](TObject*) { ++changes; };
    Form->Show();
    EXPECT_EQ(GetScrollPos(sb->Handle(), SB_CTL), 50);

    struct {
        std::function<void()> Act;
        Integer Pos;
        TScrollCode Code;
    } steps[] = {
        {[&] { Click(sb, 8, 110); }, 52, scLineDown},
        {[&] { Click(sb, 8, 5); }, 50, scLineUp},
        {[&] { Click(sb, 8, 25); }, 40, scPageUp},    // above the thumb (52..69)
        {[&] { Click(sb, 8, 95); }, 50, scPageDown},  // below it
        {[&] { sb->SetFocus(); Drv->PressKey(VK_END); }, 100, scBottom},
        {[&] { Drv->PressKey(VK_HOME); }, 0, scTop},
        {[&] { Drv->PressKey(VK_DOWN); }, 2, scLineDown},
        {[&] { Drv->PressKey(VK_NEXT); }, 12, scPageDown},
    };
    for (auto& s : steps) {
        codes.clear();
        s.Act();
        EXPECT_EQ(sb->Position(), s.Pos);
        EXPECT_EQ(GetScrollPos(sb->Handle(), SB_CTL), s.Pos) << "the bar shows the position";
        ASSERT_EQ(codes.size(), 2u);
        EXPECT_EQ(codes[0], s.Code);
        EXPECT_EQ(codes[1], scEndScroll);
    }
    EXPECT_EQ(changes, 8);

    // OnScroll may change where the scroll goes.
    sb->OnScroll = [&](TObject*, TScrollCode c, Integer& pos) {
        if (c == scLineDown) pos = 77;
    };
    Drv->PressKey(VK_DOWN);
    EXPECT_EQ(sb->Position(), 77);
    EXPECT_THROW(sb->SetParams(0, 10, 5), EInvalidOperation);
}

TEST_F(BarsTest, ScrollBarThumbDragTracksThenSettles)
{
    auto* sb = new TScrollBar(Form);  // horizontal, 121 x 17: track 17..104
    sb->SetParent(Form);
    sb->SetBounds(10, 10, 121, 17);
    sb->SetParams(0, 0, 1000);
    sb->SetPageSize(100);
    std::vector<std::pair<TScrollCode, Integer>> seen;
    sb->OnScroll = [&](TObject*, TScrollCode c, Integer& pos) { seen.push_back({c, pos}); };
    Form->Show();
    TRect r;
    GetWindowRect(sb->Handle(), &r);
    Drv->Drag({r.Left + 20, r.Top + 8}, {r.Left + 300, r.Top + 8});
    ASSERT_GE(seen.size(), 3u);
    EXPECT_EQ(seen.front().first, scTrack);
    EXPECT_EQ(seen[seen.size() - 2], std::make_pair(scPosition, Integer(901))) << "the last page's position";
    EXPECT_EQ(seen.back().first, scEndScroll);
    EXPECT_EQ(sb->Position(), 901);
}

// ---------------------------------------------------------------------------
// Track bar

TEST_F(BarsTest, TrackBarKeysAndMouseMoveThePositionWithinTheRange)
{
    auto* tb = new TTrackBar(Form);  // 150 x 45, 0..10, page 2, line 1
    tb->SetParent(Form);
    tb->SetBounds(10, 10, 150, 45);
    int changes = 0;
    tb->OnChange = [&](TObject*) { ++changes; };
    Form->Show();
    tb->SetFocus();
    struct {
        Word Key;
        Integer Pos;
    } keys[] = {{VK_RIGHT, 1}, {VK_NEXT, 3}, {VK_END, 10}, {VK_RIGHT, 10}, {VK_PRIOR, 8},
                {VK_UP, 7},    {VK_HOME, 0}, {VK_LEFT, 0}};
    for (auto& k : keys) {
        Drv->PressKey(k.Key);
        EXPECT_EQ(tb->Position(), k.Pos) << "key " << k.Key;
    }
    EXPECT_EQ(changes, 6) << "only moves that change the position";

    // A press beside the thumb pages toward the cursor; the thumb drags.
    TRect thumb;
    SendMessage(tb->Handle(), TBM_GETTHUMBRECT, 0, LPARAM(&thumb));
    int mid = (thumb.Top + thumb.Bottom) / 2;
    Click(tb, 140, mid);
    EXPECT_EQ(tb->Position(), 2);
    SendMessage(tb->Handle(), TBM_GETTHUMBRECT, 0, LPARAM(&thumb));
    TPoint from = Drv->ScreenPoint(tb->Handle(), {(thumb.Left + thumb.Right) / 2, mid});
    Drv->Drag(from, {from.X + 1000, from.Y});
    EXPECT_EQ(tb->Position(), 10);
    Drv->Drag(Drv->ScreenPoint(tb->Handle(), {137, mid}), Drv->ScreenPoint(tb->Handle(), {75, mid}));
    EXPECT_EQ(tb->Position(), 5) << "the middle of the run";

    tb->SetMax(4);
    EXPECT_EQ(tb->Position(), 4) << "a smaller range takes the position along";
    tb->SetFrequency(2);
    tb->SetMax(10);
    EXPECT_EQ(SendMessage(tb->Handle(), TBM_GETNUMTICS, 0, 0), 6) << "0, 2, 4, 6, 8, 10";
}

// ---------------------------------------------------------------------------
// Up-down

TEST_F(BarsTest, UpDownStepsItsBuddyByButtonsAndArrowKeys)
{
    auto* edit = new TTextBox(Form, Form);
    auto* ud = new TUpDown(Form);
    ud->SetParent(Form);
    ud->SetBounds(200, 150, 17, 21);
    ud->SetMax(2000);
    ud->SetAssociate(edit);
    std::vector<TUDBtnType> clicks;
    bool allow = true;
    ud->OnClick = [&](TObject*, TUDBtnType b) { clicks.push_back(b); };
    ud->OnChanging = [&](TObject*, bool& a) { a = allow; };
    Form->Show();
    EXPECT_EQ(edit->Width(), 80 - 17) << "the button sits against the buddy's right side";
    EXPECT_EQ(ud->Left(), 10 + 80 - 17);
    EXPECT_EQ(GetWindowText(edit->Handle()), L"0");

    Click(ud, 8, 3);  // up
    EXPECT_EQ(ud->Position(), 1);
    EXPECT_EQ(GetWindowText(edit->Handle()), L"1");
    Click(ud, 8, 18);  // down
    Click(ud, 8, 18);  // at Min: stays
    EXPECT_EQ(ud->Position(), 0);
    EXPECT_EQ(clicks, (std::vector<TUDBtnType>{btNext, btPrev, btPrev}));

    allow = false;
    Click(ud, 8, 3);
    EXPECT_EQ(ud->Position(), 0) << "OnChanging refused";
    allow = true;

    // The buddy's arrow keys step it; its text is read back.
    edit->SetFocus();
    SetWindowText(edit->Handle(), L"1234");
    Drv->PressKey(VK_UP);
    EXPECT_EQ(ud->Position(), 1235);
    EXPECT_EQ(GetWindowText(edit->Handle()), L"1,235");

    // Held, the button repeats.
    Drv->MouseDown(Drv->ScreenPoint(ud->Handle(), {8, 3}));
    Drv->Advance(350 + 80 * 2);
    Drv->MouseUp(Drv->ScreenPoint(ud->Handle(), {8, 3}));
    EXPECT_EQ(ud->Position(), 1235 + 4);

    ud->SetWrap(true);
    ud->SetPosition(0);
    Click(ud, 8, 18);
    EXPECT_EQ(ud->Position(), 2000) << "wraps to the other end";
}
