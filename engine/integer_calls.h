#pragma once

#include <string_view>

class Engine;

// The integer and counting functions of the function-call table. Arguments are read in radix
// 10; "integer" means a whole number within the signed 32-bit range.

// gcd(a, b, ...): greatest common divisor of the absolute values; non-integers raise -11.
double callGcd(Engine& engine, std::string_view arguments, int radix);
// lcm(a, b, ...): L / gcd(L, b) x b folded left to right in exact whole numbers, then the
// nearest double; 0 when any argument is 0; non-integers raise -35.
double callLcm(Engine& engine, std::string_view arguments, int radix);
// module(dividend, divisor): the "mod" operator as a call, abs(a) mod abs(b); non-integers
// raise -53, a divisor 0 raises -5.
double callModule(Engine& engine, std::string_view arguments, int radix);
// fib(n) for 0 <= n <= 1476 (-53 for a negative or non-integer n, -7 above).
double callFib(Engine& engine, std::string_view arguments, int radix);
// ran(a, b): a number between a and b from the C generator seeded with the millisecond tick.
double callRan(Engine& engine, std::string_view arguments, int radix);
// npr(n, k) = n! / (n - k)! and ncr(n, k) = npr(n, k) / k! for 0 <= k <= n (both 1 for k = 0);
// non-integers raise -11, other k -50. Factorials above 170! are infinite, which the expansion
// reports.
double callNcr(Engine& engine, std::string_view arguments, int radix);
double callNpr(Engine& engine, std::string_view arguments, int radix);
