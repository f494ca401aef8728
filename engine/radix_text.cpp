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

std::uint32_t ParseInRadix(std::string_view digits, int radix)
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
