#pragma once

// The engine's scalar: every number it computes is complex.
struct CalcValue {
    double re = 0.0;
    double im = 0.0;

    // A value is real when its imaginary part is exactly zero (so -0.0 counts as real).
    bool isReal() const { return im == 0.0; }
};
