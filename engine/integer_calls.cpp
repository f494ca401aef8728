#include "integer_calls.h"

#include <bit>
#include <chrono>
#include <cstdint>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <vector>

#include "call_arguments.h"
#include "engine.h"
#include "integer_operators.h"

namespace {

constexpr int kFirstUnrepresentableFibonacci = 1477;  // fib(1477) exceeds the double range

// The arguments, each a 32-bit integer; a non-integer raises notIntegerCode.
std::optional<std::vector<double>> integerArguments(Engine& engine, std::string_view arguments, std::size_t required,
                                                    std::size_t most, int notIntegerCode)
{
    auto values = numericArguments(engine, arguments, required, most);
    if (!values)
        return std::nullopt;
    for (const double value : *values) {
        if (!integer_ops::asInt32(value)) {
            engine.raise(notIntegerCode);
            return std::nullopt;
        }
    }
    return values;
}

// A whole number of any size, as base-2^32 digits with the least significant first: counts and lcm's
// running value, which outgrows every machine integer (the lcm of three 31-bit numbers is near
// 2^93), so that each gcd with the next argument is taken of the exact value.
class WholeNumber {
public:
    explicit WholeNumber(std::uint32_t value) : digits_{value} {}

    std::uint32_t remainder(std::uint32_t divisor) const
    {
        std::uint64_t rest = 0;
        for (auto it = digits_.rbegin(); it != digits_.rend(); ++it)
            rest = ((rest << 32) | *it) % divisor;
        return static_cast<std::uint32_t>(rest);
    }

    void divide(std::uint32_t divisor)
    {
        std::uint64_t rest = 0;
        for (auto it = digits_.rbegin(); it != digits_.rend(); ++it) {
            const std::uint64_t current = (rest << 32) | *it;
            *it = static_cast<std::uint32_t>(current / divisor);
            rest = current % divisor;
        }
        trim();
    }

    std::size_t digitCount() const { return digits_.size(); }

    void multiply(std::uint32_t factor)
    {
        std::uint64_t carry = 0;
        for (std::uint32_t& digit : digits_) {
            const std::uint64_t product = std::uint64_t{digit} * factor + carry;
            digit = static_cast<std::uint32_t>(product);
            carry = product >> 32;
        }
        if (carry != 0)
            digits_.push_back(static_cast<std::uint32_t>(carry));
        trim();
    }

    // The nearest double: the leading 64 bits, with a last bit standing for any bit below them
    // so that the conversion rounds ties correctly, scaled by the digits left out.
    double toDouble() const
    {
        const std::size_t n = digits_.size();
        if (n <= 2)
            return static_cast<double>(digit(1) << 32 | digit(0));
        const int shift = std::countl_zero(digits_.back());
        std::uint64_t leading = digit(n - 1) << (32 + shift) | digit(n - 2) << shift;
        if (shift > 0)
            leading |= digit(n - 3) >> (32 - shift);
        bool below = static_cast<std::uint32_t>(digit(n - 3) << shift) != 0;
        for (std::size_t i = 0; i + 3 < n && !below; ++i)
            below = digits_[i] != 0;
        if (below)
            leading |= 1;
        return std::ldexp(static_cast<double>(leading), static_cast<int>(32 * (n - 2)) - shift);
    }

private:
    std::uint64_t digit(std::size_t index) const { return index < digits_.size() ? digits_[index] : 0; }

    void trim()
    {
        while (digits_.size() > 1 && digits_.back() == 0)
            digits_.pop_back();
    }

    std::vector<std::uint32_t> digits_;
};

// |value| of an argument that passed the 32-bit integer check: -2^31 too fits 32 unsigned bits.
std::uint32_t magnitude(double value)
{
    return static_cast<std::uint32_t>(std::fabs(value));
}

// Euclid's algorithm with remainders: the subtraction form would take 2^31 steps for
// gcd(1, 2^31).
std::uint32_t greatestCommonDivisor(std::uint32_t a, std::uint32_t b)
{
    while (b != 0) {
        const std::uint32_t remainder = a % b;
        a = b;
        b = remainder;
    }
    return a;
}

// lcm(a, b, ...) folded as L = L / gcd(L, b) x b, exactly; 0 when any argument is 0.
double leastCommonMultiple(const std::vector<double>& values)
{
    for (const double value : values) {
        if (value == 0.0)
            return 0.0;
    }
    WholeNumber multiple(magnitude(values[0]));
    for (std::size_t i = 1; i < values.size(); ++i) {
        const std::uint32_t next = magnitude(values[i]);
        multiple.divide(greatestCommonDivisor(next, multiple.remainder(next)));
        multiple.multiply(next);
    }
    return multiple.toDouble();
}

// n and k of ncr and npr, once checked.
std::optional<std::vector<double>> selection(Engine& engine, std::string_view arguments)
{
    auto values = integerArguments(engine, arguments, 2, 2, ErrorCode::kInvalidTypeGcd);
    if (!values)
        return std::nullopt;
    const double n = (*values)[0];
    const double k = (*values)[1];
    // Choosing none of n is one way, for every n; more than n is none.
    if (!(n >= k && k >= 0.0)) {
        engine.raise(ErrorCode::kInvalidCombination);
        return std::nullopt;
    }
    return values;
}

// Counts grow with every factor, so once one needs more than 1024 bits it is infinite as a double.
constexpr std::size_t kDigitsBeyondDoubles = 33;

// n(n-1)...(n-k+1) in whole numbers, rounded once at the end: npr(30,15) is exact, and
// npr(999999,2) is finite although 999999! is not.
double permutations(double n, double k)
{
    WholeNumber product(1);
    const auto first = static_cast<std::uint32_t>(n);
    const auto count = static_cast<std::uint32_t>(k);
    for (std::uint32_t i = 0; i < count && product.digitCount() < kDigitsBeyondDoubles; ++i)
        product.multiply(first - i);
    return product.digitCount() < kDigitsBeyondDoubles ? product.toDouble() : HUGE_VAL;
}

// C(n, i) = C(n, i-1) (n - m + i) / i with m = min(k, n - k): each division is exact, so the
// count is a whole number at every step and rounded once at the end.
double combinations(double n, double k)
{
    const auto fewer = static_cast<std::uint32_t>(std::fmin(k, n - k));
    const auto rest = static_cast<std::uint32_t>(n) - fewer;
    WholeNumber result(1);
    for (std::uint32_t i = 1; i <= fewer && result.digitCount() < kDigitsBeyondDoubles; ++i) {
        result.multiply(rest + i);
        result.divide(i);
    }
    return result.digitCount() < kDigitsBeyondDoubles ? result.toDouble() : HUGE_VAL;
}

}  // namespace

double callGcd(Engine& engine, std::string_view arguments, int)
{
    const auto values = integerArguments(engine, arguments, 2, CallArguments::kAnyCount, ErrorCode::kInvalidTypeGcd);
    if (!values)
        return 0.0;
    std::uint32_t divisor = magnitude((*values)[0]);
    for (std::size_t i = 1; i < values->size(); ++i)
        divisor = greatestCommonDivisor(divisor, magnitude((*values)[i]));
    return divisor;
}

double callLcm(Engine& engine, std::string_view arguments, int)
{
    const auto values = integerArguments(engine, arguments, 2, CallArguments::kAnyCount, ErrorCode::kLcm);
    return values ? leastCommonMultiple(*values) : 0.0;
}

double callModule(Engine& engine, std::string_view arguments, int)
{
    const auto values = numericArguments(engine, arguments, 2, 2);
    if (!values)
        return 0.0;
    // The operator records its right operand for the basic modes' repeated "="; a call does not.
    const double lastRightOperand = engine.settings.lastRightOperand;
    ScalarStack stack{{(*values)[0], 0.0}, {(*values)[1], 0.0}};
    OperatorContext context = engine.context();
    integer_ops::modulo(stack, 0, context);
    engine.settings.lastRightOperand = lastRightOperand;
    return engine.error() == ErrorCode::kNone ? stack.back().re : 0.0;
}

double callFib(Engine& engine, std::string_view arguments, int)
{
    const auto values = integerArguments(engine, arguments, 1, 1, ErrorCode::kInvalidType);
    if (!values)
        return 0.0;
    const double n = (*values)[0];
    if (n < 0.0) {
        engine.raise(ErrorCode::kInvalidType);
        return 0.0;
    }
    if (n >= kFirstUnrepresentableFibonacci) {
        engine.raise(ErrorCode::kOutOfRange);
        return 0.0;
    }
    double previous = 0.0;
    double current = n == 0.0 ? 0.0 : 1.0;
    for (double i = 2.0; i <= n; i += 1.0) {
        const double next = previous + current;
        previous = current;
        current = next;
    }
    return current;
}

double callRan(Engine& engine, std::string_view arguments, int)
{
    const auto values = numericArguments(engine, arguments, 2, 2);
    if (!values)
        return 0.0;
    const double low = std::fmin((*values)[0], (*values)[1]);
    const double high = std::fmax((*values)[0], (*values)[1]);
    const auto ticks =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch());
    std::srand(static_cast<unsigned>(ticks.count()));
    const double r = std::fabs(std::sin(static_cast<double>(std::rand())));
    return low + (high - low) * r;
}

double callNcr(Engine& engine, std::string_view arguments, int)
{
    const auto values = selection(engine, arguments);
    if (!values)
        return 0.0;
    return combinations((*values)[0], (*values)[1]);
}

double callNpr(Engine& engine, std::string_view arguments, int)
{
    const auto values = selection(engine, arguments);
    return values ? permutations((*values)[0], (*values)[1]) : 0.0;
}
