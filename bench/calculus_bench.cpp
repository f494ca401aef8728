// Cost of the calculus calls through a whole top-level evaluation: an integral is 2048
// evaluations of one compiled integrand, a sum compiles every one of its terms afresh.
#include <benchmark/benchmark.h>

#include <string>

#include "engine.h"

namespace {

void evaluateCall(benchmark::State& state, const std::string& text)
{
    Engine engine;
    for (auto _ : state) {
        engine.resetError();
        benchmark::DoNotOptimize(engine.Evaluate(text, Engine::kModeScalar, 10));
    }
    if (engine.error() != 0)
        state.SkipWithError("evaluation failed");
}

void BM_IntegrateSinTimesSquare(benchmark::State& state)
{
    evaluateCall(state, "fnInt(sin(x)*x^2,x,0,3)");
}
BENCHMARK(BM_IntegrateSinTimesSquare)->Unit(benchmark::kMicrosecond);

void BM_SumTenThousandTerms(benchmark::State& state)
{
    evaluateCall(state, "fnSum(1/k^2,k,1,10000)");
}
BENCHMARK(BM_SumTenThousandTerms)->Unit(benchmark::kMillisecond);

void BM_DerivativeOfAProduct(benchmark::State& state)
{
    evaluateCall(state, "fnDeriv(x^3*sin(x)-x/(x+1),x,2)");
}
BENCHMARK(BM_DerivativeOfAProduct)->Unit(benchmark::kMicrosecond);

void BM_RootBisection(benchmark::State& state)
{
    evaluateCall(state, "fnRoot(x^3-x-1,x,1,2)");
}
BENCHMARK(BM_RootBisection)->Unit(benchmark::kMicrosecond);

}  // namespace
