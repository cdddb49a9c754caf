#include "controls/foundation/VodImage.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "PictureTestSupport.h"
#include "platform/base/Exceptions.h"
#include "platform/base/Lists.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Codecs.h"
#include "platform/ui/ExtCtrls.h"

using namespace picture_test;

namespace {

constexpr TColor kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000, kWhite = 0xFFFFFF;

struct TTarget {
    TBitmap Bitmap;
    TTarget(int w, int h) : Bitmap(w, h)
    {
        Bitmap.Canvas()->Brush()->SetColor(clWhite);
        Bitmap.Canvas()->FillRect(TRect{0, 0, w, h});
    }
    TCanvas* Canvas() { return Bitmap.Canvas(); }
    TColor At(int x, int y) { return Bitmap.Canvas()->Pixels(x, y); }
};

TBytes SavedBytes(TGraphic& g)
{
    TBytesStream s;
    g.SaveToStream(&s);
    return s.Bytes();
}

// The message a load raises, or "" when it loads.
std::string LoadError(TVodImage& image, const TBytes& bytes)
{
    TBytesStream s(bytes);
    try {
        image.LoadFromStream(&s);
    } catch (const Exception& e) {
        return UTF8Encode(e.Message());
    }
    return "";
}

}  // namespace

TEST(VodImage, StartsEmpty)
{
    TVodImage image;
    EXPECT_TRUE(image.Empty());
    EXPECT_EQ(image.Width(), 0);
    EXPECT_EQ(image.Height(), 0);
    EXPECT_EQ(image.Picture(), nullptr);
}

// Each format the OLE loader reads: sized from HIMETRIC and drawn upright.
TEST(VodImage, LoadsAndDrawsUpright)
{
    for (const char* file : {"quad16.jpg", "quad16.ico"}) {
        SCOPED_TRACE(file);
        TVodImage image;
        int changes = 0;
        image.OnChange = [&](TObject*) { ++changes; };
        EXPECT_EQ(LoadError(image, ReadPicture(file)), "");
        EXPECT_EQ(changes, 1);
        EXPECT_EQ(image.Width(), 16);
        EXPECT_EQ(image.Height(), 16);
        EXPECT_EQ(SavedBytes(image), ReadPicture(file));
        TTarget t(40, 40);
        image.Draw(t.Canvas(), TRect{4, 4, 36, 36});
        EXPECT_TRUE(Near(uint32_t(t.At(10, 10)), uint32_t(kRed)));
        EXPECT_TRUE(Near(uint32_t(t.At(30, 10)), uint32_t(kGreen)));
        EXPECT_TRUE(Near(uint32_t(t.At(10, 30)), uint32_t(kBlue)));
        EXPECT_TRUE(Near(uint32_t(t.At(30, 30)), uint32_t(kWhite)));
        EXPECT_EQ(t.At(2, 2), kWhite);
    }
    TVodImage gif;
    EXPECT_EQ(LoadError(gif, ReadPicture("anim3.gif")), "");
    TTarget t(8, 8);
    gif.Draw(t.Canvas(), TRect{0, 0, 8, 8});
    EXPECT_EQ(t.At(4, 4), kRed);   // the first frame

    TVodImage bmp;
    EXPECT_EQ(LoadError(bmp, ReadPicture("corner.bmp")), "");
    TTarget b(8, 8);
    bmp.Draw(b.Canvas(), TRect{0, 0, 8, 8});
    EXPECT_EQ(b.At(0, 0), TColor(0xFF00FF));
    EXPECT_EQ(b.At(3, 3), kBlue);
}

// HIMETRIC to pixels by a rounding multiply-divide at 96 per inch.
TEST(VodImage, SizeFromHimetric)
{
    const struct {
        int Width, Height;
    } cases[] = {{100, 50}, {1, 1}, {37, 999}, {640, 480}};
    for (const auto& c : cases) {
        TVodImage image;
        ASSERT_EQ(LoadError(image, EncodeBmp(TImageData(c.Width, c.Height, 0xFF808080))), "");
        OLE_XSIZE_HIMETRIC hmW = 0;
        OLE_YSIZE_HIMETRIC hmH = 0;
        image.Picture()->get_Width(&hmW);
        image.Picture()->get_Height(&hmH);
        EXPECT_EQ(image.Width(), MulDiv(hmW, 96, 2540));
        EXPECT_EQ(image.Width(), c.Width);
        EXPECT_EQ(image.Height(), c.Height);
        if (c.Width == 100) {
            EXPECT_EQ(hmW, 2646);
            EXPECT_EQ(hmH, 1323);
        }
    }
}

TEST(VodImage, RefusedBytesRaiseTheLoadMessages)
{
    for (const char* file : {"quad16.png", "random.bin", "quad16_cut.jpg", "quad16_cut.png"}) {
        SCOPED_TRACE(file);
        TVodImage image;
        int changes = 0;
        image.OnChange = [&](TObject*) { ++changes; };
        EXPECT_EQ(LoadError(image, ReadPicture(file)), "Could not load image. Invalid format");
        EXPECT_EQ(changes, 0);
        EXPECT_EQ(image.Picture(), nullptr);
        TTarget t(8, 8);
        image.Draw(t.Canvas(), TRect{0, 0, 8, 8});
        EXPECT_EQ(t.At(4, 4), kWhite);
    }
    TVodImage read;
    TBytesStream png(ReadPicture("quad16.png"));
    EXPECT_THROW(read.ReadData(&png), Exception);
}

TEST(VodImage, LoadFromFileSwallowsErrors)
{
    TVodImage image;
    image.LoadFromFile(UTF8ToString(PicturePath("no-such-file.bmp")));
    EXPECT_TRUE(image.Empty());
    image.LoadFromFile(UTF8ToString(PicturePath("quad16.png")));
    EXPECT_TRUE(image.Empty());
    int changes = 0;
    image.OnChange = [&](TObject*) { ++changes; };
    image.LoadFromFile(UTF8ToString(PicturePath("quad16.ico")));
    EXPECT_FALSE(image.Empty());
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(image.Width(), 16);
}

TEST(VodImage, ReadDataFiresNothing)
{
    TVodImage image;
    int changes = 0;
    image.OnChange = [&](TObject*) { ++changes; };
    TBytesStream s(ReadPicture("quad16.jpg"));
    image.ReadData(&s);
    image.ReadData(nullptr);
    image.LoadFromStream(nullptr);
    EXPECT_EQ(changes, 0);
    EXPECT_FALSE(image.Empty());
    EXPECT_NE(image.Picture(), nullptr);
    TBytesStream out;
    image.WriteData(&out);
    EXPECT_EQ(out.Bytes(), ReadPicture("quad16.jpg"));
}

TEST(VodImage, AssignStepByStep)
{
    TVodImage source;
    LoadError(source, ReadPicture("quad16.jpg"));

    // A non-empty image: its own step and the graphic step.
    TVodImage image;
    int changes = 0;
    image.OnChange = [&](TObject*) { ++changes; };
    image.Assign(&source);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(SavedBytes(image), ReadPicture("quad16.jpg"));
    EXPECT_NE(image.Picture(), nullptr);
    EXPECT_FALSE(image.Empty());

    changes = 0;
    image.Assign(nullptr);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(image.Empty());
    EXPECT_TRUE(SavedBytes(image).empty());
    EXPECT_EQ(image.Picture(), nullptr);

    // A platform bitmap: loaded at once.
    TBitmap bitmap(6, 3);
    bitmap.Canvas()->Brush()->SetColor(clRed);
    bitmap.Canvas()->FillRect(TRect{0, 0, 6, 3});
    image.Assign(&bitmap);
    EXPECT_FALSE(image.Empty());
    EXPECT_EQ(image.Width(), 6);
    TTarget t(6, 3);
    image.Draw(t.Canvas(), TRect{0, 0, 6, 3});
    EXPECT_EQ(t.At(2, 1), kRed);

    // An image control's picture.
    TImage control(nullptr);
    control.Picture()->LoadFromFile(UTF8ToString(PicturePath("quad16.ico")));
    image.Assign(&control);
    EXPECT_EQ(image.Width(), 16);

    // A platform picture.
    TPicture picture;
    picture.LoadFromFile(UTF8ToString(PicturePath("anim3.gif")));
    image.Assign(&picture);
    EXPECT_EQ(image.Width(), 8);

    // A PNG the loader refuses: Assign keeps the bytes and draws nothing.
    TPngImage png;
    TBytesStream pngBytes(ReadPicture("quad16.png"));
    png.LoadFromStream(&pngBytes);
    EXPECT_NO_THROW(image.Assign(&png));
    EXPECT_FALSE(image.Empty());
    EXPECT_EQ(image.Picture(), nullptr);
    EXPECT_EQ(image.Width(), 0);
    EXPECT_FALSE(SavedBytes(image).empty());
    TTarget none(8, 8);
    image.Draw(none.Canvas(), TRect{0, 0, 8, 8});
    EXPECT_EQ(none.At(4, 4), kWhite);

    // Another class: empty, no error.
    TStringList other;
    EXPECT_NO_THROW(image.Assign(&other));
    EXPECT_TRUE(image.Empty());

    // Itself: nothing changes.
    image.Assign(&source);
    image.Assign(&image);
    EXPECT_NE(image.Picture(), nullptr);
}

TEST(VodImage, MalformedBytesNeverCrash)
{
    std::mt19937 rng(2109);
    TTarget t(16, 16);
    for (const char* f : {"quad16.jpg", "quad16.ico", "corner.bmp", "anim3.gif"}) {
        const TBytes whole = ReadPicture(f);
        for (int k = 0; k < 60; ++k) {
            TBytes bytes = whole;
            if (k % 2) bytes.resize(rng() % whole.size());
            else bytes[rng() % bytes.size()] ^= Byte(1 + rng() % 255);
            TVodImage image;
            LoadError(image, bytes);
            image.Draw(t.Canvas(), TRect{0, 0, 16, 16});
            EXPECT_LE(image.Width(), 4096);
        }
    }
}
