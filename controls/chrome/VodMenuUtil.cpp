#include "controls/chrome/VodMenuUtil.h"

#include <cwchar>

#include "platform/base/SysUtils.h"
#include "platform/os/Version.h"

void RaiseInvalidPropertyIndex(Integer Index)
{
    throw EInvalidPropertyIndex(Format(L"Invalid property index %d.", {Index}));
}

HFONT CreateRotatedFont(TFont* Font, Integer Angle)
{
    LOGFONTW lf{};
    lf.lfHeight = Font->Height();
    lf.lfWidth = 0;
    lf.lfEscapement = Angle * 10;
    lf.lfOrientation = 0;
    const TFontStyles st = Font->Style();
    lf.lfWeight = st.Contains(fsBold) ? 700 : 400;
    lf.lfItalic = st.Contains(fsItalic) ? 1 : 0;
    lf.lfUnderline = st.Contains(fsUnderline) ? 1 : 0;
    lf.lfStrikeOut = st.Contains(fsStrikeOut) ? 1 : 0;
    lf.lfCharSet = 1;
    lf.lfOutPrecision = 0;
    lf.lfClipPrecision = 0;
    lf.lfQuality = 0;
    lf.lfPitchAndFamily = Font->Pitch() == fpVariable ? 2 : Font->Pitch() == fpFixed ? 1 : 0;
    const String name = Font->Name();
    std::wcsncpy(lf.lfFaceName, name.c_str(), LF_FACESIZE - 1);
    return CreateFontIndirect(&lf);
}

void AssignFontIfDiffers(TFont* Dest, TFont* Source)
{
    if (!Dest || !Source || Dest == Source) return;
    if (Dest->Name() == Source->Name() && Dest->Height() == Source->Height() && Dest->Style() == Source->Style() &&
        Dest->Pitch() == Source->Pitch() && Dest->Charset() == Source->Charset() &&
        Dest->Orientation() == Source->Orientation() && Dest->Quality() == Source->Quality() &&
        Dest->PixelsPerInch() == Source->PixelsPerInch()) {
        if (Dest->Color() != Source->Color()) Dest->SetColor(Source->Color());
        return;
    }
    Dest->Assign(Source);
}

void CenterRect(TRect& R, Integer W, Integer H)
{
    R.Right = (R.Left + R.Right + W) / 2;
    R.Bottom = (R.Top + R.Bottom + H) / 2;
    R.Left = R.Right - W;
    R.Top = R.Bottom - H;
}

TRect BitmapRect(TBitmap* Bitmap)
{
    if (!Bitmap) return TRect{0, 0, 0, 0};
    return TRect{0, 0, Bitmap->Width(), Bitmap->Height()};
}

void ColorToParts(TColor Color, Integer& R, Integer& G, Integer& B)
{
    const Integer c = ColorToRGB(Color);
    R = c & 0xFF;
    G = (c >> 8) & 0xFF;
    B = (c >> 16) & 0xFF;
}

TColor PackColor(Integer R, Integer G, Integer B, Integer Fourth)
{
    return TColor(Cardinal(R & 0xFF) | (Cardinal(G & 0xFF) << 8) | (Cardinal(B & 0xFF) << 16) |
                  (Cardinal(Fourth & 0xFF) << 24));
}

namespace {
TLayeredWindowFunctions GLayered;
}

const TLayeredWindowFunctions& LayeredWindowFunctions() { return GLayered; }

void LookUpLayeredWindowFunctions()
{
    GLayered = TLayeredWindowFunctions();
    HMODULE user32 = LoadLibrary(L"user32.dll");
    if (!user32) return;
    GLayered.UpdateLayeredWindow = GetProcAddress(user32, "UpdateLayeredWindow");
    GLayered.SetLayeredWindowAttributes = GetProcAddress(user32, "SetLayeredWindowAttributes");
    GLayered.Found = GLayered.SetLayeredWindowAttributes != nullptr;
    FreeLibrary(user32);
}

Integer CurrentXPTheme()
{
    OSVERSIONINFO os;
    if (!GetVersionEx(&os)) return 0;
    if (!(os.dwMajorVersion > 5 || (os.dwMajorVersion == 5 && os.dwMinorVersion >= 1))) return 0;
    HMODULE lib = LoadLibrary(L"uxtheme.dll");
    if (!lib) return 0;
    Integer result = 0;
    using TIsThemeActive = BOOL (*)();
    using TGetCurrentThemeName = HRESULT (*)(LPWSTR, int, LPWSTR, int, LPWSTR, int);
    auto isThemeActive = reinterpret_cast<TIsThemeActive>(GetProcAddress(lib, "IsThemeActive"));
    if (isThemeActive && isThemeActive()) {
        if (auto themeName = reinterpret_cast<TGetCurrentThemeName>(GetProcAddress(lib, "GetCurrentThemeName"))) {
            wchar_t file[255] = {0}, scheme[255] = {0}, size[255] = {0};
            themeName(file, 255, scheme, 255, size, 255);
            const String s = scheme;
            if (s == L"NormalColor") result = 1;
            else if (s == L"HomeStead") result = 2;
            else if (s == L"Metallic") result = 3;
        }
    }
    FreeLibrary(lib);
    return result;
}
