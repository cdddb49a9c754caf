// Undo and redo: single steps, registering after undos, sequences, the
// level limit, the event arguments, the check-box restore, unpaired
// markers, and the references between grid and component.
#include "tests/controls/grid/GridTestSupport.h"

class UndoRedo : public BaseGridFixture {
protected:
    void SetUp() override
    {
        BaseGridFixture::SetUp();
        U = new TVodGridUndoRedo(Form);
        Grid->SetUndoRedo(U);
    }
    // Writes the cell and registers the change, as the grid's editing does.
    void Change(int c, int r, const String& v)
    {
        U->RegisterChange(c, r, Grid->GetCellEx(c, r), v);
        Grid->SetCellEx(c, r, v);
    }
    TVodGridUndoRedo* U = nullptr;
};

TEST_F(UndoRedo, SingleStepsAndAChangeAfterUndos)
{
    Change(1, 1, L"x");
    Change(1, 1, L"y");
    Change(1, 1, L"z");
    U->Undo();
    EXPECT_EQ(Grid->GetCellEx(1, 1), L"y");
    U->Undo();
    EXPECT_EQ(Grid->GetCellEx(1, 1), L"x");
    U->Redo();
    EXPECT_EQ(Grid->GetCellEx(1, 1), L"y");
    U->Redo();
    EXPECT_EQ(Grid->GetCellEx(1, 1), L"z");
    EXPECT_FALSE(U->CanRedo());
    U->Undo();
    U->Undo();
    // Undone entries stay and count as done again.
    Change(2, 2, L"c");
    EXPECT_EQ(U->Items()->Count(), 4);
    EXPECT_EQ(U->Level(), 4);
    EXPECT_EQ(Grid->GetCellEx(1, 1), L"x");
}

TEST_F(UndoRedo, ASequenceUndoesLastFirstAndRedoesFirstToLast)
{
    std::vector<String> seen;
    U->OnUndo = [&](TObject* s, TBaseGrid* g, Integer c, Integer r, const String& o, const String& n) {
        EXPECT_EQ(s, U);
        EXPECT_EQ(g, Grid);
        seen.push_back(L"u" + IntToStr(c) + L":" + o + L">" + n);
    };
    U->OnRedo = [&](TObject*, TBaseGrid*, Integer c, Integer, const String& o, const String& n) {
        seen.push_back(L"r" + IntToStr(c) + L":" + o + L">" + n);
    };
    U->StartSequence();
    Change(1, 1, L"a");
    Change(2, 1, L"b");
    Change(3, 1, L"c");
    U->StopSequence();
    U->Undo();
    EXPECT_EQ(U->Level(), 0);
    EXPECT_EQ(seen, (std::vector<String>{L"u3:c>", L"u2:b>", L"u1:a>"}));
    seen.clear();
    U->Redo();
    EXPECT_EQ(U->Level(), 5);
    EXPECT_EQ(seen, (std::vector<String>{L"r1:>a", L"r2:>b", L"r3:>c"}));
    EXPECT_EQ(Grid->GetCellEx(3, 1), L"c");
}

TEST_F(UndoRedo, MaxLevelDropsTheOldestAndUnpairedMarkersAreNeverWritten)
{
    U->SetMaxLevel(2);
    Change(1, 1, L"a");
    Change(1, 1, L"b");
    Change(1, 1, L"c");
    EXPECT_EQ(U->Items()->Count(), 2);
    EXPECT_EQ(U->Items()->Item(0)->FValue, L"b");
    // A start marker dropped by the limit: its stop marker is unpaired.
    U->Reset();
    U->SetMaxLevel(3);
    U->StartSequence();
    Change(2, 2, L"p");
    Change(2, 3, L"q");
    U->StopSequence();
    Change(3, 3, L"r");  // drops the start marker
    EXPECT_FALSE(U->Items()->Item(0)->FSequenceStart);
    for (int i = 0; i < 10; ++i) {
        U->Undo();
        EXPECT_GE(U->Level(), 0);
    }
    for (int i = 0; i < 10; ++i) {
        U->Redo();
        EXPECT_LE(U->Level(), U->Items()->Count());
    }
    EXPECT_EQ(Grid->GetCellEx(-1, -1), L"");
    // An open sequence at the end.
    U->Reset();
    U->StartSequence();
    Change(1, 2, L"s");
    U->Undo();
    U->Undo();
    U->Undo();
    EXPECT_EQ(U->Level(), 0);
    U->Redo();
    EXPECT_EQ(Grid->GetCellEx(1, 2), L"s");
    EXPECT_EQ(U->Level(), 2);
}

TEST_F(UndoRedo, ASingleUndoOfACheckBoxCellRestoresThroughTheCheckBox)
{
    Grid->CheckCells.insert({2, 2});
    Change(2, 2, L"Y");
    Grid->Log.clear();
    U->Undo();
    EXPECT_EQ(Grid->Log.front(), L"check 2,2=");
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_EQ(Grid->Row(), 2);
}

TEST_F(UndoRedo, EachSideClearsItsReferenceWhenTheOtherGoes)
{
    delete U;
    EXPECT_EQ(Grid->UndoRedo(), nullptr);
    auto* other = new TVodGridUndoRedo(nullptr);
    Grid->SetUndoRedo(other);
    EXPECT_EQ(other->Grid(), Grid);
    delete Grid;
    Grid = nullptr;
    EXPECT_EQ(other->Grid(), nullptr);
    other->Undo();  // nothing without a grid
    delete other;
}
