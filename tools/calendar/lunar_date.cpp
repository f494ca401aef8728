#include "lunar_date.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <iterator>
#include <memory>

#include "lunar_astronomy.h"

namespace {

using namespace lunar;

// The name tables: row 0 Vietnamese, row 1 English where there are any.
constexpr std::u16string_view kStemNames[2][10] = {
    {u"Giap", u"At", u"Binh", u"Dinh", u"Mau", u"Ky", u"Canh", u"Tan", u"Nham", u"Quy"},
    {}};
// "Ty" twice: the first and the sixth branch differ only in their tone marks.
constexpr std::u16string_view kBranchNames[2][12] = {
    {u"Ty", u"Suu", u"Dan", u"Mao", u"Thin", u"Ty", u"Ngo", u"Mui", u"Than", u"Dau", u"Tuat", u"Hoi"},
    {}};
constexpr std::u16string_view kLeapWords[2] = {u"Nhuan", u""};
constexpr std::u16string_view kWeekdayNames[2][7] = {
    {u"Thu hai", u"Thu ba", u"Thu tu", u"Thu nam", u"Thu sau", u"Thu bay", u"Chu nhat"},
    {u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday", u"Sunday"}};
constexpr std::u16string_view kSolarTermNames[2][25] = {
    {u"",        u"Xuan Phan",   u"Thanh minh", u"Coc vu",     u"Lap ha",    u"Tieu man", u"Mang chung",
     u"Ha chi",  u"Tieu thu",    u"Dai thu",    u"Lap thu",    u"Xu thu",    u"Bach lo",  u"Thu phan",
     u"Han lo",  u"Suong giang", u"Lap dong",   u"Tieu tuyet", u"Dai tuyet", u"Dong chi", u"Tieu han",
     u"Dai han", u"Lap xuan",    u"Vu thuy",    u"Kinh chap"},
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
constexpr double kTermsPerRadian = 12.0 / kPi;   // 15-degree sectors

// A month's first day as a local day number (days from 1 January 1970), with its number and
// leap flag: the conversions count whole days in integers.
struct MonthDay {
    std::int64_t start;
    int number;
    int leap;
};
using YearMonths = std::vector<MonthDay>;

std::int64_t dayNumberOf(const SolarDate& date)
{
    return daysFromCivil(date.year(), date.month(), date.day());
}

SolarDate noonOfDay(std::int64_t day)
{
    const CivilDate date = civilFromDays(day);
    return SolarDate::unchecked(static_cast<int>(date.year), date.month, date.day, 12, 0, 0);
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

// The day on which the month 11 holding the December solstice of the civil year begins.
std::int64_t month11Day(int year)
{
    const int k = static_cast<int>(std::floor(lunationsAtDayStart(daysFromCivil(year, 12, 31))));
    const std::int64_t candidate = newMoonDay(k);
    // A new moon after the solstice begins month 12; month 11 began one lunation earlier.
    if (sunLongitudeAtDayStart(candidate) > 3 * kPi / 2)
        return newMoonDay(k - 1);
    return candidate;
}

YearMonths computeYearMonths(int year)
{
    const std::int64_t a = month11Day(year - 1);
    const std::int64_t b = month11Day(year);
    const int k = static_cast<int>(std::floor(lunationsAtDayStart(a) + 0.5));
    const int count = b - a > 365 ? 14 : 13;

    YearMonths months;
    months.reserve(static_cast<std::size_t>(count));
    months.push_back({a, 11, 0});
    for (int i = 1; i + 1 < count; ++i)
        months.push_back({newMoonDay(k + i), mod1(i + 11, 12), 0});
    months.push_back({b, 11, 0});
    if (count == 13)
        return months;

    // The sector of 30 degrees in which each month begins: a month that begins in the same
    // sector as the next one holds no major term.
    std::vector<int> sectors;
    for (const MonthDay& month : months)
        sectors.push_back(static_cast<int>(std::floor(sunLongitudeAtDayStart(month.start) * kSectorsPerRadian)));
    for (int i = 0; i + 1 < count; ++i) {
        const auto at = static_cast<std::size_t>(i);
        if (sectors[at] != sectors[at + 1])
            continue;
        months[at].leap = 1;
        for (int j = i; j < count; ++j)
            months[static_cast<std::size_t>(j)].number = mod1(j + 10, 12);
        break;
    }
    return months;
}

// The year lists of the last few years asked for, per thread: typing a date and walking through
// days ask for the same one or two years again and again, and each list costs some thirty
// evaluations of the astronomy. A list depends on its year alone and is never changed.
std::shared_ptr<const YearMonths> yearMonths(int year)
{
    struct Slot {
        int year = 0;
        std::shared_ptr<const YearMonths> months;
    };
    constexpr std::size_t kSlots = 4;
    thread_local std::array<Slot, kSlots> slots;
    thread_local std::size_t nextSlot = 0;
    for (const Slot& slot : slots)
        if (slot.months && slot.year == year)
            return slot.months;
    Slot& slot = slots[nextSlot];
    nextSlot = (nextSlot + 1) % kSlots;
    slot = {year, std::make_shared<const YearMonths>(computeYearMonths(year))};
    return slot.months;
}

}  // namespace

LunarDate::LunarDate(int year, int month, int day, int leap, int hour, int minute, int second)
    : hour_(hour),
      minute_(minute),
      second_(second),
      year_(year),
      month_(month < 1 || month > 12 ? 1 : month),
      day_(day < 1 || day > 30 ? 1 : day),
      leap_(leap != 0 ? 1 : 0)
{
}

SolarDate LunarDate::lunarMonth11(int year)
{
    return noonOfDay(month11Day(year));
}

std::vector<LunarMonthStart> LunarDate::lunarYearMonths(int year)
{
    std::vector<LunarMonthStart> starts;
    const std::shared_ptr<const YearMonths> months = yearMonths(year);
    for (const MonthDay& month : *months) {
        const CivilDate date = civilFromDays(month.start);
        starts.push_back({date.day, date.month, static_cast<int>(date.year), month.number, month.leap});
    }
    return starts;
}

int LunarDate::solarTermOf(int day, int month, int year)
{
    const std::int64_t midnight = daysFromCivil(year, month, day);
    const double l1 = sunLongitudeAtDayStart(midnight);
    const double l2 = sunLongitudeAtDayStart(midnight + 1);
    for (int i = 2; i <= 24; ++i) {
        const double boundary = (i - 1) * kPi / 12;
        if (l1 <= boundary && l2 > boundary)
            return i;
    }
    if (l1 > 23 * kPi / 12 && l1 <= 2 * kPi && l2 > 0 && l2 < kPi / 12)
        return 1;
    return 0;
}

int LunarDate::solarTermInEffect(int day, int month, int year)
{
    // The longitude at the end of the day: a term that begins during the day is in effect.
    const double longitude = sunLongitudeAtDayStart(daysFromCivil(year, month, day) + 1);
    return static_cast<int>(std::floor(longitude * kTermsPerRadian)) % 24 + 1;
}

int LunarDate::yearStemOf(int lunarYear)
{
    // 4 AD, a year Giap Ty, begins a cycle of sixty.
    const int r = (lunarYear + 6) % 10;
    return r < 0 ? r + 10 : r;
}

int LunarDate::yearBranchOf(int lunarYear)
{
    const int r = (lunarYear + 8) % 12;
    return r < 0 ? r + 12 : r;
}

std::u16string LunarDate::yearNameOf(int lunarYear)
{
    return std::u16string(stemName(yearStemOf(lunarYear))) + u' ' + std::u16string(branchName(yearBranchOf(lunarYear)));
}

int LunarDate::leapMonthOf(int lunarYear)
{
    // Leap months 1..10 lie in the list of the civil year of the same number; a leap month
    // 11 or 12 follows month 11 of that year and so lies in the next year's list.
    const std::shared_ptr<const YearMonths> sameYear = yearMonths(lunarYear);
    for (const MonthDay& month : *sameYear)
        if (month.leap == 1 && month.number <= 10)
            return month.number;
    const std::shared_ptr<const YearMonths> nextYear = yearMonths(lunarYear + 1);
    for (const MonthDay& month : *nextYear)
        if (month.leap == 1 && month.number >= 11)
            return month.number;
    return 0;
}

LunarDate LunarDate::solarToLunar(const SolarDate& solar)
{
    const SolarDate date = clampedIntoRange(solar);
    int listYear = date.year();
    std::shared_ptr<const YearMonths> months = yearMonths(listYear);
    const std::int64_t n = dayNumberOf(date);
    if (n >= months->back().start) {
        ++listYear;
        months = yearMonths(listYear);
    }
    auto entry = std::prev(months->end());
    while (entry != months->begin() && entry->start > n)
        --entry;

    LunarDate lunar;
    lunar.day_ = static_cast<int>(n - entry->start) + 1;
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
    const int year = lunar.year_ < kFirstCivilYear - 1 ? kFirstCivilYear - 1
                                                       : (lunar.year_ > kLastCivilYear ? kLastCivilYear : lunar.year_);
    const std::shared_ptr<const YearMonths> months = yearMonths(lunar.month_ >= 11 ? year + 1 : year);
    for (const MonthDay& month : *months) {
        if (month.number != lunar.month_ || month.leap != lunar.leap_)
            continue;
        const SolarDate day = noonOfDay(month.start + lunar.day_ - 1);
        return clampedIntoRange(
            SolarDate::unchecked(day.year(), day.month(), day.day(), lunar.hour_, lunar.minute_, lunar.second_));
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
    return SolarDate::unchecked(lunar.year(), lunar.month(), lunar.day(), lunar.hour(), lunar.minute(), lunar.second());
}

LunarDate lunarOfEntryFields(const ShownDate& shown)
{
    const SolarDate& d = shown.date;
    return LunarDate(d.year(), d.month(), d.day(), shown.leapMonth ? 1 : 0, d.hour(), d.minute(), d.second());
}

DateEntryCalendar lunarEntryCalendar(const LocalClock& clock)
{
    return {[clock](const ShownDate& entered) {
                // As the solar form's Normalize does, a typed year 0 becomes year 1.
                const SolarDate& e = entered.date;
                const LunarDate typed(e.year() < 1 ? 1 : e.year(), e.month(), e.day(), entered.leapMonth ? 1 : 0,
                                      e.hour(), e.minute(), e.second());
                const LunarDate settled = LunarDate::solarToLunar(LunarDate::lunarToSolar(typed, clock));
                return ShownDate{lunarEntryFields(settled), settled.leap() == 1};
            },
            [clock](const ShownDate& shown) {
                const SolarDate solar = LunarDate::lunarToSolar(lunarOfEntryFields(shown), clock);
                return std::u16string(sundayZeroWeekdayName(solar.weekday(true)));
            }};
}
std::u16string lunarDateNote(const LunarDate& lunar, const SolarDate& solar)
{
    constexpr std::u16string_view kSeparator = u" \u00B7 ";
    std::u16string note = lunar.yearName();
    if (lunar.leap() == 1) {
        note += kSeparator;
        note += LunarDate::leapWord();
        note += u' ';
        const int month = lunar.month();
        if (month >= 10)
            note += static_cast<char16_t>(u'0' + month / 10);
        note += static_cast<char16_t>(u'0' + month % 10);
    }
    note += kSeparator;
    note += LunarDate::solarTermName(LunarDate::solarTermInEffect(solar.day(), solar.month(), solar.year()));
    return note;
}
