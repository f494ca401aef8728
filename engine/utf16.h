#pragma once

#include <string>
#include <string_view>

// Conversions between the 16-bit text of the display and UTF-8. Malformed input never fails:
// a bad sequence becomes U+FFFD.
std::string toUtf8(std::u16string_view text);
std::u16string fromUtf8(std::string_view text);
