#include "tvm_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Dlg = CTVMFunctionDlg;
using Status = Dlg::CalcStatus;

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
        {"opening values give 360 periods", Dlg::kNperField, 0, {}, Status::Done, u"360"},
        {"rate 0 in FV is pv - nper x pmt", Dlg::kFvField, 0, {{Dlg::kRateField, u"0"}}, Status::Done,
         u"-232000"},
        {"no interest needed gives rate 0", Dlg::kRateField, 0,
         {{Dlg::kPmtField, u"500"}, {Dlg::kPvField, u"180000"}}, Status::Done, u"0"},
        {"rate of the opening loan", Dlg::kRateField, 0, {}, Status::Done, u"6.007"},
        {"payment of the opening loan", Dlg::kPmtField, 0, {}, Status::Done, u"1200"},
        {"NPER with payment 0 is invalid", Dlg::kNperField, 0, {{Dlg::kPmtField, u"0"}}, Status::Invalid,
         u"0"},
        {"payment below the interest is invalid", Dlg::kNperField, 0, {{Dlg::kPmtField, u"900"}},
         Status::Invalid, u"0"},
        {"text that is no number is invalid", Dlg::kPvField, 0, {{Dlg::kRateField, u"abc"}},
         Status::Invalid, u"0"},
        {"inputs are rounded first", Dlg::kFvField, 0,
         {{Dlg::kRateField, u"0"}, {Dlg::kPmtField, u"0.125"}, {Dlg::kNperField, u"1"},
          {Dlg::kPvField, u"0"}},
         Status::Done, u"-0.12"},
    };
    for (const Case& c : cases) {
        Dlg dlg;
        dlg.setSolved(c.solved);
        dlg.setPaymentType(c.type);
        for (const Edit& e : c.edits)
            EXPECT_TRUE(dlg.setFieldText(e.field, e.text)) << c.name;
        EXPECT_EQ(dlg.calculate(), c.status) << c.name;
        EXPECT_EQ(dlg.fieldText(c.solved), c.result) << c.name;
    }
}

TEST(TVMWindow, BeginOfPeriodPaysLess)
{
    Dlg end;
    end.setSolved(Dlg::kPmtField);
    ASSERT_EQ(end.calculate(), Status::Done);
    Dlg begin;
    begin.setSolved(Dlg::kPmtField);
    begin.setPaymentType(1);
    ASSERT_EQ(begin.calculate(), Status::Done);
    EXPECT_LT(std::stod(std::string(begin.fieldText(Dlg::kPmtField).begin(), begin.fieldText(Dlg::kPmtField).end())),
              std::stod(std::string(end.fieldText(Dlg::kPmtField).begin(), end.fieldText(Dlg::kPmtField).end())));
}

TEST(TVMWindow, TheSolvedFieldIsReadOnly)
{
    Dlg dlg;
    EXPECT_TRUE(dlg.isReadOnly(Dlg::kNperField));
    EXPECT_FALSE(dlg.setFieldText(Dlg::kNperField, u"1"));
    dlg.setSolved(Dlg::kFvField);
    EXPECT_FALSE(dlg.isReadOnly(Dlg::kNperField));
    EXPECT_TRUE(dlg.isReadOnly(Dlg::kFvField));
    dlg.setSolved(Dlg::kPerYearField);  // never solved
    EXPECT_EQ(dlg.solved(), Dlg::kFvField);
    dlg.setPaymentType(7);
    EXPECT_EQ(dlg.paymentType(), 0);
    for (std::size_t i = 0; i < Dlg::kFieldCount; ++i)
        EXPECT_EQ(dlg.fieldText(i), Dlg::kOpeningTexts[i]);
}

}  // namespace
