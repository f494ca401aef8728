#include "key_codes.h"

#include <array>

namespace {

struct KeyEntry {
    int code;
    KeyKind kind;
    std::u16string_view first;
    std::u16string_view second;
};

constexpr KeyKind kUnused = KeyKind::Unused;
constexpr KeyKind kInsert = KeyKind::Insert;
constexpr KeyKind kAction = KeyKind::Action;

// Every key code with the tokens it inserts in "String-Standard". A second text is a second
// token: "^" "2" deletes as two pieces, "sin(" as one. The decimal key's "." is the United
// States text; insertedTokens swaps in the European one. Calculus signs (119..124) are display
// forms that the display-to-engine conversion turns into fnInt, fnDeriv and friends.
constexpr std::array<KeyEntry, KeyCode::kCount> kKeyTable = {{
    {0, kInsert, u"7", {}},
    {1, kInsert, u"8", {}},
    {2, kInsert, u"9", {}},
    {KeyCode::kDivide, kInsert, u"\u00F7", {}},
    {KeyCode::kClear, kAction, {}, {}},  // clear the line
    {5, kInsert, u"4", {}},
    {6, kInsert, u"5", {}},
    {7, kInsert, u"6", {}},
    {KeyCode::kMultiply, kInsert, u"\u00D7", {}},
    {KeyCode::kMemoryStore, kAction, {}, {}},  // store the result in the selected memory
    {10, kInsert, u"1", {}},
    {11, kInsert, u"2", {}},
    {12, kInsert, u"3", {}},
    {KeyCode::kMinus, kInsert, u"\u2212", {}},
    {KeyCode::kMemoryRecall, kAction, {}, {}},  // recall: inserts the memory's text, which is not fixed
    {15, kInsert, u"0", {}},
    {KeyCode::kDecimal, kInsert, u".", {}},
    {KeyCode::kSign, kInsert, u"(-", {}},
    {KeyCode::kPlus, kInsert, u"+", {}},
    {KeyCode::kEquals, kAction, {}, {}},  // evaluate
    {KeyCode::kNextMemory, kAction, {}, {}},
    {KeyCode::kClearMemory, kAction, {}, {}},
    {KeyCode::kAnswer, kInsert, u"[ans]", {}},
    {KeyCode::kShift, kAction, {}, {}},
    {24, kUnused, {}, {}},
    {KeyCode::kImaginary, kInsert, u"i", {}},
    {26, kInsert, u"gcd(", {}},
    {27, kInsert, u"exp", {}},
    {28, kInsert, u"log(", {}},
    {29, kInsert, u"ln(", {}},
    {KeyCode::kPower, kInsert, u"^", {}},
    {KeyCode::kSquare, kInsert, u"^", u"2"},
    {KeyCode::kCube, kInsert, u"^", u"3"},
    {KeyCode::kFactorial, kInsert, u"!", {}},
    {KeyCode::kVariable, kInsert, u"x", {}},
    {35, kInsert, u"ran(", {}},
    {36, kInsert, u"lcm(", {}},
    {37, kInsert, u" mod ", {}},
    {KeyCode::kTenToThePower, kInsert, u"10", u"^"},
    {39, kInsert, u"e", u"^"},
    {40, kInsert, u"\u221A(", {}},
    {KeyCode::kSquareRoot, kInsert, u"2", u"\u221A("},
    {KeyCode::kCubeRoot, kInsert, u"3", u"\u221A("},
    {KeyCode::kPercent, kInsert, u"%", {}},
    {KeyCode::kOpenParenthesis, kInsert, u"(", {}},
    {KeyCode::kCloseParenthesis, kInsert, u")", {}},
    {KeyCode::kComma, kInsert, u",", {}},
    {KeyCode::kDelete, kAction, {}, {}},  // delete the token at the cursor
    {KeyCode::kCursorLeft, kAction, {}, {}},
    {KeyCode::kCursorRight, kAction, {}, {}},
    {KeyCode::kAngleCycle, kAction, {}, {}},
    {51, kInsert, u"sinh(", {}},
    {52, kInsert, u"cosh(", {}},
    {53, kInsert, u"tanh(", {}},
    {54, kInsert, u"sin(", {}},
    {55, kInsert, u"cos(", {}},
    {56, kInsert, u"tan(", {}},
    {57, kInsert, u"csc(", {}},
    {58, kInsert, u"sec(", {}},
    {KeyCode::kPi, kInsert, u"pi", {}},
    {60, kInsert, u"asinh(", {}},
    {61, kInsert, u"acosh(", {}},
    {62, kInsert, u"atanh(", {}},
    {63, kInsert, u"asin(", {}},
    {64, kInsert, u"acos(", {}},
    {65, kInsert, u"atan(", {}},
    {66, kInsert, u"acsc(", {}},
    {67, kInsert, u"asec(", {}},
    {KeyCode::kRadixCycle, kAction, {}, {}},
    {69, kInsert, u" and ", {}},
    {70, kInsert, u" or ", {}},
    {71, kInsert, u" xor ", {}},
    {KeyCode::kHexA, kInsert, u"A", {}},
    {73, kInsert, u"B", {}},
    {74, kInsert, u"C", {}},
    {75, kInsert, u"D", {}},
    {76, kInsert, u"E", {}},
    {KeyCode::kHexF, kInsert, u"F", {}},
    {78, kInsert, u" nand ", {}},
    {79, kInsert, u" nor ", {}},
    {80, kInsert, u" shl ", {}},
    {81, kInsert, u" shr ", {}},
    {82, kInsert, u" rtl ", {}},
    {83, kInsert, u" rtr ", {}},
    {84, kInsert, u"not(", {}},
    {85, kInsert, u"cpl(", {}},
    {86, kInsert, u"N(X)", {}},
    {87, kInsert, u"ncr(", {}},
    {88, kInsert, u"sum(X)", {}},
    {89, kInsert, u"sdv(X)", {}},
    {90, kInsert, u"avg(X)", {}},
    {91, kInsert, u"avd(X)", {}},
    {92, kInsert, u"dsq(X)", {}},
    {93, kInsert, u"min(X)", {}},
    {94, kInsert, u"npr(", {}},
    {95, kInsert, u"ssq(X)", {}},
    {96, kInsert, u"ssd(X)", {}},
    {97, kInsert, u"median(X)", {}},
    {98, kInsert, u"md(X)", {}},
    {99, kInsert, u"gm(X)", {}},
    {100, kInsert, u"max(X)", {}},
    {101, kInsert, u"det(", {}},
    {102, kInsert, u"inv(", {}},
    {103, kInsert, u"eigv(", {}},
    {104, kInsert, u"eigl(", {}},
    {105, kInsert, u"orth(", {}},
    {106, kInsert, u"rank(", {}},
    {107, kInsert, u"trans(", {}},
    {108, kInsert, u"diag(", {}},
    {109, kInsert, u"tri(", {}},
    {110, kInsert, u"solve(", {}},
    {111, kInsert, u"syd(", {}},
    {112, kInsert, u"sln(", {}},
    {113, kInsert, u"fv(", {}},
    {114, kInsert, u"pv(", {}},
    {115, kInsert, u"nper(", {}},
    {116, kInsert, u"pmt(", {}},
    {117, kInsert, u"rate(", {}},
    {118, kInsert, u"db(", {}},
    {KeyCode::kIntegral, kInsert, u"\u222B(", {}},
    {KeyCode::kDerivative, kInsert, u"\u03B4(", {}},
    {KeyCode::kFunctionEvaluation, kInsert, u"\u0192(", {}},
    {KeyCode::kFunctionRoot, kInsert, u"fnRoot(", {}},
    {KeyCode::kProduct, kInsert, u"\u220F(", {}},
    {KeyCode::kSummation, kInsert, u"\u2211(", {}},
    {KeyCode::kFibonacci, kInsert, u"fib(", {}},
    {KeyCode::kMemory1, kAction, {}, {}},  // select M1
    {127, kAction, {}, {}},
    {128, kAction, {}, {}},
    {129, kAction, {}, {}},
    {KeyCode::kMemory5, kAction, {}, {}},  // select M5
    {KeyCode::kReciprocal, kInsert, u"1", u"\u00F7"},
    {132, kUnused, {}, {}},
    {KeyCode::kFormatCycle, kAction, {}, {}},
    {KeyCode::kFormatFix, kAction, {}, {}},
    {KeyCode::kFormatNorm, kAction, {}, {}},
    {KeyCode::kFormatSci, kAction, {}, {}},
    {KeyCode::kWordSizeCycle, kAction, {}, {}},
    {KeyCode::kWordSize8, kAction, {}, {}},
    {KeyCode::kWordSize16, kAction, {}, {}},
    {KeyCode::kWordSize32, kAction, {}, {}},
    {141, kUnused, {}, {}},
    {KeyCode::kAngleDeg, kAction, {}, {}},
    {KeyCode::kAngleRad, kAction, {}, {}},
    {KeyCode::kAngleGra, kAction, {}, {}},
    {KeyCode::kRadixBin, kAction, {}, {}},
    {KeyCode::kRadixOct, kAction, {}, {}},
    {KeyCode::kRadixDec, kAction, {}, {}},
    {KeyCode::kRadixHex, kAction, {}, {}},
    {KeyCode::kNextLine, kAction, {}, {}},
    {KeyCode::kPreviousLine, kAction, {}, {}},
    {KeyCode::kLine1, kAction, {}, {}},  // line 1 current
    {152, kAction, {}, {}},
    {153, kAction, {}, {}},
    {154, kAction, {}, {}},
    {KeyCode::kLine5, kAction, {}, {}},  // line 5 current
    {KeyCode::kCursorTenLeft, kAction, {}, {}},
    {KeyCode::kCursorTenRight, kAction, {}, {}},
    {158, kUnused, {}, {}},
    {159, kUnused, {}, {}},
}};

constexpr bool codesMatchPositions()
{
    for (std::size_t i = 0; i < kKeyTable.size(); ++i) {
        if (kKeyTable[i].code != static_cast<int>(i)) {
            return false;
        }
    }
    return true;
}
static_assert(codesMatchPositions(), "the key table must list every code once, in order");

constexpr char16_t kEuropeanDecimal[] = {kDisplayComma, u'\0'};

// The digit keys of the basic keypad in digit order: "0" is code 15, "1" code 10, ...
constexpr std::array<int, 10> kDigitCodes = {15, 10, 11, 12, 5, 6, 7, 0, 1, 2};

const KeyEntry* entryOf(int code)
{
    if (code < 0 || code >= KeyCode::kCount) {
        return nullptr;
    }
    return &kKeyTable[static_cast<std::size_t>(code)];
}

}  // namespace

KeyKind keyKind(int code)
{
    const KeyEntry* entry = entryOf(code);
    return entry ? entry->kind : KeyKind::Unused;
}

std::vector<std::u16string_view> insertedTokens(int code, OutputFormat format)
{
    const KeyEntry* entry = entryOf(code);
    if (!entry || entry->kind != KeyKind::Insert) {
        return {};
    }
    if (code == KeyCode::kDecimal && format == OutputFormat::European) {
        return {std::u16string_view(kEuropeanDecimal, 1)};
    }
    std::vector<std::u16string_view> tokens{entry->first};
    if (!entry->second.empty()) {
        tokens.push_back(entry->second);
    }
    return tokens;
}

std::optional<int> digitOfKey(int code)
{
    for (std::size_t digit = 0; digit < kDigitCodes.size(); ++digit) {
        if (kDigitCodes[digit] == code) {
            return static_cast<int>(digit);
        }
    }
    if (code >= KeyCode::kHexA && code <= KeyCode::kHexF) {
        return 10 + (code - KeyCode::kHexA);
    }
    return std::nullopt;
}
