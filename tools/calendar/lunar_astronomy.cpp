#include "lunar_astronomy.h"

#include <cmath>

namespace lunar {

namespace {

constexpr double kDegree = kPi / 180.0;
constexpr double kTwoPi = 2.0 * kPi;
// Day number 0 (1 January 1970) began at Julian day 2440587.5 UT; 1 January 2000, day 10957,
// at 2451544.5, half a day before the J2000 epoch of the solar longitude.
constexpr std::int64_t kJ2000Day = 10957;
// Julian day 2415020 (the new moons' base, 31 December 1899 12h UT) is day -25567.5.
constexpr std::int64_t kNewMoonBaseDay = -25568;
// newMoon(k) - 2415020 - 29k: the part of a new moon's instant beyond its whole days.
constexpr double kNewMoonBaseFraction = 0.75933;
// From local midnight, the mean new moon of lunation 0 lies this many days after day 0 begins,
// negated: (2440587.5 - 7/24) - 2415021.076998695.
constexpr double kLunationZeroOffset = 25566.423001305 - kTimeZoneDays;

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

SolarDate noonOf(std::int64_t year, std::int64_t month, std::int64_t day)
{
    return SolarDate::unchecked(static_cast<int>(year), static_cast<int>(month), static_cast<int>(day), 12, 0, 0);
}

// newMoon(k) - 2415020 - 29k: the mean lunation's fraction of a day times k plus the periodic
// terms, all small enough to keep about 1e-11 days of precision for every k of years 1..9999.
double newMoonFraction(int k)
{
    const double t = k * (1.0 / 1236.85);
    const double t2 = t * t;
    const double t3 = t2 * t;
    const double dr = kDegree;
    const double mean = kNewMoonBaseFraction + 0.53058868 * k + 0.0001178 * t2 - 0.000000155 * t3 +
                        0.00033 * std::sin((166.56 + 132.87 * t - 0.009173 * t2) * dr);
    const double m = 359.2242 + 29.10535608 * k - 0.0000333 * t2 - 0.00000347 * t3;     // sun's anomaly
    const double mpr = 306.0253 + 385.81691806 * k + 0.0107306 * t2 + 0.00001236 * t3;  // moon's anomaly
    const double f = 21.2964 + 390.67050646 * k - 0.0016528 * t2 - 0.00000239 * t3;     // moon's latitude
    const double c1 = (0.1734 - 0.000393 * t) * std::sin(m * dr) + 0.0021 * std::sin(2 * m * dr) -
                      0.4068 * std::sin(mpr * dr) + 0.0161 * std::sin(2 * mpr * dr) - 0.0004 * std::sin(3 * mpr * dr) +
                      0.0104 * std::sin(2 * f * dr) - 0.0051 * std::sin((m + mpr) * dr) -
                      0.0074 * std::sin((m - mpr) * dr) + 0.0004 * std::sin((2 * f + m) * dr) -
                      0.0004 * std::sin((2 * f - m) * dr) - 0.0006 * std::sin((2 * f + mpr) * dr) +
                      0.0010 * std::sin((2 * f - mpr) * dr) + 0.0005 * std::sin((2 * mpr + m) * dr);
    const double deltaT = t < -11 ? 0.001 + 0.000839 * t + 0.0002261 * t2 - 0.00000845 * t3 - 0.000000081 * t * t3
                                  : -0.000278 + 0.000265 * t + 0.000262 * t2;
    return mean + c1 - deltaT;
}

// The sun's apparent longitude t Julian centuries after J2000.
double sunLongitudeAt(double t)
{
    const double t2 = t * t;
    const double dr = kDegree;
    const double m = 357.52910 + 35999.05030 * t - 0.0001559 * t2 - 0.00000048 * t * t2;
    const double l0 = 280.46645 + 36000.76983 * t + 0.0003032 * t2;
    const double dl = (1.914600 - 0.004817 * t - 0.000014 * t2) * std::sin(dr * m) +
                      (0.019993 - 0.000101 * t) * std::sin(2 * dr * m) + 0.000290 * std::sin(3 * dr * m);
    double l = (l0 + dl) * dr;
    l -= kTwoPi * std::trunc(l * (1.0 / kTwoPi));
    while (l < 0)
        l += kTwoPi;
    while (l > kTwoPi)
        l -= kTwoPi;
    return l;
}

}  // namespace

int mod1(int x, int n)
{
    const int r = x - n * static_cast<int>(std::floor(static_cast<double>(x) / n));
    return r == 0 ? n : r;
}

double julianDay(int day, int month, int year)
{
    // Integer parts in 64 bits: 367 * year leaves the int range for large years.
    const std::int64_t d = day, m = month, y = year;
    const bool julian = y < 1582 || (y == 1582 && (m < 10 || (m == 10 && d < 15)));
    // (m - 9) / 7 is -1 for January and February only: they count with the year before.
    if (julian)
        return static_cast<double>(367 * y - 7 * (y + 5001 + (m - 9) / 7) / 4 + 275 * m / 9 + d) + 1729776.5;
    return static_cast<double>(367 * y - 7 * (y + (m + 9) / 12) / 4 - 3 * ((y + (m - 9) / 7) / 100 + 1) / 4 +
                               275 * m / 9 + d) +
           1721028.5;
}

double localJulianDay(int day, int month, int year)
{
    return julianDay(day, month, year) - kTimeZoneDays;
}

SolarDate dateOfJulianDay(double jd)
{
    // Only the whole day is taken from the double; the rest is exact integer arithmetic, the
    // decimal constants of the usual form written as fractions: 36524.25 = 146097/4,
    // 365.25 = 1461/4, 30.6001 = 306001/10000.
    std::int64_t z = static_cast<std::int64_t>(std::floor(jd + 0.5));
    if (z >= 2299161) {
        const std::int64_t alpha = floorDiv(4 * z - 7468865, 146097);
        z = z + 1 + alpha - alpha / 4;
    }
    const std::int64_t b = z + 1524;
    const std::int64_t c = floorDiv(20 * b - 2442, 7305);
    const std::int64_t d = floorDiv(1461 * c, 4);
    const std::int64_t e = floorDiv(10000 * (b - d), 306001);
    const std::int64_t day = b - d - floorDiv(306001 * e, 10000);
    const std::int64_t month = e < 14 ? e - 1 : e - 13;
    return noonOf(month < 3 ? c - 4715 : c - 4716, month, day);
}

SolarDate localDateOf(double jd)
{
    return dateOfJulianDay(jd + kTimeZoneDays);
}

double newMoon(int k)
{
    return 2415020.0 + 29.0 * k + newMoonFraction(k);
}

std::int64_t newMoonDay(int k)
{
    // The instant is 2415020 + 29k + fraction (UT), local midnight of day n is 2440587.5 + n - 7/24:
    // the whole days are counted exactly and only the small fraction is rounded down.
    const double sinceBaseMidnight = newMoonFraction(k) + 0.5 + kTimeZoneDays;
    return kNewMoonBaseDay + 29 * static_cast<std::int64_t>(k) +
           static_cast<std::int64_t>(std::floor(sinceBaseMidnight));
}

double sunLongitude(double jd)
{
    return sunLongitudeAt((jd - 2451545.0) * (1.0 / 36525));
}

double sunLongitudeAtDayStart(std::int64_t day)
{
    // Local midnight is half a day and the time zone before the day's 0h UT.
    const double sinceJ2000 = static_cast<double>(day - kJ2000Day) - (0.5 + kTimeZoneDays);
    return sunLongitudeAt(sinceJ2000 * (1.0 / 36525));
}

double lunationsAtDayStart(std::int64_t day)
{
    return (static_cast<double>(day) + kLunationZeroOffset) * (1.0 / kSynodicMonth);
}

}  // namespace lunar
