#pragma once

#include <cstddef>
#include <vector>

#include "value_cell.h"

// Row-major dense matrices for the matrix operations' numeric kernels. The kernels state their
// size preconditions; the operations check kinds and sizes before calling them.
namespace linalg {

struct DenseMatrix {
    std::size_t rows = 0;
    std::size_t cols = 0;
    std::vector<double> data;  // element (i, j) at i * cols + j

    DenseMatrix() = default;
    DenseMatrix(std::size_t rowCount, std::size_t colCount)
        : rows(rowCount), cols(colCount), data(rowCount * colCount, 0.0)
    {
    }

    static DenseMatrix identity(std::size_t n);
    // The elements of a matrix cell whose data holds rows x cols values.
    static DenseMatrix fromCell(const ValueCell& cell);
    // A matrix cell; both sizes must fit the cell's 16-bit fields.
    ValueCell toCell() const;

    double& operator()(std::size_t i, std::size_t j) { return data[i * cols + j]; }
    double operator()(std::size_t i, std::size_t j) const { return data[i * cols + j]; }
    double* row(std::size_t i) { return data.data() + i * cols; }
    const double* row(std::size_t i) const { return data.data() + i * cols; }
    void swapRows(std::size_t a, std::size_t b);
};

// a x b; requires a.cols == b.rows.
DenseMatrix multiply(const DenseMatrix& a, const DenseMatrix& b);
// a x b^T, each entry a dot product of two contiguous rows; requires a.cols == b.cols.
DenseMatrix multiplyTransposed(const DenseMatrix& a, const DenseMatrix& b);
DenseMatrix transpose(const DenseMatrix& m);
bool isSymmetric(const DenseMatrix& m);

double dot(const double* a, const double* b, std::size_t count);

// Gram-Schmidt on rows: removes from row `index` its components along rows [first, index),
// which must be orthonormal or zero, and returns the norm of what remains (the row is not
// scaled). A second pass follows when the first removed more than half of the squared length:
// it removes what rounding left of the first, so that even a remainder made only of rounding
// noise comes out orthogonal.
double orthogonalizeRow(DenseMatrix& m, std::size_t index, std::size_t first);
void scaleRow(DenseMatrix& m, std::size_t index, double factor);

// A remainder shorter than this marks a vector that depends on the earlier ones.
constexpr double kDependentNorm = 1e-12;
// Orthonormalises the rows in order; false, with m partly changed, as soon as a row depends on
// the rows before it.
bool orthonormalizeIndependentRows(DenseMatrix& m);

}  // namespace linalg
