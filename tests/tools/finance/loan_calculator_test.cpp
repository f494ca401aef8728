#include "loan_calculator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

using Model = LoanCalculator;
using Status = Model::CalcStatus;

constexpr char16_t kComma = kDisplayComma;

double sumOf(const LoanAmortization& calc, double LoanAmortization::Row::*column, std::size_t count)
{
    double sum = 0.0;
    for (std::size_t k = 0; k < count; ++k)
        sum += (*calc.row(k)).*column;
    return sum;
}

TEST(LoanCalculator, OpeningValuesWithComputedPaymentRepayTheLoan)
{
    Model model;
    model.setComputesPayment(true);
    ASSERT_EQ(model.calculate(), Status::Done);
    const LoanAmortization& calc = model.calculation();
    EXPECT_DOUBLE_EQ(calc.payment(), 86.53);
    ASSERT_EQ(calc.rowCount(), 12u);
    EXPECT_FALSE(calc.row(12));

    // The last row pays the remaining balance and its interest: the balance ends at exactly 0,
    // the principals add up to the loan, and the totals are the sums of the rows.
    const LoanAmortization::Row last = *calc.row(11);
    EXPECT_DOUBLE_EQ(last.principal, last.balance);
    EXPECT_LT(last.payment(), 86.53);
    EXPECT_EQ(calc.finalBalance(), 0.0);
    EXPECT_DOUBLE_EQ(calc.finalPayment(), last.payment());
    EXPECT_NEAR(sumOf(calc, &LoanAmortization::Row::principal, 12), 1000.0, 1e-9);
    EXPECT_NEAR(calc.totalInterest(), sumOf(calc, &LoanAmortization::Row::interest, 12), 1e-9);
    EXPECT_NEAR(calc.totalPayments(), 1000.0 + calc.totalInterest(), 1e-9);
    EXPECT_DOUBLE_EQ(last.years, 1.0);

    const paymentSchedule::ScheduleReport& report = model.report();
    EXPECT_EQ(report.summary[0], u"Payment per period: 86.53");
    EXPECT_EQ(report.summary[1], u"Interest rate per period: 0.5833%");
    ASSERT_EQ(report.summary.size(), 5u);
    EXPECT_EQ(report.summary[4],
              u"Final payment: " + paymentSchedule::groupedFixed(last.payment(), 2, OutputFormat::UnitedStates));
    ASSERT_EQ(report.lines.size(), 12u);
    EXPECT_EQ(report.lines[0], (std::vector<std::u16string>{
                                   u"1", u"0.083", u"1" + std::u16string(1, kComma) + u"000.00", u"5.83", u"80.70"}));
}

struct ScheduleCase {
    const char* what;
    double amount, rate, perYear, payments, payment;
    double expectedPayment;
    std::size_t rows;
    double lastBalance;  // the last row's balance before its payment
    double totalPayments, totalInterest;
    double finalBalance;
};

TEST(LoanCalculator, SchedulesForGivenAndComputedPayments)
{
    const ScheduleCase cases[] = {
        // No interest: A / N rounded to 83.33; the last payment takes the 4 cents left over.
        {"zero rate computed", 1000, 0, 12, 12, -1, 83.33, 12, 83.37, 1000, 0, 0},
        {"larger payment shortens N", 1000, 0, 12, 12, 300, 300, 4, 100, 1000, 0, 0},
        {"fraction of a payment counts", 1000, 0, 12, 12, 400, 400, 3, 200, 1000, 0, 0},
        {"no payment, no interest", 1000, 0, 12, 3, 0, 0, 3, 1000, 0, 0, 1000},
        // Payment 0 at 1 % a month: principal is minus the interest, the balance grows.
        {"no payment grows", 1000, 12, 12, 3, 0, 0, 3, 1020.1, 0, 30.3, 1030.3},
        // Too few payments: the last one pays what is left.
        {"fewer payments than needed", 1000, 0, 12, 2, 300, 300, 2, 700, 1000, 0, 0},
        {"fractional N truncates", 1000, 0, 1, 2.5, 100, 100, 2, 900, 1000, 0, 0},
        // 1 % a month, 100.5 a month: repaid in 11 payments, the 11th smaller.
        {"given payment repays exactly", 1000, 12, 12, 60, 100.5, 100.5, 11, 0, 0, 0, 0},
    };
    for (const ScheduleCase& c : cases) {
        SCOPED_TRACE(c.what);
        LoanAmortization calc;
        ASSERT_EQ(calc.calculate(c.amount, c.rate, c.perYear, c.payments, c.payment), LoanAmortization::Outcome::Done);
        EXPECT_DOUBLE_EQ(calc.payment(), c.expectedPayment);
        ASSERT_EQ(calc.rowCount(), c.rows);
        if (c.lastBalance != 0) {
            EXPECT_NEAR(calc.row(c.rows - 1)->balance, c.lastBalance, 1e-9);
        }
        if (c.totalPayments != 0 || c.rate == 0) {
            EXPECT_NEAR(calc.totalPayments(), c.totalPayments, 1e-9);
        }
        if (c.rate == 0 || c.payment == 0) {
            EXPECT_NEAR(calc.totalInterest(), c.totalInterest, 1e-9);
        }
        EXPECT_EQ(calc.finalBalance(), c.finalBalance);
        EXPECT_NEAR(calc.totalPayments(),
                    sumOf(calc, &LoanAmortization::Row::interest, c.rows) +
                        sumOf(calc, &LoanAmortization::Row::principal, c.rows),
                    1e-6);
    }
}

TEST(LoanCalculator, LongSchedulesEndAtExactlyZeroWithTotalsThatAreTheRowSums)
{
    struct LongCase {
        double amount, rate, perYear, payments;
    };
    const LongCase cases[] = {
        {200000, 6, 12, 360},   {200000, 0, 12, 360}, {1000000, 7.25, 12, 1200}, {999999.99, 3.3333, 52, 1200},
        {12345.67, 18, 4, 100}, {100, 0, 12, 7},      {250000, 0.01, 12, 1200},  {9999999999, 9.99, 12, 1200},
    };
    for (const LongCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.amount) + " at " + std::to_string(c.rate));
        LoanAmortization calc;
        ASSERT_EQ(calc.calculate(c.amount, c.rate, c.perYear, c.payments, LoanAmortization::kComputePayment),
                  LoanAmortization::Outcome::Done);
        EXPECT_EQ(calc.finalBalance(), 0.0);
        // Row by row the balance falls by the principal, and the last row leaves nothing.
        long long balance = std::llround(c.amount * 100);
        long long paid = 0;
        long long interest = 0;
        for (std::size_t k = 0; k < calc.rowCount(); ++k) {
            const LoanAmortization::Row row = *calc.row(k);
            EXPECT_EQ(std::llround(row.balance * 100), balance) << k;
            balance -= std::llround(row.principal * 100);
            paid += std::llround(row.payment() * 100);
            interest += std::llround(row.interest * 100);
        }
        EXPECT_EQ(balance, 0);
        EXPECT_EQ(std::llround(calc.totalPayments() * 100), paid);
        EXPECT_EQ(std::llround(calc.totalInterest() * 100), interest);
        // The payment is level but for the last one, which takes up the cents that rounding
        // left over the years (they grow with the interest: over a century, some dollars).
        EXPECT_GT(calc.finalPayment(), 0.0);
        EXPECT_LT(calc.finalPayment(), 2 * calc.payment());
    }
}

TEST(LoanCalculator, APaymentThatNeverCoversTheInterestGivesTheMessageAndNoSchedule)
{
    // 1000 at 12 % a year is 10 of interest a month: 5, or even 10, never repays anything.
    for (const char16_t* payment : {u"5", u"10", u"0.01"}) {
        Model model;
        model.setFieldText(Model::kRateField, u"12");
        model.setFieldText(Model::kPaymentsField, u"360");
        model.setFieldText(Model::kPaymentField, payment);
        EXPECT_EQ(model.calculate(), Status::NeverRepaid);
        EXPECT_TRUE(model.report().lines.empty());
        EXPECT_TRUE(model.report().summary.empty());
    }
    LoanAmortization calc;
    EXPECT_EQ(calc.calculate(1000, 12, 12, 360, 5), LoanAmortization::Outcome::NeverRepaid);
    EXPECT_EQ(calc.rowCount(), 0u);
    // A cent more than the interest repays it, slowly.
    ASSERT_EQ(calc.calculate(1000, 12, 12, 1200, 10.01), LoanAmortization::Outcome::Done);
    EXPECT_EQ(calc.finalBalance(), 0.0);
    EXPECT_EQ(paymentSchedule::kNeverRepaidMessage, u"The payment never covers the interest");
}

TEST(LoanCalculator, NonPositivePaymentCountGivesNoSchedule)
{
    LoanAmortization calc;
    EXPECT_EQ(calc.calculate(1000, 7, 12, 0, -1), LoanAmortization::Outcome::Done);
    EXPECT_EQ(calc.rowCount(), 0u);
    EXPECT_EQ(calc.calculate(1000, 7, 12, 0.4, 0), LoanAmortization::Outcome::Done);
    EXPECT_EQ(calc.rowCount(), 0u);
    // Called directly, past what the window lets through: still capped.
    EXPECT_EQ(calc.calculate(1000, 0, 12, 1e9, 0), LoanAmortization::Outcome::Done);
    EXPECT_EQ(calc.rowCount(), std::size_t{paymentSchedule::kMaxPeriods});
}

TEST(LoanCalculator, PaymentCountIsLimitedWhileTyping)
{
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"5000", u"1200"}, {u"1200", u"1200"}, {u"-3", u"0"}, {u"-", u"-"}, {u"12.5", u"12.5"}};
    for (const auto& [typed, shown] : cases) {
        Model model;
        model.setFieldText(Model::kPaymentsField, typed);
        EXPECT_EQ(model.fieldText(Model::kPaymentsField), shown);
    }
    Model model;
    model.setFieldText(Model::kAmountField, u"5000");
    EXPECT_EQ(model.fieldText(Model::kAmountField), u"5000");
}

TEST(LoanCalculator, CheckBoxSwitchesPaymentFieldBetweenComputedAndTyped)
{
    Model model;
    EXPECT_FALSE(model.isReadOnly(Model::kPaymentField));
    model.setComputesPayment(true);
    EXPECT_EQ(model.fieldText(Model::kPaymentField), u"");
    EXPECT_FALSE(model.setFieldText(Model::kPaymentField, u"50"));
    EXPECT_EQ(model.fieldText(Model::kPaymentField), u"");
    model.setComputesPayment(false);
    EXPECT_EQ(model.fieldText(Model::kPaymentField), u"0");
    EXPECT_TRUE(model.setFieldText(Model::kPaymentField, u"50"));
}

TEST(LoanCalculator, BadInputIsAnInputErrorAndKeepsTheReport)
{
    const std::pair<std::size_t, std::u16string> cases[] = {
        {Model::kAmountField, u""},
        {Model::kAmountField, u"12x"},
        {Model::kAmountField, u"0.004"},
        {Model::kAmountField, u"1e14"},
        {Model::kAmountField, u"1e999"},
        {Model::kRateField, u"-0.5"},
        {Model::kPerYearField, u"0"},
        {Model::kPaymentsField, u"0.004"},
        {Model::kPaymentField, u"-2"},
        {Model::kPaymentField, u"-1.5"},
        // Overflows while computing: reported, not shown as "inf".
        {Model::kRateField, u"1e300"},
    };
    for (const auto& [field, text] : cases) {
        SCOPED_TRACE(std::string(text.begin(), text.end()));
        Model model;
        ASSERT_TRUE(model.setFieldText(field, text));
        EXPECT_EQ(model.calculate(), Status::InputError);
        EXPECT_TRUE(model.report().lines.empty());
        EXPECT_TRUE(model.report().summary.empty());
    }
    EXPECT_EQ(paymentSchedule::kInputErrorMessage, u"Invalid input.");
}

TEST(LoanCalculator, EuropeanFormatGroupsAmountsButNotYears)
{
    Model model(OutputFormat::European);
    model.setFieldText(Model::kAmountField, u"1234567");
    model.setFieldText(Model::kRateField, u"0");
    model.setComputesPayment(true);
    ASSERT_EQ(model.calculate(), Status::Done);
    const std::u16string comma(1, kComma);
    EXPECT_EQ(model.report().summary[0], u"Payment per period: 102.880" + comma + u"58");
    EXPECT_EQ(model.report().summary[1], u"Interest rate per period: 0" + comma + u"0000%");
    EXPECT_EQ(model.report().lines[0][1], u"0.083");
    EXPECT_EQ(model.report().lines[0][2], u"1.234.567" + comma + u"00");
}

}  // namespace
