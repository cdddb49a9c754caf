// The panel under the mouse and the window manager: collapse and expand with
// their events, hiding children, the caption's buttons and clicks, anchors,
// the hit-test answers and the window layer's move and size loop.
#include <algorithm>

#include "controls/chrome/VodPanel.h"
#include "tests/controls/chrome/PanelTestSupport.h"
#include "tests/controls/markup/MarkupControlsTestSupport.h"

namespace {

struct TCollapseCase {
    TCaptionPosition Pos;
    bool StatusBar;
    bool Border;   // BorderWidth 1 with BorderShadow
    Integer Steps;
    std::vector<Integer> Sizes;   // height (top) or width (sides) after each step, then the end
    Integer Left;                 // collapsed Left (the right edge stays for a right caption)
};

TEST_F(PanelTest, CollapseAndExpandStepByStep)
{
    // 200 x 200 panel at (10, 10), caption 20.
    const TCollapseCase cases[] = {
        {cpTop, false, false, 3, {140, 80, 20, 18}, 10},
        {cpTop, true, false, 2, {119, 38, 36}, 10},
        {cpTop, false, true, 0, {24}, 10},
        {cpTop, false, false, 500, {18}, 10},   // a step of 0: the panel jumps at the end
        {cpLeft, false, false, 3, {140, 80, 20}, 10},
        {cpLeft, true, true, 1, {38, 41}, 10},
        {cpRight, false, false, 2, {110, 20}, 190},
    };
    for (const TCollapseCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "position " << int(c.Pos) << " steps " << c.Steps);
        TVodPanel* p = NewPanel(nullptr, 10, 10, 200, 200);
        p->Caption()->SetPosition(c.Pos);
        p->Caption()->SetVisible(true);
        p->StatusBar()->SetVisible(c.StatusBar);
        if (c.Border) {
            p->SetBorderWidth(1);
            p->SetBorderShadow(true);
        }
        p->SetCollapsSteps(c.Steps);
        p->SetCollapsDelay(0);
        std::vector<Integer> sizes;
        std::string events;
        p->OnResize = [&](TObject*) { sizes.push_back(c.Pos == cpTop ? p->Height() : p->Width()); };
        p->OnMinimize = [&](TObject*) { events += "min "; };
        p->OnMaximize = [&](TObject*) { events += "max "; };
        p->OnEndCollapsExpand = [&](TObject*) { events += "end "; };
        p->SetCollaps(true);
        EXPECT_TRUE(p->Collaps());
        EXPECT_EQ(sizes, c.Sizes);
        EXPECT_EQ(p->Left(), c.Left);
        EXPECT_EQ(p->Left() + p->Width(), c.Pos == cpRight ? 210 : p->Left() + p->Width());
        EXPECT_EQ(events, "min end ");
        EXPECT_EQ(p->FullHeight(), 200);
        p->SetCollaps(true);
        EXPECT_EQ(events, "min end end ") << "an unchanged value still ends";
        sizes.clear();
        p->SetCollaps(false);
        EXPECT_EQ(events, "min end end max end ");
        EXPECT_EQ(c.Pos == cpTop ? p->Height() : p->Width(), 200);
        EXPECT_EQ(p->Left(), 10) << "expanding restores the left edge";
        delete p;
    }
}

TEST_F(PanelTest, CollapseColourAndReentry)
{
    TVodPanel* p = NewPanel(nullptr, 10, 10, 200, 200);
    p->Caption()->SetVisible(true);
    p->SetColor(clWhite);
    p->SetCollapsColor(clRed);
    p->SetCollapsSteps(2);
    p->SetCollapsDelay(0);
    int ends = 0;
    p->OnEndCollapsExpand = [&](TObject*) { ++ends; };
    bool refused = false;
    p->OnResize = [&](TObject*) {
        if (p->Collapsing() && !refused) {
            refused = true;
            p->SetCollaps(false);   // dropped while the animation runs
        }
    };
    p->SetCollaps(true);
    EXPECT_TRUE(refused);
    EXPECT_TRUE(p->Collaps());
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(p->Color(), clRed);
    p->OnResize = nullptr;
    p->SetCollaps(false);
    EXPECT_EQ(p->Color(), clWhite);
    // Without steps the colour stays.
    p->SetCollapsSteps(0);
    p->SetCollaps(true);
    EXPECT_EQ(p->Color(), clWhite);
}

// Frees its victim when it receives WM_USER + 1.
class TPanelKiller : public TWinControl {
public:
    explicit TPanelKiller(TComponent* owner) : TWinControl(owner) {}
    TCustomVodPanel* Victim = nullptr;
    void WndProc(TMessage& m) override
    {
        if (m.Msg == WM_USER + 1) {
            delete Victim;
            Victim = nullptr;
            return;
        }
        TWinControl::WndProc(m);
    }
};

TEST_F(PanelTest, PanelFreedDuringItsAnimationEndsItQuietly)
{
    TVodPanel* p = NewPanel(nullptr, 10, 10, 200, 200);
    p->Caption()->SetVisible(true);
    p->SetCollapsSteps(5);
    p->SetCollapsDelay(0);
    int ends = 0;
    p->OnEndCollapsExpand = [&](TObject*) { ++ends; };
    auto* killer = new TPanelKiller(Form);
    killer->SetParent(Form);
    killer->HandleNeeded();
    killer->Victim = p;
    PostMessage(killer->Handle(), WM_USER + 1, 0, 0);
    p->SetCollaps(true);   // the first step's message pump frees the panel
    EXPECT_EQ(killer->Victim, nullptr);
    EXPECT_EQ(ends, 0);
}

TEST_F(PanelTest, ShowChildrenKeepsCaptionControlsAndHiddenOnes)
{
    TVodPanel* p = NewPanel(nullptr, 10, 10, 200, 200);
    p->Caption()->SetVisible(true);
    auto make = [&](Integer top, bool visible) {
        auto* c = new TPanel(Form);
        c->SetParent(p);
        c->SetBounds(5, top, 20, 10);
        c->SetVisible(visible);
        return c;
    };
    TPanel* inCaption = make(2, true);
    TPanel* body = make(50, true);
    TPanel* hidden = make(80, false);
    p->SetCollaps(true);
    EXPECT_TRUE(inCaption->Visible());
    EXPECT_FALSE(body->Visible());
    EXPECT_FALSE(hidden->Visible());
    p->SetCollaps(false);
    EXPECT_TRUE(body->Visible());
    EXPECT_FALSE(hidden->Visible()) << "already hidden stays hidden";
}

// ---------------------------------------------------------------------------
// Caption buttons and clicks

TEST_F(PanelTest, CaptionButtonsAndClicks)
{
    TVodPanel* p = NewPanel(nullptr, 10, 10, 200, 200);
    p->Caption()->SetVisible(true);
    p->Caption()->SetCloseButton(true);
    p->Caption()->SetMinMaxButton(true);
    p->Caption()->SetMinMaxCaption(true);
    p->SetCollapsDelay(0);
    int clicks = 0, dbl = 0, closes = 0;
    p->OnCaptionClick = [&](TObject*) { ++clicks; };
    p->OnCaptionDBlClick = [&](TObject*) { ++dbl; };
    p->OnClose = [&](TObject*) { ++closes; };
    // The collapse button (right end, left of the close button): toggles once.
    Drv->ClickWindow(p->Handle(), {200 - 2 - 12 - 6, 8});
    EXPECT_TRUE(p->Collaps());
    EXPECT_EQ(clicks, 0);
    // Anywhere else on the caption strip toggles with MinMaxCaption, then
    // reports the click.
    Drv->ClickWindow(p->Handle(), {50, 8});
    EXPECT_FALSE(p->Collaps());
    EXPECT_EQ(clicks, 1);
    Drv->ClickWindow(p->Handle(), {50, 100});
    EXPECT_EQ(clicks, 1) << "the body is not the caption";
    // The close button hides.
    Drv->ClickWindow(p->Handle(), {200 - 2 - 6, 8});
    EXPECT_FALSE(p->Visible());
    EXPECT_EQ(closes, 1);
    (void)dbl;
}

TEST_F(PanelTest, CloseButtonFreesAfterTheMouseMessage)
{
    TVodPanel* p = NewPanel(nullptr, 10, 10, 200, 200);
    p->SetName(L"Doomed");
    p->Caption()->SetVisible(true);
    p->Caption()->SetCloseButton(true);
    p->SetFreeOnClose(true);
    bool closed = false;
    p->OnClose = [&](TObject*) { closed = true; };
    Drv->ClickWindow(p->Handle(), {200 - 2 - 6, 8});
    EXPECT_TRUE(closed);
    Application->ProcessMessages();
    EXPECT_EQ(Form->FindComponent(L"Doomed"), nullptr);
}

TEST_F(PanelTest, AnchorsGoToTheShellOrToOnAnchorClick)
{
    TShellRecorder shell;
    SetFixedMetricsFonts(true);
    TVodPanel* p = NewPanel(nullptr, 10, 10, 300, 100);
    p->SetText(L"<a href=\"app:local\">local</a> and <a href=\"http://example.org/x\">web</a>");
    std::vector<String> clicked, entered;
    int exits = 0;
    p->OnAnchorClick = [&](TObject*, String a) { clicked.push_back(a); };
    p->OnAnchorEnter = [&](TObject*, String a) { entered.push_back(a); };
    p->OnAnchorExit = [&](TObject*, String) { ++exits; };
    // "local" starts at x = 1 + 1 (bevel) + 1 (text margin), 8 px per char.
    Drv->MouseMoveWindow(p->Handle(), {10, 10});
    EXPECT_EQ(p->Cursor(), crHandPoint);
    ASSERT_EQ(entered.size(), 1u);
    EXPECT_EQ(entered[0], L"app:local");
    EXPECT_EQ(p->BodyHoverAnchor(), 1);
    Drv->MouseMoveWindow(p->Handle(), {10, 60});
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(p->Cursor(), crDefault);
    Drv->ClickWindow(p->Handle(), {10, 10});
    ASSERT_EQ(clicked.size(), 1u);
    EXPECT_EQ(clicked[0], L"app:local");
    Drv->ClickWindow(p->Handle(), {3 + 10 * 8 + 4, 10});
    EXPECT_EQ(clicked.size(), 1u) << "a web address raises no OnAnchorClick";
    EXPECT_EQ(shell.First(), "http://example.org/x");
    SetFixedMetricsFonts(false);
}

// ---------------------------------------------------------------------------
// Moving and sizing

struct THitCase {
    bool CanMove, CanSize, FixedWidth, FixedHeight;
    TCaptionPosition Pos;
    TPoint At;   // client point of a 200 x 200 panel
    LRESULT Answer;
};

TEST_F(PanelTest, HitTestAnswersFollowTheFlags)
{
    const Integer fx = GetSystemMetrics(SM_CXSIZEFRAME), fy = GetSystemMetrics(SM_CYSIZEFRAME);
    const THitCase cases[] = {
        {true, false, false, false, cpTop, {100, 5}, HTCAPTION},
        {false, false, false, false, cpTop, {100, 5}, HTCLIENT},
        {true, false, false, false, cpTop, {100, 50}, HTCLIENT},
        {false, true, false, false, cpTop, {199, 199}, HTBOTTOMRIGHT},
        {false, true, false, false, cpTop, {100, 200 - fy + 1}, HTBOTTOM},
        {false, true, false, false, cpTop, {200 - fx + 1, 100}, HTRIGHT},
        {false, true, true, false, cpTop, {199, 199}, HTBOTTOM},
        {false, true, true, false, cpTop, {200 - fx + 1, 100}, HTCLIENT},
        {false, true, false, true, cpTop, {199, 199}, HTRIGHT},
        {false, false, false, false, cpTop, {199, 199}, HTCLIENT},
        {false, true, false, false, cpRight, {0, 199}, HTBOTTOMLEFT},
        {false, true, false, false, cpRight, {1, 100}, HTLEFT},
        {true, false, false, false, cpRight, {195, 100}, HTCAPTION},
        {true, false, false, false, cpLeft, {5, 100}, HTCAPTION},
    };
    for (const THitCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.At.X << "," << c.At.Y << " pos " << int(c.Pos));
        TVodPanel* p = NewPanel(nullptr, 10, 10, 200, 200);
        p->Caption()->SetPosition(c.Pos);
        p->Caption()->SetVisible(true);
        p->SetCanMove(c.CanMove);
        p->SetCanSize(c.CanSize);
        p->SetFixedWidth(c.FixedWidth);
        p->SetFixedHeight(c.FixedHeight);
        const TPoint s = p->ClientToScreen(c.At);
        EXPECT_EQ(SendMessage(p->Handle(), WM_NCHITTEST, 0, PointToLParam(s)), c.Answer);
        delete p;
    }
    // A collapsed panel answers no sizing codes.
    TVodPanel* p = NewPanel(nullptr, 10, 10, 200, 200);
    p->Caption()->SetVisible(true);
    p->SetCanSize(true);
    p->SetCollaps(true);
    EXPECT_EQ(SendMessage(p->Handle(), WM_NCHITTEST, 0, PointToLParam(p->ClientToScreen({199, 17}))), HTCLIENT);
}

TEST_F(PanelTest, TheWindowLayerMovesAndSizesThePanelWithinItsConstraints)
{
    TVodPanel* p = NewPanel(nullptr, 10, 10, 200, 200);
    p->Caption()->SetVisible(true);
    p->SetCanMove(true);
    p->SetCanSize(true);
    int ends = 0;
    p->OnEndMoveSize = [&](TObject*) { ++ends; };
    TPoint from = p->ClientToScreen({100, 8});
    Drv->Drag(from, {from.X + 40, from.Y + 25});
    EXPECT_EQ(p->BoundsRect(), Rect(50, 35, 250, 235));
    EXPECT_EQ(ends, 1);
    // Fixed left: the caption drag moves it down only.
    p->SetFixedLeft(true);
    from = p->ClientToScreen({100, 8});
    Drv->Drag(from, {from.X + 30, from.Y + 10});
    EXPECT_EQ(p->BoundsRect(), Rect(50, 45, 250, 245));
    // The bottom-right corner sizes it, and the full size follows.
    from = p->ClientToScreen({199, 199});
    Drv->Drag(from, {from.X + 20, from.Y + 30});
    EXPECT_EQ(p->BoundsRect(), Rect(50, 45, 270, 275));
    EXPECT_EQ(p->FullHeight(), 230);
    // A fixed width leaves only the bottom edge.
    p->SetFixedWidth(true);
    from = p->ClientToScreen({219, 229});
    Drv->Drag(from, {from.X + 20, from.Y + 10});
    EXPECT_EQ(p->BoundsRect(), Rect(50, 45, 270, 285));
    EXPECT_EQ(ends, 4);
}

TEST_F(PanelTest, ButtonHoverColours)
{
    TVodPanel* p = NewPanel(nullptr, 10, 10, 200, 200);
    p->Caption()->SetVisible(true);
    p->Caption()->SetCloseButton(true);
    p->Caption()->SetMinMaxButton(true);
    Drv->MouseMoveWindow(p->Handle(), {192, 8});
    EXPECT_FALSE(p->CloseHover()) << "no hover colour, no tracking";
    p->Caption()->SetCloseButtonHoverColor(clRed);
    p->Caption()->SetMinMaxButtonHoverColor(clRed);
    Drv->MouseMoveWindow(p->Handle(), {192, 8});
    EXPECT_TRUE(p->CloseHover());
    EXPECT_FALSE(p->MinMaxHover());
    Drv->MouseMoveWindow(p->Handle(), {180, 8});
    EXPECT_FALSE(p->CloseHover());
    EXPECT_TRUE(p->MinMaxHover());
    TMarkupCanvas mc(200, 200);
    p->PaintOn(&mc.Canvas);
    const auto polys = mc.Records(L"Polygon");
    ASSERT_EQ(polys.size(), 1u);
    EXPECT_EQ(polys[0].Color, RGB(255, 0, 0));
}

}  // namespace
