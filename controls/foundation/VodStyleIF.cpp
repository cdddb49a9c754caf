#include "controls/foundation/VodStyleIF.h"

#include "platform/base/SysUtils.h"
#include "platform/os/Modules.h"

bool IsVistaOrLater()
{
    HMODULE kernel = GetModuleHandle(L"kernel32");
    return kernel && GetProcAddress(kernel, "GetLocaleInfoEx") != nullptr;
}

String DefaultFontName() { return IsVistaOrLater() ? L"Segoe UI" : L"Tahoma"; }

TColor DarkenColor(TColor Color, Integer Percent)
{
    const uint32_t rgb = static_cast<uint32_t>(ColorToRGB(Color));
    const double factor = 100.0 - double(Percent);
    auto scale = [factor](uint32_t c) -> uint32_t {
        // c * (100 - Percent) is an integer, so a half is exact and Round
        // takes the even neighbour.
        Int64 v = Round(double(c) * factor / 100.0);
        if (v > 255) v = 255;
        if (v < 0) v = 0;   // a Percent above 100 (which callers never pass)
        return uint32_t(v);
    };
    const uint32_t r = scale(rgb & 0xFF), g = scale((rgb >> 8) & 0xFF), b = scale((rgb >> 16) & 0xFF);
    return static_cast<TColor>(r | (g << 8) | (b << 16));
}

TColorTones EmptyColorTones()
{
    TColorTones t;
    for (TColorTone* tone : {&t.Background, &t.Foreground, &t.Selected, &t.Hover, &t.Disabled})
        *tone = TColorTone{clNone, clNone, clNone};
    return t;
}
