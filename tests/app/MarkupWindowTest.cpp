// The windows' markup controls (a unit of their own: the markup controls'
// header and the panel's name enumeration values alike): the main window's
// labels and the wait window's sentence, drawn in blue by the markup engine.
#include <gtest/gtest.h>

#include "controls/markup/HTMLText.h"
#include "platform/ui/StdCtrls.h"
#include "tests/app/MainFormFixture.h"
#include "tests/app/ScreenCompare.h"

namespace {

TEST_F(MainFormTest, LabelsAreTransparentMarkupLabelsInTheWindowsColour)
{
    const struct {
        THTMLabel* T_mainForm::*label;
        const wchar_t* text;
    } labels[] = {{&T_mainForm::ExampleHTMLabel, L"Example:"},
                  {&T_mainForm::SaveToHTMLabel, L"Save To:"},
                  {&T_mainForm::DownloadHTMLabel, L"Download From:"},
                  {&T_mainForm::SaveAsHTMLabel, L"Save As:"}};
    for (const auto& l : labels) {
        THTMLabel* label = Form->*l.label;
        SCOPED_TRACE(UTF8Encode(l.text));
        EXPECT_EQ(label->ClassName(), L"THTMLabel");
        ASSERT_EQ(label->HTMLText()->Count(), 1);
        EXPECT_EQ(label->HTMLText()->Strings(0), l.text);
        EXPECT_TRUE(label->Transparent());
        EXPECT_EQ(label->LineWidth(), 0);
        EXPECT_EQ(label->Color(), kMainColour);
    }
}

TEST_F(MainFormTest, WaitWindowsSentenceIsDrawnInBlueByTheMarkupEngine)
{
    THTMLStaticText* t = _waitForm->HTMLStaticText2;
    EXPECT_EQ(t->ClassName(), L"THTMLStaticText");
    EXPECT_EQ(t->Font()->Color(), clNavy);
    EXPECT_EQ(t->HTMLText()->Strings(0), kWaitHintMarkup);
    EXPECT_EQ(t->Text(), kWaitHintText) << "the markup's plain text";
    ShowAndActivate();
    _waitForm->Show();
    Drv->Pump();
    appshots::TPixels p;
    ASSERT_TRUE(Drv->CaptureWindow(t->Handle(), p.Px, p.Width, p.Height));
    for (uint32_t& v : p.Px) v &= 0xFFFFFF;
    EXPECT_GT(p.CountIf(appshots::BlueCore, 0, 0, p.Width, p.Height), 100) << "the sentence in the FONT tag's blue";
    EXPECT_EQ(p.CountIf(appshots::NavyCore, 0, 0, p.Width, p.Height), 0) << "nothing in the control's own navy";
    _waitForm->Hide();
}

}  // namespace
