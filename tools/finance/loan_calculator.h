#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "payment_schedule.h"
#include "result_format.h"

// The arithmetic of the loan calculator: a level payment (given or computed), the amortisation
// schedule and its totals. Balances are kept in cents: a repaid loan ends at exactly 0, and
// the totals are the sums of the rows.
class LoanAmortization {
public:
    // Marks the payment as one to compute.
    static constexpr double kComputePayment = -1.0;

    struct Row {
        double years;
        double balance;  // before this period's payment
        double interest;
        double principal;  // what the payment takes off the balance
        double payment() const { return interest + principal; }
    };

    enum class Outcome {
        Done,
        // A given payment is at most the first period's interest: the balance never falls.
        NeverRepaid,
        // A number grew beyond what a schedule shows (kMaxScheduleCents).
        Overflow,
    };

    // Rounds amount to 2 decimals, the annual percent rate to 4, perYear, payments and payment
    // to 2, then builds the schedule. payment kComputePayment: the level payment that repays
    // the loan in `payments`; another non-zero payment: `payments` shrinks to the whole number
    // of payments that repays the loan. Either way the last row pays what is left, so the
    // balance ends at exactly 0 (a payment larger than the level one, or a last payment
    // that takes the remainder). payment 0: interest only accrues, the balance grows. At most
    // paymentSchedule::kMaxPeriods rows. Only Done leaves a schedule.
    Outcome calculate(double amount, double rate, double perYear, double payments, double payment);

    double payment() const { return payment_; }
    double periodicRate() const { return periodicRate_; }
    // The annual rate per period in percent, rounded to 4 decimals, for display.
    double ratePerPeriod() const { return ratePerPeriod_; }
    double payments() const { return payments_; }
    // The sums of the rows' payments and interests.
    double totalPayments() const { return paymentSchedule::fromCents(totalPayments_); }
    double totalInterest() const { return paymentSchedule::fromCents(totalInterest_); }
    // The balance after the last row: exactly 0 when the payments repay the loan.
    double finalBalance() const { return paymentSchedule::fromCents(finalBalance_); }
    // The last row's payment (it may differ from payment()), 0 without rows.
    double finalPayment() const;

    std::size_t rowCount() const { return rows_.size(); }
    // Row `index` (0-based); nothing past the last computed row.
    std::optional<Row> row(std::size_t index) const;

private:
    double payment_ = 0.0;
    double periodicRate_ = 0.0;
    double ratePerPeriod_ = 0.0;
    double payments_ = 0.0;
    paymentSchedule::Cents totalPayments_ = 0;
    paymentSchedule::Cents totalInterest_ = 0;
    paymentSchedule::Cents finalBalance_ = 0;
    std::vector<Row> rows_;
};

// The loan window's model: five number fields, the "compute the payment" check box, and the
// Calculate button, which validates and fills the result window's report.
class LoanCalculator {
public:
    static constexpr std::size_t kFieldCount = 5;
    static constexpr std::size_t kAmountField = 0;
    static constexpr std::size_t kRateField = 1;
    static constexpr std::size_t kPerYearField = 2;
    static constexpr std::size_t kPaymentsField = 3;
    static constexpr std::size_t kPaymentField = 4;

    static constexpr std::u16string_view kTitle = u"Loan calculator";
    static constexpr std::u16string_view kResultTitle = u"Loan result";
    static constexpr std::array<std::u16string_view, kFieldCount> kFieldLabels = {
        u"Loan Amount (C)", u"Annual Interest Rate (I%Y)", u"Periods per Year", u"Total Number of Payments",
        u"Payment Each Period \n(Tick to calculate)"};
    static constexpr std::array<std::u16string_view, kFieldCount> kOpeningTexts = {u"1000", u"7", u"12", u"12", u"0"};
    static constexpr std::array<std::u16string_view, 5> kColumns = {u"Period", u"Years", u"Balance", u"Int",
                                                                    u"Principal"};

    // NeverRepaid: the window shows kNeverRepaidMessage and no schedule.
    enum class CalcStatus { Done, InputError, NeverRepaid };

    explicit LoanCalculator(OutputFormat format = OutputFormat::UnitedStates);

    const std::u16string& fieldText(std::size_t field) const { return fields_[field]; }
    // Typing into a field; the payment count is held to 0..kMaxPeriods as it is typed. A
    // read-only field keeps its text and false is returned.
    bool setFieldText(std::size_t field, std::u16string text);
    bool isReadOnly(std::size_t field) const;

    // The check box: checked empties the payment field (the payment is computed) and makes it
    // read-only, cleared puts "0" there and makes it editable.
    bool computesPayment() const { return computesPayment_; }
    void setComputesPayment(bool on);

    void setOutputFormat(OutputFormat format) { format_ = format; }
    OutputFormat outputFormat() const { return format_; }

    // Validates the fields (each a number; after rounding: amount > 0, rate >= 0, periods per
    // year > 0, 0 < payments <= kMaxPeriods, payment >= 0 or exactly -1, amount and payment
    // at most kMaxAmount) and computes. On InputError the window shows kInputErrorMessage with
    // kInputErrorCaption and the report is left as it was; a result that overflows is an
    // input error too.
    CalcStatus calculate();

    const LoanAmortization& calculation() const { return calc_; }
    const paymentSchedule::ScheduleReport& report() const { return report_; }

    // The result window's content for a calculation: the four summary lines shown above the
    // list (a fifth, "Final payment: ", when the last payment differs from the others), and
    // one list line per row.
    static paymentSchedule::ScheduleReport makeReport(const LoanAmortization& calc, OutputFormat format);

private:
    OutputFormat format_;
    std::array<std::u16string, kFieldCount> fields_;
    bool computesPayment_ = false;
    LoanAmortization calc_;
    paymentSchedule::ScheduleReport report_;
};
