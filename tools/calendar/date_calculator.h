#pragma once

#include <array>
#include <bitset>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "date_entry.h"
#include "solar_date.h"
#include "duration.h"

// The three fields of the date and time calculators, top to bottom.
enum class CalcField { None, From, Interval, To };
enum class Arrow { Left, Right, Up, Down };

// Which field and which of its number cells take typed digits. The cells of the three fields
// form one row: Left and Right step along it (across field ends, stopping at the row's ends),
// Up and Down go to the first cell of the field above or below. With no focus yet, any arrow
// focuses the first cell of From.
class CalculatorFocus {
public:
    // The number of number cells of From, Interval and To.
    explicit CalculatorFocus(std::array<std::size_t, 3> cellCounts) : counts_(cellCounts) {}

    CalcField field() const { return field_; }
    // The index among the focused field's number cells, 0 from the left.
    std::size_t cell() const { return cell_; }
    void move(Arrow arrow);

private:
    std::array<std::size_t, 3> counts_;
    CalcField field_ = CalcField::None;
    std::size_t cell_ = 0;
};

// The date calculator window's model: From and To date entry controls, each solar or lunar,
// and the Interval duration control. Two fields give the third.
class DateCalculator {
public:
    static constexpr std::u16string_view kTitle = u"Date calculator";
    static constexpr std::u16string_view kFromLabel = u"From";
    static constexpr std::u16string_view kIntervalLabel = u"Interval";
    static constexpr std::u16string_view kToLabel = u"To";
    static constexpr std::u16string_view kToEarlierMessage = u"The \"To\" date is earlier than the \"From\" date.";
    // Dates are Gregorian before the calendar reform too; a date before it carries this note.
    static constexpr std::u16string_view kGregorianNote = u"Gregorian, also before 15 Oct 1582";

    // From and To show the clock's current date and time, in solar form; Interval is zero.
    explicit DateCalculator(DateOrder order, LocalClock clock = systemLocalTime);

    const DateEntry& fromEntry() const { return from_.entry; }
    const DateEntry& toEntry() const { return to_.entry; }
    const DurationEntry& intervalEntry() const { return interval_; }
    // The controls' cells as drawn: a cleared cell shows empty until a digit is typed into it.
    DateEntry::Cells fromCells() const { return from_.drawnCells(); }
    DateEntry::Cells toCells() const { return to_.drawnCells(); }
    bool fromIsLunar() const { return from_.lunar; }
    bool toIsLunar() const { return to_.lunar; }
    // The solar date and time that each control means (a lunar one converted).
    SolarDate fromDate() const { return solarOf(from_); }
    SolarDate toDate() const { return solarOf(to_); }

    CalcField focus() const { return focus_.field(); }
    // The focused control's current cell index (DateEntry or DurationEntry cells).
    std::size_t currentCell() const;

    // What a date field shows below its cells, one line each: for a lunar date its year's name,
    // the leap marker and the solar term (lunarDateNote); for a date before 15 October 1582 the
    // note that it is a Gregorian date. Empty when there is nothing to say.
    std::u16string fromNote() const { return noteOf(from_); }
    std::u16string toNote() const { return noteOf(to_); }

    // Interval = To - From; when To is earlier, a zero interval and the message to show.
    std::optional<std::u16string> computeInterval();
    // To = From + Interval, and From = To - Interval, each stepped part by part with the
    // interval's 64-bit amounts.
    void computeTo();
    void computeFrom();

    void fromNow() { showOn(from_, SolarDate::now(clock_)); }
    void toNow() { showOn(to_, SolarDate::now(clock_)); }
    void toggleFromLunar() { toggleLunar(from_); }
    void toggleToLunar() { toggleLunar(to_); }
    // The leap month of a lunar field's year, 0 when the field is solar or its year has none.
    int fromLeapMonth() const { return leapMonthOf(from_); }
    int toLeapMonth() const { return leapMonthOf(to_); }
    // In a lunar year with a leap month: from the leap month to the ordinary month of its
    // number, and from any other month to the leap month, keeping the day (the leap month's
    // last day when it is shorter) and the time. Nothing otherwise.
    void toggleFromLeap() { toggleLeap(from_); }
    void toggleToLeap() { toggleLeap(to_); }
    void intervalUnit() { interval_.nextUnitMode(); }
    void setOrder(DateOrder order);

    // From or To: the current cell shows empty and the date stays. Interval: the cell becomes "0".
    void clearCell();
    void typeDigit(char16_t digit);
    void arrow(Arrow arrow);

private:
    struct Side {
        DateEntry entry;
        bool lunar = false;
        std::bitset<DateEntry::kCellCount> cleared;

        DateEntry::Cells drawnCells() const;
    };

    SolarDate solarOf(const Side& side) const;
    void showOn(Side& side, const SolarDate& solar);
    void toggleLunar(Side& side);
    int leapMonthOf(const Side& side) const;
    void toggleLeap(Side& side);
    std::u16string noteOf(const Side& side) const;
    Side* focusedSide();

    LocalClock clock_;
    DateOrder order_;
    Side from_;
    Side to_;
    DurationEntry interval_;
    CalculatorFocus focus_;
};
