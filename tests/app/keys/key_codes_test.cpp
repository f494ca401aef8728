#include <gtest/gtest.h>

#include "key_codes.h"

namespace {

using Tokens = std::vector<std::u16string_view>;

TEST(KeyCodes, InsertionsGiveTheirTokensInOrder)
{
    struct Case {
        int code;
        Tokens tokens;
    };
    const Case cases[] = {
        {0, {u"7"}},
        {KeyCode::kSign, {u"(-"}},
        {KeyCode::kSquare, {u"^", u"2"}},
        {KeyCode::kTenToThePower, {u"10", u"^"}},
        {40, {u"\u221A("}},
        {KeyCode::kSquareRoot, {u"2", u"\u221A("}},
        {74, {u"C"}},
        {86, {u"N(X)"}},
        {KeyCode::kIntegral, {u"\u222B("}},
        {KeyCode::kReciprocal, {u"1", u"\u00F7"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(keyKind(c.code), KeyKind::Insert) << c.code;
        EXPECT_EQ(insertedTokens(c.code, OutputFormat::UnitedStates), c.tokens) << c.code;
        EXPECT_EQ(insertedTokens(c.code, OutputFormat::European), c.tokens) << c.code;
    }
}

TEST(KeyCodes, DecimalPointFollowsTheOutputFormat)
{
    EXPECT_EQ(insertedTokens(KeyCode::kDecimal, OutputFormat::UnitedStates), Tokens{u"."});
    EXPECT_EQ(insertedTokens(KeyCode::kDecimal, OutputFormat::European), Tokens{u"\u00B8"});
    EXPECT_EQ(insertedTokens(KeyCode::kDecimal, OutputFormat::Other), Tokens{u"."});
}

TEST(KeyCodes, ActionsAndUnusedCodesInsertNothing)
{
    struct Case {
        int code;
        KeyKind kind;
    };
    const Case cases[] = {
        {KeyCode::kClear, KeyKind::Action},
        {KeyCode::kMemoryRecall, KeyKind::Action},
        {KeyCode::kEquals, KeyKind::Action},
        {KeyCode::kDelete, KeyKind::Action},
        {KeyCode::kCursorTenRight, KeyKind::Action},
        {24, KeyKind::Unused},
        {132, KeyKind::Unused},
        {141, KeyKind::Unused},
        {159, KeyKind::Unused},
        {-1, KeyKind::Unused},
        {KeyCode::kCount, KeyKind::Unused},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(keyKind(c.code), c.kind) << c.code;
        EXPECT_TRUE(insertedTokens(c.code, OutputFormat::UnitedStates).empty()) << c.code;
    }
}

TEST(KeyCodes, DigitKeysGiveTheirDigitValues)
{
    struct Case {
        int code;
        std::optional<int> digit;
    };
    const Case cases[] = {
        {15, 0},
        {10, 1},
        {12, 3},
        {5, 4},
        {2, 9},
        {KeyCode::kHexA, 10},
        {KeyCode::kHexF, 15},
        {KeyCode::kDecimal, std::nullopt},
        {KeyCode::kDivide, std::nullopt},
        {78, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(digitOfKey(c.code), c.digit) << c.code;
    }
}

}  // namespace
