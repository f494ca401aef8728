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

    // Principal shares of all payments add up to the loan less what is left at the end, and
    // what is left is only the rounding of the payment.
    double principal = 0.0, interest = 0.0;
    for (int year = 1; year <= 5; ++year) {
        double yearInterest = 0.0, percent = 0.0;
        for (int m = 1; m <= 12; ++m) {
            const MortgageAmortization::Row row = *calc.month(year, m);
            principal += calc.payment() - row.interest;
            yearInterest += row.interest;
            percent += row.principalPercent;
        }
        interest += yearInterest;
        const MortgageAmortization::YearTotals totals = *calc.yearTotals(year);
        EXPECT_NEAR(totals.interest, yearInterest, 1e-9);
        EXPECT_NEAR(totals.principalPercent, percent / 12.0, 1e-9);
        EXPECT_DOUBLE_EQ(totals.balance, calc.month(year, 12)->balance);
    }
    const double left = calc.month(5, 12)->balance;
    EXPECT_NEAR(principal, 10000.0 - left, 1e-6);
    EXPECT_LT(std::abs(left), 0.5);
    EXPECT_NEAR(calc.totalInterest(), interest, 1e-9);
    EXPECT_NEAR(calc.totalPayments(), 10000.0 + interest, 1e-9);
    EXPECT_DOUBLE_EQ(calc.averageMonthlyInterest(), TimeValueOfMoney::roundDown(interest / 60.0, 2));

    const paymentSchedule::ScheduleReport& report = model.report();
    ASSERT_EQ(report.lines.size(), 65u);
    const std::u16string comma(1, kDisplayComma);
    EXPECT_EQ(report.lines[0], (Line{u"1", u"Jan", u"74.14", u"50.00", u"9" + comma + u"856.67"}));
    EXPECT_EQ(report.lines[12][1], u"Totals");
    EXPECT_EQ(report.lines[64][1], u"Totals");
    EXPECT_EQ(report.lines[64][0], u"5");
    EXPECT_EQ(report.summary[0], u"Monthly payment:  193.33");
    EXPECT_EQ(report.summary[1].substr(0, 22), u"Avg.monthly interest: ");
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
        {u"100", 1300, {u"100", u"Totals"}},
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
        {Model::kAmountField, u"ten"}, {Model::kAmountField, u"0"},    {Model::kAmountField, u"1e20"},
        {Model::kRateField, u"-1"},    {Model::kRateField, u"1e300"},  {Model::kYearsField, u"0.004"},
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
    EXPECT_EQ(model.report().lines[0], (Line{u"1", u"Jan", u"100" + comma + u"00",
                                           u"0" + comma + u"00", u"1.100.000" + comma + u"00"}));
    EXPECT_EQ(model.report().summary[3], u"Total Payments: 1.200.000" + comma + u"00");
}

}  // namespace
