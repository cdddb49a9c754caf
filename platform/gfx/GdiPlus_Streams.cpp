// Images read from and written to the class library's streams.
#include "platform/base/Streams.h"
#include "platform/gfx/GdiPlus_Internal.h"

namespace {

// The stream from its position to its end.
Status ReadStream(TStream* stream, TBytes& out)
{
    if (!stream) return InvalidParameter;
    try {
        const Int64 n = stream->Size() - stream->Position();
        if (n < 0 || n > (Int64(1) << 31) - 1) return OutOfMemory;
        out.resize(size_t(n));
        if (n) stream->ReadBuffer(out.data(), Integer(n));
    } catch (const Exception&) {
        return Win32Error;
    }
    return Ok;
}

}  // namespace

Status GdipLoadImageFromStream(TStream* stream, GpImage** image)
{
    GDIP_CHECK_STARTED();
    if (!image) return InvalidParameter;
    TBytes b;
    if (Status s = ReadStream(stream, b); s != Ok) return s;
    return GdipLoadImageFromMemory(b.data(), b.size(), image);
}

Status GdipLoadImageFromStreamICM(TStream* stream, GpImage** image) { return GdipLoadImageFromStream(stream, image); }

Status GdipCreateBitmapFromStream(TStream* stream, GpBitmap** bitmap)
{
    GDIP_CHECK_STARTED();
    if (!bitmap) return InvalidParameter;
    TBytes b;
    if (Status s = ReadStream(stream, b); s != Ok) return s;
    return GdipCreateBitmapFromMemory(b.data(), b.size(), bitmap);
}

Status GdipCreateBitmapFromStreamICM(TStream* stream, GpBitmap** bitmap)
{
    return GdipCreateBitmapFromStream(stream, bitmap);
}

Status GdipSaveImageToStream(GpImage* image, TStream* stream, const CLSID* clsidEncoder,
                             const EncoderParameters* encoderParams)
{
    if (!stream) return InvalidParameter;
    void* data = nullptr;
    size_t size = 0;
    if (Status s = GdipSaveImageToMemory(image, clsidEncoder, encoderParams, &data, &size); s != Ok) return s;
    Status result = Ok;
    try {
        stream->WriteBuffer(data, Integer(size));
    } catch (const Exception&) {
        result = Win32Error;
    }
    GdipFree(data);
    return result;
}
