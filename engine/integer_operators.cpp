#include "integer_operators.h"

namespace integer_ops {

namespace {

constexpr int kWideWord = 64;

std::uint64_t wordMask(int wordSize)
{
    switch (wordSize) {
    case 8: return 0xFFu;
    case 16: return 0xFFFFu;
    default: return 0xFFFFFFFFu;
    }
}

int wordBits(int wordSize)
{
    return wordSize == 8 || wordSize == 16 ? wordSize : 32;
}

enum class Width { Bits32, Bits64 };

std::optional<std::int64_t> asInteger(double x, Width width)
{
    if (width == Width::Bits64)
        return asInt64(x);
    if (const auto narrow = asInt32(x))
        return *narrow;
    return std::nullopt;
}

// Checks both operands (complex before non-integer), then hands their integers and the word
// size to compute, which returns the result's real part, or nothing to raise failureCode.
template <class Compute>
void applyIntegerBinary(ScalarStack& stack, std::size_t base, OperatorContext& context, Width width, Compute compute,
                        int failureCode = ErrorCode::kNone)
{
    applyBinary(stack, base, context, [&](CalcValue a, CalcValue b, OperatorContext& c) -> std::optional<CalcValue> {
        if (!a.isReal() || !b.isReal()) {
            c.raise(ErrorCode::kComplexUnsupported);
            return std::nullopt;
        }
        const auto left = asInteger(a.re, width);
        const auto right = asInteger(b.re, width);
        if (!left || !right) {
            c.raise(ErrorCode::kInvalidType);
            return std::nullopt;
        }
        const std::optional<double> result = compute(*left, *right, c.settings.wordSize);
        if (!result) {
            c.raise(failureCode);
            return std::nullopt;
        }
        return CalcValue{*result, 0.0};
    });
}

template <class Compute>
void applyIntegerUnary(ScalarStack& stack, std::size_t base, OperatorContext& context, Compute compute)
{
    applyUnary(stack, base, context, [&](CalcValue x, OperatorContext& c) -> std::optional<CalcValue> {
        if (!x.isReal()) {
            c.raise(ErrorCode::kComplexUnsupported);
            return std::nullopt;
        }
        const auto value = asInt64(x.re);
        if (!value) {
            c.raise(ErrorCode::kInvalidType);
            return std::nullopt;
        }
        return CalcValue{compute(*value, c.settings.wordSize), 0.0};
    });
}

std::uint64_t masked(std::int64_t value, int wordSize)
{
    return static_cast<std::uint64_t>(value) & wordMask(wordSize);
}

// Shifts count only the low 8 bits of their right operand: -1 shifts by 255.
std::uint64_t shiftCount(std::int64_t operand)
{
    return static_cast<std::uint64_t>(operand) & 0xFFu;
}

// Rotating k times one bit at a time equals one rotation by k modulo the width.
double rotate(std::int64_t value, std::int64_t count, int wordSize, bool left)
{
    if (wordSize == kWideWord)
        return 0.0;
    const std::uint64_t bits = masked(value, wordSize);
    const int width = wordBits(wordSize);
    const std::int64_t steps = count < 0 ? 1 : count % width;
    if (steps == 0)
        return static_cast<double>(bits);
    const int by = static_cast<int>(left ? steps : width - steps);
    return static_cast<double>(((bits << by) | (bits >> (width - by))) & wordMask(wordSize));
}

}  // namespace

std::optional<std::int32_t> asInt32(double x)
{
    // The negated test also refuses NaN.
    if (!(x >= -2147483648.0 && x <= 2147483647.0))
        return std::nullopt;
    const auto value = static_cast<std::int32_t>(x);
    if (static_cast<double>(value) != x)
        return std::nullopt;
    return value;
}

std::optional<std::int64_t> asInt64(double x)
{
    // 2^63 itself is one past the range; every double below it converts.
    if (!(x >= -9223372036854775808.0 && x < 9223372036854775808.0))
        return std::nullopt;
    const auto value = static_cast<std::int64_t>(x);
    if (static_cast<double>(value) != x)
        return std::nullopt;
    return value;
}

double bitwiseNot(std::int64_t x, int wordSize)
{
    if (wordSize == kWideWord)
        return 0.0;
    return static_cast<double>(~static_cast<std::uint64_t>(x) & wordMask(wordSize));
}

double twosComplement(std::int64_t x, int wordSize)
{
    if (wordSize == kWideWord)
        return 0.0;
    return static_cast<double>((0u - static_cast<std::uint64_t>(x)) & wordMask(wordSize));
}

void bitAnd(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    applyIntegerBinary(stack, base, context, Width::Bits32,
                       [](std::int64_t a, std::int64_t b, int) { return std::optional(static_cast<double>(a & b)); });
}

void bitOr(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    applyIntegerBinary(stack, base, context, Width::Bits32,
                       [](std::int64_t a, std::int64_t b, int) { return std::optional(static_cast<double>(a | b)); });
}

void bitXor(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    applyIntegerBinary(stack, base, context, Width::Bits32,
                       [](std::int64_t a, std::int64_t b, int) { return std::optional(static_cast<double>(a ^ b)); });
}

void bitNand(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    applyIntegerBinary(stack, base, context, Width::Bits64, [](std::int64_t a, std::int64_t b, int wordSize) {
        return std::optional(bitwiseNot(a & b, wordSize));
    });
}

void bitNor(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    applyIntegerBinary(stack, base, context, Width::Bits32, [](std::int64_t a, std::int64_t b, int wordSize) {
        return std::optional(bitwiseNot(a | b, wordSize));
    });
}

void modulo(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    // 32-bit operands held in 64 bits: abs(-2^31) does not overflow.
    applyIntegerBinary(
        stack, base, context, Width::Bits32,
        [](std::int64_t a, std::int64_t b, int) -> std::optional<double> {
            if (b == 0)
                return std::nullopt;
            return static_cast<double>((a < 0 ? -a : a) % (b < 0 ? -b : b));
        },
        ErrorCode::kDivision);
}

void shiftLeft(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    applyIntegerBinary(stack, base, context, Width::Bits64, [](std::int64_t a, std::int64_t b, int wordSize) {
        const std::uint64_t by = shiftCount(b);
        if (wordSize == kWideWord || by >= 32)
            return std::optional(0.0);
        return std::optional(static_cast<double>((masked(a, wordSize) << by) & wordMask(wordSize)));
    });
}

void shiftRight(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    applyIntegerBinary(stack, base, context, Width::Bits64, [](std::int64_t a, std::int64_t b, int wordSize) {
        const std::uint64_t by = shiftCount(b);
        if (wordSize == kWideWord || by >= 32)
            return std::optional(0.0);
        return std::optional(static_cast<double>(masked(a, wordSize) >> by));
    });
}

void rotateLeft(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    applyIntegerBinary(stack, base, context, Width::Bits64, [](std::int64_t a, std::int64_t b, int wordSize) {
        return std::optional(rotate(a, b, wordSize, true));
    });
}

void rotateRight(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    applyIntegerBinary(stack, base, context, Width::Bits64, [](std::int64_t a, std::int64_t b, int wordSize) {
        return std::optional(rotate(a, b, wordSize, false));
    });
}

void bitNot(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    applyIntegerUnary(stack, base, context, bitwiseNot);
}

void complement(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    applyIntegerUnary(stack, base, context, twosComplement);
}

}  // namespace integer_ops
