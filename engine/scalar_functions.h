#pragma once

#include "operator_context.h"
#include "real_circular.h"

// The scalar operator table's functions beyond "+ - * /": percent, factorial and gamma, powers
// and roots, logarithms, rounding and sign, and the circular and hyperbolic functions with their
// reciprocals and inverses.
// Each pops its operands from above `base`, pushes one result, or raises its error code and
// leaves the stack as it was (operator_context.h).
namespace scalar_ops {

// scalar_power_ops.cpp
void percent(ScalarStack& stack, std::size_t base, OperatorContext& context);
void factorial(ScalarStack& stack, std::size_t base, OperatorContext& context);
// Gamma(x) of a real x; the poles 0, -1, -2, ... are "Out of range", like n! beyond 170.
void gamma(ScalarStack& stack, std::size_t base, OperatorContext& context);
// a^b as the (1/b)-th root of a; "Out of range" when |b| ln|a| reaches 305; 0^0 is 1.
void power(ScalarStack& stack, std::size_t base, OperatorContext& context);
// "n root x": the n-th root of x. Records n, the left operand, as the last right operand.
void root(ScalarStack& stack, std::size_t base, OperatorContext& context);
// "x iroot n": the n-th root of x.
void inverseRoot(ScalarStack& stack, std::size_t base, OperatorContext& context);
// "a iexp b": a x 10^b.
void tenPower(ScalarStack& stack, std::size_t base, OperatorContext& context);
void squareRoot(ScalarStack& stack, std::size_t base, OperatorContext& context);
void exponential(ScalarStack& stack, std::size_t base, OperatorContext& context);
void naturalLog(ScalarStack& stack, std::size_t base, OperatorContext& context);
void decimalLog(ScalarStack& stack, std::size_t base, OperatorContext& context);
// The principal logarithm to base 2; 0 is "Out of range".
void binaryLog(ScalarStack& stack, std::size_t base, OperatorContext& context);
// The real cube root: cbrt(-8) is -2 (the root keys give the principal root 1 + 1.732i).
void cubeRoot(ScalarStack& stack, std::size_t base, OperatorContext& context);

// scalar_rounding_ops.cpp. The rounding functions take real numbers only, and give 0 for -0.
// |z|, also the modulus of a complex z.
void absoluteValue(ScalarStack& stack, std::size_t base, OperatorContext& context);
// -1, 0 or 1 for a real x; z / |z| for a complex z.
void sign(ScalarStack& stack, std::size_t base, OperatorContext& context);
void floor(ScalarStack& stack, std::size_t base, OperatorContext& context);
void ceiling(ScalarStack& stack, std::size_t base, OperatorContext& context);
// To the nearest whole number, halves away from zero: 2.5 gives 3, -2.5 gives -3.
void roundHalfAway(ScalarStack& stack, std::size_t base, OperatorContext& context);
// Towards zero: -2.7 gives -2.
void truncate(ScalarStack& stack, std::size_t base, OperatorContext& context);

// scalar_trig_ops.cpp. Circular functions read their argument in the angle mode and inverse
// circular functions give their result in it; a complex argument (or inverse result) switches
// the angle mode to radians for good.
void sine(ScalarStack& stack, std::size_t base, OperatorContext& context);
void cosine(ScalarStack& stack, std::size_t base, OperatorContext& context);
void tangent(ScalarStack& stack, std::size_t base, OperatorContext& context);
void cotangent(ScalarStack& stack, std::size_t base, OperatorContext& context);
void secant(ScalarStack& stack, std::size_t base, OperatorContext& context);
void cosecant(ScalarStack& stack, std::size_t base, OperatorContext& context);
void arcSine(ScalarStack& stack, std::size_t base, OperatorContext& context);
void arcCosine(ScalarStack& stack, std::size_t base, OperatorContext& context);
void arcTangent(ScalarStack& stack, std::size_t base, OperatorContext& context);
void arcCotangent(ScalarStack& stack, std::size_t base, OperatorContext& context);
void arcSecant(ScalarStack& stack, std::size_t base, OperatorContext& context);
void arcCosecant(ScalarStack& stack, std::size_t base, OperatorContext& context);

void hyperbolicSine(ScalarStack& stack, std::size_t base, OperatorContext& context);
void hyperbolicCosine(ScalarStack& stack, std::size_t base, OperatorContext& context);
void hyperbolicTangent(ScalarStack& stack, std::size_t base, OperatorContext& context);
void hyperbolicCotangent(ScalarStack& stack, std::size_t base, OperatorContext& context);
void hyperbolicSecant(ScalarStack& stack, std::size_t base, OperatorContext& context);
void hyperbolicCosecant(ScalarStack& stack, std::size_t base, OperatorContext& context);
void areaSine(ScalarStack& stack, std::size_t base, OperatorContext& context);
void areaCosine(ScalarStack& stack, std::size_t base, OperatorContext& context);
void areaTangent(ScalarStack& stack, std::size_t base, OperatorContext& context);
void areaCotangent(ScalarStack& stack, std::size_t base, OperatorContext& context);
void areaSecant(ScalarStack& stack, std::size_t base, OperatorContext& context);
void areaCosecant(ScalarStack& stack, std::size_t base, OperatorContext& context);

}  // namespace scalar_ops
