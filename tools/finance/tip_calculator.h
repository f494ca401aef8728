#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "result_format.h"

// The tip window's model: three input fields (people, percent, bill), each a display text that ends
// with its marker, and two result lines. Keys arrive one character code at a time; the window draws
// what fieldText, tipLine and totalLine say.
class TipCalculator {
public:
    static constexpr std::size_t kFieldCount = 3;
    static constexpr std::size_t kPeopleField = 0;
    static constexpr std::size_t kPercentField = 1;
    static constexpr std::size_t kBillField = 2;

    static constexpr std::array<std::u16string_view, kFieldCount> kFieldLabels = {u"Number of people",
                                                                                  u"Percent to tip", u"Bill Amount"};
    static constexpr std::array<char16_t, kFieldCount> kFieldMarkers = {u'P', u'%', u'$'};
    // Length of a field text, marker and grouping marks included, beyond which only Backspace is
    // taken.
    static constexpr std::array<std::size_t, kFieldCount> kFieldLimits = {9, 9, 16};

    static constexpr std::u16string_view kTipLabel = u"Tip Amount  = ";
    static constexpr std::u16string_view kTotalLabel = u"Total/Person = ";
    // Shown by the window when it cannot make its edit control.
    static constexpr std::u16string_view kEditCreateError = u"Cannot create the edit field.";

    // Character codes with a meaning of their own.
    static constexpr char16_t kBackspace = 8;
    static constexpr char16_t kTab = 9;
    static constexpr char16_t kEnter = 13;
    static constexpr char16_t kEscape = 27;
    static constexpr char16_t kPoint = u'.';
    // 'G' and 'q' clear the active field; '=', Enter, 'k' and 'K' calculate.
    static constexpr std::array<char16_t, 2> kClearKeys = {71, 113};
    static constexpr std::array<char16_t, 4> kCalculateKeys = {61, 13, 107, 75};

    // Why a calculation left the result lines as they were; the window shows no message.
    enum class CalcStatus { Done, NoPeople, NegativePercent, NoBill, OutOfRange };

    // Fields hold only their markers, the result lines only their labels, field 0 is active.
    explicit TipCalculator(OutputFormat format = OutputFormat::UnitedStates);

    // One key: Tab, clear, edit or calculate as the character says; anything else is ignored.
    // Returns true when a field, the active field or a result line changed.
    bool handleKey(char16_t code);

    // Reads the three fields and, when people > 0, percent >= 0 and bill > 0, writes the tip and
    // the total per person to the result lines; otherwise nothing changes.
    CalcStatus calculate();

    // Both result lines back to their bare labels.
    void resetResults();

    // A new output format: the result lines are reset, and "." and the display comma are exchanged
    // in the input fields so that they keep their values under the new separators.
    void setOutputFormat(OutputFormat format);
    OutputFormat outputFormat() const { return format_; }

    std::size_t activeField() const { return active_; }
    const std::u16string& fieldText(std::size_t field) const { return fields_[field]; }
    const std::u16string& tipLine() const { return tipLine_; }
    const std::u16string& totalLine() const { return totalLine_; }

    // The digit a keyboard letter stands for ("?" is 0, W E R / S D F / Z X C are 1 to 9, in either
    // case); other codes come back unchanged.
    static char16_t mapKey(char16_t code);

private:
    Separators separators() const;
    bool edit(char16_t code);
    double readField(std::size_t field) const;
    std::u16string formatAmount(double value) const;

    OutputFormat format_;
    std::array<std::u16string, kFieldCount> fields_;
    std::size_t active_ = kPeopleField;
    std::u16string tipLine_;
    std::u16string totalLine_;
};
