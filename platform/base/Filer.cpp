#include "platform/base/Filer.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <mutex>
#include <utility>

#include "platform/base/Encoding.h"
#include "platform/base/SysUtils.h"

namespace {

const char kSignature[4] = {'T', 'P', 'F', '0'};
constexpr int kMaxDepth = 64;   // nesting of lists, collections and components

[[noreturn]] void InvalidFormat() { throw EReadError(L"Invalid stream format"); }

String PropertyMissing(const String& name) { return L"Property " + name + L" does not exist"; }

// Little-endian helpers.
template <class T>
void PutLE(Byte* p, T v)
{
    for (size_t i = 0; i < sizeof(T); ++i) p[i] = Byte(uint64_t(v) >> (8 * i));
}
template <class T>
T GetLE(const Byte* p)
{
    uint64_t v = 0;
    for (size_t i = 0; i < sizeof(T); ++i) v |= uint64_t(p[i]) << (8 * i);
    return T(v);
}

size_t Utf16Length(const String& s)
{
    size_t n = 0;
    for (wchar_t c : s) n += (uint32_t(c) > 0xFFFF) ? 2 : 1;
    return n;
}

std::vector<Byte> ToUtf16LE(const String& s)
{
    std::vector<Byte> out;
    out.reserve(s.size() * 2);
    auto put = [&](uint32_t u) {
        out.push_back(Byte(u));
        out.push_back(Byte(u >> 8));
    };
    for (wchar_t wc : s) {
        uint32_t c = uint32_t(wc);
        if (c > 0x10FFFF) c = 0xFFFD;
        if (c > 0xFFFF) {
            c -= 0x10000;
            put(0xD800 + (c >> 10));
            put(0xDC00 + (c & 0x3FF));
        } else {
            put(c);
        }
    }
    return out;
}

String FromUtf16LE(const Byte* p, size_t count)
{
    String s;
    s.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        uint32_t c = GetLE<uint16_t>(p + 2 * i);
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < count) {
            uint32_t d = GetLE<uint16_t>(p + 2 * (i + 1));
            if (d >= 0xDC00 && d <= 0xDFFF) {
                s += wchar_t(0x10000 + ((c - 0xD800) << 10) + (d - 0xDC00));
                ++i;
                continue;
            }
        }
        s += (c >= 0xD800 && c <= 0xDFFF) ? wchar_t(0xFFFD) : wchar_t(c);
    }
    return s;
}

bool IsIntTag(TValueType t) { return t == vaInt8 || t == vaInt16 || t == vaInt32 || t == vaInt64; }

// --- registries -------------------------------------------------------------

struct TClassRegistry {
    std::mutex Lock;
    std::map<String, TClass> Classes;   // upper-cased name
};
TClassRegistry& Classes()
{
    static TClassRegistry r;
    return r;
}

struct TIntConsts {
    TIdentToInt ToInt;
    TIntToIdent ToIdent;
};
struct TIntConstRegistry {
    std::mutex Lock;
    std::map<String, TIntConsts> Types;
};
TIntConstRegistry& IntConsts()
{
    static TIntConstRegistry r;
    return r;
}

// Restores a component's state flags however reading or writing ends.
class TStateScope {
public:
    TStateScope(TComponentState& state, TComponentState add) : FState(state), FAdded(add - state)
    {
        FState = FState + add;
    }
    ~TStateScope() { FState = FState - FAdded; }
    void Keep(TComponentStateFlag f) { FAdded.Exclude(f); }

private:
    TComponentState& FState;
    TComponentState FAdded;
};

}  // namespace

// ---------------------------------------------------------------------------
// 80-bit extended

void DoubleToExtended80(double Value, Byte Out[10])
{
    uint64_t bits;
    std::memcpy(&bits, &Value, 8);
    uint16_t sign = (bits >> 63) ? 0x8000 : 0;
    int exp = int((bits >> 52) & 0x7FF);
    uint64_t frac = bits & ((uint64_t(1) << 52) - 1);
    uint64_t mant = 0;
    int e80 = 0;
    if (exp == 0x7FF) {
        e80 = 0x7FFF;
        mant = (uint64_t(1) << 63) | (frac << 11);
        if (frac) mant |= uint64_t(1) << 62;   // quiet NaN
    } else if (exp == 0 && frac == 0) {
        e80 = 0;
        mant = 0;
    } else if (exp == 0) {
        // Subnormal double: normal in the wider exponent range.
        int shift = __builtin_clzll(frac);
        mant = frac << shift;
        e80 = 63 - 1074 - shift + 16383;
    } else {
        e80 = exp - 1023 + 16383;
        mant = (uint64_t(1) << 63) | (frac << 11);
    }
    PutLE<uint64_t>(Out, mant);
    PutLE<uint16_t>(Out + 8, uint16_t(sign | e80));
}

double Extended80ToDouble(const Byte In[10])
{
    uint64_t mant = GetLE<uint64_t>(In);
    uint16_t se = GetLE<uint16_t>(In + 8);
    bool neg = (se & 0x8000) != 0;
    int exp = se & 0x7FFF;
    double r;
    if (exp == 0x7FFF)
        r = (mant << 1) == 0 ? std::numeric_limits<double>::infinity() : std::numeric_limits<double>::quiet_NaN();
    else if (mant == 0)
        r = 0.0;
    else
        r = std::ldexp(double(mant), exp - 16383 - 63);   // 80-bit denormals flush to 0
    return neg ? -r : r;
}

// ---------------------------------------------------------------------------
// Registries

void RegisterClass(TClass AClass)
{
    if (!AClass) return;
    auto& r = Classes();
    std::lock_guard<std::mutex> g(r.Lock);
    String key = UpperCase(AClass->Name);
    auto it = r.Classes.find(key);
    if (it != r.Classes.end()) {
        if (it->second == AClass) return;
        throw EFilerError(L"A class named " + String(AClass->Name) + L" already exists");
    }
    r.Classes[key] = AClass;
}

void RegisterClasses(std::initializer_list<TClass> List)
{
    for (TClass c : List) RegisterClass(c);
}

void UnRegisterClass(TClass AClass)
{
    if (!AClass) return;
    auto& r = Classes();
    std::lock_guard<std::mutex> g(r.Lock);
    auto it = r.Classes.find(UpperCase(AClass->Name));
    if (it != r.Classes.end() && it->second == AClass) r.Classes.erase(it);
}

TClass GetClass(const String& ClassName)
{
    auto& r = Classes();
    std::lock_guard<std::mutex> g(r.Lock);
    auto it = r.Classes.find(UpperCase(ClassName));
    return it == r.Classes.end() ? nullptr : it->second;
}

TClass FindClass(const String& ClassName)
{
    TClass c = GetClass(ClassName);
    if (!c) throw EClassNotFound(L"Class " + ClassName + L" not found");
    return c;
}

void RegisterIntegerConsts(const String& TypeName, TIdentToInt ToInt, TIntToIdent ToIdent)
{
    auto& r = IntConsts();
    std::lock_guard<std::mutex> g(r.Lock);
    r.Types[UpperCase(TypeName)] = {std::move(ToInt), std::move(ToIdent)};
}

bool FindIntegerConsts(const String& TypeName, TIdentToInt* ToInt, TIntToIdent* ToIdent)
{
    auto& r = IntConsts();
    std::lock_guard<std::mutex> g(r.Lock);
    auto it = r.Types.find(UpperCase(TypeName));
    if (it == r.Types.end()) return false;
    if (ToInt) *ToInt = it->second.ToInt;
    if (ToIdent) *ToIdent = it->second.ToIdent;
    return true;
}

bool IdentToInt(const String& Ident, Int64& Value, const std::vector<TIdentMapEntry>& Map)
{
    for (const auto& e : Map) {
        if (SameText(Ident, e.Name)) {
            Value = e.Value;
            return true;
        }
    }
    return false;
}

bool IntToIdent(Int64 Value, String& Ident, const std::vector<TIdentMapEntry>& Map)
{
    for (const auto& e : Map) {
        if (e.Value == Value) {
            Ident = e.Name;
            return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------------------
// TWriter

void TWriter::DefineProperty(const String& Name, const TReaderProc&, const TWriterProc& WriteData, bool HasData)
{
    if (!HasData || !WriteData) return;
    WritePropName(Name);
    WriteData(this);
}

void TWriter::DefineBinaryProperty(const String& Name, const TStreamProc&, const TStreamProc& WriteData,
                                   bool HasData)
{
    if (!HasData || !WriteData) return;
    WritePropName(Name);
    WriteBinary(WriteData);
}

void TWriter::WriteSignature() { Write(kSignature, 4); }

void TWriter::WriteRootComponent(TComponent* Root)
{
    FRoot = Root;
    WriteSignature();
    WriteComponent(Root);
}

void TWriter::WriteComponent(TComponent* Component)
{
    TStateScope state(Component->FComponentState, {csWriting});
    if (!FRoot) FRoot = Component;
    WriteStr(Component->ClassName());
    WriteStr(Component->Name());
    String savedPath = std::exchange(FPropPath, String());
    WriteProperties(Component);
    FPropPath = savedPath;
    WriteListEnd();
    Component->GetChildren([this](TComponent* child) { WriteComponent(child); }, FRoot);
    WriteListEnd();
}

void TWriter::WriteProperties(TPersistent* Instance)
{
    for (const TPropInfo& p : Instance->ClassType()->Props) WriteProperty(Instance, p);
    Instance->DefineProperties(this);
}

void TWriter::WriteProperty(TPersistent* Instance, const TPropInfo& Prop)
{
    if (!Prop.Stored) return;
    switch (Prop.Kind) {
    case TPropKind::Integer:
    case TPropKind::Int64: {
        Int64 v = Prop.GetOrd(Instance);
        if (Prop.Default && *Prop.Default == v) return;
        WritePropName(Prop.Name);
        TIntToIdent toIdent;
        String ident;
        if (!Prop.TypeName.empty() && FindIntegerConsts(Prop.TypeName, nullptr, &toIdent) && toIdent &&
            toIdent(v, ident)) {
            WriteIdent(ident);
        } else if (Prop.Kind == TPropKind::Integer && Prop.OrdSize == 4 && !Prop.OrdSigned) {
            WriteInteger(Int64(int32_t(uint32_t(v))));   // 32-bit unsigned travels as its signed twin
        } else {
            WriteInteger(v);
        }
        break;
    }
    case TPropKind::Boolean: {
        Int64 v = Prop.GetOrd(Instance);
        if (Prop.Default && *Prop.Default == v) return;
        WritePropName(Prop.Name);
        WriteBoolean(v != 0);
        break;
    }
    case TPropKind::Enumeration: {
        Int64 v = Prop.GetOrd(Instance);
        if (Prop.Default && *Prop.Default == v) return;
        WritePropName(Prop.Name);
        if (v >= 0 && v < Int64(Prop.EnumNames.size()))
            WriteIdent(Prop.EnumNames[size_t(v)]);
        else
            WriteInteger(v);
        break;
    }
    case TPropKind::Set: {
        Int64 v = Prop.GetOrd(Instance);
        if (Prop.Default && *Prop.Default == v) return;
        WritePropName(Prop.Name);
        WriteSet(uint64_t(v), Prop.EnumNames);
        break;
    }
    case TPropKind::Float:
    case TPropKind::DateTime: {
        double v = Prop.GetFloat(Instance);
        if (v == 0) return;
        WritePropName(Prop.Name);
        if (Prop.Kind == TPropKind::DateTime)
            WriteDate(v);
        else
            WriteFloat(v);
        break;
    }
    case TPropKind::String: {
        String v = Prop.GetStr(Instance);
        if (v.empty()) return;
        WritePropName(Prop.Name);
        WriteString(v);
        break;
    }
    case TPropKind::Class: {
        TObject* o = Prop.GetObj(Instance);
        if (!o) return;
        auto* comp = dynamic_cast<TComponent*>(o);
        if (comp && !comp->ComponentStyle().Contains(csSubComponent)) {
            if (comp->Name().empty()) return;
            WritePropName(Prop.Name);
            WriteComponentRef(comp);
        } else if (auto* coll = dynamic_cast<TCollection*>(o)) {
            WritePropName(Prop.Name);
            WriteCollection(coll);
        } else if (auto* pers = dynamic_cast<TPersistent*>(o)) {
            String saved = FPropPath;
            FPropPath += Prop.Name + L".";
            try {
                WriteProperties(pers);
            } catch (...) {
                FPropPath = saved;
                throw;
            }
            FPropPath = saved;
        }
        break;
    }
    case TPropKind::Component: {
        auto* comp = dynamic_cast<TComponent*>(Prop.GetObj(Instance));
        if (!comp || comp->Name().empty()) return;
        WritePropName(Prop.Name);
        WriteComponentRef(comp);
        break;
    }
    }
}

void TWriter::WriteComponentRef(TComponent* Component)
{
    // Components of the root (or the root itself) by name; others as
    // "Owner.Name".
    String name = Component->Name();
    if (Component != FRoot && Component->Owner() && Component->Owner() != FRoot &&
        !Component->Owner()->Name().empty())
        name = Component->Owner()->Name() + L"." + name;
    WriteIdent(name);
}

void TWriter::WriteValue(TValueType Value)
{
    Byte b = Byte(Value);
    Write(&b, 1);
}

void TWriter::WriteInteger(Int64 Value)
{
    Byte buf[9];
    if (Value >= -128 && Value <= 127) {
        buf[0] = vaInt8;
        buf[1] = Byte(int8_t(Value));
        Write(buf, 2);
    } else if (Value >= -32768 && Value <= 32767) {
        buf[0] = vaInt16;
        PutLE<uint16_t>(buf + 1, uint16_t(int16_t(Value)));
        Write(buf, 3);
    } else if (Value >= INT32_MIN && Value <= INT32_MAX) {
        buf[0] = vaInt32;
        PutLE<uint32_t>(buf + 1, uint32_t(int32_t(Value)));
        Write(buf, 5);
    } else {
        buf[0] = vaInt64;
        PutLE<uint64_t>(buf + 1, uint64_t(Value));
        Write(buf, 9);
    }
}

void TWriter::WriteString(const String& Value)
{
    std::string utf8 = UTF8Encode(Value);
    size_t units = Utf16Length(Value);
    if (utf8.size() < units * 2) {
        bool ascii = true;
        for (unsigned char c : utf8)
            if (c & 0x80) ascii = false;
        Byte hdr[5];
        if (!ascii) {
            hdr[0] = vaUTF8String;
            PutLE<uint32_t>(hdr + 1, uint32_t(utf8.size()));
            Write(hdr, 5);
        } else if (utf8.size() <= 255) {
            hdr[0] = vaString;
            hdr[1] = Byte(utf8.size());
            Write(hdr, 2);
        } else {
            hdr[0] = vaLString;
            PutLE<uint32_t>(hdr + 1, uint32_t(utf8.size()));
            Write(hdr, 5);
        }
        if (!utf8.empty()) Write(utf8.data(), Integer(utf8.size()));
    } else {
        std::vector<Byte> w = ToUtf16LE(Value);
        Byte hdr[5];
        hdr[0] = vaWString;
        PutLE<uint32_t>(hdr + 1, uint32_t(w.size() / 2));
        Write(hdr, 5);
        if (!w.empty()) Write(w.data(), Integer(w.size()));
    }
}

void TWriter::WriteStr(const String& Value)
{
    std::string utf8 = UTF8Encode(Value);
    if (utf8.size() > 255) {
        // Cut at a character boundary.
        size_t n = 255;
        while (n > 0 && (Byte(utf8[n]) & 0xC0) == 0x80) --n;
        utf8.resize(n);
    }
    Byte len = Byte(utf8.size());
    Write(&len, 1);
    if (len) Write(utf8.data(), len);
}

void TWriter::WriteIdent(const String& Ident)
{
    if (SameText(Ident, L"False"))
        WriteValue(vaFalse);
    else if (SameText(Ident, L"True"))
        WriteValue(vaTrue);
    else if (SameText(Ident, L"nil"))
        WriteValue(vaNil);
    else if (SameText(Ident, L"Null"))
        WriteValue(vaNull);
    else {
        WriteValue(vaIdent);
        WriteStr(Ident);
    }
}

void TWriter::WriteFloat(Extended Value)
{
    Byte buf[11];
    buf[0] = vaExtended;
    DoubleToExtended80(Value, buf + 1);
    Write(buf, 11);
}

void TWriter::WriteSingle(Single Value)
{
    Byte buf[5];
    buf[0] = vaSingle;
    uint32_t bits;
    std::memcpy(&bits, &Value, 4);
    PutLE<uint32_t>(buf + 1, bits);
    Write(buf, 5);
}

void TWriter::WriteDouble(double Value)
{
    Byte buf[9];
    buf[0] = vaDouble;
    uint64_t bits;
    std::memcpy(&bits, &Value, 8);
    PutLE<uint64_t>(buf + 1, bits);
    Write(buf, 9);
}

void TWriter::WriteCurrency(Currency Value)
{
    Byte buf[9];
    buf[0] = vaCurrency;
    PutLE<uint64_t>(buf + 1, uint64_t(Value));
    Write(buf, 9);
}

void TWriter::WriteDate(TDateTime Value)
{
    Byte buf[9];
    buf[0] = vaDate;
    uint64_t bits;
    std::memcpy(&bits, &Value, 8);
    PutLE<uint64_t>(buf + 1, bits);
    Write(buf, 9);
}

void TWriter::WriteSet(uint64_t Bits, const std::vector<String>& Names)
{
    WriteValue(vaSet);
    for (size_t i = 0; i < Names.size() && i < 64; ++i)
        if (Bits & (uint64_t(1) << i)) WriteStr(Names[i]);
    WriteStr(String());
}

void TWriter::WriteBinary(const TStreamProc& WriteData)
{
    TMemoryStream m;
    WriteData(&m);
    if (m.Size() > INT32_MAX) throw EWriteError(L"Stream write error");
    Byte hdr[5];
    hdr[0] = vaBinary;
    PutLE<uint32_t>(hdr + 1, uint32_t(m.Size()));
    Write(hdr, 5);
    if (m.Size()) Write(m.Memory(), Integer(m.Size()));
}

void TWriter::WriteCollection(TCollection* Value)
{
    WriteValue(vaCollection);
    if (Value) {
        String saved = std::exchange(FPropPath, String());
        try {
            for (Integer i = 0; i < Value->Count(); ++i) {
                WriteListBegin();
                WriteProperties(Value->Items(i));
                WriteListEnd();
            }
        } catch (...) {
            FPropPath = saved;
            throw;
        }
        FPropPath = saved;
    }
    WriteListEnd();
}

void TWriter::WritePropName(const String& PropName) { WriteStr(FPropPath + PropName); }

// ---------------------------------------------------------------------------
// TReader

void TReader::DefineProperty(const String& Name, const TReaderProc& ReadData, const TWriterProc&, bool)
{
    if (FPropName.empty() || !ReadData || !SameText(Name, FPropName)) return;
    FPropName.clear();
    ReadData(this);
}

void TReader::DefineBinaryProperty(const String& Name, const TStreamProc& ReadData, const TStreamProc&, bool)
{
    if (FPropName.empty() || !ReadData || !SameText(Name, FPropName)) return;
    FPropName.clear();
    if (ReadValue() != vaBinary) PropValueError();
    Byte len[4];
    Read(len, 4);
    Integer n = CheckedLength(GetLE<uint32_t>(len), 1);
    TMemoryStream m;
    m.SetSize(n);
    if (n) Read(m.Memory(), n);
    m.SetPosition(0);
    ReadData(&m);
}

Int64 TReader::Remaining()
{
    Int64 r = FStream->Size() - FStream->Position();
    return r < 0 ? 0 : r;
}

// A length read from the stream: never more than the stream still holds.
Integer TReader::CheckedLength(Int64 Count, Int64 Unit)
{
    if (Count < 0 || Count > INT32_MAX / Unit || Count * Unit > Remaining())
        throw EReadError(L"Stream read error");
    return Integer(Count * Unit);
}

void TReader::PropValueError() { throw EReadError(L"Invalid property value"); }

void TReader::ReadSignature()
{
    char sig[4];
    if (Remaining() < 4) InvalidFormat();
    Read(sig, 4);
    if (std::memcmp(sig, kSignature, 4) != 0) InvalidFormat();
}

TValueType TReader::ReadValue()
{
    Byte b;
    Read(&b, 1);
    if (b > vaDouble) InvalidFormat();
    return TValueType(b);
}

// Peeks without judging: before a property the byte is a name's length.
TValueType TReader::NextValue()
{
    Byte b;
    Read(&b, 1);
    FStream->Seek(-1, soCurrent);
    return TValueType(b);
}

void TReader::CheckValue(TValueType Value)
{
    if (ReadValue() != Value) InvalidFormat();
}

Int64 TReader::ReadInt64()
{
    Byte buf[8];
    switch (ReadValue()) {
    case vaInt8: Read(buf, 1); return int8_t(buf[0]);
    case vaInt16: Read(buf, 2); return GetLE<int16_t>(buf);
    case vaInt32: Read(buf, 4); return GetLE<int32_t>(buf);
    case vaInt64: Read(buf, 8); return GetLE<int64_t>(buf);
    default: PropValueError();
    }
}

Integer TReader::ReadInteger()
{
    if (NextValue() == vaInt64) PropValueError();
    return Integer(ReadInt64());
}

bool TReader::ReadBoolean()
{
    switch (ReadValue()) {
    case vaTrue: return true;
    case vaFalse: return false;
    default: PropValueError();
    }
}

Char TReader::ReadChar()
{
    String s = ReadString();
    if (s.size() != 1) PropValueError();
    return s[0];
}

String TReader::ReadString()
{
    Byte buf[4];
    TValueType tag = ReadValue();
    switch (tag) {
    case vaString: {
        Read(buf, 1);
        Integer n = CheckedLength(buf[0], 1);
        std::string bytes(size_t(n), '\0');
        if (n) Read(bytes.data(), n);
        return AnsiToString(bytes);
    }
    case vaLString:
    case vaUTF8String: {
        bool utf8 = tag == vaUTF8String;
        Read(buf, 4);
        Integer n = CheckedLength(GetLE<uint32_t>(buf), 1);
        std::string bytes(size_t(n), '\0');
        if (n) Read(bytes.data(), n);
        return utf8 ? UTF8ToString(bytes) : AnsiToString(bytes);
    }
    case vaWString: {
        Read(buf, 4);
        Integer n = CheckedLength(GetLE<uint32_t>(buf), 2);
        std::vector<Byte> w(static_cast<size_t>(n));
        if (n) Read(w.data(), n);
        return FromUtf16LE(w.data(), size_t(n) / 2);
    }
    default: PropValueError();
    }
}

String TReader::ReadStr()
{
    Byte len;
    Read(&len, 1);
    std::string bytes(len, '\0');
    if (len) Read(bytes.data(), len);
    return UTF8ToString(bytes);
}

String TReader::ReadIdent()
{
    switch (ReadValue()) {
    case vaIdent: return ReadStr();
    case vaFalse: return L"False";
    case vaTrue: return L"True";
    case vaNil: return L"nil";
    case vaNull: return L"Null";
    default: PropValueError();
    }
}

Extended TReader::ReadFloat()
{
    TValueType t = NextValue();
    if (IsIntTag(t)) return Extended(ReadInt64());
    Byte buf[10];
    switch (ReadValue()) {
    case vaExtended: Read(buf, 10); return Extended80ToDouble(buf);
    case vaDouble:
    case vaDate: {
        Read(buf, 8);
        uint64_t bits = GetLE<uint64_t>(buf);
        double d;
        std::memcpy(&d, &bits, 8);
        return d;
    }
    case vaSingle: {
        Read(buf, 4);
        uint32_t bits = GetLE<uint32_t>(buf);
        float f;
        std::memcpy(&f, &bits, 4);
        return f;
    }
    default: PropValueError();
    }
}

Single TReader::ReadSingle() { return Single(ReadFloat()); }

double TReader::ReadDouble() { return ReadFloat(); }

Currency TReader::ReadCurrency()
{
    if (NextValue() != vaCurrency) return Currency(std::llround(ReadFloat() * 10000));
    ReadValue();
    Byte buf[8];
    Read(buf, 8);
    return GetLE<int64_t>(buf);
}

TDateTime TReader::ReadDate() { return ReadFloat(); }

uint64_t TReader::ReadSet(const std::vector<String>& Names)
{
    if (ReadValue() != vaSet) PropValueError();
    uint64_t bits = 0;
    for (;;) {
        String s = ReadStr();
        if (s.empty()) break;
        size_t i = 0;
        while (i < Names.size() && !SameText(Names[i], s)) ++i;
        if (i >= Names.size() || i >= 64) PropValueError();
        bits |= uint64_t(1) << i;
    }
    return bits;
}

void TReader::ReadCollection(TCollection* Collection)
{
    if (++FDepth > kMaxDepth) InvalidFormat();
    Collection->BeginUpdate();
    try {
        Collection->Clear();
        while (!EndOfList()) {
            if (IsIntTag(NextValue())) ReadInt64();   // the item's order, not needed
            TCollectionItem* item = Collection->Add();
            ReadListBegin();
            while (!EndOfList()) ReadProperty(item);
            ReadListEnd();
        }
        ReadListEnd();
    } catch (...) {
        Collection->EndUpdate();
        --FDepth;
        throw;
    }
    Collection->EndUpdate();
    --FDepth;
}

void TReader::SkipValue() { SkipValue(0); }

void TReader::SkipValue(int depth)
{
    if (depth > kMaxDepth) InvalidFormat();
    Byte buf[4];
    auto skip = [&](Int64 n) {
        if (n > Remaining()) throw EReadError(L"Stream read error");
        FStream->Seek(n, soCurrent);
    };
    switch (ReadValue()) {
    case vaNull:
    case vaFalse:
    case vaTrue:
    case vaNil: break;
    case vaList:
        while (!EndOfList()) SkipValue(depth + 1);
        ReadListEnd();
        break;
    case vaInt8: skip(1); break;
    case vaInt16: skip(2); break;
    case vaInt32:
    case vaSingle: skip(4); break;
    case vaInt64:
    case vaDouble:
    case vaDate:
    case vaCurrency: skip(8); break;
    case vaExtended: skip(10); break;
    case vaString:
    case vaIdent:
        Read(buf, 1);
        skip(buf[0]);
        break;
    case vaBinary:
    case vaLString:
    case vaUTF8String:
        Read(buf, 4);
        skip(GetLE<uint32_t>(buf));
        break;
    case vaWString:
        Read(buf, 4);
        skip(Int64(GetLE<uint32_t>(buf)) * 2);
        break;
    case vaSet:
        while (!ReadStr().empty()) {
        }
        break;
    case vaCollection:
        while (!EndOfList()) {
            if (IsIntTag(NextValue())) ReadInt64();
            ReadListBegin();
            while (!EndOfList()) {
                ReadStr();
                SkipValue(depth + 1);
            }
            ReadListEnd();
        }
        ReadListEnd();
        break;
    }
}

void TReader::ReadProperty(TPersistent* Instance)
{
    String path = ReadStr();
    TPersistent* inst = Instance;
    size_t start = 0;
    for (;;) {
        size_t dot = path.find(L'.', start);
        String seg = path.substr(start, dot == String::npos ? String::npos : dot - start);
        if (dot == String::npos) {
            const TPropInfo* p = inst->ClassType()->FindProp(seg);
            if (p) {
                ReadPropValue(inst, *p);
                return;
            }
            FPropName = seg;
            inst->DefineProperties(this);
            if (!FPropName.empty()) {
                FPropName.clear();
                throw EReadError(PropertyMissing(seg));
            }
            return;
        }
        const TPropInfo* p = inst->ClassType()->FindProp(seg);
        TPersistent* sub = nullptr;
        if (p && p->Kind == TPropKind::Class) sub = dynamic_cast<TPersistent*>(p->GetObj(inst));
        if (!sub) throw EReadError(PropertyMissing(seg));
        inst = sub;
        start = dot + 1;
    }
}

// "Name" or "Owner.Name", looked up from the root outwards through its
// owners, so a record can name components of the form it belongs to.
TComponent* TReader::FindComponentRef(const String& Name) const
{
    size_t dot = Name.find(L'.');
    String first = Name.substr(0, dot);
    for (TComponent* c = FRoot; c; c = c->Owner()) {
        TComponent* base = SameText(c->Name(), first) ? c : c->FindComponent(first);
        if (!base) continue;
        if (dot == String::npos) return base;
        if (TComponent* f = base->FindComponent(Name.substr(dot + 1))) return f;
    }
    return nullptr;
}

void TReader::ReadPropValue(TPersistent* Instance, const TPropInfo& Prop)
{
    switch (Prop.Kind) {
    case TPropKind::Integer:
    case TPropKind::Int64: {
        Int64 v;
        if (NextValue() == vaIdent) {
            TIdentToInt toInt;
            String ident = ReadIdent();
            if (Prop.TypeName.empty() || !FindIntegerConsts(Prop.TypeName, &toInt, nullptr) || !toInt ||
                !toInt(ident, v))
                PropValueError();
        } else {
            v = ReadInt64();
        }
        Prop.SetOrd(Instance, v);
        break;
    }
    case TPropKind::Boolean: Prop.SetOrd(Instance, ReadBoolean() ? 1 : 0); break;
    case TPropKind::Enumeration: {
        Int64 v;
        if (IsIntTag(NextValue())) {
            v = ReadInt64();
            if (v < 0 || v >= Int64(Prop.EnumNames.size())) PropValueError();
        } else {
            String ident = ReadIdent();
            v = 0;
            while (v < Int64(Prop.EnumNames.size()) && !SameText(Prop.EnumNames[size_t(v)], ident)) ++v;
            if (v >= Int64(Prop.EnumNames.size())) PropValueError();
        }
        Prop.SetOrd(Instance, v);
        break;
    }
    case TPropKind::Set: Prop.SetOrd(Instance, Int64(ReadSet(Prop.EnumNames))); break;
    case TPropKind::Float:
    case TPropKind::DateTime: Prop.SetFloat(Instance, ReadFloat()); break;
    case TPropKind::String: Prop.SetStr(Instance, ReadString()); break;
    case TPropKind::Class: {
        auto* coll = dynamic_cast<TCollection*>(Prop.GetObj(Instance));
        if (!coll || NextValue() != vaCollection) PropValueError();
        ReadValue();
        ReadCollection(coll);
        break;
    }
    case TPropKind::Component: {
        String name = ReadIdent();
        if (name == L"nil")
            Prop.SetObj(Instance, nullptr);
        else
            Prop.SetObj(Instance, FindComponentRef(name));
        break;
    }
    }
}

TComponent* TReader::ReadRootComponent(TComponent* Root)
{
    ReadSignature();
    return ReadComponentData(Root, 0);
}

TComponent* TReader::ReadComponent(TComponent* Component) { return ReadComponentData(Component, 0); }

TComponent* TReader::ReadComponentData(TComponent* Component, int depth)
{
    if (depth > 16) InvalidFormat();
    // Optional prefix byte 0xF0 | flags; "child position" carries an integer.
    Byte first;
    Read(&first, 1);
    if ((first & 0xF0) == 0xF0) {
        if (first & 0x02) ReadInt64();
    } else {
        FStream->Seek(-1, soCurrent);
    }
    String className = ReadStr();
    String name = ReadStr();

    TComponent* created = nullptr;
    if (!Component) {
        TClass cls = FindClass(className);
        if (!cls->InheritsFrom(TComponent::StaticClass()) || !cls->Create) InvalidFormat();
        TComponent* owner = FOwner ? FOwner : FRoot;
        created = static_cast<TComponent*>(cls->Create(owner));
        Component = created;
    }
    bool isRoot = !FRoot;
    if (isRoot) FRoot = Component;
    try {
        TStateScope state(Component->FComponentState, {csLoading, csReading});
        if (!name.empty()) {
            try {
                Component->SetName(name);
            } catch (const EComponentError& e) {
                throw EReadError(e.Message());
            }
        }
        while (!EndOfList()) ReadProperty(Component);
        ReadListEnd();
        while (!EndOfList()) {
            TComponent* saved = FRoot;
            ReadComponentData(nullptr, depth + 1);
            FRoot = saved;
        }
        ReadListEnd();
        state.Keep(csLoading);   // Loaded clears it
    } catch (...) {
        if (isRoot) FRoot = nullptr;
        delete created;
        throw;
    }
    Component->Loaded();
    Component->FComponentState.Exclude(csLoading);
    return Component;
}

// ---------------------------------------------------------------------------

void TStream::WriteComponent(TComponent* Instance)
{
    TWriter w(this);
    w.WriteRootComponent(Instance);
}

TComponent* TStream::ReadComponent(TComponent* Instance)
{
    TReader r(this);
    return r.ReadRootComponent(Instance);
}
