// VodImage: the graphic drawn through an OLE picture.
#include "controls/foundation/VodImage.h"

#include <cstring>
#include <exception>

#include "platform/base/ComObj.h"
#include "platform/base/Filer.h"
#include "platform/gfx/Canvas.h"
#include "platform/ui/ExtCtrls.h"

TVodImage::TVodImage() : FDatastream(new TMemoryStream) {}

TVodImage::~TVodImage() = default;

int TVodImage::GetWidth() const
{
    if (!gpPicture) return 0;
    OLE_XSIZE_HIMETRIC w = 0;
    gpPicture->get_Width(&w);
    return MulDiv(w, FLogPixX, 2540);
}

int TVodImage::GetHeight() const
{
    if (!gpPicture) return 0;
    OLE_YSIZE_HIMETRIC h = 0;
    gpPicture->get_Height(&h);
    return MulDiv(h, fLogPixY, 2540);
}

void TVodImage::LoadPicture()
{
    const size_t n = size_t(FDatastream->Size());
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, n);
    if (!block) throw Exception(L"Could not allocate memory for image");
    if (n) {
        void* p = GlobalLock(block);
        std::memcpy(p, FDatastream->Memory(), n);
        GlobalUnlock(block);
    }
    TComPtr<IStream> stream;
    if (CreateStreamOnHGlobal(block, 1, stream.ReleaseAndGetAddressOf()) != S_OK) {
        GlobalFree(block);
        throw Exception(L"Could not create image stream");
    }
    if (!stream) throw Exception(L"Empty image stream created");
    gpPicture = nullptr;
    void* picture = nullptr;
    const HRESULT hr = OleLoadPicture(stream.Get(), LONG(n), 1, IID_IPicture, &picture);
    if (FAILED(hr)) throw Exception(L"Could not load image. Invalid format");
    if (!picture) throw Exception(L"Could not load image");
    gpPicture.Attach(static_cast<IPicture*>(picture));
}

void TVodImage::Draw(TCanvas* ACanvas, const TRect& Rect)
{
    if (!ACanvas || FIsEmpty || !gpPicture) return;
    OLE_XSIZE_HIMETRIC hmWidth = 0;
    OLE_YSIZE_HIMETRIC hmHeight = 0;
    gpPicture->get_Width(&hmWidth);
    gpPicture->get_Height(&hmHeight);
    // From the bottom with a negative height: the picture's y axis points up.
    gpPicture->Render(ACanvas->Handle(), Rect.Left, Rect.Bottom, Rect.Right - Rect.Left, -(Rect.Bottom - Rect.Top), 0,
                      0, hmWidth, hmHeight, &Rect);
}

void TVodImage::TakeBytes(TStream* Stream)
{
    FDatastream->LoadFromStream(Stream);
    FDatastream->SetPosition(0);
}

void TVodImage::LoadFromFile(const String& FileName)
{
    try {
        FDatastream->LoadFromFile(FileName);
        FDatastream->SetPosition(0);
        FIsEmpty = false;
        LoadPicture();
        Changed(this);
    } catch (const std::exception&) {
        FIsEmpty = true;
    }
}

void TVodImage::LoadFromStream(TStream* Stream)
{
    if (!Stream) return;
    TakeBytes(Stream);
    FIsEmpty = false;
    LoadPicture();
    Changed(this);
}

void TVodImage::ReadData(TStream* Stream)
{
    if (!Stream) return;
    TakeBytes(Stream);
    FIsEmpty = false;
    LoadPicture();
}

void TVodImage::LoadFromResourceName(HINSTANCE Instance, const String& ResName)
{
    TResourceStream stream(Instance, ResName, RT_RCDATA);
    LoadFromStream(&stream);
}

void TVodImage::LoadFromResourceID(HINSTANCE Instance, Integer ResID)
{
    TResourceStream stream(Instance, TResId(ResID), RT_RCDATA);
    LoadFromStream(&stream);
}

void TVodImage::SaveToStream(TStream* Stream)
{
    if (!Stream || FDatastream->Size() == 0) return;
    Stream->WriteBuffer(FDatastream->Memory(), Integer(FDatastream->Size()));
}

void TVodImage::WriteData(TStream* Stream) { SaveToStream(Stream); }

void TVodImage::DefineProperties(TFiler* Filer)
{
    Filer->DefineBinaryProperty(
        L"Data", [this](TStream* s) { ReadData(s); }, [this](TStream* s) { WriteData(s); },
        FDatastream->Size() > 0);
}

void TVodImage::TakeGraphic(TGraphic* Graphic)
{
    TMemoryStream m;
    if (Graphic) Graphic->SaveToStream(&m);
    TakeBytes(&m);
    FIsEmpty = false;
    try {
        LoadPicture();
    } catch (const std::exception&) {
        // A format the loader refuses (PNG): the bytes stay, nothing is drawn.
        gpPicture = nullptr;
    }
    Changed(this);
}

void TVodImage::Assign(TPersistent* Source)
{
    if (Source == this) return;
    FIsEmpty = true;
    gpPicture = nullptr;
    if (!Source) {
        FDatastream->Clear();
        Changed(this);
        return;
    }
    // Each step runs when the source is of its kind, independently of the
    // ones before.
    auto* image = dynamic_cast<TVodImage*>(Source);
    if (image && !image->FIsEmpty) {
        TMemoryStream copy;
        copy.LoadFromStream(image->FDatastream.get());
        TakeBytes(&copy);
        FIsEmpty = false;
        try {
            LoadPicture();
        } catch (const std::exception&) {
            gpPicture = nullptr;
        }
        Changed(this);
    }
    if (auto* control = dynamic_cast<TImage*>(Source)) TakeGraphic(control->Picture()->Graphic());
    if (auto* bitmap = dynamic_cast<TBitmap*>(Source)) TakeGraphic(bitmap);
    if (auto* graphic = dynamic_cast<TGraphic*>(Source); graphic) TakeGraphic(graphic);
    if (auto* picture = dynamic_cast<TPicture*>(Source)) TakeGraphic(picture->Graphic());
}
