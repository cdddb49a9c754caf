// Picture lookups of image sources that name a picture of the container or
// an address kept in the picture cache.
#include "controls/markup/MarkupEngine_Internal.h"

namespace markup_detail {

TGraphic* ContainerPicture(TPictureContainer* Container, const String& Name)
{
    (void)Container;
    (void)Name;
    return nullptr;
}

TGraphic* CachePicture(THTMLPictureCache* Cache, const String& URL)
{
    (void)Cache;
    (void)URL;
    return nullptr;
}

bool PictureFrameFacts(TGraphic* Picture, TFrameFacts& Facts)
{
    (void)Picture;
    (void)Facts;
    return false;
}

void SetPictureStretch(TGraphic* Picture, bool Stretch)
{
    (void)Picture;
    (void)Stretch;
}

}  // namespace markup_detail
