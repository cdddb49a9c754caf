// Enter and Escape handed to the parent, the form's key preview, Return as
// Tab, and the sign toggle over a whole selection.
#include "VodEditTestSupport.h"

namespace {

// A parent that records the keys posted to it.
class TKeyRecorder : public TCustomControl {
public:
    explicit TKeyRecorder(TComponent* owner) : TCustomControl(owner) {}
    std::vector<std::pair<UINT, WPARAM>> Keys;

protected:
    void Dispatch(TMessage& M) override
    {
        if (M.Msg == WM_KEYDOWN || M.Msg == WM_KEYUP) Keys.push_back({M.Msg, M.WParam});
        TCustomControl::Dispatch(M);
    }
};

class VodEditKeysTest : public VodEditTestBase {
protected:
    TVodEdit* OnRecorder(TKeyRecorder*& rec)
    {
        rec = new TKeyRecorder(Form);
        rec->SetParent(Form);
        rec->SetBounds(0, 0, 400, 200);
        auto* e = new TVodEdit(Form);
        e->SetParent(rec);
        e->SetBounds(10, 10, 160, 24);
        e->HandleNeeded();
        return e;
    }
};

}  // namespace

TEST_F(VodEditKeysTest, EnterAndEscapeGoToTheParentByTheFormsKeyPreview)
{
    using Keys = std::vector<std::pair<UINT, WPARAM>>;
    struct Case {
        const char* name;
        bool defaultHandling, keyPreview;
        wchar_t key;
        Keys expect;
    };
    const Case cases[] = {
        {"enter, no preview", false, false, L'\r', {{WM_KEYDOWN, VK_RETURN}, {WM_KEYUP, VK_RETURN}}},
        {"enter, preview: no posted key-up", false, true, L'\r', {{WM_KEYDOWN, VK_RETURN}}},
        {"enter, default handling", true, false, L'\r', {}},
        {"escape, no preview", false, false, 27, {{WM_KEYDOWN, VK_ESCAPE}, {WM_KEYUP, VK_ESCAPE}}},
        {"escape, preview: passed on", false, true, 27, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TKeyRecorder* rec = nullptr;
        TVodEdit* e = OnRecorder(rec);
        e->SetDefaultHandling(c.defaultHandling);
        Form->SetKeyPreview(c.keyPreview);
        e->SetText(L"abc");
        int presses = 0;
        e->OnKeyPress = [&](TObject*, wchar_t&) { ++presses; };
        SendChar(e, c.key);
        Drv->Pump();
        EXPECT_EQ(rec->Keys, c.expect);
        EXPECT_EQ(e->Text(), L"abc") << "the window never gets Enter";
        if (c.key == L'\r') {
            EXPECT_EQ(presses, 1);
        }
        delete e;
        delete rec;
    }
    Form->SetKeyPreview(false);
}

TEST_F(VodEditKeysTest, ReturnIsTabMovesOn)
{
    TVodEdit* a = NewEdit(etString, 100, 20);
    TVodEdit* b = NewEdit(etString, 100, 60);
    a->SetReturnIsTab(true);
    a->SetFocus();
    Drv->Pump();
    Drv->PressKey(VK_RETURN);
    Drv->Pump();
    EXPECT_EQ(GetFocus(), b->Handle());
}

TEST_F(VodEditKeysTest, MinusOverTheWholeSelectionPutsTheCaretAfterIt)
{
    TVodEdit* e = NewEdit(etNumeric);
    e->SetSigned(true);
    e->SetPrefix(L"#");
    e->SetText(L"12");
    e->SelectAll();
    int changes = 0;
    e->OnChange = [&](TObject*) { ++changes; };
    SendChar(e, L'-');
    EXPECT_EQ(Shown(e), L"#-");
    EXPECT_EQ(e->SelStart(), 2);
    EXPECT_EQ(changes, 1);
    // A minus in the middle goes wherever it stands.
    SetWindowText(e->Handle(), L"#1-2");
    Caret(e, 4);
    SendChar(e, L'-');
    EXPECT_EQ(Shown(e), L"#12");
}
