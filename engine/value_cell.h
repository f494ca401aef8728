#pragma once

#include <cstdint>
#include <vector>

#include "calc_value.h"

// Kinds keep the numbers that stored files and the front end use.
enum class ValueKind : std::uint8_t { Real = 0, Matrix = 1, Complex = 2 };

// A stored value: a variable slot, a cell of the matrix stack, or a top-level result.
// Copies are deep: a copied matrix owns its own elements.
class ValueCell {
public:
    ValueKind kind = ValueKind::Real;
    double re = 0.0;
    double im = 0.0;
    std::uint16_t rows = 0;
    std::uint16_t cols = 0;
    std::vector<double> data;  // row-major: element (i, j) at i * cols + j

    // Back to the cleared state: kind real, value 0, no elements.
    void clear();
    // Replaces the content by a rows x cols matrix; elements must hold rows * cols values.
    void storeMatrix(std::uint16_t rowCount, std::uint16_t colCount, const double* elements);
    // Replaces the content by a scalar. The kind is real; callers that keep complex values
    // set it with storeComplex.
    void storeScalar(double real, double imaginary = 0.0);
    // Stores a scalar as kind complex (the front end keeps its last answer this way).
    void storeComplex(double real, double imaginary);

    bool isMatrix() const { return kind == ValueKind::Matrix; }
    CalcValue scalar() const { return {re, im}; }
    double at(std::size_t row, std::size_t col) const { return data[row * cols + col]; }
};
