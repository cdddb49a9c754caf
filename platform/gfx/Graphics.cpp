// TGraphic, TPicture and the registry of graphic classes.
#include "platform/gfx/Graphics.h"

#include <cstring>
#include <cwctype>
#include <map>
#include <mutex>

#include "platform/base/Files.h"
#include "platform/base/Filer.h"

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

// ---------------------------------------------------------------------------
// Form streaming of graphics ("Data")

namespace {

// A 32-bit little-endian byte count and that many bytes, read into a stream
// of their own so that the image reader never sees past them. With
// CountsItself the count includes its own four bytes.
void ReadCountedBlock(TStream* Stream, bool CountsItself, TMemoryStream& Out)
{
    Byte len[4];
    if (Stream->Size() - Stream->Position() < 4) throw EReadError(L"Stream read error");
    Stream->ReadBuffer(len, 4);
    Int64 n = Int64(uint32_t(len[0]) | uint32_t(len[1]) << 8 | uint32_t(len[2]) << 16 | uint32_t(len[3]) << 24);
    if (CountsItself) n -= 4;
    if (n < 0 || n > Stream->Size() - Stream->Position()) throw EReadError(L"Stream read error");
    Out.SetSize(n);
    if (n) Stream->ReadBuffer(Out.Memory(), Integer(n));
    Out.SetPosition(0);
}

void WriteCountedBlock(TStream* Stream, TGraphic* G, bool CountsItself)
{
    TMemoryStream m;
    G->SaveToStream(&m);
    const uint32_t n = uint32_t(m.Size()) + (CountsItself ? 4 : 0);
    const Byte len[4] = {Byte(n), Byte(n >> 8), Byte(n >> 16), Byte(n >> 24)};
    Stream->WriteBuffer(len, 4);
    if (m.Size()) Stream->WriteBuffer(m.Memory(), Integer(m.Size()));
}

}  // namespace

void TGraphic::DefineProperties(TFiler* Filer)
{
    Filer->DefineBinaryProperty(
        L"Data", [this](TStream* s) { ReadData(s); }, [this](TStream* s) { WriteData(s); }, !Empty());
}

void TBitmap::ReadData(TStream* Stream)
{
    TMemoryStream m;
    ReadCountedBlock(Stream, false, m);
    LoadFromStream(&m);
}

void TBitmap::WriteData(TStream* Stream) { WriteCountedBlock(Stream, this, false); }

void TJPEGImage::ReadData(TStream* Stream)
{
    TMemoryStream m;
    ReadCountedBlock(Stream, false, m);
    LoadFromStream(&m);
}

void TJPEGImage::WriteData(TStream* Stream) { WriteCountedBlock(Stream, this, false); }

void TMetafile::ReadData(TStream* Stream)
{
    TMemoryStream m;
    ReadCountedBlock(Stream, true, m);
    LoadFromStream(&m);
}

void TMetafile::WriteData(TStream* Stream) { WriteCountedBlock(Stream, this, true); }

void TPicture::DefineProperties(TFiler* Filer)
{
    auto read = [this](TStream* s) {
        Byte n = 0;
        if (s->Read(&n, 1) != 1) throw EReadError(L"Stream read error");
        std::string name(n, '\0');
        if (n) s->ReadBuffer(name.data(), n);
        std::unique_ptr<TGraphic> g;
        if (name == "TBitmap") g = std::make_unique<TBitmap>();
        else if (name == "TIcon") g = std::make_unique<TIcon>();
        else if (name == "TJPEGImage") g = std::make_unique<TJPEGImage>();
        else if (name == "TPngImage") g = std::make_unique<TPngImage>();
        else if (name == "TGIFImage") g = std::make_unique<TGIFImage>();
        else if (name == "TMetafile") g = std::make_unique<TMetafile>();
        else throw EReadError(L"Invalid property value");
        g->ReadData(s);
        Take(g.release());
    };
    auto write = [this](TStream* s) {
        String cls = FGraphic->ClassName();
        std::string name(cls.begin(), cls.end());
        const Byte n = Byte(name.size() > 255 ? 255 : name.size());
        s->WriteBuffer(&n, 1);
        if (n) s->WriteBuffer(name.data(), n);
        FGraphic->WriteData(s);
    };
    Filer->DefineBinaryProperty(L"Data", read, write, !Empty());
}
