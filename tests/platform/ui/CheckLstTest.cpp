// TCheckListBox: check states follow their items, clicks on the box and
// Space toggle them (grayed too when allowed), and the boxes are drawn.
#include <gtest/gtest.h>

#include "platform/ui/CheckLst.h"
#include "platform/ui/Themes.h"
#include "platform/ui/backend/Headless.h"

namespace {

constexpr int kRow = 16;

class CheckListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Drv = std::make_unique<THeadlessDriver>();
        SetFixedMetricsFonts(true);
        InitForms();
        Form = new TForm(Application);
        Form->Init();
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(50, 50, 300, 200);
        List = new TCheckListBox(Form);
        List->SetBorderStyle(bsNone);
        List->SetBounds(10, 10, 150, 5 * kRow);
        List->SetParent(Form);
    }
    void TearDown() override
    {
        DoneForms();
        Drv.reset();
        SetFixedMetricsFonts(false);
        SetVisualStylesEnabled(true);
    }
    std::vector<TCheckBoxState> States()
    {
        std::vector<TCheckBoxState> r;
        for (Integer i = 0; i < List->Count(); ++i) r.push_back(List->State(i));
        return r;
    }
    std::unique_ptr<THeadlessDriver> Drv;
    TForm* Form = nullptr;
    TCheckListBox* List = nullptr;
};

}  // namespace

TEST_F(CheckListTest, StatesFollowTheirItemsAndKeepTheObjects)
{
    TObject a, c;
    List->Items()->AddObject(L"a", &a);
    List->Items()->Add(L"b");
    List->Items()->AddObject(L"c", &c);
    List->SetChecked(2, true);        // before the window exists
    Form->Show();
    List->SetState(0, cbGrayed);
    EXPECT_EQ(States(), (std::vector<TCheckBoxState>{cbGrayed, cbUnchecked, cbChecked}));
    EXPECT_EQ(List->Items()->Objects(2), &c) << "the program's object, not the record";

    List->Items()->Insert(0, L"new");
    List->Items()->Delete(2);         // "b"
    List->Items()->SetStrings(2, L"c2");
    EXPECT_EQ(List->Items()->CommaText(), L"new,a,c2");
    EXPECT_EQ(States(), (std::vector<TCheckBoxState>{cbUnchecked, cbGrayed, cbChecked}));
    EXPECT_EQ(List->Items()->Objects(1), &a);
    EXPECT_EQ(List->Items()->Objects(2), &c);

    List->SetSorted(true);            // a new window, items reordered
    List->Items()->SetObjects(0, &c);
    EXPECT_EQ(List->Items()->CommaText(), L"a,c2,new");
    EXPECT_EQ(States(), (std::vector<TCheckBoxState>{cbGrayed, cbChecked, cbUnchecked}));
    EXPECT_EQ(List->Items()->Objects(0), &c);
    EXPECT_THROW(List->Checked(3), EListError);
    List->Items()->Clear();
    EXPECT_EQ(List->Count(), 0);
}

TEST_F(CheckListTest, ClicksOnTheBoxAndSpaceToggle)
{
    List->Items()->SetCommaText(L"one,two,three");
    int clicks = 0;
    List->OnClickCheck = [&](TObject*) { ++clicks; };
    Form->Show();
    Drv->ClickWindow(List->Handle(), {5, kRow + 4});
    EXPECT_TRUE(List->Checked(1));
    EXPECT_EQ(List->ItemIndex(), 1);
    Drv->ClickWindow(List->Handle(), {60, 2 * kRow + 4});
    EXPECT_FALSE(List->Checked(2)) << "a click on the text selects only";
    EXPECT_EQ(List->ItemIndex(), 2);
    Drv->PressKey(VK_SPACE);
    EXPECT_TRUE(List->Checked(2));
    EXPECT_EQ(clicks, 2);

    // With AllowGrayed the box cycles through the third state.
    List->SetAllowGrayed(true);
    std::vector<TCheckBoxState> seen;
    for (int k = 0; k < 3; ++k) {
        Drv->PressKey(VK_SPACE);
        seen.push_back(List->State(2));
    }
    EXPECT_EQ(seen, (std::vector<TCheckBoxState>{cbGrayed, cbUnchecked, cbChecked}));
    List->SetItemEnabled(0, false);
    Drv->ClickWindow(List->Handle(), {5, 4});
    EXPECT_FALSE(List->Checked(0)) << "a disabled item keeps its state";
}

TEST_F(CheckListTest, BoxesDrawWithThemePartsOrClassicFrames)
{
    List->Items()->SetCommaText(L"one,two");
    List->SetChecked(1, true);
    Form->Show();
    HDC dc = GetDC(List->Handle());
    for (bool themed : {true, false}) {
        SCOPED_TRACE(themed ? "themed" : "classic");
        SetVisualStylesEnabled(themed);
        GdiStartRecording(dc);
        SendMessage(List->Handle(), WM_PAINT, WPARAM(dc), 0);
        std::vector<UINT> parts;
        for (const TGdiRecord& r : GdiRecords(dc)) {
            if (themed && r.Kind == L"DrawThemeBackground") parts.push_back(r.Flags);
            if (!themed && r.Kind == L"DrawFrameControl") parts.push_back(r.Flags);
        }
        GdiStopRecording(dc);
        ASSERT_EQ(parts.size(), 2u);
        if (themed) {
            EXPECT_EQ(parts[0], UINT(BP_CHECKBOX * 0x10000 + CBS_UNCHECKEDNORMAL));
            EXPECT_EQ(parts[1], UINT(BP_CHECKBOX * 0x10000 + CBS_CHECKEDNORMAL));
        } else {
            EXPECT_FALSE(parts[0] & DFCS_CHECKED);
            EXPECT_TRUE(parts[1] & DFCS_CHECKED);
        }
    }
    ReleaseDC(List->Handle(), dc);
}
