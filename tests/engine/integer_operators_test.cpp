#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "engine.h"
#include "integer_operators.h"
#include "scalar_operator_table.h"

namespace {

struct BinaryCase {
    int wordSize;
    double a;
    const char* op;
    double b;
    double expected;  // meaningful when error is 0
    int error;
};

std::ostream& operator<<(std::ostream& out, const BinaryCase& c)
{
    return out << c.a << ' ' << c.op << ' ' << c.b << " (word " << c.wordSize << ')';
}

class IntegerBinaryOperator : public testing::TestWithParam<BinaryCase> {};

TEST_P(IntegerBinaryOperator, ComputesOrRaises)
{
    const BinaryCase& c = GetParam();
    int error = 0;
    EngineSettings settings;
    settings.wordSize = c.wordSize;
    OperatorContext context{error, settings};
    ScalarStack stack{{c.a, 0.0}, {c.b, 0.0}};
    const ScalarOperation operation = findScalarOperation(c.op);
    ASSERT_NE(operation, nullptr);
    operation(stack, 0, context);
    EXPECT_EQ(error, c.error);
    if (c.error == 0) {
        ASSERT_EQ(stack.size(), 1u);
        EXPECT_EQ(stack[0].re, c.expected);
        EXPECT_EQ(stack[0].im, 0.0);
        EXPECT_EQ(settings.lastRightOperand, c.b);
    } else {
        EXPECT_EQ(stack.size(), 2u) << "a failed operator keeps its operands";
    }
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// clang-format off
INSTANTIATE_TEST_SUITE_P(Bitwise, IntegerBinaryOperator, testing::Values(
    BinaryCase{32, 6, "and", 3, 2, 0},
    BinaryCase{32, 6, "or", 3, 7, 0},
    BinaryCase{32, 6, "xor", 3, 5, 0},
    BinaryCase{8, -1, "and", -2, -2, 0},          // signed 32-bit, not masked
    BinaryCase{8, 5, "nand", 3, 254, 0},
    BinaryCase{16, 5, "nand", 3, 65534, 0},
    BinaryCase{32, 5, "nand", 3, 4294967294.0, 0},
    BinaryCase{8, 5, "nor", 3, 248, 0},
    BinaryCase{32, 0, "nor", 0, 4294967295.0, 0},
    BinaryCase{64, 5, "nand", 3, 0, 0},           // like "not" with a 64-bit word
    BinaryCase{64, 5, "nor", 3, 0, 0},
    BinaryCase{32, 7.5, "and", 1, 0, -53},
    BinaryCase{32, 1, "or", 0.5, 0, -53},
    BinaryCase{32, 4294967296.0, "xor", 1, 0, -53},  // beyond 32 bits is not a 32-bit integer
    BinaryCase{32, 4294967297.0, "nand", 1, 4294967294.0, 0},  // but nand tests 64 bits
    BinaryCase{32, 4294967296.0, "nor", 1, 0, -53},
    BinaryCase{32, 1e19, "nand", 1, 0, -53},
    BinaryCase{32, kNaN, "and", 1, 0, -53}));

INSTANTIATE_TEST_SUITE_P(Modulo, IntegerBinaryOperator, testing::Values(
    BinaryCase{32, -7, "mod", 3, 1, 0},
    BinaryCase{32, 7, "mod", -3, 1, 0},
    BinaryCase{32, -7, "mod", -3, 1, 0},
    BinaryCase{32, -2147483648.0, "mod", 3, 2, 0},
    BinaryCase{32, 7, "mod", 0, 0, -5},
    BinaryCase{32, 7.5, "mod", 0, 0, -53}));      // the type is checked before the divisor

INSTANTIATE_TEST_SUITE_P(Shifts, IntegerBinaryOperator, testing::Values(
    BinaryCase{8, 1, "shl", 7, 128, 0},
    BinaryCase{8, 1, "shl", 8, 0, 0},
    BinaryCase{8, 256 + 3, "shl", 1, 6, 0},       // the operand is masked first
    BinaryCase{16, 1, "shl", 15, 32768, 0},
    BinaryCase{32, 1, "shl", 31, 2147483648.0, 0},
    BinaryCase{32, 1, "shl", 32, 0, 0},
    BinaryCase{32, 1, "shl", 256 + 2, 4, 0},      // only the low 8 bits of the count
    BinaryCase{32, 1, "shl", -1, 0, 0},           // -1 counts 255
    BinaryCase{32, 1, "shl", 200, 0, 0},
    BinaryCase{32, -1, "shr", 100, 0, 0},
    BinaryCase{32, -1, "shr", 28, 15, 0},         // logical: no sign copied in
    BinaryCase{8, -1, "shr", 4, 15, 0},
    BinaryCase{32, -1, "shr", 32, 0, 0},
    BinaryCase{64, 1, "shl", 1, 0, 0},
    BinaryCase{64, 8, "shr", 1, 0, 0},
    BinaryCase{32, 1, "shl", 1.5, 0, -53}));

INSTANTIATE_TEST_SUITE_P(Rotations, IntegerBinaryOperator, testing::Values(
    BinaryCase{8, 129, "rtl", 1, 3, 0},
    BinaryCase{8, 1, "rtr", 1, 128, 0},
    BinaryCase{8, 385, "rtl", 0, 129, 0},         // count 0 still masks
    BinaryCase{8, 129, "rtl", 9, 3, 0},           // 9 single rotations of 8 bits
    BinaryCase{8, 129, "rtl", -5, 3, 0},          // a negative count rotates once
    BinaryCase{8, 1, "rtr", -100, 128, 0},
    BinaryCase{16, 1, "rtr", 1, 32768, 0},
    BinaryCase{16, 0x8001, "rtl", 4, 0x0018, 0},
    BinaryCase{32, 1, "rtr", 1, 2147483648.0, 0},
    BinaryCase{32, 0x80000001u, "rtl", 1e15 + 1, 3, 0},  // 1e15 + 1 is 1 modulo 32
    BinaryCase{32, 0x12345678, "rtr", 8, 0x78123456, 0},
    BinaryCase{64, 129, "rtl", 1, 0, 0},
    BinaryCase{64, 1, "rtr", 1, 0, 0}));
// clang-format on

TEST(IntegerOperators, RefuseComplexOperandsBeforeNonIntegers)
{
    for (const char* op : {"and", "or", "xor", "nand", "nor", "mod", "shl", "shr", "rtl", "rtr"}) {
        int error = 0;
        EngineSettings settings;
        OperatorContext context{error, settings};
        ScalarStack stack{{1.5, 0.0}, {2.0, 1.0}};
        findScalarOperation(op)(stack, 0, context);
        EXPECT_EQ(error, -54) << op;
        EXPECT_EQ(stack.size(), 2u) << op;
    }
}

TEST(IntegerOperators, NeedTwoOperandsAboveTheGroupBase)
{
    int error = 0;
    EngineSettings settings;
    OperatorContext context{error, settings};
    ScalarStack stack{{6.0, 0.0}, {3.0, 0.0}};
    integer_ops::bitAnd(stack, 1, context);
    EXPECT_EQ(error, -1);
    EXPECT_EQ(stack.size(), 2u);
}

struct UnaryCase {
    int wordSize;
    const char* op;
    double x;
    double expected;
    int error;
};

TEST(IntegerOperators, NotAndCplOnTheStack)
{
    const UnaryCase cases[] = {
        {8, "not", 0, 255, 0},
        {8, "cpl", 1, 255, 0},
        {16, "not", 0, 65535, 0},
        {16, "cpl", 2, 65534, 0},
        {32, "not", 0, 4294967295.0, 0},
        {32, "cpl", -1, 1, 0},
        {32, "cpl", -9223372036854775808.0, 0, 0},  // negating the lowest 64-bit value is safe
        {64, "not", 5, 0, 0},
        {64, "cpl", 5, 0, 0},
        {8, "not", 0.5, 0, -53},
        {8, "cpl", 9223372036854775808.0, 0, -53},
    };
    for (const UnaryCase& c : cases) {
        int error = 0;
        EngineSettings settings;
        settings.wordSize = c.wordSize;
        OperatorContext context{error, settings};
        ScalarStack stack{{7.0, 0.0}, {c.x, 0.0}};
        findScalarOperation(c.op)(stack, 0, context);
        EXPECT_EQ(error, c.error) << c.op << ' ' << c.x << " word " << c.wordSize;
        ASSERT_EQ(stack.size(), 2u);
        EXPECT_EQ(stack[1].re, c.error == 0 ? c.expected : c.x) << c.op << ' ' << c.x;
    }
}

TEST(IntegerOperators, IntegerTestsRefuseValuesOutsideTheirRange)
{
    EXPECT_EQ(integer_ops::asInt32(-2147483648.0), std::optional<std::int32_t>(-2147483647 - 1));
    EXPECT_FALSE(integer_ops::asInt32(2147483648.0));
    EXPECT_FALSE(integer_ops::asInt32(-2147483649.0));
    EXPECT_FALSE(integer_ops::asInt64(9223372036854775808.0));
    EXPECT_TRUE(integer_ops::asInt64(-9223372036854775808.0));
    EXPECT_FALSE(integer_ops::asInt64(std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(integer_ops::asInt64(kNaN));
}

struct EvaluationCase {
    const char* text;
    int radix;
    int wordSize;
    double expected;
    int error;
};

TEST(IntegerEvaluation, ThroughTheEvaluator)
{
    const EvaluationCase cases[] = {
        {"FF and 0F", 16, 8, 15, 0},  {"A+1", 16, 8, 11, 0},
        {"1 shl 3 + 1", 16, 8, 9, 0},  // "shl" binds tighter than "+"
        {"not(0)", 10, 8, 255, 0},    {"cpl(1)", 10, 8, 255, 0},
        {"not(0)", 10, 16, 65535, 0}, {"not(0)", 10, 32, 4294967295.0, 0},
        {"not(0)", 16, 8, 255, 0},    {"not(F0)+1", 16, 8, 16, 0},
        {"not(not(5))", 10, 8, 5, 0}, {"not(not(5))", 16, 8, 5, 0},
        {"cpl(not(0))", 2, 8, 1, 0},  {"not(2*3)", 10, 8, 249, 0},
        {"not(0.5)", 10, 8, 0, -53},  {"cpl(i)", 10, 8, 0, -54},
        {"not()", 10, 8, 0, -1},      {"7.5 and 1", 10, 32, 0, -53},
        {"(-7) mod 3", 10, 32, 1, 0}, {"7 mod 0", 10, 32, 0, -5},
        {"i and 1", 10, 32, 0, -54},
    };
    for (const EvaluationCase& c : cases) {
        Engine engine;
        engine.settings.wordSize = c.wordSize;
        const ValueCell result = engine.evaluate(c.text, Engine::kModeScalar, c.radix);
        EXPECT_EQ(engine.error(), c.error) << c.text << " radix " << c.radix;
        if (c.error == 0) {
            EXPECT_EQ(result.re, c.expected) << c.text << " radix " << c.radix;
        }
    }
}

}  // namespace
