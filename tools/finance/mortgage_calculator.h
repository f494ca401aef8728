#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "payment_schedule.h"
#include "result_format.h"

// The arithmetic of the mortgage calculator: a monthly payment and a schedule of months with
// yearly and overall totals.
class MortgageAmortization {
public:
    struct Row {
        double interest;
        double principalPercent;  // the principal's share of the payment ("Prin%")
        double balance;           // after this month's payment
    };

    struct YearTotals {
        double interest;
        double principalPercent;  // the mean of the twelve months
        double balance;           // after the year's last month
    };

    // Rounds amount to 2 decimals, the annual percent rate to 4 and years to 2, then builds one
    // row per whole month of roundDown(years x 12, 2) months (years as given), at most
    // paymentSchedule::kMaxPeriods. Balances are kept in cents and the last month pays what is
    // left, so the final balance is exactly 0 and the totals are the sums of the rows; a
    // payment rounded up may end the schedule a month or so early. Returns false when there
    // are no months or a number overflowed, so the schedule is not to be shown.
    bool calculate(double amount, double rate, double years);

    double amount() const { return amount_; }
    double rate() const { return rate_; }
    double years() const { return years_; }
    double months() const { return months_; }
    double payment() const { return payment_; }
    double averageMonthlyInterest() const { return averageMonthlyInterest_; }
    double totalInterest() const { return totalInterest_; }
    double totalPayments() const { return totalPayments_; }
    // The last month's payment: what was left of the loan and its interest.
    double finalPayment() const { return finalPayment_; }
    // The balance after the last month: exactly 0.
    double finalBalance() const { return rows_.empty() ? amount_ : rows_.back().balance; }

    std::size_t rowCount() const { return rows_.size(); }
    // The row of month 1..12 of year 1, 2, ...; nothing outside the schedule.
    std::optional<Row> month(int year, int month) const;
    // Nothing unless all twelve months of the year are in the schedule.
    std::optional<YearTotals> yearTotals(int year) const;

private:
    double amount_ = 0.0;
    double rate_ = 0.0;
    double years_ = 0.0;
    double months_ = 0.0;
    double payment_ = 0.0;
    double averageMonthlyInterest_ = 0.0;
    double totalInterest_ = 0.0;
    double totalPayments_ = 0.0;
    double finalPayment_ = 0.0;
    std::vector<Row> rows_;
};

// The mortgage window's model: three number fields and the Calculate button, which validates
// and fills the result window's report.
class MortgageCalculator {
public:
    static constexpr std::size_t kFieldCount = 3;
    static constexpr std::size_t kAmountField = 0;
    static constexpr std::size_t kRateField = 1;
    static constexpr std::size_t kYearsField = 2;
    // Years the length field takes while typing; with monthly payments this is the schedule cap.
    static constexpr int kMaxYears = paymentSchedule::kMaxPeriods / 12;

    static constexpr std::u16string_view kTitle = u"Mortgage calculator";
    static constexpr std::u16string_view kResultTitle = u"Mortgage result";
    static constexpr std::array<std::u16string_view, kFieldCount> kFieldLabels = {
        u"Mortgage Amount ", u"Annual Interest Rate (%)", u"Length in Years"};
    static constexpr std::array<std::u16string_view, kFieldCount> kOpeningTexts = {u"10000", u"6", u"5"};
    static constexpr std::array<std::u16string_view, 5> kColumns = {u"Year", u"Month", u"Prin%", u"Int", u"Balance"};
    static constexpr std::array<std::u16string_view, 12> kMonthNames = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                                                                        u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};
    static constexpr std::u16string_view kTotalsWord = u"Totals";

    enum class CalcStatus { Done, InputError };

    explicit MortgageCalculator(OutputFormat format = OutputFormat::UnitedStates);

    const std::u16string& fieldText(std::size_t field) const { return fields_[field]; }
    // Typing into a field; the length is held to 0..kMaxYears as it is typed.
    bool setFieldText(std::size_t field, std::u16string text);

    void setOutputFormat(OutputFormat format) { format_ = format; }
    OutputFormat outputFormat() const { return format_; }

    // Validates the fields (each a number; after rounding: 0 < amount <= kMaxAmount,
    // rate >= 0, 0 < years <= kMaxYears) and computes. On InputError the window shows
    // kInputErrorMessage with kInputErrorCaption and the report is left as it was; a result
    // that overflows is an input error too.
    CalcStatus calculate();

    const MortgageAmortization& calculation() const { return calc_; }
    const paymentSchedule::ScheduleReport& report() const { return report_; }

    // The result window's content: month lines grouped by year, a "Totals" line after each
    // complete year, and the four summary lines shown below the list (a fifth, "Final
    // payment: ", when the last month's payment differs from the others).
    static paymentSchedule::ScheduleReport makeReport(const MortgageAmortization& calc, OutputFormat format);

private:
    OutputFormat format_;
    std::array<std::u16string, kFieldCount> fields_;
    MortgageAmortization calc_;
    paymentSchedule::ScheduleReport report_;
};
