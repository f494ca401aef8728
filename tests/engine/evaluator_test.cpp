#include <gtest/gtest.h>

#include <string>

#include "engine.h"

namespace {

struct EvalCase {
    const char* text;
    int radix;
    int error;  // expected engine error, 0 for success
    double re;
    double im;
};

class EvaluateCases : public ::testing::TestWithParam<EvalCase> {};

TEST_P(EvaluateCases, GivesValueOrError)
{
    const EvalCase& c = GetParam();
    Engine engine;
    engine.slots.storeScalar(2, 2.0);        // VA
    engine.slots.storeScalar(3, 1.5, -0.5);  // VB, complex
    const double m[] = {1, 2, 3, 4};
    engine.slots.storeMatrix(4, 2, 2, m);  // VC, a matrix
    const ValueCell result = engine.evaluate(c.text, Engine::kModeScalar, c.radix);
    ASSERT_EQ(engine.error(), c.error) << c.text;
    if (c.error != 0)
        return;
    EXPECT_DOUBLE_EQ(result.re, c.re) << c.text;
    EXPECT_DOUBLE_EQ(result.im, c.im) << c.text;
    EXPECT_EQ(result.kind, c.im == 0.0 ? ValueKind::Real : ValueKind::Complex) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Arithmetic, EvaluateCases,
    ::testing::Values(
        EvalCase{"2+3*4", 10, 0, 14, 0}, EvalCase{"8/2/2", 10, 0, 2, 0}, EvalCase{"2*(-3)", 10, 0, -6, 0},
        EvalCase{"-5", 10, 0, -5, 0}, EvalCase{"(-3)", 10, 0, -3, 0}, EvalCase{"10-4-3", 10, 0, 3, 0},
        EvalCase{"2 3", 10, 0, 2, 0}, EvalCase{"(1+2)*(3+4)", 10, 0, 21, 0}, EvalCase{"((((7))))", 10, 0, 7, 0},
        EvalCase{"i*i", 10, 0, -1, 0}, EvalCase{"2*i+1", 10, 0, 1, 2}, EvalCase{"1e5+1", 10, 0, 100001, 0},
        EvalCase{"pi", 10, 0, 3.141592653589793, 0}, EvalCase{"e", 10, 0, 2.718281828459045, 0},
        EvalCase{"[VA]+1", 10, 0, 3, 0}, EvalCase{"va*vb", 10, 0, 3, -1}, EvalCase{"[VW]+1", 10, 0, 1, 0},
        EvalCase{"1/i", 10, 0, 0, -1}, EvalCase{"(i+1)/1e13", 10, 0, 0, 1e-13}, EvalCase{"1e-5", 10, -1, 0, 0},
        EvalCase{"FF+1", 16, 0, 256, 0}, EvalCase{"FFFFFFFF+2", 16, 0, 1, 0}, EvalCase{"2*-3", 10, -1, 0, 0},
        EvalCase{"2--3", 10, -1, 0, 0}, EvalCase{"1E-5", 10, -1, 0, 0}, EvalCase{"2PI", 10, -1, 0, 0},
        EvalCase{"1.2.3", 10, -1, 0, 0},
        // A number ending in its point is that number, whatever follows it.
        EvalCase{"5.", 10, 0, 5, 0}, EvalCase{"(5.)", 10, 0, 5, 0}, EvalCase{"1/(5.)", 10, 0, 0.2, 0},
        EvalCase{"(5.)+1", 10, 0, 6, 0}, EvalCase{"((2.))*3.", 10, 0, 6, 0}, EvalCase{"3.!", 10, 0, 6, 0},
        EvalCase{")(", 10, -1, 0, 0}, EvalCase{"[VC]+1", 10, -1, 0, 0}, EvalCase{"[VLRE]", 10, 0, 0, 0},
        EvalCase{"*2", 10, -1, 0, 0}, EvalCase{"5/0", 10, -5, 0, 0}, EvalCase{"5/(0*i)", 10, -5, 0, 0},
        EvalCase{"1e999", 10, -7, 0, 0}, EvalCase{"RT(3,8)", 10, 0, 2, 0}, EvalCase{"RT(3,8)+gcd", 10, -8, 0, 0},
        EvalCase{"(0-10)^15", 10, 0, -1e15, 0}, EvalCase{"(0-2)^(0-3)", 10, 0, -0.125, 0},
        EvalCase{"RT(3)", 10, -8, 0, 0}, EvalCase{"RT(,8)", 10, -8, 0, 0}, EvalCase{"RT(3,8", 10, -8, 0, 0},
        EvalCase{"[VN]+1", 10, -8, 0, 0}, EvalCase{"[VA]+N", 10, -8, 0, 0}, EvalCase{"N+1", 10, -8, 0, 0}));

TEST(Evaluate, FirstErrorWinsUntilReset)
{
    Engine engine;
    engine.evaluate("1/0", Engine::kModeScalar, 10);
    ASSERT_EQ(engine.error(), -5);
    engine.slots.storeScalar(0, 42.0);
    // While the error is set nothing runs: VVV comes back untouched and the code stays.
    const ValueCell untouched = engine.evaluate("2*-3", Engine::kModeScalar, 10);
    EXPECT_EQ(engine.error(), -5);
    EXPECT_EQ(untouched.re, 42.0);
    EXPECT_FALSE(engine.evaluateScalar("1+1", {}, 0, 10).ok);
    engine.raise(-1);
    EXPECT_EQ(engine.error(), -5);
    engine.resetError();
    EXPECT_EQ(engine.evaluate("1+1", Engine::kModeScalar, 10).re, 2.0);
}

TEST(Evaluate, LeavesResultInVVVAndClearsItOnFailure)
{
    Engine engine;
    engine.evaluate("6*7", Engine::kModeScalar, 10);
    EXPECT_EQ(engine.slots[VariableSlots::kResult].re, 42.0);
    engine.evaluate("6*", Engine::kModeScalar, 10);
    EXPECT_EQ(engine.slots[VariableSlots::kResult].re, 0.0);
}

TEST(Evaluate, RefusesTextsLongerThanTheBuffer)
{
    Engine engine;
    std::string text = "1";
    while (text.size() < Engine::kMaxExpressionLength - 1)
        text += "+1";
    ASSERT_EQ(text.size(), Engine::kMaxExpressionLength);
    EXPECT_EQ(engine.evaluate(text, Engine::kModeScalar, 10).re, 512.0);
    text += "+1";
    engine.resetError();
    engine.evaluate(text, Engine::kModeScalar, 10);
    EXPECT_EQ(engine.error(), -1);
}

TEST(expandFunctionCalls, RewritesRoots)
{
    struct Case {
        const char* text;
        const char* expanded;
    };
    const Case cases[] = {
        {"RT(3,8)", "((3) root (8)) "},
        {"RT((1,2),9)+RT(2,4)", "(((1,2)) root (9)) +((2) root (4)) "},
        {"RT (2, 4)", "((2) root ( 4)) "},
        {"SQRT(4,9)", "SQ((4) root (9)) "},
        {"2+RT(2,4)*(3)", "2+((2) root (4)) *(3)"},
    };
    for (const Case& c : cases) {
        Engine engine;
        std::string text = c.text;
        EXPECT_TRUE(engine.expandFunctionCalls(text, 10)) << c.text;
        EXPECT_EQ(text, c.expanded) << c.text;
    }
}

TEST(evaluateAt, EvaluatesTheBoundExpressionAndRefusesComplexResults)
{
    Engine engine;
    engine.setBoundExpression("x*x+1", "x");
    EXPECT_EQ(engine.evaluateAt(3.0), 10.0);
    EXPECT_EQ(engine.evaluateAt(-2.0), 5.0);
    EXPECT_EQ(engine.error(), 0);
    EXPECT_EQ(engine.evaluateAtCached(2.0, "X*3"), 6.0);
    EXPECT_EQ(engine.evaluateAtCached(2.0, "x+i/1e9"), 2.0);
    engine.evaluateAtCached(2.0, "x+i/1e7");
    EXPECT_EQ(engine.error(), -54);
}

TEST(evaluateScalarCached, RecompilesOnlyWhenTheTextChanges)
{
    Engine engine;
    engine.slots.storeScalar(2, 5.0);
    EXPECT_EQ(engine.evaluateScalarCached("va+t", "t", 1.0, 10).value.re, 6.0);
    // Slots and the bound value are read at run time, not baked into the compiled form.
    engine.slots.storeScalar(2, 7.0);
    EXPECT_EQ(engine.evaluateScalarCached("va+t", "t", 2.0, 10).value.re, 9.0);
    // The bound name is not part of the key: with another name, "t" is unknown.
    const auto other = engine.evaluateScalarCached("va+t", "u", 2.0, 10);
    EXPECT_FALSE(other.ok);
    EXPECT_EQ(engine.error(), -1);
}

TEST(evaluateMatrix, CopiesMatricesDeeplyAndTakesScalarsAsReal)
{
    Engine engine;
    const double m[] = {1, 2, 3, 4, 5, 6};
    engine.slots.storeMatrix(2, 2, 3, m);   // VA
    engine.slots.storeScalar(3, 4.0, 9.0);  // VB
    const ValueCell a = engine.evaluate("[VA]", Engine::kModeMatrix, 10);
    ASSERT_EQ(engine.error(), 0);
    ASSERT_EQ(a.kind, ValueKind::Matrix);
    EXPECT_EQ(a.rows, 2);
    EXPECT_EQ(a.cols, 3);
    EXPECT_EQ(a.at(1, 2), 6.0);
    engine.slots[VariableSlots::kResult].data[0] = 99.0;
    EXPECT_EQ(engine.slots[2].data[0], 1.0);

    const ValueCell b = engine.evaluate("vb", Engine::kModeMatrix, 10);
    EXPECT_EQ(b.kind, ValueKind::Real);
    EXPECT_EQ(b.re, 4.0);
    EXPECT_EQ(b.im, 0.0);

    engine.evaluate("[VQ1]", Engine::kModeMatrix, 10);
    EXPECT_EQ(engine.error(), -1);
    engine.resetError();
    engine.evaluate("solve([VA],[VB]", Engine::kModeMatrix, 10);
    EXPECT_EQ(engine.error(), -1);
}

}  // namespace
