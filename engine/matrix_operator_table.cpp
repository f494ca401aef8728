#include "matrix_operator_table.h"

#include <array>

#include "matrix_operations.h"
#include "text_split.h"

namespace {

struct Entry {
    std::string_view name;
    MatrixOperation operation;
};

constexpr std::array<Entry, 13> kTable = {{
    {"+", matrix_ops::add},
    {"-", matrix_ops::subtract},
    {"*", matrix_ops::multiply},
    {"/", matrix_ops::divide},
    {"inv", matrix_ops::invert},
    {"trans", matrix_ops::transpose},
    {"det", matrix_ops::determinant},
    {"eigl", matrix_ops::eigenvalues},
    {"eigv", matrix_ops::eigenvectors},
    {"rank", matrix_ops::rank},
    {"diag", matrix_ops::diagonalForm},
    {"orth", matrix_ops::orthonormalize},
    {"tri", matrix_ops::triangularize},
}};

}  // namespace

MatrixOperation findMatrixOperation(std::string_view name)
{
    if (startsAsNumber(name))
        return nullptr;
    for (const Entry& entry : kTable) {
        if (entry.name == name)
            return entry.operation;
    }
    return nullptr;
}
