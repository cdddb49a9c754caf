#include "platform/base/Streams.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <stdexcept>

namespace {

String ErrnoText(int err)
{
    char buf[256];
    // GNU strerror_r may return its own static text instead of filling buf.
    const char* msg = strerror_r(err, buf, sizeof buf);
    return UTF8ToString(msg);
}

constexpr Integer kCopyBlock = 64 * 1024;

}  // namespace

// ---------------------------------------------------------------------------
// TStream

void TStream::ReadBuffer(void* Buffer, Integer Count)
{
    Integer done = 0;
    while (done < Count) {
        Integer n = Read(static_cast<Byte*>(Buffer) + done, Count - done);
        if (n <= 0) throw EReadError(L"Stream read error");
        done += n;
    }
}

void TStream::WriteBuffer(const void* Buffer, Integer Count)
{
    Integer done = 0;
    while (done < Count) {
        Integer n = Write(static_cast<const Byte*>(Buffer) + done, Count - done);
        if (n <= 0) throw EWriteError(L"Stream write error");
        done += n;
    }
}

Int64 TStream::Size()
{
    Int64 pos = Seek(0, soCurrent);
    Int64 size = Seek(0, soEnd);
    Seek(pos, soBeginning);
    return size;
}

void TStream::SetSize(Int64) {}

Int64 TStream::CopyFrom(TStream* Source, Int64 Count)
{
    if (Count <= 0) {
        Source->SetPosition(0);
        Count = Source->Size();
    }
    std::vector<Byte> buf(size_t(std::min<Int64>(Count, kCopyBlock)));
    Int64 left = Count;
    while (left > 0) {
        Integer n = Integer(std::min<Int64>(left, kCopyBlock));
        Source->ReadBuffer(buf.data(), n);
        WriteBuffer(buf.data(), n);
        left -= n;
    }
    return Count;
}

// ---------------------------------------------------------------------------
// THandleStream / TFileStream

Integer THandleStream::Read(void* Buffer, Integer Count)
{
    if (Count <= 0) return 0;
    ssize_t n;
    do n = ::read(FHandle, Buffer, size_t(Count));
    while (n < 0 && errno == EINTR);
    return n < 0 ? 0 : Integer(n);
}

Integer THandleStream::Write(const void* Buffer, Integer Count)
{
    if (Count <= 0) return 0;
    ssize_t n;
    do n = ::write(FHandle, Buffer, size_t(Count));
    while (n < 0 && errno == EINTR);
    return n < 0 ? 0 : Integer(n);
}

Int64 THandleStream::Seek(Int64 Offset, TSeekOrigin Origin)
{
    int whence = Origin == soBeginning ? SEEK_SET : (Origin == soCurrent ? SEEK_CUR : SEEK_END);
    return Int64(::lseek(FHandle, off_t(Offset), whence));
}

void THandleStream::SetSize(Int64 NewSize)
{
    Int64 pos = Position();
    if (::ftruncate(FHandle, off_t(NewSize)) != 0)
        throw EStreamError(L"Cannot set the stream size. " + ErrnoText(errno));
    if (pos > NewSize) Seek(0, soEnd);
}

TFileStream::TFileStream(const String& AFileName, Word Mode) : THandleStream(-1), FFileName(AFileName)
{
    std::string path = UTF8Encode(AFileName);
    if ((Mode & fmCreate) == fmCreate) {
        FHandle = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (FHandle < 0)
            throw EFCreateError(L"Cannot create file \"" + AFileName + L"\". " + ErrnoText(errno));
        return;
    }
    int access = (Mode & 3) == fmOpenWrite ? O_WRONLY : ((Mode & 3) == fmOpenReadWrite ? O_RDWR : O_RDONLY);
    FHandle = ::open(path.c_str(), access | O_CLOEXEC);
    int err = errno;
    if (FHandle >= 0) {
        struct stat st;
        if (::fstat(FHandle, &st) == 0 && S_ISDIR(st.st_mode)) {
            ::close(FHandle);
            FHandle = -1;
            err = EISDIR;
        }
    }
    if (FHandle < 0) throw EFOpenError(L"Cannot open file \"" + AFileName + L"\". " + ErrnoText(err));
}

TFileStream::~TFileStream()
{
    if (FHandle >= 0) ::close(FHandle);
}

// ---------------------------------------------------------------------------
// Memory streams

Integer TCustomMemoryStream::Read(void* Buffer, Integer Count)
{
    if (FPosition < 0 || Count <= 0 || FPosition >= FSize) return 0;
    Integer n = Integer(std::min<Int64>(FSize - FPosition, Count));
    std::memcpy(Buffer, static_cast<const Byte*>(FMemory) + FPosition, size_t(n));
    FPosition += n;
    return n;
}

Int64 TCustomMemoryStream::Seek(Int64 Offset, TSeekOrigin Origin)
{
    Int64 base = Origin == soBeginning ? 0 : (Origin == soCurrent ? FPosition : FSize);
    FPosition = base + Offset;
    return FPosition;
}

void TCustomMemoryStream::SaveToStream(TStream* Stream)
{
    Int64 done = 0;
    while (done < FSize) {
        Integer n = Integer(std::min<Int64>(FSize - done, kCopyBlock));
        Stream->WriteBuffer(static_cast<const Byte*>(FMemory) + done, n);
        done += n;
    }
}

void TCustomMemoryStream::SaveToFile(const String& FileName)
{
    WriteFileAtomically(FileName, FMemory, size_t(FSize));
}

Integer TMemoryStream::Write(const void* Buffer, Integer Count)
{
    if (FPosition < 0 || Count <= 0) return 0;
    Int64 end = FPosition + Count;
    if (end > Size()) SetSize(end);
    std::memcpy(FData.data() + FPosition, Buffer, size_t(Count));
    FPosition = end;
    return Count;
}

void TMemoryStream::SetSize(Int64 NewSize)
{
    if (NewSize < 0) NewSize = 0;
    // Far beyond any real content: a corrupt length, not a request to honour.
    if (NewSize > (Int64(1) << 40)) throw EStreamError(L"Out of memory while expanding memory stream");
    try {
        FData.resize(size_t(NewSize));
    } catch (const std::bad_alloc&) {
        throw EStreamError(L"Out of memory while expanding memory stream");
    } catch (const std::length_error&) {
        throw EStreamError(L"Out of memory while expanding memory stream");
    }
    SetPointer(FData.data(), NewSize);
    if (FPosition > NewSize) FPosition = NewSize;
}

void TMemoryStream::Clear()
{
    FData.clear();
    FData.shrink_to_fit();
    SetPointer(nullptr, 0);
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream* Stream)
{
    Stream->SetPosition(0);
    Int64 count = Stream->Size();
    SetSize(count);
    Int64 done = 0;
    while (done < count) {
        Integer n = Integer(std::min<Int64>(count - done, kCopyBlock));
        Stream->ReadBuffer(FData.data() + done, n);
        done += n;
    }
}

void TMemoryStream::LoadFromFile(const String& FileName)
{
    TFileStream f(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&f);
}

TBytesStream::TBytesStream(const TBytes& ABytes)
{
    FData = ABytes;
    SetPointer(FData.data(), Int64(FData.size()));
}

TBytes TBytesStream::Bytes() const { return FData; }

TStringStream::TStringStream(const String& AString, TEncoding* AEncoding) : FEncoding(AEncoding)
{
    FData = Encoding()->GetBytes(AString);
    SetPointer(FData.data(), Int64(FData.size()));
}

TEncoding* TStringStream::Encoding() const { return FEncoding ? FEncoding : TEncoding::UTF8(); }

String TStringStream::DataString() const { return Encoding()->GetString(FData.data(), FData.size()); }

String TStringStream::ReadString(Integer Count)
{
    if (FPosition < 0 || Count <= 0 || FPosition >= Size()) return String();
    Integer n = Integer(std::min<Int64>(Size() - FPosition, Count));
    String s = Encoding()->GetString(FData.data() + FPosition, size_t(n));
    FPosition += n;
    return s;
}

void TStringStream::WriteString(const String& AString)
{
    TBytes b = Encoding()->GetBytes(AString);
    if (!b.empty()) WriteBuffer(b.data(), Integer(b.size()));
}

TResourceStream::TResourceStream(HINSTANCE Instance, const TResId& ResName, const TResId& ResType)
{
    HRSRC res = FindResource(Instance, ResName, ResType);
    if (!res) throw EResNotFound(L"Resource " + ResName.ToString() + L" not found");
    SetPointer(const_cast<void*>(LockResource(LoadResource(Instance, res))), Int64(SizeofResource(Instance, res)));
}

Integer TResourceStream::Write(const void*, Integer)
{
    throw EStreamError(L"Can't write to a read-only resource stream");
}

// ---------------------------------------------------------------------------

void WriteFileAtomically(const String& FileName, const void* Data, size_t Size)
{
    std::string path = UTF8Encode(FileName);
    std::string tmpl = path + ".XXXXXX";
    auto fail = [&](int err) {
        throw EFCreateError(L"Cannot create file \"" + FileName + L"\". " + ErrnoText(err));
    };
    int fd = ::mkstemp(tmpl.data());
    if (fd < 0) fail(errno);
    struct stat st;
    mode_t mode = (::stat(path.c_str(), &st) == 0) ? (st.st_mode & 07777) : 0644;
    const Byte* p = static_cast<const Byte*>(Data);
    size_t left = Size;
    int err = 0;
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            err = n < 0 ? errno : EIO;
            break;
        }
        p += n;
        left -= size_t(n);
    }
    if (!err && ::fchmod(fd, mode) != 0) err = errno;
    if (!err && ::fsync(fd) != 0) err = errno;
    if (::close(fd) != 0 && !err) err = errno;
    if (!err && ::rename(tmpl.c_str(), path.c_str()) != 0) err = errno;
    if (err) {
        ::unlink(tmpl.c_str());
        fail(err);
    }
}
