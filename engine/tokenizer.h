#pragma once

#include <string>
#include <string_view>

// Precedence class of a token (a higher class binds tighter): 0 grouping, 1 bitwise operators,
// 2 "+" "-", 3 "mod" and the shifts, 4 "*" "/", 5 "^" "root" "!" "%", 6 prefix functions,
// 7 operands. The token is compared exactly, in lower case.
int operatorClass(std::string_view token);

// True for the binary operators of classes 1 to 5.
bool isBinaryOperator(std::string_view token);

// Replaces an engine text by its token text: lower-case tokens joined by single blanks, numbers
// of radix 2, 8 and 16 rewritten in decimal. boundName (any case, may be empty) is accepted as
// an operand. Returns false when the text cannot be tokenized; the text is then unspecified.
bool tokenizeExpression(std::string& text, int radix, std::string_view boundName);

// Replaces a token text by its postfix text: the tokens in evaluation order, each followed by a
// blank. "(" and ")" stay in the output as group markers. Returns false on a misplaced operator
// (two binary operators in a row, as in "2*-3") or an unmatched ")".
bool toPostfix(std::string& text);
