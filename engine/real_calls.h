#pragma once

#include <string_view>

class Engine;

// The real-number functions of the function-call table that take more than one argument.

// hypot(x, y): sqrt(x^2 + y^2) without overflow or underflow on the way (hypot(1e200, 1e200) is
// 1.414e200). Complex arguments raise -54.
double callHypot(Engine& engine, std::string_view arguments, int radix);
