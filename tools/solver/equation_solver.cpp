#include "equation_solver.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "ascii.h"
#include "c_number.h"
#include "engine.h"
#include "engine_error.h"
#include "matrix_operations.h"

namespace {

using Kind = EquationSolver::Kind;

constexpr std::array<EquationSolver::KindLabels, EquationSolver::kKindCount> kLabels = {{
    {{u"x\u00B2+", u"x+", u"= 0"}, {u"=x1", u"=x2", u""}, 2, {0, 1, 2}, 3},
    {{u"x+", u"y ", u"= "}, {u"=x", u"=y", u""}, 2, {0, 1, 3, 4, 5, 7}, 6},
    {{u"x+", u"y+", u"z="}, {u"=x", u"=y", u"=z"}, 3, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, 12},
}};

// Engine text is ASCII; any other character becomes one the tokenizer refuses, so a stray
// symbol fails as a syntax error instead of being silently dropped.
std::string toEngineText(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char16_t c : text)
        out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return out;
}

bool isDivisionError(const Engine& engine)
{
    return ascii::lower(errorMessage(engine.error())) == u"division error";
}

// The engine's error as the solver's answer, cleared so the next evaluation starts clean.
EquationSolver::SolveResult takeErrorResult(Engine& engine)
{
    EquationSolver::SolveResult result{std::u16string(errorMessage(engine.error()))};
    engine.resetError();
    return result;
}

// The plain decimal-prefix conversion of the linear systems: "2x" reads 2, "abc" and "" read 0.
double readNumber(std::u16string_view text)
{
    const std::string ascii = toEngineText(text);
    std::size_t start = 0;
    while (start < ascii.size() && (ascii[start] == ' ' || ascii[start] == '\t'))
        ++start;
    double value = 0.0;
    if (cnum::parsePrefix(std::string_view(ascii).substr(start), value) == 0)
        return 0.0;
    return value;
}

}  // namespace

const EquationSolver::KindLabels& EquationSolver::kindLabels(Kind kind)
{
    return kLabels[static_cast<std::size_t>(kind)];
}

void EquationSolver::setFieldText(std::size_t field, std::u16string_view text)
{
    if (field >= kFieldCount)
        return;
    fields_[field] = std::u16string(text);
    masks_[field] = std::u16string(text.size(), u'1');
}

std::u16string EquationSolver::normalizeCoefficient(std::u16string_view text)
{
    if (text.empty())
        return u"1";
    if (text == u"-")
        return u"-1";
    const bool hasDigit = std::any_of(text.begin(), text.end(), ascii::isDigit<char16_t>);
    if (!hasDigit || text.find(u'-', 1) != std::u16string_view::npos)
        return u"0";
    std::u16string out(text);
    if (out.front() == u'.')
        out.insert(0, 1, u'0');
    else if (out.size() >= 2 && out[0] == u'-' && out[1] == u'.')
        out.insert(1, 1, u'0');
    return out;
}

std::u16string EquationSolver::getCoefficientText(std::size_t field)
{
    if (field >= kFieldCount)
        return {};
    std::u16string text = normalizeCoefficient(fields_[field]);
    setFieldText(field, text);
    return text;
}

std::string EquationSolver::rootText(std::string_view a, std::string_view b, std::string_view c, bool plusRoot)
{
    const std::string A = "(" + std::string(a) + ")";
    const std::string B = "(" + std::string(b) + ")";
    const std::string C = "(" + std::string(c) + ")";
    const std::string D = B + "*" + B + "-4*" + A + "*" + C;
    // RT(2, D) is the engine's square root; it yields a complex value for D < 0.
    return "(-" + B + (plusRoot ? "+" : "-") + "RT(2," + D + "))/(2*" + A + ")";
}

std::string EquationSolver::stableRootText(std::string_view a, std::string_view b, std::string_view c, bool plusRoot,
                                           double bValue)
{
    const bool cancels = plusRoot ? bValue > 0.0 : bValue < 0.0;
    if (!cancels)
        return rootText(a, b, c, plusRoot);
    const std::string A = "(" + std::string(a) + ")";
    const std::string B = "(" + std::string(b) + ")";
    const std::string C = "(" + std::string(c) + ")";
    const std::string D = B + "*" + B + "-4*" + A + "*" + C;
    // -b and -sqrt(D) (or +sqrt(D)) now have the same sign: the denominator is never 0.
    return "(2*" + C + ")/(-" + B + (plusRoot ? "-" : "+") + "RT(2," + D + "))";
}

void EquationSolver::setResult(std::size_t index, double value)
{
    // "%.5lf" would print "inf" or "nan"; an overflowing result is no usable value.
    if (!std::isfinite(value)) {
        setFieldText(kFirstResultField + index, kNaN);
        return;
    }
    std::string text = cnum::fixed(value, 5);
    // A tiny negative value rounds to no digits at all: it shows as 0, never as "-0.00000".
    if (text.front() == '-' && text.find_first_not_of("0.", 1) == std::string::npos)
        text.erase(0, 1);
    setFieldText(kFirstResultField + index, ascii::widen(text));
}

EquationSolver::SolveResult EquationSolver::solve(Engine& engine)
{
    switch (kind_) {
    case Kind::Quadratic: return solveQuadratic(engine);
    case Kind::TwoEquations: solveLinear(engine, 2); return {};
    case Kind::ThreeEquations: solveLinear(engine, 3); return {};
    }
    return {};
}

EquationSolver::SolveResult EquationSolver::solveQuadratic(Engine& engine)
{
    const std::string a = toEngineText(getCoefficientText(0));
    const std::string b = toEngineText(getCoefficientText(1));
    const std::string c = toEngineText(getCoefficientText(2));
    const std::size_t x1Field = kFirstResultField;
    const std::size_t x2Field = kFirstResultField + 1;

    engine.resetError();
    const ValueCell x1 = engine.evaluate(rootText(a, b, c, true), Engine::kModeScalar, 10);
    if (engine.error() != ErrorCode::kNone) {
        if (!isDivisionError(engine))
            return takeErrorResult(engine);
        // 2a is 0: the equation is linear, b*x + c = 0.
        engine.resetError();
        const ValueCell root = engine.evaluate("-(" + c + ")/(" + b + ")", Engine::kModeScalar, 10);
        if (engine.error() != ErrorCode::kNone) {
            if (!isDivisionError(engine))
                return takeErrorResult(engine);
            engine.resetError();
            setFieldText(x1Field, kNaN);
            setFieldText(x2Field, kNaN);
            return {};
        }
        if (root.kind == ValueKind::Complex)
            setFieldText(x1Field, kNaN);
        else
            setResult(0, root.re);
        setFieldText(x2Field, u"");
        return {};
    }
    if (x1.kind == ValueKind::Complex) {
        setFieldText(x1Field, kNaN);
        setFieldText(x2Field, kNaN);
        return {};
    }
    // The textbook x1 above decides the kind of answer (linear, complex, an error); the values
    // shown come from the forms that lose no digits to cancellation.
    const ValueCell bValue = engine.evaluate("(" + b + ")", Engine::kModeScalar, 10);
    const double bSign = engine.error() == ErrorCode::kNone ? bValue.re : 0.0;
    engine.resetError();
    const ValueCell stableX1 = engine.evaluate(stableRootText(a, b, c, true, bSign), Engine::kModeScalar, 10);
    const bool x1Stable = engine.error() == ErrorCode::kNone && stableX1.kind != ValueKind::Complex;
    engine.resetError();
    setResult(0, x1Stable ? stableX1.re : x1.re);
    const ValueCell x2 = engine.evaluate(stableRootText(a, b, c, false, bSign), Engine::kModeScalar, 10);
    // x2 differs from x1 only in a sign; should it still fail, no value is better than a stale one.
    if (engine.error() != ErrorCode::kNone || x2.kind == ValueKind::Complex)
        setFieldText(x2Field, kNaN);
    else
        setResult(1, x2.re);
    engine.resetError();
    return {};
}

void EquationSolver::solveLinear(Engine& engine, std::size_t n)
{
    constexpr std::size_t kRowStride = 4;
    constexpr std::size_t kRightHandSide = 3;
    std::vector<double> coefficients(n * n);
    std::vector<double> rightHandSide(n);
    for (std::size_t row = 0; row < n; ++row) {
        for (std::size_t col = 0; col < n; ++col)
            coefficients[row * n + col] = readNumber(fields_[row * kRowStride + col]);
        rightHandSide[row] = readNumber(fields_[row * kRowStride + kRightHandSide]);
    }

    auto allNaN = [&] {
        for (std::size_t i = 0; i < n; ++i)
            setFieldText(kFirstResultField + i, kNaN);
    };

    const auto size = static_cast<std::uint16_t>(n);
    MatrixStack stack(1);
    stack[0].storeMatrix(size, size, coefficients.data());
    engine.resetError();
    OperatorContext context = engine.context();
    matrix_ops::invert(stack, 0, context);
    if (context.failed() || stack.size() != 1) {
        engine.resetError();
        allNaN();
        return;
    }
    stack.emplace_back().storeMatrix(size, 1, rightHandSide.data());
    matrix_ops::multiply(stack, 0, context);
    const bool ok = !context.failed() && stack.size() == 1 && stack[0].isMatrix() && stack[0].data.size() == n;
    engine.resetError();
    if (!ok) {
        allNaN();
        return;
    }
    for (std::size_t i = 0; i < n; ++i)
        setResult(i, stack[0].data[i]);
}
