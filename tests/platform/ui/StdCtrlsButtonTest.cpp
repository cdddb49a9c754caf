#include <gtest/gtest.h>

#include "platform/gfx/Gdi.h"
#include "platform/ui/StdCtrls_Button.h"
#include "platform/ui/Themes.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Headless.h"

namespace {

class TPlainForm : public TForm {
public:
    explicit TPlainForm(TComponent* owner) : TForm(owner)
    {
        SetBorderStyle(bsNone);
        SetBounds(100, 100, 400, 300);
    }
};

// A focusable control that is not a button (Enter goes to the default one).
class TFocusBox : public TCustomControl {
public:
    TFocusBox(TComponent* owner, TWinControl* parent) : TCustomControl(owner)
    {
        SetParent(parent);
        SetBounds(300, 250, 40, 20);
        SetTabStop(true);
    }
};

class ButtonsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Drv = std::make_unique<THeadlessDriver>();
        InitForms();
        SetFixedMetricsFonts(true);
    }
    void TearDown() override
    {
        DoneForms();
        SetFixedMetricsFonts(false);
        SetVisualStylesEnabled(true);
        Drv.reset();
    }
    TPlainForm* NewForm()
    {
        auto* f = new TPlainForm(Application);
        f->Init();
        return f;
    }
    template <class T>
    T* Put(TWinControl* parent, int x, int y, int w, int h, const String& caption = L"")
    {
        auto* c = new T(parent);
        c->SetParent(parent);
        c->SetBounds(x, y, w, h);
        if (!caption.empty()) c->SetCaption(caption);
        return c;
    }
    std::unique_ptr<THeadlessDriver> Drv;
};

uint32_t PixelAt(HWND h, int x, int y)
{
    std::vector<uint32_t> px;
    int w = 0, hh = 0;
    WmCaptureWindow(h, px, w, hh);
    return (x >= 0 && y >= 0 && x < w && y < hh) ? px[size_t(y) * size_t(w) + size_t(x)] & 0xFFFFFF : 0xDEADBEEF;
}

uint32_t Rgb(TColor c)
{
    COLORREF v = COLORREF(ColorToRGB(c));
    return (uint32_t(GetRValue(v)) << 16) | (uint32_t(GetGValue(v)) << 8) | GetBValue(v);
}

}  // namespace

// ---------------------------------------------------------------------------
// Push buttons

TEST_F(ButtonsTest, MouseClicksOnlyWhenReleasedInside)
{
    TPlainForm* f = NewForm();
    auto* b = Put<TButton>(f, 10, 10, 75, 25, L"Go");
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    f->Show();
    HWND h = b->Handle();

    Drv->ClickWindow(h, {20, 10});
    EXPECT_EQ(clicks, 1);

    Drv->MouseDown(Drv->ScreenPoint(h, {20, 10}));
    EXPECT_TRUE(SendMessage(h, BM_GETSTATE) & BST_PUSHED);
    Drv->MouseMove(Drv->ScreenPoint(h, {200, 10}));
    EXPECT_FALSE(SendMessage(h, BM_GETSTATE) & BST_PUSHED) << "drawn up while the mouse is outside";
    Drv->MouseUp(Drv->ScreenPoint(h, {200, 10}));
    EXPECT_EQ(clicks, 1) << "released outside: no click";

    // Back inside before the release counts again.
    Drv->MouseDown(Drv->ScreenPoint(h, {20, 10}));
    Drv->MouseMove(Drv->ScreenPoint(h, {200, 10}));
    Drv->MouseUp(Drv->ScreenPoint(h, {30, 12}));
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(GetFocus(), h) << "a press focuses the button";

    b->SetEnabled(false);
    Drv->ClickWindow(h, {20, 10});
    SendMessage(h, BM_CLICK);
    EXPECT_EQ(clicks, 2) << "a disabled button takes no click";
}

TEST_F(ButtonsTest, KeyboardClicksSpaceEnterEscapeAndAccelerator)
{
    TPlainForm* f = NewForm();
    auto* ok = Put<TButton>(f, 10, 10, 75, 25, L"OK");
    auto* cancel = Put<TButton>(f, 100, 10, 75, 25, L"Cancel");
    auto* go = Put<TButton>(f, 190, 10, 75, 25, L"&Go");
    auto* other = new TFocusBox(f, f);
    ok->SetDefault(true);
    cancel->SetCancel(true);
    std::vector<String> log;
    for (TButton* b : {ok, cancel, go}) b->OnClick = [&log](TObject* s) { log.push_back(static_cast<TButton*>(s)->Caption()); };
    f->Show();

    other->SetFocus();
    Drv->PressKey(VK_RETURN);
    Drv->PressKey(VK_ESCAPE);
    EXPECT_EQ(log, (std::vector<String>{L"OK", L"Cancel"})) << "Enter: default, Escape: cancel";

    log.clear();
    cancel->SetFocus();
    Drv->PressKey(VK_RETURN);
    EXPECT_EQ(log, std::vector<String>{L"Cancel"}) << "a focused button takes Enter from the default";

    log.clear();
    go->SetFocus();
    Drv->KeyDown(VK_SPACE);
    EXPECT_TRUE(SendMessage(go->Handle(), BM_GETSTATE) & BST_PUSHED);
    EXPECT_TRUE(log.empty()) << "Space clicks on release";
    Drv->KeyUp(VK_SPACE);
    EXPECT_EQ(log, std::vector<String>{L"&Go"});

    log.clear();
    cancel->SetFocus();
    Drv->TypeText(L"g");
    Drv->PressKey('G', {VK_MENU});
    EXPECT_EQ(log, (std::vector<String>{L"&Go", L"&Go"})) << "the accelerator, plain and with Alt";
}

TEST_F(ButtonsTest, ModalResultOfAButtonEndsTheModalForm)
{
    TPlainForm* main = NewForm();
    Application->SetMainForm(main);
    main->Show();
    TPlainForm* dlg = NewForm();
    auto* yes = Put<TButton>(dlg, 10, 10, 75, 25, L"Yes");
    yes->SetModalResult(mrYes);
    yes->SetDefault(true);
    int clicks = 0;
    yes->OnClick = [&](TObject*) { ++clicks; };
    dlg->OnActivate = [&](TObject*) {
        WmKeyInput(VK_RETURN, true);
        WmKeyInput(VK_RETURN, false);
    };
    EXPECT_EQ(dlg->ShowModal(), mrYes);
    EXPECT_EQ(clicks, 1);
}

// ---------------------------------------------------------------------------
// Check boxes and radio buttons

TEST_F(ButtonsTest, RawCheckBoxTypesCycleOnClick)
{
    TPlainForm* f = NewForm();
    f->Show();
    struct Case {
        DWORD type;
        std::vector<LRESULT> states;  // after each BM_CLICK
    };
    const Case cases[] = {
        {BS_AUTOCHECKBOX, {BST_CHECKED, BST_UNCHECKED, BST_CHECKED}},
        {BS_AUTO3STATE, {BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED}},
        {BS_CHECKBOX, {BST_UNCHECKED, BST_UNCHECKED}},  // the parent decides
        {BS_3STATE, {BST_UNCHECKED}},
    };
    for (const Case& c : cases) {
        HWND h = CreateWindowEx(0, L"BUTTON", L"box", WS_CHILD | WS_VISIBLE | c.type, 0, 0, 80, 20, f->Handle());
        for (size_t i = 0; i < c.states.size(); ++i) {
            SendMessage(h, BM_CLICK);
            EXPECT_EQ(SendMessage(h, BM_GETCHECK), c.states[i]) << "type " << c.type << " click " << i;
        }
        SendMessage(h, BM_SETCHECK, BST_INDETERMINATE);
        EXPECT_EQ(SendMessage(h, BM_GETCHECK),
                  LRESULT(c.type == BS_AUTO3STATE || c.type == BS_3STATE ? BST_INDETERMINATE : BST_CHECKED))
            << "only three-state boxes keep the third state";
        DestroyWindow(h);
    }
}

TEST_F(ButtonsTest, CheckBoxStateCyclesAndSettingCheckedFiresOnClick)
{
    TPlainForm* f = NewForm();
    auto* cb = Put<TCheckBox>(f, 10, 10, 120, 17, L"Option");
    std::vector<TCheckBoxState> seen;
    cb->OnClick = [&](TObject*) { seen.push_back(cb->State()); };
    cb->SetChecked(true);
    EXPECT_EQ(seen, std::vector<TCheckBoxState>{cbChecked}) << "before the window exists too";
    f->Show();
    EXPECT_EQ(SendMessage(cb->Handle(), BM_GETCHECK), LRESULT(BST_CHECKED)) << "the window takes the state over";
    cb->SetChecked(true);
    EXPECT_EQ(seen.size(), 1u) << "no change, no click";

    seen.clear();
    cb->SetAllowGrayed(true);
    for (int i = 0; i < 3; ++i) Drv->ClickWindow(cb->Handle(), {5, 8});
    EXPECT_EQ(seen, (std::vector<TCheckBoxState>{cbUnchecked, cbGrayed, cbChecked}));
    EXPECT_EQ(SendMessage(cb->Handle(), BM_GETCHECK), LRESULT(BST_CHECKED));

    seen.clear();
    cb->SetAllowGrayed(false);
    cb->SetFocus();
    Drv->PressKey(VK_SPACE);
    Drv->PressKey(VK_SPACE);
    EXPECT_EQ(seen, (std::vector<TCheckBoxState>{cbUnchecked, cbChecked}));
}

TEST_F(ButtonsTest, RadioButtonsUncheckTheirSiblingsOnly)
{
    TPlainForm* f = NewForm();
    auto* a = Put<TRadioButton>(f, 10, 10, 100, 17, L"A");
    auto* b = Put<TRadioButton>(f, 10, 30, 100, 17, L"B");
    auto* box = Put<TGroupBox>(f, 150, 10, 200, 100, L"Other");
    auto* c = Put<TRadioButton>(box, 10, 30, 100, 17, L"C");
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    a->SetChecked(true);
    c->SetChecked(true);
    f->Show();
    Drv->ClickWindow(b->Handle(), {5, 8});
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(b->Checked());
    EXPECT_TRUE(c->Checked()) << "another parent is another group";
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(SendMessage(a->Handle(), BM_GETCHECK), LRESULT(BST_UNCHECKED));
    EXPECT_TRUE(b->TabStop());
    EXPECT_FALSE(a->TabStop()) << "the checked one is the group's tab stop";

    // Arrowing onto a radio button chooses it.
    Drv->PressKey(VK_UP);
    EXPECT_EQ(GetFocus(), a->Handle());
    EXPECT_TRUE(a->Checked());
    EXPECT_FALSE(b->Checked());
}

TEST_F(ButtonsTest, AutoRadioGroupsEndAtTheNextGroupStyle)
{
    TPlainForm* f = NewForm();
    f->Show();
    std::vector<HWND> r;
    for (int i = 0; i < 4; ++i) {
        DWORD style = WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON | ((i == 0 || i == 2) ? UINT(WS_GROUP) : 0u);
        r.push_back(CreateWindowEx(0, L"BUTTON", L"r", style, 0, 20 * i, 80, 20, f->Handle()));
    }
    SendMessage(r[0], BM_CLICK);
    SendMessage(r[2], BM_CLICK);
    SendMessage(r[1], BM_CLICK);
    std::vector<LRESULT> got;
    for (HWND h : r) got.push_back(SendMessage(h, BM_GETCHECK));
    EXPECT_EQ(got, (std::vector<LRESULT>{BST_UNCHECKED, BST_CHECKED, BST_CHECKED, BST_UNCHECKED}));
}

// ---------------------------------------------------------------------------
// Labels, static texts, panels

TEST_F(ButtonsTest, LabelAutoSizeFollowsTheTextAndWordWrapKeepsTheWidth)
{
    TPlainForm* f = NewForm();
    auto* l = Put<TLabel>(f, 10, 10, 100, 30);
    l->SetCaption(L"Hello");
    EXPECT_EQ(l->BoundsRect(), Bounds(10, 10, 40, 16)) << "8x16 per character";
    l->SetCaption(L"&Name");
    EXPECT_EQ(l->Width(), 32) << "the accelerator mark takes no room";
    l->SetShowAccelChar(false);
    EXPECT_EQ(l->Width(), 40);
    l->SetCaption(L"");
    EXPECT_EQ(l->Height(), 16) << "an empty label keeps one line";

    l->SetShowAccelChar(true);
    l->SetWordWrap(true);
    l->SetWidth(64);
    l->SetCaption(L"one two three four");  // "one two" fits 7 of 8 columns
    EXPECT_EQ(l->Width(), 64);
    EXPECT_EQ(l->Height(), 48);

    l->SetAutoSize(false);
    l->SetCaption(L"x");
    EXPECT_EQ(l->Height(), 48) << "no longer follows";

    auto* right = Put<TLabel>(f, 200, 50, 80, 16);
    right->SetAutoSize(false);
    right->SetAlignment(taRightJustify);
    right->SetAutoSize(true);
    right->SetCaption(L"abc");
    EXPECT_EQ(right->BoundsRect(), Bounds(256, 50, 24, 16)) << "a right-aligned label keeps its right edge";
}

TEST_F(ButtonsTest, LabelDrawsItsTextAndBackground)
{
    TPlainForm* f = NewForm();
    f->SetColor(RGB(0, 0, 255));
    auto* l = Put<TLabel>(f, 10, 10, 0, 0);
    l->SetColor(RGB(255, 255, 0));
    l->Font()->SetColor(RGB(255, 0, 0));
    l->SetCaption(L"W");
    auto* t = Put<TLabel>(f, 10, 40, 0, 0);
    t->SetTransparent(true);
    t->SetCaption(L"W");
    f->Show();
    UpdateWindow(f->Handle());
    EXPECT_EQ(PixelAt(f->Handle(), 14, 18), 0xFF0000u) << "the glyph box";
    EXPECT_EQ(PixelAt(f->Handle(), 10, 10), 0xFFFF00u) << "the label's colour";
    EXPECT_EQ(PixelAt(f->Handle(), 10, 40), 0x0000FFu) << "transparent: the form shows";
}

TEST_F(ButtonsTest, LabelAcceleratorFocusesItsControl)
{
    TPlainForm* f = NewForm();
    auto* first = new TFocusBox(f, f);
    auto* target = Put<TCheckBox>(f, 100, 100, 100, 17, L"Target");
    auto* l = Put<TLabel>(f, 10, 10, 0, 0, L"&Name");
    l->SetFocusControl(target);
    f->Show();
    first->SetFocus();
    Drv->PressKey('N', {VK_MENU});
    EXPECT_EQ(GetFocus(), target->Handle());
    EXPECT_FALSE(target->Checked()) << "the label only moves the focus";
    delete target;
    EXPECT_EQ(l->FocusControl(), nullptr) << "a freed control is forgotten";
}

TEST_F(ButtonsTest, StaticTextSizesToItsTextAndBorder)
{
    TPlainForm* f = NewForm();
    auto* s = Put<TStaticText>(f, 10, 10, 100, 30, L"abcd");
    f->Show();
    EXPECT_EQ(s->BoundsRect(), Bounds(10, 10, 32, 16));
    s->SetBorderStyle(sbsSunken);
    EXPECT_EQ(s->BoundsRect(), Bounds(10, 10, 36, 20));
    EXPECT_TRUE(GetWindowLong(s->Handle(), GWL_STYLE) & SS_SUNKEN);
}

TEST_F(ButtonsTest, ThemedAndClassicButtonsDrawDifferentParts)
{
    TPlainForm* f = NewForm();
    auto* b = Put<TButton>(f, 10, 10, 75, 25, L"");
    f->Show();
    UpdateWindow(f->Handle());
    uint32_t themed = PixelAt(b->Handle(), 0, 12);
    SetVisualStylesEnabled(false);
    b->Invalidate();
    UpdateWindow(f->Handle());
    EXPECT_EQ(PixelAt(b->Handle(), 0, 12), Rgb(clBtnHighlight)) << "classic: a raised edge";
    EXPECT_NE(themed, Rgb(clBtnHighlight));
}
