#pragma once

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

}  // namespace root_search_detail

// Bisection of [a, b] for a zero of f, where f(x) returns the value or nothing when the
// evaluation failed (a failure may be a domain error of an expression or an overflowing
// residual). An end with |f| < 1e-12 is taken at once; otherwise the bracket halves until
// |f(m)| < 1e-12, the bracket is no wider than 1e-14, or the midpoint equals an end (no
// further progress in doubles). Signs are compared rather than multiplied: f(a) x f(b) of two
// tiny values underflows to 0 and would stall the search.
template <class Function>
RootSearchResult findRoot(double a, double b, Function&& f)
{
    using root_search_detail::sameSign;
    if (!std::isfinite(a) || !std::isfinite(b))
        return {};
    const std::optional<double> startA = f(a);
    if (!startA || !std::isfinite(*startA))
        return {};
    if (std::fabs(*startA) < 1e-12)
        return {a, true};
    const std::optional<double> startB = f(b);
    if (!startB || !std::isfinite(*startB))
        return {};
    double fb = *startB;
    if (std::fabs(fb) < 1e-12)
        return {b, true};
    if (sameSign(*startA, fb))
        return {};

    double m = (a + b) * 0.5;
    while (std::fabs(b - a) > 1e-14) {
        m = (a + b) * 0.5;
        if (m == a || m == b)
            break;
        const std::optional<double> value = f(m);
        if (!value || !std::isfinite(*value))
            return {m, false};
        const double fm = *value;
        if (std::fabs(fm) < 1e-12)
            break;
        if (sameSign(fm, fb)) {
            b = m;
            fb = fm;
        } else {
            a = m;
        }
    }
    return {m, true};
}
