#include "stored_number.h"

#include <charconv>
#include <cmath>

#include "c_number.h"

namespace storedNumber {

namespace {

// Every whole number up to here is a double; "%.0f" writes it in at most 16 digits.
constexpr double kLargestExactWhole = 9007199254740992.0;  // 2^53

}  // namespace

std::string fileText(double value)
{
    if (std::isnan(value))
        return "0";
    if (std::isinf(value))
        return value > 0 ? "1e999" : "-1e999";
    if (value == std::floor(value) && std::fabs(value) <= kLargestExactWhole)
        return cnum::fixed(value, 0);
    // The shortest form that reads back to the same double: 0.1 is "0.1", not the
    // "0.10000000000000001" of "%.17g".
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return std::string(buffer, end);
}

std::string cellText(double value)
{
    std::string text;
    if (value == std::floor(value)) {
        text = cnum::fixed(value, 0);
    } else {
        text = cnum::fixed(value, 8);
        // "2.50000000" -> "2.5"; "-0.00000000" (a tiny negative value) -> "-0".
        if (text.find('.') != std::string::npos) {
            text.erase(text.find_last_not_of('0') + 1);
            if (!text.empty() && text.back() == '.')
                text.pop_back();
        }
    }
    if (text == "-0")
        text = "0";
    return text;
}

double atofRule(std::string_view text)
{
    std::size_t start = 0;
    while (start < text.size() && isCSpace(text[start]))
        ++start;
    double value = 0.0;
    if (cnum::parsePrefix(text.substr(start), value) == 0)
        return 0.0;
    return value;
}

}  // namespace storedNumber
