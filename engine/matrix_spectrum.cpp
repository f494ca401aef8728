#include "matrix_spectrum.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

#include "matrix_elimination.h"

namespace linalg {

namespace {

// A column of M Q at most this long is left as a zero column of the next Q.
constexpr double kZeroColumn = 1e-16;
// T counts as triangular when no entry below its diagonal exceeds this share of its largest
// entry. The iteration parts two eigenvalues at the rate of the ratio of their magnitudes: after
// 300 steps a symmetric matrix whose magnitudes fall by 5% or more from one to the next is well
// below it, with eigenvalues good to about 1e-10; at this bound the error is about 1e-8. Complex
// pairs and pairs of equal magnitude stay near 1.
constexpr double kSettled = 1e-5;
// Eigenvalues closer than this share one set of eigenvectors. Two computed copies of one
// eigenvalue differ by a few units in the last place, which for 20 is already 1e-14; and the
// elimination cannot tell eigenvalues apart that are closer than its own zero threshold.
constexpr double kSameEigenvalue = kEliminationZero;

// Orthonormalises the rows of qt in order (the rows are the columns of Q); a row that is
// (almost) zero stays zero.
void orthonormalizeRows(DenseMatrix& qt)
{
    for (std::size_t j = 0; j < qt.rows; ++j) {
        const double norm = orthogonalizeRow(qt, j, 0);
        scaleRow(qt, j, norm <= kZeroColumn ? 0.0 : 1.0 / norm);
    }
}

bool isSettled(const DenseMatrix& t)
{
    double below = 0.0;
    double largest = 0.0;
    for (std::size_t i = 0; i < t.rows; ++i) {
        for (std::size_t j = 0; j < t.cols; ++j) {
            const double size = std::fabs(t(i, j));
            if (!std::isfinite(size))
                return false;
            largest = std::max(largest, size);
            if (i > j)
                below = std::max(below, size);
        }
    }
    return below <= kSettled * largest;
}

}  // namespace

std::optional<std::vector<double>> eigenvalues(const DenseMatrix& m, const CancelFlag* cancel)
{
    // Q is kept transposed, so that each of its columns is one contiguous row: row j of
    // multiplyTransposed(qt, m) is then (M q_j)^T.
    DenseMatrix qt = DenseMatrix::identity(m.rows);
    for (int step = 0; step < kEigenSteps; ++step) {
        if (cancelRequested(cancel))
            return std::nullopt;
        qt = multiplyTransposed(qt, m);
        orthonormalizeRows(qt);
    }
    const DenseMatrix t = multiplyTransposed(qt, multiplyTransposed(qt, m));
    if (!isSettled(t))
        return std::nullopt;
    std::vector<double> values(m.rows);
    for (std::size_t i = 0; i < m.rows; ++i)
        values[i] = t(i, i);
    return values;
}

Eigenvectors eigenvectors(const DenseMatrix& m, const CancelFlag* cancel)
{
    const std::size_t n = m.rows;
    Eigenvectors result;
    const std::optional<std::vector<double>> values = eigenvalues(m, cancel);
    if (!values) {
        result.status = EigenStatus::kNotConverged;
        return result;
    }

    // The vectors as rows, and for each the first row of its eigenvalue's group.
    std::vector<double> rows;
    std::vector<std::size_t> groupStart;
    for (std::size_t i = 0; i < n; ++i) {
        if (cancelRequested(cancel)) {
            result.status = EigenStatus::kNotConverged;
            return result;
        }
        const double t = (*values)[i];
        const auto same = [t](double earlier) { return std::fabs(t - earlier) < kSameEigenvalue; };
        if (std::any_of(values->begin(), values->begin() + static_cast<std::ptrdiff_t>(i), same))
            continue;
        DenseMatrix shifted = m;
        for (std::size_t k = 0; k < n; ++k)
            shifted(k, k) -= t;
        const DenseMatrix basis = nullSpaceBasis(std::move(shifted), cancel);
        if (basis.rows == 0) {
            result.status = EigenStatus::kNoVector;
            return result;
        }
        const std::size_t start = groupStart.size();
        rows.insert(rows.end(), basis.data.begin(), basis.data.end());
        groupStart.insert(groupStart.end(), basis.rows, start);
    }

    DenseMatrix all(groupStart.size(), n);
    all.data = std::move(rows);
    // Orthonormalising against every earlier vector is also the dependence test for both kinds.
    DenseMatrix orthonormal = all;
    if (!orthonormalizeIndependentRows(orthonormal)) {
        result.status = EigenStatus::kDependent;
        return result;
    }
    if (!isSymmetric(m)) {
        // Removing fewer directions leaves at least the norm found above.
        for (std::size_t r = 0; r < all.rows; ++r)
            scaleRow(all, r, 1.0 / orthogonalizeRow(all, r, groupStart[r]));
        orthonormal = std::move(all);
    }
    result.vectors = transpose(orthonormal);
    return result;
}

}  // namespace linalg
