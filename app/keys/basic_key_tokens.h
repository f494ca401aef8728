#pragma once

#include <optional>
#include <string_view>

// The token the basic modes feed for a single-token key: digits and hex letters, the four
// operators, "(" and ")", the decimal point "..", the sign, functions, logic operators and pi.
// Composite keys (reciprocal, powers, roots) and memory keys are built by the display itself.
std::optional<std::string_view> basicKeyToken(int code);
