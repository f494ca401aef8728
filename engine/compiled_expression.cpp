#include "compiled_expression.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "ascii.h"
#include "c_number.h"
#include "complex_math.h"
#include "scalar_functions.h"
#include "scalar_operator_table.h"
#include "text_split.h"

namespace {

// The power operator's overflow test fails when |b| ln|a| reaches 305; a base up to e^(300/|b|)
// stays clear of it whatever the rounding of the logarithm.
constexpr double kPowerSafeExponent = 300.0;

bool isWholeNonzero(double x)
{
    return std::isfinite(x) && x != 0.0 && x == std::trunc(x);
}

// The shortcuts below give what the table's operations give (scalar_power_ops.cpp), for the
// operands they accept; anything else goes through the operation itself.

// a ^ b for a real base above 0 and a real exponent far from the overflow test: the operation
// then takes the real pow, of b itself when it is whole, else of the exponent that its root
// form computes, 1 / (1 / b) (the polar form's real result is replaced by that pow).
bool powerOfPositiveBase(CalcValue a, CalcValue b, CalcValue& result)
{
    if (!(a.im == 0.0 && b.im == 0.0 && a.re > 0.0 && std::isfinite(a.re) && std::isfinite(b.re) && b.re != 0.0))
        return false;
    if (!(std::fabs(b.re) * std::log(a.re) < kPowerSafeExponent))
        return false;
    const double exponent = b.re == std::trunc(b.re) ? b.re : 1.0 / (1.0 / b.re);
    result = {std::pow(a.re, exponent), 0.0};
    return true;
}

// a ^ c for a whole nonzero constant c and a real base up to limit = e^(300 / |c|).
bool powerOfConstant(CalcValue a, double c, double limit, CalcValue& result)
{
    if (!(a.im == 0.0 && std::fabs(a.re) <= limit))
        return false;
    result = {std::pow(a.re, c), 0.0};
    return true;
}

// The square root of a real number above 0: the complex root's formula reduces to sqrt(x),
// with the imaginary part's zero keeping its sign.
bool squareRootOfPositive(CalcValue a, CalcValue& result)
{
    if (!(a.im == 0.0 && a.re > 0.0 && std::isfinite(a.re)))
        return false;
    const double w = std::sqrt(a.re);
    result = {w, a.im / (2.0 * w)};
    return true;
}

}  // namespace

// Example: "x*x-3*x+2/(x+1)" arrives as the postfix "x x * 3 x * - 2 ( x 1 + ) / +" and
// compiles to ten steps on the top of the stack and two cells below it:
//   top = x; top *= x; cell0 = top, top = 3; top *= x; top = cell0 - top;
//   cell0 = top, top = 2; cell1 = top, top = x; top += 1; top = cell1 / top; top = cell0 + top.
// A number or x right before an arithmetic operator is read by that operator's step. The group
// around "x 1 +" only matters for how many operands a "-" in it would see.
CompiledExpression::CompiledExpression(std::string_view postfix, std::string_view boundName)
{
    int height = 0;
    std::vector<int> groups;
    bool raised = false;
    forEachToken(postfix, [&](std::string_view token) {
        // Nothing after an error that is certain can run.
        if (raised)
            return;
        const ScalarOperator op = findScalarOperator(token);
        if (op.operation != nullptr) {
            const int base = groups.empty() ? 0 : groups.back();
            const int operands = height - base;
            if (token == "-" && operands == 1) {
                const Step negate{Code::Negate, height - 1};
                if (!foldConstants(negate))
                    steps_.push_back(negate);
            } else if (operands < op.arity) {
                steps_.push_back({Code::Raise, 0, ErrorCode::kSyntax});
            } else {
                height -= op.arity - 1;
                compileOperator(token, op.operation, op.arity, operands, height - 1);
            }
        } else if (token == "(") {
            groups.push_back(height);
        } else if (token == ")") {
            if (!groups.empty())
                groups.pop_back();
        } else {
            double value = 0.0;
            if (cnum::parsePrefix(token, value) == token.size()) {
                if (std::isfinite(value))
                    steps_.push_back({Code::Constant, height, 0, nullptr, {value, 0.0}});
                else
                    steps_.push_back({Code::Raise, 0, ErrorCode::kOutOfRange});
            } else {
                // A token that converts only in part ("1e", "2pi") is looked up whole and fails.
                compileName(token, boundName, height);
            }
            ++height;
        }
        raised = !steps_.empty() && steps_.back().code == Code::Raise;
        cellCount_ = std::max(cellCount_, height);
    });
    finalHeight_ = height;
    // At least one cell, so that a program that only raises still has a cell to point at.
    cellCount_ = std::max(cellCount_, 1);
    compileRealSteps();
}

void CompiledExpression::compileRealSteps()
{
    realSteps_.clear();
    realConstant_ = false;
    for (const Step& step : steps_) {
        RealStep real;
        real.cell = step.cell;
        real.index = step.index;
        real.value = step.value.re;
        real.limit = step.limit;
        real.setsLastRight = step.setsLastRight;
        real.lastRight = step.lastRight;
        // An imaginary part that is zero (of either sign) stays zero through every real step.
        const bool realValue = step.value.im == 0.0;
        const auto arithmetic = [&step, realValue](RealCode cell, RealCode constant, RealCode bound) {
            switch (step.right) {
            case Operand::Cell: return std::optional<RealCode>(cell);
            case Operand::Constant: return realValue ? std::optional<RealCode>(constant) : std::nullopt;
            case Operand::Bound: return std::optional<RealCode>(bound);
            }
            return std::optional<RealCode>();
        };
        std::optional<RealCode> code;
        switch (step.code) {
        case Code::Constant: code = realValue ? std::optional<RealCode>(RealCode::Constant) : std::nullopt; break;
        case Code::Bound: code = RealCode::Bound; break;
        case Code::Slot: code = RealCode::Slot; break;
        case Code::Negate: code = RealCode::Negate; break;
        case Code::Add: code = arithmetic(RealCode::AddCell, RealCode::AddConstant, RealCode::AddBound); break;
        case Code::Subtract:
            code = arithmetic(RealCode::SubtractCell, RealCode::SubtractConstant, RealCode::SubtractBound);
            break;
        case Code::Multiply:
            code = arithmetic(RealCode::MultiplyCell, RealCode::MultiplyConstant, RealCode::MultiplyBound);
            break;
        case Code::Divide:
            code = arithmetic(RealCode::DivideCell, RealCode::DivideConstant, RealCode::DivideBound);
            break;
        case Code::Power: code = RealCode::Power; break;
        case Code::PowerOfConstant:
            code = realValue ? std::optional<RealCode>(RealCode::PowerOfConstant) : std::nullopt;
            break;
        case Code::SquareRoot: code = RealCode::SquareRoot; break;
        case Code::Sine: code = RealCode::Sine; break;
        case Code::Cosine: code = RealCode::Cosine; break;
        case Code::Operation:
        case Code::Raise: break;
        }
        if (!code) {
            realSteps_.clear();
            return;
        }
        real.code = *code;
        realSteps_.push_back(real);
    }
    realConstant_ = finalHeight_ == 1 && realSteps_.size() == 1 && realSteps_.front().code == RealCode::Constant;
}

void CompiledExpression::compileName(std::string_view token, std::string_view boundName, int cell)
{
    const std::string name = ascii::upper(token);
    if (!boundName.empty() && ascii::equalsUpper(boundName, name)) {
        steps_.push_back({Code::Bound, cell});
    } else if (name == "PI") {
        steps_.push_back({Code::Constant, cell, 0, nullptr, {3.141592653589793, 0.0}});
    } else if (name == "E") {
        steps_.push_back({Code::Constant, cell, 0, nullptr, {std::exp(1.0), 0.0}});
    } else if (name == "I") {
        steps_.push_back({Code::Constant, cell, 0, nullptr, {0.0, 1.0}});
    } else if (const int slot = VariableSlots::find(token); slot >= 0) {
        steps_.push_back({Code::Slot, cell, slot});
    } else {
        steps_.push_back({Code::Raise, 0, ErrorCode::kSyntax});
    }
}

void CompiledExpression::compileOperator(std::string_view token, ScalarOperation operation, int arity, int operands,
                                         int cell)
{
    Step step{Code::Operation, cell, arity, operation};
    if (arity == 2) {
        if (token == "+")
            step.code = Code::Add;
        else if (token == "-")
            step.code = Code::Subtract;
        else if (token == "*")
            step.code = Code::Multiply;
        else if (token == "/")
            step.code = Code::Divide;
        else if (token == "^")
            step.code = Code::Power;
    } else if (token == "sqrt") {
        step.code = Code::SquareRoot;
    } else if (token == "sin") {
        step.code = Code::Sine;
    } else if (token == "cos") {
        step.code = Code::Cosine;
    }
    // "a 2 ^": the exponent folds into the power step when it is a whole number, the common case
    // of the plotted polynomials.
    // A constant that stands for folded operations keeps their last right operand, which an
    // error of the power would leave behind: it is not folded in.
    if (token == "^" && operands >= 2 && !steps_.empty() && steps_.back().code == Code::Constant &&
        steps_.back().cell == cell + 1 && steps_.back().value.im == 0.0 && isWholeNonzero(steps_.back().value.re) &&
        !steps_.back().setsLastRight) {
        step.code = Code::PowerOfConstant;
        step.value = steps_.back().value;
        step.limit = std::exp(kPowerSafeExponent / cmath::modulus(step.value));
        steps_.pop_back();
    }
    if (foldConstants(step))
        return;
    fuseRightOperand(step);
    steps_.push_back(step);
}

void CompiledExpression::fuseRightOperand(Step& step)
{
    const bool arithmetic = step.code == Code::Add || step.code == Code::Subtract || step.code == Code::Multiply ||
                            step.code == Code::Divide;
    if (!arithmetic || steps_.empty() || steps_.back().cell != step.cell + 1)
        return;
    const Step& operand = steps_.back();
    // A constant that stands for folded operations keeps their last right operand, which a
    // division by zero would leave behind: it stays a step of its own.
    if (operand.code == Code::Constant && !operand.setsLastRight) {
        step.right = Operand::Constant;
        step.value = operand.value;
    } else if (operand.code == Code::Bound) {
        step.right = Operand::Bound;
    } else {
        return;
    }
    steps_.pop_back();
}

bool CompiledExpression::foldConstants(const Step& step)
{
    const std::size_t count = steps_.size();
    const auto isConstantAt = [this, count](std::size_t back, int cell) {
        return count >= back && steps_[count - back].code == Code::Constant && steps_[count - back].cell == cell;
    };
    CalcValue result;
    switch (step.code) {
    case Code::Negate:
    case Code::SquareRoot:
    case Code::PowerOfConstant: {
        if (!isConstantAt(1, step.cell))
            return false;
        Step& operand = steps_.back();
        const CalcValue x = operand.value;
        if (step.code == Code::Negate) {
            operand.value = {-x.re, -x.im};
        } else if (step.code == Code::SquareRoot) {
            if (!squareRootOfPositive(x, result))
                return false;
            operand.value = result;
        } else {
            if (!powerOfConstant(x, step.value.re, step.limit, result))
                return false;
            operand.value = result;
            operand.setsLastRight = true;
            operand.lastRight = step.value.re;
        }
        return true;
    }
    case Code::Add:
    case Code::Subtract:
    case Code::Multiply:
    case Code::Divide:
    case Code::Power: {
        if (!isConstantAt(2, step.cell) || !isConstantAt(1, step.cell + 1))
            return false;
        const CalcValue left = steps_[count - 2].value;
        const CalcValue right = steps_[count - 1].value;
        if (step.code == Code::Add)
            result = cmath::add(left, right);
        else if (step.code == Code::Subtract)
            result = cmath::subtract(left, right);
        else if (step.code == Code::Multiply)
            result = cmath::multiply(left, right);
        else if (step.code == Code::Divide && !(right.re == 0.0 && right.im == 0.0))
            result = cmath::divide(left, right);
        else if (step.code != Code::Power || !powerOfPositiveBase(left, right, result))
            return false;
        steps_.pop_back();
        Step& folded = steps_.back();
        folded.value = result;
        folded.setsLastRight = true;
        folded.lastRight = right.re;
        return true;
    }
    default: return false;
    }
}

// A table operation on the cells from step.cell, the last of them the top of the stack, which
// the caller has stored; the result is left in step.cell.
bool CompiledExpression::runOperation(const Step& step, OperatorContext& context, CalcValue* cells,
                                      ScalarStack& operands)
{
    // The table's operations work on the top of a stack: a stack of exactly the operands.
    const CalcValue* first = cells + step.cell;
    operands.assign(first, first + step.index);
    step.operation(operands, 0, context);
    if (context.failed())
        return false;
    cells[step.cell] = operands.front();
    return true;
}

// The top of the stack is kept in (topRe, topIm) rather than in its cell: most steps work on the
// value the step before them made, and a round trip through memory would put a store and a load
// between every two steps. A step that pushes a value first stores the top into its cell.
CompiledExpression::Result CompiledExpression::run(OperatorContext& context, const VariableSlots& slots,
                                                   double boundValue, Workspace& workspace) const
{
    ScalarStack& cells = workspace.cells;
    if (cells.size() < static_cast<std::size_t>(cellCount_))
        cells.resize(static_cast<std::size_t>(cellCount_));
    CalcValue* cell = cells.data();
    double topRe = 0.0;
    double topIm = 0.0;
    for (const Step& step : steps_) {
        // A step that completes continues with the next; one that an operator of the table runs
        // breaks out of the switch to the code after it.
        switch (step.code) {
        case Code::Constant:
            if (step.cell > 0)
                cell[step.cell - 1] = {topRe, topIm};
            topRe = step.value.re;
            topIm = step.value.im;
            if (step.setsLastRight)
                context.settings.lastRightOperand = step.lastRight;
            continue;
        case Code::Bound:
            if (!std::isfinite(boundValue)) {
                context.raise(ErrorCode::kOutOfRange);
                return {};
            }
            if (step.cell > 0)
                cell[step.cell - 1] = {topRe, topIm};
            topRe = boundValue;
            topIm = 0.0;
            continue;
        case Code::Slot: {
            const ValueCell& slot = slots[step.index];
            // A matrix in a scalar expression is unknown here.
            if (slot.isMatrix()) {
                context.raise(ErrorCode::kSyntax);
                return {};
            }
            const CalcValue value = slot.scalar();
            if (!std::isfinite(value.re)) {
                context.raise(ErrorCode::kOutOfRange);
                return {};
            }
            if (step.cell > 0)
                cell[step.cell - 1] = {topRe, topIm};
            topRe = value.re;
            topIm = value.im;
            continue;
        }
        case Code::Negate:
            topRe = -topRe;
            topIm = -topIm;
            continue;
        case Code::Add:
        case Code::Subtract:
        case Code::Multiply:
        case Code::Divide: {
            // The right operand is the top and the left one in its cell; or, for a right operand
            // read in this step, the left one is the top.
            double leftRe = topRe;
            double leftIm = topIm;
            double rightRe = 0.0;
            double rightIm = 0.0;
            switch (step.right) {
            case Operand::Cell:
                rightRe = topRe;
                rightIm = topIm;
                leftRe = cell[step.cell].re;
                leftIm = cell[step.cell].im;
                break;
            case Operand::Constant:
                rightRe = step.value.re;
                rightIm = step.value.im;
                break;
            case Operand::Bound:
                if (!std::isfinite(boundValue)) {
                    context.raise(ErrorCode::kOutOfRange);
                    return {};
                }
                rightRe = boundValue;
                break;
            }
            // The arithmetic of cmath::add, subtract, multiply and divide, written out so that
            // it runs without calls.
            if (step.code == Code::Add) {
                topRe = leftRe + rightRe;
                topIm = leftIm + rightIm;
            } else if (step.code == Code::Subtract) {
                topRe = leftRe - rightRe;
                topIm = leftIm - rightIm;
            } else if (step.code == Code::Multiply) {
                topRe = leftRe * rightRe - leftIm * rightIm;
                topIm = leftRe * rightIm + leftIm * rightRe;
            } else if (rightIm == 0.0 && rightRe != 0.0) {
                topRe = leftRe / rightRe;
                topIm = leftIm / rightRe;
            } else if (rightRe == 0.0 && rightIm == 0.0) {
                context.raise(ErrorCode::kDivision);
                return {};
            } else {
                const CalcValue quotient = cmath::divide({leftRe, leftIm}, {rightRe, rightIm});
                topRe = quotient.re;
                topIm = quotient.im;
            }
            context.settings.lastRightOperand = rightRe;
            continue;
        }
        case Code::Power: {
            const CalcValue base = cell[step.cell];
            CalcValue result;
            if (powerOfPositiveBase(base, {topRe, topIm}, result)) {
                context.settings.lastRightOperand = topRe;
                topRe = result.re;
                topIm = result.im;
                continue;
            }
            cell[step.cell + 1] = {topRe, topIm};
            break;
        }
        case Code::PowerOfConstant: {
            CalcValue result;
            if (powerOfConstant({topRe, topIm}, step.value.re, step.limit, result)) {
                context.settings.lastRightOperand = step.value.re;
                topRe = result.re;
                topIm = result.im;
                continue;
            }
            cell[step.cell] = {topRe, topIm};
            cell[step.cell + 1] = step.value;
            break;
        }
        case Code::Sine:
        case Code::Cosine:
            // A real argument: the operator's own computation without its stack; NaN where the
            // operator raises, which it then does itself.
            if (topIm == 0.0) {
                const AngleMode mode = context.settings.angleMode;
                const double result = step.code == Code::Sine ? scalar_ops::sineOfReal(topRe, mode)
                                                              : scalar_ops::cosineOfReal(topRe, mode);
                if (!std::isnan(result)) {
                    topRe = result;
                    topIm = 0.0;
                    continue;
                }
            }
            cell[step.cell] = {topRe, topIm};
            break;
        case Code::SquareRoot: {
            CalcValue result;
            if (squareRootOfPositive({topRe, topIm}, result)) {
                topRe = result.re;
                topIm = result.im;
                continue;
            }
            cell[step.cell] = {topRe, topIm};
            break;
        }
        case Code::Operation: cell[step.cell + step.index - 1] = {topRe, topIm}; break;
        case Code::Raise: context.raise(step.index); return {};
        }
        // An operator of the table, its operands in their cells; its result becomes the top.
        if (!runOperation(step, context, cell, workspace.operands))
            return {};
        topRe = cell[step.cell].re;
        topIm = cell[step.cell].im;
    }
    Result result;
    result.ok = true;
    if (finalHeight_ == 1)
        result.value = {topRe, topIm};
    else if (finalHeight_ > 1)
        result.value = cell[0];
    return result;
}

// Why each shortcut gives run()'s real part: while every value is a finite real number, the
// imaginary parts that run() carries are zeros (of either sign). A sum, difference or quotient
// of real parts does not see them; a product's real part is re*re - im*im, which equals re*re
// unless that is zero (where a zero's sign could flip), so a zero product goes to run(), as does
// any value that is not finite (infinity times a zero imaginary part is NaN there). Every case
// in which run() would raise an error or leave the real numbers goes to run() too.
bool CompiledExpression::runReal(OperatorContext& context, const VariableSlots& slots, double boundValue,
                                 Workspace& workspace, double& value) const
{
    if (realSteps_.empty())
        return false;
    std::vector<double>& cells = workspace.realCells;
    if (cells.size() < static_cast<std::size_t>(cellCount_))
        cells.resize(static_cast<std::size_t>(cellCount_));
    double* cell = cells.data();
    double& lastRight = context.settings.lastRightOperand;
    const bool boundFinite = std::isfinite(boundValue);
    double top = 0.0;
    for (const RealStep& step : realSteps_) {
        switch (step.code) {
        case RealCode::Constant:
            if (step.cell > 0)
                cell[step.cell - 1] = top;
            top = step.value;
            if (step.setsLastRight)
                lastRight = step.lastRight;
            continue;
        case RealCode::Bound:
            if (!boundFinite)
                return false;
            if (step.cell > 0)
                cell[step.cell - 1] = top;
            top = boundValue;
            continue;
        case RealCode::Slot: {
            const ValueCell& slot = slots[step.index];
            if (slot.isMatrix())
                return false;
            const CalcValue scalar = slot.scalar();
            if (!std::isfinite(scalar.re) || scalar.im != 0.0)
                return false;
            if (step.cell > 0)
                cell[step.cell - 1] = top;
            top = scalar.re;
            continue;
        }
        case RealCode::Negate: top = -top; continue;
        case RealCode::AddCell:
            lastRight = top;
            top = cell[step.cell] + top;
            break;
        case RealCode::AddConstant:
            lastRight = step.value;
            top += step.value;
            break;
        case RealCode::AddBound:
            if (!boundFinite)
                return false;
            lastRight = boundValue;
            top += boundValue;
            break;
        case RealCode::SubtractCell:
            lastRight = top;
            top = cell[step.cell] - top;
            break;
        case RealCode::SubtractConstant:
            lastRight = step.value;
            top -= step.value;
            break;
        case RealCode::SubtractBound:
            if (!boundFinite)
                return false;
            lastRight = boundValue;
            top -= boundValue;
            break;
        case RealCode::MultiplyCell:
            lastRight = top;
            top = cell[step.cell] * top;
            if (top == 0.0)
                return false;
            break;
        case RealCode::MultiplyConstant:
            lastRight = step.value;
            top *= step.value;
            if (top == 0.0)
                return false;
            break;
        case RealCode::MultiplyBound:
            if (!boundFinite)
                return false;
            lastRight = boundValue;
            top *= boundValue;
            if (top == 0.0)
                return false;
            break;
        case RealCode::DivideCell:
            if (top == 0.0)
                return false;
            lastRight = top;
            top = cell[step.cell] / top;
            break;
        case RealCode::DivideConstant:
            if (step.value == 0.0)
                return false;
            lastRight = step.value;
            top /= step.value;
            break;
        case RealCode::DivideBound:
            if (!boundFinite || boundValue == 0.0)
                return false;
            lastRight = boundValue;
            top /= boundValue;
            break;
        case RealCode::Power: {
            CalcValue result;
            if (!powerOfPositiveBase({cell[step.cell], 0.0}, {top, 0.0}, result))
                return false;
            lastRight = top;
            top = result.re;
            break;
        }
        case RealCode::PowerOfConstant: {
            CalcValue result;
            if (!powerOfConstant({top, 0.0}, step.value, step.limit, result))
                return false;
            lastRight = step.value;
            top = result.re;
            break;
        }
        case RealCode::SquareRoot:
            if (!(top > 0.0 && std::isfinite(top)))
                return false;
            top = std::sqrt(top);
            continue;
        case RealCode::Sine:
        case RealCode::Cosine: {
            const AngleMode mode = context.settings.angleMode;
            const double result =
                step.code == RealCode::Sine ? scalar_ops::sineOfReal(top, mode) : scalar_ops::cosineOfReal(top, mode);
            if (std::isnan(result))
                return false;
            top = result;
            continue;
        }
        }
        // After an arithmetic step or a power: a value that is no longer finite goes to run().
        if (!std::isfinite(top))
            return false;
    }
    value = finalHeight_ == 0 ? 0.0 : finalHeight_ == 1 ? top : cell[0];
    return true;
}
