// The common controls as their control objects show them: a control's class
// procedure paints into the DC its control object began the paint with, and
// what was set on the object before its window existed shows the same as
// what is set after.
#include <gtest/gtest.h>

#include <functional>

#include "platform/base/SysUtils.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/ComCtrls_Bars.h"
#include "platform/ui/Forms.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Headless.h"

namespace {

struct TControlCase {
    const char* Name;
    const wchar_t* WindowClass;
    TSize Size;
    std::function<TWinControl*(TComponent*)> Make;
    std::function<void(TWinControl*)> Configure;
};

const TDateTime kNow = EncodeDateTime(2024, 3, 14, 9, 30, 15, 0);

const TControlCase kCases[] = {
    {"list view with rows", WC_LISTVIEW, {300, 110},
     [](TComponent* o) -> TWinControl* { return new TListView(o); },
     [](TWinControl* c) {
         auto* v = static_cast<TListView*>(c);
         v->SetViewStyle(vsReport);
         v->SetGridLines(true);
         v->SetRowSelect(true);
         v->SetHideSelection(false);
         for (auto [caption, width] : {std::pair{L"Video", 150}, {L"Size", 70}}) {
             TListColumn* col = v->Columns()->Add();
             col->SetCaption(caption);
             col->SetWidth(width);
         }
         for (int i = 1; i <= 3; ++i) {
             TListItem* it = v->Items()->Add();
             it->SetCaption(L"Row " + IntToStr(i));
             it->SubItems()->Add(IntToStr(i * 10) + L" Mb");
         }
         v->Items()->Item(1)->SetSelected(true);
     }},
    {"scroll bar", L"SCROLLBAR", {200, 18},
     [](TComponent* o) -> TWinControl* { return new TScrollBar(o); },
     [](TWinControl* c) {
         auto* b = static_cast<TScrollBar*>(c);
         b->SetMax(100);
         b->SetPageSize(20);
         b->SetPosition(30);
     }},
    {"track bar", TRACKBAR_CLASS, {200, 40},
     [](TComponent* o) -> TWinControl* { return new TTrackBar(o); },
     [](TWinControl* c) {
         auto* t = static_cast<TTrackBar*>(c);
         t->SetMax(10);
         t->SetPosition(4);
     }},
    {"up-down", UPDOWN_CLASS, {17, 30},
     [](TComponent* o) -> TWinControl* { return new TUpDown(o); },
     [](TWinControl* c) { static_cast<TUpDown*>(c)->SetPosition(5); }},
    {"date picker", DATETIMEPICK_CLASS, {150, 22},
     [](TComponent* o) -> TWinControl* { return new TDateTimePicker(o); },
     [](TWinControl* c) { static_cast<TDateTimePicker*>(c)->SetDateTime(EncodeDateTime(2023, 11, 5, 0, 0, 0, 0)); }},
    {"time picker", DATETIMEPICK_CLASS, {120, 22},
     [](TComponent* o) -> TWinControl* { return new TDateTimePicker(o); },
     [](TWinControl* c) {
         auto* p = static_cast<TDateTimePicker*>(c);
         p->SetKind(dtkTime);
         p->SetDateTime(EncodeDateTime(2023, 11, 5, 17, 45, 30, 0));
     }},
};

class ComCtrlsPaintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Drv = std::make_unique<THeadlessDriver>();
        Drv->SetNow(kNow);
        InitForms();
    }
    void TearDown() override
    {
        DoneForms();
        Drv.reset();
    }
    // A borderless form, still loading (no windows yet), as a form's
    // constructor builds its controls.
    TForm* NewForm()
    {
        auto* f = new TForm(Application);
        f->SetBorderStyle(bsNone);
        f->SetBounds(20, 20, 400, 300);
        return f;
    }
    TWinControl* Place(TForm* f, const TControlCase& c, int x, int y)
    {
        TWinControl* w = c.Make(f);
        w->SetParent(f);
        w->SetBounds(x, y, c.Size.cx, c.Size.cy);
        // No focus marks: the two pictures compared differ in nothing else.
        w->SetTabStop(false);
        return w;
    }
    std::vector<uint32_t> Pixels(HWND h)
    {
        std::vector<uint32_t> px;
        int w = 0, hh = 0;
        EXPECT_TRUE(Drv->CaptureWindow(h, px, w, hh));
        return px;
    }
    std::unique_ptr<THeadlessDriver> Drv;
};

}  // namespace

TEST_F(ComCtrlsPaintTest, EachControlShowsWhatItsWindowClassDraws)
{
    // Before the fix the control object began the paint and its class
    // procedure began another one, with nothing left to paint: the control
    // stayed an empty (or black) box.
    for (const TControlCase& c : kCases) {
        TForm* f = NewForm();
        TWinControl* ctl = Place(f, c, 10, 10);
        c.Configure(ctl);
        f->Init();
        f->Show();
        std::vector<uint32_t> shown = Pixels(ctl->Handle());

        // The class procedure paints the window once more on its own.
        WNDCLASS wc;
        ASSERT_TRUE(GetClassInfo(nullptr, c.WindowClass, &wc)) << c.Name;
        InvalidateRect(ctl->Handle(), nullptr, FALSE);
        CallWindowProc(wc.lpfnWndProc, ctl->Handle(), WM_PAINT, 0, 0);
        std::vector<uint32_t> own = Pixels(ctl->Handle());
        EXPECT_EQ(shown, own) << c.Name;
        EXPECT_NE(std::count(own.begin(), own.end(), own[own.size() / 2]), std::ptrdiff_t(own.size()))
            << c.Name << " draws something";
        delete f;
    }
}

TEST_F(ComCtrlsPaintTest, StateSetBeforeTheWindowExistsShowsAsStateSetAfter)
{
    for (const TControlCase& c : kCases) {
        TForm* f = NewForm();
        TWinControl* before = Place(f, c, 10, 10);
        TWinControl* after = Place(f, c, 10, 150);
        c.Configure(before);
        f->Init();
        f->Show();
        ASSERT_TRUE(before->HandleAllocated() && after->HandleAllocated()) << c.Name;
        c.Configure(after);
        EXPECT_EQ(Pixels(before->Handle()), Pixels(after->Handle())) << c.Name;
        delete f;
    }
}
