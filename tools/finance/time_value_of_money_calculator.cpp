#include "time_value_of_money_calculator.h"

#include <cmath>
#include <cstdio>
#include <optional>

#include "ascii.h"
#include "engine_error.h"
#include "payment_schedule.h"
#include "result_format.h"
#include "time_value_of_money.h"

namespace {

// Decimals each field keeps after Calculate: whole periods, the rate to 3, money to cents.
constexpr std::array<int, TimeValueOfMoneyCalculator::kFieldCount> kDecimals = {0, 3, 2, 2, 2, 2};
// The inputs are read with a finer NPER than the result is shown with.
constexpr std::array<int, TimeValueOfMoneyCalculator::kFieldCount> kInputDecimals = {2, 3, 2, 2, 2, 2};

// Beyond this size a fixed text runs past any field; the display switches to SCI there too.
constexpr double kLargestFixedValue = 1e11;

// Fixed decimals without trailing zeros, so the opening texts read as typed ("6.007", "360");
// huge values in the display's scientific form.
std::u16string numberText(double value, int decimals)
{
    if (std::fabs(value) > kLargestFixedValue) {
        ResultFormatSettings settings;
        settings.outputFormat = OutputFormat::Other;
        return formatResult({value, 0.0}, settings).text;
    }
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    std::string text(buffer);
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0')
            text.pop_back();
        if (text.back() == '.')
            text.pop_back();
    }
    if (text == "-0")
        text = "0";
    return ascii::widen(text);
}

}  // namespace

TimeValueOfMoneyCalculator::TimeValueOfMoneyCalculator()
{
    for (std::size_t i = 0; i < kFieldCount; ++i)
        fields_[i] = std::u16string(kOpeningTexts[i]);
}

bool TimeValueOfMoneyCalculator::setFieldText(std::size_t field, std::u16string text)
{
    if (field >= kFieldCount || isReadOnly(field))
        return false;
    fields_[field] = std::move(text);
    return true;
}

void TimeValueOfMoneyCalculator::setSolved(std::size_t field)
{
    if (field < kSolvableCount)
        solved_ = field;
}

void TimeValueOfMoneyCalculator::setPaymentType(int type)
{
    if (type == 0 || type == 1)
        paymentType_ = type;
}

TimeValueOfMoneyCalculator::CalcStatus TimeValueOfMoneyCalculator::calculate()
{
    std::array<double, kFieldCount> v{};
    bool readable = true;
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        if (i == solved_)
            continue;
        const std::optional<double> value = paymentSchedule::parseField(fields_[i]);
        if (!value) {
            readable = false;
            continue;
        }
        v[i] = TimeValueOfMoney::roundDown(*value, kInputDecimals[i]);
    }
    TimeValueOfMoney::Result result;
    if (readable) {
        const double n = v[kNperField], r = v[kRateField], pv = v[kPvField], pmt = v[kPmtField], fv = v[kFvField],
                     py = v[kPerYearField];
        const int t = paymentType_;
        switch (solved_) {
        case kNperField: result = TimeValueOfMoney::periodCount(r, pmt, pv, fv, py, t); break;
        case kRateField: result = TimeValueOfMoney::interestRate(n, pmt, pv, fv, py, t); break;
        case kPvField: result = TimeValueOfMoney::presentValue(r, n, pmt, fv, py, t); break;
        case kPmtField: result = TimeValueOfMoney::payment(r, n, pv, fv, py, t); break;
        default: result = TimeValueOfMoney::futureValue(r, n, pmt, pv, py, t); break;
        }
    }
    const bool neverRepaid = readable && !result.ok() && solved_ == kNperField &&
                             TimeValueOfMoney::paymentNeverCoversInterest(v[kRateField], v[kPmtField], v[kPvField],
                                                                          v[kPerYearField], paymentType_);
    v[solved_] = result.ok() ? TimeValueOfMoney::roundDown(result.value, kDecimals[solved_]) : 0.0;
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        // A field that could not be read keeps what the user typed, so it can be corrected.
        if (i == solved_ || paymentSchedule::parseField(fields_[i]))
            fields_[i] = numberText(v[i], i == solved_ ? kDecimals[i] : kInputDecimals[i]);
    }
    if (neverRepaid)
        return CalcStatus::NeverRepaid;
    if (!result.ok()) {
        // The engine's word for the same inputs, where a 0 would pass for an answer.
        fields_[solved_] = std::u16string(errorMessage(TimeValueOfMoney::kInvalid));
        return CalcStatus::Invalid;
    }
    return CalcStatus::Done;
}
