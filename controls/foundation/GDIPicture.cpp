// GDIPicture: the picture that keeps image file bytes and draws them
// through GDI+.
#include "controls/foundation/GDIPicture.h"

#include <cstring>
#include <exception>

#include "platform/base/ComObj.h"
#include "platform/base/Filer.h"
#include "platform/base/SysUtils.h"
#include "platform/gfx/Canvas.h"

namespace {

uint16_t Word16(const Byte* d, size_t at) { return uint16_t(d[at] | (d[at + 1] << 8)); }
uint32_t Word32(const Byte* d, size_t at)
{
    return uint32_t(d[at]) | (uint32_t(d[at + 1]) << 8) | (uint32_t(d[at + 2]) << 16) | (uint32_t(d[at + 3]) << 24);
}

}  // namespace

TPictureFormat PictureFormatOf(const Byte* d, size_t size)
{
    if (!d || size <= 43) return pfNone;
    switch (Word16(d, 0)) {
    case 0x4949: return Word16(d, 2) == 42 ? pfTiff : pfNone;
    case 0x4D42: return pfBMP;
    case 0x4D4D: return Word16(d, 2) == 0x2A00 ? pfTiff : pfNone;
    case 0xD8FF: return pfJPG;
    default: break;
    }
    static const Byte png[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
    if (std::memcmp(d, png, 8) == 0) return pfPNG;
    if (Word32(d, 0) == 0x9AC6CDD7u) return pfMetaFile;
    if (Word32(d, 0) == 1 && std::memcmp(d + 40, " EMF", 4) == 0) return pfMetaFile;
    if (d[0] == 'G' && d[1] == 'I' && d[2] == 'F') return pfGIF;
    if (Word16(d, 2) == 1) return pfICO;
    return pfNone;
}

TGDIPPicture::TGDIPPicture() : FDatastream(new TMemoryStream) {}

TGDIPPicture::~TGDIPPicture() = default;

TPictureFormat TGDIPPicture::PictureFormat() const
{
    return PictureFormatOf(static_cast<const Byte*>(FDatastream->Memory()), size_t(FDatastream->Size()));
}

template <class F>
bool TGDIPPicture::WithImage(F use)
{
    if (FIsEmpty || FDatastream->Size() == 0) return false;
    const size_t n = size_t(FDatastream->Size());
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, n);
    if (!block) throw Exception(L"Could not allocate memory for image");
    TComPtr<IStream> stream;
    if (CreateStreamOnHGlobal(block, 1, stream.ReleaseAndGetAddressOf()) != S_OK || !stream) {
        GlobalFree(block);
        return false;
    }
    ULONG written = 0;
    if (FAILED(stream->Write(FDatastream->Memory(), ULONG(n), &written)) || written < n) return false;
    // GDI+ reads from the stream's position.
    stream->Seek(0, STREAM_SEEK_SET, nullptr);
    std::unique_ptr<TGPImage> image(new TGPImage(stream.Get(), false));
    use(image.get());
    return true;
}

void TGDIPPicture::Draw(TCanvas* ACanvas, const TRect& Rect)
{
    if (!ACanvas) return;
    WithImage([&](TGPImage* image) {
        std::unique_ptr<TGPGraphics> graphics(new TGPGraphics(ACanvas->Handle()));
        if (image->GetFormat() == ifBMP && FTransparentBitmap) {
            // The platform bitmap keys out its bottom-left colour.
            graphics.reset();
            TBitmap bitmap;
            FDatastream->SetPosition(0);
            bitmap.LoadFromStream(FDatastream.get());
            bitmap.SetTransparentMode(tmAuto);
            bitmap.SetTransparent(true);
            ACanvas->StretchDraw(Rect, &bitmap);
            return;
        }
        FWidth = Integer(image->GetWidth());
        FHeight = Integer(image->GetHeight());
        std::unique_ptr<TGPMatrix> rotation;
        if (FAngle != 0) {
            rotation.reset(new TGPMatrix());
            rotation->RotateAt(REAL(FAngle), TGPPointF{REAL(FWidth / 2.0 + Rect.Left), REAL(FHeight / 2.0 + Rect.Top)},
                               MatrixOrderPrepend);
            graphics->SetTransform(rotation.get());
        }
        graphics->DrawImageRect(image, Rect.Left, Rect.Top, Rect.Right - Rect.Left, Rect.Bottom - Rect.Top);
        if (rotation) graphics->ResetTransform();
    });
}

void TGDIPPicture::DrawImage(TGPGraphics* Graphics, Integer X, Integer Y)
{
    if (!Graphics) return;
    WithImage([&](TGPImage* image) { Graphics->DrawImage(image, X, Y); });
}

void TGDIPPicture::DrawImageRect(TGPGraphics* Graphics, Integer X, Integer Y, Integer W, Integer H)
{
    if (!Graphics) return;
    WithImage([&](TGPImage* image) { Graphics->DrawImageRect(image, X, Y, W, H); });
}

bool TGDIPPicture::GetImageSizes()
{
    return WithImage([&](TGPImage* image) {
        FWidth = Integer(image->GetWidth());
        FHeight = Integer(image->GetHeight());
    });
}

void TGDIPPicture::FireClear()
{
    if (OnClear) OnClear(this);
}

void TGDIPPicture::TakeBytes(TStream* Stream)
{
    FDatastream->LoadFromStream(Stream);
    FDatastream->SetPosition(0);
}

void TGDIPPicture::TakeGraphic(TGraphic* Graphic)
{
    TMemoryStream m;
    if (Graphic) Graphic->SaveToStream(&m);
    TakeBytes(&m);
}

void TGDIPPicture::Assign(TPersistent* Source)
{
    FIsEmpty = true;
    if (!Source) {
        FDatastream->Clear();
        Changed(this);
        FireClear();
        return;
    }
    if (auto* picture = dynamic_cast<TGDIPPicture*>(Source)) {
        if (picture != this) {
            TMemoryStream copy;
            copy.LoadFromStream(picture->FDatastream.get());
            TakeBytes(&copy);
        }
        FIsEmpty = FDatastream->Size() == 0;
    } else if (auto* bitmap = dynamic_cast<TBitmap*>(Source)) {
        TakeGraphic(bitmap);
        FIsEmpty = FDatastream->Size() == 0;
    } else if (auto* pic = dynamic_cast<TPicture*>(Source)) {
        TakeGraphic(pic->Graphic());
        FIsEmpty = false;
    } else if (auto* graphic = dynamic_cast<TGraphic*>(Source)) {
        TakeGraphic(graphic);
        FIsEmpty = false;
    } else {
        // Not a picture: the bytes stay, but the picture counts as empty.
        GetImageSizes();
        return;
    }
    Changed(this);
    GetImageSizes();
}

void TGDIPPicture::LoadFromFile(const String& FileName)
{
    try {
        FDatastream->LoadFromFile(FileName);
        FDatastream->SetPosition(0);
        FIsEmpty = false;
        FFileName = FileName;
        FireClear();
        GetImageSizes();
        Changed(this);
    } catch (const std::exception&) {
        FIsEmpty = true;
    }
}

void TGDIPPicture::LoadFromStream(TStream* Stream)
{
    if (!Stream) return;
    TakeBytes(Stream);
    FIsEmpty = false;
    GetImageSizes();
    Changed(this);
}

void TGDIPPicture::LoadFromResourceName(HINSTANCE Instance, const String& ResName)
{
    if (!FindResource(Instance, ResName, RT_RCDATA)) return;
    TResourceStream stream(Instance, ResName, RT_RCDATA);
    LoadFromStream(&stream);
}

void TGDIPPicture::LoadFromResourceID(HINSTANCE Instance, Integer ResID)
{
    TResourceStream stream(Instance, TResId(ResID), RT_RCDATA);
    LoadFromStream(&stream);
}

void TGDIPPicture::LoadFromURL(const String& URL)
{
    const String upper = UpperCase(URL);
    if (upper.starts_with(L"RES://")) {
        const String name = URL.substr(6);
        if (!name.empty()) LoadFromResourceName(HInstance, name);
    } else if (upper.starts_with(L"FILE://")) {
        const String path = URL.substr(7);
        if (!path.empty()) LoadFromFile(path);
    }
}

void TGDIPPicture::SaveToStream(TStream* Stream)
{
    if (!Stream || FDatastream->Size() == 0) return;
    Stream->WriteBuffer(FDatastream->Memory(), Integer(FDatastream->Size()));
}

void TGDIPPicture::ReadData(TStream* Stream)
{
    if (!Stream) return;
    TakeBytes(Stream);
    FIsEmpty = false;
}

void TGDIPPicture::WriteData(TStream* Stream) { SaveToStream(Stream); }

void TGDIPPicture::DefineProperties(TFiler* Filer)
{
    Filer->DefineBinaryProperty(
        L"Data", [this](TStream* s) { ReadData(s); }, [this](TStream* s) { WriteData(s); },
        FDatastream->Size() > 0);
}
