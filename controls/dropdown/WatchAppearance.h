// WatchAppearance: the look of the analog clock (colours, fonts, sizes,
// shape, hands, marks) as one persistent object, the colour table that sets
// it per component style (shared by the clock and the time picker
// drop-down), and the clock's own preset looks.
#pragma once

#include <memory>

#include "controls/foundation/VodStyleIF.h"
#include "platform/gfx/Graphics.h"

enum TWatchShape : Byte { wsCircle, wsRect, wsRoundRect };
enum TWatchBorderStyle : Byte { wbLine, wbDoubleLine, wbNone };
enum THourMarkStyle : Byte { hmsLine, hmsQuartDblLine };
enum TTickMarks : Byte { tmAll, tmHours, tmQuartHours, tmNone };
enum TPointerStyle : Byte { psLine, psShortLine, psPointer, psLineArrow };
enum TAMPMFrame : Byte { apRect, apRoundRect };
enum TWatchGradient : Byte { wgRadial, wgVertical, wgDiagonalForward, wgDiagonalBackward };
enum TWatchStyle : Byte {
    wsClassic, wsTower, wsFluorescent, wsEmerald, wsBlueStar, wsFuchsia, wsBlack, wsBlackWhite, wsGray,
    wsSuperNova, wsSports, wsSmooth, wsCustom
};

class TWatchAppearance : public TPersistent {
    VEL_CLASS(TWatchAppearance, TPersistent)
public:
    TWatchAppearance();
    ~TWatchAppearance() override;
    void Assign(TPersistent* Source) override;
    // Every value back to its default.
    void ResetAppearance();

#define VOD_WA_PROP(T, N)             \
    T N() const { return F##N; }      \
    void Set##N(T v)                  \
    {                                 \
        if (F##N == v) return;        \
        F##N = v;                     \
        Changed();                    \
    }
    VOD_WA_PROP(Integer, Size)
    VOD_WA_PROP(TColor, HourPointer)
    VOD_WA_PROP(TColor, BackgroundColor)
    VOD_WA_PROP(TColor, MinutePointerShadow)
    VOD_WA_PROP(TColor, BackgroundColorTo)
    VOD_WA_PROP(TColor, HourPointerShadow)
    VOD_WA_PROP(TColor, SecondPointerShadow)
    VOD_WA_PROP(TColor, SecondPointer)
    VOD_WA_PROP(TColor, BorderColor)
    VOD_WA_PROP(TColor, MinutePointer)
    VOD_WA_PROP(TAMPMFrame, AMPMFrame)
    VOD_WA_PROP(TWatchShape, Shape)
    VOD_WA_PROP(TPointerStyle, PointerStyle)
    VOD_WA_PROP(TWatchBorderStyle, BorderStyle)
    VOD_WA_PROP(Byte, HourPointerSize)
    VOD_WA_PROP(Byte, SecondPointerSize)
    VOD_WA_PROP(Byte, MinutePointerSize)
    VOD_WA_PROP(TColor, HourColor)
    VOD_WA_PROP(TColor, MinuteColor)
    VOD_WA_PROP(Byte, CenterPointSize)
    VOD_WA_PROP(TColor, CenterPointColor)
    VOD_WA_PROP(TColor, CenterPointBorderColor)
    VOD_WA_PROP(TWatchGradient, BackgroundGradient)
    VOD_WA_PROP(Integer, Rounding)
    VOD_WA_PROP(Byte, HourMarkLength)
    VOD_WA_PROP(Byte, HourMarkWidth)
    VOD_WA_PROP(Byte, MinuteMarkLength)
    VOD_WA_PROP(Byte, MinuteMarkWidth)
    VOD_WA_PROP(Integer, BorderWidth)
    VOD_WA_PROP(TColor, AMPMColor)
    VOD_WA_PROP(TColor, AMPMBorderColor)
    VOD_WA_PROP(TColor, CenterPointOuterBorderColor)
    VOD_WA_PROP(TTickMarks, TickMarks)
    VOD_WA_PROP(THourMarkStyle, HourMarkStyle)
#undef VOD_WA_PROP

    TFont* HourFont() const { return FHourFont.get(); }
    void SetHourFont(TFont* v) { FHourFont->Assign(v); }
    TFont* AMPMFont() const { return FAMPMFont.get(); }
    void SetAMPMFont(TFont* v) { FAMPMFont->Assign(v); }
    TPicture* Picture() const { return FPicture.get(); }
    void SetPicture(TPicture* v) { FPicture->Assign(v); }

    TNotifyEvent OnChange;

private:
    void Changed()
    {
        if (OnChange) OnChange(this);
    }
    Integer FSize = 0;
    TColor FHourPointer = 0, FBackgroundColor = 0, FMinutePointerShadow = 0, FBackgroundColorTo = 0;
    TColor FHourPointerShadow = 0, FSecondPointerShadow = 0, FSecondPointer = 0, FBorderColor = 0;
    TColor FMinutePointer = 0;
    std::unique_ptr<TFont> FHourFont, FAMPMFont;
    std::unique_ptr<TPicture> FPicture;
    TAMPMFrame FAMPMFrame = apRect;
    TWatchShape FShape = wsCircle;
    TPointerStyle FPointerStyle = psLine;
    TWatchBorderStyle FBorderStyle = wbLine;
    Byte FHourPointerSize = 0, FSecondPointerSize = 0, FMinutePointerSize = 0;
    TColor FHourColor = 0, FMinuteColor = 0;
    Byte FCenterPointSize = 0;
    TColor FCenterPointColor = 0, FCenterPointBorderColor = 0;
    TWatchGradient FBackgroundGradient = wgVertical;
    Integer FRounding = 0;
    Byte FHourMarkLength = 0, FHourMarkWidth = 0, FMinuteMarkLength = 0, FMinuteMarkWidth = 0;
    Integer FBorderWidth = 0;
    TColor FAMPMColor = 0, FAMPMBorderColor = 0, FCenterPointOuterBorderColor = 0;
    TTickMarks FTickMarks = tmAll;
    THourMarkStyle FHourMarkStyle = hmsLine;
};

// The clock's colours for a component style (the looks after
// tsOffice2010Black and tsCustom change only the first step's values).
void ApplyWatchComponentStyle(TWatchAppearance& A, TQelStyle AStyle);

// What a preset look sets besides the appearance. Fields a preset leaves
// alone keep the values they came in with.
struct TWatchStyleExtras {
    bool ShowAMPM = true;
    bool ShowNumbers = true;
    bool Animation = true;
    Integer AnimationFactor = 10;
};

// Fills A with the preset look Style (wsCustom changes nothing). Width and
// Height are the clock's size now: two presets take mark lengths or the
// centre size from it.
void ApplyWatchStyle(TWatchAppearance& A, TWatchStyle Style, Integer Width, Integer Height,
                     TWatchStyleExtras& Extras);
