// The calculator keypad: its built buttons, geometry, mouse tracking and
// the glossy painting on a captured bitmap.
#include "controls/dropdown/ButtonPanel.h"

#include "tests/controls/dropdown/DropDownTestSupport.h"

namespace {

class ButtonPanel : public DropDownFormTest {
protected:
    TCustomButtonPanel* MakePanel(int w = 230, int h = 150)
    {
        auto* p = new TButtonPanel(Form);
        p->SetParent(Form);
        p->SetBounds(20, 20, w, h);
        p->SetColor(clWhite);
        p->Loaded();
        return p;
    }
    // Channel c (0 red, 1 green, 2 blue) of 0xRRGGBB.
    static int Ch(uint32_t px, int c) { return int((px >> (16 - 8 * c)) & 0xFF); }
};

// A panel that counts its paints.
class CountingPanel : public TButtonPanel {
public:
    using TButtonPanel::TButtonPanel;
    int Paints = 0;

protected:
    void Paint() override
    {
        ++Paints;
        TButtonPanel::Paint();
    }
};

}  // namespace

TEST_F(ButtonPanel, BuildsTheTwentyEightButtonsOnlyIntoAnEmptyCalculatorCollection)
{
    auto* p = MakePanel();
    TCalcButtonItems* b = p->Buttons();
    ASSERT_EQ(b->Count(), 28);
    struct Row {
        int Index;
        const wchar_t* Caption;
        const wchar_t* Name;
        int Tag;
        bool Special;
    };
    const Row rows[] = {
        {0, L"", L"BTN_ON", 30, false},   {1, L"Back", L"BTN_BACK", 31, true}, {3, L"C", L"BTN_C", 16, true},
        {7, L"M+", L"BTN_M+", 36, true},  {8, L"0", L"BTN_0", 0, false},       {14, L"2", L"BTN_2", 2, false},
        {15, L"+/-", L"BTN_+/-", 14, false}, {16, L".", L"BTN_.", 15, false},  {20, L"/", L"BTN_/", 13, true},
        {23, L"+", L"BTN_+", 10, true},   {24, L"=", L"BTN_=", 17, true},      {25, L"1/x", L"BTN_1/x", 38, false},
        {27, L"sqrt", L"BTN_sqrt", 37, true},
    };
    for (const Row& r : rows) {
        TCalcButtonItem* it = b->Items(r.Index);
        EXPECT_EQ(it->Caption(), r.Caption) << r.Index;
        EXPECT_EQ(it->Name(), r.Name) << r.Index;
        EXPECT_EQ(it->Tag(), r.Tag) << r.Index;
        EXPECT_EQ(it->Special(), r.Special) << r.Index;
        EXPECT_EQ(it->CaptionColor(), r.Special ? TColor(0x000080) : TColor(0xFFFFFF)) << r.Index;
    }
    int special = 0;
    for (int i = 0; i < 28; ++i) special += b->Items(i)->Special() ? 1 : 0;
    EXPECT_EQ(special, 13);

    // Building again adds nothing; Reset builds afresh.
    p->CreateCalculatorButtons();
    EXPECT_EQ(b->Count(), 28);
    b->Items(5)->SetCaption(L"x");
    p->ResetButtons();
    EXPECT_EQ(b->Items(5)->Caption(), L"MR");

    // plCustom builds nothing.
    auto* q = new TButtonPanel(Form);
    q->SetButtonPanelType(plCustom);
    q->Loaded();
    EXPECT_EQ(q->Buttons()->Count(), 0);
}

TEST_F(ButtonPanel, GeometryOfTheCalculatorLayoutForSeveralSizes)
{
    struct Case {
        int W, H;
    };
    for (Case cs : {Case{230, 150}, Case{300, 200}, Case{101, 61}}) {
        auto* p = MakePanel(cs.W, cs.H);
        const int aw = cs.W - 16, ah = cs.H - 16;
        const int W = (aw - 8) / 6, H = (ah - 4) / 5;
        if (cs.W == 230) {
            EXPECT_EQ(W, 34);
            EXPECT_EQ(H, 26);
        }
        const int c[6] = {8, 8 + W + 4, 8 + 2 * W + 3, 8 + 3 * W + 2, 8 + 4 * W + 6, 8 + 5 * W + 5};
        const int r[5] = {8, 8 + H + 4, 8 + 2 * H + 3, 8 + 3 * H + 2, 8 + 4 * H + 1};
        auto rect = [&](int i) { return p->Buttons()->Items(i)->ButtonRect(); };
        auto expect = [&](int i, int x, int y, int w) {
            EXPECT_EQ(rect(i), (TRect{x, y, x + w, y + H})) << cs.W << " button " << i;
        };
        expect(0, c[0], r[0], W);      // blank
        expect(4, c[0], r[1], W);      // MC
        expect(11, c[1], r[1], W);     // 7
        expect(27, c[5], r[1], W);     // sqrt
        expect(18, c[3], r[2], W);     // 6
        expect(22, c[4], r[3], W);     // -
        expect(8, c[1], r[4], W);      // 0
        expect(24, c[5], r[4], W);     // =
        const int R = c[5] + W, w2 = (R - c[1] - 8) / 3;
        expect(1, c[1], r[0], w2);               // Back
        expect(2, c[1] + w2 + 4, r[0], w2);      // CE
        EXPECT_EQ(rect(3).Left, c[1] + 2 * w2 + 8);
        EXPECT_EQ(rect(3).Right, R);             // C reaches the right edge
        // Neighbours inside a block share their border line.
        EXPECT_EQ(rect(11).Right - 1, rect(12).Left);
        EXPECT_EQ(rect(4).Left + W + 4, rect(11).Left);
    }
}

TEST_F(ButtonPanel, CustomAndForeignCollectionsKeepTheirRectangles)
{
    auto* p = MakePanel();
    p->SetButtonPanelType(plCustom);
    p->ClearButtons();
    TCalcButtonItem* b = p->Buttons()->Add();
    b->SetButtonRect(TRect{1, 2, 30, 40});
    p->SetBounds(20, 20, 260, 170);
    p->ArrangeButtons();
    EXPECT_EQ(b->ButtonRect(), (TRect{1, 2, 30, 40}));
    // A calculator-type keypad whose collection is not the built one is not
    // laid out by position either.
    p->SetButtonPanelType(plCalculator);
    p->CreateCalculatorButtons();
    EXPECT_EQ(p->Buttons()->Count(), 1);
    EXPECT_EQ(b->ButtonRect(), (TRect{1, 2, 30, 40}));
    p->ResetButtons();
    for (int i = 0; i < 27; ++i) p->Buttons()->Delete(27 - i);
    p->Buttons()->Items(0)->SetButtonRect(TRect{5, 5, 9, 9});
    p->ArrangeButtons();
    EXPECT_EQ(p->Buttons()->Items(0)->ButtonRect(), (TRect{5, 5, 9, 9}));
}

TEST_F(ButtonPanel, AClickNeedsPressAndReleaseOnTheSameEnabledButton)
{
    auto* p = MakePanel();
    ShowForm();
    std::vector<int> clicks;
    p->OnButtonClick = [&](TObject*, Integer i) { clicks.push_back(i); };
    auto centre = [&](int i) {
        TRect r = p->Buttons()->Items(i)->ButtonRect();
        return At(p, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    };
    Drv->Click(centre(11));
    Drv->Pump();
    EXPECT_EQ(clicks, std::vector<int>{11});
    // Pressed on 7, released on 8: nothing.
    Drv->MouseDown(centre(11));
    Drv->Pump();
    EXPECT_EQ(p->ButtonDown(), 11);
    Drv->MouseMove(centre(12));
    Drv->MouseUp(centre(12));
    Drv->Pump();
    EXPECT_EQ(clicks.size(), 1u);
    EXPECT_EQ(p->ButtonDown(), -1);
    EXPECT_EQ(p->ButtonHot(), 12);
    // A disabled button is neither hot nor pressed, and never clicks.
    p->Buttons()->Items(19)->SetEnabled(false);
    Drv->MouseMove(centre(19));
    Drv->Pump();
    EXPECT_EQ(p->ButtonHot(), -1);
    Drv->Click(centre(19));
    Drv->Pump();
    EXPECT_EQ(p->ButtonDown(), -1);
    EXPECT_EQ(clicks.size(), 1u);
    // Between buttons nothing is hot.
    Drv->MouseMove(At(p, 2, 2));
    Drv->Pump();
    EXPECT_EQ(p->ButtonHot(), -1);
}

TEST_F(ButtonPanel, PaintsGlossyButtonsAFrameAndTheHotHalo)
{
    auto* p = MakePanel();
    ShowForm();
    HWND h = Form->Handle();
    const int ox = 20, oy = 20;
    // Standalone: a black frame around the client rectangle.
    EXPECT_EQ(PixelAt(h, ox, oy + 70), 0x000000u);
    TRect r = p->Buttons()->Items(18)->ButtonRect();  // "6", an inner button
    // Lower half near the bottom: close to ColorTo (0xB0A170 -> RGB 70 A1 B0).
    uint32_t low = PixelAt(h, ox + r.Left + 3, oy + r.Bottom - 4);
    EXPECT_NEAR(Ch(low, 0), 0x70, 14);
    EXPECT_NEAR(Ch(low, 2), 0xB0, 14);
    // Upper half: Color (0x9A915F) lightened by the white shine.
    uint32_t up = PixelAt(h, ox + r.Left + 3, oy + r.Top + 5);
    EXPECT_GT(Ch(up, 0), 0x5F + 40);
    // Left of a normal button in the gap between blocks: background white.
    TRect seven = p->Buttons()->Items(11)->ButtonRect();
    EXPECT_EQ(PixelAt(h, ox + seven.Left - 3, oy + (seven.Top + seven.Bottom) / 2), 0xFFFFFFu);

    // Hot: the halo tints the margin (GlowColorHot 0xD5C244 -> RGB 44 C2 D5).
    seven = p->Buttons()->Items(4)->ButtonRect();  // MC, in the first column
    EXPECT_EQ(PixelAt(h, ox + seven.Left - 3, oy + (seven.Top + seven.Bottom) / 2), 0xFFFFFFu);
    Drv->MouseMove(At(p, (seven.Left + seven.Right) / 2, (seven.Top + seven.Bottom) / 2));
    Drv->Pump();
    ASSERT_EQ(p->ButtonHot(), 4);
    uint32_t halo = PixelAt(h, ox + seven.Left - 2, oy + (seven.Top + seven.Bottom) / 2);
    EXPECT_LT(Ch(halo, 0), 0xF0);   // red drawn down toward 0x44
    EXPECT_GT(Ch(halo, 2), 0xD0);   // blue stays high
    // The halo fades outward: farther out is lighter.
    uint32_t far = PixelAt(h, ox + seven.Left - 7, oy + (seven.Top + seven.Bottom) / 2);
    EXPECT_GT(Ch(far, 0), Ch(halo, 0));
    // Leaving the control clears the hot mark and the halo.
    Drv->MouseMove(At(Form, 480, 340));
    Drv->Pump();
    EXPECT_EQ(p->ButtonHot(), -1);
    EXPECT_EQ(PixelAt(h, ox + seven.Left - 3, oy + (seven.Top + seven.Bottom) / 2), 0xFFFFFFu);
}

TEST_F(ButtonPanel, HostedKeypadDrawsNoFrameAndIgnoresAppearanceChanges)
{
    auto* alone = new CountingPanel(Form);
    alone->SetParent(Form);
    alone->SetBounds(10, 10, 230, 150);
    alone->SetColor(clWhite);
    alone->Loaded();
    auto* dd = Make<TVodDropDown>(260, 300, 100);
    auto* hosted = new CountingPanel(Form);
    hosted->SetVodDropDown(dd);
    hosted->SetParent(Form);
    hosted->SetBounds(250, 10, 230, 150);
    hosted->SetColor(clWhite);
    hosted->CreateCalculatorButtons();
    ShowForm();
    EXPECT_EQ(PixelAt(Form->Handle(), 250, 80), 0xFFFFFFu);  // no frame
    EXPECT_EQ(PixelAt(Form->Handle(), 10, 80), 0x000000u);
    int a0 = alone->Paints, h0 = hosted->Paints;
    alone->ButtonAppearance()->SetColor(0x123456);
    hosted->ButtonAppearance()->SetColor(0x123456);
    Drv->Pump();
    EXPECT_GT(alone->Paints, a0);
    EXPECT_EQ(hosted->Paints, h0);
}

TEST_F(ButtonPanel, ButtonSizeIsMeasuredInTheKeypadsOwnFont)
{
    auto* p = MakePanel();
    // Fixed metrics: 8 x 16 per character; the widest captions are four.
    p->ButtonAppearance()->Font()->SetSize(30);
    Integer w = 0, h = 0;
    p->CalcButtonSize(w, h);
    EXPECT_EQ(w, 2 * 4 + 4 * 8);
    EXPECT_EQ(h, 16 + 2 * 4);
    p->SetButtonLayout(ilCaptionTop);
    p->CalcButtonSize(w, h);
    EXPECT_EQ(w, 4 * 8 + 2 * 4);
    EXPECT_EQ(h, 2 * 4 + 16);
}

TEST_F(ButtonPanel, AppearanceAssignCopiesColoursGlowAndFont)
{
    VodButtonPanel::TButtonAppearance a, b;
    int changes = 0;
    a.OnChange = [&](TObject*) { ++changes; };
    b.SetColor(0x010203);
    b.SetGlowColorHot(0x445566);
    b.SetGlowColorDown(0x778899);
    b.Font()->SetSize(14);
    a.Assign(&b);
    EXPECT_EQ(a.Color(), TColor(0x010203));
    EXPECT_EQ(a.GlowColorHot(), TColor(0x445566));
    EXPECT_EQ(a.GlowColorDown(), TColor(0x778899));
    EXPECT_EQ(a.Font()->Size(), 14);
    EXPECT_GE(changes, 2);
    changes = 0;
    a.SetShineColor(0x111111);  // tells no change
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(VodButtonPanel::TButtonAppearance().Font()->Size(), 10);
    EXPECT_TRUE(VodButtonPanel::TButtonAppearance().Font()->Style().Contains(fsBold));
}
