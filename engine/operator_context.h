#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "calc_value.h"
#include "cancel_flag.h"
#include "engine_error.h"
#include "engine_settings.h"
#include "value_cell.h"

// What an operator of the engine's tables may touch: the error code and the settings, and the
// engine's cancel request for the operators that loop long (a 512 x 512 eigenproblem).
struct OperatorContext {
    int& error;
    EngineSettings& settings;
    const CancelFlag* cancel = nullptr;

    bool failed() const { return error != ErrorCode::kNone; }
    // True once the evaluation must stop: an error is set, or a cancel was requested, which
    // then raises "Calculation cancelled".
    bool stopRequested()
    {
        if (cancelRequested(cancel))
            raise(ErrorCode::kCancelled);
        return failed();
    }
    // The first error of an evaluation wins; later ones are dropped.
    void raise(int code)
    {
        if (error == ErrorCode::kNone)
            error = code;
    }
};

using ScalarStack = std::vector<CalcValue>;
using MatrixStack = std::vector<ValueCell>;

// Every operation pops its operands from the cells above `base` (the bottom of the innermost
// open group), pushes one result or raises an error. A failing operation leaves the stack as
// it was, so a caller that keeps its stack (the RPN mode) loses nothing.
using ScalarOperation = void (*)(ScalarStack& stack, std::size_t base, OperatorContext& context);
using MatrixOperation = void (*)(MatrixStack& stack, std::size_t base, OperatorContext& context);

inline std::size_t operandCount(const ScalarStack& stack, std::size_t base)
{
    return stack.size() > base ? stack.size() - base : 0;
}

// Applies compute(x, context) -> optional result to the top cell. Without an operand above
// the base it raises "Syntax error"; an empty optional means compute raised its own code.
// compute is taken by reference: a copy of a capturing lambda, made part by part and read back
// whole, would stall the store buffer on every call.
template <class Compute>
void applyUnary(ScalarStack& stack, std::size_t base, OperatorContext& context, const Compute& compute)
{
    if (operandCount(stack, base) < 1) {
        context.raise(ErrorCode::kSyntax);
        return;
    }
    std::optional<CalcValue> result = compute(stack.back(), context);
    if (!result)
        return;
    stack.back() = *result;
}

// Applies compute(left, right, context) -> optional result to the two top cells and records
// the right operand's real part as the last right operand.
template <class Compute>
void applyBinary(ScalarStack& stack, std::size_t base, OperatorContext& context, const Compute& compute)
{
    if (operandCount(stack, base) < 2) {
        context.raise(ErrorCode::kSyntax);
        return;
    }
    const CalcValue left = stack[stack.size() - 2];
    const CalcValue right = stack.back();
    std::optional<CalcValue> result = compute(left, right, context);
    if (!result)
        return;
    stack.pop_back();
    stack.back() = *result;
    context.settings.lastRightOperand = right.re;
}
