// The image classes drawn with their own alpha: icons, PNG, JPEG and GIF;
// and the metafile that keeps its bytes.
#include <algorithm>
#include <cmath>

#include "platform/gfx/GdiPlus_Internal.h"
#include "platform/gfx/Graphics.h"

TBytes ReadAllBytes(TStream* Stream);   // Graphics_Bitmap.cpp

namespace {

void DrawImageData(TCanvas* ACanvas, const TRect& R, const TImageData& img)
{
    if (img.Empty() || !ACanvas || R.Width() == 0 || R.Height() == 0) return;
    HDC dc = ACanvas->Handle();
    cairo_t* cr = GdiCairo(dc);
    if (!cr) return;
    cairo_surface_t* s = SurfaceFromImage(img);
    cairo_save(cr);
    cairo_rectangle(cr, R.Left, R.Top, R.Width(), R.Height());
    cairo_clip(cr);
    cairo_translate(cr, R.Left, R.Top);
    const double sx = double(R.Width()) / img.Width, sy = double(R.Height()) / img.Height;
    cairo_scale(cr, sx, sy);
    cairo_set_source_surface(cr, s, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), sx == 1 && sy == 1 ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_paint(cr);
    cairo_restore(cr);
    GdiReleaseCairo(dc, cr);
    cairo_surface_destroy(s);
}

void WriteBytes(TStream* Stream, const TBytes& b)
{
    if (Stream && !b.empty()) Stream->WriteBuffer(b.data(), Integer(b.size()));
}

}  // namespace

void TAlphaImage::Draw(TCanvas* ACanvas, const TRect& Rect) { DrawImageData(ACanvas, Rect, FImage); }

// ---- TIcon ----------------------------------------------------------------

const TImageData& TIcon::ImageFor(int w, int h) const
{
    if (FData.Entries.empty()) return FImage;
    return FData.Entries[size_t(FData.BestIndex(w, h))].Image;
}

void TIcon::Draw(TCanvas* ACanvas, const TRect& Rect) { DrawImageData(ACanvas, Rect, ImageFor(Rect.Width(), Rect.Height())); }

void TIcon::LoadFromStream(TStream* Stream)
{
    TBytes b = ReadAllBytes(Stream);
    TIconData d = DecodeIco(b.data(), b.size());
    // The standard icon size when the file has it, else the nearest.
    FImage = d.Entries[size_t(d.BestIndex(32, 32))].Image;
    FData = std::move(d);
    FBytes = std::move(b);
    Changed(this);
}

void TIcon::SaveToStream(TStream* Stream)
{
    if (!FBytes.empty()) WriteBytes(Stream, FBytes);
    else if (!FImage.Empty()) WriteBytes(Stream, EncodeIco({FImage}));
}

void TIcon::Assign(TPersistent* Source)
{
    if (auto* i = dynamic_cast<TIcon*>(Source)) {
        FImage = i->FImage;
        FData = i->FData;
        FBytes = i->FBytes;
    } else if (auto* b = dynamic_cast<TBitmap*>(Source)) {
        FImage = b->ToImage();
        FData = {};
        FBytes.clear();
    } else if (auto* a = dynamic_cast<TAlphaImage*>(Source)) {
        FImage = a->Image();
        FData = {};
        FBytes.clear();
    } else if (!Source) {
        FImage = {};
        FData = {};
        FBytes.clear();
    } else {
        TGraphic::Assign(Source);
        return;
    }
    Changed(this);
}

// ---- TPngImage ------------------------------------------------------------

void TPngImage::LoadFromStream(TStream* Stream)
{
    TBytes b = ReadAllBytes(Stream);
    FImage = DecodePng(b.data(), b.size());
    FTransparent = FImage.HasAlpha;
    Changed(this);
}

void TPngImage::SaveToStream(TStream* Stream)
{
    if (!FImage.Empty()) WriteBytes(Stream, EncodePng(FImage));
}

void TPngImage::Assign(TPersistent* Source)
{
    if (auto* b = dynamic_cast<TBitmap*>(Source)) {
        FImage = b->ToImage();
    } else if (auto* a = dynamic_cast<TAlphaImage*>(Source)) {
        FImage = a->Image();
    } else if (!Source) {
        FImage = {};
    } else {
        TGraphic::Assign(Source);
        return;
    }
    FTransparent = FImage.HasAlpha;
    Changed(this);
}

// ---- TJPEGImage -----------------------------------------------------------

void TJPEGImage::LoadFromStream(TStream* Stream)
{
    TBytes b = ReadAllBytes(Stream);
    FImage = DecodeJpeg(b.data(), b.size());
    FGrayscale = FImage.BitsPerPixel == 8;
    FBytes = std::move(b);
    Changed(this);
}

void TJPEGImage::SaveToStream(TStream* Stream)
{
    if (FImage.Empty()) return;
    if (FBytes.empty()) FBytes = EncodeJpeg(FImage, FQuality, FGrayscale);
    WriteBytes(Stream, FBytes);
}

void TJPEGImage::Assign(TPersistent* Source)
{
    if (auto* j = dynamic_cast<TJPEGImage*>(Source)) {
        FImage = j->FImage;
        FBytes = j->FBytes;
        FQuality = j->FQuality;
        FGrayscale = j->FGrayscale;
    } else if (auto* b = dynamic_cast<TBitmap*>(Source)) {
        FImage = b->ToImage();
        FBytes.clear();
    } else if (auto* a = dynamic_cast<TAlphaImage*>(Source)) {
        FImage = a->Image();
        FBytes.clear();
    } else if (!Source) {
        FImage = {};
        FBytes.clear();
    } else {
        TGraphic::Assign(Source);
        return;
    }
    Changed(this);
}

// ---- TGIFImage ------------------------------------------------------------

void TGIFImage::LoadFromStream(TStream* Stream)
{
    TBytes b = ReadAllBytes(Stream);
    TGifData g = DecodeGif(b.data(), b.size());
    FImage = GifComposite(g, 0);
    FGif = std::move(g);
    FBytes = std::move(b);
    FCurrent = 0;
    FTransparent = std::any_of(FGif.Frames.begin(), FGif.Frames.end(), [](const TGifFrame& f) { return f.Transparent; });
    Changed(this);
}

void TGIFImage::SaveToStream(TStream* Stream)
{
    if (FBytes.empty() && !FImage.Empty()) throw EInvalidGraphicOperation(L"GIF images are not written");
    WriteBytes(Stream, FBytes);
}

void TGIFImage::SetCurrentFrame(int v)
{
    if (v < 0 || v >= FrameCount()) throw EInvalidGraphicOperation(L"GIF frame index out of range");
    if (v == FCurrent) return;
    FImage = GifComposite(FGif, v);
    FCurrent = v;
    Changed(this);
}

void TGIFImage::Assign(TPersistent* Source)
{
    if (auto* g = dynamic_cast<TGIFImage*>(Source)) {
        FGif = g->FGif;
        FBytes = g->FBytes;
        FImage = g->FImage;
        FCurrent = g->FCurrent;
        FTransparent = g->FTransparent;
        Changed(this);
    } else if (!Source) {
        FGif = {};
        FBytes.clear();
        FImage = {};
        FCurrent = 0;
        Changed(this);
    } else {
        TGraphic::Assign(Source);
    }
}

// ---- TMetafile ------------------------------------------------------------

void TMetafile::LoadFromStream(TStream* Stream)
{
    TBytes b = ReadAllBytes(Stream);
    TImageFormat f = SniffImageFormat(b.data(), b.size());
    if (f != TImageFormat::Emf && f != TImageFormat::Wmf) throw EInvalidGraphic(L"Metafile is not valid");
    auto i32 = [&](size_t o) {
        return o + 4 <= b.size() ? int32_t(b[o] | b[o + 1] << 8 | b[o + 2] << 16 | uint32_t(b[o + 3]) << 24) : 0;
    };
    auto i16 = [&](size_t o) { return o + 2 <= b.size() ? int16_t(b[o] | b[o + 1] << 8) : int16_t(0); };
    FEnhanced = f == TImageFormat::Emf;
    if (FEnhanced) {
        FWidth = int(std::clamp<int64_t>(int64_t(i32(16)) - i32(8) + 1, 0, kMaxImageDimension));
        FHeight = int(std::clamp<int64_t>(int64_t(i32(20)) - i32(12) + 1, 0, kMaxImageDimension));
    } else if (b[0] == 0xD7) {
        int inch = uint16_t(i16(14)) ? uint16_t(i16(14)) : 1440;
        FWidth = std::clamp((i16(10) - i16(6)) * 96 / inch, 0, kMaxImageDimension);
        FHeight = std::clamp((i16(12) - i16(8)) * 96 / inch, 0, kMaxImageDimension);
    } else {
        FWidth = FHeight = 0;
    }
    FBytes = std::move(b);
    Changed(this);
}

void TMetafile::SaveToStream(TStream* Stream) { WriteBytes(Stream, FBytes); }

void TMetafile::Assign(TPersistent* Source)
{
    if (auto* m = dynamic_cast<TMetafile*>(Source)) {
        FBytes = m->FBytes;
        FWidth = m->FWidth;
        FHeight = m->FHeight;
        FEnhanced = m->FEnhanced;
        Changed(this);
    } else if (!Source) {
        FBytes.clear();
        FWidth = FHeight = 0;
        Changed(this);
    } else {
        TGraphic::Assign(Source);
    }
}
