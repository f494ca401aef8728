#include "value_cell.h"

void ValueCell::clear()
{
    *this = ValueCell{};
}

void ValueCell::storeMatrix(std::uint16_t rowCount, std::uint16_t colCount, const double* elements)
{
    clear();
    kind = ValueKind::Matrix;
    rows = rowCount;
    cols = colCount;
    const std::size_t count = static_cast<std::size_t>(rowCount) * colCount;
    data.assign(elements, elements + count);
}

void ValueCell::storeScalar(double real, double imaginary)
{
    clear();
    re = real;
    im = imaginary;
}

void ValueCell::storeComplex(double real, double imaginary)
{
    storeScalar(real, imaginary);
    kind = ValueKind::Complex;
}
