// Cost of the heavier matrix operations on a 30 x 30 matrix, the largest that the matrix store
// holds: "inv", "det" and "eigl" (300 steps of orthogonal iteration) called as the evaluator
// calls them.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <string>

#include "matrix_operations.h"

namespace {

constexpr std::uint16_t kSize = 30;

// Symmetric, with diagonal entries falling by a factor 0.85 and small couplings, so that the
// eigenvalue iteration settles and "eigl" gives a result rather than an error.
ValueCell benchMatrix()
{
    std::mt19937 random(20240611);
    std::uniform_real_distribution<double> coupling(-0.01, 0.01);
    std::vector<double> elements(kSize * kSize);
    for (std::size_t i = 0; i < kSize; ++i) {
        elements[i * kSize + i] = 10.0 * std::pow(0.85, static_cast<double>(i));
        for (std::size_t j = 0; j < i; ++j)
            elements[i * kSize + j] = elements[j * kSize + i] = coupling(random);
    }
    ValueCell cell;
    cell.storeMatrix(kSize, kSize, elements.data());
    return cell;
}

void runOperation(benchmark::State& state, MatrixOperation operation)
{
    const ValueCell matrix = benchMatrix();
    int error = 0;
    EngineSettings settings;
    OperatorContext context{error, settings};
    for (auto _ : state) {
        MatrixStack stack{matrix};
        operation(stack, 0, context);
        benchmark::DoNotOptimize(stack);
    }
    if (error != 0)
        state.SkipWithError(("the operation raised " + std::to_string(error)).c_str());
}

void BM_Inverse30(benchmark::State& state)
{
    runOperation(state, matrix_ops::invert);
}
BENCHMARK(BM_Inverse30);

void BM_Determinant30(benchmark::State& state)
{
    runOperation(state, matrix_ops::determinant);
}
BENCHMARK(BM_Determinant30);

void BM_Eigenvalues30(benchmark::State& state)
{
    runOperation(state, matrix_ops::eigenvalues);
}
BENCHMARK(BM_Eigenvalues30)->Unit(benchmark::kMillisecond);

void BM_Eigenvectors30(benchmark::State& state)
{
    runOperation(state, matrix_ops::eigenvectors);
}
BENCHMARK(BM_Eigenvectors30)->Unit(benchmark::kMillisecond);

}  // namespace
