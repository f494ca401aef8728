#include "equation_solver.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "ascii.h"
#include "c_number.h"
#include "engine.h"
#include "engine_error.h"
#include "matrix_operations.h"
#include "polynomial_roots.h"

namespace {

using Kind = EquationSolver::Kind;

constexpr int kSignificantDigits = 10;

constexpr std::array<EquationSolver::KindLabels, EquationSolver::kKindCount> kLabels = {{
    {{{{u"x\u00B2+", u"x+", u"= 0", u""}}}, {u"=x1", u"=x2"}, 2, {0, 1, 2}, 3},
    {{{{u"x\u00B3+", u"x\u00B2+", u"x+", u"= 0"}}}, {u"=x1", u"=x2", u"=x3"}, 3, {0, 1, 2, 3}, 4},
    {{{{u"x\u2074+", u"x\u00B3+", u"x\u00B2+", u"x+"}, {u"= 0", u"", u"", u""}}},
     {u"=x1", u"=x2", u"=x3", u"=x4"},
     4,
     {0, 1, 2, 3, 4},
     5},
    {{{{u"x+", u"y ", u"= ", u""}, {u"x+", u"y ", u"= ", u""}}}, {u"=x", u"=y"}, 2, {0, 1, 3, 4, 5, 7}, 6},
    {{{{u"x+", u"y+", u"z=", u""}, {u"x+", u"y+", u"z=", u""}, {u"x+", u"y+", u"z=", u""}}},
     {u"=x", u"=y", u"=z"},
     3,
     {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11},
     12},
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

// A number the way the engine reads it: "1e-8" and "5." become "0.00000001" and "5", since the
// engine would read the exponent's minus as a subtraction. Anything else goes as typed, so that
// the engine names what is wrong with it.
std::string engineNumberText(std::u16string_view text)
{
    const std::string ascii = toEngineText(text);
    double value = 0.0;
    if (!ascii.empty() && cnum::parsePrefix(ascii, value) == ascii.size() && std::isfinite(value))
        return cnum::exactDecimal(value);
    return ascii;
}

// Ten significant digits, the exponent only where the digits need it: "2", "-1e-08".
std::string significantText(double value)
{
    if (value == 0.0)
        return "0";  // never "-0"
    char buffer[32];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, kSignificantDigits).ptr;
    return std::string(buffer, end);
}

// "3", "2i", "-i", "1+2i", "0.5-0.8660254038i".
std::string complexText(double re, double im)
{
    if (im == 0.0)
        return significantText(re);
    const std::string size = significantText(std::abs(im));
    const std::string imaginary = size == "1" ? "i" : size + "i";
    const char* sign = im < 0.0 ? "-" : "+";
    if (re == 0.0)
        return (im < 0.0 ? "-" : "") + imaginary;
    return significantText(re) + sign + imaginary;
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
    bool strayMinus = false;
    for (std::size_t i = 1; i < text.size(); ++i)
        strayMinus = strayMinus || (text[i] == u'-' && text[i - 1] != u'e' && text[i - 1] != u'E');
    if (!hasDigit || strayMinus)
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

void EquationSolver::setKind(Kind kind)
{
    if (kind != kind_)
        clearResults();
    kind_ = kind;
}

void EquationSolver::clearResults()
{
    for (std::size_t field = kFirstResultField; field < kFieldCount; ++field)
        setFieldText(field, u"");
}

void EquationSolver::setResult(std::size_t index, double re, double im)
{
    // An overflowing result is no usable value.
    if (!std::isfinite(re) || !std::isfinite(im)) {
        setFieldText(kFirstResultField + index, kNaN);
        return;
    }
    setFieldText(kFirstResultField + index, ascii::widen(complexText(re, im)));
}

EquationSolver::SolveResult EquationSolver::solve(Engine& engine)
{
    switch (kind_) {
    case Kind::Quadratic: return solveQuadratic(engine);
    case Kind::Cubic: return solvePolynomial(engine, 3);
    case Kind::Quartic: return solvePolynomial(engine, 4);
    case Kind::TwoEquations: solveLinear(engine, 2); return {};
    case Kind::ThreeEquations: solveLinear(engine, 3); return {};
    }
    return {};
}

EquationSolver::SolveResult EquationSolver::solveQuadratic(Engine& engine)
{
    const std::string a = engineNumberText(getCoefficientText(0));
    const std::string b = engineNumberText(getCoefficientText(1));
    const std::string c = engineNumberText(getCoefficientText(2));
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
        setResult(0, root.re, root.kind == ValueKind::Complex ? root.im : 0.0);
        setFieldText(x2Field, u"");
        return {};
    }
    if (x1.kind == ValueKind::Complex) {
        // -b/2a is real for real coefficients: nothing cancels, the textbook form serves both.
        const ValueCell x2 = engine.evaluate(rootText(a, b, c, false), Engine::kModeScalar, 10);
        engine.resetError();
        setResult(0, x1.re, x1.im);
        setResult(1, x2.re, x2.kind == ValueKind::Complex ? x2.im : 0.0);
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

EquationSolver::SolveResult EquationSolver::solvePolynomial(Engine& engine, std::size_t degree)
{
    std::vector<double> coefficients;
    for (std::size_t field = 0; field <= degree; ++field) {
        engine.resetError();
        const ValueCell value = engine.evaluate(engineNumberText(getCoefficientText(field)), Engine::kModeScalar, 10);
        if (engine.error() != ErrorCode::kNone)
            return takeErrorResult(engine);
        coefficients.push_back(value.kind == ValueKind::Complex ? std::numeric_limits<double>::quiet_NaN() : value.re);
    }
    clearResults();
    const bool usable =
        std::all_of(coefficients.begin(), coefficients.end(), [](double c) { return std::isfinite(c); });
    const std::vector<std::complex<double>> roots =
        usable ? polynomialRoots(coefficients) : std::vector<std::complex<double>>{};
    if (roots.empty()) {
        // No equation left (every power's coefficient 0), or a coefficient no number.
        for (std::size_t i = 0; i < degree; ++i)
            setFieldText(kFirstResultField + i, kNaN);
        return {};
    }
    for (std::size_t i = 0; i < roots.size(); ++i)
        setResult(i, roots[i].real(), roots[i].imag());
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
