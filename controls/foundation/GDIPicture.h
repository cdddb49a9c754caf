// GDIPicture: a graphic that keeps an image file's bytes exactly as loaded
// and draws them through GDI+, so any format GDI+ decodes can stand where a
// graphic is expected, optionally rotated. The bytes are what a form
// streams, so a stored picture is written back byte for byte.
#pragma once

#include <memory>

#include "controls/foundation/VodGDIP.h"
#include "platform/base/Resources.h"
#include "platform/base/Streams.h"
#include "platform/gfx/Graphics.h"

enum TPictureFormat : Byte { pfBMP, pfGIF, pfJPG, pfPNG, pfICO, pfTiff, pfMetaFile, pfNone };

// The format the bytes start with; 43 bytes or fewer give pfNone.
TPictureFormat PictureFormatOf(const Byte* data, size_t size);

class TGDIPPicture : public TGraphic {
    VEL_CLASS(TGDIPPicture, TGraphic)
public:
    TGDIPPicture();
    ~TGDIPPicture() override;

    void Assign(TPersistent* Source) override;
    // BMP with TransparentBitmap: the platform bitmap with its automatic
    // transparent colour; any other format through GDI+, rotated by Angle.
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;
    // At the natural size / scaled into the rectangle on a surface the
    // caller owns; neither applies Angle nor the bitmap transparency.
    void DrawImage(TGPGraphics* Graphics, Integer X, Integer Y);
    void DrawImageRect(TGPGraphics* Graphics, Integer X, Integer Y, Integer W, Integer H);
    // Measures the image into Width and Height; false when the picture is
    // empty, holds no bytes or the image stream cannot be made. Bytes GDI+
    // cannot decode measure 0 by 0.
    bool GetImageSizes();

    // Errors are swallowed: the picture ends empty.
    void LoadFromFile(const String& FileName) override;
    void LoadFromStream(TStream* Stream) override;
    void LoadFromResourceName(HINSTANCE Instance, const String& ResName);
    void LoadFromResourceID(HINSTANCE Instance, Integer ResID);
    // "RES://name" (a resource of the program) and "FILE://path", in any
    // case; anything else does nothing.
    void LoadFromURL(const String& URL);
    void SaveToStream(TStream* Stream) override;
    // The form reader's entry: the bytes, without measuring or events.
    void ReadData(TStream* Stream) override;
    void WriteData(TStream* Stream) override;
    void DefineProperties(TFiler* Filer) override;
    void SetWidth(int) override {}
    void SetHeight(int) override {}

    String GetFileName() const { return FFileName; }
    TPictureFormat PictureFormat() const;
    TGraphic* Graphic() { return this; }
    const TMemoryStream* Datastream() const { return FDatastream.get(); }

    bool DoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool v) { FDoubleBuffered = v; }
    TColor BackgroundColor() const { return FBackgroundColor; }
    void SetBackgroundColor(TColor v) { FBackgroundColor = v; }
    Integer Angle() const { return FAngle; }
    void SetAngle(Integer v) { FAngle = v; }
    bool TransparentBitmap() const { return FTransparentBitmap; }
    void SetTransparentBitmap(bool v) { FTransparentBitmap = v; }

    TNotifyEvent OnClear;

protected:
    bool GetEmpty() const override { return FIsEmpty; }
    int GetWidth() const override { return FWidth; }
    int GetHeight() const override { return FHeight; }

private:
    // Opens the bytes as a GDI+ image on a stream over movable global
    // memory and hands it to use; false (nothing used) when the picture is
    // empty, holds no bytes, or the stream cannot be made or filled. Raises
    // "Could not allocate memory for image" when the block cannot be had.
    template <class F>
    bool WithImage(F use);
    void TakeBytes(TStream* Stream);
    void TakeGraphic(TGraphic* Graphic);
    void FireClear();

    String FFileName;
    std::unique_ptr<TMemoryStream> FDatastream;
    bool FIsEmpty = true;
    Integer FWidth = 0, FHeight = 0;
    bool FDoubleBuffered = false;
    TColor FBackgroundColor = 0;
    bool FTransparentBitmap = true;
    Integer FAngle = 0;
};
