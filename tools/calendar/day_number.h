#pragma once

#include <cstdint>
#include <optional>

// Calendar fields of a date and time of day, unchecked.
struct CalendarFields {
    int year = 1;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;

    friend bool operator==(const CalendarFields&, const CalendarFields&) = default;
};

// The range of years that day numbers cover: 1 January 100 is day -657434, 31 December 9999 is
// day 2958465.
inline constexpr int kFirstDayNumberYear = 100;
inline constexpr int kLastDayNumberYear = 9999;

// Days from 1 January 1970 to the given proleptic Gregorian date (year 0 is a leap year,
// 1 BC). Exact for every int year, month 1..12, day 1..31; a day past the month's length
// counts on into the next month (31 February 2001 is 3 March 2001).
constexpr std::int64_t daysFromCivil(std::int64_t year, int month, int day)
{
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;                                          // 0..399
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;  // from 1 March
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// The inverse of daysFromCivil for valid dates: year, month and day of a day count.
struct CivilDate {
    std::int64_t year;
    int month;
    int day;
};
constexpr CivilDate civilFromDays(std::int64_t days)
{
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;  // 0..146096
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);  // from 1 March
    const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;                                      // 0 = March
    const int day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    const int month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    return {era * 400 + yearOfEra + (month <= 2 ? 1 : 0), month, day};
}

// Whole days since 30 December 1899 of a valid date in years 100..9999 (1 January 1900 is 2,
// 29 December 1899 is -1); nothing for an invalid date (30 February) or a year out of range.
std::optional<std::int32_t> dayNumberOfDate(int year, int month, int day);

// Day number with the time of day as the fraction (6:00 is .25): days since 30 December 1899
// 00:00:00 on one straight line, so 29 December 1899 06:00 is -0.75. Nothing when a field is out
// of range (hour 0..23, minute and second 0..59) or the date is invalid.
std::optional<double> dayNumberFromFields(const CalendarFields& fields);

// The fields of a day number, to the nearest second; nothing for NaN, infinities and day
// numbers outside years 100..9999.
std::optional<CalendarFields> fieldsFromDayNumber(double dayNumber);
