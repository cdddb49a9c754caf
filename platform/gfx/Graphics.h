// The class library's graphic classes: TGraphic and its image kinds
// (TBitmap, TIcon, TPngImage, TJPEGImage, TGIFImage, TMetafile) and
// TPicture, which holds one of them and finds the class for a file by its
// extension or its content.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/base/Objects.h"
#include "platform/base/Resources.h"
#include "platform/base/Streams.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Codecs.h"
#include "platform/gfx/Colors.h"
#include "platform/gfx/Gdi.h"

class TGraphic : public TPersistent {
    VEL_CLASS(TGraphic, TPersistent)
public:
    TGraphic() = default;
    ~TGraphic() override = default;

    bool Empty() const { return GetEmpty(); }
    int Width() const { return GetWidth(); }
    int Height() const { return GetHeight(); }
    virtual void SetWidth(int v) {}
    virtual void SetHeight(int v) {}
    virtual bool Transparent() const { return FTransparent; }
    virtual void SetTransparent(bool v);
    bool Modified() const { return FModified; }
    void SetModified(bool v) { FModified = v; }

    virtual void Draw(TCanvas* ACanvas, const TRect& Rect) = 0;
    virtual void LoadFromStream(TStream* Stream) = 0;
    virtual void SaveToStream(TStream* Stream) = 0;
    virtual void LoadFromFile(const String& FileName);
    // Written to a temporary file beside the target, then renamed over it.
    virtual void SaveToFile(const String& FileName);
    virtual void LoadFromClipboardFormat(Word AFormat, uintptr_t AData, HPALETTE APalette) {}
    virtual void SaveToClipboardFormat(Word& AFormat, uintptr_t& AData, HPALETTE& APalette) {}
    // Form streaming of the graphic's data: the binary property "Data",
    // written when the graphic is not empty. By default the complete image
    // file; the kinds below frame it as their streaming form has it.
    virtual void ReadData(TStream* Stream) { LoadFromStream(Stream); }
    virtual void WriteData(TStream* Stream) { SaveToStream(Stream); }
    void DefineProperties(TFiler* Filer) override;

    TNotifyEvent OnChange;

protected:
    virtual bool GetEmpty() const = 0;
    virtual int GetWidth() const = 0;
    virtual int GetHeight() const = 0;
    virtual void Changed(TObject* Sender);
    bool FTransparent = false;
    bool FModified = false;
};

using TGraphicClass = std::function<TGraphic*()>;

// The room a device-independent copy of the bitmap takes at its own bit depth:
// the info header with its colour table, and the rows (bottom-up, each
// padded to 32 bits). Zero for both when there is no bitmap.
void GetDIBSizes(HBITMAP Bitmap, Cardinal& InfoHeaderSize, Cardinal& ImageSize);
// Fills BitmapInfo (GetDIBSizes' InfoHeaderSize bytes) and Bits (ImageSize
// bytes) with that copy; false when there is no bitmap or it cannot be read.
bool GetDIB(HBITMAP Bitmap, HPALETTE Palette, void* BitmapInfo, void* Bits);

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TTransparentMode { tmAuto, tmFixed };
enum TBitmapHandleType { bhDevice, bhDIB };

class TBitmap : public TGraphic {
    VEL_CLASS(TBitmap, TGraphic)
public:
    TBitmap();
    TBitmap(int AWidth, int AHeight);
    ~TBitmap() override;

    void Assign(TPersistent* Source) override;
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;
    void LoadFromStream(TStream* Stream) override;
    // Writes a BMP file: 32 bits for pf32bit, 24 bits otherwise.
    void SaveToStream(TStream* Stream) override;
    void LoadFromResourceName(HINSTANCE Instance, const String& ResName);
    // A 32-bit byte count, then the BMP file.
    void ReadData(TStream* Stream) override;
    void WriteData(TStream* Stream) override;
    void SetWidth(int v) override { SetSize(v, Height()); }
    void SetHeight(int v) override { SetSize(Width(), v); }
    void SetSize(int AWidth, int AHeight);

    TCanvas* Canvas();
    HBITMAP Handle();
    // Takes ownership of h (null empties the bitmap).
    void SetHandle(HBITMAP h);
    HBITMAP ReleaseHandle();
    TPixelFormat PixelFormat() const { return FPixelFormat; }
    void SetPixelFormat(TPixelFormat v);
    TBitmapHandleType HandleType() const { return FHandleType; }
    void SetHandleType(TBitmapHandleType v) { FHandleType = v; }
    // Row y of the pixels in the pixel format's layout.
    void* ScanLine(int Row);

    TTransparentMode TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(TTransparentMode v);
    // tmAuto: the bottom-left pixel; tmFixed: the colour set.
    TColor TransparentColor();
    void SetTransparentColor(TColor v);
    // Turns the image into its monochrome mask: pixels of the colour white,
    // the others black.
    void Mask(TColor TransparentColor);

    // The pixels as straight ARGB (for the other image classes and lists).
    TImageData ToImage();
    void FromImage(const TImageData& img, TPixelFormat pf = pf32bit);

protected:
    bool GetEmpty() const override { return !FHandle; }
    int GetWidth() const override;
    int GetHeight() const override;

private:
    void NewHandle(int w, int h, TPixelFormat pf, bool keep);
    HBITMAP FHandle = nullptr;
    TPixelFormat FPixelFormat = pfDevice;
    TBitmapHandleType FHandleType = bhDIB;
    TTransparentMode FTransparentMode = tmAuto;
    TColor FTransparentColor = clDefault;
    std::unique_ptr<TCanvas> FCanvas;
    HDC FDC = nullptr;
    HGDIOBJ FOldBitmap = nullptr;
};

// Images with alpha drawn over the canvas (icons, PNG, GIF frames).
class TAlphaImage : public TGraphic {
    VEL_CLASS(TAlphaImage, TGraphic)
public:
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;
    const TImageData& Image() const { return FImage; }

protected:
    bool GetEmpty() const override { return FImage.Empty(); }
    int GetWidth() const override { return FImage.Width; }
    int GetHeight() const override { return FImage.Height; }
    TImageData FImage;
};

class TIcon : public TAlphaImage {
    VEL_CLASS(TIcon, TAlphaImage)
public:
    TIcon() { FTransparent = true; }
    void Assign(TPersistent* Source) override;
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;
    void LoadFromStream(TStream* Stream) override;
    // Writes the icon file as loaded (or a 32-bit icon of the image).
    void SaveToStream(TStream* Stream) override;
    const TIconData& Data() const { return FData; }
    // The image of the icon's entry nearest w x h.
    const TImageData& ImageFor(int w, int h) const;

private:
    TIconData FData;
    TBytes FBytes;
};

class TPngImage : public TAlphaImage {
    VEL_CLASS(TPngImage, TAlphaImage)
public:
    void Assign(TPersistent* Source) override;
    void LoadFromStream(TStream* Stream) override;
    void SaveToStream(TStream* Stream) override;
};

class TJPEGImage : public TAlphaImage {
    VEL_CLASS(TJPEGImage, TAlphaImage)
public:
    void Assign(TPersistent* Source) override;
    void LoadFromStream(TStream* Stream) override;
    // The bytes as loaded while unchanged; otherwise encoded at
    // CompressionQuality.
    void SaveToStream(TStream* Stream) override;
    // A 32-bit byte count, then the JPEG file.
    void ReadData(TStream* Stream) override;
    void WriteData(TStream* Stream) override;
    int CompressionQuality() const { return FQuality; }
    void SetCompressionQuality(int v) { FQuality = v < 1 ? 1 : v > 100 ? 100 : v; }
    bool Grayscale() const { return FGrayscale; }
    void SetGrayscale(bool v) { FGrayscale = v; FBytes.clear(); }

private:
    int FQuality = 90;
    bool FGrayscale = false;
    TBytes FBytes;
};

class TGIFImage : public TAlphaImage {
    VEL_CLASS(TGIFImage, TAlphaImage)
public:
    void Assign(TPersistent* Source) override;
    void LoadFromStream(TStream* Stream) override;
    void SaveToStream(TStream* Stream) override;   // the file as loaded
    int FrameCount() const { return int(FGif.Frames.size()); }
    int CurrentFrame() const { return FCurrent; }
    void SetCurrentFrame(int v);
    const TGifFrame& Frame(int i) const { return FGif.Frames.at(size_t(i)); }
    int FrameDelay(int i) const { return Frame(i).DelayCs; }
    const TGifData& Data() const { return FGif; }

protected:
    int GetWidth() const override { return FGif.ScreenWidth; }
    int GetHeight() const override { return FGif.ScreenHeight; }

private:
    TGifData FGif;
    TBytes FBytes;
    int FCurrent = 0;
};

// Keeps a metafile's bytes; this platform does not render metafiles.
class TMetafile : public TGraphic {
    VEL_CLASS(TMetafile, TGraphic)
public:
    void Assign(TPersistent* Source) override;
    void Draw(TCanvas* ACanvas, const TRect& Rect) override {}
    void LoadFromStream(TStream* Stream) override;
    void SaveToStream(TStream* Stream) override;
    // A 32-bit byte count that counts its own four bytes, then the file.
    void ReadData(TStream* Stream) override;
    void WriteData(TStream* Stream) override;
    const TBytes& Bytes() const { return FBytes; }
    bool Enhanced() const { return FEnhanced; }

protected:
    bool GetEmpty() const override { return FBytes.empty(); }
    int GetWidth() const override { return FWidth; }
    int GetHeight() const override { return FHeight; }

private:
    TBytes FBytes;
    int FWidth = 0, FHeight = 0;
    bool FEnhanced = true;
};

class TPicture : public TPersistent {
    VEL_CLASS(TPicture, TPersistent)
public:
    TPicture() = default;
    ~TPicture() override;

    TGraphic* Graphic() const { return FGraphic.get(); }
    // Keeps a copy of Graphic (of the same class); null empties the picture.
    void SetGraphic(TGraphic* Value);
    // The picture as a bitmap: any other graphic is replaced by an empty one.
    TBitmap* Bitmap();
    TIcon* Icon();
    int Width() const { return FGraphic ? FGraphic->Width() : 0; }
    int Height() const { return FGraphic ? FGraphic->Height() : 0; }
    bool Empty() const { return !FGraphic || FGraphic->Empty(); }

    void Assign(TPersistent* Source) override;
    // The class comes from the file's extension, else from its content;
    // EInvalidGraphic for neither.
    void LoadFromFile(const String& FileName);
    void SaveToFile(const String& FileName);
    // By content only.
    void LoadFromStream(TStream* Stream);
    void SaveToStream(TStream* Stream);
    // The binary property "Data": the graphic's class name as a short name,
    // then the graphic's own streaming data. Reading knows the classes
    // TBitmap, TIcon, TJPEGImage, TPngImage, TGIFImage and TMetafile and
    // refuses others with EReadError.
    void DefineProperties(TFiler* Filer) override;

    // Registered graphic classes, by extension (without the dot, any case).
    static void RegisterFileFormat(const String& Extension, const String& Description, TGraphicClass Factory);
    static void UnregisterGraphicClass(const String& Extension);
    static TGraphic* CreateForExtension(const String& Extension);
    static TGraphic* CreateForContent(const uint8_t* data, size_t size);

    TNotifyEvent OnChange;

protected:
    void AssignTo(TPersistent* Dest) override;

private:
    void Changed(TObject* Sender);
    void Take(TGraphic* g);
    std::unique_ptr<TGraphic> FGraphic;
};
