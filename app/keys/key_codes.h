#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "result_format.h"

// The key-code space. Every input of the calculator (a keypad touch, a typed character, a hard
// key) is reduced to one of these codes, 0..159, before the display's key handler sees it.
// The numbers are fixed: they are stored in led.dat (radix, display format) and shared with
// the keypad images, so they stay plain ints with names for the ones code refers to.
namespace KeyCode {

constexpr int kCount = 160;

constexpr int kDivide = 3;
constexpr int kClear = 4;
constexpr int kMultiply = 8;
constexpr int kMemoryStore = 9;
constexpr int kMinus = 13;
constexpr int kMemoryRecall = 14;
constexpr int kDecimal = 16;
constexpr int kSign = 17;
constexpr int kPlus = 18;
constexpr int kEquals = 19;
constexpr int kNextMemory = 20;
constexpr int kClearMemory = 21;
constexpr int kAnswer = 22;
constexpr int kShift = 23;
constexpr int kImaginary = 25;
constexpr int kPower = 30;
constexpr int kSquare = 31;
constexpr int kCube = 32;
constexpr int kFactorial = 33;
constexpr int kVariable = 34;  // inserts "x"
constexpr int kTenToThePower = 38;
constexpr int kSquareRoot = 41;
constexpr int kCubeRoot = 42;
constexpr int kPercent = 43;
constexpr int kOpenParenthesis = 44;
constexpr int kCloseParenthesis = 45;
constexpr int kComma = 46;
constexpr int kDelete = 47;
constexpr int kCursorLeft = 48;
constexpr int kCursorRight = 49;
constexpr int kAngleCycle = 50;
constexpr int kPi = 59;
constexpr int kRadixCycle = 68;
constexpr int kHexA = 72;
constexpr int kHexF = 77;
constexpr int kIntegral = 119;
constexpr int kDerivative = 120;
constexpr int kFunctionEvaluation = 121;
constexpr int kFunctionRoot = 122;
constexpr int kProduct = 123;
constexpr int kSummation = 124;
constexpr int kFibonacci = 125;
constexpr int kMemory1 = 126;
constexpr int kMemory5 = 130;
constexpr int kReciprocal = 131;
constexpr int kFormatCycle = 133;
constexpr int kFormatFix = 134;
constexpr int kFormatNorm = 135;
constexpr int kFormatSci = 136;
constexpr int kWordSizeCycle = 137;
constexpr int kWordSize8 = 138;
constexpr int kWordSize16 = 139;
constexpr int kWordSize32 = 140;
constexpr int kAngleDeg = 142;
constexpr int kAngleRad = 143;
constexpr int kAngleGra = 144;
constexpr int kRadixBin = 145;
constexpr int kRadixOct = 146;
constexpr int kRadixDec = 147;
constexpr int kRadixHex = 148;
constexpr int kNextLine = 149;
constexpr int kPreviousLine = 150;
constexpr int kLine1 = 151;
constexpr int kLine5 = 155;
constexpr int kCursorTenLeft = 156;
constexpr int kCursorTenRight = 157;

}  // namespace KeyCode

// What a code does in "String-Standard": insert one or two fixed tokens at the cursor, or
// act on the display state (clear, memories, cursor, indicators, evaluation). Codes with no
// meaning (24, 132, 141, 158, 159) and codes outside 0..159 are Unused.
enum class KeyKind { Unused, Insert, Action };

KeyKind keyKind(int code);

// The tokens an Insert code puts at the cursor, in order (one or two; "^" then "2" for the
// square key). The decimal key's token depends on the output format: U+00B8 for European,
// "." otherwise. Empty for Action and Unused codes. The views point at static text.
std::vector<std::u16string_view> insertedTokens(int code, OutputFormat format);

// The digit a key enters: 0..9 for the digit keys of the basic keypad, 10..15 for the
// hexadecimal keys 72..77; nothing for every other code.
std::optional<int> digitOfKey(int code);
