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

// How an entry control's numbers turn into the value shown again: solar dates are corrected
// with Normalize (each field clamped, the year to at least 1); the lunar calendar brings its own
// round trip and weekday names. The entered leap flag is the shown one while only the time of
// day is typed, and false once a date cell is.
struct DateEntryCalendar {
    std::function<ShownDate(const ShownDate& entered)> settle;
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

    // Shows a value from outside; digits typed next start from the cells shown.
    void show(const SolarDate& date, bool leapMonth = false);
    void setOrder(DateOrder order);
    // Appends a digit to the digits typed into a number cell (keeping the last 4 of the year or
    // the last 2 of the other fields, a too large first digit replaced by "0"), reads all cells
    // back, settles the date and shows it again. Only what is shown is corrected: typing 0 then
    // 2 into a month cell shows "01" after the 0 and February after the 2. The typed digits
    // start from the cell's shown text when another cell was typed into last. Anything but a
    // digit 0..9 into a number cell is ignored.
    void typeDigit(std::size_t cell, char16_t digit);
    // The next digit typed into the cell starts it afresh, as into an empty cell.
    void restartCell(std::size_t cell);
    // Corrects the value with SolarDate::Normalize and shows it again when it changed.
    bool normalize();

private:
    void display(const SolarDate& date, bool leapMonth);

    SolarDate value_;
    bool leapMonth_ = false;
    DateOrder order_;
    DateEntryCalendar calendar_;
    Cells cells_;
    // The cell being typed into and its digits as typed, before any correction.
    std::optional<std::size_t> typingCell_;
    std::u16string typedDigits_;
};
