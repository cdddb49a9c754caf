// The grid's settings objects for grouping, balloons, modified marks, drag
// scrolling, the progress look and the automatic number colours: what
// Assign copies and when each announces a change.
#include "controls/grid/VodGrid.h"

void TGrouping::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TGrouping*>(Source);
    if (!s) return;
    FGroupCountFormat = s->FGroupCountFormat;
    FHeaderColor = s->FHeaderColor;
    FHeaderColorTo = s->FHeaderColorTo;
    FHeaderTextColor = s->FHeaderTextColor;
    FHeaderUnderline = s->FHeaderUnderline;
    FMergeHeader = s->FMergeHeader;
    FMergeSummary = s->FMergeSummary;
    FShowGroupCount = s->FShowGroupCount;
    FSummaryColor = s->FSummaryColor;
    FSummaryColorTo = s->FSummaryColorTo;
    FSummaryTextColor = s->FSummaryTextColor;
    FSummaryLine = s->FSummaryLine;
    FAutoCheckGroup = s->FAutoCheckGroup;
    FAutoSelectGroup = s->FAutoSelectGroup;
}

void TBalloonSettings::SetEnable(bool v)
{
    if (FEnable == v) return;
    FEnable = v;
    if (OnEnableChange) OnEnableChange(this);
}

void TBalloonSettings::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TBalloonSettings*>(Source);
    if (!s) return;
    FTextColor = s->FTextColor;
    FBackgroundColor = s->FBackgroundColor;
    FInitialDelay = s->FInitialDelay;
    FAutoHideDelay = s->FAutoHideDelay;
    FReshowDelay = s->FReshowDelay;
    FEnable = s->FEnable;
    FShowCell = s->FShowCell;
}

void TShowModified::SetColor(TColor v)
{
    FColor = v;
    if (OnChange) OnChange(this);
}

void TShowModified::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TShowModified*>(Source);
    if (!s) return;
    FColor = s->FColor;
    FEnabled = s->FEnabled;
}

void TDragScrollDelays::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TDragScrollDelays*>(Source);
    if (!s) return;
    FInitialDelay = s->FInitialDelay;
    FRepeatDelay = s->FRepeatDelay;
}

void TDragScrollMargins::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TDragScrollMargins*>(Source);
    if (!s) return;
    FTopMargin = s->FTopMargin;
    FBottomMargin = s->FBottomMargin;
    FLeftMargin = s->FLeftMargin;
    FRightMargin = s->FRightMargin;
}

TDragScrollOptions::TDragScrollOptions()
    : FDelays(std::make_unique<TDragScrollDelays>()), FMargins(std::make_unique<TDragScrollMargins>())
{
}

TDragScrollOptions::~TDragScrollOptions() = default;

void TDragScrollOptions::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TDragScrollOptions*>(Source);
    if (!s) return;
    FMargins->Assign(s->FMargins.get());
    FDelays->Assign(s->FDelays.get());
    FActive = s->FActive;
}

void TGridProgressAppearance::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TGridProgressAppearance*>(Source);
    if (!s) return;
#define VEL_PROGRESS_COPY(Type, Name, Init) F##Name = s->F##Name;
    VEL_PROGRESS_PROPS(VEL_PROGRESS_COPY)
#undef VEL_PROGRESS_COPY
    Changed();
}

void TColorSetting::Changed()
{
    if (OnChange) OnChange(this);
}

void TColorSetting::SetTextColor(TColor v)
{
    if (FTextColor == v) return;
    FTextColor = v;
    Changed();
}

void TColorSetting::SetBkgColor(TColor v)
{
    if (FBkgColor == v) return;
    FBkgColor = v;
    Changed();
}

void TColorSetting::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TColorSetting*>(Source);
    if (!s) return;
    FTextColor = s->FTextColor;
    FBkgColor = s->FBkgColor;
}

TAutoColor::TAutoColor()
    : FNegativeNumber(std::make_unique<TColorSetting>()), FPositiveNumber(std::make_unique<TColorSetting>())
{
    FNegativeNumber->OnChange = [this](TObject*) { Changed(); };
    FPositiveNumber->OnChange = [this](TObject*) { Changed(); };
}

TAutoColor::~TAutoColor() = default;

void TAutoColor::Changed()
{
    if (OnChange) OnChange(this);
}

void TAutoColor::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TAutoColor*>(Source);
    if (!s) return;
    FNegativeNumber->Assign(s->FNegativeNumber.get());
    FPositiveNumber->Assign(s->FPositiveNumber.get());
}

bool TAutoColor::HasColors() const
{
    return !(FNegativeNumber->TextColor() == clNone && FNegativeNumber->BkgColor() == clNone &&
             FPositiveNumber->TextColor() == clNone && FPositiveNumber->BkgColor() == clNone);
}
