#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

#include "platform/base/Threads.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/StdCtrls_Button.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Headless.h"

namespace {

// The message box on screen now (the modal form), if any.
TCustomForm* ShownBox()
{
    for (Integer i = 0; i < Screen->FormCount(); ++i)
        if (Screen->Forms(i)->Modal() && Screen->Forms(i)->Visible()) return Screen->Forms(i);
    return nullptr;
}

std::vector<TButton*> ButtonsOf(TCustomForm* f)
{
    std::vector<TButton*> r;
    for (Integer i = 0; i < f->ControlCount(); ++i)
        if (auto* b = dynamic_cast<TButton*>(f->Controls(i))) r.push_back(b);
    return r;
}

TButton* ButtonOf(TCustomForm* f, const String& caption)
{
    for (TButton* b : ButtonsOf(f))
        if (b->Caption() == caption) return b;
    return nullptr;
}

TLabel* TextOf(TCustomForm* f)
{
    for (Integer i = 0; i < f->ControlCount(); ++i)
        if (auto* l = dynamic_cast<TLabel*>(f->Controls(i))) return l;
    return nullptr;
}

// Input posted to the queue the way the user gives it; the modal loop
// picks it up.
void PostClick(TButton* b)
{
    TPoint p{b->Width() / 2, b->Height() / 2};
    ClientToScreen(b->Handle(), &p);
    WmMouseInput(WM_MOUSEMOVE, p);
    WmMouseInput(WM_LBUTTONDOWN, p);
    WmMouseInput(WM_LBUTTONUP, p);
}

void PostKey(Word vk)
{
    WmKeyInput(vk, true);
    WmKeyInput(vk, false);
}

class DialogsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Drv = std::make_unique<THeadlessDriver>();
        InitForms();
        SetFixedMetricsFonts(true);
        Main = new TForm(Application);
        Main->Init();
        Main->SetBounds(100, 100, 500, 400);
        Application->SetMainForm(Main);
        Main->Show();
    }
    void TearDown() override
    {
        DoneForms();
        SetFixedMetricsFonts(false);
        Drv.reset();
    }
    // Runs `act` once for each box that comes up (from the idle hook of
    // the box's modal loop); act sees the box and how many came before.
    void WhileShown(std::function<void(TCustomForm*, int)> act)
    {
        Application->OnIdle = [this, act](TObject*) {
            TCustomForm* box = ShownBox();
            if (!box || box == Handled) return;
            Handled = box;
            act(box, Seen++);
        };
    }
    std::unique_ptr<THeadlessDriver> Drv;
    TForm* Main = nullptr;
    TCustomForm* Handled = nullptr;
    int Seen = 0;
};

}  // namespace

TEST_F(DialogsTest, MessageBoxAnswersTheClickedButton)
{
    struct Case {
        UINT flags;
        std::vector<String> captions;
        String click;
        int answer;
    };
    const Case cases[] = {
        {MB_OK, {L"OK"}, L"OK", IDOK},
        {MB_OKCANCEL, {L"OK", L"Cancel"}, L"Cancel", IDCANCEL},
        {MB_YESNO, {L"&Yes", L"&No"}, L"&No", IDNO},
        {MB_YESNOCANCEL, {L"&Yes", L"&No", L"Cancel"}, L"&Yes", IDYES},
        {MB_RETRYCANCEL, {L"&Retry", L"Cancel"}, L"&Retry", IDRETRY},
        {MB_ABORTRETRYIGNORE, {L"&Abort", L"&Retry", L"&Ignore"}, L"&Ignore", IDIGNORE},
    };
    for (const Case& c : cases) {
        Handled = nullptr;
        std::vector<String> captions;
        WhileShown([&](TCustomForm* box, int) {
            for (TButton* b : ButtonsOf(box)) captions.push_back(b->Caption());
            if (TButton* b = ButtonOf(box, c.click)) PostClick(b);
        });
        EXPECT_EQ(MessageBox(Main->Handle(), L"Text", L"Title", c.flags), c.answer) << c.click;
        EXPECT_EQ(captions, c.captions);
    }
    EXPECT_EQ(Screen->FormCount(), 1) << "every box is gone again";
}

TEST_F(DialogsTest, MessageBoxAnswersKeys)
{
    struct Case {
        UINT flags;
        std::vector<Word> keys;  // pressed one after the other
        int answer;
    };
    const Case cases[] = {
        {MB_OKCANCEL, {VK_RETURN}, IDOK},
        {MB_OKCANCEL, {VK_ESCAPE}, IDCANCEL},
        {MB_OK, {VK_ESCAPE}, IDOK},
        {MB_YESNO | MB_DEFBUTTON2, {VK_RETURN}, IDNO},
        {MB_YESNOCANCEL | MB_DEFBUTTON3, {VK_RETURN}, IDCANCEL},
        {MB_YESNO, {VK_ESCAPE, 'Y'}, IDYES},  // Yes/No has no Escape
        {MB_YESNO, {VK_RIGHT, VK_SPACE}, IDNO},
    };
    for (const Case& c : cases) {
        // One key each time the box's loop runs out of work, so every key
        // goes to the control that has the focus by then.
        size_t next = 0;
        Application->OnIdle = [&](TObject*) {
            if (ShownBox() && next < c.keys.size()) PostKey(c.keys[next++]);
        };
        EXPECT_EQ(MessageBox(Main->Handle(), L"Text", L"Title", c.flags), c.answer) << c.flags;
    }
}

TEST_F(DialogsTest, TheBoxIsModalOverItsOwnerAndSizedToItsText)
{
    bool ownerDisabled = false;
    HWND owner = nullptr;
    TRect shortBox, longBox, iconBox;
    String title;
    int textWidth = 0;
    bool topmost = false;
    WhileShown([&](TCustomForm* box, int n) {
        TRect r = box->ClientRect();
        if (n == 0) {
            ownerDisabled = !IsWindowEnabled(Main->Handle());
            owner = GetWindow(box->Handle(), GW_OWNER);
            title = box->Caption();
            shortBox = r;
        } else if (n == 1) {
            longBox = r;
            textWidth = TextOf(box)->Width();
        } else {
            iconBox = r;
            topmost = (GetWindowLong(box->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
        }
        PostKey(VK_RETURN);
    });
    MessageBox(Main->Handle(), L"Hi", nullptr, MB_OK);
    MessageBox(Main->Handle(), String(60, L'x') + L" " + String(10, L'y'), L"Long", MB_OK);
    MessageBox(Main->Handle(), L"Hi", L"Icon", MB_OK | MB_ICONERROR | MB_TOPMOST);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_EQ(owner, Main->Handle());
    EXPECT_EQ(title, L"Error") << "no caption: the system's";
    EXPECT_TRUE(IsWindowEnabled(Main->Handle()));
    EXPECT_EQ(textWidth, 60 * 8) << "the text's own width, on the fixed-metrics font";
    EXPECT_EQ(longBox.Width(), 60 * 8 + 24);
    EXPECT_GT(longBox.Height(), shortBox.Height()) << "the long text wraps to a second line";
    EXPECT_EQ(shortBox.Width(), 75 + 24) << "a short text: as wide as the button row";
    EXPECT_EQ(iconBox.Height(), 12 + 32 + 16 + 25 + 12) << "the icon sets the height";
    EXPECT_TRUE(topmost) << "MB_TOPMOST";
}

TEST_F(DialogsTest, MessageDlgButtonsCaptionsAndEscape)
{
    struct Case {
        TMsgDlgType type;
        TMsgDlgButtons buttons;
        Word key;
        String caption;
        std::vector<String> captions;
        TModalResult answer;
    };
    const Case cases[] = {
        {mtConfirmation, mbYesNoCancel, VK_ESCAPE, L"Confirm", {L"&Yes", L"&No", L"Cancel"}, mrCancel},
        {mtWarning, mbYesNo, VK_ESCAPE, L"Warning", {L"&Yes", L"&No"}, mrNo},
        {mtError, TMsgDlgButtons{mbOK}, VK_RETURN, L"Error", {L"OK"}, mrOk},
        {mtInformation, TMsgDlgButtons{mbCancel, mbOK}, VK_RETURN, L"Information", {L"OK", L"Cancel"}, mrOk},
        {mtCustom, mbYesNo, VK_RETURN, L"Velmora", {L"&Yes", L"&No"}, mrYes},
    };
    Application->SetTitle(L"Velmora");
    for (const Case& c : cases) {
        Handled = nullptr;
        String caption;
        std::vector<String> captions;
        WhileShown([&](TCustomForm* box, int) {
            caption = box->Caption();
            for (TButton* b : ButtonsOf(box)) captions.push_back(b->Caption());
            PostKey(c.key);
        });
        EXPECT_EQ(MessageDlg(L"Go on?", c.type, c.buttons, 0), c.answer) << c.caption;
        EXPECT_EQ(caption, c.caption);
        EXPECT_EQ(captions, c.captions);
    }
    String shown;
    WhileShown([&](TCustomForm* box, int) {
        shown = box->Caption() + L": " + TextOf(box)->Caption();
        PostKey(VK_RETURN);
    });
    ShowMessage(L"Done");
    EXPECT_EQ(shown, L"Velmora: Done");
}

TEST_F(DialogsTest, AWorkerThreadsBoxRunsOnTheMainThread)
{
    std::atomic<int> answer{0};
    std::atomic<bool> done{false};
    TThreadID boxThread = 0;
    WhileShown([&](TCustomForm*, int) {
        boxThread = GetCurrentThreadId();
        PostKey(VK_ESCAPE);
    });
    std::thread worker([&] {
        answer = MessageBox(nullptr, L"From a worker", L"Worker", MB_OKCANCEL);
        done = true;
        PostMessage(Main->Handle(), WM_NULL);  // wakes the main loop
    });
    for (int guard = 0; !done && guard < 10000; ++guard) Application->HandleMessage();
    worker.join();
    EXPECT_EQ(answer, IDCANCEL);
    EXPECT_EQ(boxThread, MainThreadID);
}
