#include <utility>

#include "matrix_operands.h"
#include "matrix_operations.h"
#include "matrix_spectrum.h"

namespace matrix_ops {

namespace {

// The eigenvectors of a square matrix, or the error that eigv raises.
std::optional<linalg::DenseMatrix> eigenvectorsOf(const linalg::DenseMatrix& m, OperatorContext& context)
{
    linalg::Eigenvectors found = linalg::eigenvectors(m, context.cancel);
    if (context.stopRequested())
        return std::nullopt;
    switch (found.status) {
    case linalg::EigenStatus::kOk: return std::move(found.vectors);
    case linalg::EigenStatus::kDependent: context.raise(ErrorCode::kLinearIndependence); return std::nullopt;
    case linalg::EigenStatus::kComplex: context.raise(ErrorCode::kComplexEigenvalues); return std::nullopt;
    case linalg::EigenStatus::kNotConverged:
    case linalg::EigenStatus::kNoVector: break;
    }
    context.raise(ErrorCode::kEigenvector);
    return std::nullopt;
}

std::optional<ValueCell> eigenvalueColumn(const ValueCell& m, OperatorContext& context)
{
    if (!isSquareMatrix(m))
        return fail(context, ErrorCode::kEigenvector);
    linalg::Eigenvalues found = linalg::eigenvalues(linalg::DenseMatrix::fromCell(m), context.cancel);
    if (context.stopRequested())
        return std::nullopt;
    if (found.status == linalg::EigenStatus::kComplex)
        return fail(context, ErrorCode::kComplexEigenvalues);
    if (found.status != linalg::EigenStatus::kOk)
        return fail(context, ErrorCode::kEigenvector);
    linalg::DenseMatrix column(found.values.size(), 1);
    column.data = std::move(found.values);
    return column.toCell();
}

std::optional<ValueCell> eigenvectorMatrix(const ValueCell& m, OperatorContext& context)
{
    if (!isSquareMatrix(m))
        return fail(context, ErrorCode::kEigenvector);
    const std::optional<linalg::DenseMatrix> vectors = eigenvectorsOf(linalg::DenseMatrix::fromCell(m), context);
    if (!vectors)
        return std::nullopt;
    return vectors->toCell();
}

std::optional<ValueCell> diagonalFormOf(const ValueCell& m, OperatorContext& context)
{
    if (!isSquareMatrix(m))
        return fail(context, ErrorCode::kNonSymmetricMatrix);
    const linalg::DenseMatrix matrix = linalg::DenseMatrix::fromCell(m);
    if (!linalg::isSymmetric(matrix))
        return fail(context, ErrorCode::kNonSymmetricMatrix);
    const std::optional<linalg::DenseMatrix> v = eigenvectorsOf(matrix, context);
    if (!v)
        return std::nullopt;
    return matrixProduct(matrixProduct(linalg::transpose(*v), matrix), *v).toCell();
}

std::optional<ValueCell> orthonormalColumns(const ValueCell& m, OperatorContext& context)
{
    if (shapeOf(m) != Shape::kMatrix)
        return fail(context, ErrorCode::kLinearIndependence);
    // Columns become rows, so that each is contiguous while it is worked on.
    linalg::DenseMatrix columns = linalg::transpose(linalg::DenseMatrix::fromCell(m));
    if (!linalg::orthonormalizeIndependentRows(columns))
        return fail(context, ErrorCode::kLinearIndependence);
    return linalg::transpose(columns).toCell();
}

}  // namespace

void eigenvalues(MatrixStack& stack, std::size_t base, OperatorContext& context)
{
    applyUnaryCell(stack, base, context, eigenvalueColumn);
}

void eigenvectors(MatrixStack& stack, std::size_t base, OperatorContext& context)
{
    applyUnaryCell(stack, base, context, eigenvectorMatrix);
}

void diagonalForm(MatrixStack& stack, std::size_t base, OperatorContext& context)
{
    applyUnaryCell(stack, base, context, diagonalFormOf);
}

void orthonormalize(MatrixStack& stack, std::size_t base, OperatorContext& context)
{
    applyUnaryCell(stack, base, context, orthonormalColumns);
}

}  // namespace matrix_ops
