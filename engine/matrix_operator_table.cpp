#include "matrix_operator_table.h"

#include <array>

namespace {

// Stands for an operation that this build does not provide: a clear error, never a made-up value.
void unavailable(MatrixStack&, std::size_t, OperatorContext& context)
{
    context.raise(ErrorCode::kSyntax);
}

struct Entry {
    std::string_view name;
    MatrixOperation operation;
};

constexpr std::array<Entry, 13> kTable = {{
    {"+", unavailable},    {"-", unavailable},    {"*", unavailable},  {"/", unavailable},
    {"inv", unavailable},  {"trans", unavailable}, {"det", unavailable}, {"eigl", unavailable},
    {"eigv", unavailable}, {"rank", unavailable}, {"diag", unavailable}, {"orth", unavailable},
    {"tri", unavailable},
}};

}  // namespace

MatrixOperation findMatrixOperation(std::string_view name)
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
