#include "controls/foundation/GDIPicture.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "PictureTestSupport.h"
#include "platform/base/Exceptions.h"
#include "platform/base/Lists.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Codecs.h"

using namespace picture_test;

namespace {

constexpr TColor kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000, kWhite = 0xFFFFFF;

// A white platform bitmap to draw on.
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

// Records the events of a picture in order.
struct TEvents {
    std::string Log;
    void Watch(TGDIPPicture& p)
    {
        p.OnChange = [this](TObject*) { Log += "change "; };
        p.OnClear = [this](TObject*) { Log += "clear "; };
    }
};

TBytes SavedBytes(TGraphic& g)
{
    TBytesStream s;
    g.SaveToStream(&s);
    return s.Bytes();
}

TBytes Header(std::initializer_list<int> start, size_t size)
{
    TBytes b(size, 0);
    size_t i = 0;
    for (int v : start) b[i++] = Byte(v);
    return b;
}

}  // namespace

TEST(GDIPPicture, StartsEmpty)
{
    TGDIPPicture p;
    EXPECT_TRUE(p.Empty());
    EXPECT_EQ(p.Width(), 0);
    EXPECT_EQ(p.Height(), 0);
    EXPECT_EQ(p.PictureFormat(), pfNone);
    EXPECT_TRUE(p.TransparentBitmap());
    EXPECT_EQ(p.Angle(), 0);
    EXPECT_FALSE(p.GetImageSizes());
    EXPECT_EQ(p.Graphic(), &p);
}

// Each fixture: measured, sniffed, and written back byte for byte; a file
// load clears before it changes.
TEST(GDIPPicture, LoadsFilesAndKeepsTheirBytes)
{
    const struct {
        const char* File;
        TPictureFormat Format;
        int Width, Height;
    } cases[] = {
        {"quad16.png", pfPNG, 16, 16}, {"quad16.jpg", pfJPG, 16, 16},   {"quad16.ico", pfICO, 16, 16},
        {"corner.bmp", pfBMP, 8, 8},   {"anim3.gif", pfGIF, 8, 8},      {"random.bin", pfNone, 0, 0},
        {"quad16_cut.png", pfPNG, 0, 0}, {"quad16_cut.jpg", pfJPG, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.File);
        TGDIPPicture p;
        TEvents events;
        events.Watch(p);
        const String path = UTF8ToString(PicturePath(c.File));
        p.LoadFromFile(path);
        EXPECT_FALSE(p.Empty());
        EXPECT_EQ(p.GetFileName(), path);
        EXPECT_EQ(events.Log, "clear change ");
        EXPECT_EQ(p.PictureFormat(), c.Format);
        EXPECT_EQ(p.Width(), c.Width);
        EXPECT_EQ(p.Height(), c.Height);
        EXPECT_TRUE(p.GetImageSizes());   // even when GDI+ cannot decode them
        EXPECT_EQ(SavedBytes(p), ReadPicture(c.File));
        // Drawing undecodable bytes draws nothing and raises nothing.
        TTarget t(20, 20);
        p.Draw(t.Canvas(), TRect{0, 0, 16, 16});
        if (c.Width == 0) {
            EXPECT_EQ(t.At(8, 8), kWhite);
        }
    }
}

TEST(GDIPPicture, AFileThatCannotBeReadLeavesItEmpty)
{
    TGDIPPicture p;
    TEvents events;
    events.Watch(p);
    p.LoadFromFile(UTF8ToString(PicturePath("no-such-file.png")));
    EXPECT_TRUE(p.Empty());
    EXPECT_EQ(events.Log, "");
    p.LoadFromFile(UTF8ToString(PicturePath("quad16.png")));
    p.LoadFromFile(UTF8ToString(PicturePath("no-such-file.png")));
    EXPECT_TRUE(p.Empty());
}

TEST(GDIPPicture, PictureFormatSniffsTheHeader)
{
    TBytes emf = Header({1, 0, 0, 0}, 44);
    emf[40] = ' ', emf[41] = 'E', emf[42] = 'M', emf[43] = 'F';
    TBytes emfWrong = emf;
    emfWrong[0] = 2;
    const struct {
        const char* Name;
        TBytes Bytes;
        TPictureFormat Format;
    } cases[] = {
        {"empty", {}, pfNone},
        {"BM, 43 bytes", Header({'B', 'M'}, 43), pfNone},
        {"BM, 44 bytes", Header({'B', 'M'}, 44), pfBMP},
        {"PNG, 43 bytes", Header({0x89, 'P', 'N', 'G', 13, 10, 26, 10}, 43), pfNone},
        {"PNG", Header({0x89, 'P', 'N', 'G', 13, 10, 26, 10}, 44), pfPNG},
        {"PNG, one byte off", Header({0x89, 'P', 'N', 'G', 13, 10, 26, 11}, 44), pfNone},
        {"II*", Header({'I', 'I', 42, 0}, 44), pfTiff},
        {"II, not 42", Header({'I', 'I', 43, 0}, 44), pfNone},
        {"MM*", Header({'M', 'M', 0, 42}, 44), pfTiff},
        {"MM, not *", Header({'M', 'M', 42, 0}, 44), pfNone},
        {"JPEG", Header({0xFF, 0xD8}, 44), pfJPG},
        {"placeable WMF", Header({0xD7, 0xCD, 0xC6, 0x9A}, 44), pfMetaFile},
        {"EMF", emf, pfMetaFile},
        {"EMF without record 1", emfWrong, pfNone},
        {"GIF", Header({'G', 'I', 'F', '8', '9', 'a'}, 44), pfGIF},
        {"gif lower case", Header({'g', 'i', 'f', '8', '9', 'a'}, 44), pfNone},
        {"icon", Header({0, 0, 1, 0}, 44), pfICO},
        {"cursor", Header({0, 0, 2, 0}, 44), pfNone},
        {"zeros", Header({}, 100), pfNone},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(PictureFormatOf(c.Bytes.data(), c.Bytes.size()), c.Format);
        TGDIPPicture p;
        TBytesStream s(c.Bytes);
        p.ReadData(&s);
        EXPECT_EQ(p.PictureFormat(), c.Format);
    }
    EXPECT_EQ(PictureFormatOf(nullptr, 100), pfNone);
}

TEST(GDIPPicture, DrawsThroughGdiplusScaledIntoTheRect)
{
    TGDIPPicture p;
    p.LoadFromFile(UTF8ToString(PicturePath("quad16.png")));
    TTarget t(40, 40);
    p.Draw(t.Canvas(), TRect{4, 4, 36, 36});   // twice the size
    EXPECT_EQ(t.At(10, 10), kRed);
    EXPECT_EQ(t.At(30, 10), kGreen);
    EXPECT_EQ(t.At(10, 30), kBlue);
    EXPECT_EQ(t.At(30, 30), kWhite);
    EXPECT_EQ(t.At(2, 2), kWhite);
    EXPECT_EQ(t.At(5, 5), kRed);

    TTarget jpeg(16, 16);
    TGDIPPicture j;
    j.LoadFromFile(UTF8ToString(PicturePath("quad16.jpg")));
    j.Draw(jpeg.Canvas(), TRect{0, 0, 16, 16});
    EXPECT_TRUE(Near(uint32_t(jpeg.At(3, 3)), uint32_t(kRed)));
    EXPECT_TRUE(Near(uint32_t(jpeg.At(12, 3)), uint32_t(kGreen)));
    EXPECT_TRUE(Near(uint32_t(jpeg.At(3, 12)), uint32_t(kBlue)));
}

// Angle turns the picture about the centre of its natural size at the
// rectangle's corner: clockwise on the screen.
TEST(GDIPPicture, AngleTurnsAboutTheCentre)
{
    TGDIPPicture p;
    p.LoadFromFile(UTF8ToString(PicturePath("quad16.png")));
    p.SetAngle(90);
    TTarget t(40, 40);
    p.Draw(t.Canvas(), TRect{10, 10, 26, 26});
    EXPECT_EQ(t.At(13, 13), kBlue);
    EXPECT_EQ(t.At(22, 13), kRed);
    EXPECT_EQ(t.At(22, 22), kGreen);
    EXPECT_EQ(t.At(13, 22), kWhite);
    EXPECT_EQ(t.At(8, 8), kWhite);
    EXPECT_EQ(t.At(28, 18), kWhite);
}

TEST(GDIPPicture, TransparentBitmapKeysOutTheCornerColour)
{
    const TBytes bytes = ReadPicture("corner.bmp");
    {
        // Read without measuring: Draw through the platform bitmap leaves the
        // size unmeasured.
        TGDIPPicture p;
        TBytesStream s(bytes);
        p.ReadData(&s);
        TTarget t(16, 16);
        p.Draw(t.Canvas(), TRect{0, 0, 16, 16});   // stretched twice
        EXPECT_EQ(t.At(1, 1), kWhite);
        EXPECT_EQ(t.At(15, 15), kWhite);
        EXPECT_EQ(t.At(5, 5), kBlue);
        EXPECT_EQ(t.At(10, 10), kBlue);
        EXPECT_EQ(p.Width(), 0);
        EXPECT_EQ(p.Height(), 0);
    }
    {
        TGDIPPicture p;
        TBytesStream s(bytes);
        p.ReadData(&s);
        p.SetTransparentBitmap(false);
        TTarget t(8, 8);
        p.Draw(t.Canvas(), TRect{0, 0, 8, 8});
        EXPECT_EQ(t.At(0, 0), TColor(0xFF00FF));
        EXPECT_EQ(t.At(3, 3), kBlue);
        EXPECT_EQ(p.Width(), 8);
    }
}

TEST(GDIPPicture, DrawsOnACallersSurface)
{
    TGDIPPicture p;
    p.LoadFromFile(UTF8ToString(PicturePath("quad16.png")));
    p.SetAngle(90);   // not applied here
    std::unique_ptr<TGPBitmap> target(new TGPBitmap(40, 20, PixelFormat32bppARGB));
    std::unique_ptr<TGPGraphics> g(new TGPGraphics(target.get()));
    g->Clear(0xFFFFFFFF);
    p.DrawImage(g.get(), 0, 0);
    p.DrawImageRect(g.get(), 20, 0, 8, 8);
    ARGB c = 0;
    target->GetPixel(2, 2, c);
    EXPECT_EQ(c, 0xFFFF0000u);
    target->GetPixel(12, 2, c);
    EXPECT_EQ(c, 0xFF00FF00u);
    target->GetPixel(26, 2, c);
    EXPECT_EQ(c, 0xFF00FF00u);
    target->GetPixel(29, 2, c);
    EXPECT_EQ(c, 0xFFFFFFFFu);
}

TEST(GDIPPicture, AssignByKindOfSource)
{
    TGDIPPicture source;
    source.LoadFromFile(UTF8ToString(PicturePath("quad16.png")));

    TGDIPPicture p;
    TEvents events;
    events.Watch(p);
    p.Assign(&source);
    EXPECT_EQ(events.Log, "change ");
    EXPECT_FALSE(p.Empty());
    EXPECT_EQ(p.Width(), 16);
    EXPECT_EQ(SavedBytes(p), ReadPicture("quad16.png"));
    // A deep copy: the source's later load does not show.
    source.LoadFromFile(UTF8ToString(PicturePath("corner.bmp")));
    EXPECT_EQ(p.PictureFormat(), pfPNG);

    events.Log.clear();
    p.Assign(nullptr);
    EXPECT_EQ(events.Log, "change clear ");
    EXPECT_TRUE(p.Empty());
    EXPECT_TRUE(SavedBytes(p).empty());

    // A platform bitmap: its saved BMP.
    TBitmap bitmap(6, 4);
    p.Assign(&bitmap);
    EXPECT_FALSE(p.Empty());
    EXPECT_EQ(p.PictureFormat(), pfBMP);
    EXPECT_EQ(p.Width(), 6);
    EXPECT_EQ(p.Height(), 4);

    // Any other graphic: a PNG image.
    TPngImage png;
    TBytesStream pngBytes(ReadPicture("quad16.png"));
    png.LoadFromStream(&pngBytes);
    p.Assign(&png);
    EXPECT_EQ(p.PictureFormat(), pfPNG);
    EXPECT_EQ(p.Width(), 16);

    // A platform picture holding an icon.
    TPicture picture;
    picture.LoadFromFile(UTF8ToString(PicturePath("quad16.ico")));
    p.Assign(&picture);
    EXPECT_EQ(p.PictureFormat(), pfICO);
    EXPECT_EQ(p.Width(), 16);

    // Not a picture: the bytes stay, the picture counts as empty.
    TStringList other;
    events.Log.clear();
    p.Assign(&other);
    EXPECT_TRUE(p.Empty());
    EXPECT_EQ(p.PictureFormat(), pfICO);
    EXPECT_EQ(events.Log, "");
}

TEST(GDIPPicture, StreamsAndFormReading)
{
    TGDIPPicture p;
    TEvents events;
    events.Watch(p);
    TBytesStream in(ReadPicture("anim3.gif"));
    in.SetPosition(20);   // taken from the start whatever the position
    p.LoadFromStream(&in);
    EXPECT_EQ(events.Log, "change ");
    EXPECT_EQ(p.Width(), 8);
    p.LoadFromStream(nullptr);

    TGDIPPicture read;
    events.Watch(read);
    events.Log.clear();
    TBytesStream data(ReadPicture("quad16.png"));
    read.ReadData(&data);
    EXPECT_EQ(events.Log, "");
    EXPECT_FALSE(read.Empty());
    EXPECT_EQ(read.Width(), 0);
    TBytesStream out;
    read.WriteData(&out);
    EXPECT_EQ(out.Bytes(), ReadPicture("quad16.png"));
    read.SaveToStream(nullptr);
}

TEST(GDIPPicture, LoadFromUrlKnowsResAndFileInAnyCase)
{
    static const TBytes resource = ReadPicture("quad16.png");
    RegisterResource(RT_RCDATA, L"PICTURETEST_QUAD", resource.data(), resource.size());

    const String file = UTF8ToString(PicturePath("corner.bmp"));
    const struct {
        String Url;
        TPictureFormat Format;   // pfNone: nothing loaded
    } cases[] = {
        {L"res://PICTURETEST_QUAD", pfPNG},
        {L"RES://picturetest_quad", pfPNG},
        {L"ReS://PICTURETEST_QUAD", pfPNG},
        {L"FILE://" + file, pfBMP},
        {L"file://" + file, pfBMP},
        {L"RES://", pfNone},
        {L"FILE://", pfNone},
        {L"RES://NO_SUCH_RESOURCE", pfNone},
        {L"http://example.com/quad16.png", pfNone},
        {file, pfNone},
        {L"", pfNone},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(UTF8Encode(c.Url));
        TGDIPPicture p;
        p.LoadFromURL(c.Url);
        EXPECT_EQ(p.Empty(), c.Format == pfNone);
        EXPECT_EQ(p.PictureFormat(), c.Format);
    }

    TGDIPPicture p;
    p.LoadFromResourceName(HInstance, L"PICTURETEST_QUAD");
    EXPECT_EQ(p.Width(), 16);
    EXPECT_THROW(p.LoadFromResourceID(HInstance, 31999), EResNotFound);
}

// Random bytes and every cut of the real files: loaded, sniffed, measured
// and drawn without a crash.
TEST(GDIPPicture, MalformedBytesNeverCrash)
{
    std::mt19937 rng(2108);
    std::vector<TBytes> inputs;
    for (const char* f : {"quad16.png", "quad16.jpg", "quad16.ico", "corner.bmp", "anim3.gif"}) {
        const TBytes whole = ReadPicture(f);
        for (size_t n = 0; n < whole.size(); n += 7) inputs.emplace_back(whole.begin(), whole.begin() + n);
        for (int k = 0; k < 20; ++k) {
            TBytes flipped = whole;
            flipped[rng() % flipped.size()] ^= Byte(1 + rng() % 255);
            inputs.push_back(flipped);
        }
    }
    for (int k = 0; k < 100; ++k) {
        TBytes noise(rng() % 200);
        for (auto& b : noise) b = Byte(rng());
        inputs.push_back(noise);
    }
    TTarget t(24, 24);
    for (const TBytes& bytes : inputs) {
        TGDIPPicture p;
        TBytesStream s(bytes);
        p.LoadFromStream(&s);
        (void)p.PictureFormat();
        EXPECT_LE(p.Width(), 16);
        p.SetAngle(int(rng() % 360));
        p.Draw(t.Canvas(), TRect{0, 0, 24, 24});
    }
}
