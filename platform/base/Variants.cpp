#include "platform/base/Variants.h"

#include <cmath>
#include <limits>

#include "platform/base/ComObj.h"
#include "platform/base/SysUtils.h"

struct Variant::TArray {
    TVarType ElemType = varVariant;
    std::vector<std::pair<Integer, Integer>> Bounds;   // low and high per dimension
    std::vector<Variant> Items;                        // all but byte arrays
    std::vector<Byte> Bytes;                           // byte arrays
};

namespace {

bool IsScalarType(TVarType t)
{
    switch (t) {
    case varEmpty: case varNull: case varSmallint: case varInteger: case varSingle: case varDouble:
    case varCurrency: case varDate: case varOleStr: case varDispatch: case varError: case varBoolean:
    case varByte: case varInt64:
        return true;
    default:
        return false;
    }
}

bool IsIntegerType(TVarType t)
{
    return t == varSmallint || t == varInteger || t == varByte || t == varInt64 || t == varBoolean;
}

String CurrencyText(Currency c)
{
    bool negative = c < 0;
    UInt64 magnitude = negative ? UInt64(0) - UInt64(c) : UInt64(c);
    String s = UIntToStr(magnitude / 10000);
    unsigned frac = unsigned(magnitude % 10000);
    if (frac != 0) {
        String digits = UIntToStr(10000 + frac).substr(1);
        while (!digits.empty() && digits.back() == L'0') digits.pop_back();
        s += FormatSettings.DecimalSeparator;
        s += digits;
    }
    return negative ? L"-" + s : s;
}

}  // namespace

// ---------------------------------------------------------------------------
// Construction, copying

Variant::Variant(const String& v) : FType(varOleStr), FS(v) {}
Variant::Variant(String&& v) : FType(varOleStr), FS(std::move(v)) {}
Variant::Variant(const Char* v) : FType(varOleStr), FS(v ? v : L"") {}

Variant::Variant(IDispatch* v) : FType(varDispatch), FDisp(v)
{
    if (FDisp) FDisp->AddRef();
}

Variant::Variant(const TComPtr<IDispatch>& v) : Variant(v.Get()) {}

Variant Variant::Null()
{
    Variant v;
    v.FType = varNull;
    return v;
}

Variant Variant::FromCurrency(Currency scaledBy10000)
{
    Variant v;
    v.FType = varCurrency;
    v.FI = scaledBy10000;
    return v;
}

Variant Variant::FromDate(TDateTime d)
{
    Variant v;
    v.FType = varDate;
    v.FD = d;
    return v;
}

Variant Variant::FromError(HRESULT code)
{
    Variant v;
    v.FType = varError;
    v.FI = code;
    return v;
}

Variant::Variant(const Variant& o) { CopyFrom(o); }

Variant& Variant::operator=(const Variant& o)
{
    if (this != &o) {
        Variant copy(o);
        Clear();
        MoveFrom(copy);
    }
    return *this;
}


void Variant::ReleaseHeld()
{
    if (IDispatch* d = std::exchange(FDisp, nullptr)) d->Release();
    delete std::exchange(FArray, nullptr);
}


void Variant::CopyFrom(const Variant& o)
{
    FType = o.FType;
    FI = o.FI;   // copies the double's bits too
    FS = o.FS;
    FDisp = o.FDisp;
    if (FDisp) FDisp->AddRef();
    if (o.FArray) FArray = new TArray(*o.FArray);
}


TVarType Variant::ArrayVarType() const { return TVarType(varArray | FArray->ElemType); }

// ---------------------------------------------------------------------------
// Conversions

void Variant::CastError(TVarType to) const
{
    throw EVariantTypeCastError(L"Could not convert variant of type (" + VarTypeAsText(VarType()) +
                                L") into type (" + VarTypeAsText(to) + L")");
}

double Variant::NumericValue(TVarType to) const
{
    switch (FType) {
    case varEmpty: return 0;
    case varSmallint: case varInteger: case varByte: case varInt64: case varBoolean: return double(FI);
    case varSingle: case varDouble: case varDate: return FD;
    case varCurrency: return double(FI) / 10000.0;
    case varOleStr: {
        Extended v = 0;
        if (TryStrToFloat(FS, v, FormatSettings)) return v;
        if (SameText(Trim(FS), L"True")) return -1;
        if (SameText(Trim(FS), L"False")) return 0;
        TDateTime d = 0;
        if (to == varDate && TryStrToDateTime(FS, d, FormatSettings)) return d;
        CastError(to);
    }
    default:
        CastError(to);
    }
}

namespace {

template <class T>
T IntegerFrom(const Variant& v, Int64 exact, bool haveExact, double value, TVarType to)
{
    Int64 n = exact;
    if (!haveExact) {
        if (!std::isfinite(value) || value >= 9223372036854775808.0 || value < -9223372036854775808.0)
            throw EVariantOverflowError(L"Arithmetic overflow converting variant of type (" +
                                        VarTypeAsText(v.VarType()) + L") into type (" + VarTypeAsText(to) + L")");
        n = Round(value);
    }
    if (n < Int64(std::numeric_limits<T>::min()) || n > Int64(std::numeric_limits<T>::max()))
        throw EVariantOverflowError(L"Arithmetic overflow converting variant of type (" + VarTypeAsText(v.VarType()) +
                                    L") into type (" + VarTypeAsText(to) + L")");
    return T(n);
}

}  // namespace

#define VEL_VARIANT_INTEGER(T, Tag)                                             \
    {                                                                           \
        if (IsIntegerType(FType)) return IntegerFrom<T>(*this, FI, true, 0, Tag); \
        if (FType == varOleStr) {                                               \
            Int64 n = 0;                                                        \
            if (TryStrToInt64(Trim(FS), n)) return IntegerFrom<T>(*this, n, true, 0, Tag); \
        }                                                                       \
        return IntegerFrom<T>(*this, 0, false, NumericValue(Tag), Tag);         \
    }

Byte Variant::AsByte() const VEL_VARIANT_INTEGER(Byte, varByte)
SmallInt Variant::AsSmallint() const VEL_VARIANT_INTEGER(SmallInt, varSmallint)
Integer Variant::AsInteger() const VEL_VARIANT_INTEGER(Integer, varInteger)
Int64 Variant::AsInt64() const VEL_VARIANT_INTEGER(Int64, varInt64)
#undef VEL_VARIANT_INTEGER

bool Variant::AsBoolean() const
{
    if (FType == varBoolean) return FI != 0;
    return NumericValue(varBoolean) != 0;
}

Single Variant::AsSingle() const
{
    double d = NumericValue(varSingle);
    if (std::isfinite(d) && std::fabs(d) > double(std::numeric_limits<float>::max()))
        throw EVariantOverflowError(L"Arithmetic overflow converting variant of type (" + VarTypeAsText(VarType()) +
                                    L") into type (Single)");
    return Single(d);
}

double Variant::AsDouble() const { return NumericValue(varDouble); }

Currency Variant::AsCurrency() const
{
    if (FType == varCurrency) return FI;
    if (IsIntegerType(FType)) {
        if (FI > std::numeric_limits<Int64>::max() / 10000 || FI < std::numeric_limits<Int64>::min() / 10000)
            throw EVariantOverflowError(L"Arithmetic overflow converting variant of type (" +
                                        VarTypeAsText(VarType()) + L") into type (Currency)");
        return FType == varBoolean ? (FI ? -10000 : 0) : FI * 10000;
    }
    double d = NumericValue(varCurrency) * 10000.0;
    if (!std::isfinite(d) || d >= 9223372036854775808.0 || d < -9223372036854775808.0)
        throw EVariantOverflowError(L"Arithmetic overflow converting variant of type (" + VarTypeAsText(VarType()) +
                                    L") into type (Currency)");
    return Round(d);
}

TDateTime Variant::AsDateTime() const { return NumericValue(varDate); }

String Variant::AsString() const
{
    switch (FType) {
    case varEmpty: return String();
    case varOleStr: return FS;
    case varBoolean: return FI ? L"True" : L"False";
    case varSmallint: case varInteger: case varByte: case varInt64: return IntToStr(FI);
    case varSingle: return FloatToStrF(FD, ffGeneral, 7, 0, FormatSettings);
    case varDouble: return FloatToStr(FD, FormatSettings);
    case varCurrency: return CurrencyText(FI);
    case varDate: return DateTimeToStr(FD, FormatSettings);
    default: CastError(varOleStr);
    }
}

HRESULT Variant::AsError() const
{
    if (FType != varError) CastError(varError);
    return HRESULT(FI);
}

TComPtr<IDispatch> Variant::AsDispatch() const
{
    if (FType == varEmpty) return nullptr;
    if (FType != varDispatch) CastError(varDispatch);
    return TComPtr<IDispatch>(FDisp);
}

bool VarIsClear(const Variant& v)
{
    return v.IsEmpty() || (v.VarType() == varDispatch && !v.AsDispatch());
}

String VarToStr(const Variant& v) { return v.IsNull() ? String() : v.AsString(); }

String VarToStrDef(const Variant& v, const String& def) { return v.IsNull() ? def : v.AsString(); }

Variant VarAsType(const Variant& v, TVarType type)
{
    if (v.VarType() == type) return v;
    switch (type) {
    case varEmpty: return Variant();
    case varNull: return Variant::Null();
    case varSmallint: return Variant(v.AsSmallint());
    case varInteger: return Variant(v.AsInteger());
    case varSingle: return Variant(v.AsSingle());
    case varDouble: return Variant(v.AsDouble());
    case varCurrency: return Variant::FromCurrency(v.AsCurrency());
    case varDate: return Variant::FromDate(v.AsDateTime());
    case varOleStr: return Variant(v.AsString());
    case varDispatch: return Variant(v.AsDispatch());
    case varError: return Variant::FromError(v.AsError());
    case varBoolean: return Variant(v.AsBoolean());
    case varByte: return Variant(v.AsByte());
    case varInt64: return Variant(v.AsInt64());
    default:
        throw EVariantTypeCastError(L"Could not convert variant of type (" + VarTypeAsText(v.VarType()) +
                                    L") into type (" + VarTypeAsText(type) + L")");
    }
}

String VarTypeAsText(TVarType type)
{
    String prefix = (type & varArray) ? L"Array " : L"";
    switch (type & varTypeMask) {
    case varEmpty: return prefix + L"Empty";
    case varNull: return prefix + L"Null";
    case varSmallint: return prefix + L"Smallint";
    case varInteger: return prefix + L"Integer";
    case varSingle: return prefix + L"Single";
    case varDouble: return prefix + L"Double";
    case varCurrency: return prefix + L"Currency";
    case varDate: return prefix + L"Date";
    case varOleStr: return prefix + L"OleStr";
    case varDispatch: return prefix + L"Dispatch";
    case varError: return prefix + L"Error";
    case varBoolean: return prefix + L"Boolean";
    case varVariant: return prefix + L"Variant";
    case varByte: return prefix + L"Byte";
    case varInt64: return prefix + L"Int64";
    default: return prefix + L"Unknown";
    }
}

bool VarSameValue(const Variant& a, const Variant& b)
{
    TVarType ta = a.VarType(), tb = b.VarType();
    if ((ta & varArray) || (tb & varArray)) {
        if (ta != tb || VarArrayDimCount(a) != VarArrayDimCount(b)) return false;
        Integer dims = VarArrayDimCount(a);
        for (Integer d = 1; d <= dims; ++d)
            if (VarArrayLowBound(a, d) != VarArrayLowBound(b, d) || VarArrayHighBound(a, d) != VarArrayHighBound(b, d))
                return false;
        if (dims == 1) {
            for (Integer i = VarArrayLowBound(a, 1); i <= VarArrayHighBound(a, 1); ++i)
                if (!VarSameValue(a.GetElement({i}), b.GetElement({i}))) return false;
        } else {
            for (Integer i = VarArrayLowBound(a, 1); i <= VarArrayHighBound(a, 1); ++i)
                for (Integer j = VarArrayLowBound(a, 2); j <= VarArrayHighBound(a, 2); ++j)
                    if (!VarSameValue(a.GetElement({i, j}), b.GetElement({i, j}))) return false;
        }
        return true;
    }
    auto numeric = [](TVarType t) {
        return IsIntegerType(t) || t == varSingle || t == varDouble || t == varCurrency || t == varDate;
    };
    if (numeric(ta) && numeric(tb)) {
        if (IsIntegerType(ta) && IsIntegerType(tb)) return a.AsInt64() == b.AsInt64();
        return a.AsDouble() == b.AsDouble();
    }
    if (ta != tb) return false;
    switch (ta) {
    case varEmpty: case varNull: return true;
    case varOleStr: return a.AsString() == b.AsString();
    case varError: return a.AsError() == b.AsError();
    case varDispatch: return a.AsDispatch() == b.AsDispatch();
    default: return false;
    }
}

// ---------------------------------------------------------------------------
// Arrays

Variant VarArrayCreate(std::initializer_list<Integer> bounds, TVarType elementType)
{
    bool typeOk = elementType == varVariant ||
                  (IsScalarType(elementType) && elementType != varEmpty && elementType != varNull);
    if ((bounds.size() != 2 && bounds.size() != 4) || !typeOk) throw EVariantInvalidArgError(L"Invalid argument");
    auto array = std::make_unique<Variant::TArray>();
    array->ElemType = elementType;
    size_t count = 1;
    for (auto it = bounds.begin(); it != bounds.end(); it += 2) {
        Int64 low = it[0], high = it[1];
        if (high < low - 1) throw EVariantInvalidArgError(L"Invalid argument");
        array->Bounds.emplace_back(Integer(low), Integer(high));
        count *= size_t(high - low + 1);
        if (count > (size_t(1) << 31)) throw EVariantInvalidArgError(L"Invalid argument");
    }
    if (elementType == varByte) {
        array->Bytes.assign(count, 0);
    } else {
        Variant zero = elementType == varVariant || elementType == varDispatch
                           ? Variant()
                           : (elementType == varError ? Variant::FromError(0) : VarAsType(Variant(0), elementType));
        if (elementType == varOleStr) zero = Variant(String());
        array->Items.assign(count, zero);
    }
    Variant v;
    v.FType = varArray;
    v.FArray = array.release();
    return v;
}

Variant VarArrayOfBytes(const Byte* data, size_t count)
{
    if (count > (size_t(1) << 31)) throw EVariantInvalidArgError(L"Invalid argument");
    Variant v = VarArrayCreate({0, Integer(count) - 1}, varByte);
    if (count) std::copy(data, data + count, v.FArray->Bytes.begin());
    return v;
}

namespace {

const Variant& CheckArray(const Variant& v)
{
    if (!v.IsArray()) throw EVariantNotAnArrayError(L"Variant is not an array");
    return v;
}

}  // namespace

Integer VarArrayDimCount(const Variant& v) { return Integer(CheckArray(v).FArray->Bounds.size()); }

Integer VarArrayLowBound(const Variant& v, Integer dim)
{
    const auto& b = CheckArray(v).FArray->Bounds;
    if (dim < 1 || dim > Integer(b.size())) throw EVariantBadIndexError(L"Variant or safe array index out of bounds");
    return b[dim - 1].first;
}

Integer VarArrayHighBound(const Variant& v, Integer dim)
{
    const auto& b = CheckArray(v).FArray->Bounds;
    if (dim < 1 || dim > Integer(b.size())) throw EVariantBadIndexError(L"Variant or safe array index out of bounds");
    return b[dim - 1].second;
}

size_t Variant::ElementOffset(std::initializer_list<Integer> indices) const
{
    CheckArray(*this);
    const auto& b = FArray->Bounds;
    if (indices.size() != b.size()) throw EVariantBadIndexError(L"Variant or safe array index out of bounds");
    size_t offset = 0;
    size_t d = 0;
    for (Integer i : indices) {
        if (i < b[d].first || i > b[d].second)
            throw EVariantBadIndexError(L"Variant or safe array index out of bounds");
        offset = offset * size_t(Int64(b[d].second) - b[d].first + 1) + size_t(Int64(i) - b[d].first);
        ++d;
    }
    return offset;
}

Variant Variant::GetElement(std::initializer_list<Integer> indices) const
{
    size_t at = ElementOffset(indices);
    if (FArray->ElemType == varByte) return Variant(FArray->Bytes[at]);
    return FArray->Items[at];
}

void Variant::PutElement(std::initializer_list<Integer> indices, const Variant& value)
{
    size_t at = ElementOffset(indices);
    if (FArray->ElemType == varByte)
        FArray->Bytes[at] = value.AsByte();
    else if (FArray->ElemType == varVariant)
        FArray->Items[at] = value;
    else
        FArray->Items[at] = VarAsType(value, FArray->ElemType);
}

void Variant::PutElement(std::initializer_list<Integer> indices, Variant&& value)
{
    size_t at = ElementOffset(indices);
    if (FArray->ElemType == varByte)
        FArray->Bytes[at] = value.AsByte();
    else if (FArray->ElemType == varVariant)
        FArray->Items[at] = std::move(value);
    else
        FArray->Items[at] = VarAsType(value, FArray->ElemType);
}

const Variant& Variant::ElementRef(std::initializer_list<Integer> indices) const
{
    size_t at = ElementOffset(indices);
    if (FArray->ElemType == varByte) throw EVariantInvalidArgError(L"Invalid argument");
    return FArray->Items[at];
}

const std::vector<Byte>* Variant::ArrayBytes() const
{
    return FType == varArray && FArray->ElemType == varByte ? &FArray->Bytes : nullptr;
}

// ---------------------------------------------------------------------------
// Late-bound calls

Variant Variant::Get(std::wstring_view name, std::initializer_list<Variant> args) const
{
    return DispatchInvoke(FType == varDispatch ? FDisp : nullptr, name, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                          std::span<const Variant>(args.begin(), args.size()));
}

Variant Variant::Get(std::wstring_view name, const std::vector<Variant>& args) const
{
    return DispatchInvoke(FType == varDispatch ? FDisp : nullptr, name, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                          std::span<const Variant>(args));
}

Variant Variant::Call(std::wstring_view name, std::initializer_list<Variant> args,
                      std::initializer_list<TNamedArg> named) const
{
    return DispatchInvoke(FType == varDispatch ? FDisp : nullptr, name, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                          std::span<const Variant>(args.begin(), args.size()),
                          std::span<const TNamedArg>(named.begin(), named.size()));
}

Variant Variant::Call(std::wstring_view name, const std::vector<Variant>& args,
                      std::initializer_list<TNamedArg> named) const
{
    return DispatchInvoke(FType == varDispatch ? FDisp : nullptr, name, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                          std::span<const Variant>(args), std::span<const TNamedArg>(named.begin(), named.size()));
}

void Variant::Set(std::wstring_view name, const Variant& value) const
{
    DispatchInvoke(FType == varDispatch ? FDisp : nullptr, name, DISPATCH_PROPERTYPUT,
                   std::span<const Variant>(&value, 1));
}

void Variant::Set(std::wstring_view name, std::initializer_list<Variant> args, const Variant& value) const
{
    std::vector<Variant> withValue(args);
    withValue.push_back(value);
    DispatchInvoke(FType == varDispatch ? FDisp : nullptr, name, DISPATCH_PROPERTYPUT,
                   std::span<const Variant>(withValue));
}
