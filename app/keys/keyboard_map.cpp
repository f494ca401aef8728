#include "keyboard_map.h"

#include <array>
#include <optional>
#include <string_view>
#include <utility>

#include "ascii.h"
#include "keypads.h"

namespace {

constexpr char16_t kBackspace = 8;
// Keys that evaluate besides "=": 107 and 187 are the keypad-plus and plus/equals virtual keys
// of the original device; 107 is also "k".
constexpr char16_t kEvaluateKeys[] = {u'=', u'K', 107, 187};

// Phone keyboards type digits with letter keys: the letters, compared without case, and the
// code each one gives, by position.
constexpr std::u16string_view kLetterKeys = u"?WERSDFZXCAVIUHNTY";
constexpr std::array<int, 18> kLetterCodes = {15, 10, 11, 12, 5, 6, 7, 0, 1, 2, 8, 3, 18, 13, 33, 46, 44, 45};
static_assert(kLetterKeys.size() == kLetterCodes.size());

// The basic keypad's labels as typed: a character's position is its code. Escape stands for
// "C" and "_" for the sign key; "=" is left out because it evaluates.
constexpr std::u16string_view kBasicCharacters =
    u"789/\x1B"
    u"456*M123-R0._+";

struct CharacterCode {
    char16_t character;
    int code;
};

constexpr std::array<CharacterCode, 4> kPunctuationCodes = {{
    {u'(', KeyCode::kOpenParenthesis},
    {u')', KeyCode::kCloseParenthesis},
    {u',', KeyCode::kComma},
    {u'^', KeyCode::kPower},
}};

// Desktop typing: every character that stands for a key, and the code it gives.
constexpr std::array<CharacterCode, 26> kDesktopCodes = {{
    {u'0', 15},
    {u'1', 10},
    {u'2', 11},
    {u'3', 12},
    {u'4', 5},
    {u'5', 6},
    {u'6', 7},
    {u'7', 0},
    {u'8', 1},
    {u'9', 2},
    {u'+', KeyCode::kPlus},
    {u'-', KeyCode::kMinus},
    {u'*', KeyCode::kMultiply},
    {u'/', KeyCode::kDivide},
    {u'\u00D7', KeyCode::kMultiply},
    {u'\u00F7', KeyCode::kDivide},
    {u'\u2212', KeyCode::kMinus},
    {u'\u221A', KeyCode::kSquareRoot},
    {u'\u00B2', KeyCode::kSquare},
    {u'\u00B3', KeyCode::kCube},
    {u'\u03C0', KeyCode::kPi},
    {u'.', KeyCode::kDecimal},
    {u'^', KeyCode::kPower},
    {u'!', KeyCode::kFactorial},
    {u'%', KeyCode::kPercent},
    {u'\x1B', KeyCode::kClear},
}};
constexpr char16_t kEnter = 13;

constexpr std::u16string_view kConverterSoundCharacters = u"0123456789\b\t.-\r=\x1B";

bool isToolCategory(int category)
{
    return category >= CategoryCode::kTip && category != CategoryCode::kConstants;
}

TypedKeyResult codes(std::vector<int> list)
{
    return {TypedKeyResult::Kind::Codes, std::move(list), false};
}

TypedKeyResult ofKind(TypedKeyResult::Kind kind)
{
    return {kind, {}, false};
}

// The radix and category filters that apply to a code however it was typed.
TypedKeyResult filtered(int code, const TypedKeyContext& context)
{
    if (!keyTakenIn(code, context.radix, context.category)) {
        return {TypedKeyResult::Kind::Refused, {code}, false};
    }
    return codes({code});
}

std::optional<int> basicCharacterCode(char16_t character)
{
    const std::size_t index = kBasicCharacters.find(character);
    if (index != std::u16string_view::npos) {
        return static_cast<int>(index);
    }
    for (const CharacterCode& entry : kPunctuationCodes) {
        if (entry.character == character) {
            return entry.code;
        }
    }
    return std::nullopt;
}

// The rules both maps apply after their own letter rules: the converter takes the character,
// a tool category ignores it, and backspace deletes the token before the cursor.
std::optional<TypedKeyResult> sharedRule(char16_t character, const TypedKeyContext& context)
{
    if (context.converterHasInput) {
        TypedKeyResult result = ofKind(TypedKeyResult::Kind::ToConverter);
        result.keySound = kConverterSoundCharacters.find(character) != std::u16string_view::npos;
        return result;
    }
    if (isToolCategory(context.category) && !context.macroEditing) {
        return ofKind(TypedKeyResult::Kind::Ignored);
    }
    if (character == kBackspace) {
        return codes({KeyCode::kCursorLeft, KeyCode::kDelete});
    }
    return std::nullopt;
}

}  // namespace

bool radixAllowsKey(int code, int radix)
{
    const std::optional<int> digit = digitOfKey(code);
    if (!digit) {
        return true;
    }
    switch (radix) {
    case KeyCode::kRadixBin: return *digit < 2;
    case KeyCode::kRadixOct: return *digit < 8;
    case KeyCode::kRadixHex: return true;
    default: return *digit < 10;
    }
}

bool keyTakenIn(int code, int radix, int category)
{
    return radixAllowsKey(code, radix) && !(code == KeyCode::kDecimal && category == CategoryCode::kBaseConversion);
}

TypedKeyResult mapTypedCharacter(char16_t character, const TypedKeyContext& context)
{
    const char16_t upper = ascii::toUpper(character);

    // Hexadecimal letters come first: A, C, D, E and F are also phone-keyboard letters, and a
    // user typing hexadecimal must get the digit, not a multiply or a decimal digit.
    if (context.radix == KeyCode::kRadixHex && upper >= u'A' && upper <= u'F') {
        return codes({KeyCode::kHexA + (upper - u'A')});
    }

    if (const std::size_t letter = kLetterKeys.find(upper); letter != std::u16string_view::npos) {
        return filtered(kLetterCodes[letter], context);
    }

    if (std::optional<TypedKeyResult> result = sharedRule(character, context)) {
        return std::move(*result);
    }
    for (char16_t key : kEvaluateKeys) {
        if (character == key) {
            return ofKind(TypedKeyResult::Kind::Evaluate);
        }
    }
    if (const std::optional<int> code = basicCharacterCode(character)) {
        return filtered(*code, context);
    }
    // Enter goes on to the window; so does anything unknown, such as "B" outside "HEX".
    return ofKind(TypedKeyResult::Kind::NotHandled);
}

TypedKeyResult mapDesktopCharacter(char16_t character, const TypedKeyContext& context)
{
    if (std::optional<TypedKeyResult> result = sharedRule(character, context)) {
        return std::move(*result);
    }
    if (character == u'=' || character == kEnter) {
        return ofKind(TypedKeyResult::Kind::Evaluate);
    }
    if (character == u' ') {
        return ofKind(TypedKeyResult::Kind::Ignored);
    }
    if (character == u';') {
        return filtered(KeyCode::kComma, context);
    }
    if (character == u',' && context.decimalComma) {
        return filtered(KeyCode::kDecimal, context);
    }
    for (const CharacterCode& entry : kDesktopCodes) {
        if (entry.character == character) {
            return filtered(entry.code, context);
        }
    }
    for (const CharacterCode& entry : kPunctuationCodes) {
        if (entry.character == character) {
            return filtered(entry.code, context);
        }
    }
    return ofKind(TypedKeyResult::Kind::NotHandled);
}
