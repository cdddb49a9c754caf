// VodImage: a graphic that keeps an image file's bytes and draws them
// through the platform's OLE picture (BMP, JPEG, GIF, icons; PNG is not a
// format of that loader). The bytes stream unchanged into and out of a form.
#pragma once

#include <memory>

#include "platform/base/Resources.h"
#include "platform/base/Streams.h"
#include "platform/gfx/Graphics.h"
#include "platform/ui/OlePicture.h"

class TVodImage : public TGraphic {
    VEL_CLASS(TVodImage, TGraphic)
public:
    TVodImage();
    ~TVodImage() override;

    // nil: no bytes. Otherwise the steps for a non-empty TVodImage, an image
    // control, a bitmap, any graphic and a picture each run when the source
    // is one; each takes the bytes and loads them at once. A format the
    // loader refuses keeps the bytes and draws nothing; Assign never fails
    // for it.
    void Assign(TPersistent* Source) override;
    // The picture upright in Rect.
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;
    // Errors are swallowed: the image ends empty.
    void LoadFromFile(const String& FileName) override;
    // These raise the picture load's errors.
    void LoadFromStream(TStream* Stream) override;
    void LoadFromResourceName(HINSTANCE Instance, const String& ResName);
    void LoadFromResourceID(HINSTANCE Instance, Integer ResID);
    // The form reader's entry: like LoadFromStream without the event.
    void ReadData(TStream* Stream) override;
    void WriteData(TStream* Stream) override;
    void SaveToStream(TStream* Stream) override;
    void DefineProperties(TFiler* Filer) override;
    void SetWidth(int) override {}
    void SetHeight(int) override {}

    const TMemoryStream* Datastream() const { return FDatastream.get(); }
    IPicture* Picture() const { return gpPicture.Get(); }

protected:
    bool GetEmpty() const override { return FIsEmpty; }
    // The picture's HIMETRIC size at 96 pixels per inch; 0 without a picture.
    int GetWidth() const override;
    int GetHeight() const override;

private:
    // Loads the bytes into gpPicture; raises with the load's messages.
    void LoadPicture();
    void TakeBytes(TStream* Stream);
    // Takes a graphic's saved bytes and loads them, keeping a refused format.
    void TakeGraphic(TGraphic* Graphic);

    std::unique_ptr<TMemoryStream> FDatastream;
    bool FIsEmpty = true;
    TComPtr<IPicture> gpPicture;
    Integer FLogPixX = 96, fLogPixY = 96;
};
