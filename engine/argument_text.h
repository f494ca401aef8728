#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

// Helpers for the parenthesised argument lists of function calls.
namespace args {

constexpr std::size_t npos = std::string_view::npos;

// Position of the ")" that closes the "(" at `open`, counting nesting; npos when none does.
std::size_t matchingParenthesis(std::string_view text, std::size_t open);

// Position of the first "," outside parentheses; npos when there is none.
std::size_t firstTopLevelComma(std::string_view text);

// The argument texts separated by top-level commas ("a,(b,c),d" gives three).
std::vector<std::string_view> split(std::string_view text);

}  // namespace args
