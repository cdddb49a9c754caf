// JPEG through libjpeg's classic interface. Library errors return here by
// longjmp; nothing with a destructor lives between setjmp and the library
// calls, so unwinding skips no C++ clean-up.
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>
#include <jerror.h>

#include "platform/gfx/Codecs.h"

namespace {

struct TJpegError {
    jpeg_error_mgr Mgr;
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
    bool SawEof;
};

void JpegErrorExit(j_common_ptr cinfo)
{
    auto* err = reinterpret_cast<TJpegError*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->Message);
    std::longjmp(err->Jump, 1);
}

// Warnings are ignored except the one that says the data ended early.
void JpegWarning(j_common_ptr cinfo, int level)
{
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF)
        reinterpret_cast<TJpegError*>(cinfo->err)->SawEof = true;
}

// Runs the decompression; answers false with err->Message filled on failure.
bool JpegDecode(jpeg_decompress_struct* cinfo, const uint8_t* data, size_t size, TImageData* img,
                std::vector<uint8_t>* rowBuf, bool* tooLarge)
{
    auto* err = reinterpret_cast<TJpegError*>(cinfo->err);
    if (setjmp(err->Jump)) return false;
    jpeg_create_decompress(cinfo);
    jpeg_mem_src(cinfo, const_cast<unsigned char*>(data), (unsigned long)size);
    jpeg_read_header(cinfo, TRUE);
    const bool cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
    cinfo->out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    if (cinfo->image_width == 0 || cinfo->image_height == 0 || cinfo->image_width > kMaxImageDimension ||
        cinfo->image_height > kMaxImageDimension ||
        int64_t(cinfo->image_width) * cinfo->image_height > kMaxImagePixels) {
        *tooLarge = true;
        return false;
    }
    jpeg_start_decompress(cinfo);
    const unsigned w = cinfo->output_width, comps = unsigned(cinfo->output_components);
    img->Width = int(w);
    img->Height = int(cinfo->output_height);
    img->Pixels.assign(size_t(w) * cinfo->output_height, 0xFF000000u);
    img->BitsPerPixel = cinfo->jpeg_color_space == JCS_GRAYSCALE ? 8 : 24;
    rowBuf->assign(size_t(w) * comps, 0);
    // Adobe writes CMYK inverted; that is what nearly every CMYK file holds.
    const bool inverted = cmyk && cinfo->saw_Adobe_marker;
    while (cinfo->output_scanline < cinfo->output_height) {
        JSAMPROW row = rowBuf->data();
        const unsigned y = cinfo->output_scanline;
        if (jpeg_read_scanlines(cinfo, &row, 1) != 1) break;
        uint32_t* d = &img->Pixels[size_t(y) * w];
        for (unsigned x = 0; x < w; ++x) {
            const uint8_t* s = row + size_t(x) * comps;
            uint32_t r, g, b;
            if (comps == 4) {
                unsigned c = s[0], m = s[1], yy = s[2], k = s[3];
                if (!inverted) { c = 255 - c; m = 255 - m; yy = 255 - yy; k = 255 - k; }
                r = c * k / 255; g = m * k / 255; b = yy * k / 255;
            } else if (comps == 3) {
                r = s[0]; g = s[1]; b = s[2];
            } else {
                r = g = b = s[0];
            }
            d[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
        }
    }
    jpeg_finish_decompress(cinfo);
    return true;
}

bool JpegEncode(jpeg_compress_struct* cinfo, const TImageData& img, int quality, bool grey,
                unsigned char** buf, unsigned long* len, std::vector<uint8_t>* rowBuf)
{
    auto* err = reinterpret_cast<TJpegError*>(cinfo->err);
    if (setjmp(err->Jump)) return false;
    jpeg_create_compress(cinfo);
    jpeg_mem_dest(cinfo, buf, len);
    cinfo->image_width = JDIMENSION(img.Width);
    cinfo->image_height = JDIMENSION(img.Height);
    cinfo->input_components = grey ? 1 : 3;
    cinfo->in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(cinfo);
    jpeg_set_quality(cinfo, quality, TRUE);
    jpeg_start_compress(cinfo, TRUE);
    while (cinfo->next_scanline < cinfo->image_height) {
        const uint32_t* s = &img.Pixels[size_t(cinfo->next_scanline) * size_t(img.Width)];
        uint8_t* d = rowBuf->data();
        for (int x = 0; x < img.Width; ++x) {
            uint32_t px = s[x];
            uint8_t r = uint8_t(px >> 16), g = uint8_t(px >> 8), b = uint8_t(px);
            if (grey) {
                *d++ = uint8_t((r * 299 + g * 587 + b * 114 + 500) / 1000);
            } else {
                *d++ = r; *d++ = g; *d++ = b;
            }
        }
        JSAMPROW row = rowBuf->data();
        jpeg_write_scanlines(cinfo, &row, 1);
    }
    jpeg_finish_compress(cinfo);
    return true;
}

}  // namespace

TImageData DecodeJpeg(const uint8_t* data, size_t size)
{
    if (size < 3 || data[0] != 0xFF || data[1] != 0xD8) throw EInvalidGraphic(L"JPEG image is not valid");
    jpeg_decompress_struct cinfo{};
    TJpegError err{};
    cinfo.err = jpeg_std_error(&err.Mgr);
    err.Mgr.error_exit = JpegErrorExit;
    err.Mgr.emit_message = JpegWarning;
    TImageData img;
    std::vector<uint8_t> rowBuf;
    bool tooLarge = false;
    bool ok = JpegDecode(&cinfo, data, size, &img, &rowBuf, &tooLarge);
    jpeg_destroy_decompress(&cinfo);
    if (tooLarge) throw EInvalidGraphic(L"Image is too large");
    if (!ok) throw EInvalidGraphic(UTF8ToString(std::string("JPEG image is not valid: ") + err.Message));
    // The library pads a stream that ends early with grey rows and a warning;
    // such an image has lost data.
    if (err.SawEof) throw EInvalidGraphic(L"JPEG image is truncated");
    return img;
}

TBytes EncodeJpeg(const TImageData& img, int quality, bool grayscale)
{
    if (img.Empty()) throw EInvalidGraphic(L"Cannot save an empty image");
    quality = quality < 1 ? 1 : quality > 100 ? 100 : quality;
    jpeg_compress_struct cinfo{};
    TJpegError err{};
    cinfo.err = jpeg_std_error(&err.Mgr);
    err.Mgr.error_exit = JpegErrorExit;
    err.Mgr.emit_message = JpegWarning;
    unsigned char* buf = nullptr;
    unsigned long len = 0;
    std::vector<uint8_t> rowBuf(size_t(img.Width) * 3);
    bool ok = JpegEncode(&cinfo, img, quality, grayscale, &buf, &len, &rowBuf);
    jpeg_destroy_compress(&cinfo);
    TBytes out;
    if (ok && buf) out.assign(buf, buf + len);
    std::free(buf);
    if (!ok) throw EInvalidGraphic(UTF8ToString(std::string("JPEG image could not be written: ") + err.Message));
    return out;
}
