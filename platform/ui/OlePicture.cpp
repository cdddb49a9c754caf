#include "platform/ui/OlePicture.h"

#include <algorithm>
#include <vector>

#include "platform/gfx/Codecs.h"

namespace {

// A picture stream larger than this is not read: the codecs' own limits
// would refuse the image anyway, and a forged size must not make us buffer
// without end.
constexpr size_t kMaxPictureBytes = size_t(256) << 20;

class TOlePicture : public TInterfacedObject, public IPicture {
public:
    TOlePicture(TImageData image, SHORT type) : FImage(std::move(image)), FType(type)
    {
        FBitmap = CreateBitmapFromBGRA(FImage.Width, FImage.Height, FImage.Pixels.data(),
                                       FImage.HasAlpha);
    }

    HRESULT QueryInterface(const TGUID& iid, void** obj) override
    {
        if (!obj) return E_POINTER;
        if (Answer<IPicture>(iid, obj, this)) return S_OK;
        return TInterfacedObject::QueryInterface(iid, obj);
    }
    ULONG AddRef() override { return TInterfacedObject::AddRef(); }
    ULONG Release() override { return TInterfacedObject::Release(); }

    bool Valid() const { return FBitmap != nullptr; }

    HRESULT get_Handle(OLE_HANDLE* handle) override
    {
        if (!handle) return E_POINTER;
        *handle = reinterpret_cast<OLE_HANDLE>(FBitmap);
        return S_OK;
    }
    HRESULT get_Type(SHORT* type) override
    {
        if (!type) return E_POINTER;
        *type = FType;
        return S_OK;
    }
    HRESULT get_Width(OLE_XSIZE_HIMETRIC* width) override
    {
        if (!width) return E_POINTER;
        *width = PixelsToHimetric(FImage.Width);
        return S_OK;
    }
    HRESULT get_Height(OLE_YSIZE_HIMETRIC* height) override
    {
        if (!height) return E_POINTER;
        *height = PixelsToHimetric(FImage.Height);
        return S_OK;
    }

    HRESULT Render(HDC dc, LONG x, LONG y, LONG cx, LONG cy, OLE_XPOS_HIMETRIC xSrc,
                   OLE_YPOS_HIMETRIC ySrc, OLE_XSIZE_HIMETRIC cxSrc, OLE_YSIZE_HIMETRIC cySrc,
                   const RECT*) override
    {
        if (!dc) return E_INVALIDARG;
        if (cx == 0 || cy == 0 || cxSrc == 0 || cySrc == 0) return S_OK;
        // Source in pixels, y down from the top row.
        const LONG hmHeight = PixelsToHimetric(FImage.Height);
        int sx = HimetricToPixels(xSrc);
        int sw = HimetricToPixels(cxSrc);
        int sy = HimetricToPixels(hmHeight - ySrc);
        int sh = HimetricToPixels(-cySrc);
        // A negative extent mirrors; so does a negative destination extent.
        bool flipX = (sw < 0) != (cx < 0);
        bool flipY = (sh < 0) != (cy < 0);
        if (sw < 0) { sx += sw; sw = -sw; }
        if (sh < 0) { sy += sh; sh = -sh; }
        if (cx < 0) { x += cx; cx = -cx; }
        if (cy < 0) { y += cy; cy = -cy; }
        if (sw == 0 || sh == 0) return S_OK;

        HBITMAP source = FBitmap;
        HBITMAP mirrored = nullptr;
        if (flipX || flipY) {
            TImageData m(FImage.Width, FImage.Height);
            m.HasAlpha = FImage.HasAlpha;
            for (int row = 0; row < FImage.Height; ++row)
                for (int col = 0; col < FImage.Width; ++col)
                    m.Pixel(flipX ? FImage.Width - 1 - col : col,
                            flipY ? FImage.Height - 1 - row : row) = FImage.Pixel(col, row);
            mirrored = CreateBitmapFromBGRA(m.Width, m.Height, m.Pixels.data(), m.HasAlpha);
            if (!mirrored) return E_OUTOFMEMORY;
            source = mirrored;
            if (flipX) sx = FImage.Width - sx - sw;
            if (flipY) sy = FImage.Height - sy - sh;
        }

        HDC mem = CreateCompatibleDC(dc);
        if (!mem) {
            if (mirrored) DeleteObject(mirrored);
            return E_FAIL;
        }
        HGDIOBJ old = SelectObject(mem, source);
        BOOL ok;
        if (FImage.HasAlpha) {
            BLENDFUNCTION blend;
            blend.AlphaFormat = AC_SRC_ALPHA;
            ok = AlphaBlend(dc, x, y, cx, cy, mem, sx, sy, sw, sh, blend);
        } else {
            ok = StretchBlt(dc, x, y, cx, cy, mem, sx, sy, sw, sh, SRCCOPY);
        }
        SelectObject(mem, old);
        DeleteDC(mem);
        if (mirrored) DeleteObject(mirrored);
        return ok ? S_OK : E_FAIL;
    }

protected:
    ~TOlePicture() override
    {
        if (FBitmap) DeleteObject(FBitmap);
    }

private:
    TImageData FImage;
    SHORT FType;
    HBITMAP FBitmap = nullptr;
};

// Reads what the caller asked for; false when the stream fails or holds
// more than a picture may.
bool ReadAll(IStream* stream, LONG size, std::vector<uint8_t>& out)
{
    const size_t want = size > 0 ? size_t(size) : kMaxPictureBytes + 1;
    uint8_t chunk[64 * 1024];
    while (out.size() < want) {
        ULONG n = ULONG(std::min(sizeof chunk, want - out.size()));
        ULONG got = 0;
        HRESULT hr = stream->Read(chunk, n, &got);
        if (FAILED(hr)) return false;
        if (got > n) return false;
        out.insert(out.end(), chunk, chunk + got);
        if (out.size() > kMaxPictureBytes) return false;
        if (got == 0 || hr == S_FALSE) break;
    }
    return true;
}

}  // namespace

LONG PixelsToHimetric(LONG pixels) { return MulDiv(pixels, 2540, 96); }
LONG HimetricToPixels(LONG himetric) { return MulDiv(himetric, 96, 2540); }

HRESULT OleLoadPicture(IStream* stream, LONG size, BOOL runmode, REFIID riid, void** obj)
{
    if (!obj) return E_POINTER;
    *obj = nullptr;
    if (!stream) return E_POINTER;
    if (!(riid == IID_IPicture) && !(riid == IID_IUnknown)) return E_NOINTERFACE;

    std::vector<uint8_t> bytes;
    if (!ReadAll(stream, size, bytes)) return CTL_E_INVALIDPICTURE;

    TImageData image;
    SHORT type = PICTYPE_BITMAP;
    try {
        switch (SniffImageFormat(bytes.data(), bytes.size())) {
        case TImageFormat::Bmp: image = DecodeBmp(bytes.data(), bytes.size()); break;
        case TImageFormat::Jpeg: image = DecodeJpeg(bytes.data(), bytes.size()); break;
        case TImageFormat::Gif: {
            TGifData gif = DecodeGif(bytes.data(), bytes.size());
            if (gif.Frames.empty()) return CTL_E_INVALIDPICTURE;
            image = GifComposite(gif, 0);
            image.HasAlpha = true;
            break;
        }
        case TImageFormat::Ico: {
            TIconData icon = DecodeIco(bytes.data(), bytes.size());
            // The standard large icon size when the file has it.
            int best = icon.BestIndex(32, 32);
            if (best < 0) return CTL_E_INVALIDPICTURE;
            image = std::move(icon.Entries[size_t(best)].Image);
            image.HasAlpha = true;
            type = PICTYPE_ICON;
            break;
        }
        default: return CTL_E_INVALIDPICTURE;   // PNG, cursors, metafiles and the unknown
        }
    } catch (const Exception&) {
        return CTL_E_INVALIDPICTURE;
    }
    if (image.Empty()) return CTL_E_INVALIDPICTURE;

    auto* picture = new TOlePicture(std::move(image), type);
    TComPtr<IPicture> holder(picture);
    if (!picture->Valid()) return E_OUTOFMEMORY;
    return picture->QueryInterface(riid, obj);
}
