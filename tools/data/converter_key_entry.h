#pragma once

#include <string>

// The key-entry machine of the converter's active value field: digits and "." build a number,
// Backspace takes its last character back, kNegate changes its sign, "+-*/=" chain arithmetic
// as a pocket calculator does (2 + 3 * shows 5), "M" stores the shown number and "R" recalls it.
// The number is kept as plain text ("." as decimal mark, no grouping); the converter groups it
// for the field.
class ConverterKeyEntry {
public:
    static constexpr char16_t kBackspace = 8;
    // Changes the sign of the number being typed, or of the one shown.
    static constexpr char16_t kNegate = u'\u00B1';

    // True for the keys the machine knows.
    static bool takes(char16_t code);
    // A number as a field shows it before grouping: "%.8lf" trimmed (123.50000000 -> "123.5")
    // when |x| <= 1e12 and (|x| >= 1e-8 or x == 0), with fewer decimals from 10,000 up so that
    // at most 12 significant digits show; else "%.8e".
    static std::string plainText(double x);

    // One key into the field whose number is `shown`. A "-" typed while the field shows 0 and
    // nothing is pending is the sign of the number to come. False when the key changes nothing
    // (a second decimal point, a key the machine does not know).
    bool press(char16_t code, double shown);
    // The field's number after the last key, in plain text.
    const std::string& text() const { return text_; }
    // The next digit starts a new number and no arithmetic is pending; the memory stays.
    void reset();

private:
    std::string text_;   // the number being typed or the last result
    bool fresh_ = true;  // the next digit starts a new number
    char pending_ = 0;   // the pending arithmetic operator, 0 for none
    double accumulator_ = 0.0;
    double memory_ = 0.0;
};
