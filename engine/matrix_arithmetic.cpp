#include <cmath>

#include "matrix_operands.h"
#include "matrix_operations.h"

namespace matrix_ops {

namespace {

// An entry of a product below this share of the sum of its terms' magnitudes is rounding noise
// and becomes 0 (A * inv(A) gives exact zeros off the diagonal); relative, so that products of
// tiny or huge matrices keep their values.
constexpr double kProductZero = 1e-14;

template <class Combine>
std::optional<ValueCell> elementwise(const ValueCell& a, const ValueCell& b, OperatorContext& context, int code,
                                     Combine combine)
{
    const Shape left = shapeOf(a);
    const Shape right = shapeOf(b);
    if (left == Shape::kScalar && right == Shape::kScalar)
        return scalarCell(combine(a.re, b.re));
    if (left != Shape::kMatrix || right != Shape::kMatrix || a.rows != b.rows || a.cols != b.cols)
        return fail(context, code);
    ValueCell result = a;
    for (std::size_t k = 0; k < result.data.size(); ++k)
        result.data[k] = combine(a.data[k], b.data[k]);
    return result;
}

ValueCell scaled(const ValueCell& m, double factor)
{
    ValueCell result = m;
    for (double& x : result.data)
        x *= factor;
    return result;
}

}  // namespace

linalg::DenseMatrix matrixProduct(const linalg::DenseMatrix& a, const linalg::DenseMatrix& b)
{
    linalg::DenseMatrix product = linalg::multiply(a, b);
    for (std::size_t i = 0; i < a.rows; ++i) {
        for (std::size_t j = 0; j < b.cols; ++j) {
            double magnitude = 0.0;
            for (std::size_t k = 0; k < a.cols; ++k)
                magnitude += std::fabs(a(i, k) * b(k, j));
            if (std::fabs(product(i, j)) < kProductZero * magnitude)
                product(i, j) = 0.0;
        }
    }
    return product;
}

std::optional<ValueCell> productOf(const ValueCell& a, const ValueCell& b, OperatorContext& context)
{
    const Shape left = shapeOf(a);
    const Shape right = shapeOf(b);
    if (left == Shape::kMalformed || right == Shape::kMalformed)
        return fail(context, ErrorCode::kMatrixMultiplication);
    if (left == Shape::kScalar && right == Shape::kScalar)
        return scalarCell(a.re * b.re);
    if (left == Shape::kScalar)
        return scaled(b, a.re);
    if (right == Shape::kScalar)
        return scaled(a, b.re);
    if (a.cols != b.rows)
        return fail(context, ErrorCode::kMatrixMultiplication);
    const linalg::DenseMatrix product =
        matrixProduct(linalg::DenseMatrix::fromCell(a), linalg::DenseMatrix::fromCell(b));
    return product.toCell();
}

namespace {

std::optional<ValueCell> sumOf(const ValueCell& a, const ValueCell& b, OperatorContext& context)
{
    return elementwise(a, b, context, ErrorCode::kMatrixAddition, [](double x, double y) { return x + y; });
}

std::optional<ValueCell> differenceOf(const ValueCell& a, const ValueCell& b, OperatorContext& context)
{
    return elementwise(a, b, context, ErrorCode::kMatrixSubtraction, [](double x, double y) { return x - y; });
}

std::optional<ValueCell> quotientOf(const ValueCell& a, const ValueCell& b, OperatorContext& context)
{
    const std::optional<ValueCell> inverse = inverseOf(b, context);
    return inverse ? productOf(a, *inverse, context) : std::nullopt;
}

std::optional<ValueCell> transposeOf(const ValueCell& m, OperatorContext& context)
{
    if (shapeOf(m) != Shape::kMatrix)
        return fail(context, ErrorCode::kMatrixTransformation);
    return linalg::transpose(linalg::DenseMatrix::fromCell(m)).toCell();
}

}  // namespace

void add(MatrixStack& stack, std::size_t base, OperatorContext& context)
{
    applyBinaryCell(stack, base, context, sumOf);
}

void subtract(MatrixStack& stack, std::size_t base, OperatorContext& context)
{
    applyBinaryCell(stack, base, context, differenceOf);
}

void multiply(MatrixStack& stack, std::size_t base, OperatorContext& context)
{
    applyBinaryCell(stack, base, context, productOf);
}

void divide(MatrixStack& stack, std::size_t base, OperatorContext& context)
{
    applyBinaryCell(stack, base, context, quotientOf);
}

void transpose(MatrixStack& stack, std::size_t base, OperatorContext& context)
{
    applyUnaryCell(stack, base, context, transposeOf);
}

}  // namespace matrix_ops
