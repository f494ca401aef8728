#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

// The TVM window's model: six number fields, the payment type, which of the first five
// quantities is solved, and the Calculate button. The solved field is the read-only one.
class TimeValueOfMoneyCalculator {
public:
    static constexpr std::size_t kFieldCount = 6;
    static constexpr std::size_t kNperField = 0;
    static constexpr std::size_t kRateField = 1;
    static constexpr std::size_t kPvField = 2;
    static constexpr std::size_t kPmtField = 3;
    static constexpr std::size_t kFvField = 4;
    static constexpr std::size_t kPerYearField = 5;
    // Only the five linked quantities can be solved; periods per year is always an input.
    static constexpr std::size_t kSolvableCount = 5;

    static constexpr std::u16string_view kTitle = u"TVM Function";
    static constexpr std::array<std::u16string_view, kFieldCount> kFieldLabels = {
        u"Total periods (NPER)", u"Annual interest rate (RATE)", u"Present value (PV)",
        u"Payment/period (PMT)", u"Future value (FV)",           u"Periods per year"};
    static constexpr std::array<std::u16string_view, kFieldCount> kOpeningTexts = {u"360",  u"6.007", u"200000",
                                                                                   u"1200", u"0",     u"12"};
    static constexpr std::u16string_view kTypeLabel = u"Payment type";
    static constexpr std::array<std::u16string_view, 2> kPaymentTypes = {u"End of period", u"Start of period"};

    // NeverRepaid: solving NPER for a positive payment that never covers the interest; the
    // window shows paymentSchedule::kNeverRepaidMessage, and the solved field shows "0". Other
    // invalid input shows the engine's "Invalid parameters" in the solved field.
    enum class CalcStatus { Done, Invalid, NeverRepaid };

    TimeValueOfMoneyCalculator();

    const std::u16string& fieldText(std::size_t field) const { return fields_[field]; }
    // Typing into a field; the solved field keeps its text and false is returned.
    bool setFieldText(std::size_t field, std::u16string text);
    bool isReadOnly(std::size_t field) const { return field == solved_; }

    std::size_t solved() const { return solved_; }
    // Out-of-range choices are ignored.
    void setSolved(std::size_t field);
    int paymentType() const { return paymentType_; }
    void setPaymentType(int type);

    // Reads and rounds the inputs, solves the chosen quantity and shows every field again,
    // rounded; values above 1e11 in scientific form. Invalid inputs (text that is no number, or
    // values outside the formula's domain) leave "Invalid parameters" in the solved field.
    CalcStatus calculate();

private:
    std::array<std::u16string, kFieldCount> fields_;
    std::size_t solved_ = kNperField;
    int paymentType_ = 0;
};
