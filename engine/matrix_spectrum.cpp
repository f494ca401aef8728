#include "matrix_spectrum.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

#include "matrix_elimination.h"

namespace linalg {

namespace {

// A column of M Q at most this share of M's largest entry is left as a zero column of the next Q.
constexpr double kZeroColumn = 1e-16;
// T counts as triangular when no entry below its diagonal exceeds this share of its largest
// entry. The iteration parts two eigenvalues at the rate of the ratio of their magnitudes: after
// 300 steps a symmetric matrix whose magnitudes fall by 5% or more from one to the next is well
// below it, with eigenvalues good to about 1e-10; at this bound the error is about 1e-8. Complex
// pairs and pairs of equal magnitude stay near 1.
constexpr double kSettled = 1e-5;
// Eigenvalues closer than this share of the matrix's largest entry share one set of eigenvectors.
// Two computed copies of one eigenvalue differ by a few units in the last place; and the
// elimination cannot tell eigenvalues apart that are closer than its own zero share.
constexpr double kSameEigenvalue = kEigenvalueShiftZero;
// Jacobi sweeps reduce the off-diagonal part quadratically; a few sweeps are the rule, this
// many only guards against a loop that never ends.
constexpr int kJacobiSweeps = 100;

// Orthonormalises the rows of qt in order (the rows are the columns of Q); a row that is
// (almost) zero stays zero.
void orthonormalizeRows(DenseMatrix& qt, double zeroNorm)
{
    for (std::size_t j = 0; j < qt.rows; ++j) {
        const double norm = orthogonalizeRow(qt, j, 0);
        scaleRow(qt, j, norm <= zeroNorm ? 0.0 : 1.0 / norm);
    }
}

double largestMagnitude(const DenseMatrix& m)
{
    double largest = 0.0;
    for (const double x : m.data)
        largest = std::fmax(largest, std::fabs(x));
    return largest;
}

bool isSettled(const DenseMatrix& t)
{
    double below = 0.0;
    for (std::size_t i = 0; i < t.rows; ++i) {
        for (std::size_t j = 0; j < i; ++j)
            below = std::max(below, std::fabs(t(i, j)));
    }
    return below <= kSettled * largestMagnitude(t);
}

// A 2 x 2 block on the diagonal of T whose entry below the diagonal has not settled and whose
// eigenvalues are complex: the iteration turns such a pair around instead of parting it.
bool hasComplexPair(const DenseMatrix& t)
{
    const double settled = kSettled * largestMagnitude(t);
    for (std::size_t i = 0; i + 1 < t.rows; ++i) {
        if (std::fabs(t(i + 1, i)) <= settled)
            continue;
        const double halfGap = 0.5 * (t(i, i) - t(i + 1, i + 1));
        if (halfGap * halfGap + t(i, i + 1) * t(i + 1, i) < 0.0)
            return true;
    }
    return false;
}

// One Jacobi rotation in the plane (p, q) that makes a(p, q) zero.
void rotate(DenseMatrix& a, std::size_t p, std::size_t q)
{
    const double theta = (a(q, q) - a(p, p)) / (2.0 * a(p, q));
    const double t = std::copysign(1.0, theta) / (std::fabs(theta) + std::hypot(theta, 1.0));
    const double c = 1.0 / std::hypot(t, 1.0);
    const double s = t * c;
    for (std::size_t k = 0; k < a.rows; ++k) {
        const double kp = a(k, p);
        const double kq = a(k, q);
        a(k, p) = c * kp - s * kq;
        a(k, q) = s * kp + c * kq;
    }
    for (std::size_t k = 0; k < a.cols; ++k) {
        const double pk = a(p, k);
        const double qk = a(q, k);
        a(p, k) = c * pk - s * qk;
        a(q, k) = s * pk + c * qk;
    }
    a(p, q) = a(q, p) = 0.0;
}

// The eigenvalues of a symmetric matrix as the diagonal of cyclic Jacobi rotations. After the
// first sweeps an entry that no longer changes either diagonal entry it touches is set to 0
// (Rutishauser's test), so the sweeps end with an exactly diagonal matrix.
std::optional<std::vector<double>> symmetricEigenvalues(DenseMatrix a, const CancelFlag* cancel)
{
    const std::size_t n = a.rows;
    for (int sweep = 0; sweep < kJacobiSweeps; ++sweep) {
        if (cancelRequested(cancel))
            return std::nullopt;
        bool diagonal = true;
        for (std::size_t p = 0; p < n; ++p) {
            for (std::size_t q = p + 1; q < n; ++q) {
                if (a(p, q) == 0.0)
                    continue;
                const double g = 100.0 * std::fabs(a(p, q));
                if (sweep > 3 && std::fabs(a(p, p)) + g == std::fabs(a(p, p)) &&
                    std::fabs(a(q, q)) + g == std::fabs(a(q, q))) {
                    a(p, q) = a(q, p) = 0.0;
                    continue;
                }
                diagonal = false;
                rotate(a, p, q);
            }
        }
        if (diagonal) {
            std::vector<double> values(n);
            for (std::size_t i = 0; i < n; ++i)
                values[i] = a(i, i);
            return values;
        }
    }
    return std::nullopt;
}

// Puts the eigenvalues of a symmetric m in the order that eigenvalues() promises: the leading
// diagonal entries whose columns are already eigenvectors stay, the rest by falling magnitude.
void orderLikeOrthogonalIteration(const DenseMatrix& m, std::vector<double>& values)
{
    std::size_t fixed = 0;
    const auto columnIsClear = [&m](std::size_t j) {
        for (std::size_t i = j + 1; i < m.rows; ++i) {
            if (m(i, j) != 0.0)
                return false;
        }
        return true;
    };
    while (fixed < m.rows && columnIsClear(fixed))
        ++fixed;
    std::stable_sort(values.begin() + static_cast<std::ptrdiff_t>(fixed), values.end(), [](double x, double y) {
        return std::fabs(x) > std::fabs(y) || (std::fabs(x) == std::fabs(y) && x > y);
    });
}

bool allFinite(const DenseMatrix& m)
{
    return std::all_of(m.data.begin(), m.data.end(), [](double x) { return std::isfinite(x); });
}

}  // namespace

Eigenvalues eigenvalues(const DenseMatrix& m, const CancelFlag* cancel)
{
    Eigenvalues result;
    result.status = EigenStatus::kNotConverged;
    if (!allFinite(m))
        return result;
    if (isSymmetric(m)) {
        std::optional<std::vector<double>> values = symmetricEigenvalues(m, cancel);
        if (values) {
            orderLikeOrthogonalIteration(m, *values);
            result = {EigenStatus::kOk, std::move(*values)};
        }
        return result;
    }
    // Q is kept transposed, so that each of its columns is one contiguous row: row j of
    // multiplyTransposed(qt, m) is then (M q_j)^T.
    DenseMatrix qt = DenseMatrix::identity(m.rows);
    const double zeroNorm = kZeroColumn * largestMagnitude(m);
    for (int step = 0; step < kEigenSteps; ++step) {
        if (cancelRequested(cancel))
            return result;
        qt = multiplyTransposed(qt, m);
        orthonormalizeRows(qt, zeroNorm);
    }
    const DenseMatrix t = multiplyTransposed(qt, multiplyTransposed(qt, m));
    if (!isSettled(t)) {
        if (hasComplexPair(t))
            result.status = EigenStatus::kComplex;
        return result;
    }
    result.status = EigenStatus::kOk;
    result.values.resize(m.rows);
    for (std::size_t i = 0; i < m.rows; ++i)
        result.values[i] = t(i, i);
    return result;
}

Eigenvectors eigenvectors(const DenseMatrix& m, const CancelFlag* cancel)
{
    const std::size_t n = m.rows;
    Eigenvectors result;
    const Eigenvalues found = eigenvalues(m, cancel);
    if (found.status != EigenStatus::kOk) {
        result.status = found.status;
        return result;
    }
    const std::vector<double>& values = found.values;
    const double sameEigenvalue = kSameEigenvalue * largestMagnitude(m);

    // The vectors as rows, and for each the first row of its eigenvalue's group.
    std::vector<double> rows;
    std::vector<std::size_t> groupStart;
    for (std::size_t i = 0; i < n; ++i) {
        if (cancelRequested(cancel)) {
            result.status = EigenStatus::kNotConverged;
            return result;
        }
        const double t = values[i];
        const auto same = [t, sameEigenvalue](double earlier) { return std::fabs(t - earlier) <= sameEigenvalue; };
        if (std::any_of(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(i), same))
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
