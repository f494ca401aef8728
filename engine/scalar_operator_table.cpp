#include "scalar_operator_table.h"

#include <array>

#include "integer_operators.h"
#include "scalar_arithmetic.h"
#include "scalar_functions.h"

namespace {

struct Entry {
    std::string_view name;
    ScalarOperation operation;
};

// "not", "cpl", "iroot" and "iexp" are reached only by name (RPN mode): the tokenizer does not
// accept them as words.
constexpr std::array<Entry, 50> kTable = {{
    {"%", scalar_ops::percent},      {"+", scalar_ops::add},  {"*", scalar_ops::multiply},
    {"-", scalar_ops::subtract}, {"/", scalar_ops::divide}, {"sin", scalar_ops::sine},
    {"asin", scalar_ops::arcSine},   {"acos", scalar_ops::arcCosine},   {"cos", scalar_ops::cosine},
    {"tan", scalar_ops::tangent},    {"atan", scalar_ops::arcTangent},   {"ctan", scalar_ops::cotangent},
    {"acot", scalar_ops::arcCotangent},   {"sqrt", scalar_ops::squareRoot},   {"ln", scalar_ops::naturalLog},
    {"log", scalar_ops::decimalLog},    {"!", scalar_ops::factorial},      {"^", scalar_ops::power},
    {"exp", scalar_ops::exponential},    {"and", integer_ops::bitAnd},    {"or", integer_ops::bitOr},
    {"nand", integer_ops::bitNand},   {"nor", integer_ops::bitNor},    {"xor", integer_ops::bitXor},
    {"sinh", scalar_ops::hyperbolicSine},   {"asinh", scalar_ops::areaSine},  {"acosh", scalar_ops::areaCosine},
    {"atanh", scalar_ops::areaTangent},  {"acoth", scalar_ops::areaCotangent},  {"cosh", scalar_ops::hyperbolicCosine},
    {"tanh", scalar_ops::hyperbolicTangent},   {"ctanh", scalar_ops::hyperbolicCotangent},  {"sec", scalar_ops::secant},
    {"csc", scalar_ops::cosecant},    {"sech", scalar_ops::hyperbolicSecant},   {"csch", scalar_ops::hyperbolicCosecant},
    {"asec", scalar_ops::arcSecant},   {"acsc", scalar_ops::arcCosecant},   {"asech", scalar_ops::areaSecant},
    {"acsch", scalar_ops::areaCosecant},  {"root", scalar_ops::root},   {"mod", integer_ops::modulo},
    {"shl", integer_ops::shiftLeft},    {"shr", integer_ops::shiftRight},    {"rtl", integer_ops::rotateLeft},
    {"rtr", integer_ops::rotateRight},    {"not", integer_ops::bitNot},    {"cpl", integer_ops::complement},
    {"iroot", scalar_ops::inverseRoot},  {"iexp", scalar_ops::tenPower},
}};

}  // namespace

ScalarOperation findScalarOperation(std::string_view name)
{
    // Numbers are most tokens of a long text; no operator starts with a digit or a point.
    if (!name.empty() && ((name[0] >= '0' && name[0] <= '9') || name[0] == '.'))
        return nullptr;
    for (const Entry& entry : kTable) {
        if (entry.name == name)
            return entry.operation;
    }
    return nullptr;
}
