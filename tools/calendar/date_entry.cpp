#include "date_entry.h"

#include <cstdio>
#include <string_view>
#include <utility>

#include "ascii.h"

DateEntryCalendar DateEntryCalendar::solar()
{
    return {[](const ShownDate& entered) {
                SolarDate date = entered.date;
                date.normalize();  // year 0 becomes 1, 31 February the 28th or 29th
                return ShownDate{date, false};
            },
            [](const ShownDate& shown) { return shown.date.weekdayName(); }};
}

namespace {

constexpr std::size_t kWeekdayCell = 0;
constexpr std::size_t kFirstCell = 2;
constexpr std::size_t kSecondCell = 4;
constexpr std::size_t kYearCell = 6;
constexpr std::size_t kHourCell = 8;
constexpr std::size_t kMinuteCell = 10;
constexpr std::size_t kSecondOfMinuteCell = 12;

int fieldValue(const SolarDate& date, DateEntry::Field field)
{
    switch (field) {
    case DateEntry::Field::Year: return date.year();
    case DateEntry::Field::Month: return date.month();
    case DateEntry::Field::Day: return date.day();
    case DateEntry::Field::Hour: return date.hour();
    case DateEntry::Field::Minute: return date.minute();
    case DateEntry::Field::Second: return date.second();
    }
    return 0;
}

// The largest value a two-digit cell keeps; a larger one loses its first digit to "0".
int fieldLimit(DateEntry::Field field)
{
    switch (field) {
    case DateEntry::Field::Month: return 12;
    case DateEntry::Field::Day: return 31;
    case DateEntry::Field::Hour: return 23;
    default: return 59;
    }
}

// Year 987 shows as "0987", month 3 as "03".
std::u16string padded(int value, int width)
{
    char text[16];
    std::snprintf(text, sizeof text, "%0*d", width, value);
    return ascii::widen(text);
}

constexpr DateEntry::Field kAllFields[6] = {DateEntry::Field::Year, DateEntry::Field::Month,  DateEntry::Field::Day,
                                            DateEntry::Field::Hour, DateEntry::Field::Minute, DateEntry::Field::Second};

}  // namespace

const DateEntry::Cells& DateEntry::placeholderCells()
{
    static const Cells kPlaceholders = {u"DoW", u"-",  u"mm", u"/",  u"dd", u"/", u"yyyy",
                                        u"-",   u"hh", u":",  u"mm", u":",  u"ss"};
    return kPlaceholders;
}

DateEntry::DateEntry(const SolarDate& start, DateOrder order, DateEntryCalendar calendar)
    : value_(start), order_(order), calendar_(std::move(calendar)), cells_(placeholderCells())
{
    show(start);
}

std::size_t DateEntry::cellOf(Field field) const
{
    const bool monthFirst = order_ == DateOrder::MonthFirst;
    switch (field) {
    case Field::Year: return kYearCell;
    case Field::Month: return monthFirst ? kFirstCell : kSecondCell;
    case Field::Day: return monthFirst ? kSecondCell : kFirstCell;
    case Field::Hour: return kHourCell;
    case Field::Minute: return kMinuteCell;
    case Field::Second: return kSecondOfMinuteCell;
    }
    return kWeekdayCell;
}

std::optional<DateEntry::Field> DateEntry::fieldOf(std::size_t cell) const
{
    for (const Field field : kAllFields)
        if (cellOf(field) == cell)
            return field;
    return std::nullopt;
}

void DateEntry::show(const SolarDate& date, bool leapMonth)
{
    typingCell_.reset();
    typedDigits_.clear();
    display(date, leapMonth);
}

void DateEntry::display(const SolarDate& date, bool leapMonth)
{
    value_ = date;
    leapMonth_ = leapMonth;
    cells_ = placeholderCells();
    cells_[kWeekdayCell] = calendar_.weekdayName({date, leapMonth});
    for (const Field field : kAllFields)
        cells_[cellOf(field)] = padded(fieldValue(date, field), field == Field::Year ? 4 : 2);
}

void DateEntry::setOrder(DateOrder order)
{
    order_ = order;
    show(value_, leapMonth_);
}

void DateEntry::restartCell(std::size_t cell)
{
    if (!fieldOf(cell))
        return;
    typingCell_ = cell;
    typedDigits_.clear();
}

void DateEntry::typeDigit(std::size_t cell, char16_t digit)
{
    const auto field = fieldOf(cell);
    if (!field || !ascii::isDigit(digit))
        return;
    // The digits typed so far, not the corrected text shown: a month typed as "0" shows "01",
    // yet the next digit 2 makes "02".
    std::u16string text = typingCell_ == cell ? typedDigits_ : cells_[cell];
    // A placeholder ("mm") or a sign holds no digits to keep.
    if (text.find_first_not_of(u"0123456789") != std::u16string::npos)
        text.clear();
    text += digit;
    const std::size_t keep = *field == Field::Year ? 4 : 2;
    if (text.size() > keep)
        text.erase(0, text.size() - keep);
    if (*field != Field::Year && scanInt(text).value_or(0) > fieldLimit(*field))
        text[0] = u'0';  // month "13" becomes "03"
    typingCell_ = cell;
    typedDigits_ = text;
    cells_[cell] = text;

    int values[6] = {};
    std::array<bool, kCellCount> unreadable{};
    for (std::size_t i = 0; i < 6; ++i) {
        const std::size_t at = cellOf(kAllFields[i]);
        const auto read = scanInt(cells_[at]);
        unreadable[at] = !read;
        values[i] = read.value_or(fieldValue(value_, kAllFields[i]));
    }
    // Typing the time of day keeps the leap month; a typed date names the ordinary one.
    const bool dateTyped = *field == Field::Year || *field == Field::Month || *field == Field::Day;
    const Cells typed = cells_;
    const ShownDate settled =
        calendar_.settle({SolarDate::unchecked(values[0], values[1], values[2], values[3], values[4], values[5]),
                          !dateTyped && leapMonth_});
    display(settled.date, settled.leapMonth);
    for (std::size_t i = 0; i < kCellCount; ++i)
        if (unreadable[i])
            cells_[i] = typed[i];
}

bool DateEntry::normalize()
{
    SolarDate corrected = value_;
    if (!corrected.normalize())
        return false;
    show(corrected, leapMonth_);
    return true;
}
