// Opening, placing, sizing and closing the drop-down window.
#include "tests/controls/dropdown/DropDownTestSupport.h"

#include "platform/ui/StdCtrls.h"

namespace {
class DropDownWindow : public DropDownFormTest {};
}  // namespace

TEST_F(DropDownWindow, ArrowOpensBelowTheEditAndEscRestoresTheText)
{
    auto* d = Make();
    auto* memo = new TMemo(d);
    memo->SetBounds(0, 0, 150, 80);
    d->SetControl(memo);
    d->SetText(L"abc");
    ShowForm();
    Drv->Click(Arrow(d));
    Drv->Pump();
    ASSERT_TRUE(d->DroppedDown());
    TDropDownForm* f = d->DropDownForm();
    ASSERT_TRUE(f->Visible());
    TPoint p = Form->ClientToScreen(TPoint(20, 40));
    EXPECT_EQ(f->Left(), p.X);
    EXPECT_EQ(f->Top(), p.Y + d->Height() - 1);
    d->SetEditText(L"typed");
    Drv->PressKey(VK_ESCAPE);
    Drv->Pump();
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_FALSE(f->Visible());
    EXPECT_EQ(d->Text(), L"abc");
}
