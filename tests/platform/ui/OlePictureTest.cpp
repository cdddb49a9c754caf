#include "platform/ui/OlePicture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/gfx/Codecs.h"

namespace {

TBytes ReadFixture(const std::string& name)
{
    std::ifstream in(std::string(VEL_TEST_DATA_DIR) + "/images/" + name, std::ios::binary);
    return TBytes(std::istreambuf_iterator<char>(in), {});
}

TComPtr<IStream> StreamOf(const TBytes& bytes)
{
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!bytes.empty()) {
        std::memcpy(GlobalLock(h), bytes.data(), bytes.size());
        GlobalUnlock(h);
    }
    TComPtr<IStream> s;
    EXPECT_EQ(CreateStreamOnHGlobal(h, 1, s.ReleaseAndGetAddressOf()), S_OK);
    return s;
}

HRESULT Load(const TBytes& bytes, TComPtr<IPicture>& picture, LONG size = 0)
{
    TComPtr<IStream> s = StreamOf(bytes);
    void* p = nullptr;
    HRESULT hr = OleLoadPicture(s.Get(), size, 0, IID_IPicture, &p);
    picture.Attach(static_cast<IPicture*>(p));
    return hr;
}

// A memory device context over a white bitmap of w x h.
struct TTarget {
    HDC Dc = nullptr;
    HBITMAP Bitmap = nullptr;
    HGDIOBJ Old = nullptr;
    TTarget(int w, int h)
    {
        TImageData white(w, h, 0xFFFFFFFF);
        Bitmap = CreateBitmapFromBGRA(w, h, white.Pixels.data(), false);
        Dc = CreateCompatibleDC(nullptr);
        Old = SelectObject(Dc, Bitmap);
    }
    ~TTarget()
    {
        SelectObject(Dc, Old);
        DeleteDC(Dc);
        DeleteObject(Bitmap);
    }
    COLORREF At(int x, int y) const { return GetPixel(Dc, x, y); }
};

constexpr COLORREF kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000, kWhite = 0xFFFFFF;
// The fixtures' colours by (x + y) % 4.
constexpr COLORREF kPattern[4] = {kRed, kGreen, kBlue, kWhite};

}  // namespace

TEST(OlePicture, LoadsEachFormatWithItsSizeAndType)
{
    TImageData grey(6, 2, 0xFF808080);
    struct Case {
        const char* Name;
        TBytes Bytes;
        LONG Width, Height;   // pixels
        SHORT Type;
    };
    const Case cases[] = {
        {"bmp24", ReadFixture("bmp24.bmp"), 5, 3, PICTYPE_BITMAP},
        {"bmp8_rle", ReadFixture("bmp8_rle.bmp"), 5, 3, PICTYPE_BITMAP},
        {"jpeg", EncodeJpeg(grey), 6, 2, PICTYPE_BITMAP},
        {"gif", ReadFixture("anim.gif"), 4, 4, PICTYPE_BITMAP},
        {"ico", ReadFixture("multi.ico"), 32, 32, PICTYPE_ICON},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        ASSERT_FALSE(c.Bytes.empty());
        TComPtr<IPicture> pic;
        ASSERT_EQ(Load(c.Bytes, pic), S_OK);
        ASSERT_TRUE(pic);
        OLE_XSIZE_HIMETRIC w = 0;
        OLE_YSIZE_HIMETRIC h = 0;
        EXPECT_EQ(pic->get_Width(&w), S_OK);
        EXPECT_EQ(pic->get_Height(&h), S_OK);
        EXPECT_EQ(w, MulDiv(c.Width, 2540, 96));
        EXPECT_EQ(h, MulDiv(c.Height, 2540, 96));
        SHORT type = PICTYPE_NONE;
        EXPECT_EQ(pic->get_Type(&type), S_OK);
        EXPECT_EQ(type, c.Type);
        OLE_HANDLE handle = 0;
        EXPECT_EQ(pic->get_Handle(&handle), S_OK);
        EXPECT_NE(handle, 0u);
        EXPECT_EQ(pic->get_Width(nullptr), E_POINTER);
    }
}

TEST(OlePicture, RefusesWhatIsNoPicture)
{
    struct Case {
        const char* Name;
        TBytes Bytes;
    };
    const Case cases[] = {
        {"png", ReadFixture("rgba.png")},
        {"cursor", ReadFixture("arrow.cur")},
        {"empty", TBytes()},
        {"text", TBytes{'h', 'e', 'l', 'l', 'o'}},
        {"bad bmp header", ReadFixture("bad_bmp_header.bmp")},
        {"huge bmp", ReadFixture("bad_bmp_huge.bmp")},
        {"bad gif", ReadFixture("bad_gif_lzw.gif")},
        {"bad ico offset", ReadFixture("bad_ico_offset.ico")},
        {"bad ico count", ReadFixture("bad_ico_count.ico")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TComPtr<IPicture> pic;
        EXPECT_EQ(Load(c.Bytes, pic), CTL_E_INVALIDPICTURE);
        EXPECT_FALSE(pic);
    }

    // A BMP cut short by the size given is no picture either.
    TBytes bmp = ReadFixture("bmp24.bmp");
    TComPtr<IPicture> pic;
    EXPECT_EQ(Load(bmp, pic, LONG(bmp.size() / 2)), CTL_E_INVALIDPICTURE);
    // A size beyond the stream's end reads what there is.
    EXPECT_EQ(Load(bmp, pic, LONG(bmp.size() + 100)), S_OK);

    void* p = reinterpret_cast<void*>(1);
    TComPtr<IStream> s = StreamOf(bmp);
    EXPECT_EQ(OleLoadPicture(nullptr, 0, 0, IID_IPicture, &p), E_POINTER);
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(OleLoadPicture(s.Get(), 0, 0, IID_IPicture, nullptr), E_POINTER);
    EXPECT_EQ(OleLoadPicture(s.Get(), 0, 0, IID_IStream, &p), E_NOINTERFACE);
    EXPECT_EQ(p, nullptr);
}

TEST(OlePicture, AnswersIUnknownAndCountsReferences)
{
    TComPtr<IStream> s = StreamOf(ReadFixture("bmp24.bmp"));
    void* p = nullptr;
    ASSERT_EQ(OleLoadPicture(s.Get(), 0, 1, IID_IUnknown, &p), S_OK);
    TComPtr<IUnknown> unknown;
    unknown.Attach(static_cast<IUnknown*>(p));
    TComPtr<IPicture> pic;
    ASSERT_EQ(unknown.As(pic), S_OK);
    EXPECT_EQ(pic->AddRef(), 3u);
    EXPECT_EQ(pic->Release(), 2u);
}

TEST(OlePicture, RenderDrawsUprightOrMirrored)
{
    TComPtr<IPicture> pic;
    ASSERT_EQ(Load(ReadFixture("bmp24.bmp"), pic), S_OK);
    OLE_XSIZE_HIMETRIC hmW = 0;
    OLE_YSIZE_HIMETRIC hmH = 0;
    pic->get_Width(&hmW);
    pic->get_Height(&hmH);

    {
        TTarget t(7, 5);
        ASSERT_EQ(pic->Render(t.Dc, 1, 1, 5, 3, 0, hmH, hmW, -hmH, nullptr), S_OK);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                EXPECT_EQ(t.At(x + 1, y + 1), kPattern[(x + y) % 4]) << x << "," << y;
        EXPECT_EQ(t.At(0, 0), kWhite);
        EXPECT_EQ(t.At(6, 4), kWhite);
    }
    {
        // A positive source height runs from the bottom up: upside down.
        TTarget t(5, 3);
        ASSERT_EQ(pic->Render(t.Dc, 0, 0, 5, 3, 0, 0, hmW, hmH, nullptr), S_OK);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                EXPECT_EQ(t.At(x, y), kPattern[(x + 2 - y) % 4]) << x << "," << y;
    }
    {
        // Part of the picture: its right two columns of the top row.
        TTarget t(2, 1);
        LONG col = MulDiv(3, 2540, 96), px = MulDiv(1, 2540, 96);
        ASSERT_EQ(pic->Render(t.Dc, 0, 0, 2, 1, col, hmH, 2 * px, -px, nullptr), S_OK);
        EXPECT_EQ(t.At(0, 0), kWhite);   // (3,0)
        EXPECT_EQ(t.At(1, 0), kRed);     // (4,0)
    }
    EXPECT_EQ(pic->Render(nullptr, 0, 0, 5, 3, 0, hmH, hmW, -hmH, nullptr), E_INVALIDARG);
}

TEST(OlePicture, RenderKeepsTheBackgroundUnderTransparentPixels)
{
    // The icon's 32 x 32 entry has half-transparent pixels in column 1.
    TComPtr<IPicture> icon;
    ASSERT_EQ(Load(ReadFixture("multi.ico"), icon), S_OK);
    OLE_XSIZE_HIMETRIC w = 0;
    OLE_YSIZE_HIMETRIC h = 0;
    icon->get_Width(&w);
    icon->get_Height(&h);
    TTarget t(32, 32);
    ASSERT_EQ(icon->Render(t.Dc, 0, 0, 32, 32, 0, h, w, -h, nullptr), S_OK);
    EXPECT_EQ(t.At(4, 0), kRed);
    EXPECT_EQ(t.At(2, 0), kBlue);
    COLORREF half = t.At(1, 0);   // green at half strength over white
    EXPECT_NEAR(int(half & 0xFF), 0x7F, 2);
    EXPECT_EQ(int((half >> 8) & 0xFF), 0xFF);
}
