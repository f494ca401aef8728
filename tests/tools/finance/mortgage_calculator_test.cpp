#include "mortgage_calculator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "time_value_of_money.h"

namespace {

using Model = MortgageCalculator;
using Status = Model::CalcStatus;
using Line = std::vector<std::u16string>;

TEST(MortgageCalculator, OpeningValuesGiveSixtyMonthsAndFiveYearTotals)
{
    Model model;
    ASSERT_EQ(model.calculate(), Status::Done);
    const MortgageAmortization& calc = model.calculation();
    EXPECT_DOUBLE_EQ(calc.payment(), 193.33);
    ASSERT_EQ(calc.rowCount(), 60u);

    // The principals of all payments add up to the loan: the last month pays what is left, so
    // the balance ends at exactly 0 and the totals are the sums of the rows.
    double interest = 0.0;
    for (int year = 1; year <= 5; ++year) {
        double yearInterest = 0.0, percent = 0.0;
        for (int m = 1; m <= 12; ++m) {
            const MortgageAmortization::Row row = *calc.month(year, m);
            yearInterest += row.interest;
            percent += row.principalPercent;
        }
        interest += yearInterest;
        const MortgageAmortization::YearTotals totals = *calc.yearTotals(year);
        EXPECT_NEAR(totals.interest, yearInterest, 1e-9);
        EXPECT_NEAR(totals.principalPercent, percent / 12.0, 1e-9);
        EXPECT_DOUBLE_EQ(totals.balance, calc.month(year, 12)->balance);
    }
    EXPECT_EQ(calc.month(5, 12)->balance, 0.0);
    EXPECT_EQ(calc.finalBalance(), 0.0);
    EXPECT_NEAR(calc.finalPayment(), 193.33, 0.5);
    EXPECT_NEAR(calc.totalInterest(), interest, 1e-9);
    EXPECT_NEAR(calc.totalPayments(), 10000.0 + interest, 1e-9);
    EXPECT_NEAR(calc.totalPayments(), 59 * 193.33 + calc.finalPayment(), 1e-6);
    EXPECT_DOUBLE_EQ(calc.averageMonthlyInterest(), TimeValueOfMoney::roundDown(interest / 60.0, 2));

    const paymentSchedule::ScheduleReport& report = model.report();
    ASSERT_EQ(report.lines.size(), 65u);
    const std::u16string comma(1, kDisplayComma);
    EXPECT_EQ(report.lines[0], (Line{u"1", u"Jan", u"74.14", u"50.00", u"9" + comma + u"856.67"}));
    EXPECT_EQ(report.lines[12][1], u"Totals");
    EXPECT_EQ(report.lines[64][1], u"Totals");
    EXPECT_EQ(report.lines[64][0], u"5");
    EXPECT_EQ(report.summary[0], u"Monthly payment:  193.33");
    EXPECT_EQ(report.summary[1].substr(0, 23), u"Avg. monthly interest: ");
    EXPECT_FALSE(calc.month(0, 1) || calc.month(1, 13) || calc.month(6, 1) || calc.yearTotals(6));
}

TEST(MortgageCalculator, ZeroRatePaysOnlyPrincipal)
{
    MortgageAmortization calc;
    ASSERT_TRUE(calc.calculate(10000, 0, 5));
    EXPECT_DOUBLE_EQ(calc.payment(), 166.67);
    EXPECT_EQ(calc.totalInterest(), 0.0);
    for (int m = 1; m <= 12; ++m)
        EXPECT_EQ(calc.month(3, m)->principalPercent, 100.0);
    // 59 payments of 166.67 leave 166.47 for the last month, and nothing after it.
    EXPECT_EQ(calc.rowCount(), 60u);
    EXPECT_DOUBLE_EQ(calc.finalPayment(), 166.47);
    EXPECT_EQ(calc.finalBalance(), 0.0);
    EXPECT_DOUBLE_EQ(calc.totalPayments(), 10000.0);
}

TEST(MortgageCalculator, LongMortgagesEndAtExactlyZeroWithTotalsThatAreTheRowSums)
{
    struct LongCase {
        double amount, rate, years;
    };
    // The 30-year mortgage of 200,000 at 6 % used to end with 1.03 left.
    const LongCase cases[] = {{200000, 6, 30},     {200000, 0, 30},         {1000000, 7.5, 100}, {350000, 4.125, 25},
                              {123456.78, 12, 40}, {99999.99, 0.0001, 100}, {500000, 5, 2.5},    {9999999, 9.9, 100}};
    for (const LongCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.amount) + " at " + std::to_string(c.rate) + " for " + std::to_string(c.years));
        MortgageAmortization calc;
        ASSERT_TRUE(calc.calculate(c.amount, c.rate, c.years));
        ASSERT_GT(calc.rowCount(), 0u);
        EXPECT_EQ(calc.finalBalance(), 0.0);
        long long balance = std::llround(c.amount * 100);
        long long interest = 0;
        for (std::size_t k = 0; k < calc.rowCount(); ++k) {
            const MortgageAmortization::Row row =
                *calc.month(static_cast<int>(k / 12) + 1, static_cast<int>(k % 12) + 1);
            const long long rowInterest = std::llround(row.interest * 100);
            const long long after = std::llround(row.balance * 100);
            const long long payment = balance - after + rowInterest;
            // Every month but the last pays the level payment.
            if (k + 1 < calc.rowCount())
                EXPECT_EQ(payment, std::llround(calc.payment() * 100)) << k;
            else
                EXPECT_EQ(payment, std::llround(calc.finalPayment() * 100));
            interest += rowInterest;
            balance = after;
        }
        EXPECT_EQ(balance, 0);
        EXPECT_EQ(std::llround(calc.totalInterest() * 100), interest);
        EXPECT_EQ(std::llround(calc.totalPayments() * 100), std::llround(c.amount * 100) + interest);
        // The schedule runs its length, or ends at most a few months early when the rounded
        // payment paid a little more each month.
        EXPECT_LE(calc.rowCount(), static_cast<std::size_t>(c.years * 12));
        EXPECT_GE(calc.rowCount() + 12, static_cast<std::size_t>(c.years * 12));
    }
}

struct LengthCase {
    std::u16string_view length;
    std::size_t lines;
    Line last;  // the first two cells of the last line
};

TEST(MortgageCalculator, ListEndsWithTheLengthAndCutYearsHaveNoTotals)
{
    const LengthCase cases[] = {
        {u"2.5", 32, {u"3", u"Jun"}},
        {u"1", 13, {u"1", u"Totals"}},
        {u"0.08", 0, {}},
        // The rounded length says 14.04 months, the month count 13.99: 13 rows only.
        {u"1.16625", 14, {u"2", u"Jan"}},
        // 100 years at 6 %: the payment, rounded up by a fraction of a cent, repays the loan
        // in 1194 months; the list ends with the last payment.
        {u"100", 1293, {u"100", u"Jun"}},
    };
    for (const LengthCase& c : cases) {
        SCOPED_TRACE(std::string(c.length.begin(), c.length.end()));
        Model model;
        model.setFieldText(Model::kYearsField, std::u16string(c.length));
        ASSERT_EQ(model.calculate(), Status::Done);
        const auto& lines = model.report().lines;
        ASSERT_EQ(lines.size(), c.lines);
        if (!lines.empty()) {
            EXPECT_EQ(Line(lines.back().begin(), lines.back().begin() + 2), c.last);
        }
    }
}

TEST(MortgageCalculator, LengthIsLimitedWhileTyping)
{
    Model model;
    model.setFieldText(Model::kYearsField, u"150");
    EXPECT_EQ(model.fieldText(Model::kYearsField), u"100");
}

TEST(MortgageCalculator, BadInputIsAnInputError)
{
    const std::pair<std::size_t, std::u16string> cases[] = {
        {Model::kAmountField, u"ten"}, {Model::kAmountField, u"0"},   {Model::kAmountField, u"1e20"},
        {Model::kRateField, u"-1"},    {Model::kRateField, u"1e300"}, {Model::kYearsField, u"0.004"},
    };
    for (const auto& [field, text] : cases) {
        SCOPED_TRACE(std::string(text.begin(), text.end()));
        Model model;
        model.setFieldText(field, text);
        EXPECT_EQ(model.calculate(), Status::InputError);
        EXPECT_TRUE(model.report().lines.empty());
    }
}

TEST(MortgageCalculator, EuropeanFormatGroupsEveryAmount)
{
    Model model(OutputFormat::European);
    model.setFieldText(Model::kAmountField, u"1200000");
    model.setFieldText(Model::kRateField, u"0");
    model.setFieldText(Model::kYearsField, u"1");
    ASSERT_EQ(model.calculate(), Status::Done);
    const std::u16string comma(1, kDisplayComma);
    EXPECT_EQ(model.report().lines[0],
              (Line{u"1", u"Jan", u"100" + comma + u"00", u"0" + comma + u"00", u"1.100.000" + comma + u"00"}));
    EXPECT_EQ(model.report().summary[3], u"Total Payments: 1.200.000" + comma + u"00");
}

}  // namespace
