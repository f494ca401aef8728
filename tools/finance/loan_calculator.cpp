#include "loan_calculator.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "c_number.h"
#include "time_value_of_money.h"

using paymentSchedule::ScheduleReport;

namespace {

std::u16string widen(const std::string& ascii)
{
    return std::u16string(ascii.begin(), ascii.end());
}

}  // namespace

bool LoanAmortization::calculate(double amount, double rate, double perYear, double payments,
                               double payment)
{
    *this = LoanAmortization{};
    amount = TimeValueOfMoney::roundDown(amount, 2);
    rate = TimeValueOfMoney::roundDown(rate, 4);
    perYear = TimeValueOfMoney::roundDown(perYear, 2);
    payments = TimeValueOfMoney::roundDown(payments, 2);
    payment = TimeValueOfMoney::roundDown(payment, 2);

    const double i = TimeValueOfMoney::roundDown(rate / perYear * 0.01, 7);
    if (payment == kComputePayment) {
        // Without payments there is nothing to spread the loan over; the schedule stays empty.
        payment = 0.0;
        if (payments > 0.0) {
            const std::optional<double> level =
                paymentSchedule::annuityPayment(amount, i, payments);
            if (!level)
                return false;
            payment = TimeValueOfMoney::roundDown(*level, 2);
        }
    } else if (payment != 0.0) {
        // Any fraction of a payment still needs a payment of its own.
        if (const std::optional<double> n = paymentSchedule::periodsToRepay(amount, i, payment))
            payments = std::min(payments, std::ceil(*n));
    }
    periodicRate_ = i;
    ratePerPeriod_ = TimeValueOfMoney::roundDown(rate / perYear, 4);
    payment_ = payment;
    payments_ = payments;

    const double rowLimit = std::min(std::trunc(payments), double{paymentSchedule::kMaxPeriods});
    double balance = amount;
    for (int k = 1; k <= rowLimit; ++k) {
        Row row{TimeValueOfMoney::roundDown(k / perYear, 3), balance, TimeValueOfMoney::roundDown(balance * i, 2), 0.0};
        totalInterest_ += row.interest;
        if (row.interest + balance <= payment) {
            row.principal = row.interest + balance;
            totalPayments_ += row.principal;
            rows_.push_back(row);
            break;
        }
        row.principal = payment - row.interest;
        totalPayments_ += payment;
        balance -= row.principal;
        rows_.push_back(row);
    }

    const auto finite = [](double x) { return std::isfinite(x); };
    return std::all_of(rows_.begin(), rows_.end(),
                       [&](const Row& r) { return finite(r.balance) && finite(r.interest); }) &&
           finite(payment_) && finite(ratePerPeriod_) && finite(totalPayments_) &&
           finite(totalInterest_);
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
    fields_[kPaymentField] = on ? u"-1" : u"0";
}

LoanCalculator::CalcStatus LoanCalculator::calculate()
{
    std::array<double, kFieldCount> v{};
    for (std::size_t f = 0; f < kFieldCount; ++f) {
        const std::optional<double> value = paymentSchedule::parseField(fields_[f]);
        if (!value)
            return CalcStatus::InputError;
        v[f] = TimeValueOfMoney::roundDown(*value, f == kRateField ? 4 : 2);
    }
    const double amount = v[kAmountField], payment = v[kPaymentField];
    const bool valid = amount > 0.0 && amount <= paymentSchedule::kMaxAmount &&
                       v[kRateField] >= 0.0 && v[kPerYearField] > 0.0 && v[kPaymentsField] > 0.0 &&
                       v[kPaymentsField] <= paymentSchedule::kMaxPeriods &&
                       ((payment >= 0.0 && payment <= paymentSchedule::kMaxAmount) ||
                        payment == LoanAmortization::kComputePayment);
    if (!valid)
        return CalcStatus::InputError;

    LoanAmortization calc;
    if (!calc.calculate(amount, v[kRateField], v[kPerYearField], v[kPaymentsField], payment))
        return CalcStatus::InputError;
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
        u"Interest rate per period: " +
            paymentSchedule::groupedFixed(calc.ratePerPeriod(), 4, format) + u"%",
        u"Total Payments: " + money(calc.totalPayments()),
        u"Total Interest: " + money(calc.totalInterest()),
    };
    for (std::size_t k = 0; k < calc.rowCount(); ++k) {
        const LoanAmortization::Row row = *calc.row(k);
        report.lines.push_back({widen(std::to_string(k + 1)), widen(cnum::fixed(row.years, 3)),
                                money(row.balance), money(row.interest), money(row.principal)});
    }
    return report;
}
