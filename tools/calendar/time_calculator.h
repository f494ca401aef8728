#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "date_calculator.h"
#include "duration.h"

// The time calculator window's model: From, Interval and To are durations, each in its own
// unit mode. Results are computed on second totals and shown in the target's mode.
class TimeCalculator {
public:
    static constexpr std::u16string_view kTitle = u"Time calculator";
    static constexpr std::u16string_view kFromLabel = u"From";
    static constexpr std::u16string_view kIntervalLabel = u"Interval";
    static constexpr std::u16string_view kToLabel = u"To";
    static constexpr std::u16string_view kFromAfterToMessage = u"From > To";
    static constexpr std::u16string_view kFromAfterIntervalMessage = u"From > Interval";

    TimeCalculator();

    const DurationEntry& fromEntry() const { return from_; }
    const DurationEntry& intervalEntry() const { return interval_; }
    const DurationEntry& toEntry() const { return to_; }
    CalcField focus() const { return focus_.field(); }

    // Each gives the message to show when the result would be negative; then nothing changes.
    std::optional<std::u16string> computeInterval();
    void computeTo();
    std::optional<std::u16string> computeFrom();

    void fromUnit() { from_.nextUnitMode(); }
    void intervalUnit() { interval_.nextUnitMode(); }
    void toUnit() { to_.nextUnitMode(); }

    // The focused field's current cell becomes "0".
    void clearCell();
    void typeDigit(char16_t digit);
    void arrow(Arrow arrow);

private:
    DurationEntry* focusedEntry();

    DurationEntry from_;
    DurationEntry interval_;
    DurationEntry to_;
    CalculatorFocus focus_;
};
