#pragma once

#include <benchmark/benchmark.h>

#include <string>

#include "engine.h"

// Times whole top-level evaluations of one text, as "=" runs them.
inline void benchmarkEvaluate(benchmark::State& state, const std::string& text)
{
    Engine engine;
    for (auto _ : state) {
        engine.resetError();
        benchmark::DoNotOptimize(engine.evaluate(text, Engine::kModeScalar, 10));
    }
    if (engine.error() != 0)
        state.SkipWithError("evaluation failed");
}
