// VodProgressBar: a windowless progress bar with up to four colour levels
// chosen by percentage thresholds, mirrored band gradients, smooth or block
// fill, stacked level segments, level background zones, rounded corners, a
// position or percentage text, and an endless mode in which a window of the
// bar slides back and forth on a timer. It paints off screen and copies the
// result to its canvas.
#pragma once

#include <memory>

#include "platform/gfx/Graphics.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Timers.h"

enum TGaugeOrientation { goHorizontal, goVertical };

// What the bar paints from: a copy of its properties taken before painting.
struct TGaugeSettings {
    TColor Level0Color = clNone, Level0ColorTo = clNone;
    TColor Level1Color = clNone, Level1ColorTo = clNone;
    TColor Level2Color = clNone, Level2ColorTo = clNone;
    TColor Level3Color = clNone, Level3ColorTo = clNone;
    Integer Level1Perc = 0, Level2Perc = 0;
    TColor BorderColor = clNone;
    TColor Level0BkColor = clNone, Level1BkColor = clNone, Level2BkColor = clNone;
    bool ShowBorder = false, Stacked = false, ShowPercentage = false, ShowPosition = false;
    TFont* Font = nullptr;   // not owned
    bool CompletionSmooth = false, ShowGradient = false;
    Integer Steps = 0;
    Integer Position = 0;    // the percentage
    Integer Value = 0;       // the position itself
    Integer Max = 0;
    TColor BackgroundColor = clNone;
    TGaugeOrientation Orientation = goHorizontal;
    bool Rounded = false, ParentColor = false;
    String Format;
    bool Infinite = false;
    Integer InfinitePos = 0;
};

// The whole bar in R (the bar's bitmap when it paints itself).
void DrawGauge(TCanvas* Canvas, TRect R, const TGaugeSettings& S);

class TVodProgressBar : public TGraphicControl {
    VEL_CLASS(TVodProgressBar, TGraphicControl)
public:
    explicit TVodProgressBar(TComponent* AOwner);
    ~TVodProgressBar() override;

#define VEL_GAUGE_COLOUR(Name)                       \
    TColor Name() const { return F##Name; }          \
    void Set##Name(TColor v)                         \
    {                                                \
        F##Name = v;                                 \
        Invalidate();                                \
    }
    VEL_GAUGE_COLOUR(Level0Color)
    VEL_GAUGE_COLOUR(Level0ColorTo)
    VEL_GAUGE_COLOUR(Level1Color)
    VEL_GAUGE_COLOUR(Level1ColorTo)
    VEL_GAUGE_COLOUR(Level2Color)
    VEL_GAUGE_COLOUR(Level2ColorTo)
    VEL_GAUGE_COLOUR(Level3Color)
    VEL_GAUGE_COLOUR(Level3ColorTo)
    VEL_GAUGE_COLOUR(BorderColor)
    VEL_GAUGE_COLOUR(BackgroundColor)
#undef VEL_GAUGE_COLOUR
    // The zones repaint only when changed.
    TColor Level0BkColor() const { return FLevel0BkColor; }
    void SetLevel0BkColor(TColor v);
    TColor Level1BkColor() const { return FLevel1BkColor; }
    void SetLevel1BkColor(TColor v);
    TColor Level2BkColor() const { return FLevel2BkColor; }
    void SetLevel2BkColor(TColor v);
    Integer Level1Perc() const { return FLevel1Perc; }
    void SetLevel1Perc(Integer v);
    Integer Level2Perc() const { return FLevel2Perc; }
    void SetLevel2Perc(Integer v);
    bool ShowBorder() const { return FShowBorder; }
    void SetShowBorder(bool v);
    bool Stacked() const { return FStacked; }
    void SetStacked(bool v);
    bool ShowPercentage() const { return FShowPercentage; }
    void SetShowPercentage(bool v);
    bool ShowPosition() const { return FShowPosition; }
    void SetShowPosition(bool v);
    // The text font (Verdana 10 at creation); the setter copies.
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* v);
    bool CompletionSmooth() const { return FCompletionSmooth; }
    void SetCompletionSmooth(bool v);
    bool ShowGradient() const { return FShowGradient; }
    void SetShowGradient(bool v);
    Integer Steps() const { return FSteps; }
    void SetSteps(Integer v);
    TGaugeOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TGaugeOrientation v);
    // Clamped to Min..Max; a value out of range is stored without painting.
    Integer Position() const { return FPosition; }
    void SetPosition(Integer v);
    Integer Min() const { return FMin; }
    void SetMin(Integer v);
    Integer Max() const { return FMax; }
    void SetMax(Integer v);
    bool Rounded() const { return FRounded; }
    void SetRounded(bool v);
    // Formats the position and Max as two integers; a format that does not
    // take them shows the plain text.
    const String& Format() const { return FFormat; }
    void SetFormat(const String& v);
    bool Infinite() const { return FInfinite; }
    void SetInfinite(bool v);
    bool Animated() const { return FAnimated; }
    void SetAnimated(bool v);
    Integer InfiniteInterval() const { return FInfiniteInterval; }
    void SetInfiniteInterval(Integer v);
    String Version() const { return L"1.2.1.1"; }
    void SetVersion(const String&) {}

    // The percentage of a position: counted from Min, 0 for an empty range.
    Integer PercentOf(Integer Value) const;
    // The repaint step ((Max - Min) div 100), the sliding position and its
    // direction, and the timer (for tests).
    Integer RepaintStep() const { return FStep; }
    Integer InfinitePos() const { return FInfinitePos; }
    TTimer* Timer() const { return FTimer; }
    // One tick of the endless mode.
    void StepInfinite();
    TGaugeSettings Settings();

protected:
    void Paint() override;
    void Dispatch(TMessage& Message) override;

private:
    void UpdateTimer();
    TColor FLevel0Color = TColor(0x00FF00), FLevel0ColorTo = TColor(0xE1FFE1);
    TColor FLevel1Color = TColor(0x00FFFF), FLevel1ColorTo = TColor(0xCAFFFF);
    TColor FLevel2Color = TColor(0x53A9FF), FLevel2ColorTo = TColor(0xA8D3FF);
    TColor FLevel3Color = TColor(0x0000FF), FLevel3ColorTo = TColor(0xCACAFF);
    Integer FLevel1Perc = 70, FLevel2Perc = 90;
    TColor FLevel0BkColor = clNone, FLevel1BkColor = clNone, FLevel2BkColor = clNone;
    TColor FBorderColor = TColor(0x808080);
    bool FShowBorder = true, FStacked = false, FShowPercentage = true, FShowPosition = true;
    std::unique_ptr<TFont> FFont;
    bool FCompletionSmooth = false, FShowGradient = true;
    Integer FSteps = 8;
    TColor FBackgroundColor = TColor(0xFFFFFF);
    TGaugeOrientation FOrientation = goHorizontal;
    Integer FPosition = 50, FMin = 0, FMax = 100;
    bool FRounded = true;
    String FFormat;
    bool FInfinite = false, FAnimated = false;
    Integer FInfiniteInterval = 50;
    TTimer* FTimer = nullptr;   // owned as a component
    Integer FInfinitePos = 0;
    bool FMovingUp = false;
    Integer FStep = 1;
    Integer FLastPercent = -1, FLastStepNumber = -1;
};
