#pragma once

#include <string>
#include <string_view>

// The number texts of the data files (matrix.dat, statistics.dat) and of their list windows.
namespace storedNumber {

// The text a data file keeps for value, which reads back (with atofRule) to the same double:
// "%.0f" for a whole number of at most 2^53 in magnitude ("3", "-12"), otherwise the shortest
// text that reads back exactly ("0.1", "1.23456789012345", "6.02214076e-23", "1e+300").
// Infinities are written "1e999" and "-1e999", which read back as infinities; a NaN, which no
// number text stands for, is written "0".
std::string fileText(double value);

// The text a list cell shows: "%.0f" for a whole number, else "%.8f" with trailing zeros and
// then a trailing point removed. Never "-0": a negative value too small for eight decimals, or
// a negative zero, shows "0".
std::string cellText(double value);

// C's atof in the C locale: leading white space skipped, the longest number read, 0 when there
// is none.
double atofRule(std::string_view text);

// True for the characters C's isspace takes in the C locale.
constexpr bool isCSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

}  // namespace storedNumber
