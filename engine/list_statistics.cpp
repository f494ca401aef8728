#include "list_statistics.h"

#include <algorithm>
#include <cmath>
#include <compare>
#include <limits>
#include <optional>
#include <span>
#include <vector>

#include "engine.h"

namespace {

using Values = std::span<const double>;

constexpr double kNotANumber = std::numeric_limits<double>::quiet_NaN();

// The statistic of the list, or the error it raises.
struct Outcome {
    double value = 0.0;
    int error = ErrorCode::kNone;
};

Outcome failure(int code)
{
    return {0.0, code};
}

// A power of two at the size of the largest |x|, so that every x / scale lies below 2: the sums
// and squares below then neither overflow (data near 1e155 has squares beyond the double
// range) nor underflow (data near 1e-170), and dividing by it is exact.
double scaleOf(Values x)
{
    double largest = 0.0;
    for (const double v : x)
        largest = std::fmax(largest, std::fabs(v));
    if (largest == 0.0 || !std::isfinite(largest))
        return 1.0;
    return std::ldexp(1.0, std::ilogb(largest));
}

// Neumaier's compensated sum of x / scale: the rounding error of each addition is kept and
// added back at the end, so that 50 values near 1e15 sum exactly where plain addition loses
// the units (their sum is beyond 2^53).
double compensatedSum(Values x, double scale)
{
    double total = 0.0;
    double correction = 0.0;
    for (const double v : x) {
        const double term = v / scale;
        const double next = total + term;
        correction += std::fabs(total) >= std::fabs(term) ? (total - next) + term : (term - next) + total;
        total = next;
    }
    return total + correction;
}

double sum(Values x)
{
    const double scale = scaleOf(x);
    return compensatedSum(x, scale) * scale;
}

// The mean of x / scale.
double scaledMean(Values x, double scale)
{
    return compensatedSum(x, scale) / static_cast<double>(x.size());
}

double mean(Values x)
{
    const double scale = scaleOf(x);
    return scaledMean(x, scale) * scale;
}

// Sum of squared deviations of x / scale from their mean, from the deviations themselves: the
// shortcut n ssq - sum^2 cancels to rounding noise (even below 0) when the mean is large
// against the spread, as with 1e9+1, 1e9+2, .... The second term is the corrected two-pass
// form: what the rounding of the mean leaves in the sum of the deviations.
double scaledSquaredDeviations(Values x, double scale)
{
    const double m = scaledMean(x, scale);
    double squares = 0.0;
    double deviations = 0.0;
    for (const double v : x) {
        const double d = v / scale - m;
        squares += d * d;
        deviations += d;
    }
    // Never below 0, which Cauchy-Schwarz rules out and rounding must not bring in.
    return std::fmax(squares - deviations * deviations / static_cast<double>(x.size()), 0.0);
}

// sqrt(sum of squared deviations / divisor), scaled back only after the root.
double deviation(Values x, double divisor)
{
    const double scale = scaleOf(x);
    return std::sqrt(scaledSquaredDeviations(x, scale) / divisor) * scale;
}

template <Outcome (*Statistic)(Values)>
double onList(Engine& engine)
{
    const ValueCell& list = engine.slots[VariableSlots::kList];
    if (!list.isMatrix() || list.cols != 1 || list.data.size() < list.rows) {
        engine.raise(ErrorCode::kNoList);
        return 0.0;
    }
    const Outcome outcome = Statistic(Values(list.data.data(), list.rows));
    if (outcome.error != ErrorCode::kNone) {
        engine.raise(outcome.error);
        return 0.0;
    }
    return outcome.value;
}

Outcome listSum(Values x)
{
    return {sum(x)};
}

Outcome listSsq(Values x)
{
    const double scale = scaleOf(x);
    double total = 0.0;
    for (const double v : x)
        total += (v / scale) * (v / scale);
    return {total * scale * scale};
}

Outcome listCount(Values x)
{
    return {static_cast<double>(x.size())};
}

Outcome listAverage(Values x)
{
    return {mean(x)};
}

Outcome listSdv(Values x)
{
    return {deviation(x, static_cast<double>(x.size()))};
}

Outcome listSsd(Values x)
{
    if (x.size() < 2)
        return failure(ErrorCode::kDivision);
    return {deviation(x, static_cast<double>(x.size() - 1))};
}

Outcome listMin(Values x)
{
    if (x.empty())
        return failure(ErrorCode::kNoList);
    double smallest = x[0];
    for (const double v : x)
        smallest = v < smallest ? v : smallest;
    return {smallest};
}

Outcome listMax(Values x)
{
    if (x.empty())
        return failure(ErrorCode::kNoList);
    double largest = x[0];
    for (const double v : x)
        largest = v > largest ? v : largest;
    return {largest};
}

Outcome listAvd(Values x)
{
    const double scale = scaleOf(x);
    const double m = scaledMean(x, scale);
    double total = 0.0;
    for (const double v : x)
        total += std::fabs(v / scale - m);
    return {total / static_cast<double>(x.size()) * scale};
}

Outcome listMedian(Values x)
{
    if (x.empty())
        return failure(ErrorCode::kNoList);
    std::vector<double> sorted(x.begin(), x.end());
    // A total order: a stray NaN must not break the sort.
    std::sort(sorted.begin(), sorted.end(), [](double a, double b) { return std::strong_order(a, b) < 0; });
    const std::size_t middle = sorted.size() / 2;
    if (sorted.size() % 2 == 1)
        return {sorted[middle]};
    return {(sorted[middle - 1] + sorted[middle]) / 2.0};
}

Outcome listMode(Values x)
{
    if (x.empty())
        return failure(ErrorCode::kNoList);
    double mode = x[0];
    std::ptrdiff_t mostCount = 0;
    for (const double candidate : x) {
        const std::ptrdiff_t count = std::count(x.begin(), x.end(), candidate);
        if (count > mostCount) {
            mode = candidate;
            mostCount = count;
        }
    }
    return {mode};
}

Outcome listDsq(Values x)
{
    const double scale = scaleOf(x);
    return {scaledSquaredDeviations(x, scale) * scale * scale};
}

// P^(1/n) from the mean of the logarithms: the product of a few hundred values overflows
// long before their geometric mean does. An odd count with a negative product has the real
// root -|P|^(1/n).
Outcome listGeometric(Values x)
{
    if (x.empty())
        return {kNotANumber};
    bool negative = false;
    double logSum = 0.0;
    for (const double v : x) {
        if (v == 0.0)
            return {0.0};
        negative = negative != (v < 0.0);
        logSum += std::log(std::fabs(v));
    }
    if (negative && x.size() % 2 == 0)
        return failure(ErrorCode::kSquareRoot);
    const double magnitude = std::exp(logSum / static_cast<double>(x.size()));
    return {negative ? -magnitude : magnitude};
}

}  // namespace

double callListSum(Engine& engine, std::string_view, int)
{
    return onList<listSum>(engine);
}
double callListSsq(Engine& engine, std::string_view, int)
{
    return onList<listSsq>(engine);
}
double callListCount(Engine& engine, std::string_view, int)
{
    return onList<listCount>(engine);
}
double callListAverage(Engine& engine, std::string_view, int)
{
    return onList<listAverage>(engine);
}
double callListSdv(Engine& engine, std::string_view, int)
{
    return onList<listSdv>(engine);
}
double callListSsd(Engine& engine, std::string_view, int)
{
    return onList<listSsd>(engine);
}
double callListMin(Engine& engine, std::string_view, int)
{
    return onList<listMin>(engine);
}
double callListMax(Engine& engine, std::string_view, int)
{
    return onList<listMax>(engine);
}
double callListAvd(Engine& engine, std::string_view, int)
{
    return onList<listAvd>(engine);
}
double callListMedian(Engine& engine, std::string_view, int)
{
    return onList<listMedian>(engine);
}
double callListMode(Engine& engine, std::string_view, int)
{
    return onList<listMode>(engine);
}
double callListDsq(Engine& engine, std::string_view, int)
{
    return onList<listDsq>(engine);
}
double callListGeometric(Engine& engine, std::string_view, int)
{
    return onList<listGeometric>(engine);
}
