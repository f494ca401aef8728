// Corvan's cached evaluation next to muparser's bytecode, in one Google Benchmark run, on the
// same expressions and the same x values. After the benchmarks it prints the time per
// evaluation of each side and their ratio. Run by hand: build/bench/peer/peer_bench
// (the benchmark library's options apply, e.g. --benchmark_repetitions=5).
#include <benchmark/benchmark.h>
#include <muParser.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "engine.h"

namespace {

// muparser names its constants _pi and _e; "pi" and "e" are defined for it below, so both read
// the same text.
constexpr const char* kExpressions[] = {
    "2+3*4",
    "x*x-3*x+2/(x+1)",
    "sin(x)*x^2",
    "1/(x*sqrt(2*pi))*e^(-0.5*((x-1)/x)^2)",
};

constexpr int kPoints = 1024;

const std::vector<double>& xValues()
{
    static const std::vector<double> xs = [] {
        std::vector<double> values(kPoints);
        for (int i = 0; i < kPoints; ++i)
            values[static_cast<std::size_t>(i)] = 0.1 + 9.9 * i / (kPoints - 1);
        return values;
    }();
    return xs;
}

struct Muparser {
    double x = 0.0;
    mu::Parser parser;

    explicit Muparser(const char* text)
    {
        parser.DefineVar("x", &x);
        parser.DefineConst("pi", 3.141592653589793);
        parser.DefineConst("e", std::exp(1.0));
        parser.SetExpr(text);
    }
    double at(double value)
    {
        x = value;
        return parser.Eval();
    }
};

struct Corvan {
    Engine engine;
    std::string text;

    explicit Corvan(const char* expression) : text(expression)
    {
        engine.settings.angleMode = AngleMode::Radians;
        engine.setBoundExpression({}, "x");
    }
    double at(double value) { return engine.evaluateAtCached(value, text); }
};

// Time per evaluation: one iteration is a pass over all the x values.
template <class Side>
void passOverX(benchmark::State& state, const char* text)
{
    Side side(text);
    const std::vector<double>& xs = xValues();
    for (auto _ : state) {
        double sum = 0.0;
        for (double x : xs)
            sum += side.at(x);
        benchmark::DoNotOptimize(sum);
    }
    state.counters["ns/eval"] = benchmark::Counter(static_cast<double>(state.iterations()) * kPoints,
                                                   benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Both sides must agree before either is timed: a fast wrong answer is no answer.
bool sidesAgree(const char* text)
{
    Muparser theirs(text);
    Corvan ours(text);
    double largest = 0.0;
    for (double x : xValues()) {
        const double a = theirs.at(x);
        const double b = ours.at(x);
        largest = std::fmax(largest, std::fabs(a - b) / std::fmax(1.0, std::fabs(a)));
    }
    if (ours.engine.error() == 0 && largest <= 1e-9)
        return true;
    std::fprintf(stderr, "%s: the two disagree (error %d, difference %g)\n", text, ours.engine.error(), largest);
    return false;
}

// The console report as usual, and each run's time per evaluation kept for the ratio table.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration && run.aggregate_name != "median")
                continue;
            const auto counter = run.counters.find("ns/eval");
            if (counter != run.counters.end())
                nanoseconds_[run.run_name.function_name] = counter->second.value * 1e9;
        }
    }

    bool printRatios() const
    {
        bool allWithinTwice = true;
        std::printf("\n%-40s %12s %12s %8s\n", "expression", "muparser ns", "Corvan ns", "ratio");
        for (const char* text : kExpressions) {
            const auto theirs = nanoseconds_.find(std::string("muparser/") + text);
            const auto ours = nanoseconds_.find(std::string("corvan/") + text);
            if (theirs == nanoseconds_.end() || ours == nanoseconds_.end())
                continue;
            const double ratio = ours->second / theirs->second;
            allWithinTwice = allWithinTwice && ratio <= 2.0;
            std::printf("%-40s %12.1f %12.1f %7.2fx\n", text, theirs->second, ours->second, ratio);
        }
        std::printf("%s\n", allWithinTwice ? "Corvan's cached evaluation is within 2x of muparser on each"
                                           : "Corvan's cached evaluation is NOT within 2x of muparser on each");
        return allWithinTwice;
    }

private:
    std::map<std::string, double> nanoseconds_;
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    for (const char* text : kExpressions) {
        if (!sidesAgree(text))
            return 1;
        benchmark::RegisterBenchmark((std::string("muparser/") + text).c_str(), passOverX<Muparser>, text);
        benchmark::RegisterBenchmark((std::string("corvan/") + text).c_str(), passOverX<Corvan>, text);
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.printRatios() ? 0 : 2;
}
