// The string grid's settings objects, one table per class: values at
// creation, the Assign subset and the announcements; the control look's
// fixed-gradient forwarding as calls recorded on the owner grid.
#include <gtest/gtest.h>

#include "controls/grid/VodGrid.h"
#include "platform/base/SysUtils.h"

namespace {

// A grid that records the header colours its control look passes on and
// how often it is invalidated.
class TRecordingGrid : public TVodStringGrid {
public:
    explicit TRecordingGrid(TComponent* o) : TVodStringGrid(o) {}
    std::vector<String> Calls;
    int Invalidations = 0;
    void Invalidate() override
    {
        ++Invalidations;
        TVodStringGrid::Invalidate();
    }
#define REC(Name)                                                       \
    void Set##Name(TColor v) override                                   \
    {                                                                   \
        Calls.push_back(String(L## #Name L"=") + IntToHex(Integer(v), 8)); \
        TVodStringGrid::Set##Name(v);                                   \
    }
    REC(QelGradientFrom)
    REC(QelGradientTo)
    REC(QelGradientMirrorFrom)
    REC(QelGradientMirrorTo)
    REC(QelGradientHoverFrom)
    REC(QelGradientHoverTo)
    REC(QelGradientHoverMirrorFrom)
    REC(QelGradientHoverMirrorTo)
    REC(QelGradientHoverBorder)
    REC(QelGradientDownFrom)
    REC(QelGradientDownTo)
    REC(QelGradientDownMirrorFrom)
    REC(QelGradientDownMirrorTo)
    REC(QelGradientDownBorder)
#undef REC
};

}  // namespace

TEST(ControlLookTest, CreationValuesAndTheFixedGradientForwarding)
{
    TRecordingGrid g(nullptr);
    TControlLook& l = *g.ControlLook();
    EXPECT_EQ(l.CheckSize(), 15);
    EXPECT_EQ(l.RadioSize(), 10);
    EXPECT_EQ(l.ControlStyle(), TControlLook::csTheme);
    EXPECT_EQ(l.DropDownButtonWidth(), 16);
    EXPECT_EQ(l.DropDownCount(), 8);
    EXPECT_EQ(l.CommentColor(), clRed);
    EXPECT_EQ(l.FixedGradientHoverFrom(), clWhite);
    EXPECT_EQ(l.FixedGradientDownBorder(), clGray);
    EXPECT_EQ(l.ProgressMarginX(), 2);
    ASSERT_NE(l.DropDownHeader(), nullptr);
    ASSERT_NE(l.DropDownFooter(), nullptr);
    struct Case {
        std::function<void(TColor)> set;
        TColor value;
        std::vector<String> calls;
    };
    const Case cases[] = {
        {[&](TColor c) { l.SetFixedGradientFrom(c); }, clNone, {}},
        {[&](TColor c) { l.SetFixedGradientFrom(c); }, TColor(0x112233), {L"QelGradientFrom=00112233"}},
        {[&](TColor c) { l.SetFixedGradientMirrorFrom(c); }, clNone, {L"QelGradientMirrorFrom=1FFFFFFF"}},
        {[&](TColor c) { l.SetFixedGradientHoverBorder(c); }, clNone, {}},
        {[&](TColor c) { l.SetFixedGradientHoverTo(c); }, TColor(5), {L"QelGradientHoverTo=00000005"}},
        {[&](TColor c) { l.SetFixedGradientHoverMirrorTo(c); }, clNone, {L"QelGradientHoverMirrorTo=1FFFFFFF"}},
        {[&](TColor c) { l.SetFixedGradientDownFrom(c); }, clNone, {}},
        {[&](TColor c) { l.SetFixedGradientDownMirrorFrom(c); }, TColor(7), {L"QelGradientDownMirrorFrom=00000007"}},
    };
    for (const Case& k : cases) {
        g.Calls.clear();
        k.set(k.value);
        EXPECT_EQ(g.Calls, k.calls);
    }
    // The grid's own colour stays when clNone is written; a system colour is
    // converted.
    EXPECT_EQ(g.QelGradientFrom(), TColor(0x112233));
    l.SetFixedGradientTo(clBtnFace);
    EXPECT_EQ(g.QelGradientTo(), ColorToRGB(clBtnFace));
    // Init resets, passing on only the hover and down mirrors.
    g.Calls.clear();
    l.Init();
    EXPECT_EQ(g.Calls.size(), 4u);
    EXPECT_EQ(l.FixedGradientFrom(), clNone);
}

TEST(ControlLookTest, RepaintsAndAssignSubset)
{
    TRecordingGrid g(nullptr);
    TControlLook& l = *g.ControlLook();
    g.Invalidations = 0;
    l.SetControlStyle(TControlLook::csFlat);
    l.SetControlStyle(TControlLook::csFlat);
    EXPECT_EQ(g.Invalidations, 1);
    l.SetCheckSize(15);
    l.SetCheckSize(15);
    EXPECT_EQ(g.Invalidations, 3);
    TRecordingGrid h(nullptr);
    TControlLook& src = *h.ControlLook();
    src.SetFixedGradientHoverFrom(clRed);
    src.SetFlatButton(true);
    src.SetProgressXP(true);
    src.SetCheckSize(20);
    src.DropDownHeader()->SetCaption(L"head");
    g.Calls.clear();
    g.Invalidations = 0;
    l.SetFlatButton(false);
    g.Invalidations = 0;
    l.Assign(&src);
    EXPECT_EQ(l.FixedGradientHoverFrom(), clRed);
    EXPECT_EQ(l.FixedGradientHoverTo(), src.FixedGradientHoverTo());
    EXPECT_EQ(l.CheckSize(), 20);
    EXPECT_EQ(l.DropDownHeader()->Caption(), L"head");
    EXPECT_FALSE(l.FlatButton());
    EXPECT_FALSE(l.ProgressXP());
    EXPECT_TRUE(g.Calls.empty());
    EXPECT_EQ(g.Invalidations, 0);
    TBands foreign;
    EXPECT_NO_THROW(l.Assign(&foreign));
}

TEST(BackGroundTest, EveryWriteInvalidates)
{
    TRecordingGrid g(nullptr);
    TBackGround& b = *g.BackGround();
    EXPECT_EQ(b.Display(), bdTile);
    EXPECT_EQ(b.Cells(), bcNormal);
    EXPECT_EQ(b.Color(), clWindow);
    EXPECT_EQ(b.ColorTo(), clBtnFace);
    g.Invalidations = 0;
    b.SetTop(0);
    b.SetTop(0);
    b.SetDisplay(bdGradientVert);
    b.SetColorTo(clRed);
    EXPECT_EQ(g.Invalidations, 4);
    TBackGround c(nullptr);
    c.Assign(&b);
    EXPECT_EQ(c.Display(), bdGradientVert);
    EXPECT_EQ(c.ColorTo(), clRed);
}

TEST(GridSettingsTest, GroupingAndBalloonAndShowModified)
{
    TGrouping a, b;
    EXPECT_EQ(a.HeaderLineColor(), clBlue);
    EXPECT_EQ(a.SummaryLineWidth(), 2);
    a.SetSummary(true);
    a.SetHeaderLineWidth(5);
    a.SetShowGroupCount(true);
    a.SetGroupCountFormat(L"[%d]");
    b.Assign(&a);
    EXPECT_TRUE(b.ShowGroupCount());
    EXPECT_EQ(b.GroupCountFormat(), L"[%d]");
    EXPECT_FALSE(b.Summary());
    EXPECT_EQ(b.HeaderLineWidth(), 2);

    TRecordingGrid g(nullptr);
    TBalloonSettings& bs = *g.Balloon();
    EXPECT_EQ(bs.InitialDelay(), -1);
    EXPECT_TRUE(bs.ShowCell());
    bs.SetEnable(false);
    EXPECT_FALSE(bs.FInit);
    bs.SetEnable(true);
    EXPECT_TRUE(bs.FInit);
    bs.SetEnable(false);
    EXPECT_FALSE(bs.FInit);
    TBalloonSettings copy;
    int fired = 0;
    copy.OnEnableChange = [&](TObject*) { ++fired; };
    bs.SetTransparency(9);
    bs.SetReshowDelay(3);
    TBalloonSettings src;
    src.SetEnable(true);
    src.SetTransparency(7);
    copy.Assign(&src);
    EXPECT_TRUE(copy.Enable());
    EXPECT_EQ(copy.Transparency(), 0);
    EXPECT_EQ(fired, 0);

    TShowModified& sm = *g.ShowModified();
    EXPECT_EQ(sm.Color(), clYellow);
    int changes = 0;
    TShowModified m2;
    m2.OnChange = [&](TObject*) { ++changes; };
    m2.SetColor(clYellow);
    m2.SetColor(clYellow);
    EXPECT_EQ(changes, 2);
    m2.Assign(&sm);
    EXPECT_EQ(changes, 2);
}

TEST(GridSettingsTest, DragScrollProgressAndAutoColor)
{
    TDragScrollOptions d, e;
    EXPECT_EQ(d.Delays()->InitialDelay(), 1000);
    EXPECT_EQ(d.Delays()->RepeatDelay(), 250);
    EXPECT_EQ(d.Margins()->LeftMargin(), 50);
    d.Margins()->SetTopMargin(9);
    d.Delays()->SetRepeatDelay(10);
    d.SetActive(true);
    e.Assign(&d);
    EXPECT_EQ(e.Margins()->TopMargin(), 9);
    EXPECT_EQ(e.Delays()->RepeatDelay(), 10);
    EXPECT_TRUE(e.Active());

    TGridProgressAppearance p, q;
    EXPECT_EQ(p.Level2Color(), TColor(0x53A9FF));
    EXPECT_EQ(p.Steps(), 11);
    EXPECT_EQ(p.Style(), psXP);
    int n = 0;
    q.OnChange = [&](TObject*) { ++n; };
    q.SetSteps(11);
    EXPECT_EQ(n, 0);
    q.SetSteps(12);
    EXPECT_EQ(n, 1);
    q.Assign(&p);  // once, also when nothing differs afterwards
    EXPECT_EQ(n, 2);
    q.Assign(&p);
    EXPECT_EQ(n, 3);
    EXPECT_EQ(q.Steps(), 11);

    TAutoColor a, b;
    EXPECT_FALSE(a.HasColors());
    int ac = 0;
    a.OnChange = [&](TObject*) { ++ac; };
    a.NegativeNumber()->SetTextColor(clRed);
    a.NegativeNumber()->SetTextColor(clRed);
    EXPECT_EQ(ac, 1);
    EXPECT_TRUE(a.HasColors());
    int bc = 0;
    b.OnChange = [&](TObject*) { ++bc; };
    b.Assign(&a);
    EXPECT_EQ(bc, 0);
    EXPECT_EQ(b.NegativeNumber()->TextColor(), clRed);
}

TEST(HoverButtonsTest, AnnouncementsAndAssign)
{
    THoverButtons h(nullptr);
    EXPECT_FALSE(h.Enabled());
    EXPECT_EQ(h.Position(), hbRightFromColumnRight);
    EXPECT_EQ(h.Rows(), hrNormal);
    EXPECT_TRUE(h.MoveActiveRow());
    THoverButtonsCollectionItem* it = h.Buttons()->Add();
    EXPECT_EQ(it->ImageIndex(), -1);
    EXPECT_TRUE(it->Enabled());
    h.Buttons()->FUpdated = false;
    it->SetCaption(L"");
    it->SetTag(4);
    it->SetWidth(30);
    EXPECT_FALSE(h.Buttons()->FUpdated);
    it->SetCaption(L"Go");
    EXPECT_TRUE(h.Buttons()->FUpdated);
    h.Buttons()->FUpdated = false;
    TPicture pic;
    it->SetPicture(&pic);
    EXPECT_TRUE(h.Buttons()->FUpdated);
    it->SetImageIndex(3);
    THoverButtonsCollectionItem* other = h.Buttons()->Add();
    other->SetImageIndex(8);
    other->Assign(it);
    EXPECT_EQ(other->Caption(), L"Go");
    EXPECT_EQ(other->Tag(), 4);
    EXPECT_EQ(other->ImageIndex(), 8);
    THoverButtons k(nullptr);
    h.SetColumn(2);
    k.Assign(&h);
    EXPECT_EQ(k.Buttons()->Count(), 2);
    EXPECT_EQ(k.Column(), 2);
}
