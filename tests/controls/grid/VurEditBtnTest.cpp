// The grid's edit with button and its unit variant: F4 and the button,
// EditorEnabled off, the units menu and its commands, TextAndUnit both ways,
// the layout of the holder and the text, the unit painted between text and
// button, the holder's painting branches, and the image speed button.
#include <gtest/gtest.h>

#include "controls/grid/VurEditBtn.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/WindowManager.h"
#include "tests/controls/HeadlessFormTest.h"

namespace {

class VurEditBtnTest : public HeadlessFormTest {
protected:
    template <class T = TVurEditBtn>
    T* NewEdit(int x = 40, int y = 40, int w = 160)
    {
        auto* e = new T(Form);
        e->SetParent(Form);
        e->SetBounds(x, y, w, 24);
        return e;
    }
    TPoint ButtonPoint(TVurEditBtn* e) { return Drv->ScreenPoint(e->Button()->Handle(), {5, 5}); }
    void Focus(TWinControl* c)
    {
        c->SetFocus();
        Drv->Pump();
    }
    // Keys the next menu loop reads.
    static void QueueKeys(const std::vector<Word>& keys)
    {
        for (Word k : keys) {
            WmKeyInput(k, true);
            WmKeyInput(k, false);
        }
    }
};

}  // namespace

TEST_F(VurEditBtnTest, ConstructionState)
{
    auto* e = NewEdit();
    auto* u = NewEdit<TVurUnitEditBtn>(40, 100);
    EXPECT_EQ(e->Text(), L"0");
    EXPECT_FALSE(e->RightAlign());
    EXPECT_TRUE(u->RightAlign());
    EXPECT_EQ(u->UnitSpace(), 20);
    TVurEditButton* h = e->Button();
    EXPECT_EQ(h->Owner(), e);
    EXPECT_EQ(h->Parent(), e);
    EXPECT_EQ(h->FocusControl(), e);
    EXPECT_EQ(h->Width(), 18);
    EXPECT_EQ(h->Button()->Owner(), h);
    EXPECT_EQ(h->ButtonColor(), clNone);
    EXPECT_TRUE(h->Button()->Caption().empty());
}

TEST_F(VurEditBtnTest, F4PressesTheButtonOnlyWithoutCtrlAndAlt)
{
    auto* e = NewEdit();
    int clicks = 0;
    e->OnClickBtn = [&](TObject* s) {
        EXPECT_EQ(s, e);
        ++clicks;
    };
    ShowForm();
    Focus(e);
    // The modifier is held while the edit gets the key (Alt+F4 itself would
    // close the window, so the key goes to the edit directly).
    struct Case {
        Word Modifier;
        int Clicks;
        const char* Why;
    } cases[] = {
        {0, 1, "F4"}, {VK_SHIFT, 1, "Shift+F4"}, {VK_CONTROL, 0, "Ctrl+F4"},
        {VK_LMENU, 0, "left Alt+F4"}, {VK_RMENU, 0, "right Alt+F4"},
    };
    for (const Case& c : cases) {
        clicks = 0;
        if (c.Modifier) Drv->KeyDown(c.Modifier);
        SendMessage(e->Handle(), WM_KEYDOWN, VK_F4, 0);
        if (c.Modifier) Drv->KeyUp(c.Modifier);
        EXPECT_EQ(clicks, c.Clicks) << c.Why;
        Focus(e);
    }
    clicks = 0;
    Drv->PressKey(VK_F4);
    EXPECT_EQ(clicks, 1) << "F4 typed";
    clicks = 0;
    Drv->Click(ButtonPoint(e));
    EXPECT_EQ(clicks, 1);
    Drv->Click(ButtonPoint(e), TMouseButton2::Right);
    EXPECT_EQ(clicks, 1) << "the right button presses nothing";
    EXPECT_EQ(GetFocus(), e->Handle()) << "the press brings the focus to the edit";
}

TEST_F(VurEditBtnTest, EditorDisabledKeepsTypingCutAndPasteOutButNotTheButton)
{
    auto* e = NewEdit();
    int clicks = 0;
    e->OnClickBtn = [&](TObject*) { ++clicks; };
    ShowForm();
    Focus(e);
    e->SetText(L"abc");
    e->SetEditorEnabled(false);
    e->SelectAll();
    SetClipboardText(L"pasted");
    Drv->TypeText(L"xy");
    Drv->PressKey('V', {VK_CONTROL});
    Drv->PressKey('X', {VK_CONTROL});
    EXPECT_EQ(e->Text(), L"abc");
    Drv->Click(ButtonPoint(e));
    EXPECT_EQ(clicks, 1);

    e->SetEditorEnabled(true);
    e->SetReadOnly(true);
    e->SelectAll();
    Drv->PressKey('V', {VK_CONTROL});
    EXPECT_EQ(e->Text(), L"abc") << "read-only: no paste";
    e->SetReadOnly(false);
    e->SelectAll();
    Drv->PressKey('V', {VK_CONTROL});
    EXPECT_EQ(e->Text(), L"pasted");
    std::vector<wchar_t> pressed;
    e->OnKeyPress = [&](TObject*, wchar_t& k) { pressed.push_back(k); };
    Drv->PressKey(VK_RETURN);
    EXPECT_EQ(e->Text(), L"pasted") << "no line break in the one-line edit";
    EXPECT_EQ(pressed, std::vector<wchar_t>{13}) << "the key events still see Enter";
}

TEST_F(VurEditBtnTest, TextAndUnitTakesTheFirstUnitInListOrderThatEndsTheValue)
{
    auto* e = NewEdit<TVurUnitEditBtn>();
    struct Case {
        std::vector<String> Units;
        const wchar_t* Value;
        const wchar_t* Text;
        const wchar_t* Unit;
        const char* Why;
    } cases[] = {
        {{L"m", L"km"}, L"12km", L"12k", L"m", "m listed first wins"},
        {{L"km", L"m"}, L"12km", L"12", L"km", "km listed first"},
        {{L"kg"}, L"10 kg", L"10 ", L"kg", "the space is kept"},
        {{L"m", L"km"}, L"12in", L"old", L"u", "no unit ends the value: nothing changes"},
        {{L"m"}, L"m5m", L"old", L"u", "only the first occurrence counts"},
        {{L"", L"cm"}, L"4cm", L"4", L"cm", "an empty unit matches nothing"},
        {{L"cm"}, L"cm", L"", L"cm", "the unit alone"},
    };
    for (const Case& c : cases) {
        TStringList units;
        for (const String& u : c.Units) units.Add(u);
        e->SetUnits(&units);
        e->SetText(L"old");
        e->SetUnitID(L"u");
        e->SetTextAndUnit(c.Value);
        EXPECT_EQ(e->Text(), c.Text) << c.Why;
        EXPECT_EQ(e->UnitID(), c.Unit) << c.Why;
        EXPECT_EQ(e->TextAndUnit(), String(c.Text) + c.Unit) << c.Why << ": read back";
    }
}

TEST_F(VurEditBtnTest, UnitsMenuChoosesAUnitAndAnnouncesOnlyAChange)
{
    auto* e = NewEdit<TVurUnitEditBtn>();
    for (const wchar_t* u : {L"mm", L"cm", L"m"}) e->Units()->Add(u);
    e->SetUnitID(L"mm");
    std::vector<String> changes;
    int clicks = 0;
    e->OnUnitChanged = [&](TObject* s, const String& u) {
        EXPECT_EQ(s, e);
        changes.push_back(u);
    };
    std::vector<Word> keys;
    e->OnClickBtn = [&](TObject*) {
        ++clicks;
        QueueKeys(keys);   // the menu loop that follows reads them
    };
    ShowForm();
    Focus(e);

    keys = {VK_DOWN, VK_DOWN, VK_RETURN};
    Drv->PressKey(VK_F4);
    Drv->Pump();
    EXPECT_EQ(clicks, 1) << "OnClickBtn fires before the menu";
    EXPECT_EQ(e->UnitID(), L"cm");
    EXPECT_EQ(changes, std::vector<String>{L"cm"});

    keys = {VK_DOWN, VK_DOWN, VK_RETURN};
    Drv->PressKey(VK_F4);
    Drv->Pump();
    EXPECT_EQ(e->UnitID(), L"cm");
    EXPECT_EQ(changes.size(), 1u) << "the same unit again: no event";

    keys = {VK_ESCAPE};
    Drv->PressKey(VK_F4);
    Drv->Pump();
    EXPECT_EQ(e->UnitID(), L"cm") << "cancelled";

    // Commands: the change notification code and ids out of range are ignored.
    SendMessage(e->Handle(), WM_COMMAND, MAKEWPARAM(3, EN_CHANGE), 0);
    EXPECT_EQ(e->UnitID(), L"cm");
    SendMessage(e->Handle(), WM_COMMAND, MAKEWPARAM(0, 0), 0);
    SendMessage(e->Handle(), WM_COMMAND, MAKEWPARAM(4, 0), 0);
    EXPECT_EQ(e->UnitID(), L"cm");
    SendMessage(e->Handle(), WM_COMMAND, MAKEWPARAM(3, 0), 0);
    EXPECT_EQ(e->UnitID(), L"m");
    EXPECT_EQ(changes, (std::vector<String>{L"cm", L"m"}));
}

TEST_F(VurEditBtnTest, LayoutHolderTextRectangleAndMinimumHeight)
{
    auto* e = NewEdit(40, 40, 160);
    auto* u = NewEdit<TVurUnitEditBtn>(40, 100, 160);
    ShowForm();
    e->SetHeight(30);
    Drv->Pump();
    EXPECT_EQ(e->Button()->BoundsRect(), (TRect{160 - 18 - 5, 0, 160 - 5, 25}));
    EXPECT_EQ(e->Button()->Button()->BoundsRect(), (TRect{0, 0, 18, 25})) << "the speed button fills the holder";
    TRect r;
    SendMessage(e->Handle(), EM_GETRECT, 0, LPARAM(&r));
    EXPECT_EQ(r, (TRect{1, 1, e->ClientWidth() - 18 - 5, e->ClientHeight() + 1}));
    SendMessage(u->Handle(), EM_GETRECT, 0, LPARAM(&r));
    EXPECT_EQ(r.Right, u->ClientWidth() - 18 - 5 - 20 - 3) << "room for the unit";
    u->SetUnitSpace(30);
    SendMessage(u->Handle(), EM_GETRECT, 0, LPARAM(&r));
    EXPECT_EQ(r.Right, u->ClientWidth() - 18 - 5 - 30 - 3);

    e->SetButtonWidth(24);
    Drv->Pump();
    EXPECT_EQ(e->Button()->BoundsRect(), (TRect{160 - 24 - 5, 0, 160 - 5, 25}));
    e->SetBorderStyle(bsNone);
    Drv->Pump();
    e->SetHeight(31);
    Drv->Pump();
    EXPECT_EQ(e->Button()->BoundsRect(), (TRect{160 - 24 - 1, 0, 160 - 1, 30}));
    SendMessage(e->Handle(), EM_GETRECT, 0, LPARAM(&r));
    EXPECT_EQ(r.Left, 3);
    EXPECT_EQ(r.Top, 3);

    const Integer minHeight = e->GetMinHeight();
    EXPECT_EQ(minHeight, 16 + 16 / 4) << "no border added";
    e->SetHeight(5);
    Drv->Pump();
    EXPECT_EQ(e->Height(), minHeight);

    e->SetRightAlign(true);
    Drv->Pump();
    EXPECT_TRUE(GetWindowLong(e->Handle(), GWL_STYLE) & ES_RIGHT);
    EXPECT_TRUE(GetWindowLong(e->Handle(), GWL_STYLE) & ES_MULTILINE);
}

TEST_F(VurEditBtnTest, UnitIsPaintedBetweenTextAndButton)
{
    auto* u = NewEdit<TVurUnitEditBtn>(40, 40, 200);
    u->SetColor(clWhite);
    u->Font()->SetColor(clBlack);
    ShowForm();
    u->SetText(L"");
    HWND h = u->Handle();
    const Integer cw = u->ClientWidth();
    const Integer left = cw - (18 + 3) - 20, right = cw - (18 + 3);
    auto inkIn = [&](Integer x0, Integer x1) {
        std::vector<uint32_t> px;
        int w = 0, ht = 0;
        Drv->CaptureWindow(h, px, w, ht);
        const int frame = (w - cw) / 2;
        int ink = 0;
        for (int y = frame; y < ht - frame; ++y)
            for (int x = frame + x0; x < frame + x1; ++x)
                if ((px[size_t(y) * size_t(w) + size_t(x)] & 0xFFFFFF) == 0) ++ink;
        return ink;
    };
    EXPECT_EQ(inkIn(left, right), 0);
    u->SetUnitID(L"kg");
    Drv->Pump();
    EXPECT_GT(inkIn(left, right), 0) << "the unit's letters";
}

TEST_F(VurEditBtnTest, HolderButtonPaintingBranches)
{
    auto* e = NewEdit(40, 40, 160);
    ShowForm();
    TVurEditButton* holder = e->Button();
    HWND h = holder->Handle();
    holder->SetButtonColor(TColor(0x3060C0));
    holder->SetButtonColorHot(TColor(0x60C030));
    holder->SetButtonColorDown(TColor(0xC03060));
    Drv->Pump();
    EXPECT_EQ(PixelAt(h, 2, 2), Rgb(TColor(0x3060C0)));
    EXPECT_TRUE(holder->Button()->Flat()) << "a coloured button is flat";
    Drv->MouseMove(Drv->ScreenPoint(h, {5, 5}));
    EXPECT_EQ(PixelAt(h, 2, 2), Rgb(TColor(0x60C030))) << "hot";
    Drv->MouseDown(Drv->ScreenPoint(h, {5, 5}));
    EXPECT_EQ(PixelAt(h, 2, 2), Rgb(TColor(0xC03060))) << "pressed wins over hot";
    Drv->MouseUp(Drv->ScreenPoint(h, {5, 5}));

    // The caption in black, centred.
    holder->SetButtonColor(clWhite);
    holder->SetButtonColorHot(clWhite);
    e->SetButtonCaption(L"...");
    Drv->MouseMove(Drv->ScreenPoint(Form->Handle(), {2, 2}));
    Drv->Pump();
    int ink = 0;
    for (int x = 0; x < holder->Width(); ++x)
        for (int y = 0; y < holder->Height(); ++y)
            if (PixelAt(h, x, y) == 0) ++ink;
    EXPECT_GT(ink, 0);

    // Themed and classic faces differ; flat draws an edge.
    holder->SetButtonColor(clNone);
    e->SetButtonCaption(L"");
    e->SetIsWinXP(true);
    Drv->Pump();
    const uint32_t themed = PixelAt(h, 0, 0);
    e->SetIsWinXP(false);
    SetVisualStylesEnabled(false);
    Drv->Pump();
    const uint32_t classic = PixelAt(h, 0, 0);
    EXPECT_NE(themed, classic);
    holder->SetFlat(true);
    Drv->Pump();
    EXPECT_TRUE(holder->Button()->Flat());
}

TEST_F(VurEditBtnTest, ImageSpeedButtonDrawsImageAndPictureCentred)
{
    auto* b = new TVurSpeedButton(Form);
    b->SetParent(Form);
    b->SetBounds(20, 20, 30, 30);
    auto* images = new TCustomImageList(Form);
    images->SetWidth(10);
    images->SetHeight(10);
    TBitmap red;
    red.SetSize(10, 10);
    red.Canvas()->Brush()->SetColor(clRed);
    red.Canvas()->FillRect(TRect{0, 0, 10, 10});
    images->Add(&red, nullptr);
    b->SetImages(images);
    EXPECT_EQ(b->ImageIndex(), 0);
    ShowForm();
    EXPECT_EQ(PixelAt(Form->Handle(), 20 + 15, 20 + 15), 0xFF0000u) << "the image in the middle";
    b->SetImageIndex(3);
    Drv->Pump();
    EXPECT_NE(PixelAt(Form->Handle(), 20 + 15, 20 + 15), 0xFF0000u) << "an index out of range draws nothing";

    TBitmap blue;
    blue.SetSize(4, 4);
    blue.Canvas()->Brush()->SetColor(clBlue);
    blue.Canvas()->FillRect(TRect{0, 0, 4, 4});
    b->Picture()->SetGraphic(&blue);
    Drv->Pump();
    EXPECT_EQ(PixelAt(Form->Handle(), 20 + 14, 20 + 14), 0x0000FFu) << "the picture centred";
    delete images;
    EXPECT_EQ(b->Images(), nullptr) << "a freed image list is let go";
    Drv->Pump();
}

TEST_F(VurEditBtnTest, RandomTextAndUnitWritesReadBackOrChangeNothing)
{
    auto* e = NewEdit<TVurUnitEditBtn>();
    const String alphabet = L"0123456789 .kmgc";
    uint32_t seed = 777;
    auto next = [&](uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % n;
    };
    auto word = [&](uint32_t most) {
        String s;
        for (uint32_t k = 0, n = next(most + 1); k < n; ++k) s += alphabet[next(uint32_t(alphabet.size()))];
        return s;
    };
    for (int i = 0; i < 300; ++i) {
        TStringList units;
        for (uint32_t k = 0, n = next(4); k < n; ++k) units.Add(word(3));
        e->SetUnits(&units);
        e->SetText(L"before");
        e->SetUnitID(L"u");
        const String value = word(8);
        e->SetTextAndUnit(value);
        const String back = e->TextAndUnit();
        if (back != L"beforeu") {
            EXPECT_EQ(back, value) << "a write that takes reads back the same text";
            EXPECT_NE(units.IndexOf(e->UnitID()), -1) << "the unit is one of the list";
        }
    }
}
