#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "calc_value.h"
#include "operator_context.h"

class Engine;

// The stack calculator behind the "Basic-Standard" and "Basic-RPN" input modes: each key is
// fed as a token and the value now on top comes back. Both modes share one stack of values,
// the entry state of the number being typed, and the engine's scalar operator table.
//
// Tokens: one digit or hex letter (read in the given radix), a longer number text (pushed
// whole), ".." (decimal point), "(" and ")" (close the entry), "Pop", "=", "DoNothing",
// kSignToken (negate the top), "PI", "Drop" (remove the top, so that a composite key can put
// a value in its place), and the names of the scalar operator table.
class BasicMachine {
public:
    // The minus sign U+2212 in UTF-8: the sign key's token.
    static constexpr std::string_view kSignToken = "\xE2\x88\x92";
    // Values beyond this many raise "Out of range error" instead of growing without bound.
    static constexpr std::size_t kCapacity = 256;

    // Reverse Polish step. Digits are read in radix 2, 8, 10 or 16.
    CalcValue stepRpn(Engine& engine, std::string_view token, int radix);
    // Immediate execution with operator precedence ("2 + 3 * 4 =" gives 14).
    CalcValue stepBasic(Engine& engine, std::string_view token, int radix);

    // Empties the stack, drops pending operators and closes the entry. The last result, the
    // last operator and the engine's last right operand stay, for a repeated "=".
    void reset();
    // Forgets the repeat state as well (after an error).
    void clearRepeat();

    std::size_t count() const { return stack_.size(); }
    CalcValue top() const { return stack_.empty() ? CalcValue{} : stack_.back(); }
    // The whole stack, bottom first, for a display that shows more than the top.
    const ScalarStack& values() const { return stack_; }
    // Whether the top is a number still being typed, which the next digit continues.
    bool entryOpen() const { return entry_ != Entry::Closed; }

private:
    enum class Entry { Closed, Integer, Fraction };

    // Handles the tokens both modes share; returns false for a token it does not know.
    bool stepCommon(Engine& engine, std::string_view token, int radix);
    bool pushValue(Engine& engine, CalcValue value);
    void pushNumberText(Engine& engine, std::string_view text);
    void applyOperation(Engine& engine, std::string_view name);
    void applyPending(Engine& engine);
    void operatorToken(Engine& engine, std::string_view name);
    void equals(Engine& engine);

    ScalarStack stack_;
    Entry entry_ = Entry::Closed;
    int fractionDigits_ = 0;
    std::vector<std::string> pending_;
    bool lastWasOperator_ = false;
    std::string lastOperator_;
    double lastResult_ = 0.0;
    bool hasLastResult_ = false;
};
