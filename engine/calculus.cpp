#include "calculus.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "call_arguments.h"
#include "engine.h"

namespace {

// The 15-point Kronrod rule on [-1, 1] with its embedded 7-point Gauss rule (QUADPACK's qk15):
// nodes 0 and +-kKronrodNodes[i]; the Gauss nodes are the odd entries and 0. The Kronrod sum is
// exact for polynomials up to degree 22, the Gauss sum up to degree 13; their difference
// estimates the error.
constexpr std::array<double, 8> kKronrodNodes = {
    0.991455371120812639206854697526329, 0.949107912342758524526189684047851,
    0.864864423359769072789712788640926, 0.741531185599394439863864773280788,
    0.586087235467691130294144845693013, 0.405845151377397166906606412076961,
    0.207784955007898467600689403773245, 0.0};
constexpr std::array<double, 8> kKronrodWeights = {
    0.022935322010529224963732008058970, 0.063092092629978553290700663189204, 0.104790010322250183839876322541518,
    0.140653259715525918745189590510238, 0.169004726639267902826583426598550, 0.190350578064785409913256402421014,
    0.204432940075298892414161999234649, 0.209482141084727828012999174891714};
constexpr std::array<double, 4> kGaussWeights = {
    0.129484966168869693270611432679082, 0.279705391489276667901467771423780, 0.381830050505118944950369775488975,
    0.417959183673469387755102040816327};

// The integration stops when its error estimate is below this part of the integral's size,
// max(|integral|, integral of |f|) (the second for integrals that cancel, such as sin over a
// whole period).
constexpr double kTolerance = 1e-13;
// When the evaluations run out first, the result is still given when its error estimate is
// below this part of its size; this is where values rounded to 12 decimals (sin x near 0)
// leave the estimate. Beyond it the integral did not converge.
constexpr double kAcceptedError = 1e-10;
// One rule on the whole interval, then at most this many bisections of 30 evaluations each:
// about 8000 evaluations, a few milliseconds for a simple integrand.
constexpr int kMaxBisections = 266;

// fnRoot accepts the search's result only when |f| is this small there.
constexpr double kRootTolerance = 0.001;

using Integrand = std::function<double(double)>;

// One piece of the interval with the Kronrod estimate of its integral, the error estimate and
// the integral of |f| over it.
struct Piece {
    double a = 0.0;
    double b = 0.0;
    double integral = 0.0;
    double error = 0.0;
    double absolute = 0.0;

    bool operator<(const Piece& other) const { return error < other.error; }
};

// The 15-point rule on [a, b], or nothing when f raised an error (which stands). The error
// estimate is QUADPACK's: |Kronrod - Gauss| scaled by the variation of f around its mean
// (resasc), which is pessimistic for a coarse piece and sharp once the rule resolves f, and
// never below 50 ulps of the integral of |f|.
std::optional<Piece> kronrod(Engine& engine, const Integrand& f, double a, double b)
{
    const double centre = 0.5 * (a + b);
    const double halfLength = 0.5 * (b - a);
    std::array<double, 15> values{};
    for (std::size_t i = 0; i < 8; ++i) {
        const double offset = halfLength * kKronrodNodes[i];
        values[i] = f(centre - offset);
        if (i < 7)
            values[14 - i] = f(centre + offset);
        if (engine.error() != ErrorCode::kNone)
            return std::nullopt;
    }
    double kronrodSum = values[7] * kKronrodWeights[7];
    double gaussSum = values[7] * kGaussWeights[3];
    double absoluteSum = std::fabs(kronrodSum);
    for (std::size_t i = 0; i < 7; ++i) {
        const double pair = values[i] + values[14 - i];
        kronrodSum += kKronrodWeights[i] * pair;
        absoluteSum += kKronrodWeights[i] * (std::fabs(values[i]) + std::fabs(values[14 - i]));
        if (i % 2 == 1)
            gaussSum += kGaussWeights[i / 2] * pair;
    }
    const double mean = kronrodSum * 0.5;
    double variation = kKronrodWeights[7] * std::fabs(values[7] - mean);
    for (std::size_t i = 0; i < 7; ++i)
        variation += kKronrodWeights[i] * (std::fabs(values[i] - mean) + std::fabs(values[14 - i] - mean));

    const double length = std::fabs(halfLength);
    Piece piece{a, b, kronrodSum * halfLength, std::fabs((kronrodSum - gaussSum) * halfLength), absoluteSum * length};
    variation *= length;
    if (variation != 0.0 && piece.error != 0.0)
        piece.error = variation * std::fmin(1.0, std::pow(200.0 * piece.error / variation, 1.5));
    piece.error = std::fmax(50.0 * DBL_EPSILON * piece.absolute, piece.error);
    // An overflowed sample (exp over [0, 800]) ends the integration with its infinite value;
    // until then the piece must order like any other.
    if (std::isnan(piece.error))
        piece.error = HUGE_VAL;
    return piece;
}

// Adaptive Gauss-Kronrod integration over [a, b], a < b: the piece with the largest error
// estimate is halved until the estimates add up to the tolerance.
std::optional<double> adaptiveIntegral(Engine& engine, const Integrand& f, double a, double b)
{
    std::optional<Piece> whole = kronrod(engine, f, a, b);
    if (!whole)
        return std::nullopt;
    std::vector<Piece> pieces{*whole};
    double integral = whole->integral;
    double error = whole->error;
    double absolute = whole->absolute;
    for (int bisections = 0;; ++bisections) {
        if (engine.stopRequested())
            return std::nullopt;
        if (!std::isfinite(integral))
            return integral;
        const double size = std::fmax(std::fabs(integral), absolute);
        if (error <= kTolerance * size)
            return integral;
        // The piece with the largest error is at the front of the heap.
        const Piece worst = pieces.front();
        const double middle = 0.5 * (worst.a + worst.b);
        const bool splittable = worst.a < middle && middle < worst.b;
        if (bisections == kMaxBisections || !splittable) {
            if (error <= kAcceptedError * size)
                return integral;
            engine.raise(ErrorCode::kIntegralDiverges);
            return std::nullopt;
        }
        std::pop_heap(pieces.begin(), pieces.end());
        pieces.pop_back();
        for (const auto& [from, to] : {std::pair{worst.a, middle}, std::pair{middle, worst.b}}) {
            const std::optional<Piece> half = kronrod(engine, f, from, to);
            if (!half)
                return std::nullopt;
            pieces.push_back(*half);
            std::push_heap(pieces.begin(), pieces.end());
        }
        // Summed afresh rather than updated, so that no rounding drift builds up.
        integral = error = absolute = 0.0;
        for (const Piece& piece : pieces) {
            integral += piece.integral;
            error += piece.error;
            absolute += piece.absolute;
        }
    }
}

// f over the half of [a, b] at the end e, as an integral over u in [0, 1] with x = e + h u^m,
// h the signed distance from e to the middle: the nodes crowd towards e, and |x - e|^-p there
// becomes the milder u^(m(1 - p) - 1). At an end of 0, x keeps its relative precision however
// close it comes, so the map may crowd hard (x^-0.9 becomes smooth); elsewhere x is only as
// precise as the end point's last digit allows, and a milder map keeps the nodes where their
// distance to it is still exact enough (1/sqrt(1 - x) becomes a constant). A node that rounds
// onto the end point stands for a negligible part and is not evaluated.
Integrand halfTowardsEnd(Engine& engine, double end, double middle)
{
    const int order = end == 0.0 ? 10 : 2;
    const double h = middle - end;
    return [&engine, end, h, order](double u) {
        const double x = end + h * std::pow(u, order);
        // The slope is taken at the node's actual place: near a nonzero end x rounds, and
        // 1/sqrt(1 - x) at the rounded x with the slope of the intended one would be off by the
        // rounding's share of the small distance 1 - x.
        const double share = (x - end) / h;
        if (!(share > 0.0))
            return 0.0;
        return engine.evaluateAt(x) * std::fabs(h) * order * std::pow(share, (order - 1.0) / order);
    };
}

// The integral over [a, b] with both halves mapped towards their end points, or nothing.
std::optional<double> endClusteredIntegral(Engine& engine, double a, double b)
{
    const double middle = 0.5 * (a + b);
    const std::optional<double> left = adaptiveIntegral(engine, halfTowardsEnd(engine, a, middle), 0.0, 1.0);
    if (!left)
        return std::nullopt;
    const std::optional<double> right = adaptiveIntegral(engine, halfTowardsEnd(engine, b, middle), 0.0, 1.0);
    if (!right)
        return std::nullopt;
    return *left + *right;
}

// Reads (expression, variable, numbers...) and binds the expression. The numbers and the calls
// inside the expression are computed first: they may bind expressions of their own.
std::optional<std::vector<double>> bindCall(Engine& engine, std::string_view arguments, std::size_t numberCount)
{
    CallArguments list(engine, arguments);
    if (!list.expect(2 + numberCount, 2 + numberCount))
        return std::nullopt;
    std::optional<std::vector<double>> numbers = list.numbers(2);
    if (!numbers)
        return std::nullopt;
    std::string expression(list.text(0));
    if (!engine.expandFunctionCalls(expression, 10))
        return std::nullopt;
    engine.setBoundExpression(std::move(expression), std::string(list.text(1)));
    return numbers;
}

// f(x) of the bound expression for the root search: nothing when it fails, with the error
// cleared first so that one failed point does not stop the search. A cancel request is not
// cleared (resetError keeps it), so the search ends at its next step.
std::optional<double> boundValueOrNothing(Engine& engine, double x)
{
    engine.resetError();
    const double y = engine.evaluateAt(x);
    if (engine.error() != ErrorCode::kNone)
        return std::nullopt;
    return y;
}

}  // namespace

BoundExpressionScope::BoundExpressionScope(Engine& engine)
    : engine_(engine), text_(engine.boundText()), name_(engine.boundName())
{
}

BoundExpressionScope::~BoundExpressionScope()
{
    engine_.setBoundExpression(std::move(text_), std::move(name_));
}

double integrate(Engine& engine, double a, double b)
{
    const AngleModeScope userAngle(engine.settings);
    engine.settings.angleMode = AngleMode::Radians;
    if (a == b)
        return 0.0;
    if (!std::isfinite(a) || !std::isfinite(b)) {
        engine.raise(ErrorCode::kOutOfRange);
        return 0.0;
    }
    double sign = 1.0;
    if (a > b) {
        std::swap(a, b);
        sign = -1.0;
    }
    engine.resetError();
    std::optional<double> integral = adaptiveIntegral(
        engine, [&engine](double x) { return engine.evaluateAt(x); }, a, b);
    // A singularity at an end point defeats the plain rule (a node rounds onto it, or the pieces
    // near it never converge); mapping each half towards its end resolves it when it is
    // integrable. Otherwise the first error stands.
    if (!integral && engine.error() != ErrorCode::kCancelled) {
        const int plainError = engine.error();
        engine.resetError();
        integral = endClusteredIntegral(engine, a, b);
        if (engine.error() == ErrorCode::kCancelled)
            return 0.0;
        if (!integral || !std::isfinite(*integral)) {
            integral.reset();
            engine.resetError();
            engine.raise(plainError);
        }
    }
    return integral ? sign * *integral : 0.0;
}

double callFnInt(Engine& engine, std::string_view arguments, int)
{
    const BoundExpressionScope scope(engine);
    const auto bounds = bindCall(engine, arguments, 2);
    return bounds ? integrate(engine, (*bounds)[0], (*bounds)[1]) : 0.0;
}

double callFnDeriv(Engine& engine, std::string_view arguments, int)
{
    const BoundExpressionScope scope(engine);
    const auto at = bindCall(engine, arguments, 1);
    return at ? differentiate(engine, engine.boundText(), (*at)[0]) : 0.0;
}

double callFnEval(Engine& engine, std::string_view arguments, int)
{
    const BoundExpressionScope scope(engine);
    const auto at = bindCall(engine, arguments, 1);
    return at ? engine.evaluateAt((*at)[0]) : 0.0;
}

double callFnRoot(Engine& engine, std::string_view arguments, int)
{
    const BoundExpressionScope scope(engine);
    const auto bounds = bindCall(engine, arguments, 2);
    if (!bounds)
        return 0.0;
    const auto f = [&engine](double x) { return boundValueOrNothing(engine, x); };
    const RootSearchResult search = findRoot((*bounds)[0], (*bounds)[1], f);
    const std::optional<double> residual = search.found ? f(search.root) : std::nullopt;
    if (!residual || std::fabs(*residual) > kRootTolerance) {
        engine.resetError();
        engine.raise(ErrorCode::kRootNotFound);
        return 0.0;
    }
    return search.root;
}
