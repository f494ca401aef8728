#include "function_signatures.h"

#include <array>
#include <vector>

#include "ascii.h"
#include "key_codes.h"
#include "result_format.h"

namespace {

constexpr int kAny = -1;

// A callable name as it stands on the display line, what it expects, and how many arguments.
struct Signature {
    std::u16string_view name;
    std::u16string_view text;
    int fewest;
    int most;  // kAny: no limit
};

constexpr std::array<Signature, 62> kSignatures = {{
    {u"sin", u"sin(angle)", 1, 1},
    {u"cos", u"cos(angle)", 1, 1},
    {u"tan", u"tan(angle)", 1, 1},
    {u"csc", u"csc(angle)", 1, 1},
    {u"sec", u"sec(angle)", 1, 1},
    {u"sinh", u"sinh(x)", 1, 1},
    {u"cosh", u"cosh(x)", 1, 1},
    {u"tanh", u"tanh(x)", 1, 1},
    {u"asin", u"asin(x)", 1, 1},
    {u"acos", u"acos(x)", 1, 1},
    {u"atan", u"atan(x)", 1, 1},
    {u"acsc", u"acsc(x)", 1, 1},
    {u"asec", u"asec(x)", 1, 1},
    {u"asinh", u"asinh(x)", 1, 1},
    {u"acosh", u"acosh(x)", 1, 1},
    {u"atanh", u"atanh(x)", 1, 1},
    {u"log", u"log(x): logarithm to base 10", 1, 1},
    {u"ln", u"ln(x): natural logarithm", 1, 1},
    {u"log2", u"log2(x): logarithm to base 2", 1, 1},
    {u"abs", u"abs(x): absolute value, the modulus of a complex x", 1, 1},
    {u"sign", u"sign(x): -1, 0 or 1; x/|x| for a complex x", 1, 1},
    {u"floor", u"floor(x): the whole number at or below x", 1, 1},
    {u"ceil", u"ceil(x): the whole number at or above x", 1, 1},
    {u"round", u"round(x): the nearest whole number, halves away from 0", 1, 1},
    {u"trunc", u"trunc(x): x without its fraction", 1, 1},
    {u"gamma", u"gamma(x): the gamma function, (x-1)! for a whole x", 1, 1},
    {u"cbrt", u"cbrt(x): real cube root", 1, 1},
    {u"hypot", u"hypot(x, y): the square root of x\u00B2 + y\u00B2", 2, 2},
    {u"gcd", u"gcd(number1, number2, ...)", 2, kAny},
    {u"lcm", u"lcm(number1, number2, ...)", 2, kAny},
    {u"ran", u"ran(lower, upper): a random number between them", 2, 2},
    {u"fib", u"fib(n): the n-th Fibonacci number", 1, 1},
    {u"not", u"not(n): bitwise not in the word size", 1, 1},
    {u"cpl", u"cpl(n): two's complement in the word size", 1, 1},
    {u"ncr", u"ncr(n, k): combinations", 2, 2},
    {u"npr", u"npr(n, k): permutations", 2, 2},
    {u"det", u"det(matrix)", 1, 1},
    {u"inv", u"inv(matrix)", 1, 1},
    {u"eigv", u"eigv(matrix): eigenvectors", 1, 1},
    {u"eigl", u"eigl(matrix): eigenvalues", 1, 1},
    {u"orth", u"orth(matrix)", 1, 1},
    {u"rank", u"rank(matrix)", 1, 1},
    {u"trans", u"trans(matrix): transpose", 1, 1},
    {u"diag", u"diag(matrix)", 1, 1},
    {u"tri", u"tri(matrix): triangular form", 1, 1},
    {u"solve", u"solve(A, B): X with A\u00D7X = B", 2, 2},
    {u"syd", u"syd(cost, salvage, life, period)", 4, 4},
    {u"sln", u"sln(cost, salvage, life)", 3, 3},
    {u"fv", u"fv(rate, nper, pmt, pv, p/y, type=0)", 5, 6},
    {u"pv", u"pv(rate, nper, pmt, fv, p/y, type=0)", 5, 6},
    {u"nper", u"nper(rate, pmt, pv, fv, p/y, type=0)", 5, 6},
    {u"pmt", u"pmt(rate, nper, pv, fv, p/y, type=0)", 5, 6},
    {u"rate", u"rate(nper, pmt, pv, fv, p/y, type=0)", 5, 6},
    {u"db", u"db(cost, salvage, life, period, month=12)", 4, 5},
    {u"fnRoot", u"fnRoot(expression, variable, lower, upper)", 4, 4},
    {u"fnInt", u"fnInt(expression, variable, lower, upper)", 4, 4},
    {u"fnDeriv", u"fnDeriv(expression, variable, value)", 3, 3},
    {u"fnEval", u"fnEval(expression, variable, value)", 3, 3},
    {u"fnProduct", u"fnProduct(expression, variable, start, end, step=1)", 4, 5},
    {u"fnSum", u"fnSum(expression, variable, start, end, step=1)", 4, 5},
    // The root sign takes its index from before it: "3\u221A(8)".
    {u"\u221A", u"index\u221A(x): the index-th root of x", 1, 1},
    {u"RT", u"RT(index, x)", 2, 2},
}};

// The calculus keys insert signs that stand for the engine's names.
struct SignName {
    char16_t sign;
    std::u16string_view name;
};
constexpr std::array<SignName, 5> kCalculusSigns = {{
    {u'\u222B', u"fnInt"},
    {u'\u03B4', u"fnDeriv"},
    {u'\u0192', u"fnEval"},
    {u'\u220F', u"fnProduct"},
    {u'\u2211', u"fnSum"},
}};

// Keys that are not calls, and what they do.
struct KeyNote {
    int code;
    std::u16string_view text;
};
constexpr std::array<KeyNote, 42> kKeyNotes = {{
    {KeyCode::kAnswer, u"[ans]: the last answer"},
    {25, u"i: the imaginary unit"},
    {27, u"exp: exponent of ten (1.5exp3 = 1500)"},
    {KeyCode::kPower, u"x^y: power"},
    {31, u"x\u00B2: square"},
    {32, u"x\u00B3: cube"},
    {KeyCode::kFactorial, u"n!: factorial"},
    {34, u"x: the variable of calculus functions and macros"},
    {37, u"a mod b: remainder"},
    {KeyCode::kTenToThePower, u"10^x"},
    {39, u"e^x"},
    {40, u"index\u221A(x): the index-th root of x"},
    {KeyCode::kSquareRoot, u"\u221A(x): square root"},
    {KeyCode::kCubeRoot, u"\u221B(x): cube root"},
    {KeyCode::kPercent, u"x%: x divided by 100"},
    {KeyCode::kOpenParenthesis, u"(: opens a bracket"},
    {KeyCode::kAngleCycle, u"DRG: next angle unit"},
    {KeyCode::kPi, u"pi"},
    {KeyCode::kRadixCycle, u"RDX: next radix"},
    {69, u"a and b: bitwise and"},
    {70, u"a or b: bitwise or"},
    {71, u"a xor b: bitwise exclusive or"},
    {78, u"a nand b: bitwise not and"},
    {79, u"a nor b: bitwise not or"},
    {80, u"a shl n: shift left"},
    {81, u"a shr n: shift right"},
    {82, u"a rtl n: rotate left"},
    {83, u"a rtr n: rotate right"},
    {86, u"N(X): count of the statistics data"},
    {88, u"sum(X): sum of the data"},
    {89, u"sdv(X): population standard deviation"},
    {90, u"avg(X): mean of the data"},
    {91, u"avd(X): mean absolute deviation"},
    {92, u"dsq(X): sum of squared deviations"},
    {93, u"min(X): smallest value"},
    {95, u"ssq(X): sum of squares"},
    {96, u"ssd(X): sample standard deviation"},
    {97, u"median(X)"},
    {98, u"md(X): mode, the most frequent value"},
    {99, u"gm(X): geometric mean"},
    {100, u"max(X): largest value"},
    {KeyCode::kReciprocal, u"1/x: reciprocal"},
}};

const Signature* signatureNamed(std::u16string_view name)
{
    for (const SignName& sign : kCalculusSigns) {
        if (name.size() == 1 && name.front() == sign.sign)
            name = sign.name;
    }
    for (const Signature& signature : kSignatures) {
        if (signature.name == name)
            return &signature;
    }
    return nullptr;
}

// The arguments of the call whose "(" stands at open, split at commas outside parentheses; the
// line's end closes an unclosed call.
std::vector<std::u16string_view> argumentsAt(std::u16string_view text, std::size_t open)
{
    std::vector<std::u16string_view> arguments;
    int depth = 0;
    std::size_t start = open + 1;
    std::size_t i = start;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'(') {
            ++depth;
        } else if (c == u')') {
            if (depth == 0)
                break;
            --depth;
        } else if (c == u',' && depth == 0) {
            arguments.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    arguments.push_back(text.substr(start, i - start));
    return arguments;
}

bool isBlankText(std::u16string_view text)
{
    for (char16_t c : text) {
        if (c != u' ')
            return false;
    }
    return true;
}

}  // namespace

std::optional<std::u16string> keyTooltip(int code)
{
    for (const KeyNote& note : kKeyNotes) {
        if (note.code == code)
            return std::u16string(note.text);
    }
    const std::vector<std::u16string_view> tokens = insertedTokens(code, OutputFormat::UnitedStates);
    if (tokens.size() != 1 || tokens.front().size() < 2 || tokens.front().back() != u'(')
        return std::nullopt;
    const std::u16string_view name = tokens.front().substr(0, tokens.front().size() - 1);
    if (const Signature* signature = signatureNamed(name))
        return std::u16string(signature->text);
    return std::nullopt;
}

std::u16string callHint(std::u16string_view text)
{
    for (std::size_t open = text.find(u'('); open != std::u16string_view::npos; open = text.find(u'(', open + 1)) {
        std::size_t start = open;
        while (start > 0 && ascii::isLetter(text[start - 1]))
            --start;
        // A calculus or root sign stands alone before its "(".
        if (start == open && open > 0)
            --start;
        const Signature* signature = signatureNamed(text.substr(start, open - start));
        if (!signature)
            continue;
        const std::vector<std::u16string_view> arguments = argumentsAt(text, open);
        const int count = static_cast<int>(arguments.size());
        bool empty = false;
        for (std::u16string_view argument : arguments)
            empty = empty || isBlankText(argument);
        if (empty || count < signature->fewest || (signature->most != kAny && count > signature->most)) {
            // The call alone, without the description after it.
            const std::u16string_view call = signature->text.substr(0, signature->text.find(u": "));
            return std::u16string(call);
        }
    }
    return {};
}
