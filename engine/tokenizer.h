#pragma once

#include <string>
#include <string_view>

// Precedence class of a token, in order: a later class binds tighter.
enum class OperatorClass {
    Grouping,        // "(" ")"
    Bitwise,         // "and" "or" "nand" "nor" "xor"
    Additive,        // "+" "-"
    ModuloShift,     // "mod" "shl" "shr" "rtl" "rtr"
    Multiplicative,  // "*" "/"
    Power,           // "^" "root", and the postfix "!" "%"
    Function,        // the prefix functions: "sin", "ln", "det", ...
    Operand,         // numbers, names and anything else
};

// The class of a token, compared exactly, in lower case.
OperatorClass operatorClass(std::string_view token);

// True for the binary operators: the classes from Bitwise to Power, but for "!" and "%".
bool isBinaryOperator(std::string_view token);

// Replaces an engine text by its token text: lower-case tokens joined by single blanks, numbers
// of radix 2, 8 and 16 rewritten in decimal. boundName (any case, may be empty) is accepted as
// an operand. Returns false when the text cannot be tokenized; the text is then unspecified.
// unknownName, when given, then receives the first word that begins with a letter and names
// nothing the engine knows, as written ("abz" in "2*abz(3)"); it is left alone otherwise.
bool tokenizeExpression(std::string& text, int radix, std::string_view boundName, std::string* unknownName = nullptr);

// Replaces a token text by its postfix text: the tokens in evaluation order, each followed by a
// blank. "(" and ")" stay in the output as group markers. Returns false on a misplaced operator
// (two binary operators in a row, as in "2*-3") or an unmatched ")".
bool toPostfix(std::string& text);
