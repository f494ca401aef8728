#include "formula_markup.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <vector>

#include "ascii.h"
#include "function_calls.h"
#include "utf16.h"
#include "variable_slots.h"

namespace formula {
namespace {

constexpr std::size_t npos = std::string::npos;

// Precedence class of a single character; everything that is not an operator binds tighter.
int classOf(char c)
{
    switch (c) {
    case '(':
    case ')': return 0;
    case '+':
    case '-': return 2;
    case '*':
    case '/': return 4;
    case '^':
    case '!':
    case '%': return 5;
    default: return 7;
    }
}

std::size_t matchingClose(std::string_view text, std::size_t open)
{
    int depth = 0;
    for (std::size_t i = open; i < text.size(); ++i) {
        if (text[i] == '(')
            ++depth;
        else if (text[i] == ')' && --depth == 0)
            return i;
    }
    return npos;
}

std::size_t matchingOpen(std::string_view text, std::size_t close)
{
    int depth = 0;
    for (std::size_t i = close + 1; i-- > 0;) {
        if (text[i] == ')')
            ++depth;
        else if (text[i] == '(' && --depth == 0)
            return i;
    }
    return npos;
}

// Start of the operand left of position `op`. A group is taken whole; a group that never
// opens reaches the start of the text, as half-typed input often has one.
std::size_t operandBegin(std::string_view text, std::size_t op, int limit)
{
    std::size_t j = op;
    while (j > 0) {
        const char c = text[j - 1];
        if (c == ')') {
            const std::size_t open = matchingOpen(text, j - 1);
            j = open == npos ? 0 : open;
        } else if (c == '(' || c == ',' || classOf(c) <= limit) {
            break;
        } else {
            --j;
        }
    }
    return j;
}

// One past the end of the operand that starts at `from`; an unclosed group reaches the end.
std::size_t operandEnd(std::string_view text, std::size_t from, int limit)
{
    std::size_t j = from;
    while (j < text.size()) {
        const char c = text[j];
        if (c == '(') {
            const std::size_t close = matchingClose(text, j);
            j = close == npos ? text.size() : close + 1;
        } else if (c == ')' || c == ',' || classOf(c) <= limit) {
            break;
        } else {
            ++j;
        }
    }
    return j;
}

std::string convertFractions(std::string text)
{
    std::size_t pos = 0;
    while ((pos = text.find('/', pos)) != npos) {
        const std::size_t begin = operandBegin(text, pos, 4);
        const std::size_t end = operandEnd(text, pos + 1, 4);
        const std::string replacement = "\\frac{" + convertFractions(text.substr(begin, pos - begin)) + "}{" +
                                        convertFractions(text.substr(pos + 1, end - pos - 1)) + "}";
        text.replace(begin, end - begin, replacement);
        pos = begin + replacement.size();
    }
    return text;
}

std::string convertPowers(std::string text)
{
    std::size_t pos = 0;
    while ((pos = text.find('^', pos)) != npos) {
        // "}^{" is a power converted earlier in this scan, now inside a group taken as a base.
        if (pos + 1 < text.size() && text[pos + 1] == '{') {
            ++pos;
            continue;
        }
        const std::size_t begin = operandBegin(text, pos, 5);
        const std::size_t end = operandEnd(text, pos + 1, 5);
        const std::string replacement = "{" + convertPowers(text.substr(begin, pos - begin)) + "}^{" +
                                        convertFractions(text.substr(pos + 1, end - pos - 1)) + "}";
        text.replace(begin, end - begin, replacement);
        pos = begin + replacement.size();
    }
    return text;
}

// Special-call kinds by their number in the function-call table.
enum Kind : int {
    kRt = 0,
    kFnInt = 1,
    kFnDeriv = 2,
    kFnEval = 3,
    kGcd = 4,
    kFnRoot = 5,
    kLcm = 6,
    kFib = 8,
    kRan = 9,
    kFnSum = 10,
    kFnProduct = 11,
    kSum = 12,
    kSsq = 13,
    kN = 14,
    kAvg = 15,
    kSdv = 16,
    kSsd = 17,
    kMin = 18,
    kMax = 19,
    kAvd = 20,
    kMedian = 21,
    kMd = 22,
    kDsq = 23,
    kGm = 24,
    kNcr = 25,
    kNpr = 26,
    kHypot = 37,
};

// These names also occur inside ordinary words and markup ("N" in "[VN]"), so they are left
// as typed.
bool neverSearched(int kind)
{
    return kind == kN || kind == kMin || kind == kMax || kind == kMedian || kind == kMd;
}

std::string_view templateOf(int kind)
{
    switch (kind) {
    case kRt: return R"x(\sqrt[\left(?\right)]{\left(?\right)})x";
    case kFnInt: return R"x(\int\left(?\right))x";
    case kFnDeriv: return R"x(\left(?\right)^{'})x";
    case kFnEval:
    case kFnRoot: return R"x(\left(?\right))x";
    case kGcd: return R"x(gcd\left(?\right))x";
    case kLcm: return R"x(lcm\left(?\right))x";
    case kFib: return R"x(fib\left(?\right))x";
    case kRan: return R"x(ran\left(?\right))x";
    case kFnSum: return R"x(\sum\left(?\right))x";
    case kFnProduct: return R"x(\prod\left(?\right))x";
    case kNcr: return R"x(C\left(?\right))x";
    case kNpr: return R"x(P\left(?\right))x";
    case kHypot: return R"x(hypot\left(?\right))x";
    default: return {};
    }
}

// The statistics calls stand for fixed formulas over the statistics list.
std::optional<std::string_view> statisticsFormula(int kind)
{
    switch (kind) {
    case kSum: return R"x(\displaystyle\sum_{n=1}^{N}{X[n]})x";
    case kSsq: return R"x(\displaystyle\sum_{n=1}^{N}{X[n]^2})x";
    case kAvg: return R"x(\displaystyle\frac{\sum_{n=1}^{N}{X[n]}}{N})x";
    case kSdv:
        return R"x(\displaystyle\sqrt{\frac{n*\sum_{n=1}^{N}{X[n]^2}-\left(\sum_{n=1}^{N}{X[n]}\right)^2}{n^2}})x";
    case kSsd:
        return R"x(\displaystyle\sqrt{\frac{n*\sum_{n=1}^{N}{X[n]^2}-\left(\sum_{n=1}^{N}{X[n]}\right)^2}{n*(n-1)}})x";
    case kAvd: return R"x(\displaystyle\frac{\sum_{n=1}^{N}{\left|X[n]-\bar X\right|}}{n})x";
    case kDsq: return R"x(\displaystyle\sum_{n=1}^{N}{\left(X[n]-\bar X\right)^2})x";
    case kGm: return R"x(\displaystyle\sqrt[n]{\prod_{n=1}^{N}{X[n]}})x";
    default: return std::nullopt;
    }
}

// Functions written with signs of their own around the argument: |x|, the floor and ceiling
// brackets, the cube root sign; and those whose name has a symbol: Gamma, log to base 2.
struct NameForm {
    std::string_view name;
    std::string_view open;
    std::string_view close;
};
constexpr std::array<NameForm, 6> kNameForms = {{
    {"abs", R"x(\left|)x", R"x(\right|)x"},
    {"floor", R"x(\left\lfloor )x", R"x(\right\rfloor )x"},
    {"ceil", R"x(\left\lceil )x", R"x(\right\rceil )x"},
    {"cbrt", R"x(\sqrt[3]{)x", "}"},
    {"gamma", R"x(\Gamma\left()x", R"x(\right))x"},
    {"log2", R"x(\log_2\left()x", R"x(\right))x"},
}};

// Replaces each complete call of a kNameForms function by its form; a call that is not closed
// yet stays as typed.
std::string convertNameForms(std::string text)
{
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        if (pos > 0 && (ascii::isLetter(text[pos - 1]) || text[pos - 1] == '\\'))
            continue;
        for (const NameForm& form : kNameForms) {
            const std::size_t open = pos + form.name.size();
            if (std::string_view(text).substr(pos, form.name.size()) != form.name || open >= text.size() ||
                text[open] != '(')
                continue;
            const std::size_t close = matchingClose(text, open);
            if (close == npos)
                break;
            text.replace(close, 1, form.close);
            text.replace(pos, open + 1 - pos, form.open);
            break;
        }
    }
    return text;
}

struct CallSite {
    int kind = 0;
    std::size_t begin = 0;
    std::size_t nameEnd = 0;
};

// The call nearest the start at or after `from`; "sum" after a backslash is markup already.
std::optional<CallSite> nextCall(std::string_view text, std::size_t from)
{
    std::optional<CallSite> best;
    for (int kind = 0; kind < functionCallCount(); ++kind) {
        if (neverSearched(kind))
            continue;
        const std::string_view name = functionCallName(kind);
        std::size_t pos = text.find(name, from);
        while (kind == kSum && pos != npos && pos > 0 && text[pos - 1] == '\\')
            pos = text.find(name, pos + 1);
        if (pos == npos)
            continue;
        if (!best || pos < best->begin || (pos == best->begin && pos + name.size() > best->nameEnd))
            best = CallSite{kind, pos, pos + name.size()};
    }
    return best;
}

std::vector<std::string> splitArguments(std::string_view text)
{
    std::vector<std::string> parts;
    int depth = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '(' || c == '{')
            ++depth;
        else if (c == ')' || c == '}')
            --depth;
        else if (c == ',' && depth == 0) {
            parts.emplace_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    parts.emplace_back(text.substr(start));
    return parts;
}

// "%.4lf" without trailing zeros and point: 2.5000 -> 2.5, 3.0000 -> 3. to_chars keeps the
// point a point whatever the process locale.
std::string formatValue(double value)
{
    std::array<char, 512> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, 4);
    std::string text(buffer.data(), result.ec == std::errc() ? result.ptr : buffer.data());
    if (text.find('.') != npos) {
        while (!text.empty() && text.back() == '0')
            text.pop_back();
        if (!text.empty() && text.back() == '.')
            text.pop_back();
    }
    return text;
}

class Converter {
public:
    explicit Converter(const VariableSlots& slots) : slots_(slots) {}

    std::string expression(std::string_view text) const
    {
        return variables(convertNameForms(calls(convertPowers(std::string(text)))));
    }

private:
    // An argument used as a formula: fractions, calls and variables.
    std::string formula(const std::vector<std::string>& args, std::size_t index) const
    {
        return index < args.size() ? variables(calls(args[index])) : std::string();
    }

    static std::string raw(const std::vector<std::string>& args, std::size_t index)
    {
        return index < args.size() ? args[index] : std::string();
    }

    // The typeset form of a complete call, or nothing when the call stays as typed.
    std::optional<std::string> callForm(int kind, const std::vector<std::string>& a) const
    {
        if (const auto fixed = statisticsFormula(kind))
            return std::string(*fixed);
        switch (kind) {
        case kRt:
            if (raw(a, 0) == "2")
                return "\\sqrt{" + formula(a, 1) + "}";
            return "\\sqrt[" + formula(a, 0) + "]{" + formula(a, 1) + "}";
        case kFnInt:
            return "\\int_{" + formula(a, 2) + "}^{" + formula(a, 3) + "}{\\left(" + formula(a, 0) +
                   "\\right)}\\hspace1d" + raw(a, 1);
        case kFnDeriv: return "\\left(" + formula(a, 0) + "\\right)^{'}_{" + raw(a, 1) + "=" + formula(a, 2) + "}";
        case kFnEval: return "\\left(" + formula(a, 0) + "\\right)_{" + raw(a, 1) + "=" + formula(a, 2) + "}";
        case kFnRoot:
            return "\\left(" + formula(a, 0) + "=0\\right)_{" + formula(a, 2) + "<=" + raw(a, 1) +
                   "<=" + formula(a, 3) + "}";
        case kFnSum:
        case kFnProduct: {
            std::string out = kind == kFnSum ? "\\displaystyle\\sum_{" : "\\displaystyle\\prod_{";
            out += raw(a, 1) + "=" + formula(a, 2);
            if (a.size() >= 5)
                out += ",\\Delta=" + formula(a, 4);
            return out + "}^{" + formula(a, 3) + "}{\\left(" + formula(a, 0) + "\\right)}";
        }
        case kNcr: return "C^{" + formula(a, 0) + "}_" + formula(a, 1);
        case kNpr: return "P^{" + formula(a, 0) + "}_" + formula(a, 1);
        default: return std::nullopt;
        }
    }

    std::string calls(std::string text) const
    {
        text = convertFractions(std::move(text));
        std::size_t from = 0;
        while (const auto site = nextCall(text, from)) {
            const bool opens = site->nameEnd < text.size() && text[site->nameEnd] == '(';
            const std::size_t close = opens ? matchingClose(text, site->nameEnd) : npos;
            if (close == npos) {
                text.replace(site->begin, npos, templateOf(site->kind));
                break;
            }
            const auto args =
                splitArguments(std::string_view(text).substr(site->nameEnd + 1, close - site->nameEnd - 1));
            const auto form = callForm(site->kind, args);
            if (!form) {
                // Kept as typed; calls inside its arguments are still typeset.
                from = site->nameEnd;
                continue;
            }
            text.replace(site->begin, close + 1 - site->begin, *form);
            from = site->begin + form->size();
        }
        return text;
    }

    std::string variables(std::string text) const
    {
        std::size_t pos = 0;
        while ((pos = text.find('[', pos)) != npos) {
            const std::size_t close = text.find(']', pos + 1);
            if (close == npos)
                break;
            const int slot = VariableSlots::find(std::string_view(text).substr(pos + 1, close - pos - 1));
            if (slot < 0) {
                ++pos;
                continue;
            }
            const std::string value = valueText(slots_[slot]);
            text.replace(pos, close + 1 - pos, value);
            pos += value.size();
        }
        return text;
    }

    // A matrix stops growing once past the markup limit: the caller refuses it anyway.
    static std::string valueText(const ValueCell& cell)
    {
        if (!cell.isMatrix())
            return formatValue(cell.re);
        std::string out = "\\left[\\begin{matrix} ";
        for (std::size_t row = 0; row < cell.rows && out.size() <= kMarkupLimit; ++row) {
            for (std::size_t col = 0; col < cell.cols && out.size() <= kMarkupLimit; ++col) {
                if (col > 0)
                    out += " & ";
                if (row * cell.cols + col < cell.data.size())
                    out += formatValue(cell.at(row, col));
            }
            out += " \\\\ ";
        }
        return out + "\\end{matrix}\\right]";
    }

    const VariableSlots& slots_;
};

}  // namespace

std::string expressionToTex(std::string_view text, const VariableSlots& slots)
{
    return Converter(slots).expression(text);
}

FormulaRequest renderExpressionFormula(std::u16string_view text, int sizeIndex, const VariableSlots& slots)
{
    FormulaRequest request;
    if (text.empty()) {
        request.message = kEmptyMessage;
        return request;
    }
    if (text.size() >= kMaxInputLength) {
        request.message = kOverlengthMessage;
        return request;
    }
    const std::string markup = expressionToTex(toUtf8(text), slots);
    if (markup.size() >= kMarkupLimit) {
        request.message = kOverlengthMessage;
        return request;
    }
    const int size = std::clamp(sizeIndex, 0, static_cast<int>(kSizeCount) - 1);
    std::string buffer(kSizeCommands[static_cast<std::size_t>(size)]);
    buffer += ' ';
    // Parentheses that are part of "\left(" and "\right)" already stay; every other one, also
    // after a name ending in "t" ("pmt(", "sqrt(", "det("), is widened. The name of a call is
    // set upright, with "{}" between its letters: mimeTeX reads "sin", "cos", "exp", "sqrt" and
    // "det" in plain letters as operators of its own, which take the "\left(" away from its
    // "\right)" and draw that as a stray arrow.
    const auto afterCommand = [&markup](std::size_t i, std::string_view command) {
        return i >= command.size() && std::string_view(markup).substr(i - command.size(), command.size()) == command;
    };
    for (std::size_t i = 0; i < markup.size();) {
        const char c = markup[i];
        const bool startsWord =
            ascii::isLetter(c) && (i == 0 || (!ascii::isLetter(markup[i - 1]) && markup[i - 1] != '\\'));
        if (startsWord) {
            std::size_t end = i;
            while (end < markup.size() && ascii::isLetter(markup[end]))
                ++end;
            if (end < markup.size() && markup[end] == '(') {
                buffer += "\\mathrm{";
                for (std::size_t k = i; k < end; ++k) {
                    if (k > i)
                        buffer += "{}";
                    buffer += markup[k];
                }
                buffer += '}';
            } else {
                buffer.append(markup, i, end - i);
            }
            i = end;
            continue;
        }
        const bool delimiter = afterCommand(i, "\\left") || afterCommand(i, "\\right");
        if (c == '(' && !delimiter)
            buffer += "\\left( ";
        else if (c == ')' && !delimiter)
            buffer += " \\right)";
        else
            buffer += c;
        ++i;
    }
    if (buffer.size() >= kMarkupLimit) {
        request.message = kOverlengthMessage;
        return request;
    }
    request.buffer = std::move(buffer);
    return request;
}

}  // namespace formula
