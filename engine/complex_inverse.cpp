#include "complex_inverse.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>
#include <numbers>

#include "complex_math.h"

namespace cmath {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kHalfPi = std::numbers::pi / 2.0;
constexpr double kLn2 = std::numbers::ln2;
constexpr double kLargeArgument = 6e7;
constexpr double kTinyPart = 1e-12;
constexpr double kCleaningFactor = 3.333e-16;
constexpr double kCleaningLimit = 1e-5;

constexpr double kEpsilon = DBL_EPSILON;
// Beyond this a part's square swamps 1 completely: the asymptotic forms are exact in doubles.
constexpr double kReciprocalEpsilon = 1.0 / DBL_EPSILON;
// Below this z is its own asin, asinh and atanh to the last bit: the next term is z^3 / 6.
constexpr double kOwnValueLimit = 3.6500241499888571e-8 / 4.0;  // sqrt(6 eps) / 4
// Crossovers of Hull, Fairgrieve and Tang: where A - 1 and B need their careful forms.
constexpr double kACrossover = 10.0;
constexpr double kBCrossover = 0.6417;
// 2^-509: below this y / A may underflow.
constexpr double kFourSqrtMin = 0x1p-509;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

CalcValue notANumber()
{
    return {kNaN, kNaN};
}

bool hasNaN(CalcValue z)
{
    return std::isnan(z.re) || std::isnan(z.im);
}

// Real part far out on the real axis, or imaginary part far out on the imaginary axis.
bool farOnRealAxis(CalcValue z)
{
    return std::fabs(z.re) > kLargeArgument && std::fabs(z.im) < kTinyPart;
}

bool farOnImaginaryAxis(CalcValue z)
{
    return std::fabs(z.im) > kLargeArgument && std::fabs(z.re) < kTinyPart;
}

// The side of a cut that a nearly-real argument lies on: the sign of its imaginary part, or
// `onAxis` when that part is exactly 0.
double side(double part, double onAxis)
{
    if (part > 0.0)
        return 1.0;
    if (part < 0.0)
        return -1.0;
    return onAxis;
}

// ln(2|part|), the growing part of the value far out on an axis; ln 2 is added rather than
// 2|part| formed, which would overflow beyond 9e307.
double logOfTwice(double part)
{
    return std::log(std::fabs(part)) + kLn2;
}

double sign(double x)
{
    return x < 0.0 ? -1.0 : 1.0;
}

// A zero part as the signed zero that picks the calculator's side of a cut; other values as
// they are. The engine does not keep the sign of a zero (0 and -0 are both "real"), so each
// function states the side it takes.
double zeroAs(double part, double signedZero)
{
    return part == 0.0 ? signedZero : part;
}

// Rounding noise of the formulas, relative to the size of the result.
CalcValue clean(CalcValue w)
{
    const double bound = modulus(w) * kCleaningFactor;
    if (bound < kCleaningLimit) {
        if (std::fabs(w.re) < bound)
            w.re = 0.0;
        if (std::fabs(w.im) < bound)
            w.im = 0.0;
    }
    return w;
}

// Cleans w, then drops the imaginary part when the argument is real and its value is real.
CalcValue finish(CalcValue w, CalcValue z, bool realValued)
{
    w = clean(w);
    if (z.im == 0.0 && realValued)
        w.im = 0.0;
    return w;
}

// ln z for |z| beyond 1/eps, where x^2 + y^2 may overflow.
CalcValue lnOfLarge(double x, double y)
{
    const double larger = std::fmax(std::fabs(x), std::fabs(y));
    const double angle = std::atan2(y, x);
    // hypot of two parts near the double limit overflows; a quarter of each cannot.
    if (larger > DBL_MAX / 4.0)
        return {std::log(std::hypot(x * 0.25, y * 0.25)) + 2.0 * kLn2, angle};
    return {std::log(std::hypot(x, y)), angle};
}

// (hypot(a, b) - b) / 2 without the cancellation for b > 0; hypotAB is hypot(a, b).
double halfHypotMinus(double a, double b, double hypotAB)
{
    if (b < 0.0)
        return (hypotAB - b) / 2.0;
    if (b == 0.0)
        return a / 2.0;
    return a * a / (hypotAB + b) / 2.0;
}

// The core of asinh(x + iy) for x, y >= 0 below 1/eps (Hull, Fairgrieve and Tang 1997):
// with R = |z + i|, S = |z - i|, A = (R + S) / 2 and B = y / A,
//   Re asinh z = ln(A + sqrt(A^2 - 1)),   Im asinh z = asin B = atan2(y, sqrt(A^2 - y^2)).
// Both cancel near the cuts; A - 1 and A - y are built from halfHypotMinus instead, which is
// what keeps asinh(1e-17 + 1e-30i) = 1e-17 and asin(0.9999999999 + 1e-20i) exact. The angle
// is left as B, or as the pair (y, sqrt(A^2 - y^2)) where B is close to 1 or would underflow,
// so that acos can take its own accurate form of it.
struct AsinhParts {
    double re = 0.0;
    bool useB = true;
    double b = 0.0;
    // y and sqrt(A^2 - y^2), both scaled alike when the root would underflow.
    double y = 0.0;
    double root = 0.0;

    // asin B.
    double angle() const { return useB ? std::asin(b) : std::atan2(y, root); }
    // acos B, or acos -B for a negative real part of acos's argument.
    double complementaryAngle(bool negative) const
    {
        if (useB)
            return std::acos(negative ? -b : b);
        return std::atan2(root, negative ? -y : y);
    }
};

AsinhParts asinhOfFirstQuadrant(double x, double y)
{
    const double r = std::hypot(x, y + 1.0);
    const double s = std::hypot(x, y - 1.0);
    const double a = std::fmax((r + s) / 2.0, 1.0);

    AsinhParts parts;
    if (a < kACrossover) {
        if (y == 1.0 && x < kEpsilon * kEpsilon / 128.0) {
            parts.re = std::sqrt(x);
        } else if (x >= kEpsilon * std::fabs(y - 1.0)) {
            const double aMinusOne = halfHypotMinus(x, 1.0 + y, r) + halfHypotMinus(x, 1.0 - y, s);
            parts.re = std::log1p(aMinusOne + std::sqrt(aMinusOne * (a + 1.0)));
        } else if (y < 1.0) {
            parts.re = x / std::sqrt((1.0 - y) * (1.0 + y));
        } else {
            parts.re = std::log1p((y - 1.0) + std::sqrt((y - 1.0) * (y + 1.0)));
        }
    } else {
        parts.re = std::log(a + std::sqrt(a * a - 1.0));
    }

    parts.y = y;
    if (y < kFourSqrtMin) {
        // y / A could underflow.
        parts.useB = false;
        parts.root = a * (2.0 / kEpsilon);
        parts.y = y * (2.0 / kEpsilon);
        return parts;
    }
    parts.b = y / a;
    if (parts.b <= kBCrossover)
        return parts;
    parts.useB = false;
    if (y == 1.0 && x < kEpsilon / 128.0) {
        parts.root = std::sqrt(x) * std::sqrt((a + y) / 2.0);
    } else if (x >= kEpsilon * std::fabs(y - 1.0)) {
        const double aMinusY = halfHypotMinus(x, y + 1.0, r) + halfHypotMinus(x, y - 1.0, s);
        parts.root = std::sqrt(aMinusY * (a + y));
    } else if (y > 1.0) {
        // A = y to rounding; the scale keeps x y / sqrt(y^2 - 1) from underflowing.
        constexpr double kScale = 4.0 / kEpsilon / kEpsilon;
        parts.root = x * kScale * y / std::sqrt((y + 1.0) * (y - 1.0));
        parts.y = y * kScale;
    } else {
        parts.root = std::sqrt((1.0 - y) * (1.0 + y));
    }
    return parts;
}

// Principal asinh with C99's signed zeros: the signs of x and y pick the quadrant.
CalcValue asinhPrincipal(double x, double y)
{
    const double ax = std::fabs(x);
    const double ay = std::fabs(y);
    if (ax > kReciprocalEpsilon || ay > kReciprocalEpsilon) {
        // asinh z = sign(x) (ln(2 sign(x) z)) + O(1/z^2).
        const CalcValue w = std::signbit(x) ? lnOfLarge(-x, -y) : lnOfLarge(x, y);
        return {std::copysign(w.re + kLn2, x), std::copysign(w.im, y)};
    }
    if (ax < kOwnValueLimit && ay < kOwnValueLimit)
        return {x, y};
    const AsinhParts parts = asinhOfFirstQuadrant(ax, ay);
    return {std::copysign(parts.re, x), std::copysign(parts.angle(), y)};
}

// Principal acos with C99's signed zeros. acos z = pi/2 - asin z, taken apart so that the
// value stays accurate near z = +-1 where that difference cancels.
CalcValue acosPrincipal(double x, double y)
{
    const double ax = std::fabs(x);
    const double ay = std::fabs(y);
    if (ax > kReciprocalEpsilon || ay > kReciprocalEpsilon) {
        // acos z = -sign(y) i ln(2z) + O(1/z^2), with Re = |arg z|.
        const CalcValue w = lnOfLarge(x, y);
        const double grow = w.re + kLn2;
        return {std::fabs(w.im), std::signbit(y) ? grow : -grow};
    }
    if (ax < kOwnValueLimit && ay < kOwnValueLimit)
        return {kHalfPi - x, -y};
    // asinh(|y| + i|x|) = -Im acos(z) + i (pi/2 - Re acos(z)) for z in the first quadrant.
    const AsinhParts parts = asinhOfFirstQuadrant(ay, ax);
    return {parts.complementaryAngle(std::signbit(x)), std::signbit(y) ? parts.re : -parts.re};
}

// Re(1 / (x + iy)) = x / (x^2 + y^2), scaled by a power of two so that neither square
// overflows nor underflows.
double realPartOfReciprocal(double x, double y)
{
    const int exponent = std::max(std::ilogb(x), std::ilogb(y));
    const double sx = std::ldexp(x, -exponent);
    const double sy = std::ldexp(y, -exponent);
    return std::ldexp(sx / (sx * sx + sy * sy), -exponent);
}

// Principal atanh with C99's signed zeros:
//   Re = log1p(4|x| / ((|x| - 1)^2 + y^2)) / 4,  Im = atan2(2y, (1 - x)(1 + x) - y^2) / 2.
CalcValue atanhPrincipal(double x, double y)
{
    const double ax = std::fabs(x);
    const double ay = std::fabs(y);
    if (y == 0.0 && ax < 1.0)
        return {std::atanh(x), y};
    if (x == 0.0)
        return {x, std::atan(y)};
    if (ax > kReciprocalEpsilon || ay > kReciprocalEpsilon)
        return {realPartOfReciprocal(x, y), std::copysign(kHalfPi, y)};
    if (ax < kOwnValueLimit && ay < kOwnValueLimit)
        return {x, y};
    // Next to the pole 1, (|x| - 1)^2 + y^2 is y^2 and the log1p form loses nothing.
    const double d = ax - 1.0;
    const double re =
        ax == 1.0 && ay < kEpsilon ? (kLn2 - std::log(ay)) / 2.0 : std::log1p(4.0 * ax / (d * d + ay * ay)) / 4.0;
    double im = 0.0;
    if (ax == 1.0)
        im = std::atan2(2.0, -ay) / 2.0;
    else if (ay < kEpsilon)
        im = std::atan2(2.0 * ay, (1.0 - ax) * (1.0 + ax)) / 2.0;
    else
        im = std::atan2(2.0 * ay, (1.0 - ax) * (1.0 + ax) - ay * ay) / 2.0;
    return {std::copysign(re, x), std::copysign(im, y)};
}

}  // namespace

CalcValue asin(CalcValue z)
{
    if (hasNaN(z))
        return notANumber();
    CalcValue w;
    if (farOnRealAxis(z)) {
        const double growing = logOfTwice(z.re);
        w = {sign(z.re) * kHalfPi, side(z.im, -sign(z.re)) * growing};
    } else if (farOnImaginaryAxis(z)) {
        w = {0.0, sign(z.im) * logOfTwice(z.im)};
    } else if (z.im == 0.0 && std::fabs(z.re) <= 1.0) {
        w = {std::asin(z.re), 0.0};
    } else {
        // asin z = -i asinh(iz). On the cut a real x > 1 is taken from below, x < -1 from above
        // (asin 2 = pi/2 - 1.317i, asin -2 = -pi/2 + 1.317i).
        const double y = zeroAs(z.im, z.re > 0.0 ? -0.0 : 0.0);
        const CalcValue h = asinhPrincipal(-y, z.re);
        w = {h.im, -h.re};
    }
    return finish(w, z, std::fabs(z.re) <= 1.0);
}

CalcValue acos(CalcValue z)
{
    if (hasNaN(z))
        return notANumber();
    CalcValue w;
    if (farOnRealAxis(z)) {
        const double growing = logOfTwice(z.re);
        w = {z.re > 0.0 ? 0.0 : kPi, -side(z.im, -sign(z.re)) * growing};
    } else if (farOnImaginaryAxis(z)) {
        w = {kHalfPi, -sign(z.im) * logOfTwice(z.im)};
    } else if (z.im == 0.0 && std::fabs(z.re) <= 1.0) {
        w = {std::acos(z.re), 0.0};
    } else {
        // The same sides as asin: acos 2 = 1.317i, acos -2 = pi - 1.317i.
        w = acosPrincipal(z.re, zeroAs(z.im, z.re > 0.0 ? -0.0 : 0.0));
    }
    return finish(w, z, std::fabs(z.re) <= 1.0);
}

CalcValue atan(CalcValue z)
{
    if (hasNaN(z))
        return notANumber();
    // The poles +-i.
    if (z.re == 0.0 && std::fabs(z.im) == 1.0)
        return notANumber();
    if (z.im == 0.0)
        return {std::atan(z.re), 0.0};
    // atan z = -i atanh(iz). On the cut of the imaginary axis the value has the real part
    // -pi/2 on both halves, as (i/2) ln((i + z) / (i - z)) gives it: atan 2i = -pi/2 + 0.549i.
    const CalcValue h = atanhPrincipal(-z.im, zeroAs(z.re, -0.0));
    return finish({h.im, -h.re}, z, true);
}

CalcValue asinh(CalcValue z)
{
    if (hasNaN(z))
        return notANumber();
    CalcValue w;
    if (farOnRealAxis(z)) {
        w = {sign(z.re) * logOfTwice(z.re), 0.0};
    } else if (farOnImaginaryAxis(z)) {
        w = {side(z.re, 1.0) * logOfTwice(z.im), sign(z.im) * kHalfPi};
    } else if (z.im == 0.0) {
        w = {std::asinh(z.re), 0.0};
    } else {
        // The cut of the imaginary axis is taken from the right: asinh 2i = 1.317 + i pi/2.
        w = asinhPrincipal(zeroAs(z.re, 0.0), z.im);
    }
    return finish(w, z, true);
}

CalcValue acosh(CalcValue z)
{
    if (hasNaN(z))
        return notANumber();
    CalcValue w;
    if (farOnRealAxis(z)) {
        const double growing = logOfTwice(z.re);
        w = {growing, z.re > 0.0 ? 0.0 : side(z.im, 1.0) * kPi};
    } else if (farOnImaginaryAxis(z)) {
        w = {logOfTwice(z.im), sign(z.im) * kHalfPi};
    } else if (z.im == 0.0 && z.re >= 1.0) {
        w = {std::acosh(z.re), 0.0};
    } else {
        // acosh z = +-i acos z with the sign that makes the real part >= 0; the cut of the
        // real axis below 1 is taken from above: acosh -2 = 1.317 + i pi, acosh 0.5 = i pi/3.
        const double y = zeroAs(z.im, 0.0);
        const CalcValue c = acosPrincipal(z.re, y);
        w = {std::fabs(c.im), std::copysign(c.re, y)};
    }
    return finish(w, z, z.re >= 1.0);
}

CalcValue atanh(CalcValue z)
{
    if (hasNaN(z))
        return notANumber();
    // The poles +-1.
    if (z.im == 0.0 && std::fabs(z.re) == 1.0)
        return notANumber();
    // The cut of the real axis beyond +-1 is taken from above: atanh 2 = 0.549 + i pi/2,
    // atanh -2 = -0.549 + i pi/2.
    const CalcValue w = atanhPrincipal(z.re, zeroAs(z.im, 0.0));
    return finish(w, z, std::fabs(z.re) < 1.0);
}

CalcValue acot(CalcValue z)
{
    if (z.re == 0.0 && z.im == 0.0)
        return {kHalfPi, 0.0};
    return atan(reciprocal(z));
}

CalcValue acoth(CalcValue z)
{
    return atanh(reciprocal(z));
}

CalcValue asec(CalcValue z)
{
    return acos(reciprocal(z));
}

CalcValue acsc(CalcValue z)
{
    return asin(reciprocal(z));
}

CalcValue asech(CalcValue z)
{
    return acosh(reciprocal(z));
}

CalcValue acsch(CalcValue z)
{
    return asinh(reciprocal(z));
}

}  // namespace cmath
