// The string grid's construction and lifecycle: the constructor with its
// owned objects and values, the second construction phase, destruction,
// completion of loading, copying from another grid, window creation,
// bounds with integral height, resizing, scroll-bar visibility, the wheel
// set-up; and the grid unit's start-up, shut-down and small routines.
#include <algorithm>

#include "controls/foundation/VodHintInfo.h"
#include "controls/grid/HTMLHintWindow.h"
#include "controls/grid/GridHoverForm.h"
#include "controls/grid/GridScrollControls.h"
#include "controls/grid/GridSearchPanel.h"
#include "controls/grid/VodGrid.h"
#include "controls/grid/editors/GridEditors.h"
#include "controls/markup/PictureContainer.h"
#include "platform/base/Filer.h"
#include "platform/base/SysUtils.h"
#include "platform/gfx/ImageList.h"
#include "platform/os/Version.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/ComCtrls_Bars.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"
#include "platform/ui/Ole2.h"
#include "platform/ui/Themes.h"
#include "platform/ui/WindowManager.h"

namespace {

constexpr UINT_PTR kGridTimerId = 111;
constexpr UINT kGridTimerInterval = 500;
constexpr Integer kSearchPanelHeight = 32;

// The unit's process-wide state, written by the start-up and shut-down on
// the user-interface thread before and after every grid's life.
TGridUnitState GUnit;
bool GStarted = false;
bool GOle = false;

// The file version's most significant half of the common controls.
Integer ComCtlVersionMS() { return GetFileVersionMS(L"comctl32.dll"); }

}  // namespace

TGridUnitState& GridUnit() { return GUnit; }

// ---------------------------------------------------------------------------
// Construction

TVodStringGrid::TVodStringGrid(TComponent* AOwner)
    : TBaseGrid(AOwner),
      FControlList(std::make_unique<TControlList>()),
      FNavigation(std::make_unique<TNavigation>()),
      FMouseActions(std::make_unique<TMouseActions>(this)),
      FControlLook(std::make_unique<TControlLook>(this)),
      FBackGround(std::make_unique<TBackGround>(this)),
      FGrouping(std::make_unique<TGrouping>()),
      FBalloon(std::make_unique<TBalloonSettings>()),
      FShowModified(std::make_unique<TShowModified>()),
      FDragScrollOptions(std::make_unique<TDragScrollOptions>()),
      FProgressAppearance(std::make_unique<TGridProgressAppearance>()),
      FAutoColor(std::make_unique<TAutoColor>()),
      FHoverButtons(std::make_unique<THoverButtons>(this))
{
    // 1. The metro scroll controls start absent; the grid takes controls.
    FMetroScroll[0] = FMetroScroll[1] = nullptr;
    ControlStyle().Include(csAcceptsControls);

    // 2. Newly placed at design time: designing while the owner is neither
    // reading nor loading.
    const bool designing = ComponentState().Contains(csDesigning);
    FNewlyPlaced = designing && !(AOwner && (AOwner->ComponentState().Contains(csReading) ||
                                             AOwner->ComponentState().Contains(csLoading)));

    // 3. Drawing style (the platform grid draws classic only), sentinels,
    // encoding, colour tones.
    FEncoding = TEncoding::UTF8();
    FTones = EmptyColorTones();
    FLastOfficeTheme = otUnknown;
    FPrevLeftCol = LeftCol();
    FPrevTopRow = TopRow();

    // 4. The footer panel is made in the second phase (Init): it comes from
    // the overridable CreateFooterPanel. The search panel now, with its six
    // events.
    FSearchPanel = new TSearchPanel(this);
    FSearchPanel->SetDoubleBuffered(true);
    FSearchPanel->SetHeight(0);
    FSearchPanel->SetBorderWidth(0);
    FSearchPanel->OnEditChange = [this](TObject*) { SearchFooterEditChange(); };
    FSearchPanel->OnBackwardClick = [this](TObject*) { SearchFooterBackward(); };
    FSearchPanel->OnForwardClick = [this](TObject*) { SearchFooterForward(); };
    FSearchPanel->OnExitClick = [this](TObject*) { SearchFooterClose(); };
    FSearchPanel->OnHighLightClick = [this](TObject*) { SearchFooterHighlight(); };
    FSearchPanel->OnMatchCaseClick = [this](TObject*) { SearchFooterMatchCase(); };

    // 5. Settings objects and other owned objects, in the table's order.
    FCellFont = std::make_unique<TFont>();
    FFocusHelper = std::make_unique<TFocusHelper>(this);
    // The search footer knows whether the grid is being newly placed.
    FSearchFooter = std::make_unique<TSearchFooter>(this, FNewlyPlaced);
    FSearchFooter->OnChange = [this](TObject*) { ApplySearchFooterSettings(); };
    FFloatingFooter = std::make_unique<TFloatingFooter>(this);
    FSortSettings = std::make_unique<TSortSettings>(this);
    FDragDropSettings = std::make_unique<TDragDropSettings>(this);
    FNavigation->OnChange = [this](TObject*) { DesignEnd(); };
    FBands = std::make_unique<TBands>();
    FBands->OnChange = [this](TObject*) { Invalidate(); };
    FMouseActions->OnChange = [this](TObject*) { DesignBegin(); };
    FMouseActions->OnIsDesigning = [this](TObject*, bool& d) { IsDesignTime(d); };
    FMouseActions->OnInvalidate = [this](TObject*) { DesignRefresh(); };
    FColumnHeaders = std::make_unique<TStringList>();
    FColumnHeaders->OnChange = [this](TObject*) {
        BeforeShowColumnHeaders();
        WriteColumnHeaders();
    };
    FImageCache = std::make_unique<THTMLPictureCache>();

    // 6. Filter, hint and selection defaults (field initialisers); fonts,
    // header lists, selection lists, sort and integer lists, row indicator,
    // background.
    FFixedFont = std::make_unique<TFont>();
    FFixedFont->SetName(L"Tahoma");
    FFixedFont->SetStyle(TFontStyles{fsBold});
    FFixedFont->OnChange = [this](TObject*) { Invalidate(); };
    FActiveCellFont = std::make_unique<TFont>();
    FActiveCellFont->SetStyle(TFontStyles{fsBold});
    if (designing) FActiveCellFont->SetName(L"Tahoma");
    FActiveCellFont->OnChange = [this](TObject*) { Invalidate(); };
    FRowHeaders = std::make_unique<TStringList>();
    FRowHeaders->OnChange = [this](TObject*) { WriteRowHeaders(); };
    FSortList = std::make_unique<TStringList>();
    FLookupItems = std::make_unique<TStringList>();
    FDisjunctRowList = std::make_unique<TList>();
    FDisjunctColList = std::make_unique<TList>();
    FSortIndexes = std::make_unique<TSortIndexList>();
    FSortRowXRef = std::make_unique<TIntList>(-1, -1);
    FUnSortRowXRef = std::make_unique<TIntList>(-1, -1);
    FMergedColumns = std::make_unique<TIntList>(-1, -1);
    FEnabledRows = std::make_unique<TIntList>(-1, -1);
    FColSizes = std::make_unique<TIntList>(-1, -1);
    FRowIndicator = std::make_unique<TBitmap>();
    FSyncGrid = std::make_unique<TSyncGrid>(this);

    // 7. Size; the filter.
    SetRowCount(10);
    SetWidth(400);
    SetHeight(250);
    FFilter = std::make_unique<TFilter>(this);
    SetAutoSize(false);

    // 8. Colour, text and exchange defaults (field initialisers); balloon and
    // modified marks.
    FBalloon->OnEnableChange = [this](TObject*) {
        if (ComponentState().Contains(csLoading)) return;
        if (FBalloon->Enable())
            CreateBalloonWindow();
        else
            RemoveBalloonWindow();
    };
    FShowModified->OnChange = [this](TObject*) { InvalidateCol(0); };
    FProgressAppearance->OnChange = [this](TObject*) { Invalidate(); };

    // 9. Row heights; the look's gradient colours.
    SetDefaultRowHeight(22);
    FFixedRowHeight = DefaultRowHeight();
    FQelGradFrom = TColor(0xFFFFFF);
    FQelGradTo = ColorToRGB(clBtnFace);
    FQelGradMirrorFrom = clNone;
    FQelGradMirrorTo = clNone;

    // 10. What the system is; the border colour; the scroll bar width.
    OSVERSIONINFO vi{};
    vi.dwOSVersionInfoSize = sizeof(vi);
    GetVersionEx(&vi);
    FIsWinXP = vi.dwMajorVersion > 5 || (vi.dwMajorVersion == 5 && vi.dwMinorVersion > 0);
    FIsWin7 = vi.dwMajorVersion > 6 || (vi.dwMajorVersion == 6 && vi.dwMinorVersion > 0);
    const Integer ccv = ComCtlVersionMS();
    FIsComCtl6 = ccv != -1 && (ccv >> 16) > 5;
    FIsVista = IsVistaOrLater();
    FBorderColor = FIsWinXP ? TColor(0xB99D7F) : TColor(0x808080);
    FScrollWidth = GetSystemMetrics(SM_CXVSCROLL);

    // 11. Column order, ignored columns, hint, filter drop-down and lists,
    // filter edit, filter-type images and menu.
    FColumnOrder = std::make_unique<TIntList>(-1, -1);
    FOfficeHint = std::make_unique<TVodHintInfo>();
    FIgnoreColumns = std::make_unique<TIntList>(-1, -1);
    FFilterDropDown = std::make_unique<TFilterDropDown>();
    if (FNewlyPlaced) {
        FFilterDropDown->TextChecked = L"Checked";
        FFilterDropDown->TextUnChecked = L"Unchecked";
    }
    FFilterDropDown->OnChange = [this](TObject*) { Invalidate(); };
    FDropList = new TDropList(this);
    FDropList->SetParent(this);
    FDropList->SetBounds(0, 0, 0, 0);
    FDropList->SetVisible(false);
    FDropList->OnSelect = [this](TObject*, Integer i) { FilterListSelect(i); };
    FDropList->OnClose = [this](TObject*) { FocusGrid(); };
    FDropCheckList = new TDropCheckList(this);
    FDropCheckList->SetParent(this);
    FDropCheckList->SetBounds(0, 0, 0, 0);
    FDropCheckList->SetVisible(false);
    FDropCheckList->OnSelect = [this](TObject*, Integer i) { FilterCheckListApply(i); };
    FDropCheckList->OnClose = [this](TObject*) { FocusGrid(); };
    FFilterList = std::make_unique<TStringList>();
    FFilterList->SetDuplicates(dupIgnore);
    FFilterList->SetSorted(true);
    FFilterEdit = std::make_unique<TFilterEdit>(this);
    // The nine filter-type icons come with the filter edit row's resources;
    // the list and the menu that shows them exist from here on.
    FFilterTypeImages = std::make_unique<TImageList>();
    LoadFilterTypeImages();
    FFilterTypeMenu = new TPopupMenu(this);
    FFilterTypeMenu->SetImages(FFilterTypeImages.get());
    for (Integer i = 0; i < 9; ++i) {
        if (FFilterEdit->TypeNames()->Count() <= i) break;
        auto* item = new TMenuItem(FFilterTypeMenu);
        item->SetCaption(FFilterEdit->TypeNames()->Strings(i));
        item->SetImageIndex(i);
        item->SetTag(i);
        item->OnClick = [this, i](TObject*) { FilterEditUpdate(FFilterCol, String(), TFilterType(i)); };
        FFilterTypeMenu->Items()->Add(item);
    }

    // 12. Outside design mode: the overlay windows and editors.
    if (!designing) {
        FFocusWindow = new TGridFocusWindow(this);
        const TArrowDirection dirs[4] = {arrUp, arrDown, arrLeft, arrRight};
        for (int i = 0; i < 4; ++i) {
            FArrows[i] = new TArrowWindow(this);
            FArrows[i]->Init(this, dirs[i]);
        }
        FComboBox = new TGridCombo(this);
        FComboBox->SetParent(this);
        FComboBox->SetEnabled(false);
        FComboBox->SetVisible(false);
        FComboBox->SetIsWinXP(FIsWinXP);
        FComboBox->SetIsVista(FIsVista && FIsComCtl6);
        FComponentStyle = tsWindowsXP;
        FFixedEdit = new TGridTransEdit(this);
        FFixedEdit->SetParent(this);
        FFixedEdit->SetVisible(false);
        FFixedEdit->SetBorderStyle(bsNone);
        FFixedEdit->FilterEdit = false;
        FFixedEdit->OnChange = [this](TObject* s) { FixedEditChange(s); };
        FFixedComboBox = new TGridTransCombo(this);
        FFixedComboBox->SetParent(this);
        FFixedComboBox->SetVisible(false);
        FFixedComboBox->OnChange = [this](TObject* s) { FixedComboChange(s); };
        FCheckBoxEditor = new TGridCheckBox(this);
        FCheckBoxEditor->SetParent(this);
        FCheckBoxEditor->SetEnabled(false);
        FCheckBoxEditor->SetVisible(false);
        FBtnEdit = new TGridEditBtn(this);
        FBtnEdit->SetParent(this);
        FBtnEdit->SetEnabled(false);
        FBtnEdit->SetVisible(false);
        FBtnEdit->SetButtonCaption(L"...");
        FBtnEdit->SetBorderStyle(bsNone);
        FBtnEdit->SetIsWinXP(FIsWinXP);
        FBtnUnitEdit = new TGridUnitEditBtn(this);
        FBtnUnitEdit->SetParent(this);
        FBtnUnitEdit->SetEnabled(false);
        FBtnUnitEdit->SetVisible(false);
        FBtnUnitEdit->SetButtonCaption(L"...");
        FBtnUnitEdit->SetBorderStyle(bsNone);
        FBtnUnitEdit->OnUnitChanged = [this](TObject*, const String& u) {
            if (OnUnitChanged) OnUnitChanged(this, Col(), Row(), u);
        };
        FBtn = new TGridButton(this);
        FBtn->SetParent(this);
        FBtn->SetEnabled(false);
        FBtn->SetVisible(false);
        FBtn->OnClick = [this](TObject* s) { GridButtonClick(s); };
        FHeaderDragButton = new THeaderDragButton(this);
        FHeaderDragButton->SetGrid(this);
        FHeaderDragButton->SetParent(this);
        FHeaderDragButton->SetEnabled(false);
        FHeaderDragButton->SetVisible(false);
        FCellEditControl = new TControlEdit(this);
        FCellEditControl->SetParent(this);
        FCellEditControl->SetVisible(false);
        FCellComboControl = new TControlCombo(this);
        FCellComboControl->SetParent(this);
        FCellComboControl->SetVisible(false);
        FCellScrollBar = new TScrollBar(this);
        FCellPaintScrollBar = new TScrollBar(this);
        FButtonForm = new TNoActiveForm(this);
        FButtonForm->SetEnabled(true);
        FButtonForm->SetBorderStyle(bsNone);
        FButtonForm->SetBounds(0, 0, 200, 22);
        FButtonForm->OnMouseLeave = [this](TObject*) { ShowGridWindow(); };
        FButtonForm->Init();
    }

    // 13. The cursor over a link.
    GUnit.LinkCursor = crHandPoint;
}

void TVodStringGrid::Init()
{
    if (FInitDone) return;
    FInitDone = true;
    // 4. The footer panel, which a descendant may make of its own class.
    FFooterPanel = CreateFooterPanel();
    if (FFooterPanel) {
        FFooterPanel->SetAlign(alBottom);
        FFooterPanel->SetHeight(0);
        FFooterPanel->SetBorderWidth(0);
    }
}

TFooterPanel* TVodStringGrid::FooterPanel()
{
    Init();
    return FFooterPanel;
}

void TVodStringGrid::WriteColumnHeaders() { ShowColumnHeaders(); }

void TVodStringGrid::WriteRowHeaders() { ShowRowHeaders(); }

// ---------------------------------------------------------------------------
// Destruction

TVodStringGrid::~TVodStringGrid()
{
    // The families see csDestroying and raise no events from here on.
    Destroying();
    // A frame shown for this grid no longer follows the form: the hook must
    // never reach a grid on its way out, whatever FocusHelper says now.
    if (GUnit.FocusFrameGrid == this) GUnit.FocusFrameGrid = nullptr;
    // A drop target outliving the grid (held by a drag) no longer reaches it.
    if (FGridDropTarget) FGridDropTarget->Detach();
    const bool designing = ComponentState().Contains(csDesigning);
    // 1. Every row present: contracted nodes are expanded (the rows come
    // back in one pass; removing filters comes with its family).
    if (HasNodes()) {
        try {
            RestoreAllHiddenRows();
        } catch (const Exception&) {
        }
    }
    // 2. The metro scroll controls.
    FreeMetroScrollControls();
    // 3. Balloon window; the form's own resize handler back.
    if (!designing) {
        RemoveBalloonWindow();
        if (FSizeWithForm) {
            FSizeWithForm->OnResize = FFormOnResize;
            FSizeWithForm = nullptr;
        }
    }
    if (FThemeRegistered && HandleAllocated()) GetThemeNotifier(this)->UnRegisterWindow(Handle());
    // 4. The column widths, when they are kept; a destructor must not throw,
    // so a store that cannot be written keeps its old entries.
    if (FColumnSize->Save()) {
        try {
            SaveColSizes();
        } catch (const Exception&) {
        }
    }
    // 5. Every hidden column and row back in the store; then the whole store
    // up to the largest counts the grid ever had is cleared, so that every
    // block (also of rows beyond a shrunk count) is freed once.
    Integer rows = RowCount(), cols = ColCount();
    // A destructor must not throw: a row that cannot be put back stays in
    // its hidden-row item, which frees its blocks itself.
    try {
        UnHideColumnsAll();
        UnHideRowsAll();
    } catch (const Exception&) {
    }
    if (NumHiddenRows() == 0 && !HasNodes()) {
        rows = std::max(std::max(rows, RowCount()), FMaxRowCount);
        cols = std::max(std::max(cols, ColCount()), FMaxColCount);
    }
    if (rows > 0 && cols > 0 && FHasCellProps) FreeCellPropertiesRect(0, 0, cols - 1, rows - 1);
    // 6. Owned objects: the settings objects are members and go with the
    // grid; the synchronised grid is forgotten first.
    if (FSyncGrid) FSyncGrid->SetGrid(nullptr);
    // 7. Restore the cursor saved by Loaded; the run-time windows are
    // components owned by the grid and freed with it (the arrows first).
    if (!designing) {
        for (TArrowWindow*& a : FArrows) {
            delete a;
            a = nullptr;
        }
        if (FGridLoaded) SetCursor(FSavedCursor);
    }
}

// ---------------------------------------------------------------------------
// Loading

void TVodStringGrid::Loaded()
{
    Init();
    // 1.
    TBaseGrid::Loaded();
    FSavedCursor = Cursor();
    WriteColumnHeaders();
    WriteRowHeaders();
    // 2. The drop target takes its switches when it exists (with the
    // drag-and-drop family).
    // 3. The Qel look is applied in full.
    if (FLook == glQel) {
        FLook = glCustom;
        SetLook(glQel);
    }
    // 4.
    if (FAutoSize) AutoSizeColumns(false, 4);
    // 5.
    if (FColumnSize->Save()) LoadColSizes();
    // 6. Minimum fixed counts and sizes; the largest counts so far.
    FFixedRowsMin = FixedRows();
    FFixedColsMin = FixedCols();
    FMinRowHeight = DefaultRowHeight();
    FMinColWidth = 10;
    FMaxRowCount = std::max(FMaxRowCount, RowCount());
    FMaxColCount = std::max(FMaxColCount, ColCount());
    FGridLoaded = true;
    // 7. goAlwaysShowEditor becomes the navigation's AlwaysEdit.
    if (Options().Contains(goAlwaysShowEditor)) {
        FNavigation->SetAlwaysEdit(true);
        TGridOptions o = Options();
        o.Exclude(goAlwaysShowEditor);
        SetOptions(o);
    }
    // 8. Themed controls need a themed system.
    if (!FIsWinXP && FControlLook->ControlStyle() == TControlLook::csTheme &&
        !ComponentState().Contains(csDesigning))
        FControlLook->SetControlStyle(TControlLook::csClassic);
    // 9. The search footer.
    FSearchFooter->SetAutoThemeAdapt(FAutoThemeAdapt);
    ApplySearchFooterSettings();
    UpdateScrollBarVisibility(false);
    // 10. The Office theme.
    if (FAutoThemeAdapt && !ComponentState().Contains(csDesigning) && !IsLibrary) {
        AdaptToOfficeTheme();
        GetThemeNotifier(this)->RegisterWindow(Handle());
        FThemeRegistered = true;
    }
    // 11. Disjunct selection, column sizes and grid width, column order.
    FDisSelection = TGridRect{-1, -1, -1, -1};
    FColSizesAtLoad.clear();
    for (Integer c = 0; c < ColCount(); ++c) FColSizesAtLoad.push_back(ColWidths(c));
    FGridWidthAtLoad = Width();
    FColumnOrder->Clear();
    for (Integer c = 0; c < ColCount(); ++c) FColumnOrder->Add(c);
    // 12.
    if (FBalloon->Enable()) CreateBalloonWindow();
    // 13.
    ApplyVCLStyleColors(false);
}

// ---------------------------------------------------------------------------
// Copying

void TVodStringGrid::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TVodStringGrid*>(Source);
    if (!s) return;
    Font()->Assign(s->Font());
    FActiveCellColor = s->FActiveCellColor;
    FActiveCellColorTo = s->FActiveCellColorTo;
    FActiveCellFont->Assign(s->FActiveCellFont.get());
    FActiveCellShow = s->FActiveCellShow;
    FAutoColor->Assign(s->FAutoColor.get());
    SetActiveRowShow(s->ActiveRowShow());
    SetAlign(s->Align());
    FFilterDropDown->Assign(s->FFilterDropDown.get());
    FAnchorHint = s->FAnchorHint;
    FAutoSize = s->FAutoSize;
    FMouseActions->Assign(s->FMouseActions.get());
    FNavigation->Assign(s->FNavigation.get());
    FGrouping->Assign(s->FGrouping.get());
    FSearchFooter->Assign(s->FSearchFooter.get());
    FPrintSettings->Assign(s->FPrintSettings.get());
    FFilter->Assign(s->FFilter.get());
    FHTMLSettings->Assign(s->FHTMLSettings.get());
    FBands->Assign(s->FBands.get());
    FBackGround->Assign(s->FBackGround.get());
    FCellNode->Assign(s->FCellNode.get());
    FSortSettings->Assign(s->FSortSettings.get());
    FDragScrollOptions->Assign(s->FDragScrollOptions.get());
    FDragDropSettings->Assign(s->FDragDropSettings.get());
    FProgressAppearance->Assign(s->FProgressAppearance.get());
    FColumnSize->Assign(s->FColumnSize.get());
    FSyncGrid->Assign(s->FSyncGrid.get());
    FFocusHelper->Assign(s->FFocusHelper.get());
    FFilterEdit->Assign(s->FFilterEdit.get());
    FHoverButtons->Assign(s->FHoverButtons.get());
    FShowModified->Assign(s->FShowModified.get());
    FControlLook->Assign(s->FControlLook.get());
    FBalloon->Assign(s->FBalloon.get());
    FOfficeHint->Assign(s->FOfficeHint.get());
    FFixedRowAlways = s->FFixedRowAlways;
    SetColCount(s->ColCount());
    SetRowCount(s->RowCount());
    SetFixedRows(s->FixedRows());
    SetFixedCols(s->FixedCols());
    SetDefaultColWidth(s->DefaultColWidth());
    SetDefaultRowHeight(s->DefaultRowHeight());
    FFixedRowHeight = s->FFixedRowHeight;
    FInvalidEntryTitle = s->FInvalidEntryTitle;
    FInvalidEntryIcon = s->FInvalidEntryIcon;
    FInvalidEntryText = s->FInvalidEntryText;
    SetOptions(s->Options());
    for (Integer c = 0; c < ColCount(); ++c) SetColWidths(c, s->ColWidths(c));
    FColumnHeaders->Assign(s->FColumnHeaders.get());
    for (Integer r = 0; r < RowCount(); ++r) SetRowHeights(r, s->RowHeights(r));
    FScrollProportional = s->FScrollProportional;
    FScrollSynch = s->FScrollSynch;
    FScrollWidth = s->FScrollWidth;
    FScrollHints = s->FScrollHints;
    FScrollBarAlways = s->FScrollBarAlways;
    SetScrollBars(s->ScrollBars());
    FScrollColor = s->FScrollColor;
    FScrollType = s->FScrollType;
    FScrollWidth = s->FScrollWidth;
    SetLook(s->FLook);
    SetBorderColor(s->FBorderColor);
    FSelectionColor = s->FSelectionColor;
    FSelectionColorTo = s->FSelectionColorTo;
    FSelectionMirrorColor = s->FSelectionMirrorColor;
    FSelectionMirrorColorTo = s->FSelectionMirrorColorTo;
    FSelectionTextColor = s->FSelectionTextColor;
    FSelectionRTFKeep = s->FSelectionRTFKeep;
    FSelectionResizer = s->FSelectionResizer;
    FAutoFilterUpdate = s->FAutoFilterUpdate;
    FAutoHideSelection = s->FAutoHideSelection;
    FAutoNumAlign = s->FAutoNumAlign;
    FAutoThemeAdapt = s->FAutoThemeAdapt;
    FDefaultEditor = s->FDefaultEditor;
    FDisabledFontColor = s->FDisabledFontColor;
    FEditWithTags = s->FEditWithTags;
    FEnableHTML = s->FEnableHTML;
    FEnableBlink = s->FEnableBlink;
    FEnhRowColMove = s->FEnhRowColMove;
    FEnhTextSize = s->FEnhTextSize;
    FExcelStyleDecimalSeparator = s->FExcelStyleDecimalSeparator;
    FFilterDropDownAuto = s->FFilterDropDownAuto;
    FFilterDropDownCheck = s->FFilterDropDownCheck;
    FFilterDropDownCheckUnCheckAll = s->FFilterDropDownCheckUnCheckAll;
    FFilterDropDownClear = s->FFilterDropDownClear;
    FFilterDropDownColumns = s->FFilterDropDownColumns;
    FFilterDropDownMultiCol = s->FFilterDropDownMultiCol;
    if (s->FFilterDropDownRow < FixedRows()) FFilterDropDownRow = s->FFilterDropDownRow;
    FFixedAsButtons = s->FFixedAsButtons;
    FFixedFooters = s->FFixedFooters;
    FFixedRightCols = s->FFixedRightCols;
    SetGridLineColor(s->GridLineColor());
    SetGridLineWidth(s->GridLineWidth());
    FHighlightColor = s->FHighlightColor;
    FHighlightTextColor = s->FHighlightTextColor;
    FHintColor = s->FHintColor;
    FHintShowCells = s->FHintShowCells;
    FHintShowLargeText = s->FHintShowLargeText;
    FHintShowLargeTextPos = s->FHintShowLargeTextPos;
    FHovering = s->FHovering;
    SetHoverRow(s->HoverRow());
    SetHoverRowColor(s->HoverRowColor());
    SetHoverRowColorTo(s->HoverRowColorTo());
    FIntelliZoom = s->FIntelliZoom;
    FIntelliPan = s->FIntelliPan;
    FIntegralHeight = s->FIntegralHeight;
    FHTMLHint = s->FHTMLHint;
    FHTMLKeepLineBreak = s->FHTMLKeepLineBreak;
    FInvalidEntryIcon = s->FInvalidEntryIcon;
    FInvalidEntryTitle = s->FInvalidEntryTitle;
    FInvalidEntryText = s->FInvalidEntryText;
    FLookupHistory = s->FLookupHistory;
    FLookup = s->FLookup;
    FLookupItems->Assign(s->FLookupItems.get());
    FLookupCaseSensitive = s->FLookupCaseSensitive;
    FMaxComboLength = s->FMaxComboLength;
    FMaxEditLength = s->FMaxEditLength;
    FMultilinecells = s->FMultilinecells;
    AssignCells(Source);
}

void TVodStringGrid::AssignCells(TPersistent* Source)
{
    // Through the binary cell stream: the source saved to memory, rewound,
    // loaded here.
    auto* s = dynamic_cast<TVodStringGrid*>(Source);
    if (!s || s == this) return;
    TMemoryStream m;
    s->SaveToBinStream(&m);
    m.SetPosition(0);
    LoadFromBinStream(&m);
}

// ---------------------------------------------------------------------------
// Window

void TVodStringGrid::CreateHandle()
{
    Init();
    TBaseGrid::CreateHandle();
    // Re-applied so that a drop target is registered with the new window.
    FDragDropSettings->SetOleDropTarget(FDragDropSettings->OleDropTarget());
    if (FBalloon->Enable()) CreateBalloonWindow();
}

void TVodStringGrid::CreateWnd()
{
    if (ComponentState().Contains(csDestroying)) return;
    Init();
    // 1.
    TBaseGrid::CreateWnd();
    if (!Parent()) return;
    const bool designing = ComponentState().Contains(csDesigning);
    const bool loading = ComponentState().Contains(csLoading);
    // 2.
    if (!designing) {
        if (!loading) ApplyVCLStyleColors(false);
        if (FScrollHints && !FScrollHintWnd) FScrollHintWnd = new THTMLHintWindow(this);
        if (FScrollType == ssMetro) CreateMetroScrollControls();
        for (TScrollBar* sb : {FCellScrollBar, FCellPaintScrollBar}) {
            if (!sb) continue;
            sb->SetVisible(false);
            sb->SetParent(this);
            sb->SetTabStop(false);
            sb->SetKind(sbVertical);
            sb->SetCtl3D(false);
        }
        FDPIScale = double(Screen->PixelsPerInch()) / 96.0;
        if (FBalloon->Enable()) CreateBalloonWindow();
    }
    // 3. Footer and search panels.
    if (FFooterPanel) {
        FFooterPanel->SetParent(this);
        FFooterPanel->SetVisible(FFloatingFooter->Visible());
    }
    FSearchPanel->SetParent(this);
    FSearchPanel->SetVisible(FSearchFooter->Visible());
    FSearchPanel->SetHeight(FSearchFooter->Visible() ? kSearchPanelHeight : 0);
    // 4.
    if (FColumnSize->Save()) LoadColSizes();
    // 5. The grid timer.
    FGridTimerID = Integer(SetTimer(Handle(), kGridTimerId, kGridTimerInterval, nullptr));
    // 6.
    if (designing && !FGridLoaded && !loading) Font()->SetName(L"Tahoma");
    // 7.
    if (FIsWinXP) FIsWinXP = IsThemeActive();
    // 8.
    InitMouseWheel(true);
    // 9.
    StartFlatScrollBars();
}

void TVodStringGrid::Invalidate()
{
    if (FEditChange) {
        FEditChange = false;
        return;
    }
    TBaseGrid::Invalidate();
    if (!ComponentState().Contains(csLoading) && FFloatingFooter && FFloatingFooter->Visible() && FFooterPanel)
        FFooterPanel->Invalidate();
}

void TVodStringGrid::Resize()
{
    TBaseGrid::Resize();
    if (OnGridResize) OnGridResize(this);
    if ((FBackGround->Display() == bdGradientHorz || FBackGround->Display() == bdGradientVert) &&
        FBackGround->ColorTo() != clNone)
        Invalidate();
    UpdateScrollBarVisibility(false);
    CellControlsUpdate(false);
    InitMouseWheel(false);
    if (ComponentState().Contains(csDesigning)) Invalidate();
}

void TVodStringGrid::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight)
{
    if (FIntegralHeight && FUpdateCount == 0 && DefaultRowHeight() > 0) {
        const Integer h = VisibleColCount() + FixedCols() < ColCount() ? GetSystemMetrics(SM_CYHSCROLL) : 0;
        const Integer b = BorderStyle() == bsSingle ? 2 : 0;
        Integer rest = (AHeight - h - b) % DefaultRowHeight();
        if (rest < 0) rest += DefaultRowHeight();
        AHeight = AHeight + b - rest;
    }
    TBaseGrid::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (Parent() && Parent()->HandleAllocated()) DrawNCBorder();
}

void TVodStringGrid::UpdateScrollBarVisibility(bool Force)
{
    if (!HandleAllocated()) return;
    const bool rowsFit = VisibleRowCount() + FixedRows() >= RowCount();
    const bool colsFit = VisibleColCount() + FixedCols() >= ColCount();
    const bool hasV = ScrollBars() == ssVertical || ScrollBars() == ssBoth;
    const bool hasH = ScrollBars() == ssHorizontal || ScrollBars() == ssBoth;
    if (FScrollBarAlways != saNone) {
        if (rowsFit && hasV)
            ShowScrollBar(Handle(), SB_VERT, FScrollBarAlways == saVert || FScrollBarAlways == saBoth);
        if (colsFit && hasH)
            ShowScrollBar(Handle(), SB_HORZ, FScrollBarAlways == saHorz || FScrollBarAlways == saBoth);
        EnableScrollBar(Handle(), SB_VERT, rowsFit ? ESB_DISABLE_BOTH : ESB_ENABLE_BOTH);
        EnableScrollBar(Handle(), SB_HORZ, colsFit ? ESB_DISABLE_BOTH : ESB_ENABLE_BOTH);
    } else if (Force) {
        if (rowsFit) ShowScrollBar(Handle(), SB_VERT, FALSE);
        if (colsFit) ShowScrollBar(Handle(), SB_HORZ, FALSE);
    }
}

void TVodStringGrid::InitMouseWheel(bool)
{
    FWheelMsg = 0;
    FWheelScrollLines = 0;
    FWheelPan = false;
    // The old wheel drivers of systems before Windows 98 and NT 4 are never
    // met on this platform's profile (an NT 6.1 system): only the system
    // wheel setting applies.
    UINT lines = 3;
    if (!SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0)) lines = 3;
    FWheelScrollLines = Integer(lines) == -1 || lines == UINT(-1) ? VisibleRowCount() : Integer(lines);
    FWheelMsg = WM_MOUSEWHEEL;
}

void TVodStringGrid::SetBorderColor(TColor v)
{
    if (FBorderColor == v) return;
    FBorderColor = v;
    if (Parent() && Parent()->HandleAllocated()) DrawNCBorder();
}

TFont* TVodStringGrid::GetCellFont(Integer i, Integer j)
{
    TCellProperties* p = CellPropertiesOf(i, j);
    if (!p) return Font();
    FCellFont->SetName(p->FontName());
    FCellFont->SetHeight(p->FontSize());
    FCellFont->SetStyle(p->FontStyle());
    FCellFont->SetColor(p->FontColor());
    return FCellFont.get();
}

TCustomForm* TVodStringGrid::FindParentForm()
{
    for (TWinControl* p = Parent(); p; p = p->Parent())
        if (auto* f = dynamic_cast<TCustomForm*>(p)) return f;
    return nullptr;
}

String TVodStringGrid::GetEditMask(Integer ACol, Integer ARow)
{
    String m = FEditMask;
    if (OnGetEditMask) OnGetEditMask(this, ACol, ARow, m);
    return m;
}

TInplaceEdit* TVodStringGrid::CreateEditor() { return new TVodInplaceEdit(this); }

void TVodStringGrid::CreateMetroScrollControls()
{
    if (!FMetroScroll[0]) {
        FMetroScroll[0] = new TScrollControl(this, 0);
        FMetroScroll[0]->SetWidth(6);
        FMetroScroll[0]->SetAlign(alRight);
        FMetroScroll[0]->SetDoubleBuffered(true);
        FMetroScroll[0]->SetParent(this);
        FMetroScroll[0]->SetVisible(true);
    }
    if (!FMetroScroll[1]) {
        FMetroScroll[1] = new TScrollControl(this, 1);
        FMetroScroll[1]->SetHeight(6);
        FMetroScroll[1]->SetAlign(alBottom);
        FMetroScroll[1]->SetDoubleBuffered(true);
        FMetroScroll[1]->SetParent(this);
        FMetroScroll[1]->SetVisible(true);
    }
}

void TVodStringGrid::FreeMetroScrollControls()
{
    for (TScrollControl*& c : FMetroScroll) {
        delete c;
        c = nullptr;
    }
}

void TVodStringGrid::DatePickerCloseUp(TObject*)
{
    if (OnDatePickerCloseUp) OnDatePickerCloseUp(this, Row(), Col());
    if (FMouseActions->DirectDateClose()) {
        HideInplaceEdit();
        if (CanFocus()) SetFocus();
        if (FNavigation->AdvanceOnEnter()) AdvanceToNextCell(Col(), Row(), false, false, true, true, false);
    }
}

void TVodStringGrid::GridButtonClick(TObject*)
{
    if (OnButtonClick) OnButtonClick(this, Col(), Row());
}

// ---------------------------------------------------------------------------
// The unit

void VodGridStartup()
{
    if (GStarted) return;
    GStarted = true;
    GOle = SUCCEEDED(OleInitialize());
    GUnit.FocusFrameGrid = nullptr;
    if (!GUnit.Hook) GUnit.Hook = SetWindowsHookEx(WH_CALLWNDPROC, GridCallWndHook, nullptr, GetCurrentThreadId());
    // The streaming classes; a failure skips the rest of the list.
    try {
        RegisterClasses({TVodStringGrid::StaticClass(), TDropList::StaticClass(), TArrowWindow::StaticClass(),
                         TGridCombo::StaticClass(), TGridTransEdit::StaticClass(), TGridTransCombo::StaticClass(),
                         TGridCheckBox::StaticClass(), TGridEditBtn::StaticClass(),
                         TGridUnitEditBtn::StaticClass(), TGridButton::StaticClass(),
                         THeaderDragButton::StaticClass(), TControlEdit::StaticClass(),
                         TControlCombo::StaticClass(), TScrollBar::StaticClass(), TFooterPanel::StaticClass(),
                         TSearchPanel::StaticClass()});
    } catch (...) {
    }
    GUnit.ComCtl470 = GetFileVersionMS(L"comctl32.dll") > 0x00040045;
    GUnit.CellsClipboardFormat = RegisterClipboardFormat(L"TVodStringGrid Cells");
    GUnit.GridEditDone = RegisterWindowMessage(L"GridEditDone");
    GUnit.GridEditShow = RegisterWindowMessage(L"GridEditShow");
    GUnit.GridEditProp = RegisterWindowMessage(L"GridEditProp");
    GUnit.DTPShiftFocus = RegisterWindowMessage(L"DTPShiftFocus");
}

void VodGridShutdown()
{
    if (!GStarted) return;
    GStarted = false;
    if (GOle) OleUninitialize();
    GOle = false;
    if (GUnit.Hook) UnhookWindowsHookEx(GUnit.Hook);
    GUnit.Hook = nullptr;
    GUnit.HintFontName.clear();
}

bool VodGridStarted() { return GStarted; }

LRESULT GridCallWndHook(int Code, WPARAM wParam, LPARAM lParam)
{
    if (Code == HC_ACTION && lParam) {
        const auto* cwp = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if ((cwp->message == WM_WINDOWPOSCHANGING || cwp->message == WM_WINDOWPOSCHANGED) && GUnit.FocusFrameGrid)
            GUnit.FocusFrameGrid->MoveFocusWindow();
    }
    return CallNextHookEx(GUnit.Hook, Code, wParam, lParam);
}

wchar_t GridTimeSeparator() { return FormatSettings.TimeSeparator; }
wchar_t GridDateSeparator() { return FormatSettings.DateSeparator; }
wchar_t GridThousandSeparator() { return FormatSettings.ThousandSeparator; }
wchar_t GridDecimalSeparator() { return FormatSettings.DecimalSeparator; }
String GridShortDateFormat() { return FormatSettings.ShortDateFormat; }
String GridShortTimeFormat() { return FormatSettings.ShortTimeFormat; }
String GridLongTimeFormat() { return FormatSettings.LongTimeFormat; }

void SetTransparentExStyle(HWND Wnd)
{
    SetWindowLong(Wnd, GWL_EXSTYLE, GetWindowLong(Wnd, GWL_EXSTYLE) | WS_EX_TRANSPARENT);
}

Integer GetFileVersionMS(const String& FileName)
{
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSize(FileName.c_str(), &handle);
    if (size == 0) return -1;
    std::vector<Byte> block(size);
    if (!GetFileVersionInfo(FileName.c_str(), handle, size, block.data())) return -1;
    void* p = nullptr;
    UINT len = 0;
    if (!VerQueryValue(block.data(), L"\\", &p, &len) || !p || len < sizeof(VS_FIXEDFILEINFO)) return -1;
    const auto* fi = static_cast<const VS_FIXEDFILEINFO*>(p);
    if (fi->dwSignature != VS_FFI_SIGNATURE) return -1;
    return Integer(fi->dwFileVersionMS);
}
