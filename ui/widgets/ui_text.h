#pragma once

#include <QString>

#include <string>
#include <string_view>

#include "result_format.h"

// Display text for drawing: the display's private comma (U+00B8) is drawn as ",".
QString displayString(std::u16string_view text);
// An expression for drawing in an output format. Where "," is the decimal mark (European), the
// argument comma is drawn as ";" and a matrix row end as "|", the keys that type them there, so
// that "max(2,5;1)" reads unambiguously.
QString expressionString(std::u16string_view text, OutputFormat format);
// Text between the models and Qt, unchanged.
inline QString toQString(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::u16string fromQString(const QString& text)
{
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
}

// Whether a number typed into a cell of the matrix or statistics list lies beyond the largest
// double ("1e999"); the models refuse such a cell, and the window says why.
bool typedNumberOverflows(std::u16string_view text);
// What the window says then: the display's own text for a number out of range, "overflow".
QString overflowMessage();
