#include "solar_date.h"

#include <climits>
#include <cstdio>
#include <ctime>

#include "ascii.h"
#include "preferences.h"

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

// The day count of possibly out-of-range fields: month 13 is January of the next year and
// 31 February is 3 March, as a calendar counts on.
std::int64_t serialOf(int year, int month, int day)
{
    const std::int64_t monthIndex = static_cast<std::int64_t>(month) - 1;
    const std::int64_t carry = monthIndex >= 0 ? monthIndex / 12 : (monthIndex - 11) / 12;
    const int foldedMonth = static_cast<int>(monthIndex - carry * 12) + 1;
    return daysFromCivil(year + carry, foldedMonth, 1) + day - 1;
}

int clampInt(int value, int low, int high)
{
    return value < low ? low : (value > high ? high : value);
}

bool isAsciiSpace(char16_t c)
{
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

// scanf's "%d" from text[pos]; pos moves past the number when one is read.
std::optional<int> scanIntAt(std::u16string_view text, std::size_t& pos)
{
    std::size_t i = pos;
    while (i < text.size() && isAsciiSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    const std::size_t firstDigit = i;
    std::int64_t magnitude = 0;
    while (i < text.size() && ascii::isDigit(text[i])) {
        magnitude = magnitude * 10 + (text[i++] - u'0');
        if (magnitude > static_cast<std::int64_t>(INT_MAX) + 1)
            return std::nullopt;
    }
    if (i == firstDigit)
        return std::nullopt;
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > INT_MAX)
        return std::nullopt;
    pos = i;
    return static_cast<int>(value);
}

}  // namespace

CalendarFields systemLocalTime()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local) == nullptr)
        return {};
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

// ---- construction and correction ----

SolarDate SolarDate::now(const LocalClock& clock)
{
    const CalendarFields f = clock();
    // A leap second (60) is not a field value; Make turns it into 0 rather than keep it.
    return make(f.year, f.month, f.day, f.hour, f.minute, f.second);
}

SolarDate SolarDate::make(int year, int month, int day, int hour, int minute, int second)
{
    const auto orZero = [](int value, int high) { return value < 0 || value > high ? 0 : value; };
    month = month < 1 || month > 12 ? 1 : month;
    day = day < 1 || day > daysInMonth(year, month) ? 1 : day;
    return SolarDate(year, month, day, orZero(hour, 23), orZero(minute, 59), orZero(second, 59));
}

SolarDate SolarDate::unchecked(int year, int month, int day, int hour, int minute, int second)
{
    return SolarDate(year, month, day, hour, minute, second);
}

void SolarDate::set(int year, int month, int day, int hour, int minute, int second)
{
    month = clampInt(month, 1, 12);
    *this = SolarDate(year, month, clampInt(day, 1, daysInMonth(year, month)), clampInt(hour, 0, 23),
                      clampInt(minute, 0, 59), clampInt(second, 0, 59));
}

bool SolarDate::normalize()
{
    const SolarDate before = *this;
    year_ = year_ < 1 ? 1 : year_;
    set(year_, month_, day_, hour_, minute_, second_);
    return *this != before;
}

bool SolarDate::isLeapYear(int year)
{
    return ::isLeapYear(year);
}

bool SolarDate::isValidDate() const
{
    return month_ >= 1 && month_ <= 12 && day_ >= 1 && day_ <= daysInMonth(year_, month_);
}

// ---- day stepping ----

void SolarDate::nextDay()
{
    if (day_ < daysInMonth(year_, month_)) {
        ++day_;
        return;
    }
    if (month_ >= 12) {
        if (year_ == INT_MAX)
            return;  // the last representable day
        month_ = 1;
        ++year_;
    } else {
        ++month_;
    }
    day_ = 1;
}

void SolarDate::prevDay()
{
    if (day_ > 1) {
        --day_;
        return;
    }
    if (month_ <= 1) {
        if (year_ == INT_MIN)
            return;  // the first representable day
        month_ = 12;
        --year_;
    } else {
        --month_;
    }
    day_ = daysInMonth(year_, month_);
}

void SolarDate::addDays(std::int64_t n)
{
    // Out-of-range fields step one day at a time as the calendar rules say, until they are
    // a real date again.
    for (; n > 0 && !isValidDate(); --n)
        nextDay();
    for (; n < 0 && !isValidDate(); ++n)
        prevDay();
    if (n == 0)
        return;
    // A real date lands where stepping n times would: the same day counted on, without
    // stepping through every day (the int years span about 2^40.6 days).
    static const std::int64_t kFirst = daysFromCivil(INT_MIN, 1, 1);
    static const std::int64_t kLast = daysFromCivil(INT_MAX, 12, 31);
    constexpr std::int64_t kBeyondAll = std::int64_t{1} << 42;
    n = n > kBeyondAll ? kBeyondAll : (n < -kBeyondAll ? -kBeyondAll : n);
    std::int64_t target = daysFromCivil(year_, month_, day_) + n;
    target = target < kFirst ? kFirst : (target > kLast ? kLast : target);
    const CivilDate date = civilFromDays(target);
    year_ = static_cast<std::int32_t>(date.year);
    month_ = date.month;
    day_ = date.day;
}

// ---- time stepping: one unit at a time, carrying into the larger fields ----

void SolarDate::nextSecond()
{
    if (second_ < 59) {
        ++second_;
        return;
    }
    if (minute_ >= 59 && hour_ >= 23 && year_ == INT_MAX && month_ >= 12 && day_ >= daysInMonth(year_, month_))
        return;
    second_ = 0;
    nextMinute();
}

void SolarDate::prevSecond()
{
    if (second_ > 0) {
        --second_;
        return;
    }
    if (minute_ <= 0 && hour_ <= 0 && year_ == INT_MIN && month_ <= 1 && day_ <= 1)
        return;
    second_ = 59;
    prevMinute();
}

void SolarDate::nextMinute()
{
    if (minute_ < 59) {
        ++minute_;
        return;
    }
    if (hour_ >= 23 && year_ == INT_MAX && month_ >= 12 && day_ >= daysInMonth(year_, month_))
        return;
    minute_ = 0;
    nextHour();
}

void SolarDate::prevMinute()
{
    if (minute_ > 0) {
        --minute_;
        return;
    }
    if (hour_ <= 0 && year_ == INT_MIN && month_ <= 1 && day_ <= 1)
        return;
    minute_ = 59;
    prevHour();
}

void SolarDate::nextHour()
{
    if (hour_ < 23) {
        ++hour_;
        return;
    }
    if (year_ == INT_MAX && month_ >= 12 && day_ >= daysInMonth(year_, month_))
        return;
    hour_ = 0;
    nextDay();
}

void SolarDate::prevHour()
{
    if (hour_ > 0) {
        --hour_;
        return;
    }
    if (year_ == INT_MIN && month_ <= 1 && day_ <= 1)
        return;
    hour_ = 23;
    prevDay();
}

// n splits with truncating division: -50 hours are -2 days and -2 hours.
void SolarDate::addHours(std::int64_t n)
{
    const std::int64_t days = n / 24;
    for (std::int64_t r = n % 24; r > 0; --r)
        nextHour();
    for (std::int64_t r = n % 24; r < 0; ++r)
        prevHour();
    addDays(days);
}

void SolarDate::addMinutes(std::int64_t n)
{
    const std::int64_t days = n / 1440;
    const std::int64_t rest = n % 1440;
    for (std::int64_t r = rest % 60; r > 0; --r)
        nextMinute();
    for (std::int64_t r = rest % 60; r < 0; ++r)
        prevMinute();
    addDays(days);
    addHours(rest / 60);
}

SolarDate SolarDate::addSeconds(std::int64_t n) const
{
    SolarDate moved = *this;
    const std::int64_t days = n / kSecondsPerDay;
    const std::int64_t rest = n % kSecondsPerDay;
    for (std::int64_t r = rest % 60; r > 0; --r)
        moved.nextSecond();
    for (std::int64_t r = rest % 60; r < 0; ++r)
        moved.prevSecond();
    moved.addDays(days);
    moved.addHours(rest / 3600);
    moved.addMinutes(rest % 3600 / 60);
    return moved;
}

// ---- weekdays ----

int SolarDate::weekday(bool sundayZero) const
{
    // The rule below repeats every 400 years (146097 days are exactly 20871 weeks), so a year
    // outside 1..9999 takes the weekday of its namesake in 2000..2399; the rule's |year|
    // would be wrong before year 1.
    int year = year_;
    if (year < 1 || year > 9999) {
        const std::int64_t offset = (static_cast<std::int64_t>(year) - 2000) % 400;
        year = static_cast<int>(2000 + (offset < 0 ? offset + 400 : offset));
    }
    static constexpr int kMonthCodes[12] = {6, 2, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    const int y2 = year % 100;
    const int month = clampInt(month_, 1, 12);
    int w = y2 + y2 / 4 + kMonthCodes[month - 1] + day_ % 7;
    if (month <= 2 && isLeapYear(year))
        --w;
    // 1 January 2000 is the reference: each century before 2000 adds its shift, each after
    // subtracts it (century 21 is 2100..2199).
    const int century = year / 100;
    for (int c = century + 1; c <= 20; ++c)
        w += c % 4 == 0 ? 1 : 2;
    for (int c = 21; c <= century; ++c)
        w -= c % 4 == 0 ? 1 : 2;
    w %= 7;
    if (w <= 0)
        w += 7;
    return sundayZero && w == 7 ? 0 : w;
}

std::u16string SolarDate::weekdayName() const
{
    static constexpr std::u16string_view kNames[7] = {u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat", u"Sun"};
    return std::u16string(kNames[weekday(false) - 1]);
}

std::u16string_view sundayZeroWeekdayName(int weekday)
{
    static constexpr std::u16string_view kNames[7] = {u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"};
    return weekday >= 0 && weekday <= 6 ? kNames[weekday] : std::u16string_view();
}

// ---- comparing ----

std::int64_t SolarDate::daysBetween(const SolarDate& a, const SolarDate& b)
{
    // The same count as stepping the earlier date to the later one, which for fields out of
    // range (31 February) would never arrive; those count on as the calendar does.
    return serialOf(a.year_, a.month_, a.day_) - serialOf(b.year_, b.month_, b.day_);
}

bool SolarDate::isLater(const SolarDate& a, const SolarDate& b)
{
    const auto key = [](const SolarDate& d) {
        return std::array<int, 6>{d.year_, d.month_, d.day_, d.hour_, d.minute_, d.second_};
    };
    return key(a) > key(b);
}

// ---- text forms ----

DateOrder dateOrderOf(OutputFormat format)
{
    return format == OutputFormat::European ? DateOrder::DayFirst : DateOrder::MonthFirst;
}

std::u16string formatDate(DateOrder order, DateParts date)
{
    const bool monthFirst = order == DateOrder::MonthFirst;
    char text[40];
    std::snprintf(text, sizeof text, "%d/%d/%d", monthFirst ? date.month : date.day, monthFirst ? date.day : date.month,
                  date.year);
    return ascii::widen(text);
}

std::optional<int> scanInt(std::u16string_view text)
{
    std::size_t pos = 0;
    return scanIntAt(text, pos);
}

std::optional<DateParts> parseDate(std::u16string_view text, DateOrder order)
{
    std::size_t pos = 0;
    int numbers[3] = {};
    for (int i = 0; i < 3; ++i) {
        if (i > 0) {
            if (pos >= text.size() || text[pos] != u'/')
                return std::nullopt;
            ++pos;
        }
        const auto number = scanIntAt(text, pos);
        if (!number)
            return std::nullopt;
        numbers[i] = *number;
    }
    if (order == DateOrder::MonthFirst)
        return DateParts{numbers[2], numbers[0], numbers[1]};
    return DateParts{numbers[2], numbers[1], numbers[0]};
}
