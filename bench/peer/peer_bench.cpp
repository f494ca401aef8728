// Corvan's cached evaluation next to muparser's bytecode, in one process, on the same
// expressions and the same x values; prints the time per evaluation of each and the ratio.
// Run by hand: build/bench/peer/peer_bench [rounds]. Times are the best of the rounds, in the
// thread's CPU time.
#include <muParser.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "engine.h"

namespace {

struct Expression {
    const char* corvan;
    const char* muparser;
};

// muparser names its constants _pi and _e; "pi" and "e" are defined for it below, so both read
// the same text.
constexpr Expression kExpressions[] = {
    {"2+3*4", "2+3*4"},
    {"x*x-3*x+2/(x+1)", "x*x-3*x+2/(x+1)"},
    {"sin(x)*x^2", "sin(x)*x^2"},
    {"1/(x*sqrt(2*pi))*e^(-0.5*((x-1)/x)^2)", "1/(x*sqrt(2*pi))*e^(-0.5*((x-1)/x)^2)"},
};

constexpr int kPoints = 1024;
constexpr int kPasses = 200;

std::vector<double> xValues()
{
    std::vector<double> xs(kPoints);
    for (int i = 0; i < kPoints; ++i)
        xs[static_cast<std::size_t>(i)] = 0.1 + 9.9 * i / (kPoints - 1);
    return xs;
}

// The thread's own CPU time: on a busy machine, time spent waiting for a core is not counted
// against either side.
struct Clock {
    using duration = std::chrono::nanoseconds;
    using time_point = std::chrono::time_point<Clock, duration>;
    static time_point now()
    {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return time_point(duration(std::int64_t{t.tv_sec} * 1000000000 + t.tv_nsec));
    }
};

// The best of `rounds` timings of kPasses passes over the x values, in ns per evaluation.
template <class Evaluate>
double bestNanoseconds(int rounds, const std::vector<double>& xs, Evaluate evaluate, double& sink)
{
    double best = 1e300;
    for (int round = 0; round < rounds; ++round) {
        const auto start = Clock::now();
        double sum = 0.0;
        for (int pass = 0; pass < kPasses; ++pass) {
            for (double x : xs)
                sum += evaluate(x);
        }
        const std::chrono::duration<double, std::nano> elapsed = Clock::now() - start;
        best = std::min(best, elapsed.count() / (kPasses * static_cast<double>(xs.size())));
        sink += sum;
    }
    return best;
}

double timeWholeEvaluation(const char* text, int rounds, double& sink)
{
    Engine engine;
    double best = 1e300;
    for (int round = 0; round < rounds; ++round) {
        engine.resetError();
        const auto start = Clock::now();
        const ValueCell result = engine.evaluate(text, Engine::kModeScalar, 10);
        const std::chrono::duration<double, std::micro> elapsed = Clock::now() - start;
        best = std::min(best, elapsed.count());
        sink += result.scalar().re;
    }
    if (engine.error() != 0)
        std::printf("  (%s failed with error %d)\n", text, engine.error());
    return best;
}

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const std::vector<double> xs = xValues();
    double sink = 0.0;
    bool allWithinTwice = true;

    std::printf("%-40s %12s %12s %8s\n", "expression", "muparser ns", "Corvan ns", "ratio");
    for (const Expression& expression : kExpressions) {
        double x = 0.0;
        mu::Parser parser;
        parser.DefineVar("x", &x);
        parser.DefineConst("pi", 3.141592653589793);
        parser.DefineConst("e", std::exp(1.0));
        parser.SetExpr(expression.muparser);

        Engine engine;
        engine.settings.angleMode = AngleMode::Radians;
        engine.setBoundExpression({}, "x");
        const std::string text = expression.corvan;

        // Both agree before either is timed.
        double largestDifference = 0.0;
        for (double value : xs) {
            x = value;
            const double theirs = parser.Eval();
            const double ours = engine.evaluateAtCached(value, text);
            largestDifference = std::max(largestDifference, std::fabs(theirs - ours) / std::max(1.0, std::fabs(theirs)));
        }
        if (engine.error() != 0 || largestDifference > 1e-9) {
            std::printf("%-40s disagree (error %d, difference %g)\n", expression.corvan,
                        engine.error(), largestDifference);
            return 1;
        }

        const double muparserNs = bestNanoseconds(rounds, xs, [&](double value) {
            x = value;
            return parser.Eval();
        }, sink);
        const double corvanNs = bestNanoseconds(rounds, xs, [&](double value) {
            return engine.evaluateAtCached(value, text);
        }, sink);
        const double ratio = corvanNs / muparserNs;
        allWithinTwice = allWithinTwice && ratio <= 2.0;
        std::printf("%-40s %12.1f %12.1f %7.2fx\n", expression.corvan, muparserNs, corvanNs, ratio);
    }

    std::printf("\n%-40s %12s\n", "whole evaluation", "Corvan us");
    for (const char* text : {"fnSum(1/k^2,k,1,10000)", "fnInt(sin(x)*x^2,x,0,3)"})
        std::printf("%-40s %12.1f\n", text, timeWholeEvaluation(text, rounds, sink));

    std::printf("\n%s (checksum %g)\n",
                allWithinTwice ? "Corvan's cached evaluation is within 2x of muparser on each"
                               : "Corvan's cached evaluation is NOT within 2x of muparser on each",
                sink);
    return 0;
}
