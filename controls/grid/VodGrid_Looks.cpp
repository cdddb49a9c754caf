// The grid's settings objects for outline nodes, sizing while typing,
// column sizes, the markup export and printing; the look presets with their
// names; the link display settings and the image list.
#include "controls/grid/VodGrid.h"
#include "platform/gfx/ImageList.h"

// ---------------------------------------------------------------------------
// TCellNode

TCellNode::TCellNode(TVodStringGrid* AOwner)
    : FGrid(AOwner), FExpandGlyph(std::make_unique<TBitmap>()), FContractGlyph(std::make_unique<TBitmap>())
{
}

TCellNode::~TCellNode() = default;

TPersistent* TCellNode::GetOwner() const { return FGrid; }

void TCellNode::Repaint()
{
    if (FGrid) FGrid->Invalidate();
}

void TCellNode::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TCellNode*>(Source);
    if (!s) return;
    FColor = s->FColor;
    FExpandOne = s->FExpandOne;
    FNodeType = s->FNodeType;
    FNodeColor = s->FNodeColor;
    FNodeColumn = s->FNodeColumn;
    FNodeIndent = s->FNodeIndent;
    FExpandGlyph->Assign(s->FExpandGlyph.get());
    FContractGlyph->Assign(s->FContractGlyph.get());
    FShowTree = s->FShowTree;
    FShowTreeFull = s->FShowTreeFull;
    FTreeColor = s->FTreeColor;
}

void TCellNode::SetNodeType(TNodeType v)
{
    if (FNodeType == v) return;
    FNodeType = v;
    Repaint();
}

void TCellNode::SetNodeColumn(Integer v)
{
    if (FNodeColumn == v) return;
    if (FGrid && FGrid->HasNodes()) throw EVodGridError(L"Cannot change node column when grid has nodes");
    FNodeColumn = v;
}

void TCellNode::SetNodeIndent(Integer v)
{
    if (FNodeIndent == v) return;
    FNodeIndent = v;
    Repaint();
}

void TCellNode::SetExpandGlyph(TBitmap* v) { FExpandGlyph->Assign(v); }

void TCellNode::SetContractGlyph(TBitmap* v) { FContractGlyph->Assign(v); }

void TCellNode::SetShowTree(bool v)
{
    if (FShowTree == v) return;
    FShowTree = v;
    Repaint();
}

void TCellNode::SetShowTreeFull(bool v)
{
    if (FShowTreeFull == v) return;
    FShowTreeFull = v;
    Repaint();
}

void TCellNode::SetTreeColor(TColor v)
{
    if (FTreeColor == v) return;
    FTreeColor = v;
    Repaint();
}

// ---------------------------------------------------------------------------
// TColumnSize

TColumnSize::TColumnSize(TVodStringGrid* AOwner) : FGrid(AOwner) {}

TPersistent* TColumnSize::GetOwner() const { return FGrid; }

void TColumnSize::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TColumnSize*>(Source);
    if (!s) return;
    FRows = s->FRows;
    FSave = s->FSave;
    FKey = s->FKey;
    FSection = s->FSection;
    FStretch = s->FStretch;
    FStretchColumn = s->FStretchColumn;
    FSynchWithGrid = s->FSynchWithGrid;
    FSynchNormalCellsOnly = s->FSynchNormalCellsOnly;
    FLocation = s->FLocation;
}

void TColumnSize::SetStretch(bool v)
{
    FStretch = v;
    if (FGrid && FGrid->Parent()) FGrid->ApplyColumnStretch(FStretchColumn, -1);
}

void TColumnSize::SetStretchAll(bool v)
{
    if (FStretchAll == v) return;
    if (v) FStretchColumn = -1;
    FStretchAll = v;
    if (FGrid) FGrid->ApplyColumnStretch(FStretchColumn, -1);
}

// ---------------------------------------------------------------------------
// THTMLSettings

THTMLSettings::THTMLSettings() : FColWidths(std::make_unique<TIntList>(0, 0)) {}

THTMLSettings::~THTMLSettings() = default;

void THTMLSettings::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<THTMLSettings*>(Source);
    if (!s) return;
    FBorderSize = s->FBorderSize;
    FCellSpacing = s->FCellSpacing;
    FCellPadding = s->FCellPadding;
    FSaveColor = s->FSaveColor;
    FSaveFonts = s->FSaveFonts;
    FFooterFile = s->FFooterFile;
    FFooterText = s->FFooterText;
    FHeaderFile = s->FHeaderFile;
    FHeaderText = s->FHeaderText;
    FTableStyle = s->FTableStyle;
    FPrefixTag = s->FPrefixTag;
    FSuffixTag = s->FSuffixTag;
    FSummary = s->FSummary;
    FWidth = s->FWidth;
    FXHTML = s->FXHTML;
    FConvertSpecialChars = s->FConvertSpecialChars;
    FAutoPreview = s->FAutoPreview;
    FNonBreakingText = s->FNonBreakingText;
    FImageBaseName = s->FImageBaseName;
    FImageFolder = s->FImageFolder;
}

// ---------------------------------------------------------------------------
// TPrintSettings

TPrintSettings::TPrintSettings(TVodStringGrid* AOwner)
    : FOwner(AOwner),
      FTitleLines(std::make_unique<TStringList>()),
      FFont(std::make_unique<TFont>()),
      FFixedFont(std::make_unique<TFont>()),
      FHeaderFont(std::make_unique<TFont>()),
      FFooterFont(std::make_unique<TFont>())
{
}

TPrintSettings::~TPrintSettings() = default;

TPersistent* TPrintSettings::GetOwner() const { return FOwner; }

void TPrintSettings::Assign(TPersistent* Source)
{
    // Any source is taken as print settings: another class is a caller's
    // mistake and raises the invalid-cast error.
    auto* s = CheckedCast<TPrintSettings>(Source);
    if (!s || s == this) return;
    FFooterSize = s->FFooterSize;
    FHeaderSize = s->FHeaderSize;
    FTime = s->FTime;
    FDate = s->FDate;
    FDateFormat = s->FDateFormat;
    FPageNr = s->FPageNr;
    FTitle = s->FTitle;
    FTitleText = s->FTitleText;
    FTitleLines->Assign(s->FTitleLines.get());
    FFont->Assign(s->FFont.get());
    FFixedFont->Assign(s->FFixedFont.get());
    FHeaderFont->Assign(s->FHeaderFont.get());
    FFooterFont->Assign(s->FFooterFont.get());
    FBorders = s->FBorders;
    FBorderStyle = s->FBorderStyle;
    FBorderColor = s->FBorderColor;
    FCentered = s->FCentered;
    FRepeatFixedRows = s->FRepeatFixedRows;
    FRepeatFixedCols = s->FRepeatFixedCols;
    FLeftSize = s->FLeftSize;
    FRightSize = s->FRightSize;
    FColumnSpacing = s->FColumnSpacing;
    FRowSpacing = s->FRowSpacing;
    FTitleSpacing = s->FTitleSpacing;
    FOrientation = s->FOrientation;
    FPagePrefix = s->FPagePrefix;
    FPageSuffix = s->FPageSuffix;
    FPageNumSep = s->FPageNumSep;
    FPageNumberOffset = s->FPageNumberOffset;
    FMaxPagesOffset = s->FMaxPagesOffset;
    FFixedWidth = s->FFixedWidth;
    FFixedHeight = s->FFixedHeight;
    FUseFixedHeight = s->FUseFixedHeight;
    FUseFixedWidth = s->FUseFixedWidth;
    FFitToPage = s->FFitToPage;
    FJobName = s->FJobName;
    FNoAutoSize = s->FNoAutoSize;
    FNoAutoSizeRow = s->FNoAutoSizeRow;
    FPrintGraphics = s->FPrintGraphics;
    FUseDisplayFont = s->FUseDisplayFont;
    FUseDefaultOrientation = s->FUseDefaultOrientation;
    FPrintComments = s->FPrintComments;
}

// ---------------------------------------------------------------------------
// Look names

namespace {

const wchar_t* const kLookNames[] = {L"Standard", L"Soft",          L"Classic",   L"Qel",        L"Windows XP",
                                     L"ListView", L"Windows Vista", L"Windows 7", L"Office2007"};
const wchar_t* const kLookEnumNames[] = {L"glStandard", L"glSoft",  L"glClassic", L"glQel",        L"glXP",
                                         L"glListView", L"glVista", L"glWin7",    L"glOffice2007"};

}  // namespace

void GetLookName(TGridLook Look, String& Name)
{
    if (Look >= glStandard && Look < glCustom) Name = kLookNames[Look];
}

void GetLookEnumName(TGridLook Look, String& Name)
{
    if (Look >= glStandard && Look < glCustom) Name = kLookEnumNames[Look];
}

// ---------------------------------------------------------------------------
// Link display and the image list

void TVodStringGrid::SetURLColor(TColor Value)
{
    if (FURLColor == Value) return;
    FURLColor = Value;
    if (FURLShow) Invalidate();
}

void TVodStringGrid::SetURLShow(bool Value)
{
    if (FURLShow == Value) return;
    FURLShow = Value;
    Invalidate();
}

void TVodStringGrid::SetURLShowInText(bool Value)
{
    if (FURLShowInText == Value) return;
    FURLShowInText = Value;
    Invalidate();
}

void TVodStringGrid::SetURLFull(bool Value)
{
    if (FURLFull == Value) return;
    FURLFull = Value;
    if (FURLShow) Invalidate();
}

void TVodStringGrid::SetGridImages(TCustomImageList* Value)
{
    // Told when the list is freed, so the reference never dangles.
    if (FGridImages == Value) return;
    if (FGridImages) FGridImages->RemoveFreeNotification(this);
    FGridImages = Value;
    if (FGridImages) FGridImages->FreeNotification(this);
}

// ---------------------------------------------------------------------------
// Look presets

void TVodStringGrid::SetLook(TGridLook Value)
{
    if (FLook == Value) return;
    FLook = Value;
    const bool loading = ComponentState().Contains(csLoading);
    TControlLook* cl = ControlLook();

    // 1. Every preset starts from cleared header gradients.
    if (Value != glCustom) {
        cl->SetFixedGradientMirrorFrom(clNone);
        cl->SetFixedGradientMirrorTo(clNone);
        cl->SetFixedGradientFrom(clNone);
        cl->SetFixedGradientTo(clNone);
        SetQelGradientFrom(clNone);
        SetQelGradientTo(clNone);
        SetQelGradientMirrorFrom(clNone);
        SetQelGradientMirrorTo(clNone);
    }
    // The search footer takes the look colours as they stand now: the fixed
    // gradients set below pass their colours on to the grid.
    const TColor qelFrom = QelGradientFrom(), qelTo = QelGradientTo();

    // 2. The styled looks: their grid style, remembered as the component
    // style, and their selection style.
    switch (Value) {
    case glVista:
        SetStyle(tsWindowsVista);
        FComponentStyle = tsWindowsVista;
        SetSelectionStyle(ssVista);
        break;
    case glWin7:
        SetStyle(tsWindows7);
        FComponentStyle = tsWindows7;
        SetSelectionStyle(ssWin7);
        break;
    case glOffice2007:
        SetStyle(tsOffice2007Luna);
        FComponentStyle = tsOffice2007Luna;
        SetSelectionStyle(ssOffice2007);
        break;
    default: break;
    }

    // 3. The plain looks; a loading grid takes only their selection style.
    switch (Value) {
    case glStandard:
    case glSoft:
    case glClassic:
    case glQel:
    case glXP:
    case glListView: {
        if (!ComponentState().Contains(csDesigning)) SetDropDownEditorsStyle(tsWindowsXP);
        SetSelectionStyle(ssDefault);
        if (loading) break;
        const bool classic = Value == glStandard || Value == glSoft || Value == glClassic;
        if (classic) {
            SetFixedColor(clBtnFace);
            cl->SetFixedGradientFrom(clBtnFace);
            cl->SetFixedGradientTo(clNone);
        } else {
            cl->SetFixedGradientFrom(TColor(0xFFFFFF));
            cl->SetFixedGradientTo(clBtnFace);
        }
        SetGridFixedLineColor(TColor(0x808080));
        cl->SetFixedGradientMirrorFrom(clNone);
        cl->SetFixedGradientMirrorTo(clNone);
        SetQelGradientMirrorFrom(clNone);
        SetQelGradientMirrorTo(clNone);
        SetGridLineColor(TColor(0xC0C0C0));
        if (Value == glQel || Value == glXP) {
            FActiveCellColor = TColor(0xEACAB6);
            FActiveCellColorTo = clNone;
            FSelectionColor = TColor(0xEACAB6);
            FSelectionColorTo = clNone;
            FSelectionTextColor = TColor(0);
            SearchFooter()->SetColor(qelFrom);
            SearchFooter()->SetColorTo(qelTo);
            cl->SetFixedGradientFrom(TColor(0xFFFFFF));
            cl->SetFixedGradientTo(Value == glXP ? clBtnFace : TColor(0xC0C0C0));
            cl->SetFixedGradientHoverFrom(TColor(0xCFD0D1));
            cl->SetFixedGradientHoverTo(TColor(0xBEC6C8));
            cl->SetFixedGradientHoverMirrorFrom(TColor(0xBEC6C8));
            cl->SetFixedGradientHoverMirrorTo(TColor(0xABBCBF));
            cl->SetFixedGradientDownFrom(TColor(0x868788));
            cl->SetFixedGradientDownTo(TColor(0x737C7E));
            cl->SetFixedGradientDownMirrorFrom(TColor(0x737C7E));
            cl->SetFixedGradientDownMirrorTo(TColor(0x627376));
        } else {
            FActiveCellColor = TColor(0x808080);
            FActiveCellColorTo = clNone;
            FSelectionColor = clHighlight;
            FSelectionTextColor = clHighlightText;
            SearchFooter()->SetColor(clBtnFace);
            SearchFooter()->SetColorTo(clBtnFace);
        }
        break;
    }
    default: break;
    }

    // 4. Every look.
    FScrollType = ssNormal;
    if (Value != glCustom) SetBorderColor(TColor(0xB99D7F));
    Invalidate();
    if (!loading) UpdateFooter();
}
