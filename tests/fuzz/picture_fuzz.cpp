// The control library's pictures fed any bytes: the GDI+ picture sniffs,
// measures and draws them (turned), the OLE-picture image loads and draws
// them or refuses them with its message.
#include <memory>

#include "controls/foundation/GDIPicture.h"
#include "controls/foundation/VodGDIP.h"
#include "controls/foundation/VodImage.h"
#include "platform/base/Streams.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool started = (VodGdipStartup(), true);
    (void)started;
    const TBytes bytes(data, data + size);
    TBitmap target(24, 24);
    {
        TGDIPPicture picture;
        TBytesStream s(bytes);
        picture.LoadFromStream(&s);
        (void)picture.PictureFormat();
        picture.SetAngle(size % 2 ? 45 : 0);
        picture.Draw(target.Canvas(), TRect{0, 0, 24, 24});
    }
    {
        TVodImage image;
        TBytesStream s(bytes);
        try {
            image.LoadFromStream(&s);
        } catch (const Exception&) {
        }
        image.Draw(target.Canvas(), TRect{0, 0, 24, 24});
    }
    return 0;
}
