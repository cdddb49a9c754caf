#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/gfx/Codecs.h"
#include "platform/base/Streams.h"
#include "platform/gfx/GdiPlus.h"

namespace {

// Every test runs with the engine started, as the wrapper unit's
// initialisation does.
class GdiPlus : public ::testing::Test {
protected:
    void SetUp() override
    {
        GdiplusStartupInput in;
        ASSERT_EQ(GdiplusStartup(&FToken, &in, nullptr), Ok);
    }
    void TearDown() override { GdiplusShutdown(FToken); }

    // A blank 32-bit ARGB bitmap with a graphics object on it.
    void Surface(int w, int h, ARGB fill = 0xFFFFFFFF)
    {
        ASSERT_EQ(GdipCreateBitmapFromScan0(w, h, 0, PixelFormat32bppARGB, nullptr, &FBmp), Ok);
        ASSERT_EQ(GdipGetImageGraphicsContext(FBmp, &FG), Ok);
        ASSERT_EQ(GdipGraphicsClear(FG, fill), Ok);
    }
    ARGB Px(int x, int y)
    {
        ARGB c = 0;
        EXPECT_EQ(GdipBitmapGetPixel(FBmp, x, y, &c), Ok);
        return c;
    }
    ~GdiPlus() override
    {
        if (FG) GdipDeleteGraphics(FG);
        if (FBmp) GdipDisposeImage(FBmp);
    }

    ULONG_PTR FToken = 0;
    GpBitmap* FBmp = nullptr;
    GpGraphics* FG = nullptr;
};

TBytes ReadFixture(const std::string& name)
{
    std::ifstream f(std::string(VEL_TEST_DATA_DIR) + "/images/" + name, std::ios::binary);
    return TBytes(std::istreambuf_iterator<char>(f), {});
}

int Channel(ARGB c, int shift) { return int((c >> shift) & 0xFF); }

}  // namespace

TEST(GdiPlusStartup, StatusValuesAndStartRules)
{
    // The public numbers callers compare against.
    EXPECT_EQ(int(InvalidParameter), 2);
    EXPECT_EQ(int(ObjectBusy), 4);
    EXPECT_EQ(int(NotImplemented), 6);
    EXPECT_EQ(int(UnknownImageFormat), 13);
    EXPECT_EQ(int(FontFamilyNotFound), 14);
    EXPECT_EQ(int(GdiplusNotInitialized), 18);
    EXPECT_EQ(int(PropertyNotSupported), 20);
    EXPECT_EQ(int(SmoothingModeAntiAlias), 4);
    EXPECT_EQ(int(TextRenderingHintClearTypeGridFit), 5);
    EXPECT_EQ(int(HatchStyleTotal), 53);

    GpMatrix* m = nullptr;
    EXPECT_EQ(GdipCreateMatrix(&m), GdiplusNotInitialized);
    EXPECT_EQ(GdipAlloc(16), nullptr);

    ULONG_PTR token = 0;
    GdiplusStartupInput in;
    in.GdiplusVersion = 9;
    EXPECT_EQ(GdiplusStartup(&token, &in, nullptr), UnsupportedGdiplusVersion);
    in.GdiplusVersion = 1;
    in.SuppressBackgroundThread = 1;
    EXPECT_EQ(GdiplusStartup(&token, &in, nullptr), InvalidParameter);   // hooks need somewhere to go
    GdiplusStartupOutput out;
    ASSERT_EQ(GdiplusStartup(&token, &in, &out), Ok);
    ASSERT_NE(out.NotificationHook, nullptr);
    ULONG_PTR hook = 1;
    EXPECT_EQ(out.NotificationHook(&hook), Ok);
    out.NotificationUnhook(hook);
    void* p = GdipAlloc(16);
    EXPECT_NE(p, nullptr);
    GdipFree(p);
    EXPECT_EQ(GdipCreateMatrix(&m), Ok);
    GdipDeleteMatrix(m);
    GdiplusShutdown(token);
    EXPECT_EQ(GdipCreateMatrix(&m), GdiplusNotInitialized);
}

TEST_F(GdiPlus, NullHandlesAndBadValuesAreInvalidParameter)
{
    EXPECT_EQ(GdipDeleteGraphics(nullptr), InvalidParameter);
    EXPECT_EQ(GdipDeletePen(nullptr), InvalidParameter);
    EXPECT_EQ(GdipFillRectangle(nullptr, nullptr, 0, 0, 1, 1), InvalidParameter);
    SmoothingMode sm;
    EXPECT_EQ(GdipGetSmoothingMode(nullptr, &sm), InvalidParameter);
    GpHatch* h = nullptr;
    EXPECT_EQ(GdipCreateHatchBrush(HatchStyle(99), 0, 0, &h), InvalidParameter);
    GpSolidFill* solid = nullptr;
    ASSERT_EQ(GdipCreateSolidFill(0xFF112233, &solid), Ok);
    HatchStyle hs;
    // A query for another kind of brush is refused, not misread.
    EXPECT_EQ(GdipGetHatchStyle(reinterpret_cast<GpHatch*>(solid), &hs), InvalidParameter);
    GdipDeleteBrush(solid);
    GpPath* path = nullptr;
    ASSERT_EQ(GdipCreatePath(FillModeAlternate, &path), Ok);
    GpPointF two[2] = {{0, 0}, {1, 1}};
    EXPECT_EQ(GdipAddPathPolygon(path, two, 2), InvalidParameter);
    GdipDeletePath(path);
}

TEST_F(GdiPlus, MatrixOrderAndQueries)
{
    GpMatrix* m = nullptr;
    ASSERT_EQ(GdipCreateMatrix(&m), Ok);
    BOOL b = 0;
    GdipIsMatrixIdentity(m, &b);
    EXPECT_TRUE(b);
    // Prepend: scale applies first, then the translation already there.
    GdipTranslateMatrix(m, 10, 0, MatrixOrderPrepend);
    GdipScaleMatrix(m, 2, 2, MatrixOrderPrepend);
    GpPointF p{1, 1};
    GdipTransformMatrixPoints(m, &p, 1);
    EXPECT_FLOAT_EQ(p.X, 12);
    EXPECT_FLOAT_EQ(p.Y, 2);
    // Append: the new operation applies last.
    GdipSetMatrixElements(m, 1, 0, 0, 1, 10, 0);
    GdipScaleMatrix(m, 2, 2, MatrixOrderAppend);
    p = {1, 1};
    GdipTransformMatrixPoints(m, &p, 1);
    EXPECT_FLOAT_EQ(p.X, 22);
    GdipRotateMatrix(m, 90, MatrixOrderAppend);
    REAL e[6];
    GdipGetMatrixElements(m, e);
    EXPECT_NEAR(e[0], 0, 1e-5);
    EXPECT_NEAR(e[1], 2, 1e-5);
    GdipSetMatrixElements(m, 1, 2, 2, 4, 0, 0);   // singular
    GdipIsMatrixInvertible(m, &b);
    EXPECT_FALSE(b);
    EXPECT_EQ(GdipInvertMatrix(m), InvalidParameter);
    GdipDeleteMatrix(m);
}

TEST_F(GdiPlus, PathFiguresPointsAndTypes)
{
    GpPath* path = nullptr;
    ASSERT_EQ(GdipCreatePath(FillModeAlternate, &path), Ok);
    GdipAddPathLine(path, 0, 0, 10, 0);
    GdipAddPathLine(path, 10, 0, 10, 10);   // continues the figure without a duplicate point
    GdipClosePathFigure(path);
    GdipAddPathEllipse(path, 0, 0, 20, 10);
    INT n = 0;
    GdipGetPointCount(path, &n);
    ASSERT_EQ(n, 3 + 13);
    std::vector<uint8_t> types(static_cast<size_t>(n));
    EXPECT_EQ(GdipGetPathTypes(path, types.data(), 2), InsufficientBuffer);
    ASSERT_EQ(GdipGetPathTypes(path, types.data(), n), Ok);
    EXPECT_EQ(types[0], PathPointTypeStart);
    EXPECT_EQ(types[2], PathPointTypeLine | PathPointTypeCloseSubpath);
    EXPECT_EQ(types[3], PathPointTypeStart);
    EXPECT_EQ(types[4], PathPointTypeBezier);
    EXPECT_EQ(types[15], PathPointTypeBezier | PathPointTypeCloseSubpath);
    GpRectF bounds;
    GdipGetPathWorldBounds(path, &bounds, nullptr, nullptr);
    EXPECT_NEAR(bounds.Width, 20, 1e-3);
    EXPECT_NEAR(bounds.Height, 10, 1e-3);
    BOOL in = 0;
    GdipIsVisiblePathPoint(path, 15, 5, nullptr, &in);
    EXPECT_TRUE(in);
    GdipDeletePath(path);
}

TEST_F(GdiPlus, ArcAnglesAreTrueAnglesOnTheEllipse)
{
    GpPath* path = nullptr;
    GdipCreatePath(FillModeAlternate, &path);
    // 45 degrees on a 200 x 100 ellipse lands where the ray at 45 degrees
    // meets it, not at the parametric 45 degrees.
    GdipAddPathArc(path, 0, 0, 200, 100, 0, 45);
    INT n = 0;
    GdipGetPointCount(path, &n);
    std::vector<GpPointF> pts(static_cast<size_t>(n));
    GdipGetPathPoints(path, pts.data(), n);
    EXPECT_NEAR(pts[0].X, 200, 1e-3);
    EXPECT_NEAR(pts[0].Y, 50, 1e-3);
    const GpPointF& end = pts.back();
    EXPECT_NEAR(end.X - 100, end.Y - 50, 0.05);   // on the diagonal through the centre
    GdipDeletePath(path);
}

TEST_F(GdiPlus, FillAndDrawPixels)
{
    Surface(40, 20);
    GpSolidFill* red = nullptr;
    GdipCreateSolidFill(0xFFFF0000, &red);
    ASSERT_EQ(GdipFillRectangle(FG, red, 2, 2, 5, 5), Ok);
    EXPECT_EQ(Px(2, 2), 0xFFFF0000u);
    EXPECT_EQ(Px(6, 6), 0xFFFF0000u);
    EXPECT_EQ(Px(7, 7), 0xFFFFFFFFu);
    // A one-pixel pen on integer coordinates covers exactly that row.
    GpPen* pen = nullptr;
    GdipCreatePen1(0xFF0000FF, 1, UnitWorld, &pen);
    GdipDrawLine(FG, pen, 10, 10, 30, 10);
    EXPECT_EQ(Px(20, 10), 0xFF0000FFu);
    EXPECT_EQ(Px(20, 9), 0xFFFFFFFFu);
    EXPECT_EQ(Px(20, 11), 0xFFFFFFFFu);
    // The world transform moves what follows.
    GdipTranslateWorldTransform(FG, 20, 0, MatrixOrderPrepend);
    GdipFillRectangle(FG, red, 2, 2, 5, 5);
    EXPECT_EQ(Px(24, 4), 0xFFFF0000u);
    GdipResetWorldTransform(FG);
    GdipDeletePen(pen);
    GdipDeleteBrush(red);
}

TEST_F(GdiPlus, AntialiasedEllipseIsSolidInsideAndSoftAtTheEdge)
{
    Surface(41, 41);
    GdipSetSmoothingMode(FG, SmoothingModeAntiAlias);
    SmoothingMode sm;
    GdipGetSmoothingMode(FG, &sm);
    EXPECT_EQ(sm, SmoothingModeAntiAlias);
    GpSolidFill* black = nullptr;
    GdipCreateSolidFill(0xFF000000, &black);
    GdipFillEllipse(FG, black, 0, 0, 40, 40);
    EXPECT_EQ(Px(20, 20), 0xFF000000u);
    EXPECT_EQ(Px(0, 0), 0xFFFFFFFFu);
    // Somewhere on the rim a pixel is partly covered.
    bool partial = false;
    for (int x = 0; x < 20 && !partial; ++x) {
        int g = Channel(Px(x, 20 - 14), 8);
        partial = g > 0 && g < 255;
    }
    EXPECT_TRUE(partial);
    GdipDeleteBrush(black);
}

TEST_F(GdiPlus, LinearGradientEndsAndModes)
{
    Surface(101, 10);
    GpRectF r{0, 0, 100, 10};
    GpLineGradient* lg = nullptr;
    ASSERT_EQ(GdipCreateLineBrushFromRect(&r, 0xFFFF0000, 0xFF0000FF, LinearGradientModeHorizontal, WrapModeTile, &lg),
              Ok);
    GdipFillRectangle(FG, lg, 0, 0, 100, 10);
    ARGB left = Px(0, 5), right = Px(99, 5), mid = Px(50, 5);
    EXPECT_GT(Channel(left, 16), 245);
    EXPECT_LT(Channel(left, 0), 10);
    EXPECT_GT(Channel(right, 0), 245);
    EXPECT_LT(Channel(right, 16), 10);
    EXPECT_NEAR(Channel(mid, 16), 127, 6);

    // A preset blend puts green in the middle.
    ARGB colours[3] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF};
    REAL pos[3] = {0, 0.5f, 1};
    ASSERT_EQ(GdipSetLinePresetBlend(lg, colours, pos, 3), Ok);
    GdipFillRectangle(FG, lg, 0, 0, 100, 10);
    EXPECT_GT(Channel(Px(50, 5), 8), 240);
    REAL badPos[2] = {0.2f, 1};
    EXPECT_EQ(GdipSetLinePresetBlend(lg, colours, badPos, 2), InvalidParameter);
    GdipDeleteBrush(lg);

    GpRectF sq{0, 0, 10, 10};
    ASSERT_EQ(GdipCreateLineBrushFromRect(&sq, 0xFF000000, 0xFFFFFFFF, LinearGradientModeVertical, WrapModeTile, &lg),
              Ok);
    GdipFillRectangle(FG, lg, 0, 0, 10, 10);
    EXPECT_LT(Channel(Px(5, 0), 8), 20);
    EXPECT_GT(Channel(Px(5, 9), 8), 220);
    GdipDeleteBrush(lg);
    EXPECT_EQ(GdipCreateLineBrushFromRect(&sq, 0, 0, LinearGradientModeHorizontal, WrapModeClamp, &lg), OutOfMemory);
}

TEST_F(GdiPlus, PathGradientCentreSurroundAndCounts)
{
    Surface(41, 41);
    GpPath* path = nullptr;
    GdipCreatePath(FillModeAlternate, &path);
    GdipAddPathEllipse(path, 0, 0, 40, 40);
    GpPathGradient* pg = nullptr;
    ASSERT_EQ(GdipCreatePathGradientFromPath(path, &pg), Ok);
    GpPointF c;
    GdipGetPathGradientCenterPoint(pg, &c);
    EXPECT_NEAR(c.X, 20, 0.5);
    EXPECT_NEAR(c.Y, 20, 0.5);
    GdipSetPathGradientCenterColor(pg, 0xFFFFFFFF);
    ARGB blue = 0xFF0000FF;
    INT one = 1;
    ASSERT_EQ(GdipSetPathGradientSurroundColorsWithCount(pg, &blue, &one), Ok);
    INT many = 14;
    std::vector<ARGB> lots(14, blue);
    EXPECT_EQ(GdipSetPathGradientSurroundColorsWithCount(pg, lots.data(), &many), InvalidParameter);
    INT small = 2;
    ARGB out[13];
    EXPECT_EQ(GdipGetPathGradientSurroundColorsWithCount(pg, out, &small), InsufficientBuffer);
    INT enough = 13;
    ASSERT_EQ(GdipGetPathGradientSurroundColorsWithCount(pg, out, &enough), Ok);
    EXPECT_EQ(out[12], blue);   // points without a colour of their own share the last one
    GpPoint cp{20, 20};
    GdipSetPathGradientCenterPointI(pg, &cp);
    GdipFillPath(FG, pg, path);
    ARGB centre = Px(20, 20), rim = Px(20, 1);
    EXPECT_GT(Channel(centre, 16), 230);   // white at the centre
    EXPECT_LT(Channel(rim, 16), 80);       // blue at the boundary
    EXPECT_GT(Channel(rim, 0), 200);
    EXPECT_EQ(Px(1, 1), 0xFFFFFFFFu);      // outside the path: untouched
    GdipDeleteBrush(pg);
    GdipDeletePath(path);
}

TEST_F(GdiPlus, HatchAndTextureBrushes)
{
    Surface(16, 16);
    GpHatch* h = nullptr;
    ASSERT_EQ(GdipCreateHatchBrush(HatchStyleHorizontal, 0xFF000000, 0xFFFFFFFF, &h), Ok);
    GdipFillRectangle(FG, h, 0, 0, 16, 16);
    EXPECT_EQ(Px(3, 0), 0xFF000000u);
    EXPECT_EQ(Px(3, 1), 0xFFFFFFFFu);
    EXPECT_EQ(Px(3, 8), 0xFF000000u);
    ARGB fore = 0;
    GdipGetHatchForegroundColor(h, &fore);
    EXPECT_EQ(fore, 0xFF000000u);
    GdipDeleteBrush(h);

    GpBitmap* tile = nullptr;
    GdipCreateBitmapFromScan0(2, 2, 0, PixelFormat32bppARGB, nullptr, &tile);
    GdipBitmapSetPixel(tile, 0, 0, 0xFFFF0000);
    GdipBitmapSetPixel(tile, 1, 0, 0xFF00FF00);
    GdipBitmapSetPixel(tile, 0, 1, 0xFF00FF00);
    GdipBitmapSetPixel(tile, 1, 1, 0xFFFF0000);
    GpTexture* t = nullptr;
    ASSERT_EQ(GdipCreateTexture(tile, WrapModeTile, &t), Ok);
    GdipFillRectangle(FG, t, 0, 0, 16, 16);
    EXPECT_EQ(Px(4, 4), 0xFFFF0000u);
    EXPECT_EQ(Px(5, 4), 0xFF00FF00u);
    GdipDeleteBrush(t);
    GdipDisposeImage(tile);
}

TEST_F(GdiPlus, ClipRectAndExclude)
{
    Surface(20, 20);
    GpSolidFill* red = nullptr;
    GdipCreateSolidFill(0xFFFF0000, &red);
    GdipSetClipRect(FG, 5, 5, 10, 10, CombineModeReplace);
    GdipSetClipRect(FG, 8, 8, 2, 2, CombineModeExclude);
    GdipFillRectangle(FG, red, 0, 0, 20, 20);
    EXPECT_EQ(Px(4, 4), 0xFFFFFFFFu);
    EXPECT_EQ(Px(5, 5), 0xFFFF0000u);
    EXPECT_EQ(Px(14, 14), 0xFFFF0000u);
    EXPECT_EQ(Px(15, 15), 0xFFFFFFFFu);
    EXPECT_EQ(Px(8, 8), 0xFFFFFFFFu);
    GdipResetClip(FG);
    GdipFillRectangle(FG, red, 0, 0, 20, 20);
    EXPECT_EQ(Px(8, 8), 0xFFFF0000u);
    GdipDeleteBrush(red);
}

TEST_F(GdiPlus, ImagesFromMemoryReportRawFormatsAndSizes)
{
    struct { const char* file; const GUID* fmt; uint32_t w; } cases[] = {
        {"bmp24.bmp", &ImageFormatBMP, 5}, {"rgba.png", &ImageFormatPNG, 5},
        {"anim.gif", &ImageFormatGIF, 4},  {"multi.ico", &ImageFormatIcon, 48},
    };
    for (auto& c : cases) {
        TBytes b = ReadFixture(c.file);
        GpImage* img = nullptr;
        ASSERT_EQ(GdipLoadImageFromMemory(b.data(), b.size(), &img), Ok) << c.file;
        GUID g;
        GdipGetImageRawFormat(img, &g);
        EXPECT_TRUE(g == *c.fmt) << c.file;
        uint32_t w = 0;
        GdipGetImageWidth(img, &w);
        EXPECT_EQ(w, c.w) << c.file;
        GdipDisposeImage(img);
    }
    GpImage* img = nullptr;
    const uint8_t junk[] = {1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_EQ(GdipLoadImageFromMemory(junk, sizeof junk, &img), UnknownImageFormat);
    TBytes bad = ReadFixture("bad_png_crc.png");
    EXPECT_EQ(GdipLoadImageFromMemory(bad.data(), bad.size(), &img), InvalidParameter);
    EXPECT_EQ(img, nullptr);

    TBytes gif = ReadFixture("anim.gif");
    ASSERT_EQ(GdipLoadImageFromMemory(gif.data(), gif.size(), &img), Ok);
    uint32_t frames = 0;
    GdipImageGetFrameCount(img, &FrameDimensionTime, &frames);
    EXPECT_EQ(frames, 3u);
    ASSERT_EQ(GdipImageSelectActiveFrame(img, &FrameDimensionTime, 1), Ok);
    ARGB c = 0;
    GdipBitmapGetPixel(static_cast<GpBitmap*>(img), 1, 1, &c);
    EXPECT_EQ(c, 0xFF000000u);
    EXPECT_EQ(GdipImageSelectActiveFrame(img, &FrameDimensionTime, 3), InvalidParameter);
    GdipDisposeImage(img);
}

TEST_F(GdiPlus, DrawImageWithColourKeyLeavesKeyedPixelsAlone)
{
    Surface(10, 10, 0xFF00FF00);
    TBytes b = ReadFixture("bmp24.bmp");   // red, green, blue, white pattern
    GpImage* img = nullptr;
    ASSERT_EQ(GdipLoadImageFromMemory(b.data(), b.size(), &img), Ok);
    GpImageAttributes* attr = nullptr;
    ASSERT_EQ(GdipCreateImageAttributes(&attr), Ok);
    ASSERT_EQ(GdipSetImageAttributesColorKeys(attr, ColorAdjustTypeDefault, 1, 0xFFFF0000, 0xFFFF0000), Ok);
    GdipGraphicsClear(FG, 0xFF808080);
    ASSERT_EQ(GdipDrawImageRectRect(FG, img, 0, 0, 5, 3, 0, 0, 5, 3, UnitPixel, attr, nullptr, nullptr), Ok);
    EXPECT_EQ(Px(0, 0), 0xFF808080u);   // red was the key: background shows
    EXPECT_EQ(Px(1, 0), 0xFF00FF00u);
    EXPECT_EQ(Px(2, 0), 0xFF0000FFu);
    // Unscaled DrawImage copies pixels exactly; scaled fills the rectangle.
    GdipDrawImageI(FG, img, 5, 5);
    EXPECT_EQ(Px(5, 5), 0xFFFF0000u);
    EXPECT_EQ(Px(9, 7), Px(5 + 4, 5 + 2));
    GdipDisposeImageAttributes(attr);
    GdipDisposeImage(img);
}

TEST_F(GdiPlus, PixelsLockBitsAndObjectBusy)
{
    GpBitmap* bmp = nullptr;
    ASSERT_EQ(GdipCreateBitmapFromScan0(4, 3, 0, PixelFormat32bppARGB, nullptr, &bmp), Ok);
    ASSERT_EQ(GdipBitmapSetPixel(bmp, 1, 1, 0x80FF8040), Ok);
    ARGB c = 0;
    GdipBitmapGetPixel(bmp, 1, 1, &c);
    EXPECT_EQ(c >> 24, 0x80u);
    EXPECT_NEAR(Channel(c, 16), 255, 2);
    EXPECT_NEAR(Channel(c, 0), 0x40, 2);
    EXPECT_EQ(GdipBitmapGetPixel(bmp, 4, 0, &c), InvalidParameter);

    BitmapData d{};
    GpRect r{1, 1, 2, 2};
    ASSERT_EQ(GdipBitmapLockBits(bmp, &r, ImageLockModeRead | ImageLockModeWrite, PixelFormat24bppRGB, &d), Ok);
    EXPECT_EQ(d.Stride, 8);
    EXPECT_EQ(GdipBitmapLockBits(bmp, &r, ImageLockModeRead, PixelFormat24bppRGB, &d), WrongState);
    EXPECT_EQ(GdipBitmapGetPixel(bmp, 0, 0, &c), ObjectBusy);
    auto* px = static_cast<uint8_t*>(d.Scan0);
    px[3] = 0x11; px[4] = 0x22; px[5] = 0x33;   // pixel (2, 1), stored B, G, R
    ASSERT_EQ(GdipBitmapUnlockBits(bmp, &d), Ok);
    GdipBitmapGetPixel(bmp, 2, 1, &c);
    EXPECT_EQ(c, 0xFF332211u);
    EXPECT_EQ(GdipBitmapUnlockBits(bmp, &d), WrongState);

    // A 24-bit bitmap has no alpha to keep.
    GpBitmap* rgb = nullptr;
    GdipCreateBitmapFromScan0(2, 2, 0, PixelFormat24bppRGB, nullptr, &rgb);
    GdipBitmapSetPixel(rgb, 0, 0, 0x10203040);
    GdipBitmapGetPixel(rgb, 0, 0, &c);
    EXPECT_EQ(c, 0xFF203040u);
    GdipDisposeImage(rgb);
    GdipDisposeImage(bmp);
}

TEST_F(GdiPlus, SaveWithEncodersAndReadBack)
{
    GpBitmap* bmp = nullptr;
    GdipCreateBitmapFromScan0(6, 4, 0, PixelFormat32bppARGB, nullptr, &bmp);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) GdipBitmapSetPixel(bmp, x, y, x < 3 ? 0xFFC00000 : 0x800000FF);
    uint32_t n = 0, size = 0;
    GdipGetImageEncodersSize(&n, &size);
    std::vector<uint8_t> buf(size);
    auto* codecs = reinterpret_cast<ImageCodecInfo*>(buf.data());
    ASSERT_EQ(GdipGetImageEncoders(n, size, codecs), Ok);
    bool png = false;
    for (uint32_t i = 0; i < n; ++i) png = png || codecs[i].Clsid == EncoderPngClsid;
    EXPECT_TRUE(png);

    for (const CLSID* clsid : {&EncoderPngClsid, &EncoderBmpClsid}) {
        void* data = nullptr;
        size_t len = 0;
        ASSERT_EQ(GdipSaveImageToMemory(bmp, clsid, nullptr, &data, &len), Ok);
        GpImage* back = nullptr;
        ASSERT_EQ(GdipLoadImageFromMemory(data, len, &back), Ok);
        ARGB c = 0;
        GdipBitmapGetPixel(static_cast<GpBitmap*>(back), 4, 2, &c);
        EXPECT_EQ(c >> 24, 0x80u);
        EXPECT_EQ(c & 0xFF, 0xFFu);
        GdipDisposeImage(back);
        GdipFree(data);
    }
    uint32_t quality = 150;
    EncoderParameters params{1, {{EncoderQuality, 1, EncoderParameterValueTypeLong, &quality}}};
    void* data = nullptr;
    size_t len = 0;
    EXPECT_EQ(GdipSaveImageToMemory(bmp, &EncoderJpegClsid, &params, &data, &len), InvalidParameter);
    quality = 90;
    ASSERT_EQ(GdipSaveImageToMemory(bmp, &EncoderJpegClsid, &params, &data, &len), Ok);
    TImageData jpg = DecodeImage(static_cast<uint8_t*>(data), len);
    EXPECT_EQ(jpg.Width, 6);
    GdipFree(data);
    EXPECT_EQ(GdipSaveImageToMemory(bmp, &ImageFormatPNG, nullptr, &data, &len), FileNotFound);
    GdipDisposeImage(bmp);
}

TEST_F(GdiPlus, RotateFlipTurnsClockwise)
{
    GpBitmap* bmp = nullptr;
    GdipCreateBitmapFromScan0(3, 2, 0, PixelFormat32bppARGB, nullptr, &bmp);
    GdipBitmapSetPixel(bmp, 0, 0, 0xFFFF0000);
    ASSERT_EQ(GdipImageRotateFlip(bmp, Rotate90FlipNone), Ok);
    uint32_t w = 0;
    GdipGetImageWidth(bmp, &w);
    EXPECT_EQ(w, 2u);
    ARGB c = 0;
    GdipBitmapGetPixel(bmp, 1, 0, &c);   // the top-left corner went to the top-right
    EXPECT_EQ(c, 0xFFFF0000u);
    GdipImageRotateFlip(bmp, RotateNoneFlipX);
    GdipBitmapGetPixel(bmp, 0, 0, &c);
    EXPECT_EQ(c, 0xFFFF0000u);
    GdipDisposeImage(bmp);
}

TEST_F(GdiPlus, FontFamiliesGenericSharedAndMissingNames)
{
    GpFontFamily* arial = nullptr;
    ASSERT_EQ(GdipCreateFontFamilyFromName(L"Arial", nullptr, &arial), Ok);
    WCHAR name[LF_FACESIZE];
    GdipGetFamilyName(arial, name, 0);
    EXPECT_EQ(String(name), L"Arial");
    GdipDeleteFontFamily(arial);
    GpFontFamily* none = nullptr;
    EXPECT_EQ(GdipCreateFontFamilyFromName(L"No Such Face 4711", nullptr, &none), FontFamilyNotFound);
    GpFontFamily *s1 = nullptr, *s2 = nullptr, *mono = nullptr;
    GdipGetGenericFontFamilySansSerif(&s1);
    GdipGetGenericFontFamilySansSerif(&s2);
    EXPECT_EQ(s1, s2);
    EXPECT_EQ(GdipDeleteFontFamily(s1), Ok);   // shared: deleting leaves it usable
    GdipGetGenericFontFamilyMonospace(&mono);
    GdipGetFamilyName(mono, name, 0);
    EXPECT_EQ(String(name), L"Courier New");
    GpFont* font = nullptr;
    EXPECT_EQ(GdipCreateFont(s2, 0, 0, UnitPoint, &font), InvalidParameter);
    ASSERT_EQ(GdipCreateFont(s2, 10, FontStyleBold, UnitPoint, &font), Ok);
    INT style = 0;
    GdipGetFontStyle(font, &style);
    EXPECT_EQ(style, FontStyleBold);
    GdipDeleteFont(font);
}

namespace {

struct TFixedFonts {
    TFixedFonts() { SetFixedMetricsFonts(true); }
    ~TFixedFonts() { SetFixedMetricsFonts(false); }
};

}  // namespace

TEST_F(GdiPlus, MeasureStringInFixedMetricsMode)
{
    TFixedFonts fixed;
    Surface(10, 10);
    GpFontFamily* fam = nullptr;
    GdipGetGenericFontFamilySansSerif(&fam);
    GpFont* font = nullptr;
    GdipCreateFont(fam, 12, 0, UnitPoint, &font);
    GpStringFormat* fmt = nullptr;
    GdipCreateStringFormat(0, 0, &fmt);
    GdipSetStringFormatHotkeyPrefix(fmt, HotkeyPrefixShow);
    struct { const wchar_t* text; float w, h; INT lines; } cases[] = {
        {L"Hello", 40, 16, 1},  {L"&File", 32, 16, 1}, {L"a&&b", 24, 16, 1},
        {L"ab  ", 16, 16, 1},   {L"a\nbcd", 24, 32, 2}, {L"", 0, 0, 0},
    };
    GpRectF origin{5, 7, 0, 0};
    for (auto& c : cases) {
        GpRectF box;
        INT fitted = -1, lines = -1;
        ASSERT_EQ(GdipMeasureString(FG, c.text, -1, font, &origin, fmt, &box, &fitted, &lines), Ok);
        EXPECT_FLOAT_EQ(box.Width, c.w) << c.text;
        EXPECT_FLOAT_EQ(box.Height, c.h) << c.text;
        EXPECT_EQ(lines, c.lines) << c.text;
        EXPECT_EQ(fitted, INT(std::wcslen(c.text)));
        if (c.w > 0) {
            EXPECT_FLOAT_EQ(box.X, 5);
        }
    }
    // Alignment within a layout rectangle and wrapping at its width.
    GdipSetStringFormatAlign(fmt, StringAlignmentCenter);
    GdipSetStringFormatLineAlign(fmt, StringAlignmentFar);
    GpRectF r{0, 0, 100, 50}, box;
    INT lines = 0;
    GdipMeasureString(FG, L"Hello", -1, font, &r, fmt, &box, nullptr, &lines);
    EXPECT_FLOAT_EQ(box.X, 30);
    EXPECT_FLOAT_EQ(box.Y, 34);
    GpRectF narrow{0, 0, 40, 100};
    GdipMeasureString(FG, L"aaa bbb", -1, font, &narrow, fmt, &box, nullptr, &lines);
    EXPECT_EQ(lines, 2);
    GdipDeleteStringFormat(fmt);
    GdipDeleteFont(font);
}

TEST_F(GdiPlus, DrawStringFixedBoxesAndHotKeyUnderline)
{
    TFixedFonts fixed;
    Surface(40, 20);
    GpFontFamily* fam = nullptr;
    GdipGetGenericFontFamilySansSerif(&fam);
    GpFont* font = nullptr;
    GdipCreateFont(fam, 9, 0, UnitPoint, &font);
    GpStringFormat* fmt = nullptr;
    GdipCreateStringFormat(0, 0, &fmt);
    GdipSetStringFormatHotkeyPrefix(fmt, HotkeyPrefixShow);
    GpSolidFill* black = nullptr;
    GdipCreateSolidFill(0xFF000000, &black);
    GpRectF r{0, 0, 0, 0};
    ASSERT_EQ(GdipDrawString(FG, L"a&b", -1, font, &r, fmt, black), Ok);
    EXPECT_EQ(Px(1, 2), 0xFF000000u);    // first glyph box
    EXPECT_EQ(Px(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(Px(9, 2), 0xFF000000u);    // second glyph: "b" (the ampersand is a prefix)
    EXPECT_EQ(Px(17, 2), 0xFFFFFFFFu);   // no third glyph
    EXPECT_EQ(Px(10, 14), 0xFF000000u);  // "b" is underlined
    EXPECT_EQ(Px(2, 14), 0xFFFFFFFFu);
    EXPECT_EQ(GdipDrawString(FG, L"x", -1, font, &r, fmt, nullptr), InvalidParameter);
    GdipDeleteBrush(black);
    GdipDeleteStringFormat(fmt);
    GdipDeleteFont(font);
}

TEST_F(GdiPlus, RealFontMeasureIncludesPaddingAndDrawsInk)
{
    Surface(120, 40);
    GpFontFamily* fam = nullptr;
    ASSERT_EQ(GdipCreateFontFamilyFromName(L"Arial", nullptr, &fam), Ok);
    GpFont* font = nullptr;
    GdipCreateFont(fam, 12, 0, UnitPixel, &font);
    GpRectF origin{0, 0, 0, 0}, one, two;
    GdipMeasureString(FG, L"W", -1, font, &origin, nullptr, &one, nullptr, nullptr);
    GdipMeasureString(FG, L"WW", -1, font, &origin, nullptr, &two, nullptr, nullptr);
    // Each measure carries the same padding (a third of the em in all).
    EXPECT_NEAR((two.Width - one.Width) * 2 - two.Width, -4, 0.5);
    EXPECT_GT(one.Height, 12);
    GpSolidFill* black = nullptr;
    GdipCreateSolidFill(0xFF000000, &black);
    GdipDrawString(FG, L"WWW", -1, font, &origin, nullptr, black);
    int dark = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x) dark += Channel(Px(x, y), 8) < 128;
    EXPECT_GT(dark, 10);
    GdipDeleteBrush(black);
    GdipDeleteFont(font);
    GdipDeleteFontFamily(fam);
}

TEST_F(GdiPlus, GraphicsOnDeviceContextAndGetDcBusyState)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(dc, 10, 10);
    HGDIOBJ old = SelectObject(dc, bmp);
    GpGraphics* g = nullptr;
    ASSERT_EQ(GdipCreateFromHDC(dc, &g), Ok);
    GpSolidFill* red = nullptr;
    GdipCreateSolidFill(0xFFFF0000, &red);
    ASSERT_EQ(GdipFillRectangle(g, red, 2, 2, 3, 3), Ok);
    HDC got = nullptr;
    ASSERT_EQ(GdipGetDC(g, &got), Ok);
    EXPECT_EQ(got, dc);
    // While the DC is out, the graphics object is busy.
    EXPECT_EQ(GdipFillRectangle(g, red, 0, 0, 1, 1), ObjectBusy);
    EXPECT_EQ(GdipGetDC(g, &got), ObjectBusy);
    EXPECT_EQ(GdipDeleteGraphics(g), ObjectBusy);
    ASSERT_EQ(GdipReleaseDC(g, got), Ok);
    ASSERT_EQ(GdipDeleteGraphics(g), Ok);
    EXPECT_EQ(GetPixel(dc, 3, 3), COLORREF(0x0000FF));
    EXPECT_EQ(GetPixel(dc, 5, 5), COLORREF(0));

    // GDI+ bitmap to and from a GDI bitmap.
    GpBitmap* gp = nullptr;
    ASSERT_EQ(GdipCreateBitmapFromHBITMAP(bmp, nullptr, &gp), Ok);
    ARGB c = 0;
    GdipBitmapGetPixel(gp, 3, 3, &c);
    EXPECT_EQ(c, 0xFFFF0000u);
    HBITMAP back = nullptr;
    ASSERT_EQ(GdipCreateHBITMAPFromBitmap(gp, &back, 0xFFFFFFFF), Ok);
    EXPECT_NE(back, nullptr);
    DeleteObject(back);
    GdipDisposeImage(gp);
    GdipDeleteBrush(red);
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
}

TEST_F(GdiPlus, GetDcOnAnImageDrawsIntoIt)
{
    Surface(8, 8);
    HDC dc = nullptr;
    ASSERT_EQ(GdipGetDC(FG, &dc), Ok);
    RECT r = Rect(0, 0, 4, 4);
    HBRUSH b = CreateSolidBrush(0x00FF00);
    FillRect(dc, &r, b);
    DeleteObject(b);
    ASSERT_EQ(GdipReleaseDC(FG, dc), Ok);
    EXPECT_EQ(Px(1, 1), 0xFF00FF00u);
    EXPECT_EQ(Px(5, 5), 0xFFFFFFFFu);
}

TEST_F(GdiPlus, ImagesThroughStreams)
{
    TMemoryStream m;
    m.LoadFromFile(UTF8ToString(std::string(VEL_TEST_DATA_DIR) + "/images/rgba.png"));
    m.SetPosition(0);
    GpBitmap* bmp = nullptr;
    ASSERT_EQ(GdipCreateBitmapFromStream(&m, &bmp), Ok);
    GUID g;
    GdipGetImageRawFormat(bmp, &g);
    EXPECT_TRUE(g == ImageFormatPNG);
    TMemoryStream out;
    ASSERT_EQ(GdipSaveImageToStream(bmp, &out, &EncoderBmpClsid, nullptr), Ok);
    out.SetPosition(0);
    GpImage* back = nullptr;
    ASSERT_EQ(GdipLoadImageFromStream(&out, &back), Ok);
    GdipGetImageRawFormat(back, &g);
    EXPECT_TRUE(g == ImageFormatBMP);
    ARGB c = 0;
    GdipBitmapGetPixel(static_cast<GpBitmap*>(back), 1, 0, &c);
    EXPECT_EQ(c, 0xFF00FF00u);
    EXPECT_EQ(GdipLoadImageFromStream(nullptr, &back), InvalidParameter);
    GdipDisposeImage(back);
    GdipDisposeImage(bmp);
}
