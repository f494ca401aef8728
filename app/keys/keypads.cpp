#include "keypads.h"

#include "key_codes.h"

namespace {

struct SecondFunction {
    int code;
    int shiftedCode;
};

// second (orange) functions of the basic keypad.
constexpr std::array<SecondFunction, 3> kBasicSecondFunctions = {{
    {KeyCode::kEquals, KeyCode::kAnswer},
    {KeyCode::kMemoryStore, KeyCode::kNextMemory},
    {KeyCode::kMemoryRecall, KeyCode::kClearMemory},
}};

// A run of consecutive keys on a function keypad sending consecutive codes: positions
// firstPosition..lastPosition send firstCode, firstCode + 1, ... A "second" run applies while
// shift is on or the key is held. Positions covered by no first run open the category's
// pop-up lists or belong to its tool window.
struct FunctionKeyRun {
    int category;
    bool second;
    int firstPosition;
    int lastPosition;
    int firstCode;
    bool hexOnly;
};

constexpr std::array<FunctionKeyRun, 16> kFunctionKeyRuns = {{
    // Arithmetic: "i" "gcd(" "exp" "log(" "ln(" "^" square cube "!";
    // second: "x" "ran(" "lcm(" " mod " 10^ e^ root square-root cube-root "%".
    {CategoryCode::kArithmetic, false, 3, 11, KeyCode::kImaginary, false},
    {CategoryCode::kArithmetic, true, 2, 11, KeyCode::kVariable, false},
    // Trigonometry: angle cycle, "sinh(" .. "pi"; second: "asinh(" .. "asec(", reciprocal.
    {CategoryCode::kTrigonometry, false, 2, 11, KeyCode::kAngleCycle, false},
    {CategoryCode::kTrigonometry, true, 3, 10, 60, false},
    {CategoryCode::kTrigonometry, true, 11, 11, KeyCode::kReciprocal, false},
    // Base conversion: word size cycle, radix cycle, "and" "or" "xor", and "A" .. "F" in HEX;
    // second: "nand" "nor" " mod ", and the shifts, rotations, "not(" and "cpl(".
    {CategoryCode::kBaseConversion, false, 0, 0, KeyCode::kWordSizeCycle, false},
    {CategoryCode::kBaseConversion, false, 2, 2, KeyCode::kRadixCycle, false},
    {CategoryCode::kBaseConversion, false, 3, 5, 69, false},
    {CategoryCode::kBaseConversion, false, 6, 11, KeyCode::kHexA, true},
    {CategoryCode::kBaseConversion, true, 3, 4, 78, false},
    {CategoryCode::kBaseConversion, true, 5, 5, 37, false},
    {CategoryCode::kBaseConversion, true, 6, 11, 80, false},
    // Statistics: "N(X)" "ncr(" "sum(X)" .. "min(X)"; second: "npr(" "ssq(X)" .. "max(X)".
    {CategoryCode::kStatistics, false, 4, 11, 86, false},
    {CategoryCode::kStatistics, true, 5, 11, 94, false},
    // Matrices: "det(" .. "solve(".
    {CategoryCode::kMatrices, false, 2, 11, 101, false},
    // Finance: "syd(" .. "db(".
    {CategoryCode::kFinance, false, 4, 11, 111, false},
}};

constexpr int kThreeRowFirstPosition = 12;
constexpr int kThreeRowKeys = 18;

std::optional<int> basicKeyAt(Orientation orientation, int position)
{
    if (orientation == Orientation::Portrait) {
        if (position < 0 || position >= static_cast<int>(kBasicKeyLabels.size())) {
            return std::nullopt;
        }
        return position;
    }
    if (position < 0 || position >= static_cast<int>(kLandscapeBasicKeyLabels.size())) {
        return std::nullopt;
    }
    // Every landscape label is a portrait label, and a portrait label's index is its code.
    return static_cast<int>(kBasicKeyLabels.find(kLandscapeBasicKeyLabels[static_cast<std::size_t>(position)]));
}

const FunctionKeyRun* findRun(int category, int position, bool second)
{
    for (const FunctionKeyRun& run : kFunctionKeyRuns) {
        if (run.category == category && run.second == second && position >= run.firstPosition &&
            position <= run.lastPosition) {
            return &run;
        }
    }
    return nullptr;
}

}  // namespace

std::optional<int> basicKeypadCode(Orientation orientation, int position, bool shifted, int category)
{
    const std::optional<int> code = basicKeyAt(orientation, position);
    if (!code) {
        return std::nullopt;
    }
    if (*code == KeyCode::kDecimal && category == CategoryCode::kBaseConversion) {
        return std::nullopt;
    }
    if (shifted) {
        for (const SecondFunction& second : kBasicSecondFunctions) {
            if (second.code == *code) {
                return second.shiftedCode;
            }
        }
    }
    return code;
}

std::optional<int> threeRowKeypadCode(int position)
{
    if (position < kThreeRowFirstPosition || position >= kThreeRowKeys) {
        return std::nullopt;
    }
    return KeyCode::kOpenParenthesis + (position - kThreeRowFirstPosition);
}

std::optional<int> functionKeypadCode(int category, int position, bool shifted, int radix)
{
    const FunctionKeyRun* run = shifted ? findRun(category, position, true) : nullptr;
    if (!run) {
        run = findRun(category, position, false);
    }
    if (!run || (run->hexOnly && radix != KeyCode::kRadixHex)) {
        return std::nullopt;
    }
    return run->firstCode + (position - run->firstPosition);
}

std::optional<int> calculusEntryCode(std::u16string_view text)
{
    for (const CalculusEntry& entry : kCalculusList) {
        if (entry.text == text) {
            return entry.code;
        }
    }
    return std::nullopt;
}
