#include "date_calculator.h"

#include <cstdint>
#include <utility>
#include <vector>

#include "ascii.h"
#include "lunar_date.h"

// ---- focus ----

void CalculatorFocus::move(Arrow arrow)
{
    if (field_ == CalcField::None) {
        field_ = CalcField::From;
        cell_ = 0;
        return;
    }
    const auto index = static_cast<std::size_t>(field_) - 1;  // From 0, Interval 1, To 2
    const auto fieldAt = [](std::size_t i) { return static_cast<CalcField>(i + 1); };
    switch (arrow) {
    case Arrow::Left:
        if (cell_ > 0) {
            --cell_;
        } else if (index > 0) {
            field_ = fieldAt(index - 1);
            cell_ = counts_[index - 1] - 1;
        }
        break;
    case Arrow::Right:
        if (cell_ + 1 < counts_[index]) {
            ++cell_;
        } else if (index + 1 < counts_.size()) {
            field_ = fieldAt(index + 1);
            cell_ = 0;
        }
        break;
    case Arrow::Up:
        if (index > 0) {
            field_ = fieldAt(index - 1);
            cell_ = 0;
        }
        break;
    case Arrow::Down:
        if (index + 1 < counts_.size()) {
            field_ = fieldAt(index + 1);
            cell_ = 0;
        }
        break;
    }
}

// ---- the window ----

namespace {

// The date control's number cells, left to right: first, second, year, hour, minute, second.
constexpr std::size_t kDateNumberCells = 6;
std::size_t dateCellAt(std::size_t index)
{
    return 2 + 2 * index;
}

int secondOfDay(const SolarDate& date)
{
    return (date.hour() * 60 + date.minute()) * 60 + date.second();
}

// -n for the interval's amounts, which are not range-checked: the most negative one wraps to
// itself instead of overflowing.
std::int64_t negated(std::int64_t n)
{
    return static_cast<std::int64_t>(std::uint64_t{0} - static_cast<std::uint64_t>(n));
}

// The first day of the Gregorian calendar: dates before it are still counted as Gregorian.
const SolarDate kGregorianReform = SolarDate::make(1582, 10, 15);

}  // namespace

DateEntry::Cells DateCalculator::Side::drawnCells() const
{
    DateEntry::Cells cells = entry.cells();
    for (std::size_t i = 0; i < cells.size(); ++i)
        if (cleared[i])
            cells[i].clear();
    return cells;
}

DateCalculator::DateCalculator(DateOrder order, LocalClock clock)
    : clock_(std::move(clock)),
      order_(order),
      from_{DateEntry(SolarDate::now(clock_), order), false, {}},
      to_{DateEntry(SolarDate::now(clock_), order), false, {}},
      focus_({kDateNumberCells, DurationEntry::kCellCount / 2, kDateNumberCells})
{
}

std::size_t DateCalculator::currentCell() const
{
    if (focus_.field() == CalcField::Interval)
        return DurationEntry::cellOf(interval_.currentPart());
    return dateCellAt(focus_.cell());
}

SolarDate DateCalculator::solarOf(const Side& side) const
{
    if (!side.lunar)
        return side.entry.value();
    return LunarDate::lunarToSolar(lunarOfEntryFields({side.entry.value(), side.entry.leapMonth()}), clock_);
}

void DateCalculator::showOn(Side& side, const SolarDate& solar)
{
    side.cleared.reset();
    if (!side.lunar) {
        side.entry.show(solar);
        return;
    }
    const LunarDate lunar = LunarDate::solarToLunar(solar);
    side.entry.show(lunarEntryFields(lunar), lunar.leap() == 1);
}

void DateCalculator::toggleLunar(Side& side)
{
    const SolarDate solar = solarOf(side);
    side.lunar = !side.lunar;
    side.entry = DateEntry(solar, order_, side.lunar ? lunarEntryCalendar(clock_) : DateEntryCalendar::solar());
    showOn(side, solar);
}

int DateCalculator::leapMonthOf(const Side& side) const
{
    return side.lunar ? LunarDate::leapMonthOf(side.entry.value().year()) : 0;
}

void DateCalculator::toggleLeap(Side& side)
{
    const int leapMonth = leapMonthOf(side);
    if (leapMonth == 0)
        return;
    const SolarDate& shown = side.entry.value();
    const bool toLeap = !side.entry.leapMonth();
    const int month = toLeap ? leapMonth : shown.month();
    LunarDate target(shown.year(), month, shown.day(), toLeap ? 1 : 0, shown.hour(), shown.minute(), shown.second());
    SolarDate solar = LunarDate::lunarToSolar(target, clock_);
    const LunarDate landed = LunarDate::solarToLunar(solar);
    if (landed.month() != month || landed.leap() != target.leap()) {
        // Day 30 of a 29-day month: the month's last day rather than the next month's first.
        solar.subDays(1);
    }
    showOn(side, solar);
}

std::u16string DateCalculator::noteOf(const Side& side) const
{
    const SolarDate solar = solarOf(side);
    std::u16string note;
    if (side.lunar)
        note = lunarDateNote(lunarOfEntryFields({side.entry.value(), side.entry.leapMonth()}), solar);
    if (SolarDate::isLater(kGregorianReform, solar)) {
        if (!note.empty())
            note += u'\n';
        note += kGregorianNote;
    }
    return note;
}

void DateCalculator::setOrder(DateOrder order)
{
    order_ = order;
    for (Side* side : {&from_, &to_}) {
        // A cleared cell stays with its field when month and day swap places.
        std::vector<DateEntry::Field> clearedFields;
        for (std::size_t i = 0; i < DateEntry::kCellCount; ++i)
            if (const auto field = side->entry.fieldOf(i); field && side->cleared[i])
                clearedFields.push_back(*field);
        side->entry.setOrder(order);
        side->cleared.reset();
        for (const DateEntry::Field field : clearedFields)
            side->cleared.set(side->entry.cellOf(field));
    }
}

std::optional<std::u16string> DateCalculator::computeInterval()
{
    const SolarDate from = fromDate();
    const SolarDate to = toDate();
    if (!SolarDate::isLater(to, from)) {
        interval_.show(Duration());
        if (to == from)
            return std::nullopt;
        return std::u16string(kToEarlierMessage);
    }
    std::int64_t days = SolarDate::daysBetween(to, from);
    int seconds = secondOfDay(to) - secondOfDay(from);
    if (seconds < 0) {
        // Borrow a day: 10:30 to 10:00 the next day is 0 d 23 h 30 m.
        --days;
        seconds += 86400;
    }
    interval_.show(Duration(days, seconds / 3600, seconds % 3600 / 60, seconds % 60));
    return std::nullopt;
}

void DateCalculator::computeTo()
{
    const Duration& amount = interval_.value();
    SolarDate to = fromDate().addSeconds(amount.seconds());
    to.addMinutes(amount.minutes());
    to.addHours(amount.hours());
    to.addDays(amount.days());
    showOn(to_, to);
}

void DateCalculator::computeFrom()
{
    const Duration& amount = interval_.value();
    SolarDate from = toDate();
    from.addDays(negated(amount.days()));
    from.addHours(negated(amount.hours()));
    from.addMinutes(negated(amount.minutes()));
    showOn(from_, from.addSeconds(negated(amount.seconds())));
}

DateCalculator::Side* DateCalculator::focusedSide()
{
    switch (focus_.field()) {
    case CalcField::From: return &from_;
    case CalcField::To: return &to_;
    default: return nullptr;
    }
}

void DateCalculator::clearCell()
{
    if (focus_.field() == CalcField::Interval)
        interval_.clearCell();
    else if (Side* side = focusedSide())
        side->cleared.set(currentCell());
}

void DateCalculator::typeDigit(char16_t digit)
{
    if (!ascii::isDigit(digit))
        return;
    if (focus_.field() == CalcField::Interval) {
        interval_.typeDigit(digit);
        return;
    }
    Side* side = focusedSide();
    if (side == nullptr)
        return;
    const std::size_t cell = currentCell();
    if (side->cleared[cell]) {
        side->entry.restartCell(cell);
        side->cleared.reset(cell);
    }
    side->entry.typeDigit(cell, digit);
}

void DateCalculator::arrow(Arrow arrow)
{
    focus_.move(arrow);
    if (focus_.field() == CalcField::Interval)
        interval_.setCurrentPart(static_cast<DurationEntry::Part>(focus_.cell()));
}
