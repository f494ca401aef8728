#pragma once

#include <string_view>

class Engine;

// 'not(x)' and 'cpl(x)' of the algebraic input: x is evaluated in the current radix (calls
// inside it expanded first) and must be a real whole number within the signed 64-bit range.
// The value is the complement within the engine's word size; failures raise the engine error.
double callNot(Engine& engine, std::string_view arguments, int radix);
double callCpl(Engine& engine, std::string_view arguments, int radix);
