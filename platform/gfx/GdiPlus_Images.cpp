// Images and bitmaps: loading through the codecs, raw formats, pixels,
// locking, encoders, and the image attributes applied when drawing.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <new>

#include <unistd.h>

#include "platform/gfx/GdiPlus_Internal.h"

// ---- pixels ---------------------------------------------------------------

cairo_surface_t* SurfaceFromImage(const TImageData& img)
{
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, img.Width, img.Height);
    const int stride = cairo_image_surface_get_stride(s);
    uint8_t* data = cairo_image_surface_get_data(s);
    for (int y = 0; y < img.Height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + size_t(y) * size_t(stride));
        const uint32_t* src = &img.Pixels[size_t(y) * size_t(img.Width)];
        for (int x = 0; x < img.Width; ++x) {
            uint32_t c = src[x], a = c >> 24;
            if (a == 255) {
                row[x] = c;
            } else {
                auto m = [&](int sh) { return ((((c >> sh) & 0xFF) * a + 127) / 255) << sh; };
                row[x] = (a << 24) | m(16) | m(8) | m(0);
            }
        }
    }
    cairo_surface_mark_dirty(s);
    return s;
}

namespace {

inline uint32_t Unpremultiply(uint32_t c)
{
    uint32_t a = c >> 24;
    if (a == 255) return c;
    if (a == 0) return 0;
    auto u = [&](int sh) { return std::min<uint32_t>(255, (((c >> sh) & 0xFF) * 255 + a / 2) / a) << sh; };
    return (a << 24) | u(16) | u(8) | u(0);
}

inline uint32_t Premultiply(uint32_t c)
{
    uint32_t a = c >> 24;
    if (a == 255) return c;
    auto m = [&](int sh) { return ((((c >> sh) & 0xFF) * a + 127) / 255) << sh; };
    return (a << 24) | m(16) | m(8) | m(0);
}

}  // namespace

TImageData ImageFromSurface(cairo_surface_t* s)
{
    cairo_surface_flush(s);
    TImageData img(cairo_image_surface_get_width(s), cairo_image_surface_get_height(s));
    const int stride = cairo_image_surface_get_stride(s);
    const uint8_t* data = cairo_image_surface_get_data(s);
    const bool rgb = cairo_image_surface_get_format(s) == CAIRO_FORMAT_RGB24;
    for (int y = 0; y < img.Height; ++y) {
        auto* row = reinterpret_cast<const uint32_t*>(data + size_t(y) * size_t(stride));
        for (int x = 0; x < img.Width; ++x) img.Pixel(x, y) = rgb ? (row[x] | 0xFF000000u) : Unpremultiply(row[x]);
    }
    img.HasAlpha = true;
    return img;
}

GpImage::GpImage(const GpImage& o)
    : Type(o.Type), RawFormat(o.RawFormat), Format(o.Format), Width(o.Width), Height(o.Height), Gif(o.Gif),
      ActiveFrame(o.ActiveFrame)
{
    if (o.Surface) {
        cairo_surface_flush(o.Surface);
        Surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, o.Width, o.Height);
        cairo_t* cr = cairo_create(Surface);
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_set_source_surface(cr, o.Surface, 0, 0);
        cairo_paint(cr);
        cairo_destroy(cr);
        cairo_surface_flush(Surface);
    }
}

GpImage::~GpImage()
{
    if (Surface) cairo_surface_destroy(Surface);
}

GpBitmap* NewBitmap(const TImageData& img, PixelFormat format, const GUID& raw)
{
    auto* b = new GpBitmap;
    b->Surface = SurfaceFromImage(img);
    b->Width = img.Width;
    b->Height = img.Height;
    b->Format = format;
    b->RawFormat = raw;
    return b;
}

// ---- image attributes -----------------------------------------------------

ARGB GpImageAttributes::Apply(ARGB px) const
{
    const TAdjust& a = ForBitmap();
    if (!a.Set || a.NoOp) return px;
    if (a.Remapping)
        for (const ColorMap& m : a.Remap)
            if (m.oldColor == px) {
                px = m.newColor;
                break;
            }
    if (a.ColorKey) {
        auto in = [&](int sh) {
            uint32_t v = (px >> sh) & 0xFF;
            return v >= ((a.KeyLow >> sh) & 0xFF) && v <= ((a.KeyHigh >> sh) & 0xFF);
        };
        if (in(16) && in(8) && in(0)) return 0;
    }
    double c[4] = {((px >> 16) & 0xFF) / 255.0, ((px >> 8) & 0xFF) / 255.0, (px & 0xFF) / 255.0, (px >> 24) / 255.0};
    if (a.Matrix && !(a.MatrixFlags == ColorMatrixFlagsSkipGrays && c[0] == c[1] && c[1] == c[2])) {
        double o[4];
        for (int j = 0; j < 4; ++j) {
            o[j] = a.CM.m[4][j];
            for (int i = 0; i < 4; ++i) o[j] += c[i] * a.CM.m[i][j];
        }
        std::copy(o, o + 4, c);
    }
    if (a.Gamma && a.GammaValue > 0)
        for (int i = 0; i < 3; ++i) c[i] = std::pow(std::clamp(c[i], 0.0, 1.0), double(a.GammaValue));
    if (a.Threshold)
        for (int i = 0; i < 3; ++i) c[i] = c[i] > a.ThresholdValue ? 1.0 : 0.0;
    auto b = [&](double v) { return uint32_t(std::lround(std::clamp(v, 0.0, 1.0) * 255.0)); };
    return (b(c[3]) << 24) | (b(c[0]) << 16) | (b(c[1]) << 8) | b(c[2]);
}

cairo_surface_t* AdjustedSurface(const GpImage* img, int sx, int sy, int sw, int sh, const GpImageAttributes* attr)
{
    cairo_surface_flush(img->Surface);
    cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, sw, sh);
    const int is = cairo_image_surface_get_stride(img->Surface), os = cairo_image_surface_get_stride(out);
    const uint8_t* in = cairo_image_surface_get_data(img->Surface);
    uint8_t* o = cairo_image_surface_get_data(out);
    const bool active = attr && attr->Active();
    for (int y = 0; y < sh; ++y) {
        auto* src = reinterpret_cast<const uint32_t*>(in + size_t(sy + y) * size_t(is)) + sx;
        auto* dst = reinterpret_cast<uint32_t*>(o + size_t(y) * size_t(os));
        for (int x = 0; x < sw; ++x) dst[x] = active ? Premultiply(attr->Apply(Unpremultiply(src[x]))) : src[x];
    }
    cairo_surface_mark_dirty(out);
    return out;
}

namespace {

bool ValidAdjust(ColorAdjustType t) { return t >= ColorAdjustTypeDefault && t < ColorAdjustTypeCount; }

}  // namespace

Status GdipCreateImageAttributes(GpImageAttributes** imageattr)
{
    GDIP_CHECK_STARTED();
    if (!imageattr) return InvalidParameter;
    *imageattr = new GpImageAttributes;
    return Ok;
}

Status GdipCloneImageAttributes(const GpImageAttributes* imageattr, GpImageAttributes** cloneImageattr)
{
    if (!imageattr || !cloneImageattr) return InvalidParameter;
    *cloneImageattr = new GpImageAttributes(*imageattr);
    return Ok;
}

Status GdipDisposeImageAttributes(GpImageAttributes* imageattr)
{
    if (!imageattr) return InvalidParameter;
    delete imageattr;
    return Ok;
}

Status GdipSetImageAttributesToIdentity(GpImageAttributes* imageattr, ColorAdjustType type)
{
    if (!imageattr || !ValidAdjust(type)) return InvalidParameter;
    imageattr->Adjust[type] = {};
    imageattr->Adjust[type].Set = true;
    return Ok;
}

Status GdipResetImageAttributes(GpImageAttributes* imageattr, ColorAdjustType type)
{
    if (!imageattr || !ValidAdjust(type)) return InvalidParameter;
    imageattr->Adjust[type] = {};
    return Ok;
}

Status GdipSetImageAttributesColorMatrix(GpImageAttributes* imageattr, ColorAdjustType type, BOOL enableFlag,
                                         const ColorMatrix* colorMatrix, const ColorMatrix*, ColorMatrixFlags flags)
{
    if (!imageattr || !ValidAdjust(type) || (enableFlag && !colorMatrix)) return InvalidParameter;
    auto& a = imageattr->Adjust[type];
    a.Set = true;
    a.Matrix = enableFlag != 0;
    if (enableFlag) {
        a.CM = *colorMatrix;
        a.MatrixFlags = flags;
    }
    return Ok;
}

Status GdipSetImageAttributesThreshold(GpImageAttributes* imageattr, ColorAdjustType type, BOOL enableFlag,
                                       REAL threshold)
{
    if (!imageattr || !ValidAdjust(type)) return InvalidParameter;
    auto& a = imageattr->Adjust[type];
    a.Set = true;
    a.Threshold = enableFlag != 0;
    a.ThresholdValue = threshold;
    return Ok;
}

Status GdipSetImageAttributesGamma(GpImageAttributes* imageattr, ColorAdjustType type, BOOL enableFlag, REAL gamma)
{
    if (!imageattr || !ValidAdjust(type) || (enableFlag && gamma <= 0)) return InvalidParameter;
    auto& a = imageattr->Adjust[type];
    a.Set = true;
    a.Gamma = enableFlag != 0;
    a.GammaValue = gamma;
    return Ok;
}

Status GdipSetImageAttributesNoOp(GpImageAttributes* imageattr, ColorAdjustType type, BOOL enableFlag)
{
    if (!imageattr || !ValidAdjust(type)) return InvalidParameter;
    auto& a = imageattr->Adjust[type];
    a.Set = true;
    a.NoOp = enableFlag != 0;
    return Ok;
}

Status GdipSetImageAttributesColorKeys(GpImageAttributes* imageattr, ColorAdjustType type, BOOL enableFlag,
                                       ARGB colorLow, ARGB colorHigh)
{
    if (!imageattr || !ValidAdjust(type)) return InvalidParameter;
    auto& a = imageattr->Adjust[type];
    a.Set = true;
    a.ColorKey = enableFlag != 0;
    a.KeyLow = colorLow;
    a.KeyHigh = colorHigh;
    return Ok;
}

Status GdipSetImageAttributesOutputChannel(GpImageAttributes* imageattr, ColorAdjustType type, BOOL,
                                           ColorChannelFlags)
{
    if (!imageattr || !ValidAdjust(type)) return InvalidParameter;
    return NotImplemented;   // no CMYK separation on this platform
}

Status GdipSetImageAttributesOutputChannelColorProfile(GpImageAttributes* imageattr, ColorAdjustType type, BOOL,
                                                       const WCHAR*)
{
    if (!imageattr || !ValidAdjust(type)) return InvalidParameter;
    return NotImplemented;
}

Status GdipSetImageAttributesRemapTable(GpImageAttributes* imageattr, ColorAdjustType type, BOOL enableFlag,
                                        uint32_t mapSize, const ColorMap* map)
{
    if (!imageattr || !ValidAdjust(type) || (enableFlag && (!map || mapSize == 0))) return InvalidParameter;
    auto& a = imageattr->Adjust[type];
    a.Set = true;
    a.Remapping = enableFlag != 0;
    if (enableFlag)
        a.Remap.assign(map, map + mapSize);
    else
        a.Remap.clear();
    return Ok;
}

Status GdipSetImageAttributesWrapMode(GpImageAttributes* imageAttr, WrapMode wrap, ARGB argb, BOOL)
{
    if (!imageAttr || wrap < WrapModeTile || wrap > WrapModeClamp) return InvalidParameter;
    imageAttr->Wrap = wrap;
    imageAttr->WrapColor = argb;
    return Ok;
}

Status GdipGetImageAttributesAdjustedPalette(GpImageAttributes* imageAttr, ColorPalette* colorPalette,
                                             ColorAdjustType colorAdjustType)
{
    if (!imageAttr || !colorPalette || !ValidAdjust(colorAdjustType) || colorAdjustType == ColorAdjustTypeDefault)
        return InvalidParameter;
    GpImageAttributes one;
    one.Adjust[ColorAdjustTypeDefault] = imageAttr->Adjust[colorAdjustType].Set
                                             ? imageAttr->Adjust[colorAdjustType]
                                             : imageAttr->Adjust[ColorAdjustTypeDefault];
    for (uint32_t i = 0; i < colorPalette->Count; ++i) colorPalette->Entries[i] = one.Apply(colorPalette->Entries[i]);
    return Ok;
}

// ---- loading --------------------------------------------------------------

namespace {

PixelFormat FormatOf(const TImageData& img)
{
    if (img.HasAlpha) return PixelFormat32bppARGB;
    switch (img.BitsPerPixel) {
    case 1: return PixelFormat1bppIndexed;
    case 4: return PixelFormat4bppIndexed;
    case 8: return PixelFormat8bppIndexed;
    case 16: return PixelFormat16bppRGB555;
    case 24: return PixelFormat24bppRGB;
    default: return PixelFormat32bppRGB;
    }
}

GpImage* Metafile(const uint8_t* d, size_t n, bool emf)
{
    auto* m = new GpImage;
    m->Type = ImageTypeMetafile;
    m->RawFormat = emf ? ImageFormatEMF : ImageFormatWMF;
    m->Format = PixelFormat32bppRGB;
    auto i32 = [&](size_t o) { return o + 4 <= n ? int32_t(d[o] | d[o + 1] << 8 | d[o + 2] << 16 | uint32_t(d[o + 3]) << 24) : 0; };
    auto i16 = [&](size_t o) { return o + 2 <= n ? int16_t(d[o] | d[o + 1] << 8) : int16_t(0); };
    if (emf) {
        // The bounds rectangle is inclusive, in device pixels.
        int64_t w = int64_t(i32(16)) - i32(8) + 1, h = int64_t(i32(20)) - i32(12) + 1;
        m->Width = int(std::clamp<int64_t>(w, 0, kMaxImageDimension));
        m->Height = int(std::clamp<int64_t>(h, 0, kMaxImageDimension));
    } else if (n >= 22 && d[0] == 0xD7) {
        // A placeable header gives the bounds in units of 1/inch.
        int inch = uint16_t(i16(14)) ? uint16_t(i16(14)) : 1440;
        m->Width = std::clamp((i16(10) - i16(6)) * 96 / inch, 0, kMaxImageDimension);
        m->Height = std::clamp((i16(12) - i16(8)) * 96 / inch, 0, kMaxImageDimension);
    }
    return m;
}

}  // namespace

Status GdipLoadImageFromMemory(const void* data, size_t size, GpImage** image)
{
    GDIP_CHECK_STARTED();
    if (!image || (!data && size)) return InvalidParameter;
    *image = nullptr;
    const auto* d = static_cast<const uint8_t*>(data);
    try {
        switch (SniffImageFormat(d, size)) {
        case TImageFormat::Bmp: {
            TImageData img = DecodeBmp(d, size);
            *image = NewBitmap(img, FormatOf(img), ImageFormatBMP);
            return Ok;
        }
        case TImageFormat::Png: {
            TImageData img = DecodePng(d, size);
            *image = NewBitmap(img, FormatOf(img), ImageFormatPNG);
            return Ok;
        }
        case TImageFormat::Jpeg: {
            TImageData img = DecodeJpeg(d, size);
            *image = NewBitmap(img, img.BitsPerPixel == 8 ? PixelFormat8bppIndexed : PixelFormat24bppRGB,
                               ImageFormatJPEG);
            return Ok;
        }
        case TImageFormat::Gif: {
            auto gif = std::make_shared<TGifData>(DecodeGif(d, size));
            TImageData first = GifComposite(*gif, 0);
            GpBitmap* b = NewBitmap(first, PixelFormat8bppIndexed, ImageFormatGIF);
            if (gif->Frames.size() > 1) b->Gif = std::move(gif);
            *image = b;
            return Ok;
        }
        case TImageFormat::Ico:
        case TImageFormat::Cur: {
            TIconData ico = DecodeIco(d, size);
            *image = NewBitmap(ico.Entries[size_t(ico.BestIndex())].Image, PixelFormat32bppARGB, ImageFormatIcon);
            return Ok;
        }
        case TImageFormat::Emf: *image = Metafile(d, size, true); return Ok;
        case TImageFormat::Wmf: *image = Metafile(d, size, false); return Ok;
        case TImageFormat::Tiff:
        case TImageFormat::Unknown: return UnknownImageFormat;
        }
    } catch (const EInvalidGraphic&) {
        return InvalidParameter;   // data of a known format that does not decode
    } catch (const std::bad_alloc&) {
        return OutOfMemory;
    }
    return UnknownImageFormat;
}

namespace {

Status ReadFile(const WCHAR* filename, TBytes& out)
{
    if (!filename) return InvalidParameter;
    std::ifstream f(UTF8Encode(filename), std::ios::binary);
    if (!f) return FileNotFound;
    out.assign(std::istreambuf_iterator<char>(f), {});
    if (f.bad()) return Win32Error;
    return Ok;
}

}  // namespace

Status GdipLoadImageFromFile(const WCHAR* filename, GpImage** image)
{
    GDIP_CHECK_STARTED();
    if (!image) return InvalidParameter;
    TBytes b;
    if (Status s = ReadFile(filename, b); s != Ok) return s;
    return GdipLoadImageFromMemory(b.data(), b.size(), image);
}

Status GdipLoadImageFromFileICM(const WCHAR* filename, GpImage** image) { return GdipLoadImageFromFile(filename, image); }

Status GdipCloneImage(GpImage* image, GpImage** cloneImage)
{
    if (!image || !cloneImage) return InvalidParameter;
    if (image->Locked) return ObjectBusy;
    *cloneImage = image->Type == ImageTypeBitmap ? new GpBitmap(static_cast<const GpBitmap&>(*image))
                                                 : new GpImage(*image);
    return Ok;
}

Status GdipDisposeImage(GpImage* image)
{
    if (!image) return InvalidParameter;
    delete image;
    return Ok;
}

Status GdipCreateBitmapFromMemory(const void* data, size_t size, GpBitmap** bitmap)
{
    if (!bitmap) return InvalidParameter;
    GpImage* img = nullptr;
    Status s = GdipLoadImageFromMemory(data, size, &img);
    if (s != Ok) return s;
    if (img->Type != ImageTypeBitmap) {
        delete img;
        return NotImplemented;   // metafiles are kept, not rasterised
    }
    *bitmap = static_cast<GpBitmap*>(img);
    return Ok;
}

Status GdipCreateBitmapFromFile(const WCHAR* filename, GpBitmap** bitmap)
{
    GDIP_CHECK_STARTED();
    if (!bitmap) return InvalidParameter;
    TBytes b;
    if (Status s = ReadFile(filename, b); s != Ok) return s;
    return GdipCreateBitmapFromMemory(b.data(), b.size(), bitmap);
}

// ---- encoding -------------------------------------------------------------

namespace {

struct TEncoder {
    const CLSID* Clsid;
    const GUID* Format;
    const WCHAR* Name;
    const WCHAR* Ext;
    const WCHAR* Mime;
};

const TEncoder kEncoders[] = {
    {&EncoderBmpClsid, &ImageFormatBMP, L"Built-in BMP Codec", L"*.BMP;*.DIB;*.RLE", L"image/bmp"},
    {&EncoderJpegClsid, &ImageFormatJPEG, L"Built-in JPEG Codec", L"*.JPG;*.JPEG;*.JPE;*.JFIF", L"image/jpeg"},
    {&EncoderPngClsid, &ImageFormatPNG, L"Built-in PNG Codec", L"*.PNG", L"image/png"},
};

Status Encode(GpImage* image, const CLSID* clsid, const EncoderParameters* params, TBytes& out)
{
    if (!image || !clsid) return InvalidParameter;
    if (image->Locked) return ObjectBusy;
    if (image->Type != ImageTypeBitmap || !image->Surface) return NotImplemented;
    int quality = 75;
    if (params)
        for (uint32_t i = 0; i < params->Count; ++i) {
            const EncoderParameter& p = params->Parameter[i];
            if (p.Guid == EncoderQuality) {
                if (p.Type != EncoderParameterValueTypeLong || p.NumberOfValues < 1 || !p.Value) return InvalidParameter;
                uint32_t q = *static_cast<const uint32_t*>(p.Value);
                if (q > 100) return InvalidParameter;
                quality = int(q);
            }
        }
    try {
        TImageData img = ImageFromSurface(image->Surface);
        img.HasAlpha = (image->Format & PixelFormatAlpha) != 0;
        if (*clsid == EncoderBmpClsid)
            out = EncodeBmp(img, img.HasAlpha ? 32 : 24);
        else if (*clsid == EncoderPngClsid)
            out = EncodePng(img);
        else if (*clsid == EncoderJpegClsid)
            out = EncodeJpeg(img, quality);
        else
            return FileNotFound;   // no encoder with that class id
    } catch (const EInvalidGraphic&) {
        return GenericError;
    } catch (const std::bad_alloc&) {
        return OutOfMemory;
    }
    return Ok;
}

}  // namespace

Status GdipSaveImageToMemory(GpImage* image, const CLSID* clsidEncoder, const EncoderParameters* encoderParams,
                             void** data, size_t* size)
{
    if (!data || !size) return InvalidParameter;
    TBytes b;
    if (Status s = Encode(image, clsidEncoder, encoderParams, b); s != Ok) return s;
    void* p = std::malloc(b.empty() ? 1 : b.size());
    if (!p) return OutOfMemory;
    std::memcpy(p, b.data(), b.size());
    *data = p;
    *size = b.size();
    return Ok;
}

Status GdipSaveImageToFile(GpImage* image, const WCHAR* filename, const CLSID* clsidEncoder,
                           const EncoderParameters* encoderParams)
{
    if (!filename) return InvalidParameter;
    TBytes b;
    if (Status s = Encode(image, clsidEncoder, encoderParams, b); s != Ok) return s;
    // Written beside the target, then renamed over it.
    const std::string path = UTF8Encode(filename);
    const std::string tmp = path + ".tmp" + std::to_string(::getpid());
    FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f) return Win32Error;
    bool ok = std::fwrite(b.data(), 1, b.size(), f) == b.size();
    ok = (std::fflush(f) == 0) && ok;
    ok = (::fsync(::fileno(f)) == 0) && ok;
    ok = (std::fclose(f) == 0) && ok;
    if (!ok || std::rename(tmp.c_str(), path.c_str()) != 0) {
        std::remove(tmp.c_str());
        return Win32Error;
    }
    return Ok;
}

Status GdipSaveAdd(GpImage* image, const EncoderParameters*)
{
    if (!image) return InvalidParameter;
    return NotImplemented;   // multi-frame files are not written
}

Status GdipSaveAddImage(GpImage* image, GpImage* newImage, const EncoderParameters*)
{
    if (!image || !newImage) return InvalidParameter;
    return NotImplemented;
}

Status GdipGetImageEncodersSize(uint32_t* numEncoders, uint32_t* size)
{
    if (!numEncoders || !size) return InvalidParameter;
    *numEncoders = uint32_t(std::size(kEncoders));
    *size = uint32_t(sizeof(ImageCodecInfo) * std::size(kEncoders));
    return Ok;
}

Status GdipGetImageEncoders(uint32_t numEncoders, uint32_t size, ImageCodecInfo* encoders)
{
    if (!encoders || numEncoders != std::size(kEncoders) || size < sizeof(ImageCodecInfo) * std::size(kEncoders))
        return InvalidParameter;
    for (size_t i = 0; i < std::size(kEncoders); ++i) {
        ImageCodecInfo& c = encoders[i];
        c = ImageCodecInfo{};
        c.Clsid = *kEncoders[i].Clsid;
        c.FormatID = *kEncoders[i].Format;
        c.CodecName = kEncoders[i].Name;
        c.FormatDescription = kEncoders[i].Name;
        c.FilenameExtension = kEncoders[i].Ext;
        c.MimeType = kEncoders[i].Mime;
        c.Flags = 0x00010007;   // encoder, decoder, supports bitmaps, built in
        c.Version = 1;
    }
    return Ok;
}

// ---- queries --------------------------------------------------------------

Status GdipGetImageWidth(GpImage* image, uint32_t* width)
{
    if (!image || !width) return InvalidParameter;
    *width = uint32_t(image->Width);
    return Ok;
}

Status GdipGetImageHeight(GpImage* image, uint32_t* height)
{
    if (!image || !height) return InvalidParameter;
    *height = uint32_t(image->Height);
    return Ok;
}

Status GdipGetImageType(GpImage* image, ImageType* type)
{
    if (!image || !type) return InvalidParameter;
    *type = image->Type;
    return Ok;
}

Status GdipGetImagePixelFormat(GpImage* image, PixelFormat* format)
{
    if (!image || !format) return InvalidParameter;
    *format = image->Format;
    return Ok;
}

Status GdipGetImageRawFormat(GpImage* image, GUID* format)
{
    if (!image || !format) return InvalidParameter;
    *format = image->RawFormat;
    return Ok;
}

Status GdipGetImageThumbnail(GpImage* image, uint32_t thumbWidth, uint32_t thumbHeight, GpImage** thumbImage,
                             GetThumbnailImageAbort, void*)
{
    if (!image || !thumbImage) return InvalidParameter;
    if (image->Locked) return ObjectBusy;
    if (thumbWidth == 0 && thumbHeight == 0) thumbWidth = thumbHeight = 120;
    if (thumbWidth == 0 || thumbHeight == 0 || thumbWidth > uint32_t(kMaxImageDimension) ||
        thumbHeight > uint32_t(kMaxImageDimension))
        return InvalidParameter;
    auto* t = new GpBitmap;
    t->Width = int(thumbWidth);
    t->Height = int(thumbHeight);
    t->Format = PixelFormat32bppPARGB;
    t->Surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, t->Width, t->Height);
    if (image->Surface && image->Width > 0 && image->Height > 0) {
        cairo_t* cr = cairo_create(t->Surface);
        cairo_scale(cr, double(thumbWidth) / image->Width, double(thumbHeight) / image->Height);
        cairo_set_source_surface(cr, image->Surface, 0, 0);
        cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
        cairo_paint(cr);
        cairo_destroy(cr);
        cairo_surface_flush(t->Surface);
    }
    *thumbImage = t;
    return Ok;
}

Status GdipImageRotateFlip(GpImage* image, RotateFlipType rfType)
{
    if (!image || rfType < RotateNoneFlipNone || rfType > Rotate270FlipX) return InvalidParameter;
    if (image->Locked) return ObjectBusy;
    if (image->Type != ImageTypeBitmap || !image->Surface) return NotImplemented;
    TImageData src = ImageFromSurface(image->Surface);
    const int turns = rfType & 3;
    const bool flipX = (rfType & 4) != 0;
    const int W = src.Width, H = src.Height;
    const int nw = turns & 1 ? H : W, nh = turns & 1 ? W : H;
    TImageData dst(nw, nh);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            int dx, dy;
            switch (turns) {   // clockwise quarter turns
            case 1: dx = H - 1 - y; dy = x; break;
            case 2: dx = W - 1 - x; dy = H - 1 - y; break;
            case 3: dx = y; dy = W - 1 - x; break;
            default: dx = x; dy = y; break;
            }
            if (flipX) dx = nw - 1 - dx;
            dst.Pixel(dx, dy) = src.Pixel(x, y);
        }
    cairo_surface_destroy(image->Surface);
    image->Surface = SurfaceFromImage(dst);
    image->Width = nw;
    image->Height = nh;
    return Ok;
}

Status GdipImageGetFrameCount(GpImage* image, const GUID* dimensionID, uint32_t* count)
{
    if (!image || !dimensionID || !count) return InvalidParameter;
    if (*dimensionID == FrameDimensionTime) {
        if (!image->Gif && image->RawFormat != ImageFormatGIF) return InvalidParameter;
        *count = image->Gif ? uint32_t(image->Gif->Frames.size()) : 1;
    } else if (*dimensionID == FrameDimensionPage) {
        *count = 1;
    } else {
        return InvalidParameter;
    }
    return Ok;
}

Status GdipImageSelectActiveFrame(GpImage* image, const GUID* dimensionID, uint32_t frameIndex)
{
    uint32_t n = 0;
    if (Status s = GdipImageGetFrameCount(image, dimensionID, &n); s != Ok) return s;
    if (frameIndex >= n) return InvalidParameter;
    if (image->Locked) return ObjectBusy;
    if (!image->Gif || int(frameIndex) == image->ActiveFrame) return Ok;
    TImageData f = GifComposite(*image->Gif, int(frameIndex));
    cairo_surface_destroy(image->Surface);
    image->Surface = SurfaceFromImage(f);
    image->ActiveFrame = int(frameIndex);
    return Ok;
}

// ---- bitmaps --------------------------------------------------------------

namespace {

bool KnownFormat(PixelFormat f)
{
    switch (f) {
    case PixelFormat1bppIndexed: case PixelFormat4bppIndexed: case PixelFormat8bppIndexed:
    case PixelFormat16bppGrayScale: case PixelFormat16bppRGB555: case PixelFormat16bppRGB565:
    case PixelFormat16bppARGB1555: case PixelFormat24bppRGB: case PixelFormat32bppRGB:
    case PixelFormat32bppARGB: case PixelFormat32bppPARGB: case PixelFormat48bppRGB:
    case PixelFormat64bppARGB: case PixelFormat64bppPARGB: return true;
    default: return false;
    }
}

// Formats whose bits we hand out and take back directly.
bool DirectFormat(PixelFormat f)
{
    return f == PixelFormat24bppRGB || f == PixelFormat32bppRGB || f == PixelFormat32bppARGB ||
           f == PixelFormat32bppPARGB;
}

GpBitmap* AsBitmap(GpBitmap* b) { return b && b->Type == ImageTypeBitmap && b->Surface ? b : nullptr; }

void ReadRow(const GpBitmap* b, int y, int x0, int w, PixelFormat f, uint8_t* out)
{
    const auto* row = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(b->Surface) +
                                                        size_t(y) * size_t(cairo_image_surface_get_stride(b->Surface))) + x0;
    for (int x = 0; x < w; ++x) {
        uint32_t p = row[x];
        switch (f) {
        case PixelFormat24bppRGB: {
            uint32_t s = Unpremultiply(p);
            out[3 * x] = uint8_t(s); out[3 * x + 1] = uint8_t(s >> 8); out[3 * x + 2] = uint8_t(s >> 16);
            break;
        }
        case PixelFormat32bppPARGB: std::memcpy(out + 4 * x, &p, 4); break;
        case PixelFormat32bppRGB: { uint32_t s = Unpremultiply(p) | 0xFF000000u; std::memcpy(out + 4 * x, &s, 4); break; }
        default: { uint32_t s = Unpremultiply(p); std::memcpy(out + 4 * x, &s, 4); break; }
        }
    }
}

void WriteRow(GpBitmap* b, int y, int x0, int w, PixelFormat f, const uint8_t* in, bool opaque)
{
    auto* row = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(b->Surface) +
                                            size_t(y) * size_t(cairo_image_surface_get_stride(b->Surface))) + x0;
    for (int x = 0; x < w; ++x) {
        uint32_t s;
        switch (f) {
        case PixelFormat24bppRGB: s = 0xFF000000u | in[3 * x] | (uint32_t(in[3 * x + 1]) << 8) | (uint32_t(in[3 * x + 2]) << 16); break;
        case PixelFormat32bppPARGB: std::memcpy(&s, in + 4 * x, 4); row[x] = opaque ? (s | 0xFF000000u) : s; continue;
        case PixelFormat32bppRGB: std::memcpy(&s, in + 4 * x, 4); s |= 0xFF000000u; break;
        default: std::memcpy(&s, in + 4 * x, 4); break;
        }
        if (opaque) s |= 0xFF000000u;
        row[x] = Premultiply(s);
    }
}

}  // namespace

Status GdipCreateBitmapFromScan0(INT width, INT height, INT stride, PixelFormat format, uint8_t* scan0,
                                 GpBitmap** bitmap)
{
    GDIP_CHECK_STARTED();
    if (!bitmap || width <= 0 || height <= 0 || !KnownFormat(format)) return InvalidParameter;
    if (width > kMaxImageDimension || height > kMaxImageDimension || int64_t(width) * height > kMaxImagePixels)
        return OutOfMemory;
    if (scan0 && !DirectFormat(format)) return NotImplemented;
    const int bpp = (format >> 8) & 0xFF;
    if (scan0 && (stride == 0 || std::abs(int64_t(stride)) < (int64_t(width) * bpp + 7) / 8)) return InvalidParameter;
    auto* b = new GpBitmap;
    b->Width = width;
    b->Height = height;
    b->Format = format;
    b->RawFormat = ImageFormatMemoryBMP;
    b->Surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    const bool opaque = !(format & PixelFormatAlpha);
    if (scan0) {
        // The pixels are copied: later changes to scan0 do not show.
        for (int y = 0; y < height; ++y) WriteRow(b, y, 0, width, format, scan0 + int64_t(y) * stride, opaque);
    } else if (opaque) {
        cairo_t* cr = cairo_create(b->Surface);
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_paint(cr);
        cairo_destroy(cr);
        cairo_surface_flush(b->Surface);
    }
    cairo_surface_mark_dirty(b->Surface);
    *bitmap = b;
    return Ok;
}

Status GdipBitmapGetPixel(GpBitmap* bitmap, INT x, INT y, ARGB* color)
{
    GpBitmap* b = AsBitmap(bitmap);
    if (!b || !color) return InvalidParameter;
    if (b->Locked) return ObjectBusy;
    if (x < 0 || y < 0 || x >= b->Width || y >= b->Height) return InvalidParameter;
    cairo_surface_flush(b->Surface);
    uint8_t px[4];
    ReadRow(b, y, x, 1, PixelFormat32bppARGB, px);
    std::memcpy(color, px, 4);
    if (!(b->Format & PixelFormatAlpha)) *color |= 0xFF000000u;
    return Ok;
}

Status GdipBitmapSetPixel(GpBitmap* bitmap, INT x, INT y, ARGB color)
{
    GpBitmap* b = AsBitmap(bitmap);
    if (!b) return InvalidParameter;
    if (b->Locked) return ObjectBusy;
    if (x < 0 || y < 0 || x >= b->Width || y >= b->Height || (b->Format & PixelFormatIndexed)) return InvalidParameter;
    cairo_surface_flush(b->Surface);
    WriteRow(b, y, x, 1, PixelFormat32bppARGB, reinterpret_cast<const uint8_t*>(&color), !(b->Format & PixelFormatAlpha));
    cairo_surface_mark_dirty(b->Surface);
    return Ok;
}

Status GdipBitmapLockBits(GpBitmap* bitmap, const GpRect* rect, uint32_t flags, PixelFormat format,
                          BitmapData* data)
{
    GpBitmap* b = AsBitmap(bitmap);
    if (!b || !data || !(flags & (ImageLockModeRead | ImageLockModeWrite))) return InvalidParameter;
    if (b->Locked) return WrongState;
    GpRect r = rect ? *rect : GpRect{0, 0, b->Width, b->Height};
    if (r.X < 0 || r.Y < 0 || r.Width <= 0 || r.Height <= 0 || r.X > b->Width - r.Width || r.Y > b->Height - r.Height)
        return InvalidParameter;
    if (!DirectFormat(format)) return NotImplemented;
    const int bpp = format == PixelFormat24bppRGB ? 3 : 4;
    uint8_t* scan0;
    INT stride;
    if (flags & ImageLockModeUserInputBuf) {
        if (!data->Scan0 || std::abs(int64_t(data->Stride)) < int64_t(r.Width) * bpp) return InvalidParameter;
        scan0 = static_cast<uint8_t*>(data->Scan0);
        stride = data->Stride;
        b->LockBuffer.clear();
    } else {
        stride = INT((r.Width * bpp + 3) & ~3);
        b->LockBuffer.assign(size_t(stride) * size_t(r.Height), 0);
        scan0 = b->LockBuffer.data();
    }
    cairo_surface_flush(b->Surface);
    for (int y = 0; y < r.Height; ++y) ReadRow(b, r.Y + y, r.X, r.Width, format, scan0 + int64_t(y) * stride);
    data->Width = uint32_t(r.Width);
    data->Height = uint32_t(r.Height);
    data->Stride = stride;
    data->PixelFormat = format;
    data->Scan0 = scan0;
    data->Reserved = 0;
    b->LockData = *data;
    b->LockFlags = flags;
    b->LockRect = r;
    b->Locked = true;
    return Ok;
}

Status GdipBitmapUnlockBits(GpBitmap* bitmap, BitmapData* data)
{
    GpBitmap* b = AsBitmap(bitmap);
    if (!b || !data) return InvalidParameter;
    if (!b->Locked) return WrongState;
    if (b->LockFlags & ImageLockModeWrite) {
        const BitmapData& d = b->LockData;
        const auto* scan0 = static_cast<const uint8_t*>(d.Scan0);
        for (int y = 0; y < b->LockRect.Height; ++y)
            WriteRow(b, b->LockRect.Y + y, b->LockRect.X, b->LockRect.Width, d.PixelFormat,
                     scan0 + int64_t(y) * d.Stride, !(b->Format & PixelFormatAlpha));
        cairo_surface_mark_dirty(b->Surface);
    }
    b->Locked = false;
    b->LockBuffer.clear();
    b->LockBuffer.shrink_to_fit();
    return Ok;
}
