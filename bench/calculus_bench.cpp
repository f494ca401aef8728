// Cost of the calculus calls through a whole top-level evaluation: an integral is a few dozen
// evaluations of one compiled integrand (45 for sin(x)*x^2 over [0, 3], which must stay well
// under 100 microseconds), a sum compiles every one of its terms afresh.
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

void BM_RootSearch(benchmark::State& state)
{
    benchmarkEvaluate(state, "fnRoot(x^3-x-1,x,1,2)");
}
BENCHMARK(BM_RootSearch)->Unit(benchmark::kMicrosecond);

}  // namespace
