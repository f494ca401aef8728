#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "calendar_key_presses.h"
#include "date_calculator.h"
#include "duration_fields.h"
#include "lunar_date.h"

namespace {

SolarDate at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    return SolarDate::unchecked(y, mo, d, h, mi, s);
}

// A window whose clock reads `now`, so that "From now" and "To now" set any date.
struct Fixture {
    CalendarFields now{2024, 5, 6, 7, 8, 9};
    DateCalculator model{DateOrder::MonthFirst, [this] { return now; }};

    void setFrom(const SolarDate& d)
    {
        now = {d.year(), d.month(), d.day(), d.hour(), d.minute(), d.second()};
        model.fromNow();
    }
    void setTo(const SolarDate& d)
    {
        now = {d.year(), d.month(), d.day(), d.hour(), d.minute(), d.second()};
        model.toNow();
    }
    void press(const char* keys) { pressCalendarKeys(model, keys); }
};

TEST(DateCalculator, IntervalIsTheExactDifference)
{
    const char16_t* const earlier = u"The \"To\" date is earlier than the \"From\" date.";
    struct Case {
        SolarDate from, to;
        int mode;
        DurationFields expected;
        const char16_t* message;
    };
    const Case cases[] = {
        {at(2007, 1, 1, 10), at(2007, 1, 3, 9), 0, {1, 23, 0, 0}, nullptr},
        {at(2007, 1, 1, 10), at(2007, 1, 3, 9), 1, {0, 47, 0, 0}, nullptr},
        {at(2007, 1, 1, 10), at(2007, 1, 3, 9), 2, {0, 0, 2820, 0}, nullptr},
        {at(2007, 1, 1, 10), at(2007, 1, 3, 9), 3, {0, 0, 0, 169200}, nullptr},
        {at(2007, 1, 1, 10, 30), at(2007, 1, 2, 10), 0, {0, 23, 30, 0}, nullptr},
        {at(2007, 12, 31, 23, 59, 59), at(2008, 1, 1), 0, {0, 0, 0, 1}, nullptr},
        {at(2008, 2, 28, 12), at(2008, 3, 1, 12), 0, {2, 0, 0, 0}, nullptr},
        {at(2007, 1, 1, 10), at(2007, 1, 1, 10), 0, {0, 0, 0, 0}, nullptr},
        {at(2007, 1, 1, 10), at(2007, 1, 1, 9, 59, 59), 0, {0, 0, 0, 0}, earlier},
        {at(2007, 1, 1, 10), at(2006, 12, 31, 11), 3, {0, 0, 0, 0}, earlier},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.setFrom(c.from);
        f.setTo(c.to);
        f.press("DD9");  // an old interval that a zero result must replace
        for (int i = 0; i < c.mode; ++i)
            f.model.intervalUnit();
        const auto message = f.model.computeInterval();
        EXPECT_EQ(fieldsOf(f.model.intervalEntry().value()), c.expected) << c.to.day() << " mode " << c.mode;
        EXPECT_EQ(message.value_or(u"none"), c.message ? c.message : u"none");
        EXPECT_EQ(f.model.intervalEntry().unitMode(), c.mode);
    }
}

TEST(DateCalculator, MovesADateByTheIntervalAsHeld)
{
    struct Case {
        SolarDate start;
        int mode;
        const char* keys;
        bool forward;
        SolarDate expected;
    };
    const Case cases[] = {
        {at(2007, 1, 31), 3, "DDRRR86400", true, at(2007, 2, 1)},
        {at(2008, 3, 1), 0, "DD1", false, at(2008, 2, 29)},
        // 25 hours typed in mode 0 stay 25 hours.
        {at(2007, 1, 1), 0, "DDR25", true, at(2007, 1, 2, 1)},
        {at(2007, 1, 1), 0, "DDR25", false, at(2006, 12, 30, 23)},
        {at(2007, 3, 1, 0, 0, 30), 0, "DD1R1R1R45", false, at(2007, 2, 27, 22, 58, 45)},
    };
    for (const Case& c : cases) {
        Fixture f;
        for (int i = 0; i < c.mode; ++i)
            f.model.intervalUnit();
        f.press(c.keys);
        if (c.forward) {
            f.setFrom(c.start);
            f.model.computeTo();
            EXPECT_EQ(f.model.toDate(), c.expected) << c.keys;
        } else {
            f.setTo(c.start);
            f.model.computeFrom();
            EXPECT_EQ(f.model.fromDate(), c.expected) << c.keys;
        }
    }
}

TEST(DateCalculator, LunarFieldsAreConvertedBothWays)
{
    Fixture f;
    const SolarDate from = at(2023, 1, 20, 6, 30);
    f.setFrom(from);
    f.model.toggleFromLunar();
    ASSERT_TRUE(f.model.fromIsLunar());
    EXPECT_EQ(f.model.fromEntry().value(), lunarEntryFields(LunarDate::solarToLunar(from)));
    EXPECT_EQ(f.model.fromDate(), from);

    // To is lunar too: the result shows in lunar form and means From + 1 d.
    f.model.toggleToLunar();
    f.press("DD1");
    f.model.computeTo();
    EXPECT_EQ(f.model.toEntry().value(), lunarEntryFields(LunarDate::solarToLunar(at(2023, 1, 21, 6, 30))));
    ASSERT_FALSE(f.model.computeInterval());
    EXPECT_EQ(fieldsOf(f.model.intervalEntry().value()), (DurationFields{1, 0, 0, 0}));

    f.model.toggleFromLunar();
    EXPECT_FALSE(f.model.fromIsLunar());
    EXPECT_EQ(f.model.fromEntry().value(), from);
}

TEST(DateCalculator, ClearedDateCellTakesFreshDigits)
{
    Fixture f;
    f.setFrom(at(2007, 1, 12, 10));
    f.press("DRC");  // From's second cell: the day under MonthFirst
    EXPECT_EQ(f.model.fromCells()[4], u"");
    EXPECT_EQ(f.model.fromDate(), at(2007, 1, 12, 10));
    f.press("5");
    EXPECT_EQ(f.model.fromCells()[4], u"05");
    EXPECT_EQ(f.model.fromDate(), at(2007, 1, 5, 10));

    f.press("RC");  // the year: a fresh "7" is year 7
    f.press("7");
    EXPECT_EQ(f.model.fromDate().year(), 7);

    f.press("DC");  // Interval days: "0"
    EXPECT_EQ(f.model.intervalEntry().cells()[0], u"0");
}

// Intervals of 200 years in every unit mode: 73049 days, 6311433600 seconds, far past the
// 32-bit range, move From to To and back exactly.
TEST(DateCalculator, TwoHundredYearsInEveryUnitMode)
{
    struct Case {
        SolarDate from, to;
        int mode;
        DurationFields expected;
    };
    const Case cases[] = {
        {at(1900, 1, 1), at(2100, 1, 1), 0, {73049, 0, 0, 0}},
        {at(1900, 1, 1), at(2100, 1, 1), 1, {0, 1753176, 0, 0}},
        {at(1900, 1, 1), at(2100, 1, 1), 2, {0, 0, 105190560, 0}},
        {at(1900, 1, 1), at(2100, 1, 1), 3, {0, 0, 0, 6311433600}},
        {at(1900, 1, 1, 12, 34, 56), at(2100, 12, 31, 1, 2, 3), 3, {0, 0, 0, 6342841627}},
        {at(1, 1, 1), at(9999, 12, 31, 23, 59, 59), 3, {0, 0, 0, 315537897599}},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.setFrom(c.from);
        f.setTo(c.to);
        for (int i = 0; i < c.mode; ++i)
            f.model.intervalUnit();
        ASSERT_FALSE(f.model.computeInterval());
        EXPECT_EQ(fieldsOf(f.model.intervalEntry().value()), c.expected) << c.to.year() << " mode " << c.mode;
        f.setTo(at(2024, 1, 1));
        f.model.computeTo();
        EXPECT_EQ(f.model.toDate(), c.to) << c.to.year() << " mode " << c.mode;
        f.setFrom(at(2024, 1, 1));
        f.model.computeFrom();
        EXPECT_EQ(f.model.fromDate(), c.from) << c.to.year() << " mode " << c.mode;
    }
}

TEST(DateCalculator, TypedYearZeroIsCorrected)
{
    Fixture f;
    f.setFrom(at(2024, 7, 8, 9));
    f.press("DURR0000");  // From's year cell
    EXPECT_EQ(f.model.fromDate(), at(1, 7, 8, 9));
    EXPECT_EQ(f.model.fromCells()[6], u"0001");
    f.press("5");
    EXPECT_EQ(f.model.fromDate(), at(5, 7, 8, 9));
}

// 23 May 2020 is day 1 of the leap month 4 of 2020. Typing only its time keeps it there.
TEST(DateCalculator, EditingTheTimeOfALeapMonthDateKeepsItLeap)
{
    struct Case {
        const char* keys;
        bool leap;
        SolarDate solar;
    };
    const Case cases[] = {
        {"DURRR10", true, at(2020, 5, 23, 10, 0, 0)},   // hour 10
        {"DURRRR30", true, at(2020, 5, 23, 9, 30, 0)},  // minute 30
        {"DURRRRR5", true, at(2020, 5, 23, 9, 0, 5)},   // second 5
        {"DUR15", false, at(2020, 5, 7, 9, 0, 0)},      // day 15 names the ordinary month 4
    };
    for (const Case& c : cases) {
        Fixture f;
        f.setFrom(at(2020, 5, 23, 9));
        f.model.toggleFromLunar();
        ASSERT_TRUE(f.model.fromEntry().leapMonth());
        f.press(c.keys);
        EXPECT_EQ(f.model.fromEntry().leapMonth(), c.leap) << c.keys;
        EXPECT_EQ(f.model.fromDate(), c.solar) << c.keys;
    }
}

TEST(DateCalculator, LeapKeyChoosesTheLeapMonth)
{
    Fixture f;
    f.setFrom(at(2020, 5, 2, 9));           // lunar 10/4/2020, the ordinary month 4
    EXPECT_EQ(f.model.fromLeapMonth(), 0);  // a solar field has none
    f.model.toggleFromLeap();
    EXPECT_EQ(f.model.fromDate(), at(2020, 5, 2, 9));
    f.model.toggleFromLunar();
    EXPECT_EQ(f.model.fromLeapMonth(), 4);
    f.model.toggleFromLeap();  // leap 10/4/2020
    EXPECT_TRUE(f.model.fromEntry().leapMonth());
    EXPECT_EQ(f.model.fromDate(), at(2020, 6, 1, 9));
    f.model.toggleFromLeap();  // back to the ordinary month
    EXPECT_EQ(f.model.fromDate(), at(2020, 5, 2, 9));
    // From another month of the year: the leap month, same day.
    f.setFrom(at(2020, 8, 1, 9));  // lunar 12/6/2020
    f.model.toggleFromLeap();
    EXPECT_EQ(f.model.fromEntry().value(), at(2020, 4, 12, 9));
    EXPECT_TRUE(f.model.fromEntry().leapMonth());
    // Day 30 of month 4 (30 days) becomes the leap month's last day, its 29th.
    f.setFrom(at(2020, 5, 22, 9));  // lunar 30/4/2020
    f.model.toggleFromLeap();
    EXPECT_EQ(f.model.fromEntry().value(), at(2020, 4, 29, 9));
    EXPECT_EQ(f.model.fromDate(), at(2020, 6, 20, 9));
    // 2021 has no leap month: nothing happens.
    f.setFrom(at(2021, 5, 2, 9));
    EXPECT_EQ(f.model.fromLeapMonth(), 0);
    f.model.toggleFromLeap();
    EXPECT_EQ(f.model.fromDate(), at(2021, 5, 2, 9));
}

TEST(DateCalculator, NotesNameTheLunarYearAndTheGregorianReading)
{
    Fixture f;
    f.setFrom(at(2020, 5, 23, 9));
    f.setTo(at(2024, 2, 10, 9));
    EXPECT_EQ(f.model.fromNote(), u"");
    f.model.toggleFromLunar();
    f.model.toggleToLunar();
    EXPECT_EQ(f.model.fromNote(), u"Canh Ty \u00B7 Nhuan 4 \u00B7 Tieu man");
    EXPECT_EQ(f.model.toNote(), u"Giap Thin \u00B7 Lap xuan");
    f.setTo(at(1582, 10, 14));
    EXPECT_EQ(f.model.toNote(), u"Nham Ngo \u00B7 Han lo\nGregorian, also before 15 Oct 1582");
    f.model.toggleToLunar();
    EXPECT_EQ(f.model.toNote(), DateCalculator::kGregorianNote);
    f.setTo(at(1582, 10, 15));
    EXPECT_EQ(f.model.toNote(), u"");
}

}  // namespace
