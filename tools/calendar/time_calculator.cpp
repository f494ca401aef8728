#include "time_calculator.h"

namespace {
constexpr std::size_t kTimeNumberCells = DurationEntry::kCellCount / 2;
}

TimeCalculator::TimeCalculator() : focus_({kTimeNumberCells, kTimeNumberCells, kTimeNumberCells})
{
}

std::optional<std::u16string> TimeCalculator::computeInterval()
{
    const Duration difference = to_.value().minus(from_.value());
    if (difference.isNegative())
        return std::u16string(kFromAfterToMessage);
    interval_.show(difference);
    return std::nullopt;
}

void TimeCalculator::computeTo()
{
    to_.show(from_.value().plus(interval_.value()));
}

std::optional<std::u16string> TimeCalculator::computeFrom()
{
    const Duration difference = to_.value().minus(interval_.value());
    if (difference.isNegative())
        return std::u16string(kFromAfterIntervalMessage);
    from_.show(difference);
    return std::nullopt;
}

DurationEntry* TimeCalculator::focusedEntry()
{
    switch (focus_.field()) {
    case CalcField::From: return &from_;
    case CalcField::Interval: return &interval_;
    case CalcField::To: return &to_;
    case CalcField::None: break;
    }
    return nullptr;
}

void TimeCalculator::clearCell()
{
    if (DurationEntry* entry = focusedEntry())
        entry->clearCell();
}

void TimeCalculator::typeDigit(char16_t digit)
{
    if (DurationEntry* entry = focusedEntry())
        entry->typeDigit(digit);
}

void TimeCalculator::arrow(Arrow arrow)
{
    focus_.move(arrow);
    if (DurationEntry* entry = focusedEntry())
        entry->setCurrentPart(static_cast<DurationEntry::Part>(focus_.cell()));
}
