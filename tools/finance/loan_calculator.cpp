#include "loan_calculator.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "c_number.h"
#include "tvm_calc.h"

using paymentSchedule::ScheduleReport;

namespace {

std::u16string widen(const std::string& ascii)
{
    return std::u16string(ascii.begin(), ascii.end());
}

}  // namespace

bool CLoanCalculate::calculate(double amount, double rate, double perYear, double payments,
                               double payment)
{
    *this = CLoanCalculate{};
    amount = CTVMCalc::Round(amount, 2);
    rate = CTVMCalc::Round(rate, 4);
    perYear = CTVMCalc::Round(perYear, 2);
    payments = CTVMCalc::Round(payments, 2);
    payment = CTVMCalc::Round(payment, 2);

    const double i = CTVMCalc::Round(rate / perYear * 0.01, 7);
    if (payment == kComputePayment) {
        // Without payments there is nothing to spread the loan over; the schedule stays empty.
        payment = 0.0;
        if (payments > 0.0) {
            const std::optional<double> level =
                paymentSchedule::annuityPayment(amount, i, payments);
            if (!level)
                return false;
            payment = CTVMCalc::Round(*level, 2);
        }
    } else if (payment != 0.0) {
        // Any fraction of a payment still needs a payment of its own.
        if (const std::optional<double> n = paymentSchedule::periodsToRepay(amount, i, payment))
            payments = std::min(payments, std::ceil(*n));
    }
    periodicRate_ = i;
    ratePerPeriod_ = CTVMCalc::Round(rate / perYear, 4);
    payment_ = payment;
    payments_ = payments;

    const double rowLimit = std::min(std::trunc(payments), double{paymentSchedule::kMaxPeriods});
    double balance = amount;
    for (int k = 1; k <= rowLimit; ++k) {
        Row row{CTVMCalc::Round(k / perYear, 3), balance, CTVMCalc::Round(balance * i, 2), 0.0};
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

std::optional<CLoanCalculate::Row> CLoanCalculate::row(std::size_t index) const
{
    if (index >= rows_.size())
        return std::nullopt;
    return rows_[index];
}

CLoanCalcDlg::CLoanCalcDlg(OutputFormat format) : format_(format)
{
    for (std::size_t f = 0; f < kFieldCount; ++f)
        fields_[f] = kOpeningTexts[f];
}

bool CLoanCalcDlg::isReadOnly(std::size_t field) const
{
    return field == kPaymentField && computesPayment_;
}

bool CLoanCalcDlg::setFieldText(std::size_t field, std::u16string text)
{
    if (field >= kFieldCount || isReadOnly(field))
        return false;
    if (field == kPaymentsField)
        paymentSchedule::limitTypedField(text, paymentSchedule::kMaxPeriods);
    fields_[field] = std::move(text);
    return true;
}

void CLoanCalcDlg::setComputesPayment(bool on)
{
    computesPayment_ = on;
    fields_[kPaymentField] = on ? u"-1" : u"0";
}

CLoanCalcDlg::CalcStatus CLoanCalcDlg::calculate()
{
    std::array<double, kFieldCount> v{};
    for (std::size_t f = 0; f < kFieldCount; ++f) {
        const std::optional<double> value = paymentSchedule::parseField(fields_[f]);
        if (!value)
            return CalcStatus::InputError;
        v[f] = CTVMCalc::Round(*value, f == kRateField ? 4 : 2);
    }
    const double amount = v[kAmountField], payment = v[kPaymentField];
    const bool valid = amount > 0.0 && amount <= paymentSchedule::kMaxAmount &&
                       v[kRateField] >= 0.0 && v[kPerYearField] > 0.0 && v[kPaymentsField] > 0.0 &&
                       v[kPaymentsField] <= paymentSchedule::kMaxPeriods &&
                       ((payment >= 0.0 && payment <= paymentSchedule::kMaxAmount) ||
                        payment == CLoanCalculate::kComputePayment);
    if (!valid)
        return CalcStatus::InputError;

    CLoanCalculate calc;
    if (!calc.calculate(amount, v[kRateField], v[kPerYearField], v[kPaymentsField], payment))
        return CalcStatus::InputError;
    calc_ = std::move(calc);
    report_ = makeReport(calc_, format_);
    return CalcStatus::Done;
}

ScheduleReport CLoanCalcDlg::makeReport(const CLoanCalculate& calc, OutputFormat format)
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
        const CLoanCalculate::Row row = *calc.row(k);
        report.lines.push_back({widen(std::to_string(k + 1)), widen(cnum::fixed(row.years, 3)),
                                money(row.balance), money(row.interest), money(row.principal)});
    }
    return report;
}
