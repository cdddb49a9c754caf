// Streams: the abstract TStream and its file, memory, string, bytes and
// resource kinds.
#pragma once

#include <vector>

#include "platform/base/Encoding.h"
#include "platform/base/Objects.h"
#include "platform/base/Resources.h"

enum TSeekOrigin { soBeginning = 0, soCurrent = 1, soEnd = 2 };
constexpr TSeekOrigin soFromBeginning = soBeginning;
constexpr TSeekOrigin soFromCurrent = soCurrent;
constexpr TSeekOrigin soFromEnd = soEnd;

class TStream : public TObject {
    VEL_CLASS(TStream, TObject)
public:
    // Reads up to Count bytes; answers how many were read (0 at the end).
    virtual Integer Read(void* Buffer, Integer Count) = 0;
    // Writes up to Count bytes; answers how many were written.
    virtual Integer Write(const void* Buffer, Integer Count) = 0;
    // Answers the new position.
    virtual Int64 Seek(Int64 Offset, TSeekOrigin Origin) = 0;

    // Exactly Count bytes or EReadError "Stream read error".
    void ReadBuffer(void* Buffer, Integer Count);
    // Exactly Count bytes or EWriteError "Stream write error".
    void WriteBuffer(const void* Buffer, Integer Count);

    Int64 Position() { return Seek(0, soCurrent); }
    void SetPosition(Int64 Pos) { Seek(Pos, soBeginning); }
    virtual Int64 Size();
    virtual void SetSize(Int64 NewSize);

    // Copies Count bytes from Source's position; Count 0 copies all of
    // Source from its beginning. Answers the bytes copied.
    Int64 CopyFrom(TStream* Source, Int64 Count);

    // One component record ("TPF0" signature first) at the position.
    void WriteComponent(TComponent* Instance);
    // Reads one record into Instance, or into a new component of the
    // registered class the record names when Instance is null; answers it.
    TComponent* ReadComponent(TComponent* Instance);
};

// File open modes; the share modes are accepted and not enforced.
constexpr Word fmCreate = 0xFF00;
constexpr Word fmOpenRead = 0x0000;
constexpr Word fmOpenWrite = 0x0001;
constexpr Word fmOpenReadWrite = 0x0002;
constexpr Word fmShareCompat = 0x0000;
constexpr Word fmShareExclusive = 0x0010;
constexpr Word fmShareDenyWrite = 0x0020;
constexpr Word fmShareDenyRead = 0x0030;
constexpr Word fmShareDenyNone = 0x0040;

class THandleStream : public TStream {
    VEL_CLASS(THandleStream, TStream)
public:
    explicit THandleStream(int AHandle) : FHandle(AHandle) {}
    Integer Read(void* Buffer, Integer Count) override;
    Integer Write(const void* Buffer, Integer Count) override;
    Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
    void SetSize(Int64 NewSize) override;
    int Handle() const { return FHandle; }

protected:
    int FHandle = -1;
};

class TFileStream : public THandleStream {
    VEL_CLASS(TFileStream, THandleStream)
public:
    // fmCreate creates or empties the file (EFCreateError "Cannot create file
    // "%s". <reason>"); the open modes need it to exist (EFOpenError "Cannot
    // open file "%s". <reason>").
    TFileStream(const String& AFileName, Word Mode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;
    const String& FileName() const { return FFileName; }

private:
    String FFileName;
};

// Bytes in memory, grown as written.
class TCustomMemoryStream : public TStream {
    VEL_CLASS(TCustomMemoryStream, TStream)
public:
    Integer Read(void* Buffer, Integer Count) override;
    Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
    Int64 Size() override { return FSize; }
    void* Memory() const { return FMemory; }
    void SaveToStream(TStream* Stream);
    // Written to a temporary file, then renamed over FileName.
    void SaveToFile(const String& FileName);

protected:
    void SetPointer(void* Ptr, Int64 Size)
    {
        FMemory = Ptr;
        FSize = Size;
    }
    Int64 FPosition = 0;

private:
    void* FMemory = nullptr;
    Int64 FSize = 0;
};

class TMemoryStream : public TCustomMemoryStream {
    VEL_CLASS(TMemoryStream, TCustomMemoryStream)
public:
    TMemoryStream() = default;
    ~TMemoryStream() override = default;
    Integer Write(const void* Buffer, Integer Count) override;
    void SetSize(Int64 NewSize) override;
    void Clear();
    void LoadFromStream(TStream* Stream);
    void LoadFromFile(const String& FileName);

protected:
    std::vector<Byte> FData;
};

class TBytesStream : public TMemoryStream {
    VEL_CLASS(TBytesStream, TMemoryStream)
public:
    TBytesStream() = default;
    explicit TBytesStream(const TBytes& ABytes);
    // The bytes written so far (Size of them).
    TBytes Bytes() const;
};

// Text kept as bytes in an encoding (UTF-8 unless given).
class TStringStream : public TBytesStream {
    VEL_CLASS(TStringStream, TBytesStream)
public:
    TStringStream() = default;
    explicit TStringStream(const String& AString, TEncoding* AEncoding = nullptr);
    // The bytes decoded with the stream's encoding.
    String DataString() const;
    String ReadString(Integer Count);
    void WriteString(const String& AString);
    TEncoding* Encoding() const;

private:
    TEncoding* FEncoding = nullptr;
};

// Read-only view of a resource compiled into the executable;
// EResNotFound "Resource <name> not found" when it is absent.
class TResourceStream : public TCustomMemoryStream {
    VEL_CLASS(TResourceStream, TCustomMemoryStream)
public:
    TResourceStream(HINSTANCE Instance, const TResId& ResName, const TResId& ResType);
    Integer Write(const void* Buffer, Integer Count) override;
};

// Writes the bytes to a temporary file in FileName's folder and renames it
// over FileName, so that a failure never leaves a half-written file.
void WriteFileAtomically(const String& FileName, const void* Data, size_t Size);
