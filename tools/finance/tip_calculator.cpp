#include "tip_calculator.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "ascii.h"
#include "c_number.h"

namespace {

constexpr std::u16string_view kDigitLetters = u"?WERSDFZXC";
constexpr std::u16string_view kDigitLettersLower = u"?wersdfzxc";

bool contains(const auto& codes, char16_t code)
{
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

// Other formats have no separators of their own; the tip window then behaves as in the United
// States, so that a point can still be typed and read back.
Separators separatorsFor(OutputFormat format)
{
    return separatorsOf(format).value_or(Separators{u'.', kDisplayComma});
}

}  // namespace

TipCalculator::TipCalculator(OutputFormat format) : format_(format)
{
    for (std::size_t i = 0; i < kFieldCount; ++i)
        fields_[i] = std::u16string(1, kFieldMarkers[i]);
    resetResults();
}

char16_t TipCalculator::mapKey(char16_t code)
{
    std::size_t at = kDigitLetters.find(code);
    if (at == std::u16string_view::npos)
        at = kDigitLettersLower.find(code);
    return at == std::u16string_view::npos ? code : static_cast<char16_t>(u'0' + at);
}

bool TipCalculator::handleKey(char16_t code)
{
    if (code == kTab) {
        active_ = (active_ + 1) % kFieldCount;
        return true;
    }
    if (code == kEscape)
        return false;
    if (contains(kClearKeys, code)) {
        fields_[active_] = std::u16string(1, kFieldMarkers[active_]);
        resetResults();
        return true;
    }
    if (contains(kCalculateKeys, code))
        return calculate() == CalcStatus::Done;

    code = mapKey(code);
    if (ascii::isDigit(code) || code == kPoint || code == kBackspace)
        return edit(code);
    return false;
}

Separators TipCalculator::separators() const
{
    return separatorsFor(format_);
}

bool TipCalculator::edit(char16_t code)
{
    std::u16string& text = fields_[active_];
    if (text.size() >= kFieldLimits[active_] && code != kBackspace)
        return false;

    const Separators seps = separators();
    text.pop_back();  // the marker
    if (code == kBackspace) {
        if (!text.empty())
            text.pop_back();
    } else {
        text += code == kPoint ? seps.decimalChar : code;
    }
    // A digit more or less shifts every group, so the marks are placed afresh.
    std::erase(text, seps.groupChar);
    groupDigits(text, seps.decimalChar, seps.groupChar);
    text += kFieldMarkers[active_];
    resetResults();
    return true;
}

// Read as C's atof does: the longest number at the start counts, an empty text is 0.
double TipCalculator::readField(std::size_t field) const
{
    const Separators seps = separators();
    std::string ascii;
    const std::u16string& text = fields_[field];
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == seps.groupChar)
            continue;
        if (c == seps.decimalChar)
            ascii += '.';
        else if (c < 0x80)
            ascii += static_cast<char>(c);
        else
            break;  // nothing atof could read further
    }
    double value = 0.0;
    if (cnum::parsePrefix(ascii, value) == 0)
        return 0.0;
    return value;
}

// Money: two decimals, grouped, in the output format's separators ("1,199.10").
std::u16string TipCalculator::formatAmount(double value) const
{
    const std::string ascii = cnum::fixed(value, 2);
    std::u16string text(ascii.begin(), ascii.end());
    const Separators seps = separators();
    groupDigits(text, seps.decimalChar, seps.groupChar);
    return text;
}

TipCalculator::CalcStatus TipCalculator::calculate()
{
    const double people = readField(kPeopleField);
    const double percent = readField(kPercentField);
    const double bill = readField(kBillField);
    if (!(people > 0.0))
        return CalcStatus::NoPeople;
    if (!(percent >= 0.0))
        return CalcStatus::NegativePercent;
    if (!(bill > 0.0))
        return CalcStatus::NoBill;

    const double tip = bill * percent * 0.01;
    const double perPerson = (tip + bill) / people;
    if (!std::isfinite(tip) || !std::isfinite(perPerson))
        return CalcStatus::OutOfRange;

    tipLine_ = std::u16string(kTipLabel) + formatAmount(tip) + u'$';
    totalLine_ = std::u16string(kTotalLabel) + formatAmount(perPerson) + u'$';
    return CalcStatus::Done;
}

void TipCalculator::resetResults()
{
    tipLine_ = kTipLabel;
    totalLine_ = kTotalLabel;
}

void TipCalculator::setOutputFormat(OutputFormat format)
{
    if (separators().decimalChar != separatorsFor(format).decimalChar) {
        for (std::u16string& text : fields_)
            text = exchangeSeparators(text);
    }
    format_ = format;
    resetResults();
}
