#include "controls/markup/PictureContainer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "../foundation/PictureTestSupport.h"
#include "platform/base/Exceptions.h"
#include "platform/base/Resources.h"
#include "platform/base/SysUtils.h"
#include "platform/base/Threads.h"
#include "platform/gfx/Canvas.h"
#include "platform/ui/Controls.h"

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

String PictureFile(const std::string& name) { return UTF8ToString(PicturePath(name)); }

void Put16(TBytes& b, int v)
{
    b.push_back(Byte(v & 0xFF));
    b.push_back(Byte(v >> 8));
}

// A GIF header followed by one frame per delay: graphic control extension
// (packed byte, delay), image descriptor at (10 * k, 20 * k) of 3 by 4, and
// a token image data block. The bytes are built, not decoded.
TBytes BuiltGif(const std::vector<int>& delays, const std::vector<Byte>& packed = {})
{
    TBytes b = {'G', 'I', 'F', '8', '9', 'a'};
    Put16(b, 30);
    Put16(b, 40);
    b.insert(b.end(), {0x00, 0x00, 0x00});
    for (size_t k = 0; k < delays.size(); ++k) {
        b.insert(b.end(), {0x21, 0xF9, 0x04, k < packed.size() ? packed[k] : Byte(0)});
        Put16(b, delays[k]);
        b.insert(b.end(), {0x00, 0x00});
        b.push_back(0x2C);
        Put16(b, int(10 * (k + 1)));
        Put16(b, int(20 * (k + 1)));
        Put16(b, 3);
        Put16(b, 4);
        b.insert(b.end(), {0x00, 0x02, 0x01, 0x44, 0x00});
    }
    b.push_back(0x3B);
    return b;
}

void Load(THTMLPicture& p, const TBytes& bytes)
{
    TBytesStream s(bytes);
    p.LoadFromStream(&s);
}

}  // namespace

TEST(PictureGifScan, BuiltFramesCountTimeAndPlace)
{
    const TBytes gif = BuiltGif({7, 12, 30}, {0x01, 0x08, 0x0D});
    EXPECT_TRUE(gif_scan::IsGIF(gif.data(), gif.size()));
    EXPECT_EQ(gif_scan::FrameCount(gif.data(), gif.size()), 3);
    struct {
        int Frame, Delay;
        bool Transparent;
        int Disposal, X, Y;
    } cases[] = {{1, 7, true, 0, 10, 20}, {2, 12, false, 2, 20, 40}, {3, 30, true, 3, 30, 60},
                 {4, -1, false, 0, 0, 0}, {0, -1, false, 0, 0, 0}};
    for (const auto& c : cases) {
        const auto info = gif_scan::FrameInfo(gif.data(), gif.size(), c.Frame);
        EXPECT_EQ(info.Delay, c.Delay) << c.Frame;
        EXPECT_EQ(info.Transparent, c.Transparent) << c.Frame;
        EXPECT_EQ(info.Disposal, c.Disposal) << c.Frame;
        EXPECT_EQ(info.XPos, c.X) << c.Frame;
        EXPECT_EQ(info.YPos, c.Y) << c.Frame;
    }
    // Not a GIF: too short, wrong signature.
    const Byte shortGif[] = {'G', 'I', 'F', '8'};
    EXPECT_EQ(gif_scan::FrameCount(shortGif, 4), -1);
    const Byte png[] = {0x89, 'P', 'N', 'G', 0, 0, 0, 0};
    EXPECT_EQ(gif_scan::FrameCount(png, sizeof png), -1);
    EXPECT_EQ(gif_scan::FrameInfo(png, sizeof png, 1).Delay, -1);
    // Images without graphic control extensions count no frame.
    const TBytes plain = {'G', 'I', 'F', '8', '7', 'a', 1, 0, 1, 0, 0, 0, 0, 0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0x3B};
    EXPECT_EQ(gif_scan::FrameCount(plain.data(), plain.size()), 0);
}

// Repacking leaves out the frames before the one asked for and keeps the
// rest byte for byte.
TEST(PictureGifScan, RepackDropsEarlierFrames)
{
    const TBytes gif = BuiltGif({7, 12, 30});
    const size_t header = 13, frame = 22;
    ASSERT_EQ(gif.size(), header + 3 * frame + 1);
    EXPECT_EQ(gif_scan::Repack(gif.data(), gif.size(), 1), gif);
    const TBytes third = gif_scan::Repack(gif.data(), gif.size(), 3);
    ASSERT_EQ(third.size(), header + frame + 1);
    EXPECT_TRUE(std::equal(third.begin(), third.begin() + header, gif.begin()));
    EXPECT_TRUE(std::equal(third.begin() + header, third.end(), gif.begin() + header + 2 * frame));
    EXPECT_EQ(gif_scan::FrameInfo(third.data(), third.size(), 1).Delay, 30);
}

// Every prefix of a GIF: frames count only while their descriptor lies whole
// inside the data, and no scan reads past the end (the sanitizer watches the
// heap copy of each prefix).
TEST(PictureGifScan, TruncatedDataIsNeverReadPastItsEnd)
{
    const TBytes gif = BuiltGif({5, 6, 7});
    for (size_t n = 0; n <= gif.size(); ++n) {
        std::unique_ptr<Byte[]> cut(new Byte[n ? n : 1]);
        std::copy(gif.begin(), gif.begin() + n, cut.get());
        const Integer count = gif_scan::FrameCount(cut.get(), n);
        // Frame k's image descriptor ends before byte 13 + 22 * (k - 1) + 18.
        Integer whole = 0;
        for (int k = 1; k <= 3; ++k)
            if (13 + 22 * (k - 1) + 18 <= int(n)) whole = k;
        if (n < 5) {
            EXPECT_EQ(count, -1) << n;
        } else {
            EXPECT_EQ(count, whole) << n;
        }
        for (int k = 0; k <= 4; ++k) gif_scan::FrameInfo(cut.get(), n, k);
        EXPECT_LE(gif_scan::Repack(cut.get(), n, 2).size(), n);
        THTMLPicture p;
        Load(p, TBytes(cut.get(), cut.get() + n));
        p.SetFrame(3);
        for (int t = 0; t < 5; ++t) p.Step();
        TTarget target(8, 8);
        p.Draw(target.Canvas(), TRect{0, 0, 8, 8});
    }
    // A short GIF signature with no room for the screen size.
    THTMLPicture p;
    Load(p, TBytes{'G', 'I', 'F', '8', '9'});
    EXPECT_EQ(p.AnimMaxX(), 0);
}

TEST(PictureGifScan, RandomBytesNeverCrash)
{
    std::mt19937 rng(1605);
    const TBytes gif = BuiltGif({3, 4, 5});
    for (int round = 0; round < 300; ++round) {
        TBytes b = (round % 2) ? gif : TBytes{'G', 'I', 'F', '8', '9', 'a'};
        const size_t extra = rng() % 64;
        for (size_t i = 0; i < extra; ++i) {
            const Byte pick[] = {0x21, 0xF9, 0x04, 0x2C, Byte(rng())};
            b.push_back(pick[rng() % 5]);
        }
        for (int flips = 0; flips < 4 && !b.empty(); ++flips) b[rng() % b.size()] = Byte(rng());
        b.resize(rng() % (b.size() + 1));
        THTMLPicture p;
        Load(p, b);
        const Integer count = p.FrameCount();
        for (int k = 0; k <= count + 1; ++k) p.FrameTime(k);
        for (int t = 0; t < 4; ++t) p.Step();
        TTarget target(8, 8);
        p.Draw(target.Canvas(), TRect{0, 0, 8, 8});
    }
}

TEST(HTMLPicture, StartsEmptyWithItsDefaults)
{
    THTMLPicture p;
    EXPECT_TRUE(p.Empty());
    EXPECT_EQ(p.Width(), 0);
    EXPECT_EQ(p.Frame(), 1);
    EXPECT_TRUE(p.Asynch());
    EXPECT_FALSE(p.Busy());
    EXPECT_FALSE(p.IsGIF());
    EXPECT_EQ(p.FrameCount(), -1);
    EXPECT_FALSE(p.Step());
    TTarget t(4, 4);
    p.Draw(t.Canvas(), TRect{0, 0, 4, 4});
    EXPECT_EQ(t.At(1, 1), kWhite);
}

TEST(HTMLPicture, StillPicturesMeasureAndDrawIntoTheRect)
{
    for (const char* name : {"quad16.png", "quad16.jpg"}) {
        THTMLPicture p;
        p.LoadFromFile(PictureFile(name));
        EXPECT_FALSE(p.Empty()) << name;
        EXPECT_EQ(p.Width(), 16) << name;
        EXPECT_EQ(p.Height(), 16) << name;
        EXPECT_EQ(p.MaxWidth(), 16) << name;
        EXPECT_EQ(p.FrameCount(), -1) << name;
        EXPECT_FALSE(p.Step()) << name;
        TTarget t(32, 32);
        p.Draw(t.Canvas(), TRect{0, 0, 32, 32});
        EXPECT_TRUE(Near(uint32_t(t.At(6, 6)), uint32_t(kRed))) << name;
        EXPECT_TRUE(Near(uint32_t(t.At(26, 6)), uint32_t(kGreen))) << name;
        EXPECT_TRUE(Near(uint32_t(t.At(6, 26)), uint32_t(kBlue))) << name;
    }
    // A bitmap keys out its bottom-left colour (magenta) and shows the square.
    THTMLPicture bmp;
    bmp.LoadFromFile(PictureFile("corner.bmp"));
    EXPECT_EQ(bmp.Width(), 8);
    TTarget t(8, 8);
    bmp.Draw(t.Canvas(), TRect{0, 0, 8, 8});
    EXPECT_EQ(t.At(0, 0), kWhite);
    EXPECT_EQ(t.At(3, 3), kBlue);
}

TEST(HTMLPicture, BytesStayVerbatimThroughStreamsAndFailuresLeaveItEmpty)
{
    const TBytes png = ReadPicture("quad16.png");
    THTMLPicture p;
    int changes = 0;
    p.OnChange = [&](TObject*) { ++changes; };
    Load(p, png);
    EXPECT_EQ(changes, 1);
    TBytesStream out;
    p.SaveToStream(&out);
    EXPECT_EQ(out.Bytes(), png);
    THTMLPicture r;
    TBytesStream in(png);
    r.ReadData(&in);
    EXPECT_FALSE(r.Empty());
    EXPECT_EQ(r.Width(), 16);

    THTMLPicture missing;
    missing.LoadFromFile(L"/nonexistent/picture.png");
    EXPECT_TRUE(missing.Empty());
    // Undecodable bytes: not empty, measured 0 by 0, nothing drawn.
    THTMLPicture noise;
    Load(noise, ReadPicture("random.bin"));
    EXPECT_FALSE(noise.Empty());
    EXPECT_EQ(noise.Width(), 0);
    TTarget t(4, 4);
    noise.Draw(t.Canvas(), TRect{0, 0, 4, 4});
    EXPECT_EQ(t.At(2, 2), kWhite);
}

TEST(HTMLPicture, ThreeFrameGifAnimatesInTenthsOfASecond)
{
    THTMLPicture p;
    p.LoadFromFile(PictureFile("anim3.gif"));
    ASSERT_TRUE(p.IsGIF());
    EXPECT_EQ(p.FrameCount(), 3);
    EXPECT_EQ(p.Width(), 8);
    EXPECT_EQ(p.AnimMaxX(), 8);
    EXPECT_EQ(p.FrameTime(1), 10);
    EXPECT_EQ(p.FrameTime(3), 10);
    EXPECT_EQ(p.FrameTime(4), -1);
    TTarget t(8, 8);
    p.Draw(t.Canvas(), TRect{0, 0, 8, 8});
    EXPECT_EQ(t.At(4, 4), kRed);

    int frameChanges = 0;
    p.OnFrameChange = [&](TObject*) { ++frameChanges; };
    EXPECT_FALSE(p.Step());
    EXPECT_FALSE(p.Step());
    EXPECT_TRUE(p.Step());
    EXPECT_EQ(p.Frame(), 2);
    EXPECT_EQ(frameChanges, 0);  // stepping is no SetFrame
    p.Draw(t.Canvas(), TRect{0, 0, 8, 8});
    EXPECT_EQ(t.At(4, 4), kGreen);
    // From then on each tick of a tenth of a second is due the next frame.
    EXPECT_TRUE(p.Step());
    EXPECT_EQ(p.Frame(), 3);
    p.Draw(t.Canvas(), TRect{0, 0, 8, 8});
    EXPECT_EQ(t.At(4, 4), kBlue);
    EXPECT_TRUE(p.Step());
    EXPECT_EQ(p.Frame(), 1);

    // Wrapping by hand; setting the frame measures and tells.
    p.FramePrev();
    EXPECT_EQ(p.Frame(), 3);
    p.FrameNext();
    EXPECT_EQ(p.Frame(), 1);
    p.SetFrame(2);
    EXPECT_EQ(frameChanges, 1);
    EXPECT_EQ(p.Width(), 8);
}

TEST(HTMLPicture, FramePositionsComeFromTheCurrentFramesDescriptor)
{
    THTMLPicture p;
    Load(p, BuiltGif({10, 10, 10}));
    EXPECT_EQ(p.FrameXPos(), 10);
    EXPECT_EQ(p.AnimMaxX(), 30);
    EXPECT_EQ(p.AnimMaxY(), 40);
    EXPECT_FALSE(p.Step());
    EXPECT_FALSE(p.Step());
    EXPECT_TRUE(p.Step());
    EXPECT_EQ(p.FrameXPos(), 20);
    EXPECT_EQ(p.FrameYPos(), 40);
    // One frame never steps.
    THTMLPicture one;
    Load(one, BuiltGif({10}));
    EXPECT_EQ(one.FrameCount(), 1);
    for (int i = 0; i < 5; ++i) EXPECT_FALSE(one.Step());
}

TEST(HTMLPicture, AssignCopiesBytesAndPictureSettings)
{
    THTMLPicture gif;
    gif.LoadFromFile(PictureFile("anim3.gif"));
    gif.SetStretch(true);
    gif.SetID(L"FILE://x");
    gif.SetFrame(2);
    THTMLPicture copy;
    copy.Assign(&gif);
    EXPECT_FALSE(copy.Empty());
    EXPECT_TRUE(copy.Stretch());
    EXPECT_EQ(copy.Frame(), 2);
    EXPECT_EQ(copy.ID(), L"FILE://x");
    EXPECT_EQ(copy.FrameCount(), 3);
    TTarget t(8, 8);
    copy.Draw(t.Canvas(), TRect{0, 0, 8, 8});
    EXPECT_EQ(t.At(4, 4), kGreen);

    TPicture pic;
    pic.LoadFromFile(PictureFile("quad16.png"));
    THTMLPicture fromPicture;
    fromPicture.Assign(&pic);
    EXPECT_EQ(fromPicture.Width(), 16);
    TPicture none;
    THTMLPicture fromNone;
    fromNone.Assign(&none);
    EXPECT_TRUE(fromNone.Empty());
    copy.Assign(nullptr);
    EXPECT_TRUE(copy.Empty());
    EXPECT_EQ(const_cast<TMemoryStream*>(copy.Datastream())->Size(), 0);
}

TEST(HTMLPicture, LoadFromUrlByKindOfAddress)
{
    const TBytes png = ReadPicture("quad16.png");
    RegisterResource(RT_RCDATA, L"MARKUPPICTURE_QUAD", png.data(), png.size());
    {
        THTMLPicture p;
        p.LoadFromURL(L"res://MARKUPPICTURE_QUAD");
        EXPECT_EQ(p.ID(), L"res://MARKUPPICTURE_QUAD");
        EXPECT_EQ(p.Width(), 16);
    }
    {
        THTMLPicture p;
        p.LoadFromURL(L"res://no_such_resource");
        EXPECT_TRUE(p.Empty());
        EXPECT_EQ(p.ID(), L"res://no_such_resource");
    }
    {
        THTMLPicture p;
        p.LoadFromURL(L"File://" + PictureFile("anim3.gif"));
        EXPECT_EQ(p.FrameCount(), 3);
        EXPECT_TRUE(p.ID().starts_with(L"File://"));
    }
    {
        THTMLPicture p;
        p.SetAsynch(false);
        p.LoadFromURL(L"http://example.invalid/a.png");
        EXPECT_EQ(p.ID(), L"http://example.invalid/a.png");
        EXPECT_EQ(p.URL(), L"http://example.invalid/a.png");
        EXPECT_TRUE(p.Empty());
        EXPECT_FALSE(p.Busy());
    }
    {
        // The download thread is started once and touches nothing: the
        // picture may go before the thread has ended.
        auto p = std::make_unique<THTMLPicture>();
        p->LoadFromURL(L"http://example.invalid/a.png");
        EXPECT_TRUE(p->Busy());
        EXPECT_EQ(p->URL(), L"http://example.invalid/a.png");
        EXPECT_EQ(p->ID(), L"");
        p->LoadFromURL(L"http://example.invalid/b.png");
        EXPECT_EQ(p->URL(), L"http://example.invalid/a.png");
        EXPECT_TRUE(p->Empty());
        p.reset();
        for (int i = 0; i < 50; ++i) {
            CheckSynchronize(10);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
}

TEST(HTMLPictureCache, FindsByExactIdAndAnimatesAll)
{
    THTMLPictureCache cache;
    THTMLPicture* gif = cache.AddPicture();
    gif->SetAsynch(false);
    gif->LoadFromURL(L"FILE://" + PictureFile("anim3.gif"));
    THTMLPicture* png = cache.AddPicture();
    png->LoadFromURL(L"FILE://" + PictureFile("quad16.png"));
    EXPECT_EQ(cache.Count(), 2);
    EXPECT_EQ(cache.FindPicture(L"FILE://" + PictureFile("anim3.gif")), gif);
    EXPECT_EQ(cache.FindPicture(L"file://" + PictureFile("anim3.gif")), nullptr);
    EXPECT_EQ(cache.GetPicture(1), png);
    EXPECT_THROW(cache.GetPicture(2), EListError);
    EXPECT_FALSE(cache.Animate());
    EXPECT_FALSE(cache.Animate());
    EXPECT_TRUE(cache.Animate());
    EXPECT_EQ(gif->Frame(), 2);
    cache.ClearPictures();
    EXPECT_EQ(cache.Count(), 0);
    cache.AddPicture();  // freed with the cache
}

TEST(PictureContainer, FindsPicturesByNameFoldingAsciiOnly)
{
    TPictureContainer c(nullptr);
    TPictureItem* logo = c.Items()->Add();
    logo->SetName(L"LOGO");
    logo->Picture()->LoadFromFile(PictureFile("quad16.png"));
    TPictureItem* second = c.Items()->Add();
    second->SetName(L"Logo");
    TPictureItem* accented = c.Items()->Add();
    accented->SetName(L"\u00C9T\u00C9");
    EXPECT_EQ(c.FindPicture(L"logo"), logo->Picture());
    EXPECT_EQ(c.FindPicture(L"\u00C9t\u00C9"), accented->Picture());
    EXPECT_EQ(c.FindPicture(L"\u00E9t\u00E9"), nullptr);
    EXPECT_EQ(c.FindPicture(L"none"), nullptr);
    EXPECT_EQ(c.Version(), L"2.0.0.0");
    c.SetVersion(L"9.9.9.9");
    EXPECT_EQ(c.Version(), L"2.0.0.0");

    TPicture* first = c.FindBitmap(L"logo");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Width(), 16);
    TPicture* again = c.FindBitmap(L"LOGO");  // frees the first result
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->Width(), 16);
    EXPECT_EQ(c.FindBitmap(L"none"), nullptr);

    // The collection animates its pictures.
    logo->Picture()->LoadFromFile(PictureFile("anim3.gif"));
    EXPECT_FALSE(c.Items()->Animate());
    EXPECT_FALSE(c.Items()->Animate());
    EXPECT_TRUE(c.Items()->Animate());
}

TEST(PictureContainer, ItemsCopyAndWritingItemsCopiesThem)
{
    TPictureContainer a(nullptr), b(nullptr);
    TPictureItem* item = a.Items()->Add();
    item->SetName(L"pic");
    item->SetTag(7);
    item->Picture()->LoadFromFile(PictureFile("quad16.png"));
    TPictureItem* copy = b.Items()->Add();
    copy->Assign(item);
    EXPECT_EQ(copy->Name(), L"pic");
    EXPECT_EQ(copy->Tag(), 7);
    EXPECT_EQ(copy->Picture()->Width(), 16);
    EXPECT_NE(copy->Picture(), item->Picture());
    TPicture notAnItem;
    EXPECT_THROW(copy->Assign(&notAnItem), EInvalidCast);
    TPicture png;
    png.LoadFromFile(PictureFile("quad16.png"));
    copy->SetPicture(png.Graphic());
    EXPECT_EQ(copy->Picture()->Width(), 16);

    TPictureContainer c(nullptr);
    c.SetItems(a.Items());
    ASSERT_EQ(c.Items()->Count(), 1);
    EXPECT_NE(c.Items(), a.Items());
    EXPECT_EQ(c.FindPicture(L"PIC")->Width(), 16);
    EXPECT_NE(c.FindPicture(L"PIC"), a.FindPicture(L"PIC"));
}

TEST(PictureContainer, ChangedRepaintsRegisteredControlsUntilTheyGo)
{
    TComponent form(nullptr);
    auto* c = new TPictureContainer(&form);
    auto* one = new TGraphicControl(&form);
    auto* other = new TGraphicControl(nullptr);
    c->RegisterControl(one);
    c->RegisterControl(one);
    c->RegisterControl(other);
    EXPECT_EQ(c->ControlCount(), 3);
    int changes = 0;
    c->OnChange = [&](TObject*) { ++changes; };
    c->Changed();
    EXPECT_EQ(changes, 1);
    delete one;
    ASSERT_EQ(c->ControlCount(), 1);
    EXPECT_EQ(c->Controls(0), other);
    delete c;  // the other control outlives the container
    delete other;
}
