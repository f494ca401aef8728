#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Value of digits written in radix 2, 8, 10 or 16 (upper-case letters), accumulated as an
// unsigned 32-bit value the way the calculator always has: each step wraps modulo 2^32.
// An empty text or another radix gives 0; callers check the digits first.
std::uint32_t parseInRadix(std::string_view digits, int radix);

// True when c is a digit of the radix ("0"-"1", "0"-"7", "0"-"9", "0"-"9" and "A"-"F").
bool isRadixDigit(char c, int radix);

// Rewrites every number of a base-mode text: each run of letters and digits that starts with
// a digit of fromRadix is parsed in fromRadix, masked to the word size (8 and 16 bits; 32 and
// 64 keep all 32 bits) and written in toRadix (2 to 36) as a signed 32-bit value, in upper
// case. Blanks next to "*", "+", "-" or "/" are dropped unless they open or close the text.
// Returns nothing when the result would be empty or toRadix is unusable; the caller raises
// "Radix conversion error".
std::optional<std::string> convertRadixText(std::string_view text, int fromRadix, int toRadix, int wordSize);
