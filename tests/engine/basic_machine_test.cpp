#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine.h"

namespace {

constexpr int kDec = 10;
constexpr int kHex = 16;
constexpr int kBin = 2;

enum class Mode { Rpn, Basic };

struct MachineCase {
    const char* name;
    Mode mode;
    int radix;
    std::vector<std::string> tokens;
    double re;
    int error;
};

class MachineSequences : public ::testing::TestWithParam<MachineCase> {};

TEST_P(MachineSequences, LeaveTheExpectedTop)
{
    const MachineCase& c = GetParam();
    Engine engine;
    CalcValue value;
    for (const std::string& token : c.tokens) {
        value = c.mode == Mode::Rpn ? engine.basic.stepRpn(engine, token, c.radix)
                                    : engine.basic.stepBasic(engine, token, c.radix);
        if (token == "=" && c.mode == Mode::Basic)
            engine.basic.reset();
    }
    EXPECT_EQ(engine.error(), c.error);
    if (c.error == 0) {
        EXPECT_NEAR(value.re, c.re, 1e-12);
    }
}

const std::string kSign(BasicMachine::kSignToken);

INSTANTIATE_TEST_SUITE_P(
    Steps, MachineSequences,
    ::testing::Values(
        MachineCase{"RpnAdd", Mode::Rpn, kDec, {"3", "(", "4", "+"}, 7, 0},
        MachineCase{"RpnDigitsAccumulate", Mode::Rpn, kDec, {"1", "2"}, 12, 0},
        MachineCase{"RpnFraction", Mode::Rpn, kDec, {"1", "..", "2", "5"}, 1.25, 0},
        MachineCase{"RpnPointStartsZero", Mode::Rpn, kDec, {"7", "(", "..", "5"}, 0.5, 0},
        MachineCase{"RpnPower", Mode::Rpn, kDec, {"2", "(", "3", "^"}, 8, 0},
        MachineCase{"RpnSquare", Mode::Rpn, kDec, {"2", "(", "2", "^"}, 4, 0},
        MachineCase{"RpnCubeRoot", Mode::Rpn, kDec, {"8", "(", "1", "(", "3", "/", "^"}, 2, 0},
        MachineCase{"RpnReciprocalKeepsX", Mode::Rpn, kDec, {"4", "Pop", "1", "(", "4", "/", "+"}, 4.25, 0},
        MachineCase{"RpnHexDigits", Mode::Rpn, kHex, {"F", "F"}, 255, 0},
        MachineCase{"RpnBinaryIgnoresOtherDigits", Mode::Rpn, kBin, {"1", "5", "0"}, 2, 0},
        MachineCase{"RpnSign", Mode::Rpn, kDec, {"5", kSign}, -5, 0},
        MachineCase{"RpnSignEmpty", Mode::Rpn, kDec, {kSign}, 0, 0},
        MachineCase{"RpnPi", Mode::Rpn, kDec, {"PI"}, 3.141592653589793, 0},
        MachineCase{"RpnNumberText", Mode::Rpn, kDec, {"2.5", "(", "2", "*"}, 5, 0},
        MachineCase{"RpnExpressionText", Mode::Rpn, kDec, {"1.5*10^2"}, 150, 0},
        MachineCase{"RpnTooFewOperands", Mode::Rpn, kDec, {"3", "*"}, 0, -1},
        MachineCase{"RpnSqrt", Mode::Rpn, kDec, {"9", "sqrt"}, 3, 0},
        MachineCase{"RpnDivisionError", Mode::Rpn, kDec, {"1", "(", "0", "/"}, 0, -5},
        MachineCase{"BasicPrecedence", Mode::Basic, kDec, {"2", "+", "3", "*", "4", "="}, 14, 0},
        MachineCase{"BasicLeftToRight", Mode::Basic, kDec, {"2", "*", "3", "+", "4", "="}, 10, 0},
        MachineCase{"BasicOperatorReplaced", Mode::Basic, kDec, {"6", "+", "*", "2", "="}, 12, 0},
        MachineCase{"BasicRepeatEquals", Mode::Basic, kDec, {"2", "+", "3", "=", "="}, 8, 0},
        MachineCase{"BasicRepeatTwice", Mode::Basic, kDec, {"2", "*", "3", "=", "=", "="}, 54, 0},
        MachineCase{"BasicNewNumberThenEquals", Mode::Basic, kDec, {"2", "+", "3", "=", "9", "="}, 9, 0},
        MachineCase{"BasicStartsFromZero", Mode::Basic, kDec, {"-", "4", "="}, -4, 0},
        MachineCase{"BasicFunctionAtOnce", Mode::Basic, kDec, {"2", "+", "9", "sqrt", "="}, 5, 0},
        MachineCase{"BasicTenToThePower",
                    Mode::Basic,
                    kDec,
                    {"2", "+", "3", "Pop", "Drop", "10", "^", "3", "DoNothing", "="},
                    1002,
                    0},
        MachineCase{"BasicReciprocal", Mode::Basic, kDec, {"2", "*", "4", "^", "1", kSign, "DoNothing", "="}, 0.5, 0},
        MachineCase{"BasicDivisionError", Mode::Basic, kDec, {"1", "/", "0", "="}, 0, -5}),
    [](const ::testing::TestParamInfo<MachineCase>& info) { return std::string(info.param.name); });

TEST(BasicMachine, ErrorInEqualsForgetsTheRepeat)
{
    Engine engine;
    for (const char* token : {"2", "+", "3", "="})
        engine.basic.stepBasic(engine, token, kDec);
    engine.basic.reset();
    for (const char* token : {"1", "/", "0", "="})
        engine.basic.stepBasic(engine, token, kDec);
    EXPECT_EQ(engine.error(), -5);
    engine.basic.reset();
    const CalcValue again = engine.basic.stepBasic(engine, "=", kDec);
    EXPECT_EQ(engine.error(), 0);
    EXPECT_EQ(again.re, 0.0);
}

TEST(BasicMachine, StackHasAFixedCapacity)
{
    Engine engine;
    for (std::size_t i = 0; i < BasicMachine::kCapacity; ++i) {
        engine.basic.stepRpn(engine, "1", kDec);
        engine.basic.stepRpn(engine, "(", kDec);
    }
    EXPECT_EQ(engine.error(), 0);
    engine.basic.stepRpn(engine, "1", kDec);
    EXPECT_EQ(engine.error(), -7);
    EXPECT_EQ(engine.basic.count(), BasicMachine::kCapacity);
}

}  // namespace
