// Variants: type tags, conversions in the user's locale, arrays.
#include <gtest/gtest.h>

#include "platform/base/SysUtils.h"
#include "platform/base/Variants.h"

namespace {

TFormatSettings German() { return FormatSettingsForLocale("de_DE.UTF-8", "de_DE.UTF-8"); }

TEST(Variant, TagsAndTexts)
{
    TFormatSettingsScope us(DefaultFormatSettings());
    struct Case {
        Variant Value;
        TVarType Tag;
        const Char* Text;        // in the default (English) settings
        const Char* GermanText;  // under a German locale
    };
    const Case cases[] = {
        {Variant(), varEmpty, L"", L""},
        {Variant::Null(), varNull, L"", L""},
        {Variant(Byte(200)), varByte, L"200", L"200"},
        {Variant(SmallInt(-300)), varSmallint, L"-300", L"-300"},
        {Variant(Integer(-7)), varInteger, L"-7", L"-7"},
        {Variant(Int64(9000000000LL)), varInt64, L"9000000000", L"9000000000"},
        {Variant(1.5f), varSingle, L"1.5", L"1,5"},
        {Variant(0.1f), varSingle, L"0.1", L"0,1"},   // seven digits, not the float's binary tail
        {Variant(1234.5678), varDouble, L"1234.5678", L"1234,5678"},
        {Variant(1.0 / 3.0), varDouble, L"0.333333333333333", L"0,333333333333333"},
        {Variant::FromCurrency(12345), varCurrency, L"1.2345", L"1,2345"},
        {Variant::FromCurrency(-25000), varCurrency, L"-2.5", L"-2,5"},
        {Variant::FromCurrency(INT64_MIN), varCurrency, L"-922337203685477.5808", L"-922337203685477,5808"},
        {Variant::FromDate(EncodeDate(2024, 2, 29)), varDate, L"2/29/2024", L"29.02.2024"},
        {Variant(true), varBoolean, L"True", L"True"},
        {Variant(false), varBoolean, L"False", L"False"},
        {Variant(L"Stra\u00dfe"), varOleStr, L"Stra\u00dfe", L"Stra\u00dfe"},
        {Variant(String(L"x")), varOleStr, L"x", L"x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(UTF8Encode(c.Text));
        EXPECT_EQ(VarType(c.Value), c.Tag);
        EXPECT_EQ(VarToStr(c.Value), c.Text);
        {
            TFormatSettingsScope de(German());
            EXPECT_EQ(VarToStr(c.Value), c.GermanText);
        }
        // Copies and moves keep tag and value.
        Variant copy = c.Value;
        Variant moved = std::move(copy);
        EXPECT_EQ(VarType(moved), c.Tag);
        EXPECT_TRUE(VarSameValue(moved, c.Value));
    }
    EXPECT_THROW(Variant::Null().AsString(), EVariantTypeCastError);
    EXPECT_EQ(VarToStrDef(Variant::Null(), L"-"), L"-");
    EXPECT_THROW(VarToStr(Variant::FromError(DISP_E_PARAMNOTFOUND)), EVariantTypeCastError);
}

TEST(Variant, Conversions)
{
    TFormatSettingsScope us(DefaultFormatSettings());
    EXPECT_EQ(Variant(L" 42 ").AsInteger(), 42);
    EXPECT_EQ(Variant(L"2.5").AsDouble(), 2.5);
    EXPECT_EQ(Variant(2.5).AsInteger(), 2);     // ties to even
    EXPECT_EQ(Variant(3.5).AsInteger(), 4);
    EXPECT_EQ(Variant(true).AsInteger(), -1);
    EXPECT_TRUE(Variant(L"true").AsBoolean());
    EXPECT_FALSE(Variant(L"0").AsBoolean());
    EXPECT_EQ(Variant().AsInteger(), 0);
    EXPECT_EQ(Variant(Integer(3)).AsCurrency(), 30000);
    EXPECT_EQ(Variant(1.23456).AsCurrency(), 12346);
    EXPECT_DOUBLE_EQ(Variant(L"2/29/2024").AsDateTime(), EncodeDate(2024, 2, 29));
    EXPECT_EQ(Variant(Int64(5000000000LL)).AsInt64(), 5000000000LL);
    {
        TFormatSettingsScope de(German());
        EXPECT_EQ(Variant(L"2,5").AsDouble(), 2.5);
    }

    struct Failure {
        Variant Value;
        TVarType To;
        bool Overflow;
    };
    const Failure failures[] = {
        {Variant(L"abc"), varInteger, false},      {Variant::Null(), varInteger, false},
        {Variant(Integer(300)), varByte, true},    {Variant(Integer(-1)), varByte, true},
        {Variant(Int64(1) << 40), varInteger, true}, {Variant(1e300), varInt64, true},
        {Variant(1e300), varSingle, true},         {Variant(1e300), varCurrency, true},
        {Variant(L"x"), varDate, false},           {Variant(Integer(1)), varError, false},
    };
    for (const Failure& f : failures) {
        SCOPED_TRACE(UTF8Encode(VarTypeAsText(f.To)));
        if (f.Overflow)
            EXPECT_THROW(VarAsType(f.Value, f.To), EVariantOverflowError);
        else
            EXPECT_THROW(VarAsType(f.Value, f.To), EVariantTypeCastError);
    }
    try {
        Variant(L"abc").AsInteger();
    } catch (const EVariantTypeCastError& e) {
        EXPECT_EQ(e.Message(), L"Could not convert variant of type (OleStr) into type (Integer)");
    }
    EXPECT_EQ(VarType(VarAsType(Variant(L"7"), varSmallint)), varSmallint);
}

TEST(Variant, ArraysWithBounds)
{
    Variant a = VarArrayCreate({0, 2, 1, 4}, varVariant);
    EXPECT_EQ(VarType(a), varArray | varVariant);
    EXPECT_TRUE(VarIsArray(a));
    EXPECT_EQ(VarArrayDimCount(a), 2);
    EXPECT_EQ(VarArrayLowBound(a, 1), 0);
    EXPECT_EQ(VarArrayHighBound(a, 1), 2);
    EXPECT_EQ(VarArrayLowBound(a, 2), 1);
    EXPECT_EQ(VarArrayHighBound(a, 2), 4);
    for (Integer i = 0; i <= 2; ++i)
        for (Integer j = 1; j <= 4; ++j) VarArrayPut(a, IntToStr(i * 10 + j), {i, j});
    a.PutElement({2, 4}, Variant(1.5));
    EXPECT_EQ(VarToStr(VarArrayGet(a, {1, 3})), L"13");
    EXPECT_EQ(VarType(a.GetElement({2, 4})), varDouble);
    EXPECT_TRUE(VarIsEmpty(VarArrayCreate({1, 1}, varVariant).GetElement({1})));

    // Arrays are values: a copy is independent.
    Variant b = a;
    b.PutElement({0, 1}, Variant(L"changed"));
    EXPECT_EQ(VarToStr(a.GetElement({0, 1})), L"1");
    EXPECT_FALSE(VarSameValue(a, b));

    // Typed arrays convert what is stored.
    Variant ints = VarArrayCreate({-1, 1}, varInteger);
    ints.PutElement({-1}, Variant(L"12"));
    EXPECT_EQ(VarType(ints.GetElement({-1})), varInteger);
    EXPECT_EQ(ints.GetElement({0}).AsInteger(), 0);
    Byte raw[] = {1, 2, 255};
    Variant bytes = VarArrayOfBytes(raw, 3);
    EXPECT_EQ(VarType(bytes), varArray | varByte);
    EXPECT_EQ(bytes.GetElement({2}).AsInteger(), 255);
    EXPECT_THROW(bytes.PutElement({0}, Variant(Integer(256))), EVariantOverflowError);
    EXPECT_EQ(VarArrayHighBound(VarArrayOfBytes(nullptr, 0), 1), -1);   // empty
    EXPECT_THROW(VarToStr(bytes), EVariantTypeCastError);

    // Bad indices, bad bounds, not an array.
    EXPECT_THROW(a.GetElement({3, 1}), EVariantBadIndexError);
    EXPECT_THROW(a.GetElement({0, 0}), EVariantBadIndexError);
    EXPECT_THROW(a.GetElement({0}), EVariantBadIndexError);
    EXPECT_THROW(VarArrayHighBound(a, 3), EVariantBadIndexError);
    EXPECT_THROW(VarArrayCreate({5, 3}, varVariant), EVariantInvalidArgError);
    EXPECT_THROW(VarArrayCreate({0, 1, 0, 1, 0, 1}, varVariant), EVariantInvalidArgError);
    EXPECT_THROW(VarArrayCreate({0, 100000, 0, 100000}, varVariant), EVariantInvalidArgError);
    EXPECT_THROW(VarArrayDimCount(Variant(Integer(1))), EVariantNotAnArrayError);
}

TEST(Variant, ElementsMovedInAndReadInPlace)
{
    // A text moved into an array of variants is the array's now; the
    // element read in place is the one stored and sees later writes.
    Variant a = VarArrayCreate({1, 2, 1, 2}, varVariant);
    Variant text(String(40, L'x'));
    a.PutElement({2, 1}, std::move(text));
    const Variant& ref = a.ElementRef({2, 1});
    ASSERT_NE(ref.OleStr(), nullptr);
    EXPECT_EQ(*ref.OleStr(), String(40, L'x'));
    a.PutElement({2, 1}, Variant(Integer(7)));
    EXPECT_EQ(ref.OleStr(), nullptr);
    EXPECT_EQ(ref.AsInteger(), 7);
    EXPECT_TRUE(a.ElementRef({1, 2}).IsEmpty());
    EXPECT_EQ(Variant(1.5).OleStr(), nullptr);

    // A typed array converts what moves in, as a copy would.
    Variant ints = VarArrayCreate({0, 1}, varInteger);
    ints.PutElement({1}, Variant(L"12"));
    EXPECT_EQ(VarType(ints.ElementRef({1})), varInteger);
    EXPECT_EQ(ints.ElementRef({1}).AsInteger(), 12);
    EXPECT_THROW(ints.PutElement({0}, Variant(L"twelve")), EVariantTypeCastError);

    // Byte arrays hold no variants to lend; bad indices raise as GetElement.
    Byte raw[] = {1, 2};
    Variant bytes = VarArrayOfBytes(raw, 2);
    bytes.PutElement({0}, Variant(Integer(9)));
    EXPECT_EQ(bytes.GetElement({0}).AsInteger(), 9);
    EXPECT_THROW(bytes.ElementRef({0}), EVariantInvalidArgError);
    EXPECT_THROW(a.ElementRef({3, 1}), EVariantBadIndexError);
    EXPECT_THROW(a.ElementRef({1}), EVariantBadIndexError);
    EXPECT_THROW(Variant(Integer(1)).ElementRef({0}), EVariantNotAnArrayError);
    EXPECT_THROW(Variant(Integer(1)).PutElement({0}, Variant(Integer(2))), EVariantNotAnArrayError);
}

}  // namespace
