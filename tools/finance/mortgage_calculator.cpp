#include "mortgage_calculator.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "ascii.h"
#include "time_value_of_money.h"

using paymentSchedule::ScheduleReport;

bool MortgageAmortization::calculate(double amount, double rate, double years)
{
    using paymentSchedule::Cents;
    using paymentSchedule::fromCents;
    *this = MortgageAmortization{};
    amount_ = TimeValueOfMoney::roundDown(amount, 2);
    rate_ = TimeValueOfMoney::roundDown(rate, 4);
    years_ = TimeValueOfMoney::roundDown(years, 2);
    months_ = TimeValueOfMoney::roundDown(years * 12.0, 2);
    if (!(months_ > 0.0) || !(amount_ * 100.0 <= static_cast<double>(paymentSchedule::kMaxScheduleCents)))
        return false;

    const double i = TimeValueOfMoney::roundDown(rate_ * (1.0 / 1200.0), 7);
    const std::optional<double> level = paymentSchedule::annuityPayment(amount_, i, months_);
    if (!level || !(*level * 100.0 <= static_cast<double>(paymentSchedule::kMaxScheduleCents)))
        return false;
    payment_ = TimeValueOfMoney::roundDown(*level, 2);
    const Cents paymentCents = paymentSchedule::toCents(payment_);

    const int rowLimit = static_cast<int>(std::min(std::trunc(months_), double{paymentSchedule::kMaxPeriods}));
    Cents balance = paymentSchedule::toCents(amount_);
    Cents totalInterest = 0;
    Cents totalPayments = 0;
    for (int k = 1; k <= rowLimit && balance > 0; ++k) {
        const std::optional<Cents> interest = paymentSchedule::periodInterest(balance, i);
        if (!interest)
            return false;
        // The last month pays what is left, so the balance ends at exactly 0: a few cents more
        // or less than the rounded payment, or the whole rest when the length had a fraction
        // of a month. A payment rounded up may repay a long loan a little early.
        const bool last = balance + *interest <= paymentCents || k == rowLimit;
        const Cents principal = last ? balance : paymentCents - *interest;
        const Cents paid = principal + *interest;
        const double percent =
            paid == 0 ? 0.0 : TimeValueOfMoney::roundDown(static_cast<double>(principal) / paid * 100.0, 2);
        balance -= principal;
        totalInterest += *interest;
        totalPayments += paid;
        rows_.push_back({fromCents(*interest), percent, fromCents(balance)});
        finalPayment_ = fromCents(paid);
    }
    totalInterest_ = fromCents(totalInterest);
    totalPayments_ = fromCents(totalPayments);
    averageMonthlyInterest_ = TimeValueOfMoney::roundDown(totalInterest_ / months_, 2);
    return std::isfinite(averageMonthlyInterest_);
}

std::optional<MortgageAmortization::Row> MortgageAmortization::month(int year, int month) const
{
    if (year < 1 || month < 1 || month > 12)
        return std::nullopt;
    const std::size_t index = static_cast<std::size_t>(year - 1) * 12 + (month - 1);
    if (index >= rows_.size())
        return std::nullopt;
    return rows_[index];
}

std::optional<MortgageAmortization::YearTotals> MortgageAmortization::yearTotals(int year) const
{
    if (!month(year, 12))
        return std::nullopt;
    YearTotals totals{0.0, 0.0, month(year, 12)->balance};
    for (int m = 1; m <= 12; ++m) {
        const Row row = *month(year, m);
        totals.interest += row.interest;
        totals.principalPercent += row.principalPercent;
    }
    totals.principalPercent *= 1.0 / 12.0;
    return totals;
}

MortgageCalculator::MortgageCalculator(OutputFormat format) : format_(format)
{
    for (std::size_t f = 0; f < kFieldCount; ++f)
        fields_[f] = kOpeningTexts[f];
}

bool MortgageCalculator::setFieldText(std::size_t field, std::u16string text)
{
    if (field >= kFieldCount)
        return false;
    if (field == kYearsField)
        paymentSchedule::limitTypedField(text, kMaxYears);
    fields_[field] = std::move(text);
    return true;
}

MortgageCalculator::CalcStatus MortgageCalculator::calculate()
{
    std::array<double, kFieldCount> raw{};
    for (std::size_t f = 0; f < kFieldCount; ++f) {
        const std::optional<double> value = paymentSchedule::parseField(fields_[f]);
        if (!value)
            return CalcStatus::InputError;
        raw[f] = *value;
    }
    const double amount = TimeValueOfMoney::roundDown(raw[kAmountField], 2);
    const double rate = TimeValueOfMoney::roundDown(raw[kRateField], 4);
    const double years = TimeValueOfMoney::roundDown(raw[kYearsField], 2);
    if (!(amount > 0.0 && amount <= paymentSchedule::kMaxAmount && rate >= 0.0 && years > 0.0 && years <= kMaxYears))
        return CalcStatus::InputError;

    // The length goes in as typed: the month count is taken from it before its own rounding.
    MortgageAmortization calc;
    if (!calc.calculate(raw[kAmountField], raw[kRateField], raw[kYearsField]))
        return CalcStatus::InputError;
    calc_ = std::move(calc);
    report_ = makeReport(calc_, format_);
    return CalcStatus::Done;
}

ScheduleReport MortgageCalculator::makeReport(const MortgageAmortization& calc, OutputFormat format)
{
    const auto money = [format](double x) { return paymentSchedule::groupedFixed(x, 2, format); };
    ScheduleReport report;
    report.columns.assign(kColumns.begin(), kColumns.end());
    const auto addLine = [&](int year, std::u16string_view what, double percent, double interest, double balance) {
        report.lines.push_back({ascii::widen(std::to_string(year)), std::u16string(what), money(percent),
                                money(interest), money(balance)});
    };

    // A month is listed while its running count is within the rounded length in months, and
    // while the schedule holds it: the month count comes from the length as typed and may be a
    // month shorter (1.16625 years: 14.04 months by the rounded length, 13.99 by the typed one).
    // A payment rounded up may repay the loan before the length ends: the list stops there too.
    const auto listed =
        static_cast<std::size_t>(std::clamp(std::floor(calc.years() * 12.0), 0.0, double(calc.rowCount())));
    for (std::size_t k = 0; k < listed; ++k) {
        const int year = static_cast<int>(k / 12) + 1;
        const int month = static_cast<int>(k % 12) + 1;
        const MortgageAmortization::Row row = *calc.month(year, month);
        addLine(year, kMonthNames[month - 1], row.principalPercent, row.interest, row.balance);
        if (month == 12) {
            const MortgageAmortization::YearTotals totals = *calc.yearTotals(year);
            addLine(year, kTotalsWord, totals.principalPercent, totals.interest, totals.balance);
        }
    }

    report.summary = {
        u"Monthly payment:  " + money(calc.payment()),
        u"Avg. monthly interest: " + money(calc.averageMonthlyInterest()),
        u"Total Interest: " + money(calc.totalInterest()),
        u"Total Payments: " + money(calc.totalPayments()),
    };
    if (calc.rowCount() > 0 && calc.finalPayment() != calc.payment())
        report.summary.push_back(u"Final payment: " + money(calc.finalPayment()));
    return report;
}
