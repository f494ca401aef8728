// The compiled form of an expression against the plain reading of its postfix text: applying
// the operator table to a stack token by token, as the evaluator did before it compiled. Both
// must agree bit for bit (value, error code, angle mode and last right operand afterwards), on
// a table of tricky texts and on many generated ones.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "ascii.h"
#include "c_number.h"
#include "compiled_expression.h"
#include "engine.h"
#include "scalar_functions.h"
#include "scalar_operator_table.h"
#include "text_split.h"
#include "tokenizer.h"

namespace {

struct Outcome {
    bool ok = false;
    CalcValue value;
    int error = 0;
    AngleMode angle = AngleMode::Degrees;
    double lastRight = 0.0;
};

// The stack reading of a postfix text, names looked up on every run.
Outcome readPostfix(std::string_view postfix, EngineSettings settings, const VariableSlots& slots,
                    std::string_view boundName, double boundValue)
{
    Outcome outcome;
    int error = 0;
    OperatorContext context{error, settings};
    ScalarStack stack;
    std::vector<std::size_t> groups;
    bool failed = false;
    forEachToken(postfix, [&](std::string_view token) {
        if (failed)
            return;
        if (ScalarOperation operation = findScalarOperation(token)) {
            operation(stack, groups.empty() ? 0 : groups.back(), context);
            failed = context.failed();
        } else if (token == "(") {
            groups.push_back(stack.size());
        } else if (token == ")") {
            if (!groups.empty())
                groups.pop_back();
        } else {
            double value = 0.0;
            CalcValue pushed;
            if (cnum::parsePrefix(token, value) == token.size()) {
                pushed = {value, 0.0};
            } else {
                const std::string name = ascii::upper(token);
                const int slot = VariableSlots::find(token);
                if (!boundName.empty() && ascii::equalsUpper(boundName, name))
                    pushed = {boundValue, 0.0};
                else if (name == "PI")
                    pushed = {3.141592653589793, 0.0};
                else if (name == "E")
                    pushed = {std::exp(1.0), 0.0};
                else if (name == "I")
                    pushed = {0.0, 1.0};
                else if (slot >= 0 && !slots[slot].isMatrix())
                    pushed = slots[slot].scalar();
                else {
                    context.raise(ErrorCode::kSyntax);
                    failed = true;
                    return;
                }
            }
            if (!std::isfinite(pushed.re)) {
                context.raise(ErrorCode::kOutOfRange);
                failed = true;
                return;
            }
            stack.push_back(pushed);
        }
    });
    outcome.ok = !failed;
    outcome.value = failed || stack.empty() ? CalcValue{} : stack.front();
    outcome.error = error;
    outcome.angle = settings.angleMode;
    outcome.lastRight = settings.lastRightOperand;
    return outcome;
}

Outcome runCompiled(std::string_view postfix, EngineSettings settings, const VariableSlots& slots,
                    std::string_view boundName, double boundValue)
{
    Outcome outcome;
    int error = 0;
    OperatorContext context{error, settings};
    CompiledExpression::Workspace workspace;
    const CompiledExpression program(postfix, boundName);
    const CompiledExpression::Result result = program.run(context, slots, boundValue, workspace);
    outcome.ok = result.ok;
    outcome.value = result.ok ? result.value : CalcValue{};
    outcome.error = error;
    outcome.angle = settings.angleMode;
    outcome.lastRight = settings.lastRightOperand;
    return outcome;
}

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The real shortcut, where it answers: its value stands for the real part, with no error, the
// angle mode untouched and the last right operand that the full run leaves.
std::optional<Outcome> runRealCompiled(std::string_view postfix, EngineSettings settings, const VariableSlots& slots,
                                       std::string_view boundName, double boundValue)
{
    int error = 0;
    OperatorContext context{error, settings};
    CompiledExpression::Workspace workspace;
    const CompiledExpression program(postfix, boundName);
    double value = 0.0;
    if (!program.runRealConstant(context, value) && !program.runReal(context, slots, boundValue, workspace, value))
        return std::nullopt;
    Outcome outcome;
    outcome.ok = true;
    outcome.value = {value, 0.0};
    outcome.error = error;
    outcome.angle = settings.angleMode;
    outcome.lastRight = settings.lastRightOperand;
    return outcome;
}

std::string show(const Outcome& o)
{
    return (o.ok ? std::string("ok ") : "failed ") + cnum::general17(o.value.re) + " " + cnum::general17(o.value.im) +
           "i error " + std::to_string(o.error) + " angle " + std::to_string(static_cast<int>(o.angle)) + " last " +
           cnum::general17(o.lastRight);
}

VariableSlots exampleSlots()
{
    VariableSlots slots;
    slots[VariableSlots::find("VA")].storeScalar(2.5, 0.0);
    slots[VariableSlots::find("VB")].storeComplex(1.0, -2.0);
    slots[VariableSlots::find("VC")].storeScalar(std::numeric_limits<double>::infinity(), 0.0);
    const double elements[] = {1.0, 2.0, 3.0, 4.0};
    slots[VariableSlots::find("VD")].storeMatrix(2, 2, elements);
    return slots;
}

// How often the real shortcut answered, so that the tests can tell it was tried.
int realAnswers = 0;

// Compares the two readings of an engine text for one value of x, and the real shortcut where
// it answers; false when the text does not tokenize (nothing to compare).
bool expectSameOutcome(const std::string& text, double x, AngleMode angle, const VariableSlots& slots)
{
    std::string postfix = text;
    if (!tokenizeExpression(postfix, 10, "x") || !toPostfix(postfix))
        return false;
    EngineSettings settings;
    settings.angleMode = angle;
    settings.lastRightOperand = -7.0;
    const Outcome expected = readPostfix(postfix, settings, slots, "x", x);
    const Outcome actual = runCompiled(postfix, settings, slots, "x", x);
    const bool same = expected.ok == actual.ok && expected.error == actual.error &&
                      sameBits(expected.value.re, actual.value.re) && sameBits(expected.value.im, actual.value.im) &&
                      expected.angle == actual.angle && sameBits(expected.lastRight, actual.lastRight);
    EXPECT_TRUE(same) << "'" << text << "' x = " << cnum::general17(x) << " postfix '" << postfix
                      << "'\n  stack:    " << show(expected) << "\n  compiled: " << show(actual);
    if (const std::optional<Outcome> real = runRealCompiled(postfix, settings, slots, "x", x)) {
        ++realAnswers;
        const bool sameReal = expected.ok && expected.error == 0 && expected.value.im == 0.0 &&
                              sameBits(expected.value.re, real->value.re) && real->error == 0 &&
                              expected.angle == real->angle && sameBits(expected.lastRight, real->lastRight);
        EXPECT_TRUE(sameReal) << "'" << text << "' x = " << cnum::general17(x) << " postfix '" << postfix
                              << "'\n  stack: " << show(expected) << "\n  real:  " << show(*real);
    }
    return true;
}

const char* const kTrickyTexts[] = {
    "2+3*4",
    "x*x-3*x+2/(x+1)",
    "sin(x)*x^2",
    "1/(x*sqrt(2*pi))*e^(-0.5*((x-1)/x)^2)",
    "-x",
    "-(x)",
    "-(-x)",
    "2-(-x)",
    "x^2",
    "x^-2",
    "(-x)^3",
    "x^0",
    "x^0.5",
    "x^400",
    "(x*1e200)^2",
    "x^(2+0)",
    "i^2",
    "(x+i)^2",
    "(1e300*x)^2",
    "x/0",
    "x/(x-x)",
    "0/0",
    "1e999+x",
    "x+1e999",
    "qq+1",
    "VA*x",
    "VB*x",
    "VC+1",
    "VD+1",
    "x VA",
    "2 3",
    "(2)(3)",
    "x(2)",
    "(x)",
    "((x))",
    "",
    "x!",
    "x%",
    "x mod 3",
    "x and 3",
    "3 root x",
    "x shl 2",
    "tan(x)",
    "tan(90)",
    "asin(x)",
    "acot(i)",
    "acot(x)",
    "acos(2)",
    "ln(x)",
    "log(x)",
    "sqrt(-x)",
    "atanh(1)",
    "sin(x+i)",
    "cos(x)+sin(x)",
    "ctan(0)",
    // Where the real shortcut must hand over: zero and infinite products, overflow, a zero
    // divisor, a negative base or root.
    "x*0",
    "0*x",
    "(-x)*5",
    "(-x)*x",
    "sqrt(x)*(-1)",
    "-x*0",
    "(x-x)*-1",
    "x*x*x*x",
    "1e200*x*1e200",
    "x/1e-300",
    "1/x",
    "VA*VA-x",
    "(-x)^0.5",
    "(x-1)^3",
    "2^x",
    "cos(x)*cos(x)-1",
    "sqrt(x)*sqrt(x)",
    "abs(x-3)*floor(x)",
    "round(x/2)+ceil(-x)-trunc(x)",
    "sign(x+i)",
    "gamma(x)",
    "cbrt(-x)",
    "log2(x)",
};

class TrickyText : public testing::TestWithParam<const char*> {};

TEST_P(TrickyText, CompiledGivesWhatTheStackGives)
{
    const VariableSlots slots = exampleSlots();
    for (AngleMode angle : {AngleMode::Degrees, AngleMode::Radians, AngleMode::Grads}) {
        for (double x : {0.0, -0.0, 1.0, -1.0, 2.5, -3.0, 90.0, 1e-300, 1e300})
            expectSameOutcome(GetParam(), x, angle, slots);
    }
}

TEST(CompiledExpression, RealShortcutAnswersForRealCurves)
{
    const VariableSlots slots = exampleSlots();
    for (const char* text :
         {"2+3*4", "x*x-3*x+2/(x+1)", "sin(x)*x^2", "1/(x*sqrt(2*pi))*e^(-0.5*((x-1)/x)^2)", "VA*x"}) {
        SCOPED_TRACE(text);
        const int before = realAnswers;
        expectSameOutcome(text, 2.5, AngleMode::Radians, slots);
        EXPECT_EQ(realAnswers, before + 1);
    }
}

INSTANTIATE_TEST_SUITE_P(CompiledExpression, TrickyText, testing::ValuesIn(kTrickyTexts));

// Random texts over the operators, functions, constants and slots: whatever they mean, both
// readings agree. Texts that do not tokenize are skipped.
std::string randomText(std::mt19937& random, int depth)
{
    static const char* const kOperands[] = {"x", "x", "2", "0", "0.5", "3", "pi", "e", "i", "VA", "VB", "1e308", "7"};
    static const char* const kBinary[] = {"+", "-", "*", "/", "^", "^", "mod", "and", "root", "xor"};
    static const char* const kUnary[] = {"sin",  "cos",  "tan",  "ln",    "log",   "sqrt",  "exp",  "asin",
                                         "acos", "atan", "acot", "sinh",  "atanh", "sec",   "csc",  "ctan",
                                         "-",    "abs",  "sign", "floor", "round", "gamma", "cbrt", "log2"};
    const auto pick = [&random](auto& items) {
        return std::string(items[random() % (sizeof items / sizeof items[0])]);
    };
    const unsigned kind = depth <= 0 ? 0 : random() % 6;
    switch (kind) {
    case 0:
    case 1: return pick(kOperands);
    case 2:
    case 3: return randomText(random, depth - 1) + pick(kBinary) + randomText(random, depth - 1);
    case 4: {
        const std::string function = pick(kUnary);
        return function + "(" + randomText(random, depth - 1) + ")";
    }
    default: {
        const unsigned postfix = random() % 3;
        const std::string inner = "(" + randomText(random, depth - 1) + ")";
        return postfix == 0 ? inner + "!" : postfix == 1 ? inner + "%" : inner;
    }
    }
}

TEST(CompiledExpression, GeneratedTextsGiveWhatTheStackGives)
{
    const VariableSlots slots = exampleSlots();
    std::mt19937 random(20261207);
    int compared = 0;
    for (int i = 0; i < 4000; ++i) {
        const std::string text = randomText(random, 4);
        const AngleMode angle = static_cast<AngleMode>(random() % 3);
        for (double x : {0.7, -2.0, 45.0, 1e-9}) {
            if (expectSameOutcome(text, x, angle, slots))
                ++compared;
        }
    }
    // Most generated texts must be valid, or the comparison says little.
    EXPECT_GT(compared, 8000);
}

TEST(CompiledExpression, EveryOperatorWithTooFewOperandsIsASyntaxError)
{
    // The compiler relies on this to know how the stack grows: every operation of the table
    // raises "Syntax error" with fewer operands than its arity above the base ("-" negates one).
    for (const char* name :
         {"%",     "+",     "*",    "/",    "sin",   "asin", "acos", "cos",  "tan",   "atan", "ctan", "acot",  "sqrt",
          "ln",    "log",   "!",    "^",    "exp",   "and",  "or",   "nand", "nor",   "xor",  "sinh", "asinh", "acosh",
          "atanh", "acoth", "cosh", "tanh", "ctanh", "sec",  "csc",  "sech", "csch",  "asec", "acsc", "asech", "acsch",
          "root",  "mod",   "shl",  "shr",  "rtl",   "rtr",  "not",  "cpl",  "iroot", "iexp"}) {
        const ScalarOperator op = findScalarOperator(name);
        ASSERT_NE(op.operation, nullptr) << name;
        ASSERT_TRUE(op.arity == 1 || op.arity == 2) << name;
        EngineSettings settings;
        int error = 0;
        OperatorContext context{error, settings};
        ScalarStack stack(static_cast<std::size_t>(op.arity - 1), CalcValue{2.0, 0.0});
        op.operation(stack, 0, context);
        EXPECT_EQ(error, ErrorCode::kSyntax) << name;
        EXPECT_EQ(stack.size(), static_cast<std::size_t>(op.arity - 1)) << name;
        if (op.arity == 2) {
            // With enough operands it pops one: the stack shrinks by exactly arity - 1.
            error = 0;
            ScalarStack two(2, CalcValue{2.0, 0.0});
            op.operation(two, 0, context);
            EXPECT_TRUE(error != 0 || two.size() == 1) << name;
        }
    }
}

TEST(CompiledExpression, ReadsSlotsWhenItRunsNotWhenItCompiles)
{
    Engine engine;
    engine.slots[VariableSlots::find("VA")].storeScalar(2.0, 0.0);
    engine.setBoundExpression({}, "x");
    EXPECT_EQ(engine.evaluateAtCached(3.0, "VA*x"), 6.0);
    engine.slots[VariableSlots::find("VA")].storeScalar(5.0, 0.0);
    EXPECT_EQ(engine.evaluateAtCached(3.0, "VA*x"), 15.0);
}

TEST(CompiledExpression, CacheKeepsSeveralTextsAndTellsVariablesApart)
{
    Engine engine;
    engine.settings.angleMode = AngleMode::Radians;
    const double at = 0.25;
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(engine.evaluateScalarCached("x*2", "x", at, 10).value.re, 0.5);
        EXPECT_EQ(engine.evaluateScalarCached("x+1", "x", at, 10).value.re, 1.25);
        EXPECT_EQ(engine.evaluateScalarCached("sin(x)", "x", at, 10).value.re,
                  scalar_ops::roundToTwelveDecimals(std::sin(at)));
        // The same text with another variable is another program: t is the variable here, so
        // x is an unknown name.
        EXPECT_EQ(engine.evaluateScalarCached("t*2", "t", at, 10).value.re, 0.5);
        EXPECT_FALSE(engine.evaluateScalarCached("x*2", "t", at, 10).ok);
        EXPECT_EQ(engine.error(), ErrorCode::kSyntax);
        engine.resetError();
    }
}

// The rounding of the circular functions and logarithms, computed without text, gives the
// text's value bit for bit: around the rounding boundaries, at exact ties (odd multiples of
// 2^-13 lie half-way between two 12-decimal numbers), and on random values.
TEST(RoundToTwelveDecimals, MatchesTheTextRoundTripBitForBit)
{
    std::vector<double> values = {0.0,
                                  -0.0,
                                  4e-13,
                                  -4e-13,
                                  5e-13,
                                  -5e-13,
                                  4.9999999999999999e-13,
                                  3999.9999999999995,
                                  4000.0,
                                  -4000.0,
                                  1e300,
                                  -1e300,
                                  5e-324,
                                  0.5,
                                  -0.5,
                                  1.0 / 8192,
                                  3.0 / 8192,
                                  -5.0 / 8192};
    for (long j = -200000; j <= 200000; ++j)
        values.push_back(static_cast<double>(j) / 8192.0);
    std::mt19937_64 random(12);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    for (int i = 0; i < 200000; ++i) {
        const double u = unit(random);
        values.push_back(u);
        values.push_back(u * 4000.0);
        values.push_back(u * 1e-11);
        const auto n = static_cast<double>(random() % 4000000000000000ULL);
        const double half = (n + 0.5) / 1e12;
        values.push_back(half);
        values.push_back(std::nextafter(half, 0.0));
        values.push_back(std::nextafter(half, 1e9));
        values.push_back(-half);
    }
    int mismatches = 0;
    for (double x : values) {
        const double fast = scalar_ops::roundToTwelveDecimals(x);
        const double text = scalar_ops::roundToTwelveDecimalsByText(x);
        if (!sameBits(fast, text) && ++mismatches <= 5)
            ADD_FAILURE() << cnum::general17(x) << ": " << cnum::general17(fast) << " against "
                          << cnum::general17(text);
    }
    EXPECT_EQ(mismatches, 0);
}

}  // namespace
