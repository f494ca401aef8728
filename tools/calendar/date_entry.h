#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "solar_date.h"

// What an entry control shows: the date's numbers and, for a lunar date, whether its month is
// the leap month (the cells carry no marker for it, yet the weekday depends on it).
struct ShownDate {
    SolarDate date;
    bool leapMonth = false;
};

// How an entry control's numbers turn into the value shown again: solar dates are assigned
// with Set; the lunar calendar brings its own round trip and weekday names.
struct DateEntryCalendar {
    std::function<ShownDate(const SolarDate& entered)> settle;
    std::function<std::u16string(const ShownDate& shown)> weekdayName;

    static DateEntryCalendar solar();
};

// The keyboard date entry control without its drawing: thirteen cells,
// weekday "-" first "/" second "/" year "-" hour ":" minute ":" second,
// with month and day as first and second under MonthFirst, day and month under DayFirst.
class DateEntry {
public:
    static constexpr std::size_t kCellCount = 13;
    using Cells = std::array<std::u16string, kCellCount>;
    enum class Field { Year, Month, Day, Hour, Minute, Second };

    // The cells before a first value is shown.
    static const Cells& placeholderCells();

    // A new control shows start: the current local date and time, converted first for lunar.
    DateEntry(const SolarDate& start, DateOrder order, DateEntryCalendar calendar = DateEntryCalendar::solar());

    const Cells& cells() const { return cells_; }
    const SolarDate& value() const { return value_; }
    // Whether the shown lunar date lies in a leap month; typed digits build ordinary months.
    bool leapMonth() const { return leapMonth_; }
    DateOrder order() const { return order_; }

    // The cell of a field, and the field of a cell (nothing for the weekday and separators).
    std::size_t cellOf(Field field) const;
    std::optional<Field> fieldOf(std::size_t cell) const;

    void show(const SolarDate& date, bool leapMonth = false);
    void setOrder(DateOrder order);
    // Appends a digit to a number cell (keeping the last 4 year digits or the last 2 of the
    // other fields), reads all cells back, settles the date and shows it again. Anything but
    // a digit 0..9 into a number cell is ignored.
    void typeDigit(std::size_t cell, char16_t digit);
    // Corrects the value with SolarDate::Normalize and shows it again when it changed.
    bool normalize();

private:
    SolarDate value_;
    bool leapMonth_ = false;
    DateOrder order_;
    DateEntryCalendar calendar_;
    Cells cells_;
};
