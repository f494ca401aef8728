#include "dense_matrix.h"

#include <cmath>
#include <cstdint>
#include <utility>

namespace linalg {

DenseMatrix DenseMatrix::identity(std::size_t n)
{
    DenseMatrix m(n, n);
    for (std::size_t i = 0; i < n; ++i)
        m(i, i) = 1.0;
    return m;
}

DenseMatrix DenseMatrix::fromCell(const ValueCell& cell)
{
    DenseMatrix m;
    m.rows = cell.rows;
    m.cols = cell.cols;
    m.data = cell.data;
    return m;
}

ValueCell DenseMatrix::toCell() const
{
    ValueCell cell;
    cell.storeMatrix(static_cast<std::uint16_t>(rows), static_cast<std::uint16_t>(cols), data.data());
    return cell;
}

void DenseMatrix::swapRows(std::size_t a, std::size_t b)
{
    if (a == b)
        return;
    for (std::size_t j = 0; j < cols; ++j)
        std::swap((*this)(a, j), (*this)(b, j));
}

double dot(const double* a, const double* b, std::size_t count)
{
    // Four running sums: one sum would wait on the previous addition at every element, and the
    // eigenvalue iteration spends most of its time here.
    double sums[4] = {0.0, 0.0, 0.0, 0.0};
    std::size_t k = 0;
    for (; k + 4 <= count; k += 4) {
        sums[0] += a[k] * b[k];
        sums[1] += a[k + 1] * b[k + 1];
        sums[2] += a[k + 2] * b[k + 2];
        sums[3] += a[k + 3] * b[k + 3];
    }
    for (; k < count; ++k)
        sums[0] += a[k] * b[k];
    return (sums[0] + sums[1]) + (sums[2] + sums[3]);
}

DenseMatrix multiply(const DenseMatrix& a, const DenseMatrix& b)
{
    DenseMatrix product(a.rows, b.cols);
    for (std::size_t i = 0; i < a.rows; ++i) {
        double* out = product.row(i);
        for (std::size_t k = 0; k < a.cols; ++k) {
            const double factor = a(i, k);
            const double* in = b.row(k);
            for (std::size_t j = 0; j < b.cols; ++j)
                out[j] += factor * in[j];
        }
    }
    return product;
}

DenseMatrix multiplyTransposed(const DenseMatrix& a, const DenseMatrix& b)
{
    DenseMatrix product(a.rows, b.rows);
    for (std::size_t i = 0; i < a.rows; ++i) {
        for (std::size_t j = 0; j < b.rows; ++j)
            product(i, j) = dot(a.row(i), b.row(j), a.cols);
    }
    return product;
}

DenseMatrix transpose(const DenseMatrix& m)
{
    DenseMatrix t(m.cols, m.rows);
    for (std::size_t i = 0; i < m.rows; ++i) {
        for (std::size_t j = 0; j < m.cols; ++j)
            t(j, i) = m(i, j);
    }
    return t;
}

bool isSymmetric(const DenseMatrix& m)
{
    if (m.rows != m.cols)
        return false;
    for (std::size_t i = 0; i < m.rows; ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            if (m(i, j) != m(j, i))
                return false;
        }
    }
    return true;
}

double orthogonalizeRow(DenseMatrix& m, std::size_t index, std::size_t first)
{
    double* v = m.row(index);
    const auto removeEarlierRows = [&] {
        for (std::size_t k = first; k < index; ++k) {
            const double* q = m.row(k);
            const double along = dot(q, v, m.cols);
            for (std::size_t j = 0; j < m.cols; ++j)
                v[j] -= along * q[j];
        }
    };
    const double before = dot(v, v, m.cols);
    removeEarlierRows();
    double after = dot(v, v, m.cols);
    // Rounding spoils orthogonality in proportion to how much of the row cancelled; a row that
    // kept more than half of its squared length is orthogonal to working precision already.
    if (after < 0.5 * before) {
        removeEarlierRows();
        after = dot(v, v, m.cols);
    }
    return std::sqrt(after);
}

void scaleRow(DenseMatrix& m, std::size_t index, double factor)
{
    double* v = m.row(index);
    for (std::size_t j = 0; j < m.cols; ++j)
        v[j] *= factor;
}

bool orthonormalizeIndependentRows(DenseMatrix& m)
{
    for (std::size_t r = 0; r < m.rows; ++r) {
        const double norm = orthogonalizeRow(m, r, 0);
        // Written so that a NaN norm fails too.
        if (!(norm >= kDependentNorm))
            return false;
        scaleRow(m, r, 1.0 / norm);
    }
    return true;
}

}  // namespace linalg
