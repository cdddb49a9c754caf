// Variant: a value that carries its own type tag, as automation passes it
// around: empty and null, the integer and floating kinds, currency, dates,
// booleans, wide strings, error codes, references to automation objects and
// arrays of these with their own bounds (one or two dimensions).
//
// Text conversion follows the user's locale (the process-wide
// FormatSettings): VarToStr(1.5) is "1,5" under a German locale.
//
// A variant that holds an automation object calls its members by name:
//     Variant book = app.Get(L"Workbooks").Call(L"Open", {path});
//     book.Set(L"Saved", true);
//     book.Call(L"Close", {}, {{L"SaveChanges", false}});
// Get reads a property (or calls a method that answers a value; indexed
// properties take arguments: sheets.Get(L"Item", {1})), Call calls a method,
// Set writes a property. A failing member raises EOleException with the
// server's description (ComObj.h).
#pragma once

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/base/Exceptions.h"
#include "platform/base/Interfaces.h"
#include "platform/base/Types.h"

struct IDispatch;

using TVarType = Word;

// The type tags, with the numbers automation gives them.
constexpr TVarType varEmpty = 0x0000;
constexpr TVarType varNull = 0x0001;
constexpr TVarType varSmallint = 0x0002;
constexpr TVarType varInteger = 0x0003;
constexpr TVarType varSingle = 0x0004;
constexpr TVarType varDouble = 0x0005;
constexpr TVarType varCurrency = 0x0006;
constexpr TVarType varDate = 0x0007;
constexpr TVarType varOleStr = 0x0008;   // every text is a wide string
constexpr TVarType varDispatch = 0x0009;
constexpr TVarType varError = 0x000A;
constexpr TVarType varBoolean = 0x000B;
constexpr TVarType varVariant = 0x000C;  // element type of arrays of variants
constexpr TVarType varByte = 0x0011;
constexpr TVarType varInt64 = 0x0014;
constexpr TVarType varTypeMask = 0x0FFF;
constexpr TVarType varArray = 0x2000;

// The error code of an argument left out (an optional parameter not given).
constexpr HRESULT DISP_E_PARAMNOTFOUND = static_cast<HRESULT>(0x80020004u);

VEL_DECLARE_EXCEPTION(EVariantError, Exception)
// "Could not convert variant of type (X) into type (Y)"
VEL_DECLARE_EXCEPTION(EVariantTypeCastError, EVariantError)
// "Arithmetic overflow converting variant of type (X) into type (Y)"
VEL_DECLARE_EXCEPTION(EVariantOverflowError, EVariantError)
// "Variant or safe array index out of bounds"
VEL_DECLARE_EXCEPTION(EVariantBadIndexError, EVariantError)
// "Variant is not an array"
VEL_DECLARE_EXCEPTION(EVariantNotAnArrayError, EVariantError)
// "Invalid argument" (bad bounds or element type for an array)
VEL_DECLARE_EXCEPTION(EVariantInvalidArgError, EVariantError)

struct TNamedArg;

class Variant {
public:
    Variant() = default;
    Variant(bool v) : FType(varBoolean) { FI = v ? -1 : 0; }
    Variant(Byte v) : FType(varByte) { FI = v; }
    Variant(SmallInt v) : FType(varSmallint) { FI = v; }
    Variant(Integer v) : FType(varInteger) { FI = v; }
    Variant(Int64 v) : FType(varInt64) { FI = v; }
    Variant(Single v) : FType(varSingle) { FD = v; }
    Variant(double v) : FType(varDouble) { FD = v; }
    Variant(const String& v);
    Variant(String&& v);
    Variant(const Char* v);
    // Takes a reference; a null object gives varDispatch holding nothing.
    Variant(IDispatch* v);
    Variant(const TComPtr<IDispatch>& v);

    static Variant Null();
    static Variant FromCurrency(Currency scaledBy10000);
    static Variant FromDate(TDateTime v);
    static Variant FromError(HRESULT code);
    // The marker of an optional argument that was not given.
    static Variant Missing() { return FromError(DISP_E_PARAMNOTFOUND); }

    Variant(const Variant& o);
    // Moves are inline: late-bound calls hand results on by moving them.
    Variant(Variant&& o) noexcept { MoveFrom(o); }
    Variant& operator=(const Variant& o);
    Variant& operator=(Variant&& o) noexcept
    {
        if (this != &o) {
            Clear();
            MoveFrom(o);
        }
        return *this;
    }
    ~Variant()
    {
        if (FDisp || FArray) ReleaseHeld();   // the string member frees itself
    }

    // The tag, with varArray set for arrays (element type in the low bits).
    TVarType VarType() const { return FType == varArray ? ArrayVarType() : FType; }
    bool IsEmpty() const { return FType == varEmpty; }
    bool IsNull() const { return FType == varNull; }
    bool IsArray() const { return FType == varArray; }

    // Conversions. Empty converts to 0, false and ""; Null, an error code,
    // an object, an array and a text that is no such value raise
    // EVariantTypeCastError, a value out of range EVariantOverflowError.
    // Texts are read in the user's locale; True is -1 as a number.
    bool AsBoolean() const;
    Byte AsByte() const;
    SmallInt AsSmallint() const;
    Integer AsInteger() const;
    Int64 AsInt64() const;
    Single AsSingle() const;
    double AsDouble() const;
    Currency AsCurrency() const;   // scaled by 10000
    TDateTime AsDateTime() const;
    // The text in the user's locale: numbers as FloatToStr writes them
    // (single with 7 digits), dates by DateTimeToStr, True and False.
    // Null raises (VarToStr answers "").
    String AsString() const;
    HRESULT AsError() const;       // only for varError
    // The object held (may be null); raises for other types.
    TComPtr<IDispatch> AsDispatch() const;

    // Late-bound calls on the object held; see the top of this file.
    // Argument lists in braces cost no allocation; a vector serves for lists
    // built at run time.
    Variant Get(std::wstring_view name, std::initializer_list<Variant> args = {}) const;
    Variant Get(std::wstring_view name, const std::vector<Variant>& args) const;
    Variant Call(std::wstring_view name, std::initializer_list<Variant> args = {},
                 std::initializer_list<TNamedArg> named = {}) const;
    Variant Call(std::wstring_view name, const std::vector<Variant>& args,
                 std::initializer_list<TNamedArg> named = {}) const;
    void Set(std::wstring_view name, const Variant& value) const;
    void Set(std::wstring_view name, std::initializer_list<Variant> args, const Variant& value) const;

    // Array elements, indexed within the array's own bounds (one index per
    // dimension). Elements of a varVariant array are any variant; elements
    // of a typed array are converted to its type when stored.
    Variant GetElement(std::initializer_list<Integer> indices) const;
    void PutElement(std::initializer_list<Integer> indices, const Variant& value);
    // The value moves in (a varVariant array takes it as it is; a typed one
    // converts it as above), so a large text is not copied on its way in.
    void PutElement(std::initializer_list<Integer> indices, Variant&& value);
    // The element itself, read without a copy; valid until the array
    // changes. Raises EVariantInvalidArgError for a varByte array, whose
    // elements are bytes, not variants.
    const Variant& ElementRef(std::initializer_list<Integer> indices) const;
    // The text a varOleStr variant holds, without a copy; null for every
    // other type (VarToStr converts those).
    const String* OleStr() const { return FType == varOleStr ? &FS : nullptr; }
    // The bytes of a varByte array (null for other variants).
    const std::vector<Byte>* ArrayBytes() const;

private:
    friend Variant VarArrayCreate(std::initializer_list<Integer> bounds, TVarType elementType);
    friend Variant VarArrayOfBytes(const Byte* data, size_t count);
    friend Integer VarArrayDimCount(const Variant& v);
    friend Integer VarArrayLowBound(const Variant& v, Integer dim);
    friend Integer VarArrayHighBound(const Variant& v, Integer dim);
    struct TArray;

    void Clear()
    {
        if (FDisp || FArray) ReleaseHeld();
        FS.clear();
        FType = varEmpty;
        FI = 0;
    }
    void ReleaseHeld();
    TVarType ArrayVarType() const;
    void CopyFrom(const Variant& o);
    void MoveFrom(Variant& o) noexcept
    {
        FType = std::exchange(o.FType, varEmpty);
        FI = std::exchange(o.FI, 0);
        if (!o.FS.empty()) {
            FS = std::move(o.FS);
            o.FS.clear();
        }
        FDisp = std::exchange(o.FDisp, nullptr);
        FArray = std::exchange(o.FArray, nullptr);
    }
    [[noreturn]] void CastError(TVarType to) const;
    size_t ElementOffset(std::initializer_list<Integer> indices) const;
    double NumericValue(TVarType to) const;   // for the numeric conversions

    TVarType FType = varEmpty;
    union {
        Int64 FI = 0;   // integers, booleans, currency, error codes
        double FD;      // single, double, date
    };
    String FS;
    IDispatch* FDisp = nullptr;         // holds a reference
    TArray* FArray = nullptr;           // owned; FType == varArray
};

using OleVariant = Variant;

// A named argument of a late-bound call.
struct TNamedArg {
    String Name;
    Variant Value;
};

// Type tests and conversions under their usual names.
inline TVarType VarType(const Variant& v) { return v.VarType(); }
inline bool VarIsEmpty(const Variant& v) { return v.IsEmpty(); }
inline bool VarIsNull(const Variant& v) { return v.IsNull(); }
// Empty, or an object reference holding nothing.
bool VarIsClear(const Variant& v);
inline bool VarIsArray(const Variant& v) { return v.IsArray(); }
// The text in the user's locale; Null gives "".
String VarToStr(const Variant& v);
String VarToStrDef(const Variant& v, const String& def);
// The value converted to the type tag (a scalar type).
Variant VarAsType(const Variant& v, TVarType type);
// Name of a type tag as messages show it ("Integer", "OleStr", "Array Byte").
String VarTypeAsText(TVarType type);
// Same type and value (numbers compare across types, texts ordinally).
bool VarSameValue(const Variant& a, const Variant& b);

// An array with the given bounds, low and high per dimension (two or four
// numbers); elements start empty (or zero for typed arrays). Element types:
// varVariant or a scalar type.
Variant VarArrayCreate(std::initializer_list<Integer> bounds, TVarType elementType);
// A one-dimensional varByte array (bounds 0 to count - 1) holding the bytes.
Variant VarArrayOfBytes(const Byte* data, size_t count);
// Raise EVariantNotAnArrayError for a variant that is not an array, and
// EVariantBadIndexError for a dimension it does not have.
Integer VarArrayDimCount(const Variant& v);
Integer VarArrayLowBound(const Variant& v, Integer dim);
Integer VarArrayHighBound(const Variant& v, Integer dim);
inline Variant VarArrayGet(const Variant& v, std::initializer_list<Integer> indices)
{
    return v.GetElement(indices);
}
inline void VarArrayPut(Variant& v, const Variant& value, std::initializer_list<Integer> indices)
{
    v.PutElement(indices, value);
}

// Unassigned and Null as values.
inline const Variant Unassigned{};
inline Variant NullVariant() { return Variant::Null(); }
