#include "time_value_of_money_calculator.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Model = TimeValueOfMoneyCalculator;
using Status = Model::CalcStatus;

struct Edit {
    std::size_t field;
    std::u16string text;
};

struct Case {
    const char* name;
    std::size_t solved;
    int type;
    std::vector<Edit> edits;
    Status status;
    std::u16string result;
};

TEST(TVMWindow, SolvesTheChosenQuantity)
{
    const std::vector<Case> cases = {
        {"opening values give 360 periods", Model::kNperField, 0, {}, Status::Done, u"360"},
        {"rate 0 in FV is pv - nper x pmt", Model::kFvField, 0, {{Model::kRateField, u"0"}}, Status::Done, u"-232000"},
        {"no interest needed gives rate 0",
         Model::kRateField,
         0,
         {{Model::kPmtField, u"500"}, {Model::kPvField, u"180000"}},
         Status::Done,
         u"0"},
        {"rate of the opening loan", Model::kRateField, 0, {}, Status::Done, u"6.007"},
        {"payment of the opening loan", Model::kPmtField, 0, {}, Status::Done, u"1200"},
        {"NPER with payment 0 is invalid",
         Model::kNperField,
         0,
         {{Model::kPmtField, u"0"}},
         Status::Invalid,
         u"Invalid parameters"},
        // 200000 at 6.007 % adds 1001.17 a month: 900 never repays it.
        {"payment below the interest never repays",
         Model::kNperField,
         0,
         {{Model::kPmtField, u"900"}},
         Status::NeverRepaid,
         u"0"},
        {"payment equal to the interest never repays",
         Model::kNperField,
         0,
         {{Model::kRateField, u"12"}, {Model::kPvField, u"1000"}, {Model::kPmtField, u"10"}},
         Status::NeverRepaid,
         u"0"},
        {"a payment above the interest repays",
         Model::kNperField,
         0,
         {{Model::kRateField, u"12"}, {Model::kPvField, u"1000"}, {Model::kPmtField, u"10.01"}},
         Status::Done,
         u"694"},
        {"a number ending in its point is read",
         Model::kFvField,
         0,
         {{Model::kRateField, u"0."},
          {Model::kNperField, u"10."},
          {Model::kPmtField, u"5."},
          {Model::kPvField, u"100."}},
         Status::Done,
         u"50"},
        {"text that is no number is invalid",
         Model::kPvField,
         0,
         {{Model::kRateField, u"abc"}},
         Status::Invalid,
         u"Invalid parameters"},
        {"huge values show in scientific form",
         Model::kFvField,
         0,
         {{Model::kRateField, u"0"}, {Model::kPvField, u"1e300"}},
         Status::Done,
         u"1.0000000000e+300"},
        {"inputs are rounded first",
         Model::kFvField,
         0,
         {{Model::kRateField, u"0"}, {Model::kPmtField, u"0.125"}, {Model::kNperField, u"1"}, {Model::kPvField, u"0"}},
         Status::Done,
         u"-0.12"},
    };
    for (const Case& c : cases) {
        Model model;
        model.setSolved(c.solved);
        model.setPaymentType(c.type);
        for (const Edit& e : c.edits)
            EXPECT_TRUE(model.setFieldText(e.field, e.text)) << c.name;
        EXPECT_EQ(model.calculate(), c.status) << c.name;
        EXPECT_EQ(model.fieldText(c.solved), c.result) << c.name;
    }
}

TEST(TVMWindow, BeginOfPeriodPaysLess)
{
    Model end;
    end.setSolved(Model::kPmtField);
    ASSERT_EQ(end.calculate(), Status::Done);
    Model begin;
    begin.setSolved(Model::kPmtField);
    begin.setPaymentType(1);
    ASSERT_EQ(begin.calculate(), Status::Done);
    EXPECT_LT(
        std::stod(std::string(begin.fieldText(Model::kPmtField).begin(), begin.fieldText(Model::kPmtField).end())),
        std::stod(std::string(end.fieldText(Model::kPmtField).begin(), end.fieldText(Model::kPmtField).end())));
}

TEST(TVMWindow, TheSolvedFieldIsReadOnly)
{
    Model model;
    EXPECT_TRUE(model.isReadOnly(Model::kNperField));
    EXPECT_FALSE(model.setFieldText(Model::kNperField, u"1"));
    model.setSolved(Model::kFvField);
    EXPECT_FALSE(model.isReadOnly(Model::kNperField));
    EXPECT_TRUE(model.isReadOnly(Model::kFvField));
    model.setSolved(Model::kPerYearField);  // never solved
    EXPECT_EQ(model.solved(), Model::kFvField);
    model.setPaymentType(7);
    EXPECT_EQ(model.paymentType(), 0);
    for (std::size_t i = 0; i < Model::kFieldCount; ++i)
        EXPECT_EQ(model.fieldText(i), Model::kOpeningTexts[i]);
}

}  // namespace
