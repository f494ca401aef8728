#include "integer_calls.h"

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <vector>

#include "call_arguments.h"
#include "engine.h"
#include "integer_operators.h"

namespace {

constexpr int kFirstUnrepresentableFibonacci = 1477;  // fib(1477) exceeds the double range
constexpr double kLargestFiniteFactorial = 170.0;

// The arguments, each a 32-bit integer; a non-integer raises notIntegerCode.
std::optional<std::vector<double>> integerArguments(Engine& engine, std::string_view arguments,
                                                    std::size_t required, std::size_t most,
                                                    int notIntegerCode)
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

// Euclid's algorithm on whole doubles: fmod is exact, so nothing overflows when lcm's running
// value outgrows 32 bits. Remainders give the same divisor as the
// subtraction form in a few steps where gcd(1, 2^31) would take 2^31 subtractions.
double greatestCommonDivisor(double a, double b)
{
    a = std::fabs(a);
    b = std::fabs(b);
    while (b > 0.0) {
        const double remainder = std::fmod(a, b);
        a = b;
        b = remainder;
    }
    return a;
}

// Dividing first keeps the value exact while it fits 53 bits; lcm(0, 0) is still 0 / 0.
double leastCommonMultiple(double a, double b)
{
    return std::fabs(a) / greatestCommonDivisor(a, b) * std::fabs(b);
}

// Products in doubles as the factorial operator computes them; x! = 1 for x < 1.
double factorial(double x)
{
    if (x > kLargestFiniteFactorial)
        return HUGE_VAL;
    double product = 1.0;
    for (double factor = 2.0; factor <= x; factor += 1.0)
        product *= factor;
    return product;
}

// n and k of ncr and npr, once checked.
std::optional<std::vector<double>> selection(Engine& engine, std::string_view arguments)
{
    auto values = integerArguments(engine, arguments, 2, 2, ErrorCode::kInvalidTypeGcd);
    if (!values)
        return std::nullopt;
    const double n = (*values)[0];
    const double k = (*values)[1];
    if (!(n >= k && k > 0.0)) {
        engine.raise(ErrorCode::kInvalidCombination);
        return std::nullopt;
    }
    return values;
}

double permutations(double n, double k)
{
    return factorial(n) / factorial(n - k);
}

}  // namespace

double callGcd(Engine& engine, std::string_view arguments, int)
{
    const auto values =
        integerArguments(engine, arguments, 2, CallArguments::kAnyCount, ErrorCode::kInvalidTypeGcd);
    if (!values)
        return 0.0;
    double divisor = (*values)[0];
    for (std::size_t i = 1; i < values->size(); ++i)
        divisor = greatestCommonDivisor(divisor, (*values)[i]);
    return std::fabs(divisor);
}

double callLcm(Engine& engine, std::string_view arguments, int)
{
    const auto values = integerArguments(engine, arguments, 2, CallArguments::kAnyCount, ErrorCode::kLcm);
    if (!values)
        return 0.0;
    double multiple = (*values)[0];
    for (std::size_t i = 1; i < values->size(); ++i)
        multiple = leastCommonMultiple(multiple, (*values)[i]);
    return multiple;
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
    const auto ticks = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    std::srand(static_cast<unsigned>(ticks.count()));
    const double r = std::fabs(std::sin(static_cast<double>(std::rand())));
    return low + (high - low) * r;
}

double callNcr(Engine& engine, std::string_view arguments, int)
{
    const auto values = selection(engine, arguments);
    if (!values)
        return 0.0;
    const double k = (*values)[1];
    return permutations((*values)[0], k) / factorial(k);
}

double callNpr(Engine& engine, std::string_view arguments, int)
{
    const auto values = selection(engine, arguments);
    return values ? permutations((*values)[0], (*values)[1]) : 0.0;
}
