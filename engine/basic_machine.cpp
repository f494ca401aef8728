#include "basic_machine.h"

#include <array>
#include <cmath>

#include "c_number.h"
#include "engine.h"
#include "scalar_operator_table.h"
#include "tokenizer.h"

namespace {

constexpr std::array<std::string_view, 17> kTwoOperandNames = {
    "+", "-", "*", "/", "^", "mod", "and", "or", "nand", "nor", "xor", "shl", "shr", "rtl", "rtr", "iroot", "iexp",
};

bool isTwoOperand(std::string_view name)
{
    for (std::string_view candidate : kTwoOperandNames) {
        if (candidate == name)
            return true;
    }
    return false;
}

int digitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

}  // namespace

void BasicMachine::reset()
{
    stack_.clear();
    pending_.clear();
    entry_ = Entry::Closed;
    fractionDigits_ = 0;
    lastWasOperator_ = false;
}

void BasicMachine::clearRepeat()
{
    lastOperator_.clear();
    lastResult_ = 0.0;
    hasLastResult_ = false;
}

bool BasicMachine::pushValue(Engine& engine, CalcValue value)
{
    if (stack_.size() >= kCapacity) {
        engine.raise(ErrorCode::kOutOfRange);
        return false;
    }
    stack_.push_back(value);
    return true;
}

void BasicMachine::pushNumberText(Engine& engine, std::string_view text)
{
    double value = 0.0;
    if (cnum::parsePrefix(text, value) == text.size()) {
        pushValue(engine, {value, 0.0});
        return;
    }
    // A recalled memory may be any expression the display can show ("1.5exp(-3)", "3+2i").
    const Engine::ScalarResult result = engine.evaluateScalar(text, {}, 0.0, 10);
    if (result.ok)
        pushValue(engine, result.value);
}

void BasicMachine::applyOperation(Engine& engine, std::string_view name)
{
    const ScalarOperation operation = findScalarOperation(name);
    if (operation == nullptr)
        return;
    OperatorContext context = engine.context();
    operation(stack_, 0, context);
    if (!context.failed() && isTwoOperand(name))
        lastOperator_ = std::string(name);
}

void BasicMachine::applyPending(Engine& engine)
{
    const std::string name = pending_.back();
    pending_.pop_back();
    applyOperation(engine, name);
}

bool BasicMachine::stepCommon(Engine& engine, std::string_view token, int radix)
{
    if (token.size() == 1 && digitValue(token[0]) >= 0) {
        const int digit = digitValue(token[0]);
        if (digit >= radix)
            return true;
        switch (entry_) {
        case Entry::Closed:
            if (pushValue(engine, {static_cast<double>(digit), 0.0}))
                entry_ = Entry::Integer;
            break;
        case Entry::Integer: stack_.back().re = stack_.back().re * radix + digit; break;
        case Entry::Fraction:
            ++fractionDigits_;
            stack_.back().re += digit / std::pow(10.0, fractionDigits_);
            break;
        }
        return true;
    }
    if (token == "..") {
        if (entry_ == Entry::Closed && !pushValue(engine, {0.0, 0.0}))
            return true;
        if (entry_ != Entry::Fraction) {
            entry_ = Entry::Fraction;
            fractionDigits_ = 0;
        }
        return true;
    }
    entry_ = Entry::Closed;
    if (token == "(" || token == ")" || token == "Pop" || token == "=")
        return true;
    if (token == "Drop") {
        if (!stack_.empty())
            stack_.pop_back();
        return true;
    }
    if (token == kSignToken) {
        if (!stack_.empty())
            stack_.back().re = -stack_.back().re;
        return true;
    }
    if (token == "PI") {
        pushValue(engine, {3.141592653589793, 0.0});
        return true;
    }
    if (token.size() > 1 && (digitValue(token[0]) >= 0 || token[0] == '-' || token[0] == '.')) {
        pushNumberText(engine, token);
        return true;
    }
    return false;
}

CalcValue BasicMachine::stepRpn(Engine& engine, std::string_view token, int radix)
{
    engine.resetError();
    if (!stepCommon(engine, token, radix))
        applyOperation(engine, token);
    return top();
}

void BasicMachine::operatorToken(Engine& engine, std::string_view name)
{
    if (lastWasOperator_ && !pending_.empty()) {
        pending_.back() = std::string(name);
        return;
    }
    if (stack_.empty() && !pushValue(engine, {}))
        return;
    // Operators of higher or equal precedence that wait are done first: in 2 * 3 + 4 the
    // product is taken when "+" arrives.
    while (!pending_.empty() && operatorClass(name) <= operatorClass(pending_.back()) &&
           engine.error() == ErrorCode::kNone)
        applyPending(engine);
    pending_.push_back(std::string(name));
}

void BasicMachine::equals(Engine& engine)
{
    if (!pending_.empty()) {
        while (!pending_.empty() && engine.error() == ErrorCode::kNone)
            applyPending(engine);
    } else if (stack_.empty() && hasLastResult_ && !lastOperator_.empty()) {
        // "=" again right after "=": the last operation once more with its right operand,
        // so 2 + 3 = = gives 5, then 8.
        const double right = engine.settings.lastRightOperand;
        pushValue(engine, {lastResult_, 0.0});
        pushValue(engine, {right, 0.0});
        applyOperation(engine, lastOperator_);
    }
    if (engine.error() != ErrorCode::kNone) {
        clearRepeat();
        return;
    }
    if (!stack_.empty()) {
        lastResult_ = stack_.back().re;
        hasLastResult_ = true;
    }
}

CalcValue BasicMachine::stepBasic(Engine& engine, std::string_view token, int radix)
{
    engine.resetError();
    const bool isOperator = isTwoOperand(token);
    if (isOperator) {
        entry_ = Entry::Closed;
        operatorToken(engine, token);
    } else if (token == "=") {
        entry_ = Entry::Closed;
        equals(engine);
    } else if (token == "DoNothing") {
        entry_ = Entry::Closed;
        if (!pending_.empty())
            applyPending(engine);
    } else if (!stepCommon(engine, token, radix)) {
        // A function applies to the value on display; with nothing entered yet, that is 0.
        if (stack_.empty())
            pushValue(engine, {});
        applyOperation(engine, token);
    }
    lastWasOperator_ = isOperator;
    if (engine.error() != ErrorCode::kNone)
        reset();
    return top();
}
