// Cost of the calculus calls through a whole top-level evaluation: an integral is 2048
// evaluations of one compiled integrand, a sum compiles every one of its terms afresh.
#include <benchmark/benchmark.h>

#include <string>

#include "engine.h"
#include "evaluate_loop.h"

namespace {

void BM_IntegrateSinTimesSquare(benchmark::State& state)
{
    benchmarkEvaluate(state, "fnInt(sin(x)*x^2,x,0,3)");
}
BENCHMARK(BM_IntegrateSinTimesSquare)->Unit(benchmark::kMicrosecond);

void BM_SumTenThousandTerms(benchmark::State& state)
{
    benchmarkEvaluate(state, "fnSum(1/k^2,k,1,10000)");
}
BENCHMARK(BM_SumTenThousandTerms)->Unit(benchmark::kMillisecond);

void BM_DerivativeOfAProduct(benchmark::State& state)
{
    benchmarkEvaluate(state, "fnDeriv(x^3*sin(x)-x/(x+1),x,2)");
}
BENCHMARK(BM_DerivativeOfAProduct)->Unit(benchmark::kMicrosecond);

void BM_RootBisection(benchmark::State& state)
{
    benchmarkEvaluate(state, "fnRoot(x^3-x-1,x,1,2)");
}
BENCHMARK(BM_RootBisection)->Unit(benchmark::kMicrosecond);

}  // namespace
