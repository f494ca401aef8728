#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "day_number.h"
#include "result_format.h"

// The local clock's reading as calendar fields (the platform's weekday is not part of it).
using LocalClock = std::function<CalendarFields()>;
CalendarFields systemLocalTime();

// A civil (proleptic Gregorian) date and time of day. Arithmetic steps the fields as a calendar
// does; every int year is allowed, year 0 being a leap year. Stepping stops at the ends of the
// int years: the first day of the lowest year and the last day of the highest.
class SolarDate {
public:
    // 1 January of year 1, 00:00:00. The clock is read only by Now.
    SolarDate() = default;
    virtual ~SolarDate() = default;
    SolarDate(const SolarDate&) = default;
    SolarDate& operator=(const SolarDate&) = default;

    static SolarDate now(const LocalClock& clock = systemLocalTime);
    // Each part out of range becomes its default: hour, minute, second 0, month 1, day 1.
    static SolarDate make(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
    // Stores the fields as given, in range or not; Normalize corrects them.
    static SolarDate unchecked(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

    // Each part out of range is clamped: hour 24 becomes 23, 31 February 2001 becomes 28 February.
    void set(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
    // Clamps every field into range, the year to at least 1; true when a field changed.
    bool normalize();

    int year() const { return year_; }
    int month() const { return month_; }
    int day() const { return day_; }
    int hour() const { return hour_; }
    int minute() const { return minute_; }
    int second() const { return second_; }

    static bool isLeapYear(int year);

    void nextDay();
    void prevDay();
    void addDays(std::int64_t n);
    void subDays(std::int64_t n) { addDays(-n); }
    void addHours(std::int64_t n);
    void addMinutes(std::int64_t n);
    SolarDate addSeconds(std::int64_t n) const;
    SolarDate subSeconds(std::int64_t n) const { return addSeconds(-n); }

    // Monday-first 1..7 (7 = Sunday), or with sundayZero 0..6 (0 = Sunday).
    int weekday(bool sundayZero = false) const;
    // "Mon" .. "Sun".
    std::u16string weekdayName() const;

    // a minus b in calendar days; the times of day do not count.
    static std::int64_t daysBetween(const SolarDate& a, const SolarDate& b);
    // True when a is strictly later than b, to the second.
    static bool isLater(const SolarDate& a, const SolarDate& b);

    friend bool operator==(const SolarDate&, const SolarDate&) = default;

private:
    SolarDate(int year, int month, int day, int hour, int minute, int second)
        : year_(year), month_(month), day_(day), hour_(hour), minute_(minute), second_(second)
    {
    }

    bool isValidDate() const;
    void nextHour();
    void prevHour();
    void nextMinute();
    void prevMinute();
    void nextSecond();
    void prevSecond();

    std::int32_t year_ = 1;
    std::int32_t month_ = 1;
    std::int32_t day_ = 1;
    std::int32_t hour_ = 0;
    std::int32_t minute_ = 0;
    std::int32_t second_ = 0;
};

// Short English name of a Sunday-zero weekday: 0 "Sun" .. 6 "Sat"; empty outside 0..6.
std::u16string_view sundayZeroWeekdayName(int weekday);

// The order of numeric dates, from the output format preference: European puts the day first,
// United States (and Other) the month.
enum class DateOrder { MonthFirst, DayFirst };
DateOrder dateOrderOf(OutputFormat format);

struct DateParts {
    int year = 0;
    int month = 0;
    int day = 0;

    friend bool operator==(const DateParts&, const DateParts&) = default;
};

// "%d/%d/%d" in the date order: 7 March 2024 is "3/7/2024" month first, "7/3/2024" day first.
std::u16string formatDate(DateOrder order, DateParts date);
// Reads "%d/%d/%d" as scanf does (blanks before each number, trailing text ignored); nothing
// unless all three numbers are read. The parts are not checked as a date.
std::optional<DateParts> parseDate(std::u16string_view text, DateOrder order);
// Reads one "%d": blanks, an optional sign, digits; nothing when no digit comes or the number
// leaves the int range.
std::optional<int> scanInt(std::u16string_view text);
