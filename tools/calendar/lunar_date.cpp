#include "lunar_date.h"

#include <cmath>
#include <cstddef>
#include <iterator>

#include "lunar_astronomy.h"

namespace {

using namespace lunar;

// The name tables: row 0 Vietnamese, row 1 English where there are any.
constexpr std::u16string_view kStemNames[2][10] = {
    {u"Giap", u"At", u"Binh", u"Dinh", u"Mau", u"Ky", u"Canh", u"Tan", u"Nham", u"Quy"}, {}};
// "Ty" twice: the first and the sixth branch differ only in their tone marks.
constexpr std::u16string_view kBranchNames[2][12] = {
    {u"Ty", u"Suu", u"Dan", u"Mao", u"Thin", u"Ty", u"Ngo", u"Mui", u"Than", u"Dau", u"Tuat", u"Hoi"}, {}};
constexpr std::u16string_view kLeapWords[2] = {u"Nhuan", u""};
constexpr std::u16string_view kWeekdayNames[2][7] = {
    {u"Thu hai", u"Thu ba", u"Thu tu", u"Thu nam", u"Thu sau", u"Thu bay", u"Chu nhat"},
    {u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday", u"Sunday"}};
constexpr std::u16string_view kSolarTermNames[2][25] = {
    {u"", u"Xuan Phan", u"Thanh minh", u"Coc vu", u"Lap ha", u"Tieu man", u"Mang chung", u"Ha chi",
        u"Tieu thu", u"Dai thu", u"Lap thu", u"Xu thu", u"Bach lo", u"Thu phan", u"Han lo", u"Suong giang",
        u"Lap dong", u"Tieu tuyet", u"Dai tuyet", u"Dong chi", u"Tieu han", u"Dai han", u"Lap xuan",
        u"Vu thuy", u"Kinh chap"},
    {}};

template <std::size_t Rows, std::size_t Columns>
std::u16string_view nameAt(const std::u16string_view (&table)[Rows][Columns], NameRow row, int index)
{
    const auto r = static_cast<std::size_t>(row);
    if (r >= Rows || index < 0 || static_cast<std::size_t>(index) >= Columns)
        return {};
    return table[r][static_cast<std::size_t>(index)];
}

constexpr double kSectorsPerRadian = 6.0 / kPi;  // 30-degree sectors

// Days on the conversions' time line: every SolarDate is one local day, counted in the
// proleptic Gregorian calendar as SolarDate counts.
double localMidnight(const SolarDate& date)
{
    return gregorianLocalJulianDay(date);
}

double localMidnight(const LunarMonthStart& start)
{
    return gregorianLocalJulianDay(SolarDate::unchecked(start.year, start.month, start.day));
}

SolarDate localDate(double jd)
{
    return gregorianLocalDateOf(jd);
}

LunarMonthStart monthStartOf(const SolarDate& date, int number)
{
    return {date.day(), date.month(), date.year(), number, 0};
}

SolarDate clampedIntoRange(const SolarDate& date)
{
    SolarDate valid;
    valid.set(date.year(), date.month(), date.day(), date.hour(), date.minute(), date.second());
    if (valid.year() < LunarDate::kFirstCivilYear)
        valid.set(LunarDate::kFirstCivilYear, 1, 1, valid.hour(), valid.minute(), valid.second());
    if (valid.year() > LunarDate::kLastCivilYear)
        valid.set(LunarDate::kLastCivilYear, 12, 31, valid.hour(), valid.minute(), valid.second());
    return valid;
}

}  // namespace

LunarDate::LunarDate(int year, int month, int day, int leap, int hour, int minute, int second)
    : hour_(hour), minute_(minute), second_(second), year_(year),
      month_(month < 1 || month > 12 ? 1 : month), day_(day < 1 || day > 30 ? 1 : day),
      leap_(leap != 0 ? 1 : 0)
{
}

SolarDate LunarDate::lunarMonth11(int year)
{
    const double off = std::floor((localMidnight(SolarDate::unchecked(year, 12, 31)) - kNewMoonEpoch) *
                                  (1.0 / kSynodicMonth));
    const int k = static_cast<int>(off);
    const SolarDate candidate = localDate(newMoon(k));
    // A new moon after the solstice begins month 12; month 11 began one lunation earlier.
    if (sunLongitude(localMidnight(candidate)) > 3 * kPi / 2)
        return localDate(newMoon(k - 1));
    return candidate;
}

std::vector<LunarMonthStart> LunarDate::lunarYearMonths(int year)
{
    const SolarDate a = lunarMonth11(year - 1);
    const SolarDate b = lunarMonth11(year);
    const double startA = localMidnight(a);
    const int k = static_cast<int>(std::floor((startA - kNewMoonEpoch) * (1.0 / kSynodicMonth) + 0.5));
    const std::size_t count = localMidnight(b) - startA > 365 ? 14 : 13;

    std::vector<LunarMonthStart> months;
    months.reserve(count);
    months.push_back(monthStartOf(a, 11));
    for (std::size_t i = 1; i + 1 < count; ++i)
        months.push_back(
            monthStartOf(localDate(newMoon(k + static_cast<int>(i))), mod1(static_cast<int>(i) + 11, 12)));
    months.push_back(monthStartOf(b, 11));
    if (count == 13)
        return months;

    // The sector of 30 degrees in which each month begins: a month that begins in the same
    // sector as the next one holds no major term.
    std::vector<int> sectors;
    for (const LunarMonthStart& month : months)
        sectors.push_back(
            static_cast<int>(std::floor(sunLongitude(localMidnight(month)) * kSectorsPerRadian)));
    for (std::size_t i = 0; i + 1 < count; ++i) {
        if (sectors[i] != sectors[i + 1])
            continue;
        months[i].leap = 1;
        for (std::size_t j = i; j < count; ++j)
            months[j].number = mod1(static_cast<int>(j) + 10, 12);
        break;
    }
    return months;
}

int LunarDate::solarTermOf(int day, int month, int year)
{
    const double midnight = localMidnight(SolarDate::unchecked(year, month, day));
    const double l1 = sunLongitude(midnight);
    const double l2 = sunLongitude(midnight + 1);
    for (int i = 2; i <= 24; ++i) {
        const double boundary = (i - 1) * kPi / 12;
        if (l1 <= boundary && l2 > boundary)
            return i;
    }
    if (l1 > 23 * kPi / 12 && l1 <= 2 * kPi && l2 > 0 && l2 < kPi / 12)
        return 1;
    return 0;
}

LunarDate LunarDate::solarToLunar(const SolarDate& solar)
{
    const SolarDate date = clampedIntoRange(solar);
    int listYear = date.year();
    std::vector<LunarMonthStart> months = lunarYearMonths(listYear);
    const double n = localMidnight(date);
    if (n >= localMidnight(months.back())) {
        ++listYear;
        months = lunarYearMonths(listYear);
    }
    auto entry = std::prev(months.end());
    while (entry != months.begin() && localMidnight(*entry) > n)
        --entry;

    LunarDate lunar;
    lunar.day_ = static_cast<int>(n - localMidnight(*entry)) + 1;
    lunar.month_ = entry->number;
    lunar.leap_ = entry->leap;
    lunar.year_ = entry->number >= 11 ? listYear - 1 : listYear;
    lunar.hour_ = date.hour();
    lunar.minute_ = date.minute();
    lunar.second_ = date.second();
    lunar.weekday_ = date.weekday(true);
    lunar.solarTerm_ = solarTermOf(date.day(), date.month(), date.year());
    return lunar;
}

SolarDate LunarDate::lunarToSolar(const LunarDate& lunar, const LocalClock& clock)
{
    // Lunar year 0 holds 1 January of year 1; lunar year 9999 holds 31 December 9999.
    const int year = lunar.year_ < kFirstCivilYear - 1
        ? kFirstCivilYear - 1
        : (lunar.year_ > kLastCivilYear ? kLastCivilYear : lunar.year_);
    const std::vector<LunarMonthStart> months = lunarYearMonths(lunar.month_ >= 11 ? year + 1 : year);
    for (const LunarMonthStart& month : months) {
        if (month.number != lunar.month_ || month.leap != lunar.leap_)
            continue;
        const SolarDate day = localDate(localMidnight(month) + lunar.day_ - 1);
        return clampedIntoRange(SolarDate::unchecked(
            day.year(), day.month(), day.day(), lunar.hour_, lunar.minute_, lunar.second_));
    }
    return SolarDate::now(clock);
}

std::u16string_view LunarDate::stemName(int index, NameRow row)
{
    return nameAt(kStemNames, row, index);
}

std::u16string_view LunarDate::branchName(int index, NameRow row)
{
    return nameAt(kBranchNames, row, index);
}

std::u16string_view LunarDate::leapWord(NameRow row)
{
    return row == NameRow::English ? kLeapWords[1] : kLeapWords[0];
}

std::u16string_view LunarDate::weekdayName(int mondayFirst, NameRow row)
{
    return nameAt(kWeekdayNames, row, mondayFirst);
}

std::u16string_view LunarDate::solarTermName(int index, NameRow row)
{
    return nameAt(kSolarTermNames, row, index);
}

SolarDate lunarEntryFields(const LunarDate& lunar)
{
    return SolarDate::unchecked(
        lunar.year(), lunar.month(), lunar.day(), lunar.hour(), lunar.minute(), lunar.second());
}

LunarDate lunarOfEntryFields(const ShownDate& shown)
{
    const SolarDate& d = shown.date;
    return LunarDate(
        d.year(), d.month(), d.day(), shown.leapMonth ? 1 : 0, d.hour(), d.minute(), d.second());
}

DateEntryCalendar lunarEntryCalendar(const LocalClock& clock)
{
    return {[clock](const SolarDate& entered) {
                const LunarDate typed = lunarOfEntryFields({entered, false});
                const LunarDate settled =
                    LunarDate::solarToLunar(LunarDate::lunarToSolar(typed, clock));
                return ShownDate {lunarEntryFields(settled), settled.leap() == 1};
            },
        [clock](const ShownDate& shown) {
            const SolarDate solar = LunarDate::lunarToSolar(lunarOfEntryFields(shown), clock);
            return std::u16string(sundayZeroWeekdayName(solar.weekday(true)));
        }};
}
