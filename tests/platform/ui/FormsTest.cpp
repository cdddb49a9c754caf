#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "platform/base/Threads.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"
#include "platform/ui/Timers.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Headless.h"

namespace {

// A plain container, like a panel.
class TBox : public TCustomControl {
public:
    explicit TBox(TComponent* owner, TWinControl* parent = nullptr, TAlign align = alNone, int size = 0)
        : TCustomControl(owner)
    {
        if (parent) SetParent(parent);
        SetAlign(align);
        if (align == alTop || align == alBottom) SetHeight(size);
        if (align == alLeft || align == alRight) SetWidth(size);
    }
    TColor Fill = clNone;
    std::vector<UINT> Seen;

protected:
    void PaintWindow(HDC DC) override
    {
        if (Fill != clNone) {
            TRect r = ClientRect();
            HBRUSH b = CreateSolidBrush(COLORREF(Fill));
            FillRect(DC, &r, b);
            DeleteObject(b);
        }
    }
    void WndProc(TMessage& M) override
    {
        Seen.push_back(M.Msg);
        TCustomControl::WndProc(M);
    }
};

// A focusable control with a dialog code of its choosing.
class TField : public TCustomControl {
public:
    explicit TField(TComponent* owner, TWinControl* parent, int x) : TCustomControl(owner)
    {
        SetParent(parent);
        SetBounds(x, 10, 50, 20);
        SetTabStop(true);
    }
    LRESULT DlgCode = 0;
    std::vector<Word> Keys;

protected:
    void Dispatch(TMessage& M) override
    {
        if (M.Msg == WM_GETDLGCODE) {
            M.Result = DlgCode;
            return;
        }
        if (M.Msg == WM_KEYDOWN) Keys.push_back(M.CharCode());
        TCustomControl::Dispatch(M);
    }
};

// A graphic control with an accelerator that focuses another control.
class TAccelLabel : public TGraphicControl {
public:
    TAccelLabel(TComponent* owner, TWinControl* parent, const String& caption) : TGraphicControl(owner)
    {
        SetParent(parent);
        SetCaption(caption);
        SetBounds(0, 0, 40, 15);
    }
    TWinControl* FocusTarget = nullptr;
    int Clicks = 0;

protected:
    void Dispatch(TMessage& M) override
    {
        if (M.Msg == CM_DIALOGCHAR && FocusTarget && IsAccel(M.CharCode(), Caption())) {
            FocusTarget->SetFocus();
            M.Result = 1;
            return;
        }
        TGraphicControl::Dispatch(M);
    }
    void Click() override { ++Clicks; }
};

// A "default button": takes Enter through CM_DIALOGKEY.
class TDefaultButton : public TCustomControl {
public:
    TDefaultButton(TComponent* owner, TWinControl* parent) : TCustomControl(owner)
    {
        SetParent(parent);
        SetBounds(300, 10, 60, 20);
    }
    int Pressed = 0;

protected:
    void Dispatch(TMessage& M) override
    {
        if (M.Msg == CM_DIALOGKEY && M.CharCode() == VK_RETURN) {
            ++Pressed;
            M.Result = 1;
            return;
        }
        TCustomControl::Dispatch(M);
    }
};

class TTestForm : public TForm {
public:
    explicit TTestForm(TComponent* owner) : TForm(owner)
    {
        SetBorderStyle(bsNone);
        SetBounds(100, 100, 400, 300);
    }
};

class FormsTest : public ::testing::Test {
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
    TTestForm* NewForm()
    {
        auto* f = new TTestForm(Application);
        f->Init();
        return f;
    }
    std::unique_ptr<THeadlessDriver> Drv;
};

}  // namespace

// ---------------------------------------------------------------------------
// Layout

TEST_F(FormsTest, NestedAlignedPanelsAndAnchorsFollowTheParentsSize)
{
    TTestForm* f = NewForm();
    auto* top = new TBox(f, f, alTop, 40);
    auto* bottom = new TBox(f, f, alBottom, 30);
    auto* left = new TBox(f, f, alLeft, 100);
    auto* client = new TBox(f, f, alClient);
    auto* leftHead = new TBox(f, left, alTop, 20);
    auto* leftBody = new TBox(f, left, alClient);
    auto* right = new TBox(f, client, alRight, 50);
    auto* pinned = new TBox(f, client);
    pinned->SetBounds(200, 180, 30, 20);  // client area is 300x230: 70 from the right, 30 from the bottom
    pinned->SetAnchors(TAnchors{akRight, akBottom});
    f->Show();

    EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 400, 40));
    EXPECT_EQ(bottom->BoundsRect(), Rect(0, 270, 400, 300));
    EXPECT_EQ(left->BoundsRect(), Rect(0, 40, 100, 270));
    EXPECT_EQ(client->BoundsRect(), Rect(100, 40, 400, 270));
    EXPECT_EQ(leftHead->BoundsRect(), Rect(0, 0, 100, 20));
    EXPECT_EQ(leftBody->BoundsRect(), Rect(0, 20, 100, 230));
    EXPECT_EQ(right->BoundsRect(), Rect(250, 0, 300, 230));
    // The windows are where the controls say.
    TRect wr;
    GetWindowRect(right->Handle(), &wr);
    EXPECT_EQ(wr, Rect(100 + 100 + 250, 100 + 40, 100 + 100 + 300, 100 + 270));

    f->SetBounds(100, 100, 500, 400);
    EXPECT_EQ(bottom->BoundsRect(), Rect(0, 370, 500, 400));
    EXPECT_EQ(client->BoundsRect(), Rect(100, 40, 500, 370));
    EXPECT_EQ(right->BoundsRect(), Rect(350, 0, 400, 330));
    EXPECT_EQ(pinned->BoundsRect(), Rect(300, 280, 330, 300)) << "kept 70 from the right and 30 from the bottom";

    // A band being placed wins ties against the others (it goes first at
    // Top 0); its position decides the order after that.
    auto* top2 = new TBox(f, f, alTop, 10);
    EXPECT_EQ(top2->BoundsRect(), Rect(0, 0, 500, 10));
    EXPECT_EQ(top->BoundsRect(), Rect(0, 10, 500, 50));
    top2->SetTop(1000);
    EXPECT_EQ(top2->BoundsRect(), Rect(0, 40, 500, 50));
    EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 500, 40));
}

TEST_F(FormsTest, ControlsAlignedWhileTheFormLoadsAreLaidOutWhenItIsReady)
{
    // Made in the constructor, like a designed form: the layout waits for
    // the form to finish loading and is in place before it is ever shown.
    auto* f = new TTestForm(Application);
    auto* panel = new TBox(f, f, alClient);
    auto* side = new TBox(f, panel, alRight, 75);
    auto* head = new TBox(f, panel, alTop, 50);
    f->Init();
    ASSERT_FALSE(f->HandleAllocated());
    EXPECT_EQ(panel->BoundsRect(), Rect(0, 0, 400, 300));
    EXPECT_EQ(side->BoundsRect(), Rect(325, 50, 400, 300));
    EXPECT_EQ(head->BoundsRect(), Rect(0, 0, 400, 50));
}

TEST_F(FormsTest, ConstraintsHoldAnAlignedControl)
{
    TTestForm* f = NewForm();
    auto* left = new TBox(f, f, alLeft, 300);
    left->Constraints()->SetMaxWidth(120);
    auto* rest = new TBox(f, f, alClient);
    f->Show();
    EXPECT_EQ(left->Width(), 120);
    EXPECT_EQ(rest->BoundsRect(), Rect(120, 0, 400, 300)) << "the next band starts where the held one ends";
}

TEST_F(FormsTest, ClientSizeSetBeforeTheWindowExistsIsTheClientSizeItShows)
{
    // The frame of each border style is not client area, whether the
    // window exists yet or not.
    for (TFormBorderStyle bs : {bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin}) {
        TTestForm* f = NewForm();
        f->SetBorderStyle(bs);
        f->SetBounds(40, 30, 100, 100);
        f->SetClientWidth(300);
        f->SetClientHeight(200);
        auto* fill = new TBox(f, f, alClient);
        ASSERT_FALSE(f->HandleAllocated());
        EXPECT_EQ(f->ClientRect(), Rect(0, 0, 300, 200)) << "border style " << int(bs);
        TRect outer = f->BoundsRect();
        f->Show();
        TRect client, window;
        GetClientRect(f->Handle(), &client);
        GetWindowRect(f->Handle(), &window);
        EXPECT_EQ(client, Rect(0, 0, 300, 200)) << "border style " << int(bs);
        EXPECT_EQ(window, outer) << "border style " << int(bs);
        EXPECT_EQ(fill->BoundsRect(), Rect(0, 0, 300, 200)) << "border style " << int(bs);
        delete f;
    }
    // Nor is the menu bar.
    TTestForm* f = NewForm();
    f->SetBorderStyle(bsSizeable);
    auto* menu = new TMainMenu(f);
    auto* file = new TMenuItem(menu);
    file->SetCaption(L"&File");
    menu->Items()->Add(file);
    f->SetMenu(menu);
    f->SetClientWidth(300);
    f->SetClientHeight(200);
    f->Show();
    TRect client;
    GetClientRect(f->Handle(), &client);
    EXPECT_EQ(client, Rect(0, 0, 300, 200)) << "with a menu bar";
}

// ---------------------------------------------------------------------------
// Keyboard

TEST_F(FormsTest, TabAndArrowsMoveFocusThroughTheDialogKeyPipeline)
{
    TTestForm* f = NewForm();
    auto* a = new TField(f, f, 10);
    auto* b = new TField(f, f, 70);
    auto* c = new TField(f, f, 130);
    b->SetTabOrder(2);  // order a, c, b
    f->Show();
    EXPECT_EQ(f->ActiveControl(), a) << "the first tab stop takes the focus";
    EXPECT_TRUE(a->Focused());
    Drv->PressKey(VK_TAB);
    EXPECT_TRUE(c->Focused());
    Drv->PressKey(VK_TAB);
    EXPECT_TRUE(b->Focused());
    Drv->PressKey(VK_TAB);
    EXPECT_TRUE(a->Focused()) << "wraps around";
    Drv->PressKey(VK_TAB, {VK_SHIFT});
    EXPECT_TRUE(b->Focused());
    EXPECT_TRUE(b->Keys.empty() || b->Keys.back() != VK_TAB) << "the dialog keys never reach the control";

    // A control that wants tabs keeps them.
    b->DlgCode = DLGC_WANTTAB;
    Drv->PressKey(VK_TAB);
    EXPECT_TRUE(b->Focused());
    ASSERT_FALSE(b->Keys.empty());
    EXPECT_EQ(b->Keys.back(), VK_TAB);

    // Arrows move among the siblings, tab stop or not.
    b->DlgCode = 0;
    c->SetTabStop(false);
    Drv->PressKey(VK_RIGHT);
    EXPECT_TRUE(a->Focused());
    Drv->PressKey(VK_LEFT);
    EXPECT_TRUE(b->Focused());
    Drv->PressKey(VK_LEFT);
    EXPECT_TRUE(c->Focused());
}

TEST_F(FormsTest, EnterGoesToTheDefaultButtonAndAcceleratorsFocusTheirControl)
{
    TTestForm* f = NewForm();
    auto* edit = new TField(f, f, 10);
    auto* other = new TField(f, f, 70);
    auto* button = new TDefaultButton(f, f);
    auto* label = new TAccelLabel(f, f, L"&Name");
    label->FocusTarget = other;
    f->Show();
    ASSERT_TRUE(edit->Focused());
    Drv->PressKey(VK_RETURN);
    EXPECT_EQ(button->Pressed, 1);
    edit->DlgCode = DLGC_WANTALLKEYS;
    Drv->PressKey(VK_RETURN);
    EXPECT_EQ(button->Pressed, 1) << "a control that wants Enter keeps it";
    EXPECT_EQ(edit->Keys.back(), VK_RETURN);

    Drv->PressKey('N', {VK_MENU});
    EXPECT_TRUE(other->Focused()) << "Alt+N";
    Drv->PressKey('X', {VK_MENU});
    EXPECT_TRUE(other->Focused());
}

TEST_F(FormsTest, KeyPreviewLetsTheFormSeeAndEatKeysFirst)
{
    TTestForm* f = NewForm();
    auto* edit = new TField(f, f, 10);
    std::vector<String> order;
    f->OnKeyDown = [&](TObject*, Word& key, TShiftState) {
        order.push_back(L"form");
        if (key == VK_F5) key = 0;
    };
    edit->OnKeyDown = [&](TObject*, Word&, TShiftState) { order.push_back(L"edit"); };
    f->Show();
    Drv->PressKey('A');
    EXPECT_EQ(order, std::vector<String>{L"edit"});
    f->SetKeyPreview(true);
    order.clear();
    Drv->PressKey('A');
    Drv->PressKey(VK_F5);
    EXPECT_EQ(order, (std::vector<String>{L"form", L"edit", L"form"}));
    wchar_t typed = 0;
    edit->OnKeyPress = [&](TObject*, wchar_t& k) { typed = k; };
    Drv->TypeText(L"q");
    EXPECT_EQ(typed, L'q');
}

TEST_F(FormsTest, EnterAndExitFollowFocusThroughContainers)
{
    TTestForm* f = NewForm();
    auto* group1 = new TBox(f, f);
    group1->SetBounds(0, 0, 200, 100);
    auto* group2 = new TBox(f, f);
    group2->SetBounds(0, 100, 200, 100);
    auto* a = new TField(f, group1, 10);
    auto* b = new TField(f, group2, 10);
    std::vector<String> log;
    auto track = [&](TWinControl* c, const String& n) {
        c->OnEnter = [&log, n](TObject*) { log.push_back(L"enter " + n); };
        c->OnExit = [&log, n](TObject*) { log.push_back(L"exit " + n); };
    };
    track(group1, L"g1");
    track(group2, L"g2");
    track(a, L"a");
    track(b, L"b");
    f->Show();
    EXPECT_EQ(log, (std::vector<String>{L"enter g1", L"enter a"}));
    log.clear();
    b->SetFocus();
    EXPECT_EQ(log, (std::vector<String>{L"exit a", L"exit g1", L"enter g2", L"enter b"}));
    EXPECT_EQ(f->ActiveControl(), b);
    EXPECT_EQ(Screen->ActiveControl(), b);
}

// ---------------------------------------------------------------------------
// Forms

TEST_F(FormsTest, CloseAsksFirstAndFreesWhenTold)
{
    TTestForm* main = NewForm();
    Application->SetMainForm(main);
    main->Show();
    TTestForm* f = NewForm();
    f->Show();
    bool allow = false;
    std::vector<String> log;
    f->OnCloseQuery = [&](TObject*, bool& can) {
        log.push_back(L"query");
        can = allow;
    };
    f->OnClose = [&](TObject*, TCloseAction& action) {
        log.push_back(L"close");
        action = caFree;
    };
    bool destroyed = false;
    f->OnDestroy = [&](TObject*) { destroyed = true; };
    f->Close();
    EXPECT_TRUE(f->Visible());
    allow = true;
    f->Close();
    EXPECT_EQ(log, (std::vector<String>{L"query", L"query", L"close"}));
    EXPECT_FALSE(destroyed) << "freed later, from the queue";
    Drv->Pump();
    EXPECT_TRUE(destroyed);

    // Closing the main form ends the application.
    main->Close();
    MSG msg;
    ASSERT_TRUE(PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(FormsTest, ShowModalDisablesOthersUntilTheResultIsSet)
{
    TTestForm* main = NewForm();
    Application->SetMainForm(main);
    main->Show();
    TTestForm* dlg = NewForm();
    auto* field = new TField(dlg, dlg, 10);
    bool mainDisabled = false;
    field->OnKeyDown = [&](TObject*, Word& key, TShiftState) {
        mainDisabled = !IsWindowEnabled(main->Handle());
        if (key == VK_F2) dlg->SetModalResult(mrOk);
    };
    dlg->OnActivate = [&](TObject*) {
        // Keys typed while the dialog runs.
        WmKeyInput(VK_F3, true);
        WmKeyInput(VK_F3, false);
        WmKeyInput(VK_F2, true);
        WmKeyInput(VK_F2, false);
    };
    EXPECT_EQ(dlg->ShowModal(), mrOk);
    EXPECT_TRUE(mainDisabled);
    EXPECT_TRUE(IsWindowEnabled(main->Handle()));
    EXPECT_FALSE(dlg->Visible());
    EXPECT_EQ(GetActiveWindow(), main->Handle());
    EXPECT_THROW(main->ShowModal(), EInvalidOperation) << "a visible form cannot go modal";
}

TEST_F(FormsTest, PositionCentresOnTheScreenOrTheMainForm)
{
    Drv->SetScreen(1000, 800);
    TTestForm* main = NewForm();
    main->SetBounds(50, 60, 300, 200);
    Application->SetMainForm(main);
    main->Show();
    TTestForm* a = NewForm();
    a->SetPosition(poScreenCenter);
    a->Show();
    EXPECT_EQ(a->BoundsRect(), Bounds(300, 250, 400, 300));
    TTestForm* b = NewForm();
    b->SetBounds(0, 0, 100, 100);
    b->SetPosition(poMainFormCenter);
    b->Show();
    EXPECT_EQ(b->BoundsRect(), Bounds(150, 110, 100, 100));
    EXPECT_EQ(GetWindow(b->Handle(), GW_OWNER), main->Handle());
}

TEST_F(FormsTest, WindowStateFollowsTheWindowWhoeverChangesIt)
{
    TTestForm* f = NewForm();
    f->SetBorderStyle(bsSizeable);
    f->SetWindowState(wsMaximized);
    f->Show();
    EXPECT_TRUE(IsZoomed(f->Handle()));
    EXPECT_EQ(f->WindowState(), wsMaximized) << "the sizes sent while the window was made do not count";
    // As the caption buttons and the desktop do it: through the window.
    const struct {
        UINT command;
        TWindowState state;
    } steps[] = {{SC_MINIMIZE, wsMinimized}, {SC_RESTORE, wsMaximized}, {SC_RESTORE, wsNormal}};
    for (const auto& s : steps) {
        SendMessage(f->Handle(), WM_SYSCOMMAND, s.command, 0);
        EXPECT_EQ(f->WindowState(), s.state) << "after command " << s.command;
    }
    EXPECT_FALSE(IsZoomed(f->Handle()));
}

TEST_F(FormsTest, FormEventsAndActivation)
{
    std::vector<String> log;
    auto* f = new TTestForm(Application);
    f->OnCreate = [&](TObject*) { log.push_back(L"create"); };
    f->OnShow = [&](TObject*) { log.push_back(L"show"); };
    f->OnActivate = [&](TObject*) { log.push_back(L"activate"); };
    f->OnDeactivate = [&](TObject*) { log.push_back(L"deactivate"); };
    f->OnHide = [&](TObject*) { log.push_back(L"hide"); };
    f->Init();
    f->Show();
    TTestForm* g = NewForm();
    g->Show();
    f->Hide();
    EXPECT_EQ(log, (std::vector<String>{L"create", L"show", L"activate", L"deactivate", L"hide"}));
    std::vector<String> app;
    Application->OnDeactivate = [&](TObject*) { app.push_back(L"off"); };
    Application->OnActivate = [&](TObject*) { app.push_back(L"on"); };
    Drv->DeactivateApp();
    Drv->Activate(g->Handle());
    EXPECT_EQ(app, (std::vector<String>{L"off", L"on"}));
    Application->OnActivate = nullptr;
    Application->OnDeactivate = nullptr;
    f->OnDeactivate = f->OnHide = f->OnActivate = nullptr;
}

TEST_F(FormsTest, StayOnTopAndAlphaBlendGoToTheWindow)
{
    TTestForm* f = NewForm();
    f->SetFormStyle(fsStayOnTop);
    f->SetAlphaBlend(true);
    f->SetAlphaBlendValue(200);
    f->Show();
    LONG ex = GetWindowLong(f->Handle(), GWL_EXSTYLE);
    EXPECT_TRUE(ex & WS_EX_TOPMOST);
    EXPECT_TRUE(ex & WS_EX_LAYERED);
    Byte alpha = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(f->Handle(), nullptr, &alpha, nullptr));
    EXPECT_EQ(alpha, 200);
}

// ---------------------------------------------------------------------------
// Mouse

TEST_F(FormsTest, GraphicControlsGetClicksEnterAndLeaveThroughTheirParent)
{
    TTestForm* f = NewForm();
    auto* label = new TAccelLabel(f, f, L"x");
    label->SetBounds(20, 20, 50, 20);
    std::vector<String> log;
    label->OnMouseEnter = [&](TObject*) { log.push_back(L"enter"); };
    label->OnMouseLeave = [&](TObject*) { log.push_back(L"leave"); };
    f->Show();
    Drv->MouseMove({100 + 5, 100 + 5});
    Drv->MouseMove({100 + 25, 100 + 25});
    Drv->Click({100 + 30, 100 + 30});
    EXPECT_EQ(label->Clicks, 1);
    // Pressed inside, released outside: no click.
    Drv->MouseDown({100 + 30, 100 + 30});
    EXPECT_TRUE(label->MouseCapture());
    Drv->MouseUp({100 + 200, 100 + 200});
    EXPECT_EQ(label->Clicks, 1);
    EXPECT_FALSE(label->MouseCapture());
    Drv->MouseMove({100 + 150, 100 + 150});
    EXPECT_EQ(log, (std::vector<String>{L"enter", L"leave"}));
}

TEST_F(FormsTest, HintShowsAfterThePauseAndCancelHides)
{
    TTestForm* f = NewForm();
    auto* box = new TBox(f, f);
    box->SetBounds(10, 10, 100, 50);
    box->SetHint(L"Short|Long text");
    box->SetShowHint(true);
    f->Show();
    Drv->MouseMove({100 + 20, 100 + 20});
    Drv->Advance(Application->HintPause() - 10);
    EXPECT_EQ(Application->HintWindow(), nullptr);
    Drv->Advance(20);
    ASSERT_NE(Application->HintWindow(), nullptr);
    HWND hint = Application->HintWindow()->Handle();
    EXPECT_TRUE(IsWindowVisible(hint));
    EXPECT_EQ(GetWindowText(hint), L"Short");
    EXPECT_NE(GetActiveWindow(), hint) << "hints never take activation";
    TRect r;
    GetWindowRect(hint, &r);
    EXPECT_GE(r.Top, 100 + 20);
    Application->CancelHint();
    EXPECT_FALSE(IsWindowVisible(hint));
}

TEST_F(FormsTest, TimerComponentFollowsTheTickCounter)
{
    auto* t = new TTimer(Application);
    int fired = 0;
    t->SetInterval(100);
    t->SetOnTimer([&](TObject*) { ++fired; });
    Drv->Advance(350);
    EXPECT_EQ(fired, 3);
    t->SetEnabled(false);
    Drv->Advance(500);
    EXPECT_EQ(fired, 3);
    delete t;
}

// ---------------------------------------------------------------------------
// Painting and threads

namespace {
uint32_t PixelAt(HWND h, int x, int y)
{
    std::vector<uint32_t> px;
    int w = 0, hh = 0;
    WmCaptureWindow(h, px, w, hh);
    return (x < w && y < hh) ? px[size_t(y) * size_t(w) + size_t(x)] & 0xFFFFFF : 0xDEADBEEF;
}
}  // namespace

TEST_F(FormsTest, ChildrenPaintIntoTheFormsSurface)
{
    TTestForm* f = NewForm();
    f->SetColor(RGB(0, 0, 255));
    auto* box = new TBox(f, f);
    box->SetBounds(10, 10, 20, 20);
    box->Fill = RGB(255, 0, 0);
    f->Show();
    EXPECT_EQ(PixelAt(f->Handle(), 15, 15), 0xFF0000u) << "the child";
    EXPECT_EQ(PixelAt(f->Handle(), 5, 5), 0x0000FFu) << "the form's background";
    box->Fill = RGB(0, 255, 0);
    box->Invalidate();
    EXPECT_EQ(PixelAt(box->Handle(), 0, 0), 0x00FF00u);
}

namespace {
class TCanvasBox : public TCustomControl {
public:
    using TCustomControl::TCustomControl;

protected:
    void Paint() override
    {
        Canvas()->Brush()->SetColor(RGB(0, 128, 0));
        Canvas()->FillRect(Rect(0, 0, 5, 5));
    }
};
}  // namespace

TEST_F(FormsTest, CustomControlsPaintOnTheirCanvas)
{
    TTestForm* f = NewForm();
    f->SetColor(RGB(255, 255, 255));
    auto* box = new TCanvasBox(f);
    box->SetParent(f);
    box->SetBounds(10, 10, 20, 20);
    f->Show();
    EXPECT_EQ(PixelAt(box->Handle(), 2, 2), 0x008000u);
    EXPECT_EQ(PixelAt(f->Handle(), 12, 12), 0x008000u);
    ASSERT_NE(box->Canvas(), nullptr);
    EXPECT_NE(box->Canvas()->Handle(), nullptr) << "outside painting it takes a window DC";
}

TEST_F(FormsTest, LayeredWindowsBlendOverWhatLiesBelow)
{
    TTestForm* under = NewForm();
    under->SetColor(RGB(0, 0, 255));
    under->Show();
    TTestForm* over = NewForm();
    over->SetColor(RGB(255, 0, 0));
    over->SetBounds(200, 200, 100, 100);
    over->SetAlphaBlend(true);
    over->SetAlphaBlendValue(128);
    over->Show();
    std::vector<uint32_t> screen;
    WmComposeScreen(screen, 1024, 768, 0xFF000000u);
    uint32_t mixed = screen[size_t(250) * 1024 + 250];
    EXPECT_NEAR(int((mixed >> 16) & 0xFF), 128, 2);
    EXPECT_NEAR(int(mixed & 0xFF), 127, 2);
    EXPECT_EQ(screen[size_t(150) * 1024 + 150] & 0xFFFFFF, 0x0000FFu);

    // Per-pixel alpha: a half-transparent white square, premultiplied.
    WNDCLASS wc;
    wc.lpfnWndProc = &DefWindowProc;
    wc.lpszClassName = L"LayerWnd";
    RegisterClass(wc);
    HWND layered = CreateWindowEx(WS_EX_LAYERED | WS_EX_TOPMOST, L"LayerWnd", L"", WS_POPUP, 0, 0, 1, 1, nullptr);
    ASSERT_NE(layered, nullptr);
    std::vector<uint32_t> px(10 * 10, 0x80808080u);
    TPoint at{120, 120};
    ASSERT_TRUE(UpdateLayeredWindowPixels(layered, &at, px.data(), 10, 10, 255, ULW_ALPHA));
    ShowWindow(layered, SW_SHOWNOACTIVATE);
    WmComposeScreen(screen, 1024, 768, 0xFF000000u);
    uint32_t p = screen[size_t(125) * 1024 + 125];
    EXPECT_NEAR(int((p >> 16) & 0xFF), 128, 2);
    EXPECT_NEAR(int((p >> 8) & 0xFF), 128, 2);
    EXPECT_NEAR(int(p & 0xFF), 255, 2);
    DestroyWindow(layered);
    UnregisterClass(L"LayerWnd");
}

TEST_F(FormsTest, SynchronizeRunsInsideTheMessageLoopAndProcessMessagesIsIdleOnWorkers)
{
    std::atomic<bool> ran{false};
    std::atomic<bool> done{false};
    std::thread worker([&] {
        Application->ProcessMessages();  // nothing happens on a worker
        TThread::Synchronize(nullptr, [&] { ran = GetCurrentThreadId() == MainThreadID; });
        done = true;
        PostThreadMessage(MainThreadID, WM_NULL, 0, 0);
    });
    MSG msg;
    while (!done) GetMessage(&msg, nullptr, 0, 0);
    worker.join();
    EXPECT_TRUE(ran);
}

TEST_F(FormsTest, FontsFlowFromParentsUntilAControlChoosesItsOwn)
{
    TTestForm* f = NewForm();
    f->Font()->SetName(L"Verdana");
    f->Font()->SetSize(12);
    auto* outer = new TBox(f, f);
    auto* inner = new TBox(f, outer);
    EXPECT_TRUE(inner->ParentFont());
    EXPECT_EQ(inner->Font()->Name(), L"Verdana");
    EXPECT_EQ(inner->Font()->Size(), 12);

    // The window is told the font it draws with.
    f->Show();
    EXPECT_NE(std::find(inner->Seen.begin(), inner->Seen.end(), UINT(WM_SETFONT)), inner->Seen.end());

    f->Font()->SetStyle(TFontStyles{fsBold});
    EXPECT_EQ(inner->Font()->Style(), TFontStyles{fsBold});

    outer->Font()->SetColor(clRed);  // choosing stops inheriting, for this one only
    EXPECT_FALSE(outer->ParentFont());
    EXPECT_TRUE(inner->ParentFont());
    EXPECT_EQ(inner->Font()->Color(), clRed);
    f->Font()->SetSize(20);
    EXPECT_EQ(outer->Font()->Size(), 12);
    EXPECT_EQ(inner->Font()->Size(), 12);

    outer->SetParentFont(true);
    EXPECT_EQ(outer->Font()->Size(), 20);
    EXPECT_EQ(inner->Font()->Size(), 20);
    EXPECT_TRUE(outer->ParentFont());
}

TEST_F(FormsTest, AWindowedControlFreedBeforeItsParentLeavesTheTabOrder)
{
    TTestForm* f = NewForm();
    auto* box = new TBox(f, f);
    auto* a = new TField(f, box, 10);
    auto* b = new TField(f, box, 70);
    f->Show();
    delete a;
    std::vector<TWinControl*> order;
    f->GetTabOrderList(order);
    EXPECT_EQ(std::count(order.begin(), order.end(), static_cast<TWinControl*>(b)), 1);
    EXPECT_EQ(order.size(), 2u);  // the box and b
    EXPECT_EQ(f->FindNextControl(nullptr, true, true, false), b);
}
