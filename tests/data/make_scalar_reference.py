#!/usr/bin/env python3
"""Writes scalar_reference.csv: expected values of the engine's scalar functions.

Each row holds one call: function, angle mode, argument (the left operand of a binary
operator), expected value, and the right operand of a binary operator (empty for a unary one).
Expected values come from the mathematical definitions through Python's cmath and math
(principal branches), never from the calculator's own formulas. Numbers are written with %.17g
so that every double reads back exactly.

Arguments are random with a fixed seed. They stay away from the places where two correct
programs may legitimately disagree:
  * branch cuts: the calculator treats a zero imaginary part as real and picks its own side of
    a cut (asin 2 = pi/2 - 1.317i, cmath says pi/2 + 1.317i), so complex arguments keep both
    parts at least 0.05 away from the axes, and real arguments of inverse functions stay inside
    the domain where the value is real;
  * the poles tan, sec, cot and csc have at right and straight angles, and the right-angle and
    straight-angle tests that reject arguments near them: real angles keep half a degree away;
  * results near overflow: |b ln a| of a power stays below 250 (the calculator refuses 305).

Usage: make_scalar_reference.py [--per-function N] [--seed S] > scalar_reference.csv
"""

import argparse
import cmath
import math
import random
import sys

ANGLE_MODES = ("deg", "rad", "grad")
# Radians per unit of each angle mode.
UNIT = {"deg": math.pi / 180.0, "rad": 1.0, "grad": math.pi / 200.0}


def log_uniform(rng, low, high):
    return math.exp(rng.uniform(math.log(low), math.log(high)))


def signed(rng, magnitude):
    return magnitude if rng.random() < 0.5 else -magnitude


def off_axis_part(rng, limit):
    """A real number with 0.05 <= |x| <= limit, spread over the scales."""
    return signed(rng, log_uniform(rng, 0.05, limit))


def complex_argument(rng, re_limit, im_limit):
    return complex(off_axis_part(rng, re_limit), off_axis_part(rng, im_limit))


def real(x):
    # A real argument as the calculator holds it: imaginary part +0.
    return complex(x, 0.0)


def away_from_multiples(rng, mode, span, period_degrees, offset_degrees):
    """A real angle in the mode's unit at least half a degree from offset + k * period."""
    while True:
        x = rng.uniform(-span, span)
        degrees = x * UNIT[mode] * 180.0 / math.pi
        distance = (degrees - offset_degrees) % period_degrees
        if 0.5 < distance < period_degrees - 0.5:
            return x


# --- circular functions: angle in -------------------------------------------------------------

def circular(name, function, pole):
    """pole: None, or (period, offset) in degrees of the points to keep away from."""

    def rows(rng, count):
        out = []
        for i in range(count):
            mode = ANGLE_MODES[i % 3]
            if i < count * 3 // 5:
                span = 20.0 if mode == "rad" else 1000.0
                if pole is None:
                    x = rng.uniform(-span, span)
                else:
                    x = away_from_multiples(rng, mode, span, pole[0], pole[1])
                out.append((name, mode, real(x), function(x * UNIT[mode]), None))
            else:
                # A complex argument is taken in radians whatever the mode.
                z = complex_argument(rng, 10.0, 5.0)
                out.append((name, mode, z, function(z), None))
        return out

    return rows


# --- inverse circular functions: angle out ----------------------------------------------------

def inverse_circular(name, function, real_domain):
    """real_domain(rng) draws a real argument whose value is real."""

    def rows(rng, count):
        out = []
        for i in range(count):
            mode = ANGLE_MODES[i % 3]
            if i < count * 3 // 5:
                x = real_domain(rng)
                value = function(real(x)).real / UNIT[mode]
                out.append((name, mode, real(x), complex(value, 0.0), None))
            else:
                # A complex value is given in radians whatever the mode.
                z = complex_argument(rng, 1000.0, 1000.0)
                out.append((name, mode, z, function(z), None))
        return out

    return rows


# --- functions without angles -----------------------------------------------------------------

def plain(name, function, real_domain, re_limit, im_limit):
    def rows(rng, count):
        out = []
        for i in range(count):
            if i < count // 2:
                x = real_domain(rng)
                out.append((name, "rad", real(x), function(real(x)), None))
            else:
                z = complex_argument(rng, re_limit, im_limit)
                out.append((name, "rad", z, function(z), None))
        return out

    return rows


def percent_rows(rng, count):
    return [("%", "rad", real(x), complex(x / 100.0, 0.0), None)
            for x in (signed(rng, log_uniform(rng, 1e-6, 1e12)) for _ in range(count))]


def factorial_rows(rng, count):
    numbers = list(range(171)) + [rng.randrange(171) for _ in range(max(0, count - 171))]
    return [("!", "rad", real(n), complex(float(math.factorial(n)), 0.0), None)
            for n in numbers[:count]]


# --- binary operators -------------------------------------------------------------------------

def power_operands(rng, i):
    """A base and an exponent with |b| ln|a| below 250 (no overflow, no out-of-range)."""
    kind = i % 4
    if kind == 0:  # positive base, real exponent
        a = real(log_uniform(rng, 1e-3, 1e3))
        b = real(rng.uniform(-1.0, 1.0) * 250.0 / max(abs(math.log(a.real)), 1.0))
    elif kind == 1:  # negative base, fractional exponent: the principal complex power
        a = real(-log_uniform(rng, 1e-3, 1e3))
        b = real(rng.uniform(-1.0, 1.0) * 100.0 / max(abs(math.log(-a.real)), 1.0))
    elif kind == 2:  # small integer exponents of any real base
        a = real(signed(rng, log_uniform(rng, 0.1, 100.0)))
        b = real(float(rng.randint(-6, 6) or 1))
    else:  # complex base and exponent
        a = complex_argument(rng, 100.0, 100.0)
        b = complex_argument(rng, 5.0, 5.0)
    return a, b


def principal_power(a, b):
    # The real pow is correctly rounded where it applies; exp(b ln a) loses |b ln a| ulps.
    if a.imag == 0.0 and b.imag == 0.0 and a.real > 0.0:
        return complex(math.pow(a.real, b.real), 0.0)
    return cmath.exp(b * cmath.log(a))


def power_rows(rng, count):
    out = []
    for i in range(count):
        a, b = power_operands(rng, i)
        out.append(("^", "rad", a, principal_power(a, b), b))
    return out


def root_rows(name):
    def rows(rng, count):
        out = []
        for i in range(count):
            x, exponent = power_operands(rng, i)
            if exponent == 0:
                exponent = complex(1.0, 0.0)
            n = 1.0 / exponent
            expected = principal_power(x, 1.0 / n)
            # "n root x" has the index on the left, "x iroot n" on the right.
            if name == "root":
                out.append((name, "rad", n, expected, x))
            else:
                out.append((name, "rad", x, expected, n))
        return out

    return rows


def ten_power_rows(rng, count):
    out = []
    for i in range(count):
        if i % 2 == 0:
            a = real(signed(rng, log_uniform(rng, 1e-3, 1e3)))
            b = real(rng.uniform(-100.0, 100.0))
        else:
            a = complex_argument(rng, 100.0, 100.0)
            b = complex_argument(rng, 20.0, 5.0)
        out.append(("iexp", "rad", a, a * principal_power(complex(10.0, 0.0), b), b))
    return out


# --- the table --------------------------------------------------------------------------------

def any_real(low, high):
    return lambda rng: signed(rng, log_uniform(rng, low, high))


def between(low, high):
    return lambda rng: rng.uniform(low, high)


def at_least_one(rng):
    return signed(rng, log_uniform(rng, 1.0, 1e6))


def reciprocal(function):
    return lambda z: function(1.0 / z)


GENERATORS = [
    ("sqrt", plain("sqrt", cmath.sqrt, any_real(1e-6, 1e12), 1e6, 1e6)),
    ("exp", plain("exp", cmath.exp, between(-300.0, 300.0), 50.0, 50.0)),
    ("ln", plain("ln", cmath.log, any_real(1e-9, 1e12), 1e6, 1e6)),
    ("log", plain("log", cmath.log10, any_real(1e-9, 1e12), 1e6, 1e6)),
    ("sin", circular("sin", cmath.sin, None)),
    ("cos", circular("cos", cmath.cos, None)),
    ("tan", circular("tan", cmath.tan, (180.0, 90.0))),
    ("ctan", circular("ctan", lambda z: 1.0 / cmath.tan(z), (180.0, 0.0))),
    ("sec", circular("sec", lambda z: 1.0 / cmath.cos(z), (180.0, 90.0))),
    ("csc", circular("csc", lambda z: 1.0 / cmath.sin(z), (180.0, 0.0))),
    ("asin", inverse_circular("asin", cmath.asin, between(-1.0, 1.0))),
    ("acos", inverse_circular("acos", cmath.acos, between(-1.0, 1.0))),
    ("atan", inverse_circular("atan", cmath.atan, any_real(1e-6, 1e9))),
    ("acot", inverse_circular("acot", reciprocal(cmath.atan), any_real(1e-9, 1e6))),
    ("asec", inverse_circular("asec", reciprocal(cmath.acos), at_least_one)),
    ("acsc", inverse_circular("acsc", reciprocal(cmath.asin), at_least_one)),
    ("sinh", plain("sinh", cmath.sinh, between(-700.0, 700.0), 20.0, 20.0)),
    ("cosh", plain("cosh", cmath.cosh, between(-700.0, 700.0), 20.0, 20.0)),
    ("tanh", plain("tanh", cmath.tanh, between(-800.0, 800.0), 20.0, 20.0)),
    ("ctanh", plain("ctanh", lambda z: 1.0 / cmath.tanh(z), any_real(1e-3, 800.0), 20.0, 20.0)),
    ("sech", plain("sech", lambda z: 1.0 / cmath.cosh(z), between(-700.0, 700.0), 20.0, 20.0)),
    ("csch", plain("csch", lambda z: 1.0 / cmath.sinh(z), any_real(1e-3, 700.0), 20.0, 20.0)),
    ("asinh", plain("asinh", cmath.asinh, any_real(1e-6, 1e12), 1e6, 1e6)),
    ("acosh", plain("acosh", cmath.acosh, lambda rng: log_uniform(rng, 1.0, 1e12), 1e6, 1e6)),
    ("atanh", plain("atanh", cmath.atanh, between(-0.999, 0.999), 1e3, 1e3)),
    ("acoth", plain("acoth", reciprocal(cmath.atanh), lambda rng: signed(rng, log_uniform(rng, 1.001, 1e9)), 1e3, 1e3)),
    ("asech", plain("asech", reciprocal(cmath.acosh), between(1e-6, 1.0), 1e3, 1e3)),
    ("acsch", plain("acsch", reciprocal(cmath.asinh), any_real(1e-9, 1e6), 1e3, 1e3)),
    ("%", percent_rows),
    ("!", factorial_rows),
    ("^", power_rows),
    ("root", root_rows("root")),
    ("iroot", root_rows("iroot")),
    ("iexp", ten_power_rows),
]


def number(x):
    return "%.17g" % (x + 0.0)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--per-function", type=int, default=200)
    parser.add_argument("--seed", type=int, default=20240607)
    options = parser.parse_args()

    out = sys.stdout
    out.write("# Generated by make_scalar_reference.py --per-function %d --seed %d; do not edit.\n"
              % (options.per_function, options.seed))
    out.write("function,angle,arg_re,arg_im,expected_re,expected_im,right_re,right_im\n")
    for name, generator in GENERATORS:
        # One generator per function, each with its own stream: adding a function leaves the
        # rows of the others as they were.
        rng = random.Random("%d:%s" % (options.seed, name))
        for function, mode, arg, expected, right in generator(rng, options.per_function):
            fields = [function, mode, number(arg.real), number(arg.imag),
                      number(expected.real), number(expected.imag)]
            fields += ["", ""] if right is None else [number(right.real), number(right.imag)]
            out.write(",".join(fields) + "\n")


if __name__ == "__main__":
    main()
