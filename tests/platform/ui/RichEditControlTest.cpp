#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <random>

#include "platform/base/Streams.h"
#include "platform/base/SysUtils.h"
#include "platform/gfx/Printer.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Forms.h"
#include "platform/ui/RichEdit.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Headless.h"

// Fixed-metrics fonts make every character 8 pixels wide and each line 16
// high (ascent 13) whatever its size; the text starts one pixel in from the
// client area's left and top.

namespace {

constexpr int kCell = 8, kLine = 16;

class TRichHost : public TForm {
public:
    explicit TRichHost(TComponent* owner) : TForm(owner)
    {
        SetBorderStyle(bsNone);
        SetBounds(100, 100, 500, 400);
    }
};

class RichEditControl : public ::testing::Test {
protected:
    void SetUp() override
    {
        Drv = std::make_unique<THeadlessDriver>();
        InitForms();
        SetFixedMetricsFonts(true);
        Form = new TRichHost(Application);
        Form->Init();
        Form->Show();
    }
    void TearDown() override
    {
        DoneForms();
        Drv.reset();
        SetFixedMetricsFonts(false);
    }
    TRichEdit* NewRich(int w = 200, int h = 100, const String& text = L"")
    {
        auto* r = new TRichEdit(Form);
        r->SetParent(Form);
        r->SetBorderStyle(bsNone);
        r->SetBounds(10, 10, w, h);
        if (!text.empty()) r->SetText(text);
        return r;
    }
    static void Select(TRichEdit* r, LONG a, LONG b)
    {
        CHARRANGE cr{a, b};
        SendMessage(r->Handle(), EM_EXSETSEL, 0, LPARAM(&cr));
    }
    static CHARRANGE Sel(TRichEdit* r)
    {
        CHARRANGE cr{-5, -5};
        SendMessage(r->Handle(), EM_EXGETSEL, 0, LPARAM(&cr));
        return cr;
    }
    static CHARFORMATW SelFormat(TRichEdit* r)
    {
        CHARFORMATW cf;
        cf.dwMask = CFM_OFFSET;
        SendMessage(r->Handle(), EM_GETCHARFORMAT, SCF_SELECTION, LPARAM(&cf));
        return cf;
    }
    static void SetOffset(TRichEdit* r, LONG twips)
    {
        CHARFORMATW cf;
        cf.dwMask = CFM_OFFSET;
        cf.yOffset = twips;
        SendMessage(r->Handle(), EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&cf));
    }
    static void Type(TRichEdit* r, const String& s)
    {
        for (wchar_t c : s) SendMessage(r->Handle(), WM_CHAR, WPARAM(c), 0);
    }
    // Presses a key with Shift and Ctrl as asked.
    void Press(Word vk, bool shift = false, bool ctrl = false)
    {
        if (shift && ctrl) Drv->PressKey(vk, {VK_SHIFT, VK_CONTROL});
        else if (shift) Drv->PressKey(vk, {VK_SHIFT});
        else if (ctrl) Drv->PressKey(vk, {VK_CONTROL});
        else Drv->PressKey(vk);
    }
    static std::string Rtf(TRichEdit* r)
    {
        TBytesStream ss;
        r->Lines()->SaveToStream(&ss);
        const TBytes b = ss.Bytes();
        return std::string(b.begin(), b.end());
    }
    static void LoadRtf(TRichEdit* r, const std::string& rtf)
    {
        TBytesStream ss;
        if (!rtf.empty()) ss.WriteBuffer(rtf.data(), Integer(rtf.size()));
        ss.SetPosition(0);
        r->Lines()->LoadFromStream(&ss);
    }
    std::unique_ptr<THeadlessDriver> Drv;
    TRichHost* Form = nullptr;
};

// ---------------------------------------------------------------------------
// Layout

TEST_F(RichEditControl, LayoutWrapsAtSpacesBreaksLongWordsAndAligns)
{
    struct Case {
        const char* name;
        String text;
        Integer width;
        TParaAlignment align;
        std::vector<std::pair<Integer, Integer>> lines;   // start, length
        std::vector<Integer> lefts;
    };
    // Ten characters to a line of 80 pixels.
    const Case cases[] = {
        {"fits", L"abc def", 80, paLeftJustify, {{0, 7}}, {0}},
        {"wraps after the spaces", L"abcd efgh ijkl", 80, paLeftJustify, {{0, 10}, {10, 4}}, {0, 0}},
        {"a long word breaks between characters", L"abcdefghijklmnop", 80, paLeftJustify, {{0, 10}, {10, 6}}, {0, 0}},
        {"a line break", L"ab\vcd", 80, paLeftJustify, {{0, 3}, {3, 2}}, {0, 0}},
        {"paragraphs", L"ab\r\ncd", 80, paLeftJustify, {{0, 2}, {3, 2}}, {0, 0}},
        {"no wrap", L"abcd efgh ijkl", 0, paLeftJustify, {{0, 14}}, {0}},
        {"right", L"abc", 80, paRightJustify, {{0, 3}}, {56}},
        {"centre, trailing spaces ignored", L"abcd  ", 80, paCenter, {{0, 6}}, {24}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TRichDocument d;
        d.SetText(c.text);
        d.SetAlignment(0, d.Length(), c.align);
        HDC dc = CreateScreenIC();
        TRichLayout l;
        l.Build(dc, d, c.width, 80);
        DeleteDC(dc);
        ASSERT_EQ(l.Lines().size(), c.lines.size());
        for (size_t i = 0; i < c.lines.size(); ++i) {
            EXPECT_EQ(l.Lines()[i].Start, c.lines[i].first) << i;
            EXPECT_EQ(l.Lines()[i].Length, c.lines[i].second) << i;
            EXPECT_EQ(l.Lines()[i].Left, c.lefts[i]) << i;
            EXPECT_EQ(l.Lines()[i].Top, Integer(i) * kLine) << i;
        }
    }
}

TEST_F(RichEditControl, LayoutTabsHitTestsAndCaretPlaces)
{
    TRichDocument d;
    d.SetText(L"a\tb\r\nxyz");
    HDC dc = CreateScreenIC();
    TRichLayout l;
    l.Build(dc, d, 400, 400);
    DeleteDC(dc);
    // A tab runs to the next half inch (48 pixels at 96 dpi).
    ASSERT_EQ(l.Lines().size(), 2u);
    EXPECT_EQ(l.Lines()[0].Xs, (std::vector<Integer>{0, 8, 48, 56}));
    EXPECT_EQ(l.PosOf(2).X, 48);
    EXPECT_EQ(l.PosOf(5).Y, kLine);
    EXPECT_EQ(l.CharAt({51, 3}), 2);
    EXPECT_EQ(l.CharAt({53, 3}), 3);
    EXPECT_EQ(l.CharAt({500, 3}), 3);      // past the end: before the paragraph end
    EXPECT_EQ(l.CharAt({13, 20}), 6);      // the nearest edge to 13 is after the "y"
    EXPECT_EQ(l.CharAt({0, 999}), 4);      // below the text: the last line
    for (Integer p = 0; p <= d.Length(); ++p) EXPECT_EQ(l.CharAt(l.PosOf(p)), p) << p;
}

// ---------------------------------------------------------------------------
// Messages and properties

TEST_F(RichEditControl, CharFormatsOffsetsAndConsistency)
{
    TRichEdit* r = NewRich(300, 100, L"Hello world\r\nSecond");
    EXPECT_EQ(r->Lines()->Count(), 2);
    EXPECT_EQ(r->Lines()->Strings(1), L"Second");
    Select(r, 6, 11);
    EXPECT_EQ(Sel(r).cpMin, 6);
    EXPECT_EQ(r->SelLength(), 5);
    EXPECT_EQ(r->SelText(), L"world");
    // Raised by 40 twips with only the offset in the mask: nothing else moves.
    SetOffset(r, 40);
    r->SelAttributes()->SetStyle(TFontStyles{fsBold});
    r->SelAttributes()->SetColor(clRed);
    CHARFORMATW cf = SelFormat(r);
    EXPECT_EQ(cf.yOffset, 40);
    EXPECT_TRUE(cf.dwMask & CFM_OFFSET);
    EXPECT_TRUE(cf.dwEffects & CFE_BOLD);
    EXPECT_EQ(cf.crTextColor, COLORREF(ColorToRGB(clRed)));
    EXPECT_EQ(r->SelAttributes()->Size(), r->DefAttributes()->Size());
    // Over mixed text the offset, bold and colour are not consistent.
    Select(r, 3, 14);
    EXPECT_EQ(r->SelText(), L"lo world\r\nSe");
    cf = SelFormat(r);
    EXPECT_EQ(cf.yOffset, 0);   // the first character's
    EXPECT_FALSE(cf.dwMask & CFM_OFFSET);
    EXPECT_FALSE(r->SelAttributes()->ConsistentAttributes().Contains(caBold));
    EXPECT_TRUE(r->SelAttributes()->ConsistentAttributes().Contains(caFace));
    // Lowered, then normal again.
    Select(r, 0, 5);
    SetOffset(r, -40);
    EXPECT_EQ(SelFormat(r).yOffset, -40);
    SetOffset(r, 0);
    EXPECT_EQ(SelFormat(r).yOffset, 0);
    // A structure of the wrong size is refused.
    CHARFORMATW small;
    small.cbSize = 8;
    small.dwMask = CFM_OFFSET;
    EXPECT_EQ(SendMessage(r->Handle(), EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&small)), FALSE);
    // Paragraph alignment of the selection's paragraphs.
    Select(r, 14, 14);
    r->Paragraph()->SetAlignment(taCenter);
    EXPECT_EQ(r->Paragraph()->Alignment(), taCenter);
    Select(r, 0, 0);
    EXPECT_EQ(r->Paragraph()->Alignment(), taLeftJustify);
    // The whole selection and the "no selection" forms of EM_EXSETSEL.
    Select(r, 0, -1);
    EXPECT_EQ(Sel(r).cpMax, 18);
    Select(r, -1, 0);
    EXPECT_EQ(Sel(r).cpMin, 18);
    EXPECT_EQ(Sel(r).cpMax, 18);
}

TEST_F(RichEditControl, LinesStreamRtfAndPlainTextAndSurviveRecreation)
{
    TRichEdit* r = NewRich();
    LoadRtf(r, "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}{\\colortbl;\\red0\\green0\\blue255;}"
               "\\f0\\fs24 plain \\b bold\\b0  \\cf1 blue\\cf0  x\\super 2\\nosupersub\\par\\qc\\f1 centred}");
    EXPECT_EQ(r->Text(), L"plain bold blue x2\r\ncentred");
    EXPECT_EQ(r->Lines()->Count(), 2);
    Select(r, 6, 10);
    EXPECT_TRUE(r->SelAttributes()->Style().Contains(fsBold));
    EXPECT_EQ(r->SelAttributes()->Size(), 12);
    Select(r, 11, 15);
    EXPECT_EQ(r->SelAttributes()->Color(), TColor(0xFF0000));
    Select(r, 17, 18);
    CHARFORMATW cf = SelFormat(r);
    EXPECT_TRUE(cf.dwEffects & CFE_SUPERSCRIPT);
    Select(r, 20, 20);
    EXPECT_EQ(r->Paragraph()->Alignment(), taCenter);
    EXPECT_EQ(r->SelAttributes()->Name(), L"Courier New");

    // Saved and read back: the same document.
    const std::string rtf = Rtf(r);
    ASSERT_TRUE(IsRtf(rtf));
    TRichDocument back;
    ReadRtf(rtf, back);
    EXPECT_EQ(back.Text(), L"plain bold blue x2\r\ncentred");
    EXPECT_EQ(back.Paragraphs()[1].Alignment, paCenter);

    // Re-creating the window (word wrap) keeps content, formats and selection.
    Select(r, 6, 10);
    r->SetModified(true);
    r->SetWordWrap(false);
    r->HandleNeeded();
    EXPECT_EQ(r->Text(), L"plain bold blue x2\r\ncentred");
    EXPECT_EQ(Sel(r).cpMin, 6);
    EXPECT_EQ(Sel(r).cpMax, 10);
    EXPECT_TRUE(r->SelAttributes()->Style().Contains(fsBold));
    EXPECT_TRUE(r->Modified());

    // Plain text both ways; RTF-looking bytes stay text.
    r->SetPlainText(true);
    EXPECT_EQ(Rtf(r), "plain bold blue x2\r\ncentred");
    LoadRtf(r, "{\\rtf1 not parsed}");
    EXPECT_EQ(r->Text(), L"{\\rtf1 not parsed}");
    // Without PlainText, text that is not RTF loads as text.
    r->SetPlainText(false);
    LoadRtf(r, "just text\nline two");
    EXPECT_EQ(r->Lines()->Count(), 2);
    EXPECT_EQ(r->Lines()->Strings(1), L"line two");

    // Lines editing keeps the paragraph model.
    r->Lines()->Clear();
    r->Lines()->Add(L"one");
    r->Lines()->Add(L"two");
    r->Lines()->Insert(1, L"between");
    r->Lines()->Delete(0);
    r->Lines()->SetStrings(1, L"TWO");
    EXPECT_EQ(r->Lines()->Count(), 2);
    EXPECT_EQ(r->Lines()->Strings(0), L"between");
    EXPECT_EQ(r->Lines()->Strings(1), L"TWO");
}

TEST_F(RichEditControl, KeysMouseAndTheirNotifications)
{
    TRichEdit* r = NewRich(300, 100);
    int changes = 0, selChanges = 0;
    r->OnChange = [&](TObject*) { ++changes; };
    r->OnSelectionChange = [&](TObject*) { ++selChanges; };
    r->SetFocus();
    Type(r, L"abc def");
    EXPECT_EQ(changes, 7);
    EXPECT_GE(selChanges, 7);
    // The typing format set on an empty selection reaches the next character.
    r->SelAttributes()->SetStyle(TFontStyles{fsBold});
    Type(r, L"X");
    Select(r, 7, 8);
    EXPECT_TRUE(r->SelAttributes()->Style().Contains(fsBold));
    Select(r, 6, 7);
    EXPECT_FALSE(r->SelAttributes()->Style().Contains(fsBold));
    // Enter splits the paragraph, Backspace joins it again.
    Select(r, 3, 3);
    Type(r, L"\r");
    EXPECT_EQ(r->Text(), L"abc\r\n defX");
    EXPECT_EQ(r->SelStart(), 4);
    Type(r, L"\b");
    EXPECT_EQ(r->Text(), L"abc defX");

    struct Step {
        Word vk;
        bool shift, ctrl;
        LONG a, b;
    };
    const Step steps[] = {
        {VK_HOME, false, false, 0, 0},
        {VK_RIGHT, true, false, 0, 1},
        {VK_RIGHT, true, true, 0, 4},
        {VK_RIGHT, false, false, 4, 4},
        {VK_END, false, false, 8, 8},
        {VK_LEFT, false, true, 4, 4},
        {VK_DELETE, false, false, 4, 4},
        {VK_HOME, false, true, 0, 0},
    };
    for (const Step& s : steps) {
        Press(s.vk, s.shift, s.ctrl);
        EXPECT_EQ(Sel(r).cpMin, s.a) << s.vk;
        EXPECT_EQ(Sel(r).cpMax, s.b) << s.vk;
    }
    EXPECT_EQ(r->Text(), L"abc efX");

    // Mouse: click, drag, shift-click, double-click a word (fixed cells).
    HWND h = r->Handle();
    auto at = [](int ch) { return MAKELPARAM(1 + ch * kCell + 1, 5); };
    SendMessage(h, WM_LBUTTONDOWN, MK_LBUTTON, at(2));
    SendMessage(h, WM_MOUSEMOVE, MK_LBUTTON, at(5));
    SendMessage(h, WM_LBUTTONUP, 0, at(5));
    EXPECT_EQ(Sel(r).cpMin, 2);
    EXPECT_EQ(Sel(r).cpMax, 5);
    SendMessage(h, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, at(7));
    SendMessage(h, WM_LBUTTONUP, 0, at(7));
    EXPECT_EQ(Sel(r).cpMin, 2);
    EXPECT_EQ(Sel(r).cpMax, 7);
    SendMessage(h, WM_LBUTTONDBLCLK, MK_LBUTTON, at(5));
    EXPECT_EQ(r->SelText(), L"efX");

    // Read-only refuses typing; the clipboard copies and pastes text.
    SetClipboardText(L"");
    SendMessage(h, WM_COPY, 0, 0);
    String clip;
    GetClipboardText(clip);
    EXPECT_EQ(clip, L"efX");
    r->SetReadOnly(true);
    Type(r, L"zz");
    EXPECT_EQ(r->Text(), L"abc efX");
    r->SetReadOnly(false);
    Select(r, 0, 0);
    SendMessage(h, WM_PASTE, 0, 0);
    EXPECT_EQ(r->Text(), L"efXabc efX");
}

TEST_F(RichEditControl, PaintsRunsInTheirColoursRaisedLoweredAndSelected)
{
    TRichEdit* r = NewRich(300, 100, L"ab cd ef");
    Select(r, 3, 5);
    r->SelAttributes()->SetColor(clRed);
    SetOffset(r, 60);   // 60 twips = 4 pixels
    Select(r, 6, 8);
    SetOffset(r, -60);
    Select(r, 0, 1);
    r->SetFocus();
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(dc, 300, 100);
    HGDIOBJ old = SelectObject(dc, bmp);
    GdiStartRecording(dc);
    SendMessage(r->Handle(), WM_PAINT, WPARAM(dc), 0);
    std::vector<TGdiRecord> texts;
    for (const TGdiRecord& g : GdiRecords(dc))
        if (g.Kind == L"TextOut" || g.Kind == L"ExtTextOut") texts.push_back(g);
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    // "a" selected, "b " plain, "cd" red and raised, " " plain, "ef" lowered.
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts[0].Text, L"a");
    EXPECT_EQ(texts[0].Color, GetSysColor(COLOR_HIGHLIGHTTEXT));
    EXPECT_EQ(texts[1].Text, L"b ");
    EXPECT_EQ(texts[1].Color, GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(texts[2].Text, L"cd");
    EXPECT_EQ(texts[2].Color, COLORREF(ColorToRGB(clRed)));
    EXPECT_EQ(texts[3].Text, L" ");
    EXPECT_EQ(texts[4].Text, L"ef");
    // One line: the raised run sets its ascent, the lowered its descent.
    EXPECT_EQ(texts[1].Rect.Left, 1 + 1 * kCell);
    EXPECT_EQ(texts[2].Rect.Left, 1 + 3 * kCell);
    EXPECT_EQ(texts[1].Rect.Top - texts[2].Rect.Top, 4);
    EXPECT_EQ(texts[4].Rect.Top - texts[1].Rect.Top, 4);
}

TEST_F(RichEditControl, HideSelectionDecidesWhetherAnUnfocusedSelectionShows)
{
    TRichEdit* r = NewRich(300, 100, L"abc def");
    Select(r, 0, 3);
    auto highlighted = [&] {
        HDC dc = CreateCompatibleDC(nullptr);
        GdiStartRecording(dc);
        SendMessage(r->Handle(), WM_PAINT, WPARAM(dc), 0);
        bool found = false;
        for (const TGdiRecord& g : GdiRecords(dc))
            found |= g.Kind == L"TextOut" && g.Color == GetSysColor(COLOR_HIGHLIGHTTEXT);
        DeleteDC(dc);
        return found;
    };
    EXPECT_FALSE(GetFocus() == r->Handle());
    EXPECT_FALSE(highlighted());
    r->SetHideSelection(false);   // re-creates the window: text and selection stay
    EXPECT_EQ(r->Text(), L"abc def");
    EXPECT_EQ(r->SelLength(), 3);
    EXPECT_TRUE(highlighted());
}

TEST_F(RichEditControl, ScrollsToTheCaretAndRequestsItsSize)
{
    TRichEdit* r = NewRich(200, 4 * kLine + 2);
    std::vector<TRect> asked;
    r->OnResizeRequest = [&](TObject*, TRect rc) { asked.push_back(rc); };
    String text;
    for (int i = 0; i < 20; ++i) text += L"line " + IntToStr(i) + (i < 19 ? L"\r\n" : L"");
    r->SetText(text);
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.back().Height(), 20 * kLine + 2);
    EXPECT_EQ(asked.back().Width(), 200);   // wrapping: the control's width
    asked.clear();
    SendMessage(r->Handle(), EM_REQUESTRESIZE, 0, 0);
    ASSERT_EQ(asked.size(), 1u);
    // Typing a new paragraph asks for one line more; typing on a line does not.
    r->SetFocus();
    Press(VK_END, false, true);
    EXPECT_EQ(SendMessage(r->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0), 16);
    asked.clear();
    Type(r, L"x");
    EXPECT_TRUE(asked.empty());
    Type(r, L"\r");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked.back().Height(), 21 * kLine + 2);
    Press(VK_HOME, false, true);
    EXPECT_EQ(SendMessage(r->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    SendMessage(r->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, Word(-WHEEL_DELTA)), 0);
    EXPECT_EQ(SendMessage(r->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0), 3);
    // Unwrapped, the request is the widest line's width.
    r->SetWordWrap(false);
    r->HandleNeeded();
    r->SetText(L"short\r\nthe longest line");
    asked.clear();
    SendMessage(r->Handle(), EM_REQUESTRESIZE, 0, 0);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked.back().Width(), 16 * kCell + 2);
    EXPECT_EQ(asked.back().Height(), 2 * kLine + 2);
}

TEST_F(RichEditControl, HiddenControlConvertsRichTextToPlainText)
{
    TRichEdit* r = NewRich(0, 0);
    r->SetVisible(false);
    LoadRtf(r, "{\\rtf1 caf\\'e9 {\\b na\\u239?ve}\\par two}");
    EXPECT_EQ(r->Text(), L"caf\u00e9 na\u00efve\r\ntwo");
    EXPECT_FALSE(IsWindowVisible(r->Handle()));
}

// ---------------------------------------------------------------------------
// Printing

std::string RunPdfToText(const std::string& pdf)
{
    std::string out;
    FILE* p = popen(("pdftotext -layout '" + pdf + "' - 2>/dev/null").c_str(), "r");
    if (!p) return out;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    pclose(p);
    return out;
}

TEST_F(RichEditControl, FormatRangePrintsPageByPageToPdf)
{
    // Real fonts: the PDF's text is read back.
    SetFixedMetricsFonts(false);
    TRichEdit* r = NewRich(300, 100);
    String text;
    for (int i = 1; i <= 120; ++i) text += L"Row " + IntToStr(i) + L" of the printed text" + (i < 120 ? L"\r\n" : L"");
    r->SetText(text);
    Select(r, 0, 3);
    r->SelAttributes()->SetStyle(TFontStyles{fsBold});
    const LONG len = LONG(r->Text().size()) - 119;   // positions count a paragraph end once

    char tmpl[] = "/tmp/vel_richprint_XXXXXX";
    const std::string dir = mkdtemp(tmpl);
    const std::string pdf = dir + "/rich.pdf";
    HDC dc = CreatePdfPrinterDC();
    DOCINFOW di;
    const String out = UTF8ToString(pdf);
    di.lpszOutput = out.c_str();
    ASSERT_GT(StartDoc(dc, &di), 0);
    FORMATRANGE fr;
    fr.hdc = fr.hdcTarget = dc;
    // A4 with an inch of margin all round, in twips.
    fr.rcPage = TRect{0, 0, 11906, 16838};
    fr.rc = TRect{1440, 1440, 11906 - 1440, 16838 - 1440};
    fr.chrg = CHARRANGE{0, -1};
    std::vector<LONG> starts;
    while (fr.chrg.cpMin < len && starts.size() < 20) {
        starts.push_back(fr.chrg.cpMin);
        StartPage(dc);
        const LONG next = LONG(SendMessage(r->Handle(), EM_FORMATRANGE, 1, LPARAM(&fr)));
        EndPage(dc);
        ASSERT_GT(next, fr.chrg.cpMin);
        fr.chrg.cpMin = next;
    }
    SendMessage(r->Handle(), EM_FORMATRANGE, 0, 0);
    ASSERT_GT(EndDoc(dc), 0);
    DeleteDC(dc);
    EXPECT_EQ(fr.chrg.cpMin, len);
    // 120 rows of 10 points (about 0.16 inch) on 9.7 inches of page: two pages.
    EXPECT_EQ(starts.size(), 2u);

    const std::string txt = RunPdfToText(pdf);
    std::filesystem::remove_all(dir);
    ASSERT_FALSE(txt.empty());
    size_t at = 0;
    int pages = 1;
    for (int i = 1; i <= 120; ++i) {
        const std::string row = "Row " + std::to_string(i) + " of the printed text";
        const size_t f = txt.find(row, at);
        ASSERT_NE(f, std::string::npos) << row;
        pages += int(std::count(txt.begin() + std::ptrdiff_t(at), txt.begin() + std::ptrdiff_t(f), '\f'));
        at = f + row.size();
        EXPECT_EQ(txt.find(row + "\n", at), std::string::npos) << "printed twice: " << row;
    }
    EXPECT_EQ(pages, 2);

    // Measuring without drawing answers the same page break and draws nothing.
    HDC mem = CreateCompatibleDC(nullptr);
    GdiStartRecording(mem);
    fr.hdc = fr.hdcTarget = mem;
    fr.chrg = CHARRANGE{0, -1};
    fr.rc = TRect{0, 0, 1440 * 2, 1440};   // two inches by one at 96 dpi
    const LONG next = LONG(SendMessage(r->Handle(), EM_FORMATRANGE, 0, LPARAM(&fr)));
    EXPECT_GT(next, 0);
    EXPECT_LT(next, len);
    EXPECT_TRUE(GdiRecords(mem).empty());
    // A range that starts and ends inside a line draws its characters only.
    fr.chrg = CHARRANGE{4, 9};
    fr.rc = TRect{0, 0, 1440 * 8, 1440 * 8};
    EXPECT_EQ(SendMessage(r->Handle(), EM_FORMATRANGE, 1, LPARAM(&fr)), 9);
    String drawn;
    for (const TGdiRecord& g : GdiRecords(mem))
        if (g.Kind == L"TextOut") drawn += g.Text;
    EXPECT_EQ(drawn, L"1 of ");
    DeleteDC(mem);
}

// ---------------------------------------------------------------------------
// Outside input and random editing

TEST_F(RichEditControl, StreamInSurvivesRandomBytesAndCallbackErrors)
{
    TRichEdit* r = NewRich();
    std::mt19937 rng(7);
    for (int round = 0; round < 200; ++round) {
        std::string bytes = "{\\rtf1";
        const int n = int(rng() % 300);
        const char alphabet[] = "{}\\'\\u-0123456789abcdefrtfparbiuqc; \n\xe9\xff";
        for (int i = 0; i < n; ++i) bytes += alphabet[rng() % (sizeof alphabet - 1)];
        LoadRtf(r, bytes);
        const LONG len = LONG(SendMessage(r->Handle(), WM_GETTEXTLENGTH, 0, 0));
        EXPECT_GE(len, 0);
        Select(r, 0, -1);
        EXPECT_LE(Sel(r).cpMax, len);
        // Painting and printing whatever was read.
        HDC dc = CreateCompatibleDC(nullptr);
        SendMessage(r->Handle(), WM_PAINT, WPARAM(dc), 0);
        FORMATRANGE fr;
        fr.hdc = fr.hdcTarget = dc;
        fr.rc = TRect{0, 0, 1440, 1440};
        fr.chrg = CHARRANGE{0, -1};
        SendMessage(r->Handle(), EM_FORMATRANGE, 1, LPARAM(&fr));
        DeleteDC(dc);
    }
    // A callback that fails stops the read and reports its error.
    EDITSTREAM es;
    es.pfnCallback = [](UINT_PTR, Byte*, LONG, LONG* pcb) -> DWORD {
        *pcb = 0;
        return 5;
    };
    SendMessage(r->Handle(), EM_STREAMIN, SF_RTF, LPARAM(&es));
    EXPECT_EQ(es.dwError, 5u);
    // One that claims more than the buffer holds is held to the buffer.
    es.dwError = 0;
    static int calls;
    calls = 0;
    es.pfnCallback = [](UINT_PTR, Byte* buf, LONG cb, LONG* pcb) -> DWORD {
        std::fill_n(buf, cb, Byte('a'));
        *pcb = calls++ ? 0 : cb * 4;
        return 0;
    };
    SendMessage(r->Handle(), EM_STREAMIN, SF_TEXT, LPARAM(&es));
    EXPECT_EQ(r->Text().size(), 4096u);
}

TEST_F(RichEditControl, RandomEditingKeepsTheSelectionInsideTheText)
{
    TRichEdit* r = NewRich(120, 60, L"start");
    r->SetFocus();
    HWND h = r->Handle();
    std::mt19937 rng(11);
    const Word keys[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_HOME, VK_END, VK_PRIOR, VK_NEXT, VK_DELETE, VK_BACK};
    for (int i = 0; i < 1500; ++i) {
        switch (rng() % 6) {
        case 0: SendMessage(h, WM_CHAR, WPARAM(L"ab \r\t.xyz"[rng() % 9]), 0); break;
        case 1: Press(keys[rng() % 10], rng() % 2 != 0); break;
        case 2: Select(r, LONG(rng() % 80) - 5, LONG(rng() % 80) - 5); break;
        case 3: {
            CHARFORMATW cf;
            cf.dwMask = CFM_OFFSET | CFM_BOLD | CFM_SIZE;
            cf.yOffset = LONG(rng() % 200) - 100;
            cf.dwEffects = rng() % 2 ? DWORD(CFE_BOLD) : 0u;
            cf.yHeight = LONG(rng() % 600);
            SendMessage(h, EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&cf));
            break;
        }
        case 4: SendMessage(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rng() % 120, rng() % 60)); break;
        default: SendMessage(h, WM_LBUTTONUP, 0, 0); break;
        }
        const LONG len = LONG(r->Text().size());
        const CHARRANGE cr = Sel(r);
        ASSERT_LE(0, cr.cpMin);
        ASSERT_LE(cr.cpMin, cr.cpMax);
        ASSERT_LE(cr.cpMax, len);
    }
    HDC dc = CreateCompatibleDC(nullptr);
    SendMessage(h, WM_PAINT, WPARAM(dc), 0);
    DeleteDC(dc);
}

}  // namespace
