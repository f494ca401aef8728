#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// A duration held as days, hours, minutes and seconds. The unit mode says which fields carry
// the value: 0 all four, 1 hours down, 2 minutes down, 3 seconds only. Arithmetic is on the
// signed 64-bit total of seconds and wraps silently on overflow.
class Duration {
public:
    static constexpr std::uint8_t kUnitModeCount = 4;

    // Zero in mode 0.
    Duration() = default;
    // Stores the fields as given; a mode outside 0..3 becomes 0.
    Duration(std::int64_t days, std::int64_t hours, std::int64_t minutes, std::int64_t seconds,
             std::uint8_t unitMode = 0);
    virtual ~Duration() = default;
    Duration(const Duration&) = default;
    Duration& operator=(const Duration&) = default;

    std::int64_t days() const { return days_; }
    std::int64_t hours() const { return hours_; }
    std::int64_t minutes() const { return minutes_; }
    std::int64_t seconds() const { return seconds_; }
    std::uint8_t unitMode() const { return unitMode_; }
    // Changes only the mode (outside 0..3 becomes 0); splitByMode moves the value into it.
    void setUnitMode(std::uint8_t mode);

    // Stores the parts folded into the fields that the mode carries: mode 1 keeps
    // days * 24 + hours as the hours, mode 3 keeps the total as the seconds.
    void setParts(std::int64_t days, std::int64_t hours, std::int64_t minutes, std::int64_t seconds);
    // ((days * 24 + hours) * 60 + minutes) * 60 + seconds.
    std::int64_t totalSeconds() const;
    // Re-splits the total by the mode, truncating towards zero: a negative total gives fields
    // that are all 0 or negative.
    void splitByMode();
    // 0 -> 1 -> 2 -> 3 -> 0, then splitByMode.
    void nextUnitMode();
    // The totals added or subtracted, split by this value's mode; the result carries mode 0.
    Duration plus(const Duration& b) const;
    Duration minus(const Duration& b) const;

    bool isNegative() const { return totalSeconds() < 0; }
    bool isZero() const { return totalSeconds() == 0; }

    // Signed decimal of each field: "-5", "169200".
    std::u16string daysText() const;
    std::u16string hoursText() const;
    std::u16string minutesText() const;
    std::u16string secondsText() const;

    friend bool operator==(const Duration&, const Duration&) = default;

private:
    std::int64_t days_ = 0;
    std::int64_t hours_ = 0;
    std::int64_t minutes_ = 0;
    std::int64_t seconds_ = 0;
    std::uint8_t unitMode_ = 0;
};

// The duration entry control without its drawing: eight cells, days "d" hours "h" minutes "m"
// seconds "s". Its value is its four number cells as read, in the control's unit mode, so a
// typed 90 minutes stays 90 minutes until the value is shown again.
class DurationEntry {
public:
    static constexpr std::size_t kCellCount = 8;
    static constexpr std::size_t kMaxDigits = 5;
    using Cells = std::array<std::u16string, kCellCount>;
    enum class Part { Days = 0, Hours = 1, Minutes = 2, Seconds = 3 };

    // Zero in mode 0, the current cell the days.
    DurationEntry();

    const Cells& cells() const { return cells_; }
    const Duration& value() const { return value_; }
    std::uint8_t unitMode() const { return value_.unitMode(); }
    static std::size_t cellOf(Part part) { return static_cast<std::size_t>(part) * 2; }

    Part currentPart() const { return current_; }
    // Moving onto the hours, minutes or seconds cell makes the next digit replace its text.
    void setCurrentPart(Part part);

    // Takes the value's total in the control's mode (setParts, then splitByMode) and writes
    // the cells.
    void show(const Duration& value);
    // nextUnitMode on the value, then shows it.
    void nextUnitMode();
    // A digit replaces an empty or "0" cell (or the first one after moving onto the cell),
    // else is appended while the cell holds fewer than 5 digits. Anything else is ignored.
    void typeDigit(char16_t digit);
    // The current cell becomes "0".
    void clearCell();

private:
    void readBack();

    Duration value_;
    Cells cells_;
    Part current_ = Part::Days;
    bool replaceNext_ = false;
};
