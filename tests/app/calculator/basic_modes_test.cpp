#include <gtest/gtest.h>

#include <vector>

#include "key_codes.h"
#include "calculator.h"

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
    Calculator frame({});
    frame.start();
    frame.setPreferredInputMode(c.mode);
    frame.switchCategory(c.category);
    for (int code : c.codes)
        frame.pressKey(code);
    EXPECT_EQ(frame.display().getInputText(), c.line);
    EXPECT_EQ(frame.display().resultText(), c.result);
}

constexpr InputMode kRpn = InputMode::BasicRpn;
constexpr InputMode kStandard = InputMode::BasicStandard;

INSTANTIATE_TEST_SUITE_P(
    Modes, BasicKeys,
    ::testing::Values(
        BasicCase{"RpnEnterAndAdd", kRpn, 0, {12, 44, 5, 18}, u"7", u""},
        BasicCase{"RpnDigits", kRpn, 0, {10, 11}, u"12", u""},
        BasicCase{"RpnFraction", kRpn, 0, {10, 16, 11, 6}, u"1.25", u""},
        BasicCase{"RpnPower", kRpn, 0, {11, 44, 12, 30}, u"8", u""},
        BasicCase{"RpnSquare", kRpn, 0, {11, 31}, u"4", u""},
        BasicCase{"RpnCubeRoot", kRpn, 0, {1, 42}, u"2", u""},
        BasicCase{"RpnReciprocalKeepsX", kRpn, 1, {5, 131, 18}, u"4.25", u""},
        BasicCase{"RpnTenToThePower", kRpn, 0, {11, 38}, u"100", u""},
        BasicCase{"RpnMemoryRoundTrip", kRpn, 0, {11, 16, 6, 9, 14, 18}, u"5", u""},
        BasicCase{"RpnSignAndSqrtIsComplex", kRpn, 0, {7, 17, 41}, u"Invalid parameter(s)", u""},
        BasicCase{"RpnTooFewValues", kRpn, 0, {12, 8}, u"Syntax error", u""},
        BasicCase{"RpnGrouping", kRpn, 0, {10, 15, 15, 15, 15}, u"10\u00B8000", u""},
        BasicCase{"RpnHexDigits", kRpn, 2, {148, 138, 77, 77}, u"FF", u""},
        BasicCase{"RpnBinaryRefusesFive", kRpn, 2, {145, 10, 6, 15}, u"00000010", u""},
        BasicCase{"RpnRadixCycleConverts", kRpn, 2, {147, 11, 6, 6, 68}, u"FF", u""},
        BasicCase{"StandardPrecedence", kStandard, 0, {11, 18, 12, 8, 5, 19}, u"14", u""},
        BasicCase{"StandardShowsPendingOperator", kStandard, 0, {11, 18, 12, 8}, u"3", u"\u00D7"},
        BasicCase{"StandardRepeatEquals", kStandard, 0, {11, 18, 12, 19, 19}, u"8", u""},
        BasicCase{"StandardTenToThePower", kStandard, 0, {11, 18, 12, 38, 19}, u"1\u00B8002", u""},
        BasicCase{"StandardReciprocal", kStandard, 0, {11, 8, 5, 131, 19}, u"0.5", u""},
        BasicCase{"StandardCube", kStandard, 0, {11, 18, 11, 32, 19}, u"10", u""},
        BasicCase{"StandardDivisionError", kStandard, 0, {10, 3, 15, 19}, u"Division error", u""},
        BasicCase{"StandardClearStartsAfresh", kStandard, 0, {11, 18, 4, 12, 19}, u"3", u""},
        BasicCase{"ToolCategoryRunsStringMode", kStandard, 3, {10, 18, 10, 19}, u"1+1", u"2"}),
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
    Calculator frame({});
    frame.start();
    frame.setPreferredInputMode(InputMode::BasicRpn);
    frame.switchCategory(c.category);
    for (int code : c.codes)
        frame.pressKey(code);
    EXPECT_EQ(frame.display().stackTexts(4), c.levels);
}

// Key codes: 1 is 10, 2 is 11, 3 is 12, 5 is 6, 0 is 15, "(" (Enter) is 44.
INSTANTIATE_TEST_SUITE_P(
    Levels, RpnStack,
    ::testing::Values(
        StackCase{"FreshStackIsBlank", 0, {}, {u"", u"", u"", u""}},
        StackCase{"EnterOpensTheNextLevel", 0, {10, 44, 11, 44, 12}, {u"3", u"2", u"1", u""}},
        StackCase{"ZeroOnTheStackShows", 0, {15, 44}, {u"0", u"", u"", u""}},
        StackCase{"OperatorTakesTwoLevels", 0, {10, 44, 11, 44, 12, 18}, {u"5", u"1", u"", u""}},
        StackCase{"DeeperLevelsAreNotShown", 0, {10, 44, 11, 44, 12, 44, 6, 44, 6}, {u"5", u"5", u"3", u"2"}},
        StackCase{"ErrorStandsInForTheTop", 0, {10, 44, 15, 3}, {u"Division error", u"1", u"", u""}},
        StackCase{"ClearEmptiesTheStack", 0, {10, 44, 11, 4}, {u"", u"", u"", u""}},
        StackCase{"EveryLevelInTheRadix", 2, {147, 11, 6, 6, 44, 10, 7, 68}, {u"10", u"FF", u"", u""}}),
    [](const ::testing::TestParamInfo<StackCase>& info) { return std::string(info.param.name); });

}  // namespace
