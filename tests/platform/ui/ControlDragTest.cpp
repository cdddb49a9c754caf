// The control drag between controls of the process, the 3D look flag and
// painting a control into another device context.
#include <gtest/gtest.h>

#include "platform/base/SysUtils.h"
#include "platform/gfx/Gdi.h"
#include "platform/ui/ComCtrls_Bars.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Headless.h"

namespace {

class ControlDragTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Drv = std::make_unique<THeadlessDriver>();
        InitForms();
        Form = new TForm(Application);
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(0, 0, 400, 200);
        Source = NewPanel(10, 10);
        Target = NewPanel(200, 10);
        Form->Init();
        Form->Show();
        Source->OnEndDrag = [this](TObject*, TObject* t, Integer x, Integer y) {
            Log.push_back(L"end " + String(t == Target ? L"target" : t ? L"other" : L"none") + L" " + IntToStr(x) +
                          L"," + IntToStr(y));
        };
        Source->OnClick = [this](TObject*) { Log.push_back(L"click"); };
        Target->OnDragOver = [this](TObject*, TObject* src, Integer x, Integer y, TDragState st, bool& accept) {
            static const wchar_t* names[] = {L"enter", L"leave", L"move"};
            Log.push_back(String(names[st]) + L" " + IntToStr(x) + L"," + IntToStr(y));
            accept = src == Source && Accepting;
        };
        Target->OnDragDrop = [this](TObject*, TObject* src, Integer x, Integer y) {
            Log.push_back(L"drop " + String(src == Source ? L"source" : L"?") + L" " + IntToStr(x) + L"," + IntToStr(y));
        };
    }
    void TearDown() override
    {
        DoneForms();
        Drv.reset();
    }
    TPanel* NewPanel(int x, int y)
    {
        auto* p = new TPanel(Form);
        p->SetParent(Form);
        p->SetBounds(x, y, 100, 100);
        return p;
    }
    std::unique_ptr<THeadlessDriver> Drv;
    TForm* Form = nullptr;
    TPanel* Source = nullptr;
    TPanel* Target = nullptr;
    bool Accepting = true;
    std::vector<String> Log;
};

}  // namespace

TEST_F(ControlDragTest, ADragTellsTheTargetEnterMoveLeaveThenDropsAndEnds)
{
    Source->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, Integer, Integer) { Source->BeginDrag(false); };
    Drv->MouseDown({50, 50});
    EXPECT_TRUE(Source->Dragging());
    Drv->MouseMove({52, 51});  // under the threshold: nothing yet
    EXPECT_TRUE(Log.empty());
    Drv->MouseMove({150, 50});  // over the form, which refuses
    Drv->MouseMove({220, 30});
    Drv->MouseMove({230, 40});
    Drv->MouseUp({230, 40});
    EXPECT_FALSE(Source->Dragging());
    EXPECT_EQ(Log, (std::vector<String>{L"enter 20,20", L"move 30,30", L"leave 30,30", L"drop source 30,30",
                                        L"end target 30,30"}));
}

TEST_F(ControlDragTest, ARefusedOrCancelledDragDropsNothing)
{
    Accepting = false;
    Source->SetDragMode(dmAutomatic);
    Drv->MouseDown({50, 50});
    Drv->MouseMove({220, 30});
    Drv->MouseMove({300, 150});  // leaves the target for the form, which refuses (form coordinates)
    Drv->MouseUp({300, 150});
    EXPECT_EQ(Log, (std::vector<String>{L"enter 20,20", L"leave 100,140", L"end none 300,150"}));

    // Escape ends the drag without a drop.
    Log.clear();
    Accepting = true;
    Drv->MouseDown({50, 50});
    Drv->MouseMove({220, 30});
    Source->Perform(WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(Source->Dragging());
    EXPECT_EQ(Log, (std::vector<String>{L"enter 20,20", L"leave 20,20", L"end none 20,20"}));
    EXPECT_EQ(GetCapture(), nullptr);

    // A press and release within the threshold is no drag at all.
    Log.clear();
    Source->SetDragMode(dmManual);
    Source->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, Integer, Integer) { Source->BeginDrag(false, 10); };
    Drv->MouseDown({50, 50});
    Drv->MouseMove({55, 55});
    Drv->MouseUp({55, 55});
    EXPECT_FALSE(Source->Dragging());
    EXPECT_EQ(Log, std::vector<String>{L"click"});
}

TEST_F(ControlDragTest, StartDragHandsOutTheDragObjectAndImmediateStartsAtOnce)
{
    TDragObject carried;
    Source->OnStartDrag = [&](TObject*, TDragObject*& obj) { obj = &carried; };
    TObject* seen = nullptr;
    Target->OnDragOver = [&](TObject*, TObject* src, Integer, Integer, TDragState, bool& accept) {
        seen = src;
        accept = true;
    };
    Drv->MouseMove({220, 30});
    Source->BeginDrag(true);
    EXPECT_EQ(seen, &carried);
    Source->EndDrag(false);
    EXPECT_FALSE(Source->Dragging());
    EXPECT_EQ(Log, std::vector<String>{L"end none 20,20"});
    // A control freed mid-drag is forgotten.
    Source->BeginDrag(true);
    delete Target;
    Target = nullptr;
    Drv->MouseMove({230, 30});
    Drv->MouseUp({230, 30});
    EXPECT_FALSE(Source->Dragging());
}

TEST_F(ControlDragTest, Ctl3DFollowsTheParentUntilSetOwn)
{
    EXPECT_TRUE(Source->Ctl3D());
    Form->SetCtl3D(false);
    EXPECT_FALSE(Source->Ctl3D());
    Source->SetCtl3D(true);
    EXPECT_FALSE(Source->ParentCtl3D());
    EXPECT_TRUE(Source->Ctl3D());
    Source->SetParentCtl3D(true);
    EXPECT_FALSE(Source->Ctl3D());
    EXPECT_FALSE(IsCustomStyleActive());
    EXPECT_EQ(ActiveStyleName(), L"Windows");
}

TEST_F(ControlDragTest, PaintToDrawsWhatTheWindowShows)
{
    auto* bar = new TScrollBar(Form);
    bar->SetParent(Form);
    bar->SetBounds(10, 150, 200, 18);
    bar->SetMax(100);
    bar->SetPageSize(20);
    bar->SetPosition(40);
    UpdateWindow(Form->Handle());
    std::vector<uint32_t> shown;
    int w = 0, h = 0;
    ASSERT_TRUE(Drv->CaptureWindow(bar->Handle(), shown, w, h));

    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(dc, 260, 40);
    HGDIOBJ old = SelectObject(dc, bmp);
    bar->PaintTo(dc, 30, 10);
    // Pixel by pixel the same at the offset.
    int diff = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            diff += (GetPixel(dc, 30 + x, 10 + y) & 0xFFFFFF) !=
                    RGB((shown[size_t(y * w + x)] >> 16) & 0xFF, (shown[size_t(y * w + x)] >> 8) & 0xFF,
                        shown[size_t(y * w + x)] & 0xFF);
    EXPECT_EQ(diff, 0);
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
}
