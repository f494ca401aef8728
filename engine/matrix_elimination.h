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

// Magnitudes below this count as 0 in the triangular form, which clears such entries of each row
// that it changes.
constexpr double kEliminationZero = 1e-8;
// A pivot below this share of the largest entry of its row in the original matrix is what
// rounding leaves of a row that depends on the others: the matrix is singular to working
// precision. Relative, so that a matrix scaled by 1e-100 or 1e100 is as regular as before.
constexpr double kSingularPivot = 1e-14;
// The share for the null spaces of M - t I, whose eigenvalue t is only good to about 1e-10.
constexpr double kEigenvalueShiftZero = 1e-8;

// For each column c, eliminates (r, c) for r from the last row up to c + 1. Eliminating (r, c):
// the first row p in [c, r) with a non-zero entry in column c is the pivot; row r loses
// M(r, c) / M(p, c) times row p, then its entries below kEliminationZero become 0. Without a
// pivot, rows r and r - 1 change places, which carries a usable row upwards.
void triangularForm(DenseMatrix& m, const CancelFlag* cancel = nullptr);

// Row echelon form by Gaussian elimination with partial pivoting, where a column whose largest
// remaining entry is below zeroShare times the largest original entry of its row has no pivot. Unlike the triangular
// form it neither takes the first non-zero entry as pivot nor clears small entries on the way: a small pivot multiplies
// the rounding of everything below it, and cleared entries of 1e-9 that still matter leave M - t I of a symmetric 30 x
// 30 matrix without a zero row at one of its eigenvalues. The rows below the last pivot hold only entries that count as
// zero. Returns the pivot column of each pivot row, in row order.
std::vector<std::size_t> echelonForm(DenseMatrix& m, double zeroShare, const CancelFlag* cancel = nullptr);

// A basis of the null space of a, one vector per row of the result (0 rows when only the zero
// vector solves a x = 0), with kEigenvalueShiftZero as the zero share. Each vector has 1 at its
// own free column and 0 at the others.
DenseMatrix nullSpaceBasis(DenseMatrix a, const CancelFlag* cancel = nullptr);

// Gauss-Jordan elimination with full pivoting; empty when a pivot falls below kSingularPivot of
// its row's scale or an entry of the inverse is not finite. Requires a square m.
std::optional<DenseMatrix> inverse(const DenseMatrix& m, const CancelFlag* cancel = nullptr);

// Gaussian elimination with partial pivoting. 0 once the running product of the pivots falls
// below 1e-300 in magnitude, and for a final value below 1e-10. Requires a square m.
double determinant(const DenseMatrix& m, const CancelFlag* cancel = nullptr);

}  // namespace linalg
