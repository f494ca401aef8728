// Copy and paste as tables: the text that Copy writes, and the tokens that pasted text becomes.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <random>
#include <string>

#include "clipboard_number.h"
#include "key_codes.h"

namespace {

std::string narrow(std::u16string_view text)
{
    std::string out;
    for (char16_t c : text) {
        if (c < 0x80)
            out += static_cast<char>(c);
        else if (c == kDisplayComma)
            out += "<comma>";
        else if (c == u'\u2212')
            out += "<minus>";
        else if (c == u'\u00D7')
            out += "<times>";
        else if (c == u'\u00F7')
            out += "<divide>";
        else
            out += "?";
    }
    return out;
}

// The tokens joined with "|"; a key code as "#54".
std::string tokens(std::u16string_view text, OutputFormat format = OutputFormat::UnitedStates, bool hex = false)
{
    MacroRecord macro;
    macro.name = u"Ma";
    macro.params = u"x";
    macro.paramCount = 1;
    PasteContext context;
    context.format = format;
    context.hexDigits = hex;
    context.names = typedNames({macro});
    std::string out;
    for (const NameInsertion& piece : readPastedText(text, context)) {
        if (!out.empty())
            out += "|";
        out += piece.code >= 0 ? "#" + std::to_string(piece.code) : narrow(piece.token);
    }
    return out;
}

struct CopyCase {
    double value;
    const char* text;
};

TEST(ClipboardNumber, CopyWritesPlainFullPrecisionText)
{
    const CopyCase cases[] = {
        {0.0, "0"},
        {-0.0, "0"},
        {1234.5, "1234.5"},
        {-2.0, "-2"},
        {1.0 / 300000.0, "3.3333333333333333E-06"},
        {1e20, "1E+20"},
        {1.5e-5, "1.5E-05"},
        {6.62607015e-34, "6.62607015E-34"},
        {0.1 + 0.2, "0.30000000000000004"},
    };
    for (const CopyCase& c : cases)
        EXPECT_EQ(narrow(clipboardNumberText(c.value)), c.text) << c.text;
    EXPECT_EQ(narrow(clipboardNumberText(CalcValue{3, 4})), "3+4i");
    EXPECT_EQ(narrow(clipboardNumberText(CalcValue{3, -4})), "3-4i");
    EXPECT_EQ(narrow(clipboardNumberText(CalcValue{0, 4})), "4i");
    EXPECT_EQ(narrow(clipboardNumberText(CalcValue{0, -1})), "-1i");
}

TEST(ClipboardNumber, CopyOfANumberTextRewritesItPlainly)
{
    EXPECT_EQ(narrow(clipboardNumberText(u"6.62607015e-34")), "6.62607015E-34");
    EXPECT_EQ(narrow(clipboardNumberText(u" 1.25663706212e-6 ")), "1.25663706212E-06");
    EXPECT_EQ(narrow(clipboardNumberText(u"299792458")), "299792458");
    EXPECT_EQ(narrow(clipboardNumberText(u"+5")), "5");
    // Not a number: the text stays.
    EXPECT_EQ(narrow(clipboardNumberText(u"abc")), "abc");
    EXPECT_EQ(narrow(clipboardNumberText(u"1,5")), "1,5");
    EXPECT_EQ(narrow(clipboardNumberText(u"")), "");
}

TEST(ClipboardNumber, CopiedTextReadsBackAsTheSameDouble)
{
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-300, 300);
    for (int i = 0; i < 2000; ++i) {
        const double value = mantissa(random) * std::pow(10.0, exponent(random));
        const std::string text = narrow(clipboardNumberText(value));
        double back = 0;
        const auto result = std::from_chars(text.data(), text.data() + text.size(), back);
        ASSERT_EQ(result.ptr, text.data() + text.size()) << text;
        EXPECT_EQ(back, value) << text;
    }
}

struct PasteCase {
    const char* name;
    const char16_t* text;
    OutputFormat format;
    bool hex;
    const char* expected;
};

class PastedText : public ::testing::TestWithParam<PasteCase> {};

TEST_P(PastedText, BecomesTheTokensOfTheKeys)
{
    const PasteCase& c = GetParam();
    EXPECT_EQ(tokens(c.text, c.format, c.hex), c.expected) << c.name;
}

constexpr OutputFormat kUs = OutputFormat::UnitedStates;
constexpr OutputFormat kEu = OutputFormat::European;

INSTANTIATE_TEST_SUITE_P(Table, PastedText,
                         ::testing::Values(
                             // Grouping of either output format, and decimal points.
                             PasteCase{"UsGroupingInUs", u"1,234.5", kUs, false, "1|2|3|4|.|5"},
                             PasteCase{"EuGroupingInUs", u"1.234,5", kUs, false, "1|2|3|4|.|5"},
                             PasteCase{"EuGroupingInEu", u"1.234,5", kEu, false, "1|2|3|4|<comma>|5"},
                             PasteCase{"UsGroupingInEu", u"1,234.5", kEu, false, "1|2|3|4|<comma>|5"},
                             PasteCase{"ThousandsInUs", u"2,000", kUs, false, "2|0|0|0"},
                             PasteCase{"DecimalCommaInEu", u"2,000", kEu, false, "2|<comma>|0|0|0"},
                             PasteCase{"ShortGroupIsAComma", u"1,5", kUs, false, "1|,|5"},
                             PasteCase{"DecimalCommaOfEu", u"1,5", kEu, false, "1|<comma>|5"},
                             PasteCase{"ManyGroupsOfDots", u"1.234.567", kUs, false, "1|2|3|4|5|6|7"},
                             PasteCase{"PlainPoint", u"0.25", kEu, false, "0|<comma>|2|5"},
                             PasteCase{"PointFirst", u".5", kUs, false, ".|5"},
                             PasteCase{"CommasInACallPartArguments", u"gcd(12,180)", kUs, false, "#26|1|2|,|1|8|0|)"},
                             PasteCase{"CommasInACallInEu", u"gcd(1,5)", kEu, false, "#26|1|,|5|)"},
                             // Exponents, signs and blanks.
                             PasteCase{"CopiedResult", u"3.3333333333333333E-06", kUs, false,
                                       "3|.|3|3|3|3|3|3|3|3|3|3|3|3|3|3|3|3|exp|(-|0|6|)"},
                             PasteCase{"LowerCaseExponents", u"6.62607015e-34*1e34", kUs, false,
                                       "6|.|6|2|6|0|7|0|1|5|exp|(-|3|4|)|<times>|1|exp|3|4"},
                             PasteCase{"PlusExponent", u"1.5e+3", kUs, false, "1|.|5|exp|3"},
                             PasteCase{"MinusSign", u"  \u22125\t", kUs, false, "<minus>|5"},
                             PasteCase{"MinusSignInExponent", u"2E\u22123", kUs, false, "2|exp|(-|3|)"},
                             PasteCase{"NoDigitsNoExponent", u"2e", kUs, false, "2|e"},
                             PasteCase{"BlanksInside", u"1 + 2", kUs, false, "1|+|2"},
                             PasteCase{"CurrencySigns", u"$1,234.56+\u20AC 2-\u00A33*\u00A54", kUs, false,
                                       "1|2|3|4|.|5|6|+|2|<minus>|3|<times>|4"},
                             PasteCase{"LineBreakEnds", u"2*(3+4)\nignored", kUs, false, "2|<times>|(|3|+|4|)"},
                             PasteCase{"TrailingEquals", u"2+3=", kUs, false, "2|+|3"},
                             PasteCase{"Signs", u"8/2-1", kUs, false, "8|<divide>|2|<minus>|1"},
                             // Names as whole tokens.
                             PasteCase{"Functions", u"sin(30)+sqrt(16)", kUs, false, "#54|3|0|)|+|#41|1|6|)"},
                             PasteCase{"Euler", u"e^2", kUs, false, "e|^|2"},
                             PasteCase{"ListCall", u"avg(X)", kUs, false, "#90"},
                             PasteCase{"Slots", u"inv([VA])", kUs, false, "#102|[VA]|)"},
                             PasteCase{"Macro", u"Ma(5)+1", kUs, false, "Ma(|5|)|+|1"},
                             PasteCase{"Pi", u"2\u03C0", kUs, false, "2|#59"},
                             PasteCase{"Complex", u"3+4i", kUs, false, "3|+|4|#25"},
                             PasteCase{"UnknownWord", u"foo+1", kUs, false, "foo|+|1"},
                             // Hexadecimal digits.
                             PasteCase{"HexDigits", u"ff+1", kUs, true, "F|F|+|1"},
                             PasteCase{"HexWordsStayNames", u"FF and 0F", kUs, true, "F|F|#69|0|F"},
                             PasteCase{"Empty", u"   ", kUs, false, ""}));

TEST(ClipboardNumber, BasicModesTakeTheDigitsOfTheFirstNumber)
{
    EXPECT_EQ(narrow(pastedNumberDigits(u"1,234.5", kUs)), "1234.5");
    EXPECT_EQ(narrow(pastedNumberDigits(u"1.234,5", kEu)), "1234.5");
    EXPECT_EQ(narrow(pastedNumberDigits(u"\u22122", kUs)), "2");
    EXPECT_EQ(narrow(pastedNumberDigits(u"1.5E-05", kUs)), "1.5");
    EXPECT_EQ(narrow(pastedNumberDigits(u"abc", kUs)), "");
}

}  // namespace
