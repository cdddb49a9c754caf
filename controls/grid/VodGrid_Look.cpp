// The grid's control look (how controls drawn inside cells look, the
// drop-downs' header and footer, and the fixed cells' gradient colours that
// it passes on to the grid) and its background settings.
#include "controls/grid/VodGrid.h"

// ---------------------------------------------------------------------------
// TControlLook

TControlLook::TControlLook(TVodStringGrid* AOwner)
    : FGrid(AOwner),
      FCheckedGlyph(std::make_unique<TBitmap>()),
      FUnCheckedGlyph(std::make_unique<TBitmap>()),
      FRadioOnGlyph(std::make_unique<TBitmap>()),
      FRadioOffGlyph(std::make_unique<TBitmap>()),
      FDropDownHeader(std::make_unique<THeaderAppearance>(AOwner)),
      FDropDownFooter(std::make_unique<TFooterAppearance>(AOwner))
{
    Init();
}

TControlLook::~TControlLook() = default;

TPersistent* TControlLook::GetOwner() const { return FGrid; }

void TControlLook::Repaint()
{
    if (FGrid) FGrid->Invalidate();
}

void TControlLook::Init()
{
    FColor = 0;
    FCommentColor = clRed;
    FProgressBorderColor = clGray;
    FFixedGradientFrom = clNone;
    FFixedGradientTo = clNone;
    FFixedGradientMirrorFrom = clNone;
    FFixedGradientMirrorTo = clNone;
    FFixedGradientHoverFrom = clWhite;
    FFixedGradientHoverTo = clGray;
    FFixedGradientHoverBorder = clSilver;
    FFixedGradientDownFrom = clSilver;
    FFixedGradientDownTo = clGray;
    FFixedGradientDownBorder = clGray;
    // The mirrors of the hover and down states reach the grid too.
    SetFixedGradientHoverMirrorFrom(clNone);
    SetFixedGradientHoverMirrorTo(clNone);
    SetFixedGradientDownMirrorFrom(clNone);
    SetFixedGradientDownMirrorTo(clNone);
}

void TControlLook::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TControlLook*>(Source);
    if (!s) return;
    FButtonPrefix = s->FButtonPrefix;
    FCheckSize = s->FCheckSize;
    FRadioSize = s->FRadioSize;
    FControlStyle = s->FControlStyle;
    FCheckedGlyph->Assign(s->FCheckedGlyph.get());
    FUnCheckedGlyph->Assign(s->FUnCheckedGlyph.get());
    FRadioOnGlyph->Assign(s->FRadioOnGlyph.get());
    FRadioOffGlyph->Assign(s->FRadioOffGlyph.get());
    FProgressMarginX = s->FProgressMarginX;
    FProgressMarginY = s->FProgressMarginY;
    FCommentColor = s->FCommentColor;
    FColor = s->FColor;
    FProgressBorderColor = s->FProgressBorderColor;
    FCheckAlwaysActive = s->FCheckAlwaysActive;
    FRadioAlwaysActive = s->FRadioAlwaysActive;
    FFixedGradientFrom = s->FFixedGradientFrom;
    FFixedGradientTo = s->FFixedGradientTo;
    FFixedGradientMirrorFrom = s->FFixedGradientMirrorFrom;
    FFixedGradientMirrorTo = s->FFixedGradientMirrorTo;
    FFixedGradientHoverFrom = s->FFixedGradientHoverFrom;
    FFixedGradientHoverTo = s->FFixedGradientHoverTo;
    FFixedGradientHoverMirrorFrom = s->FFixedGradientHoverMirrorFrom;
    FFixedGradientHoverMirrorTo = s->FFixedGradientHoverMirrorTo;
    FFixedGradientHoverBorder = s->FFixedGradientHoverBorder;
    FFixedGradientDownFrom = s->FFixedGradientDownFrom;
    FFixedGradientDownTo = s->FFixedGradientDownTo;
    FFixedGradientDownMirrorFrom = s->FFixedGradientDownMirrorFrom;
    FFixedGradientDownMirrorTo = s->FFixedGradientDownMirrorTo;
    FFixedGradientDownBorder = s->FFixedGradientDownBorder;
    FDropDownAlwaysVisible = s->FDropDownAlwaysVisible;
    FSpinButtonsAlwaysVisible = s->FSpinButtonsAlwaysVisible;
    FDropDownCount = s->FDropDownCount;
    FDropDownFooter->Assign(s->FDropDownFooter.get());
    FDropDownHeader->Assign(s->FDropDownHeader.get());
    FHintMaxWidth = s->FHintMaxWidth;
    FDropDownButtonWidth = s->FDropDownButtonWidth;
}

void TControlLook::SetColor(TColor v)
{
    FColor = v;
    Repaint();
}

void TControlLook::SetCommentColor(TColor v)
{
    FCommentColor = v;
    Repaint();
}

void TControlLook::SetCheckedGlyph(TBitmap* v)
{
    FCheckedGlyph->Assign(v);
    Repaint();
}

void TControlLook::SetUnCheckedGlyph(TBitmap* v)
{
    FUnCheckedGlyph->Assign(v);
    Repaint();
}

void TControlLook::SetRadioOnGlyph(TBitmap* v)
{
    FRadioOnGlyph->Assign(v);
    Repaint();
}

void TControlLook::SetRadioOffGlyph(TBitmap* v)
{
    FRadioOffGlyph->Assign(v);
    Repaint();
}

// The normal gradient goes to the grid (converted and repainted there) only
// when set; the mirrors always.
void TControlLook::SetFixedGradientFrom(TColor v)
{
    FFixedGradientFrom = v;
    if (v != clNone && FGrid) FGrid->SetQelGradientFrom(v);
}

void TControlLook::SetFixedGradientTo(TColor v)
{
    FFixedGradientTo = v;
    if (v != clNone && FGrid) FGrid->SetQelGradientTo(v);
}

void TControlLook::SetFixedGradientMirrorFrom(TColor v)
{
    FFixedGradientMirrorFrom = v;
    if (FGrid) FGrid->SetQelGradientMirrorFrom(v);
}

void TControlLook::SetFixedGradientMirrorTo(TColor v)
{
    FFixedGradientMirrorTo = v;
    if (FGrid) FGrid->SetQelGradientMirrorTo(v);
}

void TControlLook::SetFixedGradientHoverFrom(TColor v)
{
    FFixedGradientHoverFrom = v;
    if (v != clNone && FGrid) FGrid->SetQelGradientHoverFrom(v);
}

void TControlLook::SetFixedGradientHoverTo(TColor v)
{
    FFixedGradientHoverTo = v;
    if (v != clNone && FGrid) FGrid->SetQelGradientHoverTo(v);
}

void TControlLook::SetFixedGradientHoverBorder(TColor v)
{
    FFixedGradientHoverBorder = v;
    if (v != clNone && FGrid) FGrid->SetQelGradientHoverBorder(v);
}

void TControlLook::SetFixedGradientHoverMirrorFrom(TColor v)
{
    FFixedGradientHoverMirrorFrom = v;
    if (FGrid) FGrid->SetQelGradientHoverMirrorFrom(v);
}

void TControlLook::SetFixedGradientHoverMirrorTo(TColor v)
{
    FFixedGradientHoverMirrorTo = v;
    if (FGrid) FGrid->SetQelGradientHoverMirrorTo(v);
}

void TControlLook::SetFixedGradientDownFrom(TColor v)
{
    FFixedGradientDownFrom = v;
    if (v != clNone && FGrid) FGrid->SetQelGradientDownFrom(v);
}

void TControlLook::SetFixedGradientDownTo(TColor v)
{
    FFixedGradientDownTo = v;
    if (v != clNone && FGrid) FGrid->SetQelGradientDownTo(v);
}

void TControlLook::SetFixedGradientDownBorder(TColor v)
{
    FFixedGradientDownBorder = v;
    if (v != clNone && FGrid) FGrid->SetQelGradientDownBorder(v);
}

void TControlLook::SetFixedGradientDownMirrorFrom(TColor v)
{
    FFixedGradientDownMirrorFrom = v;
    if (FGrid) FGrid->SetQelGradientDownMirrorFrom(v);
}

void TControlLook::SetFixedGradientDownMirrorTo(TColor v)
{
    FFixedGradientDownMirrorTo = v;
    if (FGrid) FGrid->SetQelGradientDownMirrorTo(v);
}

void TControlLook::SetCheckSize(Integer v)
{
    FCheckSize = v;
    Repaint();
}

void TControlLook::SetRadioSize(Integer v)
{
    FRadioSize = v;
    Repaint();
}

void TControlLook::SetControlStyle(TControlStyle v)
{
    if (FControlStyle == v) return;
    FControlStyle = v;
    Repaint();
}

void TControlLook::SetDropDownAlwaysVisible(bool v)
{
    if (FDropDownAlwaysVisible == v) return;
    FDropDownAlwaysVisible = v;
    Repaint();
}

void TControlLook::SetDropDownButtonWidth(Integer v)
{
    if (FDropDownButtonWidth == v) return;
    FDropDownButtonWidth = v;
    Repaint();
}

#define VEL_LOOK_REPAINT(Name, Type)     \
    void TControlLook::Set##Name(Type v) \
    {                                    \
        F##Name = v;                     \
        Repaint();                       \
    }
VEL_LOOK_REPAINT(SpinButtonsAlwaysVisible, bool)
VEL_LOOK_REPAINT(FlatButton, bool)
VEL_LOOK_REPAINT(NoDisabledCheckRadioLook, bool)
VEL_LOOK_REPAINT(NoDisabledButtonLook, bool)
VEL_LOOK_REPAINT(ProgressMarginX, Integer)
VEL_LOOK_REPAINT(ProgressMarginY, Integer)
VEL_LOOK_REPAINT(ProgressXP, bool)
#undef VEL_LOOK_REPAINT

// ---------------------------------------------------------------------------
// TBackGround

TBackGround::TBackGround(TVodStringGrid* AGrid) : FGrid(AGrid), FBitmap(std::make_unique<TBitmap>()) {}

TBackGround::~TBackGround() = default;

void TBackGround::Changed()
{
    if (FGrid) FGrid->Invalidate();
}

void TBackGround::SetTop(Integer v)
{
    FTop = v;
    Changed();
}

void TBackGround::SetLeft(Integer v)
{
    FLeft = v;
    Changed();
}

void TBackGround::SetDisplay(TBackGroundDisplay v)
{
    FDisplay = v;
    Changed();
}

void TBackGround::SetBitmap(TBitmap* v)
{
    FBitmap->Assign(v);
    Changed();
}

void TBackGround::SetCells(TBackGroundCells v)
{
    FCells = v;
    Changed();
}

void TBackGround::SetColor(TColor v)
{
    FColor = v;
    Changed();
}

void TBackGround::SetColorTo(TColor v)
{
    FColorTo = v;
    Changed();
}

void TBackGround::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TBackGround*>(Source);
    if (!s) return;
    FTop = s->FTop;
    FLeft = s->FLeft;
    FDisplay = s->FDisplay;
    FBitmap->Assign(s->FBitmap.get());
    FCells = s->FCells;
    FColor = s->FColor;
    FColorTo = s->FColorTo;
}
