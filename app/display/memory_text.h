#pragma once

#include <string>
#include <string_view>

#include "result_format.h"

// What a memory keeps of a shown result: scientific exponents become the display's "exp"
// ("1.5e-05" gives "1.5exp(-05)", "2e+12" gives "2exp12") so that a recalled memory reads
// back as the same number, grouping characters are dropped, and a zero is kept as "0".
// Hexadecimal texts keep their "E" digits untouched.
std::u16string memoryTextOf(std::u16string_view result, bool hexadecimal, OutputFormat format);
