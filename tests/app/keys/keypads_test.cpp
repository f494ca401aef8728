#include <gtest/gtest.h>

#include "key_codes.h"
#include "keypad_faces.h"
#include "keypads.h"

namespace {

constexpr int kDec = KeyCode::kRadixDec;
constexpr int kHex = KeyCode::kRadixHex;

TEST(FunctionKeypad, FirstAndSecondBlocks)
{
    struct Case {
        int category;
        int position;
        bool shifted;
        int radix;
        std::optional<int> code;
    };
    using namespace CategoryCode;
    const Case cases[] = {
        {kArithmetic, 5, false, kDec, 27},
        {kArithmetic, 5, true, kDec, 37},
        {kArithmetic, 3, false, kDec, KeyCode::kImaginary},
        {kArithmetic, 11, true, kDec, KeyCode::kPercent},
        {kArithmetic, 2, false, kDec, std::nullopt},
        {kArithmetic, 2, true, kDec, KeyCode::kVariable},
        {kArithmetic, 0, true, kDec, std::nullopt},
        {kTrigonometry, 2, false, kDec, KeyCode::kAngleCycle},
        {kTrigonometry, 2, true, kDec, KeyCode::kAngleCycle},
        {kTrigonometry, 11, false, kDec, KeyCode::kPi},
        {kTrigonometry, 10, true, kDec, 67},
        {kTrigonometry, 11, true, kDec, KeyCode::kReciprocal},
        {kBaseConversion, 0, false, kDec, KeyCode::kWordSizeCycle},
        {kBaseConversion, 6, false, kHex, KeyCode::kHexA},
        {kBaseConversion, 11, false, kHex, KeyCode::kHexF},
        {kBaseConversion, 6, false, kDec, std::nullopt},
        {kBaseConversion, 2, false, kDec, KeyCode::kRadixCycle},
        {kBaseConversion, 3, false, kHex, 69},
        {kBaseConversion, 3, true, kDec, 78},
        {kBaseConversion, 5, true, kDec, 37},
        {kBaseConversion, 6, true, kDec, 80},
        {kBaseConversion, 11, true, kHex, 85},
        {kBaseConversion, 1, false, kDec, std::nullopt},
        {kStatistics, 4, false, kDec, 86},
        {kStatistics, 11, false, kDec, 93},
        {kStatistics, 5, true, kDec, 94},
        {kStatistics, 11, true, kDec, 100},
        {kStatistics, 4, true, kDec, 86},
        {kStatistics, 3, false, kDec, std::nullopt},
        {kMatrices, 2, false, kDec, 101},
        {kMatrices, 11, true, kDec, 110},
        {kMatrices, 1, false, kDec, std::nullopt},
        {kFinance, 4, false, kDec, 111},
        {kFinance, 11, false, kDec, 118},
        {kFinance, 3, false, kDec, std::nullopt},
        {kTip, 5, false, kDec, std::nullopt},
        {kArithmetic, 12, false, kDec, std::nullopt},
        {kArithmetic, -1, true, kDec, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(functionKeypadCode(c.category, c.position, c.shifted, c.radix), c.code)
            << "category " << c.category << " position " << c.position << " shifted " << c.shifted;
    }
}

TEST(BasicKeypad, ShiftGivesSecondFunctionsAndBaseConversionDropsTheDecimal)
{
    struct Case {
        int position;
        bool shifted;
        int category;
        std::optional<int> code;
    };
    using namespace CategoryCode;
    const Case cases[] = {
        {19, false, kArithmetic, KeyCode::kEquals},       {19, true, kArithmetic, KeyCode::kAnswer},
        {9, true, kArithmetic, KeyCode::kNextMemory},     {14, true, kArithmetic, KeyCode::kClearMemory},
        {14, false, kArithmetic, KeyCode::kMemoryRecall}, {0, true, kArithmetic, 0},
        {16, false, kArithmetic, KeyCode::kDecimal},      {16, false, kBaseConversion, std::nullopt},
        {16, true, kBaseConversion, std::nullopt},        {20, false, kArithmetic, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(basicKeypadCode(Orientation::Portrait, c.position, c.shifted, c.category), c.code)
            << "position " << c.position << " shifted " << c.shifted;
    }
}

TEST(BasicKeypad, LandscapeKeysSendTheCodeOfTheirLabel)
{
    const int keys = kLandscapeBasicColumns * kLandscapeBasicRows;
    ASSERT_EQ(keys, static_cast<int>(kLandscapeBasicKeyLabels.size()));
    std::vector<bool> seen(kBasicKeyLabels.size(), false);
    for (int position = 0; position < keys; ++position) {
        const std::optional<int> code =
            basicKeypadCode(Orientation::Landscape, position, false, CategoryCode::kArithmetic);
        ASSERT_TRUE(code) << position;
        EXPECT_EQ(kBasicKeyLabels[static_cast<std::size_t>(*code)],
                  kLandscapeBasicKeyLabels[static_cast<std::size_t>(position)]);
        seen[static_cast<std::size_t>(*code)] = true;
    }
    EXPECT_EQ(std::count(seen.begin(), seen.end(), true), 20);

    EXPECT_EQ(basicKeypadCode(Orientation::Landscape, 0, false, 0), 7);
    EXPECT_EQ(basicKeypadCode(Orientation::Landscape, 5, false, 0), KeyCode::kClear);
    EXPECT_EQ(basicKeypadCode(Orientation::Landscape, 20, true, 0), KeyCode::kAnswer);
    EXPECT_EQ(basicKeypadCode(Orientation::Landscape, 16, false, CategoryCode::kBaseConversion), std::nullopt);
    EXPECT_EQ(basicKeypadCode(Orientation::Landscape, 21, false, 0), std::nullopt);
}

// A wide key covers whole cells of one row, every cell it covers sends its code, and only the
// landscape clear key is wide.
TEST(BasicKeypad, SpansCoverEachRowOnceWithTwinKeys)
{
    for (const Orientation orientation : {Orientation::Portrait, Orientation::Landscape}) {
        const KeypadGrid grid = orientation == Orientation::Portrait ? kBasicPortraitGrid : kBasicLandscapeGrid;
        const std::vector<int> spans = basicKeypadSpans(orientation);
        ASSERT_EQ(static_cast<int>(spans.size()), grid.columns * grid.rows);
        int wide = 0;
        for (int row = 0; row < grid.rows; ++row) {
            int column = 0;
            while (column < grid.columns) {
                const int first = row * grid.columns + column;
                const int span = spans[static_cast<std::size_t>(first)];
                ASSERT_GE(span, 1) << "position " << first;
                ASSERT_LE(column + span, grid.columns) << "position " << first;
                for (int covered = first + 1; covered < first + span; ++covered) {
                    EXPECT_EQ(spans[static_cast<std::size_t>(covered)], 0);
                    EXPECT_EQ(basicKeypadCode(orientation, covered, false, 0),
                              basicKeypadCode(orientation, first, false, 0));
                }
                wide += span > 1;
                column += span;
            }
        }
        EXPECT_EQ(wide, orientation == Orientation::Landscape ? 1 : 0);
    }
}

TEST(ThreeRowKeypad, ThirdRowEditsTheLine)
{
    EXPECT_EQ(threeRowKeypadCode(11), std::nullopt);
    EXPECT_EQ(threeRowKeypadCode(12), KeyCode::kOpenParenthesis);
    EXPECT_EQ(threeRowKeypadCode(15), KeyCode::kDelete);
    EXPECT_EQ(threeRowKeypadCode(17), KeyCode::kCursorRight);
    EXPECT_EQ(threeRowKeypadCode(18), std::nullopt);
}

TEST(CalculusList, EntriesFeedTheirInsertions)
{
    struct Case {
        std::u16string_view text;
        std::optional<int> code;
    };
    const Case cases[] = {
        {u"Fibonacci", KeyCode::kFibonacci},
        {u"Summation", KeyCode::kSummation},
        {u"Product", KeyCode::kProduct},
        {u"Root", KeyCode::kFunctionRoot},
        {u"Evaluation", KeyCode::kFunctionEvaluation},
        {u"Integration", KeyCode::kIntegral},
        {u"Differentiation", KeyCode::kDerivative},
        {u"integration", std::nullopt},
        {u"Fibonaci", std::nullopt},
        {u"", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(calculusEntryCode(c.text), c.code);
    }
    ASSERT_EQ(kCalculusList.size(), 7u);
    EXPECT_EQ(kCalculusList.front().text, u"Fibonacci");
    EXPECT_EQ(kCalculusList.back().text, u"Differentiation");
}

}  // namespace
