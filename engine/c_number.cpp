#include "c_number.h"

#include <charconv>
#include <clocale>
#include <cstdlib>
#include <locale.h>
#include <cmath>
#include <limits>

#include "ascii.h"

namespace cnum {

std::size_t parsePrefix(std::string_view text, double& value)
{
    std::size_t start = 0;
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        start = 1;
    }
    // from_chars takes no sign and would read "inf" and "nan", which strtod in the calculator's
    // texts never meets: only a digit or a point may begin the number.
    if (start >= text.size() || !(ascii::isDigit(text[start]) || text[start] == '.'))
        return 0;
    const char* first = text.data() + start;
    const char* last = text.data() + text.size();
    double magnitude = 0.0;
    auto [end, ec] = std::from_chars(first, last, magnitude, std::chars_format::general);
    if (ec == std::errc::invalid_argument)
        return 0;
    if (ec == std::errc::result_out_of_range) {
        // from_chars leaves the value alone on overflow and underflow; strtod in the C locale
        // gives what the calculator always showed (infinity, or a tiny or zero value).
        static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
        const std::string copy(first, end);
        magnitude = strtod_l(copy.c_str(), nullptr, cLocale);
    }
    value = negative ? -magnitude : magnitude;
    return static_cast<std::size_t>(end - text.data());
}

namespace {

// Large enough for "%.Nf" of the largest double (309 integer digits) with up to 30 decimals.
constexpr std::size_t kBufferSize = 400;

std::string format(double x, std::chars_format style, int decimals)
{
    char buffer[kBufferSize];
    if (std::isnan(x))
        return std::signbit(x) ? "-nan" : "nan";
    if (std::isinf(x))
        return x < 0 ? "-inf" : "inf";
    auto [end, ec] = std::to_chars(buffer, buffer + kBufferSize, x, style, decimals);
    if (ec != std::errc{})
        return {};
    return std::string(buffer, end);
}

}  // namespace

std::string fixed(double x, int decimals)
{
    return format(x, std::chars_format::fixed, decimals);
}

std::string scientific(double x, int decimals)
{
    return format(x, std::chars_format::scientific, decimals);
}

std::string general17(double x)
{
    return format(x, std::chars_format::general, 17);
}

std::string exactDecimal(double x)
{
    constexpr double kExponentFrom = 1e16;
    if (!std::isfinite(x))
        return format(x, std::chars_format::fixed, 0);
    char buffer[kBufferSize];
    const bool large = std::fabs(x) >= kExponentFrom;
    // Without a precision, to_chars writes the fewest digits that read back exactly.
    auto [end, ec] = std::to_chars(buffer, buffer + kBufferSize, x,
                                   large ? std::chars_format::scientific : std::chars_format::fixed);
    if (ec != std::errc{})
        return {};
    std::string text(buffer, end);
    if (const std::size_t plus = text.find('+'); plus != std::string::npos)
        text.erase(plus, 1);
    return text;
}

}  // namespace cnum
