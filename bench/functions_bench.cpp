// Cost of whole evaluations dominated by the scalar function library: circular functions with
// their angle conversion and 12-decimal rounding, and powers and roots through the complex power.
#include <benchmark/benchmark.h>

#include <string>

#include "engine.h"
#include "evaluate_loop.h"

namespace {

void BM_EvaluateTrigonometric(benchmark::State& state)
{
    benchmarkEvaluate(state, "sin(30)^2+cos(30)^2+tan(45)");
}
BENCHMARK(BM_EvaluateTrigonometric);

void BM_EvaluateInverseTrigonometric(benchmark::State& state)
{
    benchmarkEvaluate(state, "asin(0.5)+acos(0.25)+atan(3)+asinh(2)");
}
BENCHMARK(BM_EvaluateInverseTrigonometric);

void BM_EvaluatePowers(benchmark::State& state)
{
    benchmarkEvaluate(state, "2^0.5*3^1.5/(1.1^20)+(-8)^(1/3)");
}
BENCHMARK(BM_EvaluatePowers);

}  // namespace
