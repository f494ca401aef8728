#pragma once

#include <cstdint>

#include "solar_date.h"

// The astronomy behind the lunar calendar: Julian days, new moons and the sun's apparent
// longitude, for the calendar's fixed time zone of UTC+7. Instants are Julian days (UT).
//
// The calendar itself works on local day numbers: whole days counted from 1 January 1970
// (daysFromCivil), exact integers. Only the astronomy is in floating point, and each step
// from an instant to a day is taken once, in a form small enough that its rounding does not
// depend on how far the day lies from 1970.
namespace lunar {

inline constexpr double kTimeZoneDays = 7.0 / 24.0;
// Mean month and the mean new moon of lunation 0, used to count months.
inline constexpr double kSynodicMonth = 29.530588853;
inline constexpr double kNewMoonEpoch = 2415021.076998695;
inline constexpr double kPi = 3.14159265358979323846;

// x - n*floor(x/n), but n instead of 0: the result lies in 1..n (mod1(12, 12) is 12).
int mod1(int x, int n);

// The Julian day at 0h UT of a date; dates before 15 October 1582 are read in the Julian
// calendar (4 October 1582 is 2299159.5, 15 October 1582 the next day).
double julianDay(int day, int month, int year);
// The instant of local midnight that begins the date: julianDay - 7/24.
double localJulianDay(int day, int month, int year);
// The civil date (Julian calendar before day 2299161) of a Julian day, at 12:00:00.
SolarDate dateOfJulianDay(double jd);
// The local civil date of an instant.
SolarDate localDateOf(double jd);

// The instant of new moon of lunation k (lunation 0 is near Julian day 2415021.077, 1 January
// 1900), good to a few minutes around today.
double newMoon(int k);
// The local day number of newMoon(k): the day at UTC+7 in which that new moon falls.
std::int64_t newMoonDay(int k);
// The sun's apparent longitude at an instant, in radians in [0, 2*pi].
double sunLongitude(double jd);
// The same at the local midnight that begins a local day number.
double sunLongitudeAtDayStart(std::int64_t day);
// The number of mean months from lunation 0 to the local midnight that begins a day: the
// count behind the month-11 search, as a real number.
double lunationsAtDayStart(std::int64_t day);

}  // namespace lunar
