#pragma once

#include <cstdint>
#include <optional>

#include "operator_context.h"

// The base-mode operators of the scalar operator table. Values travel as doubles; each
// operator checks that its operands are real (else "Complex's not been supported") and whole
// numbers of its integer width (else "Invalid type error"), computes on integers and returns
// a double with imaginary part 0.
namespace integer_ops {

// The integer a double stands for, when it is exactly a whole number within the signed
// 32-bit or 64-bit range; NaN and out-of-range values are not integers.
std::optional<std::int32_t> asInt32(double x);
std::optional<std::int64_t> asInt64(double x);

// Bitwise and two's complement of x within the word size (8, 16 or 32 bits, as an unsigned
// value). A 64-bit word has no complement in this calculator: both give 0.
double bitwiseNot(std::int64_t x, int wordSize);
double twosComplement(std::int64_t x, int wordSize);

// Signed 32-bit "and", "or", "xor"; the result keeps its sign.
void bitAnd(ScalarStack& stack, std::size_t base, OperatorContext& context);
void bitOr(ScalarStack& stack, std::size_t base, OperatorContext& context);
void bitXor(ScalarStack& stack, std::size_t base, OperatorContext& context);
// NOT of the and / or, masked to the word size; 0 for a 64-bit word, like "not".
void bitNand(ScalarStack& stack, std::size_t base, OperatorContext& context);
void bitNor(ScalarStack& stack, std::size_t base, OperatorContext& context);
// abs(a) modulo abs(b); b = 0 raises "Division error".
void modulo(ScalarStack& stack, std::size_t base, OperatorContext& context);
// The masked left operand shifted by the low 8 bits of the right one; 32 or more gives 0,
// as does a 64-bit word.
void shiftLeft(ScalarStack& stack, std::size_t base, OperatorContext& context);
void shiftRight(ScalarStack& stack, std::size_t base, OperatorContext& context);
// The masked left operand rotated within the word size: b times for b > 0, once for b < 0,
// not at all for b = 0; 0 for a 64-bit word.
void rotateLeft(ScalarStack& stack, std::size_t base, OperatorContext& context);
void rotateRight(ScalarStack& stack, std::size_t base, OperatorContext& context);
// Unary "not" and "cpl" (reached by name from the RPN mode).
void bitNot(ScalarStack& stack, std::size_t base, OperatorContext& context);
void complement(ScalarStack& stack, std::size_t base, OperatorContext& context);

}  // namespace integer_ops
