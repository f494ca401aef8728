#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

class VariableSlots;

// The typeset view of the input line: engine text becomes TeX markup for the formula renderer.
// Incomplete special calls become templates with "?" so a half-typed line still renders.
namespace formula {

// Input lines of this many characters or more are refused.
constexpr std::size_t kMaxInputLength = 1024;
// Markup and renderer buffers must stay below this many bytes.
constexpr std::size_t kMarkupLimit = 8192;

constexpr std::size_t kSizeCount = 8;
constexpr std::array<std::string_view, kSizeCount> kSizeCommands = {"\\tiny",  "\\small", "\\normalsize", "\\large",
                                                                    "\\Large", "\\LARGE", "\\huge",       "\\Huge"};

constexpr std::u16string_view kEmptyMessage = u"Empty string";
constexpr std::u16string_view kOverlengthMessage = u"Overlength string";

// Converts engine text to markup: powers, fractions, special calls, then bracketed variables
// replaced by their values from slots. The result may exceed kMarkupLimit; callers check.
std::string expressionToTex(std::string_view text, const VariableSlots& slots);

// What the formula window shows: either a message ("Empty string", "Overlength string") in
// place of the drawing, or the buffer to hand to the renderer.
struct FormulaRequest {
    std::u16string message;
    std::string buffer;
    bool hasMessage() const { return !message.empty(); }
};

// Checks and converts the input line for rendering at a size index (0..7, clamped): the
// buffer is the size command, a space and the markup, with "(" and ")" widened to
// "\left( " and " \right)" unless they follow a "t".
FormulaRequest renderExpressionFormula(std::u16string_view text, int sizeIndex, const VariableSlots& slots);

}  // namespace formula
