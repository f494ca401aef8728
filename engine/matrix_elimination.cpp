#include "matrix_elimination.h"

#include <cmath>
#include <utility>
#include <vector>

namespace linalg {

namespace {

constexpr double kDeterminantUnderflow = 1e-300;
constexpr double kDeterminantZero = 1e-10;

// Row r loses the multiple of row p that clears (r, c). The cleared entry is set to exactly 0:
// for entries above about 1e8 the rounding of the subtraction alone can exceed the
// zero threshold.
void subtractPivotRow(DenseMatrix& m, std::size_t r, std::size_t p, std::size_t c)
{
    const double factor = m(r, c) / m(p, c);
    double* target = m.row(r);
    const double* pivot = m.row(p);
    for (std::size_t j = 0; j < m.cols; ++j) {
        target[j] -= factor * pivot[j];
        if (std::fabs(target[j]) < kEliminationZero)
            target[j] = 0.0;
    }
    target[c] = 0.0;
}

void eliminate(DenseMatrix& m, std::size_t r, std::size_t c)
{
    for (std::size_t p = c; p < r; ++p) {
        if (m(p, c) != 0.0) {
            subtractPivotRow(m, r, p, c);
            return;
        }
    }
    m.swapRows(r, r - 1);
}

// The largest magnitude of each row; NaN entries are passed over.
std::vector<double> rowScales(const DenseMatrix& m)
{
    std::vector<double> scales(m.rows, 0.0);
    for (std::size_t i = 0; i < m.rows; ++i) {
        for (std::size_t j = 0; j < m.cols; ++j)
            scales[i] = std::fmax(scales[i], std::fabs(m(i, j)));
    }
    return scales;
}

}  // namespace

void triangularForm(DenseMatrix& m, const CancelFlag* cancel)
{
    for (std::size_t c = 0; c < m.cols && !cancelRequested(cancel); ++c) {
        for (std::size_t r = m.rows; r-- > c + 1;)
            eliminate(m, r, c);
    }
}

std::vector<std::size_t> echelonForm(DenseMatrix& m, double zeroShare, const CancelFlag* cancel)
{
    std::vector<double> scales = rowScales(m);
    std::vector<std::size_t> pivots;
    std::size_t p = 0;
    for (std::size_t c = 0; c < m.cols && p < m.rows && !cancelRequested(cancel); ++c) {
        std::size_t best = p;
        for (std::size_t r = p + 1; r < m.rows; ++r) {
            if (std::fabs(m(r, c)) > std::fabs(m(best, c)))
                best = r;
        }
        // Written so that a NaN is no pivot either.
        if (!(std::fabs(m(best, c)) > zeroShare * scales[best]))
            continue;
        m.swapRows(best, p);
        std::swap(scales[best], scales[p]);
        const double* pivot = m.row(p);
        for (std::size_t r = p + 1; r < m.rows; ++r) {
            const double factor = m(r, c) / pivot[c];
            double* target = m.row(r);
            for (std::size_t j = c + 1; j < m.cols; ++j)
                target[j] -= factor * pivot[j];
            target[c] = 0.0;
        }
        pivots.push_back(c);
        ++p;
    }
    return pivots;
}

DenseMatrix nullSpaceBasis(DenseMatrix a, const CancelFlag* cancel)
{
    const std::vector<std::size_t> pivots = echelonForm(a, kEigenvalueShiftZero, cancel);
    std::vector<bool> isPivot(a.cols, false);
    for (std::size_t c : pivots)
        isPivot[c] = true;

    // Each free column f gives the solution with x_f = 1 and the other free unknowns 0; the
    // pivot unknowns follow by back substitution, last pivot row first.
    DenseMatrix basis(a.cols - pivots.size(), a.cols);
    std::size_t next = 0;
    for (std::size_t f = 0; f < a.cols; ++f) {
        if (isPivot[f])
            continue;
        double* x = basis.row(next++);
        x[f] = 1.0;
        for (std::size_t i = pivots.size(); i-- > 0;) {
            const std::size_t c = pivots[i];
            const double rest = dot(a.row(i) + c + 1, x + c + 1, a.cols - c - 1);
            x[c] = 0.0 - rest / a(i, c);  // +0 rather than -0 when rest is 0
        }
    }
    return basis;
}

std::optional<DenseMatrix> inverse(const DenseMatrix& m, const CancelFlag* cancel)
{
    const std::size_t n = m.rows;
    DenseMatrix a = m;
    std::vector<double> scales = rowScales(m);
    std::vector<bool> used(n, false);
    std::vector<std::size_t> pivotRow(n, 0);
    std::vector<std::size_t> pivotCol(n, 0);
    for (std::size_t step = 0; step < n; ++step) {
        if (cancelRequested(cancel))
            return std::nullopt;
        double best = 0.0;
        std::size_t bestRow = 0;
        std::size_t bestCol = 0;
        for (std::size_t i = 0; i < n; ++i) {
            if (used[i])
                continue;
            for (std::size_t j = 0; j < n; ++j) {
                if (!used[j] && std::fabs(a(i, j)) > best) {
                    best = std::fabs(a(i, j));
                    bestRow = i;
                    bestCol = j;
                }
            }
        }
        if (!(best > kSingularPivot * scales[bestRow]))
            return std::nullopt;
        // The pivot moves to the diagonal at (bestCol, bestCol); the column exchange that full
        // pivoting implies is undone on the finished inverse.
        used[bestCol] = true;
        a.swapRows(bestRow, bestCol);
        std::swap(scales[bestRow], scales[bestCol]);
        pivotRow[step] = bestRow;
        pivotCol[step] = bestCol;
        const std::size_t k = bestCol;
        const double scale = 1.0 / a(k, k);
        a(k, k) = 1.0;
        scaleRow(a, k, scale);
        for (std::size_t r = 0; r < n; ++r) {
            if (r == k)
                continue;
            const double factor = a(r, k);
            a(r, k) = 0.0;
            double* target = a.row(r);
            const double* pivot = a.row(k);
            for (std::size_t j = 0; j < n; ++j)
                target[j] -= factor * pivot[j];
        }
    }
    for (std::size_t step = n; step-- > 0;) {
        if (pivotRow[step] == pivotCol[step])
            continue;
        for (std::size_t i = 0; i < n; ++i)
            std::swap(a(i, pivotRow[step]), a(i, pivotCol[step]));
    }
    for (double x : a.data) {
        if (!std::isfinite(x))
            return std::nullopt;
    }
    return a;
}

double determinant(const DenseMatrix& m, const CancelFlag* cancel)
{
    const std::size_t n = m.rows;
    DenseMatrix a = m;
    double product = 1.0;
    for (std::size_t k = 0; k < n && !cancelRequested(cancel); ++k) {
        std::size_t p = k;
        for (std::size_t i = k + 1; i < n; ++i) {
            if (std::fabs(a(i, k)) > std::fabs(a(p, k)))
                p = i;
        }
        if (p != k) {
            a.swapRows(p, k);
            product = -product;
        }
        product *= a(k, k);
        if (std::fabs(product) < kDeterminantUnderflow)
            return 0.0;
        for (std::size_t i = k + 1; i < n; ++i) {
            const double factor = a(i, k) / a(k, k);
            double* target = a.row(i);
            const double* pivot = a.row(k);
            for (std::size_t j = k + 1; j < n; ++j)
                target[j] -= factor * pivot[j];
        }
    }
    return std::fabs(product) < kDeterminantZero ? 0.0 : product;
}

}  // namespace linalg
