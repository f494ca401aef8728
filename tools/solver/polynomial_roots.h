#pragma once

#include <complex>
#include <vector>

// The roots of a polynomial with real coefficients, highest power first: {1, 0, -1} is
// x^2 - 1. Leading zeros lower the degree; a polynomial of degree 0 (or none) has no roots.
// Real roots come first, largest first, then complex pairs with the positive imaginary part
// before its conjugate. Roots whose imaginary part is lost in rounding are real, and complex
// roots come in exact conjugate pairs.
std::vector<std::complex<double>> polynomialRoots(std::vector<double> coefficients);
