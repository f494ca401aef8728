#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "engine.h"
#include "matrix_operator_table.h"

namespace {

struct Mat {
    std::uint16_t rows = 0;  // 0: a scalar, held in values[0]
    std::uint16_t cols = 0;
    std::vector<double> values;
};

Mat scalar(double x)
{
    return {0, 0, {x}};
}

struct MatrixCase {
    const char* text;
    std::vector<Mat> operands;  // stored in VA, VB, ... in order
    int error;                  // expected engine error, 0 for success
    Mat expected;
};

void PrintTo(const MatrixCase& c, std::ostream* out)
{
    *out << c.text;
}

void store(Engine& engine, int slot, const Mat& m)
{
    if (m.rows == 0)
        engine.slots.storeScalar(slot, m.values.at(0));
    else
        engine.slots.storeMatrix(slot, m.rows, m.cols, m.values.data());
}

// Relative, with a floor just above the rounding that the eigen operations leave on zeros, so
// that 1e-13 and 0 still differ.
bool near(double got, double want)
{
    return std::fabs(got - want) <= 1e-12 * std::fabs(want) + 1e-15;
}

void expectCell(const ValueCell& got, const Mat& want, const std::string& what)
{
    if (want.rows == 0) {
        ASSERT_EQ(got.kind, ValueKind::Real) << what;
        EXPECT_TRUE(near(got.re, want.values[0])) << what << ": " << got.re;
        return;
    }
    ASSERT_EQ(got.kind, ValueKind::Matrix) << what;
    ASSERT_EQ(got.rows, want.rows) << what;
    ASSERT_EQ(got.cols, want.cols) << what;
    ASSERT_EQ(got.data.size(), want.values.size()) << what;
    for (std::size_t k = 0; k < want.values.size(); ++k)
        EXPECT_TRUE(near(got.data[k], want.values[k])) << what << " [" << k << "]: " << got.data[k];
}

class MatrixCases : public ::testing::TestWithParam<MatrixCase> {};

TEST_P(MatrixCases, GiveResultOrError)
{
    const MatrixCase& c = GetParam();
    Engine engine;
    for (std::size_t k = 0; k < c.operands.size(); ++k)
        store(engine, VariableSlots::kFirstUser + static_cast<int>(k), c.operands[k]);
    const ValueCell result = engine.evaluate(c.text, Engine::kModeMatrix, 10);
    ASSERT_EQ(engine.error(), c.error) << c.text;
    if (c.error != 0)
        return;
    expectCell(result, c.expected, c.text);
    expectCell(engine.slots[VariableSlots::kResult], c.expected, std::string(c.text) + " in VVV");
}

const Mat kA{2, 2, {1, 2, 3, 4}};
const Mat kOnes{2, 2, {1, 1, 1, 1}};
const Mat kRow{1, 2, {1, 2}};
const Mat kSingular{2, 2, {1, 2, 2, 4}};
const Mat kWide{2, 3, {1, 2, 3, 4, 5, 6}};
const Mat kIdentity3{3, 3, {1, 0, 0, 0, 1, 0, 0, 0, 1}};
const Mat kSwap{2, 2, {0, 1, 1, 0}};
const Mat kRotation{2, 2, {0, -1, 1, 0}};
// Rank 2: the third row is the sum of the first two, the fourth their difference. The
// triangular form leaves three non-zero rows in three non-zero columns.
const Mat kShiftedRank2{4, 4, {0, 1, 0, 1, 0, 0, 1, 1, 0, 1, 1, 2, 0, 1, -1, 0}};
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();
const Mat kCubeSymmetric{3, 3, {2, 1, 1, 1, 2, 1, 1, 1, 2}};  // eigenvalues 4, 1, 1
constexpr double kHalfRoot2 = 0.70710678118654752;

INSTANTIATE_TEST_SUITE_P(
    Arithmetic, MatrixCases,
    ::testing::Values(
        MatrixCase{"[VA]+[VB]", {kA, kOnes}, 0, {2, 2, {2, 3, 4, 5}}}, MatrixCase{"[VA]+[VB]", {kA, kRow}, -10, {}},
        MatrixCase{"[VA]+5", {kA}, -10, {}}, MatrixCase{"5+[VA]", {kA}, -10, {}}, MatrixCase{"2+3", {}, 0, scalar(5)},
        MatrixCase{"[VA]-[VB]", {kA, kOnes}, 0, {2, 2, {0, 1, 2, 3}}}, MatrixCase{"[VA]-[VB]", {kA, kRow}, -46, {}},
        MatrixCase{"[VA]-5", {kA}, -46, {}}, MatrixCase{"7-3", {}, 0, scalar(4)},
        // Too few operands: the matrix mode has no negation.
        MatrixCase{"-[VA]", {kA}, -1, {}}, MatrixCase{"[VA]*[VB]", {kA, {2, 1, {5, 6}}}, 0, {2, 1, {17, 39}}},
        MatrixCase{"[VA]*[VA]", {kRow}, -38, {}}, MatrixCase{"2*[VA]", {kRow}, 0, {1, 2, {2, 4}}},
        MatrixCase{"[VA]*2", {kRow}, 0, {1, 2, {2, 4}}}, MatrixCase{"2*3", {}, 0, scalar(6)},
        MatrixCase{"[VA]*[VB]", {kWide, kA}, -38, {}},
        // Only the matrix product clears rounding noise, and only relative to the size of its terms.
        MatrixCase{"[VA]*[VB]", {{1, 1, {1e-7}}, {1, 1, {1e-6}}}, 0, {1, 1, {1e-13}}},
        MatrixCase{"[VA]*[VB]", {{1, 2, {1e12 + 1, -1e12}}, {2, 1, {1, 1}}}, 0, {1, 1, {1}}},
        MatrixCase{"[VA]*[VB]", {{1, 1, {1e-5}}, {1, 1, {1e-6}}}, 0, {1, 1, {1e-11}}},
        MatrixCase{"[VA]*[VB]", {scalar(1e-7), {1, 1, {1e-6}}}, 0, {1, 1, {1e-13}}},
        MatrixCase{"[VA]/[VA]", {kA}, 0, {2, 2, {1, 0, 0, 1}}}, MatrixCase{"[VA]/2", {kA}, 0, {2, 2, {0.5, 1, 1.5, 2}}},
        MatrixCase{"6/[VA]", {kA}, 0, {2, 2, {-12, 6, 9, -3}}}, MatrixCase{"1/4", {}, 0, scalar(0.25)},
        MatrixCase{"[VA]/0", {kA}, -5, {}}, MatrixCase{"[VA]/[VB]", {kA, kSingular}, -39, {}},
        MatrixCase{"[VA]/[VB]", {{2, 1, {5, 6}}, kA}, -38, {}}, MatrixCase{"[VA]/[VB]", {kA, kWide}, -39, {}},
        MatrixCase{"trans([VA])", {kWide}, 0, {3, 2, {1, 4, 2, 5, 3, 6}}}, MatrixCase{"trans(5)", {}, -45, {}}));

INSTANTIATE_TEST_SUITE_P(
    Elimination, MatrixCases,
    ::testing::Values(
        MatrixCase{"det([VA])", {kA}, 0, scalar(-2)}, MatrixCase{"det([VA])", {kSingular}, 0, scalar(0)},
        MatrixCase{"det([VA])", {kWide}, -44, {}}, MatrixCase{"det(5)", {}, -44, {}},
        MatrixCase{"det([VA])", {kSwap}, 0, scalar(-1)}, MatrixCase{"det([VA])", {{1, 1, {-7}}}, 0, scalar(-7)},
        MatrixCase{"det([VA])", {{2, 2, {2e-5, 0, 0, 2e-5}}}, 0, scalar(4e-10)},
        MatrixCase{"det([VA])", {{2, 2, {1e-6, 0, 0, 1e-5}}}, 0, scalar(0)},
        // The running product 1e-400 counts as 0 although the later pivots would restore 1.
        MatrixCase{"det([VA])",
                   {{4, 4, {1e-200, 0, 0, 0, 0, 1e-200, 0, 0, 0, 0, 1e200, 0, 0, 0, 0, 1e200}}},
                   0,
                   scalar(0)},
        MatrixCase{"inv([VA])", {kA}, 0, {2, 2, {-2, 1, 1.5, -0.5}}}, MatrixCase{"inv([VA])", {kSingular}, -39, {}},
        MatrixCase{"inv([VA])", {kWide}, -39, {}}, MatrixCase{"inv(0)", {}, -5, {}},
        MatrixCase{"inv([VA])", {{2, 2, {1, 0, 0, kInfinity}}}, -39, {}},
        MatrixCase{"rank([VA])", {{2, 2, {kNaN, 1, 0, 1}}}, 0, scalar(1)}, MatrixCase{"inv(4)", {}, 0, scalar(0.25)},
        // Rows that differ only by rounding are singular; a difference of 2^-30 is not.
        MatrixCase{"inv([VA])", {{2, 2, {1, 1, 1, 1 + 4e-16}}}, -39, {}},
        MatrixCase{"inv([VA])", {{2, 2, {1, 1, 1, 1 - 0x1p-30}}}, 0, {2, 2, {1 - 0x1p30, 0x1p30, 0x1p30, -0x1p30}}},
        // Full pivoting starts at the 9 and exchanges columns; the inverse must come back
        // in the original order.
        MatrixCase{"inv([VA])",
                   {{3, 3, {0, 0, 2, 9, 0, 0, 0, 4, 0}}},
                   0,
                   {3, 3, {0, 1.0 / 9, 0, 0, 0, 0.25, 0.5, 0, 0}}},
        MatrixCase{"solve([VA],[VB])", {{2, 2, {2, 0, 0, 4}}, {2, 1, {2, 4}}}, 0, {2, 1, {1, 1}}},
        MatrixCase{"solve([VA],[VB])+[VB]", {{2, 2, {2, 0, 0, 4}}, {2, 1, {2, 4}}}, 0, {2, 1, {3, 5}}},
        MatrixCase{"solve([VA],[VB])", {kSingular, {2, 1, {2, 4}}}, -39, {}},
        MatrixCase{"rank([VA])", {kSingular}, 0, scalar(1)}, MatrixCase{"rank([VA])", {kIdentity3}, 0, scalar(3)},
        MatrixCase{"rank([VA])", {kWide}, 0, scalar(2)}, MatrixCase{"rank([VA])", {{2, 2, {0, 0, 0, 0}}}, 0, scalar(0)},
        MatrixCase{"rank([VA])", {kShiftedRank2}, 0, scalar(2)},
        MatrixCase{"rank([VA])", {{2, 2, {1, 1, 1, 1 + 1e-9}}}, 0, scalar(2)},
        MatrixCase{"rank([VA])", {{2, 2, {1, 1, 1, 1 + 4e-16}}}, 0, scalar(1)},
        MatrixCase{"rank([VA])", {{3, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9}}}, 0, scalar(2)},
        MatrixCase{"rank(5)", {}, -43, {}}, MatrixCase{"tri([VA])", {kA}, 0, {2, 2, {1, 2, 0, -2}}},
        MatrixCase{"tri([VA])", {kSwap}, 0, {2, 2, {1, 0, 0, 1}}},
        MatrixCase{"tri([VA])", {kShiftedRank2}, 0, {4, 4, {0, 1, -1, 0, 0, 1, 0, 1, 0, 0, 1, 1, 0, 0, 0, 0}}},
        MatrixCase{"tri([VA])", {{2, 2, {1, 1, 1, 1 + 1e-9}}}, 0, {2, 2, {1, 1, 0, 0}}},
        // 123456789012.3 - (123456789012.3 / 3) * 3 leaves 1.5e-5 of rounding; the eliminated
        // entry is 0 all the same.
        MatrixCase{"tri([VA])", {{2, 2, {3, 1, 123456789012.3, 1}}}, 0, {2, 2, {3, 1, 0, 1 - 123456789012.3 / 3}}},
        MatrixCase{"tri(5)", {}, -43, {}}));

INSTANTIATE_TEST_SUITE_P(
    Eigen, MatrixCases,
    ::testing::Values(
        MatrixCase{"eigl([VA])", {{2, 2, {2, 0, 0, 3}}}, 0, {2, 1, {2, 3}}},
        MatrixCase{"eigl([VA])", {{2, 2, {2, 1, 1, 2}}}, 0, {2, 1, {3, 1}}},
        MatrixCase{"eigl([VA])", {kOnes}, 0, {2, 1, {2, 0}}}, MatrixCase{"eigl([VA])", {{1, 1, {-5}}}, 0, {1, 1, {-5}}},
        MatrixCase{"eigl([VA])", {{2, 2, {0, 0, 0, 0}}}, 0, {2, 1, {0, 0}}},
        MatrixCase{"eigl([VA])", {kCubeSymmetric}, 0, {3, 1, {4, 1, 1}}}, MatrixCase{"eigl(5)", {}, -47, {}},
        MatrixCase{"eigl([VA])", {kWide}, -47, {}},
        // Symmetric matrices converge whatever their eigenvalues' magnitudes (mpmath's values).
        MatrixCase{"eigl([VA])", {kSwap}, 0, {2, 1, {1, -1}}},
        MatrixCase{"eigl([VA])",
                   {{3, 3, {7.001907, 2, -7.366963, 2, 8.017319, 8.5, -7.366963, 8.5, -6.149}}},
                   0,
                   {3, 1, {-12.971213570849641095, 12.561142216845433179, 9.2802973540042085256}}},
        MatrixCase{"eigl([VA])",
                   {{2, 2, {1, 1e-7, 1e-7, 1 + 1e-6}}},
                   0,
                   {2, 1, {1.0000010099019512778, 0.99999999009804863992}}},
        // i and -i: a real matrix result cannot hold them.
        MatrixCase{"eigl([VA])", {kRotation}, -58, {}},
        MatrixCase{"eigl([VA])", {{3, 3, {2, 0, 0, 0, 1, -5, 0, 2, 3}}}, -58, {}},
        // Non-symmetric with real eigenvalues 1 and -1: the iteration cannot part them.
        MatrixCase{"eigl([VA])", {{2, 2, {0, 2, 0.5, 0}}}, -47, {}},
        MatrixCase{"eigl([VA])", {{2, 2, {1, kNaN, kNaN, 1}}}, -47, {}},
        MatrixCase{"eigv([VA])", {{2, 2, {2, 0, 0, 2}}}, 0, {2, 2, {1, 0, 0, 1}}},
        MatrixCase{"eigv([VA])", {{2, 2, {0, 0, 0, 0}}}, 0, {2, 2, {1, 0, 0, 1}}},
        MatrixCase{"eigv([VA])", {{1, 1, {3}}}, 0, {1, 1, {1}}},
        // Eigenvalues 2, 3, 2: the first 2 brings both of its vectors.
        MatrixCase{"eigv([VA])", {{3, 3, {2, 0, 0, 0, 3, 0, 0, 0, 2}}}, 0, {3, 3, {1, 0, 0, 0, 0, 1, 0, 1, 0}}},
        MatrixCase{"eigv([VA])", {{2, 2, {2, 1, 1, 2}}}, 0, {2, 2, {kHalfRoot2, -kHalfRoot2, kHalfRoot2, kHalfRoot2}}},
        // Not symmetric: unit eigenvectors, not an orthonormal basis.
        MatrixCase{"eigv([VA])", {{2, 2, {2, 1, 0, 3}}}, 0, {2, 2, {1, kHalfRoot2, 0, kHalfRoot2}}},
        // A Jordan block has a single eigenvector.
        MatrixCase{"eigv([VA])", {{2, 2, {2, 1, 0, 2}}}, 0, {2, 1, {1, 0}}}, MatrixCase{"eigv(5)", {}, -47, {}},
        MatrixCase{"eigv([VA])", {kWide}, -47, {}}, MatrixCase{"eigv([VA])", {kRotation}, -58, {}},
        MatrixCase{"diag([VA])", {kA}, -42, {}}, MatrixCase{"diag([VA])", {kWide}, -42, {}},
        MatrixCase{"diag(5)", {}, -42, {}}, MatrixCase{"diag([VA])", {{2, 2, {2, 1, 1, 2}}}, 0, {2, 2, {3, 0, 0, 1}}},
        MatrixCase{"diag([VA])", {kCubeSymmetric}, 0, {3, 3, {4, 0, 0, 0, 1, 0, 0, 0, 1}}},
        MatrixCase{"diag([VA])", {{2, 2, {1, 2, 2 + 1e-15, 1}}}, -42, {}},
        MatrixCase{"orth([VA])", {kSingular}, -48, {}}, MatrixCase{"orth([VA])", {kWide}, -48, {}},
        MatrixCase{"orth(5)", {}, -48, {}},
        MatrixCase{"orth([VA])", {{2, 2, {3, 1, 4, 1}}}, 0, {2, 2, {0.6, 0.8, 0.8, -0.6}}},
        MatrixCase{"orth([VA])", {{3, 1, {0, 3, 4}}}, 0, {3, 1, {0, 0.6, 0.8}}}));

ValueCell matrixCell(const Mat& m)
{
    ValueCell cell;
    cell.storeMatrix(m.rows, m.cols, m.values.data());
    return cell;
}

bool sameCell(const ValueCell& a, const ValueCell& b)
{
    return a.kind == b.kind && a.re == b.re && a.rows == b.rows && a.cols == b.cols && a.data == b.data;
}

struct OperationCase {
    const char* name;
    int arity;
    int code;  // raised for a malformed matrix operand
};

class OperationProtocol : public ::testing::TestWithParam<OperationCase> {};

TEST_P(OperationProtocol, CountsOperandsAboveTheBaseOnly)
{
    const OperationCase& c = GetParam();
    const MatrixOperation operation = findMatrixOperation(c.name);
    ASSERT_NE(operation, nullptr);
    int error = 0;
    EngineSettings settings;
    OperatorContext context{error, settings};
    MatrixStack stack(static_cast<std::size_t>(c.arity), matrixCell({2, 2, {2, 1, 1, 2}}));
    const MatrixStack before = stack;
    operation(stack, 1, context);
    EXPECT_EQ(error, -1);
    ASSERT_EQ(stack.size(), before.size());
    for (std::size_t k = 0; k < stack.size(); ++k)
        EXPECT_TRUE(sameCell(stack[k], before[k]));

    // With the base below them, the same cells are enough, and the cell under the base stays.
    error = 0;
    stack.insert(stack.begin(), matrixCell(kRow));
    operation(stack, 1, context);
    EXPECT_EQ(error, 0);
    ASSERT_EQ(stack.size(), 2u);
    EXPECT_TRUE(sameCell(stack[0], matrixCell(kRow)));
}

TEST_P(OperationProtocol, RefusesAMalformedMatrixAndKeepsTheStack)
{
    const OperationCase& c = GetParam();
    const MatrixOperation operation = findMatrixOperation(c.name);
    ASSERT_NE(operation, nullptr);
    ValueCell malformed = matrixCell({2, 2, {2, 1, 1, 2}});
    malformed.data.pop_back();
    ValueCell empty;
    empty.kind = ValueKind::Matrix;
    for (const ValueCell& bad : {malformed, empty}) {
        int error = 0;
        EngineSettings settings;
        OperatorContext context{error, settings};
        MatrixStack stack;
        if (c.arity == 2)
            stack.push_back(matrixCell({2, 2, {2, 1, 1, 2}}));
        stack.push_back(bad);
        const MatrixStack before = stack;
        operation(stack, 0, context);
        EXPECT_EQ(error, c.code);
        ASSERT_EQ(stack.size(), before.size());
        for (std::size_t k = 0; k < stack.size(); ++k)
            EXPECT_TRUE(sameCell(stack[k], before[k]));
    }
}

INSTANTIATE_TEST_SUITE_P(AllOperations, OperationProtocol,
                         ::testing::Values(OperationCase{"+", 2, -10}, OperationCase{"-", 2, -46},
                                           OperationCase{"*", 2, -38}, OperationCase{"/", 2, -39},
                                           OperationCase{"inv", 1, -39}, OperationCase{"trans", 1, -45},
                                           OperationCase{"det", 1, -44}, OperationCase{"eigl", 1, -47},
                                           OperationCase{"eigv", 1, -47}, OperationCase{"rank", 1, -43},
                                           OperationCase{"diag", 1, -42}, OperationCase{"orth", 1, -48},
                                           OperationCase{"tri", 1, -43}));

// Random n x n matrices S diag(values) S^-1, symmetric when S is orthogonal.
Mat similarTo(const std::vector<double>& values, bool symmetric, std::mt19937& random)
{
    const std::size_t n = values.size();
    std::normal_distribution<double> normal;
    Engine engine;
    Mat s{static_cast<std::uint16_t>(n), static_cast<std::uint16_t>(n), {}};
    for (std::size_t k = 0; k < n * n; ++k)
        s.values.push_back(normal(random) + (k % (n + 1) == 0 ? 3.0 : 0.0));
    Mat d{s.rows, s.cols, std::vector<double>(n * n, 0.0)};
    for (std::size_t k = 0; k < n; ++k)
        d.values[k * (n + 1)] = values[k];
    store(engine, 2, s);
    store(engine, 3, d);
    const char* text = symmetric ? "orth([VA])*[VB]*trans(orth([VA]))" : "[VA]*[VB]*inv([VA])";
    ValueCell m = engine.evaluate(text, Engine::kModeMatrix, 10);
    EXPECT_EQ(engine.error(), 0);
    if (symmetric) {
        for (std::size_t i = 0; i < n; ++i) {
            for (std::size_t j = 0; j < i; ++j)
                m.data[i * n + j] = m.data[j * n + i];
        }
    }
    return {s.rows, s.cols, m.data};
}

// Scaling VA by s scales the result by s^power: a matrix at 1e-100 or 1e100 is exactly as
// regular as at 1, and a singular one stays singular. The expected values are exact at s = 1.
struct ScaledCase {
    const char* text;
    Mat a;  // scaled into VA
    Mat b;  // VB as it is, when it has rows
    int power;
    int error;
    Mat expected;
    double tolerance;  // relative to the largest expected entry
};

TEST(MatrixScale, ResultsFollowTheScaleOfTheMatrix)
{
    Mat hilbert{5, 5, {}};
    for (int i = 0; i < 5; ++i) {
        for (int j = 0; j < 5; ++j)
            hilbert.values.push_back(1.0 / (i + j + 1));
    }
    const Mat hilbertInverse{
        5, 5, {25,      -300,  1050,  -1400, 630,     -300,   4800,   -18900, 26880,  -12600, 1050,   -18900, 79380,
               -117600, 56700, -1400, 26880, -117600, 179200, -88200, 630,    -12600, 56700,  -88200, 44100}};
    const Mat nine{3, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9}};
    const Mat symmetric{3, 3, {7.001907, 2, -7.366963, 2, 8.017319, 8.5, -7.366963, 8.5, -6.149}};
    const Mat bidiagonal{4, 4, {1, 1, 0, 0, 0, 1, 1, 0, 0, 0, 1, 1, 0, 0, 0, 1}};
    const Mat ones3{3, 1, {1, 1, 1}};
    const ScaledCase cases[] = {
        {"[VA]*[VA]", kA, {}, 2, 0, {2, 2, {7, 10, 15, 22}}, 1e-15},
        {"inv([VA])", kA, {}, -1, 0, {2, 2, {-2, 1, 1.5, -0.5}}, 1e-15},
        {"inv([VA])", bidiagonal, {}, -1, 0, {4, 4, {1, -1, 1, -1, 0, 1, -1, 1, 0, 0, 1, -1, 0, 0, 0, 1}}, 1e-15},
        {"inv([VA])", hilbert, {}, -1, 0, hilbertInverse, 1e-9},
        {"solve([VA],[VB])", {3, 3, {1, 2, 0, 0, 1, 0, 0, 0, 1}}, ones3, -1, 0, {3, 1, {-1, 1, 1}}, 1e-15},
        {"solve([VA],[VB])", {2, 2, {2, 0, 0, 4}}, {2, 1, {1e-13, 1e-13}}, -1, 0, {2, 1, {5e-14, 2.5e-14}}, 1e-15},
        {"rank([VA])", hilbert, {}, 0, 0, scalar(5), 0},
        {"rank([VA])", nine, {}, 0, 0, scalar(2), 0},
        {"rank([VA])", kShiftedRank2, {}, 0, 0, scalar(2), 0},
        // Eigenvalues from mpmath.
        {"eigl([VA])",
         symmetric,
         {},
         1,
         0,
         {3, 1, {-12.971213570849641095, 12.561142216845433179, 9.2802973540042085256}},
         1e-14},
        {"eigl([VA])", {2, 2, {2, 1, 0, 3}}, {}, 1, 0, {2, 1, {2, 3}}, 1e-12},
        {"inv([VA])", kSingular, {}, 0, -39, {}, 0},
        {"inv([VA])", nine, {}, 0, -39, {}, 0},
        {"solve([VA],[VB])", nine, ones3, 0, -39, {}, 0},
    };
    for (const double scale : {1e-100, 1e-6, 1e-5, 1.0, 1e80, 1e100}) {
        for (const ScaledCase& c : cases) {
            SCOPED_TRACE(testing::Message() << c.text << " at scale " << scale << " of " << c.a.values.front());
            Engine engine;
            Mat scaled = c.a;
            for (double& x : scaled.values)
                x *= scale;
            store(engine, VariableSlots::kFirstUser, scaled);
            if (c.b.rows > 0)
                store(engine, VariableSlots::kFirstUser + 1, c.b);
            const ValueCell got = engine.evaluate(c.text, Engine::kModeMatrix, 10);
            ASSERT_EQ(engine.error(), c.error);
            if (c.error != 0)
                continue;
            const double factor = std::pow(scale, c.power);
            double largest = 0.0;
            for (const double x : c.expected.values)
                largest = std::max(largest, std::fabs(x) * factor);
            const std::vector<double> values = c.expected.rows == 0 ? std::vector<double>{got.re} : got.data;
            ASSERT_EQ(values.size(), c.expected.values.size());
            for (std::size_t k = 0; k < values.size(); ++k)
                EXPECT_NEAR(values[k], c.expected.values[k] * factor, c.tolerance * largest) << k;
        }
    }
}

// Each column v of eigv(M) has unit length and M v = t v for an eigenvalue t; for a symmetric
// M the columns are orthonormal and diag(M) holds the eigenvalues.
TEST(Eigenvectors, SolveTheEigenproblemOfRandomMatrices)
{
    struct Spectrum {
        std::vector<double> values;
        bool symmetric;
    };
    const Spectrum spectra[] = {
        {{5, -3, 1}, true},   {{4, 2, 2, 1}, true}, {{-6, 3, 3, 3, 0.5}, true}, {{9, 7, -5, 3, 2, 1}, true},
        {{20, 20, 10}, true}, {{4, -2, 1}, false},  {{3, 3, 1}, false},         {{8, 4, -2, 1, 0.5}, false},
    };
    std::mt19937 random(20240611);
    for (const Spectrum& spectrum : spectra) {
        const std::size_t n = spectrum.values.size();
        const Mat m = similarTo(spectrum.values, spectrum.symmetric, random);
        Engine engine;
        store(engine, 2, m);
        const ValueCell v = engine.evaluate("eigv([VA])", Engine::kModeMatrix, 10);
        ASSERT_EQ(engine.error(), 0) << "spectrum of size " << n;
        ASSERT_EQ(v.rows, n);
        ASSERT_EQ(v.cols, n);
        store(engine, 3, {v.rows, v.cols, v.data});
        engine.resetError();
        const ValueCell mv = engine.evaluate("[VA]*[VB]", Engine::kModeMatrix, 10);
        engine.resetError();
        const ValueCell gram = engine.evaluate("trans([VB])*[VB]", Engine::kModeMatrix, 10);
        std::vector<double> found;
        for (std::size_t j = 0; j < n; ++j) {
            EXPECT_NEAR(gram.data[j * n + j], 1.0, 1e-12);
            // The eigenvalue from the largest component, then M v - t v must vanish.
            std::size_t big = 0;
            for (std::size_t i = 1; i < n; ++i) {
                if (std::fabs(v.at(i, j)) > std::fabs(v.at(big, j)))
                    big = i;
            }
            const double t = mv.at(big, j) / v.at(big, j);
            found.push_back(t);
            for (std::size_t i = 0; i < n; ++i)
                EXPECT_NEAR(mv.at(i, j), t * v.at(i, j), 1e-9) << "column " << j;
        }
        std::vector<double> expected = spectrum.values;
        std::sort(expected.begin(), expected.end());
        std::sort(found.begin(), found.end());
        for (std::size_t k = 0; k < n; ++k)
            EXPECT_NEAR(found[k], expected[k], 1e-9);
        if (!spectrum.symmetric)
            continue;
        for (std::size_t i = 0; i < n; ++i) {
            for (std::size_t j = 0; j < i; ++j)
                EXPECT_NEAR(gram.data[i * n + j], 0.0, 1e-12);
        }
        engine.resetError();
        const ValueCell d = engine.evaluate("diag([VA])", Engine::kModeMatrix, 10);
        ASSERT_EQ(engine.error(), 0);
        for (std::size_t i = 0; i < n; ++i) {
            for (std::size_t j = 0; j < n; ++j) {
                if (i != j) {
                    EXPECT_NEAR(d.at(i, j), 0.0, 1e-9);
                }
            }
        }
    }
}

}  // namespace
