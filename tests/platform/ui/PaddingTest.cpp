// Padding: the margins an aligned child keeps from its parent's edges.
#include <gtest/gtest.h>

#include "platform/ui/ExtCtrls.h"
#include "platform/ui/backend/Headless.h"

namespace {

class PaddingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Drv = std::make_unique<THeadlessDriver>();
        InitForms();
    }
    void TearDown() override
    {
        DoneForms();
        Drv.reset();
    }
    std::unique_ptr<THeadlessDriver> Drv;
};

TEST_F(PaddingTest, AlignedChildrenKeepThePaddingFreeAndFollowItsChanges)
{
    auto* f = new TForm(Application);
    f->Init();
    f->SetBorderStyle(bsNone);
    f->SetBounds(0, 0, 400, 300);
    auto* p = new TPanel(f);
    p->SetParent(f);
    p->SetBevelOuter(bvNone);
    p->SetBounds(0, 0, 200, 100);
    auto* top = new TPanel(f);
    top->SetParent(p);
    top->SetHeight(20);
    top->SetAlign(alTop);
    auto* client = new TPanel(f);
    client->SetParent(p);
    client->SetAlign(alClient);

    p->Padding()->SetLeft(5);
    p->Padding()->SetTop(6);
    p->Padding()->SetRight(7);
    p->Padding()->SetBottom(8);
    EXPECT_EQ(top->BoundsRect(), Rect(5, 6, 193, 26));
    EXPECT_EQ(client->BoundsRect(), Rect(5, 26, 193, 92));

    // Assign copies the four margins and realigns once they differ.
    TPadding other;
    other.SetLeft(0);
    other.SetTop(10);
    p->SetPadding(&other);
    EXPECT_EQ(p->Padding()->Left(), 0);
    EXPECT_EQ(p->Padding()->Bottom(), 0);
    EXPECT_EQ(top->BoundsRect(), Rect(0, 10, 200, 30));
    EXPECT_EQ(client->BoundsRect(), Rect(0, 30, 200, 100));
    delete f;
}

}  // namespace
