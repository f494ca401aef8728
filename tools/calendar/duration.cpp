#include "duration.h"

#include <algorithm>
#include <charconv>

#include "ascii.h"

namespace {

// Totals are not checked for overflow; wrapping through unsigned keeps that defined.
std::int64_t wrapAdd(std::int64_t a, std::int64_t b)
{
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(a) + static_cast<std::uint64_t>(b));
}

std::int64_t wrapSub(std::int64_t a, std::int64_t b)
{
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(a) - static_cast<std::uint64_t>(b));
}

std::int64_t wrapMul(std::int64_t a, std::int64_t factor)
{
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(a) * static_cast<std::uint64_t>(factor));
}

std::uint8_t validMode(std::uint8_t mode)
{
    return mode < Duration::kUnitModeCount ? mode : 0;
}

std::u16string decimal(std::int64_t value)
{
    char text[24];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return std::u16string(text, end);
}

// A cell that does not read as a 64-bit integer counts as 0.
std::int64_t readCell(const std::u16string& cell)
{
    std::string ascii;
    for (const char16_t c : cell) {
        if (c > 0x7f)
            return 0;
        ascii += static_cast<char>(c);
    }
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    return error == std::errc{} && end == ascii.data() + ascii.size() ? value : 0;
}

}  // namespace

Duration::Duration(std::int64_t days, std::int64_t hours, std::int64_t minutes, std::int64_t seconds,
                   std::uint8_t unitMode)
    : days_(days), hours_(hours), minutes_(minutes), seconds_(seconds), unitMode_(validMode(unitMode))
{
}

void Duration::setUnitMode(std::uint8_t mode)
{
    unitMode_ = validMode(mode);
}

void Duration::setParts(std::int64_t days, std::int64_t hours, std::int64_t minutes, std::int64_t seconds)
{
    const std::int64_t allHours = wrapAdd(wrapMul(days, 24), hours);
    const std::int64_t allMinutes = wrapAdd(wrapMul(allHours, 60), minutes);
    switch (unitMode_) {
    case 0: *this = Duration(days, hours, minutes, seconds, 0); break;
    case 1: *this = Duration(0, allHours, minutes, seconds, 1); break;
    case 2: *this = Duration(0, 0, allMinutes, seconds, 2); break;
    default: *this = Duration(0, 0, 0, wrapAdd(wrapMul(allMinutes, 60), seconds), 3); break;
    }
}

std::int64_t Duration::totalSeconds() const
{
    const std::int64_t allHours = wrapAdd(wrapMul(days_, 24), hours_);
    return wrapAdd(wrapMul(wrapAdd(wrapMul(allHours, 60), minutes_), 60), seconds_);
}

void Duration::splitByMode()
{
    // C++ division truncates towards zero and % keeps the dividend's sign, as required.
    std::int64_t rest = totalSeconds();
    days_ = hours_ = minutes_ = 0;
    if (unitMode_ == 0) {
        days_ = rest / 86400;
        rest %= 86400;
    }
    if (unitMode_ <= 1) {
        hours_ = rest / 3600;
        rest %= 3600;
    }
    if (unitMode_ <= 2) {
        minutes_ = rest / 60;
        rest %= 60;
    }
    seconds_ = rest;
}

void Duration::nextUnitMode()
{
    unitMode_ = static_cast<std::uint8_t>((unitMode_ + 1) % kUnitModeCount);
    splitByMode();
}

Duration Duration::plus(const Duration& b) const
{
    Duration sum(0, 0, 0, wrapAdd(totalSeconds(), b.totalSeconds()), unitMode_);
    sum.splitByMode();
    sum.unitMode_ = 0;
    return sum;
}

Duration Duration::minus(const Duration& b) const
{
    Duration difference(0, 0, 0, wrapSub(totalSeconds(), b.totalSeconds()), unitMode_);
    difference.splitByMode();
    difference.unitMode_ = 0;
    return difference;
}

std::u16string Duration::daysText() const
{
    return decimal(days_);
}
std::u16string Duration::hoursText() const
{
    return decimal(hours_);
}
std::u16string Duration::minutesText() const
{
    return decimal(minutes_);
}
std::u16string Duration::secondsText() const
{
    return decimal(seconds_);
}

// ---- the entry control ----

DurationEntry::DurationEntry() : cells_{u"0", u"d", u"0", u"h", u"0", u"m", u"0", u"s"}
{
}

void DurationEntry::setCurrentPart(Part part)
{
    current_ = part;
    replaceNext_ = part != Part::Days;
}

void DurationEntry::show(const Duration& value)
{
    value_.setParts(value.days(), value.hours(), value.minutes(), value.seconds());
    value_.splitByMode();
    cells_[cellOf(Part::Days)] = value_.daysText();
    cells_[cellOf(Part::Hours)] = value_.hoursText();
    cells_[cellOf(Part::Minutes)] = value_.minutesText();
    cells_[cellOf(Part::Seconds)] = value_.secondsText();
}

void DurationEntry::nextUnitMode()
{
    Duration next = value_;
    next.nextUnitMode();
    value_.setUnitMode(next.unitMode());
    show(next);
}

void DurationEntry::typeDigit(char16_t digit)
{
    if (!ascii::isDigit(digit))
        return;
    std::u16string& cell = cells_[cellOf(current_)];
    const auto digits = static_cast<std::size_t>(std::count_if(cell.begin(), cell.end(), ascii::isDigit<char16_t>));
    if (cell.empty() || cell == u"0" || replaceNext_)
        cell = std::u16string(1, digit);
    else if (digits < kMaxDigits)
        cell += digit;
    replaceNext_ = false;
    readBack();
}

void DurationEntry::clearCell()
{
    // Not `= u"0"`, which GCC 12 takes for an overlapping copy (-Wrestrict).
    cells_[cellOf(current_)].assign(1, u'0');
    readBack();
}

void DurationEntry::readBack()
{
    value_ =
        Duration(readCell(cells_[cellOf(Part::Days)]), readCell(cells_[cellOf(Part::Hours)]),
                 readCell(cells_[cellOf(Part::Minutes)]), readCell(cells_[cellOf(Part::Seconds)]), value_.unitMode());
}
