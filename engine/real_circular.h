#pragma once

#include <cmath>

#include "engine_settings.h"

// The rounding that circular functions give their results, and sin and cos of a real number
// with it: inline, because a plotted curve or an integrand runs them at every point.
namespace scalar_ops {

inline constexpr double kDegreesToRadians = 0.017453292519943295;
inline constexpr double kGradsToRadians = 0.015707963267948967;

// x formatted with 12 decimals and read back, so that sin 30 in degrees is 0.5 and sin 180 is 0
// rather than 1.2e-16. Infinities and NaN pass unchanged; -0 becomes 0. roundToTwelveDecimals
// computes without the text where it can (bit for bit the same value);
// roundToTwelveDecimalsByText always formats.
double roundToTwelveDecimalsByText(double x);

inline double roundToTwelveDecimals(double x)
{
    // Below this magnitude |x| 10^12 stays below 2^52; below the other it rounds to the integer 0.
    constexpr double kFastRoundingLimit = 4000.0;
    constexpr double kRoundsToZero = 4e-13;
    constexpr double kTwoToThe52 = 4503599627370496.0;
    // The text's value computed without the text. The text is n / 10^12 for the integer n
    // nearest to |x| 10^12 (ties to even, as the formatting rounds the exact binary value), and
    // reading it back gives the double nearest to n / 10^12, which is what the division n / 1e12
    // gives as long as n and 1e12 are exact doubles (n below 2^52).
    const double magnitude = std::fabs(x);
    if (!(magnitude < kFastRoundingLimit))
        return roundToTwelveDecimalsByText(x);
    if (magnitude < kRoundsToZero)
        return 0.0;
    // p + e is |x| 10^12 exactly (1e12 is a double, and the fma gives the product's error).
    // Adding and taking away 2^52 rounds p to the nearest integer r, ties to even. Unless p lies
    // half-way, r is also the integer nearest to p + e: |p - r| is then at most 0.5 - ulp(p),
    // and |e| at most half of ulp(p).
    const double p = magnitude * 1e12;
    const double r = (p + kTwoToThe52) - kTwoToThe52;
    const double fromRounded = p - r;
    double n = r;
    if (fromRounded == 0.5 || fromRounded == -0.5) {
        // Half-way: the product's error decides, and without one the tie stays even (r).
        const double e = std::fma(magnitude, 1e12, -p);
        if (e > 0.0 && fromRounded > 0.0)
            n = r + 1.0;
        else if (e < 0.0 && fromRounded < 0.0)
            n = r - 1.0;
    }
    const double value = n / 1e12;
    return (x < 0.0 ? -value : value) + 0.0;
}

// The real part that "sin" and "cos" give for the real number x in the angle mode (their result
// is that with an imaginary part of +0); NaN where they raise their error instead. For a real
// argument the complex functions take the real ones, so this is their result without the
// complex detour.
template <class RealFunction>
double circularOfReal(RealFunction function, double x, AngleMode mode)
{
    const double radians = mode == AngleMode::Degrees ? x * kDegreesToRadians
                           : mode == AngleMode::Grads ? x * kGradsToRadians
                                                      : x;
    const double result = function(radians);
    return std::isnan(result) ? result : roundToTwelveDecimals(result);
}

inline double sineOfReal(double x, AngleMode mode)
{
    return circularOfReal([](double radians) { return std::sin(radians); }, x, mode);
}

inline double cosineOfReal(double x, AngleMode mode)
{
    return circularOfReal([](double radians) { return std::cos(radians); }, x, mode);
}

}  // namespace scalar_ops
