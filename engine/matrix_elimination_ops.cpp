#include <cmath>

#include "matrix_elimination.h"
#include "matrix_operands.h"
#include "matrix_operations.h"

namespace matrix_ops {

namespace {

std::optional<ValueCell> determinantOf(const ValueCell& m, OperatorContext& context)
{
    if (!isSquareMatrix(m))
        return fail(context, ErrorCode::kDeterminant);
    const double det = linalg::determinant(linalg::DenseMatrix::fromCell(m), context.cancel);
    if (context.stopRequested())
        return std::nullopt;
    return scalarCell(det);
}

std::optional<ValueCell> rankOf(const ValueCell& m, OperatorContext& context)
{
    if (shapeOf(m) != Shape::kMatrix)
        return fail(context, ErrorCode::kRank);
    linalg::DenseMatrix echelon = linalg::DenseMatrix::fromCell(m);
    const std::size_t pivots = linalg::echelonForm(echelon, linalg::kSingularPivot, context.cancel).size();
    if (context.stopRequested())
        return std::nullopt;
    return scalarCell(static_cast<double>(pivots));
}

std::optional<ValueCell> triangularFormOf(const ValueCell& m, OperatorContext& context)
{
    if (shapeOf(m) != Shape::kMatrix)
        return fail(context, ErrorCode::kRank);
    linalg::DenseMatrix triangular = linalg::DenseMatrix::fromCell(m);
    linalg::triangularForm(triangular, context.cancel);
    if (context.stopRequested())
        return std::nullopt;
    return triangular.toCell();
}

}  // namespace

std::optional<ValueCell> inverseOf(const ValueCell& m, OperatorContext& context)
{
    const Shape shape = shapeOf(m);
    if (shape == Shape::kScalar) {
        if (m.re == 0.0)
            return fail(context, ErrorCode::kDivision);
        return scalarCell(1.0 / m.re);
    }
    if (!isSquareMatrix(m))
        return fail(context, ErrorCode::kMatrixInversion);
    // Singular to working precision, whatever the matrix's scale: a determinant of 1e-12 or one
    // beyond the double range does not make a matrix singular. Infinite or NaN entries leave no
    // finite inverse.
    const linalg::DenseMatrix matrix = linalg::DenseMatrix::fromCell(m);
    const std::optional<linalg::DenseMatrix> inverse = linalg::inverse(matrix, context.cancel);
    if (context.stopRequested())
        return std::nullopt;
    if (!inverse)
        return fail(context, ErrorCode::kMatrixInversion);
    return inverse->toCell();
}

void invert(MatrixStack& stack, std::size_t base, OperatorContext& context)
{
    applyUnaryCell(stack, base, context, inverseOf);
}

void determinant(MatrixStack& stack, std::size_t base, OperatorContext& context)
{
    applyUnaryCell(stack, base, context, determinantOf);
}

void rank(MatrixStack& stack, std::size_t base, OperatorContext& context)
{
    applyUnaryCell(stack, base, context, rankOf);
}

void triangularize(MatrixStack& stack, std::size_t base, OperatorContext& context)
{
    applyUnaryCell(stack, base, context, triangularFormOf);
}

}  // namespace matrix_ops
