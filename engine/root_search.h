#pragma once

#include <cfloat>
#include <cmath>
#include <optional>

// The bracketing root search shared by fnRoot and the finance library's RATE.
struct RootSearchResult {
    double root = 0.0;
    // False when the interval holds no sign change, an end is not finite, or f failed to
    // produce a finite value on the way: root is then not a root and must not be shown.
    bool found = false;
};

namespace root_search_detail {

inline bool sameSign(double a, double b)
{
    return (a > 0.0 && b > 0.0) || (a < 0.0 && b < 0.0);
}

// An end whose |f| is this small counts as a root when the interval holds no sign change.
constexpr double kEndTolerance = 1e-12;
// Brent's method needs about log2(width / resolution) steps, 1100 at the very most from the
// largest interval down to the smallest double; this bounds the search on any function.
constexpr int kMaxSteps = 1200;

}  // namespace root_search_detail

// A zero of f in [a, b], where f(x) returns the value or nothing when the evaluation failed (a
// domain error of an expression, or an overflowing residual).
//
// An end where f is exactly 0 is taken at once. When f changes sign over the interval, Brent's
// method (inverse quadratic interpolation and secant steps, with a bisection whenever they do
// not shrink the bracket fast enough) closes the bracket down to neighbouring doubles: the
// root comes out to full precision, also a multiple one (x^3 at 0, where |f| < 1e-12 holds on a
// whole 1e-4 wide neighbourhood). Without a sign change an end with |f| < 1e-12 is still taken;
// otherwise nothing is found. So a root where f touches 0 without crossing (a double root)
// inside the interval is not found. Signs are compared rather than multiplied: f(a) x f(b) of
// two tiny values underflows to 0.
template <class Function>
RootSearchResult findRoot(double a, double b, Function&& f)
{
    using namespace root_search_detail;
    if (!std::isfinite(a) || !std::isfinite(b))
        return {};
    const std::optional<double> startA = f(a);
    if (!startA || !std::isfinite(*startA))
        return {};
    double fa = *startA;
    if (fa == 0.0)
        return {a, true};
    const std::optional<double> startB = f(b);
    if (!startB || !std::isfinite(*startB))
        return {};
    double fb = *startB;
    if (fb == 0.0)
        return {b, true};
    if (sameSign(fa, fb)) {
        if (std::fabs(fa) < kEndTolerance)
            return {a, true};
        if (std::fabs(fb) < kEndTolerance)
            return {b, true};
        return {};
    }

    // b is the best estimate, c the other end of the bracket [b, c], a the previous b.
    double c = a;
    double fc = fa;
    double step = b - a;
    double previousStep = step;
    for (int i = 0; i < kMaxSteps; ++i) {
        if (sameSign(fb, fc)) {
            c = a;
            fc = fa;
            step = previousStep = b - a;
        }
        if (std::fabs(fc) < std::fabs(fb)) {
            a = b;
            b = c;
            c = a;
            fa = fb;
            fb = fc;
            fc = fa;
        }
        // Full precision: the bracket is down to a few units in the last place of b (or to the
        // smallest normal numbers around a root at 0).
        const double tolerance = 2.0 * DBL_EPSILON * std::fabs(b) + 0.5 * DBL_MIN;
        const double half = 0.5 * (c - b);
        if (std::fabs(half) <= tolerance || fb == 0.0)
            return {b, true};
        if (std::fabs(previousStep) >= tolerance && std::fabs(fa) > std::fabs(fb)) {
            // Interpolation: the secant through a and b, or the inverse quadratic through a, b, c.
            const double s = fb / fa;
            double p;
            double q;
            if (a == c) {
                p = 2.0 * half * s;
                q = 1.0 - s;
            } else {
                const double qa = fa / fc;
                const double r = fb / fc;
                p = s * (2.0 * half * qa * (qa - r) - (b - a) * (r - 1.0));
                q = (qa - 1.0) * (r - 1.0) * (s - 1.0);
            }
            if (p > 0.0)
                q = -q;
            else
                p = -p;
            // Taken only when it stays well inside the bracket and shrinks faster than the step
            // before last; otherwise bisect.
            if (2.0 * p < std::fmin(3.0 * half * q - std::fabs(tolerance * q), std::fabs(previousStep * q))) {
                previousStep = step;
                step = p / q;
            } else {
                step = previousStep = half;
            }
        } else {
            step = previousStep = half;
        }
        a = b;
        fa = fb;
        b += std::fabs(step) > tolerance ? step : std::copysign(tolerance, half);
        const std::optional<double> value = f(b);
        if (!value || !std::isfinite(*value))
            return {b, false};
        fb = *value;
    }
    return {b, true};
}
