#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

// A matrix written inside an expression: "[1,2;3,4]", rows parted by ";" and the elements of a
// row by ","; each element is a scalar expression ("[sqrt(2),-1]"). "[VA]" names a slot instead.
namespace matrix_literal {

constexpr std::size_t kMaxSide = 30;

// Where the literal that opens with the "[" at text[at] ends (one past its "]"), or npos when
// that "[" opens no literal: it names a slot, or is never closed.
std::size_t end(std::string_view text, std::size_t at);

// The element texts of a literal ("[1,2;3,4]"), row by row; nullopt when a row is empty, the rows
// differ in length, or a side is longer than kMaxSide.
std::optional<std::vector<std::vector<std::string_view>>> cells(std::string_view literal);

}  // namespace matrix_literal
