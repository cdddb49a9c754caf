#include <gtest/gtest.h>

#include <algorithm>

#include "platform/gfx/Gdi.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Headless.h"

// Fixed-metrics fonts make every character 8 pixels wide and 16 high; an
// edit's text starts one pixel in from its client area's left and top.

namespace {

constexpr int kCell = 8;

// A form that records the edit notifications of plain edit windows.
class TEditHost : public TForm {
public:
    explicit TEditHost(TComponent* owner) : TForm(owner)
    {
        SetBorderStyle(bsNone);
        SetBounds(100, 100, 400, 300);
    }
    std::vector<Word> Codes;
    int Count(Word code) const { return int(std::count(Codes.begin(), Codes.end(), code)); }

protected:
    void Dispatch(TMessage& M) override
    {
        if (M.Msg == WM_COMMAND && M.LParam && !FindControl(reinterpret_cast<HWND>(M.LParam)))
            Codes.push_back(HIWORD(M.WParam));
        TForm::Dispatch(M);
    }
};

class EditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Drv = std::make_unique<THeadlessDriver>();
        InitForms();
        SetFixedMetricsFonts(true);
        SetClipboardText(L"clip");
        Form = new TEditHost(Application);
        Form->Init();
        Form->Show();
    }
    void TearDown() override
    {
        DoneForms();
        Drv.reset();
        SetFixedMetricsFonts(false);
    }
    // A plain edit window (no class-library control) on the form.
    HWND NewEdit(DWORD style, const wchar_t* text = L"", int w = 200, int h = 24)
    {
        RegisterEditClass();
        return CreateWindowEx(0, L"EDIT", text, WS_CHILD | WS_VISIBLE | style, 10, 10, w, h,
                              Form->Handle(), reinterpret_cast<HMENU>(uintptr_t(7)));
    }
    TEdit* NewTEdit(const String& text = L"", int x = 10)
    {
        auto* e = new TEdit(Form);
        e->SetParent(Form);
        e->SetBounds(x, 10, 121, 24);
        e->SetText(text);
        return e;
    }
    static String TextOf(HWND h)
    {
        wchar_t buf[256];
        int n = GetWindowText(h, buf, 256);
        return String(buf, size_t(n));
    }
    static std::pair<int, int> Sel(HWND h)
    {
        DWORD a = 0, b = 0;
        SendMessage(h, EM_GETSEL, WPARAM(&a), LPARAM(&b));
        return {int(a), int(b)};
    }
    static String Clip()
    {
        String t;
        GetClipboardText(t);
        return t;
    }
    static void Type(HWND h, const String& s)
    {
        for (wchar_t c : s) SendMessage(h, WM_CHAR, WPARAM(c), 0);
    }
    // A client point in the middle of character i's cell (single line).
    static TPoint CharPoint(int i, int dx = kCell / 2) { return {1 + i * kCell + dx, 8}; }
    std::unique_ptr<THeadlessDriver> Drv;
    TEditHost* Form = nullptr;
};

// 0xRRGGBB of a COLORREF, as captured pixels read.
uint32_t Rgb(COLORREF c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }

uint32_t PixelAt(HWND h, int x, int y)
{
    std::vector<uint32_t> px;
    int w = 0, hh = 0;
    WmCaptureWindow(h, px, w, hh);
    return (x < w && y < hh) ? px[size_t(y) * size_t(w) + size_t(x)] & 0xFFFFFF : 0xDEADBEEF;
}

}  // namespace

// ---------------------------------------------------------------------------
// The window class at message level

TEST_F(EditTest, TypingFollowsTheEditStyles)
{
    struct Case {
        const char* name;
        DWORD style;
        int limit;
        String typed, expect;
        int beeps;
        bool balloon;
        int maxText;
    };
    const Case cases[] = {
        {"plain", 0, 0, L"Ab c1", L"Ab c1", 0, false, 0},
        {"upper case", ES_UPPERCASE, 0, L"aBc", L"ABC", 0, false, 0},
        {"lower case", ES_LOWERCASE, 0, L"aBc", L"abc", 0, false, 0},
        {"numbers only", ES_NUMBER, 0, L"12a", L"12", 1, true, 0},
        {"limit", 0, 3, L"abcde", L"abc", 0, false, 2},
        {"read-only", ES_READONLY, 0, L"ab", L"", 2, false, 0},
        {"password keeps the real text", ES_PASSWORD, 0, L"pw", L"pw", 0, false, 0},
        {"backspace", 0, 0, L"abc\bd", L"abd", 0, false, 0},
        {"enter ignored on one line", 0, 0, L"a\rb", L"ab", 0, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND h = NewEdit(c.style);
        if (c.limit) SendMessage(h, EM_LIMITTEXT, WPARAM(c.limit), 0);
        SetFocus(h);
        Form->Codes.clear();
        int beeps = MessageBeepCount();
        Type(h, c.typed);
        EXPECT_EQ(TextOf(h), c.expect);
        EXPECT_EQ(Sel(h), std::make_pair(int(c.expect.size()), int(c.expect.size())));
        EXPECT_EQ(MessageBeepCount() - beeps, c.beeps);
        EXPECT_EQ(EditBalloon(h, nullptr, nullptr), c.balloon);
        EXPECT_EQ(Form->Count(EN_MAXTEXT), c.maxText);
        // One change (and one update before it) per character that changed the text.
        int changes = c.name == std::string("backspace") ? 5 : int(c.expect.size());
        EXPECT_EQ(Form->Count(EN_CHANGE), changes);
        EXPECT_EQ(Form->Count(EN_UPDATE), changes);
        DestroyWindow(h);
    }
}

TEST_F(EditTest, ClipboardMessagesRespectTheStyles)
{
    struct Case {
        const char* name;
        DWORD style;
        String text;
        int a, b;
        UINT msg;
        String expectText, expectClip;
    };
    const Case cases[] = {
        {"copy", 0, L"hello world", 0, 5, WM_COPY, L"hello world", L"hello"},
        {"copy nothing", 0, L"hello world", 3, 3, WM_COPY, L"hello world", L"clip"},
        {"cut", 0, L"hello world", 6, 11, WM_CUT, L"hello ", L"world"},
        {"paste at start", 0, L"hello", 0, 0, WM_PASTE, L"cliphello", L"clip"},
        {"paste over all", 0, L"hello", 0, -1, WM_PASTE, L"clip", L"clip"},
        {"clear", 0, L"hello world", 0, 6, WM_CLEAR, L"world", L"clip"},
        {"password: no copy", ES_PASSWORD, L"secret", 0, 6, WM_COPY, L"secret", L"clip"},
        {"password: no cut", ES_PASSWORD, L"secret", 0, 6, WM_CUT, L"secret", L"clip"},
        {"read-only: copy", ES_READONLY, L"fixed", 0, 5, WM_COPY, L"fixed", L"fixed"},
        {"read-only: no cut", ES_READONLY, L"fixed", 0, 5, WM_CUT, L"fixed", L"clip"},
        {"read-only: no paste", ES_READONLY, L"fixed", 0, 5, WM_PASTE, L"fixed", L"clip"},
        {"read-only: no clear", ES_READONLY, L"fixed", 0, 5, WM_CLEAR, L"fixed", L"clip"},
        {"numbers only: letters refused", ES_NUMBER, L"12", 2, 2, WM_PASTE, L"12", L"clip"},
        {"upper case: pasted text converted", ES_UPPERCASE, L"A", 1, 1, WM_PASTE, L"ACLIP", L"clip"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetClipboardText(L"clip");
        HWND h = NewEdit(c.style, c.text.c_str());
        SendMessage(h, EM_SETSEL, WPARAM(c.a), LPARAM(c.b));
        SendMessage(h, c.msg, 0, 0);
        EXPECT_EQ(TextOf(h), c.expectText);
        EXPECT_EQ(Clip(), c.expectClip);
        DestroyWindow(h);
    }
}

TEST_F(EditTest, UndoTogglesAndModifyFlagFollowsEdits)
{
    HWND h = NewEdit(0, L"hello");
    EXPECT_FALSE(SendMessage(h, EM_GETMODIFY, 0, 0)) << "text set at creation is not a modification";
    EXPECT_FALSE(SendMessage(h, EM_CANUNDO, 0, 0));
    SendMessage(h, EM_SETSEL, 5, 5);
    Type(h, L" you");
    EXPECT_TRUE(SendMessage(h, EM_GETMODIFY, 0, 0));
    EXPECT_TRUE(SendMessage(h, EM_CANUNDO, 0, 0));
    EXPECT_TRUE(SendMessage(h, EM_UNDO, 0, 0));
    EXPECT_EQ(TextOf(h), L"hello") << "a run of typing is undone at once";
    SendMessage(h, WM_UNDO, 0, 0);
    EXPECT_EQ(TextOf(h), L"hello you") << "undoing again redoes";
    SendMessage(h, EM_SETSEL, 0, 5);
    SendMessage(h, EM_REPLACESEL, FALSE, LPARAM(L"bye"));
    EXPECT_EQ(TextOf(h), L"bye you");
    EXPECT_FALSE(SendMessage(h, EM_CANUNDO, 0, 0)) << "replaced without undo";
    SendMessage(h, EM_SETMODIFY, FALSE, 0);
    EXPECT_FALSE(SendMessage(h, EM_GETMODIFY, 0, 0));
    SetWindowText(h, L"new");
    EXPECT_EQ(Sel(h), std::make_pair(0, 0));
    EXPECT_FALSE(SendMessage(h, EM_CANUNDO, 0, 0));
}

TEST_F(EditTest, PositionsFollowAlignmentMarginsAndTheFormatRectangle)
{
    struct Case {
        const char* name;
        DWORD style;
        int firstX;   // where character 0 starts for "abcd" in a 200-wide edit
    };
    // Format rectangle 1..199: 198 wide; the text 32.
    const Case cases[] = {
        {"left", ES_LEFT, 1},
        {"centre", ES_CENTER, 1 + (198 - 32) / 2},
        {"right (room for the caret)", ES_RIGHT, 1 + 198 - 32 - 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND h = NewEdit(c.style, L"abcd");
        for (int i = 0; i <= 4; ++i) {
            LRESULT p = SendMessage(h, EM_POSFROMCHAR, WPARAM(i), 0);
            EXPECT_EQ(LOWORD(p), c.firstX + i * kCell) << "character " << i;
            EXPECT_EQ(HIWORD(p), 1);
            // Back from a point just right of the character's start.
            LRESULT back = SendMessage(h, EM_CHARFROMPOS, 0, MAKELPARAM(c.firstX + i * kCell + 2, 5));
            EXPECT_EQ(LOWORD(back), i);
        }
        EXPECT_EQ(SendMessage(h, EM_POSFROMCHAR, 5, 0), -1);
        DestroyWindow(h);
    }

    HWND h = NewEdit(0, L"abcd");
    SendMessage(h, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(10, 20));
    EXPECT_EQ(SendMessage(h, EM_GETMARGINS, 0, 0), MAKELRESULT(10, 20));
    TRect r;
    SendMessage(h, EM_GETRECT, 0, LPARAM(&r));
    EXPECT_EQ(r, Rect(10, 1, 180, 23));
    EXPECT_EQ(LOWORD(SendMessage(h, EM_POSFROMCHAR, 1, 0)), 10 + kCell);
    TRect mine = Rect(30, 4, 150, 20);
    SendMessage(h, EM_SETRECTNP, 0, LPARAM(&mine));
    SendMessage(h, EM_GETRECT, 0, LPARAM(&r));
    EXPECT_EQ(r, mine);
    EXPECT_EQ(SendMessage(h, EM_POSFROMCHAR, 2, 0), MAKELRESULT(30 + 2 * kCell, 4));
}

TEST_F(EditTest, LongSingleLineScrollsToKeepTheCaretInView)
{
    HWND h = NewEdit(ES_AUTOHSCROLL, L"", 82);   // 80 pixels of text: ten characters
    Type(h, L"abcdefghijklmnopqrst");
    LRESULT caret = SendMessage(h, EM_POSFROMCHAR, 20, 0);
    EXPECT_GT(LOWORD(caret), 0);
    EXPECT_LE(LOWORD(caret), 81) << "the caret stays visible";
    EXPECT_LT(short(LOWORD(SendMessage(h, EM_POSFROMCHAR, 0, 0))), 0) << "the start scrolled out";
    SendMessage(h, WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(LOWORD(SendMessage(h, EM_POSFROMCHAR, 0, 0)), 1);
}

TEST_F(EditTest, FocusNotificationsAndBalloons)
{
    HWND h = NewEdit(ES_NUMBER, L"1");
    Form->Codes.clear();
    SetFocus(h);
    EDITBALLOONTIP tip;
    tip.pszTitle = L"Title";
    tip.pszText = L"Text";
    tip.ttiIcon = TTI_WARNING;
    EXPECT_TRUE(SendMessage(h, EM_SHOWBALLOONTIP, 0, LPARAM(&tip)));
    String title, text;
    int icon = 0;
    ASSERT_TRUE(EditBalloon(h, &title, &text, &icon));
    EXPECT_EQ(title, L"Title");
    EXPECT_EQ(text, L"Text");
    EXPECT_EQ(icon, TTI_WARNING);
    SendMessage(h, EM_HIDEBALLOONTIP, 0, 0);
    EXPECT_FALSE(EditBalloon(h, nullptr, nullptr));

    Type(h, L"x");
    ASSERT_TRUE(EditBalloon(h, &title, &text, &icon));
    EXPECT_EQ(icon, TTI_ERROR);
    EXPECT_FALSE(text.empty());
    Type(h, L"2");
    EXPECT_FALSE(EditBalloon(h, nullptr, nullptr)) << "the next accepted key takes it away";
    Type(h, L"y");
    SetFocus(Form->Handle());
    EXPECT_FALSE(EditBalloon(h, nullptr, nullptr)) << "leaving the edit takes it away";
    EXPECT_EQ(Form->Codes.front(), EN_SETFOCUS);
    EXPECT_EQ(Form->Codes.back(), EN_KILLFOCUS);
}

// ---------------------------------------------------------------------------
// Multi-line

TEST_F(EditTest, TheWrappedLinesFollowEachInputOfTheWrap)
{
    // 17 characters fit a line of the 140-wide format rectangle.
    HWND h = NewEdit(ES_MULTILINE | WS_VSCROLL, L"aaaa bbbb cccc dddd eeee", 160, 50);
    auto lines = [&] { return int(SendMessage(h, EM_GETLINECOUNT, 0, 0)); };
    EXPECT_EQ(lines(), 2);
    // A style write that leaves the wrap alone keeps the lines and the caret in view.
    SendMessage(h, EM_SETSEL, 24, 24);
    SendMessage(h, EM_SETREADONLY, TRUE, 0);
    EXPECT_EQ(lines(), 2);
    EXPECT_EQ(SendMessage(h, EM_LINEINDEX, 1, 0), 15);
    SendMessage(h, EM_SETREADONLY, FALSE, 0);
    // The width: a narrower window, then a format rectangle of its own.
    SetWindowPos(h, nullptr, 0, 0, 110, 50, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(lines(), 3);
    TRect r{0, 0, 41, 40};
    SendMessage(h, EM_SETRECT, 0, LPARAM(&r));
    EXPECT_EQ(lines(), 5);
    SendMessage(h, EM_SETRECT, 0, 0);
    EXPECT_EQ(lines(), 3);
    // The text.
    SetWindowText(h, L"aaaa");
    EXPECT_EQ(lines(), 1);
    SetWindowText(h, L"aaaa bbbb cccc dddd eeee");
    EXPECT_EQ(lines(), 3);
    // The wrap itself: a horizontally scrolling edit does not wrap.
    SetWindowLong(h, GWL_STYLE, GetWindowLong(h, GWL_STYLE) | ES_AUTOHSCROLL);
    EXPECT_EQ(lines(), 1);
    SetWindowLong(h, GWL_STYLE, GetWindowLong(h, GWL_STYLE) & ~LONG(ES_AUTOHSCROLL));
    EXPECT_EQ(lines(), 3);
    // The font, even one that takes the place of the last.
    SendMessage(h, WM_SETFONT, WPARAM(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    EXPECT_EQ(lines(), 3);
}

TEST_F(EditTest, MultiLineWrapsScrollsAndReportsLines)
{
    // 17 characters fit a line of the 140-wide format rectangle.
    HWND h = NewEdit(ES_MULTILINE | WS_VSCROLL, L"", 160, 50);
    Type(h, L"one two three four five six seven\rline2");
    EXPECT_EQ(TextOf(h), L"one two three four five six seven\r\nline2");
    int lines = int(SendMessage(h, EM_GETLINECOUNT, 0, 0));
    EXPECT_GE(lines, 3) << "the long line wraps";
    EXPECT_EQ(SendMessage(h, EM_LINEINDEX, WPARAM(lines - 1), 0), 35);
    EXPECT_EQ(SendMessage(h, EM_LINELENGTH, 35, 0), 5);
    wchar_t buf[16] = {16};
    EXPECT_EQ(SendMessage(h, EM_GETLINE, WPARAM(lines - 1), LPARAM(buf)), 5);
    EXPECT_EQ(String(buf, 5), L"line2");
    // Three lines fit; the caret on the last line scrolled the view.
    EXPECT_EQ(SendMessage(h, EM_GETFIRSTVISIBLELINE, 0, 0), lines - 3);
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(h, SB_VERT, &si));
    EXPECT_EQ(si.nMax, lines - 1);
    EXPECT_EQ(si.nPage, 3u);
    EXPECT_EQ(si.nPos, lines - 3);
    SendMessage(h, WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(SendMessage(h, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    GetScrollInfo(h, SB_VERT, &si);
    EXPECT_EQ(si.nPos, 0);
    SendMessage(h, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(SendMessage(h, EM_GETFIRSTVISIBLELINE, 0, 0), 1);
    EXPECT_EQ(SendMessage(h, WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS, LRESULT(DLGC_WANTALLKEYS));
    // Text set to a multi-line edit is not reported as a change.
    Form->Codes.clear();
    SetWindowText(h, L"a\r\nb");
    EXPECT_EQ(Form->Count(EN_CHANGE), 0);
}

// ---------------------------------------------------------------------------
// The class-library controls

TEST_F(EditTest, EditPropertiesReachTheWindowAndSurviveRecreation)
{
    TEdit* e = NewTEdit();
    int changes = 0;
    e->OnChange = [&](TObject*) { ++changes; };
    e->SetMaxLength(5);
    e->SetText(L"hello");
    EXPECT_EQ(changes, 1) << "setting the text is a change";
    e->SetText(L"hello");
    EXPECT_EQ(changes, 1) << "the same text is not";
    EXPECT_EQ(e->Height(), 16 + 8) << "the height follows the font";
    e->SetFocus();
    e->SetSelStart(1);
    e->SetSelLength(3);
    EXPECT_EQ(e->SelText(), L"ell");
    e->SetSelText(L"ipp");
    EXPECT_EQ(e->Text(), L"hippo");
    EXPECT_TRUE(e->Modified());
    Drv->TypeText(L"xyz");
    EXPECT_EQ(e->Text(), L"hippo") << "the limit holds";

    e->SetCharCase(ecUpperCase);   // re-creates the window
    EXPECT_EQ(e->Text(), L"HIPPO");
    EXPECT_TRUE(e->Modified()) << "kept over the new window";
    e->SetModified(false);
    EXPECT_FALSE(e->Modified());

    e->SetPasswordChar(L'*');
    EXPECT_EQ(SendMessage(e->Handle(), EM_GETPASSWORDCHAR, 0, 0), L'*');
    e->SelectAll();
    e->CopyToClipboard();
    EXPECT_EQ(Clip(), L"clip") << "a password never reaches the clipboard";
    e->SetPasswordChar(0);
    e->SelectAll();
    e->CutToClipboard();
    EXPECT_EQ(Clip(), L"HIPPO");
    EXPECT_EQ(e->Text(), L"");
    EXPECT_TRUE(e->CanUndo());
    e->Undo();
    EXPECT_EQ(e->Text(), L"HIPPO");
    e->SetReadOnly(true);
    e->SelectAll();
    e->ClearSelection();
    EXPECT_EQ(e->Text(), L"HIPPO");
    e->SetReadOnly(false);
    e->SetNumbersOnly(true);
    e->Clear();
    e->PasteFromClipboard();
    EXPECT_EQ(e->Text(), L"") << "letters refused";
    EXPECT_EQ(changes, 5);
}

TEST_F(EditTest, KeyboardEditingThroughTheDriver)
{
    TEdit* e = NewTEdit();
    std::vector<wchar_t> pressed;
    e->OnKeyPress = [&](TObject*, wchar_t& k) {
        pressed.push_back(k);
        if (k == L'#') k = 0;   // eaten
    };
    e->SetFocus();
    Drv->TypeText(L"hello #world");
    EXPECT_EQ(e->Text(), L"hello world");
    EXPECT_EQ(pressed.size(), 12u);

    struct Step {
        const char* name;
        Word vk;
        std::initializer_list<Word> mods;
        String text;
        int selStart, selLength;
    };
    const Step steps[] = {
        {"shift+ctrl+left selects a word", VK_LEFT, {VK_SHIFT, VK_CONTROL}, L"hello world", 6, 5},
        {"ctrl+c copies", 'C', {VK_CONTROL}, L"hello world", 6, 5},
        {"home", VK_HOME, {}, L"hello world", 0, 0},
        {"ctrl+v pastes", 'V', {VK_CONTROL}, L"worldhello world", 5, 0},
        {"ctrl+z undoes", 'Z', {VK_CONTROL}, L"hello world", 0, 0},
        {"shift+end selects to the end", VK_END, {VK_SHIFT}, L"hello world", 0, 11},
        {"shift+delete cuts", VK_DELETE, {VK_SHIFT}, L"", 0, 0},
        {"shift+insert pastes", VK_INSERT, {VK_SHIFT}, L"hello world", 11, 0},
        {"ctrl+left", VK_LEFT, {VK_CONTROL}, L"hello world", 6, 0},
        {"insert: overwrite on", VK_INSERT, {}, L"hello world", 6, 0},
        {"overwrite replaces", 'W', {VK_SHIFT}, L"hello World", 7, 0},
        {"ctrl+a selects all", 'A', {VK_CONTROL}, L"hello World", 0, 11},
        {"delete", VK_DELETE, {}, L"", 0, 0},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        Drv->PressKey(s.vk, s.mods);
        EXPECT_EQ(e->Text(), s.text);
        EXPECT_EQ(e->SelStart(), s.selStart);
        EXPECT_EQ(e->SelLength(), s.selLength);
    }
}

TEST_F(EditTest, MouseSelectsByClickDragDoubleClickAndShiftClick)
{
    TEdit* e = NewTEdit(L"hello world");
    HWND h = e->Handle();
    Drv->ClickWindow(h, CharPoint(3, 1));
    EXPECT_TRUE(e->Focused());
    EXPECT_EQ(e->SelStart(), 3) << "the nearest boundary: before character 3";
    EXPECT_EQ(e->SelLength(), 0);
    Drv->ClickWindow(h, CharPoint(3, 6));
    EXPECT_EQ(e->SelStart(), 4) << "past the middle: after character 3";

    Drv->Drag(Drv->ScreenPoint(h, CharPoint(1, 0)), Drv->ScreenPoint(h, CharPoint(4, 0)));
    EXPECT_EQ(e->SelStart(), 1);
    EXPECT_EQ(e->SelText(), L"ell");
    // Dragging backwards keeps the anchor where the drag began.
    Drv->Drag(Drv->ScreenPoint(h, CharPoint(8, 0)), Drv->ScreenPoint(h, CharPoint(2, 0)));
    EXPECT_EQ(e->SelText(), L"llo wo");

    Drv->DoubleClick(Drv->ScreenPoint(h, CharPoint(8)));
    EXPECT_EQ(e->SelText().substr(0, 5), L"world");
    Drv->ClickWindow(h, CharPoint(0, 0));
    Drv->KeyDown(VK_SHIFT);
    Drv->ClickWindow(h, CharPoint(5, 0));
    Drv->KeyUp(VK_SHIFT);
    EXPECT_EQ(e->SelText(), L"hello");
}

TEST_F(EditTest, TabbingInSelectsAllClickingDoesNot)
{
    TEdit* a = NewTEdit(L"first");
    TEdit* b = NewTEdit(L"second", 200);
    a->SetFocus();
    Drv->PressKey(VK_TAB);
    ASSERT_TRUE(b->Focused());
    EXPECT_EQ(b->SelLength(), 6);
    Drv->ClickWindow(a->Handle(), CharPoint(2, 0));
    EXPECT_TRUE(a->Focused());
    EXPECT_EQ(a->SelLength(), 0);
    EXPECT_EQ(a->SelStart(), 2);
}

TEST_F(EditTest, MemoLinesWithAndWithoutAWindow)
{
    for (bool handle : {false, true}) {
        SCOPED_TRACE(handle ? "with a window" : "without a window");
        auto* m = new TMemo(Form);
        if (handle) {
            m->SetParent(Form);
            m->HandleNeeded();
        }
        TStrings* lines = m->Lines();
        EXPECT_EQ(lines->Count(), 0);
        lines->Add(L"a");
        lines->Add(L"b");
        EXPECT_EQ(m->Text(), L"a\r\nb\r\n");
        EXPECT_EQ(lines->Count(), 2) << "no line after the last break";
        lines->Insert(1, L"x");
        lines->SetStrings(2, L"B");
        lines->Delete(0);
        EXPECT_EQ(m->Text(), L"x\r\nB\r\n");
        EXPECT_EQ(lines->Strings(1), L"B");
        EXPECT_THROW(lines->Strings(2), EListError);
        EXPECT_THROW(lines->Delete(5), EListError);

        m->SetText(L"abc");
        lines->Add(L"d");
        EXPECT_EQ(m->Text(), L"abc\r\nd") << "after a last line without a break";
        lines->SetText(L"p\nq\rr");
        EXPECT_EQ(m->Text(), L"p\r\nq\r\nr");
        EXPECT_EQ(lines->Count(), 3);
        lines->Clear();
        EXPECT_EQ(m->Text(), L"");
        delete m;
    }
}

TEST_F(EditTest, MemoKeysWrapAndScrollBars)
{
    auto* m = new TMemo(Form);
    m->SetParent(Form);
    m->SetBounds(10, 50, 164, 60);   // 160 client, 158 format rectangle: 19 characters
    int changes = 0;
    m->OnChange = [&](TObject*) { ++changes; };
    m->SetText(L"aaaa bbbb cccc dddd eeee");
    EXPECT_EQ(changes, 1) << "text set to a memo is one change";
    EXPECT_EQ(SendMessage(m->Handle(), EM_GETLINECOUNT, 0, 0), 2) << "word wrap";
    m->SetWordWrap(false);
    EXPECT_EQ(SendMessage(m->Handle(), EM_GETLINECOUNT, 0, 0), 1);
    EXPECT_EQ(m->Text(), L"aaaa bbbb cccc dddd eeee") << "kept over the new window";

    m->SetFocus();
    SendMessage(m->Handle(), EM_SETSEL, 4, 4);
    Drv->PressKey(VK_RETURN);
    EXPECT_EQ(m->Lines()->Count(), 2);
    EXPECT_EQ(m->CaretPos(), (TPoint{0, 1}));
    Drv->PressKey(VK_TAB);
    EXPECT_TRUE(m->Focused()) << "Tab stays a focus key by default";
    EXPECT_EQ(m->Lines()->Strings(1).substr(0, 1), L" ");

    m->SetWantTabs(true);
    m->SetWantReturns(false);
    m->SetFocus();
    Drv->PressKey(VK_TAB);
    Drv->PressKey(VK_RETURN);
    EXPECT_EQ(m->Lines()->Strings(1).substr(0, 2), L"\t ");
    EXPECT_EQ(m->Lines()->Count(), 2) << "Enter no longer breaks the line";

    EXPECT_EQ(GetWindowLong(m->Handle(), GWL_STYLE) & WS_VSCROLL, 0);
    m->SetScrollBars(ssVertical);
    EXPECT_NE(GetWindowLong(m->Handle(), GWL_STYLE) & WS_VSCROLL, 0);
}

TEST_F(EditTest, PaintsTextSelectionAndTheControlsColours)
{
    TEdit* e = NewTEdit(L"abcdef");
    e->SetFocus();
    SendMessage(e->Handle(), EM_SETSEL, 2, 4);
    // Cells in the form: the edit at 10, its client edge 2, the text 1 in.
    auto cellX = [](int i) { return 10 + 2 + 1 + i * kCell; };
    const int glyphY = 10 + 2 + 1 + 8;
    HWND f = Form->Handle();
    EXPECT_EQ(PixelAt(f, cellX(2), glyphY), Rgb(GetSysColor(COLOR_HIGHLIGHT))) << "selected cell's edge";
    EXPECT_EQ(PixelAt(f, cellX(2) + 4, glyphY), Rgb(GetSysColor(COLOR_HIGHLIGHTTEXT))) << "selected glyph";
    EXPECT_EQ(PixelAt(f, cellX(0), glyphY), Rgb(GetSysColor(COLOR_WINDOW)));
    EXPECT_EQ(PixelAt(f, cellX(0) + 4, glyphY), Rgb(GetSysColor(COLOR_WINDOWTEXT)));

    // The control's own colours, given through the parent's colour question.
    e->SetColor(RGB(255, 255, 0));
    e->Font()->SetColor(RGB(255, 0, 0));
    SendMessage(e->Handle(), EM_SETSEL, 0, 0);
    EXPECT_EQ(PixelAt(f, cellX(4), glyphY), 0xFFFF00u);
    EXPECT_EQ(PixelAt(f, cellX(4) + 4, glyphY), 0xFF0000u);
}

TEST_F(EditTest, CaretBlinksWhileFocused)
{
    TEdit* e = NewTEdit(L"ab");
    TEdit* other = NewTEdit(L"", 200);
    e->SetFocus();
    SendMessage(e->Handle(), EM_SETSEL, 1, 1);
    HWND f = Form->Handle();
    const int x = 10 + 2 + 1 + kCell, y = 10 + 2 + 1 + 8;   // the caret between the characters
    uint32_t on = PixelAt(f, x, y);
    EXPECT_EQ(on, Rgb(GetSysColor(COLOR_WINDOWTEXT)));
    Drv->Advance(kEditCaretBlinkMs);
    EXPECT_NE(PixelAt(f, x, y), on) << "off after one period";
    Drv->Advance(kEditCaretBlinkMs);
    EXPECT_EQ(PixelAt(f, x, y), on) << "and on again";
    other->SetFocus();
    Drv->Advance(kEditCaretBlinkMs);
    EXPECT_NE(PixelAt(f, x, y), on) << "no caret without the focus";
}

// The clipboard keys reach the window as WM_COPY/WM_CUT/WM_PASTE, so a
// subclassed edit handles them; the form moves the focus by WM_NEXTDLGCTL.
TEST_F(EditTest, ClipboardKeysSendTheClipboardMessagesAndTheFormMovesFocusOnRequest)
{
    HWND h = NewEdit(0, L"abc");
    static std::vector<UINT> seen;
    seen.clear();
    static WNDPROC prev = nullptr;
    prev = reinterpret_cast<WNDPROC>(SetWindowLongPtr(h, GWLP_WNDPROC, LONG_PTR(+[](HWND w, UINT m, WPARAM a, LPARAM b) -> LRESULT {
        if (m == WM_COPY || m == WM_CUT || m == WM_PASTE) seen.push_back(m);
        return CallWindowProc(prev, w, m, a, b);
    })));
    SendMessage(h, EM_SETSEL, 0, 1);
    Type(h, String{wchar_t(3), wchar_t(24), wchar_t(22)});
    SetFocus(h);
    Drv->PressKey(VK_INSERT, {VK_CONTROL});
    Drv->PressKey(VK_INSERT, {VK_SHIFT});
    Drv->PressKey(VK_DELETE, {VK_SHIFT});
    EXPECT_EQ(seen, (std::vector<UINT>{WM_COPY, WM_CUT, WM_PASTE, WM_COPY, WM_PASTE, WM_CUT}));
    SetWindowLongPtr(h, GWLP_WNDPROC, LONG_PTR(prev));
    DestroyWindow(h);

    TEdit* a = NewTEdit(L"a", 10);
    TEdit* b = NewTEdit(L"b", 140);
    EXPECT_EQ(GetNextDlgTabItem(Form->Handle(), a->Handle(), FALSE), b->Handle());
    EXPECT_EQ(GetNextDlgTabItem(Form->Handle(), b->Handle(), FALSE), a->Handle());
    a->SetFocus();
    Form->Perform(WM_NEXTDLGCTL, 0, 0);
    EXPECT_EQ(GetFocus(), b->Handle());
    Form->Perform(WM_NEXTDLGCTL, 1, 0);
    EXPECT_EQ(GetFocus(), a->Handle());
    Form->Perform(WM_NEXTDLGCTL, WPARAM(b->Handle()), 1);
    EXPECT_EQ(GetFocus(), b->Handle());
}
