#include <cmath>
#include <optional>
#include <string>

#include "argument_text.h"
#include "ascii.h"
#include "calculus.h"
#include "call_arguments.h"
#include "engine.h"

// fnDeriv's rules split a text at the operator that the evaluator applies last, so that each
// part is differentiated as the evaluator reads it:
//   a - b + c      at the last binary "+"/"-" (left-associative): (a - b) + c
//   -x^2           a leading "-" negates the term after it: 0 - (x^2)'
//   a / b * c      at the last "*"/"/": (a / b) * c
//   n root b       at the last "root" ("root" is left-associative and ends a "^" chain)
//   a ^ b ^ c      at the first "^" ("^" is right-associative): a ^ (b ^ c)
// Anything else is differentiated numerically: central differences with a step scaled to x,
// refined by Richardson extrapolation, or a one-sided difference at the edge of f's domain.

namespace {

// The one-sided rule's step, and the smallest extrapolation step (times |x|, or itself at 0):
// closer to an edge of the domain than this, the one-sided rule takes over.
constexpr double kStep = 1e-6;
// Bisection towards x stops when the defined and undefined points are this close.
constexpr double kClosestGap = 1e-10;
// The extrapolation's first step (times max(|x|, 1)) and its number of halvings: from 1e-2 down
// to 3e-7, enough to resolve sin(1000x).
constexpr double kFirstStep = 0.01;
constexpr int kRows = 16;
// The table stops early only once its best entry agrees with its neighbours to this relative
// size, and a new diagonal entry is this much worse than the best: then the noise of f has
// taken over. Before that, the step is still too coarse for f and the entries mean nothing.
constexpr double kSettled = 1e-8;
constexpr double kNoiseGrowth = 2.0;
// Halvings of the first step while f is undefined at x - h or x + h.
constexpr int kMaxSearch = 64;

using Value = std::optional<double>;

std::string_view withoutEnclosingParentheses(std::string_view text)
{
    text = trimmedBlanks(text);
    while (text.size() >= 2 && text.front() == '(' && args::matchingParenthesis(text, 0) == text.size() - 1)
        text = trimmedBlanks(text.substr(1, text.size() - 2));
    return text;
}

// Calls visit(i) for each position outside parentheses (the parentheses themselves excluded).
template <class Visit>
void forEachTopLevel(std::string_view text, Visit visit)
{
    std::size_t depth = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '(')
            ++depth;
        else if (text[i] == ')')
            depth = depth > 0 ? depth - 1 : 0;
        else if (depth == 0)
            visit(i);
    }
}

bool endsOperand(char c)
{
    return ascii::isAlnum(c) || c == ')' || c == ']' || c == '!' || c == '%' || c == '.';
}

bool isBinarySign(std::string_view text, std::size_t sign)
{
    if (sign == 0)
        return false;
    const std::size_t before = text.find_last_not_of(' ', sign - 1);
    return before != std::string_view::npos && endsOperand(text[before]);
}

struct Split {
    std::size_t at = std::string_view::npos;
    std::size_t length = 1;

    bool found() const { return at != std::string_view::npos; }
};

// The last binary "+"/"-", or a leading "-" (a negation) when there is none.
Split additiveSplit(std::string_view text)
{
    Split split;
    forEachTopLevel(text, [&](std::size_t i) {
        if ((text[i] == '+' || text[i] == '-') && isBinarySign(text, i))
            split.at = i;
    });
    if (!split.found() && !text.empty() && text.front() == '-')
        split.at = 0;
    return split;
}

Split multiplicativeSplit(std::string_view text)
{
    Split split;
    forEachTopLevel(text, [&](std::size_t i) {
        if (text[i] == '*' || text[i] == '/')
            split.at = i;
    });
    return split;
}

bool isRootWord(std::string_view text, std::size_t i)
{
    constexpr std::string_view kRoot = "ROOT";
    if (text.size() - i < kRoot.size() || !ascii::equalsUpper(text.substr(i, kRoot.size()), kRoot))
        return false;
    const std::size_t end = i + kRoot.size();
    return (i == 0 || !ascii::isAlnum(text[i - 1])) && (end == text.size() || !ascii::isAlnum(text[end]));
}

Split rootSplit(std::string_view text)
{
    Split split{std::string_view::npos, 4};
    forEachTopLevel(text, [&](std::size_t i) {
        if (isRootWord(text, i))
            split.at = i;
    });
    return split;
}

Split powerSplit(std::string_view text)
{
    Split split;
    forEachTopLevel(text, [&](std::size_t i) {
        if (text[i] == '^' && !split.found())
            split.at = i;
    });
    return split;
}

class Differentiator {
public:
    Differentiator(Engine& engine, double x) : engine_(engine), x_(x) {}

    Value derivative(std::string_view text)
    {
        text = withoutEnclosingParentheses(text);
        if (const Split split = additiveSplit(text); split.found())
            return sumRule(text, split);
        if (const Split split = multiplicativeSplit(text); split.found())
            return productRule(text, split);
        if (const Split split = rootSplit(text); split.found())
            return rootRule(text, split);
        if (const Split split = powerSplit(text); split.found())
            return powerRule(text, split);
        return numericDerivative(text);
    }

    // The value of text at x; a failure keeps its error.
    Value valueAt(std::string_view text, double at)
    {
        engine_.setBoundExpression(std::string(text), engine_.boundName());
        engine_.resetError();
        const double y = engine_.evaluateAt(at);
        if (engine_.error() != ErrorCode::kNone)
            return std::nullopt;
        return y;
    }

private:
    static std::string_view left(std::string_view text, Split split) { return text.substr(0, split.at); }
    static std::string_view right(std::string_view text, Split split) { return text.substr(split.at + split.length); }

    // A rule's condition that does not hold, or fails to evaluate, hands the text to the
    // numeric leaf; the failure is no error of the whole derivative.
    Value probe(std::string_view text)
    {
        const Value value = valueAt(text, x_);
        engine_.resetError();
        return value;
    }

    Value sumRule(std::string_view text, Split split)
    {
        const Value du = split.at == 0 ? Value(0.0) : derivative(left(text, split));
        if (!du)
            return std::nullopt;
        const Value dv = derivative(right(text, split));
        if (!dv)
            return std::nullopt;
        return text[split.at] == '+' ? *du + *dv : *du - *dv;
    }

    Value productRule(std::string_view text, Split split)
    {
        const Value du = derivative(left(text, split));
        const Value dv = du ? derivative(right(text, split)) : std::nullopt;
        const Value u = dv ? valueAt(left(text, split), x_) : std::nullopt;
        const Value v = u ? valueAt(right(text, split), x_) : std::nullopt;
        if (!v)
            return std::nullopt;
        if (text[split.at] == '*')
            return *du * *v + *u * *dv;
        return (*du * *v - *u * *dv) / (*v * *v);
    }

    // w = b^(1/n): w' = ((b'/b) n - ln(b) n') w / n^2, for a positive radicand b.
    Value rootRule(std::string_view text, Split split)
    {
        const std::string_view index = left(text, split);
        const std::string_view radicand = right(text, split);
        const Value b = probe(radicand);
        if (!b || !(*b > 0.0))
            return numericDerivative(text);
        const Value db = derivative(radicand);
        const Value dn = db ? derivative(index) : std::nullopt;
        const Value n = dn ? valueAt(index, x_) : std::nullopt;
        const Value w = n ? valueAt(text, x_) : std::nullopt;
        if (!w)
            return std::nullopt;
        return ((*db / *b) * *n - std::log(*b) * *dn) * *w / (*n * *n);
    }

    // w = u^v: w' = (v u'/u + ln(u) v') u^v, for a positive base u.
    Value powerRule(std::string_view text, Split split)
    {
        const std::string_view base = left(text, split);
        const std::string_view exponent = right(text, split);
        const Value u = probe(base);
        if (!u || !(*u > 0.0))
            return numericDerivative(text);
        const Value du = derivative(base);
        const Value dv = du ? derivative(exponent) : std::nullopt;
        const Value v = dv ? valueAt(exponent, x_) : std::nullopt;
        if (!v)
            return std::nullopt;
        return (*v * *du / *u + std::log(*u) * *dv) * std::pow(*u, *v);
    }

    struct Point {
        double x;
        double y;
    };

    // `outer` when text is defined there; otherwise the defined end of a bisection between x
    // (defined) and outer, so that sqrt(x) at 0 gets its one-sided difference.
    Point definedNeighbour(std::string_view text, Point centre, double outer)
    {
        if (const Value y = valueAt(text, outer))
            return {outer, *y};
        Point defined = centre;
        double undefined = outer;
        while (std::fabs(defined.x - undefined) > kClosestGap) {
            const double middle = (defined.x + undefined) * 0.5;
            if (middle == defined.x || middle == undefined)
                break;
            if (const Value y = valueAt(text, middle))
                defined = {middle, *y};
            else
                undefined = middle;
        }
        return defined;
    }

    // (f(x + h) - f(x - h)) / 2h over the step as the doubles x +- h have it, or nothing when
    // f fails or overflows on either side (exp(x) at 700 + 7).
    Value centralDifference(std::string_view text, double h)
    {
        const double high = x_ + h;
        const double low = x_ - h;
        const Value above = valueAt(text, high);
        const Value below = above ? valueAt(text, low) : std::nullopt;
        if (!below)
            return std::nullopt;
        const double slope = (*above - *below) / (high - low);
        return std::isfinite(slope) ? Value(slope) : std::nullopt;
    }

    // Ridders' method: D(h) = f'(x) + c2 h^2 + c4 h^4 + ..., so halving h and combining
    // (4^j D(h/2) - D(h)) / (4^j - 1) removes one term per column of the table. The entry that
    // differs least from its neighbours is the answer; the table stops where a new diagonal
    // entry is clearly worse than a settled best, because the rounding of f (12 decimals for
    // sin) divided by the ever smaller step then outweighs what the extrapolation gains. The
    // first step is halved until f is defined at both ends; nothing when that needs a step
    // below 1e-6 |x| (1e-6 at 0), at the edge of f's domain.
    Value extrapolatedDerivative(std::string_view text)
    {
        const double smallest = x_ == 0.0 ? kStep : kStep * std::fabs(x_);
        double h = kFirstStep * std::fmax(std::fabs(x_), 1.0);
        Value first = centralDifference(text, h);
        for (int search = 0; !first; ++search) {
            h *= 0.5;
            if (h < smallest || search == kMaxSearch)
                return std::nullopt;
            first = centralDifference(text, h);
        }
        double table[kRows][kRows];
        table[0][0] = *first;
        double best = *first;
        double bestError = HUGE_VAL;
        for (int i = 1; i < kRows; ++i) {
            h *= 0.5;
            const Value next = centralDifference(text, h);
            if (!next)
                break;
            table[0][i] = *next;
            double factor = 4.0;
            for (int j = 1; j <= i; ++j) {
                table[j][i] = (table[j - 1][i] * factor - table[j - 1][i - 1]) / (factor - 1.0);
                factor *= 4.0;
                const double error =
                    std::fmax(std::fabs(table[j][i] - table[j - 1][i]), std::fabs(table[j][i] - table[j - 1][i - 1]));
                if (error <= bestError) {
                    bestError = error;
                    best = table[j][i];
                }
            }
            if (bestError <= kSettled * std::fabs(best) &&
                std::fabs(table[i][i] - table[i - 1][i - 1]) >= kNoiseGrowth * bestError)
                break;
        }
        return best;
    }

    Value numericDerivative(std::string_view text)
    {
        engine_.settings.angleMode = AngleMode::Radians;
        const Value y = valueAt(text, x_);
        if (!y)
            return std::nullopt;
        if (const Value slope = extrapolatedDerivative(text)) {
            engine_.resetError();
            return slope;
        }
        // At the edge of the domain: one-sided towards where f is defined.
        const Point centre{x_, *y};
        const Point low = definedNeighbour(text, centre, x_ - kStep);
        const Point high = definedNeighbour(text, centre, x_ + kStep);
        engine_.resetError();
        if (low.x == high.x) {
            engine_.raise(ErrorCode::kInfiniteResult);
            return std::nullopt;
        }
        return (high.y - low.y) / (high.x - low.x);
    }

    Engine& engine_;
    double x_;
};

}  // namespace

double differentiate(Engine& engine, std::string_view text, double x)
{
    const AngleModeScope userAngle(engine.settings);
    engine.settings.angleMode = AngleMode::Radians;
    // The bound text may be what text views: the rules rebind it on the way.
    const std::string whole(text);
    Differentiator differentiator(engine, x);
    // An expression that cannot be evaluated at x has no derivative there, whatever its parts say.
    if (!differentiator.valueAt(whole, x))
        return 0.0;
    const Value slope = differentiator.derivative(whole);
    return slope ? *slope : 0.0;
}
