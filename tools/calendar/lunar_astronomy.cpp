#include "lunar_astronomy.h"

#include <cmath>
#include <cstdint>

namespace lunar {

namespace {

constexpr double kDegree = kPi / 180.0;
constexpr double kTwoPi = 2.0 * kPi;
// 1 January 1970 at 0h UT.
constexpr double kUnixEpochJulianDay = 2440587.5;

SolarDate noonOf(std::int64_t year, int month, int day)
{
    return SolarDate::unchecked(static_cast<int>(year), month, day, 12, 0, 0);
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
    double z = std::floor(jd + 0.5);
    const double f = jd + 0.5 - z;
    if (z >= 2299161) {
        const double alpha = std::floor((z - 1867216.25) * (1.0 / 36524.25));
        z = z + 1 + alpha - std::trunc(alpha / 4);
    }
    const double b = z + 1524;
    const double c = std::floor((b - 122.1) * (1.0 / 365.25));
    const double d = std::floor(365.25 * c);
    const double e = std::floor((b - d) * (1.0 / 30.6001));
    const int day = static_cast<int>(std::floor(b - d - std::floor(30.6001 * e) + f));
    const int month = static_cast<int>(e < 14 ? e - 1 : e - 13);
    const double year = month < 3 ? c - 4715 : c - 4716;
    return noonOf(static_cast<std::int64_t>(year), month, day);
}

SolarDate localDateOf(double jd)
{
    return dateOfJulianDay(jd + kTimeZoneDays);
}

double gregorianLocalJulianDay(const SolarDate& date)
{
    return static_cast<double>(daysFromCivil(date.year(), date.month(), date.day())) + kUnixEpochJulianDay -
        kTimeZoneDays;
}

SolarDate gregorianLocalDateOf(double jd)
{
    const CivilDate date =
        civilFromDays(static_cast<std::int64_t>(std::floor(jd + kTimeZoneDays - kUnixEpochJulianDay)));
    return noonOf(date.year, date.month, date.day);
}

double newMoon(int k)
{
    const double t = k * (1.0 / 1236.85);
    const double t2 = t * t;
    const double t3 = t2 * t;
    const double dr = kDegree;
    const double jd1 = 2415020.75933 + 29.53058868 * k + 0.0001178 * t2 - 0.000000155 * t3 +
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
    const double deltaT = t < -11
        ? 0.001 + 0.000839 * t + 0.0002261 * t2 - 0.00000845 * t3 - 0.000000081 * t * t3
        : -0.000278 + 0.000265 * t + 0.000262 * t2;
    return jd1 + c1 - deltaT;
}

double sunLongitude(double jd)
{
    const double t = (jd - 2451545.0) * (1.0 / 36525);
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

}  // namespace lunar
