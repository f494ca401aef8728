#include <cmath>
#include <numbers>
#include <string>

#include "c_number.h"
#include "complex_math.h"
#include "scalar_functions.h"

namespace scalar_ops {

namespace {

constexpr double kPercent = 0.01;
constexpr int kFactorialLimit = 170;
// Gamma(x) exceeds the largest double above this (Gamma(171.62...) is 1.8e308).
constexpr double kGammaLimit = 171.6;
// |b| ln|a| at or above this makes a^b "Out of range" (e^305 is about 1e132).
constexpr double kPowerOverflowLimit = 305.0;
// Imaginary parts below this share of the modulus are what the polar power leaves on real
// results: (-2)^3. Relative, so that a tiny imaginary result such as (-0.5)^1000.5 stays.
constexpr double kTinyImaginary = 1e-12;

bool isZero(CalcValue z)
{
    return z.re == 0.0 && z.im == 0.0;
}

// A real base to a whole real power is real, and the real pow is exact where the polar form is
// not: (-10)^15 would get an imaginary part of 5, and (-2)^4 would be 15.999999999999996.
bool isRealToWholePower(CalcValue x, CalcValue exponent)
{
    return x.isReal() && exponent.isReal() && exponent.re == std::trunc(exponent.re);
}

// The index-th root of x: x^(1/index) by the complex power. When everything is real the real
// pow gives the exact results the polar form misses (2^0.5 squared is 2), and a whole exponent
// takes it for any real base: 0.25 root -16 is (-16)^4 = 65536.
CalcValue rootOf(CalcValue index, CalcValue x)
{
    const CalcValue exponent = cmath::reciprocal(index);
    if (isRealToWholePower(x, exponent))
        return {std::pow(x.re, exponent.re), 0.0};
    CalcValue result = cmath::power(x, exponent);
    // A negative base gives a real polar result only when it underflowed to 0 ((-0.001)^200.5),
    // where the real pow would be NaN.
    if (result.isReal() && x.isReal() && x.re >= 0.0 && exponent.isReal())
        result = {std::pow(x.re, exponent.re), 0.0};
    if (std::fabs(result.im) < kTinyImaginary * cmath::modulus(result))
        result.im = 0.0;
    return {result.re + 0.0, result.im + 0.0};
}

double factorialOf(int n)
{
    double product = 1.0;
    for (int k = 2; k <= n; ++k)
        product *= k;
    return product;
}

}  // namespace

double roundToTwelveDecimalsByText(double x)
{
    if (!std::isfinite(x))
        return x;
    double value = 0.0;
    cnum::parsePrefix(cnum::fixed(x, 12), value);
    // "-0.000000000000" reads back as -0, which a display would show as "-0".
    return value + 0.0;
}

void percent(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    applyUnary(stack, base, context, [](CalcValue x, OperatorContext& c) -> std::optional<CalcValue> {
        if (!x.isReal()) {
            c.raise(ErrorCode::kComplexUnsupported);
            return std::nullopt;
        }
        return CalcValue{x.re * kPercent, 0.0};
    });
}

void factorial(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    applyUnary(stack, base, context, [](CalcValue x, OperatorContext& c) -> std::optional<CalcValue> {
        if (!x.isReal()) {
            c.raise(ErrorCode::kComplexUnsupported);
            return std::nullopt;
        }
        if (x.re != std::trunc(x.re)) {
            c.raise(ErrorCode::kInvalidType);
            return std::nullopt;
        }
        // Negative n fails with large n: both are out of range.
        if (x.re < 0.0 || x.re > kFactorialLimit) {
            c.raise(ErrorCode::kOutOfRange);
            return std::nullopt;
        }
        return CalcValue{factorialOf(static_cast<int>(x.re)), 0.0};
    });
}

void gamma(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    applyUnary(stack, base, context, [](CalcValue x, OperatorContext& c) -> std::optional<CalcValue> {
        if (!x.isReal()) {
            c.raise(ErrorCode::kComplexUnsupported);
            return std::nullopt;
        }
        const bool whole = x.re == std::trunc(x.re);
        // The poles at 0, -1, -2, ... and results beyond the doubles are out of range, as n! is.
        if ((whole && x.re <= 0.0) || !(x.re <= kGammaLimit)) {
            c.raise(ErrorCode::kOutOfRange);
            return std::nullopt;
        }
        // Gamma(n) is (n - 1)! to the last bit, as the factorial key gives it.
        if (whole)
            return CalcValue{factorialOf(static_cast<int>(x.re) - 1), 0.0};
        return CalcValue{std::tgamma(x.re) + 0.0, 0.0};
    });
}

void power(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    applyBinary(stack, base, context, [](CalcValue a, CalcValue b, OperatorContext& c) -> std::optional<CalcValue> {
        if (isZero(b))
            return CalcValue{1.0, 0.0};
        // Written so that a NaN product also counts as out of range.
        if (!(cmath::modulus(b) * std::log(cmath::modulus(a)) < kPowerOverflowLimit)) {
            c.raise(ErrorCode::kOutOfRange);
            return std::nullopt;
        }
        // Judged on b itself: 1 / (1 / b) need not give back a whole b.
        if (isRealToWholePower(a, b))
            return CalcValue{std::pow(a.re, b.re), 0.0};
        return rootOf(cmath::reciprocal(b), a);
    });
}

void root(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    bool done = false;
    double index = 0.0;
    applyBinary(stack, base, context, [&](CalcValue n, CalcValue x, OperatorContext&) {
        done = true;
        index = n.re;
        return std::optional(rootOf(n, x));
    });
    // The basic modes repeat "=" with the root index, not with the radicand.
    if (done)
        context.settings.lastRightOperand = index;
}

void inverseRoot(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    applyBinary(stack, base, context,
                [](CalcValue x, CalcValue n, OperatorContext&) { return std::optional(rootOf(n, x)); });
}

void tenPower(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    applyBinary(stack, base, context, [](CalcValue a, CalcValue b, OperatorContext&) {
        // A real exponent takes the real pow, so 2 iexp 3 is exactly 2000.
        const CalcValue scale = b.isReal() ? CalcValue{std::pow(10.0, b.re), 0.0} : cmath::power({10.0, 0.0}, b);
        return std::optional(cmath::multiply(a, scale));
    });
}

void squareRoot(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    applyUnary(stack, base, context, [](CalcValue x, OperatorContext& c) -> std::optional<CalcValue> {
        const CalcValue result = cmath::sqrt(x);
        if (std::isnan(result.re) || std::isnan(result.im)) {
            c.raise(ErrorCode::kSquareRoot);
            return std::nullopt;
        }
        return result;
    });
}

void exponential(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    applyUnary(stack, base, context, [](CalcValue x, OperatorContext&) { return std::optional(cmath::exp(x)); });
}

void naturalLog(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    applyUnary(stack, base, context, [](CalcValue x, OperatorContext&) {
        const CalcValue result = cmath::ln(x);
        return std::optional(CalcValue{roundToTwelveDecimals(result.re), result.im});
    });
}

void decimalLog(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    applyUnary(stack, base, context, [](CalcValue x, OperatorContext&) {
        const CalcValue result = cmath::log(x);
        return std::optional(CalcValue{roundToTwelveDecimals(result.re), result.im});
    });
}

void binaryLog(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    applyUnary(stack, base, context, [](CalcValue x, OperatorContext& c) -> std::optional<CalcValue> {
        if (isZero(x)) {
            c.raise(ErrorCode::kOutOfRange);
            return std::nullopt;
        }
        // log2 |x| taken directly where it can be, so that the real parts of log2(8) and
        // log2(-8) are exactly 3; the angle over ln 2 is the imaginary part.
        const double magnitude = cmath::modulus(x);
        const double re = std::isfinite(magnitude) ? std::log2(magnitude) : cmath::logModulus(x) / std::numbers::ln2;
        return CalcValue{re, cmath::argument(x) / std::numbers::ln2};
    });
}

void cubeRoot(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    applyUnary(stack, base, context, [](CalcValue x, OperatorContext& c) -> std::optional<CalcValue> {
        // The real root, negative for a negative x, unlike the principal root of the root keys.
        if (!x.isReal()) {
            c.raise(ErrorCode::kComplexUnsupported);
            return std::nullopt;
        }
        // The library's root can miss a whole root by a bit (cbrt(27) is 3.0000000000000004).
        const double root = std::cbrt(x.re);
        const double whole = std::round(root);
        return CalcValue{whole * whole * whole == x.re ? whole : root, 0.0};
    });
}

}  // namespace scalar_ops
