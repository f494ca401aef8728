#include <cmath>

#include "c_number.h"
#include "complex_inverse.h"
#include "complex_trig.h"
#include "scalar_functions.h"

namespace scalar_ops {

namespace {

constexpr double kRadiansToDegrees = 57.29577951308232;
constexpr double kRadiansToGrads = 63.66197723675814;
// Right angles per radian (2/pi) and straight angles per radian (1/pi).
constexpr double kRightAnglesPerRadian = 0.6366197723675814;
constexpr double kStraightAnglesPerRadian = 0.3183098861837907;

using Function = CalcValue (*)(CalcValue);

enum class AngleTest { None, OddRightAngle, StraightAngle };

bool hasNaN(CalcValue z)
{
    return std::isnan(z.re) || std::isnan(z.im);
}

CalcValue angleIn(CalcValue x, EngineSettings& settings)
{
    if (!x.isReal()) {
        settings.angleMode = AngleMode::Radians;
        return x;
    }
    if (settings.angleMode == AngleMode::Degrees)
        return {x.re * kDegreesToRadians, 0.0};
    if (settings.angleMode == AngleMode::Grads)
        return {x.re * kGradsToRadians, 0.0};
    return x;
}

CalcValue angleOut(CalcValue result, EngineSettings& settings)
{
    if (!result.isReal()) {
        settings.angleMode = AngleMode::Radians;
        return result;
    }
    if (settings.angleMode == AngleMode::Degrees)
        return {result.re * kRadiansToDegrees, 0.0};
    if (settings.angleMode == AngleMode::Grads)
        return {result.re * kRadiansToGrads, 0.0};
    return result;
}

// Whether the real angle (radians) is a whole number of units, judged on the text of
// k = |angle| / unit: it must read the same with 0 and with 13 decimals. The 13 decimals forgive
// the last bits that the angle conversion leaves (990 degrees is 11.000000000000002 right angles,
// 100 grads 1.0000000000000002).
bool isWholeMultiple(double radians, double unitsPerRadian, bool oddOnly)
{
    const double k = std::fabs(radians) * unitsPerRadian;
    double whole = 0.0;
    double thirteen = 0.0;
    if (cnum::parsePrefix(cnum::fixed(k, 0), whole) == 0 || cnum::parsePrefix(cnum::fixed(k, 13), thirteen) == 0)
        return false;
    if (thirteen != whole)
        return false;
    return !oddOnly || std::fmod(whole, 2.0) == 1.0;
}

bool failsAngleTest(CalcValue radians, AngleTest test)
{
    if (test == AngleTest::None || !radians.isReal())
        return false;
    if (test == AngleTest::OddRightAngle)
        return isWholeMultiple(radians.re, kRightAnglesPerRadian, true);
    return isWholeMultiple(radians.re, kStraightAnglesPerRadian, false);
}

// A circular function: angle in, the pole test, the function, NaN check, optional rounding.
void circular(ScalarStack& stack, std::size_t base, OperatorContext& context, Function function, int code,
              AngleTest test, bool round)
{
    applyUnary(stack, base, context, [&](CalcValue x, OperatorContext& c) -> std::optional<CalcValue> {
        const CalcValue radians = angleIn(x, c.settings);
        if (failsAngleTest(radians, test)) {
            c.raise(code);
            return std::nullopt;
        }
        CalcValue result = function(radians);
        if (hasNaN(result)) {
            c.raise(code);
            return std::nullopt;
        }
        if (round)
            result.re = roundToTwelveDecimals(result.re);
        return result;
    });
}

// An inverse circular function: the function, NaN check, angle out.
void inverseCircular(ScalarStack& stack, std::size_t base, OperatorContext& context, Function function, int code)
{
    applyUnary(stack, base, context, [&](CalcValue x, OperatorContext& c) -> std::optional<CalcValue> {
        const CalcValue result = function(x);
        if (hasNaN(result)) {
            c.raise(code);
            return std::nullopt;
        }
        return angleOut(result, c.settings);
    });
}

// A hyperbolic function or its inverse: no angles, only the NaN check.
void hyperbolic(ScalarStack& stack, std::size_t base, OperatorContext& context, Function function, int code)
{
    applyUnary(stack, base, context, [&](CalcValue x, OperatorContext& c) -> std::optional<CalcValue> {
        const CalcValue result = function(x);
        if (hasNaN(result)) {
            c.raise(code);
            return std::nullopt;
        }
        return result;
    });
}

}  // namespace

void sine(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    circular(stack, base, context, cmath::sin, ErrorCode::kSin, AngleTest::None, true);
}

void cosine(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    circular(stack, base, context, cmath::cos, ErrorCode::kCos, AngleTest::None, true);
}

void tangent(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    circular(stack, base, context, cmath::tan, ErrorCode::kTan, AngleTest::OddRightAngle, true);
}

void cotangent(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    circular(stack, base, context, cmath::cot, ErrorCode::kCotan, AngleTest::None, false);
}

void secant(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    circular(stack, base, context, cmath::sec, ErrorCode::kSec, AngleTest::OddRightAngle, true);
}

void cosecant(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    circular(stack, base, context, cmath::csc, ErrorCode::kCsc, AngleTest::StraightAngle, true);
}

void arcSine(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    inverseCircular(stack, base, context, cmath::asin, ErrorCode::kArcsin);
}

void arcCosine(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    inverseCircular(stack, base, context, cmath::acos, ErrorCode::kArccos);
}

void arcTangent(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    inverseCircular(stack, base, context, cmath::atan, ErrorCode::kArctan);
}

void arcCotangent(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    // A complex argument means radians even when the result comes out real.
    if (operandCount(stack, base) >= 1 && !stack.back().isReal())
        context.settings.angleMode = AngleMode::Radians;
    inverseCircular(stack, base, context, cmath::acot, ErrorCode::kArccot);
}

void arcSecant(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    inverseCircular(stack, base, context, cmath::asec, ErrorCode::kArcSec);
}

void arcCosecant(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    inverseCircular(stack, base, context, cmath::acsc, ErrorCode::kArcCsc);
}

void hyperbolicSine(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    hyperbolic(stack, base, context, cmath::sinh, ErrorCode::kSinh);
}

void hyperbolicCosine(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    hyperbolic(stack, base, context, cmath::cosh, ErrorCode::kCosh);
}

void hyperbolicTangent(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    hyperbolic(stack, base, context, cmath::tanh, ErrorCode::kTanh);
}

void hyperbolicCotangent(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    hyperbolic(stack, base, context, cmath::coth, ErrorCode::kCotanh);
}

void hyperbolicSecant(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    hyperbolic(stack, base, context, cmath::sech, ErrorCode::kSech);
}

void hyperbolicCosecant(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    hyperbolic(stack, base, context, cmath::csch, ErrorCode::kCsch);
}

void areaSine(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    hyperbolic(stack, base, context, cmath::asinh, ErrorCode::kArcsinh);
}

void areaCosine(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    hyperbolic(stack, base, context, cmath::acosh, ErrorCode::kArccosh);
}

void areaTangent(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    hyperbolic(stack, base, context, cmath::atanh, ErrorCode::kArctanh);
}

void areaCotangent(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    hyperbolic(stack, base, context, cmath::acoth, ErrorCode::kArccoth);
}

void areaSecant(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    hyperbolic(stack, base, context, cmath::asech, ErrorCode::kArcSech);
}

void areaCosecant(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    hyperbolic(stack, base, context, cmath::acsch, ErrorCode::kArcCsch);
}

}  // namespace scalar_ops
