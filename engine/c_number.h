#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Number text in the C locale, whatever the user's locale says.
namespace cnum {

// Reads the longest number at the start of text the way C's strtod does in the "C" locale
// (optional sign, digits, point, exponent; no hexadecimal floats). Returns how many
// characters were used, 0 when none; a value beyond the double range reads as infinity.
std::size_t parsePrefix(std::string_view text, double& value);

// printf("%.Nf", x): fixed notation with `decimals` digits after the point.
std::string fixed(double x, int decimals);

// printf("%.Ne", x): scientific notation with `decimals` digits after the point.
std::string scientific(double x, int decimals);

// printf("%.17g", x): the shortest round-trip text for scripts.
std::string general17(double x);

// The shortest text that parsePrefix reads back as exactly x, in the form the engine's
// expressions accept as one number: plain decimals below 1e16 ("0.000000001", "-2.5",
// "0.000000000000000001"), and an exponent without its sign beyond ("1.5e300"), since a "-"
// or "+" would be read as an operator.
std::string exactDecimal(double x);

}  // namespace cnum
