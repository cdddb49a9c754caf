// PNG through libpng's memory interface, which reports errors through the
// image structure instead of ending the process.
#include <png.h>

#include <cstring>

#include "platform/gfx/Codecs.h"

namespace {

[[noreturn]] void PngFail(const png_image& im, const char* what)
{
    std::string msg = std::string(what) + (im.message[0] ? std::string(": ") + im.message : std::string());
    throw EInvalidGraphic(UTF8ToString(msg));
}

}  // namespace

TImageData DecodePng(const uint8_t* data, size_t size)
{
    png_image im;
    std::memset(&im, 0, sizeof im);
    im.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&im, data, size)) PngFail(im, "PNG image is not valid");
    struct TFree {
        png_image* p;
        ~TFree() { png_image_free(p); }
    } guard{&im};
    CheckImageSize(im.width, im.height);
    const bool alpha = (im.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    const bool colourMapped = (im.format & PNG_FORMAT_FLAG_COLORMAP) != 0;
    int bits = 8 * int(PNG_IMAGE_SAMPLE_CHANNELS(im.format));
    if (colourMapped) bits = 8;
    im.format = PNG_FORMAT_BGRA;  // little-endian words of 0xAARRGGBB
    TImageData img(int(im.width), int(im.height));
    if (!png_image_finish_read(&im, nullptr, img.Pixels.data(), 0, nullptr))
        PngFail(im, "PNG image is not valid");
    img.HasAlpha = alpha;
    img.BitsPerPixel = alpha && bits < 32 ? 32 : bits;
    return img;
}

TBytes EncodePng(const TImageData& img)
{
    if (img.Empty()) throw EInvalidGraphic(L"Cannot save an empty image");
    png_image im;
    std::memset(&im, 0, sizeof im);
    im.version = PNG_IMAGE_VERSION;
    im.width = png_uint_32(img.Width);
    im.height = png_uint_32(img.Height);
    std::vector<uint8_t> rgb;
    const void* src = img.Pixels.data();
    if (img.HasAlpha) {
        im.format = PNG_FORMAT_BGRA;
    } else {
        im.format = PNG_FORMAT_BGR;
        rgb.resize(img.Pixels.size() * 3);
        uint8_t* d = rgb.data();
        for (uint32_t px : img.Pixels) {
            *d++ = uint8_t(px);
            *d++ = uint8_t(px >> 8);
            *d++ = uint8_t(px >> 16);
        }
        src = rgb.data();
    }
    png_alloc_size_t len = 0;
    if (!png_image_write_to_memory(&im, nullptr, &len, 0, src, 0, nullptr))
        PngFail(im, "PNG image could not be written");
    TBytes out(len);
    if (!png_image_write_to_memory(&im, out.data(), &len, 0, src, 0, nullptr))
        PngFail(im, "PNG image could not be written");
    out.resize(len);
    return out;
}
