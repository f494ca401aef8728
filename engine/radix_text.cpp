#include "radix_text.h"

#include "ascii.h"

bool isRadixDigit(char c, int radix)
{
    switch (radix) {
    case 2: return c == '0' || c == '1';
    case 8: return c >= '0' && c <= '7';
    case 10: return ascii::isDigit(c);
    case 16: return ascii::isDigit(c) || (c >= 'A' && c <= 'F');
    default: return false;
    }
}

std::uint32_t parseInRadix(std::string_view digits, int radix)
{
    if (radix != 2 && radix != 8 && radix != 10 && radix != 16)
        return 0;
    // The value wraps modulo 2^32 like the calculator's 32-bit accumulator; keeping the place
    // value modulo 2^32 too makes any length of text exact and safe.
    std::uint32_t value = 0;
    std::uint32_t placeValue = 1;
    for (std::size_t i = digits.size(); i-- > 0;) {
        const char c = digits[i];
        const std::uint32_t digit = static_cast<std::uint32_t>((radix == 16 && c >= 'A') ? c - 55 : c - 48);
        value += digit * placeValue;
        placeValue *= static_cast<std::uint32_t>(radix);
    }
    return value;
}

namespace {

std::uint32_t maskToWordSize(std::uint32_t value, int wordSize)
{
    switch (wordSize) {
    case 8: return value & 0xFFu;
    case 16: return value & 0xFFFFu;
    default: return value;
    }
}

// A 32-bit value written the way C's _ltow writes a long: radix 10 shows the sign of the
// signed value, every other radix the digits of its two's complement bit pattern.
std::string signedWordText(std::uint32_t bits, int radix)
{
    const bool negative = radix == 10 && bits > 0x7FFFFFFFu;
    constexpr std::string_view kDigits = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const auto base = static_cast<std::uint32_t>(radix);
    std::uint32_t magnitude = negative ? 0u - bits : bits;
    std::string digits;
    do {
        digits.insert(digits.begin(), kDigits[magnitude % base]);
        magnitude /= base;
    } while (magnitude > 0);
    if (negative)
        digits.insert(digits.begin(), '-');
    return digits;
}

bool isArithmeticOperator(char c)
{
    return c == '*' || c == '+' || c == '-' || c == '/';
}

}  // namespace

std::optional<std::string> convertRadixText(std::string_view text, int fromRadix, int toRadix, int wordSize)
{
    if (toRadix < 2 || toRadix > 36)
        return std::nullopt;
    std::string converted;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (isRadixDigit(c, fromRadix)) {
            // The whole run goes to the parser, letters that are no digits of the radix
            // included: "1G" in hexadecimal is one (odd) number, not "1" followed by a name.
            std::size_t end = i;
            while (end < text.size() && ascii::isAlnum(text[end]))
                ++end;
            const std::uint32_t value = parseInRadix(text.substr(i, end - i), fromRadix);
            converted += signedWordText(maskToWordSize(value, wordSize), toRadix);
            i = end;
            continue;
        }
        const bool inner = i > 0 && i + 1 < text.size();
        if (c == ' ' && inner && (isArithmeticOperator(text[i - 1]) || isArithmeticOperator(text[i + 1]))) {
            ++i;
            continue;
        }
        converted += c;
        ++i;
    }
    if (converted.empty())
        return std::nullopt;
    return converted;
}
