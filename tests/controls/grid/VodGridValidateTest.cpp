// Validation of an edited value: the order of its sources and bookkeeping as
// an event log, refusals (the old or the handler's text goes back, the editor
// opens again on the old cell, the balloon), the double-click rule, an
// exception from a handler, the wide variant, the fixed-cell editors' change
// events, and the grid colours of a platform visual style.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "controls/grid/editors/GridEditors.h"
#include "controls/grid/editors/VodInplaceEdit.h"
#include "controls/grid/vurcheck.h"
#include "platform/ui/StdCtrls_Edit.h"
#include "platform/ui/VisualStyles.h"
#include "platform/ui/WindowManager.h"
#include "tests/controls/grid/StringGridFixture.h"

namespace {

using TLog = std::vector<std::string>;

class TLogChecker : public TVodStringGridCheck {
public:
    TLogChecker(TComponent* AOwner, TLog& Log) : TVodStringGridCheck(AOwner), FLog(Log) {}
    String Correct(Integer, Integer, const String& s) override
    {
        FLog.push_back("correct");
        return s + L"+c";
    }
    String MarkError(Integer, Integer, const String& s) override
    {
        FLog.push_back("mark");
        return s;
    }

private:
    TLog& FLog;
};

class TLogValidator : public TInterfacedObject, public IQelCellValidate {
public:
    explicit TLogValidator(TLog& Log) : FLog(Log) {}
    void ValidateCell(Integer ACol, Integer ARow, bool& Valid, String& Value) override
    {
        FLog.push_back("validator " + std::to_string(ACol) + "," + std::to_string(ARow));
        Value += L"+v";
    }

private:
    TLog& FLog;
};

class VodGridValidate : public TStringGridFixture<TVodStringGrid> {
protected:
    void SetUp() override
    {
        TStringGridFixture<TVodStringGrid>::SetUp();
        Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
        Grid->SetFocus();
        Drv->Pump();
    }
    void Open(Integer c, Integer r)
    {
        Grid->FocusCell(c, r, true);
        Grid->ShowInplaceEdit();
        Drv->Pump();
    }
    void Key(Word VK)
    {
        SendMessage(Grid->NormalEdit()->Handle(), WM_KEYDOWN, VK, 0);
        Drv->Pump();
    }
};

}  // namespace

TEST_F(VodGridValidate, SourcesAndBookkeepingRunInOrder)
{
    TLog log;
    auto* checker = new TLogChecker(Form, log);
    checker->SetAutoCorrect(true);
    checker->SetAutoMarkError(true);
    Grid->SetCellChecker(checker);
    TLogValidator validator(log);
    validator.AddRef();
    Grid->SetCellValidator(&validator);
    auto* undo = new TVodGridUndoRedo(Form);
    Grid->SetUndoRedo(undo);
    Grid->OnCellValidate = [&](TObject*, Integer c, Integer r, String& V, bool&) {
        log.push_back("validate " + std::to_string(c) + "," + std::to_string(r));
        EXPECT_EQ(V, L"new+c");
        EXPECT_FALSE(Grid->Navigation()->AdvanceOnEnter());   // off meanwhile
    };
    Grid->OnCellsChanged = [&](TObject*, const TRect& R) {
        log.push_back("changed " + std::to_string(R.Left) + "," + std::to_string(R.Top));
    };
    Grid->Navigation()->SetAdvanceOnEnter(true);
    Grid->SetCells(2, 3, L"old");
    Open(2, 3);
    EXPECT_TRUE(Grid->ValidateCell(L"new"));
    EXPECT_EQ(log, (TLog{"correct", "validate 2,3", "validator 2,3", "mark", "mark", "changed 2,3"}));
    EXPECT_EQ(Grid->Cells(2, 3), L"new+c+v");
    EXPECT_TRUE(Grid->Navigation()->AdvanceOnEnter());
    EXPECT_TRUE(Grid->Modified());
    EXPECT_TRUE(Grid->GetRowModified(3));
    // The undo step goes back to the old text.
    undo->Undo();
    EXPECT_EQ(Grid->Cells(2, 3), L"old");
    Grid->SetCellValidator(nullptr);
    Grid->SetCellChecker(nullptr);
    Grid->SetUndoRedo(nullptr);
}

TEST_F(VodGridValidate, NothingRunsWithoutAnEditOrForAnUnchangedValue)
{
    Integer fired = 0;
    Grid->OnCellValidate = [&](TObject*, Integer, Integer, String&, bool& Valid) {
        ++fired;
        Valid = false;
    };
    Grid->SetCells(1, 1, L"same");
    EXPECT_TRUE(Grid->ValidateCell(L"other"));   // no edit open
    EXPECT_EQ(fired, 0);
    Open(1, 1);
    EXPECT_TRUE(Grid->ValidateCell(L"same"));
    EXPECT_EQ(fired, 0);
    Grid->HideInplaceEdit();
    Grid->SetAlwaysValidate(true);
    Open(1, 1);
    EXPECT_FALSE(Grid->ValidateCell(L"same"));
    EXPECT_EQ(fired, 1);
}

TEST_F(VodGridValidate, RefusalPutsBackTheOldOrTheHandlersTextAndReopensTheEditor)
{
    struct TCase {
        const wchar_t* Replacement;   // nullptr: the handler leaves the value
        const wchar_t* CellAfter;
    };
    const TCase cases[] = {{nullptr, L"old"}, {L"fixed", L"fixed"}};
    Grid->SetInvalidEntryTitle(L"Invalid");
    Grid->SetInvalidEntryText(L"Digits only");
    Grid->SetInvalidEntryIcon(ieError);
    for (const TCase& t : cases) {
        Grid->OnCellValidate = [&](TObject*, Integer, Integer, String& V, bool& Valid) {
            Valid = false;
            if (t.Replacement) V = t.Replacement;
        };
        Grid->SetCells(3, 2, L"old");
        Grid->SetModified(false);
        Open(3, 2);
        Grid->MouseActions()->SetEditOnDblClickOnly(true);
        EXPECT_FALSE(Grid->ValidateCell(L"bad"));
        EXPECT_EQ(Grid->Cells(3, 2), t.CellAfter);
        EXPECT_TRUE(Grid->EditorMode());
        EXPECT_EQ(Grid->Col(), 3);
        EXPECT_EQ(Grid->Row(), 2);
        EXPECT_FALSE(Grid->Modified());
        EXPECT_FALSE(Grid->MouseActions()->EditOnDblClickOnly());
        String title, text;
        int icon = 0;
        ASSERT_TRUE(EditBalloon(Grid->NormalEdit()->Handle(), &title, &text, &icon));
        EXPECT_EQ(title, L"Invalid");
        EXPECT_EQ(text, L"Digits only");
        EXPECT_EQ(icon, TTI_ERROR);
        // A value that passes brings the double-click rule back.
        Grid->OnCellValidate = nullptr;
        EXPECT_TRUE(Grid->ValidateCell(L"good"));
        EXPECT_EQ(Grid->Cells(3, 2), L"good");
        EXPECT_TRUE(Grid->MouseActions()->EditOnDblClickOnly());
        Grid->MouseActions()->SetEditOnDblClickOnly(false);
        Grid->HideInplaceEdit();
    }
}

TEST_F(VodGridValidate, EnterWithARefusedValueKeepsTheEditorOpen)
{
    Grid->OnCellValidate = [](TObject*, Integer, Integer, String& V, bool& Valid) { Valid = V != L"bad"; };
    Grid->SetCells(1, 2, L"old");
    Open(1, 2);
    Grid->NormalEdit()->SetText(L"bad");
    Key(VK_RETURN);
    EXPECT_TRUE(Grid->EditorMode());
    EXPECT_EQ(Grid->Cells(1, 2), L"old");
    EXPECT_EQ(Grid->NormalEdit()->Text(), L"bad");
    Grid->NormalEdit()->SetText(L"good");
    Key(VK_RETURN);
    EXPECT_EQ(Grid->Cells(1, 2), L"good");
}

TEST_F(VodGridValidate, AnExceptionLeavesValidationUsable)
{
    Integer fired = 0;
    Grid->OnCellValidate = [&](TObject*, Integer, Integer, String&, bool&) {
        ++fired;
        throw std::runtime_error("handler");
    };
    Grid->Navigation()->SetAdvanceOnEnter(true);
    Grid->SetCells(1, 1, L"old");
    Open(1, 1);
    EXPECT_THROW(Grid->ValidateCell(L"x"), std::runtime_error);
    EXPECT_TRUE(Grid->Navigation()->AdvanceOnEnter());
    Grid->HideInplaceEdit();
    Open(1, 1);
    EXPECT_THROW(Grid->ValidateCell(L"y"), std::runtime_error);
    EXPECT_EQ(fired, 2);
}

TEST_F(VodGridValidate, WideValidationStoresOrRestores)
{
    Grid->OnCellValidateWide = [](TObject*, Integer, Integer, String& V, bool& Valid) { Valid = V != L"bad"; };
    Grid->SetCells(2, 2, L"old");
    Open(2, 2);
    EXPECT_FALSE(Grid->ValidateCellWide(L"bad"));
    EXPECT_EQ(Grid->Cells(2, 2), L"old");
    EXPECT_TRUE(Grid->EditorMode());
    EXPECT_TRUE(Grid->ValidateCellWide(L"w\u00e9"));
    EXPECT_EQ(Grid->Cells(2, 2), L"w\u00e9");
}

TEST_F(VodGridValidate, FixedCellEditorsReportTheirChanges)
{
    std::vector<String> seen;
    Grid->OnEditChange = [&](TObject*, Integer c, Integer r, const String& V) {
        seen.push_back(IntToStr(c) + L"," + IntToStr(r) + L"=" + V);
    };
    Grid->OnComboChange = [&](TObject*, Integer c, Integer i, const String& S, Integer r) {
        seen.push_back(IntToStr(c) + L"," + IntToStr(r) + L"#" + IntToStr(i) + L"=" + S);
    };
    TGridTransEdit* e = Grid->FixedEdit();
    e->FCol = 2;
    e->FRow = 0;
    e->SetText(L"hdr");
    TGridTransCombo* cb = Grid->FixedComboBox();
    cb->FCol = 3;
    cb->FRow = 0;
    cb->Items()->Add(L"one");
    cb->Items()->Add(L"two");
    cb->SetItemIndex(1);
    if (cb->OnChange) cb->OnChange(cb);
    cb->SetItemIndex(-1);
    if (cb->OnChange) cb->OnChange(cb);
    ASSERT_GE(seen.size(), 3u);
    EXPECT_EQ(seen.front(), L"2,0=hdr");
    EXPECT_EQ(seen[seen.size() - 2], L"3,0#1=two");
    EXPECT_EQ(seen.back(), L"3,0#-1=");
}

TEST_F(VodGridValidate, StyleColoursComeFromAnInstalledStyle)
{
    Grid->SetColor(TColor(0x123456));
    Grid->SetGridLineColor(TColor(0x111111));
    // The plain "Windows" style: nothing changes unless asked to restore.
    Grid->ApplyVCLStyleColors(false);
    EXPECT_EQ(Grid->Color(), TColor(0x123456));
    EXPECT_FALSE(Grid->GetUseVCLStyles());
    Grid->ApplyVCLStyleColors(true);
    EXPECT_EQ(Grid->Color(), clWindow);
    EXPECT_EQ(Grid->GridLineColor(), TColor(0xC0C0C0));
    EXPECT_EQ(Grid->GridFixedLineColor(), TColor(0x808080));
    EXPECT_TRUE(Grid->Options().Contains(goFixedVertLine));

    TPlatformStyle dark;
    dark.Name = L"Carbon";
    dark.NormalCell = {TColor(0x202020), TColor(0x404040), TColor(0xEEEEEE)};
    dark.FixedCell = {TColor(0x303030), TColor(0x505050), TColor(0xDDDDDD)};
    dark.SelectedCell = {TColor(0x804000), clNone, TColor(0xFFFFFF)};
    InstallPlatformStyle(dark);
    Grid->ApplyVCLStyleColors(false);
    EXPECT_TRUE(Grid->GetUseVCLStyles());
    EXPECT_EQ(Grid->Color(), TColor(0x202020));
    EXPECT_EQ(Grid->GridLineColor(), TColor(0x404040));
    EXPECT_EQ(Grid->GridFixedLineColor(), TColor(0x505050));
    EXPECT_FALSE(Grid->Options().Contains(goFixedVertLine));
    EXPECT_FALSE(Grid->Options().Contains(goFixedHorzLine));
    EXPECT_EQ(Grid->Font()->Color(), TColor(0xEEEEEE));
    EXPECT_EQ(Grid->SelectionTextColor(), TColor(0xFFFFFF));
    EXPECT_EQ(Grid->FixedFont()->Color(), TColor(0xDDDDDD));

    // Without seClient only the lines follow the style.
    Grid->SetColor(clWindow);
    Grid->Font()->SetColor(clBlack);
    Grid->SetStyleElements(TStyleElements{seFont, seBorder});
    Grid->ApplyVCLStyleColors(false);
    EXPECT_FALSE(Grid->GetUseVCLStyles());
    EXPECT_EQ(Grid->Color(), clWindow);
    EXPECT_EQ(Grid->Font()->Color(), clBlack);
    EXPECT_EQ(Grid->GridLineColor(), TColor(0x404040));
    InstallPlatformStyle(TPlatformStyle{});
}
