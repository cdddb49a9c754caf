#include "controls/foundation/VodGDIP.h"

#include <gtest/gtest.h>

#include <memory>

#include "PictureTestSupport.h"
#include "controls/foundation/LibraryStartup.h"
#include "controls/foundation/VodGDIP_Internal.h"
#include "platform/gfx/Gdi.h"

using namespace picture_test;

namespace {

// The test main runs the library's start-up, which starts GDI+.
struct VodGDIP : ::testing::Test {
    void SetUp() override { ASSERT_TRUE(VodGdipRunning()); }
};

// A white bitmap of w x h with a drawing surface on it.
struct TSurface {
    std::unique_ptr<TGPBitmap> Bitmap;
    std::unique_ptr<TGPGraphics> Graphics;
    TSurface(int w, int h)
        : Bitmap(new TGPBitmap(w, h, PixelFormat32bppARGB)), Graphics(new TGPGraphics(Bitmap.get()))
    {
        Graphics->Clear(0xFFFFFFFF);
    }
    ARGB At(int x, int y)
    {
        ARGB c = 0;
        Bitmap->GetPixel(x, y, c);
        return c;
    }
    // Pixels that are not white.
    int Inked()
    {
        int n = 0;
        for (int y = 0; y < int(Bitmap->GetHeight()); ++y)
            for (int x = 0; x < int(Bitmap->GetWidth()); ++x) n += At(x, y) != 0xFFFFFFFF;
        return n;
    }
};

struct TFixedFonts {
    TFixedFonts() { SetFixedMetricsFonts(true); }
    ~TFixedFonts() { SetFixedMetricsFonts(false); }
};

}  // namespace

TEST_F(VodGDIP, ColourRoutines)
{
    EXPECT_EQ(ARGBFromTColor(TColor(RGB(10, 20, 30))), 0xFF0A141Eu);
    EXPECT_EQ(ComposeOpaqueARGB(1, 2, 3), 0xFF010203u);
    EXPECT_EQ(ComposeARGB(0x80, 1, 2, 3), 0x80010203u);
    EXPECT_EQ(ARGBRed(0xFF010203u), 1);
    EXPECT_EQ(ARGBGreen(0xFF010203u), 2);
    EXPECT_EQ(ARGBBlue(0xFF010203u), 3);

    // A system colour is resolved at the call.
    const int index = COLOR_WINDOW;
    const COLORREF old = GetSysColor(index);
    const COLORREF tint = RGB(0x12, 0x34, 0x56);
    SetSysColors(1, &index, &tint);
    EXPECT_EQ(ARGBFromTColor(clWindow), 0xFF123456u);
    SetSysColors(1, &index, &old);
    EXPECT_EQ(ARGBFromTColor(clWindow) >> 24, 0xFFu);

    const TGPPoint p = NewGPPoint(3, -4);
    EXPECT_EQ(p.X, 3);
    EXPECT_EQ(p.Y, -4);
    const TGPRectF r = NewGPRectF(1.5f, 2, 3, 4.25f);
    EXPECT_EQ(r.X, 1.5f);
    EXPECT_EQ(r.Height, 4.25f);
}

TEST_F(VodGDIP, EnumerationsKeepTheirOrder)
{
    EXPECT_EQ(int(PropertyNotSupported), 20);
    EXPECT_EQ(int(UnitMillimeter), 6);
    EXPECT_EQ(int(HatchStyleSolidDiamond) + 1, int(HatchStyleTotal));
    EXPECT_EQ(int(TextRenderingHintClearTypeGridFit), 5);
    EXPECT_EQ(int(ifUndefined), 0);
    EXPECT_EQ(int(ifIcon), 10);
    EXPECT_EQ(int(aaAntiAlias), 2);
}

// Constructors keep their status whatever it is; other operations record
// failures only, and GetLastStatus reads and clears.
TEST_F(VodGDIP, StatusConvention)
{
    std::unique_ptr<TGPFontFamily> missing(new TGPFontFamily(L"No Such Family Anywhere"));
    EXPECT_EQ(missing->GetLastStatus(), FontFamilyNotFound);
    EXPECT_EQ(missing->GetLastStatus(), Ok);

    std::unique_ptr<TGPBrush> plain(new TGPBrush());
    EXPECT_EQ(plain->GetLastStatus(), NotImplemented);

    TSurface s(4, 4);
    EXPECT_EQ(s.Graphics->GetLastStatus(), Ok);
    // A failure, then a success: the failure stays until read, once.
    EXPECT_EQ(s.Graphics->DrawImage(nullptr, 0, 0), InvalidParameter);
    EXPECT_EQ(s.Graphics->Clear(0xFF000000), Ok);
    EXPECT_EQ(s.Graphics->SetSmoothingMode(SmoothingModeAntiAlias), Ok);
    EXPECT_EQ(s.Graphics->GetLastStatus(), InvalidParameter);
    EXPECT_EQ(s.Graphics->GetLastStatus(), Ok);
    EXPECT_EQ(s.Graphics->GetSmoothingMode(), SmoothingModeAntiAlias);

    // A surface made on no image has no handle: the getter answers -1.
    std::unique_ptr<TGPGraphics> none(new TGPGraphics(static_cast<TGPImage*>(nullptr)));
    EXPECT_EQ(none->GetLastStatus(), Ok);
    EXPECT_EQ(int(none->GetSmoothingMode()), -1);
    EXPECT_NE(none->GetLastStatus(), Ok);

    // An image that does not decode measures 0 by 0 and says why.
    const TBytes noise = ReadPicture("random.bin");
    std::unique_ptr<TGPImage> bad(new TGPImage(StreamOf(noise).Get()));
    EXPECT_NE(bad->GetLastStatus(), Ok);
    EXPECT_EQ(bad->GetWidth(), 0u);
    EXPECT_EQ(bad->GetHeight(), 0u);
    EXPECT_EQ(bad->GetFormat(), ifUndefined);
}

TEST_F(VodGDIP, ValidatingOperationsRecordWithoutCallingGdiplus)
{
    std::unique_ptr<TGPGraphicsPath> path(new TGPGraphicsPath());
    path->AddRectangle(TGPRectF{0, 0, 10, 10});   // four points
    std::unique_ptr<TGPPathGradientBrush> brush(new TGPPathGradientBrush(path.get()));
    ASSERT_EQ(brush->GetLastStatus(), Ok);
    ASSERT_EQ(brush->GetPointCount(), 4);

    ARGB colours[5] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFF000000};
    INT count = 5;
    EXPECT_EQ(brush->SetSurroundColors(colours, count), InvalidParameter);
    EXPECT_EQ(count, 5);
    EXPECT_EQ(brush->GetLastStatus(), InvalidParameter);
    count = 2;
    EXPECT_EQ(brush->SetSurroundColors(nullptr, count), InvalidParameter);
    brush->GetLastStatus();
    count = 2;
    EXPECT_EQ(brush->SetSurroundColors(colours, count), Ok);
    EXPECT_EQ(count, 2);

    ARGB out[4] = {};
    count = 3;
    EXPECT_EQ(brush->GetSurroundColors(out, count), InsufficientBuffer);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(brush->GetLastStatus(), InsufficientBuffer);
    count = 4;
    EXPECT_EQ(brush->GetSurroundColors(nullptr, count), InvalidParameter);
    brush->GetLastStatus();
    EXPECT_EQ(brush->GetSurroundColors(out, count), Ok);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(out[0], 0xFFFF0000u);

    EXPECT_EQ(brush->SetInterpolationColors(nullptr, nullptr, 2), InvalidParameter);
    const REAL positions[2] = {0, 1};
    EXPECT_EQ(brush->SetInterpolationColors(colours, positions, 0), InvalidParameter);
    EXPECT_EQ(brush->SetInterpolationColors(colours, positions, 2), Ok);
    EXPECT_EQ(brush->GetLastStatus(), InvalidParameter);

    std::unique_ptr<TGPLinearGradientBrush> line(
        new TGPLinearGradientBrush(TGPRectF{0, 0, 10, 10}, 0xFF000000, 0xFFFFFFFF, LinearGradientModeHorizontal));
    EXPECT_EQ(line->SetInterpolationColors(colours, positions, -1), InvalidParameter);
    EXPECT_EQ(line->GetLastStatus(), InvalidParameter);

    std::unique_ptr<TGPImage> image(new TGPImage(StreamOf(ReadPicture("quad16.png")).Get()));
    EXPECT_EQ(image->SaveAdd(nullptr, nullptr), InvalidParameter);
}

TEST_F(VodGDIP, Matrices)
{
    std::unique_ptr<TGPMatrix> m(new TGPMatrix());
    EXPECT_TRUE(m->IsIdentity());
    EXPECT_EQ(m->RotateAt(90, TGPPointF{5, 5}), Ok);
    TGPPointF p{10, 5};
    m->TransformPoints(&p);
    EXPECT_NEAR(p.X, 5, 1e-4);
    EXPECT_NEAR(p.Y, 10, 1e-4);
    m->Reset();
    m->Translate(3, 4);
    EXPECT_EQ(m->OffsetX(), 3);
    EXPECT_EQ(m->OffsetY(), 4);
    std::unique_ptr<TGPMatrix> copy(m->Clone());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->OffsetX(), 3);

    // After a failure the clone is refused, even though cloning works.
    m->Multiply(nullptr);
    EXPECT_EQ(m->Clone(), nullptr);
    EXPECT_EQ(m->GetLastStatus(), InvalidParameter);
    std::unique_ptr<TGPMatrix> again(m->Clone());
    EXPECT_NE(again, nullptr);

    // A matrix without a handle.
    const TGPPointF plg[3] = {{0, 0}, {1, 0}, {0, 1}};
    std::unique_ptr<TGPMatrix> none(new TGPMatrix(TGPRectF{0, 0, 0, 0}, plg));
    EXPECT_EQ(none->GetLastStatus(), InvalidParameter);
    EXPECT_EQ(none->OffsetX(), 0);
    EXPECT_FALSE(none->IsInvertible());
    EXPECT_FALSE(none->IsIdentity());
}

TEST_F(VodGDIP, FontsAndFamilies)
{
    TGPFontFamily* serif = TGPFontFamily::GenericSerif();
    EXPECT_EQ(serif, TGPFontFamily::GenericSerif());
    EXPECT_NE(TGPFontFamily::GenericSansSerif(), serif);
    EXPECT_EQ(TGPFontFamily::GenericMonospace()->GetLastStatus(), Ok);

    std::unique_ptr<TGPFont> fallback(new TGPFont(L"No Such Family Anywhere", 10, FontStyleBold));
    EXPECT_EQ(fallback->GetLastStatus(), Ok);
    REAL size = 0;
    GdipGetFontSize(TGdipHandles::Of(fallback.get()), &size);
    EXPECT_EQ(size, 10);

    std::unique_ptr<TGPStringFormat> fmt(new TGPStringFormat(StringFormatFlagsNoWrap, 0));
    EXPECT_EQ(fmt->SetAlignment(StringAlignmentCenter), Ok);
    EXPECT_EQ(fmt->GetAlignment(), StringAlignmentCenter);
    EXPECT_EQ(fmt->SetHotkeyPrefix(HotkeyPrefixShow), Ok);
    std::unique_ptr<TGPStringFormat> clone(new TGPStringFormat(fmt.get()));
    EXPECT_EQ(clone->GetHotkeyPrefix(), HotkeyPrefixShow);
    EXPECT_EQ(clone->GetFormatFlags(), INT(StringFormatFlagsNoWrap));
}

TEST_F(VodGDIP, PenBrushFollowsTheFillType)
{
    std::unique_ptr<TGPPen> pen(new TGPPen(0xFF102030, 2));
    EXPECT_EQ(pen->GetPenType(), PenTypeSolidColor);
    std::unique_ptr<TGPBrush> brush(pen->GetBrush());
    ASSERT_NE(dynamic_cast<TGPSolidBrush*>(brush.get()), nullptr);
    EXPECT_EQ(brush->GetLastStatus(), Ok);
    ARGB c = 0;
    GdipGetSolidFillColor(static_cast<GpSolidFill*>(TGdipHandles::Of(brush.get())), &c);
    EXPECT_EQ(c, 0xFF102030u);

    std::unique_ptr<TGPLinearGradientBrush> line(
        new TGPLinearGradientBrush(TGPPointF{0, 0}, TGPPointF{10, 0}, 0xFF000000, 0xFFFFFFFF));
    pen->SetBrush(line.get());
    std::unique_ptr<TGPBrush> gradient(pen->GetBrush());
    ASSERT_NE(dynamic_cast<TGPLinearGradientBrush*>(gradient.get()), nullptr);
    // Made by the plain brush constructor.
    EXPECT_EQ(gradient->GetLastStatus(), NotImplemented);
}

TEST_F(VodGDIP, ImagesReportTheirFormatByGuid)
{
    const struct {
        const char* File;
        TGPImageFormat Format;
        uint32_t Width, Height;
    } cases[] = {
        {"quad16.png", ifPNG, 16, 16}, {"quad16.jpg", ifJPEG, 16, 16}, {"quad16.ico", ifIcon, 16, 16},
        {"corner.bmp", ifBMP, 8, 8},   {"anim3.gif", ifGIF, 8, 8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.File);
        std::unique_ptr<TGPImage> image(new TGPImage(StreamOf(ReadPicture(c.File)).Get()));
        EXPECT_EQ(image->GetLastStatus(), Ok);
        EXPECT_EQ(image->GetFormat(), c.Format);
        EXPECT_EQ(image->GetWidth(), c.Width);
        EXPECT_EQ(image->GetHeight(), c.Height);
    }
    // The GIF has its three frames.
    std::unique_ptr<TGPImage> gif(new TGPImage(StreamOf(ReadPicture("anim3.gif")).Get()));
    uint32_t frames = 0;
    GdipImageGetFrameCount(TGdipHandles::Of(gif.get()), &FrameDimensionTime, &frames);
    EXPECT_EQ(frames, 3u);

    std::unique_ptr<TGPImage> fromFile(new TGPImage(UTF8ToString(PicturePath("quad16.png"))));
    EXPECT_EQ(fromFile->GetFormat(), ifPNG);
    std::unique_ptr<TGPBitmap> bitmap(TGPBitmap::FromStream(StreamOf(ReadPicture("quad16.png")).Get()));
    ARGB c = 0;
    EXPECT_EQ(bitmap->GetPixel(12, 3, c), Ok);
    EXPECT_EQ(c, 0xFF00FF00u);

    // Saved to a COM stream and read back.
    TComPtr<IStream> out;
    CreateStreamOnHGlobal(nullptr, 1, out.ReleaseAndGetAddressOf());
    EXPECT_EQ(bitmap->Save(out.Get(), EncoderPngClsid), Ok);
    out->Seek(0, STREAM_SEEK_SET, nullptr);
    std::unique_ptr<TGPBitmap> back(new TGPBitmap(out.Get()));
    EXPECT_EQ(back->GetFormat(), ifPNG);
    EXPECT_EQ(back->GetPixel(3, 12, c), Ok);
    EXPECT_EQ(c, 0xFF0000FFu);
}

TEST_F(VodGDIP, DrawImageRectRoundsHalvesToEven)
{
    TSurface s(20, 10);
    std::unique_ptr<TGPBitmap> red(new TGPBitmap(10, 4, PixelFormat32bppARGB));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 10; ++x) red->SetPixel(x, y, 0xFFFF0000);
    EXPECT_EQ(s.Graphics->DrawImageRect(red.get(), TGPRectF{0.5f, 1.5f, 10.5f, 3.5f}), Ok);
    // Into (0, 2, 10, 4).
    EXPECT_EQ(s.At(0, 2), 0xFFFF0000u);
    EXPECT_EQ(s.At(9, 5), 0xFFFF0000u);
    EXPECT_EQ(s.At(10, 2), 0xFFFFFFFFu);
    EXPECT_EQ(s.At(0, 1), 0xFFFFFFFFu);
    EXPECT_EQ(s.At(0, 6), 0xFFFFFFFFu);
}

TEST_F(VodGDIP, MakeFontFallsBackToArial)
{
    TFont font;
    font.SetName(L"No Such Family Anywhere");
    font.SetSize(9);
    font.SetStyle({fsBold, fsItalic});
    TSurface s(2, 2);
    std::unique_ptr<TGPFont> gp(s.Graphics->MakeFont(&font));
    EXPECT_EQ(gp->GetLastStatus(), Ok);
    GpFont* native = TGdipHandles::Of(gp.get());
    REAL size = 0;
    INT style = 0;
    GdipGetFontSize(native, &size);
    GdipGetFontStyle(native, &style);
    EXPECT_EQ(size, 9);
    EXPECT_EQ(style, FontStyleBold | FontStyleItalic);
    std::unique_ptr<TGPFontFamily> arial(new TGPFontFamily(L"Arial"));
    EXPECT_EQ(native->Family, TGdipHandles::Of(arial.get())->Name);
}

// With fixed metrics every character is 8 wide and 16 high.
TEST_F(VodGDIP, DrawTextMeasuresWithCorrection)
{
    TFixedFonts fixed;
    TSurface s(100, 40);
    TFont font;
    const struct {
        const wchar_t* Text;
        int Size;
        int Right;   // from Left 10
        int Height;
    } cases[] = {
        {L"abc", 8, 10 + 24 - 2, 16},
        {L"abc", 9, 10 + 24 - 3, 16},
        {L"abc", 12, 10 + 24 - 5, 16},
        {L"a ", 9, 10 + 16 - 3, 16},   // measured as "ai"
        {L" ", 9, 10 + 0 - 3, 0},      // a single blank stays a blank (not measured)
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << '"' << UTF8Encode(c.Text) << "\" " << c.Size);
        font.SetSize(c.Size);
        TRect r{10, 5, 10, 5};
        EXPECT_EQ(s.Graphics->DrawText(c.Text, int(wcslen(c.Text)), r, &font, DT_CALCRECT, clNone), c.Height);
        EXPECT_EQ(r.Left, 10);
        EXPECT_EQ(r.Right, c.Right);
        EXPECT_EQ(r.Bottom, 5 + c.Height);
    }
    EXPECT_EQ(s.Inked(), 0);
}

TEST_F(VodGDIP, DrawTextFillsTheBackgroundAlsoWhenMeasuring)
{
    TFixedFonts fixed;
    TSurface s(100, 40);
    TFont font;
    font.SetSize(8);
    TRect r{10, 5, 10, 5};
    s.Graphics->DrawText(L"abcd", 4, r, &font, DT_CALCRECT, clRed);
    // X = Left + 1, width = box width - correction + 1 = 31, height 16.
    EXPECT_EQ(s.At(11, 5), 0xFFFF0000u);
    EXPECT_EQ(s.At(41, 20), 0xFFFF0000u);
    EXPECT_EQ(s.At(10, 5), 0xFFFFFFFFu);
    EXPECT_EQ(s.At(42, 5), 0xFFFFFFFFu);
    EXPECT_EQ(s.At(11, 21), 0xFFFFFFFFu);
    EXPECT_EQ(s.Inked(), 31 * 16);
}

TEST_F(VodGDIP, DrawTextWithoutMeasuringKeepsTheRect)
{
    TFixedFonts fixed;
    TSurface s(100, 40);
    TFont font;
    font.SetColor(clBlue);
    TRect r{10, 5, 30, 12};
    EXPECT_EQ(s.Graphics->DrawText(L"abc", 3, r, &font, DT_CENTER | DT_WORDBREAK, clNone), 7);
    EXPECT_EQ(r.Right, 30);
    EXPECT_EQ(r.Bottom, 12);
    // The whole string is drawn from (Left, Top) in the font's colour, not
    // clipped to the rect.
    int blue = 0, below = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 100; ++x) {
            const ARGB c = s.At(x, y);
            if (c == 0xFFFFFFFFu) continue;
            blue += c == 0xFF0000FFu;
            below += y >= 12;
            EXPECT_GE(x, 10);
            EXPECT_LT(x, 34);
        }
    EXPECT_GT(blue, 0);
    EXPECT_GT(below, 0);
}

// A length beyond the text (or negative) stands for the whole text: no call
// reads past its end.
TEST_F(VodGDIP, LengthsBeyondTheTextAreClamped)
{
    TFixedFonts fixed;
    TSurface s(40, 20);
    TFont font;
    font.SetSize(8);
    for (int len : {2, 50, -1}) {
        TRect r{0, 0, 0, 0};
        s.Graphics->DrawText(L"ab", len, r, &font, DT_CALCRECT, clNone);
        EXPECT_EQ(r.Right, 16 - 2) << len;
    }
    TRect r{0, 0, 0, 0};
    s.Graphics->DrawText(L"abc", 1, r, &font, DT_CALCRECT, clNone);
    EXPECT_EQ(r.Right, 8 - 2);
    std::unique_ptr<TGPFont> f(s.Graphics->MakeFont(&font));
    TGPRectF box{};
    EXPECT_EQ(s.Graphics->MeasureString(L"abcd", 1000, f.get(), TGPPointF{0, 0}, nullptr, box), Ok);
    EXPECT_EQ(box.Width, 32);
}

TEST_F(VodGDIP, TextWidthAndHeight)
{
    TFixedFonts fixed;
    TSurface s(2, 2);
    TFont font;
    EXPECT_EQ(s.Graphics->TextWidth(L"hello", &font), 40);
    EXPECT_EQ(s.Graphics->TextHeight(L"hello", &font), 16);
}

// A wrapper made while GDI+ is stopped starts it through the allocation.
TEST_F(VodGDIP, AllocationStartsGdiplus)
{
    VodGdipShutdown();
    ASSERT_FALSE(VodGdipRunning());
    EXPECT_EQ(GdipAlloc(16), nullptr);
    std::unique_ptr<TGPPen> pen(new TGPPen(0xFF000000));
    EXPECT_TRUE(VodGdipRunning());
    EXPECT_EQ(pen->GetLastStatus(), Ok);
    // Shut-down frees the shared families; they are made again on demand.
    TGPFontFamily::GenericSansSerif();
    pen.reset();
    VodGdipShutdown();
    VodGdipStartup();
    EXPECT_EQ(TGPFontFamily::GenericSansSerif()->GetLastStatus(), Ok);
}

TEST_F(VodGDIP, RunsFromLibraryStartUpToShutDown)
{
    TGPFontFamily::GenericSerif();
    VodLibraryShutdown();
    EXPECT_FALSE(VodGdipRunning());
    EXPECT_EQ(GdipAlloc(16), nullptr);
    VodLibraryStartup();
    EXPECT_TRUE(VodGdipRunning());
    EXPECT_EQ(TGPFontFamily::GenericSerif()->GetLastStatus(), Ok);
}
