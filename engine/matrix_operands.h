#pragma once

#include <cstddef>
#include <optional>
#include <utility>

#include "dense_matrix.h"
#include "operator_context.h"

// Operand access for the matrix operations: shape checks and the pop-and-push protocol.
namespace matrix_ops {

enum class Shape { kScalar, kMatrix, kMalformed };

// kMatrix only for a matrix cell with at least one row and column whose data holds exactly
// rows x cols values; a matrix cell that breaks this is kMalformed and never read. Cells of any
// other kind are scalars, taken by their real part.
inline Shape shapeOf(const ValueCell& cell)
{
    if (!cell.isMatrix())
        return Shape::kScalar;
    const std::size_t count = static_cast<std::size_t>(cell.rows) * cell.cols;
    return count > 0 && cell.data.size() == count ? Shape::kMatrix : Shape::kMalformed;
}

inline bool isSquareMatrix(const ValueCell& cell)
{
    return shapeOf(cell) == Shape::kMatrix && cell.rows == cell.cols;
}

inline ValueCell scalarCell(double value)
{
    ValueCell cell;
    cell.storeScalar(value);
    return cell;
}

inline std::size_t cellCount(const MatrixStack& stack, std::size_t base)
{
    return stack.size() > base ? stack.size() - base : 0;
}

// Replaces the top cell by compute(top, context) -> optional<ValueCell>. Without an operand
// above the base it raises "Syntax error"; an empty optional means compute raised its own code,
// and the stack stays as it was.
template <class Compute>
void applyUnaryCell(MatrixStack& stack, std::size_t base, OperatorContext& context, Compute compute)
{
    if (cellCount(stack, base) < 1) {
        context.raise(ErrorCode::kSyntax);
        return;
    }
    std::optional<ValueCell> result = compute(stack.back(), context);
    if (result)
        stack.back() = std::move(*result);
}

// Replaces the two top cells (left operand below, right operand on top) by
// compute(left, right, context), with the same rules as applyUnaryCell.
template <class Compute>
void applyBinaryCell(MatrixStack& stack, std::size_t base, OperatorContext& context, Compute compute)
{
    if (cellCount(stack, base) < 2) {
        context.raise(ErrorCode::kSyntax);
        return;
    }
    std::optional<ValueCell> result = compute(stack[stack.size() - 2], stack.back(), context);
    if (!result)
        return;
    stack.pop_back();
    stack.back() = std::move(*result);
}

// Raises code and gives no result: the common failure of a compute function.
inline std::optional<ValueCell> fail(OperatorContext& context, int code)
{
    context.raise(code);
    return std::nullopt;
}

// Results that several operations build on.

// The matrix product as "*" gives it: entries that are only rounding noise become 0.
// Requires a.cols == b.rows.
linalg::DenseMatrix matrixProduct(const linalg::DenseMatrix& a, const linalg::DenseMatrix& b);
// What "*" gives for two cells; raises "Matrix multiplication error" when they do not fit.
std::optional<ValueCell> productOf(const ValueCell& a, const ValueCell& b, OperatorContext& context);
// What "inv" gives for a cell; raises its errors.
std::optional<ValueCell> inverseOf(const ValueCell& m, OperatorContext& context);

}  // namespace matrix_ops
