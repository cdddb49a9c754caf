// The settings objects for searching, navigation, mouse actions, the
// synchronised grid, row bands and the focus helper: their writers' side
// effects and what Assign copies.
#include "controls/grid/VodObj.h"

// ---------------------------------------------------------------------------
// TSearchFooter

TSearchFooter::TSearchFooter(TPersistent* AOwner, bool InitDesign) : FOwner(AOwner), FFont(std::make_unique<TFont>())
{
    if (InitDesign) {
        FFindNextCaption = L"Find &next";
        FFindPrevCaption = L"Find &previous";
        FHighLightCaption = L"Highlight";
        FHintClose = L"Close";
        FHintFindNext = L"Find next occurrence";
        FHintFindPrev = L"Find previous occurrence";
        FHintHighlight = L"Highlight occurrences";
        FMatchCaseCaption = L"Match case";
    }
}

void TSearchFooter::Changed()
{
    if (OnChange) OnChange(this);
}

void TSearchFooter::ChangeFlag(bool& Field, bool v)
{
    if (Field == v) return;
    Field = v;
    Changed();
}

void TSearchFooter::SetAutoSearch(bool v)
{
    FAutoSearch = v;
    LastSearch.clear();
}

#define VEL_SF_SETTER(Name, Type)           \
    void TSearchFooter::Set##Name(Type v)   \
    {                                       \
        F##Name = v;                        \
        Changed();                          \
    }
VEL_SF_SETTER(Color, TColor)
VEL_SF_SETTER(ColorTo, TColor)
VEL_SF_SETTER(AutoThemeAdapt, bool)
VEL_SF_SETTER(FindNextCaption, const String&)
VEL_SF_SETTER(FindPrevCaption, const String&)
VEL_SF_SETTER(HighLightCaption, const String&)
VEL_SF_SETTER(MatchCaseCaption, const String&)
VEL_SF_SETTER(HintClose, const String&)
VEL_SF_SETTER(HintFindNext, const String&)
VEL_SF_SETTER(HintFindPrev, const String&)
VEL_SF_SETTER(HintHighlight, const String&)
VEL_SF_SETTER(ShowClose, bool)
#undef VEL_SF_SETTER

void TSearchFooter::SetFont(TFont* v)
{
    FFont->Assign(v);
    Changed();
}

void TSearchFooter::SetShowFindNext(bool v) { ChangeFlag(FShowFindNext, v); }
void TSearchFooter::SetShowFindPrev(bool v) { ChangeFlag(FShowFindPrev, v); }
void TSearchFooter::SetShowHighLight(bool v) { ChangeFlag(FShowHighLight, v); }
void TSearchFooter::SetShowMatchCase(bool v) { ChangeFlag(FShowMatchCase, v); }
void TSearchFooter::SetVisible(bool v) { ChangeFlag(FVisible, v); }

void TSearchFooter::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TSearchFooter*>(Source);
    if (!s) return;
    FAlwaysHighLight = s->FAlwaysHighLight;
    FColor = s->FColor;
    FColorTo = s->FColorTo;
    FFindNextCaption = s->FFindNextCaption;
    FFindPrevCaption = s->FFindPrevCaption;
    FHighLightCaption = s->FHighLightCaption;
    FMatchCaseCaption = s->FMatchCaseCaption;
    FHintClose = s->FHintClose;
    FHintFindNext = s->FHintFindNext;
    FHintFindPrev = s->FHintFindPrev;
    FHintHighlight = s->FHintHighlight;
    FShowClose = s->FShowClose;
    FShowFindNext = s->FShowFindNext;
    FShowFindPrev = s->FShowFindPrev;
    FShowHighLight = s->FShowHighLight;
    FShowMatchCase = s->FShowMatchCase;
    FSearchActiveColumnOnly = s->FSearchActiveColumnOnly;
    FSearchMatchStart = s->FSearchMatchStart;
    FSearchColumn = s->FSearchColumn;
    FSearchDirection = s->FSearchDirection;
    FSearchHiddenRows = s->FSearchHiddenRows;
    FVisible = s->FVisible;
    FFont->Assign(s->FFont.get());
    FHighLight = s->FHighLight;
    FSearchErrorColor = s->FSearchErrorColor;
}

// ---------------------------------------------------------------------------
// TNavigation

void TNavigation::SetAdvanceDirection(TAdvanceDirection v)
{
    if (FAdvanceDirection == v) return;
    FAdvanceDirection = v;
    if (OnChange) OnChange(this);
}

void TNavigation::SetAdvanceInsert(bool v)
{
    if (FAdvanceInsert == v) return;
    FAdvanceInsert = v;
    if (OnChange) OnChange(this);
}

void TNavigation::SetAdvanceAuto(bool v)
{
    if (v && !FAdvanceAuto) FAdvanceOnEnter = true;
    FAdvanceAuto = v;
}

void TNavigation::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TNavigation*>(Source);
    if (!s) return;
#define VEL_NAV_COPY(Name, Init) F##Name = s->F##Name;
    VEL_NAVIGATION_FLAGS(VEL_NAV_COPY)
#undef VEL_NAV_COPY
    FTabAdvanceDirection = s->FTabAdvanceDirection;
    FInsertPosition = s->FInsertPosition;
    FClipboardCutAction = s->FClipboardCutAction;
    FClipboardPasteAction = s->FClipboardPasteAction;
    FCursorAdvance = s->FCursorAdvance;
    FHomeEndKey = s->FHomeEndKey;
    FToggleTriStateCheck = s->FToggleTriStateCheck;
    FAdvanceDirection = s->FAdvanceDirection;
    FAdvanceInsert = s->FAdvanceInsert;
    FAdvanceAuto = s->FAdvanceAuto;
}

// ---------------------------------------------------------------------------
// TMouseActions

TMouseActions::TMouseActions(TPersistent*) : FFixedComboValues(std::make_unique<TStringList>()) {}

bool TMouseActions::IsDesigning()
{
    bool d = false;
    if (OnIsDesigning) OnIsDesigning(this, d);
    return d;
}

void TMouseActions::SetDisjunctRowSelect(bool v)
{
    FDisjunctRowSelect = v;
    if (v && IsDesigning()) {
        FDisjunctColSelect = false;
        FDisjunctCellSelect = false;
    }
}

void TMouseActions::SetDisjunctColSelect(bool v)
{
    FDisjunctColSelect = v;
    if (v && IsDesigning()) {
        FDisjunctRowSelect = false;
        FDisjunctCellSelect = false;
    }
}

void TMouseActions::SetDisjunctCellSelect(bool v)
{
    FDisjunctCellSelect = v;
    if (v && IsDesigning()) {
        FDisjunctRowSelect = false;
        FDisjunctColSelect = false;
    }
}

void TMouseActions::SetEditOnDblClickOnly(bool v)
{
    FEditOnDblClickOnly = v;
    if (v && OnDisableEdit) OnDisableEdit(this);
}

void TMouseActions::SetHotmailRowSelect(bool v)
{
    FHotmailRowSelect = v;
    if (v) {
        FDisjunctRowSelect = true;
        FCheckAllCheck = true;
    }
    if (OnInvalidate) OnInvalidate(this);
}

void TMouseActions::SetWheelAction(TWheelAction v)
{
    if (FWheelAction == v) return;
    FWheelAction = v;
    if (OnChange) OnChange(this);
}

void TMouseActions::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TMouseActions*>(Source);
    if (!s) return;
#define VEL_MOUSE_COPY(Name, Init) F##Name = s->F##Name;
    VEL_MOUSE_FLAGS(VEL_MOUSE_COPY)
#undef VEL_MOUSE_COPY
    FFixedRowsEdit = s->FFixedRowsEdit;
    FFixedColsEdit = s->FFixedColsEdit;
    FFixedRowsEditor = s->FFixedRowsEditor;
    FFixedColsEditor = s->FFixedColsEditor;
    FPartialScrollDelta = s->FPartialScrollDelta;
    FWheelIncrement = s->FWheelIncrement;
    FWheelActive = s->FWheelActive;
    FWheelAction = s->FWheelAction;
    FDisjunctRowSelect = s->FDisjunctRowSelect;
    FDisjunctColSelect = s->FDisjunctColSelect;
    FDisjunctCellSelect = s->FDisjunctCellSelect;
}

// ---------------------------------------------------------------------------
// TSyncGrid, TBands, TFocusHelper

void TSyncGrid::SetGrid(TStringGrid* v)
{
    if (v == FOwner) return;
    FGrid = v;
}

void TSyncGrid::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TSyncGrid*>(Source);
    if (!s) return;
    SetGrid(s->FGrid);
    FScrollVertical = s->FScrollVertical;
    FScrollHorizontal = s->FScrollHorizontal;
    FSelectionColumn = s->FSelectionColumn;
    FSelectionRow = s->FSelectionRow;
    FMoveColumn = s->FMoveColumn;
    FMoveRow = s->FMoveRow;
}

void TBands::Changed()
{
    if (FActive && OnChange) OnChange(this);
}

void TBands::SetActive(bool v)
{
    if (FActive == v) return;
    FActive = v;
    if (OnChange) OnChange(this);
}

void TBands::SetPrimaryColor(TColor v)
{
    if (FPrimaryColor == v) return;
    FPrimaryColor = v;
    Changed();
}

void TBands::SetSecondaryColor(TColor v)
{
    if (FSecondaryColor == v) return;
    FSecondaryColor = v;
    Changed();
}

void TBands::SetPrimaryLength(Integer v)
{
    if (FPrimaryLength == v) return;
    FPrimaryLength = v;
    FTotalLength = FPrimaryLength + FSecondaryLength;
    Changed();
}

void TBands::SetSecondaryLength(Integer v)
{
    if (FSecondaryLength == v) return;
    FSecondaryLength = v;
    FTotalLength = FPrimaryLength + FSecondaryLength;
    Changed();
}

TColor TBands::BandColor(Integer Row, Integer FixedRows, TColor Current) const
{
    if (FTotalLength <= 0) return Current;
    Integer m = (Row - FixedRows) % FTotalLength;
    if (m < 0) m += FTotalLength;
    return m < FPrimaryLength ? FPrimaryColor : FSecondaryColor;
}

void TBands::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TBands*>(Source);
    if (!s) return;
    FActive = s->FActive;
    FPrimaryColor = s->FPrimaryColor;
    FPrimaryLength = s->FPrimaryLength;
    FSecondaryColor = s->FSecondaryColor;
    FSecondaryLength = s->FSecondaryLength;
    FPrint = s->FPrint;
    FTotalLength = FPrimaryLength + FSecondaryLength;
}

void TFocusHelper::Assign(TPersistent* Source)
{
    if (auto* s = dynamic_cast<TFocusHelper*>(Source)) FEnabled = s->FEnabled;
}
