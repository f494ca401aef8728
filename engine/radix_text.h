#pragma once

#include <cstdint>
#include <string_view>

// Value of digits written in radix 2, 8, 10 or 16 (upper-case letters), accumulated as an
// unsigned 32-bit value the way the calculator always has: each step wraps modulo 2^32.
// An empty text or another radix gives 0; callers check the digits first.
std::uint32_t ParseInRadix(std::string_view digits, int radix);

// True when c is a digit of the radix ("0"-"1", "0"-"7", "0"-"9", "0"-"9" and "A"-"F").
bool isRadixDigit(char c, int radix);
