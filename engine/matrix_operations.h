#pragma once

#include "operator_context.h"

// The thirteen operations of the matrix operator table. Each takes its operands from the cells
// above base (a binary one: left operand below, right operand on top), replaces them by its
// result, or raises its error code and leaves the stack as it was. Too few operands raise
// "Syntax error".
namespace matrix_ops {

// Elementwise sum of two matrices of one size, or sum of two scalars; anything else raises
// "Matrix addition error".
void add(MatrixStack& stack, std::size_t base, OperatorContext& context);
// As add, A - B; raises "Matrix subtraction error".
void subtract(MatrixStack& stack, std::size_t base, OperatorContext& context);
// Scalar products elementwise; the matrix product needs A.cols == B.rows ("Matrix
// multiplication error") and sets entries below 1e-12 in magnitude to 0.
void multiply(MatrixStack& stack, std::size_t base, OperatorContext& context);
// A times the inverse of B, or A times 1 / B for a scalar B; raises what inv and * raise.
void divide(MatrixStack& stack, std::size_t base, OperatorContext& context);
// The inverse of a square matrix whose determinant (as det computes it) is not 0, else "Matrix
// inversion error"; 1 / x for a scalar x, with "Division error" for 0.
void invert(MatrixStack& stack, std::size_t base, OperatorContext& context);
// The transpose; a scalar raises "Matrix transformation error".
void transpose(MatrixStack& stack, std::size_t base, OperatorContext& context);
// The determinant of a square matrix, else "Det evaluation error".
void determinant(MatrixStack& stack, std::size_t base, OperatorContext& context);
// The column of eigenvalues of a square matrix. A scalar, a non-square matrix or a matrix that
// the iteration cannot bring to triangular form raises "Eigenvector error".
void eigenvalues(MatrixStack& stack, std::size_t base, OperatorContext& context);
// The eigenvectors of a square matrix as columns; raises "Eigenvector error" for a scalar, a
// non-square matrix, failed eigenvalues or an eigenvalue without vector, and "Linear
// independent error" when the vectors turn out dependent.
void eigenvectors(MatrixStack& stack, std::size_t base, OperatorContext& context);
// The rank as a scalar; a scalar operand raises "Rank calculation error".
void rank(MatrixStack& stack, std::size_t base, OperatorContext& context);
// V^T M V with V the eigenvectors of an exactly symmetric M, else "Non-symetric Matrix".
void diagonalForm(MatrixStack& stack, std::size_t base, OperatorContext& context);
// The columns orthonormalised by Gram-Schmidt in order; "Linear independent error" when a
// column's remainder is shorter than 1e-12, and for a scalar.
void orthonormalize(MatrixStack& stack, std::size_t base, OperatorContext& context);
// The triangular form of the elimination step; a scalar raises "Rank calculation error".
void triangularize(MatrixStack& stack, std::size_t base, OperatorContext& context);

}  // namespace matrix_ops
