#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/gfx/Graphics.h"

namespace {

String Fixture(const char* name) { return UTF8ToString(std::string(VEL_TEST_DATA_DIR) + "/images/" + name); }

// A temporary folder of the test's own, removed afterwards.
struct TTempDir {
    std::string Path;
    TTempDir()
    {
        char tmpl[] = "/tmp/gfximg-XXXXXX";
        Path = mkdtemp(tmpl);
    }
    ~TTempDir() { std::filesystem::remove_all(Path); }
    String File(const char* name) const { return UTF8ToString(Path + "/" + name); }
};

}  // namespace

TEST(Graphics, PictureChoosesTheClassByExtensionAndByContent)
{
    struct { const char* file; const wchar_t* cls; int w, h; } cases[] = {
        {"bmp24.bmp", L"TBitmap", 5, 3}, {"rgba.png", L"TPngImage", 5, 3},
        {"anim.gif", L"TGIFImage", 4, 4}, {"multi.ico", L"TIcon", 32, 32},
    };
    for (auto& c : cases) {
        TPicture p;
        int changes = 0;
        p.OnChange = [&](TObject*) { ++changes; };
        p.LoadFromFile(Fixture(c.file));
        ASSERT_NE(p.Graphic(), nullptr) << c.file;
        EXPECT_EQ(p.Graphic()->ClassName(), c.cls);
        EXPECT_EQ(p.Width(), c.w) << c.file;
        EXPECT_EQ(p.Height(), c.h) << c.file;
        EXPECT_GT(changes, 0);
    }
    // Content decides when the extension is unknown or wrong.
    TTempDir dir;
    std::filesystem::copy_file(std::string(VEL_TEST_DATA_DIR) + "/images/rgba.png", dir.Path + "/picture.dat");
    std::filesystem::copy_file(std::string(VEL_TEST_DATA_DIR) + "/images/rgba.png", dir.Path + "/named.bmp");
    TPicture p;
    p.LoadFromFile(dir.File("picture.dat"));
    EXPECT_EQ(p.Graphic()->ClassName(), L"TPngImage");
    p.LoadFromFile(dir.File("named.bmp"));
    EXPECT_EQ(p.Graphic()->ClassName(), L"TPngImage");
    std::ofstream(dir.Path + "/junk.xyz") << "not an image at all";
    EXPECT_THROW(p.LoadFromFile(dir.File("junk.xyz")), EInvalidGraphic);
    EXPECT_THROW(p.LoadFromFile(Fixture("bad_png_crc.png")), EInvalidGraphic);
}

TEST(Graphics, PictureAssignCopiesTheGraphicAndBitmapReplacesOthers)
{
    TPicture a, b;
    a.LoadFromFile(Fixture("rgba.png"));
    b.Assign(&a);
    ASSERT_NE(b.Graphic(), a.Graphic());
    EXPECT_EQ(b.Graphic()->ClassName(), L"TPngImage");
    EXPECT_EQ(b.Width(), 5);
    TBitmap* bmp = b.Bitmap();
    EXPECT_EQ(b.Graphic(), bmp);
    EXPECT_TRUE(bmp->Empty());
    b.Assign(nullptr);
    EXPECT_TRUE(b.Empty());
}

TEST(Graphics, BitmapStreamsAsBmpAndKeepsPixels)
{
    TBitmap bmp;
    bmp.SetPixelFormat(pf24bit);
    bmp.SetSize(4, 3);
    bmp.Canvas()->SetPixels(0, 0, 0x0000FF);
    bmp.Canvas()->SetPixels(3, 2, 0xFF0000);
    auto* row = static_cast<uint8_t*>(bmp.ScanLine(1));
    row[3] = 0x30; row[4] = 0x20; row[5] = 0x10;   // pixel (1, 1), stored B, G, R
    TMemoryStream m;
    bmp.SaveToStream(&m);
    const auto* bytes = static_cast<const uint8_t*>(m.Memory());
    ASSERT_GE(m.Size(), 54);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[28], 24);   // bit count
    m.SetPosition(0);
    TBitmap back;
    back.LoadFromStream(&m);
    EXPECT_EQ(back.Width(), 4);
    EXPECT_EQ(back.PixelFormat(), pf24bit);
    EXPECT_EQ(back.Canvas()->Pixels(0, 0), 0x0000FF);
    EXPECT_EQ(back.Canvas()->Pixels(3, 2), 0xFF0000);
    EXPECT_EQ(back.Canvas()->Pixels(1, 1), 0x302010);
    EXPECT_THROW(bmp.ScanLine(3), EInvalidGraphicOperation);
}

TEST(Graphics, BitmapTransparencyTakesTheBottomLeftPixelUnlessFixed)
{
    TBitmap glyph;
    glyph.SetSize(3, 3);
    TCanvas* c = glyph.Canvas();
    c->Brush()->SetColor(clLime);
    c->FillRect(Rect(0, 0, 3, 3));
    c->SetPixels(1, 1, clRed);
    EXPECT_EQ(glyph.TransparentMode(), tmAuto);
    EXPECT_EQ(glyph.TransparentColor(), clLime);
    glyph.SetTransparent(true);

    TBitmap target;
    target.SetSize(3, 3);
    target.Canvas()->Brush()->SetColor(clBlue);
    target.Canvas()->FillRect(Rect(0, 0, 3, 3));
    target.Canvas()->Draw(0, 0, &glyph);
    EXPECT_EQ(target.Canvas()->Pixels(0, 0), clBlue);   // lime is see-through
    EXPECT_EQ(target.Canvas()->Pixels(1, 1), clRed);

    glyph.SetTransparentColor(clRed);
    EXPECT_EQ(glyph.TransparentMode(), tmFixed);
    EXPECT_EQ(glyph.TransparentColor(), clRed);
    glyph.SetTransparentMode(tmAuto);
    EXPECT_EQ(glyph.TransparentColor(), clLime);
}

TEST(Graphics, GifFramesAndIconSizes)
{
    TGIFImage gif;
    gif.LoadFromFile(Fixture("anim.gif"));
    EXPECT_EQ(gif.FrameCount(), 3);
    EXPECT_EQ(gif.FrameDelay(1), 20);
    EXPECT_TRUE(gif.Transparent());
    gif.SetCurrentFrame(1);
    EXPECT_EQ(gif.Image().Pixel(1, 1), 0xFF000000u);
    EXPECT_THROW(gif.SetCurrentFrame(3), EInvalidGraphicOperation);

    TIcon icon;
    icon.LoadFromFile(Fixture("multi.ico"));
    EXPECT_EQ(icon.Width(), 32);
    EXPECT_EQ(icon.Data().Entries.size(), 5u);
    EXPECT_EQ(icon.ImageFor(16, 16).Width, 16);
    TMemoryStream m;
    icon.SaveToStream(&m);   // the file as loaded
    EXPECT_EQ(m.Size(), Int64(std::filesystem::file_size(std::string(VEL_TEST_DATA_DIR) + "/images/multi.ico")));
}

TEST(Graphics, JpegQualityAndPngAlphaRoundTrip)
{
    TBitmap src;
    src.SetSize(16, 16);
    src.Canvas()->Brush()->SetColor(0x336699);
    src.Canvas()->FillRect(Rect(0, 0, 16, 16));
    TJPEGImage hi, lo;
    hi.Assign(&src);
    lo.Assign(&src);
    lo.SetCompressionQuality(5);
    TMemoryStream mh, ml;
    hi.SaveToStream(&mh);
    lo.SaveToStream(&ml);
    EXPECT_LT(ml.Size(), mh.Size());
    EXPECT_EQ(hi.CompressionQuality(), 90);

    TPngImage png;
    png.LoadFromFile(Fixture("rgba.png"));
    EXPECT_TRUE(png.Transparent());
    TMemoryStream m;
    png.SaveToStream(&m);
    m.SetPosition(0);
    TPngImage back;
    back.LoadFromStream(&m);
    EXPECT_EQ(back.Image().Pixels, png.Image().Pixels);
}
