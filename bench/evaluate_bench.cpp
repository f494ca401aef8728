// Cost of the evaluator's paths: a whole top-level evaluation of a short and of a long text,
// and a cached evaluation of one compiled text as the graph windows make it.
#include <benchmark/benchmark.h>

#include <string>

#include "engine.h"
#include "evaluate_loop.h"

namespace {

std::string longArithmetic()
{
    // About 200 characters of mixed operators and groups.
    std::string text;
    while (text.size() < 190)
        text += "(12.5+3*4-7/2)*2-";
    return text + "1";
}

void BM_EvaluateShort(benchmark::State& state)
{
    benchmarkEvaluate(state, "2+3*4");
}
BENCHMARK(BM_EvaluateShort);

void BM_EvaluateLong(benchmark::State& state)
{
    benchmarkEvaluate(state, longArithmetic());
}
BENCHMARK(BM_EvaluateLong);

void BM_EvaluateAtCached(benchmark::State& state)
{
    Engine engine;
    engine.setBoundExpression({}, "x");
    const std::string text = "x*x-3*x+2/(x+1)";
    double x = 0.5;
    for (auto _ : state) {
        benchmark::DoNotOptimize(engine.evaluateAtCached(x, text));
        x += 1e-9;
    }
    if (engine.error() != 0)
        state.SkipWithError("evaluation failed");
}
BENCHMARK(BM_EvaluateAtCached);

}  // namespace
