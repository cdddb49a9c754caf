// PictureContainer: markup pictures, their cache and the named-picture
// container.
#include "controls/markup/PictureContainer.h"

#include <cstring>
#include <exception>

#include "controls/foundation/VodGDIP.h"
#include "platform/base/ComObj.h"
#include "platform/base/Filer.h"
#include "platform/base/Resources.h"
#include "platform/base/SysUtils.h"
#include "platform/gfx/Canvas.h"
#include "platform/ui/Controls.h"

// ---------------------------------------------------------------------------
// GIF scans. Every read past the position tested is guarded: a frame start
// counts only when its graphic control extension and the whole image
// descriptor that follows lie inside the data; a frame start whose
// descriptor is cut off ends the scan there.

namespace gif_scan {

namespace {

Word Word16(const Byte* d, size_t at) { return Word(d[at] | (d[at + 1] << 8)); }

enum TStart { NoStart, Start, CutOff };

// Graphic control extension (0x21 0xF9 0x04, 4 bytes, terminator) directly
// followed by an image descriptor (0x2C, position and size, packed byte).
TStart FrameStartAt(const Byte* d, size_t n, size_t p)
{
    if (d[p] != 0x21 || p + 9 >= n) return NoStart;
    if (d[p + 1] != 0xF9 || d[p + 2] != 0x04 || d[p + 8] != 0x2C) return NoStart;
    return p + 17 < n ? Start : CutOff;
}

}  // namespace

bool IsGIF(const Byte* d, size_t n) { return d && n >= 5 && std::memcmp(d, "GIF8", 4) == 0; }

Integer FrameCount(const Byte* d, size_t n)
{
    if (!IsGIF(d, n)) return -1;
    Integer count = 0;
    for (size_t p = 0; p < n; ++p) {
        const TStart s = FrameStartAt(d, n, p);
        if (s == CutOff) break;
        if (s == Start) ++count;
    }
    return count;
}

TFrameInfo FrameInfo(const Byte* d, size_t n, Integer Frame)
{
    TFrameInfo info;
    if (!IsGIF(d, n)) return info;
    Integer k = 1;
    for (size_t p = 0; p < n; ++p) {
        const TStart s = FrameStartAt(d, n, p);
        if (s == CutOff) break;
        if (s != Start) continue;
        if (k == Frame) {
            info.Delay = Word16(d, p + 4);
            info.Transparent = (d[p + 3] & 0x01) != 0;
            info.Disposal = Word((d[p + 3] >> 2) & 0x07);
            info.XPos = Word16(d, p + 9);
            info.YPos = Word16(d, p + 11);
            info.XSize = Word16(d, p + 13);
            info.YSize = Word16(d, p + 15);
            return info;
        }
        ++k;
    }
    return info;
}

TBytes Repack(const Byte* d, size_t n, Integer Frame)
{
    TBytes out;
    if (!d) return out;
    out.reserve(n);
    bool skip = false;
    Integer k = 1;
    for (size_t p = 0; p < n; ++p) {
        const TStart s = FrameStartAt(d, n, p);
        if (s == CutOff) break;
        if (s == Start) {
            ++k;
            skip = Frame >= k;
        }
        if (!skip) out.push_back(d[p]);
    }
    return out;
}

}  // namespace gif_scan

// ---------------------------------------------------------------------------
// Download thread

TDownLoadThread::TDownLoadThread(THTMLPicture* /*aHTMLPicture*/) : TThread(false)
{
    // The picture is not remembered: nothing is transferred, and the picture
    // may be freed while the thread still ends.
    SetFreeOnTerminate(true);
}

// ---------------------------------------------------------------------------
// THTMLPicture

namespace {

// A GDI+ image over a stream on movable global memory holding the bytes;
// null when the stream cannot be made or filled.
template <class F>
void WithImage(const TBytes& bytes, F use)
{
    if (bytes.empty()) return;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!block) throw Exception(L"Could not allocate memory for image");
    TComPtr<IStream> stream;
    if (CreateStreamOnHGlobal(block, 1, stream.ReleaseAndGetAddressOf()) != S_OK || !stream) {
        GlobalFree(block);
        return;
    }
    ULONG written = 0;
    if (FAILED(stream->Write(bytes.data(), ULONG(bytes.size()), &written)) || written < bytes.size()) return;
    stream->Seek(0, STREAM_SEEK_SET, nullptr);
    TGPImage image(stream.Get(), false);
    use(image);
}

}  // namespace

THTMLPicture::THTMLPicture() : FDatastream(new TMemoryStream) {}

THTMLPicture::~THTMLPicture() = default;

bool THTMLPicture::IsGIF() const { return gif_scan::IsGIF(Data(), Size()); }

Integer THTMLPicture::FrameCount()
{
    if (FFrameCount == -1 && IsGIF()) FFrameCount = gif_scan::FrameCount(Data(), Size());
    return IsGIF() ? FFrameCount : -1;
}

Integer THTMLPicture::FrameTime(Integer i)
{
    const gif_scan::TFrameInfo info = gif_scan::FrameInfo(Data(), Size(), i);
    if (info.Delay >= 0) {
        FFrameTransp = info.Transparent;
        FFrameDisposal = info.Disposal;
    }
    return info.Delay;
}

TBytes THTMLPicture::DecodableBytes()
{
    if (IsGIF() && FrameCount() > 0) return gif_scan::Repack(Data(), Size(), FFrame);
    return TBytes(Data(), Data() + Size());
}

void THTMLPicture::MeasureFrame()
{
    if (Size() == 0) return;
    FWidth = 0;
    FHeight = 0;
    FFrameXPos = FFrameYPos = FFrameXSize = FFrameYSize = 0;
    FAnimMaxX = FAnimMaxY = 0;
    if (IsGIF() && FrameCount() > 0) {
        const Byte* d = Data();
        if (Size() >= 10) {
            FAnimMaxX = Word(d[6] | (d[7] << 8));
            FAnimMaxY = Word(d[8] | (d[9] << 8));
        }
        const gif_scan::TFrameInfo info = gif_scan::FrameInfo(d, Size(), FFrame);
        if (info.Delay >= 0) {
            FFrameXPos = info.XPos;
            FFrameYPos = info.YPos;
            FFrameXSize = info.XSize;
            FFrameYSize = info.YSize;
        }
    }
    WithImage(DecodableBytes(), [&](TGPImage& image) {
        FWidth = Integer(image.GetWidth());
        FHeight = Integer(image.GetHeight());
    });
}

void THTMLPicture::Draw(TCanvas* ACanvas, const TRect& Rect)
{
    if (!ACanvas || FIsEmpty || Size() == 0) return;
    // A GIF shows its current frame: the frames before it are left out of
    // what is decoded, as measuring does.
    const TBytes bytes = DecodableBytes();
    WithImage(bytes, [&](TGPImage& image) {
        if (image.GetFormat() == ifBMP) {
            // The platform bitmap keys out its bottom-left colour.
            TBitmap bitmap;
            FDatastream->SetPosition(0);
            bitmap.LoadFromStream(FDatastream.get());
            FDatastream->SetPosition(0);
            bitmap.SetTransparentMode(tmAuto);
            bitmap.SetTransparent(true);
            ACanvas->StretchDraw(Rect, &bitmap);
            return;
        }
        TGPGraphics graphics(ACanvas->Handle());
        graphics.DrawImageRect(&image, Rect.Left, Rect.Top, Rect.Right - Rect.Left, Rect.Bottom - Rect.Top);
    });
}

void THTMLPicture::TakeBytes(TStream* Stream)
{
    Stream->SetPosition(0);
    FDatastream->LoadFromStream(Stream);
    FDatastream->SetPosition(0);
    FFrameCount = -1;
}

void THTMLPicture::LoadFromStream(TStream* Stream)
{
    if (!Stream) return;
    TakeBytes(Stream);
    FIsEmpty = false;
    MeasureFrame();
    Changed(this);
}

void THTMLPicture::ReadData(TStream* Stream)
{
    if (!Stream) return;
    TakeBytes(Stream);
    FIsEmpty = false;
    MeasureFrame();
}

void THTMLPicture::LoadFromFile(const String& FileName)
{
    try {
        FDatastream->LoadFromFile(FileName);
        FDatastream->SetPosition(0);
        FFrameCount = -1;
        FIsEmpty = false;
        MeasureFrame();
        Changed(this);
    } catch (const std::exception&) {
        FIsEmpty = true;
    }
}

void THTMLPicture::SaveToStream(TStream* Stream)
{
    if (!Stream || Size() == 0) return;
    Stream->WriteBuffer(FDatastream->Memory(), Integer(Size()));
}

void THTMLPicture::WriteData(TStream* Stream) { SaveToStream(Stream); }

void THTMLPicture::DefineProperties(TFiler* Filer)
{
    Filer->DefineBinaryProperty(
        L"Data", [this](TStream* s) { ReadData(s); }, [this](TStream* s) { WriteData(s); }, Size() > 0);
}

void THTMLPicture::LoadFromResourceName(HINSTANCE Instance, const String& ResName)
{
    if (!FindResource(Instance, ResName, RT_RCDATA)) return;
    TResourceStream stream(Instance, ResName, RT_RCDATA);
    LoadFromStream(&stream);
}

void THTMLPicture::LoadFromResourceID(HINSTANCE Instance, Integer ResID)
{
    TResourceStream stream(Instance, TResId(ResID), RT_RCDATA);
    LoadFromStream(&stream);
}

void THTMLPicture::LoadFromURL(const String& url)
{
    const String upper = UpperCase(url);
    if (upper.starts_with(L"RES://")) {
        FID = url;
        const String name = url.substr(6);
        if (!name.empty()) LoadFromResourceName(HInstance, name);
    } else if (upper.starts_with(L"FILE://")) {
        FID = url;
        const String path = url.substr(7);
        if (!path.empty()) LoadFromFile(path);
    } else if (!FAsynch) {
        FURL = url;
        FID = url;
    } else if (!FThreadBusy) {
        FURL = url;
        FThreadBusy = true;
        NewThread<TDownLoadThread>(this);
    }
}

void THTMLPicture::SetFrame(Integer Value)
{
    FFrame = Value;
    if (Size() == 0) return;
    MeasureFrame();
    if (OnFrameChange) OnFrameChange(this);
}

void THTMLPicture::FrameNext()
{
    if (FFrame < FFrameCount)
        ++FFrame;
    else
        FFrame = 1;
}

void THTMLPicture::FramePrev()
{
    if (FFrame > 1)
        --FFrame;
    else
        FFrame = FFrameCount;
}

bool THTMLPicture::Step()
{
    if (FIsEmpty || FrameCount() < 2) return false;
    if (FNextCount == -1) FNextCount = FrameTime(FFrame);
    if (FTimerCount * 10 < FNextCount) {
        ++FTimerCount;
        return false;
    }
    FrameNext();
    MeasureFrame();
    FNextCount += FrameTime(FFrame);
    ++FTimerCount;
    return true;
}

void THTMLPicture::Assign(TPersistent* Source)
{
    FIsEmpty = true;
    FFrameCount = -1;
    FNextCount = -1;
    FTimerCount = -1;
    SetFrame(1);
    if (!Source) {
        FDatastream->Clear();
        return;
    }
    if (auto* picture = dynamic_cast<THTMLPicture*>(Source)) {
        if (picture == this) {
            FIsEmpty = false;
            MeasureFrame();
            return;
        }
        FStretched = picture->FStretched;
        FFrame = picture->FFrame;
        FID = picture->FID;
        TMemoryStream copy;
        copy.LoadFromStream(picture->FDatastream.get());
        picture->FDatastream->SetPosition(0);
        TakeBytes(&copy);
        FIsEmpty = false;
        MeasureFrame();
        Changed(this);
    } else if (auto* pic = dynamic_cast<TPicture*>(Source)) {
        if (!pic->Graphic()) return;
        TMemoryStream m;
        pic->Graphic()->SaveToStream(&m);
        LoadFromStream(&m);
    } else if (auto* graphic = dynamic_cast<TGraphic*>(Source)) {
        TMemoryStream m;
        graphic->SaveToStream(&m);
        LoadFromStream(&m);
    } else {
        TGraphic::Assign(Source);
    }
}

// ---------------------------------------------------------------------------
// THTMLPictureCache

THTMLPictureCache::~THTMLPictureCache() { ClearPictures(); }

THTMLPicture* THTMLPictureCache::AddPicture()
{
    auto picture = std::make_unique<THTMLPicture>();
    Add(picture.get());
    return picture.release();
}

THTMLPicture* THTMLPictureCache::FindPicture(const String& ID) const
{
    for (Integer i = 0; i < Count(); ++i)
        if (GetPicture(i)->ID() == ID) return GetPicture(i);
    return nullptr;
}

void THTMLPictureCache::ClearPictures()
{
    for (Integer i = 0; i < Count(); ++i) delete GetPicture(i);
    Clear();
}

bool THTMLPictureCache::Animate()
{
    bool changed = false;
    for (Integer i = 0; i < Count(); ++i)
        if (GetPicture(i)->Step()) changed = true;
    return changed;
}

// ---------------------------------------------------------------------------
// Items, collection and container

TPictureItem::TPictureItem(TCollection* Collection) : TCollectionItem(Collection) { FPicture.reset(CreatePicture()); }

TPictureItem::~TPictureItem() = default;

TGraphic* TPictureItem::CreatePicture() { return new THTMLPicture; }

void TPictureItem::SetPicture(TGraphic* Value) { FPicture->Assign(Value); }

void TPictureItem::Assign(TPersistent* Source)
{
    auto* item = CheckedCast<TPictureItem>(static_cast<TObject*>(Source));
    if (!item) throw EInvalidCast(L"Invalid class typecast");
    if (item == this) return;
    FName = item->FName;
    FTag = item->FTag;
    FPicture->Assign(item->FPicture.get());
}

TPictureCollection::TPictureCollection(TComponent* AOwner) : TOwnedCollection(AOwner, GetItemClass()), FOwner(AOwner) {}

TCollectionItemClass TPictureCollection::GetItemClass() { return CollectionItemClass<TPictureItem>(); }

bool TPictureCollection::Animate()
{
    bool changed = false;
    for (Integer i = 0; i < Count(); ++i)
        if (Items(i)->Picture()->Step()) changed = true;
    return changed;
}

TPictureContainer::TPictureContainer(TComponent* AOwner) : TComponent(AOwner) { FItems.reset(CreateItems()); }

TPictureContainer::~TPictureContainer()
{
    // No registered control hears of this container again.
    for (Integer i = 0; i < FControls.Count(); ++i)
        static_cast<TComponent*>(FControls.Items(i))->RemoveFreeNotification(this);
}

TPictureCollection* TPictureContainer::CreateItems() { return new TPictureCollection(this); }

namespace {

bool SameAsciiText(const String& a, const String& b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        wchar_t x = a[i], y = b[i];
        if (x >= L'a' && x <= L'z') x = wchar_t(x - 32);
        if (y >= L'a' && y <= L'z') y = wchar_t(y - 32);
        if (x != y) return false;
    }
    return true;
}

}  // namespace

THTMLPicture* TPictureContainer::FindPicture(const String& Name)
{
    for (Integer i = 0; i < FItems->Count(); ++i)
        if (SameAsciiText(FItems->Items(i)->Name(), Name)) return FItems->Items(i)->Picture();
    return nullptr;
}

TPicture* TPictureContainer::FindBitmap(const String& Name)
{
    FPicture.reset();
    THTMLPicture* found = FindPicture(Name);
    if (!found) return nullptr;
    FPicture.reset(new TPicture);
    FPicture->Assign(found);
    return FPicture.get();
}

void TPictureContainer::RegisterControl(TControl* AControl)
{
    if (!AControl) return;
    // Kept as the component, so that the entry is found again when the
    // control, no longer a whole control, tells of its end.
    FControls.Add(static_cast<TComponent*>(AControl));
    AControl->FreeNotification(this);
}

void TPictureContainer::Changed()
{
    for (Integer i = 0; i < FControls.Count(); ++i) Controls(i)->Invalidate();
    if (OnChange) OnChange(this);
}

void TPictureContainer::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    for (Integer i = FControls.Count() - 1; i >= 0; --i)
        if (FControls.Items(i) == static_cast<void*>(AComponent)) FControls.Delete(i);
}

Integer TPictureContainer::GetVersionNr() const { return Integer(2u << 24); }

String TPictureContainer::Version() const
{
    const Cardinal v = Cardinal(GetVersionNr());
    return IntToStr(Integer(v >> 24)) + L"." + IntToStr(Integer((v >> 16) & 0xFF)) + L"." +
           IntToStr(Integer((v >> 8) & 0xFF)) + L"." + IntToStr(Integer(v & 0xFF));
}

void TPictureContainer::SetItems(TPictureCollection* Value)
{
    if (!Value || Value == FItems.get()) return;
    FItems->Assign(Value);
}

TControl* TPictureContainer::Controls(Integer Index) const
{
    return static_cast<TControl*>(static_cast<TComponent*>(FControls.Items(Index)));
}
