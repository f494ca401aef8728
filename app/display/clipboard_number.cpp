#include "clipboard_number.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

#include "ascii.h"
#include "key_codes.h"

namespace {

using ascii::isDigit;
using ascii::isLetter;

bool isHexDigit(char16_t c)
{
    return isDigit(c) || hexLetterCode(c) >= 0;
}

// Blanks that may surround or split pasted text: space, tab, no-break and narrow spaces.
bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\u00A0' || c == u'\u2007' || c == u'\u202F';
}

bool isLineBreak(char16_t c)
{
    return c == u'\r' || c == u'\n';
}

// Signs that pasted amounts carry and no expression needs: dollar, euro, pound, yen.
bool isCurrencySign(char16_t c)
{
    return c == u'$' || c == u'\u20AC' || c == u'\u00A3' || c == u'\u00A5';
}

bool isBlankLine(std::u16string_view line)
{
    for (char16_t c : line) {
        if (!isBlank(c) && !isLineBreak(c))
            return false;
    }
    return true;
}

// Number text with "." as decimal point in the output format's decimal mark.
std::u16string withDecimalMark(std::u16string text, OutputFormat format)
{
    if (format == OutputFormat::European)
        std::replace(text.begin(), text.end(), u'.', u',');
    return text;
}

// A result as the display shows it, without grouping and with its decimal mark drawn as ",".
std::u16string ungroupedShownText(std::u16string_view shown, OutputFormat format)
{
    const std::optional<Separators> separators = separatorsOf(format);
    std::u16string text;
    for (char16_t c : shown) {
        if (separators && c == separators->groupChar)
            continue;
        text += c == kDisplayComma ? u',' : c;
    }
    return text;
}

NameInsertion token(std::u16string text)
{
    return {-1, std::move(text)};
}

// "1,234,567" with mark ",": a first group of one to three digits, then groups of exactly
// three, at least one mark.
bool isGrouped(std::u16string_view digits, char16_t mark)
{
    std::size_t group = 0;
    bool first = true;
    bool marked = false;
    for (char16_t c : digits) {
        if (c == mark) {
            if ((first && (group == 0 || group > 3)) || (!first && group != 3))
                return false;
            first = false;
            marked = true;
            group = 0;
        } else if (isDigit(c)) {
            ++group;
        } else {
            return false;
        }
    }
    return marked && group == 3;
}

std::size_t countOf(std::u16string_view text, char16_t c)
{
    std::size_t n = 0;
    for (char16_t x : text)
        n += x == c ? 1 : 0;
    return n;
}

// A number split into its parts, marks removed.
struct NumberParts {
    std::u16string whole;
    std::u16string fraction;
    bool point = false;
};

std::optional<NumberParts> splitNumber(std::u16string_view run, char16_t decimal, char16_t grouping)
{
    NumberParts parts;
    const std::size_t at = decimal == 0 ? std::u16string_view::npos : run.find(decimal);
    std::u16string_view whole = run.substr(0, at);
    if (grouping != 0 && countOf(whole, grouping) > 0 && !isGrouped(whole, grouping))
        return std::nullopt;
    for (char16_t c : whole) {
        if (c != grouping)
            parts.whole += c;
    }
    if (at != std::u16string_view::npos) {
        parts.point = true;
        for (char16_t c : run.substr(at + 1)) {
            if (!isDigit(c))
                return std::nullopt;
            parts.fraction += c;
        }
    }
    for (char16_t c : parts.whole) {
        if (!isDigit(c))
            return std::nullopt;
    }
    return parts;
}

// How a run of digits, "." and "," reads (see readPastedText): one number, or several numbers
// separated by argument commas.
std::vector<NumberParts> interpretRun(std::u16string_view run, OutputFormat format, bool inCall)
{
    const std::size_t commas = countOf(run, u',');
    const std::size_t points = countOf(run, u'.');
    std::optional<NumberParts> single;
    if (commas == 0 && points <= 1) {
        single = splitNumber(run, u'.', 0);
    } else if (!inCall && commas > 0 && points > 0) {
        const bool commaIsDecimal = run.rfind(u',') > run.rfind(u'.');
        const char16_t decimal = commaIsDecimal ? u',' : u'.';
        if (countOf(run, decimal) == 1)
            single = splitNumber(run, decimal, commaIsDecimal ? u'.' : u',');
    } else if (!inCall && commas > 0) {
        if (commas == 1 && format == OutputFormat::European)
            single = splitNumber(run, u',', 0);
        else if (isGrouped(run, u','))
            single = splitNumber(run, 0, u',');
    } else if (commas == 0 && isGrouped(run, u'.')) {
        single = splitNumber(run, 0, u'.');
    }
    if (single)
        return {*single};
    // Commas that are not part of a number separate numbers.
    std::vector<NumberParts> numbers;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = run.find(u',', start);
        const std::u16string_view piece =
            run.substr(start, comma == std::u16string_view::npos ? run.size() - start : comma - start);
        std::optional<NumberParts> parts = splitNumber(piece, u'.', 0);
        if (!parts) {
            // Several points: kept as typed, for the evaluation to reject.
            parts = NumberParts{std::u16string(piece), {}, false};
        }
        numbers.push_back(*parts);
        if (comma == std::u16string_view::npos)
            break;
        start = comma + 1;
    }
    return numbers;
}

void emitNumber(const NumberParts& number, OutputFormat format, std::vector<NameInsertion>& out)
{
    for (char16_t c : number.whole)
        out.push_back(token(std::u16string(1, c)));
    if (number.point) {
        out.push_back(token(std::u16string(1, format == OutputFormat::European ? kDisplayComma : u'.')));
        for (char16_t c : number.fraction)
            out.push_back(token(std::u16string(1, c)));
    }
}

const TypedName* longestName(std::u16string_view text, const std::vector<TypedName>& names)
{
    for (bool ignoreCase : {false, true}) {
        const TypedName* best = nullptr;
        for (const TypedName& name : names) {
            if (beginsWith(text, name.text, ignoreCase) && (!best || name.text.size() > best->text.size()))
                best = &name;
        }
        if (best)
            return best;
    }
    return nullptr;
}

// Characters that stand for an operator key's sign.
std::optional<std::u16string_view> operatorSign(char16_t c)
{
    switch (c) {
    case u'+': return u"+";
    case u'-':
    case u'\u2212':
    case u'\u2013': return u"\u2212";
    case u'*':
    case u'\u00D7': return u"\u00D7";
    case u'/':
    case u'\u00F7': return u"\u00F7";
    case u'^': return u"^";
    case u'!': return u"!";
    case u'%': return u"%";
    case u',': return u",";
    default: return std::nullopt;
    }
}

std::u16string_view cleanText(std::u16string_view text)
{
    while (!text.empty() && (isBlank(text.front()) || isLineBreak(text.front())))
        text.remove_prefix(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] < 0x20 && text[i] != u'\t') {
            text = text.substr(0, i);
            break;
        }
    }
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

}  // namespace

std::u16string clipboardNumberText(double value)
{
    if (value == 0.0)
        return u"0";  // also for -0
    char buffer[64];
    const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, result.ptr);
    for (char& c : text) {
        if (c == 'e')
            c = 'E';
    }
    return ascii::widen(text);
}

std::u16string clipboardNumberText(CalcValue value)
{
    if (value.im == 0.0)
        return clipboardNumberText(value.re);
    std::u16string imaginary = clipboardNumberText(std::fabs(value.im)) + u"i";
    if (value.re == 0.0)
        return value.im < 0 ? u"-" + imaginary : imaginary;
    return clipboardNumberText(value.re) + (value.im < 0 ? u"-" : u"+") + imaginary;
}

std::u16string clipboardNumberText(CalcValue value, OutputFormat format)
{
    return withDecimalMark(clipboardNumberText(value), format);
}

std::u16string matrixClipboardText(const ValueCell& matrix)
{
    std::u16string text = u"[";
    for (std::size_t row = 0; row < matrix.rows; ++row) {
        if (row > 0)
            text += u';';
        for (std::size_t col = 0; col < matrix.cols; ++col) {
            if (col > 0)
                text += u',';
            text += clipboardNumberText(matrix.at(row, col));
        }
    }
    return text + u"]";
}

std::u16string resultClipboardText(const ValueCell& value, std::u16string_view shownText, bool decimal,
                                   OutputFormat format, CopyPrecision precision)
{
    if (value.isMatrix())
        return matrixClipboardText(value);
    if (!std::isfinite(value.re) || !std::isfinite(value.im))
        return {};
    if (!decimal)
        return std::u16string(shownText);
    if (precision == CopyPrecision::Full)
        return clipboardNumberText(value.scalar(), format);
    return ungroupedShownText(shownText, format);
}

std::u16string clipboardNumberText(std::u16string_view numberText)
{
    // A character outside ASCII narrows to one that no number holds.
    const std::string number = ascii::narrow(cleanText(numberText));
    double value = 0;
    const char* first = number.data();
    const char* last = first + number.size();
    if (!number.empty() && *first == '+')
        ++first;
    const std::from_chars_result result = std::from_chars(first, last, value);
    if (number.empty() || result.ec != std::errc() || result.ptr != last || !std::isfinite(value))
        return std::u16string(numberText);
    return clipboardNumberText(value);
}

std::vector<NameInsertion> readPastedText(std::u16string_view pasted, const PasteContext& context)
{
    const std::u16string_view text = cleanText(pasted);
    std::vector<NameInsertion> out;
    // For each open parenthesis: whether a call opened it, so that its commas part arguments.
    std::vector<bool> parentheses;
    const auto inCall = [&parentheses] { return !parentheses.empty() && parentheses.back(); };
    std::size_t i = 0;
    while (i < text.size()) {
        const char16_t c = text[i];
        if (isBlank(c) || isCurrencySign(c)) {
            ++i;
            continue;
        }
        if (context.hexDigits && isHexDigit(c)) {
            // A run of letters and digits that are all hexadecimal digits is a number.
            std::size_t end = i;
            while (end < text.size() && (isDigit(text[end]) || isLetter(text[end])))
                ++end;
            std::size_t hexEnd = i;
            while (hexEnd < end && isHexDigit(text[hexEnd]))
                ++hexEnd;
            if (hexEnd == end || isDigit(c)) {
                for (; i < hexEnd; ++i)
                    out.push_back(token(std::u16string(1, ascii::toUpper(text[i]))));
                continue;
            }
        }
        const bool startsNumber = isDigit(c) || (c == u'.' && i + 1 < text.size() && isDigit(text[i + 1]));
        if (startsNumber && !context.hexDigits) {
            // Digits and marks; a mark belongs to the number only when a digit follows it,
            // except a final ".".
            std::size_t end = i;
            while (end < text.size()) {
                const char16_t x = text[end];
                if (isDigit(x)) {
                    ++end;
                } else if ((x == u'.' || x == u',') && end + 1 < text.size() && isDigit(text[end + 1])) {
                    ++end;
                } else if (x == u'.' && (end + 1 == text.size() || !isDigit(text[end + 1])) &&
                           countOf(text.substr(i, end - i), u'.') == 0) {
                    ++end;
                    break;
                } else {
                    break;
                }
            }
            const std::vector<NumberParts> numbers = interpretRun(text.substr(i, end - i), context.format, inCall());
            for (std::size_t n = 0; n < numbers.size(); ++n) {
                if (n > 0)
                    out.push_back(token(u","));
                emitNumber(numbers[n], context.format, out);
            }
            i = end;
            // The exponent: "e" or "E", an optional sign, digits.
            if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
                std::size_t digits = i + 1;
                bool negative = false;
                if (digits < text.size() &&
                    (text[digits] == u'+' || text[digits] == u'-' || text[digits] == u'\u2212')) {
                    negative = text[digits] != u'+';
                    ++digits;
                }
                std::size_t end2 = digits;
                while (end2 < text.size() && isDigit(text[end2]))
                    ++end2;
                if (end2 > digits) {
                    out.push_back(token(u"exp"));
                    if (negative)
                        out.push_back(token(u"(-"));
                    for (std::size_t d = digits; d < end2; ++d)
                        out.push_back(token(std::u16string(1, text[d])));
                    if (negative)
                        out.push_back(token(u")"));
                    i = end2;
                }
            }
            continue;
        }
        if (isLetter(c) || c == u'[') {
            if (const TypedName* name = longestName(text.substr(i), context.names)) {
                out.push_back(name->code >= 0 ? NameInsertion{name->code, {}} : token(name->token));
                if (name->text.back() == u'(')
                    parentheses.push_back(true);
                i += name->text.size();
                continue;
            }
            std::size_t end = i + 1;
            while (c != u'[' && end < text.size() && isLetter(text[end]))
                ++end;
            out.push_back(token(std::u16string(text.substr(i, end - i))));
            i = end;
            continue;
        }
        ++i;
        if (c == u'(') {
            parentheses.push_back(false);
            out.push_back(token(u"("));
        } else if (c == u')') {
            if (!parentheses.empty())
                parentheses.pop_back();
            out.push_back(token(u")"));
        } else if (const std::optional<std::u16string_view> sign = operatorSign(c)) {
            out.push_back(token(std::u16string(*sign)));
        } else if (c == u'\u03C0') {
            out.push_back({KeyCode::kPi, {}});
        } else if (c == u'=' && i == text.size()) {
            // "2+3=" as copied from elsewhere: the "=" is the user's to press.
        } else {
            out.push_back(token(std::u16string(1, c)));
        }
    }
    return out;
}

std::vector<std::u16string_view> pastedExpressionLines(std::u16string_view text)
{
    std::vector<std::u16string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of(u"\r\n");
        const std::u16string_view line = text.substr(0, end);
        if (!isBlankLine(line))
            lines.push_back(line);
        if (end == std::u16string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

std::u16string pastedNumberDigits(std::u16string_view text, OutputFormat format)
{
    PasteContext context;
    context.format = format;
    std::u16string digits;
    for (const NameInsertion& piece : readPastedText(text, context)) {
        if (piece.code >= 0)
            break;
        const bool point = piece.token == u"." || piece.token == std::u16string(1, kDisplayComma);
        const bool digit = piece.token.size() == 1 && isDigit(piece.token.front());
        if (digit || (point && digits.find(u'.') == std::u16string::npos)) {
            digits += point ? u'.' : piece.token.front();
            continue;
        }
        if (!digits.empty())
            break;
    }
    return digits;
}
