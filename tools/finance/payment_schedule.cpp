#include "payment_schedule.h"

#include <cmath>
#include <string>

#include "c_number.h"
#include "time_value_of_money.h"

namespace paymentSchedule {

namespace {

// TimeValueOfMoney takes an annual percent and derives i = rate / (perYear x 100). With perYear 0.01
// that divisor is exactly 1, so the library works with our already rounded periodic rate as is.
constexpr double kPerYearForPeriodicRate = 0.01;
static_assert(kPerYearForPeriodicRate * 100.0 == 1.0);

constexpr int kEndOfPeriod = 0;

std::optional<double> valueIfOk(const TimeValueOfMoney::Result& result)
{
    if (!result.ok())
        return std::nullopt;
    return result.value;
}

bool isSpace(char16_t c)
{
    return c == u' ' || c == u'\t';
}

}  // namespace

Cents toCents(double amount)
{
    return std::llround(amount * 100.0);
}

double fromCents(Cents cents)
{
    return static_cast<double>(cents) / 100.0;
}

std::optional<Cents> periodInterest(Cents balance, double periodicRate)
{
    const double interest = TimeValueOfMoney::roundDown(fromCents(balance) * periodicRate, 2) * 100.0;
    if (!(std::fabs(interest) <= static_cast<double>(kMaxScheduleCents)))
        return std::nullopt;
    return std::llround(interest);
}

std::optional<double> parseField(std::u16string_view text)
{
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    std::string ascii;
    for (char16_t c : text) {
        if (c >= 0x80)
            return std::nullopt;
        ascii += static_cast<char>(c);
    }
    double value = 0.0;
    if (ascii.empty() || cnum::parsePrefix(ascii, value) != ascii.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

void limitTypedField(std::u16string& text, int max)
{
    const std::optional<double> value = parseField(text);
    if (!value)
        return;
    if (*value > max) {
        const std::string limit = std::to_string(max);
        text.assign(limit.begin(), limit.end());
    } else if (*value < 0.0) {
        text = u"0";
    }
}

std::u16string groupedFixed(double value, int decimals, OutputFormat format)
{
    const std::string ascii = cnum::fixed(value, decimals);
    std::u16string text(ascii.begin(), ascii.end());
    if (const std::optional<Separators> seps = separatorsOf(format))
        groupDigits(text, seps->decimalChar, seps->groupChar);
    return text;
}

std::optional<double> annuityPayment(double amount, double periodicRate, double periods)
{
    return valueIfOk(
        TimeValueOfMoney::payment(periodicRate, periods, amount, 0.0, kPerYearForPeriodicRate, kEndOfPeriod));
}

std::optional<double> periodsToRepay(double amount, double periodicRate, double payment)
{
    return valueIfOk(
        TimeValueOfMoney::periodCount(periodicRate, payment, amount, 0.0, kPerYearForPeriodicRate, kEndOfPeriod));
}

}  // namespace paymentSchedule
