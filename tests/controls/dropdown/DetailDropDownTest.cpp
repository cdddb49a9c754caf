// The detail drop-down: completion while typing, Enter and Esc, the
// window-level keys open and closed, the wheel, choosing and cancelling.
#include "tests/controls/dropdown/DropDownTestSupport.h"

#include "controls/dropdown/DetailDropDown.h"

namespace {

class DetailDropDown : public DropDownFormTest {
protected:
    TVodDetailDropDown* MakeDetail(std::initializer_list<const wchar_t*> captions)
    {
        auto* d = Make<TVodDetailDropDown>(20, 40, 200);
        for (auto* c : captions) {
            TDetailItem* it = d->Items()->Add();
            it->SetCaption(c);
            it->SetNotes(String(L"<i>about</i> ") + c);
        }
        d->OnSelect = [this](TObject*) { ++Selects; };
        return d;
    }
    Integer SelStart(TVodCustomDropDown* d)
    {
        DWORD a = 0, b = 0;
        SendMessage(d->Handle(), EM_GETSEL, WPARAM(&a), LPARAM(&b));
        return Integer(a);
    }
    Integer SelEnd(TVodCustomDropDown* d)
    {
        DWORD a = 0, b = 0;
        SendMessage(d->Handle(), EM_GETSEL, WPARAM(&a), LPARAM(&b));
        return Integer(b);
    }
    int Selects = 0;
};

}  // namespace

TEST_F(DetailDropDown, TypingCompletesFromTheCaptionsWithoutSelecting)
{
    String longCaption = L"Ab" + String(300, L'x');
    auto* d = MakeDetail({L"Apple", L"Apricot", L"Banana", longCaption.c_str()});
    ShowForm();
    struct {
        bool MatchCase;
        const wchar_t* Typed;
        const wchar_t* Text;
        Integer Index;
        Integer SelStart, SelEnd;
    } cases[] = {
        {false, L"Ap", L"Apple", 0, 2, 5},      // the first match, tail selected
        {false, L"Apr", L"Apricot", 1, 3, 7},
        {false, L"ap", L"apple", 0, 2, 5},      // the typed letters kept
        {true, L"ap", L"ap", -1, 2, 2},         // case counts: no match
        {false, L"Bx", L"Bx", -1, 2, 2},        // no match: the typed part stays
        {false, L"Ab", nullptr, 3, 2, 2 + 255},  // at most 255 characters of tail
    };
    for (auto& c : cases) {
        d->SetItemIndex(-1);
        d->SetMatchCase(c.MatchCase);
        Selects = 0;
        Type(d, c.Typed);
        if (c.Text)
            EXPECT_EQ(d->EditText(), c.Text) << c.Typed;
        else
            EXPECT_EQ(d->EditText(), L"Ab" + String(255, L'x'));
        if (c.Index >= 0) EXPECT_EQ(d->ItemIndex(), c.Index) << c.Typed;
        EXPECT_EQ(SelStart(d), c.SelStart) << c.Typed;
        EXPECT_EQ(SelEnd(d), c.SelEnd) << c.Typed;
        EXPECT_EQ(Selects, 0) << c.Typed;  // a completion fires no OnSelect
        d->SetText(String());
    }
}

TEST_F(DetailDropDown, BackspaceStopsCompletingUntilTheNextLetterAndEnterTakesAnExactCaption)
{
    auto* d = MakeDetail({L"Apple", L"Apricot"});
    ShowForm();
    Type(d, L"Ap");
    ASSERT_EQ(d->EditText(), L"Apple");
    Drv->PressKey(VK_BACK);
    Drv->Pump();
    EXPECT_EQ(d->EditText(), L"Ap");
    Type(d, L"r");
    EXPECT_EQ(d->EditText(), L"Apricot");

    // Enter on an exact caption selects it (and fires OnSelect).
    d->SetItemIndex(-1);
    Selects = 0;
    Drv->PressKey(VK_DELETE);  // completion off while the text is set
    d->SetEditText(L"Apple");
    Drv->PressKey(VK_RETURN);
    Drv->Pump();
    EXPECT_EQ(d->ItemIndex(), 0);
    EXPECT_EQ(Selects, 1);
}

TEST_F(DetailDropDown, ItemIndexAndTheSelectMethods)
{
    auto* d = MakeDetail({L"One", L"Two", L"Three"});
    d->SetItemIndex(1);
    EXPECT_EQ(d->Text(), L"Two");
    EXPECT_EQ(Selects, 1);
    d->SetItemIndex(1);  // the same: nothing
    d->SetItemIndex(3);  // past the end: ignored
    EXPECT_EQ(Selects, 1);
    EXPECT_EQ(d->ItemIndex(), 1);
    d->SetItemIndex(-1);
    EXPECT_EQ(d->Text(), L"");
    EXPECT_EQ(Selects, 1);
    d->SelectPrevious();  // from none: the first
    EXPECT_EQ(d->ItemIndex(), 0);
    d->SelectPrevious();
    EXPECT_EQ(d->ItemIndex(), 0);
    d->SelectLast();
    d->SelectNext();
    EXPECT_EQ(d->ItemIndex(), 2);
    EXPECT_EQ(Selects, 3);
    EXPECT_EQ(d->Items()->IndexOf(L"three"), -1);
    EXPECT_EQ(d->Items()->IndexOf(L"Three"), 2);
}

TEST_F(DetailDropDown, KeysAndWheelOpenAndClosedAndCancelRestores)
{
    auto* d = MakeDetail({L"One", L"Two", L"Three", L"Four", L"Five", L"Six", L"Seven", L"Eight"});
    ShowForm();
    d->SetFocus();
    // Closed: Up and Down step the choice (OnSelect each time); the wheel too.
    SendMessage(d->Handle(), WM_KEYDOWN, VK_DOWN, 0);
    SendMessage(d->Handle(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(d->ItemIndex(), 1);
    SendMessage(d->Handle(), WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(d->ItemIndex(), 0);
    EXPECT_EQ(Selects, 3);
    Drv->Wheel(At(d, 20, 10), -120);
    Drv->Pump();
    EXPECT_EQ(d->ItemIndex(), 1);

    // Open: the keys move the selector and the choice, the window stays.
    d->ShowDropDown();
    Drv->Pump();
    ASSERT_TRUE(d->DroppedDown());
    TVodCustomItemSelector* s = d->ItemSelector();
    EXPECT_EQ(s->ItemIndex(), 1);
    EXPECT_EQ(s->Parent(), d->DropDownForm());
    // Rows as tall as ItemHeight, as wide as the window allows.
    EXPECT_EQ(s->SelectorPanel()->GetItemRect(0).Height(), 22);
    SendMessage(d->Handle(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(d->ItemIndex(), 2);
    EXPECT_TRUE(d->DroppedDown());
    SendMessage(d->Handle(), WM_KEYDOWN, VK_NEXT, 0);
    EXPECT_EQ(d->ItemIndex(), std::min(2 + s->GetVisibleItemCount(), 7));
    SendMessage(d->Handle(), WM_KEYDOWN, VK_END, 0);
    EXPECT_EQ(d->ItemIndex(), 7);
    SendMessage(d->Handle(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(d->ItemIndex(), 7);  // no wrap, no move past the end
    Drv->Wheel(At(s, 20, 10), 120);
    Drv->Pump();
    EXPECT_EQ(d->ItemIndex(), 6);
    EXPECT_TRUE(d->DroppedDown());
    // Esc restores the item the window opened with.
    SendMessage(d->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    Drv->Pump();
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_EQ(d->ItemIndex(), 1);
    EXPECT_EQ(d->Text(), L"Two");

    // A click on a row takes it and closes the window.
    d->ShowDropDown();
    Drv->Pump();
    TCustomItemSelector* p = s->SelectorPanel();
    TPoint at = p->ScreenToClient(At(s, 20, 30));
    Integer row = p->ItemAtPos(at.X, at.Y);
    ASSERT_GE(row, 0);
    Drv->Click(At(s, 20, 30));
    Drv->Pump();
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_EQ(d->ItemIndex(), row);
    EXPECT_EQ(d->Text(), d->Items()->Items(row)->Caption());
}

TEST_F(DetailDropDown, TypeAheadOnADisabledEditorWithItsTimer)
{
    auto* d = MakeDetail({L"Red", L"Green", L"Grey", L"Blue"});
    d->SetEditorEnabled(false);
    ShowForm();
    d->SetFocus();
    d->ShowDropDown();
    Drv->Pump();
    SendMessage(d->Handle(), WM_KEYDOWN, 'G', 0);
    SendMessage(d->Handle(), WM_KEYDOWN, 'R', 0);
    SendMessage(d->Handle(), WM_KEYDOWN, 'E', 0);
    SendMessage(d->Handle(), WM_KEYDOWN, 'Y', 0);
    EXPECT_EQ(d->SearchText(), L"GREY");
    EXPECT_EQ(d->ItemIndex(), 2);
    EXPECT_TRUE(d->DroppedDown());
    Drv->Advance(600);
    Drv->Pump();
    EXPECT_EQ(d->SearchText(), L"");
    SendMessage(d->Handle(), WM_KEYDOWN, 'B', 0);
    EXPECT_EQ(d->ItemIndex(), 3);
    d->HideDropDown(false);
}

TEST_F(DetailDropDown, RowsShowCaptionAndNotes)
{
    auto* d = MakeDetail({L"First", L"Second"});
    d->CaptionFont()->SetColor(TColor(0x0000FF));
    d->NotesFont()->SetColor(TColor(0x00A000));
    ShowForm();
    d->ShowDropDown();
    Drv->Pump();
    TCustomItemSelector* p = d->ItemSelector()->SelectorPanel();
    TRect r = p->GetItemRect(1);
    // Caption on the first line in its font colour, notes below in theirs.
    std::vector<uint32_t> px;
    int w = 0, h = 0;
    Drv->CaptureWindow(p->Handle(), px, w, h);
    auto any = [&](int top, int bottom, uint32_t rgb) {
        for (int y = std::max(top, 0); y < std::min(bottom, h); ++y)
            for (int x = r.Left; x < std::min(int(r.Right), w); ++x)
                if ((px[size_t(y) * size_t(w) + size_t(x)] & 0xFFFFFF) == rgb) return true;
        return false;
    };
    EXPECT_TRUE(any(r.Top, r.Top + 18, 0xFF0000u));
    EXPECT_FALSE(any(r.Top + 18, r.Bottom, 0xFF0000u));
    d->SetItemHeight(40);
    d->HideDropDown(false);
    d->ShowDropDown();
    Drv->Pump();
    r = p->GetItemRect(1);
    Drv->CaptureWindow(p->Handle(), px, w, h);
    EXPECT_TRUE(any(r.Top + 18, r.Bottom, 0x00A000u));
}
