#include <gtest/gtest.h>

#include "keyboard_map.h"
#include "keypads.h"

namespace {

using Kind = TypedKeyResult::Kind;

TypedKeyContext inRadix(int radix)
{
    return {CategoryCode::kBaseConversion, radix, false, false};
}

const TypedKeyContext kArithmetic{};

struct Case {
    const char* name;
    char16_t character;
    TypedKeyContext context;
    Kind kind;
    std::vector<int> codes;
};

void check(const Case& c)
{
    const TypedKeyResult result = mapTypedCharacter(c.character, c.context);
    EXPECT_EQ(result.kind, c.kind) << c.name;
    EXPECT_EQ(result.codes, c.codes) << c.name;
}

TEST(KeyboardMap, LettersAndKeypadCharacters)
{
    const Case cases[] = {
        {"w", u'w', kArithmetic, Kind::Codes, {10}},
        {"W", u'W', kArithmetic, Kind::Codes, {10}},
        {"? is zero", u'?', kArithmetic, Kind::Codes, {15}},
        {"c is nine", u'c', kArithmetic, Kind::Codes, {2}},
        {"a multiplies", u'a', kArithmetic, Kind::Codes, {KeyCode::kMultiply}},
        {"Y closes", u'Y', kArithmetic, Kind::Codes, {KeyCode::kCloseParenthesis}},
        {"x is the letter map's 8", u'x', kArithmetic, Kind::Codes, {1}},
        {"digit", u'5', kArithmetic, Kind::Codes, {6}},
        {"escape clears", u'\x1B', kArithmetic, Kind::Codes, {KeyCode::kClear}},
        {"M stores", u'M', kArithmetic, Kind::Codes, {KeyCode::kMemoryStore}},
        {"sign", u'_', kArithmetic, Kind::Codes, {KeyCode::kSign}},
        {"comma", u',', kArithmetic, Kind::Codes, {KeyCode::kComma}},
        {"caret", u'^', kArithmetic, Kind::Codes, {KeyCode::kPower}},
        {"point", u'.', kArithmetic, Kind::Codes, {KeyCode::kDecimal}},
        {"backspace", u'\b', kArithmetic, Kind::Codes, {KeyCode::kCursorLeft, KeyCode::kDelete}},
        {"=", u'=', kArithmetic, Kind::Evaluate, {}},
        {"k", u'k', kArithmetic, Kind::Evaluate, {}},
        {"187", char16_t{187}, kArithmetic, Kind::Evaluate, {}},
        {"enter", u'\r', kArithmetic, Kind::NotHandled, {}},
        {"unknown", u'b', kArithmetic, Kind::NotHandled, {}},
    };
    for (const Case& c : cases) {
        check(c);
    }
}

TEST(KeyboardMap, RadixFilters)
{
    const TypedKeyContext bin = inRadix(KeyCode::kRadixBin);
    const TypedKeyContext oct = inRadix(KeyCode::kRadixOct);
    const TypedKeyContext hex = inRadix(KeyCode::kRadixHex);
    const Case cases[] = {
        {"BIN 5", u'5', bin, Kind::Refused, {6}},
        {"BIN 1", u'1', bin, Kind::Codes, {10}},
        {"BIN e is a 2", u'e', bin, Kind::Refused, {11}},
        {"BIN ? is a 0", u'?', bin, Kind::Codes, {15}},
        {"BIN plus", u'+', bin, Kind::Codes, {KeyCode::kPlus}},
        {"OCT 8", u'8', oct, Kind::Refused, {1}},
        {"OCT 7", u'7', oct, Kind::Codes, {0}},
        {"HEX b", u'b', hex, Kind::Codes, {73}},
        {"HEX A", u'A', hex, Kind::Codes, {KeyCode::kHexA}},
        {"HEX c", u'c', hex, Kind::Codes, {74}},
        {"HEX 9", u'9', hex, Kind::Codes, {2}},
        {"HEX w", u'w', hex, Kind::Codes, {10}},
        {"HEX g", u'g', hex, Kind::NotHandled, {}},
        {"point in base conversion", u'.', inRadix(KeyCode::kRadixDec), Kind::Refused, {KeyCode::kDecimal}},
    };
    for (const Case& c : cases) {
        check(c);
    }
}

TEST(KeyboardMap, ToolCategoriesAndConverter)
{
    const TypedKeyContext units{CategoryCode::kUnitConverter, KeyCode::kRadixDec, false, false};
    const TypedKeyContext editing{CategoryCode::kMacros, KeyCode::kRadixDec, true, false};
    const TypedKeyContext constants{CategoryCode::kConstants, KeyCode::kRadixDec, false, false};
    const TypedKeyContext converter{CategoryCode::kUnitConverter, KeyCode::kRadixDec, false, true};
    const Case cases[] = {
        {"tool ignores digits", u'5', units, Kind::Ignored, {}},
        {"tool still maps letters", u'w', units, Kind::Codes, {10}},
        {"macro editing", u'5', editing, Kind::Codes, {6}},
        {"constants", u'5', constants, Kind::Codes, {6}},
        {"converter digit", u'5', converter, Kind::ToConverter, {}},
        {"converter letter map first", u'w', converter, Kind::Codes, {10}},
    };
    for (const Case& c : cases) {
        check(c);
    }

    struct Sound {
        char16_t character;
        bool keySound;
    };
    const Sound sounds[] = {{u'0', true},    {u'\b', true}, {u'\t', true}, {u'-', true}, {u'\r', true},
                            {u'\x1B', true}, {u'=', true},  {u'q', false}, {u'+', false}};
    for (const Sound& s : sounds) {
        const TypedKeyResult result = mapTypedCharacter(s.character, converter);
        EXPECT_EQ(result.kind, Kind::ToConverter) << int(s.character);
        EXPECT_EQ(result.keySound, s.keySound) << int(s.character);
    }
}

}  // namespace
