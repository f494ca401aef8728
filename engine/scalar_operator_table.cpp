#include "scalar_operator_table.h"

#include <array>

#include "integer_operators.h"
#include "scalar_arithmetic.h"
#include "scalar_functions.h"
#include "text_split.h"

namespace {

struct Entry {
    std::string_view name;
    ScalarOperation operation;
    int arity;
};

// "not", "cpl", "iroot" and "iexp" are reached only by name (RPN mode): the tokenizer does not
// accept them as words. "-" has arity 2 and acts as negation when only one operand is there.
constexpr std::array<Entry, 59> kTable = {{
    {"%", scalar_ops::percent, 1},
    {"+", scalar_ops::add, 2},
    {"*", scalar_ops::multiply, 2},
    {"-", scalar_ops::subtract, 2},
    {"/", scalar_ops::divide, 2},
    {"sin", scalar_ops::sine, 1},
    {"asin", scalar_ops::arcSine, 1},
    {"acos", scalar_ops::arcCosine, 1},
    {"cos", scalar_ops::cosine, 1},
    {"tan", scalar_ops::tangent, 1},
    {"atan", scalar_ops::arcTangent, 1},
    {"ctan", scalar_ops::cotangent, 1},
    {"acot", scalar_ops::arcCotangent, 1},
    {"sqrt", scalar_ops::squareRoot, 1},
    {"ln", scalar_ops::naturalLog, 1},
    {"log", scalar_ops::decimalLog, 1},
    {"!", scalar_ops::factorial, 1},
    {"^", scalar_ops::power, 2},
    {"exp", scalar_ops::exponential, 1},
    {"and", integer_ops::bitAnd, 2},
    {"or", integer_ops::bitOr, 2},
    {"nand", integer_ops::bitNand, 2},
    {"nor", integer_ops::bitNor, 2},
    {"xor", integer_ops::bitXor, 2},
    {"sinh", scalar_ops::hyperbolicSine, 1},
    {"asinh", scalar_ops::areaSine, 1},
    {"acosh", scalar_ops::areaCosine, 1},
    {"atanh", scalar_ops::areaTangent, 1},
    {"acoth", scalar_ops::areaCotangent, 1},
    {"cosh", scalar_ops::hyperbolicCosine, 1},
    {"tanh", scalar_ops::hyperbolicTangent, 1},
    {"ctanh", scalar_ops::hyperbolicCotangent, 1},
    {"sec", scalar_ops::secant, 1},
    {"csc", scalar_ops::cosecant, 1},
    {"sech", scalar_ops::hyperbolicSecant, 1},
    {"csch", scalar_ops::hyperbolicCosecant, 1},
    {"asec", scalar_ops::arcSecant, 1},
    {"acsc", scalar_ops::arcCosecant, 1},
    {"asech", scalar_ops::areaSecant, 1},
    {"acsch", scalar_ops::areaCosecant, 1},
    {"root", scalar_ops::root, 2},
    {"mod", integer_ops::modulo, 2},
    {"shl", integer_ops::shiftLeft, 2},
    {"shr", integer_ops::shiftRight, 2},
    {"rtl", integer_ops::rotateLeft, 2},
    {"rtr", integer_ops::rotateRight, 2},
    {"not", integer_ops::bitNot, 1},
    {"cpl", integer_ops::complement, 1},
    {"iroot", scalar_ops::inverseRoot, 2},
    {"iexp", scalar_ops::tenPower, 2},
    {"abs", scalar_ops::absoluteValue, 1},
    {"sign", scalar_ops::sign, 1},
    {"floor", scalar_ops::floor, 1},
    {"ceil", scalar_ops::ceiling, 1},
    {"round", scalar_ops::roundHalfAway, 1},
    {"trunc", scalar_ops::truncate, 1},
    {"gamma", scalar_ops::gamma, 1},
    {"cbrt", scalar_ops::cubeRoot, 1},
    {"log2", scalar_ops::binaryLog, 1},
}};

}  // namespace

ScalarOperator findScalarOperator(std::string_view name)
{
    if (startsAsNumber(name))
        return {};
    for (const Entry& entry : kTable) {
        if (entry.name == name)
            return {entry.operation, entry.arity};
    }
    return {};
}

ScalarOperation findScalarOperation(std::string_view name)
{
    return findScalarOperator(name).operation;
}
