#include "day_number.h"

#include <cmath>

#include "preferences.h"

namespace {

constexpr std::int64_t kEpoch = daysFromCivil(1899, 12, 30);
constexpr std::int64_t kFirstDay = daysFromCivil(kFirstDayNumberYear, 1, 1) - kEpoch;
constexpr std::int64_t kLastDay = daysFromCivil(kLastDayNumberYear, 12, 31) - kEpoch;
constexpr int kSecondsPerDay = 86400;

}  // namespace

std::optional<std::int32_t> dayNumberOfDate(int year, int month, int day)
{
    if (year < kFirstDayNumberYear || year > kLastDayNumberYear || day < 1 || day > daysInMonth(year, month))
        return std::nullopt;
    return static_cast<std::int32_t>(daysFromCivil(year, month, day) - kEpoch);
}

std::optional<double> dayNumberFromFields(const CalendarFields& f)
{
    if (f.hour < 0 || f.hour > 23 || f.minute < 0 || f.minute > 59 || f.second < 0 || f.second > 59)
        return std::nullopt;
    const auto days = dayNumberOfDate(f.year, f.month, f.day);
    if (!days)
        return std::nullopt;
    const int seconds = f.hour * 3600 + f.minute * 60 + f.second;
    return *days + static_cast<double>(seconds) / kSecondsPerDay;
}

std::optional<CalendarFields> fieldsFromDayNumber(double dayNumber)
{
    // Checked before any conversion to an integer, so the conversion below is always in range.
    if (!std::isfinite(dayNumber) || dayNumber < static_cast<double>(kFirstDay) - 0.5 / kSecondsPerDay ||
        dayNumber >= static_cast<double>(kLastDay + 1) - 0.5 / kSecondsPerDay)
        return std::nullopt;
    const auto totalSeconds = static_cast<std::int64_t>(std::llround(dayNumber * kSecondsPerDay));
    // Floor division: -0.75 is day -1 at 06:00.
    std::int64_t days = totalSeconds / kSecondsPerDay;
    std::int64_t seconds = totalSeconds % kSecondsPerDay;
    if (seconds < 0) {
        seconds += kSecondsPerDay;
        --days;
    }
    const CivilDate date = civilFromDays(days + kEpoch);
    return CalendarFields{static_cast<int>(date.year),
                          date.month,
                          date.day,
                          static_cast<int>(seconds / 3600),
                          static_cast<int>(seconds / 60 % 60),
                          static_cast<int>(seconds % 60)};
}
