#include "result_format.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "ascii.h"
#include "c_number.h"
#include "engine_settings.h"

namespace {

constexpr const char* kOutOfRange = "Out of range error";
constexpr std::size_t kNormalDigits = 15;
// The display holds about 20 characters: longer fixed texts turn to SCI.
constexpr std::size_t kLongestFixedText = 20;
constexpr std::size_t kLongestComplexText = 20;
// Stands for a decimal point while the integer part is grouped; never part of a number text.
constexpr char16_t kPointMarker = u'\uFFFF';

// Truncates toward zero like a C cast, but saturates where the cast would be undefined.
std::int64_t truncateToInt64(double x)
{
    constexpr double kTwoTo63 = 9223372036854775808.0;
    if (std::isnan(x))
        return 0;
    if (x >= kTwoTo63)
        return std::numeric_limits<std::int64_t>::max();
    if (x < -kTwoTo63)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(x);
}

int normalizedWordSize(int wordSize)
{
    return (wordSize == 8 || wordSize == 16 || wordSize == 64) ? wordSize : 32;
}

// Base mode shows integers of the word size; the narrowing casts wrap (two's complement).
std::int64_t signedWordValue(double x, int wordSize)
{
    const std::int64_t value = truncateToInt64(x);
    switch (normalizedWordSize(wordSize)) {
    case 8: return static_cast<std::int8_t>(value);
    case 16: return static_cast<std::int16_t>(value);
    case 64: return value;
    default: return static_cast<std::int32_t>(value);
    }
}

// Base output never shows more than 32 bits, also for a 64-bit word.
std::uint64_t unsignedWordValue(double x, int wordSize)
{
    const auto bits = static_cast<std::uint64_t>(truncateToInt64(x));
    switch (normalizedWordSize(wordSize)) {
    case 8: return bits & 0xFFu;
    case 16: return bits & 0xFFFFu;
    default: return bits & 0xFFFFFFFFu;
    }
}

std::string baseText(double x, int wordSize, int radix)
{
    const int bits = normalizedWordSize(wordSize);
    std::uint64_t value = unsignedWordValue(x, wordSize);
    std::string digits;
    do {
        digits.insert(digits.begin(), "0123456789ABCDEF"[value % static_cast<unsigned>(radix)]);
        value /= static_cast<unsigned>(radix);
    } while (value > 0);
    const int bitsPerDigit = radix == 2 ? 1 : radix == 8 ? 3 : 4;
    const auto width = static_cast<std::size_t>(bits / bitsPerDigit);
    if (digits.size() < width)
        digits.insert(0, width - digits.size(), '0');
    return digits;
}

// "2.500" -> "2.5", "3.000" -> "3"; a text without a point keeps its zeros ("100").
void trimFraction(std::string& text)
{
    if (text.find('.') == std::string::npos)
        return;
    while (!text.empty() && text.back() == '0')
        text.pop_back();
    if (!text.empty() && text.back() == '.')
        text.pop_back();
}

// Adds one to the last digit of a decimal digit string; false when the carry runs out of it
// ("999" becomes "000" and the caller carries into the integer part).
bool incrementDigits(std::string& digits)
{
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return true;
        }
        *it = '0';
    }
    return false;
}

std::u16string grouped(std::string_view number, OutputFormat format)
{
    std::u16string text = ascii::widen(number);
    if (const auto separators = separatorsOf(format))
        groupDigits(text, separators->decimalChar, separators->groupChar);
    return text;
}

bool outsideNormalRange(double x)
{
    const double magnitude = std::fabs(x);
    return (magnitude < 1e-4 && x != 0.0) || magnitude > 1e11;
}

FormattedResult formatReal(double x, DisplayFormat format, const ResultFormatSettings& settings)
{
    const NumberContext context{settings.displayMode, settings.wordSize};
    switch (format) {
    case DisplayFormat::Fix: {
        std::string text = formatNumber(x, settings.fixDigits, kStyleFixed, false, context);
        if (text.size() > kLongestFixedText) {
            text = formatNumber(x, 12, kStyleScientific, false, context);
            format = DisplayFormat::Sci;
        }
        return {grouped(text, settings.outputFormat), format};
    }
    case DisplayFormat::Norm: return {grouped(formatNormal(x), settings.outputFormat), format};
    case DisplayFormat::Sci: break;
    }
    return {ascii::widen(formatNumber(x, 12, kStyleScientific, false, context)), DisplayFormat::Sci};
}

// "3.0000e+00 +2.0000e+00i", "3.0000e+00 -2.0000e+00i", "2.0000e+00i".
std::u16string complexSciText(CalcValue value, NumberContext context)
{
    std::string text;
    if (value.re != 0.0) {
        text = formatNumber(value.re, 4, kStyleScientific, false, context);
        text += value.im > 0.0 ? " +" : " ";
    }
    text += formatNumber(value.im, 4, kStyleScientific, false, context);
    text += 'i';
    return ascii::widen(text);
}

// "3+i", "3-2i", "2i": the real part only when it is not 0, the "1" of "+1i" left out.
std::u16string complexNormText(CalcValue value, OutputFormat outputFormat)
{
    std::u16string text;
    if (value.re != 0.0) {
        text = grouped(formatNormal(value.re), outputFormat);
        if (value.im > 0.0)
            text += u'+';
    }
    if (value.im != 1.0)
        text += grouped(formatNormal(value.im), outputFormat);
    text += u'i';
    return text;
}

FormattedResult formatComplex(CalcValue value, DisplayFormat format, const ResultFormatSettings& settings)
{
    const NumberContext context{settings.displayMode, settings.wordSize};
    if (format != DisplayFormat::Sci) {
        std::u16string text = complexNormText(value, settings.outputFormat);
        if (!outsideNormalRange(value.im) && text.size() <= kLongestComplexText)
            return {std::move(text), DisplayFormat::Norm};
    }
    return {complexSciText(value, context), DisplayFormat::Sci};
}

}  // namespace

std::optional<Separators> separatorsOf(OutputFormat format)
{
    switch (format) {
    case OutputFormat::UnitedStates: return Separators{u'.', kDisplayComma};
    case OutputFormat::European: return Separators{kDisplayComma, u'.'};
    case OutputFormat::Other: break;
    }
    return std::nullopt;
}

std::u16string exchangeSeparators(std::u16string_view text)
{
    std::u16string result(text);
    for (char16_t& c : result) {
        if (c == u'.')
            c = kDisplayComma;
        else if (c == kDisplayComma)
            c = u'.';
    }
    return result;
}

bool shownAsError(double x)
{
    return x > 1e305 || !std::isfinite(x);
}

std::string formatNumber(double x, int digits, int style, bool trimZeros, NumberContext context)
{
    if (x > 1e305 || std::isnan(x))
        return kOutOfRange;
    if (context.displayMode == kDisplayModeBase)
        return std::to_string(signedWordValue(x, context.wordSize));
    if (style == kStyleFixed) {
        std::string text = cnum::fixed(x, (digits >= 0 && digits <= 9) ? digits : 10);
        if (trimZeros)
            trimFraction(text);
        return text;
    }
    if (style == kStyleScientific)
        return cnum::scientific(x, digits == 4 ? 4 : 10);
    return {};
}

std::string formatNormal(double x)
{
    if (std::isinf(x))
        return "overflow";
    if (std::isnan(x))
        return kOutOfRange;
    const bool negative = x < 0.0;
    const double magnitude = std::fabs(x);

    // The integer part stays a double: it is exact at every size, so nothing wraps at 2^63,
    // and "%.f" of it gives the same digits a 64-bit integer would where one fits.
    double whole = std::floor(magnitude);
    std::string fraction = cnum::fixed((magnitude - whole) * 1e15, 0);
    if (fraction.size() > kNormalDigits) {
        // The fraction rounded up to "1000000000000000": carry the 1.
        whole += 1.0;
        fraction.erase(0, fraction.size() - kNormalDigits);
    }
    fraction.insert(0, kNormalDigits - fraction.size(), '0');

    std::string digits = cnum::fixed(whole, 0);
    if (digits.size() <= kNormalDigits) {
        // 123456789.1234567921 keeps 15 - 9 = 6 fraction digits: "123457".
        const std::size_t keep = kNormalDigits - digits.size();
        const bool roundUp = fraction[keep] >= '5';
        fraction.resize(keep);
        if (roundUp && !incrementDigits(fraction)) {
            whole += 1.0;
            digits = cnum::fixed(whole, 0);
        }
    }

    std::string text = digits + '.' + fraction;
    trimFraction(text);
    if (negative && text != "0")
        text.insert(0, 1, '-');
    return text;
}

void groupDigits(std::u16string& text, char16_t decimalChar, char16_t groupChar)
{
    for (char16_t c : text) {
        if (c > u'A' && c < u'z' && c != u'e' && c != u'E')
            return;
    }

    const bool european = decimalChar == kDisplayComma;
    const bool unitedStates = decimalChar == u'.';
    for (char16_t& c : text) {
        if ((c == u'.' && (european || unitedStates)) || (c == kDisplayComma && european))
            c = kPointMarker;
    }

    // "1,234,567": after removing a separator the next one is three digits on.
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == groupChar) {
            text.erase(i, 1);
            i += 3;
        } else {
            ++i;
        }
    }

    std::size_t end = std::min(text.find(kPointMarker), text.size());
    while (end > 0 && !ascii::isDigit(text[end - 1]))
        --end;
    // "-123456": separators go at 4 and 1; the one right after the sign is left out.
    for (std::size_t at = end; at > 3;) {
        at -= 3;
        const char16_t before = text[at - 1];
        if (before == u'-' || before == u'e' || before == u'E' || before == groupChar || text[at] == groupChar)
            continue;
        text.insert(at, 1, groupChar);
    }

    for (char16_t& c : text) {
        if (c == kPointMarker)
            c = decimalChar;
    }
}

FormattedResult formatResult(CalcValue value, const ResultFormatSettings& settings)
{
    if (settings.radix == 2 || settings.radix == 8 || settings.radix == 16)
        return {ascii::widen(baseText(value.re, settings.wordSize, settings.radix)), settings.format};

    DisplayFormat format = settings.format;
    if (outsideNormalRange(value.re))
        format = DisplayFormat::Sci;
    if (value.isReal())
        return formatReal(value.re, format, settings);
    return formatComplex(value, format, settings);
}
