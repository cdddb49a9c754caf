#include <gtest/gtest.h>

#include "app/Explode.h"

namespace {

TEST(Explode, PiecesLimitsAndEmptyPieces)
{
    const struct {
        const wchar_t* sep;
        const wchar_t* text;
        Integer limit;
        TDynStringArray pieces;
    } cases[] = {
        {L":", L"a::b", 0, {L"a", L"", L"b"}},
        {L":", L"a:b:c", 2, {L"a", L"b:c"}},
        {L":", L"a:b:c", 1, {L"a:b:c"}},
        {L":", L"a:b:c", 3, {L"a", L"b", L"c"}},
        {L":", L"a:b:c", 9, {L"a", L"b", L"c"}},
        {L":", L":a", 0, {L"", L"a"}},
        {L":", L"a:", 0, {L"a"}},
        {L":", L"a::", 0, {L"a", L""}},
        {L":", L"", 0, {}},
        {L":", L"abc", -1, {}},
        {L"", L"a:b", 0, {L"a:b"}},
        {L"::", L"1::2:::3", 0, {L"1", L"2", L":3"}},
        {L":", L"00:02:00.00", 0, {L"00", L"02", L"00.00"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Explode(c.sep, c.text, c.limit), c.pieces)
            << UTF8Encode(c.text) << " limit " << c.limit;
}

}  // namespace
