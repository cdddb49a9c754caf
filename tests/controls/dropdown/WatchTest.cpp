// The clock face: geometry, picking, keys, animation and OnChange, Auto
// mode, looks and the painted face.
#include "controls/dropdown/Watch.h"

#include "platform/base/SysUtils.h"
#include "tests/controls/HeadlessFormTest.h"

namespace {

class Watch : public HeadlessFormTest {
protected:
    TVodWatch* W = nullptr;
    int Changes = 0;
    void SetUp() override
    {
        HeadlessFormTest::SetUp();
        W = new TVodWatch(Form);
        W->SetParent(Form);
        W->SetBounds(0, 0, 180, 180);
        W->FrameDelay = nullptr;
        W->OnChange = [this](TObject*) { ++Changes; };
    }
    void At(int h, int m, int s = 0) { W->SetTime(EncodeTime(Word(h), Word(m), Word(s), 0)); }
    void Click(int x, int y)
    {
        Drv->Click(Drv->ScreenPoint(W->Handle(), TPoint{x, y}));
        Drv->Pump();
    }
    static int Ch(uint32_t px, int c) { return int((px >> (16 - 8 * c)) & 0xFF); }
};

}  // namespace

TEST_F(Watch, GeometryAndVersion)
{
    EXPECT_EQ(W->GetWatchRect(), (TRect{10, 10, 170, 170}));
    EXPECT_EQ(W->GetCenter(), (TPoint{90, 90}));
    EXPECT_EQ(W->GetRadius(), 80);
    W->Appearance()->SetSize(100);
    EXPECT_EQ(W->GetWatchRect(), (TRect{40, 40, 140, 140}));
    W->Appearance()->SetSize(500);  // never beyond the control
    EXPECT_EQ(W->GetWatchRect(), (TRect{0, 0, 180, 180}));
    W->SetBounds(0, 0, 200, 120);
    W->Appearance()->SetSize(0);
    EXPECT_EQ(W->GetWatchRect(), (TRect{50, 10, 150, 110}));
    EXPECT_EQ(W->Version(), L"1.1.1.0");
}

TEST_F(Watch, MinuteAndHourFromAPoint)
{
    struct P {
        int X, Y, Minute;
    };
    for (P p : {P{170, 90, 15}, P{90, 170, 30}, P{10, 90, 45}, P{90, 10, 0}, P{89, 10, 0}, P{150, 150, 23},
                P{30, 150, 37}, P{30, 30, 53}, P{150, 30, 7}})
        EXPECT_EQ(W->XYToMinute(p.X, p.Y), p.Minute) << p.X << "," << p.Y;

    // Both halves of the day, on both sides of the 12.
    struct H {
        int X, Y, Morning, Afternoon;
    };
    for (H h : {H{40, 90, 9, 21}, H{140, 90, 3, 15}, H{85, 40, 0, 12}, H{95, 40, 0, 12}, H{90, 140, 6, 18}}) {
        At(1, 0);
        ASSERT_TRUE(W->AM());
        EXPECT_EQ(W->XYToHour(h.X, h.Y), h.Morning) << h.X << "," << h.Y;
        At(13, 0);
        ASSERT_FALSE(W->AM());
        EXPECT_EQ(W->XYToHour(h.X, h.Y), h.Afternoon) << h.X << "," << h.Y;
    }
}

TEST_F(Watch, PickingByMouse)
{
    W->SetAnimation(false);
    ShowForm();
    At(10, 20);
    Changes = 0;
    Click(40, 90);   // inside, left of the centre: hour 9
    EXPECT_EQ(W->Hour(), 9);
    Click(3, 3);     // outside the circle, in the corner: a minute
    EXPECT_EQ(W->Minute(), 53);
    Click(177, 90);  // in the margin to the right: minute 15
    EXPECT_EQ(W->Minute(), 15);
    EXPECT_EQ(Changes, 3);
    // The AM/PM box swaps the half of the day.
    TRect box = W->GetAMPMRect();
    Click((box.Left + box.Right) / 2, (box.Top + box.Bottom) / 2);
    EXPECT_EQ(W->Hour(), 21);
    EXPECT_FALSE(W->AM());
    EXPECT_EQ(Changes, 4);
    Click((box.Left + box.Right) / 2, (box.Top + box.Bottom) / 2);
    EXPECT_EQ(W->Hour(), 9);
    // Read-only and Auto mode ignore the mouse.
    W->SetReadOnly(true);
    Click(140, 90);
    EXPECT_EQ(W->Hour(), 9);
}

TEST_F(Watch, AMPMSwapScrollsTheBoxFrameByFrame)
{
    ShowForm();
    At(9, 0);
    Drv->Pump();
    int frames = 0;
    W->FrameDelay = [&](DWORD ms) {
        EXPECT_EQ(ms, 10u);
        ++frames;
    };
    TRect box = W->GetAMPMRect();
    Click((box.Left + box.Right) / 2, (box.Top + box.Bottom) / 2);
    EXPECT_EQ(frames, box.Height() - 2);
    EXPECT_EQ(W->Hour(), 21);
    // Without animation no frames.
    frames = 0;
    W->SetAnimation(false);
    Click((box.Left + box.Right) / 2, (box.Top + box.Bottom) / 2);
    EXPECT_EQ(frames, 0);
    EXPECT_EQ(W->Hour(), 9);
}

TEST_F(Watch, Keys)
{
    W->SetAnimation(false);
    struct K {
        int H, M;
        Word Key;
        int H2, M2;
    };
    for (K k : {K{10, 59, VK_RIGHT, 11, 0}, K{23, 59, VK_RIGHT, 0, 0}, K{10, 0, VK_LEFT, 9, 59},
                K{0, 0, VK_LEFT, 23, 59}, K{10, 30, VK_LEFT, 10, 29}, K{23, 5, VK_PRIOR, 0, 5},
                K{0, 5, VK_NEXT, 23, 5}, K{7, 5, VK_PRIOR, 8, 5}, K{7, 5, VK_HOME, 12, 5}, K{7, 5, VK_END, 7, 0},
                K{15, 5, 'A', 3, 5}, K{3, 5, 'A', 3, 5}, K{3, 5, 'P', 15, 5}, K{7, 5, 'X', 7, 5}}) {
        At(k.H, k.M);
        Changes = 0;
        W->WatchKeyDown(k.Key);
        EXPECT_EQ(W->Hour(), k.H2) << k.H << ":" << k.M << " key " << k.Key;
        EXPECT_EQ(W->Minute(), k.M2) << k.H << ":" << k.M << " key " << k.Key;
        EXPECT_EQ(Changes, (k.H != k.H2 || k.M != k.M2) ? 1 : 0) << k.Key;
    }
}

TEST_F(Watch, SetHourAndMinuteLimitsAndOnChangeWithoutAnimation)
{
    W->SetAnimation(false);
    At(5, 5);
    Changes = 0;
    EXPECT_THROW(W->SetMinute(60), Exception);
    EXPECT_THROW(W->SetHour(24), Exception);
    EXPECT_EQ(W->Minute(), 5);
    W->SetHour(5);  // unchanged: nothing
    EXPECT_EQ(Changes, 0);
    W->SetHour(6);
    W->SetMinute(40);
    EXPECT_EQ(Changes, 2);
    W->SetMinute(0);  // from 40, past the 12: the next hour
    EXPECT_EQ(W->Hour(), 7);
    W->SetTime(EncodeTime(8, 0, 0, 0));  // Time tells nothing
    EXPECT_EQ(Changes, 3);
    try {
        W->SetMinute(61);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"Invalid time");
    }
}

TEST_F(Watch, AnimationStepsAndOneChangeAtTheTarget)
{
    ShowForm();
    At(2, 0);
    Changes = 0;
    std::vector<int> hours;
    W->SetHour(10);
    EXPECT_TRUE(W->Animating());
    EXPECT_EQ(W->Hour(), 2);
    for (int i = 0; i < 20 && W->Animating(); ++i) {
        Drv->Advance(10);
        hours.push_back(W->Hour());
    }
    EXPECT_EQ(hours, (std::vector<int>{3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(Changes, 1);

    // Larger distances take larger steps first: 0 -> 59 by a tenth.
    At(0, 0);
    Changes = 0;
    W->SetMinute(50);
    std::vector<int> minutes;
    for (int i = 0; i < 60 && W->Animating(); ++i) {
        Drv->Advance(10);
        minutes.push_back(W->Minute());
    }
    ASSERT_FALSE(minutes.empty());
    EXPECT_EQ(minutes.front(), 5);
    EXPECT_EQ(minutes.back(), 50);
    EXPECT_EQ(Changes, 1);

    // Clockwise past the 12 moves into the next hour.
    At(3, 55);
    W->SetMinute(0);
    for (int i = 0; i < 20 && W->Animating(); ++i) Drv->Advance(10);
    EXPECT_EQ(W->Hour(), 4);
    EXPECT_EQ(W->Minute(), 0);

    // A factor of 0 counts as 1: the whole way in one tick.
    W->SetAnimationFactor(0);
    At(2, 0);
    W->SetHour(11);
    Drv->Advance(10);
    EXPECT_EQ(W->Hour(), 11);
    EXPECT_FALSE(W->Animating());
}

TEST_F(Watch, AutoModeRunsFromTheClockWithItsOffset)
{
    ShowForm();
    Drv->SetNow(EncodeDate(2026, 5, 4) + EncodeTime(14, 30, 10, 0));
    W->Settings()->SetTimeOffset(-90);
    W->Settings()->SetAuto(true);
    EXPECT_EQ(W->Hour(), 13);
    EXPECT_EQ(W->Minute(), 0);
    EXPECT_FALSE(W->AM());
    // Picking and keys do nothing in Auto mode.
    W->WatchKeyDown(VK_HOME);
    Click(40, 90);
    EXPECT_EQ(W->Hour(), 13);
    W->Settings()->SetAuto(false);
    Drv->SetNow(0);
}

TEST_F(Watch, StylesAndComponentStyle)
{
    // The current style again does nothing: the plain defaults stay.
    W->SetStyle(wsClassic);
    EXPECT_EQ(W->Appearance()->HourFont()->Name(), L"Tahoma");
    W->SetStyle(wsTower);
    EXPECT_FALSE(W->ShowNumbers());
    EXPECT_EQ(W->Appearance()->Shape(), wsRect);
    W->SetStyle(wsClassic);
    EXPECT_EQ(W->Appearance()->HourFont()->Name(), L"Comic Sans MS");
    EXPECT_EQ(W->Appearance()->HourMarkLength(), 8);
    EXPECT_TRUE(W->ShowNumbers());
    // Sizes are taken when the style is set; resizing later keeps them.
    W->SetBounds(0, 0, 90, 90);
    W->SetStyle(wsSuperNova);
    EXPECT_EQ(W->Appearance()->MinuteMarkLength(), 30);
    W->SetBounds(0, 0, 180, 180);
    EXPECT_EQ(W->Appearance()->MinuteMarkLength(), 30);
    W->SetComponentStyle(tsOffice2003Blue);
    EXPECT_EQ(W->Appearance()->BackgroundColor(), TColor(0xFFD2AF));
}

TEST_F(Watch, PaintsFaceHandsAndAMPMBox)
{
    W->Appearance()->SetBackgroundColor(0x00C000);  // green face
    W->Appearance()->SetAMPMColor(0xFF0000);        // blue box
    W->Appearance()->SetHourPointerShadow(clNone);
    W->Appearance()->SetMinutePointerShadow(clNone);
    W->Appearance()->SetTickMarks(tmNone);
    W->SetShowNumbers(false);
    W->SetAnimation(false);
    At(3, 0);
    ShowForm();
    HWND h = Form->Handle();
    // Inside the face, away from hands and box: the face colour.
    EXPECT_EQ(PixelAt(h, 60, 60), 0x00C000u);
    // Outside the circle, in the corner: the form shows through.
    EXPECT_EQ(PixelAt(h, 3, 3), 0xE0E0E0u);
    // The hour hand at 3 points right (to 0.5 r = 40 px), the minute hand up.
    EXPECT_EQ(PixelAt(h, 90 + 30, 90), 0x000000u);
    EXPECT_EQ(PixelAt(h, 90, 90 - 50), 0x000000u);
    EXPECT_EQ(PixelAt(h, 90 - 30, 90), 0x00C000u);
    TRect box = W->GetAMPMRect();
    EXPECT_EQ(PixelAt(h, box.Left + 2, box.Top + 2), 0x0000FFu);
    // A time change redraws the hands over the cached face.
    At(9, 0);
    EXPECT_EQ(PixelAt(h, 90 - 30, 90), 0x000000u);
    EXPECT_EQ(PixelAt(h, 90 + 30, 90), 0x00C000u);
    // Shadows at alpha 80 darken the face but are not the hand's colour.
    W->Appearance()->SetHourPointerShadow(0x000000);
    Drv->Pump();
    uint32_t sh = PixelAt(h, 90 - 30 - 1, 90 + 4);
    EXPECT_LT(Ch(sh, 1), 0xC0);
    EXPECT_GT(Ch(sh, 1), 0x40);
}

TEST_F(Watch, PictureBackgroundIsKeyedOnItsTopLeftColour)
{
    // Left half red (the key, as the top-left pixel), right half blue.
    TBitmap bmp;
    bmp.SetSize(4, 4);
    bmp.Canvas()->Brush()->SetColor(TColor(0x0000FF));
    bmp.Canvas()->FillRect(TRect{0, 0, 2, 4});
    bmp.Canvas()->Brush()->SetColor(TColor(0xFF0000));
    bmp.Canvas()->FillRect(TRect{2, 0, 4, 4});
    TPicture pic;
    pic.SetGraphic(&bmp);
    W->Appearance()->SetPicture(&pic);
    W->Appearance()->SetTickMarks(tmNone);
    W->SetShowNumbers(false);
    W->SetShowAMPM(false);
    W->Appearance()->SetBorderStyle(wbNone);
    ShowForm();
    HWND h = Form->Handle();
    EXPECT_EQ(PixelAt(h, 20, 30), 0xE0E0E0u);   // keyed out: the form shows
    EXPECT_EQ(PixelAt(h, 160, 30), 0x0000FFu);  // blue stretched over the right
}

TEST_F(Watch, TheInscribedCircleSeparatesHourFromMinute)
{
    W->SetAnimation(false);
    ShowForm();
    At(1, 30);
    Click(90 + 79, 90);  // just inside the circle at 3 o'clock: an hour
    EXPECT_EQ(W->Hour(), 3);
    EXPECT_EQ(W->Minute(), 30);
    Click(90 + 82, 90);  // just outside: a minute
    EXPECT_EQ(W->Hour(), 3);
    EXPECT_EQ(W->Minute(), 15);
}
