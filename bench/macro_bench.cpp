// Loading a large macro file: the name clash check must stay linear in the number of macros
// (a quadratic one took 44 s for 147,217 names).
#include <benchmark/benchmark.h>

#include <string>

#include "macro_library.h"

namespace {

std::string macroFile(int count)
{
    std::string bytes;
    for (int i = 0; i < count; ++i) {
        const std::string line = "N" + std::to_string(i) +
                                 "\x06"
                                 "0\x06\x06"
                                 "1\x06"
                                 "1\x06"
                                 "1\x06\r\n";
        for (char c : line) {
            bytes.push_back(c);
            bytes.push_back('\0');
        }
    }
    return bytes;
}

void loadMacros(benchmark::State& state)
{
    const std::string bytes = macroFile(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        MacroLibrary macros;
        macros.merge(bytes);
        benchmark::DoNotOptimize(macros.count());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(loadMacros)->RangeMultiplier(4)->Range(1 << 10, 1 << 17)->Complexity();

}  // namespace
