// The panel's data, copying and painting: defaults, the caption's
// notifications, the caption size, caption bands and buttons, the body's
// text rectangle and picture places, automatic size and the shaded caption
// bitmaps.
#include <algorithm>

#include "controls/chrome/VodPanel.h"
#include "platform/base/Exceptions.h"
#include "platform/gfx/Gdi.h"
#include "tests/controls/chrome/PanelTestSupport.h"

namespace {

TEST_F(PanelTest, NewPanelTakesItsDefaults)
{
    auto* p = new TVodPanel(Form);
    EXPECT_EQ(p->Width(), 300);
    EXPECT_EQ(p->Height(), 200);
    EXPECT_EQ(p->BevelOuter(), bvRaised);
    EXPECT_EQ(p->BevelInner(), bvNone);
    EXPECT_EQ(p->Color(), clBtnFace);
    EXPECT_FALSE(p->Caption()->Visible());
    EXPECT_FALSE(p->StatusBar()->Visible());
    EXPECT_TRUE(p->Buffered());
    EXPECT_TRUE(p->DoubleBuffered());
    EXPECT_EQ(p->FullHeight(), 200);
    EXPECT_EQ(p->Caption()->Height(), 20);
    EXPECT_EQ(p->Caption()->Color(), clHighlight);
    EXPECT_EQ(p->Caption()->Font()->Color(), clHighlightText);
    EXPECT_EQ(p->StatusBar()->Font()->Name(), L"Tahoma");
    EXPECT_EQ(p->StatusBar()->Height(), 18);
    EXPECT_EQ(p->CollapsDelay(), 20);
    EXPECT_EQ(p->CollapsColor(), clGray);
    EXPECT_FALSE(p->ControlStyle().Contains(csSetCaption));
    EXPECT_EQ(p->Version(), L"2.5.1.1");
    p->SetVersion(L"9.9.9.9");
    EXPECT_EQ(p->Version(), L"2.5.1.1");
    EXPECT_EQ(TCustomVodPanel::GetVersionNr(), 0x02050101u);
    EXPECT_EQ(p->CaptionSize(), 20) << "no window yet: the scale is 1.0";
    p->Caption()->SetVisible(true);
    p->SetCollapsDelay(0);
    p->SetCollaps(true);
    EXPECT_EQ(p->Height(), 18) << "collapsed before its window, the caption stays";
}

TEST_F(PanelTest, AssignCopiesAllButWidthCollapsAndIndentsAndRefusesOtherClasses)
{
    TVodPanel* a = NewPanel();
    TVodPanel* b = NewPanel(nullptr, 0, 0, 120, 90);
    a->SetColor(TColor(0x123456));
    a->SetColorTo(TColor(0x654321));
    a->SetText(L"<b>body</b>");
    a->SetIndent(7);
    a->SetTopIndent(3);
    a->SetBottomIndent(4);
    a->SetLineSpacing(5);
    a->SetCanMove(true);
    a->Caption()->SetColor(TColor(0x00FF00));
    a->Caption()->SetText(L"kept out");
    a->StatusBar()->SetColor(TColor(0x0000FF));
    a->SetCollaps(true);
    const Integer bWidth = b->Width();
    b->Assign(a);
    EXPECT_EQ(b->Color(), TColor(0x123456));
    EXPECT_EQ(b->ColorTo(), TColor(0x654321));
    EXPECT_EQ(b->Text(), L"<b>body</b>");
    EXPECT_TRUE(b->CanMove());
    EXPECT_EQ(b->Caption()->Color(), TColor(0x00FF00));
    EXPECT_EQ(b->Caption()->Text(), L"") << "the caption's Assign leaves the text";
    EXPECT_EQ(b->StatusBar()->Color(), TColor(0x0000FF));
    EXPECT_EQ(b->Height(), a->Height());
    EXPECT_EQ(b->Width(), bWidth);
    EXPECT_FALSE(b->Collaps());
    EXPECT_EQ(b->Indent(), 0);
    EXPECT_EQ(b->TopIndent(), 0);
    EXPECT_EQ(b->BottomIndent(), 0);
    EXPECT_EQ(b->LineSpacing(), 0);

    TFont font;
    EXPECT_THROW(b->Assign(&font), EInvalidCast);
    EXPECT_EQ(b->Color(), TColor(0x123456));
}

TEST_F(PanelTest, CaptionNotifiesAsItsSettersSay)
{
    TPanelCaption c;
    std::string log;
    c.OnChange = [&](TObject*) { log += "C"; };
    c.OnShadeChange = [&](TObject*) { log += "S"; };
    c.OnStateChange = [&](TObject*) { log += "V"; };
    c.OnPositionChange = [&](TObject*) { log += "P"; };
    c.OnFontChange = [&](TObject*) { log += "F"; };
    c.SetColor(clRed);
    c.SetColor(clRed);
    c.SetShadeLight(100);
    c.SetHeight(30);
    c.SetVisible(true);
    c.SetPosition(cpLeft);
    c.Font()->SetSize(12);
    c.SetMinMaxCaption(true);
    c.SetButtonPosition(cbpLeft);
    EXPECT_EQ(log, "SCSCCCVPF");
    EXPECT_EQ(c.ShadeLight(), 200);
    c.SetShadeLight(300);
    EXPECT_EQ(c.ShadeLight(), 300);

    TPanelStatusBar s1, s2;
    s1.SetColor(clRed);
    s1.SetHeight(30);
    s1.SetVisible(true);
    s1.SetText(L"x");
    s1.SetTopIndent(2);
    s2.Assign(&s1);
    EXPECT_EQ(s2.Color(), clRed);
    EXPECT_EQ(s2.TopIndent(), 2);
    EXPECT_EQ(s2.Height(), 18);
    EXPECT_FALSE(s2.Visible());
    EXPECT_EQ(s2.Text(), L"");
}

TEST_F(PanelTest, CaptionSizeFollowsTheScreenScale)
{
    GdiSetScreenPixelsPerInch(144);
    TVodPanel* p = NewPanel();
    EXPECT_EQ(p->CaptionSize(), 30);
    p->Caption()->SetHeight(25);
    EXPECT_EQ(p->CaptionSize(), 38) << "37.5 rounds to even";
    GdiSetScreenPixelsPerInch(96);
    TVodPanel* q = NewPanel();
    EXPECT_EQ(q->CaptionSize(), 20);
}

TEST_F(PanelTest, HintInfoComparesTheCoordinateAcrossTheCaption)
{
    TVodPanel* p = NewPanel();
    p->Caption()->SetVisible(true);
    p->Caption()->OfficeHint()->SetTitle(L"caption");
    p->OfficeHint()->SetTitle(L"body");
    TVodHintInfo* info = nullptr;
    p->HintInfoAt({150, 5}, info);
    EXPECT_EQ(info->Title(), L"caption");
    p->HintInfoAt({5, 50}, info);
    EXPECT_EQ(info->Title(), L"body");
    p->Caption()->SetPosition(cpLeft);
    p->HintInfoAt({5, 80}, info);
    EXPECT_EQ(info->Title(), L"caption");
    p->HintInfoAt({150, 5}, info);
    EXPECT_EQ(info->Title(), L"body");
    p->Caption()->SetPosition(cpRight);
    p->HintInfoAt({195, 80}, info);
    EXPECT_EQ(info->Title(), L"caption");
    p->Caption()->OfficeHint()->SetTitle(L"");
    p->HintInfoAt({195, 80}, info);
    EXPECT_EQ(info->Title(), L"body") << "an empty caption hint falls back";
}

TEST_F(PanelTest, PaddingAndTheBandsKeepAlignedChildrenFree)
{
    TVodPanel* p = PlainPanel(200, 100);
    auto* child = new TPanel(Form);
    child->SetParent(p);
    child->SetAlign(alClient);
    EXPECT_EQ(child->BoundsRect(), Rect(0, 0, 200, 100));
    p->StatusBar()->SetVisible(true);   // a status bar change only repaints
    p->Caption()->SetVisible(true);
    EXPECT_EQ(child->BoundsRect(), Rect(0, 18, 200, 82));
    p->Padding()->SetLeft(4);
    EXPECT_EQ(child->BoundsRect(), Rect(4, 18, 200, 82));
}

// ---------------------------------------------------------------------------
// Painting

struct TCloseCase {
    TCaptionPosition Pos;
    TCaptionButtonPosition Buttons;
    const char* Cross;      // the first line of the cross
    const char* Triangle;   // the expanded panel's triangle
};

TEST_F(PanelTest, CaptionButtonsSitWhereTheTablesPutThem)
{
    // Band (0, 0, 200, 100): no bevel, no shadow.
    const TCloseCase cases[] = {
        {cpTop, cbpLeft, "4,4-10,10", "16,8-22,8-19,5"},
        {cpTop, cbpRight, "190,4-196,10", "178,8-184,8-181,5"},
        {cpLeft, cbpLeft, "4,96-10,90", "8,84-8,78-5,81"},
        {cpLeft, cbpRight, "4,4-10,10", "8,22-8,16-5,19"},
        {cpRight, cbpLeft, "190,4-196,10", "191,22-191,16-194,19"},
        {cpRight, cbpRight, "196,88-190,94", "191,82-191,76-194,79"},
    };
    for (const TCloseCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "position " << int(c.Pos) << " buttons " << int(c.Buttons));
        TVodPanel* p = PlainPanel();
        p->Caption()->SetVisible(true);
        p->Caption()->SetPosition(c.Pos);
        p->Caption()->SetButtonPosition(c.Buttons);
        p->Caption()->SetCloseButton(true);
        p->Caption()->SetMinMaxButton(true);
        TMarkupCanvas mc(200, 100);
        p->PaintOn(&mc.Canvas);
        const auto lines = Lines(mc);
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(lines[0], c.Cross);
        const auto polys = mc.Records(L"Polygon");
        ASSERT_EQ(polys.size(), 1u);
        std::string tri;
        for (size_t i = 0; i < polys[0].Points.size(); ++i)
            tri += (i ? "-" : "") + std::to_string(polys[0].Points[i].X) + "," + std::to_string(polys[0].Points[i].Y);
        EXPECT_EQ(tri, c.Triangle);
        delete p;
    }
}

TEST_F(PanelTest, OnlyOneCloseGlyphDrawsTheCrossAndBothDrawTheGlyph)
{
    TVodPanel* p = PlainPanel();
    p->Caption()->SetVisible(true);
    p->Caption()->SetCloseButton(true);
    TBitmap g(10, 10);
    g.Canvas()->Brush()->SetColor(clRed);
    g.Canvas()->FillRect(Rect(0, 0, 10, 10));
    g.Canvas()->SetPixels(0, 9, clWhite);   // the transparent colour
    p->Caption()->SetCloseMaxGlyph(&g);
    {
        TMarkupCanvas mc(200, 100);
        p->PaintOn(&mc.Canvas);
        EXPECT_EQ(Lines(mc).size(), 2u) << "the cross";
    }
    p->Caption()->SetCloseMinGlyph(&g);
    TTestCanvas tc(200, 100);
    TCanvas c;
    c.SetHandle(tc.Dc);
    p->PaintOn(&c);
    c.SetHandle(nullptr);
    EXPECT_EQ(tc.Px(200 - 10 + 2, 2 + 2), RGB(255, 0, 0)) << "expanded: CloseMaxGlyph at (R - width, T + 2)";
}

TEST_F(PanelTest, CollapsedSolidCaptionsUseCloseColorAndGradientsKeepTheirColours)
{
    TVodPanel* p = PlainPanel();
    p->Caption()->SetVisible(true);
    p->Caption()->SetColor(TColor(0x00FF00));
    p->Caption()->SetCloseColor(TColor(0x0000FF));
    p->SetCollaps(true);
    TTestCanvas tc(200, 100);
    TCanvas c;
    c.SetHandle(tc.Dc);
    p->PaintOn(&c);
    EXPECT_EQ(tc.Px(100, 8), RGB(255, 0, 0));
    p->Caption()->SetColorTo(TColor(0x00FF00));
    p->PaintOn(&c);
    EXPECT_EQ(tc.Px(1, 8), RGB(0, 255, 0)) << "gradient from Color";
    c.SetHandle(nullptr);
}

TEST_F(PanelTest, BodyTextRectangleAndVerticalAlignment)
{
    struct TCase {
        TTextVAlignment Align;
        bool Caption;
        bool StatusBar;
        const wchar_t* Run;
    };
    // 200 x 100, fixed font 8 x 16: the text rectangle is (1, 1, 199, 99);
    // a top caption takes Caption.Height - 2 x BevelWidth = 18, a status
    // bar 18 more at the bottom.
    const TCase cases[] = {
        {tvaTop, false, false, L"Hello@1,17"},    {tvaCenter, false, false, L"Hello@1,58"},
        {tvaBottom, false, false, L"Hello@1,99"}, {tvaTop, true, false, L"Hello@1,35"},
        {tvaCenter, true, false, L"Hello@1,67"},  {tvaBottom, true, true, L"Hello@1,81"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(int(c.Align) * 10 + int(c.Caption));
        TVodPanel* p = PlainPanel();
        p->SetText(L"Hello");
        p->SetTextVAlign(c.Align);
        p->Caption()->SetVisible(c.Caption);
        p->StatusBar()->SetVisible(c.StatusBar);
        TMarkupCanvas mc(200, 100);
        p->PaintOn(&mc.Canvas);
        const auto runs = mc.Runs();
        ASSERT_FALSE(runs.empty());
        EXPECT_EQ(runs.front(), c.Run);
        delete p;
    }
    // Text taller than its rectangle stays at the top.
    TVodPanel* p = PlainPanel(200, 30);
    p->SetText(L"a<br>b<br>c");
    p->SetTextVAlign(tvaBottom);
    TMarkupCanvas mc(200, 30);
    p->PaintOn(&mc.Canvas);
    ASSERT_FALSE(mc.Runs().empty());
    EXPECT_EQ(mc.Runs().front(), L"a@1,17");
}

TEST_F(PanelTest, BackgroundPicturePositions)
{
    TBitmap red(10, 10);
    red.Canvas()->Brush()->SetColor(clRed);
    red.Canvas()->FillRect(Rect(0, 0, 10, 10));
    TVodImage img;
    img.Assign(&red);
    ASSERT_FALSE(img.Empty());
    struct TCase {
        TBackGroundPosition Pos;
        TPoint At;
    };
    const TCase cases[] = {
        {TBackGroundPosition::bpTopLeft, {0, 0}},     {TBackGroundPosition::bpTopRight, {190, 0}},
        {TBackGroundPosition::bpBottomLeft, {0, 90}}, {TBackGroundPosition::bpBottomRight, {190, 90}},
        {TBackGroundPosition::bpCenter, {95, 45}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(int(c.Pos));
        TVodPanel* p = PlainPanel();
        p->SetBackground(&img);
        p->SetBackgroundPosition(c.Pos);
        TTestCanvas tc(200, 100);
        TCanvas cv;
        cv.SetHandle(tc.Dc);
        p->PaintOn(&cv);
        cv.SetHandle(nullptr);
        EXPECT_EQ(tc.Px(c.At.X + 1, c.At.Y + 1), RGB(255, 0, 0));
        EXPECT_EQ(tc.Px(c.At.X + 8, c.At.Y + 8), RGB(255, 0, 0));
        if (c.At.X > 0) EXPECT_NE(tc.Px(c.At.X - 1, c.At.Y + 5), RGB(255, 0, 0));
        delete p;
    }
}

TEST_F(PanelTest, BorderShadowAndBevelsFollowTheBorderColour)
{
    TVodPanel* p = PlainPanel();
    p->SetBorderColor(TColor(0x000000));
    p->SetBorderWidth(1);
    p->SetBorderShadow(true);
    TMarkupCanvas mc(200, 100);
    p->PaintOn(&mc.Canvas);
    const auto rects = mc.Records(L"Rectangle");
    ASSERT_FALSE(rects.empty());
    EXPECT_EQ(rects[0].Rect, Rect(0, 0, 198, 98));
    const auto lines = Lines(mc);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "198,1-198,98");
    EXPECT_EQ(lines[1], "198,98-0,98");
    EXPECT_EQ(lines[2], "199,2-199,99");
    const auto lineRecs = mc.Records(L"LineTo");
    // 50 % of black and the button face (F0F0F0 here or C0C0C0 classic).
    const COLORREF face = COLORREF(ColorToRGB(clBtnFace));
    EXPECT_EQ(lineRecs[0].Color, RGB(GetRValue(face) / 2 + (GetRValue(face) & 1 ? 0 : 0), GetGValue(face) / 2,
                                     GetBValue(face) / 2))
        << std::hex << lineRecs[0].Color;
    delete p;

    // No border colour: no border rectangle, but a one-pixel frame in the
    // panel colour; no border width: no rectangle either.
    TVodPanel* q = PlainPanel();
    q->SetBorderWidth(0);
    q->SetBorderColor(clRed);
    TMarkupCanvas m2(200, 100);
    q->PaintOn(&m2.Canvas);
    EXPECT_TRUE(m2.Records(L"Rectangle").empty());
}

TEST_F(PanelTest, AutoSizeFitsTheText)
{
    TVodPanel* p = PlainPanel(300, 200);
    SetFixedMetricsFonts(true);
    p->SetText(L"Hello world");
    p->AutoSize()->SetEnabled(true);
    // XSize = 11 x 8 + 2 = 90, YSize 16; BevelWidth 1 on both sides.
    EXPECT_EQ(p->Width(), 92);
    EXPECT_EQ(p->Height(), 18);
    p->AutoSize()->SetWidth(false);
    p->SetWidth(50);
    p->SetText(L"Hello world again");
    EXPECT_EQ(p->Width(), 50);
    EXPECT_GT(p->Height(), 18) << "wrapped";
    SetFixedMetricsFonts(false);
}

// ---------------------------------------------------------------------------
// Shaded captions

TEST_F(PanelTest, EveryShadeTypeBuildsForSmallFlatNarrowAndSquareBitmaps)
{
    struct TSizeCase {
        Integer Width, CaptionHeight;
    };
    const TSizeCase sizes[] = {{1, 1}, {200, 1}, {3, 20}, {5, 2}, {20, 20}, {200, 20}};
    TVodPanel* p = PlainPanel();
    p->Caption()->SetVisible(true);
    for (const TSizeCase& s : sizes)
        for (int t = stNormal; t <= stBitmapLStretch; ++t) {
            SCOPED_TRACE(testing::Message() << s.Width << "x" << s.CaptionHeight << " type " << t);
            p->SetWidth(s.Width);
            p->Caption()->SetHeight(s.CaptionHeight);
            p->Caption()->SetShadeType(TShadeType(t));
            p->BuildShadedHeader();
            EXPECT_EQ(p->ShadedHeader()->Width(), s.Width);
            EXPECT_EQ(p->ShadedHeader()->Height(), s.CaptionHeight);
            for (TCaptionPosition pos : {cpLeft, cpTop}) {
                p->Caption()->SetPosition(pos);
                TMarkupCanvas mc(200, 100);
                p->PaintOn(&mc.Canvas);
            }
        }
}

TEST_F(PanelTest, ShadedBitmapIsMadeOnlyOnChangeAndNoiseDiffersEachTime)
{
    TVodPanel* p = PlainPanel();
    p->Caption()->SetVisible(true);
    p->Caption()->SetShadeType(stNoise);
    auto pixels = [&] { return p->ShadedHeader()->ToImage().Pixels; };
    const auto first = pixels();
    TMarkupCanvas mc(200, 100);
    p->PaintOn(&mc.Canvas);
    p->PaintOn(&mc.Canvas);
    EXPECT_EQ(pixels(), first) << "painting reuses the bitmap";
    p->BuildShadedHeader();
    EXPECT_NE(pixels(), first);
    // A solid shade is the caption colour throughout.
    p->Caption()->SetColor(TColor(0x102030));
    p->Caption()->SetShadeType(stNormal);
    for (uint32_t px : pixels()) ASSERT_EQ(px & 0xFFFFFF, 0x302010u);
}

}  // namespace

namespace {

std::string Points(const TGdiRecord& r)
{
    std::string s;
    for (size_t i = 0; i < r.Points.size(); ++i)
        s += (i ? "-" : "") + std::to_string(r.Points[i].X) + "," + std::to_string(r.Points[i].Y);
    return s;
}

TEST_F(PanelTest, CaptionTextMarkupAtTheTopRotatedAtTheSides)
{
    TVodPanel* p = PlainPanel();
    p->Caption()->SetVisible(true);
    p->Caption()->SetText(L"<b>Cap</b>");
    p->Caption()->SetIndent(3);
    {
        TMarkupCanvas mc(200, 100);
        p->PaintOn(&mc.Canvas);
        ASSERT_FALSE(mc.Runs().empty());
        EXPECT_EQ(mc.Runs().front(), L"Cap@5,16") << "L + Indent + 2, one line in the caption";
    }
    // At the sides the plain text is written with a rotated font.
    p->Caption()->SetPosition(cpLeft);
    {
        TMarkupCanvas mc(200, 100);
        p->PaintOn(&mc.Canvas);
        const auto outs = mc.Records(L"TextOut");
        ASSERT_EQ(outs.size(), 1u);
        EXPECT_EQ(outs[0].Text, L"Cap");
        EXPECT_EQ(outs[0].Rect.Left, 2);
        EXPECT_EQ(outs[0].Rect.Top, 100 - 3) << "from the band's bottom less the indent, reading upwards";
    }
    p->Caption()->SetPosition(cpRight);
    {
        TMarkupCanvas mc(200, 100);
        p->PaintOn(&mc.Canvas);
        const auto outs = mc.Records(L"TextOut");
        ASSERT_EQ(outs.size(), 1u);
        EXPECT_EQ(outs[0].Rect.Left, 200 - 4);
        EXPECT_EQ(outs[0].Rect.Top, 0 + 3 + 2) << "reading downwards from the top";
    }
}

TEST_F(PanelTest, StatusBarAndGripGeometry)
{
    TVodPanel* p = PlainPanel();
    p->StatusBar()->SetVisible(true);
    p->StatusBar()->SetColor(TColor(0x00FF00));
    p->StatusBar()->SetBorderStyle(bsSingle);
    p->StatusBar()->SetBorderColor(TColor(0x0000FF));
    p->SetCanSize(true);
    TMarkupCanvas mc(200, 100);
    p->PaintOn(&mc.Canvas);
    const auto rects = mc.Records(L"Rectangle");
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(rects[0].Rect, Rect(1, 81, 199, 99)) << "the bar: margin 1, 18 high";
    EXPECT_EQ(rects[0].BkColor, RGB(0, 255, 0));
    EXPECT_EQ(rects[1].Rect, Rect(0, 81, 200, 100)) << "its frame";
    EXPECT_EQ(rects[1].Color, RGB(255, 0, 0));
    const auto lines = mc.Records(L"LineTo");
    ASSERT_EQ(lines.size(), 6u) << "three grey and three white grip lines";
    EXPECT_EQ(Points(lines[0]), "200,89-189,100");
    EXPECT_EQ(Points(lines[5]), "200,96-196,100");
    // Collapsed or without CanSize: no grip.
    p->SetShowSizeMoveGrip(false);
    TMarkupCanvas m2(200, 100);
    p->PaintOn(&m2.Canvas);
    EXPECT_TRUE(m2.Records(L"LineTo").empty());
}

TEST_F(PanelTest, AnchorHintSitsBesideTheCursor)
{
    SetFixedMetricsFonts(true);
    TVodPanel* p = NewPanel(nullptr, 10, 10, 300, 100);
    p->SetText(L"<a href=\"app:one\">one</a>");
    p->SetAnchorHint(true);
    p->OnAnchorHint = [](TObject*, String& a) { a += L"!"; };
    THintInfo info;
    info.CursorPos = TPoint{8, 8};
    EXPECT_EQ(p->Perform(CM_HINTSHOW, 0, LPARAM(&info)), 0);
    EXPECT_EQ(info.HintStr, L"app:one!");
    const TPoint s = p->ClientToScreen({8, 8});
    EXPECT_EQ(info.HintPos, (TPoint{s.X + 10, s.Y - 10}));
    SetFixedMetricsFonts(false);
}

TEST_F(PanelTest, ScalingAndTheStreamedFullHeight)
{
    TVodPanel* p = NewPanel();
    p->Caption()->Font()->SetSize(10);
    int changes = 0;
    p->Caption()->OnChange = [&](TObject*) { ++changes; };
    p->ScaleBy(3, 2);
    EXPECT_EQ(p->Caption()->Height(), 30);
    EXPECT_EQ(p->Caption()->Font()->Size(), 15);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(p->CaptionSize(), 30);

    TVodPanel written(nullptr);
    written.SetFullHeight(345);
    written.SetText(L"<b>body</b>");
    written.SetBorderShadow(true);
    written.SetCollapsSteps(4);
    written.SetBackgroundPosition(TBackGroundPosition::bpCenter);
    written.Caption()->SetVisible(true);
    written.Caption()->SetPosition(cpRight);
    written.Caption()->SetShadeType(stLMetal);
    written.Caption()->SetText(L"Title");
    written.StatusBar()->SetHeight(25);
    written.Position()->SetKey(L"Software\\Demo");
    written.AutoSize()->SetWidth(false);
    TMemoryStream form;
    form.WriteComponent(&written);
    TVodPanel read(nullptr);
    form.SetPosition(0);
    form.ReadComponent(&read);
    EXPECT_EQ(read.FullHeight(), 345);
    EXPECT_EQ(read.Text(), L"<b>body</b>");
    EXPECT_TRUE(read.BorderShadow());
    EXPECT_EQ(read.CollapsSteps(), 4);
    EXPECT_EQ(read.BackgroundPosition(), TBackGroundPosition::bpCenter);
    EXPECT_TRUE(read.Caption()->Visible());
    EXPECT_EQ(read.Caption()->Position(), cpRight);
    EXPECT_EQ(read.Caption()->ShadeType(), stLMetal);
    EXPECT_EQ(read.Caption()->Text(), L"Title");
    EXPECT_EQ(read.StatusBar()->Height(), 25);
    EXPECT_EQ(read.Position()->Key(), L"Software\\Demo");
    EXPECT_FALSE(read.AutoSize()->Width());
    EXPECT_EQ(read.Version(), L"2.5.1.1");
}

}  // namespace
