// The component streaming format: a record is the signature "TPF0", the
// class name and the component name as short names, the properties (each a
// short name, its dotted path, followed by one tagged value), a list end,
// the child components and a list end. Integers are little-endian.
//
// TWriter picks the smallest tag that holds a value; TReader checks every
// length against what the stream still holds, so a damaged stream gives
// EReadError and never a huge allocation or a read past its end.
#pragma once

#include <functional>
#include <initializer_list>
#include <vector>

#include "platform/base/Objects.h"
#include "platform/base/Streams.h"

enum TValueType : Byte {
    vaNull = 0,         // end of a list
    vaList = 1,
    vaInt8 = 2,
    vaInt16 = 3,
    vaInt32 = 4,
    vaExtended = 5,     // 10 bytes, x87 80-bit extended precision
    vaString = 6,       // length byte, then the bytes
    vaIdent = 7,        // a short name
    vaFalse = 8,
    vaTrue = 9,
    vaBinary = 10,      // 32-bit length, then the bytes
    vaSet = 11,         // short names of the members, then an empty one
    vaLString = 12,     // 32-bit length, then the bytes
    vaNil = 13,
    vaCollection = 14,  // items as lists, closed by vaNull
    vaSingle = 15,
    vaCurrency = 16,
    vaDate = 17,        // 8-byte double
    vaWString = 18,     // 32-bit character count, then UTF-16LE
    vaInt64 = 19,
    vaUTF8String = 20,  // 32-bit length, then UTF-8
    vaDouble = 21,
};

class TReader;
class TWriter;
using TReaderProc = std::function<void(TReader* Reader)>;
using TWriterProc = std::function<void(TWriter* Writer)>;
using TStreamProc = std::function<void(TStream* Stream)>;

class TFiler : public TObject {
    VEL_CLASS(TFiler, TObject)
public:
    explicit TFiler(TStream* Stream) : FStream(Stream) {}
    TFiler(const TFiler&) = delete;
    TFiler& operator=(const TFiler&) = delete;

    // A property that is not published: the writer calls WriteData when
    // HasData; the reader calls ReadData when the stream names it.
    virtual void DefineProperty(const String& Name, const TReaderProc& ReadData, const TWriterProc& WriteData,
                                bool HasData) = 0;
    // Likewise, with the value carried as binary data (vaBinary).
    virtual void DefineBinaryProperty(const String& Name, const TStreamProc& ReadData,
                                      const TStreamProc& WriteData, bool HasData) = 0;

    TStream* Stream() const { return FStream; }
    TComponent* Root() const { return FRoot; }
    void SetRoot(TComponent* Value) { FRoot = Value; }

protected:
    TStream* FStream;
    TComponent* FRoot = nullptr;
};

class TWriter : public TFiler {
    VEL_CLASS(TWriter, TFiler)
public:
    explicit TWriter(TStream* Stream) : TFiler(Stream) {}

    void DefineProperty(const String& Name, const TReaderProc& ReadData, const TWriterProc& WriteData,
                        bool HasData) override;
    void DefineBinaryProperty(const String& Name, const TStreamProc& ReadData, const TStreamProc& WriteData,
                              bool HasData) override;

    void WriteSignature();
    // Signature, then the component as the root of the record.
    void WriteRootComponent(TComponent* Root);
    void WriteComponent(TComponent* Component);
    // Published properties (base classes first), then DefineProperties.
    void WriteProperties(TPersistent* Instance);
    void WriteProperty(TPersistent* Instance, const TPropInfo& Prop);

    void WriteValue(TValueType Value);
    void WriteListBegin() { WriteValue(vaList); }
    void WriteListEnd() { WriteValue(vaNull); }
    // vaInt8, vaInt16 or vaInt32, whichever is the smallest that holds it;
    // vaInt64 only beyond 32 bits.
    void WriteInteger(Int64 Value);
    void WriteBoolean(bool Value) { WriteValue(Value ? vaTrue : vaFalse); }
    void WriteChar(Char Value) { WriteString(String(1, Value)); }
    // UTF-8 when that is shorter than twice the UTF-16 length: vaUTF8String
    // with any non-ASCII character, else vaString (up to 255 bytes) or
    // vaLString; otherwise vaWString.
    void WriteString(const String& Value);
    void WriteWideString(const String& Value) { WriteString(Value); }
    // A short name: one length byte, then up to 255 bytes of UTF-8.
    void WriteStr(const String& Value);
    // False, True, nil and Null become their own tags.
    void WriteIdent(const String& Ident);
    void WriteFloat(Extended Value);
    void WriteSingle(Single Value);
    void WriteDouble(double Value);
    void WriteCurrency(Currency Value);
    void WriteDate(TDateTime Value);
    // Members are bit positions in Bits, named by Names.
    void WriteSet(uint64_t Bits, const std::vector<String>& Names);
    void WriteBinary(const TStreamProc& WriteData);
    void WriteCollection(TCollection* Value);
    void WritePropName(const String& PropName);

    void Write(const void* Buffer, Integer Count) { FStream->WriteBuffer(Buffer, Count); }

private:
    void WriteComponentRef(TComponent* Component);
    String FPropPath;
};

class TReader : public TFiler {
    VEL_CLASS(TReader, TFiler)
public:
    explicit TReader(TStream* Stream) : TFiler(Stream) {}

    void DefineProperty(const String& Name, const TReaderProc& ReadData, const TWriterProc& WriteData,
                        bool HasData) override;
    void DefineBinaryProperty(const String& Name, const TStreamProc& ReadData, const TStreamProc& WriteData,
                              bool HasData) override;

    // EReadError "Invalid stream format" unless the next bytes are "TPF0".
    void ReadSignature();
    // Reads a record into Root (its class name is read and not compared) or,
    // when Root is null, into a new component of the class the record names
    // (registered with RegisterClass). The component is in csLoading and
    // csReading meanwhile, and Loaded follows.
    TComponent* ReadRootComponent(TComponent* Root);
    // A record without signature; null Component creates one, owned by the
    // root.
    TComponent* ReadComponent(TComponent* Component);
    // One property: its dotted path names published sub-objects, then a
    // published or defined property; EReadError "Property %s does not
    // exist" otherwise.
    void ReadProperty(TPersistent* Instance);

    TValueType ReadValue();
    TValueType NextValue();
    bool EndOfList() { return NextValue() == vaNull; }
    void ReadListBegin() { CheckValue(vaList); }
    void ReadListEnd() { CheckValue(vaNull); }
    Integer ReadInteger();
    Int64 ReadInt64();
    bool ReadBoolean();
    Char ReadChar();
    String ReadString();
    String ReadWideString() { return ReadString(); }
    String ReadStr();
    String ReadIdent();
    Extended ReadFloat();
    Single ReadSingle();
    double ReadDouble();
    Currency ReadCurrency();
    TDateTime ReadDate();
    uint64_t ReadSet(const std::vector<String>& Names);
    void ReadCollection(TCollection* Collection);
    void SkipValue();

    void Read(void* Buffer, Integer Count) { FStream->ReadBuffer(Buffer, Count); }
    // Bytes left in the stream.
    Int64 Remaining();

    // The owner of components the reader creates (the root when null).
    TComponent* Owner() const { return FOwner; }
    void SetOwner(TComponent* Value) { FOwner = Value; }

private:
    void CheckValue(TValueType Value);
    void ReadPropValue(TPersistent* Instance, const TPropInfo& Prop);
    TComponent* FindComponentRef(const String& Name) const;
    void SkipValue(int depth);
    TComponent* ReadComponentData(TComponent* Component, int depth);
    Integer CheckedLength(Int64 Count, Int64 Unit);
    [[noreturn]] void PropValueError();

    TComponent* FOwner = nullptr;
    String FPropName;
    int FDepth = 0;
};

// The class registry used to create components by the class name in a
// record. Registering another class under a name already taken raises
// EFilerError "A class named %s already exists"; the same class again is
// ignored.
void RegisterClass(TClass AClass);
void RegisterClasses(std::initializer_list<TClass> Classes);
void UnRegisterClass(TClass AClass);
// Null when not registered.
TClass GetClass(const String& ClassName);
// EClassNotFound "Class %s not found" when not registered.
TClass FindClass(const String& ClassName);

// Integers that stream as identifiers when they have a name (colours:
// "clRed"), registered under the type name given to TPublisher::IntegerIdent.
using TIdentToInt = std::function<bool(const String& Ident, Int64& Value)>;
using TIntToIdent = std::function<bool(Int64 Value, String& Ident)>;
void RegisterIntegerConsts(const String& TypeName, TIdentToInt IdentToInt, TIntToIdent IntToIdent);
bool FindIntegerConsts(const String& TypeName, TIdentToInt* IdentToInt, TIntToIdent* IntToIdent);

struct TIdentMapEntry {
    Int64 Value;
    const wchar_t* Name;
};
// Look-ups in a table of names; identifiers compare without case.
bool IdentToInt(const String& Ident, Int64& Value, const std::vector<TIdentMapEntry>& Map);
bool IntToIdent(Int64 Value, String& Ident, const std::vector<TIdentMapEntry>& Map);

// The 10 little-endian bytes of the x87 80-bit extended form, and back
// (rounded to the nearest double; infinities and NaN kept).
void DoubleToExtended80(double Value, Byte Out[10]);
double Extended80ToDouble(const Byte In[10]);
