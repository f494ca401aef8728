#include "loan_calculator.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "ascii.h"
#include "c_number.h"
#include "time_value_of_money.h"

using paymentSchedule::ScheduleReport;

LoanAmortization::Outcome LoanAmortization::calculate(double amount, double rate, double perYear, double payments,
                                                      double payment)
{
    using paymentSchedule::Cents;
    using paymentSchedule::fromCents;
    *this = LoanAmortization{};
    amount = TimeValueOfMoney::roundDown(amount, 2);
    rate = TimeValueOfMoney::roundDown(rate, 4);
    perYear = TimeValueOfMoney::roundDown(perYear, 2);
    payments = TimeValueOfMoney::roundDown(payments, 2);
    payment = TimeValueOfMoney::roundDown(payment, 2);

    const double i = TimeValueOfMoney::roundDown(rate / perYear * 0.01, 7);
    ratePerPeriod_ = TimeValueOfMoney::roundDown(rate / perYear, 4);
    const auto tooLarge = [](double money) {
        return !(std::fabs(money) * 100.0 <= static_cast<double>(paymentSchedule::kMaxScheduleCents));
    };
    if (tooLarge(amount) || tooLarge(payment) || !std::isfinite(ratePerPeriod_) || !std::isfinite(i))
        return Outcome::Overflow;
    const Cents amountCents = paymentSchedule::toCents(amount);

    if (payment == kComputePayment) {
        // Without payments there is nothing to spread the loan over; the schedule stays empty.
        payment = 0.0;
        if (payments > 0.0) {
            const std::optional<double> level = paymentSchedule::annuityPayment(amount, i, payments);
            if (!level || tooLarge(*level))
                return Outcome::Overflow;
            payment = TimeValueOfMoney::roundDown(*level, 2);
        }
    } else if (payment != 0.0) {
        const std::optional<Cents> firstInterest = paymentSchedule::periodInterest(amountCents, i);
        if (!firstInterest)
            return Outcome::Overflow;
        // The interest only falls as the balance does: a payment that does not beat the first
        // period's interest never repays anything.
        if (paymentSchedule::toCents(payment) <= *firstInterest)
            return Outcome::NeverRepaid;
        // Any fraction of a payment still needs a payment of its own.
        if (const std::optional<double> n = paymentSchedule::periodsToRepay(amount, i, payment))
            payments = std::min(payments, std::ceil(*n));
    }
    periodicRate_ = i;
    payment_ = payment;
    payments_ = payments;

    const Cents paymentCents = paymentSchedule::toCents(payment);
    // Without a payment nothing is repaid: the rows only show the interest piling up.
    const bool repays = paymentCents > 0;
    const int rowLimit = static_cast<int>(std::min(std::trunc(payments), double{paymentSchedule::kMaxPeriods}));
    Cents balance = amountCents;
    for (int k = 1; k <= rowLimit; ++k) {
        const std::optional<Cents> interest = paymentSchedule::periodInterest(balance, i);
        if (!interest)
            return Outcome::Overflow;
        // The last row pays what is left: less than a payment when the level payment was
        // rounded up or repays early, more when the payments were too few or rounded down.
        const bool last = repays && (balance + *interest <= paymentCents || k == rowLimit);
        const Cents principal = last ? balance : paymentCents - *interest;
        if (balance - principal > paymentSchedule::kMaxScheduleCents)
            return Outcome::Overflow;
        rows_.push_back({TimeValueOfMoney::roundDown(k / perYear, 3), fromCents(balance), fromCents(*interest),
                         fromCents(principal)});
        totalInterest_ += *interest;
        totalPayments_ += *interest + principal;
        balance -= principal;
        if (last)
            break;
    }
    finalBalance_ = balance;
    return Outcome::Done;
}

double LoanAmortization::finalPayment() const
{
    return rows_.empty() ? 0.0 : rows_.back().payment();
}

std::optional<LoanAmortization::Row> LoanAmortization::row(std::size_t index) const
{
    if (index >= rows_.size())
        return std::nullopt;
    return rows_[index];
}

LoanCalculator::LoanCalculator(OutputFormat format) : format_(format)
{
    for (std::size_t f = 0; f < kFieldCount; ++f)
        fields_[f] = kOpeningTexts[f];
}

bool LoanCalculator::isReadOnly(std::size_t field) const
{
    return field == kPaymentField && computesPayment_;
}

bool LoanCalculator::setFieldText(std::size_t field, std::u16string text)
{
    if (field >= kFieldCount || isReadOnly(field))
        return false;
    if (field == kPaymentsField)
        paymentSchedule::limitTypedField(text, paymentSchedule::kMaxPeriods);
    fields_[field] = std::move(text);
    return true;
}

void LoanCalculator::setComputesPayment(bool on)
{
    computesPayment_ = on;
    // A payment still to compute has no number to show yet.
    fields_[kPaymentField] = on ? u"" : u"0";
}

LoanCalculator::CalcStatus LoanCalculator::calculate()
{
    std::array<double, kFieldCount> v{};
    for (std::size_t f = 0; f < kFieldCount; ++f) {
        if (f == kPaymentField && computesPayment_) {
            v[f] = LoanAmortization::kComputePayment;
            continue;
        }
        const std::optional<double> value = paymentSchedule::parseField(fields_[f]);
        if (!value)
            return CalcStatus::InputError;
        v[f] = TimeValueOfMoney::roundDown(*value, f == kRateField ? 4 : 2);
    }
    const double amount = v[kAmountField], payment = v[kPaymentField];
    const bool valid =
        amount > 0.0 && amount <= paymentSchedule::kMaxAmount && v[kRateField] >= 0.0 && v[kPerYearField] > 0.0 &&
        v[kPaymentsField] > 0.0 && v[kPaymentsField] <= paymentSchedule::kMaxPeriods &&
        ((payment >= 0.0 && payment <= paymentSchedule::kMaxAmount) || payment == LoanAmortization::kComputePayment);
    if (!valid)
        return CalcStatus::InputError;

    LoanAmortization calc;
    switch (calc.calculate(amount, v[kRateField], v[kPerYearField], v[kPaymentsField], payment)) {
    case LoanAmortization::Outcome::Done: break;
    case LoanAmortization::Outcome::NeverRepaid: return CalcStatus::NeverRepaid;
    case LoanAmortization::Outcome::Overflow: return CalcStatus::InputError;
    }
    calc_ = std::move(calc);
    report_ = makeReport(calc_, format_);
    return CalcStatus::Done;
}

ScheduleReport LoanCalculator::makeReport(const LoanAmortization& calc, OutputFormat format)
{
    const auto money = [format](double x) { return paymentSchedule::groupedFixed(x, 2, format); };
    ScheduleReport report;
    report.columns.assign(kColumns.begin(), kColumns.end());
    report.summary = {
        u"Payment per period: " + money(calc.payment()),
        u"Interest rate per period: " + paymentSchedule::groupedFixed(calc.ratePerPeriod(), 4, format) + u"%",
        u"Total Payments: " + money(calc.totalPayments()),
        u"Total Interest: " + money(calc.totalInterest()),
    };
    if (calc.rowCount() > 0 && calc.finalPayment() != calc.payment())
        report.summary.push_back(u"Final payment: " + money(calc.finalPayment()));
    for (std::size_t k = 0; k < calc.rowCount(); ++k) {
        const LoanAmortization::Row row = *calc.row(k);
        report.lines.push_back({ascii::widen(std::to_string(k + 1)), ascii::widen(cnum::fixed(row.years, 3)),
                                money(row.balance), money(row.interest), money(row.principal)});
    }
    return report;
}
