#include <gtest/gtest.h>

#include <jpeglib.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/gfx/Codecs.h"

namespace {

TBytes ReadFixture(const std::string& name)
{
    std::ifstream f(std::string(VEL_TEST_DATA_DIR) + "/images/" + name, std::ios::binary);
    EXPECT_TRUE(f.good()) << name;
    return TBytes(std::istreambuf_iterator<char>(f), {});
}

constexpr uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF,
                   kBlack = 0xFF000000;
const uint32_t kPal4[4] = {kRed, kGreen, kBlue, kWhite};

// The fixtures' pattern: colour (x + y) % n of the four-colour palette, or
// black and white for two colours.
uint32_t Expected(int x, int y, int n) { return n == 2 ? ((x + y) % 2 ? kWhite : kBlack) : kPal4[(x + y) % 4]; }

TImageData Gradient(int w, int h, bool alpha)
{
    TImageData img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.Pixel(x, y) = (uint32_t(alpha ? 40 + 20 * x : 255) << 24) | uint32_t(x * 30) << 16 |
                              uint32_t(y * 40) << 8 | uint32_t((x * y * 7) & 0xFF);
    img.HasAlpha = alpha;
    return img;
}

}  // namespace

TEST(Codecs, BmpEveryDepthAndLayoutDecodesTheSamePattern)
{
    struct { const char* file; int bpp; int colours; } cases[] = {
        {"bmp1.bmp", 1, 2},       {"bmp4.bmp", 4, 4},        {"bmp8.bmp", 8, 4},
        {"bmp8_core.bmp", 8, 4},  {"bmp8_rle.bmp", 8, 4},    {"bmp4_rle.bmp", 4, 4},
        {"bmp16.bmp", 16, 4},     {"bmp16_565.bmp", 16, 4},  {"bmp24.bmp", 24, 4},
        {"bmp24_topdown.bmp", 24, 4}, {"bmp32.bmp", 32, 4},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.file);
        TBytes b = ReadFixture(c.file);
        TImageData img = DecodeBmp(b.data(), b.size());
        ASSERT_EQ(img.Width, 5);
        ASSERT_EQ(img.Height, 3);
        EXPECT_EQ(img.BitsPerPixel, c.bpp);
        EXPECT_FALSE(img.HasAlpha);  // an all-zero alpha byte means opaque
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x) EXPECT_EQ(img.Pixel(x, y), Expected(x, y, c.colours)) << x << "," << y;
    }
}

TEST(Codecs, BmpAlphaBitFieldsAreKept)
{
    TBytes b = ReadFixture("bmp32_v5alpha.bmp");
    TImageData img = DecodeBmp(b.data(), b.size());
    EXPECT_TRUE(img.HasAlpha);
    EXPECT_EQ(img.Pixel(0, 0), 0x80FF0000u);
    EXPECT_EQ(img.Pixel(1, 2), kWhite);
}

TEST(Codecs, BmpRoundTripsAt24And32Bits)
{
    TImageData src = Gradient(7, 5, true);
    TImageData back32 = DecodeImage(EncodeBmp(src, 32));
    EXPECT_EQ(back32.Pixels, src.Pixels);
    EXPECT_TRUE(back32.HasAlpha);
    TImageData back24 = DecodeImage(EncodeBmp(src, 24));
    ASSERT_EQ(back24.Pixels.size(), src.Pixels.size());
    for (size_t i = 0; i < src.Pixels.size(); ++i) EXPECT_EQ(back24.Pixels[i], src.Pixels[i] | 0xFF000000u);
    EXPECT_EQ(back24.BitsPerPixel, 24);
}

TEST(Codecs, PngColourTypes)
{
    TBytes b = ReadFixture("rgba.png");
    TImageData img = DecodePng(b.data(), b.size());
    EXPECT_TRUE(img.HasAlpha);
    EXPECT_EQ(img.Pixel(0, 0), 0x40FF0000u);
    EXPECT_EQ(img.Pixel(1, 0), kGreen);

    b = ReadFixture("palette_trns.png");
    img = DecodePng(b.data(), b.size());
    EXPECT_TRUE(img.HasAlpha);
    EXPECT_EQ(img.Pixel(0, 0) >> 24, 0u);  // index 0 is transparent
    EXPECT_EQ(img.Pixel(2, 0) >> 24, 0xFFu);
    EXPECT_EQ(img.Pixel(2, 0), kBlue);

    b = ReadFixture("grey.png");
    img = DecodePng(b.data(), b.size());
    EXPECT_FALSE(img.HasAlpha);
    EXPECT_EQ(img.Pixel(2, 1), 0xFF515151u);  // grey 81

    b = ReadFixture("grey_alpha.png");
    img = DecodePng(b.data(), b.size());
    EXPECT_EQ(img.Pixel(2, 0), 0x64646464u);  // grey 100, alpha 100

    b = ReadFixture("rgb16.png");
    img = DecodePng(b.data(), b.size());
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(img.Pixel(x, y), Expected(x, y, 4));
}

TEST(Codecs, PngRoundTripWithAndWithoutAlpha)
{
    for (bool alpha : {true, false}) {
        TImageData src = Gradient(9, 4, alpha);
        TImageData back = DecodeImage(EncodePng(src));
        EXPECT_EQ(back.Pixels, src.Pixels);
        EXPECT_EQ(back.HasAlpha, alpha);
    }
}

TEST(Codecs, JpegRoundTripIsCloseAndQualityMatters)
{
    TImageData src(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) src.Pixel(x, y) = x < 8 ? 0xFFC83214u : 0xFF1464C8u;
    TBytes high = EncodeJpeg(src, 95), low = EncodeJpeg(src, 5);
    EXPECT_LT(low.size(), high.size());
    TImageData back = DecodeImage(high);
    ASSERT_EQ(back.Width, 16);
    auto near = [](uint32_t a, uint32_t b) {
        for (int s = 0; s < 24; s += 8)
            if (std::abs(int((a >> s) & 0xFF) - int((b >> s) & 0xFF)) > 8) return false;
        return true;
    };
    EXPECT_TRUE(near(back.Pixel(2, 2), 0xFFC83214u)) << std::hex << back.Pixel(2, 2);
    EXPECT_TRUE(near(back.Pixel(13, 13), 0xFF1464C8u)) << std::hex << back.Pixel(13, 13);
    EXPECT_EQ(back.BitsPerPixel, 24);

    TImageData grey = DecodeImage(EncodeJpeg(src, 90, true));
    EXPECT_EQ(grey.BitsPerPixel, 8);
    uint32_t p = grey.Pixel(2, 2);
    EXPECT_EQ((p >> 16) & 0xFF, p & 0xFF);
}

TEST(Codecs, JpegCmykIsConvertedToRgb)
{
    // Write a CMYK JPEG (the library adds the Adobe marker, inverted CMYK).
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* buf = nullptr;
    unsigned long len = 0;
    jpeg_mem_dest(&c, &buf, &len);
    c.image_width = 8;
    c.image_height = 8;
    c.input_components = 4;
    c.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 95, TRUE);
    jpeg_start_compress(&c, TRUE);
    unsigned char row[32];
    for (int x = 0; x < 8; ++x) { row[4 * x] = 255; row[4 * x + 1] = 0; row[4 * x + 2] = 255; row[4 * x + 3] = 255; }
    while (c.next_scanline < 8) { JSAMPROW r = row; jpeg_write_scanlines(&c, &r, 1); }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    TBytes data(buf, buf + len);
    std::free(buf);
    // Inverted CMYK with C=Y=K=255 (no cyan, no yellow, no black), M=0 (full magenta).
    TImageData img = DecodeJpeg(data.data(), data.size());
    uint32_t p = img.Pixel(4, 4);
    EXPECT_GT((p >> 16) & 0xFF, 240u);
    EXPECT_LT((p >> 8) & 0xFF, 15u);
    EXPECT_GT(p & 0xFF, 240u);
}

TEST(Codecs, GifFramesDelaysDisposalTransparencyAndComposition)
{
    TBytes b = ReadFixture("anim.gif");
    TGifData gif = DecodeGif(b.data(), b.size());
    EXPECT_EQ(gif.ScreenWidth, 4);
    EXPECT_EQ(gif.LoopCount, 0);
    ASSERT_EQ(gif.Frames.size(), 3u);
    EXPECT_EQ(gif.Frames[0].DelayCs, 10);
    EXPECT_EQ(gif.Frames[1].DelayCs, 20);
    EXPECT_EQ(gif.Frames[2].DelayCs, 5);
    EXPECT_EQ(gif.Frames[0].Disposal, gdLeave);
    EXPECT_EQ(gif.Frames[1].Disposal, gdBackground);
    const TGifFrame& f2 = gif.Frames[1];
    EXPECT_TRUE(f2.Transparent);
    EXPECT_TRUE(f2.Interlaced);
    EXPECT_TRUE(f2.LocalPalette);
    EXPECT_EQ(f2.Left, 1);
    EXPECT_EQ(f2.Image.Pixel(0, 0), kBlack);
    EXPECT_EQ(f2.Image.Pixel(1, 0), 0u);

    std::vector<TImageData> all = GifCompositeAll(gif);
    ASSERT_EQ(all.size(), 3u);
    // Frame 2 over frame 1: black on its diagonal, frame 1 through the holes.
    EXPECT_EQ(all[1].Pixel(1, 1), kBlack);
    EXPECT_EQ(all[1].Pixel(2, 1), Expected(2, 1, 4));
    EXPECT_EQ(all[1].Pixel(0, 0), kRed);
    // Frame 2's rectangle was cleared to transparent before frame 3.
    EXPECT_EQ(all[2].Pixel(1, 1), 0u);
    EXPECT_EQ(all[2].Pixel(2, 1), 0u);
    EXPECT_EQ(all[2].Pixel(0, 0), kWhite);
    EXPECT_EQ(all[2].Pixel(3, 3), Expected(3, 3, 4));
    EXPECT_TRUE(all[2].HasAlpha);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(GifComposite(gif, i).Pixels, all[size_t(i)].Pixels);
    EXPECT_THROW(GifComposite(gif, 3), EInvalidGraphic);
}

TEST(Codecs, GifInterlacedRowsLandInPlaceAndFramesOutsideAreClipped)
{
    TBytes b = ReadFixture("interlaced.gif");
    TImageData img = DecodeImage(b);
    for (int y = 0; y < 8; ++y) EXPECT_EQ(img.Pixel(1, y), kPal4[y % 4]) << y;

    b = ReadFixture("gif_frame_outside.gif");
    TImageData out = DecodeImage(b);
    EXPECT_EQ(out.Width, 4);
    EXPECT_EQ(out.Pixel(3, 3), 0u);
}

TEST(Codecs, IconEverySizeAndDepthWithMasks)
{
    TBytes b = ReadFixture("multi.ico");
    TIconData ico = DecodeIco(b.data(), b.size());
    ASSERT_EQ(ico.Entries.size(), 5u);
    struct { int size, bits; bool png; } want[] = {{16, 1, false}, {16, 4, false}, {24, 24, false}, {32, 32, false}, {48, 32, true}};
    for (size_t i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        const TIconEntry& e = ico.Entries[i];
        EXPECT_EQ(e.Image.Width, want[i].size);
        EXPECT_EQ(e.BitCount, want[i].bits);
        EXPECT_EQ(e.IsPng, want[i].png);
        EXPECT_EQ(e.Image.Pixel(3, 2), Expected(3, 2, i == 0 ? 2 : 4));
        // The AND mask hides the top-left pixel of the masked entries; the
        // 32-bit entry's own alpha wins over its mask.
        if (i < 3) {
            EXPECT_EQ(e.Image.Pixel(0, 0), 0u);
        }
    }
    EXPECT_EQ(ico.Entries[3].Image.Pixel(1, 0) >> 24, 0x80u);
    EXPECT_EQ(ico.Entries[3].Image.Pixel(0, 0), kRed);
    EXPECT_EQ(ico.BestIndex(), 4);
    EXPECT_EQ(ico.BestIndex(16, 16), 1);  // the deeper of the two 16x16
    EXPECT_EQ(ico.BestIndex(30, 30), 3);

    b = ReadFixture("arrow.cur");
    TIconData cur = DecodeIco(b.data(), b.size());
    EXPECT_TRUE(cur.IsCursor);
    EXPECT_EQ(cur.Entries[0].HotSpotX, 3);
    EXPECT_EQ(cur.Entries[0].HotSpotY, 5);
    EXPECT_EQ(SniffImageFormat(b.data(), b.size()), TImageFormat::Cur);
}

TEST(Codecs, IconRoundTrip)
{
    TImageData small = Gradient(16, 16, true), big = Gradient(256, 256, false);
    TIconData ico = DecodeIco(EncodeIco({small, big}).data(), EncodeIco({small, big}).size());
    ASSERT_EQ(ico.Entries.size(), 2u);
    EXPECT_EQ(ico.Entries[0].Image.Pixels, small.Pixels);
    EXPECT_TRUE(ico.Entries[1].IsPng);
    EXPECT_EQ(ico.Entries[1].Image.Width, 256);
    EXPECT_EQ(ico.Entries[1].Image.Pixel(10, 3), big.Pixel(10, 3));
}

TEST(Codecs, SniffingByContent)
{
    struct { const char* file; TImageFormat fmt; } cases[] = {
        {"bmp24.bmp", TImageFormat::Bmp}, {"rgba.png", TImageFormat::Png}, {"anim.gif", TImageFormat::Gif},
        {"multi.ico", TImageFormat::Ico},
    };
    for (auto& c : cases) {
        TBytes b = ReadFixture(c.file);
        EXPECT_EQ(SniffImageFormat(b.data(), b.size()), c.fmt) << c.file;
    }
    TBytes jpg = EncodeJpeg(Gradient(4, 4, false));
    EXPECT_EQ(SniffImageFormat(jpg.data(), jpg.size()), TImageFormat::Jpeg);
    EXPECT_EQ(SniffImageFormat(nullptr, 0), TImageFormat::Unknown);
    const uint8_t tiff[] = {'I', 'I', 42, 0, 8, 0, 0, 0};
    EXPECT_EQ(SniffImageFormat(tiff, sizeof tiff), TImageFormat::Tiff);
    EXPECT_THROW(DecodeImage(tiff, sizeof tiff), EInvalidGraphic);
}

TEST(Codecs, MalformedFixturesRaiseInvalidGraphic)
{
    const char* files[] = {"bad_bmp_huge.bmp", "bad_bmp_depth.bmp", "bad_bmp_header.bmp", "bad_png_crc.png",
                           "bad_png_huge.png", "bad_gif_lzw.gif",   "bad_ico_offset.ico", "bad_ico_count.ico"};
    for (const char* f : files) {
        TBytes b = ReadFixture(f);
        EXPECT_THROW(DecodeImage(b), EInvalidGraphic) << f;
    }
    const uint8_t junk[] = {0xFF, 0xD8, 0xFF, 0xE0, 0, 3, 1, 2, 3, 4};
    EXPECT_THROW(DecodeImage(junk, sizeof junk), EInvalidGraphic);
    EXPECT_THROW(DecodeImage(nullptr, 0), EInvalidGraphic);
}

TEST(Codecs, RleRunsLeavingTheImageAreClipped)
{
    TBytes b = ReadFixture("bad_bmp_rle_overrun.bmp");
    TImageData img = DecodeImage(b);
    EXPECT_EQ(img.Pixel(0, 2), kGreen);  // the first run, clipped at the right edge
    EXPECT_EQ(img.Pixel(4, 2), kGreen);
}

TEST(Codecs, EveryTruncationFailsCleanly)
{
    // Cut each valid image at every length: the decoder either raises
    // EInvalidGraphic or (formats that tolerate a missing tail) returns a
    // whole image; it never reads past the buffer (the sanitizers watch).
    // An RLE bitmap whose rows are all there needs no end marker, so those
    // decode when only the marker is cut off.
    const char* files[] = {"bmp1.bmp", "bmp4_rle.bmp", "bmp8_rle.bmp", "bmp16_565.bmp", "bmp32_v5alpha.bmp",
                           "rgba.png", "palette_trns.png", "anim.gif", "interlaced.gif", "multi.ico", "arrow.cur"};
    std::vector<std::pair<std::string, TBytes>> inputs;
    for (const char* f : files) inputs.emplace_back(f, ReadFixture(f));
    inputs.emplace_back("jpeg", EncodeJpeg(Gradient(24, 17, false), 80));
    for (auto& [name, full] : inputs) {
        const bool strict = (name.find(".bmp") != std::string::npos && name.find("_rle") == std::string::npos) || name.find(".ico") != std::string::npos ||
                            name.find(".cur") != std::string::npos || name == "jpeg";
        for (size_t n = 0; n < full.size(); ++n) {
            // A fresh allocation of exactly n bytes so any overread is caught.
            std::vector<uint8_t> cut(full.begin(), full.begin() + std::ptrdiff_t(n));
            cut.shrink_to_fit();
            try {
                TImageData img = DecodeImage(cut.data(), cut.size());
                EXPECT_FALSE(strict) << name << " cut at " << n << " decoded";
                EXPECT_FALSE(img.Empty());
            } catch (const EInvalidGraphic&) {
            }
        }
    }
}

TEST(Codecs, AbsurdSizesAreRefusedBeforeAllocating)
{
    EXPECT_THROW(CheckImageSize(kMaxImageDimension + 1, 1), EInvalidGraphic);
    EXPECT_THROW(CheckImageSize(20000, 20000), EInvalidGraphic);
    EXPECT_THROW(CheckImageSize(0, 10), EInvalidGraphic);
    EXPECT_NO_THROW(CheckImageSize(4096, 4096));
}
