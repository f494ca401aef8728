#include "polynomial_roots.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

using Complex = std::complex<double>;

constexpr int kMaxIterations = 500;
constexpr int kPolishSteps = 3;
// Below this share of its size a root's imaginary part is rounding noise.
constexpr double kRealTolerance = 1e-10;

// p(z) and p'(z) by Horner's rule.
void evaluate(const std::vector<double>& p, Complex z, Complex& value, Complex& slope)
{
    value = 0.0;
    slope = 0.0;
    for (double c : p) {
        slope = slope * z + value;
        value = value * z + c;
    }
}

// The Aberth-Ehrlich iteration: every estimate moves by a Newton step corrected for the pull of
// the other estimates, so that all roots (multiple ones too) are found together.
std::vector<Complex> aberth(const std::vector<double>& p)
{
    const std::size_t degree = p.size() - 1;
    // Cauchy's bound: every root lies within this radius.
    double radius = 0.0;
    for (std::size_t i = 1; i < p.size(); ++i)
        radius = std::max(radius, std::abs(p[i] / p[0]));
    radius = 1.0 + radius;
    std::vector<Complex> z(degree);
    // An angle offset keeps the start off the real axis, where conjugate roots would meet.
    for (std::size_t k = 0; k < degree; ++k)
        z[k] =
            std::polar(radius, 2.0 * std::numbers::pi * (static_cast<double>(k) + 0.25) / static_cast<double>(degree));
    for (int iteration = 0; iteration < kMaxIterations; ++iteration) {
        bool settled = true;
        for (std::size_t k = 0; k < degree; ++k) {
            Complex value, slope;
            evaluate(p, z[k], value, slope);
            if (value == 0.0)
                continue;
            const Complex ratio = value / slope;
            Complex pull = 0.0;
            for (std::size_t j = 0; j < degree; ++j)
                if (j != k && z[j] != z[k])
                    pull += 1.0 / (z[k] - z[j]);
            const Complex step = ratio / (1.0 - ratio * pull);
            if (!std::isfinite(step.real()) || !std::isfinite(step.imag()))
                continue;
            z[k] -= step;
            if (std::abs(step) > 1e-15 * std::max(1.0, std::abs(z[k])))
                settled = false;
        }
        if (settled)
            break;
    }
    return z;
}

// A few Newton steps on the whole polynomial sharpen each simple root to full precision.
Complex polish(const std::vector<double>& p, Complex z)
{
    for (int i = 0; i < kPolishSteps; ++i) {
        Complex value, slope;
        evaluate(p, z, value, slope);
        if (slope == 0.0)
            break;
        const Complex next = z - value / slope;
        Complex nextValue, nextSlope;
        evaluate(p, next, nextValue, nextSlope);
        if (!(std::abs(nextValue) < std::abs(value)))
            break;
        z = next;
    }
    return z;
}

}  // namespace

std::vector<Complex> polynomialRoots(std::vector<double> coefficients)
{
    const auto leading = std::find_if(coefficients.begin(), coefficients.end(), [](double c) { return c != 0.0; });
    coefficients.erase(coefficients.begin(), leading);
    std::vector<Complex> roots;
    // x = 0 is an exact root for every trailing zero coefficient.
    while (coefficients.size() > 1 && coefficients.back() == 0.0) {
        coefficients.pop_back();
        roots.emplace_back(0.0);
    }
    if (coefficients.size() > 1) {
        for (Complex z : aberth(coefficients)) {
            z = polish(coefficients, z);
            if (std::abs(z.imag()) <= kRealTolerance * std::abs(z))
                z.imag(0.0);
            roots.push_back(z);
        }
    }
    // Pair each complex root with the conjugate nearest to it and make the pair exact.
    for (std::size_t i = 0; i < roots.size(); ++i) {
        if (roots[i].imag() <= 0.0)
            continue;
        std::size_t best = roots.size();
        for (std::size_t j = 0; j < roots.size(); ++j)
            if (roots[j].imag() < 0.0 && (best == roots.size() || std::abs(roots[j] - std::conj(roots[i])) <
                                                                      std::abs(roots[best] - std::conj(roots[i]))))
                best = j;
        if (best == roots.size())
            continue;
        const Complex mean = (roots[i] + std::conj(roots[best])) / 2.0;
        roots[i] = mean;
        roots[best] = std::conj(mean);
    }
    std::sort(roots.begin(), roots.end(), [](Complex a, Complex b) {
        const bool aReal = a.imag() == 0.0;
        const bool bReal = b.imag() == 0.0;
        if (aReal != bReal)
            return aReal;
        if (a.real() != b.real())
            return a.real() > b.real();
        return a.imag() > b.imag();
    });
    return roots;
}
