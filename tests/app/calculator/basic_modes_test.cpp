#include <gtest/gtest.h>

#include <vector>

#include "calculator.h"
#include "key_codes.h"
#include "key_presses.h"

namespace {

struct BasicCase {
    const char* name;
    InputMode mode;
    int category;
    std::vector<int> codes;
    std::u16string line;
    std::u16string result;
};

class BasicKeys : public ::testing::TestWithParam<BasicCase> {};

TEST_P(BasicKeys, ShowTheValueOnTheLine)
{
    const BasicCase& c = GetParam();
    Calculator calculator({});
    calculator.start();
    calculator.setPreferredInputMode(c.mode);
    calculator.switchCategory(c.category);
    for (int code : c.codes)
        calculator.pressKey(code);
    EXPECT_EQ(calculator.display().getInputText(), c.line);
    EXPECT_EQ(calculator.display().resultText(), c.result);
}

constexpr InputMode kRpn = InputMode::BasicRpn;
constexpr InputMode kStandard = InputMode::BasicStandard;

INSTANTIATE_TEST_SUITE_P(
    Modes, BasicKeys,
    ::testing::Values(
        BasicCase{"RpnEnterAndAdd", kRpn, 0, keys("3(4+"), u"7", u""},
        BasicCase{"RpnDigits", kRpn, 0, keys("12"), u"12", u""},
        BasicCase{"RpnFraction", kRpn, 0, keys("1.25"), u"1.25", u""},
        BasicCase{"RpnPower", kRpn, 0, keys("2(3^"), u"8", u""},
        BasicCase{"RpnSquare", kRpn, 0, keys("2", KeyCode::kSquare), u"4", u""},
        BasicCase{"RpnCubeRoot", kRpn, 0, keys("8", KeyCode::kCubeRoot), u"2", u""},
        BasicCase{"RpnReciprocalKeepsX", kRpn, 1, keys("4", KeyCode::kReciprocal, "+"), u"4.25", u""},
        BasicCase{"RpnTenToThePower", kRpn, 0, keys("2", KeyCode::kTenToThePower), u"100", u""},
        BasicCase{"RpnMemoryRoundTrip", kRpn, 0, keys("2.5", KeyCode::kMemoryStore, KeyCode::kMemoryRecall, "+"), u"5",
                  u""},
        BasicCase{"RpnSignAndSqrtIsComplex", kRpn, 0, keys("6", KeyCode::kSign, KeyCode::kSquareRoot),
                  u"Invalid parameter(s)", u""},
        BasicCase{"RpnTooFewValues", kRpn, 0, keys("3*"), u"Syntax error", u""},
        BasicCase{"RpnGrouping", kRpn, 0, keys("10000"), u"10\u00B8000", u""},
        BasicCase{"RpnHexDigits", kRpn, 2,
                  keys(KeyCode::kRadixHex, KeyCode::kWordSize8, KeyCode::kHexF, KeyCode::kHexF), u"FF", u""},
        BasicCase{"RpnBinaryRefusesFive", kRpn, 2, keys(KeyCode::kRadixBin, "150"), u"00000010", u""},
        BasicCase{"RpnRadixCycleConverts", kRpn, 2, keys(KeyCode::kRadixDec, "255", KeyCode::kRadixCycle), u"FF", u""},
        BasicCase{"StandardPrecedence", kStandard, 0, keys("2+3*4="), u"14", u""},
        BasicCase{"StandardShowsPendingOperator", kStandard, 0, keys("2+3*"), u"3", u"\u00D7"},
        BasicCase{"StandardRepeatEquals", kStandard, 0, keys("2+3=="), u"8", u""},
        BasicCase{"StandardTenToThePower", kStandard, 0, keys("2+3", KeyCode::kTenToThePower, "="), u"1\u00B8002", u""},
        BasicCase{"StandardReciprocal", kStandard, 0, keys("2*4", KeyCode::kReciprocal, "="), u"0.5", u""},
        BasicCase{"StandardCube", kStandard, 0, keys("2+2", KeyCode::kCube, "="), u"10", u""},
        BasicCase{"StandardDivisionError", kStandard, 0, keys("1/0="), u"Division error", u""},
        BasicCase{"StandardClearStartsAfresh", kStandard, 0, keys("2+", KeyCode::kClear, "3="), u"3", u""},
        BasicCase{"ToolCategoryRunsStringMode", kStandard, 3, keys("1+1="), u"1+1", u"2"}),
    [](const ::testing::TestParamInfo<BasicCase>& info) { return std::string(info.param.name); });

struct StackCase {
    const char* name;
    int category;
    std::vector<int> codes;
    std::vector<std::u16string> levels;  // four levels, the top first
};

class RpnStack : public ::testing::TestWithParam<StackCase> {};

TEST_P(RpnStack, ShowsTheTopLevels)
{
    const StackCase& c = GetParam();
    Calculator calculator({});
    calculator.start();
    calculator.setPreferredInputMode(InputMode::BasicRpn);
    calculator.switchCategory(c.category);
    for (int code : c.codes)
        calculator.pressKey(code);
    EXPECT_EQ(calculator.display().stackTexts(4), c.levels);
}

// "(" is the RPN Enter key.
INSTANTIATE_TEST_SUITE_P(
    Levels, RpnStack,
    ::testing::Values(StackCase{"FreshStackIsBlank", 0, {}, {u"", u"", u"", u""}},
                      StackCase{"EnterOpensTheNextLevel", 0, keys("1(2(3"), {u"3", u"2", u"1", u""}},
                      StackCase{"ZeroOnTheStackShows", 0, keys("0("), {u"0", u"", u"", u""}},
                      StackCase{"OperatorTakesTwoLevels", 0, keys("1(2(3+"), {u"5", u"1", u"", u""}},
                      StackCase{"DeeperLevelsAreNotShown", 0, keys("1(2(3(5(5"), {u"5", u"5", u"3", u"2"}},
                      StackCase{"ErrorStandsInForTheTop", 0, keys("1(0/"), {u"Division error", u"1", u"", u""}},
                      StackCase{"ClearEmptiesTheStack", 0, keys("1(2", KeyCode::kClear), {u"", u"", u"", u""}},
                      StackCase{"EveryLevelInTheRadix",
                                2,
                                keys(KeyCode::kRadixDec, "255(16", KeyCode::kRadixCycle),
                                {u"10", u"FF", u"", u""}}),
    [](const ::testing::TestParamInfo<StackCase>& info) { return std::string(info.param.name); });

}  // namespace
