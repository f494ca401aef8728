#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "calendar_key_presses.h"
#include "duration_fields.h"
#include "time_calculator.h"

namespace {

TEST(TimeType, SplitsTheTotalByUnitMode)
{
    struct Case {
        std::int64_t total;
        std::uint8_t mode;
        DurationFields expected;
    };
    const Case cases[] = {
        {169200, 0, {1, 23, 0, 0}},
        {169200, 1, {0, 47, 0, 0}},
        {169200, 2, {0, 0, 2820, 0}},
        {169200, 3, {0, 0, 0, 169200}},
        // Truncation towards zero: every field of a negative total is 0 or negative.
        {-90061, 0, {-1, -1, -1, -1}},
        {-59, 1, {0, 0, 0, -59}},
        {-3661, 2, {0, 0, -61, -1}},
    };
    for (const Case& c : cases) {
        Duration t(0, 0, 0, c.total, c.mode);
        t.splitByMode();
        EXPECT_EQ(fieldsOf(t), c.expected) << c.total << " mode " << int(c.mode);
        EXPECT_EQ(t.totalSeconds(), c.total);
    }
}

TEST(TimeType, SetPartsFoldsIntoTheModesFields)
{
    const DurationFields expected[] = {{1, 2, 3, 4}, {0, 26, 3, 4}, {0, 0, 1563, 4}, {0, 0, 0, 93784}};
    for (std::uint8_t mode = 0; mode < 4; ++mode) {
        Duration t(0, 0, 0, 0, mode);
        t.setParts(1, 2, 3, 4);
        EXPECT_EQ(fieldsOf(t), expected[mode]) << int(mode);
        EXPECT_EQ(t.unitMode(), mode);
    }
}

TEST(TimeType, UnitModeCyclesBackWithTheSameTotal)
{
    Duration t(0, 25, 90, 7);  // not split: 25 h 90 m as typed
    const std::int64_t total = t.totalSeconds();
    const std::uint8_t modes[] = {1, 2, 3, 0};
    for (const std::uint8_t mode : modes) {
        t.nextUnitMode();
        EXPECT_EQ(t.unitMode(), mode);
        EXPECT_EQ(t.totalSeconds(), total);
    }
    EXPECT_EQ(fieldsOf(t), (DurationFields{1, 2, 30, 7}));
    EXPECT_EQ(Duration(0, 0, 0, 0, 9).unitMode(), 0);
}

TEST(TimeType, ArithmeticSplitsByTheLeftModeAndCarriesModeZero)
{
    const Duration left(0, 0, 0, 100, 2);
    const Duration plus = left.plus(Duration(0, 0, 1, 0));
    EXPECT_EQ(fieldsOf(plus), (DurationFields{0, 0, 2, 40}));
    EXPECT_EQ(plus.unitMode(), 0);
    const Duration minus = left.minus(Duration(0, 0, 2, 0));
    EXPECT_EQ(fieldsOf(minus), (DurationFields{0, 0, 0, -20}));
    EXPECT_TRUE(minus.isNegative());
    EXPECT_FALSE(minus.isZero());
    // No overflow check: the 64-bit total wraps instead of trapping.
    const Duration top(0, 0, 0, std::numeric_limits<std::int64_t>::max(), 3);
    EXPECT_EQ(top.plus(Duration(0, 0, 0, 1)).totalSeconds(), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(Duration(0, 0, 0, -42).secondsText(), u"-42");
}

TEST(DurationEntry, DigitsFollowTheEntryRules)
{
    struct Case {
        const char* keys;
        const char16_t* days;
        const char16_t* hours;
    };
    const Case cases[] = {
        {"07", u"7", u"0"},                                 // "0" is replaced
        {"123456", u"12345", u"0"},                         // the sixth digit is ignored
        {"12R34", u"12", u"34"},    {"R5LR6", u"0", u"6"},  // moving onto hours again: the first digit replaces
        {"12LC", u"0", u"0"},                               // Left at the first cell stays; clearing gives "0"
    };
    for (const Case& c : cases) {
        TimeCalculator model;
        pressCalendarKeys(model, "D");  // From, days
        pressCalendarKeys(model, c.keys);
        EXPECT_EQ(model.fromEntry().cells()[0], c.days) << c.keys;
        EXPECT_EQ(model.fromEntry().cells()[2], c.hours) << c.keys;
    }
}

TEST(TimeCalculator, ComputesFromTwoFields)
{
    // From 1 h 30 m, To 2 d: Interval 1 d 22 h 30 m, or 167400 s in mode 3.
    TimeCalculator model;
    pressCalendarKeys(model, "UR1R30DD2");  // From hours and minutes; To days
    ASSERT_EQ(model.toEntry().cells()[0], u"2");
    ASSERT_FALSE(model.computeInterval());
    EXPECT_EQ(fieldsOf(model.intervalEntry().value()), (DurationFields{1, 22, 30, 0}));
    for (int i = 0; i < 3; ++i)
        model.intervalUnit();
    EXPECT_EQ(fieldsOf(model.intervalEntry().value()), (DurationFields{0, 0, 0, 167400}));
    ASSERT_FALSE(model.computeInterval());
    EXPECT_EQ(model.intervalEntry().cells()[6], u"167400");

    model.toUnit();  // mode 1: To = From + Interval = 48 h
    model.computeTo();
    EXPECT_EQ(fieldsOf(model.toEntry().value()), (DurationFields{0, 48, 0, 0}));
    ASSERT_FALSE(model.computeFrom());
    EXPECT_EQ(fieldsOf(model.fromEntry().value()), (DurationFields{0, 1, 30, 0}));
}

TEST(TimeCalculator, NegativeResultsShowAMessageAndChangeNothing)
{
    struct Case {
        const char* keys;
        bool interval;
        const char16_t* message;
        DurationFields result;
    };
    const Case cases[] = {
        // From and To equal: zero without message.
        {"DRR5UUDDRR5", true, nullptr, {0, 0, 0, 0}},
        // To one second less than From.
        {"DRRR1UUDDRRR0", true, u"From > To", {}},
        // Interval larger than To; then equal to To.
        {"DDR2DR1", false, u"From > Interval", {}},
        {"DDR2DR2", false, nullptr, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        TimeCalculator model;
        pressCalendarKeys(model, c.keys);
        // A marker value in the field that the command would overwrite.
        TimeCalculator marked = model;
        pressCalendarKeys(marked, c.interval ? "UUDRRRC7" : "UURRRC7");
        const auto message = c.interval ? marked.computeInterval() : marked.computeFrom();
        EXPECT_EQ(message.value_or(u"none"), c.message ? c.message : u"none") << c.keys;
        const DurationEntry& target = c.interval ? marked.intervalEntry() : marked.fromEntry();
        EXPECT_EQ(fieldsOf(target.value()), (c.message ? DurationFields{0, 0, 0, 7} : c.result)) << c.keys;
    }
}

TEST(TimeCalculator, TypedMinutesCountAsTyped)
{
    // 90 m in mode 0 counts as 5400 s in every operation.
    TimeCalculator model;
    pressCalendarKeys(model, "DDRR90");  // Interval minutes
    model.computeTo();
    EXPECT_EQ(model.toEntry().value().totalSeconds(), 5400);
    EXPECT_EQ(fieldsOf(model.toEntry().value()), (DurationFields{0, 1, 30, 0}));
    EXPECT_EQ(model.computeFrom().value_or(u"none"), u"none");
    EXPECT_TRUE(model.fromEntry().value().isZero());
    ASSERT_FALSE(model.computeInterval());
    EXPECT_EQ(model.intervalEntry().value().totalSeconds(), 5400);
}

}  // namespace
