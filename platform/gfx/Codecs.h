// Image codecs: BMP, PNG, JPEG, GIF (every frame) and ICO/CUR read from a
// byte buffer into a plain pixel image, and BMP, PNG and JPEG written from
// one. Decoders check every read against the buffer and raise
// EInvalidGraphic on malformed, truncated or absurdly large images.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/base/Exceptions.h"
#include "platform/base/Types.h"

using TBytes = std::vector<uint8_t>;

// Largest accepted width or height, and largest pixel count of one image or
// of all frames of an animation together: guards against allocations that
// a forged header could otherwise ask for.
constexpr int kMaxImageDimension = 32768;
constexpr int64_t kMaxImagePixels = int64_t(1) << 26;

// Raises EInvalidGraphic when w x h is not a sane image size.
void CheckImageSize(int64_t w, int64_t h);

// A decoded image: top-down rows of straight (not premultiplied) 0xAARRGGBB
// pixels. HasAlpha tells whether the source carried meaningful alpha;
// BitsPerPixel is the source's nominal depth (1, 4, 8, 16, 24 or 32).
struct TImageData {
    int Width = 0;
    int Height = 0;
    std::vector<uint32_t> Pixels;
    bool HasAlpha = false;
    int BitsPerPixel = 32;

    TImageData() = default;
    TImageData(int w, int h, uint32_t fill = 0);
    bool Empty() const { return Width <= 0 || Height <= 0; }
    uint32_t Pixel(int x, int y) const { return Pixels[size_t(y) * size_t(Width) + size_t(x)]; }
    uint32_t& Pixel(int x, int y) { return Pixels[size_t(y) * size_t(Width) + size_t(x)]; }
};

enum class TImageFormat { Unknown, Bmp, Png, Jpeg, Gif, Ico, Cur, Tiff, Emf, Wmf };

// Recognises a format from the first bytes of a file.
TImageFormat SniffImageFormat(const uint8_t* data, size_t size);

// BMP file (with its 14-byte file header): 1/4/8/16/24/32 bits, BI_RGB,
// BI_RLE4, BI_RLE8, BI_BITFIELDS, top-down and bottom-up.
TImageData DecodeBmp(const uint8_t* data, size_t size);
// A device-independent bitmap starting at its info header (the form icons
// and clipboard data use). With andMask, the height in the header counts
// the colour and mask planes together and mask bit 1 makes a pixel
// transparent.
TImageData DecodeDib(const uint8_t* data, size_t size, bool andMask = false);
// Writes a bottom-up BI_RGB BMP file of 24 or 32 bits per pixel.
TBytes EncodeBmp(const TImageData& img, int bitsPerPixel = 24);

TImageData DecodePng(const uint8_t* data, size_t size);
// Writes RGBA when the image has alpha, RGB otherwise.
TBytes EncodePng(const TImageData& img);

// Grey, RGB (YCbCr) and CMYK JPEGs decode to opaque pixels.
TImageData DecodeJpeg(const uint8_t* data, size_t size);
// quality 1..100 (clamped); grayscale writes one channel.
TBytes EncodeJpeg(const TImageData& img, int quality = 75, bool grayscale = false);

// GIF: every frame as stored (its own rectangle), with the timing and
// disposal that animate it; GifComposite gives a frame as shown.
enum TGifDisposal { gdNone = 0, gdLeave = 1, gdBackground = 2, gdPrevious = 3 };

struct TGifFrame {
    int Left = 0, Top = 0;          // position on the logical screen
    TImageData Image;               // the frame's own pixels; transparent index has alpha 0
    int DelayCs = 0;                // hundredths of a second
    int Disposal = gdNone;
    bool Transparent = false;
    int TransparentIndex = -1;
    bool Interlaced = false;
    bool LocalPalette = false;
};

struct TGifData {
    int ScreenWidth = 0, ScreenHeight = 0;
    int LoopCount = -1;             // -1: no loop extension; 0: forever
    uint32_t BackgroundColor = 0;   // from the global palette, opaque; 0 without one
    std::vector<TGifFrame> Frames;
};

TGifData DecodeGif(const uint8_t* data, size_t size);
// The logical screen after frame `index` has been drawn over its
// predecessors (each disposed of as it asks); pixels not covered are
// transparent.
TImageData GifComposite(const TGifData& gif, int index);
// Every composited frame, in order (one pass).
std::vector<TImageData> GifCompositeAll(const TGifData& gif);

// ICO and CUR: every image of the directory.
struct TIconEntry {
    TImageData Image;
    int BitCount = 0;               // colour depth of the stored image
    bool IsPng = false;
    int HotSpotX = 0, HotSpotY = 0; // cursors only
};

struct TIconData {
    bool IsCursor = false;
    std::vector<TIconEntry> Entries;
    // The entry closest to w x h (largest when both are 0), deepest first
    // among equal sizes; -1 when empty.
    int BestIndex(int w = 0, int h = 0) const;
};

TIconData DecodeIco(const uint8_t* data, size_t size);
// Writes an icon file with one 32-bit entry per image (PNG entries for
// images of 256 pixels and above).
TBytes EncodeIco(const std::vector<TImageData>& images);

// Decodes any supported format: the first frame of a GIF, the largest
// image of an icon.
TImageData DecodeImage(const uint8_t* data, size_t size);

inline TImageData DecodeImage(const TBytes& b) { return DecodeImage(b.data(), b.size()); }
