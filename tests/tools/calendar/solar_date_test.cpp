#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "day_number.h"
#include "solar_date.h"

namespace {

SolarDate at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    return SolarDate::unchecked(y, mo, d, h, mi, s);
}

TEST(DayNumber, KnownDays)
{
    struct Case {
        int y, m, d;
        std::int32_t number;
    };
    const Case cases[] = {{1899, 12, 30, 0},   {1899, 12, 29, -1},   {1900, 1, 1, 2},        {1900, 3, 1, 61},
                          {2000, 1, 1, 36526}, {100, 1, 1, -657434}, {9999, 12, 31, 2958465}};
    for (const Case& c : cases)
        EXPECT_EQ(dayNumberOfDate(c.y, c.m, c.d), c.number) << c.y << "-" << c.m << "-" << c.d;
}

TEST(DayNumber, RejectsDatesThatDoNotExistOrLieOutsideTheRange)
{
    struct Case {
        int y, m, d;
    };
    const Case cases[] = {{2001, 2, 29}, {1900, 2, 29}, {2000, 2, 30}, {2000, 4, 31}, {2000, 0, 1},
                          {2000, 13, 1}, {2000, 1, 0},  {99, 12, 31},  {10000, 1, 1}};
    for (const Case& c : cases)
        EXPECT_FALSE(dayNumberOfDate(c.y, c.m, c.d)) << c.y << "-" << c.m << "-" << c.d;
    EXPECT_FALSE(dayNumberFromFields({2000, 1, 1, 24, 0, 0}));
    EXPECT_FALSE(dayNumberFromFields({2000, 1, 1, 0, 60, 0}));
}

TEST(DayNumber, EveryDayOfTheRangeRoundTrips)
{
    SolarDate date = at(kFirstDayNumberYear, 1, 1);
    std::int32_t expected = *dayNumberOfDate(kFirstDayNumberYear, 1, 1);
    for (; date.year() <= kLastDayNumberYear; date.nextDay(), ++expected) {
        const auto number = dayNumberOfDate(date.year(), date.month(), date.day());
        ASSERT_EQ(number, expected) << date.year() << "-" << date.month() << "-" << date.day();
        const auto fields = fieldsFromDayNumber(*number);
        ASSERT_TRUE(fields);
        ASSERT_EQ(*fields, (CalendarFields{date.year(), date.month(), date.day(), 0, 0, 0}));
    }
    EXPECT_EQ(expected, 2958466);
}

TEST(DayNumber, TimeIsTheFractionOnOneStraightLine)
{
    struct Case {
        CalendarFields fields;
        double number;
    };
    const Case cases[] = {{{1899, 12, 30, 6, 0, 0}, 0.25},
                          {{1899, 12, 29, 6, 0, 0}, -0.75},
                          {{2000, 1, 1, 12, 0, 0}, 36526.5},
                          {{2000, 1, 1, 23, 59, 59}, 36526 + 86399.0 / 86400}};
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(*dayNumberFromFields(c.fields), c.number);
        EXPECT_EQ(fieldsFromDayNumber(c.number), c.fields);
    }
    // Half a second before midnight rounds into the next day.
    EXPECT_EQ(fieldsFromDayNumber(36527 - 0.4 / 86400), (CalendarFields{2000, 1, 2, 0, 0, 0}));
}

TEST(DayNumber, FarOutsideTheRangeFailsCleanly)
{
    for (const double number :
         {std::nan(""), std::numeric_limits<double>::infinity(), -1e300, 1e300, -657434.5, 2958466.0})
        EXPECT_FALSE(fieldsFromDayNumber(number)) << number;
}

TEST(SolarDate, LeapYears)
{
    struct Case {
        int year;
        bool leap;
    };
    for (const Case& c : {Case{1900, false}, Case{2000, true}, Case{2100, false}, Case{2024, true}, Case{2023, false},
                          Case{1600, true}, Case{0, true}, Case{-4, true}, Case{-1, false}})
        EXPECT_EQ(SolarDate::isLeapYear(c.year), c.leap) << c.year;
}

TEST(SolarDate, MakeDefaultsAndSetClamps)
{
    struct Case {
        int in[6];
        int made[6];
        int set[6];
    };
    const Case cases[] = {
        {{2001, 2, 29, 0, 0, 0}, {2001, 2, 1, 0, 0, 0}, {2001, 2, 28, 0, 0, 0}},
        {{2000, 2, 31, 0, 0, 0}, {2000, 2, 1, 0, 0, 0}, {2000, 2, 29, 0, 0, 0}},
        {{2000, 2, 29, 0, 0, 0}, {2000, 2, 29, 0, 0, 0}, {2000, 2, 29, 0, 0, 0}},
        {{2000, 1, 1, 24, 60, -1}, {2000, 1, 1, 0, 0, 0}, {2000, 1, 1, 23, 59, 0}},
        {{2000, 13, 0, 5, 6, 7}, {2000, 1, 1, 5, 6, 7}, {2000, 12, 1, 5, 6, 7}},
        {{2000, 0, 31, 0, 0, 0}, {2000, 1, 31, 0, 0, 0}, {2000, 1, 31, 0, 0, 0}},
        {{-7, 4, 31, 0, 0, 60}, {-7, 4, 1, 0, 0, 0}, {-7, 4, 30, 0, 0, 59}},
    };
    for (const Case& c : cases) {
        const auto& i = c.in;
        EXPECT_EQ(SolarDate::make(i[0], i[1], i[2], i[3], i[4], i[5]),
                  at(c.made[0], c.made[1], c.made[2], c.made[3], c.made[4], c.made[5]))
            << i[0] << "-" << i[1] << "-" << i[2];
        SolarDate set;
        set.set(i[0], i[1], i[2], i[3], i[4], i[5]);
        EXPECT_EQ(set, at(c.set[0], c.set[1], c.set[2], c.set[3], c.set[4], c.set[5]))
            << i[0] << "-" << i[1] << "-" << i[2];
    }
}

TEST(SolarDate, NormalizeClampsAndTellsWhetherAnythingChanged)
{
    SolarDate date = at(0, 14, 40, 25, -3, 61);
    EXPECT_TRUE(date.normalize());
    EXPECT_EQ(date, at(1, 12, 31, 23, 0, 59));
    EXPECT_FALSE(date.normalize());

    SolarDate leap = at(2001, 2, 29, 12, 0, 0);
    EXPECT_TRUE(leap.normalize());
    EXPECT_EQ(leap, at(2001, 2, 28, 12, 0, 0));
}

TEST(SolarDate, DayStepping)
{
    struct Case {
        SolarDate from, next, prev;
    };
    const Case cases[] = {
        {at(2000, 3, 1), at(2000, 3, 2), at(2000, 2, 29)},    {at(1900, 3, 1), at(1900, 3, 2), at(1900, 2, 28)},
        {at(2000, 1, 1), at(2000, 1, 2), at(1999, 12, 31)},   {at(2000, 2, 1), at(2000, 2, 2), at(2000, 1, 31)},
        {at(1999, 12, 31), at(2000, 1, 1), at(1999, 12, 30)}, {at(2000, 2, 28), at(2000, 2, 29), at(2000, 2, 27)},
        {at(2100, 2, 28), at(2100, 3, 1), at(2100, 2, 27)},   {at(1, 1, 1), at(1, 1, 2), at(0, 12, 31)},
    };
    for (const Case& c : cases) {
        SolarDate next = c.from, prev = c.from;
        next.nextDay();
        prev.prevDay();
        EXPECT_EQ(next, c.next) << c.from.year() << "-" << c.from.month() << "-" << c.from.day();
        EXPECT_EQ(prev, c.prev) << c.from.year() << "-" << c.from.month() << "-" << c.from.day();
    }
}

// addDays jumps; it must land where stepping one day at a time lands.
TEST(SolarDate, AddDaysLandsWhereSteppingLands)
{
    for (const SolarDate& start : {at(2000, 2, 29, 7, 8, 9), at(1899, 12, 30), at(-1, 3, 1), at(2023, 12, 31)}) {
        SolarDate forward = start, backward = start;
        for (int n = 1; n <= 1500; ++n) {
            forward.nextDay();
            backward.prevDay();
            SolarDate jumped = start;
            jumped.addDays(n);
            ASSERT_EQ(jumped, forward) << n;
            jumped = start;
            jumped.subDays(n);
            ASSERT_EQ(jumped, backward) << n;
        }
    }
    // Fields out of range step by the calendar rules first: 40 January steps to 1 February.
    SolarDate odd = at(2000, 1, 40);
    odd.addDays(2);
    EXPECT_EQ(odd, at(2000, 2, 2));
}

TEST(SolarDate, SteppingStopsAtTheEndsOfTheIntYears)
{
    SolarDate last = at(INT_MAX, 12, 31, 23, 59, 59);
    last.nextDay();
    EXPECT_EQ(last, at(INT_MAX, 12, 31, 23, 59, 59));
    EXPECT_EQ(last.addSeconds(1), last);
    last.addDays(LLONG_MAX);
    EXPECT_EQ(last, at(INT_MAX, 12, 31, 23, 59, 59));

    SolarDate first = at(INT_MIN, 1, 1);
    first.addDays(LLONG_MIN);
    EXPECT_EQ(first, at(INT_MIN, 1, 1));
    EXPECT_EQ(first.subSeconds(1), first);

    SolarDate far = at(2000, 1, 1);
    far.addDays(INT_MAX);
    EXPECT_EQ(SolarDate::daysBetween(far, at(2000, 1, 1)), INT_MAX);
}

TEST(SolarDate, MovingByHoursMinutesAndSeconds)
{
    const SolarDate start = at(2000, 2, 28, 23, 59, 30);
    EXPECT_EQ(start.addSeconds(30), at(2000, 2, 29, 0, 0, 0));
    EXPECT_EQ(start.addSeconds(86400 + 3600 + 61), at(2000, 3, 1, 1, 0, 31));
    EXPECT_EQ(start.subSeconds(86400 * 59 + 31), at(1999, 12, 31, 23, 58, 59));
    EXPECT_EQ(start.addSeconds(-31), at(2000, 2, 28, 23, 58, 59));
    EXPECT_EQ(start, at(2000, 2, 28, 23, 59, 30));  // addSeconds leaves the date alone

    struct Case {
        bool hours;
        int n;
        SolarDate expected;
    };
    const Case cases[] = {
        {true, 1, at(2000, 2, 29, 0, 59, 30)},       {true, 49, at(2000, 3, 2, 0, 59, 30)},
        {true, -24, at(2000, 2, 27, 23, 59, 30)},    {true, -50, at(2000, 2, 26, 21, 59, 30)},
        {false, 1, at(2000, 2, 29, 0, 0, 30)},       {false, 1441, at(2000, 3, 1, 0, 0, 30)},
        {false, -1500, at(2000, 2, 27, 22, 59, 30)}, {false, 0, start},
    };
    for (const Case& c : cases) {
        SolarDate moved = start;
        if (c.hours)
            moved.addHours(c.n);
        else
            moved.addMinutes(c.n);
        EXPECT_EQ(moved, c.expected) << (c.hours ? "hours " : "minutes ") << c.n;
    }
}

TEST(SolarDate, WeekdaysOfKnownDates)
{
    struct Case {
        SolarDate date;
        int mondayFirst;
        const char16_t* name;
    };
    const Case cases[] = {
        {at(1899, 12, 30), 6, u"Sat"}, {at(2000, 1, 1), 6, u"Sat"}, {at(2000, 2, 29), 2, u"Tue"},
        {at(2000, 3, 1), 3, u"Wed"},   {at(1900, 1, 1), 1, u"Mon"}, {at(2024, 3, 17), 7, u"Sun"},
        {at(1969, 7, 20), 7, u"Sun"},  {at(2100, 1, 1), 5, u"Fri"}, {at(1582, 10, 15), 5, u"Fri"},
        {at(0, 1, 1), 6, u"Sat"},      {at(-400, 1, 1), 6, u"Sat"}, {at(12000, 1, 1), 6, u"Sat"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.date.weekday(false), c.mondayFirst) << c.date.year();
        EXPECT_EQ(c.date.weekday(true), c.mondayFirst % 7) << c.date.year();
        EXPECT_EQ(c.date.weekdayName(), c.name) << c.date.year();
    }
    EXPECT_EQ(sundayZeroWeekdayName(0), u"Sun");
    EXPECT_EQ(sundayZeroWeekdayName(6), u"Sat");
    EXPECT_EQ(sundayZeroWeekdayName(7), u"");
}

// The century rule against a plain count of days, for every day of years 1..9999 and a few
// centuries before year 1.
TEST(SolarDate, WeekdayAgreesWithTheDayCountEverywhere)
{
    for (const int firstYear : {-1000, 1}) {
        SolarDate date = at(firstYear, 1, 1);
        const int lastYear = firstYear < 0 ? 1 : 9999;
        // 1 January 1970 was a Thursday (4).
        std::int64_t count = daysFromCivil(firstYear, 1, 1);
        for (; date.year() <= lastYear; date.nextDay(), ++count) {
            const int expected = static_cast<int>(((count + 3) % 7 + 7) % 7) + 1;
            ASSERT_EQ(date.weekday(false), expected) << date.year() << "-" << date.month() << "-" << date.day();
        }
    }
}

TEST(SolarDate, DaysBetweenIgnoresTheTimeOfDay)
{
    struct Case {
        SolarDate a, b;
        std::int64_t days;
    };
    const Case cases[] = {
        {at(2000, 12, 31, 23, 59), at(2000, 1, 1, 0, 0), 365},
        {at(2000, 1, 1, 0, 0), at(2000, 12, 31, 23, 59), -365},
        {at(2000, 1, 1, 23, 59, 59), at(2000, 1, 1), 0},
        {at(2000, 1, 1), at(1999, 12, 31, 23, 59, 59), 1},
        {at(2001, 3, 1), at(2001, 2, 28), 1},
        {at(2101, 1, 1), at(2001, 1, 1), 36524},
        {at(1, 1, 1), at(0, 1, 1), 366},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SolarDate::daysBetween(c.a, c.b), c.days) << c.a.year() << " " << c.b.year();
}

TEST(SolarDate, IsLaterComparesFieldByField)
{
    const SolarDate base = at(2000, 6, 15, 12, 30, 30);
    EXPECT_TRUE(SolarDate::isLater(at(2000, 6, 15, 12, 30, 31), base));
    EXPECT_FALSE(SolarDate::isLater(base, at(2000, 6, 15, 12, 30, 31)));
    EXPECT_FALSE(SolarDate::isLater(base, base));
    EXPECT_TRUE(SolarDate::isLater(at(2001, 1, 1), base));
    EXPECT_TRUE(SolarDate::isLater(base, at(2000, 5, 31, 23, 59, 59)));
    EXPECT_TRUE(base == at(2000, 6, 15, 12, 30, 30));
    EXPECT_TRUE(base != at(2000, 6, 15, 12, 30, 29));
}

TEST(SolarDate, NowReadsTheGivenClock)
{
    EXPECT_EQ(SolarDate::now([] { return CalendarFields{2024, 3, 17, 8, 9, 10}; }), at(2024, 3, 17, 8, 9, 10));
    // A leap second reading is no field value.
    EXPECT_EQ(SolarDate::now([] { return CalendarFields{2016, 12, 31, 23, 59, 60}; }), at(2016, 12, 31, 23, 59, 0));
}

TEST(DateText, FollowsTheDateOrder)
{
    EXPECT_EQ(dateOrderOf(OutputFormat::European), DateOrder::DayFirst);
    EXPECT_EQ(dateOrderOf(OutputFormat::UnitedStates), DateOrder::MonthFirst);
    EXPECT_EQ(formatDate(DateOrder::MonthFirst, {2024, 3, 7}), u"3/7/2024");
    EXPECT_EQ(formatDate(DateOrder::DayFirst, {2024, 3, 7}), u"7/3/2024");
    EXPECT_EQ(parseDate(u"3/7/2024", DateOrder::MonthFirst), (DateParts{2024, 3, 7}));
    EXPECT_EQ(parseDate(u"3/7/2024", DateOrder::DayFirst), (DateParts{2024, 7, 3}));
    EXPECT_EQ(parseDate(u" 01/ 02/1980 tail", DateOrder::MonthFirst), (DateParts{1980, 1, 2}));
    const char16_t* bad[] = {u"", u"1/2", u"1 /2/3", u"a/2/3", u"1/2/x", u"1/2/99999999999"};
    for (std::size_t i = 0; i < std::size(bad); ++i)
        EXPECT_FALSE(parseDate(bad[i], DateOrder::MonthFirst)) << "case " << i;
}

TEST(DateText, ScanIntReadsLikePercentD)
{
    EXPECT_EQ(scanInt(u"  -12x"), -12);
    EXPECT_EQ(scanInt(u"+7"), 7);
    EXPECT_EQ(scanInt(u"-2147483648"), INT_MIN);
    EXPECT_FALSE(scanInt(u"2147483648"));
    EXPECT_FALSE(scanInt(u"-"));
    EXPECT_FALSE(scanInt(u"mm"));
}

}  // namespace
