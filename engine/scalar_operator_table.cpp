#include "scalar_operator_table.h"

#include <array>

#include "scalar_arithmetic.h"

namespace {

// Stands for an operation that this build does not provide: a clear error, never a made-up value.
void unavailable(ScalarStack&, std::size_t, OperatorContext& context)
{
    context.raise(ErrorCode::kSyntax);
}

struct Entry {
    std::string_view name;
    ScalarOperation operation;
};

// "not", "cpl", "iroot" and "iexp" are reached only by name (RPN mode): the tokenizer does not
// accept them as words.
constexpr std::array<Entry, 50> kTable = {{
    {"%", unavailable},      {"+", scalar_ops::add},  {"*", scalar_ops::multiply},
    {"-", scalar_ops::subtract}, {"/", scalar_ops::divide}, {"sin", unavailable},
    {"asin", unavailable},   {"acos", unavailable},   {"cos", unavailable},
    {"tan", unavailable},    {"atan", unavailable},   {"ctan", unavailable},
    {"acot", unavailable},   {"sqrt", unavailable},   {"ln", unavailable},
    {"log", unavailable},    {"!", unavailable},      {"^", unavailable},
    {"exp", unavailable},    {"and", unavailable},    {"or", unavailable},
    {"nand", unavailable},   {"nor", unavailable},    {"xor", unavailable},
    {"sinh", unavailable},   {"asinh", unavailable},  {"acosh", unavailable},
    {"atanh", unavailable},  {"acoth", unavailable},  {"cosh", unavailable},
    {"tanh", unavailable},   {"ctanh", unavailable},  {"sec", unavailable},
    {"csc", unavailable},    {"sech", unavailable},   {"csch", unavailable},
    {"asec", unavailable},   {"acsc", unavailable},   {"asech", unavailable},
    {"acsch", unavailable},  {"root", unavailable},   {"mod", unavailable},
    {"shl", unavailable},    {"shr", unavailable},    {"rtl", unavailable},
    {"rtr", unavailable},    {"not", unavailable},    {"cpl", unavailable},
    {"iroot", unavailable},  {"iexp", unavailable},
}};

}  // namespace

ScalarOperation findScalarOperation(std::string_view name)
{
    for (const Entry& entry : kTable) {
        if (entry.name == name)
            return entry.operation;
    }
    return nullptr;
}
