#pragma once

#include <string_view>

// The name of each category (0..14) as the tools panel lists it.
std::u16string_view categoryName(int category);
// Categories whose keypads this build offers; the others are tools that show their name only.
bool categoryHasKeypad(int category);
