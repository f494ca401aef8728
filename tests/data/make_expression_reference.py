#!/usr/bin/env python3
"""Writes expression_reference.csv: random engine expressions and their values.

Each row holds an engine text (radians) and its expected value. The expressions apply the
scalar functions, alone, combined by + - * / or nested, to real and complex numbers from 1e-40
to 1e300; the values come from mpmath at 1500 bits, never from the calculator's formulas. They
follow the calculator's stated rules: sin, cos, tan, sec, csc, ln and log round their real part
to 12 decimals; an inverse function zeroes a part below 3.333e-16 of its value; a real argument
on a branch cut takes the calculator's side; a complex result shows a real part below 1e-12 as
0. Numbers below 1e-5 are written as m/1E k, which the engine divides just as Python does.

Only well-conditioned expressions are kept: every intermediate result is perturbed by a few
units in the last place (what the calculator's doubles may do to it) in several trials, and an
expression whose value then moves by more than 1e-13 is dropped, as are values that are not
finite, beyond 1e290 or below 1e-290, and arguments that the calculator's right-angle and
straight-angle tests refuse.

Usage: make_expression_reference.py [--count N] [--seed S] > expression_reference.csv
"""

import argparse
import math
import random
import sys

import mpmath
from mpmath import mp, mpc, mpf

# Enough bits that the textbook formulas mpmath uses keep every digit even where they cancel,
# for arguments down to 1e-300.
mp.prec = 1500
ULP = mpf(2) ** -52
# A real argument on a cut is moved off it by this part of its size.
CUT = mpf(10) ** -200


def round12(w):
    """The calculator's rounding of a real part to 12 decimals, read back as a double."""
    re = float(mpmath.nint(w.real * mpf(10) ** 12) / mpf(10) ** 12)
    return mpc(re, w.imag)


def cleaned(w):
    bound = abs(w) * mpf("3.333e-16")
    if bound < mpf("1e-5"):
        w = mpc(0 if abs(w.real) < bound else w.real, 0 if abs(w.imag) < bound else w.imag)
    return w


def inverse(function, on_cut, side):
    """side(x) gives the sign of the imaginary offset for a real x on the cut (on_cut(x))."""

    def apply(z):
        if z.imag == 0 and on_cut(z.real):
            z = mpc(z.real, side(z.real) * CUT * abs(z.real))
        return cleaned(function(z))

    return apply


def reciprocal(function):
    return lambda z: function(1 / z)


def asin_side(x):
    return -1 if x > 0 else 1


def never(x):
    return False


def above(x):
    return 1


ASIN = inverse(mpmath.asin, lambda x: abs(x) > 1, asin_side)
ACOS = inverse(mpmath.acos, lambda x: abs(x) > 1, asin_side)
ATAN = inverse(mpmath.atan, never, above)
ASINH = inverse(mpmath.asinh, never, above)
ACOSH = inverse(mpmath.acosh, lambda x: x < 1, above)
ATANH = inverse(mpmath.atanh, lambda x: abs(x) > 1, above)

# name -> (function, rounds to 12 decimals, angle test: None, ("odd", per radian), ("any", ...))
FUNCTIONS = {
    "sqrt": (mpmath.sqrt, False, None),
    "exp": (mpmath.exp, False, None),
    "ln": (mpmath.log, True, None),
    "log": (mpmath.log10, True, None),
    "sin": (mpmath.sin, True, None),
    "cos": (mpmath.cos, True, None),
    "tan": (mpmath.tan, True, ("odd", 2 / mpmath.pi)),
    "ctan": (mpmath.cot, False, None),
    "sec": (mpmath.sec, True, ("odd", 2 / mpmath.pi)),
    "csc": (mpmath.csc, True, ("any", 1 / mpmath.pi)),
    "asin": (ASIN, False, None),
    "acos": (ACOS, False, None),
    "atan": (ATAN, False, None),
    "acot": (reciprocal(ATAN), False, None),
    "asec": (reciprocal(ACOS), False, None),
    "acsc": (reciprocal(ASIN), False, None),
    "sinh": (mpmath.sinh, False, None),
    "cosh": (mpmath.cosh, False, None),
    "tanh": (mpmath.tanh, False, None),
    "ctanh": (mpmath.coth, False, None),
    "sech": (mpmath.sech, False, None),
    "csch": (mpmath.csch, False, None),
    "asinh": (ASINH, False, None),
    "acosh": (ACOSH, False, None),
    "atanh": (ATANH, False, None),
    "acoth": (reciprocal(ATANH), False, None),
    "asech": (reciprocal(ACOSH), False, None),
    "acsch": (reciprocal(ASINH), False, None),
}

# Results of these are real for a real argument inside this condition.
REAL_FOR = {
    "asin": lambda x: abs(x) <= 1, "acos": lambda x: abs(x) <= 1, "atan": lambda x: True,
    "acot": lambda x: True, "asec": lambda x: abs(x) >= 1, "acsc": lambda x: abs(x) >= 1,
    "asinh": lambda x: True, "acosh": lambda x: x >= 1, "atanh": lambda x: abs(x) < 1,
    "acoth": lambda x: abs(x) > 1, "asech": lambda x: 0 < x <= 1, "acsch": lambda x: x != 0,
}


class Refused(Exception):
    """The calculator reports an error here, or the value is out of the compared range."""


def angle_refused(test, z):
    if test is None or z.imag != 0:
        return False
    kind, per_radian = test
    k = abs(float(z.real)) * float(per_radian)
    whole = float("%.0f" % k)
    if float("%.13f" % k) != whole:
        return False
    return kind == "any" or whole % 2 == 1


def apply(name, z, perturb):
    function, rounds, test = FUNCTIONS[name]
    if angle_refused(test, z):
        raise Refused()
    try:
        w = mpc(function(z))
    except (ZeroDivisionError, ValueError, OverflowError):
        raise Refused()
    # Beyond the double range the calculator has an infinity, or refuses.
    if not (mpmath.isfinite(w.real) and mpmath.isfinite(w.imag)) or abs(w) > mpf("1e300"):
        raise Refused()
    if name in REAL_FOR and z.imag == 0 and REAL_FOR[name](z.real):
        w = mpc(w.real, 0)
    w = perturb(w)
    if rounds:
        w = round12(w)
    return w


def log_uniform(rng, low_exponent, high_exponent):
    return 10.0 ** rng.uniform(low_exponent, high_exponent)


def literal(rng):
    """(text, double value) of a positive number from 1e-40 to 1e300."""
    scale = rng.random()
    if scale < 0.3:
        mantissa = round(rng.uniform(1.0, 10.0), rng.randint(1, 6))
        k = rng.randint(5, 40)
        return "%r/1E%d" % (mantissa, k), mantissa / float("1e%d" % k)
    if scale < 0.8:
        value = float("%.6g" % log_uniform(rng, -5, 3))
        # Plain digits: "1.2e-05" would not be one number for the engine.
        return ("%.12f" % value).rstrip("0").rstrip("."), value
    value = float("%.6g" % log_uniform(rng, 3, 300))
    return ("%.6g" % value).replace("e+", "E"), value


def number(rng):
    """An operand: (text, mpc). Real or complex, either sign."""
    text, value = literal(rng)
    negative = rng.random() < 0.4
    if rng.random() < 0.35:
        imag_text, imag = literal(rng)
        sign = "-" if rng.random() < 0.5 else "+"
        real = -value if negative else value
        return ("(%s%s%s%s*i)" % ("-" if negative else "", text, sign, imag_text),
                mpc(real, -imag if sign == "-" else imag))
    if negative:
        return "(-%s)" % text, mpc(-value, 0)
    return text, mpc(value, 0)


def random_expression(rng):
    """(text, evaluate(perturb) -> mpc)."""
    names = sorted(FUNCTIONS)
    shape = rng.random()
    if shape < 0.5:
        f = rng.choice(names)
        text, z = number(rng)
        return "%s(%s)" % (f, text), lambda p: apply(f, z, p)
    if shape < 0.8:
        f, g = rng.choice(names), rng.choice(names)
        a_text, a = number(rng)
        b_text, b = number(rng)
        op = rng.choice("+-*/")

        def combined(p):
            u = apply(f, a, p)
            v = apply(g, b, p)
            if op == "/" and v == 0:
                raise Refused()
            return p({"+": u + v, "-": u - v, "*": u * v, "/": u / v if v != 0 else 0}[op])

        return "%s(%s)%s%s(%s)" % (f, a_text, op, g, b_text), combined
    f, g = rng.choice(names), rng.choice(names)
    text, z = number(rng)
    return "%s(%s(%s))" % (f, g, text), lambda p: apply(f, apply(g, z, p), p)


def final(w):
    """What Engine::evaluate shows: a real part below 1e-12 of a complex value as 0."""
    if w.imag != 0 and abs(w.real) < mpf("1e-12"):
        w = mpc(0, w.imag)
    return w


def well_conditioned(evaluate, exact, rng):
    size = abs(exact)
    for _ in range(6):
        def perturb(w):
            factor = 1 + ULP * mpc(rng.uniform(-2, 2), rng.uniform(-2, 2))
            return w * factor

        try:
            moved = final(evaluate(perturb))
        except Refused:
            return False
        if abs(moved - exact) > mpf("1e-13") * size:
            return False
    return True


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--count", type=int, default=400)
    parser.add_argument("--seed", type=int, default=20261207)
    options = parser.parse_args()
    rng = random.Random(options.seed)

    rows = []
    tried = 0
    while len(rows) < options.count:
        tried += 1
        text, evaluate = random_expression(rng)
        try:
            exact = final(evaluate(lambda w: w))
        except Refused:
            continue
        size = abs(exact)
        if size != 0 and not (mpf("1e-290") < size < mpf("1e290")):
            continue
        if not well_conditioned(evaluate, exact, rng):
            continue
        rows.append((text, float(exact.real), float(exact.imag)))

    out = sys.stdout
    out.write("# Generated by make_expression_reference.py --count %d --seed %d from %d candidates;"
              " do not edit.\n" % (options.count, options.seed, tried))
    out.write("expression,expected_re,expected_im\n")
    for text, re, im in rows:
        out.write("%s,%.17g,%.17g\n" % (text, re + 0.0, im + 0.0))


if __name__ == "__main__":
    main()
