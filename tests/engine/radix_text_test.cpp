#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "radix_text.h"

namespace {

TEST(parseInRadix, ReadsDigitsOfEachRadix)
{
    EXPECT_EQ(parseInRadix("FF", 16), 255u);
    EXPECT_EQ(parseInRadix("1111", 2), 15u);
    EXPECT_EQ(parseInRadix("777", 8), 511u);
    EXPECT_EQ(parseInRadix("FFFFFFFF", 16), 4294967295u);
    EXPECT_EQ(parseInRadix("100000000", 16), 0u);  // wraps modulo 2^32
    EXPECT_EQ(parseInRadix("", 16), 0u);
    EXPECT_EQ(parseInRadix("12", 7), 0u);
}

struct ConversionCase {
    const char* text;
    int fromRadix;
    int toRadix;
    int wordSize;
    std::optional<std::string> expected;
};

TEST(convertRadixText, RewritesNumbersAndOperatorBlanks)
{
    const ConversionCase cases[] = {
        {"ff + 1", 16, 16, 32, "ff+1"},  // lower-case letters are no hexadecimal digits
        {"FF + 1", 16, 16, 8, "FF+1"},
        {"1FF", 16, 16, 8, "FF"},  // masked to the word size
        {"12345", 16, 16, 16, "2345"},
        {"FF", 16, 10, 32, "255"},
        {"FFFFFFFF", 16, 10, 32, "-1"},  // radix 10 writes the signed value
        {"FFFFFFFF", 16, 10, 64, "-1"},
        {"80000000", 16, 10, 32, "-2147483648"},
        {"FFFFFFFF", 16, 16, 32, "FFFFFFFF"},  // other radixes write the bit pattern
        {"-1", 10, 2, 32, "-1"},               // the sign is text; the digit run is 1
        {"4294967295", 10, 8, 32, "37777777777"},
        {"255", 10, 16, 8, "FF"},
        {"256", 10, 16, 8, "0"},
        {"0010", 2, 2, 8, "10"},
        {"1G", 16, 16, 32, "20"},  // the run takes every letter: 1*16 + ('G'-55)
        {"VA and 2", 16, 16, 32, "VA and 2"},
        {" 1 * 2 ", 10, 10, 32, " 1*2 "},  // blanks at either end stay
        {" -1 + ", 10, 10, 32, " -1+ "},
        {"a  - b", 10, 10, 32, "a -b"},  // only the blank next to the operator goes
        {"( 1 )", 10, 10, 32, "( 1 )"},
        {"", 16, 16, 32, std::nullopt},
        {" ", 16, 16, 32, " "},
        {"12", 10, 1, 32, std::nullopt},
    };
    for (const ConversionCase& c : cases)
        EXPECT_EQ(convertRadixText(c.text, c.fromRadix, c.toRadix, c.wordSize), c.expected)
            << '"' << c.text << "\" " << c.fromRadix << " -> " << c.toRadix << " word " << c.wordSize;
}

}  // namespace
