// TGraphic, TPicture and the registry of graphic classes.
#include "platform/gfx/Graphics.h"

#include <cstring>
#include <cwctype>
#include <map>
#include <mutex>

#include "platform/base/Files.h"

void TGraphic::SetTransparent(bool v)
{
    if (v == FTransparent) return;
    FTransparent = v;
    Changed(this);
}

void TGraphic::Changed(TObject*)
{
    FModified = true;
    if (OnChange) OnChange(this);
}

void TGraphic::LoadFromFile(const String& FileName)
{
    TFileStream f(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&f);
}

void TGraphic::SaveToFile(const String& FileName)
{
    TMemoryStream m;
    SaveToStream(&m);
    m.SaveToFile(FileName);
}

// ---- registry -------------------------------------------------------------

namespace {

struct TFormat {
    String Description;
    TGraphicClass Factory;
};

String LowerExt(String e)
{
    if (!e.empty() && e[0] == L'.') e.erase(0, 1);
    for (auto& c : e) c = wchar_t(std::towlower(wint_t(c)));
    return e;
}

std::mutex gFormatsLock;

std::map<String, TFormat>& Formats()
{
    static std::map<String, TFormat> formats = [] {
        std::map<String, TFormat> f;
        f[L"bmp"] = {L"Bitmaps", [] { return static_cast<TGraphic*>(new TBitmap); }};
        f[L"dib"] = f[L"bmp"];
        f[L"ico"] = {L"Icons", [] { return static_cast<TGraphic*>(new TIcon); }};
        f[L"cur"] = f[L"ico"];
        f[L"png"] = {L"Portable Network Graphics", [] { return static_cast<TGraphic*>(new TPngImage); }};
        f[L"jpg"] = {L"JPEG Image File", [] { return static_cast<TGraphic*>(new TJPEGImage); }};
        f[L"jpeg"] = f[L"jpg"];
        f[L"jpe"] = f[L"jpg"];
        f[L"jfif"] = f[L"jpg"];
        f[L"gif"] = {L"GIF Image", [] { return static_cast<TGraphic*>(new TGIFImage); }};
        f[L"emf"] = {L"Enhanced Metafiles", [] { return static_cast<TGraphic*>(new TMetafile); }};
        f[L"wmf"] = {L"Metafiles", [] { return static_cast<TGraphic*>(new TMetafile); }};
        return f;
    }();
    return formats;
}

}  // namespace

void TPicture::RegisterFileFormat(const String& Extension, const String& Description, TGraphicClass Factory)
{
    std::lock_guard<std::mutex> g(gFormatsLock);
    Formats()[LowerExt(Extension)] = {Description, std::move(Factory)};
}

void TPicture::UnregisterGraphicClass(const String& Extension)
{
    std::lock_guard<std::mutex> g(gFormatsLock);
    Formats().erase(LowerExt(Extension));
}

TGraphic* TPicture::CreateForExtension(const String& Extension)
{
    std::lock_guard<std::mutex> g(gFormatsLock);
    auto it = Formats().find(LowerExt(Extension));
    return it == Formats().end() ? nullptr : it->second.Factory();
}

TGraphic* TPicture::CreateForContent(const uint8_t* data, size_t size)
{
    switch (SniffImageFormat(data, size)) {
    case TImageFormat::Bmp: return CreateForExtension(L"bmp");
    case TImageFormat::Png: return CreateForExtension(L"png");
    case TImageFormat::Jpeg: return CreateForExtension(L"jpg");
    case TImageFormat::Gif: return CreateForExtension(L"gif");
    case TImageFormat::Ico:
    case TImageFormat::Cur: return CreateForExtension(L"ico");
    case TImageFormat::Emf: return CreateForExtension(L"emf");
    case TImageFormat::Wmf: return CreateForExtension(L"wmf");
    default: return nullptr;
    }
}

// ---- TPicture -------------------------------------------------------------

TPicture::~TPicture() = default;

void TPicture::Changed(TObject*)
{
    if (OnChange) OnChange(this);
}

void TPicture::Take(TGraphic* g)
{
    FGraphic.reset(g);
    if (FGraphic) FGraphic->OnChange = [this](TObject* s) { Changed(s); };
    Changed(this);
}

void TPicture::SetGraphic(TGraphic* Value)
{
    if (!Value) {
        Take(nullptr);
        return;
    }
    TGraphic* copy = static_cast<TGraphic*>(Value->ClassType()->Create ? Value->ClassType()->Create(nullptr) : nullptr);
    if (!copy) throw EInvalidGraphicOperation(L"Cannot copy this graphic");
    std::unique_ptr<TGraphic> guard(copy);
    copy->Assign(Value);
    Take(guard.release());
}

TBitmap* TPicture::Bitmap()
{
    if (!dynamic_cast<TBitmap*>(FGraphic.get())) Take(new TBitmap);
    return static_cast<TBitmap*>(FGraphic.get());
}

TIcon* TPicture::Icon()
{
    if (!dynamic_cast<TIcon*>(FGraphic.get())) Take(new TIcon);
    return static_cast<TIcon*>(FGraphic.get());
}

void TPicture::Assign(TPersistent* Source)
{
    if (!Source) {
        SetGraphic(nullptr);
    } else if (auto* p = dynamic_cast<TPicture*>(Source)) {
        SetGraphic(p->Graphic());
    } else if (auto* g = dynamic_cast<TGraphic*>(Source)) {
        SetGraphic(g);
    } else {
        TPersistent::Assign(Source);
    }
}

void TPicture::AssignTo(TPersistent* Dest)
{
    if (FGraphic && dynamic_cast<TGraphic*>(Dest))
        Dest->Assign(FGraphic.get());
    else
        TPersistent::AssignTo(Dest);
}

void TPicture::LoadFromFile(const String& FileName)
{
    TMemoryStream m;
    m.LoadFromFile(FileName);
    const auto* data = static_cast<const uint8_t*>(m.Memory());
    std::unique_ptr<TGraphic> g(CreateForExtension(ExtractFileExt(FileName)));
    // A known extension whose content says otherwise (a PNG named .bmp) is
    // read by its content, as the user would expect.
    if (!g || (SniffImageFormat(data, size_t(m.Size())) != TImageFormat::Unknown &&
               std::unique_ptr<TGraphic>(CreateForContent(data, size_t(m.Size())))->ClassType() != g->ClassType()))
        g.reset(CreateForContent(data, size_t(m.Size())));
    if (!g) throw EInvalidGraphic(L"Unknown picture file extension (" + ExtractFileExt(FileName) + L")");
    m.SetPosition(0);
    g->LoadFromStream(&m);
    Take(g.release());
}

void TPicture::LoadFromStream(TStream* Stream)
{
    TMemoryStream m;
    m.CopyFrom(Stream, Stream->Size() - Stream->Position());
    std::unique_ptr<TGraphic> g(CreateForContent(static_cast<const uint8_t*>(m.Memory()), size_t(m.Size())));
    if (!g) throw EInvalidGraphic(L"Unknown picture format");
    m.SetPosition(0);
    g->LoadFromStream(&m);
    Take(g.release());
}

void TPicture::SaveToFile(const String& FileName)
{
    if (FGraphic) FGraphic->SaveToFile(FileName);
}

void TPicture::SaveToStream(TStream* Stream)
{
    if (FGraphic) FGraphic->SaveToStream(Stream);
}

// ---- device-independent copies ----------------------------------------------

namespace {

// The bitmap's own format as GetDIBits reports it; false when it has none.
bool OwnDibHeader(HBITMAP Bitmap, BITMAPINFOHEADER& Header)
{
    BITMAPINFO probe{};
    probe.bmiHeader.biBitCount = 0;
    if (!Bitmap || GetDIBits(nullptr, Bitmap, 0, 0, nullptr, &probe, DIB_RGB_COLORS) == 0) return false;
    Header = probe.bmiHeader;
    return true;
}

Cardinal ColourTableSize(const BITMAPINFOHEADER& h)
{
    return h.biBitCount <= 8 ? Cardinal((1u << h.biBitCount) * sizeof(RGBQUAD)) : 0;
}

}  // namespace

void GetDIBSizes(HBITMAP Bitmap, Cardinal& InfoHeaderSize, Cardinal& ImageSize)
{
    InfoHeaderSize = 0;
    ImageSize = 0;
    BITMAPINFOHEADER h;
    if (!OwnDibHeader(Bitmap, h)) return;
    InfoHeaderSize = Cardinal(sizeof(BITMAPINFOHEADER)) + ColourTableSize(h);
    ImageSize = h.biSizeImage;
}

bool GetDIB(HBITMAP Bitmap, HPALETTE /*Palette*/, void* BitmapInfo, void* Bits)
{
    BITMAPINFOHEADER h;
    if (!BitmapInfo || !Bits || !OwnDibHeader(Bitmap, h)) return false;
    // The caller's block holds the header and the colour table only.
    std::vector<Byte> info(sizeof(BITMAPINFO) + ColourTableSize(h));
    auto* bi = reinterpret_cast<BITMAPINFO*>(info.data());
    bi->bmiHeader = h;
    if (GetDIBits(nullptr, Bitmap, 0, UINT(h.biHeight), Bits, bi, DIB_RGB_COLORS) == 0) return false;
    std::memcpy(BitmapInfo, info.data(), sizeof(BITMAPINFOHEADER) + ColourTableSize(h));
    return true;
}
