// Picture lookups of image sources that name a picture of the container or
// an address kept in the picture cache.
#include "controls/markup/MarkupEngine_Internal.h"
#include "controls/markup/PictureContainer.h"

namespace markup_detail {

TGraphic* ContainerPicture(TPictureContainer* Container, const String& Name)
{
    return Container ? Container->FindPicture(Name) : nullptr;
}

// An address the cache does not know yet gets a picture of its own, loaded
// at once ("RES://", "FILE://") or only remembered (any other address).
TGraphic* CachePicture(THTMLPictureCache* Cache, const String& URL)
{
    if (!Cache) return nullptr;
    if (THTMLPicture* pic = Cache->FindPicture(URL)) return pic;
    THTMLPicture* pic = Cache->AddPicture();
    pic->SetAsynch(false);
    pic->LoadFromURL(URL);
    return pic;
}

bool PictureFrameFacts(TGraphic* Picture, TFrameFacts& Facts)
{
    auto* pic = dynamic_cast<THTMLPicture*>(Picture);
    if (!pic) return false;
    Facts.Frames = pic->FrameCount();
    Facts.OffsetX = pic->FrameXPos();
    Facts.OffsetY = pic->FrameYPos();
    Facts.MaxWidth = pic->MaxWidth();
    Facts.MaxHeight = pic->MaxHeight();
    return true;
}

void SetPictureStretch(TGraphic* Picture, bool Stretch)
{
    if (auto* pic = dynamic_cast<THTMLPicture*>(Picture)) pic->SetStretch(Stretch);
}

}  // namespace markup_detail
