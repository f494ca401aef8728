#pragma once

#include <string>
#include <vector>

class CalculatorDisplay;

// The display's indicator line, left to right, and what a click on each indicator does.
struct DisplayIndicator {
    std::u16string text;  // "SHIFT", "RPN", "DEG", "NORM", "HEX", "8 bit", "M1"
    int clickCode = -1;   // the key code a click sends, or -1 when a click does nothing
};

// SHIFT (when on; a click turns it off), BASIC or RPN in those modes, the angle unit (a click
// cycles it), the display format (a click cycles NORM, FIX, SCI), the radix (cycled by a click
// only in "Base conversion", where it can change), the word size in "Base conversion" (a click
// cycles it) and the selected memory (a click selects the next one).
std::vector<DisplayIndicator> displayIndicators(const CalculatorDisplay& display, int category);
