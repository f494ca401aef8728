#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "calc_value.h"
#include "result_format.h"
#include "typed_names.h"
#include "value_cell.h"

// Numbers through the clipboard, both ways.
//
// Copy writes what other programs read: the shortest decimal text that reads back as the same
// double, with "." as decimal point, "E" before the exponent and no grouping marks
// ("3.3333333333333335E-06", "-1234.5"). A complex value is written "3+4i", "3-4i" or "4i".
std::u16string clipboardNumberText(double value);
std::u16string clipboardNumberText(CalcValue value);
// The same with the output format's decimal mark: "1234,5" in European output.
std::u16string clipboardNumberText(CalcValue value, OutputFormat format);
// A number already written as text (a data file's "6.62607015e-34"): the same plain form when
// the whole text, blanks aside, reads as a number in the C locale; otherwise the text as it is.
std::u16string clipboardNumberText(std::u16string_view numberText);

// A matrix as "[1,2;3,4]": elements in clipboardNumberText's form, "," between them and ";"
// between rows. The numbers keep "." whatever the output format, so that no decimal comma can
// be taken for the element separator when the text is read back.
std::u16string matrixClipboardText(const ValueCell& matrix);

// Copy takes a result as the display shows it, or its value in full.
enum class CopyPrecision { AsShown, Full };

// What Copy puts on the clipboard for a result the display shows as shownText, value being the
// value behind it and decimal whether it is shown as a decimal number (not in another radix):
//  - a matrix: matrixClipboardText, in either precision;
//  - a value that is no number (NaN or infinite: the display shows an error): nothing, empty;
//  - a decimal number as shown without grouping and with the format's decimal mark as ","
//    ("1,234.5" gives "1234.5", European "1.234,5" gives "1234,5"), or in full precision
//    (clipboardNumberText with the format's decimal mark);
//  - a number in another radix as shown.
std::u16string resultClipboardText(const ValueCell& value, std::u16string_view shownText, bool decimal,
                                   OutputFormat format, CopyPrecision precision);

// Paste reads text as a user pastes it and turns it into the display's tokens, as the keys
// would have put them there.
struct PasteContext {
    OutputFormat format = OutputFormat::UnitedStates;
    // Radix "HEX": "A" to "F" are digits and "e" is no exponent.
    bool hexDigits = false;
    // The names that go in as whole tokens (typedNames); none when empty.
    std::vector<TypedName> names;
};

// Reads pasted text:
//  - Blanks around the text and between tokens are dropped, and so are the currency signs
//    "$", "\u20AC", "\u00A3" and "\u00A5" ("$1,234.56" is 1234.56); a line break or other
//    control character ends the paste.
//  - Numbers: the digits, one token each, with the output format's decimal point. Grouping
//    of either output format is dropped ("1,234.5" and "1.234,5" are both 1234.5); with
//    both marks the later one is the decimal point; a lone "," is a decimal comma in European
//    output and a grouping mark in United States output when it is followed by groups of three
//    digits ("2,000"), else an argument comma, and always an argument comma inside the
//    parentheses of a call ("gcd(12,180)"); a lone "." is a decimal point. "e" or "E" followed
//    by digits, with an optional sign, is the exponent: "exp", then the digits, or "(-", the
//    digits and ")" for a negative one.
//  - Names go in as whole tokens (the longest name that the text starts with, in its own case
//    first), so a pasted "sin(" is one token and "sqrt(" gives what the square-root key gives.
//    Other words go in as one token each, for the evaluation to reject.
//  - "*" and "\u00D7" give "\u00D7", "/" and "\u00F7" give "\u00F7", "-", "\u2212" and "\u2013" give "\u2212";
//    "\u03C0" gives "pi"; a "=" at the end is dropped; any other character is one token.
std::vector<NameInsertion> readPastedText(std::u16string_view text, const PasteContext& context);

// The lines of pasted text that hold more than blanks, each an expression of its own.
std::vector<std::u16string_view> pastedExpressionLines(std::u16string_view text);

// The first number in pasted text as the basic modes type it: digits and one "." ("1,234.5"
// and "1.234,5" give "1234.5"; "-2" gives "2"). The exponent is left out. Empty when there is
// no number.
std::u16string pastedNumberDigits(std::u16string_view text, OutputFormat format);
