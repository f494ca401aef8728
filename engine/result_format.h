#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "calc_value.h"

// Number text for the display: fixed, scientific and normal formatting, digit grouping, and
// the display rule that picks among them for a calculation result. All numbers are printed
// in the C locale; the display's own comma is the private character kDisplayComma.

// Drawn by the display as ","; it is the European decimal separator and the United States
// grouping character.
constexpr char16_t kDisplayComma = u'\u00B8';

// Other is the plain C form, with no grouping: the engine's own texts.
enum class OutputFormat { UnitedStates, European, Other };

struct Separators {
    char16_t decimalChar;
    char16_t groupChar;
};

// United States: "." and kDisplayComma; European: kDisplayComma and ".". Other has none:
// its texts stay ungrouped.
std::optional<Separators> separatorsOf(OutputFormat format);

// A text written in one output format, in the other: every '.' becomes kDisplayComma and every
// kDisplayComma '.'; nothing else changes, so a display line's token map still fits. The
// exchange is its own inverse.
std::u16string exchangeSeparators(std::u16string_view text);

// The display format indicator.
enum class DisplayFormat { Fix, Norm, Sci };

// formatNumber styles.
constexpr int kStyleFixed = 0;
constexpr int kStyleScientific = 1;

// The two engine settings formatNumber reads: in display mode 2 (base mode) every number is
// shown as a signed integer of the word size.
struct NumberContext {
    int displayMode = 0;
    int wordSize = 32;  // 8, 16, 32 or 64
};

// x with `digits` decimals in style kStyleFixed ("%.Nf"; digits outside 0..9 mean 10) or
// kStyleScientific ("%.4e" when digits is 4, else "%.10e"); any other style gives "".
// trimZeros drops the trailing zeros of a fixed text and then a bare point ("2.500" -> "2.5").
// x > 1e305 or NaN gives "Out of range error". In base mode the text is the truncated value
// narrowed to the word size with sign extension: its low 8, 16 or 32 bits, or for a 64-bit
// word the value itself clamped to the signed 64-bit range.
std::string formatNumber(double x, int digits, int style, bool trimZeros, NumberContext context = {});

// True for a value that the display shows as an error text rather than a number: NaN, an
// infinity, or above 1e305.
bool shownAsError(double x);

// x in plain notation rounded to 15 digits, the integer part's included (a lone "0" counts),
// without trailing zeros: 1/3 -> "0.33333333333333", 123456789.123456789 -> "123456789.123457".
// An integer part of 16 digits or more is printed exactly as the double holds it, as "%.f"
// prints it (2^63 -> "9223372036854775808", no 64-bit wrap), and is not rounded to 15 digits.
// Infinity gives "overflow", NaN "Out of range error".
std::string formatNormal(double x);

// Groups the integer part of a number text in threes with groupChar and writes decimalChar as
// its decimal point, in place: "-1234567.5" -> "-1,234,567.5" (United States). A decimalChar
// of kDisplayComma means European, where both "." and kDisplayComma in the text are decimal
// points; "." means United States, where "." is. Texts with letters other than "e" and "E"
// (messages such as "overflow") are left alone.
void groupDigits(std::u16string& text, char16_t decimalChar, char16_t groupChar);

// What the display rule needs besides the value.
struct ResultFormatSettings {
    DisplayFormat format = DisplayFormat::Norm;
    int fixDigits = 2;  // 0 to 10
    OutputFormat outputFormat = OutputFormat::UnitedStates;
    int displayMode = 0;
    int wordSize = 32;  // 8, 16, 32 or 64
    int radix = 10;     // 2, 8, 16; anything else is decimal
};

struct FormattedResult {
    std::u16string text;
    DisplayFormat format;  // the display format after the rule (FIX and NORM may turn to SCI)
};

// The display rule for a calculation result.
// Decimal: tiny (below 1e-4, not 0) or huge (above 1e11) real parts switch to SCI; real values
// print in FIX, NORM or SCI with grouping in FIX and NORM; complex values print in NORM as
// "3+i", "3-2i", "2i", falling back to SCI ("3.0000e+00 +2.0000e+00i") when a part is tiny or
// huge or the text reaches 21 characters; FIX turns to NORM for them.
// Radix 2, 8, 16: the real part as an unsigned integer of the word size (the low 32 bits for a
// 64-bit word), upper case, zero-padded to the word's digit count; the format is kept.
FormattedResult formatResult(CalcValue value, const ResultFormatSettings& settings);
