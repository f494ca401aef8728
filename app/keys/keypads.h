#pragma once

#include <array>
#include <optional>
#include <string_view>

// Keypad layouts: which key code a touched key position sends. Positions count keys in
// reading order from 0; hit-testing a point to a position is the view's business. A position
// that sends no code (off the pad, or a key that opens a pop-up list or belongs to the
// category's tool window) gives std::nullopt.

// Category codes, shared by the keypads, the display pages and the category order.
namespace CategoryCode {
constexpr int kArithmetic = 0;
constexpr int kTrigonometry = 1;
constexpr int kBaseConversion = 2;
constexpr int kStatistics = 3;
constexpr int kMatrices = 4;
constexpr int kFinance = 5;
constexpr int kTip = 6;
constexpr int kUnitConverter = 7;
constexpr int kCurrencyConverter = 8;
constexpr int kConstants = 9;
constexpr int kBiorhythm = 10;
constexpr int kMacros = 11;
constexpr int kEquationSolver = 12;
constexpr int kFunctionGraphs = 13;
constexpr int kDateTime = 14;
}  // namespace CategoryCode

enum class Orientation { Portrait, Landscape };

// Labels of the basic keypad. Portrait: twenty keys whose labels are in key-code order, so a
// key's position is its code; "~" is the sign key. Landscape: the same keys in seven columns
// by three rows, with the clear key drawn twice ("CC").
constexpr std::u16string_view kBasicKeyLabels = u"789/C456*M123-R0.~+=";
constexpr std::u16string_view kLandscapeBasicKeyLabels = u"6789CCM2345-*R01.~+/=";
constexpr int kLandscapeBasicColumns = 7;
constexpr int kLandscapeBasicRows = 3;

// The code a basic-keypad key sends. While shift is on or the key is held, "=" gives 22
// ("[ans]"), "M" gives 20 (next memory) and "R" gives 21 (clear memory); the other keys have no
// second function and send their own code. In "Base conversion" the decimal key sends nothing.
std::optional<int> basicKeypadCode(Orientation orientation, int position, bool shifted, int category);

// A keypad drawn as three rows of six keys: its third row is "(", ")", ",", delete, cursor
// left, cursor right (44..49). Positions 0..11 belong to the pad's own layout: nothing here.
std::optional<int> threeRowKeypadCode(int position);

constexpr int kFunctionKeypadKeys = 12;

// The function keypads of categories 0..5 (portrait), positions 0..11. Shifted (shift on or
// the key held) selects the key's second function where it has one; a key without one sends
// its first code. The hexadecimal keys of "Base conversion" send only when radix is the "HEX"
// key code (148); radix is the display's radix key code (145..148).
std::optional<int> functionKeypadCode(int category, int position, bool shifted, int radix);

// The calculus pop-up list, in the order shown, with the insertion each entry feeds.
struct CalculusEntry {
    std::u16string_view text;
    int code;
};

constexpr std::array<CalculusEntry, 7> kCalculusList = {{
    {u"Fibonacci", 125},
    {u"Summation", 124},
    {u"Product", 123},
    {u"Root", 122},
    {u"Evaluation", 121},
    {u"Integration", 119},
    {u"Differentiation", 120},
}};

// The key code of a chosen calculus entry; the text must match exactly (case included).
std::optional<int> calculusEntryCode(std::u16string_view text);
