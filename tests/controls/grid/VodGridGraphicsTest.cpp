// Cell graphics: attaching replaces and frees the previous graphic, removing
// acts only on its own kind, created objects are freed with their graphic
// while given ones survive it (the sanitizers count the rest), picture sizes
// by stretch mode, angles, comments, markers, button rectangles and the
// graphic's copy.
#include <gtest/gtest.h>

#include "controls/grid/VodGrid.h"
#include "tests/controls/grid/StringGridFixture.h"
#include "platform/base/SysUtils.h"
#include "platform/gfx/ImageList.h"
#include "platform/ui/Forms.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Headless.h"

namespace {

// A bitmap that tells when it is freed.
class TWatchedBitmap : public TBitmap {
public:
    explicit TWatchedBitmap(bool* Freed) : FFreed(Freed) {}
    ~TWatchedBitmap() override { *FFreed = true; }

private:
    bool* FFreed;
};

using VodGridGraphics = TStringGridFixture<TVodStringGrid>;

}  // namespace

TEST_F(VodGridGraphics, EveryAddReplacesTheCellsGraphicAndFreesWhatTheGridCreated)
{
    // Each step attaches another kind to the same cell; the objects the
    // grid made for the earlier kinds must be freed on the way (a leak
    // shows under the sanitizers), the caller's bitmap must survive.
    bool freed = false;
    auto* given = new TWatchedBitmap(&freed);
    Grid->CreateBitmap(1, 1, true, haLeft, vaTop)->SetSize(4, 4);
    Grid->CreateIcon(1, 1, haLeft, vaTop);
    Grid->CreatePicture(1, 1, false, Stretch, 2, haCenter, vaCenter);
    Grid->CreateFilePicture(1, 1, false, noStretch, 0, haLeft, vaTop);
    Grid->CreateBitButton(1, 1, 40, 20, L"Go", haLeft, vaTop);
    Grid->AddBitmap(1, 1, given, false, haRight, vaBottom);
    EXPECT_EQ(Grid->GetCellType(1, 1), ctBitmap);
    EXPECT_EQ(Grid->GetBitmap(1, 1), given);
    Grid->AddShape(1, 1, csCircle, clRed, clBlue, haCenter, vaCenter);
    EXPECT_FALSE(freed);
    EXPECT_FALSE(Grid->HasBitmap(1, 1));
    EXPECT_TRUE(Grid->HasShape(1, 1));
    EXPECT_EQ(Grid->GetShapeColor(1, 1), clRed);
    delete given;

    // A created bitmap goes with its graphic; the text of the cell is kept
    // and an empty cell stays empty.
    Grid->SetCellEx(2, 1, L"txt");
    Grid->CreateBitmap(2, 1, false, haLeft, vaTop);
    Grid->CreateBitmap(3, 1, false, haLeft, vaTop);
    EXPECT_EQ(Grid->Cells(2, 1), L"txt");
    EXPECT_EQ(Grid->Cells(3, 1), L"");
    Grid->RemoveBitmap(2, 1);
    EXPECT_EQ(Grid->GetCellGraphic(2, 1), nullptr);
    EXPECT_EQ(Grid->GetCellType(2, 1), ctEmpty);
    // (3, 1) keeps its bitmap until the grid is destroyed, which frees it.
}

TEST_F(VodGridGraphics, RemoveActsOnlyOnItsOwnKind)
{
    struct TCase {
        const wchar_t* name;
        std::function<void(TVodStringGrid*)> add;
        TCellType kind;
        std::function<void(TVodStringGrid*)> remove;
    };
    const auto rm = [](void (TVodStringGrid::*f)(Integer, Integer)) {
        return [f](TVodStringGrid* g) { (g->*f)(1, 1); };
    };
    const std::vector<TCase> cases = {
        {L"bitmap", [](TVodStringGrid* g) { g->CreateBitmap(1, 1, false, haLeft, vaTop); }, ctBitmap,
         rm(&TVodStringGrid::RemoveBitmap)},
        {L"icon", [](TVodStringGrid* g) { g->CreateIcon(1, 1, haLeft, vaTop); }, ctIcon, rm(&TVodStringGrid::RemoveIcon)},
        {L"picture", [](TVodStringGrid* g) { g->CreatePicture(1, 1, false, Shrink, 0, haLeft, vaTop); }, ctPicture,
         rm(&TVodStringGrid::RemovePicture)},
        {L"file picture", [](TVodStringGrid* g) { g->CreateFilePicture(1, 1, false, Shrink, 0, haLeft, vaTop); },
         ctFilePicture, rm(&TVodStringGrid::RemoveFilePicture)},
        {L"progress", [](TVodStringGrid* g) { g->AddProgress(1, 1, clRed, clWhite); }, ctProgress,
         rm(&TVodStringGrid::RemoveProgress)},
        {L"xp progress", [](TVodStringGrid* g) { g->AddVodProgress(1, 1, 0, 10); }, ctXPProgress,
         rm(&TVodStringGrid::RemoveVodProgress)},
        {L"pie", [](TVodStringGrid* g) { g->AddProgressPie(1, 1, clRed, 40); }, ctProgressPie,
         rm(&TVodStringGrid::RemoveProgressPie)},
        {L"range", [](TVodStringGrid* g) { g->AddRangeIndicator(1, 1, 50, clRed, clGreen, true); },
         ctRangeIndicator, rm(&TVodStringGrid::RemoveRangeIndicator)},
        {L"shape", [](TVodStringGrid* g) { g->AddShape(1, 1, csStar, clRed, clBlue, haLeft, vaTop); }, ctShape,
         rm(&TVodStringGrid::RemoveShape)},
        {L"rating", [](TVodStringGrid* g) { g->AddRating(1, 1, 5, clYellow, clGray); }, ctRating,
         rm(&TVodStringGrid::RemoveRating)},
        {L"scroll bar", [](TVodStringGrid* g) { g->AddScrollBar(1, 1, false); }, ctScrollbar,
         rm(&TVodStringGrid::RemoveScrollBar)},
        {L"button", [](TVodStringGrid* g) { g->AddButton(1, 1, 30, 16, L"B", haLeft, vaTop); }, ctButton,
         rm(&TVodStringGrid::RemoveButton)},
        {L"bit button", [](TVodStringGrid* g) { g->CreateBitButton(1, 1, 30, 16, L"B", haLeft, vaTop); }, ctBitButton,
         rm(&TVodStringGrid::RemoveBitButton)},
        {L"rotated", [](TVodStringGrid* g) { g->AddRotated(1, 1, 90, L"up"); }, ctRotated,
         rm(&TVodStringGrid::RemoveRotated)},
        {L"interface", [](TVodStringGrid* g) { g->AddInterfacedCell(1, 1, nullptr); }, ctInterface,
         rm(&TVodStringGrid::RemoveInterfacedCell)},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        c.add(Grid);
        ASSERT_EQ(Grid->GetCellType(1, 1), c.kind);
        // Every other kind's removal leaves this graphic in place.
        for (const TCase& other : cases)
            if (other.kind != c.kind && !(c.kind == ctBitButton && other.kind == ctButton)) other.remove(Grid);
        EXPECT_EQ(Grid->GetCellType(1, 1), c.kind);
        c.remove(Grid);
        EXPECT_EQ(Grid->GetCellGraphic(1, 1), nullptr);
    }
    // RemoveButton takes both button kinds.
    Grid->AddBitButton(2, 2, 10, 10, L"", nullptr, haLeft, vaTop);
    Grid->RemoveButton(2, 2);
    EXPECT_EQ(Grid->GetCellGraphic(2, 2), nullptr);
}

TEST_F(VodGridGraphics, KindsKeepTheirFieldsAndColoursInTypedPlaces)
{
    Grid->AddProgressFormatted(1, 1, clRed, clWhite, clSilver, clBlack, L"%d%%", 5, 50);
    const TCellGraphic* g = Grid->GetCellGraphic(1, 1);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->CellBitmapColor(), clRed);
    EXPECT_EQ(g->CellIconColor(), clSilver);
    EXPECT_EQ(g->CellIndex(), clWhite);
    EXPECT_EQ(g->CellAngle(), clBlack);
    EXPECT_EQ(g->CellErrFrom(), 5);
    EXPECT_EQ(g->CellErrLen(), 50);
    EXPECT_EQ(g->CellText(), L"%d%%");
    EXPECT_TRUE(g->CellBoolean());
    EXPECT_EQ(g->CellBitmap(), nullptr);
    EXPECT_EQ(g->CellIcon(), nullptr);

    Grid->AddProgress(1, 1, clGreen, clWhite);
    g = Grid->GetCellGraphic(1, 1);
    EXPECT_FALSE(g->CellBoolean());
    EXPECT_EQ(g->CellErrLen(), 100);
    EXPECT_TRUE(Grid->HasProgress(1, 1));

    Grid->AddRangeIndicator(1, 2, 80, clRed, clGreen, true);
    g = Grid->GetCellGraphic(1, 2);
    EXPECT_EQ(g->CellIndex(), 80);
    EXPECT_EQ(g->CellBitmapColor(), clRed);
    EXPECT_EQ(g->CellIconColor(), clGreen);

    Grid->AddRating(2, 2, 5, clYellow, clGray);
    g = Grid->GetCellGraphic(2, 2);
    EXPECT_EQ(g->CellAngle(), 5);
    EXPECT_EQ(g->CellIndex(), clYellow);
    EXPECT_EQ(g->CellBitmapColor(), clGray);
    EXPECT_EQ(g->CellHAlign(), haFull);

    Grid->AddShape(3, 2, csDiamond, clRed, clBlue, haCenter, vaCenter);
    Grid->SetShapeColor(3, 2, clLime);
    EXPECT_EQ(Grid->GetShapeColor(3, 2), clLime);
    EXPECT_EQ(Grid->GetShapeColor(2, 2), clNone);
    EXPECT_EQ(Grid->GetCellGraphic(3, 2)->CellAngle(), Integer(csDiamond));

    Grid->AddProgressPie(3, 3, clNavy, 30);
    Grid->SetProgressPie(3, 3, 70);
    g = Grid->GetCellGraphic(3, 3);
    EXPECT_EQ(g->CellAngle(), 70);
    EXPECT_EQ(g->CellHAlign(), haBeforeText);

    // AutoNumAlign right-aligns a progress cell.
    Grid->SetAutoNumAlign(true);
    Grid->AddProgress(4, 1, clRed, clWhite);
    EXPECT_EQ(Grid->GetCellProperties(4, 1)->Alignment(), taRightJustify);
}

TEST_F(VodGridGraphics, ImagesAndDataPicturesNeedTheirListOrContainer)
{
    Integer idx = -7;
    Grid->AddImageIdx(1, 1, 3, haLeft, vaTop);
    Grid->AddDataImage(1, 2, 2, haLeft, vaTop);
    Grid->AddMultiImage(1, 3, 0, haLeft, vaTop);
    Grid->AddDataPicture(1, 4, L"logo", haLeft, vaTop);
    for (Integer r = 1; r <= 4; ++r) EXPECT_EQ(Grid->GetCellGraphic(1, r), nullptr);
    EXPECT_FALSE(Grid->GetImageIdx(1, 1, idx));

    TImageList images(nullptr);
    Grid->SetGridImages(&images);
    Grid->AddImageIdx(1, 1, 3, haLeft, vaTop);
    ASSERT_TRUE(Grid->GetImageIdx(1, 1, idx));
    EXPECT_EQ(idx, 3);
    Grid->SetImageIdx(1, 1, 5);
    Grid->GetImageIdx(1, 1, idx);
    EXPECT_EQ(idx, 5);

    // A data image writes its index into an empty cell only.
    Grid->AddDataImage(1, 2, 2, haLeft, vaTop);
    EXPECT_EQ(Grid->Cells(1, 2), L"2");
    Grid->SetCellEx(2, 2, L"7");
    Grid->AddDataImage(2, 2, 2, haLeft, vaTop);
    EXPECT_EQ(Grid->Cells(2, 2), L"7");
    EXPECT_TRUE(Grid->HasDataImage(2, 2));
    Grid->RemoveImageIdx(2, 2);  // another kind: nothing happens
    EXPECT_EQ(Grid->Cells(2, 2), L"7");
    Grid->RemoveDataImage(2, 2);
    EXPECT_EQ(Grid->Cells(2, 2), L"");
    EXPECT_FALSE(Grid->HasDataImage(2, 2));

    // The index list of a multi-image cell is the grid's, freed with it.
    Grid->AddMultiImage(1, 3, 0, haLeft, vaTop);
    TIntList* list = Grid->GetCellGraphic(1, 3)->ImageList();
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(Grid->GetCellGraphic(1, 3)->CellBoolean());
    list->Add(1);
    list->Add(2);
    Grid->RemoveMultiImage(1, 3);
    EXPECT_EQ(Grid->GetCellGraphic(1, 3), nullptr);
    Grid->AddMultiImage(1, 3, 1, haLeft, vaTop);
    EXPECT_FALSE(Grid->GetCellGraphic(1, 3)->CellBoolean());
    Grid->SetGridImages(nullptr);
}

TEST_F(VodGridGraphics, PictureSizesByStretchMode)
{
    struct TCase {
        TStretchMode mode;
        Integer W, H, cw, rh, pad;
        TPoint want;
    };
    const TCase cases[] = {
        {noStretch, 100, 50, 60, 60, 0, {100, 50}},
        {Stretch, 100, 50, 60, 60, 4, {56, 56}},
        {StretchWithAspectRatio, 100, 50, 60, 60, 0, {60, 30}},
        {StretchWithAspectRatio, 50, 100, 60, 60, 0, {30, 60}},
        {StretchWithAspectRatio, 10, 10, 40, 20, 0, {20, 20}},
        // Halves round to the even neighbour: 2.5 -> 2, 3.5 -> 4.
        {StretchWithAspectRatio, 5, 10, 10, 5, 0, {2, 5}},
        {StretchWithAspectRatio, 7, 10, 10, 5, 0, {4, 5}},
        {StretchWithAspectRatio, 0, 0, 30, 20, 0, {0, 20}},
        {Shrink, 20, 10, 60, 60, 0, {20, 10}},
        {Shrink, 100, 50, 60, 60, 0, {60, 60}},
        {ShrinkWithAspectRatio, 20, 10, 60, 60, 0, {20, 10}},
        {ShrinkWithAspectRatio, 100, 50, 60, 60, 0, {60, 30}},
        // Factors capped at 1: the picture grows in neither direction.
        {ShrinkWithAspectRatio, 100, 10, 50, 200, 0, {50, 5}},
        {ShrinkWithAspectRatio, 10, 100, 200, 50, 10, {4, 40}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << int(c.mode) << " " << c.W << "x" << c.H << " in " << c.cw << "x" << c.rh);
        const TPoint p = TBaseCellGraphic::FitPicture(c.W, c.H, c.cw, c.rh, c.pad, c.mode);
        EXPECT_EQ(p.X, c.want.X);
        EXPECT_EQ(p.Y, c.want.Y);
    }
    // Through a cell's picture: the stretch mode and padding come from the
    // graphic.
    TPicture* pic = Grid->CreatePicture(1, 1, false, StretchWithAspectRatio, 0, haLeft, vaTop);
    TBitmap bmp;
    bmp.SetSize(100, 50);
    pic->SetGraphic(&bmp);
    const TPoint p = Grid->GetCellGraphic(1, 1)->GetPictureSize(60, 60, false);
    EXPECT_EQ(p.X, 60);
    EXPECT_EQ(p.Y, 30);
}

TEST_F(VodGridGraphics, AnglesAreNormalisedAndSetRotatedFreesWhatTheOldKindOwned)
{
    const std::pair<Integer, Integer> angles[] = {{-30, 330}, {720, 360}, {360, 360}, {0, 0},
                                                  {-360, 0},  {400, 40},  {-750, 330}, {90, 90}};
    for (auto [in, want] : angles) {
        Grid->AddRotated(1, 1, SmallInt(in), L"r");
        Integer a = -1;
        ASSERT_TRUE(Grid->IsRotated(1, 1, a)) << in;
        EXPECT_EQ(a, want) << in;
    }
    EXPECT_EQ(Grid->Cells(1, 1), L"r");

    // SetRotated on a cell without graphic attaches one.
    Grid->SetRotated(2, 1, -90);
    Integer a = 0;
    ASSERT_TRUE(Grid->IsRotated(2, 1, a));
    EXPECT_EQ(a, 270);
    // On a cell with a created bitmap, the graphic turns rotated with its
    // comment, and the bitmap the grid made is freed now (the sanitizers
    // would report it lost otherwise); a given bitmap stays the caller's.
    Grid->CreateBitmap(3, 1, false, haLeft, vaTop);
    Grid->AddComment(3, 1, L"note");
    Grid->SetRotated(3, 1, 45);
    EXPECT_EQ(Grid->GetCellType(3, 1), ctRotated);
    EXPECT_EQ(Grid->GetCellGraphic(3, 1)->CellBitmap(), nullptr);
    EXPECT_EQ(Grid->GetComment(3, 1), L"note");
    bool freed = false;
    TWatchedBitmap given(&freed);
    Grid->AddBitmap(4, 1, &given, false, haLeft, vaTop);
    Grid->SetRotated(4, 1, 10);
    EXPECT_FALSE(freed);
    Grid->RemoveRotated(4, 1);
    EXPECT_FALSE(freed);
}

TEST_F(VodGridGraphics, CommentsRideOnAnyGraphic)
{
    String c;
    EXPECT_FALSE(Grid->IsComment(1, 1, c));
    EXPECT_EQ(Grid->GetComment(1, 1), L"");
    // A cell without graphic gets a ctNone graphic in the control look's
    // comment colour.
    Grid->AddComment(1, 1, L"first");
    EXPECT_EQ(Grid->GetCellType(1, 1), ctNone);
    EXPECT_EQ(Grid->GetCellGraphic(1, 1)->CommentColor(), Grid->ControlLook()->CommentColor());
    ASSERT_TRUE(Grid->IsComment(1, 1, c));
    EXPECT_EQ(c, L"first");

    // A graphic keeps its kind under a comment and after its removal.
    TCellGraphic* g = Grid->CreateCellGraphic(2, 1);
    g->SetCellType(ctCheckBox);
    Grid->AddColorComment(2, 1, L"check", clBlue);
    EXPECT_EQ(Grid->GetCellType(2, 1), ctCheckBox);
    EXPECT_EQ(Grid->GetCellGraphic(2, 1)->CommentColor(), clBlue);
    Grid->RemoveComment(2, 1);
    EXPECT_EQ(Grid->GetCellType(2, 1), ctCheckBox);
    EXPECT_FALSE(Grid->IsComment(2, 1, c));

    Grid->SetComment(3, 1, L"set");
    EXPECT_EQ(Grid->GetComment(3, 1), L"set");
    Grid->SetComment(3, 1, L"again");
    EXPECT_EQ(Grid->GetComment(3, 1), L"again");
    Grid->RemoveAllComments();
    EXPECT_EQ(Grid->GetComment(1, 1), L"");
    EXPECT_EQ(Grid->GetComment(3, 1), L"");
    EXPECT_EQ(Grid->GetCellType(1, 1), ctNone);
}

TEST_F(VodGridGraphics, MarkersAttachAnEmptyGraphicOrMarkTheOneThere)
{
    Integer p = -1, l = -1;
    Grid->GetMarker(1, 1, p, l);
    EXPECT_EQ(p, 0);
    EXPECT_EQ(l, 0);
    Grid->AddMarker(1, 1, 2, 3);
    EXPECT_EQ(Grid->GetCellType(1, 1), ctEmpty);
    Grid->GetMarker(1, 1, p, l);
    EXPECT_EQ(p, 2);
    EXPECT_EQ(l, 3);
    Grid->RemoveMarker(1, 1);
    EXPECT_EQ(Grid->GetCellGraphic(1, 1), nullptr);

    Grid->AddShape(2, 1, csCircle, clRed, clRed, haLeft, vaTop);
    Grid->AddMarker(2, 1, 1, 4);
    EXPECT_EQ(Grid->GetCellType(2, 1), ctShape);
    Grid->AddMarker(3, 1, 5, 5);
    Grid->RemoveAllMarkers();
    Grid->GetMarker(2, 1, p, l);
    EXPECT_EQ(p, 0);
    EXPECT_EQ(l, 0);
    EXPECT_TRUE(Grid->HasShape(2, 1));
    EXPECT_EQ(Grid->GetCellGraphic(3, 1), nullptr);
}

TEST_F(VodGridGraphics, ButtonsTheirTextsPushAndRectangle)
{
    Grid->AddButton(1, 1, 40, 12, L"Go", haLeft, vaTop);
    EXPECT_TRUE(Grid->HasButton(1, 1));
    EXPECT_EQ(Grid->GetButtonText(1, 1), L"Go");
    Grid->SetButtonText(1, 1, L"Stop");
    EXPECT_EQ(Grid->GetButtonText(1, 1), L"Stop");
    Grid->PushButton(1, 1, true);
    TCellGraphic* g = Grid->GetCellGraphic(1, 1);
    EXPECT_TRUE(g->CellBoolean());
    EXPECT_EQ(uint32_t(g->CellIndex()), (12u << 16) | 40u);

    // Drawn at (3, 2) inside the cell.
    g->SetCellValue(double(3 | (2 << 16)));
    const TRect cr = Grid->CellRect(1, 1);
    TRect r = Grid->GetCellGraphicRect(1, 1);
    EXPECT_EQ(r.Left, cr.Left + 3);
    EXPECT_EQ(r.Top, cr.Top + 2);
    EXPECT_EQ(r.Right, cr.Left + 43);
    EXPECT_EQ(r.Bottom, cr.Top + 14);
    g->SetCellHAlign(haFull);
    g->SetCellVAlign(vaFull);
    r = Grid->GetCellGraphicRect(1, 1);
    EXPECT_EQ(r.Left, cr.Left);
    EXPECT_EQ(r.Right, cr.Right);
    EXPECT_EQ(r.Top, cr.Top);
    EXPECT_EQ(r.Bottom, cr.Bottom);
    r = Grid->GetCellGraphicRect(2, 2);
    EXPECT_EQ(r.Right - r.Left + r.Bottom - r.Top + r.Left + r.Top, 0);

    Grid->AddBitButton(2, 1, 20, 20, L"", nullptr, haLeft, vaTop);
    Grid->AddButton(3, 3, 20, 20, L"", haLeft, vaTop);
    Grid->RemoveAllButtons();
    EXPECT_FALSE(Grid->HasButton(1, 1));
    EXPECT_FALSE(Grid->HasButton(2, 1));
    EXPECT_FALSE(Grid->HasButton(3, 3));
}

TEST_F(VodGridGraphics, ScrollBarsAnswerForTheBaseCell)
{
    EXPECT_EQ(Grid->GetScrollPosition(1, 1), -1);
    EXPECT_EQ(Grid->GetScrollProp(1, 1).PageSize, -1);
    EXPECT_EQ(Grid->GetScrollProp(1, 1).Range, -1);
    Grid->AddScrollBar(1, 1, false);
    EXPECT_EQ(Grid->GetScrollProp(1, 1).Range, 100);
    EXPECT_FALSE(Grid->HasAutoRangeScrollBar(1, 1));
    Grid->MergeCells(1, 1, 2, 2);
    // Asked through a covered cell, the base cell answers.
    EXPECT_TRUE(Grid->HasScrollBar(2, 2));
    Grid->SetScrollPosition(2, 2, 17);
    EXPECT_EQ(Grid->GetScrollPosition(1, 1), 17);
    Grid->SetScrollProp(2, 1, TScrollProp{8, 40});
    EXPECT_EQ(Grid->GetScrollProp(1, 2).PageSize, 8);
    EXPECT_EQ(Grid->GetScrollProp(1, 2).Range, 40);
    EXPECT_EQ(Grid->GetScrollPosition(-1, 2), -1);
}

TEST_F(VodGridGraphics, AssignCopiesTheListedFieldsButNoReferences)
{
    TCellGraphic src;
    auto* bmp = new TBitmap;
    src.SetCellType(ctBitmap);
    src.SetCellBitmap(bmp);
    src.SetCellCreated(true);
    src.SetCellHAlign(haRight);
    src.SetCellVAlign(vaBottom);
    src.SetCellIndex(7);
    src.SetCellTransparent(true);
    src.SetCellValue(2.5);
    src.SetCellAngle(33);
    src.SetCellBoolean(true);
    src.SetCellErrFrom(4);
    src.SetCellErrLen(5);
    src.SetCellText(L"t");
    src.SetCellCheckBoxState(cbGrayed);
    src.SetCellBitmapColor(clRed);
    TCellGraphic dst;
    dst.Assign(&src);
    EXPECT_EQ(dst.CellType(), ctBitmap);
    EXPECT_EQ(dst.CellHAlign(), haRight);
    EXPECT_EQ(dst.CellVAlign(), vaBottom);
    EXPECT_EQ(dst.CellIndex(), 7);
    EXPECT_TRUE(dst.CellTransparent());
    EXPECT_EQ(dst.CellValue(), 2.5);
    EXPECT_EQ(dst.CellAngle(), 33);
    EXPECT_TRUE(dst.CellBoolean());
    EXPECT_EQ(dst.CellErrFrom(), 4);
    EXPECT_EQ(dst.CellErrLen(), 5);
    EXPECT_EQ(dst.CellText(), L"t");
    EXPECT_TRUE(dst.CellCreated());
    EXPECT_EQ(dst.CellBitmap(), nullptr);
    EXPECT_EQ(dst.CellCheckBoxState(), cbUnchecked);
    EXPECT_EQ(dst.CellBitmapColor(), clNone);
    // dst claims CellCreated but refers to nothing: freeing it frees nothing,
    // src frees its own bitmap once.
}

TEST_F(VodGridGraphics, BalloonListsAndIndexListsAreAlwaysOwned)
{
    // The ownership rules by kind, checked on the graphic alone.
    auto owned = [](TCellType kind, bool created, Integer angle) {
        bool freed = false;
        {
            TCellGraphic g;
            g.SetCellType(kind);
            g.SetCellCreated(created);
            g.SetCellAngle(angle);
            g.SetCellBitmap(new TWatchedBitmap(&freed));
            if (!(created || kind == ctImages || kind == ctBalloon || angle == 1)) {
                // Not the graphic's: free it here so nothing leaks.
                TObject* o = g.CellBitmap();
                g.SetCellBitmap(nullptr);
                delete o;
                return false;
            }
        }
        return freed;
    };
    EXPECT_TRUE(owned(ctImages, false, 0));
    EXPECT_TRUE(owned(ctBalloon, false, 0));
    EXPECT_TRUE(owned(ctBitmap, true, 0));
    EXPECT_TRUE(owned(ctBitButton, true, 0));
    EXPECT_TRUE(owned(ctRadio, true, 0));
    for (TCellType k : {ctIcon, ctCheckBox, ctDataCheckBox, ctRadioButton}) EXPECT_TRUE(owned(k, false, 1)) << int(k);

    // A created icon goes with its graphic; a given one stays.
    TIcon given;
    {
        TCellGraphic g;
        g.SetCellType(ctIcon);
        g.SetCellIcon(&given);
    }
    {
        TCellGraphic g;
        g.SetCellType(ctIcon);
        g.SetCellIcon(new TIcon);
        g.SetCellCreated(true);
    }
}

TEST_F(VodGridGraphics, RowCheckBoxColumnAndGraphicsOfOtherClasses)
{
    Grid->MouseActions()->SetHotmailRowSelect(true);
    EXPECT_EQ(Grid->GetCellType(0, 0), ctRowCheckBox);
    EXPECT_EQ(Grid->GetCellType(0, 3), ctRowCheckBox);
    TCellGraphic* shared = Grid->GetCellGraphic(0, 2);
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(shared, Grid->GetCellGraphic(0, 3));
    EXPECT_EQ(shared->CellType(), ctRowCheckBox);
    Grid->MouseActions()->SetHotmailRowSelect(false);
    EXPECT_EQ(Grid->GetCellType(0, 2), ctEmpty);
    EXPECT_EQ(Grid->GetCellType(-1, 2), ctEmpty);

    // A graphic object of another class is neither a cell graphic nor freed
    // by the grid.
    TBitmap foreign;
    Grid->SetGraphicObjectEx(2, 2, &foreign);
    EXPECT_EQ(Grid->GetCellType(2, 2), ctEmpty);
    EXPECT_EQ(Grid->GetCellGraphic(2, 2), nullptr);
    Grid->AddShape(2, 2, csCircle, clRed, clRed, haLeft, vaTop);
    EXPECT_TRUE(Grid->HasShape(2, 2));
}
