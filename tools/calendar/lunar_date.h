#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "date_entry.h"
#include "solar_date.h"

// The first day of one lunar month, as a civil date, with its number and leap flag.
struct LunarMonthStart {
    int day = 1;
    int month = 1;
    int year = 1;
    int number = 1;  // lunar month 1..12
    int leap = 0;    // 1 for the leap month, which repeats the number of the month before it

    friend bool operator==(const LunarMonthStart&, const LunarMonthStart&) = default;
};

// Row 0 of each name table holds the Vietnamese names, row 1 the English ones where any exist.
enum class NameRow { Vietnamese = 0, English = 1 };

// A date of the Vietnamese lunisolar calendar, computed astronomically at UTC+7. A month
// begins on the local day of a new moon; month 11 holds the December solstice; in a year of
// thirteen months the first month from month 11 on without a major solar term (a multiple of
// 30 degrees of solar longitude) is the leap month and repeats the number before it.
//
// The conversions cover the civil dates of years 1 to 9999 in the Gregorian calendar, also
// before its introduction on 15 October 1582 (proleptic, as SolarDate counts: 5..14 October 1582
// are ten days like any other, never Julian dates); a date outside is taken as the nearest end
// of that range. Each conversion works on whole day numbers, so every day of that range
// converts to lunar and back to itself.
class LunarDate {
public:
    static constexpr int kFirstCivilYear = 1;
    static constexpr int kLastCivilYear = 9999;

    // Lunar 1/1 of year 2000, 00:00:00.
    LunarDate() = default;
    // A month outside 1..12 or a day outside 1..30 becomes 1; any nonzero leap is 1. The
    // weekday and solar term are 0 until a conversion fills them.
    LunarDate(int year, int month, int day, int leap = 0, int hour = 0, int minute = 0, int second = 0);
    virtual ~LunarDate() = default;
    LunarDate(const LunarDate&) = default;
    LunarDate& operator=(const LunarDate&) = default;

    int year() const { return year_; }
    int month() const { return month_; }
    int day() const { return day_; }
    int leap() const { return leap_; }
    int hour() const { return hour_; }
    int minute() const { return minute_; }
    int second() const { return second_; }
    // 0..6, 0 = Sunday.
    int weekday() const { return weekday_; }
    // The solar term that begins on this day, 1..24, or 0 (see solarTermOf).
    int solarTerm() const { return solarTerm_; }

    // The lunar date of a civil date, with its time of day, weekday and solar term.
    static LunarDate solarToLunar(const SolarDate& date);
    // The civil date of a lunar date, with its time of day. A day past the month's end runs on
    // into the next month; a leap month that the year lacks gives the clock's current date.
    static SolarDate lunarToSolar(const LunarDate& lunar, const LocalClock& clock = systemLocalTime);

    // The year's name of sixty, stem and branch: "Giap Thin" for 2024, "At Ty" for 2025,
    // "Binh Ngo" for 2026 (the lunar year, which begins at the lunar new year).
    std::u16string yearName() const { return yearNameOf(year_); }
    static std::u16string yearNameOf(int lunarYear);
    // The stem 0..9 ("Giap".."Quy") and branch 0..11 ("Ty".."Hoi") of a lunar year.
    static int yearStemOf(int lunarYear);
    static int yearBranchOf(int lunarYear);
    // The number of the lunar year's leap month, 1..12, or 0 when the year has twelve months.
    static int leapMonthOf(int lunarYear);
    // The solar term in whose period the local civil day lies: the last one begun on or before
    // it, 1..24 (a term's period runs until the next one begins).
    static int solarTermInEffect(int day, int month, int year);

    // The local date (at 12:00) on which the month 11 holding the December solstice of the
    // civil year begins.
    static SolarDate lunarMonth11(int year);
    // The months from month 11 of the year before to month 11 of year: 13 entries, or 14 in a
    // year with a leap month.
    static std::vector<LunarMonthStart> lunarYearMonths(int year);
    // The index of the solar term whose longitude the sun reaches during the local civil day:
    // 1 for 0 degrees, i for (i - 1) * 15 degrees up to 24 for 345 degrees; 0 for none.
    static int solarTermOf(int day, int month, int year);

    // Name tables; an index out of range gives an empty text.
    static std::u16string_view stemName(int index, NameRow row = NameRow::Vietnamese);    // 0..9
    static std::u16string_view branchName(int index, NameRow row = NameRow::Vietnamese);  // 0..11
    static std::u16string_view leapWord(NameRow row = NameRow::Vietnamese);
    static std::u16string_view weekdayName(int mondayFirst, NameRow row = NameRow::Vietnamese);  // 0 = Monday
    static std::u16string_view solarTermName(int index, NameRow row = NameRow::Vietnamese);      // 1..24

    friend bool operator==(const LunarDate&, const LunarDate&) = default;

private:
    std::int32_t hour_ = 0;
    std::int32_t minute_ = 0;
    std::int32_t second_ = 0;
    std::int32_t weekday_ = 0;
    std::int32_t year_ = 2000;
    std::int32_t month_ = 1;
    std::int32_t day_ = 1;
    std::int32_t leap_ = 0;
    std::int32_t solarTerm_ = 0;
};

// The lunar mode of the date entry control: the cells hold the lunar numbers; typed numbers
// name an ordinary month and go lunar -> solar -> lunar, so a day past the month's end shows
// as the later lunar date it means; the weekday cell shows "Sun".."Sat".
DateEntryCalendar lunarEntryCalendar(const LocalClock& clock = systemLocalTime);
// The lunar date's numbers as the control holds them, and back.
SolarDate lunarEntryFields(const LunarDate& lunar);
LunarDate lunarOfEntryFields(const ShownDate& shown);

// What a lunar date shows beside its numbers: the year's name, the leap marker of a leap month
// and the solar term in effect on the civil day, "Canh Ty · Nhuan 4 · Tieu man".
std::u16string lunarDateNote(const LunarDate& lunar, const SolarDate& solar);
