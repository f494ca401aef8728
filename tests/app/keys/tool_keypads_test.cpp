#include "tool_keypads.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using toolKeypads::FieldKind;
using toolKeypads::FieldText;
using toolKeypads::NumberPadFace;
using toolKeypads::NumberPadKey;

const NumberPadFace& key(std::u16string_view label)
{
    for (const NumberPadFace& face : toolKeypads::kNumberPadKeys) {
        if (face.label == label)
            return face;
    }
    ADD_FAILURE() << "no key";
    return toolKeypads::kNumberPadKeys[0];
}

std::string ascii(const std::u16string& text)
{
    return std::string(text.begin(), text.end());
}

struct PadCase {
    std::u16string text;
    std::size_t cursor;
    std::u16string_view label;
    FieldKind kind;
    std::u16string after;
    std::size_t afterCursor;
};

TEST(NumberPad, KeysEditTheFieldAsTypingWould)
{
    const std::u16string_view minus = u"\u2212";
    const std::u16string_view sign = u"\u00B1";
    const PadCase cases[] = {
        {u"12", 2, u"3", FieldKind::Number, u"123", 3},
        {u"12", 1, u"7", FieldKind::Number, u"172", 2},
        {u"12", 2, u".", FieldKind::Number, u"12.", 3},
        {u"1.5", 3, u".", FieldKind::Number, u"1.5", 3},  // one point to a number
        {u"", 0, u".", FieldKind::Number, u"0.", 2},      // a lone point would be no number
        {u"12", 2, u"DEL", FieldKind::Number, u"1", 1},
        {u"12", 0, u"DEL", FieldKind::Number, u"12", 0},
        {u"12.5", 2, u"C", FieldKind::Number, u"", 0},
        {u"12", 1, sign, FieldKind::Number, u"-12", 2},  // the whole number, the cursor kept
        {u"-12", 3, sign, FieldKind::Number, u"12", 2},
        {u"", 0, sign, FieldKind::Number, u"-", 1},
        {u"", 0, minus, FieldKind::Number, u"-", 1},
        {u"2+x", 3, sign, FieldKind::Expression, u"2+x(-", 5},
        {u"x+1", 3, u".", FieldKind::Expression, u"x+1.", 4},
        {u"x+1.5", 1, u".", FieldKind::Expression, u"x0.+1.5", 3},
        {u"x+1.5", 5, u".", FieldKind::Expression, u"x+1.5", 5},
        {u"12", 9, u"4", FieldKind::Number, u"124", 3},  // a cursor past the end is at the end
        {u"12", 1, u"OK", FieldKind::Number, u"12", 1},
    };
    for (const PadCase& c : cases) {
        const FieldText after = toolKeypads::applyNumberPadKey({c.text, c.cursor}, key(c.label), c.kind);
        EXPECT_EQ(after.text, c.after) << ascii(c.text) << " " << c.cursor;
        EXPECT_EQ(after.cursor, c.afterCursor) << ascii(c.text) << " " << c.cursor;
    }
}

TEST(NumberPad, TableMatchesItsGrid)
{
    EXPECT_EQ(toolKeypads::kNumberPadKeys.size(),
              static_cast<std::size_t>(toolKeypads::kNumberPadGrid.columns * toolKeypads::kNumberPadGrid.rows));
    EXPECT_EQ(toolKeypads::kGraphOperatorKeys.size(),
              static_cast<std::size_t>(toolKeypads::kGraphOperatorGrid.columns * toolKeypads::kGraphOperatorGrid.rows));
    EXPECT_EQ(toolKeypads::kDateTimeKeys.size(),
              static_cast<std::size_t>(toolKeypads::kDateTimeGrid.columns * toolKeypads::kDateTimeGrid.rows));
    EXPECT_EQ(toolKeypads::kFormulaKeys.size(),
              static_cast<std::size_t>(toolKeypads::kFormulaGrid.columns * toolKeypads::kFormulaGrid.rows));
    // Every digit once on each pad that has digits.
    for (char16_t digit = u'0'; digit <= u'9'; ++digit) {
        int onPad = 0;
        for (const NumberPadFace& face : toolKeypads::kNumberPadKeys)
            onPad += face.key == NumberPadKey::Digit && face.digit == digit && face.label == std::u16string(1, digit);
        EXPECT_EQ(onPad, 1);
        int onDateTime = 0;
        for (const toolKeypads::DateTimeFace& face : toolKeypads::kDateTimeKeys)
            onDateTime += face.key == toolKeypads::DateTimeKey::Digit && face.digit == digit;
        EXPECT_EQ(onDateTime, 1);
    }
}

TEST(FormulaButtons, SizesGrowAndFollowTheScale)
{
    using toolKeypads::FormulaKey;
    for (const int scale : {1, 2}) {
        const int small = toolKeypads::formulaSizeIndex(FormulaKey::Small, scale);
        const int medium = toolKeypads::formulaSizeIndex(FormulaKey::Medium, scale);
        const int large = toolKeypads::formulaSizeIndex(FormulaKey::Large, scale);
        EXPECT_LT(small, medium);
        EXPECT_LT(medium, large);
        EXPECT_GE(small, 0);
        EXPECT_LE(large, 7);
    }
    // Medium is what the view always showed: \normalsize, or \Large on a large screen.
    EXPECT_EQ(toolKeypads::formulaSizeIndex(FormulaKey::Medium, 1), 2);
    EXPECT_EQ(toolKeypads::formulaSizeIndex(FormulaKey::Medium, 2), 4);
}

}  // namespace
