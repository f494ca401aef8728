#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "cancel_flag.h"
#include "dense_matrix.h"

// Row elimination kernels: the triangular form, the row echelon form and null spaces, the
// inverse and the determinant. Each takes an optional cancel flag, checked once per column: a
// cancelled elimination stops early and its result is meaningless (the caller raises the error).
namespace linalg {

// Magnitudes below this count as 0: the triangular form clears such entries of each row that it
// changes, the echelon form takes no pivot this small.
constexpr double kEliminationZero = 1e-8;

// For each column c, eliminates (r, c) for r from the last row up to c + 1. Eliminating (r, c):
// the first row p in [c, r) with a non-zero entry in column c is the pivot; row r loses
// M(r, c) / M(p, c) times row p, then its entries below kEliminationZero become 0. Without a
// pivot, rows r and r - 1 change places, which carries a usable row upwards.
void triangularForm(DenseMatrix& m, const CancelFlag* cancel = nullptr);

// Row echelon form by Gaussian elimination with partial pivoting, where a column whose largest
// remaining entry is below kEliminationZero has no pivot. Unlike the triangular form it neither
// takes the first non-zero entry as pivot nor clears small entries on the way: a small pivot
// multiplies the rounding of everything below it, and cleared entries of 1e-9 that still matter
// leave M - t I of a symmetric 30 x 30 matrix without a zero row at one of its eigenvalues.
// The rows below the last pivot hold only entries that count as zero. Returns the pivot column
// of each pivot row, in row order.
std::vector<std::size_t> echelonForm(DenseMatrix& m, const CancelFlag* cancel = nullptr);

// A basis of the null space of a, one vector per row of the result (0 rows when only the zero
// vector solves a x = 0). Each vector has 1 at its own free column and 0 at the others.
DenseMatrix nullSpaceBasis(DenseMatrix a, const CancelFlag* cancel = nullptr);

// Gauss-Jordan elimination with full pivoting; empty when a pivot is 0. Requires a square m.
std::optional<DenseMatrix> inverse(const DenseMatrix& m, const CancelFlag* cancel = nullptr);

// Gaussian elimination with partial pivoting. 0 once the running product of the pivots falls
// below 1e-300 in magnitude, and for a final value below 1e-10. Requires a square m.
double determinant(const DenseMatrix& m, const CancelFlag* cancel = nullptr);

}  // namespace linalg
