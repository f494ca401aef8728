#include "matrix_literal.h"
#include "tokenizer.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "ascii.h"
#include "radix_text.h"
#include "text_split.h"
#include "variable_slots.h"

namespace {

// The upper-case names the tokenizer accepts besides numbers, slot names and the bound
// variable. "ACTAN" and the second "INV" are kept: they are part of the accepted vocabulary.
constexpr std::array<std::string_view, 60> kWords = {
    "SQRT", "SIN",  "COS",   "TAN",   "LOG",   "LN",    "CTAN", "ASIN",  "ACOS",  "ATAN",  "ACTAN", "AND",
    "NAND", "OR",   "NOR",   "XOR",   "EXP",   "SINH",  "COSH", "TANH",  "CTANH", "SEC",   "CSC",   "SECH",
    "CSCH", "ACOT", "ASINH", "ACOSH", "ATANH", "ACOTH", "ASEC", "ACSC",  "ASECH", "ACSCH", "INV",   "TRANS",
    "DET",  "ROOT", "RANK",  "EIGL",  "EIGV",  "DIAG",  "ORTH", "TRI",   "MOD",   "SHL",   "SHR",   "RTL",
    "RTR",  "INV",  "CPL",   "ABS",   "SIGN",  "FLOOR", "CEIL", "ROUND", "TRUNC", "GAMMA", "CBRT",  "LOG2",
};

struct ClassEntry {
    std::string_view token;
    OperatorClass operatorClass;
};

constexpr auto kClasses = [] {
    using enum OperatorClass;
    return std::to_array<ClassEntry>({
        {"(", Grouping},       {")", Grouping},      {"and", Bitwise},     {"or", Bitwise},      {"nand", Bitwise},
        {"nor", Bitwise},      {"xor", Bitwise},     {"+", Additive},      {"-", Additive},      {"mod", ModuloShift},
        {"shl", ModuloShift},  {"shr", ModuloShift}, {"rtl", ModuloShift}, {"rtr", ModuloShift}, {"*", Multiplicative},
        {"/", Multiplicative}, {"^", Power},         {"root", Power},      {"!", Power},         {"%", Power},
        {"sin", Function},     {"cos", Function},    {"tan", Function},    {"ctan", Function},   {"asin", Function},
        {"acos", Function},    {"atan", Function},   {"ln", Function},     {"log", Function},    {"exp", Function},
        {"sqrt", Function},    {"sinh", Function},   {"cosh", Function},   {"tanh", Function},   {"ctanh", Function},
        {"sec", Function},     {"csc", Function},    {"sech", Function},   {"csch", Function},   {"acot", Function},
        {"asinh", Function},   {"acosh", Function},  {"atanh", Function},  {"acoth", Function},  {"asec", Function},
        {"acsc", Function},    {"asech", Function},  {"acsch", Function},  {"inv", Function},    {"trans", Function},
        {"det", Function},     {"rank", Function},   {"eigl", Function},   {"eigv", Function},   {"diag", Function},
        {"orth", Function},    {"tri", Function},    {"abs", Function},    {"sign", Function},   {"floor", Function},
        {"ceil", Function},    {"round", Function},  {"trunc", Function},  {"gamma", Function},  {"cbrt", Function},
        {"log2", Function},
    });
}();

bool isOperatorChar(char c)
{
    switch (c) {
    case '(':
    case ')':
    case '+':
    case '-':
    case '*':
    case '/':
    case '^':
    case '!':
    case '%': return true;
    default: return false;
    }
}

bool isKnownName(std::string_view upperWord, std::string_view upperBound)
{
    for (std::string_view word : kWords) {
        if (word == upperWord)
            return true;
    }
    if (VariableSlots::find(upperWord) >= 0)
        return true;
    return !upperBound.empty() && upperWord == upperBound;
}

// Numbers such as "2.5", "1E5" and the constants "PI", "E" and "I" pass as they stand;
// whether they convert is the evaluator's concern.
bool looksNumeric(std::string_view word)
{
    for (char c : word) {
        if (!ascii::isDigit(c) && c != '.' && c != 'E' && c != 'P' && c != 'I')
            return false;
    }
    return true;
}

void appendToken(std::string& out, std::string_view token)
{
    out.append(token);
    out.push_back(' ');
}

// Appends the tokens of text: each operator character, and each word (a run of word characters
// that starts at a letter or digit) as readWord gives it. Any other character is passed over
// if skippable, otherwise it refuses the text, as does a word readWord refuses.
template <typename WordChar, typename Skippable, typename ReadWord>
bool tokenizeWords(std::string_view text, WordChar isWordChar, Skippable isSkippable, ReadWord readWord,
                   std::string& out)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        // A matrix literal is one operand; its elements are read when it is evaluated.
        if (const std::size_t literalEnd = c == '[' ? matrix_literal::end(text, i) : std::string_view::npos;
            literalEnd != std::string_view::npos) {
            std::string literal;
            for (char k : text.substr(i, literalEnd - i)) {
                if (k != ' ')
                    literal.push_back(k);
            }
            appendToken(out, literal);
            i = literalEnd;
            continue;
        }
        if (!ascii::isAlnum(c)) {
            if (isOperatorChar(c))
                appendToken(out, text.substr(i, 1));
            else if (!isSkippable(c))
                return false;
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && isWordChar(text[end]))
            ++end;
        if (!readWord(text.substr(i, end - i)))
            return false;
        i = end;
    }
    return true;
}

// Where the tokenizer notes the first word it refuses that begins with a letter, as the
// original text spells it; words are read from the upper-case copy, which keeps every position.
class UnknownNameNote {
public:
    UnknownNameNote(std::string_view original, std::string_view upper, std::string* name)
        : original_(original), upper_(upper), name_(name)
    {
    }

    void refused(std::string_view upperWord) const
    {
        if (name_ == nullptr || !name_->empty() || !ascii::isLetter(upperWord.front()))
            return;
        const auto at = static_cast<std::size_t>(upperWord.data() - upper_.data());
        name_->assign(original_.substr(at, upperWord.size()));
    }

private:
    std::string_view original_;
    std::string_view upper_;
    std::string* name_;
};

bool tokenizeDecimal(std::string_view text, std::string_view bound, const UnknownNameNote& note, std::string& out)
{
    const auto isWordChar = [](char c) { return ascii::isAlnum(c) || c == '.'; };
    const auto isSkippable = [](char c) { return c == '[' || c == ']' || c == '.' || c == ' '; };
    return tokenizeWords(
        text, isWordChar, isSkippable,
        [&](std::string_view word) {
            if (!looksNumeric(word) && !isKnownName(word, bound)) {
                note.refused(word);
                return false;
            }
            appendToken(out, word);
            return true;
        },
        out);
}

bool tokenizeInRadix(std::string_view text, int radix, std::string_view bound, const UnknownNameNote& note,
                     std::string& out)
{
    const auto isWordChar = [](char c) { return ascii::isAlnum(c); };
    // Everything but an operator is skipped here, the point included.
    const auto isSkippable = [](char) { return true; };
    return tokenizeWords(
        text, isWordChar, isSkippable,
        [&](std::string_view word) {
            const bool allDigits =
                std::all_of(word.begin(), word.end(), [radix](char c) { return isRadixDigit(c, radix); });
            if (allDigits) {
                // Later steps read decimal only; the value is shown as a signed 32-bit integer,
                // so hexadecimal FFFFFFFF becomes -1.
                const auto value = static_cast<std::int32_t>(parseInRadix(word, radix));
                appendToken(out, std::to_string(value));
            } else if (isKnownName(word, bound)) {
                appendToken(out, word);
            } else {
                note.refused(word);
                return false;
            }
            return true;
        },
        out);
}

// The last meaningful character must end an operand: "2+" and "." fail, "2)" and "5!" pass.
// A number may end in its point, as people write it: "5." and "(5.)" are 5 wherever they
// stand, not only where an operator follows them.
bool endsWithOperand(std::string_view text)
{
    std::size_t end = text.size();
    while (end > 0) {
        const char c = text[end - 1];
        if (c != ' ' && c != ')' && c != '!' && c != '%' && c != ']')
            break;
        --end;
    }
    if (end > 1 && text[end - 1] == '.' && ascii::isDigit(text[end - 2]))
        return true;
    return end > 0 && ascii::isAlnum(text[end - 1]);
}

}  // namespace

OperatorClass operatorClass(std::string_view token)
{
    if (startsAsNumber(token))
        return OperatorClass::Operand;
    for (const ClassEntry& entry : kClasses) {
        if (entry.token == token)
            return entry.operatorClass;
    }
    return OperatorClass::Operand;
}

bool isBinaryOperator(std::string_view token)
{
    const OperatorClass tokenClass = operatorClass(token);
    return tokenClass >= OperatorClass::Bitwise && tokenClass <= OperatorClass::Power && token != "!" && token != "%";
}

bool tokenizeExpression(std::string& text, int radix, std::string_view boundName, std::string* unknownName)
{
    // The words are read before the shape is judged, so that "abz(" names its unknown word.
    const std::string upperText = ascii::upper(text);
    const std::string upperBound = ascii::upper(boundName);
    const UnknownNameNote note(text, upperText, unknownName);
    std::string tokens;
    tokens.reserve(upperText.size() * 2);
    bool ok = true;
    if (radix == 10)
        ok = tokenizeDecimal(upperText, upperBound, note, tokens);
    else if (radix == 2 || radix == 8 || radix == 16)
        ok = tokenizeInRadix(upperText, radix, upperBound, note, tokens);
    else
        tokens = upperText + ' ';
    if (!ok || !endsWithOperand(text))
        return false;
    if (text.size() > 1 && text.find("--") != std::string::npos)
        return false;

    if (!tokens.empty())
        tokens.pop_back();
    text = ascii::lower(tokens);

    std::size_t opens = 0;
    std::size_t closes = 0;
    for (char c : text) {
        opens += c == '(';
        closes += c == ')';
    }
    return opens == closes;
}
