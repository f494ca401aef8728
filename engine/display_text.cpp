#include "display_text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "ascii.h"
#include "c_number.h"
#include "utf16.h"

namespace {

// The standard display writes the output format's comma (U+00B8) into numbers; the
// string-mode display never does.
enum class Dialect { Standard, StringMode };

constexpr char16_t kRootSign = u'\u221A';

struct Replacement {
    std::u16string_view from;
    std::u16string_view to;
};

constexpr std::array<Replacement, 3> kOperatorSigns = {{
    {u"\u00D7", u"*"},
    {u"\u00F7", u"/"},
    {u"\u2212", u"-"},
}};

// Replaced after the implicit products, so that the capital letters of "fnDeriv" and
// "fnEval" are not taken for hexadecimal digits that need a "*".
constexpr std::array<Replacement, 6> kNames = {{
    {u"\u222B", u"fnInt"},
    {u"\u03B4", u"fnDeriv"},
    {u"\u220F", u"fnProduct"},
    {u"\u2211", u"fnSum"},
    {u"\u0192", u"fnEval"},
    {u"[ans]", u"[VRE]"},
}};

bool isHexLetter(char16_t c)
{
    return c >= u'A' && c <= u'F';
}

bool isPoint(char16_t c, Dialect dialect)
{
    return c == u'.' || (dialect == Dialect::Standard && c == kDisplayComma);
}

bool isOneOf(char16_t c, std::u16string_view set)
{
    return set.find(c) != std::u16string_view::npos;
}

template <std::size_t N>
std::u16string replaceAll(std::u16string_view text, const std::array<Replacement, N>& table)
{
    std::u16string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        bool replaced = false;
        for (const Replacement& entry : table) {
            if (text.substr(i).starts_with(entry.from)) {
                out += entry.to;
                i += entry.from.size();
                replaced = true;
                break;
            }
        }
        if (!replaced)
            out += text[i++];
    }
    return out;
}

// ".5+.5" -> "0.5+0.5", "(-.5)" -> "(-0.5)".
std::u16string addLeadingZeros(std::u16string_view text, Dialect dialect)
{
    std::u16string out;
    out.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (isPoint(text[i], dialect) && (i == 0 || !ascii::isDigit(text[i - 1])))
            out += u'0';
        out += text[i];
    }
    return out;
}

// Position of the "(" that the ")" at close closes, scanning backwards.
std::optional<std::size_t> matchingOpen(std::u16string_view text, std::size_t close)
{
    int depth = 0;
    for (std::size_t j = close + 1; j-- > 0;) {
        if (text[j] == u')')
            ++depth;
        else if (text[j] == u'(' && --depth == 0)
            return j;
    }
    return std::nullopt;
}

// "3√(8)" -> "RT(3,8)", "(1+2)√(9)" -> "RT((1+2),9)": the index and the "(" the keypad writes
// after the sign make way for "RT(" index ",".
void expandRoots(std::u16string& text, Dialect dialect)
{
    std::size_t at = 1;
    while ((at = text.find(kRootSign, at)) != std::u16string::npos) {
        std::size_t indexStart = at;
        if (text[at - 1] == u')') {
            const auto open = matchingOpen(text, at - 1);
            if (!open) {
                ++at;
                continue;
            }
            indexStart = *open;
        } else {
            while (indexStart > 0 && (ascii::isDigit(text[indexStart - 1]) || isPoint(text[indexStart - 1], dialect)))
                --indexStart;
        }
        std::u16string replacement = u"RT(";
        replacement.append(text, indexStart, at - indexStart);
        replacement += u',';
        const std::size_t removedEnd = std::min(at + 2, text.size());
        text.replace(indexStart, removedEnd - indexStart, replacement);
        at = indexStart + replacement.size();
    }
}

// Where text[at] begins an exponent mark of scientific notation: "e", "exp", or in decimal
// "E"; then an optional sign and at least one digit. Returns the length of the mark and sign.
std::size_t exponentMarkAt(std::u16string_view text, std::size_t at, bool decimal)
{
    std::size_t i = at;
    if (text.substr(i).starts_with(u"exp"))
        i += 3;
    else if (text[i] == u'e' || (decimal && text[i] == u'E'))
        ++i;
    else
        return 0;
    if (i < text.size() && isOneOf(text[i], u"+-\u2212"))
        ++i;
    return i < text.size() && ascii::isDigit(text[i]) ? i - at : 0;
}

// "6.02e23", "2e-3", "1.5exp-7" -> the number they write, as one engine number ("2e-3" ->
// "0.002"), read whole rather than as products with Euler's e. The mantissa keeps the
// output format's decimal mark, which a later step turns into ".". Anything that is not such a
// number ("2e", "e^2", "2e(1)", "2 e") stays as it is.
std::u16string readScientificNotation(std::u16string_view text, Dialect dialect, OutputFormat format, bool decimal)
{
    const auto separators = dialect == Dialect::Standard ? separatorsOf(format) : std::nullopt;
    const char16_t decimalChar = separators ? separators->decimalChar : u'.';
    // No character of a number is 0: without separators nothing groups.
    const char16_t groupChar = separators ? separators->groupChar : u'\0';
    const auto inMantissa = [&](char16_t c) {
        return ascii::isDigit(c) || c == decimalChar || (c == groupChar && c != u'\0');
    };
    std::u16string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        // A number starts where no name or number runs into it.
        const bool starts = (ascii::isDigit(text[i]) || text[i] == decimalChar) &&
                            (i == 0 || !(ascii::isAlnum(text[i - 1]) || inMantissa(text[i - 1])));
        if (!starts) {
            out += text[i++];
            continue;
        }
        std::size_t end = i;
        std::string number;
        while (end < text.size() && inMantissa(text[end])) {
            if (text[end] == decimalChar)
                number += '.';
            else if (ascii::isDigit(text[end]))
                number += static_cast<char>(text[end]);
            ++end;
        }
        const std::size_t mark = end < text.size() ? exponentMarkAt(text, end, decimal) : 0;
        std::size_t exponentEnd = end + mark;
        while (exponentEnd < text.size() && ascii::isDigit(text[exponentEnd]))
            ++exponentEnd;
        const bool whole = exponentEnd == text.size() || !(inMantissa(text[exponentEnd]) || text[exponentEnd] == u'.');
        double value = 0.0;
        if (mark == 0 || !whole || number.find_first_of("0123456789") == std::string::npos) {
            out.append(text.substr(i, end - i));
            i = end;
            continue;
        }
        const char16_t sign = text[end + mark - 1];
        number += 'e';
        number += sign == u'-' || sign == u'\u2212' ? "-" : "";
        for (std::size_t k = end + mark; k < exponentEnd; ++k)
            number += static_cast<char>(text[k]);
        cnum::parsePrefix(number, value);
        // Too large a number stays one, for the evaluator to call out of range.
        std::string written = std::isfinite(value) ? cnum::exactDecimal(value) : std::string("1E999");
        for (const char c : written)
            out += c == '.' ? decimalChar : c == 'e' ? u'E' : static_cast<char16_t>(c);
        i = exponentEnd;
    }
    return out;
}

// Characters after a digit (or "A" to "F") that continue the expression without a "*".
bool continuesNumber(char16_t c, Dialect dialect)
{
    return isOneOf(c, u"^\u221A +,;-*/.)!%]") || isHexLetter(c) || ascii::isDigit(c) ||
           (dialect == Dialect::Standard && c == kDisplayComma);
}

bool continuesGroup(char16_t c, Dialect dialect)
{
    return isOneOf(c, u"^\u221A +,;-*/.)!%]") || (dialect == Dialect::Standard && c == kDisplayComma);
}

bool isImaginaryUnit(char16_t c)
{
    return c == u'i';
}

// An operand that a value before it multiplies: "(" or a digit.
bool startsFactor(char16_t c)
{
    return c == u'(' || ascii::isDigit(c);
}

// Whether text[i] is the constant "e" as a word of its own, not the end of a name ("module").
bool isConstantE(std::u16string_view text, std::size_t i)
{
    return text[i] == u'e' && (i == 0 || !ascii::isLetter(text[i - 1]));
}

// Whether the neighbours before and after mean a product: "2(", ")(", "][", "](", "2sin",
// "2i", ")i", "3!i", "i2", "i(", "ii", "5!(", "5!2", "5%(".
bool needsProduct(char16_t before, char16_t after, Dialect dialect)
{
    if (ascii::isDigit(before) || isHexLetter(before)) {
        if (!continuesNumber(after, dialect))
            return true;
    } else if (before == u')') {
        if (!continuesGroup(after, dialect))
            return true;
    } else if (before == u']') {
        if (after == u'[' || after == u'(')
            return true;
    }
    if (isImaginaryUnit(after) && (ascii::isDigit(before) || isOneOf(before, u")!%")))
        return true;
    // "!" and "%" end their operand as ")" does.
    if (isOneOf(before, u"!%") && startsFactor(after))
        return true;
    return isImaginaryUnit(before) && (ascii::isDigit(after) || after == u'(' || isImaginaryUnit(after));
}

// Whether text[i] is the "2" that ends the function name "log2", which takes its "(" directly.
bool endsBinaryLogName(std::u16string_view text, std::size_t i)
{
    constexpr std::u16string_view kName = u"log2";
    return i + 1 >= kName.size() && text.substr(i + 1 - kName.size(), kName.size()) == kName &&
           (i + 1 == kName.size() || !ascii::isLetter(text[i - kName.size()]));
}

// Each neighbouring pair gets at most one "*", decided on the pair as typed, so one pass is
// enough. A final "i" after "!" or "%" is covered here as well. The constants are operands
// too: "e(2)" and "e2" are 2e ("pi(2)" and "pi2" already follow from the "i").
std::u16string insertProducts(std::u16string_view text, Dialect dialect)
{
    std::u16string out;
    out.reserve(text.size() + text.size() / 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i > 0 && !endsBinaryLogName(text, i - 1) &&
            (needsProduct(text[i - 1], text[i], dialect) || (isConstantE(text, i - 1) && startsFactor(text[i]))))
            out += u'*';
        out += text[i];
    }
    return out;
}

// "1.234¸5" (European) and "1¸234.5" (United States) both become "1234.5".
std::u16string plainSeparators(std::u16string_view text, OutputFormat format)
{
    const auto separators = separatorsOf(format);
    std::u16string out;
    out.reserve(text.size());
    for (char16_t c : text) {
        if (separators && c == separators->groupChar)
            continue;
        out += c == kDisplayComma ? u'.' : c;
    }
    return out;
}

// Where the operand that starts at text[i] ends: a group "(...)", or a name or number ("3",
// "[VA]", "x") with the call or group after it ("sin(30)"), then any "!" or "%".
std::size_t operandEnd(std::u16string_view text, std::size_t i)
{
    const auto closeGroup = [&](std::size_t open) {
        int depth = 0;
        for (std::size_t j = open; j < text.size(); ++j) {
            if (text[j] == u'(')
                ++depth;
            else if (text[j] == u')' && --depth == 0)
                return j + 1;
        }
        return text.size();
    };
    if (i < text.size() && text[i] == u'-') {
        const std::size_t signedEnd = operandEnd(text, i + 1);
        return signedEnd == i + 1 ? i : signedEnd;
    }
    std::size_t end = i;
    // The display comma is a decimal or grouping mark still: separators are made plain later.
    while (end < text.size() &&
           (ascii::isAlnum(text[end]) || isOneOf(text[end], u"._[]") || text[end] == kDisplayComma))
        ++end;
    if (end < text.size() && text[end] == u'(')
        end = closeGroup(end);
    while (end < text.size() && isOneOf(text[end], u"!%"))
        ++end;
    return end;
}

// "2*-3" -> "2*(-3)", "2^-1" -> "2^(-1)", "5--3" -> "5-(-3)": a minus right after an operator
// is the sign of the operand that follows, as a desktop user means it. afterOperator: the text
// is itself such an operand ("--1" in "2^--1").
std::u16string bracketSigns(std::u16string_view text, bool afterOperator = false)
{
    std::u16string out;
    out.reserve(text.size() + 8);
    std::size_t i = 0;
    while (i < text.size()) {
        const bool follows = i > 0 ? isOneOf(text[i - 1], u"*/^+-") : afterOperator;
        const bool sign = text[i] == u'-' && follows && i + 1 < text.size();
        if (!sign) {
            out += text[i++];
            continue;
        }
        const std::size_t end = operandEnd(text, i + 1);
        if (end == i + 1) {
            out += text[i++];
            continue;
        }
        out += u"(-";
        out += bracketSigns(text.substr(i + 1, end - i - 1), true);
        out += u')';
        i = end;
    }
    return out;
}

// "exp" after an operand is the exponent key's "times ten to the" ("2exp(3)" -> "2*10^(3)");
// anywhere else it names the exponential function ("exp(1)", "2*exp(x)").
std::u16string expandExponentMarks(std::u16string_view text, Dialect dialect)
{
    std::u16string out;
    out.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool afterOperand = !out.empty() && (ascii::isDigit(out.back()) || isPoint(out.back(), dialect) ||
                                                   isOneOf(out.back(), u")]!%"));
        if (afterOperand && text.substr(i).starts_with(u"exp")) {
            out += u"*10^";
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string convert(std::u16string_view display, Dialect dialect, OutputFormat format, int radix)
{
    std::u16string text = readScientificNotation(display, dialect, format, radix == 10);
    text = replaceAll(text, kOperatorSigns);
    text = expandExponentMarks(text, dialect);
    text = addLeadingZeros(text, dialect);
    expandRoots(text, dialect);
    text = insertProducts(text, dialect);
    text = replaceAll(text, kNames);
    text = bracketSigns(text);
    if (dialect == Dialect::Standard)
        text = plainSeparators(text, format);
    return toUtf8(text);
}

}  // namespace

std::string displayToEngineText(std::u16string_view display, OutputFormat format, int radix)
{
    return convert(display, Dialect::Standard, format, radix);
}

std::string stringModeToEngineText(std::u16string_view display)
{
    return convert(display, Dialect::StringMode, OutputFormat::Other, 10);
}
