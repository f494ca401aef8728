#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "date_entry.h"
#include "lunar_astronomy.h"
#include "lunar_date.h"

namespace {

SolarDate at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    return SolarDate::unchecked(y, mo, d, h, mi, s);
}

constexpr double kDegree = lunar::kPi / 180;

TEST(LunarAstronomy, JulianDaysMeetAtTheCalendarReform)
{
    EXPECT_DOUBLE_EQ(lunar::julianDay(1, 1, 2000), 2451544.5);
    EXPECT_DOUBLE_EQ(lunar::julianDay(15, 10, 1582) - lunar::julianDay(4, 10, 1582), 1.0);
    EXPECT_DOUBLE_EQ(lunar::localJulianDay(1, 1, 2000), 2451544.5 - 7.0 / 24);
    struct Case {
        double jd;
        SolarDate date;
    };
    const Case cases[] = {{2451544.5, at(2000, 1, 1, 12)},   {2451545.49, at(2000, 1, 1, 12)},
                          {2299160.5, at(1582, 10, 15, 12)}, {2299159.5, at(1582, 10, 4, 12)},
                          {2415020.5, at(1900, 1, 1, 12)},   {1721423.5, at(1, 1, 1, 12)}};
    for (const Case& c : cases)
        EXPECT_EQ(lunar::dateOfJulianDay(c.jd), c.date) << c.jd;
    // 17:00 UT is already the next day at UTC+7.
    EXPECT_EQ(lunar::localDateOf(2451545.0 + 5.0 / 24), at(2000, 1, 2, 12));
    EXPECT_EQ(lunar::mod1(12, 12), 12);
    EXPECT_EQ(lunar::mod1(13, 12), 1);
    EXPECT_EQ(lunar::mod1(0, 12), 12);
    EXPECT_EQ(lunar::mod1(-1, 12), 11);
}

TEST(LunarAstronomy, NewMoonsAndSunLongitudeMatchKnownEvents)
{
    // New moon of 6 January 2000 at 18:14 UT, lunation 1237 from January 1900.
    EXPECT_NEAR(lunar::newMoon(1237), lunar::julianDay(6, 1, 2000) + 18.23 / 24, 0.01);
    // Equinox 20 March 2000 07:35 UT and solstice 21 December 2000 13:37 UT, to about half an
    // hour of the sun's motion.
    const double equinox = lunar::julianDay(20, 3, 2000) + 7.58 / 24;
    EXPECT_NEAR(std::remainder(lunar::sunLongitude(equinox), 2 * lunar::kPi), 0, 0.02 * kDegree);
    const double solstice = lunar::julianDay(21, 12, 2000) + 13.62 / 24;
    EXPECT_NEAR(lunar::sunLongitude(solstice), 270 * kDegree, 0.02 * kDegree);
    for (double jd = 2451000; jd < 2452000; jd += 7.3) {
        const double l = lunar::sunLongitude(jd);
        ASSERT_TRUE(l >= 0 && l <= 2 * lunar::kPi) << jd;
    }
}

struct NewYear {
    int year;
    SolarDate tet;
};

// Day 1 of month 1 in Vietnam. 1985 and 2007 differ from the calendar of UTC+8 (20 February
// 1985, 18 February 2007).
const NewYear kNewYears[] = {
    {1985, at(1985, 1, 21)}, {2000, at(2000, 2, 5)},  {2001, at(2001, 1, 24)}, {2004, at(2004, 1, 22)},
    {2006, at(2006, 1, 29)}, {2007, at(2007, 2, 17)}, {2009, at(2009, 1, 26)}, {2012, at(2012, 1, 23)},
    {2017, at(2017, 1, 28)}, {2020, at(2020, 1, 25)}, {2021, at(2021, 2, 12)}, {2022, at(2022, 2, 1)},
    {2023, at(2023, 1, 22)}, {2024, at(2024, 2, 10)}, {2025, at(2025, 1, 29)},
};

TEST(LunarDate, NewYearsDaysBothWays)
{
    for (const NewYear& n : kNewYears) {
        const LunarDate lunar = LunarDate::solarToLunar(n.tet);
        EXPECT_EQ(lunar.year(), n.year);
        EXPECT_EQ(lunar.month(), 1) << n.year;
        EXPECT_EQ(lunar.day(), 1) << n.year;
        EXPECT_EQ(lunar.leap(), 0) << n.year;
        EXPECT_EQ(LunarDate::lunarToSolar(LunarDate(n.year, 1, 1)), n.tet) << n.year;
    }
}

TEST(LunarDate, LeapMonthsOfKnownYears)
{
    struct Case {
        int year;
        int leapMonth;
    };  // 0: twelve months
    const Case cases[] = {{2001, 4}, {2004, 2}, {2006, 7}, {2009, 5}, {2012, 4}, {2014, 9}, {2017, 6},
                          {2020, 4}, {2023, 2}, {2025, 6}, {2021, 0}, {2022, 0}, {2024, 0}};
    for (const Case& c : cases) {
        const std::vector<LunarMonthStart> months = LunarDate::lunarYearMonths(c.year);
        ASSERT_EQ(months.size(), c.leapMonth ? 14u : 13u) << c.year;
        int leaps = 0;
        for (std::size_t i = 0; i < months.size(); ++i) {
            if (months[i].leap == 0)
                continue;
            ++leaps;
            EXPECT_EQ(months[i].number, c.leapMonth) << c.year;
            EXPECT_EQ(months[i - 1].number, c.leapMonth) << c.year;
            EXPECT_EQ(months[i - 1].leap, 0) << c.year;
        }
        EXPECT_EQ(leaps, c.leapMonth ? 1 : 0) << c.year;
    }
}

TEST(LunarDate, MonthsOf2020)
{
    const LunarMonthStart expected[] = {
        {26, 11, 2019, 11, 0}, {26, 12, 2019, 12, 0}, {25, 1, 2020, 1, 0},   {23, 2, 2020, 2, 0},  {24, 3, 2020, 3, 0},
        {23, 4, 2020, 4, 0},   {23, 5, 2020, 4, 1},   {21, 6, 2020, 5, 0},   {21, 7, 2020, 6, 0},  {19, 8, 2020, 7, 0},
        {17, 9, 2020, 8, 0},   {17, 10, 2020, 9, 0},  {15, 11, 2020, 10, 0}, {14, 12, 2020, 11, 0}};
    EXPECT_EQ(LunarDate::lunarYearMonths(2020), std::vector<LunarMonthStart>(std::begin(expected), std::end(expected)));
    EXPECT_EQ(LunarDate::lunarMonth11(2019), at(2019, 11, 26, 12));
    EXPECT_EQ(LunarDate::lunarMonth11(2020), at(2020, 12, 14, 12));
}

TEST(LunarDate, ConversionsOfNotableDates)
{
    struct Case {
        SolarDate solar;
        int year, month, day, leap;
    };
    const Case cases[] = {
        {at(2000, 1, 1), 1999, 11, 25, 0}, {at(2007, 1, 1), 2006, 11, 13, 0}, {at(2020, 5, 23), 2020, 4, 1, 1},
        {at(2020, 6, 20), 2020, 4, 29, 1}, {at(2020, 5, 22), 2020, 4, 30, 0}, {at(2020, 12, 31), 2020, 11, 18, 0},
        {at(2021, 1, 13), 2020, 12, 1, 0},
    };
    for (const Case& c : cases) {
        const SolarDate solar = at(c.solar.year(), c.solar.month(), c.solar.day(), 13, 14, 15);
        const LunarDate lunar = LunarDate::solarToLunar(solar);
        const LunarDate expected(c.year, c.month, c.day, c.leap, 13, 14, 15);
        const int where = c.solar.year() * 10000 + c.solar.month() * 100 + c.solar.day();
        EXPECT_EQ(lunarEntryFields(lunar), lunarEntryFields(expected)) << where;
        EXPECT_EQ(lunar.leap(), c.leap) << where;
        EXPECT_EQ(lunar.weekday(), solar.weekday(true));
        EXPECT_EQ(LunarDate::lunarToSolar(expected), solar) << c.year << "/" << c.month << "/" << c.day;
    }
}

TEST(LunarDate, MissingLeapMonthGivesTheCurrentDateAndLongDaysRunOn)
{
    const LocalClock clock = [] { return CalendarFields{2030, 6, 7, 8, 9, 10}; };
    EXPECT_EQ(LunarDate::lunarToSolar(LunarDate(2021, 4, 1, 1), clock), at(2030, 6, 7, 8, 9, 10));
    // Month 1 of 2020 has 29 days: day 30 is the first day of month 2.
    EXPECT_EQ(LunarDate::lunarToSolar(LunarDate(2020, 1, 30)), at(2020, 2, 23));
    // Leap month 4 of 2020 has 29 days too.
    EXPECT_EQ(LunarDate::lunarToSolar(LunarDate(2020, 4, 30, 1)), at(2020, 6, 21));
}

TEST(LunarDate, ConstructionReplacesValuesOutOfRange)
{
    struct Case {
        int month, day, leap;
        int wantMonth, wantDay, wantLeap;
    };
    const Case cases[] = {{13, 31, 5, 1, 1, 1}, {0, 0, 0, 1, 1, 0}, {12, 30, -1, 12, 30, 1}, {-4, 15, 1, 1, 15, 1}};
    for (const Case& c : cases) {
        const LunarDate date(2000, c.month, c.day, c.leap);
        EXPECT_EQ(date.month(), c.wantMonth);
        EXPECT_EQ(date.day(), c.wantDay);
        EXPECT_EQ(date.leap(), c.wantLeap);
    }
}

TEST(LunarDate, SolarTermsOfLocalDays)
{
    // 2024 at UTC+7: Lap xuan 4 Feb 15:27, equinox 20 Mar 10:06, Ha chi 21 Jun 03:51, Dong chi
    // 21 Dec 16:21; Thanh minh 4 Apr 14:02.
    struct Case {
        SolarDate day;
        int term;
        const char16_t* name;
    };
    const Case cases[] = {{at(2024, 2, 4), 22, u"Lap xuan"},  {at(2024, 3, 20), 1, u"Xuan Phan"},
                          {at(2024, 6, 21), 7, u"Ha chi"},    {at(2024, 12, 21), 19, u"Dong chi"},
                          {at(2024, 4, 4), 2, u"Thanh minh"}, {at(2024, 3, 19), 0, u""},
                          {at(2024, 3, 21), 0, u""},          {at(2024, 6, 20), 0, u""}};
    for (const Case& c : cases) {
        EXPECT_EQ(LunarDate::solarTermOf(c.day.day(), c.day.month(), c.day.year()), c.term)
            << c.day.month() << "-" << c.day.day();
        EXPECT_EQ(LunarDate::solarToLunar(c.day).solarTerm(), c.term);
        EXPECT_EQ(LunarDate::solarTermName(c.term), c.name);
    }
    // Every year has each of the 24 terms once.
    std::vector<int> seen(25, 0);
    for (SolarDate day = at(2023, 1, 1); day.year() == 2023; day.nextDay())
        ++seen[static_cast<std::size_t>(LunarDate::solarTermOf(day.day(), day.month(), day.year()))];
    for (int term = 1; term <= 24; ++term)
        EXPECT_EQ(seen[static_cast<std::size_t>(term)], 1) << term;
}

// Every day of years 1 to 9999 converts to lunar and back to itself; the lunar days count 1, 2,
// ... and each month has 29 or 30 days, with month numbers stepping by one (or repeating once as
// a leap month) and the lunar year stepping at month 1.
TEST(LunarDate, EveryDayOfYearsOneTo9999RoundTrips)
{
    LunarDate previous = LunarDate::solarToLunar(at(1, 1, 1));
    ASSERT_EQ(LunarDate::lunarToSolar(previous), at(1, 1, 1));
    std::int64_t days = 1;
    for (SolarDate day = at(1, 1, 2, 6, 7, 8); day.year() <= 9999; day.nextDay()) {
        ++days;
        const LunarDate lunar = LunarDate::solarToLunar(day);
        const int where = day.year() * 10000 + day.month() * 100 + day.day();
        ASSERT_EQ(LunarDate::lunarToSolar(lunar), day) << where;
        if (lunar.day() == 1) {
            ASSERT_TRUE(previous.day() == 29 || previous.day() == 30) << where;
            const bool repeats = lunar.leap() == 1 && lunar.month() == previous.month() && previous.leap() == 0;
            const bool steps = lunar.leap() == 0 && lunar.month() == lunar::mod1(previous.month() + 1, 12);
            ASSERT_TRUE(repeats || steps) << where;
            ASSERT_EQ(lunar.year(), previous.year() + (lunar.month() == 1 && !repeats ? 1 : 0)) << where;
        } else {
            ASSERT_EQ(lunar.day(), previous.day() + 1) << where;
            ASSERT_EQ(lunar.month(), previous.month()) << where;
            ASSERT_EQ(lunar.leap(), previous.leap()) << where;
        }
        previous = lunar;
        if (day.year() == 9999 && day.month() == 12 && day.day() == 31)
            break;
    }
    EXPECT_EQ(days, 3652059);  // 1 January 1 to 31 December 9999
}

// Days where the conversions once rounded the day number of a double: lunar day 8 of month 6 of
// 6771 read as day 7, and 15 and 16 September 1029 came back as other days.
TEST(LunarDate, DaysOnceLostToRoundingConvertBothWays)
{
    struct Case {
        SolarDate solar;
        int year, month, day;
    };
    const Case cases[] = {{at(6771, 7, 1), 6771, 6, 1},   {at(6771, 7, 8), 6771, 6, 8},
                          {at(6771, 7, 30), 6771, 6, 30}, {at(1029, 9, 15), 1029, 7, 29},
                          {at(1029, 9, 16), 1029, 7, 30}, {at(1029, 9, 17), 1029, 8, 1}};
    for (const Case& c : cases) {
        const LunarDate lunar = LunarDate::solarToLunar(c.solar);
        EXPECT_EQ(lunarEntryFields(lunar), lunarEntryFields(LunarDate(c.year, c.month, c.day))) << c.solar.year();
        EXPECT_EQ(LunarDate::lunarToSolar(LunarDate(c.year, c.month, c.day)), c.solar) << c.solar.year();
    }
    // The new moon's local day is whole days plus a small fraction: the same day as the instant
    // says, for lunations on both sides of Julian days 2^21 and 2^22.
    for (const int k : {-4300, -4200, 22000, 22100, 1237, 0, -23500, 100100}) {
        const double local = lunar::newMoon(k) + lunar::kTimeZoneDays;
        const double civilMidnight = static_cast<double>(lunar::newMoonDay(k)) + 2440587.5;
        EXPECT_LE(civilMidnight, local) << k;
        EXPECT_GT(civilMidnight + 1, local) << k;
    }
}

// Dates are Gregorian on both sides of 15 October 1582: 5..14 October 1582 are ten ordinary days,
// each one lunar day after the other, though the Julian reading of julianDay makes 4 and 15
// October neighbours. The Julian 4 October 1582 (Julian day 2299159.5) is 14 October here.
TEST(LunarDate, TheCalendarReformChangesNothing)
{
    EXPECT_EQ(SolarDate::daysBetween(at(1582, 10, 15), at(1582, 10, 4)), 11);
    EXPECT_EQ(at(1582, 10, 15).weekday(), 5);  // Friday, in both calendars
    EXPECT_EQ(at(1582, 10, 4).weekday(), 1);   // Monday here; the Julian 4 October was a Thursday
    EXPECT_EQ(at(1582, 10, 14).weekday(), 4);
    EXPECT_EQ(static_cast<double>(daysFromCivil(1582, 10, 14)) + 2440587.5, lunar::julianDay(4, 10, 1582));
    EXPECT_EQ(static_cast<double>(daysFromCivil(1582, 10, 15)) + 2440587.5, lunar::julianDay(15, 10, 1582));
    LunarDate previous = LunarDate::solarToLunar(at(1582, 9, 30));
    EXPECT_EQ(lunarEntryFields(previous), lunarEntryFields(LunarDate(1582, 9, 4)));
    for (SolarDate day = at(1582, 10, 1); day.month() == 10 && day.day() <= 20; day.nextDay()) {
        const LunarDate lunar = LunarDate::solarToLunar(day);
        EXPECT_EQ(lunar.month(), 9) << day.day();
        EXPECT_EQ(lunar.day(), previous.day() + 1) << day.day();
        EXPECT_EQ(LunarDate::lunarToSolar(lunar), day) << day.day();
        previous = lunar;
    }
}

TEST(LunarDate, YearNamesOfPublishedYears)
{
    struct Case {
        int year;
        const char16_t* name;
    };
    const Case cases[] = {
        {2024, u"Giap Thin"}, {2025, u"At Ty"},   {2026, u"Binh Ngo"},  {2023, u"Quy Mao"},  {2022, u"Nham Dan"},
        {2021, u"Tan Suu"},   {2020, u"Canh Ty"}, {2000, u"Canh Thin"}, {1984, u"Giap Ty"},  {1975, u"At Mao"},
        {1968, u"Mau Than"},  {1945, u"At Dau"},  {1900, u"Canh Ty"},   {2027, u"Dinh Mui"}, {2030, u"Canh Tuat"},
        {2031, u"Tan Hoi"},   {4, u"Giap Ty"},    {3, u"Quy Hoi"},      {0, u"Canh Than"},   {-1, u"Ky Mui"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LunarDate::yearNameOf(c.year), c.name) << c.year;
    // Stems and branches run through their tables: 60 names, each once in a cycle.
    std::vector<std::u16string> names;
    for (int year = 1984; year < 2044; ++year)
        names.push_back(LunarDate::yearNameOf(year));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(std::unique(names.begin(), names.end()), names.end());
    // The name changes at the lunar new year, not on 1 January.
    EXPECT_EQ(LunarDate::solarToLunar(at(2026, 2, 16)).yearName(), u"At Ty");
    EXPECT_EQ(LunarDate::solarToLunar(at(2026, 2, 17)).yearName(), u"Binh Ngo");
    EXPECT_EQ(LunarDate::solarToLunar(at(2024, 2, 10)).yearName(), u"Giap Thin");
    EXPECT_EQ(LunarDate::solarToLunar(at(2025, 1, 28)).yearName(), u"Giap Thin");
    EXPECT_EQ(LunarDate::solarToLunar(at(2025, 1, 29)).yearName(), u"At Ty");
}

TEST(LunarDate, LeapMonthOfALunarYear)
{
    struct Case {
        int year;
        int leapMonth;
    };
    const Case cases[] = {{2001, 4}, {2004, 2}, {2006, 7},  {2009, 5}, {2012, 4}, {2014, 9}, {2017, 6}, {2020, 4},
                          {2023, 2}, {2025, 6}, {2033, 11}, {2021, 0}, {2022, 0}, {2024, 0}, {2034, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(LunarDate::leapMonthOf(c.year), c.leapMonth) << c.year;
    // 2033's leap month 11 follows month 11, in the months listed for 2034.
    EXPECT_EQ(LunarDate::solarToLunar(at(2033, 12, 22)).leap(), 1);
    EXPECT_EQ(LunarDate::solarToLunar(at(2033, 12, 22)).month(), 11);
    EXPECT_EQ(LunarDate::solarToLunar(at(2033, 12, 22)).year(), 2033);
}

TEST(LunarDate, NoteShowsYearNameLeapMarkerAndTermInEffect)
{
    struct Case {
        SolarDate day;
        const char16_t* note;
    };
    const Case cases[] = {
        {at(2020, 5, 23), u"Canh Ty \u00B7 Nhuan 4 \u00B7 Tieu man"},
        {at(2020, 5, 22), u"Canh Ty \u00B7 Tieu man"},
        {at(2024, 2, 10), u"Giap Thin \u00B7 Lap xuan"},
        {at(2024, 2, 3), u"Quy Mao \u00B7 Dai han"},
        {at(2033, 12, 22), u"Quy Suu \u00B7 Nhuan 11 \u00B7 Dong chi"},
        {at(2024, 3, 20), u"Giap Thin \u00B7 Xuan Phan"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(lunarDateNote(LunarDate::solarToLunar(c.day), c.day), c.note) << c.day.month() << "-" << c.day.day();
    // The term in effect is the one begun last: Lap xuan from 4 February 2024 to Vu thuy on
    // the 19th, and each term is in effect from the day solarTermOf names it.
    EXPECT_EQ(LunarDate::solarTermInEffect(3, 2, 2024), 21);
    EXPECT_EQ(LunarDate::solarTermInEffect(4, 2, 2024), 22);
    EXPECT_EQ(LunarDate::solarTermInEffect(18, 2, 2024), 22);
    EXPECT_EQ(LunarDate::solarTermInEffect(19, 2, 2024), 23);
    for (SolarDate day = at(2023, 1, 1); day.year() == 2023; day.nextDay()) {
        const int begins = LunarDate::solarTermOf(day.day(), day.month(), day.year());
        if (begins != 0) {
            EXPECT_EQ(LunarDate::solarTermInEffect(day.day(), day.month(), day.year()), begins);
        }
    }
}

TEST(LunarDateEntry, TypedDatesGoThroughTheRoundTrip)
{
    const LocalClock clock = [] { return CalendarFields{2030, 6, 7, 8, 9, 10}; };
    const LunarDate leap = LunarDate::solarToLunar(at(2020, 5, 23, 9));
    DateEntry control(lunarEntryFields(leap), DateOrder::DayFirst, lunarEntryCalendar(clock));
    control.show(lunarEntryFields(leap), leap.leap() == 1);
    EXPECT_TRUE(control.leapMonth());
    EXPECT_EQ(control.cells()[0], u"Sat");  // 23 May 2020; month 4 itself began on a Thursday
    EXPECT_EQ(control.cells()[2], u"01");

    const std::size_t day = control.cellOf(DateEntry::Field::Day);
    control.typeDigit(day, u'5');  // "15" of the ordinary month 4: 7 May 2020
    EXPECT_FALSE(control.leapMonth());
    EXPECT_EQ(control.value(), at(2020, 4, 15, 9));
    EXPECT_EQ(control.cells()[0], u"Thu");

    // Day 30 of month 1 of 2020, a 29-day month, shows as 1/2.
    DateEntry first(lunarEntryFields(LunarDate(2020, 1, 29)), DateOrder::DayFirst, lunarEntryCalendar(clock));
    first.typeDigit(day, u'3');
    first.typeDigit(day, u'0');
    EXPECT_EQ(first.value(), at(2020, 2, 1));
    EXPECT_EQ(first.cells()[0], u"Sun");  // 23 February 2020
}

// 23 May 2020 is day 1 of the leap month 4. Typing its time keeps the leap month; typing its
// date names the ordinary month, as the digits say.
TEST(LunarDateEntry, TypingTheTimeKeepsTheLeapMonth)
{
    using Field = DateEntry::Field;
    const LocalClock clock = [] { return CalendarFields{2030, 6, 7, 8, 9, 10}; };
    struct Case {
        Field field;
        const char16_t* keys;
        bool leap;
        SolarDate solar;
    };
    const Case cases[] = {
        {Field::Hour, u"10", true, at(2020, 5, 23, 10, 0, 0)},
        {Field::Minute, u"45", true, at(2020, 5, 23, 9, 45, 0)},
        {Field::Second, u"30", true, at(2020, 5, 23, 9, 0, 30)},
        {Field::Hour, u"023", true, at(2020, 5, 23, 23, 0, 0)},
        {Field::Day, u"01", false, at(2020, 4, 23, 9, 0, 0)},
        {Field::Month, u"04", false, at(2020, 4, 23, 9, 0, 0)},
        {Field::Year, u"2020", false, at(2020, 4, 23, 9, 0, 0)},
    };
    for (const Case& c : cases) {
        const LunarDate leap = LunarDate::solarToLunar(at(2020, 5, 23, 9));
        DateEntry control(lunarEntryFields(leap), DateOrder::DayFirst, lunarEntryCalendar(clock));
        control.show(lunarEntryFields(leap), true);
        for (const char16_t* key = c.keys; *key; ++key)
            control.typeDigit(control.cellOf(c.field), *key);
        EXPECT_EQ(control.leapMonth(), c.leap) << static_cast<int>(c.field);
        EXPECT_EQ(LunarDate::lunarToSolar(lunarOfEntryFields({control.value(), control.leapMonth()}), clock), c.solar)
            << static_cast<int>(c.field);
    }
}

TEST(LunarDateEntry, TypedYearZeroBecomesYearOne)
{
    const LocalClock clock = [] { return CalendarFields{2030, 6, 7, 8, 9, 10}; };
    DateEntry control(lunarEntryFields(LunarDate(2020, 5, 10)), DateOrder::DayFirst, lunarEntryCalendar(clock));
    const std::size_t year = control.cellOf(DateEntry::Field::Year);
    for (const char16_t key : std::u16string(u"0000"))
        control.typeDigit(year, key);
    EXPECT_EQ(control.value(), lunarEntryFields(LunarDate(1, 5, 10)));
    EXPECT_EQ(control.cells()[year], u"0001");
}

}  // namespace
